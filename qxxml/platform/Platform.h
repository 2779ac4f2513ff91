// Platform.h - the operating-system layer (internal; not installed).
//
// Every call into the operating system goes through here: files, overlapped reads and
// writes, system error codes and debug output. posix/ implements it on Linux (io_uring),
// win32/ on Windows (OVERLAPPED with an event). Nothing else in the library includes
// system headers such as <unistd.h>, <liburing.h> or <windows.h>.
//
//   Platform::SystemError error = 0;
//   Platform::File file = Platform::File::CreateAlways(L"out.xml", /*overlapped=*/true, error);
//   if (!file.IsOpen()) throw ...error...;
//   Platform::OverlappedOp write;
//   if (!write.Create(error) || !write.StartWrite(file, bytes, n, /*offset=*/0, error)) ...;
//   uint32_t done = 0;
//   write.Wait(done, error);      // blocks until the system has written the chunk
//
// The header is not installed. Its classes still carry QXXML_API so that the platform unit
// tests, which link against the shared library, can reach them.
#pragma once

#include <qxxml/platform/SystemTime.h>

#include <cstdint>
#include <memory>

namespace QxXmlLib10 {
namespace Platform {

// errno on POSIX, GetLastError() on Windows; messages print it as 0x%08X.
using SystemError = uint32_t;

// An open file; closed by the destructor. Move-only.
class QXXML_API File {
public:
    File() = default;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    // Opens an existing file for reading (shared for reading). On failure the result is not
    // open and `error` holds the system code.
    static File OpenForRead(const wchar_t* path, bool overlapped, SystemError& error);
    // Creates or truncates a file for writing (no sharing). `overlapped` prepares the handle
    // for OverlappedOp; otherwise the system is told the file is written sequentially.
    static File CreateAlways(const wchar_t* path, bool overlapped, SystemError& error);

    bool IsOpen() const { return m_handle != kInvalid; }
    void Close();

    bool GetSize(uint64_t& size, SystemError& error) const;
    // Synchronous read at the current position. It fills the buffer unless the file ends
    // first (as ReadFile does on a disk file); `read` is 0 at end of file.
    bool Read(void* buffer, uint32_t size, uint32_t& read, SystemError& error);
    // Synchronous write of the whole range at the current position (partial writes are
    // continued). Read and Write need a file opened without `overlapped`, as on Windows.
    bool Write(const void* data, uint32_t size, SystemError& error);

    intptr_t NativeHandle() const { return m_handle; }

private:
    static constexpr intptr_t kInvalid = -1;
    explicit File(intptr_t handle) : m_handle(handle) {}
    intptr_t m_handle = kInvalid;
};

// How overlapped transfers reach the system. The library starts no threads of its own, so
// where the kernel offers no asynchronous file transfers (on Linux: no io_uring, because the
// kernel is too old or a sandbox forbids it) they are made synchronously on the caller's
// thread: Start does the whole transfer and Wait reports its outcome, with the same byte
// counts and error codes. The mode is decided once per process, when the first OverlappedOp
// is prepared; each OverlappedOp keeps the mode it was prepared with.
enum class OverlappedMode { Kernel, Synchronous };
QXXML_API OverlappedMode GetOverlappedMode();

// Test hook, not for library code: the mode of every OverlappedOp prepared from now on.
// Asking for a mode the system lacks (Kernel without io_uring; Synchronous on Windows, which
// always has OVERLAPPED I/O) changes nothing and returns false.
QXXML_API bool SetOverlappedModeForTesting(OverlappedMode mode);

// One asynchronous read or write at a file offset, at most one in flight at a time.
// The destructor waits for an operation still in flight, so the buffer it uses may be freed
// right after the OverlappedOp is gone.
class QXXML_API OverlappedOp {
public:
    OverlappedOp();
    OverlappedOp(const OverlappedOp&) = delete;
    OverlappedOp& operator=(const OverlappedOp&) = delete;
    ~OverlappedOp();

    // Creates the completion event (Windows) or the submission ring (Linux); nothing to
    // prepare in the synchronous mode.
    bool Create(SystemError& error);
    void Destroy();

    // Starts a transfer; true when it is in flight or already complete ("I/O pending" is not
    // a failure). The buffer must stay valid until Wait returns. Starting a second transfer
    // while one is in flight fails (EBUSY / ERROR_BUSY). Create is called if it was not.
    bool StartRead(File& file, void* buffer, uint32_t size, uint64_t offset, SystemError& error);
    bool StartWrite(File& file, const void* data, uint32_t size, uint64_t offset, SystemError& error);

    // Waits for the transfer in flight. `transferred` is the byte count (0 for a read at or
    // past end of file, which is a success; a read ends short only at end of file; a write
    // that the system completes short is continued, so it is whole or an error). Without a
    // transfer in flight it returns true with 0.
    bool Wait(uint32_t& transferred, SystemError& error);
    bool InFlight() const { return m_inFlight; }

private:
    // The back end's part: Create, Start and Wait, and its State with the deleter.
    bool Start(File& file, void* buffer, uint32_t size, uint64_t offset, bool writing, SystemError& error);

    struct State;
    struct StateDeleter {
        void operator()(State* state) const;
    };
    std::unique_ptr<State, StateDeleter> m_state;
    bool m_inFlight = false;
};

// Text for the debugger channel: OutputDebugStringW on Windows; elsewhere standard error in
// debug builds and nothing at all in release builds.
QXXML_API void DebugOutput(const wchar_t* text);

}  // namespace Platform
}  // namespace QxXmlLib10

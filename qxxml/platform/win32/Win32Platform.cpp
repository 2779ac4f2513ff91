// Win32Platform.cpp - files, overlapped transfers and debug output on Windows.
//
// Overlapped transfers use an OVERLAPPED with a manual-reset event. "I/O pending" is the
// normal start of a transfer and end of file the normal end of a read, so neither is
// reported as a failure. A write that completes short is finished by Wait itself, the same
// contract as the POSIX back end.
#include <qxxml/platform/Platform.h>

#ifndef WIN32_LEAN_AND_MEAN
#  define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#  define NOMINMAX
#endif
#include <windows.h>

#include <utility>

namespace QxXmlLib10 {
namespace Platform {

namespace {

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

intptr_t OpenHandle(const wchar_t* path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                    SystemError& error) {
    if (path == nullptr) {
        error = ERROR_INVALID_PARAMETER;
        return -1;
    }
    const HANDLE handle =
        ::CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL | flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = ::GetLastError();
        return -1;
    }
    return reinterpret_cast<intptr_t>(handle);
}

}  // namespace

// ------------------------------------------------------------------ File

File::File(File&& other) noexcept : m_handle(other.m_handle) { other.m_handle = kInvalid; }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = other.m_handle;
        other.m_handle = kInvalid;
    }
    return *this;
}

File::~File() { Close(); }

File File::OpenForRead(const wchar_t* path, bool overlapped, SystemError& error) {
    const DWORD flags = overlapped ? FILE_FLAG_OVERLAPPED : FILE_FLAG_SEQUENTIAL_SCAN;
    return File(OpenHandle(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, flags, error));
}

File File::CreateAlways(const wchar_t* path, bool overlapped, SystemError& error) {
    const DWORD flags = overlapped ? FILE_FLAG_OVERLAPPED : FILE_FLAG_SEQUENTIAL_SCAN;
    return File(OpenHandle(path, GENERIC_WRITE, 0, CREATE_ALWAYS, flags, error));
}

void File::Close() {
    if (m_handle != kInvalid) {
        ::CloseHandle(AsHandle(m_handle));
        m_handle = kInvalid;
    }
}

bool File::GetSize(uint64_t& size, SystemError& error) const {
    LARGE_INTEGER value;
    if (!::GetFileSizeEx(AsHandle(m_handle), &value)) {
        error = ::GetLastError();
        return false;
    }
    size = static_cast<uint64_t>(value.QuadPart);
    return true;
}

// Synchronous Read and Write need a handle opened without `overlapped`.
bool File::Read(void* buffer, uint32_t size, uint32_t& read, SystemError& error) {
    read = 0;
    char* next = static_cast<char*>(buffer);
    while (read < size) {
        DWORD got = 0;
        if (!::ReadFile(AsHandle(m_handle), next + read, size - read, &got, nullptr)) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_HANDLE_EOF || code == ERROR_BROKEN_PIPE) break;
            error = code;
            return false;
        }
        if (got == 0) break;  // end of file
        read += got;
    }
    return true;
}

bool File::Write(const void* data, uint32_t size, SystemError& error) {
    const char* next = static_cast<const char*>(data);
    uint32_t left = size;
    while (left > 0) {
        DWORD written = 0;
        if (!::WriteFile(AsHandle(m_handle), next, left, &written, nullptr)) {
            error = ::GetLastError();
            return false;
        }
        if (written == 0) {
            error = ERROR_DISK_FULL;
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

// ------------------------------------------------------------------ OverlappedOp

// Windows always has OVERLAPPED I/O, so there is no synchronous mode to fall back to (nor
// to force).
OverlappedMode GetOverlappedMode() { return OverlappedMode::Kernel; }

bool SetOverlappedModeForTesting(OverlappedMode mode) { return mode == OverlappedMode::Kernel; }

struct OverlappedOp::State {
    OVERLAPPED ov;
    HANDLE event = nullptr;
    HANDLE file = INVALID_HANDLE_VALUE;
    char* buffer = nullptr;
    bool writing = false;
    bool atEndOfFile = false;  // the read was refused at once with ERROR_HANDLE_EOF
    uint64_t offset = 0;
    uint32_t requested = 0;
    uint32_t done = 0;

    State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State() {
        if (event != nullptr) ::CloseHandle(event);
    }

    // Issues one round: the bytes from `done` on. True when it is in flight or complete.
    bool IssueRound(SystemError& error) {
        const uint64_t at = offset + done;
        ZeroMemory(&ov, sizeof ov);
        ov.hEvent = event;
        ov.Offset = static_cast<DWORD>(at);
        ov.OffsetHigh = static_cast<DWORD>(at >> 32);
        const DWORD count = requested - done;
        const BOOL completed = writing ? ::WriteFile(file, buffer + done, count, nullptr, &ov)
                                       : ::ReadFile(file, buffer + done, count, nullptr, &ov);
        if (completed) return true;
        const DWORD code = ::GetLastError();
        if (code == ERROR_IO_PENDING) return true;
        if (!writing && code == ERROR_HANDLE_EOF) {
            atEndOfFile = true;
            return true;
        }
        error = code;
        return false;
    }
};

void OverlappedOp::StateDeleter::operator()(State* state) const { delete state; }

bool OverlappedOp::Create(SystemError& error) {
    if (m_state) return true;
    std::unique_ptr<State, StateDeleter> state(new State());
    state->event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (state->event == nullptr) {
        error = ::GetLastError();
        return false;
    }
    m_state = std::move(state);
    return true;
}

bool OverlappedOp::Start(File& file, void* buffer, uint32_t size, uint64_t offset, bool writing,
                         SystemError& error) {
    if (m_inFlight) {
        error = ERROR_BUSY;  // one transfer at a time
        return false;
    }
    if (!m_state && !Create(error)) return false;
    State& s = *m_state;
    s.file = AsHandle(file.NativeHandle());
    s.buffer = static_cast<char*>(buffer);
    s.writing = writing;
    s.atEndOfFile = false;
    s.offset = offset;
    s.requested = size;
    s.done = 0;
    if (!s.IssueRound(error)) return false;
    m_inFlight = true;
    return true;
}

bool OverlappedOp::Wait(uint32_t& transferred, SystemError& error) {
    transferred = 0;
    if (!m_inFlight) return true;
    State& s = *m_state;
    for (;;) {
        if (s.atEndOfFile) break;
        DWORD got = 0;
        if (!::GetOverlappedResult(s.file, &s.ov, &got, TRUE)) {
            const DWORD code = ::GetLastError();
            if (!s.writing && code == ERROR_HANDLE_EOF) break;
            m_inFlight = false;
            error = code;
            return false;
        }
        s.done += got;
        // A read ends short only at end of file; a write that ends short goes on.
        if (!s.writing || s.done == s.requested || got == 0) break;
        if (!s.IssueRound(error)) {
            m_inFlight = false;
            return false;
        }
    }
    m_inFlight = false;
    if (s.writing && s.done < s.requested) {
        error = ERROR_DISK_FULL;
        return false;
    }
    transferred = s.done;
    return true;
}

// ------------------------------------------------------------------ debug output

// The debugger channel exists in every build on Windows and costs nothing without a
// debugger attached, so the text always goes there.
void DebugOutput(const wchar_t* text) {
    if (text != nullptr) ::OutputDebugStringW(text);
}

}  // namespace Platform
}  // namespace QxXmlLib10

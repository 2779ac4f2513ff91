// PosixOverlapped.cpp - overlapped transfers on Linux: io_uring, or synchronous transfers on
// the caller's thread where the kernel offers no io_uring.
//
// The library starts no threads. io_uring hands each transfer to the kernel, which may run
// it on its own I/O workers (they show in /proc/self/task as "iou-..."), much as Windows
// does for OVERLAPPED I/O. glibc's POSIX AIO, by contrast, starts helper threads in the
// process, so it is not used. Each OverlappedOp owns a ring of its own (one per open file:
// every file the library opens for overlapped I/O has exactly one OverlappedOp), which keeps
// completions from ever being mixed up between files or threads.
//
// Windows reports a partial transfer as success with a short count; callers of this layer
// expect the whole chunk, so a transfer is carried out in rounds until it is whole, a read
// meets the end of the file, or the system reports an error.
#include <qxxml/platform/Platform.h>

#include <liburing.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <sys/types.h>
#include <unistd.h>

namespace QxXmlLib10 {
namespace Platform {

namespace {

constexpr unsigned kRingEntries = 1;  // one transfer in flight at a time

// True when this kernel lets a process create a ring and read and write files through it
// (IORING_OP_READ and IORING_OP_WRITE). Asked once.
bool KernelOffersIoUring() {
    static const bool offered = [] {
        struct io_uring ring;
        if (::io_uring_queue_init(kRingEntries, &ring, 0) != 0) return false;
        struct io_uring_probe* probe = ::io_uring_get_probe_ring(&ring);
        const bool usable = probe != nullptr && ::io_uring_opcode_supported(probe, IORING_OP_READ) &&
                            ::io_uring_opcode_supported(probe, IORING_OP_WRITE);
        if (probe != nullptr) ::io_uring_free_probe(probe);
        ::io_uring_queue_exit(&ring);
        return usable;
    }();
    return offered;
}

// -1 until decided; then an OverlappedMode.
std::atomic<int> g_mode{-1};

OverlappedMode ModeForNewOperations() {
    int mode = g_mode.load(std::memory_order_acquire);
    if (mode < 0) {
        const int decided = static_cast<int>(KernelOffersIoUring() ? OverlappedMode::Kernel : OverlappedMode::Synchronous);
        // A test may have forced a mode meanwhile; its choice stands.
        g_mode.compare_exchange_strong(mode, decided, std::memory_order_acq_rel);
        mode = g_mode.load(std::memory_order_acquire);
    }
    return static_cast<OverlappedMode>(mode);
}

}  // namespace

OverlappedMode GetOverlappedMode() { return ModeForNewOperations(); }

bool SetOverlappedModeForTesting(OverlappedMode mode) {
    if (mode == OverlappedMode::Kernel && !KernelOffersIoUring()) return false;
    g_mode.store(static_cast<int>(mode), std::memory_order_release);
    return true;
}

// ------------------------------------------------------------------ OverlappedOp

struct OverlappedOp::State {
    OverlappedMode mode = OverlappedMode::Synchronous;
    struct io_uring ring;
    bool hasRing = false;

    int fd = -1;
    char* buffer = nullptr;
    bool writing = false;
    uint64_t offset = 0;     // of the whole transfer
    uint32_t requested = 0;  // bytes of the whole transfer
    uint32_t done = 0;       // bytes of it completed by earlier rounds
    SystemError outcome = 0; // synchronous mode: what Wait reports (0: success)

    State() { std::memset(&ring, 0, sizeof ring); }
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State() {
        if (hasRing) ::io_uring_queue_exit(&ring);
    }

    bool CreateRing(SystemError& error) {
        const int result = ::io_uring_queue_init(kRingEntries, &ring, 0);
        if (result < 0) {
            error = static_cast<SystemError>(-result);
            return false;
        }
        hasRing = true;
        return true;
    }

    // Kernel mode: queues the bytes from `done` on. The synchronous mode has nothing to queue.
    bool SubmitRound(SystemError& error) {
        if (mode == OverlappedMode::Synchronous) return true;
        struct io_uring_sqe* sqe = ::io_uring_get_sqe(&ring);
        if (sqe == nullptr) {  // cannot happen with one transfer at a time
            error = EBUSY;
            return false;
        }
        const unsigned count = requested - done;
        const uint64_t at = offset + done;
        if (writing)
            ::io_uring_prep_write(sqe, fd, buffer + done, count, at);
        else
            ::io_uring_prep_read(sqe, fd, buffer + done, count, at);
        int result;
        do {
            result = ::io_uring_submit(&ring);
        } while (result == -EINTR);
        if (result < 0) {
            error = static_cast<SystemError>(-result);
            return false;
        }
        return true;
    }

    // The outcome of the current round: bytes transferred, or a negative error code. Kernel
    // mode waits for the queued round; the synchronous mode carries the round out here.
    ssize_t AwaitRound() {
        if (mode == OverlappedMode::Synchronous) {
            const off_t at = static_cast<off_t>(offset + done);
            const ssize_t n = writing ? ::pwrite(fd, buffer + done, requested - done, at)
                                      : ::pread(fd, buffer + done, requested - done, at);
            return n < 0 ? -static_cast<ssize_t>(errno) : n;
        }
        struct io_uring_cqe* cqe = nullptr;
        int result;
        do {
            result = ::io_uring_wait_cqe(&ring, &cqe);
        } while (result == -EINTR);
        if (result < 0) return result;  // the ring itself failed (not seen with one entry in sole use)
        const ssize_t n = cqe->res;
        ::io_uring_cqe_seen(&ring, cqe);
        return n;
    }

    // Runs rounds until the transfer is whole, meets the end of the file (a round of 0 bytes;
    // for a write, a disk that takes no more) or fails. 0, or the system error code.
    SystemError Finish() {
        for (;;) {
            const ssize_t result = AwaitRound();
            if (result == -EINTR || result == -EAGAIN) {
                // A signal, or a busy device: the round did nothing, so queue it again.
            } else if (result < 0) {
                return static_cast<SystemError>(-result);
            } else {
                done += static_cast<uint32_t>(result);
                if (done == requested || result == 0) break;
            }
            SystemError error = 0;
            if (!SubmitRound(error)) return error;
        }
        if (writing && done < requested) return ENOSPC;  // the system accepted no more bytes
        return 0;
    }
};

void OverlappedOp::StateDeleter::operator()(State* state) const { delete state; }

bool OverlappedOp::Create(SystemError& error) {
    if (m_state) return true;
    std::unique_ptr<State, StateDeleter> state(new State());
    state->mode = ModeForNewOperations();
    if (state->mode == OverlappedMode::Kernel && !state->CreateRing(error)) return false;
    m_state = std::move(state);
    return true;
}

bool OverlappedOp::Start(File& file, void* buffer, uint32_t size, uint64_t offset, bool writing,
                         SystemError& error) {
    if (m_inFlight) {
        error = EBUSY;  // one transfer at a time
        return false;
    }
    if (!m_state && !Create(error)) return false;
    State& s = *m_state;
    s.fd = static_cast<int>(file.NativeHandle());
    s.buffer = static_cast<char*>(buffer);
    s.writing = writing;
    s.offset = offset;
    s.requested = size;
    s.done = 0;
    s.outcome = 0;
    if (!s.SubmitRound(error)) return false;
    // Synchronously, the transfer is made now; its failure, like a failure the kernel
    // reports on completion, reaches the caller from Wait.
    if (s.mode == OverlappedMode::Synchronous) s.outcome = s.Finish();
    m_inFlight = true;
    return true;
}

bool OverlappedOp::Wait(uint32_t& transferred, SystemError& error) {
    transferred = 0;
    if (!m_inFlight) return true;
    State& s = *m_state;
    const SystemError outcome = s.mode == OverlappedMode::Kernel ? s.Finish() : s.outcome;
    m_inFlight = false;
    if (outcome != 0) {
        error = outcome;
        return false;
    }
    transferred = s.done;
    return true;
}

}  // namespace Platform
}  // namespace QxXmlLib10

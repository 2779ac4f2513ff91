// PosixPlatform.cpp - files, overlapped transfers and debug output on POSIX systems.
//
// Overlapped transfers use POSIX AIO. Windows reports a partial write as success with a
// short count; callers of this layer expect the whole chunk, so Wait finishes a partial
// transfer itself (a read stops early only at end of file).
#include <qxxml/platform/Platform.h>

#include <qxxml/xmlout/UtfEncoding.h>

#include <aio.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace QxXmlLib10 {
namespace Platform {

namespace {

// The UTF-8 form of a wide path; false (EINVAL / EILSEQ) when there is none.
bool NativePath(const wchar_t* path, std::string& native, SystemError& error) {
    if (path == nullptr) {
        error = EINVAL;
        return false;
    }
    if (!AppendUtf8(native, path, std::wcslen(path))) {
        error = EILSEQ;
        return false;
    }
    return true;
}

int OpenPath(const wchar_t* path, int flags, SystemError& error) {
    std::string native;
    if (!NativePath(path, native, error)) return -1;
    int fd;
    do {
        fd = ::open(native.c_str(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) error = static_cast<SystemError>(errno);
    return fd;
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

File File::OpenForRead(const wchar_t* path, bool /*overlapped*/, SystemError& error) {
    // Any descriptor serves AIO, so `overlapped` needs nothing here.
    File file(OpenPath(path, O_RDONLY, error));
    // POSIX opens a directory for reading; Windows refuses it at once, and so do we, so
    // that the failure names the path rather than a later read.
    struct stat info;
    if (file.IsOpen() && ::fstat(static_cast<int>(file.m_handle), &info) == 0 && S_ISDIR(info.st_mode)) {
        file.Close();
        error = EISDIR;
    }
    return file;
}

File File::CreateAlways(const wchar_t* path, bool overlapped, SystemError& error) {
    File file(OpenPath(path, O_WRONLY | O_CREAT | O_TRUNC, error));
#if defined(POSIX_FADV_SEQUENTIAL)
    if (file.IsOpen() && !overlapped)
        (void)::posix_fadvise(static_cast<int>(file.m_handle), 0, 0, POSIX_FADV_SEQUENTIAL);
#else
    (void)overlapped;
#endif
    return file;
}

void File::Close() {
    if (m_handle != kInvalid) {
        // No retry on EINTR: on Linux the descriptor is released whatever close reports.
        ::close(static_cast<int>(m_handle));
        m_handle = kInvalid;
    }
}

bool File::GetSize(uint64_t& size, SystemError& error) const {
    struct stat info;
    if (::fstat(static_cast<int>(m_handle), &info) != 0) {
        error = static_cast<SystemError>(errno);
        return false;
    }
    size = static_cast<uint64_t>(info.st_size);
    return true;
}

bool File::Read(void* buffer, uint32_t size, uint32_t& read, SystemError& error) {
    read = 0;
    char* next = static_cast<char*>(buffer);
    while (read < size) {
        const ssize_t n = ::read(static_cast<int>(m_handle), next + read, size - read);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = static_cast<SystemError>(errno);
            return false;
        }
        if (n == 0) break;  // end of file
        read += static_cast<uint32_t>(n);
    }
    return true;
}

bool File::Write(const void* data, uint32_t size, SystemError& error) {
    const char* next = static_cast<const char*>(data);
    uint32_t left = size;
    while (left > 0) {
        const ssize_t n = ::write(static_cast<int>(m_handle), next, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = static_cast<SystemError>(errno);
            return false;
        }
        next += n;
        left -= static_cast<uint32_t>(n);
    }
    return true;
}

// ------------------------------------------------------------------ OverlappedOp

struct OverlappedOp::State {
    struct aiocb cb;
    bool writing = false;
    uint32_t requested = 0;  // bytes of the whole transfer
    uint32_t done = 0;       // bytes of it already completed by earlier rounds
};

OverlappedOp::OverlappedOp() = default;

OverlappedOp::~OverlappedOp() { Destroy(); }

bool OverlappedOp::Create(SystemError& /*error*/) {
    if (!m_state) m_state.reset(new State());
    return true;
}

void OverlappedOp::Destroy() {
    if (m_inFlight) {
        uint32_t ignored = 0;
        SystemError error = 0;
        Wait(ignored, error);
    }
    m_state.reset();
}

namespace {

// Queues one round of the transfer described by the control block.
bool Submit(struct aiocb& cb, bool writing, SystemError& error) {
    const int result = writing ? ::aio_write(&cb) : ::aio_read(&cb);
    if (result != 0) {
        error = static_cast<SystemError>(errno);
        return false;
    }
    return true;
}

// Blocks until the control block's round has finished; returns its aio_error.
int AwaitRound(const struct aiocb& cb) {
    const struct aiocb* const list[1] = {&cb};
    int status;
    while ((status = ::aio_error(&cb)) == EINPROGRESS) {
        // EINTR (a signal) and EAGAIN only mean "look again".
        (void)::aio_suspend(list, 1, nullptr);
    }
    return status;
}

}  // namespace

bool OverlappedOp::Start(File& file, void* buffer, uint32_t size, uint64_t offset, bool writing,
                         SystemError& error) {
    if (m_inFlight) {
        error = EBUSY;  // one transfer at a time
        return false;
    }
    if (!m_state && !Create(error)) return false;
    State& s = *m_state;
    std::memset(&s.cb, 0, sizeof s.cb);
    s.cb.aio_fildes = static_cast<int>(file.NativeHandle());
    s.cb.aio_buf = buffer;
    s.cb.aio_nbytes = size;
    s.cb.aio_offset = static_cast<off_t>(offset);
    s.cb.aio_sigevent.sigev_notify = SIGEV_NONE;
    s.writing = writing;
    s.requested = size;
    s.done = 0;
    if (!Submit(s.cb, writing, error)) return false;
    m_inFlight = true;
    return true;
}

bool OverlappedOp::StartRead(File& file, void* buffer, uint32_t size, uint64_t offset, SystemError& error) {
    return Start(file, buffer, size, offset, /*writing=*/false, error);
}

bool OverlappedOp::StartWrite(File& file, const void* data, uint32_t size, uint64_t offset,
                              SystemError& error) {
    // aio_write never writes through aio_buf; the control block simply has one pointer type.
    return Start(file, const_cast<void*>(data), size, offset, /*writing=*/true, error);
}

bool OverlappedOp::Wait(uint32_t& transferred, SystemError& error) {
    transferred = 0;
    if (!m_inFlight) return true;
    State& s = *m_state;
    for (;;) {
        const int status = AwaitRound(s.cb);
        const ssize_t result = ::aio_return(&s.cb);
        if (status != 0) {
            m_inFlight = false;
            error = static_cast<SystemError>(status);
            return false;
        }
        s.done += static_cast<uint32_t>(result);
        const bool finished = s.done == s.requested || result == 0;  // 0: end of file, or a full disk
        if (finished) break;
        // A partial round (a signal, a pipe, a nearly full disk): queue the rest.
        s.cb.aio_buf = static_cast<char*>(const_cast<void*>(s.cb.aio_buf)) + result;
        s.cb.aio_nbytes = s.requested - s.done;
        s.cb.aio_offset += static_cast<off_t>(result);
        if (!Submit(s.cb, s.writing, error)) {
            m_inFlight = false;
            return false;
        }
    }
    m_inFlight = false;
    if (s.writing && s.done < s.requested) {
        error = ENOSPC;  // the system accepted no more bytes
        return false;
    }
    transferred = s.done;
    return true;
}

// ------------------------------------------------------------------ debug output

void DebugOutput(const wchar_t* text) {
#ifndef NDEBUG
    if (text == nullptr) return;
    // Our own UTF-8 rather than "%ls", which depends on the process locale.
    std::string utf8;
    if (AppendUtf8(utf8, text, std::wcslen(text)))
        std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    else
        std::fprintf(stderr, "%ls", text);
#else
    (void)text;
#endif
}

}  // namespace Platform
}  // namespace QxXmlLib10

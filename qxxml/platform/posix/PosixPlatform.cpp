// PosixPlatform.cpp - files and debug output on POSIX systems (overlapped transfers are in
// PosixOverlapped.cpp).
#include <qxxml/platform/Platform.h>

#include <qxxml/xmlout/UtfEncoding.h>

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
    // Any descriptor serves overlapped transfers, so `overlapped` needs nothing here.
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

// FileErrors.h - the failures the file streams report (internal).
#pragma once

#include <qxxml/platform/Platform.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>

#include <string>

namespace QxXmlLib10 {
namespace detail {

[[noreturn]] inline void ThrowFileWriteFailed(const std::wstring& fileName, Platform::SystemError error) {
    throw CQxException(FormatString(L"Failed to write data to the file [%s] error [0x%08X]", fileName.c_str(),
                                    static_cast<unsigned>(error)));
}

[[noreturn]] inline void ThrowWriteFailed(Platform::SystemError error) {
    throw CQxException(FormatString(L"Failed to write data to the file. Error [0x%08X]", static_cast<unsigned>(error)));
}

[[noreturn]] inline void ThrowEventFailed(const std::wstring& fileName, Platform::SystemError error) {
    throw CQxException(FormatString(L"Failed to create event for file overlap [%s] error [0x%08X]", fileName.c_str(),
                                    static_cast<unsigned>(error)));
}

// The byte order mark of UTF-16LE files.
inline const unsigned char* Utf16ByteOrderMark() {
    static const unsigned char bom[2] = {0xFF, 0xFE};
    return bom;
}

inline bool HasByteOrderMark(uint32_t encoding) { return encoding == 2 || encoding == 3; }

}  // namespace detail
}  // namespace QxXmlLib10

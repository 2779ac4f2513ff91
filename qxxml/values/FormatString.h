// FormatString.h - printf-style formatting of wide text, the way every qxxml message is built.
//
// The conventions are those of the Windows wide printf family on every platform: in the
// format, %s takes a wide string, %c a wide character, %d an int, %f a double; %S and %C take
// narrow ones. %e and %g write at least three exponent digits ("1e+020"). Numbers always use
// the "C" locale. The result has no length limit.
//
//   throw CQxException(FormatString(L"Index Out of range [%d]", index));
//   std::wstring line = FormatString(L"%s = %d/%d", name.c_str(), live, total);
#pragma once

#include <qxxml/support/Export.h>

#include <cstdarg>
#include <string>

namespace QxXmlLib10 {

QXXML_API std::wstring FormatString(const wchar_t* format, ...);
QXXML_API std::wstring FormatStringV(const wchar_t* format, va_list args);

// Formatted text to the platform's debug channel (standard error in debug builds only).
// The formatted text must stay below 32768 characters.
QXXML_API void DebugTrace(const wchar_t* format, ...);

}  // namespace QxXmlLib10

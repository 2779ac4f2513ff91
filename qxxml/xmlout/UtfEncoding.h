// UtfEncoding.h - the one pair of UTF-16/UTF-8 encoders the whole library shares.
//
// Wide strings hold UTF-16 on Windows and code points (UTF-32) on Linux; these functions
// accept both forms (a surrogate pair in a wide string is combined into one code point).
// UTF-16 output is always little-endian, with characters above U+FFFF as surrogate pairs.
// No function adds or strips a byte order mark.
//
//   CBinaryData utf8 = Utf16ToUtf8(L"caf\u00e9");            // 5 bytes
//   std::wstring back = Utf8ToUtf16(utf8.GetData(), utf8.GetLength());
//
// Ill-formed input (an unpaired surrogate, an ill-formed or truncated UTF-8 sequence) yields
// an empty result from the whole-string functions, and false from the Append forms.
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/values/BinaryData.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace QxXmlLib10 {

// Whole strings.
QXXML_API CBinaryData Utf16ToUtf8(const wchar_t* text);
QXXML_API std::wstring Utf8ToUtf16(const unsigned char* data, uint32_t length);

// Allocation-aware forms for hot paths: append to a caller's buffer.
QXXML_API bool AppendUtf8(std::string& out, const wchar_t* text, size_t length);
QXXML_API bool AppendWideFromUtf8(std::wstring& out, const char* data, size_t length);
// UTF-16LE bytes of the text (2 or 4 bytes per character), and the reverse.
QXXML_API bool AppendUtf16LE(std::string& out, const wchar_t* text, size_t length);
QXXML_API bool AppendWideFromUtf16LE(std::wstring& out, const unsigned char* data, size_t length);

}  // namespace QxXmlLib10

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
//   std::string bytes;                                       // reused across calls
//   if (!AppendUtf8(bytes, name.data(), name.size())) ...    // ill-formed name
//
// Ill-formed input (an unpaired surrogate, a wide value above U+10FFFF or negative, an
// ill-formed, overlong, surrogate-encoding or truncated UTF-8 sequence, an odd UTF-16 byte
// count) yields an empty result from the whole-string functions, and false from the Append
// forms, which then leave `out` exactly as it was. Nothing is replaced silently: a document
// written or read through these functions is either faithful or refused.
//
// The Append forms grow `out` at most once per call and never allocate per character; text
// that is all ASCII is copied with a block-wise fast path.
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
// UTF-8 into a buffer the caller manages, with room for `length` wide characters (never more
// are needed). Returns the end of what it wrote, or null for ill-formed input.
QXXML_API wchar_t* DecodeWideFromUtf8(wchar_t* out, const char* data, size_t length) noexcept;
// UTF-8 into a buffer the caller manages. Utf8ByteCount is the byte count of the text's UTF-8
// form (SIZE_MAX when the text is ill-formed). EncodeUtf8Into writes the UTF-8 form at `out`
// in one pass and returns the end of what it wrote, or null for ill-formed text; `out` needs
// room for the byte count plus 3, and 4 bytes per wide character always suffice.
QXXML_API size_t Utf8ByteCount(const wchar_t* text, size_t length) noexcept;
QXXML_API char* EncodeUtf8Into(char* out, const wchar_t* text, size_t length) noexcept;
// UTF-16LE bytes of the text (2 or 4 bytes per character), and the reverse.
QXXML_API bool AppendUtf16LE(std::string& out, const wchar_t* text, size_t length);
QXXML_API bool AppendWideFromUtf16LE(std::wstring& out, const unsigned char* data, size_t length);

// The raw UTF-16LE code units of arbitrary wide text, for byte buffers that must take any
// text (CBinaryData built from text). These never fail: a lone surrogate is stored as its own
// code unit, exactly as the Windows build stores it, and a value that is no code point at all
// (above U+10FFFF, or negative) as U+FFFD.
// Utf16LEUnitBytes gives the byte count; StoreUtf16LEUnits writes that many bytes at `out`
// and returns the end of what it wrote.
QXXML_API size_t Utf16LEUnitBytes(const wchar_t* text, size_t length) noexcept;
QXXML_API unsigned char* StoreUtf16LEUnits(unsigned char* out, const wchar_t* text,
                                           size_t length) noexcept;

}  // namespace QxXmlLib10

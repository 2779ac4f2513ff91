// Base64.h - CBase64, the base64 codec behind CBinaryData's base64 forms.
//
// Standard alphabet ("A"-"Z", "a"-"z", "0"-"9", "+", "/"), "=" padding to a multiple of four
// characters, no line breaks:
//
//   CBase64 codec;
//   std::wstring text = codec.Encode(bytes, length);        // "YWJj" for "abc"
//
//   std::unique_ptr<unsigned char[]> out(new unsigned char[CBase64::DecodeBufferSize(text, n)]);
//   uint32_t size = codec.Decode(L"YW Jj\r\n", 7, out.get()); // 3 bytes: "abc"
//
// Decoding looks every character up by its low seven bits: "=", space, tab, CR and LF are
// skipped wherever they stand, the 64 alphabet characters give their values, and anything
// else makes the whole result zero bytes. So "\u00BD" reads as "=" and "\u00C1" as "A". A
// character beyond U+FFFF counts as its two UTF-16 code units (as on systems whose wide
// characters are UTF-16), each looked up the same way. Bits left over at the end are dropped.
// Most callers want CBinaryData::GetAsBase64 / SetAsBase64 instead.
#pragma once

#include <qxxml/support/Export.h>

#include <cstddef>
#include <cstdint>
#include <string>

class QXXML_API CBase64 {
public:
    CBase64() noexcept;

    // The base64 text of `length` bytes; empty for no bytes.
    std::wstring Encode(const unsigned char* data, uint32_t length);
    // The same text appended to `out`, for callers that reuse one buffer.
    static void AppendEncoded(std::wstring& out, const unsigned char* data, uint32_t length);

    // Decodes `length` characters into `out`, which holds at least DecodeBufferSize(text,
    // length) bytes (the number of UTF-16 code units + 1 is always enough); returns the
    // number of bytes written, 0 when the text has an invalid character.
    uint32_t Decode(const wchar_t* text, size_t length, unsigned char* out) const;

    // Bytes that decoding the `length` characters of `text` may write.
    static size_t DecodeBufferSize(const wchar_t* text, size_t length) noexcept;

private:
    // The last input encoded and how far it has been consumed. The bit accumulator is no
    // longer needed (the last one or two bytes are encoded in one step) and stays zero.
    const unsigned char* m_input;
    uint32_t m_inputLength;
    uint32_t m_inputPos;
    uint32_t m_bitsPending;
    uint32_t m_pendingBits;
};

// TextStream.h - CTextStream, the in-memory sink of the XML text writer.
//
// The stream buffers wide text and gives it back as a wide string, or as bytes in its
// encoding (UTF-8, or UTF-16LE for both UTF-16 values; never with a byte order mark):
//
//   CTextStream stream(XmlEncoding_UTF8);
//   CXmlTextWriter writer(&stream);
//   ... write the document ...
//   CBinaryData bytes = stream.GetBytes();   // "Unknown Encoding, ..." for XmlEncoding_None
//   std::wstring text = stream.TakeText();   // or the text itself, without a merge
//
// Start, End and Flush are the hooks a writer calls at the start of a document, at its end,
// and whenever 4096 or more characters are buffered; in memory they only clear (Start) or do
// nothing. CFileTextStream overrides them to stream into a file.
//
// Streams that only ever hand out bytes (files, the byte output of a document) encode UTF-8
// as the text arrives instead of buffering wide characters of four bytes each: a quarter of
// the memory traffic, and no second pass. Such a stream buffers bytes, so its GetLength counts
// bytes, and GetString and TakeText see none of its text.
#pragma once

#include <qxxml/core/SerializationEnums.h>
#include <qxxml/support/Export.h>
#include <qxxml/support/InstanceMonitor.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/xmlout/StringBuffer.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace QxXmlLib10 {

class QXXML_API CTextStream : protected CInstanceMonitor {
public:
    CTextStream();
    explicit CTextStream(XmlEncoding encoding);
    CTextStream(const CTextStream&) = delete;
    CTextStream& operator=(const CTextStream&) = delete;
    virtual ~CTextStream();

    virtual void Start();  // clears the buffer
    virtual void End();    // nothing in memory
    virtual void Flush();  // nothing in memory

    void AppendChar(wchar_t ch) {
        if (!m_bEncodeAsWritten) {
            m_buffer.AppendChar(ch);
        } else if (static_cast<uint32_t>(ch) < 0x80u && m_encodedLength < m_encodedCapacity) {
            m_pEncoded[m_encodedLength++] = static_cast<char>(ch);
        } else {
            AppendEncodedSlowly(&ch, 1);
        }
    }
    // An ASCII string literal of the caller's (markup such as L"</"): its length is known at
    // compile time, and no character needs a look.
    template <size_t N>
    void AppendAsciiLiteral(const wchar_t (&text)[N]) {
        if (m_bEncodeAsWritten && N - 1 <= m_encodedCapacity - m_encodedLength) {
            for (size_t k = 0; k + 1 < N; ++k) m_pEncoded[m_encodedLength + k] = static_cast<char>(text[k]);
            m_encodedLength += N - 1;
        } else {
            Append(text, N - 1);
        }
    }
    // Appends the leading characters of the text up to, not including, the first character
    // below 64 whose bit is set in `stops`; returns how many it appended. The writer's escaper
    // copies and looks for markup characters in this one pass.
    size_t AppendUntil(const wchar_t* text, size_t length, uint64_t stops) {
        if (m_bEncodeAsWritten && length <= m_encodedCapacity - m_encodedLength) {
            char* const out = m_pEncoded + m_encodedLength;
            size_t i = 0;
            for (; i < length; ++i) {
                const uint32_t unit = static_cast<uint32_t>(text[i]);
                if (unit < 64) {
                    if ((stops >> unit) & 1) break;
                } else if (unit >= 0x80u) {
                    return AppendUntilSlowly(text, length, stops);  // nothing was kept yet
                }
                out[i] = static_cast<char>(unit);
            }
            m_encodedLength += i;
            return i;
        }
        return AppendUntilSlowly(text, length, stops);
    }
    void Append(const wchar_t* text);
    void Append(const std::wstring& text) { Append(text.data(), text.size()); }
    void Append(const wchar_t* text, size_t length) {
        if (m_bEncodeAsWritten)
            AppendEncoded(text, length);
        else
            m_buffer.Append(text, length);
    }

    // A stream that encodes UTF-8 as the text arrives lets a writer repeat what it wrote (an
    // end tag repeating its start tag's name): the `count` bytes at `mark`, a GetLength taken
    // earlier with no Flush since, are appended again.
    bool IsEncodingAsWritten() const { return m_bEncodeAsWritten; }
    void RepeatEncodedBytes(uint32_t mark, uint32_t count) {
        if (count > m_encodedCapacity - m_encodedLength) return RepeatEncodedBytesSlowly(mark, count);
        char* const to = m_pEncoded + m_encodedLength;
        const char* const from = m_pEncoded + mark;
        if (count >= 8 && count <= 16) {
            // Names are short: two overlapping 8-byte moves instead of a call.
            uint64_t head, tail;
            std::memcpy(&head, from, 8);
            std::memcpy(&tail, from + count - 8, 8);
            std::memcpy(to, &head, 8);
            std::memcpy(to + count - 8, &tail, 8);
        } else {
            std::memcpy(to, from, count);
        }
        m_encodedLength += count;
    }

    // Characters buffered (bytes, for a stream that encodes as the text arrives).
    uint32_t GetLength() const {
        return m_bEncodeAsWritten ? static_cast<uint32_t>(m_encodedLength) : m_buffer.GetLength();
    }
    XmlEncoding GetEncoding() const { return static_cast<XmlEncoding>(m_encoding); }

    // The buffered text, null-terminated; valid until the stream changes.
    const wchar_t* GetString() { return m_buffer.GetString(); }
    // The buffered text as a string; the buffer is emptied (no intermediate merged copy).
    std::wstring TakeText();
    // The buffered text in the stream's encoding: UTF-8 for XmlEncoding_UTF8, UTF-16LE for
    // the two UTF-16 values. Any other encoding throws CQxException "Unknown Encoding, select
    // UTF-8 (...)"; text holding an unpaired surrogate or a value that is no character throws
    // too, as no faithful bytes exist for it.
    CBinaryData GetBytes();

    // Throws the "Unknown Encoding, select UTF-8 (...)" CQxException for an encoding that has
    // no byte form (anything but UTF-8 and the two UTF-16 values).
    static void CheckEncoding(XmlEncoding encoding);

protected:
    CTextStream(CInstanceMonitor::ClassType* record, XmlEncoding encoding);

    // Called by a derived stream's constructor when nothing but bytes is ever asked of it:
    // UTF-8 text is then encoded as it is appended (other encodings still buffer wide text).
    // Text that has no UTF-8 form throws when it is appended.
    void EncodeAsWritten();
    // Replaces `bytes` with the encoded text (the rules of GetBytes); reuses its capacity.
    void EncodeTo(std::string& bytes) const;
    // Appends the encoded text to `bytes`.
    void EncodeAppend(std::string& bytes) const;
    // Appends the encoded text to `bytes`; `scratch` holds wide text's encoding on the way.
    void EncodeAppend(CBinaryData& bytes, std::string& scratch) const;
    void ClearBuffer() {
        m_buffer.Clear();
        m_encodedLength = 0;
    }

private:
    static CInstanceMonitor::ClassType* MonitorRecord();

    // The common piece: short and ASCII, copied byte by byte into room already there.
    void AppendEncoded(const wchar_t* text, size_t length) {
        if (length <= m_encodedCapacity - m_encodedLength) {
            char* const out = m_pEncoded + m_encodedLength;
            size_t i = 0;
            for (; i + 4 <= length; i += 4) {  // one test for four characters
                const uint32_t a = static_cast<uint32_t>(text[i]), b = static_cast<uint32_t>(text[i + 1]);
                const uint32_t c = static_cast<uint32_t>(text[i + 2]), d = static_cast<uint32_t>(text[i + 3]);
                if ((a | b | c | d) >= 0x80u) break;
                out[i] = static_cast<char>(a);
                out[i + 1] = static_cast<char>(b);
                out[i + 2] = static_cast<char>(c);
                out[i + 3] = static_cast<char>(d);
            }
            while (i < length && static_cast<uint32_t>(text[i]) < 0x80u) {
                out[i] = static_cast<char>(text[i]);
                ++i;
            }
            if (i == length) {
                m_encodedLength += length;
                return;
            }
        }
        AppendEncodedSlowly(text, length);
    }
    // Any other piece, whole: grows the byte buffer as needed; CQxException for ill-formed
    // text, which then leaves nothing of the piece behind.
    void AppendEncodedSlowly(const wchar_t* text, size_t length);
    size_t AppendUntilSlowly(const wchar_t* text, size_t length, uint64_t stops);
    void RepeatEncodedBytesSlowly(uint32_t mark, uint32_t count);
    void ReserveEncoded(size_t more);

    CStringBuffer m_buffer;
    uint32_t m_encoding;
    bool m_bEncodeAsWritten = false;
    // The bytes of a stream that encodes as it goes (malloc'd, reused after every flush).
    char* m_pEncoded = nullptr;
    size_t m_encodedLength = 0;
    size_t m_encodedCapacity = 0;
};

}  // namespace QxXmlLib10

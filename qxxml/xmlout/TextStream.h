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
#pragma once

#include <qxxml/core/SerializationEnums.h>
#include <qxxml/support/Export.h>
#include <qxxml/support/InstanceMonitor.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/xmlout/StringBuffer.h>

#include <cstddef>
#include <cstdint>
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

    void AppendChar(wchar_t ch) { m_buffer.AppendChar(ch); }
    void Append(const wchar_t* text) { m_buffer.Append(text); }
    void Append(const std::wstring& text) { m_buffer.Append(text.data(), text.size()); }
    void Append(const wchar_t* text, size_t length) { m_buffer.Append(text, length); }

    uint32_t GetLength() const { return m_buffer.GetLength(); }
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

    // Replaces `bytes` with the encoded text (the rules of GetBytes); reuses its capacity.
    void EncodeTo(std::string& bytes) const;
    // Appends the encoded text to `bytes`.
    void EncodeAppend(std::string& bytes) const;
    void ClearBuffer() { m_buffer.Clear(); }

private:
    static CInstanceMonitor::ClassType* MonitorRecord();

    CStringBuffer m_buffer;
    uint32_t m_encoding;
};

}  // namespace QxXmlLib10

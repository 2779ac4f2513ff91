// XmlTextWriter.h - CXmlTextWriter, which writes XML 1.0 text into a CTextStream as it goes.
//
//   CTextStream stream(XmlEncoding_UTF8);
//   CXmlTextWriter writer(&stream);          // the stream must outlive the writer
//   writer.SetFormatting(true);              // tabs and line ends between elements
//   writer.SetEOLType(EOLType_LF);
//   writer.StartDocument();
//   writer.WriteXmlDeclaration();            // <?xml version="1.0" encoding="UTF-8"?>
//   writer.SetDefaultNamespace(L"urn:a");
//   writer.StartElement(L"Root", L"urn:a");  // <Root xmlns="urn:a">
//   writer.StartElement(L"Item", L"urn:a");
//   writer.WriteElementValue(L"5 < 6", ItemType_i4);   // escaped: 5 &lt; 6
//   writer.EndElement();
//   writer.EndElement();
//   writer.EndDocument();
//   CBinaryData bytes = stream.GetBytes();
//
// It never buffers or reorders anything; it only checks that attributes come before content
// and that every element is closed by the end. After every operation, 4096 or more buffered
// characters are handed to the stream's Flush (a file stream writes them out then).
#pragma once

#include <qxxml/core/SerializationEnums.h>
#include <qxxml/xmlout/TextStream.h>
#include <qxxml/xmlout/XmlWriter.h>

#include <cstddef>
#include <string>
#include <vector>

namespace QxXmlLib10 {

class QXXML_API CXmlTextWriter : public CXmlWriter {
public:
    static constexpr uint32_t kFlushThreshold = 4096;  // buffered characters

    explicit CXmlTextWriter(CTextStream* stream);
    ~CXmlTextWriter() override;

    void SetFormatting(bool formatted) { m_bFormatted = formatted; }
    bool GetFormatting() const { return m_bFormatted; }
    // EOLType_CRLF or EOLType_LF; anything else throws CQxException "Invalid EOL type." and
    // changes nothing.
    void SetEOLType(EOLType eolType);
    EOLType GetEOLType() const { return m_eolType; }

    // <?xml version="1.0"?>, naming the stream's encoding for UTF-8 and UTF-16; then a line end.
    void WriteXmlDeclaration();
    // Writes an already rendered XML fragment unchanged (then a line end if formatted).
    void WriteRawXml(const std::wstring& xml);
    // Finishes the open start tag, if any, and counts a child of the open element.
    void CloseStartTag();

    void StartDocument() override;
    void EndDocument() override;
    void WriteComment(const std::wstring& text) override;
    void WriteProcessingInstruction(const std::wstring& instruction) override;
    void WriteInlineSchema(const std::wstring& schema) override;
    void StartElement(const std::wstring& localName, const std::wstring& namespaceUri) override;
    void WriteElementValue(const std::wstring& value, ItemType itemType) override;
    void EndElement() override;
    void AddAttribute(const std::wstring& localName, const std::wstring& namespaceUri, const std::wstring& value,
                      ItemType itemType) override;
    void AddXsiTypeAttribute(const std::wstring& typeNamespace, const std::wstring& typeName,
                             ItemType itemType) override;
    void AddXsiNilAttribute() override;

private:
    static CInstanceMonitor::ClassType* MonitorRecord();

    void Write(const wchar_t* text, size_t length) { m_pStream->Append(text, length); }
    void Write(const std::wstring& text) { m_pStream->Append(text.data(), text.size()); }
    template <size_t N>
    void WriteLiteral(const wchar_t (&text)[N]) { m_pStream->AppendAsciiLiteral(text); }
    void WriteChar(wchar_t ch) { m_pStream->AppendChar(ch); }
    void WriteEOL() {
        if (m_eolType == EOLType_CRLF) WriteChar(L'\r');
        WriteChar(L'\n');
    }
    void WriteIndent(uint32_t depth);
    void WriteEscaped(const std::wstring& text, bool inAttribute);
    // xmlns:prefix="uri"
    void WriteNamespaceDeclaration(const std::wstring& prefix, const std::wstring& namespaceUri);
    // The prefix of the URI in the current scope, generating and storing one if it has none;
    // `declared` tells whether it was generated.
    const std::wstring& PrefixInScope(const std::wstring& namespaceUri, bool& declared);
    void RequireOpenStartTag() const;
    // Notes where the start tag's name was written (since `nameMark`) for the end tag.
    void RememberEndTagName(uint32_t depth, uint32_t nameMark);
    void FlushCheck() {
        if (m_pStream->GetLength() >= kFlushThreshold) {
            m_pStream->Flush();
            ++m_dwFlushes;
        }
    }
    // prefix:localName as the start tag wrote it.
    void WriteElementName(const CXmlWriterContext& context);

    // Where each open element's start tag wrote its name, per depth (streams that encode as
    // the text arrives only): while no flush has emptied the stream since, the end tag copies
    // those bytes instead of encoding the name again.
    struct StartTagName {
        uint32_t mark;
        uint32_t length;
        uint32_t flushes;  // m_dwFlushes when the name was written
    };
    std::vector<StartTagName> m_startTagNames;
    uint32_t m_dwFlushes = 0;
    EOLType m_eolType;
    bool m_bFormatted;
    CTextStream* m_pStream;  // not owned
};

}  // namespace QxXmlLib10

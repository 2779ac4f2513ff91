// ExpatReader.h - CExpatReader, the XML text reader that builds a CXmlDocument's tree with
// expat.
//
// The document drives it; user code normally goes through CXmlDocument::Load* instead. The
// reader parses whatever the document's data buffer holds at each call, so the document can
// feed a whole input at once or chunk by chunk:
//
//   CExpatReader reader(&document);
//   reader.Start();
//   reader.Parse(false);     // document's buffer holds chunk 1
//   reader.Parse(true);      // ... the last chunk
//
// Names arrive split into namespace URI and local name (namespace processing is off, and
// names keep their prefixes, for SchemaType_NoNamespaces); namespace declarations fill the
// document's alias map; character data is appended to the open element without carriage
// returns; when the context keeps CDATA (GetStripCDATA() false) a CDATA section's text is
// wrapped in "<![CDATA[" and "]]>". A parse error throws CQxException "<expat's message> at
// line <n>", e.g. "mismatched tag at line 3".
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/support/InstanceMonitor.h>

#include <exception>
#include <string>
#include <vector>

struct XML_ParserStruct;

namespace QxXmlLib10 {

class CXmlDocument;
class CXmlElement;

class QXXML_API CExpatReader : public CInstanceMonitor {
public:
    explicit CExpatReader(CXmlDocument* document);
    CExpatReader(const CExpatReader&) = delete;
    CExpatReader& operator=(const CExpatReader&) = delete;
    ~CExpatReader();

    // Creates and configures the parser.
    void Start();
    // Parses the document's current data buffer as the next piece; `isFinal` marks the last.
    void Parse(bool isFinal);

private:
    // expat callbacks; the user data is the reader. None lets an exception through expat: a
    // failure is kept, the parser stopped, and Parse throws it.
    static void OnStartElement(void* userData, const char* name, const char** attributes);
    static void OnEndElement(void* userData, const char* name);
    static void OnStartNamespaceDecl(void* userData, const char* prefix, const char* uri);
    static void OnEndNamespaceDecl(void* userData, const char* prefix);
    static void OnCharacterData(void* userData, const char* text, int length);
    static void OnStartCdata(void* userData);
    static void OnEndCdata(void* userData);

    void StartElement(const char* name, const char** attributes);
    void EndElement();
    void StartNamespaceDecl(const char* prefix, const char* uri);
    void AppendPendingText(const char* text, size_t length);
    void KeepFailure() noexcept;

    // The namespace URI and local name of a parser name ("uri|local", or a plain name),
    // interned in the document; each distinct name is split and converted once.
    void LookupName(const char* name, const std::wstring*& namespaceUri,
                    const std::wstring*& localName);
    const std::wstring* InternUtf8(const char* text, size_t length);
    void ThrowParseError();
    void CommitPendingText(CXmlElement* element, std::string& pending);
    wchar_t* DecodeIntoTextStorage(const char* text, size_t& length);
    void CommitAllPendingText() noexcept;
    void FreeParser() noexcept;

    CXmlDocument* m_doc;
    XML_ParserStruct* m_parser = nullptr;
    // The text of each open element, by depth, collected here as the parser's UTF-8 and
    // converted into the element once, when it ends: expat delivers text in many small
    // pieces (a line end is a piece of its own), and this way each piece costs a copy of
    // its bytes, and each element one conversion into a string allocated once. The buffers
    // are reused from element to element.
    std::vector<std::string> m_pendingText;
    std::wstring m_scratch;
    std::exception_ptr m_failure;
};

}  // namespace QxXmlLib10

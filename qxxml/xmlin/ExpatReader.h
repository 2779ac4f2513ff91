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

#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

struct XML_ParserStruct;

namespace QxXmlLib10 {

class CXmlDocument;
class CXmlElement;
namespace detail {
struct ParserName;
}

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
    static bool IsName(const std::string& key, const char* name);
    // The form of a name not predicted, made when it is new.
    detail::ParserName* FindName(const char* name);
    const std::wstring* InternUtf8(const char* text, size_t length);
    void ThrowParseError();
    struct CPendingText;
    void CommitPendingText(CXmlElement* element, CPendingText& pending);
    wchar_t* DecodeIntoTextStorage(const char* text, size_t& length);
    void CommitAllPendingText() noexcept;
    void FreeParser() noexcept;

    CXmlDocument* m_doc;
    XML_ParserStruct* m_parser = nullptr;
    // The UTF-8 text of one open element.
    struct CPendingText {
        std::unique_ptr<char[]> bytes;
        size_t size = 0;
        size_t capacity = 0;

        // Inline: expat calls for every piece, most of a few bytes.
        void Append(const char* text, size_t length) {
            if (length > capacity - size) Grow(length);
            std::memcpy(bytes.get() + size, text, length);
            size += length;
        }
        void Grow(size_t length);
        void Clear() noexcept { size = 0; }
    };

    // The text of each open element, by depth, collected here as the parser's UTF-8 and
    // converted into the element once, when it ends: expat delivers text in many small
    // pieces (a line end is a piece of its own), and this way each piece costs a copy of
    // its bytes, and each element one conversion into a string allocated once. The buffers
    // are reused from element to element.
    std::vector<CPendingText> m_pendingText;
    // The buffer of the element open at the top, or null outside the document element
    // (kept at hand: the text pieces outnumber the elements).
    CPendingText* m_pOpenText = nullptr;
    // The form of the name looked up last (in the document's storage).
    detail::ParserName* m_pLastName = nullptr;
    std::wstring m_scratch;
    std::exception_ptr m_failure;
};

}  // namespace QxXmlLib10

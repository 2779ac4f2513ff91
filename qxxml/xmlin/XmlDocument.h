// XmlDocument.h - CXmlDocument, the parsed form of one XML input that every reading goes
// through.
//
// A document loads its input, builds the element tree and keeps it until the next load or
// its destruction:
//
//   CXmlDocument document(context);                 // or CXmlDocument() for the default
//   document.Load(L"po.xml");                       // also LoadXmlStream, LoadXml
//   const CXmlElement* root = document.GetDocumentElement();
//   std::wstring uri = document.LookupNamespaceFromAlias(L"po");
//
// Byte input (a file, a buffer) may be gzip or zlib compressed: it is inflated first. It may
// be Fast Infoset (recognised by its header) or XML text. Strings are always XML text; a wide
// string is parsed as UTF-16 whatever its XML declaration says. With AsyncFromXmlFile(true),
// Load reads the file in 128 KiB chunks with overlapped reads while the previous chunk is
// parsed; it takes the bytes as they are (never inflated), Fast Infoset or XML text.
//
// To process a document too large to hold, give the document an element filter: it is called
// with every element as soon as the element is complete, and an element it returns true for
// is removed from the tree and destroyed (the document element itself is always kept):
//
//   static bool TakeItem(CXmlElement* element) {
//     if (element->GetLocalName() != L"item") return false;
//     process(element);
//     return true;                                  // drop it
//   }
//   CXmlDocument document(&TakeItem, context);
//
// Every failure is a CQxException: file errors, "XML Stream is empty!", "XML String is
// empty!", and parse errors such as "mismatched tag at line 7". A failed load leaves a
// partial tree that the next load or the destructor discards.
#pragma once

#include <qxxml/core/SerializationEnums.h>
#include <qxxml/support/Export.h>
#include <qxxml/support/InstanceMonitor.h>
#include <qxxml/xmlin/XmlAttribute.h>
#include <qxxml/xmlin/XmlElement.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace QxXmlLib10 {

namespace detail {
class TextArena;
}
class CXmlSerializationContext;
class CExpatReader;
class CFastInfosetReader;

class QXXML_API CXmlDocument : public CInstanceMonitor {
public:
    // Called with each completed element; true removes and destroys it.
    using ElementFilter = bool (*)(CXmlElement* element);

    // The context must outlive the document; without one the default context is used.
    CXmlDocument();
    explicit CXmlDocument(const CXmlSerializationContext& context);
    explicit CXmlDocument(ElementFilter filter);
    CXmlDocument(ElementFilter filter, const CXmlSerializationContext& context);
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;
    virtual ~CXmlDocument();

    // Each load discards the previous tree first; on return the tree is complete.
    void Load(const wchar_t* fileName);
    void LoadXmlStream(unsigned char* bytes, uint32_t length);
    void LoadXml(const char* text);
    void LoadXml(const wchar_t* text);

    // The root element, or null before a successful load.
    CXmlElement* GetDocumentElement() const { return m_pDocumentElement; }
    // The URI declared for the prefix ("" for the default namespace) anywhere in the
    // document, the last declaration winning; an empty string for an unknown prefix.
    std::wstring LookupNamespaceFromAlias(const wchar_t* prefix) const;
    const CXmlSerializationContext& GetContext() const { return *m_pContext; }

protected:
    // Destroys the tree and forgets the input, the element stack and the aliases.
    virtual void Cleanup();

private:
    friend class CXmlElement;
    friend class CExpatReader;
    friend class CFastInfosetReader;

    struct Storage;    // node pools and interned names
    struct FileState;  // the file and overlapped read of an asynchronous Load

    void Init(ElementFilter filter, const CXmlSerializationContext& context);

    // --- tree building, for the readers
    // Both return the new element, which is pushed on m_pElementStack.
    CXmlElement* AddDocElement(const std::wstring& namespaceUri, const std::wstring& localName);
    // Throws when no element is open (a second document element).
    CXmlElement* AddChildElement(const std::wstring& namespaceUri, const std::wstring& localName);
    // Pops the top element and applies the element filter to it.
    void EndElement();
    static CXmlAttribute* AddElementAttribute(CXmlElement* element, const std::wstring& localName,
                                              const std::wstring& value,
                                              const std::wstring& namespaceUri);
    // Append text without its carriage returns, up to the length or a NUL character.
    static void AppendTextExcludingCR(CXmlElement* element, const wchar_t* text);
    static void AppendTextExcludingCR(CXmlElement* element, const wchar_t* text, size_t length);

    // Interned forms: the strings come from InternString and live as long as the tree.
    const std::wstring* InternString(const wchar_t* text, size_t length);
    CXmlElement* AddElement(const std::wstring* namespaceUri, const std::wstring* localName);
    CXmlElement* NewElement();
    CXmlAttribute* NewAttribute(const std::wstring* localName, const std::wstring* namespaceUri);
    // Where the texts and attribute values of the tree live. The readers give an element its
    // text when the element ends, so everything put there from an element's start to its end
    // belongs to its subtree, and goes with it when the element filter drops it.
    detail::TextArena& TextStorage();
    // Copies the value into the text storage and gives it to the attribute.
    void StoreAttributeValue(CXmlAttribute* attribute, const wchar_t* value, size_t length);
    // The string GetText returns for an element, made on the first call; forgotten when the
    // element's text changes or the element goes. Kept here rather than in each element:
    // nearly no element ever needs one.
    const std::wstring& MadeText(const CXmlElement* element);
    void ForgetMadeText(const CXmlElement* element) noexcept;
    // Tells the instance monitor of the nodes made since the last call (see Storage).
    void CountNewNodes() noexcept;
    void DestroyTree(CXmlElement* root) noexcept;

    // --- loading
    void BeginLoad();
    void EndLoad() noexcept;
    void LoadFileWhole(const std::wstring& fileName);
    void LoadFileOverlapped(const std::wstring& fileName);
    bool ReadChunkFromFile(unsigned char* buffer);
    uint32_t WaitForChunk(const wchar_t* failureFormat);
    void Parse();
    void ParseText();
    void AsyncParse(bool lastChunk);
    void ParseFastInfosetChunks(bool lastChunk);
    void SetData(const unsigned char* bytes, uint32_t length);
    void AdoptData(unsigned char* bytes, uint32_t length);
    void ReleaseData() noexcept;

    FileState* m_pFileState = nullptr;  // only during an asynchronous Load
    CXmlElement* m_pDocumentElement = nullptr;
    // Open elements while parsing, the document element first.
    std::vector<CXmlElement*> m_pElementStack;
    // Prefix -> URI of every namespace declaration met, the default namespace under "".
    std::map<std::wstring, std::wstring> m_aliasMap;
    // The bytes being parsed. They are the caller's own when no copy was needed (plain,
    // uncompressed input), otherwise m_pOwnedData.
    const unsigned char* m_pData = nullptr;
    uint32_t m_dataLength = 0;
    std::unique_ptr<unsigned char[]> m_pOwnedData;
    // Set while a wide string is parsed: the text reader is told the encoding, so that an
    // encoding named in the string's XML declaration cannot contradict it.
    bool m_dataIsUtf16 = false;
    bool m_loading = false;
    SchemaType m_schemaType = SchemaType_Default;
    ElementFilter m_pElementFilter = nullptr;
    const CXmlSerializationContext* m_pContext = nullptr;
    std::unique_ptr<Storage> m_pStorage;
};

}  // namespace QxXmlLib10

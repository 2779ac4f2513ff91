// XmlWriter.h - CXmlWriter, the interface every serialization writes through, and the
// namespace scopes it keeps for the XML text writer and the Fast Infoset writer alike.
//
// Generated classes, descriptors and wildcard holders only ever call these operations:
//
//   writer->AddNamespace(L"xsi", L"http://www.w3.org/2001/XMLSchema-instance");  // before the root
//   writer->SetDefaultNamespace(L"urn:po");
//   writer->StartElement(L"order", L"urn:po");
//   writer->AddAttribute(L"id", L"", L"42", ItemType_i4);
//   writer->StartElement(L"item", L"urn:po");
//   writer->WriteElementValue(L"5", ItemType_i4);
//   writer->EndElement();
//   writer->AddXsiNilAttribute();      // too late: "Attributes must be added before elements"
//
// Descriptors name most elements with strings that never change (their declared names, an
// object's shared name) and start them with StartDeclaredElement or StartSharedNameElement,
// or write a value element whole with WriteDeclaredValueElement or
// WriteSharedNameValueElement. Each means what the plain calls above mean, and does them
// unless a writer overrides it; a writer may then know a name again by its address.
//
// Each open element has a CXmlWriterContext that maps namespace URIs to prefixes. Scopes are
// copy-on-write: a child shares its parent's map until it declares something itself, and a
// namespace with no known prefix gets a generated one (AA, AB, ...) declared on the element
// that first needs it.
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/support/InstanceMonitor.h>
#include <qxxml/support/SharedName.h>
#include <qxxml/values/ItemType.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace QxXmlLib10 {

class QXXML_API CXmlWriter : public CInstanceMonitor {
public:
    // Namespace URI -> prefix, in plain code-unit order of the URIs.
    using NamespaceMap = std::map<std::wstring, std::wstring>;

    static const wchar_t* const kXmlNamespace;       // "http://www.w3.org/XML/1998/namespace"
    static const wchar_t* const kInstanceNamespace;  // "http://www.w3.org/2001/XMLSchema-instance"

    // The scope of one open element.
    class QXXML_API CXmlWriterContext : public CInstanceMonitor {
    public:
        // The root scope: a private copy of the writer's announced map and default namespace.
        CXmlWriterContext(const std::wstring& localName, const std::wstring& namespaceUri,
                          const NamespaceMap& announced, const std::wstring& defaultNamespace);
        // A child scope, sharing the parent's declarations until it stores its own. The new
        // context owns `parent` (and so the whole chain).
        CXmlWriterContext(const std::wstring& localName, const std::wstring& namespaceUri,
                          CXmlWriterContext* parent);
        CXmlWriterContext(const CXmlWriterContext&) = delete;
        CXmlWriterContext& operator=(const CXmlWriterContext&) = delete;
        ~CXmlWriterContext();  // destroys the parent chain too

        const std::wstring& GetDefaultNamespace() const { return m_pScope->m_strDefaultNamespace; }
        void SetDefaultNamespace(const std::wstring& namespaceUri);
        NamespaceMap& GetNamespaceMap() const { return *m_pScope->m_pNamespaceMap; }
        // The prefix of the URI in scope, or an empty string when it has none. (An absent URI
        // is not entered into the map: the map may be shared with the ancestors.)
        std::wstring GetNamespaceMapValue(const std::wstring& namespaceUri) const;
        // The entry of the URI in the map in scope, or null; the last URI found is remembered
        // by the scope that owns the map, since a document mostly repeats one namespace.
        const std::wstring* FindPrefix(const std::wstring& namespaceUri) const;
        // Stores a declaration in this scope, taking a private copy of the map first.
        void SetNamespaceMapValue(const std::wstring& namespaceUri, const std::wstring& prefix);
        bool IsInherited() const { return m_bInherited; }

        uint32_t GetChildCount() const { return m_dwChildCount; }
        void IncrementChildCount() { ++m_dwChildCount; }
        bool IsStartTagOpen() const { return m_bStartTagOpen; }
        void SetStartTagOpen(bool open) { m_bStartTagOpen = open; }
        uint32_t GetDepth() const { return m_dwDepth; }
        const std::wstring& GetNamespace() const { return m_strNamespace; }
        const std::wstring& GetLocalName() const { return m_strLocalName; }
        CXmlWriterContext* GetParent() const { return m_pParent; }
        // Gives up ownership of the parent and returns it.
        CXmlWriterContext* DetachParent();
        bool GetAttributesWritten() const { return m_bAttributesWritten; }
        void SetAttributesWritten(bool written) { m_bAttributesWritten = written; }
        // The prefix the element's start tag was written with, empty for none (kept by the
        // text writer): the end tag repeats the start tag's name whatever this scope declares
        // in between.
        const std::wstring& GetElementPrefix() const { return m_strElementPrefix; }
        void RememberElementPrefix(const std::wstring& prefix);

    private:
        friend class CXmlWriter;
        static CInstanceMonitor::ClassType* MonitorRecord();
        void Reset(const std::wstring& localName, const std::wstring& namespaceUri);
        void InitRoot(const NamespaceMap& announced, const std::wstring& defaultNamespace);
        void InitChild(CXmlWriterContext* parent);
        void MakePrivate();
        void ReleaseMap();

        uint32_t m_dwChildCount = 0;
        bool m_bStartTagOpen = false;
        uint32_t m_dwDepth = 0;
        std::wstring m_strNamespace;
        std::wstring m_strLocalName;
        CXmlWriterContext* m_pParent = nullptr;
        bool m_bAttributesWritten = false;
        std::wstring m_strDefaultNamespace;
        NamespaceMap* m_pNamespaceMap = nullptr;
        bool m_bInherited = false;
        bool m_bOwnsMap = false;
        // The context whose default namespace and map are in force here: this one, or the
        // nearest ancestor that is not inherited. Only the innermost context ever stores a
        // declaration, so the answer never changes under a descendant.
        CXmlWriterContext* m_pScope = this;
        std::wstring m_strElementPrefix;
        // The last entry FindPrefix found in this context's own map (key and prefix). Map
        // entries are never erased, and the cache is forgotten with the map.
        mutable const std::wstring* m_pLastUri = nullptr;
        mutable const std::wstring* m_pLastPrefix = nullptr;
    };

    CXmlWriter(const CXmlWriter&) = delete;
    CXmlWriter& operator=(const CXmlWriter&) = delete;
    virtual ~CXmlWriter();

    virtual void StartDocument();
    // CQxException "An Element has not been closed." while an element is still open.
    virtual void EndDocument();
    // Before the root: the default namespace the root announces. Inside an element: a
    // declaration of that element's scope (nothing is written for it).
    virtual void SetDefaultNamespace(const std::wstring& namespaceUri);
    // Before the root: a prefix the root announces. Inside an element: a declaration of that
    // element's scope (nothing is written for it).
    virtual void AddNamespace(const std::wstring& prefix, const std::wstring& namespaceUri);
    virtual void WriteComment(const std::wstring& text) = 0;
    virtual void WriteProcessingInstruction(const std::wstring& instruction) = 0;
    virtual void WriteInlineSchema(const std::wstring& schema) = 0;
    virtual void StartElement(const std::wstring& localName, const std::wstring& namespaceUri) = 0;
    // StartElement for names that stay where they are, unchanged, while the writer lives: a
    // binding's declared names, held by its descriptors for the program's life. A writer may
    // know such a name again by its address alone; the others start the element as
    // StartElement does.
    virtual void StartDeclaredElement(const std::wstring& localName, const std::wstring& namespaceUri) {
        StartElement(localName, namespaceUri);
    }
    // StartElement for names held as shared strings (an object's element name), which never
    // change: a writer may keep them, and know them again by their address.
    virtual void StartSharedNameElement(const SharedName& localName, const SharedName& namespaceUri) {
        StartElement(*localName, *namespaceUri);
    }
    // A whole element that holds one value and nothing else, named by declared names: the
    // same as StartDeclaredElement, WriteElementValue and EndElement, which a writer may make
    // one step.
    virtual void WriteDeclaredValueElement(const std::wstring& localName, const std::wstring& namespaceUri,
                                           const std::wstring& value, ItemType itemType) {
        StartDeclaredElement(localName, namespaceUri);
        WriteElementValue(value, itemType);
        EndElement();
    }
    // The same named by shared strings (a collection's items).
    virtual void WriteSharedNameValueElement(const SharedName& localName, const SharedName& namespaceUri,
                                             const std::wstring& value, ItemType itemType) {
        StartSharedNameElement(localName, namespaceUri);
        WriteElementValue(value, itemType);
        EndElement();
    }
    virtual void WriteElementValue(const std::wstring& value, ItemType itemType) = 0;
    virtual void EndElement() = 0;
    virtual void AddAttribute(const std::wstring& localName, const std::wstring& namespaceUri,
                              const std::wstring& value, ItemType itemType) = 0;
    virtual void AddXsiTypeAttribute(const std::wstring& typeNamespace, const std::wstring& typeName,
                                     ItemType itemType) = 0;
    virtual void AddXsiNilAttribute() = 0;

    // The first two-letter prefix AA, AB, ... AZ, BA, ... that is no prefix of `map`. After ZZ
    // the first letter goes on with a..z (aA ... zZ), which keeps every prefix a valid XML
    // name; a scope that has used up all 1352 throws CQxException.
    static std::wstring NewPrefix(const NamespaceMap& map);

protected:
    explicit CXmlWriter(CInstanceMonitor::ClassType* record);

    // Opens the scope of a new element (root or child of m_pContext) and makes it m_pContext.
    CXmlWriterContext* PushContext(const std::wstring& localName, const std::wstring& namespaceUri);
    // Closes m_pContext and makes its parent the current context.
    void PopContext();

    std::wstring m_strDefaultNamespace;
    CXmlWriterContext* m_pContext = nullptr;
    NamespaceMap m_namespaceMap;

private:
    // Closed contexts kept for the next elements: a document opens one per element, and
    // reusing them keeps allocation off the hot path.
    std::vector<CXmlWriterContext*> m_spareContexts;
};

}  // namespace QxXmlLib10

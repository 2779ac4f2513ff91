// FastInfosetWriter.h - CFastInfosetWriter, the CXmlWriter that writes a Fast Infoset
// document (the binary XML encoding of ITU-T X.891) into a CBinaryStream.
//
// The same calls that make XML text make the binary document; the entry points drive it so:
//
//   CBinaryStream stream;
//   CFastInfosetWriter writer(context.GetFIContext(), &stream);
//   writer.StartDocument();
//   writer.WriteHeader(FInfoDecl_V10);            // optional XML declaration, then the header
//   writer.StartElement(L"order", L"urn:po");     // ... the object's own writing ...
//   writer.EndElement();
//   writer.WriteDocumentEnd();
//   writer.EndDocument();
//   CBinaryData bytes = stream.GetData();
//
// The octets are written in place at the end of the stream's bytes; until the document ends
// (or the writer goes) the stream also counts room not yet written.
//
// Names and short values are entered into a private copy of the vocabulary as they are first
// written and repeated as indices afterwards; typed values travel as the context's encoding
// table says (UTF-8 text, restricted-alphabet codes or built-in algorithm octets).
//
// An element's start is held back until its content, first child or end is known, because the
// element's first octet says whether attributes follow and its namespace declarations precede
// its name. Namespace attributes go on the root (the default namespace and every announced
// prefix) and on any element whose name or attributes use a namespace without a prefix in
// scope: the generated prefix is declared there, so that every prefix in the document is bound.
#pragma once

#include <qxxml/core/SerializationEnums.h>
#include <qxxml/fastinfoset/FIVocabulary.h>
#include <qxxml/fastinfoset/FastInfosetBinaryData.h>
#include <qxxml/fastinfoset/FastInfosetContext.h>
#include <qxxml/fastinfoset/FIOctetBuffer.h>
#include <qxxml/xmlout/XmlWriter.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace QxXmlLib10 {

class CBinaryStream;

class QXXML_API CFastInfosetWriter : public CXmlWriter {
public:
    // The stream and the context must outlive the writer; the context's encoding table is read
    // here, once (changing it during a document does not reach the writer).
    CFastInfosetWriter(const CFastInfosetContext& context, CBinaryStream* stream);
    ~CFastInfosetWriter() override;

    // The XML declaration of an FInfoDecl value (1 .. 9), null for 0 and unknown values.
    static const char* DeclarationText(int declaration) noexcept;

    // The optional XML declaration, the identification and version, and the optional
    // components (the external vocabulary reference when the generated vocabulary is used).
    void WriteHeader(FInfoDecl declaration);
    // Ends the document: its terminator, paired with a pending element terminator.
    void WriteDocumentEnd();

    void EndDocument() override;
    void SetDefaultNamespace(const std::wstring& namespaceUri) override;
    void AddNamespace(const std::wstring& prefix, const std::wstring& namespaceUri) override;
    void WriteComment(const std::wstring&) override {}
    void WriteProcessingInstruction(const std::wstring& instruction) override;
    void WriteInlineSchema(const std::wstring&) override {}
    void StartElement(const std::wstring& localName, const std::wstring& namespaceUri) override;
    void StartDeclaredElement(const std::wstring& localName, const std::wstring& namespaceUri) override;
    void StartSharedNameElement(const SharedName& localName, const SharedName& namespaceUri) override;
    void WriteDeclaredValueElement(const std::wstring& localName, const std::wstring& namespaceUri,
                                   const std::wstring& value, ItemType itemType) override;
    void WriteSharedNameValueElement(const SharedName& localName, const SharedName& namespaceUri,
                                     const std::wstring& value, ItemType itemType) override;
    void WriteElementValue(const std::wstring& value, ItemType itemType) override;
    void EndElement() override;
    void AddAttribute(const std::wstring& localName, const std::wstring& namespaceUri, const std::wstring& value,
                      ItemType itemType) override;
    void AddXsiTypeAttribute(const std::wstring& typeNamespace, const std::wstring& typeName,
                             ItemType itemType) override;
    void AddXsiNilAttribute() override;

    // The URI written as the external vocabulary when the context names none.
    static const wchar_t* const kDefaultExternalVocabularyURI;

private:
    // An attribute of the held-back element: its name's index (0: written literally, from its
    // parts), and its value already encoded (values are entered into the vocabulary in the
    // order they are given, new names when written).
    struct PendingAttribute {
        uint32_t nameIndex;
        std::wstring prefix;
        std::wstring namespaceUri;
        std::wstring localName;
        size_t valueStart;
        size_t valueEnd;
    };

    // An attribute's qualified name whose index is known (index 0: an empty slot).
    struct CachedName {
        std::wstring localName;
        std::wstring namespaceUri;
        std::wstring prefix;
        uint32_t index = 0;
    };
    // An element name whose index is known. The name comes without its prefix, which the
    // scope decides: the entry holds for the scope (the namespace map in force) and the scope
    // count it was found under. The local name and the namespace are kept in the entry itself
    // (longer names are not kept), so that confirming a repeat reads nothing else.
    static constexpr size_t kElementMemoChars = 40;
    struct ElementMemo {
        uint32_t index = 0;  // 0: an empty entry
        uint32_t localLength = 0;
        uint32_t namespaceLength = 0;
        const void* scope = nullptr;
        uint64_t scopeVersion = 0;
        wchar_t chars[kElementMemoChars];  // the local name, then the namespace
    };
    // A declared element name whose index is known, by the address and length of its two
    // strings (see StartDeclaredElement), for the scope it was found under. Shared names are
    // kept alive by the entry, so that their address stays theirs.
    struct DeclaredMemo {
        SharedName sharedLocalName;
        SharedName sharedNamespaceUri;
        const wchar_t* localName = nullptr;
        const wchar_t* namespaceUri = nullptr;
        size_t localLength = 0;
        size_t namespaceLength = 0;
        const void* scope = nullptr;
        uint64_t scopeVersion = 0;
        uint32_t index = 0;  // 0: an empty entry
    };
    static constexpr size_t kNameCacheSize = 256;  // a power of two
    static constexpr size_t kNameCacheProbes = 4;

    static CInstanceMonitor::ClassType* MonitorRecord();

    // StartElement's steps before and after the name's index is known.
    void OpenElement();
    void OpenStartedElement();  // its steps after StartContent
    void HoldElementName(uint32_t index, const std::wstring& localName, const std::wstring& namespaceUri);
    // WriteElementValue and EndElement for the element OpenElement has just opened, which
    // gets no attributes: the same octets, without the checks whose answers are known.
    void FinishValueElement(const std::wstring& value, ItemType itemType);
    void LeaveElement();
    // A whole value element of a declared or shared name (see DeclaredElementNameIndex). A
    // name remembered in the parent's scope makes the element's start one index: it is
    // written so, without a leaf's bookkeeping.
    void WriteValueElement(const std::wstring& localName, const std::wstring& namespaceUri,
                           const SharedName* sharedLocalName, const SharedName* sharedNamespaceUri,
                           const std::wstring& value, ItemType itemType);
    // The held-back element written out with its namespace attributes, name and attributes;
    // its start tag stays open.
    void WritePendingElement();
    void WriteElementStart();  // the same, in full
    // An element gets a scope of its own (a CXmlWriterContext) only once it needs one: a child
    // element, or a declaration of its own. Until then it is a leaf: m_pContext is still its
    // parent's, whose scope it shares anyway, and its two start-tag flags are kept here. Most
    // elements of a document are leaves with a value, and skip the scope's push and pop.
    void GiveLeafAScope();
    // Ends the attributes of the open element's start tag; counts a child when `child`.
    void CloseStartTag(bool child);
    // Before a child element (`child`) or a value: the held-back element, the end of the
    // open start tag's attributes, and the terminator a previous child's end left pending.
    void StartContent(bool child);
    void RequirePendingStartTag() const;
    // The prefix of a namespace in the current scope, generated (and declared on the current
    // element) when it has none.
    const std::wstring& PrefixFor(const std::wstring& namespaceUri);
    // The prefix an element of the namespace is named with: none in the scope's default
    // namespace, else PrefixFor's. The last answer is kept while the scope stays the same.
    const std::wstring& ElementPrefixFor(const std::wstring& namespaceUri);
    void AddEncodedAttribute(const std::wstring& prefix, const std::wstring& namespaceUri,
                             const std::wstring& localName, const std::wstring& value, ItemType itemType);
    // The index of an attribute's qualified name, 0 when it is new; a small cache in front of
    // the map.
    uint32_t AttributeNameIndex(const std::wstring& prefix, const std::wstring& namespaceUri,
                                const std::wstring& localName);
    // The index of the element name in the current scope, 0 when it is new (m_pElementPrefix
    // is then its prefix). A repeated name in an unchanged scope costs one cache entry's
    // comparison: its prefix is not looked up again.
    uint32_t ElementNameIndex(const std::wstring& localName, const std::wstring& namespaceUri);
    // The same for a declared name: known again by its strings' addresses, no text compared.
    // `shared...` hold the names when they are shared strings, else null.
    uint32_t DeclaredElementNameIndex(const std::wstring& localName, const std::wstring& namespaceUri,
                                      const SharedName* sharedLocalName = nullptr,
                                      const SharedName* sharedNamespaceUri = nullptr);
    // Its first step alone: the index when the entry holds the name in the current scope,
    // else 0. It changes nothing, where a full look-up may declare the name's namespace.
    uint32_t RememberedDeclaredName(const std::wstring& localName, const std::wstring& namespaceUri);
    // Its look-up when the entry does not hold the name: the entry then takes it over.
    uint32_t LearnDeclaredName(DeclaredMemo& memo, const std::wstring& localName, const std::wstring& namespaceUri,
                               const SharedName* sharedLocalName, const SharedName* sharedNamespaceUri);
    // The cache entry a name given in that string starts its search at.
    static size_t CacheHome(const std::wstring& localName) noexcept;
    const void* CurrentScope() const { return &m_pContext->GetNamespaceMap(); }

    // Octets. Each writer of an item that starts inside an octet takes that octet's bits
    // decided so far in `first`.
    void WriteNamespaceAttribute(const std::wstring& prefix, const std::wstring& namespaceUri);
    void WriteQualifiedName(bool element, unsigned char first, const std::wstring& prefix,
                            const std::wstring& namespaceUri, const std::wstring& localName);
    void WriteIdentifyingString(const std::wstring& value, CFIVocabulary::IndexMap& map,
                                CFIVocabulary::CFIStringTable& table);
    // A value as a non-identifying string or index, of a character chunk or of an attribute,
    // entered into `map` when shorter than `maxAddLength`; `cache` is the map's.
    void WriteValue(CFIOctetBuffer& out, bool chunk, const std::wstring& value, ItemType itemType,
                    uint32_t maxAddLength, CFIVocabulary::IndexMap& map, CFIShortKeyCache& cache);
    void WriteAttributeValue(CFIOctetBuffer& out, const std::wstring& value, ItemType itemType);
    void WriteCharacterChunk(const std::wstring& value, ItemType itemType);
    // True when the encoding table sends values of the type as UTF-8 text.
    bool IsPlainText(ItemType itemType) const;
    // The value's octets by the context's encoding table (in m_value or m_fixed), and the
    // discriminant bits and 8-bit table index to announce them with (discriminant 0: UTF-8,
    // index unused).
    unsigned EncodeValue(const std::wstring& value, ItemType itemType, bool chunk, unsigned& index,
                         std::string_view& octets);
    const CFastInfosetContext* m_pFIContext;
    std::unique_ptr<CFIVocabulary> m_pVocabulary;
    bool m_bTerminatorPending = false;
    // True while the innermost open element's start has not been written yet.
    bool m_bPending = false;
    // True while the innermost open element is a leaf (see GiveLeafAScope), with its flags.
    bool m_bLeaf = false;
    bool m_bLeafStartTagOpen = false;
    bool m_bLeafAttributesWritten = false;
    std::vector<PendingAttribute> m_attributes;
    size_t m_dwAttributeCount = 0;
    CFIOctetBuffer m_attributeValues;
    // Namespaces the pending element declares beyond the root's announced ones (URI, prefix).
    std::vector<std::pair<std::wstring, std::wstring>> m_declarations;
    // The held-back element's prefix: ElementPrefixFor's answer, which stays put until the
    // next element starts (and the held-back one is written first).
    const std::wstring* m_pElementPrefix = nullptr;
    // Counts every change of a namespace scope (a declaration, a scope opened or closed with
    // its own map): the last element prefix found is good while the count stands still.
    uint64_t m_scopeVersion = 0;
    // The last element prefix found.
    struct LastElementPrefix {
        const void* scope = nullptr;  // the namespace map in force
        uint64_t version = 0;
        std::wstring namespaceUri;
        std::wstring prefix;
    } m_lastElementPrefix;
    uint32_t m_dwElementNameIndex = 0;  // of the held-back element; 0: written literally,
    std::wstring m_strElementNamespace;  // from these
    std::wstring m_strElementLocalName;
    std::wstring m_key;                 // qualified-name keys, reused
    std::vector<ElementMemo> m_elementNameCache = std::vector<ElementMemo>(kNameCacheSize);
    std::vector<DeclaredMemo> m_declaredNameCache = std::vector<DeclaredMemo>(kNameCacheSize);
    std::vector<CachedName> m_attributeNameCache = std::vector<CachedName>(kNameCacheSize);
    CFIShortKeyCache m_characterChunkCache;
    CFIShortKeyCache m_attributeValueCache;
    // The document's octets, written in place at the end of the stream's bytes; and the
    // scratch buffer of encoded values.
    CFIOctetBuffer m_out;
    std::string m_value;
    unsigned char m_fixed[CFastInfosetBinaryData::kMaxFixedOctets];
    // Per item type: true when the context's encoding table sends its values as UTF-8 text.
    static constexpr unsigned kItemTypes = CFastInfosetContext::kEncodingTableSize;
    bool m_plainText[kItemTypes] = {};
};

}  // namespace QxXmlLib10

// FIVocabulary.h - CFIVocabulary, the tables of names and values that a Fast Infoset writer
// and reader build up in the same order while they go through one document, so that a
// repeated name or value travels as a small index.
//
// Generated code fills a context's vocabulary in advance (the "generated vocabulary"); the
// writer and the reader each copy it and go on from there:
//
//   CFIVocabulary vocabulary;                                  // "xml" and its namespace: index 1
//   vocabulary.AddElement(L"po", L"urn:example:po", L"order");
//   vocabulary.AddElementValue(L"EUR");
//   vocabulary.GetElementNamesTable();                         // CQNameParts(2, 2, 1)
//   vocabulary.Dump();                                         // every map, in key order
//
// Index n of a table is its n-th entry counted from 1; index 0 is never assigned. Every map and
// table stops growing at 2^20 entries, the largest index the format carries: later additions
// are silently dropped (the item is then written literally every time). A vocabulary only
// grows; copies are independent.
#pragma once

#include <qxxml/fastinfoset/FIIndexMap.h>
#include <qxxml/support/Export.h>

#include <cstdint>
#include <string>
#include <vector>

namespace QxXmlLib10 {

class CFastInfosetWriter;
class CFastInfosetReader;

class QXXML_API CFIVocabulary {
public:
    // The largest index the format carries, and so the most entries a map or table holds.
    static constexpr uint32_t kMaxTableSize = 0x100000;
    // Index of the built-in restricted alphabets: numbers ("0123456789-+.e ") and dates
    // and times ("0123456789-:TZ ").
    static constexpr uint32_t kNumericAlphabet = 1;
    static constexpr uint32_t kDateTimeAlphabet = 2;

    // A qualified name as three indices: prefix (0 for none), namespace name (0 for none) and
    // local name (never 0) into the prefix, namespace-name and local-name tables.
    class QXXML_API CQNameParts {
    public:
        CQNameParts(uint32_t prefixIndex, uint32_t namespaceIndex, uint32_t localNameIndex) noexcept
            : m_dwPrefixIndex(prefixIndex), m_dwNamespaceIndex(namespaceIndex), m_dwLocalNameIndex(localNameIndex) {}
        bool operator==(const CQNameParts& other) const noexcept {
            return m_dwPrefixIndex == other.m_dwPrefixIndex && m_dwNamespaceIndex == other.m_dwNamespaceIndex &&
                   m_dwLocalNameIndex == other.m_dwLocalNameIndex;
        }

        uint32_t m_dwPrefixIndex;
        uint32_t m_dwNamespaceIndex;
        uint32_t m_dwLocalNameIndex;
    };

    // An indexed table: entry n (from 1) is what index n stands for.
    template <typename Entry>
    class CFITable {
    public:
        using const_iterator = typename std::vector<Entry>::const_iterator;
        virtual ~CFITable() = default;

        const_iterator begin() const noexcept { return m_table.begin(); }
        const_iterator end() const noexcept { return m_table.end(); }
        uint32_t size() const noexcept { return static_cast<uint32_t>(m_table.size()); }
        // The entry of index 1 .. size(); the caller checks the range.
        const Entry& Get(uint32_t index) const { return m_table[index - 1]; }

    private:
        friend class CFIVocabulary;
        friend class CFastInfosetReader;
        // Appends unless the table is full; true when appended.
        bool Append(const Entry& entry) {
            if (m_table.size() >= kMaxTableSize) return false;
            m_table.push_back(entry);
            return true;
        }

        std::vector<Entry> m_table;
    };
    class QXXML_API CFIStringTable : public CFITable<std::wstring> {};
    class QXXML_API CFIQNameTable : public CFITable<CQNameParts> {};

    CFIVocabulary();
    CFIVocabulary(const CFIVocabulary& other);
    CFIVocabulary& operator=(const CFIVocabulary& other);
    virtual ~CFIVocabulary();

    // Enter a qualified name (with its prefix, namespace name and local name when new).
    void AddElement(std::wstring prefix, std::wstring namespaceUri, std::wstring localName);
    void AddAttribute(std::wstring prefix, std::wstring namespaceUri, std::wstring localName);
    // Enter a string into the named map and table; an existing key keeps its index.
    void AddElementValue(std::wstring value);
    void AddAttributeValue(std::wstring value);
    void AddPrefixName(std::wstring prefix);
    void AddNamespaceName(std::wstring namespaceUri);
    void AddLocalName(std::wstring localName);

    const CFIQNameTable& GetElementNamesTable() const noexcept { return m_elementNames; }
    const CFIQNameTable& GetAttributeNamesTable() const noexcept { return m_attributeNames; }
    const CFIStringTable& GetAttributeValuesTable() const noexcept { return m_attributeValues; }
    const CFIStringTable& GetCharacterChunksTable() const noexcept { return m_characterChunks; }
    const CFIStringTable& GetLocalNamesTable() const noexcept { return m_localNames; }
    const CFIStringTable& GetNamespaceNamesTable() const noexcept { return m_namespaceNames; }
    const CFIStringTable& GetPrefixNamesTable() const noexcept { return m_prefixNames; }

    // The restricted alphabet of an index (from 1); an empty string for an index without one,
    // which every alphabet operation refuses as too short.
    const std::wstring& GetRestrictedAlphabet(uint32_t index) const noexcept;

    // Writes every map to standard output (UTF-8), each in key order with its indices.
    void Dump() const;

private:
    friend class CFastInfosetWriter;
    friend class CFastInfosetReader;
    using IndexMap = CFIIndexMap;

    // The map key of a qualified name, made in `key`: local name, U+0001, namespace, U+0001,
    // prefix.
    static void QNameKey(std::wstring& key, const std::wstring& prefix, const std::wstring& namespaceUri,
                         const std::wstring& localName);

    void AddQName(const std::wstring& prefix, const std::wstring& namespaceUri, const std::wstring& localName,
                  IndexMap& map, CFIQNameTable& table);
    static void AddQNameToVector(const CQNameParts& parts, CFIQNameTable& table);
    static void AddValueToMap(const std::wstring& value, IndexMap& map);
    // The same for a value whose hash (CFIIndexMap::Hash) the caller has computed already;
    // returns the value's new index, 0 when the map is full.
    static uint32_t AddValueToMap(const std::wstring& value, size_t hash, IndexMap& map);
    static void AddValueToVector(const std::wstring& value, CFIStringTable& table);
    static bool FindIndex(const IndexMap& map, const std::wstring& key, uint32_t& index);
    bool FindPrefixNameIndex(const std::wstring& prefix, uint32_t& index) const;
    bool FindNamespaceNameIndex(const std::wstring& namespaceUri, uint32_t& index) const;
    bool FindLocalNameIndex(const std::wstring& localName, uint32_t& index) const;
    // Enters a string into a map and its table (each subject to the size limit).
    static void AddString(const std::wstring& value, IndexMap& map, CFIStringTable& table);
    // The same for a value whose hash (CFIIndexMap::Hash) the caller has computed already.
    static void AddString(const std::wstring& value, size_t hash, IndexMap& map, CFIStringTable& table);
    // The index of a prefix, namespace name or local name, entered first when new.
    static uint32_t IndexOfOrAdd(const std::wstring& value, IndexMap& map, CFIStringTable& table);

    std::vector<std::wstring> m_restrictedAlphabets;
    IndexMap m_attributeNameMap;
    IndexMap m_attributeValueMap;
    IndexMap m_elementNameMap;
    IndexMap m_characterChunkMap;
    IndexMap m_localNameMap;
    IndexMap m_namespaceNameMap;
    IndexMap m_prefixNameMap;
    CFIQNameTable m_attributeNames;
    CFIStringTable m_attributeValues;
    CFIQNameTable m_elementNames;
    CFIStringTable m_characterChunks;
    CFIStringTable m_localNames;
    CFIStringTable m_namespaceNames;
    CFIStringTable m_prefixNames;
};

}  // namespace QxXmlLib10

// FIVocabulary.cpp - the maps (for the writer's look-ups) and the indexed tables (for the
// reader) of one Fast Infoset document, kept in step.
#include <qxxml/fastinfoset/FIVocabulary.h>

#include <qxxml/values/FormatString.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace QxXmlLib10 {

namespace {

const wchar_t kXmlPrefix[] = L"xml";
const wchar_t kXmlNamespace[] = L"http://www.w3.org/XML/1998/namespace";
const wchar_t kQNameSeparator = L'\x0001';

}  // namespace

CFIVocabulary::CFIVocabulary()
    : m_restrictedAlphabets{L"0123456789-+.e ", L"0123456789-:TZ "} {
    // The "xml" prefix and its namespace are known to every document without being written.
    AddPrefixName(kXmlPrefix);
    AddNamespaceName(kXmlNamespace);
}

CFIVocabulary::CFIVocabulary(const CFIVocabulary&) = default;
CFIVocabulary& CFIVocabulary::operator=(const CFIVocabulary&) = default;
CFIVocabulary::~CFIVocabulary() = default;

// ------------------------------------------------------------------ additions

void CFIVocabulary::AddElement(std::wstring prefix, std::wstring namespaceUri, std::wstring localName) {
    AddQName(prefix, namespaceUri, localName, m_elementNameMap, m_elementNames);
}

void CFIVocabulary::AddAttribute(std::wstring prefix, std::wstring namespaceUri, std::wstring localName) {
    AddQName(prefix, namespaceUri, localName, m_attributeNameMap, m_attributeNames);
}

void CFIVocabulary::AddElementValue(std::wstring value) { AddString(value, m_characterChunkMap, m_characterChunks); }

void CFIVocabulary::AddAttributeValue(std::wstring value) { AddString(value, m_attributeValueMap, m_attributeValues); }

void CFIVocabulary::AddPrefixName(std::wstring prefix) { AddString(prefix, m_prefixNameMap, m_prefixNames); }

void CFIVocabulary::AddNamespaceName(std::wstring namespaceUri) { AddString(namespaceUri, m_namespaceNameMap, m_namespaceNames); }

void CFIVocabulary::AddLocalName(std::wstring localName) { AddString(localName, m_localNameMap, m_localNames); }

void CFIVocabulary::QNameKey(std::wstring& key, const std::wstring& prefix, const std::wstring& namespaceUri,
                             const std::wstring& localName) {
    key.assign(localName).append(1, kQNameSeparator).append(namespaceUri).append(1, kQNameSeparator).append(prefix);
}

void CFIVocabulary::AddQName(const std::wstring& prefix, const std::wstring& namespaceUri,
                             const std::wstring& localName, IndexMap& map, CFIQNameTable& table) {
    std::wstring key;
    QNameKey(key, prefix, namespaceUri, localName);
    if (map.Find(key) != 0) return;
    const uint32_t prefixIndex = prefix.empty() ? 0 : IndexOfOrAdd(prefix, m_prefixNameMap, m_prefixNames);
    const uint32_t namespaceIndex =
        namespaceUri.empty() ? 0 : IndexOfOrAdd(namespaceUri, m_namespaceNameMap, m_namespaceNames);
    const uint32_t localNameIndex = IndexOfOrAdd(localName, m_localNameMap, m_localNames);
    AddValueToMap(key, map);
    AddQNameToVector(CQNameParts(prefixIndex, namespaceIndex, localNameIndex), table);
}

void CFIVocabulary::AddString(const std::wstring& value, IndexMap& map, CFIStringTable& table) {
    AddValueToMap(value, map);
    AddValueToVector(value, table);
}

void CFIVocabulary::AddString(const std::wstring& value, size_t hash, IndexMap& map, CFIStringTable& table) {
    AddValueToMap(value, hash, map);
    AddValueToVector(value, table);
}

uint32_t CFIVocabulary::IndexOfOrAdd(const std::wstring& value, IndexMap& map, CFIStringTable& table) {
    uint32_t index = 0;
    if (FindIndex(map, value, index)) return index;
    AddString(value, map, table);
    // The new entry's index is the table's size; a full table repeats its last index, as the
    // map and table stop growing together.
    return table.size();
}

void CFIVocabulary::AddQNameToVector(const CQNameParts& parts, CFIQNameTable& table) { table.Append(parts); }

void CFIVocabulary::AddValueToMap(const std::wstring& value, IndexMap& map) {
    if (map.size() < kMaxTableSize) map.Insert(value, static_cast<uint32_t>(map.size() + 1));
}

uint32_t CFIVocabulary::AddValueToMap(const std::wstring& value, size_t hash, IndexMap& map) {
    if (map.size() >= kMaxTableSize) return 0;
    const uint32_t index = static_cast<uint32_t>(map.size() + 1);
    map.Insert(value, hash, index);
    return index;
}

void CFIVocabulary::AddValueToVector(const std::wstring& value, CFIStringTable& table) { table.Append(value); }

// ------------------------------------------------------------------ look-ups

bool CFIVocabulary::FindIndex(const IndexMap& map, const std::wstring& key, uint32_t& index) {
    const uint32_t found = map.Find(key);
    if (found == 0) return false;
    index = found;
    return true;
}

bool CFIVocabulary::FindPrefixNameIndex(const std::wstring& prefix, uint32_t& index) const {
    return FindIndex(m_prefixNameMap, prefix, index);
}

bool CFIVocabulary::FindNamespaceNameIndex(const std::wstring& namespaceUri, uint32_t& index) const {
    return FindIndex(m_namespaceNameMap, namespaceUri, index);
}

bool CFIVocabulary::FindLocalNameIndex(const std::wstring& localName, uint32_t& index) const {
    return FindIndex(m_localNameMap, localName, index);
}

const std::wstring& CFIVocabulary::GetRestrictedAlphabet(uint32_t index) const noexcept {
    static const std::wstring none;
    return index >= 1 && index <= m_restrictedAlphabets.size() ? m_restrictedAlphabets[index - 1] : none;
}

// ------------------------------------------------------------------ dump

namespace {

// One map's lines, "key, index", in key order (the maps themselves are hashed for speed).
void AppendMapLines(std::wstring& out, const CFIIndexMap& map) {
    std::vector<std::pair<std::wstring, uint32_t>> entries;
    entries.reserve(map.size());
    for (const auto& entry : map.Entries()) entries.emplace_back(entry.key, entry.index);
    std::sort(entries.begin(), entries.end());
    for (const auto& entry : entries)
        out += FormatString(L"%s, %d\n", entry.first.c_str(), static_cast<int>(entry.second));
}

}  // namespace

void CFIVocabulary::Dump() const {
    std::wstring text = L"\n** Dumping FI Tables **\n\nAttr Names\n";
    AppendMapLines(text, m_attributeNameMap);
    text += L"\nAttr Values\n";
    AppendMapLines(text, m_attributeValueMap);
    text += L"\nCharacter Chunks\n";
    AppendMapLines(text, m_characterChunkMap);
    text += L"\nElement Names\n";
    AppendMapLines(text, m_elementNameMap);
    text += L"\nLocal Names\n";
    AppendMapLines(text, m_localNameMap);
    text += L"\nNamespace Names\n";
    AppendMapLines(text, m_namespaceNameMap);
    text += L"\nPrefix Names\n";
    AppendMapLines(text, m_prefixNameMap);
    // Written as UTF-8 bytes rather than with wprintf: a byte-oriented stdout (anything that
    // used printf first) would silently drop wide output.
    std::string utf8;
    if (!AppendUtf8(utf8, text.data(), text.size())) utf8 = "(vocabulary holds ill-formed text)\n";
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

}  // namespace QxXmlLib10

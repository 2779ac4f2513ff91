#include <qxxml/core/NamespaceAliasMap.h>
#include <qxxml/support/detail/OrEmpty.h>

#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>

#include <cassert>
#include <iterator>

namespace QxXmlLib10 {

namespace {
using detail::OrEmpty;
}  // namespace

CNamespaceAliasMap::CNamespaceAliasMap() = default;
CNamespaceAliasMap::CNamespaceAliasMap(const CNamespaceAliasMap&) = default;
CNamespaceAliasMap& CNamespaceAliasMap::operator=(const CNamespaceAliasMap&) = default;
CNamespaceAliasMap::~CNamespaceAliasMap() = default;

void CNamespaceAliasMap::Add(const wchar_t* alias, const wchar_t* namespaceUri) {
    m_map[OrEmpty(namespaceUri)] = OrEmpty(alias);
}

void CNamespaceAliasMap::RemoveNamespace(const wchar_t* namespaceUri) { m_map.erase(OrEmpty(namespaceUri)); }

std::wstring CNamespaceAliasMap::GetAliasFromNamespace(const wchar_t* namespaceUri) const {
    const auto found = m_map.find(OrEmpty(namespaceUri));
    return found == m_map.end() ? std::wstring() : found->second;
}

std::wstring CNamespaceAliasMap::GetNamespaceFromAlias(const wchar_t* alias) const {
    const wchar_t* wanted = OrEmpty(alias);
    for (const auto& entry : m_map)
        if (entry.second == wanted) return entry.first;
    throw CQxException(FormatString(L"Namespace alias [%s] not found", wanted));
}

bool CNamespaceAliasMap::DoesNamespaceExist(const wchar_t* namespaceUri) const {
    return m_map.count(OrEmpty(namespaceUri)) != 0;
}

bool CNamespaceAliasMap::DoesAliasExist(const wchar_t* alias) const {
    const wchar_t* wanted = OrEmpty(alias);
    for (const auto& entry : m_map)
        if (entry.second == wanted) return true;
    return false;
}

int CNamespaceAliasMap::GetNamespaceCount() const { return static_cast<int>(m_map.size()); }

std::wstring CNamespaceAliasMap::GetNamespaceAt(int index) const {
    // A bad index is the caller's error: asserted in debug builds, an empty URI otherwise
    // (never a walk past the end of the map).
    const bool inRange = index >= 0 && index < GetNamespaceCount();
    assert(inRange && "index in range");
    if (!inRange) return std::wstring();
    return std::next(m_map.begin(), index)->first;
}

}  // namespace QxXmlLib10

// NamespaceAliasMap.h - CNamespaceAliasMap, the namespace-URI-to-prefix table of a
// serialization context. Its entries become xmlns: declarations on the root element.
//
//   CXmlSerializationContext context;
//   CNamespaceAliasMap& aliases = context.GetNamespaceAliases();
//   aliases.Add(L"xsi", L"http://www.w3.org/2001/XMLSchema-instance");
//   aliases.Add(L"po", L"urn:example:po");
//   aliases.GetAliasFromNamespace(L"urn:example:po");   // L"po"
//   aliases.GetNamespaceAt(0);                            // smallest URI first
//
// Entries are kept in plain code-unit order of the URIs; each URI has at most one alias.
#pragma once

#include <qxxml/support/Export.h>

#include <map>
#include <string>

namespace QxXmlLib10 {

class QXXML_API CNamespaceAliasMap {
public:
    CNamespaceAliasMap();
    CNamespaceAliasMap(const CNamespaceAliasMap& other);
    CNamespaceAliasMap& operator=(const CNamespaceAliasMap& other);
    virtual ~CNamespaceAliasMap();

    // Sets the alias of the URI, replacing an earlier one.
    void Add(const wchar_t* alias, const wchar_t* namespaceUri);
    // Removes the URI's entry if there is one.
    void RemoveNamespace(const wchar_t* namespaceUri);

    // The alias of the URI, or an empty string when it has none.
    std::wstring GetAliasFromNamespace(const wchar_t* namespaceUri) const;
    // The URI of the first entry (in URI order) with this alias; CQxException
    // "Namespace alias [%s] not found" when there is none.
    std::wstring GetNamespaceFromAlias(const wchar_t* alias) const;

    bool DoesNamespaceExist(const wchar_t* namespaceUri) const;
    bool DoesAliasExist(const wchar_t* alias) const;

    int GetNamespaceCount() const;
    // The URI at `index` in URI order; the index must be in 0..GetNamespaceCount()-1
    // (asserted; an empty string in release builds).
    std::wstring GetNamespaceAt(int index) const;

private:
    std::map<std::wstring, std::wstring> m_map;  // URI -> alias
};

}  // namespace QxXmlLib10

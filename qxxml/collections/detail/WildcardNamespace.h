// WildcardNamespace.h - the namespace a wildcard collection gives new items by default.
#pragma once

#include <string>

namespace QxXmlLib10 {
namespace detail {

// `namespaceUri` when it is given; otherwise the first token of `restriction` (the text
// before its first space) when that token names a URI (at least two characters, neither of
// the first two a '#'), else the empty string.
std::wstring ChooseWildcardNamespace(const wchar_t* namespaceUri, const wchar_t* restriction);

}  // namespace detail
}  // namespace QxXmlLib10

// PatternMatcher.h - tests a value against an xs:pattern facet.
//
// XSD regular expressions are translated to PCRE2 syntax (the XML name escapes \i \I \c \C
// and four Unicode block names), anchored at both ends, compiled once per distinct pattern
// and cached for the life of the process, then matched against the whole value:
//
//   MatchesPattern("\\d{3}", L"123");     // true
//   MatchesPattern("\\d{3}", L"1234");    // false: the whole value must match
//   MatchesPattern("\\i\\c*", L"x1");     // true: an XML name
//   MatchesPattern("(", L"x");            // throws CQxException "Invalid Regular Expression: ..."
//
// The pattern is UTF-8 text; the value is wide text, matched as UTF-8 up to its first U+0000.
// Safe to call from several threads at once. A pattern that does not compile is not cached:
// every call with it throws again.
#pragma once

#include <qxxml/support/Export.h>

#include <string>

namespace QxXmlLib10 {

QXXML_API bool MatchesPattern(const std::string& patternUtf8, const std::wstring& value);

// The PCRE2 expression the matcher compiles for an XSD pattern: the rewritten pattern
// between "^" and "$".
QXXML_API std::string TranslateXsdPattern(const std::string& patternUtf8);

}  // namespace QxXmlLib10

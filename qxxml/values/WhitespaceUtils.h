// WhitespaceUtils.h - the white-space rules of XML Schema, applied to text before it is read
// as a value.
//
//   using W = CWhitespaceUtils;
//   W::ApplyRule(W::WhitespaceRule_Collapse, L"  a \t\r\n b  ");   // L"a b"
//   W::ApplyRule(W::WhitespaceRule_Replace, L"a\r\nb");           // L"a b"
//   W::ApplyRule(W::WhitespaceRule_Preserve, L"a\r\nb\rc");       // L"a\nb\nc"
//
// White space means exactly space, tab, CR and LF. The numeric values of WhitespaceRule are
// part of the interface: generated code passes them as numbers.
#pragma once

#include <qxxml/support/Export.h>

#include <string>

namespace QxXmlLib10 {

class QXXML_API CWhitespaceUtils {
public:
    enum WhitespaceRule {
        WhitespaceRule_None = 0,      // text unchanged
        WhitespaceRule_Preserve = 1,  // CR LF and lone CR become LF
        WhitespaceRule_Replace = 2,   // tab, CR, LF become a space (CR LF one space)
        WhitespaceRule_Collapse = 3   // runs become one space, trimmed at both ends
    };

    // `length` characters of `text`; a negative length reads up to the terminating zero and
    // a null text gives the empty string.
    static std::wstring Preserve(const wchar_t* text, int length);
    static std::wstring Preserve(const std::wstring& text);
    static std::wstring Replace(const std::wstring& text);
    static std::wstring Collapse(const std::wstring& text);

    // Throws CQxException "Unknown WhitespaceRule" for a value outside the enumeration.
    static std::wstring ApplyRule(WhitespaceRule rule, const std::wstring& text);
    // False when ApplyRule would return the text unchanged (None always; Preserve without
    // carriage returns; Replace without tabs and line ends; Collapse without white space);
    // true otherwise, and for an unknown rule (which ApplyRule refuses).
    static bool MayChange(WhitespaceRule rule, const std::wstring& text);

    static bool IsWhiteSpace(wchar_t ch) { return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n'; }
};

}  // namespace QxXmlLib10

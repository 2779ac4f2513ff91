#include <qxxml/values/WhitespaceUtils.h>

#include <qxxml/support/QxException.h>

#include <cwchar>

namespace QxXmlLib10 {

namespace {

// Writes text with CR LF and lone CR turned into one `lineEnd` character, and `mapOthers`
// applied to every other character; shared by Preserve and Replace.
template <class MapOther>
std::wstring RewriteLineEnds(const wchar_t* text, size_t length, wchar_t lineEnd, MapOther mapOthers) {
    std::wstring out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        const wchar_t ch = text[i];
        if (ch == L'\r') {
            if (i + 1 < length && text[i + 1] == L'\n') ++i;
            out += lineEnd;
        } else {
            out += mapOthers(ch);
        }
    }
    return out;
}

bool NeedsCollapse(const std::wstring& text) {
    bool lastWasSpace = true;  // leading white space must go
    for (wchar_t ch : text) {
        if (ch == L' ') {
            if (lastWasSpace) return true;
            lastWasSpace = true;
        } else if (CWhitespaceUtils::IsWhiteSpace(ch)) {
            return true;
        } else {
            lastWasSpace = false;
        }
    }
    return lastWasSpace && !text.empty();  // trailing space
}

}  // namespace

std::wstring CWhitespaceUtils::Preserve(const wchar_t* text, int length) {
    if (!text) return std::wstring();
    const size_t count = length < 0 ? wcslen(text) : static_cast<size_t>(length);
    return RewriteLineEnds(text, count, L'\n', [](wchar_t ch) { return ch; });
}

std::wstring CWhitespaceUtils::Preserve(const std::wstring& text) {
    if (text.find(L'\r') == std::wstring::npos) return text;
    return RewriteLineEnds(text.data(), text.size(), L'\n', [](wchar_t ch) { return ch; });
}

bool CWhitespaceUtils::MayChange(WhitespaceRule rule, const std::wstring& text) {
    switch (rule) {
        case WhitespaceRule_None: return false;
        case WhitespaceRule_Preserve: return text.find(L'\r') != std::wstring::npos;
        case WhitespaceRule_Replace: return text.find_first_of(L"\t\r\n") != std::wstring::npos;
        case WhitespaceRule_Collapse: break;
        default: return true;
    }
    for (wchar_t c : text)
        if (IsWhiteSpace(c)) return true;
    return false;
}

std::wstring CWhitespaceUtils::Replace(const std::wstring& text) {
    if (text.find_first_of(L"\t\r\n") == std::wstring::npos) return text;
    return RewriteLineEnds(text.data(), text.size(), L' ',
                           [](wchar_t ch) { return ch == L'\t' || ch == L'\n' ? L' ' : ch; });
}

std::wstring CWhitespaceUtils::Collapse(const std::wstring& text) {
    // Most values ("1234.56", "true", a name) are already collapsed.
    if (!NeedsCollapse(text)) return text;
    std::wstring out;
    out.reserve(text.size());
    bool lastWasSpace = true;
    for (wchar_t ch : text) {
        if (IsWhiteSpace(ch)) {
            if (!lastWasSpace) out += L' ';
            lastWasSpace = true;
        } else {
            out += ch;
            lastWasSpace = false;
        }
    }
    if (!out.empty() && out.back() == L' ') out.pop_back();
    return out;
}

std::wstring CWhitespaceUtils::ApplyRule(WhitespaceRule rule, const std::wstring& text) {
    switch (rule) {
        case WhitespaceRule_None: return text;
        case WhitespaceRule_Preserve: return Preserve(text);
        case WhitespaceRule_Replace: return Replace(text);
        case WhitespaceRule_Collapse: return Collapse(text);
    }
    throw CQxException(L"Unknown WhitespaceRule");
}

}  // namespace QxXmlLib10

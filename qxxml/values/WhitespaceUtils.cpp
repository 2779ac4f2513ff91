#include <qxxml/values/WhitespaceUtils.h>

#include <qxxml/support/QxException.h>

#include <cwchar>

// SSE2 is part of every x86-64 processor; wide characters of 32 bits fill four lanes.
#if (defined(__SSE2__) || defined(_M_X64)) && WCHAR_MAX > 0xFFFF
#  include <emmintrin.h>
#  define QXXML_WHITESPACE_SSE2 1
#endif

namespace QxXmlLib10 {

namespace {

// True when the text holds a white space character. Values to convert rarely do: four
// characters at a time are ruled out by one compare (every white space character is below
// U+0021), and only a block with a character that low is looked at closely.
bool HasWhiteSpace(const std::wstring& text) {
    const wchar_t* const chars = text.data();
    const size_t length = text.size();
    size_t i = 0;
#if defined(QXXML_WHITESPACE_SSE2)
    const __m128i limit = _mm_set1_epi32(0x21);
    for (; i + 4 <= length; i += 4) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars + i));
        if (_mm_movemask_epi8(_mm_cmplt_epi32(block, limit)) != 0) break;
    }
#endif
    for (; i < length; ++i)
        if (CWhitespaceUtils::IsWhiteSpace(chars[i])) return true;
    return false;
}

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
    return HasWhiteSpace(text);
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

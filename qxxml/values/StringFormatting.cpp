#include <qxxml/values/StringFormatting.h>

#include <cstdint>

namespace QxXmlLib10 {

namespace {

// Leftmost-first replacement, exactly as if every search restarted at the beginning of the
// text: after a replacement at `at`, all text before `at` was free of the search text, so a
// new occurrence can start no earlier than search.size() - 1 characters before `at`.
//
// A replacement that contains the search text would recreate it forever, so it is applied
// once per original occurrence. A rewriting that merely grows or shuffles the text could in
// theory go on very long too; a fixed step budget guarantees the call returns.
template <class String>
void ReplaceAllImpl(String& text, const String& search, const String& replacement) {
    if (search.empty()) return;
    const bool replacementRecreatesSearch = replacement.find(search) != String::npos;
    const bool textShrinks = replacement.size() < search.size();
    size_t budget = textShrinks ? SIZE_MAX : (size_t{1} << 22);
    typename String::size_type from = 0;
    while (budget-- > 0) {
        const typename String::size_type at = text.find(search, from);
        if (at == String::npos) return;
        text.replace(at, search.size(), replacement);
        if (replacementRecreatesSearch) {
            from = at + replacement.size();
        } else {
            from = at >= search.size() - 1 ? at - (search.size() - 1) : 0;
        }
    }
}

}  // namespace

std::wstring FormatZeroPadded(int value, unsigned char width) {
    // Digits of the magnitude, least significant first, in a fixed buffer (an int has at
    // most 10 decimal digits).
    wchar_t digits[16];
    int count = 0;
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);

    const int sign = value < 0 ? 1 : 0;
    const int padding = width > sign + count ? width - sign - count : 0;
    std::wstring text;
    text.reserve(static_cast<size_t>(sign + padding + count));
    if (sign) text += L'-';
    text.append(static_cast<size_t>(padding), L'0');
    while (count > 0) text += digits[--count];
    return text;
}

std::wstring TrimTrailingZeros(std::wstring digits) {
    size_t keep = digits.size();
    while (keep > 1 && digits[keep - 1] == L'0') --keep;
    digits.resize(keep);
    return digits;
}

std::wstring FormatFraction(unsigned short milli, unsigned short micro, unsigned short nano) {
    if (nano != 0) {
        return L"." + FormatZeroPadded(milli, 3) + FormatZeroPadded(micro, 3) +
               TrimTrailingZeros(FormatZeroPadded(nano, 3));
    }
    if (micro != 0) {
        return L"." + FormatZeroPadded(milli, 3) + TrimTrailingZeros(FormatZeroPadded(micro, 3));
    }
    if (milli != 0) return L"." + TrimTrailingZeros(FormatZeroPadded(milli, 3));
    return std::wstring();
}

void ReplaceAll(std::wstring& text, const std::wstring& search, const std::wstring& replacement) {
    ReplaceAllImpl(text, search, replacement);
}

void ReplaceAll(std::string& text, const std::string& search, const std::string& replacement) {
    ReplaceAllImpl(text, search, replacement);
}

}  // namespace QxXmlLib10

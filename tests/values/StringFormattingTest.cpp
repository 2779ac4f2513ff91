// The number helpers against the C library's printf and a slow definition of replacing; the
// fraction of a second is in data/texts.tsv and in the durations of the date oracle.
#include <qxxml/values/StringFormatting.h>

#include <gtest/gtest.h>

#include <climits>
#include <cwchar>
#include <random>
#include <string>

using namespace QxXmlLib10;

// The C library's "%0<width>d" is the reference.
TEST(StringFormattingTest, ZeroPaddedMatchesPrintf) {
    std::mt19937 random(3);
    const int specials[] = {0, 1, -1, 9, 10, -10, 999, INT_MAX, INT_MIN};
    for (int i = 0; i < 3000; ++i) {
        const int value = i < 9 ? specials[i] : static_cast<int>(random()) >> (random() % 31);
        const unsigned char width = static_cast<unsigned char>(random() % 14);
        wchar_t expected[64];
        swprintf(expected, 64, L"%0*d", static_cast<int>(width), value);
        EXPECT_EQ(FormatZeroPadded(value, width), expected) << value << " width " << int(width);
    }
}

namespace {

// The definition itself, slowly: find the leftmost occurrence from the start, every time.
template <class String>
String ReplaceFromTheStart(String text, const String& search, const String& replacement) {
    int steps = 0;
    for (size_t at; (at = text.find(search)) != String::npos && ++steps < 100000;)
        text.replace(at, search.size(), replacement);
    return text;
}

}  // namespace

TEST(StringFormattingTest, ReplaceAllRescansFromTheStart) {
    // A replacement that creates a new occurrence before the current position.
    std::wstring wide = L"aaab";
    ReplaceAll(wide, std::wstring(L"ab"), std::wstring(L"b"));
    EXPECT_EQ(wide, L"b");
    std::wstring text = L"xax";
    ReplaceAll(text, std::wstring(L"a"), std::wstring(L"aa"));  // each original "a" once: no endless loop
    EXPECT_EQ(text, L"xaax");
    std::string unchanged = "abc";
    ReplaceAll(unchanged, std::string(), std::string("z"));
    EXPECT_EQ(unchanged, "abc");

    std::mt19937 random(9);
    const char alphabet[] = "abc";
    for (int i = 0; i < 3000; ++i) {
        auto word = [&](size_t minimum, size_t maximum) {
            std::string w;
            const size_t length = minimum + random() % (maximum - minimum + 1);
            for (size_t k = 0; k < length; ++k) w += alphabet[random() % 3];
            return w;
        };
        const std::string search = word(1, 3);
        std::string replacement = word(0, 2);
        if (replacement.find(search) != std::string::npos) continue;  // would never end
        const std::string text = word(0, 12);
        std::string actual = text;
        ReplaceAll(actual, search, replacement);
        EXPECT_EQ(actual, ReplaceFromTheStart(text, search, replacement)) << text << " " << search << " " << replacement;
    }
}

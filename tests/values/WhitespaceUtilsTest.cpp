#include <qxxml/values/WhitespaceUtils.h>

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>

using namespace QxXmlLib10;
using W = CWhitespaceUtils;

// Random texts over the white-space characters against regular-expression definitions of
// the three rules (the rules on single texts are in data/texts.tsv); other controls are no
// white space.
TEST(WhitespaceUtilsTest, RandomTextsAgreeWithRegexDefinitions) {
    EXPECT_FALSE(W::IsWhiteSpace(L'\v'));
    EXPECT_EQ(W::ApplyRule(W::WhitespaceRule_None, L" a\r\n"), L" a\r\n");
    std::mt19937 random(7);
    const wchar_t alphabet[] = L"ab \t\r\n";
    const std::wregex lineEnd(L"\r\n|\r");
    const std::wregex replaceable(L"\r\n|[\r\n\t]");
    const std::wregex run(L"[ \t\r\n]+");
    const std::wregex ends(L"^ | $");
    for (int i = 0; i < 2000; ++i) {
        std::wstring text;
        const int length = static_cast<int>(random() % 12);
        for (int k = 0; k < length; ++k) text += alphabet[random() % 6];
        EXPECT_EQ(W::Preserve(text), std::regex_replace(text, lineEnd, L"\n"));
        EXPECT_EQ(W::Replace(text), std::regex_replace(text, replaceable, L" "));
        EXPECT_EQ(W::Collapse(text), std::regex_replace(std::regex_replace(text, run, L" "), ends, L""));
    }
}

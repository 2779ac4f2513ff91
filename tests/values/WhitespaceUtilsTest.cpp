#include <qxxml/support/QxException.h>
#include <qxxml/values/WhitespaceUtils.h>

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>

using namespace QxXmlLib10;
using W = CWhitespaceUtils;

// The edges the random texts below cannot reach: other control characters, explicit
// lengths, a null text and an unknown rule.
TEST(WhitespaceUtilsTest, EdgesAndRules) {
    EXPECT_EQ(W::Collapse(L"a\x0B\x0C\u00A0b"), L"a\x0B\x0C\u00A0b");  // only space, tab, CR, LF
    EXPECT_FALSE(W::IsWhiteSpace(L'\v'));
    EXPECT_EQ(W::Preserve(L"x\r\ny", 2), L"x\n");  // the length cuts the text before the LF
    EXPECT_EQ(W::Preserve(L"x\r\ny", -1), L"x\ny");
    EXPECT_EQ(W::Preserve(nullptr, 3), L"");
    const std::wstring text = L" a\r\n\tb ";
    EXPECT_EQ(W::ApplyRule(W::WhitespaceRule_None, text), text);
    EXPECT_EQ(W::ApplyRule(W::WhitespaceRule_Preserve, text), L" a\n\tb ");
    EXPECT_EQ(W::ApplyRule(W::WhitespaceRule_Replace, text), L" a  b ");
    EXPECT_EQ(W::ApplyRule(W::WhitespaceRule_Collapse, text), L"a b");
    try {
        W::ApplyRule(static_cast<W::WhitespaceRule>(4), text);
        ADD_FAILURE() << "rule 4 accepted";
    } catch (const CQxException& e) {
        EXPECT_EQ(e.GetMessageW(), L"Unknown WhitespaceRule");
    }
}

// Random texts over the white-space characters against regular-expression definitions of
// the three rules.
TEST(WhitespaceUtilsTest, RandomTextsAgreeWithRegexDefinitions) {
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

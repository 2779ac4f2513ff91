#include <qxxml/support/QxException.h>
#include <qxxml/values/PatternMatcher.h>
#include <qxxml/values/PrimitiveRestrictions.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using namespace QxXmlLib10;

namespace {

std::wstring InvalidPatternMessage(const std::string& pattern) {
    try {
        MatchesPattern(pattern, L"x");
    } catch (const CQxException& e) {
        return e.GetMessageW();
    }
    return L"<no exception>";
}

}  // namespace

TEST(PatternMatcherTest, WholeValueMustMatch) {
    EXPECT_TRUE(MatchesPattern("\\d{3}", L"123"));
    EXPECT_FALSE(MatchesPattern("\\d{3}", L"1234"));
    EXPECT_FALSE(MatchesPattern("\\d{3}", L"12"));
    EXPECT_FALSE(MatchesPattern("abc", L"abc\n"));  // "$" before a final LF is not the end
    EXPECT_FALSE(MatchesPattern("abc", L"xabc"));
    // The anchors bind to the alternatives: "^a|ab$" takes "a" at the start of "ab".
    EXPECT_FALSE(MatchesPattern("a|ab", L"ab"));
    EXPECT_TRUE(MatchesPattern("(a|ab)", L"ab"));
    EXPECT_TRUE(MatchesPattern("", L""));
    EXPECT_FALSE(MatchesPattern("", L"a"));
}

TEST(PatternMatcherTest, XmlNameEscapes) {
    EXPECT_TRUE(MatchesPattern("[A-Z]\\c*", L"Ab.c-d"));
    EXPECT_TRUE(MatchesPattern("\\i\\c*", L"x1"));
    EXPECT_FALSE(MatchesPattern("\\i\\c*", L"1x"));
    EXPECT_TRUE(MatchesPattern("\\i\\c*", L"_a:b"));
    EXPECT_TRUE(MatchesPattern("\\I", L"1"));
    EXPECT_FALSE(MatchesPattern("\\I", L"a"));
    EXPECT_TRUE(MatchesPattern("\\C", L" "));
    EXPECT_FALSE(MatchesPattern("\\C", L"-"));
    // An escaped backslash followed by "i" is a backslash and a letter, not the name escape.
    EXPECT_TRUE(MatchesPattern("\\\\i", L"\\i"));
    EXPECT_FALSE(MatchesPattern("\\\\i", L"a"));
    EXPECT_EQ(TranslateXsdPattern("\\i\\\\c"), "^([^\\W\\d]|:)\\\\c$");
}

TEST(PatternMatcherTest, BlockNames) {
    // Each block at both of its ends and just outside them.
    const struct {
        const char* block;
        wchar_t first, last;
    } blocks[] = {{"BasicLatin", 0x0000, 0x007F}, {"Latin-1Supplement", 0x0080, 0x00FF},
                  {"LatinExtended-A", 0x0100, 0x017F}, {"LatinExtended-B", 0x0180, 0x024F}};
    for (const auto& b : blocks) {
        const std::string pattern = std::string("\\p{Is") + b.block + "}";
        SCOPED_TRACE(pattern);
        EXPECT_TRUE(MatchesPattern(pattern, std::wstring(1, b.last)));
        EXPECT_FALSE(MatchesPattern(pattern, std::wstring(1, b.last + 1)));
        if (b.first == 0) continue;  // U+0000 ends the subject
        EXPECT_TRUE(MatchesPattern(pattern, std::wstring(1, b.first)));
        EXPECT_FALSE(MatchesPattern(pattern, std::wstring(1, b.first - 1)));
    }
    EXPECT_TRUE(MatchesPattern("\\p{IsBasicLatin}+", L"Hello, world~"));
    // Other names go to PCRE2 as written: Unicode properties work, unknown blocks do not.
    EXPECT_TRUE(MatchesPattern("\\p{Lu}", L"\u00c9"));
    EXPECT_NE(InvalidPatternMessage("\\p{IsGreek}").find(L"Invalid Regular Expression: \\p{IsGreek} Error: '"),
              std::wstring::npos);
}

TEST(PatternMatcherTest, InvalidPatternsFailEveryTime) {
    const std::wstring first = InvalidPatternMessage("(");
    EXPECT_EQ(first.rfind(L"Invalid Regular Expression: ( Error: '", 0), 0u) << first;
    EXPECT_EQ(first.back(), L'\'');
    EXPECT_GT(first.size(), std::wstring(L"Invalid Regular Expression: ( Error: ''").size());
    EXPECT_EQ(InvalidPatternMessage("("), first);  // not cached as if it were valid
    EXPECT_EQ(InvalidPatternMessage("\\d{3}"), L"<no exception>");
    EXPECT_EQ(InvalidPatternMessage("[z-a]").rfind(L"Invalid Regular Expression: [z-a] Error: '", 0), 0u);
}

TEST(PatternMatcherTest, ValuesBeyondAscii) {
    EXPECT_TRUE(MatchesPattern(".", L"\U0001F600"));  // one character, four UTF-8 bytes
    EXPECT_TRUE(MatchesPattern("\xc3\xa9+", L"\u00e9\u00e9"));  // UTF-8 in the pattern
    // The subject ends at the first U+0000.
    EXPECT_TRUE(MatchesPattern("ab", std::wstring(L"ab\0cd", 5)));
    // A value the encoder refuses (a lone surrogate) matches nothing.
    EXPECT_FALSE(MatchesPattern(".*", std::wstring(1, static_cast<wchar_t>(0xD800))));
}

TEST(PatternMatcherTest, LongValuesWithBacktracking) {
    const std::wstring value(50000, L'a');
    EXPECT_TRUE(MatchesPattern("(a|b)*", value));
    EXPECT_FALSE(MatchesPattern("(a|b)*", value + L"c"));
}

// Patterns are known by their text: one string object rewritten in place (same buffer) must
// not keep the pattern it held before, and cycling through more patterns than a thread
// remembers must keep every answer right.
TEST(PatternMatcherTest, PatternsAreKnownByTheirText) {
    std::string pattern = "\\d{3}-[A-Z]{2}";
    pattern.reserve(64);
    const char* buffer = pattern.data();
    EXPECT_TRUE(MatchesPattern(pattern, L"123-AB"));
    pattern.assign("[A-Z]{2}-\\d{3}");
    ASSERT_EQ(pattern.data(), buffer);
    EXPECT_FALSE(MatchesPattern(pattern, L"123-AB"));
    EXPECT_TRUE(MatchesPattern(pattern, L"AB-123"));

    for (int round = 0; round < 3; ++round) {
        for (int n = 1; n <= 20; ++n) {
            pattern.assign("x{" + std::to_string(n) + "}");
            EXPECT_TRUE(MatchesPattern(pattern, std::wstring(static_cast<size_t>(n), L'x'))) << pattern;
            EXPECT_FALSE(MatchesPattern(pattern, std::wstring(static_cast<size_t>(n + 1), L'x'))) << pattern;
        }
    }
}

TEST(PatternMatcherTest, ManyThreadsShareTheCache) {
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &wrong] {
            for (int i = 0; i < 300; ++i) {
                // More patterns than a thread keeps at hand, in a different order per thread.
                const int n = 1 + (i * (t + 1)) % 13;
                const std::string pattern = "[a-z]{" + std::to_string(n) + "}";
                const std::wstring value(static_cast<size_t>(n), L'q');
                if (!MatchesPattern(pattern, value) || MatchesPattern(pattern, value + L"q")) ++wrong;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST(PrimitiveRestrictionsTest, CopiesCarryEveryFacet) {
    EXPECT_EQ(CPrimitiveRestrictions().m_nLength, -1);  // -1: no length facet
    const CPrimitiveRestrictions facets(L"[A-Z]+", 2, -1, L"1", nullptr, L"0", L"9", 5);
    CPrimitiveRestrictions assigned;
    assigned = facets;
    for (const CPrimitiveRestrictions& copy : {CPrimitiveRestrictions(facets), assigned}) {
        EXPECT_EQ(copy.m_strPattern + L"|" + copy.m_strMinInclusive + L"|" + copy.m_strMaxInclusive + L"|" +
                      copy.m_strMinExclusive + L"|" + copy.m_strMaxExclusive,
                  L"[A-Z]+|1||0|9");
        EXPECT_EQ(std::to_string(copy.m_nMinLength) + " " + std::to_string(copy.m_nMaxLength) + " " +
                      std::to_string(copy.m_nLength),
                  "2 -1 5");
    }
}

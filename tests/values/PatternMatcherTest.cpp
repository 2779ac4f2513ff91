// MatchesPattern beyond the cases of data/texts.tsv: refused patterns, values the table
// cannot hold, long values, and the cache of compiled patterns on one and on many threads.
#include <qxxml/support/QxException.h>
#include <qxxml/values/PatternMatcher.h>

#include "common/Messages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using namespace QxXmlLib10;

namespace {

// The message of a refused pattern up to the compiler's own text, which PCRE2 words.
std::wstring RefusalStart(const std::string& pattern) {
    const std::wstring message = qxxml_test::MessageOf([&] { MatchesPattern(pattern, L"x"); });
    const size_t quote = message.find(L'\'');
    EXPECT_EQ(message.back(), L'\'') << pattern;
    EXPECT_GT(message.size(), quote + 2) << "the compiler's text is missing: " << pattern;
    return message.substr(0, quote + 1);
}

}  // namespace

TEST(PatternMatcherTest, RefusedPatternsFailEveryTime) {
    EXPECT_EQ(RefusalStart("("), L"Invalid Regular Expression: ( Error: '");
    EXPECT_EQ(RefusalStart("("), L"Invalid Regular Expression: ( Error: '");  // not cached as if it were valid
    EXPECT_EQ(RefusalStart("[z-a]"), L"Invalid Regular Expression: [z-a] Error: '");
    EXPECT_EQ(RefusalStart("\\p{IsGreek}"), L"Invalid Regular Expression: \\p{IsGreek} Error: '");  // only four blocks
    EXPECT_EQ(TranslateXsdPattern("\\i\\\\c"), "^([^\\W\\d]|:)\\\\c$");
}

TEST(PatternMatcherTest, ValuesTheTableCannotHold) {
    EXPECT_TRUE(MatchesPattern("ab", std::wstring(L"ab\0cd", 5)));  // the subject ends at the first U+0000
    EXPECT_FALSE(MatchesPattern(".*", std::wstring(1, static_cast<wchar_t>(0xD800))));  // a lone surrogate matches nothing
    EXPECT_TRUE(MatchesPattern("", L""));
    const std::wstring value(50000, L'a');  // long values with backtracking
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

#include <qxxml/xmlout/StringBuffer.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

using namespace QxXmlLib10;

namespace {

std::wstring Pattern(size_t length, wchar_t first = L'a') {
    std::wstring text(length, L' ');
    for (size_t i = 0; i < length; ++i) text[i] = static_cast<wchar_t>(first + i % 26);
    return text;
}

}  // namespace

TEST(StringBuffer, OneFullBlockIsReturnedWithoutMerging) {
    CStringBuffer buffer;
    EXPECT_STREQ(L"", buffer.GetString());  // never written
    buffer.Append(nullptr);
    buffer.Append(L"", 0);
    const std::wstring text = Pattern(4095);
    buffer.Append(text.c_str());
    EXPECT_EQ(4095u, buffer.GetLength());
    const wchar_t* first = buffer.GetString();
    EXPECT_EQ(text, first);
    EXPECT_EQ(first, buffer.GetString());  // the block itself, not a merged copy

    buffer.AppendChar(L'!');  // starts a second block
    const wchar_t* merged = buffer.GetString();
    EXPECT_EQ(4096u, std::wcslen(merged));
    EXPECT_EQ(text + L"!", merged);
    EXPECT_EQ(merged, buffer.GetString());  // merged once; now the only block

    buffer.Append(L"tail");  // the merged array is full: a new block takes the tail
    EXPECT_EQ(text + L"!tail", buffer.GetString());
}

// Appends across many blocks, merges in between and clears, against a string built alongside.
TEST(StringBuffer, MixedAppendsMergesAndClearsMatchAStringBuiltAlongside) {
    CStringBuffer buffer;
    std::wstring expected;
    for (size_t round = 0; round < 700; ++round) {
        const std::wstring piece = Pattern(round * 7 % 301, static_cast<wchar_t>(L'A' + round % 20));
        buffer.Append(piece.data(), piece.size());
        buffer.AppendChar(L'|');
        expected += piece + L'|';
        if (round % 97 == 0) {  // later appends go on after a merge
            EXPECT_EQ(expected, buffer.GetString());
        }
        if (round == 350 || round == 351 || round == 500) {  // several blocks, one, one large merged one
            if (round == 500) buffer.GetString();
            buffer.Clear();
            expected.clear();
            EXPECT_STREQ(L"", buffer.GetString());
        }
    }
    EXPECT_EQ(expected.size(), buffer.GetLength());
    std::wstring walked;
    buffer.ForEachChunk([&](const wchar_t* chars, size_t count) {
        EXPECT_GT(count, 0u);
        walked.append(chars, count);
    });
    EXPECT_EQ(expected, walked);
    EXPECT_EQ(expected, buffer.GetString());
}

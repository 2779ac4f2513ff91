// CStringBuffer's blocks: one full block is returned as it is, a second one makes a merge that
// later appends go on from. Appends, clears and chunk walks over many blocks are proven by the
// text streams, whose bytes python checks (StreamsTest.cpp, XmlTextWriterTest.cpp).
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

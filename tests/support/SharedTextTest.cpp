// The per-thread helpers that spare hot paths a heap string: shared element names and the
// scratch copy of tree text.
#include <qxxml/support/ScratchText.h>
#include <qxxml/support/SharedName.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

using QxXmlLib10::MakeSharedName;
using QxXmlLib10::ScratchText;

TEST(SharedNameTest, SameTextAtTheSameAddressIsSharedAndAReusedBufferIsNot) {
    const wchar_t* const literal = L"item";
    EXPECT_EQ(MakeSharedName(literal).get(), MakeSharedName(literal).get());
    EXPECT_EQ(*MakeSharedName(nullptr), L"");
    EXPECT_EQ(MakeSharedName(nullptr).get(), MakeSharedName(L"").get());

    wchar_t buffer[16] = L"first";
    const auto first = MakeSharedName(buffer);
    std::wcscpy(buffer, L"second");
    const auto second = MakeSharedName(buffer);
    EXPECT_EQ(*first, L"first") << "a name never changes once made";
    EXPECT_EQ(*second, L"second");
}

TEST(ScratchTextTest, CopiesTheCharactersOfAnyLength) {
    const std::wstring longText(100000, L'x');
    EXPECT_EQ(ScratchText(longText), longText);
    EXPECT_EQ(ScratchText(std::wstring_view(L"ab\0c", 4)), std::wstring(L"ab\0c", 4));
    EXPECT_EQ(ScratchText(std::wstring_view()), L"");
}

}  // namespace

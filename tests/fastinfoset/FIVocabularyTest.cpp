// The vocabulary's indices, sharing of name parts and table limits, seen through its tables and
// its Dump; the Fast Infoset context's encoding table.
#include <qxxml/fastinfoset/FastInfosetBinaryData.h>
#include <qxxml/fastinfoset/FastInfosetContext.h>
#include <qxxml/values/ItemType.h>

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace QxXmlLib10;
using Parts = CFIVocabulary::CQNameParts;

// The dump of a vocabulary, the U+0001 between the parts of a qualified name shown as "|".
std::string DumpOf(const CFIVocabulary& vocabulary) {
    testing::internal::CaptureStdout();
    vocabulary.Dump();
    std::string dump = testing::internal::GetCapturedStdout();
    std::replace(dump.begin(), dump.end(), '\x01', '|');
    return dump;
}

// A dump of data/vocabulary_dumps.txt: the lines after "=== name", up to the next "===".
std::string ExpectedDump(const std::string& name) {
    const std::string text = qxxml_test::ReadSourceFile("tests/fastinfoset/data/vocabulary_dumps.txt");
    const size_t start = text.find("=== " + name + "\n") + name.size() + 5;
    return text.substr(start, text.find("=== ", start) - start);
}

std::vector<Parts> PartsOf(const CFIVocabulary::CFIQNameTable& table) { return {table.begin(), table.end()}; }
std::vector<std::wstring> StringsOf(const CFIVocabulary::CFIStringTable& table) { return {table.begin(), table.end()}; }

// A new vocabulary holds the xml prefix and namespace (index 1); names added share their parts.
TEST(FIVocabulary, QualifiedNamesShareTheirPartsAndNumberFromOne) {
    CFIVocabulary vocabulary;
    EXPECT_EQ(DumpOf(vocabulary), ExpectedDump("new"));
    EXPECT_EQ(vocabulary.GetRestrictedAlphabet(1), L"0123456789-+.e ");
    EXPECT_EQ(vocabulary.GetRestrictedAlphabet(2), L"0123456789-:TZ ");
    EXPECT_EQ(vocabulary.GetRestrictedAlphabet(0) + vocabulary.GetRestrictedAlphabet(3), L"");
    vocabulary.AddElement(L"", L"", L"a");
    vocabulary.AddElement(L"p", L"urn:x", L"b");
    vocabulary.AddAttribute(L"p", L"urn:x", L"a");  // every part known already
    vocabulary.AddElement(L"", L"", L"a");          // known: nothing added
    vocabulary.AddElement(L"q", L"urn:x", L"b");    // another prefix: another name
    vocabulary.AddElement(L"xml", L"http://www.w3.org/XML/1998/namespace", L"lang");
    vocabulary.AddAttribute(L"", L"urn:y", L"c");
    vocabulary.AddElementValue(L"EUR");
    vocabulary.AddElementValue(L"");
    vocabulary.AddAttributeValue(L"1.5");

    EXPECT_EQ(PartsOf(vocabulary.GetElementNamesTable()),
              (std::vector<Parts>{{0, 0, 1}, {2, 2, 2}, {3, 2, 2}, {1, 1, 3}}));
    EXPECT_EQ(PartsOf(vocabulary.GetAttributeNamesTable()), (std::vector<Parts>{{2, 2, 1}, {0, 3, 4}}));
    EXPECT_EQ(StringsOf(vocabulary.GetLocalNamesTable()), (std::vector<std::wstring>{L"a", L"b", L"lang", L"c"}));
    EXPECT_EQ(StringsOf(vocabulary.GetPrefixNamesTable()), (std::vector<std::wstring>{L"xml", L"p", L"q"}));
    EXPECT_EQ(StringsOf(vocabulary.GetCharacterChunksTable()), (std::vector<std::wstring>{L"EUR", L""}));
    EXPECT_EQ(StringsOf(vocabulary.GetAttributeValuesTable()), std::vector<std::wstring>{L"1.5"});
    EXPECT_EQ(DumpOf(vocabulary), ExpectedDump("filled"));
}

TEST(FIVocabulary, StopsGrowingAtTwoToTheTwentiethEntries) {
    CFIVocabulary vocabulary;
    const uint32_t limit = CFIVocabulary::kMaxTableSize;
    // Two-character names (no heap block each): the two halves of the number as characters.
    const auto name = [](uint32_t i) { return std::wstring{wchar_t(0x10000 + (i & 0xFFFF)), wchar_t(0x10000 + (i >> 16))}; };
    for (uint32_t i = 0; i < limit + 2; ++i) vocabulary.AddLocalName(name(i));
    const CFIVocabulary::CFIStringTable& names = vocabulary.GetLocalNamesTable();
    ASSERT_EQ(names.size(), limit);
    EXPECT_TRUE(names.Get(limit) == name(limit - 1));
    // A known name keeps its index; a name that no longer fits is not entered into the map
    // either, and the qualified name refers to the table's last index.
    vocabulary.AddElement(L"", L"", name(5));
    vocabulary.AddElement(L"", L"", name(limit + 1));
    EXPECT_EQ(PartsOf(vocabulary.GetElementNamesTable()), (std::vector<Parts>{{0, 0, 6}, {0, 0, limit}}));
    EXPECT_EQ(names.size(), limit);
}

TEST(FastInfosetContext, DefaultsAndSuggestedEncodings) {
    CFastInfosetContext context;
    for (int type = -1; type <= CFastInfosetContext::kEncodingTableSize; ++type)
        EXPECT_EQ(context.GetEncoding(type).m_dwEncodingKind, 0u) << type;

    context.SetEncoding(ItemType_string, {FIEncodingKind_EncodingAlgorithm, FIAlgorithm_CDATA});
    context.SetEncoding(CFastInfosetContext::kEncodingTableSize, {2, 1});  // outside the table: ignored
    context.SetSuggestedValues();
    // kind and index per ItemType 0 .. 28 (string keeps what it was given)
    const std::vector<std::pair<uint32_t, uint32_t>> expected = {
        {0, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 3}, {2, 4}, {2, 5}, {2, 3}, {2, 4}, {2, 5},
        {2, 5}, {2, 7}, {2, 8}, {0, 0}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2},
        {1, 2}, {1, 2}, {0, 0}, {2, 10}, {2, 6}, {1, 1}, {1, 1}, {0, 0}, {0, 0}};
    for (int type = 0; type < CFastInfosetContext::kEncodingTableSize; ++type) {
        const CFastInfosetContext::EncodedCharacterString entry = context.GetEncoding(type);
        EXPECT_EQ(std::make_pair(entry.m_dwEncodingKind, entry.m_dwIndex), expected[type]) << "item type " << type;
    }
}

}  // namespace

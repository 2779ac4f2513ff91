// What the text reader puts into the tree: names and namespaces, attributes, text, CDATA,
// and the exact parse error messages, each document checked against python's expat binding.
#include "xmlin/XmlinTestSupport.h"

#include "common/CaseTable.h"

#include <qxxml/support/QxException.h>
#include <qxxml/xmlin/XmlDocument.h>

#include <gtest/gtest.h>

namespace xmlin_test {
namespace {

// Texts long enough to be handed to their element whole, next to short ones.
std::string LongSiblingTexts() {
    std::string first, second;
    for (int i = 0; i < 40000; ++i) first += (i % 50 == 0) ? "\r\n" : (i % 77 == 0 ? "&#13;" : "x");
    for (int i = 0; i < 30000; ++i) second += static_cast<char>('a' + i % 26);
    return "<r><t>" + first + "</t><t>" + second + "</t><t>s</t><t>" + first + "</t></r>";
}

// Every document of data/documents.tsv, and one of long texts, in one run of the oracle.
TEST(ExpatReader, TreesAndErrorsAreExpats) {
    std::vector<std::string> names;
    std::vector<std::pair<std::string, std::string>> files;  // path, flags
    const auto add = [&](const std::string& name, const std::string& flags, const std::string& bytes) {
        names.push_back(name);
        files.emplace_back(TempPath("reader-" + name + ".xml"), flags == "-" ? "" : flags);
        WriteFile(files.back().first, bytes);
    };
    for (const CCaseRow& row : CaseRows("tests/xmlin/data/documents.tsv", 3))
        add(row.fields[0], row.fields[1], Unescape(row.fields[2]));
    add("long_sibling_texts", "-", LongSiblingTexts());
    const std::vector<std::string> expected = OracleDumps(files);
    for (size_t i = 0; i < files.size(); ++i) {
        const auto load = [&](CXmlDocument& document) { document.Load(FromUtf8(files[i].first).c_str()); };
        EXPECT_EQ(LoadedDump(files[i].second, load, expected[i]), expected[i]) << names[i];
    }
}

TEST(ExpatReader, ErrorKeepsThePartialTreeUntilTheNextLoad) {
    CXmlDocument document;
    EXPECT_EQ(MessageOf([&] { document.LoadXml("<a xmlns:p='urn:1'>text<b>inner</b><c>open"); }),
              L"no element found at line 1");
    const CXmlElement* a = document.GetDocumentElement();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetText(), L"text") << "text read so far is kept";
    ASSERT_NE(a->GetFirstElement(), nullptr);
    EXPECT_EQ(a->GetFirstElement()->GetText(), L"inner");
    EXPECT_EQ(a->GetFirstElement()->GetNextSiblingElement()->GetText(), L"open");

    // The next load replaces the tree and the aliases (a narrow string with a UTF-8 byte order mark).
    document.LoadXml("\xEF\xBB\xBF<z>\xE2\x82\xAC</z>");
    EXPECT_EQ(document.GetDocumentElement()->GetLocalName(), L"z");
    EXPECT_EQ(document.GetDocumentElement()->GetText(), L"\u20AC");
    EXPECT_EQ(document.GetDocumentElement()->GetFirstElement(), nullptr);
    EXPECT_EQ(document.LookupNamespaceFromAlias(L"p") + document.LookupNamespaceFromAlias(nullptr), L"");
}

}  // namespace
}  // namespace xmlin_test

// What the text reader puts into the tree: names and namespaces, attributes, text, CDATA,
// and the exact parse error messages (checked against python's expat binding).
#include "xmlin/XmlinTestSupport.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/xmlin/XmlDocument.h>

#include <gtest/gtest.h>

namespace xmlin_test {
namespace {

CXmlSerializationContext NoNamespaces() {
    CXmlSerializationContext context;
    context.SetSchemaType(SchemaType_NoNamespaces);
    return context;
}

CXmlSerializationContext KeepCdata() {
    CXmlSerializationContext context;
    context.SetStripCDATA(false);
    return context;
}

TEST(ExpatReader, DefaultNamespaceAppliesToElementsAndIsRecordedUnderTheEmptyPrefix) {
    CXmlDocument document;
    document.LoadXml("<a xmlns=\"urn:x\"><b/></a>");
    const CXmlElement* a = document.GetDocumentElement();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetLocalName(), L"a");
    EXPECT_EQ(a->GetNamespaceURI(), L"urn:x");
    const CXmlElement* b = a->GetFirstElement();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetLocalName(), L"b");
    EXPECT_EQ(b->GetNamespaceURI(), L"urn:x");
    EXPECT_EQ(b->GetNextSiblingElement(), nullptr);
    EXPECT_EQ(document.LookupNamespaceFromAlias(L""), L"urn:x");
    EXPECT_TRUE(a->GetAttributes().empty()) << "xmlns is a declaration, not an attribute";
}

TEST(ExpatReader, UnprefixedAttributeIsInNoNamespaceEvenUnderADefaultNamespace) {
    CXmlDocument document;
    document.LoadXml("<a xmlns=\"urn:x\" xmlns:p=\"urn:p\" id=\"1\" p:id=\"2\"/>");
    const CXmlElement* a = document.GetDocumentElement();
    ASSERT_EQ(a->GetAttributes().size(), 2u);
    EXPECT_EQ(a->GetAttributes()[0]->GetNamespaceURI(), L"");
    EXPECT_EQ(a->GetAttributes()[1]->GetNamespaceURI(), L"urn:p");
    EXPECT_EQ(a->GetAttribute(L"id", L""), L"1");
    EXPECT_EQ(a->GetAttribute(L"id", L"urn:p"), L"2");
    EXPECT_EQ(a->GetAttribute(L"id", L"urn:x"), L"");
}

TEST(ExpatReader, AliasMapIsDocumentWideAndTheLastDeclarationWins) {
    CXmlDocument document;
    document.LoadXml("<p:a xmlns:p=\"urn:1\"><p:b xmlns:p=\"urn:2\"/><p:c/></p:a>");
    const CXmlElement* a = document.GetDocumentElement();
    EXPECT_EQ(a->GetNamespaceURI(), L"urn:1");
    EXPECT_EQ(a->GetFirstElement()->GetNamespaceURI(), L"urn:2");
    EXPECT_EQ(a->GetFirstElement()->GetNextSiblingElement()->GetNamespaceURI(), L"urn:1")
        << "element names follow the scoped declarations";
    EXPECT_EQ(document.LookupNamespaceFromAlias(L"p"), L"urn:2") << "nothing is undone at </p:b>";
    EXPECT_EQ(document.LookupNamespaceFromAlias(L"q"), L"");
    EXPECT_EQ(document.LookupNamespaceFromAlias(nullptr), L"");
}

TEST(ExpatReader, UndeclaringTheDefaultNamespaceStoresAnEmptyUri) {
    CXmlDocument document;
    document.LoadXml("<a xmlns=\"urn:x\"><b xmlns=\"\"/></a>");
    EXPECT_EQ(document.GetDocumentElement()->GetFirstElement()->GetNamespaceURI(), L"");
    EXPECT_EQ(document.LookupNamespaceFromAlias(L""), L"");
}

TEST(ExpatReader, WithoutNamespaceProcessingNamesKeepPrefixesAndDeclarationsAreAttributes) {
    const CXmlSerializationContext context = NoNamespaces();
    CXmlDocument document(context);
    document.LoadXml("<p:a xmlns:p=\"urn:p\" p:x=\"1\"><p:b/></p:a>");
    const CXmlElement* a = document.GetDocumentElement();
    EXPECT_EQ(a->GetLocalName(), L"p:a");
    EXPECT_EQ(a->GetNamespaceURI(), L"");
    ASSERT_EQ(a->GetAttributes().size(), 2u);
    EXPECT_EQ(a->GetAttribute(L"xmlns:p", L""), L"urn:p");
    EXPECT_EQ(a->GetAttribute(L"p:x", L""), L"1");
    EXPECT_EQ(a->GetFirstElement()->GetLocalName(), L"p:b");
    EXPECT_EQ(document.LookupNamespaceFromAlias(L"p"), L"") << "no declarations are reported";
}

TEST(ExpatReader, WithoutNamespaceProcessingAnUndeclaredPrefixIsNoError) {
    const CXmlSerializationContext context = NoNamespaces();
    CXmlDocument document(context);
    document.LoadXml("<q:a/>");
    EXPECT_EQ(document.GetDocumentElement()->GetLocalName(), L"q:a");
    CXmlDocument namespaced;
    EXPECT_EQ(MessageOf([&] { namespaced.LoadXml("<q:a/>"); }), L"unbound prefix at line 1");
}

TEST(ExpatReader, CdataIsPlainTextWhenStrippedAndMarkedWhenKept) {
    const char* xml = "<a>x<![CDATA[<b>&amp;</b>]]>y</a>";
    CXmlDocument stripping;
    stripping.LoadXml(xml);
    EXPECT_EQ(stripping.GetDocumentElement()->GetText(), L"x<b>&amp;</b>y");

    const CXmlSerializationContext context = KeepCdata();
    CXmlDocument keeping(context);
    keeping.LoadXml(xml);
    EXPECT_EQ(keeping.GetDocumentElement()->GetText(), L"x<![CDATA[<b>&amp;</b>]]>y");
}

TEST(ExpatReader, EmptyCdataSectionKeepsItsMarkers) {
    const CXmlSerializationContext context = KeepCdata();
    CXmlDocument document(context);
    document.LoadXml("<a><![CDATA[]]></a>");
    EXPECT_EQ(document.GetDocumentElement()->GetText(), L"<![CDATA[]]>");
}

TEST(ExpatReader, TextAroundChildElementsIsConcatenated) {
    CXmlDocument document;
    document.LoadXml("<a>one<b>inner</b>two<!-- c --><?pi x?>three</a>");
    EXPECT_EQ(document.GetDocumentElement()->GetText(), L"onetwothree");
    EXPECT_EQ(document.GetDocumentElement()->GetFirstElement()->GetText(), L"inner");
}

TEST(ExpatReader, CarriageReturnsAreDroppedFromTextButNotFromAttributes) {
    CXmlDocument document;
    document.LoadXml("<a v=\"1&#13;2\">l1\r\nl2\rl3&#13;&#13;end<![CDATA[c\r\nd]]></a>");
    const CXmlElement* a = document.GetDocumentElement();
    EXPECT_EQ(a->GetText(), L"l1\nl2\nl3endc\nd");
    EXPECT_EQ(a->GetAttribute(L"v", L""), L"1\r2") << "attribute values are not filtered";
}

TEST(ExpatReader, LongTextsOfSiblingsStayApart) {
    // Texts long enough to be handed to their element whole, next to short ones.
    std::string first, second;
    for (int i = 0; i < 40000; ++i) first += (i % 50 == 0) ? "\r\n" : (i % 77 == 0 ? "&#13;" : "x");
    for (int i = 0; i < 30000; ++i) second += static_cast<char>('a' + i % 26);
    const std::string xml = "<r><t>" + first + "</t><t>" + second + "</t><t>s</t><t>" + first + "</t></r>";
    CXmlDocument document;
    document.LoadXml(xml.c_str());
    std::wstring expectedFirst;
    for (int i = 0; i < 40000; ++i)
        if (i % 50 == 0) expectedFirst += L'\n'; else if (i % 77 != 0) expectedFirst += L'x';
    const CXmlElement* t = document.GetDocumentElement()->GetFirstElement();
    EXPECT_EQ(t->GetText(), expectedFirst);
    t = t->GetNextSiblingElement();
    EXPECT_EQ(t->GetText(), FromUtf8(second));
    t = t->GetNextSiblingElement();
    EXPECT_EQ(t->GetText(), L"s");
    EXPECT_EQ(t->GetNextSiblingElement()->GetText(), expectedFirst);
}

TEST(ExpatReader, EntitiesAndNonBmpCharactersArriveAsCodePoints) {
    CXmlDocument document;
    document.LoadXml("<!DOCTYPE a [<!ENTITY e \"&#x1F600;!\">]>"
                     "<a t=\"&#x1F601;\">&e;\xF0\x9F\x98\x82&lt;\xC3\xA9</a>");
    const CXmlElement* a = document.GetDocumentElement();
    EXPECT_EQ(a->GetText(), std::wstring(L"\U0001F600!\U0001F602<\u00E9"));
    EXPECT_EQ(a->GetAttribute(L"t", L""), std::wstring(L"\U0001F601"));
}

TEST(ExpatReader, EncodingComesFromTheDeclaration) {
    CXmlDocument document;
    document.LoadXml("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>");
    EXPECT_EQ(document.GetDocumentElement()->GetText(), L"\u00E9");
}

// Parse errors: expat's message and line, compared with what python's expat says about the
// same bytes (one python run for the whole table).
TEST(ExpatReader, ParseErrorMessagesAreExpatsTextAndLine) {
    const std::vector<std::pair<std::string, std::string>> inputs = {
        {"empty", ""},
        {"whitespace_only", "\n\n  \n"},
        {"mismatched", "<a>\n<b>\n</a>"},
        {"unclosed", "<a>\n<b/>\n"},
        {"junk_after", "<a/>\n<b/>"},
        {"bad_token", "<a>\n\n<1/></a>"},
        {"duplicate_attribute", "<a x='1'\n x='2'/>"},
        {"undefined_entity", "<a>\n&nope;</a>"},
        {"unbound_prefix", "<a>\n<q:b/></a>"},
        {"invalid_utf8", "<a>\n\xC3\x28</a>"},
        {"nul_reference", "<a>&#0;</a>"},
        {"surrogate_reference", "<a>\n\n&#xD800;</a>"},
        {"crlf_lines", "<a>\r\n\r\n\r\n</b>"},
    };
    std::string paths;
    for (const auto& input : inputs) {
        const std::string path = TempPath("broken-" + input.first + ".xml");
        WriteFile(path, input.second);
        paths += " '" + path + "'";
    }
    const std::string oracle = RunOracle("errors" + paths);
    size_t at = 0;
    for (const auto& input : inputs) {
        const size_t end = oracle.find('\n', at);
        ASSERT_NE(end, std::string::npos);
        std::string expected = oracle.substr(at, end - at);
        at = end + 1;
        ASSERT_EQ(expected.compare(0, 6, "ERROR "), 0) << input.first << ": " << expected;
        expected.erase(0, 6);

        std::vector<unsigned char> bytes(input.second.begin(), input.second.end());
        CXmlDocument document;
        const std::wstring message =
            bytes.empty() ? MessageOf([&] { document.Load(FromUtf8(TempPath("broken-empty.xml")).c_str()); })
                          : MessageOf([&] {
                                document.LoadXmlStream(bytes.data(), static_cast<uint32_t>(bytes.size()));
                            });
        EXPECT_EQ(ToUtf8(message), expected) << input.first;
    }
}

TEST(ExpatReader, EmptyInputFailsWithNoElementFoundAtLineOne) {
    const std::string path = TempPath("empty.xml");
    WriteFile(path, "");
    CXmlDocument document;
    EXPECT_EQ(MessageOf([&] { document.Load(FromUtf8(path).c_str()); }), L"no element found at line 1");
}

TEST(ExpatReader, ErrorKeepsThePartialTreeUntilTheNextLoad) {
    CXmlDocument document;
    EXPECT_EQ(MessageOf([&] { document.LoadXml("<a>text<b>inner</b><c>open"); }),
              L"no element found at line 1");
    const CXmlElement* a = document.GetDocumentElement();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetText(), L"text") << "text read so far is kept";
    ASSERT_NE(a->GetFirstElement(), nullptr);
    EXPECT_EQ(a->GetFirstElement()->GetText(), L"inner");
    EXPECT_EQ(a->GetFirstElement()->GetNextSiblingElement()->GetText(), L"open");

    document.LoadXml("<z/>");
    EXPECT_EQ(document.GetDocumentElement()->GetLocalName(), L"z");
    EXPECT_EQ(document.GetDocumentElement()->GetFirstElement(), nullptr);
}

}  // namespace
}  // namespace xmlin_test

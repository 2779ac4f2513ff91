// The tree itself: attribute lookup and classification, attribute copies, and the element
// filter that lets a caller drop completed elements.
#include "xmlin/XmlinTestSupport.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/InstanceMonitor.h>
#include <qxxml/support/QxException.h>
#include <qxxml/xmlin/XmlAttribute.h>
#include <qxxml/xmlin/XmlDocument.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace xmlin_test {
namespace {

const wchar_t kXsi[] = L"http://www.w3.org/2001/XMLSchema-instance";
const wchar_t kXmlns[] = L"http://www.w3.org/2000/xmlns/";

// xsi:type, xsi:schemaLocation, ... are bookkeeping (in either namespace), xsi:nil is nil;
// the name's case and the namespace count. Parsed attributes are classified alike.
TEST(XmlAttribute, SchemaBookkeepingAndNilAttributesAreRecognised) {
    for (const wchar_t* uri : {kXsi, kXmlns, L"", L"urn:other"}) {
        const bool schema = uri != std::wstring() && uri != std::wstring(L"urn:other");
        for (const wchar_t* name : {L"xmlns", L"type", L"schemaLocation", L"noNamespaceSchemaLocation", L"Type", L"nil"}) {
            const CXmlAttribute attribute(name, L"true", uri);
            const bool nil = name == std::wstring(L"nil"), typeCase = name == std::wstring(L"Type");
            EXPECT_EQ(attribute.IsNamespaceAttribute(), schema && !nil && !typeCase) << Narrow(uri) << Narrow(name);
            EXPECT_EQ(attribute.IsNilAttribute(), schema && nil) << Narrow(uri) << Narrow(name);
        }
    }
    CXmlDocument document;
    document.LoadXml("<a xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' "
                     "xsi:type='t' xsi:nil='true' xsi:schemaLocation='u l' type='data'/>");
    const CXmlAttributeList& attributes = document.GetDocumentElement()->GetAttributes();
    ASSERT_EQ(attributes.size(), 4u);
    EXPECT_TRUE(attributes[0]->IsNamespaceAttribute());
    EXPECT_TRUE(attributes[1]->IsNilAttribute());
    EXPECT_TRUE(attributes[2]->IsNamespaceAttribute());
    EXPECT_FALSE(attributes[3]->IsNamespaceAttribute()) << "unprefixed: no namespace";
    EXPECT_EQ(document.GetDocumentElement()->GetDocument(), &document);
}

TEST(XmlAttribute, CopyOfAParsedAttributeOutlivesItsDocument) {
    std::unique_ptr<CXmlAttribute> copy;
    CXmlAttribute assigned(L"x", L"y", L"z");
    {
        CXmlDocument document;
        document.LoadXml("<a xmlns:p='urn:p' p:name='value'/>");
        const CXmlAttribute& parsed = *document.GetDocumentElement()->GetAttributes()[0];
        copy = std::make_unique<CXmlAttribute>(parsed);
        assigned = parsed;
    }
    for (const CXmlAttribute* attribute : {copy.get(), &assigned}) {
        EXPECT_EQ(attribute->GetLocalName(), L"name");
        EXPECT_EQ(attribute->GetNamespaceURI(), L"urn:p");
        EXPECT_EQ(attribute->GetValue(), L"value");
    }
    assigned = assigned;
    EXPECT_EQ(assigned.GetLocalName(), L"name");
}

TEST(XmlElement, MissingAttributeAndEmptyAttributeBothGiveAnEmptyString) {
    CXmlDocument document;
    document.LoadXml("<a empty='' full='x' full2='y'/>");
    const CXmlElement* a = document.GetDocumentElement();
    EXPECT_EQ(a->GetAttribute(L"empty", L""), L"");
    EXPECT_EQ(a->GetAttribute(L"missing", L""), L"");
    EXPECT_EQ(a->GetAttribute(L"full", L"urn:x"), L"") << "the name matches, the namespace does not";
    EXPECT_EQ(a->GetAttribute(L"full2", nullptr), L"y");
    EXPECT_EQ(a->GetAttribute(std::wstring(L"full"), std::wstring()), L"x");
    EXPECT_EQ(&a->GetAttribute(L"missing", L""), &a->GetAttribute(L"other", L"urn:x"));
}

// --- element filter. A filter is a plain function, so the tests record through globals.
std::vector<std::wstring> g_seen;

// Takes the items, and the document element, which stays all the same.
bool DropItems(CXmlElement* element) {
    g_seen.push_back(element->GetLocalName() + L"=" + element->GetText());
    return element->GetLocalName() == L"item" || element->GetLocalName() == L"r";
}

bool DropOddNumbers(CXmlElement* element) {
    const std::wstring& n = element->GetAttribute(L"n", L"");
    return !n.empty() && (n.back() - L'0') % 2 == 1;
}

bool Throw(CXmlElement* element) {
    if (element->GetLocalName() == L"bad") throw CQxException(L"filter refused " + element->GetText());
    return false;
}

std::wstring ChildNames(const CXmlElement* parent) {
    std::wstring names;
    for (const CXmlElement* child = parent->GetFirstElement(); child; child = child->GetNextSiblingElement())
        names += child->GetLocalName() + child->GetAttribute(L"n", L"") + L" ";
    return names;
}

TEST(ElementFilter, SeesEachCompletedElementAndDropsTheOnesItTakesButTheDocumentElement) {
    g_seen.clear();
    CXmlSerializationContext context;
    CXmlDocument document(&DropItems, context);
    document.LoadXml("<r><head>h</head><item><q>1</q></item><item>2</item><tail/></r>");
    const std::vector<std::wstring> expected = {L"head=h", L"q=1", L"item=", L"item=2", L"tail=", L"r="};
    EXPECT_EQ(g_seen, expected);
    ASSERT_NE(document.GetDocumentElement(), nullptr);
    EXPECT_EQ(ChildNames(document.GetDocumentElement()), L"head tail ");
}

// The texts of dropped elements are given back while later ones are stored: texts of every
// size around the storage's block sizes show that the kept ones are never overwritten.
TEST(ElementFilter, DroppingSomeSiblingsKeepsTheChainAndTheKeptTextsIntact) {
    const auto text = [](int i) { return std::string(static_cast<size_t>(i * i * 700), static_cast<char>('a' + i)); };
    std::string xml = "<r>";
    for (int i = 0; i < 10; ++i) {
        const std::string n = std::to_string(i);
        xml += "<e n='" + n + "' v='" + text(i) + "'>" + text(i) + "<x n='" + n + "'/>" + n + "</e>";
    }
    xml += "</r>";
    CXmlDocument document(&DropOddNumbers);
    document.LoadXml(xml.c_str());
    const CXmlElement* r = document.GetDocumentElement();
    EXPECT_EQ(ChildNames(r), L"e0 e2 e4 e6 e8 ");
    for (const CXmlElement* e = r->GetFirstElement(); e; e = e->GetNextSiblingElement()) {
        const std::wstring& n = e->GetAttribute(L"n", L"");
        EXPECT_EQ(ChildNames(e), L"x" + n + L" ");
        const std::wstring expected = FromUtf8(text(n[0] - L'0')) + n;
        EXPECT_EQ(e->GetText(), expected);
        EXPECT_EQ(e->GetTextView(), expected);
        EXPECT_EQ(e->GetAttribute(L"v", L"") + n, expected);
    }
}

// --- instance counts. The document counts its nodes in bulk; whoever can look (a filter, the
// caller after a load, failed or not, and after the document is gone) sees every node counted.
using LiveNodes = std::pair<int32_t, int32_t>;  // elements, attributes

LiveNodes CountLiveNodes() {
    return {CInstanceMonitor::Resolve(L"CXmlElement")->lInstanceCount.load(),
            CInstanceMonitor::Resolve(L"CXmlAttribute")->lInstanceCount.load()};
}

std::vector<LiveNodes> g_liveInFilter;

bool CountThenDropOddNumbers(CXmlElement* element) {
    g_liveInFilter.push_back(CountLiveNodes());
    return DropOddNumbers(element);
}

TEST(ElementFilter, InstanceCountsOfTheTreeAreRightWheneverTheyCanBeRead) {
    const LiveNodes before = CountLiveNodes();
    const auto made = [] { return CInstanceMonitor::Resolve(L"CXmlElement")->lTotalCount.load(); };
    const int32_t madeBefore = made();
    g_liveInFilter.clear();
    {
        CXmlDocument document(&CountThenDropOddNumbers);
        document.LoadXml("<r><e n='0'/><e n='1'/><e n='2'/><e n='3'/></r>");
        // At the end of the k-th e: r and k of them made, the odd ones before it dropped.
        std::vector<LiveNodes> expected;
        for (int32_t k = 1; k <= 4; ++k)
            expected.push_back({before.first + 1 + k - (k - 1) / 2, before.second + k - (k - 1) / 2});
        expected.push_back({before.first + 3, before.second + 2});  // r's own end
        EXPECT_EQ(g_liveInFilter, expected);
        EXPECT_EQ(CountLiveNodes(), LiveNodes(before.first + 3, before.second + 2));
        EXPECT_EQ(made(), madeBefore + 5);

        CXmlDocument partial;  // keeps what it read before the error
        EXPECT_EQ(MessageOf([&] { partial.LoadXml("<r><a x='1'/><b>"); }), L"no element found at line 1");
        EXPECT_EQ(CountLiveNodes(), LiveNodes(before.first + 6, before.second + 3));
    }
    EXPECT_EQ(CountLiveNodes(), before);
}

TEST(ElementFilter, FilterExceptionStopsTheLoadAndPassesThrough) {
    CXmlDocument document(&Throw);
    EXPECT_EQ(MessageOf([&] { document.LoadXml("<r><ok/><bad>why</bad><never/></r>"); }), L"filter refused why");
    EXPECT_EQ(ChildNames(document.GetDocumentElement()), L"ok bad ") << "partial tree up to the failure";
}

CXmlDocument* g_reloadTarget = nullptr;

bool ReloadFromTheFilter(CXmlElement*) {
    g_reloadTarget->LoadXml("<other/>");
    return false;
}

TEST(ElementFilter, LoadingTheSameDocumentFromItsFilterIsRefused) {
    CXmlDocument document(&ReloadFromTheFilter);
    g_reloadTarget = &document;
    EXPECT_EQ(MessageOf<CQxInvalidStateException>([&] { document.LoadXml("<r><a/></r>"); }),
              L"The document is already being loaded");
    ASSERT_NE(document.GetDocumentElement(), nullptr);
    EXPECT_EQ(document.GetDocumentElement()->GetLocalName(), L"r") << "the tree being built is intact";
}

}  // namespace
}  // namespace xmlin_test

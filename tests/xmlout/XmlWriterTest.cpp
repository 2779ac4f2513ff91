#include <qxxml/support/QxException.h>
#include <qxxml/xmlout/XmlWriter.h>

#include <gtest/gtest.h>

using namespace QxXmlLib10;

using Map = CXmlWriter::NamespaceMap;
using Context = CXmlWriter::CXmlWriterContext;

// AA, AB, ... ZZ, then aA ... zZ, skipping taken prefixes (exactly, case-sensitively); then none.
TEST(XmlWriterNewPrefix, CountsThroughTwoLettersSkippingTakenOnesAndThenRefuses) {
    EXPECT_EQ(L"AA", CXmlWriter::NewPrefix(Map{{L"http://www.w3.org/XML/1998/namespace", L"xml"}}));
    EXPECT_EQ(L"AC", CXmlWriter::NewPrefix(Map{{L"urn:1", L"AA"}, {L"urn:2", L"AB"}, {L"urn:3", L"AAA"}}));
    EXPECT_EQ(L"AA", CXmlWriter::NewPrefix(Map{{L"urn:1", L"aa"}, {L"urn:2", L"BA"}}));
    Map all;
    int n = 0;
    for (wchar_t second = L'A'; second <= L'Z'; ++second) all[L"urn:" + std::to_wstring(n++)] = {L'A', second};
    EXPECT_EQ(L"BA", CXmlWriter::NewPrefix(all));
    for (wchar_t first = L'B'; first <= L'Z'; ++first)
        for (wchar_t second = L'A'; second <= L'Z'; ++second) all[L"urn:" + std::to_wstring(n++)] = {first, second};
    EXPECT_EQ(L"aA", CXmlWriter::NewPrefix(all));
    for (wchar_t first = L'a'; first <= L'z'; ++first)
        for (wchar_t second = L'A'; second <= L'Z'; ++second) all[L"urn:" + std::to_wstring(n++)] = {first, second};
    EXPECT_THROW(CXmlWriter::NewPrefix(all), CQxException);
}

TEST(XmlWriterContext, ChildScopesShareUntilTheyDeclareAndThenKeepTheirOwn) {
    Context* root = new Context(L"root", L"urn:d", Map{{L"urn:x", L"x"}}, L"urn:d");
    Context* child = new Context(L"child", L"", root);
    EXPECT_EQ(1u, child->GetDepth());
    EXPECT_EQ(&root->GetNamespaceMap(), &child->GetNamespaceMap());

    child->SetNamespaceMapValue(L"urn:y", L"AA");
    EXPECT_FALSE(child->IsInherited());
    EXPECT_EQ(L"urn:d", child->GetDefaultNamespace());  // taken over with the map
    EXPECT_EQ(L"x", child->GetNamespaceMapValue(L"urn:x"));
    EXPECT_EQ(L"", root->GetNamespaceMapValue(L"urn:y"));
    EXPECT_EQ(1u, root->GetNamespaceMap().size());  // looking up an absent URI adds nothing

    Context* grandchild = new Context(L"g", L"", child);
    grandchild->SetDefaultNamespace(L"urn:other");
    EXPECT_EQ(L"AA", grandchild->GetNamespaceMapValue(L"urn:y"));
    EXPECT_EQ(L"urn:d", child->GetDefaultNamespace());

    // A detached parent survives its child; the innermost context owns the rest of the chain.
    EXPECT_EQ(child, grandchild->GetParent());
    EXPECT_EQ(child, grandchild->DetachParent());
    delete grandchild;
    EXPECT_EQ(L"child", child->GetLocalName());
    delete child;
}

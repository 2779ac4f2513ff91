#include <qxxml/support/QxException.h>
#include <qxxml/xmlout/XmlWriter.h>

#include <gtest/gtest.h>

using namespace QxXmlLib10;

using Map = CXmlWriter::NamespaceMap;
using Context = CXmlWriter::CXmlWriterContext;

TEST(XmlWriterNewPrefix, CountsThroughTwoCapitalLettersSkippingTakenOnes) {
    EXPECT_EQ(L"AA", CXmlWriter::NewPrefix(Map{}));
    EXPECT_EQ(L"AA", CXmlWriter::NewPrefix(Map{{L"http://www.w3.org/XML/1998/namespace", L"xml"}}));
    EXPECT_EQ(L"AC", CXmlWriter::NewPrefix(Map{{L"urn:1", L"AA"}, {L"urn:2", L"AB"}, {L"urn:3", L"AAA"}}));
    EXPECT_EQ(L"AA", CXmlWriter::NewPrefix(Map{{L"urn:1", L"aa"}, {L"urn:2", L"BA"}}));  // exact, case-sensitive

    Map firstRow;
    for (wchar_t second = L'A'; second <= L'Z'; ++second) firstRow[std::wstring(L"urn:") + second] = {L'A', second};
    EXPECT_EQ(L"BA", CXmlWriter::NewPrefix(firstRow));
}

TEST(XmlWriterNewPrefix, GoesOnWithLowerCaseAfterZZAndThenRefuses) {
    Map all;
    int n = 0;
    for (wchar_t first = L'A'; first <= L'Z'; ++first)
        for (wchar_t second = L'A'; second <= L'Z'; ++second) all[L"urn:" + std::to_wstring(n++)] = {first, second};
    EXPECT_EQ(L"aA", CXmlWriter::NewPrefix(all));
    for (wchar_t first = L'a'; first <= L'z'; ++first)
        for (wchar_t second = L'A'; second <= L'Z'; ++second) all[L"urn:" + std::to_wstring(n++)] = {first, second};
    EXPECT_THROW(CXmlWriter::NewPrefix(all), CQxException);
}

TEST(XmlWriterContext, ChildScopesShareUntilTheyDeclareAndThenKeepTheirOwn) {
    const Map announced{{L"urn:x", L"x"}};
    Context* root = new Context(L"root", L"urn:d", announced, L"urn:d");
    EXPECT_FALSE(root->IsInherited());
    EXPECT_EQ(0u, root->GetDepth());

    Context* child = new Context(L"child", L"", root);
    EXPECT_TRUE(child->IsInherited());
    EXPECT_EQ(1u, child->GetDepth());
    EXPECT_EQ(&root->GetNamespaceMap(), &child->GetNamespaceMap());
    EXPECT_EQ(L"urn:d", child->GetDefaultNamespace());

    child->SetNamespaceMapValue(L"urn:y", L"AA");
    EXPECT_FALSE(child->IsInherited());
    EXPECT_EQ(L"urn:d", child->GetDefaultNamespace());  // taken over with the map
    EXPECT_EQ(L"AA", child->GetNamespaceMapValue(L"urn:y"));
    EXPECT_EQ(L"x", child->GetNamespaceMapValue(L"urn:x"));
    EXPECT_EQ(L"", root->GetNamespaceMapValue(L"urn:y"));
    EXPECT_EQ(1u, root->GetNamespaceMap().size());  // looking up an absent URI adds nothing

    Context* grandchild = new Context(L"g", L"", child);
    EXPECT_EQ(L"AA", grandchild->GetNamespaceMapValue(L"urn:y"));
    grandchild->SetDefaultNamespace(L"urn:other");
    EXPECT_EQ(L"urn:other", grandchild->GetDefaultNamespace());
    EXPECT_EQ(L"AA", grandchild->GetNamespaceMapValue(L"urn:y"));
    EXPECT_EQ(L"urn:d", child->GetDefaultNamespace());

    // The innermost context owns the chain: deleting it releases all three.
    EXPECT_EQ(child, grandchild->GetParent());
    delete grandchild;
}

TEST(XmlWriterContext, DetachedParentSurvivesTheChild) {
    Context* root = new Context(L"root", L"", Map{}, L"");
    Context* child = new Context(L"child", L"", root);
    EXPECT_EQ(root, child->DetachParent());
    EXPECT_EQ(nullptr, child->GetParent());
    delete child;
    EXPECT_EQ(L"root", root->GetLocalName());
    delete root;
}

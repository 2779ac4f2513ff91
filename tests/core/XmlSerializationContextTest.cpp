// The serialization context and its namespace aliases.
#include <qxxml/core/NamespaceAliasMap.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>

#include "common/Messages.h"

#include <gtest/gtest.h>

using namespace QxXmlLib10;
using qxxml_test::MessageOf;

TEST(XmlSerializationContext, UnknownAndMissingMandatoryCannotBothBeIgnored) {
    const std::wstring both =
        L"The parser can only ignore additional elements, or ignore the fact that some required ones are "
        L"missing, you can not ignore both\n";
    CXmlSerializationContext context;
    context.SetIgnoreMissingMandatoryElements(true);
    EXPECT_EQ(both + L"Set IgnoreMissingMandatoryElements to false before setting IgnoreUnknownElements to true",
              MessageOf<CQxInvalidStateException>([&] { context.SetIgnoreUnknownElements(true); }));
    EXPECT_FALSE(context.GetIgnoreUnknownElements());
    context.SetIgnoreUnknownElements(false);  // turning off always works
    context.SetIgnoreMissingMandatoryElements(false);
    context.SetIgnoreUnknownElements(true);
    EXPECT_EQ(both + L"Set IgnoreUnknownElements to false before setting IgnoreMissingMandatoryElements to true",
              MessageOf<CQxInvalidStateException>([&] { context.SetIgnoreMissingMandatoryElements(true); }));
    EXPECT_FALSE(context.GetIgnoreMissingMandatoryElements());
    EXPECT_TRUE(context.GetIgnoreUnknownElements());
}

// Copies share the additional root attributes, made on first use, and copy the rest.
TEST(XmlSerializationContext, CopiesShareTheRootAttributesAndCopyTheRestByValue) {
    CXmlSerializationContext context;
    CSmartPtr<CAttributeCol> first = context.GetAdditionalRootAttributes();
    ASSERT_TRUE(first);
    EXPECT_EQ(L"##any", first->GetNamespaceRestriction());
    context.SetDefaultNamespaceURI(L"urn:a");
    CXmlSerializationContext copy(context), assigned;
    assigned = context;
    context.SetDefaultNamespaceURI(L"urn:b");
    for (const CXmlSerializationContext* c : {&copy, &assigned}) {
        EXPECT_EQ(first.Get(), c->GetAdditionalRootAttributes().Get());
        EXPECT_EQ(L"urn:a", c->GetDefaultNamespaceURI());
    }
}

namespace {

// The URIs in order, each with its alias.
std::wstring Listed(const CNamespaceAliasMap& map) {
    std::wstring text;
    for (int i = 0; i < map.GetNamespaceCount(); ++i)
        text += map.GetNamespaceAt(i) + L"=" + map.GetAliasFromNamespace(map.GetNamespaceAt(i).c_str()) + L" ";
    return text;
}

}  // namespace

TEST(NamespaceAliasMap, OrderReplacementRemovalAndLookups) {
    CNamespaceAliasMap map;
    map.Add(L"z", L"urn:z");
    map.Add(L"b", L"urn:b");
    map.Add(L"U", L"urn:B");  // upper case sorts before lower case
    map.Add(L"x", L"urn:z");  // replaces the alias of urn:z
    EXPECT_EQ(Listed(map), L"urn:B=U urn:b=b urn:z=x ");
    EXPECT_FALSE(map.DoesAliasExist(L"z"));
    map.RemoveNamespace(L"urn:b");
    map.RemoveNamespace(L"urn:missing");
    EXPECT_EQ(Listed(map), L"urn:B=U urn:z=x ");

    map.Add(L"p", L"urn:2");
    map.Add(L"p", L"urn:1");  // the same alias twice: the smaller URI is found first
    EXPECT_EQ(L"urn:1", map.GetNamespaceFromAlias(L"p"));
    EXPECT_TRUE(map.GetAliasFromNamespace(L"urn:none").empty());
    EXPECT_TRUE(map.DoesNamespaceExist(L"urn:2"));
    EXPECT_FALSE(map.DoesNamespaceExist(L"URN:2"));
    EXPECT_EQ(L"Namespace alias [q] not found", MessageOf([&] { map.GetNamespaceFromAlias(L"q"); }));
}

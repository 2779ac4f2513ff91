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

TEST(XmlSerializationContext, NoNamespacesSchemaTypeImpliesIgnoreNamespaces) {
    CXmlSerializationContext context;
    EXPECT_FALSE(context.GetIgnoreNamespaces());
    context.SetSchemaType(SchemaType_NoNamespaces);
    EXPECT_TRUE(context.GetIgnoreNamespaces());
    context.SetSchemaType(SchemaType_Alternate);
    EXPECT_FALSE(context.GetIgnoreNamespaces());
}

TEST(XmlSerializationContext, CopiesShareTheRootAttributesAndCopyTheRestByValue) {
    CXmlSerializationContext context;
    CSmartPtr<CAttributeCol> first = context.GetAdditionalRootAttributes();
    ASSERT_TRUE(first);
    EXPECT_EQ(first.Get(), context.GetAdditionalRootAttributes().Get());
    EXPECT_EQ(L"##any", first->GetNamespaceRestriction());
    context.SetDefaultNamespaceURI(L"urn:a");
    context.GetProcessingInstructions().push_back(L"<?pi x?>");
    context.GetNamespaceAliases().Add(L"a", L"urn:a");
    context.SetWriteTypeAttribute(false);

    CXmlSerializationContext copy(context);
    CXmlSerializationContext assigned;
    assigned = context;
    EXPECT_EQ(first.Get(), copy.GetAdditionalRootAttributes().Get());
    EXPECT_EQ(first.Get(), assigned.GetAdditionalRootAttributes().Get());
    context.GetProcessingInstructions().clear();
    context.GetNamespaceAliases().RemoveNamespace(L"urn:a");
    context.SetDefaultNamespaceURI(nullptr);
    EXPECT_TRUE(context.GetDefaultNamespaceURI().empty());
    for (const CXmlSerializationContext* c : {&copy, &assigned}) {
        EXPECT_EQ(L"urn:a", c->GetDefaultNamespaceURI());
        EXPECT_EQ(1u, c->GetProcessingInstructions().size());
        EXPECT_EQ(L"a", c->GetNamespaceAliases().GetAliasFromNamespace(L"urn:a"));
        EXPECT_FALSE(c->GetWriteTypeAttribute());
    }
}

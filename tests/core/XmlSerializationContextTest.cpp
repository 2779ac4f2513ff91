#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>

#include <gtest/gtest.h>

using namespace QxXmlLib10;

namespace {

const std::wstring kBothFlags =
    L"The parser can only ignore additional elements, or ignore the fact that some required ones are "
    L"missing, you can not ignore both\n";

template <class F>
std::wstring InvalidStateMessage(F call) {
    try {
        call();
    } catch (const CQxInvalidStateException& e) {
        return e.GetMessageW();
    }
    return L"<no exception>";
}

}  // namespace

TEST(XmlSerializationContext, NewContextHasTheDocumentedDefaults) {
    const CXmlSerializationContext context;
    EXPECT_TRUE(context.GetWriteTypeAttribute());
    EXPECT_TRUE(context.GetStripCDATA());
    EXPECT_FALSE(context.GetIgnoreInvalidCollectionCounts());
    EXPECT_FALSE(context.GetIgnoreMissingChoice());
    EXPECT_FALSE(context.GetIgnoreMissingMandatoryElements());
    EXPECT_FALSE(context.GetIgnoreUnknownElements());
    EXPECT_FALSE(context.GetIgnoreUnknownAttributes());
    EXPECT_FALSE(context.GetIgnoreNamespaces());
    EXPECT_FALSE(context.GetNoOptionalAttributeDefaultOutput());
    EXPECT_EQ(SchemaType_Default, context.GetSchemaType());
    EXPECT_TRUE(context.GetDefaultNamespaceURI().empty());
    EXPECT_TRUE(context.GetInLineSchema().empty());
    EXPECT_TRUE(context.GetProcessingInstructions().empty());
    EXPECT_EQ(0, context.GetNamespaceAliases().GetNamespaceCount());
}

TEST(XmlSerializationContext, UnknownElementsRefusedWhileMissingMandatoryIgnored) {
    CXmlSerializationContext context;
    context.SetIgnoreMissingMandatoryElements(true);
    EXPECT_EQ(kBothFlags + L"Set IgnoreMissingMandatoryElements to false before setting IgnoreUnknownElements to true",
              InvalidStateMessage([&] { context.SetIgnoreUnknownElements(true); }));
    EXPECT_FALSE(context.GetIgnoreUnknownElements());
    context.SetIgnoreUnknownElements(false);  // turning off always works
    context.SetIgnoreMissingMandatoryElements(false);
    context.SetIgnoreUnknownElements(true);
    EXPECT_TRUE(context.GetIgnoreUnknownElements());
}

TEST(XmlSerializationContext, MissingMandatoryRefusedWhileUnknownIgnored) {
    CXmlSerializationContext context;
    context.SetIgnoreUnknownElements(true);
    EXPECT_EQ(kBothFlags + L"Set IgnoreUnknownElements to false before setting IgnoreMissingMandatoryElements to true",
              InvalidStateMessage([&] { context.SetIgnoreMissingMandatoryElements(true); }));
    EXPECT_FALSE(context.GetIgnoreMissingMandatoryElements());
    EXPECT_TRUE(context.GetIgnoreUnknownElements());
}

TEST(XmlSerializationContext, NoNamespacesSchemaTypeImpliesIgnoreNamespaces) {
    CXmlSerializationContext context;
    context.SetSchemaType(SchemaType_NoNamespaces);
    EXPECT_TRUE(context.GetIgnoreNamespaces());
    context.SetSchemaType(SchemaType_Alternate);
    EXPECT_FALSE(context.GetIgnoreNamespaces());
    context.SetSchemaType(SchemaType_Default);
    EXPECT_FALSE(context.GetIgnoreNamespaces());
    context.SetIgnoreNamespaces(true);
    EXPECT_TRUE(context.GetIgnoreNamespaces());
}

TEST(XmlSerializationContext, AdditionalRootAttributesCreatedOnceAndSharedByCopies) {
    CXmlSerializationContext context;
    CSmartPtr<CAttributeCol> first = context.GetAdditionalRootAttributes();
    ASSERT_TRUE(first);
    EXPECT_EQ(first.Get(), context.GetAdditionalRootAttributes().Get());
    EXPECT_EQ(L"##any", first->GetNamespaceRestriction());
    EXPECT_TRUE(first->GetNamespace().empty());

    CXmlSerializationContext copy(context);
    EXPECT_EQ(first.Get(), copy.GetAdditionalRootAttributes().Get());
    CXmlSerializationContext assigned;
    assigned = context;
    EXPECT_EQ(first.Get(), assigned.GetAdditionalRootAttributes().Get());

    const CXmlSerializationContext& readOnly = CXmlSerializationContext();
    EXPECT_TRUE(readOnly.GetAdditionalRootAttributes());
}

TEST(XmlSerializationContext, CopiesOtherSettingsByValue) {
    CXmlSerializationContext context;
    context.SetDefaultNamespaceURI(L"urn:a");
    context.SetInLineSchema(L"<xs:schema/>");
    context.GetProcessingInstructions().push_back(L"<?pi x?>");
    context.GetNamespaceAliases().Add(L"a", L"urn:a");
    context.SetWriteTypeAttribute(false);
    context.SetStripCDATA(false);

    CXmlSerializationContext copy(context);
    context.GetProcessingInstructions().clear();
    context.GetNamespaceAliases().RemoveNamespace(L"urn:a");
    context.SetDefaultNamespaceURI(nullptr);

    EXPECT_EQ(L"urn:a", copy.GetDefaultNamespaceURI());
    EXPECT_EQ(L"<xs:schema/>", copy.GetInLineSchema());
    ASSERT_EQ(1u, copy.GetProcessingInstructions().size());
    EXPECT_EQ(L"a", copy.GetNamespaceAliases().GetAliasFromNamespace(L"urn:a"));
    EXPECT_FALSE(copy.GetWriteTypeAttribute());
    EXPECT_FALSE(copy.GetStripCDATA());
    EXPECT_TRUE(context.GetDefaultNamespaceURI().empty());
}

TEST(XmlSerializationContext, DefaultContextIsOneModifiableInstance) {
    CXmlSerializationContext& a = CXmlSerializationContext::GetDefaultContext();
    CXmlSerializationContext& b = CXmlSerializationContext::GetDefaultContext();
    EXPECT_EQ(&a, &b);
    a.SetIgnoreUnknownAttributes(true);
    EXPECT_TRUE(b.GetIgnoreUnknownAttributes());
    a.SetIgnoreUnknownAttributes(false);
}

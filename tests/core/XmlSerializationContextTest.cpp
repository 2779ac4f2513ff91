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

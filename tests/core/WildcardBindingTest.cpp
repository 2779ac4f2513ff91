// Wildcard content through the test binding (the Open document) when it is written: content
// outside a wildcard's namespace restriction is refused; reading from a CElement. (Reading
// wildcard content, its refusals and additional root attributes are rows of the round-trip
// and read tables.)
#include "core/BindingSupport.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>

#include "common/Messages.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace test_binding {
namespace {

// The smallest Open document: one element in each mandatory slot.
const wchar_t kOpen[] =
    L"<tb:Open xmlns:tb='urn:qxxml:test:binding' id='7'><tb:title>t</tb:title><o:x xmlns:o='urn:o'/><tb:payload/>"
    L"<tb:choice><tb:memo/></tb:choice><tb:all><tb:need/></tb:all></tb:Open>";

std::wstring Refusal(const std::wstring& ns, const std::wstring& restriction) {
    return L"Invalid namespace [" + ns + L"]. The namespace must be one of [" + restriction +
           L"] where the target namespace is [urn:qxxml:test:binding]";
}

// Content outside the restriction is refused when it is added, and when it was changed
// afterwards, when it is written.
TEST(WildcardBinding, WritingRefusesContentOutsideTheRestriction) {
    const std::wstring open = L"Failed to convert the element [Open] to XML\n";
    const auto written = [](const std::function<void(COpen&)>& change) {
        CSmartPtr<COpen> object(new COpen);
        object->FromXml(kOpen, CXmlSerializationContext());
        change(*object);
        return FullMessageOf([&] { WriteXml(*object, CXmlSerializationContext()); });
    };
    const auto refusedWhenAdded = [](const std::function<void()>& add) {
        return qxxml_test::MessageOf<CQxInvalidNamespaceException>(add);
    };
    EXPECT_EQ(written([](COpen& o) { o.GetAny()->SetNamespace(kNamespace); }),
              open + Refusal(kNamespace, L"##other"));
    EXPECT_EQ(written([](COpen& o) { o.GetPayload()->SetNamespace(L"urn:p"); }),
              open + Refusal(L"urn:p", L"##targetNamespace"));
    EXPECT_EQ(written([](COpen& o) { o.GetAny3()->Add(L"x", L"")->SetNamespace(L"urn:n"); }),
              open + Refusal(L"urn:n", L"##local"));
    EXPECT_EQ(written([](COpen& o) { o.GetAnyAttributes()->Add(L"a", L"1", L"urn:q")->SetNamespace(kNamespace); }),
              open + L"Failed to convert attributes to XML\n" + Refusal(kNamespace, L"##other"));
    CSmartPtr<COpen> object(new COpen);
    EXPECT_EQ(refusedWhenAdded([&] { object->GetChoice()->GetAny()->Add(L"x", L"urn:qxxml:test:b"); }),
              Refusal(L"urn:qxxml:test:b", L"urn:qxxml:test:a"));
    EXPECT_EQ(refusedWhenAdded([&] { object->GetAny3()->Add(L"x", L"urn:n"); }), Refusal(L"urn:n", L"##local"));
    EXPECT_EQ(refusedWhenAdded([&] { object->GetAnyAttributes()->Add(L"a", L"1", kNamespace); }),
              Refusal(kNamespace, L"##other"));
    EXPECT_EQ(refusedWhenAdded([&] { object->GetBlobs()->Add(new CElement(L"blob", L"urn:p")); }),
              Refusal(L"urn:p", L"##targetNamespace"));
    // An element added by name alone takes the namespace its wildcard allows, if it names one.
    EXPECT_EQ(object->GetBlobs()->Add(L"blob")->GetNamespace(), kNamespace);
    EXPECT_EQ(qxxml_test::MessageOf([&] { object->GetAny3()->Add(L"x"); }),
              L"A Namespace has not been set for this Collection");
    // Collections check their counts when written.
    CSmartPtr<CStrictChoice> strict(new CStrictChoice);
    for (const wchar_t* word : {L"1", L"2", L"3", L"4"}) strict->GetWords()->Add(word);
    EXPECT_EQ(FullMessageOf([&] { WriteXml(*strict, CXmlSerializationContext()); }),
              L"Failed to convert the element [StrictChoice] to XML\nThe Maximum number of [word] elements allowed in "
              L"this collection is 3");
}

// A generated class reads a wildcard element as it would read the element's text.
TEST(WildcardBinding, FromXmlElementReadsAWildcardElement) {
    CSmartPtr<CElement> element(new CElement(L"x"));
    element->FromXml(
        L"<tb:Item xmlns:tb='urn:qxxml:test:binding' code='k'><tb:label>l &amp; m</tb:label>"
        L"<tb:qty>3</tb:qty></tb:Item>");
    CSmartPtr<CItem> item(new CItem);
    item->FromXmlElement(element.Get(), CXmlSerializationContext());
    EXPECT_EQ(item->GetLabel(), L"l & m");
    EXPECT_EQ(item->GetQty(), 3);
    EXPECT_EQ(item->GetCode(), L"k");
}

}  // namespace
}  // namespace test_binding

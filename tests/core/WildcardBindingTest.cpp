// Wildcard content through the test binding (the Open document) when it is written: content
// changed to a namespace outside its wildcard's restriction is refused. (Reading wildcard
// content, its refusals and additional root attributes are rows of the round-trip and read
// tables; the refusals when content is added are rows of tests/collections/wildcards.tsv.)
#include "core/BindingSupport.h"

#include <qxxml/core/XmlSerializationContext.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

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

// Content whose namespace was changed after it was added is refused when it is written.
TEST(WildcardBinding, WritingRefusesContentOutsideTheRestriction) {
    const std::wstring open = L"Failed to convert the element [Open] to XML\n";
    const auto written = [](const std::function<void(COpen&)>& change) {
        CSmartPtr<COpen> object(new COpen);
        object->FromXml(kOpen, CXmlSerializationContext());
        change(*object);
        return FullMessageOf([&] { WriteXml(*object, CXmlSerializationContext()); });
    };
    EXPECT_EQ(written([](COpen& o) { o.GetAny()->SetNamespace(kNamespace); }),
              open + Refusal(kNamespace, L"##other"));
    EXPECT_EQ(written([](COpen& o) { o.GetPayload()->SetNamespace(L"urn:p"); }),
              open + Refusal(L"urn:p", L"##targetNamespace"));
    EXPECT_EQ(written([](COpen& o) { o.GetAny3()->Add(L"x", L"")->SetNamespace(L"urn:n"); }),
              open + Refusal(L"urn:n", L"##local"));
    EXPECT_EQ(written([](COpen& o) { o.GetAnyAttributes()->Add(L"a", L"1", L"urn:q")->SetNamespace(kNamespace); }),
              open + L"Failed to convert attributes to XML\n" + Refusal(kNamespace, L"##other"));
}

}  // namespace
}  // namespace test_binding

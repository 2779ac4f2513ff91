#include "core/BindingSupport.h"

#include <qxxml/core/XmlSerializationContext.h>

#include "common/TestSupport.h"

namespace test_binding {

const wchar_t* const kNamespace = L"urn:qxxml:test:binding";

const std::vector<CNaming> kNamings = {
    {"generated prefixes", [](CXmlSerializationContext&) {}},
    {"alias", [](CXmlSerializationContext& c) { c.GetNamespaceAliases().Add(L"tb", kNamespace); }},
    {"default namespace", [](CXmlSerializationContext& c) { c.SetDefaultNamespaceURI(kNamespace); }},
    {"xsi alias and default namespace",
     [](CXmlSerializationContext& c) {
         c.GetNamespaceAliases().Add(L"xsi", L"http://www.w3.org/2001/XMLSchema-instance");
         c.SetDefaultNamespaceURI(kNamespace);
     }},
};

// Built through the setters: they name the objects they are given after their members.
CSmartPtr<CRoot> MakeMinimalRoot() {
    CSmartPtr<CRoot> root(new CRoot);
    root->SetId(7);
    root->SetName(L"minimal");
    root->SetColour(Colour_red);
    root->GetItem()->SetLabel(L"only");
    CSmartPtr<CCircle> circle(new CCircle);
    circle->SetRadius(1);
    root->SetShape(circle.Get());
    root->GetAddress()->SetStreet(L"High Street");
    return root;
}

CSmartPtr<CRoot> MakeFullRoot() {
    CSmartPtr<CRoot> root(new CRoot);
    root->FromXml(qxxml_test::ReadFile(QXXML_SOURCE_DIR "/tests/core/data/full_root.xml").c_str(),
                  CXmlSerializationContext());
    return root;
}

std::wstring WriteXml(CXmlObjectBase& object, const CXmlSerializationContext& context, bool formatted) {
    return object.ToXml(false, formatted, EOLType_LF, context);
}

}  // namespace test_binding

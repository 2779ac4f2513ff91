#include "core/BindingSupport.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/metadata/ElementInfoChoice.h>
#include <qxxml/metadata/ElementInfoSeq.h>
#include <qxxml/support/QxException.h>
#include <qxxml/xmlout/TextStream.h>
#include <qxxml/xmlout/XmlTextWriter.h>

#include "common/TestSupport.h"

namespace test_binding {

using namespace QxXmlLib10Data;

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

std::wstring WriteWithWriter(const std::function<void(CXmlWriter* writer)>& write) {
    CTextStream stream(XmlEncoding_None);
    CXmlTextWriter writer(&stream);
    writer.SetFormatting(false);
    writer.SetEOLType(EOLType_LF);
    writer.StartDocument();
    write(&writer);
    writer.EndDocument();
    return stream.TakeText();
}

CTbProbe::CTbProbe(CParentElementInfo* info, const std::vector<CElementInfo*>& elements,
                   const std::vector<CAttributeInfo*>& attributes, size_t propertyCount)
    : m_properties(propertyCount) {
    m_tables.info = info;
    m_tables.elements = CGeneratedTables::Table(elements.data(), elements.size());
    m_tables.attributes = CGeneratedTables::Table(attributes.data(), attributes.size());
    SetElementName(L"probe");
}

void CTbProbe::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    m_log.push_back((read ? L"r" : L"w") + std::to_wstring(propertyIndex));
    QxVariant& property = m_properties.at(static_cast<size_t>(propertyIndex));
    if (read)
        value = property;
    else
        property = value;
    if (read && m_afterRead) m_afterRead();
}

CParentElementInfo* ProbeInfo(XmlElementGroupType group, int textProperty, ItemType textType, bool textAsProperty) {
    return new CParentElementInfo(group, XmlElementType_Element, L"Probe", kNamespace, true, false, textProperty,
                                  textType, nullptr, textAsProperty);
}

CElementInfo* StringMember(const wchar_t* name, int index, XmlElementGroupType group) {
    if (group == XmlElementGroupType_Choice)
        return new CElementInfoChoicePrimOpt(name, kNamespace, index, false, ItemType_string, nullptr,
                                             CWhitespaceUtils::WhitespaceRule_Preserve, CPrimitiveRestrictions());
    return new CElementInfoSeqPrimOpt(name, kNamespace, index, false, ItemType_string, nullptr,
                                      CWhitespaceUtils::WhitespaceRule_Preserve, CPrimitiveRestrictions());
}

CstringCol* NewStringCol(const wchar_t* elementName, int minOccurs, int maxOccurs) {
    return new CstringCol(elementName, kNamespace, minOccurs, maxOccurs, nullptr, -1, -1, nullptr, nullptr, nullptr,
                          nullptr, -1, CWhitespaceUtils::WhitespaceRule_Preserve, nullptr);
}

}  // namespace test_binding

#include "Address.h"

#include <qxxml/metadata/ElementInfoChoice.h>
#include <qxxml/metadata/ElementInfoSeq.h>

namespace PoBinding {

namespace {

using WS = CWhitespaceUtils;

// xs:string keeps its white space; the pattern and length facets of the address types.
const WS::WhitespaceRule kString = WS::WhitespaceRule_Preserve;

CPrimitiveRestrictions NoFacets() { return CPrimitiveRestrictions(); }
CPrimitiveRestrictions USStateFacets() {
    return CPrimitiveRestrictions(L"[A-Z]{2}", -1, -1, nullptr, nullptr, nullptr, nullptr, -1);
}
CPrimitiveRestrictions ZipFacets() {
    return CPrimitiveRestrictions(L"\\d{5}(-\\d{4})?", -1, -1, nullptr, nullptr, nullptr, nullptr, -1);
}
CPrimitiveRestrictions CountryCodeFacets() {
    return CPrimitiveRestrictions(nullptr, -1, -1, nullptr, nullptr, nullptr, nullptr, 2);
}

CParentElementInfo* NewClassInfo(XmlElementGroupType group, const wchar_t* elementName) {
    return new CParentElementInfo(group, XmlElementType_Element, elementName, kTargetNamespace, true, false, -1,
                                  ItemType_invalid, nullptr, false);
}

}  // namespace

// ------------------------------------------------------------------ CUSAddress

CUSAddress::CUSAddress(const wchar_t* elementName) : CPoGeneratedClass(elementName) {}
CUSAddress::~CUSAddress() = default;

void CUSAddress::BuildMetaData(CClassMetaData& tables) {
    const wchar_t* const ns = kTargetNamespace;
    tables.pClassInfo = NewClassInfo(XmlElementGroupType_Sequence, L"usAddress");
    tables.ppElements = NewElementTable({
        new CElementInfoSeqPrimMnd(L"name", ns, Property_name, false, ItemType_string, nullptr, kString, NoFacets()),
        new CElementInfoSeqPrimMnd(L"street", ns, Property_street, false, ItemType_string, nullptr, kString,
                                   NoFacets()),
        new CElementInfoSeqPrimMnd(L"city", ns, Property_city, false, ItemType_string, nullptr, kString, NoFacets()),
        new CElementInfoSeqPrimMnd(L"state", ns, Property_state, false, ItemType_string, nullptr, kString,
                                   USStateFacets()),
        new CElementInfoSeqPrimMnd(L"zip", ns, Property_zip, false, ItemType_string, nullptr, kString, ZipFacets()),
    });
    tables.ppAttributes = NewAttributeTable({});
}

void CUSAddress::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case Property_name: return AccessString(read, value, m_strName);
        case Property_street: return AccessString(read, value, m_strStreet);
        case Property_city: return AccessString(read, value, m_strCity);
        case Property_state: return AccessString(read, value, m_strState);
        case Property_zip: return AccessString(read, value, m_strZip);
        default: ThrowUnknownProperty(L"CUSAddress", propertyIndex);
    }
}

void CUSAddress::Init() {
    m_strName.clear();
    m_strStreet.clear();
    m_strCity.clear();
    m_strState.clear();
    m_strZip.clear();
}

// ------------------------------------------------------------------ CIntlAddress

CIntlAddress::CIntlAddress(const wchar_t* elementName) : CPoGeneratedClass(elementName) {}
CIntlAddress::~CIntlAddress() = default;

void CIntlAddress::BuildMetaData(CClassMetaData& tables) {
    const wchar_t* const ns = kTargetNamespace;
    tables.pClassInfo = NewClassInfo(XmlElementGroupType_Sequence, L"intlAddress");
    tables.ppElements = NewElementTable({
        new CElementInfoSeqPrimMnd(L"name", ns, Property_name, false, ItemType_string, nullptr, kString, NoFacets()),
        new CElementInfoSeqPrimMnd(L"street", ns, Property_street, false, ItemType_string, nullptr, kString,
                                   NoFacets()),
        new CElementInfoSeqPrimMnd(L"city", ns, Property_city, false, ItemType_string, nullptr, kString, NoFacets()),
        new CElementInfoSeqPrimOpt(L"postcode", ns, Property_postcode, false, ItemType_string, nullptr, kString,
                                   NoFacets()),
        new CElementInfoSeqPrimMnd(L"country", ns, Property_country, false, ItemType_string, nullptr, kString,
                                   CountryCodeFacets()),
    });
    tables.ppAttributes = NewAttributeTable({});
}

void CIntlAddress::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case Property_name: return AccessString(read, value, m_strName);
        case Property_street: return AccessString(read, value, m_strStreet);
        case Property_city: return AccessString(read, value, m_strCity);
        case Property_postcode: return AccessOptionalString(read, value, m_strPostcode, m_bValidPostcode);
        case Property_country: return AccessString(read, value, m_strCountry);
        default: ThrowUnknownProperty(L"CIntlAddress", propertyIndex);
    }
}

void CIntlAddress::Init() {
    m_strName.clear();
    m_strStreet.clear();
    m_strCity.clear();
    ClearPostcode();
    m_strCountry.clear();
}

// ------------------------------------------------------------------ CAddress

CAddress::CAddress(const wchar_t* elementName) : CPoGeneratedClass(elementName) {}
CAddress::~CAddress() = default;

void CAddress::BuildMetaData(CClassMetaData& tables) {
    const wchar_t* const ns = kTargetNamespace;
    tables.pClassInfo = NewClassInfo(XmlElementGroupType_Choice, L"address");
    tables.ppElements = NewElementTable({
        new CElementInfoChoiceClsOpt(L"usAddress", ns, Property_usAddress, XmlElementType_Element,
                                     &CPoFactory::CreateObject, PoClassId_USAddress),
        new CElementInfoChoiceClsOpt(L"intlAddress", ns, Property_intlAddress, XmlElementType_Element,
                                     &CPoFactory::CreateObject, PoClassId_IntlAddress),
    });
    tables.ppAttributes = NewAttributeTable({});
}

void CAddress::SetUSAddress(CUSAddress* value) {
    Throw_IfElementNameDiffers(value, L"usAddress");
    // A null value only clears this alternative; it never claims the choice.
    if (value || m_strValidElement == L"usAddress") Choice_SelectElement(L"usAddress", value, m_strValidElement);
    m_pUSAddress = value;
}

void CAddress::SetIntlAddress(CIntlAddress* value) {
    Throw_IfElementNameDiffers(value, L"intlAddress");
    // A null value only clears this alternative; it never claims the choice.
    if (value || m_strValidElement == L"intlAddress") Choice_SelectElement(L"intlAddress", value, m_strValidElement);
    m_pIntlAddress = value;
}

void CAddress::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case Property_usAddress:
            if (read)
                value.SetXmlObject(m_pUSAddress.Get());
            else
                SetUSAddress(ObjectFromVariant<CUSAddress>(value, L"usAddress").Get());
            return;
        case Property_intlAddress:
            if (read)
                value.SetXmlObject(m_pIntlAddress.Get());
            else
                SetIntlAddress(ObjectFromVariant<CIntlAddress>(value, L"intlAddress").Get());
            return;
        default: ThrowUnknownProperty(L"CAddress", propertyIndex);
    }
}

void CAddress::Init() {
    m_pUSAddress = nullptr;
    m_pIntlAddress = nullptr;
    m_strValidElement.clear();
}

}  // namespace PoBinding

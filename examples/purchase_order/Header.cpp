#include "Header.h"

#include <qxxml/metadata/ElementInfoSeq.h>

namespace PoBinding {

CHeader::CHeader(const wchar_t* elementName) : CPoGeneratedClass(elementName) { Init(); }
CHeader::~CHeader() = default;

void CHeader::BuildMetaData(CClassMetaData& tables) {
    using WS = CWhitespaceUtils;
    const wchar_t* const ns = kTargetNamespace;
    tables.pClassInfo = new CParentElementInfo(XmlElementGroupType_Sequence, XmlElementType_Element, L"header", ns,
                                               true, false, -1, ItemType_invalid, nullptr, false);
    tables.ppElements = NewElementTable({
        new CElementInfoSeqPrimMnd(L"customerName", ns, Property_customerName, false, ItemType_string, nullptr,
                                   WS::WhitespaceRule_Preserve, CPrimitiveRestrictions()),
        new CElementInfoSeqClsMnd(L"address", ns, Property_address, XmlElementType_Element,
                                  &CPoFactory::CreateObject, PoClassId_Address, true),
        new CElementInfoSeqPrimMnd(L"orderDate", ns, Property_orderDate, false, ItemType_datetime, nullptr,
                                   WS::WhitespaceRule_Collapse, CPrimitiveRestrictions()),
        new CElementInfoSeqPrimOpt(L"comment", ns, Property_comment, false, ItemType_string, nullptr,
                                   WS::WhitespaceRule_Preserve, CPrimitiveRestrictions()),
        new CElementInfoSeqPrimMnd(L"note", ns, Property_note, true, ItemType_string, nullptr,
                                   WS::WhitespaceRule_Preserve, CPrimitiveRestrictions()),
    });
    tables.ppAttributes = NewAttributeTable({});
}

void CHeader::SetAddress(CAddress* value) {
    Throw_IfPropertyIsNull(value, L"address");
    Throw_IfElementNameDiffers(value, L"address");
    m_pAddress = value;
}

void CHeader::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case Property_customerName: return AccessString(read, value, m_strCustomerName);
        case Property_address:
            if (read)
                value.SetXmlObject(m_pAddress.Get());
            else
                SetAddress(ObjectFromVariant<CAddress>(value, L"address").Get());
            return;
        case Property_orderDate:
            if (read)
                value.SetDateTime(m_dtOrderDate);
            else
                m_dtOrderDate = value.GetDateTime();
            return;
        case Property_comment: return AccessOptionalString(read, value, m_strComment, m_bValidComment);
        case Property_note:
            if (read) {
                value.SetString(m_strNote);
                if (m_bNoteNil) value.SetNil();  // keeps the kind, drops the text
            } else if (value.IsNil()) {
                SetNoteNil(true);
            } else {
                AccessString(false, value, m_strNote);
                m_bNoteNil = false;
            }
            return;
        default: ThrowUnknownProperty(L"CHeader", propertyIndex);
    }
}

void CHeader::Init() {
    m_strCustomerName.clear();
    m_pAddress = new CAddress;
    m_dtOrderDate = CDateTime();
    ClearComment();
    m_strNote.clear();
    m_bNoteNil = false;
}

}  // namespace PoBinding

#include "Item.h"

#include <qxxml/metadata/ElementInfoSeq.h>
#include <qxxml/xmlin/XmlElement.h>

namespace PoBinding {

// ------------------------------------------------------------------ CItem

CItem::CItem(const wchar_t* elementName)
    : CPoGeneratedClass(elementName),
      m_pMeasurements(new Cr8Col(L"measurement", kTargetNamespace, 0, -1, nullptr, -1, -1, nullptr, nullptr, nullptr,
                                 nullptr, -1, CWhitespaceUtils::WhitespaceRule_Collapse, nullptr)) {}
CItem::~CItem() = default;

void CItem::BuildMetaData(CClassMetaData& tables) {
    using WS = CWhitespaceUtils;
    const wchar_t* const ns = kTargetNamespace;
    const CPrimitiveRestrictions none;
    // po:QuantityType: xs:int with 1 <= value < 100.
    const CPrimitiveRestrictions quantity(nullptr, -1, -1, L"1", nullptr, nullptr, L"100", -1);
    // po:SKUType: xs:string with pattern \d{3}-[A-Z]{2}.
    const CPrimitiveRestrictions sku(L"\\d{3}-[A-Z]{2}", -1, -1, nullptr, nullptr, nullptr, nullptr, -1);

    tables.pClassInfo = new CParentElementInfo(XmlElementGroupType_Sequence, XmlElementType_Element, L"item", ns,
                                               true, false, -1, ItemType_invalid, nullptr, false);
    tables.ppElements = NewElementTable({
        new CElementInfoSeqPrimMnd(L"productName", ns, Property_productName, false, ItemType_string, nullptr,
                                   WS::WhitespaceRule_Preserve, none),
        new CElementInfoSeqPrimMnd(L"quantity", ns, Property_quantity, false, ItemType_i4, nullptr,
                                   WS::WhitespaceRule_Collapse, quantity),
        new CElementInfoSeqPrimMnd(L"USPrice", ns, Property_USPrice, false, ItemType_decimal, nullptr,
                                   WS::WhitespaceRule_Collapse, none),
        new CElementInfoSeqPrimOpt(L"shipDate", ns, Property_shipDate, false, ItemType_date, nullptr,
                                   WS::WhitespaceRule_Collapse, none),
        new CElementInfoSeqPrimCol(L"measurement", ns, Property_measurement),
        new CElementInfoSeqPrimMnd(L"gift", ns, Property_gift, false, ItemType_boolean, nullptr,
                                   WS::WhitespaceRule_Collapse, none),
        new CElementInfoSeqPrimMnd(L"blob", ns, Property_blob, false, ItemType_base64Binary, nullptr,
                                   WS::WhitespaceRule_Collapse, none),
        new CElementInfoSeqPrimOpt(L"comment", ns, Property_comment, false, ItemType_string, nullptr,
                                   WS::WhitespaceRule_Preserve, none),
    });
    tables.ppAttributes = NewAttributeTable({
        new CAttributeInfoPrimitive(L"partNum", L"", Property_partNum, false, ItemType_string, nullptr,
                                    WS::WhitespaceRule_Preserve, sku, nullptr),
    });
}

void CItem::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case Property_partNum: return AccessString(read, value, m_strPartNum);
        case Property_productName: return AccessString(read, value, m_strProductName);
        case Property_quantity:
            if (read)
                value.SetI4(m_iQuantity);
            else
                m_iQuantity = value.GetI4();
            return;
        case Property_USPrice:
            if (read)
                value.SetDecimal(m_decUSPrice);
            else
                m_decUSPrice = value.GetDecimalRef();
            return;
        case Property_shipDate:
            if (read) {
                if (m_bValidShipDate)
                    value.SetDate(m_dtShipDate);
                else
                    value.SetInvalid();
            } else if (value.IsValid()) {
                SetShipDate(value.GetDate());
            } else {
                ClearShipDate();
            }
            return;
        case Property_measurement:
            // The collection itself is the property: the descriptor fills it when reading and
            // walks it when writing. Storing replaces it by another, never by null.
            if (read) {
                value.SetXmlCollection(m_pMeasurements.Get());
            } else {
                CSmartPtr<Cr8Col> measurements = ObjectFromVariant<Cr8Col>(value, L"measurement");
                Throw_IfPropertyIsNull(measurements.Get(), L"measurement");
                m_pMeasurements = measurements;
            }
            return;
        case Property_gift:
            if (read)
                value.SetBoolean(m_bGift);
            else
                m_bGift = value.GetBoolean();
            return;
        case Property_blob:
            if (read)
                value.SetBase64Binary(m_blob);
            else
                m_blob = value.GetBase64Binary();
            return;
        case Property_comment: return AccessOptionalString(read, value, m_strComment, m_bValidComment);
        default: ThrowUnknownProperty(L"CItem", propertyIndex);
    }
}

void CItem::Init() {
    m_strPartNum.clear();
    m_strProductName.clear();
    m_iQuantity = 0;
    m_decUSPrice = CDecimal();
    ClearShipDate();
    m_pMeasurements->Clear();
    m_bGift = false;
    m_blob.Clear();
    ClearComment();
}

// ------------------------------------------------------------------ CItemCol

CItemCol::CItemCol() : CXmlCollection(L"item", kTargetNamespace, 0, -1) {}
CItemCol::~CItemCol() = default;

CItem* CItemCol::Add(CItem* item) {
    Throw_IfElementNameDiffers(item, L"item");
    AppendItem(item);
    return item;
}

void CItemCol::AddAt(int index, CItem* item) {
    Throw_IfElementNameDiffers(item, L"item");
    AddItemAt(index, item);
}

CSmartPtr<CItem> CItemCol::Item(int index) const {
    return static_cast<CItem*>(GetNodeAtIndex(index)->m_pItem.Get());
}

void CItemCol::ToXml_Int(CXmlWriter* writer, bool, const wchar_t*, const CXmlSerializationContext& context,
                         bool) const {
    // Each item writes its own <po:item> element, under the collection's namespace.
    const wchar_t* const ns = m_strNamespace.c_str();
    for (const CNode* node = m_pHead; node; node = node->m_pNext)
        CXmlObjectBase::ToXml_Int(node->m_pItem.Get(), writer, false, ns, context, false);
}

CXmlElement* CItemCol::FromXml_Int(CXmlElement*, CXmlElement* cursor, const CXmlSerializationContext& context,
                                   bool) {
    const wchar_t* const name = ElementName().c_str();
    const wchar_t* const ns = m_strNamespace.c_str();
    while (cursor && DoesElementNameMatch(context, cursor, name, ns)) {
        // A failing item is not added: the exception leaves the items before it.
        CSmartPtr<CItem> item(new CItem(name));
        CXmlObjectBase::FromXml_Int(item.Get(), cursor, cursor->GetFirstElement(), context);
        AppendItem(item.Get());
        cursor = cursor->GetNextSiblingElement();
    }
    return cursor;
}

}  // namespace PoBinding

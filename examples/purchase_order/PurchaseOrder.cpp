#include "PurchaseOrder.h"

#include <qxxml/metadata/ElementInfoSeq.h>

namespace PoBinding {

CPurchaseOrder::CPurchaseOrder(const wchar_t* elementName)
    : CPoGeneratedClass(elementName),
      m_pItems(new CItemCol),
      m_pAny(new CElementCol(L"", L"##other", kTargetNamespace, 0, -1)) {
    Init();
}
CPurchaseOrder::~CPurchaseOrder() = default;

void CPurchaseOrder::BuildMetaData(CClassMetaData& tables) {
    using WS = CWhitespaceUtils;
    const wchar_t* const ns = kTargetNamespace;
    tables.pClassInfo = new CParentElementInfo(XmlElementGroupType_Sequence, XmlElementType_Element,
                                               L"purchaseOrder", ns, true, false, -1, ItemType_invalid, nullptr, false);
    tables.ppElements = NewElementTable({
        new CElementInfoSeqClsMnd(L"header", ns, Property_header, XmlElementType_Element, &CPoFactory::CreateObject,
                                  PoClassId_Header, true),
        new CElementInfoSeqClsCol(L"item", ns, Property_item, XmlElementType_Element),
        new CElementInfoSeqUntpdCol(L"AnyElement", L"##other", Property_any),
    });
    tables.ppAttributes = NewAttributeTable({
        new CAttributeInfoPrimitive(L"orderId", L"", Property_orderId, false, ItemType_string, nullptr,
                                    WS::WhitespaceRule_Preserve, CPrimitiveRestrictions(), nullptr),
        new CAttributeInfoPrimitive(L"orderDate", L"", Property_orderDate, false, ItemType_date, nullptr,
                                    WS::WhitespaceRule_Collapse, CPrimitiveRestrictions(), nullptr),
        new CAttributeInfoEnum(L"status", L"", Property_status, false, &StatusTypeToString, &StatusTypeFromString,
                               nullptr),
    });
}

void CPurchaseOrder::SetHeader(CHeader* value) {
    Throw_IfPropertyIsNull(value, L"header");
    Throw_IfElementNameDiffers(value, L"header");
    m_pHeader = value;
}

void CPurchaseOrder::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case Property_orderId: return AccessString(read, value, m_strOrderId);
        case Property_orderDate:
            if (read)
                value.SetDate(m_dtOrderDate);
            else
                m_dtOrderDate = value.GetDate();
            return;
        case Property_status:
            if (read)
                value.SetI4(m_status);
            else
                m_status = static_cast<StatusType>(value.GetI4());
            return;
        case Property_header:
            if (read)
                value.SetXmlObject(m_pHeader.Get());
            else
                SetHeader(ObjectFromVariant<CHeader>(value, L"header").Get());
            return;
        case Property_item:
            // The collection is the property: filled when reading, walked when writing.
            if (read) {
                value.SetXmlCollection(m_pItems.Get());
            } else {
                CSmartPtr<CItemCol> items = ObjectFromVariant<CItemCol>(value, L"item");
                Throw_IfPropertyIsNull(items.Get(), L"item");
                m_pItems = items;
            }
            return;
        case Property_any:
            if (read) value.SetXmlCollection(m_pAny.Get());  // owned by the order, only ever read
            return;
        default: ThrowUnknownProperty(L"CPurchaseOrder", propertyIndex);
    }
}

void CPurchaseOrder::Init() {
    m_strOrderId.clear();
    m_dtOrderDate = CDateTime();
    m_status = StatusType_pending;
    m_pHeader = new CHeader;
    m_pItems->Clear();
    m_pAny->Clear();
}

}  // namespace PoBinding

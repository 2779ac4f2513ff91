// PurchaseOrder.h - CPurchaseOrder, the document element <po:purchaseOrder> of po.xsd, and
// the one header a program includes to use the purchase-order binding.
//
//   CXmlSerializationContext context;
//   AddPoNamespaceAliases(context);                   // write po: and xsi: prefixes
//
//   CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
//   order->FromXmlFile(L"po.xml", context);
//   order->SetStatus(StatusType_shipped);
//   order->GetHeader()->SetComment(L"Shipped in two parcels");
//   order->ToXmlFile(L"out.xml", true, true, XmlEncoding_UTF8, EOLType_LF, context,
//                    CompressionType_None);
//
// Reading checks the structure (required elements and attributes, the address choice,
// unknown elements and attributes) and converts every value; the facets of the schema are
// checked when writing.
#pragma once

#include "Address.h"
#include "Header.h"
#include "Item.h"
#include "PoSchema.h"

#include <qxxml/collections/ElementCol.h>
#include <qxxml/values/DateTime.h>

#include <string>

namespace PoBinding {

class CPurchaseOrder : public CPoGeneratedClass<CPurchaseOrder> {
public:
    explicit CPurchaseOrder(const wchar_t* elementName = L"purchaseOrder");
    ~CPurchaseOrder() override;
    CPurchaseOrder(const CPurchaseOrder&) = delete;
    CPurchaseOrder& operator=(const CPurchaseOrder&) = delete;

    // Attributes.
    const std::wstring& GetOrderId() const { return m_strOrderId; }
    void SetOrderId(const std::wstring& value) { m_strOrderId = value; }
    // An xs:date.
    const CDateTime& GetOrderDate() const { return m_dtOrderDate; }
    void SetOrderDate(const CDateTime& value) { m_dtOrderDate = value; }
    StatusType GetStatus() const { return m_status; }
    void SetStatus(StatusType value) { m_status = value; }

    // Mandatory: never null (Init creates an empty one). Setting null throws
    // CQxInvalidParamException "The Property [header] is mandatory, it may node be NULL".
    CSmartPtr<CHeader> GetHeader() const { return m_pHeader; }
    void SetHeader(CHeader* value);

    // The items; never null.
    CSmartPtr<CItemCol> GetItems() const { return m_pItems; }

    // The open content after the items (xs:any namespace="##other"): elements of any other
    // namespace, kept as they were read; never null.
    CSmartPtr<CElementCol> GetAny() const { return m_pAny; }

    void AccessProperty(int propertyIndex, bool read, QxVariant& value) override;
    // Empties the order: no attributes, a new empty header, no items.
    void Init() override;

private:
    friend class CPoGeneratedClass<CPurchaseOrder>;
    enum Property {
        Property_orderId,
        Property_orderDate,
        Property_status,
        Property_header,
        Property_item,
        Property_any,
    };
    static void BuildMetaData(CClassMetaData& tables);

    std::wstring m_strOrderId;
    CDateTime m_dtOrderDate;
    StatusType m_status = StatusType_pending;
    CSmartPtr<CHeader> m_pHeader;
    CSmartPtr<CItemCol> m_pItems;
    CSmartPtr<CElementCol> m_pAny;
};

}  // namespace PoBinding

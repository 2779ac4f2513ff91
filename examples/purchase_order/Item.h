// Item.h - one line of a purchase order (CItem, po:ItemType) and the collection of them
// (CItemCol, the repeated <po:item> element).
//
//   CSmartPtr<CItem> item(new CItem);
//   item->SetPartNum(L"926-AA");
//   item->SetProductName(L"Baby Monitor");
//   item->SetQuantity(2);                          // 1 .. 99, checked when written
//   item->SetUSPrice(CDecimal(L"39.98"));
//   item->GetMeasurements()->Add(12.5);            // a Cr8Col of <po:measurement>
//   item->SetBlob(CBinaryData(bytes, length, false));
//   order->GetItems()->Add(item);
//
//   for (CItem* line : *order->GetItems()) total += line->GetQuantity();
#pragma once

#include "PoSchema.h"

#include <qxxml/collections/TypedCollections.h>
#include <qxxml/collections/XmlCollection.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/values/DateTime.h>
#include <qxxml/values/Decimal.h>

#include <cstdint>
#include <string>

namespace PoBinding {

class CItem : public CPoGeneratedClass<CItem> {
public:
    explicit CItem(const wchar_t* elementName = L"item");
    ~CItem() override;
    CItem(const CItem&) = delete;
    CItem& operator=(const CItem&) = delete;

    // Attribute partNum (po:SKUType, pattern \d{3}-[A-Z]{2}).
    const std::wstring& GetPartNum() const { return m_strPartNum; }
    void SetPartNum(const std::wstring& value) { m_strPartNum = value; }

    const std::wstring& GetProductName() const { return m_strProductName; }
    void SetProductName(const std::wstring& value) { m_strProductName = value; }

    // po:QuantityType: 1 <= quantity < 100.
    int32_t GetQuantity() const { return m_iQuantity; }
    void SetQuantity(int32_t value) { m_iQuantity = value; }

    const CDecimal& GetUSPrice() const { return m_decUSPrice; }
    void SetUSPrice(const CDecimal& value) { m_decUSPrice = value; }

    bool IsValidShipDate() const { return m_bValidShipDate; }
    const CDateTime& GetShipDate() const { return m_dtShipDate; }
    void SetShipDate(const CDateTime& value) {
        m_dtShipDate = value;
        m_bValidShipDate = true;
    }
    void ClearShipDate() {
        m_dtShipDate = CDateTime();
        m_bValidShipDate = false;
    }

    // The repeated <po:measurement> doubles, in document order; never null.
    CSmartPtr<Cr8Col> GetMeasurements() const { return m_pMeasurements; }

    bool GetGift() const { return m_bGift; }
    void SetGift(bool value) { m_bGift = value; }

    const CBinaryData& GetBlob() const { return m_blob; }
    void SetBlob(const CBinaryData& value) { m_blob = value; }

    bool IsValidComment() const { return m_bValidComment; }
    const std::wstring& GetComment() const { return m_strComment; }
    void SetComment(const std::wstring& value) {
        m_strComment = value;
        m_bValidComment = true;
    }
    void ClearComment() {
        m_strComment.clear();
        m_bValidComment = false;
    }

    void AccessProperty(int propertyIndex, bool read, QxVariant& value) override;
    void Init() override;

private:
    friend class CPoGeneratedClass<CItem>;
    enum Property {
        Property_partNum,
        Property_productName,
        Property_quantity,
        Property_USPrice,
        Property_shipDate,
        Property_measurement,
        Property_gift,
        Property_blob,
        Property_comment,
    };
    static void BuildMetaData(CClassMetaData& tables);

    std::wstring m_strPartNum;
    std::wstring m_strProductName;
    int32_t m_iQuantity = 0;
    CDecimal m_decUSPrice;
    CDateTime m_dtShipDate;
    bool m_bValidShipDate = false;
    CSmartPtr<Cr8Col> m_pMeasurements;
    bool m_bGift = false;
    CBinaryData m_blob;
    std::wstring m_strComment;
    bool m_bValidComment = false;
};

// The <po:item> elements of a purchase order (any number of them).
class CItemCol : public CXmlCollection {
public:
    CItemCol();
    ~CItemCol() override;

    // Appends the item and returns it. A null item throws CQxInvalidParamException; an item
    // whose element name is not "item" throws the element-name message.
    CItem* Add(CItem* item);
    // Inserts at 0 .. GetCount(); anything else throws "Index out of range".
    void AddAt(int index, CItem* item);
    // Throws CQxInvalidParamException "Index %d is out of range, use 0 - %d".
    CSmartPtr<CItem> Item(int index) const;

    CNodeIterator<CItem> begin() const { return CNodeIterator<CItem>(m_pHead); }
    CNodeIterator<CItem> end() const { return CNodeIterator<CItem>(nullptr); }

protected:
    // Every item as a <po:item> element, in order.
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                   const CXmlSerializationContext& context, bool optionalChoiceItem) const override;
    // Reads the run of <po:item> elements at the cursor, one new CItem each, and returns the
    // first element after the run. The count is checked by the caller.
    CXmlElement* FromXml_Int(CXmlElement* parent, CXmlElement* cursor, const CXmlSerializationContext& context,
                             bool optionalChoiceItem) override;
};

}  // namespace PoBinding

// Header.h - CHeader, the header of a purchase order (po:HeaderType): customer, address,
// order time, an optional comment and a nillable note.
//
//   CSmartPtr<CHeader> header = order->GetHeader();
//   header->SetComment(L"Leave at the back door");     // optional: present from now on
//   header->ClearComment();                            // absent again
//   header->SetNoteNil(true);                          // <po:note xsi:nil="true"/>
//   header->SetNote(L"Call before delivery");           // a value: no longer nil
//   CDateTime when = header->GetOrderDate();            // with its time zone, e.g. +02:00
#pragma once

#include "Address.h"
#include "PoSchema.h"

#include <qxxml/values/DateTime.h>

#include <string>

namespace PoBinding {

class CHeader : public CPoGeneratedClass<CHeader> {
public:
    explicit CHeader(const wchar_t* elementName = L"header");
    ~CHeader() override;
    CHeader(const CHeader&) = delete;
    CHeader& operator=(const CHeader&) = delete;

    const std::wstring& GetCustomerName() const { return m_strCustomerName; }
    void SetCustomerName(const std::wstring& value) { m_strCustomerName = value; }

    // Mandatory: never null (Init creates an empty one). Setting null throws
    // CQxInvalidParamException "The Property [address] is mandatory, it may node be NULL".
    CSmartPtr<CAddress> GetAddress() const { return m_pAddress; }
    void SetAddress(CAddress* value);

    // An xs:dateTime; the value keeps its time zone.
    const CDateTime& GetOrderDate() const { return m_dtOrderDate; }
    void SetOrderDate(const CDateTime& value) { m_dtOrderDate = value; }

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

    // Nillable: a nil note has no text.
    bool IsNoteNil() const { return m_bNoteNil; }
    void SetNoteNil(bool nil) {
        m_bNoteNil = nil;
        if (nil) m_strNote.clear();
    }
    const std::wstring& GetNote() const { return m_strNote; }
    void SetNote(const std::wstring& value) {
        m_strNote = value;
        m_bNoteNil = false;
    }

    void AccessProperty(int propertyIndex, bool read, QxVariant& value) override;
    void Init() override;

private:
    friend class CPoGeneratedClass<CHeader>;
    enum Property {
        Property_customerName,
        Property_address,
        Property_orderDate,
        Property_comment,
        Property_note,
    };
    static void BuildMetaData(CClassMetaData& tables);

    std::wstring m_strCustomerName;
    CSmartPtr<CAddress> m_pAddress;
    CDateTime m_dtOrderDate;
    std::wstring m_strComment;
    bool m_bValidComment = false;
    std::wstring m_strNote;
    bool m_bNoteNil = false;
};

}  // namespace PoBinding

// Address.h - the address of a purchase order: CAddress holds one of two alternatives, a
// CUSAddress or a CIntlAddress (po:AddressType, an xs:choice).
//
//   CSmartPtr<CUSAddress> us(new CUSAddress);
//   us->SetName(L"Alice Smith");
//   us->SetState(L"CA");
//   us->SetZip(L"90952");
//   header->GetAddress()->SetUSAddress(us);
//   header->GetAddress()->SetIntlAddress(intl);   // throws: usAddress is already set
//   header->GetAddress()->SetUSAddress(nullptr);  // clears the choice; now intl may be set
//
// The facets of the schema (state [A-Z]{2}, zip \d{5}(-\d{4})?, country of length 2) are
// checked when the object is written: a broken one fails the write with
// "Invalid Value for zip [9095]" inside the chain of elements that lead to it.
#pragma once

#include "PoSchema.h"

#include <string>

namespace PoBinding {

// po:USAddressType.
class CUSAddress : public CPoGeneratedClass<CUSAddress> {
public:
    explicit CUSAddress(const wchar_t* elementName = L"usAddress");
    ~CUSAddress() override;
    CUSAddress(const CUSAddress&) = delete;
    CUSAddress& operator=(const CUSAddress&) = delete;

    const std::wstring& GetName() const { return m_strName; }
    void SetName(const std::wstring& value) { m_strName = value; }
    const std::wstring& GetStreet() const { return m_strStreet; }
    void SetStreet(const std::wstring& value) { m_strStreet = value; }
    const std::wstring& GetCity() const { return m_strCity; }
    void SetCity(const std::wstring& value) { m_strCity = value; }
    const std::wstring& GetState() const { return m_strState; }
    void SetState(const std::wstring& value) { m_strState = value; }
    const std::wstring& GetZip() const { return m_strZip; }
    void SetZip(const std::wstring& value) { m_strZip = value; }

    void AccessProperty(int propertyIndex, bool read, QxVariant& value) override;
    void Init() override;

private:
    friend class CPoGeneratedClass<CUSAddress>;
    enum Property { Property_name, Property_street, Property_city, Property_state, Property_zip };
    static void BuildMetaData(CClassMetaData& tables);

    std::wstring m_strName;
    std::wstring m_strStreet;
    std::wstring m_strCity;
    std::wstring m_strState;
    std::wstring m_strZip;
};

// po:IntlAddressType.
class CIntlAddress : public CPoGeneratedClass<CIntlAddress> {
public:
    explicit CIntlAddress(const wchar_t* elementName = L"intlAddress");
    ~CIntlAddress() override;
    CIntlAddress(const CIntlAddress&) = delete;
    CIntlAddress& operator=(const CIntlAddress&) = delete;

    const std::wstring& GetName() const { return m_strName; }
    void SetName(const std::wstring& value) { m_strName = value; }
    const std::wstring& GetStreet() const { return m_strStreet; }
    void SetStreet(const std::wstring& value) { m_strStreet = value; }
    const std::wstring& GetCity() const { return m_strCity; }
    void SetCity(const std::wstring& value) { m_strCity = value; }
    // Optional: IsValidPostcode tells whether it is present.
    bool IsValidPostcode() const { return m_bValidPostcode; }
    const std::wstring& GetPostcode() const { return m_strPostcode; }
    void SetPostcode(const std::wstring& value) {
        m_strPostcode = value;
        m_bValidPostcode = true;
    }
    void ClearPostcode() {
        m_strPostcode.clear();
        m_bValidPostcode = false;
    }
    const std::wstring& GetCountry() const { return m_strCountry; }
    void SetCountry(const std::wstring& value) { m_strCountry = value; }

    void AccessProperty(int propertyIndex, bool read, QxVariant& value) override;
    void Init() override;

private:
    friend class CPoGeneratedClass<CIntlAddress>;
    enum Property { Property_name, Property_street, Property_city, Property_postcode, Property_country };
    static void BuildMetaData(CClassMetaData& tables);

    std::wstring m_strName;
    std::wstring m_strStreet;
    std::wstring m_strCity;
    std::wstring m_strPostcode;
    bool m_bValidPostcode = false;
    std::wstring m_strCountry;
};

// po:AddressType: exactly one of the two alternatives is set.
class CAddress : public CPoGeneratedClass<CAddress> {
public:
    explicit CAddress(const wchar_t* elementName = L"address");
    ~CAddress() override;
    CAddress(const CAddress&) = delete;
    CAddress& operator=(const CAddress&) = delete;

    // The element name of the alternative that is set ("usAddress", "intlAddress"), or empty.
    const std::wstring& GetChoiceSelectedElement() const { return m_strValidElement; }

    // Setting one alternative while the other is set throws CQxInvalidStateException
    // "The Property [usAddress] is already set. Only one element within this class bay be set
    // at a time"; null clears the alternative. The object's element name must be the
    // alternative's.
    CSmartPtr<CUSAddress> GetUSAddress() const { return m_pUSAddress; }
    void SetUSAddress(CUSAddress* value);
    CSmartPtr<CIntlAddress> GetIntlAddress() const { return m_pIntlAddress; }
    void SetIntlAddress(CIntlAddress* value);

    void AccessProperty(int propertyIndex, bool read, QxVariant& value) override;
    void Init() override;

private:
    friend class CPoGeneratedClass<CAddress>;
    enum Property { Property_usAddress, Property_intlAddress };
    static void BuildMetaData(CClassMetaData& tables);

    CSmartPtr<CUSAddress> m_pUSAddress;
    CSmartPtr<CIntlAddress> m_pIntlAddress;
    std::wstring m_strValidElement;
};

}  // namespace PoBinding

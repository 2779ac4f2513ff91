#include "PoSchema.h"

#include "PurchaseOrder.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>

#include <cwchar>

namespace PoBinding {

const wchar_t* const kTargetNamespace = L"urn:example:po";

void AddPoNamespaceAliases(CXmlSerializationContext& context) {
    context.GetNamespaceAliases().Add(L"po", kTargetNamespace);
    context.GetNamespaceAliases().Add(L"xsi", L"http://www.w3.org/2001/XMLSchema-instance");
}

// ------------------------------------------------------------------ StatusType

namespace {

const wchar_t* const kStatusTexts[] = {L"pending", L"confirmed", L"shipped", L"cancelled"};
constexpr int kStatusCount = static_cast<int>(sizeof kStatusTexts / sizeof kStatusTexts[0]);

}  // namespace

const wchar_t* StatusTypeToString(int value) {
    return value >= 0 && value < kStatusCount ? kStatusTexts[value] : nullptr;
}

int StatusTypeFromString(const wchar_t* text) {
    const wchar_t* given = text ? text : L"";
    for (int value = 0; value < kStatusCount; ++value)
        if (std::wcscmp(given, kStatusTexts[value]) == 0) return value;
    throw CQxInvalidValueException(FormatString(L"Invalid Value for %s [%s]", L"StatusType", given));
}

// ------------------------------------------------------------------ factory

CSmartPtr<CXmlObjectBase> CPoFactory::CreateObject(int classId, const wchar_t* elementName) {
    switch (classId) {
        case PoClassId_PurchaseOrder: return new CPurchaseOrder(elementName);
        case PoClassId_Header: return new CHeader(elementName);
        case PoClassId_Address: return new CAddress(elementName);
        case PoClassId_USAddress: return new CUSAddress(elementName);
        case PoClassId_IntlAddress: return new CIntlAddress(elementName);
        case PoClassId_Item: return new CItem(elementName);
        default: return nullptr;
    }
}

// ------------------------------------------------------------------ metadata tables

void CClassMetaData::BuildLocked(void (*build)(CClassMetaData&)) {
    CQXCriticalSection::Lock hold(CXmlGeneratedClass::m_csInit);
    if (bBuilt.load(std::memory_order_relaxed)) return;  // another thread was first
    build(*this);
    bBuilt.store(true, std::memory_order_release);
}

namespace {

template <class T>
T** NewTable(std::initializer_list<T*> entries) {
    T** table = new T*[entries.size() + 1];
    T** slot = table;
    for (T* entry : entries) *slot++ = entry;
    *slot = nullptr;
    return table;
}

// Gives the tables back when the program ends, so that leak checkers see none left.
struct CPoMetaDataRelease {
    ~CPoMetaDataRelease() { ReleasePoMetaData(); }
} s_releaseAtExit;

}  // namespace

CElementInfo** NewElementTable(std::initializer_list<CElementInfo*> entries) { return NewTable(entries); }
CAttributeInfo** NewAttributeTable(std::initializer_list<CAttributeInfo*> entries) { return NewTable(entries); }

void ReleasePoMetaData() {
    CPurchaseOrder::ReleaseMetaData();
    CHeader::ReleaseMetaData();
    CAddress::ReleaseMetaData();
    CUSAddress::ReleaseMetaData();
    CIntlAddress::ReleaseMetaData();
    CItem::ReleaseMetaData();
}

// ------------------------------------------------------------------ property helpers

void AccessString(bool read, QxVariant& value, std::wstring& property) {
    if (read)
        value.SetString(property);
    else if (value.m_type == ItemType_string && !value.m_bNil && value.m_pString)
        property.swap(*value.m_pString);
    else
        property = value.GetStringRef();  // throws the variant's precondition failure
}

void AccessOptionalString(bool read, QxVariant& value, std::wstring& property, bool& present) {
    if (read) {
        if (present)
            value.SetString(property);
        else
            value.SetInvalid();
        return;
    }
    present = value.IsValid();
    if (present)
        AccessString(false, value, property);
    else
        property.clear();
}

void ThrowObjectOfOtherClass(const wchar_t* property) {
    throw CQxInvalidParamException(
        FormatString(L"The object given for the property [%s] is not of its class", property));
}

void ThrowUnknownProperty(const wchar_t* className, int propertyIndex) {
    throw CQxInvalidParamException(
        FormatString(L"Unknown property index %d of class %s", propertyIndex, className));
}

}  // namespace PoBinding

#include <qxxml/core/XmlGeneratedClass.h>

#include <qxxml/metadata/AttributeInfo.h>
#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/metadata/ParentElementInfo.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/QxVariant.h>

#include <string>

namespace QxXmlLib10 {

using QxXmlLib10Data::CAttributeInfo;
using QxXmlLib10Data::CElementInfo;
using QxXmlLib10Data::CParentElementInfo;
using QxXmlLib10Data::XmlElementType;

namespace {

// The engines arrive with the writing and reading work; until then they say so plainly.
[[noreturn]] void ThrowNotAvailable(const wchar_t* operation) {
    throw CQxException(std::wstring(operation) + L" is not available yet");
}

// Deletes every entry up to the terminating null, then the array.
template <class T>
void DeleteTable(T**& table) {
    if (!table) return;
    for (T** entry = table; *entry; ++entry) {
        delete *entry;
        *entry = nullptr;
    }
    delete[] table;
    table = nullptr;
}

}  // namespace

CQXCriticalSection CXmlGeneratedClass::m_csInit;

CXmlGeneratedClass::CXmlGeneratedClass() = default;
CXmlGeneratedClass::CXmlGeneratedClass(const CXmlGeneratedClass& other) = default;
CXmlGeneratedClass& CXmlGeneratedClass::operator=(const CXmlGeneratedClass& other) = default;
CXmlGeneratedClass::~CXmlGeneratedClass() = default;

// ------------------------------------------------------------------ tables

void CXmlGeneratedClass::ReadProperty(int propertyIndex, QxVariant& value) const {
    // Reading a property does not change the object; AccessProperty is one accessor for both
    // directions, so it is not const itself.
    const_cast<CXmlGeneratedClass*>(this)->AccessProperty(propertyIndex, true, value);
}

int CXmlGeneratedClass::GetClassElementInfoCount() const {
    CElementInfo** table = const_cast<CXmlGeneratedClass*>(this)->GetClassElementInfo();
    int count = 0;
    if (table)
        while (table[count]) ++count;
    return count;
}

bool CXmlGeneratedClass::IsElementInList(const CXmlSerializationContext& context, CXmlElement* element) const {
    CElementInfo** table = const_cast<CXmlGeneratedClass*>(this)->GetClassElementInfo();
    if (!table) return false;
    for (CElementInfo** entry = table; *entry; ++entry)
        if ((*entry)->IsThisElement(context, element)) return true;
    return false;
}

void CXmlGeneratedClass::CleanMetaData(CParentElementInfo*& classInfo, CElementInfo**& elements,
                                       CAttributeInfo**& attributes) {
    delete classInfo;
    classInfo = nullptr;
    DeleteTable(elements);
    DeleteTable(attributes);
}

CXmlElement* CXmlGeneratedClass::FromXml_Int(CXmlObjectBase* object, CXmlElement* element, CXmlElement* firstChild,
                                             const CXmlSerializationContext& context, bool optionalChoiceItem) {
    if (optionalChoiceItem)
        if (auto* generated = dynamic_cast<CXmlGeneratedClass*>(object))
            return generated->FromXml_Int(element, firstChild, context, true);
    return CXmlObjectBase::FromXml_Int(object, element, firstChild, context);
}

// ------------------------------------------------------------------ engines

void CXmlGeneratedClass::AttributesToXml_Int(CXmlWriter*, const CXmlSerializationContext&) const {
    ThrowNotAvailable(L"CXmlGeneratedClass::AttributesToXml_Int");
}

void CXmlGeneratedClass::ToXml_Int(CXmlWriter*, bool, const wchar_t*, const CXmlSerializationContext&, bool) const {
    ThrowNotAvailable(L"CXmlGeneratedClass::ToXml_Int");
}

CXmlElement* CXmlGeneratedClass::FromXml_Int(CXmlElement*, CXmlElement*, const CXmlSerializationContext&, bool) {
    ThrowNotAvailable(L"CXmlGeneratedClass::FromXml_Int");
}

bool CXmlGeneratedClass::DoesElementContainOptionalElements() const {
    ThrowNotAvailable(L"CXmlGeneratedClass::DoesElementContainOptionalElements");
}

void CXmlGeneratedClass::ProcessAttributesToXml(const CXmlSerializationContext&, CElementInfo**, CAttributeInfo**,
                                                CXmlWriter*) const {
    ThrowNotAvailable(L"CXmlGeneratedClass::ProcessAttributesToXml");
}

void CXmlGeneratedClass::ProcessElementSeqToXml(const CXmlSerializationContext&, CElementInfo**, CXmlWriter*) const {
    ThrowNotAvailable(L"CXmlGeneratedClass::ProcessElementSeqToXml");
}

void CXmlGeneratedClass::ProcessElementAllToXml(const CXmlSerializationContext&, CElementInfo**, CXmlWriter*) const {
    ThrowNotAvailable(L"CXmlGeneratedClass::ProcessElementAllToXml");
}

void CXmlGeneratedClass::ProcessElementChoiceToXml(const CXmlSerializationContext&, CElementInfo**, CXmlWriter*,
                                                   bool) const {
    ThrowNotAvailable(L"CXmlGeneratedClass::ProcessElementChoiceToXml");
}

void CXmlGeneratedClass::ProcessAttributesFromXml(const CXmlSerializationContext&, CXmlElement*, bool) {
    ThrowNotAvailable(L"CXmlGeneratedClass::ProcessAttributesFromXml");
}

CXmlElement* CXmlGeneratedClass::ProcessElementSeqFromXml(const CXmlSerializationContext&, CXmlElement*, CXmlElement*,
                                                          XmlElementType) {
    ThrowNotAvailable(L"CXmlGeneratedClass::ProcessElementSeqFromXml");
}

CXmlElement* CXmlGeneratedClass::ProcessElementAllFromXml(const CXmlSerializationContext&, CXmlElement*, CXmlElement*,
                                                          XmlElementType) {
    ThrowNotAvailable(L"CXmlGeneratedClass::ProcessElementAllFromXml");
}

CXmlElement* CXmlGeneratedClass::ProcessElementChoiceFromXml(const CXmlSerializationContext&, CXmlElement*,
                                                             CXmlElement*, XmlElementType, bool) {
    ThrowNotAvailable(L"CXmlGeneratedClass::ProcessElementChoiceFromXml");
}

}  // namespace QxXmlLib10

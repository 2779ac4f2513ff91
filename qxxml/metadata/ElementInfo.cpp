#include <qxxml/metadata/ElementInfo.h>

#include <qxxml/core/PrimitiveValueCheck.h>
#include <qxxml/core/XmlGeneratedClass.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/metadata/detail/OrEmpty.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/QxVariant.h>
#include <qxxml/xmlin/XmlElement.h>

#include <cwchar>

namespace QxXmlLib10Data {

using detail::OrEmpty;

using QxXmlLib10::CQxException;

CElementInfo::CElementInfo(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfo(name, elementNamespace, propertyIndex, false) {}

CElementInfo::CElementInfo(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable)
    : m_strElementName(OrEmpty(name)),
      m_strElementNamespace(OrEmpty(elementNamespace)),
      m_iPropertyIndex(propertyIndex),
      m_itemType(QxXmlLib10::ItemType_invalid),
      m_whitespaceRule(CWhitespaceUtils::WhitespaceRule_None),
      m_bNillable(nillable),
      m_bHasPrimitiveInfo(false) {}

CElementInfo::CElementInfo(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                           ItemType itemType, const wchar_t* formatOverride,
                           CWhitespaceUtils::WhitespaceRule whitespaceRule, const CPrimitiveRestrictions& restrictions)
    : m_strElementName(OrEmpty(name)),
      m_strElementNamespace(OrEmpty(elementNamespace)),
      m_iPropertyIndex(propertyIndex),
      m_restrictions(restrictions),
      m_itemType(itemType),
      m_strFormatOverride(OrEmpty(formatOverride)),
      m_whitespaceRule(whitespaceRule),
      m_bNillable(nillable),
      m_bHasPrimitiveInfo(true) {}

CElementInfo::~CElementInfo() = default;

void CElementInfo::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                             CXmlWriter*) const {}

bool CElementInfo::IsThisElement(const CXmlSerializationContext& context, const CXmlElement* element) const {
    if (!element || element->GetLocalName() != m_strElementName) return false;
    return context.GetIgnoreNamespaces() || element->GetNamespaceURI() == m_strElementNamespace;
}

void CElementInfo::CheckRestriction(const QxVariant& value) const {
    if (!m_bHasPrimitiveInfo) throw CQxException(L"Cannot CheckRestriction for type: " + value.GetType());
    QxXmlLib10::CheckPrimitiveValue(m_strElementName.c_str(), value, m_itemType, m_restrictions);
}

std::wstring CElementInfo::GetAnyDefaultNamespace(const wchar_t* constraint, const wchar_t* parentNamespace,
                                                  const wchar_t* targetNamespace) {
    const std::wstring rule = OrEmpty(constraint);
    if (rule == L"##any") return OrEmpty(parentNamespace);
    if (rule == L"##other") return *OrEmpty(parentNamespace) ? L"" : L"DefaultNamespace";
    if (rule == L"##local") return L"";
    if (rule == L"##targetNamespace") return OrEmpty(targetNamespace);
    // A list that starts with a keyword: the first token decides.
    const size_t space = rule.find(L' ');
    if (space != std::wstring::npos && rule.size() > 2 && rule.compare(0, 2, L"##") == 0)
        return GetAnyDefaultNamespace(rule.substr(0, space).c_str(), parentNamespace, targetNamespace);
    return L"";  // one URI or a list of URIs: no namespace is implied
}

// ------------------------------------------------------------------ property access

void CElementInfo::AccessProperty(CXmlGeneratedClass* object, bool read, QxVariant& value) const {
    object->AccessProperty(m_iPropertyIndex, read, value);
}

void CElementInfo::ReadProperty(const CXmlGeneratedClass* object, QxVariant& value) const {
    object->ReadProperty(m_iPropertyIndex, value);
}

CXmlElement* CElementInfo::FromXml_Int(CXmlObjectBase* child, CXmlElement* element, CXmlElement* cursor,
                                       const CXmlSerializationContext& context, bool optionalChoiceItem) {
    return CXmlGeneratedClass::FromXml_Int(child, element, cursor, context, optionalChoiceItem);
}

void CElementInfo::AttributesToXml_Int(const CXmlObjectBase* child, CXmlWriter* writer,
                                       const CXmlSerializationContext& context) {
    CXmlGeneratedClass::AttributesToXml_Int(child, writer, context);
}

// ------------------------------------------------------------------ shared write steps

bool CElementInfo::ElementToXmlPrim(const CXmlSerializationContext&, const CXmlGeneratedClass*, CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfo::ElementToXmlPrim");
}

bool CElementInfo::ElementToXmlEnum(const CXmlSerializationContext&, const CXmlGeneratedClass*, CXmlWriter*,
                                    EnumToStringFn) const {
    ThrowNotAvailable(L"CElementInfo::ElementToXmlEnum");
}

bool CElementInfo::ElementToXmlCls(const CXmlSerializationContext&, const CXmlGeneratedClass*, CXmlWriter*,
                                   bool) const {
    ThrowNotAvailable(L"CElementInfo::ElementToXmlCls");
}

bool CElementInfo::ElementToXmlCol(const CXmlSerializationContext&, const CXmlGeneratedClass*, CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfo::ElementToXmlCol");
}

void CElementInfo::ThrowNotAvailable(const wchar_t* operation) {
    throw CQxException(std::wstring(operation) + L" is not available yet");
}

}  // namespace QxXmlLib10Data

#include <qxxml/metadata/ElementInfoAll.h>

#include <qxxml/metadata/detail/OrEmpty.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>

namespace QxXmlLib10Data {

using detail::OrEmpty;

CElementInfoAll::CElementInfoAll(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfo(name, elementNamespace, propertyIndex) {}

CElementInfoAll::CElementInfoAll(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable)
    : CElementInfo(name, elementNamespace, propertyIndex, nillable) {}

CElementInfoAll::CElementInfoAll(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                                 ItemType itemType, const wchar_t* formatOverride,
                                 CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                 const CPrimitiveRestrictions& restrictions)
    : CElementInfo(name, elementNamespace, propertyIndex, nillable, itemType, formatOverride, whitespaceRule,
                   restrictions) {}

CElementInfoAll::~CElementInfoAll() = default;

bool CElementInfoAll::ValidateMandatory(bool found, bool mandatoryCheck) const {
    if (!found && mandatoryCheck) ThrowMandatoryMissing();
    return found;
}

void CElementInfoAll::ThrowMandatoryMissing() const {
    throw QxXmlLib10::CQxValidationException(
        QxXmlLib10::FormatString(L"Failed to find the mandatory element [%s]", m_strElementName.c_str()));
}

CElementInfoAllCol::CElementInfoAllCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfoAll(name, elementNamespace, propertyIndex) {}

CElementInfoAllCol::~CElementInfoAllCol() = default;

bool CElementInfoAllCol::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*, CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllCol::ElementToXml");
}

bool CElementInfoAllCol::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                        CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoAllCol::ElementFromXml");
}

CElementInfoAllPrimMnd::CElementInfoAllPrimMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                               bool nillable, ItemType itemType, const wchar_t* formatOverride,
                                               CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                               const CPrimitiveRestrictions& restrictions)
    : CElementInfoAll(name, elementNamespace, propertyIndex, nillable, itemType, formatOverride, whitespaceRule,
                      restrictions) {}

CElementInfoAllPrimMnd::~CElementInfoAllPrimMnd() = default;

bool CElementInfoAllPrimMnd::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                          CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllPrimMnd::ElementToXml");
}

bool CElementInfoAllPrimMnd::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                            CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoAllPrimMnd::ElementFromXml");
}

bool CElementInfoAllPrimMnd::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool found,
                                      bool mandatoryCheck) const {
    return ValidateMandatory(found, mandatoryCheck);
}

CElementInfoAllPrimOpt::CElementInfoAllPrimOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                               bool nillable, ItemType itemType, const wchar_t* formatOverride,
                                               CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                               const CPrimitiveRestrictions& restrictions)
    : CElementInfoAll(name, elementNamespace, propertyIndex, nillable, itemType, formatOverride, whitespaceRule,
                      restrictions) {}

CElementInfoAllPrimOpt::~CElementInfoAllPrimOpt() = default;

bool CElementInfoAllPrimOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                          CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllPrimOpt::ElementToXml");
}

bool CElementInfoAllPrimOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                            CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoAllPrimOpt::ElementFromXml");
}

bool CElementInfoAllPrimOpt::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

CElementInfoAllPrimCol::CElementInfoAllPrimCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfoAllCol(name, elementNamespace, propertyIndex) {}

CElementInfoAllPrimCol::~CElementInfoAllPrimCol() = default;

bool CElementInfoAllPrimCol::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

CElementInfoAllEnumMnd::CElementInfoAllEnumMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                               bool nillable, EnumToStringFn enumToString,
                                               EnumFromStringFn enumFromString)
    : CElementInfoAll(name, elementNamespace, propertyIndex, nillable),
      m_pfnEnumToString(enumToString),
      m_pfnEnumFromString(enumFromString) {}

CElementInfoAllEnumMnd::~CElementInfoAllEnumMnd() = default;

bool CElementInfoAllEnumMnd::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                          CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllEnumMnd::ElementToXml");
}

bool CElementInfoAllEnumMnd::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                            CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoAllEnumMnd::ElementFromXml");
}

bool CElementInfoAllEnumMnd::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool found,
                                      bool mandatoryCheck) const {
    return ValidateMandatory(found, mandatoryCheck);
}

CElementInfoAllEnumOpt::CElementInfoAllEnumOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                               bool nillable, EnumToStringFn enumToString,
                                               EnumFromStringFn enumFromString)
    : CElementInfoAll(name, elementNamespace, propertyIndex, nillable),
      m_pfnEnumToString(enumToString),
      m_pfnEnumFromString(enumFromString) {}

CElementInfoAllEnumOpt::~CElementInfoAllEnumOpt() = default;

bool CElementInfoAllEnumOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                          CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllEnumOpt::ElementToXml");
}

bool CElementInfoAllEnumOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                            CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoAllEnumOpt::ElementFromXml");
}

bool CElementInfoAllEnumOpt::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

CElementInfoAllEnumCol::CElementInfoAllEnumCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfoAll(name, elementNamespace, propertyIndex) {}

CElementInfoAllEnumCol::~CElementInfoAllEnumCol() = default;

CElementInfoAllClsMnd::CElementInfoAllClsMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                             XmlElementType elementType, CreateObjectFn createObject, int classId,
                                             bool required)
    : CElementInfoAll(name, elementNamespace, propertyIndex),
      m_elementType(elementType),
      m_pfnCreateObject(createObject),
      m_iClassId(classId),
      m_bRequired(required) {}

CElementInfoAllClsMnd::~CElementInfoAllClsMnd() = default;

bool CElementInfoAllClsMnd::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                         CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllClsMnd::ElementToXml");
}

bool CElementInfoAllClsMnd::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                           CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoAllClsMnd::ElementFromXml");
}

bool CElementInfoAllClsMnd::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool found,
                                     bool mandatoryCheck) const {
    if (found || !mandatoryCheck) return found;
    // An element child that is not required may stay absent; a pseudo element or a
    // required child may not.
    if (m_elementType != XmlElementType_PseudoElement && !m_bRequired) return true;
    ThrowMandatoryMissing();
}

void CElementInfoAllClsMnd::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                      CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllClsMnd::PseudoChildAttributeToXml");
}

CElementInfoAllClsOpt::CElementInfoAllClsOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                             XmlElementType elementType, CreateObjectFn createObject, int classId)
    : CElementInfoAll(name, elementNamespace, propertyIndex),
      m_elementType(elementType),
      m_pfnCreateObject(createObject),
      m_iClassId(classId) {}

CElementInfoAllClsOpt::~CElementInfoAllClsOpt() = default;

bool CElementInfoAllClsOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                         CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllClsOpt::ElementToXml");
}

bool CElementInfoAllClsOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                           CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoAllClsOpt::ElementFromXml");
}

bool CElementInfoAllClsOpt::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

void CElementInfoAllClsOpt::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                      CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllClsOpt::PseudoChildAttributeToXml");
}

CElementInfoAllClsCol::CElementInfoAllClsCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                             XmlElementType elementType)
    : CElementInfoAllCol(name, elementNamespace, propertyIndex), m_elementType(elementType) {}

CElementInfoAllClsCol::~CElementInfoAllClsCol() = default;

bool CElementInfoAllClsCol::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

void CElementInfoAllClsCol::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                      CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllClsCol::PseudoChildAttributeToXml");
}

CElementInfoAllAbsClsMnd::CElementInfoAllAbsClsMnd(const wchar_t* name, const wchar_t* elementNamespace,
                                                   int propertyIndex, XmlElementType elementType,
                                                   CreateFromElementFn createFromElement, int classId)
    : CElementInfoAll(name, elementNamespace, propertyIndex),
      m_elementType(elementType),
      m_pfnCreateFromElement(createFromElement),
      m_iClassId(classId) {}

CElementInfoAllAbsClsMnd::~CElementInfoAllAbsClsMnd() = default;

bool CElementInfoAllAbsClsMnd::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                            CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllAbsClsMnd::ElementToXml");
}

bool CElementInfoAllAbsClsMnd::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                              CXmlElement**, const wchar_t*, XmlElementType) {
    throw QxXmlLib10::CQxException(
        L"CElementInfoAllAbsClsMnd::ElementFromXml, has not been implemented fully, contact qxxml-support@example.org");
}

bool CElementInfoAllAbsClsMnd::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool found,
                                        bool mandatoryCheck) const {
    return ValidateMandatory(found, mandatoryCheck);
}

void CElementInfoAllAbsClsMnd::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                         CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllAbsClsMnd::PseudoChildAttributeToXml");
}

CElementInfoAllAbsClsOpt::CElementInfoAllAbsClsOpt(const wchar_t* name, const wchar_t* elementNamespace,
                                                   int propertyIndex, XmlElementType elementType,
                                                   CreateFromElementFn createFromElement)
    : CElementInfoAll(name, elementNamespace, propertyIndex),
      m_elementType(elementType),
      m_pfnCreateFromElement(createFromElement) {}

CElementInfoAllAbsClsOpt::~CElementInfoAllAbsClsOpt() = default;

bool CElementInfoAllAbsClsOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                            CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllAbsClsOpt::ElementToXml");
}

bool CElementInfoAllAbsClsOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                              CXmlElement**, const wchar_t*, XmlElementType) {
    throw QxXmlLib10::CQxException(
        L"CElementInfoAllAbsClsOpt::ElementFromXml, has not been implemented fully, contact qxxml-support@example.org");
}

bool CElementInfoAllAbsClsOpt::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

void CElementInfoAllAbsClsOpt::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                         CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllAbsClsOpt::PseudoChildAttributeToXml");
}

CElementInfoAllAbsClsCol::CElementInfoAllAbsClsCol(const wchar_t* name, const wchar_t* elementNamespace,
                                                   int propertyIndex, XmlElementType elementType)
    : CElementInfoAllCol(name, elementNamespace, propertyIndex), m_elementType(elementType) {}

CElementInfoAllAbsClsCol::~CElementInfoAllAbsClsCol() = default;

bool CElementInfoAllAbsClsCol::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

void CElementInfoAllAbsClsCol::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                         CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllAbsClsCol::PseudoChildAttributeToXml");
}

CElementInfoAllUntpdMnd::CElementInfoAllUntpdMnd(const wchar_t* name, const wchar_t* elementNamespace,
                                                 int propertyIndex, const wchar_t* namespaceConstraint,
                                                 const wchar_t* targetNamespace)
    : CElementInfoAll(name, elementNamespace, propertyIndex),
      m_strNamespaceConstraint(OrEmpty(namespaceConstraint)),
      m_strTargetNamespace(OrEmpty(targetNamespace)) {}

CElementInfoAllUntpdMnd::~CElementInfoAllUntpdMnd() = default;

bool CElementInfoAllUntpdMnd::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                           CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllUntpdMnd::ElementToXml");
}

bool CElementInfoAllUntpdMnd::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                             CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoAllUntpdMnd::ElementFromXml");
}

bool CElementInfoAllUntpdMnd::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool found,
                                       bool mandatoryCheck) const {
    return ValidateMandatory(found, mandatoryCheck);
}

CElementInfoAllUntpdOpt::CElementInfoAllUntpdOpt(const wchar_t* name, const wchar_t* elementNamespace,
                                                 int propertyIndex, const wchar_t* namespaceConstraint,
                                                 const wchar_t* targetNamespace)
    : CElementInfoAll(name, elementNamespace, propertyIndex),
      m_strNamespaceConstraint(OrEmpty(namespaceConstraint)),
      m_strTargetNamespace(OrEmpty(targetNamespace)) {}

CElementInfoAllUntpdOpt::~CElementInfoAllUntpdOpt() = default;

bool CElementInfoAllUntpdOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                           CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoAllUntpdOpt::ElementToXml");
}

bool CElementInfoAllUntpdOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                             CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoAllUntpdOpt::ElementFromXml");
}

bool CElementInfoAllUntpdOpt::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

CElementInfoAllUntpdCol::CElementInfoAllUntpdCol(const wchar_t* name, const wchar_t* elementNamespace,
                                                 int propertyIndex)
    : CElementInfoAllCol(name, elementNamespace, propertyIndex) {}

CElementInfoAllUntpdCol::~CElementInfoAllUntpdCol() = default;

bool CElementInfoAllUntpdCol::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

CElementInfoAllNonCol::CElementInfoAllNonCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfoAll(name, elementNamespace, propertyIndex) {}

CElementInfoAllNonCol::~CElementInfoAllNonCol() = default;

}  // namespace QxXmlLib10Data

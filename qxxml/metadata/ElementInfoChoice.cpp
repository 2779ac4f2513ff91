#include <qxxml/metadata/ElementInfoChoice.h>

#include <qxxml/metadata/detail/OrEmpty.h>
#include <qxxml/support/QxException.h>

namespace QxXmlLib10Data {

using detail::OrEmpty;

CElementInfoChoice::CElementInfoChoice(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfo(name, elementNamespace, propertyIndex) {}

CElementInfoChoice::CElementInfoChoice(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                       bool nillable)
    : CElementInfo(name, elementNamespace, propertyIndex, nillable) {}

CElementInfoChoice::CElementInfoChoice(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                       bool nillable, ItemType itemType, const wchar_t* formatOverride,
                                       CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                       const CPrimitiveRestrictions& restrictions)
    : CElementInfo(name, elementNamespace, propertyIndex, nillable, itemType, formatOverride, whitespaceRule,
                   restrictions) {}

CElementInfoChoice::~CElementInfoChoice() = default;

bool CElementInfoChoice::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    throw QxXmlLib10::CQxException(L"Not implemented, should never be called");
}

CElementInfoChoiceCol::CElementInfoChoiceCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfoChoice(name, elementNamespace, propertyIndex) {}

CElementInfoChoiceCol::~CElementInfoChoiceCol() = default;

bool CElementInfoChoiceCol::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                         CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoChoiceCol::ElementToXml");
}

bool CElementInfoChoiceCol::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                           CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoChoiceCol::ElementFromXml");
}

CElementInfoChoicePrimOpt::CElementInfoChoicePrimOpt(const wchar_t* name, const wchar_t* elementNamespace,
                                                     int propertyIndex, bool nillable, ItemType itemType,
                                                     const wchar_t* formatOverride,
                                                     CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                                     const CPrimitiveRestrictions& restrictions)
    : CElementInfoChoice(name, elementNamespace, propertyIndex, nillable, itemType, formatOverride, whitespaceRule,
                         restrictions) {}

CElementInfoChoicePrimOpt::~CElementInfoChoicePrimOpt() = default;

bool CElementInfoChoicePrimOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                             CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoChoicePrimOpt::ElementToXml");
}

bool CElementInfoChoicePrimOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                               CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoChoicePrimOpt::ElementFromXml");
}

CElementInfoChoicePrimCol::CElementInfoChoicePrimCol(const wchar_t* name, const wchar_t* elementNamespace,
                                                     int propertyIndex)
    : CElementInfoChoiceCol(name, elementNamespace, propertyIndex) {}

CElementInfoChoicePrimCol::~CElementInfoChoicePrimCol() = default;

CElementInfoChoiceEnumOpt::CElementInfoChoiceEnumOpt(const wchar_t* name, const wchar_t* elementNamespace,
                                                     int propertyIndex, bool nillable, EnumToStringFn enumToString,
                                                     EnumFromStringFn enumFromString)
    : CElementInfoChoice(name, elementNamespace, propertyIndex, nillable),
      m_pfnEnumToString(enumToString),
      m_pfnEnumFromString(enumFromString) {}

CElementInfoChoiceEnumOpt::~CElementInfoChoiceEnumOpt() = default;

bool CElementInfoChoiceEnumOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                             CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoChoiceEnumOpt::ElementToXml");
}

bool CElementInfoChoiceEnumOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                               CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoChoiceEnumOpt::ElementFromXml");
}

CElementInfoChoiceEnumCol::CElementInfoChoiceEnumCol(const wchar_t* name, const wchar_t* elementNamespace,
                                                     int propertyIndex)
    : CElementInfoChoiceCol(name, elementNamespace, propertyIndex) {}

CElementInfoChoiceEnumCol::~CElementInfoChoiceEnumCol() = default;

CElementInfoChoiceClsOpt::CElementInfoChoiceClsOpt(const wchar_t* name, const wchar_t* elementNamespace,
                                                   int propertyIndex, XmlElementType elementType,
                                                   CreateObjectFn createObject, int classId)
    : CElementInfoChoice(name, elementNamespace, propertyIndex),
      m_elementType(elementType),
      m_pfnCreateObject(createObject),
      m_iClassId(classId) {}

CElementInfoChoiceClsOpt::~CElementInfoChoiceClsOpt() = default;

bool CElementInfoChoiceClsOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                            CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoChoiceClsOpt::ElementToXml");
}

bool CElementInfoChoiceClsOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                              CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoChoiceClsOpt::ElementFromXml");
}

void CElementInfoChoiceClsOpt::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                         CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoChoiceClsOpt::PseudoChildAttributeToXml");
}

CElementInfoChoiceClsCol::CElementInfoChoiceClsCol(const wchar_t* name, const wchar_t* elementNamespace,
                                                   int propertyIndex, XmlElementType elementType)
    : CElementInfoChoiceCol(name, elementNamespace, propertyIndex), m_elementType(elementType) {}

CElementInfoChoiceClsCol::~CElementInfoChoiceClsCol() = default;

void CElementInfoChoiceClsCol::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                         CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoChoiceClsCol::PseudoChildAttributeToXml");
}

CElementInfoChoiceAbsClsOpt::CElementInfoChoiceAbsClsOpt(const wchar_t* name, const wchar_t* elementNamespace,
                                                         int propertyIndex, XmlElementType elementType,
                                                         CreateFromElementFn createFromElement)
    : CElementInfoChoice(name, elementNamespace, propertyIndex),
      m_elementType(elementType),
      m_pfnCreateFromElement(createFromElement) {}

CElementInfoChoiceAbsClsOpt::~CElementInfoChoiceAbsClsOpt() = default;

bool CElementInfoChoiceAbsClsOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                               CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoChoiceAbsClsOpt::ElementToXml");
}

bool CElementInfoChoiceAbsClsOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                                 CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoChoiceAbsClsOpt::ElementFromXml");
}

void CElementInfoChoiceAbsClsOpt::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                            CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoChoiceAbsClsOpt::PseudoChildAttributeToXml");
}

CElementInfoChoiceAbsClsCol::CElementInfoChoiceAbsClsCol(const wchar_t* name, const wchar_t* elementNamespace,
                                                         int propertyIndex, XmlElementType elementType)
    : CElementInfoChoiceCol(name, elementNamespace, propertyIndex), m_elementType(elementType) {}

CElementInfoChoiceAbsClsCol::~CElementInfoChoiceAbsClsCol() = default;

void CElementInfoChoiceAbsClsCol::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                            CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoChoiceAbsClsCol::PseudoChildAttributeToXml");
}

CElementInfoChoiceUntpdOpt::CElementInfoChoiceUntpdOpt(const wchar_t* name, const wchar_t* elementNamespace,
                                                       int propertyIndex, const wchar_t* namespaceConstraint,
                                                       const wchar_t* targetNamespace)
    : CElementInfoChoice(name, elementNamespace, propertyIndex),
      m_strNamespaceConstraint(OrEmpty(namespaceConstraint)),
      m_strTargetNamespace(OrEmpty(targetNamespace)) {}

CElementInfoChoiceUntpdOpt::~CElementInfoChoiceUntpdOpt() = default;

bool CElementInfoChoiceUntpdOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                              CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoChoiceUntpdOpt::ElementToXml");
}

bool CElementInfoChoiceUntpdOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                                CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoChoiceUntpdOpt::ElementFromXml");
}

CElementInfoChoiceUntpdCol::CElementInfoChoiceUntpdCol(const wchar_t* name, const wchar_t* elementNamespace,
                                                       int propertyIndex)
    : CElementInfoChoiceCol(name, elementNamespace, propertyIndex) {}

CElementInfoChoiceUntpdCol::~CElementInfoChoiceUntpdCol() = default;

bool CElementInfoChoiceUntpdCol::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                                CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoChoiceUntpdCol::ElementFromXml");
}

}  // namespace QxXmlLib10Data

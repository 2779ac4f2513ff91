#include <qxxml/metadata/ElementInfoSeq.h>

#include <qxxml/metadata/detail/OrEmpty.h>
#include <qxxml/support/QxException.h>

namespace QxXmlLib10Data {

using detail::OrEmpty;

CElementInfoSeq::CElementInfoSeq(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfo(name, elementNamespace, propertyIndex) {}

CElementInfoSeq::CElementInfoSeq(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable)
    : CElementInfo(name, elementNamespace, propertyIndex, nillable) {}

CElementInfoSeq::CElementInfoSeq(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                                 ItemType itemType, const wchar_t* formatOverride,
                                 CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                 const CPrimitiveRestrictions& restrictions)
    : CElementInfo(name, elementNamespace, propertyIndex, nillable, itemType, formatOverride, whitespaceRule,
                   restrictions) {}

CElementInfoSeq::~CElementInfoSeq() = default;

bool CElementInfoSeq::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    throw QxXmlLib10::CQxException(L"Not implemented, should never be called");
}

CElementInfoSeqCol::CElementInfoSeqCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfoSeq(name, elementNamespace, propertyIndex) {}

CElementInfoSeqCol::~CElementInfoSeqCol() = default;

bool CElementInfoSeqCol::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*, CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqCol::ElementToXml");
}

bool CElementInfoSeqCol::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                        CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoSeqCol::ElementFromXml");
}

CElementInfoSeqPrimMnd::CElementInfoSeqPrimMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                               bool nillable, ItemType itemType, const wchar_t* formatOverride,
                                               CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                               const CPrimitiveRestrictions& restrictions)
    : CElementInfoSeq(name, elementNamespace, propertyIndex, nillable, itemType, formatOverride, whitespaceRule,
                      restrictions) {}

CElementInfoSeqPrimMnd::~CElementInfoSeqPrimMnd() = default;

bool CElementInfoSeqPrimMnd::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                          CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqPrimMnd::ElementToXml");
}

bool CElementInfoSeqPrimMnd::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                            CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoSeqPrimMnd::ElementFromXml");
}

CElementInfoSeqPrimOpt::CElementInfoSeqPrimOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                               bool nillable, ItemType itemType, const wchar_t* formatOverride,
                                               CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                               const CPrimitiveRestrictions& restrictions)
    : CElementInfoSeq(name, elementNamespace, propertyIndex, nillable, itemType, formatOverride, whitespaceRule,
                      restrictions) {}

CElementInfoSeqPrimOpt::~CElementInfoSeqPrimOpt() = default;

bool CElementInfoSeqPrimOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                          CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqPrimOpt::ElementToXml");
}

bool CElementInfoSeqPrimOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                            CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoSeqPrimOpt::ElementFromXml");
}

CElementInfoSeqPrimCol::CElementInfoSeqPrimCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfoSeqCol(name, elementNamespace, propertyIndex) {}

CElementInfoSeqPrimCol::~CElementInfoSeqPrimCol() = default;

CElementInfoSeqEnumMnd::CElementInfoSeqEnumMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                               bool nillable, EnumToStringFn enumToString,
                                               EnumFromStringFn enumFromString)
    : CElementInfoSeq(name, elementNamespace, propertyIndex, nillable),
      m_pfnEnumToString(enumToString),
      m_pfnEnumFromString(enumFromString) {}

CElementInfoSeqEnumMnd::~CElementInfoSeqEnumMnd() = default;

bool CElementInfoSeqEnumMnd::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                          CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqEnumMnd::ElementToXml");
}

bool CElementInfoSeqEnumMnd::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                            CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoSeqEnumMnd::ElementFromXml");
}

CElementInfoSeqEnumOpt::CElementInfoSeqEnumOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                               bool nillable, EnumToStringFn enumToString,
                                               EnumFromStringFn enumFromString)
    : CElementInfoSeq(name, elementNamespace, propertyIndex, nillable),
      m_pfnEnumToString(enumToString),
      m_pfnEnumFromString(enumFromString) {}

CElementInfoSeqEnumOpt::~CElementInfoSeqEnumOpt() = default;

bool CElementInfoSeqEnumOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                          CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqEnumOpt::ElementToXml");
}

bool CElementInfoSeqEnumOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                            CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoSeqEnumOpt::ElementFromXml");
}

CElementInfoSeqEnumCol::CElementInfoSeqEnumCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfoSeqCol(name, elementNamespace, propertyIndex) {}

CElementInfoSeqEnumCol::~CElementInfoSeqEnumCol() = default;

CElementInfoSeqClsMnd::CElementInfoSeqClsMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                             XmlElementType elementType, CreateObjectFn createObject, int classId,
                                             bool required)
    : CElementInfoSeq(name, elementNamespace, propertyIndex),
      m_elementType(elementType),
      m_pfnCreateObject(createObject),
      m_iClassId(classId),
      m_bRequired(required) {}

CElementInfoSeqClsMnd::~CElementInfoSeqClsMnd() = default;

bool CElementInfoSeqClsMnd::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                         CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqClsMnd::ElementToXml");
}

bool CElementInfoSeqClsMnd::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                           CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoSeqClsMnd::ElementFromXml");
}

void CElementInfoSeqClsMnd::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                      CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqClsMnd::PseudoChildAttributeToXml");
}

CElementInfoSeqClsOpt::CElementInfoSeqClsOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                             XmlElementType elementType, CreateObjectFn createObject, int classId)
    : CElementInfoSeq(name, elementNamespace, propertyIndex),
      m_elementType(elementType),
      m_pfnCreateObject(createObject),
      m_iClassId(classId) {}

CElementInfoSeqClsOpt::~CElementInfoSeqClsOpt() = default;

bool CElementInfoSeqClsOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                         CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqClsOpt::ElementToXml");
}

bool CElementInfoSeqClsOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                           CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoSeqClsOpt::ElementFromXml");
}

void CElementInfoSeqClsOpt::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                      CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqClsOpt::PseudoChildAttributeToXml");
}

CElementInfoSeqClsCol::CElementInfoSeqClsCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                             XmlElementType elementType)
    : CElementInfoSeqCol(name, elementNamespace, propertyIndex), m_elementType(elementType) {}

CElementInfoSeqClsCol::~CElementInfoSeqClsCol() = default;

void CElementInfoSeqClsCol::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                      CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqClsCol::PseudoChildAttributeToXml");
}

CElementInfoSeqAbsClsMnd::CElementInfoSeqAbsClsMnd(const wchar_t* name, const wchar_t* elementNamespace,
                                                   int propertyIndex, XmlElementType elementType,
                                                   CreateFromElementFn createFromElement)
    : CElementInfoSeq(name, elementNamespace, propertyIndex),
      m_elementType(elementType),
      m_pfnCreateFromElement(createFromElement) {}

CElementInfoSeqAbsClsMnd::~CElementInfoSeqAbsClsMnd() = default;

bool CElementInfoSeqAbsClsMnd::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                            CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqAbsClsMnd::ElementToXml");
}

bool CElementInfoSeqAbsClsMnd::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                              CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoSeqAbsClsMnd::ElementFromXml");
}

void CElementInfoSeqAbsClsMnd::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                         CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqAbsClsMnd::PseudoChildAttributeToXml");
}

CElementInfoSeqAbsClsOpt::CElementInfoSeqAbsClsOpt(const wchar_t* name, const wchar_t* elementNamespace,
                                                   int propertyIndex, XmlElementType elementType,
                                                   CreateFromElementFn createFromElement)
    : CElementInfoSeq(name, elementNamespace, propertyIndex),
      m_elementType(elementType),
      m_pfnCreateFromElement(createFromElement) {}

CElementInfoSeqAbsClsOpt::~CElementInfoSeqAbsClsOpt() = default;

bool CElementInfoSeqAbsClsOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                            CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqAbsClsOpt::ElementToXml");
}

bool CElementInfoSeqAbsClsOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                              CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoSeqAbsClsOpt::ElementFromXml");
}

void CElementInfoSeqAbsClsOpt::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                         CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqAbsClsOpt::PseudoChildAttributeToXml");
}

CElementInfoSeqAbsClsCol::CElementInfoSeqAbsClsCol(const wchar_t* name, const wchar_t* elementNamespace,
                                                   int propertyIndex, XmlElementType elementType)
    : CElementInfoSeqCol(name, elementNamespace, propertyIndex), m_elementType(elementType) {}

CElementInfoSeqAbsClsCol::~CElementInfoSeqAbsClsCol() = default;

void CElementInfoSeqAbsClsCol::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                                         CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqAbsClsCol::PseudoChildAttributeToXml");
}

CElementInfoSeqUntpdMnd::CElementInfoSeqUntpdMnd(const wchar_t* name, const wchar_t* elementNamespace,
                                                 int propertyIndex, const wchar_t* namespaceConstraint,
                                                 const wchar_t* targetNamespace)
    : CElementInfoSeq(name, elementNamespace, propertyIndex),
      m_strNamespaceConstraint(OrEmpty(namespaceConstraint)),
      m_strTargetNamespace(OrEmpty(targetNamespace)) {}

CElementInfoSeqUntpdMnd::~CElementInfoSeqUntpdMnd() = default;

bool CElementInfoSeqUntpdMnd::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                           CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqUntpdMnd::ElementToXml");
}

bool CElementInfoSeqUntpdMnd::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                             CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoSeqUntpdMnd::ElementFromXml");
}

CElementInfoSeqUntpdOpt::CElementInfoSeqUntpdOpt(const wchar_t* name, const wchar_t* elementNamespace,
                                                 int propertyIndex, const wchar_t* namespaceConstraint,
                                                 const wchar_t* targetNamespace)
    : CElementInfoSeq(name, elementNamespace, propertyIndex),
      m_strNamespaceConstraint(OrEmpty(namespaceConstraint)),
      m_strTargetNamespace(OrEmpty(targetNamespace)) {}

CElementInfoSeqUntpdOpt::~CElementInfoSeqUntpdOpt() = default;

bool CElementInfoSeqUntpdOpt::ElementToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                           CXmlWriter*) const {
    ThrowNotAvailable(L"CElementInfoSeqUntpdOpt::ElementToXml");
}

bool CElementInfoSeqUntpdOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                             CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoSeqUntpdOpt::ElementFromXml");
}

CElementInfoSeqUntpdCol::CElementInfoSeqUntpdCol(const wchar_t* name, const wchar_t* elementNamespace,
                                                 int propertyIndex)
    : CElementInfoSeqCol(name, elementNamespace, propertyIndex) {}

CElementInfoSeqUntpdCol::~CElementInfoSeqUntpdCol() = default;

bool CElementInfoSeqUntpdCol::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                             CXmlElement**, const wchar_t*, XmlElementType) {
    ThrowNotAvailable(L"CElementInfoSeqUntpdCol::ElementFromXml");
}

CElementInfoSeqNonCol::CElementInfoSeqNonCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfoSeq(name, elementNamespace, propertyIndex) {}

CElementInfoSeqNonCol::~CElementInfoSeqNonCol() = default;

}  // namespace QxXmlLib10Data

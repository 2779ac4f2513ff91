#include <qxxml/metadata/ElementInfoAll.h>

#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/metadata/detail/DescriptorSupport.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>

namespace QxXmlLib10Data {

using QxXmlLib10::CSmartPtr;

// ------------------------------------------------------------------ group bases

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

bool CElementInfoAllCol::ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                      CXmlWriter* writer) const {
    return ElementToXmlCountedCol(context, object, writer);
}

bool CElementInfoAllCol::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                        CXmlElement* parent, CXmlElement** cursor, const wchar_t*, XmlElementType) {
    ReadContent(context, GetCollection(object).Get(), parent, cursor);
    return false;  // never found: the engine keeps offering it the elements that follow
}

// ------------------------------------------------------------------ values

bool CElementInfoAllPrimMnd::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool found,
                                      bool mandatoryCheck) const {
    return ValidateMandatory(found, mandatoryCheck);
}

bool CElementInfoAllPrimOpt::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

bool CElementInfoAllPrimCol::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

bool CElementInfoAllEnumMnd::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool found,
                                      bool mandatoryCheck) const {
    return ValidateMandatory(found, mandatoryCheck);
}

bool CElementInfoAllEnumOpt::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

CElementInfoAllEnumCol::CElementInfoAllEnumCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfoAll(name, elementNamespace, propertyIndex) {}

// ------------------------------------------------------------------ child objects

bool CElementInfoAllClsMnd::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                           CXmlElement* parent, CXmlElement** cursor, const wchar_t*, XmlElementType) {
    if (HasOwnElement()) {
        if (!IsThisElement(context, *cursor)) return false;
        ReadOwnElement(context, ExistingChild(object).Get(), cursor, false);
        return true;
    }
    return ReadContent(context, ExistingChild(object).Get(), parent, cursor);
}

bool CElementInfoAllClsMnd::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool found,
                                     bool mandatoryCheck) const {
    if (found || !mandatoryCheck) return found;
    // An element child that is not required may stay absent; a pseudo element or a
    // required child may not.
    if (m_elementType != XmlElementType_PseudoElement && !m_bRequired) return true;
    ThrowMandatoryMissing();
}

bool CElementInfoAllClsOpt::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                           CXmlElement* parent, CXmlElement** cursor, const wchar_t*, XmlElementType) {
    return ReadNewChild(context, object, parent, cursor);
}

bool CElementInfoAllClsOpt::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

bool CElementInfoAllClsCol::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

CElementInfoAllAbsClsMnd::CElementInfoAllAbsClsMnd(const wchar_t* name, const wchar_t* elementNamespace,
                                                   int propertyIndex, XmlElementType elementType,
                                                   CreateFromElementFn createFromElement, int classId)
    : CElementInfoAbsClsKind(name, elementNamespace, propertyIndex, elementType, createFromElement),
      m_iClassId(classId) {}

bool CElementInfoAllAbsClsMnd::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                              CXmlElement**, const wchar_t*, XmlElementType) {
    throw QxXmlLib10::CQxException(
        L"CElementInfoAllAbsClsMnd::ElementFromXml, has not been implemented fully, contact qxxml-support@example.org");
}

bool CElementInfoAllAbsClsMnd::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool found,
                                        bool mandatoryCheck) const {
    return ValidateMandatory(found, mandatoryCheck);
}

bool CElementInfoAllAbsClsOpt::ElementFromXml(const CXmlSerializationContext&, CXmlGeneratedClass*, CXmlElement*,
                                              CXmlElement**, const wchar_t*, XmlElementType) {
    throw QxXmlLib10::CQxException(
        L"CElementInfoAllAbsClsOpt::ElementFromXml, has not been implemented fully, contact qxxml-support@example.org");
}

bool CElementInfoAllAbsClsOpt::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

bool CElementInfoAllAbsClsCol::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

// ------------------------------------------------------------------ untyped members

bool CElementInfoAllUntpdMnd::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                             CXmlElement* parent, CXmlElement** cursor, const wchar_t* parentNamespace,
                                             XmlElementType) {
    return *cursor && ReadUntyped(context, ExistingElement(object, parentNamespace).Get(), parent, cursor);
}

bool CElementInfoAllUntpdMnd::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool found,
                                       bool mandatoryCheck) const {
    return ValidateMandatory(found, mandatoryCheck);
}

bool CElementInfoAllUntpdOpt::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

bool CElementInfoAllUntpdCol::Validate(const CXmlSerializationContext&, const CXmlGeneratedClass*, bool, bool) const {
    return true;
}

CElementInfoAllNonCol::CElementInfoAllNonCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfoAll(name, elementNamespace, propertyIndex) {}

}  // namespace QxXmlLib10Data

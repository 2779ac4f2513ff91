#include <qxxml/metadata/ElementInfoSeq.h>

#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/xmlin/XmlElement.h>

namespace QxXmlLib10Data {

using QxXmlLib10::CQxValidationException;
using QxXmlLib10::CSmartPtr;
using QxXmlLib10::CXmlCollectionBase;
using QxXmlLib10::FormatString;

// ------------------------------------------------------------------ group bases

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

bool CElementInfoSeq::SeekMandatoryElement(const CXmlSerializationContext& context, CXmlElement** cursor,
                                           bool soft) const {
    for (;;) {
        if (IsThisElement(context, *cursor)) return true;
        if (!soft && context.GetIgnoreMissingMandatoryElements()) return false;
        if (!context.GetIgnoreUnknownElements() || !*cursor) {
            if (soft) return false;
            ThrowRequiredElementMissing();
        }
        *cursor = (*cursor)->GetNextSiblingElement();  // skip the unknown element
    }
}

void CElementInfoSeq::ThrowRequiredElementMissing() const {
    throw CQxValidationException(FormatString(L"Failed to find a required element [%s]", m_strElementName.c_str()));
}

CElementInfoSeqCol::CElementInfoSeqCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfoSeq(name, elementNamespace, propertyIndex) {}

CElementInfoSeqCol::~CElementInfoSeqCol() = default;

bool CElementInfoSeqCol::ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                      CXmlWriter* writer) const {
    return ElementToXmlCountedCol(context, object, writer);
}

bool CElementInfoSeqCol::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                        CXmlElement* parent, CXmlElement** cursor, const wchar_t*,
                                        XmlElementType callerElementType) {
    const CSmartPtr<CXmlCollectionBase> items = GetCollection(object);
    ReadContent(context, items.Get(), parent, cursor);
    return CheckCountRead(context, items.Get(), callerElementType);
}

bool CElementInfoSeqCol::CheckCountRead(const CXmlSerializationContext& context, const CXmlCollectionBase* items,
                                        XmlElementType callerElementType) {
    if (IsSoftMode(callerElementType)) return items->IsValidCount(context);
    items->ValidateCount(context);
    return true;
}

// ------------------------------------------------------------------ values

bool CElementInfoSeqPrimMnd::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                            CXmlElement*, CXmlElement** cursor, const wchar_t*,
                                            XmlElementType callerElementType) {
    const bool soft = IsSoftMode(callerElementType);
    // Not found: outside soft mode only when missing mandatory elements are ignored.
    if (!SeekMandatoryElement(context, cursor, soft)) return !soft;
    return ReadValue(object, cursor);
}

bool CElementInfoSeqPrimOpt::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                            CXmlElement* parent, CXmlElement** cursor, const wchar_t* parentNamespace,
                                            XmlElementType callerElementType) {
    CElementInfoPrimKind::ElementFromXml(context, object, parent, cursor, parentNamespace, callerElementType);
    return true;
}

bool CElementInfoSeqEnumMnd::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                            CXmlElement*, CXmlElement** cursor, const wchar_t*,
                                            XmlElementType callerElementType) {
    if (IsSoftMode(callerElementType) && !IsThisElement(context, *cursor)) return false;
    if (!SeekMandatoryElement(context, cursor, false)) return true;
    return ReadValue(object, cursor);
}

bool CElementInfoSeqEnumOpt::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                            CXmlElement* parent, CXmlElement** cursor, const wchar_t* parentNamespace,
                                            XmlElementType callerElementType) {
    CElementInfoEnumKind::ElementFromXml(context, object, parent, cursor, parentNamespace, callerElementType);
    return true;
}

// ------------------------------------------------------------------ child objects

bool CElementInfoSeqClsMnd::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                           CXmlElement* parent, CXmlElement** cursor, const wchar_t*,
                                           XmlElementType callerElementType) {
    const bool soft = IsSoftMode(callerElementType);
    if (HasOwnElement()) {
        if (soft && !IsThisElement(context, *cursor)) return false;
        if (!SeekMandatoryElement(context, cursor, false)) return true;
        ReadOwnElement(context, ExistingChild(object).Get(), cursor, false);
        return true;
    }
    if (m_bRequired) {
        if (*cursor && ReadContent(context, ExistingChild(object).Get(), parent, cursor)) return true;
        if (soft) return false;
        ThrowRequiredElementMissing();
    }
    // A group that may be empty: it may consume nothing, but an element nobody took is left to
    // the engine to skip when unknown elements are ignored.
    const bool atElement = *cursor != nullptr;
    const bool consumed = ReadContent(context, ExistingChild(object).Get(), parent, cursor);
    return !(atElement && !consumed && context.GetIgnoreUnknownElements() && !soft);
}

bool CElementInfoSeqClsOpt::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                           CXmlElement* parent, CXmlElement** cursor, const wchar_t*, XmlElementType) {
    ReadNewChild(context, object, parent, cursor);
    return true;
}

bool CElementInfoSeqAbsClsMnd::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                              CXmlElement*, CXmlElement** cursor, const wchar_t*,
                                              XmlElementType callerElementType) {
    const CSmartPtr<CXmlObjectBase> child = CreateChildFor(context, *cursor);
    if (!child) {
        if (IsSoftMode(callerElementType)) return false;
        throw CQxValidationException(
            FormatString(L"Failed to find a suitable substitution element for [%s]", m_strElementName.c_str()));
    }
    ReadOwnElement(context, child.Get(), cursor, false);
    StoreChild(object, child.Get());
    return true;
}

bool CElementInfoSeqAbsClsOpt::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                              CXmlElement*, CXmlElement** cursor, const wchar_t*, XmlElementType) {
    const CSmartPtr<CXmlObjectBase> child = CreateChildFor(context, *cursor);
    if (child) {
        ReadOwnElement(context, child.Get(), cursor, false);
        StoreChild(object, child.Get());
    }
    return true;
}

// ------------------------------------------------------------------ untyped and abstract members

bool CElementInfoSeqUntpdMnd::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                             CXmlElement* parent, CXmlElement** cursor, const wchar_t* parentNamespace,
                                             XmlElementType callerElementType) {
    if (!*cursor) ThrowRequiredElementMissing();
    if (ReadUntyped(context, ExistingElement(object, parentNamespace).Get(), parent, cursor)) return true;
    if (IsSoftMode(callerElementType)) return false;
    throw CQxValidationException(FormatString(L"Failed to find the required element from namespace [%s]",
                                              m_strElementNamespace.c_str()));
}

bool CElementInfoSeqUntpdOpt::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                             CXmlElement* parent, CXmlElement** cursor, const wchar_t* parentNamespace,
                                             XmlElementType) {
    if (*cursor) ReadNewElement(context, object, parent, cursor, parentNamespace);
    return true;
}

bool CElementInfoSeqUntpdCol::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                             CXmlElement* parent, CXmlElement** cursor, const wchar_t*,
                                             XmlElementType callerElementType) {
    const CSmartPtr<CXmlCollectionBase> items = GetCollection(object);
    ReadUntypedItems(context, items.Get(), parent, cursor);
    return CheckCountRead(context, items.Get(), callerElementType);
}

CElementInfoSeqNonCol::CElementInfoSeqNonCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfoSeq(name, elementNamespace, propertyIndex) {}

}  // namespace QxXmlLib10Data

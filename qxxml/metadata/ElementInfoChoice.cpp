#include <qxxml/metadata/ElementInfoChoice.h>

#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/support/QxException.h>

namespace QxXmlLib10Data {

using QxXmlLib10::CSmartPtr;
using QxXmlLib10::CXmlCollectionBase;

// ------------------------------------------------------------------ group bases

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

bool CElementInfoChoiceCol::ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                         CXmlWriter* writer) const {
    return ElementToXmlCol(context, object, writer);
}

bool CElementInfoChoiceCol::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                           CXmlElement* parent, CXmlElement** cursor, const wchar_t*,
                                           XmlElementType callerElementType) {
    const CSmartPtr<CXmlCollectionBase> items = GetCollection(object);
    CXmlElement* next = *cursor;
    if (!ReadContent(context, items.Get(), parent, &next)) return false;
    return AcceptItemsRead(context, items.Get(), cursor, next, callerElementType);
}

bool CElementInfoChoiceCol::AcceptItemsRead(const CXmlSerializationContext& context, const CXmlCollectionBase* items,
                                            CXmlElement** cursor, CXmlElement* next,
                                            XmlElementType callerElementType) {
    if (!IsSoftMode(callerElementType)) {
        *cursor = next;
        items->ValidateCount(context);
        return true;
    }
    // Soft: an invalid count leaves the cursor where it was (the items read stay).
    if (!items->IsValidCount(context)) return false;
    *cursor = next;
    return true;
}

// ------------------------------------------------------------------ values

// ------------------------------------------------------------------ child objects

bool CElementInfoChoiceClsOpt::ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                            CXmlWriter* writer) const {
    return ElementToXmlCls(context, object, writer, true);
}

bool CElementInfoChoiceClsOpt::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                              CXmlElement* parent, CXmlElement** cursor, const wchar_t*,
                                              XmlElementType) {
    // The chosen child is stored before it reads.
    if (HasOwnElement()) {
        if (!IsThisElement(context, *cursor)) return false;
        const CSmartPtr<CXmlObjectBase> child = CreateChild();
        StoreChild(object, child.Get());
        ReadOwnElement(context, child.Get(), cursor, true);  // an empty choice inside it is allowed
        return true;
    }
    if (!*cursor) return false;
    const CSmartPtr<CXmlObjectBase> child = CreateChild();
    StoreChild(object, child.Get());
    if (ReadContent(context, child.Get(), parent, cursor)) return true;
    StoreChild(object, nullptr);  // not this alternative after all
    return false;
}

bool CElementInfoChoiceAbsClsOpt::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                                 CXmlElement*, CXmlElement** cursor, const wchar_t*, XmlElementType) {
    if (!IsThisElement(context, *cursor)) return false;
    const CSmartPtr<CXmlObjectBase> child = CreateChildFor(context, *cursor);
    StoreChild(object, child.Get());  // a declined element clears the property
    if (!child) return false;
    ReadOwnElement(context, child.Get(), cursor, false);
    return true;
}

// ------------------------------------------------------------------ untyped members

bool CElementInfoChoiceUntpdOpt::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                                CXmlElement* parent, CXmlElement** cursor,
                                                const wchar_t* parentNamespace, XmlElementType) {
    if (!*cursor) return false;
    if (ReadNewElement(context, object, parent, cursor, parentNamespace)) return true;
    StoreChild(object, nullptr);  // not this alternative
    return false;
}

bool CElementInfoChoiceUntpdCol::ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                                CXmlElement* parent, CXmlElement** cursor, const wchar_t*,
                                                XmlElementType callerElementType) {
    const CSmartPtr<CXmlCollectionBase> items = GetCollection(object);
    CXmlElement* next = *cursor;
    if (!ReadUntypedItems(context, items.Get(), parent, &next)) return false;
    return AcceptItemsRead(context, items.Get(), cursor, next, callerElementType);
}

}  // namespace QxXmlLib10Data

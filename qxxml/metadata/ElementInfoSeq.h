// ElementInfoSeq.h - the element descriptors of a sequence (xs:sequence) content model.
//
// One descriptor per child element, in schema order; the writing engine writes them in
// table order and the reading engine lets each take its element(s) at the cursor:
//
//   new CElementInfoSeqPrimMnd(L"sku", L"urn:po", 0, false, ItemType_string, nullptr,
//                              CWhitespaceUtils::WhitespaceRule_Collapse, skuFacets);
//   new CElementInfoSeqClsOpt(L"shipTo", L"urn:po", 1, XmlElementType_Element,
//                             &CreatePoObject, kClassIdAddress);
//   new CElementInfoSeqPrimCol(L"comment", L"urn:po", 2);   // the property holds a collection
//
// A missing mandatory element is an error ("Failed to find a required element [%s]") unless
// the context ignores missing mandatory elements; with IgnoreUnknownElements, unknown
// elements in front of it are skipped. When the object being read is a pseudo element (soft
// mode) a missing mandatory element answers false instead, so the parent can try another way.
// CElementInfoSeqCol is the base of the repeated members: the property holds a collection
// that writes and reads its items, and its count is checked both ways.
#pragma once

#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/metadata/ElementInfoKinds.h>
#include <qxxml/support/Export.h>

namespace QxXmlLib10Data {

// Base of the sequence members. Validate belongs to all-groups only.
class QXXML_API CElementInfoSeq : public CElementInfo {
public:
    CElementInfoSeq(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoSeq(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable);
    CElementInfoSeq(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                    ItemType itemType, const wchar_t* formatOverride, CWhitespaceUtils::WhitespaceRule whitespaceRule,
                    const CPrimitiveRestrictions& restrictions);
    ~CElementInfoSeq() override;

    // CQxException "Not implemented, should never be called".
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;

protected:
    // The mandatory search: true once *cursor is this member's element. Unknown elements in
    // front of it are skipped when the context ignores unknown elements. Outside soft mode,
    // false (cursor unchanged) when the context ignores missing mandatory elements, and
    // CQxValidationException "Failed to find a required element [%s]" when the element cannot
    // be reached; in soft mode that case answers false (skipped elements stay skipped).
    bool SeekMandatoryElement(const CXmlSerializationContext& context, CXmlElement** cursor, bool soft) const;
    // CQxValidationException "Failed to find a required element [%s]".
    [[noreturn]] void ThrowRequiredElementMissing() const;
};

// Base of the repeated sequence members: the property holds a collection.
class QXXML_API CElementInfoSeqCol : public CElementInfoSeq {
public:
    CElementInfoSeqCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    ~CElementInfoSeqCol() override;

    // The count check (unless IgnoreInvalidCollectionCounts), then the items.
    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    // The collection reads the run of its elements; then its count is checked (throwing), or
    // in soft mode the answer is whether the count is valid.
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;

protected:
    // After the collection read: in soft mode whether the count is valid, otherwise the count
    // check (throwing) and true.
    static bool CheckCountRead(const CXmlSerializationContext& context, const QxXmlLib10::CXmlCollectionBase* items,
                               XmlElementType callerElementType);
};

QXXML_EXTERN_TEMPLATE(CElementInfoPrimKind<CElementInfoSeq>)
QXXML_EXTERN_TEMPLATE(CElementInfoEnumKind<CElementInfoSeq>)
QXXML_EXTERN_TEMPLATE(CElementInfoObjectKind<CElementInfoSeq>)
QXXML_EXTERN_TEMPLATE(CElementInfoClsKind<CElementInfoSeq>)
QXXML_EXTERN_TEMPLATE(CElementInfoClsMndKind<CElementInfoSeq>)
QXXML_EXTERN_TEMPLATE(CElementInfoAbsClsKind<CElementInfoSeq>)
QXXML_EXTERN_TEMPLATE(CElementInfoObjectColKind<CElementInfoSeqCol>)
QXXML_EXTERN_TEMPLATE(CElementInfoUntpdKind<CElementInfoSeq>)

// A mandatory primitive element: the mandatory search; in soft mode unknown elements are
// still skipped (with IgnoreUnknownElements) before it answers false.
class QXXML_API CElementInfoSeqPrimMnd : public CElementInfoPrimKind<CElementInfoSeq> {
public:
    using CElementInfoPrimKind::CElementInfoPrimKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// An optional primitive element: read when it is at the cursor; true either way.
class QXXML_API CElementInfoSeqPrimOpt : public CElementInfoPrimKind<CElementInfoSeq> {
public:
    using CElementInfoPrimKind::CElementInfoPrimKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// A repeated primitive element (a typed primitive collection).
class QXXML_API CElementInfoSeqPrimCol : public CElementInfoSeqCol {
public:
    using CElementInfoSeqCol::CElementInfoSeqCol;
};

// A mandatory enumeration element: the mandatory search; in soft mode false at once when
// the cursor element is not this member's.
class QXXML_API CElementInfoSeqEnumMnd : public CElementInfoEnumKind<CElementInfoSeq> {
public:
    using CElementInfoEnumKind::CElementInfoEnumKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// An optional enumeration element: read when it is at the cursor; true either way.
class QXXML_API CElementInfoSeqEnumOpt : public CElementInfoEnumKind<CElementInfoSeq> {
public:
    using CElementInfoEnumKind::CElementInfoEnumKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// A repeated enumeration element.
class QXXML_API CElementInfoSeqEnumCol : public CElementInfoSeqCol {
public:
    using CElementInfoSeqCol::CElementInfoSeqCol;
};

// A mandatory child object; reading fills the object the property holds. With an element of
// its own: the mandatory search (soft mode: false at once when it is not at the cursor). As a
// pseudo element: when required, it must consume something; otherwise it may consume nothing,
// except that with IgnoreUnknownElements (outside soft mode) an unconsumed element at the
// cursor answers false so that the engine skips it.
class QXXML_API CElementInfoSeqClsMnd : public CElementInfoClsMndKind<CElementInfoSeq> {
public:
    using CElementInfoClsMndKind::CElementInfoClsMndKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// An optional child object: a new object reads its element (or its content) and is stored
// when it took something; true either way.
class QXXML_API CElementInfoSeqClsOpt : public CElementInfoClsKind<CElementInfoSeq> {
public:
    using CElementInfoClsKind::CElementInfoClsKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// Repeated child objects.
class QXXML_API CElementInfoSeqClsCol : public CElementInfoObjectColKind<CElementInfoSeqCol> {
public:
    using CElementInfoObjectColKind::CElementInfoObjectColKind;
};

// A mandatory child of an abstract class; the factory chooses the class from the element.
// No matching element, or one the factory declines: CQxValidationException
// "Failed to find a suitable substitution element for [%s]" (soft mode: false).
class QXXML_API CElementInfoSeqAbsClsMnd : public CElementInfoAbsClsKind<CElementInfoSeq> {
public:
    using CElementInfoAbsClsKind::CElementInfoAbsClsKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// An optional child of an abstract class; an element the factory declines is left for the
// members after it.
class QXXML_API CElementInfoSeqAbsClsOpt : public CElementInfoAbsClsKind<CElementInfoSeq> {
public:
    using CElementInfoAbsClsKind::CElementInfoAbsClsKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// Repeated children of an abstract class.
class QXXML_API CElementInfoSeqAbsClsCol : public CElementInfoObjectColKind<CElementInfoSeqCol> {
public:
    using CElementInfoObjectColKind::CElementInfoObjectColKind;
};

// Mandatory untyped content (a named element or, as "AnyElement", a wildcard): the CElement
// the property holds reads the cursor element. No element left: CQxValidationException
// "Failed to find a required element [%s]" (also in soft mode); an element it does not take:
// "Failed to find the required element from namespace [%s]" (soft mode: false).
class QXXML_API CElementInfoSeqUntpdMnd : public CElementInfoUntpdKind<CElementInfoSeq> {
public:
    using CElementInfoUntpdKind::CElementInfoUntpdKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// Optional untyped content: a new CElement reads the cursor element and is stored when it
// took it; true either way.
class QXXML_API CElementInfoSeqUntpdOpt : public CElementInfoUntpdKind<CElementInfoSeq> {
public:
    using CElementInfoUntpdKind::CElementInfoUntpdKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// Repeated untyped content held in a CElementCol: a wildcard reads what its restriction
// allows, a named member the run of its elements (in the namespace of the first); then the
// count is checked as for every sequence collection.
class QXXML_API CElementInfoSeqUntpdCol : public CElementInfoSeqCol {
public:
    using CElementInfoSeqCol::CElementInfoSeqCol;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// Base for repeated content the generated code handles itself; abstract.
class QXXML_API CElementInfoSeqNonCol : public CElementInfoSeq {
public:
    CElementInfoSeqNonCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
};

}  // namespace QxXmlLib10Data

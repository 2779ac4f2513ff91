// ElementInfoChoice.h - the element descriptors of a choice (xs:choice) content model.
//
// Every alternative of a choice is optional by nature, so the family has Opt and Col members
// only. The writing engine writes the first alternative that has a value; the reading engine
// takes the first alternative that matches, so a member answers false when its element is not
// at the cursor:
//
//   new CElementInfoChoicePrimOpt(L"email", L"", 0, false, ItemType_string, nullptr,
//                                 CWhitespaceUtils::WhitespaceRule_Collapse, CPrimitiveRestrictions());
//   new CElementInfoChoiceClsOpt(L"postal", L"", 1, XmlElementType_Element, &CreateObject, kPostal);
//
// A child object chosen in a choice is stored before it reads, so a failure while reading
// leaves the half-read child in the property.
#pragma once

#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/metadata/ElementInfoKinds.h>
#include <qxxml/support/Export.h>

namespace QxXmlLib10Data {

// Base of the choice members. Validate belongs to all-groups only.
class QXXML_API CElementInfoChoice : public CElementInfo {
public:
    CElementInfoChoice(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoChoice(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable);
    CElementInfoChoice(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                       ItemType itemType, const wchar_t* formatOverride,
                       CWhitespaceUtils::WhitespaceRule whitespaceRule, const CPrimitiveRestrictions& restrictions);
    ~CElementInfoChoice() override;

    // CQxException "Not implemented, should never be called".
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// Base of the repeated choice members: the property holds a collection.
class QXXML_API CElementInfoChoiceCol : public CElementInfoChoice {
public:
    CElementInfoChoiceCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    ~CElementInfoChoiceCol() override;

    // The items, without a count check.
    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    // The collection reads the run of its elements; false when it took none. Otherwise the
    // count is checked (throwing); in soft mode an invalid count answers false with the cursor
    // unchanged (the items read stay in the collection).
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;

protected:
    // After a collection read that consumed something (up to `next`): the count check, or in
    // soft mode an invalid count answers false with the cursor unchanged.
    static bool AcceptItemsRead(const CXmlSerializationContext& context, const QxXmlLib10::CXmlCollectionBase* items,
                                CXmlElement** cursor, CXmlElement* next, XmlElementType callerElementType);
};

QXXML_EXTERN_TEMPLATE(CElementInfoPrimKind<CElementInfoChoice>)
QXXML_EXTERN_TEMPLATE(CElementInfoEnumKind<CElementInfoChoice>)
QXXML_EXTERN_TEMPLATE(CElementInfoObjectKind<CElementInfoChoice>)
QXXML_EXTERN_TEMPLATE(CElementInfoClsKind<CElementInfoChoice>)
QXXML_EXTERN_TEMPLATE(CElementInfoAbsClsKind<CElementInfoChoice>)
QXXML_EXTERN_TEMPLATE(CElementInfoObjectColKind<CElementInfoChoiceCol>)
QXXML_EXTERN_TEMPLATE(CElementInfoUntpdKind<CElementInfoChoice>)

// A primitive alternative.
class QXXML_API CElementInfoChoicePrimOpt : public CElementInfoPrimKind<CElementInfoChoice> {
public:
    using CElementInfoPrimKind::CElementInfoPrimKind;
};

// A repeated primitive alternative.
class QXXML_API CElementInfoChoicePrimCol : public CElementInfoChoiceCol {
public:
    using CElementInfoChoiceCol::CElementInfoChoiceCol;
};

// An enumeration alternative, held as an integer.
class QXXML_API CElementInfoChoiceEnumOpt : public CElementInfoEnumKind<CElementInfoChoice> {
public:
    using CElementInfoEnumKind::CElementInfoEnumKind;
};

// A repeated enumeration alternative.
class QXXML_API CElementInfoChoiceEnumCol : public CElementInfoChoiceCol {
public:
    using CElementInfoChoiceCol::CElementInfoChoiceCol;
};

// A child object of a generated class as an alternative. It is written as an optional choice
// item (an empty choice inside it is allowed) and, with an element of its own, read as one.
// As a pseudo element that consumes nothing it leaves the property null.
class QXXML_API CElementInfoChoiceClsOpt : public CElementInfoClsKind<CElementInfoChoice> {
public:
    using CElementInfoClsKind::CElementInfoClsKind;
    // ElementToXmlCls(true).
    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// Repeated child objects of a generated class as an alternative.
class QXXML_API CElementInfoChoiceClsCol : public CElementInfoObjectColKind<CElementInfoChoiceCol> {
public:
    using CElementInfoObjectColKind::CElementInfoObjectColKind;
};

// A child of an abstract class as an alternative. Whatever the factory gives for a matching
// element is stored, a null result included (which answers false).
class QXXML_API CElementInfoChoiceAbsClsOpt : public CElementInfoAbsClsKind<CElementInfoChoice> {
public:
    using CElementInfoAbsClsKind::CElementInfoAbsClsKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// Repeated children of an abstract class as an alternative.
class QXXML_API CElementInfoChoiceAbsClsCol : public CElementInfoObjectColKind<CElementInfoChoiceCol> {
public:
    using CElementInfoObjectColKind::CElementInfoObjectColKind;
};

// Untyped content as an alternative: a new CElement reads the cursor element and is stored
// when it took it; otherwise the property is cleared and the answer is false.
class QXXML_API CElementInfoChoiceUntpdOpt : public CElementInfoUntpdKind<CElementInfoChoice> {
public:
    using CElementInfoUntpdKind::CElementInfoUntpdKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// Repeated untyped content as an alternative, read as the sequence member reads it
// (ElementInfoSeq.h) and then accepted as every choice collection is.
class QXXML_API CElementInfoChoiceUntpdCol : public CElementInfoChoiceCol {
public:
    using CElementInfoChoiceCol::CElementInfoChoiceCol;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

}  // namespace QxXmlLib10Data

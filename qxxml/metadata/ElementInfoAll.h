// ElementInfoAll.h - the element descriptors of an all-group (xs:all) content model.
//
// The members of an all-group may appear in any order. The reading engine offers the cursor
// element to every member that has not been found yet (ElementFromXml answers whether this
// member took it), then asks each member's Validate whether its presence (or absence) is
// acceptable; mandatory members refuse to be absent:
//
//   new CElementInfoAllPrimMnd(L"id", L"", 0, false, ItemType_i4, nullptr,
//                              CWhitespaceUtils::WhitespaceRule_Collapse, CPrimitiveRestrictions());
//   new CElementInfoAllPrimOpt(L"note", L"", 1, true, ItemType_string, nullptr,
//                              CWhitespaceUtils::WhitespaceRule_Preserve, CPrimitiveRestrictions());
//
// Repeated members never mark themselves found (so the engine offers them every element) and
// always validate. The two abstract-class members write their child but cannot read it back.
#pragma once

#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/metadata/ElementInfoKinds.h>
#include <qxxml/support/Export.h>

namespace QxXmlLib10Data {

// Base of the all-group members.
class QXXML_API CElementInfoAll : public CElementInfo {
public:
    ~CElementInfoAll() override;

protected:
    CElementInfoAll(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoAll(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable);
    CElementInfoAll(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                    ItemType itemType, const wchar_t* formatOverride, CWhitespaceUtils::WhitespaceRule whitespaceRule,
                    const CPrimitiveRestrictions& restrictions);

    // The check of the mandatory members: `found` when present or when the check is off,
    // otherwise CQxValidationException "Failed to find the mandatory element [%s]".
    bool ValidateMandatory(bool found, bool mandatoryCheck) const;
    [[noreturn]] void ThrowMandatoryMissing() const;
};

// Base of the repeated all-group members: the property holds a collection. Validate is left
// to the members.
class QXXML_API CElementInfoAllCol : public CElementInfoAll {
public:
    CElementInfoAllCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    ~CElementInfoAllCol() override;

    // The count check (unless IgnoreInvalidCollectionCounts), then the items.
    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    // The collection reads the run of its elements from the cursor; always false (no count
    // check), so the member stays a candidate for later elements.
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

QXXML_EXTERN_TEMPLATE(CElementInfoPrimKind<CElementInfoAll>)
QXXML_EXTERN_TEMPLATE(CElementInfoEnumKind<CElementInfoAll>)
QXXML_EXTERN_TEMPLATE(CElementInfoObjectKind<CElementInfoAll>)
QXXML_EXTERN_TEMPLATE(CElementInfoClsKind<CElementInfoAll>)
QXXML_EXTERN_TEMPLATE(CElementInfoClsMndKind<CElementInfoAll>)
QXXML_EXTERN_TEMPLATE(CElementInfoAbsClsKind<CElementInfoAll>)
QXXML_EXTERN_TEMPLATE(CElementInfoObjectColKind<CElementInfoAllCol>)
QXXML_EXTERN_TEMPLATE(CElementInfoUntpdKind<CElementInfoAll>)

// A mandatory primitive element.
class QXXML_API CElementInfoAllPrimMnd : public CElementInfoPrimKind<CElementInfoAll> {
public:
    using CElementInfoPrimKind::CElementInfoPrimKind;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// An optional primitive element.
class QXXML_API CElementInfoAllPrimOpt : public CElementInfoPrimKind<CElementInfoAll> {
public:
    using CElementInfoPrimKind::CElementInfoPrimKind;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// A repeated primitive element.
class QXXML_API CElementInfoAllPrimCol : public CElementInfoAllCol {
public:
    using CElementInfoAllCol::CElementInfoAllCol;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// A mandatory enumeration element, held as an integer.
class QXXML_API CElementInfoAllEnumMnd : public CElementInfoEnumKind<CElementInfoAll> {
public:
    using CElementInfoEnumKind::CElementInfoEnumKind;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// An optional enumeration element, held as an integer.
class QXXML_API CElementInfoAllEnumOpt : public CElementInfoEnumKind<CElementInfoAll> {
public:
    using CElementInfoEnumKind::CElementInfoEnumKind;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// Base for a repeated enumeration element; abstract.
class QXXML_API CElementInfoAllEnumCol : public CElementInfoAll {
public:
    CElementInfoAllEnumCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
};

// A mandatory child object of a generated class; reading fills the object the property holds.
// Validate lets it be absent only when it is an optional element child (an element of its
// own that is not required).
class QXXML_API CElementInfoAllClsMnd : public CElementInfoClsMndKind<CElementInfoAll> {
public:
    using CElementInfoClsMndKind::CElementInfoClsMndKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// An optional child object of a generated class, created while reading.
class QXXML_API CElementInfoAllClsOpt : public CElementInfoClsKind<CElementInfoAll> {
public:
    using CElementInfoClsKind::CElementInfoClsKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// Repeated child objects of a generated class.
class QXXML_API CElementInfoAllClsCol : public CElementInfoObjectColKind<CElementInfoAllCol> {
public:
    using CElementInfoObjectColKind::CElementInfoObjectColKind;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// A mandatory child of an abstract class; written, but not read.
class QXXML_API CElementInfoAllAbsClsMnd : public CElementInfoAbsClsKind<CElementInfoAll> {
public:
    CElementInfoAllAbsClsMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                             XmlElementType elementType, CreateFromElementFn createFromElement, int classId);

    // CQxException "CElementInfoAllAbsClsMnd::ElementFromXml, has not been implemented fully,
    // contact ..." (a support address).
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;

protected:
    int m_iClassId;  // kept for the generated code; no operation reads it
};

// An optional child of an abstract class; written, but not read.
class QXXML_API CElementInfoAllAbsClsOpt : public CElementInfoAbsClsKind<CElementInfoAll> {
public:
    using CElementInfoAbsClsKind::CElementInfoAbsClsKind;
    // CQxException "CElementInfoAllAbsClsOpt::ElementFromXml, has not been implemented fully,
    // contact ..." (a support address).
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// Repeated children of an abstract class.
class QXXML_API CElementInfoAllAbsClsCol : public CElementInfoObjectColKind<CElementInfoAllCol> {
public:
    using CElementInfoObjectColKind::CElementInfoObjectColKind;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// Mandatory untyped content: the CElement the property holds reads the cursor element;
// true when it took it.
class QXXML_API CElementInfoAllUntpdMnd : public CElementInfoUntpdKind<CElementInfoAll> {
public:
    using CElementInfoUntpdKind::CElementInfoUntpdKind;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// Optional untyped content.
class QXXML_API CElementInfoAllUntpdOpt : public CElementInfoUntpdKind<CElementInfoAll> {
public:
    using CElementInfoUntpdKind::CElementInfoUntpdKind;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// Repeated untyped content; the collection reads it like any other all-group collection.
class QXXML_API CElementInfoAllUntpdCol : public CElementInfoAllCol {
public:
    using CElementInfoAllCol::CElementInfoAllCol;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// Base for repeated all-group content the generated code handles itself; abstract.
class QXXML_API CElementInfoAllNonCol : public CElementInfoAll {
public:
    CElementInfoAllNonCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
};

}  // namespace QxXmlLib10Data

// ElementInfoAll.h - the element descriptors of an all-group (xs:all) content model.
//
// The members of an all-group may appear in any order. The reading engine offers the cursor
// element to every member that has not been found yet, then asks each member's Validate
// whether its presence (or absence) is acceptable; mandatory members refuse to be absent:
//
//   new CElementInfoAllPrimMnd(L"id", L"", 0, false, ItemType_i4, nullptr,
//                              CWhitespaceUtils::WhitespaceRule_Collapse, CPrimitiveRestrictions());
//   new CElementInfoAllPrimOpt(L"note", L"", 1, true, ItemType_string, nullptr,
//                              CWhitespaceUtils::WhitespaceRule_Preserve, CPrimitiveRestrictions());
//
// The two abstract-class members write their child but cannot read it back.
#pragma once

#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/support/Export.h>

#include <string>

namespace QxXmlLib10Data {

// Base of the all-group members.
class QXXML_API CElementInfoAll : public CElementInfo {
public:
    CElementInfoAll(const CElementInfoAll& other) = default;
    CElementInfoAll& operator=(const CElementInfoAll& other) = default;
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
    CElementInfoAllCol(const CElementInfoAllCol& other) = default;
    CElementInfoAllCol& operator=(const CElementInfoAllCol& other) = default;
    ~CElementInfoAllCol() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// A mandatory primitive element of an all-group.
class QXXML_API CElementInfoAllPrimMnd : public CElementInfoAll {
public:
    CElementInfoAllPrimMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                           ItemType itemType, const wchar_t* formatOverride,
                           CWhitespaceUtils::WhitespaceRule whitespaceRule, const CPrimitiveRestrictions& restrictions);
    CElementInfoAllPrimMnd(const CElementInfoAllPrimMnd& other) = default;
    CElementInfoAllPrimMnd& operator=(const CElementInfoAllPrimMnd& other) = default;
    ~CElementInfoAllPrimMnd() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// An optional primitive element of an all-group.
class QXXML_API CElementInfoAllPrimOpt : public CElementInfoAll {
public:
    CElementInfoAllPrimOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                           ItemType itemType, const wchar_t* formatOverride,
                           CWhitespaceUtils::WhitespaceRule whitespaceRule, const CPrimitiveRestrictions& restrictions);
    CElementInfoAllPrimOpt(const CElementInfoAllPrimOpt& other) = default;
    CElementInfoAllPrimOpt& operator=(const CElementInfoAllPrimOpt& other) = default;
    ~CElementInfoAllPrimOpt() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// A repeated primitive element of an all-group; it never marks itself found, so Validate accepts it.
class QXXML_API CElementInfoAllPrimCol : public CElementInfoAllCol {
public:
    CElementInfoAllPrimCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoAllPrimCol(const CElementInfoAllPrimCol& other) = default;
    CElementInfoAllPrimCol& operator=(const CElementInfoAllPrimCol& other) = default;
    ~CElementInfoAllPrimCol() override;

    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// A mandatory enumeration element of an all-group, held as an integer.
class QXXML_API CElementInfoAllEnumMnd : public CElementInfoAll {
public:
    CElementInfoAllEnumMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                           EnumToStringFn enumToString, EnumFromStringFn enumFromString);
    CElementInfoAllEnumMnd(const CElementInfoAllEnumMnd& other) = default;
    CElementInfoAllEnumMnd& operator=(const CElementInfoAllEnumMnd& other) = default;
    ~CElementInfoAllEnumMnd() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;

protected:
    EnumToStringFn m_pfnEnumToString;
    EnumFromStringFn m_pfnEnumFromString;
};

// An optional enumeration element of an all-group, held as an integer.
class QXXML_API CElementInfoAllEnumOpt : public CElementInfoAll {
public:
    CElementInfoAllEnumOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                           EnumToStringFn enumToString, EnumFromStringFn enumFromString);
    CElementInfoAllEnumOpt(const CElementInfoAllEnumOpt& other) = default;
    CElementInfoAllEnumOpt& operator=(const CElementInfoAllEnumOpt& other) = default;
    ~CElementInfoAllEnumOpt() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;

protected:
    EnumToStringFn m_pfnEnumToString;
    EnumFromStringFn m_pfnEnumFromString;
};

// Base for a repeated enumeration element of an all-group; abstract.
class QXXML_API CElementInfoAllEnumCol : public CElementInfoAll {
public:
    CElementInfoAllEnumCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoAllEnumCol(const CElementInfoAllEnumCol& other) = default;
    CElementInfoAllEnumCol& operator=(const CElementInfoAllEnumCol& other) = default;
    ~CElementInfoAllEnumCol() override;
};

// A mandatory child object of a generated class in an all-group.
class QXXML_API CElementInfoAllClsMnd : public CElementInfoAll {
public:
    CElementInfoAllClsMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                          XmlElementType elementType, CreateObjectFn createObject, int classId, bool required);
    CElementInfoAllClsMnd(const CElementInfoAllClsMnd& other) = default;
    CElementInfoAllClsMnd& operator=(const CElementInfoAllClsMnd& other) = default;
    ~CElementInfoAllClsMnd() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
    void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const override;

protected:
    XmlElementType m_elementType;
    CreateObjectFn m_pfnCreateObject;
    int m_iClassId;
    bool m_bRequired;
};

// An optional child object of a generated class in an all-group.
class QXXML_API CElementInfoAllClsOpt : public CElementInfoAll {
public:
    CElementInfoAllClsOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                          XmlElementType elementType, CreateObjectFn createObject, int classId);
    CElementInfoAllClsOpt(const CElementInfoAllClsOpt& other) = default;
    CElementInfoAllClsOpt& operator=(const CElementInfoAllClsOpt& other) = default;
    ~CElementInfoAllClsOpt() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
    void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const override;

protected:
    XmlElementType m_elementType;
    CreateObjectFn m_pfnCreateObject;
    int m_iClassId;
};

// Repeated child objects of a generated class in an all-group.
class QXXML_API CElementInfoAllClsCol : public CElementInfoAllCol {
public:
    CElementInfoAllClsCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                          XmlElementType elementType);
    CElementInfoAllClsCol(const CElementInfoAllClsCol& other) = default;
    CElementInfoAllClsCol& operator=(const CElementInfoAllClsCol& other) = default;
    ~CElementInfoAllClsCol() override;

    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
    void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const override;

protected:
    XmlElementType m_elementType;
};

// A mandatory child of an abstract class in an all-group; written, but not read.
class QXXML_API CElementInfoAllAbsClsMnd : public CElementInfoAll {
public:
    CElementInfoAllAbsClsMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                             XmlElementType elementType, CreateFromElementFn createFromElement, int classId);
    CElementInfoAllAbsClsMnd(const CElementInfoAllAbsClsMnd& other) = default;
    CElementInfoAllAbsClsMnd& operator=(const CElementInfoAllAbsClsMnd& other) = default;
    ~CElementInfoAllAbsClsMnd() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
    void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const override;

protected:
    XmlElementType m_elementType;
    CreateFromElementFn m_pfnCreateFromElement;
    int m_iClassId;
};

// An optional child of an abstract class in an all-group; written, but not read.
class QXXML_API CElementInfoAllAbsClsOpt : public CElementInfoAll {
public:
    CElementInfoAllAbsClsOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                             XmlElementType elementType, CreateFromElementFn createFromElement);
    CElementInfoAllAbsClsOpt(const CElementInfoAllAbsClsOpt& other) = default;
    CElementInfoAllAbsClsOpt& operator=(const CElementInfoAllAbsClsOpt& other) = default;
    ~CElementInfoAllAbsClsOpt() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
    void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const override;

protected:
    XmlElementType m_elementType;
    CreateFromElementFn m_pfnCreateFromElement;
};

// Repeated children of an abstract class in an all-group.
class QXXML_API CElementInfoAllAbsClsCol : public CElementInfoAllCol {
public:
    CElementInfoAllAbsClsCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                             XmlElementType elementType);
    CElementInfoAllAbsClsCol(const CElementInfoAllAbsClsCol& other) = default;
    CElementInfoAllAbsClsCol& operator=(const CElementInfoAllAbsClsCol& other) = default;
    ~CElementInfoAllAbsClsCol() override;

    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
    void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const override;

protected:
    XmlElementType m_elementType;
};

// Mandatory untyped content in an all-group.
class QXXML_API CElementInfoAllUntpdMnd : public CElementInfoAll {
public:
    CElementInfoAllUntpdMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                            const wchar_t* namespaceConstraint, const wchar_t* targetNamespace);
    CElementInfoAllUntpdMnd(const CElementInfoAllUntpdMnd& other) = default;
    CElementInfoAllUntpdMnd& operator=(const CElementInfoAllUntpdMnd& other) = default;
    ~CElementInfoAllUntpdMnd() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;

protected:
    std::wstring m_strNamespaceConstraint;
    std::wstring m_strTargetNamespace;
};

// Optional untyped content in an all-group.
class QXXML_API CElementInfoAllUntpdOpt : public CElementInfoAll {
public:
    CElementInfoAllUntpdOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                            const wchar_t* namespaceConstraint, const wchar_t* targetNamespace);
    CElementInfoAllUntpdOpt(const CElementInfoAllUntpdOpt& other) = default;
    CElementInfoAllUntpdOpt& operator=(const CElementInfoAllUntpdOpt& other) = default;
    ~CElementInfoAllUntpdOpt() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;

protected:
    std::wstring m_strNamespaceConstraint;
    std::wstring m_strTargetNamespace;
};

// Repeated untyped content in an all-group.
class QXXML_API CElementInfoAllUntpdCol : public CElementInfoAllCol {
public:
    CElementInfoAllUntpdCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoAllUntpdCol(const CElementInfoAllUntpdCol& other) = default;
    CElementInfoAllUntpdCol& operator=(const CElementInfoAllUntpdCol& other) = default;
    ~CElementInfoAllUntpdCol() override;

    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// Base for repeated all-group content the generated code handles itself; abstract.
class QXXML_API CElementInfoAllNonCol : public CElementInfoAll {
public:
    CElementInfoAllNonCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoAllNonCol(const CElementInfoAllNonCol& other) = default;
    CElementInfoAllNonCol& operator=(const CElementInfoAllNonCol& other) = default;
    ~CElementInfoAllNonCol() override;
};

}  // namespace QxXmlLib10Data

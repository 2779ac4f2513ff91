// ElementInfoChoice.h - the element descriptors of a choice (xs:choice) content model.
//
// Every alternative of a choice is optional by nature, so the family has Opt and Col members
// only. The writing engine writes the first alternative that has a value; the reading engine
// takes the first alternative that matches:
//
//   new CElementInfoChoicePrimOpt(L"email", L"", 0, false, ItemType_string, nullptr,
//                                 CWhitespaceUtils::WhitespaceRule_Collapse, CPrimitiveRestrictions());
//   new CElementInfoChoiceClsOpt(L"postal", L"", 1, XmlElementType_Element, &CreateObject, kPostal);
#pragma once

#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/support/Export.h>

#include <string>

namespace QxXmlLib10Data {

// Base of the choice members. Validate belongs to all-groups only.
class QXXML_API CElementInfoChoice : public CElementInfo {
public:
    CElementInfoChoice(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoChoice(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable);
    CElementInfoChoice(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                       ItemType itemType, const wchar_t* formatOverride,
                       CWhitespaceUtils::WhitespaceRule whitespaceRule, const CPrimitiveRestrictions& restrictions);
    CElementInfoChoice(const CElementInfoChoice& other) = default;
    CElementInfoChoice& operator=(const CElementInfoChoice& other) = default;
    ~CElementInfoChoice() override;

    // CQxException "Not implemented, should never be called".
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// Base of the repeated choice members: the property holds a collection.
class QXXML_API CElementInfoChoiceCol : public CElementInfoChoice {
public:
    CElementInfoChoiceCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoChoiceCol(const CElementInfoChoiceCol& other) = default;
    CElementInfoChoiceCol& operator=(const CElementInfoChoiceCol& other) = default;
    ~CElementInfoChoiceCol() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// A primitive alternative of a choice.
class QXXML_API CElementInfoChoicePrimOpt : public CElementInfoChoice {
public:
    CElementInfoChoicePrimOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                              ItemType itemType, const wchar_t* formatOverride,
                              CWhitespaceUtils::WhitespaceRule whitespaceRule,
                              const CPrimitiveRestrictions& restrictions);
    CElementInfoChoicePrimOpt(const CElementInfoChoicePrimOpt& other) = default;
    CElementInfoChoicePrimOpt& operator=(const CElementInfoChoicePrimOpt& other) = default;
    ~CElementInfoChoicePrimOpt() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// A repeated primitive alternative of a choice.
class QXXML_API CElementInfoChoicePrimCol : public CElementInfoChoiceCol {
public:
    CElementInfoChoicePrimCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoChoicePrimCol(const CElementInfoChoicePrimCol& other) = default;
    CElementInfoChoicePrimCol& operator=(const CElementInfoChoicePrimCol& other) = default;
    ~CElementInfoChoicePrimCol() override;
};

// An enumeration alternative of a choice, held as an integer.
class QXXML_API CElementInfoChoiceEnumOpt : public CElementInfoChoice {
public:
    CElementInfoChoiceEnumOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                              EnumToStringFn enumToString, EnumFromStringFn enumFromString);
    CElementInfoChoiceEnumOpt(const CElementInfoChoiceEnumOpt& other) = default;
    CElementInfoChoiceEnumOpt& operator=(const CElementInfoChoiceEnumOpt& other) = default;
    ~CElementInfoChoiceEnumOpt() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;

protected:
    EnumToStringFn m_pfnEnumToString;
    EnumFromStringFn m_pfnEnumFromString;
};

// A repeated enumeration alternative of a choice.
class QXXML_API CElementInfoChoiceEnumCol : public CElementInfoChoiceCol {
public:
    CElementInfoChoiceEnumCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoChoiceEnumCol(const CElementInfoChoiceEnumCol& other) = default;
    CElementInfoChoiceEnumCol& operator=(const CElementInfoChoiceEnumCol& other) = default;
    ~CElementInfoChoiceEnumCol() override;
};

// A child object of a generated class as an alternative of a choice.
class QXXML_API CElementInfoChoiceClsOpt : public CElementInfoChoice {
public:
    CElementInfoChoiceClsOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                             XmlElementType elementType, CreateObjectFn createObject, int classId);
    CElementInfoChoiceClsOpt(const CElementInfoChoiceClsOpt& other) = default;
    CElementInfoChoiceClsOpt& operator=(const CElementInfoChoiceClsOpt& other) = default;
    ~CElementInfoChoiceClsOpt() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const override;

protected:
    XmlElementType m_elementType;
    CreateObjectFn m_pfnCreateObject;
    int m_iClassId;
};

// Repeated child objects of a generated class as an alternative of a choice.
class QXXML_API CElementInfoChoiceClsCol : public CElementInfoChoiceCol {
public:
    CElementInfoChoiceClsCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                             XmlElementType elementType);
    CElementInfoChoiceClsCol(const CElementInfoChoiceClsCol& other) = default;
    CElementInfoChoiceClsCol& operator=(const CElementInfoChoiceClsCol& other) = default;
    ~CElementInfoChoiceClsCol() override;

    void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const override;

protected:
    XmlElementType m_elementType;
};

// A child of an abstract class as an alternative of a choice.
class QXXML_API CElementInfoChoiceAbsClsOpt : public CElementInfoChoice {
public:
    CElementInfoChoiceAbsClsOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                XmlElementType elementType, CreateFromElementFn createFromElement);
    CElementInfoChoiceAbsClsOpt(const CElementInfoChoiceAbsClsOpt& other) = default;
    CElementInfoChoiceAbsClsOpt& operator=(const CElementInfoChoiceAbsClsOpt& other) = default;
    ~CElementInfoChoiceAbsClsOpt() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
    void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const override;

protected:
    XmlElementType m_elementType;
    CreateFromElementFn m_pfnCreateFromElement;
};

// Repeated children of an abstract class as an alternative of a choice.
class QXXML_API CElementInfoChoiceAbsClsCol : public CElementInfoChoiceCol {
public:
    CElementInfoChoiceAbsClsCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                                XmlElementType elementType);
    CElementInfoChoiceAbsClsCol(const CElementInfoChoiceAbsClsCol& other) = default;
    CElementInfoChoiceAbsClsCol& operator=(const CElementInfoChoiceAbsClsCol& other) = default;
    ~CElementInfoChoiceAbsClsCol() override;

    void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const override;

protected:
    XmlElementType m_elementType;
};

// Untyped content as an alternative of a choice.
class QXXML_API CElementInfoChoiceUntpdOpt : public CElementInfoChoice {
public:
    CElementInfoChoiceUntpdOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                               const wchar_t* namespaceConstraint, const wchar_t* targetNamespace);
    CElementInfoChoiceUntpdOpt(const CElementInfoChoiceUntpdOpt& other) = default;
    CElementInfoChoiceUntpdOpt& operator=(const CElementInfoChoiceUntpdOpt& other) = default;
    ~CElementInfoChoiceUntpdOpt() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;

protected:
    std::wstring m_strNamespaceConstraint;
    std::wstring m_strTargetNamespace;
};

// Repeated untyped content as an alternative of a choice.
class QXXML_API CElementInfoChoiceUntpdCol : public CElementInfoChoiceCol {
public:
    CElementInfoChoiceUntpdCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoChoiceUntpdCol(const CElementInfoChoiceUntpdCol& other) = default;
    CElementInfoChoiceUntpdCol& operator=(const CElementInfoChoiceUntpdCol& other) = default;
    ~CElementInfoChoiceUntpdCol() override;

    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

}  // namespace QxXmlLib10Data

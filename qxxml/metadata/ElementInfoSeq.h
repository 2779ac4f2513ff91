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
// CElementInfoSeqCol is the base of the repeated members: the property holds a collection
// that writes and reads its items.
#pragma once

#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/support/Export.h>

#include <string>

namespace QxXmlLib10Data {

// Base of the sequence members. Validate belongs to all-groups only.
class QXXML_API CElementInfoSeq : public CElementInfo {
public:
    CElementInfoSeq(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoSeq(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable);
    CElementInfoSeq(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                    ItemType itemType, const wchar_t* formatOverride, CWhitespaceUtils::WhitespaceRule whitespaceRule,
                    const CPrimitiveRestrictions& restrictions);
    CElementInfoSeq(const CElementInfoSeq& other) = default;
    CElementInfoSeq& operator=(const CElementInfoSeq& other) = default;
    ~CElementInfoSeq() override;

    // CQxException "Not implemented, should never be called".
    bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                  bool mandatoryCheck) const override;
};

// Base of the repeated sequence members: the property holds a collection.
class QXXML_API CElementInfoSeqCol : public CElementInfoSeq {
public:
    CElementInfoSeqCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoSeqCol(const CElementInfoSeqCol& other) = default;
    CElementInfoSeqCol& operator=(const CElementInfoSeqCol& other) = default;
    ~CElementInfoSeqCol() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// A mandatory primitive element of a sequence.
class QXXML_API CElementInfoSeqPrimMnd : public CElementInfoSeq {
public:
    CElementInfoSeqPrimMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                           ItemType itemType, const wchar_t* formatOverride,
                           CWhitespaceUtils::WhitespaceRule whitespaceRule, const CPrimitiveRestrictions& restrictions);
    CElementInfoSeqPrimMnd(const CElementInfoSeqPrimMnd& other) = default;
    CElementInfoSeqPrimMnd& operator=(const CElementInfoSeqPrimMnd& other) = default;
    ~CElementInfoSeqPrimMnd() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// An optional primitive element of a sequence.
class QXXML_API CElementInfoSeqPrimOpt : public CElementInfoSeq {
public:
    CElementInfoSeqPrimOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                           ItemType itemType, const wchar_t* formatOverride,
                           CWhitespaceUtils::WhitespaceRule whitespaceRule, const CPrimitiveRestrictions& restrictions);
    CElementInfoSeqPrimOpt(const CElementInfoSeqPrimOpt& other) = default;
    CElementInfoSeqPrimOpt& operator=(const CElementInfoSeqPrimOpt& other) = default;
    ~CElementInfoSeqPrimOpt() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// A repeated primitive element of a sequence (a typed primitive collection).
class QXXML_API CElementInfoSeqPrimCol : public CElementInfoSeqCol {
public:
    CElementInfoSeqPrimCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoSeqPrimCol(const CElementInfoSeqPrimCol& other) = default;
    CElementInfoSeqPrimCol& operator=(const CElementInfoSeqPrimCol& other) = default;
    ~CElementInfoSeqPrimCol() override;
};

// A mandatory enumeration element of a sequence, held as an integer.
class QXXML_API CElementInfoSeqEnumMnd : public CElementInfoSeq {
public:
    CElementInfoSeqEnumMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                           EnumToStringFn enumToString, EnumFromStringFn enumFromString);
    CElementInfoSeqEnumMnd(const CElementInfoSeqEnumMnd& other) = default;
    CElementInfoSeqEnumMnd& operator=(const CElementInfoSeqEnumMnd& other) = default;
    ~CElementInfoSeqEnumMnd() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;

protected:
    EnumToStringFn m_pfnEnumToString;
    EnumFromStringFn m_pfnEnumFromString;
};

// An optional enumeration element of a sequence, held as an integer.
class QXXML_API CElementInfoSeqEnumOpt : public CElementInfoSeq {
public:
    CElementInfoSeqEnumOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                           EnumToStringFn enumToString, EnumFromStringFn enumFromString);
    CElementInfoSeqEnumOpt(const CElementInfoSeqEnumOpt& other) = default;
    CElementInfoSeqEnumOpt& operator=(const CElementInfoSeqEnumOpt& other) = default;
    ~CElementInfoSeqEnumOpt() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;

protected:
    EnumToStringFn m_pfnEnumToString;
    EnumFromStringFn m_pfnEnumFromString;
};

// A repeated enumeration element of a sequence.
class QXXML_API CElementInfoSeqEnumCol : public CElementInfoSeqCol {
public:
    CElementInfoSeqEnumCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoSeqEnumCol(const CElementInfoSeqEnumCol& other) = default;
    CElementInfoSeqEnumCol& operator=(const CElementInfoSeqEnumCol& other) = default;
    ~CElementInfoSeqEnumCol() override;
};

// A mandatory child object of a generated class in a sequence; the property holds the object.
class QXXML_API CElementInfoSeqClsMnd : public CElementInfoSeq {
public:
    CElementInfoSeqClsMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                          XmlElementType elementType, CreateObjectFn createObject, int classId, bool required);
    CElementInfoSeqClsMnd(const CElementInfoSeqClsMnd& other) = default;
    CElementInfoSeqClsMnd& operator=(const CElementInfoSeqClsMnd& other) = default;
    ~CElementInfoSeqClsMnd() override;

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
    bool m_bRequired;
};

// An optional child object of a generated class in a sequence, created while reading.
class QXXML_API CElementInfoSeqClsOpt : public CElementInfoSeq {
public:
    CElementInfoSeqClsOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                          XmlElementType elementType, CreateObjectFn createObject, int classId);
    CElementInfoSeqClsOpt(const CElementInfoSeqClsOpt& other) = default;
    CElementInfoSeqClsOpt& operator=(const CElementInfoSeqClsOpt& other) = default;
    ~CElementInfoSeqClsOpt() override;

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

// A repeated child object of a generated class in a sequence.
class QXXML_API CElementInfoSeqClsCol : public CElementInfoSeqCol {
public:
    CElementInfoSeqClsCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                          XmlElementType elementType);
    CElementInfoSeqClsCol(const CElementInfoSeqClsCol& other) = default;
    CElementInfoSeqClsCol& operator=(const CElementInfoSeqClsCol& other) = default;
    ~CElementInfoSeqClsCol() override;

    void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const override;

protected:
    XmlElementType m_elementType;
};

// A mandatory child of an abstract class in a sequence; the factory chooses the class from the element.
class QXXML_API CElementInfoSeqAbsClsMnd : public CElementInfoSeq {
public:
    CElementInfoSeqAbsClsMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                             XmlElementType elementType, CreateFromElementFn createFromElement);
    CElementInfoSeqAbsClsMnd(const CElementInfoSeqAbsClsMnd& other) = default;
    CElementInfoSeqAbsClsMnd& operator=(const CElementInfoSeqAbsClsMnd& other) = default;
    ~CElementInfoSeqAbsClsMnd() override;

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

// An optional child of an abstract class in a sequence.
class QXXML_API CElementInfoSeqAbsClsOpt : public CElementInfoSeq {
public:
    CElementInfoSeqAbsClsOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                             XmlElementType elementType, CreateFromElementFn createFromElement);
    CElementInfoSeqAbsClsOpt(const CElementInfoSeqAbsClsOpt& other) = default;
    CElementInfoSeqAbsClsOpt& operator=(const CElementInfoSeqAbsClsOpt& other) = default;
    ~CElementInfoSeqAbsClsOpt() override;

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

// A repeated child of an abstract class in a sequence.
class QXXML_API CElementInfoSeqAbsClsCol : public CElementInfoSeqCol {
public:
    CElementInfoSeqAbsClsCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                             XmlElementType elementType);
    CElementInfoSeqAbsClsCol(const CElementInfoSeqAbsClsCol& other) = default;
    CElementInfoSeqAbsClsCol& operator=(const CElementInfoSeqAbsClsCol& other) = default;
    ~CElementInfoSeqAbsClsCol() override;

    void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const override;

protected:
    XmlElementType m_elementType;
};

// Mandatory untyped content (a named element or, as "AnyElement", a wildcard) in a sequence.
class QXXML_API CElementInfoSeqUntpdMnd : public CElementInfoSeq {
public:
    CElementInfoSeqUntpdMnd(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                            const wchar_t* namespaceConstraint, const wchar_t* targetNamespace);
    CElementInfoSeqUntpdMnd(const CElementInfoSeqUntpdMnd& other) = default;
    CElementInfoSeqUntpdMnd& operator=(const CElementInfoSeqUntpdMnd& other) = default;
    ~CElementInfoSeqUntpdMnd() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;

protected:
    std::wstring m_strNamespaceConstraint;
    std::wstring m_strTargetNamespace;
};

// Optional untyped content in a sequence.
class QXXML_API CElementInfoSeqUntpdOpt : public CElementInfoSeq {
public:
    CElementInfoSeqUntpdOpt(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                            const wchar_t* namespaceConstraint, const wchar_t* targetNamespace);
    CElementInfoSeqUntpdOpt(const CElementInfoSeqUntpdOpt& other) = default;
    CElementInfoSeqUntpdOpt& operator=(const CElementInfoSeqUntpdOpt& other) = default;
    ~CElementInfoSeqUntpdOpt() override;

    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;

protected:
    std::wstring m_strNamespaceConstraint;
    std::wstring m_strTargetNamespace;
};

// Repeated untyped content in a sequence.
class QXXML_API CElementInfoSeqUntpdCol : public CElementInfoSeqCol {
public:
    CElementInfoSeqUntpdCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoSeqUntpdCol(const CElementInfoSeqUntpdCol& other) = default;
    CElementInfoSeqUntpdCol& operator=(const CElementInfoSeqUntpdCol& other) = default;
    ~CElementInfoSeqUntpdCol() override;

    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;
};

// Base for repeated content the generated code handles itself; abstract.
class QXXML_API CElementInfoSeqNonCol : public CElementInfoSeq {
public:
    CElementInfoSeqNonCol(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfoSeqNonCol(const CElementInfoSeqNonCol& other) = default;
    CElementInfoSeqNonCol& operator=(const CElementInfoSeqNonCol& other) = default;
    ~CElementInfoSeqNonCol() override;
};

}  // namespace QxXmlLib10Data

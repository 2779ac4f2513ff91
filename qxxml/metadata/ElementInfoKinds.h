// ElementInfoKinds.h - the kind layers of the element descriptor family.
//
// A concrete descriptor is group x kind x cardinality (CElementInfoSeqClsOpt: a sequence
// member holding an optional child object). What a kind keeps and how it writes does not
// depend on the group, so each kind is one layer here, laid over the group base it is used
// with; the concrete members in ElementInfoSeq.h, ElementInfoChoice.h and ElementInfoAll.h
// derive from a layer and add only what their group and cardinality decide (reading, and the
// all-group presence check):
//
//   class CElementInfoSeqClsOpt : public CElementInfoClsKind<CElementInfoSeq> { ... };
//   class CElementInfoAllClsOpt : public CElementInfoClsKind<CElementInfoAll> { ... };
//
// Generated code never names the layers; it constructs the concrete members. The layers are
// instantiated inside the library for exactly the groups the family uses (see the group
// headers).
#pragma once

#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/support/Export.h>

#include <string>

namespace QxXmlLib10Data {

// A primitive value: the element's text in the lexical form of m_itemType.
template <class Group>
class CElementInfoPrimKind : public Group {
public:
    CElementInfoPrimKind(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                         ItemType itemType, const wchar_t* formatOverride,
                         CWhitespaceUtils::WhitespaceRule whitespaceRule, const CPrimitiveRestrictions& restrictions);

    // ElementToXmlPrim.
    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    // The read of choices and all-groups: when the cursor element is this member's, its value
    // is read (ReadValue) and the answer is true; otherwise false. Sequence members refine it.
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;

protected:
    // The nil-aware read of the element at *cursor into the property (its text parsed as
    // m_itemType under m_whitespaceRule; no facet check); the cursor moves past it. True.
    bool ReadValue(CXmlGeneratedClass* object, CXmlElement** cursor) const;
};

// An enumeration value, held as an integer and written as the generated text.
template <class Group>
class CElementInfoEnumKind : public Group {
public:
    CElementInfoEnumKind(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                         EnumToStringFn enumToString, EnumFromStringFn enumFromString);

    // ElementToXmlEnum(m_pfnEnumToString).
    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    // As CElementInfoPrimKind.
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;

protected:
    // As CElementInfoPrimKind, the value coming from m_pfnEnumFromString(element text).
    bool ReadValue(CXmlGeneratedClass* object, CXmlElement** cursor) const;

    EnumToStringFn m_pfnEnumToString;
    EnumFromStringFn m_pfnEnumFromString;
};

// A child object: it writes itself, as an element of its own or (pseudo element) as content
// and attributes of the parent's element.
template <class Group>
class CElementInfoObjectKind : public Group {
public:
    // ElementToXmlCls(false).
    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    // A pseudo-element child (m_elementType 1) writes its attributes on the open element.
    void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const override;

protected:
    CElementInfoObjectKind(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                           XmlElementType elementType);

    // Any type other than 0 reads among the parent's children.
    bool HasOwnElement() const { return m_elementType == XmlElementType_Element; }

    XmlElementType m_elementType;
};

// A child object of a generated class, created by the generated factory.
template <class Group>
class CElementInfoClsKind : public CElementInfoObjectKind<Group> {
public:
    CElementInfoClsKind(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                        XmlElementType elementType, CreateObjectFn createObject, int classId);

protected:
    // m_pfnCreateObject(m_iClassId, element name). A factory that creates nothing breaks the
    // generated code's contract: CQxInvalidStateException.
    QxXmlLib10::CSmartPtr<CXmlObjectBase> CreateChild() const;
    // The optional read of sequences and all-groups: a new child reads its element (or, as a
    // pseudo element, its content from a non-null cursor) and is stored only when it took
    // something. True when it did.
    bool ReadNewChild(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                      CXmlElement** cursor) const;

    CreateObjectFn m_pfnCreateObject;
    int m_iClassId;
};

// A mandatory child object of a generated class: reading fills the object the property holds.
template <class Group>
class CElementInfoClsMndKind : public CElementInfoClsKind<Group> {
public:
    CElementInfoClsMndKind(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                           XmlElementType elementType, CreateObjectFn createObject, int classId, bool required);

protected:
    // The object the property holds. Generated classes create their mandatory children
    // themselves; should the property be empty, a new child is created and stored so that
    // reading can fill it.
    QxXmlLib10::CSmartPtr<CXmlObjectBase> ExistingChild(CXmlGeneratedClass* object) const;

    bool m_bRequired;
};

// A child of an abstract class: the generated factory chooses the concrete class from the
// element (typically from its xsi:type).
template <class Group>
class CElementInfoAbsClsKind : public CElementInfoObjectKind<Group> {
public:
    CElementInfoAbsClsKind(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                           XmlElementType elementType, CreateFromElementFn createFromElement);

protected:
    // The child the factory creates for the cursor element; null when the element is not this
    // member's or the factory declines it.
    QxXmlLib10::CSmartPtr<CXmlObjectBase> CreateChildFor(const CXmlSerializationContext& context,
                                                         CXmlElement* element) const;

    CreateFromElementFn m_pfnCreateFromElement;
};

// A repeated child object (of a generated or an abstract class): the collection writes and
// reads the items; pseudo-element items lend their attributes to the parent's element.
template <class GroupCol>
class CElementInfoObjectColKind : public GroupCol {
public:
    CElementInfoObjectColKind(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                              XmlElementType elementType);

    // Items of pseudo elements (m_elementType 1) write their attributes on the open element.
    void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const override;

protected:
    XmlElementType m_elementType;
};

// Untyped content: a named element, or as "AnyElement" a wildcard, held as a CElement
// (Element.h; the element checks its namespace constraint itself).
template <class Group>
class CElementInfoUntpdKind : public Group {
public:
    CElementInfoUntpdKind(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex,
                          const wchar_t* namespaceConstraint, const wchar_t* targetNamespace);

    // ElementToXmlCls(false): the CElement the property holds writes itself.
    bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                      CXmlWriter* writer) const override;
    // The optional read of all-groups: a new element reads the cursor element and is stored
    // when it took it (true); false otherwise, and at the end of the children.
    bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace,
                        XmlElementType callerElementType) override;

protected:
    // A new CElement named after the member, in the namespace the constraint implies
    // (GetAnyDefaultNamespace), carrying the constraint and the target namespace.
    QxXmlLib10::CSmartPtr<CXmlObjectBase> NewElement(const wchar_t* parentNamespace) const;
    // The CElement the property holds (one is made and stored when the property is empty).
    QxXmlLib10::CSmartPtr<CXmlObjectBase> ExistingElement(CXmlGeneratedClass* object,
                                                          const wchar_t* parentNamespace) const;
    // `element` reads *cursor when the member applies to it (a wildcard, or the same local
    // name); true when it took it, the cursor then moved past it.
    bool ReadUntyped(const CXmlSerializationContext& context, CXmlObjectBase* element, CXmlElement* parent,
                     CXmlElement** cursor) const;
    // ReadUntyped into a new element (NewElement), stored when it took the cursor element.
    bool ReadNewElement(const CXmlSerializationContext& context, CXmlGeneratedClass* object, CXmlElement* parent,
                        CXmlElement** cursor, const wchar_t* parentNamespace) const;

    std::wstring m_strNamespaceConstraint;
    std::wstring m_strTargetNamespace;
};

}  // namespace QxXmlLib10Data

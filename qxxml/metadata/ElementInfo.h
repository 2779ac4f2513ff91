// ElementInfo.h - CElementInfo, the root of the element descriptor family, and the two
// enumerations that describe a generated class's content.
//
// Generated code describes each child element (or wildcard) of a class with one descriptor
// and hands the library a null-terminated table of them. A descriptor names its property by
// index and moves values through the class's AccessProperty, never touching the object's
// memory:
//
//   // <xs:element name="quantity" type="xs:positiveInteger"/> inside a sequence
//   static CPrimitiveRestrictions quantityFacets(nullptr, -1, -1, L"1", nullptr, nullptr, nullptr, -1);
//   CElementInfo** table = new CElementInfo*[2];
//   table[0] = new CElementInfoSeqPrimMnd(L"quantity", L"urn:po", 3, false, ItemType_integer,
//                                         nullptr, CWhitespaceUtils::WhitespaceRule_Collapse,
//                                         quantityFacets);
//   table[1] = nullptr;
//
// Concrete members are named CElementInfo + group (Seq, Choice, All) + kind (Prim, Enum, Cls,
// AbsCls, Untpd, Non) + cardinality (Mnd, Opt, Col); see ElementInfoSeq.h, ElementInfoChoice.h
// and ElementInfoAll.h. Descriptors are immutable after construction, so one table serves
// every object of its class on any thread.
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/support/SmartPtr.h>
#include <qxxml/values/ItemType.h>
#include <qxxml/values/PrimitiveRestrictions.h>
#include <qxxml/values/WhitespaceUtils.h>

#include <cstdint>
#include <string>

namespace QxXmlLib10 {
class CXmlSerializationContext;
class CXmlGeneratedClass;
class CXmlObjectBase;
class CXmlWriter;
class CXmlElement;
class CXmlCollectionBase;
struct QxVariant;
}  // namespace QxXmlLib10

namespace QxXmlLib10Data {

using QxXmlLib10::CPrimitiveRestrictions;
using QxXmlLib10::CWhitespaceUtils;
using QxXmlLib10::CXmlElement;
using QxXmlLib10::CXmlGeneratedClass;
using QxXmlLib10::CXmlObjectBase;
using QxXmlLib10::CXmlSerializationContext;
using QxXmlLib10::CXmlWriter;
using QxXmlLib10::ItemType;
using QxXmlLib10::QxVariant;

// The model group of a class's content. Both enumerations are 32 bits wide and carry whatever
// number generated code passes: the engines refuse an unknown group type, and the descriptors
// treat any element type other than 0 as content among the parent's children.
enum XmlElementGroupType : int32_t {
    XmlElementGroupType_Sequence = 0,
    XmlElementGroupType_Choice = 1,
    XmlElementGroupType_All = 2,
};

// How a class's content sits in the document: as an element of its own, or (pseudo element)
// directly among its parent's children, with its attributes on the parent's element.
enum XmlElementType : int32_t {
    XmlElementType_Element = 0,
    XmlElementType_PseudoElement = 1,
};

// The functions generated code supplies to descriptors.
using EnumToStringFn = const wchar_t* (*)(int value);
using EnumFromStringFn = int (*)(const wchar_t* text);
using CreateObjectFn = QxXmlLib10::CSmartPtr<CXmlObjectBase> (*)(int classId, const wchar_t* elementName);
using CreateFromElementFn = QxXmlLib10::CSmartPtr<CXmlObjectBase> (*)(CXmlElement* element);

class QXXML_API CElementInfo {
public:
    CElementInfo(const CElementInfo& other) = default;
    CElementInfo& operator=(const CElementInfo& other) = default;
    virtual ~CElementInfo();

    // Writes the property; true when something was written.
    virtual bool ElementToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                              CXmlWriter* writer) const = 0;
    // Reads the property from the children of `parent` starting at *cursor, moving the cursor
    // past what it consumed.
    virtual bool ElementFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                CXmlElement* parent, CXmlElement** cursor, const wchar_t* parentNamespace,
                                XmlElementType callerElementType) = 0;
    // The all-group presence check after reading.
    virtual bool Validate(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, bool found,
                          bool mandatoryCheck) const = 0;
    // Writes the attributes of a pseudo-element child on the open element; nothing here.
    virtual void PseudoChildAttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                           CXmlWriter* writer) const;

    std::wstring GetElementName() const { return m_strElementName; }
    std::wstring GetElementNamespace() const { return m_strElementNamespace; }
    int GetPropertyIndex() const { return m_iPropertyIndex; }

    // Same local name and, unless the context ignores namespaces, the same namespace URI.
    bool IsThisElement(const CXmlSerializationContext& context, const CXmlElement* element) const;

    // Checks a primitive value against the descriptor's facets. CQxException
    // "Cannot CheckRestriction for type: <type>" for a descriptor built without primitive
    // information (enumerations, classes, wildcards).
    void CheckRestriction(const QxVariant& value) const;

    // The namespace a new untyped element created for a wildcard gets, from the wildcard's
    // namespace constraint.
    static std::wstring GetAnyDefaultNamespace(const wchar_t* constraint, const wchar_t* parentNamespace,
                                               const wchar_t* targetNamespace);

protected:
    CElementInfo(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex);
    CElementInfo(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable);
    CElementInfo(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                 ItemType itemType, const wchar_t* formatOverride, CWhitespaceUtils::WhitespaceRule whitespaceRule,
                 const CPrimitiveRestrictions& restrictions);

    // --- property access through the generated class
    // read true: the object fills `value` from the property; false: stores `value` into it.
    void AccessProperty(CXmlGeneratedClass* object, bool read, QxVariant& value) const;
    void ReadProperty(const CXmlGeneratedClass* object, QxVariant& value) const;

    // --- forwarders to the protected operations of child objects and collections
    // The child reads from `element`, starting at `cursor`; returns the first element it did
    // not consume.
    static CXmlElement* FromXml_Int(CXmlObjectBase* child, CXmlElement* element, CXmlElement* cursor,
                                    const CXmlSerializationContext& context, bool optionalChoiceItem);
    static void AttributesToXml_Int(const CXmlObjectBase* child, CXmlWriter* writer,
                                    const CXmlSerializationContext& context);
    static void ToXml_Int(const CXmlObjectBase* child, CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                          const CXmlSerializationContext& context, bool optionalChoiceItem);

    // --- the write steps the members share
    // Nothing for an unset value (false); a nil value as an empty element carrying xsi:nil;
    // otherwise the value, checked against the facets first, in its lexical form.
    bool ElementToXmlPrim(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                          CXmlWriter* writer) const;
    // As ElementToXmlPrim, with the generated text of the integer written as a string and no
    // facet check.
    bool ElementToXmlEnum(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, CXmlWriter* writer,
                          EnumToStringFn toText) const;
    // The child object held by the property writes itself (nothing and false when there is none).
    bool ElementToXmlCls(const CXmlSerializationContext& context, const CXmlGeneratedClass* object, CXmlWriter* writer,
                         bool optionalChoiceItem) const;
    // The collection held by the property writes its items (nothing and false when it is empty).
    bool ElementToXmlCol(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                         CXmlWriter* writer) const;
    // ElementToXmlCol after the collection's count check, which the context may switch off
    // (IgnoreInvalidCollectionCounts): sequences and all-groups.
    bool ElementToXmlCountedCol(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                CXmlWriter* writer) const;
    // Writes the attributes of the pseudo-element child object or collection the property holds
    // on the open element.
    void PseudoChildAttributesToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                    CXmlWriter* writer) const;

    // --- the read steps the members share
    // Soft mode: the object being read is a pseudo element whose content is looked for among
    // its parent's children; a missing mandatory element then answers false instead of throwing.
    static bool IsSoftMode(XmlElementType callerElementType) { return callerElementType != XmlElementType_Element; }
    // The read of a primitive or enumeration element at *cursor into the property. Its xsi:nil
    // attribute decides first: absent, empty, "false" (in any case) or "0" is not nil; any
    // other text is refused on a non-nillable descriptor (CQxValidationException "Invalid use of
    // 'nil' attibute in non-nillable element [%s]"); "true" (in any case) or "1" makes the
    // value nil; anything else is CQxValidationException "Unexpected Value [%s] for 'nil'
    // Attribute found.". A
    // value that is not nil comes from `enumFromText(text)` for enumerations or, when it is
    // null, from the text parsed as m_itemType under m_whitespaceRule (no facet check). The
    // cursor then moves past the element. True.
    bool ReadValueElement(CXmlGeneratedClass* object, CXmlElement** cursor, EnumFromStringFn enumFromText) const;
    // The object or collection the property holds (null for an unset property).
    QxXmlLib10::CSmartPtr<CXmlObjectBase> GetChild(CXmlGeneratedClass* object) const;
    QxXmlLib10::CSmartPtr<QxXmlLib10::CXmlCollectionBase> GetCollection(CXmlGeneratedClass* object) const;
    // Stores `child` (null clears the property).
    void StoreChild(CXmlGeneratedClass* object, CXmlObjectBase* child) const;
    // A child with an element of its own reads the element at *cursor (its content from the
    // element's first child element); the cursor moves to the next sibling.
    static void ReadOwnElement(const CXmlSerializationContext& context, CXmlObjectBase* child, CXmlElement** cursor,
                               bool optionalChoiceItem);
    // A pseudo-element child (or a collection) reads its content among the parent's children
    // from *cursor, and the cursor moves to the first element it did not consume. True when it
    // consumed something.
    static bool ReadContent(const CXmlSerializationContext& context, CXmlObjectBase* child, CXmlElement* parent,
                            CXmlElement** cursor);

    // --- untyped members
    // An untyped member applies to `element` when it is a wildcard ("AnyElement") or has the
    // element's local name.
    bool IsUntypedMatch(const CXmlElement* element) const;
    // The untyped collection `items` reads the run at *cursor: a wildcard takes what its
    // restriction allows, a named member the run of elements with its name and the namespace
    // of the first. True when it consumed something.
    bool ReadUntypedItems(const CXmlSerializationContext& context, QxXmlLib10::CXmlCollectionBase* items,
                          CXmlElement* parent, CXmlElement** cursor) const;

    std::wstring m_strElementName;  // "AnyElement" marks a wildcard in untyped members
    std::wstring m_strElementNamespace;
    int m_iPropertyIndex;
    CPrimitiveRestrictions m_restrictions;
    ItemType m_itemType;
    std::wstring m_strFormatOverride;
    CWhitespaceUtils::WhitespaceRule m_whitespaceRule;
    bool m_bNillable;
    bool m_bHasPrimitiveInfo;  // only the full primitive constructor sets it
    // Set once at construction: a primitive descriptor of a checked kind whose restrictions
    // carry no facet at all. A value of exactly that kind then passes CheckRestriction
    // without looking, so writing skips the call (it stays for a value of another kind,
    // which the check refuses).
    bool m_bNoFacetToCheck = false;

private:
    // The registered strings of the name and the namespace (see NameRegistry.h): an element of
    // the tree that points at them has this name without a text comparison.
    const std::wstring* m_pNameToken;
    const std::wstring* m_pNamespaceToken;

    // False when the value read for writing is unset (nothing is written) or nil (the element
    // is written empty, carrying xsi:nil); true when its text remains to be written.
    bool HasValueToWrite(const QxVariant& value, CXmlWriter* writer) const;
    void WriteValueElement(CXmlWriter* writer, const std::wstring& text, ItemType itemType) const;
    // The nil decision of ReadValueElement, from the text of the xsi:nil attribute.
    bool IsNil(const std::wstring& nilText) const;
    bool WriteItems(const CXmlSerializationContext& context, const QxXmlLib10::CXmlCollectionBase* items,
                    CXmlWriter* writer) const;
};

}  // namespace QxXmlLib10Data

// AttributeInfo.h - the attribute descriptors: a primitive value, an enumeration held as an
// integer, and the xs:anyAttribute wildcard.
//
// A generated class lists its attributes in a null-terminated table. Writing asks every
// descriptor to write its attribute on the element just started; reading offers each
// attribute of the element to the descriptors in table order, then asks each whether a
// required attribute was seen:
//
//   // <xs:attribute name="currency" type="xs:string" default="EUR"/>
//   CAttributeInfo** table = new CAttributeInfo*[3];
//   table[0] = new CAttributeInfoPrimitive(L"currency", L"", 4, true, ItemType_string, nullptr,
//                                          CWhitespaceUtils::WhitespaceRule_Collapse,
//                                          CPrimitiveRestrictions(), L"EUR");
//   // <xs:attribute name="status" use="required"> with an enumeration
//   table[1] = new CAttributeInfoEnum(L"status", L"", 5, false, &StatusToText, &StatusFromText,
//                                     nullptr);
//   table[2] = nullptr;
//
// Like the element descriptors, they are immutable after construction and shared by all
// objects of their class.
#pragma once

#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/support/Export.h>
#include <qxxml/values/ItemType.h>
#include <qxxml/values/PrimitiveRestrictions.h>
#include <qxxml/values/WhitespaceUtils.h>

#include <string>

namespace QxXmlLib10 {
class CXmlAttribute;
}

namespace QxXmlLib10Data {

using QxXmlLib10::CXmlAttribute;

class QXXML_API CAttributeInfo {
public:
    CAttributeInfo(const CAttributeInfo& other) = default;
    CAttributeInfo& operator=(const CAttributeInfo& other) = default;
    virtual ~CAttributeInfo();

    // Writes the attribute on the element just started (or nothing, when it is left out).
    virtual void AttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                CXmlWriter* writer) const = 0;
    // True when this descriptor takes the attribute (and stores it into the object).
    virtual bool AttributeFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                  CXmlAttribute* attribute) = 0;
    // Told after reading whether the attribute was seen; complains about a missing required one.
    virtual void Validate(const CXmlSerializationContext& context, bool found) const = 0;

    std::wstring GetName() const { return m_strName; }
    std::wstring GetNamespace() const { return m_strNamespace; }
    int GetPropertyIndex() const { return m_iPropertyIndex; }

protected:
    CAttributeInfo(const wchar_t* name, const wchar_t* attributeNamespace, int propertyIndex, bool optional,
                   const wchar_t* defaultValue);

    // The namespace-restriction test of wildcards: whether any space-separated token of
    // `constraint` accepts `ns`; TestNamespace throws CQxInvalidNamespaceException when none does.
    static bool IsNamespaceValid(const std::wstring& ns, const std::wstring& constraint,
                                 const std::wstring& targetNamespace);
    static void TestNamespace(const std::wstring& ns, const std::wstring& constraint,
                              const std::wstring& targetNamespace);
    static std::wstring GetTargetNamespace(const CXmlObjectBase* object);
    static void ToXml_Int(const CXmlObjectBase* object, CXmlWriter* writer, bool isRoot,
                          const wchar_t* elementNamespace, const CXmlSerializationContext& context);

    // Same local name and, unless the context ignores namespaces, the same namespace URI.
    bool IsThisAttribute(const CXmlSerializationContext& context, CXmlAttribute* attribute) const;
    void AccessProperty(CXmlGeneratedClass* object, bool read, QxVariant& value) const;
    void ReadProperty(const CXmlGeneratedClass* object, QxVariant& value) const;

    // Whether a written text is left out as the optional attribute's default.
    bool IsSuppressedDefault(const CXmlSerializationContext& context, const std::wstring& text) const;
    // CQxValidationException "Failed to find the required Attribute [%s]" unless optional or found.
    void ValidatePresence(bool found) const;

    std::wstring m_strName;
    std::wstring m_strNamespace;  // the wildcard's own namespace text is not used for matching
    int m_iPropertyIndex;
    bool m_bOptional;
    std::wstring m_strDefaultValue;
    // The registered strings of the name and the namespace (see NameRegistry.h): an attribute
    // of the tree that points at them has this name without a text comparison.
    const std::wstring* m_pNameToken;
    const std::wstring* m_pNamespaceToken;

    // Same local name and namespace URI as the attribute.
    bool HasNameOf(const CXmlAttribute* attribute) const;
};

// An attribute of a primitive type, checked against its facets when written.
class QXXML_API CAttributeInfoPrimitive : public CAttributeInfo {
public:
    CAttributeInfoPrimitive(const wchar_t* name, const wchar_t* attributeNamespace, int propertyIndex, bool optional,
                            ItemType itemType, const wchar_t* formatOverride,
                            CWhitespaceUtils::WhitespaceRule whitespaceRule, const CPrimitiveRestrictions& restrictions,
                            const wchar_t* defaultValue);
    CAttributeInfoPrimitive(const CAttributeInfoPrimitive& other) = default;
    CAttributeInfoPrimitive& operator=(const CAttributeInfoPrimitive& other) = default;
    ~CAttributeInfoPrimitive() override;

    void AttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                        CXmlWriter* writer) const override;
    // Takes only an attribute of exactly this name and namespace (IgnoreNamespaces plays no
    // part). The facets are not checked on reading.
    bool AttributeFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                          CXmlAttribute* attribute) override;
    void Validate(const CXmlSerializationContext& context, bool found) const override;

    // Throws when `value` breaks one of the attribute's facets.
    void CheckRestriction(const QxVariant& value) const;

protected:
    CPrimitiveRestrictions m_restrictions;
    ItemType m_itemType;
    std::wstring m_strFormatOverride;
    CWhitespaceUtils::WhitespaceRule m_whitespaceRule;
    // Set once at construction (detail::NoFacetToCheck): a value of exactly m_itemType is
    // written without calling CheckRestriction.
    bool m_bNoFacetToCheck;
};

// An attribute whose enumeration value the property holds as an integer; the generated
// functions map it to its schema text and back.
class QXXML_API CAttributeInfoEnum : public CAttributeInfo {
public:
    CAttributeInfoEnum(const wchar_t* name, const wchar_t* attributeNamespace, int propertyIndex, bool optional,
                       EnumToStringFn enumToString, EnumFromStringFn enumFromString, const wchar_t* defaultValue);
    CAttributeInfoEnum(const CAttributeInfoEnum& other) = default;
    CAttributeInfoEnum& operator=(const CAttributeInfoEnum& other) = default;
    ~CAttributeInfoEnum() override;

    // The text is the generated function's; a value it has no text for (a null result) throws
    // CQxInvalidValueException "Invalid Value for <name> [<number>]".
    void AttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                        CXmlWriter* writer) const override;
    // Matches like IsThisAttribute (IgnoreNamespaces-aware); the text goes to the generated
    // function unchanged.
    bool AttributeFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                          CXmlAttribute* attribute) override;
    void Validate(const CXmlSerializationContext& context, bool found) const override;

protected:
    EnumFromStringFn m_pfnEnumFromString;
    EnumToStringFn m_pfnEnumToString;
};

// The xs:anyAttribute wildcard: its property holds a CAttributeCol that collects every
// attribute the namespace constraint admits.
class QXXML_API CAttributeInfoAny : public CAttributeInfo {
public:
    CAttributeInfoAny(const wchar_t* name, const wchar_t* attributeNamespace, int propertyIndex, bool optional,
                      const wchar_t* namespaceConstraint, const wchar_t* targetNamespace, const wchar_t* defaultValue);
    CAttributeInfoAny(const CAttributeInfoAny& other) = default;
    CAttributeInfoAny& operator=(const CAttributeInfoAny& other) = default;
    ~CAttributeInfoAny() override;

    // The collection writes every attribute it holds.
    void AttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                        CXmlWriter* writer) const override;
    // Takes any attribute whose namespace the constraint admits.
    bool AttributeFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                          CXmlAttribute* attribute) override;
    // Nothing to check: a wildcard is never required.
    void Validate(const CXmlSerializationContext& context, bool found) const override;

protected:
    std::wstring m_strNamespaceConstraint;  // "##any", "##other", "##local", "##targetNamespace", URIs
    std::wstring m_strTargetNamespace;
};

}  // namespace QxXmlLib10Data

#include <qxxml/metadata/AttributeInfo.h>

#include <qxxml/collections/AttributeCol.h>
#include <qxxml/core/PrimitiveValueCheck.h>
#include <qxxml/core/XmlGeneratedClass.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/metadata/detail/DescriptorSupport.h>
#include <qxxml/metadata/detail/ScratchValue.h>
#include <qxxml/support/NameRegistry.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/ScratchText.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/values/QxVariant.h>
#include <qxxml/xmlin/XmlAttribute.h>
#include <qxxml/xmlout/XmlWriter.h>

namespace QxXmlLib10Data {

using detail::OrEmpty;

using QxXmlLib10::CQxException;
using QxXmlLib10::FormatString;

namespace {

// The namespace-restriction test is a member of CXmlObjectBase; this inert object lets the
// descriptors' static forms run that one test rather than a second copy of it.
class CNamespaceRestriction final : public CXmlObjectBase {
public:
    static const CNamespaceRestriction& Instance() {
        static const CNamespaceRestriction instance;
        return instance;
    }
    bool Admits(const std::wstring& ns, const std::wstring& constraint, const std::wstring& target) const {
        return IsNamespaceValid(ns.c_str(), constraint.c_str(), target.c_str());
    }
    void Require(const std::wstring& ns, const std::wstring& constraint, const std::wstring& target) const {
        TestNamespace(ns.c_str(), constraint.c_str(), target.c_str());
    }

    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return std::wstring(); }

protected:
    std::wstring GetTargetNamespace() const override { return std::wstring(); }
    void ToXml_Int(CXmlWriter*, bool, const wchar_t*, const CXmlSerializationContext&, bool) const override {}
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&, bool) override {
        return firstChild;
    }
};

}  // namespace

// ------------------------------------------------------------------ CAttributeInfo

CAttributeInfo::CAttributeInfo(const wchar_t* name, const wchar_t* attributeNamespace, int propertyIndex, bool optional,
                               const wchar_t* defaultValue)
    : m_strName(OrEmpty(name)),
      m_strNamespace(OrEmpty(attributeNamespace)),
      m_iPropertyIndex(propertyIndex),
      m_bOptional(optional),
      m_strDefaultValue(OrEmpty(defaultValue)),
      m_pNameToken(QxXmlLib10::RegisterName(m_strName)),
      m_pNamespaceToken(QxXmlLib10::RegisterName(m_strNamespace)) {}

CAttributeInfo::~CAttributeInfo() = default;

bool CAttributeInfo::IsNamespaceValid(const std::wstring& ns, const std::wstring& constraint,
                                      const std::wstring& targetNamespace) {
    return CNamespaceRestriction::Instance().Admits(ns, constraint, targetNamespace);
}

void CAttributeInfo::TestNamespace(const std::wstring& ns, const std::wstring& constraint,
                                   const std::wstring& targetNamespace) {
    CNamespaceRestriction::Instance().Require(ns, constraint, targetNamespace);
}

std::wstring CAttributeInfo::GetTargetNamespace(const CXmlObjectBase* object) {
    return CXmlGeneratedClass::GetTargetNamespace(object);
}

void CAttributeInfo::ToXml_Int(const CXmlObjectBase* object, CXmlWriter* writer, bool isRoot,
                               const wchar_t* elementNamespace, const CXmlSerializationContext& context) {
    CXmlGeneratedClass::ToXml_Int(object, writer, isRoot, elementNamespace, context, false);
}

bool CAttributeInfo::IsThisAttribute(const CXmlSerializationContext& context, CXmlAttribute* attribute) const {
    using QxXmlLib10::SameName;
    if (!attribute || !SameName(attribute->GetLocalName(), m_pNameToken, m_strName)) return false;
    return context.GetIgnoreNamespaces() || SameName(attribute->GetNamespaceURI(), m_pNamespaceToken, m_strNamespace);
}

bool CAttributeInfo::HasNameOf(const CXmlAttribute* attribute) const {
    return QxXmlLib10::SameName(attribute->GetLocalName(), m_pNameToken, m_strName) &&
           QxXmlLib10::SameName(attribute->GetNamespaceURI(), m_pNamespaceToken, m_strNamespace);
}

void CAttributeInfo::AccessProperty(CXmlGeneratedClass* object, bool read, QxVariant& value) const {
    object->AccessProperty(m_iPropertyIndex, read, value);
}

void CAttributeInfo::ReadProperty(const CXmlGeneratedClass* object, QxVariant& value) const {
    object->ReadProperty(m_iPropertyIndex, value);
}

bool CAttributeInfo::IsSuppressedDefault(const CXmlSerializationContext& context, const std::wstring& text) const {
    return m_bOptional && !m_strDefaultValue.empty() && context.GetNoOptionalAttributeDefaultOutput() &&
           text == m_strDefaultValue;
}

void CAttributeInfo::ValidatePresence(bool found) const {
    if (m_bOptional || found) return;
    throw QxXmlLib10::CQxValidationException(
        FormatString(L"Failed to find the required Attribute [%s]", m_strName.c_str()));
}

// ------------------------------------------------------------------ CAttributeInfoPrimitive

CAttributeInfoPrimitive::CAttributeInfoPrimitive(const wchar_t* name, const wchar_t* attributeNamespace,
                                                 int propertyIndex, bool optional, ItemType itemType,
                                                 const wchar_t* formatOverride,
                                                 CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                                 const CPrimitiveRestrictions& restrictions,
                                                 const wchar_t* defaultValue)
    : CAttributeInfo(name, attributeNamespace, propertyIndex, optional, defaultValue),
      m_restrictions(restrictions),
      m_itemType(itemType),
      m_strFormatOverride(OrEmpty(formatOverride)),
      m_whitespaceRule(whitespaceRule),
      m_bNoFacetToCheck(detail::NoFacetToCheck(itemType, restrictions)) {}

CAttributeInfoPrimitive::~CAttributeInfoPrimitive() = default;

void CAttributeInfoPrimitive::AttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                             CXmlWriter* writer) const {
    detail::CScratchValue scratch(m_itemType);
    QxVariant& value = scratch.Get();
    ReadProperty(object, value);
    if (m_bOptional && !value.IsValid()) return;  // an unset optional property
    // A required property left unset fails here, in the variant's conversion.
    const ItemType kind = value.GetTypeAsEnum();
    const std::wstring& text = scratch.Text(m_strFormatOverride);
    if (IsSuppressedDefault(context, text)) return;
    if (!m_bNoFacetToCheck || kind != m_itemType) CheckRestriction(value);
    writer->AddAttribute(m_strName, m_strNamespace, text, kind);
}

bool CAttributeInfoPrimitive::AttributeFromXml(const CXmlSerializationContext&, CXmlGeneratedClass* object,
                                               CXmlAttribute* attribute) {
    if (!attribute || !HasNameOf(attribute)) return false;
    detail::CScratchValue scratch(m_itemType);
    QxVariant& value = scratch.Get();
    detail::ValueFromText(value, attribute->GetValueView(), m_itemType, m_whitespaceRule);
    AccessProperty(object, false, value);
    return true;
}

void CAttributeInfoPrimitive::Validate(const CXmlSerializationContext&, bool found) const { ValidatePresence(found); }

void CAttributeInfoPrimitive::CheckRestriction(const QxVariant& value) const {
    QxXmlLib10::CheckPrimitiveValue(m_strName.c_str(), value, m_itemType, m_restrictions);
}

// ------------------------------------------------------------------ CAttributeInfoEnum

CAttributeInfoEnum::CAttributeInfoEnum(const wchar_t* name, const wchar_t* attributeNamespace, int propertyIndex,
                                       bool optional, EnumToStringFn enumToString, EnumFromStringFn enumFromString,
                                       const wchar_t* defaultValue)
    : CAttributeInfo(name, attributeNamespace, propertyIndex, optional, defaultValue),
      m_pfnEnumFromString(enumFromString),
      m_pfnEnumToString(enumToString) {}

CAttributeInfoEnum::~CAttributeInfoEnum() = default;

void CAttributeInfoEnum::AttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                        CXmlWriter* writer) const {
    detail::CScratchValue scratch(QxXmlLib10::ItemType_i4);
    QxVariant& value = scratch.Get();
    ReadProperty(object, value);
    if (m_bOptional && !value.IsValid()) return;
    const std::wstring attributeText = detail::EnumText(m_pfnEnumToString, value.GetI4(), m_strName);
    if (IsSuppressedDefault(context, attributeText)) return;
    writer->AddAttribute(m_strName, m_strNamespace, attributeText, QxXmlLib10::ItemType_string);
}

bool CAttributeInfoEnum::AttributeFromXml(const CXmlSerializationContext& context, CXmlGeneratedClass* object,
                                          CXmlAttribute* attribute) {
    if (!IsThisAttribute(context, attribute)) return false;
    QxVariant value;
    value.SetI4(m_pfnEnumFromString(QxXmlLib10::ScratchText(attribute->GetValueView()).c_str()));
    AccessProperty(object, false, value);
    return true;
}

void CAttributeInfoEnum::Validate(const CXmlSerializationContext&, bool found) const { ValidatePresence(found); }

// ------------------------------------------------------------------ CAttributeInfoAny

CAttributeInfoAny::CAttributeInfoAny(const wchar_t* name, const wchar_t* attributeNamespace, int propertyIndex,
                                     bool optional, const wchar_t* namespaceConstraint, const wchar_t* targetNamespace,
                                     const wchar_t* defaultValue)
    : CAttributeInfo(name, attributeNamespace, propertyIndex, optional, defaultValue),
      m_strNamespaceConstraint(OrEmpty(namespaceConstraint)),
      m_strTargetNamespace(OrEmpty(targetNamespace)) {}

CAttributeInfoAny::~CAttributeInfoAny() = default;

void CAttributeInfoAny::AttributeToXml(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                       CXmlWriter* writer) const {
    QxVariant value;
    ReadProperty(object, value);
    const QxXmlLib10::CSmartPtr<QxXmlLib10::CXmlCollectionBase> collection = value.GetXmlCollection();
    const std::wstring targetNamespace = GetTargetNamespace(object);
    ToXml_Int(collection, writer, false, targetNamespace.c_str(), context);
}

bool CAttributeInfoAny::AttributeFromXml(const CXmlSerializationContext&, CXmlGeneratedClass* object,
                                         CXmlAttribute* attribute) {
    if (!attribute || !IsNamespaceValid(attribute->GetNamespaceURI(), m_strNamespaceConstraint, m_strTargetNamespace))
        return false;
    QxVariant value;
    AccessProperty(object, true, value);
    const QxXmlLib10::CSmartPtr<QxXmlLib10::CXmlCollectionBase> collection = value.GetXmlCollection();
    QxXmlLib10::CAttributeCol* attributes = dynamic_cast<QxXmlLib10::CAttributeCol*>(collection.Get());
    if (!attributes)
        throw CQxException(L"Serialization Data Error : The collection should be a CAttributeCol, it was not!");
    attributes->Add(attribute->GetLocalName().c_str(), attribute->GetValue().c_str(),
                    attribute->GetNamespaceURI().c_str());
    return true;
}

void CAttributeInfoAny::Validate(const CXmlSerializationContext&, bool) const {}

}  // namespace QxXmlLib10Data

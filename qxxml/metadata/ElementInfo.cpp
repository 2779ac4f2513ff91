#include <qxxml/metadata/ElementInfo.h>

#include <qxxml/collections/ElementCol.h>
#include <qxxml/collections/XmlCollectionBase.h>
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
#include <qxxml/xmlin/XmlElement.h>
#include <qxxml/xmlout/XmlWriter.h>

#include <cwchar>
#include <string>
#include <string_view>
#include <utility>

namespace QxXmlLib10Data {

using detail::OrEmpty;

using QxXmlLib10::CQxException;
using QxXmlLib10::CQxValidationException;
using QxXmlLib10::CXmlCollectionBase;
using QxXmlLib10::FormatString;


CElementInfo::CElementInfo(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex)
    : CElementInfo(name, elementNamespace, propertyIndex, false) {}

CElementInfo::CElementInfo(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable)
    : m_strElementName(OrEmpty(name)),
      m_strElementNamespace(OrEmpty(elementNamespace)),
      m_iPropertyIndex(propertyIndex),
      m_itemType(QxXmlLib10::ItemType_invalid),
      m_whitespaceRule(CWhitespaceUtils::WhitespaceRule_None),
      m_bNillable(nillable),
      m_bHasPrimitiveInfo(false),
      m_pNameToken(QxXmlLib10::RegisterName(m_strElementName)),
      m_pNamespaceToken(QxXmlLib10::RegisterName(m_strElementNamespace)) {}

CElementInfo::CElementInfo(const wchar_t* name, const wchar_t* elementNamespace, int propertyIndex, bool nillable,
                           ItemType itemType, const wchar_t* formatOverride,
                           CWhitespaceUtils::WhitespaceRule whitespaceRule, const CPrimitiveRestrictions& restrictions)
    : m_strElementName(OrEmpty(name)),
      m_strElementNamespace(OrEmpty(elementNamespace)),
      m_iPropertyIndex(propertyIndex),
      m_restrictions(restrictions),
      m_itemType(itemType),
      m_strFormatOverride(OrEmpty(formatOverride)),
      m_whitespaceRule(whitespaceRule),
      m_bNillable(nillable),
      m_bHasPrimitiveInfo(true),
      m_bNoFacetToCheck(detail::NoFacetToCheck(itemType, restrictions)),
      m_pNameToken(QxXmlLib10::RegisterName(m_strElementName)),
      m_pNamespaceToken(QxXmlLib10::RegisterName(m_strElementNamespace)) {}

CElementInfo::~CElementInfo() = default;

void CElementInfo::PseudoChildAttributeToXml(const CXmlSerializationContext&, const CXmlGeneratedClass*,
                                             CXmlWriter*) const {}

bool CElementInfo::IsThisElement(const CXmlSerializationContext& context, const CXmlElement* element) const {
    using QxXmlLib10::SameName;
    if (!element || !SameName(element->GetLocalName(), m_pNameToken, m_strElementName)) return false;
    return context.GetIgnoreNamespaces() ||
           SameName(element->GetNamespaceURI(), m_pNamespaceToken, m_strElementNamespace);
}

void CElementInfo::CheckRestriction(const QxVariant& value) const {
    if (!m_bHasPrimitiveInfo) throw CQxException(L"Cannot CheckRestriction for type: " + value.GetType());
    QxXmlLib10::CheckPrimitiveValue(m_strElementName.c_str(), value, m_itemType, m_restrictions);
}

std::wstring CElementInfo::GetAnyDefaultNamespace(const wchar_t* constraint, const wchar_t* parentNamespace,
                                                  const wchar_t* targetNamespace) {
    const std::wstring rule = OrEmpty(constraint);
    if (rule == L"##any") return OrEmpty(parentNamespace);
    if (rule == L"##other") return *OrEmpty(parentNamespace) ? L"" : L"DefaultNamespace";
    if (rule == L"##local") return L"";
    if (rule == L"##targetNamespace") return OrEmpty(targetNamespace);
    // A list that starts with a keyword: the first token decides.
    const size_t space = rule.find(L' ');
    if (space != std::wstring::npos && rule.size() > 2 && rule.compare(0, 2, L"##") == 0)
        return GetAnyDefaultNamespace(rule.substr(0, space).c_str(), parentNamespace, targetNamespace);
    return L"";  // one URI or a list of URIs: no namespace is implied
}

// ------------------------------------------------------------------ property access

void CElementInfo::AccessProperty(CXmlGeneratedClass* object, bool read, QxVariant& value) const {
    object->AccessProperty(m_iPropertyIndex, read, value);
}

void CElementInfo::ReadProperty(const CXmlGeneratedClass* object, QxVariant& value) const {
    object->ReadProperty(m_iPropertyIndex, value);
}

CXmlElement* CElementInfo::FromXml_Int(CXmlObjectBase* child, CXmlElement* element, CXmlElement* cursor,
                                       const CXmlSerializationContext& context, bool optionalChoiceItem) {
    return CXmlGeneratedClass::FromXml_Int(child, element, cursor, context, optionalChoiceItem);
}

void CElementInfo::AttributesToXml_Int(const CXmlObjectBase* child, CXmlWriter* writer,
                                       const CXmlSerializationContext& context) {
    CXmlGeneratedClass::AttributesToXml_Int(child, writer, context);
}

void CElementInfo::ToXml_Int(const CXmlObjectBase* child, CXmlWriter* writer, bool isRoot,
                             const wchar_t* elementNamespace, const CXmlSerializationContext& context,
                             bool optionalChoiceItem) {
    CXmlGeneratedClass::ToXml_Int(child, writer, isRoot, elementNamespace, context, optionalChoiceItem);
}

// ------------------------------------------------------------------ shared write steps

bool CElementInfo::HasValueToWrite(const QxVariant& value, CXmlWriter* writer) const {
    if (!value.IsValid()) return false;
    if (!value.IsNil()) return true;
    writer->StartDeclaredElement(m_strElementName, m_strElementNamespace);
    writer->AddXsiNilAttribute();
    writer->EndElement();
    return false;
}

bool CElementInfo::ElementToXmlPrim(const CXmlSerializationContext&, const CXmlGeneratedClass* object,
                                    CXmlWriter* writer) const {
    detail::CScratchValue scratch(m_itemType);
    QxVariant& value = scratch.Get();
    ReadProperty(object, value);
    if (!HasValueToWrite(value, writer)) return value.IsValid();
    const ItemType kind = value.GetTypeAsEnum();
    if (!m_bNoFacetToCheck || kind != m_itemType) CheckRestriction(value);  // before anything is written
    WriteValueElement(writer, scratch.Text(m_strFormatOverride), kind);
    return true;
}

bool CElementInfo::ElementToXmlEnum(const CXmlSerializationContext&, const CXmlGeneratedClass* object,
                                    CXmlWriter* writer, EnumToStringFn toText) const {
    detail::CScratchValue scratch(QxXmlLib10::ItemType_i4);
    QxVariant& value = scratch.Get();
    ReadProperty(object, value);
    if (!HasValueToWrite(value, writer)) return value.IsValid();
    WriteValueElement(writer, detail::EnumText(toText, value.GetI4(), m_strElementName), QxXmlLib10::ItemType_string);
    return true;
}

void CElementInfo::WriteValueElement(CXmlWriter* writer, const std::wstring& text, ItemType itemType) const {
    writer->WriteDeclaredValueElement(m_strElementName, m_strElementNamespace, text, itemType);
}

bool CElementInfo::ElementToXmlCls(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer, bool optionalChoiceItem) const {
    QxVariant value;
    ReadProperty(object, value);
    if (!value.IsValid()) return false;  // an absent optional child may come as an unset variant
    const QxXmlLib10::CSmartPtr<CXmlObjectBase> child = value.GetXmlObject();
    if (!child) return false;
    // The element name is the child's own; the namespace is this element's.
    ToXml_Int(child.Get(), writer, false, m_strElementNamespace.c_str(), context, optionalChoiceItem);
    return true;
}

bool CElementInfo::ElementToXmlCol(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                   CXmlWriter* writer) const {
    QxVariant value;
    ReadProperty(object, value);
    return WriteItems(context, value.GetXmlCollection().Get(), writer);
}

bool CElementInfo::ElementToXmlCountedCol(const CXmlSerializationContext& context, const CXmlGeneratedClass* object,
                                          CXmlWriter* writer) const {
    QxVariant value;
    ReadProperty(object, value);
    const QxXmlLib10::CSmartPtr<CXmlCollectionBase> items = value.GetXmlCollection();
    if (!context.GetIgnoreInvalidCollectionCounts()) items->ValidateCount(context);
    return WriteItems(context, items.Get(), writer);
}

bool CElementInfo::WriteItems(const CXmlSerializationContext& context, const CXmlCollectionBase* items,
                              CXmlWriter* writer) const {
    if (items->GetCount() < 1) return false;
    // The items are written under the collection's own element name.
    ToXml_Int(items, writer, false, m_strElementNamespace.c_str(), context, false);
    return true;
}

void CElementInfo::PseudoChildAttributesToXml(const CXmlSerializationContext& context,
                                              const CXmlGeneratedClass* object, CXmlWriter* writer) const {
    QxVariant value;
    ReadProperty(object, value);
    if (!value.IsValid()) return;
    const QxXmlLib10::CSmartPtr<CXmlObjectBase> child = value.GetXmlObject();  // an object or a collection
    if (child) AttributesToXml_Int(child.Get(), writer, context);
}

// ------------------------------------------------------------------ shared read steps

namespace {

// ASCII case-insensitive comparison with a lower-case literal.
bool EqualsIgnoringCase(const std::wstring& text, const wchar_t* lowerCase) {
    size_t i = 0;
    for (; lowerCase[i] != L'\0'; ++i) {
        if (i == text.size()) return false;
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != lowerCase[i]) return false;
    }
    return i == text.size();
}

}  // namespace

bool CElementInfo::ReadValueElement(CXmlGeneratedClass* object, CXmlElement** cursor,
                                    EnumFromStringFn enumFromText) const {
    CXmlElement* const element = *cursor;
    detail::CScratchValue scratch(enumFromText ? QxXmlLib10::ItemType_i4 : m_itemType);
    QxVariant& value = scratch.Get();
    if (IsNil(element->GetAttribute(L"nil", CXmlWriter::kInstanceNamespace)))
        value.SetNil();
    else if (enumFromText)
        value.SetI4(enumFromText(QxXmlLib10::ScratchText(element->GetTextView()).c_str()));
    else
        detail::ValueFromText(value, element->GetTextView(), m_itemType, m_whitespaceRule);
    AccessProperty(object, false, value);
    *cursor = element->GetNextSiblingElement();
    return true;
}

bool CElementInfo::IsNil(const std::wstring& nilText) const {
    if (nilText.empty() || EqualsIgnoringCase(nilText, L"false") || nilText == L"0") return false;
    if (!m_bNillable)
        throw CQxValidationException(FormatString(L"Invalid use of 'nil' attibute in non-nillable element [%s]",
                                                  m_strElementName.c_str()));
    if (EqualsIgnoringCase(nilText, L"true") || nilText == L"1") return true;
    throw CQxValidationException(FormatString(L"Unexpected Value [%s] for 'nil' Attribute found.", nilText.c_str()));
}

QxXmlLib10::CSmartPtr<CXmlObjectBase> CElementInfo::GetChild(CXmlGeneratedClass* object) const {
    QxVariant value;
    AccessProperty(object, true, value);
    return value.IsValid() ? value.GetXmlObject() : nullptr;
}

QxXmlLib10::CSmartPtr<CXmlCollectionBase> CElementInfo::GetCollection(CXmlGeneratedClass* object) const {
    QxVariant value;
    AccessProperty(object, true, value);
    return value.GetXmlCollection();  // never null: generated classes own one collection per repeated element
}

void CElementInfo::StoreChild(CXmlGeneratedClass* object, CXmlObjectBase* child) const {
    QxVariant value;
    value.SetXmlObject(child);
    AccessProperty(object, false, value);
}

void CElementInfo::ReadOwnElement(const CXmlSerializationContext& context, CXmlObjectBase* child,
                                  CXmlElement** cursor, bool optionalChoiceItem) {
    CXmlElement* const element = *cursor;
    FromXml_Int(child, element, element->GetFirstElement(), context, optionalChoiceItem);
    *cursor = element->GetNextSiblingElement();
}

bool CElementInfo::ReadContent(const CXmlSerializationContext& context, CXmlObjectBase* child, CXmlElement* parent,
                               CXmlElement** cursor) {
    CXmlElement* const next = FromXml_Int(child, parent, *cursor, context, false);
    const bool consumed = next != *cursor;
    *cursor = next;
    return consumed;
}

// ------------------------------------------------------------------ untyped members

namespace {
const wchar_t* const kAnyElement = L"AnyElement";
}  // namespace

bool CElementInfo::IsUntypedMatch(const CXmlElement* element) const {
    return m_strElementName == kAnyElement || element->GetLocalName() == m_strElementName;
}

bool CElementInfo::ReadUntypedItems(const CXmlSerializationContext& context, CXmlCollectionBase* items,
                                    CXmlElement* parent, CXmlElement** cursor) const {
    QxXmlLib10::CElementCol* elements = dynamic_cast<QxXmlLib10::CElementCol*>(items);
    if (!elements || m_strElementName == kAnyElement) return ReadContent(context, items, parent, cursor);
    CXmlElement* const start = *cursor;
    *cursor = elements->FromXmlLockElementName_Int(m_strElementName, start ? start->GetNamespaceURI() : std::wstring(),
                                                   parent, start, context);
    return *cursor != start;
}

// ------------------------------------------------------------------ detail helpers

std::wstring detail::EnumText(EnumToStringFn toText, int32_t value, const std::wstring& name) {
    const wchar_t* text = toText(value);
    if (!text)  // the generated function knows no text for this value
        throw QxXmlLib10::CQxInvalidValueException(
            FormatString(L"Invalid Value for %s [%d]", name.c_str(), static_cast<int>(value)));
    return text;
}

void detail::ValueFromText(QxVariant& value, std::wstring_view text, ItemType itemType,
                           CWhitespaceUtils::WhitespaceRule whitespaceRule) {
    if (itemType != QxXmlLib10::ItemType_string) {
        value.FromString(QxXmlLib10::ScratchText(text), itemType, whitespaceRule);
        return;
    }
    std::wstring own(text);
    if (CWhitespaceUtils::MayChange(whitespaceRule, own))
        value.FromString(own, itemType, whitespaceRule);
    else
        value.SetString(std::move(own));
}

bool detail::NoFacetToCheck(ItemType itemType, const CPrimitiveRestrictions& r) {
    // The kinds CheckPrimitiveValue has a check for; any other kind fails there even without
    // facets ("unknown type").
    const bool checkedKind = itemType >= QxXmlLib10::ItemType_hexBinary && itemType <= QxXmlLib10::ItemType_integer &&
                             itemType != QxXmlLib10::ItemType_char;
    const bool hasFacet = !r.m_strPattern.empty() || r.m_nMinLength != -1 || r.m_nMaxLength != -1 ||
                          r.m_nLength != -1 || !r.m_strMinInclusive.empty() || !r.m_strMaxInclusive.empty() ||
                          !r.m_strMinExclusive.empty() || !r.m_strMaxExclusive.empty();
    return checkedKind && !hasFacet;
}


}  // namespace QxXmlLib10Data

#include <qxxml/collections/Element.h>

#include <qxxml/collections/ElementCol.h>
#include <qxxml/collections/detail/SharedText.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/detail/OrEmpty.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/xmlin/XmlAttribute.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlin/XmlElement.h>
#include <qxxml/xmlout/TextStream.h>
#include <qxxml/xmlout/XmlTextWriter.h>

#include <cwchar>

namespace QxXmlLib10 {

using detail::OrEmpty;

namespace {

const wchar_t* const kAnyNamespace = L"##any";

bool IsRestrictionKeyword(const wchar_t* text) {
    return text && (wcscmp(text, L"##any") == 0 || wcscmp(text, L"##other") == 0 || wcscmp(text, L"##local") == 0 ||
                    wcscmp(text, L"##targetNamespace") == 0);
}

}  // namespace

CInstanceMonitor::ClassType* CElement::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CElement");
    return record;
}

CElement::CElement(const wchar_t* name) : CInstanceMonitor(MonitorRecord()) { Init(name, L"", kAnyNamespace, L""); }

CElement::CElement(const wchar_t* name, const wchar_t* namespaceUri) : CInstanceMonitor(MonitorRecord()) {
    if (IsRestrictionKeyword(namespaceUri))
        throw CQxInvalidNamespaceException(FormatString(L"Invalid Namespace [%s]", namespaceUri));
    Init(name, namespaceUri, namespaceUri, L"");
}

CElement::CElement(const wchar_t* name, const wchar_t* namespaceUri, const wchar_t* restriction,
                   const wchar_t* targetNamespace)
    : CInstanceMonitor(MonitorRecord()) {
    Init(name, namespaceUri, restriction, targetNamespace);
}

CElement::CElement(const wchar_t* name, const wchar_t* namespaceUri, SharedText restriction, SharedText targetNamespace)
    : CInstanceMonitor(MonitorRecord()) {
    InitShared(name, namespaceUri, std::move(restriction), std::move(targetNamespace));
}

CElement::CElement(CXmlObjectBase* object, const wchar_t* defaultNamespace) : CInstanceMonitor(MonitorRecord()) {
    Init(L"", L"", kAnyNamespace, L"");
    CXmlSerializationContext context;
    if (defaultNamespace) {
        m_strDeclaredDefaultNamespace = defaultNamespace;
        context.SetDefaultNamespaceURI(defaultNamespace);
    }
    CBinaryData bytes = object->ToXmlStream(false, false, XmlEncoding_UTF8, EOLType_LF, context, CompressionType_None);
    CXmlDocument document(context);
    document.LoadXmlStream(const_cast<unsigned char*>(bytes.GetData()), bytes.GetLength());
    CopyXmlElement(document.GetDocumentElement());
}

CElement::CElement(const CElement& other)
    : CXmlObjectBase(other),
      CInstanceMonitor(other),
      m_strName(other.m_strName),
      m_strText(other.m_strText),
      m_strNamespace(other.m_strNamespace),
      m_pRestriction(other.m_pRestriction),
      m_pTargetNamespace(other.m_pTargetNamespace),
      m_pAttributes(other.GetAttributes()),  // made now, so that the copies share them
      m_pChildElements(other.GetChildElements()),
      m_strDeclaredDefaultNamespace(other.m_strDeclaredDefaultNamespace) {}

CElement& CElement::operator=(const CElement& other) {
    CXmlObjectBase::operator=(other);
    m_strName = other.m_strName;
    m_strText = other.m_strText;
    m_strNamespace = other.m_strNamespace;
    m_pRestriction = other.m_pRestriction;
    m_pTargetNamespace = other.m_pTargetNamespace;
    m_pAttributes = other.GetAttributes();
    m_pChildElements = other.GetChildElements();
    m_strDeclaredDefaultNamespace = other.m_strDeclaredDefaultNamespace;
    return *this;
}

CElement::~CElement() = default;

void CElement::Init(const wchar_t* name, const wchar_t* namespaceUri, const wchar_t* restriction,
                    const wchar_t* targetNamespace) {
    if (!name) throw CQxInvalidNamespaceException(L"Element Name must have a value");
    if (!namespaceUri) throw CQxInvalidNamespaceException(L"Element Namespace must have a value");
    if (!restriction) throw CQxInvalidNamespaceException(L"Namespace Restriction must have a value");
    if (!targetNamespace) throw CQxInvalidNamespaceException(L"Target Namespace must have a value");
    InitShared(name, namespaceUri, detail::MakeSharedText(restriction), detail::MakeSharedText(targetNamespace));
}

void CElement::InitShared(const wchar_t* name, const wchar_t* namespaceUri, SharedText restriction,
                          SharedText targetNamespace) {
    TestNamespace(namespaceUri, restriction->c_str(), targetNamespace->c_str());
    m_strName = name;
    m_strNamespace = namespaceUri;
    m_pRestriction = std::move(restriction);
    m_pTargetNamespace = std::move(targetNamespace);
    m_pAttributes = nullptr;
    m_pChildElements = nullptr;
}

void CElement::SetName(const wchar_t* name) {
    FireOnChangeName();
    m_strName = OrEmpty(name);
}

void CElement::SetNamespace(const wchar_t* namespaceUri) {
    FireOnChangeNamespace();
    m_strNamespace = OrEmpty(namespaceUri);
}

void CElement::SetText(const wchar_t* text) {
    FireOnChangeText();
    m_strText = OrEmpty(text);
}

// Wildcard content is mostly leaves: the collections are made when they are first needed.
CSmartPtr<CAttributeCol> CElement::GetAttributes() const {
    if (!m_pAttributes)
        m_pAttributes =
            new CAttributeCol(m_strNamespace.c_str(), detail::MakeSharedText(kAnyNamespace), m_pTargetNamespace);
    return m_pAttributes;
}

CSmartPtr<CElementCol> CElement::GetChildElements() const {
    if (!m_pChildElements)
        m_pChildElements =
            new CElementCol(m_strNamespace.c_str(), detail::MakeSharedText(kAnyNamespace), m_pTargetNamespace, 0, -1);
    return m_pChildElements;
}

void CElement::SetNamespaceRestrictions(const wchar_t* restriction, const wchar_t* targetNamespace) {
    try {
        TestNamespace(m_strNamespace.c_str(), restriction, targetNamespace);
        if (m_pAttributes)
            for (const CAttribute* attribute : *m_pAttributes)
                TestNamespace(attribute->GetNamespace().c_str(), restriction, targetNamespace);
        if (m_pChildElements)
            for (CElement* child : *m_pChildElements) child->SetNamespaceRestrictions(restriction, targetNamespace);
    } catch (const CQxException& failure) {
        throw CQxInvalidNamespaceException(
            FormatString(L"The namespace %s in the class %s is invalid against restriction %s", m_strNamespace.c_str(),
                         m_strName.c_str(), OrEmpty(restriction)),
            failure);
    }
}

void CElement::FromXml(const wchar_t* xmlText) {
    const CXmlSerializationContext& context = CXmlSerializationContext::GetDefaultContext();
    CXmlDocument document(context);
    document.LoadXml(xmlText);
    CXmlElement* root = document.GetDocumentElement();
    FromXml_Int(root, root, context, false);
}

CSmartPtr<CElement> CElement::Clone() const {
    CSmartPtr<CElement> copy(
        new CElement(m_strName.c_str(), m_strNamespace.c_str(), m_pRestriction, m_pTargetNamespace));
    if (m_pAttributes) copy->m_pAttributes = m_pAttributes->Clone();
    if (m_pChildElements) copy->m_pChildElements = m_pChildElements->Clone();
    copy->m_strText = m_strText;
    return copy;
}

void CElement::CopyXmlElement(const CXmlElement* source) {
    m_strName = source->GetLocalName();
    m_strNamespace = source->GetNamespaceURI();
    m_strText = source->GetText();
    if (m_pAttributes) m_pAttributes->Clear();
    if (m_pChildElements) m_pChildElements->Clear();
    for (const CXmlAttribute* attribute : source->GetAttributes()) {
        GetAttributes()->Add(attribute->GetLocalName().c_str(), attribute->GetValue().c_str(),
                             attribute->GetNamespaceURI().c_str());
        if (attribute->GetLocalName() == L"xmlns") m_strDeclaredDefaultNamespace = attribute->GetValue();
    }
    for (const CXmlElement* child = source->GetFirstElement(); child; child = child->GetNextSiblingElement()) {
        CSmartPtr<CElement> item(new CElement(child->GetLocalName().c_str()));
        item->CopyXmlElement(child);
        GetChildElements()->Add(item.Get());
    }
}

void CElement::ToXml_Int(CXmlWriter* writer, bool, const wchar_t* elementNamespace,
                         const CXmlSerializationContext& context, bool optionalChoiceItem) const {
    // Content changed after it was made must still be what the wildcard allows.
    TestNamespace(m_strNamespace.c_str(), m_pRestriction->c_str(), m_pTargetNamespace->c_str());
    if (!m_strDeclaredDefaultNamespace.empty() && dynamic_cast<CXmlTextWriter*>(writer))
        return WriteWithDeclaredDefault(writer, context);
    // Other writers resolve every namespace themselves, so the element is written as usual.
    writer->StartElement(m_strName, m_strNamespace);
    if (m_pAttributes) CXmlObjectBase::ToXml_Int(m_pAttributes.Get(), writer, false, elementNamespace, context, false);
    if (m_pChildElements)
        CXmlObjectBase::ToXml_Int(m_pChildElements.Get(), writer, false, elementNamespace, context, optionalChoiceItem);
    writer->WriteElementValue(m_strText, ItemType_string);
    writer->EndElement();
}

// The element and its children come from a tree whose names kept their prefixes (a document
// read without namespace processing), so they are rendered as a fragment of their own that
// declares the default namespace, and copied into the outer text unchanged. The attributes
// are written too, except the "xmlns" one the fragment's writer declares itself.
void CElement::WriteWithDeclaredDefault(CXmlWriter* writer, const CXmlSerializationContext&) const {
    CXmlTextWriter* outer = static_cast<CXmlTextWriter*>(writer);
    CTextStream stream(XmlEncoding_None);
    CXmlTextWriter fragment(&stream);
    fragment.SetEOLType(outer->GetEOLType());
    fragment.SetFormatting(outer->GetFormatting());
    fragment.StartDocument();
    fragment.SetDefaultNamespace(m_strDeclaredDefaultNamespace);
    fragment.StartElement(m_strName, m_strNamespace);
    CXmlSerializationContext inner;
    inner.SetDefaultNamespaceURI(m_strDeclaredDefaultNamespace.c_str());
    for (const CAttribute* attribute : *GetAttributes())
        if (!(attribute->GetName() == L"xmlns" && attribute->GetNamespace().empty()))
            CXmlObjectBase::ToXml_Int(attribute, &fragment, false, m_strNamespace.c_str(), inner, false);
    CXmlObjectBase::ToXml_Int(GetChildElements().Get(), &fragment, false, m_strNamespace.c_str(), inner, false);
    fragment.WriteElementValue(m_strText, ItemType_string);
    fragment.EndElement();
    fragment.EndDocument();
    stream.Flush();
    outer->CloseStartTag();
    outer->WriteRawXml(stream.TakeText());
}

CXmlElement* CElement::FromXml_Int(CXmlElement*, CXmlElement* cursor, const CXmlSerializationContext& context, bool) {
    if (!cursor ||
        !IsNamespaceValid(cursor->GetNamespaceURI().c_str(), m_pRestriction->c_str(), m_pTargetNamespace->c_str()))
        return cursor;
    CXmlElement* const firstChild = cursor->GetFirstElement();
    if (!cursor->GetAttributes().empty())
        CXmlObjectBase::FromXml_Int(GetAttributes().Get(), cursor, firstChild, context);
    const CXmlElement* unread =
        firstChild ? CXmlObjectBase::FromXml_Int(GetChildElements().Get(), cursor, firstChild, context) : nullptr;
    if (unread)
        throw CQxValidationException(FormatString(L"Invalid Element [%s] found in element [%s]",
                                                  cursor->GetLocalName().c_str(), m_strName.c_str()));
    m_strText = cursor->GetText();
    m_strName = cursor->GetLocalName();
    m_strNamespace = cursor->GetNamespaceURI();
    return cursor->GetNextSiblingElement();
}

}  // namespace QxXmlLib10

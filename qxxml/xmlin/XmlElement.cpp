#include <qxxml/xmlin/XmlElement.h>

#include <qxxml/support/NameRegistry.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlin/detail/TextArena.h>

#include <algorithm>
#include <cassert>
#include <cwchar>
#include <stdexcept>

namespace QxXmlLib10 {

namespace {

const std::wstring& EmptyString() {
    static const std::wstring empty;
    return empty;
}

}  // namespace

// One element per start tag of every parsed document: the record is resolved once, and the
// document counts its elements in bulk.
CInstanceMonitor::ClassType* CXmlElement::MonitorRecord() {
    static ClassType* record = Resolve(L"CXmlElement");
    return record;
}

CXmlElement::CXmlElement(CXmlDocument* document)
    : CInstanceMonitor(MonitorRecord(), CountedByMaker()),
      m_pDocument(document),
      m_pLocalName(&EmptyString()),
      m_pNamespaceURI(&EmptyString()) {}

// Children and attributes come from the document's pools; the document destroys them (see
// CXmlDocument::DestroyTree), so that destroying a deep tree needs no recursion.
CXmlElement::~CXmlElement() = default;

const std::wstring& CXmlElement::GetAttribute(const wchar_t* localName,
                                              const wchar_t* namespaceUri) const {
    for (const CXmlAttribute* attribute : m_attributes) {
        if (SameText(attribute->GetLocalName(), localName) &&
            SameText(attribute->GetNamespaceURI(), namespaceUri))
            return attribute->GetValue();
    }
    return EmptyString();
}

const std::wstring& CXmlElement::GetAttribute(const std::wstring& localName,
                                              const std::wstring& namespaceUri) const {
    for (const CXmlAttribute* attribute : m_attributes) {
        if (attribute->GetLocalName() == localName && attribute->GetNamespaceURI() == namespaceUri)
            return attribute->GetValue();
    }
    return EmptyString();
}

void CXmlElement::AppendText(const wchar_t* text) {
    if (text != nullptr) AppendText(text, std::wcslen(text));
}

const std::wstring& CXmlElement::GetText() const {
    return m_pDocument->MadeText(this);
}

// A text that outgrows its room moves to a new run of twice the size (the old run stays
// unused until the tree goes): a long run of small appends stays linear.
void CXmlElement::AppendText(const wchar_t* text, size_t length) {
    if (length == 0) return;
    const size_t total = m_textLength + length;
    if (total > UINT32_MAX) throw std::length_error("XML text longer than 4 Gi characters");
    if (total > m_textCapacity) {
        const size_t capacity =
            m_textLength == 0 ? total : std::min<size_t>(std::max<size_t>(2 * size_t{m_textCapacity}, total), UINT32_MAX);
        wchar_t* run = m_pDocument->TextStorage().Allocate(capacity);
        std::copy(m_pText, m_pText + m_textLength, run);
        m_pText = run;
        m_textCapacity = static_cast<uint32_t>(capacity);
    }
    std::copy(text, text + length, m_pText + m_textLength);
    m_textLength = static_cast<uint32_t>(total);
    m_pDocument->ForgetMadeText(this);
}

CXmlElement* CXmlElement::CreateNewChildElement() {
    CXmlElement* child = m_pDocument->NewElement();
    if (m_pLastChild != nullptr)
        m_pLastChild->m_pNextSibling = child;
    else
        m_pFirstChild = child;
    m_pLastChild = child;
    return child;
}

CXmlAttribute* CXmlElement::AddAttribute(const std::wstring& localName, const std::wstring& value,
                                         const std::wstring& namespaceUri) {
    return CXmlDocument::AddElementAttribute(this, localName, value, namespaceUri);
}

void CXmlElement::SetElementName(const std::wstring& localName) {
    m_pLocalName = m_pDocument->InternString(localName.data(), localName.size());
}

void CXmlElement::SetNamespace(const std::wstring& namespaceUri) {
    m_pNamespaceURI = m_pDocument->InternString(namespaceUri.data(), namespaceUri.size());
}

void CXmlElement::RemoveLastChildElement() {
    CXmlElement* last = m_pLastChild;
    if (last == nullptr) return;
    CXmlElement* previous = nullptr;
    if (m_pFirstChild != last) {
        previous = m_pFirstChild;
        while (previous->m_pNextSibling != last) previous = previous->m_pNextSibling;
    }
    if (previous != nullptr)
        previous->m_pNextSibling = nullptr;
    else
        m_pFirstChild = nullptr;
    m_pLastChild = previous;
    m_pDocument->DestroyTree(last);
}

}  // namespace QxXmlLib10

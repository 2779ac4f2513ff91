#include <qxxml/collections/AttributeCol.h>

#include <qxxml/collections/detail/SharedText.h>
#include <qxxml/collections/detail/WildcardNamespace.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/detail/OrEmpty.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/xmlin/XmlAttribute.h>
#include <qxxml/xmlin/XmlElement.h>

#include <cwchar>

namespace QxXmlLib10 {

using detail::OrEmpty;

std::wstring detail::ChooseWildcardNamespace(const wchar_t* namespaceUri, const wchar_t* restriction) {
    const wchar_t* uri = OrEmpty(namespaceUri);
    if (*uri) return uri;
    const wchar_t* token = OrEmpty(restriction);
    const wchar_t* space = wcschr(token, L' ');
    const size_t length = space ? static_cast<size_t>(space - token) : wcslen(token);
    if (length >= 2 && token[0] != L'#' && token[1] != L'#') return std::wstring(token, length);
    return std::wstring();
}

detail::SharedText detail::MakeSharedText(const wchar_t* text) {
    static const SharedText empty = std::make_shared<const std::wstring>();
    static const SharedText any = std::make_shared<const std::wstring>(L"##any");
    if (!text || !*text) return empty;
    if (*any == text) return any;
    return std::make_shared<const std::wstring>(text);
}

CInstanceMonitor::ClassType* CAttributeCol::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CAttributeCol");
    return record;
}

CAttributeCol::CAttributeCol(const wchar_t* namespaceUri, const wchar_t* restriction, const wchar_t* targetNamespace)
    : CAttributeCol(namespaceUri, detail::MakeSharedText(restriction), detail::MakeSharedText(targetNamespace)) {}

CAttributeCol::CAttributeCol(const wchar_t* namespaceUri, SharedText restriction, SharedText targetNamespace)
    : CXmlCollection(L"", L"", 0, -1),
      CInstanceMonitor(MonitorRecord()),
      m_pRestriction(std::move(restriction)),
      m_pTargetNamespace(std::move(targetNamespace)) {
    m_strNamespace = detail::ChooseWildcardNamespace(namespaceUri, m_pRestriction->c_str());  // one copy, moved in
}

CAttributeCol::~CAttributeCol() = default;

CAttribute* CAttributeCol::Add(const wchar_t* name, const wchar_t* value, const wchar_t* namespaceUri) {
    TestNamespace(namespaceUri, m_pRestriction->c_str(), m_pTargetNamespace->c_str());
    return Add(new CAttribute(name, value, namespaceUri));
}

CAttribute* CAttributeCol::Add(const wchar_t* name, const wchar_t* value) {
    return Add(name, value, m_strNamespace.c_str());
}

CAttribute* CAttributeCol::Add(const wchar_t* name) { return Add(name, L"", m_strNamespace.c_str()); }

CAttribute* CAttributeCol::Add(CAttribute* item) {
    AppendItem(item);
    return item;
}

CAttribute* CAttributeCol::AddAfter(const CAttribute* existing, CAttribute* item) {
    AddAfterItem(existing, item);
    return item;
}

CAttribute* CAttributeCol::AddBefore(const CAttribute* existing, CAttribute* item) {
    AddBeforeItem(existing, item);
    return item;
}

CSmartPtr<CAttribute> CAttributeCol::Item(int index) const { return ItemAt<CAttribute>(index); }

CSmartPtr<CAttributeCol> CAttributeCol::Clone() const {
    CSmartPtr<CAttributeCol> copy(new CAttributeCol(m_strNamespace.c_str(), m_pRestriction, m_pTargetNamespace));
    for (const CAttribute* attribute : *this) copy->Add(attribute->Clone().Get());
    return copy;
}

void CAttributeCol::ToXml_Int(CXmlWriter* writer, bool, const wchar_t* elementNamespace,
                              const CXmlSerializationContext& context, bool) const {
    for (const CAttribute* attribute : *this) {
        // An attribute changed after it was added must still be one the wildcard allows.
        TestNamespace(attribute->GetNamespace().c_str(), m_pRestriction->c_str(), m_pTargetNamespace->c_str());
        CXmlObjectBase::ToXml_Int(attribute, writer, false, elementNamespace, context, false);
    }
}

CXmlElement* CAttributeCol::FromXml_Int(CXmlElement* element, CXmlElement* firstChild, const CXmlSerializationContext&,
                                        bool) {
    for (const CXmlAttribute* attribute : element->GetAttributes()) {
        if (!IsNamespaceValid(attribute->GetNamespaceURI().c_str(), m_pRestriction->c_str(),
                              m_pTargetNamespace->c_str()))
            throw CQxInvalidNamespaceException(
                FormatString(L"Invalid Attribute [%s]. The attributes namespace is Inappropriate.",
                             attribute->GetLocalName().c_str()));
        Add(new CAttribute(attribute->GetLocalName().c_str(), attribute->GetValue().c_str(),
                           attribute->GetNamespaceURI().c_str()));
    }
    return firstChild;
}

}  // namespace QxXmlLib10

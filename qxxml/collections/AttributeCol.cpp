#include <qxxml/collections/AttributeCol.h>

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

CInstanceMonitor::ClassType* CAttributeCol::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CAttributeCol");
    return record;
}

CAttributeCol::CAttributeCol(const wchar_t* namespaceUri, const wchar_t* restriction,
                             const wchar_t* targetNamespace)
    : CXmlCollection(L"", detail::ChooseWildcardNamespace(namespaceUri, restriction).c_str(), 0, -1),
      CInstanceMonitor(MonitorRecord()),
      m_strRestriction(OrEmpty(restriction)),
      m_strTargetNamespace(OrEmpty(targetNamespace)) {}

CAttributeCol::~CAttributeCol() = default;

CAttribute* CAttributeCol::Add(const wchar_t* name, const wchar_t* value, const wchar_t* namespaceUri) {
    TestNamespace(namespaceUri, m_strRestriction.c_str(), m_strTargetNamespace.c_str());
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
    CSmartPtr<CAttributeCol> copy(
        new CAttributeCol(m_strNamespace.c_str(), m_strRestriction.c_str(), m_strTargetNamespace.c_str()));
    for (const CAttribute* attribute : *this) copy->Add(attribute->Clone().Get());
    return copy;
}

void CAttributeCol::ToXml_Int(CXmlWriter* writer, bool, const wchar_t* elementNamespace,
                              const CXmlSerializationContext& context, bool) const {
    for (const CAttribute* attribute : *this) {
        // An attribute changed after it was added must still be one the wildcard allows.
        TestNamespace(attribute->GetNamespace().c_str(), m_strRestriction.c_str(), m_strTargetNamespace.c_str());
        CXmlObjectBase::ToXml_Int(attribute, writer, false, elementNamespace, context, false);
    }
}

CXmlElement* CAttributeCol::FromXml_Int(CXmlElement* element, CXmlElement* firstChild,
                                        const CXmlSerializationContext&, bool) {
    for (const CXmlAttribute* attribute : element->GetAttributes()) {
        if (!IsNamespaceValid(attribute->GetNamespaceURI().c_str(), m_strRestriction.c_str(),
                              m_strTargetNamespace.c_str()))
            throw CQxInvalidNamespaceException(FormatString(
                L"Invalid Attribute [%s]. The attributes namespace is Inappropriate.",
                attribute->GetLocalName().c_str()));
        Add(new CAttribute(attribute->GetLocalName().c_str(), attribute->GetValue().c_str(),
                           attribute->GetNamespaceURI().c_str()));
    }
    return firstChild;
}

}  // namespace QxXmlLib10

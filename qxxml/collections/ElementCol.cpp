#include <qxxml/collections/ElementCol.h>

#include <qxxml/collections/detail/SharedText.h>
#include <qxxml/collections/detail/WildcardNamespace.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/detail/OrEmpty.h>
#include <qxxml/xmlin/XmlElement.h>

namespace QxXmlLib10 {

using detail::OrEmpty;

CInstanceMonitor::ClassType* CElementCol::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CElementCol");
    return record;
}

// The collection keeps its restriction for its items (rather than taking any namespace), so
// that a wildcard refuses foreign content both when it is added and when it is read.
CElementCol::CElementCol(const wchar_t* namespaceUri, const wchar_t* restriction, const wchar_t* targetNamespace,
                         int minOccurs, int maxOccurs)
    : CElementCol(namespaceUri, detail::MakeSharedText(restriction), detail::MakeSharedText(targetNamespace), minOccurs,
                  maxOccurs) {}

CElementCol::CElementCol(const wchar_t* namespaceUri, SharedText restriction, SharedText targetNamespace, int minOccurs,
                         int maxOccurs)
    : CXmlCollection(L"", OrEmpty(namespaceUri), minOccurs, maxOccurs),
      CInstanceMonitor(MonitorRecord()),
      m_pItemRestriction(std::move(restriction)),
      m_pTargetNamespace(std::move(targetNamespace)) {
    TestNamespace(namespaceUri, m_pItemRestriction->c_str(), m_pTargetNamespace->c_str());
}

CElementCol::~CElementCol() = default;

// Chosen from the constructor's namespace (kept as the collection's) and the restriction, when
// it is needed: most collections are children of elements read from documents, which never
// add by name.
std::wstring CElementCol::GetDefaultNamespace() const {
    return detail::ChooseWildcardNamespace(m_strNamespace.c_str(), m_pItemRestriction->c_str());
}

CElement* CElementCol::Add(const wchar_t* name, const wchar_t* namespaceUri) {
    TestNamespace(namespaceUri, m_pItemRestriction->c_str(), m_pTargetNamespace->c_str());
    if (!name) throw CQxInvalidNamespaceException(L"Element Name must have a value");
    if (!namespaceUri) throw CQxInvalidNamespaceException(L"Element Namespace must have a value");
    CSmartPtr<CElement> item(new CElement(name, namespaceUri, m_pItemRestriction, m_pTargetNamespace));
    AppendItem(item.Get());
    return item.Get();
}

CElement* CElementCol::Add(const wchar_t* name) {
    const std::wstring defaultNamespace = GetDefaultNamespace();
    if (defaultNamespace.empty()) throw CQxInvalidStateException(L"A Namespace has not been set for this Collection");
    return Add(name, defaultNamespace.c_str());
}

CElement* CElementCol::Add(CElement* item) {
    const CSmartPtr<CElement> hold(item);  // a refused new item is not leaked
    TestNamespace(item ? item->GetNamespace().c_str() : L"", m_pItemRestriction->c_str(), m_pTargetNamespace->c_str());
    AppendItem(item);
    return item;
}

CElement* CElementCol::AddAfter(const CElement* existing, CElement* item) {
    AddAfterItem(existing, item);
    return item;
}

CElement* CElementCol::AddBefore(const CElement* existing, CElement* item) {
    AddBeforeItem(existing, item);
    return item;
}

CSmartPtr<CElement> CElementCol::Item(int index) const { return ItemAt<CElement>(index); }

CSmartPtr<CElementCol> CElementCol::Clone() const {
    CSmartPtr<CElementCol> copy(new CElementCol(m_strNamespace.c_str(), m_pItemRestriction, m_pTargetNamespace,
                                                m_iMinOccurs, m_iMaxOccurs));
    for (const CElement* item : *this) copy->AppendItem(item->Clone().Get());
    return copy;
}

void CElementCol::ToXml_Int(CXmlWriter* writer, bool, const wchar_t* elementNamespace,
                            const CXmlSerializationContext& context, bool) const {
    ValidateCount(context);
    for (const CElement* item : *this) {
        TestNamespace(item->GetNamespace().c_str(), m_pItemRestriction->c_str(), m_pTargetNamespace->c_str());
        CXmlObjectBase::ToXml_Int(item, writer, false, elementNamespace, context, false);
    }
}

template <class Accepts>
CXmlElement* CElementCol::ReadRun(CXmlElement* parent, CXmlElement* cursor, const CXmlSerializationContext& context,
                                  const SharedText& itemRestriction, Accepts accepts) {
    while (cursor && accepts(cursor)) {
        CSmartPtr<CElement> item(new CElement(cursor->GetLocalName().c_str(), cursor->GetNamespaceURI().c_str(),
                                              itemRestriction, m_pTargetNamespace));
        CXmlElement* next = CXmlObjectBase::FromXml_Int(item.Get(), parent, cursor, context);
        if (next == cursor) break;
        AppendItem(item.Get());
        cursor = next;
    }
    return cursor;
}

CXmlElement* CElementCol::FromXml_Int(CXmlElement* parent, CXmlElement* cursor, const CXmlSerializationContext& context,
                                      bool) {
    return ReadRun(parent, cursor, context, m_pItemRestriction, [this](const CXmlElement* element) {
        return IsNamespaceValid(element->GetNamespaceURI().c_str(), m_pItemRestriction->c_str(),
                                m_pTargetNamespace->c_str());
    });
}

CXmlElement* CElementCol::FromXmlLockElementName_Int(std::wstring name, std::wstring namespaceUri, CXmlElement* parent,
                                                     CXmlElement* cursor, const CXmlSerializationContext& context) {
    return ReadRun(parent, cursor, context, detail::MakeSharedText(L"##any"), [&](const CXmlElement* element) {
        return element->GetLocalName() == name && element->GetNamespaceURI() == namespaceUri;
    });
}

}  // namespace QxXmlLib10

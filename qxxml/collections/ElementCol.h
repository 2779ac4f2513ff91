// ElementCol.h - CElementCol, a collection of wildcard elements: the children of a CElement,
// and the property of a repeated wildcard (xs:any maxOccurs="unbounded") or of a repeated
// element of type xs:anyType.
//
//   CSmartPtr<CElementCol> any(new CElementCol(L"", L"##other", L"urn:po", 0, -1));
//   CElement* audit = any->Add(L"audit", L"urn:ext");   // tested against "##other"
//   any->Add(L"audit", L"urn:po");      // CQxInvalidNamespaceException "Invalid namespace [urn:po]. ..."
//   any->Add(L"note");                  // CQxInvalidStateException: no default namespace here
//   for (CElement* element : *any) ...
//
// The collection keeps the namespace restriction it is made with: items added or read must
// pass it, and reading stops at the first element that does not (the enclosing class then
// decides what an unread element means). Writing checks the occurrence counts first
// (ValidateCount), then every item writes itself.
#pragma once

#include <qxxml/collections/Element.h>
#include <qxxml/collections/XmlCollection.h>
#include <qxxml/support/InstanceMonitor.h>
#include <qxxml/support/SmartPtr.h>

#include <memory>
#include <string>

namespace QxXmlLib10 {

class QXXML_API CElementCol : public CXmlCollection, private CInstanceMonitor {
public:
    // `namespaceUri` must pass `restriction` (CQxInvalidNamespaceException). New items added
    // by name alone get `namespaceUri`, or when it is empty the first token of `restriction`
    // if that token is a URI. -1 as `maxOccurs` means unbounded.
    CElementCol(const wchar_t* namespaceUri, const wchar_t* restriction, const wchar_t* targetNamespace, int minOccurs,
                int maxOccurs);
    ~CElementCol() override;

    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return *m_pTargetNamespace; }

    const std::wstring& GetItemRestriction() const { return *m_pItemRestriction; }
    // The namespace of items added by name alone (see the constructor).
    std::wstring GetDefaultNamespace() const;

    // Tests the namespace against the restriction, then appends a new element and returns it.
    CElement* Add(const wchar_t* name, const wchar_t* namespaceUri);
    // In the default namespace; without one CQxInvalidStateException "A Namespace has not been
    // set for this Collection".
    CElement* Add(const wchar_t* name);
    // Tests the element's namespace against the restriction, then appends it (a refused item
    // nobody else holds is destroyed).
    CElement* Add(CElement* item);
    CElement* AddAfter(const CElement* existing, CElement* item);
    CElement* AddBefore(const CElement* existing, CElement* item);

    CSmartPtr<CElement> Item(int index) const;
    CNodeIterator<CElement> begin() const { return CNodeIterator<CElement>(m_pHead); }
    CNodeIterator<CElement> end() const { return CNodeIterator<CElement>(nullptr); }

    // A new collection with the same default namespace, restriction, target namespace and
    // counts, holding clones of the items in order.
    CSmartPtr<CElementCol> Clone() const;

    // Reads the run of elements at `cursor` whose local name is `name` and whose namespace is
    // `namespaceUri` (exactly); returns the first other element (or null).
    virtual CXmlElement* FromXmlLockElementName_Int(std::wstring name, std::wstring namespaceUri, CXmlElement* parent,
                                                    CXmlElement* cursor, const CXmlSerializationContext& context);

protected:
    std::wstring GetTargetNamespace() const override { return *m_pTargetNamespace; }
    // ValidateCount, then every item.
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                   const CXmlSerializationContext& context, bool optionalChoiceItem) const override;
    // Reads elements from `cursor` while their namespace passes the restriction; returns the
    // first element not read. The maximum count is not consulted.
    CXmlElement* FromXml_Int(CXmlElement* parent, CXmlElement* cursor, const CXmlSerializationContext& context,
                             bool optionalChoiceItem) override;

private:
    friend class CElement;
    using SharedText = std::shared_ptr<const std::wstring>;
    // The children of an element, sharing the element's texts.
    CElementCol(const wchar_t* namespaceUri, SharedText restriction, SharedText targetNamespace, int minOccurs,
                int maxOccurs);
    static CInstanceMonitor::ClassType* MonitorRecord();
    // Reads elements from `cursor` while `accepts` takes them, each into a new item made with
    // `itemRestriction`.
    template <class Accepts>
    CXmlElement* ReadRun(CXmlElement* parent, CXmlElement* cursor, const CXmlSerializationContext& context,
                         const SharedText& itemRestriction, Accepts accepts);

    SharedText m_pItemRestriction;  // the default namespace of new items follows from it
    SharedText m_pTargetNamespace;
};

}  // namespace QxXmlLib10

// AttributeCol.h - CAttributeCol, the collection of wildcard attributes (xs:anyAttribute) and
// of the additional attributes a serialization context puts on the root element.
//
// A collection carries a namespace restriction (the wildcard's namespace attribute, such as
// "##any", "##other" or a list of URIs) and the schema's target namespace; every attribute
// added by name must pass the restriction test:
//
//   CSmartPtr<CAttributeCol> extra = context.GetAdditionalRootAttributes();   // "##any"
//   extra->Add(L"schemaLocation", L"urn:po po.xsd", L"http://www.w3.org/2001/XMLSchema-instance");
//
//   CSmartPtr<CAttributeCol> any(new CAttributeCol(L"", L"urn:a urn:b", L"urn:t"));
//   any->GetNamespace();            // L"urn:a": the first URI of the restriction
//   any->Add(L"x", L"1");           // in urn:a
//   any->Add(L"y", L"2", L"urn:c"); // CQxInvalidNamespaceException "Invalid namespace [urn:c]. ..."
//   for (CAttribute* attribute : *any) ...
//
// Written, every attribute lands on the element open at that moment, in collection order.
// Read, the collection takes every attribute of an element whose namespace passes its
// restriction. Adding and removing tell the collection's listeners (XmlCollection.h).
#pragma once

#include <qxxml/collections/Attribute.h>
#include <qxxml/collections/XmlCollection.h>
#include <qxxml/support/InstanceMonitor.h>
#include <qxxml/support/SmartPtr.h>

#include <memory>
#include <string>

namespace QxXmlLib10 {

class CElement;

class QXXML_API CAttributeCol : public CXmlCollection, private CInstanceMonitor {
public:
    // The collection's namespace (the one attributes added without a namespace get) is
    // `namespaceUri`, or when that is empty the first token of `restriction` if the token is a
    // URI rather than a "##" keyword.
    CAttributeCol(const wchar_t* namespaceUri, const wchar_t* restriction, const wchar_t* targetNamespace);
    ~CAttributeCol() override;

    CXmlObjectBase* GetBase() override { return this; }

    const std::wstring& GetNamespaceRestriction() const { return *m_pRestriction; }
    const std::wstring& GetCollectionTargetNamespace() const { return *m_pTargetNamespace; }

    // Test the namespace against the restriction (CQxInvalidNamespaceException "Invalid
    // namespace [%s]. The namespace must be one of [%s] where the target namespace is [%s]"),
    // then append a new attribute and return it. Without a namespace the attribute gets the
    // collection's; without a value it is empty.
    CAttribute* Add(const wchar_t* name, const wchar_t* value, const wchar_t* namespaceUri);
    CAttribute* Add(const wchar_t* name, const wchar_t* value);
    CAttribute* Add(const wchar_t* name);
    // Appends (inserts) an existing attribute as it is: its namespace is not tested.
    CAttribute* Add(CAttribute* item);
    CAttribute* AddAfter(const CAttribute* existing, CAttribute* item);
    CAttribute* AddBefore(const CAttribute* existing, CAttribute* item);

    // CQxInvalidParamException "Index %d is out of range, use 0 - %d" for a bad index.
    CSmartPtr<CAttribute> Item(int index) const;
    CNodeIterator<CAttribute> begin() const { return CNodeIterator<CAttribute>(m_pHead); }
    CNodeIterator<CAttribute> end() const { return CNodeIterator<CAttribute>(nullptr); }

    // A new collection with the same namespace, restriction and target namespace, holding a
    // clone of every attribute in order.
    CSmartPtr<CAttributeCol> Clone() const;

protected:
    std::wstring GetTargetNamespace() const override { return m_strNamespace; }
    // Every attribute, in order, on the open element (each tested against the restriction
    // first); no count check.
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                   const CXmlSerializationContext& context, bool optionalChoiceItem) const override;
    // Adds every attribute of `element`, in document order; the first whose namespace fails
    // the restriction stops the read with CQxInvalidNamespaceException "Invalid Attribute [%s].
    // The attributes namespace is Inappropriate.". Returns `firstChild`.
    CXmlElement* FromXml_Int(CXmlElement* element, CXmlElement* firstChild, const CXmlSerializationContext& context,
                             bool optionalChoiceItem) override;

private:
    friend class CElement;
    using SharedText = std::shared_ptr<const std::wstring>;
    // The collection of an element's attributes, sharing the element's texts.
    CAttributeCol(const wchar_t* namespaceUri, SharedText restriction, SharedText targetNamespace);
    static CInstanceMonitor::ClassType* MonitorRecord();

    SharedText m_pRestriction;
    SharedText m_pTargetNamespace;
};

}  // namespace QxXmlLib10

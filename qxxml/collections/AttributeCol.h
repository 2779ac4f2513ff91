// AttributeCol.h - CAttributeCol, the collection of wildcard attributes (xs:anyAttribute) and
// of the additional attributes a serialization context puts on the root element.
//
// A collection carries a namespace restriction (the wildcard's namespace attribute, such as
// "##any", "##other" or a list of URIs) and the schema's target namespace; every attribute it
// takes must pass the restriction test:
//
//   CSmartPtr<CAttributeCol> extra = context.GetAdditionalRootAttributes();   // "##any"
//   CSmartPtr<CAttributeCol> any(new CAttributeCol(L"", L"urn:a urn:b", L"urn:t"));
//   any->GetNamespace();   // L"urn:a": the first URI of the restriction
#pragma once

#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/support/InstanceMonitor.h>

#include <string>

namespace QxXmlLib10 {

class QXXML_API CAttributeCol : public CXmlCollectionBase, private CInstanceMonitor {
public:
    // The collection's namespace (the one new attributes get when none is given) is the first
    // token of `restriction` when `namespaceUri` is empty and that token is a URI rather than
    // a "##" keyword; otherwise it is `namespaceUri`.
    CAttributeCol(const wchar_t* namespaceUri, const wchar_t* restriction, const wchar_t* targetNamespace);
    CAttributeCol(const CAttributeCol& other);
    ~CAttributeCol() override;

    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return m_strNamespace; }

    const std::wstring& GetNamespaceRestriction() const { return m_strRestriction; }
    const std::wstring& GetCollectionTargetNamespace() const { return m_strTargetNamespace; }

    // Number of attributes held.
    int GetCount() const;

    // No occurrence limits apply to attribute wildcards.
    void ValidateCount(const CXmlSerializationContext& context) const override;

protected:
    std::wstring GetTargetNamespace() const override { return m_strNamespace; }
    // Every item, in order, writes itself as an attribute of the open element.
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                   const CXmlSerializationContext& context, bool optionalChoiceItem) const override;
    // Takes the element's attributes; returns `firstChild` unchanged.
    CXmlElement* FromXml_Int(CXmlElement* element, CXmlElement* firstChild,
                             const CXmlSerializationContext& context, bool optionalChoiceItem) override;

private:
    static CInstanceMonitor::ClassType* MonitorRecord();

    std::wstring m_strNamespace;
    std::wstring m_strRestriction;
    std::wstring m_strTargetNamespace;
};

}  // namespace QxXmlLib10

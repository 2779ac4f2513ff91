// Element.h - CElement, one element of wildcard content (xs:any, or an element of type
// xs:anyType): its name, namespace, text, attributes and child elements, kept as a small
// generic tree so that content the schema leaves open survives a read and a write.
//
//   CSmartPtr<CElement> audit(new CElement(L"audit", L"urn:ext"));   // accepts urn:ext only
//   audit->GetAttributes()->Add(L"by", L"clerk");                     // in urn:ext
//   CElement* step = audit->GetChildElements()->Add(L"step");         // in urn:ext too
//   step->SetText(L"checked & signed");
//   order->GetAny()->Add(audit.Get());   // a wildcard member of a generated class
//
//   CSmartPtr<CElement> copy(new CElement(L"x"));
//   copy->FromXml(L"<a xmlns='urn:a'><b/></a>");                      // parse into the holder
//
// An element carries a namespace restriction (the wildcard's namespace attribute: "##any",
// "##other", "##local", "##targetNamespace", URIs, or a space-separated list of these) and
// the schema's target namespace; its own namespace must pass the restriction test when it is
// made and when it is written, and reading takes an element only when it does. Written, the
// child elements come first, then the text (mixed content is not kept in order).
#pragma once

#include <qxxml/collections/AttributeCol.h>
#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/support/InstanceMonitor.h>
#include <qxxml/support/SmartPtr.h>

#include <memory>
#include <string>

namespace QxXmlLib10 {

class CElementCol;

class QXXML_API CElement : public CXmlObjectBase, private CInstanceMonitor {
public:
    // In no namespace, accepting any.
    explicit CElement(const wchar_t* name);
    // Accepting exactly its own namespace. A "##" keyword given as the namespace throws
    // CQxInvalidNamespaceException "Invalid Namespace [%s]".
    CElement(const wchar_t* name, const wchar_t* namespaceUri);
    // Null arguments throw CQxInvalidNamespaceException ("Element Name must have a value",
    // "Element Namespace must have a value", "Namespace Restriction must have a value",
    // "Target Namespace must have a value"); a namespace the restriction refuses throws
    // "Invalid namespace [%s]. The namespace must be one of [%s] where the target namespace
    // is [%s]".
    CElement(const wchar_t* name, const wchar_t* namespaceUri, const wchar_t* restriction,
             const wchar_t* targetNamespace);
    // The element `object` writes (as UTF-8 text, parsed back). A non-null `defaultNamespace`
    // is declared on the element when it is written again.
    CElement(CXmlObjectBase* object, const wchar_t* defaultNamespace);
    // Copies the strings and shares the two collections (Clone duplicates them).
    CElement(const CElement& other);
    CElement& operator=(const CElement& other);
    ~CElement() override;

    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return m_strNamespace; }

    // Plain access; the setters store without checks.
    const std::wstring& GetName() const { return m_strName; }
    void SetName(const wchar_t* name);
    void SetNamespace(const wchar_t* namespaceUri);
    const std::wstring& GetText() const { return m_strText; }
    void SetText(const wchar_t* text);
    const std::wstring& GetNamespaceRestriction() const { return *m_pRestriction; }
    const std::wstring& GetDeclaredDefaultNamespace() const { return m_strDeclaredDefaultNamespace; }

    // The element's own collections, shared, not copies. Each is made on first use (in the
    // element's namespace, accepting any), so a leaf read from a document carries none.
    CSmartPtr<CAttributeCol> GetAttributes() const;
    CSmartPtr<CElementCol> GetChildElements() const;

    // Checks, storing nothing, that the element's namespace, its attributes' and (recursively)
    // its children's pass the restriction; the first failure is reported as
    // CQxInvalidNamespaceException "The namespace %s in the class %s is invalid against
    // restriction %s" wrapping it.
    void SetNamespaceRestrictions(const wchar_t* restriction, const wchar_t* targetNamespace);

    // Parses the text (default context) and reads its document element into this element.
    void FromXml(const wchar_t* xmlText);
    using CXmlObjectBase::FromXml;

    // A new element with the same name, namespace, restriction, target namespace and text,
    // and clones of the attributes and children. The declared default namespace is not copied.
    CSmartPtr<CElement> Clone() const;

protected:
    void Init(const wchar_t* name, const wchar_t* namespaceUri, const wchar_t* restriction,
              const wchar_t* targetNamespace);

    // Called before the setters store; nothing here.
    virtual void FireOnChangeName() {}
    virtual void FireOnChangeNamespace() {}
    virtual void FireOnChangeText() {}

    std::wstring GetTargetNamespace() const override { return m_strNamespace; }
    // Replaces name, namespace, text, attributes and children with those of the tree element
    // (an attribute named "xmlns" also becomes the declared default namespace).
    void CopyXmlElement(const CXmlElement* source);
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                   const CXmlSerializationContext& context, bool optionalChoiceItem) const override;
    // Reads the element at `cursor` (a child of `parent`) and returns its next sibling; an
    // element whose namespace the restriction refuses is not read (`cursor` comes back).
    CXmlElement* FromXml_Int(CXmlElement* parent, CXmlElement* cursor, const CXmlSerializationContext& context,
                             bool optionalChoiceItem) override;

private:
    friend class CElementCol;
    using SharedText = std::shared_ptr<const std::wstring>;
    // An element sharing the restriction and target namespace texts of its collection.
    CElement(const wchar_t* name, const wchar_t* namespaceUri, SharedText restriction, SharedText targetNamespace);
    void InitShared(const wchar_t* name, const wchar_t* namespaceUri, SharedText restriction,
                    SharedText targetNamespace);
    static CInstanceMonitor::ClassType* MonitorRecord();
    // The element rendered on its own, declaring the default namespace (text writers only).
    void WriteWithDeclaredDefault(CXmlWriter* writer, const CXmlSerializationContext& context) const;

    std::wstring m_strName;
    std::wstring m_strText;
    std::wstring m_strNamespace;
    SharedText m_pRestriction;
    SharedText m_pTargetNamespace;
    mutable CSmartPtr<CAttributeCol> m_pAttributes;   // null until first used
    mutable CSmartPtr<CElementCol> m_pChildElements;  // null until first used
    std::wstring m_strDeclaredDefaultNamespace;
};

}  // namespace QxXmlLib10

// Attribute.h - CAttribute, one attribute of wildcard content (xs:anyAttribute) or of the
// additional attributes a serialization context puts on the root element.
//
// Attributes are made by their collection, which checks the namespace first:
//
//   CSmartPtr<CAttributeCol> any(new CAttributeCol(L"", L"##other", L"urn:po"));
//   CAttribute* source = any->Add(L"source", L"gen.py", L"urn:ext");
//   source->SetValue(L"hand");        // setters store without any check
//   CSmartPtr<CAttribute> copy = source->Clone();
//
// Written, an attribute becomes name="value" on the element open at that moment, prefixed
// when it has a namespace. It is never read on its own: its collection reads the attributes.
#pragma once

#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/support/InstanceMonitor.h>
#include <qxxml/support/SmartPtr.h>

#include <string>

namespace QxXmlLib10 {

class CAttributeCol;

class QXXML_API CAttribute : public CXmlObjectBase, private CInstanceMonitor {
public:
    CAttribute(const CAttribute& other);
    CAttribute& operator=(const CAttribute& other);
    ~CAttribute() override;

    CXmlObjectBase* GetBase() override { return this; }
    // The attribute's namespace URI (empty for an unqualified attribute).
    std::wstring GetNamespace() const override { return m_strNamespace; }

    const std::wstring& GetName() const { return m_strName; }
    void SetName(const wchar_t* name);
    const std::wstring& GetValue() const { return m_strValue; }
    void SetValue(const wchar_t* value);
    void SetNamespace(const wchar_t* namespaceUri);

    // A new attribute with the same name, value and namespace.
    CSmartPtr<CAttribute> Clone() const;

protected:
    friend class CAttributeCol;
    CAttribute(const wchar_t* name, const wchar_t* value, const wchar_t* namespaceUri);

    // Called before the setters store; nothing here.
    virtual void FireOnChangeName() {}
    virtual void FireOnChangeNamespace() {}

    std::wstring GetTargetNamespace() const override { return m_strNamespace; }
    // name="value" on the open element; the other arguments play no part.
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                   const CXmlSerializationContext& context, bool optionalChoiceItem) const override;
    // The collection reads attributes: CQxException "This should be done by the collection".
    CXmlElement* FromXml_Int(CXmlElement* element, CXmlElement* firstChild, const CXmlSerializationContext& context,
                             bool optionalChoiceItem) override;

private:
    static CInstanceMonitor::ClassType* MonitorRecord();

    std::wstring m_strName;
    std::wstring m_strValue;
    std::wstring m_strNamespace;
};

}  // namespace QxXmlLib10

// XmlAttribute.h - CXmlAttribute, one attribute of a parsed element.
//
// Attributes come out of a CXmlDocument (see XmlDocument.h); the binding looks at their name,
// namespace and value, and skips the ones that only carry schema bookkeeping:
//
//   for (const CXmlAttribute* attribute : element->GetAttributes()) {
//     if (attribute->IsNamespaceAttribute()) continue;       // xsi:type, xsi:schemaLocation...
//     if (attribute->IsNilAttribute()) { ...; continue; }    // xsi:nil
//     use(attribute->GetNamespaceURI(), attribute->GetLocalName(), attribute->GetValue());
//   }
//
// An attribute can also be built on its own and is then an ordinary value:
//
//   CXmlAttribute nil(L"nil", L"true", L"http://www.w3.org/2001/XMLSchema-instance");
//   CXmlAttribute copy = nil;
//
// Attributes that a document builds share its interned names (the name and namespace strings
// are stored once per document, not once per attribute); a copy always owns its own strings,
// so it stays valid after the document is gone.
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/support/InstanceMonitor.h>

#include <memory>
#include <string>
#include <string_view>

namespace QxXmlLib10 {

class CXmlDocument;
class CXmlElement;
class CExpatReader;

class QXXML_API CXmlAttribute : public CInstanceMonitor {
public:
    CXmlAttribute(const std::wstring& localName, const std::wstring& value,
                  const std::wstring& namespaceUri);
    CXmlAttribute(const CXmlAttribute& other);
    CXmlAttribute& operator=(const CXmlAttribute& other);
    ~CXmlAttribute();

    const std::wstring& GetLocalName() const { return *m_pLocalName; }
    const std::wstring& GetNamespaceURI() const { return *m_pNamespaceURI; }
    // The string is made on the first call for an attribute of a document (whose values live
    // in the document's text storage; a document is read by one thread at a time).
    const std::wstring& GetValue() const;
    // The same characters without making a string; valid as long as the attribute.
    std::wstring_view GetValueView() const { return std::wstring_view(m_pValue, m_valueLength); }

    // True for xmlns, type, schemaLocation and noNamespaceSchemaLocation in the XML Schema
    // instance namespace or the namespace reserved for xmlns declarations: schema
    // bookkeeping, not data.
    bool IsNamespaceAttribute() const;
    // True for "nil" in one of the same two namespaces.
    bool IsNilAttribute() const;

private:
    friend class CXmlDocument;
    friend class CXmlElement;
    friend class CExpatReader;
    friend class CFastInfosetReader;

    // The names live for as long as the document that interned them, and so does the value
    // (the reader sets it with SetValueView). The document counts these attributes in bulk,
    // under MonitorRecord.
    CXmlAttribute(const std::wstring* localName, const std::wstring* namespaceUri);
    static ClassType* MonitorRecord();
    void SetValueView(const wchar_t* value, size_t length) noexcept;

    struct OwnedStrings {
        std::wstring localName;
        std::wstring namespaceUri;
        std::wstring value;
    };
    void OwnStrings(const std::wstring& localName, const std::wstring& namespaceUri, const std::wstring& value);

    const std::wstring* m_pLocalName;
    // In the document's text storage, or the owned value's characters.
    const wchar_t* m_pValue = nullptr;
    size_t m_valueLength = 0;
    const std::wstring* m_pNamespaceURI;
    // The strings of an attribute built outside a document (and of copies): the names and
    // the value. An attribute of a document has only the value here, made by GetValue.
    mutable std::unique_ptr<OwnedStrings> m_pOwned;
};

}  // namespace QxXmlLib10

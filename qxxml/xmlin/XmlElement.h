// XmlElement.h - CXmlElement, one element of a parsed document.
//
// Elements are made only by a CXmlDocument while it loads (see XmlDocument.h) and live as
// long as it does. Reading code walks them with a cursor over the child elements:
//
//   for (CXmlElement* child = element->GetFirstElement(); child != nullptr;
//        child = child->GetNextSiblingElement()) {
//     if (child->GetNamespaceURI() == L"urn:example:po" && child->GetLocalName() == L"item")
//       readItem(child->GetText(), child->GetAttribute(L"partNum", L""));
//   }
//
// The text of an element is all the character data directly inside it, concatenated (also
// when child elements interrupt it), without carriage returns. Comments and processing
// instructions are not kept.
//
// The document keeps every text in storage of its own; GetText makes the element's string
// from it on its first call (a document is read by one thread at a time), and GetTextView
// looks at it without making any string, which is what reading code that only converts the
// text wants.
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/support/InstanceMonitor.h>
#include <qxxml/xmlin/XmlAttribute.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace QxXmlLib10 {

class CXmlDocument;
class CExpatReader;
class CFastInfosetReader;

// The attributes of an element in document order. The element owns them.
using CXmlAttributeList = std::vector<CXmlAttribute*>;

class QXXML_API CXmlElement : public CInstanceMonitor {
public:
    CXmlElement(const CXmlElement&) = delete;
    CXmlElement& operator=(const CXmlElement&) = delete;

    const std::wstring& GetLocalName() const { return *m_pLocalName; }
    // Empty for an element in no namespace.
    const std::wstring& GetNamespaceURI() const { return *m_pNamespaceURI; }
    const std::wstring& GetText() const;
    // The same characters, valid as long as the tree.
    std::wstring_view GetTextView() const { return std::wstring_view(m_pText, m_textLength); }
    const CXmlAttributeList& GetAttributes() const { return m_attributes; }

    // The value of the first attribute with this local name and namespace URI (both exact;
    // an unprefixed attribute has the empty namespace), or an empty string when there is
    // none. A null argument counts as the empty string.
    const std::wstring& GetAttribute(const wchar_t* localName, const wchar_t* namespaceUri) const;
    const std::wstring& GetAttribute(const std::wstring& localName,
                                     const std::wstring& namespaceUri) const;

    // The first child element, or null.
    CXmlElement* GetFirstElement() const { return m_pFirstChild; }
    // The next sibling element, or null.
    CXmlElement* GetNextSiblingElement() const { return m_pNextSibling; }
    const CXmlDocument* GetDocument() const { return m_pDocument; }

protected:
    // Elements belong to their document, which creates and destroys them.
    explicit CXmlElement(CXmlDocument* document);
    ~CXmlElement();

    // Appends to the text; its room in the document grows geometrically, so a long run of
    // small appends stays linear.
    void AppendText(const wchar_t* text);
    void AppendText(const wchar_t* text, size_t length);
    // A new, unnamed element appended after the last child.
    CXmlElement* CreateNewChildElement();
    CXmlAttribute* AddAttribute(const std::wstring& localName, const std::wstring& value,
                                const std::wstring& namespaceUri);
    void SetElementName(const std::wstring& localName);
    void SetNamespace(const std::wstring& namespaceUri);
    // Detaches the last child element (with its subtree) and destroys it.
    void RemoveLastChildElement();

private:
    friend class CXmlDocument;
    friend class CExpatReader;
    friend class CFastInfosetReader;

    // The monitor record the document counts its elements under.
    static ClassType* MonitorRecord();

    CXmlDocument* const m_pDocument;
    CXmlElement* m_pNextSibling = nullptr;
    CXmlElement* m_pFirstChild = nullptr;
    CXmlElement* m_pLastChild = nullptr;
    CXmlAttributeList m_attributes;  // owned; the nodes come from the document's pool
    // The text lives in the document's text storage, with room for `m_textCapacity`
    // (the readers' input is at most 4 GiB). The string GetText makes is the document's.
    wchar_t* m_pText = nullptr;
    uint32_t m_textLength = 0;
    uint32_t m_textCapacity = 0;
    // Interned in the document: one string per distinct name, shared by all its elements.
    const std::wstring* m_pLocalName;
    const std::wstring* m_pNamespaceURI;
};

}  // namespace QxXmlLib10

// ParentElementInfo.h - CParentElementInfo, the description of one generated class as a
// whole: its content model, its own element and its text value.
//
//   // <xs:complexType name="price"><xs:simpleContent><xs:extension base="xs:decimal">...
//   CParentElementInfo* info = new CParentElementInfo(
//       XmlElementGroupType_Sequence, XmlElementType_Element, L"price", L"urn:po",
//       true,                     // reading rejects attributes no descriptor takes
//       false,                    // no base classes: never writes xsi:type
//       0, ItemType_decimal, L"2", // property 0 holds the text, written with 2 decimals
//       false);
//
// The description never changes after construction; the getters return copies.
#pragma once

#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/support/Export.h>
#include <qxxml/values/ItemType.h>

#include <string>

namespace QxXmlLib10Data {

class QXXML_API CParentElementInfo {
public:
    CParentElementInfo(XmlElementGroupType groupType, XmlElementType elementType, const wchar_t* elementName,
                       const wchar_t* elementNamespace, bool fromXmlFailIfAttributeUnknown, bool hasBaseClasses,
                       int primitiveValuePropertyIndex, ItemType primitiveDataType,
                       const wchar_t* primitiveFormatOverride, bool outputPrimitiveClassAsTextProperty);
    CParentElementInfo(const CParentElementInfo& other) = default;
    CParentElementInfo& operator=(const CParentElementInfo& other) = default;
    virtual ~CParentElementInfo();

    XmlElementGroupType GetElementGroupType() const { return m_groupType; }
    XmlElementType GetElementType() const { return m_elementType; }
    std::wstring GetElementName() const { return m_strElementName; }
    std::wstring GetElementNamespace() const { return m_strElementNamespace; }
    // Reading rejects attributes that no attribute descriptor takes.
    bool GetFromXmlFailIfAttributeUnknown() const { return m_bFromXmlFailIfAttributeUnknown; }
    // The class derives from another generated class (writing may emit xsi:type).
    bool GetHasBaseClasses() const { return m_bHasBaseClasses; }
    // The property holding the element's simple content, -1 for none.
    int GetPrimitiveValuePropertyIndex() const { return m_iPrimitiveValuePropertyIndex; }
    ItemType GetPrimitiveDataType() const { return m_primitiveDataType; }
    std::wstring GetPrimitiveFormatOverride() const { return m_strPrimitiveFormatOverride; }
    bool GetOutputPrimitiveClassAsTextProperty() const { return m_bOutputPrimitiveClassAsTextProperty; }

private:
    XmlElementGroupType m_groupType;
    XmlElementType m_elementType;
    std::wstring m_strElementName;
    std::wstring m_strElementNamespace;
    bool m_bFromXmlFailIfAttributeUnknown;
    bool m_bHasBaseClasses;
    int m_iPrimitiveValuePropertyIndex;
    ItemType m_primitiveDataType;
    std::wstring m_strPrimitiveFormatOverride;
    bool m_bOutputPrimitiveClassAsTextProperty;
};

}  // namespace QxXmlLib10Data

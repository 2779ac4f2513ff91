#include <qxxml/metadata/ParentElementInfo.h>

#include <qxxml/metadata/detail/DescriptorSupport.h>

namespace QxXmlLib10Data {

using detail::OrEmpty;

CParentElementInfo::CParentElementInfo(XmlElementGroupType groupType, XmlElementType elementType,
                                       const wchar_t* elementName, const wchar_t* elementNamespace,
                                       bool fromXmlFailIfAttributeUnknown, bool hasBaseClasses,
                                       int primitiveValuePropertyIndex, ItemType primitiveDataType,
                                       const wchar_t* primitiveFormatOverride, bool outputPrimitiveClassAsTextProperty)
    : m_groupType(groupType),
      m_elementType(elementType),
      m_strElementName(OrEmpty(elementName)),
      m_strElementNamespace(OrEmpty(elementNamespace)),
      m_bFromXmlFailIfAttributeUnknown(fromXmlFailIfAttributeUnknown),
      m_bHasBaseClasses(hasBaseClasses),
      m_iPrimitiveValuePropertyIndex(primitiveValuePropertyIndex),
      m_primitiveDataType(primitiveDataType),
      m_strPrimitiveFormatOverride(OrEmpty(primitiveFormatOverride)),
      m_bOutputPrimitiveClassAsTextProperty(outputPrimitiveClassAsTextProperty) {}

CParentElementInfo::~CParentElementInfo() = default;

}  // namespace QxXmlLib10Data

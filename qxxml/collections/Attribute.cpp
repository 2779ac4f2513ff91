#include <qxxml/collections/Attribute.h>

#include <qxxml/support/QxException.h>
#include <qxxml/support/detail/OrEmpty.h>
#include <qxxml/xmlout/XmlWriter.h>

namespace QxXmlLib10 {

using detail::OrEmpty;

CInstanceMonitor::ClassType* CAttribute::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CAttribute");
    return record;
}

CAttribute::CAttribute(const wchar_t* name, const wchar_t* value, const wchar_t* namespaceUri)
    : CInstanceMonitor(MonitorRecord()),
      m_strName(OrEmpty(name)),
      m_strValue(OrEmpty(value)),
      m_strNamespace(OrEmpty(namespaceUri)) {}

CAttribute::CAttribute(const CAttribute& other)
    : CXmlObjectBase(other),
      CInstanceMonitor(other),
      m_strName(other.m_strName),
      m_strValue(other.m_strValue),
      m_strNamespace(other.m_strNamespace) {}

CAttribute& CAttribute::operator=(const CAttribute& other) {
    CXmlObjectBase::operator=(other);
    m_strName = other.m_strName;
    m_strValue = other.m_strValue;
    m_strNamespace = other.m_strNamespace;
    return *this;
}

CAttribute::~CAttribute() = default;

void CAttribute::SetName(const wchar_t* name) {
    FireOnChangeName();
    m_strName = OrEmpty(name);
}

void CAttribute::SetValue(const wchar_t* value) { m_strValue = OrEmpty(value); }

void CAttribute::SetNamespace(const wchar_t* namespaceUri) {
    FireOnChangeNamespace();
    m_strNamespace = OrEmpty(namespaceUri);
}

CSmartPtr<CAttribute> CAttribute::Clone() const {
    return new CAttribute(m_strName.c_str(), m_strValue.c_str(), m_strNamespace.c_str());
}

void CAttribute::ToXml_Int(CXmlWriter* writer, bool, const wchar_t*, const CXmlSerializationContext&, bool) const {
    writer->AddAttribute(m_strName, m_strNamespace, m_strValue, ItemType_string);
}

CXmlElement* CAttribute::FromXml_Int(CXmlElement*, CXmlElement*, const CXmlSerializationContext&, bool) {
    throw CQxException(L"This should be done by the collection");
}

}  // namespace QxXmlLib10

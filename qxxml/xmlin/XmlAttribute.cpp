#include <qxxml/xmlin/XmlAttribute.h>

namespace QxXmlLib10 {

namespace {

const wchar_t kSchemaInstanceNamespace[] = L"http://www.w3.org/2001/XMLSchema-instance";
const wchar_t kXmlnsNamespace[] = L"http://www.w3.org/2000/xmlns/";

// Attributes are created once per attribute in every parsed document: resolve the monitor
// record once.
CInstanceMonitor::ClassType* AttributeRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CXmlAttribute");
    return record;
}

bool IsSchemaNamespace(const std::wstring& uri) {
    return uri == kSchemaInstanceNamespace || uri == kXmlnsNamespace;
}

}  // namespace

CXmlAttribute::CXmlAttribute(const std::wstring& localName, const std::wstring& value,
                             const std::wstring& namespaceUri)
    : CInstanceMonitor(AttributeRecord()), m_value(value) {
    OwnNames(localName, namespaceUri);
}

CXmlAttribute::CXmlAttribute(const std::wstring* localName, const std::wstring* namespaceUri)
    : CInstanceMonitor(AttributeRecord()), m_pLocalName(localName), m_pNamespaceURI(namespaceUri) {}

CXmlAttribute::CXmlAttribute(const CXmlAttribute& other)
    : CInstanceMonitor(other), m_value(other.m_value) {
    OwnNames(*other.m_pLocalName, *other.m_pNamespaceURI);
}

CXmlAttribute& CXmlAttribute::operator=(const CXmlAttribute& other) {
    if (this != &other) {
        m_value = other.m_value;
        OwnNames(*other.m_pLocalName, *other.m_pNamespaceURI);
    }
    return *this;
}

CXmlAttribute::~CXmlAttribute() = default;

void CXmlAttribute::OwnNames(const std::wstring& localName, const std::wstring& namespaceUri) {
    // Build the new strings before dropping the old ones: the arguments may be those.
    auto names = std::make_unique<OwnedNames>(OwnedNames{localName, namespaceUri});
    m_pOwnedNames = std::move(names);
    m_pLocalName = &m_pOwnedNames->localName;
    m_pNamespaceURI = &m_pOwnedNames->namespaceUri;
}

bool CXmlAttribute::IsNamespaceAttribute() const {
    if (!IsSchemaNamespace(*m_pNamespaceURI)) return false;
    const std::wstring& name = *m_pLocalName;
    return name == L"xmlns" || name == L"type" || name == L"schemaLocation" ||
           name == L"noNamespaceSchemaLocation";
}

bool CXmlAttribute::IsNilAttribute() const {
    return IsSchemaNamespace(*m_pNamespaceURI) && *m_pLocalName == L"nil";
}

}  // namespace QxXmlLib10

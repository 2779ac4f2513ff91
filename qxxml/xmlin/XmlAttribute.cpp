#include <qxxml/xmlin/XmlAttribute.h>

#include <cstddef>

namespace QxXmlLib10 {

namespace {

const wchar_t kSchemaInstanceNamespace[] = L"http://www.w3.org/2001/XMLSchema-instance";
const wchar_t kXmlnsNamespace[] = L"http://www.w3.org/2000/xmlns/";

// Asked twice for every attribute read into an object, nearly always of one in no namespace:
// the lengths are compared first.
template <size_t N>
bool IsText(const std::wstring& text, const wchar_t (&literal)[N]) {
    return text.size() == N - 1 && text.compare(literal) == 0;
}

bool IsSchemaNamespace(const std::wstring& uri) {
    return IsText(uri, kSchemaInstanceNamespace) || IsText(uri, kXmlnsNamespace);
}

}  // namespace

// Attributes are created once per attribute in every parsed document: resolve the monitor
// record once.
CInstanceMonitor::ClassType* CXmlAttribute::MonitorRecord() {
    static ClassType* record = Resolve(L"CXmlAttribute");
    return record;
}

CXmlAttribute::CXmlAttribute(const std::wstring& localName, const std::wstring& value,
                             const std::wstring& namespaceUri)
    : CInstanceMonitor(MonitorRecord()) {
    OwnStrings(localName, namespaceUri, value);
}

CXmlAttribute::CXmlAttribute(const std::wstring* localName, const std::wstring* namespaceUri)
    : CInstanceMonitor(MonitorRecord(), CountedByMaker()), m_pLocalName(localName), m_pNamespaceURI(namespaceUri) {}

CXmlAttribute::CXmlAttribute(const CXmlAttribute& other) : CInstanceMonitor(other) {
    OwnStrings(*other.m_pLocalName, *other.m_pNamespaceURI, other.GetValue());
}

CXmlAttribute& CXmlAttribute::operator=(const CXmlAttribute& other) {
    if (this != &other) OwnStrings(*other.m_pLocalName, *other.m_pNamespaceURI, other.GetValue());
    return *this;
}

CXmlAttribute::~CXmlAttribute() = default;

const std::wstring& CXmlAttribute::GetValue() const {
    if (!m_pOwned) m_pOwned = std::make_unique<OwnedStrings>(OwnedStrings{{}, {}, std::wstring(m_pValue, m_valueLength)});
    return m_pOwned->value;
}

void CXmlAttribute::SetValueView(const wchar_t* value, size_t length) noexcept {
    m_pValue = value;
    m_valueLength = length;
}

void CXmlAttribute::OwnStrings(const std::wstring& localName, const std::wstring& namespaceUri,
                               const std::wstring& value) {
    // Build the new strings before dropping the old ones: the arguments may be those.
    auto owned = std::make_unique<OwnedStrings>(OwnedStrings{localName, namespaceUri, value});
    m_pOwned = std::move(owned);
    m_pLocalName = &m_pOwned->localName;
    m_pNamespaceURI = &m_pOwned->namespaceUri;
    m_pValue = m_pOwned->value.data();
    m_valueLength = m_pOwned->value.size();
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

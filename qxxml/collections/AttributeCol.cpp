#include <qxxml/collections/AttributeCol.h>
#include <qxxml/support/detail/OrEmpty.h>

namespace QxXmlLib10 {

namespace {

using detail::OrEmpty;

// The namespace attributes get by default: the restriction's first token when no namespace
// is given and that token names a URI (at least two characters, not a "##" keyword).
std::wstring ChooseCollectionNamespace(const wchar_t* namespaceUri, const wchar_t* restriction) {
    const std::wstring uri = OrEmpty(namespaceUri);
    if (!uri.empty()) return uri;
    const std::wstring rest = OrEmpty(restriction);
    const std::wstring token = rest.substr(0, rest.find(L' '));
    if (token.size() >= 2 && token[0] != L'#' && token[1] != L'#') return token;
    return uri;
}

}  // namespace

CInstanceMonitor::ClassType* CAttributeCol::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CAttributeCol");
    return record;
}

CAttributeCol::CAttributeCol(const wchar_t* namespaceUri, const wchar_t* restriction,
                             const wchar_t* targetNamespace)
    : CInstanceMonitor(MonitorRecord()),
      m_strNamespace(ChooseCollectionNamespace(namespaceUri, restriction)),
      m_strRestriction(OrEmpty(restriction)),
      m_strTargetNamespace(OrEmpty(targetNamespace)) {}

CAttributeCol::CAttributeCol(const CAttributeCol& other)
    : CXmlCollectionBase(other),
      CInstanceMonitor(other),
      m_strNamespace(other.m_strNamespace),
      m_strRestriction(other.m_strRestriction),
      m_strTargetNamespace(other.m_strTargetNamespace) {}

CAttributeCol::~CAttributeCol() = default;

int CAttributeCol::GetCount() const { return 0; }

void CAttributeCol::ValidateCount(const CXmlSerializationContext&) const {}

void CAttributeCol::ToXml_Int(CXmlWriter*, bool, const wchar_t*, const CXmlSerializationContext&, bool) const {}

CXmlElement* CAttributeCol::FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&,
                                        bool) {
    return firstChild;
}

}  // namespace QxXmlLib10

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/detail/OrEmpty.h>

#include <qxxml/support/QxException.h>

namespace QxXmlLib10 {

namespace {

using detail::OrEmpty;

const wchar_t kCannotIgnoreBoth[] =
    L"The parser can only ignore additional elements, or ignore the fact that some required ones are "
    L"missing, you can not ignore both\n";

}  // namespace

CXmlSerializationContext CXmlSerializationContext::m_defaultContext;

CXmlSerializationContext::CXmlSerializationContext() = default;
CXmlSerializationContext::CXmlSerializationContext(const CXmlSerializationContext&) = default;
CXmlSerializationContext& CXmlSerializationContext::operator=(const CXmlSerializationContext&) = default;
CXmlSerializationContext::~CXmlSerializationContext() = default;

CXmlSerializationContext& CXmlSerializationContext::GetDefaultContext() { return m_defaultContext; }

void CXmlSerializationContext::SetDefaultNamespaceURI(const wchar_t* namespaceUri) {
    m_strDefaultNamespaceURI = OrEmpty(namespaceUri);
}

void CXmlSerializationContext::SetInLineSchema(const wchar_t* schema) { m_strInLineSchema = OrEmpty(schema); }

CSmartPtr<CAttributeCol> CXmlSerializationContext::GetAdditionalRootAttributes() {
    return static_cast<const CXmlSerializationContext&>(*this).GetAdditionalRootAttributes();
}

CSmartPtr<CAttributeCol> CXmlSerializationContext::GetAdditionalRootAttributes() const {
    if (!m_additionalRootAttributes) m_additionalRootAttributes = new CAttributeCol(L"", L"##any", L"");
    return m_additionalRootAttributes;
}

void CXmlSerializationContext::SetIgnoreUnknownElements(bool value) {
    if (value && m_bIgnoreMissingMandatoryElements)
        throw CQxInvalidStateException(
            std::wstring(kCannotIgnoreBoth) +
            L"Set IgnoreMissingMandatoryElements to false before setting IgnoreUnknownElements to true");
    m_bIgnoreUnknownElements = value;
}

void CXmlSerializationContext::SetIgnoreMissingMandatoryElements(bool value) {
    if (value && m_bIgnoreUnknownElements)
        throw CQxInvalidStateException(
            std::wstring(kCannotIgnoreBoth) +
            L"Set IgnoreUnknownElements to false before setting IgnoreMissingMandatoryElements to true");
    m_bIgnoreMissingMandatoryElements = value;
}

bool CXmlSerializationContext::GetIgnoreNamespaces() const {
    return m_bIgnoreNamespaces || m_schemaType == SchemaType_NoNamespaces;
}

}  // namespace QxXmlLib10

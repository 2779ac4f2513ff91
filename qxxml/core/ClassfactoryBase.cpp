#include <qxxml/core/ClassfactoryBase.h>

#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlin/XmlElement.h>
#include <qxxml/xmlout/XmlWriter.h>

namespace QxXmlLib10 {

namespace {

const std::wstring& TypeAttributeValue(const CXmlElement* element) {
    return element->GetAttribute(L"type", CXmlWriter::kInstanceNamespace);
}

}  // namespace

CClassfactoryBase::~CClassfactoryBase() = default;

std::wstring CClassfactoryBase::GetElementType(CXmlElement* element) {
    if (!element) return std::wstring();
    const std::wstring& value = TypeAttributeValue(element);
    const size_t colon = value.find(L':');
    return colon == std::wstring::npos ? value : value.substr(colon + 1);
}

std::wstring CClassfactoryBase::GetElementTypeNamespaceUri(CXmlElement* element) {
    if (!element) return std::wstring();
    const std::wstring& value = TypeAttributeValue(element);
    const size_t colon = value.find(L':');
    if (colon == std::wstring::npos || !element->GetDocument()) return element->GetNamespaceURI();
    const std::wstring uri = element->GetDocument()->LookupNamespaceFromAlias(value.substr(0, colon).c_str());
    return uri.empty() ? element->GetNamespaceURI() : uri;
}

}  // namespace QxXmlLib10

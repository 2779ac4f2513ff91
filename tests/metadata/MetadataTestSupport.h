// MetadataTestSupport.h - a hand-written stand-in for generated code, shared by the
// descriptor tests: an object whose properties are plain variants and which logs every
// access ("0r", "0w"), and a parsed element tree that stays alive while it is used.
#pragma once

#include <qxxml/core/XmlGeneratedClass.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/metadata/AttributeInfo.h>
#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/metadata/ParentElementInfo.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/QxVariant.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlin/XmlElement.h>

#include "common/Messages.h"
#include "common/TestSupport.h"

#include <memory>
#include <string>
#include <vector>

namespace metadata_test {

using namespace QxXmlLib10;
using namespace QxXmlLib10Data;

// A generated class written by hand: property i is m_properties[i].
class CTestObject : public CXmlGeneratedClass {
public:
    explicit CTestObject(size_t propertyCount = 4) : m_properties(propertyCount) {}

    void AccessProperty(int index, bool read, QxVariant& value) override {
        m_accessLog.push_back(std::to_string(index) + (read ? "r" : "w"));
        QxVariant& property = m_properties.at(static_cast<size_t>(index));
        if (read)
            value = property;
        else
            property = value;
    }
    CParentElementInfo* GetClassInfo() override { return nullptr; }
    CElementInfo** GetClassElementInfo() override { return nullptr; }
    CAttributeInfo** GetClassAttributeInfo() override { return nullptr; }
    void Init() override {}
    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return L""; }

    using CXmlGeneratedClass::CleanMetaData;  // opened for the tests

    std::vector<QxVariant> m_properties;
    std::vector<std::string> m_accessLog;
    std::wstring m_targetNamespace = L"urn:target";

protected:
    std::wstring GetTargetNamespace() const override { return m_targetNamespace; }
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&,
                             bool) override {
        return firstChild;
    }
};

// A parsed document that stays alive while its elements are used.
struct ParsedXml {
    explicit ParsedXml(const wchar_t* text) : document(new CXmlDocument) { document->LoadXml(text); }
    CXmlElement* Root() const { return document->GetDocumentElement(); }
    std::unique_ptr<CXmlDocument> document;
};

using qxxml_test::MessageOf;
using qxxml_test::Narrow;

}  // namespace metadata_test

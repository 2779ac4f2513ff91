// MetadataTestSupport.h - hand-written stand-ins for generated code, shared by the
// descriptor tests: an object whose properties are plain variants, a collection that
// records how it is asked to write, and helpers to write through a real CXmlTextWriter and to
// parse a real element tree.
#pragma once

#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/core/XmlGeneratedClass.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/metadata/AttributeInfo.h>
#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/metadata/ParentElementInfo.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/QxVariant.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlin/XmlElement.h>
#include <qxxml/xmlout/TextStream.h>
#include <qxxml/xmlout/XmlTextWriter.h>

#include "common/Messages.h"

#include <functional>
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
    std::wstring GetNamespace() const override { return m_namespace; }

    using CXmlGeneratedClass::CleanMetaData;  // opened for the tests

    std::vector<QxVariant> m_properties;
    std::vector<std::string> m_accessLog;
    std::wstring m_namespace;
    std::wstring m_targetNamespace = L"urn:target";

protected:
    std::wstring GetTargetNamespace() const override { return m_targetNamespace; }
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&,
                             bool) override {
        return firstChild;
    }
};

// A collection that records how it was asked to write.
class CRecordingCollection : public CXmlCollectionBase {
public:
    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return L""; }
    void ValidateCount(const CXmlSerializationContext&) const override {}
    int GetCount() const override { return 0; }
    void Clear() override {}
    void Remove(int) override {}

    mutable int m_writes = 0;
    mutable bool m_lastIsRoot = true;
    mutable std::wstring m_lastElementNamespace;

protected:
    std::wstring GetTargetNamespace() const override { return L""; }
    void ToXml_Int(CXmlWriter*, bool isRoot, const wchar_t* elementNamespace, const CXmlSerializationContext&,
                   bool) const override {
        ++m_writes;
        m_lastIsRoot = isRoot;
        m_lastElementNamespace = elementNamespace ? elementNamespace : L"(null)";
    }
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&,
                             bool) override {
        return firstChild;
    }
};

// Writes one element "e" whose attributes `writeAttributes` adds, through a real text
// writer, and returns the text.
inline std::wstring WriteElement(const std::function<void(CXmlWriter*)>& writeAttributes) {
    CTextStream stream;
    CXmlTextWriter writer(&stream);
    writer.SetFormatting(false);
    writer.StartDocument();
    writer.StartElement(L"e", L"");
    writeAttributes(&writer);
    writer.EndElement();
    writer.EndDocument();
    return stream.TakeText();
}

// A parsed document that stays alive while its elements are used.
struct ParsedXml {
    explicit ParsedXml(const wchar_t* text) : document(new CXmlDocument) { document->LoadXml(text); }
    CXmlElement* Root() const { return document->GetDocumentElement(); }
    std::unique_ptr<CXmlDocument> document;
};

// For failure output.
inline std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

using qxxml_test::MessageOf;

}  // namespace metadata_test

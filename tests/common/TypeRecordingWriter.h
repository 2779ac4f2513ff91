// TypeRecordingWriter.h - a text writer that also records the item type each element value
// and attribute is declared with, for the tests of what a member or collection tells the
// writer besides its text.
//
//   CTextStream stream;
//   qxxml_test::CTypeRecordingWriter writer(&stream);
//   ... write ...
//   writer.m_types;   // "i4,@boolean": an element value of i4, then a boolean attribute
#pragma once

#include "common/TestSupport.h"

#include <qxxml/values/ItemType.h>
#include <qxxml/xmlout/XmlTextWriter.h>

#include <string>

namespace qxxml_test {

class CTypeRecordingWriter : public QxXmlLib10::CXmlTextWriter {
public:
    using CXmlTextWriter::CXmlTextWriter;
    void WriteElementValue(const std::wstring& value, QxXmlLib10::ItemType itemType) override {
        Record(itemType, "");
        CXmlTextWriter::WriteElementValue(value, itemType);
    }
    void AddAttribute(const std::wstring& localName, const std::wstring& namespaceUri, const std::wstring& value,
                      QxXmlLib10::ItemType itemType) override {
        Record(itemType, "@");
        CXmlTextWriter::AddAttribute(localName, namespaceUri, value, itemType);
    }

    std::string m_types;  // comma-separated, attributes marked "@"

private:
    void Record(QxXmlLib10::ItemType itemType, const char* attribute) {
        m_types += (m_types.empty() ? "" : ",") + (attribute + Narrow(QxXmlLib10::ItemTypeName(itemType)));
    }
};

}  // namespace qxxml_test

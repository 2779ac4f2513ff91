// CollectionTestSupport.h - listeners, writers and helpers shared by the collection tests.
#pragma once

#include <qxxml/collections/DateTimeCollections.h>
#include <qxxml/collections/TypedCollections.h>
#include <qxxml/collections/XmlCollection.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/Conversions.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlout/TextStream.h>
#include <qxxml/xmlout/UtfEncoding.h>
#include <qxxml/xmlout/XmlTextWriter.h>

#include "common/Messages.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace QxXmlTest {

using namespace QxXmlLib10;
using namespace qxxml_test;
using W = CWhitespaceUtils;

// One event as a listener saw it.
struct Event {
    CXmlObjectBase* source;
    IEventSink::MsgType type;
    void* data;
    bool hasIndex;  // remove events: data pointed to an int
    int index;
};

// Records every event, and renders the sequence as text: "add", "add-complete", "change",
// "remove(3)", "remove(-)" (no index given), ...
class CRecordingSink : public IEventSink {
public:
    void OnEvent(CXmlObjectBase* source, MsgType type, void* data) override {
        Event event{source, type, data, false, 0};
        if ((type == MsgType_CollectionRemove || type == MsgType_CollectionRemoveComplete) && data) {
            event.hasIndex = true;
            event.index = *static_cast<int*>(data);
        }
        events.push_back(event);
    }

    std::string Sequence() const {
        std::string text;
        for (const Event& event : events) {
            if (!text.empty()) text += ' ';
            switch (event.type) {
                case MsgType_CollectionChange: text += "change"; break;
                case MsgType_CollectionAdd: text += "add"; break;
                case MsgType_CollectionAddComplete: text += "add-complete"; break;
                case MsgType_CollectionRemove: text += "remove"; break;
                case MsgType_CollectionRemoveComplete: text += "remove-complete"; break;
            }
            if (event.type == MsgType_CollectionRemove || event.type == MsgType_CollectionRemoveComplete)
                text += event.hasIndex ? "(" + std::to_string(event.index) + ")" : "(-)";
        }
        return text;
    }

    std::vector<Event> events;
};

// Publishes the protected writing and reading operations of a collection class.
template <class Collection>
class Exposed : public Collection {
public:
    using Collection::Collection;
    using Collection::AddFromString;
    using Collection::FromXml_Int;
    using Collection::ItemToString;
    using Collection::ToXml_Int;
};

// A collection constructed with the given bounds and facets; the other arguments neutral.
template <class Collection>
Exposed<Collection>* MakeCollection(const wchar_t* name, const wchar_t* namespaceUri, int minOccurs = 0,
                                    int maxOccurs = -1, const CPrimitiveRestrictions& facets = CPrimitiveRestrictions(),
                                    W::WhitespaceRule rule = W::WhitespaceRule_Collapse,
                                    const wchar_t* format = nullptr) {
    return new Exposed<Collection>(name, namespaceUri, minOccurs, maxOccurs, facets.m_strPattern.c_str(),
                                   facets.m_nMinLength, facets.m_nMaxLength, facets.m_strMinInclusive.c_str(),
                                   facets.m_strMaxInclusive.c_str(), facets.m_strMinExclusive.c_str(),
                                   facets.m_strMaxExclusive.c_str(), facets.m_nLength, rule, format);
}

// The text of <root> (in no namespace) holding what the collection writes, unformatted.
template <class Collection>
std::wstring WriteInRoot(const Exposed<Collection>& collection, const CXmlSerializationContext& context,
                         const wchar_t* descriptorNamespace = L"urn:descriptor") {
    CTextStream stream;
    CXmlTextWriter writer(&stream);
    writer.SetFormatting(false);
    writer.SetEOLType(EOLType_LF);
    writer.StartDocument();
    writer.StartElement(L"root", L"");
    collection.ToXml_Int(&writer, false, descriptorNamespace, context, false);
    writer.EndElement();
    writer.EndDocument();
    return stream.TakeText();
}

// Reads the children of the document element of `xml` into the collection, starting at the
// first child, and returns the local name of the element it stopped at ("" at the end).
template <class Collection>
std::wstring ReadFromRoot(Exposed<Collection>& collection, const std::wstring& xml,
                          const CXmlSerializationContext& context) {
    CXmlDocument document(context);
    document.LoadXml(xml.c_str());
    CXmlElement* root = document.GetDocumentElement();
    CXmlElement* next = collection.FromXml_Int(root, root->GetFirstElement(), context, false);
    return next ? next->GetLocalName() : std::wstring();
}

using qxxml_test::MessageOf;

// Runs collections_oracle.py with the arguments and returns its output lines.
inline std::vector<std::string> RunOracle(const std::string& arguments) {
    return Lines(PythonScript("tests/collections/collections_oracle.py", arguments));
}

}  // namespace QxXmlTest

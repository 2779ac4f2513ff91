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

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

namespace QxXmlTest {

using namespace QxXmlLib10;
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

// The message of the CQxException that `action` throws (and fails the test if it throws
// nothing).
template <class Exception = CQxException, class Action>
std::wstring MessageOf(Action action) {
    try {
        action();
    } catch (const CQxException& e) {
        if constexpr (!std::is_same_v<Exception, CQxException>) {
            if (!dynamic_cast<const Exception*>(&e)) ADD_FAILURE() << "unexpected exception class";
        }
        return e.GetMessageW();
    }
    ADD_FAILURE() << "nothing thrown";
    return std::wstring();
}

inline std::string Narrow(const std::wstring& text) {
    std::string out;
    AppendUtf8(out, text.data(), text.size());
    return out;
}

inline std::wstring Widen(const std::string& text) {
    std::wstring out;
    AppendWideFromUtf8(out, text.data(), text.size());
    return out;
}

inline std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

// Runs collections_oracle.py with the arguments and returns its output lines.
inline std::vector<std::string> RunOracle(const std::string& arguments) {
    const char* interpreter = "/usr/bin/python3";
    if (FILE* probe = std::fopen(interpreter, "rb")) std::fclose(probe);
    else interpreter = "python3";
    const std::string command =
        std::string(interpreter) + " '" QXXML_SOURCE_DIR "/tests/collections/collections_oracle.py' " + arguments;
    std::vector<std::string> lines;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return lines;
    }
    std::string output;
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << command;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        lines.push_back(output.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// A directory for files the tests write.
inline std::string TestDirectory() {
    const char* dir = std::getenv("QXXML_TEST_TMP");
    std::string path = dir && *dir ? dir : "/tmp";
    std::string command = "mkdir -p '" + path + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return path;
}

}  // namespace QxXmlTest

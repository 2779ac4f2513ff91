// CollectionTestSupport.h - a script runner and the writing and reading helpers shared by the
// collection tests.
#pragma once

#include <qxxml/collections/DateTimeCollections.h>
#include <qxxml/collections/TypedCollections.h>
#include <qxxml/collections/XmlCollection.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/Conversions.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlout/TextStream.h>
#include <qxxml/xmlout/XmlTextWriter.h>

#include "common/CaseTable.h"
#include "common/TaggedSink.h"
#include "common/TestSupport.h"
#include "common/TypeRecordingWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace QxXmlTest {

using namespace QxXmlLib10;
using namespace qxxml_test;
using W = CWhitespaceUtils;

// Runs the steps of a script ("op" or "op:argument", separated by blanks) through
// step(op, argument), which answers with what the step says, or "" for nothing. Returns what
// was said, "text=answer ; " per answer, and "text!kind message ; " for a step that threw.
template <class Step>
std::string RunSteps(const std::string& script, Step&& step) {
    std::string said;
    for (const std::string& text : Words(script)) {
        const size_t colon = text.find(':');
        std::string answer;
        try {
            answer = step(text.substr(0, colon), colon == std::string::npos ? "" : text.substr(colon + 1));
            if (!answer.empty()) answer = text + "=" + answer;
        } catch (const CQxException& e) {
            answer = text + FailureText(e);
        }
        if (!answer.empty()) said += answer + " ; ";
    }
    return said;
}

// Publishes the protected text conversions of a typed collection class.
template <class Collection>
class Exposed : public Collection {
public:
    using Collection::Collection;
    using Collection::AddFromString;
    using Collection::ItemToString;
};

// The forwarders through which collections reach the protected writing and reading of others.
struct Forward : CXmlObjectBase {
    using CXmlObjectBase::AttributesToXml_Int;
    using CXmlObjectBase::FromXml_Int;
    using CXmlObjectBase::ToXml_Int;
};

// The text of <root> (in no namespace) holding what `object` writes, unformatted; `types`
// receives the item types it declared (CTypeRecordingWriter).
inline std::wstring WriteInRoot(const CXmlObjectBase* object, const CXmlSerializationContext& context,
                                std::string* types = nullptr) {
    CTextStream stream;
    CTypeRecordingWriter writer(&stream);
    writer.SetFormatting(false);
    writer.SetEOLType(EOLType_LF);
    writer.StartDocument();
    writer.StartElement(L"root", L"");
    Forward::ToXml_Int(object, &writer, false, L"urn:ignored", context, false);
    writer.EndElement();
    writer.EndDocument();
    if (types) *types = writer.m_types;
    return stream.TakeText();
}

// Reads the children of the document element of `xml` into `object`, starting at the first
// child, and returns the local name of the element it stopped at ("" at the end).
inline std::wstring ReadFromRoot(CXmlObjectBase* object, const std::wstring& xml,
                                 const CXmlSerializationContext& context) {
    CXmlDocument document(context);
    document.LoadXml(xml.c_str());
    CXmlElement* root = document.GetDocumentElement();
    CXmlElement* next = Forward::FromXml_Int(object, root, root->GetFirstElement(), context);
    return next ? next->GetLocalName() : std::wstring();
}

}  // namespace QxXmlTest

// The reading entry points of CXmlObjectBase, through Item of the generated test binding, and
// DoesElementNameMatch.
#include "core/BindingSupport.h"

#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/SmartPtr.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/xmlin/XmlDocument.h>

#include "common/CaseTable.h"
#include "xmlin/XmlinTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace xmlin_test {
namespace {

using TbBinding::CItem;

// Item with its name checks opened.
struct CExposedItem : CItem {
    using CItem::DoesElementNameMatch;
    using CItem::IsElementInList;
};

const char kNote[] =
    "<?xml version=\"1.0\"?>\n"
    "<n:Item xmlns:n=\"urn:qxxml:test:binding\" code=\"high\"><n:label>Don't forget \xE2\x82\xAC</n:label>"
    "<n:qty>2</n:qty></n:Item>";

void ExpectNoteRead(const CItem& note) {
    EXPECT_EQ(note.GetCode(), L"high");
    EXPECT_EQ(note.GetLabel(), L"Don't forget \u20AC");
    EXPECT_EQ(note.GetQty(), 2);
}

CXmlSerializationContext& Default() { return CXmlSerializationContext::GetDefaultContext(); }

// Every entry point (narrow and wide text, a stream as pointer and as buffer, a file in both
// reading modes) reads the note; and, a document's root never being an optional choice item,
// refuses a choice root without its alternative (a choice member may be empty; the root may
// not). (Compressed, empty and missing input are the document's: the xmlin and Fast Infoset
// reader tests prove them.)
TEST(FromXml, EveryEntryPointReadsTheNoteAndRefusesAnEmptyChoiceRoot) {
    using Read = std::function<void(CXmlObjectBase&, const std::string&)>;
    const auto file = [](CXmlObjectBase& object, const std::string& text, bool overlapped) {
        const std::string path = TempPath("entry-point.xml");
        WriteFile(path, text);
        AsyncReading async(overlapped);
        object.FromXmlFile(FromUtf8(path).c_str(), Default());
    };
    const std::pair<const char*, Read> entryPoints[] = {
        {"narrow", [](CXmlObjectBase& o, const std::string& text) { o.FromXml(text.c_str(), Default()); }},
        {"wide", [](CXmlObjectBase& o, const std::string& text) { o.FromXml(FromUtf8(text).c_str(), Default()); }},
        {"pointer",
         [](CXmlObjectBase& o, const std::string& text) {
             std::vector<unsigned char> raw(text.begin(), text.end());
             o.FromXmlStream(raw.data(), static_cast<uint32_t>(raw.size()), Default());
             EXPECT_EQ(std::string(raw.begin(), raw.end()), text) << "input untouched";
         }},
        {"buffer",
         [](CXmlObjectBase& o, const std::string& text) {
             std::vector<unsigned char> raw(text.begin(), text.end());
             o.FromXmlStream(CBinaryData(raw.data(), static_cast<uint32_t>(raw.size()), false), Default());
         }},
        {"file", [&](CXmlObjectBase& o, const std::string& text) { file(o, text, false); }},
        {"overlapped file", [&](CXmlObjectBase& o, const std::string& text) { file(o, text, true); }},
    };
    for (const auto& [name, read] : entryPoints) {
        SCOPED_TRACE(name);
        CSmartPtr<CItem> note(new CItem);
        read(*note, kNote);
        ExpectNoteRead(*note);
        CSmartPtr<TbBinding::CStrictChoice> choice(new TbBinding::CStrictChoice);
        EXPECT_EQ(qxxml_test::FullMessageOf([&] { read(*choice, "<StrictChoice xmlns='urn:qxxml:test:binding'/>"); }),
                  L"Failed to process the element [StrictChoice]\nNo child elements within the element [StrictChoice] "
                  L"were populated. The element represents a choice, so one and only one element should be populated. "
                  L"The element contained no sutable child elements");
    }
}

// An element of a parsed tree, and a wildcard element, read as the element's text would be.
TEST(FromXmlElement, ReadsAnElementOfATreeOrAWildcardElementAndRefusesNull) {
    CXmlDocument document;
    document.LoadXml("<outer xmlns='urn:qxxml:test:binding'><Item code='high'><label>Tove</label></Item></outer>");
    CSmartPtr<CElement> wildcard(new CElement(L"x"));
    wildcard->FromXml(L"<tb:Item xmlns:tb='urn:qxxml:test:binding' code='k'><tb:label>l &amp; m</tb:label>"
                      L"<tb:qty>3</tb:qty></tb:Item>");
    CSmartPtr<CItem> note(new CItem), item(new CItem);
    note->FromXmlElement(document.GetDocumentElement()->GetFirstElement(), Default());
    item->FromXmlElement(wildcard.Get(), Default());
    EXPECT_EQ(note->GetLabel(), L"Tove");
    EXPECT_EQ(note->GetCode(), L"high");
    EXPECT_EQ(item->GetLabel(), L"l & m");
    EXPECT_EQ(item->GetQty(), 3);
    EXPECT_EQ(item->GetCode(), L"k");
    EXPECT_THROW(note->FromXmlElement(static_cast<const CXmlElement*>(nullptr), Default()), CQxInvalidParamException);
    EXPECT_THROW(note->FromXmlElement(static_cast<const CElement*>(nullptr), Default()), CQxException);
    EXPECT_EQ(note->GetLabel(), L"Tove");
}

// The rows of data/element_name_match.tsv: DoesElementNameMatch, and IsElementInList (whether
// the element is a member of Item's table).
TEST(DoesElementNameMatch, LocalNameAndNamespaceUnlessNamespacesAreIgnored) {
    CXmlDocument document;
    document.LoadXml("<p:a xmlns:p='urn:p' xmlns:tb='urn:qxxml:test:binding'><b/><tb:label/><tb:qty/><tb:code/>"
                     "<o:label xmlns:o='urn:o'/></p:a>");
    CXmlSerializationContext plain;
    plain.SetSchemaType(SchemaType_NoNamespaces);
    EXPECT_TRUE(plain.GetIgnoreNamespaces());  // whatever it is told later
    CXmlDocument unbound(plain);
    unbound.LoadXml("<p:a xmlns:p='urn:p'/>");
    CXmlElement* a = document.GetDocumentElement();
    std::map<std::string, CXmlElement*> elements = {{"a", a}, {"unbound", unbound.GetDocumentElement()}};
    for (CXmlElement* child = a->GetFirstElement(); child; child = child->GetNextSiblingElement()) {
        const std::string name = ToUtf8(child->GetLocalName());
        elements[elements.count(name) ? name + "2" : name] = child;
    }
    CSmartPtr<CExposedItem> note(new CExposedItem);
    qxxml_test::ForEachRow("tests/core/data/element_name_match.tsv", 5, [&](const qxxml_test::Row& f) {
        CXmlSerializationContext context(f[0] == "unbound" ? plain : CXmlSerializationContext());
        context.SetIgnoreNamespaces(f[3] == "1");
        const std::wstring ns = FromUtf8(f[2] == "-" ? "" : f[2]);
        CXmlElement* element = elements.at(f[0]);
        EXPECT_EQ(f[1] == "(in list)" ? note->IsElementInList(context, element)
                                      : note->DoesElementNameMatch(context, element, FromUtf8(f[1]).c_str(),
                                                                   f[2] == "(null)" ? nullptr : ns.c_str()),
                  f[4] == "1");
    });
}

}  // namespace
}  // namespace xmlin_test

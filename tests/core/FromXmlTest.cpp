// The reading entry points of CXmlObjectBase, through Item of the generated test binding, and
// DoesElementNameMatch.
#include "core/BindingSupport.h"

#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/SmartPtr.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/values/Conversions.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/values/WhitespaceUtils.h>
#include <qxxml/xmlin/XmlDocument.h>

#include "common/CaseTable.h"
#include "xmlin/XmlinTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace xmlin_test {
namespace {

using TbBinding::CItem;
using test_binding::CTbExposed;

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

// Every entry point reads the same note: narrow and wide text, streams (plain and compressed,
// as pointer and as buffer) and files in both reading modes.
TEST(FromXml, EveryInputFormReadsTheNote) {
    CSmartPtr<CItem> narrow(new CItem);
    narrow->FromXml(kNote, Default());
    ExpectNoteRead(*narrow);
    CSmartPtr<CItem> wide(new CItem);
    wide->FromXml(FromUtf8(kNote).c_str(), Default());
    ExpectNoteRead(*wide);

    const std::string plainPath = TempPath("note.xml");
    WriteFile(plainPath, kNote);
    for (const char* kind : {"", "gzip", "zlib"}) {
        SCOPED_TRACE(kind);
        std::string path = plainPath;
        if (*kind != '\0') {
            path = TempPath(std::string("note.") + kind);
            RunOracle("compress '" + plainPath + "' '" + path + "' " + kind);
        }
        const std::string bytes = ReadFile(path);
        std::vector<unsigned char> raw(bytes.begin(), bytes.end());
        CSmartPtr<CItem> fromPointer(new CItem);
        fromPointer->FromXmlStream(raw.data(), static_cast<uint32_t>(raw.size()), Default());
        ExpectNoteRead(*fromPointer);
        const CBinaryData data(raw.data(), static_cast<uint32_t>(raw.size()), false);
        CSmartPtr<CItem> fromBuffer(new CItem);
        fromBuffer->FromXmlStream(data, Default());
        ExpectNoteRead(*fromBuffer);
        EXPECT_EQ(std::string(data.GetData(), data.GetData() + data.GetLength()), bytes) << "input untouched";
    }
    for (bool overlapped : {false, true}) {
        AsyncReading async(overlapped);
        CSmartPtr<CItem> note(new CItem);
        note->FromXmlFile(FromUtf8(plainPath).c_str(), Default());
        ExpectNoteRead(*note);
    }
}

TEST(FromXml, EmptyInputsAreRefused) {
    CSmartPtr<CItem> note(new CItem);
    EXPECT_EQ(MessageOf([&] { note->FromXmlStream(CBinaryData(), Default()); }), L"XML Stream is empty!");
    EXPECT_EQ(MessageOf([&] { note->FromXml("", Default()); }), L"XML String is empty!");
    EXPECT_EQ(MessageOf([&] { note->FromXml(L"", Default()); }), L"XML String is empty!");
    EXPECT_EQ(note->GetLabel(), L"");
}

// A document's root is never an optional choice item: every entry point refuses a choice root
// without its alternative (a choice member may be empty; the root may not).
TEST(FromXml, EveryEntryPointRefusesAnEmptyChoiceRoot) {
    const std::string text = "<StrictChoice xmlns='urn:qxxml:test:binding'/>";
    const std::string path = TempPath("empty-choice.xml");
    WriteFile(path, text);
    std::vector<unsigned char> raw(text.begin(), text.end());
    const std::vector<std::function<void(TbBinding::CStrictChoice&)>> entryPoints = {
        [&](TbBinding::CStrictChoice& c) { c.FromXml(text.c_str(), Default()); },
        [&](TbBinding::CStrictChoice& c) { c.FromXml(FromUtf8(text).c_str(), Default()); },
        [&](TbBinding::CStrictChoice& c) { c.FromXmlStream(raw.data(), static_cast<uint32_t>(raw.size()), Default()); },
        [&](TbBinding::CStrictChoice& c) { c.FromXmlFile(FromUtf8(path).c_str(), Default()); },
    };
    for (const auto& read : entryPoints) {
        CSmartPtr<TbBinding::CStrictChoice> choice(new TbBinding::CStrictChoice);
        EXPECT_EQ(qxxml_test::FullMessageOf([&] { read(*choice); }),
                  L"Failed to process the element [StrictChoice]\nNo child elements within the element [StrictChoice] "
                  L"were populated. The element represents a choice, so one and only one element should be populated. "
                  L"The element contained no sutable child elements");
    }
}

TEST(FromXml, MissingFile) {
    const std::wstring path = FromUtf8(TempPath("no-such-note.xml"));
    CSmartPtr<CItem> note(new CItem);
    EXPECT_EQ(MessageOf([&] { note->FromXmlFile(path.c_str(), Default()); }),
              FormatString(L"Failed to open the file [%s] Error [0x%08x]", path.c_str(), qxxml_test::kSysFileNotFound));
}

TEST(FromXmlElement, ReadsAnElementOfAnExistingTreeAndRefusesNull) {
    CXmlDocument document;
    document.LoadXml("<outer xmlns='urn:qxxml:test:binding'><Item code='high'><label>Tove</label></Item></outer>");
    CSmartPtr<CItem> note(new CItem);
    note->FromXmlElement(document.GetDocumentElement()->GetFirstElement(), Default());
    EXPECT_EQ(note->GetLabel(), L"Tove");
    EXPECT_EQ(note->GetCode(), L"high");
    EXPECT_THROW(note->FromXmlElement(static_cast<const CXmlElement*>(nullptr), Default()), CQxInvalidParamException);
    EXPECT_THROW(note->FromXmlElement(static_cast<const CElement*>(nullptr), Default()), CQxException);
    EXPECT_EQ(note->GetLabel(), L"Tove");
}

// The rows of data/element_name_match.tsv.
TEST(DoesElementNameMatch, LocalNameAndNamespaceUnlessNamespacesAreIgnored) {
    CXmlDocument document;
    document.LoadXml("<p:a xmlns:p='urn:p'><b/></p:a>");
    CXmlSerializationContext plain;
    plain.SetSchemaType(SchemaType_NoNamespaces);
    CXmlDocument unbound(plain);
    unbound.LoadXml("<p:a xmlns:p='urn:p'/>");
    const CXmlElement* a = document.GetDocumentElement();
    const std::map<std::string, const CXmlElement*> elements = {
        {"a", a}, {"b", a->GetFirstElement()}, {"unbound", unbound.GetDocumentElement()}};
    CSmartPtr<CTbExposed<CItem>> note(new CTbExposed<CItem>);
    qxxml_test::ForEachRow("tests/core/data/element_name_match.tsv", 5, [&](const qxxml_test::Row& f) {
        CXmlSerializationContext context(f[0] == "unbound" ? plain : CXmlSerializationContext());
        context.SetIgnoreNamespaces(f[3] == "1");
        const std::wstring ns = FromUtf8(f[2] == "-" ? "" : f[2]);
        EXPECT_EQ(note->DoesElementNameMatch(context, elements.at(f[0]), FromUtf8(f[1]).c_str(),
                                             f[2] == "(null)" ? nullptr : ns.c_str()),
                  f[4] == "1");
    });
}

// Binary content read from text keeps its bytes beside the value's record; the value still
// shares, grows and hands its bytes over like any other.
TEST(FromXml, Base64ContentIsAnOrdinaryValue) {
    const std::string raw = "binary \x01\xFF content";
    std::vector<unsigned char> bytes(raw.begin(), raw.end());
    const CBinaryData expected(bytes.data(), static_cast<uint32_t>(bytes.size()), false);
    const auto read = [&] {
        return CConversions::base64BinaryFromString(L" " + expected.GetAsBase64() + L"\n",
                                                    CWhitespaceUtils::WhitespaceRule_Collapse);
    };
    CBinaryData value = read();
    EXPECT_EQ(value, expected);
    CBinaryData copy = value;
    copy[0] = 'B';  // the copy goes its own way
    EXPECT_EQ(value, expected);
    const std::string more(40, '+');
    value.Append(reinterpret_cast<const unsigned char*>(more.data()), static_cast<uint32_t>(more.size()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(value.GetData()), value.GetLength()), raw + more);

    CBinaryData other = read();
    unsigned char* handed = other.ReleaseData();  // freed with delete[], as always
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(handed), raw.size()), raw);
    delete[] handed;
}

}  // namespace
}  // namespace xmlin_test

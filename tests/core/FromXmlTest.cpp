// The reading entry points of CXmlObjectBase, with a small hand-written class that reads its
// own element (what generated classes do through their tables), and DoesElementNameMatch.
#include "xmlin/XmlinTestSupport.h"

#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/SmartPtr.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/values/Conversions.h>
#include <qxxml/values/WhitespaceUtils.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/xmlin/XmlDocument.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace xmlin_test {
namespace {

const wchar_t kNs[] = L"urn:note";

// <note priority="..."><to>...</to><body>...</body></note> in namespace urn:note.
class CNote : public CXmlObjectBase {
public:
    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return kNs; }

    std::wstring Name() const { return GetElementName(); }
    bool Matches(const CXmlSerializationContext& context, const CXmlElement* element,
                 const wchar_t* localName, const wchar_t* namespaceUri) const {
        return DoesElementNameMatch(context, element, localName, namespaceUri);
    }

    std::wstring to, body, priority;
    const CXmlElement* firstChildGiven = nullptr;  // valid only while its document lives
    std::wstring firstChildName;
    int reads = 0;

protected:
    std::wstring GetTargetNamespace() const override { return kNs; }
    void ToXml_Int(CXmlWriter*, bool, const wchar_t*, const CXmlSerializationContext&, bool) const override {}

    CXmlElement* FromXml_Int(CXmlElement* element, CXmlElement* firstChild,
                             const CXmlSerializationContext& context, bool optionalChoiceItem) override {
        EXPECT_FALSE(optionalChoiceItem);
        ++reads;
        firstChildGiven = firstChild;
        firstChildName = firstChild != nullptr ? firstChild->GetLocalName() : L"(none)";
        SetElementName(element->GetLocalName().c_str());
        priority = element->GetAttribute(L"priority", L"");
        CXmlElement* cursor = firstChild;
        for (; cursor != nullptr; cursor = cursor->GetNextSiblingElement()) {
            if (DoesElementNameMatch(context, cursor, L"to", kNs))
                to = cursor->GetText();
            else if (DoesElementNameMatch(context, cursor, L"body", kNs))
                body = cursor->GetText();
            else
                throw CQxValidationException(
                    FormatString(L"Failed to process the element [%s]", element->GetLocalName().c_str()),
                    CQxValidationException(FormatString(L"Unexpected element [%s]", cursor->GetLocalName().c_str())));
        }
        return cursor;
    }
};

const char kNote[] =
    "<?xml version=\"1.0\"?>\n"
    "<n:note xmlns:n=\"urn:note\" priority=\"high\"><n:to>Tove</n:to><n:body>Don't forget \xE2\x82\xAC</n:body></n:note>";

void ExpectNoteRead(const CNote& note) {
    EXPECT_EQ(note.reads, 1);
    EXPECT_EQ(note.Name(), L"note");
    EXPECT_EQ(note.priority, L"high");
    EXPECT_EQ(note.to, L"Tove");
    EXPECT_EQ(note.body, L"Don't forget \u20AC");
    EXPECT_EQ(note.firstChildName, L"to");
}

CXmlSerializationContext& Default() { return CXmlSerializationContext::GetDefaultContext(); }

// Every entry point reads the same note: narrow and wide text, streams (plain and compressed,
// as pointer and as buffer) and files in both reading modes.
TEST(FromXml, EveryInputFormReadsTheNote) {
    CSmartPtr<CNote> narrow(new CNote);
    narrow->FromXml(kNote, Default());
    ExpectNoteRead(*narrow);
    CSmartPtr<CNote> wide(new CNote);
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
        CSmartPtr<CNote> fromPointer(new CNote);
        fromPointer->FromXmlStream(raw.data(), static_cast<uint32_t>(raw.size()), Default());
        ExpectNoteRead(*fromPointer);
        const CBinaryData data(raw.data(), static_cast<uint32_t>(raw.size()), false);
        CSmartPtr<CNote> fromBuffer(new CNote);
        fromBuffer->FromXmlStream(data, Default());
        ExpectNoteRead(*fromBuffer);
        EXPECT_EQ(std::string(data.GetData(), data.GetData() + data.GetLength()), bytes) << "input untouched";
    }
    for (bool overlapped : {false, true}) {
        AsyncReading async(overlapped);
        CSmartPtr<CNote> note(new CNote);
        note->FromXmlFile(FromUtf8(plainPath).c_str(), Default());
        ExpectNoteRead(*note);
    }
}

TEST(FromXml, EmptyInputsAreRefused) {
    CSmartPtr<CNote> note(new CNote);
    EXPECT_EQ(MessageOf([&] { note->FromXmlStream(CBinaryData(), Default()); }), L"XML Stream is empty!");
    EXPECT_EQ(MessageOf([&] { note->FromXml("", Default()); }), L"XML String is empty!");
    EXPECT_EQ(MessageOf([&] { note->FromXml(L"", Default()); }), L"XML String is empty!");
    EXPECT_EQ(note->reads, 0);
}

TEST(FromXml, MissingFile) {
    const std::wstring path = FromUtf8(TempPath("no-such-note.xml"));
    CSmartPtr<CNote> note(new CNote);
    EXPECT_EQ(MessageOf([&] { note->FromXmlFile(path.c_str(), Default()); }),
              FormatString(L"Failed to open the file [%s] Error [0x%08x]", path.c_str(),
                           qxxml_test::kSysFileNotFound));
}

TEST(FromXml, ParseErrorPassesThroughUnchanged) {
    CSmartPtr<CNote> note(new CNote);
    try {
        note->FromXml("<n:note xmlns:n='urn:note'>\n<n:to></n:note>", Default());
        FAIL() << "no exception";
    } catch (const CQxValidationException&) {
        FAIL() << "a parse error is no validation failure";
    } catch (const CQxException& e) {
        EXPECT_EQ(e.GetFullMessage(), L"mismatched tag at line 2");
    }
    EXPECT_EQ(note->reads, 0);
}

TEST(FromXml, ReadingFailurePassesThroughUnchanged) {
    CSmartPtr<CNote> note(new CNote);
    try {
        note->FromXml("<n:note xmlns:n='urn:note'><n:to>x</n:to><n:cc/></n:note>", Default());
        FAIL() << "no exception";
    } catch (const CQxValidationException& e) {
        EXPECT_EQ(e.GetFullMessage(), L"Failed to process the element [note]\nUnexpected element [cc]");
    }
}

TEST(FromXmlElement, ReadsAnElementOfAnExistingTreeAndRefusesNull) {
    CXmlDocument document;
    document.LoadXml("<outer xmlns='urn:note'><note priority='high'><to>Tove</to><body>b</body></note></outer>");
    const CXmlElement* inner = document.GetDocumentElement()->GetFirstElement();
    CSmartPtr<CNote> note(new CNote);
    note->FromXmlElement(inner, Default());
    EXPECT_EQ(note->to, L"Tove");
    EXPECT_EQ(note->body, L"b");
    EXPECT_EQ(note->firstChildGiven, inner->GetFirstElement());
    EXPECT_THROW(note->FromXmlElement(static_cast<const CXmlElement*>(nullptr), Default()), CQxInvalidParamException);
    EXPECT_THROW(note->FromXmlElement(static_cast<const CElement*>(nullptr), Default()), CQxException);
    EXPECT_EQ(note->reads, 1);
}

TEST(DoesElementNameMatch, LocalNameAndNamespaceUnlessNamespacesAreIgnored) {
    CXmlDocument document;
    document.LoadXml("<p:a xmlns:p='urn:p'><b/></p:a>");
    const CXmlElement* a = document.GetDocumentElement();
    const CXmlElement* b = a->GetFirstElement();
    CSmartPtr<CNote> note(new CNote);
    CXmlSerializationContext context;
    EXPECT_TRUE(note->Matches(context, a, L"a", L"urn:p"));
    EXPECT_FALSE(note->Matches(context, a, L"a", L"urn:q"));
    EXPECT_FALSE(note->Matches(context, a, L"a", L""));
    EXPECT_FALSE(note->Matches(context, a, L"A", L"urn:p"));
    EXPECT_FALSE(note->Matches(context, a, L"p:a", L"urn:p"));
    // One name a prefix of the other.
    EXPECT_FALSE(note->Matches(context, a, L"ab", L"urn:p"));
    EXPECT_FALSE(note->Matches(context, a, L"a", L"urn:"));
    EXPECT_FALSE(note->Matches(context, a, L"a", L"urn:pp"));
    // An element in no namespace matches only the empty (or null) namespace.
    EXPECT_TRUE(note->Matches(context, b, L"b", L""));
    EXPECT_TRUE(note->Matches(context, b, L"b", nullptr));
    EXPECT_FALSE(note->Matches(context, b, L"b", L"urn:x"));

    context.SetIgnoreNamespaces(true);
    EXPECT_TRUE(note->Matches(context, a, L"a", L"urn:q"));
    EXPECT_FALSE(note->Matches(context, a, L"b", L"urn:p"));

    // A document read without namespaces keeps the prefixed name as its local name.
    CXmlSerializationContext plain;
    plain.SetSchemaType(SchemaType_NoNamespaces);
    CXmlDocument unbound(plain);
    unbound.LoadXml("<p:a xmlns:p='urn:p'/>");
    EXPECT_TRUE(note->Matches(plain, unbound.GetDocumentElement(), L"p:a", L"urn:anything"));
    EXPECT_FALSE(note->Matches(plain, unbound.GetDocumentElement(), L"a", L""));
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

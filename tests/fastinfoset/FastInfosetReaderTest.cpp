// The reader against Java's Fast Infoset serializer and parser (documents Java encodes read
// into the tree Java itself reads from them, and into the tree of their XML text), the
// library's own output read back to the same text, and malformed input.
#include <qxxml/collections/Element.h>
#include <qxxml/collections/AttributeCol.h>
#include <qxxml/collections/ElementCol.h>
#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/fastinfoset/FastInfosetContext.h>
#include <qxxml/fastinfoset/FastInfosetReader.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/SmartPtr.h>
#include <qxxml/xmlin/XmlDocument.h>

#include "common/CaseTable.h"
#include "common/JavaOracle.h"
#include "common/ExpatOracle.h"
#include "fastinfoset/VocabularyLines.h"
#include "xmlin/XmlinTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace QxXmlLib10;
using namespace qxxml_test;

const char kOracle[] = "tests/fastinfoset/fastinfoset_oracle.java";

// The tree's events in the oracle's form (elements without mixed content).
void AppendEvents(std::string& out, const CXmlElement* element) {
    out += "E " + Name(element->GetNamespaceURI(), element->GetLocalName()) + "\n";
    std::vector<std::string> attributes;
    for (const CXmlAttribute* a : element->GetAttributes())
        attributes.push_back("A " + Name(a->GetNamespaceURI(), a->GetLocalName()) + " " + Json(a->GetValue()) + "\n");
    std::sort(attributes.begin(), attributes.end());
    for (const std::string& a : attributes) out += a;
    const std::wstring& text = element->GetText();
    if (text.find_first_not_of(L" \t\r\n") != std::wstring::npos) out += "T " + Json(text) + "\n";
    for (const CXmlElement* child = element->GetFirstElement(); child; child = child->GetNextSiblingElement())
        AppendEvents(out, child);
}

std::string Events(CXmlDocument& document) {
    std::string out;
    AppendEvents(out, document.GetDocumentElement());
    return out;
}

std::string LoadBytes(const std::string& bytes, const CXmlSerializationContext& context) {
    CXmlDocument document(context);
    document.LoadXmlStream(reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data())),
                           static_cast<uint32_t>(bytes.size()));
    return Events(document);
}

const char kVocabulary[] = "P\tp\nN\turn:v\nL\troot\nL\titem\nE\tp\turn:v\troot\nE\tp\turn:v\titem\nA\t\t\tid\nC\tu";

// Java encodes each document and reads its encoding back, in one run: two requests a case.
TEST(FastInfosetReader, ReadsWhatJavaEncodes) {
    const std::string vocabularyFile = TempPath("vocabulary.txt"), vocabularyUri = "urn:test:vocabulary";
    WriteFile(vocabularyFile, kVocabulary);
    const std::vector<CCaseRow> cases = CaseRows("tests/fastinfoset/data/java_documents.tsv", 3);
    const auto encoded = [](size_t i) { return TempPath("java" + std::to_string(i) + ".fi"); };
    std::vector<std::string> requests;
    for (size_t i = 0; i < cases.size(); ++i) {
        const Row& c = cases[i].fields;  // xml, options, text|typed
        const std::string xml = TempPath("java" + std::to_string(i) + ".xml");
        WriteFile(xml, c[0]);
        const bool external = c[1] == "vocabulary";
        const std::string options =
            external ? "vocab=" + vocabularyFile + ";uri=" + vocabularyUri : c[1] == "-" ? "" : c[1];
        requests.push_back("F\t" + Hex(xml) + "\t" + Hex(encoded(i)) + "\t" + Hex(options));
        requests.push_back("X\t" + Hex(encoded(i)) + "\t" +
                           (external ? Hex(kVocabulary) + "\t" + Hex(vocabularyUri) : ""));
    }
    const std::vector<std::string> answers = JavaFastInfoset(kOracle, requests);

    CXmlSerializationContext plain;
    CXmlSerializationContext vocabulary;
    AddVocabularyLines(*vocabulary.GetFIContext().GetVocabulary(), kVocabulary);
    vocabulary.GetFIContext().SetUseGeneratedVocabulary(true);

    for (size_t i = 0; i < cases.size(); ++i) {
        const Row& c = cases[i].fields;
        SCOPED_TRACE(cases[i].where);
        ASSERT_EQ(answers[2 * i], "OK\t");
        const std::string bytes = ReadFile(encoded(i));
        std::string ours;
        try {
            ours = LoadBytes(bytes, c[1] == "vocabulary" ? vocabulary : plain);
        } catch (const CQxException& e) {
            ADD_FAILURE() << Narrow(e.GetMessageW()) << " in " << Hex(bytes);
            continue;
        }
        EXPECT_EQ("OK\t" + Hex(ours), answers[2 * i + 1]) << ours;
        if (c[2] != "typed") {
            CXmlDocument text;
            text.LoadXml(c[0].c_str());
            EXPECT_EQ(ours, Events(text));
        }
    }
}

// Text loses its carriage returns, as from XML text.
TEST(FastInfosetReader, TextLosesItsCarriageReturns) {
    const CXmlSerializationContext plain;
    CSmartPtr<CElement> returns(new CElement(L"w"));
    returns->GetChildElements()->Add(L"x", L"")->SetText(L"a\r\nb\r");
    CSmartPtr<CElement> read(new CElement(L"x"));
    read->FromXmlStream(returns->ToFastInfosetStream(FInfoDecl_None, plain, CompressionType_None), plain);
    EXPECT_EQ(read->GetText(), L"a\nb");
}

// Every reading entry point takes both encodings: byte buffers and files, compressed or not,
// files read whole or with overlapped reads (which take no compressed input). The document is
// large enough for several overlapped chunks.
TEST(FastInfosetReader, EveryReadingEntryPointTakesBothEncodings) {
    CXmlSerializationContext context;
    CSmartPtr<CElement> wrapper(new CElement(L"w"));
    CElement* document = wrapper->GetChildElements()->Add(L"doc", L"");
    document->GetAttributes()->Add(L"at", L"value", L"");
    for (int i = 0; i < 20000; ++i)
        document->GetChildElements()->Add(L"item", L"")->SetText((L"text " + std::to_wstring(i % 300)).c_str());
    const std::wstring expected = document->ToXml(false, false, EOLType_LF, context);
    const struct {
        CompressionType compression;
        bool overlapped;
    } modes[] = {{CompressionType_None, false}, {CompressionType_None, true}, {CompressionType_GZip, false},
                 {CompressionType_ZLib, false}};
    const std::string path = TempPath("entry-point.bin");
    for (bool fastInfoset : {false, true}) {
        for (const auto& mode : modes) {
            SCOPED_TRACE(testing::Message() << "Fast Infoset " << fastInfoset << ", compression " << mode.compression
                                            << ", overlapped " << mode.overlapped);
            const CBinaryData bytes =
                fastInfoset ? wrapper->ToFastInfosetStream(FInfoDecl_V10, context, mode.compression)
                            : wrapper->ToXmlStream(true, false, XmlEncoding_UTF8, EOLType_LF, context, mode.compression);
            WriteFile(path, std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetLength()));
            CSmartPtr<CElement> fromFile(new CElement(L"x"));
            {
                xmlin_test::AsyncReading reading(mode.overlapped);
                fromFile->FromXmlFile(FromUtf8(path).c_str(), context);
            }
            EXPECT_EQ(fromFile->ToXml(false, false, EOLType_LF, context), expected);
            if (mode.overlapped) continue;
            CSmartPtr<CElement> fromBytes(new CElement(L"x"));
            fromBytes->FromXmlStream(bytes, context);
            EXPECT_EQ(fromBytes->ToXml(false, false, EOLType_LF, context), expected);
        }
    }
}

// Where the format is malformed: the exact message, never a read past the data.
TEST(FastInfosetReader, RefusesMalformedDocuments) {
    ForEachRow("tests/fastinfoset/data/malformed.tsv", 2, [](const Row& c) {
        EXPECT_EQ(Narrow(MessageOf([&] { LoadBytes(Unhex(c[0]), CXmlSerializationContext()); })), c[1]);
    });
    // The header alone is no Fast Infoset: it goes to the text reader.
    EXPECT_FALSE(CFastInfosetReader::IsFastInfoset(reinterpret_cast<const unsigned char*>("\xE0\0\0\x01"), 4));
    EXPECT_TRUE(CFastInfosetReader::IsFastInfoset(reinterpret_cast<const unsigned char*>("\xE0\0\0\x01\0"), 5));
}

}  // namespace

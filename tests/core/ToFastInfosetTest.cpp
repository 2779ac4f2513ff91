// The Fast Infoset entry points against an independent reader: every document the test
// binding writes as Fast Infoset must be read by Java's Fast Infoset parser as the same infoset
// (names with their namespaces, attributes, text, order) that python's expat reads from the
// XML text of the same tree, whatever the naming, declaration, generated vocabulary and
// encoding table. One JVM run and one python run for all documents.
#include "core/BindingSupport.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/fastinfoset/FastInfosetContext.h>
#include <qxxml/fastinfoset/FastInfosetWriter.h>
#include <qxxml/support/QxZip.h>
#include <qxxml/values/ItemType.h>

#include "common/JavaOracle.h"
#include "common/ExpatOracle.h"
#include "fastinfoset/VocabularyLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace test_binding;
using namespace qxxml_test;

const char kOracle[] = "tests/fastinfoset/fastinfoset_oracle.java";

// Binary numbers and booleans, decimals in the numeric alphabet; reals and dates stay text,
// whose lexical forms Java writes differently.
void SuggestedEncodings(CXmlSerializationContext& c) {
    CFastInfosetContext& fi = c.GetFIContext();
    fi.SetSuggestedValues();
    for (int type = ItemType_r4; type <= ItemType_time; ++type) fi.SetEncoding(type, {FIEncodingKind_CharacterString, 0});
}

// A generated vocabulary, in the Java oracle's lines (the tables without the "xml" prefix and
// namespace every vocabulary starts with).
const char kVocabulary[] =
    "P\ttb\nP\txsi\nN\turn:qxxml:test:binding\nN\thttp://www.w3.org/2001/XMLSchema-instance\n"
    "L\tRoot\nL\tlabel\nL\tcurrency\nL\ttype\nE\t\turn:qxxml:test:binding\tRoot\n"
    "E\ttb\turn:qxxml:test:binding\tlabel\nA\t\t\tcurrency\nA\txsi\thttp://www.w3.org/2001/XMLSchema-instance\ttype\n"
    "V\tEUR\nC\tblue\n";

void GeneratedVocabulary(CXmlSerializationContext& c) {
    AddVocabularyLines(*c.GetFIContext().GetVocabulary(), kVocabulary);
    c.GetFIContext().SetUseGeneratedVocabulary(true);
    c.GetFIContext().SetExternalVocabularyURI(L"urn:qxxml:test:vocabulary");
}

TEST(ToFastInfosetTest, JavaReadsTheInfosetOfTheXmlText) {
    const std::vector<CNaming> options = {  // named setups, as the namings are
        {"plain", [](CXmlSerializationContext&) {}},
        {"suggested encodings", SuggestedEncodings},
        {"generated vocabulary", GeneratedVocabulary},
        {"short values indexed longer", [](CXmlSerializationContext& c) {
             c.GetFIContext().SetElementMaxAddLength(64);
             c.GetFIContext().SetAttributeMaxAddLength(1);
         }},
    };
    std::vector<std::pair<std::string, std::string>> xmlFiles;
    std::vector<std::string> requests, labels;
    int declaration = 0;
    for (const CNaming& naming : kNamings)
        for (const CNaming& option : options)
            for (bool full : {true, false}) {
                CXmlSerializationContext context;
                naming.setup(context);
                option.setup(context);
                CSmartPtr<CRoot> root = full ? MakeFullRoot() : MakeMinimalRoot();
                const std::string name = std::to_string(labels.size());
                const std::string xmlPath = TempPath("fi-" + name + ".xml"), fiPath = TempPath("fi-" + name + ".fi");
                WriteFile(xmlPath, Bytes(root->ToXmlStream(false, false, XmlEncoding_UTF8, EOLType_LF, context,
                                                             CompressionType_None)));
                const FInfoDecl decl = static_cast<FInfoDecl>(declaration++ % 10);
                const CBinaryData fi = root->ToFastInfosetStream(decl, context, CompressionType_None);
                WriteFile(fiPath, Bytes(fi));
                xmlFiles.emplace_back(xmlPath, "UTF-8");
                std::string request = "X\t" + Hex(fiPath);
                if (context.GetFIContext().GetUseGeneratedVocabulary())
                    request += "\t" + Hex(kVocabulary) + "\t" +
                               Hex(ToUtf8(context.GetFIContext().GetExternalVocabularyURI()));
                requests.push_back(request);
                labels.push_back(std::string(naming.name) + ", " + option.name + (full ? ", full" : ", minimal") +
                                 ", declaration " + std::to_string(decl));
            }
    const std::vector<std::string> expected = ExpatEventsOfFiles(xmlFiles);
    const std::vector<std::string> answers = JavaFastInfoset(kOracle, requests);
    for (size_t i = 0; i < labels.size(); ++i) {
        const std::vector<std::string> answer = Fields(answers[i]);
        ASSERT_EQ(answer.size(), 2u) << answers[i];
        EXPECT_EQ(answer[0], "OK") << labels[i] << ": " << answer[1];
        EXPECT_EQ(Unhex(answer[1]), expected[i]) << labels[i];
        EXPECT_EQ(expected[i].find("ERROR"), std::string::npos) << labels[i];
    }
}

TEST(ToFastInfosetTest, FileAndCompressedStreamHoldTheDocument) {
    CSmartPtr<CRoot> root = MakeFullRoot();
    CXmlSerializationContext context;
    const CBinaryData plain = root->ToFastInfosetStream(FInfoDecl_V10, context, CompressionType_None);
    for (CompressionType compression : {CompressionType_GZip, CompressionType_ZLib}) {
        CBinaryData zipped = root->ToFastInfosetStream(FInfoDecl_V10, context, compression);
        uint32_t length = zipped.GetLength();
        unsigned char* data = zipped.ReleaseData();
        CQxZip().Decompress(&data, &length);
        EXPECT_TRUE(CBinaryData(data, length, true) == plain) << compression;
    }
    const std::string path = TempPath("root.fi");
    root->ToFastInfosetFile(Widen(path).c_str(), FInfoDecl_V10, context, CompressionType_None);
    const std::string bytes = ReadFile(path);
    EXPECT_EQ(bytes, Bytes(plain));
    EXPECT_EQ(bytes.substr(0, 41), std::string("<?xml version='1.0' encoding='finf'?>\xE0\x00\x00\x01", 41));
    std::remove(path.c_str());
}

}  // namespace

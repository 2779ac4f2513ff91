// The writer's octets where they are fixed (header, terminators, indices of repeated names
// and values), its refusals, and the two ways it departs from writing namespace attributes on
// the root only (a namespace first used below the root is declared there; xsi:type is named
// with the instance namespace's prefix), checked with Java's Fast Infoset parser.
#include <qxxml/fastinfoset/FastInfosetContext.h>
#include <qxxml/fastinfoset/FastInfosetWriter.h>
#include <qxxml/support/QxException.h>
#include <qxxml/xmlout/BinaryStream.h>

#include "common/JavaOracle.h"
#include "common/WriterScript.h"
#include "common/ExpatOracle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace QxXmlLib10;
using namespace qxxml_test;

// A writer's context from a case's options.
CFastInfosetContext ContextFor(const WriterCase& c) {
    CFastInfosetContext context;
    if (c.Has("suggested")) context.SetSuggestedValues();
    for (const std::string& option : c.options) {
        if (option.rfind("encoding=", 0) != 0) continue;
        const size_t comma = option.find(',');
        context.SetEncoding(ItemType_string, {static_cast<uint32_t>(std::stoul(option.substr(9, comma - 9))),
                                              static_cast<uint32_t>(std::stoul(option.substr(comma + 1)))});
    }
    if (c.Has("generated")) {
        context.SetUseGeneratedVocabulary(true);
        context.SetExternalVocabularyURI(L"urn:v");
    }
    return context;
}

// The octets of a document written by `body` between the header and the document's end.
std::string Document(const std::function<void(CFastInfosetWriter&)>& body,
                     const CFastInfosetContext& context = CFastInfosetContext(), FInfoDecl declaration = FInfoDecl_None,
                     bool finish = true) {
    CBinaryStream stream;
    CFastInfosetWriter writer(context, &stream);
    writer.StartDocument();
    writer.WriteHeader(declaration);
    body(writer);
    if (!finish) return std::string();
    writer.WriteDocumentEnd();
    writer.EndDocument();
    return Bytes(stream.GetData());
}

// Fixed octets, refusals, and namespaces as Java reads them, one scripted case each; Java
// reads every "java" case in one run.
TEST(FastInfosetWriter, ScriptedDocuments) {
    std::vector<WriterCase> javaCases;
    std::vector<std::string> requests;
    for (const WriterCase& c : WriterCases("tests/fastinfoset/data/writer.txt")) {
        SCOPED_TRACE(c.name);
        const std::string octets = Document([&](CFastInfosetWriter& w) { RunScript(w, c); }, ContextFor(c),
                                            c.Has("declared") ? FInfoDecl_V10 : FInfoDecl_None, !c.Has("unfinished"));
        if (c.Has("hex") || c.Has("prefix")) {
            EXPECT_EQ(Narrow(c.expect), c.Has("hex") ? Hex(octets) : Hex(octets).substr(0, c.expect.size()));
        }
        if (!c.Has("java")) continue;
        const std::string path = TempPath("writer-" + std::to_string(requests.size()) + ".fi");
        WriteFile(path, octets);
        requests.push_back("X\t" + Hex(path));
        javaCases.push_back(c);
    }
    const std::vector<std::string> answers = JavaFastInfoset("tests/fastinfoset/fastinfoset_oracle.java", requests);
    for (size_t i = 0; i < javaCases.size(); ++i) {
        const std::vector<std::string> answer = Fields(answers[i]);
        ASSERT_EQ(answer.size(), 2u) << answers[i];
        EXPECT_EQ(answer[0], "OK") << javaCases[i].name << ": " << answer[1];
        EXPECT_EQ(Unhex(answer[1]), Narrow(javaCases[i].expect)) << javaCases[i].name;
    }
    EXPECT_EQ(std::string(CFastInfosetWriter::DeclarationText(9)), "<?xml version='1.1' encoding='finf' standalone='no'?>");
    EXPECT_EQ(CFastInfosetWriter::DeclarationText(0), nullptr);
}

// The CRC-32 of zlib and java.util.zip (reflected polynomial 0xEDB88320).
uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// Indices in the ranges of their encodings (element names beyond 2080, character chunks
// beyond 263184, attribute names and values beyond 8256) and octet strings of every length
// form, each written twice so that the second time is an index, read back by Java. (Element
// names beyond 526368 take a million elements: checked once by hand, not here.)
TEST(FastInfosetWriter, JavaReadsIndicesAndLengthsOfEveryRange) {
    const auto word = [](uint32_t n, const wchar_t* lead) {  // distinct, at most 5 characters after lead
        std::wstring w = lead;
        do {
            w += static_cast<wchar_t>(L'a' + n % 26);
            n /= 26;
        } while (n != 0);
        return w;
    };
    const uint32_t elements = 263300, names = 2200, attributes = 8400;
    std::string expected;
    const std::string body = Document([&](CFastInfosetWriter& w) {
        w.StartElement(L"r", L"");
        expected += "E \"r\"\n";
        for (int pass = 0; pass < 2; ++pass) {
            for (uint32_t i = 0; i < elements; ++i) {
                const std::wstring name = word(i % names, L"e");
                const std::wstring value = word(i, L"");
                w.StartElement(name, L"");
                if (i < attributes) w.AddAttribute(word(i, L"a"), L"", word(i, L"v"), ItemType_string);
                w.WriteElementValue(value, ItemType_string);
                w.EndElement();
                expected += "E " + Json(name) + "\n";
                if (i < attributes) expected += "A " + Json(word(i, L"a")) + " " + Json(word(i, L"v")) + "\n";
                expected += "T " + Json(value) + "\n";
            }
        }
        // Values of every length form (literal, not indexed), as chunks and attribute values;
        // then short ones with one character of two or three UTF-8 octets at every place.
        const auto put = [&](const std::wstring& value) {
            w.StartElement(L"long", L"");
            w.AddAttribute(L"v", L"", value, ItemType_string);
            w.WriteElementValue(value, ItemType_string);
            w.EndElement();
            expected += "E \"long\"\nA \"v\" " + Json(value) + "\nT " + Json(value) + "\n";
        };
        for (size_t length : {1, 2, 3, 8, 9, 64, 65, 258, 259, 264, 265, 320, 321, 70000}) put(std::wstring(length, L'x'));
        for (size_t length = 1; length <= 18; ++length) {
            for (size_t at = 0; at < length; ++at) {
                std::wstring value(length, L'x');
                value[at] = at % 2 ? L'\u20AC' : L'\u00E9';
                put(value);
            }
        }
        w.EndElement();
    });
    const std::string path = TempPath("writer-ranges.fi");
    WriteFile(path, body);
    const std::vector<std::string> answer =
        Fields(JavaFastInfoset("tests/fastinfoset/fastinfoset_oracle.java", {"C\t" + Hex(path)})[0]);
    std::remove(path.c_str());
    ASSERT_EQ(answer.size(), 2u);
    ASSERT_EQ(answer[0], "OK") << answer[1];
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08x", Crc32(expected));
    EXPECT_EQ(answer[1], std::to_string(expected.size()) + " " + crc);
}

}  // namespace

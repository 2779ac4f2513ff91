// The writer's octets where they are fixed (header, terminators, indices of repeated names
// and values), its refusals, and the two ways it departs from writing namespace attributes on
// the root only (a namespace first used below the root is declared there; xsi:type is named
// with the instance namespace's prefix), checked with Java's Fast Infoset parser.
#include <qxxml/fastinfoset/FastInfosetContext.h>
#include <qxxml/fastinfoset/FastInfosetWriter.h>
#include <qxxml/support/QxException.h>
#include <qxxml/xmlout/BinaryStream.h>

#include "common/JavaOracle.h"
#include "xmlout/PythonOracle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace QxXmlLib10;
using namespace qxxml_test;

// The octets of a document written by `body` between the header and the document's end.
std::string Document(const std::function<void(CFastInfosetWriter&)>& body,
                     const CFastInfosetContext& context = CFastInfosetContext(), FInfoDecl declaration = FInfoDecl_None) {
    CBinaryStream stream;
    CFastInfosetWriter writer(context, &stream);
    writer.StartDocument();
    writer.WriteHeader(declaration);
    body(writer);
    writer.WriteDocumentEnd();
    writer.EndDocument();
    const CBinaryData bytes = stream.GetData();
    return std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetLength());
}

void Element(CXmlWriter& w, const wchar_t* name, const wchar_t* value, const wchar_t* ns = L"") {
    w.StartElement(name, ns);
    w.WriteElementValue(value, ItemType_string);
    w.EndElement();
}

// The thrown message, as narrow text.
template <typename Action>
std::string Message(Action action) {
    return Narrow(MessageOf(action));
}

TEST(FastInfosetWriter, WritesTheFixedOctets) {
    // A root without attributes or namespaces holding a short text.
    EXPECT_EQ(Hex(Document([](CFastInfosetWriter& w) { Element(w, L"root", L"abc"); })),
              "e000000100" "38f0" "3c03726f6f74" "92006162" "63" "ff");
    // Siblings of one name: the second is an index (one octet); a value of five characters
    // repeats as an index, one of six characters literally.
    const std::string siblings = Hex(Document([](CFastInfosetWriter& w) {
        w.StartElement(L"r", L"");
        Element(w, L"a", L"12345");
        Element(w, L"a", L"12345");
        Element(w, L"a", L"123456");
        Element(w, L"a", L"123456");
        w.EndElement();
    }));
    EXPECT_EQ(siblings, "e000000100" "38f0" "3c0072"              // r
                        "3c0061" "92023132333435"                 // <a>12345: chunk added
                        "f0" "01" "a0"                            // </a><a> by index 2, chunk index 1
                        "f0" "01" "8203313233343536"              // 123456, not added
                        "f0" "01" "8203313233343536" "ff"         // literally again, </a></r>
                        "f0");
    // An empty attribute value is the octet FF after the attribute's name.
    EXPECT_EQ(Hex(Document([](CFastInfosetWriter& w) {
                  w.StartElement(L"e", L"");
                  w.AddAttribute(L"a", L"", L"", ItemType_string);
                  w.EndElement();
              })),
              "e000000100" "78f0" "3c0065" "780061" "ff" "f0" "ff");
    // Declarations go in front of the header, in UTF-8, without a terminator.
    const std::string declared = Document([](CFastInfosetWriter& w) { Element(w, L"r", L""); }, CFastInfosetContext(),
                                          FInfoDecl_V10);
    EXPECT_EQ(declared.substr(0, 41), std::string("<?xml version='1.0' encoding='finf'?>\xE0\x00\x00\x01", 41));
    EXPECT_EQ(std::string(CFastInfosetWriter::DeclarationText(9)), "<?xml version='1.1' encoding='finf' standalone='no'?>");
    EXPECT_EQ(CFastInfosetWriter::DeclarationText(0), nullptr);
    // The generated vocabulary is announced as an external vocabulary.
    CFastInfosetContext generated;
    generated.SetUseGeneratedVocabulary(true);
    generated.SetExternalVocabularyURI(L"urn:v");
    EXPECT_EQ(Hex(Document([](CFastInfosetWriter& w) { Element(w, L"r", L""); }, generated).substr(0, 13)),
              "e000000120" "1000" "04" "75726e3a76");
}

TEST(FastInfosetWriter, RefusesWhatItCannotWrite) {
    const auto write = [](const CFastInfosetContext& context, ItemType type, const wchar_t* value, bool attribute) {
        return Message([&] {
            Document(
                [&](CFastInfosetWriter& w) {
                    w.StartElement(L"e", L"");
                    if (attribute)
                        w.AddAttribute(L"a", L"", value, type);
                    else
                        w.WriteElementValue(value, type);
                    w.EndElement();
                },
                context);
        });
    };
    CFastInfosetContext context;
    context.SetSuggestedValues();
    EXPECT_EQ(write(context, ItemType_date, L"2024-05-06+02:00", false),
              "Failed to write FastInfoset. Invalid character not found for Restricted Alphabet.");
    EXPECT_EQ(write(context, ItemType_i4, L"x", true), "The value [x] can not be converted to a i4");
    context.SetEncoding(ItemType_string, {FIEncodingKind_RestrictedAlphabet, 3});
    EXPECT_EQ(write(context, ItemType_string, L"1", true), "Failed to write FastInfoset. Invalid Restricted Alphabet value [3]");
    context.SetEncoding(ItemType_string, {FIEncodingKind_EncodingAlgorithm, 11});
    EXPECT_EQ(write(context, ItemType_string, L"1", false), "Failed to write FastInfoset. Invalid Encoding Algorithm value [11]");
    context.SetEncoding(ItemType_string, {3, 1});
    EXPECT_EQ(write(context, ItemType_string, L"1", true),
              "Failed to write FastInfoset. Unknown encoding in EncodedCharacterStringBit5.");
    EXPECT_EQ(write(context, ItemType_string, L"1", false),
              "Failed to write FastInfoset. Unknown encoding in EncodedCharacterStringBit7.");

    EXPECT_EQ(Message([] {
                  Document([](CFastInfosetWriter& w) {
                      w.StartElement(L"e", L"");
                      Element(w, L"c", L"");
                      w.AddXsiNilAttribute();
                  });
              }),
              "Attributes must be added before elements");
    EXPECT_EQ(Message([] { Document([](CFastInfosetWriter& w) { w.StartElement(L"e", L""); }); }),
              "An Element has not been closed.");
}

TEST(FastInfosetWriter, JavaReadsNamespacesDeclaredWhereFirstUsedAndXsiType) {
    struct Case {
        const char* name;
        std::function<void(CFastInfosetWriter&)> body;
        std::string events;
    };
    const std::vector<Case> cases = {
        {"announced prefix and default namespace",
         [](CFastInfosetWriter& w) {
             w.AddNamespace(L"p", L"urn:p");
             w.SetDefaultNamespace(L"urn:d");
             w.StartElement(L"r", L"urn:d");
             w.AddAttribute(L"a", L"urn:p", L"1", ItemType_string);
             Element(w, L"c", L"x", L"urn:p");
             w.EndElement();
         },
         "E \"{urn:d}r\"\nA \"{urn:p}a\" \"1\"\nE \"{urn:p}c\"\nT \"x\"\n"},
        {"namespaces first used below the root, by an element and by attributes",
         [](CFastInfosetWriter& w) {
             w.StartElement(L"r", L"");
             w.StartElement(L"c", L"urn:one");
             w.AddAttribute(L"a", L"urn:two", L"v", ItemType_string);
             w.AddAttribute(L"b", L"urn:one", L"w", ItemType_string);
             Element(w, L"g", L"t", L"urn:one");
             w.EndElement();
             Element(w, L"h", L"u", L"urn:two");  // declared again: the first scope has ended
             w.EndElement();
         },
         "E \"r\"\nE \"{urn:one}c\"\nA \"{urn:one}b\" \"w\"\nA \"{urn:two}a\" \"v\"\nE \"{urn:one}g\"\nT \"t\"\n"
         "E \"{urn:two}h\"\nT \"u\"\n"},
        {"one name string holding one name after another (the same characters' address)",
         [](CFastInfosetWriter& w) {
             std::wstring name;
             w.StartElement(L"r", L"");
             for (const wchar_t* next : {L"first", L"first", L"other", L"first"}) {
                 name = next;
                 w.StartElement(name, L"urn:n");
                 w.EndElement();
             }
             w.EndElement();
         },
         "E \"r\"\nE \"{urn:n}first\"\nE \"{urn:n}first\"\nE \"{urn:n}other\"\nE \"{urn:n}first\"\n"},
        {"xsi:type of a type in another namespace, and xsi:nil",
         [](CFastInfosetWriter& w) {
             w.SetDefaultNamespace(L"urn:d");
             w.StartElement(L"r", L"urn:d");
             w.StartElement(L"c", L"urn:d");
             w.AddXsiTypeAttribute(L"urn:types", L"Derived", ItemType_string);
             w.AddXsiNilAttribute();
             w.EndElement();
             w.StartElement(L"d", L"urn:d");
             w.AddXsiTypeAttribute(L"urn:d", L"Local", ItemType_string);
             w.WriteElementValue(L"text", ItemType_string);
             w.EndElement();
             w.EndElement();
         },
         std::string("E \"{urn:d}r\"\nE \"{urn:d}c\"\nA \"{") + "http://www.w3.org/2001/XMLSchema-instance" +
             "}nil\" \"true\"\nA \"{http://www.w3.org/2001/XMLSchema-instance}type\" \"AA:Derived\"\n"
             "E \"{urn:d}d\"\nA \"{http://www.w3.org/2001/XMLSchema-instance}type\" \"Local\"\nT \"text\"\n"},
    };
    std::vector<std::string> requests;
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string path = TempPath("writer-" + std::to_string(i) + ".fi");
        WriteFile(path, Document(cases[i].body));
        requests.push_back("X\t" + Hex(path));
    }
    const std::vector<std::string> answers = JavaFastInfoset("tests/fastinfoset/fastinfoset_oracle.java", requests);
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::vector<std::string> answer = Fields(answers[i]);
        ASSERT_EQ(answer.size(), 2u) << answers[i];
        EXPECT_EQ(answer[0], "OK") << cases[i].name << ": " << answer[1];
        EXPECT_EQ(Unhex(answer[1]), cases[i].events) << cases[i].name;
    }
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
                expected += "E \"" + Narrow(name) + "\"\n";
                if (i < attributes) expected += "A \"" + Narrow(word(i, L"a")) + "\" \"" + Narrow(word(i, L"v")) + "\"\n";
                expected += "T \"" + Narrow(value) + "\"\n";
            }
        }
        // Values of every length form (literal, not indexed), as chunks and attribute values.
        for (size_t length : {1, 2, 3, 8, 9, 64, 65, 258, 259, 264, 265, 320, 321, 70000}) {
            const std::wstring value(length, L'x');
            w.StartElement(L"long", L"");
            w.AddAttribute(L"v", L"", value, ItemType_string);
            w.WriteElementValue(value, ItemType_string);
            w.EndElement();
            expected += "E \"long\"\nA \"v\" \"" + Narrow(value) + "\"\nT \"" + Narrow(value) + "\"\n";
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

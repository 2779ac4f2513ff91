#include <qxxml/support/QxException.h>
#include <qxxml/xmlout/TextStream.h>
#include <qxxml/xmlout/XmlTextWriter.h>
#include <qxxml/xmlout/FileTextStream.h>

#include "xmlout/PythonOracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <utility>
#include <vector>

using namespace QxXmlLib10;
using namespace qxxml_test;

namespace {

const std::wstring kXsi = L"http://www.w3.org/2001/XMLSchema-instance";
const std::wstring kXml = L"http://www.w3.org/XML/1998/namespace";

// A writer over an in-memory stream, started; Text() ends the document. A direct document
// writes through a file stream instead, which encodes UTF-8 as the text arrives (as all byte
// output does).
struct Doc {
    explicit Doc(bool formatted = true, EOLType eol = EOLType_LF, XmlEncoding encoding = XmlEncoding_UTF8,
                 bool direct = false)
        : path(direct ? TempPath("direct.xml") : std::string()),
          stream(direct ? new CFileTextStream(Widen(path).c_str(), encoding) : new CTextStream(encoding)),
          writer(stream.get()) {
        writer.SetFormatting(formatted);
        writer.SetEOLType(eol);
        writer.StartDocument();
    }
    std::wstring Text() {
        writer.EndDocument();
        return stream->GetString();
    }
    // The bytes without a byte order mark.
    std::string Bytes() {
        writer.EndDocument();
        if (path.empty()) return qxxml_test::Bytes(stream->GetBytes());
        const std::string bytes = ReadFile(path);
        return stream->GetEncoding() == XmlEncoding_UTF8 ? bytes : bytes.substr(2);
    }
    std::string path;
    std::unique_ptr<CTextStream> stream;
    CXmlTextWriter writer;
};

std::string Name(const std::wstring& uri, const std::wstring& local) {
    return Json(uri.empty() ? local : L"{" + uri + L"}" + local);
}

void WriteWorkedExample(CXmlTextWriter& writer) {
    writer.WriteXmlDeclaration();
    writer.SetDefaultNamespace(L"urn:a");
    writer.AddNamespace(L"xsi", kXsi);
    writer.StartElement(L"Root", L"urn:a");
    writer.StartElement(L"Item", L"urn:a");
    writer.WriteElementValue(L"5", ItemType_i4);
    writer.EndElement();
    writer.StartElement(L"Empty", L"urn:a");
    writer.AddXsiNilAttribute();
    writer.EndElement();
    writer.EndElement();
}

}  // namespace

// ------------------------------------------------------------------ documents

TEST(XmlTextWriter, WorkedExampleComesOutByteForByte) {
    Doc formatted(true, EOLType_LF, XmlEncoding_UTF8);
    WriteWorkedExample(formatted.writer);
    const std::string bytes = formatted.Bytes();
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<Root xmlns=\"urn:a\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
              "\t<Item>5</Item>\n"
              "\t<Empty xsi:nil=\"true\"/>\n"
              "</Root>\n",
              bytes);

    Doc flat(false, EOLType_LF, XmlEncoding_UTF8);
    WriteWorkedExample(flat.writer);
    const std::string flatBytes = flat.Bytes();
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<Root xmlns=\"urn:a\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
              "<Item>5</Item><Empty xsi:nil=\"true\"/></Root>",
              flatBytes);
}

TEST(XmlTextWriter, DeclarationNamesTheStreamsEncoding) {
    const struct {
        XmlEncoding encoding;
        const wchar_t* declaration;
    } cases[] = {{XmlEncoding_None, L"<?xml version=\"1.0\"?>\r\n"},
                 {XmlEncoding_UTF8, L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"},
                 {XmlEncoding_UTF16, L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"},
                 {XmlEncoding_UTF16NoDeclaration, L"<?xml version=\"1.0\"?>\r\n"}};
    for (const auto& c : cases) {
        Doc doc(false, EOLType_CRLF, c.encoding);  // the line end is written even unformatted
        doc.writer.WriteXmlDeclaration();
        EXPECT_EQ(c.declaration, doc.Text());
    }
}

TEST(XmlTextWriter, CommentsInstructionsAndInlineSchemaAlwaysEndLines) {
    Doc doc(false, EOLType_LF);
    doc.writer.WriteComment(L"a < b -- & c");
    doc.writer.WriteProcessingInstruction(L"<?xml-stylesheet href=\"s.xsl\"?>");
    doc.writer.StartElement(L"Root", L"");
    doc.writer.WriteInlineSchema(L"xsi:noNamespaceSchemaLocation=\"po.xsd\"");
    doc.writer.StartElement(L"c", L"");
    doc.writer.EndElement();
    doc.writer.EndElement();
    EXPECT_EQ(L"<!--a &lt; b -- &amp; c-->\n<?xml-stylesheet href=\"s.xsl\"?>\n\n"
              L"<Root \nxsi:noNamespaceSchemaLocation=\"po.xsd\"\n><c/></Root>",
              doc.Text());
}

TEST(XmlTextWriter, EmptyElementsCloseAsEmptyTags) {
    Doc doc(true, EOLType_CRLF);
    doc.writer.StartElement(L"Root", L"");
    doc.writer.StartElement(L"a", L"");
    doc.writer.WriteElementValue(L"", ItemType_string);  // an empty value keeps the tag open
    doc.writer.EndElement();
    doc.writer.StartElement(L"b", L"");
    doc.writer.AddAttribute(L"x", L"", L"", ItemType_string);
    doc.writer.EndElement();
    doc.writer.EndElement();
    EXPECT_EQ(L"<Root>\r\n\t<a/>\r\n\t<b x=\"\"/>\r\n</Root>\r\n", doc.Text());

    Doc lone(true, EOLType_LF);
    lone.writer.StartElement(L"Only", L"");
    lone.writer.EndElement();
    EXPECT_EQ(L"<Only/>\n", lone.Text());
}

TEST(XmlTextWriter, SeveralValuesAppendAndMixWithChildren) {
    Doc doc(false, EOLType_LF);
    doc.writer.StartElement(L"p", L"");
    doc.writer.WriteElementValue(L"one ", ItemType_string);
    doc.writer.WriteElementValue(L"two", ItemType_string);
    doc.writer.StartElement(L"b", L"");
    doc.writer.EndElement();
    doc.writer.WriteElementValue(L"three", ItemType_string);
    doc.writer.EndElement();
    EXPECT_EQ(L"<p>one two<b/>three</p>", doc.Text());
}

// ------------------------------------------------------------------ escaping

namespace {

// <e v="value">value</e>, unformatted.
std::string ValueInAttributeAndText(const std::wstring& value, EOLType eol) {
    Doc doc(false, eol);
    doc.writer.StartElement(L"e", L"");
    doc.writer.AddAttribute(L"v", L"", value, ItemType_string);
    doc.writer.WriteElementValue(value, ItemType_string);
    doc.writer.EndElement();
    return doc.Bytes();
}

}  // namespace

TEST(XmlTextWriter, EscapesMarkupAndQuotesOnlyWhereNeeded) {
    const std::wstring value = L"a&b<c>d\"e'f\tg\u00e9\U0001F600";
    const std::string bytes = ValueInAttributeAndText(value, EOLType_LF);
    EXPECT_EQ(ToUtf8(L"<e v=\"a&amp;b&lt;c&gt;d&quot;e'f\tg\u00e9\U0001F600\">"
                     L"a&amp;b&lt;c&gt;d\"e'f\tg\u00e9\U0001F600</e>"),
              bytes);
}

TEST(XmlTextWriter, LineEndsFollowTheEolTypeAndCarriageReturnsAreDropped) {
    for (EOLType eol : {EOLType_CRLF, EOLType_LF}) {
        const std::string bytes = ValueInAttributeAndText(L"x\r\ny\nz\r", eol);
        const std::string nl = eol == EOLType_CRLF ? "\r\n" : "\n";
        EXPECT_EQ("<e v=\"x&#xA;y&#xA;z\">x" + nl + "y" + nl + "z</e>", bytes);
    }
}

TEST(XmlTextWriter, CDataValuesPassUnescapedOnlyAtTheVeryStart) {
    Doc doc(false, EOLType_LF);
    doc.writer.StartElement(L"r", L"");
    doc.writer.StartElement(L"a", L"");
    doc.writer.WriteElementValue(L"<![CDATA[1 < 2 & 3]]>", ItemType_string);
    doc.writer.EndElement();
    doc.writer.StartElement(L"b", L"");
    doc.writer.WriteElementValue(L" <![CDATA[x]]>", ItemType_string);
    doc.writer.EndElement();
    doc.writer.EndElement();
    EXPECT_EQ(L"<r><a><![CDATA[1 < 2 & 3]]></a><b> &lt;![CDATA[x]]&gt;</b></r>", doc.Text());
}

// ------------------------------------------------------------------ namespaces

TEST(XmlTextWriter, GeneratedPrefixIsDeclaredPerScope) {
    Doc doc(false, EOLType_LF);
    doc.writer.StartElement(L"Root", L"");
    doc.writer.StartElement(L"A", L"urn:x");
    doc.writer.StartElement(L"B", L"urn:x");  // a descendant reuses the prefix
    doc.writer.EndElement();
    doc.writer.EndElement();
    doc.writer.StartElement(L"C", L"urn:x");  // a sibling declares it again
    doc.writer.EndElement();
    doc.writer.StartElement(L"D", L"urn:y");  // a new scope: AA is free again
    doc.writer.EndElement();
    doc.writer.EndElement();
    const std::string bytes = doc.Bytes();
    EXPECT_EQ("<Root><AA:A xmlns:AA=\"urn:x\"><AA:B/></AA:A><AA:C xmlns:AA=\"urn:x\"/>"
              "<AA:D xmlns:AA=\"urn:y\"/></Root>",
              bytes);
}

TEST(XmlTextWriter, AnnouncedPrefixesAreUsedAndNotRedeclared) {
    Doc doc(false, EOLType_LF);
    doc.writer.AddNamespace(L"AA", L"urn:taken");
    doc.writer.AddNamespace(L"p", L"urn:p");
    doc.writer.StartElement(L"Root", L"urn:new");
    doc.writer.StartElement(L"in", L"urn:p");
    doc.writer.AddAttribute(L"lang", kXml, L"en", ItemType_string);
    doc.writer.EndElement();
    doc.writer.EndElement();
    const std::string bytes = doc.Bytes();
    EXPECT_EQ("<AB:Root xmlns:AB=\"urn:new\" xmlns:p=\"urn:p\" xmlns:AA=\"urn:taken\">"
              "<p:in xml:lang=\"en\"/></AB:Root>",
              bytes);
}

TEST(XmlTextWriter, NamespacedAttributesAreAlwaysPrefixed) {
    Doc doc(false, EOLType_LF);
    doc.writer.SetDefaultNamespace(L"urn:a");
    doc.writer.StartElement(L"Root", L"urn:a");
    doc.writer.AddAttribute(L"plain", L"", L"1", ItemType_i4);
    doc.writer.AddAttribute(L"mine", L"urn:a", L"2", ItemType_i4);
    doc.writer.AddAttribute(L"again", L"urn:a", L"3", ItemType_i4);
    doc.writer.EndElement();
    const std::string bytes = doc.Bytes();
    EXPECT_EQ("<Root xmlns=\"urn:a\" plain=\"1\" xmlns:AA=\"urn:a\" AA:mine=\"2\" AA:again=\"3\"/>", bytes);
}

TEST(XmlTextWriter, EmptyNamespaceElementStaysUnprefixedUnderADefault) {
    Doc doc(false, EOLType_LF);
    doc.writer.SetDefaultNamespace(L"urn:a");
    doc.writer.StartElement(L"Root", L"urn:a");
    doc.writer.StartElement(L"local", L"");
    doc.writer.EndElement();
    doc.writer.EndElement();
    // The writer never undeclares the default namespace, so the child lands in it.
    EXPECT_EQ(L"<Root xmlns=\"urn:a\"><local/></Root>", doc.Text());
}

TEST(XmlTextWriter, InstanceTypeNamesItsNamespaceByPrefix) {
    Doc doc(false, EOLType_LF);
    doc.writer.SetDefaultNamespace(L"urn:a");
    doc.writer.AddNamespace(L"xsi", kXsi);
    doc.writer.StartElement(L"Root", L"urn:a");
    doc.writer.StartElement(L"x", L"urn:a");
    doc.writer.AddXsiTypeAttribute(L"urn:a", L"Derived", ItemType_string);
    doc.writer.EndElement();
    doc.writer.StartElement(L"y", L"urn:a");
    doc.writer.AddXsiTypeAttribute(L"urn:t", L"Other", ItemType_string);
    doc.writer.EndElement();
    doc.writer.EndElement();
    const std::string bytes = doc.Bytes();
    EXPECT_EQ("<Root xmlns=\"urn:a\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
              "<x xsi:type=\"Derived\"/>"
              "<y xmlns:AA=\"urn:t\"  xsi:type=\"AA:Other\"/></Root>",
              bytes);
}

TEST(XmlTextWriter, UnannouncedInstanceNamespaceGetsAGeneratedPrefix) {
    Doc doc(false, EOLType_LF);
    doc.writer.StartElement(L"Root", L"");
    doc.writer.AddXsiNilAttribute();
    doc.writer.EndElement();
    const std::string bytes = doc.Bytes();
    EXPECT_EQ("<Root xmlns:AA=\"http://www.w3.org/2001/XMLSchema-instance\" AA:nil=\"true\"/>", bytes);
}

TEST(XmlTextWriter, DeclarationsInsideAnElementStayInItsScope) {
    Doc doc(false, EOLType_LF);
    doc.writer.StartElement(L"Root", L"");
    doc.writer.StartElement(L"a", L"");
    doc.writer.AddNamespace(L"q", L"urn:q");  // a scope entry; nothing is written for it
    doc.writer.StartElement(L"b", L"urn:q");
    doc.writer.EndElement();
    doc.writer.EndElement();
    doc.writer.StartElement(L"c", L"urn:q");
    doc.writer.EndElement();
    doc.writer.EndElement();
    EXPECT_EQ(L"<Root><a><q:b/></a><AA:c xmlns:AA=\"urn:q\"/></Root>", doc.Text());
}

// The end tag repeats the start tag's name even when the element's scope gives its namespace
// another prefix in between; both kinds of stream agree.
TEST(XmlTextWriter, EndTagRepeatsTheStartTagsName) {
    for (bool direct : {false, true}) {
        Doc doc(false, EOLType_LF, XmlEncoding_UTF8, direct);
        doc.writer.AddNamespace(L"a", L"urn:x");
        doc.writer.StartElement(L"r\u00e9", L"urn:x");
        doc.writer.AddNamespace(L"b", L"urn:x");  // a scope entry; nothing is written for it
        doc.writer.StartElement(L"c", L"urn:x");
        doc.writer.EndElement();
        doc.writer.EndElement();
        EXPECT_EQ("<a:r\xC3\xA9 xmlns:a=\"urn:x\"><b:c/></a:r\xC3\xA9>", doc.Bytes()) << direct;
    }
}

// ------------------------------------------------------------------ misuse

TEST(XmlTextWriter, AttributesAfterContentAreRefused) {
    const std::wstring message = L"Attributes must be added before elements";
    Doc doc(false, EOLType_LF);
    doc.writer.StartElement(L"Root", L"");
    doc.writer.StartElement(L"child", L"");
    doc.writer.WriteElementValue(L"v", ItemType_string);
    EXPECT_EQ(message, MessageOf([&] { doc.writer.AddAttribute(L"a", L"", L"1", ItemType_string); }));
    EXPECT_EQ(message, MessageOf([&] { doc.writer.AddXsiNilAttribute(); }));
    EXPECT_EQ(message, MessageOf([&] { doc.writer.AddXsiTypeAttribute(L"urn:t", L"T", ItemType_string); }));
    doc.writer.EndElement();
    EXPECT_EQ(message, MessageOf([&] { doc.writer.AddAttribute(L"a", L"", L"1", ItemType_string); }));
    doc.writer.EndElement();
    EXPECT_EQ(message, MessageOf([&] { doc.writer.AddXsiNilAttribute(); }));  // nothing open
    EXPECT_EQ(L"<Root><child>v</child></Root>", doc.Text());
}

TEST(XmlTextWriter, UnclosedElementIsReportedAtTheEnd) {
    Doc doc(false, EOLType_LF);
    doc.writer.StartElement(L"Root", L"");
    doc.writer.StartElement(L"open", L"");
    EXPECT_EQ(L"An Element has not been closed.", MessageOf([&] { doc.writer.EndDocument(); }));
}

TEST(XmlTextWriter, InvalidEolTypeIsRefusedAndChangesNothing) {
    Doc doc(false, EOLType_CRLF);
    EXPECT_EQ(L"Invalid EOL type.", MessageOf([&] { doc.writer.SetEOLType(static_cast<EOLType>(2)); }));
    EXPECT_EQ(EOLType_CRLF, doc.writer.GetEOLType());
    doc.writer.WriteXmlDeclaration();
    EXPECT_EQ(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", doc.Text());
}

TEST(XmlTextWriter, UnfinishedDeepDocumentIsReleasedWithoutRecursion) {
    CTextStream stream;
    {
        CXmlTextWriter writer(&stream);
        writer.SetFormatting(false);
        writer.StartDocument();
        for (int i = 0; i < 200000; ++i) writer.StartElement(L"d", i % 2 ? L"urn:odd" : L"");
    }  // the writer owns the open chain and releases it
    EXPECT_GT(stream.GetLength(), 200000u);
}

// ------------------------------------------------------------------ flushing and raw XML

namespace {

// Records every flush: how much was buffered, and the text handed over.
class RecordingStream : public CTextStream {
public:
    RecordingStream() : CTextStream(XmlEncoding_UTF8) {}
    void Flush() override {
        sizes.push_back(GetLength());
        flushed += GetString();
        ClearBuffer();
    }
    std::vector<uint32_t> sizes;
    std::wstring flushed;
};

}  // namespace

TEST(XmlTextWriter, FlushesWheneverFourThousandNinetySixCharactersAreBuffered) {
    RecordingStream recorded;
    CTextStream whole;
    for (CTextStream* stream : {static_cast<CTextStream*>(&recorded), &whole}) {
        CXmlTextWriter writer(stream);
        writer.StartDocument();
        writer.StartElement(L"Root", L"urn:r");
        for (int i = 0; i < 3000; ++i) {
            writer.StartElement(L"item", L"urn:r");
            writer.AddAttribute(L"n", L"", std::to_wstring(i), ItemType_i4);
            writer.WriteElementValue(std::wstring(i % 50, L'x') + L"&", ItemType_string);
            writer.EndElement();
            if (i % 1000 == 0) writer.WriteComment(std::wstring(5000, L'c'));
        }
        writer.EndElement();
        writer.EndDocument();
    }
    ASSERT_GT(recorded.sizes.size(), 20u);
    for (uint32_t size : recorded.sizes) {
        EXPECT_GE(size, 4096u);
        EXPECT_LT(size, 4096u + 5100u);  // one operation's worth beyond the threshold at most
    }
    EXPECT_LT(recorded.GetLength(), 4096u);
    EXPECT_EQ(std::wstring(whole.GetString()), recorded.flushed + recorded.GetString());
}

TEST(XmlTextWriter, RawFragmentClosesTheStartTagAndCountsAsAChild) {
    Doc doc(true, EOLType_LF);
    doc.writer.StartElement(L"Root", L"");
    doc.writer.CloseStartTag();
    doc.writer.WriteRawXml(L"<x xmlns=\"urn:x\">\n\t<y/>\n</x>");
    doc.writer.EndElement();
    EXPECT_EQ(L"<Root>\n<x xmlns=\"urn:x\">\n\t<y/>\n</x>\n</Root>\n", doc.Text());
}

// ------------------------------------------------------------------ random documents

namespace {

// Writes a random document and, alongside, the events expat must report for it.
class RandomDocument {
public:
    explicit RandomDocument(unsigned seed) : m_rng(seed) {}

    void Write(CXmlTextWriter& writer) {
        if (Pick(2)) {
            writer.SetDefaultNamespace(L"urn:a");
            m_default = L"urn:a";
        }
        if (Pick(2)) writer.AddNamespace(L"b", L"urn:b");
        if (Pick(2)) writer.AddNamespace(L"AA", L"urn:\u00e9");
        Element(writer, 0);
    }
    const std::string& Expected() const { return m_expected; }

private:
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(m_rng); }

    std::wstring Uri() {
        static const wchar_t* const uris[] = {L"", L"urn:a", L"urn:b", L"urn:\u00e9", L"http://example.com/x?y=1"};
        return uris[Pick(5)];
    }

    std::wstring Value() {
        static const wchar_t* const pieces[] = {L"text", L"&", L"<", L">", L"\"", L"'", L"\t", L"\n",
                                                L"\r\n", L"\u00e9", L"\u20ac", L"\U0001F600", L" ", L"]]>"};
        std::wstring value = L"v";  // never empty, never blank, never a CDATA section
        for (size_t n = Pick(8); n > 0; --n) value += pieces[Pick(14)];
        return value;
    }

    static std::wstring Without(std::wstring text, wchar_t drop) {
        text.erase(std::remove(text.begin(), text.end(), drop), text.end());
        return text;
    }

    void Element(CXmlTextWriter& writer, int depth) {
        static const wchar_t* const names[] = {L"a", L"Item", L"x-y", L"_z", L"n.1"};
        const std::wstring uri = Uri(), local = names[Pick(5)];
        writer.StartElement(local, uri);
        // An element of no namespace is written unprefixed, so a default namespace takes it.
        m_expected += "E " + Name(uri.empty() ? m_default : uri, local) + "\n";

        std::vector<std::pair<std::string, std::string>> attributes;
        for (size_t n = Pick(4); n > 0; --n) {
            static const wchar_t* const attributeUris[] = {L"", L"urn:a", L"urn:c",
                                                           L"http://www.w3.org/XML/1998/namespace"};
            const std::wstring attributeUri = attributeUris[Pick(4)], attributeName = names[Pick(5)];
            const std::string name = Name(attributeUri, attributeName);
            if (std::any_of(attributes.begin(), attributes.end(), [&](const auto& a) { return a.first == name; }))
                continue;
            const std::wstring value = Value();
            writer.AddAttribute(attributeName, attributeUri, value, ItemType_string);
            std::wstring read = Without(value, L'\r');
            std::replace(read.begin(), read.end(), L'\t', L' ');
            attributes.emplace_back(name, Json(read));
        }
        std::sort(attributes.begin(), attributes.end());
        for (const auto& a : attributes) m_expected += "A " + a.first + " " + a.second + "\n";

        if (depth < 6 && Pick(3) != 0) {
            for (size_t n = 1 + Pick(4); n > 0; --n) Element(writer, depth + 1);
        } else if (Pick(4) != 0) {
            const std::wstring value = Value();
            writer.WriteElementValue(value, ItemType_string);
            m_expected += "T " + Json(Without(value, L'\r')) + "\n";
        }
        writer.EndElement();
    }

    std::mt19937 m_rng;
    std::wstring m_default;
    std::string m_expected;
};

}  // namespace

TEST(XmlTextWriter, RandomDocumentsAreWellFormedAndNamespaceCorrect) {
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<std::string> expected;
    for (unsigned seed = 1; seed <= 16; ++seed) {
        const bool formatted = seed % 2 == 0;
        const EOLType eol = seed % 3 == 0 ? EOLType_CRLF : EOLType_LF;
        const XmlEncoding encoding = seed % 4 == 1 ? XmlEncoding_UTF16 : XmlEncoding_UTF8;
        RandomDocument model(seed);
        Doc doc(formatted, eol, encoding);
        doc.writer.WriteXmlDeclaration();
        model.Write(doc.writer);
        const std::string bytes = doc.Bytes();
        // The same calls through the stream that encodes as the text arrives: the same bytes.
        Doc direct(formatted, eol, encoding, true);
        direct.writer.WriteXmlDeclaration();
        RandomDocument(seed).Write(direct.writer);
        EXPECT_TRUE(bytes == direct.Bytes()) << "seed " << seed;
        const std::string path = TempPath("random" + std::to_string(seed) + ".xml");
        WriteFile(path, (encoding == XmlEncoding_UTF16 ? "\xFF\xFE" : "") + bytes);
        files.emplace_back(path, encoding == XmlEncoding_UTF16 ? "UTF-16" : "UTF-8");
        expected.push_back(model.Expected());
    }
    const std::vector<std::string> events = ExpatEventsOfFiles(files);
    ASSERT_EQ(expected.size(), events.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(expected[i], events[i]) << "seed " << i + 1;
}

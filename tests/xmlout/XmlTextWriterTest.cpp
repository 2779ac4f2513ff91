#include <qxxml/support/QxException.h>
#include <qxxml/xmlout/TextStream.h>
#include <qxxml/xmlout/XmlTextWriter.h>
#include <qxxml/xmlout/FileTextStream.h>

#include "common/WriterScript.h"
#include "common/ExpatOracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <utility>
#include <vector>

using namespace QxXmlLib10;
using namespace qxxml_test;

namespace {

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

XmlEncoding EncodingOption(const WriterCase& c) {
    return c.Has("none") ? XmlEncoding_None
           : c.Has("utf16") ? XmlEncoding_UTF16
           : c.Has("utf16nodecl") ? XmlEncoding_UTF16NoDeclaration
                                  : XmlEncoding_UTF8;
}

}  // namespace

// Documents, escaping, namespace scopes and misuse, one scripted case each.
TEST(XmlTextWriter, ScriptedDocumentsComeOutExactly) {
    for (const WriterCase& c : WriterCases("tests/xmlout/data/text_writer.txt")) {
        SCOPED_TRACE(c.name);
        Doc doc(!c.Has("flat"), c.Has("crlf") ? EOLType_CRLF : EOLType_LF, EncodingOption(c), c.Has("direct"));
        RunScript(doc.writer, c);
        EXPECT_EQ(c.Has("crlf") ? EOLType_CRLF : EOLType_LF, doc.writer.GetEOLType());  // refused types change nothing
        if (c.Has("unfinished")) continue;
        if (c.Has("direct"))
            EXPECT_EQ(ToUtf8(c.expect), doc.Bytes());
        else
            EXPECT_EQ(c.expect, doc.Text());
    }
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

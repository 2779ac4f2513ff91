// Documents written from the test binding: well-formed and namespace-correct (python's expat),
// valid against TestBinding.xsd (xmllint), read back into a tree that writes the same text
// and bytes again. Fixed trees in every naming, the documents of data/round_trip_documents.tsv,
// encodings and compression, and random documents.
#include "core/BindingSupport.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/BinaryData.h>

#include "common/CaseTable.h"
#include "common/ExpatOracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace test_binding {
namespace {

// Well-formed and namespace-correct, every element in the binding's namespace (python's
// expat); valid against the schema (xmllint).
void ExpectGoodDocuments(const std::vector<std::wstring>& documents) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::wstring& document : documents) {
        files.emplace_back(qxxml_test::TempPath("round-trip" + std::to_string(files.size()) + ".xml"), "UTF-8");
        qxxml_test::WriteFile(files.back().first, qxxml_test::ToUtf8(document));
    }
    const std::vector<std::string> events = qxxml_test::ExpatEventsOfFiles(files);
    for (size_t i = 0; i < events.size(); ++i) {
        // Open holds content of any namespace in its wildcards.
        const bool open = events[i].rfind("E \"{urn:qxxml:test:binding}Open\"", 0) == 0;
        size_t elements = 0;
        for (const std::string& line : qxxml_test::Lines(events[i])) {
            EXPECT_EQ(line.rfind("ERROR", 0), std::string::npos) << i << ": " << line;
            if (line.rfind("E ", 0) != 0 || (open && elements > 0)) continue;
            ++elements;
            EXPECT_EQ(line.rfind("E \"{urn:qxxml:test:binding}", 0), 0u) << i << ": " << line;
        }
        EXPECT_GT(elements, 0u) << i;
    }
    std::vector<std::string> paths;
    for (const auto& file : files) paths.push_back(file.first);
    int status = 0;
    qxxml_test::CommandOutput("command -v xmllint", status);
    const bool xmllint = qxxml_test::ExitCode(status) == 0;
    const char* const schema = QXXML_SOURCE_DIR "/tests/core/TestBinding.xsd";
    if (xmllint) {
        for (const auto& [path, verdict] : qxxml_test::SchemaVerdicts("xmllint", schema, paths))
            EXPECT_EQ(verdict, "") << path;
    }
    for (const std::string& path : paths) std::remove(path.c_str());
    if (!xmllint)
        GTEST_SKIP() << "xmllint (Debian package libxml2-utils) is not installed: the documents were not checked "
                        "against TestBinding.xsd";
}

// Whether each pair of documents has the same Canonical XML 2.0 form, texts kept as they are
// and namespace prefixes rewritten (tests/common/c14n_compare.py), in one run: per pair
// "equal", or "differ: " and the first differing lines.
std::vector<std::string> CompareCanonical(const std::vector<std::wstring>& expected,
                                          const std::vector<std::wstring>& actual) {
    std::vector<std::string> paths;
    std::string list;
    for (size_t i = 0; i < 2 * expected.size(); ++i) {
        paths.push_back(qxxml_test::TempPath("canonical" + std::to_string(i) + ".xml"));
        qxxml_test::WriteFile(paths.back(), qxxml_test::ToUtf8(i % 2 ? actual.at(i / 2) : expected[i / 2]));
        list += " '" + paths.back() + "'";
    }
    std::vector<std::string> verdicts =
        qxxml_test::Lines(qxxml_test::PythonScript("tests/common/c14n_compare.py", "--keep-text" + list));
    for (const std::string& path : paths) std::remove(path.c_str());
    verdicts.resize(expected.size(), "no verdict");
    return verdicts;
}

// Writes `original`, reads the text into a fresh object of its class, checks that the copy
// writes the same text (the trees are equal) and the same bytes; returns the text.
std::wstring RoundTrip(CXmlGeneratedClass& original, const CXmlSerializationContext& context, bool formatted = false) {
    const std::wstring xml = WriteXml(original, context, formatted);
    CSmartPtr<CXmlGeneratedClass> copy =
        CreateDocumentElement(kNamespace, original.GetClassInfo()->GetElementName().c_str());
    EXPECT_EQ(FullMessageOf([&] { copy->FromXml(xml.c_str(), context); }), qxxml_test::kNoException)
        << qxxml_test::ToUtf8(xml);
    EXPECT_EQ(WriteXml(*copy, context, formatted), xml);
    const auto bytes = [&](CXmlObjectBase& object) {
        return object.ToXmlStream(true, formatted, XmlEncoding_UTF8, EOLType_LF, context, CompressionType_None);
    };
    EXPECT_TRUE(bytes(original) == bytes(*copy));
    return xml;
}

TEST(RoundTripTest, FixedTreesInEveryNaming) {
    std::vector<std::pair<std::string, std::wstring>> rows;
    for (const qxxml_test::CCaseRow& row : qxxml_test::CaseRows("tests/core/data/round_trip_documents.tsv", 2))
        rows.emplace_back(row.fields[0], qxxml_test::FromUtf8(row.fields[1]));
    ASSERT_GT(rows.size(), 10u);
    std::vector<std::wstring> documents, written;
    for (size_t naming = 0; naming < kNamings.size(); ++naming) {
        SCOPED_TRACE(kNamings[naming].name);
        CXmlSerializationContext context;
        kNamings[naming].setup(context);
        CSmartPtr<CRoot> full = MakeFullRoot();
        EXPECT_EQ(full->GetEntries()->Item(2)->GetLabel(), L"e3");  // found from the collection's end
        documents.push_back(RoundTrip(*full, context));
        documents.push_back(RoundTrip(*full, context, true));
        documents.push_back(RoundTrip(*MakeMinimalRoot(), context));
        for (const auto& row : rows) {
            // An element of no namespace (Open's ##local content) is written unprefixed, which
            // a default namespace would claim.
            if (row.first == "Open" && !context.GetDefaultNamespaceURI().empty()) continue;
            SCOPED_TRACE(qxxml_test::ToUtf8(row.second));
            CSmartPtr<CXmlGeneratedClass> object =
                CreateDocumentElement(kNamespace, qxxml_test::Widen(row.first).c_str());
            object->FromXml(row.second.c_str(), CXmlSerializationContext());
            documents.push_back(RoundTrip(*object, context));
            if (naming == 0) written.push_back(documents.back());
        }
    }
    // What was read is what is written (Canonical XML, prefixes aside, so not where xsi:type
    // names a type of the default namespace without a prefix); the inputs are valid too.
    std::vector<std::wstring> inputs, outputs;
    for (size_t i = 0; i < rows.size(); ++i) {
        documents.push_back(rows[i].second);
        if (rows[i].second.find(L"xsi:type") != std::wstring::npos) continue;
        inputs.push_back(rows[i].second);
        outputs.push_back(written[i]);
    }
    const std::vector<std::string> compared = CompareCanonical(inputs, outputs);
    for (size_t i = 0; i < compared.size(); ++i) EXPECT_EQ(compared[i], "equal") << qxxml_test::ToUtf8(inputs[i]);
    ExpectGoodDocuments(documents);
}

// A random document from the template data/random_root.xml (its first comment says how it
// reads). The same seed gives the same document on every platform.
class RandomDocument {
public:
    explicit RandomDocument(unsigned seed) : m_random(seed) {}

    std::wstring From(const std::wstring& pattern) {
        size_t at = pattern.find(L"-->") + 3;
        return Section(pattern, at, {});
    }

private:
    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    // Expands the template from `at` to the first of `stops` (left unconsumed) or its end.
    std::wstring Section(const std::wstring& pattern, size_t& at, const std::vector<std::wstring>& stops) {
        std::wstring out;
        while (at < pattern.size()) {
            for (const std::wstring& stop : stops)
                if (pattern.compare(at, stop.size(), stop) == 0) return out;
            const std::wstring opener = pattern.substr(at, 2);
            if (opener == L"[?" || opener == L"[*" || opener == L"[+") {
                const std::wstring closer = std::wstring(1, opener[1]) + L"]";
                const int low = opener == L"[+" ? 1 : 0, high = opener == L"[?" ? 1 : 3, count = Int(low, high);
                const size_t start = at + 2;
                for (int i = 0; i < std::max(count, 1); ++i) {
                    at = start;
                    const std::wstring part = Section(pattern, at, {closer});
                    if (i < count) out += part;
                }
                at += 2;
            } else if (opener == L"[|") {
                std::vector<std::wstring> alternatives;
                for (at += 2;; ++at) {  // past the "[|", then each "|" between alternatives
                    alternatives.push_back(Section(pattern, at, {L"|]", L"|"}));
                    if (pattern.compare(at, 2, L"|]") == 0) break;
                }
                at += 2;
                out += alternatives[static_cast<size_t>(Int(0, static_cast<int>(alternatives.size()) - 1))];
            } else if (pattern[at] == L'{') {
                const size_t end = pattern.find(L'}', at);
                out += Value(qxxml_test::Words(qxxml_test::Narrow(pattern.substr(at + 1, end - at - 1))));
                at = end + 1;
            } else {
                out += pattern[at++];
            }
        }
        return out;
    }

    std::wstring Value(const std::vector<std::string>& words) {
        const auto number = [&](size_t i) { return std::stoi(words.at(i)); };
        if (words[0] == "int") return std::to_wstring(Int(number(1), number(2)));
        if (words[0] == "real") return std::to_wstring(Int(-40, 40) * 0.125);
        if (words[0] == "pick")
            return qxxml_test::Widen(words.at(static_cast<size_t>(Int(1, static_cast<int>(words.size()) - 1))));
        if (words[0] == "dec")
            return std::to_wstring(Int(-99999, 99999)) + (Int(0, 1) ? L"." + std::to_wstring(Int(0, 999)) : L"");
        if (words[0] == "attr") return Text(0, 8, U"abc 09<>&\"'\u00e9\U0001F600");
        return Text(number(1), number(2), U"abcXYZ019 <>&\"'\t\n\u00e4\u00df\u20ac\U0001D11E");
    }

    // Lengths count UTF-16 units, as the schema's length facets do on Windows: a character
    // beyond the BMP is two, and one that would not fit becomes the alphabet's first.
    std::wstring Text(int minLength, int maxLength, const std::u32string& alphabet) {
        std::wstring text;
        const int length = Int(minLength, maxLength);
        for (int units = 0; units < length;) {
            char32_t ch = alphabet[static_cast<size_t>(Int(0, static_cast<int>(alphabet.size()) - 1))];
            if (ch > 0xFFFF && units + 2 > length) ch = alphabet[0];
            units += ch > 0xFFFF ? 2 : 1;
            const std::map<char32_t, const wchar_t*> escapes = {
                {U'<', L"&lt;"}, {U'>', L"&gt;"}, {U'&', L"&amp;"}, {U'"', L"&quot;"}, {U'\'', L"&apos;"}};
            if (escapes.count(ch))
                text += escapes.at(ch);
            else
                qxxml_test::AppendCodePoint(text, ch);
        }
        return text;
    }

    std::mt19937 m_random;
};

TEST(RoundTripTest, RandomDocuments) {
    const std::wstring pattern =
        qxxml_test::FromUtf8(qxxml_test::ReadFile(QXXML_SOURCE_DIR "/tests/core/data/random_root.xml"));
    std::vector<std::wstring> documents;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        const std::wstring input = RandomDocument(seed).From(pattern);
        CSmartPtr<CRoot> root(new CRoot);
        EXPECT_EQ(FullMessageOf([&] { root->FromXml(input.c_str(), CXmlSerializationContext()); }), qxxml_test::kNoException)
            << qxxml_test::ToUtf8(input);
        CXmlSerializationContext context;
        kNamings[seed % kNamings.size()].setup(context);
        documents.push_back(input);
        documents.push_back(RoundTrip(*root, context, seed % 3 == 0));
    }
    ExpectGoodDocuments(documents);
}

}  // namespace
}  // namespace test_binding

// Encoding algorithms and restricted alphabets against Java's Fast Infoset implementation:
// the octets qxxml makes from a lexical form must be Java's, and the text qxxml reads from
// octets must carry the values Java reads from them. One JVM run per test.
#include <qxxml/fastinfoset/FIVocabulary.h>
#include <qxxml/fastinfoset/FastInfosetBinaryData.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/Conversions.h>

#include "common/JavaOracle.h"
#include "common/ExpatOracle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace qxxml_test;
using QxXmlLib10::CBinaryData;
using QxXmlLib10::CConversions;
using QxXmlLib10::CFastInfosetBinaryData;
using QxXmlLib10::CFIVocabulary;
using QxXmlLib10::CQxException;

const char kOracle[] = "tests/fastinfoset/fastinfoset_oracle.java";

// Octets 0, 1, 2, ... (mod 256): long data with every octet value.
std::string Counting(size_t count) {
    std::string octets;
    for (size_t i = 0; i < count; ++i) octets += static_cast<char>(i * 7 % 256);
    return octets;
}

// The text Java writes for the octets, brought to qxxml's lexical forms: each float or double
// value re-written by CConversions (the forms GetAsString promises), UUIDs without dashes.
std::string JavaTextInQxxmlForm(unsigned algorithm, const std::string& javaText) {
    if (algorithm == 9) {
        std::string digits;
        for (char ch : javaText)
            if (ch != '-') digits += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        return digits;
    }
    if (algorithm != 7 && algorithm != 8) return javaText;
    std::string text;
    for (const std::string& word : Words(javaText)) {
        if (!text.empty()) text += ' ';
        text += Narrow(algorithm == 7 ? CConversions::r4ToString(std::strtof(word.c_str(), nullptr))
                                      : CConversions::r8ToString(std::strtod(word.c_str(), nullptr)));
    }
    return text;
}

// The rows of data/binary_data.tsv of one kind, without the kind, unescaped; "count N"
// stands for the hex of N counting octets.
std::vector<std::vector<std::string>> Table(const std::string& kind) {
    std::vector<std::vector<std::string>> rows;
    for (std::vector<std::string> row : Rows(ReadSourceFile("tests/fastinfoset/data/binary_data.tsv"))) {
        if (row[0] != kind) continue;
        row.erase(row.begin());
        for (std::string& field : row)
            field = field.rfind("count ", 0) == 0 ? Hex(Counting(std::stoul(field.substr(6)))) : Unescape(field);
        rows.push_back(row);
    }
    EXPECT_FALSE(rows.empty()) << kind;
    return rows;
}

TEST(FastInfosetBinaryData, EncodesEveryAlgorithmAsJavaDoes) {
    const std::vector<std::vector<std::string>> cases = Table("encode");
    std::vector<std::string> requests;
    for (const std::vector<std::string>& c : cases)  // algorithm, text, Java's text, Java's algorithm
        requests.push_back("E\t" + (c[3].empty() ? c[0] : c[3]) + "\t" + Hex(c[2].empty() ? c[1] : c[2]));
    const std::vector<std::string> answers = JavaFastInfoset(kOracle, requests);
    // One value reused for every case, as a caller would: it overwrites its octets in place
    // when their length does not change, never those of a copy sharing them.
    CFastInfosetBinaryData reused;
    for (size_t i = 0; i < cases.size(); ++i) {
        const unsigned algorithm = static_cast<unsigned>(std::stoul(cases[i][0]));
        const std::wstring text = FromUtf8(cases[i][1]);
        CFastInfosetBinaryData data;
        data.SetAsEncodedString(algorithm, text.c_str());
        EXPECT_EQ("OK\t" + Hex(Bytes(data)), answers[i]) << "algorithm " << algorithm << " text '" << cases[i][1] << "'";
        const CFastInfosetBinaryData previous = reused;
        const std::string before = Bytes(previous);
        reused.SetAsEncodedString(algorithm, text.c_str());
        EXPECT_EQ(Bytes(reused), Bytes(data));
        EXPECT_EQ(Bytes(previous), before);
    }
}

// Octets Java reads must give the values it reads; octets Java refuses (a row with a message),
// our message.
TEST(FastInfosetBinaryData, ReadsAndRefusesOctetsAsJavaDoes) {
    const std::vector<std::vector<std::string>> cases = Table("decode");
    std::vector<std::string> requests;
    for (const std::vector<std::string>& c : cases) requests.push_back("D\t" + c[0] + "\t" + c[1]);
    const std::vector<std::string> answers = JavaFastInfoset(kOracle, requests);
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::vector<std::string>& c = cases[i];
        const unsigned algorithm = static_cast<unsigned>(std::stoul(c[0]));
        const std::string octets = Unhex(c[1]);
        SCOPED_TRACE("algorithm " + c[0] + " octets " + c[1]);
        const CFastInfosetBinaryData data(reinterpret_cast<unsigned char*>(const_cast<char*>(octets.data())),
                                          static_cast<uint32_t>(octets.size()), false);
        const std::vector<std::string> answer = Fields(answers[i]);
        ASSERT_EQ(answer.size(), 2u) << answers[i];
        if (c.size() > 2) {
            EXPECT_EQ(answer[0], "ERR");
            EXPECT_EQ(Narrow(MessageOf([&] { data.GetAsString(algorithm); })), c[2]);
            continue;
        }
        ASSERT_EQ(answer[0], "OK") << answers[i];
        EXPECT_EQ(JavaTextInQxxmlForm(algorithm, Unhex(answer[1])), Narrow(data.GetAsString(algorithm)));
    }
}

TEST(FastInfosetBinaryData, RefusesBadText) {
    for (const std::vector<std::string>& c : Table("badtext")) {
        CFastInfosetBinaryData data;
        EXPECT_EQ(Narrow(MessageOf([&] { data.SetAsEncodedString(static_cast<unsigned>(std::stoul(c[0])), Widen(c[1]).c_str()); })),
                  c[2])
            << "algorithm " << c[0];
    }
}

// ------------------------------------------------------------------ restricted alphabets

std::wstring Range(wchar_t first, size_t count) {
    std::wstring text;
    for (size_t i = 0; i < count; ++i) text += static_cast<wchar_t>(first + i);
    return text;
}

// A text of `length` characters cycling through the alphabet from `start`.
std::wstring Cycle(const std::wstring& alphabet, size_t start, size_t length) {
    std::wstring text;
    for (size_t i = 0; i < length; ++i) text += alphabet[(start + i * 5) % alphabet.size()];
    return text;
}

TEST(FastInfosetRestrictedAlphabet, PacksAndUnpacksAsJavaDoes) {
    const CFIVocabulary vocabulary;
    const std::wstring numeric = vocabulary.GetRestrictedAlphabet(1), dates = vocabulary.GetRestrictedAlphabet(2);
    struct PackCase {
        std::wstring alphabet;
        std::wstring text;
    };
    std::vector<PackCase> cases = {
        {numeric, L"12.5"}, {numeric, L"1"}, {numeric, L"-1.5e+10 7"}, {numeric, Cycle(numeric, 3, 601)},
        {dates, L"2001-12-31"}, {dates, L"2001-12-31T23:59:59Z"}, {dates, Cycle(dates, 1, 520)},
    };
    // Codes are 2 bits wide for 2 and 3 characters, 3 bits for 7, ... 9 bits for 256 and 300;
    // only widths 4 (8 to 15 characters) and 8 (128 to 255) are written, every width is read.
    for (size_t size : {2, 3, 7, 8, 16, 31, 100, 128, 255, 256, 300}) {
        const std::wstring alphabet = Range(size > 200 ? 0x4E00 : 0x21, size);
        for (size_t length : {1, 2, 9, 300}) cases.push_back({alphabet, Cycle(alphabet, size / 2, length)});
    }
    std::vector<std::string> requests;
    for (const PackCase& c : cases) requests.push_back("P\t" + Hex(ToUtf8(c.alphabet)) + "\t" + Hex(ToUtf8(c.text)));
    const std::vector<std::string> answers = JavaFastInfoset(kOracle, requests);
    for (size_t i = 0; i < cases.size(); ++i) {
        const PackCase& c = cases[i];
        const std::vector<std::string> answer = Fields(answers[i]);
        ASSERT_EQ(answer.size(), 2u) << answers[i];
        ASSERT_EQ(answer[0], "OK") << answers[i];
        const std::string javaOctets = Unhex(answer[1]);
        const size_t size = c.alphabet.size();
        const std::string where = "alphabet of " + std::to_string(c.alphabet.size()) + ", text of " +
                                  std::to_string(c.text.size());
        const bool written = (size >= 8 && size <= 15) || (size >= 128 && size <= 255);
        std::string packed;
        const std::string refusal = Narrow(MessageOf([&] {
            CFastInfosetBinaryData::AppendRestrictedAlphabetString(packed, c.alphabet, c.text.data(), c.text.size());
        }));
        EXPECT_EQ(refusal == Narrow(kNoException) ? Hex(packed) : refusal,
                  written ? answer[1] : "Failed to write FastInfoset. Unsupported Feature in AppendRestrictedAlphabetString.")
            << where;
        std::wstring text = L">";
        CFastInfosetBinaryData::AppendRestrictedAlphabetText(
            text, c.alphabet, reinterpret_cast<const unsigned char*>(javaOctets.data()),
            static_cast<uint32_t>(javaOctets.size()));
        EXPECT_TRUE(text == L">" + c.text) << where;
    }
}

// An alphabet of a row of data/binary_data.tsv: "-" none, "numeric" or "dates" the built-in
// ones, "N*c" N characters c, else the text itself.
std::wstring AlphabetOf(const std::string& field) {
    const size_t star = field.find('*');
    if (star != std::string::npos) return std::wstring(std::stoul(field.substr(0, star)), Widen(field.substr(star + 1))[0]);
    return field == "numeric" ? CFIVocabulary().GetRestrictedAlphabet(1)
           : field == "dates" ? CFIVocabulary().GetRestrictedAlphabet(2)
           : field == "-"     ? std::wstring()
                              : Widen(field);
}

// Packing a text after the octet AA, and unpacking octets after the text ">": what comes out,
// or the refusal (which must leave the output as it was).
TEST(FastInfosetRestrictedAlphabet, RefusesBadAlphabetsCharactersAndCodes) {
    for (const std::vector<std::string>& c : Table("alphabet")) {  // alphabet, pack|unpack, input, outcome
        SCOPED_TRACE(c[0] + " " + c[1] + " " + c[2]);
        const std::wstring alphabet = AlphabetOf(c[0]);
        std::string packed = "\xAA";
        std::wstring text = L">";
        const std::string octets = Unhex(c[2]);
        const std::string message = Narrow(MessageOf([&] {
            if (c[1] == "pack")
                CFastInfosetBinaryData::AppendRestrictedAlphabetString(packed, alphabet, Widen(c[2]).c_str(), c[2].size());
            else
                CFastInfosetBinaryData::AppendRestrictedAlphabetText(
                    text, alphabet, reinterpret_cast<const unsigned char*>(octets.data()), static_cast<uint32_t>(octets.size()));
        }));
        EXPECT_EQ(message == ToUtf8(kNoException) ? Hex(packed) + ToUtf8(text) : message + " " + Hex(packed) + ToUtf8(text), c[3]);
    }
}

}  // namespace

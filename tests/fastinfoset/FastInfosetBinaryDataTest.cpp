// Encoding algorithms and restricted alphabets against Java's Fast Infoset implementation:
// the octets qxxml makes from a lexical form must be Java's, and the text qxxml reads from
// octets must carry the values Java reads from them. One JVM run per test.
#include <qxxml/fastinfoset/FIVocabulary.h>
#include <qxxml/fastinfoset/FastInfosetBinaryData.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/Conversions.h>

#include "common/JavaOracle.h"
#include "xmlout/PythonOracle.h"

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

std::string Repeat(const std::string& part, int times) {
    std::string whole;
    for (int i = 0; i < times; ++i) whole += part;
    return whole;
}

// Octets 0, 1, 2, ... (mod 256): long data with every octet value.
std::string Counting(size_t count) {
    std::string octets;
    for (size_t i = 0; i < count; ++i) octets += static_cast<char>(i * 7 % 256);
    return octets;
}

// The thrown message, as narrow text.
template <typename Action>
std::string Message(Action action) {
    return Narrow(MessageOf(action));
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

struct EncodeCase {
    unsigned algorithm;
    std::string text;      // qxxml's lexical form
    std::string javaText;  // the same value as Java reads it, when it differs
    unsigned javaAlgorithm = 0;  // Java's algorithm for it, when it differs
};

TEST(FastInfosetBinaryData, EncodesEveryAlgorithmAsJavaDoes) {
    const std::string longHex = Hex(Counting(1000));
    const std::string music = "\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E";  // e acute, euro, a clef
    const std::vector<EncodeCase> cases = {
        {1, "", ""}, {1, "00FF7fab", ""}, {1, longHex, ""},
        {2, "", ""}, {2, "YWJj", ""}, {2, "YQ==", ""}, {2, Repeat("QUJD", 500), ""},
        {3, "0", ""}, {3, "-1", ""}, {3, "32767", ""}, {3, "-32768", ""}, {3, "+5", "5"}, {3, " 12 ", "12"},
        {4, "0", ""}, {4, "-2147483648", ""}, {4, "2147483647", ""}, {4, "123456", ""}, {4, "-0", "0"},
        {4, "007", "7"}, {4, "\t-12\n", "-12"},
        {5, "-9223372036854775808", ""}, {5, "9223372036854775807", ""}, {5, "-1", ""},
        {6, "true", ""}, {6, "false", ""}, {6, "1", "true"}, {6, "0", "false"}, {6, "TRUE", "true"},
        {6, " false ", "false"},
        {7, "NaN", ""}, {7, "", "NaN"}, {7, "INF", "Infinity"}, {7, "-INF", "-Infinity"}, {7, "-0", "-0.0"},
        {7, "0", ""}, {7, "0.1", ""}, {7, "3.4028235e38", ""}, {7, "1.4e-45", ""}, {7, "1e40", ""},
        {8, "NaN", ""}, {8, "INF", "Infinity"}, {8, "-INF", "-Infinity"}, {8, "-0", "-0.0"}, {8, "0.1", ""},
        {8, "1.7976931348623157e308", ""}, {8, "4.9e-324", ""}, {8, "1e400", ""}, {8, "-2.5e-10", ""},
        {8, "5.", ""}, {8, ".5", ""}, {8, "+1E+2", ""}, {8, " 1.5 ", "1.5"}, {7, "-.5e-3", ""}, {7, "+2", ""},
        // Java cannot read UUIDs in text form; the same octets are its hexadecimal ones.
        {9, "0123456789ABCDEF0123456789abcdef", "", 1}, {9, Repeat("00112233445566778899aabbccddeeff", 3), "", 1},
        {10, "", ""}, {10, "a<b&c]]>", ""}, {10, music, ""},
    };
    std::vector<std::string> requests;
    for (const EncodeCase& c : cases) {
        const std::string javaText = c.javaText.empty() ? c.text : c.javaText;
        requests.push_back("E\t" + std::to_string(c.javaAlgorithm ? c.javaAlgorithm : c.algorithm) + "\t" +
                           Hex(javaText));
    }
    const std::vector<std::string> answers = JavaFastInfoset(kOracle, requests);
    // One value reused for every case, as a caller would: it overwrites its octets in place
    // when their length does not change, never those of a copy sharing them.
    CFastInfosetBinaryData reused;
    for (size_t i = 0; i < cases.size(); ++i) {
        const EncodeCase& c = cases[i];
        const std::wstring text = c.algorithm == 10 ? FromUtf8(c.text) : Widen(c.text);
        CFastInfosetBinaryData data;
        data.SetAsEncodedString(c.algorithm, text.c_str());
        EXPECT_EQ("OK\t" + Hex(Bytes(data)), answers[i]) << "algorithm " << c.algorithm << " text '" << c.text << "'";
        const CFastInfosetBinaryData previous = reused;
        const std::string before = Bytes(previous);
        reused.SetAsEncodedString(c.algorithm, text.c_str());
        EXPECT_EQ(Bytes(reused), Bytes(data));
        EXPECT_EQ(Bytes(previous), before);
    }
}

TEST(FastInfosetBinaryData, ReadsOctetsAndRefusesWrongLengthsAsJavaDoes) {
    struct DecodeCase {
        unsigned algorithm;
        std::string octets;
    };
    const std::vector<DecodeCase> cases = {
        {1, ""}, {1, Unhex("00ff")}, {1, Counting(1000)},
        {2, ""}, {2, "a"}, {2, "ab"}, {2, "abc"}, {2, Counting(1000)},
        {3, ""}, {3, Unhex("0001ffff")}, {3, Unhex("80007fff")}, {3, Counting(400)},
        {4, Unhex("80000000")}, {4, Unhex("7fffffff")}, {4, Unhex("ffffffff00000001")}, {4, Counting(400)},
        {5, Unhex("8000000000000000")}, {5, Unhex("7fffffffffffffff")}, {5, Unhex("ffffffffffffffff0000000000000000")},
        {6, Unhex("38")}, {6, Unhex("30")}, {6, Unhex("2b")}, {6, Unhex("00")}, {6, Unhex("1fff")}, {6, Unhex("7a5a")},
        {7, Unhex("7fc00000")}, {7, Unhex("7f800000")}, {7, Unhex("ff800000")}, {7, Unhex("80000000")},
        {7, Unhex("00000001")}, {7, Unhex("7f7fffff")}, {7, Unhex("3dcccccd")}, {7, Unhex("7fc00001c0490fdb")},
        {8, Unhex("7ff8000000000000")}, {8, Unhex("7ff0000000000000")}, {8, Unhex("fff0000000000000")},
        {8, Unhex("8000000000000000")}, {8, Unhex("0000000000000001")}, {8, Unhex("7fefffffffffffff")},
        {8, Unhex("3fb999999999999a400921fb54442d18")},
        {9, Counting(16)}, {9, Counting(48)},
    };
    struct BadLength {
        unsigned algorithm;
        size_t length;
        const char* message;
    };
    const std::vector<BadLength> badLengths = {
        {3, 1, "Invalid value for SHORT byte encoding."},  {3, 3, "Invalid value for SHORT byte encoding."},
        {4, 3, "Invalid value for INT byte encoding."},    {4, 6, "Invalid value for INT byte encoding."},
        {5, 7, "Invalid value for LONG byte encoding."},   {7, 5, "Invalid value for FLOAT byte encoding."},
        {8, 9, "Invalid value for DOUBLE byte encoding."}, {9, 15, "Invalid value for UUID byte encoding."},
        {9, 17, "Invalid value for UUID byte encoding."},
    };
    std::vector<std::string> requests;
    for (const DecodeCase& c : cases) requests.push_back("D\t" + std::to_string(c.algorithm) + "\t" + Hex(c.octets));
    for (const BadLength& c : badLengths)
        requests.push_back("D\t" + std::to_string(c.algorithm) + "\t" + Hex(Counting(c.length)));
    const std::vector<std::string> answers = JavaFastInfoset(kOracle, requests);
    for (size_t i = 0; i < badLengths.size(); ++i) {
        EXPECT_EQ(answers[cases.size() + i].substr(0, 4), "ERR\t") << answers[cases.size() + i];
        const std::string octets = Counting(badLengths[i].length);
        const CFastInfosetBinaryData data(reinterpret_cast<unsigned char*>(const_cast<char*>(octets.data())),
                                          static_cast<uint32_t>(octets.size()), false);
        EXPECT_EQ(Message([&] { data.GetAsString(badLengths[i].algorithm); }), badLengths[i].message);
    }
    for (size_t i = 0; i < cases.size(); ++i) {
        const DecodeCase& c = cases[i];
        const std::vector<std::string> answer = Fields(answers[i]);
        ASSERT_EQ(answer.size(), 2u) << answers[i];
        ASSERT_EQ(answer[0], "OK") << answers[i];
        const CFastInfosetBinaryData data(reinterpret_cast<unsigned char*>(const_cast<char*>(c.octets.data())),
                                          static_cast<uint32_t>(c.octets.size()), false);
        EXPECT_EQ(JavaTextInQxxmlForm(c.algorithm, Unhex(answer[1])), Narrow(data.GetAsString(c.algorithm)))
            << "algorithm " << c.algorithm << " octets " << Hex(c.octets);
    }
}

TEST(FastInfosetBinaryData, RefusesBadTextAndUnknownAlgorithms) {
    struct BadText {
        unsigned algorithm;
        const wchar_t* text;
        const char* message;
    };
    const std::vector<BadText> cases = {
        {0, L"1", "Unknown byte encoding."},
        {11, L"1", "Unknown byte encoding."},
        {3, L"40000", "The value [40000] is to large to fit in a i2"},
        {3, L"-32769", "The value [-32769] is to large to fit in a i2"},
        {4, L"2147483648", "The value [2147483648] is to large to fit in a i4"},
        {4, L"12abc", "The value [12abc] can not be converted to a i4"},
        {5, L"9223372036854775808", "The value [9223372036854775808] is to large to fit in a i8"},
        {6, L"yes", "A Boolean Value read from an XML document was invalid [yes]. Valid values are 'true', "
                    "'false', '1', or '0'"},
        {7, L"1.5x", "The value [1.5x] can not be converted to a r4"},
        {7, L"+-5", "The value [+-5] can not be converted to a r4"},
        {8, L"1e", "The value [1e] can not be converted to a r8"},
        {8, L"0x1p3", "The value [0x1p3] can not be converted to a r8"},
        {8, L"inf", "The value [inf] can not be converted to a r8"},
        {1, L"abc", "Invalid length in hex string"},
        {9, L"0123456789abcdefghij", "Invalid char in hex string [g]"},
    };
    for (const BadText& c : cases) {
        CFastInfosetBinaryData data;
        EXPECT_EQ(Message([&] { data.SetAsEncodedString(c.algorithm, c.text); }), c.message)
            << "algorithm " << c.algorithm;
    }
    const CFastInfosetBinaryData octets(L"ab");
    for (unsigned algorithm : {0u, 10u, 11u, 0xFFFFFFFFu})
        EXPECT_EQ(Message([&] { octets.GetAsString(algorithm); }), "Unknown byte encoding.");
    // A boolean list whose unused-bit count exceeds its bits.
    const CFastInfosetBinaryData booleans(reinterpret_cast<unsigned char*>(const_cast<char*>("\x50")), 1, false);
    EXPECT_EQ(Message([&] { booleans.GetAsString(6); }), "Invalid value for BOOLEAN byte encoding.");
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
        if ((size >= 8 && size <= 15) || (size >= 128 && size <= 255)) {
            std::string packed;
            CFastInfosetBinaryData::AppendRestrictedAlphabetString(packed, c.alphabet, c.text.data(), c.text.size());
            EXPECT_EQ(Hex(packed), answer[1]) << where;
        } else {
            std::string packed;
            EXPECT_EQ(Message([&] {
                          CFastInfosetBinaryData::AppendRestrictedAlphabetString(packed, c.alphabet, c.text.data(),
                                                                                 c.text.size());
                      }),
                      "Failed to write FastInfoset. Unsupported Feature in AppendRestrictedAlphabetString.")
                << where;
        }
        std::wstring text = L">";
        CFastInfosetBinaryData::AppendRestrictedAlphabetText(
            text, c.alphabet, reinterpret_cast<const unsigned char*>(javaOctets.data()),
            static_cast<uint32_t>(javaOctets.size()));
        EXPECT_TRUE(text == L">" + c.text) << where;
    }
}

TEST(FastInfosetRestrictedAlphabet, RefusesBadAlphabetsAndCharacters) {
    const std::string writeSize =
        "Failed to write FastInfoset. Invalid Restricted Alphabet. Alphabet must contain between 2 and 2^20 characters.";
    const std::string readSize = "Failed to parse FastInfoset. Invalid Encoding of Restricted Alphabet. Alphabet must "
                                 "contain between 2 and 2^20 characters.";
    const unsigned char octet = 0x12;
    for (const std::wstring& alphabet : {std::wstring(), std::wstring(L"a"), std::wstring(0x100001, L'x')}) {
        std::string packed;
        std::wstring text;
        EXPECT_EQ(Message([&] { CFastInfosetBinaryData::AppendRestrictedAlphabetString(packed, alphabet, L"a", 1); }),
                  writeSize);
        EXPECT_EQ(Message([&] { CFastInfosetBinaryData::AppendRestrictedAlphabetText(text, alphabet, &octet, 1); }),
                  readSize);
    }
    // A full alphabet of 2^20 characters is accepted for reading (21-bit codes).
    const std::wstring largest(CFIVocabulary::kMaxTableSize, L'x');
    std::wstring text;
    const unsigned char codes[] = {0, 0, 0};
    CFastInfosetBinaryData::AppendRestrictedAlphabetText(text, largest, codes, 3);
    EXPECT_TRUE(text == L"x");

    const CFIVocabulary vocabulary;
    std::string packed = "\xAA";
    EXPECT_EQ(Message([&] {
                  CFastInfosetBinaryData::AppendRestrictedAlphabetString(packed, vocabulary.GetRestrictedAlphabet(1),
                                                                         L"1.5E3", 5);
              }),
              "Failed to write FastInfoset. Invalid character not found for Restricted Alphabet.");
    EXPECT_EQ(Hex(packed), "aa");  // a refused text leaves the output as it was
    EXPECT_EQ(Message([&] {
                  CFastInfosetBinaryData::AppendRestrictedAlphabetString(packed, vocabulary.GetRestrictedAlphabet(3),
                                                                         L"1", 1);
              }),
              writeSize);
    // Codes between the alphabet's end and the all-ones terminator come only from bad documents.
    const unsigned char beyond[] = {0x12, 0x19};  // ... 1, then 9 in an alphabet of eight characters
    text = L">";
    EXPECT_EQ(Message([&] { CFastInfosetBinaryData::AppendRestrictedAlphabetText(text, L"01234567", beyond, 2); }),
              "Failed to parse FastInfoset. Invalid Encoding of Restricted Alphabet. Character code outside the "
              "alphabet.");
    EXPECT_TRUE(text == L">");
}

}  // namespace

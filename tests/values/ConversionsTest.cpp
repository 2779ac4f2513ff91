#include <qxxml/support/QxException.h>
#include <qxxml/values/Conversions.h>

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace QxXmlLib10;

namespace {

using C = CConversions;
using W = CWhitespaceUtils;
const W::WhitespaceRule None = W::WhitespaceRule_None;
const W::WhitespaceRule Collapse = W::WhitespaceRule_Collapse;

std::wstring Conv(const std::wstring& text, const wchar_t* kind) {
    return L"The value [" + text + L"] can not be converted to a " + kind;
}

// "x" + hex of the UTF-8 bytes (ASCII here), as the Python oracle writes texts.
std::wstring OracleText(const std::string& field) { return qxxml_test::Widen(qxxml_test::Unhex(field.substr(1))); }

// The oracle's lines split into words; the script runs once for all tests.
const std::vector<std::vector<std::string>>& Oracle() {
    static const auto lines = [] {
        std::vector<std::vector<std::string>> words;
        for (const std::string& line :
             qxxml_test::Lines(qxxml_test::PythonScript("tests/values/conversions_oracle.py", "20240506 2500"))) {
            if (!qxxml_test::Words(line).empty()) words.push_back(qxxml_test::Words(line));
        }
        return words;
    }();
    return lines;
}

// The bits of a real as the oracle writes them: hex digits, or NAN for any NaN.
template <class Bits, class Real>
std::string BitsText(Real v) {
    if (std::isnan(v)) return "NAN";
    Bits b;
    std::memcpy(&b, &v, sizeof b);
    char hex[24];
    std::snprintf(hex, sizeof hex, "%0*llx", static_cast<int>(2 * sizeof b), static_cast<unsigned long long>(b));
    return hex;
}

// The outcome of an integral conversion as the oracle writes it.
template <class F>
std::string IntOutcome(F read) {
    try {
        return std::to_string(read());
    } catch (const CQxInvalidValueException& e) {
        const std::wstring m = e.GetMessageW();
        const size_t at = m.rfind(L" a ");
        const std::wstring kind = m.substr(at + 3);
        if (m.find(L"is to large to fit") != std::wstring::npos) return "RANGE:" + std::string(kind.begin(), kind.end());
        return "CONV";
    }
}

// Reads `text` as the integral kind the oracle names.
std::string IntFromText(const std::string& kind, const std::wstring& text) {
    if (kind == "i1") return IntOutcome([&] { return static_cast<int>(static_cast<signed char>(C::i1FromString(text, None))); });
    if (kind == "i2") return IntOutcome([&] { return C::i2FromString(text, None); });
    if (kind == "i4") return IntOutcome([&] { return C::i4FromString(text, None); });
    if (kind == "i8") return IntOutcome([&] { return C::i8FromString(text, None); });
    if (kind == "ui1") return IntOutcome([&] { return static_cast<unsigned>(C::ui1FromString(text, None)); });
    if (kind == "ui2") return IntOutcome([&] { return C::ui2FromString(text, None); });
    if (kind == "ui4") return IntOutcome([&] { return C::ui4FromString(text, None); });
    return IntOutcome([&] { return C::ui8FromString(text, None); });
}

}  // namespace

// ------------------------------------------------------------------ integers

TEST(ConversionsIntegers, WriteForms) {
    EXPECT_EQ(C::i1ToString(static_cast<char>(-128)), L"-128");  // a char that is signed
    EXPECT_EQ(C::i8ToString(INT64_MIN), L"-9223372036854775808");
    EXPECT_EQ(C::ui4ToString(UINT32_MAX), L"4294967295");
    EXPECT_EQ(C::ui8ToString(UINT64_MAX), L"18446744073709551615");
}

// The white space rules, signs, prefixes and ranges of the integral kinds are in
// text_forms.tsv (TextFormsTest.cpp).
TEST(ConversionsIntegers, UnknownWhiteSpaceRule) {
    try {
        C::i4FromString(L"1", static_cast<W::WhitespaceRule>(4));
        ADD_FAILURE() << "an unknown rule must fail";
    } catch (const CQxInvalidValueException&) {
        ADD_FAILURE() << "wrong class";
    } catch (const CQxException& e) {
        EXPECT_EQ(e.GetMessageW(), L"Unknown WhitespaceRule");
    }
}

TEST(ConversionsIntegers, MatchOracle) {
    int checked = 0;
    for (const auto& line : Oracle()) {
        if (line[0] != "INT") continue;
        EXPECT_EQ(IntFromText(line[1], OracleText(line[2])), line[3]) << line[1] << " " << line[2];
        ++checked;
    }
    EXPECT_EQ(checked, 2500);
}

// ------------------------------------------------------------------ reals

TEST(ConversionsReals, WriteForms) {
    EXPECT_EQ(C::r4ToString(std::numeric_limits<float>::quiet_NaN()), L"NaN");
    EXPECT_EQ(C::r4ToString(-std::numeric_limits<float>::infinity()), L"-INF");
    EXPECT_EQ(C::r4ToString(0.1f), L"0.1");
    EXPECT_EQ(C::r4ToString(-0.0f), L"-0");
    EXPECT_EQ(C::r4ToString(1e20f), L"1e+020");
    EXPECT_EQ(C::r4ToString(1.5e-7f), L"1.5e-007");
    EXPECT_EQ(C::r8ToString(1.0 / 3), L"0.3333333333333333");
    EXPECT_EQ(C::r8ToString(1e100), L"1e+100");
    EXPECT_EQ(C::r8ToString(1e16), L"1e+016");
    EXPECT_EQ(C::r8ToString(123456.0), L"123456");
    std::wstring buffer = L"x=";
    C::r8AppendTo(buffer, std::nan(""));
    C::r4AppendTo(buffer, -std::numeric_limits<float>::infinity());
    C::r8AppendTo(buffer, std::numeric_limits<double>::infinity());
    EXPECT_EQ(buffer, L"x=NaN-INFINF");
    EXPECT_EQ(C::r8ToString(std::nan(""), L"%.2f"), L"NaN");  // non-finite values ignore the format

    EXPECT_EQ(C::r8ToString(2.5, L"%.2f"), L"2.50");
    EXPECT_EQ(C::r8ToString(12345.678, L"%e"), L"1.234568e+004");
    EXPECT_EQ(C::r4ToString(2.5f, L"[%8.3f]"), L"[   2.500]");
    EXPECT_EQ(C::r8ToString(2.5, L"%.16g"), L"2.5");
    EXPECT_EQ(C::r8ToString(1.0, L"100%%: %g"), L"100%: 1");
    EXPECT_EQ(C::r4ToString(1e35f, L"%.0f").size(), 31u);  // cut to the r4 limit
    EXPECT_EQ(C::r8ToString(1e300, L"%f").size(), 47u);
    for (const wchar_t* bad : {L"%d", L"%s", L"%f %f", L"%*f", L"%Lf", L"%n", L"%"}) {
        EXPECT_THROW(C::r8ToString(1.0, bad), CQxInvalidParamException) << bad;
    }
}

// The special words and loose forms reals are read from are in text_forms.tsv.
TEST(ConversionsReals, MatchOracle) {
    int read = 0, written = 0;
    for (const auto& line : Oracle()) {
        if (line[0] == "REAL") {
            const std::wstring text = OracleText(line[2]);
            std::string got;
            try {
                got = line[1] == "r8" ? BitsText<uint64_t>(C::r8FromString(text, None))
                                      : BitsText<uint32_t>(C::r4FromString(text, None));
            } catch (const CQxInvalidValueException& e) {
                EXPECT_EQ(e.GetMessageW(), Conv(text, line[1] == "r8" ? L"r8" : L"r4"));
                got = "CONV";
            }
            EXPECT_EQ(got, line[3]) << line[1] << " " << line[2];
            ++read;
        } else if (line[0] == "OUT") {
            const unsigned long long bits = std::stoull(line[2], nullptr, 16);
            std::wstring text;
            if (line[1] == "r8") {
                double v;
                std::memcpy(&v, &bits, sizeof v);
                text = C::r8ToString(v);
            } else {
                const uint32_t b32 = static_cast<uint32_t>(bits);
                float v;
                std::memcpy(&v, &b32, sizeof v);
                text = C::r4ToString(v);
            }
            EXPECT_EQ(text, OracleText(line[3])) << line[1] << " " << line[2];
            ++written;
        }
    }
    EXPECT_EQ(read, 5000);
    EXPECT_EQ(written, 5000);
}

// The general form ("%.16g", "%.7g") on the cases easiest to get wrong: digits exactly half
// way that round to even, values next to powers of ten, prices whose shortest form is not
// their 16-digit form (9.3 is "9.300000000000001"), subnormals, huge integers.
TEST(ConversionsReals, GeneralFormMatchesPrintfOnHardCases) {
    std::map<std::string, int> kinds;
    for (const std::string& line :
         qxxml_test::Lines(qxxml_test::PythonScript("tests/values/conversions_oracle.py", "77 14000 reals"))) {
        const std::vector<std::string> w = qxxml_test::Words(line);
        if (w.size() != 5) continue;
        const unsigned long long bits = std::stoull(w[2], nullptr, 16);
        std::wstring text;
        std::wstring appended = L"<";  // the appending forms keep what the buffer held
        if (w[1] == "r8") {
            double v;
            std::memcpy(&v, &bits, sizeof v);
            text = C::r8ToString(v);
            C::r8AppendTo(appended, v);
        } else {
            const uint32_t b32 = static_cast<uint32_t>(bits);
            float v;
            std::memcpy(&v, &b32, sizeof v);
            text = C::r4ToString(v);
            C::r4AppendTo(appended, v);
        }
        EXPECT_EQ(text, OracleText(w[3])) << w[1] << " " << w[2] << " " << w[4];
        EXPECT_EQ(appended, L"<" + OracleText(w[3])) << w[1] << " " << w[2] << " " << w[4];
        ++kinds[w[1] + " " + w[4]];
    }
    for (const char* kind : {"fixed", "price", "short", "tie", "pow10", "integer", "subnormal", "bits"}) {
        EXPECT_GE(kinds[std::string("r8 ") + kind], 20) << kind;
    }
}

// Random bit patterns and prices against the standard library's exact printf-style
// conversion, many more than Python could hand over in reasonable time.
TEST(ConversionsReals, GeneralFormMatchesExactConversion) {
    const auto exact = [](double v, int precision) {
        char text[64];
        const std::to_chars_result r =
            std::to_chars(text, text + sizeof text, v, std::chars_format::general, precision);
        std::string s(text, r.ptr);
        const size_t e = s.find('e');
        if (e != std::string::npos && s.size() - (e + 2) < 3) s.insert(e + 2, 3 - (s.size() - (e + 2)), '0');
        return qxxml_test::Widen(s);
    };
    std::mt19937_64 rng(20240506);
    for (int i = 0; i < 100000; ++i) {
        double v;
        const uint64_t bits = rng();
        std::memcpy(&v, &bits, sizeof v);
        if (i % 2) v = static_cast<double>(static_cast<int64_t>(bits % 2000000000) - 1000000000) / 1000.0;
        if (!std::isfinite(v)) continue;
        ASSERT_EQ(C::r8ToString(v), exact(v, 16)) << std::hexfloat << v;
        if (std::fabs(v) < std::numeric_limits<float>::max()) {
            const float f = static_cast<float>(v);
            ASSERT_EQ(C::r4ToString(f), exact(f, 7)) << std::hexfloat << f;
        }
    }
}

// ------------------------------------------------------------------ dates, durations

// The texts of the date kinds, through the value classes, are in text_forms.tsv.
TEST(ConversionsDates, KindsAndNumbers) {
    EXPECT_EQ(C::yearMonthFromString(L"2024-05-06", Collapse).GetType(), CDateTime::dt_date);  // the text decides
    EXPECT_EQ(C::yearToString(5), L"5");
    EXPECT_EQ(C::monthToString(5), L"--05");
    EXPECT_EQ(C::dayToString(7), L"---07");
    try {
        C::yearFromString(L"--05", None);
        ADD_FAILURE() << "a gMonth has no year";
    } catch (const CQxInvalidStateException& e) {
        EXPECT_EQ(e.GetMessageW(), L"Failed to GetYear. Invalid Date Type: gMonth.");
    }
}

// Characters, strings and booleans are read in text_forms.tsv; writing a string keeps it as it is.
TEST(ConversionsText, StringsAndBooleansWrite) {
    EXPECT_EQ(C::stringToString(L"a\r\nb"), L"a\r\nb");
    EXPECT_EQ(C::booleanToString(false), L"false");
}

// ------------------------------------------------------------------ binary, decimal, integer

TEST(ConversionsDelegates, BinaryDecimalInteger) {
    const CBinaryData hex = C::hexBinaryFromString(L" 00ab7F ", Collapse);
    EXPECT_EQ(C::hexBinaryToString(hex), L"00AB7F");
    EXPECT_EQ(C::base64BinaryToString(hex), L"AKt/");
    EXPECT_EQ(C::hexBinaryToString(C::base64BinaryFromString(L"AKt/", None)), L"00AB7F");

    const CDecimal d = C::decimalFromString(L" 1234.500 ", Collapse);
    EXPECT_EQ(C::decimalToString(d, L""), L"1234.5");
    EXPECT_EQ(C::decimalToString(d, L"2"), L"1234.50");
    EXPECT_EQ(C::decimalToString(d, L" 3 digits"), L"1234.500");
    EXPECT_EQ(C::decimalToString(d, L"x"), C::decimalToString(d, L"0"));  // no leading number: 0 places

    EXPECT_EQ(C::integerToString(C::integerFromString(L"\t-123456789012345678901234567890\n", Collapse)),
              L"-123456789012345678901234567890");
}

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
const W::WhitespaceRule Preserve = W::WhitespaceRule_Preserve;
const W::WhitespaceRule Replace = W::WhitespaceRule_Replace;
const W::WhitespaceRule Collapse = W::WhitespaceRule_Collapse;

template <class F>
std::wstring ValueError(F f) {
    try {
        f();
    } catch (const CQxInvalidValueException& e) {
        return e.GetMessageW();
    }
    return L"";
}

std::wstring Range(const std::wstring& text, const wchar_t* kind) {
    return L"The value [" + text + L"] is to large to fit in a " + kind;
}
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

TEST(ConversionsIntegers, WhiteSpaceRules) {
    EXPECT_EQ(C::i4FromString(L" 12", None), 12);
    EXPECT_EQ(C::i4FromString(L" 12", Preserve), 12);
    EXPECT_EQ(C::i4FromString(L"\t\n12", Replace), 12);
    EXPECT_EQ(ValueError([] { C::i4FromString(L"12 ", None); }), Conv(L"12 ", L"i4"));
    EXPECT_EQ(ValueError([] { C::i4FromString(L"12\r\n", Preserve); }), Conv(L"12\n", L"i4"));  // the working text
    EXPECT_EQ(ValueError([] { C::i4FromString(L"12\t", Replace); }), Conv(L"12 ", L"i4"));
    EXPECT_EQ(C::i4FromString(L" 12", Collapse), 12);
    EXPECT_EQ(C::i4FromString(L"12 ", Collapse), 12);
    EXPECT_EQ(C::ui8FromString(L"\r\n 18446744073709551615 \t", Collapse), UINT64_MAX);
    try {
        C::i4FromString(L"1", static_cast<W::WhitespaceRule>(4));
        ADD_FAILURE() << "an unknown rule must fail";
    } catch (const CQxInvalidValueException&) {
        ADD_FAILURE() << "wrong class";
    } catch (const CQxException& e) {
        EXPECT_EQ(e.GetMessageW(), L"Unknown WhitespaceRule");
    }
}

TEST(ConversionsIntegers, SignsPrefixesAndRanges) {
    for (const char* kind : {"i1", "i2", "i4", "i8", "ui1", "ui2", "ui4", "ui8"}) {
        EXPECT_EQ(IntFromText(kind, L""), "0") << kind;  // the empty text reads as zero
        EXPECT_EQ(IntFromText(kind, L"+5"), "5") << kind;
    }
    EXPECT_EQ(C::i4FromString(L"   ", Collapse), 0);  // collapses to the empty text
    EXPECT_EQ(ValueError([] { C::i8FromString(L"0x10", None); }), Conv(L"0x10", L"i8"));
    EXPECT_EQ(ValueError([] { C::ui8FromString(L"0x10", None); }), Conv(L"0x10", L"ui8"));
    EXPECT_EQ(ValueError([] { C::i1FromString(L"0x10", None); }), Conv(L"0x10", L"i4"));
    EXPECT_EQ(ValueError([] { C::ui2FromString(L"+", None); }), Conv(L"+", L"ui4"));

    EXPECT_EQ(ValueError([] { C::i1FromString(L"-129", None); }), Range(L"-129", L"i1"));
    // The narrow kinds quote the text as the caller gave it, before the rule.
    EXPECT_EQ(ValueError([] { C::i2FromString(L" 40000 ", Collapse); }), Range(L" 40000 ", L"i2"));
    EXPECT_EQ(ValueError([] { C::ui2FromString(L"\t70000", Collapse); }), Range(L"\t70000", L"ui2"));
    EXPECT_EQ(ValueError([] { C::ui1FromString(L"4294967296", None); }), Range(L"4294967296", L"ui4"));
    EXPECT_EQ(ValueError([] { C::i4FromString(L" 2147483648 ", Collapse); }), Range(L"2147483648", L"i4"));

    EXPECT_EQ(C::ui8FromString(L"-1", None), UINT64_MAX);
    EXPECT_EQ(ValueError([] { C::ui1FromString(L"-1", None); }), Range(L"-1", L"ui1"));
    EXPECT_EQ(ValueError([] { C::ui8FromString(L"18446744073709551616", None); }), Range(L"18446744073709551616", L"ui8"));
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

TEST(ConversionsReals, ReadSpecialWordsAndForms) {
    EXPECT_TRUE(std::isnan(C::r4FromString(L"", None)));
    EXPECT_TRUE(std::isnan(C::r8FromString(L"1.#QNAN", None)));
    EXPECT_TRUE(std::isnan(C::r4FromString(L"-NAN", None)));
    EXPECT_TRUE(std::isnan(C::r8FromString(L" NaN ", Collapse)));
    EXPECT_EQ(C::r8FromString(L"-INF", None), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(C::r4FromString(L"INF", None), std::numeric_limits<float>::infinity());
    EXPECT_EQ(C::r4FromString(L"-1e40", None), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(C::r4FromString(L"1e-50", None), 0.0f);
    EXPECT_EQ(C::r8FromString(L"1e400", None), std::numeric_limits<double>::infinity());
    EXPECT_EQ(C::r8FromString(L" 2.5", None), 2.5);
    EXPECT_EQ(C::r8FromString(L"+.5", None), 0.5);
    EXPECT_EQ(C::r8FromString(L"5.", None), 5.0);
    for (const wchar_t* bad : {L"-inf", L"inf", L"Infinity", L"nan", L"0x1p3", L"1e", L"1,5", L".", L"2.5 ", L"NAN"}) {
        EXPECT_EQ(ValueError([&] { C::r8FromString(bad, None); }), Conv(bad, L"r8")) << bad;
        EXPECT_EQ(ValueError([&] { C::r4FromString(bad, None); }), Conv(bad, L"r4")) << bad;
    }
}

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

TEST(ConversionsDates, DelegateToTheValueClasses) {
    const CDateTime ym = C::yearMonthFromString(L"2024-05-06", Collapse);
    EXPECT_EQ(ym.GetType(), CDateTime::dt_date);  // the text decides the kind
    EXPECT_EQ(C::yearMonthToString(ym), L"2024-05-06");
    EXPECT_EQ(C::monthDayToString(C::monthDayFromString(L" --02-29 ", Collapse)), L"--02-29");
    EXPECT_EQ(C::dateToString(C::dateFromString(L"2024-05-06Z", None)), L"2024-05-06Z");
    EXPECT_EQ(C::datetimeToString(C::datetimeFromString(L"\n2024-05-06T10:00:00.5+01:00\n", Collapse)),
              L"2024-05-06T10:00:00.5+01:00");
    EXPECT_EQ(C::timeToString(C::timeFromString(L"12:30:00.000000001", None)), L"12:30:00.000000001");
    EXPECT_EQ(C::durationToString(C::durationFromString(L" -P1Y2M3DT4H5M6.7S ", Collapse)), L"-P1Y2M3DT4H5M6.7S");
    // The readers' own messages are the DateTime tests'; here only that they pass through.
    EXPECT_EQ(ValueError([] { C::dateFromString(L"2024-05-06 ", None); }),
              L"Invalid XSD Date [2024-05-06 ] expected CCYY-MM-DD[Z|[+|-]hh:mm]");
}

TEST(ConversionsDates, YearMonthDayNumbers) {
    EXPECT_EQ(C::yearToString(5), L"5");
    EXPECT_EQ(C::monthToString(5), L"--05");
    EXPECT_EQ(C::dayToString(7), L"---07");
    EXPECT_EQ(C::yearFromString(L"2024-05", None), 2024);
    EXPECT_EQ(C::yearFromString(L"2024+05:00", None), 2024);  // the zone is dropped
    EXPECT_EQ(C::monthFromString(L"--05Z", None), 5);
    EXPECT_EQ(C::dayFromString(L" ---07 ", Collapse), 7);
    try {
        C::yearFromString(L"--05", None);
        ADD_FAILURE() << "a gMonth has no year";
    } catch (const CQxInvalidStateException& e) {
        EXPECT_EQ(e.GetMessageW(), L"Failed to GetYear. Invalid Date Type: gMonth.");
    }
    EXPECT_EQ(ValueError([] { C::dayFromString(L"---32", None); }), L"Invalid Day [32] (1 <= day <= 31)");
}

// ------------------------------------------------------------------ char, string, boolean

TEST(ConversionsText, CharStringBoolean) {
    EXPECT_EQ(C::charFromString(L" x ", Collapse), L'x');
    EXPECT_EQ(C::charFromString(L"\t", Replace), L' ');
    const std::wstring charMessage = L"] can not be a char as it is either empty of greater than 1 char long";
    EXPECT_EQ(ValueError([] { C::charFromString(L"", None); }), L"The value [" + charMessage);
    EXPECT_EQ(ValueError([] { C::charFromString(L" ab ", Collapse); }), L"The value [ab" + charMessage);

    EXPECT_EQ(C::stringToString(L"a\r\nb"), L"a\r\nb");
    EXPECT_EQ(C::stringFromString(L"a\r\nb", None), L"a\r\nb");
    EXPECT_EQ(C::stringFromString(L"  a \t b  ", Collapse), L"a b");

    EXPECT_EQ(C::booleanToString(false), L"false");
    EXPECT_FALSE(C::booleanFromString(L"False", None));
    EXPECT_FALSE(C::booleanFromString(L"0", None));
    EXPECT_TRUE(C::booleanFromString(L" tRuE\n", Collapse));
    const auto boolError = [](const std::wstring& text, W::WhitespaceRule rule) {
        return ValueError([&] { C::booleanFromString(text, rule); });
    };
    const std::wstring tail = L"]. Valid values are 'true', 'false', '1', or '0'";
    const std::wstring head = L"A Boolean Value read from an XML document was invalid [";
    EXPECT_EQ(boolError(L"yes", None), head + L"yes" + tail);
    EXPECT_EQ(boolError(L"", None), head + tail);
    EXPECT_EQ(boolError(L" maybe ", Collapse), head + L" maybe " + tail);  // the caller's text
    EXPECT_EQ(boolError(L"01", None), head + L"01" + tail);
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

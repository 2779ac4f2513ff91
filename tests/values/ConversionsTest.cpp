// CConversions against python (values_oracle.py conversions) and the C++ library's exact
// conversion; the texts of every kind, one case a row, are in data/text_forms.tsv.
#include <qxxml/support/QxException.h>
#include <qxxml/values/Conversions.h>
#include <qxxml/values/QxVariant.h>

#include "common/CaseTable.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace QxXmlLib10;

namespace {

using C = CConversions;
const CWhitespaceUtils::WhitespaceRule None = CWhitespaceUtils::WhitespaceRule_None;

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

template <class Real, class Bits>
Real RealOf(Bits bits) {
    Real v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// A reading as the oracle writes it, through QxVariant, which calls the reader of the kind
// named ("i1", "ui8", "r4", ...): the number (a real's bits), CONV, or RANGE: and the kind
// whose range the message names.
std::string ReadAs(const std::string& kind, const std::wstring& text) {
    try {
        QxVariant value;
        value.FromString(text, qxxml_test::ItemTypeNamed(kind), None);
        return kind == "r8"   ? BitsText<uint64_t>(value.GetR8())
               : kind == "r4" ? BitsText<uint32_t>(value.GetR4())
                              : qxxml_test::Narrow(value.ToString(nullptr));
    } catch (const CQxInvalidValueException& e) {
        const std::wstring start = L"The value [" + text + L"] ", message = e.GetMessageW();
        const std::string rest = qxxml_test::Narrow(message.substr(message.rfind(start, 0) == 0 ? start.size() : 0));
        if (rest.rfind("is to large to fit in a ", 0) == 0) return "RANGE:" + rest.substr(24);
        // A real names its own kind; the narrow integers are read as 32 bits first.
        const bool conv = rest.rfind("can not be converted to a ", 0) == 0 && (kind[0] != 'r' || rest.substr(26) == kind);
        return conv ? "CONV" : "unexpected message: " + qxxml_test::Narrow(message);
    }
}

}  // namespace

TEST(ConversionsTest, ReadingMatchesOracle) {
    int integers = 0, reals = 0;
    const std::string oracle = qxxml_test::PythonScript("tests/values/values_oracle.py", "conversions 2500 20240506");
    for (const auto& line : qxxml_test::Rows(oracle)) {
        const std::wstring text = qxxml_test::Widen(qxxml_test::Unescape(line.at(2)));
        EXPECT_EQ(ReadAs(line.at(1), text), line.at(3)) << line[1] << " " << line[2];
        ++(line[0] == "INT" ? integers : reals);
    }
    EXPECT_EQ(integers, 2500);
    EXPECT_EQ(reals, 5000);
}

// The general form ("%.16g", "%.7g", three exponent digits) against the standard library's
// exact conversion: random bit patterns and prices, and the cases easiest to get wrong (digits
// exactly half way that round to even, values next to powers of ten, prices whose shortest
// form is not their 16-digit form: 9.3 is "9.300000000000001", subnormals, huge integers).
TEST(ConversionsTest, GeneralFormMatchesExactConversion) {
    const auto exact = [](auto v, int precision) {
        char text[64];
        const std::to_chars_result r = std::to_chars(text, text + sizeof text, v, std::chars_format::general, precision);
        std::string s(text, r.ptr);
        const size_t e = s.find('e');
        if (e != std::string::npos && s.size() - (e + 2) < 3) s.insert(e + 2, 3 - (s.size() - (e + 2)), '0');
        return qxxml_test::Widen(s);
    };
    std::vector<double> values = {9.3, -96.506, 8.1053e-04, 0.1 + 0.2, 1e15, 1e16, 9999999999999998.0, 1e-5 * 3, 2.5, 0.5,
                                  5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 1e47, 1e-17, -0.0, 0.0};
    std::mt19937_64 rng(20240506);
    for (int i = 0; i < 3000; ++i) {
        const double power = std::pow(10.0, static_cast<int>(rng() % 91) - 30);
        values.insert(values.end(), {std::nextafter(power, 0.0), power, std::nextafter(power, 1e300),
                                     std::ldexp(static_cast<double>(rng() % 1048576 + 1), -static_cast<int>(rng() % 31)) +
                                         static_cast<double>(rng() % 1000000),  // dyadic: exact ties
                                     std::stod(std::to_string(rng() % 10000000) + "." + std::to_string(rng() % 100)),
                                     std::stod(std::to_string(rng() % 10) + "." + std::to_string(rng() % 10000) + "e" +
                                               std::to_string(static_cast<int>(rng() % 81) - 40)),
                                     RealOf<double>(rng() & ((1ull << 52) - 1)),  // subnormal
                                     static_cast<double>(static_cast<int64_t>(rng()) >> (rng() % 64))});
    }
    for (int i = 0; i < 100000; ++i) {
        const uint64_t bits = rng();
        values.push_back(i % 2 ? static_cast<double>(static_cast<int64_t>(bits % 2000000000) - 1000000000) / 1000.0
                               : RealOf<double>(bits));
    }
    for (const double v : values) {
        if (!std::isfinite(v)) continue;
        std::wstring appended = L"<";  // the appending forms keep what the buffer held
        C::r8AppendTo(appended, v);
        ASSERT_EQ(appended, L"<" + exact(v, 16)) << std::hexfloat << v;
        ASSERT_EQ(C::r8ToString(v), exact(v, 16)) << std::hexfloat << v;
        if (std::fabs(v) >= std::numeric_limits<float>::max()) continue;
        const float f = static_cast<float>(v);
        appended = L"<";
        C::r4AppendTo(appended, f);
        ASSERT_EQ(appended, L"<" + exact(f, 7)) << std::hexfloat << f;
        ASSERT_EQ(C::r4ToString(f), exact(f, 7)) << std::hexfloat << f;
    }
    std::wstring buffer = L"x=";
    C::r8AppendTo(buffer, std::nan(""));
    C::r4AppendTo(buffer, -std::numeric_limits<float>::infinity());
    C::r8AppendTo(buffer, std::numeric_limits<double>::infinity());
    EXPECT_EQ(buffer, L"x=NaN-INFINF");
}

// The calendar numbers as numbers, and a decimal without a format (the texts QxVariant writes,
// with a format, are in data/text_forms.tsv).
TEST(ConversionsTest, CalendarNumbersAndDecimals) {
    EXPECT_EQ(C::yearToString(5) + L" " + C::monthToString(5) + L" " + C::dayToString(7), L"5 --05 ---07");
    EXPECT_EQ(C::decimalToString(CDecimal(L"-12.50")), L"-12.5");
}

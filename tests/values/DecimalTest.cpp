#include <qxxml/support/QxException.h>
#include <qxxml/values/Decimal.h>

#include "NumberOracle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

using namespace QxXmlLib10;
using QxXmlTest::MessageOf;
using QxXmlTest::RunNumberOracle;
using qxxml_test::Narrow;
using qxxml_test::Unescape;
using qxxml_test::Widen;

namespace {

CDecimal Dec(const std::string& text) { return CDecimal(Widen(text).c_str()); }

std::string Text(const CDecimal& value) { return Narrow(value.ToString()); }

// Restores the process-wide number of places when a test is done with it.
class CMaxPlacesScope {
public:
    explicit CMaxPlacesScope(int places) : m_previous(CDecimal::GetMaxDecimalPlaces()) {
        CDecimal::SetMaxDecimalPlaces(places);
    }
    ~CMaxPlacesScope() { CDecimal::SetMaxDecimalPlaces(m_previous); }

private:
    int m_previous;
};

// a, b, a+b, a-b, a*b, a/b (DIV0 for a zero divisor), cmp(a,b), all from Python's decimal.
void CheckArithmetic(const QxXmlTest::OracleCase& c) {
    ASSERT_EQ(c.size(), 7u);
    const CDecimal a = Dec(c[0]);
    const CDecimal b = Dec(c[1]);
    SCOPED_TRACE(c[0] + " , " + c[1]);
    EXPECT_EQ(Text(a), c[0]);
    EXPECT_EQ(Text(a + b), c[2]);
    EXPECT_EQ(Text(a - b), c[3]);
    EXPECT_EQ(Text(a * b), c[4]);
    if (c[5] == "DIV0") {
        EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { (void)(a / b); }), L"ERROR: Overflow in operator/.");
    } else {
        EXPECT_EQ(Text(a / b), c[5]);
    }
    QxXmlTest::ExpectOrder(a, b, std::stoi(c[6]));

    using QxXmlTest::Compound;
    EXPECT_EQ(Compound(a, b, &CDecimal::operator+=), c[2]);
    EXPECT_EQ(Compound(a, b, &CDecimal::operator-=), c[3]);
    EXPECT_EQ(Compound(a, b, &CDecimal::operator*=), c[4]);
    if (c[5] != "DIV0") {
        EXPECT_EQ(Compound(a, b, &CDecimal::operator/=), c[5]);
    }
    // Results read back as themselves.
    EXPECT_TRUE(Dec(c[2]) == a + b);
}

}  // namespace

TEST(DecimalTest, ArithmeticMatchesPythonDecimal) {
    for (const auto& c : RunNumberOracle("decimal_arith", 3000, 23)) CheckArithmetic(c);
}

TEST(DecimalTest, ArithmeticWithFewerMaximumPlaces) {
    const auto cases = RunNumberOracle("decimal_arith", 500, 29, 10);
    CMaxPlacesScope places(10);
    EXPECT_EQ(CDecimal::GetMaxDecimalPlaces(), 10);
    for (const auto& c : cases) CheckArithmetic(c);
    EXPECT_EQ((CDecimal(2) / CDecimal(3)).ToString(), L"0.6666666667");
}

TEST(DecimalTest, MaximumPlacesBounds) {
    const CMaxPlacesScope restore(30);
    CDecimal::SetMaxDecimalPlaces(-5);
    EXPECT_EQ(CDecimal::GetMaxDecimalPlaces(), 0);
    EXPECT_EQ(CDecimal(L"2.5").ToString(), L"2");  // no places left: an exact half is dropped
    EXPECT_EQ(CDecimal(L"2.51").ToString(), L"3");
    EXPECT_EQ((CDecimal(7) / CDecimal(2)).ToString(), L"3");
    CDecimal::SetMaxDecimalPlaces(2147483647);
    EXPECT_EQ(CDecimal::GetMaxDecimalPlaces(), 100000);
}

TEST(DecimalTest, ParseMatchesPythonDecimal) {
    for (const auto& c : RunNumberOracle("decimal_parse", 3000, 31)) {
        ASSERT_EQ(c.size(), 2u);
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(Text(CDecimal(Widen(Unescape(c[0])).c_str())), c[1]);
    }
}

TEST(DecimalTest, FormattingAndConversionsMatchPython) {
    for (const auto& c : RunNumberOracle("decimal_format", 3000, 37)) {
        ASSERT_EQ(c.size(), 6u);
        const CDecimal value = Dec(c[0]);
        const int places = std::stoi(c[1]);
        SCOPED_TRACE(c[0] + " places " + c[1]);
        EXPECT_EQ(Narrow(value.ToString(places)), c[2]);
        if (c[3] == "OVERFLOW") {
            EXPECT_EQ(MessageOf<CQxOverFlowException>([&] { (void)value.ToLong(); }),
                      L"The Decimal value if to large to fit into a LONG");
        } else {
            EXPECT_EQ(value.ToLong(), std::stol(c[3]));
        }
        if (c[4] == "OVERFLOW") {
            EXPECT_EQ(MessageOf<CQxOverFlowException>([&] { (void)value.ToLongLong(); }),
                      L"The Decimal value if to large to fit into a LONGLONG");
        } else {
            EXPECT_EQ(value.ToLongLong(), std::stoll(c[4]));
        }
        EXPECT_EQ(value.ToDouble(), std::strtod(c[5].c_str(), nullptr));
    }
}

// The lenient text forms and the parse failures are in text_forms.tsv (TextFormsTest.cpp).
TEST(DecimalTest, NullTextAndTheLargestExponent) {
    EXPECT_EQ(CDecimal(static_cast<const wchar_t*>(nullptr)).ToString(), L"0");
    EXPECT_NO_THROW(CDecimal(L"1e100000"));
}

TEST(DecimalTest, DivisionKeepsTheMaximumPlaces) {
    EXPECT_EQ((CDecimal(1) / CDecimal(3)).ToString(), L"0.333333333333333333333333333333");
    EXPECT_EQ((CDecimal(2) / CDecimal(3)).ToString(), L"0.666666666666666666666666666667");
    const CDecimal five(5);
    EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { (void)(five / CDecimal(L"0.000")); }),
              L"ERROR: Overflow in operator/.");
    EXPECT_EQ(five.ToString(), L"5");
}

TEST(DecimalTest, FixedPlaces) {
    EXPECT_EQ(CDecimal(L"-1.005").ToString(2), L"-1.01");
    EXPECT_EQ(CDecimal(L"2.5").ToString(0), L"3.");
    EXPECT_EQ(CDecimal(L"1234.5").ToString(-3), L"1235.");
    EXPECT_EQ(CDecimal(0).ToString(3), L"0.000");
    EXPECT_EQ(CDecimal(L"0.05").ToString(40), L"0.0500000000000000000000000000000000000000");
}

TEST(DecimalTest, Conversions) {
    EXPECT_EQ(CDecimal(L"2.5").ToLong(), 2);
    EXPECT_EQ(CDecimal(L"2.6").ToLong(), 3);
    EXPECT_EQ(CDecimal(L"2.6").ToLongLong(), 2);
    EXPECT_EQ(CDecimal(L"2.96").ToLongLong(), 3);
    EXPECT_EQ(MessageOf<CQxOverFlowException>([] { (void)CDecimal(L"2147483648").ToLong(); }),
              L"The Decimal value if to large to fit into a LONG");
    EXPECT_EQ(CDecimal(L"-2147483648").ToLong(), -2147483647 - 1);
    EXPECT_EQ(CDecimal(L"9223372036854775807").ToLongLong(), 9223372036854775807ll);
    EXPECT_THROW((void)CDecimal(L"9223372036854775807.5").ToLongLong(), CQxOverFlowException);
    EXPECT_EQ(CDecimal(L"1.7E308").ToDouble(), 1.7e308);
    EXPECT_EQ(MessageOf<CQxOverFlowException>([] { (void)CDecimal(L"1.8E308").ToDouble(); }),
              L"The Decimal value if to large to fit into a Double");
    EXPECT_EQ(CDecimal(L"2.5").ToBigInteger().ToString(), L"2");
    EXPECT_EQ(CDecimal(L"-2.51").ToBigInteger().ToString(), L"-3");
    EXPECT_EQ(CDecimal(CBigInteger(L"-77")).ToString(), L"-77");
}

TEST(DecimalTest, FromDouble) {
    EXPECT_EQ(CDecimal(0.1).ToString(), L"0.1");
    EXPECT_EQ(CDecimal(4.9e-14).ToString(), L"0");
    EXPECT_EQ(CDecimal(5.1e-14).ToString(), L"0.0000000000001");
    EXPECT_EQ(CDecimal(1e20).ToString(), L"100000000000000000000");
    // 13 places of the binary value, as printf writes them.
    EXPECT_EQ(CDecimal(1234.56).ToString(), L"1234.5599999999999");
    for (double value : {3.14159, -1e15 / 7, 2.0 / 3, 123456789.000000001, -0.00012345}) {
        char printed[64];
        std::snprintf(printed, sizeof printed, "%.13f", value);
        EXPECT_TRUE(CDecimal(value) == CDecimal(Widen(printed).c_str())) << printed;
    }
    EXPECT_THROW(CDecimal(1.0 / 0.0), CQxInvalidValueException);
}

TEST(DecimalTest, IncrementDecrementAndSign) {
    CDecimal value(L"0.5");
    EXPECT_EQ((value++).ToString(), L"0.5");
    EXPECT_EQ(value.ToString(), L"1.5");
    EXPECT_EQ((++value).ToString(), L"2.5");
    EXPECT_EQ((--value).ToString(), L"1.5");
    EXPECT_EQ((value--).ToString(), L"1.5");
    EXPECT_EQ((--value).ToString(), L"-0.5");
    EXPECT_EQ(value.GetNegative().ToString(), L"0.5");
    EXPECT_EQ(value.ToString(), L"-0.5");
    value.Negate();
    EXPECT_EQ(value.ToString(), L"0.5");
    CDecimal zero(0);
    zero.Negate();
    EXPECT_EQ(zero.ToString(), L"0");
    EXPECT_TRUE(zero == CDecimal(0));
    EXPECT_FALSE(zero < CDecimal(0));
    EXPECT_EQ(zero.ToString(2), L"0.00");
}

// Arbitrary mixes of the characters the readers know: each text either reads (and then writes
// a form that reads back as the same value) or fails with the documented exception.
TEST(DecimalTest, ArbitraryTextsReadOrFailCleanly) {
    std::mt19937 random(41);
    const wchar_t alphabet[] = L"0123456789+-.eE \t\r\nx9";
    int read = 0;
    for (int i = 0; i < 20000; ++i) {
        std::wstring text;
        const size_t length = random() % 24;
        for (size_t k = 0; k < length; ++k) text += alphabet[random() % 22];
        try {
            const CDecimal value(text.c_str());
            EXPECT_TRUE(CDecimal(value.ToString().c_str()) == value) << Narrow(text);
            const CBigInteger integer(text.c_str());
            EXPECT_TRUE(CBigInteger(integer.ToString().c_str()) == integer) << Narrow(text);
            ++read;
        } catch (const CQxInvalidValueException&) {
        }
    }
    EXPECT_GT(read, 1000);
}

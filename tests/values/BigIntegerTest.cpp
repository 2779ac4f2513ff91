#include <qxxml/support/QxException.h>
#include <qxxml/values/BigInteger.h>
#include <qxxml/values/Decimal.h>

#include "NumberOracle.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>

using namespace QxXmlLib10;
using QxXmlTest::MessageOf;
using QxXmlTest::RunNumberOracle;
using qxxml_test::Narrow;
using qxxml_test::Unescape;
using qxxml_test::Widen;

namespace {

CBigInteger Big(const std::string& text) { return CBigInteger(Widen(text).c_str()); }

std::string Text(const CBigInteger& value) { return Narrow(value.ToString()); }

// Checks every operator of one pair against the reference results of Python's int:
// a, b, a+b, a-b, a*b, a/b, a%b (truncating toward zero, DIV0 for a zero divisor), cmp(a,b).
void CheckArithmetic(const QxXmlTest::OracleCase& c) {
    ASSERT_EQ(c.size(), 8u);
    const CBigInteger a = Big(c[0]);
    const CBigInteger b = Big(c[1]);
    SCOPED_TRACE(c[0] + " , " + c[1]);
    EXPECT_EQ(Text(a), c[0]);
    EXPECT_EQ(Text(a + b), c[2]);
    EXPECT_EQ(Text(a - b), c[3]);
    EXPECT_EQ(Text(a * b), c[4]);
    if (c[5] == "DIV0") {
        EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { (void)(a / b); }), L"ERROR: Overflow in operator/.");
        EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { (void)(a % b); }), L"ERROR: Overflow in operator%.");
    } else {
        EXPECT_EQ(Text(a / b), c[5]);
        EXPECT_EQ(Text(a % b), c[6]);
    }
    QxXmlTest::ExpectOrder(a, b, std::stoi(c[7]));

    // The compound forms agree with the plain ones, also when both sides are one object.
    using QxXmlTest::Compound;
    EXPECT_EQ(Compound(a, b, &CBigInteger::operator+=), c[2]);
    EXPECT_EQ(Compound(a, b, &CBigInteger::operator-=), c[3]);
    EXPECT_EQ(Compound(a, b, &CBigInteger::operator*=), c[4]);
    if (c[5] != "DIV0") {
        EXPECT_EQ(Compound(a, b, &CBigInteger::operator/=), c[5]);
        EXPECT_EQ(Compound(a, b, &CBigInteger::operator%=), c[6]);
    }
    CBigInteger x = a;
    x -= x;
    EXPECT_TRUE(x == CBigInteger(0));

    // Conversions, against the C library's reading of the same text.
    errno = 0;
    const long long native = std::strtoll(c[0].c_str(), nullptr, 10);
    if (errno == ERANGE) {
        EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { (void)static_cast<long long>(a); }),
                  L"ERROR: Value out of bound of LONGLONG.");
    } else {
        EXPECT_EQ(static_cast<long long>(a), native);
        if (native >= -2147483647ll - 1 && native <= 2147483647ll) {
            EXPECT_EQ(static_cast<int>(a), static_cast<int>(native));
        } else {
            EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { (void)static_cast<int>(a); }),
                      L"ERROR: Value out of bound of int.");
        }
    }
}

}  // namespace

TEST(BigIntegerTest, ArithmeticMatchesPythonIntegers) {
    for (const auto& c : RunNumberOracle("bigint_arith", 3000, 11)) CheckArithmetic(c);
}

TEST(BigIntegerTest, ThousandsOfDigits) {
    for (const auto& c : RunNumberOracle("bigint_huge", 12, 5)) CheckArithmetic(c);
}

TEST(BigIntegerTest, ParseMatchesReadingRules) {
    for (const auto& c : RunNumberOracle("bigint_parse", 3000, 13)) {
        ASSERT_EQ(c.size(), 2u);
        const std::wstring text = Widen(Unescape(c[0]));
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(Text(CBigInteger(text.c_str())), c[1]);
    }
}

TEST(BigIntegerTest, DoubleRoundsToNearestWithHalvesDown) {
    for (const auto& c : RunNumberOracle("double_ints", 400, 17)) {
        ASSERT_EQ(c.size(), 2u);
        const double value = std::strtod(c[0].c_str(), nullptr);
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(Text(CBigInteger(value)), c[1]);
    }
    EXPECT_THROW(CBigInteger(1.0 / 0.0), CQxInvalidValueException);
}

TEST(BigIntegerTest, SquareRootIsTheFloorOfTheRoot) {
    for (const auto& c : RunNumberOracle("bigint_sqrt", 300, 19)) {
        ASSERT_EQ(c.size(), 2u);
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(Text(Big(c[0]).SquareRoot()), c[1]);
    }
    EXPECT_EQ(Text(CBigInteger(0).SquareRoot()), "0");
    EXPECT_EQ(MessageOf<CQxInvalidValueException>([] { (void)CBigInteger(-1).SquareRoot(); }),
              L"ERROR: Negative Number in function SquareRoot().");
}

TEST(BigIntegerTest, ZeroInAllItsForms) {
    for (const wchar_t* text : {L"-0", L"   ", L"+"}) EXPECT_TRUE(CBigInteger(text) == CBigInteger(0)) << text;
    EXPECT_EQ(CBigInteger(static_cast<const wchar_t*>(nullptr)).ToString(), L"0");

    // A negative zero equals zero and orders as zero.
    CBigInteger negativeZero(0);
    negativeZero.Negate();
    const CBigInteger zero(0);
    EXPECT_EQ(negativeZero.ToString(), L"0");
    EXPECT_TRUE(negativeZero == zero);
    EXPECT_FALSE(negativeZero < zero);
    EXPECT_FALSE(zero < negativeZero);
    EXPECT_TRUE(negativeZero <= zero && negativeZero >= zero);
    EXPECT_TRUE(negativeZero < CBigInteger(1));
    EXPECT_TRUE(CBigInteger(-1) < negativeZero);
    EXPECT_EQ(static_cast<int>(negativeZero), 0);
}

TEST(BigIntegerTest, TextForms) {
    // The short forms are in text_forms.tsv (TextFormsTest.cpp). Long runs of signs and spaces, and of digits, are read without trouble.
    std::wstring noise;
    for (int i = 0; i < 5000; ++i) noise += i % 3 ? L" " : (i % 2 ? L"-" : L"+");
    EXPECT_EQ(CBigInteger((noise + L"42").c_str()).ToString(), L"42");
    EXPECT_EQ(CBigInteger((L"-" + noise + L"42").c_str()).ToString(), L"-42");
    const std::wstring digits(4000, L'9');
    EXPECT_EQ(CBigInteger(digits.c_str()).ToString(), digits);
}

TEST(BigIntegerTest, FailedCompoundDivisionKeepsTheValue) {
    // The signs are the arithmetic oracle's; here the compound forms' own messages.
    CBigInteger x(5);
    EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { x /= CBigInteger(0); }), L"ERROR: Overflow in operator /=.");
    EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { x %= CBigInteger(0); }), L"ERROR: Overflow in operator%=.");
    EXPECT_EQ(Text(x), "5");  // unchanged by the failed operations
}

TEST(BigIntegerTest, ConversionLimits) {
    EXPECT_EQ(MessageOf<CQxInvalidValueException>([] { (void)static_cast<int>(CBigInteger(L"2147483648")); }),
              L"ERROR: Value out of bound of int.");
    EXPECT_EQ(static_cast<int>(CBigInteger(L"-2147483648")), -2147483647 - 1);
    EXPECT_EQ(static_cast<long long>(CBigInteger(L"-9223372036854775808")), -9223372036854775807ll - 1);
    EXPECT_THROW((void)static_cast<long long>(CBigInteger(L"9223372036854775808")), CQxInvalidValueException);

    EXPECT_EQ(CBigInteger::MAX_LONG.ToString(), L"2147483647");
    EXPECT_EQ(CBigInteger::MIN_LONG.ToString(), L"-2147483648");
    EXPECT_EQ(CBigInteger::MAX_LONGLONG.ToString(), L"9223372036854775807");
    EXPECT_EQ(CBigInteger::MIN_LONGLONG.ToString(), L"-9223372036854775808");
    EXPECT_EQ(CBigInteger::MAX_DOUBLE.ToString(), L"17" + std::wstring(307, L'0'));
    EXPECT_EQ(CBigInteger::MIN_DOUBLE.ToString(), L"-17" + std::wstring(307, L'0'));

    EXPECT_EQ(CBigInteger::Pow10(0).ToString(), L"1");
    EXPECT_EQ(CBigInteger::Pow10(25).ToString(), L"1" + std::wstring(25, L'0'));
}

TEST(BigIntegerTest, SignOperations) {
    const CBigInteger value(-12);
    EXPECT_EQ(Text(value.GetAbs()), "12");
    EXPECT_EQ(Text(value.GetNegative()), "12");
    EXPECT_EQ(Text(value), "-12");  // the Get forms leave the value alone
    CBigInteger copy = value;
    copy.Abs();
    EXPECT_EQ(Text(copy), "12");
    copy.Negate();
    EXPECT_EQ(Text(copy), "-12");
    EXPECT_EQ(Text(CBigInteger(CDecimal(L"-2.6"))), "-3");
    EXPECT_EQ(Text(CBigInteger(CDecimal(L"2.5"))), "2");
}

// CBigInteger and CDecimal against python's int and decimal (values_oracle.py): arithmetic,
// order, reading, rounding and conversions; the edges are in data/numbers.tsv.
#include <qxxml/support/QxException.h>
#include <qxxml/values/BigInteger.h>
#include <qxxml/values/Decimal.h>

#include "common/Messages.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace QxXmlLib10;
using qxxml_test::kNoException;
using qxxml_test::MessageOf;
using qxxml_test::Narrow;
using qxxml_test::Widen;

namespace {

using OracleCase = std::vector<std::string>;

// values_oracle.py MODE COUNT SEED [MAXPLACES], its lines split at tabs.
std::vector<OracleCase> Oracle(const std::string& mode, int count, int seed, int maxPlaces = 30) {
    const std::string args = mode + " " + std::to_string(count) + " " + std::to_string(seed) + " " + std::to_string(maxPlaces);
    std::vector<OracleCase> cases = qxxml_test::Rows(qxxml_test::PythonScript("tests/values/values_oracle.py", args));
    EXPECT_FALSE(cases.empty()) << "values_oracle.py " << args;
    return cases;
}

template <class Number>
Number Read(const std::string& text) { return Number(Widen(qxxml_test::Unescape(text)).c_str()); }
template <class Number>
std::string Text(const Number& value) { return Narrow(value.ToString()); }

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

// Fields: a, b, a+b, a-b, a*b, a/b, [a%b,] cmp(a,b); DIV0 for a zero divisor. Every operator,
// plain and compound (also with both sides one object), and the six relations.
template <class Number>
void CheckArithmetic(const OracleCase& c, bool withRemainder) {
    ASSERT_EQ(c.size(), withRemainder ? 8u : 7u);
    const Number a = Read<Number>(c[0]), b = Read<Number>(c[1]);
    SCOPED_TRACE(c[0] + " , " + c[1]);
    EXPECT_EQ(Text(a), c[0]);
    EXPECT_EQ(Text(a + b), c[2]);
    EXPECT_EQ(Text(a - b), c[3]);
    EXPECT_EQ(Text(a * b), c[4]);
    const auto compound = [&](auto op) {
        Number x = a;
        (x.*op)(b);
        return Text(x);
    };
    EXPECT_EQ(compound(&Number::operator+=), c[2]);
    EXPECT_EQ(compound(&Number::operator-=), c[3]);
    EXPECT_EQ(compound(&Number::operator*=), c[4]);
    EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { EXPECT_EQ(Text(a / b), c[5]); }),
              c[5] == "DIV0" ? L"ERROR: Overflow in operator/." : kNoException);
    if (c[5] != "DIV0") {  // (by zero: data/numbers.tsv)
        EXPECT_EQ(compound(&Number::operator/=), c[5]);
    }
    if constexpr (std::is_same_v<Number, CBigInteger>) {
        EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { EXPECT_EQ(Text(a % b), c[6]); }),
                  c[6] == "DIV0" ? L"ERROR: Overflow in operator%." : kNoException);
        if (c[6] != "DIV0") {
            EXPECT_EQ(compound(&Number::operator%=), c[6]);
        }
    }
    const int order = std::stoi(c.back());
    EXPECT_EQ(std::vector<bool>({a < b, a > b, a == b, a != b, a <= b, a >= b}),
              std::vector<bool>({order < 0, order > 0, order == 0, order != 0, order <= 0, order >= 0}));
    EXPECT_TRUE(Read<Number>(c[2]) == a + b);  // results read back as themselves
    Number x = a;
    x -= x;
    EXPECT_TRUE(x == Number(0));
}

// The integer conversions, against the C library's reading of the same text.
void CheckIntegerConversions(const std::string& text) {
    const CBigInteger a = Read<CBigInteger>(text);
    errno = 0;
    const long long native = std::strtoll(text.c_str(), nullptr, 10);
    const bool fitsLongLong = errno != ERANGE, fitsInt = fitsLongLong && native >= INT_MIN && native <= INT_MAX;
    EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { EXPECT_EQ(static_cast<long long>(a), native); }),
              fitsLongLong ? kNoException : L"ERROR: Value out of bound of LONGLONG.");
    EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { EXPECT_EQ(static_cast<int>(a), static_cast<int>(native)); }),
              fitsInt ? kNoException : L"ERROR: Value out of bound of int.");
}

}  // namespace

TEST(BigIntegerTest, ArithmeticConversionsAndRootsMatchPythonIntegers) {
    for (const auto& c : Oracle("bigint_arith", 3000, 11)) {
        CheckArithmetic<CBigInteger>(c, true);
        CheckIntegerConversions(c[0]);
        const CBigInteger magnitude = Read<CBigInteger>(c[0]).GetAbs(), root = magnitude.SquareRoot();  // r² <= m < (r+1)²
        EXPECT_TRUE(root * root <= magnitude && magnitude < (root + CBigInteger(1)) * (root + CBigInteger(1))) << c[0];
    }
    for (const auto& c : Oracle("bigint_huge", 12, 5)) CheckArithmetic<CBigInteger>(c, true);  // thousands of digits
}

TEST(BigIntegerTest, ReadingAndRoundingMatchPython) {
    for (const auto& c : Oracle("bigint_parse", 3000, 13)) EXPECT_EQ(Text(Read<CBigInteger>(c.at(0))), c.at(1)) << c[0];
    for (const auto& c : Oracle("double_ints", 400, 17))  // to the nearest, a half toward zero
        EXPECT_EQ(Text(CBigInteger(std::strtod(c.at(0).c_str(), nullptr))), c.at(1)) << c[0];
    EXPECT_THROW(CBigInteger(1.0 / 0.0), CQxInvalidValueException);
}

TEST(DecimalTest, ArithmeticMatchesPythonDecimal) {
    for (const auto& c : Oracle("decimal_arith", 3000, 23)) CheckArithmetic<CDecimal>(c, false);
    const auto cases = Oracle("decimal_arith", 500, 29, 10);
    const CMaxPlacesScope places(10);
    for (const auto& c : cases) CheckArithmetic<CDecimal>(c, false);
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

TEST(DecimalTest, ReadingFormattingAndConversionsMatchPython) {
    for (const auto& c : Oracle("decimal_parse", 3000, 31)) EXPECT_EQ(Text(Read<CDecimal>(c.at(0))), c.at(1)) << c[0];
    for (const auto& c : Oracle("decimal_format", 3000, 37)) {
        ASSERT_EQ(c.size(), 6u);
        const CDecimal value = Read<CDecimal>(c[0]);
        SCOPED_TRACE(c[0] + " places " + c[1]);
        EXPECT_EQ(Narrow(value.ToString(std::stoi(c[1]))), c[2]);
        EXPECT_EQ(MessageOf<CQxOverFlowException>([&] { EXPECT_EQ(std::to_string(value.ToLong()), c[3]); }),
                  c[3] == "OVERFLOW" ? L"The Decimal value if to large to fit into a LONG" : kNoException);
        EXPECT_EQ(MessageOf<CQxOverFlowException>([&] { EXPECT_EQ(std::to_string(value.ToLongLong()), c[4]); }),
                  c[4] == "OVERFLOW" ? L"The Decimal value if to large to fit into a LONGLONG" : kNoException);
        EXPECT_EQ(value.ToDouble(), std::strtod(c[5].c_str(), nullptr));
    }
    for (double value : {3.14159, -1e15 / 7, 2.0 / 3, 123456789.000000001, -0.00012345}) {  // 13 places, as printf
        char printed[64];
        std::snprintf(printed, sizeof printed, "%.13f", value);
        EXPECT_TRUE(CDecimal(value) == CDecimal(Widen(printed).c_str())) << printed;
    }
}

// Long runs of signs and spaces, and of digits, are read without trouble.
TEST(DecimalTest, LongRuns) {
    std::wstring noise;
    for (int i = 0; i < 5000; ++i) noise += i % 3 ? L" " : (i % 2 ? L"-" : L"+");
    EXPECT_EQ(CBigInteger((noise + L"42").c_str()).ToString(), L"42");
    EXPECT_EQ(CBigInteger((L"-" + noise + L"42").c_str()).ToString(), L"-42");
    const std::wstring digits(4000, L'9');
    EXPECT_EQ(CBigInteger(digits.c_str()).ToString(), digits);
}

#include <qxxml/support/QxException.h>
#include <qxxml/values/DateTime.h>
#include <qxxml/values/DateTimeSpan.h>

#include "common/Messages.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace QxXmlLib10;

namespace {

using DT = CDateTime;

CDateTimeSpan Span(const wchar_t* text) {
    CDateTimeSpan s;
    s.ParseXSDDuration(text);
    return s;
}

}  // namespace

TEST(DateTimeSpanRead, FieldsAndWriteBack) {
    const CDateTimeSpan s = Span(L"P1Y2M3DT4H5M6.7S");
    using Fields = std::vector<unsigned long long>;
    EXPECT_EQ(Fields({s.GetYears(), s.GetMonths(), s.GetDays(), s.GetHours(), s.GetMinutes(), s.GetSeconds(),
                      s.GetMilliSeconds()}),
              Fields({1, 2, 3, 4, 5, 6, 700}));
    // The text forms and their messages are in text_forms.tsv (TextFormsTest.cpp).
    EXPECT_TRUE(Span(L"-P10D").IsNegative());
    EXPECT_EQ(Span(L"PT0.0005S").GetMicroSeconds(), 500);
    EXPECT_EQ(Span(L"PT0.000000009S").GetNanoSeconds(), 9);
}

TEST(DateTimeSpanRead, YearsKeepSixteenBitsAndNullIsRefused) {
    EXPECT_EQ(Span(L"P70000Y").GetYears(), static_cast<unsigned short>(70000));
    EXPECT_EQ(qxxml_test::MessageOf<CQxInvalidValueException>([] { Span(nullptr); }),
              L"Invalid XSD Duration (Null String)");
}

TEST(DateTimeSpanValue, ConstructionNegationAndZero) {
    EXPECT_EQ(CDateTimeSpan().ToString(), L"P");
    EXPECT_EQ(CDateTimeSpan(1, 90, 5).ToString(), L"PT1H90M5S");
    EXPECT_EQ(CDateTimeSpan(1, 2, 3, 0, 0, 0).ToString(), L"P1Y2M3D");
    EXPECT_EQ(CDateTimeSpan(0, 0, 0, 0, 0, 0, 0, 5, 0).ToString(), L"PT0.000005S");

    CDateTimeSpan s = Span(L"-P1D");
    EXPECT_TRUE(s.GetAsNegative().IsNegative());  // set, not flipped
    s.Negate();
    EXPECT_FALSE(s.IsNegative());
    EXPECT_EQ(s.ToString(), L"P1D");
    s.SetDateTimeSpan(2, 0, 0);
    EXPECT_EQ(s.ToString(), L"PT2H");
    s.Negate();
    s.SetDateTimeSpan(0, 0, 0, 0, 0, 7);
    EXPECT_FALSE(s.IsNegative());  // every setter starts from a cleared, positive span
}

TEST(DateTimeSpanCompare, Operators) {
    // CompareTo is the oracle's below; here the operators built on it.
    EXPECT_TRUE(Span(L"P1Y") == Span(L"P12M"));
    EXPECT_TRUE(Span(L"P1M") != Span(L"P30D"));
    EXPECT_FALSE(Span(L"P1M") < Span(L"P30D") || Span(L"P1M") > Span(L"P30D"));  // indeterminate
    EXPECT_TRUE(Span(L"PT59M") < Span(L"PT1H") && Span(L"PT61M") > Span(L"PT1H"));
}

// Random spans and near-equal rewritings of them, compared by the Python oracle
// (tests/values/datetime_oracle.py) through its own date arithmetic.
TEST(DateTimeSpanCompare, MatchesOracle) {
    int checked = 0;
    for (const std::string& line :
         qxxml_test::Lines(qxxml_test::PythonScript("tests/values/datetime_oracle.py", "97 1500"))) {
        std::istringstream words(line);
        std::string kind, a, b, result;
        words >> kind >> a >> b >> result;
        if (kind != "SPAN") continue;
        const std::wstring wa = qxxml_test::Widen(a), wb = qxxml_test::Widen(b);
        const char* names[] = {"EQ", "LT", "GT", "IND"};
        EXPECT_STREQ(names[Span(wa.c_str()).CompareTo(Span(wb.c_str()))], result.c_str()) << a << " " << b;
        EXPECT_EQ(Span(wa.c_str()).ToString(), wa);
        ++checked;
    }
    EXPECT_EQ(checked, 1500);
}

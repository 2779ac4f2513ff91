// CDateTime and CDateTimeSpan against python's datetime and calendar (values_oracle.py
// dates), and what the case table data/dates.tsv cannot say: huge spans, the clock, the
// constructors of spans.
#include <qxxml/values/DateTime.h>
#include <qxxml/values/DateTimeSpan.h>

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <type_traits>
#include <string>
#include <vector>

using namespace QxXmlLib10;

namespace {

using DT = CDateTime;
using qxxml_test::Widen;

CDateTimeSpan Span(const std::wstring& text) {
    CDateTimeSpan s;
    s.ParseXSDDuration(text.c_str());
    return s;
}

// The order the operators report, named as the oracle names it: EQ, LT, GT or IND.
template <class T>
std::string OrderByOperators(const T& a, const T& b) {
    const std::string order = a == b ? "EQ" : a < b ? "LT" : a > b ? "GT" : "IND";
    EXPECT_EQ(a != b, order != "EQ");
    if constexpr (std::is_same_v<T, DT>) {
        EXPECT_EQ(a <= b, order == "EQ" || order == "LT");
        EXPECT_EQ(a >= b, order == "EQ" || order == "GT");
    }
    return order;
}

}  // namespace

// One oracle run; each line's first word names the check (values_oracle.py explains them).
TEST(DateTimeOracle, EveryLineOfTheOracle) {
    const char* const compareNames[] = {"EQ", "LT", "GT", "IND"};
    std::map<std::string, int> seen;
    for (const std::string& text :
         qxxml_test::Lines(qxxml_test::PythonScript("tests/values/values_oracle.py", "dates 1500 20240506"))) {
        const std::vector<std::string> line = qxxml_test::Words(text);
        if (line.empty()) continue;
        SCOPED_TRACE(text);
        ++seen[line[0]];
        if (line[0] == "SPAN") {
            const CDateTimeSpan a = Span(Widen(line[1])), b = Span(Widen(line.at(2)));
            EXPECT_STREQ(compareNames[a.CompareTo(b)], line.at(3).c_str());
            EXPECT_EQ(OrderByOperators(a, b), line[3]);
            EXPECT_EQ(Span(Widen(line[1])).ToString(), Widen(line[1]));
            continue;
        }
        const DT d(Widen(line.at(1)).c_str());
        if (line[0] == "TEXT") {
            EXPECT_EQ(d.ToString(), Widen(line[1]));
        } else if (line[0] == "ADD") {
            const DT r = d + Span(Widen(line.at(2)));
            const std::vector<long long> got = {r.GetYear(), r.GetMonth(), r.GetDay(), r.GetHour(), r.GetMinute(), r.GetSecond(),
                                                r.GetMilliSecond() * 1000000LL + r.GetMicroSecond() * 1000 + r.GetNanoSecond()};
            std::vector<long long> want;
            for (size_t i = 3; i < 10; ++i) want.push_back(std::stoll(line.at(i)));
            EXPECT_EQ(got, want);
        } else if (line[0] == "NORM") {
            EXPECT_EQ(d.GetNormalized().ToString(), Widen(line.at(2)));
        } else if (line[0] == "TIME") {
            EXPECT_EQ(d.GetTime(), std::stoll(line.at(2)));
            EXPECT_EQ(d.GetDayOfWeek(), std::stoi(line.at(3)));
            EXPECT_EQ(d.GetDayOfYear(), std::stoi(line.at(4)));
            if (!d.IsUTC()) {  // assigning the time back gives the same clock reading (fractions dropped)
                EXPECT_EQ(DT(d.GetTime()).ToString(),
                          DT(d.GetYear(), d.GetMonth(), d.GetDay(), d.GetHour(), d.GetMinute(), d.GetSecond()).ToString());
            }
        } else if (line[0] == "CMP") {
            const DT other(Widen(line.at(2)).c_str());
            EXPECT_STREQ(compareNames[d.CompareTo(other)], line.at(3).c_str());
            EXPECT_EQ(OrderByOperators(d, other), line[3]);
        }
    }
    for (const char* kind : {"TEXT", "ADD", "NORM", "TIME", "CMP", "SPAN"}) EXPECT_GT(seen[kind], 500) << kind;
}

TEST(DateTimeTest, HugeSpansKeepTheClockInRange) {
    // The largest amounts neither overflow nor make the day walk crawl; the year wraps but
    // the clock fields stay in range.
    DT huge(L"2024-01-01T00:00:00");
    huge += CDateTimeSpan(0xFFFF, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, ~0ull, ~0ull, 999, 999, 999);
    EXPECT_LE(huge.GetHour(), 23);
    EXPECT_LE(huge.GetMonth(), 12);
    EXPECT_GE(huge.GetDay(), 1);
    DT t(L"2000-01-01T00:00:00");
    t -= CDateTimeSpan(0, 0, 200000000000ull);
    t += CDateTimeSpan(0, 0, 200000000000ull);
    EXPECT_EQ(t.ToString(), L"2000-01-01T00:00:00");
}

// (The system structures are in data/dates.tsv.)
TEST(DateTimeTest, TheClockGivesALocalDateTime) {
    const DT now = DT::GetTickCount();
    EXPECT_EQ(now.GetType(), DT::dt_dateTime);
    EXPECT_GE(now.GetYear(), 2024);
}

TEST(DateTimeSpanTest, ConstructionNegationAndZero) {
    EXPECT_EQ(CDateTimeSpan().ToString(), L"P");
    EXPECT_EQ(CDateTimeSpan(1, 90, 5).ToString(), L"PT1H90M5S");
    EXPECT_EQ(CDateTimeSpan(1, 2, 3, 0, 0, 0).ToString(), L"P1Y2M3D");
    EXPECT_EQ(CDateTimeSpan(0, 0, 0, 0, 0, 0, 0, 5, 0).ToString(), L"PT0.000005S");

    CDateTimeSpan s = Span(L"-P1D");
    EXPECT_TRUE(s.GetAsNegative().IsNegative());  // set, not flipped
    s.Negate();
    EXPECT_EQ(s.ToString(), L"P1D");
    s.SetDateTimeSpan(2, 0, 0);
    EXPECT_EQ(s.ToString(), L"PT2H");
    s.Negate();
    s.SetDateTimeSpan(0, 0, 0, 0, 0, 7);
    EXPECT_FALSE(s.IsNegative());  // every setter starts from a cleared, positive span
}

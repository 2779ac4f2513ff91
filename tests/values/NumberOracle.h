// NumberOracle.h - reference cases for the number tests, computed by Python's int and decimal
// modules (values_oracle.py beside this file) at test time.
#pragma once

#include <qxxml/support/QxException.h>

#include "common/Messages.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace QxXmlTest {

using OracleCase = std::vector<std::string>;

// Runs values_oracle.py MODE COUNT SEED [MAXPLACES] and returns its lines split at tabs.
// Fails the current test (and returns nothing) when python3 cannot produce the cases.
inline std::vector<OracleCase> RunNumberOracle(const std::string& mode, int count, int seed, int maxPlaces = 30) {
    const std::string args =
        mode + " " + std::to_string(count) + " " + std::to_string(seed) + " " + std::to_string(maxPlaces);
    std::vector<OracleCase> cases = qxxml_test::Rows(qxxml_test::PythonScript("tests/values/values_oracle.py", args));
    EXPECT_FALSE(cases.empty()) << "values_oracle.py " << args;
    return cases;
}

using qxxml_test::MessageOf;

// The six relational operators agree with the oracle's order (negative, 0, positive).
template <class Number>
void ExpectOrder(const Number& a, const Number& b, int order) {
    EXPECT_EQ(a < b, order < 0);
    EXPECT_EQ(a > b, order > 0);
    EXPECT_EQ(a == b, order == 0);
    EXPECT_EQ(a != b, order != 0);
    EXPECT_EQ(a <= b, order <= 0);
    EXPECT_EQ(a >= b, order >= 0);
}

// The text of `a` after the compound operator `op` (e.g. &CDecimal::operator+=) with `b`.
template <class Number, class Op>
std::string Compound(Number a, const Number& b, Op op) {
    (a.*op)(b);
    return qxxml_test::Narrow(a.ToString());
}

}  // namespace QxXmlTest

// Tests of the facet checks of primitive values: which facets each kind honours, the order
// of the checks, bound conversion, partial orders, and the exact messages.

#include <qxxml/core/PrimitiveValueCheck.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/Decimal.h>
#include <qxxml/values/PatternMatcher.h>
#include <qxxml/values/PrimitiveRestrictions.h>
#include <qxxml/values/QxVariant.h>

#include "common/CaseTable.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace QxXmlLib10;

namespace {

constexpr auto kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;

QxVariant Parsed(ItemType type, const wchar_t* text) {
    QxVariant value;
    value.FromString(text, type, kCollapse);
    return value;
}

// The failure of the check as a case table states it ("!other Invalid Value for f [5]": the
// class and the message, see common/CaseTable.h), "" when the value passes.
std::string Outcome(const wchar_t* name, const QxVariant& value, ItemType type,
                    const CPrimitiveRestrictions& restrictions) {
    try {
        CheckPrimitiveValue(name, value, type, restrictions);
    } catch (const CQxException& e) {
        return qxxml_test::FailureText(e);
    }
    return "";
}

// The facets of a row of data/facet_checks.tsv ("minInclusive=5;pattern=x", "-" for none).
CPrimitiveRestrictions Facets(const std::string& field) {
    std::map<std::string, std::wstring> facets;
    for (size_t start = 0; field != "-" && start <= field.size();) {
        const size_t end = std::min(field.find(';', start), field.size());
        const std::string facet = field.substr(start, end - start);
        facets[facet.substr(0, facet.find('='))] =
            qxxml_test::FromUtf8(qxxml_test::Unescape(facet.substr(facet.find('=') + 1)));
        start = end + 1;
    }
    const auto text = [&](const char* name) { return facets.count(name) ? facets[name].c_str() : nullptr; };
    const auto number = [&](const char* name) { return facets.count(name) ? std::stoi(facets[name]) : -1; };
    return CPrimitiveRestrictions(text("pattern"), number("minLength"), number("maxLength"), text("minInclusive"),
                                  text("maxInclusive"), text("minExclusive"), text("maxExclusive"), number("length"));
}

}  // namespace

TEST(PrimitiveValueCheck, FacetsOfEveryKindGiveTheExactMessage) {
    for (const qxxml_test::CCaseRow& row : qxxml_test::CaseRows("tests/core/data/facet_checks.tsv", 4)) {
        SCOPED_TRACE(row.where + ": " + row.line);
        // "checked<parsed": the value parsed as another kind (without "<", npos + 1 is 0: the same).
        const size_t split = row.fields[0].find('<');
        const ItemType type = qxxml_test::ItemTypeNamed(row.fields[0].substr(0, split));
        const ItemType parsed = qxxml_test::ItemTypeNamed(row.fields[0].substr(split + 1));
        const std::wstring value = qxxml_test::FromUtf8(qxxml_test::Unescape(row.fields[1]));
        const std::string outcome = Outcome(L"f", Parsed(parsed, value.c_str()), type, Facets(row.fields[2]));
        EXPECT_EQ(outcome.empty() ? "-" : outcome, row.fields[3]);
    }
    // NaN satisfies no bound that is set.
    EXPECT_NE(Outcome(L"f", Parsed(ItemType_r8, L"NaN"), ItemType_r8, Facets("minInclusive=-INF")), "");
}

// Random doubles (quarters, exact in every form) and decimals against random bounds of each
// facet, python's decimal comparison the oracle; a broken bound of a double names the value as
// python's "%f" does.
TEST(PrimitiveValueCheck, RandomNumericBoundsAgreeWithPython) {
    std::mt19937 random(20240506);
    const auto digit = [&] { return std::uniform_int_distribution<int>(0, 9)(random); };
    const auto randomDecimal = [&] {
        std::string text = digit() < 4 ? "-" : "";
        for (int i = 0, whole = 1 + digit() % 3; i < whole; ++i) text += char('0' + digit());
        text += '.';
        for (int i = 0, fraction = 1 + digit() % 4; i < fraction; ++i) text += char('0' + digit() % 3);
        return text;
    };
    const auto randomQuarter = [&] { return std::to_string(std::uniform_int_distribution<int>(-50, 50)(random) / 4.0); };
    struct Case {
        ItemType type;
        std::string value, bound;
    };
    std::vector<Case> cases;
    std::ostringstream lines;
    for (int i = 0; i < 300; ++i) {
        const ItemType type = i % 2 ? ItemType_r8 : ItemType_decimal;
        const std::string value = type == ItemType_r8 ? randomQuarter() : randomDecimal();
        const std::string bound = digit() < 2 ? value : type == ItemType_r8 ? randomQuarter() : randomDecimal();
        cases.push_back({type, value, bound});
        lines << value << ' ' << bound << '\n';
    }
    const std::string input = qxxml_test::TempPath("bounds.txt");
    qxxml_test::WriteFile(input, lines.str());
    // Per case: whether the value breaks minInclusive, maxInclusive, minExclusive, maxExclusive.
    std::istringstream expected(
        qxxml_test::Python("import sys\nfrom decimal import Decimal as D\n"
                           "for line in open(sys.argv[1]):\n"
                           "    v, b = map(D, line.split())\n"
                           "    print('%d%d%d%d %f' % (v < b, v > b, v <= b, v >= b, v))\n",
                           "'" + input + "'"));
    const std::string names[] = {"minInclusive", "maxInclusive", "minExclusive", "maxExclusive"};
    for (const Case& c : cases) {
        std::string line;
        std::getline(expected, line);
        QxVariant value;
        if (c.type == ItemType_r8)
            value.SetR8(std::stod(c.value));
        else
            value.SetDecimal(CDecimal(qxxml_test::Widen(c.value).c_str()));
        for (int facet = 0; facet < 4; ++facet) {
            SCOPED_TRACE(c.value + " against " + names[facet] + " " + c.bound);
            const std::string outcome = Outcome(L"x", value, c.type, Facets(names[facet] + "=" + c.bound));
            EXPECT_EQ(!outcome.empty(), line[facet] == '1');
            if (c.type == ItemType_r8 && !outcome.empty()) {
                EXPECT_EQ(outcome, "!other Invalid Value for x [" + line.substr(5) + "]");
            }
        }
    }
}

TEST(PrimitiveValueCheck, AnInvalidPatternReportsItsOwnFailureAndTheValue) {
    QxVariant value;
    value.SetString(L"x");
    std::wstring expected;
    try {
        MatchesPattern("(", L"x");
    } catch (const CQxException& e) {
        expected = e.GetFullMessage();
    }
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Outcome(L"p", value, ItemType_string, Facets("pattern=(")),
              "!other " + qxxml_test::ToUtf8(expected) + "\nInvalid Value for p [x]");
}

// Every facet set to a value the given value breaks (and bounds unreadable): only the facets
// of the kind's row of data/facet_kinds.tsv may take part.
TEST(PrimitiveValueCheck, EachKindHonoursExactlyItsFacets) {
    const CPrimitiveRestrictions lengthsOnly = Facets("minLength=100;maxLength=0;length=50;pattern=never");
    const CPrimitiveRestrictions unreadableBounds = Facets("minInclusive=?;maxInclusive=?;minExclusive=?;maxExclusive=?");
    const CPrimitiveRestrictions patternOnly = Facets("pattern=never");
    for (const qxxml_test::CCaseRow& row : qxxml_test::CaseRows("tests/core/data/facet_kinds.tsv", 4)) {
        SCOPED_TRACE(row.where + ": " + row.line);
        const ItemType type = qxxml_test::ItemTypeNamed(row.fields[0]);
        const QxVariant value = Parsed(type, qxxml_test::Widen(row.fields[1]).c_str());
        EXPECT_EQ(!Outcome(L"f", value, type, lengthsOnly).empty(), row.fields[2] == "1");
        EXPECT_EQ(!Outcome(L"f", value, type, patternOnly).empty(), type == ItemType_string);
        // An honoured bound that cannot be read fails in its conversion; an ignored one is
        // never read.
        EXPECT_EQ(!Outcome(L"f", value, type, unreadableBounds).empty(), row.fields[3] == "1");
    }
}

TEST(PrimitiveValueCheck, ChangingBoundsAreNeverServedStale) {
    QxVariant value, real;
    value.SetI4(15);
    real.SetR8(15.5);
    // The same text under several kinds, and many distinct texts, so cache slots are shared
    // and evicted; every answer must still follow the facets of its call.
    for (int round = 0; round < 3; ++round) {
        for (int bound = 0; bound < 300; ++bound) {
            const std::string text = std::to_string(bound);
            EXPECT_EQ(Outcome(L"v", value, ItemType_i4, Facets("minInclusive=" + text)).empty(), bound <= 15);
            EXPECT_EQ(Outcome(L"v", real, ItemType_r8, Facets("maxInclusive=" + text)).empty(), 15.5 <= bound);
        }
    }
}

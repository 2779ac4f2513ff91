// Reading primitive and enumeration elements through the descriptors, from real parsed trees:
// the xsi:nil decision, text conversion (whitespace rule, no facet check, failures passed
// on), recognition by name and namespace, the answers of optional members in each group, and
// the mandatory search of sequences with its leniency switches and its soft mode.

#include "metadata/BehaviourTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace metadata_test;

namespace {

using Members = std::vector<std::unique_ptr<CElementInfo>>;

constexpr auto kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;
constexpr auto kPreserve = CWhitespaceUtils::WhitespaceRule_Preserve;

const wchar_t* ColourText(int value) { return value == 1 ? L"green" : L"red"; }
int ColourValue(const wchar_t* text) {
    const std::wstring t = text;
    return t == L"green" ? 1 : t == L"red" ? 0 : -1;
}

// <r> with the xsi prefix declared, around `content`.
std::wstring Doc(const std::wstring& content) {
    return L"<r xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'>" + content + L"</r>";
}

CElementInfoSeqPrimOpt Number(bool nillable, const CPrimitiveRestrictions& facets = CPrimitiveRestrictions()) {
    return CElementInfoSeqPrimOpt(L"v", L"", 0, nillable, ItemType_i4, nullptr, kCollapse, facets);
}

// Members that answer false when their element is not at the cursor.
Members MatchOrFalseMembers() {
    Members members;
    const CPrimitiveRestrictions none;
    members.emplace_back(new CElementInfoChoicePrimOpt(L"v", L"", 0, false, ItemType_i4, nullptr, kCollapse, none));
    members.emplace_back(new CElementInfoAllPrimMnd(L"v", L"", 0, false, ItemType_i4, nullptr, kCollapse, none));
    members.emplace_back(new CElementInfoAllPrimOpt(L"v", L"", 0, false, ItemType_i4, nullptr, kCollapse, none));
    members.emplace_back(new CElementInfoChoiceEnumOpt(L"v", L"", 0, false, &ColourText, &ColourValue));
    members.emplace_back(new CElementInfoAllEnumMnd(L"v", L"", 0, false, &ColourText, &ColourValue));
    members.emplace_back(new CElementInfoAllEnumOpt(L"v", L"", 0, false, &ColourText, &ColourValue));
    return members;
}

// The number the property holds after reading.
int32_t StoredNumber(const CTestObject& object) { return object.m_properties[0].GetI4(); }

}  // namespace

// ------------------------------------------------------------------ nil

TEST(ElementValueReading, NilMarksAreReadAsNilRefusedOrIgnored) {
    const wchar_t* const nonNillable = L"Invalid use of 'nil' attibute in non-nillable element [v]";
    const struct {
        bool nillable;
        const wchar_t* element;
        const wchar_t* message;  // null: read; then nil unless the text 5 is stored
        bool nil;
    } cases[] = {
        {true, L"<v xsi:nil='true'>5</v>", nullptr, true},
        {true, L"<v xsi:nil='True'>5</v>", nullptr, true},
        {true, L"<v xsi:nil='1'>5</v>", nullptr, true},
        {true, L"<v xsi:nil='false'>5</v>", nullptr, false},
        {false, L"<v xsi:nil='0'>5</v>", nullptr, false},
        {false, L"<v xsi:nil=''>5</v>", nullptr, false},
        {false, L"<v nil='true'>5</v>", nullptr, false},  // not in the instance namespace
        {true, L"<v xsi:nil='yes'>5</v>", L"Unexpected Value [yes] for 'nil' Attribute found.", false},
        // The non-nillable complaint comes first.
        {false, L"<v xsi:nil='true'>5</v>", nonNillable, false},
        {false, L"<v xsi:nil='yes'>5</v>", nonNillable, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.element) + (c.nillable ? " nillable" : ""));
        CElementInfoSeqPrimOpt info = Number(c.nillable);
        CTestObject object;
        Reading reading(Doc(c.element + std::wstring(L"<z/>")).c_str());
        if (c.message) {
            EXPECT_EQ(
                MessageOf<CQxValidationException>([&] { reading.Read(info, object, CXmlSerializationContext()); }),
                c.message);
            EXPECT_FALSE(object.m_properties[0].IsValid());  // nothing stored
            EXPECT_EQ(reading.CursorName(), L"v");
            continue;
        }
        EXPECT_TRUE(reading.Read(info, object, CXmlSerializationContext()));
        EXPECT_EQ(object.m_properties[0].IsNil(), c.nil);
        if (!c.nil) {
            EXPECT_EQ(StoredNumber(object), 5);
        }
        EXPECT_EQ(reading.CursorName(), L"z");
    }
}

// ------------------------------------------------------------------ text

TEST(ElementValueReading, TextIsParsedUnderTheWhitespaceRuleWithoutAFacetCheck) {
    // The facet would refuse 42 on writing; reading takes it.
    const CPrimitiveRestrictions aboveHundred(nullptr, -1, -1, nullptr, nullptr, L"100", nullptr, -1);
    CElementInfoSeqPrimOpt info = Number(false, aboveHundred);
    CTestObject object;
    Reading reading(L"<r><v>\n  42 \t</v></r>");
    EXPECT_TRUE(reading.Read(info, object, CXmlSerializationContext()));
    EXPECT_EQ(StoredNumber(object), 42);
    EXPECT_EQ(reading.cursor, nullptr);

    CElementInfoSeqPrimOpt text(L"s", L"", 0, false, ItemType_string, nullptr, kPreserve, CPrimitiveRestrictions());
    Reading spaced(L"<r><s>  a  b </s></r>");
    EXPECT_TRUE(spaced.Read(text, object, CXmlSerializationContext()));
    EXPECT_EQ(object.m_properties[0].GetString(), L"  a  b ");
}

TEST(ElementValueReading, ConversionFailuresPassThroughAndStoreNothing) {
    // The conversion's own complaint is the oracle.
    const std::wstring expected = MessageOf([] { QxVariant().FromString(L"4x", ItemType_i4, kCollapse); });
    ASSERT_NE(expected, L"(no exception)");
    CElementInfoSeqPrimOpt info = Number(false);
    CTestObject object;
    Reading reading(L"<r><v>4x</v><z/></r>");
    EXPECT_EQ(MessageOf([&] { reading.Read(info, object, CXmlSerializationContext()); }), expected);
    EXPECT_FALSE(object.m_properties[0].IsValid());
    EXPECT_EQ(reading.CursorName(), L"v");
}

TEST(ElementValueReading, EnumerationsStoreTheGeneratedNumberOfTheRawText) {
    CElementInfoSeqEnumOpt info(L"c", L"", 0, false, &ColourText, &ColourValue);
    CTestObject object;
    Reading reading(L"<r><c>green</c><c> red </c></r>");
    EXPECT_TRUE(reading.Read(info, object, CXmlSerializationContext()));
    EXPECT_EQ(object.m_properties[0].GetTypeAsEnum(), ItemType_i4);
    EXPECT_EQ(StoredNumber(object), 1);
    // The text goes to the generated function as it stands.
    EXPECT_TRUE(reading.Read(info, object, CXmlSerializationContext()));
    EXPECT_EQ(StoredNumber(object), -1);
}

// ------------------------------------------------------------------ recognition and absence

TEST(ElementValueReading, NamespacesMustMatchUnlessIgnored) {
    CElementInfoSeqPrimOpt info = Number(false);
    CTestObject object;
    Reading reading(L"<r xmlns:p='urn:p'><p:v>3</p:v></r>");
    EXPECT_TRUE(reading.Read(info, object, CXmlSerializationContext()));  // not its element
    EXPECT_FALSE(object.m_properties[0].IsValid());
    EXPECT_EQ(reading.CursorName(), L"v");
    CXmlSerializationContext ignoring;
    ignoring.SetIgnoreNamespaces(true);
    EXPECT_TRUE(reading.Read(info, object, ignoring));
    EXPECT_EQ(StoredNumber(object), 3);
}

TEST(ElementValueReading, OptionalSequenceMembersAcceptAbsence) {
    CElementInfoSeqPrimOpt prim = Number(false);
    CElementInfoSeqEnumOpt enumeration(L"v", L"", 0, false, &ColourText, &ColourValue);
    for (CElementInfo* info : {static_cast<CElementInfo*>(&prim), static_cast<CElementInfo*>(&enumeration)}) {
        for (XmlElementType caller : {XmlElementType_Element, kSoft}) {
            CTestObject object;
            Reading reading(L"<r><x/></r>");
            EXPECT_TRUE(reading.Read(*info, object, CXmlSerializationContext(), caller));
            EXPECT_EQ(reading.CursorName(), L"x");
            reading.cursor = nullptr;
            EXPECT_TRUE(reading.Read(*info, object, CXmlSerializationContext(), caller));
            EXPECT_TRUE(object.m_accessLog.empty());  // the property was not touched
        }
    }
}

TEST(ElementValueReading, ChoiceAndAllMembersAnswerWhetherTheyTookTheirElement) {
    for (const auto& member : MatchOrFalseMembers()) {
        SCOPED_TRACE(typeid(*member).name());
        CTestObject object;
        Reading absent(L"<r><x/></r>");
        EXPECT_FALSE(absent.Read(*member, object, CXmlSerializationContext()));
        EXPECT_EQ(absent.CursorName(), L"x");
        absent.cursor = nullptr;
        EXPECT_FALSE(absent.Read(*member, object, CXmlSerializationContext()));
        EXPECT_TRUE(object.m_accessLog.empty());

        Reading present(L"<r><v>1</v><x/></r>");
        EXPECT_TRUE(present.Read(*member, object, CXmlSerializationContext()));
        EXPECT_EQ(present.CursorName(), L"x");
        EXPECT_EQ(object.m_accessLog, std::vector<std::string>{"0w"});
    }
}

// ------------------------------------------------------------------ the mandatory search

TEST(MandatorySearch, AMissingMandatoryElementIsAnErrorUnlessALeniencyApplies) {
    CElementInfoSeqPrimMnd prim(L"v", L"", 0, false, ItemType_i4, nullptr, kCollapse, CPrimitiveRestrictions());
    CElementInfoSeqEnumMnd enumeration(L"v", L"", 0, false, &ColourText, &ColourValue);
    const struct {
        CElementInfo* info;
        const wchar_t* xml;
    } cases[] = {{&prim, L"<r><x/><y/><v>1</v><z/></r>"}, {&enumeration, L"<r><x/><y/><v>green</v><z/></r>"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(typeid(*c.info).name());
        for (const wchar_t* xml : {c.xml, L"<r/>"}) {
            CTestObject object;
            Reading reading(xml);
            EXPECT_EQ(MessageOf<CQxValidationException>(
                          [&] { reading.Read(*c.info, object, CXmlSerializationContext()); }),
                      L"Failed to find a required element [v]");
        }
        // Ignoring missing elements leaves cursor and property alone.
        CTestObject object;
        Reading reading(c.xml);
        EXPECT_TRUE(reading.Read(*c.info, object, IgnoringMissingMandatoryElements()));
        EXPECT_EQ(reading.CursorName(), L"x");
        EXPECT_FALSE(object.m_properties[0].IsValid());

        // Ignoring unknown elements skips to it, but it must be there.
        EXPECT_TRUE(reading.Read(*c.info, object, IgnoringUnknownElements()));
        EXPECT_EQ(StoredNumber(object), 1);
        EXPECT_EQ(reading.CursorName(), L"z");
        Reading absent(L"<r><x/><y/></r>");
        EXPECT_EQ(MessageOf([&] { absent.Read(*c.info, object, IgnoringUnknownElements()); }),
                  L"Failed to find a required element [v]");
    }
}

TEST(MandatorySearch, SoftPrimitivesSkipLikeTheSearchButAnswerFalse) {
    CElementInfoSeqPrimMnd info(L"v", L"", 0, false, ItemType_i4, nullptr, kCollapse, CPrimitiveRestrictions());
    CTestObject object;
    Reading found(L"<r><x/><v>1</v><z/></r>");
    EXPECT_TRUE(found.Read(info, object, IgnoringUnknownElements(), kSoft));
    EXPECT_EQ(StoredNumber(object), 1);
    EXPECT_EQ(found.CursorName(), L"z");

    // The elements skipped on the way stay skipped.
    Reading skipped(L"<r><x/><y/></r>");
    EXPECT_FALSE(skipped.Read(info, object, IgnoringUnknownElements(), kSoft));
    EXPECT_EQ(skipped.cursor, nullptr);

    Reading strict(L"<r><x/><v>1</v></r>");
    EXPECT_FALSE(strict.Read(info, object, CXmlSerializationContext(), kSoft));
    EXPECT_EQ(strict.CursorName(), L"x");

    // Soft mode does not consult the missing-mandatory leniency: it answers false.
    Reading lenient(L"<r><x/></r>");
    EXPECT_FALSE(lenient.Read(info, object, IgnoringMissingMandatoryElements(), kSoft));
    EXPECT_EQ(lenient.CursorName(), L"x");
}

TEST(MandatorySearch, SoftEnumerationsAnswerFalseAtOnce) {
    CElementInfoSeqEnumMnd info(L"c", L"", 0, false, &ColourText, &ColourValue);
    CTestObject object;
    Reading reading(L"<r><x/><c>green</c></r>");
    EXPECT_FALSE(reading.Read(info, object, IgnoringUnknownElements(), kSoft));
    EXPECT_EQ(reading.CursorName(), L"x");  // nothing skipped
    reading.cursor = reading.Child(1);
    EXPECT_TRUE(reading.Read(info, object, IgnoringUnknownElements(), kSoft));
    EXPECT_EQ(StoredNumber(object), 1);
    EXPECT_EQ(reading.cursor, nullptr);
}

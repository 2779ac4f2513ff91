// Tests of the typed collections of primitive values: additions and their notifications,
// facet checks, removal, copies, writing through the XML text writer and reading from a
// parsed tree, with Python's expat and random module as the independent side.
#include "CollectionTestSupport.h"

namespace QxXmlTest {
namespace {

CPrimitiveRestrictions Bounds(const wchar_t* minInclusive, const wchar_t* maxInclusive,
                              const wchar_t* minExclusive = nullptr, const wchar_t* maxExclusive = nullptr) {
    return CPrimitiveRestrictions(nullptr, -1, -1, minInclusive, maxInclusive, minExclusive, maxExclusive, -1);
}

std::vector<int32_t> Values(const Ci4Col& col) { return std::vector<int32_t>(col.begin(), col.end()); }

// ------------------------------------------------------------------ adding

TEST(TypedCollectionTest, AddAndAddAtPlaceValuesAndNotifyWithTheValue) {
    CSmartPtr<Exposed<Ci4Col>> col(MakeCollection<Ci4Col>(L"n", L""));
    struct ValueSink : CRecordingSink {
        void OnEvent(CXmlObjectBase* source, MsgType type, void* data) override {
            CRecordingSink::OnEvent(source, type, data);
            if (data && type != MsgType_CollectionRemove && type != MsgType_CollectionRemoveComplete)
                seen.push_back(*static_cast<int32_t*>(data));
        }
        std::vector<int32_t> seen;
    } sink;
    col->AddEventListener(&sink);
    col->Add(2);
    col->AddAt(0, 1);
    col->AddAt(2, 4);
    col->AddAt(2, 3);
    EXPECT_EQ(Values(*col), (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(sink.events.size(), 12u);  // add, add-complete, change each
    EXPECT_EQ(sink.seen, (std::vector<int32_t>{2, 2, 1, 1, 4, 4, 3, 3}));
}

TEST(TypedCollectionTest, BadIndexOrBrokenFacetThrowsAfterTheAddNotificationAndKeepsTheItems) {
    CSmartPtr<Exposed<Ci4Col>> col(MakeCollection<Ci4Col>(L"score", L"", 0, -1, Bounds(L"0", L"100")));
    CRecordingSink sink;
    col->AddEventListener(&sink);
    col->Add(0);
    col->Add(100);
    EXPECT_EQ(MessageOf([&] { col->Add(101); }), L"Invalid Value for score [101]");
    EXPECT_EQ(MessageOf([&] { col->AddAt(0, -1); }), L"Invalid Value for score [-1]");
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->AddAt(3, 9); }), L"Index out of range");
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->AddAt(-1, 9); }), L"Index out of range");
    EXPECT_EQ(Values(*col), (std::vector<int32_t>{0, 100}));
    EXPECT_EQ(sink.Sequence(), "add add-complete change add add-complete change add add add add");
}

TEST(TypedCollectionTest, FacetsOfLengthKindsReportTheirTextForm) {
    CSmartPtr<Exposed<CstringCol>> codes(MakeCollection<CstringCol>(
        L"code", L"", 0, -1, CPrimitiveRestrictions(L"[A-Z]{2}\\d*", -1, 4, nullptr, nullptr, nullptr, nullptr, -1)));
    codes->Add(L"AB12");
    EXPECT_EQ(MessageOf([&] { codes->Add(L"AB123"); }), L"Invalid Value for code [AB123]");
    EXPECT_EQ(MessageOf([&] { codes->Add(L"ab"); }), L"Invalid Value for code [ab]");
    CSmartPtr<Exposed<ChexBinaryCol>> blobs(MakeCollection<ChexBinaryCol>(
        L"blob", L"", 0, -1, CPrimitiveRestrictions(nullptr, -1, -1, nullptr, nullptr, nullptr, nullptr, 2)));
    unsigned char bytes[] = {0xAB, 0xCD, 0xEF};
    blobs->Add(CBinaryData(bytes, 2, false));
    EXPECT_EQ(MessageOf([&] { blobs->Add(CBinaryData(bytes, 3, false)); }), L"Invalid Value for blob [ABCDEF]");
}

// ------------------------------------------------------------------ removing and reading items

TEST(TypedCollectionTest, RemoveNotifiesWithTheIndexEvenWhenItFails) {
    CSmartPtr<Exposed<Ci4Col>> col(MakeCollection<Ci4Col>(L"n", L""));
    for (int32_t v : {10, 20, 30}) col->Add(v);
    CRecordingSink sink;
    col->AddEventListener(&sink);
    col->Remove(1);
    EXPECT_EQ(Values(*col), (std::vector<int32_t>{10, 30}));
    EXPECT_EQ(sink.Sequence(), "remove(1) remove-complete(1) change");
    sink.events.clear();
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->Remove(2); }), L"Index 2 is out of range, use 0 - 2");
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->Remove(-1); }),
              L"Index -1 is out of range, use 0 - 2");
    EXPECT_EQ(sink.Sequence(), "remove(2) remove(-)");  // -1 is delivered as "no index"
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->Item(2); }), L"Index 2 is out of range, use 0 - 2");
    EXPECT_EQ(sink.events.size(), 2u);  // Item tells nothing
}

TEST(TypedCollectionTest, ClearRemovesFromTheFrontOneNotifiedItemAtATime) {
    CSmartPtr<Exposed<CstringCol>> col(MakeCollection<CstringCol>(L"s", L""));
    for (const wchar_t* s : {L"a", L"b", L"c"}) col->Add(s);
    CRecordingSink sink;
    col->AddEventListener(&sink);
    col->Clear();
    std::string expected;
    for (int i = 0; i < 3; ++i) expected += std::string(i ? " " : "") + "remove(0) remove-complete(0) change";
    EXPECT_EQ(sink.Sequence(), expected);
    EXPECT_EQ(col->GetCount(), 0);
}

TEST(TypedCollectionTest, CopiesTakeEverythingAndTellNoOne) {
    CSmartPtr<Exposed<Ci4Col>> col(MakeCollection<Ci4Col>(L"n", L"urn:a", 1, 5, Bounds(L"0", nullptr)));
    col->Add(1), col->Add(2);
    CRecordingSink sink;
    col->AddEventListener(&sink);
    CSmartPtr<Exposed<Ci4Col>> copy(new Exposed<Ci4Col>(*col));
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(Values(*copy), Values(*col));
    EXPECT_EQ(MessageOf([&] { copy->Add(-1); }), L"Invalid Value for n [-1]");
    // The listener list is copied too; the items are independent.
    copy->Add(3);
    EXPECT_EQ(col->GetCount(), 2);
    EXPECT_EQ(sink.events.size(), 4u);  // the failed add, then add, add-complete, change
    EXPECT_EQ(sink.events.back().source, copy.Get());

    CSmartPtr<Exposed<Ci4Col>> assigned(MakeCollection<Ci4Col>(L"other", L""));
    *assigned = *col;
    EXPECT_EQ(Values(*assigned), (std::vector<int32_t>{1, 2}));
    assigned->Clear();
    EXPECT_EQ(MessageOf<CQxValidationException>([&] { assigned->ValidateCount(CXmlSerializationContext()); }),
              L"The Minimum number of [n] elements allowed in this collection is 1");
}

// ------------------------------------------------------------------ writing

TEST(TypedCollectionTest, WritesEachItemWithTheCollectionsOwnNameAndNamespace) {
    CSmartPtr<Exposed<Ci4Col>> col(MakeCollection<Ci4Col>(L"n", L"urn:items"));
    for (int32_t v : {-5, 0, 2147483647}) col->Add(v);
    const std::wstring text = WriteInRoot(*col, CXmlSerializationContext::GetDefaultContext(), L"urn:ignored");
    EXPECT_EQ(text,
              L"<root><AA:n xmlns:AA=\"urn:items\">-5</AA:n><AA:n xmlns:AA=\"urn:items\">0</AA:n>"
              L"<AA:n xmlns:AA=\"urn:items\">2147483647</AA:n></root>");
}

TEST(TypedCollectionTest, WritingChecksTheCount) {
    CSmartPtr<Exposed<Ci4Col>> col(MakeCollection<Ci4Col>(L"n", L"", 1, 2));
    CXmlSerializationContext context;
    EXPECT_EQ(MessageOf<CQxValidationException>([&] { WriteInRoot(*col, context); }),
              L"The Minimum number of [n] elements allowed in this collection is 1");
    context.SetIgnoreInvalidCollectionCounts(true);
    EXPECT_EQ(WriteInRoot(*col, context), L"<root/>");
    for (int32_t v : {1, 2, 3}) col->Add(v);
    EXPECT_EQ(WriteInRoot(*col, context), L"<root><n>1</n><n>2</n><n>3</n></root>");
    context.SetIgnoreInvalidCollectionCounts(false);
    EXPECT_EQ(MessageOf<CQxValidationException>([&] { WriteInRoot(*col, context); }),
              L"The Maximum number of [n] elements allowed in this collection is 2");
}

TEST(TypedCollectionTest, FormatOverrideAppliesToRealsAndDecimalsOnly) {
    const CXmlSerializationContext& context = CXmlSerializationContext::GetDefaultContext();
    const auto collapse = W::WhitespaceRule_Collapse;
    CSmartPtr<Exposed<Cr8Col>> reals(MakeCollection<Cr8Col>(L"r", L"", 0, -1, {}, collapse, L"%.3f"));
    reals->Add(2.5);
    EXPECT_EQ(WriteInRoot(*reals, context), L"<root><r>2.500</r></root>");
    CSmartPtr<Exposed<Ci4Col>> ints(MakeCollection<Ci4Col>(L"i", L"", 0, -1, {}, collapse, L"%.3f"));
    ints->Add(7);
    EXPECT_EQ(WriteInRoot(*ints, context), L"<root><i>7</i></root>");
    CSmartPtr<Exposed<CdecimalCol>> decimals(MakeCollection<CdecimalCol>(L"d", L"", 0, -1, {}, collapse, L"2"));
    decimals->Add(CDecimal(L"1.5"));
    EXPECT_EQ(WriteInRoot(*decimals, context),
              L"<root><d>" + CConversions::decimalToString(CDecimal(L"1.5"), L"2") + L"</d></root>");
}

// ------------------------------------------------------------------ reading

TEST(TypedCollectionTest, ReadingTakesTheRunAndStopsAtTheFirstOtherElement) {
    CSmartPtr<Exposed<Ci4Col>> col(MakeCollection<Ci4Col>(L"n", L"urn:a"));
    const CXmlSerializationContext& context = CXmlSerializationContext::GetDefaultContext();
    EXPECT_EQ(ReadFromRoot(*col,
                           L"<r xmlns='urn:a'><n>1</n><n> 2 </n><n>3</n><m>4</m><n>5</n></r>", context),
              L"m");
    EXPECT_EQ(Values(*col), (std::vector<int32_t>{1, 2, 3}));

    // Another namespace stops the run too.
    col->Clear();
    EXPECT_EQ(ReadFromRoot(*col, L"<r xmlns='urn:a'><n>1</n><n xmlns='urn:b'>2</n></r>", context), L"n");
    EXPECT_EQ(Values(*col), (std::vector<int32_t>{1}));

    // Without namespaces only local names are compared.
    CXmlSerializationContext ignoring;
    ignoring.SetIgnoreNamespaces(true);
    EXPECT_EQ(ReadFromRoot(*col, L"<r xmlns='urn:a'><n>1</n><n xmlns='urn:b'>2</n></r>", ignoring), L"");
    EXPECT_EQ(Values(*col), (std::vector<int32_t>{1, 1, 2}));

    // Reading appends to what is there; a null cursor adds nothing.
    CXmlDocument document;
    document.LoadXml(L"<r/>");
    EXPECT_EQ(col->FromXml_Int(document.GetDocumentElement(), nullptr, context, false), nullptr);
    EXPECT_EQ(col->GetCount(), 3);
}

TEST(TypedCollectionTest, ConversionFailureKeepsTheItemsReadBeforeIt) {
    CSmartPtr<Exposed<Ci4Col>> col(MakeCollection<Ci4Col>(L"n", L""));
    const std::wstring expected = MessageOf([] {
        CConversions::i4FromString(L"x7", W::WhitespaceRule_Collapse);
    });
    EXPECT_NE(expected, kNoException);
    EXPECT_EQ(MessageOf([&] {
                  ReadFromRoot(*col, L"<r><n>1</n><n>2</n><n>x7</n><n>4</n></r>",
                               CXmlSerializationContext::GetDefaultContext());
              }),
              expected);
    EXPECT_EQ(Values(*col), (std::vector<int32_t>{1, 2}));
}

TEST(TypedCollectionTest, ReadingAppliesTheWhitespaceRule) {
    CSmartPtr<Exposed<CstringCol>> collapsed(MakeCollection<CstringCol>(L"s", L""));
    CSmartPtr<Exposed<CstringCol>> kept(
        MakeCollection<CstringCol>(L"s", L"", 0, -1, CPrimitiveRestrictions(), W::WhitespaceRule_None));
    const std::wstring xml = L"<r><s>  a \t b  </s></r>";
    ReadFromRoot(*collapsed, xml, CXmlSerializationContext::GetDefaultContext());
    ReadFromRoot(*kept, xml, CXmlSerializationContext::GetDefaultContext());
    EXPECT_EQ(collapsed->Item(0), L"a b");
    EXPECT_EQ(kept->Item(0), L"  a \t b  ");
}

// Every kind survives writing and reading back, through the real writer and parser.
template <class Collection, class... Values>
void RoundTrip(const std::wstring& expectedText, Values... values) {
    try {
        CSmartPtr<Exposed<Collection>> col(MakeCollection<Collection>(L"v", L"urn:v"));
        (col->Add(values), ...);
        const std::wstring text = WriteInRoot(*col, CXmlSerializationContext::GetDefaultContext());
        EXPECT_NE(text.find(expectedText), std::wstring::npos) << ToUtf8(text);
        CSmartPtr<Exposed<Collection>> back(MakeCollection<Collection>(L"v", L"urn:v"));
        EXPECT_EQ(ReadFromRoot(*back, text, CXmlSerializationContext::GetDefaultContext()), L"");
        ASSERT_EQ(back->GetCount(), col->GetCount());
        for (int i = 0; i < col->GetCount(); ++i) EXPECT_TRUE(back->Item(i) == col->Item(i)) << ToUtf8(text);
    } catch (const CQxException& e) {
        ADD_FAILURE() << ToUtf8(expectedText) << ": " << ToUtf8(e.GetFullMessage());
    }
}

TEST(TypedCollectionTest, EveryKindRoundTrips) {
    unsigned char bytes[] = {0x00, 0x7F, 0xFF};
    const CBinaryData blob(bytes, 3, false);
    RoundTrip<ChexBinaryCol>(L">007FFF<", blob, CBinaryData());
    RoundTrip<Cbase64BinaryCol>(L">AH//<", blob);
    RoundTrip<Ci1Col>(L">-128<", static_cast<char>(-128), static_cast<char>(127));
    RoundTrip<Ci2Col>(L">-32768<", static_cast<short>(-32768));
    RoundTrip<Ci4Col>(L">-2147483648<", INT32_MIN, 0);
    RoundTrip<Ci8Col>(L">-9223372036854775808<", static_cast<long long>(INT64_MIN));
    RoundTrip<Cui1Col>(L">255<", static_cast<unsigned char>(255));
    RoundTrip<Cui2Col>(L">65535<", static_cast<unsigned short>(65535));
    RoundTrip<Cui4Col>(L">4294967295<", UINT32_MAX);
    RoundTrip<Cui8Col>(L">18446744073709551615<", static_cast<unsigned long long>(UINT64_MAX));
    RoundTrip<Cr4Col>(L">0.5<", 0.5f, -1.25f);
    RoundTrip<Cr8Col>(L">0.1<", 0.1, 1e300);
    const CDateTimeSpan span = CConversions::durationFromString(L"P1DT2H", W::WhitespaceRule_Collapse);
    const CDateTimeSpan negative = CConversions::durationFromString(L"-P1Y2MT0.5S", W::WhitespaceRule_Collapse);
    RoundTrip<CdurationCol>(L">P1DT2H<", span, negative);
    RoundTrip<CyearCol>(L">2024<", static_cast<unsigned short>(2024));
    RoundTrip<CmonthCol>(L">--05<", static_cast<unsigned char>(5));
    RoundTrip<CdayCol>(L">---07<", static_cast<unsigned char>(7));
    RoundTrip<CstringCol>(L">a &lt;&amp;&gt; b<", std::wstring(L"a <&> b"), std::wstring(L"\U0001F600"));
    RoundTrip<CbooleanCol>(L">true<", true, false);
    RoundTrip<CdecimalCol>(L">-12.5<", CDecimal(L"-12.5"), CDecimal(L"123456789012345678901234567890.1"));
    RoundTrip<CintegerCol>(L">123456789012345678901234567890<", CBigInteger(L"123456789012345678901234567890"));
}

// ------------------------------------------------------------------ independent oracle

// Python makes the document and the expected values; the collection reads them, writes them
// back, and Python's expat reads what was written.
template <class Collection>
void OracleRoundTrip(const std::string& kind, int count, int seed, W::WhitespaceRule rule) {
    const std::vector<std::string> lines =
        RunOracle("make " + kind + " " + std::to_string(count) + " " + std::to_string(seed));
    ASSERT_EQ(lines.size(), static_cast<size_t>(count) + 1);
    const std::wstring document = FromUtf8(Unhex(lines[0]));

    CSmartPtr<Exposed<Collection>> col(
        MakeCollection<Collection>(L"n", L"urn:items", 0, -1, CPrimitiveRestrictions(), rule));
    EXPECT_EQ(ReadFromRoot(*col, document, CXmlSerializationContext::GetDefaultContext()), L"n");
    ASSERT_EQ(col->GetCount(), count);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(col->ItemToString(col->Item(i)), FromUtf8(Unhex(lines[i + 1]))) << i;

    const std::string path = TempPath("collections_oracle_" + kind + ".xml");
    WriteFile(path, ToUtf8(WriteInRoot(*col, CXmlSerializationContext::GetDefaultContext())));
    const std::vector<std::string> parsed = RunOracle("parse '" + path + "'");
    ASSERT_EQ(parsed.size(), static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) EXPECT_EQ(parsed[i], "urn:items|n\t" + lines[i + 1]) << i;
    std::remove(path.c_str());
}

TEST(TypedCollectionOracleTest, IntegersSurroundedByWhiteSpace) {
    OracleRoundTrip<Ci4Col>("i4", 300, 7, W::WhitespaceRule_Collapse);
}

TEST(TypedCollectionOracleTest, StringsWithMarkupLineEndsAndCharactersBeyondTheBmp) {
    OracleRoundTrip<CstringCol>("string", 200, 11, W::WhitespaceRule_None);
}

}  // namespace
}  // namespace QxXmlTest

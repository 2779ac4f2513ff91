// Tests of the date and time collections: the kind check of each member and its message, the
// order of checks and notifications, the item type they write, and reading back.
#include "CollectionTestSupport.h"

#include <qxxml/values/Conversions.h>

namespace QxXmlTest {
namespace {

CDateTime Date(const wchar_t* text) { return CConversions::dateFromString(text, W::WhitespaceRule_Collapse); }
CDateTime DateTime(const wchar_t* text) { return CConversions::datetimeFromString(text, W::WhitespaceRule_Collapse); }
CDateTime Time(const wchar_t* text) { return CConversions::timeFromString(text, W::WhitespaceRule_Collapse); }
CDateTime YearMonth(const wchar_t* text) {
    return CConversions::yearMonthFromString(text, W::WhitespaceRule_Collapse);
}
CDateTime MonthDay(const wchar_t* text) { return CConversions::monthDayFromString(text, W::WhitespaceRule_Collapse); }

// One sample of every kind, to offer each collection all the kinds it must refuse.
std::vector<CDateTime> Samples() {
    return {DateTime(L"2024-05-06T10:11:12"), Date(L"2024-05-06"), YearMonth(L"2024-05"), Time(L"10:11:12"),
            MonthDay(L"--05-06")};
}

template <class Collection>
void ExpectOnlyKind(CDateTime::DTType kind, const wchar_t* message) {
    CSmartPtr<Exposed<Collection>> col(MakeCollection<Collection>(L"d", L""));
    CRecordingSink sink;
    col->AddEventListener(&sink);
    int accepted = 0;
    for (const CDateTime& sample : Samples()) {
        if (sample.GetType() == kind) {
            col->Add(sample);
            ++accepted;
            continue;
        }
        EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->Add(sample); }), message);
        EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->AddAt(0, sample); }), message);
    }
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(col->GetCount(), 1);
    EXPECT_EQ(sink.Sequence(), "add add-complete change");  // refusals told nothing
}

TEST(DateTimeCollectionTest, EachMemberTakesOnlyItsOwnKind) {
    ExpectOnlyKind<CdateCol>(CDateTime::dt_date, L"Dates added to this collection must be of type dt_date");
    ExpectOnlyKind<CdatetimeCol>(CDateTime::dt_dateTime,
                                 L"Dates added to this collection must be of type dt_dateTime");
    ExpectOnlyKind<CtimeCol>(CDateTime::dt_time, L"Dates added to this collection must be of type dt_time");
    ExpectOnlyKind<CyearMonthCol>(CDateTime::dt_gYearMonth,
                                  L"Dates added to this collection must be of type dt_gYearMonth");
    ExpectOnlyKind<CmonthDayCol>(CDateTime::dt_gMonthDay,
                                 L"Dates added to this collection must be of type dt_gMonthDay");
}

TEST(DateTimeCollectionTest, FacetsAreCheckedBeforeAnyNotificationTheIndexAfter) {
    CSmartPtr<Exposed<CdateCol>> col(MakeCollection<CdateCol>(
        L"day", L"", 0, -1, CPrimitiveRestrictions(nullptr, -1, -1, L"2024-01-01", nullptr, nullptr, nullptr, -1)));
    CRecordingSink sink;
    col->AddEventListener(&sink);
    EXPECT_EQ(MessageOf([&] { col->Add(Date(L"2023-12-31")); }), L"Invalid Value for day [2023-12-31]");
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->AddAt(1, Date(L"2024-02-01")); }),
              L"Index out of range");
    EXPECT_EQ(sink.Sequence(), "add");
    col->AddAt(0, Date(L"2024-02-01"));
    col->AddAt(0, Date(L"2024-01-01"));
    EXPECT_EQ(col->Item(0), Date(L"2024-01-01"));
    EXPECT_EQ(col->Item(1), Date(L"2024-02-01"));
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { col->Item(2); }), L"Index 2 is out of range, use 0 - 2");
}

TEST(DateTimeCollectionTest, AddGoesThroughTheVirtualAddAt) {
    struct Counting : Exposed<CtimeCol> {
        using Exposed<CtimeCol>::Exposed;
        void AddAt(int index, const CDateTime& value) override {
            ++calls;
            lastIndex = index;
            Exposed<CtimeCol>::AddAt(index, value);
        }
        int calls = 0;
        int lastIndex = -1;
    };
    CSmartPtr<Counting> col(new Counting(L"t", L"", 0, -1, nullptr, -1, -1, nullptr, nullptr, nullptr, nullptr, -1,
                                         W::WhitespaceRule_Collapse, nullptr));
    col->Add(Time(L"01:00:00"));
    col->Add(Time(L"02:00:00"));
    EXPECT_EQ(col->calls, 2);
    EXPECT_EQ(col->lastIndex, 1);
    // Reading appends through Add as well.
    ReadFromRoot(*col, L"<r><t>03:00:00</t></r>", CXmlSerializationContext::GetDefaultContext());
    EXPECT_EQ(col->calls, 3);
    EXPECT_EQ(col->lastIndex, 2);
}

// A writer that records the element values and the item types declared with them.
class CRecordingWriter : public CXmlWriter {
public:
    CRecordingWriter() : CXmlWriter(CInstanceMonitor::Resolve(L"CRecordingWriter")) {}
    void WriteComment(const std::wstring&) override {}
    void WriteProcessingInstruction(const std::wstring&) override {}
    void WriteInlineSchema(const std::wstring&) override {}
    void StartElement(const std::wstring& localName, const std::wstring& namespaceUri) override {
        log += L"<" + namespaceUri + L"|" + localName + L">";
    }
    void WriteElementValue(const std::wstring& value, ItemType itemType) override {
        log += value + L"#" + std::to_wstring(static_cast<int>(itemType));
    }
    void EndElement() override { log += L"</>"; }
    void AddAttribute(const std::wstring&, const std::wstring&, const std::wstring&, ItemType) override {}
    void AddXsiTypeAttribute(const std::wstring&, const std::wstring&, ItemType) override {}
    void AddXsiNilAttribute() override {}
    std::wstring log;
};

template <class Collection>
std::wstring RecordWrite(const CDateTime& value) {
    CSmartPtr<Exposed<Collection>> col(MakeCollection<Collection>(L"d", L"urn:d"));
    col->Add(value);
    CRecordingWriter writer;
    col->ToXml_Int(&writer, false, L"urn:elsewhere", CXmlSerializationContext::GetDefaultContext(), false);
    return writer.log;
}

TEST(DateTimeCollectionTest, EveryMemberWritesItsTextDeclaredAsDatetime) {
    EXPECT_EQ(RecordWrite<CdateCol>(Date(L"2024-05-06")), L"<urn:d|d>2024-05-06#20</>");
    EXPECT_EQ(RecordWrite<CdatetimeCol>(DateTime(L"2024-05-06T10:11:12Z")), L"<urn:d|d>2024-05-06T10:11:12Z#20</>");
    EXPECT_EQ(RecordWrite<CtimeCol>(Time(L"10:11:12")), L"<urn:d|d>10:11:12#20</>");
    EXPECT_EQ(RecordWrite<CyearMonthCol>(YearMonth(L"2024-05")), L"<urn:d|d>2024-05#20</>");
    EXPECT_EQ(RecordWrite<CmonthDayCol>(MonthDay(L"--05-06")), L"<urn:d|d>--05-06#20</>");
    // The other typed collections declare their own kind.
    CSmartPtr<Exposed<CdurationCol>> spans(MakeCollection<CdurationCol>(L"p", L""));
    spans->Add(CConversions::durationFromString(L"PT1S", W::WhitespaceRule_Collapse));
    CRecordingWriter writer;
    spans->ToXml_Int(&writer, false, L"", CXmlSerializationContext::GetDefaultContext(), false);
    EXPECT_EQ(writer.log, L"<|p>PT1S#13</>");
}

template <class Collection>
void ExpectRoundTrip(const std::vector<CDateTime>& values) {
    CSmartPtr<Exposed<Collection>> col(MakeCollection<Collection>(L"d", L"urn:d"));
    for (const CDateTime& value : values) col->Add(value);
    const std::wstring text = WriteInRoot(*col, CXmlSerializationContext::GetDefaultContext());
    CSmartPtr<Exposed<Collection>> back(MakeCollection<Collection>(L"d", L"urn:d"));
    EXPECT_EQ(ReadFromRoot(*back, text, CXmlSerializationContext::GetDefaultContext()), L"");
    ASSERT_EQ(back->GetCount(), static_cast<int>(values.size()));
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(back->Item(static_cast<int>(i)), values[i]) << ToUtf8(text);
        EXPECT_EQ(back->Item(static_cast<int>(i)).GetType(), values[i].GetType());
    }
}

TEST(DateTimeCollectionTest, EveryMemberReadsBackWhatItWrote) {
    ExpectRoundTrip<CdateCol>({Date(L"2024-05-06"), Date(L"-0044-03-15Z"), Date(L"2000-02-29+05:30")});
    ExpectRoundTrip<CdatetimeCol>({DateTime(L"2024-05-06T10:11:12.5Z"), DateTime(L"1999-12-31T23:59:59-08:00")});
    ExpectRoundTrip<CtimeCol>({Time(L"00:00:00"), Time(L"23:59:59.125Z")});
    ExpectRoundTrip<CyearMonthCol>({YearMonth(L"2024-05"), YearMonth(L"1900-01Z")});
    ExpectRoundTrip<CmonthDayCol>({MonthDay(L"--02-29"), MonthDay(L"--12-31Z")});
}

TEST(DateTimeCollectionTest, CopiesKeepTheKind) {
    CSmartPtr<Exposed<CdateCol>> col(MakeCollection<CdateCol>(L"d", L"urn:d", 1, 3));
    col->Add(Date(L"2024-05-06"));
    CSmartPtr<Exposed<CdateCol>> copy(new Exposed<CdateCol>(*col));
    EXPECT_EQ(copy->Item(0), Date(L"2024-05-06"));
    EXPECT_EQ(MessageOf<CQxInvalidParamException>([&] { copy->Add(Time(L"10:00:00")); }),
              L"Dates added to this collection must be of type dt_date");
}

}  // namespace
}  // namespace QxXmlTest

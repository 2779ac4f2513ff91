// Reading child objects and collections through the descriptors, from real parsed trees:
// children with an element of their own and pseudo-element children, the existing object of a
// mandatory member against the new object of an optional one, the store-before-read order of
// choices, abstract classes chosen by the factory, collections with their count checks in each
// group, and the untyped members holding wildcard content.

#include "metadata/BehaviourTestSupport.h"

#include <qxxml/collections/ElementCol.h>

#include <gtest/gtest.h>

#include <memory>

using namespace metadata_test;

namespace {

constexpr auto kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;
constexpr auto kOwn = XmlElementType_Element;
constexpr auto kPseudo = XmlElementType_PseudoElement;

class ChildReading : public ::testing::Test {
protected:
    void SetUp() override { FactoryLog::Reset(made); }
    void TearDown() override { FactoryLog::Reset(nullptr); }

    CXmlObjectBase* Property() const { return object.m_properties[0].GetXmlObject().Get(); }
    bool PropertyWritten() const {
        for (const std::string& entry : object.m_accessLog)
            if (entry == "0w") return true;
        return false;
    }

    CTestObject object;
    CSmartPtr<CProbeChild> made{new CProbeChild};  // what the factories hand out
};

CSmartPtr<Ci4Col> Numbers(int minOccurs, int maxOccurs) {
    return new Ci4Col(L"n", L"", minOccurs, maxOccurs, nullptr, -1, -1, nullptr, nullptr, nullptr, nullptr, -1,
                      kCollapse, nullptr);
}

std::vector<int32_t> Items(const Ci4Col& numbers) {
    std::vector<int32_t> items;
    for (int i = 0; i < numbers.GetCount(); ++i) items.push_back(numbers.Item(i));
    return items;
}

// The child was read exactly once, from these elements, with this choice flag.
void ExpectOneRead(const CProbeChild& child, CXmlElement* element, CXmlElement* firstChild, bool optionalChoiceItem) {
    ASSERT_EQ(child.m_reads.size(), 1u);
    EXPECT_EQ(child.m_reads[0].element, element);
    EXPECT_EQ(child.m_reads[0].firstChild, firstChild);
    EXPECT_EQ(child.m_reads[0].optionalChoiceItem, optionalChoiceItem);
}

}  // namespace

// ------------------------------------------------------------------ mandatory class members

TEST_F(ChildReading, AMandatoryChildFillsTheObjectThePropertyHoldsOrANewOne) {
    CSmartPtr<CProbeChild> existing(new CProbeChild);
    object.m_properties[0].SetXmlObject(existing);
    CElementInfoSeqClsMnd sequence(L"c", L"", 0, kOwn, &FactoryLog::Create, 7, true);
    CElementInfoAllClsMnd all(L"c", L"", 0, kOwn, &FactoryLog::Create, 7, true);
    for (CElementInfo* info : {static_cast<CElementInfo*>(&sequence), static_cast<CElementInfo*>(&all)}) {
        existing->m_reads.clear();
        Reading reading(L"<r><c><a/><b/></c><z/></r>");
        EXPECT_TRUE(reading.Read(*info, object, CXmlSerializationContext()));
        ExpectOneRead(*existing, reading.Child(0), reading.Child(0)->GetFirstElement(), false);
        EXPECT_EQ(reading.CursorName(), L"z");
    }
    EXPECT_EQ(FactoryLog::Get().calls, 0);
    EXPECT_FALSE(PropertyWritten());
    EXPECT_EQ(Property(), existing.Get());

    // An empty property gets a child from the factory.
    object.m_properties[0].SetInvalid();
    Reading reading(L"<r><c/></r>");
    EXPECT_TRUE(reading.Read(sequence, object, CXmlSerializationContext()));
    EXPECT_EQ(Property(), made.Get());
    EXPECT_EQ(made->m_reads.size(), 1u);
    EXPECT_EQ(FactoryLog::Get().classId, 7);
    EXPECT_EQ(FactoryLog::Get().name, L"c");
}

TEST_F(ChildReading, AMandatorySequenceChildIsSearchedFor) {
    CSmartPtr<CProbeChild> existing(new CProbeChild);
    object.m_properties[0].SetXmlObject(existing);
    CElementInfoSeqClsMnd info(L"c", L"", 0, kOwn, &FactoryLog::Create, 7, true);

    Reading missing(L"<r><x/><c/></r>");
    EXPECT_EQ(MessageOf([&] { missing.Read(info, object, CXmlSerializationContext()); }),
              L"Failed to find a required element [c]");
    EXPECT_TRUE(missing.Read(info, object, IgnoringMissingMandatoryElements()));
    EXPECT_EQ(missing.CursorName(), L"x");
    EXPECT_TRUE(existing->m_reads.empty());

    // Soft mode answers false at once, without skipping.
    EXPECT_FALSE(missing.Read(info, object, IgnoringUnknownElements(), kSoft));
    EXPECT_EQ(missing.CursorName(), L"x");
    EXPECT_TRUE(missing.Read(info, object, IgnoringUnknownElements()));
    EXPECT_EQ(existing->m_reads.size(), 1u);
    EXPECT_EQ(missing.cursor, nullptr);
}

TEST_F(ChildReading, ARequiredPseudoChildMustConsumeSomething) {
    CSmartPtr<CProbeChild> existing(new CProbeChild(kPseudo, 2));
    object.m_properties[0].SetXmlObject(existing);
    CElementInfoSeqClsMnd info(L"g", L"", 0, kPseudo, &FactoryLog::Create, 7, true);

    Reading reading(L"<r><a/><b/><z/></r>");
    EXPECT_TRUE(reading.Read(info, object, CXmlSerializationContext()));
    ExpectOneRead(*existing, reading.parsed.Root(), reading.Child(0), false);  // among the parent's children
    EXPECT_EQ(reading.CursorName(), L"z");

    existing->m_consumes = 0;
    EXPECT_EQ(MessageOf([&] { reading.Read(info, object, CXmlSerializationContext()); }),
              L"Failed to find a required element [g]");
    EXPECT_FALSE(reading.Read(info, object, CXmlSerializationContext(), kSoft));
    EXPECT_EQ(reading.CursorName(), L"z");

    // Nothing left to read: the child is not even asked.
    existing->m_reads.clear();
    reading.cursor = nullptr;
    EXPECT_THROW(reading.Read(info, object, CXmlSerializationContext()), CQxValidationException);
    EXPECT_FALSE(reading.Read(info, object, CXmlSerializationContext(), kSoft));
    EXPECT_TRUE(existing->m_reads.empty());
}

TEST_F(ChildReading, AnUnrequiredPseudoChildMayConsumeNothing) {
    CSmartPtr<CProbeChild> existing(new CProbeChild(kPseudo, 0));
    object.m_properties[0].SetXmlObject(existing);
    CElementInfoSeqClsMnd info(L"g", L"", 0, kPseudo, &FactoryLog::Create, 7, false);

    Reading reading(L"<r><x/></r>");
    EXPECT_TRUE(reading.Read(info, object, CXmlSerializationContext()));
    EXPECT_EQ(reading.CursorName(), L"x");
    // With unknown elements ignored, an element nobody took is left for the engine to skip...
    EXPECT_FALSE(reading.Read(info, object, IgnoringUnknownElements()));
    EXPECT_EQ(reading.CursorName(), L"x");
    // ...except in soft mode.
    EXPECT_TRUE(reading.Read(info, object, IgnoringUnknownElements(), kSoft));

    // It reads even with nothing left, and may consume.
    reading.cursor = nullptr;
    existing->m_reads.clear();
    EXPECT_TRUE(reading.Read(info, object, IgnoringUnknownElements()));
    EXPECT_EQ(existing->m_reads.size(), 1u);
    existing->m_consumes = 1;
    reading.cursor = reading.Child(0);
    EXPECT_TRUE(reading.Read(info, object, IgnoringUnknownElements()));
    EXPECT_EQ(reading.cursor, nullptr);
}

TEST_F(ChildReading, AllGroupMandatoryChildrenAnswerWhetherTheyTookSomething) {
    CSmartPtr<CProbeChild> existing(new CProbeChild(kPseudo, 1));
    object.m_properties[0].SetXmlObject(existing);
    CElementInfoAllClsMnd own(L"c", L"", 0, kOwn, &FactoryLog::Create, 7, true);
    CElementInfoAllClsMnd pseudo(L"g", L"", 0, kPseudo, &FactoryLog::Create, 7, true);
    Reading reading(L"<r><x/><c/></r>");
    EXPECT_FALSE(reading.Read(own, object, CXmlSerializationContext()));
    EXPECT_EQ(reading.CursorName(), L"x");
    EXPECT_TRUE(reading.Read(pseudo, object, CXmlSerializationContext()));  // consumed <x/>
    EXPECT_EQ(reading.CursorName(), L"c");
    existing->m_consumes = 0;
    EXPECT_FALSE(reading.Read(pseudo, object, CXmlSerializationContext()));
    EXPECT_EQ(reading.CursorName(), L"c");
    EXPECT_TRUE(reading.Read(own, object, CXmlSerializationContext()));
    EXPECT_EQ(reading.cursor, nullptr);
}

// ------------------------------------------------------------------ optional class members

TEST_F(ChildReading, OptionalChildrenAreCreatedReadAndThenStoredWhenPresent) {
    CElementInfoSeqClsOpt sequence(L"c", L"", 0, kOwn, &FactoryLog::Create, 7);
    CElementInfoAllClsOpt all(L"c", L"", 0, kOwn, &FactoryLog::Create, 7);
    for (CElementInfo* info : {static_cast<CElementInfo*>(&sequence), static_cast<CElementInfo*>(&all)}) {
        FactoryLog::Reset(made);
        made->m_reads.clear();
        object.m_accessLog.clear();
        Reading reading(L"<r><c><a/></c><z/></r>");
        EXPECT_TRUE(reading.Read(*info, object, CXmlSerializationContext()));
        EXPECT_EQ(FactoryLog::Get().classId, 7);
        EXPECT_EQ(FactoryLog::Get().name, L"c");
        EXPECT_EQ(Property(), made.Get());
        ExpectOneRead(*made, reading.Child(0), reading.Child(0)->GetFirstElement(), false);
        EXPECT_EQ(reading.CursorName(), L"z");
    }

    // Absent: nothing is created, and only the sequence member is content.
    FactoryLog::Reset(made);
    object.m_accessLog.clear();
    Reading absent(L"<r><x/></r>");
    EXPECT_TRUE(absent.Read(sequence, object, CXmlSerializationContext()));
    EXPECT_FALSE(absent.Read(all, object, CXmlSerializationContext()));
    EXPECT_EQ(absent.CursorName(), L"x");
    EXPECT_EQ(FactoryLog::Get().calls, 0);
    EXPECT_TRUE(object.m_accessLog.empty());

    // A failure while reading leaves no child behind.
    object.m_properties[0].SetInvalid();
    made->m_throwOnRead = true;
    Reading failing(L"<r><c/></r>");
    EXPECT_EQ(MessageOf([&] { failing.Read(sequence, object, CXmlSerializationContext()); }), L"the child failed");
    EXPECT_FALSE(object.m_properties[0].IsValid());
}

TEST_F(ChildReading, OptionalPseudoChildrenAreStoredOnlyWhenTheyConsumed) {
    CElementInfoSeqClsOpt sequence(L"g", L"", 0, kPseudo, &FactoryLog::Create, 7);
    CElementInfoAllClsOpt all(L"g", L"", 0, kPseudo, &FactoryLog::Create, 7);
    made->m_type = kPseudo;
    for (CElementInfo* info : {static_cast<CElementInfo*>(&sequence), static_cast<CElementInfo*>(&all)}) {
        const bool isSequence = info == &sequence;
        FactoryLog::Reset(made);
        object.m_accessLog.clear();
        Reading reading(L"<r><a/><b/><z/></r>");
        reading.cursor = nullptr;
        EXPECT_EQ(reading.Read(*info, object, CXmlSerializationContext()), isSequence);
        EXPECT_EQ(FactoryLog::Get().calls, 0);  // nothing to read from

        reading.cursor = reading.Child(0);
        made->m_consumes = 0;
        EXPECT_EQ(reading.Read(*info, object, CXmlSerializationContext()), isSequence);
        EXPECT_EQ(FactoryLog::Get().calls, 1);
        EXPECT_FALSE(PropertyWritten());
        EXPECT_EQ(reading.CursorName(), L"a");

        made->m_consumes = 2;
        EXPECT_TRUE(reading.Read(*info, object, CXmlSerializationContext()));
        EXPECT_EQ(Property(), made.Get());
        EXPECT_EQ(made->m_reads.back().element, reading.parsed.Root());
        EXPECT_EQ(reading.CursorName(), L"z");
    }
}

TEST_F(ChildReading, AFactoryThatCreatesNothingBreaksTheContract) {
    FactoryLog::Reset(nullptr);
    CElementInfoSeqClsOpt info(L"c", L"", 0, kOwn, &FactoryLog::Create, 7);
    Reading reading(L"<r><c/></r>");
    EXPECT_EQ(MessageOf<CQxInvalidStateException>([&] { reading.Read(info, object, CXmlSerializationContext()); }),
              L"The generated factory created no object for the element [c] (class id 7)");
}

// ------------------------------------------------------------------ class alternatives of a choice

TEST_F(ChildReading, AChoiceClassAlternativeIsStoredBeforeItReadsAsAnOptionalChoiceItem) {
    CElementInfoChoiceClsOpt info(L"c", L"", 0, kOwn, &FactoryLog::Create, 7);
    Reading absent(L"<r><x/></r>");
    EXPECT_FALSE(absent.Read(info, object, CXmlSerializationContext()));
    EXPECT_EQ(FactoryLog::Get().calls, 0);

    Reading reading(L"<r><c><a/></c><z/></r>");
    EXPECT_TRUE(reading.Read(info, object, CXmlSerializationContext()));
    // An empty choice inside it is allowed.
    ExpectOneRead(*made, reading.Child(0), reading.Child(0)->GetFirstElement(), true);
    EXPECT_EQ(reading.CursorName(), L"z");
    EXPECT_EQ(Property(), made.Get());

    // Stored first: a failure leaves the half-read child in the property.
    object.m_properties[0].SetInvalid();
    made->m_throwOnRead = true;
    reading.cursor = reading.Child(0);
    EXPECT_THROW(reading.Read(info, object, CXmlSerializationContext()), CQxValidationException);
    EXPECT_EQ(Property(), made.Get());
}

TEST_F(ChildReading, AChoicePseudoAlternativeThatConsumesNothingLeavesThePropertyNull) {
    CElementInfoChoiceClsOpt info(L"g", L"", 0, kPseudo, &FactoryLog::Create, 7);
    made->m_type = kPseudo;
    CSmartPtr<CProbeChild> earlier(new CProbeChild);
    object.m_properties[0].SetXmlObject(earlier);

    Reading reading(L"<r><a/><z/></r>");
    made->m_consumes = 0;
    EXPECT_FALSE(reading.Read(info, object, CXmlSerializationContext()));
    EXPECT_EQ(object.m_properties[0].GetTypeAsEnum(), ItemType_XmlObjectBase);
    EXPECT_EQ(Property(), nullptr);
    EXPECT_EQ(object.m_accessLog, (std::vector<std::string>{"0w", "0w"}));  // the child, then null
    EXPECT_EQ(reading.CursorName(), L"a");
    EXPECT_FALSE(made->m_reads[0].optionalChoiceItem);

    made->m_consumes = 1;
    EXPECT_TRUE(reading.Read(info, object, CXmlSerializationContext()));
    EXPECT_EQ(Property(), made.Get());
    EXPECT_EQ(reading.CursorName(), L"z");

    FactoryLog::Reset(made);
    reading.cursor = nullptr;
    EXPECT_FALSE(reading.Read(info, object, CXmlSerializationContext()));
    EXPECT_EQ(FactoryLog::Get().calls, 0);
}

// ------------------------------------------------------------------ abstract classes

TEST_F(ChildReading, AMandatoryAbstractChildNeedsTheFactoryToAcceptItsElement) {
    CElementInfoSeqAbsClsMnd info(L"s", L"", 0, kOwn, &FactoryLog::CreateFromElement);
    Reading reading(L"<r><s><a/></s><z/></r>");
    EXPECT_TRUE(reading.Read(info, object, CXmlSerializationContext()));
    EXPECT_EQ(FactoryLog::Get().element, reading.Child(0));
    EXPECT_EQ(Property(), made.Get());
    ExpectOneRead(*made, reading.Child(0), reading.Child(0)->GetFirstElement(), false);
    EXPECT_EQ(reading.CursorName(), L"z");

    for (bool declined : {true, false}) {
        FactoryLog::Reset(nullptr);
        Reading other(declined ? L"<r><s/></r>" : L"<r><x/></r>");
        EXPECT_EQ(MessageOf([&] { other.Read(info, object, CXmlSerializationContext()); }),
                  L"Failed to find a suitable substitution element for [s]");
        EXPECT_FALSE(other.Read(info, object, CXmlSerializationContext(), kSoft));
        EXPECT_EQ(other.cursor, other.Child(0));
        EXPECT_EQ(FactoryLog::Get().calls, declined ? 2 : 0);  // asked only about its own element
    }
}

TEST_F(ChildReading, AChoiceAbstractAlternativeStoresWhateverTheFactoryGives) {
    CElementInfoChoiceAbsClsOpt info(L"s", L"", 0, kOwn, &FactoryLog::CreateFromElement);
    CSmartPtr<CProbeChild> earlier(new CProbeChild);
    object.m_properties[0].SetXmlObject(earlier);
    FactoryLog::Reset(nullptr);
    Reading reading(L"<r><s/><z/></r>");
    EXPECT_FALSE(reading.Read(info, object, CXmlSerializationContext()));
    EXPECT_TRUE(PropertyWritten());
    EXPECT_EQ(Property(), nullptr);
    EXPECT_EQ(reading.CursorName(), L"s");

    FactoryLog::Reset(made);
    EXPECT_TRUE(reading.Read(info, object, CXmlSerializationContext()));
    EXPECT_EQ(Property(), made.Get());
    EXPECT_EQ(reading.CursorName(), L"z");
    object.m_accessLog.clear();
    EXPECT_FALSE(reading.Read(info, object, CXmlSerializationContext()));  // not its element
    EXPECT_TRUE(object.m_accessLog.empty());
}

// ------------------------------------------------------------------ collections

TEST_F(ChildReading, SequenceCollectionsReadTheirRunThenCheckTheCount) {
    CElementInfoSeqPrimCol info(L"n", L"", 0);
    CSmartPtr<Ci4Col> numbers = Numbers(2, 3);
    object.m_properties[0].SetXmlCollection(numbers);

    Reading reading(L"<r><n>1</n><n> 2 </n><x/></r>");
    EXPECT_TRUE(reading.Read(info, object, CXmlSerializationContext()));
    EXPECT_EQ(Items(*numbers), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(reading.CursorName(), L"x");
    EXPECT_TRUE(reading.Read(info, object, CXmlSerializationContext()));  // no more items: still valid
    EXPECT_EQ(numbers->GetCount(), 2);

    numbers->Clear();
    Reading single(L"<r><n>1</n><x/></r>");
    EXPECT_EQ(MessageOf([&] { single.Read(info, object, CXmlSerializationContext()); }),
              L"The Minimum number of [n] elements allowed in this collection is 2");
    EXPECT_EQ(single.CursorName(), L"x");  // the items read stay read
    numbers->Clear();
    single.cursor = single.Child(0);
    EXPECT_FALSE(single.Read(info, object, CXmlSerializationContext(), kSoft));
    numbers->Clear();
    single.cursor = single.Child(0);
    EXPECT_TRUE(single.Read(info, object, IgnoringCollectionCounts()));
}

TEST_F(ChildReading, ChoiceCollectionsMatchOnlyWhenTheyTookItems) {
    CElementInfoChoicePrimCol info(L"n", L"", 0);
    CSmartPtr<Ci4Col> numbers = Numbers(2, -1);
    object.m_properties[0].SetXmlCollection(numbers);

    Reading absent(L"<r><x/></r>");
    EXPECT_FALSE(absent.Read(info, object, CXmlSerializationContext()));  // no count check either
    EXPECT_EQ(absent.CursorName(), L"x");

    Reading single(L"<r><n>1</n><x/></r>");
    EXPECT_FALSE(single.Read(info, object, CXmlSerializationContext(), kSoft));
    EXPECT_EQ(single.CursorName(), L"n");  // cursor unchanged...
    EXPECT_EQ(Items(*numbers), std::vector<int32_t>{1});  // ...the item read stays
    numbers->Clear();
    EXPECT_EQ(MessageOf([&] { single.Read(info, object, CXmlSerializationContext()); }),
              L"The Minimum number of [n] elements allowed in this collection is 2");
    EXPECT_EQ(single.CursorName(), L"x");

    numbers->Clear();
    Reading pair(L"<r><n>1</n><n>2</n><x/></r>");
    EXPECT_TRUE(pair.Read(info, object, CXmlSerializationContext(), kSoft));
    EXPECT_EQ(pair.CursorName(), L"x");
    numbers->Clear();
    pair.cursor = pair.Child(0);
    EXPECT_TRUE(pair.Read(info, object, CXmlSerializationContext()));
    EXPECT_EQ(pair.CursorName(), L"x");
}

TEST_F(ChildReading, AllGroupCollectionsNeverMarkThemselvesFound) {
    CElementInfoAllPrimCol prim(L"n", L"", 0);
    CElementInfoAllUntpdCol untyped(L"n", L"", 0);  // read like any other collection
    for (CElementInfo* info : {static_cast<CElementInfo*>(&prim), static_cast<CElementInfo*>(&untyped)}) {
        CSmartPtr<Ci4Col> numbers = Numbers(3, 3);
        object.m_properties[0].SetXmlCollection(numbers);
        Reading reading(L"<r><n>1</n><n>2</n><x/><n>3</n></r>");
        EXPECT_FALSE(reading.Read(*info, object, CXmlSerializationContext()));  // no count check
        EXPECT_EQ(reading.CursorName(), L"x");
        reading.cursor = reading.Child(3);
        EXPECT_FALSE(reading.Read(*info, object, CXmlSerializationContext()));
        EXPECT_EQ(Items(*numbers), (std::vector<int32_t>{1, 2, 3}));
        EXPECT_EQ(reading.cursor, nullptr);
    }
}

// ------------------------------------------------------------------ untyped content

// One row per behaviour of the untyped members. The document's first child is in urn:a, the
// single members accept that namespace only ("##targetNamespace" of urn:a); "(unset)" means
// the property was never stored, "(null)" that it was cleared.
TEST_F(ChildReading, UntypedMembersFollowTheirTableRows) {
    const wchar_t* const nsA = L"<r xmlns:a='urn:a'><a:x t='1'><a:in/></a:x><y/></r>";
    const wchar_t* const atY = L"<r><y/></r>";
    const wchar_t* const none = L"<r/>";
    const auto make = [](const wchar_t* kind, const wchar_t* name) -> CElementInfo* {
        const std::wstring k = kind;
        if (k == L"SeqMnd") return new CElementInfoSeqUntpdMnd(name, L"urn:n", 0, L"##targetNamespace", L"urn:a");
        if (k == L"SeqOpt") return new CElementInfoSeqUntpdOpt(name, L"urn:n", 0, L"##targetNamespace", L"urn:a");
        if (k == L"ChoiceOpt") return new CElementInfoChoiceUntpdOpt(name, L"", 0, L"##targetNamespace", L"urn:a");
        if (k == L"AllMnd") return new CElementInfoAllUntpdMnd(name, L"", 0, L"##targetNamespace", L"urn:a");
        return new CElementInfoAllUntpdOpt(name, L"", 0, L"##targetNamespace", L"urn:a");
    };
    struct Case {
        const wchar_t* kind;
        const wchar_t* name;
        const wchar_t* xml;
        bool soft;
        const wchar_t* expected;  // "true (cursor) stored" or the message
    };
    const Case cases[] = {
        {L"SeqMnd", L"AnyElement", nsA, false, L"true y x"},
        {L"SeqMnd", L"x", nsA, false, L"true y x"},
        {L"SeqMnd", L"z", nsA, false, L"Failed to find the required element from namespace [urn:n]"},
        {L"SeqMnd", L"AnyElement", atY, false, L"Failed to find the required element from namespace [urn:n]"},
        {L"SeqMnd", L"AnyElement", atY, true, L"false y AnyElement"},
        {L"SeqMnd", L"AnyElement", none, true, L"Failed to find a required element [AnyElement]"},
        {L"SeqOpt", L"AnyElement", nsA, false, L"true y x"},
        {L"SeqOpt", L"AnyElement", atY, false, L"true y (unset)"},
        {L"SeqOpt", L"AnyElement", none, true, L"true (end) (unset)"},
        {L"ChoiceOpt", L"AnyElement", nsA, false, L"true y x"},
        {L"ChoiceOpt", L"AnyElement", atY, false, L"false y (null)"},
        {L"ChoiceOpt", L"AnyElement", none, false, L"false (end) (unset)"},
        {L"AllMnd", L"x", nsA, false, L"true y x"},
        {L"AllMnd", L"AnyElement", atY, false, L"false y AnyElement"},
        {L"AllMnd", L"AnyElement", none, false, L"false (end) (unset)"},
        {L"AllOpt", L"AnyElement", nsA, false, L"true y x"},
        {L"AllOpt", L"AnyElement", atY, false, L"false y (unset)"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CElementInfo> info(make(c.kind, c.name));
        CTestObject owner;
        Reading reading(c.xml);
        bool result = false;
        std::wstring outcome = MessageOf<CQxValidationException>([&] {
            result = reading.Read(*info, owner, CXmlSerializationContext(),
                                  c.soft ? XmlElementType_PseudoElement : XmlElementType_Element);
        });
        if (outcome == L"(no exception)") {
            const QxVariant& property = owner.m_properties[0];
            const auto* element = property.IsValid() ? dynamic_cast<CElement*>(property.GetXmlObject().Get()) : nullptr;
            outcome = std::wstring(result ? L"true " : L"false ") + reading.CursorName() + L" " +
                      (!property.IsValid() ? L"(unset)" : element ? element->GetName() : L"(null)");
            // What was read is the whole element: its attribute and child came along.
            if (element && element->GetName() == L"x") {
                EXPECT_EQ(element->GetNamespace(), L"urn:a");
                EXPECT_EQ(element->GetAttributes()->Item(0)->GetValue(), L"1");
                EXPECT_EQ(element->GetChildElements()->Item(0)->GetName(), L"in");
            }
        }
        EXPECT_EQ(outcome, c.expected) << Narrow(std::wstring(c.kind) + L" " + c.name + L" " + c.xml);
    }
}

// Untyped collections: a wildcard takes what the collection's restriction allows, a named
// member the run of its name in the first element's namespace; then the count is judged as
// the group judges every collection.
TEST_F(ChildReading, UntypedCollectionsReadTheirRunAndCheckTheCount) {
    const wchar_t* const xml = L"<r xmlns:a='urn:a' xmlns:b='urn:b'><a:x/><a:x/><b:x/><a:w/><y/></r>";
    struct Case {
        bool choice;
        const wchar_t* name;
        const wchar_t* restriction;
        int minOccurs;
        bool soft;
        const wchar_t* expected;  // result, cursor, item names; or the message
    };
    const Case cases[] = {
        {false, L"x", L"##any", 0, false, L"true b:x x x"},
        {false, L"AnyElement", L"urn:a urn:b", 0, false, L"true (end) x x x w y"},  // a URI admits no namespace
        {false, L"AnyElement", L"##other", 0, false, L"true a:x"},
        {false, L"AnyElement", L"##local", 0, false, L"true a:x"},
        {false, L"x", L"##any", 3, false, L"The Minimum number of [] elements allowed in this collection is 3"},
        {false, L"x", L"##any", 3, true, L"false b:x x x"},
        {true, L"AnyElement", L"##local", 0, false, L"false a:x"},
        {true, L"AnyElement", L"##targetNamespace", 0, false, L"true b:x x x"},
        {true, L"x", L"##any", 3, true, L"false a:x x x"},
        {true, L"x", L"##any", 3, false, L"The Minimum number of [] elements allowed in this collection is 3"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CElementInfo> info;
        if (c.choice)
            info.reset(new CElementInfoChoiceUntpdCol(c.name, L"", 0));
        else
            info.reset(new CElementInfoSeqUntpdCol(c.name, L"", 0));
        const bool inTarget = std::wstring(c.restriction) == L"##targetNamespace";
        CSmartPtr<CElementCol> items(
            new CElementCol(inTarget ? L"urn:a" : L"", c.restriction, L"urn:a", c.minOccurs, -1));
        CTestObject owner;
        owner.m_properties[0].SetXmlCollection(items.Get());
        Reading reading(xml);
        bool result = false;
        std::wstring outcome = MessageOf<CQxValidationException>([&] {
            result = reading.Read(*info, owner, CXmlSerializationContext(),
                                  c.soft ? XmlElementType_PseudoElement : XmlElementType_Element);
        });
        if (outcome == L"(no exception)") {
            outcome = std::wstring(result ? L"true " : L"false ") +
                      (reading.cursor ? (reading.cursor->GetNamespaceURI() == L"urn:a"   ? L"a:"
                                         : reading.cursor->GetNamespaceURI() == L"urn:b" ? L"b:"
                                                                                         : L"") +
                                            reading.CursorName()
                                      : L"(end)");
            for (const CElement* item : *items) outcome += L" " + item->GetName();
        }
        EXPECT_EQ(outcome, c.expected) << Narrow(std::wstring(c.name) + L" " + c.restriction);
    }
}

// Writing through the element descriptors, every member against a real CXmlTextWriter:
// primitive and enumeration values (unset, nil, facets, formats, item types), child objects
// (their namespace and the optional-choice flag), the attributes pseudo-element children lend
// to their parent's element, and collections with and without their count check (how the
// items are written is left to the collection tests).

#include "metadata/BehaviourTestSupport.h"

#include <qxxml/collections/ElementCol.h>

#include <gtest/gtest.h>

#include <memory>

using namespace metadata_test;

namespace {

using Members = std::vector<std::unique_ptr<CElementInfo>>;

constexpr auto kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;

const wchar_t* ColourText(int value) {
    switch (value) {
        case 0: return L"red";
        case 1: return L"green";
        default: return nullptr;
    }
}
int ColourValue(const wchar_t* text) { return std::wstring(text) == L"green" ? 1 : 0; }

// Every member that writes a primitive value, in each group it exists in.
Members PrimitiveMembers(const wchar_t* ns, ItemType type, const wchar_t* format,
                         const CPrimitiveRestrictions& facets = CPrimitiveRestrictions()) {
    Members members;
    members.emplace_back(new CElementInfoSeqPrimMnd(L"v", ns, 0, true, type, format, kCollapse, facets));
    members.emplace_back(new CElementInfoSeqPrimOpt(L"v", ns, 0, true, type, format, kCollapse, facets));
    members.emplace_back(new CElementInfoChoicePrimOpt(L"v", ns, 0, true, type, format, kCollapse, facets));
    members.emplace_back(new CElementInfoAllPrimMnd(L"v", ns, 0, true, type, format, kCollapse, facets));
    members.emplace_back(new CElementInfoAllPrimOpt(L"v", ns, 0, true, type, format, kCollapse, facets));
    return members;
}

Members EnumerationMembers() {
    Members members;
    members.emplace_back(new CElementInfoSeqEnumMnd(L"c", L"", 0, true, &ColourText, &ColourValue));
    members.emplace_back(new CElementInfoSeqEnumOpt(L"c", L"", 0, true, &ColourText, &ColourValue));
    members.emplace_back(new CElementInfoChoiceEnumOpt(L"c", L"", 0, true, &ColourText, &ColourValue));
    members.emplace_back(new CElementInfoAllEnumMnd(L"c", L"", 0, true, &ColourText, &ColourValue));
    members.emplace_back(new CElementInfoAllEnumOpt(L"c", L"", 0, true, &ColourText, &ColourValue));
    return members;
}

// Every member holding one child object, with the given element type; the choice class
// member is last.
Members ObjectMembers(XmlElementType type) {
    Members members;
    members.emplace_back(new CElementInfoSeqClsMnd(L"k", L"urn:k", 0, type, &FactoryLog::Create, 1, true));
    members.emplace_back(new CElementInfoSeqClsOpt(L"k", L"urn:k", 0, type, &FactoryLog::Create, 1));
    members.emplace_back(new CElementInfoAllClsMnd(L"k", L"urn:k", 0, type, &FactoryLog::Create, 1, false));
    members.emplace_back(new CElementInfoAllClsOpt(L"k", L"urn:k", 0, type, &FactoryLog::Create, 1));
    members.emplace_back(new CElementInfoSeqAbsClsMnd(L"k", L"urn:k", 0, type, &FactoryLog::CreateFromElement));
    members.emplace_back(new CElementInfoSeqAbsClsOpt(L"k", L"urn:k", 0, type, &FactoryLog::CreateFromElement));
    members.emplace_back(new CElementInfoChoiceAbsClsOpt(L"k", L"urn:k", 0, type, &FactoryLog::CreateFromElement));
    members.emplace_back(new CElementInfoAllAbsClsMnd(L"k", L"urn:k", 0, type, &FactoryLog::CreateFromElement, 3));
    members.emplace_back(new CElementInfoAllAbsClsOpt(L"k", L"urn:k", 0, type, &FactoryLog::CreateFromElement));
    members.emplace_back(new CElementInfoChoiceClsOpt(L"k", L"urn:k", 0, type, &FactoryLog::Create, 1));
    return members;
}

Members ObjectCollectionMembers(XmlElementType type) {
    Members members;
    members.emplace_back(new CElementInfoSeqClsCol(L"item", L"", 0, type));
    members.emplace_back(new CElementInfoChoiceClsCol(L"item", L"", 0, type));
    members.emplace_back(new CElementInfoAllClsCol(L"item", L"", 0, type));
    members.emplace_back(new CElementInfoSeqAbsClsCol(L"item", L"", 0, type));
    members.emplace_back(new CElementInfoChoiceAbsClsCol(L"item", L"", 0, type));
    members.emplace_back(new CElementInfoAllAbsClsCol(L"item", L"", 0, type));
    return members;
}

// A collection whose count is set by the test and which records how it is checked and asked
// to write.
class CScriptedCol : public CXmlCollectionBase {
public:
    explicit CScriptedCol(int count) : m_count(count) {}
    int GetCount() const override { return m_count; }
    void Clear() override {}
    void Remove(int) override {}
    void ValidateCount(const CXmlSerializationContext&) const override { ++m_checks; }

    int m_count;
    mutable int m_checks = 0;
    mutable std::vector<CProbeChild::WriteCall> m_writes;

protected:
    void ToXml_Int(CXmlWriter*, bool isRoot, const wchar_t* elementNamespace, const CXmlSerializationContext&,
                   bool optionalChoiceItem) const override {
        m_writes.push_back({isRoot, elementNamespace, optionalChoiceItem});
    }
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&,
                             bool) override {
        return firstChild;
    }
};

}  // namespace

// ------------------------------------------------------------------ primitive values

TEST(ElementWriting, PrimitivesWriteNothingWhenUnsetAndTheirLexicalFormOtherwise) {
    for (const auto& member : PrimitiveMembers(L"", ItemType_i4, nullptr)) {
        SCOPED_TRACE(typeid(*member).name());
        CTestObject object;
        Written out = WriteMember(*member, object);
        EXPECT_FALSE(out.result);
        EXPECT_EQ(out.text, L"<r/>");

        object.m_properties[0].SetI4(-42);
        out = WriteMember(*member, object);
        EXPECT_TRUE(out.result);
        EXPECT_EQ(out.text, L"<r><v>-42</v></r>");
        EXPECT_EQ(out.types, std::vector<ItemType>{ItemType_i4});
    }
    // The format override applies, and the value's own kind reaches the writer.
    for (const auto& member : PrimitiveMembers(L"", ItemType_r8, L"%.3f")) {
        CTestObject object;
        object.m_properties[0].SetR8(2.5);
        const Written out = WriteMember(*member, object);
        EXPECT_EQ(out.text, L"<r><v>2.500</v></r>");
        EXPECT_EQ(out.types, std::vector<ItemType>{ItemType_r8});
    }
}

TEST(ElementWriting, NilPrimitivesAreEmptyElementsCarryingTheNilMark) {
    for (const auto& member : PrimitiveMembers(L"", ItemType_i4, nullptr)) {
        SCOPED_TRACE(typeid(*member).name());
        CTestObject object;
        object.m_properties[0].SetI4(7);
        object.m_properties[0].SetNil();
        const Written out = WriteMember(*member, object);
        EXPECT_TRUE(out.result);
        EXPECT_TRUE(out.types.empty());  // no text at all
        EXPECT_EQ(out.text.compare(0, 6, L"<r><v "), 0) << Narrow(out.text);
        EXPECT_NE(out.text.find(L":nil=\"true\"/></r>"), std::wstring::npos) << Narrow(out.text);
        EXPECT_NE(out.text.find(L"=\"http://www.w3.org/2001/XMLSchema-instance\""), std::wstring::npos);
    }
}

TEST(ElementWriting, ABrokenFacetStopsTheElementBeforeAnythingIsWritten) {
    const CPrimitiveRestrictions positive(nullptr, -1, -1, nullptr, nullptr, L"0", nullptr, -1);
    for (const auto& member : PrimitiveMembers(L"", ItemType_i4, nullptr, positive)) {
        SCOPED_TRACE(typeid(*member).name());
        CTestObject object;
        object.m_properties[0].SetI4(0);
        CTextStream stream;
        CXmlTextWriter writer(&stream);
        writer.SetFormatting(false);
        writer.StartElement(L"r", L"");
        EXPECT_EQ(MessageOf([&] { member->ElementToXml(CXmlSerializationContext(), &object, &writer); }),
                  L"Invalid Value for v [0]");
        writer.EndElement();
        EXPECT_EQ(stream.TakeText(), L"<r/>");

        // A nil value has nothing to check.
        object.m_properties[0].SetNil();
        EXPECT_TRUE(WriteMember(*member, object).result);
        object.m_properties[0].SetI4(1);
        EXPECT_EQ(WriteMember(*member, object).text, L"<r><v>1</v></r>");
    }
}

// ------------------------------------------------------------------ enumerations

TEST(ElementWriting, EnumerationsWriteTheGeneratedTextAsAString) {
    for (const auto& member : EnumerationMembers()) {
        SCOPED_TRACE(typeid(*member).name());
        CTestObject object;
        EXPECT_FALSE(WriteMember(*member, object).result);

        object.m_properties[0].SetI4(1);
        Written out = WriteMember(*member, object);
        EXPECT_TRUE(out.result);
        EXPECT_EQ(out.text, L"<r><c>green</c></r>");
        EXPECT_EQ(out.types, std::vector<ItemType>{ItemType_string});

        object.m_properties[0].SetNil();
        out = WriteMember(*member, object);
        EXPECT_TRUE(out.result);
        EXPECT_NE(out.text.find(L":nil=\"true\"/></r>"), std::wstring::npos) << Narrow(out.text);

        // A number the generated function has no text for.
        object.m_properties[0].SetI4(7);
        EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { WriteMember(*member, object); }),
                  L"Invalid Value for c [7]");
    }
}

// ------------------------------------------------------------------ child objects

TEST(ElementWriting, ChildObjectsWriteThemselvesInTheDescriptorsNamespace) {
    const Members members = ObjectMembers(XmlElementType_Element);
    for (size_t i = 0; i < members.size(); ++i) {
        const CElementInfo& member = *members[i];
        SCOPED_TRACE(typeid(member).name());
        const bool isChoiceClass = i + 1 == members.size();
        CTestObject object;
        EXPECT_FALSE(WriteMember(member, object).result);  // unset
        object.m_properties[0].SetXmlObject(nullptr);
        EXPECT_FALSE(WriteMember(member, object).result);  // null

        CSmartPtr<CProbeChild> child(new CProbeChild);
        object.m_properties[0].SetXmlObject(child);
        const Written out = WriteMember(member, object);
        EXPECT_TRUE(out.result);
        ASSERT_EQ(child->m_writes.size(), 1u);
        EXPECT_FALSE(child->m_writes[0].isRoot);
        EXPECT_EQ(child->m_writes[0].elementNamespace, L"urn:k");
        // Only the choice's class alternative tells its child an empty choice is fine.
        EXPECT_EQ(child->m_writes[0].optionalChoiceItem, isChoiceClass);
        EXPECT_NE(out.text.find(L">c</"), std::wstring::npos) << Narrow(out.text);
    }
}

TEST(ElementWriting, PseudoChildrenLendTheirAttributesToTheOpenElement) {
    for (XmlElementType type : {XmlElementType_Element, XmlElementType_PseudoElement, XmlElementType(2)}) {
        for (const auto& member : ObjectMembers(type)) {
            SCOPED_TRACE(typeid(*member).name());
            CTestObject object;
            EXPECT_EQ(WritePseudoAttributes(*member, object), L"<e/>");  // no child
            CSmartPtr<CProbeChild> child(new CProbeChild(type));
            object.m_properties[0].SetXmlObject(child);
            // Only element type 1 lends attributes.
            EXPECT_EQ(WritePseudoAttributes(*member, object),
                      type == XmlElementType_PseudoElement ? L"<e lent=\"1\"/>" : L"<e/>");
        }
    }
    // Value members lend nothing, whatever their property holds.
    CTestObject object;
    CSmartPtr<CProbeChild> child(new CProbeChild(XmlElementType_PseudoElement));
    object.m_properties[0].SetXmlObject(child);
    Members values = PrimitiveMembers(L"", ItemType_i4, nullptr);
    for (auto& member : EnumerationMembers()) values.push_back(std::move(member));
    for (const auto& member : values) EXPECT_EQ(WritePseudoAttributes(*member, object), L"<e/>");
    EXPECT_EQ(child->m_attributeWrites, 0);
}

TEST(ElementWriting, PseudoCollectionItemsLendTheirAttributes) {
    for (XmlElementType type : {XmlElementType_Element, XmlElementType_PseudoElement}) {
        for (const auto& member : ObjectCollectionMembers(type)) {
            SCOPED_TRACE(typeid(*member).name());
            CSmartPtr<CProbeCol> items(new CProbeCol);
            CSmartPtr<CProbeChild> first(new CProbeChild(type));
            CSmartPtr<CProbeChild> second(new CProbeChild(type));
            items->Append(first);
            items->Append(second);
            CTestObject object;
            object.m_properties[0].SetXmlCollection(items);
            WritePseudoAttributes(*member, object);
            const int expected = type == XmlElementType_PseudoElement ? 1 : 0;
            EXPECT_EQ(first->m_attributeWrites, expected);
            EXPECT_EQ(second->m_attributeWrites, expected);
        }
    }
}

// ------------------------------------------------------------------ collections

TEST(ElementWriting, SequenceAndAllCollectionsCheckTheirCountUnlessToldChoicesNever) {
    // (member, whether it checks the count)
    std::vector<std::pair<std::unique_ptr<CElementInfo>, bool>> members;
    auto add = [&](CElementInfo* member, bool checks) { members.emplace_back(member, checks); };
    add(new CElementInfoSeqPrimCol(L"d", L"urn:d", 0), true);
    add(new CElementInfoSeqEnumCol(L"d", L"urn:d", 0), true);
    add(new CElementInfoSeqClsCol(L"d", L"urn:d", 0, XmlElementType_Element), true);
    add(new CElementInfoSeqUntpdCol(L"d", L"urn:d", 0), true);
    add(new CElementInfoAllPrimCol(L"d", L"urn:d", 0), true);
    add(new CElementInfoAllAbsClsCol(L"d", L"urn:d", 0, XmlElementType_Element), true);
    add(new CElementInfoAllUntpdCol(L"d", L"urn:d", 0), true);
    add(new CElementInfoChoicePrimCol(L"d", L"urn:d", 0), false);
    add(new CElementInfoChoiceEnumCol(L"d", L"urn:d", 0), false);
    add(new CElementInfoChoiceClsCol(L"d", L"urn:d", 0, XmlElementType_Element), false);
    add(new CElementInfoChoiceAbsClsCol(L"d", L"urn:d", 0, XmlElementType_Element), false);
    add(new CElementInfoChoiceUntpdCol(L"d", L"urn:d", 0), false);
    for (const auto& [member, checks] : members) {
        SCOPED_TRACE(typeid(*member).name());
        CSmartPtr<CScriptedCol> items(new CScriptedCol(0));
        CTestObject object;
        object.m_properties[0].SetXmlCollection(items);
        EXPECT_FALSE(WriteMember(*member, object).result);  // empty: nothing written
        EXPECT_EQ(items->m_checks, checks ? 1 : 0);
        EXPECT_TRUE(items->m_writes.empty());

        items->m_count = 2;
        const CXmlSerializationContext context = checks ? IgnoringCollectionCounts() : CXmlSerializationContext();
        EXPECT_TRUE(WriteMember(*member, object, context).result);
        EXPECT_EQ(items->m_checks, checks ? 1 : 0);  // not checked this time
        ASSERT_EQ(items->m_writes.size(), 1u);
        EXPECT_FALSE(items->m_writes[0].isRoot);
        EXPECT_EQ(items->m_writes[0].elementNamespace, L"urn:d");
        EXPECT_FALSE(items->m_writes[0].optionalChoiceItem);
    }
}

// ------------------------------------------------------------------ untyped content

// The untyped members write the CElement their property holds (and nothing without one);
// the element writes children before text and refuses a namespace its wildcard does not allow.
TEST(ElementWriting, UntypedMembersWriteTheirElement) {
    Members untyped;
    untyped.emplace_back(new CElementInfoSeqUntpdMnd(L"any", L"", 0, L"##other", L"urn:t"));
    untyped.emplace_back(new CElementInfoSeqUntpdOpt(L"any", L"", 0, L"##other", L"urn:t"));
    untyped.emplace_back(new CElementInfoChoiceUntpdOpt(L"any", L"", 0, L"##other", L"urn:t"));
    untyped.emplace_back(new CElementInfoAllUntpdMnd(L"any", L"", 0, L"##other", L"urn:t"));
    untyped.emplace_back(new CElementInfoAllUntpdOpt(L"any", L"", 0, L"##other", L"urn:t"));
    for (const auto& member : untyped) {
        CTestObject object;
        EXPECT_FALSE(WriteMember(*member, object).result);
        CSmartPtr<CElement> element(new CElement(L"e", L"", L"##other", L"urn:t"));
        element->SetText(L"t<");
        element->GetChildElements()->Add(L"c", L"urn:c");
        object.m_properties[0].SetXmlObject(element.Get());
        const Written out = WriteMember(*member, object);
        EXPECT_TRUE(out.result);
        EXPECT_EQ(out.text, L"<r><e><AA:c xmlns:AA=\"urn:c\"/>t&lt;</e></r>");
        element->SetNamespace(L"urn:t");  // now outside "##other"
        EXPECT_EQ(MessageOf<CQxInvalidNamespaceException>([&] { WriteMember(*member, object); }),
                  L"Invalid namespace [urn:t]. The namespace must be one of [##other] where the target namespace is "
                  L"[urn:t]");
    }
}

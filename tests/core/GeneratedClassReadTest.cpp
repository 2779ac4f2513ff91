// The reading engine of generated classes, through the test binding: attributes and nil, the
// cursor walks of sequences, choices and all-groups with the leniency flags, pseudo elements,
// text values, factories and the failure chain.
#include "core/TestBinding.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/metadata/ElementInfoAll.h>
#include <qxxml/metadata/ElementInfoChoice.h>
#include <qxxml/metadata/ElementInfoSeq.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/QxVariant.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlin/XmlElement.h>

#include <gtest/gtest.h>

#include <string>

namespace test_binding {
namespace {

using namespace QxXmlLib10Data;

// Documents in the binding's namespace as default namespace, with the xsi prefix declared.
std::wstring Doc(const std::wstring& element, const std::wstring& attributes, const std::wstring& content) {
    return L"<" + element + L" xmlns=\"urn:qxxml:test:binding\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"" +
           attributes + L">" + content + L"</" + element + L">";
}

// The root content the schema requires, for documents that vary one member.
const std::wstring kRootHead = L"<name>n</name><colour>red</colour><item><label>l</label></item>"
                               L"<shape xsi:type=\"Circle\"><radius>1</radius></shape>";
const std::wstring kAddress = L"<street>s</street>";

std::wstring RootDoc(const std::wstring& afterHead, const std::wstring& afterAddress = L"") {
    return Doc(L"Root", L" id=\"1\"", kRootHead + afterHead + kAddress + afterAddress);
}

template <class T>
CSmartPtr<T> Read(const std::wstring& xml, const CXmlSerializationContext& context) {
    CSmartPtr<T> object(new T);
    object->FromXml(xml.c_str(), context);
    return object;
}

template <class T>
std::wstring ReadFailure(const std::wstring& xml, const CXmlSerializationContext& context, T* object = new T) {
    CSmartPtr<T> held(object);
    try {
        object->FromXml(xml.c_str(), context);
    } catch (const CQxException& error) {
        return error.GetFullMessage();
    }
    return L"(nothing thrown)";
}

// What QxVariant::FromString says about a text: the first cause of a failed text value.
std::wstring ConversionMessage(const std::wstring& text, ItemType type, CWhitespaceUtils::WhitespaceRule rule) {
    try {
        QxVariant value;
        value.FromString(text, type, rule);
    } catch (const CQxException& error) {
        return error.GetFullMessage();
    }
    return L"(converted)";
}


std::wstring Remains(const std::wstring& parent, const std::wstring& element) {
    return L"Failed read all the elements held within the element [" + parent + L"]. The unexpected element [" +
           element + L"] remains un processed";
}

class GeneratedClassReadTest : public ::testing::Test {
protected:
    CXmlSerializationContext context;
};

// ---------------------------------------------------------------- attributes

TEST_F(GeneratedClassReadTest, UnknownAttributeFollowsTheClassAndTheContext) {
    const std::wstring xml = Doc(L"Item", L" foo=\"1\" code=\"c\"", L"<label>a</label>");
    EXPECT_EQ(ReadFailure<CTbItem>(xml, context), L"Failed to process the element [Item]\nUnexpected Attribute [foo] found.");

    context.SetIgnoreUnknownAttributes(true);
    CSmartPtr<CTbItem> item = Read<CTbItem>(xml, context);
    EXPECT_EQ(item->GetLabel(), L"a");
    EXPECT_EQ(item->GetCode(), L"c");

    // A class that does not fail on unknown attributes drops them under any context.
    context.SetIgnoreUnknownAttributes(false);
    CSmartPtr<CTbHolder> holder = Read<CTbHolder>(Doc(L"Holder", L" foo=\"1\" own=\"o\"", L""), context);
    EXPECT_EQ(holder->GetOwn(), L"o");
}

TEST_F(GeneratedClassReadTest, SchemaAttributesAndDeclarationsAreNeverReported) {
    const std::wstring xml = Doc(L"Item",
                                 L" xmlns:other=\"urn:other\" xsi:type=\"Item\" xsi:schemaLocation=\"urn:a a.xsd\""
                                 L" xsi:noNamespaceSchemaLocation=\"b.xsd\"",
                                 L"<label>a</label>");
    EXPECT_EQ(Read<CTbItem>(xml, context)->GetLabel(), L"a");
}

TEST_F(GeneratedClassReadTest, MissingRequiredAttributeIsReportedAfterTheOthers) {
    const std::wstring xml = Doc(L"Root", L" status=\"closed\"", kRootHead + kAddress);
    EXPECT_EQ(ReadFailure<CTbRoot>(xml, context),
              L"Failed to process the element [Root]\nFailed to find the required Attribute [id]");
    CSmartPtr<CTbRoot> root = Read<CTbRoot>(Doc(L"Root", L" status=\"closed\" id=\" 12 \"", kRootHead + kAddress), context);
    EXPECT_EQ(root->GetStatus(), Status_closed);
    EXPECT_EQ(root->GetId(), 12);
}

// ---------------------------------------------------------------- nil

TEST_F(GeneratedClassReadTest, NilAttributeInAnyCaseSetsNilAndLeavesTheContentUnread) {
    for (const wchar_t* text : {L"TRUE", L"true", L"True", L"1"}) {
        CSmartPtr<CTbNilItem> nilItem = Read<CTbNilItem>(
            Doc(L"NilItem", std::wstring(L" ref=\"r\" xsi:nil=\"") + text + L"\"", L"<value>v</value><extra/>"),
            context);
        EXPECT_TRUE(nilItem->IsNil()) << text;
        EXPECT_EQ(nilItem->GetValue(), L"") << text;
        EXPECT_EQ(nilItem->GetRef(), L"r") << text;
    }
    for (const wchar_t* text : {L"FALSE", L"0"}) {
        CSmartPtr<CTbNilItem> nilItem =
            Read<CTbNilItem>(Doc(L"NilItem", std::wstring(L" xsi:nil=\"") + text + L"\"", L"<value>v</value>"), context);
        EXPECT_FALSE(nilItem->IsNil()) << text;
        EXPECT_EQ(nilItem->GetValue(), L"v") << text;
    }
}

TEST_F(GeneratedClassReadTest, NilAttributeMistakes) {
    EXPECT_EQ(ReadFailure<CTbNilItem>(Doc(L"NilItem", L" xsi:nil=\"yes\"", L""), context),
              L"Failed to process the element [NilItem]\nUnexpected Value [yes] for 'nil' Attribute found.");
    EXPECT_EQ(ReadFailure<CTbItem>(Doc(L"Item", L" xsi:nil=\"true\"", L"<label>a</label>"), context),
              L"Failed to process the element [Item]\nInvalid use of 'nil' attibute in non-nillable element [Item]");
    // Even "false" is refused on an element that cannot be nil.
    EXPECT_EQ(ReadFailure<CTbItem>(Doc(L"Item", L" xsi:nil=\"false\"", L"<label>a</label>"), context),
              L"Failed to process the element [Item]\nInvalid use of 'nil' attibute in non-nillable element [Item]");
}

// ---------------------------------------------------------------- sequences

TEST_F(GeneratedClassReadTest, UnknownChildOfASequence) {
    const std::wstring xml = Doc(L"Item", L"", L"<label>a</label><zzz/><qty>3</qty>");
    EXPECT_EQ(ReadFailure<CTbItem>(xml, context), L"Failed to process the element [Item]\n" + Remains(L"Item", L"zzz"));

    context.SetIgnoreUnknownElements(true);
    CSmartPtr<CTbItem> item = Read<CTbItem>(xml, context);
    EXPECT_EQ(item->GetLabel(), L"a");
    ASSERT_TRUE(item->HasQty());  // the member after the skipped element is still read
    EXPECT_EQ(item->GetQty(), 3);

    // Unknown elements before a mandatory member, and several at the end.
    item = Read<CTbItem>(Doc(L"Item", L"", L"<x/><y/><label>b</label><z/><w/>"), context);
    EXPECT_EQ(item->GetLabel(), L"b");
    EXPECT_FALSE(item->HasQty());
}

TEST_F(GeneratedClassReadTest, SkippedElementLetsTheRepeatedMemberReadOn) {
    // A repeated member followed by an optional one.
    CSmartPtr<CTbProbe> probe(new CTbProbe(
        ProbeInfo(XmlElementGroupType_Sequence),
        {new CElementInfoSeqPrimCol(L"t", kNamespace, 0),
         new CElementInfoSeqPrimOpt(L"o", kNamespace, 1, false, ItemType_string, nullptr,
                                    CWhitespaceUtils::WhitespaceRule_None, CPrimitiveRestrictions())}));
    CSmartPtr<CstringCol> items(NewStringCol(L"t", 0, -1));
    probe->m_properties[0].SetXmlCollection(items.Get());
    const std::wstring xml = Doc(L"p", L"", L"<t>a</t><zzz/><t>b</t><yyy><t>no</t></yyy><t>c</t><o>x</o>");

    EXPECT_EQ(ReadFailure(xml, context, probe.Get()), L"Failed to process the element [p]\n" + Remains(L"p", L"zzz"));

    items->Clear();
    context.SetIgnoreUnknownElements(true);
    probe->FromXml(xml.c_str(), context);
    ASSERT_EQ(items->GetCount(), 3);
    EXPECT_EQ(items->Item(0) + items->Item(1) + items->Item(2), L"abc");
    EXPECT_EQ(probe->m_properties[1].GetString(), L"x");
}

TEST_F(GeneratedClassReadTest, NamespacesDecideUnlessIgnored) {
    const std::wstring xml = L"<Item xmlns=\"urn:other\"><label>a</label></Item>";
    EXPECT_EQ(ReadFailure<CTbItem>(xml, context),
              L"Failed to process the element [Item]\nFailed to find a required element [label]");
    context.SetIgnoreNamespaces(true);
    EXPECT_EQ(Read<CTbItem>(xml, context)->GetLabel(), L"a");
    // The root is accepted under any name.
    EXPECT_EQ(Read<CTbItem>(Doc(L"Whatever", L"", L"<label>a</label>"), context)->GetElementName(), L"Whatever");
}

TEST_F(GeneratedClassReadTest, EveryReadStartsFromInit) {
    CSmartPtr<CTbItem> item(new CTbItem);
    item->FromXml(Doc(L"Item", L" code=\"c\"", L"<label>a</label><qty>1</qty>").c_str(), context);
    ASSERT_TRUE(item->HasQty());
    item->FromXml(Doc(L"Item", L"", L"<label>b</label>").c_str(), context);
    EXPECT_FALSE(item->HasQty());
    EXPECT_FALSE(item->HasCode());
    EXPECT_EQ(item->GetLabel(), L"b");

    CSmartPtr<CTbProbe> probe(new CTbProbe(ProbeInfo(XmlElementGroupType_Sequence), {}));
    probe->FromXml(L"<p/>", context);
    probe->FromXml(L"<p/>", context);
    EXPECT_EQ(probe->m_initCount, 2);
}

// ---------------------------------------------------------------- pseudo elements

TEST_F(GeneratedClassReadTest, ModelGroupsThatMatchNothingAreLeftOut) {
    CSmartPtr<CTbRoot> root = Read<CTbRoot>(RootDoc(L"", L"<note>n</note>"), context);
    EXPECT_EQ(root->GetContact(), nullptr);
    EXPECT_EQ(root->GetExtras(), nullptr);
    EXPECT_EQ(root->GetNote().GetString(), L"n");

    root = Read<CTbRoot>(RootDoc(L"", L"<email>e</email><hint>h</hint>"), context);
    ASSERT_NE(root->GetContact(), nullptr);
    EXPECT_EQ(root->GetContact()->GetEmail(), L"e");
    ASSERT_NE(root->GetExtras(), nullptr);
    EXPECT_EQ(root->GetExtras()->GetHint(), L"h");
    EXPECT_FALSE(root->GetExtras()->HasMemo());
}

TEST_F(GeneratedClassReadTest, ModelGroupWhoseFirstMemberIsAbsentTakesNothing) {
    // memo without hint: the Extras group takes nothing, so memo is left over.
    EXPECT_EQ(ReadFailure<CTbRoot>(RootDoc(L"", L"<memo>m</memo>"), context),
              L"Failed to process the element [Root]\n" + Remains(L"Root", L"memo"));
    EXPECT_EQ(ReadFailure<CTbRoot>(Doc(L"Root", L" id=\"1\"", kRootHead), context),
              L"Failed to process the element [Root]\nFailed to find a required element [Address]");
}

TEST_F(GeneratedClassReadTest, ModelGroupsTakeTheirAttributesFromTheHoldersElement) {
    CSmartPtr<CTbHolder> holder = Read<CTbHolder>(
        Doc(L"Holder", L" mark=\"m\" own=\"o\"",
            L"<flagValue>4</flagValue><key>a</key><value>1</value><key>b</key><value>2</value>"),
        context);
    EXPECT_EQ(holder->GetOwn(), L"o");
    EXPECT_EQ(holder->GetFlags()->GetMark(), L"m");
    EXPECT_EQ(holder->GetFlags()->GetFlagValue(), 4);
    ASSERT_EQ(holder->GetPairs()->GetCount(), 2);
    EXPECT_EQ(holder->GetPairs()->Item(1)->GetKey(), L"b");
    EXPECT_EQ(holder->GetPairs()->Item(1)->GetValue(), 2);

    // An incomplete last pair is not a pair: its key is left over.
    EXPECT_EQ(ReadFailure<CTbHolder>(Doc(L"Holder", L"", L"<key>a</key><value>1</value><key>b</key>"), context),
              L"Failed to process the element [Holder]\n" + Remains(L"Holder", L"key"));
}

// ---------------------------------------------------------------- all-groups

TEST_F(GeneratedClassReadTest, AllGroupInAnyOrder) {
    const std::wstring forward = L"<alpha>a</alpha><beta>2</beta><gamma>green</gamma><delta>blue</delta>"
                                 L"<inner><label>i</label></inner><outer><label>o</label></outer>";
    const std::wstring reverse = L"<outer><label>o</label></outer><inner><label>i</label></inner><delta>blue</delta>"
                                 L"<gamma>green</gamma><beta>2</beta><alpha>a</alpha>";
    const std::wstring shuffled = L"<gamma>green</gamma><outer><label>o</label></outer><alpha>a</alpha>"
                                  L"<delta>blue</delta><inner><label>i</label></inner><beta>2</beta>";
    CSmartPtr<CTbBag> expected(new CTbBag);
    expected->SetAlpha(L"a");
    expected->SetBeta(2);
    expected->SetGamma(Colour_green);
    expected->SetDelta(Colour_blue);
    expected->GetInner()->SetLabel(L"i");
    expected->SetOuter(new CTbItem(L"o"));
    for (const std::wstring& content : {forward, reverse, shuffled})
        EXPECT_TRUE(Read<CTbBag>(Doc(L"Bag", L"", content), context)->Equals(*expected)) << content.size();
}

TEST_F(GeneratedClassReadTest, AllGroupMistakes) {
    EXPECT_EQ(ReadFailure<CTbBag>(Doc(L"Bag", L"", L"<gamma>red</gamma><inner><label>i</label></inner>"), context),
              L"Failed to process the element [Bag]\nFailed to find the mandatory element [alpha]");
    // A member comes once: a second alpha is left over.
    const std::wstring twice = L"<alpha>a</alpha><gamma>red</gamma><inner><label>i</label></inner><alpha>b</alpha>";
    EXPECT_EQ(ReadFailure<CTbBag>(Doc(L"Bag", L"", twice), context),
              L"Failed to process the element [Bag]\n" + Remains(L"Bag", L"alpha"));

    // With leniency, unknown elements are left where they are; the members before them count.
    const std::wstring unknown = L"<alpha>a</alpha><gamma>red</gamma><inner><label>i</label></inner><zzz/><beta>1</beta>";
    EXPECT_EQ(ReadFailure<CTbBag>(Doc(L"Bag", L"", unknown), context),
              L"Failed to process the element [Bag]\n" + Remains(L"Bag", L"zzz"));
    context.SetIgnoreUnknownElements(true);
    CSmartPtr<CTbBag> bag = Read<CTbBag>(Doc(L"Bag", L"", unknown), context);
    EXPECT_EQ(bag->GetAlpha(), L"a");
    EXPECT_FALSE(bag->HasBeta());
}

TEST_F(GeneratedClassReadTest, RepeatedMemberOfAnAllGroupIsAskedOnEveryPass) {
    // It never counts as found, so each pass that moved the cursor offers it the next run.
    CSmartPtr<CTbProbe> probe(new CTbProbe(
        ProbeInfo(XmlElementGroupType_All),
        {new CElementInfoAllPrimCol(L"t", kNamespace, 0),
         new CElementInfoAllPrimMnd(L"m", kNamespace, 1, false, ItemType_string, nullptr,
                                    CWhitespaceUtils::WhitespaceRule_None, CPrimitiveRestrictions())}));
    CSmartPtr<CstringCol> items(NewStringCol(L"t", 0, -1));
    probe->m_properties[0].SetXmlCollection(items.Get());
    probe->FromXml(Doc(L"p", L"", L"<t>1</t><m>x</m><t>2</t><t>3</t>").c_str(), context);
    ASSERT_EQ(items->GetCount(), 3);
    EXPECT_EQ(items->Item(2), L"3");
    EXPECT_EQ(probe->m_properties[1].GetString(), L"x");
}

TEST_F(GeneratedClassReadTest, ElementInListIsAnyMemberOfTheTable) {
    CXmlDocument document;
    document.LoadXml(Doc(L"Item", L"", L"<label/><qty/><code/><other:label xmlns:other=\"urn:other\"/>").c_str());
    CSmartPtr<CTbExposed<CTbItem>> item(new CTbExposed<CTbItem>);
    CXmlElement* label = document.GetDocumentElement()->GetFirstElement();
    CXmlElement* qty = label->GetNextSiblingElement();
    CXmlElement* code = qty->GetNextSiblingElement();  // an attribute of Item, not an element
    CXmlElement* foreign = code->GetNextSiblingElement();
    EXPECT_TRUE(item->IsElementInList(context, label));
    EXPECT_TRUE(item->IsElementInList(context, qty));
    EXPECT_FALSE(item->IsElementInList(context, code));
    EXPECT_FALSE(item->IsElementInList(context, foreign));
    context.SetIgnoreNamespaces(true);
    EXPECT_TRUE(item->IsElementInList(context, foreign));
}

// ---------------------------------------------------------------- choices

TEST_F(GeneratedClassReadTest, ChoiceWithoutAMatchingChild) {
    const std::wstring choiceMessage =
        L"Failed to process the element [StrictChoice]\nNo child elements within the element [StrictChoice] were "
        L"populated. The element represents a choice, so one and only one element should be populated. The element "
        L"contained no sutable child elements";
    EXPECT_EQ(ReadFailure<CTbStrictChoice>(Doc(L"StrictChoice", L"", L""), context), choiceMessage);
    EXPECT_EQ(ReadFailure<CTbStrictChoice>(Doc(L"StrictChoice", L"", L"<zzz/>"), context), choiceMessage);

    // A class with an optional alternative may be empty.
    EXPECT_EQ(Read<CTbOptions>(Doc(L"Options", L"", L""), context)->GetValidElement(), L"");

    context.SetIgnoreMissingChoice(true);
    EXPECT_EQ(Read<CTbStrictChoice>(Doc(L"StrictChoice", L"", L""), context)->GetWords()->GetCount(), 0);
    // The left-over element is still an error.
    EXPECT_EQ(ReadFailure<CTbStrictChoice>(Doc(L"StrictChoice", L"", L"<zzz/>"), context),
              L"Failed to process the element [StrictChoice]\n" + Remains(L"StrictChoice", L"zzz"));
}

TEST_F(GeneratedClassReadTest, EmptyChoiceInsideAnOptionalChoiceItem) {
    CSmartPtr<CTbProbe> probe(new CTbProbe(
        ProbeInfo(XmlElementGroupType_Choice),
        {new CElementInfoChoiceClsOpt(L"strict", kNamespace, 0, XmlElementType_Element, &CreateTbObject,
                                      TbClass_StrictChoice)}));
    probe->FromXml(Doc(L"probe", L"", L"<strict/>").c_str(), context);
    const CSmartPtr<CXmlObjectBase> strict = probe->m_properties[0].GetXmlObject();
    ASSERT_NE(dynamic_cast<CTbStrictChoice*>(strict.Get()), nullptr);

    // Read directly with the flag, an empty choice is accepted too.
    CSmartPtr<CTbExposed<CTbStrictChoice>> exposed(new CTbExposed<CTbStrictChoice>);
    CXmlDocument document;
    document.LoadXml(L"<StrictChoice/>");
    EXPECT_EQ(exposed->FromXml_Int(document.GetDocumentElement(), nullptr, context, true), nullptr);
}

TEST_F(GeneratedClassReadTest, ChoiceTakesOneAlternative) {
    CSmartPtr<CTbOptions> options = Read<CTbOptions>(Doc(L"Options", L"", L"<word>a</word><word>b</word>"), context);
    EXPECT_EQ(options->GetWords()->GetCount(), 2);

    EXPECT_EQ(ReadFailure<CTbOptions>(Doc(L"Options", L"", L"<flag>true</flag><mode>red</mode>"), context),
              L"Failed to process the element [Options]\n" + Remains(L"Options", L"mode"));

    options = Read<CTbOptions>(Doc(L"Options", L"", L"<child><label>c</label></child>"), context);
    ASSERT_NE(options->GetChild(), nullptr);
    EXPECT_EQ(options->GetChild()->GetLabel(), L"c");
    EXPECT_EQ(options->GetChild()->GetElementName(), L"child");

    // Unknown elements before the alternative are skipped only when lenient.
    const std::wstring xml = Doc(L"Options", L"", L"<zzz/><yyy/><mode>blue</mode>");
    EXPECT_EQ(ReadFailure<CTbOptions>(xml, context), L"Failed to process the element [Options]\n" + Remains(L"Options", L"zzz"));
    context.SetIgnoreUnknownElements(true);
    EXPECT_EQ(Read<CTbOptions>(xml, context)->GetMode(), Colour_blue);
}

TEST_F(GeneratedClassReadTest, ChoiceCollectionCounts) {
    const std::wstring xml = Doc(L"StrictChoice", L"", L"<word>1</word><word>2</word><word>3</word><word>4</word>");
    EXPECT_EQ(ReadFailure<CTbStrictChoice>(xml, context),
              L"Failed to process the element [StrictChoice]\nThe Maximum number of [word] elements allowed in this "
              L"collection is 3");
    context.SetIgnoreInvalidCollectionCounts(true);
    EXPECT_EQ(Read<CTbStrictChoice>(xml, context)->GetWords()->GetCount(), 4);
}

TEST_F(GeneratedClassReadTest, ChoiceInAModelGroupSkipsNothing) {
    // Even with leniency, the Contact group (a choice among the root's children) does not skip
    // the unknown element to find its phone; the Extras group after it searches for its
    // mandatory hint and passes over both.
    context.SetIgnoreUnknownElements(true);
    CSmartPtr<CTbRoot> root = Read<CTbRoot>(RootDoc(L"", L"<zzz/><phone>p</phone><hint>h</hint>"), context);
    EXPECT_EQ(root->GetContact(), nullptr);
    ASSERT_NE(root->GetExtras(), nullptr);
    EXPECT_EQ(root->GetExtras()->GetHint(), L"h");

    root = Read<CTbRoot>(RootDoc(L"", L"<phone>p</phone><zzz/><hint>h</hint>"), context);
    ASSERT_NE(root->GetContact(), nullptr);
    EXPECT_EQ(root->GetContact()->GetPhone(), L"p");
}

// ---------------------------------------------------------------- text values

TEST_F(GeneratedClassReadTest, TextValueIsParsedByItsDataType) {
    EXPECT_EQ(Read<CTbPrice>(Doc(L"Price", L"", L"12.50"), context)->GetAmount(), CDecimal(L"12.5"));

    const std::wstring cause = ConversionMessage(L"12,50", ItemType_decimal, CWhitespaceUtils::WhitespaceRule_None);
    ASSERT_NE(cause, L"(converted)");
    EXPECT_EQ(ReadFailure<CTbPrice>(Doc(L"Price", L"", L"12,50"), context),
              L"Failed to process the element [Price]\n" + cause);
}

TEST_F(GeneratedClassReadTest, TextPropertyKeepsTheTextExactly) {
    CSmartPtr<CTbRemark> remark =
        Read<CTbRemark>(Doc(L"Remark", L"", L"  before <em>e</em>\tafter  "), context);
    EXPECT_EQ(remark->GetEm(), L"e");
    EXPECT_EQ(remark->GetText(), L"  before \tafter  ");
}

// ---------------------------------------------------------------- factories

TEST_F(GeneratedClassReadTest, AbstractMembersAreChosenByTheFactory) {
    const int callsBefore = CTbShapeFactory::GetCallCount();
    CSmartPtr<CTbRoot> root = Read<CTbRoot>(
        Doc(L"Root", L" id=\"1\" xmlns:q=\"urn:qxxml:test:binding\"",
            L"<name>n</name><colour>red</colour><item><label>l</label></item>"
            L"<shape xsi:type=\"q:Square\"><side>2.50</side></shape>"
            L"<spare xmlns:r=\"urn:qxxml:test:binding\" xsi:type=\"r:Circle\"><radius>1.5</radius></spare>"
            L"<figure xsi:type=\"Circle\"><radius>3</radius></figure>" +
                kAddress),
        context);
    auto* square = dynamic_cast<CTbSquare*>(root->GetShape());
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(square->GetSide(), CDecimal(L"2.5"));
    EXPECT_EQ(square->GetElementName(), L"shape");
    auto* circle = dynamic_cast<CTbCircle*>(root->GetSpare());
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->GetRadius(), 1.5);
    ASSERT_EQ(root->GetFigures()->GetCount(), 1);
    EXPECT_NE(dynamic_cast<CTbCircle*>(root->GetFigures()->Item(0).Get()), nullptr);
    EXPECT_GE(CTbShapeFactory::GetCallCount() - callsBefore, 3);
}

TEST_F(GeneratedClassReadTest, FactoryThatTakesNothing) {
    // An unknown type, and a known one of another namespace.
    for (const wchar_t* shape : {L"<shape xsi:type=\"Hexagon\"><radius>1</radius></shape>",
                                 L"<shape xmlns:o=\"urn:other\" xsi:type=\"o:Circle\"><radius>1</radius></shape>"})
        EXPECT_EQ(ReadFailure<CTbRoot>(Doc(L"Root", L" id=\"1\"",
                                           L"<name>n</name><colour>red</colour><item><label>l</label></item>" +
                                               std::wstring(shape) + kAddress),
                                       context),
                  L"Failed to process the element [Root]\nFailed to find a suitable substitution element for [shape]");
    // An optional abstract member leaves the element to the members after it: here the
    // mandatory Address group, which does not find its street there.
    EXPECT_EQ(ReadFailure<CTbRoot>(RootDoc(L"<spare xsi:type=\"Hexagon\"/>"), context),
              L"Failed to process the element [Root]\nFailed to find a required element [Address]");
}

// The protected helpers of CClassfactoryBase, opened.
struct CFactoryProbe : CClassfactoryBase {
    using CClassfactoryBase::GetElementType;
    using CClassfactoryBase::GetElementTypeNamespaceUri;
};

TEST_F(GeneratedClassReadTest, ElementTypeAndItsNamespace) {
    CXmlDocument document;
    document.LoadXml(
        L"<r xmlns=\"urn:d\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:p=\"urn:p\">"
        L"<a xsi:type=\"p:T\"/><b xsi:type=\"T\"/><c xsi:type=\"zz:T\"/><d/><e xsi:type=\"p:x:y\"/></r>");
    // No prefix, or an unknown one: the element's own namespace; split at the first colon.
    const struct {
        const wchar_t* type;
        const wchar_t* uri;
    } expected[] = {{L"T", L"urn:p"}, {L"T", L"urn:d"}, {nullptr, L"urn:d"}, {L"", L"urn:d"}, {L"x:y", L"urn:p"}};
    CXmlElement* element = document.GetDocumentElement()->GetFirstElement();
    for (const auto& e : expected) {
        if (e.type) {
            EXPECT_EQ(CFactoryProbe::GetElementType(element), e.type) << e.uri;
        }
        EXPECT_EQ(CFactoryProbe::GetElementTypeNamespaceUri(element), e.uri) << e.type;
        element = element->GetNextSiblingElement();
    }

    // Prefixes are looked up in the document as a whole, where the last declaration wins.
    document.LoadXml(
        L"<r xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:p=\"urn:outer\">"
        L"<a xsi:type=\"p:T\"/><f xmlns:p=\"urn:inner\"/></r>");
    EXPECT_EQ(CFactoryProbe::GetElementTypeNamespaceUri(document.GetDocumentElement()->GetFirstElement()),
              L"urn:inner");
}

// ---------------------------------------------------------------- failures

TEST_F(GeneratedClassReadTest, FailureThreeLevelsDownNamesEveryLevel) {
    const std::wstring xml = RootDoc(L"", L"<bag><alpha>a</alpha><gamma>red</gamma><inner><label>i</label>"
                                          L"<qty>many</qty></inner></bag>");
    const std::wstring cause = ConversionMessage(L"many", ItemType_i4, CWhitespaceUtils::WhitespaceRule_Collapse);
    ASSERT_NE(cause, L"(converted)");
    CSmartPtr<CTbRoot> root(new CTbRoot);
    try {
        root->FromXml(xml.c_str(), context);
        FAIL() << "no exception";
    } catch (const CQxValidationException& error) {
        EXPECT_EQ(error.GetFullMessage(), L"Failed to process the element [Root]\nFailed to process the element [bag]\n"
                                          L"Failed to process the element [inner]\n" +
                                              cause);
    }
}

TEST_F(GeneratedClassReadTest, UnknownGroupTypeIsRefused) {
    CSmartPtr<CTbProbe> probe(new CTbProbe(ProbeInfo(static_cast<XmlElementGroupType>(3)), {}));
    try {
        probe->FromXml(L"<p/>", context);
        FAIL() << "no exception";
    } catch (const CQxValidationException& error) {
        EXPECT_EQ(error.GetFullMessage(), L"Failed to process the element [p]\nUnknow Group Type");
        ASSERT_NE(error.GetInnerException(), nullptr);
        EXPECT_EQ(dynamic_cast<const CQxValidationException*>(error.GetInnerException()), nullptr);
    }
}

}  // namespace
}  // namespace test_binding

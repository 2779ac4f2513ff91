// Tests of the element descriptor family: element recognition, restriction checks, the
// wildcard default namespace, Validate of the groups and the metadata clean-up.

#include "metadata/MetadataTestSupport.h"

#include <qxxml/metadata/ElementInfoAll.h>
#include <qxxml/metadata/ElementInfoChoice.h>
#include <qxxml/metadata/ElementInfoSeq.h>
#include <qxxml/values/PrimitiveRestrictions.h>

#include <gtest/gtest.h>

using namespace metadata_test;

namespace {

const wchar_t* EnumText(int value) { return value == 1 ? L"one" : nullptr; }
int EnumValue(const wchar_t* text) { return std::wstring(text) == L"one" ? 1 : 0; }
CSmartPtr<CXmlObjectBase> CreateObject(int, const wchar_t*) { return nullptr; }
CSmartPtr<CXmlObjectBase> CreateFromElement(CXmlElement*) { return nullptr; }

const CXmlSerializationContext& DefaultContext() {
    static const CXmlSerializationContext context;
    return context;
}

using Infos = std::initializer_list<const CElementInfo*>;

CPrimitiveRestrictions Positive() {
    return CPrimitiveRestrictions(nullptr, -1, -1, nullptr, nullptr, L"0", nullptr, -1);
}

// A descriptor that counts its destructions, for the clean-up tests.
struct CCountedDescriptor : CElementInfoSeqPrimOpt {
    explicit CCountedDescriptor(int* destroyed)
        : CElementInfoSeqPrimOpt(L"x", L"", 0, false, ItemType_i4, nullptr, CWhitespaceUtils::WhitespaceRule_None,
                                 CPrimitiveRestrictions()),
          m_destroyed(destroyed) {}
    ~CCountedDescriptor() override { ++*m_destroyed; }
    int* m_destroyed;
};

struct CCountedAttribute : CAttributeInfoEnum {
    explicit CCountedAttribute(int* destroyed)
        : CAttributeInfoEnum(L"a", L"", 0, true, &EnumText, &EnumValue, nullptr), m_destroyed(destroyed) {}
    ~CCountedAttribute() override { ++*m_destroyed; }
    int* m_destroyed;
};

struct CCountedParent : CParentElementInfo {
    explicit CCountedParent(int* destroyed)
        : CParentElementInfo(XmlElementGroupType_Sequence, XmlElementType_Element, L"p", L"", false, false, -1,
                             ItemType_invalid, nullptr, false),
          m_destroyed(destroyed) {}
    ~CCountedParent() override { ++*m_destroyed; }
    int* m_destroyed;
};

}  // namespace

// ------------------------------------------------------------------ recognition

TEST(ElementInfo, IsThisElementComparesNameAndNamespace) {
    ParsedXml xml(L"<r xmlns:p='urn:p'><p:item/><item/><Item/></r>");
    CXmlElement* qualified = xml.Root()->GetFirstElement();
    CXmlElement* unqualified = qualified->GetNextSiblingElement();
    CXmlElement* otherCase = unqualified->GetNextSiblingElement();
    const CElementInfoSeqClsOpt local(L"item", L"", 0, XmlElementType_Element, &CreateObject, 1);
    const CElementInfoSeqClsOpt inP(L"item", L"urn:p", 0, XmlElementType_Element, &CreateObject, 1);

    CXmlSerializationContext context;
    EXPECT_FALSE(local.IsThisElement(context, nullptr));
    EXPECT_TRUE(local.IsThisElement(context, unqualified));
    EXPECT_FALSE(local.IsThisElement(context, qualified));  // same name, another namespace
    EXPECT_TRUE(inP.IsThisElement(context, qualified));
    EXPECT_FALSE(inP.IsThisElement(context, unqualified));
    EXPECT_FALSE(local.IsThisElement(context, otherCase));  // names are case-sensitive

    context.SetIgnoreNamespaces(true);
    EXPECT_TRUE(local.IsThisElement(context, qualified));
    EXPECT_TRUE(inP.IsThisElement(context, unqualified));
    EXPECT_FALSE(local.IsThisElement(context, otherCase));
    context.SetIgnoreNamespaces(false);
    context.SetSchemaType(SchemaType_NoNamespaces);
    EXPECT_TRUE(local.IsThisElement(context, qualified));
}

// ------------------------------------------------------------------ restrictions

TEST(ElementInfo, CheckRestrictionUsesTheDescriptorsKindFacetsAndName) {
    const CElementInfoAllPrimMnd count(L"count", L"", 0, false, ItemType_i4, nullptr,
                                       CWhitespaceUtils::WhitespaceRule_Collapse, Positive());
    QxVariant value;
    value.SetI4(1);
    EXPECT_NO_THROW(count.CheckRestriction(value));
    value.SetI4(0);
    EXPECT_EQ(MessageOf([&] { count.CheckRestriction(value); }), L"Invalid Value for count [0]");
    // A variant of another kind breaks the getter of the descriptor's kind.
    value.SetString(L"1");
    EXPECT_THROW(count.CheckRestriction(value), CQxInvalidStateException);

    // Members without primitive information refuse, naming the value's kind.
    const CElementInfoSeqEnumMnd enumeration(L"e", L"", 0, false, &EnumText, &EnumValue);
    value.SetI4(1);
    EXPECT_EQ(MessageOf([&] { enumeration.CheckRestriction(value); }), L"Cannot CheckRestriction for type: i4");
    const CElementInfoChoiceClsOpt cls(L"c", L"", 0, XmlElementType_Element, &CreateObject, 0);
    value.SetString(L"x");
    EXPECT_EQ(MessageOf([&] { cls.CheckRestriction(value); }), L"Cannot CheckRestriction for type: string");
}

// ------------------------------------------------------------------ wildcard namespace

TEST(ElementInfo, AnyDefaultNamespaceFollowsTheConstraint) {
    const struct {
        const wchar_t* constraint;
        const wchar_t* parent;
        const wchar_t* expected;
    } cases[] = {
        {L"##any", L"urn:parent", L"urn:parent"},
        {L"##other", L"urn:parent", L""},
        {L"##other", L"", L"DefaultNamespace"},
        {L"##local", L"urn:parent", L""},
        {L"##targetNamespace", L"urn:parent", L"urn:t"},
        {L"##targetNamespace urn:x", L"urn:parent", L"urn:t"},
        {L"##other ##local", nullptr, L"DefaultNamespace"},
        {L"urn:a urn:b", L"urn:parent", L""},
        {L"urn:a ##any", L"urn:parent", L""},
        {L"##bogus ##any", L"urn:parent", L""},
        {nullptr, L"urn:parent", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.constraint ? Narrow(c.constraint) : "(null)");
        EXPECT_EQ(CElementInfo::GetAnyDefaultNamespace(c.constraint, c.parent, L"urn:t"), c.expected);
    }
}

// ------------------------------------------------------------------ Validate

TEST(ElementInfo, SequenceAndChoiceMembersRefuseValidate) {
    CTestObject object;
    const CElementInfoSeqPrimMnd seq(L"s", L"", 0, false, ItemType_i4, nullptr, CWhitespaceUtils::WhitespaceRule_None,
                                     CPrimitiveRestrictions());
    const CElementInfoChoiceUntpdCol choice(L"c", L"", 0);
    const CElementInfoSeqClsCol seqCol(L"c", L"", 0, XmlElementType_Element);
    for (const CElementInfo* info : Infos{&seq, &choice, &seqCol})
        EXPECT_EQ(MessageOf([&] { info->Validate(DefaultContext(), &object, true, true); }),
                  L"Not implemented, should never be called");
}

TEST(ElementInfo, MandatoryAllMembersRequirePresenceWhenAsked) {
    CTestObject object;
    const auto none = CWhitespaceUtils::WhitespaceRule_None;
    const CElementInfoAllPrimMnd prim(L"p", L"", 0, false, ItemType_i4, nullptr, none, CPrimitiveRestrictions());
    const CElementInfoAllEnumMnd enumeration(L"e", L"", 0, false, &EnumText, &EnumValue);
    const CElementInfoAllAbsClsMnd abstractClass(L"a", L"", 0, XmlElementType_Element, &CreateFromElement, 0);
    const CElementInfoAllUntpdMnd untyped(L"u", L"", 0, L"##any", L"");
    for (const CElementInfo* info : Infos{&prim, &enumeration, &abstractClass, &untyped}) {
        SCOPED_TRACE(Narrow(info->GetElementName()));
        EXPECT_TRUE(info->Validate(DefaultContext(), &object, true, true));
        EXPECT_FALSE(info->Validate(DefaultContext(), &object, false, false));
        EXPECT_EQ(MessageOf([&] { info->Validate(DefaultContext(), &object, false, true); }),
                  L"Failed to find the mandatory element [" + info->GetElementName() + L"]");
    }
}

TEST(ElementInfo, MandatoryAllClassMayBeAbsentOnlyAsAnOptionalElementChild) {
    CTestObject object;
    const CElementInfoAllClsMnd element(L"c", L"", 0, XmlElementType_Element, &CreateObject, 0, false);
    EXPECT_TRUE(element.Validate(DefaultContext(), &object, false, true));
    const CElementInfoAllClsMnd required(L"c", L"", 0, XmlElementType_Element, &CreateObject, 0, true);
    EXPECT_EQ(MessageOf([&] { required.Validate(DefaultContext(), &object, false, true); }),
              L"Failed to find the mandatory element [c]");
    const CElementInfoAllClsMnd pseudo(L"c", L"", 0, XmlElementType_PseudoElement, &CreateObject, 0, false);
    EXPECT_THROW(pseudo.Validate(DefaultContext(), &object, false, true), CQxValidationException);
    EXPECT_FALSE(pseudo.Validate(DefaultContext(), &object, false, false));
    EXPECT_TRUE(required.Validate(DefaultContext(), &object, true, true));
}

TEST(ElementInfo, OptionalAndRepeatedAllMembersAlwaysAccept) {
    CTestObject object;
    const auto none = CWhitespaceUtils::WhitespaceRule_None;
    const CElementInfoAllPrimOpt prim(L"p", L"", 0, false, ItemType_i4, nullptr, none, CPrimitiveRestrictions());
    const CElementInfoAllEnumOpt enumeration(L"e", L"", 0, false, &EnumText, &EnumValue);
    const CElementInfoAllClsOpt cls(L"c", L"", 0, XmlElementType_Element, &CreateObject, 0);
    const CElementInfoAllAbsClsOpt abs(L"a", L"", 0, XmlElementType_Element, &CreateFromElement);
    const CElementInfoAllUntpdOpt untyped(L"u", L"", 0, L"##any", L"");
    const CElementInfoAllPrimCol primCol(L"pc", L"", 0);
    const CElementInfoAllClsCol clsCol(L"cc", L"", 0, XmlElementType_Element);
    const CElementInfoAllAbsClsCol absCol(L"ac", L"", 0, XmlElementType_Element);
    const CElementInfoAllUntpdCol untypedCol(L"uc", L"", 0);
    for (const CElementInfo* info :
         Infos{&prim, &enumeration, &cls, &abs, &untyped, &primCol, &clsCol, &absCol, &untypedCol})
        for (bool found : {false, true})
            for (bool mandatoryCheck : {false, true})
                EXPECT_TRUE(info->Validate(DefaultContext(), &object, found, mandatoryCheck));
}

TEST(ElementInfo, AbstractClassesOfAllGroupsCannotBeRead) {
    CTestObject object;
    CElementInfoAllAbsClsMnd mandatory(L"a", L"", 0, XmlElementType_Element, &CreateFromElement, 0);
    CElementInfoAllAbsClsOpt optional(L"a", L"", 0, XmlElementType_Element, &CreateFromElement);
    const std::pair<CElementInfo*, std::wstring> cases[] = {
        {&mandatory, L"CElementInfoAllAbsClsMnd::ElementFromXml, has not been implemented fully, contact "},
        {&optional, L"CElementInfoAllAbsClsOpt::ElementFromXml, has not been implemented fully, contact "}};
    for (const auto& [info, prefix] : cases) {
        CXmlElement* cursor = nullptr;
        const std::wstring message = MessageOf(
            [&] { info->ElementFromXml(DefaultContext(), &object, nullptr, &cursor, L"", XmlElementType_Element); });
        EXPECT_EQ(message.compare(0, prefix.size(), prefix), 0) << Narrow(message);
        EXPECT_GT(message.size(), prefix.size());  // an address follows
    }
}

// ------------------------------------------------------------------ clean-up

TEST(XmlGeneratedClass, CleanMetaDataDeletesEverythingOnceAndNullsThePointers) {
    int destroyed = 0;
    CParentElementInfo* info = new CCountedParent(&destroyed);
    CElementInfo** elements =
        new CElementInfo* [3] { new CCountedDescriptor(&destroyed), new CCountedDescriptor(&destroyed), nullptr };
    CAttributeInfo** attributes = new CAttributeInfo* [2] { new CCountedAttribute(&destroyed), nullptr };
    CTestObject::CleanMetaData(info, elements, attributes);
    EXPECT_EQ(destroyed, 4);
    EXPECT_EQ(info, nullptr);
    EXPECT_EQ(elements, nullptr);
    EXPECT_EQ(attributes, nullptr);
    CTestObject::CleanMetaData(info, elements, attributes);  // already clean: nothing happens
    EXPECT_EQ(destroyed, 4);

    // Tables holding only the terminator, and a missing class description.
    elements = new CElementInfo* [1] { nullptr };
    attributes = nullptr;
    CTestObject::CleanMetaData(info, elements, attributes);
    EXPECT_EQ(elements, nullptr);
}

// Tests of the element descriptor family: the data each member keeps, element recognition,
// restriction checks, the wildcard default namespace, Validate of the groups, the property
// and child forwarders, the class description and the metadata clean-up.

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

// Opens the protected data and helpers of a member for inspection.
template <class Member>
struct Open : Member {
    using CElementInfo::AccessProperty;
    using CElementInfo::AttributesToXml_Int;
    using CElementInfo::FromXml_Int;
    using CElementInfo::m_bHasPrimitiveInfo;
    using CElementInfo::m_bNillable;
    using CElementInfo::m_iPropertyIndex;
    using CElementInfo::m_itemType;
    using CElementInfo::m_restrictions;
    using CElementInfo::m_strElementName;
    using CElementInfo::m_strElementNamespace;
    using CElementInfo::m_strFormatOverride;
    using CElementInfo::m_whitespaceRule;
    using CElementInfo::ReadProperty;
    using Member::Member;
};

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

// ------------------------------------------------------------------ data

TEST(ElementInfo, ThePrimitiveConstructorKeepsEveryField) {
    const CPrimitiveRestrictions facets(L"[a-z]+", 1, 9, nullptr, nullptr, nullptr, nullptr, -1);
    Open<CElementInfoSeqPrimMnd> info(L"name", L"urn:n", 7, true, ItemType_string, L"%x",
                                      CWhitespaceUtils::WhitespaceRule_Replace, facets);
    EXPECT_EQ(info.GetElementName(), L"name");
    EXPECT_EQ(info.GetElementNamespace(), L"urn:n");
    EXPECT_EQ(info.GetPropertyIndex(), 7);
    EXPECT_TRUE(info.m_bNillable);
    EXPECT_EQ(info.m_itemType, ItemType_string);
    EXPECT_EQ(info.m_strFormatOverride, L"%x");
    EXPECT_EQ(info.m_whitespaceRule, CWhitespaceUtils::WhitespaceRule_Replace);
    EXPECT_EQ(info.m_restrictions.m_strPattern, L"[a-z]+");
    EXPECT_EQ(info.m_restrictions.m_nMaxLength, 9);
    EXPECT_TRUE(info.m_bHasPrimitiveInfo);

    // Null texts become empty strings.
    Open<CElementInfoChoicePrimOpt> bare(nullptr, nullptr, 0, false, ItemType_i4, nullptr,
                                         CWhitespaceUtils::WhitespaceRule_Collapse, CPrimitiveRestrictions());
    EXPECT_EQ(bare.m_strElementName, L"");
    EXPECT_EQ(bare.m_strElementNamespace, L"");
    EXPECT_EQ(bare.m_strFormatOverride, L"");
    EXPECT_TRUE(bare.m_bHasPrimitiveInfo);
}

TEST(ElementInfo, EnumerationsKeepNillableButNoPrimitiveInformation) {
    struct Probe : Open<CElementInfoAllEnumOpt> {
        using CElementInfoAllEnumOpt::m_pfnEnumFromString;
        using CElementInfoAllEnumOpt::m_pfnEnumToString;
        using Open::Open;
    } info(L"e", L"", 2, true, &EnumText, &EnumValue);
    EXPECT_TRUE(info.m_bNillable);
    EXPECT_FALSE(info.m_bHasPrimitiveInfo);
    EXPECT_EQ(info.m_itemType, ItemType_invalid);
    EXPECT_EQ(info.m_pfnEnumToString, &EnumText);
    EXPECT_EQ(info.m_pfnEnumFromString, &EnumValue);
    EXPECT_EQ(info.m_whitespaceRule, CWhitespaceUtils::WhitespaceRule_None);
}

TEST(ElementInfo, ClassAndUntypedMembersKeepTheirOwnFields) {
    struct ClsProbe : Open<CElementInfoAllClsMnd> {
        using CElementInfoAllClsMnd::m_bRequired;
        using CElementInfoAllClsMnd::m_elementType;
        using CElementInfoAllClsMnd::m_iClassId;
        using CElementInfoAllClsMnd::m_pfnCreateObject;
        using Open::Open;
    } cls(L"c", L"urn:c", 1, XmlElementType_PseudoElement, &CreateObject, 42, true);
    EXPECT_EQ(cls.m_elementType, XmlElementType_PseudoElement);
    EXPECT_EQ(cls.m_pfnCreateObject, &CreateObject);
    EXPECT_EQ(cls.m_iClassId, 42);
    EXPECT_TRUE(cls.m_bRequired);
    EXPECT_FALSE(cls.m_bNillable);
    EXPECT_FALSE(cls.m_bHasPrimitiveInfo);

    struct AbsProbe : Open<CElementInfoAllAbsClsMnd> {
        using CElementInfoAllAbsClsMnd::m_iClassId;
        using CElementInfoAllAbsClsMnd::m_pfnCreateFromElement;
        using Open::Open;
    } abs(L"a", L"", 3, XmlElementType_Element, &CreateFromElement, 9);
    EXPECT_EQ(abs.m_pfnCreateFromElement, &CreateFromElement);
    EXPECT_EQ(abs.m_iClassId, 9);

    struct UntpdProbe : Open<CElementInfoSeqUntpdOpt> {
        using CElementInfoSeqUntpdOpt::m_strNamespaceConstraint;
        using CElementInfoSeqUntpdOpt::m_strTargetNamespace;
        using Open::Open;
    } any(L"AnyElement", L"", 4, L"##other", nullptr);
    EXPECT_EQ(any.m_strNamespaceConstraint, L"##other");
    EXPECT_EQ(any.m_strTargetNamespace, L"");

    struct ColProbe : Open<CElementInfoChoiceAbsClsCol> {
        using CElementInfoChoiceAbsClsCol::m_elementType;
        using Open::Open;
    } col(L"items", L"", 5, XmlElementType_PseudoElement);
    EXPECT_EQ(col.m_elementType, XmlElementType_PseudoElement);
    EXPECT_EQ(col.GetPropertyIndex(), 5);
}

TEST(ElementInfo, CopiesCarryEveryField) {
    const CElementInfoSeqPrimOpt original(L"v", L"urn:v", 3, true, ItemType_i4, L"f",
                                          CWhitespaceUtils::WhitespaceRule_Collapse, Positive());
    Open<CElementInfoSeqPrimOpt> copy(L"other", L"", 0, false, ItemType_string, nullptr,
                                      CWhitespaceUtils::WhitespaceRule_None, CPrimitiveRestrictions());
    static_cast<CElementInfoSeqPrimOpt&>(copy) = original;
    EXPECT_EQ(copy.m_strElementName, L"v");
    EXPECT_EQ(copy.m_strElementNamespace, L"urn:v");
    EXPECT_EQ(copy.m_iPropertyIndex, 3);
    EXPECT_TRUE(copy.m_bNillable);
    EXPECT_EQ(copy.m_itemType, ItemType_i4);
    EXPECT_EQ(copy.m_strFormatOverride, L"f");
    EXPECT_EQ(copy.m_restrictions.m_strMinExclusive, L"0");
    QxVariant zero;
    zero.SetI4(0);
    EXPECT_EQ(MessageOf([&] { copy.CheckRestriction(zero); }), L"Invalid Value for v [0]");
}

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

TEST(ElementInfo, GeneratedClassFindsElementsOfItsTable) {
    ParsedXml xml(L"<r><a/><b/></r>");
    CXmlElement* a = xml.Root()->GetFirstElement();
    CXmlElement* b = a->GetNextSiblingElement();
    CTestObject object;
    CElementInfo* table[] = {
        new CElementInfoSeqPrimMnd(L"a", L"", 0, false, ItemType_i4, nullptr, CWhitespaceUtils::WhitespaceRule_None,
                                   CPrimitiveRestrictions()),
        nullptr};
    object.m_elements = table;
    EXPECT_TRUE(object.IsElementInList(DefaultContext(), a));
    EXPECT_FALSE(object.IsElementInList(DefaultContext(), b));
    delete table[0];
    CElementInfo* empty[] = {nullptr};
    object.m_elements = empty;
    EXPECT_FALSE(object.IsElementInList(DefaultContext(), a));
}

// ------------------------------------------------------------------ restrictions

TEST(ElementInfo, CheckRestrictionNeedsPrimitiveInformation) {
    const CElementInfoSeqEnumMnd enumeration(L"e", L"", 0, false, &EnumText, &EnumValue);
    QxVariant value;
    value.SetI4(1);
    EXPECT_EQ(MessageOf([&] { enumeration.CheckRestriction(value); }), L"Cannot CheckRestriction for type: i4");
    const CElementInfoChoiceClsOpt cls(L"c", L"", 0, XmlElementType_Element, &CreateObject, 0);
    value.SetString(L"x");
    EXPECT_EQ(MessageOf([&] { cls.CheckRestriction(value); }), L"Cannot CheckRestriction for type: string");
}

TEST(ElementInfo, CheckRestrictionChecksTheDescriptorsFacetsUnderItsName) {
    const CElementInfoAllPrimMnd count(L"count", L"", 0, false, ItemType_i4, nullptr,
                                       CWhitespaceUtils::WhitespaceRule_Collapse, Positive());
    QxVariant value;
    value.SetI4(1);
    EXPECT_NO_THROW(count.CheckRestriction(value));
    value.SetI4(0);
    EXPECT_EQ(MessageOf([&] { count.CheckRestriction(value); }), L"Invalid Value for count [0]");
    // The descriptor's kind decides the check; a variant of another kind breaks its getter.
    value.SetString(L"1");
    EXPECT_THROW(count.CheckRestriction(value), CQxInvalidStateException);
}

// ------------------------------------------------------------------ wildcard namespace

TEST(ElementInfo, AnyDefaultNamespaceFollowsTheConstraint) {
    EXPECT_EQ(CElementInfo::GetAnyDefaultNamespace(L"##any", L"urn:parent", L"urn:t"), L"urn:parent");
    EXPECT_EQ(CElementInfo::GetAnyDefaultNamespace(L"##other", L"urn:parent", L"urn:t"), L"");
    EXPECT_EQ(CElementInfo::GetAnyDefaultNamespace(L"##other", L"", L"urn:t"), L"DefaultNamespace");
    EXPECT_EQ(CElementInfo::GetAnyDefaultNamespace(L"##local", L"urn:parent", L"urn:t"), L"");
    EXPECT_EQ(CElementInfo::GetAnyDefaultNamespace(L"##targetNamespace", L"urn:parent", L"urn:t"), L"urn:t");
    EXPECT_EQ(CElementInfo::GetAnyDefaultNamespace(L"##targetNamespace urn:x", L"urn:parent", L"urn:t"), L"urn:t");
    EXPECT_EQ(CElementInfo::GetAnyDefaultNamespace(L"##other ##local", nullptr, L"urn:t"), L"DefaultNamespace");
    EXPECT_EQ(CElementInfo::GetAnyDefaultNamespace(L"urn:a urn:b", L"urn:parent", L"urn:t"), L"");
    EXPECT_EQ(CElementInfo::GetAnyDefaultNamespace(L"urn:a ##any", L"urn:parent", L"urn:t"), L"");
    EXPECT_EQ(CElementInfo::GetAnyDefaultNamespace(L"##bogus ##any", L"urn:parent", L"urn:t"), L"");
    EXPECT_EQ(CElementInfo::GetAnyDefaultNamespace(nullptr, L"urn:parent", L"urn:t"), L"");
}

// ------------------------------------------------------------------ Validate

TEST(ElementInfo, SequenceAndChoiceMembersRefuseValidate) {
    CTestObject object;
    const CElementInfoSeqPrimMnd seq(L"s", L"", 0, false, ItemType_i4, nullptr, CWhitespaceUtils::WhitespaceRule_None,
                                     CPrimitiveRestrictions());
    const CElementInfoChoiceUntpdCol choice(L"c", L"", 0);
    const CElementInfoSeqClsCol seqCol(L"c", L"", 0, XmlElementType_Element);
    for (const CElementInfo* info : {static_cast<const CElementInfo*>(&seq), static_cast<const CElementInfo*>(&choice),
                                     static_cast<const CElementInfo*>(&seqCol)})
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
    for (const CElementInfo* info :
         {static_cast<const CElementInfo*>(&prim), static_cast<const CElementInfo*>(&enumeration),
          static_cast<const CElementInfo*>(&abstractClass), static_cast<const CElementInfo*>(&untyped)}) {
        const std::wstring name = info->GetElementName();
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        EXPECT_TRUE(info->Validate(DefaultContext(), &object, true, true));
        EXPECT_FALSE(info->Validate(DefaultContext(), &object, false, false));
        EXPECT_THROW(info->Validate(DefaultContext(), &object, false, true), CQxValidationException);
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
         {static_cast<const CElementInfo*>(&prim), static_cast<const CElementInfo*>(&enumeration),
          static_cast<const CElementInfo*>(&cls), static_cast<const CElementInfo*>(&abs),
          static_cast<const CElementInfo*>(&untyped), static_cast<const CElementInfo*>(&primCol),
          static_cast<const CElementInfo*>(&clsCol), static_cast<const CElementInfo*>(&absCol),
          static_cast<const CElementInfo*>(&untypedCol)})
        for (bool found : {false, true})
            for (bool mandatoryCheck : {false, true})
                EXPECT_TRUE(info->Validate(DefaultContext(), &object, found, mandatoryCheck));
}

TEST(ElementInfo, AbstractClassesOfAllGroupsCannotBeRead) {
    CTestObject object;
    CElementInfoAllAbsClsMnd mandatory(L"a", L"", 0, XmlElementType_Element, &CreateFromElement, 0);
    CElementInfoAllAbsClsOpt optional(L"a", L"", 0, XmlElementType_Element, &CreateFromElement);
    CXmlElement* cursor = nullptr;
    const std::wstring m = MessageOf(
        [&] { mandatory.ElementFromXml(DefaultContext(), &object, nullptr, &cursor, L"", XmlElementType_Element); });
    const std::wstring o = MessageOf(
        [&] { optional.ElementFromXml(DefaultContext(), &object, nullptr, &cursor, L"", XmlElementType_Element); });
    const std::wstring mandatoryPrefix =
        L"CElementInfoAllAbsClsMnd::ElementFromXml, has not been implemented fully, contact ";
    const std::wstring optionalPrefix =
        L"CElementInfoAllAbsClsOpt::ElementFromXml, has not been implemented fully, contact ";
    EXPECT_EQ(m.compare(0, mandatoryPrefix.size(), mandatoryPrefix), 0) << std::string(m.begin(), m.end());
    EXPECT_EQ(o.compare(0, optionalPrefix.size(), optionalPrefix), 0) << std::string(o.begin(), o.end());
    EXPECT_GT(m.size(), mandatoryPrefix.size());  // an address follows
}

// ------------------------------------------------------------------ forwarders

TEST(ElementInfo, PropertyAccessUsesTheDescriptorsIndex) {
    CTestObject object;
    object.m_properties[2].SetString(L"stored");
    const Open<CElementInfoSeqEnumOpt> info(L"e", L"", 2, false, &EnumText, &EnumValue);
    QxVariant value;
    info.ReadProperty(&object, value);
    EXPECT_EQ(value.GetString(), L"stored");
    value.SetI4(1);
    info.AccessProperty(&object, false, value);
    EXPECT_EQ(object.m_properties[2].GetI4(), 1);
    info.AccessProperty(&object, true, value);
    EXPECT_EQ(object.m_accessLog, (std::vector<std::string>{"2r", "2w", "2r"}));
}

TEST(ElementInfo, ChildReadsReceiveTheChoiceFlag) {
    ParsedXml xml(L"<r><a/><b/></r>");
    CXmlElement* a = xml.Root()->GetFirstElement();
    using Probe = Open<CElementInfoChoiceClsOpt>;
    CSmartPtr<CTestObject> child(new CTestObject);
    EXPECT_EQ(Probe::FromXml_Int(child, xml.Root(), a, DefaultContext(), true), a->GetNextSiblingElement());
    EXPECT_TRUE(child->m_lastRead.optionalChoiceItem);
    EXPECT_EQ(child->m_lastRead.element, xml.Root());
    EXPECT_EQ(child->m_lastRead.firstChild, a);
    Probe::FromXml_Int(child, xml.Root(), a, DefaultContext(), false);
    EXPECT_FALSE(child->m_lastRead.optionalChoiceItem);
    EXPECT_EQ(child->m_lastRead.count, 2);

    // The forwarder passes the flag on to any object; what a collection makes of it is its own
    // business.
    CSmartPtr<CRecordingCollection> collection(new CRecordingCollection);
    EXPECT_EQ(Probe::FromXml_Int(collection, xml.Root(), a, DefaultContext(), false), a);
    EXPECT_FALSE(collection->m_lastReadFlag);
    Probe::FromXml_Int(collection, xml.Root(), a, DefaultContext(), true);
    EXPECT_TRUE(collection->m_lastReadFlag);
}

// ------------------------------------------------------------------ class description

TEST(ParentElementInfo, GettersReturnTheConstructorValues) {
    const CParentElementInfo info(XmlElementGroupType_All, XmlElementType_PseudoElement, L"price", L"urn:po", true,
                                  true, 3, ItemType_decimal, L"2", true);
    EXPECT_EQ(info.GetElementGroupType(), XmlElementGroupType_All);
    EXPECT_EQ(info.GetElementType(), XmlElementType_PseudoElement);
    EXPECT_EQ(info.GetElementName(), L"price");
    EXPECT_EQ(info.GetElementNamespace(), L"urn:po");
    EXPECT_TRUE(info.GetFromXmlFailIfAttributeUnknown());
    EXPECT_TRUE(info.GetHasBaseClasses());
    EXPECT_EQ(info.GetPrimitiveValuePropertyIndex(), 3);
    EXPECT_EQ(info.GetPrimitiveDataType(), ItemType_decimal);
    EXPECT_EQ(info.GetPrimitiveFormatOverride(), L"2");
    EXPECT_TRUE(info.GetOutputPrimitiveClassAsTextProperty());

    const CParentElementInfo bare(XmlElementGroupType_Choice, XmlElementType_Element, nullptr, nullptr, false, false,
                                  -1, ItemType_invalid, nullptr, false);
    EXPECT_EQ(bare.GetElementName(), L"");
    EXPECT_EQ(bare.GetPrimitiveFormatOverride(), L"");
    CParentElementInfo copy = info;
    copy = bare;
    EXPECT_EQ(copy.GetElementGroupType(), XmlElementGroupType_Choice);
    EXPECT_EQ(copy.GetPrimitiveValuePropertyIndex(), -1);
}

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

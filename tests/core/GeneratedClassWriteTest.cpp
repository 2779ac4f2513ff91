// The writing engine of generated classes, through the test binding: document-level items of
// the root, nil, the three groups, the choice exemptions, xsi:type, text values, pseudo
// elements and the failure chain.
#include "core/BindingSupport.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/metadata/AttributeInfo.h>
#include <qxxml/metadata/ElementInfoChoice.h>
#include <qxxml/metadata/ElementInfoSeq.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/QxVariant.h>
#include <qxxml/xmlout/XmlWriter.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace test_binding {
namespace {

using namespace QxXmlLib10Data;

class GeneratedClassWriteTest : public ::testing::Test {
protected:
    CXmlSerializationContext context;
};

// ---------------------------------------------------------------- the root
// (Its document items, namespaces and attributes under the context's settings: rows of
// read_cases.tsv.)

TEST_F(GeneratedClassWriteTest, RootIsWrittenInTheNamespaceItIsGiven) {
    CSmartPtr<CTbExposed<CItem>> item(new CTbExposed<CItem>);
    item->SetLabel(L"x");
    const std::wstring xml =
        WriteWithWriter([&](CXmlWriter* writer) { item->ToXml_Int(writer, true, L"", context, false); });
    // No namespace for the element itself; its children keep their descriptors' namespace.
    EXPECT_EQ(xml, L"<Item><AA:label xmlns:AA=\"urn:qxxml:test:binding\">x</AA:label></Item>");
}

// ---------------------------------------------------------------- nil and text values

TEST_F(GeneratedClassWriteTest, TextValueIsWrittenAfterChildElements) {
    CSmartPtr<CTbProbe> mixed(new CTbProbe(ProbeInfo(XmlElementGroupType_Sequence, 1, ItemType_string, true),
                                           {StringMember(L"em", 0, XmlElementGroupType_Sequence)}));
    mixed->m_properties[0].SetString(L"first");
    mixed->m_properties[1].SetString(L" then text ");
    EXPECT_EQ(WriteXml(*mixed, context),
              L"<AA:probe xmlns:AA=\"urn:qxxml:test:binding\"><AA:em>first</AA:em> then text </AA:probe>");
}

TEST_F(GeneratedClassWriteTest, TextValueNeedsADataType) {
    // Without a data type, nothing is read for the text.
    CSmartPtr<CTbProbe> typeless(new CTbProbe(ProbeInfo(XmlElementGroupType_Sequence, 0, ItemType_invalid), {}));
    EXPECT_EQ(WriteXml(*typeless, context), L"<AA:probe xmlns:AA=\"urn:qxxml:test:binding\"/>");
    EXPECT_TRUE(typeless->m_log.empty());
}

// ---------------------------------------------------------------- groups

TEST_F(GeneratedClassWriteTest, ChoiceWritesTheFirstMemberThatWritesAndAsksNoFurther) {
    CSmartPtr<CTbProbe> probe(new CTbProbe(
        ProbeInfo(XmlElementGroupType_Choice),
        {StringMember(L"a", 0, XmlElementGroupType_Choice), StringMember(L"b", 1, XmlElementGroupType_Choice),
         StringMember(L"c", 2, XmlElementGroupType_Choice)}));
    probe->m_properties[1].SetString(L"second");
    probe->m_properties[2].SetString(L"third");
    EXPECT_EQ(WriteXml(*probe, context),
              L"<AA:probe xmlns:AA=\"urn:qxxml:test:binding\"><AA:b>second</AA:b></AA:probe>");
    EXPECT_EQ(probe->m_log, (std::vector<std::wstring>{L"r0", L"r1"}));
}

TEST_F(GeneratedClassWriteTest, EmptyChoiceThrowsWithoutAnExemption) {
    CSmartPtr<CStrictChoice> strict(new CStrictChoice);
    EXPECT_EQ(FullMessageOf([&] { WriteXml(*strict, context); }),
              L"Failed to convert the element [StrictChoice] to XML\n"
              L"This element is a choice, and as such must have at one (and only one) valid item, currently there "
              L"are none set");
    // The object written as an optional choice item is exempt. (So are classes with a member
    // that may be left out and contexts that ignore missing choices: rows of read_cases.tsv.)
    CSmartPtr<CTbExposed<CStrictChoice>> exposed(new CTbExposed<CStrictChoice>);
    EXPECT_EQ(WriteWithWriter([&](CXmlWriter* writer) { exposed->ToXml_Int(writer, false, L"", context, true); }),
              L"<StrictChoice/>");
}

TEST_F(GeneratedClassWriteTest, OptionalClassAlternativeLetsItsEmptyChoiceThrough) {
    // A choice alternative of class type hands the optional-choice flag to its object.
    CSmartPtr<CTbProbe> probe(
        new CTbProbe(ProbeInfo(XmlElementGroupType_Choice),
                     {new CElementInfoChoiceClsOpt(L"strict", kNamespace, 0, XmlElementType_Element,
                                                   &CTbFactory::CreateObject, TbClass_StrictChoice)}));
    probe->m_properties[0].SetXmlObject(CTbFactory::CreateObject(TbClass_StrictChoice, L"strict").Get());
    EXPECT_EQ(WriteXml(*probe, context), L"<AA:probe xmlns:AA=\"urn:qxxml:test:binding\"><AA:strict/></AA:probe>");
}

TEST_F(GeneratedClassWriteTest, OptionalElementsOfAChoice) {
    // (Options, with an optional member, and StrictChoice, without, are rows of read_cases.tsv.)
    // A repeated alternative whose collection may be empty is optional; one that may not is not.
    auto choiceOfCollection = [](int minOccurs) {
        CSmartPtr<CTbProbe> probe(
            new CTbProbe(ProbeInfo(XmlElementGroupType_Choice), {new CElementInfoChoicePrimCol(L"w", kNamespace, 0)}));
        probe->m_properties[0].SetXmlCollection(NewStringCol(L"w", minOccurs, -1));
        return probe;
    };
    EXPECT_TRUE(choiceOfCollection(0)->DoesElementContainOptionalElements());
    EXPECT_FALSE(choiceOfCollection(1)->DoesElementContainOptionalElements());

    // Members of other groups never count.
    CSmartPtr<CTbProbe> sequence(
        new CTbProbe(ProbeInfo(XmlElementGroupType_Sequence),
                     {new CElementInfoSeqPrimOpt(L"s", kNamespace, 0, false, ItemType_string, nullptr,
                                                 CWhitespaceUtils::WhitespaceRule_None, CPrimitiveRestrictions())}));
    EXPECT_FALSE(sequence->DoesElementContainOptionalElements());
}

TEST_F(GeneratedClassWriteTest, UnknownGroupTypeIsRefused) {
    CSmartPtr<CTbProbe> probe(new CTbProbe(ProbeInfo(static_cast<XmlElementGroupType>(7)), {}));
    EXPECT_EQ(FullMessageOf([&] { WriteXml(*probe, context); }),
              L"Failed to convert the element [probe] to XML\nUnknown XML Group Type");
}

// ---------------------------------------------------------------- xsi:type

// (A derived object in an element of its base type carries xsi:type, unless the context says
// otherwise: rows of read_cases.tsv.)
TEST_F(GeneratedClassWriteTest, TypeAttributeNotWhereTheObjectIsNamedAsItsClass) {
    CSmartPtr<CSpecialItem> special(new CSpecialItem(L"SpecialItem"));
    special->SetLabel(L"s");
    EXPECT_EQ(WriteXml(*special, context),
              L"<AA:SpecialItem xmlns:AA=\"urn:qxxml:test:binding\"><AA:label>s</AA:label></AA:SpecialItem>");
}

// ---------------------------------------------------------------- metadata tables

int g_builds = 0;

void BuildProbeTables(CGeneratedTables& tables) {
    ++g_builds;
    tables.info = ProbeInfo(XmlElementGroupType_Sequence);
    tables.elements = CGeneratedTables::Table({StringMember(L"s", 0, XmlElementGroupType_Sequence)});
    tables.attributes = CGeneratedTables::Table<CAttributeInfo>({});
}

TEST(GeneratedClassTablesTest, BuiltOnceUnderTheLockAndCleanedForTheNextUse) {
    CGeneratedTables tables;
    std::vector<std::thread> threads;
    std::vector<CParentElementInfo*> seen(8, nullptr);
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, &tables, i] { seen[i] = tables.Ensure(&BuildProbeTables).info; });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(g_builds, 1);
    for (CParentElementInfo* info : seen) EXPECT_EQ(info, tables.info);
    ASSERT_NE(tables.elements[0], nullptr);
    EXPECT_EQ(tables.elements[1], nullptr);  // the terminating entry
    tables.Clean();
    EXPECT_EQ(tables.info, nullptr);
    EXPECT_EQ(tables.elements, nullptr);
    tables.Clean();  // cleaning cleaned tables again does nothing
    EXPECT_NE(tables.Ensure(&BuildProbeTables).info, nullptr);
    EXPECT_EQ(g_builds, 2);

    // The binding's classes write again after their tables were given back.
    ReleaseTbMetaData();
    CXmlSerializationContext context;
    EXPECT_EQ(WriteXml(*NewItem(L"again"), context),
              L"<AA:Item xmlns:AA=\"urn:qxxml:test:binding\"><AA:label>again</AA:label></AA:Item>");
}

// ---------------------------------------------------------------- failures

TEST_F(GeneratedClassWriteTest, EnumerationValueWithoutATextIsRefused) {
    CSmartPtr<COptions> options(new COptions);
    options->SetMode(static_cast<Colour>(3));  // a value of the type's range, with no text
    EXPECT_EQ(FullMessageOf([&] { WriteXml(*options, context); }),
              L"Failed to convert the element [Options] to XML\nInvalid Value for mode [3]");
    options->ClearMode();
    options->GetHues()->Add(99);  // the collection holds integers
    EXPECT_EQ(FullMessageOf([&] { WriteXml(*options, context); }),
              L"Failed to convert the element [Options] to XML\nInvalid Value for hue [99]");
}

TEST_F(GeneratedClassWriteTest, AttributeFailuresAreWrappedOnceMore) {
    CSmartPtr<CTbProbe> probe(
        new CTbProbe(ProbeInfo(XmlElementGroupType_Sequence), {},
                     {new CAttributeInfoPrimitive(
                         L"a", L"", 0, true, ItemType_string, nullptr, CWhitespaceUtils::WhitespaceRule_Preserve,
                         CPrimitiveRestrictions(nullptr, -1, 1, nullptr, nullptr, nullptr, nullptr, -1), nullptr)}));
    probe->m_properties[0].SetString(L"too long");
    const std::wstring message = FullMessageOf([&] { WriteXml(*probe, context); });
    EXPECT_EQ(message.substr(0, message.find(L'\n', message.find(L'\n') + 1)),
              L"Failed to convert the element [probe] to XML\nFailed to convert attributes to XML")
        << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), L'\n'), 2) << message;
}

}  // namespace
}  // namespace test_binding

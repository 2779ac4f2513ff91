// Tests of the attribute descriptors: writing through a real CXmlTextWriter (optional and
// unset values, default suppression, facet checks, enumeration texts), reading real
// CXmlAttribute objects (exact and IgnoreNamespaces-aware matching), Validate, and the
// wildcard's namespace test.

#include "metadata/MetadataTestSupport.h"

#include <qxxml/collections/AttributeCol.h>
#include <qxxml/values/PrimitiveRestrictions.h>
#include <qxxml/xmlin/XmlAttribute.h>

#include <gtest/gtest.h>

using namespace metadata_test;

namespace {

constexpr auto kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;

const wchar_t* ColourText(int value) {
    switch (value) {
        case 0: return L"red";
        case 1: return L"green";
        default: return nullptr;
    }
}

int ColourValue(const wchar_t* text) {
    const std::wstring t = text;
    return t == L"red" ? 0 : t == L"green" ? 1 : -1;
}

CPrimitiveRestrictions AtLeastOne() {
    return CPrimitiveRestrictions(nullptr, -1, -1, L"1", nullptr, nullptr, nullptr, -1);
}

// A text writer that also records the item type each attribute is written with.
class CRecordingWriter : public CXmlTextWriter {
public:
    using CXmlTextWriter::CXmlTextWriter;
    void AddAttribute(const std::wstring& localName, const std::wstring& namespaceUri, const std::wstring& value,
                      ItemType itemType) override {
        m_types.push_back(itemType);
        CXmlTextWriter::AddAttribute(localName, namespaceUri, value, itemType);
    }
    std::vector<ItemType> m_types;
};

std::wstring Write(const CAttributeInfo& info, const CTestObject& object,
                   const CXmlSerializationContext& context = CXmlSerializationContext()) {
    return WriteElement([&](CXmlWriter* writer) { info.AttributeToXml(context, &object, writer); });
}

}  // namespace

// ------------------------------------------------------------------ writing

TEST(AttributeInfo, OptionalUnsetAttributesAreLeftOut) {
    CTestObject object;
    const CAttributeInfoPrimitive count(L"count", L"", 0, true, ItemType_i4, nullptr, kCollapse,
                                        CPrimitiveRestrictions(), nullptr);
    EXPECT_EQ(Write(count, object), L"<e/>");
    object.m_properties[0].SetI4(5);
    EXPECT_EQ(Write(count, object), L"<e count=\"5\"/>");
}

TEST(AttributeInfo, RequiredAttributesAreWrittenFromWhateverThePropertyHolds) {
    CTestObject object;
    const CAttributeInfoPrimitive count(L"count", L"", 0, false, ItemType_i4, nullptr, kCollapse,
                                        CPrimitiveRestrictions(), nullptr);
    // Unset: the variant itself refuses to produce text.
    EXPECT_EQ(MessageOf([&] { Write(count, object); }), L"Invalid Type 0 to convert to string");
    // Nil still has its kind, and an attribute has no nil: the zeroed value is written.
    object.m_properties[0].SetI4(3);
    object.m_properties[0].SetNil();
    EXPECT_EQ(Write(count, object), L"<e count=\"0\"/>");
    // The value's own kind reaches the writer, with the format override applied.
    object.m_properties[0].SetR8(2.5);
    const CAttributeInfoPrimitive ratio(L"ratio", L"", 0, false, ItemType_r8, L"%.3f", kCollapse,
                                        CPrimitiveRestrictions(), nullptr);
    CTextStream stream;
    CRecordingWriter writer(&stream);
    writer.SetFormatting(false);
    writer.StartElement(L"e", L"");
    ratio.AttributeToXml(CXmlSerializationContext(), &object, &writer);
    writer.EndElement();
    EXPECT_EQ(stream.TakeText(), L"<e ratio=\"2.500\"/>");
    EXPECT_EQ(writer.m_types, std::vector<ItemType>{ItemType_r8});
}

TEST(AttributeInfo, QualifiedAttributesGetAPrefix) {
    CTestObject object;
    object.m_properties[1].SetString(L"a<b&\"c\"");
    const CAttributeInfoPrimitive note(L"note", L"urn:n", 1, false, ItemType_string, nullptr, kCollapse,
                                       CPrimitiveRestrictions(), nullptr);
    const std::wstring text = Write(note, object);
    // The writer invents the prefix; the declaration and the escaped value must be there.
    EXPECT_NE(text.find(L"=\"urn:n\""), std::wstring::npos) << std::string(text.begin(), text.end());
    EXPECT_NE(text.find(L":note=\"a&lt;b&amp;&quot;c&quot;\""), std::wstring::npos)
        << std::string(text.begin(), text.end());
}

TEST(AttributeInfo, DefaultValuesAreSuppressedOnlyWhenAsked) {
    CTestObject object;
    object.m_properties[0].SetString(L"EUR");
    const CAttributeInfoPrimitive currency(L"currency", L"", 0, true, ItemType_string, nullptr, kCollapse,
                                           CPrimitiveRestrictions(), L"EUR");
    CXmlSerializationContext context;
    EXPECT_EQ(Write(currency, object, context), L"<e currency=\"EUR\"/>");
    context.SetNoOptionalAttributeDefaultOutput(true);
    EXPECT_EQ(Write(currency, object, context), L"<e/>");
    object.m_properties[0].SetString(L"USD");
    EXPECT_EQ(Write(currency, object, context), L"<e currency=\"USD\"/>");

    // An empty default suppresses nothing, and neither does a required attribute's default.
    object.m_properties[0].SetString(L"");
    const CAttributeInfoPrimitive noDefault(L"currency", L"", 0, true, ItemType_string, nullptr, kCollapse,
                                            CPrimitiveRestrictions(), L"");
    EXPECT_EQ(Write(noDefault, object, context), L"<e currency=\"\"/>");
    object.m_properties[0].SetString(L"EUR");
    const CAttributeInfoPrimitive required(L"currency", L"", 0, false, ItemType_string, nullptr, kCollapse,
                                           CPrimitiveRestrictions(), L"EUR");
    EXPECT_EQ(Write(required, object, context), L"<e currency=\"EUR\"/>");
}

TEST(AttributeInfo, SuppressionComparesTheWrittenText) {
    CTestObject object;
    object.m_properties[0].SetR8(1.0);
    // The text of 1.0 is "1", not the default's "1.0": the attribute is written.
    const CAttributeInfoPrimitive scale(L"scale", L"", 0, true, ItemType_r8, nullptr, kCollapse,
                                        CPrimitiveRestrictions(), L"1.0");
    CXmlSerializationContext context;
    context.SetNoOptionalAttributeDefaultOutput(true);
    EXPECT_EQ(Write(scale, object, context), L"<e scale=\"1\"/>");
}

TEST(AttributeInfo, BrokenFacetsStopTheAttributeBeforeItIsWritten) {
    CTestObject object;
    object.m_properties[0].SetI4(0);
    const CAttributeInfoPrimitive count(L"count", L"", 0, false, ItemType_i4, nullptr, kCollapse, AtLeastOne(),
                                        nullptr);
    std::wstring written;
    const std::wstring message = MessageOf([&] {
        CTextStream stream;
        CXmlTextWriter writer(&stream);
        writer.SetFormatting(false);
        writer.StartElement(L"e", L"");
        try {
            count.AttributeToXml(CXmlSerializationContext(), &object, &writer);
        } catch (...) {
            written = stream.TakeText();
            throw;
        }
    });
    EXPECT_EQ(message, L"Invalid Value for count [0]");
    EXPECT_EQ(written.find(L"count"), std::wstring::npos);
    object.m_properties[0].SetI4(1);
    EXPECT_NO_THROW(count.CheckRestriction(object.m_properties[0]));
    EXPECT_EQ(Write(count, object), L"<e count=\"1\"/>");
}

TEST(AttributeInfo, EnumerationsWriteTheGeneratedTextAsAString) {
    CTestObject object;
    object.m_properties[2].SetI4(1);
    const CAttributeInfoEnum colour(L"colour", L"", 2, false, &ColourText, &ColourValue, nullptr);
    CTextStream stream;
    CRecordingWriter writer(&stream);
    writer.SetFormatting(false);
    writer.StartElement(L"e", L"");
    colour.AttributeToXml(CXmlSerializationContext(), &object, &writer);
    writer.EndElement();
    EXPECT_EQ(stream.TakeText(), L"<e colour=\"green\"/>");
    EXPECT_EQ(writer.m_types, std::vector<ItemType>{ItemType_string});

    // A value the generated function has no text for.
    object.m_properties[2].SetI4(7);
    EXPECT_THROW(Write(colour, object), CQxInvalidValueException);
    EXPECT_EQ(MessageOf([&] { Write(colour, object); }), L"Invalid Value for colour [7]");
    // A required enumeration left unset breaks the integer getter.
    object.m_properties[2].SetInvalid();
    EXPECT_EQ(MessageOf([&] { Write(colour, object); }), L"m_type == ItemType_i4");
}

TEST(AttributeInfo, EnumerationDefaultsAndUnsetOptionalsAreLeftOut) {
    CTestObject object;
    const CAttributeInfoEnum colour(L"colour", L"", 0, true, &ColourText, &ColourValue, L"red");
    EXPECT_EQ(Write(colour, object), L"<e/>");
    object.m_properties[0].SetI4(0);
    CXmlSerializationContext context;
    EXPECT_EQ(Write(colour, object, context), L"<e colour=\"red\"/>");
    context.SetNoOptionalAttributeDefaultOutput(true);
    EXPECT_EQ(Write(colour, object, context), L"<e/>");
}

// ------------------------------------------------------------------ reading

TEST(AttributeInfo, PrimitiveAttributesNeedTheExactNamespace) {
    CTestObject object;
    CAttributeInfoPrimitive count(L"count", L"urn:c", 0, false, ItemType_i4, nullptr, kCollapse, AtLeastOne(), nullptr);
    CXmlSerializationContext context;
    context.SetIgnoreNamespaces(true);  // plays no part for primitive attributes
    CXmlAttribute unqualified(L"count", L" 0 ", L"");
    CXmlAttribute otherName(L"Count", L"1", L"urn:c");
    EXPECT_FALSE(count.AttributeFromXml(context, &object, &unqualified));
    EXPECT_FALSE(count.AttributeFromXml(context, &object, &otherName));
    EXPECT_FALSE(count.AttributeFromXml(context, &object, nullptr));
    EXPECT_FALSE(object.m_properties[0].IsValid());

    CXmlAttribute match(L"count", L" 0 ", L"urn:c");
    EXPECT_TRUE(count.AttributeFromXml(context, &object, &match));
    // Converted under the descriptor's rule; facets are not checked on reading.
    EXPECT_EQ(object.m_properties[0].GetI4(), 0);
}

TEST(AttributeInfo, PrimitiveReadingUsesTheWhitespaceRuleAndPassesConversionFailuresOn) {
    CTestObject object;
    CAttributeInfoPrimitive keep(L"text", L"", 1, true, ItemType_string, nullptr,
                                 CWhitespaceUtils::WhitespaceRule_Replace, CPrimitiveRestrictions(), nullptr);
    CXmlAttribute text(L"text", L"a\tb\r\nc", L"");
    EXPECT_TRUE(keep.AttributeFromXml(CXmlSerializationContext(), &object, &text));
    EXPECT_EQ(object.m_properties[1].GetString(), L"a b c");

    CAttributeInfoPrimitive number(L"n", L"", 0, true, ItemType_i4, nullptr, kCollapse, CPrimitiveRestrictions(),
                                   nullptr);
    object.m_properties[0].SetI4(9);
    CXmlAttribute bad(L"n", L"nine", L"");
    EXPECT_EQ(MessageOf([&] { number.AttributeFromXml(CXmlSerializationContext(), &object, &bad); }),
              L"The value [nine] can not be converted to a i4");
    EXPECT_EQ(object.m_properties[0].GetI4(), 9);
}

TEST(AttributeInfo, EnumerationsFollowIgnoreNamespaces) {
    CTestObject object;
    CAttributeInfoEnum colour(L"colour", L"", 0, false, &ColourText, &ColourValue, nullptr);
    CXmlAttribute foreign(L"colour", L"green", L"urn:other");
    CXmlSerializationContext context;
    EXPECT_FALSE(colour.AttributeFromXml(context, &object, &foreign));
    context.SetIgnoreNamespaces(true);
    EXPECT_TRUE(colour.AttributeFromXml(context, &object, &foreign));
    EXPECT_EQ(object.m_properties[0].GetI4(), 1);
    // The text reaches the generated function unchanged: no white-space rule is applied.
    CXmlAttribute padded(L"colour", L" red ", L"");
    EXPECT_TRUE(colour.AttributeFromXml(context, &object, &padded));
    EXPECT_EQ(object.m_properties[0].GetI4(), -1);
}

TEST(AttributeInfo, ValidateComplainsOnlyAboutMissingRequiredAttributes) {
    const CXmlSerializationContext context;
    const CAttributeInfoPrimitive required(L"id", L"", 0, false, ItemType_i4, nullptr, kCollapse,
                                           CPrimitiveRestrictions(), nullptr);
    const CAttributeInfoEnum requiredEnum(L"kind", L"", 0, false, &ColourText, &ColourValue, nullptr);
    const CAttributeInfoPrimitive optional(L"id", L"", 0, true, ItemType_i4, nullptr, kCollapse,
                                           CPrimitiveRestrictions(), nullptr);
    EXPECT_THROW(required.Validate(context, false), CQxValidationException);
    EXPECT_EQ(MessageOf([&] { required.Validate(context, false); }), L"Failed to find the required Attribute [id]");
    EXPECT_EQ(MessageOf([&] { requiredEnum.Validate(context, false); }),
              L"Failed to find the required Attribute [kind]");
    EXPECT_NO_THROW(required.Validate(context, true));
    EXPECT_NO_THROW(optional.Validate(context, false));
}

// ------------------------------------------------------------------ wildcard

TEST(AttributeInfo, WildcardTestsTheNamespaceBeforeTakingAnything) {
    CTestObject object;
    object.m_targetNamespace = L"urn:t";
    // A collection of the wrong type: an admitted attribute reaches the type check and fails
    // there, a refused one is turned down before the property is read.
    object.m_properties[0].SetXmlCollection(new CRecordingCollection);
    const std::wstring wrongCollection =
        L"Serialization Data Error : The collection should be a CAttributeCol, it was not!";
    const CXmlSerializationContext context;

    CAttributeInfoAny other(L"", L"", 0, true, L"##other", L"urn:t", nullptr);
    CXmlAttribute unqualified(L"a", L"1", L"");
    CXmlAttribute inTarget(L"a", L"1", L"urn:t");
    EXPECT_EQ(MessageOf([&] { other.AttributeFromXml(context, &object, &unqualified); }), wrongCollection);
    object.m_accessLog.clear();
    EXPECT_FALSE(other.AttributeFromXml(context, &object, &inTarget));
    EXPECT_TRUE(object.m_accessLog.empty());

    CAttributeInfoAny list(L"", L"", 0, true, L"urn:a urn:b", L"urn:t", nullptr);
    CXmlAttribute second(L"a", L"1", L"urn:b");
    CXmlAttribute third(L"a", L"1", L"urn:c");
    EXPECT_EQ(MessageOf([&] { list.AttributeFromXml(context, &object, &second); }), wrongCollection);
    EXPECT_FALSE(list.AttributeFromXml(context, &object, &third));

    CAttributeInfoAny local(L"", L"", 0, true, L"##local", L"urn:t", nullptr);
    EXPECT_FALSE(local.AttributeFromXml(context, &object, &inTarget));
    EXPECT_FALSE(local.AttributeFromXml(context, &object, nullptr));
    EXPECT_NO_THROW(local.Validate(context, false));
}

TEST(AttributeInfo, WildcardLetsItsCollectionWriteUnderTheTargetNamespace) {
    CTestObject object;
    object.m_targetNamespace = L"urn:t";
    CSmartPtr<CRecordingCollection> collection(new CRecordingCollection);
    object.m_properties[3].SetXmlCollection(collection);
    const CAttributeInfoAny any(L"any", L"urn:ignored", 3, false, L"##any", L"urn:schema", L"x");
    EXPECT_EQ(Write(any, object), L"<e/>");
    EXPECT_EQ(collection->m_writes, 1);
    EXPECT_FALSE(collection->m_lastIsRoot);
    EXPECT_EQ(collection->m_lastElementNamespace, L"urn:t");  // the object's, not the descriptor's
}

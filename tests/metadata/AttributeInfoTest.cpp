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

CAttributeInfoPrimitive Primitive(const wchar_t* name, int index, bool optional, ItemType type,
                                  const wchar_t* defaultValue = nullptr,
                                  const CPrimitiveRestrictions& facets = CPrimitiveRestrictions(),
                                  const wchar_t* format = nullptr) {
    return CAttributeInfoPrimitive(name, L"", index, optional, type, format, kCollapse, facets, defaultValue);
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

// Writes <e> with the descriptor's attribute; `types` receives the item types written, and
// `partial` what the stream held when writing threw.
std::wstring Write(const CAttributeInfo& info, const CTestObject& object,
                   const CXmlSerializationContext& context = CXmlSerializationContext(),
                   std::vector<ItemType>* types = nullptr, std::wstring* partial = nullptr) {
    CTextStream stream;
    CRecordingWriter writer(&stream);
    writer.SetFormatting(false);
    writer.StartElement(L"e", L"");
    try {
        info.AttributeToXml(context, &object, &writer);
    } catch (...) {
        if (partial) *partial = stream.TakeText();
        throw;
    }
    writer.EndElement();
    if (types) *types = writer.m_types;
    return stream.TakeText();
}

}  // namespace

// ------------------------------------------------------------------ writing

TEST(AttributeInfo, OptionalUnsetAttributesAreLeftOutRequiredOnesWrittenFromWhateverThePropertyHolds) {
    CTestObject object;
    EXPECT_EQ(Write(Primitive(L"count", 0, true, ItemType_i4), object), L"<e/>");
    const CAttributeInfoPrimitive count = Primitive(L"count", 0, false, ItemType_i4);
    // Unset: the variant itself refuses to produce text.
    EXPECT_EQ(MessageOf([&] { Write(count, object); }), L"Invalid Type 0 to convert to string");
    // Nil still has its kind, and an attribute has no nil: the zeroed value is written.
    object.m_properties[0].SetI4(3);
    object.m_properties[0].SetNil();
    EXPECT_EQ(Write(count, object), L"<e count=\"0\"/>");
    // The value's own kind reaches the writer, with the format override applied.
    object.m_properties[0].SetR8(2.5);
    std::vector<ItemType> types;
    const CAttributeInfoPrimitive ratio =
        Primitive(L"ratio", 0, false, ItemType_r8, nullptr, CPrimitiveRestrictions(), L"%.3f");
    EXPECT_EQ(Write(ratio, object, CXmlSerializationContext(), &types), L"<e ratio=\"2.500\"/>");
    EXPECT_EQ(types, std::vector<ItemType>{ItemType_r8});
}

TEST(AttributeInfo, QualifiedAttributesGetAPrefix) {
    CTestObject object;
    object.m_properties[1].SetString(L"a<b&\"c\"");
    const CAttributeInfoPrimitive note(L"note", L"urn:n", 1, false, ItemType_string, nullptr, kCollapse,
                                       CPrimitiveRestrictions(), nullptr);
    const std::wstring text = Write(note, object);
    // The writer invents the prefix; the declaration and the escaped value must be there.
    EXPECT_NE(text.find(L"=\"urn:n\""), std::wstring::npos) << Narrow(text);
    EXPECT_NE(text.find(L":note=\"a&lt;b&amp;&quot;c&quot;\""), std::wstring::npos) << Narrow(text);
}

TEST(AttributeInfo, DefaultValuesAreSuppressedOnlyWhenAskedAndOnlyOnTheWrittenText) {
    CXmlSerializationContext suppressing;
    suppressing.SetNoOptionalAttributeDefaultOutput(true);
    const struct {
        bool optional;
        const wchar_t* defaultValue;
        const wchar_t* value;
        bool suppress;
        const wchar_t* expected;
    } cases[] = {
        {true, L"EUR", L"EUR", false, L"<e currency=\"EUR\"/>"},
        {true, L"EUR", L"EUR", true, L"<e/>"},
        {true, L"EUR", L"USD", true, L"<e currency=\"USD\"/>"},
        {true, L"", L"", true, L"<e currency=\"\"/>"},         // an empty default suppresses nothing
        {false, L"EUR", L"EUR", true, L"<e currency=\"EUR\"/>"},  // nor does a required one's
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.expected));
        CTestObject object;
        object.m_properties[0].SetString(c.value);
        const CAttributeInfoPrimitive currency = Primitive(L"currency", 0, c.optional, ItemType_string, c.defaultValue);
        EXPECT_EQ(Write(currency, object, c.suppress ? suppressing : CXmlSerializationContext()), c.expected);
    }
    // The text of 1.0 is "1", not the default's "1.0": the attribute is written.
    CTestObject object;
    object.m_properties[0].SetR8(1.0);
    EXPECT_EQ(Write(Primitive(L"scale", 0, true, ItemType_r8, L"1.0"), object, suppressing), L"<e scale=\"1\"/>");
}

TEST(AttributeInfo, BrokenFacetsStopTheAttributeBeforeItIsWritten) {
    CTestObject object;
    object.m_properties[0].SetI4(0);
    const CAttributeInfoPrimitive count = Primitive(L"count", 0, false, ItemType_i4, nullptr, AtLeastOne());
    std::wstring partial;
    EXPECT_EQ(MessageOf([&] { Write(count, object, CXmlSerializationContext(), nullptr, &partial); }),
              L"Invalid Value for count [0]");
    EXPECT_EQ(partial.find(L"count"), std::wstring::npos);
    object.m_properties[0].SetI4(1);
    EXPECT_EQ(Write(count, object), L"<e count=\"1\"/>");
}

TEST(AttributeInfo, EnumerationsWriteTheGeneratedTextAsAString) {
    CTestObject object;
    object.m_properties[2].SetI4(1);
    const CAttributeInfoEnum colour(L"colour", L"", 2, false, &ColourText, &ColourValue, nullptr);
    std::vector<ItemType> types;
    EXPECT_EQ(Write(colour, object, CXmlSerializationContext(), &types), L"<e colour=\"green\"/>");
    EXPECT_EQ(types, std::vector<ItemType>{ItemType_string});

    // A value the generated function has no text for.
    object.m_properties[2].SetI4(7);
    EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { Write(colour, object); }), L"Invalid Value for colour [7]");
    // A required enumeration left unset breaks the integer getter.
    object.m_properties[2].SetInvalid();
    EXPECT_EQ(MessageOf([&] { Write(colour, object); }), L"m_type == ItemType_i4");

    // Optional ones: unset and default values are left out like primitives.
    const CAttributeInfoEnum optional(L"colour", L"", 0, true, &ColourText, &ColourValue, L"red");
    EXPECT_EQ(Write(optional, object), L"<e/>");
    object.m_properties[0].SetI4(0);
    EXPECT_EQ(Write(optional, object), L"<e colour=\"red\"/>");
    CXmlSerializationContext context;
    context.SetNoOptionalAttributeDefaultOutput(true);
    EXPECT_EQ(Write(optional, object, context), L"<e/>");
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

    CAttributeInfoPrimitive number = Primitive(L"n", 0, true, ItemType_i4);
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
    const CAttributeInfoPrimitive required = Primitive(L"id", 0, false, ItemType_i4);
    const CAttributeInfoEnum requiredEnum(L"kind", L"", 0, false, &ColourText, &ColourValue, nullptr);
    EXPECT_EQ(MessageOf<CQxValidationException>([&] { required.Validate(context, false); }),
              L"Failed to find the required Attribute [id]");
    EXPECT_EQ(MessageOf([&] { requiredEnum.Validate(context, false); }),
              L"Failed to find the required Attribute [kind]");
    EXPECT_NO_THROW(required.Validate(context, true));
    EXPECT_NO_THROW(Primitive(L"id", 0, true, ItemType_i4).Validate(context, false));
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

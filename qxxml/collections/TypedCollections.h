// TypedCollections.h - the collections of a repeated element of a primitive type that is not
// a date or time: Ci4Col for a list of xs:int, CstringCol for xs:string, CdecimalCol, ...
//
// The generated class owns one per repeated element and builds it with the element's name,
// namespace, occurrence bounds, facets, white-space rule and format override:
//
//   // <xs:element name="score" type="percent" minOccurs="1" maxOccurs="3"/>
//   CSmartPtr<Ci4Col> scores(new Ci4Col(L"score", L"urn:a", 1, 3,
//       nullptr, -1, -1, L"0", L"100", nullptr, nullptr, -1,     // the facets
//       CWhitespaceUtils::WhitespaceRule_Collapse, nullptr));
//   scores->Add(75);
//   scores->Add(101);     // CQxException "Invalid Value for score [101]"
//   scores->AddAt(0, 60); // 60, 75
//
// Writing puts each item in an element of its own, <score>60</score><score>75</score>,
// after checking the count against the bounds; reading takes the run of <score> elements at
// the cursor (XmlTypeCollection.h). An addition tells MsgType_CollectionAdd (data: the
// value's address) before anything is checked, then MsgType_CollectionAddComplete and
// MsgType_CollectionChange once the value is in.
//
// Every member has the same operations with its own item type:
//   ChexBinaryCol, Cbase64BinaryCol  CBinaryData      CdurationCol  CDateTimeSpan
//   Ci1Col char, Ci2Col short, Ci4Col int32_t, Ci8Col long long
//   Cui1Col, Cui2Col, Cui4Col, Cui8Col  the unsigned counterparts
//   Cr4Col float, Cr8Col double      (written with the format override when it is set)
//   CyearCol unsigned short, CmonthCol unsigned char, CdayCol unsigned char
//   CstringCol std::wstring, CbooleanCol bool, CdecimalCol CDecimal (format override),
//   CintegerCol CBigInteger
// The date and time members are in DateTimeCollections.h.
#pragma once

#include <qxxml/collections/XmlValueCollection.h>
#include <qxxml/support/InstanceMonitor.h>

#include <cstdint>
#include <string>

namespace QxXmlLib10 {

// The item type stored for each primitive kind.
template <ItemType Kind> struct CPrimitiveColValue;
template <> struct CPrimitiveColValue<ItemType_hexBinary> { using Type = CBinaryData; };
template <> struct CPrimitiveColValue<ItemType_base64Binary> { using Type = CBinaryData; };
template <> struct CPrimitiveColValue<ItemType_i1> { using Type = char; };
template <> struct CPrimitiveColValue<ItemType_i2> { using Type = short; };
template <> struct CPrimitiveColValue<ItemType_i4> { using Type = int32_t; };
template <> struct CPrimitiveColValue<ItemType_i8> { using Type = long long; };
template <> struct CPrimitiveColValue<ItemType_ui1> { using Type = unsigned char; };
template <> struct CPrimitiveColValue<ItemType_ui2> { using Type = unsigned short; };
template <> struct CPrimitiveColValue<ItemType_ui4> { using Type = uint32_t; };
template <> struct CPrimitiveColValue<ItemType_ui8> { using Type = unsigned long long; };
template <> struct CPrimitiveColValue<ItemType_r4> { using Type = float; };
template <> struct CPrimitiveColValue<ItemType_r8> { using Type = double; };
template <> struct CPrimitiveColValue<ItemType_duration> { using Type = CDateTimeSpan; };
template <> struct CPrimitiveColValue<ItemType_year> { using Type = unsigned short; };
template <> struct CPrimitiveColValue<ItemType_month> { using Type = unsigned char; };
template <> struct CPrimitiveColValue<ItemType_day> { using Type = unsigned char; };
template <> struct CPrimitiveColValue<ItemType_string> { using Type = std::wstring; };
template <> struct CPrimitiveColValue<ItemType_boolean> { using Type = bool; };
template <> struct CPrimitiveColValue<ItemType_decimal> { using Type = CDecimal; };
template <> struct CPrimitiveColValue<ItemType_integer> { using Type = CBigInteger; };

// One primitive kind: the value checks, conversions and instance counting of that kind over
// the shared storage. Use the named members below.
template <ItemType Kind>
class QXXML_API CXmlPrimitiveCol : public CXmlValueCollection<typename CPrimitiveColValue<Kind>::Type>,
                                   private CInstanceMonitor {
public:
    using ValueType = typename CPrimitiveColValue<Kind>::Type;

    // The eight facet arguments are those of the CPrimitiveRestrictions constructor.
    CXmlPrimitiveCol(const wchar_t* elementName, const wchar_t* elementNamespace, int minOccurs, int maxOccurs,
                     const wchar_t* pattern, int minLength, int maxLength, const wchar_t* minInclusive,
                     const wchar_t* maxInclusive, const wchar_t* minExclusive, const wchar_t* maxExclusive,
                     int length, CWhitespaceUtils::WhitespaceRule whitespaceRule, const wchar_t* formatOverride);
    // Copies name, namespace, listeners, bounds, facets, settings and every item; tells no one.
    CXmlPrimitiveCol(const CXmlPrimitiveCol& other);
    CXmlPrimitiveCol& operator=(const CXmlPrimitiveCol& other);
    ~CXmlPrimitiveCol() override;

    // AddAt(GetCount(), value).
    void Add(ValueType value);
    // MsgType_CollectionAdd; then an index outside 0 .. GetCount() throws
    // CQxInvalidParamException "Index out of range", and a broken facet the check's
    // CQxException ("Invalid Value for %s [...]"); then the value goes in at the index.
    void AddAt(int index, ValueType value);

protected:
    // ValidateCount, then <name>text</name> for every item, declared as the kind.
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                   const CXmlSerializationContext& context, bool optionalChoiceItem) const override;
    // Converts with the kind's conversion and the white-space rule, then Add.
    void AddFromString(const std::wstring& text) override;
    std::wstring ItemToString(const ValueType& value) const override;
    void AppendItemText(std::wstring& out, const ValueType& value) const override;

private:
    static CInstanceMonitor::ClassType* MonitorRecord();
};

QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_hexBinary>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_base64Binary>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_i1>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_i2>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_i4>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_i8>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_ui1>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_ui2>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_ui4>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_ui8>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_r4>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_r8>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_duration>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_year>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_month>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_day>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_string>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_boolean>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_decimal>)
QXXML_EXTERN_TEMPLATE(CXmlPrimitiveCol<ItemType_integer>)

// The named members: each is its kind's CXmlPrimitiveCol, counted under its own name.
#define QXXML_PRIMITIVE_COLLECTION(Name, Kind)                         \
    class QXXML_API Name : public CXmlPrimitiveCol<Kind> {             \
    public:                                                            \
        using CXmlPrimitiveCol<Kind>::CXmlPrimitiveCol;                \
    }

QXXML_PRIMITIVE_COLLECTION(ChexBinaryCol, ItemType_hexBinary);
QXXML_PRIMITIVE_COLLECTION(Cbase64BinaryCol, ItemType_base64Binary);
QXXML_PRIMITIVE_COLLECTION(Ci1Col, ItemType_i1);
QXXML_PRIMITIVE_COLLECTION(Ci2Col, ItemType_i2);
QXXML_PRIMITIVE_COLLECTION(Ci4Col, ItemType_i4);
QXXML_PRIMITIVE_COLLECTION(Ci8Col, ItemType_i8);
QXXML_PRIMITIVE_COLLECTION(Cui1Col, ItemType_ui1);
QXXML_PRIMITIVE_COLLECTION(Cui2Col, ItemType_ui2);
QXXML_PRIMITIVE_COLLECTION(Cui4Col, ItemType_ui4);
QXXML_PRIMITIVE_COLLECTION(Cui8Col, ItemType_ui8);
QXXML_PRIMITIVE_COLLECTION(Cr4Col, ItemType_r4);
QXXML_PRIMITIVE_COLLECTION(Cr8Col, ItemType_r8);
QXXML_PRIMITIVE_COLLECTION(CdurationCol, ItemType_duration);
QXXML_PRIMITIVE_COLLECTION(CyearCol, ItemType_year);
QXXML_PRIMITIVE_COLLECTION(CmonthCol, ItemType_month);
QXXML_PRIMITIVE_COLLECTION(CdayCol, ItemType_day);
QXXML_PRIMITIVE_COLLECTION(CstringCol, ItemType_string);
QXXML_PRIMITIVE_COLLECTION(CbooleanCol, ItemType_boolean);
QXXML_PRIMITIVE_COLLECTION(CdecimalCol, ItemType_decimal);
QXXML_PRIMITIVE_COLLECTION(CintegerCol, ItemType_integer);

#undef QXXML_PRIMITIVE_COLLECTION

}  // namespace QxXmlLib10

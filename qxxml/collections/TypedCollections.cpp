#include <qxxml/collections/TypedCollections.h>

#include <qxxml/core/PrimitiveValueCheck.h>
#include <qxxml/values/Conversions.h>

#include <utility>

namespace QxXmlLib10 {

namespace {

using Rule = CWhitespaceUtils::WhitespaceRule;

// What differs between the kinds: the class name the instances are counted under, the
// value check, and the two conversions. Only r4, r8 and decimal take the format override.
template <ItemType Kind> struct KindOps;

// Appending a kind's text: reals in their default form and strings need no string of their
// own; every other kind appends its converted text.
template <ItemType Kind, class Value>
void AppendTextOf(std::wstring& out, const Value& value, const std::wstring& format) {
    out += KindOps<Kind>::ToText(value, format);
}
template <>
void AppendTextOf<ItemType_r8, double>(std::wstring& out, const double& value, const std::wstring& format) {
    if (format.empty())
        CConversions::r8AppendTo(out, value);
    else
        out += CConversions::r8ToString(value, format);
}
template <>
void AppendTextOf<ItemType_r4, float>(std::wstring& out, const float& value, const std::wstring& format) {
    if (format.empty())
        CConversions::r4AppendTo(out, value);
    else
        out += CConversions::r4ToString(value, format);
}
template <>
void AppendTextOf<ItemType_string, std::wstring>(std::wstring& out, const std::wstring& value, const std::wstring&) {
    out += value;
}

#define QXXML_KIND_OPS(Kind, ClassName, Kind_, Check, TO_TEXT)                                              \
    template <> struct KindOps<Kind> {                                                                     \
        using Value = typename CPrimitiveColValue<Kind>::Type;                                             \
        static constexpr const wchar_t* kClassName = ClassName;                                            \
        static void CheckValue(const wchar_t* name, const Value& value, const CPrimitiveRestrictions& r) { \
            Check(name, value, r);                                                                         \
        }                                                                                                  \
        static std::wstring ToText(const Value& value, const std::wstring& format) {                       \
            (void)format;                                                                                  \
            return TO_TEXT;                                                                                \
        }                                                                                                  \
        static void AppendText(std::wstring& out, const Value& value, const std::wstring& format) {        \
            AppendTextOf<Kind>(out, value, format);                                                        \
        }                                                                                                  \
        static Value FromText(const std::wstring& text, Rule rule) {                                       \
            return CConversions::Kind_##FromString(text, rule);                                            \
        }                                                                                                  \
    }

#define PLAIN(Kind_) CConversions::Kind_##ToString(value)
#define FORMATTED(Kind_) CConversions::Kind_##ToString(value, format)

QXXML_KIND_OPS(ItemType_hexBinary, L"ChexBinaryCol", hexBinary, CheckHexBinaryValue, PLAIN(hexBinary));
QXXML_KIND_OPS(ItemType_base64Binary, L"Cbase64BinaryCol", base64Binary, CheckBase64BinaryValue,
               PLAIN(base64Binary));
QXXML_KIND_OPS(ItemType_i1, L"Ci1Col", i1, CheckI1Value, PLAIN(i1));
QXXML_KIND_OPS(ItemType_i2, L"Ci2Col", i2, CheckI2Value, PLAIN(i2));
QXXML_KIND_OPS(ItemType_i4, L"Ci4Col", i4, CheckI4Value, PLAIN(i4));
QXXML_KIND_OPS(ItemType_i8, L"Ci8Col", i8, CheckI8Value, PLAIN(i8));
QXXML_KIND_OPS(ItemType_ui1, L"Cui1Col", ui1, CheckUI1Value, PLAIN(ui1));
QXXML_KIND_OPS(ItemType_ui2, L"Cui2Col", ui2, CheckUI2Value, PLAIN(ui2));
QXXML_KIND_OPS(ItemType_ui4, L"Cui4Col", ui4, CheckUI4Value, PLAIN(ui4));
QXXML_KIND_OPS(ItemType_ui8, L"Cui8Col", ui8, CheckUI8Value, PLAIN(ui8));
QXXML_KIND_OPS(ItemType_r4, L"Cr4Col", r4, CheckR4Value, FORMATTED(r4));
QXXML_KIND_OPS(ItemType_r8, L"Cr8Col", r8, CheckR8Value, FORMATTED(r8));
QXXML_KIND_OPS(ItemType_duration, L"CdurationCol", duration, CheckDurationValue, PLAIN(duration));
QXXML_KIND_OPS(ItemType_year, L"CyearCol", year, CheckYearValue, PLAIN(year));
QXXML_KIND_OPS(ItemType_month, L"CmonthCol", month, CheckMonthValue, PLAIN(month));
QXXML_KIND_OPS(ItemType_day, L"CdayCol", day, CheckDayValue, PLAIN(day));
QXXML_KIND_OPS(ItemType_string, L"CstringCol", string, CheckStringValue, PLAIN(string));
QXXML_KIND_OPS(ItemType_boolean, L"CbooleanCol", boolean, CheckBooleanValue, PLAIN(boolean));
QXXML_KIND_OPS(ItemType_decimal, L"CdecimalCol", decimal, CheckDecimalValue, FORMATTED(decimal));
QXXML_KIND_OPS(ItemType_integer, L"CintegerCol", integer, CheckIntegerValue, PLAIN(integer));

#undef PLAIN
#undef FORMATTED
#undef QXXML_KIND_OPS

}  // namespace

template <ItemType Kind>
CInstanceMonitor::ClassType* CXmlPrimitiveCol<Kind>::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(KindOps<Kind>::kClassName);
    return record;
}

template <ItemType Kind>
CXmlPrimitiveCol<Kind>::CXmlPrimitiveCol(const wchar_t* elementName, const wchar_t* elementNamespace,
                                         int minOccurs, int maxOccurs, const wchar_t* pattern, int minLength,
                                         int maxLength, const wchar_t* minInclusive, const wchar_t* maxInclusive,
                                         const wchar_t* minExclusive, const wchar_t* maxExclusive, int length,
                                         CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                         const wchar_t* formatOverride)
    : CXmlValueCollection<ValueType>(Kind, elementName, elementNamespace, minOccurs, maxOccurs, pattern,
                                     minLength, maxLength, minInclusive, maxInclusive, minExclusive,
                                     maxExclusive, length, whitespaceRule, formatOverride),
      CInstanceMonitor(MonitorRecord()) {}

template <ItemType Kind>
CXmlPrimitiveCol<Kind>::CXmlPrimitiveCol(const CXmlPrimitiveCol& other) = default;

template <ItemType Kind>
CXmlPrimitiveCol<Kind>& CXmlPrimitiveCol<Kind>::operator=(const CXmlPrimitiveCol& other) = default;

template <ItemType Kind>
CXmlPrimitiveCol<Kind>::~CXmlPrimitiveCol() = default;

template <ItemType Kind>
void CXmlPrimitiveCol<Kind>::Add(ValueType value) {
    AddAt(this->Count(), std::move(value));
}

template <ItemType Kind>
void CXmlPrimitiveCol<Kind>::AddAt(int index, ValueType value) {
    this->FireOnCollectionAdd(&value);
    this->CheckInsertIndex(index, this->Count());
    KindOps<Kind>::CheckValue(this->ElementName().c_str(), value, this->GetRestrictions());
    this->InsertChecked(index, value);
}

template <ItemType Kind>
void CXmlPrimitiveCol<Kind>::ToXml_Int(CXmlWriter* writer, bool, const wchar_t*,
                                       const CXmlSerializationContext& context, bool) const {
    this->WriteItems(writer, context, Kind);
}

template <ItemType Kind>
void CXmlPrimitiveCol<Kind>::AddFromString(const std::wstring& text) {
    Add(KindOps<Kind>::FromText(text, this->m_whitespaceRule));
}

template <ItemType Kind>
std::wstring CXmlPrimitiveCol<Kind>::ItemToString(const ValueType& value) const {
    return KindOps<Kind>::ToText(value, this->m_strFormatOverride);
}

template <ItemType Kind>
void CXmlPrimitiveCol<Kind>::AppendItemText(std::wstring& out, const ValueType& value) const {
    KindOps<Kind>::AppendText(out, value, this->m_strFormatOverride);
}

template class CXmlPrimitiveCol<ItemType_hexBinary>;
template class CXmlPrimitiveCol<ItemType_base64Binary>;
template class CXmlPrimitiveCol<ItemType_i1>;
template class CXmlPrimitiveCol<ItemType_i2>;
template class CXmlPrimitiveCol<ItemType_i4>;
template class CXmlPrimitiveCol<ItemType_i8>;
template class CXmlPrimitiveCol<ItemType_ui1>;
template class CXmlPrimitiveCol<ItemType_ui2>;
template class CXmlPrimitiveCol<ItemType_ui4>;
template class CXmlPrimitiveCol<ItemType_ui8>;
template class CXmlPrimitiveCol<ItemType_r4>;
template class CXmlPrimitiveCol<ItemType_r8>;
template class CXmlPrimitiveCol<ItemType_duration>;
template class CXmlPrimitiveCol<ItemType_year>;
template class CXmlPrimitiveCol<ItemType_month>;
template class CXmlPrimitiveCol<ItemType_day>;
template class CXmlPrimitiveCol<ItemType_string>;
template class CXmlPrimitiveCol<ItemType_boolean>;
template class CXmlPrimitiveCol<ItemType_decimal>;
template class CXmlPrimitiveCol<ItemType_integer>;

}  // namespace QxXmlLib10

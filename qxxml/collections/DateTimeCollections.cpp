#include <qxxml/collections/DateTimeCollections.h>

#include <qxxml/core/PrimitiveValueCheck.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/Conversions.h>

namespace QxXmlLib10 {

// ------------------------------------------------------------------ CdatetimeBaseCol

CdatetimeBaseCol::CdatetimeBaseCol(ItemType itemType, const wchar_t* elementName, const wchar_t* elementNamespace,
                                   int minOccurs, int maxOccurs, const wchar_t* pattern, int minLength,
                                   int maxLength, const wchar_t* minInclusive, const wchar_t* maxInclusive,
                                   const wchar_t* minExclusive, const wchar_t* maxExclusive, int length,
                                   CWhitespaceUtils::WhitespaceRule whitespaceRule, const wchar_t* formatOverride)
    : CXmlValueCollection<CDateTime>(itemType, elementName, elementNamespace, minOccurs, maxOccurs, pattern,
                                     minLength, maxLength, minInclusive, maxInclusive, minExclusive,
                                     maxExclusive, length, whitespaceRule, formatOverride) {}

CdatetimeBaseCol::CdatetimeBaseCol(const CdatetimeBaseCol& other) = default;
CdatetimeBaseCol& CdatetimeBaseCol::operator=(const CdatetimeBaseCol& other) = default;
CdatetimeBaseCol::~CdatetimeBaseCol() = default;

void CdatetimeBaseCol::Add(const CDateTime& value) { AddAt(GetCount(), value); }

void CdatetimeBaseCol::BaseAddAt(int index, const CDateTime& value) {
    FireOnCollectionAdd(const_cast<CDateTime*>(&value));
    CheckInsertIndex(index, Count());
    InsertCheckedCopy(index, value);
}

void CdatetimeBaseCol::ToXml_Int(CXmlWriter* writer, bool, const wchar_t*, const CXmlSerializationContext& context,
                                 bool) const {
    WriteItems(writer, context, ItemType_datetime);
}

// ------------------------------------------------------------------ the five kinds

namespace {

using Rule = CWhitespaceUtils::WhitespaceRule;

template <ItemType Kind> struct DateKindOps;

#define QXXML_DATE_KIND_OPS(Kind, ClassName, DtKind, Message, Check, Conversion)                    \
    template <> struct DateKindOps<Kind> {                                                          \
        static constexpr const wchar_t* kClassName = ClassName;                                     \
        static constexpr CDateTime::DTType kDateKind = CDateTime::DtKind;                           \
        static constexpr const wchar_t* kKindMessage = Message;                                     \
        static void CheckValue(const wchar_t* name, const CDateTime& value,                         \
                               const CPrimitiveRestrictions& restrictions) {                        \
            Check(name, value, restrictions);                                                       \
        }                                                                                           \
        static std::wstring ToText(const CDateTime& value) {                                        \
            return CConversions::Conversion##ToString(value);                                       \
        }                                                                                           \
        static CDateTime FromText(const std::wstring& text, Rule rule) {                            \
            return CConversions::Conversion##FromString(text, rule);                                \
        }                                                                                           \
    }

QXXML_DATE_KIND_OPS(ItemType_yearMonth, L"CyearMonthCol", dt_gYearMonth,
                    L"Dates added to this collection must be of type dt_gYearMonth", CheckYearMonthValue, yearMonth);
QXXML_DATE_KIND_OPS(ItemType_monthDay, L"CmonthDayCol", dt_gMonthDay,
                    L"Dates added to this collection must be of type dt_gMonthDay", CheckMonthDayValue, monthDay);
QXXML_DATE_KIND_OPS(ItemType_date, L"CdateCol", dt_date, L"Dates added to this collection must be of type dt_date",
                    CheckDateValue, date);
QXXML_DATE_KIND_OPS(ItemType_datetime, L"CdatetimeCol", dt_dateTime,
                    L"Dates added to this collection must be of type dt_dateTime", CheckDateTimeValue, datetime);
QXXML_DATE_KIND_OPS(ItemType_time, L"CtimeCol", dt_time, L"Dates added to this collection must be of type dt_time",
                    CheckTimeValue, time);

#undef QXXML_DATE_KIND_OPS

}  // namespace

template <ItemType Kind>
CInstanceMonitor::ClassType* CXmlDateKindCol<Kind>::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(DateKindOps<Kind>::kClassName);
    return record;
}

template <ItemType Kind>
CXmlDateKindCol<Kind>::CXmlDateKindCol(const wchar_t* elementName, const wchar_t* elementNamespace, int minOccurs,
                                       int maxOccurs, const wchar_t* pattern, int minLength, int maxLength,
                                       const wchar_t* minInclusive, const wchar_t* maxInclusive,
                                       const wchar_t* minExclusive, const wchar_t* maxExclusive, int length,
                                       CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                       const wchar_t* formatOverride)
    : CdatetimeBaseCol(Kind, elementName, elementNamespace, minOccurs, maxOccurs, pattern, minLength, maxLength,
                       minInclusive, maxInclusive, minExclusive, maxExclusive, length, whitespaceRule,
                       formatOverride),
      CInstanceMonitor(MonitorRecord()) {}

template <ItemType Kind>
CXmlDateKindCol<Kind>::CXmlDateKindCol(const CXmlDateKindCol& other) = default;

template <ItemType Kind>
CXmlDateKindCol<Kind>& CXmlDateKindCol<Kind>::operator=(const CXmlDateKindCol& other) = default;

template <ItemType Kind>
CXmlDateKindCol<Kind>::~CXmlDateKindCol() = default;

template <ItemType Kind>
void CXmlDateKindCol<Kind>::AddAt(int index, const CDateTime& value) {
    using Ops = DateKindOps<Kind>;
    if (value.GetType() != Ops::kDateKind) throw CQxInvalidParamException(Ops::kKindMessage);
    Ops::CheckValue(ElementName().c_str(), value, GetRestrictions());
    BaseAddAt(index, value);
}

template <ItemType Kind>
std::wstring CXmlDateKindCol<Kind>::ItemToString(const CDateTime& value) const {
    return DateKindOps<Kind>::ToText(value);
}

template <ItemType Kind>
void CXmlDateKindCol<Kind>::AddFromString(const std::wstring& text) {
    Add(DateKindOps<Kind>::FromText(text, m_whitespaceRule));
}

template class CXmlDateKindCol<ItemType_yearMonth>;
template class CXmlDateKindCol<ItemType_monthDay>;
template class CXmlDateKindCol<ItemType_date>;
template class CXmlDateKindCol<ItemType_datetime>;
template class CXmlDateKindCol<ItemType_time>;

}  // namespace QxXmlLib10

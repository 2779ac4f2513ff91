#include <qxxml/core/PrimitiveValueCheck.h>

#include <qxxml/support/QxException.h>
#include <qxxml/values/BigInteger.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/values/Conversions.h>
#include <qxxml/values/DateTime.h>
#include <qxxml/values/DateTimeSpan.h>
#include <qxxml/values/Decimal.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/values/PatternMatcher.h>
#include <qxxml/values/PrimitiveRestrictions.h>
#include <qxxml/values/QxVariant.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <type_traits>

namespace QxXmlLib10 {

namespace {

// ------------------------------------------------------------------ messages

[[noreturn]] void ThrowInvalid(const wchar_t* name, const std::wstring& valueText) {
    throw CQxException(FormatString(L"Invalid Value for %s [%s]", name, valueText.c_str()));
}

// The "%d" form takes an int: an unsigned 32-bit value above INT_MAX shows as the negative
// number the format makes of it.
[[noreturn]] void ThrowInvalidInt(const wchar_t* name, int value) {
    throw CQxException(FormatString(L"Invalid Value for %s [%d]", name, value));
}

[[noreturn]] void ThrowInvalidReal(const wchar_t* name, double value) {
    throw CQxException(FormatString(L"Invalid Value for %s [%f]", name, value));
}

// ------------------------------------------------------------------ per-thread caches

// A small direct-mapped cache keyed by (kind, facet text). The facet records belong to
// generated code and carry their texts only, so the converted form is kept here: a bound is
// converted once per thread, not on every check. A conversion that throws stores nothing.
//
// A facet text normally lives as long as its descriptor, so the slot is chosen by where the
// text is stored, which costs nothing to hash; the text itself is still compared, so a
// record that changed or a new record at an old address is never served a stale value.
template <class Value>
class CFacetCache {
public:
    template <class Convert>
    const Value& Get(int kind, const std::wstring& text, Convert convert) {
        Entry& slot = m_slots[SlotOf(kind, text)];
        if (slot.kind != kind || slot.text.size() != text.size() ||
            std::wmemcmp(slot.text.data(), text.data(), text.size()) != 0) {
            Value converted = convert(text);
            slot.kind = -1;  // stays unusable should one of the assignments below throw
            slot.value = std::move(converted);
            slot.text = text;
            slot.kind = kind;
        }
        return slot.value;
    }

private:
    static constexpr size_t kSlots = 64;
    struct Entry {
        int kind = -1;
        std::wstring text;
        Value value;
    };
    static size_t SlotOf(int kind, const std::wstring& text) {
        const auto where = reinterpret_cast<uintptr_t>(text.data());
        return ((where >> 3) ^ (where >> 9) ^ static_cast<uintptr_t>(kind) * 0x9E3779B9u) % kSlots;
    }
    Entry m_slots[kSlots];
};

// The bounds of the calling thread, each read as the kind it bounds, the way every bound is
// read.
class CBoundCache {
public:
    static CBoundCache& OfThisThread() {
        thread_local CBoundCache cache;
        return cache;
    }
    const QxVariant& Get(ItemType kind, const std::wstring& text) {
        return m_cache.Get(kind, text, [kind](const std::wstring& boundText) {
            QxVariant bound;
            bound.FromString(boundText, kind, CWhitespaceUtils::WhitespaceRule_Collapse);
            return bound;
        });
    }

private:
    CFacetCache<QxVariant> m_cache;
};

// The pattern as the UTF-8 text the matcher takes.
const std::string& PatternUtf8(const std::wstring& pattern) {
    thread_local CFacetCache<std::string> cache;
    return cache.Get(0, pattern, [](const std::wstring& text) {
        std::string utf8;
        if (!AppendUtf8(utf8, text.data(), text.size()))
            throw CQxException(FormatString(L"Invalid Regular Expression: %s Error: '%s'", text.c_str(),
                                            L"the pattern is not well-formed Unicode"));
        return utf8;
    });
}

// ------------------------------------------------------------------ bounds

enum class Bound { MinInclusive, MaxInclusive, MinExclusive, MaxExclusive };

struct BoundFacet {
    Bound bound;
    std::wstring CPrimitiveRestrictions::*text;
};

// The order the bounds are checked in.
const BoundFacet kBoundFacets[] = {
    {Bound::MinInclusive, &CPrimitiveRestrictions::m_strMinInclusive},
    {Bound::MaxInclusive, &CPrimitiveRestrictions::m_strMaxInclusive},
    {Bound::MinExclusive, &CPrimitiveRestrictions::m_strMinExclusive},
    {Bound::MaxExclusive, &CPrimitiveRestrictions::m_strMaxExclusive},
};

// Totally ordered kinds. Written as "value must be ...", so a NaN satisfies no bound.
template <class T>
bool Holds(Bound bound, const T& value, const T& limit) {
    switch (bound) {
        case Bound::MinInclusive: return value >= limit;
        case Bound::MaxInclusive: return value <= limit;
        case Bound::MinExclusive: return value > limit;
        case Bound::MaxExclusive: return value < limit;
    }
    return true;
}

// Partially ordered kinds (dates, durations): a bound fails only on a definite answer, so an
// indeterminate comparison fails none.
bool Holds(Bound bound, CDateTime::DTCompareResult order) {
    const bool less = order == CDateTime::DTCompare_LessThan;
    const bool greater = order == CDateTime::DTCompare_GreaterThan;
    const bool equal = order == CDateTime::DTCompare_Equal;
    switch (bound) {
        case Bound::MinInclusive: return !less;
        case Bound::MaxInclusive: return !greater;
        case Bound::MinExclusive: return !less && !equal;
        case Bound::MaxExclusive: return !greater && !equal;
    }
    return true;
}

// Runs the four bounds in order, each only when set and while the earlier ones held.
// `holds(bound, limit)` compares the value with the converted bound; `fail()` throws.
template <class HoldsFn, class FailFn>
void CheckBounds(ItemType kind, const CPrimitiveRestrictions& restrictions, HoldsFn holds, FailFn fail) {
    CBoundCache* cache = nullptr;  // looked up once, and only when a bound is set
    for (const BoundFacet& facet : kBoundFacets) {
        const std::wstring& text = restrictions.*facet.text;
        if (text.empty()) continue;
        if (!cache) cache = &CBoundCache::OfThisThread();
        if (!holds(facet.bound, cache->Get(kind, text))) fail();
    }
}

// Numbers, year, month and day: the bound is read with the getter of the same kind.
template <class T>
void CheckNumber(ItemType kind, const wchar_t* name, T value, T (QxVariant::*get)() const,
                 const CPrimitiveRestrictions& restrictions) {
    CheckBounds(
        kind, restrictions, [&](Bound bound, const QxVariant& limit) { return Holds(bound, value, (limit.*get)()); },
        [&] {
            if constexpr (std::is_floating_point_v<T>)
                ThrowInvalidReal(name, value);
            else
                ThrowInvalidInt(name, static_cast<int>(value));
        });
}

void CheckDateKind(ItemType kind, const wchar_t* name, const CDateTime& value,
                   std::wstring (*lexical)(const CDateTime&), const CPrimitiveRestrictions& restrictions) {
    CheckBounds(
        kind, restrictions,
        [&](Bound bound, const QxVariant& limit) { return Holds(bound, value.CompareTo(*limit.m_pDateTime)); },
        [&] { ThrowInvalid(name, lexical(value)); });
}

// ------------------------------------------------------------------ lengths

// Each length facet takes part when it is not -1.
bool LengthsHold(size_t count, const CPrimitiveRestrictions& restrictions) {
    const auto n = static_cast<long long>(count);
    if (restrictions.m_nMinLength != -1 && n < restrictions.m_nMinLength) return false;
    if (restrictions.m_nMaxLength != -1 && n > restrictions.m_nMaxLength) return false;
    if (restrictions.m_nLength != -1 && n != restrictions.m_nLength) return false;
    return true;
}

void CheckBinary(const wchar_t* name, const CBinaryData& value, const CPrimitiveRestrictions& restrictions) {
    if (!LengthsHold(value.GetLength(), restrictions)) ThrowInvalid(name, value.GetAsHexString());
}

}  // namespace

// ------------------------------------------------------------------ per kind

void CheckHexBinaryValue(const wchar_t* name, const CBinaryData& value, const CPrimitiveRestrictions& restrictions) {
    CheckBinary(name, value, restrictions);
}

void CheckBase64BinaryValue(const wchar_t* name, const CBinaryData& value, const CPrimitiveRestrictions& restrictions) {
    CheckBinary(name, value, restrictions);
}

void CheckI1Value(const wchar_t* name, char value, const CPrimitiveRestrictions& restrictions) {
    CheckNumber(ItemType_i1, name, value, &QxVariant::GetI1, restrictions);
}

void CheckI2Value(const wchar_t* name, int16_t value, const CPrimitiveRestrictions& restrictions) {
    CheckNumber(ItemType_i2, name, value, &QxVariant::GetI2, restrictions);
}

void CheckI4Value(const wchar_t* name, int32_t value, const CPrimitiveRestrictions& restrictions) {
    CheckNumber(ItemType_i4, name, value, &QxVariant::GetI4, restrictions);
}

void CheckI8Value(const wchar_t* name, int64_t value, const CPrimitiveRestrictions& restrictions) {
    CheckBounds(
        ItemType_i8, restrictions,
        [&](Bound bound, const QxVariant& limit) { return Holds(bound, value, limit.GetI8()); },
        [&] { ThrowInvalid(name, CConversions::i8ToString(value)); });
}

void CheckUI1Value(const wchar_t* name, unsigned char value, const CPrimitiveRestrictions& restrictions) {
    CheckNumber(ItemType_ui1, name, value, &QxVariant::GetUI1, restrictions);
}

void CheckUI2Value(const wchar_t* name, uint16_t value, const CPrimitiveRestrictions& restrictions) {
    CheckNumber(ItemType_ui2, name, value, &QxVariant::GetUI2, restrictions);
}

void CheckUI4Value(const wchar_t* name, uint32_t value, const CPrimitiveRestrictions& restrictions) {
    CheckNumber(ItemType_ui4, name, value, &QxVariant::GetUI4, restrictions);
}

void CheckUI8Value(const wchar_t* name, uint64_t value, const CPrimitiveRestrictions& restrictions) {
    CheckBounds(
        ItemType_ui8, restrictions,
        [&](Bound bound, const QxVariant& limit) { return Holds(bound, value, limit.GetUI8()); },
        [&] { ThrowInvalid(name, CConversions::ui8ToString(value)); });
}

void CheckR4Value(const wchar_t* name, float value, const CPrimitiveRestrictions& restrictions) {
    CheckNumber(ItemType_r4, name, value, &QxVariant::GetR4, restrictions);
}

void CheckR8Value(const wchar_t* name, double value, const CPrimitiveRestrictions& restrictions) {
    CheckNumber(ItemType_r8, name, value, &QxVariant::GetR8, restrictions);
}

void CheckDurationValue(const wchar_t* name, const CDateTimeSpan& value, const CPrimitiveRestrictions& restrictions) {
    CheckBounds(
        ItemType_duration, restrictions,
        [&](Bound bound, const QxVariant& limit) { return Holds(bound, value.CompareTo(*limit.m_pDateTimeSpan)); },
        [&] { ThrowInvalid(name, CConversions::durationToString(value)); });
}

void CheckYearMonthValue(const wchar_t* name, const CDateTime& value, const CPrimitiveRestrictions& restrictions) {
    CheckDateKind(ItemType_yearMonth, name, value, &CConversions::yearMonthToString, restrictions);
}

void CheckMonthDayValue(const wchar_t* name, const CDateTime& value, const CPrimitiveRestrictions& restrictions) {
    CheckDateKind(ItemType_monthDay, name, value, &CConversions::monthDayToString, restrictions);
}

void CheckYearValue(const wchar_t* name, uint16_t value, const CPrimitiveRestrictions& restrictions) {
    CheckNumber(ItemType_year, name, value, &QxVariant::GetYear, restrictions);
}

void CheckMonthValue(const wchar_t* name, unsigned char value, const CPrimitiveRestrictions& restrictions) {
    CheckNumber(ItemType_month, name, value, &QxVariant::GetMonth, restrictions);
}

void CheckDayValue(const wchar_t* name, unsigned char value, const CPrimitiveRestrictions& restrictions) {
    CheckNumber(ItemType_day, name, value, &QxVariant::GetDay, restrictions);
}

void CheckDateValue(const wchar_t* name, const CDateTime& value, const CPrimitiveRestrictions& restrictions) {
    CheckDateKind(ItemType_date, name, value, &CConversions::dateToString, restrictions);
}

void CheckDateTimeValue(const wchar_t* name, const CDateTime& value, const CPrimitiveRestrictions& restrictions) {
    CheckDateKind(ItemType_datetime, name, value, &CConversions::datetimeToString, restrictions);
}

void CheckTimeValue(const wchar_t* name, const CDateTime& value, const CPrimitiveRestrictions& restrictions) {
    CheckDateKind(ItemType_time, name, value, &CConversions::timeToString, restrictions);
}

void CheckStringValue(const wchar_t* name, const std::wstring& value, const CPrimitiveRestrictions& restrictions) {
    // Lengths first: a value of the wrong length fails before its pattern is looked at.
    if (!LengthsHold(value.size(), restrictions)) ThrowInvalid(name, value);
    if (restrictions.m_strPattern.empty()) return;
    bool matches;
    try {
        matches = MatchesPattern(PatternUtf8(restrictions.m_strPattern), value);
    } catch (const CQxException& broken) {
        // A pattern that does not compile: its own failure first, then which value it was
        // checking.
        throw CQxException(broken.GetFullMessage() + L"\n" +
                           FormatString(L"Invalid Value for %s [%s]", name, value.c_str()));
    }
    if (!matches) ThrowInvalid(name, value);
}

void CheckBooleanValue(const wchar_t*, bool, const CPrimitiveRestrictions&) {}

void CheckDecimalValue(const wchar_t* name, const CDecimal& value, const CPrimitiveRestrictions& restrictions) {
    CheckBounds(
        ItemType_decimal, restrictions,
        [&](Bound bound, const QxVariant& limit) { return Holds(bound, value, *limit.m_pDecimal); },
        [&] { ThrowInvalid(name, CConversions::decimalToString(value)); });
}

void CheckIntegerValue(const wchar_t* name, const CBigInteger& value, const CPrimitiveRestrictions& restrictions) {
    CheckBounds(
        ItemType_integer, restrictions,
        [&](Bound bound, const QxVariant& limit) { return Holds(bound, value, *limit.m_pBigInteger); },
        [&] { ThrowInvalid(name, CConversions::integerToString(value)); });
}

// ------------------------------------------------------------------ entry

void CheckPrimitiveValue(const wchar_t* name, const QxVariant& value, ItemType itemType,
                         const CPrimitiveRestrictions& restrictions) {
    switch (itemType) {
        case ItemType_hexBinary: return CheckHexBinaryValue(name, value.GetHexBinary(), restrictions);
        case ItemType_base64Binary: return CheckBase64BinaryValue(name, value.GetBase64Binary(), restrictions);
        case ItemType_i1: return CheckI1Value(name, value.GetI1(), restrictions);
        case ItemType_i2: return CheckI2Value(name, value.GetI2(), restrictions);
        case ItemType_i4: return CheckI4Value(name, value.GetI4(), restrictions);
        case ItemType_i8: return CheckI8Value(name, value.GetI8(), restrictions);
        case ItemType_ui1: return CheckUI1Value(name, value.GetUI1(), restrictions);
        case ItemType_ui2: return CheckUI2Value(name, value.GetUI2(), restrictions);
        case ItemType_ui4: return CheckUI4Value(name, value.GetUI4(), restrictions);
        case ItemType_ui8: return CheckUI8Value(name, value.GetUI8(), restrictions);
        case ItemType_r4: return CheckR4Value(name, value.GetR4(), restrictions);
        case ItemType_r8: return CheckR8Value(name, value.GetR8(), restrictions);
        case ItemType_duration: return CheckDurationValue(name, value.GetDuration(), restrictions);
        case ItemType_yearMonth: return CheckYearMonthValue(name, value.GetYearMonth(), restrictions);
        case ItemType_monthDay: return CheckMonthDayValue(name, value.GetMonthDay(), restrictions);
        case ItemType_year: return CheckYearValue(name, value.GetYear(), restrictions);
        case ItemType_month: return CheckMonthValue(name, value.GetMonth(), restrictions);
        case ItemType_day: return CheckDayValue(name, value.GetDay(), restrictions);
        case ItemType_date: return CheckDateValue(name, value.GetDate(), restrictions);
        case ItemType_datetime: return CheckDateTimeValue(name, value.GetDateTime(), restrictions);
        case ItemType_time: return CheckTimeValue(name, value.GetTime(), restrictions);
        case ItemType_string: return CheckStringValue(name, value.GetStringRef(), restrictions);
        case ItemType_boolean: return CheckBooleanValue(name, value.GetBoolean(), restrictions);
        case ItemType_decimal: return CheckDecimalValue(name, value.GetDecimalRef(), restrictions);
        case ItemType_integer: return CheckIntegerValue(name, value.GetIntegerRef(), restrictions);
        default: throw CQxInvalidValueException(L"unknown type [" + value.GetType() + L"]");
    }
}

}  // namespace QxXmlLib10

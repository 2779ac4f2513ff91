#include <qxxml/values/DateTime.h>

#include <qxxml/support/QxException.h>
#include <qxxml/values/DateTimeSpan.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/values/detail/FixedText.h>

#include <cstdint>
#include <cstdlib>
#include <cwchar>

namespace QxXmlLib10 {

namespace {

const wchar_t* const kTypeNames[] = {L"yearZero", L"dateTime", L"date", L"gYearMonth", L"gYear",
                                     L"time", L"gDay", L"gMonth", L"gMonthDay"};

const unsigned char kMonthLength[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
const unsigned short kDaysBeforeMonth[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// The 400-year Gregorian cycle: the calendar repeats itself after this many days.
const int64_t kDaysPer400Years = 146097;
const int64_t kSecondsPerDay = 86400;

bool UsesYear(CDateTime::DTType t) {
    return t == CDateTime::dt_dateTime || t == CDateTime::dt_date || t == CDateTime::dt_gYearMonth ||
           t == CDateTime::dt_gYear;
}
bool UsesMonth(CDateTime::DTType t) {
    return t == CDateTime::dt_dateTime || t == CDateTime::dt_date || t == CDateTime::dt_gYearMonth ||
           t == CDateTime::dt_gMonth || t == CDateTime::dt_gMonthDay;
}
bool UsesDay(CDateTime::DTType t) {
    return t == CDateTime::dt_dateTime || t == CDateTime::dt_date || t == CDateTime::dt_gDay ||
           t == CDateTime::dt_gMonthDay;
}
bool UsesClock(CDateTime::DTType t) { return t == CDateTime::dt_dateTime || t == CDateTime::dt_time; }
bool IsCalendarDate(CDateTime::DTType t) { return t == CDateTime::dt_dateTime || t == CDateTime::dt_date; }

// Floor division and the matching non-negative remainder.
int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}
int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

bool IsLeapYear(int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int MonthLength(int64_t year, int month) {
    if (month == 2) return IsLeapYear(year) ? 29 : 28;
    return kMonthLength[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date; the year is taken as a plain number
// (the same numbering the leap rule above uses). Months outside 1..12 roll into the year.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year += FloorDiv(month - 1, 12);
    month = FloorMod(month - 1, 12) + 1;
    year -= month <= 2 ? 1 : 0;
    const int64_t era = FloorDiv(year, 400);
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * kDaysPer400Years + dayOfEra - 719468;
}

void CivilFromDays(int64_t days, int64_t& year, int& month, int& day) {
    days += 719468;
    const int64_t era = FloorDiv(days, kDaysPer400Years);
    const int64_t dayOfEra = days - era * kDaysPer400Years;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
int Digit(wchar_t c) { return c - L'0'; }

// Reads `count` digits at `p`; false when one of them is not a digit.
bool ReadDigits(const wchar_t* p, int count, int& value) {
    value = 0;
    for (int i = 0; i < count; ++i) {
        if (!IsDigit(p[i])) return false;
        value = value * 10 + Digit(p[i]);
    }
    return true;
}

// Moves a day within the calendar by `days` days, one month at a time, the way the
// duration arithmetic defines it: the starting day is not clamped to its month first, so
// a day beyond the month's end counts from that month's first day. Whole 400-year cycles
// are skipped in one step once the day is a real day of its month (the calendar is
// periodic then), so that huge spans cannot make the walk run for long.
void MoveDays(int64_t& year, int& month, int64_t& day, int64_t days) {
    if (days > 0) {
        for (;;) {
            int length = MonthLength(year, month);
            if (days >= kDaysPer400Years && day >= 1 && day <= length) {
                const int64_t cycles = days / kDaysPer400Years;
                year += cycles * 400;
                days -= cycles * kDaysPer400Years;
                length = MonthLength(year, month);
            }
            if (day + days <= length) {
                day += days;
                return;
            }
            days -= length + 1 - day;
            day = 1;
            if (++month == 13) {
                month = 1;
                ++year;
            }
        }
    } else if (days < 0) {
        for (;;) {
            if (-days >= kDaysPer400Years && day >= 1 && day <= MonthLength(year, month)) {
                const int64_t cycles = -days / kDaysPer400Years;
                year -= cycles * 400;
                days += cycles * kDaysPer400Years;
            }
            if (-days <= day - 1) {
                day += days;
                return;
            }
            days += day;
            if (--month == 0) {
                month = 12;
                --year;
            }
            day = MonthLength(year, month);
        }
    }
}

// Splits a fraction digit run into milli, micro and nano groups; `fraction` holds the run's
// digits left-aligned in nine places.
void SplitFraction(uint32_t fraction, unsigned short& milli, unsigned short& micro, unsigned short& nano) {
    milli = static_cast<unsigned short>(fraction / 1000000);
    micro = static_cast<unsigned short>(fraction / 1000 % 1000);
    nano = static_cast<unsigned short>(fraction % 1000);
}

// Value of a field for the field comparison; `present` says whether the kind uses it.
struct FieldValue {
    bool present;
    int64_t value;
};

// One step of the field comparison. A field present on one side only makes the order
// indeterminate unless the present value is 0, which sorts after the absent marker (as the
// classic "-1 for absent, negative product is indeterminate" rule does for non-negative
// fields). Negative years are present values and order numerically.
CDateTime::DTCompareResult CompareField(FieldValue a, FieldValue b, bool& decided) {
    decided = true;
    if (a.present != b.present) {
        const int64_t present = a.present ? a.value : b.value;
        if (present != 0) return CDateTime::DTCompare_Indeterminate;
        return a.present ? CDateTime::DTCompare_GreaterThan : CDateTime::DTCompare_LessThan;
    }
    if (a.present && a.value != b.value)
        return a.value < b.value ? CDateTime::DTCompare_LessThan : CDateTime::DTCompare_GreaterThan;
    decided = false;
    return CDateTime::DTCompare_Equal;
}

void ThrowInvalidValue(const std::wstring& message) { throw CQxInvalidValueException(message); }

}  // namespace

// ------------------------------------------------------------------ construction

CDateTime::CDateTime() { Clear(); }

CDateTime::CDateTime(DTType type) {
    Clear();
    m_type = type;
}

CDateTime::CDateTime(const wchar_t* text) {
    Clear();
    ParseXSDDateTime(text);
}

CDateTime::CDateTime(short year, unsigned char month, unsigned char day) {
    Clear();
    SetDate(year, month, day);
}

CDateTime::CDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
                     unsigned char minute, unsigned char second) {
    Clear();
    SetDateTime(year, month, day, hour, minute, second);
}

CDateTime::CDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
                     unsigned char minute, unsigned char second, unsigned short milli,
                     unsigned short micro, unsigned short nano) {
    Clear();
    SetDateTime(year, month, day, hour, minute, second, milli, micro, nano);
}

CDateTime::CDateTime(long long time) {
    Clear();
    *this = time;
}

CDateTime::CDateTime(const SYSTEMTIME& time) {
    Clear();
    *this = time;
}

CDateTime::CDateTime(const FILETIME& time) {
    Clear();
    *this = time;
}

CDateTime::CDateTime(const CDateTime& other) = default;
CDateTime::~CDateTime() = default;
CDateTime& CDateTime::operator=(const CDateTime& other) = default;

CDateTime& CDateTime::operator=(long long time) {
    // Generated classes reset their date members with `= {}`, which is the epoch: that value
    // is worked out once. (Another kind than a date-time still goes the long way, to be
    // refused there.)
    if (time == 0 && (m_type == dt_yearZero || m_type == dt_dateTime)) {
        static const CDateTime epoch(1970, 1, 1, 0, 0, 0);  // what the long way makes of 0
        return *this = epoch;
    }
    const int64_t days = FloorDiv(time, kSecondsPerDay);
    const int64_t secondOfDay = time - days * kSecondsPerDay;
    int64_t year = 0;
    int month = 0, day = 0;
    CivilFromDays(days, year, month, day);
    // A year beyond what the field can hold is reported with the validation message.
    if (year < -9999 || year > 9999)
        ThrowInvalidValue(FormatString(L"Invalid Year [%lld] (%d <= year <= %d && year != 0)",
                                       static_cast<long long>(year), -9999, 9999));
    SetDateTime(static_cast<short>(year), static_cast<unsigned char>(month),
                static_cast<unsigned char>(day), static_cast<unsigned char>(secondOfDay / 3600),
                static_cast<unsigned char>(secondOfDay / 60 % 60), static_cast<unsigned char>(secondOfDay % 60));
    return *this;
}

CDateTime& CDateTime::operator=(const SYSTEMTIME& time) {
    // Fields wider than ours are clamped so that validation reports them instead of
    // silently wrapping them into range.
    auto byte = [](unsigned value) { return static_cast<unsigned char>(value > 255 ? 255 : value); };
    auto word = [](unsigned value) { return static_cast<unsigned short>(value); };
    const short year = static_cast<short>(time.wYear > 32767 ? 32767 : time.wYear);
    SetDateTime(dt_dateTime, year, byte(time.wMonth), byte(time.wDay), byte(time.wHour),
                byte(time.wMinute), byte(time.wSecond), word(time.wMilliseconds), 0, 0);
    return *this;
}

CDateTime& CDateTime::operator=(const FILETIME& time) {
    SYSTEMTIME system;
    if (!FileTimeToSystemTime(&time, &system))
        ThrowInvalidValue(L"Failed to convert FILETIME to SYSTEMTIME");
    return *this = system;
}

void CDateTime::Clear() {
    m_type = dt_yearZero;
    m_year = 0;
    m_month = m_day = m_hour = m_minute = m_second = 0;
    m_milli = m_micro = m_nano = 0;
    m_utc = m_hasOffset = false;
    m_zoneHour = 0;
    m_zoneMinute = 0;
}

// ------------------------------------------------------------------ parsing

void CDateTime::ParseXSDDate(const wchar_t* text) {
    Clear();
    if (!text) ThrowInvalidValue(L"Invalid Date (Null String)");
    ReadDate(text, wcslen(text));
    Validate();
}

void CDateTime::ParseXSDTime(const wchar_t* text) {
    Clear();
    ReadTime(text);
    Validate();
}

void CDateTime::ParseXSDDateTime(const wchar_t* text) {
    if (!text) ThrowInvalidValue(L"Invalid DateTime (Null String)");
    const wchar_t* t = wcschr(text, L'T');
    if (!t) ThrowInvalidValue(FormatString(L"Invalid XSD DateTime [%s]", text));
    Clear();
    ReadDate(text, static_cast<size_t>(t - text));
    // The zone of a dateTime follows its time; a zone between the date and the "T" is
    // refused as a malformed dateTime.
    if (m_type != dt_date || m_utc)
        ThrowInvalidValue(FormatString(L"Invalid XSD DateTime [%s] expected CCYY-MM-DDThh:mm:ss[.ff]", text));
    ReadTime(t + 1);
    m_type = dt_dateTime;
    Validate();
}

// The date reader: `length` characters of `text` (a dateTime hands over the part before
// its "T"). The form of the text decides the kind.
void CDateTime::ReadDate(const wchar_t* text, size_t length) {
    if (length == 0) ThrowInvalidValue(L"Invalid Date (Empty String)");
    if (wmemchr(text, L'T', length)) ThrowInvalidValue(L"Invalid Date ('T' not allowed)");

    // A "Z" anywhere together with an offset's ":" is a doubled zone ("2024-05-06Z+01:00");
    // otherwise only a final "Z" can make a well-formed zone.
    const bool offset = wmemchr(text, L':', length) != nullptr;
    if (offset && wmemchr(text, L'Z', length)) ThrowInvalidValue(L"Invalid Date (Bad Zone value)");
    const bool zulu = text[length - 1] == L'Z';
    const size_t zoneLength = zulu ? 1 : offset ? 6 : 0;

    bool matched = false;
    if (length >= zoneLength) {
        const wchar_t* p = text;
        size_t n = length - zoneLength;
        int year = 0, month = 0, day = 0;
        if (!(n >= 2 && p[0] == L'-' && p[1] == L'-')) {
            const bool negative = n >= 1 && p[0] == L'-';
            if (negative) {
                ++p;
                --n;
            }
            if (n == 4 && ReadDigits(p, 4, year)) {
                m_type = dt_gYear;
                matched = true;
            } else if (n == 7 && ReadDigits(p, 4, year) && p[4] == L'-' && ReadDigits(p + 5, 2, month)) {
                m_type = dt_gYearMonth;
                matched = true;
            } else if (n == 10 && ReadDigits(p, 4, year) && p[4] == L'-' && ReadDigits(p + 5, 2, month) &&
                       p[7] == L'-' && ReadDigits(p + 8, 2, day)) {
                m_type = dt_date;
                matched = true;
            }
            if (negative) year = -year;
        } else if (n == 4 && ReadDigits(p + 2, 2, month)) {
            m_type = dt_gMonth;
            matched = true;
        } else if (n == 6 && ReadDigits(p + 2, 2, month) && p[4] == L'-' && p[5] == L'-') {
            m_type = dt_gMonth;  // the older "--MM--" form
            matched = true;
        } else if (n == 5 && p[2] == L'-' && ReadDigits(p + 3, 2, day)) {
            m_type = dt_gDay;
            matched = true;
        } else if (n == 7 && ReadDigits(p + 2, 2, month) && p[4] == L'-' && ReadDigits(p + 5, 2, day)) {
            m_type = dt_gMonthDay;
            matched = true;
        }
        m_year = static_cast<short>(year);
        m_month = static_cast<unsigned char>(month);
        m_day = static_cast<unsigned char>(day);
    }
    if (!matched)
        ThrowInvalidValue(FormatString(L"Invalid XSD Date [%s] expected CCYY-MM-DD[Z|[+|-]hh:mm]",
                                       std::wstring(text, length).c_str()));
    if (zoneLength) ReadZone(text + length - zoneLength, zoneLength);
}

void CDateTime::ReadTime(const wchar_t* text) {
    if (!text) ThrowInvalidValue(L"Invalid Time (Null String)");
    if (!*text) ThrowInvalidValue(L"Invalid XSD Time (Empty String)");

    int hour = 0, minute = 0, second = 0;
    // ReadDigits stops at the terminating zero (not a digit), so short texts are safe.
    const bool clock = ReadDigits(text, 2, hour) && text[2] == L':' && ReadDigits(text + 3, 2, minute) &&
                       text[5] == L':' && ReadDigits(text + 6, 2, second);
    if (!clock || hour > 23 || minute > 59 || second > 59)
        ThrowInvalidValue(FormatString(L"Invalid XSD Time [%s] expected hh:mm:ss[.ff]", text));
    m_hour = static_cast<unsigned char>(hour);
    m_minute = static_cast<unsigned char>(minute);
    m_second = static_cast<unsigned char>(second);

    const wchar_t* p = text + 8;
    if (*p == L'.') {
        ++p;
        uint32_t fraction = 0;
        int digits = 0;
        for (; IsDigit(*p); ++p, ++digits) {
            if (digits == 9) ThrowInvalidValue(FormatString(L"Invalid XSD Time [%s] Fraction part too long", text));
            fraction = fraction * 10 + static_cast<uint32_t>(Digit(*p));
        }
        for (int i = digits; i < 9; ++i) fraction *= 10;
        SplitFraction(fraction, m_milli, m_micro, m_nano);
    }
    if (*p) ReadZone(p, wcslen(p));
    m_type = dt_time;
}

// The zone reader. Only "Z" and the six-character offset "+hh:mm" / "-hh:mm" are accepted;
// any other zone text is refused rather than ignored, so trailing garbage never passes.
void CDateTime::ReadZone(const wchar_t* zone, size_t length) {
    if (length == 1 && zone[0] == L'Z') {
        SetUTC();
        return;
    }
    int hour = 0, minute = 0;
    if (length == 6 && (zone[0] == L'+' || zone[0] == L'-') && ReadDigits(zone + 1, 2, hour) &&
        zone[3] == L':' && ReadDigits(zone + 4, 2, minute)) {
        if (hour == 24) hour = 0;
        if (zone[0] == L'-') hour = -hour;
        SetTimeZone(static_cast<short>(hour), static_cast<unsigned char>(minute));
        return;
    }
    ThrowInvalidValue(FormatString(L"Invalid XSD Time Zone [%s]", std::wstring(zone, length).c_str()));
}

void CDateTime::SetTimeZone(short hour, unsigned char minute) {
    if (hour < -23 || hour > 23 || minute > 59)
        ThrowInvalidValue(FormatString(L"Invalid TimeZone [%d:%d]", static_cast<int>(hour), static_cast<int>(minute)));
    m_utc = true;
    m_hasOffset = true;
    m_zoneHour = hour;
    m_zoneMinute = minute;
}

void CDateTime::SetUTC() {
    m_utc = true;
    m_hasOffset = false;
    m_zoneHour = 0;
    m_zoneMinute = 0;
}

// ------------------------------------------------------------------ validation

void CDateTime::Validate() const {
    const DTType t = m_type;
    const wchar_t* name = GetTypeName(t);
    if (t == dt_yearZero) ThrowInvalidValue(L"Invalid Year Zero");

    if (UsesMonth(t)) {
        if (m_month < 1 || m_month > 12)
            ThrowInvalidValue(FormatString(L"Invalid Month [%d] (1 <= month <= 12)", static_cast<int>(m_month)));
    } else if (m_month != 0) {
        ThrowInvalidValue(FormatString(L"Invalid Month [%d] for type %s", static_cast<int>(m_month), name));
    }

    if (UsesYear(t)) {
        if (m_year == 0 || m_year < -9999 || m_year > 9999)
            ThrowInvalidValue(FormatString(L"Invalid Year [%d] (%d <= year <= %d && year != 0)",
                                           static_cast<int>(m_year), -9999, 9999));
    } else if (m_year != 0) {
        ThrowInvalidValue(FormatString(L"Invalid Year [%d] for type %s", static_cast<int>(m_year), name));
    }

    if (IsCalendarDate(t)) {
        if (m_day < 1 || m_day > MonthLength(m_year, m_month))
            ThrowInvalidValue(FormatString(L"Invalid Day [%d] (1 <= day <= days in month", static_cast<int>(m_day)));
    } else if (t == dt_gMonthDay) {
        if (m_day < 1 || m_day > kMonthLength[m_month - 1])
            ThrowInvalidValue(FormatString(L"Invalid Day [%d] (1 <= day <= days in month)", static_cast<int>(m_day)));
    } else if (t == dt_gDay) {
        if (m_day < 1 || m_day > 31)
            ThrowInvalidValue(FormatString(L"Invalid Day [%d] (1 <= day <= 31)", static_cast<int>(m_day)));
    } else if (m_day != 0) {
        ThrowInvalidValue(FormatString(L"Invalid Day [%d] for type %s", static_cast<int>(m_day), name));
    }

    struct ClockField {
        int value;
        int maximum;
        const wchar_t* rangeMessage;
        const wchar_t* typeMessage;
    };
    const ClockField clock[] = {
        {m_hour, 23, L"Invalid Hour [%d] (0 <= hour <= 23)", L"Invalid Hour [%d] for type %s"},
        {m_minute, 59, L"Invalid Minute [%d] (0 <= minute <= 59)", L"Invalid Minute [%d] for type %s"},
        {m_second, 59, L"Invalid Second [%d] (0 <= second <= 59)", L"Invalid Second [%d] for type %s"},
        {m_milli, 999, L"Invalid Milli-Second [%d] (0 <= milli <= 999)", L"Invalid Milli-Second [%d] for type %s"},
        {m_micro, 999, L"Invalid Micro-Second [%d] (0 <= micro <= 999)", L"Invalid Micro-Second [%d] for type %s"},
        {m_nano, 999, L"Invalid Nano-Second [%d] (0 <= nano <= 999)", L"Invalid Nano-Second [%d] for type %s"},
    };
    const bool usesClock = UsesClock(t);
    for (const ClockField& field : clock) {
        if (usesClock && field.value > field.maximum) ThrowInvalidValue(FormatString(field.rangeMessage, field.value));
        if (!usesClock && field.value != 0) ThrowInvalidValue(FormatString(field.typeMessage, field.value, name));
    }
}

// ------------------------------------------------------------------ names and formatting

const wchar_t* CDateTime::GetTypeName(DTType type) {
    const unsigned index = static_cast<unsigned>(type);
    return index < sizeof kTypeNames / sizeof kTypeNames[0] ? kTypeNames[index] : L"";
}

std::wstring CDateTime::GetTypeAsString() const { return GetTypeName(m_type); }

std::wstring CDateTime::ToString() const { return ToString(L"s"); }

void CDateTime::RequireSet() const {
    const bool allZero = m_year == 0 && m_month == 0 && m_day == 0 && m_hour == 0 && m_minute == 0 &&
                         m_second == 0 && m_milli == 0 && m_micro == 0 && m_nano == 0;
    if (m_type == dt_yearZero || (m_type != dt_time && allZero))
        throw CQxInvalidValueException(L"Date Not Set");
}

std::wstring CDateTime::ToString(const wchar_t* format) const {
    RequireSet();
    // Both formats are one letter; compared by hand, as this runs for every date written.
    if (!format || !*format || (format[0] == L'G' && format[1] == 0)) return std::wstring();
    if (format[0] != L's' || format[1] != 0) return std::wstring(L"Unknown Format: ") + format;
    std::wstring text;
    AppendTo(text);
    return text;
}

void CDateTime::AppendTo(std::wstring& out) const {
    RequireSet();
    // The longest text: "-32768-255-255T255:255:255.65535655356553+32767:255".
    detail::CFixedText<64> text;
    auto appendYear = [&]() {
        int year = m_year;
        if (year < 0) {
            text.Put(L'-');
            year = -year;
        }
        text.PutPadded(static_cast<unsigned int>(year), 4);
    };
    auto append2 = [&](unsigned char value) { text.PutPadded(value, 2); };
    auto appendClock = [&]() {
        append2(m_hour);
        text.Put(L':');
        append2(m_minute);
        text.Put(L':');
        append2(m_second);
        text.PutFraction(m_milli, m_micro, m_nano);
    };

    switch (m_type) {
        case dt_dateTime:
            appendYear();
            text.Put(L'-');
            append2(m_month);
            text.Put(L'-');
            append2(m_day);
            text.Put(L'T');
            appendClock();
            break;
        case dt_date:
            appendYear();
            text.Put(L'-');
            append2(m_month);
            text.Put(L'-');
            append2(m_day);
            break;
        case dt_gYearMonth:
            appendYear();
            text.Put(L'-');
            append2(m_month);
            break;
        case dt_gYear:
            appendYear();
            break;
        case dt_time:
            appendClock();
            break;
        case dt_gDay:
            text.Put(L'-');
            text.Put(L'-');
            text.Put(L'-');
            append2(m_day);
            break;
        case dt_gMonth:
            text.Put(L'-');
            text.Put(L'-');
            append2(m_month);
            break;
        case dt_gMonthDay:
            text.Put(L'-');
            text.Put(L'-');
            append2(m_month);
            text.Put(L'-');
            append2(m_day);
            break;
        default:
            break;
    }

    if (m_utc) {
        if (m_hasOffset) {
            text.Put(m_zoneHour < 0 ? L'-' : L'+');
            append2(static_cast<unsigned char>(m_zoneHour < 0 ? -m_zoneHour : m_zoneHour));
            text.Put(L':');
            append2(m_zoneMinute);
        } else {
            text.Put(L'Z');
        }
    }
    text.AppendTo(out);
}

// ------------------------------------------------------------------ fields

void CDateTime::RequireKind(bool allowed, const wchar_t* message) const {
    if (!allowed) throw CQxInvalidStateException(FormatString(message, GetTypeName(m_type)));
}

short CDateTime::GetYear() const {
    RequireKind(UsesYear(m_type), L"Failed to GetYear. Invalid Date Type: %s.");
    return m_year;
}
void CDateTime::SetYear(short year) {
    RequireKind(UsesYear(m_type), L"Failed to GetYear. Invalid Date Type: %s.");
    m_year = year;
}
unsigned char CDateTime::GetMonth() const {
    RequireKind(UsesMonth(m_type), L"Failed to GetMonth. Invalid Date Type: %s.");
    return m_month;
}
void CDateTime::SetMonth(unsigned char month) {
    RequireKind(UsesMonth(m_type), L"Failed to GetMonth. Invalid Date Type: %s.");
    m_month = month;
}
unsigned char CDateTime::GetDay() const {
    RequireKind(UsesDay(m_type), L"Failed to GetDay. Invalid Date Type: %s.");
    return m_day;
}
void CDateTime::SetDay(unsigned char day) {
    RequireKind(UsesDay(m_type), L"Failed to GetDay. Invalid Date Type: %s.");
    m_day = day;
}
unsigned char CDateTime::GetHour() const {
    RequireKind(UsesClock(m_type), L"Failed to GetHour. Invalid Date Type: %s.");
    return m_hour;
}
void CDateTime::SetHour(unsigned char hour) {
    RequireKind(UsesClock(m_type), L"Failed to GetHour. Invalid Date Type: %s.");
    m_hour = hour;
}
unsigned char CDateTime::GetMinute() const {
    RequireKind(UsesClock(m_type), L"Failed to GetMinute. Invalid Date Type: %s.");
    return m_minute;
}
void CDateTime::SetMinute(unsigned char minute) {
    RequireKind(UsesClock(m_type), L"Failed to GetMinute. Invalid Date Type: %s.");
    m_minute = minute;
}
unsigned char CDateTime::GetSecond() const {
    RequireKind(UsesClock(m_type), L"Failed to GetSecond. Invalid Date Type: %s.");
    return m_second;
}
void CDateTime::SetSecond(unsigned char second) {
    RequireKind(UsesClock(m_type), L"Failed to GetSecond. Invalid Date Type: %s.");
    m_second = second;
}
unsigned short CDateTime::GetMilliSecond() const {
    RequireKind(UsesClock(m_type), L"Failed to GetMilliSecond. Invalid Date Type: %s.");
    return m_milli;
}
void CDateTime::SetMilliSecond(unsigned short milli) {
    RequireKind(UsesClock(m_type), L"Failed to GetMilliSecond. Invalid Date Type: %s.");
    m_milli = milli;
}
unsigned short CDateTime::GetMicroSecond() const {
    RequireKind(UsesClock(m_type), L"Failed to GetMicroSecond. Invalid Date Type: %s.");
    return m_micro;
}
void CDateTime::SetMicroSecond(unsigned short micro) {
    RequireKind(UsesClock(m_type), L"Failed to GetMicroSecond. Invalid Date Type: %s.");
    m_micro = micro;
}
unsigned short CDateTime::GetNanoSecond() const {
    RequireKind(UsesClock(m_type), L"Failed to GetNanoSecond. Invalid Date Type: %s.");
    return m_nano;
}
void CDateTime::SetNanoSecond(unsigned short nano) {
    RequireKind(UsesClock(m_type), L"Failed to GetNanoSecond. Invalid Date Type: %s.");
    m_nano = nano;
}

double CDateTime::GetRealSecond() const {
    RequireKind(UsesClock(m_type), L"Failed to GetRealSecond. Invalid Date Type: %s.");
    return m_second + m_milli / 1000.0 + m_micro / 1e6 + m_nano / 1e9;
}

short CDateTime::GetZoneHour() const {
    if (!m_hasOffset) throw CQxInvalidStateException(L"TimeZone is not been used");
    return m_zoneHour;
}

unsigned char CDateTime::GetZoneMinute() const {
    if (!m_hasOffset) throw CQxInvalidStateException(L"TimeZone is not been used");
    return m_zoneMinute;
}

unsigned short CDateTime::GetDayOfYear() const {
    RequireKind(IsCalendarDate(m_type), L"Failed to GetDayOfYear. Invalid Date Type: %s.");
    const int month = m_month >= 1 && m_month <= 12 ? m_month : 1;
    const int leapDay = month > 2 && IsLeapYear(m_year) ? 1 : 0;
    return static_cast<unsigned short>(kDaysBeforeMonth[month - 1] + m_day + leapDay);
}

// The weekday of the instant GetTime() names, broken down in UTC (the value's own clock
// reading when it has no offset). Breaking it down in the process's local zone would make
// the weekday of a plain date depend on where the program runs.
unsigned char CDateTime::GetDayOfWeek() const {
    RequireKind(IsCalendarDate(m_type), L"Failed to GetDayOfWeek. Invalid Date Type: %s.");
    const int64_t days = FloorDiv(GetTime(), kSecondsPerDay);
    // 1970-01-01 was a Thursday (4 counting Sunday as 0).
    return static_cast<unsigned char>(FloorMod(days + 4, 7) + 1);
}

// ------------------------------------------------------------------ whole-value setters

void CDateTime::SetDateTime(DTType type, short year, unsigned char month, unsigned char day,
                            unsigned char hour, unsigned char minute, unsigned char second,
                            unsigned short milli, unsigned short micro, unsigned short nano) {
    if (m_type != dt_yearZero && m_type != type)
        throw CQxInvalidStateException(FormatString(L"Failed to copy CDateTime. Invalid Date Type: %s, expected: %s.",
                                                    GetTypeName(type), GetTypeName(m_type)));
    Clear();
    m_type = type;
    m_year = year;
    m_month = month;
    m_day = day;
    m_hour = hour;
    m_minute = minute;
    m_second = second;
    m_milli = milli;
    m_micro = micro;
    m_nano = nano;
    Validate();
}

void CDateTime::SetDate(short year, unsigned char month, unsigned char day) {
    SetDateTime(dt_date, year, month, day, 0, 0, 0, 0, 0, 0);
}
void CDateTime::SetTime(unsigned char hour, unsigned char minute, unsigned char second) {
    SetDateTime(dt_time, 0, 0, 0, hour, minute, second, 0, 0, 0);
}
void CDateTime::SetTime(unsigned char hour, unsigned char minute, unsigned char second, unsigned short milli,
                        unsigned short micro, unsigned short nano) {
    SetDateTime(dt_time, 0, 0, 0, hour, minute, second, milli, micro, nano);
}
void CDateTime::SetFracTime(unsigned short milli, unsigned short micro, unsigned short nano) {
    SetDateTime(dt_time, 0, 0, 0, 0, 0, 0, milli, micro, nano);
}
void CDateTime::SetDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
                            unsigned char minute, unsigned char second) {
    SetDateTime(dt_dateTime, year, month, day, hour, minute, second, 0, 0, 0);
}
void CDateTime::SetDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
                            unsigned char minute, unsigned char second, unsigned short milli,
                            unsigned short micro, unsigned short nano) {
    SetDateTime(dt_dateTime, year, month, day, hour, minute, second, milli, micro, nano);
}
void CDateTime::SetGYear(short year) { SetDateTime(dt_gYear, year, 0, 0, 0, 0, 0, 0, 0, 0); }
void CDateTime::SetGYearMonth(short year, unsigned char month) {
    SetDateTime(dt_gYearMonth, year, month, 0, 0, 0, 0, 0, 0, 0);
}
void CDateTime::SetGMonth(unsigned char month) { SetDateTime(dt_gMonth, 0, month, 0, 0, 0, 0, 0, 0, 0); }
void CDateTime::SetGMonthDay(unsigned char month, unsigned char day) {
    SetDateTime(dt_gMonthDay, 0, month, day, 0, 0, 0, 0, 0, 0);
}
void CDateTime::SetGDay(unsigned char day) { SetDateTime(dt_gDay, 0, 0, day, 0, 0, 0, 0, 0, 0); }

void CDateTime::SetDateTime(const CDateTime& source, DTType type) {
    bool allowed = source.m_type == type || type == dt_yearZero;
    if (!allowed) {
        switch (source.m_type) {
            case dt_dateTime:
                allowed = true;
                break;
            case dt_date:
                allowed = type == dt_gYear || type == dt_gYearMonth || type == dt_gMonth || type == dt_gMonthDay ||
                          type == dt_gDay;
                break;
            case dt_gYearMonth:
                allowed = type == dt_gYear || type == dt_gMonth;
                break;
            case dt_gMonthDay:
                allowed = type == dt_gMonth || type == dt_gDay;
                break;
            case dt_yearZero:
            case dt_gYear:
            case dt_time:
            case dt_gDay:
            case dt_gMonth:
                break;
            default:
                ThrowInvalidValue(FormatString(L"Unknown date type %d.", static_cast<int>(source.m_type)));
        }
    }
    if (!allowed)
        ThrowInvalidValue(FormatString(L"Attempting to set a CDateTime of type %s using an XmlDateTime of type %s. "
                                       L"The source CDateTime does not contian enough data to allow the conversion.",
                                       GetTypeName(type), GetTypeName(source.m_type)));
    *this = source;
    m_type = type;
}

// ------------------------------------------------------------------ order relation

CDateTime::DTCompareResult CDateTime::CompareFields(const CDateTime& other) const {
    const DTType a = m_type, b = other.m_type;
    const FieldValue fields[][2] = {
        {{UsesYear(a), m_year}, {UsesYear(b), other.m_year}},
        {{UsesMonth(a), m_month}, {UsesMonth(b), other.m_month}},
        {{UsesDay(a), m_day}, {UsesDay(b), other.m_day}},
        {{UsesClock(a), m_hour}, {UsesClock(b), other.m_hour}},
        {{UsesClock(a), m_minute}, {UsesClock(b), other.m_minute}},
        // The real second, exactly: seconds and the nine fraction digits as one integer.
        {{UsesClock(a), m_second * INT64_C(1000000000) + m_milli * 1000000 + m_micro * 1000 + m_nano},
         {UsesClock(b), other.m_second * INT64_C(1000000000) + other.m_milli * 1000000 + other.m_micro * 1000 + other.m_nano}},
    };
    for (const auto& pair : fields) {
        bool decided = false;
        const DTCompareResult result = CompareField(pair[0], pair[1], decided);
        if (decided) return result;
    }
    return DTCompare_Equal;
}

CDateTime::DTCompareResult CDateTime::CompareTo(const CDateTime& other) const {
    const CDateTime left = m_hasOffset ? GetNormalized() : *this;
    const CDateTime right = other.m_hasOffset ? other.GetNormalized() : other;
    if (left.m_utc == right.m_utc) return left.CompareFields(right);

    // One side is tied to a zone, the other is not: the zoneless side may lie anywhere
    // between the zones +14:00 (earliest) and -14:00 (latest).
    auto inZone = [](CDateTime value, short hour) {
        value.SetTimeZone(hour, 0);
        return value.GetNormalized();
    };
    if (left.m_utc) {
        if (left.CompareFields(inZone(right, 14)) == DTCompare_LessThan) return DTCompare_LessThan;
        if (left.CompareFields(inZone(right, -14)) == DTCompare_GreaterThan) return DTCompare_GreaterThan;
    } else {
        if (inZone(left, 14).CompareFields(right) == DTCompare_GreaterThan) return DTCompare_GreaterThan;
        if (inZone(left, -14).CompareFields(right) == DTCompare_LessThan) return DTCompare_LessThan;
    }
    return DTCompare_Indeterminate;
}

bool CDateTime::operator==(const CDateTime& other) const { return CompareTo(other) == DTCompare_Equal; }
bool CDateTime::operator!=(const CDateTime& other) const { return CompareTo(other) != DTCompare_Equal; }
bool CDateTime::operator<(const CDateTime& other) const { return CompareTo(other) == DTCompare_LessThan; }
bool CDateTime::operator<=(const CDateTime& other) const {
    const DTCompareResult r = CompareTo(other);
    return r == DTCompare_LessThan || r == DTCompare_Equal;
}
bool CDateTime::operator>(const CDateTime& other) const { return CompareTo(other) == DTCompare_GreaterThan; }
bool CDateTime::operator>=(const CDateTime& other) const {
    const DTCompareResult r = CompareTo(other);
    return r == DTCompare_GreaterThan || r == DTCompare_Equal;
}

// ------------------------------------------------------------------ arithmetic

// Adds a duration field by field with carries, then walks the days month by month. Fields
// the kind does not use take part like the others; the result is deliberately neither
// clamped nor validated (2024-01-31 plus one month is 2024-02-31).
void CDateTime::AddSpan(const CDateTimeSpan& span) {
    const int64_t s = span.IsNegative() ? -1 : 1;

    int64_t t = int64_t{m_month} + s * int64_t{span.GetMonths()} - 1;
    int month = static_cast<int>(FloorMod(t, 12)) + 1;
    int64_t year = m_year + FloorDiv(t, 12) + s * int64_t{span.GetYears()};

    t = m_nano + s * span.GetNanoSeconds();
    const int nano = static_cast<int>(FloorMod(t, 1000));
    int64_t carry = FloorDiv(t, 1000);
    t = m_micro + carry + s * span.GetMicroSeconds();
    const int micro = static_cast<int>(FloorMod(t, 1000));
    carry = FloorDiv(t, 1000);
    t = m_milli + carry + s * span.GetMilliSeconds();
    const int milli = static_cast<int>(FloorMod(t, 1000));
    carry = FloorDiv(t, 1000);

    // Seconds and minutes are 64-bit amounts: whole sixties go straight into the carry so
    // that no intermediate sum can overflow (the result is the same as adding them whole).
    const uint64_t seconds = span.GetSeconds();
    t = m_second + carry + s * static_cast<int64_t>(seconds % 60);
    const int second = static_cast<int>(FloorMod(t, 60));
    carry = FloorDiv(t, 60) + s * static_cast<int64_t>(seconds / 60);
    const uint64_t minutes = span.GetMinutes();
    t = m_minute + carry + s * static_cast<int64_t>(minutes % 60);
    const int minute = static_cast<int>(FloorMod(t, 60));
    carry = FloorDiv(t, 60) + s * static_cast<int64_t>(minutes / 60);

    t = m_hour + carry + s * int64_t{span.GetHours()};
    const int hour = static_cast<int>(FloorMod(t, 24));
    const int64_t days = FloorDiv(t, 24) + s * int64_t{span.GetDays()};

    int64_t day = m_day;
    MoveDays(year, month, day, days);

    m_year = static_cast<short>(year);
    m_month = static_cast<unsigned char>(month);
    m_day = static_cast<unsigned char>(day);
    m_hour = static_cast<unsigned char>(hour);
    m_minute = static_cast<unsigned char>(minute);
    m_second = static_cast<unsigned char>(second);
    m_milli = static_cast<unsigned short>(milli);
    m_micro = static_cast<unsigned short>(micro);
    m_nano = static_cast<unsigned short>(nano);
}

CDateTime CDateTime::operator+(const CDateTimeSpan& span) const {
    CDateTime result(*this);
    result.AddSpan(span);
    return result;
}

CDateTime& CDateTime::operator+=(const CDateTimeSpan& span) {
    AddSpan(span);
    return *this;
}

CDateTime CDateTime::operator-(const CDateTimeSpan& span) const {
    CDateTime result(*this);
    result.AddSpan(span.GetAsNegative());
    return result;
}

CDateTime& CDateTime::operator-=(const CDateTimeSpan& span) {
    AddSpan(span.GetAsNegative());
    return *this;
}

CDateTimeSpan CDateTime::operator-(const CDateTime&) const { return CDateTimeSpan(); }

CDateTime CDateTime::GetNormalized() const {
    CDateTime result(*this);
    if (!m_hasOffset) return result;
    const CDateTimeSpan zone(static_cast<uint32_t>(m_zoneHour < 0 ? -m_zoneHour : m_zoneHour), m_zoneMinute, 0);
    if (m_zoneHour >= 0)
        result.AddSpan(zone.GetAsNegative());
    else
        result.AddSpan(zone);
    result.m_utc = true;
    result.m_hasOffset = true;
    result.m_zoneHour = 0;
    result.m_zoneMinute = 0;
    return result;
}

// ------------------------------------------------------------------ platform time

long long CDateTime::GetTime() const {
    const CDateTime n = GetNormalized();
    if (!IsCalendarDate(n.m_type))
        ThrowInvalidValue(FormatString(
            L"Failed to GetTime, Date Status must be dateTime or date. Invalid Date Type: %s.", GetTypeName(n.m_type)));
    return DaysFromCivil(n.m_year, n.m_month, n.m_day) * kSecondsPerDay + n.m_hour * 3600 + n.m_minute * 60 +
           n.m_second;
}

SYSTEMTIME CDateTime::GetAsSystemTime() const {
    if (m_type != dt_dateTime)
        ThrowInvalidValue(FormatString(L"Failed to GetAsSystemTime, Date Status must be dateTime. Invalid Date Type: %s.",
                                       GetTypeName(m_type)));
    SYSTEMTIME time{};
    time.wYear = static_cast<uint16_t>(m_year);
    time.wMonth = m_month;
    time.wDayOfWeek = static_cast<uint16_t>(GetDayOfWeek() - 1);
    time.wDay = m_day;
    time.wHour = m_hour;
    time.wMinute = m_minute;
    time.wSecond = m_second;
    time.wMilliseconds = m_milli;
    return time;
}

CDateTime CDateTime::GetTickCount() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return CDateTime(now);
}

}  // namespace QxXmlLib10

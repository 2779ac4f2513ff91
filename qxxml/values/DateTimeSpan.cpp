#include <qxxml/values/DateTimeSpan.h>

#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/values/StringFormatting.h>

#include <cwchar>

namespace QxXmlLib10 {

namespace {

// Where the duration reader stands: the designators seen so far decide which may follow.
enum class SpanState { Start, AfterYears, AfterMonths, AfterDays, AfterT, AfterHours, AfterMinutes, AfterSeconds };

[[noreturn]] void ThrowBadDuration(const wchar_t* text) {
    throw CQxInvalidValueException(
        FormatString(L"Invalid XSD Duration [%s] expected [-]P[nY][nM][nD][T[nH][nM][nS.ff]]", text));
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads a run of digits (an empty run is 0); false when the number does not fit 64 bits.
bool ReadNumber(const wchar_t*& p, unsigned long long& value) {
    value = 0;
    for (; IsDigit(*p); ++p) {
        const unsigned digit = static_cast<unsigned>(*p - L'0');
        if (value > (~0ull - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

void AppendDecimal(std::wstring& text, unsigned long long value) {
    wchar_t digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value);
    while (n) text += digits[--n];
}

// The four instants of the XSD duration order relation.
const CDateTime& ReferenceInstant(int index) {
    static const CDateTime instants[4] = {CDateTime(L"1696-09-01T00:00:00Z"), CDateTime(L"1697-02-01T00:00:00Z"),
                                          CDateTime(L"1903-03-01T00:00:00Z"), CDateTime(L"1903-07-01T00:00:00Z")};
    return instants[index];
}

}  // namespace

CDateTimeSpan::CDateTimeSpan() { Clear(); }
CDateTimeSpan::CDateTimeSpan(const CDateTimeSpan& other) = default;

CDateTimeSpan::CDateTimeSpan(uint32_t hours, unsigned long long minutes, unsigned long long seconds) {
    SetDateTimeSpan(hours, minutes, seconds);
}

CDateTimeSpan::CDateTimeSpan(unsigned short years, uint32_t months, uint32_t days, uint32_t hours,
                             unsigned long long minutes, unsigned long long seconds) {
    SetDateTimeSpan(years, months, days, hours, minutes, seconds);
}

CDateTimeSpan::CDateTimeSpan(unsigned short years, uint32_t months, uint32_t days, uint32_t hours,
                             unsigned long long minutes, unsigned long long seconds, unsigned short milli,
                             unsigned short micro, unsigned short nano) {
    SetDateTimeSpan(years, months, days, hours, minutes, seconds, milli, micro, nano);
}

CDateTimeSpan::~CDateTimeSpan() = default;
CDateTimeSpan& CDateTimeSpan::operator=(const CDateTimeSpan& other) = default;

void CDateTimeSpan::Clear() {
    m_years = 0;
    m_months = m_days = m_hours = 0;
    m_minutes = m_seconds = 0;
    m_milli = m_micro = m_nano = 0;
    m_negative = false;
}

void CDateTimeSpan::SetDateTimeSpan(uint32_t hours, unsigned long long minutes, unsigned long long seconds) {
    SetDateTimeSpan(0, 0, 0, hours, minutes, seconds, 0, 0, 0);
}

void CDateTimeSpan::SetDateTimeSpan(unsigned short years, uint32_t months, uint32_t days, uint32_t hours,
                                    unsigned long long minutes, unsigned long long seconds) {
    SetDateTimeSpan(years, months, days, hours, minutes, seconds, 0, 0, 0);
}

void CDateTimeSpan::SetDateTimeSpan(unsigned short years, uint32_t months, uint32_t days, uint32_t hours,
                                    unsigned long long minutes, unsigned long long seconds, unsigned short milli,
                                    unsigned short micro, unsigned short nano) {
    Clear();
    m_years = years;
    m_months = months;
    m_days = days;
    m_hours = hours;
    m_minutes = minutes;
    m_seconds = seconds;
    m_milli = milli;
    m_micro = micro;
    m_nano = nano;
}

CDateTimeSpan CDateTimeSpan::GetAsNegative() const {
    CDateTimeSpan result(*this);
    result.m_negative = true;
    return result;
}

// Reads [-]P[nY][nM][nD][T[nH][nM][nS.ff]] with a state machine: each designator is allowed
// only in the states that come before it in the form.
void CDateTimeSpan::ParseXSDDuration(const wchar_t* text) {
    Clear();
    if (!text) throw CQxInvalidValueException(L"Invalid XSD Duration (Null String)");
    if (!*text) throw CQxInvalidValueException(L"Invalid XSD Duration (Empty String)");

    const wchar_t* p = text;
    if (*p == L'-') {
        m_negative = true;
        ++p;
    }
    if (*p++ != L'P') ThrowBadDuration(text);

    // A number must fit the field it lands in: 32 bits for years, months, days and hours,
    // 64 for minutes and seconds. Wider numbers are refused rather than silently wrapped (a
    // duration that lost its high bits would be a different duration); years then keep their
    // low 16 bits, as the field holds no more.
    const unsigned long long limit32 = 0xFFFFFFFFull;
    SpanState state = SpanState::Start;
    for (;;) {
        const bool hadDigits = IsDigit(*p);
        unsigned long long number = 0;
        if (!ReadNumber(p, number)) ThrowBadDuration(text);
        const wchar_t designator = *p;
        if (!designator) {
            if (hadDigits) ThrowBadDuration(text);  // digits without a designator
            break;
        }
        ++p;
        const bool wide = designator == L'S' || designator == L'.' || (designator == L'M' && state >= SpanState::AfterT);
        if (!wide && number > limit32) ThrowBadDuration(text);
        switch (designator) {
            case L'Y':
                if (state != SpanState::Start) ThrowBadDuration(text);
                m_years = static_cast<unsigned short>(number);
                state = SpanState::AfterYears;
                break;
            case L'M':
                if (state == SpanState::Start || state == SpanState::AfterYears) {
                    m_months = static_cast<uint32_t>(number);
                    state = SpanState::AfterMonths;
                } else if (state == SpanState::AfterT || state == SpanState::AfterHours) {
                    m_minutes = number;
                    state = SpanState::AfterMinutes;
                } else {
                    ThrowBadDuration(text);
                }
                break;
            case L'D':
                if (state > SpanState::AfterMonths) ThrowBadDuration(text);
                m_days = static_cast<uint32_t>(number);
                state = SpanState::AfterDays;
                break;
            case L'T':
                if (state > SpanState::AfterDays || hadDigits) ThrowBadDuration(text);
                state = SpanState::AfterT;
                break;
            case L'H':
                if (state != SpanState::AfterT) ThrowBadDuration(text);
                m_hours = static_cast<uint32_t>(number);
                state = SpanState::AfterHours;
                break;
            case L'S':
            case L'.':
                if (state < SpanState::AfterT || state > SpanState::AfterMinutes) ThrowBadDuration(text);
                m_seconds = number;
                state = SpanState::AfterSeconds;
                if (designator == L'.') {
                    uint32_t fraction = 0;
                    int digits = 0;
                    for (; IsDigit(*p); ++p, ++digits) {
                        if (digits == 9)
                            throw CQxInvalidValueException(
                                FormatString(L"Invalid XSD Duration [%s] Fraction part too long", text));
                        fraction = fraction * 10 + static_cast<uint32_t>(*p - L'0');
                    }
                    for (; digits < 9; ++digits) fraction *= 10;
                    m_milli = static_cast<unsigned short>(fraction / 1000000);
                    m_micro = static_cast<unsigned short>(fraction / 1000 % 1000);
                    m_nano = static_cast<unsigned short>(fraction % 1000);
                    if (*p++ != L'S') ThrowBadDuration(text);
                }
                break;
            default:
                ThrowBadDuration(text);
        }
    }
    if (state == SpanState::Start || state == SpanState::AfterT) ThrowBadDuration(text);
}

std::wstring CDateTimeSpan::ToString() const {
    std::wstring text;
    text.reserve(32);
    text += m_negative ? L"-P" : L"P";
    auto append = [&text](unsigned long long amount, wchar_t designator) {
        if (amount == 0) return;
        AppendDecimal(text, amount);
        text += designator;
    };
    append(m_years, L'Y');
    append(m_months, L'M');
    append(m_days, L'D');
    const bool fraction = m_milli || m_micro || m_nano;
    if (m_hours || m_minutes || m_seconds || fraction) {
        text += L'T';
        append(m_hours, L'H');
        append(m_minutes, L'M');
        if (m_seconds || fraction) {
            AppendDecimal(text, m_seconds);
            if (fraction) text += FormatFraction(m_milli, m_micro, m_nano);
            text += L'S';
        }
    }
    return text;
}

CDateTime::DTCompareResult CDateTimeSpan::CompareTo(const CDateTimeSpan& other) const {
    try {
        CDateTime::DTCompareResult first = CDateTime::DTCompare_Indeterminate;
        for (int i = 0; i < 4; ++i) {
            const CDateTime& instant = ReferenceInstant(i);
            const CDateTime::DTCompareResult result = (instant + *this).CompareTo(instant + other);
            if (i == 0) {
                if (result == CDateTime::DTCompare_Indeterminate) return result;
                first = result;
            } else if (result != first) {
                return CDateTime::DTCompare_Indeterminate;
            }
        }
        return first;
    } catch (const CQxInvalidValueException&) {
        return CDateTime::DTCompare_Indeterminate;
    }
}

bool CDateTimeSpan::operator==(const CDateTimeSpan& other) const { return CompareTo(other) == CDateTime::DTCompare_Equal; }
bool CDateTimeSpan::operator!=(const CDateTimeSpan& other) const { return CompareTo(other) != CDateTime::DTCompare_Equal; }
bool CDateTimeSpan::operator<(const CDateTimeSpan& other) const {
    return CompareTo(other) == CDateTime::DTCompare_LessThan;
}
bool CDateTimeSpan::operator>(const CDateTimeSpan& other) const {
    return CompareTo(other) == CDateTime::DTCompare_GreaterThan;
}

}  // namespace QxXmlLib10

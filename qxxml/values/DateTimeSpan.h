// DateTimeSpan.h - the XSD duration: a signed span of years, months, days, hours, minutes,
// seconds and nine fraction digits.
//
// Amounts are magnitudes and are never normalised (90 minutes stay 90 minutes); the sign is
// one flag for the whole span. Lexical form: [-]P[nY][nM][nD][T[nH][nM][nS.ff]].
//
//   CDateTimeSpan span;
//   span.ParseXSDDuration(L"-P1DT12H");             // negative, 1 day 12 hours
//   std::wstring s = span.ToString();                // "-P1DT12H"
//   CDateTime later = CDateTime(L"2024-03-01T00:00:00") + CDateTimeSpan(0, 0, 1, 0, 0, 0);
//   if (CDateTimeSpan(1, 0, 0, 0, 0, 0) == CDateTimeSpan(0, 12, 0, 0, 0, 0)) {
//       // P1Y and P12M are equal; P1M and P30D compare as indeterminate
//   }
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/values/DateTime.h>

#include <cstdint>
#include <string>

namespace QxXmlLib10 {

class QXXML_API CDateTimeSpan {
public:
    CDateTimeSpan();
    CDateTimeSpan(const CDateTimeSpan& other);
    CDateTimeSpan(uint32_t hours, unsigned long long minutes, unsigned long long seconds);
    CDateTimeSpan(unsigned short years, uint32_t months, uint32_t days, uint32_t hours,
                  unsigned long long minutes, unsigned long long seconds);
    CDateTimeSpan(unsigned short years, uint32_t months, uint32_t days, uint32_t hours,
                  unsigned long long minutes, unsigned long long seconds, unsigned short milli,
                  unsigned short micro, unsigned short nano);
    virtual ~CDateTimeSpan();
    CDateTimeSpan& operator=(const CDateTimeSpan& other);

    // Each form clears the span (positive) and stores the given amounts.
    void SetDateTimeSpan(uint32_t hours, unsigned long long minutes, unsigned long long seconds);
    void SetDateTimeSpan(unsigned short years, uint32_t months, uint32_t days, uint32_t hours,
                         unsigned long long minutes, unsigned long long seconds);
    void SetDateTimeSpan(unsigned short years, uint32_t months, uint32_t days, uint32_t hours,
                         unsigned long long minutes, unsigned long long seconds,
                         unsigned short milli, unsigned short micro, unsigned short nano);

    unsigned short GetYears() const { return m_years; }
    uint32_t GetMonths() const { return m_months; }
    uint32_t GetDays() const { return m_days; }
    uint32_t GetHours() const { return m_hours; }
    unsigned long long GetMinutes() const { return m_minutes; }
    unsigned long long GetSeconds() const { return m_seconds; }
    unsigned short GetMilliSeconds() const { return m_milli; }
    unsigned short GetMicroSeconds() const { return m_micro; }
    unsigned short GetNanoSeconds() const { return m_nano; }
    bool IsNegative() const { return m_negative; }

    void Negate() { m_negative = !m_negative; }
    // A copy with the negative flag set (set, not flipped).
    CDateTimeSpan GetAsNegative() const;

    void ParseXSDDuration(const wchar_t* text);
    std::wstring ToString() const;

    // The XSD order relation: both spans are added to four reference instants and the
    // results must agree, else the result is DTCompare_Indeterminate.
    CDateTime::DTCompareResult CompareTo(const CDateTimeSpan& other) const;
    bool operator==(const CDateTimeSpan& other) const;
    bool operator!=(const CDateTimeSpan& other) const;
    bool operator<(const CDateTimeSpan& other) const;
    bool operator>(const CDateTimeSpan& other) const;

private:
    void Clear();

    unsigned short m_years;
    uint32_t m_months;
    uint32_t m_days;
    uint32_t m_hours;
    unsigned long long m_minutes;
    unsigned long long m_seconds;
    unsigned short m_milli;
    unsigned short m_micro;
    unsigned short m_nano;
    bool m_negative;
};

}  // namespace QxXmlLib10

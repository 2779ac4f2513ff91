// DateTime.h - one value class for the eight XSD date and time kinds.
//
// A CDateTime is a dateTime, date, time, gYear, gYearMonth, gMonth, gMonthDay or gDay; the
// lexical form decides which. It keeps calendar and clock fields down to nanoseconds and an
// optional time zone ("Z" or an offset), validates its fields for its kind, writes the
// canonical XSD form, compares by the XSD order relation and adds durations.
//
//   CDateTime d;
//   d.ParseXSDDate(L"2024-05-06+02:00");           // kind dt_date, zone +02:00
//   std::wstring s = d.ToString();                  // "2024-05-06+02:00"
//
//   CDateTime t(L"2024-05-06T10:00:00.5Z");         // kind dt_dateTime
//   t += CDateTimeSpan(1, 30, 0);                   // 11:30:00.5Z
//   if (t.CompareTo(CDateTime(L"2024-05-06T12:00:00")) == CDateTime::DTCompare_Indeterminate) {
//       // one side has a zone, the other has not, and they are within 14 hours
//   }
//
// Field getters and setters refuse kinds that do not use the field (CQxInvalidStateException);
// parse, validation and formatting failures raise CQxInvalidValueException.
#pragma once

#include <qxxml/platform/SystemTime.h>
#include <qxxml/support/Export.h>

#include <cstddef>
#include <string>

namespace QxXmlLib10 {

class CDateTimeSpan;

class QXXML_API CDateTime {
public:
    // The date kind; the numbers are part of the interface.
    enum DTType {
        dt_yearZero = 0,  // not set
        dt_dateTime = 1,
        dt_date = 2,
        dt_gYearMonth = 3,
        dt_gYear = 4,
        dt_time = 5,
        dt_gDay = 6,
        dt_gMonth = 7,
        dt_gMonthDay = 8
    };

    // Result of the XSD order relation (also used by CDateTimeSpan::CompareTo).
    enum DTCompareResult {
        DTCompare_Equal = 0,
        DTCompare_LessThan = 1,
        DTCompare_GreaterThan = 2,
        DTCompare_Indeterminate = 3
    };

    CDateTime();
    explicit CDateTime(DTType type);
    explicit CDateTime(const wchar_t* text);  // ParseXSDDateTime
    CDateTime(short year, unsigned char month, unsigned char day);
    CDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
              unsigned char minute, unsigned char second);
    CDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
              unsigned char minute, unsigned char second, unsigned short milli,
              unsigned short micro, unsigned short nano);
    explicit CDateTime(long long time);  // seconds since 1970-01-01T00:00:00, read as UTC
    explicit CDateTime(const SYSTEMTIME& time);
    explicit CDateTime(const FILETIME& time);
    CDateTime(const CDateTime& other);
    virtual ~CDateTime();

    CDateTime& operator=(const CDateTime& other);
    CDateTime& operator=(long long time);
    CDateTime& operator=(const SYSTEMTIME& time);
    CDateTime& operator=(const FILETIME& time);

    // Parsing: the text alone decides the kind. ParseXSDDate reads date, gYearMonth, gYear,
    // gMonth, gMonthDay and gDay forms, ParseXSDTime a time, ParseXSDDateTime a dateTime.
    void ParseXSDDateTime(const wchar_t* text);
    void ParseXSDDate(const wchar_t* text);
    void ParseXSDTime(const wchar_t* text);

    // "s" (the default) gives the canonical XSD form; null, "" and "G" give "".
    std::wstring ToString() const;
    std::wstring ToString(const wchar_t* format) const;
    // The canonical form (ToString()) appended to `out`, for writers that reuse one buffer.
    void AppendTo(std::wstring& out) const;
    std::wstring GetTypeAsString() const;
    DTType GetType() const { return m_type; }
    // The name of a kind ("dateTime", "gYear", ...; "yearZero" for dt_yearZero).
    static const wchar_t* GetTypeName(DTType type);

    short GetYear() const;
    void SetYear(short year);
    unsigned char GetMonth() const;
    void SetMonth(unsigned char month);
    unsigned char GetDay() const;
    void SetDay(unsigned char day);
    unsigned char GetHour() const;
    void SetHour(unsigned char hour);
    unsigned char GetMinute() const;
    void SetMinute(unsigned char minute);
    unsigned char GetSecond() const;
    void SetSecond(unsigned char second);
    unsigned short GetMilliSecond() const;
    void SetMilliSecond(unsigned short milli);
    unsigned short GetMicroSecond() const;
    void SetMicroSecond(unsigned short micro);
    unsigned short GetNanoSecond() const;
    void SetNanoSecond(unsigned short nano);
    double GetRealSecond() const;
    unsigned char GetDayOfWeek() const;    // 1 = Sunday .. 7 = Saturday
    unsigned short GetDayOfYear() const;  // 1 .. 366

    bool IsUTC() const { return m_utc; }             // tied to a zone ("Z" or an offset)
    bool HasTimeZone() const { return m_hasOffset; }  // the zone is a numeric offset
    short GetZoneHour() const;
    unsigned char GetZoneMinute() const;
    void SetTimeZone(short hour, unsigned char minute);
    void SetUTC();

    // Whole-value setters. A value whose kind is set can only be refilled with that kind.
    void SetDate(short year, unsigned char month, unsigned char day);
    void SetTime(unsigned char hour, unsigned char minute, unsigned char second);
    void SetTime(unsigned char hour, unsigned char minute, unsigned char second,
                 unsigned short milli, unsigned short micro, unsigned short nano);
    void SetFracTime(unsigned short milli, unsigned short micro, unsigned short nano);
    void SetDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
                     unsigned char minute, unsigned char second);
    void SetDateTime(short year, unsigned char month, unsigned char day, unsigned char hour,
                     unsigned char minute, unsigned char second, unsigned short milli,
                     unsigned short micro, unsigned short nano);
    void SetGYear(short year);
    void SetGYearMonth(short year, unsigned char month);
    void SetGMonth(unsigned char month);
    void SetGMonthDay(unsigned char month, unsigned char day);
    void SetGDay(unsigned char day);
    // Copies `source` into a value of kind `type`; the source must carry the fields the
    // target kind needs (a dateTime converts to anything, a gYear to nothing else).
    void SetDateTime(const CDateTime& source, DTType type);

    DTCompareResult CompareTo(const CDateTime& other) const;
    bool operator==(const CDateTime& other) const;
    bool operator!=(const CDateTime& other) const;
    bool operator<(const CDateTime& other) const;
    bool operator<=(const CDateTime& other) const;
    bool operator>(const CDateTime& other) const;
    bool operator>=(const CDateTime& other) const;

    CDateTime operator+(const CDateTimeSpan& span) const;
    CDateTime& operator+=(const CDateTimeSpan& span);
    CDateTime operator-(const CDateTimeSpan& span) const;
    CDateTime& operator-=(const CDateTimeSpan& span);
    // Always a zero span: the difference of two values is not computed.
    CDateTimeSpan operator-(const CDateTime& other) const;
    // The value moved to the offset +00:00; unchanged when it has no offset.
    CDateTime GetNormalized() const;

    long long GetTime() const;  // seconds since 1970-01-01T00:00:00Z of the normalised value
    SYSTEMTIME GetAsSystemTime() const;
    static CDateTime GetTickCount();  // the current local time as a dateTime

    void Validate() const;

private:
    void Clear();
    void SetDateTime(DTType type, short year, unsigned char month, unsigned char day,
                     unsigned char hour, unsigned char minute, unsigned char second,
                     unsigned short milli, unsigned short micro, unsigned short nano);
    void ReadDate(const wchar_t* text, size_t length);
    void ReadTime(const wchar_t* text);
    void ReadZone(const wchar_t* zone, size_t length);
    void AddSpan(const CDateTimeSpan& span);
    DTCompareResult CompareFields(const CDateTime& other) const;
    void RequireKind(bool allowed, const wchar_t* message) const;
    // CQxInvalidValueException "Date Not Set" for a value no field of which was set.
    void RequireSet() const;

    DTType m_type;
    short m_year;
    unsigned char m_month;
    unsigned char m_day;
    unsigned char m_hour;
    unsigned char m_minute;
    unsigned char m_second;
    unsigned short m_milli;
    unsigned short m_micro;
    unsigned short m_nano;
    bool m_utc;
    bool m_hasOffset;
    short m_zoneHour;
    unsigned char m_zoneMinute;
};

}  // namespace QxXmlLib10

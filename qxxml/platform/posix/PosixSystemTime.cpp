// PosixSystemTime.cpp - SYSTEMTIME / FILETIME conversions and clocks with Windows meaning.
//
// FILETIME counts 100 ns ticks since 1601-01-01 00:00 UTC in the proleptic Gregorian
// calendar. Dates are converted through a day count (days since 1601-01-01), using the
// 400-year cycle of the Gregorian calendar; 1601 starts such a cycle, so no negative
// arithmetic is ever needed.
#include <qxxml/platform/SystemTime.h>

#include <ctime>
#include <time.h>

namespace QxXmlLib10 {

namespace {

constexpr uint64_t kTicksPerMillisecond = 10000;
constexpr uint64_t kTicksPerSecond = 10000000;
constexpr uint64_t kTicksPerDay = 86400 * kTicksPerSecond;
constexpr uint32_t kDaysPer400Years = 146097;
constexpr uint32_t kFirstYear = 1601;
constexpr uint32_t kLastYear = 30827;  // the largest year SYSTEMTIME expresses
// Seconds between 1601-01-01 and the Unix epoch 1970-01-01.
constexpr uint64_t kUnixEpochSeconds = 11644473600ull;

bool IsLeapYear(uint32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

uint32_t DaysInMonth(uint32_t year, uint32_t month) {
    static const uint8_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1601-01-01 to the first day of the given year.
uint64_t DaysBeforeYear(uint32_t year) {
    const uint64_t y = year - kFirstYear;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

uint64_t DaysBeforeMonth(uint32_t year, uint32_t month) {
    uint64_t days = 0;
    for (uint32_t m = 1; m < month; ++m) days += DaysInMonth(year, m);
    return days;
}

FILETIME FromTicks(uint64_t ticks) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<uint32_t>(ticks);
    ft.dwHighDateTime = static_cast<uint32_t>(ticks >> 32);
    return ft;
}

// Broken-down time of a count of 100 ns ticks; false beyond year kLastYear.
bool TicksToSystemTime(uint64_t ticks, SYSTEMTIME& st) {
    const uint64_t day = ticks / kTicksPerDay;
    uint64_t rest = ticks % kTicksPerDay;

    // Year: whole 400-year cycles, then centuries, 4-year cycles and single years, each
    // capped so the last day of a leap period stays in its own year.
    uint64_t d = day;
    const uint64_t cycles = d / kDaysPer400Years;
    d %= kDaysPer400Years;
    uint64_t centuries = d / 36524;
    if (centuries == 4) centuries = 3;
    d -= centuries * 36524;
    const uint64_t quads = d / 1461;
    d -= quads * 1461;
    uint64_t years = d / 365;
    if (years == 4) years = 3;
    d -= years * 365;
    const uint64_t year = kFirstYear + cycles * 400 + centuries * 100 + quads * 4 + years;
    if (year > kLastYear) return false;

    st.wYear = static_cast<uint16_t>(year);
    uint32_t month = 1;
    while (d >= DaysInMonth(st.wYear, month)) d -= DaysInMonth(st.wYear, month++);
    st.wMonth = static_cast<uint16_t>(month);
    st.wDay = static_cast<uint16_t>(d + 1);
    st.wDayOfWeek = static_cast<uint16_t>((day + 1) % 7);  // 1601-01-01 was a Monday
    st.wHour = static_cast<uint16_t>(rest / (3600 * kTicksPerSecond));
    rest %= 3600 * kTicksPerSecond;
    st.wMinute = static_cast<uint16_t>(rest / (60 * kTicksPerSecond));
    rest %= 60 * kTicksPerSecond;
    st.wSecond = static_cast<uint16_t>(rest / kTicksPerSecond);
    rest %= kTicksPerSecond;
    st.wMilliseconds = static_cast<uint16_t>(rest / kTicksPerMillisecond);
    return true;
}

// Ticks of the current UTC time.
uint64_t NowTicks(struct timespec& now) {
    ::clock_gettime(CLOCK_REALTIME, &now);
    return (static_cast<uint64_t>(now.tv_sec) + kUnixEpochSeconds) * kTicksPerSecond +
           static_cast<uint64_t>(now.tv_nsec) / 100;
}

}  // namespace

bool FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime) {
    if (fileTime == nullptr || systemTime == nullptr) return false;
    const uint64_t ticks = (static_cast<uint64_t>(fileTime->dwHighDateTime) << 32) | fileTime->dwLowDateTime;
    SYSTEMTIME result;
    if (!TicksToSystemTime(ticks, result)) return false;
    *systemTime = result;
    return true;
}

bool SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime) {
    if (systemTime == nullptr || fileTime == nullptr) return false;
    const SYSTEMTIME& st = *systemTime;
    // wDayOfWeek is ignored, as on Windows.
    if (st.wYear < kFirstYear || st.wYear > kLastYear || st.wMonth < 1 || st.wMonth > 12 ||
        st.wDay < 1 || st.wDay > DaysInMonth(st.wYear, st.wMonth) || st.wHour > 23 ||
        st.wMinute > 59 || st.wSecond > 59 || st.wMilliseconds > 999)
        return false;
    const uint64_t days = DaysBeforeYear(st.wYear) + DaysBeforeMonth(st.wYear, st.wMonth) + (st.wDay - 1u);
    const uint64_t seconds = ((days * 24 + st.wHour) * 60 + st.wMinute) * 60 + st.wSecond;
    *fileTime = FromTicks(seconds * kTicksPerSecond + st.wMilliseconds * kTicksPerMillisecond);
    return true;
}

void GetSystemTime(SYSTEMTIME* systemTime) {
    if (systemTime == nullptr) return;
    struct timespec now;
    TicksToSystemTime(NowTicks(now), *systemTime);
}

void GetLocalTime(SYSTEMTIME* systemTime) {
    if (systemTime == nullptr) return;
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    struct tm local;
    const time_t seconds = now.tv_sec;
    if (::localtime_r(&seconds, &local) == nullptr) {
        GetSystemTime(systemTime);
        return;
    }
    SYSTEMTIME& st = *systemTime;
    st.wYear = static_cast<uint16_t>(local.tm_year + 1900);
    st.wMonth = static_cast<uint16_t>(local.tm_mon + 1);
    st.wDayOfWeek = static_cast<uint16_t>(local.tm_wday);
    st.wDay = static_cast<uint16_t>(local.tm_mday);
    st.wHour = static_cast<uint16_t>(local.tm_hour);
    st.wMinute = static_cast<uint16_t>(local.tm_min);
    // A leap second (tm_sec 60) has no SYSTEMTIME form; it reads as the second before.
    st.wSecond = static_cast<uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
    st.wMilliseconds = static_cast<uint16_t>(now.tv_nsec / 1000000);
}

}  // namespace QxXmlLib10

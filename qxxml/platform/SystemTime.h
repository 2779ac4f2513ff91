// SystemTime.h - the calendar and tick structures the date/time values convert to and from.
//
// On Windows these are the system's own SYSTEMTIME and FILETIME. Elsewhere qxxml defines
// structures with the same fields and the same meaning: FILETIME counts 100 ns ticks since
// 1601-01-01 00:00 UTC, SYSTEMTIME is a broken-down calendar time (wDayOfWeek 0 = Sunday).
//
//   SYSTEMTIME now;
//   GetLocalTime(&now);
//   FILETIME ticks;
//   SystemTimeToFileTime(&now, &ticks);
#pragma once

#include <qxxml/support/Export.h>

#include <cstdint>

#if defined(_WIN32)
// Only the base API: <windows.h> would also bring <winuser.h>, whose macros rename names
// of this interface (GetClassInfo becomes GetClassInfoW) in some files and not in others.
#  ifndef NOMINMAX
#    define NOMINMAX
#    define QXXML_DEFINED_NOMINMAX
#  endif
#  include <windef.h>
#  include <winbase.h>
#  ifdef QXXML_DEFINED_NOMINMAX
#    undef NOMINMAX
#    undef QXXML_DEFINED_NOMINMAX
#  endif
namespace QxXmlLib10 {
using ::FILETIME;
using ::SYSTEMTIME;
using ::FileTimeToSystemTime;
using ::SystemTimeToFileTime;
using ::GetLocalTime;
using ::GetSystemTime;
}  // namespace QxXmlLib10
#else
namespace QxXmlLib10 {

struct SYSTEMTIME {
    uint16_t wYear;
    uint16_t wMonth;      // 1-12
    uint16_t wDayOfWeek;  // 0 = Sunday
    uint16_t wDay;        // 1-31
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};

struct FILETIME {
    uint32_t dwLowDateTime;
    uint32_t dwHighDateTime;
};

// Converts ticks to calendar time (UTC in, UTC out). False when the ticks are beyond
// the range SYSTEMTIME can express (year 30827).
QXXML_API bool FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime);
// Converts calendar time to ticks; false for an invalid date or a time before 1601.
QXXML_API bool SystemTimeToFileTime(const SYSTEMTIME* systemTime, FILETIME* fileTime);
// The current local time, and the current UTC time.
QXXML_API void GetLocalTime(SYSTEMTIME* systemTime);
QXXML_API void GetSystemTime(SYSTEMTIME* systemTime);

}  // namespace QxXmlLib10
#endif

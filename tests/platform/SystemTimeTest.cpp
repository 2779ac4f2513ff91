// FILETIME <-> SYSTEMTIME against python's datetime (proleptic Gregorian, exact integers),
// the limits of the conversion, field validation, and the clocks against the C library.
#include <qxxml/platform/SystemTime.h>

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <vector>

using namespace QxXmlLib10;
using namespace qxxml_test;

namespace {

FILETIME Ticks(uint64_t ticks) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<uint32_t>(ticks);
    ft.dwHighDateTime = static_cast<uint32_t>(ticks >> 32);
    return ft;
}

uint64_t TicksOf(const FILETIME& ft) { return (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime; }

SYSTEMTIME Make(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0,
                int dayOfWeek = 0) {
    const auto u = [](int n) { return static_cast<uint16_t>(n); };
    return SYSTEMTIME{u(year), u(month), u(dayOfWeek), u(day), u(hour), u(minute), u(second), u(ms)};
}

std::vector<int> Describe(const SYSTEMTIME& st) {
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, st.wDayOfWeek};
}

}  // namespace

// The C library's broken-down time of a second, UTC or local.
struct tm BrokenDown(time_t seconds, bool local) {
    struct tm out{};
#if defined(_WIN32)
    local ? localtime_s(&out, &seconds) : gmtime_s(&out, &seconds);
#else
    local ? localtime_r(&seconds, &out) : gmtime_r(&seconds, &out);
#endif
    return out;
}

TEST(SystemTimeTest, ConversionsMatchPythonDatetime) {
    // Random instants across the whole range python's datetime covers (years 1601-9999),
    // plus the calendar's corners; beyond 9999 the Gregorian calendar repeats every 400
    // years (146097 days), which carries python's answer up to year 30827.
    static const char* const program = R"PY(
import datetime, random, sys
r = random.Random(int(sys.argv[1]))
epoch = datetime.datetime(1601, 1, 1)
TICKS_PER_DAY = 864000000000
CYCLE = 146097 * TICKS_PER_DAY
corners = [datetime.datetime(1601, 1, 1), datetime.datetime(1601, 12, 31, 23, 59, 59, 999000),
           datetime.datetime(1700, 3, 1), datetime.datetime(1900, 2, 28, 23, 59, 59), datetime.datetime(1900, 3, 1),
           datetime.datetime(2000, 2, 29, 12), datetime.datetime(2000, 12, 31), datetime.datetime(2001, 1, 1),
           datetime.datetime(2004, 2, 29), datetime.datetime(2100, 3, 1), datetime.datetime(9999, 12, 31, 23, 59, 59, 999000)]
def emit(ticks, shift_cycles, d):
    print(ticks + shift_cycles * CYCLE, d.year + 400 * shift_cycles, d.month, d.day, d.hour, d.minute,
          d.second, d.microsecond // 1000, (d.weekday() + 1) % 7)
for d in corners:
    delta = d - epoch
    ticks = (delta.days * 86400 + delta.seconds) * 10000000 + delta.microseconds * 10
    emit(ticks, 0, d)
for i in range(2000):
    ticks = r.randrange(0, (datetime.datetime(9999, 12, 31) - epoch).days * TICKS_PER_DAY)
    d = epoch + datetime.timedelta(microseconds=ticks // 10)
    emit(ticks, 0, d)
    if 9227 <= d.year <= 9627:
        emit(ticks, 53, d)   # 53 cycles on: years 30427 to 30827, the top of the range
# The last representable instant: 30827-12-31 23:59:59.9999999 is 9627-12-31 shifted 53 cycles.
last = datetime.datetime(9627, 12, 31, 23, 59, 59, 999999)
delta = last - epoch
emit((delta.days * 86400 + delta.seconds) * 10000000 + delta.microseconds * 10 + 9, 53, last)
)PY";
    const unsigned seed = qxxml_test::TestSeed();
    SCOPED_TRACE("seed " + std::to_string(seed));
    size_t checked = 0;
    for (const std::string& line : Lines(Python(program, std::to_string(seed)))) {
        std::istringstream in(line);
        uint64_t ticks;
        int year, month, day, hour, minute, second, ms, dow;
        ASSERT_TRUE(in >> ticks >> year >> month >> day >> hour >> minute >> second >> ms >> dow) << line;
        SCOPED_TRACE(line);
        const FILETIME ft = Ticks(ticks);
        SYSTEMTIME st{};
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
        EXPECT_EQ(Describe(st), Describe(Make(year, month, day, hour, minute, second, ms, dow)));

        // Back to ticks: exact to the millisecond (SYSTEMTIME drops the sub-millisecond part).
        st.wDayOfWeek = 6;  // ignored
        FILETIME back{};
        ASSERT_TRUE(SystemTimeToFileTime(&st, &back));
        EXPECT_EQ(TicksOf(back), ticks - ticks % 10000);
        ++checked;
    }
    EXPECT_GT(checked, 2000u);
}

TEST(SystemTimeTest, RefusedTicksAndFields) {
#if defined(_WIN32)
    // The system's own conversions, with its limits (ticks up to 2^63, past year 30827) and its
    // handling of bad input (Wine does not check the day of the month, a null pointer faults).
    GTEST_SKIP() << "FILETIME/SYSTEMTIME conversions are the system's own on Windows";
#endif
    const SYSTEMTIME last = Make(30827, 12, 31, 23, 59, 59, 999);
    FILETIME ft{};
    ASSERT_TRUE(SystemTimeToFileTime(&last, &ft));
    const uint64_t firstRefused = TicksOf(ft) + 10000;  // 30828-01-01 00:00
    SYSTEMTIME st = Make(1, 1, 1);
    for (uint64_t ticks : {firstRefused, UINT64_MAX}) {
        const FILETIME beyond = Ticks(ticks);
        EXPECT_FALSE(FileTimeToSystemTime(&beyond, &st));
        EXPECT_EQ(st.wYear, 1) << "left untouched on failure";
    }
    const FILETIME lastTick = Ticks(firstRefused - 1);
    EXPECT_TRUE(FileTimeToSystemTime(&lastTick, &st));
    EXPECT_EQ(st.wYear, 30827);

    const SYSTEMTIME bad[] = {
        Make(1600, 12, 31), Make(30828, 1, 1), Make(2001, 0, 1), Make(2001, 13, 1), Make(2001, 1, 0),
        Make(2001, 1, 32), Make(2001, 4, 31), Make(1900, 2, 29), Make(2001, 2, 29), Make(2001, 1, 1, 24),
        Make(2001, 1, 1, 0, 60), Make(2001, 1, 1, 0, 0, 60), Make(2001, 1, 1, 0, 0, 0, 1000),
    };
    for (const SYSTEMTIME& b : bad) EXPECT_FALSE(SystemTimeToFileTime(&b, &ft)) << testing::PrintToString(Describe(b));
    SYSTEMTIME leap = Make(2000, 2, 29, 0, 0, 0, 0, 99);  // a nonsense day of the week, ignored
    EXPECT_TRUE(SystemTimeToFileTime(&leap, &ft));
    EXPECT_FALSE(SystemTimeToFileTime(nullptr, &ft));
    EXPECT_FALSE(FileTimeToSystemTime(nullptr, &leap));
}

TEST(SystemTimeTest, SystemTimeIsUtcNow) {
    using Clock = std::chrono::system_clock;
    const auto before = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
    SYSTEMTIME st{};
    GetSystemTime(&st);
    const auto after = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
    FILETIME ft{};
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    const int64_t unixMs = static_cast<int64_t>(TicksOf(ft) / 10000) - 11644473600000LL;
    EXPECT_GE(unixMs, before.count());
    EXPECT_LE(unixMs, after.count());
    // Its day of the week agrees with the C library's.
    const time_t seconds = static_cast<time_t>(unixMs / 1000);
    const struct tm utc = BrokenDown(seconds, /*local=*/false);
    EXPECT_EQ(st.wDayOfWeek, utc.tm_wday);
}

TEST(SystemTimeTest, LocalTimeFollowsTheCLibrary) {
#if !defined(_WIN32)
    ::setenv("TZ", "QXT-5:30", 1);  // a zone off UTC (no zone files needed): UTC read as local shows
    ::tzset();
#endif
    // Compare with the C library's local time of the same second, retrying if a second boundary falls
    // between the two readings.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const time_t before = std::time(nullptr);
        SYSTEMTIME st{};
        GetLocalTime(&st);
        const time_t after = std::time(nullptr);
        if (before != after) continue;
        const struct tm local = BrokenDown(before, /*local=*/true);
        EXPECT_EQ(Describe(st), Describe(Make(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                              local.tm_min, local.tm_sec, st.wMilliseconds % 1000, local.tm_wday)));
        return;
    }
    FAIL() << "the clock never held still for one second";
}

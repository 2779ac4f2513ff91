// Lexical conversions of the primitive kinds, each next to the C library doing the same job
// on the same texts in the same run (wcstol, wcstod, swscanf, swprintf, regexec). Items per
// second are values converted.
#include <qxxml/values/Conversions.h>
#include <qxxml/values/PatternMatcher.h>

#include <benchmark/benchmark.h>
#include <regex.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

using namespace QxXmlLib10;

namespace {

using C = CConversions;
const CWhitespaceUtils::WhitespaceRule kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;
const size_t kCount = 1024;

std::vector<std::wstring> Texts(std::wstring (*make)(std::mt19937_64&)) {
    std::mt19937_64 rng(42);
    std::vector<std::wstring> texts;
    for (size_t i = 0; i < kCount; ++i) texts.push_back(make(rng));
    return texts;
}

std::wstring I4Text(std::mt19937_64& rng) { return std::to_wstring(static_cast<int32_t>(rng())); }
std::wstring I8Text(std::mt19937_64& rng) { return std::to_wstring(static_cast<long long>(rng())); }
std::wstring R8Text(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> d(-1e6, 1e6);
    return C::r8ToString(d(rng));
}
std::wstring BoolText(std::mt19937_64& rng) { return rng() & 1 ? L"true" : L"false"; }
std::wstring DateText(std::mt19937_64& rng) {
    wchar_t text[32];
    swprintf(text, 32, L"%04d-%02d-%02d", static_cast<int>(1900 + rng() % 200), static_cast<int>(1 + rng() % 12),
             static_cast<int>(1 + rng() % 28));
    return text;
}
std::wstring DateTimeText(std::mt19937_64& rng) {
    wchar_t text[64];
    swprintf(text, 64, L"%04d-%02d-%02dT%02d:%02d:%02d.%03d+%02d:%02d", static_cast<int>(1900 + rng() % 200),
             static_cast<int>(1 + rng() % 12), static_cast<int>(1 + rng() % 28), static_cast<int>(rng() % 24),
             static_cast<int>(rng() % 60), static_cast<int>(rng() % 60), static_cast<int>(1 + rng() % 999),
             static_cast<int>(rng() % 14), static_cast<int>(rng() % 4 * 15));
    return text;
}
std::wstring DurationText(std::mt19937_64& rng) {
    wchar_t text[64];
    swprintf(text, 64, L"P%dY%dM%dDT%dH%dM%d.%dS", static_cast<int>(rng() % 10), static_cast<int>(rng() % 12),
             static_cast<int>(rng() % 31), static_cast<int>(rng() % 24), static_cast<int>(rng() % 60),
             static_cast<int>(rng() % 60), static_cast<int>(1 + rng() % 999));
    return text;
}

template <class Convert>
void Run(benchmark::State& state, const std::vector<std::wstring>& texts, Convert convert) {
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(convert(texts[i]));
        i = (i + 1) % texts.size();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

// ------------------------------------------------------------------ reading

const std::vector<std::wstring>& I4s() { static const auto t = Texts(I4Text); return t; }
const std::vector<std::wstring>& I8s() { static const auto t = Texts(I8Text); return t; }
const std::vector<std::wstring>& R8s() { static const auto t = Texts(R8Text); return t; }
const std::vector<std::wstring>& Bools() { static const auto t = Texts(BoolText); return t; }
const std::vector<std::wstring>& Dates() { static const auto t = Texts(DateText); return t; }
const std::vector<std::wstring>& DateTimes() { static const auto t = Texts(DateTimeText); return t; }
const std::vector<std::wstring>& Durations() { static const auto t = Texts(DurationText); return t; }

void BM_i4FromString(benchmark::State& s) { Run(s, I4s(), [](const std::wstring& t) { return C::i4FromString(t, kCollapse); }); }
void BM_i4_wcstol(benchmark::State& s) {
    Run(s, I4s(), [](const std::wstring& t) { wchar_t* end; return std::wcstol(t.c_str(), &end, 10) + (*end != 0); });
}
void BM_i8FromString(benchmark::State& s) { Run(s, I8s(), [](const std::wstring& t) { return C::i8FromString(t, kCollapse); }); }
void BM_i8_wcstoll(benchmark::State& s) {
    Run(s, I8s(), [](const std::wstring& t) { wchar_t* end; return std::wcstoll(t.c_str(), &end, 10) + (*end != 0); });
}
void BM_r8FromString(benchmark::State& s) { Run(s, R8s(), [](const std::wstring& t) { return C::r8FromString(t, kCollapse); }); }
void BM_r8_wcstod(benchmark::State& s) {
    Run(s, R8s(), [](const std::wstring& t) { wchar_t* end; return std::wcstod(t.c_str(), &end) + (*end != 0); });
}
void BM_booleanFromString(benchmark::State& s) {
    Run(s, Bools(), [](const std::wstring& t) { return C::booleanFromString(t, kCollapse); });
}
// The C library's case-insensitive comparison, as a reader of "true"/"TRUE" would use it.
int CaseInsensitiveCompare(const wchar_t* a, const wchar_t* b) {
#if defined(_WIN32)
    return _wcsicmp(a, b);
#else
    return wcscasecmp(a, b);
#endif
}
void BM_boolean_wcscasecmp(benchmark::State& s) {
    Run(s, Bools(), [](const std::wstring& t) { return CaseInsensitiveCompare(t.c_str(), L"true") == 0; });
}
void BM_dateFromString(benchmark::State& s) {
    Run(s, Dates(), [](const std::wstring& t) { return C::dateFromString(t, kCollapse).GetDay(); });
}
void BM_date_swscanf(benchmark::State& s) {
    Run(s, Dates(), [](const std::wstring& t) {
        int y, m, d;
        return swscanf(t.c_str(), L"%4d-%2d-%2d", &y, &m, &d) + d;
    });
}
void BM_datetimeFromString(benchmark::State& s) {
    Run(s, DateTimes(), [](const std::wstring& t) { return C::datetimeFromString(t, kCollapse).GetSecond(); });
}
void BM_datetime_swscanf(benchmark::State& s) {
    Run(s, DateTimes(), [](const std::wstring& t) {
        int y, mo, d, h, mi, sec, frac, zh, zm;
        return swscanf(t.c_str(), L"%4d-%2d-%2dT%2d:%2d:%2d.%d%3d:%2d", &y, &mo, &d, &h, &mi, &sec, &frac, &zh, &zm) + d;
    });
}
void BM_durationFromString(benchmark::State& s) {
    Run(s, Durations(), [](const std::wstring& t) { return C::durationFromString(t, kCollapse).GetDays(); });
}
void BM_duration_swscanf(benchmark::State& s) {
    Run(s, Durations(), [](const std::wstring& t) {
        int y, mo, d, h, mi, sec, frac;
        return swscanf(t.c_str(), L"P%dY%dM%dDT%dH%dM%d.%dS", &y, &mo, &d, &h, &mi, &sec, &frac) + d;
    });
}

BENCHMARK(BM_i4FromString);
BENCHMARK(BM_i4_wcstol);
BENCHMARK(BM_i8FromString);
BENCHMARK(BM_i8_wcstoll);
BENCHMARK(BM_r8FromString);
BENCHMARK(BM_r8_wcstod);
BENCHMARK(BM_booleanFromString);
BENCHMARK(BM_boolean_wcscasecmp);
BENCHMARK(BM_dateFromString);
BENCHMARK(BM_date_swscanf);
BENCHMARK(BM_datetimeFromString);
BENCHMARK(BM_datetime_swscanf);
BENCHMARK(BM_durationFromString);
BENCHMARK(BM_duration_swscanf);

// ------------------------------------------------------------------ writing

template <class T, class Read>
std::vector<T> Values(const std::vector<std::wstring>& texts, Read read) {
    std::vector<T> values;
    for (const std::wstring& t : texts) values.push_back(read(t));
    return values;
}

template <class T, class Convert>
void RunValues(benchmark::State& state, const std::vector<T>& values, Convert convert) {
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(convert(values[i]));
        i = (i + 1) % values.size();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

// The C library reference writes into a wide string as the conversions do.
template <class... Args>
std::wstring Swprintf(const wchar_t* format, Args... args) {
    wchar_t text[64];
    const int n = swprintf(text, 64, format, args...);
    return std::wstring(text, n > 0 ? static_cast<size_t>(n) : 0);
}

const std::vector<int32_t>& I4Values() {
    static const auto v = Values<int32_t>(I4s(), [](const std::wstring& t) { return C::i4FromString(t, kCollapse); });
    return v;
}
const std::vector<long long>& I8Values() {
    static const auto v = Values<long long>(I8s(), [](const std::wstring& t) { return C::i8FromString(t, kCollapse); });
    return v;
}
const std::vector<double>& R8Values() {
    static const auto v = Values<double>(R8s(), [](const std::wstring& t) { return C::r8FromString(t, kCollapse); });
    return v;
}
const std::vector<bool>& BoolValues() {
    static const auto v = Values<bool>(Bools(), [](const std::wstring& t) { return C::booleanFromString(t, kCollapse); });
    return v;
}
const std::vector<CDateTime>& DateValues() {
    static const auto v = Values<CDateTime>(Dates(), [](const std::wstring& t) { return C::dateFromString(t, kCollapse); });
    return v;
}
const std::vector<CDateTime>& DateTimeValues() {
    static const auto v =
        Values<CDateTime>(DateTimes(), [](const std::wstring& t) { return C::datetimeFromString(t, kCollapse); });
    return v;
}
const std::vector<CDateTimeSpan>& DurationValues() {
    static const auto v =
        Values<CDateTimeSpan>(Durations(), [](const std::wstring& t) { return C::durationFromString(t, kCollapse); });
    return v;
}

void BM_i4ToString(benchmark::State& s) { RunValues(s, I4Values(), [](int32_t v) { return C::i4ToString(v); }); }
void BM_i4_swprintf(benchmark::State& s) { RunValues(s, I4Values(), [](int32_t v) { return Swprintf(L"%d", v); }); }
void BM_i8ToString(benchmark::State& s) { RunValues(s, I8Values(), [](long long v) { return C::i8ToString(v); }); }
void BM_i8_swprintf(benchmark::State& s) { RunValues(s, I8Values(), [](long long v) { return Swprintf(L"%lld", v); }); }
void BM_r8ToString(benchmark::State& s) { RunValues(s, R8Values(), [](double v) { return C::r8ToString(v); }); }
void BM_r8_swprintf(benchmark::State& s) { RunValues(s, R8Values(), [](double v) { return Swprintf(L"%.16g", v); }); }
void BM_r8ToStringFormat(benchmark::State& s) {
    const std::wstring format = L"%.3f";
    RunValues(s, R8Values(), [&](double v) { return C::r8ToString(v, format); });
}
void BM_r8_swprintfFormat(benchmark::State& s) { RunValues(s, R8Values(), [](double v) { return Swprintf(L"%.3f", v); }); }
void BM_booleanToString(benchmark::State& s) {
    RunValues(s, BoolValues(), [](bool v) { return C::booleanToString(v); });
}
void BM_boolean_swprintf(benchmark::State& s) {
    RunValues(s, BoolValues(), [](bool v) { return Swprintf(L"%ls", v ? L"true" : L"false"); });
}
void BM_dateToString(benchmark::State& s) {
    RunValues(s, DateValues(), [](const CDateTime& v) { return C::dateToString(v); });
}
void BM_date_swprintf(benchmark::State& s) {
    RunValues(s, DateValues(), [](const CDateTime& v) {
        return Swprintf(L"%04d-%02d-%02d", static_cast<int>(v.GetYear()), static_cast<int>(v.GetMonth()),
                        static_cast<int>(v.GetDay()));
    });
}
void BM_datetimeToString(benchmark::State& s) {
    RunValues(s, DateTimeValues(), [](const CDateTime& v) { return C::datetimeToString(v); });
}
void BM_datetime_swprintf(benchmark::State& s) {
    RunValues(s, DateTimeValues(), [](const CDateTime& v) {
        return Swprintf(L"%04d-%02d-%02dT%02d:%02d:%02d.%03d+%02d:%02d", static_cast<int>(v.GetYear()),
                        static_cast<int>(v.GetMonth()), static_cast<int>(v.GetDay()), static_cast<int>(v.GetHour()),
                        static_cast<int>(v.GetMinute()), static_cast<int>(v.GetSecond()),
                        static_cast<int>(v.GetMilliSecond()), static_cast<int>(v.GetZoneHour()),
                        static_cast<int>(v.GetZoneMinute()));
    });
}
void BM_durationToString(benchmark::State& s) {
    RunValues(s, DurationValues(), [](const CDateTimeSpan& v) { return C::durationToString(v); });
}
void BM_duration_swprintf(benchmark::State& s) {
    RunValues(s, DurationValues(), [](const CDateTimeSpan& v) {
        return Swprintf(L"P%uY%uM%uDT%uH%lluM%llu.%03uS", static_cast<unsigned>(v.GetYears()), v.GetMonths(),
                        v.GetDays(), v.GetHours(), v.GetMinutes(), v.GetSeconds(),
                        static_cast<unsigned>(v.GetMilliSeconds()));
    });
}

// Values as documents hold them: prices and quantities with a few decimals (9.3 has the
// 16-digit form "9.300000000000001"), which is what the XML writer converts most.
const std::vector<double>& PriceValues() {
    static const auto v = [] {
        std::mt19937_64 rng(7);
        std::vector<double> values;
        for (size_t i = 0; i < kCount; ++i)
            values.push_back(static_cast<double>(static_cast<int64_t>(rng() % 2000000) - 1000000) / 100.0);
        return values;
    }();
    return v;
}
void BM_r8ToStringPrices(benchmark::State& s) { RunValues(s, PriceValues(), [](double v) { return C::r8ToString(v); }); }
void BM_r8_swprintfPrices(benchmark::State& s) { RunValues(s, PriceValues(), [](double v) { return Swprintf(L"%.16g", v); }); }
// Into a buffer the writer reuses: what is left once the returned string's allocation is gone.
void BM_r8AppendToPrices(benchmark::State& s) {
    std::wstring buffer;
    RunValues(s, PriceValues(), [&](double v) {
        buffer.clear();
        C::r8AppendTo(buffer, v);
        return buffer.size();
    });
}
void BM_r4ToString(benchmark::State& s) {
    RunValues(s, PriceValues(), [](double v) { return C::r4ToString(static_cast<float>(v)); });
}
void BM_r4_swprintf(benchmark::State& s) {
    RunValues(s, PriceValues(), [](double v) { return Swprintf(L"%.7g", static_cast<double>(static_cast<float>(v))); });
}

// Decimals like "739.38"; the reference prints the same digits from integer cents.
const std::vector<long long>& Cents() {
    static const auto v = [] {
        std::mt19937_64 rng(11);
        std::vector<long long> values;
        for (size_t i = 0; i < kCount; ++i) values.push_back(static_cast<long long>(rng() % 100000) + 1);
        return values;
    }();
    return v;
}
const std::vector<CDecimal>& DecimalValues() {
    static const auto v = [] {
        std::vector<CDecimal> values;
        for (long long cents : Cents()) values.push_back(CDecimal(Swprintf(L"%lld.%02lld", cents / 100, cents % 100).c_str()));
        return values;
    }();
    return v;
}
void BM_decimalToString(benchmark::State& s) {
    RunValues(s, DecimalValues(), [](const CDecimal& v) { return C::decimalToString(v); });
}
void BM_decimal_swprintf(benchmark::State& s) {
    RunValues(s, Cents(), [](long long cents) { return Swprintf(L"%lld.%02lld", cents / 100, cents % 100); });
}

// Short blobs. The C library has no base64 writer; the reference is the least any writer
// must do: allocate the text of the same length and copy characters into it.
const std::vector<CBinaryData>& Blobs() {
    static const auto v = [] {
        std::mt19937_64 rng(13);
        std::vector<CBinaryData> values;
        for (size_t i = 0; i < kCount; ++i) {
            unsigned char bytes[32];
            for (unsigned char& b : bytes) b = static_cast<unsigned char>(rng());
            values.emplace_back(bytes, static_cast<uint32_t>(8 + rng() % 24), false);
        }
        return values;
    }();
    return v;
}
void BM_base64BinaryToString(benchmark::State& s) {
    RunValues(s, Blobs(), [](const CBinaryData& v) { return C::base64BinaryToString(v); });
}
void BM_base64_textCopy(benchmark::State& s) {
    static const std::wstring source(64, L'Q');
    RunValues(s, Blobs(), [](const CBinaryData& v) {
        return std::wstring(source.data(), (static_cast<size_t>(v.GetLength()) + 2) / 3 * 4);
    });
}

// A pattern facet checked on every value written, next to the C library's POSIX regular
// expressions on the same (narrow) texts.
const std::vector<std::wstring>& Codes() {
    static const auto v = [] {
        std::mt19937_64 rng(17);
        std::vector<std::wstring> values;
        for (size_t i = 0; i < kCount; ++i) {
            std::wstring code = std::to_wstring(100 + rng() % 900) + L"-";
            code += static_cast<wchar_t>(L'A' + rng() % 26);
            code += static_cast<wchar_t>(L'A' + rng() % 26);
            values.push_back(code);
        }
        return values;
    }();
    return v;
}
void BM_patternMatch(benchmark::State& s) {
    const std::string pattern = "\\d{3}-[A-Z]{2}";
    RunValues(s, Codes(), [&](const std::wstring& v) { return MatchesPattern(pattern, v); });
}
void BM_pattern_regexec(benchmark::State& s) {
    regex_t expression;
    if (regcomp(&expression, "^[0-9]{3}-[A-Z]{2}$", REG_EXTENDED | REG_NOSUB) != 0) {
        s.SkipWithError("regcomp failed");
        return;
    }
    std::vector<std::string> narrow;
    for (const std::wstring& code : Codes()) narrow.emplace_back(code.begin(), code.end());
    RunValues(s, narrow, [&](const std::string& v) { return regexec(&expression, v.c_str(), 0, nullptr, 0) == 0; });
    regfree(&expression);
}

BENCHMARK(BM_r8ToStringPrices);
BENCHMARK(BM_r8_swprintfPrices);
BENCHMARK(BM_r8AppendToPrices);
BENCHMARK(BM_r4ToString);
BENCHMARK(BM_r4_swprintf);
BENCHMARK(BM_decimalToString);
BENCHMARK(BM_decimal_swprintf);
BENCHMARK(BM_base64BinaryToString);
BENCHMARK(BM_base64_textCopy);
BENCHMARK(BM_patternMatch);
BENCHMARK(BM_pattern_regexec);
BENCHMARK(BM_i4ToString);
BENCHMARK(BM_i4_swprintf);
BENCHMARK(BM_i8ToString);
BENCHMARK(BM_i8_swprintf);
BENCHMARK(BM_r8ToString);
BENCHMARK(BM_r8_swprintf);
BENCHMARK(BM_r8ToStringFormat);
BENCHMARK(BM_r8_swprintfFormat);
BENCHMARK(BM_booleanToString);
BENCHMARK(BM_boolean_swprintf);
BENCHMARK(BM_dateToString);
BENCHMARK(BM_date_swprintf);
BENCHMARK(BM_datetimeToString);
BENCHMARK(BM_datetime_swprintf);
BENCHMARK(BM_durationToString);
BENCHMARK(BM_duration_swprintf);

}  // namespace

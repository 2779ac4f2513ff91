// CDecimal and CBigInteger reading and writing document values, next to the C library doing
// the same job on the same texts in the same run (wcstod/wcstoull and swprintf), the four
// operations on 30-digit decimals, and the pattern matcher next to std::wregex on the same
// facet. Items per second are values handled.
#include <qxxml/values/BigInteger.h>
#include <qxxml/values/Decimal.h>
#include <qxxml/values/PatternMatcher.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <random>
#include <regex>
#include <string>
#include <vector>

using namespace QxXmlLib10;

namespace {

const size_t kCount = 1024;

// Prices, quantities and amounts as documents carry them: "1234.56", "12", "0.5", "-3.125".
std::vector<std::wstring> DecimalTexts() {
    std::mt19937_64 rng(42);
    std::vector<std::wstring> texts;
    wchar_t text[64];
    for (size_t i = 0; i < kCount; ++i) {
        switch (rng() % 4) {
            case 0: swprintf(text, 64, L"%u.%02u", static_cast<unsigned>(rng() % 100000), static_cast<unsigned>(rng() % 100)); break;
            case 1: swprintf(text, 64, L"%u", static_cast<unsigned>(rng() % 1000)); break;
            case 2: swprintf(text, 64, L"0.%u", static_cast<unsigned>(1 + rng() % 9)); break;
            default: swprintf(text, 64, L"-%u.%03u", static_cast<unsigned>(rng() % 100), static_cast<unsigned>(1 + rng() % 999)); break;
        }
        texts.push_back(text);
    }
    return texts;
}

// Twenty-digit integers that still fit an unsigned 64-bit reader.
std::vector<std::wstring> IntegerTexts() {
    std::mt19937_64 rng(7);
    std::vector<std::wstring> texts;
    for (size_t i = 0; i < kCount; ++i) texts.push_back(std::to_wstring(10000000000000000000ull + rng() % 8000000000000000000ull));
    return texts;
}

std::vector<CDecimal> ThirtyDigitDecimals() {
    std::mt19937_64 rng(9);
    std::vector<CDecimal> values;
    for (size_t i = 0; i < kCount; ++i) {
        std::wstring text = std::to_wstring(1 + rng() % 99999) + L".";
        for (int k = 0; k < 25; ++k) text += static_cast<wchar_t>(L'0' + rng() % 10);
        text += L'7';
        values.emplace_back(text.c_str());
    }
    return values;
}

template <class Handle>
void Run(benchmark::State& state, const std::vector<std::wstring>& texts, Handle handle) {
    size_t i = 0;
    for (auto _ : state) {
        handle(texts[i]);
        i = (i + 1) % texts.size();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_Decimal_ParseAndFormat(benchmark::State& state) {
    const auto texts = DecimalTexts();
    Run(state, texts, [](const std::wstring& text) {
        const CDecimal value(text.c_str());
        std::wstring back = value.ToString();
        benchmark::DoNotOptimize(back);
    });
}
BENCHMARK(BM_Decimal_ParseAndFormat);

void BM_Reference_WcstodAndSwprintf(benchmark::State& state) {
    const auto texts = DecimalTexts();
    Run(state, texts, [](const std::wstring& text) {
        const double value = std::wcstod(text.c_str(), nullptr);
        wchar_t buffer[64];
        const int n = swprintf(buffer, 64, L"%.15g", value);
        std::wstring back(buffer, static_cast<size_t>(n));
        benchmark::DoNotOptimize(back);
    });
}
BENCHMARK(BM_Reference_WcstodAndSwprintf);

void BM_Decimal_ParseAndFormatTwoPlaces(benchmark::State& state) {
    const auto texts = DecimalTexts();
    Run(state, texts, [](const std::wstring& text) {
        std::wstring back = CDecimal(text.c_str()).ToString(2);
        benchmark::DoNotOptimize(back);
    });
}
BENCHMARK(BM_Decimal_ParseAndFormatTwoPlaces);

void BM_Reference_WcstodAndSwprintfTwoPlaces(benchmark::State& state) {
    const auto texts = DecimalTexts();
    Run(state, texts, [](const std::wstring& text) {
        wchar_t buffer[64];
        const int n = swprintf(buffer, 64, L"%.2f", std::wcstod(text.c_str(), nullptr));
        std::wstring back(buffer, static_cast<size_t>(n));
        benchmark::DoNotOptimize(back);
    });
}
BENCHMARK(BM_Reference_WcstodAndSwprintfTwoPlaces);

void BM_BigInteger_ParseAndFormat20Digits(benchmark::State& state) {
    const auto texts = IntegerTexts();
    Run(state, texts, [](const std::wstring& text) {
        std::wstring back = CBigInteger(text.c_str()).ToString();
        benchmark::DoNotOptimize(back);
    });
}
BENCHMARK(BM_BigInteger_ParseAndFormat20Digits);

void BM_Reference_WcstoullAndSwprintf20Digits(benchmark::State& state) {
    const auto texts = IntegerTexts();
    Run(state, texts, [](const std::wstring& text) {
        wchar_t buffer[32];
        const int n = swprintf(buffer, 32, L"%llu", std::wcstoull(text.c_str(), nullptr, 10));
        std::wstring back(buffer, static_cast<size_t>(n));
        benchmark::DoNotOptimize(back);
    });
}
BENCHMARK(BM_Reference_WcstoullAndSwprintf20Digits);

template <class Operation>
void RunOnPairs(benchmark::State& state, Operation operation) {
    const auto values = ThirtyDigitDecimals();
    size_t i = 0;
    for (auto _ : state) {
        CDecimal result = operation(values[i], values[(i + 1) % values.size()]);
        benchmark::DoNotOptimize(result);
        i = (i + 1) % values.size();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_Decimal30_Add(benchmark::State& state) { RunOnPairs(state, [](const CDecimal& a, const CDecimal& b) { return a + b; }); }
void BM_Decimal30_Subtract(benchmark::State& state) { RunOnPairs(state, [](const CDecimal& a, const CDecimal& b) { return a - b; }); }
void BM_Decimal30_Multiply(benchmark::State& state) { RunOnPairs(state, [](const CDecimal& a, const CDecimal& b) { return a * b; }); }
void BM_Decimal30_Divide(benchmark::State& state) { RunOnPairs(state, [](const CDecimal& a, const CDecimal& b) { return a / b; }); }
void BM_Decimal30_Compare(benchmark::State& state) {
    RunOnPairs(state, [](const CDecimal& a, const CDecimal& b) { return a < b ? a : b; });
}
BENCHMARK(BM_Decimal30_Add);
BENCHMARK(BM_Decimal30_Subtract);
BENCHMARK(BM_Decimal30_Multiply);
BENCHMARK(BM_Decimal30_Divide);
BENCHMARK(BM_Decimal30_Compare);

// A typical code facet: two letters, four digits, an optional suffix.
const char kPattern[] = "[A-Z]{2}\\d{4}(-[0-9A-Z]{1,8})?";
const wchar_t kWidePattern[] = L"[A-Z]{2}[0-9]{4}(-[0-9A-Z]{1,8})?";
const wchar_t* const kCodes[] = {L"AB1234", L"XY0042-K9", L"QQ9999-ABCDEFGH", L"ab1234", L"CD12345"};

void BM_MatchesPattern(benchmark::State& state) {
    const std::string pattern(kPattern);
    const std::vector<std::wstring> codes(std::begin(kCodes), std::end(kCodes));
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MatchesPattern(pattern, codes[i]));
        i = (i + 1) % 5;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MatchesPattern);

void BM_Reference_StdRegexMatch(benchmark::State& state) {
    const std::wregex expression(kWidePattern);
    const std::vector<std::wstring> codes(std::begin(kCodes), std::end(kCodes));
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::regex_match(codes[i], expression));
        i = (i + 1) % 5;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Reference_StdRegexMatch);

}  // namespace

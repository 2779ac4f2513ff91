// Costs of the per-property work every write and read does: QxVariant set, copy, ToString
// and FromString for i4, string, decimal and dateTime, and the facet checks of an i4 with
// bounds and a string with a pattern. The reference is the C library's wcstol reading the
// same i4 text, measured in the same run.

#include <qxxml/core/PrimitiveValueCheck.h>
#include <qxxml/values/Conversions.h>
#include <qxxml/values/DateTime.h>
#include <qxxml/values/Decimal.h>
#include <qxxml/values/PrimitiveRestrictions.h>
#include <qxxml/values/QxVariant.h>

#include <benchmark/benchmark.h>

#include <cwchar>
#include <string>

using namespace QxXmlLib10;

namespace {

constexpr auto kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;

const wchar_t kI4Text[] = L"123456";
const wchar_t kStringText[] = L"A property value of ordinary length";
const wchar_t kDecimalText[] = L"-12345.6789";
const wchar_t kDateTimeText[] = L"2024-05-06T07:08:09.123+02:00";

QxVariant Parsed(ItemType type, const wchar_t* text) {
    QxVariant value;
    value.FromString(text, type, kCollapse);
    return value;
}

// ------------------------------------------------------------------ reference

void BM_Reference_wcstol(benchmark::State& state) {
    for (auto _ : state) {
        wchar_t* end = nullptr;
        benchmark::DoNotOptimize(std::wcstol(kI4Text, &end, 10));
        benchmark::DoNotOptimize(end);
    }
}
BENCHMARK(BM_Reference_wcstol);

// ------------------------------------------------------------------ set

void BM_Variant_Set_i4(benchmark::State& state) {
    QxVariant value;
    int32_t n = 0;
    for (auto _ : state) {
        value.SetI4(++n);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_Variant_Set_i4);

void BM_Variant_Set_string(benchmark::State& state) {
    const std::wstring text = kStringText;
    QxVariant value;
    for (auto _ : state) {
        value.SetString(text);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_Variant_Set_string);

// Fresh variants, as a property read creates them: the heap kinds allocate every time.
void BM_Variant_SetFresh_string(benchmark::State& state) {
    const std::wstring text = kStringText;
    for (auto _ : state) {
        QxVariant value;
        value.SetString(text);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_Variant_SetFresh_string);

void BM_Variant_Set_decimal(benchmark::State& state) {
    const CDecimal decimal(kDecimalText);
    QxVariant value;
    for (auto _ : state) {
        value.SetDecimal(decimal);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_Variant_Set_decimal);

void BM_Variant_Set_datetime(benchmark::State& state) {
    const CDateTime dateTime(kDateTimeText);
    QxVariant value;
    for (auto _ : state) {
        value.SetDateTime(dateTime);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_Variant_Set_datetime);

// ------------------------------------------------------------------ copy

void CopyBench(benchmark::State& state, ItemType type, const wchar_t* text) {
    const QxVariant source = Parsed(type, text);
    for (auto _ : state) {
        QxVariant copy(source);
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK_CAPTURE(CopyBench, i4, ItemType_i4, kI4Text)->Name("BM_Variant_Copy_i4");
BENCHMARK_CAPTURE(CopyBench, string, ItemType_string, kStringText)->Name("BM_Variant_Copy_string");
BENCHMARK_CAPTURE(CopyBench, decimal, ItemType_decimal, kDecimalText)->Name("BM_Variant_Copy_decimal");
BENCHMARK_CAPTURE(CopyBench, datetime, ItemType_datetime, kDateTimeText)->Name("BM_Variant_Copy_datetime");

// ------------------------------------------------------------------ text

void ToStringBench(benchmark::State& state, ItemType type, const wchar_t* text) {
    const QxVariant value = Parsed(type, text);
    for (auto _ : state) benchmark::DoNotOptimize(value.ToString(nullptr));
}
BENCHMARK_CAPTURE(ToStringBench, i4, ItemType_i4, kI4Text)->Name("BM_Variant_ToString_i4");
BENCHMARK_CAPTURE(ToStringBench, string, ItemType_string, kStringText)->Name("BM_Variant_ToString_string");
BENCHMARK_CAPTURE(ToStringBench, decimal, ItemType_decimal, kDecimalText)->Name("BM_Variant_ToString_decimal");
BENCHMARK_CAPTURE(ToStringBench, datetime, ItemType_datetime, kDateTimeText)->Name("BM_Variant_ToString_datetime");

void FromStringBench(benchmark::State& state, ItemType type, const wchar_t* text) {
    const std::wstring input = text;
    QxVariant value;
    for (auto _ : state) {
        value.FromString(input, type, kCollapse);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK_CAPTURE(FromStringBench, i4, ItemType_i4, kI4Text)->Name("BM_Variant_FromString_i4");
BENCHMARK_CAPTURE(FromStringBench, string, ItemType_string, kStringText)->Name("BM_Variant_FromString_string");
BENCHMARK_CAPTURE(FromStringBench, decimal, ItemType_decimal, kDecimalText)->Name("BM_Variant_FromString_decimal");
BENCHMARK_CAPTURE(FromStringBench, datetime, ItemType_datetime, kDateTimeText)->Name("BM_Variant_FromString_datetime");

// ------------------------------------------------------------------ facet checks

void BM_Check_i4_TwoBounds(benchmark::State& state) {
    const CPrimitiveRestrictions bounds(nullptr, -1, -1, L"1", L"999999", nullptr, nullptr, -1);
    const QxVariant value = Parsed(ItemType_i4, kI4Text);
    for (auto _ : state) CheckPrimitiveValue(L"quantity", value, ItemType_i4, bounds);
}
BENCHMARK(BM_Check_i4_TwoBounds);

// What the check would cost if it converted both bound texts on every call.
void BM_Check_i4_TwoBoundsConvertedEachTime(benchmark::State& state) {
    const std::wstring minText = L"1", maxText = L"999999";
    const int32_t value = 123456;
    for (auto _ : state) {
        const bool ok = value >= CConversions::i4FromString(minText, kCollapse) &&
                        value <= CConversions::i4FromString(maxText, kCollapse);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_Check_i4_TwoBoundsConvertedEachTime);

// Kinds whose bounds are costly to read gain the most from converting them once.
void BM_Check_decimal_TwoBounds(benchmark::State& state) {
    const CPrimitiveRestrictions bounds(nullptr, -1, -1, L"-99999.9999", L"99999.9999", nullptr, nullptr, -1);
    const QxVariant value = Parsed(ItemType_decimal, kDecimalText);
    for (auto _ : state) CheckPrimitiveValue(L"amount", value, ItemType_decimal, bounds);
}
BENCHMARK(BM_Check_decimal_TwoBounds);

void BM_Check_decimal_TwoBoundsConvertedEachTime(benchmark::State& state) {
    const std::wstring minText = L"-99999.9999", maxText = L"99999.9999";
    const CDecimal value(kDecimalText);
    for (auto _ : state) {
        const bool ok = value >= CConversions::decimalFromString(minText, kCollapse) &&
                        value <= CConversions::decimalFromString(maxText, kCollapse);
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_Check_decimal_TwoBoundsConvertedEachTime);

void BM_Check_string_Pattern(benchmark::State& state) {
    const CPrimitiveRestrictions pattern(L"[A-Z]{2}-\\d{4}", -1, 16, nullptr, nullptr, nullptr, nullptr, -1);
    QxVariant value;
    value.SetString(L"AB-1234");
    for (auto _ : state) CheckPrimitiveValue(L"sku", value, ItemType_string, pattern);
}
BENCHMARK(BM_Check_string_Pattern);

}  // namespace

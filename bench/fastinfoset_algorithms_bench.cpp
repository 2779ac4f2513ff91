// Fast Infoset encoding algorithms next to the text conversions of the same values, measured
// in the same run, interleaved. For every algorithm's typical value:
//   Encode: lexical form -> octets (what the writer does) against lexical form -> value
//           (xFromString, the text form's reading of the same text);
//   Decode: octets -> lexical form (what the reader does) against value -> lexical form
//           (xToString, the text form's writing of the same value).
// Counters: vs_text = binary CPU time / text CPU time (1.0 = same cost). Each reports the form
// its user takes (the writer's octets and the reader's text appended to a reused buffer) as
// vs_text, and the member form that makes a fresh value each time (SetAsEncodedString,
// GetAsString) as member_vs_text.
#include <qxxml/fastinfoset/FIVocabulary.h>
#include <qxxml/fastinfoset/FastInfosetBinaryData.h>
#include <qxxml/values/Conversions.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

using namespace QxXmlLib10;

namespace {

using C = CConversions;
const CWhitespaceUtils::WhitespaceRule kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;
const size_t kCount = 1024;

// The lexical forms of kCount typical values of one algorithm.
std::vector<std::wstring> Lexicals(FIAlgorithm algorithm) {
    std::mt19937_64 rng(42);
    std::vector<std::wstring> texts;
    for (size_t i = 0; i < kCount; ++i) {
        const uint64_t r = rng();
        switch (algorithm) {
        case FIAlgorithm_Hexadecimal:
        case FIAlgorithm_UUID: {
            CBinaryData bytes;
            for (int b = 0; b < 16; ++b) bytes.Append(static_cast<unsigned char>(rng()));
            texts.push_back(bytes.GetAsHexString());
            break;
        }
        case FIAlgorithm_Base64: {
            CBinaryData bytes;
            for (int b = 0; b < 48; ++b) bytes.Append(static_cast<unsigned char>(rng()));
            texts.push_back(bytes.GetAsBase64());
            break;
        }
        case FIAlgorithm_Short: texts.push_back(C::i2ToString(static_cast<short>(r))); break;
        case FIAlgorithm_Int: texts.push_back(C::i4ToString(static_cast<int32_t>(r % 2000000) - 1000000)); break;
        case FIAlgorithm_Long: texts.push_back(C::i8ToString(static_cast<long long>(r))); break;
        case FIAlgorithm_Boolean: texts.push_back(r & 1 ? L"true" : L"false"); break;
        case FIAlgorithm_Float: texts.push_back(C::r4ToString(static_cast<float>(r % 100000) / 64.0f)); break;
        case FIAlgorithm_Double: texts.push_back(C::r8ToString(static_cast<double>(r % 100000000) / 1024.0)); break;
        case FIAlgorithm_CDATA: texts.push_back(L"price " + std::to_wstring(r % 1000) + L" <EUR> & tax"); break;
        }
    }
    return texts;
}

// Work over the same kCount values, alternately: the text form and one or two binary forms,
// the text form going first in every other iteration (the one that runs later finds caches
// and branch history warmer). Sets counter `name` (the first binary form over the text form)
// and, with a second binary form, `secondName`.
template <class Binary, class Text, class Second>
void Compare(benchmark::State& state, const char* name, Binary binary, Text text, const char* secondName,
             Second second) {
    qxxml_bench::Times binaryTimes, textTimes, secondTimes;
    const auto measure = [](qxxml_bench::Times& times, auto& work) {
        times += qxxml_bench::Measure([&] {
            for (size_t i = 0; i < kCount; ++i) work(i);
        });
    };
    bool textFirst = true;
    for (auto _ : state) {
        if (textFirst) measure(textTimes, text);
        if (secondName) measure(secondTimes, second);
        measure(binaryTimes, binary);
        if (!textFirst) measure(textTimes, text);
        textFirst = !textFirst;
    }
    state.counters[name] = binaryTimes.cpu / textTimes.cpu;
    if (secondName) state.counters[secondName] = secondTimes.cpu / textTimes.cpu;
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kCount));
}

template <class Binary, class Text>
void Compare(benchmark::State& state, const char* name, Binary binary, Text text) {
    Compare(state, name, binary, text, nullptr, [](size_t) {});
}

struct Values {
    std::vector<short> i2;
    std::vector<int32_t> i4;
    std::vector<long long> i8;
    std::vector<bool> booleans;
    std::vector<float> r4;
    std::vector<double> r8;
    std::vector<CBinaryData> bytes;
    std::vector<std::wstring> strings;
};
Values g_values;

// Reads text i the text form's way, keeping the value for writing it back.
void ReadAsText(FIAlgorithm algorithm, const std::wstring& text, size_t i) {
    Values& v = g_values;
    switch (algorithm) {
    case FIAlgorithm_Hexadecimal:
    case FIAlgorithm_UUID: v.bytes[i] = C::hexBinaryFromString(text, kCollapse); break;
    case FIAlgorithm_Base64: v.bytes[i] = C::base64BinaryFromString(text, kCollapse); break;
    case FIAlgorithm_Short: v.i2[i] = C::i2FromString(text, kCollapse); break;
    case FIAlgorithm_Int: v.i4[i] = C::i4FromString(text, kCollapse); break;
    case FIAlgorithm_Long: v.i8[i] = C::i8FromString(text, kCollapse); break;
    case FIAlgorithm_Boolean: v.booleans[i] = C::booleanFromString(text, kCollapse); break;
    case FIAlgorithm_Float: v.r4[i] = C::r4FromString(text, kCollapse); break;
    case FIAlgorithm_Double: v.r8[i] = C::r8FromString(text, kCollapse); break;
    case FIAlgorithm_CDATA: v.strings[i] = C::stringFromString(text, kCollapse); break;
    }
}

std::wstring WriteAsText(FIAlgorithm algorithm, size_t i) {
    const Values& v = g_values;
    switch (algorithm) {
    case FIAlgorithm_Hexadecimal:
    case FIAlgorithm_UUID: return C::hexBinaryToString(v.bytes[i]);
    case FIAlgorithm_Base64: return C::base64BinaryToString(v.bytes[i]);
    case FIAlgorithm_Short: return C::i2ToString(v.i2[i]);
    case FIAlgorithm_Int: return C::i4ToString(v.i4[i]);
    case FIAlgorithm_Long: return C::i8ToString(v.i8[i]);
    case FIAlgorithm_Boolean: return C::booleanToString(v.booleans[i]);
    case FIAlgorithm_Float: return C::r4ToString(v.r4[i]);
    case FIAlgorithm_Double: return C::r8ToString(v.r8[i]);
    case FIAlgorithm_CDATA: return C::stringToString(v.strings[i]);
    }
    return std::wstring();
}

void PrepareValues() {
    g_values.i2.resize(kCount);
    g_values.i4.resize(kCount);
    g_values.i8.resize(kCount);
    g_values.booleans.resize(kCount);
    g_values.r4.resize(kCount);
    g_values.r8.resize(kCount);
    g_values.bytes.resize(kCount);
    g_values.strings.resize(kCount);
}

void BM_FastInfoset_Encode(benchmark::State& state) {
    const FIAlgorithm algorithm = static_cast<FIAlgorithm>(state.range(0));
    const std::vector<std::wstring> texts = Lexicals(algorithm);
    PrepareValues();
    std::string octets;
    unsigned char fixed[CFastInfosetBinaryData::kMaxFixedOctets];
    CFastInfosetBinaryData data;
    Compare(
        state, "vs_text",
        [&](size_t i) {  // as the writer does: fixed-size values in place, others appended
            if (CFastInfosetBinaryData::EncodeFixedSize(algorithm, texts[i], fixed) != 0) {
                benchmark::DoNotOptimize(fixed);
                return;
            }
            octets.clear();
            CFastInfosetBinaryData::AppendEncodedString(octets, algorithm, texts[i]);
            benchmark::DoNotOptimize(octets.data());
        },
        [&](size_t i) { ReadAsText(algorithm, texts[i], i); }, "member_vs_text",
        [&](size_t i) {
            data.SetAsEncodedString(algorithm, texts[i].c_str());
            benchmark::DoNotOptimize(data);
        });
}

void BM_FastInfoset_Decode(benchmark::State& state) {
    const FIAlgorithm algorithm = static_cast<FIAlgorithm>(state.range(0));
    const std::vector<std::wstring> texts = Lexicals(algorithm);
    PrepareValues();
    std::vector<std::string> octets(kCount);
    for (size_t i = 0; i < kCount; ++i) {
        CFastInfosetBinaryData::AppendEncodedString(octets[i], algorithm, texts[i]);
        ReadAsText(algorithm, texts[i], i);
    }
    // Like with like: both sides must make the very same texts.
    size_t different = 0;
    for (size_t i = 0; i < kCount; ++i)
        different += CFastInfosetBinaryData::GetAsString(algorithm, reinterpret_cast<const unsigned char*>(octets[i].data()),
                                                         static_cast<uint32_t>(octets[i].size())) != WriteAsText(algorithm, i);
    state.counters["different_texts"] = static_cast<double>(different);
    // The reader's form (each value's text into one reused buffer), and the member form that
    // makes a fresh string each time, as the text form does.
    std::wstring text;
    const auto data = [&](size_t i) { return reinterpret_cast<const unsigned char*>(octets[i].data()); };
    const auto length = [&](size_t i) { return static_cast<uint32_t>(octets[i].size()); };
    Compare(
        state, "vs_text",
        [&](size_t i) {
            text.clear();
            CFastInfosetBinaryData::AppendAsString(text, algorithm, data(i), length(i));
            benchmark::DoNotOptimize(text.data());
        },
        [&](size_t i) { benchmark::DoNotOptimize(WriteAsText(algorithm, i)); }, "member_vs_text",
        [&](size_t i) { benchmark::DoNotOptimize(CFastInfosetBinaryData::GetAsString(algorithm, data(i), length(i))); });
}

// Restricted alphabets: a date-time packed into the date-time alphabet and read back, against
// the text form's UTF-8 of the same characters written and read back.
void BM_FastInfoset_DateAlphabet(benchmark::State& state) {
    const CFIVocabulary vocabulary;
    const std::wstring& alphabet = vocabulary.GetRestrictedAlphabet(CFIVocabulary::kDateTimeAlphabet);
    const std::wstring date = L"2024-05-06T12:34:56Z";
    std::string packed, utf8;
    std::wstring text;
    Compare(
        state, "vs_utf8",
        [&](size_t) {
            packed.clear();
            CFastInfosetBinaryData::AppendRestrictedAlphabetString(packed, alphabet, date.data(), date.size());
            text.clear();
            CFastInfosetBinaryData::AppendRestrictedAlphabetText(text, alphabet, reinterpret_cast<const unsigned char*>(packed.data()),
                                                         static_cast<uint32_t>(packed.size()));
        },
        [&](size_t) {
            utf8.clear();
            AppendUtf8(utf8, date.data(), date.size());
            text.clear();
            AppendWideFromUtf8(text, utf8.data(), utf8.size());
        });
}

void Algorithms(benchmark::internal::Benchmark* b, bool withCdata) {
    for (int algorithm = FIAlgorithm_Hexadecimal; algorithm <= FIAlgorithm_CDATA; ++algorithm)
        if (withCdata || algorithm != FIAlgorithm_CDATA) b->Arg(algorithm);
}

BENCHMARK(BM_FastInfoset_Encode)->Apply([](benchmark::internal::Benchmark* b) { Algorithms(b, true); });
BENCHMARK(BM_FastInfoset_Decode)->Apply([](benchmark::internal::Benchmark* b) { Algorithms(b, false); });
BENCHMARK(BM_FastInfoset_DateAlphabet);

}  // namespace

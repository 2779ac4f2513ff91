// Foundation benchmarks: the shared UTF encoders, base64, CBinaryData appends, CSmartPtr
// copies and monitored-object construction. Each throughput figure has a memcpy of the same
// bytes beside it, measured in the same run.
#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/support/InstanceMonitor.h>
#include <qxxml/support/SmartPtr.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace QxXmlLib10;

namespace {

constexpr size_t kTextChars = 1 << 20;

// XML-like text: ASCII markup with an accented letter now and then (about 1 in 200).
const std::wstring& MostlyAsciiText() {
    static const std::wstring text = [] {
        std::wstring t;
        std::mt19937 random(1);
        while (t.size() < kTextChars) {
            t += L"<item id=\"" + std::to_wstring(random() % 100000) + L"\">Caf";
            t += random() % 2 ? L"\u00e9" : L"e";
            t += L" and more plain text for the element</item>\n";
        }
        t.resize(kTextChars);
        return t;
    }();
    return text;
}

// Mixed scripts: ASCII, Latin-1, Greek, CJK and characters above U+FFFF in about equal parts.
const std::wstring& MixedText() {
    static const std::wstring text = [] {
        std::wstring t;
        std::mt19937 random(2);
        const wchar_t ranges[][2] = {{0x20, 0x7E}, {0xA0, 0xFF}, {0x391, 0x3C9}, {0x4E00, 0x9FFF}, {0x1F300, 0x1F5FF}};
        while (t.size() < kTextChars) {
            const auto& r = ranges[random() % 5];
            for (int i = 0; i < 8; ++i) t += static_cast<wchar_t>(r[0] + random() % (r[1] - r[0]));
        }
        t.resize(kTextChars);
        return t;
    }();
    return text;
}

// Markup without a single non-ASCII character.
const std::wstring& PureAsciiText() {
    static const std::wstring text = [] {
        std::wstring t = MostlyAsciiText();
        for (wchar_t& c : t)
            if (c > 0x7F) c = L'e';
        return t;
    }();
    return text;
}

// 0: mostly ASCII, 1: mixed scripts, 2: pure ASCII.
const std::wstring& TextFor(int64_t which) {
    return which == 0 ? MostlyAsciiText() : which == 1 ? MixedText() : PureAsciiText();
}

void Memcpy(benchmark::State& state, const void* source, size_t bytes) {
    std::vector<char> target(bytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source, bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

// ------------------------------------------------------------------ UTF encoders
// Throughput counts the wide input's bytes (4 per character here).

void BM_WideText_Memcpy(benchmark::State& state) {
    const std::wstring& text = TextFor(state.range(0));
    Memcpy(state, text.data(), text.size() * sizeof(wchar_t));
}
BENCHMARK(BM_WideText_Memcpy)->Arg(0)->Arg(1)->Arg(2)->ArgName("text");

void BM_AppendUtf8(benchmark::State& state) {
    const std::wstring& text = TextFor(state.range(0));
    std::string out;
    for (auto _ : state) {
        out.clear();  // the buffer is reused, as the text streams do
        AppendUtf8(out, text.data(), text.size());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * sizeof(wchar_t)));
}
BENCHMARK(BM_AppendUtf8)->Arg(0)->Arg(1)->Arg(2)->ArgName("text");

void BM_Utf16ToUtf8(benchmark::State& state) {
    const std::wstring& text = TextFor(state.range(0));
    for (auto _ : state) {
        CBinaryData bytes = Utf16ToUtf8(text.c_str());
        benchmark::DoNotOptimize(bytes.GetData());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * sizeof(wchar_t)));
}
BENCHMARK(BM_Utf16ToUtf8)->Arg(0)->Arg(1)->Arg(2)->ArgName("text");

void BM_AppendUtf16LE(benchmark::State& state) {
    const std::wstring& text = TextFor(state.range(0));
    std::string out;
    for (auto _ : state) {
        out.clear();
        AppendUtf16LE(out, text.data(), text.size());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * sizeof(wchar_t)));
}
BENCHMARK(BM_AppendUtf16LE)->Arg(0)->Arg(1)->Arg(2)->ArgName("text");

// Decoding: throughput counts the UTF-8 input's bytes; memcpy of those bytes beside it.
const std::string& Utf8Of(int64_t which) {
    static std::string texts[3];
    std::string& s = texts[which];
    if (s.empty()) AppendUtf8(s, TextFor(which).data(), TextFor(which).size());
    return s;
}

void BM_Utf8Bytes_Memcpy(benchmark::State& state) {
    const std::string& bytes = Utf8Of(state.range(0));
    Memcpy(state, bytes.data(), bytes.size());
}
BENCHMARK(BM_Utf8Bytes_Memcpy)->Arg(0)->Arg(1)->Arg(2)->ArgName("text");

void BM_AppendWideFromUtf8(benchmark::State& state) {
    const std::string& bytes = Utf8Of(state.range(0));
    std::wstring out;
    for (auto _ : state) {
        out.clear();
        AppendWideFromUtf8(out, bytes.data(), bytes.size());
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_AppendWideFromUtf8)->Arg(0)->Arg(1)->Arg(2)->ArgName("text");

// Short names, as the parser hands them over one by one.
void BM_AppendWideFromUtf8_ShortNames(benchmark::State& state) {
    const char* names[] = {"purchaseOrder", "shipTo", "country", "item", "partNum", "quantity", "USPrice"};
    std::wstring out;
    size_t i = 0;
    for (auto _ : state) {
        out.clear();
        const char* name = names[i++ % 7];
        AppendWideFromUtf8(out, name, std::strlen(name));
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_AppendWideFromUtf8_ShortNames);

// ------------------------------------------------------------------ base64

const CBinaryData& OneMiB() {
    static const CBinaryData data = [] {
        std::vector<unsigned char> bytes(1 << 20);
        std::mt19937 random(3);
        for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
        return CBinaryData(bytes.data(), static_cast<uint32_t>(bytes.size()), false);
    }();
    return data;
}

void BM_Binary_Memcpy(benchmark::State& state) { Memcpy(state, OneMiB().GetData(), OneMiB().GetLength()); }
BENCHMARK(BM_Binary_Memcpy);

void BM_Base64Encode(benchmark::State& state) {
    for (auto _ : state) {
        std::wstring text = OneMiB().GetAsBase64();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * OneMiB().GetLength());
}
BENCHMARK(BM_Base64Encode);

void BM_Base64Decode(benchmark::State& state) {
    const std::wstring text = OneMiB().GetAsBase64();
    for (auto _ : state) {
        CBinaryData data;
        data.SetAsBase64(text.c_str());
        benchmark::DoNotOptimize(data.GetData());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * OneMiB().GetLength());
}
BENCHMARK(BM_Base64Decode);

void BM_HexEncode(benchmark::State& state) {
    for (auto _ : state) {
        std::wstring text = OneMiB().GetAsHexString();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * OneMiB().GetLength());
}
BENCHMARK(BM_HexEncode);

// ------------------------------------------------------------------ CBinaryData appends (ns per byte)

void BM_BinaryData_AppendByte(benchmark::State& state) {
    const int64_t bytes = state.range(0);
    for (auto _ : state) {
        CBinaryData data;
        for (int64_t i = 0; i < bytes; ++i) data.Append(static_cast<unsigned char>(i));
        benchmark::DoNotOptimize(data.GetData());
    }
    state.SetItemsProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_BinaryData_AppendByte)->Arg(1 << 16);

void BM_StdString_PushBack(benchmark::State& state) {  // the reference for the above
    const int64_t bytes = state.range(0);
    for (auto _ : state) {
        std::string data;
        for (int64_t i = 0; i < bytes; ++i) data.push_back(static_cast<char>(i));
        benchmark::DoNotOptimize(data.data());
    }
    state.SetItemsProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_StdString_PushBack)->Arg(1 << 16);

void BM_BinaryData_AppendChunks(benchmark::State& state) {
    unsigned char chunk[64];
    std::memset(chunk, 'x', sizeof chunk);
    for (auto _ : state) {
        CBinaryData data;
        for (int i = 0; i < 1024; ++i) data.Append(chunk, sizeof chunk);
        benchmark::DoNotOptimize(data.GetData());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 1024 * sizeof chunk);
}
BENCHMARK(BM_BinaryData_AppendChunks);

void BM_BinaryData_Copy(benchmark::State& state) {
    const CBinaryData& source = OneMiB();
    for (auto _ : state) {
        CBinaryData copy = source;  // shares the block
        benchmark::DoNotOptimize(copy.GetData());
    }
}
BENCHMARK(BM_BinaryData_Copy);

// ------------------------------------------------------------------ CSmartPtr and the monitor

class CBenchObject : public CXmlObjectBase {
public:
    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return std::wstring(); }

protected:
    std::wstring GetTargetNamespace() const override { return std::wstring(); }
    void ToXml_Int(CXmlWriter*, bool, const wchar_t*, const CXmlSerializationContext&, bool) const override {}
    CXmlElement* FromXml_Int(CXmlElement* e, CXmlElement*, const CXmlSerializationContext&, bool) override {
        return e;
    }
};

void BM_SmartPtr_Copy(benchmark::State& state) {
    CSmartPtr<CBenchObject> owner(new CBenchObject);
    for (auto _ : state) {
        CSmartPtr<CBenchObject> copy(owner);  // one atomic increment, one decrement
        benchmark::DoNotOptimize(copy.Get());
    }
}
BENCHMARK(BM_SmartPtr_Copy);

class CBenchMonitored : CInstanceMonitor {
public:
    CBenchMonitored() : CInstanceMonitor(Record()) {}
    explicit CBenchMonitored(const wchar_t* name) : CInstanceMonitor(name) {}

private:
    static CInstanceMonitor::ClassType* Record() {
        static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CBenchMonitored");
        return record;
    }
};

void BM_Monitored_ConstructResolvedRecord(benchmark::State& state) {
    for (auto _ : state) {
        CBenchMonitored object;
        benchmark::DoNotOptimize(&object);
    }
}
BENCHMARK(BM_Monitored_ConstructResolvedRecord);

void BM_Monitored_ConstructByName(benchmark::State& state) {
    for (auto _ : state) {
        CBenchMonitored object(L"CBenchMonitoredByName");
        benchmark::DoNotOptimize(&object);
    }
}
BENCHMARK(BM_Monitored_ConstructByName);

}  // namespace

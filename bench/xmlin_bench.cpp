// xmlin_bench.cpp - loading XML into a CXmlDocument, next to raw expat on the same bytes.
//
// The input is the shared 20 MB purchase-order document (generated into /tmp at the first
// run: gen.py 20000000 1). Measured in the same run:
//   RawExpat            expat with namespace processing and empty callbacks: the floor
//                       (the whole document in one XML_Parse call, and in 256 KiB pieces)
//   LoadXmlStream       CXmlDocument::LoadXmlStream from memory (construction, load and
//                       destruction of the document, as a reading entry point does)
//   LoadFile/Whole      CXmlDocument::Load of the file read whole
//   LoadFile/Overlapped CXmlDocument::Load with AsyncFromXmlFile(true)
// Each load reports `vs_expat`, raw expat's best CPU time over its own (1.0 = as fast as
// expat alone; `vs_expat_wall` the same with wall-clock times),
// and the *Memory runs report `peak_per_input_byte`: the largest heap growth seen while
// loading, per byte of input (the caller's input buffer itself not counted).
//
// Run it as it is and with
//   GLIBC_TUNABLES=glibc.malloc.trim_threshold=4294967295:glibc.malloc.mmap_threshold=33554432
// which keeps freed memory in the heap, so that later iterations do not pay the first touch
// of fresh pages again.
#include <benchmark/benchmark.h>

#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/support/QxException.h>
#include <qxxml/xmlin/XmlDocument.h>

#include <expat.h>
#include <malloc.h>

#include <algorithm>
#include "BenchSupport.h"

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace QxXmlLib10;

using qxxml_bench::Measure;
using qxxml_bench::Times;

const char kDocumentPath[] = "/tmp/qxxml-bench-po-20m.xml";

// gen.py sits in the shared folder beside the checkout (QXXML_BENCH_GEN overrides).
std::string GeneratorPath() {
    if (const char* env = std::getenv("QXXML_BENCH_GEN")) return env;
    std::string here = __FILE__;  // .../main/bench/xmlin_bench.cpp
    here.erase(here.rfind('/'));
    here.erase(here.rfind('/'));
    here.erase(here.rfind('/'));
    return here + "/shared/bench/gen.py";
}

const std::string& Document() {
    static const std::string bytes = [] {
        std::ifstream probe(kDocumentPath, std::ios::binary);
        if (!probe) {
            const std::string command =
                "python3 '" + GeneratorPath() + "' " + kDocumentPath + " 20000000 1";
            if (std::system(command.c_str()) != 0) std::fprintf(stderr, "cannot run %s\n", command.c_str());
        }
        std::ifstream in(kDocumentPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return bytes;
}

void XMLCALL IgnoreStart(void*, const XML_Char*, const XML_Char**) {}
void XMLCALL IgnoreEnd(void*, const XML_Char*) {}
void XMLCALL IgnoreText(void*, const XML_Char*, int) {}

// expat copies what XML_Parse gives it into its own buffer: fed the whole document at once
// it makes a second copy of it in fresh memory, fed in pieces it reuses a small buffer.
// The library feeds pieces; both ways are measured and the faster is the reference.
constexpr size_t kPieceBytes = 0x40000;

Times ParseWithRawExpat(const std::string& bytes, bool inPieces) {
    return Measure([&] {
        XML_Parser parser = XML_ParserCreateNS(nullptr, '|');
        XML_SetElementHandler(parser, IgnoreStart, IgnoreEnd);
        XML_SetCharacterDataHandler(parser, IgnoreText);
        const size_t piece = inPieces ? kPieceBytes : bytes.size();
        for (size_t at = 0; at < bytes.size(); at += piece) {
            const size_t length = std::min(piece, bytes.size() - at);
            const bool last = at + length == bytes.size();
            if (XML_Parse(parser, bytes.data() + at, static_cast<int>(length), last) != XML_STATUS_OK) {
                std::fprintf(stderr, "raw expat: %s\n", XML_ErrorString(XML_GetErrorCode(parser)));
                break;
            }
        }
        XML_ParserFree(parser);
    });
}

// Machines shared with other jobs drift: every load iteration is paired with a raw expat
// parse (in pieces, its faster way) run just before it, and the ratio is taken over the
// pairs. vs_expat: raw expat's CPU time over the load's (1.0 = as fast as expat alone);
// vs_expat_wall: the same with wall-clock times. The benchmark's own time is the load's.
template <class Load>
void MeasureAgainstExpat(benchmark::State& state, Load load) {
    Times expat;
    Times loads;
    for (auto _ : state) {
        expat += ParseWithRawExpat(Document(), true);
        const Times run = Measure(load);
        loads += run;
        state.SetIterationTime(run.wall);
    }
    state.SetBytesProcessed(static_cast<int64_t>(Document().size()) * state.iterations());
    state.counters["vs_expat"] = expat.cpu / loads.cpu;
    state.counters["vs_expat_wall"] = expat.wall / loads.wall;
}

void RawExpat(benchmark::State& state) {
    const std::string& bytes = Document();
    const bool inPieces = state.range(0) != 0;
    for (auto _ : state) state.SetIterationTime(ParseWithRawExpat(bytes, inPieces).wall);
    state.SetLabel(inPieces ? "pieces" : "whole");
    state.SetBytesProcessed(static_cast<int64_t>(bytes.size()) * state.iterations());
}
BENCHMARK(RawExpat)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

void LoadXmlStream(benchmark::State& state) {
    std::vector<unsigned char> bytes(Document().begin(), Document().end());
    MeasureAgainstExpat(state, [&] {
        CXmlDocument document;
        document.LoadXmlStream(bytes.data(), static_cast<uint32_t>(bytes.size()));
        benchmark::DoNotOptimize(document.GetDocumentElement());
    });
}
BENCHMARK(LoadXmlStream)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

std::wstring DocumentPath() {
    Document();
    std::wstring path;
    for (const char* c = kDocumentPath; *c; ++c) path += static_cast<wchar_t>(*c);
    return path;
}

void LoadFile(benchmark::State& state) {
    const std::wstring path = DocumentPath();
    const bool overlapped = state.range(0) != 0;
    AsyncFromXmlFile(overlapped);
    MeasureAgainstExpat(state, [&] {
        CXmlDocument document;
        document.Load(path.c_str());
        benchmark::DoNotOptimize(document.GetDocumentElement());
    });
    AsyncFromXmlFile(false);
    state.SetLabel(overlapped ? "overlapped" : "whole");
}
BENCHMARK(LoadFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

// ------------------------------------------------------------------ peak memory

size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

size_t g_heapBefore = 0;
size_t g_heapPeak = 0;
size_t g_elements = 0;

// Samples the heap every 1024 completed elements (the filter keeps every element).
bool SampleHeap(CXmlElement*) {
    if ((++g_elements & 1023) == 0) g_heapPeak = std::max(g_heapPeak, HeapInUse());
    return false;
}

template <class Load>
void MeasurePeak(benchmark::State& state, Load load) {
    for (auto _ : state) {
        g_elements = 0;
        g_heapBefore = HeapInUse();
        g_heapPeak = g_heapBefore;
        {
            CXmlDocument document(&SampleHeap);
            load(document);
            g_heapPeak = std::max(g_heapPeak, HeapInUse());
        }
    }
    state.counters["peak_per_input_byte"] =
        static_cast<double>(g_heapPeak - g_heapBefore) / static_cast<double>(Document().size());
    state.counters["elements"] = static_cast<double>(g_elements);
}

void LoadXmlStreamMemory(benchmark::State& state) {
    std::vector<unsigned char> bytes(Document().begin(), Document().end());
    MeasurePeak(state, [&](CXmlDocument& document) {
        document.LoadXmlStream(bytes.data(), static_cast<uint32_t>(bytes.size()));
    });
}
BENCHMARK(LoadXmlStreamMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

void LoadFileMemory(benchmark::State& state) {
    const std::wstring path = DocumentPath();
    AsyncFromXmlFile(state.range(0) != 0);
    MeasurePeak(state, [&](CXmlDocument& document) { document.Load(path.c_str()); });
    AsyncFromXmlFile(false);
    state.SetLabel(state.range(0) != 0 ? "overlapped" : "whole");
}
BENCHMARK(LoadFileMemory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

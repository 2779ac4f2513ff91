// po_bench.cpp - the purchase-order sample binding (examples/purchase_order) reading and
// writing the shared 20 MB document, next to raw expat parsing the same bytes.
//
// The document is gen.py's "20000000 1" (about 45 000 items and the trailing open content,
// which the binding carries as CElement trees), generated into /tmp at the first run with the
// copy of gen.py kept beside the binding. Measured in the same run:
//   PoRawExpat      expat with namespace processing and empty callbacks: the reference
//   PoLoadTree      CXmlDocument::LoadXmlStream of the bytes (load and destruction)
//   PoBindTree      FromXmlElement on a tree loaded beforehand: descriptors and objects only
//   PoReadSplit     load, bind and the document's destruction of one read, timed apart, and
//                   the release of the objects read afterwards
//   PoReadWhole     FromXmlStream of the bytes and the release of the order read: the whole
//                   read as a program pays for it
//   PoWriteWide     ToXml: the object tree as one wide string
//   PoWriteUtf8     ToXmlStream: the object tree as UTF-8 bytes
//   PoWriteFastInfoset  ToFastInfosetStream next to the UTF-8 write, with its output size
//   PoReadFastInfoset   the same document as Fast Infoset (the library's own output) read
//                   next to the XML text, alternating in the same iterations: loading the
//                   tree (`tree_speedup`, text time over Fast Infoset time; target >= 2) and the
//                   whole read into the binding (`read_speedup`; target >= 1.5)
//   PoWriteSplit    the UTF-8 write next to the same walk with a writer that discards
//                   everything: the shares of the model (dispatch, property reads, checks,
//                   conversions) and of the text writer
//   PoFileLoad      FromXmlFile of the document's file, overlapped (AsyncFromXmlFile) next to
//                   the file read whole, in the same iterations
//   PoFileWrite     ToXmlFile in UTF-8, overlapped (AsyncToXmlFile) next to the text made in
//                   memory and written in one piece, in the same iterations
//   PoOpenContent   a read and a write of the document with its open content element repeated
//                   n times (1: the document as it is; 10000: about a tenth of the bytes)
//                   against the same document without it, in alternation: `cost` is the time
//                   with over the time without, `allowed` the byte ratio of the two (the open
//                   content may cost no more than its share of the bytes)
//   PoPeakMemory    peak resident growth per input byte, measured with getrusage in a forked
//                   child: the whole read, the tree alone, the objects alone (bound from a tree
//                   loaded beforehand), the UTF-8 write
// The PoFile* runs take an argument: 0 runs the overlapped path in the kernel's mode (io_uring),
// 1 with the synchronous fallback forced; `overlapped_vs_sync` is the synchronous path's wall
// time over the overlapped one's (>= 1.0: overlapped is not slower), `_cpu` the same for CPU.
// Every other timed run is paired with a raw expat parse made just before it; `vs_expat` is raw
// expat's CPU time over the run's (1.0 = as fast as expat parses the input; the targets are
// >= 1.0 for PoWriteUtf8 and >= 0.55 for PoReadWhole). MB/s count input bytes.
//
// Run it as it is and with
//   GLIBC_TUNABLES=glibc.malloc.trim_threshold=4294967295:glibc.malloc.mmap_threshold=33554432
// which keeps freed memory in the heap, so that later iterations do not pay the first touch
// of fresh pages again.
#include <benchmark/benchmark.h>

#include "PoBinding.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/platform/Platform.h>
#include <qxxml/fastinfoset/FastInfosetContext.h>
#include <qxxml/values/ItemType.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlout/XmlWriter.h>

#include <expat.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include "BenchSupport.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace PoBinding;

using qxxml_bench::Measure;
using qxxml_bench::Times;

// ------------------------------------------------------------------ the document

// With QXXML_BENCH_DUMP=<directory>, the first output of each write benchmark is kept there
// as <name> (po.xml, po-<arg>.fi), for checking that a change to the writers keeps the bytes.
void DumpOnce(const char* name, const CBinaryData& bytes) {
    static std::vector<std::string> done;
    const char* directory = std::getenv("QXXML_BENCH_DUMP");
    if (!directory || std::find(done.begin(), done.end(), name) != done.end()) return;
    done.push_back(name);
    const std::string path = std::string(directory) + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.GetData()), static_cast<std::streamsize>(bytes.GetLength()));
}

const char kDocumentPath[] = "/tmp/qxxml-bench-po-20m.xml";

// The copy of gen.py beside the binding (QXXML_BENCH_GEN overrides).
std::string GeneratorPath() {
    if (const char* env = std::getenv("QXXML_BENCH_GEN")) return env;
    std::string here = __FILE__;  // .../bench/po_bench.cpp
    here.erase(here.rfind('/'));
    here.erase(here.rfind('/'));
    return here + "/examples/purchase_order/gen.py";
}

const std::vector<unsigned char>& Document() {
    static const std::vector<unsigned char> bytes = [] {
        std::ifstream probe(kDocumentPath, std::ios::binary);
        if (!probe) {
            const std::string command = "python3 '" + GeneratorPath() + "' " + kDocumentPath + " 20000000 1";
            if (std::system(command.c_str()) != 0) std::fprintf(stderr, "cannot run %s\n", command.c_str());
        }
        std::ifstream in(kDocumentPath, std::ios::binary);
        return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return bytes;
}

// The document with its open content element (gen.py's <ext:audit> line) written `copies`
// times: 0 leaves it out, 1 is the document itself.
std::vector<unsigned char> WithOpenContent(int copies) {
    const std::string text(Document().begin(), Document().end());
    const size_t begin = text.find("  <ext:audit");
    const std::string closing = "</ext:audit>\n";
    const size_t end = text.find(closing, begin) + closing.size();
    std::string made = text.substr(0, begin);
    for (int i = 0; i < copies; ++i) made.append(text, begin, end - begin);
    made.append(text, end, std::string::npos);
    return std::vector<unsigned char>(made.begin(), made.end());
}

uint32_t DocumentLength() { return static_cast<uint32_t>(Document().size()); }
unsigned char* DocumentBytes() { return const_cast<unsigned char*>(Document().data()); }

const CXmlSerializationContext& Context() {
    static const CXmlSerializationContext context = [] {
        CXmlSerializationContext made;
        AddPoNamespaceAliases(made);
        return made;
    }();
    return context;
}

// One order read from the document, for the writing runs.
CPurchaseOrder& LoadedOrder() {
    static const CSmartPtr<CPurchaseOrder> order = [] {
        CSmartPtr<CPurchaseOrder> made(new CPurchaseOrder);
        made->FromXmlStream(DocumentBytes(), DocumentLength(), Context());
        return made;
    }();
    return *order;
}

// ------------------------------------------------------------------ raw expat

void XMLCALL IgnoreStart(void*, const XML_Char*, const XML_Char**) {}
void XMLCALL IgnoreEnd(void*, const XML_Char*) {}
void XMLCALL IgnoreText(void*, const XML_Char*, int) {}

// In 256 KiB pieces, as the library feeds expat (expat copies a whole document given at once
// into fresh memory of its own, which is slower).
Times ParseWithRawExpat() {
    const std::vector<unsigned char>& bytes = Document();
    constexpr size_t kPiece = 0x40000;
    return Measure([&] {
        XML_Parser parser = XML_ParserCreateNS(nullptr, '|');
        XML_SetElementHandler(parser, IgnoreStart, IgnoreEnd);
        XML_SetCharacterDataHandler(parser, IgnoreText);
        for (size_t at = 0; at < bytes.size(); at += kPiece) {
            const size_t length = std::min(kPiece, bytes.size() - at);
            const char* data = reinterpret_cast<const char*>(bytes.data() + at);
            if (XML_Parse(parser, data, static_cast<int>(length), at + length == bytes.size()) != XML_STATUS_OK) {
                std::fprintf(stderr, "raw expat: %s\n", XML_ErrorString(XML_GetErrorCode(parser)));
                break;
            }
        }
        XML_ParserFree(parser);
    });
}

// Pairs every run with a raw expat parse just before it (the machine is shared: its speed
// drifts) and reports the ratio over the pairs; the benchmark's own time is the run's.
// `after` runs untimed after each run (to destroy what the run made).
template <class Run, class After>
void MeasureAgainstExpat(benchmark::State& state, Run run, After after) {
    Times expat;
    Times runs;
    for (auto _ : state) {
        expat += ParseWithRawExpat();
        const Times one = Measure(run);
        after();
        runs += one;
        state.SetIterationTime(one.wall);
    }
    state.SetBytesProcessed(static_cast<int64_t>(DocumentLength()) * state.iterations());
    state.counters["vs_expat"] = expat.cpu / runs.cpu;
    state.counters["vs_expat_wall"] = expat.wall / runs.wall;
}

template <class Run>
void MeasureAgainstExpat(benchmark::State& state, Run run) {
    MeasureAgainstExpat(state, run, [] {});
}

void PoRawExpat(benchmark::State& state) {
    for (auto _ : state) state.SetIterationTime(ParseWithRawExpat().wall);
    state.SetBytesProcessed(static_cast<int64_t>(DocumentLength()) * state.iterations());
}
BENCHMARK(PoRawExpat)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// ------------------------------------------------------------------ reading

void PoLoadTree(benchmark::State& state) {
    MeasureAgainstExpat(state, [] {
        CXmlDocument document(Context());
        document.LoadXmlStream(DocumentBytes(), DocumentLength());
        benchmark::DoNotOptimize(document.GetDocumentElement());
    });
}
BENCHMARK(PoLoadTree)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

// The objects are destroyed outside the timing (PoReadSplit times that apart).
void PoBindTree(benchmark::State& state) {
    CXmlDocument document(Context());
    document.LoadXmlStream(DocumentBytes(), DocumentLength());
    CSmartPtr<CPurchaseOrder> order;
    MeasureAgainstExpat(
        state,
        [&] {
            order = new CPurchaseOrder;
            order->FromXmlElement(document.GetDocumentElement(), Context());
        },
        [&] {
            state.counters["items"] = order->GetItems()->GetCount();
            order = nullptr;
        });
}
BENCHMARK(PoBindTree)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

// One read as FromXmlStream makes it, its three phases timed apart, and then the release of
// the objects read. Counters: each phase's share of the read, each phase and the read (load,
// bind and the document's destruction) against raw expat.
void PoReadSplit(benchmark::State& state) {
    Times expat;
    Times load;
    Times bind;
    Times destroy;
    Times release;
    for (auto _ : state) {
        expat += ParseWithRawExpat();
        CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
        auto* document = new CXmlDocument(Context());
        load += Measure([&] { document->LoadXmlStream(DocumentBytes(), DocumentLength()); });
        bind += Measure([&] { order->FromXmlElement(document->GetDocumentElement(), Context()); });
        destroy += Measure([&] { delete document; });
        release += Measure([&] { order = nullptr; });
    }
    Times read = load;
    read += bind;
    read += destroy;
    state.counters["load_share"] = load.cpu / read.cpu;
    state.counters["bind_share"] = bind.cpu / read.cpu;
    state.counters["destroy_share"] = destroy.cpu / read.cpu;
    state.counters["load_vs_expat"] = expat.cpu / load.cpu;
    state.counters["bind_vs_expat"] = expat.cpu / bind.cpu;
    state.counters["release_vs_expat"] = expat.cpu / release.cpu;
    state.counters["vs_expat"] = expat.cpu / read.cpu;
}
BENCHMARK(PoReadSplit)->Unit(benchmark::kMillisecond)->Iterations(3);

// The document written as Fast Infoset by the library itself.
const std::vector<unsigned char>& FastInfosetDocument() {
    static const std::vector<unsigned char> bytes = [] {
        const CBinaryData data = LoadedOrder().ToFastInfosetStream(FInfoDecl_None, Context(), CompressionType_None);
        return std::vector<unsigned char>(data.GetData(), data.GetData() + data.GetLength());
    }();
    return bytes;
}

void PoReadFastInfoset(benchmark::State& state) {
    std::vector<unsigned char>& fi = const_cast<std::vector<unsigned char>&>(FastInfosetDocument());
    Times treeText, treeFi, readText, readFi;
    auto load = [](unsigned char* bytes, uint32_t length) {
        CXmlDocument document(Context());
        document.LoadXmlStream(bytes, length);
        benchmark::DoNotOptimize(document.GetDocumentElement());
    };
    for (auto _ : state) {
        treeText += Measure([&] { load(DocumentBytes(), DocumentLength()); });
        const Times one = Measure([&] { load(fi.data(), static_cast<uint32_t>(fi.size())); });
        treeFi += one;
        CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
        readText += Measure([&] { order->FromXmlStream(DocumentBytes(), DocumentLength(), Context()); });
        order = new CPurchaseOrder;
        readFi += Measure([&] { order->FromXmlStream(fi.data(), static_cast<uint32_t>(fi.size()), Context()); });
        state.counters["items"] = order->GetItems()->GetCount();
        state.SetIterationTime(one.wall);
    }
    state.counters["fi_bytes_share"] = static_cast<double>(fi.size()) / DocumentLength();
    state.counters["tree_speedup"] = treeText.cpu / treeFi.cpu;
    state.counters["read_speedup"] = readText.cpu / readFi.cpu;
}
BENCHMARK(PoReadFastInfoset)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);


// What a program pays for one read: FromXmlStream into a new order and, later, the release of
// the order. `vs_expat` counts both; `read_vs_expat` the read alone and `release_share` the
// release's part of the whole.
void PoReadWhole(benchmark::State& state) {
    Times expat;
    Times read;
    Times release;
    for (auto _ : state) {
        expat += ParseWithRawExpat();
        CSmartPtr<CPurchaseOrder> order;
        const Times one = Measure([&] {
            order = new CPurchaseOrder;
            order->FromXmlStream(DocumentBytes(), DocumentLength(), Context());
        });
        const Times freed = Measure([&] { order = nullptr; });
        read += one;
        release += freed;
        state.SetIterationTime(one.wall + freed.wall);
    }
    Times whole = read;
    whole += release;
    state.SetBytesProcessed(static_cast<int64_t>(DocumentLength()) * state.iterations());
    state.counters["vs_expat"] = expat.cpu / whole.cpu;
    state.counters["vs_expat_wall"] = expat.wall / whole.wall;
    state.counters["read_vs_expat"] = expat.cpu / read.cpu;
    state.counters["release_share"] = release.cpu / whole.cpu;
}
BENCHMARK(PoReadWhole)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

// ------------------------------------------------------------------ writing

void PoWriteWide(benchmark::State& state) {
    CPurchaseOrder& order = LoadedOrder();
    size_t characters = 0;
    MeasureAgainstExpat(state, [&] {
        const std::wstring text = order.ToXml(true, true, EOLType_LF, Context());
        characters = text.size();
    });
    state.counters["output_chars"] = static_cast<double>(characters);
}
BENCHMARK(PoWriteWide)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

void PoWriteUtf8(benchmark::State& state) {
    CPurchaseOrder& order = LoadedOrder();
    uint32_t bytes = 0;
    MeasureAgainstExpat(state, [&] {
        const CBinaryData text =
            order.ToXmlStream(true, true, XmlEncoding_UTF8, EOLType_LF, Context(), CompressionType_None);
        bytes = text.GetLength();
        DumpOnce("po.xml", text);
    });
    state.counters["output_bytes"] = bytes;
}
BENCHMARK(PoWriteUtf8)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

// Where the time of a UTF-8 write goes: the same object tree walked with a writer that
// discards everything (descriptor dispatch, property reads into variants, facet checks and
// conversions to text, all of which still happen) against the full write. Counters: the
// model's share (the walk) and the text writer's share (the rest: markup, escaping, name
// scopes, encoding, the output buffer).
class CDiscardingWriter : public CXmlWriter {
public:
    CDiscardingWriter() : CXmlWriter(CInstanceMonitor::Resolve(L"CDiscardingWriter")) {}
    void WriteComment(const std::wstring&) override {}
    void WriteProcessingInstruction(const std::wstring&) override {}
    void WriteInlineSchema(const std::wstring&) override {}
    void StartElement(const std::wstring&, const std::wstring&) override {}
    void WriteElementValue(const std::wstring& value, ItemType) override { benchmark::DoNotOptimize(value.data()); }
    void EndElement() override {}
    void AddAttribute(const std::wstring&, const std::wstring&, const std::wstring& value, ItemType) override {
        benchmark::DoNotOptimize(value.data());
    }
    void AddXsiTypeAttribute(const std::wstring&, const std::wstring&, ItemType) override {}
    void AddXsiNilAttribute() override {}
};

// The walk a document write makes, reached the way the writing entry points reach it.
struct CTreeWalk : CXmlObjectBase {
    static void Run(const CXmlObjectBase& root, CXmlWriter& writer) {
        CXmlObjectBase::ToXml_Int(&root, &writer, true, GetTargetNamespace(&root).c_str(), Context(), false);
    }
};

void PoWriteSplit(benchmark::State& state) {
    CPurchaseOrder& order = LoadedOrder();
    Times walk;
    Times full;
    for (auto _ : state) {
        walk += Measure([&] {
            CDiscardingWriter writer;
            CTreeWalk::Run(order, writer);
        });
        const Times one = Measure([&] {
            const CBinaryData text =
                order.ToXmlStream(true, true, XmlEncoding_UTF8, EOLType_LF, Context(), CompressionType_None);
            benchmark::DoNotOptimize(text.GetData());
        });
        full += one;
        state.SetIterationTime(one.wall);
    }
    state.counters["model_share"] = walk.cpu / full.cpu;
    state.counters["writer_share"] = 1.0 - walk.cpu / full.cpu;
}
BENCHMARK(PoWriteSplit)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

// ------------------------------------------------------------------ files

// Runs the overlapped and the synchronous form of a file operation back to back in every
// iteration, alternating which goes first (the shared machine's speed drifts), with the
// overlapped mode the argument asks for. `run(overlapped)` is timed; `after()` is not.
template <class Run, class After>
void CompareWithSynchronous(benchmark::State& state, Run run, After after) {
    using QxXmlLib10::Platform::OverlappedMode;
    const OverlappedMode mode = state.range(0) == 0 ? OverlappedMode::Kernel : OverlappedMode::Synchronous;
    const OverlappedMode previous = QxXmlLib10::Platform::GetOverlappedMode();
    if (!QxXmlLib10::Platform::SetOverlappedModeForTesting(mode)) {
        state.SkipWithError("no asynchronous file transfers on this system");
        return;
    }
    const auto timed = [&](bool overlapped) {
        const Times one = Measure([&] { run(overlapped); });
        after();
        return one;
    };
    Times synchronous;
    Times overlapped;
    bool overlappedFirst = false;
    for (auto _ : state) {
        Times one;
        if (overlappedFirst) {
            one = timed(true);
            synchronous += timed(false);
        } else {
            synchronous += timed(false);
            one = timed(true);
        }
        overlappedFirst = !overlappedFirst;
        overlapped += one;
        state.SetIterationTime(one.wall);
    }
    QxXmlLib10::Platform::SetOverlappedModeForTesting(previous);
    state.SetLabel(mode == OverlappedMode::Kernel ? "io_uring" : "synchronous fallback");
    state.SetBytesProcessed(static_cast<int64_t>(DocumentLength()) * state.iterations());
    state.counters["overlapped_vs_sync"] = synchronous.wall / overlapped.wall;
    state.counters["overlapped_vs_sync_cpu"] = synchronous.cpu / overlapped.cpu;
}

std::wstring Wide(const std::string& path) { return std::wstring(path.begin(), path.end()); }

void PoFileLoad(benchmark::State& state) {
    Document();  // the file exists
    const std::wstring path = Wide(kDocumentPath);
    CSmartPtr<CPurchaseOrder> order;
    CompareWithSynchronous(
        state,
        [&](bool overlapped) {
            AsyncFromXmlFile(overlapped);
            order = new CPurchaseOrder;
            order->FromXmlFile(path.c_str(), Context());
            AsyncFromXmlFile(false);
        },
        [&] { order = nullptr; });
}
BENCHMARK(PoFileLoad)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(4.0);

void PoFileWrite(benchmark::State& state) {
    CPurchaseOrder& order = LoadedOrder();
    const std::string path = "/tmp/qxxml-bench-po-written-" + std::to_string(getpid()) + ".xml";
    const std::wstring widePath = Wide(path);
    CompareWithSynchronous(
        state,
        [&](bool overlapped) {
            AsyncToXmlFile(overlapped);
            order.ToXmlFile(widePath.c_str(), true, true, XmlEncoding_UTF8, EOLType_LF, Context(), CompressionType_None);
            AsyncToXmlFile(false);
        },
        [] {});
    std::remove(path.c_str());
}
BENCHMARK(PoFileWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(4.0);
// Fast Infoset against the UTF-8 XML write of the same tree, alternately in the same run.
// Argument 0: the default encoding table (all text as UTF-8); 1: the suggested table with the
// date and time kinds back to text (binary numbers and booleans, decimals in the numeric
// alphabet); 2: the default table, values of up to 32 characters indexed (as Java's serializer
// indexes them). Counters: vs_utf8 = UTF-8 write CPU / Fast Infoset write CPU, that is the
// document's bytes per second written as Fast Infoset over the same as UTF-8 text (the target
// is >= 1.5); output_rate_vs_utf8 = output bytes per second, Fast Infoset over UTF-8 (the same
// ratio times the size ratio of the two outputs); writer_vs_text_writer = the Fast Infoset writer's own share (its time less the walk
// of PoWriteSplit) over the text writer's; size_vs_input = Fast Infoset bytes / the input
// document's bytes.
void PoWriteFastInfoset(benchmark::State& state) {
    CPurchaseOrder& order = LoadedOrder();
    CXmlSerializationContext context = Context();
    if (state.range(0) == 2) {
        // Values indexed up to 32 characters, the limit Java's serializer indexes up to.
        context.GetFIContext().SetElementMaxAddLength(33);
        context.GetFIContext().SetAttributeMaxAddLength(33);
    }
    if (state.range(0) == 1) {
        CFastInfosetContext& fi = context.GetFIContext();
        fi.SetSuggestedValues();
        for (int type = ItemType_yearMonth; type <= ItemType_time; ++type)
            fi.SetEncoding(type, {FIEncodingKind_CharacterString, 0});
    }
    Times utf8, fastInfoset, walk;
    uint32_t bytes = 0;
    uint32_t textBytes = 0;
    for (auto _ : state) {
        walk += Measure([&] {
            CDiscardingWriter writer;
            CTreeWalk::Run(order, writer);
        });
        utf8 += Measure([&] {
            const CBinaryData text =
                order.ToXmlStream(true, true, XmlEncoding_UTF8, EOLType_LF, Context(), CompressionType_None);
            textBytes = text.GetLength();
        });
        const Times one = Measure([&] {
            const CBinaryData fi = order.ToFastInfosetStream(FInfoDecl_None, context, CompressionType_None);
            bytes = fi.GetLength();
            DumpOnce(state.range(0) == 0 ? "po-0.fi" : state.range(0) == 1 ? "po-1.fi" : "po-2.fi", fi);
        });
        fastInfoset += one;
        state.SetIterationTime(one.wall);
    }
    state.counters["vs_utf8"] = utf8.cpu / fastInfoset.cpu;
    state.counters["output_rate_vs_utf8"] = (bytes / fastInfoset.cpu) / (textBytes / utf8.cpu);
    state.counters["writer_vs_text_writer"] = (fastInfoset.cpu - walk.cpu) / (utf8.cpu - walk.cpu);
    state.counters["size_vs_input"] = static_cast<double>(bytes) / DocumentLength();
    state.counters["output_bytes"] = bytes;
}
BENCHMARK(PoWriteFastInfoset)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);
// ------------------------------------------------------------------ the open content's cost

// One read of the bytes and one UTF-8 write of what was read (the objects are released
// outside the timing).
Times ReadAndWrite(const std::vector<unsigned char>& bytes) {
    CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
    const Times times = Measure([&] {
        order->FromXmlStream(const_cast<unsigned char*>(bytes.data()), static_cast<uint32_t>(bytes.size()),
                             Context());
        const CBinaryData text =
            order->ToXmlStream(true, true, XmlEncoding_UTF8, EOLType_LF, Context(), CompressionType_None);
        benchmark::DoNotOptimize(text.GetData());
    });
    order = nullptr;
    return times;
}

void PoOpenContent(benchmark::State& state) {
    const std::vector<unsigned char> with = WithOpenContent(static_cast<int>(state.range(0)));
    const std::vector<unsigned char> without = WithOpenContent(0);
    Times withTimes;
    Times withoutTimes;
    for (auto _ : state) {
        withoutTimes += ReadAndWrite(without);
        const Times one = ReadAndWrite(with);
        withTimes += one;
        state.SetIterationTime(one.wall);
    }
    state.counters["cost"] = withTimes.cpu / withoutTimes.cpu;
    state.counters["cost_wall"] = withTimes.wall / withoutTimes.wall;
    state.counters["allowed"] = static_cast<double>(with.size()) / static_cast<double>(without.size());
    state.counters["open_bytes"] = static_cast<double>(with.size() - without.size());
}
BENCHMARK(PoOpenContent)->Arg(1)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(8.0);

// ------------------------------------------------------------------ peak memory

// Resident bytes of the process now (/proc/self/statm counts pages).
long ResidentBytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

// Gives every free page of the heap back to the system and restarts the peak resident size
// (getrusage's ru_maxrss) at the current size (Linux 4.0 and later), so that the peak seen
// afterwards is what the following work touches, not memory left over from earlier work.
bool RestartPeak() {
    malloc_trim(0);
    FILE* clear = std::fopen("/proc/self/clear_refs", "w");
    if (!clear) return false;
    const bool written = std::fputs("5", clear) >= 0;
    return std::fclose(clear) == 0 && written;
}

// Runs `prepare`, then `work`, in a forked child (its heap is a copy of this process's, so
// nothing here is disturbed) and returns the growth of the child's peak resident size over
// its resident size once prepared, in bytes; -1 when the peak cannot be restarted.
template <class Prepare, class Work>
double PeakGrowth(Prepare prepare, Work work) {
    int channel[2];
    if (pipe(channel) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        prepare();
        double growth = -1;
        if (RestartPeak()) {
            const long before = ResidentBytes();
            work();
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            growth = static_cast<double>(usage.ru_maxrss) * 1024.0 - static_cast<double>(before);
        }
        const ssize_t written = write(channel[1], &growth, sizeof growth);
        _exit(written == sizeof growth ? 0 : 1);
    }
    close(channel[1]);
    double growth = -1;
    if (read(channel[0], &growth, sizeof growth) != sizeof growth) growth = -1;
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return growth;
}

void PoPeakMemory(benchmark::State& state) {
    const double input = static_cast<double>(DocumentLength());
    LoadedOrder();  // the writing child starts with the object tree in place
    const auto nothing = [] {};
    double read = 0;
    double tree = 0;
    double objects = 0;
    double write = 0;
    for (auto _ : state) {
        read = PeakGrowth(nothing, [] {
            CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
            order->FromXmlStream(DocumentBytes(), DocumentLength(), Context());
        });
        tree = PeakGrowth(nothing, [] {
            CXmlDocument document(Context());
            document.LoadXmlStream(DocumentBytes(), DocumentLength());
        });
        // The objects alone: the tree is loaded before the measure starts.
        CXmlDocument* document = nullptr;
        objects = PeakGrowth(
            [&] {
                document = new CXmlDocument(Context());
                document->LoadXmlStream(DocumentBytes(), DocumentLength());
            },
            [&] {
                CSmartPtr<CPurchaseOrder> order(new CPurchaseOrder);
                order->FromXmlElement(document->GetDocumentElement(), Context());
            });
        write = PeakGrowth(nothing, [] {
            const CBinaryData text =
                LoadedOrder().ToXmlStream(true, true, XmlEncoding_UTF8, EOLType_LF, Context(), CompressionType_None);
            benchmark::DoNotOptimize(text.GetLength());
        });
    }
    state.counters["read_peak_per_input_byte"] = read / input;
    state.counters["tree_peak_per_input_byte"] = tree / input;
    state.counters["objects_per_input_byte"] = objects / input;
    state.counters["write_utf8_peak_per_input_byte"] = write / input;
}
BENCHMARK(PoPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

// XML output throughput: one synthetic purchase-order document of about 10 MB (nested
// elements, attributes in and out of namespaces, text that needs escaping) written through
// the entry points, next to a memcpy of the same bytes. Each entry point's "peak_MB" is the
// memory its serialization adds at its peak, measured once in a child process.
#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/SmartPtr.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/xmlout/XmlWriter.h>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace QxXmlLib10;

namespace {

// A document object holding its data the way a generated class holds properties.
class CBenchOrder : public CXmlObjectBase {
public:
    struct Line {
        std::wstring number, sku, description, quantity, price;
    };

    explicit CBenchOrder(size_t lines) {
        SetElementName(L"purchaseOrder");
        for (size_t i = 0; i < lines; ++i) {
            m_lines.push_back({std::to_wstring(i + 1), L"SKU-" + std::to_wstring(100000 + i),
                               L"Widget \"" + std::to_wstring(i % 97) + L"\" & gadget <large> caf\u00e9",
                               std::to_wstring(i % 12 + 1), std::to_wstring(i % 1000) + L".95"});
        }
    }

    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return kPo; }

protected:
    std::wstring GetTargetNamespace() const override { return kPo; }

    void ToXml_Int(CXmlWriter* w, bool isRoot, const wchar_t*, const CXmlSerializationContext&, bool) const override {
        if (isRoot) {
            w->SetDefaultNamespace(kPo);
            w->AddNamespace(kXsiPrefix, CXmlWriter::kInstanceNamespace);
        }
        w->StartElement(kRoot, kPo);
        w->AddAttribute(kOrderDate, kEmpty, kDate, ItemType_date);
        w->StartElement(kShipTo, kPo);
        w->AddAttribute(kCountry, kEmpty, kUs, ItemType_string);
        w->StartElement(kName, kPo);
        w->WriteElementValue(kShipName, ItemType_string);
        w->EndElement();
        w->EndElement();
        w->StartElement(kItems, kPo);
        for (const Line& line : m_lines) {
            w->StartElement(kItem, kPo);
            w->AddAttribute(kPartNum, kEmpty, line.sku, ItemType_string);
            w->AddAttribute(kLineNo, kExt, line.number, ItemType_i4);  // another namespace
            w->StartElement(kProductName, kPo);
            w->WriteElementValue(line.description, ItemType_string);
            w->EndElement();
            w->StartElement(kQuantity, kPo);
            w->WriteElementValue(line.quantity, ItemType_i4);
            w->EndElement();
            w->StartElement(kPrice, kPo);
            w->WriteElementValue(line.price, ItemType_decimal);
            w->EndElement();
            w->StartElement(kComment, kEmpty);
            w->AddXsiNilAttribute();
            w->EndElement();
            w->EndElement();
        }
        w->EndElement();
        w->EndElement();
    }

    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&, bool) override {
        return firstChild;
    }

private:
    static const std::wstring kPo, kExt, kEmpty, kXsiPrefix, kRoot, kOrderDate, kDate, kShipTo, kCountry, kUs, kName,
        kShipName, kItems, kItem, kPartNum, kLineNo, kProductName, kQuantity, kPrice, kComment;
    std::vector<Line> m_lines;
};

const std::wstring CBenchOrder::kPo = L"http://www.example.com/PO1", CBenchOrder::kExt = L"urn:example:ext",
                   CBenchOrder::kEmpty, CBenchOrder::kXsiPrefix = L"xsi", CBenchOrder::kRoot = L"purchaseOrder",
                   CBenchOrder::kOrderDate = L"orderDate", CBenchOrder::kDate = L"1999-10-20",
                   CBenchOrder::kShipTo = L"shipTo", CBenchOrder::kCountry = L"country", CBenchOrder::kUs = L"US",
                   CBenchOrder::kName = L"name", CBenchOrder::kShipName = L"Alice Smith & Sons",
                   CBenchOrder::kItems = L"items", CBenchOrder::kItem = L"item", CBenchOrder::kPartNum = L"partNum",
                   CBenchOrder::kLineNo = L"line", CBenchOrder::kProductName = L"productName",
                   CBenchOrder::kQuantity = L"quantity", CBenchOrder::kPrice = L"USPrice",
                   CBenchOrder::kComment = L"comment";

constexpr size_t kLines = 40000;  // about 10 MB of UTF-8

CBenchOrder& Order() {
    static CSmartPtr<CBenchOrder> order(new CBenchOrder(kLines));
    return *order;
}

const std::string& Utf8Document() {
    static const std::string bytes = [] {
        const CBinaryData data = Order().ToXmlStream(true, true, XmlEncoding_UTF8, EOLType_LF,
                                                     CXmlSerializationContext::GetDefaultContext(),
                                                     CompressionType_None);
        return std::string(reinterpret_cast<const char*>(data.GetData()), data.GetLength());
    }();
    return bytes;
}

std::string FilePath() { return "/tmp/qxxml-xmlout-bench-" + std::to_string(getpid()) + ".xml"; }
std::wstring WideFilePath() {
    const std::string path = FilePath();
    return std::wstring(path.begin(), path.end());
}

// The serializations measured, by name.
const std::map<std::string, std::function<void()>>& Operations() {
    static const std::map<std::string, std::function<void()>> operations = {
        {"wide", [] { benchmark::DoNotOptimize(Order().ToXml(true, true, EOLType_LF, CXmlSerializationContext::GetDefaultContext())); }},
        {"utf8", [] { benchmark::DoNotOptimize(Order().ToXmlStream(true, true, XmlEncoding_UTF8, EOLType_LF, CXmlSerializationContext::GetDefaultContext(), CompressionType_None)); }},
        {"gzip", [] { benchmark::DoNotOptimize(Order().ToXmlStream(true, true, XmlEncoding_UTF8, EOLType_LF, CXmlSerializationContext::GetDefaultContext(), CompressionType_GZip)); }},
        {"file_memory", [] {
             AsyncToXmlFile(false);
             Order().ToXmlFile(WideFilePath().c_str(), true, true, XmlEncoding_UTF8, EOLType_LF, CXmlSerializationContext::GetDefaultContext(), CompressionType_None);
         }},
        {"file_async", [] {
             AsyncToXmlFile(true);
             Order().ToXmlFile(WideFilePath().c_str(), true, true, XmlEncoding_UTF8, EOLType_LF, CXmlSerializationContext::GetDefaultContext(), CompressionType_None);
             AsyncToXmlFile(false);
         }},
    };
    return operations;
}

// Memory each operation adds at its peak, in MB: each runs once in a child process (forked
// before this process has started any overlapped I/O) that reports its high-water mark
// minus the one it started with.
const std::map<std::string, double>& PeakMegabytes() {
    static const std::map<std::string, double> peaks = [] {
        Utf8Document();  // the document object exists before any fork
        std::map<std::string, double> result;
        for (const auto& op : Operations()) {
            int pipeFds[2];
            if (pipe(pipeFds) != 0) continue;
            const pid_t pid = fork();
            if (pid == 0) {
                struct rusage before, after;
                getrusage(RUSAGE_SELF, &before);
                op.second();
                getrusage(RUSAGE_SELF, &after);
                const double added = (after.ru_maxrss - before.ru_maxrss) / 1024.0;
                (void)!write(pipeFds[1], &added, sizeof added);
                _exit(0);
            }
            close(pipeFds[1]);
            double added = -1;
            if (read(pipeFds[0], &added, sizeof added) == sizeof added) result[op.first] = added;
            close(pipeFds[0]);
            waitpid(pid, nullptr, 0);
        }
        return result;
    }();
    return peaks;
}

void Report(benchmark::State& state, const char* operation) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Utf8Document().size()));
    const auto& peaks = PeakMegabytes();
    const auto found = peaks.find(operation);
    if (found != peaks.end()) state.counters["peak_MB"] = found->second;
    state.counters["doc_MB"] = Utf8Document().size() / 1e6;
}

void RunOperation(benchmark::State& state, const char* operation) {
    PeakMegabytes();  // measured first, before this process does any file I/O
    const std::function<void()>& run = Operations().at(operation);
    for (auto _ : state) run();
    Report(state, operation);
    std::remove(FilePath().c_str());
}

void BM_Memcpy(benchmark::State& state) {
    PeakMegabytes();
    const std::string& source = Utf8Document();
    std::vector<char> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    Report(state, "memcpy");
}

void BM_ToXml_WideString(benchmark::State& state) { RunOperation(state, "wide"); }
void BM_ToXmlStream_Utf8(benchmark::State& state) { RunOperation(state, "utf8"); }
void BM_ToXmlStream_Gzip(benchmark::State& state) { RunOperation(state, "gzip"); }
void BM_ToXmlFile_InMemory(benchmark::State& state) { RunOperation(state, "file_memory"); }
void BM_ToXmlFile_Overlapped(benchmark::State& state) { RunOperation(state, "file_async"); }

}  // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToXml_WideString)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToXmlStream_Utf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToXmlStream_Gzip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToXmlFile_InMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToXmlFile_Overlapped)->Unit(benchmark::kMillisecond);

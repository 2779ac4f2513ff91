// collections_bench.cpp - collections of 100 000 items, next to the standard containers and
// the C library doing the same work in the same run.
//
//   ObjectCol/AppendIterateClear   CXmlCollection: append 100k existing objects, walk them,
//                                  clear (every removal through the notification path)
//   Ref_StdList_...                std::list<CSmartPtr<>> doing the same (one allocation per node)
//   I4Col/AddIterateClear          Ci4Col: Add (with the facet check) 100k values, iterate, Clear
//   Ref_StdVectorI4_...            std::vector<int32_t>: push_back, iterate, clear
//   StringCol/AddIterateClear      CstringCol with 100k prepared strings (copied in)
//   Ref_StdVectorString_...        std::vector<std::wstring> copying the same strings
//   I4Col/Write                    ToXml_Int of 100k values through CXmlTextWriter into memory
//   Ref_Swprintf_Write             swprintf of the same elements into one wide buffer
//   I4Col/LoadAndRead              CXmlDocument::LoadXml of the written text, then FromXml_Int
//   I4Col/ReadFromTree             FromXml_Int alone over an already loaded tree
//   Ref_RawExpat_Read              expat on the same text as UTF-8, wcstol on each item's text
// Every benchmark reports time_per_item (CPU time per item: "24.8n" is 24.8 ns).
#include <benchmark/benchmark.h>

#include <qxxml/collections/TypedCollections.h>
#include <qxxml/collections/XmlCollection.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlout/TextStream.h>
#include <qxxml/xmlout/UtfEncoding.h>
#include <qxxml/xmlout/XmlTextWriter.h>

#include <expat.h>

#include <cstdlib>
#include <cwchar>
#include <list>
#include <string>
#include <vector>

namespace {

using namespace QxXmlLib10;

constexpr int kItems = 100000;

void ReportPerItem(benchmark::State& state) {
    state.counters["time_per_item"] = benchmark::Counter(
        static_cast<double>(kItems), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// ------------------------------------------------------------------ objects

class CBenchItem : public CXmlObjectBase {
public:
    explicit CBenchItem(int id) : m_id(id) {}
    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return std::wstring(); }
    int m_id;

protected:
    std::wstring GetTargetNamespace() const override { return std::wstring(); }
    void ToXml_Int(CXmlWriter*, bool, const wchar_t*, const CXmlSerializationContext&, bool) const override {}
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&,
                             bool) override {
        return firstChild;
    }
};

class CBenchItemCol : public CXmlCollection {
public:
    CBenchItemCol() : CXmlCollection(L"item", L"", 0, -1) {}
    void Add(CBenchItem* item) { AppendItem(item); }
    CNodeIterator<CBenchItem> begin() const { return CNodeIterator<CBenchItem>(m_pHead); }
    CNodeIterator<CBenchItem> end() const { return CNodeIterator<CBenchItem>(nullptr); }

protected:
    void ToXml_Int(CXmlWriter*, bool, const wchar_t*, const CXmlSerializationContext&, bool) const override {}
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&,
                             bool) override {
        return firstChild;
    }
};

const std::vector<CSmartPtr<CBenchItem>>& Items() {
    static const std::vector<CSmartPtr<CBenchItem>> items = [] {
        std::vector<CSmartPtr<CBenchItem>> made;
        for (int i = 0; i < kItems; ++i) made.emplace_back(new CBenchItem(i));
        return made;
    }();
    return items;
}

void ObjectCol_AppendIterateClear(benchmark::State& state) {
    const auto& items = Items();
    CSmartPtr<CBenchItemCol> col(new CBenchItemCol);
    for (auto _ : state) {
        for (const auto& item : items) col->Add(item);
        long long sum = 0;
        for (CBenchItem* item : *col) sum += item->m_id;
        benchmark::DoNotOptimize(sum);
        col->Clear();
    }
    ReportPerItem(state);
}
BENCHMARK(ObjectCol_AppendIterateClear)->Unit(benchmark::kMillisecond);

void Ref_StdList_AppendIterateClear(benchmark::State& state) {
    const auto& items = Items();
    std::list<CSmartPtr<CXmlObjectBase>> list;
    for (auto _ : state) {
        for (const auto& item : items) list.emplace_back(item.Get());
        long long sum = 0;
        for (const auto& item : list) sum += static_cast<CBenchItem*>(item.Get())->m_id;
        benchmark::DoNotOptimize(sum);
        list.clear();
    }
    ReportPerItem(state);
}
BENCHMARK(Ref_StdList_AppendIterateClear)->Unit(benchmark::kMillisecond);

// ------------------------------------------------------------------ typed values

template <class Collection>
Collection* NewCollection(const wchar_t* name, const wchar_t* minInclusive = nullptr) {
    return new Collection(name, L"urn:bench", 0, -1, nullptr, -1, -1, minInclusive, nullptr, nullptr, nullptr, -1,
                          CWhitespaceUtils::WhitespaceRule_Collapse, nullptr);
}

template <class Collection>
class Exposed : public Collection {
public:
    using Collection::Collection;
    using Collection::FromXml_Int;
    using Collection::ToXml_Int;
};

void I4Col_AddIterateClear(benchmark::State& state) {
    CSmartPtr<Ci4Col> col(NewCollection<Ci4Col>(L"n", state.range(0) ? L"-2147483648" : nullptr));
    for (auto _ : state) {
        for (int i = 0; i < kItems; ++i) col->Add(i);
        long long sum = 0;
        for (int32_t v : *col) sum += v;
        benchmark::DoNotOptimize(sum);
        col->Clear();
    }
    ReportPerItem(state);
}
BENCHMARK(I4Col_AddIterateClear)->ArgName("minInclusive")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void Ref_StdVectorI4_AddIterateClear(benchmark::State& state) {
    std::vector<int32_t> values;
    for (auto _ : state) {
        for (int i = 0; i < kItems; ++i) values.push_back(i);
        long long sum = 0;
        for (int32_t v : values) sum += v;
        benchmark::DoNotOptimize(sum);
        values.clear();
        values.shrink_to_fit();  // the collection gives its memory back on Clear as well
    }
    ReportPerItem(state);
}
BENCHMARK(Ref_StdVectorI4_AddIterateClear)->Unit(benchmark::kMillisecond);

const std::vector<std::wstring>& Strings() {
    static const std::vector<std::wstring> strings = [] {
        std::vector<std::wstring> made;
        for (int i = 0; i < kItems; ++i) made.push_back(L"item number " + std::to_wstring(i));
        return made;
    }();
    return strings;
}

void StringCol_AddIterateClear(benchmark::State& state) {
    const auto& strings = Strings();
    CSmartPtr<CstringCol> col(NewCollection<CstringCol>(L"s"));
    for (auto _ : state) {
        for (const auto& s : strings) col->Add(s);
        size_t length = 0;
        for (const std::wstring& s : *col) length += s.size();
        benchmark::DoNotOptimize(length);
        col->Clear();
    }
    ReportPerItem(state);
}
BENCHMARK(StringCol_AddIterateClear)->Unit(benchmark::kMillisecond);

void Ref_StdVectorString_AddIterateClear(benchmark::State& state) {
    const auto& strings = Strings();
    std::vector<std::wstring> values;
    for (auto _ : state) {
        for (const auto& s : strings) values.push_back(s);
        size_t length = 0;
        for (const std::wstring& s : values) length += s.size();
        benchmark::DoNotOptimize(length);
        values.clear();
        values.shrink_to_fit();
    }
    ReportPerItem(state);
}
BENCHMARK(Ref_StdVectorString_AddIterateClear)->Unit(benchmark::kMillisecond);

// ------------------------------------------------------------------ writing and reading

int32_t Value(int i) { return (i * 7919) % 2000003 - 1000000; }

Exposed<Ci4Col>* FilledI4() {
    Exposed<Ci4Col>* col = NewCollection<Exposed<Ci4Col>>(L"n");
    for (int i = 0; i < kItems; ++i) col->Add(Value(i));
    return col;
}

std::wstring WriteDocument(const Exposed<Ci4Col>& col, CTextStream& stream) {
    CXmlTextWriter writer(&stream);
    writer.SetFormatting(false);
    writer.StartDocument();
    writer.SetDefaultNamespace(L"urn:bench");
    writer.StartElement(L"root", L"urn:bench");
    col.ToXml_Int(&writer, false, L"urn:bench", CXmlSerializationContext::GetDefaultContext(), false);
    writer.EndElement();
    writer.EndDocument();
    return stream.TakeText();
}

void I4Col_Write(benchmark::State& state) {
    CSmartPtr<Exposed<Ci4Col>> col(FilledI4());
    size_t length = 0;
    for (auto _ : state) {
        CTextStream stream;
        length = WriteDocument(*col, stream).size();
    }
    state.counters["chars"] = static_cast<double>(length);
    ReportPerItem(state);
}
BENCHMARK(I4Col_Write)->Unit(benchmark::kMillisecond);

void Ref_Swprintf_Write(benchmark::State& state) {
    std::vector<wchar_t> buffer(static_cast<size_t>(kItems) * 32 + 64);
    for (auto _ : state) {
        wchar_t* out = buffer.data();
        out += std::swprintf(out, 64, L"<root xmlns=\"urn:bench\">");
        for (int i = 0; i < kItems; ++i) out += std::swprintf(out, 32, L"<n>%d</n>", Value(i));
        out += std::swprintf(out, 16, L"</root>");
        benchmark::DoNotOptimize(out);
    }
    ReportPerItem(state);
}
BENCHMARK(Ref_Swprintf_Write)->Unit(benchmark::kMillisecond);

const std::wstring& WrittenText() {
    static const std::wstring text = [] {
        CSmartPtr<Exposed<Ci4Col>> col(FilledI4());
        CTextStream stream;
        return WriteDocument(*col, stream);
    }();
    return text;
}

void I4Col_LoadAndRead(benchmark::State& state) {
    const std::wstring& text = WrittenText();
    const CXmlSerializationContext& context = CXmlSerializationContext::GetDefaultContext();
    CSmartPtr<Exposed<Ci4Col>> col(NewCollection<Exposed<Ci4Col>>(L"n"));
    for (auto _ : state) {
        col->Clear();
        CXmlDocument document(context);
        document.LoadXml(text.c_str());
        CXmlElement* root = document.GetDocumentElement();
        benchmark::DoNotOptimize(col->FromXml_Int(root, root->GetFirstElement(), context, false));
    }
    if (col->GetCount() != kItems) state.SkipWithError("wrong item count");
    ReportPerItem(state);
}
BENCHMARK(I4Col_LoadAndRead)->Unit(benchmark::kMillisecond);

void I4Col_ReadFromTree(benchmark::State& state) {
    const CXmlSerializationContext& context = CXmlSerializationContext::GetDefaultContext();
    CXmlDocument document(context);
    document.LoadXml(WrittenText().c_str());
    CXmlElement* root = document.GetDocumentElement();
    CSmartPtr<Exposed<Ci4Col>> col(NewCollection<Exposed<Ci4Col>>(L"n"));
    for (auto _ : state) {
        col->Clear();
        benchmark::DoNotOptimize(col->FromXml_Int(root, root->GetFirstElement(), context, false));
    }
    if (col->GetCount() != kItems) state.SkipWithError("wrong item count");
    ReportPerItem(state);
}
BENCHMARK(I4Col_ReadFromTree)->Unit(benchmark::kMillisecond);

// Raw expat with namespaces, collecting each item's text and converting it with wcstol.
struct ExpatItems {
    std::wstring text;
    bool inItem = false;
    long long sum = 0;
    int count = 0;
};

void Ref_RawExpat_Read(benchmark::State& state) {
    std::string utf8;
    AppendUtf8(utf8, WrittenText().data(), WrittenText().size());
    for (auto _ : state) {
        ExpatItems items;
        XML_Parser parser = XML_ParserCreateNS(nullptr, '|');
        XML_SetUserData(parser, &items);
        XML_SetElementHandler(
            parser,
            [](void* data, const XML_Char*, const XML_Char**) {
                auto* items = static_cast<ExpatItems*>(data);
                items->inItem = true;
                items->text.clear();
            },
            [](void* data, const XML_Char*) {
                auto* items = static_cast<ExpatItems*>(data);
                if (!items->inItem) return;
                items->sum += std::wcstol(items->text.c_str(), nullptr, 10);
                ++items->count;
                items->inItem = false;
            });
        XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* s, int length) {
            auto* items = static_cast<ExpatItems*>(data);
            if (items->inItem) AppendWideFromUtf8(items->text, s, static_cast<size_t>(length));
        });
        XML_Parse(parser, utf8.data(), static_cast<int>(utf8.size()), 1);
        XML_ParserFree(parser);
        benchmark::DoNotOptimize(items.sum);
        if (items.count != kItems) state.SkipWithError("wrong item count");
    }
    ReportPerItem(state);
}
BENCHMARK(Ref_RawExpat_Read)->Unit(benchmark::kMillisecond);

}  // namespace

// CStringBuffer round trip: append a large text in element-sized pieces, then take the whole
// text back with GetString(). The reference is memcpy of the same characters into a reused
// destination, measured in the same run.
#include <qxxml/xmlout/StringBuffer.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace QxXmlLib10;

constexpr size_t kTotalChars = 4u << 20;  // 4 Mi characters (16 MiB of wchar_t here)
constexpr size_t kPiece = 37;             // about one short element's worth of text

const std::wstring& Piece() {
    static const std::wstring piece = [] {
        std::wstring p;
        for (size_t i = 0; i < kPiece; ++i) p += static_cast<wchar_t>(L'a' + i % 26);
        return p;
    }();
    return piece;
}

void SetBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(kTotalChars * sizeof(wchar_t)));
}

void BM_StringBuffer_AppendAndGetString(benchmark::State& state) {
    const std::wstring& piece = Piece();
    for (auto _ : state) {
        CStringBuffer buffer;
        for (size_t n = 0; n < kTotalChars; n += kPiece) buffer.Append(piece.data(), piece.size());
        benchmark::DoNotOptimize(buffer.GetString());
    }
    SetBytes(state);
}
BENCHMARK(BM_StringBuffer_AppendAndGetString)->Unit(benchmark::kMillisecond);

// The same pieces copied one by one into a destination that is reused across iterations:
// the bandwidth floor for moving this text.
void BM_Reference_MemcpyPieces(benchmark::State& state) {
    const std::wstring& piece = Piece();
    std::vector<wchar_t> destination(kTotalChars + kPiece);
    for (auto _ : state) {
        wchar_t* out = destination.data();
        for (size_t n = 0; n < kTotalChars; n += kPiece, out += kPiece)
            std::memcpy(out, piece.data(), kPiece * sizeof(wchar_t));
        benchmark::DoNotOptimize(destination.data());
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}
BENCHMARK(BM_Reference_MemcpyPieces)->Unit(benchmark::kMillisecond);

// The same with a fresh destination each time, as a buffer built per document has.
void BM_Reference_MemcpyPiecesFreshMemory(benchmark::State& state) {
    const std::wstring& piece = Piece();
    for (auto _ : state) {
        std::vector<wchar_t> destination(kTotalChars + kPiece);
        wchar_t* out = destination.data();
        for (size_t n = 0; n < kTotalChars; n += kPiece, out += kPiece)
            std::memcpy(out, piece.data(), kPiece * sizeof(wchar_t));
        benchmark::DoNotOptimize(destination.data());
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}
BENCHMARK(BM_Reference_MemcpyPiecesFreshMemory)->Unit(benchmark::kMillisecond);

}  // namespace

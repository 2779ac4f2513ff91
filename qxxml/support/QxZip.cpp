#include <qxxml/support/QxZip.h>

#include <qxxml/support/QxException.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/values/FormatString.h>

#include <zlib.h>

#include <cassert>
#include <cstring>
#include <limits>
#include <memory>

namespace QxXmlLib10 {

namespace {

constexpr int kCompressionLevel = 1;  // speed over ratio: documents are written on hot paths
constexpr int kGzipWindowBits = 15 + 16;
constexpr int kAutoDetectWindowBits = 15 + 32;  // accept a zlib or a gzip header
constexpr int kMemoryLevel = 8;
// zlib writes the operating system it was built for into a gzip header (3 on Unix, 10 on
// Windows). Ours says "unknown", so that the same document compresses to the same bytes
// wherever it is written.
constexpr int kGzipOsUnknown = 255;
constexpr uInt kInflateChunk = 0x10000;

// Owns a z_stream between its init and end calls.
struct DeflateStream {
    z_stream s{};
    gz_header gzipHeader{};  // read by deflate until the header is out, so it lives here
    bool open = false;
    ~DeflateStream() {
        if (open) deflateEnd(&s);
    }
};

struct InflateStream {
    z_stream s{};
    bool open = false;
    ~InflateStream() {
        if (open) inflateEnd(&s);
    }
};

// A growing new[] array, handed to the caller without a final copy.
class ByteArrayBuilder {
public:
    bool Append(const unsigned char* bytes, size_t count) {
        if (count == 0) return true;
        if (count > std::numeric_limits<uint32_t>::max() - m_length) return false;  // beyond 4 GiB
        const size_t needed = m_length + count;
        if (needed > m_capacity) {
            size_t capacity = m_capacity ? m_capacity : kInflateChunk;
            while (capacity < needed) capacity *= 2;
            std::unique_ptr<unsigned char[]> grown(new unsigned char[capacity]);
            if (m_length) std::memcpy(grown.get(), m_data.get(), m_length);
            m_data = std::move(grown);
            m_capacity = capacity;
        }
        std::memcpy(m_data.get() + m_length, bytes, count);
        m_length = needed;
        return true;
    }
    uint32_t Length() const { return static_cast<uint32_t>(m_length); }
    unsigned char* Release() {
        if (!m_data) m_data.reset(new unsigned char[1]);  // an empty stream still yields an array
        return m_data.release();
    }

private:
    std::unique_ptr<unsigned char[]> m_data;
    size_t m_length = 0;
    size_t m_capacity = 0;
};

}  // namespace

CInstanceMonitor::ClassType* CQxZip::MonitorRecord() {
    static CInstanceMonitor::ClassType* record = CInstanceMonitor::Resolve(L"CQxZip");
    return record;
}

CQxZip::CQxZip() : CInstanceMonitor(MonitorRecord()) {}
CQxZip::CQxZip(const CQxZip& other) : CInstanceMonitor(other) {}
CQxZip::~CQxZip() = default;

void CQxZip::Compress(unsigned char** data, uint32_t* length, CompressionType type) {
    if (type != CompressionType_GZip && type != CompressionType_ZLib) return;

    // The output may be no larger than the input: a form that would grow fails below.
    std::unique_ptr<unsigned char[]> output(new unsigned char[*length ? *length : 1]);

    DeflateStream stream;
    const int init = type == CompressionType_GZip
                         ? deflateInit2(&stream.s, kCompressionLevel, Z_DEFLATED, kGzipWindowBits,
                                        kMemoryLevel, Z_DEFAULT_STRATEGY)
                         : deflateInit(&stream.s, kCompressionLevel);
    if (init != Z_OK) throw CQxException(FormatString(L"Failed to compress data. [Error Code: %d]", init));
    stream.open = true;
    if (type == CompressionType_GZip) {
        stream.gzipHeader.os = kGzipOsUnknown;
        deflateSetHeader(&stream.s, &stream.gzipHeader);
    }

    stream.s.next_in = *data;
    stream.s.avail_in = *length;
    stream.s.next_out = output.get();
    stream.s.avail_out = *length;
    // With an output no larger than the input, the no-flush call leaves input unconsumed only
    // when the output is already full, i.e. for data deflate cannot shrink; the finishing call
    // then reports that, so this is a failure to raise, not an assertion.
    deflate(&stream.s, Z_NO_FLUSH);
    const int finish = deflate(&stream.s, Z_FINISH);
    const uLong produced = stream.s.total_out;
    deflateEnd(&stream.s);
    stream.open = false;

    if (finish != Z_STREAM_END)
        throw CQxException(FormatString(L"Failed to compress data. [Error Code: %d]", finish));
    delete[] *data;
    *data = output.release();
    *length = static_cast<uint32_t>(produced);
}

void CQxZip::Compress(CBinaryData& data, CompressionType type) {
    if (data.GetLength() == 0 || (type != CompressionType_GZip && type != CompressionType_ZLib)) return;
    uint32_t length = data.GetLength();
    unsigned char* bytes = data.ReleaseData();
    try {
        Compress(&bytes, &length, type);
    } catch (...) {
        data = CBinaryData(bytes, length, true);  // the caller keeps its data
        throw;
    }
    data = CBinaryData(bytes, length, true);
}

void CQxZip::Decompress(unsigned char** data, uint32_t* length) {
    std::unique_ptr<unsigned char[]> work(new unsigned char[kInflateChunk]);
    ByteArrayBuilder inflated;

    InflateStream stream;
    if (inflateInit2(&stream.s, kAutoDetectWindowBits) != Z_OK) return;
    stream.open = true;

    // zlib never reads past avail_in, so a truncated stream cannot make it over-read.
    stream.s.next_in = *data;
    stream.s.avail_in = *length;
    int result = Z_OK;
    while (result == Z_OK) {
        stream.s.next_out = work.get();
        stream.s.avail_out = kInflateChunk;
        result = inflate(&stream.s, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END) break;
        if (!inflated.Append(work.get(), kInflateChunk - stream.s.avail_out)) {
            result = Z_MEM_ERROR;  // larger than a byte length can say: keep the input
            break;
        }
    }
    const uLong totalOut = stream.s.total_out;
    inflateEnd(&stream.s);
    stream.open = false;

    if (result != Z_STREAM_END) return;
    assert(inflated.Length() == totalOut && "bdDecompressed.GetLength() == d_stream.total_out");
    (void)totalOut;
    delete[] *data;
    *length = inflated.Length();
    *data = inflated.Release();
}

}  // namespace QxXmlLib10

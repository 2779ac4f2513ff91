// QxZip.h - CQxZip, deflate compression of byte output and automatic inflation of byte input.
//
// Output may be wrapped in a gzip or a zlib container; input is offered to Decompress, which
// recognises either container by itself and leaves anything else (plain XML, Fast Infoset,
// a truncated stream) exactly as it was:
//
//   CQxZip zip;
//   CBinaryData bytes = ...;
//   zip.Compress(bytes, CompressionType_GZip);     // throws if deflate cannot make it smaller
//
//   unsigned char* data = ...;  uint32_t length = ...;   // owned, allocated with new[]
//   zip.Decompress(&data, &length);                // replaced only if it was a whole stream
//
// Compression uses level 1 and an output buffer of exactly the input length, so data that
// deflate cannot shrink fails with "Failed to compress data. [Error Code: %d]".
#pragma once

#include <qxxml/core/SerializationEnums.h>
#include <qxxml/support/Export.h>
#include <qxxml/support/InstanceMonitor.h>

#include <cstdint>

namespace QxXmlLib10 {

class CBinaryData;

class QXXML_API CQxZip : private CInstanceMonitor {
public:
    CQxZip();
    CQxZip(const CQxZip& other);
    ~CQxZip();

    // `*data` (allocated with new[]) and `*length` are replaced by the compressed array and
    // its size; the input array is freed. CompressionType_GZip and CompressionType_ZLib select
    // the container; any other type leaves the data untouched. On failure (CQxException) the
    // caller's data is left as it was.
    void Compress(unsigned char** data, uint32_t* length, CompressionType type);
    // The same on a buffer; an empty buffer is left unchanged.
    void Compress(CBinaryData& data, CompressionType type);

    // If `*data` holds a complete gzip or zlib stream, it is freed and replaced by the inflated
    // bytes (allocated with new[]); otherwise both values are left unchanged. Never throws for
    // bad input: anything that is not a whole stream is treated as uncompressed.
    void Decompress(unsigned char** data, uint32_t* length);

private:
    static CInstanceMonitor::ClassType* MonitorRecord();
};

}  // namespace QxXmlLib10

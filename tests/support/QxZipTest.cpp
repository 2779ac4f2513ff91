#include <qxxml/support/QxException.h>
#include <qxxml/support/QxZip.h>
#include <qxxml/values/BinaryData.h>

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace QxXmlLib10;
using namespace qxxml_test;

namespace {

// An owned new[] copy of the bytes, as CQxZip's array form takes them.
struct OwnedBytes {
    explicit OwnedBytes(const std::string& bytes)
        : data(new unsigned char[bytes.size() ? bytes.size() : 1]), length(static_cast<uint32_t>(bytes.size())) {
        std::memcpy(data, bytes.data(), bytes.size());
    }
    ~OwnedBytes() { delete[] data; }
    std::string Str() const { return std::string(reinterpret_cast<const char*>(data), length); }
    unsigned char* data;
    uint32_t length;
};

std::string RepetitiveXml(size_t items) {
    std::string xml = "<?xml version=\"1.0\"?><list>";
    for (size_t i = 0; i < items; ++i) xml += "<item n=\"" + std::to_string(i % 97) + "\">text &amp; more</item>";
    return xml + "</list>";
}

// What python's `code` makes of the input: it finds the bytes in `data` and leaves its answer
// in `result`.
std::string PythonTransform(const std::string& code, const std::string& input) {
    return PythonFilter("import sys, zlib, gzip\ndata = open(sys.argv[1], 'rb').read()\n" + code +
                            "\nopen(sys.argv[2], 'wb').write(result)\n",
                        input);
}

std::string CompressMessage(OwnedBytes& bytes, CompressionType type) {
    try {
        CQxZip().Compress(&bytes.data, &bytes.length, type);
    } catch (const CQxException& e) {
        return Narrow(e.GetMessageW());
    }
    return "<no exception>";
}

}  // namespace

TEST(QxZip, GzipAndZlibOutputInflateWithPython) {
    const std::string xml = RepetitiveXml(2000);
    OwnedBytes gz(xml), zl(xml);
    CQxZip zip;
    zip.Compress(&gz.data, &gz.length, CompressionType_GZip);
    zip.Compress(&zl.data, &zl.length, CompressionType_ZLib);
    EXPECT_LT(gz.length, xml.size() / 4);
    EXPECT_EQ(0x1f, gz.data[0]);
    EXPECT_EQ(0x8b, gz.data[1]);
    EXPECT_EQ(0x78, zl.data[0]);  // zlib header: deflate, 32 KiB window
    EXPECT_EQ(xml, PythonTransform("result = gzip.decompress(data)", gz.Str()));
    EXPECT_EQ(xml, PythonTransform("result = zlib.decompress(data)", zl.Str()));
}

TEST(QxZip, StreamsMadeByPythonInflate) {
    const std::string xml = RepetitiveXml(30000);  // several 64 KiB work buffers
    for (const char* code : {"result = gzip.compress(data, 9, mtime=0)", "result = zlib.compress(data, 6)",
                             "result = gzip.compress(data, 0, mtime=0)"}) {
        OwnedBytes packed(PythonTransform(code, xml));
        ASSERT_GT(packed.length, 0u);
        CQxZip().Decompress(&packed.data, &packed.length);
        EXPECT_EQ(xml.size(), packed.length) << code;
        EXPECT_TRUE(xml == packed.Str()) << code;
    }
}

TEST(QxZip, IncompressibleDataFailsAndIsKept) {
    // Already-deflated bytes cannot shrink again.
    const std::string random = PythonTransform("import random\nrandom.seed(7)\n"
                                               "result = bytes(random.getrandbits(8) for _ in range(200000))",
                                               "");
    ASSERT_EQ(200000u, random.size());
    for (CompressionType type : {CompressionType_GZip, CompressionType_ZLib}) {
        OwnedBytes bytes(random);
        const unsigned char* before = bytes.data;
        const std::string message = CompressMessage(bytes, type);
        EXPECT_EQ(0u, message.find("Failed to compress data. [Error Code: ")) << message;
        EXPECT_EQ(']', message.back());
        EXPECT_EQ(before, bytes.data);
        EXPECT_TRUE(random == bytes.Str());
    }
    OwnedBytes tiny("ab");  // the container's own header does not fit in two bytes
    EXPECT_EQ(0u, CompressMessage(tiny, CompressionType_GZip).find("Failed to compress data. [Error Code: "));
    EXPECT_EQ("ab", tiny.Str());
}

TEST(QxZip, OtherCompressionTypesLeaveDataAlone) {
    const std::string xml = RepetitiveXml(10);
    for (int type : {0, 3, -1}) {
        OwnedBytes bytes(xml);
        const unsigned char* before = bytes.data;
        CQxZip().Compress(&bytes.data, &bytes.length, static_cast<CompressionType>(type));
        EXPECT_EQ(before, bytes.data);
        EXPECT_EQ(xml, bytes.Str());
    }
}

TEST(QxZip, InputThatIsNotACompleteStreamIsLeftUnchanged) {
    const std::string xml = RepetitiveXml(500);
    OwnedBytes plain(xml);
    const unsigned char* before = plain.data;
    CQxZip().Decompress(&plain.data, &plain.length);
    EXPECT_EQ(before, plain.data);
    EXPECT_EQ(xml, plain.Str());

    const std::string gz = PythonTransform("result = gzip.compress(data, mtime=0)", xml);
    for (size_t keep : {gz.size() - 1, gz.size() - 8, gz.size() / 2, size_t(10), size_t(2), size_t(0)}) {
        // An exact-size copy lets the sanitizer build catch any read past the end.
        OwnedBytes truncated(gz.substr(0, keep));
        const unsigned char* start = truncated.data;
        CQxZip().Decompress(&truncated.data, &truncated.length);
        EXPECT_EQ(start, truncated.data) << keep;
        EXPECT_EQ(gz.substr(0, keep), truncated.Str()) << keep;
    }

    OwnedBytes fastInfoset(std::string("\xE0\x00\x00\x01\x00\x3c", 6));
    CQxZip().Decompress(&fastInfoset.data, &fastInfoset.length);
    EXPECT_EQ(std::string("\xE0\x00\x00\x01\x00\x3c", 6), fastInfoset.Str());
}

TEST(QxZip, RoundTripThroughBothContainersAndTheBufferForm) {
    const std::string xml = RepetitiveXml(300);
    for (CompressionType type : {CompressionType_GZip, CompressionType_ZLib}) {
        CBinaryData data(reinterpret_cast<unsigned char*>(const_cast<char*>(xml.data())),
                         static_cast<uint32_t>(xml.size()), false);
        CQxZip().Compress(data, type);
        ASSERT_LT(data.GetLength(), xml.size());
        OwnedBytes packed(std::string(reinterpret_cast<const char*>(data.GetData()), data.GetLength()));
        CQxZip().Decompress(&packed.data, &packed.length);
        EXPECT_EQ(xml, packed.Str());
    }
    CBinaryData empty;
    CQxZip().Compress(empty, CompressionType_GZip);
    EXPECT_EQ(0u, empty.GetLength());
}

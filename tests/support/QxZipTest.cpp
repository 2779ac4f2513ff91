// CQxZip against python's zlib and gzip: each side inflates what the other deflates, and
// what cannot be compressed or is no complete stream is left as it was.
#include <qxxml/support/QxException.h>
#include <qxxml/support/QxZip.h>
#include <qxxml/values/BinaryData.h>

#include "common/ExpatOracle.h"
#include "common/Messages.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace QxXmlLib10;
using namespace qxxml_test;

namespace {

// An owned new[] copy of the bytes, exactly sized (the sanitizer build sees any read past
// the end), as CQxZip's array form takes them.
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

// Decompressing bytes that are no complete stream leaves them where and as they were.
void ExpectDecompressLeavesAlone(const std::string& bytes) {
    OwnedBytes owned(bytes);
    const unsigned char* before = owned.data;
    CQxZip().Decompress(&owned.data, &owned.length);
    EXPECT_EQ(before, owned.data) << bytes.size();
    EXPECT_EQ(bytes, owned.Str()) << bytes.size();
}

// Compressing bytes in the array form and the buffer form, where the bytes must stay where and
// as they were: the message of the failure, the same in both forms, or kNoException. The type
// stays a number until the call: -1 is no value of the enumeration.
std::wstring CompressLeavingAlone(const std::string& input, int type) {
    OwnedBytes bytes(input);
    const unsigned char* before = bytes.data;
    const std::wstring message =
        MessageOf([&] { CQxZip().Compress(&bytes.data, &bytes.length, static_cast<CompressionType>(type)); });
    EXPECT_EQ(before, bytes.data);
    EXPECT_TRUE(input == bytes.Str());
    CBinaryData buffer = BinaryOf(input);
    EXPECT_EQ(message, MessageOf([&] { CQxZip().Compress(buffer, static_cast<CompressionType>(type)); }));
    EXPECT_TRUE(input == Bytes(buffer));
    return message;
}

}  // namespace

// Compressed in the array form (zlib) and the buffer form (gzip), inflated by python; deflated
// by python, inflated here.
TEST(QxZip, BothDirectionsAgreeWithPython) {
    const std::string xml = RepetitiveXml(2000);
    OwnedBytes zl(xml);
    CQxZip().Compress(&zl.data, &zl.length, CompressionType_ZLib);
    CBinaryData gz = BinaryOf(xml);
    CQxZip().Compress(gz, CompressionType_GZip);
    EXPECT_LT(gz.GetLength(), xml.size() / 4);
    EXPECT_EQ(0x1f, gz[0]);
    EXPECT_EQ(0x8b, gz[1]);
    EXPECT_EQ(0x78, zl.data[0]);  // zlib header: deflate, 32 KiB window
    EXPECT_EQ(xml, PythonTransform("result = gzip.decompress(data)", Bytes(gz)));
    EXPECT_EQ(xml, PythonTransform("result = zlib.decompress(data)", zl.Str()));

    const std::string big = RepetitiveXml(30000);  // several 64 KiB work buffers
    for (const char* code : {"result = gzip.compress(data, 9, mtime=0)", "result = zlib.compress(data, 6)",
                             "result = gzip.compress(data, 0, mtime=0)"}) {
        OwnedBytes packed(PythonTransform(code, big));
        ASSERT_GT(packed.length, 0u);
        CQxZip().Decompress(&packed.data, &packed.length);
        EXPECT_EQ(big.size(), packed.length) << code;
        EXPECT_TRUE(big == packed.Str()) << code;
    }
}

TEST(QxZip, IncompressibleDataFailsAndIsKept) {
    // Already-deflated bytes cannot shrink again; the container's own header does not fit in two bytes.
    std::mt19937 generator(7);
    std::string random(200000, '\0');
    for (char& byte : random) byte = static_cast<char>(generator());
    for (const std::string& input : {random, std::string("ab")}) {
        for (CompressionType type : {CompressionType_GZip, CompressionType_ZLib}) {
            const std::wstring message = CompressLeavingAlone(input, type);
            EXPECT_EQ(0u, message.find(L"Failed to compress data. [Error Code: ")) << Narrow(message);
            EXPECT_EQ(L']', message.back());
        }
    }
}

TEST(QxZip, InputThatIsNotACompleteStreamIsLeftUnchanged) {
    const std::string xml = RepetitiveXml(500);
    ExpectDecompressLeavesAlone(xml);
    const std::string gz = PythonTransform("result = gzip.compress(data, mtime=0)", xml);
    for (size_t keep : {gz.size() - 1, gz.size() - 8, gz.size() / 2, size_t(10), size_t(2), size_t(0)})
        ExpectDecompressLeavesAlone(gz.substr(0, keep));
    ExpectDecompressLeavesAlone(std::string("\xE0\x00\x00\x01\x00\x3c", 6));  // a Fast Infoset document
}

// Empty data and other compression types are left alone, in both forms.
TEST(QxZip, EmptyDataAndOtherCompressionTypesAreLeftAlone) {
    CBinaryData empty;
    CQxZip().Compress(empty, CompressionType_GZip);
    EXPECT_EQ(0u, empty.GetLength());
    for (int type : {0, 3, -1}) EXPECT_EQ(CompressLeavingAlone(RepetitiveXml(300), type), kNoException);
}

// qxxml gzip|gunzip|zlib|unzlib <in> <out> - the library's stream compression on files.
//
// gzip and zlib compress exactly as ToXmlStream does (deflate level 1, refused when the data
// would not shrink); gunzip and unzlib inflate either container, since the library's
// decompressor recognises both, and fail if the input is not a whole compressed stream.
#include "Command.h"

#include <qxxml/support/QxZip.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using qxxml_tool::Registration;

// Reads `path` into an owned new[] array, as CQxZip takes its data.
bool ReadOwned(const std::string& path, unsigned char*& data, uint32_t& length) {
    std::string bytes;
    if (!qxxml_tool::ReadFileBytes(path, bytes)) {
        std::fprintf(stderr, "qxxml: cannot read %s\n", path.c_str());
        return false;
    }
    if (bytes.size() > 0xFFFFFFFFu) {
        std::fprintf(stderr, "qxxml: %s is larger than 4 GiB\n", path.c_str());
        return false;
    }
    length = static_cast<uint32_t>(bytes.size());
    data = new unsigned char[bytes.empty() ? 1 : bytes.size()];
    std::memcpy(data, bytes.data(), bytes.size());
    return true;
}

bool WriteOwned(const std::string& path, const unsigned char* data, uint32_t length) {
    if (qxxml_tool::WriteFileBytes(path, std::string(reinterpret_cast<const char*>(data), length))) return true;
    std::fprintf(stderr, "qxxml: cannot write %s\n", path.c_str());
    return false;
}

int Compress(const char* name, const std::vector<std::string>& args, QxXmlLib10::CompressionType type) {
    if (args.size() != 2) return qxxml_tool::UsageError(name);
    unsigned char* data = nullptr;
    uint32_t length = 0;
    if (!ReadOwned(args[0], data, length)) return 1;
    std::unique_ptr<unsigned char*, void (*)(unsigned char**)> owner(&data, [](unsigned char** p) { delete[] *p; });
    QxXmlLib10::CQxZip().Compress(&data, &length, type);  // a failure reaches main's handler
    return WriteOwned(args[1], data, length) ? 0 : 1;
}

int Decompress(const char* name, const std::vector<std::string>& args) {
    if (args.size() != 2) return qxxml_tool::UsageError(name);
    unsigned char* data = nullptr;
    uint32_t length = 0;
    if (!ReadOwned(args[0], data, length)) return 1;
    std::unique_ptr<unsigned char*, void (*)(unsigned char**)> owner(&data, [](unsigned char** p) { delete[] *p; });
    const unsigned char* before = data;
    QxXmlLib10::CQxZip().Decompress(&data, &length);
    if (data == before) {
        std::fprintf(stderr, "qxxml %s: %s is not a complete gzip or zlib stream\n", name, args[0].c_str());
        return 1;
    }
    return WriteOwned(args[1], data, length) ? 0 : 1;
}

int RunGzip(const std::vector<std::string>& args) { return Compress("gzip", args, QxXmlLib10::CompressionType_GZip); }
int RunZlib(const std::vector<std::string>& args) { return Compress("zlib", args, QxXmlLib10::CompressionType_ZLib); }
int RunGunzip(const std::vector<std::string>& args) { return Decompress("gunzip", args); }
int RunUnzlib(const std::vector<std::string>& args) { return Decompress("unzlib", args); }

Registration gzip("gzip", "<in> <out>", "deflate a file into a gzip stream", RunGzip);
Registration gunzip("gunzip", "<in> <out>", "inflate a gzip (or zlib) stream", RunGunzip);
Registration zlib("zlib", "<in> <out>", "deflate a file into a zlib stream", RunZlib);
Registration unzlib("unzlib", "<in> <out>", "inflate a zlib (or gzip) stream", RunUnzlib);

}  // namespace

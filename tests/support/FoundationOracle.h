// FoundationOracle.h - helpers shared by the foundation tests (platform, support, values,
// UTF encoders): a temporary folder and python3's standard library as an independent oracle.
//
//   std::string lines = foundation_test::Python("import base64; print(base64.b64encode(b'a'))");
//   std::string dir = foundation_test::TempDir();
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace foundation_test {

// $QXXML_TEST_TMP/foundation (created when needed), or a fresh mkdtemp folder.
inline const std::string& TempDir() {
    static const std::string dir = [] {
        if (const char* env = std::getenv("QXXML_TEST_TMP")) {
            std::string base(env);
            ::mkdir(base.c_str(), 0777);
            std::string made = base + "/foundation";
            ::mkdir(made.c_str(), 0777);
            return made;
        }
        char pattern[] = "/tmp/qxxml-foundation-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return dir;
}

// A path in TempDir() unique to this process.
inline std::string TempPath(const std::string& name) {
    return TempDir() + "/" + std::to_string(::getpid()) + "-" + name;
}

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Runs a python3 program and returns its standard output; the test fails when python3 does.
inline std::string Python(const std::string& program, const std::string& args = std::string()) {
    static int counter = 0;
    const std::string script = TempPath("oracle" + std::to_string(++counter) + ".py");
    WriteWholeFile(script, program);
    FILE* pipe = ::popen(("python3 '" + script + "' " + args).c_str(), "r");
    std::string output;
    if (pipe != nullptr) {
        char chunk[8192];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) output.append(chunk, n);
        EXPECT_EQ(::pclose(pipe), 0) << "python3 failed:\n" << program;
    } else {
        ADD_FAILURE() << "cannot start python3";
    }
    std::remove(script.c_str());
    return output;
}

// The lines of a text, without their newlines.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The fields of a tab-separated line.
inline std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

// Bytes of lower- or upper-case hex text, decoded here so tests can take python's bytes
// without going through the code under test.
inline std::string Unhex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

// ASCII text as a wide string.
inline std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace foundation_test

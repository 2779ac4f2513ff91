// PythonOracle.h - test helpers that let python3's standard library (zlib, gzip,
// xml.parsers.expat) check what qxxml writes, and files in a per-test temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace qxxml_test {

// A folder for test files: $QXXML_TEST_TMP (created if needed) or a fresh mkdtemp folder.
inline std::string TempDir() {
    static const std::string dir = [] {
        if (const char* env = std::getenv("QXXML_TEST_TMP")) {
            std::string made = std::string(env) + "/xmlout";
            std::system(("mkdir -p '" + made + "'").c_str());
            return made;
        }
        char pattern[] = "/tmp/qxxml-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return dir;
}

inline std::string TempPath(const std::string& name) {
    return TempDir() + "/" + std::to_string(getpid()) + "-" + name;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool FileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// Runs a python3 program (given as source text) with the arguments; returns its standard
// output. `status` receives the exit status (0 on success).
inline std::string RunPython(const std::string& program, const std::string& args, int& status) {
    static int counter = 0;
    const std::string script = TempPath("oracle" + std::to_string(++counter) + ".py");
    WriteFile(script, program);
    FILE* pipe = popen(("python3 '" + script + "' " + args + " 2>&1").c_str(), "r");
    if (!pipe) {
        status = -1;
        return std::string();
    }
    std::string output;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, pipe)) > 0) output.append(chunk, n);
    status = pclose(pipe);
    std::remove(script.c_str());
    return output;
}

// Checks an XML document with expat's namespace processing. The file holds the document's
// bytes: "UTF-8", "UTF-16-LE" (no byte order mark) or "UTF-16" (with one). Prints one line per element and attribute with the resolved names, "{uri}local"
// ("local" alone for no namespace), for the test to compare; or "ERROR: ..." when the
// document is not well-formed or not namespace-correct.
inline std::string ExpatNames(const std::string& path, const std::string& encoding = "UTF-8") {
    static const char* const program = R"PY(
import sys, xml.parsers.expat
path, enc = sys.argv[1], sys.argv[2]
data = open(path, 'rb').read()
if enc == 'UTF-16-LE':
    data = b'\xff\xfe' + data   # expat tells UTF-16 from the byte order mark
out = []
def name(n):
    if '|' in n:
        uri, local = n.split('|', 1)
        return '{%s}%s' % (uri, local)
    return n
def start(tag, attrs):
    out.append('E ' + name(tag))
    for k in sorted(attrs):
        out.append('A ' + name(k) + '=' + attrs[k])
def chars(data):
    if data.strip():
        out.append('T ' + data.strip())
p = xml.parsers.expat.ParserCreate(None, '|')
p.StartElementHandler = start
p.CharacterDataHandler = chars
p.buffer_text = True
try:
    p.Parse(data, True)
except Exception as e:
    print('ERROR: %s' % e)
    sys.exit(0)
print('\n'.join(out))
)PY";
    int status = 0;
    std::string output = RunPython(program, "'" + path + "' " + encoding, status);
    if (status != 0) return "ERROR: python3 failed: " + output;
    return output;
}

}  // namespace qxxml_test

// TestSupport.h - the helpers every test program shares: a temporary folder and its files,
// python3's standard library as an independent oracle, and the small text handling the
// oracles' output needs (lines, tab-separated fields, hex bytes, ASCII widening).
//
//   using namespace qxxml_test;
//   WriteFile(TempPath("cases.txt"), cases);
//   for (const std::vector<std::string>& f : Rows(Python("import sys\nprint('a\\tb', sys.argv[1])", "'x'")))
//       ...                                                        // f is {"a", "b x"}
//   std::string out = PythonScript("tests/values/datetime_oracle.py", "97 1500");
//
// Everything here is independent of the code under test, except FromUtf8 and ToUtf8, which
// use the library's own UTF-8 conversion for tests that need real text rather than ASCII.
#pragma once

#include <qxxml/xmlout/UtfEncoding.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qxxml_test {

// ------------------------------------------------------------------ files

// Creates the folder and its missing parents; true when it exists afterwards.
inline bool MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

// The folder for test files: $QXXML_TEST_TMP (created when missing), else a fresh mkdtemp
// folder. Decided once per process.
inline const std::string& TempDir() {
    static const std::string dir = [] {
        const char* env = std::getenv("QXXML_TEST_TMP");
        if (env != nullptr && *env != '\0') {
            if (!MakeFolders(env)) ADD_FAILURE() << "cannot create " << env;
            return std::string(env);
        }
        char pattern[] = "/tmp/qxxml-test-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made != nullptr ? made : "/tmp");
    }();
    return dir;
}

// A path in TempDir() of this process alone: test programs run side by side share the folder.
inline std::string TempPath(const std::string& name) {
    return TempDir() + "/" + std::to_string(::getpid()) + "-" + name;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool FileExists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

// ------------------------------------------------------------------ text

// The lines of a text, without their line feeds (a last line feed ends the last line).
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The fields of a tab-separated line; empty fields kept.
inline std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

// The lines of a text, each split at tabs: an oracle's table.
inline std::vector<std::vector<std::string>> Rows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : Lines(text)) rows.push_back(Fields(line));
    return rows;
}

// The words of a line separated by runs of white space.
inline std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// Bytes of lower- or upper-case hex text, decoded here so tests can take python's bytes
// without going through the code under test.
inline std::string Unhex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

// Undoes the "\t", "\r", "\n" and "\\" escapes an oracle writes to keep a value on one
// tab-separated line; a backslash before any other character just drops.
inline std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char ch = text[i];
        if (ch == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            ch = next == 't' ? '\t' : next == 'r' ? '\r' : next == 'n' ? '\n' : next;
        }
        out += ch;
    }
    return out;
}

// Each byte as one character: for ASCII text (bytes above 0x7F read as Latin-1).
inline std::wstring Widen(const std::string& ascii) {
    std::wstring wide;
    wide.reserve(ascii.size());
    for (char ch : ascii) wide += static_cast<wchar_t>(static_cast<unsigned char>(ch));
    return wide;
}

// Each character as one byte: for ASCII text (others keep their low byte).
inline std::string Narrow(const std::wstring& ascii) {
    std::string narrow;
    narrow.reserve(ascii.size());
    for (wchar_t ch : ascii) narrow += static_cast<char>(ch);
    return narrow;
}

// Real text, through the library's UTF-8 conversion.
inline std::wstring FromUtf8(const std::string& utf8) {
    std::wstring wide;
    QxXmlLib10::AppendWideFromUtf8(wide, utf8.data(), utf8.size());
    return wide;
}

inline std::string ToUtf8(const std::wstring& text) {
    std::string utf8;
    QxXmlLib10::AppendUtf8(utf8, text.data(), text.size());
    return utf8;
}

// ------------------------------------------------------------------ python3 as oracle

// The system's interpreter when there is one: a version-manager shim first on the PATH can
// take seconds per start, more than many oracles' whole work.
inline const std::string& PythonInterpreter() {
    static const std::string interpreter =
        ::access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
    return interpreter;
}

// Runs a shell command and returns its standard output; `status` receives pclose's status
// (-1 when the command cannot start).
inline std::string CommandOutput(const std::string& command, int& status) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        status = -1;
        return output;
    }
    char chunk[16384];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
    status = ::pclose(pipe);
    return output;
}

namespace detail {

// A python program written to a temporary script for as long as it runs.
class ScriptFile {
public:
    explicit ScriptFile(const std::string& program) : m_path(TempPath("oracle" + std::to_string(++Counter()) + ".py")) {
        WriteFile(m_path, program);
    }
    ~ScriptFile() { std::remove(m_path.c_str()); }
    ScriptFile(const ScriptFile&) = delete;
    ScriptFile& operator=(const ScriptFile&) = delete;

    const std::string& Path() const { return m_path; }

private:
    static std::atomic<int>& Counter() {
        static std::atomic<int> counter{0};
        return counter;
    }
    std::string m_path;
};

// Standard output of python3 on the script; fails the current test when python3 does.
// `program` (the script's text, when it is a temporary one) goes into the failure message.
inline std::string CheckedPythonOutput(const std::string& script, const std::string& args,
                                       const std::string& program = std::string()) {
    const std::string command = PythonInterpreter() + " '" + script + "' " + args;
    int status = 0;
    std::string output = CommandOutput(command, status);
    if (status == -1)
        ADD_FAILURE() << "cannot run " << command;
    else
        EXPECT_EQ(status, 0) << "python3 failed: " << command << "\n" << program;
    return output;
}

}  // namespace detail

// Runs a python3 program given as source text with the arguments (shell syntax: quote paths)
// and returns its standard output; the current test fails when python3 does.
inline std::string Python(const std::string& program, const std::string& args = std::string()) {
    const detail::ScriptFile script(program);
    return detail::CheckedPythonOutput(script.Path(), args, program);
}

// The same for an oracle script of the source tree, named by its path from the top, e.g.
// PythonScript("tests/values/datetime_oracle.py", "97 1500").
inline std::string PythonScript(const std::string& pathInSource, const std::string& args) {
    return detail::CheckedPythonOutput(std::string(QXXML_SOURCE_DIR) + "/" + pathInSource, args);
}

// For callers that judge the outcome themselves: standard error joins the output, and
// `status` receives the exit status (0 on success).
inline std::string RunPython(const std::string& program, const std::string& args, int& status) {
    const detail::ScriptFile script(program);
    return CommandOutput(PythonInterpreter() + " '" + script.Path() + "' " + args + " 2>&1", status);
}

// Runs a python3 program as a filter between files: it reads `input` from the file named by
// sys.argv[1] and writes its result to the file named by sys.argv[2], whose bytes come back.
// `moreArgs` follow as sys.argv[3:].
inline std::string PythonFilter(const std::string& program, const std::string& input,
                                const std::string& moreArgs = std::string()) {
    const std::string in = TempPath("filter-in.bin"), out = TempPath("filter-out.bin");
    WriteFile(in, input);
    std::remove(out.c_str());  // nothing left from an earlier run can pass for the result
    Python(program, "'" + in + "' '" + out + "' " + moreArgs);
    std::string result = ReadFile(out);
    std::remove(in.c_str());
    std::remove(out.c_str());
    return result;
}

}  // namespace qxxml_test

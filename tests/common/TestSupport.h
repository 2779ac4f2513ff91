// TestSupport.h - the helpers every test program shares: a temporary folder and its files,
// python3's standard library as an independent oracle, and the small text handling the
// oracles' output needs (lines, tab-separated fields, hex bytes, ASCII widening).
//
//   using namespace qxxml_test;
//   WriteFile(TempPath("cases.txt"), cases);
//   for (const std::vector<std::string>& f : Rows(Python("import sys\nprint('a\\tb', sys.argv[1])", "'x'")))
//       ...                                                        // f is {"a", "b x"}
//   std::string out = PythonScript("tests/values/values_oracle.py", "dates 1500 97");
//
// Everything here is independent of the code under test, except FromUtf8 and ToUtf8, which
// use the library's own UTF-8 conversion for tests that need real text rather than ASCII.
//
// The Windows build has no shell with python3 (or xmllint) beside it: it replays the answers
// a Linux run recorded (see CommandOutput), and a test whose question has no recorded answer
// is skipped at that point, with the command in the skip message.
#pragma once

#include <qxxml/xmlout/UtfEncoding.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <filesystem>
#include <string>
#include <vector>
#if defined(_WIN32)
#include <process.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace qxxml_test {

// ------------------------------------------------------------------ files

// Creates the folder and its missing parents; true when it exists afterwards.
inline bool MakeFolders(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

inline int ProcessId() {
#if defined(_WIN32)
    return ::_getpid();
#else
    return static_cast<int>(::getpid());
#endif
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
#if defined(_WIN32)
        std::error_code error;
        const std::string made =
            (std::filesystem::temp_directory_path(error) / ("qxxml-test-" + std::to_string(ProcessId()))).string();
        if (!MakeFolders(made)) ADD_FAILURE() << "cannot create " << made;
        return made;
#else
        char pattern[] = "/tmp/qxxml-test-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        return std::string(made != nullptr ? made : "/tmp");
#endif
    }();
    return dir;
}

namespace detail {

// Removes the files of this process from the test folder when every test passed: a folder that
// many runs share would otherwise grow by each run's files, and every oracle command lists it
// (see CommandOutput). A failed run's files stay for a look.
class OwnFilesRemover {
public:
    explicit OwnFilesRemover(const std::string& prefix) : m_prefix(prefix) {}
    ~OwnFilesRemover() {
        if (!::testing::UnitTest::GetInstance()->Passed()) return;
        std::error_code error;
        std::vector<std::filesystem::path> own;
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(TempDir()), error)) {
            const std::string path = TempDir() + "/" + entry.path().filename().u8string();
            if (path.rfind(m_prefix, 0) == 0) own.push_back(entry.path());
        }
        for (const auto& path : own) std::filesystem::remove(path, error);
    }

private:
    std::string m_prefix;
};

}  // namespace detail

// A path in TempDir() of this process alone: test programs run side by side share the folder.
inline std::string TempPath(const std::string& name) {
    static const std::string prefix = TempDir() + "/" + std::to_string(ProcessId()) + "-";
    static const detail::OwnFilesRemover remover(prefix);  // made after TempDir's folder, so it goes first
    return prefix + name;
}

// Files are named in UTF-8, on Windows too.
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A file of the source tree, named by its path from the top (a case table, say).
inline std::string ReadSourceFile(const std::string& pathInSource) {
    return ReadFile(std::string(QXXML_SOURCE_DIR) + "/" + pathInSource);
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// The system's codes for the failures the tests provoke: errno values on POSIX,
// GetLastError() values on Windows.
#if defined(_WIN32)
constexpr uint32_t kSysFileNotFound = 2;       // ERROR_FILE_NOT_FOUND
constexpr uint32_t kSysFolderNotFound = 3;     // ERROR_PATH_NOT_FOUND
constexpr uint32_t kSysIsAFolder = 5;          // ERROR_ACCESS_DENIED
constexpr uint32_t kSysBusy = 170;             // ERROR_BUSY
constexpr uint32_t kSysNotOpenForWriting = 5;  // ERROR_ACCESS_DENIED
#else
constexpr uint32_t kSysFileNotFound = ENOENT;
constexpr uint32_t kSysFolderNotFound = ENOENT;
constexpr uint32_t kSysIsAFolder = EISDIR;
constexpr uint32_t kSysBusy = EBUSY;
constexpr uint32_t kSysNotOpenForWriting = EBADF;
#endif

// A seed for randomised cases that changes from day to day (UTC): each day's runs cover new
// cases, and a Linux run and a Windows run of the same day ask the oracles the same
// questions, so that the recorded answers serve (see CommandOutput). Tests print it.
inline unsigned TestSeed() { return static_cast<unsigned>(std::time(nullptr) / 86400); }

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

// One character appended as wide text: a surrogate pair where wchar_t has 16 bits.
inline void AppendCodePoint(std::wstring& text, char32_t ch) {
    if (sizeof(wchar_t) == 2 && ch > 0xFFFF) {
        text += static_cast<wchar_t>(0xD800 + ((ch - 0x10000) >> 10));
        text += static_cast<wchar_t>(0xDC00 + ((ch - 0x10000) & 0x3FF));
    } else {
        text += static_cast<wchar_t>(ch);
    }
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
    static const std::string interpreter = FileExists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    return interpreter;
}

// Ends the current test as skipped, from anywhere in it: the skip is recorded first and the
// exception then unwinds the test body, which GoogleTest treats as an assertion it has
// already reported.
[[noreturn]] inline void SkipTest(const std::string& why) {
    GTEST_MESSAGE_(why.c_str(), ::testing::TestPartResult::kSkip);
    throw ::testing::AssertionException(
        ::testing::TestPartResult(::testing::TestPartResult::kSkip, __FILE__, __LINE__, why.c_str()));
}

// The exit code of a command from CommandOutput's status; -1 when it did not exit normally.
inline int ExitCode(int status) {
#if defined(_WIN32)
    return status;
#else
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

// ------------------------------------------------------------------ recorded oracle answers
//
// The Windows build has no python3, xmllint or Java to ask. A Linux run of the tests records
// every answer an oracle command gave in QXXML_ORACLE_ANSWERS; the Windows build
// (QXXML_ORACLE_REPLAY) answers the same questions from there. A question is the command with
// each file of the test folder or the source tree that it names replaced by a hash of the
// file's own question:
// its bytes, with the files they name (plainly, or in hex as the Java oracle's requests do)
// replaced the same way. So an answer is reused only for the very same input. An
// answer holds the exit code, the test files the command wrote and its standard output. A
// question without a recorded answer (a case seeded by the clock, or bytes that differ) skips
// the test.

// Hex of bytes (lower case): the form the Java oracle exchanges octets, texts and paths in.
inline std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * bytes.size());
    for (unsigned char b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

namespace detail {

inline std::string Fnv1aHex(const std::string& bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

inline void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The start of every path of this process in the test folder.
inline std::string OwnTempPrefix() { return TempPath(""); }

// The paths a command names, numbered by their place in it: those of the test folder (each up
// to a quote or blank), then the files of the source tree it quotes (a Windows build spells
// their folders with "\\" where fs::path joins them). Longest first, so that no path is taken
// for the start of a longer one.
inline std::vector<std::pair<std::string, size_t>> CommandPaths(const std::string& command) {
    std::vector<std::pair<std::string, size_t>> paths;
    const std::string folder = TempDir() + "/", source = "'" + std::string(QXXML_SOURCE_DIR) + "/";
    for (size_t at = command.find(folder); at != std::string::npos; at = command.find(folder, at + 1))
        paths.emplace_back(command.substr(at, command.find_first_of("' ", at) - at), paths.size());
    for (size_t at = command.find(source); at != std::string::npos; at = command.find(source, at + 1)) {
        const std::string path = command.substr(at + 1, command.find('\'', at + 1) - at - 1);
        std::error_code error;
        if (path.rfind(folder, 0) != 0 && std::filesystem::is_regular_file(std::filesystem::u8path(path), error))
            paths.emplace_back(path, paths.size());
    }
    std::stable_sort(paths.begin(), paths.end(), [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    return paths;
}

// The files a command may read or write, with their bytes: those it names and every file of
// this process (a Java request names its files in hex). Ordered by path, so that going
// backwards meets "a.xml2" before "a.xml".
using TestFiles = std::map<std::string, std::string>;
inline TestFiles TestFilesOf(const std::string& command) {
    TestFiles files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(TempDir()), error)) {
        const std::string path = TempDir() + "/" + entry.path().filename().u8string();
        if (path.rfind(OwnTempPrefix(), 0) == 0 && entry.is_regular_file(error)) files[path] = ReadFile(path);
    }
    for (const auto& path : CommandPaths(command))
        if (std::filesystem::is_regular_file(std::filesystem::u8path(path.first), error))
            files[path.first] = ReadFile(path.first);
    return files;
}

// A text with the test files it names replaced by the hashes of their own questions, and the
// test folder taken out of the paths left (those of files still to be written).
inline std::string Question(std::string text, const TestFiles& files, int depth = 0) {
    for (auto file = files.rbegin(); file != files.rend() && depth < 4; ++file) {
        for (const std::string& named : {file->first, Hex(file->first)}) {
            if (text.find(named) == std::string::npos) continue;
            ReplaceAll(text, named, "<" + Fnv1aHex(Question(file->second, files, depth + 1)) + ">");
        }
    }
    ReplaceAll(text, OwnTempPrefix(), "<tmp>/");
    ReplaceAll(text, Hex(OwnTempPrefix()), "<hex-tmp>");
    ReplaceAll(text, TempDir() + "/", "<tmp>/");
    return text;
}

// An answer names the command's paths by their number in CommandPaths ("\x01<n>\x01") and the
// other test files by "\x02" (this process's prefix) or "\x03" (the test folder) and their
// name, so that a replay elsewhere finds its own paths there.
inline std::string Portable(std::string text, const std::string& command) {
    for (const auto& path : CommandPaths(command))
        ReplaceAll(text, path.first, "\x01" + std::to_string(path.second) + "\x01");
    ReplaceAll(text, OwnTempPrefix(), "\x02");
    ReplaceAll(text, TempDir() + "/", "\x03");
    return text;
}

inline std::string Local(std::string text, const std::string& command) {
    for (const auto& path : CommandPaths(command))
        ReplaceAll(text, "\x01" + std::to_string(path.second) + "\x01", path.first);
    ReplaceAll(text, "\x02", OwnTempPrefix());
    ReplaceAll(text, "\x03", TempDir() + "/");
    return text;
}

// An answer: "<exit code>\n", then per test file the command wrote "file <size>\n<path>\n<bytes>",
// then "output <size>\n<bytes>". Test programs run side by side: each appears whole or not at all.
inline void RecordAnswer(const std::string& path, const std::string& command, const TestFiles& before,
                         const std::string& output, int status) {
    std::string answer = std::to_string(ExitCode(status)) + "\n";
    for (const auto& file : TestFilesOf(command)) {
        const auto earlier = before.find(file.first);
        if (earlier != before.end() && earlier->second == file.second) continue;
        const std::string name = Portable(file.first, command);
        answer += "file " + std::to_string(file.second.size()) + "\n" + name + "\n" + file.second;
    }
    const std::string portable = Portable(output, command);
    answer += "output " + std::to_string(portable.size()) + "\n" + portable;
    const std::string partial = path + "." + std::to_string(ProcessId());
    WriteFile(partial, answer);
    std::error_code error;
    std::filesystem::rename(std::filesystem::u8path(partial), std::filesystem::u8path(path), error);
}

// Writes a recorded answer's files and returns its output; false when there is none.
inline bool ReplayAnswer(const std::string& path, const std::string& command, std::string& output, int& status) {
    const std::string answer = ReadFile(path);
    size_t at = answer.find('\n');
    if (at == std::string::npos) return false;
    const int code = std::stoi(answer.substr(0, at));
    for (++at;;) {
        const size_t headEnd = answer.find('\n', at);
        const std::vector<std::string> head = Words(answer.substr(at, headEnd - at));
        if (headEnd == std::string::npos || head.size() != 2) return false;
        const size_t size = std::stoul(head[1]);
        if (head[0] == "output") {
            output = Local(answer.substr(headEnd + 1, size), command);
#if defined(_WIN32)
            status = code;
#else
            status = code < 0 ? -1 : code << 8;  // as pclose gives it
#endif
            return true;
        }
        const size_t nameEnd = answer.find('\n', headEnd + 1);
        if (nameEnd == std::string::npos) return false;
        WriteFile(Local(answer.substr(headEnd + 1, nameEnd - headEnd - 1), command), answer.substr(nameEnd + 1, size));
        at = nameEnd + 1 + size;
    }
}

}  // namespace detail

// Runs a shell command and returns its standard output; `status` receives pclose's status
// (-1 when the command cannot start). Answers are recorded, or replayed where no command
// can run (see above).
inline std::string CommandOutput(const std::string& command, int& status) {
    const std::string folder = QXXML_ORACLE_ANSWERS;
    const detail::TestFiles before = folder.empty() ? detail::TestFiles() : detail::TestFilesOf(command);
    std::string question = detail::Question(command, before);
    detail::ReplaceAll(question, PythonInterpreter(), "python3");
    const std::string answer = folder + "/" + detail::Fnv1aHex(question) + ".answer";
    std::string output;
#if defined(QXXML_ORACLE_REPLAY)
    if (folder.empty()) SkipTest("no Linux-side oracle here, and no answers recorded by a Linux run to replay");
    if (detail::ReplayAnswer(answer, command, output, status)) return output;
    SkipTest("no answer recorded by the Linux run for this oracle question: " + command.substr(0, 160));
#else
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        status = -1;
        return output;
    }
    char chunk[16384];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
    status = ::pclose(pipe);
    if (!folder.empty() && MakeFolders(folder)) detail::RecordAnswer(answer, command, before, output, status);
    return output;
#endif
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
// PythonScript("tests/values/values_oracle.py", "dates 1500 97").
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

// ------------------------------------------------------------------ xmllint as oracle

// xmllint's verdict on each file against the schema, in one run: "" when the file validates,
// otherwise its complaints ("no verdict" when it said nothing of the file). `xmllint` names the
// program: a path, or "xmllint" to take it from the PATH.
inline std::map<std::string, std::string> SchemaVerdicts(const std::string& xmllint, const std::string& schema,
                                                         const std::vector<std::string>& files) {
    std::string command = "'" + xmllint + "' --noout --schema '" + schema + "'";
    for (const std::string& file : files) command += " '" + file + "'";
    int status = 0;
    const std::string output = CommandOutput(command + " 2>&1", status);
    std::map<std::string, std::string> verdicts;
    for (const std::string& file : files) verdicts[file] = "no verdict";
    for (const std::string& line : Lines(output))
        for (const std::string& file : files)
            if (line == file + " validates")
                verdicts[file].clear();
            else if (line.rfind(file + ":", 0) == 0)
                verdicts[file] += "\n" + line;
    return verdicts;
}

}  // namespace qxxml_test

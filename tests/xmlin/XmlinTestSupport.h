// XmlinTestSupport.h - helpers shared by the XML input tests: a temporary folder, files,
// the python oracle (tests/xmlin/tree_oracle.py, python's own expat binding) and a textual
// dump of a parsed tree in the oracle's format.
#pragma once

#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/support/QxException.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace xmlin_test {

using namespace QxXmlLib10;

// A folder shared by the test processes (ctest runs each test as a process of its own):
// $QXXML_TEST_TMP/xmlin, or a fresh mkdtemp folder.
inline std::string SharedDir() {
    static const std::string dir = [] {
        std::string made;
        if (const char* env = std::getenv("QXXML_TEST_TMP")) {
            made = std::string(env) + "/xmlin";
        } else {
            char pattern[] = "/tmp/qxxml-xmlin-XXXXXX";
            const char* fresh = mkdtemp(pattern);
            made = fresh != nullptr ? fresh : "/tmp";
        }
        std::system(("mkdir -p '" + made + "'").c_str());
        return made;
    }();
    return dir;
}

// This process's own folder, for files a test writes and reads back.
inline std::string TempDir() {
    static const std::string dir = [] {
        const std::string made = SharedDir() + "/" + std::to_string(getpid());
        std::system(("mkdir -p '" + made + "'").c_str());
        return made;
    }();
    return dir;
}

inline std::string TempPath(const std::string& name) { return TempDir() + "/" + name; }

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::wstring Wide(const std::string& utf8) {
    std::wstring out;
    AppendWideFromUtf8(out, utf8.data(), utf8.size());
    return out;
}

inline std::string Narrow(const std::wstring& text) {
    std::string out;
    AppendUtf8(out, text.data(), text.size());
    return out;
}

// Runs tests/xmlin/tree_oracle.py with the arguments; fails the test when python fails.
inline std::string RunOracle(const std::string& args) {
    const std::string command =
        std::string("python3 '") + QXXML_SOURCE_DIR + "/tests/xmlin/tree_oracle.py' " + args;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return std::string();
    }
    std::string output;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) output.append(chunk, n);
    const int status = pclose(pipe);
    EXPECT_EQ(status, 0) << command;
    return output;
}

// A generated test document (see tree_oracle.py gen), made once and shared by the test
// processes; it is written under a private name and renamed, so a reader never sees it half
// written.
inline std::string GeneratedDocument(const std::string& name, int seed, size_t minBytes,
                                     size_t exactBytes = 0) {
    const std::string path = SharedDir() + "/" + name;
    if (access(path.c_str(), F_OK) != 0) {
        const std::string partial = TempPath(name + ".partial");
        std::string args = "gen '" + partial + "' " + std::to_string(seed) + " " + std::to_string(minBytes);
        if (exactBytes != 0) args += " --exact " + std::to_string(exactBytes);
        RunOracle(args);
        std::rename(partial.c_str(), path.c_str());
    }
    return path;
}

inline std::string Escape(const std::wstring& text) {
    std::string out;
    for (char c : Narrow(text)) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else out += c;
    }
    return out;
}

// The tree in preorder, in the oracle's format, followed by the document's alias map.
inline std::string DumpTree(const CXmlDocument& document, const std::vector<std::wstring>& prefixes) {
    std::string out;
    std::vector<std::pair<const CXmlElement*, int>> pending;
    if (document.GetDocumentElement() != nullptr) pending.emplace_back(document.GetDocumentElement(), 0);
    while (!pending.empty()) {
        auto [element, depth] = pending.back();
        pending.pop_back();
        out += "E " + std::to_string(depth) + " " + Escape(element->GetNamespaceURI()) + "|" +
               Escape(element->GetLocalName()) + "\n";
        for (const CXmlAttribute* attribute : element->GetAttributes())
            out += "A " + Escape(attribute->GetNamespaceURI()) + "|" + Escape(attribute->GetLocalName()) +
                   "=" + Escape(attribute->GetValue()) + "\n";
        out += "T " + Escape(element->GetText()) + "\n";
        std::vector<const CXmlElement*> children;
        for (const CXmlElement* child = element->GetFirstElement(); child != nullptr;
             child = child->GetNextSiblingElement())
            children.push_back(child);
        for (auto it = children.rbegin(); it != children.rend(); ++it) pending.emplace_back(*it, depth + 1);
    }
    for (const std::wstring& prefix : prefixes)
        out += "N " + Escape(prefix) + "=" + Escape(document.LookupNamespaceFromAlias(prefix.c_str())) + "\n";
    return out;
}

// The prefixes the oracle reports ("N prefix=uri" lines), so the dump can ask for the same.
inline std::vector<std::wstring> OraclePrefixes(const std::string& oracleDump) {
    std::vector<std::wstring> prefixes;
    size_t at = 0;
    while ((at = oracleDump.find("\nN ", at)) != std::string::npos) {
        at += 3;
        prefixes.push_back(Wide(oracleDump.substr(at, oracleDump.find('=', at) - at)));
    }
    return prefixes;
}

// Sets the process-wide overlapped-reading switch for one scope.
class AsyncReading {
public:
    explicit AsyncReading(bool on) : m_previous(IsAsyncFromXmlFile()) { AsyncFromXmlFile(on); }
    ~AsyncReading() { AsyncFromXmlFile(m_previous); }

private:
    bool m_previous;
};

// The message of the CQxException that `action` throws, or "(no exception)".
template <class F>
std::wstring MessageOf(F action) {
    try {
        action();
    } catch (const CQxException& e) {
        return e.GetMessageW();
    }
    return L"(no exception)";
}

}  // namespace xmlin_test

// XmlinTestSupport.h - helpers of the XML input tests, on top of the common ones
// (common/TestSupport.h): the python oracle tests/xmlin/tree_oracle.py (python's own expat
// binding), documents it generates, and a textual dump of a parsed tree in its format.
#pragma once

#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/support/QxException.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include "common/ExpatOracle.h"
#include "common/Messages.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace xmlin_test {

using namespace QxXmlLib10;
using namespace qxxml_test;

// A generated test document (see tree_oracle.py gen), made once in the shared test folder
// and used by every test process (ctest runs each test as a process of its own). It is
// written under a private name and renamed, so no process ever reads it half written.
inline std::string GeneratedDocument(const std::string& name, int seed, size_t minBytes) {
    const std::string path = TempDir() + "/xmlin-" + name;
    if (!FileExists(path)) {
        const std::string partial = TempPath(name + ".partial");
        PythonScript("tests/xmlin/tree_oracle.py",
                     "gen '" + partial + "' " + std::to_string(seed) + " " + std::to_string(minBytes));
        std::rename(partial.c_str(), path.c_str());
    }
    return path;
}

// The element and its descendants in preorder, in the oracle's format.
inline void AppendTree(std::string& out, const CXmlElement* element, int depth) {
    out += "E " + std::to_string(depth) + " " + Name(element->GetNamespaceURI(), element->GetLocalName()) + "\n";
    for (const CXmlAttribute* a : element->GetAttributes())
        out += "A " + Name(a->GetNamespaceURI(), a->GetLocalName()) + " " + Json(a->GetValue()) + "\n";
    out += "T " + Json(element->GetText()) + "\n";
    for (const CXmlElement* child = element->GetFirstElement(); child; child = child->GetNextSiblingElement())
        AppendTree(out, child, depth + 1);
}

// The tree in the oracle's format, followed by the document's alias map.
inline std::string DumpTree(const CXmlDocument& document, const std::vector<std::wstring>& prefixes) {
    std::string out;
    if (document.GetDocumentElement() != nullptr) AppendTree(out, document.GetDocumentElement(), 0);
    for (const std::wstring& prefix : prefixes)
        out += "N " + ToUtf8(prefix) + "=" + Json(document.LookupNamespaceFromAlias(prefix.c_str())) + "\n";
    return out;
}

// What python's expat makes of each file with its flags (the oracle's: "no-namespaces",
// "keep-cdata", comma-separated; empty for none), in one run of the oracle.
inline std::vector<std::string> OracleDumps(const std::vector<std::pair<std::string, std::string>>& files) {
    std::string args = "each";
    for (const auto& file : files) args += " '" + file.first + "' " + (file.second.empty() ? "-" : file.second);
    const std::string output = PythonScript("tests/xmlin/tree_oracle.py", args);
    std::vector<std::string> dumps;
    for (size_t at = 0; at <= output.size();) {
        const size_t end = std::min(output.find('\0', at), output.size());
        dumps.push_back(output.substr(at, end - at));
        at = end + 1;
    }
    EXPECT_EQ(dumps.size(), files.size()) << "one dump per document";
    dumps.resize(files.size());
    return dumps;
}

// The prefixes the oracle reports ("N prefix=uri" lines), so the dump can ask for the same.
inline std::vector<std::wstring> OraclePrefixes(const std::string& oracleDump) {
    std::vector<std::wstring> prefixes;
    size_t at = 0;
    while ((at = oracleDump.find("\nN ", at)) != std::string::npos) {
        at += 3;
        prefixes.push_back(FromUtf8(oracleDump.substr(at, oracleDump.find('=', at) - at)));
    }
    return prefixes;
}

// What `load` puts into a document with the flags' context, in the oracle's form (with the
// aliases `oracleDump` reports), or "ERROR <message>" as the oracle reports a refusal.
inline std::string LoadedDump(const std::string& flags, const std::function<void(CXmlDocument&)>& load,
                              const std::string& oracleDump) {
    CXmlSerializationContext context;
    context.SetStripCDATA(flags.find("keep-cdata") == std::string::npos);
    if (flags.find("no-namespaces") != std::string::npos) context.SetSchemaType(SchemaType_NoNamespaces);
    CXmlDocument document(context);
    const std::wstring message = MessageOf([&] { load(document); });
    if (message != kNoException) return "ERROR " + ToUtf8(message) + "\n";
    return DumpTree(document, OraclePrefixes(oracleDump));
}

// Sets the process-wide overlapped-reading switch for one scope.
class AsyncReading {
public:
    explicit AsyncReading(bool on) : m_previous(IsAsyncFromXmlFile()) { AsyncFromXmlFile(on); }
    ~AsyncReading() { AsyncFromXmlFile(m_previous); }

private:
    bool m_previous;
};

}  // namespace xmlin_test

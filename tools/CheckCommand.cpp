// qxxml check <file> [--async] - loads a document (XML text or Fast Infoset, plain or gzip/zlib
// compressed) into a CXmlDocument and reports the encoding it read and what it holds, or the
// exact error that stopped it:
//
//   $ qxxml check po.xml
//   po.xml: XML text, 450857 elements, 45115 attributes, maximum depth 3
//   namespaces:
//     http://www.w3.org/2001/XMLSchema-instance  (1 name)
//     urn:example:po  (450853 names)
//
//   $ qxxml check broken.xml
//   qxxml check: mismatched tag at line 12
//
// --async reads the file with overlapped reads while it is parsed (compressed files are not
// inflated in that mode, exactly as for AsyncFromXmlFile(true) in a program).
#include "Command.h"

#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/fastinfoset/FastInfosetReader.h>
#include <qxxml/support/QxZip.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qxxml_tool {
namespace {

using namespace QxXmlLib10;

std::string Utf8(const std::wstring& text) {
    std::string out;
    AppendUtf8(out, text.data(), text.size());
    return out;
}

struct TreeCounts {
    size_t elements = 0;
    size_t attributes = 0;
    size_t maxDepth = 0;
    std::map<std::wstring, size_t> namespaces;  // URI -> elements and attributes in it
};

// Walks the tree without recursion (documents may nest deeply).
TreeCounts CountTree(const CXmlElement* root) {
    TreeCounts counts;
    std::vector<std::pair<const CXmlElement*, size_t>> pending;
    if (root != nullptr) pending.emplace_back(root, 1);
    while (!pending.empty()) {
        const auto [element, depth] = pending.back();
        pending.pop_back();
        ++counts.elements;
        if (depth > counts.maxDepth) counts.maxDepth = depth;
        if (!element->GetNamespaceURI().empty()) ++counts.namespaces[element->GetNamespaceURI()];
        for (const CXmlAttribute* attribute : element->GetAttributes()) {
            ++counts.attributes;
            if (!attribute->GetNamespaceURI().empty()) ++counts.namespaces[attribute->GetNamespaceURI()];
        }
        for (const CXmlElement* child = element->GetFirstElement(); child != nullptr;
             child = child->GetNextSiblingElement())
            pending.emplace_back(child, depth + 1);
    }
    return counts;
}

// The encoding of the file's bytes, inflated first when the document inflates them.
const char* EncodingOf(const std::string& path, bool inflate) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes) || bytes.empty()) return "XML text";
    uint32_t length = static_cast<uint32_t>(bytes.size());
    unsigned char* data = new unsigned char[length];
    bytes.copy(reinterpret_cast<char*>(data), length);
    std::unique_ptr<unsigned char*, void (*)(unsigned char**)> owner(&data, [](unsigned char** p) { delete[] *p; });
    if (inflate) CQxZip().Decompress(&data, &length);
    return CFastInfosetReader::IsFastInfoset(data, length) ? "Fast Infoset" : "XML text";
}

int RunCheck(const std::vector<std::string>& args) {
    std::string path;
    bool overlapped = false;
    for (const std::string& arg : args) {
        if (arg == "--async")
            overlapped = true;
        else if (path.empty())
            path = arg;
        else
            return UsageError("check");
    }
    if (path.empty()) return UsageError("check");

    std::wstring widePath;
    if (!AppendWideFromUtf8(widePath, path.data(), path.size())) {
        std::fprintf(stderr, "qxxml check: the file name is not valid UTF-8\n");
        return 2;
    }

    // Failures reach main(), which prints the message.
    struct Switch {
        explicit Switch(bool on) { AsyncFromXmlFile(on); }
        ~Switch() { AsyncFromXmlFile(false); }
    } overlappedReads(overlapped);
    CXmlDocument document;
    document.Load(widePath.c_str());

    const TreeCounts counts = CountTree(document.GetDocumentElement());
    std::printf("%s: %s, %zu elements, %zu attributes, maximum depth %zu\n", path.c_str(),
                EncodingOf(path, !overlapped), counts.elements,
                counts.attributes, counts.maxDepth);
    if (counts.namespaces.empty()) {
        std::printf("namespaces: none\n");
        return 0;
    }
    std::printf("namespaces:\n");
    for (const auto& [uri, names] : counts.namespaces)
        std::printf("  %s  (%zu %s)\n", Utf8(uri).c_str(), names, names == 1 ? "name" : "names");
    return 0;
}

Registration check("check", "<file> [--async]",
                   "load a document, report its encoding and count its elements, attributes and namespaces", RunCheck);

}  // namespace
}  // namespace qxxml_tool

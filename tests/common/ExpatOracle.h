// ExpatOracle.h - python3's expat (xml.parsers.expat) as the judge of what qxxml writes: the
// events of written documents, and texts quoted the way python's json module quotes them.
//
//   const std::vector<std::string> events = ExpatEventsOfFiles({{path, "UTF-8"}});
//   EXPECT_EQ(events[0], "E " + Json(L"{urn:a}root") + "\n");
#pragma once

#include <qxxml/values/BinaryData.h>

#include "common/Messages.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qxxml_test {

// Checks XML documents with expat's namespace processing, in one python run. Each file holds
// a document's bytes: "UTF-8", "UTF-16-LE" (no byte order mark) or "UTF-16" (with one). The
// result for a file has one line per event, strings JSON-quoted (see Json below), names
// resolved as "{uri}local" (or "local"):
//   E "name"            an element starts
//   A "name" "value"    one of its attributes, sorted by name
//   T "text"            character data that is not only whitespace
// or a single "ERROR: ..." line when the document is not well-formed or namespace-correct.
inline std::vector<std::string> ExpatEventsOfFiles(const std::vector<std::pair<std::string, std::string>>& files) {
    static const char* const program = R"PY(
import sys, json, xml.parsers.expat
def events(path, enc):
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
        out.append('E ' + json.dumps(name(tag)))
        for k, v in sorted((name(k), v) for k, v in attrs.items()):
            out.append('A %s %s' % (json.dumps(k), json.dumps(v)))
    def chars(data):
        if data.strip():
            out.append('T ' + json.dumps(data))
    p = xml.parsers.expat.ParserCreate(None, '|')
    p.StartElementHandler = start
    p.EndElementHandler = lambda tag: None   # ends a run of buffered text
    p.CharacterDataHandler = chars
    p.buffer_text = True
    try:
        p.Parse(data, True)
    except Exception as e:
        return 'ERROR: %s\n' % e
    return ''.join(line + '\n' for line in out)
args = sys.argv[1:]
sys.stdout.write('\x00'.join(events(args[i], args[i + 1]) for i in range(0, len(args), 2)))
)PY";
    std::string args;
    for (const auto& file : files) args += "'" + file.first + "' " + file.second + " ";
    int status = 0;
    const std::string output = RunPython(program, args, status);
    std::vector<std::string> results;
    if (status != 0) {
        results.assign(files.size(), "ERROR: python3 failed: " + output);
        return results;
    }
    size_t start = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        const size_t end = std::min(output.find('\0', start), output.size());
        results.push_back(output.substr(start, end - start));
        start = end + 1;
    }
    return results;
}

// The text as python's json.dumps writes it (ASCII only, surrogate pairs for U+10000 up).
inline std::string Json(const std::wstring& text) {
    std::string out = "\"";
    char unit[8];
    const auto escapeUnit = [&](unsigned u) {
        std::snprintf(unit, sizeof unit, "\\u%04x", u);
        out += unit;
    };
    static const std::map<wchar_t, const char*> shortEscapes = {
        {L'"', "\\\""}, {L'\\', "\\\\"}, {L'\n', "\\n"}, {L'\r', "\\r"}, {L'\t', "\\t"}, {L'\b', "\\b"}, {L'\f', "\\f"}};
    for (wchar_t wc : text) {
        const unsigned long c = static_cast<unsigned long>(wc);
        const auto shortEscape = shortEscapes.find(wc);
        if (shortEscape != shortEscapes.end()) {
            out += shortEscape->second;
        } else if (c < 0x20 || (c > 0x7e && c <= 0xffff)) {
            escapeUnit(static_cast<unsigned>(c));
        } else if (c > 0xffff) {
            escapeUnit(static_cast<unsigned>(0xd800 + ((c - 0x10000) >> 10)));
            escapeUnit(static_cast<unsigned>(0xdc00 + ((c - 0x10000) & 0x3ff)));
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// A name as the oracles' events give it: "{uri}local", or "local" without a namespace.
inline std::string Name(const std::wstring& uri, const std::wstring& local) {
    return Json(uri.empty() ? local : L"{" + uri + L"}" + local);
}

// The bytes of a buffer as a string, for comparing with files and the oracles' output.
inline std::string Bytes(const QxXmlLib10::CBinaryData& data) {
    return std::string(reinterpret_cast<const char*>(data.GetData()), data.GetLength());
}

// A buffer holding a copy of the bytes: test bytes spelled as a string.
inline QxXmlLib10::CBinaryData BinaryOf(const std::string& bytes) {
    return QxXmlLib10::CBinaryData(reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data())),
                                   static_cast<uint32_t>(bytes.size()), /*adopt=*/false);
}

}  // namespace qxxml_test

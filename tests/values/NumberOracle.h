// NumberOracle.h - reference cases for the number tests, computed by Python's int and decimal
// modules (values_oracle.py beside this file) at test time.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace QxXmlTest {

using OracleCase = std::vector<std::string>;

// The system's interpreter when there is one: a version-manager shim first on the PATH can
// take seconds per start, several times the cost of the cases themselves.
inline std::string PythonInterpreter() {
    FILE* system = std::fopen("/usr/bin/python3", "rb");
    if (!system) return "python3";
    std::fclose(system);
    return "/usr/bin/python3";
}

// Runs values_oracle.py MODE COUNT SEED [MAXPLACES] and returns its lines split at tabs.
// Fails the current test (and returns nothing) when python3 cannot produce the cases.
inline std::vector<OracleCase> RunNumberOracle(const std::string& mode, int count, int seed, int maxPlaces = 30) {
    const std::string command = PythonInterpreter() + " '" QXXML_SOURCE_DIR "/tests/values/values_oracle.py' " + mode +
                                " " + std::to_string(count) + " " + std::to_string(seed) + " " +
                                std::to_string(maxPlaces);
    std::vector<OracleCase> cases;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return cases;
    }
    std::string output;
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int status = pclose(pipe);
    EXPECT_EQ(status, 0) << command;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        OracleCase fields;
        size_t field = start;
        for (;;) {
            const size_t tab = output.find('\t', field);
            if (tab == std::string::npos || tab > end) {
                fields.push_back(output.substr(field, end - field));
                break;
            }
            fields.push_back(output.substr(field, tab - field));
            field = tab + 1;
        }
        cases.push_back(std::move(fields));
        start = end + 1;
    }
    EXPECT_FALSE(cases.empty()) << command;
    return cases;
}

// ASCII text to a wide string; "\\t", "\\r", "\\n" and "\\\\" escapes undone when asked.
inline std::wstring Wide(const std::string& text, bool unescape = false) {
    std::wstring wide;
    for (size_t i = 0; i < text.size(); ++i) {
        char ch = text[i];
        if (unescape && ch == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            ch = next == 't' ? '\t' : next == 'r' ? '\r' : next == 'n' ? '\n' : next;
        }
        wide += static_cast<wchar_t>(static_cast<unsigned char>(ch));
    }
    return wide;
}

inline std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t ch : text) narrow += static_cast<char>(ch);
    return narrow;
}

}  // namespace QxXmlTest

// JavaOracle.h - Java's Fast Infoset implementation (Debian's libfastinfoset-java) as an
// independent oracle, run the way the python oracles run: one JVM per batch of cases.
//
//   using namespace qxxml_test;
//   std::vector<std::string> answers =
//       JavaFastInfoset("tests/fastinfoset/fastinfoset_oracle.java", {"E\t4\t2d32", "D\t3\t0001ffff"});
//   // one answer per request, in order
//
// The oracle is a single-file Java program of the source tree, started with `java <file>`
// (the JRE compiles it in memory) and FastInfoset.jar on the class path. Requests go in on
// standard input, one a line; each answer is one line of standard output.
#pragma once

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qxxml_test {

// The answers of the Java program `pathInSource` to the requests, one per request. The
// current test fails (and every answer reads "ERROR ...") when Java or the jar is missing or
// the program fails.
inline std::vector<std::string> JavaFastInfoset(const std::string& pathInSource,
                                                const std::vector<std::string>& requests) {
    const std::string input = TempPath("java-requests.txt");
    std::string lines;
    for (const std::string& request : requests) lines += request + "\n";
    WriteFile(input, lines);
    const std::string errors = TempPath("java-errors.txt");
    const std::string command = std::string("java -cp '/usr/share/java/FastInfoset.jar' '") + QXXML_SOURCE_DIR + "/" +
                                pathInSource + "' < '" + input + "' 2> '" + errors + "'";
    int status = 0;
    const std::string output = CommandOutput(command, status);
    const std::string messages = ReadFile(errors);
    std::remove(input.c_str());
    std::remove(errors.c_str());
    std::vector<std::string> answers = Lines(output);
    if (status != 0 || answers.size() != requests.size()) {
        ADD_FAILURE() << "Java oracle failed (status " << status << "; install default-jre-headless and "
                      << "libfastinfoset-java): " << command << "\n" << messages.substr(0, 2000)
                      << output.substr(0, 2000);
        answers.assign(requests.size(), "ERROR Java oracle failed");
    }
    return answers;
}

}  // namespace qxxml_test

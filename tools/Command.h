// Command.h - the sub-commands of the qxxml tool register themselves here.
//
// Each command lives in its own file and registers itself with a static object:
//
//   static int RunGzip(const std::vector<std::string>& args) { ... return 0; }
//   static qxxml_tool::Registration gzip("gzip", "<in> <out>", "gzip-compress a file", RunGzip);
//
// main() dispatches on the first argument and prints the list of commands for --help.
#pragma once

#include <string>
#include <vector>

namespace qxxml_tool {

using CommandFunction = int (*)(const std::vector<std::string>& args);

struct Command {
    std::string name;
    std::string usage;
    std::string summary;
    CommandFunction run;
};

// All registered commands, sorted by name.
const std::vector<Command>& Commands();

struct Registration {
    Registration(const char* name, const char* usage, const char* summary, CommandFunction run);
};

// Shared helpers for commands working on files.
bool ReadFileBytes(const std::string& path, std::string& bytes);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Prints "usage: qxxml <name> <usage>" to standard error and returns 2.
int UsageError(const std::string& name);

}  // namespace qxxml_tool

// qxxml - command-line tool over the qxxml library.
#include "Command.h"

#include <qxxml/qxxml.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace qxxml_tool {

namespace {
std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

void PrintHelp() {
    std::printf("qxxml %s - XML data-binding runtime tool\n\nusage: qxxml <command> [arguments]\n\n",
                "1.0.0");
    for (const Command& c : Commands())
        std::printf("  %-10s %-24s %s\n", c.name.c_str(), c.usage.c_str(), c.summary.c_str());
}
}  // namespace

const std::vector<Command>& Commands() {
    std::sort(Registry().begin(), Registry().end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    return Registry();
}

Registration::Registration(const char* name, const char* usage, const char* summary, CommandFunction run) {
    Registry().push_back(Command{name, usage, summary, run});
}

// Paths are UTF-8, on Windows too.
bool ReadFileBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

int UsageError(const std::string& name) {
    for (const Command& c : Commands())
        if (c.name == name) std::fprintf(stderr, "usage: qxxml %s %s\n", c.name.c_str(), c.usage.c_str());
    return 2;
}

}  // namespace qxxml_tool

int main(int argc, char** argv) {
    using namespace qxxml_tool;
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "help") {
        PrintHelp();
        return argc < 2 ? 2 : 0;
    }
    const std::string name = argv[1];
    if (name == "version" || name == "--version") {
        std::printf("qxxml 1.0.0\n");
        return 0;
    }
    for (const Command& c : Commands()) {
        if (c.name != name) continue;
        try {
            return c.run(std::vector<std::string>(argv + 2, argv + argc));
        } catch (const QxXmlLib10::CQxException& e) {
            std::fprintf(stderr, "qxxml %s: %ls\n", name.c_str(), e.GetFullMessage().c_str());
            return 1;
        }
    }
    std::fprintf(stderr, "qxxml: unknown command '%s' (try qxxml --help)\n", name.c_str());
    return 2;
}

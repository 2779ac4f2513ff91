// GenerateCommand.cpp - `qxxml generate`: C++ classes from XML Schemas.
//
//   qxxml generate po.xsd --namespace po [--names po.names] --out generated/
//
// writes generated/PoBinding.h (include it), PoBindingTypes.h, PoBinding.cpp and one header
// and source per schema file. --names gives classes and members C++ names of the user's choice
// (BindingNames.h describes the file). Files whose text did not change are not touched, so a build
// that regenerates on every schema change recompiles only what changed.
#include "../Command.h"
#include "BindingBuilder.h"
#include "BindingNames.h"
#include "CodeWriter.h"
#include "SchemaSet.h"

#ifdef QXXML_HAVE_LIBXML2
#include <libxml/parser.h>
#include <libxml/xmlschemas.h>
#endif

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace qxxml_generate {

namespace {

#ifdef QXXML_HAVE_LIBXML2
// The first error libxml2's schema parser finds in the schema (with what it includes and
// imports), as "file:line: message"; empty when the schema is valid.
void CollectError(void* data, xmlErrorPtr error) {
    auto* first = static_cast<std::string*>(data);
    if (!first->empty() || !error || error->level < XML_ERR_ERROR) return;
    std::string message = error->message ? error->message : "invalid schema";
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
    *first = std::string(error->file ? error->file : "schema") + ":" + std::to_string(error->line) +
             ": not a valid XML Schema: " + message;
}

void CheckSchemaIsValid(const std::string& path) {
    std::string error;
    xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(path.c_str());
    xmlSchemaSetParserStructuredErrors(parser, &CollectError, &error);
    xmlSchemaPtr schema = xmlSchemaParse(parser);
    if (schema) xmlSchemaFree(schema);
    xmlSchemaFreeParserCtxt(parser);
    if (!error.empty()) throw CSchemaError(error);
    if (!schema) throw CSchemaError(path, 0, "not a valid XML Schema");
}
#else
void CheckSchemaIsValid(const std::string&) {}
#endif

void WriteIfChanged(const std::filesystem::path& path, const std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (in) {
        const std::string old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (old == text) return;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw CSchemaError(path.string(), 0, "cannot write the file");
}

int RunGenerate(const std::vector<std::string>& args) {
    std::vector<std::string> schemas;
    std::string cppNamespace, outDir, namesFile;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--namespace" && i + 1 < args.size()) cppNamespace = args[++i];
        else if (args[i] == "--out" && i + 1 < args.size()) outDir = args[++i];
        else if (args[i] == "--names" && i + 1 < args.size()) namesFile = args[++i];
        else if (args[i].compare(0, 2, "--") == 0) return qxxml_tool::UsageError("generate");
        else schemas.push_back(args[i]);
    }
    if (schemas.empty() || cppNamespace.empty() || outDir.empty()) return qxxml_tool::UsageError("generate");
    try {
        CSchemaSet set;
        for (const std::string& schema : schemas) {
            CheckSchemaIsValid(schema);
            set.Load(schema);
        }
        CBinding binding;
        CBindingBuilder(set, binding).Build();
        if (!namesFile.empty()) CBindingNames::Load(namesFile).Apply(binding);
        std::filesystem::create_directories(outDir);
        for (const CGeneratedFile& file : CCodeWriter(binding, set.Given(), cppNamespace).Files())
            WriteIfChanged(std::filesystem::path(outDir) / file.name, file.text);
    } catch (const CSchemaError& e) {
        std::fprintf(stderr, "qxxml generate: %s\n", e.what());
        return 1;
    } catch (const std::filesystem::filesystem_error& e) {
        std::fprintf(stderr, "qxxml generate: %s\n", e.what());
        return 1;
    }
    return 0;
}

qxxml_tool::Registration generate("generate", "<schema.xsd>... --namespace <C++ namespace> [--names <file>] --out <dir>",
                                  "C++ binding classes for XML Schemas", RunGenerate);

}  // namespace

}  // namespace qxxml_generate

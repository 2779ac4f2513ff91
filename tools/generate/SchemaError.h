// SchemaError.h - CSchemaError, why `qxxml generate` stops: a schema it cannot bind, with the
// file and line of the construct that stopped it.
//
//   throw CSchemaError(file.Path(), file.Line(element), "mixed content is not supported");
//   // printed as "po.xsd:12: mixed content is not supported"
#pragma once

#include <stdexcept>
#include <string>

namespace qxxml_generate {

class CSchemaError : public std::runtime_error {
public:
    CSchemaError(const std::string& file, int line, const std::string& message)
        : std::runtime_error(file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + message) {}
    explicit CSchemaError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace qxxml_generate

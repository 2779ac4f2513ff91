// CodeWriter.h - CCodeWriter turns a CBinding into C++ source files: one header and one
// source per schema file for the classes defined there, and for the whole binding a header
// of shared declarations (enumerations, class ids, factory), its source and one header that
// includes everything.
//
//   CCodeWriter writer(binding, "po");
//   for (const CGeneratedFile& file : writer.Files()) save(outDir / file.name, file.text);
//
// The output depends only on the binding, never on time or addresses: the same schemas give
// the same bytes.
#pragma once

#include "BindingModel.h"

#include <map>
#include <string>
#include <vector>

namespace qxxml_generate {

struct CGeneratedFile {
    std::string name;
    std::string text;
};

class CCodeWriter {
public:
    // `cppNamespace` may be nested ("acme::po"). Each schema given to the generator gets its
    // files, named after it ("po.xsd": po.h, po.cpp); the schemas it includes or imports have
    // their classes there too. The binding's own files are named after the namespace's last
    // part ("po": PoBinding.h, PoBindingTypes.h, PoBinding.cpp), so a build can tell every
    // file name from the command line alone. Throws CSchemaError when two names meet.
    CCodeWriter(const CBinding& binding, const std::vector<const CSchemaFile*>& given,
                const std::string& cppNamespace);

    std::vector<CGeneratedFile> Files() const;

    // The name of the header that includes the whole binding ("PoBinding.h").
    const std::string& UmbrellaHeader() const { return m_umbrella; }

private:
    std::string TypesHeader() const;
    std::string BindingSource() const;
    std::string Umbrella() const;
    std::string SchemaHeader(const CSchemaFile* file) const;
    std::string SchemaSource(const CSchemaFile* file) const;

    std::string ClassDeclaration(const CClassModel& cls) const;
    std::string ClassDefinition(const CClassModel& cls) const;
    std::string MemberAccessors(const CClassModel& cls, const CMemberModel& member) const;
    std::string AttributeAccessors(const CAttributeModel& attribute) const;
    std::string ElementDescriptor(const CClassModel& cls, const CMemberModel& member) const;
    std::string AttributeDescriptor(const CAttributeModel& attribute) const;
    std::string Facets(const CFacets& facets) const;

    std::string NamespaceOpen() const;
    std::string NamespaceClose() const;

    const CBinding& m_binding;
    std::string m_namespace;
    std::string m_prefix;    // "Po": names the binding's own files and factory
    std::string m_umbrella;  // "PoBinding.h"
    std::string m_types;     // "PoBindingTypes.h"
    std::vector<const CSchemaFile*> m_files;            // the schemas given, in order
    std::map<const CSchemaFile*, std::string> m_stems;  // given file -> "po"
};

}  // namespace qxxml_generate

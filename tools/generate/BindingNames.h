// BindingNames.h - CBindingNames, the C++ names a binding customisation file gives to classes
// and members instead of the names the generator derives from the schema.
//
//   qxxml generate po.xsd --namespace PoBinding --names po.names --out generated/
//
// The file has one customisation per line; '#' starts a comment:
//
//   class  PurchaseOrderType          CPurchaseOrder   # the class of a complex type
//   member AddressType/usAddress      USAddress        # GetUSAddress, SetUSAddress
//   member PurchaseOrderType/item     Items            # GetItems
//
// A class is named by its schema name: the complex type's name, or the element's name for an
// anonymous type. A member is named by its class's schema name and its element or attribute
// name. A customisation that names nothing in the schemas, or a name that meets another, stops
// the generator with the file and line, so that a renamed schema never leaves a stale name.
#pragma once

#include "BindingModel.h"

#include <string>
#include <vector>

namespace qxxml_generate {

class CBindingNames {
public:
    // Reads the customisation file; throws CSchemaError for a line it cannot read.
    static CBindingNames Load(const std::string& path);

    // Renames the classes and members of the binding.
    void Apply(CBinding& binding) const;

private:
    struct CRename {
        enum Kind { Kind_Class, Kind_Member };
        Kind kind = Kind_Class;
        std::wstring owner;  // the class's schema name
        std::wstring item;   // member: its element or attribute name
        std::string name;    // the C++ name
        int line = 0;
    };

    [[noreturn]] void Fail(const CRename& rename, const std::string& message) const;

    std::string m_path;
    std::vector<CRename> m_renames;
};

}  // namespace qxxml_generate

#include "BindingNames.h"

#include "SchemaError.h"
#include "SchemaSet.h"

#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

namespace qxxml_generate {

namespace {

bool IsIdentifier(const std::string& text) {
    if (text.empty() || std::isdigit(static_cast<unsigned char>(text[0]))) return false;
    for (char c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

}  // namespace

CBindingNames CBindingNames::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CSchemaError(path, 0, "cannot read the names file");
    CBindingNames names;
    names.m_path = path;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string kind, target, name, extra;
        if (!(words >> kind)) continue;  // blank or comment
        CRename rename;
        rename.line = number;
        if (!(words >> target >> name) || (words >> extra) || (kind != "class" && kind != "member"))
            throw CSchemaError(path, number, "expected 'class <schema name> <C++ name>' or "
                                             "'member <class schema name>/<element or attribute> <C++ name>'");
        if (!IsIdentifier(name)) throw CSchemaError(path, number, "'" + name + "' is no C++ identifier");
        if (kind == "class") {
            rename.owner = Widen(target);
        } else {
            const size_t slash = target.find('/');
            if (slash == std::string::npos) throw CSchemaError(path, number, "a member is named <class>/<member>");
            rename.kind = CRename::Kind_Member;
            rename.owner = Widen(target.substr(0, slash));
            rename.item = Widen(target.substr(slash + 1));
        }
        rename.name = name;
        names.m_renames.push_back(rename);
    }
    return names;
}

void CBindingNames::Fail(const CRename& rename, const std::string& message) const {
    throw CSchemaError(m_path, rename.line, message);
}

void CBindingNames::Apply(CBinding& binding) const {
    auto classOf = [&](const CRename& rename) -> CClassModel& {
        for (const auto& cls : binding.classes)
            if (!cls->pseudo && cls->infoName == rename.owner) return *cls;
        Fail(rename, "the schemas have no complex type or element " + Narrow(rename.owner));
    };
    for (const CRename& rename : m_renames) {
        CClassModel& cls = classOf(rename);
        if (rename.kind == CRename::Kind_Class) {
            cls.name = rename.name;
            continue;
        }
        std::string* name = nullptr;
        for (CMemberModel& member : cls.members)
            if (!member.wildcard && member.elementName == rename.item) name = &member.name;
        for (CAttributeModel& attribute : cls.attributes)
            if (!attribute.wildcard && attribute.name == rename.item) name = &attribute.cppName;
        if (!name) Fail(rename, Narrow(rename.owner) + " has no element or attribute " + Narrow(rename.item));
        *name = rename.name;
        std::set<std::string> used;
        for (const CMemberModel* member : cls.AllMembers())
            if (!used.insert(member->name).second) Fail(rename, "the member name " + member->name + " is taken");
        for (const CAttributeModel* attribute : cls.AllAttributes())
            if (!used.insert(attribute->cppName).second)
                Fail(rename, "the member name " + attribute->cppName + " is taken");
    }
    // A class name, its collection's name and the enumerations' names share the namespace.
    std::set<std::string> used;
    for (const auto& enumeration : binding.enums) used.insert(enumeration->name);
    for (const auto& cls : binding.classes) {
        if (used.insert(cls->name).second && used.insert(cls->name + "Col").second) continue;
        for (const CRename& rename : m_renames)
            if (rename.kind == CRename::Kind_Class && rename.name == cls->name)
                Fail(rename, "the class name " + cls->name + " is taken");
        throw CSchemaError(m_path, 0, "the class name " + cls->name + " is taken");
    }
}

}  // namespace qxxml_generate

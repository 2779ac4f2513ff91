#include "CodeWriter.h"

#include "BindingBuilder.h"
#include "SchemaSet.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>

namespace qxxml_generate {

using namespace QxXmlLib10;
using namespace QxXmlLib10Data;

namespace {

// ------------------------------------------------------------------ C++ spellings

// A wide string literal; characters outside printable ASCII are escaped so that the source
// is plain ASCII whatever the schema's text. A character beyond the BMP is one \U escape on
// every platform: where wchar_t has 16 bits its surrogate pair is joined first (a \u escape
// of a surrogate is no C++).
std::string Lit(const std::wstring& text) {
    std::string out = "L\"";
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = static_cast<uint32_t>(text[i]);
        if (c >= 0xd800 && c < 0xdc00 && i + 1 < text.size() && text[i + 1] >= 0xdc00 && text[i + 1] < 0xe000)
            c = 0x10000 + ((c - 0xd800) << 10) + (static_cast<uint32_t>(text[++i]) - 0xdc00);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char escape[16];
            if (c < 0xa0)
                std::snprintf(escape, sizeof escape, "\\%03o", c);  // octal stops after 3 digits
            else
                std::snprintf(escape, sizeof escape, c > 0xffff ? "\\U%08X" : "\\u%04X", c);
            out += escape;
        }
    }
    return out + "\"";
}

std::string LitOrNull(const std::wstring& text) { return text.empty() ? "nullptr" : Lit(text); }

// Text for a comment line: no line breaks, no end of comment.
std::string CommentText(const std::wstring& text) {
    std::string out;
    for (char c : Narrow(text)) out += c == '\n' || c == '\r' ? ' ' : c;
    return out;
}

struct CKindSpelling {
    ItemType kind;
    const char* enumerator;
    const char* type;
    const char* collection;
};

const CKindSpelling kKinds[] = {
    {ItemType_hexBinary, "ItemType_hexBinary", "CBinaryData", "ChexBinaryCol"},
    {ItemType_base64Binary, "ItemType_base64Binary", "CBinaryData", "Cbase64BinaryCol"},
    {ItemType_i1, "ItemType_i1", "char", "Ci1Col"},
    {ItemType_i2, "ItemType_i2", "int16_t", "Ci2Col"},
    {ItemType_i4, "ItemType_i4", "int32_t", "Ci4Col"},
    {ItemType_i8, "ItemType_i8", "int64_t", "Ci8Col"},
    {ItemType_ui1, "ItemType_ui1", "unsigned char", "Cui1Col"},
    {ItemType_ui2, "ItemType_ui2", "uint16_t", "Cui2Col"},
    {ItemType_ui4, "ItemType_ui4", "uint32_t", "Cui4Col"},
    {ItemType_ui8, "ItemType_ui8", "uint64_t", "Cui8Col"},
    {ItemType_r4, "ItemType_r4", "float", "Cr4Col"},
    {ItemType_r8, "ItemType_r8", "double", "Cr8Col"},
    {ItemType_duration, "ItemType_duration", "CDateTimeSpan", "CdurationCol"},
    {ItemType_yearMonth, "ItemType_yearMonth", "CDateTime", "CyearMonthCol"},
    {ItemType_monthDay, "ItemType_monthDay", "CDateTime", "CmonthDayCol"},
    {ItemType_year, "ItemType_year", "uint16_t", "CyearCol"},
    {ItemType_month, "ItemType_month", "unsigned char", "CmonthCol"},
    {ItemType_day, "ItemType_day", "unsigned char", "CdayCol"},
    {ItemType_date, "ItemType_date", "CDateTime", "CdateCol"},
    {ItemType_datetime, "ItemType_datetime", "CDateTime", "CdatetimeCol"},
    {ItemType_time, "ItemType_time", "CDateTime", "CtimeCol"},
    {ItemType_string, "ItemType_string", "std::wstring", "CstringCol"},
    {ItemType_boolean, "ItemType_boolean", "bool", "CbooleanCol"},
    {ItemType_decimal, "ItemType_decimal", "CDecimal", "CdecimalCol"},
    {ItemType_integer, "ItemType_integer", "CBigInteger", "CintegerCol"},
};

const CKindSpelling& Spelling(ItemType kind) {
    for (const CKindSpelling& spelling : kKinds)
        if (spelling.kind == kind) return spelling;
    return kKinds[21];  // string
}

std::string Whitespace(WhitespaceRule rule) {
    switch (rule) {
        case CWhitespaceUtils::WhitespaceRule_Preserve: return "CWhitespaceUtils::WhitespaceRule_Preserve";
        case CWhitespaceUtils::WhitespaceRule_Replace: return "CWhitespaceUtils::WhitespaceRule_Replace";
        case CWhitespaceUtils::WhitespaceRule_Collapse: return "CWhitespaceUtils::WhitespaceRule_Collapse";
        default: return "CWhitespaceUtils::WhitespaceRule_None";
    }
}

const char* GroupName(XmlElementGroupType group) {
    return group == XmlElementGroupType_Choice ? "Choice" : group == XmlElementGroupType_All ? "All" : "Seq";
}

// An XSD regular expression in the dialect the library's matcher hands to PCRE: '^' and '$'
// are ordinary characters in XSD (anchors in PCRE), and a class subtraction [a-z-[aeiou]] is
// a look-ahead that refuses the subtracted class before the base class.
std::wstring ToMatcherDialect(const std::wstring& xsd) {
    std::wstring out;
    for (size_t i = 0; i < xsd.size(); ++i) {
        const wchar_t c = xsd[i];
        if (c == L'\\' && i + 1 < xsd.size()) {
            out += xsd.substr(i, 2);
            ++i;
        } else if (c == L'^' || c == L'$') {
            out += L'\\';
            out += c;
        } else if (c == L'[') {
            // The class up to its closing bracket, nested subtractions included.
            size_t depth = 0, end = i, subtraction = std::wstring::npos;
            for (; end < xsd.size(); ++end) {
                if (xsd[end] == L'\\') {
                    ++end;
                } else if (xsd[end] == L'[') {
                    if (depth == 1 && xsd[end - 1] == L'-') subtraction = end - 1;
                    ++depth;
                } else if (xsd[end] == L']' && --depth == 0) {
                    break;
                }
            }
            if (end >= xsd.size()) return xsd;  // unbalanced: left for the matcher to report
            if (subtraction == std::wstring::npos) {
                out += xsd.substr(i, end - i + 1);
            } else {
                const std::wstring base = xsd.substr(i, subtraction - i) + L"]";
                const std::wstring removed = xsd.substr(subtraction + 1, end - subtraction - 1);
                out += L"(?:(?!" + ToMatcherDialect(removed) + L")" + base + L")";
            }
            i = end;
        } else {
            out += c;
        }
    }
    return out;
}

// One pattern for the library's matcher, which anchors it at both ends: the alternatives of
// a step are grouped, and every step but the last becomes a look-ahead, so that all must hold.
std::wstring Pattern(const CFacets& facets) {
    if (facets.patterns.empty()) return L"";
    if (facets.patterns.size() == 1 && facets.patterns[0].size() == 1 &&
        facets.patterns[0][0].find(L'|') == std::wstring::npos)
        return ToMatcherDialect(facets.patterns[0][0]);
    std::wstring out;
    for (size_t step = 0; step < facets.patterns.size(); ++step) {
        std::wstring group = L"(?:";
        for (size_t i = 0; i < facets.patterns[step].size(); ++i)
            group += (i ? L"|(?:" : L"(?:") + ToMatcherDialect(facets.patterns[step][i]) + L")";
        group += L")";
        out += step + 1 < facets.patterns.size() ? L"(?=" + group + L"$)" : group;
    }
    return out;
}

// The eight facet arguments of CPrimitiveRestrictions and the typed collections.
std::string FacetArguments(const CFacets& facets) {
    return LitOrNull(Pattern(facets)) + ", " + std::to_string(facets.minLength) + ", " +
           std::to_string(facets.maxLength) + ", " + LitOrNull(facets.minInclusive) + ", " +
           LitOrNull(facets.maxInclusive) + ", " + LitOrNull(facets.minExclusive) + ", " +
           LitOrNull(facets.maxExclusive) + ", " + std::to_string(facets.length);
}

// "name" from "Name", "usAddress" from "USAddress": the leading capitals, less the one that
// starts the next word.
std::string LowerFirst(std::string text) {
    auto upper = [&](size_t i) { return i < text.size() && std::isupper(static_cast<unsigned char>(text[i])); };
    size_t end = 0;
    while (upper(end)) ++end;
    if (end > 1 && end < text.size() && std::islower(static_cast<unsigned char>(text[end]))) --end;
    for (size_t i = 0; i < std::max<size_t>(end, 1) && i < text.size(); ++i)
        text[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    return text;
}

std::string Field(const std::string& name) { return "m_" + LowerFirst(name); }
std::string Presence(const std::string& name) { return "m_has" + name; }
std::string NilFlag(const std::string& name) { return "m_" + LowerFirst(name) + "Nil"; }

bool IsObject(const CMemberModel& member) {
    return member.kind == CMemberModel::Kind_Cls || member.kind == CMemberModel::Kind_AbsCls;
}
bool IsUntyped(const CMemberModel& member) { return member.kind == CMemberModel::Kind_Untpd; }
// Held by pointer: a generated object or a CElement.
bool IsHeld(const CMemberModel& member) { return IsObject(member) || IsUntyped(member); }
bool InChoice(const CClassModel& cls) { return cls.group == XmlElementGroupType_Choice; }
bool HasPresence(const CClassModel& cls, const CMemberModel& member) {
    return !member.Repeated() && !IsHeld(member) && (member.Optional() || InChoice(cls));
}
bool HasNil(const CMemberModel& member) { return member.nillable && !member.Repeated() && !IsHeld(member); }
// A single object member that must be there: its setter refuses null.
bool Mandatory(const CClassModel& cls, const CMemberModel& member) {
    return IsObject(member) && !member.pseudo && !member.Repeated() && !member.Optional() && !InChoice(cls);
}
// A model group, or a member whose object's class is chosen by xsi:type, takes the member's
// element name when set; any other object must already carry it.
bool NamedByMember(const CMemberModel& member) { return member.pseudo || member.kind == CMemberModel::Kind_AbsCls; }

const char* const kChoiceNote = "    // Another alternative that is set refuses it until it is cleared.\n";

// The C++ type of a simple value.
std::string ValueType(const CSimpleModel& simple) {
    if (simple.enumeration) return simple.enumeration->name;
    const std::string item = Spelling(simple.kind).type;
    return simple.list ? "std::vector<" + item + ">" : item;
}

// How a value of the type is passed: scalars and enumerations by value, the rest by reference.
std::string ParameterType(const CSimpleModel& simple) {
    const std::string type = ValueType(simple);
    const bool scalar = simple.enumeration || (!simple.list && simple.kind != ItemType_string &&
                                               simple.kind != ItemType_decimal && simple.kind != ItemType_integer &&
                                               simple.kind != ItemType_hexBinary &&
                                               simple.kind != ItemType_base64Binary &&
                                               std::string(Spelling(simple.kind).type) != "CDateTime" &&
                                               simple.kind != ItemType_duration);
    return scalar ? type : "const " + type + "&";
}

// A setter: on one line when it only stores the value.
std::string Setter(const std::string& name, const std::string& parameter, const std::vector<std::string>& body) {
    if (body.size() == 1) return "    void Set" + name + "(" + parameter + " value) { " + body[0] + " }\n";
    std::string out = "    void Set" + name + "(" + parameter + " value) {\n";
    for (const std::string& statement : body) out += "        " + statement + "\n";
    return out + "    }\n";
}

std::string CollectionType(const CMemberModel& member) {
    if (IsObject(member)) return member.cls->name + "Col";
    if (IsUntyped(member)) return "CElementCol";
    if (member.kind == CMemberModel::Kind_Enum) return "CGeneratedEnumCol";
    if (member.kind == CMemberModel::Kind_List) return "CstringCol";
    return Spelling(member.simple.kind).collection;
}

std::string Occurrence(const CMemberModel& member) {
    std::string text;
    if (member.Repeated())
        text = ", " + std::to_string(member.minOccurs) + ".." +
               (member.maxOccurs < 0 ? std::string("unbounded") : std::to_string(member.maxOccurs));
    else if (member.Optional())
        text = ", optional";
    return text + (member.nillable ? ", nillable" : "");
}

// The initial value of a simple field: its default text, or the type's own default.
std::string InitialValue(const CSimpleModel& simple, bool hasDefault, const std::wstring& text) {
    if (simple.enumeration) {
        for (size_t i = 0; hasDefault && i < simple.enumeration->values.size(); ++i)
            if (simple.enumeration->values[i] == text) return simple.enumeration->members[i];
        return simple.enumeration->members.front();
    }
    if (!hasDefault || simple.list) return "{}";
    if (simple.kind == ItemType_string) return Lit(text);
    return std::string("ParseValue<") + Spelling(simple.kind).enumerator + ">(" + Lit(text) + ")";
}

std::string EnumToText(const CEnumModel& enumeration) { return enumeration.name + "ToString"; }
std::string EnumFromText(const CEnumModel& enumeration) { return enumeration.name + "FromString"; }

std::string FactoryOf(const CClassModel& cls) { return "Create" + cls.name.substr(1) + "FromElement"; }

}  // namespace

// ------------------------------------------------------------------ the files

namespace {
// A file name part: letters, digits and '_' kept, anything else becomes '_' (the CMake
// function qxxml_add_binding predicts the names by the same rule).
std::string FileNamePart(const std::string& text) {
    std::string out;
    for (char c : text) out += std::isalnum(static_cast<unsigned char>(c)) || c == '_' ? c : '_';
    return out;
}
}  // namespace

CCodeWriter::CCodeWriter(const CBinding& binding, const std::vector<const CSchemaFile*>& given,
                         const std::string& cppNamespace)
    : m_binding(binding), m_namespace(cppNamespace), m_files(given) {
    const size_t last = cppNamespace.rfind(':');
    m_prefix = FileNamePart(last == std::string::npos ? cppNamespace : cppNamespace.substr(last + 1));
    if (!m_prefix.empty()) m_prefix[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(m_prefix[0])));
    // A namespace named "<Name>Binding" gives the prefix <Name>, not <Name>BindingBinding.
    const std::string suffix = "Binding";
    if (m_prefix.size() > suffix.size() && m_prefix.compare(m_prefix.size() - suffix.size(), suffix.size(), suffix) == 0)
        m_prefix.erase(m_prefix.size() - suffix.size());
    m_umbrella = m_prefix + "Binding.h";
    m_types = m_prefix + "BindingTypes.h";
    std::set<std::string> used = {m_prefix + "Binding", m_prefix + "BindingTypes"};
    for (const CSchemaFile* file : given) {
        const std::string stem = FileNamePart(std::filesystem::path(file->Path()).stem().string());
        if (!used.insert(stem).second)
            throw CSchemaError(file->Path(), 0, "its output files " + stem + ".h/.cpp would have the name of another "
                                                "schema's or of the binding's: rename the schema");
        m_stems[file] = stem;
    }
}

std::vector<CGeneratedFile> CCodeWriter::Files() const {
    std::vector<CGeneratedFile> files;
    files.push_back({m_types, TypesHeader()});
    files.push_back({m_prefix + "Binding.cpp", BindingSource()});
    files.push_back({m_umbrella, Umbrella()});
    for (const CSchemaFile* file : m_files) {
        files.push_back({m_stems.at(file) + ".h", SchemaHeader(file)});
        files.push_back({m_stems.at(file) + ".cpp", SchemaSource(file)});
    }
    return files;
}

std::string CCodeWriter::NamespaceOpen() const { return "namespace " + m_namespace + " {\n"; }
std::string CCodeWriter::NamespaceClose() const { return "}  // namespace " + m_namespace + "\n"; }

namespace {
const char* const kGeneratedNote = "// Generated by qxxml generate; do not edit.\n";
}

std::string CCodeWriter::TypesHeader() const {
    std::string out = "// " + m_types + " - what the classes of the " + m_prefix +
                      " binding share: its enumerations and their\n// texts, the class ids and the factory that "
                      "creates objects while reading.\n" +
                      kGeneratedNote + "#pragma once\n\n";
    out += "#include <qxxml/core/ClassfactoryBase.h>\n#include <qxxml/core/GeneratedSupport.h>\n"
           "#include <qxxml/core/XmlSerializationContext.h>\n\n#include <cstdint>\n#include <string>\n\n";
    out += NamespaceOpen() + "\nusing namespace QxXmlLib10;\nusing namespace QxXmlLib10Data;\n\n";
    for (const auto& enumeration : m_binding.enums) {
        out += "// " + enumeration->source + "\nenum " + enumeration->name + " {\n";
        for (size_t i = 0; i < enumeration->members.size(); ++i)
            out += "    " + enumeration->members[i] + " = " + std::to_string(i) + ",  // " +
                   CommentText(enumeration->values[i]) + "\n";
        out += "};\n// The schema text of a value (null outside the enumeration), and the value of a text\n"
               "// (CQxInvalidValueException for any other text).\n";
        out += "const wchar_t* " + EnumToText(*enumeration) + "(int value);\n";
        out += "int " + EnumFromText(*enumeration) + "(const wchar_t* text);\n\n";
    }
    out += "// The classes of the binding and the collections of their repeated members.\n";
    for (const auto& cls : m_binding.classes)
        out += "class " + cls->name + ";\nusing " + cls->name + "Col = CGeneratedObjectCol<" + cls->name + ">;\n";
    out += "\n// Class ids handed to the class descriptors.\nenum " + m_prefix + "ClassId {\n";
    for (const auto& cls : m_binding.classes)
        out += "    " + m_prefix + "Class_" + cls->name.substr(1) + " = " + std::to_string(cls->classId) + ",\n";
    out += "};\n\n";
    out += "// Creates the objects the descriptors ask for while reading.\nclass C" + m_prefix +
           "Factory : public CClassfactoryBase {\npublic:\n"
           "    // A new object of the class id, carrying `elementName`; null for an abstract class or an\n"
           "    // unknown id.\n"
           "    static CSmartPtr<CXmlObjectBase> CreateObject(int classId, const wchar_t* elementName);\n";
    for (const auto& cls : m_binding.classes)
        if (cls->polymorphic || cls->abstract)
            out += "    // " + cls->name + " or the class its xsi:type names; null for any other type.\n"
                   "    static CSmartPtr<CXmlObjectBase> " + FactoryOf(*cls) + "(CXmlElement* element);\n";
    out += "};\n\n";
    out += "// A new object for a document element of the schemas (global xs:element), or null.\n"
           "CSmartPtr<CXmlGeneratedClass> CreateDocumentElement(const wchar_t* namespaceUri, const wchar_t* localName);\n\n"
           "// Declares the prefixes the schemas use for their namespaces, and xsi:, on the root element of\n"
           "// every document written with the context.\n"
           "void Add" + m_prefix + "NamespaceAliases(CXmlSerializationContext& context);\n\n"
           "// Gives back the metadata tables of every class (also done at program exit); a class used\n"
           "// afterwards builds its tables again.\n"
           "void Release" + m_prefix + "MetaData();\n\n";
    return out + NamespaceClose();
}

std::string CCodeWriter::Umbrella() const {
    std::string out = "// " + m_umbrella + " - the whole " + m_prefix + " binding in one include.\n" + kGeneratedNote +
                      "#pragma once\n\n#include \"" + m_types + "\"\n";
    for (const CSchemaFile* file : m_files) out += "#include \"" + m_stems.at(file) + ".h\"\n";
    return out;
}

std::string CCodeWriter::BindingSource() const {
    std::string out = std::string(kGeneratedNote) + "#include \"" + m_umbrella + "\"\n\n" + NamespaceOpen() + "\n";
    if (!m_binding.enums.empty()) out += "namespace {\n\n";
    for (const auto& enumeration : m_binding.enums) {
        out += "const wchar_t* const k" + enumeration->name + "Texts[] = {";
        for (size_t i = 0; i < enumeration->values.size(); ++i) out += (i ? ", " : "") + Lit(enumeration->values[i]);
        out += "};\n";
    }
    if (!m_binding.enums.empty()) out += "\n}  // namespace\n\n";
    for (const auto& enumeration : m_binding.enums) {
        const std::string texts = "k" + enumeration->name + "Texts";
        out += "const wchar_t* " + EnumToText(*enumeration) + "(int value) { return EnumToText(" + texts +
               ", value); }\n";
        out += "int " + EnumFromText(*enumeration) + "(const wchar_t* text) {\n    return EnumFromText(" + texts +
               ", text, " + (enumeration->collapse ? "true" : "false") + ", " + Lit(Widen(enumeration->name)) +
               ");\n}\n\n";
    }
    const std::string factory = "C" + m_prefix + "Factory";
    out += "CSmartPtr<CXmlObjectBase> " + factory +
           "::CreateObject(int classId, const wchar_t* elementName) {\n    switch (classId) {\n";
    for (const auto& cls : m_binding.classes)
        if (!cls->abstract)
            out += "        case " + m_prefix + "Class_" + cls->name.substr(1) + ": return new " + cls->name +
                   "(elementName);\n";
    out += "        default: return nullptr;\n    }\n}\n\n";
    for (const auto& cls : m_binding.classes) {
        if (!cls->polymorphic && !cls->abstract) continue;
        out += "CSmartPtr<CXmlObjectBase> " + factory + "::" + FactoryOf(*cls) + "(CXmlElement* element) {\n";
        out += "    const std::wstring type = GetElementType(element);\n";
        out += std::string("    if (type.empty()) return ") +
               (cls->abstract ? "nullptr" : "new " + cls->name + "(element->GetLocalName().c_str())") + ";\n";
        out += "    const std::wstring ns = GetElementTypeNamespaceUri(element);\n";
        std::vector<const CClassModel*> candidates{cls.get()};
        for (size_t i = 0; i < candidates.size(); ++i)
            for (const CClassModel* derived : candidates[i]->derived) candidates.push_back(derived);
        for (const CClassModel* candidate : candidates)
            if (!candidate->abstract)
                out += "    if (type == " + Lit(candidate->infoName) + " && ns == " + Lit(candidate->infoNamespace) +
                       ") return new " + candidate->name + "(element->GetLocalName().c_str());\n";
        out += "    return nullptr;\n}\n\n";
    }
    // A document element of one namespace whose type comes from another: its class writes the
    // root in the type's namespace, so the element gets a class of its own that names its
    // element's namespace.
    std::map<const CDocumentElementModel*, std::string> documentClasses;
    for (const auto& element : m_binding.documentElements) {
        if (element.cls->abstract || element.ns == element.cls->file->TargetNamespace()) continue;
        const std::string name = "C" + Identifier(element.name) + "DocumentElement" +
                                 std::to_string(documentClasses.size() + 1);
        documentClasses[&element] = name;
        out += "namespace {\n\n// <" + Narrow(element.name) + "> of " + Narrow(element.ns) + ", a " + element.cls->name +
               " written in its own element's namespace.\nclass " + name + " : public " + element.cls->name +
               " {\npublic:\n    using " + element.cls->name + "::" + element.cls->name +
               ";\n\nprotected:\n    std::wstring GetTargetNamespace() const override { return " + Lit(element.ns) +
               "; }\n};\n\n}  // namespace\n\n";
    }
    out += "CSmartPtr<CXmlGeneratedClass> CreateDocumentElement(const wchar_t* namespaceUri, const wchar_t* localName) "
           "{\n    const std::wstring ns = namespaceUri ? namespaceUri : L\"\";\n"
           "    const std::wstring name = localName ? localName : L\"\";\n";
    for (const auto& element : m_binding.documentElements)
        if (!element.cls->abstract)
            out += "    if (ns == " + Lit(element.ns) + " && name == " + Lit(element.name) + ") return new " +
                   (documentClasses.count(&element) ? documentClasses[&element] : element.cls->name) + "(" +
                   Lit(element.name) + ");\n";
    out += "    return nullptr;\n}\n\n";
    out += "void Release" + m_prefix + "MetaData() {\n";
    for (const auto& cls : m_binding.classes) out += "    " + cls->name + "::ReleaseMetaData();\n";
    out += "}\n\n";
    out += "void Add" + m_prefix + "NamespaceAliases(CXmlSerializationContext& context) {\n";
    std::set<std::wstring> prefixes, namespaces;
    std::vector<const CSchemaFile*> schemas;
    for (const auto& cls : m_binding.classes)
        if (std::find(schemas.begin(), schemas.end(), cls->file) == schemas.end()) schemas.push_back(cls->file);
    for (const CSchemaFile* file : schemas) {
        const std::wstring prefix = file->PrefixOf(file->TargetNamespace());
        if (prefix.empty() || file->TargetNamespace().empty() || prefixes.count(prefix) ||
            namespaces.count(file->TargetNamespace()))
            continue;
        prefixes.insert(prefix);
        namespaces.insert(file->TargetNamespace());
        out += "    context.GetNamespaceAliases().Add(" + Lit(prefix) + ", " + Lit(file->TargetNamespace()) + ");\n";
    }
    if (!prefixes.count(L"xsi"))
        out += "    context.GetNamespaceAliases().Add(L\"xsi\", L\"http://www.w3.org/2001/XMLSchema-instance\");\n";
    out += "}\n\n";
    return out + NamespaceClose();
}

std::string CCodeWriter::SchemaHeader(const CSchemaFile* file) const {
    const std::string name = std::filesystem::path(file->Path()).filename().string();
    std::string out = "// " + m_stems.at(file) + ".h - the classes of " + name +
                      " and of the schemas it includes or imports.\n" + kGeneratedNote + "#pragma once\n\n#include \"" + m_types + "\"\n";
    std::set<std::string> includes;
    for (const auto& cls : m_binding.classes)
        if (cls->file->Origin() == file && cls->base && cls->base->file->Origin() != file)
            includes.insert(m_stems.at(cls->base->file->Origin()));
    for (const std::string& include : includes) out += "#include \"" + include + ".h\"\n";
    out += "\n#include <qxxml/collections/AttributeCol.h>\n#include <qxxml/collections/DateTimeCollections.h>\n"
           "#include <qxxml/collections/Element.h>\n#include <qxxml/collections/ElementCol.h>\n"
           "#include <qxxml/collections/TypedCollections.h>\n"
           "#include <qxxml/values/BigInteger.h>\n#include <qxxml/values/BinaryData.h>\n"
           "#include <qxxml/values/DateTime.h>\n#include <qxxml/values/DateTimeSpan.h>\n"
           "#include <qxxml/values/Decimal.h>\n\n#include <cstdint>\n#include <string>\n#include <vector>\n\n";
    out += NamespaceOpen();
    for (const auto& cls : m_binding.classes)
        if (cls->file->Origin() == file) out += "\n" + ClassDeclaration(*cls);
    return out + "\n" + NamespaceClose();
}

std::string CCodeWriter::SchemaSource(const CSchemaFile* file) const {
    std::string out = std::string(kGeneratedNote) + "#include \"" + m_umbrella +
                      "\"\n\n#include <qxxml/metadata/ElementInfoAll.h>\n#include <qxxml/metadata/ElementInfoChoice.h>\n"
                      "#include <qxxml/metadata/ElementInfoSeq.h>\n\n" +
                      NamespaceOpen();
    for (const auto& cls : m_binding.classes)
        if (cls->file->Origin() == file) out += "\n" + ClassDefinition(*cls);
    return out + "\n" + NamespaceClose();
}

// ------------------------------------------------------------------ class declarations

std::string CCodeWriter::MemberAccessors(const CClassModel& cls, const CMemberModel& member) const {
    const std::string& n = member.name;
    std::string out = "    // " + member.source + ": " +
                      (IsObject(member) ? (member.pseudo ? "model group " : "") + member.cls->name
                                        : member.simple.description) +
                      Occurrence(member) + "\n";
    if (member.Repeated()) {
        const std::string type = CollectionType(member);
        return out + "    " + type + "* Get" + n + "() const { return " + Field(n) + ".Get(); }\n";
    }
    if (IsUntyped(member)) {
        out += "    CSmartPtr<CElement> Get" + n + "() const { return " + Field(n) + "; }\n";
        out += "    // The element is written with its own name and namespace.\n" +
               std::string(InChoice(cls) ? kChoiceNote : "");
        return out + "    void Set" + n + "(CElement* value) { " +
               (InChoice(cls) ? "if (value) SelectChoice(" + Lit(member.elementName) + "); " : "") + Field(n) +
               " = value; }\n";
    }
    if (IsObject(member)) {
        out += "    CSmartPtr<" + member.cls->name + "> Get" + n + "() const;\n";
        out += std::string("    // ") +
               (NamedByMember(member) ? "The object takes the element name of the member"
                                      : "The object must carry the member's element name") +
               (Mandatory(cls, member) ? "; null is refused" : "; null clears it") + ".\n" +
               (InChoice(cls) ? kChoiceNote : "");
        return out + "    void Set" + n + "(" + member.cls->name + "* value);\n";
    }
    const std::string type = ValueType(member.simple);
    const std::string parameter = ParameterType(member.simple);
    out += "    " + parameter + " Get" + n + "() const { return " + Field(n) + "; }\n";
    std::vector<std::string> body;
    if (InChoice(cls)) body.push_back("SelectChoice(" + Lit(member.elementName) + ");");
    body.push_back(Field(n) + " = value;");
    if (HasPresence(cls, member)) body.push_back(Presence(n) + " = true;");
    if (HasNil(member)) body.push_back(NilFlag(n) + " = false;");
    out += Setter(n, parameter, body);
    if (HasPresence(cls, member)) {
        out += "    bool IsValid" + n + "() const { return " + Presence(n) + "; }\n";
        out += "    void Clear" + n + "() {\n        " + Field(n) + " = " + InitialValue(member.simple, false, L"") + ";\n        " + Presence(n) +
               " = false;\n" + (HasNil(member) ? "        " + NilFlag(n) + " = false;\n" : "") + "    }\n";
    }
    if (HasNil(member)) {
        out += "    bool Is" + n + "Nil() const { return " + NilFlag(n) + "; }\n";
        out += "    void Set" + n + "Nil() {\n" + (InChoice(cls) ? "        SelectChoice(" + Lit(member.elementName) + ");\n" : "") + "        " +
               Field(n) + " = " + InitialValue(member.simple, false, L"") + ";\n        " + NilFlag(n) + " = true;\n" +
               (HasPresence(cls, member) ? "        " + Presence(n) + " = true;\n" : "") + "    }\n";
    }
    return out;
}

std::string CCodeWriter::AttributeAccessors(const CAttributeModel& attribute) const {
    const std::string& n = attribute.cppName;
    if (attribute.wildcard)
        return "    // " + attribute.source + ": " + attribute.simple.description + "\n    CAttributeCol* Get" + n +
               "() const { return " + Field(n) + ".Get(); }\n";
    const std::string parameter = ParameterType(attribute.simple);
    std::string out = "    // " + attribute.source + ": " + attribute.simple.description +
                      (attribute.optional ? ", optional" : ", required") +
                      (attribute.hasDefault ? ", default " + CommentText(attribute.defaultValue) : "") + "\n";
    out += "    " + parameter + " Get" + n + "() const { return " + Field(n) + "; }\n";
    std::vector<std::string> body{Field(n) + " = value;"};
    if (attribute.optional) body.push_back(Presence(n) + " = true;");
    out += Setter(n, parameter, body);
    if (attribute.optional) {
        out += "    // Whether the attribute is there" +
               std::string(attribute.hasDefault ? "; an absent one reads as its default" : "") + ".\n";
        out += "    bool IsValid" + n + "() const { return " + Presence(n) + "; }\n";
        out += "    void Clear" + n + "() {\n        " + Field(n) + " = " +
               InitialValue(attribute.simple, attribute.hasDefault, attribute.defaultValue) + ";\n        " +
               Presence(n) + " = false;\n    }\n";
    }
    return out;
}

std::string CCodeWriter::ClassDeclaration(const CClassModel& cls) const {
    const bool ownNil = cls.nillable;
    std::string out = "// " + cls.source + (cls.pseudo ? ": a model group, read and written inside its holder's "
                                                         "element"
                                                       : "") +
                      (cls.abstract ? ": abstract, chosen by xsi:type" : "") + "\n";
    out += "class " + cls.name + " : public " + (cls.base ? cls.base->name : std::string("CXmlGeneratedClass")) +
           (ownNil ? ", public INillable" : "") + " {\npublic:\n";
    out += "    explicit " + cls.name + "(const wchar_t* elementName = " + Lit(cls.defaultElementName) + ");\n";
    out += "    ~" + cls.name + "() override;\n    " + cls.name + "(const " + cls.name + "&) = delete;\n    " +
           cls.name + "& operator=(const " + cls.name + "&) = delete;\n\n";
    if (InChoice(cls))
        out += "    // The element name of the alternative that is set, or empty.\n"
               "    std::wstring GetChoiceSelectedElement() const;\n";
    for (const CMemberModel& member : cls.members) out += MemberAccessors(cls, member);
    for (const CAttributeModel& attribute : cls.attributes) out += AttributeAccessors(attribute);
    if (cls.hasText) {
        const std::string parameter = ParameterType(cls.text);
        out += "    // The element's text: " + cls.text.description + "\n";
        out += "    " + parameter + " GetText() const { return m_text; }\n";
        out += Setter("Text", parameter, {"m_text = value;"});
    }
    if (ownNil)
        out += "    // A nil element has no content.\n    bool IsNil() override { return m_bNil; }\n"
               "    void SetNil(bool nil) override { m_bNil = nil; }\n";
    out += "\n    // What the library calls.\n";
    if (!cls.base) out += "    CXmlObjectBase* GetBase() override { return this; }\n";
    out += "    std::wstring GetNamespace() const override { return " + Lit(cls.infoNamespace) + "; }\n";
    out += "    CParentElementInfo* GetClassInfo() override { return ms_tables.Ensure(&BuildTables).info; }\n"
           "    CElementInfo** GetClassElementInfo() override { return ms_tables.Ensure(&BuildTables).elements; }\n"
           "    CAttributeInfo** GetClassAttributeInfo() override { return ms_tables.Ensure(&BuildTables).attributes; "
           "}\n"
           "    void AccessProperty(int propertyIndex, bool read, QxVariant& value) override;\n"
           "    void Init() override;\n"
           "    // Destroys the class's tables; the next use builds them again.\n"
           "    static void ReleaseMetaData() { ms_tables.Clean(); }\n\nprotected:\n";
    out += "    std::wstring GetTargetNamespace() const override { return " + Lit(cls.file->TargetNamespace()) +
           "; }\n\nprivate:\n    static CGeneratedTables ms_tables;\n"
           "    static void BuildTables(CGeneratedTables& tables);\n    void InitMembers();\n";
    if (InChoice(cls)) out += "    void SelectChoice(const wchar_t* elementName);\n";
    out += "\n";
    for (const CMemberModel& member : cls.members) {
        if (member.Repeated())
            out += "    CSmartPtr<" + CollectionType(member) + "> " + Field(member.name) + ";\n";
        else if (IsObject(member))
            out += "    CSmartPtr<" + member.cls->name + "> " + Field(member.name) + ";\n";
        else if (IsUntyped(member))
            out += "    CSmartPtr<CElement> " + Field(member.name) + ";\n";
        else
            out += "    " + ValueType(member.simple) + " " + Field(member.name) + "{};\n";
        if (HasPresence(cls, member)) out += "    bool " + Presence(member.name) + " = false;\n";
        if (HasNil(member)) out += "    bool " + NilFlag(member.name) + " = false;\n";
    }
    for (const CAttributeModel& attribute : cls.attributes) {
        if (attribute.wildcard) {
            out += "    CSmartPtr<CAttributeCol> " + Field(attribute.cppName) + ";\n";
            continue;
        }
        out += "    " + ValueType(attribute.simple) + " " + Field(attribute.cppName) + "{};\n";
        if (attribute.optional) out += "    bool " + Presence(attribute.cppName) + " = false;\n";
    }
    if (cls.hasText) out += "    " + ValueType(cls.text) + " m_text{};\n";
    if (ownNil) out += "    bool m_bNil = false;\n";
    return out + "};\n";
}

// ------------------------------------------------------------------ class definitions

std::string CCodeWriter::Facets(const CFacets& facets) const {
    return facets.Empty() ? "CPrimitiveRestrictions()" : "CPrimitiveRestrictions(" + FacetArguments(facets) + ")";
}

std::string CCodeWriter::ElementDescriptor(const CClassModel& cls, const CMemberModel& member) const {
    const std::string group = GroupName(cls.group);
    const std::string head = "(" + Lit(member.elementName) + ", " + Lit(member.elementNamespace) + ", " +
                             std::to_string(member.index);
    const std::string elementType = member.pseudo ? "XmlElementType_PseudoElement" : "XmlElementType_Element";
    const std::string factory = "C" + m_prefix + "Factory";
    if (member.Repeated()) {
        std::string kind = member.kind == CMemberModel::Kind_Untpd    ? "Untpd"
                           : member.kind == CMemberModel::Kind_Enum   ? "Enum"
                           : member.kind == CMemberModel::Kind_Cls    ? "Cls"
                           : member.kind == CMemberModel::Kind_AbsCls ? "AbsCls"
                                                                      : "Prim";
        return "new CElementInfo" + group + kind + "Col" + head + (IsObject(member) ? ", " + elementType : "") + ")";
    }
    const std::string cardinality = InChoice(cls) || member.Optional() ? "Opt" : "Mnd";
    const std::string nillable = member.nillable ? "true" : "false";
    switch (member.kind) {
        case CMemberModel::Kind_Untpd:
            return "new CElementInfo" + group + "Untpd" + cardinality + head + ", " + Lit(member.restriction) + ", " +
                   Lit(member.targetNamespace) + ")";
        case CMemberModel::Kind_Enum:
            return "new CElementInfo" + group + "Enum" + cardinality + head + ", " + nillable + ", &" +
                   EnumToText(*member.simple.enumeration) + ", &" + EnumFromText(*member.simple.enumeration) + ")";
        case CMemberModel::Kind_Cls: {
            std::string text = "new CElementInfo" + group + "Cls" + cardinality + head + ", " + elementType + ", &" +
                               factory + "::CreateObject, " + m_prefix + "Class_" + member.cls->name.substr(1);
            if (cardinality == "Mnd") text += member.required ? ", true" : ", false";
            return text + ")";
        }
        case CMemberModel::Kind_AbsCls:
            return "new CElementInfo" + group + "AbsCls" + cardinality + head + ", " + elementType + ", &" + factory +
                   "::" + FactoryOf(*member.cls) +
                   (group == "All" && cardinality == "Mnd" ? ", " + m_prefix + "Class_" + member.cls->name.substr(1)
                                                           : std::string()) +
                   ")";
        case CMemberModel::Kind_Prim:
            if (!member.hasDefault) break;
            [[fallthrough]];  // read as text, so that an empty element can stand for the default
        case CMemberModel::Kind_List:
            return "new CElementInfo" + group + "Prim" + cardinality + head + ", " + nillable +
                   ", ItemType_string, nullptr, CWhitespaceUtils::WhitespaceRule_Collapse, CPrimitiveRestrictions())";
        default:
            break;
    }
    return "new CElementInfo" + group + "Prim" + cardinality + head + ", " + nillable + ", " +
           Spelling(member.simple.kind).enumerator + ", nullptr, " + Whitespace(member.simple.whitespace) + ", " +
           Facets(member.simple.facets) + ")";
}

std::string CCodeWriter::AttributeDescriptor(const CAttributeModel& attribute) const {
    const std::string head = "(" + Lit(attribute.name) + ", " + Lit(attribute.ns) + ", " +
                             std::to_string(attribute.index) + ", " + (attribute.optional ? "true" : "false");
    if (attribute.wildcard)
        return "new CAttributeInfoAny" + head + ", " + Lit(attribute.restriction) + ", " +
               Lit(attribute.targetNamespace) + ", nullptr)";
    const std::string defaultValue = attribute.hasDefault ? Lit(attribute.defaultValue) : "nullptr";
    if (attribute.simple.enumeration)
        return "new CAttributeInfoEnum" + head + ", &" + EnumToText(*attribute.simple.enumeration) + ", &" +
               EnumFromText(*attribute.simple.enumeration) + ", " + defaultValue + ")";
    if (attribute.simple.list)
        return "new CAttributeInfoPrimitive" + head +
               ", ItemType_string, nullptr, CWhitespaceUtils::WhitespaceRule_Collapse, CPrimitiveRestrictions(), " +
               defaultValue + ")";
    return "new CAttributeInfoPrimitive" + head + ", " + Spelling(attribute.simple.kind).enumerator + ", nullptr, " +
           Whitespace(attribute.simple.whitespace) + ", " + Facets(attribute.simple.facets) + ", " + defaultValue +
           ")";
}

namespace {

// The check of a non-string enumeration (or fixed value), which the library does not make,
// before a present, non-nil value is written; empty when the type has none.
std::string EnumerationCheck(const CSimpleModel& simple, const std::string& field, const std::wstring& name,
                             const std::string& presence, const std::string& nil) {
    if (simple.values.empty()) return std::string();
    std::string values;
    for (const std::wstring& text : simple.values) values += (values.empty() ? "" : ", ") + Lit(text);
    return "if (read" + (presence == "nullptr" ? std::string() : " && " + presence.substr(1)) +
           (nil == "nullptr" ? std::string() : " && !" + nil.substr(1)) + ") CheckEnumeration<" +
           Spelling(simple.kind).enumerator + ">(" + Lit(name) + ", " + field + ", {" + values + "});\n            ";
}

// One case of AccessProperty for a simple value.
std::string AccessSimple(const CSimpleModel& simple, const std::string& field, const std::wstring& name,
                         const std::string& presence, const std::string& nil) {
    // The presence and nil flags are left out when the property has neither.
    const std::string flags = nil != "nullptr"        ? ", " + presence + ", " + nil
                              : presence != "nullptr" ? ", " + presence
                                                      : std::string();
    if (simple.enumeration) return "AccessEnum(read, value, " + field + flags + ")";
    const std::string kind = Spelling(simple.kind).enumerator;
    if (simple.list) {
        return "AccessList<" + kind + ">(read, value, " + field + ", " + Lit(name) + ", " +
               (simple.facets.Empty() ? "CPrimitiveRestrictions()" : "CPrimitiveRestrictions(" + FacetArguments(simple.facets) + ")") +
               ", " +
               (simple.listFacets.Empty() ? "CPrimitiveRestrictions()"
                                          : "CPrimitiveRestrictions(" + FacetArguments(simple.listFacets) + ")") +
               ", " + presence + ")";
    }
    return EnumerationCheck(simple, field, name, presence, nil) + "AccessValue<" + kind + ">(read, value, " + field +
           flags + ")";
}

}  // namespace

std::string CCodeWriter::ClassDefinition(const CClassModel& cls) const {
    const std::string& c = cls.name;
    std::string out = "// ---------------------------------------------------------------- " + c + "\n\n";
    out += "CGeneratedTables " + c + "::ms_tables;\n\n";
    // Constructor: collections first, then the members' initial state.
    out += c + "::" + c + "(const wchar_t* elementName)";
    std::vector<std::string> inits;
    if (cls.base) inits.push_back(cls.base->name + "(elementName)");
    for (const CMemberModel& member : cls.members) {
        if (!member.Repeated()) continue;
        const std::string max = std::to_string(member.maxOccurs);
        const std::string min = std::to_string(member.minOccurs);
        const std::string names = Lit(member.elementName) + ", " + Lit(member.elementNamespace) + ", " + min + ", " + max;
        std::string make;
        if (IsUntyped(member))
            make = "new CElementCol(" + Lit(member.wildcard ? member.startNamespace : member.elementNamespace) + ", " +
                   Lit(member.restriction) + ", " + Lit(member.targetNamespace) + ", " + min + ", " + max + ")";
        else if (IsObject(member))
            make = "new " + CollectionType(member) + "(" + names + ", " + (member.pseudo ? "true" : "false") + ", " +
                   (member.kind == CMemberModel::Kind_AbsCls ? "&C" + m_prefix + "Factory::" + FactoryOf(*member.cls)
                                                             : std::string("nullptr")) +
                   ")";
        else if (member.kind == CMemberModel::Kind_Enum)
            make = "new CGeneratedEnumCol(" + names + ", &" + EnumToText(*member.simple.enumeration) + ", &" +
                   EnumFromText(*member.simple.enumeration) + ")";
        else if (member.kind == CMemberModel::Kind_List)
            make = "new CstringCol(" + names + ", " + FacetArguments(CFacets()) +
                   ", CWhitespaceUtils::WhitespaceRule_Collapse, nullptr)";
        else
            make = "new " + CollectionType(member) + "(" + names + ", " + FacetArguments(member.simple.facets) + ", " +
                   Whitespace(member.simple.whitespace) + ", nullptr)";
        inits.push_back(Field(member.name) + "(" + make + ")");
    }
    for (const CAttributeModel& attribute : cls.attributes)
        if (attribute.wildcard)
            inits.push_back(Field(attribute.cppName) + "(new CAttributeCol(L\"\", " + Lit(attribute.restriction) + ", " +
                            Lit(attribute.targetNamespace) + "))");
    for (size_t i = 0; i < inits.size(); ++i) out += (i ? ",\n      " : "\n    : ") + inits[i];
    out += " {\n";
    if (!cls.base) out += "    SetElementName(elementName);\n";
    out += "    InitMembers();\n}\n\n" + c + "::~" + c + "() = default;\n\n";

    // Tables.
    out += "void " + c + "::BuildTables(CGeneratedTables& tables) {\n";
    const CClassModel* textOwner = cls.TextOwner();
    // A text value travels as a string: the class converts it (AccessAsText).
    const std::string textKind = textOwner ? "ItemType_string" : "ItemType_invalid";
    out += "    tables.info = new CParentElementInfo(XmlElementGroupType_" +
           std::string(cls.group == XmlElementGroupType_Choice ? "Choice"
                       : cls.group == XmlElementGroupType_All  ? "All"
                                                               : "Sequence") +
           ", " + (cls.pseudo ? "XmlElementType_PseudoElement" : "XmlElementType_Element") + ", " + Lit(cls.infoName) +
           ", " + Lit(cls.infoNamespace) + ", " + (cls.pseudo ? "false" : "true") + ", " + (cls.base ? "true" : "false") +
           ", " + std::to_string(textOwner ? textOwner->textIndex : -1) + ", " + textKind + ", nullptr, false);\n";
    out += "    tables.elements = CGeneratedTables::Table<CElementInfo>({\n";
    // The base's members are described as this class's content too (its group is the base's).
    for (const CMemberModel* member : cls.AllMembers()) out += "        " + ElementDescriptor(cls, *member) + ",\n";
    out += "    });\n    tables.attributes = CGeneratedTables::Table<CAttributeInfo>({\n";
    for (const CAttributeModel* attribute : cls.AllAttributes()) out += "        " + AttributeDescriptor(*attribute) + ",\n";
    out += "    });\n}\n\n";

    // Property access.
    out += "void " + c + "::AccessProperty(int propertyIndex, bool read, QxVariant& value) {\n"
           "    switch (propertyIndex) {\n";
    for (const CMemberModel& member : cls.members) {
        out += "        case " + std::to_string(member.index) + ":  // " + Narrow(member.elementName) + "\n            ";
        if (member.Repeated())
            out += "AccessCollection(read, value, " + Field(member.name) + ");\n";
        else if (IsHeld(member))
            out += "AccessObject(read, value, " + Field(member.name) + ");\n";
        else if (member.hasDefault) {
            const std::string presence = HasPresence(cls, member) ? "&" + Presence(member.name) : "nullptr";
            const std::string nil = HasNil(member) ? "&" + NilFlag(member.name) : "nullptr";
            out += EnumerationCheck(member.simple, Field(member.name), member.elementName, presence, nil) +
                   "AccessAsText<" + Spelling(member.simple.kind).enumerator + ">(read, value, " +
                   Field(member.name) + ", " + Lit(member.elementName) + ", " + Facets(member.simple.facets) + ", " +
                   Whitespace(member.simple.whitespace) + ", " + Lit(member.defaultValue) + ", " + presence + ", " +
                   nil + ");\n";
        }
        else
            out += AccessSimple(member.simple, Field(member.name), member.elementName,
                                HasPresence(cls, member) ? "&" + Presence(member.name) : "nullptr",
                                HasNil(member) ? "&" + NilFlag(member.name) : "nullptr") +
                   ";\n";
        out += "            return;\n";
    }
    for (const CAttributeModel& attribute : cls.attributes) {
        out += "        case " + std::to_string(attribute.index) + ":  // @" + Narrow(attribute.name) + "\n            " +
               (attribute.wildcard ? "AccessCollection(read, value, " + Field(attribute.cppName) + ")" :
               AccessSimple(attribute.simple, Field(attribute.cppName), attribute.name,
                            attribute.optional ? "&" + Presence(attribute.cppName) : "nullptr", "nullptr")) +
               ";\n            return;\n";
    }
    if (cls.hasText) {
        out += "        case " + std::to_string(cls.textIndex) + ":  // the text\n";
        const CSimpleModel& text = cls.text;
        const std::wstring name = cls.defaultElementName;
        if (text.enumeration) {
            out += "            if (read)\n                value.SetString(" + EnumToText(*text.enumeration) +
                   "(m_text) ? " + EnumToText(*text.enumeration) + "(m_text) : L\"\");\n"
                   "            else\n                m_text = static_cast<" + text.enumeration->name + ">(" +
                   EnumFromText(*text.enumeration) + "(value.GetString().c_str()));\n";
        } else if (text.list) {
            out += "            " + AccessSimple(text, "m_text", name, "nullptr", "nullptr") + ";\n";
        } else {
            out += "            " + EnumerationCheck(text, "m_text", name, "nullptr", "nullptr") + "AccessAsText<" +
                   Spelling(text.kind).enumerator + ">(read, value, m_text, " + Lit(name) + ", " +
                   Facets(text.facets) + ", " + Whitespace(text.whitespace) + ", nullptr);\n";
        }
        out += "            return;\n";
    }
    out += "        default:\n            ";
    out += cls.base ? cls.base->name + "::AccessProperty(propertyIndex, read, value);\n            return;\n"
                    : "ThrowUnknownProperty(" + Lit(Widen(c)) + ", propertyIndex);\n";
    out += "    }\n}\n\n";

    // Init.
    out += "void " + c + "::Init() {\n" + (cls.base ? "    " + cls.base->name + "::Init();\n" : "") +
           "    InitMembers();\n}\n\n";
    out += "void " + c + "::InitMembers() {\n";
    for (const CMemberModel& member : cls.members) {
        const std::string f = Field(member.name);
        if (member.Repeated()) {
            out += "    " + f + "->Clear();\n";
        } else if (IsUntyped(member)) {
            // A mandatory member starts as an empty element of its own (a wildcard's is named
            // after the member until it is read or set).
            const bool create = !InChoice(cls) && !member.Optional();
            out += "    " + f + " = " +
                   (create ? "new CElement(" + Lit(member.elementName) + ", " +
                                 Lit(member.wildcard ? member.startNamespace : member.elementNamespace) + ", " +
                                 Lit(member.restriction) +
                                 ", " + Lit(member.targetNamespace) + ")"
                           : std::string("nullptr")) +
                   ";\n";
        } else if (IsObject(member)) {
            const bool create = !InChoice(cls) && !member.Optional() && !member.cls->abstract;
            out += "    " + f + " = " +
                   (create ? "new " + member.cls->name + "(" + Lit(member.elementName) + ")" : std::string("nullptr")) +
                   ";\n";
        } else {
            out += "    " + f + " = " + InitialValue(member.simple, member.hasDefault, member.defaultValue) + ";\n";
            if (HasPresence(cls, member)) out += "    " + Presence(member.name) + " = false;\n";
            if (HasNil(member)) out += "    " + NilFlag(member.name) + " = false;\n";
        }
    }
    for (const CAttributeModel& attribute : cls.attributes) {
        if (attribute.wildcard) {
            out += "    " + Field(attribute.cppName) + "->Clear();\n";
            continue;
        }
        out += "    " + Field(attribute.cppName) + " = " +
               InitialValue(attribute.simple, attribute.hasDefault, attribute.defaultValue) + ";\n";
        if (attribute.optional) out += "    " + Presence(attribute.cppName) + " = false;\n";
    }
    if (cls.hasText) out += "    m_text = " + InitialValue(cls.text, false, L"") + ";\n";
    if (cls.nillable) out += "    m_bNil = false;\n";
    out += "}\n";

    if (InChoice(cls)) {
        out += "\nstd::wstring " + c + "::GetChoiceSelectedElement() const {\n";
        for (const CMemberModel& member : cls.members) {
            const std::string f = Field(member.name);
            const std::string set = member.Repeated() ? f + "->GetCount() > 0" : IsHeld(member) ? f : Presence(member.name);
            out += "    if (" + set + ") return " + Lit(member.elementName) + ";\n";
        }
        out += "    return std::wstring();\n}\n";
        // The library's rule for a choice: the alternative that is set stays until it is cleared.
        out += "\nvoid " + c + "::SelectChoice(const wchar_t* elementName) {\n"
               "    std::wstring selected = GetChoiceSelectedElement();\n"
               "    Choice_SelectElement(elementName, this, selected);  // any non-null object: a value is set\n}\n";
    }

    // Object accessors.
    for (const CMemberModel& member : cls.members) {
        if (member.Repeated() || !IsObject(member)) continue;  // untyped members' are inline
        const std::string& n = member.name;
        out += "\nCSmartPtr<" + member.cls->name + "> " + c + "::Get" + n + "() const { return " + Field(n) + "; }\n";
        out += "\nvoid " + c + "::Set" + n + "(" + member.cls->name + "* value) {\n";
        if (Mandatory(cls, member)) out += "    Throw_IfPropertyIsNull(value, " + Lit(member.elementName) + ");\n";
        if (NamedByMember(member))
            out += "    if (value) SetElementName(value, " + Lit(member.elementName) + ");\n";
        else
            out += "    Throw_IfElementNameDiffers(value, " + Lit(member.elementName) + ");\n";
        if (InChoice(cls)) out += "    if (value) SelectChoice(" + Lit(member.elementName) + ");\n";
        out += "    " + Field(n) + " = value;\n}\n";
    }
    return out;
}

}  // namespace qxxml_generate

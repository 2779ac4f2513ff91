#include "BindingBuilder.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cwctype>
#include <sstream>

namespace qxxml_generate {

using namespace QxXmlLib10;
using namespace QxXmlLib10Data;
using WS = CWhitespaceUtils;

namespace {

// ------------------------------------------------------------------ built-in types

struct CBuiltin {
    const wchar_t* name;
    ItemType kind;
    WhitespaceRule whitespace;
    const wchar_t* minInclusive;  // the bound the type adds to its kind, if any
    const wchar_t* maxInclusive;
    bool list;                    // NMTOKENS, IDREFS, ENTITIES
};

const CBuiltin kBuiltins[] = {
    {L"string", ItemType_string, WS::WhitespaceRule_Preserve, nullptr, nullptr, false},
    {L"anySimpleType", ItemType_string, WS::WhitespaceRule_Preserve, nullptr, nullptr, false},
    {L"normalizedString", ItemType_string, WS::WhitespaceRule_Replace, nullptr, nullptr, false},
    {L"token", ItemType_string, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"language", ItemType_string, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"Name", ItemType_string, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"NCName", ItemType_string, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"ID", ItemType_string, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"IDREF", ItemType_string, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"ENTITY", ItemType_string, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"NMTOKEN", ItemType_string, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"anyURI", ItemType_string, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"QName", ItemType_string, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"NOTATION", ItemType_string, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"NMTOKENS", ItemType_string, WS::WhitespaceRule_Collapse, nullptr, nullptr, true},
    {L"IDREFS", ItemType_string, WS::WhitespaceRule_Collapse, nullptr, nullptr, true},
    {L"ENTITIES", ItemType_string, WS::WhitespaceRule_Collapse, nullptr, nullptr, true},
    {L"boolean", ItemType_boolean, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"decimal", ItemType_decimal, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"integer", ItemType_integer, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"nonPositiveInteger", ItemType_integer, WS::WhitespaceRule_Collapse, nullptr, L"0", false},
    {L"negativeInteger", ItemType_integer, WS::WhitespaceRule_Collapse, nullptr, L"-1", false},
    {L"nonNegativeInteger", ItemType_integer, WS::WhitespaceRule_Collapse, L"0", nullptr, false},
    {L"positiveInteger", ItemType_integer, WS::WhitespaceRule_Collapse, L"1", nullptr, false},
    {L"long", ItemType_i8, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"int", ItemType_i4, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"short", ItemType_i2, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"byte", ItemType_i1, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"unsignedLong", ItemType_ui8, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"unsignedInt", ItemType_ui4, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"unsignedShort", ItemType_ui2, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"unsignedByte", ItemType_ui1, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"float", ItemType_r4, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"double", ItemType_r8, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"duration", ItemType_duration, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"dateTime", ItemType_datetime, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"date", ItemType_date, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"time", ItemType_time, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"gYearMonth", ItemType_yearMonth, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"gMonthDay", ItemType_monthDay, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"gYear", ItemType_year, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"gMonth", ItemType_month, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"gDay", ItemType_day, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"hexBinary", ItemType_hexBinary, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
    {L"base64Binary", ItemType_base64Binary, WS::WhitespaceRule_Collapse, nullptr, nullptr, false},
};

const CBuiltin* FindBuiltin(const CQName& type) {
    if (type.ns != kXsdNamespace) return nullptr;
    for (const CBuiltin& builtin : kBuiltins)
        if (type.local == builtin.name) return &builtin;
    return nullptr;
}

bool IsAnyType(const CQName& type) { return type.ns == kXsdNamespace && type.local == L"anyType"; }

// minOccurs / maxOccurs of a particle; -1 for unbounded.
int Occurs(const CSchemaFile& file, const CXmlElement* particle, const wchar_t* name) {
    if (!HasAttribute(particle, name)) return 1;
    const std::wstring text = Attribute(particle, name);
    if (text == L"unbounded") return -1;
    try {
        return std::stoi(Narrow(text));
    } catch (const std::exception&) {
        file.Fail(particle, "invalid " + Narrow(name) + " '" + Narrow(text) + "'");
    }
}

// "<xs:element name="x"> (file:line)" for comments.
std::string Source(const CSchemaFile& file, const CXmlElement* node) {
    std::string text = "<xs:" + Narrow(node->GetLocalName());
    for (const wchar_t* name : {L"name", L"ref"})
        if (HasAttribute(node, name)) text += " " + Narrow(name) + "=\"" + Narrow(Attribute(node, name)) + "\"";
    return text + "> (" + file.Where(node) + ")";
}

bool IsTrue(const std::wstring& text) { return text == L"true" || text == L"1"; }

// A member for a particle: its occurrences and where it comes from.
CMemberModel ParticleMember(const CSchemaFile& file, const CXmlElement* particle) {
    CMemberModel member;
    member.minOccurs = Occurs(file, particle, L"minOccurs");
    member.maxOccurs = Occurs(file, particle, L"maxOccurs");
    member.source = Source(file, particle);
    return member;
}


}  // namespace

std::string Identifier(const std::wstring& xmlName) {
    std::string out;
    bool upper = true;
    for (wchar_t c : xmlName) {
        if (c < 128 && std::iswalnum(c)) {
            out += static_cast<char>(upper ? std::towupper(c) : c);
            upper = false;
        } else {
            upper = true;  // separators and characters outside ASCII start a new word
        }
    }
    if (out.empty() || std::isdigit(static_cast<unsigned char>(out[0]))) out = "X" + out;
    return out;
}

// ------------------------------------------------------------------ names

std::string CBindingBuilder::GlobalName(const std::string& wanted) {
    std::string name = wanted;
    for (int n = 2; m_globalNames.count(name); ++n) name = wanted + std::to_string(n);
    m_globalNames.insert(name);
    return name;
}

namespace {

// The English plural of a name ending in a letter ("Items", "Boxes", "Entries"); other names
// stay as they are.
std::string Plural(const std::string& name) {
    const auto endsWith = [&](const char* tail) {
        const size_t n = std::char_traits<char>::length(tail);
        return name.size() > n && name.compare(name.size() - n, n, tail) == 0;
    };
    if (name.empty() || !std::isalpha(static_cast<unsigned char>(name.back()))) return name;
    if (endsWith("s") || endsWith("x") || endsWith("z") || endsWith("ch") || endsWith("sh")) return name + "es";
    if (endsWith("y") && !std::strchr("aeiou", name[name.size() - 2])) return name.substr(0, name.size() - 1) + "ies";
    return name + "s";
}

}  // namespace

std::string CBindingBuilder::MemberName(CClassModel& cls, const std::wstring& xmlName, bool plural) {
    // Names the generated class already uses for its own operations.
    static const std::set<std::string> kReserved = {"Base", "Namespace", "TargetNamespace", "ClassInfo",
                                                    "ClassElementInfo", "ClassAttributeInfo", "ElementName",
                                                    "Nil", "Type", "Text"};
    std::set<std::string>& used = m_memberNames[&cls];
    if (used.empty())
        for (const CClassModel* base = cls.base; base; base = base->base)
            for (const std::string& name : m_memberNames[base]) used.insert(name);
    const std::string singular = Identifier(xmlName);
    // A plural that meets another member's name keeps the singular.
    const std::string wanted = plural && !used.count(Plural(singular)) ? Plural(singular) : singular;
    std::string name = kReserved.count(wanted) ? wanted + "Value" : wanted;
    for (int n = 2; used.count(name); ++n) name = wanted + std::to_string(n);
    used.insert(name);
    return name;
}

// ------------------------------------------------------------------ simple types

bool CBindingBuilder::IsSimpleType(const CQName& type) const {
    if (FindBuiltin(type)) return true;
    const CSchemaSet::CComponent* component = m_schemas.FindType(type);
    return component && IsXs(component->node, "simpleType");
}

CSimpleModel CBindingBuilder::SimpleOf(const CSchemaFile& file, const CXmlElement* at, const CQName& type) {
    if (const CBuiltin* builtin = FindBuiltin(type)) {
        CSimpleModel model;
        model.kind = builtin->kind;
        model.whitespace = builtin->whitespace;
        model.list = builtin->list;
        if (builtin->minInclusive) model.facets.minInclusive = builtin->minInclusive;
        if (builtin->maxInclusive) model.facets.maxInclusive = builtin->maxInclusive;
        model.description = "xs:" + Narrow(type.local);
        return model;
    }
    if (const auto it = m_simpleTypes.find(type); it != m_simpleTypes.end()) return it->second;
    const CSchemaSet::CComponent* component = m_schemas.FindType(type);
    if (!component) file.Fail(at, "the type " + type.Text() + " is not defined");
    if (!IsXs(component->node, "simpleType")) file.Fail(at, "the type " + type.Text() + " is not a simple type");
    if (m_building.count(type)) file.Fail(at, "the simple type " + type.Text() + " is derived from itself");
    m_building.insert(type);
    CSimpleModel model = SimpleFromNode(*component->file, component->node, Identifier(type.local));
    m_building.erase(type);
    model.description = type.Text();
    m_simpleTypes[type] = model;
    return model;
}

CSimpleModel CBindingBuilder::TypeOrInner(const CSchemaFile& file, const CXmlElement* node, const wchar_t* attribute,
                                          const std::string& enumName) {
    if (HasAttribute(node, attribute)) return SimpleOf(file, node, file.ResolveQName(node, Attribute(node, attribute)));
    const auto inner = SchemaChildren(node);
    if (inner.empty() || !IsXs(inner.front(), "simpleType"))
        file.Fail(node, "xs:" + Narrow(node->GetLocalName()) + " names no type");
    return SimpleFromNode(file, inner.front(), enumName);
}

CSimpleModel CBindingBuilder::SimpleFromNode(const CSchemaFile& file, const CXmlElement* node,
                                             const std::string& enumName) {
    for (const CXmlElement* child : SchemaChildren(node)) {
        if (IsXs(child, "restriction"))
            return Restrict(file, child, TypeOrInner(file, child, L"base", enumName), enumName);
        if (IsXs(child, "list")) {
            CSimpleModel item = TypeOrInner(file, child, L"itemType", enumName + "Item");
            if (item.list) file.Fail(child, "a list of lists is not a valid simple type");
            if (item.enumeration) {
                // The items of an enumerated list are checked by a pattern of the texts.
                std::vector<std::wstring> alternatives;
                for (const std::wstring& value : item.enumeration->values) {
                    std::wstring escaped;
                    for (wchar_t c : value) {
                        if (std::wcschr(L"\\.?*+{}()[]|^$-", c)) escaped += L'\\';
                        escaped += c;
                    }
                    alternatives.push_back(escaped);
                }
                item.facets.patterns.push_back(alternatives);
                if (!HasAttribute(child, L"itemType")) {  // an anonymous item type's enum is used nowhere else
                    auto& enums = m_binding.enums;
                    enums.erase(std::remove_if(enums.begin(), enums.end(),
                                               [&](const auto& e) { return e.get() == item.enumeration; }),
                                enums.end());
                }
                item.enumeration = nullptr;
            }
            item.list = true;
            item.whitespace = WS::WhitespaceRule_Collapse;
            return item;
        }
        if (IsXs(child, "union")) {
            std::vector<CSimpleModel> members;
            const std::wstring memberTypes = Attribute(child, L"memberTypes");
            for (size_t start = 0; start < memberTypes.size();) {
                size_t end = memberTypes.find_first_of(L" \t\r\n", start);
                if (end == std::wstring::npos) end = memberTypes.size();
                if (end > start)
                    members.push_back(
                        SimpleOf(file, child, file.ResolveQName(child, memberTypes.substr(start, end - start))));
                start = end + 1;
            }
            for (const CXmlElement* inner : SchemaChildren(child)) members.push_back(SimpleFromNode(file, inner, ""));
            for (const CSimpleModel& member : members)
                if (member.kind != ItemType_string || member.list)
                    file.Fail(child, "unions of non-string types are not supported (member " + member.description +
                                         ")");
            CSimpleModel model;  // a union of strings is a string
            model.whitespace = WS::WhitespaceRule_Collapse;
            return model;
        }
    }
    file.Fail(node, "a simple type without restriction, list or union");
}

CSimpleModel CBindingBuilder::Restrict(const CSchemaFile& file, const CXmlElement* restriction, CSimpleModel model,
                                       const std::string& enumName) {
    std::vector<std::wstring> enumeration, patterns;
    CFacets& facets = model.list ? model.listFacets : model.facets;
    for (const CXmlElement* facet : SchemaChildren(restriction)) {
        const std::wstring value = Attribute(facet, L"value");
        const auto number = [&] {
            try {
                return std::stoi(Narrow(value));
            } catch (const std::exception&) {
                file.Fail(facet, "invalid facet value '" + Narrow(value) + "'");
            }
        };
        if (IsXs(facet, "enumeration")) enumeration.push_back(value);
        else if (IsXs(facet, "pattern")) patterns.push_back(value);
        else if (IsXs(facet, "length")) facets.length = number();
        else if (IsXs(facet, "minLength")) facets.minLength = number();
        else if (IsXs(facet, "maxLength")) facets.maxLength = number();
        else if (IsXs(facet, "minInclusive")) facets.minInclusive = value;
        else if (IsXs(facet, "maxInclusive")) facets.maxInclusive = value;
        else if (IsXs(facet, "minExclusive")) facets.minExclusive = value;
        else if (IsXs(facet, "maxExclusive")) facets.maxExclusive = value;
        else if (IsXs(facet, "whiteSpace"))
            model.whitespace = value == L"preserve" ? WS::WhitespaceRule_Preserve
                               : value == L"replace" ? WS::WhitespaceRule_Replace
                                                     : WS::WhitespaceRule_Collapse;
        else if (IsXs(facet, "simpleType") || IsXs(facet, "totalDigits") || IsXs(facet, "fractionDigits") ||
                 IsXs(facet, "attribute") || IsXs(facet, "attributeGroup") || IsXs(facet, "anyAttribute"))
            continue;  // the digit facets are not checked by the library; attributes are not facets
        else
            file.Fail(facet, "unexpected xs:" + Narrow(facet->GetLocalName()) + " in a restriction");
    }
    // A bound of this step replaces the base's bound on the same side: a valid restriction only
    // narrows, so the later bound is the one that holds.
    bool minInclusive = false, minExclusive = false, maxInclusive = false, maxExclusive = false;
    for (const CXmlElement* facet : SchemaChildren(restriction)) {
        minInclusive |= IsXs(facet, "minInclusive");
        minExclusive |= IsXs(facet, "minExclusive");
        maxInclusive |= IsXs(facet, "maxInclusive");
        maxExclusive |= IsXs(facet, "maxExclusive");
    }
    if (minInclusive && !minExclusive) facets.minExclusive.clear();
    if (minExclusive && !minInclusive) facets.minInclusive.clear();
    if (maxInclusive && !maxExclusive) facets.maxExclusive.clear();
    if (maxExclusive && !maxInclusive) facets.maxInclusive.clear();
    // A list's pattern holds for its whole text; an item's for each item.
    if (!patterns.empty()) (model.list ? model.listFacets : model.facets).patterns.push_back(patterns);
    if (!enumeration.empty() && !model.list) {
        if (model.kind == ItemType_string) {
            auto enumModel = std::make_unique<CEnumModel>();
            enumModel->name = GlobalName(enumName.empty() ? "Enumeration" : enumName);
            enumModel->values = enumeration;
            enumModel->collapse = model.whitespace == WS::WhitespaceRule_Collapse;
            std::set<std::string> members;
            for (const std::wstring& value : enumeration) {
                // The member keeps the text's spelling ("Status_shipped", "Colour_light_blue"); the
                // enumeration's name before it makes any text a valid name.
                std::string member;
                for (wchar_t c : value) {
                    const bool keep = c < 128 && (std::iswalnum(c) || c == L'_');
                    if (keep) member += static_cast<char>(c);
                    else if (!member.empty() && member.back() != '_') member += '_';
                }
                if (member.empty()) member = "empty";
                std::string unique = member;
                for (int n = 2; members.count(unique); ++n) unique = member + std::to_string(n);
                members.insert(unique);
                enumModel->members.push_back(enumModel->name + "_" + unique);
            }
            enumModel->source = Source(file, restriction);
            enumModel->file = &file;
            model.enumeration = enumModel.get();
            m_binding.enums.push_back(std::move(enumModel));
        }
        else
            model.values = enumeration;  // other kinds keep their value; the generated code checks it
    }
    return model;
}

// ------------------------------------------------------------------ classes

CClassModel* CBindingBuilder::NewClass(const std::string& name, const CSchemaFile& file, const CXmlElement* node) {
    auto cls = std::make_unique<CClassModel>();
    // The class and the collection type named after it ("CItemCol") both need the name.
    std::string wanted = "C" + name;
    for (int n = 2; m_globalNames.count(wanted) || m_globalNames.count(wanted + "Col"); ++n)
        wanted = "C" + name + std::to_string(n);
    cls->name = GlobalName(wanted);
    m_globalNames.insert(cls->name + "Col");
    cls->file = &file;
    cls->source = Source(file, node);
    m_binding.classes.push_back(std::move(cls));
    return m_binding.classes.back().get();
}

CClassModel* CBindingBuilder::ClassForType(const CSchemaFile& file, const CXmlElement* at, const CQName& type) {
    if (const auto it = m_typeClasses.find(type); it != m_typeClasses.end()) return it->second;
    const CSchemaSet::CComponent* component = m_schemas.FindType(type);
    if (!component) file.Fail(at, "the type " + type.Text() + " is not defined");
    if (!IsXs(component->node, "complexType")) file.Fail(at, "the type " + type.Text() + " is not a complex type");
    const CSchemaFile& owner = *component->file;
    // The base comes first: the class derived from it needs it complete.
    for (const CXmlElement* child : SchemaChildren(component->node)) {
        if (!IsXs(child, "complexContent") && !IsXs(child, "simpleContent")) continue;
        for (const CXmlElement* derivation : SchemaChildren(child)) {
            if (!IsXs(derivation, "extension") && !(IsXs(child, "simpleContent") && IsXs(derivation, "restriction")))
                continue;
            const CQName base = owner.ResolveQName(derivation, Attribute(derivation, L"base"));
            if (!IsAnyType(base) && !IsSimpleType(base)) ClassForType(owner, derivation, base);
        }
    }
    if (const auto it = m_typeClasses.find(type); it != m_typeClasses.end()) return it->second;
    CClassModel* cls = NewClass(Identifier(type.local), owner, component->node);
    m_typeClasses[type] = cls;
    cls->infoName = type.local;
    cls->infoNamespace = type.ns;
    cls->abstract = IsTrue(Attribute(component->node, L"abstract"));
    const std::set<std::wstring>& globals = m_globalElementsOfType[type];
    const std::set<std::wstring>& locals = m_localElementsOfType[type];
    cls->defaultElementName = globals.size() == 1                      ? *globals.begin()
                              : globals.empty() && locals.size() == 1 ? *locals.begin()
                                                                      : type.local;
    FillComplex(*cls, owner, component->node);
    return cls;
}

void CBindingBuilder::FillComplex(CClassModel& cls, const CSchemaFile& file, const CXmlElement* node) {
    for (const CXmlElement* child : SchemaChildren(node)) {
        if (IsXs(child, "simpleContent")) {
            FillSimpleContent(cls, file, child);
        } else if (IsXs(child, "complexContent")) {
            for (const CXmlElement* derivation : SchemaChildren(child)) {
                if (IsXs(derivation, "extension")) {
                    FillExtension(cls, file, derivation);
                } else if (IsXs(derivation, "restriction")) {
                    // A restriction repeats the content it keeps: the class is made from it
                    // alone (it is not substitutable for its base in this binding).
                    for (const CXmlElement* part : SchemaChildren(derivation)) {
                        if (IsXs(part, "sequence") || IsXs(part, "choice") || IsXs(part, "all") || IsXs(part, "group"))
                            TopParticle(cls, file, part);
                    }
                    AddAttributes(cls, file, derivation);
                }
            }
        } else if (IsXs(child, "sequence") || IsXs(child, "choice") || IsXs(child, "all") || IsXs(child, "group")) {
            TopParticle(cls, file, child);
        }
    }
    AddAttributes(cls, file, node);
}

void CBindingBuilder::FillExtension(CClassModel& cls, const CSchemaFile& file, const CXmlElement* extension) {
    const CQName baseName = file.ResolveQName(extension, Attribute(extension, L"base"));
    if (!IsAnyType(baseName)) {
        if (IsSimpleType(baseName)) file.Fail(extension, "complex content cannot extend the simple type " + baseName.Text());
        cls.base = ClassForType(file, extension, baseName);
        cls.base->derived.push_back(&cls);
        cls.group = cls.base->group;
    }
    const bool baseHasContent = cls.base && !cls.AllMembers().empty();
    for (const CXmlElement* part : SchemaChildren(extension)) {
        if (!IsXs(part, "sequence") && !IsXs(part, "choice") && !IsXs(part, "all") && !IsXs(part, "group")) continue;
        if (!baseHasContent) {
            TopParticle(cls, file, part);
            continue;
        }
        if (cls.group != XmlElementGroupType_Sequence)
            file.Fail(part, "extending a type whose content is a choice or an all-group with more elements is not "
                            "supported");
        if (IsXs(part, "all")) file.Fail(part, "an extension cannot add an all-group to content");
        if (IsXs(part, "sequence") && Occurs(file, part, L"minOccurs") == 1 && Occurs(file, part, L"maxOccurs") == 1)
            AddParticles(cls, file, part, XmlElementGroupType_Sequence);
        else
            AddGroupMember(cls, file, part, XmlElementGroupType_Sequence);
    }
    AddAttributes(cls, file, extension);
}

void CBindingBuilder::FillSimpleContent(CClassModel& cls, const CSchemaFile& file, const CXmlElement* content) {
    for (const CXmlElement* derivation : SchemaChildren(content)) {
        const CQName baseName = file.ResolveQName(derivation, Attribute(derivation, L"base"));
        if (IsSimpleType(baseName)) {
            if (!IsXs(derivation, "extension")) file.Fail(derivation, "simple content restricts a simple type");
            cls.hasText = true;
            cls.text = SimpleOf(file, derivation, baseName);
        } else {
            // Extending or restricting a class with simple content: its class derives from it.
            cls.base = ClassForType(file, derivation, baseName);
            if (!cls.base->TextOwner()) file.Fail(derivation, "the base type " + baseName.Text() + " has no simple content");
            cls.base->derived.push_back(&cls);
            if (IsXs(derivation, "restriction")) {
                // The restricted text is a value of its own, with the base's facets and these.
                cls.hasText = true;
                cls.text = Restrict(file, derivation, cls.base->TextOwner()->text, cls.name.substr(1) + "Value");
            }
        }
        AddAttributes(cls, file, derivation);
    }
}

void CBindingBuilder::TopParticle(CClassModel& cls, const CSchemaFile& file, const CXmlElement* particle) {
    const int minOccurs = Occurs(file, particle, L"minOccurs");
    const int maxOccurs = Occurs(file, particle, L"maxOccurs");
    if (maxOccurs == 0) return;
    if (minOccurs == 1 && maxOccurs == 1) {
        if (IsXs(particle, "group")) {
            const CQName name = file.ResolveQName(particle, Attribute(particle, L"ref"));
            const CSchemaSet::CComponent* group = m_schemas.FindGroup(name);
            if (!group) file.Fail(particle, "the group " + name.Text() + " is not defined");
            const auto parts = SchemaChildren(group->node);
            if (parts.empty()) return;
            // The group's content is the class's own: the members are listed in place.
            TopParticle(cls, *group->file, parts.front());
            return;
        }
        cls.group = IsXs(particle, "choice") ? XmlElementGroupType_Choice
                    : IsXs(particle, "all")  ? XmlElementGroupType_All
                                             : XmlElementGroupType_Sequence;
        AddParticles(cls, file, particle, cls.group);
        return;
    }
    if (IsXs(particle, "all")) file.Fail(particle, "an xs:all group may not repeat");
    cls.group = XmlElementGroupType_Sequence;
    AddGroupMember(cls, file, particle, XmlElementGroupType_Sequence);
}

void CBindingBuilder::AddParticles(CClassModel& cls, const CSchemaFile& file, const CXmlElement* compositor,
                                   XmlElementGroupType group) {
    for (const CXmlElement* child : SchemaChildren(compositor)) {
        const int maxOccurs = Occurs(file, child, L"maxOccurs");
        if (maxOccurs == 0) continue;
        if (IsXs(child, "element")) {
            AddElementMember(cls, file, child, group);
        } else if (IsXs(child, "any")) {
            AddWildcardMember(cls, file, child, group);
        } else if (IsXs(child, "sequence") || IsXs(child, "choice")) {
            const bool sameGroup = IsXs(child, "sequence") ? group == XmlElementGroupType_Sequence
                                                           : group == XmlElementGroupType_Choice;
            if (sameGroup && Occurs(file, child, L"minOccurs") == 1 && maxOccurs == 1)
                AddParticles(cls, file, child, group);  // the same group kind nested once: the same content
            else
                AddGroupMember(cls, file, child, group);
        } else if (IsXs(child, "group")) {
            AddGroupMember(cls, file, child, group);
        } else {
            file.Fail(child, "xs:" + Narrow(child->GetLocalName()) + " is not expected in a model group");
        }
    }
}

CClassModel* CBindingBuilder::ClassForCompositor(const CSchemaFile& file, const CXmlElement* compositor,
                                                 const std::string& name, const std::wstring& infoName) {
    CClassModel* cls = NewClass(name, file, compositor);
    cls->pseudo = true;
    cls->infoName = infoName;
    cls->infoNamespace = file.TargetNamespace();
    cls->defaultElementName = infoName;
    cls->group = IsXs(compositor, "choice") ? XmlElementGroupType_Choice
                 : IsXs(compositor, "all")  ? XmlElementGroupType_All
                                            : XmlElementGroupType_Sequence;
    if (cls->group == XmlElementGroupType_All) file.Fail(compositor, "an xs:all group inside another group is not supported");
    AddParticles(*cls, file, compositor, cls->group);
    return cls;
}

void CBindingBuilder::AddGroupMember(CClassModel& cls, const CSchemaFile& file, const CXmlElement* particle,
                                     XmlElementGroupType group) {
    CMemberModel member = ParticleMember(file, particle);
    member.kind = CMemberModel::Kind_Cls;
    member.pseudo = true;
    member.required = !Emptiable(file, particle);
    if (IsXs(particle, "group")) {
        const CQName name = file.ResolveQName(particle, Attribute(particle, L"ref"));
        const CSchemaSet::CComponent* component = m_schemas.FindGroup(name);
        if (!component) file.Fail(particle, "the group " + name.Text() + " is not defined");
        auto it = m_groupClasses.find(name);
        if (it == m_groupClasses.end()) {
            const auto parts = SchemaChildren(component->node);
            if (parts.empty()) file.Fail(component->node, "an empty group");
            CClassModel* groupClass =
                ClassForCompositor(*component->file, parts.front(), Identifier(name.local) + "Group", L"#" + name.local);
            groupClass->source = Source(*component->file, component->node);
            it = m_groupClasses.emplace(name, groupClass).first;
        }
        member.cls = it->second;
        member.elementName = L"#" + name.local;
        member.name = MemberName(cls, name.local);
    } else {
        const std::wstring kind = IsXs(particle, "choice") ? L"Choice" : L"Sequence";
        const int n = ++m_nestedCount[&cls];
        member.cls = ClassForCompositor(file, particle, cls.name.substr(1) + Narrow(kind) + std::to_string(n),
                                        L"#" + Widen(cls.name.substr(1)) + kind + std::to_wstring(n));
        member.elementName = member.cls->infoName;
        member.name = MemberName(cls, kind + std::to_wstring(n));
    }
    member.elementNamespace = member.cls->infoNamespace;
    if (group == XmlElementGroupType_All) file.Fail(particle, "a model group inside xs:all is not valid");
    cls.members.push_back(std::move(member));
}

void CBindingBuilder::ElementType(const CSchemaFile& file, const CXmlElement* element, const std::string& hint,
                                  CMemberModel& member) {
    if (HasAttribute(element, L"type")) {
        const CQName type = file.ResolveQName(element, Attribute(element, L"type"));
        if (IsAnyType(type)) {
            Untyped(file, element, member);
        } else if (IsSimpleType(type)) {
            member.simple = SimpleOf(file, element, type);
        } else {
            member.kind = CMemberModel::Kind_Cls;
            member.cls = ClassForType(file, element, type);
        }
    } else {
        const auto children = SchemaChildren(element);
        const auto anonymous = std::find_if(children.begin(), children.end(), [](const CXmlElement* child) {
            return IsXs(child, "simpleType") || IsXs(child, "complexType");
        });
        if (anonymous == children.end()) {
            Untyped(file, element, member);  // no type: xs:anyType
        } else if (IsXs(*anonymous, "simpleType")) {
            member.simple = SimpleFromNode(file, *anonymous, hint);
            member.simple.description = "anonymous simple type";
        } else {
            member.kind = CMemberModel::Kind_Cls;
            CClassModel* cls = NewClass(hint, file, *anonymous);
            cls->infoName = member.elementName;
            cls->infoNamespace = member.elementNamespace;
            cls->defaultElementName = member.elementName;
            FillComplex(*cls, file, *anonymous);
            member.cls = cls;
        }
    }
    if (member.kind != CMemberModel::Kind_Cls && member.kind != CMemberModel::Kind_Untpd)
        member.kind = member.simple.list          ? CMemberModel::Kind_List
                      : member.simple.enumeration ? CMemberModel::Kind_Enum
                                                  : CMemberModel::Kind_Prim;
}

CBindingBuilder::CDeclaration CBindingBuilder::Declaration(const CSchemaFile& file, const CXmlElement* use,
                                                          bool attribute) const {
    if (HasAttribute(use, L"ref")) {
        const CQName name = file.ResolveQName(use, Attribute(use, L"ref"));
        const CSchemaSet::CComponent* global = attribute ? m_schemas.FindAttribute(name) : m_schemas.FindElement(name);
        if (!global)
            file.Fail(use, std::string(attribute ? "the attribute " : "the element ") + name.Text() + " is not defined");
        return {global->file, global->node, name.local, name.ns};
    }
    const bool qualified = HasAttribute(use, L"form")
                               ? Attribute(use, L"form") == L"qualified"
                               : (attribute ? file.AttributesQualified() : file.ElementsQualified());
    return {&file, use, Attribute(use, L"name"), qualified ? file.TargetNamespace() : L""};
}

void CBindingBuilder::AddElementMember(CClassModel& cls, const CSchemaFile& file, const CXmlElement* element,
                                       XmlElementGroupType group) {
    CMemberModel member = ParticleMember(file, element);
    const CDeclaration declaration = Declaration(file, element, false);
    const CSchemaFile* declFile = declaration.file;
    const CXmlElement* decl = declaration.node;
    member.elementName = declaration.name;
    member.elementNamespace = declaration.ns;
    member.nillable = IsTrue(Attribute(decl, L"nillable"));
    // A repeated element's collection is named in the plural (GetItems).
    member.name = MemberName(cls, member.elementName, member.Repeated());
    const std::string hint = decl == element ? cls.name.substr(1) + Identifier(member.elementName)
                                             : Identifier(member.elementName);
    ElementType(*declFile, decl, hint, member);
    FixValue(member.simple, member.kind == CMemberModel::Kind_Prim && HasAttribute(decl, L"fixed"),
             Attribute(decl, L"fixed"));
    // An empty element stands for the default (or the fixed value) of a primitive element.
    for (const wchar_t* which : {L"default", L"fixed"}) {
        if (member.kind == CMemberModel::Kind_Prim && !member.Repeated() && HasAttribute(decl, which) &&
            !member.hasDefault) {
            member.hasDefault = true;
            member.defaultValue = Attribute(decl, which);
        }
    }
    if (member.kind == CMemberModel::Kind_Cls && member.nillable) member.cls->nillable = true;
    member.file = &file;
    member.node = element;
    if (group == XmlElementGroupType_All && member.Repeated()) file.Fail(element, "xs:all members may not repeat");
    cls.members.push_back(std::move(member));
}

void CBindingBuilder::AddAttributes(CClassModel& cls, const CSchemaFile& file, const CXmlElement* node) {
    for (const CXmlElement* child : SchemaChildren(node)) {
        if (IsXs(child, "attributeGroup")) {
            const CQName name = file.ResolveQName(child, Attribute(child, L"ref"));
            const CSchemaSet::CComponent* group = m_schemas.FindAttributeGroup(name);
            if (!group) file.Fail(child, "the attribute group " + name.Text() + " is not defined");
            AddAttributes(cls, *group->file, group->node);
            continue;
        }
        if (IsXs(child, "anyAttribute")) AddAttributeWildcard(cls, file, child);
        if (!IsXs(child, "attribute")) continue;
        const std::wstring use = Attribute(child, L"use");
        if (use == L"prohibited") continue;
        CAttributeModel attribute;
        attribute.source = Source(file, child);
        attribute.optional = use != L"required";
        const CDeclaration declaration = Declaration(file, child, true);
        const CSchemaFile* declFile = declaration.file;
        const CXmlElement* decl = declaration.node;
        attribute.name = declaration.name;
        attribute.ns = declaration.ns;
        bool fixed = false;
        for (const CXmlElement* source : {child, decl}) {
            for (const wchar_t* which : {L"default", L"fixed"}) {
                if (!attribute.hasDefault && HasAttribute(source, which)) {
                    attribute.hasDefault = true;
                    attribute.defaultValue = Attribute(source, which);
                    fixed = std::wstring(which) == L"fixed";
                }
            }
        }
        attribute.cppName = MemberName(cls, attribute.name);
        const std::string hint = cls.name.substr(1) + attribute.cppName;
        if (HasAttribute(decl, L"type")) {
            attribute.simple = SimpleOf(*declFile, decl, declFile->ResolveQName(decl, Attribute(decl, L"type")));
        } else if (const auto inner = SchemaChildren(decl); !inner.empty() && IsXs(inner.front(), "simpleType")) {
            attribute.simple = SimpleFromNode(*declFile, inner.front(), hint);
            attribute.simple.description = "anonymous simple type";
        } else {
            attribute.simple.description = "xs:anySimpleType";
        }
        FixValue(attribute.simple, fixed, attribute.defaultValue);
        cls.attributes.push_back(std::move(attribute));
    }
}

namespace {
// A wildcard's namespace attribute with its white space collapsed ("##any" when absent).
std::wstring NamespaceConstraint(const CXmlElement* wildcard) {
    if (!HasAttribute(wildcard, L"namespace")) return L"##any";
    std::wistringstream tokens(Attribute(wildcard, L"namespace"));
    std::wstring constraint, token;
    while (tokens >> token) constraint += (constraint.empty() ? L"" : L" ") + token;
    return constraint;
}
}  // namespace

// The namespace a new wildcard element (or collection) starts in, before it is read or set: none,
// unless the constraint admits only the target namespace.
std::wstring StartNamespace(const CSchemaFile& file, const CXmlElement* any, const std::wstring& constraint) {
    const std::wstring& target = file.TargetNamespace();
    std::wistringstream tokens(constraint);
    for (std::wstring token; tokens >> token;) {
        if (token != L"##targetNamespace" && (token != L"##other" || !target.empty())) return L"";
    }
    if (constraint.find(L"##other") != std::wstring::npos)
        file.Fail(any, "a wildcard of ##other in a schema without a target namespace is not supported");
    return target;
}

void CBindingBuilder::Untyped(const CSchemaFile& file, const CXmlElement* element, CMemberModel& member) {
    // The element accepts exactly its own name's namespace.
    member.kind = CMemberModel::Kind_Untpd;
    member.targetNamespace = file.TargetNamespace();
    member.restriction = member.elementNamespace.empty()                     ? L"##local"
                         : member.elementNamespace == file.TargetNamespace() ? L"##targetNamespace"
                                                                             : member.elementNamespace;
    member.simple.description = "xs:anyType";
    if (IsTrue(Attribute(element, L"nillable")))
        file.Fail(element, "a nillable element of xs:anyType (untyped content) is not supported");
}

void CBindingBuilder::AddWildcardMember(CClassModel& cls, const CSchemaFile& file, const CXmlElement* any,
                                        XmlElementGroupType group) {
    // processContents is not looked at: whatever the wildcard admits is kept as it stands.
    CMemberModel member = ParticleMember(file, any);
    member.kind = CMemberModel::Kind_Untpd;
    member.wildcard = true;
    member.restriction = NamespaceConstraint(any);
    member.elementName = L"AnyElement";
    member.elementNamespace = member.restriction;
    member.targetNamespace = file.TargetNamespace();
    member.startNamespace = StartNamespace(file, any, member.restriction);
    member.simple.description = "xs:any namespace=\"" + Narrow(member.restriction) + "\"";
    member.name = MemberName(cls, L"Any");
    member.file = &file;
    member.node = any;
    if (group == XmlElementGroupType_All) file.Fail(any, "xs:any is not valid inside xs:all");
    cls.members.push_back(std::move(member));
}

void CBindingBuilder::AddAttributeWildcard(CClassModel& cls, const CSchemaFile& file, const CXmlElement* any) {
    for (const CAttributeModel* attribute : cls.AllAttributes())
        if (attribute->wildcard)
            file.Fail(any, "a second attribute wildcard for one type (from a base type or an attribute group) is "
                           "not supported");
    CAttributeModel attribute;
    attribute.wildcard = true;
    attribute.source = Source(file, any);
    attribute.name = L"AnyAttribute";
    attribute.restriction = NamespaceConstraint(any);
    attribute.ns = attribute.restriction;
    attribute.targetNamespace = file.TargetNamespace();
    attribute.simple.description = "xs:anyAttribute namespace=\"" + Narrow(attribute.restriction) + "\"";
    attribute.cppName = MemberName(cls, L"AnyAttributes");
    cls.attributes.push_back(std::move(attribute));
}

void CBindingBuilder::FixValue(CSimpleModel& simple, bool fixed, const std::wstring& value) {
    // A fixed value is an enumeration of one, checked when the value is written (an enumerated
    // type already limits its values).
    if (fixed && !simple.enumeration && !simple.list) simple.values = {value};
}

bool CBindingBuilder::Emptiable(const CSchemaFile& file, const CXmlElement* particle) const {
    if (Occurs(file, particle, L"minOccurs") == 0) return true;
    if (IsXs(particle, "element") || IsXs(particle, "any")) return false;
    if (IsXs(particle, "group")) {
        const CSchemaSet::CComponent* group = m_schemas.FindGroup(file.ResolveQName(particle, Attribute(particle, L"ref")));
        if (!group) return false;
        const auto parts = SchemaChildren(group->node);
        return parts.empty() || Emptiable(*group->file, parts.front());
    }
    const auto children = SchemaChildren(particle);
    if (IsXs(particle, "choice"))
        return children.empty() || std::any_of(children.begin(), children.end(),
                                               [&](const CXmlElement* c) { return Emptiable(file, c); });
    return std::all_of(children.begin(), children.end(), [&](const CXmlElement* c) { return Emptiable(file, c); });
}

// ------------------------------------------------------------------ the whole binding

void CBindingBuilder::Build() {
    // The generated namespace sees the library's names: a class or enumeration of the schema
    // must not hide one that the generated code uses.
    for (const char* name :
         {"CDecimal", "CDateTime", "CDateTimeSpan", "CBinaryData", "CBigInteger", "CSmartPtr", "CXmlObjectBase",
          "CXmlGeneratedClass", "CGeneratedTables", "CElement", "CElementCol", "CAttribute", "CAttributeCol",
          "CAttributeInfoAny", "CGeneratedObjectCol", "CGeneratedEnumCol", "CParentElementInfo",
          "CElementInfo", "CAttributeInfo", "CAttributeInfoPrimitive", "CAttributeInfoEnum", "CPrimitiveRestrictions",
          "CWhitespaceUtils", "CXmlSerializationContext", "CClassfactoryBase", "CXmlElement", "CXmlCollection",
          "CQxException", "INillable", "QxVariant", "ItemType", "XmlElementType", "XmlElementGroupType",
          "WhitespaceRule", "XmlEncoding", "EOLType", "CompressionType", "SchemaType", "FInfoDecl"})
        m_globalNames.insert(name);
    for (const auto& kind : {"hexBinary", "base64Binary", "i1", "i2", "i4", "i8", "ui1", "ui2", "ui4", "ui8", "r4",
                             "r8", "duration", "yearMonth", "monthDay", "year", "month", "day", "date", "datetime",
                             "time", "string", "boolean", "decimal", "integer"})
        m_globalNames.insert(std::string("C") + kind + "Col");
    // The element name a new object of a type carries: the one global element of that type, or
    // with none, the one name of the local elements of that type; otherwise the type's name.
    for (const auto& file : m_schemas.Files()) {
        std::vector<std::pair<const CXmlElement*, bool>> pending;  // node, global
        for (const CXmlElement* child : SchemaChildren(file->Root())) pending.emplace_back(child, true);
        while (!pending.empty()) {
            const auto [node, global] = pending.back();
            pending.pop_back();
            for (const CXmlElement* child : SchemaChildren(node)) pending.emplace_back(child, false);
            if (!IsXs(node, "element") || !HasAttribute(node, L"type") || !HasAttribute(node, L"name")) continue;
            const CQName type = file->ResolveQName(node, Attribute(node, L"type"));
            (global ? m_globalElementsOfType : m_localElementsOfType)[type].insert(Attribute(node, L"name"));
        }
    }
    for (const auto& file : m_schemas.Files()) {
        for (const CXmlElement* child : SchemaChildren(file->Root())) {
            const CQName name{file->TargetNamespace(), Attribute(child, L"name")};
            if (IsXs(child, "complexType")) {
                ClassForType(*file, child, name);
            } else if (IsXs(child, "simpleType")) {
                SimpleOf(*file, child, name);
            } else if (IsXs(child, "element")) {
                CMemberModel member;
                member.elementName = name.local;
                member.elementNamespace = name.ns;
                if (!HasAttribute(child, L"type") && SchemaChildren(child).empty()) continue;  // untyped
                if (HasAttribute(child, L"type") && IsAnyType(file->ResolveQName(child, Attribute(child, L"type"))))
                    continue;
                ElementType(*file, child, Identifier(name.local), member);
                if (member.kind != CMemberModel::Kind_Cls) {
                    // A document element of a simple type: a class holding the text.
                    CClassModel* cls = NewClass(Identifier(name.local) + "Element", *file, child);
                    cls->infoName = cls->defaultElementName = name.local;
                    cls->infoNamespace = name.ns;
                    cls->hasText = true;
                    cls->text = member.simple;
                    member.cls = cls;
                }
                if (IsTrue(Attribute(child, L"nillable"))) member.cls->nillable = true;
                m_binding.documentElements.push_back({name.ns, name.local, member.cls});
            }
        }
    }
    Finish();
}

void CBindingBuilder::Finish() {
    int classId = 0;
    for (const auto& cls : m_binding.classes) {
        cls->classId = ++classId;
        cls->polymorphic = !cls->derived.empty();
        // One class of a hierarchy carries the nil flag: the top one.
        if (cls->nillable) {
            CClassModel* top = cls.get();
            while (top->base) top = top->base;
            top->nillable = true;
        }
    }
    for (const auto& cls : m_binding.classes)
        if (cls->base && cls->nillable) {
            bool inherited = false;
            for (const CClassModel* base = cls->base; base; base = base->base) inherited |= base->nillable;
            if (inherited) cls->nillable = false;
        }
    // Property indexes: the base's first, then members, attributes and the text value.
    std::map<const CClassModel*, int> next;
    for (const auto& cls : m_binding.classes) {
        int index = cls->base ? next[cls->base] : 0;
        cls->firstIndex = index;
        for (auto& member : cls->members) {
            member.index = index++;
            if (member.kind == CMemberModel::Kind_Cls && (member.cls->polymorphic || member.cls->abstract) &&
                !member.pseudo) {
                // The all-group descriptors write such members but cannot read them back: a
                // binding that could not read what it writes is refused here, not at run time.
                if (cls->group == XmlElementGroupType_All)
                    member.file->Fail(member.node, "an xs:all member whose type is abstract or has derived types is "
                                                   "not supported (element '" + Narrow(member.elementName) + "')");
                member.kind = CMemberModel::Kind_AbsCls;
            }
        }
        for (auto& attribute : cls->attributes) attribute.index = index++;
        if (cls->hasText) cls->textIndex = index++;
        next[cls.get()] = index;
    }
}

}  // namespace qxxml_generate

#include "SchemaSet.h"

#include <qxxml/support/QxException.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace qxxml_generate {

namespace fs = std::filesystem;

const wchar_t* const kXsdNamespace = L"http://www.w3.org/2001/XMLSchema";

std::string Narrow(const std::wstring& text) {
    std::string out;
    QxXmlLib10::AppendUtf8(out, text.data(), text.size());
    return out;
}

std::wstring Widen(const std::string& text) {
    std::wstring out;
    QxXmlLib10::AppendWideFromUtf8(out, text.data(), text.size());
    return out;
}

std::string CQName::Text() const { return ns.empty() ? Narrow(local) : "{" + Narrow(ns) + "}" + Narrow(local); }

bool IsXs(const CXmlElement* element, const char* local) {
    return element && element->GetNamespaceURI() == kXsdNamespace && element->GetLocalName() == Widen(local);
}

bool HasAttribute(const CXmlElement* element, const wchar_t* name) {
    for (const auto* attribute : element->GetAttributes())
        if (attribute->GetNamespaceURI().empty() && attribute->GetLocalName() == name) return true;
    return false;
}

std::wstring Attribute(const CXmlElement* element, const wchar_t* name) { return element->GetAttribute(name, L""); }

std::vector<CXmlElement*> SchemaChildren(const CXmlElement* element) {
    std::vector<CXmlElement*> children;
    for (CXmlElement* child = element->GetFirstElement(); child; child = child->GetNextSiblingElement())
        if (child->GetNamespaceURI() == kXsdNamespace && !IsXs(child, "annotation")) children.push_back(child);
    return children;
}

// ------------------------------------------------------------------ CSchemaFile

namespace {

// The start tags of a document in order, with their lines and namespace declarations: the
// tree keeps neither, and QName values and messages need both.
struct CStartTags {
    struct CTag {
        int line;
        std::vector<std::pair<std::wstring, std::wstring>> declarations;
    };
    std::vector<CTag> tags;
    XML_Parser parser = nullptr;

    static void OnStart(void* data, const XML_Char*, const XML_Char** attributes) {
        auto* self = static_cast<CStartTags*>(data);
        CTag tag{static_cast<int>(XML_GetCurrentLineNumber(self->parser)), {}};
        for (const XML_Char** a = attributes; *a; a += 2) {
            const std::string name = a[0];
            if (name == "xmlns")
                tag.declarations.emplace_back(L"", Widen(a[1]));
            else if (name.compare(0, 6, "xmlns:") == 0)
                tag.declarations.emplace_back(Widen(name.substr(6)), Widen(a[1]));
        }
        self->tags.push_back(std::move(tag));
    }
};

}  // namespace

CSchemaFile::CSchemaFile(const std::string& path, const std::wstring& chameleonNamespace) : m_path(path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CSchemaError(path, 0, "cannot open the schema file");
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        m_document.Load(Widen(path).c_str());
    } catch (const QxXmlLib10::CQxException& e) {
        throw CSchemaError(path, 0, "not well-formed XML: " + Narrow(e.GetFullMessage()));
    }
    MapLines(bytes);
    CXmlElement* root = Root();
    if (!IsXs(root, "schema")) throw CSchemaError(path, Line(root), "the document element is not xs:schema");
    m_targetNamespace = Attribute(root, L"targetNamespace");
    if (!HasAttribute(root, L"targetNamespace") && !chameleonNamespace.empty()) {
        m_targetNamespace = chameleonNamespace;  // an include without a namespace takes the includer's
        m_chameleon = true;
    }
    m_elementsQualified = Attribute(root, L"elementFormDefault") == L"qualified";
    m_attributesQualified = Attribute(root, L"attributeFormDefault") == L"qualified";
}

void CSchemaFile::MapLines(const std::string& bytes) {
    CStartTags starts;
    starts.parser = XML_ParserCreate(nullptr);
    XML_SetUserData(starts.parser, &starts);
    XML_SetStartElementHandler(starts.parser, &CStartTags::OnStart);
    XML_Parse(starts.parser, bytes.data(), static_cast<int>(bytes.size()), 1);
    XML_ParserFree(starts.parser);
    // The tree holds every element in document order: pair them with the start tags.
    size_t next = 0;
    std::vector<std::pair<const CXmlElement*, const CXmlElement*>> stack{{Root(), nullptr}};
    while (!stack.empty()) {
        const auto [element, parent] = stack.back();
        stack.pop_back();
        CNode& node = m_nodes[element];
        node.parent = parent;
        if (next < starts.tags.size()) {
            node.line = starts.tags[next].line;
            node.declarations = std::move(starts.tags[next].declarations);
        }
        ++next;
        std::vector<const CXmlElement*> children;
        for (const CXmlElement* child = element->GetFirstElement(); child; child = child->GetNextSiblingElement())
            children.push_back(child);
        for (auto it = children.rbegin(); it != children.rend(); ++it) stack.emplace_back(*it, element);
    }
}

int CSchemaFile::Line(const CXmlElement* element) const {
    const auto it = m_nodes.find(element);
    return it == m_nodes.end() ? 0 : it->second.line;
}

std::string CSchemaFile::Where(const CXmlElement* element) const {
    return fs::path(m_path).filename().string() + ":" + std::to_string(Line(element));
}

void CSchemaFile::Fail(const CXmlElement* element, const std::string& message) const {
    throw CSchemaError(m_path, Line(element), message);
}

CQName CSchemaFile::ResolveQName(const CXmlElement* at, const std::wstring& text) const {
    const size_t colon = text.find(L':');
    const std::wstring prefix = colon == std::wstring::npos ? L"" : text.substr(0, colon);
    const std::wstring local = colon == std::wstring::npos ? text : text.substr(colon + 1);
    if (prefix == L"xml") return {L"http://www.w3.org/XML/1998/namespace", local};
    for (const CXmlElement* element = at; element;) {
        const auto it = m_nodes.find(element);
        if (it == m_nodes.end()) break;
        for (const auto& [declared, uri] : it->second.declarations) {
            if (declared != prefix) continue;
            // In an included schema without a namespace, its unqualified names are the includer's.
            if (uri.empty() && m_chameleon) return {m_targetNamespace, local};
            return {uri, local};
        }
        element = it->second.parent;
    }
    if (prefix.empty()) return {m_chameleon ? m_targetNamespace : L"", local};
    Fail(at, "the prefix '" + Narrow(prefix) + "' of '" + Narrow(text) + "' is not declared");
}

std::wstring CSchemaFile::PrefixOf(const std::wstring& ns) const {
    const auto it = m_nodes.find(Root());
    if (it == m_nodes.end()) return L"";
    for (const auto& [prefix, uri] : it->second.declarations)
        if (uri == ns && !prefix.empty()) return prefix;
    return L"";
}

// ------------------------------------------------------------------ CSchemaSet

const CSchemaSet::CComponent* CSchemaSet::Find(const CTable& table, const CQName& name) {
    const auto it = table.find(name);
    return it == table.end() ? nullptr : &it->second;
}

void CSchemaSet::Load(const std::string& path) {
    m_loading = nullptr;
    const CSchemaFile* file = LoadFile(path, L"");
    if (std::find(m_given.begin(), m_given.end(), file) == m_given.end()) m_given.push_back(file);
}

const CSchemaFile* CSchemaSet::LoadFile(const std::string& path, const std::wstring& chameleonNamespace) {
    std::error_code error;
    fs::path canonical = fs::weakly_canonical(fs::path(path), error);
    if (error) canonical = fs::path(path);
    // A file is loaded once, except that a schema without a namespace is loaded once more for
    // each namespace that includes it.
    std::vector<CSchemaFile*>& loadings = m_byPath[canonical.string()];
    for (CSchemaFile* loaded : loadings) {
        const bool same = loaded->IsChameleon() ? loaded->TargetNamespace() == chameleonNamespace
                                                : !loaded->TargetNamespace().empty() || chameleonNamespace.empty();
        if (same) return loaded;
    }
    m_files.push_back(std::make_unique<CSchemaFile>(path, chameleonNamespace));
    CSchemaFile& file = *m_files.back();
    loadings.push_back(&file);
    if (!m_loading) m_loading = &file;
    file.SetOrigin(m_loading);
    RefuseUnsupported(file, file.Root());
    Register(file);
    for (const CXmlElement* child : SchemaChildren(file.Root())) {
        const bool include = IsXs(child, "include");
        if (!include && !IsXs(child, "import")) continue;
        const std::wstring location = Attribute(child, L"schemaLocation");
        if (location.empty()) {
            if (include) file.Fail(child, "xs:include without a schemaLocation");
            continue;  // an import that only names a namespace: its components must come from elsewhere
        }
        if (location.find(L"://") != std::wstring::npos)
            file.Fail(child, "only local schema files can be included or imported: " + Narrow(location));
        const fs::path target = fs::path(path).parent_path() / Narrow(location);
        const CSchemaFile* loaded = LoadFile(target.string(), include ? file.TargetNamespace() : L"");
        if (include && loaded->TargetNamespace() != file.TargetNamespace())
            file.Fail(child, "the included schema has another target namespace");
    }
    return &file;
}

void CSchemaSet::Register(CSchemaFile& file) {
    for (CXmlElement* child : SchemaChildren(file.Root())) {
        CTable* table = nullptr;
        if (IsXs(child, "element")) table = &m_elements;
        else if (IsXs(child, "complexType") || IsXs(child, "simpleType")) table = &m_types;
        else if (IsXs(child, "group")) table = &m_groups;
        else if (IsXs(child, "attributeGroup")) table = &m_attributeGroups;
        else if (IsXs(child, "attribute")) table = &m_attributes;
        if (!table) continue;
        const CQName name{file.TargetNamespace(), Attribute(child, L"name")};
        if (name.local.empty()) file.Fail(child, "a global component without a name");
        if (table->count(name)) file.Fail(child, "the component " + name.Text() + " is defined twice");
        (*table)[name] = CComponent{&file, child};
    }
}

void CSchemaSet::RefuseUnsupported(const CSchemaFile& file, const CXmlElement* element) const {
    for (const CXmlElement* child = element->GetFirstElement(); child; child = child->GetNextSiblingElement()) {
        if (child->GetNamespaceURI() != kXsdNamespace || IsXs(child, "annotation")) continue;
        if (IsXs(child, "redefine")) file.Fail(child, "xs:redefine is not supported");
        if ((IsXs(child, "any") || IsXs(child, "anyAttribute")) && !m_skipWildcards)
            file.Fail(child, "xs:" + Narrow(child->GetLocalName()) + " (a wildcard) is not supported yet");
        if (IsXs(child, "element") && (HasAttribute(child, L"substitutionGroup") ||
                                       Attribute(child, L"abstract") == L"true" ||
                                       Attribute(child, L"abstract") == L"1"))
            file.Fail(child, "substitution groups are not supported (element '" +
                                 Narrow(Attribute(child, L"name")) + "')");
        if ((IsXs(child, "complexType") || IsXs(child, "complexContent")) &&
            (Attribute(child, L"mixed") == L"true" || Attribute(child, L"mixed") == L"1"))
            file.Fail(child, "mixed content is not supported");
        RefuseUnsupported(file, child);
    }
}

}  // namespace qxxml_generate

// SchemaSet.h - the schema documents of one binding, read with the library's own XML tree:
// every file given, and every file they include or import (local files only), with the
// global components of all of them by qualified name.
//
//   CSchemaSet schemas(false);
//   schemas.Load("po.xsd");
//   const CSchemaSet::CComponent* type = schemas.FindType({L"urn:example:po", L"ItemType"});
//   int line = type->file->Line(type->node);
//
// Loading refuses, with file and line, the constructs no binding can be made for (mixed
// content, substitution groups, redefine, wildcards while they are not supported).
#pragma once

#include "SchemaError.h"

#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlin/XmlElement.h>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace qxxml_generate {

using QxXmlLib10::CXmlDocument;
using QxXmlLib10::CXmlElement;

extern const wchar_t* const kXsdNamespace;

// A qualified name; `ns` is empty for no namespace.
struct CQName {
    std::wstring ns;
    std::wstring local;

    bool operator<(const CQName& other) const { return ns != other.ns ? ns < other.ns : local < other.local; }
    bool operator==(const CQName& other) const { return ns == other.ns && local == other.local; }
    // "{ns}local", or "local" without a namespace.
    std::string Text() const;
};

// UTF-8 and wide forms of names and messages.
std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);

// Whether `element` is the XML Schema element `local` (xs:sequence, xs:element ...).
bool IsXs(const CXmlElement* element, const char* local);
// The element's attribute, and whether it has it at all (an empty value is a value).
bool HasAttribute(const CXmlElement* element, const wchar_t* name);
std::wstring Attribute(const CXmlElement* element, const wchar_t* name);
// The XML Schema children of `element` other than annotations, in document order.
std::vector<CXmlElement*> SchemaChildren(const CXmlElement* element);

// One schema document.
class CSchemaFile {
public:
    CSchemaFile(const std::string& path, const std::wstring& chameleonNamespace);

    const std::string& Path() const { return m_path; }
    // The schema given to the generator through which this one was first reached (itself for a
    // schema given): its output files hold this schema's classes.
    const CSchemaFile* Origin() const { return m_origin; }
    void SetOrigin(const CSchemaFile* origin) { m_origin = origin; }
    CXmlElement* Root() const { return m_document.GetDocumentElement(); }
    const std::wstring& TargetNamespace() const { return m_targetNamespace; }
    // A schema without a target namespace included by one with a namespace: it takes that one.
    bool IsChameleon() const { return m_chameleon; }
    bool ElementsQualified() const { return m_elementsQualified; }
    bool AttributesQualified() const { return m_attributesQualified; }

    int Line(const CXmlElement* element) const;
    // "file:line", for comments in generated code and for messages.
    std::string Where(const CXmlElement* element) const;
    [[noreturn]] void Fail(const CXmlElement* element, const std::string& message) const;

    // The name a QName-valued attribute text denotes, with the prefixes in scope at `at`.
    CQName ResolveQName(const CXmlElement* at, const std::wstring& text) const;
    // The prefix the root declares for a namespace, empty when none.
    std::wstring PrefixOf(const std::wstring& ns) const;

private:
    struct CNode {
        int line = 0;
        const CXmlElement* parent = nullptr;
        std::vector<std::pair<std::wstring, std::wstring>> declarations;  // prefix, URI
    };
    void MapLines(const std::string& bytes);

    std::string m_path;
    const CSchemaFile* m_origin = this;
    CXmlDocument m_document;
    std::wstring m_targetNamespace;
    bool m_chameleon = false;
    bool m_elementsQualified = false;
    bool m_attributesQualified = false;
    std::unordered_map<const CXmlElement*, CNode> m_nodes;
};

class CSchemaSet {
public:
    struct CComponent {
        CSchemaFile* file = nullptr;
        CXmlElement* node = nullptr;
    };

    // With `skipWildcards`, xs:any and xs:anyAttribute are left out of the binding instead of
    // stopping it (documents carrying wildcard content are then read with
    // IgnoreUnknownElements).
    explicit CSchemaSet(bool skipWildcards) : m_skipWildcards(skipWildcards) {}

    // Loads the file and, transitively, what it includes and imports; a file already loaded
    // is not loaded again.
    void Load(const std::string& path);

    const std::vector<std::unique_ptr<CSchemaFile>>& Files() const { return m_files; }
    // The schemas given to Load, in order, each once.
    const std::vector<const CSchemaFile*>& Given() const { return m_given; }
    bool SkipWildcards() const { return m_skipWildcards; }

    const CComponent* FindElement(const CQName& name) const { return Find(m_elements, name); }
    const CComponent* FindType(const CQName& name) const { return Find(m_types, name); }
    const CComponent* FindGroup(const CQName& name) const { return Find(m_groups, name); }
    const CComponent* FindAttributeGroup(const CQName& name) const { return Find(m_attributeGroups, name); }
    const CComponent* FindAttribute(const CQName& name) const { return Find(m_attributes, name); }

private:
    using CTable = std::map<CQName, CComponent>;
    static const CComponent* Find(const CTable& table, const CQName& name);

    const CSchemaFile* LoadFile(const std::string& path, const std::wstring& chameleonNamespace);
    void Register(CSchemaFile& file);
    void RefuseUnsupported(const CSchemaFile& file, const CXmlElement* element) const;

    bool m_skipWildcards;
    std::vector<std::unique_ptr<CSchemaFile>> m_files;
    std::vector<const CSchemaFile*> m_given;
    const CSchemaFile* m_loading = nullptr;  // the given schema being loaded
    std::map<std::string, std::vector<CSchemaFile*>> m_byPath;  // canonical path -> its loadings
    CTable m_elements, m_types, m_groups, m_attributeGroups, m_attributes;
};

}  // namespace qxxml_generate

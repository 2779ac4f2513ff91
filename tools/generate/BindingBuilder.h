// BindingBuilder.h - CBindingBuilder turns the components of a CSchemaSet into the classes,
// enumerations and members of a CBinding.
//
//   CSchemaSet schemas(false);
//   schemas.Load("po.xsd");
//   CBinding binding;
//   CBindingBuilder(schemas, binding).Build();   // throws CSchemaError for what it cannot bind
//
// How schema constructs become classes:
//   complex type              a class; an extension derives from its base's class
//   anonymous complex type    a class named after its element
//   xs:group, nested groups   a class of a model group (pseudo element) held by a member
//   simple content            a class with a text value
//   string enumeration        a C++ enum with its text functions
//   xs:list                   a vector of item values
#pragma once

#include "BindingModel.h"
#include "SchemaSet.h"

#include <map>
#include <set>
#include <string>

namespace qxxml_generate {

class CBindingBuilder {
public:
    CBindingBuilder(const CSchemaSet& schemas, CBinding& binding) : m_schemas(schemas), m_binding(binding) {}

    void Build();

private:
    // --- simple types
    // A named simple type (built-in or of the schemas), resolved once.
    CSimpleModel SimpleOf(const CSchemaFile& file, const CXmlElement* at, const CQName& type);
    // The simple type an attribute of `node` names (base, itemType), or else its inner xs:simpleType.
    CSimpleModel TypeOrInner(const CSchemaFile& file, const CXmlElement* node, const wchar_t* attribute,
                             const std::string& enumName);
    CSimpleModel SimpleFromNode(const CSchemaFile& file, const CXmlElement* node, const std::string& enumName);
    CSimpleModel Restrict(const CSchemaFile& file, const CXmlElement* restriction, CSimpleModel base,
                          const std::string& enumName);
    bool IsSimpleType(const CQName& type) const;

    // --- classes
    CClassModel* ClassForType(const CSchemaFile& file, const CXmlElement* at, const CQName& type);
    CClassModel* NewClass(const std::string& name, const CSchemaFile& file, const CXmlElement* node);
    void FillComplex(CClassModel& cls, const CSchemaFile& file, const CXmlElement* node);
    void FillExtension(CClassModel& cls, const CSchemaFile& file, const CXmlElement* extension);
    void FillSimpleContent(CClassModel& cls, const CSchemaFile& file, const CXmlElement* content);
    void TopParticle(CClassModel& cls, const CSchemaFile& file, const CXmlElement* particle);
    void AddParticles(CClassModel& cls, const CSchemaFile& file, const CXmlElement* compositor,
                      QxXmlLib10Data::XmlElementGroupType group);
    void AddGroupMember(CClassModel& cls, const CSchemaFile& file, const CXmlElement* particle,
                        QxXmlLib10Data::XmlElementGroupType group);
    void AddElementMember(CClassModel& cls, const CSchemaFile& file, const CXmlElement* element,
                          QxXmlLib10Data::XmlElementGroupType group);
    CClassModel* ClassForCompositor(const CSchemaFile& file, const CXmlElement* compositor, const std::string& name,
                                    const std::wstring& infoName);
    void AddAttributes(CClassModel& cls, const CSchemaFile& file, const CXmlElement* node);
    // xs:any as a member and xs:anyAttribute as an attribute, both kept as generic content.
    void AddWildcardMember(CClassModel& cls, const CSchemaFile& file, const CXmlElement* any,
                           QxXmlLib10Data::XmlElementGroupType group);
    void AddAttributeWildcard(CClassModel& cls, const CSchemaFile& file, const CXmlElement* any);
    // What a local element or attribute stands for: the global declaration it references, or
    // itself, with its name and namespace (qualified by form or the schema's default).
    struct CDeclaration {
        const CSchemaFile* file;
        const CXmlElement* node;
        std::wstring name;
        std::wstring ns;
    };
    CDeclaration Declaration(const CSchemaFile& file, const CXmlElement* use, bool attribute) const;
    bool Emptiable(const CSchemaFile& file, const CXmlElement* particle) const;
    static void FixValue(CSimpleModel& simple, bool fixed, const std::wstring& value);
    // An element of xs:anyType: held as a CElement that takes its own namespace only.
    void Untyped(const CSchemaFile& file, const CXmlElement* element, CMemberModel& member);
    void ElementType(const CSchemaFile& file, const CXmlElement* element, const std::string& hint,
                     CMemberModel& member);

    // --- names
    std::string GlobalName(const std::string& wanted);
    // `plural`: a repeated member, named in the plural where no other member has that name.
    std::string MemberName(CClassModel& cls, const std::wstring& xmlName, bool plural = false);

    void Finish();

    const CSchemaSet& m_schemas;
    CBinding& m_binding;
    std::map<CQName, CClassModel*> m_typeClasses;
    std::map<CQName, CClassModel*> m_groupClasses;
    std::map<CQName, CSimpleModel> m_simpleTypes;  // named simple types, resolved once
    std::map<CQName, std::set<std::wstring>> m_globalElementsOfType;  // the names of the elements of each type
    std::map<CQName, std::set<std::wstring>> m_localElementsOfType;
    std::set<std::string> m_globalNames;
    std::map<const CClassModel*, std::set<std::string>> m_memberNames;
    std::map<const CClassModel*, int> m_nestedCount;
    std::set<CQName> m_building;                  // simple types being resolved (cycles)
};

// "SomeName" from an XML name ("some-name", "some.name", "some_name").
std::string Identifier(const std::wstring& xmlName);

}  // namespace qxxml_generate

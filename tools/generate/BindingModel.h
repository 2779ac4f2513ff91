// BindingModel.h - what `qxxml generate` emits, before it is text: the enumerations, classes,
// members and attributes of one binding, each with the schema component it comes from.
//
// CBindingBuilder fills a CBinding from a CSchemaSet; CCodeWriter turns it into C++ files.
#pragma once

#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/values/ItemType.h>
#include <qxxml/values/WhitespaceUtils.h>
#include <qxxml/xmlin/XmlElement.h>

#include <memory>
#include <string>
#include <vector>

namespace qxxml_generate {

class CSchemaFile;

using QxXmlLib10::ItemType;
using WhitespaceRule = QxXmlLib10::CWhitespaceUtils::WhitespaceRule;

// The facets of a simple type that the library checks. Patterns of one derivation step are
// alternatives; the steps' patterns must all hold.
struct CFacets {
    std::vector<std::vector<std::wstring>> patterns;
    int minLength = -1, maxLength = -1, length = -1;
    std::wstring minInclusive, maxInclusive, minExclusive, maxExclusive;

    bool Empty() const {
        return patterns.empty() && minLength < 0 && maxLength < 0 && length < 0 && minInclusive.empty() &&
               maxInclusive.empty() && minExclusive.empty() && maxExclusive.empty();
    }
};

// A string enumeration, emitted as a C++ enum with its text functions.
struct CEnumModel {
    std::string name;  // C++ name, also the prefix of its members
    std::vector<std::wstring> values;
    std::vector<std::string> members;
    bool collapse = false;  // token-based: texts are compared after collapsing white space
    std::string source;     // the schema component, for comments
    const CSchemaFile* file = nullptr;
};

// A simple type as a property sees it.
struct CSimpleModel {
    ItemType kind = QxXmlLib10::ItemType_string;
    WhitespaceRule whitespace = QxXmlLib10::CWhitespaceUtils::WhitespaceRule_Preserve;
    CFacets facets;
    const CEnumModel* enumeration = nullptr;
    // The enumeration of a type that is not a string: its lexical values, checked by the
    // generated code when a value is written.
    std::vector<std::wstring> values;
    // An xs:list: the items are of `kind` with `facets`, the list's own length facets are in
    // `listFacets`.
    bool list = false;
    CFacets listFacets;
    std::string description;  // "xs:int", "{urn:a}Percent"
};

struct CClassModel;

// One child element (or model group) of a class.
struct CMemberModel {
    enum Kind { Kind_Prim, Kind_Enum, Kind_List, Kind_Cls, Kind_AbsCls };
    Kind kind = Kind_Prim;
    std::wstring elementName;
    std::wstring elementNamespace;
    int minOccurs = 1;
    int maxOccurs = 1;  // -1: unbounded
    bool nillable = false;
    CSimpleModel simple;              // Prim, Enum, List
    CClassModel* cls = nullptr;       // Cls, AbsCls
    bool pseudo = false;              // a model group: no element of its own
    bool required = true;             // a pseudo member whose group cannot be empty
    bool hasDefault = false;          // a primitive element with a default value
    std::wstring defaultValue;
    std::string name;                 // C++ property name
    int index = 0;                    // property index
    std::string source;               // "<xs:element name="x"> (po.xsd:12)"
    const CSchemaFile* file = nullptr; // where it is declared, for messages
    const QxXmlLib10::CXmlElement* node = nullptr;

    bool Repeated() const { return maxOccurs < 0 || maxOccurs > 1; }
    bool Optional() const { return minOccurs == 0; }
};

struct CAttributeModel {
    std::wstring name;
    std::wstring ns;
    bool optional = true;
    CSimpleModel simple;
    bool hasDefault = false;
    std::wstring defaultValue;  // default or fixed
    std::string cppName;
    int index = 0;
    std::string source;
};

struct CClassModel {
    std::string name;                  // C++ class name
    std::wstring infoName;             // the name in its class description (its type's name)
    std::wstring infoNamespace;
    std::wstring defaultElementName;   // the element name a new object carries
    QxXmlLib10Data::XmlElementGroupType group = QxXmlLib10Data::XmlElementGroupType_Sequence;
    bool pseudo = false;
    bool abstract = false;
    bool nillable = false;             // implements INillable
    CClassModel* base = nullptr;
    std::vector<CClassModel*> derived; // direct extensions
    std::vector<CMemberModel> members; // own members (the base's come first in the tables)
    std::vector<CAttributeModel> attributes;
    bool hasText = false;              // simple content
    CSimpleModel text;
    int textIndex = -1;
    int firstIndex = 0;                // the first property index of its own
    int classId = 0;
    std::string source;
    const CSchemaFile* file = nullptr; // the schema whose files hold the class
    bool polymorphic = false;          // has derived classes: members of it read by factory

    // Members and attributes in table order, the base's first.
    std::vector<const CMemberModel*> AllMembers() const {
        std::vector<const CMemberModel*> all = base ? base->AllMembers() : std::vector<const CMemberModel*>{};
        for (const auto& member : members) all.push_back(&member);
        return all;
    }
    std::vector<const CAttributeModel*> AllAttributes() const {
        std::vector<const CAttributeModel*> all =
            base ? base->AllAttributes() : std::vector<const CAttributeModel*>{};
        for (const auto& attribute : attributes) all.push_back(&attribute);
        return all;
    }
    const CClassModel* TextOwner() const { return hasText ? this : base ? base->TextOwner() : nullptr; }
};

// A global element: what a document may start with.
struct CDocumentElementModel {
    std::wstring ns;
    std::wstring name;
    CClassModel* cls = nullptr;
};

struct CBinding {
    std::vector<std::unique_ptr<CEnumModel>> enums;
    std::vector<std::unique_ptr<CClassModel>> classes;  // bases before the classes derived from them
    std::vector<CDocumentElementModel> documentElements;
};

}  // namespace qxxml_generate

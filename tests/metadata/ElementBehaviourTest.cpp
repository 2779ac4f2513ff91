// Reading and writing through every element and attribute descriptor, against real parsed
// trees and a real text writer, from the case tables element_reading.tsv and
// element_writing.tsv beside this file (the first one's opening comment tells the columns
// and words). This file only knows how to build a descriptor and render what happened.

#include <qxxml/collections/ElementCol.h>
#include <qxxml/collections/TypedCollections.h>
#include <qxxml/collections/XmlCollection.h>
#include <qxxml/core/XmlGeneratedClass.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/metadata/AttributeInfo.h>
#include <qxxml/metadata/ElementInfoAll.h>
#include <qxxml/metadata/ElementInfoChoice.h>
#include <qxxml/metadata/ElementInfoSeq.h>
#include <qxxml/metadata/ParentElementInfo.h>
#include <qxxml/values/PrimitiveRestrictions.h>
#include <qxxml/values/QxVariant.h>
#include <qxxml/xmlin/XmlAttribute.h>
#include <qxxml/xmlin/XmlDocument.h>
#include <qxxml/xmlout/TextStream.h>
#include <qxxml/xmlout/XmlTextWriter.h>

#include "common/CaseTable.h"
#include "common/TypeRecordingWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace QxXmlLib10;
using namespace QxXmlLib10Data;
using qxxml_test::Narrow;

namespace {

// A generated class written by hand: property i is m_properties[i].
class CTestObject : public CXmlGeneratedClass {
public:
    explicit CTestObject(size_t propertyCount = 4) : m_properties(propertyCount) {}

    void AccessProperty(int index, bool read, QxVariant& value) override {
        m_accessLog.push_back(std::to_string(index) + (read ? "r" : "w"));
        QxVariant& property = m_properties.at(static_cast<size_t>(index));
        if (read)
            value = property;
        else
            property = value;
    }
    CParentElementInfo* GetClassInfo() override { return nullptr; }
    CElementInfo** GetClassElementInfo() override { return nullptr; }
    CAttributeInfo** GetClassAttributeInfo() override { return nullptr; }
    void Init() override {}
    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return L""; }

    std::vector<QxVariant> m_properties;
    std::vector<std::string> m_accessLog;
    std::wstring m_targetNamespace = L"urn:target";

protected:
    std::wstring GetTargetNamespace() const override { return m_targetNamespace; }
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&,
                             bool) override {
        return firstChild;
    }
};

// What the stand-ins were asked during one scenario.
std::vector<std::string>& Events() {
    static std::vector<std::string> events;
    return events;
}

std::string NameOf(const CXmlElement* element) {
    return element ? Narrow(element->GetLocalName()) : "-";
}

// A generated-style child object. Written, it writes <child>c</child> in the namespace it is
// given, or <part/> as pseudo-element content, and lends the attribute <tag>="1" to the open
// element. Read, it consumes `m_consumes` elements from the first child it is given, or throws.
class CProbeChild : public CTestObject {
public:
    CProbeChild(std::string tag, XmlElementType type) : CTestObject(0), m_tag(std::move(tag)), m_type(type) {}

    std::string m_tag;
    XmlElementType m_type;
    int m_consumes = 1;
    bool m_throwOnRead = false;

protected:
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace, const CXmlSerializationContext&,
                   bool optionalChoiceItem) const override {
        Events().push_back(m_tag + ".wrote(" + Narrow(elementNamespace ? elementNamespace : L"(null)") +
                           (isRoot ? ",root" : "") + (optionalChoiceItem ? ",choice" : "") + ")");
        writer->StartElement(m_type == XmlElementType_Element ? L"child" : L"part",
                             m_type == XmlElementType_Element ? elementNamespace : L"");
        if (m_type == XmlElementType_Element) writer->WriteElementValue(L"c", ItemType_string);
        writer->EndElement();
    }
    void AttributesToXml_Int(CXmlWriter* writer, const CXmlSerializationContext&) const override {
        Events().push_back(m_tag + ".lent");
        writer->AddAttribute(qxxml_test::Widen(m_tag), L"", L"1", ItemType_string);
    }
    CXmlElement* FromXml_Int(CXmlElement* element, CXmlElement* firstChild, const CXmlSerializationContext&,
                             bool optionalChoiceItem) override {
        Events().push_back(m_tag + ".read(" + NameOf(element) + "," + NameOf(firstChild) +
                           (optionalChoiceItem ? ",choice" : "") + ")");
        if (m_throwOnRead) throw CQxValidationException(L"the child failed");
        CXmlElement* next = firstChild;
        for (int i = 0; i < m_consumes && next; ++i) next = next->GetNextSiblingElement();
        return next;
    }
};

// A collection of probe children, for the attributes of pseudo-element items.
class CProbeCol : public CXmlCollection {
public:
    CProbeCol() : CXmlCollection(L"item", L"", 0, -1) {}
    void Append(CXmlObjectBase* item) { AppendItem(item); }

protected:
    void ToXml_Int(CXmlWriter*, bool, const wchar_t*, const CXmlSerializationContext&, bool) const override {}
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&,
                             bool) override {
        return firstChild;
    }
};

// A collection whose count is set by the scenario and which records its checks and writes.
class CScriptedCol : public CXmlCollectionBase {
public:
    explicit CScriptedCol(int count) : m_count(count) {}
    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return L""; }
    int GetCount() const override { return m_count; }
    void Clear() override {}
    void Remove(int) override {}
    void ValidateCount(const CXmlSerializationContext&) const override { Events().push_back("col.checked"); }

protected:
    std::wstring GetTargetNamespace() const override { return L""; }
    void ToXml_Int(CXmlWriter*, bool isRoot, const wchar_t* elementNamespace, const CXmlSerializationContext&,
                   bool optionalChoiceItem) const override {
        Events().push_back("col.wrote(" + Narrow(elementNamespace) + (isRoot ? ",root" : "") +
                           (optionalChoiceItem ? ",choice" : "") + ")");
    }
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&,
                             bool) override {
        return firstChild;
    }

private:
    int m_count;
};

// The generated factories, as plain functions that record their calls and hand out `Next()`.
CSmartPtr<CXmlObjectBase>& Next() {
    static CSmartPtr<CXmlObjectBase> next;
    return next;
}
CSmartPtr<CXmlObjectBase> Create(int classId, const wchar_t* name) {
    Events().push_back("create(" + std::to_string(classId) + "," + Narrow(name) + ")");
    return Next();
}
CSmartPtr<CXmlObjectBase> CreateFromElement(CXmlElement* element) {
    Events().push_back("offer(" + NameOf(element) + ")");
    return Next();
}

using qxxml_test::CTypeRecordingWriter;

const wchar_t* ColourText(int value) { return value == 0 ? L"red" : value == 1 ? L"green" : nullptr; }
int ColourValue(const wchar_t* text) {
    const std::wstring t = text;
    return t == L"green" ? 1 : t == L"red" ? 0 : -1;
}

using Options = qxxml_test::CaseWords;

CXmlSerializationContext ContextOf(const Options& words) {
    CXmlSerializationContext context;
    context.SetIgnoreUnknownElements(words.Has("ignore-unknown"));
    context.SetIgnoreMissingMandatoryElements(words.Has("ignore-missing"));
    context.SetIgnoreInvalidCollectionCounts(words.Has("ignore-counts"));
    context.SetIgnoreNamespaces(words.Has("ignore-ns"));
    context.SetNoOptionalAttributeDefaultOutput(words.Has("no-defaults"));
    if (words.Has("no-namespaces")) context.SetSchemaType(SchemaType_NoNamespaces);
    return context;
}

// An untyped element: "{namespace}name", its attributes, text and children.
std::string ElementText(const CElement& element) {
    std::string text = "{" + Narrow(element.GetNamespace()) + "}" + Narrow(element.GetName());
    for (int i = 0; i < element.GetAttributes()->GetCount(); ++i)
        text += "@" + Narrow(element.GetAttributes()->Item(i)->GetName()) + "=" +
                Narrow(element.GetAttributes()->Item(i)->GetValue());
    if (!element.GetText().empty()) text += "'" + Narrow(element.GetText()) + "'";
    text += "(";
    for (const CElement* child : *element.GetChildElements()) text += ElementText(*child);
    return text + ")";
}

std::string Bool(bool value) { return value ? "true" : "false"; }

// The text, or null where it is "(null)" (or equals `null`).
const wchar_t* NullFor(const std::wstring& text, const wchar_t* null = L"(null)") {
    return text == null ? nullptr : text.c_str();
}

// The outcome of a call: what it answers, or the failure it throws.
template <class Call>
std::string Outcome(Call&& call) {
    try {
        return call();
    } catch (const CQxException& e) {
        return qxxml_test::FailureText(e) + " |";
    }
}

class Scenario {
public:
    Scenario(const std::string& kind, const Options& setup)
        : m_name(setup.Wide("name", "c")),
          m_ns(setup.Wide("ns")),
          m_format(setup.Wide("format")),
          m_restriction(qxxml_test::Spaced(setup.Get("restriction", "##targetNamespace"))),
          m_target(setup.Wide("target", "urn:a")),
          m_minInclusive(setup.Wide("minInclusive")),
          m_minExclusive(setup.Wide("minExclusive")),
          m_default(setup.Wide("default")) {
        Events().clear();
        const XmlElementType type = setup.Has("pseudo") ? XmlElementType_PseudoElement
                                    : setup.Has("type2") ? XmlElementType(2)
                                                         : XmlElementType_Element;
        m_existing = new CProbeChild("existing", type);
        m_earlier = new CProbeChild("earlier", type);
        m_made = new CProbeChild("made", type);
        for (CProbeChild* probe : {m_existing.Get(), m_made.Get()}) {
            probe->m_consumes = std::stoi(setup.Get("consumes", "1"));
            probe->m_throwOnRead = setup.Has("throw");
        }
        Next() = setup.Get("made") == "none" ? nullptr : m_made.Get();
        if (kind.compare(0, 4, "Attr") == 0)
            m_attribute.reset(MakeAttribute(kind, setup));
        else
            m_info.reset(MakeMember(kind, setup, type));
        m_object.m_targetNamespace = setup.Wide("object-target", "urn:target");
        FillProperty(setup);
    }
    ~Scenario() { Next() = nullptr; }

    bool Built() const { return m_info || m_attribute; }

    // Reads the children of the document element of `xml` through the descriptor; an
    // attribute descriptor is offered each attribute of the first child in turn.
    std::string Read(const std::string& xml, const Options& context) {
        m_parsed.reset(new CXmlDocument);
        m_parsed->LoadXml(qxxml_test::FromUtf8(xml).c_str());
        CXmlElement* root = m_parsed->GetDocumentElement();
        CXmlElement* cursor = root->GetFirstElement();
        const std::string start = context.Get("start", "0");
        for (int skip = start == "end" ? 1000 : std::stoi(start); skip > 0 && cursor; --skip)
            cursor = cursor->GetNextSiblingElement();
        const CXmlSerializationContext serialization = ContextOf(context);
        const std::string result = Outcome([&] {
            if (m_attribute) {
                std::string taken;
                for (CXmlAttribute* attribute : cursor->GetAttributes())
                    taken += (taken.empty() ? "" : ",") +
                             Bool(m_attribute->AttributeFromXml(serialization, &m_object, attribute));
                return taken.empty() ? Bool(m_attribute->AttributeFromXml(serialization, &m_object, nullptr)) : taken;
            }
            if (context.Has("is-this")) return Bool(m_info->IsThisElement(serialization, cursor));
            const XmlElementType caller = context.Has("soft") ? XmlElementType_PseudoElement : XmlElementType_Element;
            return Bool(m_info->ElementFromXml(serialization, &m_object, root, &cursor, L"", caller));
        });
        const std::string where =
            cursor ? (cursor->GetNamespaceURI().empty() ? "" : Narrow(cursor->GetNamespaceURI()) + "|") +
                         Narrow(cursor->GetLocalName())
                   : "(end)";
        return result + " " + where + " " + State();
    }

    // Writes the member inside <r>, or an attribute on the open element <e>. The context
    // words "attributes" (those a member lends), "validate" (with "found" and "mandatory"),
    // "check" (the facets against the property) and "default-ns" (the wildcard default of
    // the restriction under the namespace as parent) ask for other calls instead.
    std::string Write(const Options& context) {
        CTextStream stream;
        CTypeRecordingWriter writer(&stream);
        writer.SetFormatting(false);
        writer.StartElement(m_attribute || context.Has("attributes") ? L"e" : L"r", L"");
        const CXmlSerializationContext serialization = ContextOf(context);
        const bool found = context.Has("found");
        const std::string result = Outcome([&] {
            if (context.Has("validate") && m_attribute) m_attribute->Validate(serialization, found);
            if (context.Has("validate") && m_info)
                return Bool(m_info->Validate(serialization, &m_object, found, context.Has("mandatory")));
            if (context.Has("check")) m_info->CheckRestriction(m_object.m_properties[0]);
            if (context.Has("default-ns"))
                return "ns=" + Narrow(CElementInfo::GetAnyDefaultNamespace(NullFor(m_restriction), NullFor(m_ns),
                                                                             m_target.c_str()));
            if (context.Has("attributes")) m_info->PseudoChildAttributeToXml(serialization, &m_object, &writer);
            if (context.Has("validate") || context.Has("check") || context.Has("attributes")) return Bool(true);
            if (m_attribute) m_attribute->AttributeToXml(serialization, &m_object, &writer);
            return Bool(m_attribute || m_info->ElementToXml(serialization, &m_object, &writer));
        });
        writer.EndElement();
        const std::string types = writer.m_types.empty() ? "" : " types=" + writer.m_types;
        return result + " " + Narrow(stream.TakeText()) + types + " " + State();
    }

private:
    CElementInfo* MakeMember(const std::string& kind, const Options& s, XmlElementType type) const {
        const wchar_t* n = m_name.c_str();
        const wchar_t* ns = m_ns.c_str();
        const bool nil = s.Has("nillable");
        const bool required = s.Has("required");
        const ItemType item = qxxml_test::ItemTypeNamed(s.Get("type", "i4"));
        const wchar_t* format = m_format.empty() ? nullptr : m_format.c_str();
        const auto rule = qxxml_test::WhitespaceRuleNamed(s.Get("rule"));
        const CPrimitiveRestrictions facets = Facets();
        const wchar_t* r = m_restriction.c_str();
        const wchar_t* t = m_target.c_str();
        const auto cls = &Create;
        const auto abs = &CreateFromElement;
        // KIND(SeqPrimMnd, args...) makes the entry "SeqPrimMnd" -> new CElementInfoSeqPrimMnd(n, ns, args...).
#define KIND(Kind, ...) {#Kind, [&]() -> CElementInfo* { return new CElementInfo##Kind(n, ns, __VA_ARGS__); }}
        const std::map<std::string, std::function<CElementInfo*()>> makers = {
            KIND(SeqPrimMnd, 0, nil, item, format, rule, facets), KIND(SeqPrimOpt, 0, nil, item, format, rule, facets),
            KIND(AllPrimMnd, 0, nil, item, format, rule, facets), KIND(AllPrimOpt, 0, nil, item, format, rule, facets),
            KIND(ChoicePrimOpt, 0, nil, item, format, rule, facets),
            KIND(SeqEnumMnd, 0, nil, &ColourText, &ColourValue),  KIND(SeqEnumOpt, 0, nil, &ColourText, &ColourValue),
            KIND(AllEnumMnd, 0, nil, &ColourText, &ColourValue),  KIND(AllEnumOpt, 0, nil, &ColourText, &ColourValue),
            KIND(ChoiceEnumOpt, 0, nil, &ColourText, &ColourValue),
            KIND(SeqClsMnd, 0, type, cls, 7, required), KIND(AllClsMnd, 0, type, cls, 7, required),
            KIND(SeqClsOpt, 0, type, cls, 7),     KIND(AllClsOpt, 0, type, cls, 7),     KIND(ChoiceClsOpt, 0, type, cls, 7),
            KIND(SeqAbsClsMnd, 0, type, abs),     KIND(SeqAbsClsOpt, 0, type, abs),     KIND(ChoiceAbsClsOpt, 0, type, abs),
            KIND(AllAbsClsMnd, 0, type, abs, 3),  KIND(AllAbsClsOpt, 0, type, abs),
            KIND(SeqUntpdMnd, 0, r, t),  KIND(SeqUntpdOpt, 0, r, t),  KIND(ChoiceUntpdOpt, 0, r, t),
            KIND(AllUntpdMnd, 0, r, t),  KIND(AllUntpdOpt, 0, r, t),
            KIND(SeqPrimCol, 0),   KIND(ChoicePrimCol, 0),   KIND(AllPrimCol, 0),   KIND(SeqEnumCol, 0),
            KIND(ChoiceEnumCol, 0),   KIND(SeqUntpdCol, 0),  KIND(ChoiceUntpdCol, 0),   KIND(AllUntpdCol, 0),
            KIND(SeqClsCol, 0, type),     KIND(ChoiceClsCol, 0, type),     KIND(AllClsCol, 0, type),
            KIND(SeqAbsClsCol, 0, type),  KIND(ChoiceAbsClsCol, 0, type),  KIND(AllAbsClsCol, 0, type),
        };
#undef KIND
        const auto found = makers.find(kind);
        if (found != makers.end()) return found->second();
        ADD_FAILURE() << "no descriptor kind " << kind;
        return nullptr;
    }

    CPrimitiveRestrictions Facets() const {
        return CPrimitiveRestrictions(nullptr, -1, -1, NullFor(m_minInclusive, L""), nullptr,
                                      NullFor(m_minExclusive, L""), nullptr, -1);
    }

    CAttributeInfo* MakeAttribute(const std::string& kind, const Options& s) const {
        const wchar_t* n = m_name.c_str();
        const wchar_t* ns = m_ns.c_str();
        const bool optional = s.Has("optional");
        const wchar_t* fallback = s.Has("default") ? m_default.c_str() : nullptr;
        if (kind == "AttrPrim")
            return new CAttributeInfoPrimitive(n, ns, 0, optional, qxxml_test::ItemTypeNamed(s.Get("type", "i4")),
                                               m_format.empty() ? nullptr : m_format.c_str(),
                                               qxxml_test::WhitespaceRuleNamed(s.Get("rule")), Facets(), fallback);
        if (kind == "AttrEnum") return new CAttributeInfoEnum(n, ns, 0, optional, &ColourText, &ColourValue, fallback);
        if (kind == "AttrAny")
            return new CAttributeInfoAny(n, ns, 0, optional, m_restriction.c_str(), m_target.c_str(), fallback);
        ADD_FAILURE() << "no attribute kind " << kind;
        return nullptr;
    }

    void FillProperty(const Options& s) {
        QxVariant& property = m_object.m_properties[0];
        if (s.Has("existing")) property.SetXmlObject(m_existing);
        if (s.Has("earlier")) property.SetXmlObject(m_earlier);
        if (s.Has("null")) property.SetXmlObject(nullptr);
        if (s.Has("i4")) property.SetI4(std::stoi(s.Get("i4")));
        if (s.Has("r8")) property.SetR8(std::stod(s.Get("r8")));
        if (s.Has("string")) property.SetString(s.Wide("string"));
        if (s.Has("nil")) property.SetNil();
        if (s.Has("numbers")) {
            const std::string bounds = s.Get("numbers");
            const int minOccurs = std::stoi(bounds), maxOccurs = std::stoi(bounds.substr(bounds.find(':') + 1));
            property.SetXmlCollection(new Ci4Col(m_name.c_str(), L"", minOccurs, maxOccurs, nullptr, -1, -1, nullptr,
                                                 nullptr, nullptr, nullptr, -1,
                                                 CWhitespaceUtils::WhitespaceRule_Collapse, nullptr));
        }
        if (s.Has("elements")) {
            const std::wstring own = m_restriction == L"##targetNamespace" ? m_target : L"";
            property.SetXmlCollection(new CElementCol(own.c_str(), m_restriction.c_str(), m_target.c_str(),
                                                      std::stoi(s.Get("elements")), -1));
        }
        if (s.Has("element")) {
            CSmartPtr<CElement> element(new CElement(L"e", L"", m_restriction.c_str(), m_target.c_str()));
            element->SetText(L"t<");
            element->GetChildElements()->Add(L"c", L"urn:c");
            if (s.Has("element-ns")) element->SetNamespace(s.Wide("element-ns").c_str());
            property.SetXmlObject(element.Get());
        }
        if (s.Has("scripted")) property.SetXmlCollection(new CScriptedCol(std::stoi(s.Get("scripted"))));
        if (s.Has("probes")) {
            CSmartPtr<CProbeCol> probes(new CProbeCol);
            probes->Append(m_existing);
            probes->Append(m_earlier);
            property.SetXmlCollection(probes);
        }
    }

    // The property, how it was used and what the stand-ins were asked.
    std::string State() const {
        std::string text = PropertyText(m_object.m_properties[0]);
        for (size_t i = 0; i < m_object.m_accessLog.size(); ++i)
            text += (i == 0 ? " access=" : ",") + m_object.m_accessLog[i];
        for (const std::string& event : Events()) text += " " + event;
        return text;
    }

    std::string PropertyText(const QxVariant& property) const {
        if (!property.IsValid()) return "unset";
        if (property.IsNil()) return "nil";
        if (property.GetTypeAsEnum() == ItemType_XmlObjectBase) {
            const CXmlObjectBase* object = property.GetXmlObject().Get();
            if (const auto* probe = dynamic_cast<const CProbeChild*>(object)) return probe->m_tag;
            if (const auto* element = dynamic_cast<const CElement*>(object)) return ElementText(*element);
            return object ? "object" : "null";
        }
        if (property.GetTypeAsEnum() == ItemType_XmlCollection) {
            const CXmlCollectionBase* collection = property.GetXmlCollection().Get();
            std::string items;
            if (const auto* numbers = dynamic_cast<const Ci4Col*>(collection))
                for (int32_t number : *numbers) items += (items.empty() ? "" : " ") + std::to_string(number);
            if (const auto* elements = dynamic_cast<const CElementCol*>(collection))
                for (const CElement* element : *elements) items += (items.empty() ? "" : " ") + ElementText(*element);
            return "[" + items + "]";
        }
        return Narrow(ItemTypeName(property.GetTypeAsEnum())) + ":" + Narrow(property.ToString(nullptr));
    }

    std::wstring m_name, m_ns, m_format, m_restriction, m_target, m_minInclusive, m_minExclusive, m_default;
    std::unique_ptr<CElementInfo> m_info;
    std::unique_ptr<CAttributeInfo> m_attribute;
    CTestObject m_object;
    CSmartPtr<CProbeChild> m_existing, m_earlier, m_made;
    std::unique_ptr<CXmlDocument> m_parsed;  // alive while its elements are used
};

// Every kind a row names must give the row's outcome.
void RunTable(const std::string& file, bool reading) {
    qxxml_test::ForEachRow("tests/metadata/" + file, reading ? 5 : 4, [&](const qxxml_test::Row& f) {
        for (const std::string& kind : qxxml_test::Words(f[0])) {
            Scenario scenario(kind, Options(f[1]));
            if (!scenario.Built()) continue;
            const std::string outcome = reading ? scenario.Read(f[3], Options(f[2])) : scenario.Write(Options(f[2]));
            EXPECT_EQ(outcome, f.back()) << kind;
        }
    });
}

}  // namespace

TEST(ElementDescriptors, ReadEveryRowOfTheTable) { RunTable("element_reading.tsv", true); }

TEST(ElementDescriptors, WriteEveryRowOfTheTable) { RunTable("element_writing.tsv", false); }

// BehaviourTestSupport.h - stand-ins for generated code used by the element descriptor
// behaviour tests: a child object whose writing and reading are scripted and recorded, a
// class collection of such children, factories that record their calls, a text writer that
// records item types, and helpers to run one descriptor against a parsed element.
#pragma once

#include "metadata/MetadataTestSupport.h"

#include <qxxml/collections/TypedCollections.h>
#include <qxxml/collections/XmlCollection.h>
#include <qxxml/metadata/ElementInfoAll.h>
#include <qxxml/metadata/ElementInfoChoice.h>
#include <qxxml/metadata/ElementInfoSeq.h>

#include <string>
#include <vector>

namespace metadata_test {

// A generated-style child object. Written, it records the call and writes <child>c</child>
// when it has an element of its own, or <part/> as pseudo-element content; it lends the
// attribute lent="1" to the open element. Read, it records the call and consumes
// `m_consumes` elements from the first child it is given (returning the next one), or throws
// when told to.
class CProbeChild : public CXmlGeneratedClass {
public:
    explicit CProbeChild(XmlElementType type = XmlElementType_Element, int consumes = 1)
        : m_type(type), m_consumes(consumes) {}

    struct WriteCall {
        bool isRoot;
        std::wstring elementNamespace;
        bool optionalChoiceItem;
    };
    struct ReadCall {
        CXmlElement* element;
        CXmlElement* firstChild;
        bool optionalChoiceItem;
    };

    void AccessProperty(int, bool, QxVariant&) override {}
    CParentElementInfo* GetClassInfo() override { return nullptr; }
    CElementInfo** GetClassElementInfo() override { return nullptr; }
    CAttributeInfo** GetClassAttributeInfo() override { return nullptr; }
    void Init() override {}
    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return L""; }

    XmlElementType m_type;
    int m_consumes;
    bool m_throwOnRead = false;
    mutable std::vector<WriteCall> m_writes;
    mutable int m_attributeWrites = 0;
    std::vector<ReadCall> m_reads;

protected:
    std::wstring GetTargetNamespace() const override { return L""; }
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace, const CXmlSerializationContext&,
                   bool optionalChoiceItem) const override {
        m_writes.push_back({isRoot, elementNamespace ? elementNamespace : L"(null)", optionalChoiceItem});
        if (m_type == XmlElementType_Element) {
            writer->StartElement(L"child", elementNamespace);
            writer->WriteElementValue(L"c", ItemType_string);
        } else {
            writer->StartElement(L"part", L"");
        }
        writer->EndElement();
    }
    void AttributesToXml_Int(CXmlWriter* writer, const CXmlSerializationContext&) const override {
        ++m_attributeWrites;
        writer->AddAttribute(L"lent", L"", L"1", ItemType_string);
    }
    CXmlElement* FromXml_Int(CXmlElement* element, CXmlElement* firstChild, const CXmlSerializationContext&,
                             bool optionalChoiceItem) override {
        m_reads.push_back({element, firstChild, optionalChoiceItem});
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

// The generated factories, as plain functions that record their calls. `next` is what they
// hand out (null: they decline).
struct FactoryLog {
    int classId = -1;
    std::wstring name;
    CXmlElement* element = nullptr;
    int calls = 0;
    CSmartPtr<CXmlObjectBase> next;

    static FactoryLog& Get() {
        static FactoryLog log;
        return log;
    }
    static void Reset(CXmlObjectBase* next) {
        Get() = FactoryLog();
        Get().next = next;
    }
    static CSmartPtr<CXmlObjectBase> Create(int classId, const wchar_t* name) {
        FactoryLog& log = Get();
        ++log.calls;
        log.classId = classId;
        log.name = name;
        return log.next;
    }
    static CSmartPtr<CXmlObjectBase> CreateFromElement(CXmlElement* element) {
        FactoryLog& log = Get();
        ++log.calls;
        log.element = element;
        return log.next;
    }
};

// A text writer that also records the item type of every element value.
class CTypeRecordingWriter : public CXmlTextWriter {
public:
    using CXmlTextWriter::CXmlTextWriter;
    void WriteElementValue(const std::wstring& value, ItemType itemType) override {
        m_types.push_back(itemType);
        CXmlTextWriter::WriteElementValue(value, itemType);
    }
    std::vector<ItemType> m_types;
};

// Everything one descriptor writes inside <r>...</r>, through a real text writer.
struct Written {
    std::wstring text;
    bool result = false;
    std::vector<ItemType> types;
};

inline Written WriteMember(const CElementInfo& info, const CXmlGeneratedClass& object,
                           const CXmlSerializationContext& context = CXmlSerializationContext()) {
    CTextStream stream;
    CTypeRecordingWriter writer(&stream);
    writer.SetFormatting(false);
    writer.StartElement(L"r", L"");
    Written out;
    out.result = info.ElementToXml(context, &object, &writer);
    writer.EndElement();
    out.text = stream.TakeText();
    out.types = writer.m_types;
    return out;
}

// The attributes PseudoChildAttributeToXml lends to <r>.
inline std::wstring WritePseudoAttributes(const CElementInfo& info, const CXmlGeneratedClass& object) {
    return WriteElement([&](CXmlWriter* writer) {
        info.PseudoChildAttributeToXml(CXmlSerializationContext(), &object, writer);
    });
}

// A parsed document and a cursor over its root's children, for ElementFromXml.
struct Reading {
    explicit Reading(const wchar_t* xml) : parsed(xml), cursor(parsed.Root()->GetFirstElement()) {}

    bool Read(CElementInfo& info, CXmlGeneratedClass& object, const CXmlSerializationContext& context,
              XmlElementType caller = XmlElementType_Element) {
        return info.ElementFromXml(context, &object, parsed.Root(), &cursor, L"", caller);
    }
    // The n-th child element of the root (0-based), or null past the end.
    CXmlElement* Child(int n) const {
        CXmlElement* element = parsed.Root()->GetFirstElement();
        while (n-- > 0 && element) element = element->GetNextSiblingElement();
        return element;
    }
    std::wstring CursorName() const { return cursor ? cursor->GetLocalName() : L"(end)"; }

    ParsedXml parsed;
    CXmlElement* cursor;
};

// Contexts with one leniency switched on.
inline CXmlSerializationContext IgnoringUnknownElements() {
    CXmlSerializationContext context;
    context.SetIgnoreUnknownElements(true);
    return context;
}
inline CXmlSerializationContext IgnoringMissingMandatoryElements() {
    CXmlSerializationContext context;
    context.SetIgnoreMissingMandatoryElements(true);
    return context;
}
inline CXmlSerializationContext IgnoringCollectionCounts() {
    CXmlSerializationContext context;
    context.SetIgnoreInvalidCollectionCounts(true);
    return context;
}

constexpr auto kSoft = XmlElementType_PseudoElement;

}  // namespace metadata_test

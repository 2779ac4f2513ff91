#include <qxxml/core/XmlGeneratedClass.h>

#include <qxxml/support/detail/OrEmpty.h>

#include <qxxml/collections/AttributeCol.h>
#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/metadata/AttributeInfo.h>
#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/metadata/ElementInfoAll.h>
#include <qxxml/metadata/ElementInfoChoice.h>
#include <qxxml/metadata/ElementInfoSeq.h>
#include <qxxml/metadata/ParentElementInfo.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/ScratchText.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/values/QxVariant.h>
#include <qxxml/xmlin/XmlAttribute.h>
#include <qxxml/xmlin/XmlElement.h>
#include <qxxml/xmlout/XmlWriter.h>

#include <cstddef>
#include <cstdint>
#include <cwctype>
#include <iterator>
#include <string>
#include <typeinfo>
#include <vector>

namespace QxXmlLib10 {

using QxXmlLib10Data::CAttributeInfo;
using QxXmlLib10Data::CElementInfo;
using QxXmlLib10Data::CParentElementInfo;
using QxXmlLib10Data::XmlElementGroupType;
using QxXmlLib10Data::XmlElementType;

namespace {

using detail::OrEmpty;

// Deletes every entry up to the terminating null, then the array.
template <class T>
void DeleteTable(T**& table) {
    if (!table) return;
    for (T** entry = table; *entry; ++entry) {
        delete *entry;
        *entry = nullptr;
    }
    delete[] table;
    table = nullptr;
}

// The nil interface of a generated object, or null when its element is not nillable. IsNil and
// SetNil are not const, so even a const object is reached through a mutable pointer.
// The cross-cast walks the class hierarchy (hundreds of instructions, once per object written
// or read); its answer depends on the dynamic type alone, so each thread remembers the answer
// for the last type it saw. (A type seen through two type_info objects only misses the cache.)
INillable* AsNillable(const CXmlGeneratedClass* object) {
    struct LastType {
        const std::type_info* type = nullptr;
        bool nillable = false;
        std::ptrdiff_t offset = 0;  // from the object to its INillable part
    };
    static thread_local LastType last;
    CXmlGeneratedClass* self = const_cast<CXmlGeneratedClass*>(object);
    if (!self) return nullptr;
    const std::type_info* type = &typeid(*self);
    if (type != last.type) {
        INillable* nillable = dynamic_cast<INillable*>(self);
        last.type = type;
        last.nillable = nillable != nullptr;
        last.offset = nillable ? reinterpret_cast<char*>(nillable) - reinterpret_cast<char*>(self) : 0;
        return nillable;
    }
    return last.nillable ? reinterpret_cast<INillable*>(reinterpret_cast<char*>(self) + last.offset) : nullptr;
}

bool EqualsIgnoringCase(const std::wstring& text, const wchar_t* word) {
    size_t i = 0;
    for (; i < text.size() && word[i]; ++i)
        if (std::towlower(static_cast<wint_t>(text[i])) != static_cast<wint_t>(word[i])) return false;
    return i == text.size() && !word[i];
}

// The document-level items only the root writes before its start tag: processing
// instructions, then the aliases (in URI order) and the default namespace it announces.
void WriteDocumentItems(CXmlWriter* writer, const CXmlSerializationContext& context) {
    for (const std::wstring& instruction : context.GetProcessingInstructions())
        writer->WriteProcessingInstruction(instruction);
    const CNamespaceAliasMap& aliases = context.GetNamespaceAliases();
    const int count = aliases.GetNamespaceCount();
    for (int i = 0; i < count; ++i) {
        const std::wstring uri = aliases.GetNamespaceAt(i);
        writer->AddNamespace(aliases.GetAliasFromNamespace(uri.c_str()), uri);
    }
    const std::wstring defaultNamespace = context.GetDefaultNamespaceURI();
    if (!defaultNamespace.empty()) writer->SetDefaultNamespace(defaultNamespace);
}

// One flag per table entry. Tables rarely hold more than a few dozen entries, so the flags
// live on the stack and only a larger table takes them from the heap.
class FoundFlags {
public:
    explicit FoundFlags(int count) {
        if (count > kInline) m_heap.assign(static_cast<size_t>(count), 0);
        m_flags = count > kInline ? m_heap.data() : m_inline;
    }
    FoundFlags(const FoundFlags&) = delete;
    FoundFlags& operator=(const FoundFlags&) = delete;
    bool Get(int i) const { return m_flags[i] != 0; }
    void Set(int i, bool value) { m_flags[i] = value ? 1 : 0; }

private:
    static constexpr int kInline = 64;
    char m_inline[kInline] = {};
    std::vector<char> m_heap;
    char* m_flags;
};

[[noreturn]] void ThrowElementsRemain(const CXmlElement* parent, const CXmlElement* cursor) {
    throw CQxValidationException(FormatString(
        L"Failed read all the elements held within the element [%s]. The unexpected element [%s] remains un "
        L"processed",
        parent->GetLocalName().c_str(), cursor->GetLocalName().c_str()));
}

// The choice members that may be left out: the single-valued ones always, the repeated ones
// when their collection may be empty.
bool IsOptionalChoiceMember(const CElementInfo* element) {
    using namespace QxXmlLib10Data;
    return dynamic_cast<const CElementInfoChoicePrimOpt*>(element) ||
           dynamic_cast<const CElementInfoChoiceClsOpt*>(element) ||
           dynamic_cast<const CElementInfoChoiceAbsClsOpt*>(element) ||
           dynamic_cast<const CElementInfoChoiceEnumOpt*>(element) ||
           dynamic_cast<const CElementInfoChoiceUntpdOpt*>(element);
}

bool IsChoiceCollectionMember(const CElementInfo* element) {
    using namespace QxXmlLib10Data;
    return dynamic_cast<const CElementInfoChoicePrimCol*>(element) ||
           dynamic_cast<const CElementInfoChoiceClsCol*>(element) ||
           dynamic_cast<const CElementInfoChoiceAbsClsCol*>(element) ||
           dynamic_cast<const CElementInfoChoiceEnumCol*>(element) ||
           dynamic_cast<const CElementInfoChoiceUntpdCol*>(element);
}

// The answer `decide` gives for a type, for questions whose answer depends on the type alone and
// that are asked too often to be worked out every time: kept in a small table of the thread's
// recent types. Every caller has a table of its own (each lambda is a type of its own).
template <class Decide>
bool RememberedForType(const std::type_info& type, Decide decide) {
    struct KnownType {
        const std::type_info* type = nullptr;
        bool answer = false;
    };
    static thread_local KnownType known[32];
    KnownType& slot = known[(reinterpret_cast<std::uintptr_t>(&type) >> 4) % std::size(known)];
    if (slot.type != &type) {
        slot.answer = decide();
        slot.type = &type;
    }
    return slot.answer;
}

// A sequence member that may take several elements: the repeated members, whose property is a
// collection. Asked after every element a sequence member reads, so the answer is kept per
// descriptor type.
bool IsRepeatedSequenceMember(const CElementInfo* element) {
    return RememberedForType(typeid(*element), [element] {
        return dynamic_cast<const QxXmlLib10Data::CElementInfoSeqCol*>(element) != nullptr;
    });
}

// Whether a member reads with its holder's namespace: the untyped members do (a wildcard's
// element takes it as its default), and so does a descriptor of a kind the library does not know.
bool ReadsWithHolderNamespace(const CElementInfo* element) {
    using namespace QxXmlLib10Data;
    const bool libraryKind = dynamic_cast<const CElementInfoSeq*>(element) ||
                             dynamic_cast<const CElementInfoAll*>(element) ||
                             dynamic_cast<const CElementInfoChoice*>(element);
    return !libraryKind || dynamic_cast<const CElementInfoUntpdKind<CElementInfoSeq>*>(element) ||
           dynamic_cast<const CElementInfoUntpdKind<CElementInfoAll>*>(element) ||
           dynamic_cast<const CElementInfoUntpdKind<CElementInfoChoice>*>(element) ||
           dynamic_cast<const CElementInfoSeqUntpdCol*>(element) ||
           dynamic_cast<const CElementInfoAllUntpdCol*>(element) ||
           dynamic_cast<const CElementInfoChoiceUntpdCol*>(element);
}

// The namespace a class's members read with: GetNamespace() builds a new string, so it is asked
// only of classes with a member that uses it, and the other classes pass an empty one. Whether a
// class has such a member depends on its type alone (its member table is the same for every
// object), so the answer is kept per type.
std::wstring NamespaceForMembers(const CXmlGeneratedClass& object, CElementInfo** elements) {
    const bool needed = RememberedForType(typeid(object), [elements] {
        for (int i = 0; elements && elements[i]; ++i)
            if (ReadsWithHolderNamespace(elements[i])) return true;
        return false;
    });
    return needed ? object.GetNamespace() : std::wstring();
}

}  // namespace

CQXCriticalSection CXmlGeneratedClass::m_csInit;

CXmlGeneratedClass::CXmlGeneratedClass() = default;
CXmlGeneratedClass::CXmlGeneratedClass(const CXmlGeneratedClass& other) = default;
CXmlGeneratedClass& CXmlGeneratedClass::operator=(const CXmlGeneratedClass& other) = default;
CXmlGeneratedClass::~CXmlGeneratedClass() = default;

// ------------------------------------------------------------------ tables

void CXmlGeneratedClass::ReadProperty(int propertyIndex, QxVariant& value) const {
    // Reading a property does not change the object; AccessProperty is one accessor for both
    // directions, so it is not const itself.
    const_cast<CXmlGeneratedClass*>(this)->AccessProperty(propertyIndex, true, value);
}

int CXmlGeneratedClass::GetClassElementInfoCount() const {
    CElementInfo** table = const_cast<CXmlGeneratedClass*>(this)->GetClassElementInfo();
    int count = 0;
    if (table)
        while (table[count]) ++count;
    return count;
}

bool CXmlGeneratedClass::IsElementInList(const CXmlSerializationContext& context, CXmlElement* element) const {
    CElementInfo** table = const_cast<CXmlGeneratedClass*>(this)->GetClassElementInfo();
    if (!table) return false;
    for (CElementInfo** entry = table; *entry; ++entry)
        if ((*entry)->IsThisElement(context, element)) return true;
    return false;
}

bool CXmlGeneratedClass::DoesElementContainOptionalElements() const {
    CElementInfo** table = const_cast<CXmlGeneratedClass*>(this)->GetClassElementInfo();
    if (!table) return false;
    for (CElementInfo** entry = table; *entry; ++entry) {
        const CElementInfo* element = *entry;
        if (IsChoiceCollectionMember(element)) {
            QxVariant value;
            ReadProperty(element->GetPropertyIndex(), value);
            const CSmartPtr<CXmlCollectionBase> collection = value.GetXmlCollection();
            // A generated class always owns its collections; should one be missing, its member
            // is not counted as one that may be left out.
            if (collection && collection->GetMinOccurs() == 0) return true;
        } else if (IsOptionalChoiceMember(element)) {
            return true;
        }
    }
    return false;
}

void CXmlGeneratedClass::CleanMetaData(CParentElementInfo*& classInfo, CElementInfo**& elements,
                                       CAttributeInfo**& attributes) {
    delete classInfo;
    classInfo = nullptr;
    DeleteTable(elements);
    DeleteTable(attributes);
}

// ------------------------------------------------------------------ writing

void CXmlGeneratedClass::ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                                   const CXmlSerializationContext& context, bool optionalChoiceItem) const {
    try {
        CXmlGeneratedClass* self = const_cast<CXmlGeneratedClass*>(this);
        const CParentElementInfo* info = self->GetClassInfo();
        // A pseudo element (model group) has no tags of its own: its attributes went onto the
        // holder's element through the holder's descriptor, its content goes into that element.
        const bool ownElement = info->GetElementType() == QxXmlLib10Data::XmlElementType_Element;

        if (ownElement) {
            if (isRoot) WriteDocumentItems(writer, context);
            writer->StartSharedNameElement(SharedElementName(), MakeSharedName(elementNamespace));
            if (isRoot) {
                const CSmartPtr<CAttributeCol> extra = context.GetAdditionalRootAttributes();
                CXmlObjectBase::ToXml_Int(extra.Get(), writer, false, elementNamespace, context, optionalChoiceItem);
            }
            AttributesToXml_Int(writer, context);
            if (isRoot) {
                const std::wstring schema = context.GetInLineSchema();
                if (!schema.empty()) writer->WriteInlineSchema(schema);
            }
        }

        INillable* nillable = AsNillable(this);
        if (nillable && nillable->IsNil()) {
            writer->AddXsiNilAttribute();
        } else {
            CElementInfo** elements = self->GetClassElementInfo();
            switch (info->GetElementGroupType()) {
                case QxXmlLib10Data::XmlElementGroupType_Sequence:
                    ProcessElementSeqToXml(context, elements, writer);
                    break;
                case QxXmlLib10Data::XmlElementGroupType_Choice:
                    ProcessElementChoiceToXml(context, elements, writer, optionalChoiceItem);
                    break;
                case QxXmlLib10Data::XmlElementGroupType_All:
                    ProcessElementAllToXml(context, elements, writer);
                    break;
                default:
                    throw CQxException(L"Unknown XML Group Type");
            }

            // The text value comes after any child elements (mixed content).
            const int textIndex = info->GetPrimitiveValuePropertyIndex();
            if (textIndex != -1 && info->GetPrimitiveDataType() != ItemType_invalid) {
                QxVariant value;
                ReadProperty(textIndex, value);
                if (value.IsNil())
                    writer->AddXsiNilAttribute();
                else
                    writer->WriteElementValue(value.ToString(info->GetPrimitiveFormatOverride()),
                                              value.GetTypeAsEnum());
            }
        }

        if (ownElement) writer->EndElement();
    } catch (const CQxException& cause) {
        throw CQxValidationException(
            FormatString(L"Failed to convert the element [%s] to XML", ElementName().c_str()), cause);
    }
}

void CXmlGeneratedClass::AttributesToXml_Int(CXmlWriter* writer, const CXmlSerializationContext& context) const {
    try {
        CXmlGeneratedClass* self = const_cast<CXmlGeneratedClass*>(this);
        const CParentElementInfo* info = self->GetClassInfo();
        // xsi:type only where an object of a derived class stands in an element named other
        // than its class; the type is named after the class's own element.
        if (context.GetWriteTypeAttribute() && info->GetHasBaseClasses()) {
            const std::wstring className = info->GetElementName();
            if (ElementName() != className)
                writer->AddXsiTypeAttribute(info->GetElementNamespace(), className, ItemType_string);
        }
        ProcessAttributesToXml(context, self->GetClassElementInfo(), self->GetClassAttributeInfo(), writer);
    } catch (const CQxException& cause) {
        throw CQxException(L"Failed to convert attributes to XML", cause);
    }
}

void CXmlGeneratedClass::ProcessAttributesToXml(const CXmlSerializationContext& context, CElementInfo** elements,
                                                CAttributeInfo** attributes, CXmlWriter* writer) const {
    if (attributes)
        for (CAttributeInfo** entry = attributes; *entry; ++entry) (*entry)->AttributeToXml(context, this, writer);
    // Pseudo-element children lend their attributes to this element.
    if (elements)
        for (CElementInfo** entry = elements; *entry; ++entry)
            (*entry)->PseudoChildAttributeToXml(context, this, writer);
}

void CXmlGeneratedClass::ProcessElementSeqToXml(const CXmlSerializationContext& context, CElementInfo** elements,
                                                CXmlWriter* writer) const {
    if (!elements) return;
    for (CElementInfo** entry = elements; *entry; ++entry) (*entry)->ElementToXml(context, this, writer);
}

// An xs:all group is written in table order, like a sequence.
void CXmlGeneratedClass::ProcessElementAllToXml(const CXmlSerializationContext& context, CElementInfo** elements,
                                                CXmlWriter* writer) const {
    ProcessElementSeqToXml(context, elements, writer);
}

void CXmlGeneratedClass::ProcessElementChoiceToXml(const CXmlSerializationContext& context, CElementInfo** elements,
                                                   CXmlWriter* writer, bool optionalChoiceItem) const {
    if (elements)
        for (CElementInfo** entry = elements; *entry; ++entry)
            if ((*entry)->ElementToXml(context, this, writer)) return;  // the others are not asked

    if (DoesElementContainOptionalElements() || optionalChoiceItem || context.GetIgnoreMissingChoice()) return;
    throw CQxValidationException(
        L"This element is a choice, and as such must have at one (and only one) valid item, currently there are "
        L"none set");
}

// ------------------------------------------------------------------ reading

CXmlElement* CXmlGeneratedClass::FromXml_Int(CXmlElement* element, CXmlElement* firstChild,
                                             const CXmlSerializationContext& context, bool optionalChoiceItem) {
    try {
        Init();
        const CParentElementInfo* info = GetClassInfo();
        const XmlElementType elementType = info->GetElementType();
        if (elementType == QxXmlLib10Data::XmlElementType_Element) SetElementName(element->GetLocalName().c_str());

        ProcessAttributesFromXml(context, element, info->GetFromXmlFailIfAttributeUnknown());

        INillable* nillable = AsNillable(this);
        if (nillable && nillable->IsNil()) return firstChild;  // a nil element has no content

        CXmlElement* cursor = firstChild;
        switch (info->GetElementGroupType()) {
            case QxXmlLib10Data::XmlElementGroupType_Sequence:
                cursor = ProcessElementSeqFromXml(context, element, cursor, elementType);
                break;
            case QxXmlLib10Data::XmlElementGroupType_Choice:
                cursor = ProcessElementChoiceFromXml(context, element, cursor, elementType, optionalChoiceItem);
                break;
            case QxXmlLib10Data::XmlElementGroupType_All:
                cursor = ProcessElementAllFromXml(context, element, cursor, elementType);
                break;
            default:
                throw CQxException(L"Unknow Group Type");
        }

        const int textIndex = info->GetPrimitiveValuePropertyIndex();
        const ItemType textType = info->GetPrimitiveDataType();
        if (textIndex != -1 && textType != ItemType_invalid) {
            QxVariant value;
            if (info->GetOutputPrimitiveClassAsTextProperty())
                value.SetString(ScratchText(element->GetTextView()));  // verbatim, spaces included
            else
                value.FromString(ScratchText(element->GetTextView()), textType, CWhitespaceUtils::WhitespaceRule_None);
            AccessProperty(textIndex, false, value);
        }
        return cursor;
    } catch (const CQxException& cause) {
        throw CQxValidationException(
            FormatString(L"Failed to process the element [%s]", element->GetLocalName().c_str()), cause);
    }
}

void CXmlGeneratedClass::ProcessAttributesFromXml(const CXmlSerializationContext& context, CXmlElement* element,
                                                  bool failIfUnknown) {
    CAttributeInfo** table = GetClassAttributeInfo();
    int tableSize = 0;
    if (table)
        while (table[tableSize]) ++tableSize;
    FoundFlags found(tableSize);

    for (CXmlAttribute* attribute : element->GetAttributes()) {
        if (attribute->IsNamespaceAttribute()) continue;  // xmlns, xsi:type, schema locations
        if (attribute->IsNilAttribute()) {
            INillable* nillable = AsNillable(this);
            if (!nillable)
                throw CQxValidationException(FormatString(
                    L"Invalid use of 'nil' attibute in non-nillable element [%s]", element->GetLocalName().c_str()));
            const std::wstring& text = attribute->GetValue();
            if (EqualsIgnoringCase(text, L"true") || text == L"1")
                nillable->SetNil(true);
            else if (EqualsIgnoringCase(text, L"false") || text == L"0")
                nillable->SetNil(false);
            else
                throw CQxValidationException(
                    FormatString(L"Unexpected Value [%s] for 'nil' Attribute found.", text.c_str()));
            continue;
        }

        bool taken = false;
        for (int i = 0; i < tableSize && !taken; ++i) {
            if (table[i]->AttributeFromXml(context, this, attribute)) {
                found.Set(i, true);
                taken = true;
            }
        }
        if (!taken && failIfUnknown && !context.GetIgnoreUnknownAttributes())
            throw CQxValidationException(
                FormatString(L"Unexpected Attribute [%s] found.", attribute->GetLocalName().c_str()));
    }

    for (int i = 0; i < tableSize; ++i) table[i]->Validate(context, found.Get(i));
}

CXmlElement* CXmlGeneratedClass::ProcessElementSeqFromXml(const CXmlSerializationContext& context,
                                                          CXmlElement* parent, CXmlElement* cursor,
                                                          XmlElementType elementType) {
    CElementInfo** elements = GetClassElementInfo();
    const std::wstring parentNamespace = NamespaceForMembers(*this, elements);
    const bool ignoreUnknown = context.GetIgnoreUnknownElements();
    CXmlElement* const start = cursor;
    CXmlElement* lastCursor = cursor;
    int resume = 0;

    for (;;) {
        for (int i = resume; elements && elements[i]; ++i) {
            CElementInfo* member = elements[i];
            while (!member->ElementFromXml(context, this, parent, &cursor, parentNamespace.c_str(), elementType)) {
                // The member does not match here: without leniency the whole sequence has not
                // matched, and nothing is consumed as far as the caller can tell.
                if (!ignoreUnknown || !cursor) return start;
                cursor = cursor->GetNextSiblingElement();
            }
            if (cursor != lastCursor) {
                lastCursor = cursor;
                // After a skipped element the walk resumes at the last member that took
                // something, so that a repeated member can take more items after it. A
                // single-valued member has taken its element already: asking it again would
                // make a mandatory one search to the end and fail, so the walk resumes after it.
                resume = IsRepeatedSequenceMember(member) ? i : i + 1;
            }
        }

        // What is left of a pseudo element's siblings belongs to its holder.
        if (elementType != QxXmlLib10Data::XmlElementType_Element || !cursor) return cursor;
        if (!ignoreUnknown) ThrowElementsRemain(parent, cursor);

        // Skip the unknown element and go on from the last member that took something, so a
        // repeated member can take more items after it.
        cursor = cursor->GetNextSiblingElement();
        if (!cursor) return nullptr;
    }
}

CXmlElement* CXmlGeneratedClass::ProcessElementAllFromXml(const CXmlSerializationContext& context,
                                                          CXmlElement* parent, CXmlElement* cursor,
                                                          XmlElementType elementType) {
    CElementInfo** elements = GetClassElementInfo();
    const int count = GetClassElementInfoCount();
    const std::wstring parentNamespace = NamespaceForMembers(*this, elements);
    CXmlElement* const start = cursor;
    FoundFlags found(count);

    // The members may come in any order: pass over the members not yet found until a pass
    // consumes nothing.
    CXmlElement* previous = nullptr;
    while (cursor && cursor != previous) {
        previous = cursor;
        for (int i = 0; i < count; ++i)
            if (!found.Get(i))
                found.Set(i, elements[i]->ElementFromXml(context, this, parent, &cursor, parentNamespace.c_str(),
                                                         elementType));
    }

    const bool mandatoryCheck = elementType == QxXmlLib10Data::XmlElementType_Element;
    for (int i = 0; i < count; ++i)
        if (!elements[i]->Validate(context, this, found.Get(i), mandatoryCheck)) return start;

    // Unknown elements are not skipped inside an xs:all group; with leniency they are left.
    if (elementType != QxXmlLib10Data::XmlElementType_Element || !cursor || context.GetIgnoreUnknownElements())
        return cursor;
    ThrowElementsRemain(parent, cursor);
}

CXmlElement* CXmlGeneratedClass::ProcessElementChoiceFromXml(const CXmlSerializationContext& context,
                                                             CXmlElement* parent, CXmlElement* cursor,
                                                             XmlElementType elementType, bool optionalChoiceItem) {
    CElementInfo** elements = GetClassElementInfo();
    const std::wstring parentNamespace = NamespaceForMembers(*this, elements);
    const bool ignoreUnknown = context.GetIgnoreUnknownElements();
    const bool ownElement = elementType == QxXmlLib10Data::XmlElementType_Element;
    CXmlElement* const start = cursor;

    bool matched = false;
    for (;;) {
        for (int i = 0; elements && elements[i] && !matched; ++i)
            matched = elements[i]->ElementFromXml(context, this, parent, &cursor, parentNamespace.c_str(), elementType);
        // Only an element of its own skips unknown elements to look further, and only leniently.
        if (matched || !cursor || !ignoreUnknown || !ownElement) break;
        cursor = cursor->GetNextSiblingElement();
        if (!cursor) break;
    }

    if (optionalChoiceItem) matched = true;
    if (!matched) {
        if (elementType == QxXmlLib10Data::XmlElementType_PseudoElement && ignoreUnknown) cursor = start;
        if (ownElement && !DoesElementContainOptionalElements() && !context.GetIgnoreMissingChoice())
            throw CQxValidationException(
                FormatString(L"No child elements within the element [%s] were populated. The element represents a "
                             L"choice, so one and only one element should be populated. The element contained no "
                             L"sutable child elements",
                             parent->GetLocalName().c_str()));
    }
    if (ownElement && cursor && !ignoreUnknown) ThrowElementsRemain(parent, cursor);
    return cursor;
}

}  // namespace QxXmlLib10

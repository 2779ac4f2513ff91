// GeneratedSupport.h - what the classes emitted by `qxxml generate` share: the holder of a
// class's three metadata tables, the moves of property values in and out of a QxVariant,
// enumeration texts, and the collections of repeated class and enumeration members.
//
// Generated code uses these; a program using a binding rarely needs them directly:
//
//   // in a generated class
//   void CItemType::AccessProperty(int index, bool read, QxVariant& value) {
//       switch (index) {
//           case 0: AccessValue<ItemType_string>(read, value, m_productName); return;
//           case 1: AccessValue<ItemType_date>(read, value, m_shipDate, &m_hasShipDate); return;
//           case 2: AccessEnum(read, value, m_status); return;
//           case 3: AccessObject(read, value, m_address); return;
//       }
//   }
//
//   CGeneratedObjectCol<CItemType> items(L"item", L"urn:po", 0, -1, false, nullptr);
//   items.Add(new CItemType);                   // takes the collection's element name
//   for (CItemType* item : items) ...
//
// Everything here is header-only and built on the public interface of the library.
#pragma once

#include <qxxml/collections/XmlCollection.h>
#include <qxxml/collections/XmlValueCollection.h>
#include <qxxml/core/PrimitiveValueCheck.h>
#include <qxxml/core/XmlGeneratedClass.h>
#include <qxxml/metadata/AttributeInfo.h>
#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/metadata/ParentElementInfo.h>
#include <qxxml/support/QXCriticalSection.h>
#include <qxxml/support/QxException.h>
#include <qxxml/support/SmartPtr.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/values/QxVariant.h>
#include <qxxml/values/WhitespaceUtils.h>
#include <qxxml/xmlin/XmlElement.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <initializer_list>
#include <string>
#include <vector>

namespace QxXmlLib10 {

// ------------------------------------------------------------------ metadata tables

// The class description and the two descriptor tables of one generated class: built on first
// use under CXmlGeneratedClass::m_csInit, shared by all objects of the class, and given back
// when the holder (a static of the class) is destroyed at exit.
class CGeneratedTables {
public:
    using Builder = void (*)(CGeneratedTables& tables);

    QxXmlLib10Data::CParentElementInfo* info = nullptr;
    QxXmlLib10Data::CElementInfo** elements = nullptr;
    QxXmlLib10Data::CAttributeInfo** attributes = nullptr;

    CGeneratedTables() = default;
    CGeneratedTables(const CGeneratedTables&) = delete;
    CGeneratedTables& operator=(const CGeneratedTables&) = delete;
    ~CGeneratedTables() { Clean(); }

    // Runs `build` once; later calls cost one atomic load.
    CGeneratedTables& Ensure(Builder build) {
        if (!m_built.load(std::memory_order_acquire)) {
            CQXCriticalSection::Lock hold(CXmlGeneratedClass::m_csInit);
            if (!m_built.load(std::memory_order_relaxed)) {
                build(*this);
                m_built.store(true, std::memory_order_release);
            }
        }
        return *this;
    }

    // Destroys the tables; the next Ensure builds them again.
    void Clean() {
        CQXCriticalSection::Lock hold(CXmlGeneratedClass::m_csInit);
        CCleaner::CleanMetaData(info, elements, attributes);
        m_built.store(false, std::memory_order_release);
    }

    // A null-terminated table as CleanMetaData expects it (array new, one entry larger).
    template <class Info>
    static Info** Table(std::initializer_list<Info*> entries) {
        return Table(entries.begin(), entries.size());
    }
    // The same from `count` entries in a row (a table built at run time).
    template <class Info>
    static Info** Table(Info* const* entries, size_t count) {
        Info** table = new Info*[count + 1];
        for (size_t i = 0; i < count; ++i) table[i] = entries[i];
        table[count] = nullptr;
        return table;
    }

private:
    // CleanMetaData is for generated code; this names it from outside a class.
    struct CCleaner : CXmlGeneratedClass {
        using CXmlGeneratedClass::CleanMetaData;
    };
    std::atomic<bool> m_built{false};
};

// ------------------------------------------------------------------ property values

// The C++ type a property of a primitive kind is kept in, and its moves into and out of a
// variant.
template <ItemType Kind> struct CVariantAccess;

#define QXXML_VARIANT_ACCESS(Kind, T, Setter, Getter)                        \
    template <> struct CVariantAccess<Kind> {                               \
        using Type = T;                                                     \
        static void Put(QxVariant& value, const T& field) { value.Setter(field); } \
        static T Take(const QxVariant& value) { return value.Getter(); }    \
    }
QXXML_VARIANT_ACCESS(ItemType_hexBinary, CBinaryData, SetHexBinary, GetHexBinary);
QXXML_VARIANT_ACCESS(ItemType_base64Binary, CBinaryData, SetBase64Binary, GetBase64Binary);
QXXML_VARIANT_ACCESS(ItemType_i1, char, SetI1, GetI1);
QXXML_VARIANT_ACCESS(ItemType_i2, int16_t, SetI2, GetI2);
QXXML_VARIANT_ACCESS(ItemType_i4, int32_t, SetI4, GetI4);
QXXML_VARIANT_ACCESS(ItemType_i8, int64_t, SetI8, GetI8);
QXXML_VARIANT_ACCESS(ItemType_ui1, unsigned char, SetUI1, GetUI1);
QXXML_VARIANT_ACCESS(ItemType_ui2, uint16_t, SetUI2, GetUI2);
QXXML_VARIANT_ACCESS(ItemType_ui4, uint32_t, SetUI4, GetUI4);
QXXML_VARIANT_ACCESS(ItemType_ui8, uint64_t, SetUI8, GetUI8);
QXXML_VARIANT_ACCESS(ItemType_r4, float, SetR4, GetR4);
QXXML_VARIANT_ACCESS(ItemType_r8, double, SetR8, GetR8);
QXXML_VARIANT_ACCESS(ItemType_duration, CDateTimeSpan, SetDuration, GetDuration);
QXXML_VARIANT_ACCESS(ItemType_yearMonth, CDateTime, SetYearMonth, GetYearMonth);
QXXML_VARIANT_ACCESS(ItemType_monthDay, CDateTime, SetMonthDay, GetMonthDay);
QXXML_VARIANT_ACCESS(ItemType_year, uint16_t, SetYear, GetYear);
QXXML_VARIANT_ACCESS(ItemType_month, unsigned char, SetMonth, GetMonth);
QXXML_VARIANT_ACCESS(ItemType_day, unsigned char, SetDay, GetDay);
QXXML_VARIANT_ACCESS(ItemType_date, CDateTime, SetDate, GetDate);
QXXML_VARIANT_ACCESS(ItemType_datetime, CDateTime, SetDateTime, GetDateTime);
QXXML_VARIANT_ACCESS(ItemType_time, CDateTime, SetTime, GetTime);
QXXML_VARIANT_ACCESS(ItemType_string, std::wstring, SetString, GetString);
QXXML_VARIANT_ACCESS(ItemType_boolean, bool, SetBoolean, GetBoolean);
QXXML_VARIANT_ACCESS(ItemType_decimal, CDecimal, SetDecimal, GetDecimal);
QXXML_VARIANT_ACCESS(ItemType_integer, CBigInteger, SetInteger, GetInteger);
#undef QXXML_VARIANT_ACCESS

// Moves a primitive property in (`read` true: property -> variant) or out. `present` (null for
// a property that is always there) says whether an optional value is set: an absent one is an
// invalid variant. `nil` (null unless the element is nillable) marks a nil value, which keeps
// the kind but no value.
template <ItemType Kind>
void AccessValue(bool read, QxVariant& value, typename CVariantAccess<Kind>::Type& field, bool* present = nullptr,
                 bool* nil = nullptr) {
    using Access = CVariantAccess<Kind>;
    using T = typename Access::Type;
    if (read) {
        if (present && !*present) {
            value.SetInvalid();
            return;
        }
        if constexpr (Kind == ItemType_string)
            value.SetStringReference(field);  // a copy unless the variant allows references
        else
            Access::Put(value, field);
        if (nil && *nil) value.SetNil();
        return;
    }
    const bool valid = value.IsValid();
    const bool isNil = valid && value.IsNil();
    if constexpr (Kind == ItemType_string) {
        // The descriptor discards the variant after the call: its text is moved, not copied.
        if (valid && !isNil && value.m_type == ItemType_string && value.m_pString)
            value.TakeStringInto(field);
        else
            field = valid && !isNil ? Access::Take(value) : T();
    } else {
        field = valid && !isNil ? Access::Take(value) : T();
    }
    if (present) *present = valid;
    if (nil) *nil = isNil;
}

// The same for an enumeration property, which the descriptors carry as an i4.
template <class Enum>
void AccessEnum(bool read, QxVariant& value, Enum& field, bool* present = nullptr, bool* nil = nullptr) {
    int32_t number = static_cast<int32_t>(field);
    AccessValue<ItemType_i4>(read, value, number, present, nil);
    if (!read) field = static_cast<Enum>(number);
}

// A child object property: the variant holds the object (null for none). An object of another
// class than the property's is refused.
template <class T>
void AccessObject(bool read, QxVariant& value, CSmartPtr<T>& field) {
    if (read) {
        value.SetXmlObject(field.Get());
        return;
    }
    const CSmartPtr<CXmlObjectBase> object = value.IsValid() ? value.GetXmlObject() : nullptr;
    T* typed = dynamic_cast<T*>(object.Get());
    if (object && !typed) throw CQxInvalidParamException(L"The object given for the property is not of its class");
    field = typed;
}

// A repeated member: the class owns its collection; the descriptors fill and walk it.
template <class T>
void AccessCollection(bool read, QxVariant& value, const CSmartPtr<T>& field) {
    if (read) value.SetXmlCollection(field.Get());
}

// The value of a lexical form of the kind (a schema default, for example); throws the
// conversion failure for a text that is not one.
template <ItemType Kind>
typename CVariantAccess<Kind>::Type ParseValue(const wchar_t* text) {
    QxVariant value;
    value.FromString(text, Kind, CWhitespaceUtils::WhitespaceRule_Collapse);
    return CVariantAccess<Kind>::Take(value);
}

// A value that travels as text: an element with a default value (an empty element reads as
// the default) and the text of a class with simple content (its white space handled by its
// type's rule, which the engine leaves to the class). When it is read for writing, the value
// is checked against `facets`; `present` and `nil` as for AccessValue.
template <ItemType Kind>
void AccessAsText(bool read, QxVariant& value, typename CVariantAccess<Kind>::Type& field, const wchar_t* name,
                  const CPrimitiveRestrictions& facets, CWhitespaceUtils::WhitespaceRule rule,
                  const wchar_t* defaultText, bool* present = nullptr, bool* nil = nullptr) {
    using Access = CVariantAccess<Kind>;
    if (read) {
        if (present && !*present) {
            value.SetInvalid();
            return;
        }
        QxVariant typed;
        Access::Put(typed, field);
        if (nil && *nil) {
            value.SetString(std::wstring());
            value.SetNil();
            return;
        }
        CheckPrimitiveValue(name, typed, Kind, facets);
        value.SetString(typed.ToString(nullptr));
        return;
    }
    const bool valid = value.IsValid();
    const bool isNil = valid && value.IsNil();
    if (present) *present = valid;
    if (nil) *nil = isNil;
    if (!valid || isNil) {
        field = typename Access::Type();
        return;
    }
    std::wstring text = CWhitespaceUtils::ApplyRule(rule, value.GetString());
    if (text.empty() && defaultText) text = defaultText;
    QxVariant typed;
    typed.FromString(text, Kind, CWhitespaceUtils::WhitespaceRule_None);
    field = Access::Take(typed);
}

// Checks that a value is one of an enumeration's lexical values (compared as values of the
// kind, so "1.0" and "1" are the same decimal); throws CQxException
// "Invalid Value for <name> [<value>]" otherwise.
template <ItemType Kind>
void CheckEnumeration(const wchar_t* name, const typename CVariantAccess<Kind>::Type& field,
                      std::initializer_list<const wchar_t*> values) {
    QxVariant value;
    CVariantAccess<Kind>::Put(value, field);
    const std::wstring text = value.ToString(nullptr);
    for (const wchar_t* allowed : values) {
        QxVariant candidate;
        candidate.FromString(allowed, Kind, CWhitespaceUtils::WhitespaceRule_Collapse);
        if (candidate.ToString(nullptr) == text) return;
    }
    throw CQxException(FormatString(L"Invalid Value for %s [%s]", name, text.c_str()));
}

// An xs:list property: the items are kept in a vector and travel as one string of
// space-separated lexical forms. When the value is read for writing, every item is checked
// against `itemFacets`, the item count against the lengths of `listFacets` (length,
// minLength, maxLength of the list type) and the whole text against its pattern.
template <ItemType Kind>
void AccessList(bool read, QxVariant& value, std::vector<typename CVariantAccess<Kind>::Type>& items,
                const wchar_t* name, const CPrimitiveRestrictions& itemFacets,
                const CPrimitiveRestrictions& listFacets, bool* present = nullptr) {
    using Access = CVariantAccess<Kind>;
    if (read) {
        if (present && !*present) {
            value.SetInvalid();
            return;
        }
        const int count = static_cast<int>(items.size());
        if ((listFacets.m_nMinLength >= 0 && count < listFacets.m_nMinLength) ||
            (listFacets.m_nMaxLength >= 0 && count > listFacets.m_nMaxLength) ||
            (listFacets.m_nLength >= 0 && count != listFacets.m_nLength))
            throw CQxException(FormatString(L"Invalid Value for %s [%d]", name, count));
        std::wstring text;
        QxVariant item;
        for (const auto& entry : items) {
            Access::Put(item, entry);
            CheckPrimitiveValue(name, item, Kind, itemFacets);
            if (!text.empty()) text += L' ';
            text += item.ToString(nullptr);
        }
        value.SetString(text);
        if (!listFacets.m_strPattern.empty()) {
            const CPrimitiveRestrictions whole(listFacets.m_strPattern.c_str(), -1, -1, nullptr, nullptr, nullptr,
                                               nullptr, -1);
            CheckPrimitiveValue(name, value, ItemType_string, whole);
        }
        return;
    }
    items.clear();
    if (present) *present = value.IsValid();
    if (!value.IsValid() || value.IsNil()) return;
    const std::wstring text = CWhitespaceUtils::Collapse(value.GetString());
    QxVariant item;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L' ', start);
        if (end == std::wstring::npos) end = text.size();
        item.FromString(text.substr(start, end - start), Kind, CWhitespaceUtils::WhitespaceRule_None);
        items.push_back(Access::Take(item));
        start = end + 1;
    }
}

// A property index the class does not have (a fault of the calling code).
[[noreturn]] inline void ThrowUnknownProperty(const wchar_t* className, int propertyIndex) {
    throw CQxInvalidParamException(FormatString(L"Unknown property index %d of class %s", propertyIndex, className));
}

// ------------------------------------------------------------------ enumerations

// The schema text of an enumeration value; null for a number outside the enumeration (the
// descriptors report that when writing).
template <size_t N>
const wchar_t* EnumToText(const wchar_t* const (&texts)[N], int value) {
    return value >= 0 && static_cast<size_t>(value) < N ? texts[value] : nullptr;
}

// The value of a schema text; `collapse` applies the white-space collapsing of token-based
// enumerations first. Any other text throws CQxInvalidValueException
// "Invalid Value for <type> [<text>]".
template <size_t N>
int EnumFromText(const wchar_t* const (&texts)[N], const wchar_t* text, bool collapse, const wchar_t* typeName) {
    const std::wstring given = collapse ? CWhitespaceUtils::Collapse(text ? text : L"") : (text ? text : L"");
    for (size_t i = 0; i < N; ++i)
        if (given == texts[i]) return static_cast<int>(i);
    throw CQxInvalidValueException(FormatString(L"Invalid Value for %s [%s]", typeName, given.c_str()));
}

// The collection of a repeated enumeration member: values kept as integers, written with
// their schema texts.
class CGeneratedEnumCol : public CXmlValueCollection<int32_t> {
public:
    using ToText = const wchar_t* (*)(int value);
    using FromText = int (*)(const wchar_t* text);

    CGeneratedEnumCol(const wchar_t* elementName, const wchar_t* elementNamespace, int minOccurs, int maxOccurs,
                      ToText toText, FromText fromText)
        : CXmlValueCollection<int32_t>(ItemType_i4, elementName, elementNamespace, minOccurs, maxOccurs, nullptr, -1,
                                       -1, nullptr, nullptr, nullptr, nullptr, -1,
                                       CWhitespaceUtils::WhitespaceRule_None, nullptr),
          m_toText(toText),
          m_fromText(fromText) {}

    void Add(int32_t value) { AddAt(Count(), value); }
    // 0 <= index <= GetCount(); anything else throws "Index out of range".
    void AddAt(int index, int32_t value) {
        FireOnCollectionAdd(&value);
        if (index < 0 || index > Count()) throw CQxInvalidParamException(L"Index out of range");
        InsertChecked(index, value);
    }

protected:
    void ToXml_Int(CXmlWriter* writer, bool, const wchar_t*, const CXmlSerializationContext& context,
                   bool) const override {
        WriteItems(writer, context, ItemType_string);
    }
    void AddFromString(const std::wstring& text) override { Add(m_fromText(text.c_str())); }
    std::wstring ItemToString(const int32_t& value) const override {
        const wchar_t* text = m_toText(value);
        if (!text)
            throw CQxInvalidValueException(FormatString(L"Invalid Value for %s [%d]", ElementName().c_str(), value));
        return text;
    }

private:
    ToText m_toText;
    FromText m_fromText;
};

// ------------------------------------------------------------------ class collections

// The collection of a repeated member of class T. Items with an element of their own are
// read from the run of elements with the collection's name; a factory, when given, chooses
// each item's class from its element (xsi:type) and ends the run when it gives null. Items
// that are model groups (pseudo elements) each read their run among the parent's children;
// one that takes nothing ends the list.
template <class T>
class CGeneratedObjectCol : public CXmlCollection {
public:
    using Factory = CSmartPtr<CXmlObjectBase> (*)(CXmlElement* element);

    CGeneratedObjectCol(const wchar_t* elementName, const wchar_t* elementNamespace, int minOccurs, int maxOccurs,
                        bool pseudoItems, Factory factory)
        : CXmlCollection(elementName, elementNamespace, minOccurs, maxOccurs),
          m_bPseudoItems(pseudoItems),
          m_pfnFactory(factory) {}

    // Appends the item, which takes the collection's element name, and returns it.
    T* Add(T* item) {
        RequireItem(item);
        SetElementName(item, ElementName().c_str());
        AppendItem(item);
        return item;
    }
    // 0 <= index <= GetCount(); anything else throws "Index out of range".
    void AddAt(int index, T* item) {
        RequireItem(item);
        SetElementName(item, ElementName().c_str());
        AddItemAt(index, item);
    }
    // Throws CQxInvalidParamException "Index %d is out of range, use 0 - %d".
    CSmartPtr<T> Item(int index) const { return static_cast<T*>(GetNodeAtIndex(index)->m_pItem.Get()); }

    CNodeIterator<T> begin() const { return CNodeIterator<T>(m_pHead); }
    CNodeIterator<T> end() const { return CNodeIterator<T>(nullptr); }

protected:
    void ToXml_Int(CXmlWriter* writer, bool, const wchar_t*, const CXmlSerializationContext& context,
                   bool) const override {
        for (const CNode* node = m_pHead; node; node = node->m_pNext)
            CXmlObjectBase::ToXml_Int(node->m_pItem.Get(), writer, false, m_strNamespace.c_str(), context, false);
    }

    CXmlElement* FromXml_Int(CXmlElement* parent, CXmlElement* cursor, const CXmlSerializationContext& context,
                             bool) override {
        const wchar_t* const name = ElementName().c_str();
        if (m_bPseudoItems) {
            while (cursor) {
                CSmartPtr<T> item(new T(name));
                CXmlElement* next = CXmlObjectBase::FromXml_Int(item.Get(), parent, cursor, context);
                if (next == cursor) break;
                AppendItem(item.Get());
                cursor = next;
            }
            return cursor;
        }
        while (cursor && DoesElementNameMatch(context, cursor, name, m_strNamespace.c_str())) {
            CSmartPtr<CXmlObjectBase> item = m_pfnFactory ? m_pfnFactory(cursor) : CSmartPtr<CXmlObjectBase>(new T(name));
            if (!item) break;
            SetElementName(item.Get(), name);
            CXmlObjectBase::FromXml_Int(item.Get(), cursor, cursor->GetFirstElement(), context);
            AppendItem(item.Get());
            cursor = cursor->GetNextSiblingElement();
        }
        return cursor;
    }

private:
    static void RequireItem(const T* item) {
        if (!item) throw CQxInvalidParamException(L"A NULL item can not be added to the collection");
    }

    bool m_bPseudoItems;
    Factory m_pfnFactory;
};

}  // namespace QxXmlLib10

// TestBinding.cpp - the generated part of the test binding: metadata tables, property access,
// Init, factories and collections. See TestBinding.h and TestBinding.xsd.
#include "core/TestBinding.h"

#include <qxxml/core/XmlSerializationContext.h>
#include <qxxml/metadata/ElementInfoAll.h>
#include <qxxml/metadata/ElementInfoChoice.h>
#include <qxxml/metadata/ElementInfoSeq.h>
#include <qxxml/support/QXCriticalSection.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/xmlin/XmlElement.h>

#include <qxxml/xmlout/TextStream.h>
#include <qxxml/xmlout/XmlTextWriter.h>

#include "common/TestSupport.h"

#include <cstdio>
#include <cwchar>
#include <initializer_list>
#include <sstream>
#include <typeinfo>

namespace test_binding {

using namespace QxXmlLib10Data;

const wchar_t* const kNamespace = L"urn:qxxml:test:binding";
const wchar_t* const kNamespaceA = L"urn:qxxml:test:a";

namespace {

using WS = CWhitespaceUtils;

std::atomic<int> g_buildCount{0};
std::atomic<int> g_factoryCalls{0};

// Null-terminated tables, one entry larger than their descriptors, as CleanMetaData expects.
template <class Info>
Info** Table(std::initializer_list<Info*> entries) {
    Info** table = new Info*[entries.size() + 1];
    size_t i = 0;
    for (Info* entry : entries) table[i++] = entry;
    table[i] = nullptr;
    return table;
}
CElementInfo** ElementTable(std::initializer_list<CElementInfo*> entries) { return Table(entries); }
CAttributeInfo** AttributeTable(std::initializer_list<CAttributeInfo*> entries) { return Table(entries); }

// A model group (pseudo element) reads the attributes of its holder's element, which are not
// its own: its description never rejects unknown attributes.
CParentElementInfo* ClassInfo(XmlElementGroupType group, XmlElementType type, const wchar_t* name,
                              bool failIfAttributeUnknown = true, bool hasBaseClasses = false,
                              int textProperty = -1, ItemType textType = ItemType_invalid,
                              bool textAsTextProperty = false) {
    return new CParentElementInfo(group, type, name, kNamespace, failIfAttributeUnknown, hasBaseClasses,
                                  textProperty, textType, nullptr, textAsTextProperty);
}

const CPrimitiveRestrictions kNoFacets;
const CPrimitiveRestrictions kShortString(nullptr, -1, 20, nullptr, nullptr, nullptr, nullptr, -1);
const CPrimitiveRestrictions kNotNegative(nullptr, -1, -1, L"0", nullptr, nullptr, nullptr, -1);

// A primitive member of a sequence: strings keep their whitespace, other types collapse it.
CElementInfo* SeqPrim(const wchar_t* name, int index, bool mandatory, ItemType type,
                      const CPrimitiveRestrictions& facets = kNoFacets) {
    const auto rule = type == ItemType_string ? WS::WhitespaceRule_Preserve : WS::WhitespaceRule_Collapse;
    if (mandatory) return new CElementInfoSeqPrimMnd(name, kNamespace, index, false, type, nullptr, rule, facets);
    return new CElementInfoSeqPrimOpt(name, kNamespace, index, false, type, nullptr, rule, facets);
}
CElementInfo* SeqString(const wchar_t* name, int index, bool mandatory) {
    return SeqPrim(name, index, mandatory, ItemType_string);
}
CElementInfo* SeqInt(const wchar_t* name, int index, bool mandatory) {
    return SeqPrim(name, index, mandatory, ItemType_i4);
}
// Item's qty (property 1): an optional xs:int that may not be negative.
CElementInfo* SeqQty() { return SeqPrim(L"qty", 1, false, ItemType_i4, kNotNegative); }

CAttributeInfo* StringAttribute(const wchar_t* name, int index) {
    return new CAttributeInfoPrimitive(name, L"", index, true, ItemType_string, nullptr, WS::WhitespaceRule_Preserve,
                                       kNoFacets, nullptr);
}

CSmartPtr<CXmlObjectBase> CreateShape(CXmlElement* element) { return CTbShapeFactory::CreateFromElement(element); }

// --- property access helpers, the shapes generated AccessProperty bodies take

void AccessString(bool read, QxVariant& value, std::wstring& field) {
    if (read)
        value.SetString(field);
    else
        field = value.GetString();
}

void Put(QxVariant& value, const std::wstring& field) { value.SetString(field); }
void Put(QxVariant& value, int32_t field) { value.SetI4(field); }
void Put(QxVariant& value, const CDecimal& field) { value.SetDecimal(field); }
void Take(const QxVariant& value, std::wstring& field) { field = value.GetString(); }
void Take(const QxVariant& value, int32_t& field) { field = value.GetI4(); }
void Take(const QxVariant& value, CDecimal& field) { field = value.GetDecimal(); }

// A member with a presence flag: an absent one reads as an invalid variant.
template <class T>
void AccessOptional(bool read, QxVariant& value, T& field, bool& present) {
    if (read) {
        if (present)
            Put(value, field);
        else
            value.SetInvalid();
        return;
    }
    present = value.IsValid();
    field = T();
    if (present) Take(value, field);
}

template <class T>
void AccessObject(bool read, QxVariant& value, CSmartPtr<T>& field) {
    if (read) {
        value.SetXmlObject(field.Get());
    } else {
        const CSmartPtr<CXmlObjectBase> object = value.IsValid() ? value.GetXmlObject() : nullptr;
        field = dynamic_cast<T*>(object.Get());
    }
}

template <class T>
void AccessCollection(bool read, QxVariant& value, const CSmartPtr<T>& field) {
    // The class owns its collections: the descriptors only ever read them.
    if (read) value.SetXmlCollection(field.Get());
}

template <class T>
bool SameObject(const CSmartPtr<T>& a, const CSmartPtr<T>& b) {
    if (!a || !b) return !a && !b;
    return a->Equals(*b);
}

bool SameOptional(bool hasA, bool hasB, bool sameValue) { return hasA == hasB && (!hasA || sameValue); }

template <class Col>
bool SameValues(const Col& a, const Col& b) {
    if (a.GetCount() != b.GetCount()) return false;
    for (int i = 0; i < a.GetCount(); ++i)
        if (!(a.Item(i) == b.Item(i))) return false;
    return true;
}

}  // namespace

// ---------------------------------------------------------------- module-level pieces

void CTbClassTables::Ensure(void (*build)(CTbClassTables& tables)) {
    if (built.load(std::memory_order_acquire)) return;
    CQXCriticalSection::Lock lock(CXmlGeneratedClass::m_csInit);
    if (built.load(std::memory_order_relaxed)) return;
    build(*this);
    g_buildCount.fetch_add(1);
    built.store(true, std::memory_order_release);
}

// CleanMetaData is protected: the generated module reaches it through a class of its own.
namespace {
struct CTbMetaDataCleaner : CXmlGeneratedClass {
    static void Clean(CTbClassTables& tables) { CleanMetaData(tables.info, tables.elements, tables.attributes); }
    static void Name(CXmlObjectBase* object, const wchar_t* name) { SetElementName(object, name); }
};
}  // namespace

void CTbClassTables::Clean() {
    CQXCriticalSection::Lock lock(CXmlGeneratedClass::m_csInit);
    CTbMetaDataCleaner::Clean(*this);
    built.store(false, std::memory_order_release);
}

const wchar_t* ColourToString(int value) {
    switch (value) {
        case Colour_red: return L"red";
        case Colour_green: return L"green";
        case Colour_blue: return L"blue";
        default: return nullptr;
    }
}

int ColourFromString(const wchar_t* text) {
    for (int value = Colour_red; value <= Colour_blue; ++value)
        if (std::wcscmp(text, ColourToString(value)) == 0) return value;
    throw CQxInvalidValueException(FormatString(L"Invalid value [%s] for the enumeration Colour", text));
}

const wchar_t* StatusToString(int value) {
    switch (value) {
        case Status_open: return L"open";
        case Status_closed: return L"closed";
        default: return nullptr;
    }
}

int StatusFromString(const wchar_t* text) {
    for (int value = Status_open; value <= Status_closed; ++value)
        if (std::wcscmp(text, StatusToString(value)) == 0) return value;
    throw CQxInvalidValueException(FormatString(L"Invalid value [%s] for the enumeration Status", text));
}

namespace {
// An object member takes the element name of its member.
template <class T>
void NameAndSet(CSmartPtr<T>& field, T* object, const wchar_t* elementName) {
    if (object) CTbMetaDataCleaner::Name(object, elementName);
    field = object;
}
}  // namespace

CSmartPtr<CXmlObjectBase> CreateTbObject(int classId, const wchar_t* elementName) {
    CSmartPtr<CXmlObjectBase> object;
    switch (classId) {
        case TbClass_Item: object = new CTbItem; break;
        case TbClass_SpecialItem: object = new CTbSpecialItem; break;
        case TbClass_NilItem: object = new CTbNilItem; break;
        case TbClass_Price: object = new CTbPrice; break;
        case TbClass_Remark: object = new CTbRemark; break;
        case TbClass_Options: object = new CTbOptions; break;
        case TbClass_StrictChoice: object = new CTbStrictChoice; break;
        case TbClass_Bag: object = new CTbBag; break;
        case TbClass_AbsBag: object = new CTbAbsBag; break;
        case TbClass_Holder: object = new CTbHolder; break;
        case TbClass_Address: object = new CTbAddress; break;
        case TbClass_Contact: object = new CTbContact; break;
        case TbClass_Extras: object = new CTbExtras; break;
        case TbClass_Flags: object = new CTbFlags; break;
        case TbClass_Pair: object = new CTbPair; break;
        case TbClass_Circle: object = new CTbCircle; break;
        case TbClass_Square: object = new CTbSquare; break;
        case TbClass_Root: object = new CTbRoot; break;
        case TbClass_OpenChoice: object = new CTbOpenChoice; break;
        case TbClass_OpenPick: object = new CTbOpenPick; break;
        case TbClass_OpenAll: object = new CTbOpenAll; break;
        default: return nullptr;
    }
    CTbMetaDataCleaner::Name(object.Get(), elementName);
    return object;
}

// The three table getters every class has.
#define TB_CLASS_TABLES(Class)                                                       \
    CTbClassTables Class::ms_tables;                                                 \
    CParentElementInfo* Class::GetClassInfo() {                                      \
        ms_tables.Ensure(&Class::BuildTables);                                       \
        return ms_tables.info;                                                       \
    }                                                                                \
    CElementInfo** Class::GetClassElementInfo() {                                    \
        ms_tables.Ensure(&Class::BuildTables);                                       \
        return ms_tables.elements;                                                   \
    }                                                                                \
    CAttributeInfo** Class::GetClassAttributeInfo() {                                \
        ms_tables.Ensure(&Class::BuildTables);                                       \
        return ms_tables.attributes;                                                 \
    }

// The tables and the default constructor of a class that needs nothing else to start.
#define TB_SIMPLE_CLASS(Class, elementName) \
    TB_CLASS_TABLES(Class)                  \
    Class::Class() { SetElementName(elementName); }

// ---------------------------------------------------------------- Item

TB_SIMPLE_CLASS(CTbItem, L"Item")

void CTbItem::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Sequence, XmlElementType_Element, L"Item");
    tables.elements = ElementTable({SeqString(L"label", 0, true), SeqQty()});
    tables.attributes = AttributeTable({StringAttribute(L"code", 2)});
}

CTbItem::CTbItem(const std::wstring& label) : CTbItem() { m_label = label; }

void CTbItem::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case 0: AccessString(read, value, m_label); break;
        case 1: AccessOptional(read, value, m_qty, m_hasQty); break;
        case 2: AccessOptional(read, value, m_code, m_hasCode); break;
        default: break;
    }
}

void CTbItem::Init() {
    m_label.clear();
    m_qty = 0, m_hasQty = false;
    m_code.clear(), m_hasCode = false;
}

bool CTbItem::Equals(const CTbItem& other) const {
    return typeid(*this) == typeid(other) && ElementName() == other.ElementName() && m_label == other.m_label &&
           SameOptional(m_hasQty, other.m_hasQty, m_qty == other.m_qty) &&
           SameOptional(m_hasCode, other.m_hasCode, m_code == other.m_code);
}

// ---------------------------------------------------------------- SpecialItem

TB_SIMPLE_CLASS(CTbSpecialItem, L"SpecialItem")

void CTbSpecialItem::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Sequence, XmlElementType_Element, L"SpecialItem", true, true);
    tables.elements = ElementTable({SeqString(L"label", 0, true), SeqQty(),
                                    new CElementInfoSeqPrimOpt(L"bonus", kNamespace, 3, false, ItemType_decimal,
                                                               nullptr, WS::WhitespaceRule_Collapse, kNoFacets)});
    tables.attributes = AttributeTable({StringAttribute(L"code", 2)});
}

void CTbSpecialItem::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    if (propertyIndex == 3)
        AccessOptional(read, value, m_bonus, m_hasBonus);
    else
        CTbItem::AccessProperty(propertyIndex, read, value);
}

void CTbSpecialItem::Init() {
    CTbItem::Init();
    m_bonus = CDecimal(), m_hasBonus = false;
}

bool CTbSpecialItem::Equals(const CTbItem& other) const {
    if (!CTbItem::Equals(other)) return false;
    const auto& special = static_cast<const CTbSpecialItem&>(other);
    return SameOptional(m_hasBonus, special.m_hasBonus, m_bonus == special.m_bonus);
}

// ---------------------------------------------------------------- ItemCol

CXmlElement* CTbItemCol::FromXml_Int(CXmlElement*, CXmlElement* cursor, const CXmlSerializationContext& context,
                                     bool) {
    while (cursor && DoesElementNameMatch(context, cursor, ElementName().c_str(), m_strNamespace.c_str())) {
        CSmartPtr<CTbItem> item(new CTbItem);
        CXmlObjectBase::FromXml_Int(item.Get(), cursor, cursor->GetFirstElement(), context);
        AppendItem(item.Get());
        cursor = cursor->GetNextSiblingElement();
    }
    return cursor;
}

// ---------------------------------------------------------------- Shape, Circle, Square

bool CTbShape::AccessShapeProperty(int propertyIndex, bool read, QxVariant& value) {
    if (propertyIndex != 0) return false;
    AccessOptional(read, value, m_label, m_hasLabel);
    return true;
}

bool CTbShape::Equals(const CTbShape& other) const {
    return typeid(*this) == typeid(other) && ElementName() == other.ElementName() &&
           SameOptional(m_hasLabel, other.m_hasLabel, m_label == other.m_label);
}

TB_SIMPLE_CLASS(CTbCircle, L"Circle")

void CTbCircle::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Sequence, XmlElementType_Element, L"Circle", true, true);
    tables.elements =
        ElementTable({SeqString(L"label", 0, false),
                      new CElementInfoSeqPrimMnd(L"radius", kNamespace, 1, false, ItemType_r8, nullptr,
                                                 WS::WhitespaceRule_Collapse, kNoFacets)});
    tables.attributes = AttributeTable({});
}

CTbCircle::CTbCircle(double radius) : CTbCircle() { m_radius = radius; }

void CTbCircle::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    if (AccessShapeProperty(propertyIndex, read, value)) return;
    if (propertyIndex != 1) return;
    if (read)
        value.SetR8(m_radius);
    else
        m_radius = value.GetR8();
}

void CTbCircle::Init() {
    m_label.clear(), m_hasLabel = false;
    m_radius = 0;
}

bool CTbCircle::Equals(const CTbShape& other) const {
    return CTbShape::Equals(other) && m_radius == static_cast<const CTbCircle&>(other).m_radius;
}

TB_SIMPLE_CLASS(CTbSquare, L"Square")

void CTbSquare::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Sequence, XmlElementType_Element, L"Square", true, true);
    tables.elements =
        ElementTable({SeqString(L"label", 0, false),
                      new CElementInfoSeqPrimMnd(L"side", kNamespace, 1, false, ItemType_decimal, nullptr,
                                                 WS::WhitespaceRule_Collapse, kNoFacets)});
    tables.attributes = AttributeTable({});
}

CTbSquare::CTbSquare(const CDecimal& side) : CTbSquare() { m_side = side; }

void CTbSquare::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    if (AccessShapeProperty(propertyIndex, read, value)) return;
    if (propertyIndex != 1) return;
    if (read)
        value.SetDecimal(m_side);
    else
        m_side = value.GetDecimal();
}

void CTbSquare::Init() {
    m_label.clear(), m_hasLabel = false;
    m_side = CDecimal();
}

bool CTbSquare::Equals(const CTbShape& other) const {
    return CTbShape::Equals(other) && m_side == static_cast<const CTbSquare&>(other).m_side;
}

CSmartPtr<CXmlObjectBase> CTbShapeFactory::CreateFromElement(CXmlElement* element) {
    g_factoryCalls.fetch_add(1);
    if (GetElementTypeNamespaceUri(element) != kNamespace) return nullptr;
    const std::wstring type = GetElementType(element);
    if (type == L"Circle") return new CTbCircle;
    if (type == L"Square") return new CTbSquare;
    return nullptr;
}

int CTbShapeFactory::GetCallCount() { return g_factoryCalls.load(); }

CXmlElement* CTbShapeCol::FromXml_Int(CXmlElement*, CXmlElement* cursor, const CXmlSerializationContext& context,
                                      bool) {
    while (cursor && DoesElementNameMatch(context, cursor, ElementName().c_str(), m_strNamespace.c_str())) {
        const CSmartPtr<CXmlObjectBase> shape = CTbShapeFactory::CreateFromElement(cursor);
        if (!shape) break;  // an item of no known type ends the run
        CXmlObjectBase::FromXml_Int(shape.Get(), cursor, cursor->GetFirstElement(), context);
        AppendItem(shape.Get());
        cursor = cursor->GetNextSiblingElement();
    }
    return cursor;
}

// ---------------------------------------------------------------- ColourCol

CTbColourCol::CTbColourCol(const wchar_t* elementName, int minOccurs, int maxOccurs)
    : CXmlValueCollection<int32_t>(ItemType_i4, elementName, kNamespace, minOccurs, maxOccurs, nullptr, -1, -1,
                                   nullptr, nullptr, nullptr, nullptr, -1, WS::WhitespaceRule_Collapse, nullptr) {}

void CTbColourCol::Add(int32_t colour) {
    FireOnCollectionAdd(&colour);
    InsertChecked(Count(), colour);
}

bool CTbColourCol::Equals(const CTbColourCol& other) const { return SameValues(*this, other); }

void CTbColourCol::ToXml_Int(CXmlWriter* writer, bool, const wchar_t*, const CXmlSerializationContext& context,
                             bool) const {
    WriteItems(writer, context, ItemType_string);
}

void CTbColourCol::AddFromString(const std::wstring& text) {
    Add(ColourFromString(WS::ApplyRule(m_whitespaceRule, text).c_str()));
}

std::wstring CTbColourCol::ItemToString(const int32_t& value) const {
    const wchar_t* text = ColourToString(value);
    if (!text) throw CQxInvalidValueException(FormatString(L"Invalid Value for %s [%d]", ElementName().c_str(), value));
    return text;
}

// ---------------------------------------------------------------- NilItem, Price, Remark

TB_SIMPLE_CLASS(CTbNilItem, L"NilItem")

void CTbNilItem::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Sequence, XmlElementType_Element, L"NilItem");
    tables.elements = ElementTable({SeqString(L"value", 0, true)});
    tables.attributes = AttributeTable({StringAttribute(L"ref", 1)});
}

void CTbNilItem::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    if (propertyIndex == 0) AccessString(read, value, m_value);
    if (propertyIndex == 1) AccessOptional(read, value, m_ref, m_hasRef);
}

void CTbNilItem::Init() {
    m_value.clear();
    m_ref.clear(), m_hasRef = false;
    m_bNil = false;
}

bool CTbNilItem::Equals(const CTbNilItem& other) const {
    // A nil element carries no content: the value is not part of it.
    return ElementName() == other.ElementName() && m_bNil == other.m_bNil && (m_bNil || m_value == other.m_value) &&
           SameOptional(m_hasRef, other.m_hasRef, m_ref == other.m_ref);
}

TB_SIMPLE_CLASS(CTbPrice, L"Price")

void CTbPrice::BuildTables(CTbClassTables& tables) {
    tables.info =
        ClassInfo(XmlElementGroupType_Sequence, XmlElementType_Element, L"Price", true, false, 0, ItemType_decimal);
    tables.elements = ElementTable({});
    tables.attributes = AttributeTable({StringAttribute(L"currency", 1)});
}

void CTbPrice::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    if (propertyIndex == 1) {
        AccessOptional(read, value, m_currency, m_hasCurrency);
    } else if (propertyIndex == 0) {
        if (!read) {
            m_bNil = value.IsNil();
            m_amount = m_bNil ? CDecimal() : value.GetDecimal();
        } else if (m_bNil) {
            value.SetDecimal(CDecimal());
            value.SetNil();
        } else {
            value.SetDecimal(m_amount);
        }
    }
}

void CTbPrice::Init() {
    m_amount = CDecimal();
    m_bNil = false;
    m_currency.clear(), m_hasCurrency = false;
}

bool CTbPrice::Equals(const CTbPrice& other) const {
    return ElementName() == other.ElementName() && m_bNil == other.m_bNil && (m_bNil || m_amount == other.m_amount) &&
           SameOptional(m_hasCurrency, other.m_hasCurrency, m_currency == other.m_currency);
}

TB_SIMPLE_CLASS(CTbRemark, L"Remark")

void CTbRemark::BuildTables(CTbClassTables& tables) {
    tables.info =
        ClassInfo(XmlElementGroupType_Sequence, XmlElementType_Element, L"Remark", true, false, 1, ItemType_string, true);
    tables.elements = ElementTable({SeqString(L"em", 0, false)});
    tables.attributes = AttributeTable({});
}

void CTbRemark::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    if (propertyIndex == 0) AccessOptional(read, value, m_em, m_hasEm);
    if (propertyIndex == 1) AccessString(read, value, m_text);
}

void CTbRemark::Init() {
    m_em.clear(), m_hasEm = false;
    m_text.clear();
}

bool CTbRemark::Equals(const CTbRemark& other) const {
    return ElementName() == other.ElementName() && m_text == other.m_text &&
           SameOptional(m_hasEm, other.m_hasEm, m_em == other.m_em);
}

// ---------------------------------------------------------------- model groups

TB_SIMPLE_CLASS(CTbAddress, L"Address")

void CTbAddress::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Sequence, XmlElementType_PseudoElement, L"Address", false);
    tables.elements = ElementTable({SeqString(L"street", 0, true), SeqString(L"city", 1, false)});
    tables.attributes = AttributeTable({});
}

void CTbAddress::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    if (propertyIndex == 0) AccessOptional(read, value, m_street, m_hasStreet);
    if (propertyIndex == 1) AccessOptional(read, value, m_city, m_hasCity);
}

void CTbAddress::Init() {
    m_street.clear(), m_hasStreet = false;
    m_city.clear(), m_hasCity = false;
}

bool CTbAddress::Equals(const CTbAddress& other) const {
    return SameOptional(m_hasStreet, other.m_hasStreet, m_street == other.m_street) &&
           SameOptional(m_hasCity, other.m_hasCity, m_city == other.m_city);
}

TB_SIMPLE_CLASS(CTbContact, L"Contact")

void CTbContact::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Choice, XmlElementType_PseudoElement, L"Contact", false);
    tables.elements = ElementTable(
        {new CElementInfoChoicePrimOpt(L"email", kNamespace, 0, false, ItemType_string, nullptr,
                                       WS::WhitespaceRule_Preserve, kNoFacets),
         new CElementInfoChoicePrimOpt(L"phone", kNamespace, 1, false, ItemType_string, nullptr,
                                       WS::WhitespaceRule_Preserve, kNoFacets)});
    tables.attributes = AttributeTable({});
}

void CTbContact::SetEmail(const std::wstring& email) {
    m_email = email;
    m_validElement = L"email";
}

void CTbContact::SetPhone(const std::wstring& phone) {
    m_phone = phone;
    m_validElement = L"phone";
}

void CTbContact::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    const wchar_t* name = propertyIndex == 0 ? L"email" : L"phone";
    std::wstring& field = propertyIndex == 0 ? m_email : m_phone;
    bool present = m_validElement == name;
    AccessOptional(read, value, field, present);
    if (!read) m_validElement = present ? name : L"";
}

void CTbContact::Init() {
    m_email.clear();
    m_phone.clear();
    m_validElement.clear();
}

bool CTbContact::Equals(const CTbContact& other) const {
    return m_validElement == other.m_validElement && m_email == other.m_email && m_phone == other.m_phone;
}

TB_SIMPLE_CLASS(CTbExtras, L"Extras")

void CTbExtras::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Sequence, XmlElementType_PseudoElement, L"Extras", false);
    tables.elements = ElementTable({SeqString(L"hint", 0, true), SeqString(L"memo", 1, false)});
    tables.attributes = AttributeTable({});
}

void CTbExtras::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    if (propertyIndex == 0) AccessOptional(read, value, m_hint, m_hasHint);
    if (propertyIndex == 1) AccessOptional(read, value, m_memo, m_hasMemo);
}

void CTbExtras::Init() {
    m_hint.clear(), m_hasHint = false;
    m_memo.clear(), m_hasMemo = false;
}

bool CTbExtras::Equals(const CTbExtras& other) const {
    return SameOptional(m_hasHint, other.m_hasHint, m_hint == other.m_hint) &&
           SameOptional(m_hasMemo, other.m_hasMemo, m_memo == other.m_memo);
}

TB_SIMPLE_CLASS(CTbFlags, L"Flags")

void CTbFlags::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Sequence, XmlElementType_PseudoElement, L"Flags", false);
    tables.elements = ElementTable({SeqInt(L"flagValue", 0, false)});
    tables.attributes = AttributeTable({StringAttribute(L"mark", 1)});
}

void CTbFlags::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    if (propertyIndex == 0) AccessOptional(read, value, m_flagValue, m_hasFlagValue);
    if (propertyIndex == 1) AccessOptional(read, value, m_mark, m_hasMark);
}

void CTbFlags::Init() {
    m_flagValue = 0, m_hasFlagValue = false;
    m_mark.clear(), m_hasMark = false;
}

bool CTbFlags::Equals(const CTbFlags& other) const {
    return SameOptional(m_hasFlagValue, other.m_hasFlagValue, m_flagValue == other.m_flagValue) &&
           SameOptional(m_hasMark, other.m_hasMark, m_mark == other.m_mark);
}

TB_SIMPLE_CLASS(CTbPair, L"Pair")

void CTbPair::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Sequence, XmlElementType_PseudoElement, L"Pair", false);
    tables.elements = ElementTable({SeqString(L"key", 0, true), SeqInt(L"value", 1, true)});
    tables.attributes = AttributeTable({});
}

CTbPair::CTbPair(const std::wstring& key, int32_t value) : CTbPair() {
    m_key = key, m_hasKey = true;
    m_value = value, m_hasValue = true;
}

void CTbPair::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    if (propertyIndex == 0) AccessOptional(read, value, m_key, m_hasKey);
    if (propertyIndex == 1) AccessOptional(read, value, m_value, m_hasValue);
}

void CTbPair::Init() {
    m_key.clear(), m_hasKey = false;
    m_value = 0, m_hasValue = false;
}

bool CTbPair::Equals(const CTbPair& other) const {
    return SameOptional(m_hasKey, other.m_hasKey, m_key == other.m_key) &&
           SameOptional(m_hasValue, other.m_hasValue, m_value == other.m_value);
}

CXmlElement* CTbPairCol::FromXml_Int(CXmlElement* parent, CXmlElement* cursor,
                                     const CXmlSerializationContext& context, bool) {
    // Each item takes its run among the holder's children; one that takes nothing ends the list.
    while (cursor) {
        CSmartPtr<CTbPair> pair(new CTbPair);
        CXmlElement* next = CXmlObjectBase::FromXml_Int(pair.Get(), parent, cursor, context);
        if (next == cursor) break;
        AppendItem(pair.Get());
        cursor = next;
    }
    return cursor;
}

TB_CLASS_TABLES(CTbHolder)

void CTbHolder::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Sequence, XmlElementType_Element, L"Holder", false);
    tables.elements = ElementTable(
        {SeqString(L"title", 0, false),
         new CElementInfoSeqClsMnd(L"Flags", kNamespace, 1, XmlElementType_PseudoElement, &CreateTbObject,
                                   TbClass_Flags, false),
         new CElementInfoSeqClsCol(L"Pair", kNamespace, 2, XmlElementType_PseudoElement)});
    tables.attributes = AttributeTable({StringAttribute(L"own", 3)});
}

CTbHolder::CTbHolder() : m_pairs(new CTbPairCol(L"Pair", 0, -1)) {
    SetElementName(L"Holder");
    CTbHolder::Init();
}

void CTbHolder::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case 0: AccessOptional(read, value, m_title, m_hasTitle); break;
        case 1: AccessObject(read, value, m_flags); break;
        case 2: AccessCollection(read, value, m_pairs); break;
        case 3: AccessOptional(read, value, m_own, m_hasOwn); break;
        default: break;
    }
}

void CTbHolder::Init() {
    m_title.clear(), m_hasTitle = false;
    m_flags = new CTbFlags;
    m_pairs->Clear();
    m_own.clear(), m_hasOwn = false;
}

bool CTbHolder::Equals(const CTbHolder& other) const {
    return ElementName() == other.ElementName() &&
           SameOptional(m_hasTitle, other.m_hasTitle, m_title == other.m_title) &&
           SameObject(m_flags, other.m_flags) && m_pairs->Equals(*other.m_pairs) &&
           SameOptional(m_hasOwn, other.m_hasOwn, m_own == other.m_own);
}

// ---------------------------------------------------------------- Options, StrictChoice

TB_CLASS_TABLES(CTbOptions)

void CTbOptions::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Choice, XmlElementType_Element, L"Options");
    tables.elements = ElementTable(
        {new CElementInfoChoicePrimOpt(L"flag", kNamespace, 0, false, ItemType_boolean, nullptr,
                                       WS::WhitespaceRule_Collapse, kNoFacets),
         new CElementInfoChoiceEnumOpt(L"mode", kNamespace, 1, false, &ColourToString, &ColourFromString),
         new CElementInfoChoiceClsOpt(L"child", kNamespace, 2, XmlElementType_Element, &CreateTbObject, TbClass_Item),
         new CElementInfoChoiceAbsClsOpt(L"form", kNamespace, 3, XmlElementType_Element, &CreateShape),
         new CElementInfoChoicePrimCol(L"word", kNamespace, 4), new CElementInfoChoiceEnumCol(L"hue", kNamespace, 5),
         new CElementInfoChoiceClsCol(L"part", kNamespace, 6, XmlElementType_Element),
         new CElementInfoChoiceAbsClsCol(L"piece", kNamespace, 7, XmlElementType_Element)});
    tables.attributes = AttributeTable({});
}

CTbOptions::CTbOptions()
    : m_words(NewStringCol(L"word", 1, -1)),
      m_hues(new CTbColourCol(L"hue", 1, -1)),
      m_parts(new CTbItemCol(L"part", 1, -1)),
      m_pieces(new CTbShapeCol(L"piece", 1, -1)) {
    SetElementName(L"Options");
}

void CTbOptions::Select(const wchar_t* name) {
    // A primitive alternative has no object of its own; the choice object stands for the value
    // being set.
    Choice_SelectElement(name, this, m_validElement);
}

void CTbOptions::SetFlag(bool flag) {
    Select(L"flag");
    m_flag = flag, m_hasFlag = true;
}

void CTbOptions::SetMode(int32_t mode) {
    Select(L"mode");
    m_mode = mode, m_hasMode = true;
}

void CTbOptions::SetChild(CTbItem* child) {
    Choice_SelectElement(L"child", child, m_validElement);
    NameAndSet(m_child, child, L"child");
}

void CTbOptions::SetForm(CTbShape* form) {
    Choice_SelectElement(L"form", form, m_validElement);
    NameAndSet(m_form, form, L"form");
}

void CTbOptions::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case 0:
            if (read) {
                if (m_hasFlag) value.SetBoolean(m_flag); else value.SetInvalid();
            } else {
                m_hasFlag = value.IsValid();
                m_flag = m_hasFlag && value.GetBoolean();
            }
            break;
        case 1: AccessOptional(read, value, m_mode, m_hasMode); break;
        case 2: AccessObject(read, value, m_child); break;
        case 3: AccessObject(read, value, m_form); break;
        case 4: AccessCollection(read, value, m_words); break;
        case 5: AccessCollection(read, value, m_hues); break;
        case 6: AccessCollection(read, value, m_parts); break;
        case 7: AccessCollection(read, value, m_pieces); break;
        default: break;
    }
}

void CTbOptions::Init() {
    m_flag = false, m_hasFlag = false;
    m_mode = 0, m_hasMode = false;
    m_child = nullptr;
    m_form = nullptr;
    m_words->Clear();
    m_hues->Clear();
    m_parts->Clear();
    m_pieces->Clear();
    m_validElement.clear();
}

bool CTbOptions::Equals(const CTbOptions& other) const {
    return ElementName() == other.ElementName() && SameOptional(m_hasFlag, other.m_hasFlag, m_flag == other.m_flag) &&
           SameOptional(m_hasMode, other.m_hasMode, m_mode == other.m_mode) && SameObject(m_child, other.m_child) &&
           SameObject(m_form, other.m_form) && SameValues(*m_words, *other.m_words) &&
           m_hues->Equals(*other.m_hues) && m_parts->Equals(*other.m_parts) && m_pieces->Equals(*other.m_pieces);
}

TB_CLASS_TABLES(CTbStrictChoice)

void CTbStrictChoice::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Choice, XmlElementType_Element, L"StrictChoice");
    tables.elements = ElementTable({new CElementInfoChoicePrimCol(L"word", kNamespace, 0),
                                    new CElementInfoChoiceClsCol(L"part", kNamespace, 1, XmlElementType_Element)});
    tables.attributes = AttributeTable({});
}

CTbStrictChoice::CTbStrictChoice()
    : m_words(NewStringCol(L"word", 1, 3)),
      m_parts(new CTbItemCol(L"part", 1, -1)) {
    SetElementName(L"StrictChoice");
}

void CTbStrictChoice::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    if (propertyIndex == 0) AccessCollection(read, value, m_words);
    if (propertyIndex == 1) AccessCollection(read, value, m_parts);
}

void CTbStrictChoice::Init() {
    m_words->Clear();
    m_parts->Clear();
}

bool CTbStrictChoice::Equals(const CTbStrictChoice& other) const {
    return ElementName() == other.ElementName() && SameValues(*m_words, *other.m_words) &&
           m_parts->Equals(*other.m_parts);
}

// ---------------------------------------------------------------- Bag, AbsBag

TB_CLASS_TABLES(CTbBag)

void CTbBag::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_All, XmlElementType_Element, L"Bag");
    tables.elements = ElementTable(
        {new CElementInfoAllPrimMnd(L"alpha", kNamespace, 0, false, ItemType_string, nullptr,
                                    WS::WhitespaceRule_Preserve, kNoFacets),
         new CElementInfoAllPrimOpt(L"beta", kNamespace, 1, false, ItemType_i4, nullptr, WS::WhitespaceRule_Collapse,
                                    kNoFacets),
         new CElementInfoAllEnumMnd(L"gamma", kNamespace, 2, false, &ColourToString, &ColourFromString),
         new CElementInfoAllEnumOpt(L"delta", kNamespace, 3, false, &ColourToString, &ColourFromString),
         new CElementInfoAllClsMnd(L"inner", kNamespace, 4, XmlElementType_Element, &CreateTbObject, TbClass_Item,
                                   true),
         new CElementInfoAllClsOpt(L"outer", kNamespace, 5, XmlElementType_Element, &CreateTbObject, TbClass_Item)});
    tables.attributes = AttributeTable({});
}

CTbBag::CTbBag() {
    SetElementName(L"Bag");
    CTbBag::Init();
}
void CTbBag::SetOuter(CTbItem* outer) { NameAndSet(m_outer, outer, L"outer"); }

void CTbBag::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case 0: AccessOptional(read, value, m_alpha, m_hasAlpha); break;
        case 1: AccessOptional(read, value, m_beta, m_hasBeta); break;
        case 2: AccessOptional(read, value, m_gamma, m_hasGamma); break;
        case 3: AccessOptional(read, value, m_delta, m_hasDelta); break;
        case 4: AccessObject(read, value, m_inner); break;
        case 5: AccessObject(read, value, m_outer); break;
        default: break;
    }
}

void CTbBag::Init() {
    m_alpha.clear(), m_hasAlpha = false;
    m_beta = 0, m_hasBeta = false;
    m_gamma = 0, m_hasGamma = false;
    m_delta = 0, m_hasDelta = false;
    m_inner = new CTbItem;
    SetElementName(m_inner.Get(), L"inner");
    m_outer = nullptr;
}

bool CTbBag::Equals(const CTbBag& other) const {
    return ElementName() == other.ElementName() &&
           SameOptional(m_hasAlpha, other.m_hasAlpha, m_alpha == other.m_alpha) &&
           SameOptional(m_hasBeta, other.m_hasBeta, m_beta == other.m_beta) &&
           SameOptional(m_hasGamma, other.m_hasGamma, m_gamma == other.m_gamma) &&
           SameOptional(m_hasDelta, other.m_hasDelta, m_delta == other.m_delta) && SameObject(m_inner, other.m_inner) &&
           SameObject(m_outer, other.m_outer);
}

TB_SIMPLE_CLASS(CTbAbsBag, L"AbsBag")

void CTbAbsBag::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_All, XmlElementType_Element, L"AbsBag");
    tables.elements = ElementTable(
        {new CElementInfoAllAbsClsMnd(L"shape", kNamespace, 0, XmlElementType_Element, &CreateShape, TbClass_Circle),
         new CElementInfoAllAbsClsOpt(L"spare", kNamespace, 1, XmlElementType_Element, &CreateShape)});
    tables.attributes = AttributeTable({});
}

void CTbAbsBag::SetShape(CTbShape* shape) {
    Throw_IfPropertyIsNull(shape, L"Shape");
    NameAndSet(m_shape, shape, L"shape");
}
void CTbAbsBag::SetSpare(CTbShape* spare) { NameAndSet(m_spare, spare, L"spare"); }

void CTbAbsBag::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    if (propertyIndex == 0) AccessObject(read, value, m_shape);
    if (propertyIndex == 1) AccessObject(read, value, m_spare);
}

void CTbAbsBag::Init() {
    m_shape = nullptr;
    m_spare = nullptr;
}

// ---------------------------------------------------------------- Root

TB_CLASS_TABLES(CTbRoot)

void CTbRoot::BuildTables(CTbClassTables& tables) {
    const XmlElementType own = XmlElementType_Element;
    const XmlElementType pseudo = XmlElementType_PseudoElement;
    tables.info = ClassInfo(XmlElementGroupType_Sequence, own, L"Root");
    tables.elements = ElementTable({
        new CElementInfoSeqPrimMnd(L"name", kNamespace, Prop_name, false, ItemType_string, nullptr,
                                   WS::WhitespaceRule_Preserve, kShortString),
        new CElementInfoSeqPrimOpt(L"count", kNamespace, Prop_count, false, ItemType_i4, nullptr,
                                   WS::WhitespaceRule_Collapse, kNotNegative),
        new CElementInfoSeqEnumMnd(L"colour", kNamespace, Prop_colour, false, &ColourToString, &ColourFromString),
        new CElementInfoSeqEnumOpt(L"shade", kNamespace, Prop_shade, false, &ColourToString, &ColourFromString),
        new CElementInfoSeqClsMnd(L"item", kNamespace, Prop_item, own, &CreateTbObject, TbClass_Item, true),
        new CElementInfoSeqClsOpt(L"extra", kNamespace, Prop_extra, own, &CreateTbObject, TbClass_SpecialItem),
        new CElementInfoSeqAbsClsMnd(L"shape", kNamespace, Prop_shape, own, &CreateShape),
        new CElementInfoSeqAbsClsOpt(L"spare", kNamespace, Prop_spare, own, &CreateShape),
        new CElementInfoSeqPrimCol(L"tag", kNamespace, Prop_tag),
        new CElementInfoSeqEnumCol(L"level", kNamespace, Prop_level),
        new CElementInfoSeqClsCol(L"entry", kNamespace, Prop_entry, own),
        new CElementInfoSeqAbsClsCol(L"figure", kNamespace, Prop_figure, own),
        new CElementInfoSeqClsMnd(L"Address", kNamespace, Prop_address, pseudo, &CreateTbObject, TbClass_Address,
                                  true),
        new CElementInfoSeqClsOpt(L"Contact", kNamespace, Prop_contact, pseudo, &CreateTbObject, TbClass_Contact),
        new CElementInfoSeqClsOpt(L"Extras", kNamespace, Prop_extras, pseudo, &CreateTbObject, TbClass_Extras),
        new CElementInfoSeqPrimOpt(L"note", kNamespace, Prop_note, true, ItemType_string, nullptr,
                                   WS::WhitespaceRule_Preserve, kNoFacets),
        new CElementInfoSeqClsOpt(L"nilItem", kNamespace, Prop_nilItem, own, &CreateTbObject, TbClass_NilItem),
        new CElementInfoSeqClsOpt(L"price", kNamespace, Prop_price, own, &CreateTbObject, TbClass_Price),
        new CElementInfoSeqClsOpt(L"remark", kNamespace, Prop_remark, own, &CreateTbObject, TbClass_Remark),
        new CElementInfoSeqClsOpt(L"options", kNamespace, Prop_options, own, &CreateTbObject, TbClass_Options),
        new CElementInfoSeqClsOpt(L"bag", kNamespace, Prop_bag, own, &CreateTbObject, TbClass_Bag),
        new CElementInfoSeqClsOpt(L"holder", kNamespace, Prop_holder, own, &CreateTbObject, TbClass_Holder),
        new CElementInfoSeqClsOpt(L"strict", kNamespace, Prop_strict, own, &CreateTbObject, TbClass_StrictChoice),
    });
    tables.attributes = AttributeTable({
        new CAttributeInfoPrimitive(L"id", L"", Prop_id, false, ItemType_i4, nullptr, WS::WhitespaceRule_Collapse,
                                    kNoFacets, nullptr),
        new CAttributeInfoEnum(L"status", L"", Prop_status, true, &StatusToString, &StatusFromString, L"open"),
        new CAttributeInfoPrimitive(L"version", L"", Prop_version, true, ItemType_decimal, nullptr,
                                    WS::WhitespaceRule_Collapse, kNoFacets, nullptr),
    });
}

CTbRoot::CTbRoot()
    : m_tags(NewStringCol(L"tag", 0, -1)),
      m_levels(new CTbColourCol(L"level", 0, -1)),
      m_entries(new CTbItemCol(L"entry", 0, -1)),
      m_figures(new CTbShapeCol(L"figure", 0, -1)) {
    SetElementName(L"Root");
    CTbRoot::Init();
}

void CTbRoot::SetItem(CTbItem* item) {
    Throw_IfPropertyIsNull(item, L"Item");
    NameAndSet(m_item, item, L"item");
}
void CTbRoot::SetShape(CTbShape* shape) {
    Throw_IfPropertyIsNull(shape, L"Shape");
    NameAndSet(m_shape, shape, L"shape");
}
void CTbRoot::SetExtra(CTbSpecialItem* extra) { NameAndSet(m_extra, extra, L"extra"); }
void CTbRoot::SetSpare(CTbShape* spare) { NameAndSet(m_spare, spare, L"spare"); }
void CTbRoot::SetNilItem(CTbNilItem* nilItem) { NameAndSet(m_nilItem, nilItem, L"nilItem"); }
void CTbRoot::SetPrice(CTbPrice* price) { NameAndSet(m_price, price, L"price"); }
void CTbRoot::SetRemark(CTbRemark* remark) { NameAndSet(m_remark, remark, L"remark"); }
void CTbRoot::SetOptions(CTbOptions* options) { NameAndSet(m_options, options, L"options"); }
void CTbRoot::SetBag(CTbBag* bag) { NameAndSet(m_bag, bag, L"bag"); }
void CTbRoot::SetHolder(CTbHolder* holder) { NameAndSet(m_holder, holder, L"holder"); }
void CTbRoot::SetStrict(CTbStrictChoice* strict) { NameAndSet(m_strict, strict, L"strict"); }

void CTbRoot::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case Prop_name: AccessOptional(read, value, m_name, m_hasName); break;
        case Prop_count: AccessOptional(read, value, m_count, m_hasCount); break;
        case Prop_colour: AccessOptional(read, value, m_colour, m_hasColour); break;
        case Prop_shade: AccessOptional(read, value, m_shade, m_hasShade); break;
        case Prop_item: AccessObject(read, value, m_item); break;
        case Prop_extra: AccessObject(read, value, m_extra); break;
        case Prop_shape: AccessObject(read, value, m_shape); break;
        case Prop_spare: AccessObject(read, value, m_spare); break;
        case Prop_tag: AccessCollection(read, value, m_tags); break;
        case Prop_level: AccessCollection(read, value, m_levels); break;
        case Prop_entry: AccessCollection(read, value, m_entries); break;
        case Prop_figure: AccessCollection(read, value, m_figures); break;
        case Prop_address: AccessObject(read, value, m_address); break;
        case Prop_contact: AccessObject(read, value, m_contact); break;
        case Prop_extras: AccessObject(read, value, m_extras); break;
        case Prop_note:
            if (read)
                value = m_note;
            else
                m_note = value;
            break;
        case Prop_nilItem: AccessObject(read, value, m_nilItem); break;
        case Prop_price: AccessObject(read, value, m_price); break;
        case Prop_remark: AccessObject(read, value, m_remark); break;
        case Prop_options: AccessObject(read, value, m_options); break;
        case Prop_bag: AccessObject(read, value, m_bag); break;
        case Prop_holder: AccessObject(read, value, m_holder); break;
        case Prop_strict: AccessObject(read, value, m_strict); break;
        case Prop_id:
            if (read)
                value.SetI4(m_id);
            else
                m_id = value.GetI4();
            break;
        case Prop_status: AccessOptional(read, value, m_status, m_hasStatus); break;
        case Prop_version: AccessOptional(read, value, m_version, m_hasVersion); break;
        default: break;
    }
}

void CTbRoot::Init() {
    m_name.clear(), m_hasName = false;
    m_count = 0, m_hasCount = false;
    m_colour = 0, m_hasColour = false;
    m_shade = 0, m_hasShade = false;
    m_item = new CTbItem;
    SetElementName(m_item.Get(), L"item");
    m_extra = nullptr;
    m_shape = nullptr;
    m_spare = nullptr;
    m_tags->Clear();
    m_levels->Clear();
    m_entries->Clear();
    m_figures->Clear();
    m_address = new CTbAddress;
    m_contact = nullptr;
    m_extras = nullptr;
    m_note.SetInvalid();
    m_nilItem = nullptr;
    m_price = nullptr;
    m_remark = nullptr;
    m_options = nullptr;
    m_bag = nullptr;
    m_holder = nullptr;
    m_strict = nullptr;
    m_id = 0;
    m_status = Status_open, m_hasStatus = false;
    m_version = CDecimal(), m_hasVersion = false;
}

bool CTbRoot::Equals(const CTbRoot& other) const {
    const bool sameNote = m_note.IsValid() == other.m_note.IsValid() && m_note.IsNil() == other.m_note.IsNil() &&
                          (!m_note.IsValid() || m_note.IsNil() || m_note.GetString() == other.m_note.GetString());
    return ElementName() == other.ElementName() && SameOptional(m_hasName, other.m_hasName, m_name == other.m_name) &&
           SameOptional(m_hasCount, other.m_hasCount, m_count == other.m_count) &&
           SameOptional(m_hasColour, other.m_hasColour, m_colour == other.m_colour) &&
           SameOptional(m_hasShade, other.m_hasShade, m_shade == other.m_shade) && SameObject(m_item, other.m_item) &&
           SameObject(m_extra, other.m_extra) && SameObject(m_shape, other.m_shape) &&
           SameObject(m_spare, other.m_spare) && SameValues(*m_tags, *other.m_tags) &&
           m_levels->Equals(*other.m_levels) && m_entries->Equals(*other.m_entries) &&
           m_figures->Equals(*other.m_figures) && SameObject(m_address, other.m_address) &&
           SameObject(m_contact, other.m_contact) && SameObject(m_extras, other.m_extras) && sameNote &&
           SameObject(m_nilItem, other.m_nilItem) && SameObject(m_price, other.m_price) &&
           SameObject(m_remark, other.m_remark) && SameObject(m_options, other.m_options) &&
           SameObject(m_bag, other.m_bag) && SameObject(m_holder, other.m_holder) &&
           SameObject(m_strict, other.m_strict) && m_id == other.m_id &&
           SameOptional(m_hasStatus, other.m_hasStatus, m_status == other.m_status) &&
           SameOptional(m_hasVersion, other.m_hasVersion, m_version == other.m_version);
}

// ---------------------------------------------------------------- wildcard content

namespace {
// A named element of type xs:anyType: any content, in the target namespace.
CSmartPtr<CElement> NamedUntyped(const wchar_t* name) {
    return new CElement(name, kNamespace, L"##targetNamespace", kNamespace);
}
// A wildcard element: named after the member until it is read or set.
CSmartPtr<CElement> Wildcard(const wchar_t* restriction) {
    return new CElement(L"AnyElement", L"", restriction, kNamespace);
}
}  // namespace

TB_CLASS_TABLES(CTbOpenChoice)

CTbOpenChoice::CTbOpenChoice() {
    SetElementName(L"choice");
    CTbOpenChoice::Init();
}

void CTbOpenChoice::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Choice, XmlElementType_Element, L"OpenChoice");
    tables.elements =
        ElementTable({new CElementInfoChoiceUntpdOpt(L"memo", kNamespace, 0, L"##targetNamespace", kNamespace),
                      new CElementInfoChoiceUntpdCol(L"AnyElement", kNamespaceA, 1)});
    tables.attributes = AttributeTable({});
}

void CTbOpenChoice::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case 0: AccessObject(read, value, m_memo); break;
        case 1: AccessCollection(read, value, m_any); break;
        default: break;
    }
}

void CTbOpenChoice::Init() {
    m_memo = nullptr;
    m_any = new CElementCol(L"", kNamespaceA, kNamespace, 1, -1);
}

TB_CLASS_TABLES(CTbOpenPick)

CTbOpenPick::CTbOpenPick() {
    SetElementName(L"pick");
    CTbOpenPick::Init();
}

void CTbOpenPick::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Choice, XmlElementType_Element, L"OpenPick");
    tables.elements =
        ElementTable({new CElementInfoChoiceUntpdOpt(L"AnyElement", L"##other", 0, L"##other", kNamespace),
                      new CElementInfoChoiceUntpdCol(L"blob", kNamespace, 1)});
    tables.attributes = AttributeTable({});
}

void CTbOpenPick::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case 0: AccessObject(read, value, m_other); break;
        case 1: AccessCollection(read, value, m_blobs); break;
        default: break;
    }
}

void CTbOpenPick::Init() {
    m_other = nullptr;
    m_blobs = new CElementCol(kNamespace, L"##targetNamespace", kNamespace, 1, -1);
}

TB_CLASS_TABLES(CTbOpenAll)

CTbOpenAll::CTbOpenAll() {
    SetElementName(L"all");
    CTbOpenAll::Init();
}

void CTbOpenAll::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_All, XmlElementType_Element, L"OpenAll");
    tables.elements =
        ElementTable({new CElementInfoAllUntpdMnd(L"need", kNamespace, 0, L"##targetNamespace", kNamespace),
                      new CElementInfoAllUntpdOpt(L"maybe", kNamespace, 1, L"##targetNamespace", kNamespace),
                      new CElementInfoAllUntpdCol(L"rest", kNamespace, 2)});
    tables.attributes = AttributeTable({});
}

void CTbOpenAll::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case 0: AccessObject(read, value, m_need); break;
        case 1: AccessObject(read, value, m_maybe); break;
        case 2: AccessCollection(read, value, m_rest); break;
        default: break;
    }
}

void CTbOpenAll::Init() {
    m_need = NamedUntyped(L"need");
    m_maybe = nullptr;
    m_rest = new CElementCol(kNamespace, L"##targetNamespace", kNamespace, 0, 1);
}

TB_CLASS_TABLES(CTbOpen)

CTbOpen::CTbOpen() {
    SetElementName(L"Open");
    CTbOpen::Init();
}

void CTbOpen::BuildTables(CTbClassTables& tables) {
    tables.info = ClassInfo(XmlElementGroupType_Sequence, XmlElementType_Element, L"Open");
    tables.elements = ElementTable(
        {SeqString(L"title", 0, true),
         new CElementInfoSeqUntpdMnd(L"AnyElement", L"##other", 1, L"##other", kNamespace),
         new CElementInfoSeqUntpdMnd(L"payload", kNamespace, 2, L"##targetNamespace", kNamespace),
         new CElementInfoSeqUntpdOpt(L"extra", kNamespace, 3, L"##targetNamespace", kNamespace),
         new CElementInfoSeqUntpdOpt(L"AnyElement", L"urn:qxxml:test:a urn:qxxml:test:b", 4,
                                     L"urn:qxxml:test:a urn:qxxml:test:b", kNamespace),
         new CElementInfoSeqUntpdCol(L"blob", kNamespace, 5),
         new CElementInfoSeqClsMnd(L"choice", kNamespace, 6, XmlElementType_Element, &CreateTbObject,
                                   TbClass_OpenChoice, true),
         new CElementInfoSeqClsOpt(L"pick", kNamespace, 7, XmlElementType_Element, &CreateTbObject, TbClass_OpenPick),
         new CElementInfoSeqClsMnd(L"all", kNamespace, 8, XmlElementType_Element, &CreateTbObject, TbClass_OpenAll,
                                   true),
         new CElementInfoSeqUntpdCol(L"AnyElement", L"##local", 9)});
    tables.attributes = AttributeTable(
        {new CAttributeInfoPrimitive(L"id", L"", 10, true, ItemType_i4, nullptr, WS::WhitespaceRule_Collapse,
                                     kNoFacets, nullptr),
         new CAttributeInfoAny(L"AnyAttribute", L"##other", 11, true, L"##other", kNamespace, nullptr)});
}

void CTbOpen::SetPick(CTbOpenPick* pick) { NameAndSet(m_pick, pick, L"pick"); }

void CTbOpen::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    switch (propertyIndex) {
        case 0: AccessOptional(read, value, m_title, m_hasTitle); break;
        case 1: AccessObject(read, value, m_other); break;
        case 2: AccessObject(read, value, m_payload); break;
        case 3: AccessObject(read, value, m_extra); break;
        case 4: AccessObject(read, value, m_listed); break;
        case 5: AccessCollection(read, value, m_blobs); break;
        case 6: AccessObject(read, value, m_choice); break;
        case 7: AccessObject(read, value, m_pick); break;
        case 8: AccessObject(read, value, m_all); break;
        case 9: AccessCollection(read, value, m_locals); break;
        case 10: AccessOptional(read, value, m_id, m_hasId); break;
        case 11: AccessCollection(read, value, m_anyAttributes); break;
        default: break;
    }
}

void CTbOpen::Init() {
    m_title.clear(), m_hasTitle = false;
    m_id = 0, m_hasId = false;
    m_other = Wildcard(L"##other");
    m_payload = NamedUntyped(L"payload");
    m_extra = nullptr;
    m_listed = nullptr;
    m_blobs = new CElementCol(kNamespace, L"##targetNamespace", kNamespace, 0, -1);
    m_choice = new CTbOpenChoice;
    m_pick = nullptr;
    m_all = new CTbOpenAll;
    m_locals = new CElementCol(L"", L"##local", kNamespace, 0, -1);
    m_anyAttributes = new CAttributeCol(L"", L"##other", kNamespace);
}

// ---------------------------------------------------------------- release at unload

void ReleaseTbMetaData() {
    for (CTbClassTables* tables :
         {&CTbItem::ms_tables, &CTbSpecialItem::ms_tables, &CTbCircle::ms_tables, &CTbSquare::ms_tables,
          &CTbNilItem::ms_tables, &CTbPrice::ms_tables, &CTbRemark::ms_tables, &CTbAddress::ms_tables,
          &CTbContact::ms_tables, &CTbExtras::ms_tables, &CTbFlags::ms_tables, &CTbPair::ms_tables,
          &CTbHolder::ms_tables, &CTbOptions::ms_tables, &CTbStrictChoice::ms_tables, &CTbBag::ms_tables,
          &CTbAbsBag::ms_tables, &CTbRoot::ms_tables, &CTbOpenChoice::ms_tables, &CTbOpenPick::ms_tables,
          &CTbOpenAll::ms_tables, &CTbOpen::ms_tables})
        tables->Clean();
}

int GetTbMetaDataBuildCount() { return g_buildCount.load(); }

// ---------------------------------------------------------------- engine probes

CTbProbe::CTbProbe(CParentElementInfo* info, std::initializer_list<CElementInfo*> elements,
                   std::initializer_list<CAttributeInfo*> attributes, size_t propertyCount)
    : m_properties(propertyCount),
      m_info(info),
      m_elements(ElementTable(elements)),
      m_attributes(AttributeTable(attributes)) {
    SetElementName(L"probe");
}

CTbProbe::~CTbProbe() { CleanMetaData(m_info, m_elements, m_attributes); }

void CTbProbe::AccessProperty(int propertyIndex, bool read, QxVariant& value) {
    m_log.push_back((read ? L"r" : L"w") + std::to_wstring(propertyIndex));
    QxVariant& property = m_properties.at(static_cast<size_t>(propertyIndex));
    if (read)
        value = property;
    else
        property = value;
}

CParentElementInfo* ProbeInfo(XmlElementGroupType group, int textProperty, ItemType textType) {
    return new CParentElementInfo(group, XmlElementType_Element, L"Probe", kNamespace, true, false, textProperty,
                                  textType, nullptr, false);
}

CstringCol* NewStringCol(const wchar_t* elementName, int minOccurs, int maxOccurs) {
    return new CstringCol(elementName, kNamespace, minOccurs, maxOccurs, nullptr, -1, -1, nullptr, nullptr, nullptr,
                          nullptr, -1, WS::WhitespaceRule_Preserve, nullptr);
}

std::wstring WriteWithWriter(const std::function<void(CXmlWriter* writer)>& write) {
    CTextStream stream(XmlEncoding_None);
    CXmlTextWriter writer(&stream);
    writer.SetFormatting(false);
    writer.SetEOLType(EOLType_LF);
    writer.StartDocument();
    write(&writer);
    writer.EndDocument();
    return stream.TakeText();
}

// ---------------------------------------------------------------- what the tests build and check

CSmartPtr<CTbRoot> MakeMinimalRoot() {
    CSmartPtr<CTbRoot> root(new CTbRoot);
    root->SetId(7);
    root->SetName(L"minimal");
    root->SetColour(Colour_red);
    root->GetItem()->SetLabel(L"only");
    root->SetShape(new CTbCircle(1));
    root->GetAddress()->SetStreet(L"High Street");
    return root;
}

CSmartPtr<CTbRoot> MakeFullRoot() {
    CSmartPtr<CTbRoot> root(new CTbRoot);
    root->SetId(42);
    root->SetStatus(Status_closed);
    root->SetVersion(CDecimal(L"1.25"));
    root->SetName(L"order-1");
    root->SetCount(3);
    root->SetColour(Colour_blue);
    root->SetShade(Colour_green);

    CTbItem* item = root->GetItem();
    item->SetLabel(L"first");
    item->SetQty(2);
    item->SetCode(L"A1");

    CSmartPtr<CTbSpecialItem> extra(new CTbSpecialItem);
    extra->SetLabel(L"special");
    extra->SetBonus(CDecimal(L"1.5"));
    root->SetExtra(extra.Get());

    CSmartPtr<CTbCircle> shape(new CTbCircle(2.5));
    shape->SetLabel(L"round");
    root->SetShape(shape.Get());
    root->SetSpare(new CTbSquare(CDecimal(4)));

    root->GetTags()->Add(L"alpha");
    root->GetTags()->Add(L"beta gamma");
    root->GetTags()->Add(L"<&> \"quoted\"");
    root->GetLevels()->Add(Colour_red);
    root->GetLevels()->Add(Colour_blue);
    root->GetEntries()->Add(new CTbItem(L"e1"))->SetQty(10);
    root->GetEntries()->Add(new CTbItem(L"e2"))->SetCode(L"X");
    root->GetFigures()->Add(new CTbSquare(CDecimal(L"0.75")));
    root->GetFigures()->Add(new CTbCircle(0.5));

    root->GetAddress()->SetStreet(L"Main Street");
    root->GetAddress()->SetCity(L"Springfield");
    CSmartPtr<CTbContact> contact(new CTbContact);
    contact->SetPhone(L"555-0100");
    root->SetContact(contact.Get());
    CSmartPtr<CTbExtras> extras(new CTbExtras);
    extras->SetHint(L"hint");
    extras->SetMemo(L"memo");
    root->SetExtras(extras.Get());

    root->Note().SetString(L"");
    root->Note().SetNil();
    CSmartPtr<CTbNilItem> nilItem(new CTbNilItem);
    nilItem->SetRef(L"r1");
    nilItem->SetNil(true);
    root->SetNilItem(nilItem.Get());
    CSmartPtr<CTbPrice> price(new CTbPrice);
    price->SetAmount(CDecimal(L"12.5"));
    price->SetCurrency(L"EUR");
    root->SetPrice(price.Get());
    CSmartPtr<CTbRemark> remark(new CTbRemark);
    remark->SetEm(L"note well");
    remark->SetText(L"  and the text after it ");
    root->SetRemark(remark.Get());

    CSmartPtr<CTbOptions> options(new CTbOptions);
    options->GetPieces()->Add(new CTbCircle(3));
    options->GetPieces()->Add(new CTbSquare(CDecimal(2)));
    root->SetOptions(options.Get());

    CSmartPtr<CTbBag> bag(new CTbBag);
    bag->SetAlpha(L"a");
    bag->SetBeta(7);
    bag->SetGamma(Colour_red);
    bag->SetDelta(Colour_green);
    bag->GetInner()->SetLabel(L"in");
    bag->SetOuter(new CTbItem(L"out"));
    root->SetBag(bag.Get());

    CSmartPtr<CTbHolder> holder(new CTbHolder);
    holder->SetTitle(L"held");
    holder->SetOwn(L"mine");
    holder->GetFlags()->SetFlagValue(3);
    holder->GetFlags()->SetMark(L"marked");
    holder->GetPairs()->Add(new CTbPair(L"k1", 1));
    holder->GetPairs()->Add(new CTbPair(L"k2", 2));
    root->SetHolder(holder.Get());

    CSmartPtr<CTbStrictChoice> strict(new CTbStrictChoice);
    strict->GetWords()->Add(L"w1");
    strict->GetWords()->Add(L"w2");
    root->SetStrict(strict.Get());
    return root;
}

std::wstring WriteXml(CXmlObjectBase& object, const CXmlSerializationContext& context, bool formatted) {
    return object.ToXml(false, formatted, EOLType_LF, context);
}

namespace {

// Writes the document as UTF-8 into a fresh file of this process and returns its path.
std::string WriteTempDocument(const std::wstring& xml) {
    static std::atomic<int> counter{0};
    const std::string path = qxxml_test::TempPath("binding-doc" + std::to_string(counter.fetch_add(1)) + ".xml");
    qxxml_test::WriteFile(path, qxxml_test::ToUtf8(xml));
    return path;
}

// Standard output and error of a shell command, with its exit status.
CToolRun Run(const std::string& command) {
    CToolRun run;
    int status = 0;
    run.output = qxxml_test::CommandOutput(command + " 2>&1", status);
    run.status = qxxml_test::ExitCode(status);
    return run;
}

// Documents in the order given; each prints "=== <index>" and then its element names, or an
// error line.
const char kExpatProgram[] = R"PY(
import sys, xml.parsers.expat
for index, path in enumerate(sys.argv[1:]):
    print('=== %d' % index)
    names = []
    def start(name, attributes):
        uri, _, local = name.rpartition('|')
        names.append('{%s}%s' % (uri, local) if uri else local)
    parser = xml.parsers.expat.ParserCreate(namespace_separator='|')
    parser.StartElementHandler = start
    try:
        parser.Parse(open(path, 'rb').read(), True)
        print('\n'.join(names))
    except xml.parsers.expat.ExpatError as error:
        print('ERROR: %s' % error)
)PY";

std::vector<std::string> WriteTempDocuments(const std::vector<std::wstring>& documents) {
    std::vector<std::string> paths;
    for (const std::wstring& xml : documents) paths.push_back(WriteTempDocument(xml));
    return paths;
}

std::string QuotedList(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) list += " '" + path + "'";
    return list;
}

}  // namespace

bool HasXmlLint() { return Run("command -v xmllint").Succeeded(); }

std::vector<CToolRun> ValidateWithSchema(const std::vector<std::wstring>& documents) {
    std::vector<CToolRun> results(documents.size());
    if (documents.empty()) return results;
    const std::vector<std::string> paths = WriteTempDocuments(documents);
    const CToolRun run =
        Run("xmllint --noout --schema '" QXXML_SOURCE_DIR "/tests/core/TestBinding.xsd'" + QuotedList(paths));
    for (size_t i = 0; i < paths.size(); ++i) {
        std::istringstream lines(run.output);
        std::string line;
        while (std::getline(lines, line))
            if (line.find(paths[i]) != std::string::npos) results[i].output += line + "\n";
        results[i].status = results[i].output.find(paths[i] + " validates") != std::string::npos ? 0 : 1;
        std::remove(paths[i].c_str());
    }
    return results;
}

std::vector<CToolRun> ParseWithExpat(const std::vector<std::wstring>& documents) {
    std::vector<CToolRun> results(documents.size());
    if (documents.empty()) return results;
    const std::vector<std::string> paths = WriteTempDocuments(documents);
    CToolRun run;
    run.output = qxxml_test::RunPython(kExpatProgram, QuotedList(paths), run.status);
    for (const std::string& path : paths) std::remove(path.c_str());

    // Split the output at the "=== <index>" lines; a document without its section failed.
    std::istringstream lines(run.output);
    std::string line;
    CToolRun* current = nullptr;
    while (std::getline(lines, line)) {
        if (line.rfind("=== ", 0) == 0) {
            const size_t index = std::stoul(line.substr(4));
            current = index < results.size() ? &results[index] : nullptr;
            if (current) current->status = 0;
            continue;
        }
        if (!current) continue;
        if (line.rfind("ERROR: ", 0) == 0) current->status = 1;
        current->output += line + "\n";
    }
    if (run.status != 0)
        for (CToolRun& result : results) result.output += run.output;
    return results;
}

namespace {
// Canonical XML 2.0 of each document pair (namespace prefixes rewritten, so that a writer's
// own prefixes and default-namespace declarations do not count); per pair "=== i" and either
// "equal" or the first differing lines.
const char kCanonicalProgram[] = R"PY(
import difflib, sys
import xml.etree.ElementTree as ET
paths = sys.argv[1:]
for i in range(0, len(paths), 2):
    a, b = (ET.canonicalize(from_file=p, rewrite_prefixes=True) for p in paths[i:i + 2])
    print("=== %d" % (i // 2))
    if a == b:
        print("equal")
    else:
        split = lambda t: t.replace("><", ">\n<").splitlines()
        print("\n".join(list(difflib.unified_diff(split(a), split(b), lineterm="", n=1))[:30]))
)PY";
}  // namespace

std::vector<CToolRun> CompareCanonical(const std::vector<std::wstring>& expected,
                                       const std::vector<std::wstring>& actual) {
    std::vector<std::wstring> documents;
    for (size_t i = 0; i < expected.size(); ++i) {
        documents.push_back(expected[i]);
        documents.push_back(actual.at(i));
    }
    std::vector<CToolRun> results(expected.size());
    if (documents.empty()) return results;
    const std::vector<std::string> paths = WriteTempDocuments(documents);
    CToolRun run;
    run.output = qxxml_test::RunPython(kCanonicalProgram, QuotedList(paths), run.status);
    for (const std::string& path : paths) std::remove(path.c_str());
    std::istringstream lines(run.output);
    std::string line;
    CToolRun* current = nullptr;
    while (std::getline(lines, line)) {
        if (line.rfind("=== ", 0) == 0) {
            current = &results.at(std::stoul(line.substr(4)));
            current->status = 1;
        } else if (current) {
            if (line == "equal") current->status = 0;
            current->output += line + "\n";
        }
    }
    if (run.status != 0)
        for (CToolRun& result : results) result.output += run.output;
    return results;
}

namespace {
// The generated module cleans its metadata when it is unloaded.
struct CTbModuleCleanup {
    ~CTbModuleCleanup() { ReleaseTbMetaData(); }
} g_moduleCleanup;
}  // namespace

}  // namespace test_binding

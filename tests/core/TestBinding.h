// TestBinding.h - a binding of TestBinding.xsd written by hand the way a schema compiler
// emits one: a class per complex type and model group, a collection class per repeated class
// member, enumeration text functions, class factories, and metadata tables built once per
// class under CXmlGeneratedClass::m_csInit and released when the module unloads.
//
//   CSmartPtr<CTbRoot> root(new CTbRoot);
//   root->SetName(L"order");
//   root->SetColour(Colour_blue);
//   root->GetItem()->SetLabel(L"first");
//   root->SetShape(new CTbCircle(2.5));
//   root->GetAddress()->SetStreet(L"Main Street");
//   std::wstring xml = root->ToXml(false, false, EOLType_LF, context);
//
// The binding covers every member kind the engines walk: primitive, enumeration, class and
// abstract-class members in sequences, choices and all-groups, mandatory, optional and
// repeated; model groups (pseudo elements) with and without attributes, repeated ones too;
// nillable elements and classes; a class with simple content and a mixed one; a derived class
// written with xsi:type; abstract members chosen by a factory from xsi:type; wildcard content
// (xs:any, xs:anyAttribute, elements of xs:anyType) in every group and cardinality. The classes
// without wildcards also have Equals, which compares the whole tree below them (a test
// convenience a generator would not emit).
#pragma once

#include <qxxml/collections/ElementCol.h>
#include <qxxml/collections/TypedCollections.h>
#include <qxxml/collections/XmlCollection.h>
#include <qxxml/collections/XmlValueCollection.h>
#include <qxxml/core/ClassfactoryBase.h>
#include <qxxml/core/XmlGeneratedClass.h>
#include <qxxml/metadata/AttributeInfo.h>
#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/metadata/ParentElementInfo.h>
#include <qxxml/support/SmartPtr.h>
#include <qxxml/values/Decimal.h>
#include <qxxml/values/QxVariant.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace test_binding {

using namespace QxXmlLib10;
using QxXmlLib10Data::CAttributeInfo;
using QxXmlLib10Data::CElementInfo;
using QxXmlLib10Data::CParentElementInfo;

// The schema's target namespace.
extern const wchar_t* const kNamespace;

// <xs:simpleType name="Colour">: red, green, blue.
enum Colour { Colour_red = 0, Colour_green = 1, Colour_blue = 2 };
// <xs:simpleType name="Status">: open, closed.
enum Status { Status_open = 0, Status_closed = 1 };

// Enumeration texts. The to-text functions give null for a value outside the enumeration; the
// from-text functions throw CQxInvalidValueException for a text outside it.
const wchar_t* ColourToString(int value);
int ColourFromString(const wchar_t* text);
const wchar_t* StatusToString(int value);
int StatusFromString(const wchar_t* text);

// Class ids the descriptors hand to CreateTbObject.
enum TbClassId {
    TbClass_Item = 1,
    TbClass_SpecialItem,
    TbClass_NilItem,
    TbClass_Price,
    TbClass_Remark,
    TbClass_Options,
    TbClass_StrictChoice,
    TbClass_Bag,
    TbClass_AbsBag,
    TbClass_Holder,
    TbClass_Address,
    TbClass_Contact,
    TbClass_Extras,
    TbClass_Flags,
    TbClass_Pair,
    TbClass_Circle,
    TbClass_Square,
    TbClass_Root,
    TbClass_OpenChoice,
    TbClass_OpenPick,
    TbClass_OpenAll,
};

// Creates an object of the class id, named `elementName`; null for an unknown id.
CSmartPtr<CXmlObjectBase> CreateTbObject(int classId, const wchar_t* elementName);

// The metadata of one class: built on first use under CXmlGeneratedClass::m_csInit and kept
// until ReleaseTbMetaData (or the module's unload) cleans it.
struct CTbClassTables {
    CParentElementInfo* info = nullptr;
    CElementInfo** elements = nullptr;
    CAttributeInfo** attributes = nullptr;
    std::atomic<bool> built{false};

    void Ensure(void (*build)(CTbClassTables& tables));
    void Clean();
};

// Releases the metadata of every class (CleanMetaData); the next use builds it again.
void ReleaseTbMetaData();
// How many times the metadata of all classes has been built (to see that it is built once).
int GetTbMetaDataBuildCount();

// Declares the overrides every generated class has, and its tables.
#define TB_GENERATED_CLASS_MEMBERS                                                      \
public:                                                                                 \
    CXmlObjectBase* GetBase() override { return this; }                                 \
    std::wstring GetNamespace() const override { return kNamespace; }                   \
    CParentElementInfo* GetClassInfo() override;                                        \
    CElementInfo** GetClassElementInfo() override;                                      \
    CAttributeInfo** GetClassAttributeInfo() override;                                  \
    void AccessProperty(int propertyIndex, bool read, QxVariant& value) override;       \
    void Init() override;                                                               \
    static CTbClassTables ms_tables;                                                    \
    static void BuildTables(CTbClassTables& tables);                                    \
                                                                                        \
protected:                                                                              \
    std::wstring GetTargetNamespace() const override { return kNamespace; }             \
                                                                                        \
public:

// A member with a presence flag (optional, or mandatory but unset until given or read):
// Has/Get/Set, the field and its flag.
#define TB_OPTIONAL(Type, Name, field)                                          \
public:                                                                         \
    bool Has##Name() const { return m_has##Name; }                              \
    const Type& Get##Name() const { return field; }                             \
    void Set##Name(const Type& value) { field = value, m_has##Name = true; }    \
                                                                                \
protected:                                                                      \
    Type field{};                                                               \
    bool m_has##Name = false;                                                   \
                                                                                \
public:

// A member that is always present: Get/Set and the field.
#define TB_VALUE(Type, Name, field)                                             \
public:                                                                         \
    const Type& Get##Name() const { return field; }                             \
    void Set##Name(const Type& value) { field = value; }                        \
                                                                                \
protected:                                                                      \
    Type field{};                                                               \
                                                                                \
public:

// ---------------------------------------------------------------- Item, SpecialItem

// <xs:complexType name="Item">: label, qty?; @code?
class CTbItem : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbItem();
    explicit CTbItem(const std::wstring& label);

    TB_VALUE(std::wstring, Label, m_label)
    TB_OPTIONAL(int32_t, Qty, m_qty)
    TB_OPTIONAL(std::wstring, Code, m_code)
    void ClearQty() { m_hasQty = false; }

    // The element name is part of the comparison.
    virtual bool Equals(const CTbItem& other) const;
    using CXmlObjectBase::GetElementName;
};

// <xs:complexType name="SpecialItem"> extends Item: ..., bonus?
class CTbSpecialItem : public CTbItem {
    TB_GENERATED_CLASS_MEMBERS
    CTbSpecialItem();

    TB_OPTIONAL(CDecimal, Bonus, m_bonus)
    bool Equals(const CTbItem& other) const override;
};

// What the collections of a repeated class member share: items are named after the
// collection's element and written in turn; each collection reads in its own way.
template <class T>
class CTbObjectCol : public CXmlCollection {
public:
    CTbObjectCol(const wchar_t* elementName, int minOccurs, int maxOccurs)
        : CXmlCollection(elementName, kNamespace, minOccurs, maxOccurs) {}

    T* Add(T* item) {
        SetElementName(item, ElementName().c_str());
        AppendItem(item);
        return item;
    }
    CSmartPtr<T> Item(int index) const { return static_cast<T*>(GetNodeAtIndex(index)->m_pItem.Get()); }
    bool Equals(const CTbObjectCol& other) const {
        if (GetCount() != other.GetCount()) return false;
        for (int i = 0; i < GetCount(); ++i)
            if (!Item(i)->Equals(*other.Item(i))) return false;
        return true;
    }

protected:
    void ToXml_Int(CXmlWriter* writer, bool, const wchar_t*, const CXmlSerializationContext& context,
                   bool) const override {
        ValidateCount(context);
        for (CNode* node = m_pHead; node; node = node->m_pNext)
            CXmlObjectBase::ToXml_Int(node->m_pItem.Get(), writer, false, m_strNamespace.c_str(), context, false);
    }
    std::wstring GetTargetNamespace() const override { return kNamespace; }
};

#define TB_OBJECT_COLLECTION(Class, Item)                                                              \
    class Class : public CTbObjectCol<Item> {                                                         \
    public:                                                                                           \
        using CTbObjectCol<Item>::CTbObjectCol;                                                       \
                                                                                                      \
    protected:                                                                                        \
        CXmlElement* FromXml_Int(CXmlElement* parent, CXmlElement* cursor,                            \
                                 const CXmlSerializationContext& context, bool optionalChoiceItem) override; \
    }

// The collection of a repeated Item member (entry, part).
TB_OBJECT_COLLECTION(CTbItemCol, CTbItem);

// ---------------------------------------------------------------- Shape, Circle, Square

// <xs:complexType name="Shape" abstract="true">: label?
class CTbShape : public CXmlGeneratedClass {
public:
    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return kNamespace; }

    TB_OPTIONAL(std::wstring, Label, m_label)
    virtual bool Equals(const CTbShape& other) const;
    using CXmlObjectBase::GetElementName;

protected:
    CTbShape() = default;
    std::wstring GetTargetNamespace() const override { return kNamespace; }
    // The property of Shape itself (index 0), shared by the derived classes.
    bool AccessShapeProperty(int propertyIndex, bool read, QxVariant& value);
};

// <xs:complexType name="Circle"> extends Shape: ..., radius
class CTbCircle : public CTbShape {
    TB_GENERATED_CLASS_MEMBERS
    CTbCircle();
    explicit CTbCircle(double radius);

    TB_VALUE(double, Radius, m_radius)
    bool Equals(const CTbShape& other) const override;
};

// <xs:complexType name="Square"> extends Shape: ..., side (xs:decimal)
class CTbSquare : public CTbShape {
    TB_GENERATED_CLASS_MEMBERS
    CTbSquare();
    explicit CTbSquare(const CDecimal& side);

    TB_VALUE(CDecimal, Side, m_side)
    bool Equals(const CTbShape& other) const override;
};

// Chooses Circle or Square from the element's xsi:type (which must name a type of the target
// namespace); anything else is not taken.
class CTbShapeFactory : public CClassfactoryBase {
public:
    static CSmartPtr<CXmlObjectBase> CreateFromElement(CXmlElement* element);
    // How many elements the factory has been asked about (to see that it decides).
    static int GetCallCount();
};

// The collection of a repeated Shape member (figure, piece): the factory chooses each item.
TB_OBJECT_COLLECTION(CTbShapeCol, CTbShape);

// The collection of a repeated Colour member (level, hue): values held as integers, written
// with their enumeration texts.
class CTbColourCol : public CXmlValueCollection<int32_t> {
public:
    CTbColourCol(const wchar_t* elementName, int minOccurs, int maxOccurs);

    void Add(int32_t colour);
    bool Equals(const CTbColourCol& other) const;

protected:
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                   const CXmlSerializationContext& context, bool optionalChoiceItem) const override;
    void AddFromString(const std::wstring& text) override;
    std::wstring ItemToString(const int32_t& value) const override;
    std::wstring GetTargetNamespace() const override { return kNamespace; }
};

// ---------------------------------------------------------------- nillable and simple content

// <xs:complexType name="NilItem">: value; @ref? -- used in a nillable element.
class CTbNilItem : public CXmlGeneratedClass, public INillable {
    TB_GENERATED_CLASS_MEMBERS
    CTbNilItem();

    TB_VALUE(std::wstring, Value, m_value)
    TB_OPTIONAL(std::wstring, Ref, m_ref)
    bool IsNil() override { return m_bNil; }
    void SetNil(bool nil) override { m_bNil = nil; }
    bool Equals(const CTbNilItem& other) const;

private:
    bool m_bNil = false;
};

// <xs:complexType name="Price">: simple content xs:decimal; @currency? -- used in a nillable
// element: a nil price has no amount.
class CTbPrice : public CXmlGeneratedClass, public INillable {
    TB_GENERATED_CLASS_MEMBERS
    CTbPrice();

    const CDecimal& GetAmount() const { return m_amount; }
    void SetAmount(const CDecimal& amount) { m_amount = amount, m_bNil = false; }
    TB_OPTIONAL(std::wstring, Currency, m_currency)
    bool IsNil() override { return m_bNil; }
    void SetNil(bool nil) override { m_bNil = nil; }
    bool Equals(const CTbPrice& other) const;

private:
    CDecimal m_amount;
    bool m_bNil = false;
};

// <xs:complexType name="Remark" mixed="true">: em?, then the text, kept verbatim.
class CTbRemark : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbRemark();

    TB_OPTIONAL(std::wstring, Em, m_em)
    TB_VALUE(std::wstring, Text, m_text)
    bool Equals(const CTbRemark& other) const;
};

// ---------------------------------------------------------------- model groups (pseudo elements)

// <xs:group name="Address">: street, city?
class CTbAddress : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbAddress();

    TB_OPTIONAL(std::wstring, Street, m_street)  // mandatory, but unset until given or read
    TB_OPTIONAL(std::wstring, City, m_city)
    bool Equals(const CTbAddress& other) const;
};

// <xs:group name="Contact">: a choice of email and phone.
class CTbContact : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbContact();

    bool HasEmail() const { return m_validElement == L"email"; }
    const std::wstring& GetEmail() const { return m_email; }
    void SetEmail(const std::wstring& email);
    bool HasPhone() const { return m_validElement == L"phone"; }
    const std::wstring& GetPhone() const { return m_phone; }
    void SetPhone(const std::wstring& phone);
    bool Equals(const CTbContact& other) const;

private:
    std::wstring m_email;
    std::wstring m_phone;
    std::wstring m_validElement;  // the alternative set, empty for none
};

// <xs:group name="Extras">: hint, memo?
class CTbExtras : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbExtras();

    TB_OPTIONAL(std::wstring, Hint, m_hint)
    TB_OPTIONAL(std::wstring, Memo, m_memo)
    bool Equals(const CTbExtras& other) const;
};

// <xs:group name="Flags">: flagValue?, with the attribute group FlagAttributes (@mark?),
// whose attribute the group lends to the holder's element.
class CTbFlags : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbFlags();

    TB_OPTIONAL(int32_t, FlagValue, m_flagValue)
    TB_OPTIONAL(std::wstring, Mark, m_mark)
    bool Equals(const CTbFlags& other) const;
};

// <xs:group name="Pair">: key, value -- repeated in Holder.
class CTbPair : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbPair();
    CTbPair(const std::wstring& key, int32_t value);

    const std::wstring& GetKey() const { return m_key; }
    int32_t GetValue() const { return m_value; }
    bool Equals(const CTbPair& other) const;

private:
    std::wstring m_key;
    bool m_hasKey = false;
    int32_t m_value = 0;
    bool m_hasValue = false;
};

// The collection of the repeated Pair group (named "Pair"): its items have no element of
// their own, each reads its run of elements among the holder's children.
TB_OBJECT_COLLECTION(CTbPairCol, CTbPair);

// <xs:complexType name="Holder">: title?, Flags, Pair*; @own?, FlagAttributes. Its element
// carries the attributes of its Flags group too, so neither class rejects attributes it does
// not know.
class CTbHolder : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbHolder();

    TB_OPTIONAL(std::wstring, Title, m_title)
    TB_OPTIONAL(std::wstring, Own, m_own)
    CTbFlags* GetFlags() const { return m_flags.Get(); }
    CTbPairCol* GetPairs() const { return m_pairs.Get(); }
    bool Equals(const CTbHolder& other) const;

private:
    CSmartPtr<CTbFlags> m_flags;
    CSmartPtr<CTbPairCol> m_pairs;
};

// ---------------------------------------------------------------- choice and all classes

// <xs:complexType name="Options">: a choice of flag, mode, child, form, word+, hue+, part+,
// piece+.
class CTbOptions : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbOptions();

    // Each setter selects its alternative; setting a second one throws
    // CQxInvalidStateException (AccessProperty, used by reading, does not check).
    void SetFlag(bool flag);
    void SetMode(int32_t mode);
    void SetChild(CTbItem* child);
    void SetForm(CTbShape* form);
    const std::wstring& GetValidElement() const { return m_validElement; }
    bool GetFlag() const { return m_flag; }
    int32_t GetMode() const { return m_mode; }
    CTbItem* GetChild() const { return m_child.Get(); }
    CTbShape* GetForm() const { return m_form.Get(); }
    CstringCol* GetWords() const { return m_words.Get(); }
    CTbColourCol* GetHues() const { return m_hues.Get(); }
    CTbItemCol* GetParts() const { return m_parts.Get(); }
    CTbShapeCol* GetPieces() const { return m_pieces.Get(); }
    bool Equals(const CTbOptions& other) const;

private:
    void Select(const wchar_t* name);

    bool m_flag = false;
    bool m_hasFlag = false;
    int32_t m_mode = 0;
    bool m_hasMode = false;
    CSmartPtr<CTbItem> m_child;
    CSmartPtr<CTbShape> m_form;
    CSmartPtr<CstringCol> m_words;
    CSmartPtr<CTbColourCol> m_hues;
    CSmartPtr<CTbItemCol> m_parts;
    CSmartPtr<CTbShapeCol> m_pieces;
    std::wstring m_validElement;
};

// <xs:complexType name="StrictChoice">: a choice of word{1,3} and part+, with no member that
// may be left out.
class CTbStrictChoice : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbStrictChoice();

    CstringCol* GetWords() const { return m_words.Get(); }
    CTbItemCol* GetParts() const { return m_parts.Get(); }
    bool Equals(const CTbStrictChoice& other) const;

private:
    CSmartPtr<CstringCol> m_words;
    CSmartPtr<CTbItemCol> m_parts;
};

// <xs:complexType name="Bag">: xs:all of alpha, beta?, gamma, delta?, inner, outer?
class CTbBag : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbBag();

    TB_OPTIONAL(std::wstring, Alpha, m_alpha)
    TB_OPTIONAL(int32_t, Beta, m_beta)
    TB_OPTIONAL(int32_t, Gamma, m_gamma)
    TB_OPTIONAL(int32_t, Delta, m_delta)
    CTbItem* GetInner() const { return m_inner.Get(); }
    CTbItem* GetOuter() const { return m_outer.Get(); }
    void SetOuter(CTbItem* outer);
    bool Equals(const CTbBag& other) const;

private:
    CSmartPtr<CTbItem> m_inner;
    CSmartPtr<CTbItem> m_outer;
};

// <xs:complexType name="AbsBag">: xs:all of shape, spare? (abstract members of an all-group
// are written, never read).
class CTbAbsBag : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbAbsBag();

    CTbShape* GetShape() const { return m_shape.Get(); }
    void SetShape(CTbShape* shape);
    CTbShape* GetSpare() const { return m_spare.Get(); }
    void SetSpare(CTbShape* spare);

private:
    CSmartPtr<CTbShape> m_shape;
    CSmartPtr<CTbShape> m_spare;
};

// ---------------------------------------------------------------- the document element

// <xs:element name="Root" type="tb:Root"/>; see TestBinding.xsd for the content model.
class CTbRoot : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbRoot();

    // Property indexes (element members in schema order, then the attributes).
    enum Property {
        Prop_name, Prop_count, Prop_colour, Prop_shade, Prop_item, Prop_extra, Prop_shape, Prop_spare,
        Prop_tag, Prop_level, Prop_entry, Prop_figure, Prop_address, Prop_contact, Prop_extras, Prop_note,
        Prop_nilItem, Prop_price, Prop_remark, Prop_options, Prop_bag, Prop_holder, Prop_strict,
        Prop_id, Prop_status, Prop_version,
    };

    TB_OPTIONAL(std::wstring, Name, m_name)
    TB_OPTIONAL(int32_t, Count, m_count)
    TB_OPTIONAL(int32_t, Colour, m_colour)
    TB_OPTIONAL(int32_t, Shade, m_shade)
    CTbItem* GetItem() const { return m_item.Get(); }
    void SetItem(CTbItem* item);
    CTbSpecialItem* GetExtra() const { return m_extra.Get(); }
    void SetExtra(CTbSpecialItem* extra);
    CTbShape* GetShape() const { return m_shape.Get(); }
    void SetShape(CTbShape* shape);
    CTbShape* GetSpare() const { return m_spare.Get(); }
    void SetSpare(CTbShape* spare);
    CstringCol* GetTags() const { return m_tags.Get(); }
    CTbColourCol* GetLevels() const { return m_levels.Get(); }
    CTbItemCol* GetEntries() const { return m_entries.Get(); }
    CTbShapeCol* GetFigures() const { return m_figures.Get(); }
    CTbAddress* GetAddress() const { return m_address.Get(); }
    CTbContact* GetContact() const { return m_contact.Get(); }
    void SetContact(CTbContact* contact) { m_contact = contact; }
    CTbExtras* GetExtras() const { return m_extras.Get(); }
    void SetExtras(CTbExtras* extras) { m_extras = extras; }
    // note: absent (invalid), nil, or a string.
    const QxVariant& GetNote() const { return m_note; }
    QxVariant& Note() { return m_note; }
    CTbNilItem* GetNilItem() const { return m_nilItem.Get(); }
    void SetNilItem(CTbNilItem* nilItem);
    CTbPrice* GetPrice() const { return m_price.Get(); }
    void SetPrice(CTbPrice* price);
    CTbRemark* GetRemark() const { return m_remark.Get(); }
    void SetRemark(CTbRemark* remark);
    CTbOptions* GetOptions() const { return m_options.Get(); }
    void SetOptions(CTbOptions* options);
    CTbBag* GetBag() const { return m_bag.Get(); }
    void SetBag(CTbBag* bag);
    CTbHolder* GetHolder() const { return m_holder.Get(); }
    void SetHolder(CTbHolder* holder);
    CTbStrictChoice* GetStrict() const { return m_strict.Get(); }
    void SetStrict(CTbStrictChoice* strict);
    TB_VALUE(int32_t, Id, m_id)
    TB_OPTIONAL(int32_t, Status, m_status)
    TB_OPTIONAL(CDecimal, Version, m_version)

    bool Equals(const CTbRoot& other) const;
    using CXmlObjectBase::GetElementName;

private:
    CSmartPtr<CTbItem> m_item;
    CSmartPtr<CTbSpecialItem> m_extra;
    CSmartPtr<CTbShape> m_shape;
    CSmartPtr<CTbShape> m_spare;
    CSmartPtr<CstringCol> m_tags;
    CSmartPtr<CTbColourCol> m_levels;
    CSmartPtr<CTbItemCol> m_entries;
    CSmartPtr<CTbShapeCol> m_figures;
    CSmartPtr<CTbAddress> m_address;
    CSmartPtr<CTbContact> m_contact;
    CSmartPtr<CTbExtras> m_extras;
    QxVariant m_note;
    CSmartPtr<CTbNilItem> m_nilItem;
    CSmartPtr<CTbPrice> m_price;
    CSmartPtr<CTbRemark> m_remark;
    CSmartPtr<CTbOptions> m_options;
    CSmartPtr<CTbBag> m_bag;
    CSmartPtr<CTbHolder> m_holder;
    CSmartPtr<CTbStrictChoice> m_strict;
};

// ---------------------------------------------------------------- wildcard content

// The second namespace of the schema's wildcards.
extern const wchar_t* const kNamespaceA;

// <xs:complexType name="OpenChoice">: a choice of memo (xs:anyType) and any element of
// urn:qxxml:test:a, repeated.
class CTbOpenChoice : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbOpenChoice();

    CSmartPtr<CElement> GetMemo() const { return m_memo; }
    void SetMemo(CElement* memo) { m_memo = memo; }
    CElementCol* GetAny() const { return m_any.Get(); }

private:
    CSmartPtr<CElement> m_memo;
    CSmartPtr<CElementCol> m_any;
};

// <xs:complexType name="OpenPick">: a choice of one element of another namespace and blob+
// (xs:anyType).
class CTbOpenPick : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbOpenPick();

    CSmartPtr<CElement> GetOther() const { return m_other; }
    void SetOther(CElement* other) { m_other = other; }
    CElementCol* GetBlobs() const { return m_blobs.Get(); }

private:
    CSmartPtr<CElement> m_other;
    CSmartPtr<CElementCol> m_blobs;
};

// <xs:complexType name="OpenAll">: xs:all of need, maybe?, rest? (all xs:anyType; rest is
// held in a collection, which takes every element of the target namespace left at its turn).
class CTbOpenAll : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbOpenAll();

    CSmartPtr<CElement> GetNeed() const { return m_need; }
    CSmartPtr<CElement> GetMaybe() const { return m_maybe; }
    void SetMaybe(CElement* maybe) { m_maybe = maybe; }
    CElementCol* GetRest() const { return m_rest.Get(); }

private:
    CSmartPtr<CElement> m_need;
    CSmartPtr<CElement> m_maybe;
    CSmartPtr<CElementCol> m_rest;
};

// <xs:element name="Open">: title, any ##other, payload, extra?, any of urn:a/urn:b?, blob*,
// choice, pick?, all, any ##local*; @id?, anyAttribute ##other.
class CTbOpen : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbOpen();

    TB_OPTIONAL(std::wstring, Title, m_title)
    TB_OPTIONAL(int32_t, Id, m_id)
    CSmartPtr<CElement> GetOther() const { return m_other; }
    CSmartPtr<CElement> GetPayload() const { return m_payload; }
    CSmartPtr<CElement> GetExtra() const { return m_extra; }
    void SetExtra(CElement* extra) { m_extra = extra; }
    CSmartPtr<CElement> GetListed() const { return m_listed; }
    void SetListed(CElement* listed) { m_listed = listed; }
    CElementCol* GetBlobs() const { return m_blobs.Get(); }
    CTbOpenChoice* GetChoice() const { return m_choice.Get(); }
    CTbOpenPick* GetPick() const { return m_pick.Get(); }
    void SetPick(CTbOpenPick* pick);
    CTbOpenAll* GetAll() const { return m_all.Get(); }
    CElementCol* GetLocals() const { return m_locals.Get(); }
    CAttributeCol* GetAnyAttributes() const { return m_anyAttributes.Get(); }

private:
    CSmartPtr<CElement> m_other;
    CSmartPtr<CElement> m_payload;
    CSmartPtr<CElement> m_extra;
    CSmartPtr<CElement> m_listed;
    CSmartPtr<CElementCol> m_blobs;
    CSmartPtr<CTbOpenChoice> m_choice;
    CSmartPtr<CTbOpenPick> m_pick;
    CSmartPtr<CTbOpenAll> m_all;
    CSmartPtr<CElementCol> m_locals;
    CSmartPtr<CAttributeCol> m_anyAttributes;
};

#undef TB_GENERATED_CLASS_MEMBERS
#undef TB_OPTIONAL
#undef TB_VALUE
#undef TB_OBJECT_COLLECTION

// ---------------------------------------------------------------- engine probes

// A generated class whose description and tables each test supplies, with variant properties
// and a log of property accesses ("r2" read of property 2, "w0" write of property 0); for the
// engine paths that no class of the schema takes. It owns its tables (CleanMetaData).
class CTbProbe : public CXmlGeneratedClass {
public:
    CTbProbe(CParentElementInfo* info, std::initializer_list<CElementInfo*> elements,
             std::initializer_list<CAttributeInfo*> attributes = {}, size_t propertyCount = 8);
    ~CTbProbe() override;

    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return kNamespace; }
    CParentElementInfo* GetClassInfo() override { return m_info; }
    CElementInfo** GetClassElementInfo() override { return m_elements; }
    CAttributeInfo** GetClassAttributeInfo() override { return m_attributes; }
    void AccessProperty(int propertyIndex, bool read, QxVariant& value) override;
    void Init() override { ++m_initCount; }

    using CXmlGeneratedClass::DoesElementContainOptionalElements;
    using CXmlGeneratedClass::FromXml_Int;
    using CXmlGeneratedClass::IsElementInList;
    using CXmlGeneratedClass::ToXml_Int;

    std::vector<QxVariant> m_properties;
    std::vector<std::wstring> m_log;
    int m_initCount = 0;

protected:
    std::wstring GetTargetNamespace() const override { return kNamespace; }

private:
    CParentElementInfo* m_info;
    CElementInfo** m_elements;
    CAttributeInfo** m_attributes;
};

// The description of a probe of the group, named "Probe" in the binding's namespace.
CParentElementInfo* ProbeInfo(QxXmlLib10Data::XmlElementGroupType group, int textProperty = -1,
                              ItemType textType = ItemType_invalid);
// A collection of strings of the binding's namespace, kept as written.
CstringCol* NewStringCol(const wchar_t* elementName, int minOccurs, int maxOccurs);

// A class of the binding with the engine's protected operations opened for a test.
template <class T>
class CTbExposed : public T {
public:
    using T::T;
    using T::DoesElementContainOptionalElements;
    using T::FromXml_Int;
    using T::IsElementInList;
    using T::ToXml_Int;
};

// Runs `write` between StartDocument and EndDocument of a text writer (no formatting, LF) and
// returns the text.
std::wstring WriteWithWriter(const std::function<void(CXmlWriter* writer)>& write);

// ---------------------------------------------------------------- what the tests build and check

// A Root with every member set, and one with only what the schema requires.
CSmartPtr<CTbRoot> MakeFullRoot();
CSmartPtr<CTbRoot> MakeMinimalRoot();

// The text of ToXml (no declaration, LF line ends).
std::wstring WriteXml(CXmlObjectBase& object, const CXmlSerializationContext& context, bool formatted = false);

// A run of an outside program on a written document.
struct CToolRun {
    int status = -1;
    std::string output;
    bool Succeeded() const { return status == 0; }
};

// Whether xmllint (Debian libxml2-utils) is installed.
bool HasXmlLint();
// xmllint --schema TestBinding.xsd on each document, given to it as UTF-8, in one run; one
// result per document (status 0 when it validates, the lines xmllint wrote about it).
std::vector<CToolRun> ValidateWithSchema(const std::vector<std::wstring>& documents);
// python3's expat with namespace processing on each document, in one run; per document status
// 0 and, per element in document order, a line "{uri}local" (or "local") when it is
// well-formed and namespace-correct, otherwise status 1 and the error.
std::vector<CToolRun> ParseWithExpat(const std::vector<std::wstring>& documents);

// Whether each pair of documents has the same Canonical XML 2.0 form with namespace prefixes
// rewritten (python3's xml.etree), in one run; per pair status 0 when equal, otherwise the
// first differing lines.
std::vector<CToolRun> CompareCanonical(const std::vector<std::wstring>& expected,
                                       const std::vector<std::wstring>& actual);

}  // namespace test_binding

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
// written with xsi:type; abstract members chosen by a factory from xsi:type. Every class also
// has Equals, which compares the whole tree below it (a test convenience a generator would not
// emit).
#pragma once

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

// ---------------------------------------------------------------- Item, SpecialItem

// <xs:complexType name="Item">: label, qty?; @code?
class CTbItem : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbItem();
    explicit CTbItem(const std::wstring& label);

    const std::wstring& GetLabel() const { return m_label; }
    void SetLabel(const std::wstring& label) { m_label = label; }
    bool HasQty() const { return m_hasQty; }
    int32_t GetQty() const { return m_qty; }
    void SetQty(int32_t qty) { m_qty = qty, m_hasQty = true; }
    void ClearQty() { m_hasQty = false; }
    bool HasCode() const { return m_hasCode; }
    const std::wstring& GetCode() const { return m_code; }
    void SetCode(const std::wstring& code) { m_code = code, m_hasCode = true; }

    // The element name is part of the comparison.
    virtual bool Equals(const CTbItem& other) const;
    using CXmlObjectBase::GetElementName;

protected:
    std::wstring m_label;
    int32_t m_qty = 0;
    bool m_hasQty = false;
    std::wstring m_code;
    bool m_hasCode = false;
};

// <xs:complexType name="SpecialItem"> extends Item: ..., bonus?
class CTbSpecialItem : public CTbItem {
    TB_GENERATED_CLASS_MEMBERS
    CTbSpecialItem();

    bool HasBonus() const { return m_hasBonus; }
    const CDecimal& GetBonus() const { return m_bonus; }
    void SetBonus(const CDecimal& bonus) { m_bonus = bonus, m_hasBonus = true; }

    bool Equals(const CTbItem& other) const override;

private:
    CDecimal m_bonus;
    bool m_hasBonus = false;
};

// The collection of a repeated Item member (entry, part): items are named after the
// collection's element.
class CTbItemCol : public CXmlCollection {
public:
    CTbItemCol(const wchar_t* elementName, int minOccurs, int maxOccurs);

    CTbItem* Add(CTbItem* item);
    CSmartPtr<CTbItem> Item(int index) const;
    bool Equals(const CTbItemCol& other) const;

protected:
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                   const CXmlSerializationContext& context, bool optionalChoiceItem) const override;
    CXmlElement* FromXml_Int(CXmlElement* parent, CXmlElement* cursor, const CXmlSerializationContext& context,
                             bool optionalChoiceItem) override;
    std::wstring GetTargetNamespace() const override { return kNamespace; }
};

// ---------------------------------------------------------------- Shape, Circle, Square

// <xs:complexType name="Shape" abstract="true">: label?
class CTbShape : public CXmlGeneratedClass {
public:
    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return kNamespace; }

    bool HasLabel() const { return m_hasLabel; }
    const std::wstring& GetLabel() const { return m_label; }
    void SetLabel(const std::wstring& label) { m_label = label, m_hasLabel = true; }

    virtual bool Equals(const CTbShape& other) const;
    using CXmlObjectBase::GetElementName;

protected:
    CTbShape() = default;
    std::wstring GetTargetNamespace() const override { return kNamespace; }
    // The property of Shape itself (index 0), shared by the derived classes.
    bool AccessShapeProperty(int propertyIndex, bool read, QxVariant& value);

    std::wstring m_label;
    bool m_hasLabel = false;
};

// <xs:complexType name="Circle"> extends Shape: ..., radius
class CTbCircle : public CTbShape {
    TB_GENERATED_CLASS_MEMBERS
    CTbCircle();
    explicit CTbCircle(double radius);

    double GetRadius() const { return m_radius; }
    void SetRadius(double radius) { m_radius = radius; }
    bool Equals(const CTbShape& other) const override;

private:
    double m_radius = 0;
};

// <xs:complexType name="Square"> extends Shape: ..., side (xs:decimal)
class CTbSquare : public CTbShape {
    TB_GENERATED_CLASS_MEMBERS
    CTbSquare();
    explicit CTbSquare(const CDecimal& side);

    const CDecimal& GetSide() const { return m_side; }
    void SetSide(const CDecimal& side) { m_side = side; }
    bool Equals(const CTbShape& other) const override;

private:
    CDecimal m_side;
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
class CTbShapeCol : public CXmlCollection {
public:
    CTbShapeCol(const wchar_t* elementName, int minOccurs, int maxOccurs);

    CTbShape* Add(CTbShape* shape);
    CSmartPtr<CTbShape> Item(int index) const;
    bool Equals(const CTbShapeCol& other) const;

protected:
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                   const CXmlSerializationContext& context, bool optionalChoiceItem) const override;
    CXmlElement* FromXml_Int(CXmlElement* parent, CXmlElement* cursor, const CXmlSerializationContext& context,
                             bool optionalChoiceItem) override;
    std::wstring GetTargetNamespace() const override { return kNamespace; }
};

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

    const std::wstring& GetValue() const { return m_value; }
    void SetValue(const std::wstring& value) { m_value = value; }
    bool HasRef() const { return m_hasRef; }
    const std::wstring& GetRef() const { return m_ref; }
    void SetRef(const std::wstring& ref) { m_ref = ref, m_hasRef = true; }
    bool IsNil() override { return m_bNil; }
    void SetNil(bool nil) override { m_bNil = nil; }
    bool Equals(const CTbNilItem& other) const;

private:
    std::wstring m_value;
    std::wstring m_ref;
    bool m_hasRef = false;
    bool m_bNil = false;
};

// <xs:complexType name="Price">: simple content xs:decimal; @currency? -- used in a nillable
// element: a nil price has no amount.
class CTbPrice : public CXmlGeneratedClass, public INillable {
    TB_GENERATED_CLASS_MEMBERS
    CTbPrice();

    const CDecimal& GetAmount() const { return m_amount; }
    void SetAmount(const CDecimal& amount) { m_amount = amount, m_bNil = false; }
    bool HasCurrency() const { return m_hasCurrency; }
    const std::wstring& GetCurrency() const { return m_currency; }
    void SetCurrency(const std::wstring& currency) { m_currency = currency, m_hasCurrency = true; }
    bool IsNil() override { return m_bNil; }
    void SetNil(bool nil) override { m_bNil = nil; }
    bool Equals(const CTbPrice& other) const;

private:
    CDecimal m_amount;
    bool m_bNil = false;
    std::wstring m_currency;
    bool m_hasCurrency = false;
};

// <xs:complexType name="Remark" mixed="true">: em?, then the text, kept verbatim.
class CTbRemark : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbRemark();

    bool HasEm() const { return m_hasEm; }
    const std::wstring& GetEm() const { return m_em; }
    void SetEm(const std::wstring& em) { m_em = em, m_hasEm = true; }
    const std::wstring& GetText() const { return m_text; }
    void SetText(const std::wstring& text) { m_text = text; }
    bool Equals(const CTbRemark& other) const;

private:
    std::wstring m_em;
    bool m_hasEm = false;
    std::wstring m_text;
};

// ---------------------------------------------------------------- model groups (pseudo elements)

// <xs:group name="Address">: street, city?
class CTbAddress : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbAddress();

    const std::wstring& GetStreet() const { return m_street; }
    void SetStreet(const std::wstring& street) { m_street = street, m_hasStreet = true; }
    bool HasStreet() const { return m_hasStreet; }
    bool HasCity() const { return m_hasCity; }
    const std::wstring& GetCity() const { return m_city; }
    void SetCity(const std::wstring& city) { m_city = city, m_hasCity = true; }
    bool Equals(const CTbAddress& other) const;

private:
    std::wstring m_street;
    bool m_hasStreet = false;  // mandatory, but unset until given or read
    std::wstring m_city;
    bool m_hasCity = false;
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

    const std::wstring& GetHint() const { return m_hint; }
    void SetHint(const std::wstring& hint) { m_hint = hint, m_hasHint = true; }
    bool HasMemo() const { return m_hasMemo; }
    const std::wstring& GetMemo() const { return m_memo; }
    void SetMemo(const std::wstring& memo) { m_memo = memo, m_hasMemo = true; }
    bool Equals(const CTbExtras& other) const;

private:
    std::wstring m_hint;
    bool m_hasHint = false;
    std::wstring m_memo;
    bool m_hasMemo = false;
};

// <xs:group name="Flags">: flagValue?, with the attribute group FlagAttributes (@mark?),
// whose attribute the group lends to the holder's element.
class CTbFlags : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbFlags();

    bool HasFlagValue() const { return m_hasFlagValue; }
    int32_t GetFlagValue() const { return m_flagValue; }
    void SetFlagValue(int32_t value) { m_flagValue = value, m_hasFlagValue = true; }
    bool HasMark() const { return m_hasMark; }
    const std::wstring& GetMark() const { return m_mark; }
    void SetMark(const std::wstring& mark) { m_mark = mark, m_hasMark = true; }
    bool Equals(const CTbFlags& other) const;

private:
    int32_t m_flagValue = 0;
    bool m_hasFlagValue = false;
    std::wstring m_mark;
    bool m_hasMark = false;
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

// The collection of the repeated Pair group: its items have no element of their own, each
// reads its run of elements among the holder's children.
class CTbPairCol : public CXmlCollection {
public:
    CTbPairCol();

    CTbPair* Add(CTbPair* pair);
    CSmartPtr<CTbPair> Item(int index) const;
    bool Equals(const CTbPairCol& other) const;

protected:
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const wchar_t* elementNamespace,
                   const CXmlSerializationContext& context, bool optionalChoiceItem) const override;
    CXmlElement* FromXml_Int(CXmlElement* parent, CXmlElement* cursor, const CXmlSerializationContext& context,
                             bool optionalChoiceItem) override;
    std::wstring GetTargetNamespace() const override { return kNamespace; }
};

// <xs:complexType name="Holder">: title?, Flags, Pair*; @own?, FlagAttributes. Its element
// carries the attributes of its Flags group too, so neither class rejects attributes it does
// not know.
class CTbHolder : public CXmlGeneratedClass {
    TB_GENERATED_CLASS_MEMBERS
    CTbHolder();

    bool HasTitle() const { return m_hasTitle; }
    const std::wstring& GetTitle() const { return m_title; }
    void SetTitle(const std::wstring& title) { m_title = title, m_hasTitle = true; }
    CTbFlags* GetFlags() const { return m_flags.Get(); }
    CTbPairCol* GetPairs() const { return m_pairs.Get(); }
    bool HasOwn() const { return m_hasOwn; }
    const std::wstring& GetOwn() const { return m_own; }
    void SetOwn(const std::wstring& own) { m_own = own, m_hasOwn = true; }
    bool Equals(const CTbHolder& other) const;

private:
    std::wstring m_title;
    bool m_hasTitle = false;
    CSmartPtr<CTbFlags> m_flags;
    CSmartPtr<CTbPairCol> m_pairs;
    std::wstring m_own;
    bool m_hasOwn = false;
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

    const std::wstring& GetAlpha() const { return m_alpha; }
    void SetAlpha(const std::wstring& alpha) { m_alpha = alpha, m_hasAlpha = true; }
    bool HasAlpha() const { return m_hasAlpha; }
    bool HasBeta() const { return m_hasBeta; }
    int32_t GetBeta() const { return m_beta; }
    void SetBeta(int32_t beta) { m_beta = beta, m_hasBeta = true; }
    int32_t GetGamma() const { return m_gamma; }
    void SetGamma(int32_t gamma) { m_gamma = gamma, m_hasGamma = true; }
    bool HasDelta() const { return m_hasDelta; }
    int32_t GetDelta() const { return m_delta; }
    void SetDelta(int32_t delta) { m_delta = delta, m_hasDelta = true; }
    CTbItem* GetInner() const { return m_inner.Get(); }
    CTbItem* GetOuter() const { return m_outer.Get(); }
    void SetOuter(CTbItem* outer);
    bool Equals(const CTbBag& other) const;

private:
    std::wstring m_alpha;
    bool m_hasAlpha = false;
    int32_t m_beta = 0;
    bool m_hasBeta = false;
    int32_t m_gamma = 0;
    bool m_hasGamma = false;
    int32_t m_delta = 0;
    bool m_hasDelta = false;
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

    const std::wstring& GetName() const { return m_name; }
    void SetName(const std::wstring& name) { m_name = name, m_hasName = true; }
    bool HasCount() const { return m_hasCount; }
    int32_t GetCount() const { return m_count; }
    void SetCount(int32_t count) { m_count = count, m_hasCount = true; }
    int32_t GetColour() const { return m_colour; }
    void SetColour(int32_t colour) { m_colour = colour, m_hasColour = true; }
    bool HasShade() const { return m_hasShade; }
    int32_t GetShade() const { return m_shade; }
    void SetShade(int32_t shade) { m_shade = shade, m_hasShade = true; }
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
    int32_t GetId() const { return m_id; }
    void SetId(int32_t id) { m_id = id; }
    int32_t GetStatus() const { return m_status; }
    bool HasStatus() const { return m_hasStatus; }
    void SetStatus(int32_t status) { m_status = status, m_hasStatus = true; }
    bool HasVersion() const { return m_hasVersion; }
    const CDecimal& GetVersion() const { return m_version; }
    void SetVersion(const CDecimal& version) { m_version = version, m_hasVersion = true; }

    bool Equals(const CTbRoot& other) const;
    using CXmlObjectBase::GetElementName;

private:
    std::wstring m_name;
    bool m_hasName = false;
    int32_t m_count = 0;
    bool m_hasCount = false;
    int32_t m_colour = 0;
    bool m_hasColour = false;
    int32_t m_shade = 0;
    bool m_hasShade = false;
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
    int32_t m_id = 0;
    int32_t m_status = Status_open;
    bool m_hasStatus = false;
    CDecimal m_version;
    bool m_hasVersion = false;
};

#undef TB_GENERATED_CLASS_MEMBERS

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

}  // namespace test_binding

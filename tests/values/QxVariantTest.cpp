// Tests of QxVariant: the three states, ownership of heap payloads, references held on
// objects and collections, copies and moves, and getters' preconditions. The text of every
// kind, with and without a format, is in the case tables (ValueTablesTest.cpp).

#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/BigInteger.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/values/Conversions.h>
#include <qxxml/values/DateTime.h>
#include <qxxml/values/DateTimeSpan.h>
#include <qxxml/values/Decimal.h>
#include <qxxml/values/QxVariant.h>

#include "common/Messages.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace QxXmlLib10;
using qxxml_test::MessageOf;

namespace {

constexpr auto kCollapse = CWhitespaceUtils::WhitespaceRule_Collapse;

// An object (or collection) that reports its destruction, so reference counts can be followed exactly.
template <class Base>
class CCounted : public Base {
public:
    explicit CCounted(int* destroyed) : m_destroyed(destroyed) {}
    ~CCounted() override { ++*m_destroyed; }
    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return L""; }

protected:
    std::wstring GetTargetNamespace() const override { return L""; }
    void ToXml_Int(CXmlWriter*, bool, const wchar_t*, const CXmlSerializationContext&, bool) const override {}
    CXmlElement* FromXml_Int(CXmlElement*, CXmlElement* firstChild, const CXmlSerializationContext&, bool) override {
        return firstChild;
    }

private:
    int* m_destroyed;
};
using CCountedObject = CCounted<CXmlObjectBase>;

class CCountedCollection : public CCounted<CXmlCollectionBase> {
public:
    using CCounted::CCounted;
    void ValidateCount(const CXmlSerializationContext&) const override {}
    int GetCount() const override { return 0; }
    void Clear() override {}
    void Remove(int) override {}
};

// The reference count of an object, read without changing it.
int32_t RefCount(CXmlObjectBase* object) {
    object->AddRef();
    return object->Release();
}

}  // namespace

// ------------------------------------------------------------------ states

TEST(QxVariant, NilFlagFollowsTheKindRules) {
    QxVariant value;
    EXPECT_FALSE(value.IsValid());
    value.SetNil();  // nil alone makes an invalid variant valid
    EXPECT_TRUE(value.IsValid());
    EXPECT_EQ(value.m_type, ItemType_invalid);
    value.Clear();  // and Clear leaves an invalid nil variant alone
    EXPECT_TRUE(value.m_bNil);
    value.SetI4(3);  // a setter on an invalid nil variant keeps the flag
    EXPECT_TRUE(value.m_bNil);
    EXPECT_EQ(value.GetI4(), 3);

    value.SetI4(5);
    value.SetNil();  // nil keeps the kind; the next setter clears the flag
    EXPECT_EQ(value.m_type, ItemType_i4);
    EXPECT_EQ(value.ToString(nullptr), L"0");  // an inline kind writes its zeroed value
    value.SetI4(6);
    EXPECT_FALSE(value.m_bNil);

    value.SetString(L"a");
    value.SetString(L"b");  // same heap kind: assigned in place
    EXPECT_EQ(value.GetStringRef(), L"b");
    value.SetNil();  // drops the heap payload but keeps the kind
    EXPECT_EQ(value.m_type, ItemType_string);
    EXPECT_EQ(value.m_pString, nullptr);
    EXPECT_EQ(MessageOf([&] { value.GetString(); }), L"m_type == ItemType_string && m_pString != 0");
    QxVariant copy(value);
    EXPECT_TRUE(copy.m_bNil);
    EXPECT_EQ(copy.m_type, ItemType_string);
    EXPECT_EQ(copy.m_pString, nullptr);
    value.SetString(L"c");
    EXPECT_FALSE(value.m_bNil);
    EXPECT_EQ(value.GetString(), L"c");

    value.SetNil();  // the nil flag is the caller's to test: a heap kind has no value to write
    EXPECT_THROW(value.ToString(nullptr), CQxInvalidStateException);
    value.Clear();
    EXPECT_FALSE(value.m_bNil);
    EXPECT_FALSE(value.IsValid());
    value.SetDecimal(CDecimal(L"1.5"));
    value.SetInvalid();
    EXPECT_FALSE(value.IsValid());
    EXPECT_EQ(value.m_type, ItemType_invalid);
}

// ------------------------------------------------------------------ getters

TEST(QxVariant, GettersOfAnotherKindThrowTheirCondition) {
    QxVariant v;
    v.SetI4(1);
    EXPECT_THROW(v.GetI8(), CQxInvalidStateException);
    EXPECT_EQ(MessageOf([&] { v.GetI1(); }), L"m_type == ItemType_i1");
    EXPECT_EQ(MessageOf([&] { v.GetDecimal(); }), L"m_type == ItemType_decimal && m_pDecimal != 0");
    EXPECT_EQ(MessageOf([&] { v.GetInteger(); }), L"m_type == ItemType_integer && m_pBigInteger != 0");
    EXPECT_EQ(MessageOf([&] { v.GetXmlObject(); }), L"m_type == ItemType_XmlObjectBase");
    EXPECT_EQ(MessageOf([&] { v.GetXmlCollection(); }), L"m_type == ItemType_XmlCollection && m_pXmlCol != 0");
    // The same storage under another name is still another kind.
    v.SetDate(CDateTime(L"2024-05-06T00:00:00"));
    EXPECT_EQ(MessageOf([&] { v.GetDateTime(); }), L"m_type == ItemType_datetime");
    v.SetYear(5);
    EXPECT_EQ(MessageOf([&] { v.GetUI2(); }), L"m_type == ItemType_ui2");
}

// ------------------------------------------------------------------ copies

TEST(QxVariant, CopiesAreDeepForEveryHeapKind) {
    const std::pair<ItemType, const wchar_t*> samples[] = {
        {ItemType_hexBinary, L"0A0B"},
        {ItemType_base64Binary, L"AKt/"},
        {ItemType_duration, L"P1Y2M3DT4H5M6.5S"},
        {ItemType_yearMonth, L"2024-05"},
        {ItemType_monthDay, L"--05-06"},
        {ItemType_date, L"2024-05-06Z"},
        {ItemType_datetime, L"2024-05-06T07:08:09.123+02:00"},
        {ItemType_time, L"07:08:09"},
        {ItemType_string, L"text"},
        {ItemType_decimal, L"-12.5"},
        {ItemType_integer, L"-98765432109876543210"},
    };
    for (const auto& [type, text] : samples) {
        SCOPED_TRACE(ItemTypeName(type));
        QxVariant source;
        source.FromString(text, type, kCollapse);
        const std::wstring expected = source.ToString(nullptr);
        QxVariant copy(source);
        QxVariant assigned;
        assigned.SetI4(1);
        assigned = source;
        EXPECT_EQ(copy.m_type, type);
        source.SetInvalid();  // frees the source's payload: the copies must not share it
        EXPECT_EQ(copy.ToString(nullptr), expected);
        EXPECT_EQ(assigned.ToString(nullptr), expected);
    }
}

TEST(QxVariant, CopyOfUnknownKindFailsAndMovesTakeThePayload) {
    QxVariant corrupt;
    corrupt.m_type = static_cast<ItemType>(29);
    QxVariant target;
    target.SetString(L"kept");
    EXPECT_EQ(MessageOf([&] { target = corrupt; }), L"Unknown Type");
    EXPECT_EQ(target.GetString(), L"kept");
    const QxVariant& alias = target;
    target = alias;  // self-assignment keeps the value
    EXPECT_EQ(target.GetString(), L"kept");
    EXPECT_THROW(QxVariant copy(corrupt), CQxException);
    corrupt.m_type = ItemType_invalid;

    // A move takes the payload and leaves the source invalid.
    QxVariant source;
    source.SetString(L"moved");
    const std::wstring* payload = source.m_pString;
    QxVariant moved(std::move(source));
    EXPECT_EQ(moved.m_pString, payload);
    EXPECT_FALSE(source.IsValid());  // NOLINT(bugprone-use-after-move): the state is specified
    target = std::move(moved);
    EXPECT_EQ(target.GetString(), L"moved");
    EXPECT_FALSE(moved.IsValid());  // NOLINT(bugprone-use-after-move)
}

// ------------------------------------------------------------------ references

TEST(QxVariant, ObjectsAreHeldByOneReferencePerVariant) {
    int destroyed = 0;
    CCountedObject* object = new CCountedObject(&destroyed);
    {
        QxVariant first;
        first.SetXmlObject(object);
        EXPECT_EQ(RefCount(object), 1);
        {
            QxVariant second(first);
            EXPECT_EQ(RefCount(object), 2);
            QxVariant third;
            third = second;
            EXPECT_EQ(RefCount(object), 3);
            CSmartPtr<CXmlObjectBase> held = third.GetXmlObject();
            EXPECT_EQ(held.Get(), object);
            EXPECT_EQ(RefCount(object), 4);
        }
        EXPECT_EQ(RefCount(object), 1);
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);  // the last variant released the last reference

    // Replacing the only reference by the same object drops it and takes it again.
    object = new CCountedObject(&destroyed);
    QxVariant v;
    v.SetXmlObject(object);
    v.SetXmlObject(object);
    EXPECT_EQ(RefCount(object), 1);
    v.SetNil();
    EXPECT_EQ(destroyed, 2);
}

TEST(QxVariant, CollectionsAreHeldAndReadAsObjectsToo) {
    int destroyed = 0;
    auto* collection = new CCountedCollection(&destroyed);
    {
        QxVariant v;
        v.SetXmlCollection(collection);
        EXPECT_EQ(v.GetXmlCollection().Get(), collection);
        EXPECT_EQ(v.GetXmlObject().Get(), static_cast<CXmlObjectBase*>(collection));
        QxVariant copy = v;
        EXPECT_EQ(RefCount(collection), 2);
        v.SetI4(0);  // changing kind releases the reference
        EXPECT_EQ(RefCount(collection), 1);
    }
    EXPECT_EQ(destroyed, 1);

    // A null object is a value without a reference; a null collection is none.
    QxVariant v;
    v.SetXmlObject(nullptr);
    EXPECT_EQ(QxVariant(v).GetXmlObject().Get(), nullptr);
    v.SetXmlCollection(nullptr);
    EXPECT_EQ(MessageOf([&] { v.GetXmlCollection(); }), L"m_type == ItemType_XmlCollection && m_pXmlCol != 0");
}

// ------------------------------------------------------------------ type names and text

TEST(QxVariant, FailedConversionsLeaveThePreviousValueAndOnlyPrimitivesHaveText) {
    QxVariant v;
    v.SetI4(41);
    EXPECT_THROW(v.FromString(L"abc", ItemType_i4, kCollapse), CQxInvalidValueException);
    EXPECT_EQ(v.m_type, ItemType_i4);
    EXPECT_EQ(v.GetI4(), 41);
    v.SetString(L"kept");
    EXPECT_THROW(v.FromString(L"2024-13-01", ItemType_date, kCollapse), CQxException);
    EXPECT_EQ(v.GetString(), L"kept");

    // The non-primitive kinds have no name and no text form.
    v.SetInvalid();
    EXPECT_EQ(MessageOf([&] { v.GetType(); }), L"Invalid Type 0");
    EXPECT_EQ(MessageOf([&] { v.ToString(nullptr); }), L"Invalid Type 0 to convert to string");
    v.SetXmlObject(nullptr);
    EXPECT_EQ(MessageOf([&] { v.GetType(); }), L"Invalid Type 27");
    EXPECT_EQ(MessageOf([&] { v.ToString(L""); }), L"Invalid Type 27 to convert to string");
    EXPECT_EQ(MessageOf([&] { v.FromString(L"1", ItemType_XmlCollection, kCollapse); }),
              L"Invalid Type 28 to convert to string");
    EXPECT_EQ(v.m_type, ItemType_XmlObjectBase);
    v.SetXmlCollection(nullptr);
    EXPECT_EQ(MessageOf([&] { v.GetType(); }), L"Invalid Type 28");
}

TEST(QxVariant, AssignmentAcrossKindsReplacesThePayload) {
    int destroyed = 0;
    QxVariant number;
    number.SetI2(-7);
    QxVariant nilNumber;
    nilNumber.SetUI8(9);
    nilNumber.SetNil();

    QxVariant target;
    target.SetString(L"heap");
    target = number;  // heap kind replaced by an inline one
    EXPECT_EQ(target.GetI2(), -7);
    target.SetXmlObject(new CCountedObject(&destroyed));
    target = nilNumber;  // the reference is dropped; the nil kind comes over
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(target.m_bNil);
    EXPECT_EQ(target.m_type, ItemType_ui8);
    EXPECT_EQ(target.GetUI8(), 0u);
    target = number;  // inline to inline: the nil flag goes with the source
    EXPECT_FALSE(target.m_bNil);
    QxVariant copy(nilNumber);
    EXPECT_TRUE(copy.m_bNil);
    EXPECT_EQ(copy.m_type, ItemType_ui8);
}

// One variant carrying values one after another (as writing does) reuses the storage a
// cleared value left: every value still reads back as stored, across kinds that share a
// storage class and kinds that do not, and the kept storage holds no shared bytes.
TEST(QxVariant, ReusedVariantKeepsValuesApartAndSharesNothing) {
    using C = CConversions;
    unsigned char raw[] = {1, 2, 3};
    CBinaryData bytes(raw, 3, false);
    QxVariant value;
    value.SetBase64Binary(bytes);
    value.Clear();
    const unsigned char* before = bytes.GetData();
    bytes.Append(static_cast<unsigned char>(4));  // copied first if anything still shared them
    EXPECT_EQ(before, bytes.GetData()) << "the cleared variant still shares the bytes";

    CDateTime date = C::dateFromString(L"2024-05-17", kCollapse);
    CDateTime time = C::timeFromString(L"10:15:30Z", kCollapse);
    const std::wstring longText(5000, L'x');
    for (int round = 0; round < 2; ++round) {
        value.SetString(L"first value");
        value.SetInvalid();
        EXPECT_FALSE(value.IsValid());
        value.SetDate(date);
        EXPECT_EQ(L"2024-05-17", value.ToString(nullptr));
        value.SetTime(time);  // the same storage class as the date
        EXPECT_EQ(L"10:15:30Z", value.ToString(nullptr));
        value.SetString(L"ab");
        EXPECT_EQ(L"ab", value.GetStringRef());
        value.SetDecimal(C::decimalFromString(L"739.38", kCollapse));
        EXPECT_EQ(L"739.38", value.ToString(nullptr));
        value.SetString(longText);
        value.SetNil();
        EXPECT_TRUE(value.IsNil());
        value.SetString(std::wstring(L"moved"));
        EXPECT_EQ(L"moved", value.GetStringRef());
        value.Clear();
    }
}

// Tests of QxVariant: ownership of heap payloads, references held on objects and collections,
// copies and moves. The states, the getters' preconditions and the text of every kind are in
// the case tables (data/variants.tsv, data/texts.tsv).

#include <qxxml/values/BinaryData.h>
#include <qxxml/values/QxVariant.h>

#include "common/CountedObject.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>

using namespace QxXmlLib10;
using qxxml_test::CCountedCollection;
using qxxml_test::CCountedObject;

namespace {

// The reference count of an object, read without changing it.
int32_t RefCount(CXmlObjectBase* object) {
    object->AddRef();
    return object->Release();
}

}  // namespace

// ------------------------------------------------------------------ copies

// A move takes the payload and leaves the source invalid (assigned moves, and the copies of a
// corrupt kind: data/variants.tsv).
TEST(QxVariant, MovesTakeThePayload) {
    QxVariant source;
    source.SetString(L"moved");
    const std::wstring* payload = source.m_pString;
    QxVariant moved(std::move(source));
    EXPECT_EQ(moved.m_pString, payload);
    EXPECT_FALSE(source.IsValid());  // NOLINT(bugprone-use-after-move): the state is specified
}

// ------------------------------------------------------------------ references

// Objects and collections are held by one reference per variant that holds them: copies add
// one, a change of kind, nil and the variant's end each give theirs back.
TEST(QxVariant, ObjectsAndCollectionsAreHeldByOneReferencePerVariant) {
    std::atomic<int> destroyed{0};
    CCountedObject* object = new CCountedObject(destroyed);
    {
        QxVariant first;
        first.SetXmlObject(object);
        {
            QxVariant second(first);
            QxVariant third;
            third = second;
            CSmartPtr<CXmlObjectBase> held = third.GetXmlObject();
            EXPECT_EQ(held.Get(), object);
            EXPECT_EQ(RefCount(object), 4);
        }
        EXPECT_EQ(RefCount(object), 1);
        // Replacing the only reference by the same object drops it and takes it again.
        first.SetXmlObject(object);
        EXPECT_EQ(RefCount(object), 1);
        EXPECT_EQ(destroyed.load(), 0);
    }
    EXPECT_EQ(destroyed.load(), 1);  // the last variant released the last reference

    QxVariant v;
    v.SetXmlObject(new CCountedObject(destroyed));
    v.SetNil();
    EXPECT_EQ(destroyed.load(), 2);
    auto* collection = new CCountedCollection(destroyed);
    v.SetXmlCollection(collection);
    EXPECT_EQ(v.GetXmlCollection().Get(), collection);
    EXPECT_EQ(v.GetXmlObject().Get(), static_cast<CXmlObjectBase*>(collection));  // read as an object too
    QxVariant copy = v;
    EXPECT_EQ(RefCount(collection), 2);
    QxVariant number;
    number.SetI2(-7);
    v = number;  // assigning another kind drops the reference
    EXPECT_EQ(RefCount(collection), 1);
    copy.SetI4(0);  // and so does a setter of another kind
    EXPECT_EQ(destroyed.load(), 3);
}

// A cleared variant keeps no share of the bytes it held (the values a reused variant carries
// one after another are in data/variants.tsv).
TEST(QxVariant, ClearedVariantSharesNoBytes) {
    unsigned char raw[] = {1, 2, 3};
    CBinaryData bytes(raw, 3, false);
    QxVariant value;
    value.SetBase64Binary(bytes);
    value.Clear();
    const unsigned char* before = bytes.GetData();
    bytes.Append(static_cast<unsigned char>(4));  // copied first if anything still shared them
    EXPECT_EQ(before, bytes.GetData()) << "the cleared variant still shares the bytes";
}

// A variant that refers to a member's string (as a writer's does) reads like a copy, and no
// change made through the variant, its copies or its moves ever reaches the member.
TEST(QxVariantTest, StringReferenceNeverWritesThroughToTheMember) {
    std::wstring member = L"member text";
    QxVariant copying;
    copying.SetStringReference(member);  // references not allowed: a copy
    EXPECT_NE(&copying.GetStringRef(), &member);

    QxVariant v;
    const auto referToMember = [&] {
        v.AllowStringReferences(true);
        v.SetStringReference(member);
        EXPECT_EQ(&v.GetStringRef(), &member);
    };
    referToMember();
    EXPECT_EQ(v.ToString(nullptr), L"member text");
    QxVariant copy(v);
    copy.SetString(L"changed copy");
    std::wstring taken = L"old";
    v.TakeStringInto(taken);  // copied, not stolen
    EXPECT_EQ(taken, L"member text");
    v.SetString(L"assigned");
    referToMember();
    v.SetString(std::wstring(L"moved in"));
    referToMember();
    v.FromString(L"parsed", ItemType_string, CWhitespaceUtils::WhitespaceRule_Collapse);
    referToMember();
    v.SetNil();
    referToMember();
    QxVariant moved(std::move(v));
    moved.SetString(L"into the moved one");
    referToMember();
    v = QxVariant();
    {
        QxVariant dropped;
        dropped.AllowStringReferences(true);
        dropped.SetStringReference(member);
    }
    EXPECT_EQ(member, L"member text");
    EXPECT_EQ(copy.GetString(), L"changed copy");
}

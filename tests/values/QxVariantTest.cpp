// Tests of QxVariant that look at the payload itself: what a move hands over and what a clear
// gives back. The states, the getters' preconditions, the references held on objects and
// strings and the text of every kind are in the case tables (data/variants.tsv, data/texts.tsv).

#include <qxxml/values/BinaryData.h>
#include <qxxml/values/QxVariant.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace QxXmlLib10;

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

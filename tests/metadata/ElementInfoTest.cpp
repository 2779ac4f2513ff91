// What the case tables of ElementBehaviourTest.cpp cannot state: the metadata clean-up of
// generated classes.

#include "metadata/MetadataTestSupport.h"

#include <qxxml/metadata/ElementInfoAll.h>
#include <qxxml/metadata/ElementInfoSeq.h>
#include <qxxml/values/PrimitiveRestrictions.h>

#include <gtest/gtest.h>

using namespace metadata_test;

namespace {

const wchar_t* EnumText(int value) { return value == 1 ? L"one" : nullptr; }
int EnumValue(const wchar_t* text) { return std::wstring(text) == L"one" ? 1 : 0; }

// A piece of metadata that counts its destructions, for the clean-up tests.
template <class Base>
struct CCounted : Base {
    template <class... Args>
    explicit CCounted(int* destroyed, Args... args) : Base(args...), m_destroyed(destroyed) {}
    ~CCounted() override { ++*m_destroyed; }
    int* m_destroyed;
};

CElementInfo* CountedDescriptor(int* destroyed) {
    return new CCounted<CElementInfoSeqPrimOpt>(destroyed, L"x", L"", 0, false, ItemType_i4, nullptr,
                                                CWhitespaceUtils::WhitespaceRule_None, CPrimitiveRestrictions());
}

}  // namespace

// ------------------------------------------------------------------ clean-up

TEST(XmlGeneratedClass, CleanMetaDataDeletesEverythingOnceAndNullsThePointers) {
    int destroyed = 0;
    CParentElementInfo* info = new CCounted<CParentElementInfo>(&destroyed, XmlElementGroupType_Sequence,
                                                                XmlElementType_Element, L"p", L"", false, false, -1,
                                                                ItemType_invalid, nullptr, false);
    CElementInfo** elements = new CElementInfo* [3] { CountedDescriptor(&destroyed), CountedDescriptor(&destroyed), nullptr };
    CAttributeInfo** attributes = new CAttributeInfo* [2] {
        new CCounted<CAttributeInfoEnum>(&destroyed, L"a", L"", 0, true, &EnumText, &EnumValue, nullptr), nullptr
    };
    CTestObject::CleanMetaData(info, elements, attributes);
    EXPECT_EQ(destroyed, 4);
    EXPECT_EQ(info, nullptr);
    EXPECT_EQ(elements, nullptr);
    EXPECT_EQ(attributes, nullptr);
    CTestObject::CleanMetaData(info, elements, attributes);  // already clean: nothing happens
    EXPECT_EQ(destroyed, 4);

    // Tables holding only the terminator, and a missing class description.
    elements = new CElementInfo* [1] { nullptr };
    attributes = nullptr;
    CTestObject::CleanMetaData(info, elements, attributes);
    EXPECT_EQ(elements, nullptr);
}

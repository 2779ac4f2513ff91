// What the case tables of ElementBehaviourTest.cpp cannot state: the refusal of the all
// group's abstract members to read (its message carries an address), and the metadata
// clean-up of generated classes.

#include "metadata/MetadataTestSupport.h"

#include <qxxml/metadata/ElementInfoAll.h>
#include <qxxml/metadata/ElementInfoSeq.h>
#include <qxxml/values/PrimitiveRestrictions.h>

#include <gtest/gtest.h>

using namespace metadata_test;

namespace {

const wchar_t* EnumText(int value) { return value == 1 ? L"one" : nullptr; }
int EnumValue(const wchar_t* text) { return std::wstring(text) == L"one" ? 1 : 0; }
CSmartPtr<CXmlObjectBase> CreateFromElement(CXmlElement*) { return nullptr; }

// A descriptor that counts its destructions, for the clean-up tests.
struct CCountedDescriptor : CElementInfoSeqPrimOpt {
    explicit CCountedDescriptor(int* destroyed)
        : CElementInfoSeqPrimOpt(L"x", L"", 0, false, ItemType_i4, nullptr, CWhitespaceUtils::WhitespaceRule_None,
                                 CPrimitiveRestrictions()),
          m_destroyed(destroyed) {}
    ~CCountedDescriptor() override { ++*m_destroyed; }
    int* m_destroyed;
};

struct CCountedAttribute : CAttributeInfoEnum {
    explicit CCountedAttribute(int* destroyed)
        : CAttributeInfoEnum(L"a", L"", 0, true, &EnumText, &EnumValue, nullptr), m_destroyed(destroyed) {}
    ~CCountedAttribute() override { ++*m_destroyed; }
    int* m_destroyed;
};

struct CCountedParent : CParentElementInfo {
    explicit CCountedParent(int* destroyed)
        : CParentElementInfo(XmlElementGroupType_Sequence, XmlElementType_Element, L"p", L"", false, false, -1,
                             ItemType_invalid, nullptr, false),
          m_destroyed(destroyed) {}
    ~CCountedParent() override { ++*m_destroyed; }
    int* m_destroyed;
};

}  // namespace

TEST(ElementInfo, AbstractClassesOfAllGroupsCannotBeRead) {
    CTestObject object;
    CElementInfoAllAbsClsMnd mandatory(L"a", L"", 0, XmlElementType_Element, &CreateFromElement, 0);
    CElementInfoAllAbsClsOpt optional(L"a", L"", 0, XmlElementType_Element, &CreateFromElement);
    const std::pair<CElementInfo*, std::wstring> cases[] = {
        {&mandatory, L"CElementInfoAllAbsClsMnd::ElementFromXml, has not been implemented fully, contact "},
        {&optional, L"CElementInfoAllAbsClsOpt::ElementFromXml, has not been implemented fully, contact "}};
    for (const auto& [info, prefix] : cases) {
        CXmlElement* cursor = nullptr;
        const std::wstring message = MessageOf([&] {
            info->ElementFromXml(CXmlSerializationContext(), &object, nullptr, &cursor, L"", XmlElementType_Element);
        });
        EXPECT_EQ(message.compare(0, prefix.size(), prefix), 0) << Narrow(message);
        EXPECT_GT(message.size(), prefix.size());  // an address follows
    }
}

// ------------------------------------------------------------------ clean-up

TEST(XmlGeneratedClass, CleanMetaDataDeletesEverythingOnceAndNullsThePointers) {
    int destroyed = 0;
    CParentElementInfo* info = new CCountedParent(&destroyed);
    CElementInfo** elements =
        new CElementInfo* [3] { new CCountedDescriptor(&destroyed), new CCountedDescriptor(&destroyed), nullptr };
    CAttributeInfo** attributes = new CAttributeInfo* [2] { new CCountedAttribute(&destroyed), nullptr };
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

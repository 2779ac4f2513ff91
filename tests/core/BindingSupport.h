// BindingSupport.h - what the tests of tests/core share around the binding generated from
// TestBinding.xsd (namespace TbBinding, built by qxxml_add_binding): builders of Root objects,
// the one tree comparison they use (the text both trees write) and probes with hand-made
// metadata for the engine paths no class of the schema takes.
//
//   CSmartPtr<CRoot> root = MakeFullRoot();
//   EXPECT_EQ(WriteXml(*copy, context), WriteXml(*root, context));
#pragma once

#include "TbBinding.h"  // generated from TestBinding.xsd

#include <qxxml/core/GeneratedSupport.h>
#include <qxxml/core/XmlGeneratedClass.h>
#include <qxxml/metadata/ParentElementInfo.h>
#include <qxxml/support/QxException.h>

#include "common/Messages.h"

#include <functional>
#include <string>
#include <vector>

namespace test_binding {

using namespace TbBinding;

// The schema's target namespace.
extern const wchar_t* const kNamespace;

// A way a context can name the binding's namespace; kNamings holds them all (generated
// prefixes, an alias, the default namespace, the default namespace beside an xsi alias).
struct CNaming {
    const char* name;
    void (*setup)(CXmlSerializationContext& context);
};
extern const std::vector<CNaming> kNamings;

// A Root with every member set (read from data/full_root.xml), and one with only what the
// schema requires.
CSmartPtr<CRoot> MakeFullRoot();
CSmartPtr<CRoot> MakeMinimalRoot();

// The text of ToXml (no declaration, LF line ends). Two trees are equal when they write the
// same text.
std::wstring WriteXml(CXmlObjectBase& object, const CXmlSerializationContext& context, bool formatted = false);

// Runs `write` between StartDocument and EndDocument of a text writer (no formatting, LF) and
// returns the text.
std::wstring WriteWithWriter(const std::function<void(CXmlWriter* writer)>& write);

// The full message chain of the CQxValidationException `action` throws, as common/Messages.h
// gives it (kNoException when none is thrown).
template <class Action>
std::wstring FullMessageOf(Action&& action) {
    return qxxml_test::FullMessageOf<QxXmlLib10::CQxValidationException>(action);
}

// A generated class whose description and tables each test supplies, with variant properties
// and a log of property accesses ("r2" read of property 2, "w0" write of property 0).
class CTbProbe : public CXmlGeneratedClass {
public:
    CTbProbe(QxXmlLib10Data::CParentElementInfo* info, const std::vector<QxXmlLib10Data::CElementInfo*>& elements,
             const std::vector<QxXmlLib10Data::CAttributeInfo*>& attributes = {}, size_t propertyCount = 8);

    CXmlObjectBase* GetBase() override { return this; }
    std::wstring GetNamespace() const override { return kNamespace; }
    QxXmlLib10Data::CParentElementInfo* GetClassInfo() override { return m_tables.info; }
    QxXmlLib10Data::CElementInfo** GetClassElementInfo() override { return m_tables.elements; }
    QxXmlLib10Data::CAttributeInfo** GetClassAttributeInfo() override { return m_tables.attributes; }
    void AccessProperty(int propertyIndex, bool read, QxVariant& value) override;
    void Init() override { ++m_initCount; }

    using CXmlGeneratedClass::DoesElementContainOptionalElements;

    std::vector<QxVariant> m_properties;
    std::vector<std::wstring> m_log;
    int m_initCount = 0;
    std::function<void()> m_afterRead;  // run after each property read, when set

protected:
    std::wstring GetTargetNamespace() const override { return kNamespace; }

private:
    CGeneratedTables m_tables;  // owned: cleaned with the probe
};

// The description of a probe of the group, named "Probe" in the binding's namespace; a text
// property and its type make it mixed (`textAsProperty`: the text is kept exactly as read).
QxXmlLib10Data::CParentElementInfo* ProbeInfo(QxXmlLib10Data::XmlElementGroupType group, int textProperty = -1,
                                              ItemType textType = ItemType_invalid, bool textAsProperty = false);
// An optional string member of a sequence or a choice (property `index`), kept as written.
QxXmlLib10Data::CElementInfo* StringMember(const wchar_t* name, int index, QxXmlLib10Data::XmlElementGroupType group);
// A collection of strings of the binding's namespace, kept as written.
CstringCol* NewStringCol(const wchar_t* elementName, int minOccurs, int maxOccurs);

// A class of the binding with the engine's protected operations opened for a test.
template <class T>
class CTbExposed : public T {
public:
    using T::DoesElementContainOptionalElements;
    using T::DoesElementNameMatch;
    using T::FromXml_Int;
    using T::IsElementInList;
    using T::T;
    using T::ToXml_Int;
};
}  // namespace test_binding

// BindingSupport.h - what the tests of tests/core share around the binding generated from
// TestBinding.xsd (namespace TbBinding, built by qxxml_add_binding): the namings of its
// namespace, builders of Root objects and the one tree comparison they use (the text both
// trees write).
//
//   CSmartPtr<CRoot> root = MakeFullRoot();
//   EXPECT_EQ(WriteXml(*copy, context), WriteXml(*root, context));
#pragma once

#include "TbBinding.h"  // generated from TestBinding.xsd

#include <qxxml/support/QxException.h>

#include "common/Messages.h"

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

// The full message chain of the CQxValidationException `action` throws, as common/Messages.h
// gives it (kNoException when none is thrown).
template <class Action>
std::wstring FullMessageOf(Action&& action) {
    return qxxml_test::FullMessageOf<QxXmlLib10::CQxValidationException>(action);
}

}  // namespace test_binding

// The exception family: messages, chains and their deep copies, catching by class.
#include <qxxml/support/QxException.h>

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>
#include <typeinfo>

using namespace QxXmlLib10;

// Handlers catch by these classes: the value failures are validation failures, the others not.
static_assert(std::is_base_of_v<CQxValidationException, CQxInvalidValueException> &&
              !std::is_base_of_v<CQxValidationException, CQxInvalidParamException>);

namespace {

// The dynamic class of an exception in a chain.
const std::type_info& ClassOf(const CQxException* e) { return typeid(*e); }

}  // namespace

TEST(ExceptionTest, ChainsGiveOneLinePerLevel) {
    EXPECT_EQ(CQxException().GetFullMessage() + CQxException(static_cast<const wchar_t*>(nullptr)).GetMessageW(), L"");
    EXPECT_EQ(CQxException().GetInnerException(), nullptr);
    EXPECT_EQ(CQxOverFlowException(L"too big").GetFullMessage(), L"too big") << "no trailing line feed";

    const CQxInvalidValueException cause(L"Value [x] is not an integer");
    const CQxValidationException middle(L"Failed to process the element [qty]", cause);
    const CQxValidationException top(std::wstring(L"Failed to process the element [order]"), middle);
    EXPECT_EQ(top.GetFullMessage(),
              L"Failed to process the element [order]\nFailed to process the element [qty]\nValue [x] is not an integer");
    ASSERT_NE(top.GetInnerException(), nullptr);
    ASSERT_NE(top.GetInnerException()->GetInnerException(), nullptr);
    EXPECT_EQ(top.GetInnerException()->GetInnerException()->GetInnerException(), nullptr);
    // The inner exceptions are private copies that keep their class.
    EXPECT_NE(top.GetInnerException(), &middle);
    EXPECT_EQ(ClassOf(top.GetInnerException()->GetInnerException()), typeid(CQxInvalidValueException));
}

TEST(ExceptionTest, CopiesAndConversionsAreDeep) {
    auto source = std::make_unique<CQxValidationException>(
        L"outer", CQxValidationException(L"middle", CQxInvalidNamespaceException(L"inner")));
    const CQxValidationException copy(*source);
    const CQxException* sourceInner = source->GetInnerException();
    source.reset();  // the copy must not lean on anything the source owned
    EXPECT_NE(copy.GetInnerException(), sourceInner);
    EXPECT_EQ(copy.GetFullMessage(), L"outer\nmiddle\ninner");
    EXPECT_EQ(ClassOf(copy.GetInnerException()), typeid(CQxValidationException));
    EXPECT_EQ(ClassOf(copy.GetInnerException()->GetInnerException()), typeid(CQxInvalidNamespaceException));

    // A subclass built from the root takes its message and chain.
    const CQxException root(L"generic", CQxOverFlowException(L"cause"));
    const CQxInvalidParamException converted(root);
    EXPECT_EQ(converted.GetFullMessage(), L"generic\ncause");
    EXPECT_EQ(ClassOf(converted.GetInnerException()), typeid(CQxOverFlowException));
}

TEST(ExceptionTest, AssignmentReplacesMessageAndChain) {
    CQxException target(L"old", CQxException(L"old cause"));
    const CQxValidationException source(L"new", CQxInvalidValueException(L"new cause"));
    target = source;
    EXPECT_EQ(target.GetFullMessage(), L"new\nnew cause");
    EXPECT_NE(target.GetInnerException(), source.GetInnerException());
    EXPECT_EQ(ClassOf(target.GetInnerException()), typeid(CQxInvalidValueException));
    target = CQxException(L"plain");  // the old chain is released (the leak checker knows)
    EXPECT_EQ(target.GetInnerException(), nullptr);
    EXPECT_EQ(target.GetFullMessage(), L"plain");

    CQxValidationException self(L"self", CQxException(L"kept"));
    CQxValidationException& alias = self;
    self = alias;
    EXPECT_EQ(self.GetFullMessage(), L"self\nkept");
    CQxInvalidStateException derived(L"a");
    derived = CQxInvalidStateException(L"b", CQxException(L"c"));
    EXPECT_EQ(derived.GetFullMessage(), L"b\nc");
}

// The exception family: messages, chains and their deep copies, catching by class.
#include <qxxml/support/QxException.h>

#include "common/CaseTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

using namespace QxXmlLib10;

// Handlers catch by these classes: the value failures are validation failures, the others not.
static_assert(std::is_base_of_v<CQxValidationException, CQxInvalidValueException> &&
              !std::is_base_of_v<CQxValidationException, CQxInvalidParamException>);

namespace {

// Every level of a chain, its class and message as qxxml_test::FailureText writes them.
std::string Chain(const CQxException& e) {
    std::string text = qxxml_test::FailureText(e);
    for (const CQxException* inner = e.GetInnerException(); inner != nullptr; inner = inner->GetInnerException())
        text += " > " + qxxml_test::FailureText(*inner);
    return text;
}

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
    // The inner exceptions are private copies that keep their class.
    EXPECT_NE(top.GetInnerException(), &middle);
    EXPECT_EQ(Chain(top), "!validation Failed to process the element [order] > !validation Failed to process the "
                          "element [qty] > !value Value [x] is not an integer");
}

TEST(ExceptionTest, CopiesAndConversionsAreDeep) {
    auto source = std::make_unique<CQxValidationException>(
        L"outer", CQxValidationException(L"middle", CQxInvalidNamespaceException(L"inner")));
    const CQxValidationException copy(*source);
    const CQxException* sourceInner = source->GetInnerException();
    source.reset();  // the copy must not lean on anything the source owned
    EXPECT_NE(copy.GetInnerException(), sourceInner);
    EXPECT_EQ(Chain(copy), "!validation outer > !validation middle > !namespace inner");

    // A subclass built from the root takes its message and chain.
    const CQxException root(L"generic", CQxOverFlowException(L"cause"));
    EXPECT_EQ(Chain(CQxInvalidParamException(root)), "!param generic > !overflow cause");
}

TEST(ExceptionTest, AssignmentReplacesMessageAndChain) {
    CQxException target(L"old", CQxException(L"old cause"));
    const CQxValidationException source(L"new", CQxInvalidValueException(L"new cause"));
    target = source;
    EXPECT_EQ(Chain(target), "!other new > !value new cause");
    EXPECT_NE(target.GetInnerException(), source.GetInnerException());
    target = CQxException(L"plain");  // the old chain is released (the leak checker knows)
    EXPECT_EQ(Chain(target), "!other plain");

    CQxValidationException self(L"self", CQxException(L"kept"));
    CQxValidationException& alias = self;
    self = alias;
    EXPECT_EQ(Chain(self), "!validation self > !other kept");
    CQxInvalidStateException derived(L"a");
    derived = CQxInvalidStateException(L"b", CQxException(L"c"));
    EXPECT_EQ(Chain(derived), "!state b > !other c");
}

// Messages.h - the message of the exception a call throws, for the tests of failure paths.
//
//   using qxxml_test::MessageOf;
//   EXPECT_EQ(MessageOf([&] { date.ParseXSDDate(L""); }), L"Invalid Date (Empty String)");
//   EXPECT_EQ(MessageOf<CQxInvalidValueException>([&] { date.Validate(); }), L"Invalid Year Zero");
//   EXPECT_EQ(MessageOf([&] { date.Validate(); }), qxxml_test::kNoException);
//   EXPECT_EQ(FullMessageOf([&] { order->ToXml(...); }), L"Failed to convert ...\nInvalid Value ...");
//
// Comparing whole messages checks the text a user sees and, with the class given, the class a
// handler catches, in one expectation whose failure output shows both.
#pragma once

#include <qxxml/support/QxException.h>

#include <string>
#include <type_traits>

namespace qxxml_test {

// What MessageOf gives when the call returns normally.
inline const std::wstring kNoException = L"(no exception)";

namespace detail {

// What `text` makes of the CQxException `call` throws; kNoException when it throws none. When
// the exception is not an `Exception`, the text comes prefixed with "(unexpected exception
// class) ", so that the comparison fails and says why.
template <class Exception, class Call, class Text>
std::wstring ThrownText(Call&& call, Text&& text) {
    try {
        call();
    } catch (const QxXmlLib10::CQxException& e) {
        if constexpr (!std::is_same_v<Exception, QxXmlLib10::CQxException>) {
            if (dynamic_cast<const Exception*>(&e) == nullptr) return L"(unexpected exception class) " + text(e);
        }
        return text(e);
    }
    return kNoException;
}

}  // namespace detail

// The message of the CQxException `call` throws (see ThrownText above).
template <class Exception = QxXmlLib10::CQxException, class Call>
std::wstring MessageOf(Call&& call) {
    return detail::ThrownText<Exception>(call, [](const QxXmlLib10::CQxException& e) { return e.GetMessageW(); });
}

// The same with the messages of the exceptions it wraps, one a line: the chain a user sees.
template <class Exception = QxXmlLib10::CQxException, class Call>
std::wstring FullMessageOf(Call&& call) {
    return detail::ThrownText<Exception>(call, [](const QxXmlLib10::CQxException& e) { return e.GetFullMessage(); });
}

}  // namespace qxxml_test

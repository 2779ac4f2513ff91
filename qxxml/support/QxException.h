// QxException.h - the exception family every qxxml failure is reported through.
//
// All failures are thrown by value and caught by reference. An exception carries a wide
// message and, optionally, a private copy of the exception it wraps, so a failure deep in a
// document arrives as a chain naming each level on the way down:
//
//   try {
//     order->FromXmlFile(L"po.xml", CXmlSerializationContext::GetDefaultContext());
//   } catch (const CQxValidationException& e) {
//     std::wcerr << e.GetFullMessage() << L'\n';   // one line per level of the chain
//   }
//
// To add context while keeping the first cause, wrap it:
//
//   catch (const CQxException& inner) {
//     throw CQxValidationException(FormatString(L"Failed to process the element [%s]", name), inner);
//   }
#pragma once

#include <qxxml/support/Export.h>

#include <string>

namespace QxXmlLib10 {

// Root of the family: generic failures (I/O, parsing, compression, internal states).
class QXXML_API CQxException {
public:
    CQxException();
    explicit CQxException(const std::wstring& message);
    explicit CQxException(const wchar_t* message);
    CQxException(const std::wstring& message, const CQxException& inner);
    CQxException(const CQxException& other);
    CQxException& operator=(const CQxException& other);
    virtual ~CQxException();

    // The message given by the thrower (a copy).
    std::wstring GetMessageW() const;
    // The wrapped exception, or null.
    const CQxException* GetInnerException() const;
    // The message followed, for each wrapped exception down the chain, by "\n" and its message.
    std::wstring GetFullMessage() const;

protected:
    // A heap copy of the same dynamic class; the family's chains are built from these.
    virtual CQxException* Clone() const;

private:
    std::wstring m_message;
    CQxException* m_inner;
};

// Declares a subclass with the four constructors of the family and its own Clone.
#define QXXML_DECLARE_EXCEPTION(Name, Base)                                      \
    class QXXML_API Name : public Base {                                         \
    public:                                                                      \
        Name() = default;                                                        \
        explicit Name(const std::wstring& message) : Base(message) {}            \
        explicit Name(const wchar_t* message) : Base(message) {}                 \
        Name(const std::wstring& message, const CQxException& inner)             \
            : Base(message, inner) {}                                            \
        Name(const CQxException& other) : Base(other) {}                         \
        Name(const Name& other) : Base(other) {}                                 \
        Name& operator=(const Name& other) = default;                            \
        ~Name() override;                                                        \
                                                                                 \
    protected:                                                                   \
        CQxException* Clone() const override;                                    \
    }

// A document or object breaks a schema constraint.
QXXML_DECLARE_EXCEPTION(CQxValidationException, CQxException);
// A value is outside its type's value space or facets.
QXXML_DECLARE_EXCEPTION(CQxInvalidValueException, CQxValidationException);
// An element or attribute is in a namespace its declaration does not allow.
QXXML_DECLARE_EXCEPTION(CQxInvalidNamespaceException, CQxValidationException);
// An operation is called on an object in the wrong state.
QXXML_DECLARE_EXCEPTION(CQxInvalidStateException, CQxException);
// A caller passes an argument the operation refuses.
QXXML_DECLARE_EXCEPTION(CQxInvalidParamException, CQxException);
// A numeric value does not fit the requested type.
QXXML_DECLARE_EXCEPTION(CQxOverFlowException, CQxException);

}  // namespace QxXmlLib10

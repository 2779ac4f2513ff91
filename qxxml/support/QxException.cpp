#include <qxxml/support/QxException.h>

namespace QxXmlLib10 {

CQxException::CQxException() : m_inner(nullptr) {}

CQxException::CQxException(const std::wstring& message) : m_message(message), m_inner(nullptr) {}

CQxException::CQxException(const wchar_t* message)
    : m_message(message ? message : L""), m_inner(nullptr) {}

CQxException::CQxException(const std::wstring& message, const CQxException& inner)
    : m_message(message), m_inner(inner.Clone()) {}

CQxException::CQxException(const CQxException& other)
    : m_message(other.m_message), m_inner(other.m_inner ? other.m_inner->Clone() : nullptr) {}

CQxException& CQxException::operator=(const CQxException& other) {
    if (this != &other) {
        CQxException* inner = other.m_inner ? other.m_inner->Clone() : nullptr;
        delete m_inner;
        m_inner = inner;
        m_message = other.m_message;
    }
    return *this;
}

CQxException::~CQxException() { delete m_inner; }

std::wstring CQxException::GetMessageW() const { return m_message; }

const CQxException* CQxException::GetInnerException() const { return m_inner; }

std::wstring CQxException::GetFullMessage() const {
    std::wstring text = m_message;
    for (const CQxException* e = m_inner; e; e = e->m_inner) {
        text += L'\n';
        text += e->m_message;
    }
    return text;
}

CQxException* CQxException::Clone() const { return new CQxException(*this); }

#define QXXML_DEFINE_EXCEPTION(Name)                                   \
    Name::~Name() = default;                                           \
    CQxException* Name::Clone() const { return new Name(*this); }

QXXML_DEFINE_EXCEPTION(CQxValidationException)
QXXML_DEFINE_EXCEPTION(CQxInvalidValueException)
QXXML_DEFINE_EXCEPTION(CQxInvalidNamespaceException)
QXXML_DEFINE_EXCEPTION(CQxInvalidStateException)
QXXML_DEFINE_EXCEPTION(CQxInvalidParamException)
QXXML_DEFINE_EXCEPTION(CQxOverFlowException)

}  // namespace QxXmlLib10

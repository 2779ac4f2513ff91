// DescriptorSupport.h - small helpers the element and attribute descriptors share.
#pragma once

#include <qxxml/metadata/ElementInfo.h>

#include <cstdint>
#include <string>

namespace QxXmlLib10Data {
namespace detail {

// Descriptors copy the texts generated code hands them; a null pointer stands for the empty
// text.
inline const wchar_t* OrEmpty(const wchar_t* text) { return text ? text : L""; }

// The text the generated function gives an enumeration value. A value it knows no text for
// (a null result) is an invalid property value: CQxInvalidValueException
// "Invalid Value for %s [%d]" with the element or attribute name and the number.
std::wstring EnumText(EnumToStringFn toText, int32_t value, const std::wstring& name);

// Raised by the operations whose behaviour is not part of this build yet (untyped content):
// CQxException "<what> is not available yet".
[[noreturn]] void ThrowNotAvailable(const std::wstring& what);

}  // namespace detail
}  // namespace QxXmlLib10Data

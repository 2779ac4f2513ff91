// OrEmpty.h - the library's one reading of a null C string argument: the empty string.
#pragma once

namespace QxXmlLib10 {
namespace detail {

inline const wchar_t* OrEmpty(const wchar_t* text) { return text ? text : L""; }

}  // namespace detail
}  // namespace QxXmlLib10

// OrEmpty.h - descriptors copy the texts generated code hands them; a null pointer stands for
// the empty text.
#pragma once

namespace QxXmlLib10Data {
namespace detail {

inline const wchar_t* OrEmpty(const wchar_t* text) { return text ? text : L""; }

}  // namespace detail
}  // namespace QxXmlLib10Data

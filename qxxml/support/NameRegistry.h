// NameRegistry.h - one process-wide string per name that descriptors match against
// (internal to the library).
//
// Binding compares every element and attribute of a document with the names of the
// descriptors that may take it: mostly equal names, each a full text comparison. Descriptors
// register their names when they are built, and a document that meets one of those names
// points its nodes at the registered string, so an equal name is most often the very same
// string:
//
//   const std::wstring* token = RegisterName(L"item");   // descriptor, once
//   const std::wstring* name = FindRegisteredName(L"item");  // document, once per name
//   bool same = SameName(*name, token, L"item");           // the pointer first, then the text
//
// Different pointers prove nothing (a document may have interned the name before a
// descriptor registered it): the text comparison stays as the fallback. Only names that
// descriptors register are kept, so the registry grows with the program's tables, never
// with its input; its strings live until the process ends.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace QxXmlLib10 {

// The registered string equal to `name`, registering it first if needed. Thread-safe.
const std::wstring* RegisterName(std::wstring_view name);
// The registered string equal to `name`, or null when none is. Thread-safe.
const std::wstring* FindRegisteredName(std::wstring_view name);

// Whether a name of the tree equals `text`, whose registered string is `token`.
inline bool SameName(const std::wstring& name, const std::wstring* token, const std::wstring& text) {
    return &name == token || name == text;
}

// Whether `text` has the characters of the NUL-terminated `other`, a null `other` counting as
// empty. Names are short and usually equal: one pass in line beats measuring `other` first
// (long texts such as namespace URIs are better left to the library's vectorised comparison).
inline bool SameText(const std::wstring& text, const wchar_t* other) {
    if (other == nullptr) return text.empty();
    const wchar_t* const chars = text.data();
    const size_t length = text.size();
    // Stops at the end of a shorter `other`, also against a NUL inside `text`.
    for (size_t i = 0; i < length; ++i)
        if (other[i] != chars[i] || other[i] == L'\0') return false;
    return other[length] == L'\0';
}

}  // namespace QxXmlLib10

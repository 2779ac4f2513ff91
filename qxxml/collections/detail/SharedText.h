// SharedText.h - the immutable texts the wildcard holders share: every element of a tree read
// from a document carries a namespace restriction and a target namespace, nearly always the
// same as its parent's, so the holders share one copy instead of allocating their own.
#pragma once

#include <memory>
#include <string>

namespace QxXmlLib10 {
namespace detail {

using SharedText = std::shared_ptr<const std::wstring>;

// The text as a shared immutable string (null reads as empty). The empty text and "##any"
// are one process-wide instance each.
SharedText MakeSharedText(const wchar_t* text);

}  // namespace detail
}  // namespace QxXmlLib10

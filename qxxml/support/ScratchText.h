// ScratchText.h - a per-thread copy of a run of characters, for handing text that lives
// elsewhere (the storage of a parsed tree) to code that takes a std::wstring, without making
// a string on the heap for each call.
//
//   value.FromString(ScratchText(element->GetTextView()), itemType, whitespaceRule);
//
// The copy stays valid until the next ScratchText call on the same thread: use it at once,
// never keep it, and never call ScratchText again while it is in use.
#pragma once

#include <qxxml/support/Export.h>

#include <string>
#include <string_view>

namespace QxXmlLib10 {

QXXML_API const std::wstring& ScratchText(std::wstring_view text);

}  // namespace QxXmlLib10

// DescriptorSupport.h - small helpers the element and attribute descriptors share.
#pragma once

#include <qxxml/metadata/ElementInfo.h>
#include <qxxml/support/detail/OrEmpty.h>
#include <qxxml/values/QxVariant.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace QxXmlLib10Data {
namespace detail {

// Descriptors copy the texts generated code hands them; a null pointer stands for the empty
// text.
using QxXmlLib10::detail::OrEmpty;

// The text the generated function gives an enumeration value. A value it knows no text for
// (a null result) is an invalid property value: CQxInvalidValueException
// "Invalid Value for %s [%d]" with the element or attribute name and the number.
std::wstring EnumText(EnumToStringFn toText, int32_t value, const std::wstring& name);

// True for a checked kind whose restrictions carry no facet at all: a value of exactly that
// kind then passes CheckPrimitiveValue without looking, so writers may skip the call. (A value
// of another kind, or a kind without a check, still fails there and must be checked.)
bool NoFacetToCheck(ItemType itemType, const CPrimitiveRestrictions& restrictions);

// value.FromString of a text that lives in a parsed tree. A string value needs a string of
// its own anyway: it is made straight from the text and moved into the variant, rather than
// copied twice through a scratch string. Conversion failures propagate.
void ValueFromText(QxXmlLib10::QxVariant& value, std::wstring_view text, ItemType itemType,
                   CWhitespaceUtils::WhitespaceRule whitespaceRule);

}  // namespace detail
}  // namespace QxXmlLib10Data

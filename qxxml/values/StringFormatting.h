// StringFormatting.h - small text helpers shared by the value types.
//
// The fraction of a second is written the same way by dates, times and durations:
//
//   FormatZeroPadded(7, 2);          // L"07"
//   TrimTrailingZeros(L"500");       // L"5"
//   FormatFraction(500, 0, 0);       // L".5"
//   FormatFraction(0, 0, 1);         // L".000000001"
//   FormatFraction(0, 0, 0);         // L""  (no fraction at all)
//
// ReplaceAll rewrites text in place until no occurrence of the search text is left:
//
//   std::string s = "a\\\\b";
//   ReplaceAll(s, "\\\\", "\x01");   // s == "a\x01b"
#pragma once

#include <qxxml/support/Export.h>

#include <string>

namespace QxXmlLib10 {

// The value in decimal, zero-padded to `width` characters the way printf's "%0<width>d" does
// (a minus sign counts towards the width and stands before the zeros).
QXXML_API std::wstring FormatZeroPadded(int value, unsigned char width);

// The digits without their trailing '0' characters; at least one character is kept, so
// L"000" gives L"0". An empty text stays empty.
QXXML_API std::wstring TrimTrailingZeros(std::wstring digits);

// The fraction of a second from its three groups of three digits: "." and the groups up to
// the last non-zero one, each three digits wide, the last with its trailing zeros removed;
// the empty text when all three are 0.
QXXML_API std::wstring FormatFraction(unsigned short milli, unsigned short micro, unsigned short nano);

// Replaces the leftmost occurrence of `search` again and again, each time looking at the
// text as it is after the previous replacement, until none is left. When the replacement
// itself contains the search text that would never end; such a call replaces each
// occurrence of the original text once, left to right, instead. An empty search text leaves
// the text unchanged.
QXXML_API void ReplaceAll(std::wstring& text, const std::wstring& search, const std::wstring& replacement);
QXXML_API void ReplaceAll(std::string& text, const std::string& search, const std::string& replacement);

}  // namespace QxXmlLib10

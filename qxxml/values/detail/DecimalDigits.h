// DecimalDigits.h - writes the decimal digits of a 32-bit value, two per division.
//
//   wchar_t text[9];
//   WriteDecimalDigits(4207u, text, 6);   // text holds "004207"
//
// The number writers (reals, decimals, big integers) share it.
#pragma once

#include <cstdint>

namespace QxXmlLib10 {
namespace detail {

// Writes the `count` lowest decimal digits of `value`, zero-padded on the left, to
// text[0..count).
template <class Char>
void WriteDecimalDigits(uint32_t value, Char* text, int count) {
    static const char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    for (; count >= 2; value /= 100) {
        count -= 2;
        const char* pair = kPairs + 2 * (value % 100);
        text[count] = static_cast<Char>(pair[0]);
        text[count + 1] = static_cast<Char>(pair[1]);
    }
    if (count) text[0] = static_cast<Char>('0' + value % 10);
}

}  // namespace detail
}  // namespace QxXmlLib10

// FixedText.h - builds a short value text on the stack and hands it over as one wide string.
//
// The writers of dates and times put a dozen small fields side by side; building them in a
// fixed buffer costs one allocation for the final text instead of one per field:
//
//   CFixedText<64> text;
//   text.PutPadded(7, 2);        // "07"
//   text.Put(L':');
//   text.PutPadded(5, 2);        // "07:05"
//   text.PutFraction(500, 0, 0); // "07:05.5"
//   std::wstring s = text.Str();
//
// The capacity must cover the longest text the caller can produce; fields are bounded by
// their types (an unsigned int has at most 10 digits).
#pragma once

#include <cstddef>
#include <string>

namespace QxXmlLib10 {
namespace detail {

template <size_t Capacity>
class CFixedText {
public:
    void Put(wchar_t c) { m_text[m_size++] = c; }

    // The value in decimal, zero-padded on the left to at least `width` digits (printf's
    // "%0<width>u").
    void PutPadded(unsigned int value, int width) {
        wchar_t digits[10];
        int count = 0;
        do {
            digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
            value /= 10;
        } while (value != 0);
        for (; width > count; --width) Put(L'0');
        while (count > 0) Put(digits[--count]);
    }

    // The fraction of a second: "." and the three-digit groups up to the last non-zero one,
    // that last group without its trailing zeros (at least one digit kept); nothing when all
    // three are 0.
    void PutFraction(unsigned int milli, unsigned int micro, unsigned int nano) {
        if (milli == 0 && micro == 0 && nano == 0) return;
        Put(L'.');
        const size_t lastGroup = nano != 0 ? 2 : micro != 0 ? 1 : 0;
        const unsigned int groups[3] = {milli, micro, nano};
        for (size_t i = 0; i <= lastGroup; ++i) {
            const size_t start = m_size;
            PutPadded(groups[i], 3);
            if (i == lastGroup) {
                while (m_size - start > 1 && m_text[m_size - 1] == L'0') --m_size;
            }
        }
    }

    std::wstring Str() const { return std::wstring(m_text, m_size); }
    void AppendTo(std::wstring& out) const { out.append(m_text, m_size); }

private:
    wchar_t m_text[Capacity];
    size_t m_size = 0;
};

}  // namespace detail
}  // namespace QxXmlLib10

// BigInteger.h - CBigInteger, the signed integer of unbounded size behind xs:integer and the
// two parts of every CDecimal.
//
//   CBigInteger a(L"123456789012345678901234567890");
//   CBigInteger b = a * CBigInteger(987654321);
//   std::wstring text = (b / CBigInteger(987654321)).ToString();   // a again
//   CBigInteger q = CBigInteger(-7) / CBigInteger(2);                // -3: truncates toward zero
//   CBigInteger r = CBigInteger(-7) % CBigInteger(2);                // -1: sign of the dividend
//   long long n = static_cast<long long>(CBigInteger(L" -42 "));     // -42
//
// Text that is only digits, signs and white space is read as an integer (surrounding spaces
// trimmed, a leading "-" for the sign, then the trailing run of digits); any other text is
// read as a CDecimal and rounded to an integer (more than half away from zero, an exact half
// toward zero), so "12.7" gives 13 and "1.5E3" gives 1500.
//
// Failures (division by zero, a value out of range of a conversion, a negative square root,
// unreadable text) throw CQxInvalidValueException; the operands are left unchanged.
//
// Zero may carry a negative sign (after Negate() or from "-0"); it writes "0" and compares
// equal to, and neither below nor above, every other zero.
#pragma once

#include <qxxml/support/Export.h>

#include <cstdint>
#include <string>

namespace QxXmlLib10 {

class CDecimal;

class QXXML_API CBigInteger {
public:
    // The magnitude's digits: base 10^9 limbs, least significant first, with room for four
    // limbs (36 decimal digits) inside the object so that the values of ordinary documents
    // never touch the heap.
    class QXXML_API Digits {
    public:
        static constexpr uint32_t kBase = 1000000000u;  // 10^9: nine decimal digits per limb
        static constexpr int kDigitsPerLimb = 9;

        Digits() noexcept : m_size(0), m_capacity(kInline) {}
        Digits(const Digits& other);
        Digits(Digits&& other) noexcept;
        Digits& operator=(const Digits& other);
        Digits& operator=(Digits&& other) noexcept;
        ~Digits() {
            if (m_capacity > kInline) delete[] m_heap;
        }

        uint32_t size() const noexcept { return m_size; }
        bool empty() const noexcept { return m_size == 0; }
        uint32_t* data() noexcept { return m_capacity > kInline ? m_heap : m_inline; }
        const uint32_t* data() const noexcept { return m_capacity > kInline ? m_heap : m_inline; }
        uint32_t operator[](uint32_t i) const noexcept { return data()[i]; }
        uint32_t& operator[](uint32_t i) noexcept { return data()[i]; }
        uint32_t back() const noexcept { return data()[m_size - 1]; }

        void clear() noexcept { m_size = 0; }
        void reserve(uint32_t capacity) {
            if (capacity > m_capacity) Grow(capacity);
        }
        // New limbs are zero.
        void resize(uint32_t size);
        void push_back(uint32_t limb) {
            if (m_size == m_capacity) Grow(m_capacity * 2);
            data()[m_size++] = limb;
        }
        void pop_back() noexcept { --m_size; }
        // Exactly one limb: `limb`.
        void assign(uint32_t limb) noexcept {
            m_size = 1;
            data()[0] = limb;
        }
        void swap(Digits& other) noexcept;

        bool IsZero() const noexcept { return m_size == 0 || (m_size == 1 && data()[0] == 0); }

    private:
        static constexpr uint32_t kInline = 4;
        void Grow(uint32_t capacity);

        uint32_t m_size;
        uint32_t m_capacity;  // kInline: the limbs are in m_inline
        union {
            uint32_t m_inline[kInline];
            uint32_t* m_heap;
        };
    };

    // Range limits, used by the conversions here and in CDecimal.
    static const CBigInteger MAX_LONG;       // 2147483647
    static const CBigInteger MIN_LONG;       // -2147483648
    static const CBigInteger MAX_LONGLONG;   // 9223372036854775807
    static const CBigInteger MIN_LONGLONG;   // -9223372036854775808
    static const CBigInteger MAX_DOUBLE;     // 1.7E+308 (17 followed by 307 zeros)
    static const CBigInteger MIN_DOUBLE;     // -1.7E+308

    CBigInteger();
    CBigInteger(int value);
    CBigInteger(unsigned int value);
    CBigInteger(long value);
    CBigInteger(unsigned long value);
    CBigInteger(long long value);
    CBigInteger(unsigned long long value);
    // Rounded to the nearest integer, an exact half toward zero (2.5 gives 2). Infinities and
    // NaN have no integer value: CQxInvalidValueException.
    CBigInteger(double value);
    // Rounded like CDecimal::ToBigInteger().
    CBigInteger(const CDecimal& value);
    CBigInteger(const wchar_t* text);
    CBigInteger(const CBigInteger& other) = default;
    CBigInteger(CBigInteger&& other) noexcept = default;
    CBigInteger& operator=(const CBigInteger& other) = default;
    CBigInteger& operator=(CBigInteger&& other) noexcept = default;
    virtual ~CBigInteger();

    // Replaces the value with the text's; a null text reads as zero.
    void Parse(const wchar_t* text);
    std::wstring ToString() const;
    // The text of ToString() appended to `text`, for writers that reuse one buffer.
    void AppendTo(std::wstring& text) const;

    void Abs() { m_sign = 1; }
    void Negate() { m_sign = -m_sign; }
    CBigInteger GetAbs() const;
    CBigInteger GetNegative() const;

    bool operator==(const CBigInteger& other) const;
    bool operator!=(const CBigInteger& other) const { return !(*this == other); }
    bool operator<(const CBigInteger& other) const;
    bool operator>(const CBigInteger& other) const { return other < *this; }
    bool operator<=(const CBigInteger& other) const { return !(other < *this); }
    bool operator>=(const CBigInteger& other) const { return !(*this < other); }

    CBigInteger operator+(const CBigInteger& other) const;
    CBigInteger operator-(const CBigInteger& other) const;
    CBigInteger operator*(const CBigInteger& other) const;
    CBigInteger operator/(const CBigInteger& other) const;
    CBigInteger operator%(const CBigInteger& other) const;
    CBigInteger& operator+=(const CBigInteger& other);
    CBigInteger& operator-=(const CBigInteger& other);
    CBigInteger& operator*=(const CBigInteger& other);
    CBigInteger& operator/=(const CBigInteger& other);
    CBigInteger& operator%=(const CBigInteger& other);

    // Explicit, so that mixed expressions such as `big + 1` stay unambiguous.
    explicit operator int() const;
    explicit operator long long() const;

    // The floor of the square root (Newton's iteration on integers).
    CBigInteger SquareRoot() const;
    static CBigInteger Pow10(unsigned int n);

    // -1 for a value below zero, 0 for any zero, 1 above zero.
    int Signum() const { return m_digits.IsZero() ? 0 : m_sign; }
    bool IsZero() const { return m_digits.IsZero(); }

protected:
    // Operations on magnitudes. A result may be the same object as an operand unless noted.
    static void Build(unsigned int value, Digits& digits);
    static void BuildDWORDLONG(unsigned long long value, Digits& digits);
    // The magnitude, rounded to the nearest integer with an exact half toward zero.
    static void BuildDouble(double value, Digits& digits);
    // The run of decimal digits at the end of `text`.
    static void Build(const std::wstring& text, Digits& digits);
    // Drops most significant zero limbs, keeping at least one.
    static void Clean(Digits& digits);
    static int Compare(const Digits& a, const Digits& b);
    static void Add(const Digits& a, const Digits& b, Digits& result);
    // a - b with a not below b.
    static void Subtract(const Digits& a, const Digits& b, Digits& result);
    // a * factor with factor below 2^32.
    static void Multiply(const Digits& a, uint32_t factor, Digits& result);
    // a * 10^n.
    static void ShiftLeft(Digits& digits, unsigned int n);
    // `result` must not be `a` or `b`.
    static void Multiply(const Digits& a, const Digits& b, Digits& result);
    // The number of decimal digits of the magnitude (1 for zero).
    static unsigned int Position(const Digits& digits);
    static void Pow10(unsigned int n, Digits& digits);
    // quotient and remainder must be distinct objects, neither of them `b`.
    static void Divide(const Digits& a, const Digits& b, Digits& quotient, Digits& remainder);

private:
    friend class CDecimal;

    // Builds the magnitude from decimal digit characters, most significant first.
    template <class Char>
    static void BuildFromDigitRun(const Char* first, size_t count, Digits& digits);
    // Adds `other` taken with the sign `otherSign` (its own sign for +, the opposite for -).
    void AddSigned(const CBigInteger& other, int otherSign);
    // value = high * 10^n + low, low below 10^n. `high` and `low` are distinct from `value`.
    static void SplitPow10(const Digits& value, unsigned int n, Digits& high, Digits& low);
    // The number of zero decimal digits at the low end (0 for zero).
    static unsigned int TrailingZeroDigits(const Digits& digits);
    // The magnitude's decimal digits, zero-padded on the left to at least `width` digits.
    static void AppendDigits(const Digits& digits, std::wstring& text, unsigned int width);
    // The magnitude's decimal digits right-aligned in out[0..width), zero-padded on the left;
    // `width` is at least Position(digits).
    static void WriteDigits(const Digits& digits, wchar_t* out, unsigned int width);
    // The value when it lies within the 64-bit range.
    bool FitsInt64(long long& value) const;

    int m_sign;
    Digits m_digits;
};

}  // namespace QxXmlLib10

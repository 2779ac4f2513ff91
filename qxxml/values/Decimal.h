// Decimal.h - CDecimal, the exact decimal number behind xs:decimal.
//
// An unbounded integer part and a fraction of at most GetMaxDecimalPlaces() digits (30 unless
// changed). Text is read with an optional exponent; sums, differences and products are exact
// up to that many places, quotients are cut there:
//
//   CDecimal price(L"1234.50");
//   price.ToString();                    // L"1234.5"   (no trailing zeros)
//   price.ToString(2);                   // L"1234.50"  (half away from zero: 1.005 -> "1.01")
//   CDecimal third = CDecimal(1) / CDecimal(3);
//   third.ToString();                    // L"0.333333333333333333333333333333"
//   CDecimal(L"1.5E3").ToLong();         // 1500
//   CDecimal(L"12a");                    // throws CQxInvalidValueException
//                                        // "... invalid char at position 2 [12a]"
//
// Where digits beyond the maximum places are dropped (reading, multiplying, dividing), the
// last kept digit is raised only when the dropped part is above one half: 0.5 units in the
// last place are dropped, 0.51 round up. ToString(places) rounds half away from zero.
//
// Conversions that do not fit throw CQxOverFlowException; a failed operation leaves its
// operands unchanged. The maximum number of places is one process-wide setting.
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/values/BigInteger.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace QxXmlLib10 {

class QXXML_API CDecimal {
public:
    CDecimal();
    CDecimal(int value);
    CDecimal(unsigned int value);
    CDecimal(long value);
    CDecimal(unsigned long value);
    CDecimal(long long value);
    CDecimal(unsigned long long value);
    // The value printed with 13 fraction digits and read back: 0.1 becomes exactly 0.1 and
    // magnitudes below 5e-14 become 0. Infinities and NaN fail to read.
    CDecimal(double value);
    CDecimal(const CBigInteger& value);
    // A null text reads as zero.
    CDecimal(const wchar_t* text);
    CDecimal(const CDecimal& other) = default;
    CDecimal(CDecimal&& other) noexcept = default;
    CDecimal& operator=(const CDecimal& other) = default;
    CDecimal& operator=(CDecimal&& other) noexcept = default;
    virtual ~CDecimal();

    // Without trailing zeros: "1.5", "-0.05", "100".
    std::wstring ToString() const;
    // The text of ToString() appended to `text`, for writers that reuse one buffer.
    void AppendTo(std::wstring& text) const;
    // Exactly `places` fraction digits, half away from zero; with 0 places the text ends with
    // "." ("3."). A negative count is taken as 0.
    std::wstring ToString(int places) const;

    // Rounded to an integer with an exact half toward zero (2.5 gives 2, 2.6 gives 3); "long"
    // is the 32-bit integer of the XML kinds.
    int32_t ToLong() const;
    // Rounded to one fraction digit the same way, then truncated (2.96 gives 3, 2.6 gives 2).
    long long ToLongLong() const;
    double ToDouble() const;
    CBigInteger ToBigInteger() const;

    CDecimal GetNegative() const;
    CDecimal& Negate();

    CDecimal operator+(const CDecimal& other) const;
    CDecimal operator-(const CDecimal& other) const;
    CDecimal operator*(const CDecimal& other) const;
    CDecimal operator/(const CDecimal& other) const;
    CDecimal& operator+=(const CDecimal& other);
    CDecimal& operator-=(const CDecimal& other);
    CDecimal& operator*=(const CDecimal& other);
    CDecimal& operator/=(const CDecimal& other);
    CDecimal& operator++();
    CDecimal operator++(int);
    CDecimal& operator--();
    CDecimal operator--(int);

    bool operator==(const CDecimal& other) const;
    bool operator!=(const CDecimal& other) const { return !(*this == other); }
    bool operator<(const CDecimal& other) const;
    bool operator>(const CDecimal& other) const { return other < *this; }
    bool operator<=(const CDecimal& other) const { return !(other < *this); }
    bool operator>=(const CDecimal& other) const { return !(*this < other); }

    static int GetMaxDecimalPlaces();
    // Process-wide; a negative count is stored as 0 and counts above 100000 as 100000.
    static void SetMaxDecimalPlaces(int places);

private:
    CDecimal(const CBigInteger& integerPart, const CBigInteger& fraction, int divider);

    void Parse(const wchar_t* text);
    void Rationalise();
    void ChangeFractionalDivider(int divider);
    static int Normalize(CDecimal& a, CDecimal& b);

    // -1, 0 or 1 by the value (every zero is 0).
    int ValueSign() const;
    // The value times 10^divider as one integer (divider not below m_divider).
    CBigInteger Scaled(int divider) const;
    // Takes the value scaled / 10^divider; both parts get the value's sign.
    void SetFromScaled(const CBigInteger& scaled, int divider);
    // Both parts take the value's sign, a zero value is positive.
    void AlignSigns();
    static void RoundAway(CBigInteger::Digits& integer, CBigInteger::Digits& fraction, unsigned int dropCount,
                          unsigned int keptPlaces, bool exactHalfUp);
    // Keeps the divider within the maximum places and drops trailing zeros.
    void LimitPlaces();
    static int Compare(const CDecimal& a, const CDecimal& b);
    // Writes the text of ToString() to out[0..capacity) when it fits; returns its length
    // either way.
    size_t WriteText(wchar_t* out, size_t capacity) const;

    CBigInteger m_integerPart;
    CBigInteger m_fraction;
    int m_divider;

    static std::atomic<int> m_maxDivider;
};

}  // namespace QxXmlLib10

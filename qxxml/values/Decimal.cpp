#include <qxxml/values/Decimal.h>

#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/values/WhitespaceUtils.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <system_error>

namespace QxXmlLib10 {

std::atomic<int> CDecimal::m_maxDivider{30};

namespace {

using Digits = CBigInteger::Digits;

// The largest exponent a decimal text may carry: 10^100000 already has as many digits as a
// large document. Larger negative exponents are harmless (the value rounds to zero) and are
// accepted; larger positive ones are refused as an invalid character at the digit that
// exceeds the limit.
constexpr uint64_t kMaxExponent = 100000;

// The largest number of places SetMaxDecimalPlaces accepts: far beyond any schema's
// fractionDigits, and small enough that a quotient's working digits stay affordable.
constexpr int kMaxDecimalPlaces = 100000;

bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }
bool IsExponentMark(wchar_t ch) { return ch == L'e' || ch == L'E'; }

// Digit characters of one section of a decimal text; short runs stay on the stack.
class CDigitRun {
public:
    void Push(char digit) {
        if (!m_onHeap) {
            if (m_size < sizeof m_inline) {
                m_inline[m_size++] = digit;
                return;
            }
            m_heap.assign(m_inline, m_size);
            m_onHeap = true;
        }
        m_heap.push_back(digit);
        ++m_size;
    }
    const char* Data() const { return m_onHeap ? m_heap.data() : m_inline; }
    size_t Size() const { return m_size; }
    // Drops trailing '0' digits: they do not change a fraction's value.
    void TrimTrailingZeros() {
        while (m_size > 0 && Data()[m_size - 1] == '0') --m_size;
        if (m_onHeap) m_heap.resize(m_size);
    }

private:
    char m_inline[40];
    size_t m_size = 0;
    bool m_onHeap = false;
    std::string m_heap;
};

[[noreturn]] void ThrowInvalidChar(size_t position, const wchar_t* text) {
    throw CQxInvalidValueException(FormatString(
        L"The string representing a Decimal, contained an invalid char at position %d [%s]", static_cast<int>(position), text));
}

}  // namespace

// ---------------------------------------------------------------- construction

CDecimal::CDecimal() : m_divider(1) {}

CDecimal::CDecimal(int value) : m_integerPart(value), m_divider(1) {}

CDecimal::CDecimal(unsigned int value) : m_integerPart(value), m_divider(1) {}

CDecimal::CDecimal(long value) : m_integerPart(value), m_divider(1) {}

CDecimal::CDecimal(unsigned long value) : m_integerPart(value), m_divider(1) {}

CDecimal::CDecimal(long long value) : m_integerPart(value), m_divider(1) {}

CDecimal::CDecimal(unsigned long long value) : m_integerPart(value), m_divider(1) {}

CDecimal::CDecimal(double value) : m_divider(1) {
    // printf's "%.13f": the exact value rounded to 13 places, without exponent.
    char narrow[400];
    const std::to_chars_result printed =
        std::to_chars(narrow, narrow + sizeof narrow, value, std::chars_format::fixed, 13);
    const std::wstring text(narrow, printed.ptr);
    Parse(text.c_str());
}

CDecimal::CDecimal(const CBigInteger& value) : m_integerPart(value), m_divider(1) {}

CDecimal::CDecimal(const wchar_t* text) : m_divider(1) { Parse(text); }

CDecimal::CDecimal(const CBigInteger& integerPart, const CBigInteger& fraction, int divider)
    : m_integerPart(integerPart), m_fraction(fraction), m_divider(divider) {}

CDecimal::~CDecimal() = default;

int CDecimal::GetMaxDecimalPlaces() { return m_maxDivider.load(std::memory_order_relaxed); }

void CDecimal::SetMaxDecimalPlaces(int places) {
    const int bounded = places < 0 ? 0 : places > kMaxDecimalPlaces ? kMaxDecimalPlaces : places;
    m_maxDivider.store(bounded, std::memory_order_relaxed);
}

// ---------------------------------------------------------------- reading

// One scan: integer section (digits, signs, white space), then an optional fraction after
// ".", then an optional exponent after "e" or "E".
void CDecimal::Parse(const wchar_t* text) {
    if (!text) text = L"";
    enum class Section { Integer, Fraction, ExponentSign, ExponentDigits };
    Section section = Section::Integer;
    CDigitRun integerDigits;
    CDigitRun fractionDigits;
    bool negative = false;
    bool exponentNegative = false;
    uint64_t exponent = 0;
    size_t exponentTooLargeAt = 0;
    bool exponentTooLarge = false;

    for (size_t position = 0; text[position]; ++position) {
        const wchar_t ch = text[position];
        if (CWhitespaceUtils::IsWhiteSpace(ch)) continue;
        switch (section) {
            case Section::Integer:
                if (IsDigit(ch)) integerDigits.Push(static_cast<char>(ch));
                else if (ch == L'-') negative = true;
                else if (ch == L'+') negative = false;
                else if (ch == L'.') section = Section::Fraction;
                else if (IsExponentMark(ch)) section = Section::ExponentSign;
                else ThrowInvalidChar(position, text);
                break;
            case Section::Fraction:
                if (IsDigit(ch)) fractionDigits.Push(static_cast<char>(ch));
                else if (IsExponentMark(ch)) section = Section::ExponentSign;
                else ThrowInvalidChar(position, text);
                break;
            case Section::ExponentSign:
                if (ch == L'-') {
                    exponentNegative = true;
                    break;
                }
                if (ch == L'+') {
                    exponentNegative = false;
                    break;
                }
                if (!IsDigit(ch)) ThrowInvalidChar(position, text);
                section = Section::ExponentDigits;
                [[fallthrough]];  // the first digit
            case Section::ExponentDigits:
                if (!IsDigit(ch)) ThrowInvalidChar(position, text);
                if (exponent <= kMaxExponent) {
                    exponent = exponent * 10 + static_cast<uint64_t>(ch - L'0');
                    if (exponent > kMaxExponent && !exponentTooLarge) {
                        exponentTooLarge = true;
                        exponentTooLargeAt = position;
                    }
                }
                break;
        }
    }
    if (exponentTooLarge && !exponentNegative) ThrowInvalidChar(exponentTooLargeAt, text);
    const bool hasExponent = section == Section::ExponentSign || section == Section::ExponentDigits;

    // Trailing zeros of the fraction do not change the value: dropping them now is the
    // rationalising of the finished value, done before any digit is converted.
    fractionDigits.TrimTrailingZeros();
    CBigInteger::BuildFromDigitRun(integerDigits.Data(), integerDigits.Size(), m_integerPart.m_digits);
    CBigInteger::BuildFromDigitRun(fractionDigits.Data(), fractionDigits.Size(), m_fraction.m_digits);
    m_integerPart.m_sign = negative ? -1 : 1;
    m_fraction.m_sign = negative ? -1 : 1;
    m_divider = fractionDigits.Size() > 0 ? static_cast<int>(fractionDigits.Size()) : 1;

    if (hasExponent && exponent != 0) {
        if (exponentNegative) {
            // Dividing by more than the value's digits plus the kept places gives zero
            // anyway; the bound keeps the power of ten small.
            const uint64_t enough = integerDigits.Size() + static_cast<uint64_t>(GetMaxDecimalPlaces()) + 3;
            const uint64_t requested = exponentTooLarge ? UINT64_MAX : exponent;  // digits past the limit were not kept
            const unsigned int power = static_cast<unsigned int>(std::min(requested, enough));
            *this = *this / CDecimal(CBigInteger::Pow10(power));
        } else {
            *this = *this * CDecimal(CBigInteger::Pow10(static_cast<unsigned int>(exponent)));
        }
    } else if (hasExponent && exponentNegative) {
        // "e-0": still a division, with its truncation beyond the kept places.
        *this = *this / CDecimal(1);
    }
    AlignSigns();
    Rationalise();
    LimitPlaces();
}

// ---------------------------------------------------------------- representation helpers

int CDecimal::ValueSign() const {
    if (!m_integerPart.IsZero()) return m_integerPart.m_sign;
    if (!m_fraction.IsZero()) return m_fraction.m_sign;
    return 0;
}

void CDecimal::AlignSigns() {
    const int sign = ValueSign() < 0 ? -1 : 1;
    m_integerPart.m_sign = sign;
    m_fraction.m_sign = sign;
}

CBigInteger CDecimal::Scaled(int divider) const {
    CBigInteger scaled;
    const Digits& integer = m_integerPart.m_digits;
    const Digits& fraction = m_fraction.m_digits;
    const int shift = divider - m_divider;
    if (integer.size() == 1 && fraction.size() == 1 && divider <= 9) {
        // Ordinary values: both parts within one limb, the sum below 2 * 10^18.
        static constexpr uint64_t kPow10[10] = {1,      10,      100,      1000,      10000,
                                                100000, 1000000, 10000000, 100000000, 1000000000};
        const uint64_t value = integer[0] * kPow10[divider] + fraction[0] * kPow10[shift];
        CBigInteger::BuildDWORDLONG(value, scaled.m_digits);
    } else {
        scaled.m_digits = integer;
        CBigInteger::ShiftLeft(scaled.m_digits, static_cast<unsigned int>(divider));
        if (!fraction.IsZero()) {
            Digits shifted(fraction);
            CBigInteger::ShiftLeft(shifted, static_cast<unsigned int>(shift));
            CBigInteger::Add(scaled.m_digits, shifted, scaled.m_digits);
        }
    }
    scaled.m_sign = ValueSign() < 0 ? -1 : 1;
    return scaled;
}

void CDecimal::SetFromScaled(const CBigInteger& scaled, int divider) {
    CBigInteger::SplitPow10(scaled.m_digits, static_cast<unsigned int>(divider), m_integerPart.m_digits,
                            m_fraction.m_digits);
    m_divider = divider;
    const int sign = scaled.IsZero() ? 1 : scaled.m_sign;
    m_integerPart.m_sign = sign;
    m_fraction.m_sign = sign;
}

void CDecimal::Rationalise() {
    if (m_divider <= 1) return;
    if (m_fraction.IsZero()) {
        m_divider = 1;
        return;
    }
    const unsigned int zeros = CBigInteger::TrailingZeroDigits(m_fraction.m_digits);
    const unsigned int drop = std::min(zeros, static_cast<unsigned int>(m_divider - 1));
    if (drop == 0) return;
    Digits kept, dropped;
    CBigInteger::SplitPow10(m_fraction.m_digits, drop, kept, dropped);
    m_fraction.m_digits = std::move(kept);
    m_divider -= static_cast<int>(drop);
}

// Drops the last `dropCount` digits of `fraction` (kept to `keptPlaces` digits), carrying one
// unit into the last kept digit when the dropped digits are above half a unit, or also at
// exactly half when `exactHalfUp`; a carry that fills the fraction moves into `integer`.
void CDecimal::RoundAway(Digits& integer, Digits& fraction, unsigned int dropCount, unsigned int keptPlaces,
                         bool exactHalfUp) {
    Digits kept, dropped, half;
    CBigInteger::SplitPow10(fraction, dropCount, kept, dropped);
    CBigInteger::Pow10(dropCount - 1, half);
    CBigInteger::Multiply(half, 5u, half);
    const int order = CBigInteger::Compare(dropped, half);
    if (order > 0 || (order == 0 && exactHalfUp)) {
        Digits one, full;
        one.assign(1);
        CBigInteger::Add(kept, one, kept);
        CBigInteger::Pow10(keptPlaces, full);
        if (CBigInteger::Compare(kept, full) == 0) {
            kept.assign(0);
            CBigInteger::Add(integer, one, integer);
        }
    }
    fraction = std::move(kept);
}

// Moves to `divider` fraction digits. Fewer digits: the dropped part carries one unit away
// from zero only when it is above half a unit of the last kept digit (an exact half is
// dropped); a carry that fills the fraction moves into the integer part.
void CDecimal::ChangeFractionalDivider(int divider) {
    if (divider >= m_divider) {
        CBigInteger::ShiftLeft(m_fraction.m_digits, static_cast<unsigned int>(divider - m_divider));
        m_divider = divider;
        return;
    }
    const int sign = ValueSign() < 0 ? -1 : 1;
    RoundAway(m_integerPart.m_digits, m_fraction.m_digits, static_cast<unsigned int>(m_divider - divider),
              static_cast<unsigned int>(divider), false);
    m_divider = divider;
    m_integerPart.m_sign = sign;
    m_fraction.m_sign = sign;
    AlignSigns();
}

int CDecimal::Normalize(CDecimal& a, CDecimal& b) {
    const int divider = std::max(a.m_divider, b.m_divider);
    a.ChangeFractionalDivider(divider);
    b.ChangeFractionalDivider(divider);
    return divider;
}

void CDecimal::LimitPlaces() {
    const int maximum = GetMaxDecimalPlaces();
    if (m_divider > maximum) {
        ChangeFractionalDivider(maximum);
        // The carry may leave trailing zeros ("0.1299..." kept to "0.130..."): drop them too.
        Rationalise();
    }
}

// ---------------------------------------------------------------- text

size_t CDecimal::WriteText(wchar_t* out, size_t capacity) const {
    if (m_fraction.IsZero()) {  // the integer alone; every zero is "0"
        if (m_integerPart.IsZero()) {
            if (capacity >= 1) *out = L'0';
            return 1;
        }
        const size_t sign = m_integerPart.m_sign < 0 ? 1 : 0;
        const unsigned int digits = CBigInteger::Position(m_integerPart.m_digits);
        if (sign + digits > capacity) return sign + digits;
        if (sign) *out++ = L'-';
        CBigInteger::WriteDigits(m_integerPart.m_digits, out, digits);
        return sign + digits;
    }
    const size_t sign = ValueSign() < 0 ? 1 : 0;
    const unsigned int integerDigits = CBigInteger::Position(m_integerPart.m_digits);
    const unsigned int fractionDigits =
        std::max(static_cast<unsigned int>(m_divider), CBigInteger::Position(m_fraction.m_digits));
    const size_t length = sign + integerDigits + 1 + fractionDigits;
    if (length > capacity) return length;
    if (sign) *out++ = L'-';
    CBigInteger::WriteDigits(m_integerPart.m_digits, out, integerDigits);
    out += integerDigits;
    *out++ = L'.';
    CBigInteger::WriteDigits(m_fraction.m_digits, out, fractionDigits);
    return length;
}

void CDecimal::AppendTo(std::wstring& text) const {
    // Ordinary values in one pass on the stack; longer ones sized first, written in place.
    wchar_t small[64];
    const size_t length = WriteText(small, sizeof small / sizeof small[0]);
    if (length <= sizeof small / sizeof small[0]) {
        text.append(small, length);
        return;
    }
    const size_t at = text.size();
    text.resize(at + WriteText(nullptr, 0));  // sized once, written in place
    WriteText(&text[at], text.size() - at);
}

std::wstring CDecimal::ToString() const {
    std::wstring text;
    AppendTo(text);
    return text;
}

// Half a unit of the last written place is added with the value's sign and the digits
// beyond that place are cut: rounding half away from zero. Done on the digits directly: the
// kept fraction digits go up by one when the dropped ones are at least half a unit. A value
// of no more than `places` digits is written as it is, and so is one rounded at or beyond
// the maximum places, where that half unit would itself round away to nothing.
std::wstring CDecimal::ToString(int places) const {
    if (places < 0) places = 0;
    const Digits* integer = &m_integerPart.m_digits;
    const Digits* fraction = &m_fraction.m_digits;
    int divider = m_divider;
    Digits roundedInteger, roundedFraction;
    if (places < GetMaxDecimalPlaces() && places < m_divider) {
        roundedInteger = m_integerPart.m_digits;
        roundedFraction = m_fraction.m_digits;
        RoundAway(roundedInteger, roundedFraction, static_cast<unsigned int>(m_divider - places),
                  static_cast<unsigned int>(places), true);
        integer = &roundedInteger;
        fraction = &roundedFraction;
        divider = places;
    }
    std::wstring text;
    text.reserve(2 + CBigInteger::Position(*integer) +
                 std::max(static_cast<size_t>(places), static_cast<size_t>(std::max(divider, 0))));
    if (ValueSign() < 0) text += L'-';
    CBigInteger::AppendDigits(*integer, text, 0);
    text += L'.';
    const size_t fractionStart = text.size();
    if (divider > 0) CBigInteger::AppendDigits(*fraction, text, static_cast<unsigned int>(divider));
    text.resize(fractionStart + static_cast<size_t>(places), L'0');
    return text;
}

// ---------------------------------------------------------------- conversions

int32_t CDecimal::ToLong() const {
    CDecimal whole(*this);
    whole.ChangeFractionalDivider(0);
    long long value = 0;
    if (!whole.m_integerPart.FitsInt64(value) || value > 2147483647ll || value < -2147483647ll - 1)
        throw CQxOverFlowException(L"The Decimal value if to large to fit into a LONG");
    return static_cast<int32_t>(value);
}

long long CDecimal::ToLongLong() const {
    CDecimal tenths(*this);
    tenths.ChangeFractionalDivider(1);
    long long value = 0;
    // The rounded value, fraction digit included, must lie within the 64-bit range.
    const bool fits = tenths.m_integerPart.FitsInt64(value) &&
                      !(value == 9223372036854775807ll && tenths.ValueSign() > 0 && !tenths.m_fraction.IsZero()) &&
                      !(value == -9223372036854775807ll - 1 && tenths.ValueSign() < 0 && !tenths.m_fraction.IsZero());
    if (!fits) throw CQxOverFlowException(L"The Decimal value if to large to fit into a LONGLONG");
    return value;
}

double CDecimal::ToDouble() const {
    // 1.7E+308: within the double range with room for any fraction.
    static const Digits kLimit = [] {
        Digits limit;
        CBigInteger::Pow10(307, limit);
        CBigInteger::Multiply(limit, 17u, limit);
        return limit;
    }();
    if (CBigInteger::Compare(m_integerPart.m_digits, kLimit) > 0)
        throw CQxOverFlowException(L"The Decimal value if to large to fit into a Double");
    const std::wstring text = ToString();
    std::string narrow(text.begin(), text.end());
    double value = 0;
    const std::from_chars_result read = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (read.ec == std::errc::result_out_of_range) value = ValueSign() < 0 ? -0.0 : 0.0;  // below the smallest double
    return value;
}

CBigInteger CDecimal::ToBigInteger() const {
    CDecimal whole(*this);
    whole.ChangeFractionalDivider(0);
    return whole.m_integerPart;
}

CDecimal CDecimal::GetNegative() const {
    CDecimal copy(*this);
    copy.Negate();
    return copy;
}

CDecimal& CDecimal::Negate() {
    m_integerPart.Negate();
    m_fraction.Negate();
    return *this;
}

// ---------------------------------------------------------------- arithmetic

CDecimal CDecimal::operator+(const CDecimal& other) const {
    const int divider = std::max(m_divider, other.m_divider);
    CDecimal sum;
    sum.SetFromScaled(Scaled(divider) + other.Scaled(divider), divider);
    sum.Rationalise();
    return sum;
}

CDecimal CDecimal::operator-(const CDecimal& other) const {
    const int divider = std::max(m_divider, other.m_divider);
    CDecimal difference;
    difference.SetFromScaled(Scaled(divider) - other.Scaled(divider), divider);
    difference.Rationalise();
    return difference;
}

// The exact product, then at most the maximum places.
CDecimal CDecimal::operator*(const CDecimal& other) const {
    CDecimal product;
    product.SetFromScaled(Scaled(m_divider) * other.Scaled(other.m_divider), m_divider + other.m_divider);
    product.Rationalise();
    product.LimitPlaces();
    return product;
}

// The quotient cut (toward zero) two places beyond the maximum, then rounded to the maximum:
// 2/3 ends in ...667, 1/3 in ...333.
CDecimal CDecimal::operator/(const CDecimal& other) const {
    const int divider = std::max(m_divider, other.m_divider);
    const CBigInteger denominator = other.Scaled(divider);
    const int places = GetMaxDecimalPlaces() + 2;
    CDecimal quotient;
    quotient.SetFromScaled(Scaled(divider + places) / denominator, places);
    quotient.Rationalise();
    quotient.LimitPlaces();
    return quotient;
}

CDecimal& CDecimal::operator+=(const CDecimal& other) { return *this = *this + other; }
CDecimal& CDecimal::operator-=(const CDecimal& other) { return *this = *this - other; }
CDecimal& CDecimal::operator*=(const CDecimal& other) { return *this = *this * other; }
CDecimal& CDecimal::operator/=(const CDecimal& other) { return *this = *this / other; }

CDecimal& CDecimal::operator++() { return *this += CDecimal(1); }

CDecimal CDecimal::operator++(int) {
    CDecimal before(*this);
    *this += CDecimal(1);
    return before;
}

CDecimal& CDecimal::operator--() { return *this -= CDecimal(1); }

CDecimal CDecimal::operator--(int) {
    CDecimal before(*this);
    *this -= CDecimal(1);
    return before;
}

// ---------------------------------------------------------------- comparison

// By value: integer parts first, then the fractions at a common number of places.
int CDecimal::Compare(const CDecimal& a, const CDecimal& b) {
    const int signA = a.ValueSign();
    const int signB = b.ValueSign();
    if (signA != signB) return signA < signB ? -1 : 1;
    if (signA == 0) return 0;
    int order = CBigInteger::Compare(a.m_integerPart.m_digits, b.m_integerPart.m_digits);
    if (order == 0) {
        const int divider = std::max(a.m_divider, b.m_divider);
        Digits fractionA(a.m_fraction.m_digits);
        Digits fractionB(b.m_fraction.m_digits);
        CBigInteger::ShiftLeft(fractionA, static_cast<unsigned int>(divider - a.m_divider));
        CBigInteger::ShiftLeft(fractionB, static_cast<unsigned int>(divider - b.m_divider));
        order = CBigInteger::Compare(fractionA, fractionB);
    }
    return signA > 0 ? order : -order;
}

bool CDecimal::operator==(const CDecimal& other) const { return Compare(*this, other) == 0; }

bool CDecimal::operator<(const CDecimal& other) const { return Compare(*this, other) < 0; }

}  // namespace QxXmlLib10

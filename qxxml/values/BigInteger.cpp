#include <qxxml/values/BigInteger.h>

#include <qxxml/support/QxException.h>
#include <qxxml/values/Decimal.h>
#include <qxxml/values/detail/DecimalDigits.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <utility>

namespace QxXmlLib10 {

namespace {

using Digits = CBigInteger::Digits;
constexpr uint32_t kBase = Digits::kBase;
constexpr int kLimbDigits = Digits::kDigitsPerLimb;

constexpr uint32_t kPow10[kLimbDigits + 1] = {1,      10,      100,      1000,      10000,
                                             100000, 1000000, 10000000, 100000000, 1000000000};

bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }

// Decimal digits of one limb value (1 for 0).
int LimbDigitCount(uint32_t limb) {
    int count = 1;
    while (count < kLimbDigits && limb >= kPow10[count]) ++count;
    return count;
}

// Divides the magnitude in place by a small divisor and returns the remainder.
uint32_t DivideSmallInPlace(Digits& digits, uint32_t divisor) {
    uint64_t remainder = 0;
    uint32_t* limbs = digits.data();
    for (uint32_t i = digits.size(); i-- > 0;) {
        const uint64_t current = remainder * kBase + limbs[i];
        limbs[i] = static_cast<uint32_t>(current / divisor);
        remainder = current % divisor;
    }
    return static_cast<uint32_t>(remainder);
}

template <uint32_t Divisor>
uint32_t DivideByConstantInPlace(Digits& digits) {
    uint64_t remainder = 0;
    uint32_t* limbs = digits.data();
    for (uint32_t i = digits.size(); i-- > 0;) {
        const uint64_t current = remainder * kBase + limbs[i];
        limbs[i] = static_cast<uint32_t>(current / Divisor);
        remainder = current % Divisor;
    }
    return static_cast<uint32_t>(remainder);
}

// Division by 10^n (n below 9) with the divisor known at compile time, so that it becomes a
// multiplication: splitting values at a decimal place is the commonest division of all.
uint32_t DividePow10InPlace(Digits& digits, int n) {
    switch (n) {
        case 0: return 0;
        case 1: return DivideByConstantInPlace<10>(digits);
        case 2: return DivideByConstantInPlace<100>(digits);
        case 3: return DivideByConstantInPlace<1000>(digits);
        case 4: return DivideByConstantInPlace<10000>(digits);
        case 5: return DivideByConstantInPlace<100000>(digits);
        case 6: return DivideByConstantInPlace<1000000>(digits);
        case 7: return DivideByConstantInPlace<10000000>(digits);
        default: return DivideByConstantInPlace<100000000>(digits);
    }
}

void TrimZeroLimbs(Digits& digits) {
    while (digits.size() > 1 && digits.back() == 0) digits.pop_back();
    if (digits.empty()) digits.assign(0);
}

// Knuth's algorithm D in base 10^9 for divisors of two limbs or more, a not below b.
void LongDivide(const Digits& a, const Digits& b, Digits& quotient, Digits& remainder) {
    const uint32_t n = b.size();
    const uint32_t m = a.size() - n;
    // Scaling both by f makes the divisor's top limb at least kBase / 2, which keeps every
    // estimated quotient limb at most two above the true one.
    const uint32_t f = kBase / (b.back() + 1);
    Digits u, v;
    u.resize(a.size() + 1);
    v.resize(n);
    {
        uint64_t carry = 0;
        for (uint32_t i = 0; i < a.size(); ++i) {
            const uint64_t t = static_cast<uint64_t>(a[i]) * f + carry;
            u[i] = static_cast<uint32_t>(t % kBase);
            carry = t / kBase;
        }
        u[a.size()] = static_cast<uint32_t>(carry);
        carry = 0;
        for (uint32_t i = 0; i < n; ++i) {
            const uint64_t t = static_cast<uint64_t>(b[i]) * f + carry;
            v[i] = static_cast<uint32_t>(t % kBase);
            carry = t / kBase;
        }
        assert(carry == 0);
    }

    quotient.resize(m + 1);
    uint32_t* uu = u.data();
    const uint32_t* vv = v.data();
    const uint64_t vTop = vv[n - 1];
    const uint64_t vNext = vv[n - 2];
    for (uint32_t j = m + 1; j-- > 0;) {
        const uint64_t numerator = static_cast<uint64_t>(uu[j + n]) * kBase + uu[j + n - 1];
        uint64_t qhat = numerator / vTop;
        uint64_t rhat = numerator % vTop;
        while (qhat >= kBase || qhat * vNext > rhat * kBase + uu[j + n - 2]) {
            --qhat;
            rhat += vTop;
            if (rhat >= kBase) break;
        }
        // u[j .. j+n] -= qhat * v
        uint64_t carry = 0;
        int64_t borrow = 0;
        for (uint32_t i = 0; i < n; ++i) {
            const uint64_t product = qhat * vv[i] + carry;
            carry = product / kBase;
            int64_t t = static_cast<int64_t>(uu[i + j]) - static_cast<int64_t>(product % kBase) - borrow;
            borrow = t < 0 ? 1 : 0;
            if (t < 0) t += kBase;
            uu[i + j] = static_cast<uint32_t>(t);
        }
        int64_t top = static_cast<int64_t>(uu[j + n]) - static_cast<int64_t>(carry) - borrow;
        if (top < 0) {
            // qhat was one too large: add v back once.
            --qhat;
            top += kBase;
            uint64_t sumCarry = 0;
            for (uint32_t i = 0; i < n; ++i) {
                const uint64_t s = static_cast<uint64_t>(uu[i + j]) + vv[i] + sumCarry;
                uu[i + j] = static_cast<uint32_t>(s % kBase);
                sumCarry = s / kBase;
            }
            top = (top + static_cast<int64_t>(sumCarry)) % kBase;
        }
        uu[j + n] = static_cast<uint32_t>(top);
        quotient[j] = static_cast<uint32_t>(qhat);
    }
    TrimZeroLimbs(quotient);
    u.resize(n);
    TrimZeroLimbs(u);
    DivideSmallInPlace(u, f);
    TrimZeroLimbs(u);
    remainder = std::move(u);
}

void ThrowInvalid(const wchar_t* message) { throw CQxInvalidValueException(message); }

}  // namespace

// ---------------------------------------------------------------- Digits storage

CBigInteger::Digits::Digits(const Digits& other) : m_size(0), m_capacity(kInline) {
    reserve(other.m_size);
    std::memcpy(data(), other.data(), other.m_size * sizeof(uint32_t));
    m_size = other.m_size;
}

CBigInteger::Digits::Digits(Digits&& other) noexcept : m_size(other.m_size), m_capacity(other.m_capacity) {
    if (other.m_capacity > kInline) {
        m_heap = other.m_heap;
        other.m_capacity = kInline;
        other.m_size = 0;
    } else {
        std::memcpy(m_inline, other.m_inline, m_size * sizeof(uint32_t));
    }
}

CBigInteger::Digits& CBigInteger::Digits::operator=(const Digits& other) {
    if (this != &other) {
        m_size = 0;
        reserve(other.m_size);
        std::memcpy(data(), other.data(), other.m_size * sizeof(uint32_t));
        m_size = other.m_size;
    }
    return *this;
}

CBigInteger::Digits& CBigInteger::Digits::operator=(Digits&& other) noexcept {
    if (this == &other) return *this;
    if (other.m_capacity > kInline) {
        if (m_capacity > kInline) delete[] m_heap;
        m_heap = other.m_heap;
        m_capacity = other.m_capacity;
        m_size = other.m_size;
        other.m_capacity = kInline;
        other.m_size = 0;
    } else {
        // Small: copying into the storage already owned is cheaper than giving it up.
        std::memcpy(data(), other.m_inline, other.m_size * sizeof(uint32_t));
        m_size = other.m_size;
    }
    return *this;
}

void CBigInteger::Digits::swap(Digits& other) noexcept {
    Digits tmp(std::move(other));
    other = std::move(*this);
    *this = std::move(tmp);
}

void CBigInteger::Digits::resize(uint32_t size) {
    reserve(size);
    if (size > m_size) std::memset(data() + m_size, 0, (size - m_size) * sizeof(uint32_t));
    m_size = size;
}

void CBigInteger::Digits::Grow(uint32_t capacity) {
    if (capacity < 2 * kInline) capacity = 2 * kInline;
    uint32_t* fresh = new uint32_t[capacity];
    std::memcpy(fresh, data(), m_size * sizeof(uint32_t));
    if (m_capacity > kInline) delete[] m_heap;
    m_heap = fresh;
    m_capacity = capacity;
}

// ---------------------------------------------------------------- static limits

// Read from text through CDecimal, as every other value; CDecimal needs no static state
// beyond a constant-initialised setting, so these are safe to build first.
const CBigInteger CBigInteger::MAX_LONG(L"2147483647");
const CBigInteger CBigInteger::MIN_LONG(L"-2147483648");
const CBigInteger CBigInteger::MAX_LONGLONG(L"9223372036854775807");
const CBigInteger CBigInteger::MIN_LONGLONG(L"-9223372036854775808");
const CBigInteger CBigInteger::MAX_DOUBLE(L"1.7E+308");
const CBigInteger CBigInteger::MIN_DOUBLE(L"-1.7E+308");

// ---------------------------------------------------------------- magnitude operations

void CBigInteger::Build(unsigned int value, Digits& digits) { BuildDWORDLONG(value, digits); }

void CBigInteger::BuildDWORDLONG(unsigned long long value, Digits& digits) {
    digits.clear();
    do {
        digits.push_back(static_cast<uint32_t>(value % kBase));
        value /= kBase;
    } while (value != 0);
}

void CBigInteger::BuildDouble(double value, Digits& digits) {
    double magnitude = std::fabs(value);
    // Below 2^52 a double may have a fraction and x - 0.5 is exact; from 2^52 on every
    // double is an integer already (and x - 0.5 would round).
    if (magnitude < 4503599627370496.0) magnitude = std::ceil(magnitude - 0.5);
    if (magnitude < 18446744073709551616.0) {
        BuildDWORDLONG(static_cast<unsigned long long>(magnitude), digits);
        return;
    }
    // Exactly mantissa * 2^exponent: the digits of the double's own value, not of a chain of
    // rounded divisions.
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);
    BuildDWORDLONG(static_cast<unsigned long long>(std::ldexp(fraction, 53)), digits);
    for (exponent -= 53; exponent > 0; exponent -= 31) Multiply(digits, 1u << (exponent < 31 ? exponent : 31), digits);
}

void CBigInteger::Build(const std::wstring& text, Digits& digits) {
    size_t first = text.size();
    while (first > 0 && IsDigit(text[first - 1])) --first;
    BuildFromDigitRun(text.data() + first, text.size() - first, digits);
}

template <class Char>
void CBigInteger::BuildFromDigitRun(const Char* first, size_t count, Digits& digits) {
    while (count > 0 && *first == '0') {
        ++first;
        --count;
    }
    digits.clear();
    if (count == 0) {
        digits.assign(0);
        return;
    }
    digits.resize(static_cast<uint32_t>((count + kLimbDigits - 1) / kLimbDigits));
    uint32_t* limbs = digits.data();
    // Limbs fill from the least significant end: nine characters at a time from the back.
    const Char* end = first + count;
    for (uint32_t limb = 0; end > first; ++limb) {
        const Char* start = end - first > kLimbDigits ? end - kLimbDigits : first;
        uint32_t value = 0;
        for (const Char* p = start; p < end; ++p) value = value * 10 + static_cast<uint32_t>(*p - '0');
        limbs[limb] = value;
        end = start;
    }
}

template void CBigInteger::BuildFromDigitRun<char>(const char*, size_t, Digits&);
template void CBigInteger::BuildFromDigitRun<wchar_t>(const wchar_t*, size_t, Digits&);

void CBigInteger::Clean(Digits& digits) { TrimZeroLimbs(digits); }

int CBigInteger::Compare(const Digits& a, const Digits& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (uint32_t i = a.size(); i-- > 0;) {
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

void CBigInteger::Add(const Digits& a, const Digits& b, Digits& result) {
    const bool aLonger = a.size() >= b.size();
    const Digits& longer = aLonger ? a : b;
    const Digits& shorter = aLonger ? b : a;
    const uint32_t n = longer.size();
    const uint32_t m = shorter.size();
    // Sized to the longer operand first (a carry is appended only when there is one), so a
    // sum that fits the inline limbs never moves to the heap. `result` may be either operand:
    // their limbs are kept by the resize.
    result.resize(n);
    uint32_t* r = result.data();
    const uint32_t* l = longer.data();
    const uint32_t* s = shorter.data();
    uint32_t carry = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t sum = l[i] + (i < m ? s[i] : 0) + carry;
        carry = sum >= kBase ? 1 : 0;
        r[i] = carry ? sum - kBase : sum;
    }
    if (carry) result.push_back(1);
}

void CBigInteger::Subtract(const Digits& a, const Digits& b, Digits& result) {
    const uint32_t n = a.size();
    const uint32_t m = b.size();
    assert(Compare(a, b) >= 0);
    result.resize(n);
    uint32_t* r = result.data();
    const uint32_t* x = a.data();
    const uint32_t* y = b.data();
    uint32_t borrow = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t subtrahend = (i < m ? y[i] : 0) + borrow;
        borrow = x[i] < subtrahend ? 1 : 0;
        r[i] = borrow ? x[i] + kBase - subtrahend : x[i] - subtrahend;
    }
    TrimZeroLimbs(result);
}

void CBigInteger::Multiply(const Digits& a, uint32_t factor, Digits& result) {
    const uint32_t n = a.size();
    result.resize(n);
    uint32_t* r = result.data();
    const uint32_t* x = a.data();
    uint64_t carry = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const uint64_t t = static_cast<uint64_t>(x[i]) * factor + carry;
        r[i] = static_cast<uint32_t>(t % kBase);
        carry = t / kBase;
    }
    // The carry is below 2^32 * 10^9 / 10^9: at most two more limbs.
    for (; carry != 0; carry /= kBase) result.push_back(static_cast<uint32_t>(carry % kBase));
    TrimZeroLimbs(result);
}

void CBigInteger::ShiftLeft(Digits& digits, unsigned int n) {
    if (digits.IsZero() || n == 0) return;
    if (n % kLimbDigits != 0) Multiply(digits, kPow10[n % kLimbDigits], digits);
    const uint32_t limbs = n / kLimbDigits;
    if (limbs == 0) return;
    const uint32_t size = digits.size();
    digits.resize(size + limbs);
    uint32_t* d = digits.data();
    std::memmove(d + limbs, d, size * sizeof(uint32_t));
    std::memset(d, 0, limbs * sizeof(uint32_t));
}

void CBigInteger::Multiply(const Digits& a, const Digits& b, Digits& result) {
    assert(&result != &a && &result != &b);
    const uint32_t n = a.size();
    const uint32_t m = b.size();
    result.clear();
    result.resize(n + m);
    uint32_t* r = result.data();
    const uint32_t* x = a.data();
    const uint32_t* y = b.data();
    for (uint32_t i = 0; i < n; ++i) {
        const uint64_t xi = x[i];
        if (xi == 0) continue;
        uint64_t carry = 0;
        for (uint32_t j = 0; j < m; ++j) {
            // At most (B-1) + (B-1)^2 + (B-1) < B^2 = 10^18: fits in 64 bits.
            const uint64_t t = r[i + j] + xi * y[j] + carry;
            r[i + j] = static_cast<uint32_t>(t % kBase);
            carry = t / kBase;
        }
        r[i + m] = static_cast<uint32_t>(carry);
    }
    TrimZeroLimbs(result);
}

unsigned int CBigInteger::Position(const Digits& digits) {
    if (digits.empty()) return 1;
    return (digits.size() - 1) * kLimbDigits + static_cast<unsigned int>(LimbDigitCount(digits.back()));
}

void CBigInteger::Pow10(unsigned int n, Digits& digits) {
    digits.clear();
    digits.resize(n / kLimbDigits + 1);
    digits[n / kLimbDigits] = kPow10[n % kLimbDigits];
}

void CBigInteger::SplitPow10(const Digits& value, unsigned int n, Digits& high, Digits& low) {
    assert(&high != &value && &low != &value && &high != &low);
    const uint32_t limbs = n / kLimbDigits;
    const uint32_t rest = kPow10[n % kLimbDigits];
    if (value.size() <= limbs) {
        low = value;
        high.assign(0);
        return;
    }
    const uint32_t* v = value.data();
    low.clear();
    low.resize(limbs + 1);
    std::memcpy(low.data(), v, limbs * sizeof(uint32_t));
    low[limbs] = v[limbs] % rest;
    TrimZeroLimbs(low);
    high.clear();
    high.resize(value.size() - limbs);
    std::memcpy(high.data(), v + limbs, (value.size() - limbs) * sizeof(uint32_t));
    DividePow10InPlace(high, static_cast<int>(n % kLimbDigits));
    TrimZeroLimbs(high);
}

unsigned int CBigInteger::TrailingZeroDigits(const Digits& digits) {
    if (digits.IsZero()) return 0;
    unsigned int zeros = 0;
    uint32_t i = 0;
    while (digits[i] == 0) {
        zeros += kLimbDigits;
        ++i;
    }
    for (uint32_t limb = digits[i]; limb % 10 == 0; limb /= 10) ++zeros;
    return zeros;
}

void CBigInteger::Divide(const Digits& a, const Digits& b, Digits& quotient, Digits& remainder) {
    assert(!b.IsZero() && &quotient != &remainder && &quotient != &b && &remainder != &b);
    if (Compare(a, b) < 0) {
        if (&remainder != &a) remainder = a;
        quotient.assign(0);
        return;
    }
    if (b.size() == 1) {
        const uint32_t divisor = b[0];
        if (&quotient != &a) quotient = a;
        const uint32_t rest = DivideSmallInPlace(quotient, divisor);
        TrimZeroLimbs(quotient);
        remainder.assign(rest);
        return;
    }
    LongDivide(a, b, quotient, remainder);
}

// ---------------------------------------------------------------- construction and text

CBigInteger::CBigInteger() : m_sign(1) { m_digits.assign(0); }

CBigInteger::CBigInteger(int value) : CBigInteger(static_cast<long long>(value)) {}

CBigInteger::CBigInteger(unsigned int value) : m_sign(1) { Build(value, m_digits); }

CBigInteger::CBigInteger(long value) : CBigInteger(static_cast<long long>(value)) {}

CBigInteger::CBigInteger(unsigned long value) : CBigInteger(static_cast<unsigned long long>(value)) {}

CBigInteger::CBigInteger(long long value) : m_sign(value < 0 ? -1 : 1) {
    const unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                                   : static_cast<unsigned long long>(value);
    BuildDWORDLONG(magnitude, m_digits);
}

CBigInteger::CBigInteger(unsigned long long value) : m_sign(1) { BuildDWORDLONG(value, m_digits); }

CBigInteger::CBigInteger(double value) : m_sign(value < 0 ? -1 : 1) {
    // Infinities and NaN would never reach a last digit.
    if (!std::isfinite(value)) ThrowInvalid(L"ERROR: Value out of bound of double.");
    BuildDouble(value, m_digits);
}

CBigInteger::CBigInteger(const CDecimal& value) : CBigInteger(value.ToBigInteger()) {}

CBigInteger::CBigInteger(const wchar_t* text) : m_sign(1) { Parse(text); }

CBigInteger::~CBigInteger() = default;

void CBigInteger::Parse(const wchar_t* text) {
    if (!text) text = L"";
    size_t length = 0;
    bool integerForm = true;
    for (const wchar_t* p = text; *p; ++p, ++length) {
        const wchar_t ch = *p;
        if (!IsDigit(ch) && ch != L'+' && ch != L'-' && ch != L' ' && ch != L'\t' && ch != L'\r' && ch != L'\n')
            integerForm = false;
    }
    if (!integerForm) {
        // A fraction, an exponent or a stray character: CDecimal reads it or says why not.
        *this = CDecimal(text).ToBigInteger();
        return;
    }
    const wchar_t* first = text;
    const wchar_t* last = text + length;
    while (first < last && *first == L' ') ++first;
    while (last > first && last[-1] == L' ') --last;
    int sign = 1;
    if (first < last && *first == L'-') {
        sign = -1;
        ++first;
    }
    // Only the digits at the end count: "1 2" reads as 2 and "+12" as 12.
    const wchar_t* run = last;
    while (run > first && IsDigit(run[-1])) --run;
    BuildFromDigitRun(run, static_cast<size_t>(last - run), m_digits);
    m_sign = sign;
}

void CBigInteger::WriteDigits(const Digits& digits, wchar_t* out, unsigned int width) {
    wchar_t* end = out + width;
    const uint32_t size = digits.size();
    for (uint32_t k = 0; k + 1 < size; ++k) {
        end -= kLimbDigits;
        detail::WriteDecimalDigits(digits[k], end, kLimbDigits);
    }
    // The top limb (or the zero of an empty magnitude) fills the rest with leading zeros.
    detail::WriteDecimalDigits(size ? digits.back() : 0u, out, static_cast<int>(end - out));
}

void CBigInteger::AppendDigits(const Digits& digits, std::wstring& text, unsigned int width) {
    const unsigned int count = std::max(width, Position(digits));
    const size_t at = text.size();
    text.resize(at + count);
    WriteDigits(digits, &text[at], count);
}

void CBigInteger::AppendTo(std::wstring& text) const {
    if (m_digits.IsZero()) {
        text += L'0';
        return;
    }
    const unsigned int count = Position(m_digits);
    const size_t sign = m_sign < 0 ? 1 : 0;
    const size_t at = text.size();
    text.resize(at + sign + count);  // one allocation for the whole text
    if (sign) text[at] = L'-';
    WriteDigits(m_digits, &text[at + sign], count);
}

std::wstring CBigInteger::ToString() const {
    std::wstring text;
    AppendTo(text);
    return text;
}

CBigInteger CBigInteger::GetAbs() const {
    CBigInteger copy(*this);
    copy.Abs();
    return copy;
}

CBigInteger CBigInteger::GetNegative() const {
    CBigInteger copy(*this);
    copy.Negate();
    return copy;
}

// ---------------------------------------------------------------- comparison

bool CBigInteger::operator==(const CBigInteger& other) const {
    const bool zero = m_digits.IsZero();
    if (zero || other.m_digits.IsZero()) return zero && other.m_digits.IsZero();
    return m_sign == other.m_sign && Compare(m_digits, other.m_digits) == 0;
}

// Every zero orders as zero whatever its sign, so that < and == agree: -0 < 0 is false.
bool CBigInteger::operator<(const CBigInteger& other) const {
    const int mine = Signum();
    const int theirs = other.Signum();
    if (mine != theirs) return mine < theirs;
    if (mine == 0) return false;
    const int order = Compare(m_digits, other.m_digits);
    return mine > 0 ? order < 0 : order > 0;
}

// ---------------------------------------------------------------- arithmetic

void CBigInteger::AddSigned(const CBigInteger& other, int otherSign) {
    if (m_sign == otherSign) {
        Add(m_digits, other.m_digits, m_digits);
        return;
    }
    const int order = Compare(m_digits, other.m_digits);
    if (order > 0) {
        Subtract(m_digits, other.m_digits, m_digits);
    } else if (order < 0) {
        Digits difference;
        Subtract(other.m_digits, m_digits, difference);
        m_digits = std::move(difference);
        m_sign = otherSign;
    } else {
        // Exact cancellation: a plain zero.
        m_digits.assign(0);
        m_sign = 1;
    }
}

CBigInteger CBigInteger::operator+(const CBigInteger& other) const {
    CBigInteger sum(*this);
    sum.AddSigned(other, other.m_sign);
    return sum;
}

CBigInteger CBigInteger::operator-(const CBigInteger& other) const {
    CBigInteger difference(*this);
    difference.AddSigned(other, -other.m_sign);
    return difference;
}

CBigInteger& CBigInteger::operator+=(const CBigInteger& other) {
    AddSigned(other, other.m_sign);
    return *this;
}

CBigInteger& CBigInteger::operator-=(const CBigInteger& other) {
    AddSigned(other, -other.m_sign);
    return *this;
}

CBigInteger CBigInteger::operator*(const CBigInteger& other) const {
    CBigInteger product;
    product.m_sign = m_sign * other.m_sign;
    if (m_digits.size() == 1 && other.m_digits.size() == 1) {
        BuildDWORDLONG(static_cast<uint64_t>(m_digits[0]) * other.m_digits[0], product.m_digits);
    } else {
        Multiply(m_digits, other.m_digits, product.m_digits);
    }
    return product;
}

CBigInteger& CBigInteger::operator*=(const CBigInteger& other) {
    *this = *this * other;
    return *this;
}

CBigInteger CBigInteger::operator/(const CBigInteger& other) const {
    if (other.m_digits.IsZero()) ThrowInvalid(L"ERROR: Overflow in operator/.");
    CBigInteger quotient;
    if (m_digits.IsZero()) return quotient;
    Digits remainder;
    Divide(m_digits, other.m_digits, quotient.m_digits, remainder);
    quotient.m_sign = m_sign == other.m_sign ? 1 : -1;
    return quotient;
}

CBigInteger CBigInteger::operator%(const CBigInteger& other) const {
    if (other.m_digits.IsZero()) ThrowInvalid(L"ERROR: Overflow in operator%.");
    CBigInteger remainder;
    Digits quotient;
    Divide(m_digits, other.m_digits, quotient, remainder.m_digits);
    remainder.m_sign = m_sign;
    return remainder;
}

CBigInteger& CBigInteger::operator/=(const CBigInteger& other) {
    if (other.m_digits.IsZero()) ThrowInvalid(L"ERROR: Overflow in operator /=.");
    *this = *this / other;
    return *this;
}

CBigInteger& CBigInteger::operator%=(const CBigInteger& other) {
    if (other.m_digits.IsZero()) ThrowInvalid(L"ERROR: Overflow in operator%=.");
    *this = *this % other;
    return *this;
}

// ---------------------------------------------------------------- roots, powers, conversions

CBigInteger CBigInteger::SquareRoot() const {
    if (m_sign < 0 && !m_digits.IsZero()) ThrowInvalid(L"ERROR: Negative Number in function SquareRoot().");
    if (m_digits.IsZero()) return CBigInteger();
    const CBigInteger value = GetAbs();
    // A power of ten at or above the root, then Newton's steps down to the floor of the root.
    CBigInteger x = Pow10((Position(m_digits) + 1) / 2);
    const CBigInteger two(2);
    for (;;) {
        CBigInteger next = (x + value / x) / two;
        if (!(next < x)) return x;
        x = std::move(next);
    }
}

CBigInteger CBigInteger::Pow10(unsigned int n) {
    CBigInteger power;
    Pow10(n, power.m_digits);
    return power;
}

bool CBigInteger::FitsInt64(long long& value) const {
    const uint32_t size = m_digits.size();
    if (size > 3 || (size == 3 && m_digits[2] > 9)) return false;
    uint64_t magnitude = 0;
    for (uint32_t i = size; i-- > 0;) magnitude = magnitude * kBase + m_digits[i];
    const uint64_t limit = m_sign < 0 ? 9223372036854775808ull : 9223372036854775807ull;
    if (magnitude > limit) return false;
    value = m_sign < 0 ? static_cast<long long>(0ull - magnitude) : static_cast<long long>(magnitude);
    return true;
}

CBigInteger::operator int() const {
    long long value = 0;
    if (!FitsInt64(value) || value < -2147483647ll - 1 || value > 2147483647ll)
        ThrowInvalid(L"ERROR: Value out of bound of int.");
    return static_cast<int>(value);
}

CBigInteger::operator long long() const {
    long long value = 0;
    if (!FitsInt64(value)) ThrowInvalid(L"ERROR: Value out of bound of LONGLONG.");
    return value;
}

}  // namespace QxXmlLib10

#include <qxxml/values/Conversions.h>

#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>
#include <qxxml/values/detail/DecimalDigits.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <limits>
#include <string>
#include <type_traits>

#if defined(_WIN32)
#  include <locale.h>
#else
#  include <clocale>
#  include <locale.h>
#endif

namespace QxXmlLib10 {

namespace {

using Rule = CWhitespaceUtils::WhitespaceRule;

// ------------------------------------------------------------------ working text

// The text after the white-space rule. A text the rule leaves unchanged, which is what
// nearly every value looks like, is used in place instead of being copied on every
// conversion.
class CWorkingText {
public:
    CWorkingText(const std::wstring& text, Rule rule) : m_text(&text) {
        if (CWhitespaceUtils::MayChange(rule, text)) {
            m_storage = CWhitespaceUtils::ApplyRule(rule, text);  // also refuses unknown rules
            m_text = &m_storage;
        }
    }
    CWorkingText(const CWorkingText&) = delete;
    CWorkingText& operator=(const CWorkingText&) = delete;

    const std::wstring& Text() const { return *m_text; }
    const wchar_t* Data() const { return m_text->data(); }
    size_t Size() const { return m_text->size(); }

private:
    const std::wstring* m_text;
    std::wstring m_storage;
};

[[noreturn]] void ThrowValue(const wchar_t* format, const std::wstring& text) {
    throw CQxInvalidValueException(FormatString(format, text.c_str()));
}

// ------------------------------------------------------------------ integers

// White space as the C library's number readers skip it (the "C" locale's isspace).
bool IsCSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The C library's base-10 integer reading: leading white space, an optional sign, digits.
struct IntegerScan {
    bool negative = false;
    bool overflow = false;    // the magnitude does not fit 64 bits
    bool complete = false;    // reading consumed the whole text
    uint64_t magnitude = 0;
};

IntegerScan ScanInteger(const wchar_t* p, size_t n) {
    IntegerScan scan;
    const wchar_t* end = p + n;
    const wchar_t* q = p;
    while (q < end && IsCSpace(*q)) ++q;
    if (q < end && (*q == L'+' || *q == L'-')) scan.negative = *q++ == L'-';
    const wchar_t* digits = q;
    for (; q < end && IsDigit(*q); ++q) {
        const unsigned digit = static_cast<unsigned>(*q - L'0');
        if (scan.magnitude > (UINT64_MAX - digit) / 10)
            scan.overflow = true;
        else
            scan.magnitude = scan.magnitude * 10 + digit;
    }
    // Without digits nothing is read at all: the reader stops at the very beginning.
    scan.complete = q == digits ? n == 0 : q == end;
    return scan;
}

int32_t ReadI4(const std::wstring& text) {
    const IntegerScan s = ScanInteger(text.data(), text.size());
    if (s.overflow || s.magnitude > (s.negative ? 2147483648u : 2147483647u))
        ThrowValue(L"The value [%s] is to large to fit in a i4", text);
    if (!s.complete) ThrowValue(L"The value [%s] can not be converted to a i4", text);
    return s.negative ? static_cast<int32_t>(0 - s.magnitude) : static_cast<int32_t>(s.magnitude);
}

uint32_t ReadUI4(const std::wstring& text) {
    const IntegerScan s = ScanInteger(text.data(), text.size());
    if (s.overflow || s.magnitude > UINT32_MAX) ThrowValue(L"The value [%s] is to large to fit in a ui4", text);
    if (!s.complete) ThrowValue(L"The value [%s] can not be converted to a ui4", text);
    // Like the C library's unsigned reader, a minus sign negates modulo 2^32.
    const uint32_t value = static_cast<uint32_t>(s.magnitude);
    return s.negative ? 0u - value : value;
}

template <class T>
std::wstring IntegerText(T value) {
    char digits[24];
    const std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
    return std::wstring(digits, r.ptr);
}

// Widened on the stack and appended in one piece: appending the narrow range itself would
// first make a temporary wide string on the heap. Values within 32 bits, nearly all of them,
// take the cheaper 32-bit digit loop.
template <class T>
void AppendIntegerText(std::wstring& out, T value) {
    char digits[24];
    using Narrow = std::conditional_t<std::is_signed<T>::value, int32_t, uint32_t>;
    const bool narrow = value >= T{std::numeric_limits<Narrow>::min()} && value <= T{std::numeric_limits<Narrow>::max()};
    const std::to_chars_result r = narrow ? std::to_chars(digits, digits + sizeof digits, static_cast<Narrow>(value))
                                          : std::to_chars(digits, digits + sizeof digits, value);
    wchar_t wide[24];
    const size_t count = static_cast<size_t>(r.ptr - digits);
    for (size_t i = 0; i < count; ++i) wide[i] = static_cast<wchar_t>(digits[i]);
    out.append(wide, count);
}

// ------------------------------------------------------------------ reals

#if defined(_WIN32)
using CLocaleHandle = _locale_t;
CLocaleHandle CNumericLocale() {
    static const CLocaleHandle c = _create_locale(LC_ALL, "C");
    return c;
}
double StrToDoubleC(const char* text) { return _strtod_l(text, nullptr, CNumericLocale()); }
#else
using CLocaleHandle = locale_t;
CLocaleHandle CNumericLocale() {
    static const CLocaleHandle c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}
double StrToDoubleC(const char* text) { return strtod_l(text, nullptr, CNumericLocale()); }
#endif

// A decimal floating-point number in narrow characters, kept on the stack for the usual
// short texts.
class CNumberBuffer {
public:
    void Push(char c) {
        if (m_size < sizeof m_small) {
            m_small[m_size] = c;
        } else {
            if (m_large.empty()) m_large.assign(m_small, m_size);
            m_large += c;
        }
        ++m_size;
    }
    const char* Begin() const { return m_large.empty() ? m_small : m_large.data(); }
    const char* End() const { return Begin() + m_size; }
    // A zero-terminated copy for the C library.
    std::string CString() const { return std::string(Begin(), End()); }

private:
    char m_small[64];
    size_t m_size = 0;
    std::string m_large;
};

// A decimal number as an integer mantissa and a power of ten, for the common case that needs
// no general conversion: with at most 15 significant digits the mantissa is an exact double,
// and so is every power of ten up to 1e22, so one multiplication or division gives the
// correctly rounded value (the same as the general conversion gives).
struct CExactDecimal {
    uint64_t mantissa = 0;
    int significantDigits = 0;
    long long exponent = 0;
    bool negative = false;

    void TakeDigit(wchar_t digit) {
        if (mantissa == 0 && digit == L'0') return;  // a leading zero
        if (++significantDigits <= 15) mantissa = mantissa * 10 + static_cast<uint64_t>(digit - L'0');
    }
    // False when the number needs the general conversion.
    bool Value(double& value) const {
        static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        if (significantDigits > 15 || exponent < -22 || exponent > 22) return false;
        const double m = static_cast<double>(mantissa);
        const double magnitude = exponent < 0 ? m / kPowers[-exponent] : m * kPowers[exponent];
        value = negative ? -magnitude : magnitude;
        return true;
    }
};

// Reads a decimal real the way the C library's wcstod does in the "C" locale, without its
// hexadecimal, "inf" and "nan" forms: leading white space, an optional sign, digits with an
// optional point (at least one digit), an optional exponent. False when the text holds
// anything else.
bool ScanReal(const wchar_t* p, const wchar_t* end, double& value) {
    while (p < end && IsCSpace(*p)) ++p;
    const wchar_t* const start = p;
    CExactDecimal exact;
    if (p < end && (*p == L'+' || *p == L'-')) {
        exact.negative = *p == L'-';
        ++p;
    }
    size_t mantissaDigits = 0;
    for (; p < end && IsDigit(*p); ++p, ++mantissaDigits) exact.TakeDigit(*p);
    if (p < end && *p == L'.') {
        for (++p; p < end && IsDigit(*p); ++p, ++mantissaDigits) {
            exact.TakeDigit(*p);
            --exact.exponent;
        }
    }
    if (mantissaDigits == 0) return false;
    if (p < end && (*p == L'e' || *p == L'E')) {
        const wchar_t* q = p + 1;
        if (q < end && (*q == L'+' || *q == L'-')) ++q;
        if (q < end && IsDigit(*q)) {  // an exponent needs digits, else reading stops at the 'e'
            const bool negativeExponent = p[1] == L'-';
            long long written = 0;
            for (p = q; p < end && IsDigit(*p); ++p)
                if (written < 100000) written = written * 10 + (*p - L'0');
            exact.exponent += negativeExponent ? -written : written;
        }
    }
    if (p != end) return false;

    if (exact.Value(value)) return true;
    // The general conversion reads the same characters, narrowed, without the '+' signs that
    // from_chars does not take.
    CNumberBuffer number;
    for (const wchar_t* c = start; c != end; ++c)
        if (*c != L'+') number.Push(static_cast<char>(*c));
    const std::from_chars_result r = std::from_chars(number.Begin(), number.End(), value);
    if (r.ec == std::errc::result_out_of_range) {
        // Overflow and underflow: the C library gives the infinity, the subnormal or the
        // zero without complaint, and so do we.
        value = StrToDoubleC(number.CString().c_str());
    }
    return true;
}

double ReadReal(const std::wstring& text, const wchar_t* failure) {
    if (text.empty()) return std::numeric_limits<double>::quiet_NaN();
    // Every special word ends in 'N' or 'F', which no number does: a number is not compared with them.
    if (text.back() == L'N' || text.back() == L'F') {
        if (text == L"NaN" || text == L"1.#QNAN" || text == L"-NAN") return std::numeric_limits<double>::quiet_NaN();
        if (text == L"-INF") return -std::numeric_limits<double>::infinity();
        if (text == L"INF") return std::numeric_limits<double>::infinity();
    }
    double value = 0;
    if (!ScanReal(text.data(), text.data() + text.size(), value)) ThrowValue(failure, text);
    return value;
}

// Narrows to float the way the hardware rounds, with out-of-range magnitudes going to
// infinity (a plain cast of such a value is undefined behaviour in C++).
float NarrowToFloat(double value) {
    // Halfway between FLT_MAX and the next power of two: from there on, rounding gives infinity.
    const double overflowThreshold = 0x1.ffffffp+127;
    if (value >= overflowThreshold) return std::numeric_limits<float>::infinity();
    if (value <= -overflowThreshold) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

// The library writes exponents with at least three digits ("1e+020"), as the platform it
// was first written for does.
void WidenExponent(char* text, size_t& length) {
    char* e = static_cast<char*>(std::memchr(text, 'e', length));
    if (!e) return;
    char* digits = e + 2;  // after the sign
    const size_t count = static_cast<size_t>(text + length - digits);
    if (count >= 3) return;
    std::memmove(digits + (3 - count), digits, count);
    std::memset(digits, '0', 3 - count);
    length += 3 - count;
}

bool IsNonFinite(double value, std::wstring& text) {
    if (std::isnan(value)) {
        text = L"NaN";
        return true;
    }
    if (std::isinf(value)) {
        text = value < 0 ? L"-INF" : L"INF";
        return true;
    }
    return false;
}

// printf("%.<precision>g") of a finite value without going through the locale, by the
// standard library's exact conversion. Correct for every value but slow: it is the fallback
// for the values the quick path below does not take.
size_t ExactGeneralChars(double value, int precision, wchar_t* out) {
    char text[64];
    const std::to_chars_result r =
        std::to_chars(text, text + sizeof text - 2, value, std::chars_format::general, precision);
    size_t length = static_cast<size_t>(r.ptr - text);
    WidenExponent(text, length);
    for (size_t i = 0; i < length; ++i) out[i] = static_cast<wchar_t>(text[i]);
    return length;
}

#if defined(__SIZEOF_INT128__)
#  define QXXML_HAS_INT128 1

// ---- "%.<P>g" in integer arithmetic
//
// A finite double is exactly m * 2^e. Its first P significant digits are
// round(m * 2^e * 10^(P-1-E)) for the decimal exponent E of the value, and for the
// magnitudes documents hold (about 1e-16 to 1e47 at P = 16) that quotient and its remainder
// fit 128-bit integers, so the correctly rounded digits (ties to even, as printf rounds in
// the default rounding mode) come from one multiplication and one shift or division.
// Values outside that range take the exact library path.

using U128 = unsigned __int128;

constexpr int kMaxPow5 = 54;  // 5^54 < 2^126

struct Pow5Table {
    U128 value[kMaxPow5 + 1];
    int bits[kMaxPow5 + 1];  // bit length of each power
    constexpr Pow5Table() : value(), bits() {
        value[0] = 1;
        for (int i = 1; i <= kMaxPow5; ++i) value[i] = value[i - 1] * 5;
        for (int i = 0; i <= kMaxPow5; ++i)
            for (U128 v = value[i]; v != 0; v >>= 1) ++bits[i];
    }
};
constexpr Pow5Table kPow5;

constexpr uint64_t kPow10[] = {1ull,
                               10ull,
                               100ull,
                               1000ull,
                               10000ull,
                               100000ull,
                               1000000ull,
                               10000000ull,
                               100000000ull,
                               1000000000ull,
                               10000000000ull,
                               100000000000ull,
                               1000000000000ull,
                               10000000000000ull,
                               100000000000000ull,
                               1000000000000000ull,
                               10000000000000000ull,
                               100000000000000000ull};

// The value m * 2^e (m > 0) rounded to `precision` (1..17) significant digits: `digits` gets
// exactly that many digits and `exponent` the decimal exponent of the first one. False when
// the numbers involved would not fit 128 bits.
bool RoundToSignificantDigits(uint64_t m, int e, int precision, uint64_t& digits, int& exponent) {
    const int tz = __builtin_ctzll(m);  // fewer bits, more values within reach
    m >>= tz;
    e += tz;
    const int mBits = 64 - __builtin_clzll(m);
    const int binaryExponent = e + mBits - 1;  // 2^binaryExponent <= value < 2^(binaryExponent+1)
    // floor(binaryExponent * log10(2)), possibly one too high for negative exponents; the
    // loop below corrects it.
    int decimal = binaryExponent >= 0 ? binaryExponent * 1233 / 4096 : -((-binaryExponent * 1233 + 4095) / 4096);
    const uint64_t lowest = kPow10[precision - 1];
    const uint64_t limit = kPow10[precision];
    for (int attempt = 0; attempt < 3; ++attempt) {
        // value * 10^p = N / D with both integers.
        const int p = precision - 1 - decimal;
        const int pow5N = p > 0 ? p : 0;
        const int pow5D = p < 0 ? -p : 0;
        const int pow2 = e + p;
        const int pow2N = pow2 > 0 ? pow2 : 0;
        const int pow2D = pow2 < 0 ? -pow2 : 0;
        if (pow5N > kMaxPow5 || pow5D > kMaxPow5) return false;
        if (mBits + kPow5.bits[pow5N] + pow2N > 126) return false;
        if (kPow5.bits[pow5D] + pow2D > 125) return false;
        const U128 n = (static_cast<U128>(m) * kPow5.value[pow5N]) << pow2N;
        U128 quotient, remainder, divisor;
        if (pow5D == 0) {
            divisor = static_cast<U128>(1) << pow2D;
            quotient = n >> pow2D;
            remainder = n & (divisor - 1);
        } else {
            divisor = kPow5.value[pow5D] << pow2D;
            quotient = n / divisor;
            remainder = n - quotient * divisor;  // one 128-bit division is costly enough
        }
        if (quotient >= limit) {
            ++decimal;
            continue;
        }
        if (quotient < lowest) {
            --decimal;
            continue;
        }
        uint64_t q = static_cast<uint64_t>(quotient);
        const U128 twice = remainder << 1;
        if (twice > divisor || (twice == divisor && (q & 1))) ++q;
        if (q == limit) {  // 9.99... rounded up to the next power of ten
            q = lowest;
            ++decimal;
        }
        digits = q;
        exponent = decimal;
        return true;
    }
    return false;
}

// Lays out rounded digits the way "%.<precision>g" does: fixed notation for exponents from
// -4 to precision-1, else d.ddde+XXX; trailing zeros and a bare point dropped; exponents
// written with at least three digits (see WidenExponent). Returns the length written.
size_t LayOutGeneral(bool negative, uint64_t digits, int exponent, int precision, wchar_t* out) {
    // The trailing zeros go first, in strides of 8, 4, 2 and 1 (the digits of short values are
    // mostly zeros): only the digits kept are written. `digits` has exactly `count` digits and
    // a non-zero first one, so a stride never takes the last digit.
    int count = precision;
    while (digits % 100000000 == 0) {
        digits /= 100000000;
        count -= 8;
    }
    if (digits % 10000 == 0) {
        digits /= 10000;
        count -= 4;
    }
    if (digits % 100 == 0) {
        digits /= 100;
        count -= 2;
    }
    if (digits % 10 == 0) {
        digits /= 10;
        count -= 1;
    }
    char d[20];
    if (count > 8) {  // two halves in 32-bit arithmetic
        detail::WriteDecimalDigits(static_cast<uint32_t>(digits / 100000000), d, count - 8);
        detail::WriteDecimalDigits(static_cast<uint32_t>(digits % 100000000), d + count - 8, 8);
    } else {
        detail::WriteDecimalDigits(static_cast<uint32_t>(digits), d, count);
    }

    wchar_t* p = out;
    if (negative) *p++ = L'-';
    if (exponent < -4 || exponent >= precision) {
        *p++ = static_cast<wchar_t>(d[0]);
        if (count > 1) {
            *p++ = L'.';
            for (int i = 1; i < count; ++i) *p++ = static_cast<wchar_t>(d[i]);
        }
        *p++ = L'e';
        *p++ = exponent < 0 ? L'-' : L'+';
        const int magnitude = exponent < 0 ? -exponent : exponent;
        *p++ = static_cast<wchar_t>(L'0' + magnitude / 100);
        *p++ = static_cast<wchar_t>(L'0' + magnitude / 10 % 10);
        *p++ = static_cast<wchar_t>(L'0' + magnitude % 10);
    } else if (exponent >= 0) {
        const int integerDigits = exponent + 1;
        for (int i = 0; i < integerDigits; ++i) *p++ = i < count ? static_cast<wchar_t>(d[i]) : L'0';
        if (count > integerDigits) {
            *p++ = L'.';
            for (int i = integerDigits; i < count; ++i) *p++ = static_cast<wchar_t>(d[i]);
        }
    } else {
        *p++ = L'0';
        *p++ = L'.';
        for (int i = -1; i > exponent; --i) *p++ = L'0';
        for (int i = 0; i < count; ++i) *p++ = static_cast<wchar_t>(d[i]);
    }
    return static_cast<size_t>(p - out);
}
#endif

// Room for every text DefaultRealChars writes: at most a sign, 17 digits, a point and a
// five-character exponent, or a sign, "0.0000" and 17 digits.
constexpr size_t kRealChars = 48;

// The text of a value written without a format: "NaN", "INF", "-INF", else
// printf("%.<precision>g") (precision 1 to 17) with three-digit exponents. Writes to
// out[0..kRealChars) and returns the length.
size_t DefaultRealChars(double value, int precision, wchar_t* out) {
    if (std::isnan(value)) return std::wcslen(std::wcscpy(out, L"NaN"));
    if (std::isinf(value)) return std::wcslen(std::wcscpy(out, value < 0 ? L"-INF" : L"INF"));
#if defined(QXXML_HAS_INT128)
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
    if (biased == 0 && fraction == 0) return std::wcslen(std::wcscpy(out, negative ? L"-0" : L"0"));
    const uint64_t m = biased == 0 ? fraction : fraction | (uint64_t{1} << 52);
    const int e = biased == 0 ? -1074 : biased - 1075;
    uint64_t digits;
    int exponent;
    if (RoundToSignificantDigits(m, e, precision, digits, exponent))
        return LayOutGeneral(negative, digits, exponent, precision, out);
#endif
    return ExactGeneralChars(value, precision, out);
}

std::wstring DefaultRealText(double value, int precision) {
    wchar_t text[kRealChars];
    return std::wstring(text, DefaultRealChars(value, precision, text));
}

// True when `format` is a printf format with at most one conversion, and that one takes a
// double (e, f, g, a in either case, with flags, width and precision but no '*'). Anything
// else would make printf read an argument that is not there.
bool IsRealFormat(const std::wstring& format) {
    int conversions = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%') continue;
        if (++i < format.size() && format[i] == L'%') continue;
        while (i < format.size() && std::wcschr(L"-+ #0", format[i]) && format[i]) ++i;
        while (i < format.size() && IsDigit(format[i])) ++i;
        if (i < format.size() && format[i] == L'.')
            for (++i; i < format.size() && IsDigit(format[i]);) ++i;
        if (i < format.size() && format[i] == L'l') ++i;
        if (i >= format.size() || !format[i] || !std::wcschr(L"eEfFgGaA", format[i])) return false;
        ++conversions;
    }
    return conversions <= 1;
}

std::wstring RealText(double value, const std::wstring& format, int defaultPrecision, size_t maxLength) {
    std::wstring text;
    if (IsNonFinite(value, text)) return text;
    if (format.empty()) return DefaultRealText(value, defaultPrecision);
    if (!IsRealFormat(format))
        throw CQxInvalidParamException(FormatString(L"Invalid floating-point format [%s]", format.c_str()));
    text = FormatString(format.c_str(), value);
    // Output beyond the library's buffer size is cut off at its end.
    if (text.size() > maxLength) text.resize(maxLength);
    return text;
}

// ------------------------------------------------------------------ other helpers

// The C library's _wtoi: leading white space, an optional sign, digits; 0 without digits.
// Values beyond the int range are clamped.
int LeadingInteger(const std::wstring& text) {
    const wchar_t* p = text.c_str();
    while (IsCSpace(*p)) ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-') negative = *p++ == L'-';
    long long value = 0;
    for (; IsDigit(*p); ++p) {
        value = value * 10 + (*p - L'0');
        if (value > INT_MAX) {
            value = static_cast<long long>(INT_MAX) + 1;
            if (!negative) value = INT_MAX;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

bool EqualsIgnoringCase(const std::wstring& text, const wchar_t* lowerAscii) {
    size_t i = 0;
    for (; lowerAscii[i]; ++i) {
        if (i >= text.size()) return false;
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != lowerAscii[i]) return false;
    }
    return i == text.size();
}

CDateTime ParseDateKind(const std::wstring& text, Rule rule, CDateTime::DTType kind) {
    const CWorkingText work(text, rule);
    CDateTime value(kind);
    value.ParseXSDDate(work.Text().c_str());
    return value;
}

}  // namespace

// ------------------------------------------------------------------ binary

std::wstring CConversions::hexBinaryToString(const CBinaryData& value) { return value.GetAsHexString(); }

CBinaryData CConversions::hexBinaryFromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    CBinaryData value;
    value.SetAsHexString(work.Text().c_str());
    return value;
}

std::wstring CConversions::base64BinaryToString(const CBinaryData& value) { return value.GetAsBase64(); }

CBinaryData CConversions::base64BinaryFromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    CBinaryData value;
    value.SetAsBase64(work.Text().c_str());
    return value;
}

// ------------------------------------------------------------------ signed integers

std::wstring CConversions::i1ToString(char value) { return IntegerText(static_cast<int>(static_cast<signed char>(value))); }
std::wstring CConversions::i2ToString(short value) { return IntegerText(static_cast<int>(value)); }
std::wstring CConversions::i4ToString(int32_t value) { return IntegerText(value); }
std::wstring CConversions::i8ToString(long long value) { return IntegerText(value); }

int32_t CConversions::i4FromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    return ReadI4(work.Text());
}

// i1 and i2 read as i4 first (so i4 failures keep their i4 messages); their own range
// message carries the text as the caller gave it.
char CConversions::i1FromString(const std::wstring& text, WhitespaceRule rule) {
    const int32_t value = i4FromString(text, rule);
    if (value < -128 || value > 127) ThrowValue(L"The value [%s] is to large to fit in a i1", text);
    return static_cast<char>(value);
}

short CConversions::i2FromString(const std::wstring& text, WhitespaceRule rule) {
    const int32_t value = i4FromString(text, rule);
    if (value < -32768 || value > 32767) ThrowValue(L"The value [%s] is to large to fit in a i2", text);
    return static_cast<short>(value);
}

long long CConversions::i8FromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    const IntegerScan s = ScanInteger(work.Data(), work.Size());
    if (s.overflow || s.magnitude > (s.negative ? (uint64_t{1} << 63) : uint64_t{INT64_MAX}))
        ThrowValue(L"The value [%s] is to large to fit in a i8", work.Text());
    if (!s.complete) ThrowValue(L"The value [%s] can not be converted to a i8", work.Text());
    return s.negative ? static_cast<long long>(0 - s.magnitude) : static_cast<long long>(s.magnitude);
}

// ------------------------------------------------------------------ unsigned integers

std::wstring CConversions::ui1ToString(unsigned char value) { return IntegerText(static_cast<unsigned>(value)); }
std::wstring CConversions::ui2ToString(unsigned short value) { return IntegerText(static_cast<unsigned>(value)); }
std::wstring CConversions::ui4ToString(uint32_t value) { return IntegerText(value); }
std::wstring CConversions::ui8ToString(unsigned long long value) { return IntegerText(value); }

void CConversions::i8AppendTo(std::wstring& out, long long value) { AppendIntegerText(out, value); }
void CConversions::ui8AppendTo(std::wstring& out, unsigned long long value) { AppendIntegerText(out, value); }

uint32_t CConversions::ui4FromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    return ReadUI4(work.Text());
}

unsigned char CConversions::ui1FromString(const std::wstring& text, WhitespaceRule rule) {
    const uint32_t value = ui4FromString(text, rule);
    if (value > 255) ThrowValue(L"The value [%s] is to large to fit in a ui1", text);
    return static_cast<unsigned char>(value);
}

unsigned short CConversions::ui2FromString(const std::wstring& text, WhitespaceRule rule) {
    const uint32_t value = ui4FromString(text, rule);
    if (value > 65535) ThrowValue(L"The value [%s] is to large to fit in a ui2", text);
    return static_cast<unsigned short>(value);
}

unsigned long long CConversions::ui8FromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    const IntegerScan s = ScanInteger(work.Data(), work.Size());
    if (s.overflow) ThrowValue(L"The value [%s] is to large to fit in a ui8", work.Text());
    if (!s.complete) ThrowValue(L"The value [%s] can not be converted to a ui8", work.Text());
    return s.negative ? 0 - s.magnitude : s.magnitude;  // a minus sign negates modulo 2^64
}

// ------------------------------------------------------------------ reals

std::wstring CConversions::r4ToString(float value) { return DefaultRealText(static_cast<double>(value), 7); }

void CConversions::r4AppendTo(std::wstring& out, float value) {
    wchar_t text[kRealChars];
    out.append(text, DefaultRealChars(static_cast<double>(value), 7, text));
}

std::wstring CConversions::r4ToString(float value, const std::wstring& format) {
    return RealText(static_cast<double>(value), format, 7, 31);
}

std::wstring CConversions::r8ToString(double value) { return DefaultRealText(value, 16); }

void CConversions::r8AppendTo(std::wstring& out, double value) {
    wchar_t text[kRealChars];
    out.append(text, DefaultRealChars(value, 16, text));
}

std::wstring CConversions::r8ToString(double value, const std::wstring& format) {
    return RealText(value, format, 16, 47);
}

float CConversions::r4FromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    return NarrowToFloat(ReadReal(work.Text(), L"The value [%s] can not be converted to a r4"));
}

double CConversions::r8FromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    return ReadReal(work.Text(), L"The value [%s] can not be converted to a r8");
}

bool CConversions::r8FromNumberText(const wchar_t* text, size_t length, double& value) {
    if (length == 0 || IsCSpace(text[0])) return false;
    return ScanReal(text, text + length, value);
}

bool CConversions::r4FromNumberText(const wchar_t* text, size_t length, float& value) {
    double wide = 0;
    if (!r8FromNumberText(text, length, wide)) return false;
    value = NarrowToFloat(wide);
    return true;
}

// ------------------------------------------------------------------ dates, times, durations

std::wstring CConversions::durationToString(const CDateTimeSpan& value) { return value.ToString(); }

CDateTimeSpan CConversions::durationFromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    CDateTimeSpan value;
    value.ParseXSDDuration(work.Text().c_str());
    return value;
}

std::wstring CConversions::yearMonthToString(const CDateTime& value) { return value.ToString(L"s"); }
std::wstring CConversions::monthDayToString(const CDateTime& value) { return value.ToString(L"s"); }
std::wstring CConversions::dateToString(const CDateTime& value) { return value.ToString(L"s"); }
std::wstring CConversions::datetimeToString(const CDateTime& value) { return value.ToString(L"s"); }
std::wstring CConversions::timeToString(const CDateTime& value) { return value.ToString(L"s"); }

CDateTime CConversions::yearMonthFromString(const std::wstring& text, WhitespaceRule rule) {
    return ParseDateKind(text, rule, CDateTime::dt_gYearMonth);
}

CDateTime CConversions::monthDayFromString(const std::wstring& text, WhitespaceRule rule) {
    return ParseDateKind(text, rule, CDateTime::dt_gMonthDay);
}

CDateTime CConversions::dateFromString(const std::wstring& text, WhitespaceRule rule) {
    return ParseDateKind(text, rule, CDateTime::dt_date);
}

CDateTime CConversions::datetimeFromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    CDateTime value(CDateTime::dt_dateTime);
    value.ParseXSDDateTime(work.Text().c_str());
    return value;
}

CDateTime CConversions::timeFromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    CDateTime value(CDateTime::dt_time);
    value.ParseXSDTime(work.Text().c_str());
    return value;
}

std::wstring CConversions::yearToString(unsigned short value) { return IntegerText(static_cast<unsigned>(value)); }

std::wstring CConversions::monthToString(unsigned char value) {
    std::wstring text = IntegerText(static_cast<unsigned>(value));
    text.insert(0, value < 10 ? L"--0" : L"--");
    return text;
}

std::wstring CConversions::dayToString(unsigned char value) {
    std::wstring text = IntegerText(static_cast<unsigned>(value));
    text.insert(0, value < 10 ? L"---0" : L"---");
    return text;
}

// The year, month and day kinds read the gYear, gMonth and gDay forms (an optional zone is
// read and dropped); another form fails in the field getter with the kind it has.
unsigned short CConversions::yearFromString(const std::wstring& text, WhitespaceRule rule) {
    return static_cast<unsigned short>(ParseDateKind(text, rule, CDateTime::dt_gYear).GetYear());
}

unsigned char CConversions::monthFromString(const std::wstring& text, WhitespaceRule rule) {
    return ParseDateKind(text, rule, CDateTime::dt_gMonth).GetMonth();
}

unsigned char CConversions::dayFromString(const std::wstring& text, WhitespaceRule rule) {
    return ParseDateKind(text, rule, CDateTime::dt_gDay).GetDay();
}

// ------------------------------------------------------------------ char, string, boolean

std::wstring CConversions::charToString(wchar_t value) { return std::wstring(1, value); }

wchar_t CConversions::charFromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    if (work.Size() != 1)
        ThrowValue(L"The value [%s] can not be a char as it is either empty of greater than 1 char long", work.Text());
    return work.Text()[0];
}

std::wstring CConversions::stringToString(const std::wstring& value) { return value; }

std::wstring CConversions::stringFromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    return work.Text();
}

std::wstring CConversions::booleanToString(bool value) { return value ? L"true" : L"false"; }

bool CConversions::booleanFromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    const std::wstring& w = work.Text();
    if (EqualsIgnoringCase(w, L"true")) return true;
    if (EqualsIgnoringCase(w, L"false")) return false;
    if (w == L"1") return true;
    if (w == L"0") return false;
    ThrowValue(L"A Boolean Value read from an XML document was invalid [%s]. Valid values are 'true', 'false', "
               L"'1', or '0'",
               text);
}

// ------------------------------------------------------------------ decimal, integer

std::wstring CConversions::decimalToString(const CDecimal& value) { return value.ToString(); }

std::wstring CConversions::decimalToString(const CDecimal& value, const std::wstring& format) {
    if (format.empty()) return value.ToString();
    return value.ToString(LeadingInteger(format));
}

CDecimal CConversions::decimalFromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    return CDecimal(work.Text().c_str());
}

std::wstring CConversions::integerToString(const CBigInteger& value) { return value.ToString(); }

CBigInteger CConversions::integerFromString(const std::wstring& text, WhitespaceRule rule) {
    const CWorkingText work(text, rule);
    return CBigInteger(work.Text().c_str());
}

}  // namespace QxXmlLib10

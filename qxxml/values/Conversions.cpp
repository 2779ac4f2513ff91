#include <qxxml/values/Conversions.h>

#include <qxxml/support/QxException.h>
#include <qxxml/values/FormatString.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

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

bool IsKnownRule(Rule rule) {
    return rule == CWhitespaceUtils::WhitespaceRule_None || rule == CWhitespaceUtils::WhitespaceRule_Preserve ||
           rule == CWhitespaceUtils::WhitespaceRule_Replace || rule == CWhitespaceUtils::WhitespaceRule_Collapse;
}

bool HasXmlWhiteSpace(const std::wstring& text) {
    for (wchar_t c : text)
        if (CWhitespaceUtils::IsWhiteSpace(c)) return true;
    return false;
}

// The text after the white-space rule. Every rule leaves a text without space, tab, CR and
// LF unchanged, which is what nearly every value looks like, so such a text is used in
// place instead of being copied on every conversion.
class CWorkingText {
public:
    CWorkingText(const std::wstring& text, Rule rule) : m_text(&text) {
        if (rule != CWhitespaceUtils::WhitespaceRule_None && (!IsKnownRule(rule) || HasXmlWhiteSpace(text))) {
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

// Reads a decimal real the way the C library's wcstod does in the "C" locale, without its
// hexadecimal, "inf" and "nan" forms: leading white space, an optional sign, digits with an
// optional point (at least one digit), an optional exponent. False when the text holds
// anything else.
bool ScanReal(const std::wstring& text, double& value) {
    const wchar_t* p = text.data();
    const wchar_t* end = p + text.size();
    while (p < end && IsCSpace(*p)) ++p;
    CNumberBuffer number;
    if (p < end && (*p == L'+' || *p == L'-')) {
        if (*p == L'-') number.Push('-');
        ++p;
    }
    size_t mantissaDigits = 0;
    for (; p < end && IsDigit(*p); ++p, ++mantissaDigits) number.Push(static_cast<char>(*p));
    if (p < end && *p == L'.') {
        number.Push('.');
        for (++p; p < end && IsDigit(*p); ++p, ++mantissaDigits) number.Push(static_cast<char>(*p));
    }
    if (mantissaDigits == 0) return false;
    if (p < end && (*p == L'e' || *p == L'E')) {
        const wchar_t* q = p + 1;
        if (q < end && (*q == L'+' || *q == L'-')) ++q;
        if (q < end && IsDigit(*q)) {  // an exponent needs digits, else reading stops at the 'e'
            number.Push('e');
            if (p[1] == L'-') number.Push('-');
            for (p = q; p < end && IsDigit(*p); ++p) number.Push(static_cast<char>(*p));
        }
    }
    if (p != end) return false;

    const std::from_chars_result r = std::from_chars(number.Begin(), number.End(), value);
    if (r.ec == std::errc::result_out_of_range) {
        // Overflow and underflow: the C library gives the infinity, the subnormal or the
        // zero without complaint, and so do we.
        value = StrToDoubleC(number.CString().c_str());
    }
    return true;
}

double ReadReal(const std::wstring& text, const wchar_t* failure) {
    if (text.empty() || text == L"NaN" || text == L"1.#QNAN" || text == L"-NAN")
        return std::numeric_limits<double>::quiet_NaN();
    if (text == L"-INF") return -std::numeric_limits<double>::infinity();
    if (text == L"INF") return std::numeric_limits<double>::infinity();
    double value = 0;
    if (!ScanReal(text, value)) ThrowValue(failure, text);
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

// printf("%.<precision>g") of a finite value without going through the locale.
std::wstring GeneralText(double value, int precision) {
    char text[64];
    const std::to_chars_result r =
        std::to_chars(text, text + sizeof text - 2, value, std::chars_format::general, precision);
    size_t length = static_cast<size_t>(r.ptr - text);
    WidenExponent(text, length);
    return std::wstring(text, text + length);
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
    if (format.empty()) return GeneralText(value, defaultPrecision);
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

std::wstring CConversions::r4ToString(float value) { return r4ToString(value, std::wstring()); }

std::wstring CConversions::r4ToString(float value, const std::wstring& format) {
    return RealText(static_cast<double>(value), format, 7, 31);
}

std::wstring CConversions::r8ToString(double value) { return r8ToString(value, std::wstring()); }

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

#include <qxxml/values/FormatString.h>

#include <qxxml/platform/Platform.h>

#include <cassert>
#include <cmath>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <locale.h>
#if defined(_WIN32)
#include <stdio.h>
#endif

namespace QxXmlLib10 {

namespace {

#if defined(_WIN32)
// The Windows CRT takes the locale per call (_snwprintf_l), so no thread state changes.
class CLocaleScope {};

_locale_t CLocale() {
    static _locale_t c = _create_locale(LC_ALL, "C");
    return c;
}

template <class T>
int FormatNative(wchar_t* buffer, size_t size, const wchar_t* nativeFormat, T value) {
    return _snwprintf_l(buffer, size, nativeFormat, CLocale(), value);
}
#else
// Switches the calling thread to the "C" locale for the lifetime of the object, so that
// number formatting never follows the process locale.
class CLocaleScope {
public:
    CLocaleScope() : m_previous(uselocale(CLocale())) {}
    ~CLocaleScope() { uselocale(m_previous); }

private:
    static locale_t CLocale() {
        static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        return c;
    }
    locale_t m_previous;
};

// Formats one value under the locale set by CLocaleScope; negative when it does not fit.
template <class T>
int FormatNative(wchar_t* buffer, size_t size, const wchar_t* nativeFormat, T value) {
    return swprintf(buffer, size, nativeFormat, value);
}
#endif

enum class Length { None, Short, Long, LongLong, Size, Int64 };

// One parsed conversion: everything between '%' and the conversion character.
struct Conversion {
    std::wstring flags;
    int width = -1;      // -1: none
    int precision = -1;  // -1: none
    Length length = Length::None;
    wchar_t type = 0;
};

bool IsFlag(wchar_t c) { return c == L'-' || c == L'+' || c == L' ' || c == L'#' || c == L'0'; }

// A width or precision; absurdly long digit runs stop growing instead of overflowing.
int ReadNumber(const wchar_t*& p) {
    int n = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p)
        if (n < 100000000) n = n * 10 + (*p - L'0');
    return n;
}

// Parses the conversion starting after '%'; star widths are taken from the arguments.
Conversion ParseConversion(const wchar_t*& p, va_list& args) {
    Conversion c;
    while (IsFlag(*p)) c.flags += *p++;
    if (*p == L'*') {
        ++p;
        c.width = va_arg(args, int);
        if (c.width < 0) {
            c.flags += L'-';
            c.width = -c.width;
        }
    } else if (*p >= L'0' && *p <= L'9') {
        c.width = ReadNumber(p);
    }
    if (*p == L'.') {
        ++p;
        if (*p == L'*') {
            ++p;
            c.precision = va_arg(args, int);
        } else {
            c.precision = ReadNumber(p);
        }
    }
    if (*p == L'h') {
        ++p;
        c.length = Length::Short;
        if (*p == L'h') ++p;
    } else if (*p == L'l') {
        ++p;
        c.length = Length::Long;
        if (*p == L'l') {
            ++p;
            c.length = Length::LongLong;
        }
    } else if (*p == L'I' && p[1] == L'6' && p[2] == L'4') {
        p += 3;
        c.length = Length::Int64;
    } else if (*p == L'z' || *p == L'j' || *p == L't') {
        ++p;
        c.length = Length::Size;
    } else if (*p == L'L') {
        ++p;
    }
    c.type = *p ? *p++ : 0;
    return c;
}

// Builds the glibc format for one conversion with the given length modifier and type.
std::wstring NativeSpec(const Conversion& c, const wchar_t* lengthModifier, wchar_t type) {
    std::wstring nativeFormat = L"%" + c.flags;
    if (c.width >= 0) nativeFormat += std::to_wstring(c.width);
    if (c.precision >= 0) nativeFormat += L"." + std::to_wstring(c.precision);
    nativeFormat += lengthModifier;
    nativeFormat += type;
    return nativeFormat;
}

template <class T>
void AppendNative(std::wstring& out, const std::wstring& nativeFormat, T value) {
    wchar_t small[128];
    int n = FormatNative(small, sizeof small / sizeof small[0], nativeFormat.c_str(), value);
    if (n >= 0) {
        out.append(small, static_cast<size_t>(n));
        return;
    }
    // Wider than the small buffer (a large width or precision): grow until it fits.
    std::wstring big(512, L'\0');
    for (;;) {
        n = FormatNative(&big[0], big.size(), nativeFormat.c_str(), value);
        if (n >= 0) {
            out.append(big.data(), static_cast<size_t>(n));
            return;
        }
        big.resize(big.size() * 2);
    }
}

// Pads a string argument to the conversion's width, honouring precision as a maximum length.
void AppendPadded(std::wstring& out, const Conversion& c, const wchar_t* text, size_t length) {
    if (c.precision >= 0 && static_cast<size_t>(c.precision) < length) length = static_cast<size_t>(c.precision);
    const size_t width = c.width > 0 ? static_cast<size_t>(c.width) : 0;
    const bool left = c.flags.find(L'-') != std::wstring::npos;
    if (!left && width > length) out.append(width - length, L' ');
    out.append(text, length);
    if (left && width > length) out.append(width - length, L' ');
}

void AppendNarrow(std::wstring& out, const Conversion& c, const char* text) {
    std::wstring wide;
    if (!text) text = "(null)";
    for (const char* q = text; *q; ++q) wide += static_cast<wchar_t>(static_cast<unsigned char>(*q));
    AppendPadded(out, c, wide.data(), wide.size());
}

// glibc writes at least two exponent digits; the library's documented forms have three.
void WidenExponent(std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if ((text[i] == L'e' || text[i] == L'E') && (text[i + 1] == L'+' || text[i + 1] == L'-')) {
            size_t digits = 0;
            while (i + 2 + digits < text.size() && text[i + 2 + digits] >= L'0' && text[i + 2 + digits] <= L'9')
                ++digits;
            if (digits == 2) text.insert(i + 2, 1, L'0');
            return;
        }
    }
}

bool HasFlag(const Conversion& c, wchar_t flag) { return c.flags.find(flag) != std::wstring::npos; }

// %e and %g: the number is formatted without its field width, its exponent widened, and only
// then padded, so that the width counts the final text (" 1e+020", "001.0e+020", "1e+020  ").
void AppendExponentForm(std::wstring& out, const Conversion& c, double value) {
    Conversion bare = c;
    bare.width = -1;
    bare.flags.clear();
    for (wchar_t flag : c.flags)
        if (flag != L'-' && flag != L'0') bare.flags += flag;
    std::wstring text;
    AppendNative(text, NativeSpec(bare, L"", c.type), value);
    WidenExponent(text);

    const size_t width = c.width > 0 ? static_cast<size_t>(c.width) : 0;
    if (text.size() < width) {
        const size_t pad = width - text.size();
        if (HasFlag(c, L'-')) {
            text.append(pad, L' ');
        } else if (HasFlag(c, L'0') && std::isfinite(value)) {
            // Zeros go between the sign and the digits.
            const size_t at = (text[0] == L'+' || text[0] == L'-' || text[0] == L' ') ? 1 : 0;
            text.insert(at, pad, L'0');
        } else {
            text.insert(0, pad, L' ');
        }
    }
    out += text;
}

void AppendInteger(std::wstring& out, const Conversion& c, va_list& args) {
    const bool isSigned = c.type == L'd' || c.type == L'i';
    switch (c.length) {
        case Length::LongLong:
        case Length::Int64:
            if (isSigned) AppendNative(out, NativeSpec(c, L"ll", c.type), va_arg(args, long long));
            else AppendNative(out, NativeSpec(c, L"ll", c.type), va_arg(args, unsigned long long));
            break;
        case Length::Size:
            AppendNative(out, NativeSpec(c, L"z", c.type), va_arg(args, size_t));
            break;
        case Length::Short:
            if (isSigned) AppendNative(out, NativeSpec(c, L"", c.type), static_cast<short>(va_arg(args, int)));
            else AppendNative(out, NativeSpec(c, L"", c.type), static_cast<unsigned short>(va_arg(args, unsigned)));
            break;
        default:
            // "long" means 32 bits at this interface, the same as int.
            if (isSigned) AppendNative(out, NativeSpec(c, L"", c.type), va_arg(args, int));
            else AppendNative(out, NativeSpec(c, L"", c.type), va_arg(args, unsigned));
            break;
    }
}

void AppendConversion(std::wstring& out, const Conversion& c, va_list& args) {
    switch (c.type) {
        case L'd': case L'i': case L'u': case L'x': case L'X': case L'o':
            AppendInteger(out, c, args);
            break;
        case L'f': case L'F': case L'a': case L'A':
            AppendNative(out, NativeSpec(c, L"", c.type), va_arg(args, double));
            break;
        case L'e': case L'E': case L'g': case L'G':
            AppendExponentForm(out, c, va_arg(args, double));
            break;
        case L'c': case L'C': {
            const bool narrow = c.type == L'C' || c.length == Length::Short;
            // Both kinds arrive promoted to int (a 16-bit wchar_t does too).
            const int arg = va_arg(args, int);
            wchar_t ch = narrow ? static_cast<wchar_t>(static_cast<unsigned char>(arg)) : static_cast<wchar_t>(arg);
            AppendPadded(out, c, &ch, 1);
            break;
        }
        case L's': case L'S': {
            const bool narrow = c.type == L'S' || c.length == Length::Short;
            if (narrow) {
                AppendNarrow(out, c, va_arg(args, const char*));
            } else {
                const wchar_t* text = va_arg(args, const wchar_t*);
                if (!text) text = L"(null)";
                AppendPadded(out, c, text, wcslen(text));
            }
            break;
        }
        case L'p':
            AppendNative(out, NativeSpec(c, L"", L'p'), va_arg(args, void*));
            break;
        case L'%':
            out += L'%';
            break;
        case 0:
            break;
        default:  // unknown conversion: copied as written
            out += L'%';
            out += c.type;
            break;
    }
}

}  // namespace

std::wstring FormatStringV(const wchar_t* format, va_list args) {
    std::wstring out;
    if (!format) return out;
    [[maybe_unused]] CLocaleScope cLocale;
    va_list ap;
    va_copy(ap, args);
    for (const wchar_t* p = format; *p;) {
        const wchar_t* run = p;
        while (*p && *p != L'%') ++p;
        out.append(run, static_cast<size_t>(p - run));
        if (!*p) break;
        ++p;  // '%'
        Conversion c = ParseConversion(p, ap);
        AppendConversion(out, c, ap);
    }
    va_end(ap);
    return out;
}

std::wstring FormatString(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring text = FormatStringV(format, args);
    va_end(args);
    return text;
}

void DebugTrace(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring text = FormatStringV(format, args);
    va_end(args);
    assert(text.size() < 1024 * 32 && "nBuf < 1024*32");
    // The debug channel takes the text in pieces of 128 characters.
    for (size_t at = 0; at < text.size(); at += 128) {
        std::wstring piece = text.substr(at, 128);
        Platform::DebugOutput(piece.c_str());
    }
}

}  // namespace QxXmlLib10

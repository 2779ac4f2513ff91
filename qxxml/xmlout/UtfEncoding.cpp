// UtfEncoding.cpp - the shared UTF-8 / UTF-16LE encoders and decoders.
//
// Every document written as bytes and every name and value read from the parser passes
// through here, so each function is built around two facts: most XML text is ASCII, and the
// output buffer should grow once. ASCII runs are handled block-wise (16 wide characters or
// 16 bytes at a time, with SSE2 on x86-64 and plain loops elsewhere); other text costs one
// counting pass at most, then one encoding pass into memory sized exactly once.
#include <qxxml/xmlout/UtfEncoding.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <limits>

// SSE2 is part of every x86-64 processor: the ASCII blocks use it there.
#if defined(__SSE2__) || defined(_M_X64)
#  include <emmintrin.h>
#  define QXXML_UTF_SSE2 1
#endif

namespace QxXmlLib10 {

namespace {

// wchar_t is 16 bits on Windows (UTF-16 code units) and 32 bits elsewhere (code points).
constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;
constexpr uint32_t kIllFormed = 0xFFFFFFFFu;
constexpr uint32_t kReplacementCharacter = 0xFFFDu;
constexpr size_t kWideBlock = 16;

// A negative wchar_t becomes a huge value and so fails every range check below.
inline uint32_t Unit(wchar_t c) { return static_cast<uint32_t>(c); }
inline bool IsHighSurrogate(uint32_t u) { return u - 0xD800u < 0x400u; }
inline bool IsLowSurrogate(uint32_t u) { return u - 0xDC00u < 0x400u; }
inline bool IsSurrogate(uint32_t u) { return u - 0xD800u < 0x800u; }
inline uint32_t CombineSurrogates(uint32_t high, uint32_t low) {
    return 0x10000u + ((high - 0xD800u) << 10) + (low - 0xDC00u);
}

// The code point at text[i] (a surrogate pair counts as one), advancing i past it;
// kIllFormed for an unpaired surrogate or a value that is no code point. Surrogates are
// rare, so the one branch that mixed text takes is well predicted.
inline uint32_t NextCodePoint(const wchar_t* text, size_t length, size_t& i) {
    const uint32_t u = Unit(text[i++]);
    if (!IsSurrogate(u)) return u <= 0x10FFFFu ? u : kIllFormed;
    if (IsHighSurrogate(u) && i < length && IsLowSurrogate(Unit(text[i])))
        return CombineSurrogates(u, Unit(text[i++]));
    return kIllFormed;
}

// True when none of the kWideBlock characters at text is at or above `limit`, a power of
// two or a value whose lower bits are all zero.
inline bool BlockBelow(const wchar_t* text, uint32_t limit) {
    uint32_t bits = 0;
    for (size_t k = 0; k < kWideBlock; ++k) bits |= Unit(text[k]);
    return bits < limit;
}

#if defined(QXXML_UTF_SSE2)
inline __m128i Load(const void* at) { return _mm_loadu_si128(static_cast<const __m128i*>(at)); }
#endif

// True when the kWideBlock characters at text are all ASCII.
inline bool AsciiBlock(const wchar_t* text) {
#if defined(QXXML_UTF_SSE2)
    constexpr size_t kVectors = kWideBlock * sizeof(wchar_t) / 16;
    __m128i bits = Load(text);
    for (size_t k = 1; k < kVectors; ++k) bits = _mm_or_si128(bits, Load(text + k * 16 / sizeof(wchar_t)));
    const __m128i nonAscii = kWideIsUtf16 ? _mm_set1_epi16(static_cast<short>(0xFF80))
                                          : _mm_set1_epi32(static_cast<int>(0xFFFFFF80u));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(bits, nonAscii), _mm_setzero_si128())) == 0xFFFF;
#else
    return BlockBelow(text, 0x80u);
#endif
}

// Stores the kWideBlock characters at text, all ASCII, as bytes.
template <class Byte>
inline void NarrowAsciiBlock(const wchar_t* text, Byte* d) {
#if defined(QXXML_UTF_SSE2)
    const __m128i bytes =
        kWideIsUtf16 ? _mm_packus_epi16(Load(text), Load(text + 8))
                     : _mm_packus_epi16(_mm_packs_epi32(Load(text), Load(text + 4)),
                                        _mm_packs_epi32(Load(text + 8), Load(text + 12)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), bytes);
#else
    for (size_t k = 0; k < kWideBlock; ++k) d[k] = static_cast<Byte>(text[k]);
#endif
}

// ------------------------------------------------------------------ UTF-8 output

// Copies the leading ASCII characters of the text to dst; returns how many there were.
size_t CopyAsciiPrefix(const wchar_t* text, size_t length, char* dst) {
    size_t i = 0;
    while (i + kWideBlock <= length && AsciiBlock(text + i)) {
        NarrowAsciiBlock(text + i, dst + i);
        i += kWideBlock;
    }
    while (i < length && Unit(text[i]) < 0x80u) {
        dst[i] = static_cast<char>(text[i]);
        ++i;
    }
    return i;
}

// Computed without branches: in mixed text the length changes unpredictably.
inline size_t Utf8Bytes(uint32_t cp) {
    return 1 + static_cast<size_t>(cp >= 0x80u) + static_cast<size_t>(cp >= 0x800u) +
           static_cast<size_t>(cp >= 0x10000u);
}

// The UTF-8 size of the text, or SIZE_MAX when the text is ill-formed.
size_t Utf8Length(const wchar_t* text, size_t length) {
    size_t bytes = 0;
    size_t i = 0;
    while (i < length) {
        if (i + kWideBlock <= length && AsciiBlock(text + i)) {
            bytes += kWideBlock;
            i += kWideBlock;
            continue;
        }
        // Not all ASCII: a block's worth one by one before looking for ASCII again.
        for (const size_t stop = std::min(length, i + kWideBlock); i < stop;) {
            const uint32_t cp = NextCodePoint(text, length, i);
            if (cp == kIllFormed) return std::numeric_limits<size_t>::max();
            bytes += Utf8Bytes(cp);
        }
    }
    return bytes;
}

// The room EncodeUtf8Into needs beyond the UTF-8 it writes: its last 4-byte store may reach
// 3 bytes past the end.
constexpr size_t kUtf8Slack = 3;

// Stores a code point with one 4-byte write and no branch on its length; needs 4 bytes of
// room (bytes beyond its length are overwritten by what follows). The four bytes are built
// as if the sequence were 4 long, the unused leading ones shifted out, and the lead byte put
// in front.
template <class Byte>
inline Byte* PutUtf8Unchecked(Byte* d, uint32_t cp) {
    static constexpr uint32_t kLeadMark[5] = {0, 0x00u, 0xC0u, 0xE0u, 0xF0u};
    const size_t n = Utf8Bytes(cp);
    const uint32_t continuation = (0x80u | (cp >> 18 & 0x3Fu)) | (0x80u | (cp >> 12 & 0x3Fu)) << 8 |
                                  (0x80u | (cp >> 6 & 0x3Fu)) << 16 | (0x80u | (cp & 0x3Fu)) << 24;
    uint32_t word = continuation >> (8 * (4 - n));   // the last n-1 groups, in memory order
    word = (word & ~0xFFu) | kLeadMark[n] | (cp >> (6 * (n - 1)));
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    word = __builtin_bswap32(word);  // the word holds the bytes in little-endian order
#endif
    std::memcpy(d, &word, 4);
    return d + n;
}

// ------------------------------------------------------------------ wide output

// Stores a code point as one wide character, or as a surrogate pair where wide is UTF-16.
inline wchar_t* PutWide(wchar_t* d, uint32_t cp) {
    if (kWideIsUtf16 && cp >= 0x10000u) {
        cp -= 0x10000u;
        *d++ = static_cast<wchar_t>(0xD800u + (cp >> 10));
        *d++ = static_cast<wchar_t>(0xDC00u + (cp & 0x3FFu));
        return d;
    }
    *d++ = static_cast<wchar_t>(cp);
    return d;
}

#if defined(QXXML_UTF_SSE2)
// Stores 16 ASCII bytes as 16 wide characters.
inline void WidenAsciiBlock(__m128i bytes, wchar_t* d) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_unpacklo_epi8(bytes, zero);
    const __m128i high = _mm_unpackhi_epi8(bytes, zero);
    __m128i* out = reinterpret_cast<__m128i*>(d);
    if (kWideIsUtf16) {
        _mm_storeu_si128(out, low);
        _mm_storeu_si128(out + 1, high);
    } else {
        _mm_storeu_si128(out, _mm_unpacklo_epi16(low, zero));
        _mm_storeu_si128(out + 1, _mm_unpackhi_epi16(low, zero));
        _mm_storeu_si128(out + 2, _mm_unpacklo_epi16(high, zero));
        _mm_storeu_si128(out + 3, _mm_unpackhi_epi16(high, zero));
    }
}
#endif

constexpr uint64_t kHighBits = 0x8080808080808080ull;

// Widens a text that is all ASCII, as most element values and the white space between
// elements are, and returns the end of the output; null, with nothing written, when a byte
// is not ASCII. Whole blocks first, then the rest as the text's last block (or word), which
// overlaps characters already written with the same values.
wchar_t* WidenIfAscii(const unsigned char* s, size_t length, wchar_t* d) {
    if (length < 8) {
        uint32_t bits = 0;
        for (size_t i = 0; i < length; ++i) bits |= s[i];
        if (bits >= 0x80u) return nullptr;
        for (size_t i = 0; i < length; ++i) d[i] = static_cast<wchar_t>(s[i]);
        return d + length;
    }
    uint64_t word;
    uint64_t bits = 0;
    for (size_t i = 0; i + 8 <= length; i += 8) bits |= (std::memcpy(&word, s + i, 8), word);
    bits |= (std::memcpy(&word, s + length - 8, 8), word);
    if ((bits & kHighBits) != 0) return nullptr;
    size_t i = 0;
#if defined(QXXML_UTF_SSE2)
    for (; i + 16 <= length; i += 16) WidenAsciiBlock(Load(s + i), d + i);
    if (i != length && length >= 16) {
        WidenAsciiBlock(Load(s + length - 16), d + length - 16);
        return d + length;
    }
#endif
    for (; i + 8 <= length; i += 8)
        for (size_t k = 0; k < 8; ++k) d[i + k] = static_cast<wchar_t>(s[i + k]);
    if (i != length)
        for (size_t k = length - 8; k < length; ++k) d[k] = static_cast<wchar_t>(s[k]);
    return d + length;
}

// Decodes UTF-8 into d, which has room for `length` wide characters (never more are needed:
// every byte yields at most one, and a 4-byte sequence at most two UTF-16 units).
// Returns the end of the output, or null when the input is ill-formed.
wchar_t* DecodeUtf8(const unsigned char* s, size_t length, wchar_t* d) {
    if (wchar_t* end = WidenIfAscii(s, length, d)) return end;
    size_t i = 0;
    while (i < length) {
#if defined(QXXML_UTF_SSE2)
        while (i + 16 <= length) {
            const __m128i bytes = Load(s + i);
            if (_mm_movemask_epi8(bytes) != 0) break;  // a byte with its high bit set
            WidenAsciiBlock(bytes, d);
            d += 16;
            i += 16;
        }
#endif
        uint64_t word;
        while (i + 8 <= length && (std::memcpy(&word, s + i, 8), (word & kHighBits) == 0)) {
            for (size_t k = 0; k < 8; ++k) d[k] = static_cast<wchar_t>(s[i + k]);
            d += 8;
            i += 8;
        }
        if (i == length) break;
        const uint32_t lead = s[i];
        if (lead < 0x80u) {
            *d++ = static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        // Well-formed sequences only: no overlong forms, no encoded surrogates, nothing
        // above U+10FFFF. The first continuation byte carries those limits.
        size_t trail;
        uint32_t cp;
        uint32_t low = 0x80u, high = 0xBFu;
        if (lead >= 0xC2u && lead <= 0xDFu) {
            trail = 1;
            cp = lead & 0x1Fu;
        } else if (lead >= 0xE0u && lead <= 0xEFu) {
            trail = 2;
            cp = lead & 0x0Fu;
            if (lead == 0xE0u) low = 0xA0u;
            if (lead == 0xEDu) high = 0x9Fu;
        } else if (lead >= 0xF0u && lead <= 0xF4u) {
            trail = 3;
            cp = lead & 0x07u;
            if (lead == 0xF0u) low = 0x90u;
            if (lead == 0xF4u) high = 0x8Fu;
        } else {
            return nullptr;
        }
        if (length - i - 1 < trail) return nullptr;
        const uint32_t first = s[i + 1];
        if (first < low || first > high) return nullptr;
        cp = (cp << 6) | (first & 0x3Fu);
        for (size_t k = 2; k <= trail; ++k) {
            const uint32_t next = s[i + k];
            if ((next & 0xC0u) != 0x80u) return nullptr;
            cp = (cp << 6) | (next & 0x3Fu);
        }
        d = PutWide(d, cp);
        i += trail + 1;
    }
    return d;
}

// ------------------------------------------------------------------ UTF-16LE

inline unsigned char* PutUnitLE(unsigned char* d, uint32_t unit) {
    d[0] = static_cast<unsigned char>(unit);
    d[1] = static_cast<unsigned char>(unit >> 8);
    return d + 2;
}

inline unsigned char* PutUtf16LE(unsigned char* d, uint32_t cp) {
    if (cp < 0x10000u) return PutUnitLE(d, cp);
    cp -= 0x10000u;
    d = PutUnitLE(d, 0xD800u + (cp >> 10));
    return PutUnitLE(d, 0xDC00u + (cp & 0x3FFu));
}

// UTF-16 code units the text needs, or SIZE_MAX when it is ill-formed.
size_t Utf16Units(const wchar_t* text, size_t length) {
    size_t units = 0;
    size_t i = 0;
    while (i < length) {
        if (i + kWideBlock <= length && BlockBelow(text + i, 0xD800u)) {
            units += kWideBlock;
            i += kWideBlock;
            continue;
        }
        for (const size_t stop = std::min(length, i + kWideBlock); i < stop;) {
            const uint32_t cp = NextCodePoint(text, length, i);
            if (cp == kIllFormed) return std::numeric_limits<size_t>::max();
            units += 1 + static_cast<size_t>(cp >= 0x10000u);
        }
    }
    return units;
}

template <class Char>
inline Char* GrowBy(std::basic_string<Char>& out, size_t count) {
    const size_t old = out.size();
    out.resize(old + count);
    return &out[old];
}

}  // namespace

// ------------------------------------------------------------------ public functions

CBinaryData Utf16ToUtf8(const wchar_t* text) {
    if (text == nullptr) return CBinaryData();
    const size_t length = std::wcslen(text);
    const size_t bytes = Utf8Length(text, length);
    // Ill-formed text, and text too long for a 32-bit byte count, give the empty value.
    if (bytes == 0 || bytes > std::numeric_limits<uint32_t>::max()) return CBinaryData();
    unsigned char* data = new unsigned char[bytes + kUtf8Slack];
    EncodeUtf8Into(reinterpret_cast<char*>(data), text, length);
    return CBinaryData(data, static_cast<uint32_t>(bytes), /*adopt=*/true);
}

std::wstring Utf8ToUtf16(const unsigned char* data, uint32_t length) {
    std::wstring out;
    if (!AppendWideFromUtf8(out, reinterpret_cast<const char*>(data), length)) out.clear();
    return out;
}

bool AppendUtf8(std::string& out, const wchar_t* text, size_t length) {
    if (length == 0) return true;
    if (text == nullptr) return false;
    const size_t old = out.size();
    // Optimistic: one byte per character covers all-ASCII text, the usual case.
    char* dst = GrowBy(out, length);
    const size_t ascii = CopyAsciiPrefix(text, length, dst);
    if (ascii == length) return true;

    const size_t rest = Utf8Length(text + ascii, length - ascii);
    if (rest == std::numeric_limits<size_t>::max()) {
        out.resize(old);
        return false;
    }
    out.resize(old + ascii + rest + kUtf8Slack);
    EncodeUtf8Into(&out[old + ascii], text + ascii, length - ascii);
    out.resize(old + ascii + rest);
    return true;
}

size_t Utf8ByteCount(const wchar_t* text, size_t length) noexcept {
    if (length == 0) return 0;
    if (text == nullptr) return std::numeric_limits<size_t>::max();
    return Utf8Length(text, length);
}

char* EncodeUtf8Into(char* out, const wchar_t* text, size_t length) noexcept {
    size_t i = 0;
    while (i < length) {
        if (i + kWideBlock <= length && AsciiBlock(text + i)) {
            NarrowAsciiBlock(text + i, out);
            out += kWideBlock;
            i += kWideBlock;
            continue;
        }
        for (const size_t stop = std::min(length, i + kWideBlock); i < stop;) {
            if (Unit(text[i]) < 0x80u) {  // the ASCII around the other characters
                *out++ = static_cast<char>(text[i++]);
                continue;
            }
            const uint32_t cp = NextCodePoint(text, length, i);
            if (cp == kIllFormed) return nullptr;
            out = PutUtf8Unchecked(out, cp);
        }
    }
    return out;
}

bool AppendWideFromUtf8(std::wstring& out, const char* data, size_t length) {
    if (length == 0) return true;
    if (data == nullptr) return false;
    const size_t old = out.size();
    wchar_t* begin = GrowBy(out, length);
    const wchar_t* end = DecodeUtf8(reinterpret_cast<const unsigned char*>(data), length, begin);
    out.resize(end ? old + static_cast<size_t>(end - begin) : old);
    return end != nullptr;
}

wchar_t* DecodeWideFromUtf8(wchar_t* out, const char* data, size_t length) noexcept {
    if (length == 0) return out;
    if (data == nullptr) return nullptr;
    return DecodeUtf8(reinterpret_cast<const unsigned char*>(data), length, out);
}

bool AppendUtf16LE(std::string& out, const wchar_t* text, size_t length) {
    if (length == 0) return true;
    if (text == nullptr) return false;
    const size_t units = Utf16Units(text, length);
    if (units == std::numeric_limits<size_t>::max()) return false;
    unsigned char* d = reinterpret_cast<unsigned char*>(GrowBy(out, 2 * units));
    if (units == length) {
        // One unit per wide character: a plain loop the compiler vectorises.
        for (size_t i = 0; i < length; ++i) PutUnitLE(d + 2 * i, Unit(text[i]));
        return true;
    }
    for (size_t i = 0; i < length;) d = PutUtf16LE(d, NextCodePoint(text, length, i));
    return true;
}

bool AppendWideFromUtf16LE(std::wstring& out, const unsigned char* data, size_t length) {
    if (length == 0) return true;
    if (data == nullptr || length % 2 != 0) return false;
    const size_t units = length / 2;
    const size_t old = out.size();
    wchar_t* const begin = GrowBy(out, units);
    wchar_t* d = begin;
    for (size_t i = 0; i < units;) {
        const uint32_t unit = data[2 * i] | (static_cast<uint32_t>(data[2 * i + 1]) << 8);
        ++i;
        if (!IsSurrogate(unit)) {
            *d++ = static_cast<wchar_t>(unit);
            continue;
        }
        const uint32_t low = i < units ? (data[2 * i] | (static_cast<uint32_t>(data[2 * i + 1]) << 8)) : 0;
        if (!IsHighSurrogate(unit) || !IsLowSurrogate(low)) {
            out.resize(old);
            return false;
        }
        ++i;
        d = PutWide(d, CombineSurrogates(unit, low));
    }
    out.resize(old + static_cast<size_t>(d - begin));
    return true;
}

size_t Utf16LEUnitBytes(const wchar_t* text, size_t length) noexcept {
    size_t bytes = 2 * length;
    if (!kWideIsUtf16) {
        for (size_t i = 0; i < length; ++i) {
            const uint32_t u = Unit(text[i]);
            if (u >= 0x10000u && u <= 0x10FFFFu) bytes += 2;
        }
    }
    return bytes;
}

unsigned char* StoreUtf16LEUnits(unsigned char* out, const wchar_t* text, size_t length) noexcept {
    for (size_t i = 0; i < length; ++i) {
        const uint32_t u = Unit(text[i]);
        if (u <= 0xFFFFu)
            out = PutUnitLE(out, u);
        else
            out = PutUtf16LE(out, u <= 0x10FFFFu ? u : kReplacementCharacter);
    }
    return out;
}

}  // namespace QxXmlLib10

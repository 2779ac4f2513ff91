// Base64.cpp - table-driven base64: three bytes to four characters per step.
#include <qxxml/values/Base64.h>

#include <qxxml/xmlout/UtfEncoding.h>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr uint8_t kSkip = 0x40;     // "=", space, tab, CR, LF
constexpr uint8_t kInvalid = 0x80;  // anything else outside the alphabet

struct DecodeTable {
    uint8_t value[128];
    constexpr DecodeTable() : value() {
        for (int i = 0; i < 128; ++i) value[i] = kInvalid;
        for (int i = 0; i < 64; ++i) value[static_cast<unsigned char>(kAlphabet[i])] = static_cast<uint8_t>(i);
        value[static_cast<unsigned char>('=')] = kSkip;
        value[static_cast<unsigned char>(' ')] = kSkip;
        value[static_cast<unsigned char>('\t')] = kSkip;
        value[static_cast<unsigned char>('\r')] = kSkip;
        value[static_cast<unsigned char>('\n')] = kSkip;
    }
};
constexpr DecodeTable kDecode;

// Every character is looked up by its low seven bits, whatever it is: "\u00BD" (0xBD) reads
// as "=" and "\u00C1" as "A". On Windows a wide character is a UTF-16 code unit, so a
// character beyond U+FFFF is a surrogate pair there, looked up as two units. Linux keeps the
// code point in one wchar_t; it is taken as the same two units here (through the library's
// one UTF-16 encoder, which also stores a value that is no code point as U+FFFD), so that a
// text decodes to the same bytes on both systems.
inline uint32_t Lookup(uint32_t unit) { return kDecode.value[unit & 0x7F]; }

// The table values of the UTF-16 code units of a character beyond U+FFFF; false when one is
// invalid. `take` adds a valid value.
template <class Take>
bool TakeUnitsBeyondTheBmp(wchar_t c, Take& take) {
    unsigned char bytes[4];
    const unsigned char* const end = QxXmlLib10::StoreUtf16LEUnits(bytes, &c, 1);
    for (const unsigned char* unit = bytes; unit != end; unit += 2)
        if (!take(Lookup(unit[0] | (uint32_t{unit[1]} << 8)))) return false;
    return true;
}

}  // namespace

CBase64::CBase64() noexcept
    : m_input(nullptr), m_inputLength(0), m_inputPos(0), m_bitsPending(0), m_pendingBits(0) {}

namespace {

// ceil(8n / 6) characters, rounded up to a multiple of 4 with "=".
size_t EncodedLength(uint32_t length) { return (static_cast<size_t>(length) + 2) / 3 * 4; }

// Writes the EncodedLength(length) characters of `length` bytes to `text`.
void EncodeInto(wchar_t* text, const unsigned char* data, uint32_t length) {
    // Locals rather than members in the loop: the compiler must assume that every character
    // stored could change a member, and would reload them all on each step.
    const unsigned char* in = data;
    const unsigned char* const whole = in + length / 3 * 3;
    wchar_t* out = text;
    for (; in != whole; in += 3, out += 4) {
        const uint32_t group = (uint32_t{in[0]} << 16) | (uint32_t{in[1]} << 8) | in[2];
        out[0] = static_cast<wchar_t>(kAlphabet[group >> 18]);
        out[1] = static_cast<wchar_t>(kAlphabet[(group >> 12) & 0x3F]);
        out[2] = static_cast<wchar_t>(kAlphabet[(group >> 6) & 0x3F]);
        out[3] = static_cast<wchar_t>(kAlphabet[group & 0x3F]);
    }
    // One or two bytes left: padded with zero bits to two or three characters, then "=".
    const uint32_t rest = length % 3;
    if (rest != 0) {
        const uint32_t group = (uint32_t{in[0]} << 16) | (rest == 2 ? uint32_t{in[1]} << 8 : 0u);
        out[0] = static_cast<wchar_t>(kAlphabet[group >> 18]);
        out[1] = static_cast<wchar_t>(kAlphabet[(group >> 12) & 0x3F]);
        out[2] = rest == 2 ? static_cast<wchar_t>(kAlphabet[(group >> 6) & 0x3F]) : L'=';
        out[3] = L'=';
    }
}

}  // namespace

std::wstring CBase64::Encode(const unsigned char* data, uint32_t length) {
    m_input = data;
    m_inputLength = data ? length : 0;
    m_inputPos = m_inputLength;
    m_bitsPending = 0;
    m_pendingBits = 0;
    if (m_inputLength == 0) return std::wstring();
    // Short texts (the usual case) are built on the stack and copied once; long ones in place.
    const size_t size = EncodedLength(m_inputLength);
    constexpr size_t kSmall = 256;
    if (size > kSmall) {
        std::wstring large(size, L'\0');
        EncodeInto(&large[0], data, m_inputLength);
        return large;
    }
    wchar_t small[kSmall];
    EncodeInto(small, data, m_inputLength);
    return std::wstring(small, size);
}

void CBase64::AppendEncoded(std::wstring& out, const unsigned char* data, uint32_t length) {
    if (data == nullptr || length == 0) return;
    const size_t start = out.size();
    out.resize(start + EncodedLength(length));
    EncodeInto(&out[0] + start, data, length);
}

size_t CBase64::DecodeBufferSize(const wchar_t* text, size_t length) noexcept {
    const size_t units = text != nullptr ? QxXmlLib10::Utf16LEUnitBytes(text, length) / 2 : length;
    return units / 4 * 3 + 3;  // six bits per unit, whole bytes only
}

uint32_t CBase64::Decode(const wchar_t* text, size_t length, unsigned char* out) const {
    if (text == nullptr) return 0;
    uint32_t written = 0;
    uint32_t bits = 0;     // valid bits waiting in `pending`
    uint32_t pending = 0;
    // Adds one unit's table value; false for an invalid unit.
    const auto take = [&](uint32_t value) {
        if (value == kSkip) return true;
        if (value == kInvalid) return false;
        pending = (pending << 6) | value;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out[written++] = static_cast<unsigned char>(pending >> bits);
            pending &= (1u << bits) - 1;
        }
        return true;
    };
    size_t i = 0;
    while (i < length) {
        // Fast path: four alphabet characters on a byte boundary make three bytes.
        if (bits == 0 && length - i >= 4) {
            const uint32_t w = static_cast<uint32_t>(text[i]), x = static_cast<uint32_t>(text[i + 1]);
            const uint32_t y = static_cast<uint32_t>(text[i + 2]), z = static_cast<uint32_t>(text[i + 3]);
            const uint32_t a = Lookup(w), b = Lookup(x), c = Lookup(y), d = Lookup(z);
            if (((a | b | c | d) & (kSkip | kInvalid)) == 0 && (w | x | y | z) <= 0xFFFF) {
                const uint32_t group = (a << 18) | (b << 12) | (c << 6) | d;
                out[written] = static_cast<unsigned char>(group >> 16);
                out[written + 1] = static_cast<unsigned char>(group >> 8);
                out[written + 2] = static_cast<unsigned char>(group);
                written += 3;
                i += 4;
                continue;
            }
        }
        const wchar_t ch = text[i++];
        const uint32_t unit = static_cast<uint32_t>(ch);
        const bool valid = unit <= 0xFFFF ? take(Lookup(unit)) : TakeUnitsBeyondTheBmp(ch, take);
        if (!valid) return 0;
    }
    return written;  // fewer than 8 bits left over are dropped
}

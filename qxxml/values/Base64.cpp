// Base64.cpp - table-driven base64: three bytes to four characters per step.
#include <qxxml/values/Base64.h>

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

// Characters above U+007F are invalid: looking up only their low seven bits would accept
// letters of other scripts as base64 digits.
inline uint32_t Lookup(wchar_t c) {
    const uint32_t u = static_cast<uint32_t>(c);
    return u < 128 ? kDecode.value[u] : kInvalid;
}

}  // namespace

CBase64::CBase64() noexcept
    : m_input(nullptr), m_inputLength(0), m_inputPos(0), m_bitsPending(0), m_pendingBits(0) {}

std::wstring CBase64::Encode(const unsigned char* data, uint32_t length) {
    m_input = data;
    m_inputLength = data ? length : 0;
    m_inputPos = 0;
    m_bitsPending = 0;
    m_pendingBits = 0;
    if (m_inputLength == 0) return std::wstring();

    // ceil(8n / 6) characters, rounded up to a multiple of 4 with "=". Short texts (the
    // usual case) are built on the stack and copied once; long ones in place.
    const size_t size = (static_cast<size_t>(m_inputLength) + 2) / 3 * 4;
    constexpr size_t kSmall = 256;
    wchar_t small[kSmall];
    std::wstring large;
    wchar_t* const text = size <= kSmall ? small : (large.resize(size), &large[0]);

    // Locals rather than members in the loop: the compiler must assume that every character
    // stored could change a member, and would reload them all on each step.
    const unsigned char* in = m_input;
    const unsigned char* const whole = in + m_inputLength / 3 * 3;
    wchar_t* out = text;
    for (; in != whole; in += 3, out += 4) {
        const uint32_t group = (uint32_t{in[0]} << 16) | (uint32_t{in[1]} << 8) | in[2];
        out[0] = static_cast<wchar_t>(kAlphabet[group >> 18]);
        out[1] = static_cast<wchar_t>(kAlphabet[(group >> 12) & 0x3F]);
        out[2] = static_cast<wchar_t>(kAlphabet[(group >> 6) & 0x3F]);
        out[3] = static_cast<wchar_t>(kAlphabet[group & 0x3F]);
    }
    // One or two bytes left: padded with zero bits to two or three characters, then "=".
    const uint32_t rest = m_inputLength % 3;
    if (rest != 0) {
        const uint32_t group = (uint32_t{in[0]} << 16) | (rest == 2 ? uint32_t{in[1]} << 8 : 0u);
        out[0] = static_cast<wchar_t>(kAlphabet[group >> 18]);
        out[1] = static_cast<wchar_t>(kAlphabet[(group >> 12) & 0x3F]);
        out[2] = rest == 2 ? static_cast<wchar_t>(kAlphabet[(group >> 6) & 0x3F]) : L'=';
        out[3] = L'=';
    }
    m_inputPos = m_inputLength;
    if (size <= kSmall) return std::wstring(small, size);
    return large;
}

uint32_t CBase64::Decode(const wchar_t* text, size_t length, unsigned char* out) const {
    if (text == nullptr) return 0;
    uint32_t written = 0;
    uint32_t bits = 0;     // valid bits waiting in `pending`
    uint32_t pending = 0;
    size_t i = 0;
    while (i < length) {
        // Fast path: four alphabet characters on a byte boundary make three bytes.
        if (bits == 0 && length - i >= 4) {
            const uint32_t a = Lookup(text[i]), b = Lookup(text[i + 1]);
            const uint32_t c = Lookup(text[i + 2]), d = Lookup(text[i + 3]);
            if (((a | b | c | d) & (kSkip | kInvalid)) == 0) {
                const uint32_t group = (a << 18) | (b << 12) | (c << 6) | d;
                out[written] = static_cast<unsigned char>(group >> 16);
                out[written + 1] = static_cast<unsigned char>(group >> 8);
                out[written + 2] = static_cast<unsigned char>(group);
                written += 3;
                i += 4;
                continue;
            }
        }
        const uint32_t value = Lookup(text[i++]);
        if (value == kSkip) continue;
        if (value == kInvalid) return 0;
        pending = (pending << 6) | value;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out[written++] = static_cast<unsigned char>(pending >> bits);
            pending &= (1u << bits) - 1;
        }
    }
    return written;  // fewer than 8 bits left over are dropped
}

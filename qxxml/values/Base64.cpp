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

    // ceil(8n / 6) characters, rounded up to a multiple of 4 with "=".
    std::wstring text((static_cast<size_t>(m_inputLength) + 2) / 3 * 4, L'=');
    wchar_t* out = &text[0];
    while (m_inputLength - m_inputPos >= 3) {
        const unsigned char* in = m_input + m_inputPos;
        const uint32_t group = (uint32_t{in[0]} << 16) | (uint32_t{in[1]} << 8) | in[2];
        out[0] = static_cast<wchar_t>(kAlphabet[group >> 18]);
        out[1] = static_cast<wchar_t>(kAlphabet[(group >> 12) & 0x3F]);
        out[2] = static_cast<wchar_t>(kAlphabet[(group >> 6) & 0x3F]);
        out[3] = static_cast<wchar_t>(kAlphabet[group & 0x3F]);
        out += 4;
        m_inputPos += 3;
    }
    // One or two bytes left: take them into the accumulator, most significant bit first,
    // and pad the last group with zero bits; the "=" already stand behind it.
    while (m_inputPos < m_inputLength) {
        m_pendingBits = (m_pendingBits << 8) | m_input[m_inputPos++];
        m_bitsPending += 8;
        while (m_bitsPending >= 6) {
            m_bitsPending -= 6;
            *out++ = static_cast<wchar_t>(kAlphabet[(m_pendingBits >> m_bitsPending) & 0x3F]);
        }
    }
    if (m_bitsPending > 0) {
        *out = static_cast<wchar_t>(kAlphabet[(m_pendingBits << (6 - m_bitsPending)) & 0x3F]);
        m_bitsPending = 0;
    }
    return text;
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

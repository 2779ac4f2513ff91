// FastInfosetBinaryData.cpp - the built-in encoding algorithms (big-endian two's complement
// integers, IEEE 754 bits, a bit list for booleans, raw octets for hex, base64 and UUIDs) and
// restricted-alphabet codes.
#include <qxxml/fastinfoset/FastInfosetBinaryData.h>

#include <qxxml/fastinfoset/FIVocabulary.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/Base64.h>
#include <qxxml/values/Conversions.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <cmath>
#include <cstring>
#include <cwchar>
#include <string_view>
#include <limits>

namespace QxXmlLib10 {

namespace {

using W = CWhitespaceUtils;
constexpr W::WhitespaceRule kNumberRule = W::WhitespaceRule_Collapse;

const wchar_t kUnknownEncoding[] = L"Unknown byte encoding.";
constexpr uint32_t kUuidLength = 16;

// Boolean lists: the first four bits count the unused bits at the end of the last octet.
constexpr unsigned char kOneTrue = 0x38;
constexpr unsigned char kOneFalse = 0x30;

// The usual lexical forms of numbers and booleans are read here without the working copy of
// the text that CConversions makes for its whitespace rule; any other text (white space, a
// value out of range, an error to report) goes through CConversions, which gives the same
// value or the message.

// An optional sign and 1 to 19 digits, nothing else.
bool ReadPlainInteger(std::wstring_view text, bool& negative, uint64_t& magnitude) {
    const size_t length = text.size();
    size_t i = length != 0 && (text[0] == L'-' || text[0] == L'+') ? 1 : 0;
    if (i == length || length - i > 19) return false;
    negative = text[0] == L'-';
    magnitude = 0;
    for (; i < length; ++i) {
        const unsigned digit = static_cast<unsigned>(text[i]) - L'0';
        if (digit > 9) return false;
        magnitude = magnitude * 10 + digit;
    }
    return true;
}

template <typename Integer>
Integer ReadInteger(std::wstring_view text, Integer (*convert)(const std::wstring&, W::WhitespaceRule)) {
    bool negative = false;
    uint64_t magnitude = 0;
    const uint64_t largest = static_cast<uint64_t>(std::numeric_limits<Integer>::max());
    if (ReadPlainInteger(text, negative, magnitude) && magnitude <= largest + (negative ? 1 : 0))
        return static_cast<Integer>(negative ? 0 - magnitude : magnitude);  // two's complement wrap
    return convert(std::wstring(text), kNumberRule);
}

bool Is(std::wstring_view text, const wchar_t* word, size_t length) {
    return text.size() == length && std::wmemcmp(text.data(), word, length) == 0;
}

bool ReadBoolean(std::wstring_view text) {
    if (Is(text, L"true", 4)) return true;
    if (Is(text, L"false", 5)) return false;
    return CConversions::booleanFromString(std::wstring(text), kNumberRule);
}

float ReadFloat(std::wstring_view text) {
    float value = 0;
    if (CConversions::r4FromNumberText(text.data(), text.size(), value)) return value;
    return CConversions::r4FromString(std::wstring(text), kNumberRule);
}

double ReadDouble(std::wstring_view text) {
    double value = 0;
    if (CConversions::r8FromNumberText(text.data(), text.size(), value)) return value;
    return CConversions::r8FromString(std::wstring(text), kNumberRule);
}

// The octets of a value of a fixed-size algorithm, as one big-endian number of `count`
// octets; a count of 0 for the other algorithms.
struct FixedOctets {
    uint64_t bits = 0;
    unsigned count = 0;
};

template <typename Real, typename Bits>
uint64_t BitsOf(Real value) {
    static_assert(sizeof(Real) == sizeof(Bits), "an IEEE 754 value and its bits");
    Bits bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

FixedOctets EncodeFixed(uint32_t algorithm, std::wstring_view text) {
    switch (algorithm) {
    case FIAlgorithm_Short:
        return {static_cast<uint16_t>(ReadInteger<short>(text, CConversions::i2FromString)), 2};
    case FIAlgorithm_Int:
        return {static_cast<uint32_t>(ReadInteger<int32_t>(text, CConversions::i4FromString)), 4};
    case FIAlgorithm_Long:
        return {static_cast<uint64_t>(ReadInteger<long long>(text, CConversions::i8FromString)), 8};
    case FIAlgorithm_Boolean:
        return {ReadBoolean(text) ? kOneTrue : kOneFalse, 1};
    case FIAlgorithm_Float:
        return {BitsOf<float, uint32_t>(ReadFloat(text)), 4};
    case FIAlgorithm_Double:
        return {BitsOf<double, uint64_t>(ReadDouble(text)), 8};
    default:
        return {};
    }
}

// The value's octets, most significant first; returns their count.
inline unsigned StoreBigEndian(const FixedOctets& fixed, unsigned char* octets) {
    for (unsigned i = 0; i < fixed.count; ++i) octets[i] = static_cast<unsigned char>(fixed.bits >> (8 * (fixed.count - 1 - i)));
    return fixed.count;
}

// Written out so that compilers make one byte-swapping load of each.
uint64_t ReadBigEndian16(const unsigned char* d) { return uint64_t{d[0]} << 8 | d[1]; }
uint64_t ReadBigEndian32(const unsigned char* d) {
    return uint64_t{d[0]} << 24 | uint64_t{d[1]} << 16 | uint64_t{d[2]} << 8 | d[3];
}
uint64_t ReadBigEndian64(const unsigned char* d) {
    return uint64_t{d[0]} << 56 | uint64_t{d[1]} << 48 | uint64_t{d[2]} << 40 | uint64_t{d[3]} << 32 |
           uint64_t{d[4]} << 24 | uint64_t{d[5]} << 16 | uint64_t{d[6]} << 8 | d[7];
}

template <unsigned octets>
uint64_t ReadBigEndian(const unsigned char* data) {
    static_assert(octets == 2 || octets == 4 || octets == 8, "values of 2, 4 or 8 octets");
    return octets == 2 ? ReadBigEndian16(data) : octets == 4 ? ReadBigEndian32(data) : ReadBigEndian64(data);
}

// The text of every `width`-octet value in the data, one space apart, appended to `out`; the
// length must be a multiple of the width, else CQxException `message` (and nothing appended).
template <unsigned width, typename Format>
void AppendValues(std::wstring& out, const unsigned char* data, uint32_t length, const wchar_t* message,
                  Format format) {
    if (length == width) {  // the usual single value
        format(out, ReadBigEndian<width>(data));
        return;
    }
    if (length % width != 0) throw CQxException(message);
    for (uint32_t at = 0; at < length; at += width) {
        if (at != 0) out += L' ';
        format(out, ReadBigEndian<width>(data + at));
    }
}

float FloatOf(uint64_t bits) {
    const uint32_t narrow = static_cast<uint32_t>(bits);
    float value;
    std::memcpy(&value, &narrow, sizeof value);
    return value;
}

double DoubleOf(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void AppendFloat(std::wstring& out, uint64_t bits) { CConversions::r4AppendTo(out, FloatOf(bits)); }
void AppendDouble(std::wstring& out, uint64_t bits) { CConversions::r8AppendTo(out, DoubleOf(bits)); }

// The usual single value ("true", "false") or a list of them, one space apart.
void AppendBooleans(std::wstring& out, const unsigned char* data, uint32_t length) {
    if (length == 0) return;
    if (length == 1 && (data[0] & 0xF7) == kOneFalse) {
        out += data[0] == kOneTrue ? L"true" : L"false";
        return;
    }
    const unsigned unusedBits = data[0] >> 4;
    const uint64_t bits = uint64_t{length} * 8;
    // Four bits of count and at most the last octet's bits unused: anything else is no list.
    if (unusedBits > 7 || bits < 4 + unusedBits) throw CQxException(L"Invalid value for BOOLEAN byte encoding.");
    for (uint64_t bit = 4; bit < bits - unusedBits; ++bit) {
        if (bit != 4) out += L' ';
        const bool value = (data[bit / 8] >> (7 - bit % 8) & 1) != 0;
        out += value ? L"true" : L"false";
    }
}

// Alphabets hold 2 .. 2^20 characters; codes are the narrowest width of at least two bits that
// leaves the all-ones code free as a terminator.
bool IsAlphabetLengthValid(size_t length) { return length >= 2 && length <= CFIVocabulary::kMaxTableSize; }

unsigned CodeWidth(size_t alphabetLength) {
    unsigned width = 2;
    while ((size_t{1} << width) <= alphabetLength) ++width;
    return width;
}

// The code of a character: its first position in the alphabet, or the alphabet's size.
unsigned CodeOf(const std::wstring& alphabet, wchar_t ch) {
    const size_t position = alphabet.find(ch);
    return static_cast<unsigned>(position == std::wstring::npos ? alphabet.size() : position);
}

[[noreturn]] void ThrowCodeOutsideAlphabet() {
    throw CQxException(L"Failed to parse FastInfoset. Invalid Encoding of Restricted Alphabet. Character code "
                       L"outside the alphabet.");
}

}  // namespace

// ------------------------------------------------------------------ algorithms

void CFastInfosetBinaryData::SetAsEncodedString(uint32_t algorithm, const wchar_t* text) {
    if (text == nullptr) text = L"";
    // Hex and base64 text go straight into the value; the others are a few octets.
    if (algorithm == FIAlgorithm_Hexadecimal || algorithm == FIAlgorithm_UUID) {
        Clear();
        SetAsHexString(text);
        return;
    }
    if (algorithm == FIAlgorithm_Base64) {
        Clear();
        SetAsBase64(text);
        return;
    }
    const std::wstring_view view(text);
    const FixedOctets fixed = EncodeFixed(algorithm, view);
    if (fixed.count != 0) {
        StoreBigEndian(fixed, ReplaceBytes(fixed.count));
        return;
    }
    std::string octets;
    AppendEncoded(octets, algorithm, view);
    const uint32_t length = static_cast<uint32_t>(octets.size());
    unsigned char* bytes = ReplaceBytes(length);
    if (length != 0) std::memcpy(bytes, octets.data(), length);
}

void CFastInfosetBinaryData::AppendEncodedString(std::string& out, uint32_t algorithm, const std::wstring& text) {
    AppendEncoded(out, algorithm, text);
}

unsigned CFastInfosetBinaryData::EncodeFixedSize(uint32_t algorithm, const std::wstring& text,
                                                 unsigned char (&octets)[kMaxFixedOctets]) {
    return StoreBigEndian(EncodeFixed(algorithm, text), octets);
}

// `text` is followed by a terminating zero.
void CFastInfosetBinaryData::AppendEncoded(std::string& out, uint32_t algorithm, std::wstring_view text) {
    unsigned char fixed[kMaxFixedOctets];
    if (const unsigned count = StoreBigEndian(EncodeFixed(algorithm, text), fixed)) {
        out.append(reinterpret_cast<const char*>(fixed), count);
        return;
    }
    switch (algorithm) {
    case FIAlgorithm_Hexadecimal:
    case FIAlgorithm_UUID: {
        // Decoded straight into the output; a bad digit takes back what was appended.
        if (text.size() % 2 != 0) throw CQxException(L"Invalid length in hex string");
        const size_t at = out.size();
        out.resize(at + text.size() / 2);
        try {
            DecodeHex(text.data(), text.size(), reinterpret_cast<unsigned char*>(&out[at]));
        } catch (...) {
            out.resize(at);
            throw;
        }
        return;
    }
    case FIAlgorithm_Base64: {
        CBinaryData bytes;
        bytes.SetAsBase64(text.data());
        out.append(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetLength());
        return;
    }
    case FIAlgorithm_CDATA:
        // Text that has no UTF-8 form (an unpaired surrogate) cannot be carried.
        if (!AppendUtf8(out, text.data(), text.size()))
            throw CQxException(L"Invalid value for CDATA byte encoding.");
        return;
    default:
        throw CQxException(kUnknownEncoding);
    }
}

std::wstring CFastInfosetBinaryData::GetAsString(uint32_t algorithm) const {
    return GetAsString(algorithm, GetData(), GetLength());
}

std::wstring CFastInfosetBinaryData::GetAsString(uint32_t algorithm, const unsigned char* data, uint32_t length) {
    // A single number, the usual case, is made whole by the text conversions themselves: one
    // allocation of the right size, no growing buffer.
    switch (algorithm) {
    case FIAlgorithm_Short:
        if (length == 2) return CConversions::i2ToString(static_cast<short>(static_cast<uint16_t>(ReadBigEndian16(data))));
        break;
    case FIAlgorithm_Int:
        if (length == 4) return CConversions::i4ToString(static_cast<int32_t>(static_cast<uint32_t>(ReadBigEndian32(data))));
        break;
    case FIAlgorithm_Long:
        if (length == 8) return CConversions::i8ToString(static_cast<long long>(ReadBigEndian64(data)));
        break;
    case FIAlgorithm_Float:
        if (length == 4) return CConversions::r4ToString(FloatOf(ReadBigEndian32(data)));
        break;
    case FIAlgorithm_Double:
        if (length == 8) return CConversions::r8ToString(DoubleOf(ReadBigEndian64(data)));
        break;
    case FIAlgorithm_Boolean:
        if (length == 1 && (data[0] & 0xF7) == kOneFalse) return CConversions::booleanToString(data[0] == kOneTrue);
        break;
    default:
        break;
    }
    std::wstring text;
    AppendAsString(text, algorithm, data, length);
    return text;
}

void CFastInfosetBinaryData::AppendAsString(std::wstring& out, uint32_t algorithm, const unsigned char* data,
                                            uint32_t length) {
    switch (algorithm) {
    case FIAlgorithm_Hexadecimal:
        AppendHexString(out, data, length);
        return;
    case FIAlgorithm_Base64:
        CBase64::AppendEncoded(out, data, length);
        return;
    case FIAlgorithm_Short:
        return AppendValues<2>(out, data, length, L"Invalid value for SHORT byte encoding.",
                               [](std::wstring& text, uint64_t bits) {
                                   CConversions::i8AppendTo(text, static_cast<short>(static_cast<uint16_t>(bits)));
                               });
    case FIAlgorithm_Int:
        return AppendValues<4>(out, data, length, L"Invalid value for INT byte encoding.",
                               [](std::wstring& text, uint64_t bits) {
                                   CConversions::i8AppendTo(text, static_cast<int32_t>(static_cast<uint32_t>(bits)));
                               });
    case FIAlgorithm_Long:
        return AppendValues<8>(out, data, length, L"Invalid value for LONG byte encoding.",
                               [](std::wstring& text, uint64_t bits) {
                                   CConversions::i8AppendTo(text, static_cast<long long>(bits));
                               });
    case FIAlgorithm_Boolean:
        return AppendBooleans(out, data, length);
    case FIAlgorithm_Float:
        return AppendValues<4>(out, data, length, L"Invalid value for FLOAT byte encoding.", AppendFloat);
    case FIAlgorithm_Double:
        return AppendValues<8>(out, data, length, L"Invalid value for DOUBLE byte encoding.", AppendDouble);
    case FIAlgorithm_UUID:
        if (length % kUuidLength != 0) throw CQxException(L"Invalid value for UUID byte encoding.");
        for (uint32_t at = 0; at < length; at += kUuidLength) {
            if (at != 0) out += L' ';
            AppendHexString(out, data + at, kUuidLength);
        }
        return;
    default:
        throw CQxException(kUnknownEncoding);
    }
}

// ------------------------------------------------------------------ restricted alphabets

void CFastInfosetBinaryData::AppendRestrictedAlphabetString(std::string& out, const std::wstring& alphabet,
                                                            const wchar_t* text, size_t length) {
    if (!IsAlphabetLengthValid(alphabet.size()))
        throw CQxException(L"Failed to write FastInfoset. Invalid Restricted Alphabet. Alphabet must contain "
                           L"between 2 and 2^20 characters.");
    const unsigned width = CodeWidth(alphabet.size());
    if (width != 4 && width != 8)
        throw CQxException(L"Failed to write FastInfoset. Unsupported Feature in AppendRestrictedAlphabetString.");
    const size_t start = out.size();
    const unsigned missing = static_cast<unsigned>(alphabet.size());
    bool outside = false;  // a character outside the alphabet was met
    if (width == 8) {
        for (size_t i = 0; i < length; ++i) {
            const unsigned code = CodeOf(alphabet, text[i]);
            outside |= code == missing;
            out.push_back(static_cast<char>(code));
        }
    } else {
        for (size_t i = 0; i < length; i += 2) {
            const unsigned high = CodeOf(alphabet, text[i]);
            const unsigned low = i + 1 < length ? CodeOf(alphabet, text[i + 1]) : missing;
            outside |= high == missing || (low == missing && i + 1 < length);
            out.push_back(static_cast<char>(high << 4 | (i + 1 < length ? low : 0xFu)));
        }
    }
    if (outside) {
        out.resize(start);  // a refused text leaves the output as it was
        throw CQxException(L"Failed to write FastInfoset. Invalid character not found for Restricted Alphabet.");
    }
}

void CFastInfosetBinaryData::AppendRestrictedAlphabetText(std::wstring& out, const std::wstring& alphabet,
                                                          const unsigned char* data, uint32_t length) {
    if (!IsAlphabetLengthValid(alphabet.size()))
        throw CQxException(L"Failed to parse FastInfoset. Invalid Encoding of Restricted Alphabet. Alphabet must "
                           L"contain between 2 and 2^20 characters.");
    const unsigned width = CodeWidth(alphabet.size());
    const uint32_t terminator = (uint32_t{1} << width) - 1;
    const size_t start = out.size();
    // Codes between the alphabet's end and the all-ones terminator come only from a malformed
    // document; the all-ones code ends the text wherever it stands.
    auto append = [&](uint32_t code) {
        if (code == terminator) return false;
        if (code >= alphabet.size()) {
            out.resize(start);
            ThrowCodeOutsideAlphabet();
        }
        out += alphabet[code];
        return true;
    };
    if (width == 4) {
        for (uint32_t i = 0; i < length && append(data[i] >> 4u) && append(data[i] & 0xFu); ++i) {
        }
        return;
    }
    if (width == 8) {
        for (uint32_t i = 0; i < length && append(data[i]); ++i) {
        }
        return;
    }
    const uint64_t codes = uint64_t{length} * 8 / width;
    for (uint64_t i = 0, bit = 0; i < codes; ++i, bit += width) {
        uint32_t code = 0;
        for (unsigned b = 0; b < width; ++b) code = code << 1 | (data[(bit + b) / 8] >> (7 - (bit + b) % 8) & 1);
        if (!append(code)) break;
    }
}

}  // namespace QxXmlLib10

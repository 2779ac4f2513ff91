// FastInfosetBinaryData.cpp - the built-in encoding algorithms (big-endian two's complement
// integers, IEEE 754 bits, a bit list for booleans, raw octets for hex, base64 and UUIDs) and
// restricted-alphabet codes.
#include <qxxml/fastinfoset/FastInfosetBinaryData.h>

#include <qxxml/fastinfoset/FIVocabulary.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/Base64.h>
#include <qxxml/values/Conversions.h>
#include <qxxml/xmlout/UtfEncoding.h>

#include <cstring>

namespace QxXmlLib10 {

namespace {

using W = CWhitespaceUtils;
constexpr W::WhitespaceRule kNumberRule = W::WhitespaceRule_Collapse;

const wchar_t kUnknownEncoding[] = L"Unknown byte encoding.";
constexpr uint32_t kUuidLength = 16;

// Boolean lists: the first four bits count the unused bits at the end of the last octet.
constexpr unsigned char kOneTrue = 0x38;
constexpr unsigned char kOneFalse = 0x30;

void AppendBigEndian(std::string& out, uint64_t bits, unsigned octets) {
    while (octets-- > 0) out += static_cast<char>(static_cast<unsigned char>(bits >> (8 * octets)));
}

uint64_t ReadBigEndian(const unsigned char* data, unsigned octets) {
    uint64_t bits = 0;
    for (unsigned i = 0; i < octets; ++i) bits = bits << 8 | data[i];
    return bits;
}

// The text of every `width`-octet value in the data, one space apart; the length must be a
// multiple of the width, else CQxException `message`.
template <typename Format>
std::wstring JoinValues(const unsigned char* data, uint32_t length, unsigned width, const wchar_t* message,
                        Format format) {
    if (length % width != 0) throw CQxException(message);
    if (length == width) return format(ReadBigEndian(data, width));  // the usual single value
    std::wstring text;
    for (uint32_t at = 0; at < length; at += width) {
        if (at != 0) text += L' ';
        text += format(ReadBigEndian(data + at, width));
    }
    return text;
}

std::wstring FloatText(uint64_t bits) {
    const uint32_t narrow = static_cast<uint32_t>(bits);
    float value;
    std::memcpy(&value, &narrow, sizeof value);
    return CConversions::r4ToString(value);
}

std::wstring DoubleText(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return CConversions::r8ToString(value);
}

std::wstring BooleanListText(const unsigned char* data, uint32_t length) {
    if (length == 0) return std::wstring();
    const unsigned unusedBits = data[0] >> 4;
    const uint64_t bits = uint64_t{length} * 8;
    // Four bits of count and at most the last octet's bits unused: anything else is no list.
    if (unusedBits > 7 || bits < 4 + unusedBits) throw CQxException(L"Invalid value for BOOLEAN byte encoding.");
    std::wstring text;
    for (uint64_t bit = 4; bit < bits - unusedBits; ++bit) {
        if (bit != 4) text += L' ';
        const bool value = (data[bit / 8] >> (7 - bit % 8) & 1) != 0;
        text += CConversions::booleanToString(value);
    }
    return text;
}

// Alphabets hold 2 .. 2^20 characters; codes are the narrowest width of at least two bits that
// leaves the all-ones code free as a terminator.
bool IsAlphabetLengthValid(size_t length) { return length >= 2 && length <= CFIVocabulary::kMaxTableSize; }

unsigned CodeWidth(size_t alphabetLength) {
    unsigned width = 2;
    while ((size_t{1} << width) <= alphabetLength) ++width;
    return width;
}

unsigned CodeOf(const std::wstring& alphabet, wchar_t ch) {
    const size_t position = alphabet.find(ch);
    if (position == std::wstring::npos)
        throw CQxException(L"Failed to write FastInfoset. Invalid character not found for Restricted Alphabet.");
    return static_cast<unsigned>(position);
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
    std::string octets;
    AppendEncodedString(octets, algorithm, text);
    SetBuffer(reinterpret_cast<const unsigned char*>(octets.data()), static_cast<uint32_t>(octets.size()));
}

void CFastInfosetBinaryData::AppendEncodedString(std::string& out, uint32_t algorithm, const std::wstring& text) {
    switch (algorithm) {
    case FIAlgorithm_Hexadecimal:
    case FIAlgorithm_Base64:
    case FIAlgorithm_UUID: {
        CBinaryData bytes;
        if (algorithm == FIAlgorithm_Base64)
            bytes.SetAsBase64(text.c_str());
        else
            bytes.SetAsHexString(text.c_str());
        out.append(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetLength());
        return;
    }
    case FIAlgorithm_Short:
        AppendBigEndian(out, static_cast<uint16_t>(CConversions::i2FromString(text, kNumberRule)), 2);
        return;
    case FIAlgorithm_Int:
        AppendBigEndian(out, static_cast<uint32_t>(CConversions::i4FromString(text, kNumberRule)), 4);
        return;
    case FIAlgorithm_Long:
        AppendBigEndian(out, static_cast<uint64_t>(CConversions::i8FromString(text, kNumberRule)), 8);
        return;
    case FIAlgorithm_Boolean:
        out += static_cast<char>(CConversions::booleanFromString(text, kNumberRule) ? kOneTrue : kOneFalse);
        return;
    case FIAlgorithm_Float: {
        const float value = CConversions::r4FromString(text, kNumberRule);
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        AppendBigEndian(out, bits, 4);
        return;
    }
    case FIAlgorithm_Double: {
        const double value = CConversions::r8FromString(text, kNumberRule);
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        AppendBigEndian(out, bits, 8);
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
    switch (algorithm) {
    case FIAlgorithm_Hexadecimal:
        return CBinaryData::GetAsHexString(data, length);
    case FIAlgorithm_Base64:
        return length == 0 ? std::wstring() : CBase64().Encode(data, length);
    case FIAlgorithm_Short:
        return JoinValues(data, length, 2, L"Invalid value for SHORT byte encoding.", [](uint64_t bits) {
            return CConversions::i2ToString(static_cast<short>(static_cast<uint16_t>(bits)));
        });
    case FIAlgorithm_Int:
        return JoinValues(data, length, 4, L"Invalid value for INT byte encoding.", [](uint64_t bits) {
            return CConversions::i4ToString(static_cast<int32_t>(static_cast<uint32_t>(bits)));
        });
    case FIAlgorithm_Long:
        return JoinValues(data, length, 8, L"Invalid value for LONG byte encoding.",
                          [](uint64_t bits) { return CConversions::i8ToString(static_cast<long long>(bits)); });
    case FIAlgorithm_Boolean:
        return BooleanListText(data, length);
    case FIAlgorithm_Float:
        return JoinValues(data, length, 4, L"Invalid value for FLOAT byte encoding.", FloatText);
    case FIAlgorithm_Double:
        return JoinValues(data, length, 8, L"Invalid value for DOUBLE byte encoding.", DoubleText);
    case FIAlgorithm_UUID: {
        if (length % kUuidLength != 0) throw CQxException(L"Invalid value for UUID byte encoding.");
        std::wstring text;
        for (uint32_t at = 0; at < length; at += kUuidLength) {
            if (at != 0) text += L' ';
            text += CBinaryData::GetAsHexString(data + at, kUuidLength);
        }
        return text;
    }
    default:
        throw CQxException(kUnknownEncoding);
    }
}

// ------------------------------------------------------------------ restricted alphabets

void CFastInfosetBinaryData::AppendRestrictedAlphabetString(CBinaryData& out, const std::wstring& alphabet,
                                                            const wchar_t* text, size_t length) {
    if (!IsAlphabetLengthValid(alphabet.size()))
        throw CQxException(L"Failed to write FastInfoset. Invalid Restricted Alphabet. Alphabet must contain "
                           L"between 2 and 2^20 characters.");
    const unsigned width = CodeWidth(alphabet.size());
    if (width != 4 && width != 8)
        throw CQxException(L"Failed to write FastInfoset. Unsupported Feature in AppendRestrictedAlphabetString.");
    // Packed into a local buffer first so that a refused character leaves `out` unchanged.
    std::string packed;
    packed.reserve(width == 8 ? length : (length + 1) / 2);
    if (width == 8) {
        for (size_t i = 0; i < length; ++i) packed += static_cast<char>(CodeOf(alphabet, text[i]));
    } else {
        for (size_t i = 0; i < length; i += 2) {
            const unsigned high = CodeOf(alphabet, text[i]);
            const unsigned low = i + 1 < length ? CodeOf(alphabet, text[i + 1]) : 0xF;
            packed += static_cast<char>(high << 4 | low);
        }
    }
    out.Append(reinterpret_cast<const unsigned char*>(packed.data()), static_cast<uint32_t>(packed.size()));
}

void CFastInfosetBinaryData::AppendRestrictedAlphabetText(std::wstring& out, const std::wstring& alphabet,
                                                          const unsigned char* data, uint32_t length) {
    if (!IsAlphabetLengthValid(alphabet.size()))
        throw CQxException(L"Failed to parse FastInfoset. Invalid Encoding of Restricted Alphabet. Alphabet must "
                           L"contain between 2 and 2^20 characters.");
    const unsigned width = CodeWidth(alphabet.size());
    const uint32_t terminator = (uint32_t{1} << width) - 1;
    const uint64_t codes = uint64_t{length} * 8 / width;
    std::wstring text;
    text.reserve(static_cast<size_t>(codes));
    for (uint64_t i = 0, bit = 0; i < codes; ++i, bit += width) {
        uint32_t code = 0;
        for (unsigned b = 0; b < width; ++b)
            code = code << 1 | (data[(bit + b) / 8] >> (7 - (bit + b) % 8) & 1);
        if (code == terminator) break;
        // Only a malformed document has codes between the alphabet's end and the terminator.
        if (code >= alphabet.size())
            throw CQxException(L"Failed to parse FastInfoset. Invalid Encoding of Restricted Alphabet. Character "
                               L"code outside the alphabet.");
        text += alphabet[code];
    }
    out += text;
}

}  // namespace QxXmlLib10

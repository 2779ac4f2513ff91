// FastInfosetBinaryData.h - CFastInfosetBinaryData, the octets of a value in one of the ten
// built-in Fast Infoset encoding algorithms, and the packing of text into restricted-alphabet
// codes.
//
// A value's lexical form (what the binding produces and reads, CConversions' forms) becomes
// octets and back:
//
//   CFastInfosetBinaryData bytes;
//   bytes.SetAsEncodedString(FIAlgorithm_Int, L"-2");      // FF FF FF FE
//   bytes.GetAsString(FIAlgorithm_Int);                    // L"-2"
//   bytes.GetAsString(FIAlgorithm_Short);                  // L"-1 -2": every value, one space apart
//
//   std::string packed;                                    // a writer's reused buffer
//   CFastInfosetBinaryData::AppendRestrictedAlphabetString(
//       packed, vocabulary.GetRestrictedAlphabet(1), L"12.5", 4);   // 12 C5
//
// The writer and reader use the static forms on their own buffers, which allocate nothing
// beyond the result. Failures are CQxException with the messages of each operation;
// conversion failures of the text are CConversions' own.
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/values/BinaryData.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace QxXmlLib10 {

// The built-in encoding algorithms by the index a document carries.
enum FIAlgorithm {
    FIAlgorithm_Hexadecimal = 1,
    FIAlgorithm_Base64 = 2,
    FIAlgorithm_Short = 3,
    FIAlgorithm_Int = 4,
    FIAlgorithm_Long = 5,
    FIAlgorithm_Boolean = 6,
    FIAlgorithm_Float = 7,
    FIAlgorithm_Double = 8,
    FIAlgorithm_UUID = 9,
    FIAlgorithm_CDATA = 10,
};

class QXXML_API CFastInfosetBinaryData : public CBinaryData {
public:
    CFastInfosetBinaryData() noexcept = default;
    CFastInfosetBinaryData(const CBinaryData& other) noexcept : CBinaryData(other) {}
    CFastInfosetBinaryData(unsigned char* const data, uint32_t length, bool adopt)
        : CBinaryData(data, length, adopt) {}
    explicit CFastInfosetBinaryData(const wchar_t* text) : CBinaryData(text) {}

    // Replaces the octets by the encoding of one value's lexical form. Numbers and booleans
    // are read with the collapse whitespace rule. Algorithms outside 1 .. 10: "Unknown byte
    // encoding.".
    void SetAsEncodedString(uint32_t algorithm, const wchar_t* text);
    // The lexical form of every value in the octets, joined by single spaces. Algorithm 10
    // (cdata, plain UTF-8 text) and algorithms outside 1 .. 9: "Unknown byte encoding.".
    std::wstring GetAsString(uint32_t algorithm) const;

    // The same on a caller's buffers: the octets of one value are appended to `out`.
    static void AppendEncodedString(std::string& out, uint32_t algorithm, const std::wstring& text);
    // The octets of one value of a fixed-size algorithm (short, int, long, boolean, float,
    // double) written to `octets`, with no buffer to grow: returns their count, or 0 for the
    // other algorithms (nothing written; AppendEncodedString then).
    static constexpr unsigned kMaxFixedOctets = 8;
    static unsigned EncodeFixedSize(uint32_t algorithm, const std::wstring& text,
                                    unsigned char (&octets)[kMaxFixedOctets]);
    static std::wstring GetAsString(uint32_t algorithm, const unsigned char* data, uint32_t length);
    // The same appended to `out` (a reader's reused buffer): nothing allocated beyond its
    // growth. A refused length appends nothing.
    static void AppendAsString(std::wstring& out, uint32_t algorithm, const unsigned char* data, uint32_t length);

    // Appends the alphabet codes of `text` to `out`: four bits per character (two to an
    // octet, an odd count closed by the all-ones code) for alphabets of up to 15 characters,
    // an octet per character for up to 255. Refuses alphabets outside 2 .. 2^20 characters,
    // other code widths and characters outside the alphabet (leaving `out` as it was).
    static void AppendRestrictedAlphabetString(std::string& out, const std::wstring& alphabet,
                                               const wchar_t* text, size_t length);
    // Appends the characters that the codes in `data` stand for, up to the first all-ones
    // code. Refuses alphabets outside 2 .. 2^20 characters and codes beyond the alphabet
    // (leaving `out` as it was).
    static void AppendRestrictedAlphabetText(std::wstring& out, const std::wstring& alphabet,
                                             const unsigned char* data, uint32_t length);

private:
    static void AppendEncoded(std::string& out, uint32_t algorithm, std::wstring_view text);
};

}  // namespace QxXmlLib10

// FastInfosetContext.h - CFastInfosetContext, the Fast Infoset settings that a serialization
// context carries to the Fast Infoset writer and reader: how each kind of typed value is
// encoded, up to which length values are indexed, and the vocabulary to start from.
//
// Every CXmlSerializationContext holds one by value; callers reach it through GetFIContext():
//
//   CXmlSerializationContext context;
//   CFastInfosetContext& fi = context.GetFIContext();
//   fi.SetSuggestedValues();                  // numbers as binary, dates in the date alphabet
//   fi.SetEncoding(ItemType_string, {FIEncodingKind_CharacterString, 0});
//   fi.SetElementMaxAddLength(10);            // index element values up to 9 characters
//   fi.GetVocabulary()->AddElement(L"po", L"urn:example:po", L"order");
//   fi.SetUseGeneratedVocabulary(true);       // reader and writer start from that vocabulary
//
// A plain value: copies (the vocabulary included) are independent. Writers and readers work on
// their own copy of the vocabulary, so one context may serve several documents at once as long
// as nobody changes it meanwhile.
#pragma once

#include <qxxml/fastinfoset/FIVocabulary.h>
#include <qxxml/support/Export.h>

#include <cstdint>
#include <string>

namespace QxXmlLib10 {

// How a typed value travels: as a character string (UTF-8), as codes of a restricted alphabet
// of the vocabulary, or as the octets of a built-in encoding algorithm.
enum FIEncodingKind {
    FIEncodingKind_CharacterString = 0,
    FIEncodingKind_RestrictedAlphabet = 1,
    FIEncodingKind_EncodingAlgorithm = 2,
};

class QXXML_API CFastInfosetContext {
public:
    // One entry of the encoding table: the kind (an FIEncodingKind value) and the index of
    // the alphabet (1, 2) or algorithm (1 .. 10) it uses.
    struct EncodedCharacterString {
        uint32_t m_dwEncodingKind;
        uint32_t m_dwIndex;
    };
    // Entries of the encoding table, one per ItemType value (entry 0 is never consulted).
    static constexpr int kEncodingTableSize = 29;

    CFastInfosetContext();
    CFastInfosetContext(const CFastInfosetContext& other);
    CFastInfosetContext& operator=(const CFastInfosetContext& other);
    virtual ~CFastInfosetContext();

    // Character strings are always UTF-8 (0).
    unsigned char GetDefaultStringEncoding() const noexcept { return m_defaultStringEncoding; }

    // The encoding of an ItemType. An item type outside the table reads as a character string
    // and is not stored.
    EncodedCharacterString GetEncoding(int itemType) const noexcept;
    void SetEncoding(int itemType, EncodedCharacterString encoding) noexcept;
    // Binary algorithms for numbers, binary data and booleans, the numeric alphabet for
    // decimals and big integers, the date-time alphabet for dates and times.
    void SetSuggestedValues() noexcept;

    // Attribute values and element values shorter than these many characters are entered
    // into the vocabulary (and written as indices when they repeat). Both 6 by default.
    uint32_t GetAttributeMaxAddLength() const noexcept { return m_dwAttributeMaxAddLength; }
    void SetAttributeMaxAddLength(uint32_t length) noexcept { m_dwAttributeMaxAddLength = length; }
    uint32_t GetElementMaxAddLength() const noexcept { return m_dwElementMaxAddLength; }
    void SetElementMaxAddLength(uint32_t length) noexcept { m_dwElementMaxAddLength = length; }

    // When true, writer and reader start from GetVocabulary()'s tables instead of fresh ones.
    bool GetUseGeneratedVocabulary() const noexcept { return m_bUseGeneratedVocabulary; }
    void SetUseGeneratedVocabulary(bool use) noexcept { m_bUseGeneratedVocabulary = use; }
    CFIVocabulary* GetVocabulary() noexcept { return &m_vocabulary; }
    const CFIVocabulary* GetVocabulary() const noexcept { return &m_vocabulary; }

    // The URI that documents written with the generated vocabulary name as their external
    // vocabulary; empty by default.
    const std::wstring& GetExternalVocabularyURI() const noexcept { return m_strExternalVocabularyURI; }
    void SetExternalVocabularyURI(const std::wstring& uri) { m_strExternalVocabularyURI = uri; }

private:
    unsigned char m_defaultStringEncoding = 0;
    EncodedCharacterString m_encodings[kEncodingTableSize];
    uint32_t m_dwAttributeMaxAddLength = 6;
    uint32_t m_dwElementMaxAddLength = 6;
    bool m_bUseGeneratedVocabulary = false;
    CFIVocabulary m_vocabulary;
    std::wstring m_strExternalVocabularyURI;
};

}  // namespace QxXmlLib10

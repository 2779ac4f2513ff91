// FastInfosetContext.cpp - the encoding table and its suggested assignment.
#include <qxxml/fastinfoset/FastInfosetContext.h>

#include <qxxml/fastinfoset/FastInfosetBinaryData.h>
#include <qxxml/values/ItemType.h>

namespace QxXmlLib10 {

CFastInfosetContext::CFastInfosetContext() {
    for (EncodedCharacterString& entry : m_encodings) entry = {FIEncodingKind_CharacterString, 0};
}

CFastInfosetContext::CFastInfosetContext(const CFastInfosetContext&) = default;
CFastInfosetContext& CFastInfosetContext::operator=(const CFastInfosetContext&) = default;
CFastInfosetContext::~CFastInfosetContext() = default;

CFastInfosetContext::EncodedCharacterString CFastInfosetContext::GetEncoding(int itemType) const noexcept {
    if (itemType < 0 || itemType >= kEncodingTableSize) return {FIEncodingKind_CharacterString, 0};
    return m_encodings[itemType];
}

void CFastInfosetContext::SetEncoding(int itemType, EncodedCharacterString encoding) noexcept {
    if (itemType >= 0 && itemType < kEncodingTableSize) m_encodings[itemType] = encoding;
}

void CFastInfosetContext::SetSuggestedValues() noexcept {
    struct Suggestion {
        ItemType type;
        FIEncodingKind kind;
        uint32_t index;
    };
    // Unsigned types take the next wider signed algorithm so that every value fits (ui8 shares
    // long with i8); char and string stay character strings.
    static const Suggestion suggestions[] = {
        {ItemType_hexBinary, FIEncodingKind_EncodingAlgorithm, FIAlgorithm_Hexadecimal},
        {ItemType_base64Binary, FIEncodingKind_EncodingAlgorithm, FIAlgorithm_Base64},
        {ItemType_i1, FIEncodingKind_EncodingAlgorithm, FIAlgorithm_Short},
        {ItemType_i2, FIEncodingKind_EncodingAlgorithm, FIAlgorithm_Short},
        {ItemType_i4, FIEncodingKind_EncodingAlgorithm, FIAlgorithm_Int},
        {ItemType_i8, FIEncodingKind_EncodingAlgorithm, FIAlgorithm_Long},
        {ItemType_ui1, FIEncodingKind_EncodingAlgorithm, FIAlgorithm_Short},
        {ItemType_ui2, FIEncodingKind_EncodingAlgorithm, FIAlgorithm_Int},
        {ItemType_ui4, FIEncodingKind_EncodingAlgorithm, FIAlgorithm_Long},
        {ItemType_ui8, FIEncodingKind_EncodingAlgorithm, FIAlgorithm_Long},
        {ItemType_r4, FIEncodingKind_EncodingAlgorithm, FIAlgorithm_Float},
        {ItemType_r8, FIEncodingKind_EncodingAlgorithm, FIAlgorithm_Double},
        {ItemType_duration, FIEncodingKind_CharacterString, 0},
        {ItemType_yearMonth, FIEncodingKind_RestrictedAlphabet, CFIVocabulary::kDateTimeAlphabet},
        {ItemType_monthDay, FIEncodingKind_RestrictedAlphabet, CFIVocabulary::kDateTimeAlphabet},
        {ItemType_year, FIEncodingKind_RestrictedAlphabet, CFIVocabulary::kDateTimeAlphabet},
        {ItemType_month, FIEncodingKind_RestrictedAlphabet, CFIVocabulary::kDateTimeAlphabet},
        {ItemType_day, FIEncodingKind_RestrictedAlphabet, CFIVocabulary::kDateTimeAlphabet},
        {ItemType_date, FIEncodingKind_RestrictedAlphabet, CFIVocabulary::kDateTimeAlphabet},
        {ItemType_datetime, FIEncodingKind_RestrictedAlphabet, CFIVocabulary::kDateTimeAlphabet},
        {ItemType_time, FIEncodingKind_RestrictedAlphabet, CFIVocabulary::kDateTimeAlphabet},
        {ItemType_boolean, FIEncodingKind_EncodingAlgorithm, FIAlgorithm_Boolean},
        {ItemType_decimal, FIEncodingKind_RestrictedAlphabet, CFIVocabulary::kNumericAlphabet},
        {ItemType_integer, FIEncodingKind_RestrictedAlphabet, CFIVocabulary::kNumericAlphabet},
    };
    for (const Suggestion& s : suggestions) m_encodings[s.type] = {static_cast<uint32_t>(s.kind), s.index};
}

}  // namespace QxXmlLib10

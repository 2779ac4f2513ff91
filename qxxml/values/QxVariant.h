// QxVariant.h - QxVariant, the value of one property on its way between a generated object
// and the metadata descriptors.
//
// A variant is in one of three states: invalid (no value: an absent optional property),
// nil (xsi:nil; the variant still says which kind it would hold) or valued (a kind and its
// payload). Descriptors read a property into a variant, turn it into XML text, and fill one
// from XML text when reading:
//
//   QxVariant value;                       // invalid
//   value.SetI4(42);                       // valued, ItemType_i4
//   std::wstring text = value.ToString(nullptr);        // L"42"
//   value.FromString(L" 7 ", ItemType_i4, CWhitespaceUtils::WhitespaceRule_Collapse);
//   int32_t n = value.GetI4();             // 7
//   value.SetNil();                        // nil, still ItemType_i4
//
// Small kinds (integers, floats, bool, char, year/month/day) live inline; strings, decimals,
// big integers, dates, durations and binary data are owned on the heap and copied with the
// variant; objects and collections are shared: the variant holds one reference (AddRef when
// stored, Release when dropped).
//
// A getter called on a variant of another kind (for string, decimal, integer and the
// collection kind also: without a payload) throws CQxInvalidStateException whose message is
// the broken condition, e.g. "m_type == ItemType_i4" or
// "m_type == ItemType_string && m_pString != 0". It never reads the union as the wrong kind.
//
// The value classes are only declared here; include their headers (Decimal.h, DateTime.h,
// ...) where their values are used.
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/support/SmartPtr.h>
#include <qxxml/values/ItemType.h>
#include <qxxml/values/WhitespaceUtils.h>

#include <cstdint>
#include <string>

namespace QxXmlLib10 {

class CBinaryData;
class CDateTime;
class CDateTimeSpan;
class CDecimal;
class CBigInteger;
class CXmlObjectBase;
class CXmlCollectionBase;

struct QXXML_API QxVariant {
    QxVariant() noexcept : m_bNil(false), m_type(ItemType_invalid), m_i8(0) {}
    // Copies of the inline kinds are a plain copy of the fields; the others copy their heap
    // object or take a reference. A corrupt kind (above ItemType_XmlCollection) throws
    // CQxException "Unknown Type".
    QxVariant(const QxVariant& other)
        : m_bNil(other.m_bNil), m_type(other.m_type), m_i8(other.m_bNil ? 0 : other.m_i8) {
        if (!IsInlineKind(m_type)) CopyConstructPayload(other);
    }
    // Takes over the payload (and reference) of `other`, which becomes invalid and not nil.
    QxVariant(QxVariant&& other) noexcept;
    QxVariant& operator=(const QxVariant& other) {
        if (IsInlineKind(m_type) && IsInlineKind(other.m_type)) {
            m_bNil = other.m_bNil;
            m_type = other.m_type;
            m_i8 = other.m_bNil ? 0 : other.m_i8;  // a nil variant carries no value
            return *this;
        }
        return Assign(other);
    }
    QxVariant& operator=(QxVariant&& other) noexcept;
    virtual ~QxVariant() {
        Clear();
        if (m_pSpare) DeleteSpare();
    }

    // --- state
    // Frees the payload and makes the variant invalid and not nil; an invalid variant is left
    // alone (a nil flag set on it stays).
    void Clear() noexcept {
        if (m_type == ItemType_invalid) return;
        // Owns nothing (an inline kind, or a string it only refers to): done here, without the
        // call.
        if (IsInlineKind(m_type) || m_bReferent) {
            m_bReferent = false;
            m_i8 = 0;
            m_bNil = false;
            m_type = ItemType_invalid;
            return;
        }
        ClearValued();
    }
    bool IsValid() const noexcept { return m_type != ItemType_invalid || m_bNil; }
    bool IsNil() const noexcept { return m_bNil; }
    void SetInvalid() noexcept {
        Clear();
        m_type = ItemType_invalid;
    }
    // Drops the payload but keeps the kind, and marks the variant nil.
    void SetNil() noexcept {
        const ItemType type = m_type;
        Clear();
        m_type = type;
        m_bNil = true;
    }
    ItemType GetTypeAsEnum() const noexcept { return m_type; }
    // The type name of kinds 1 to 26; CQxException "Invalid Type %d" for any other kind.
    std::wstring GetType() const;

    // --- setters: each first Clears (so a valued variant loses its nil flag), then stores
    void SetHexBinary(const CBinaryData& value);
    void SetBase64Binary(const CBinaryData& value);
    void SetI1(char value) noexcept { SetInline(ItemType_i1).m_i1 = value; }
    void SetI2(int16_t value) noexcept { SetInline(ItemType_i2).m_i2 = value; }
    void SetI4(int32_t value) noexcept { SetInline(ItemType_i4).m_i4 = value; }
    void SetI8(int64_t value) noexcept { SetInline(ItemType_i8).m_i8 = value; }
    void SetUI1(unsigned char value) noexcept { SetInline(ItemType_ui1).m_ui1 = value; }
    void SetUI2(uint16_t value) noexcept { SetInline(ItemType_ui2).m_ui2 = value; }
    void SetUI4(uint32_t value) noexcept { SetInline(ItemType_ui4).m_ui4 = value; }
    void SetUI8(uint64_t value) noexcept { SetInline(ItemType_ui8).m_ui8 = value; }
    void SetR4(float value) noexcept { SetInline(ItemType_r4).m_r4 = value; }
    void SetR8(double value) noexcept { SetInline(ItemType_r8).m_r8 = value; }
    void SetDuration(const CDateTimeSpan& value);
    void SetYearMonth(const CDateTime& value);
    void SetMonthDay(const CDateTime& value);
    void SetYear(uint16_t value) noexcept { SetInline(ItemType_year).m_ui2 = value; }
    void SetMonth(unsigned char value) noexcept { SetInline(ItemType_month).m_ui1 = value; }
    void SetDay(unsigned char value) noexcept { SetInline(ItemType_day).m_ui1 = value; }
    void SetDate(const CDateTime& value);
    void SetDateTime(const CDateTime& value);
    void SetTime(const CDateTime& value);
    void SetChar(wchar_t value) noexcept { SetInline(ItemType_char).m_char = value; }
    // (Two overloads rather than one by-value parameter: a variant that already holds a
    // string assigns into it, reusing its storage.)
    void SetString(const std::wstring& value);
    void SetString(std::wstring&& value);
    // A writer reads each property into a variant only to write it out at once: copying a
    // string member there costs more than writing it. A variant that allows references (set
    // once by such a writer) stores the member's own string by reference instead; any other
    // variant stores a copy, as SetString does. A referring variant reads like any other.
    // Changing or clearing it lets go of the reference without touching the member, copies of
    // it own their text, and TakeStringInto copies rather than steals.
    void AllowStringReferences(bool allow) noexcept { m_bReferencesAllowed = allow; }
    void SetStringReference(const std::wstring& value);
    // Puts the text into `target` (a generated class storing a property): moved out of a
    // string the variant owns, copied from one it refers to.
    void TakeStringInto(std::wstring& target);
    void SetBoolean(bool value) noexcept { SetInline(ItemType_boolean).m_bool = value; }
    void SetDecimal(const CDecimal& value);
    void SetInteger(const CBigInteger& value);
    void SetXmlObject(CXmlObjectBase* value);
    void SetXmlCollection(CXmlCollectionBase* value);

    // --- getters: the value (heap kinds as a copy); CQxInvalidStateException on another kind
    CBinaryData GetHexBinary() const;
    CBinaryData GetBase64Binary() const;
    char GetI1() const { return Expect(ItemType_i1, L"m_type == ItemType_i1").m_i1; }
    int16_t GetI2() const { return Expect(ItemType_i2, L"m_type == ItemType_i2").m_i2; }
    int32_t GetI4() const { return Expect(ItemType_i4, L"m_type == ItemType_i4").m_i4; }
    int64_t GetI8() const { return Expect(ItemType_i8, L"m_type == ItemType_i8").m_i8; }
    unsigned char GetUI1() const { return Expect(ItemType_ui1, L"m_type == ItemType_ui1").m_ui1; }
    uint16_t GetUI2() const { return Expect(ItemType_ui2, L"m_type == ItemType_ui2").m_ui2; }
    uint32_t GetUI4() const { return Expect(ItemType_ui4, L"m_type == ItemType_ui4").m_ui4; }
    uint64_t GetUI8() const { return Expect(ItemType_ui8, L"m_type == ItemType_ui8").m_ui8; }
    float GetR4() const { return Expect(ItemType_r4, L"m_type == ItemType_r4").m_r4; }
    double GetR8() const { return Expect(ItemType_r8, L"m_type == ItemType_r8").m_r8; }
    CDateTimeSpan GetDuration() const;
    CDateTime GetYearMonth() const;
    CDateTime GetMonthDay() const;
    uint16_t GetYear() const { return Expect(ItemType_year, L"m_type == ItemType_year").m_ui2; }
    unsigned char GetMonth() const { return Expect(ItemType_month, L"m_type == ItemType_month").m_ui1; }
    unsigned char GetDay() const { return Expect(ItemType_day, L"m_type == ItemType_day").m_ui1; }
    CDateTime GetDate() const;
    CDateTime GetDateTime() const;
    CDateTime GetTime() const;
    wchar_t GetChar() const { return Expect(ItemType_char, L"m_type == ItemType_char").m_char; }
    std::wstring GetString() const;
    bool GetBoolean() const { return Expect(ItemType_boolean, L"m_type == ItemType_boolean").m_bool; }
    CDecimal GetDecimal() const;
    CBigInteger GetInteger() const;
    // Accepts the object kind and the collection kind alike.
    CSmartPtr<CXmlObjectBase> GetXmlObject() const;
    CSmartPtr<CXmlCollectionBase> GetXmlCollection() const;

    // Borrowing forms of the three getters above: the same preconditions, a reference
    // instead of a copy, valid until the variant changes.
    const std::wstring& GetStringRef() const;
    const CDecimal& GetDecimalRef() const;
    const CBigInteger& GetIntegerRef() const;

    // --- text
    // The XML text of the value (kinds 1 to 26); only r4, r8 and decimal use `format` (null
    // counts as empty). The nil flag is not looked at. CQxException
    // "Invalid Type %d to convert to string" for any other kind.
    std::wstring ToString(const wchar_t* format) const;
    std::wstring ToString(const std::wstring& format) const { return ToString(format.c_str()); }
    // The same text appended to `out`: writers that reuse one buffer pay no allocation for
    // the common kinds (numbers, booleans, dates, decimals, base64, strings).
    void AppendText(std::wstring& out, const wchar_t* format) const;
    // Parses `text` as `type` and stores it. The conversion runs before anything is stored,
    // so a failure leaves the variant as it was.
    void FromString(const std::wstring& text, ItemType type, CWhitespaceUtils::WhitespaceRule rule);

    // --- fields (the layout generated code and descriptors rely on)
    bool m_bNil;
    ItemType m_type;
    union {
        char m_i1;
        int16_t m_i2;
        int32_t m_i4;
        int64_t m_i8;
        unsigned char m_ui1;
        uint16_t m_ui2;
        uint32_t m_ui4;
        uint64_t m_ui8;
        float m_r4;
        double m_r8;
        wchar_t m_char;
        bool m_bool;
        CBinaryData* m_pBinaryData;
        CDateTimeSpan* m_pDateTimeSpan;
        CDateTime* m_pDateTime;
        std::wstring* m_pString;
        CDecimal* m_pDecimal;
        CBigInteger* m_pBigInteger;
        CXmlObjectBase* m_pXmlObject;
        CXmlCollectionBase* m_pXmlCol;
    };

private:
    // The heap object the last Clear let go of (a string, date, decimal, ... emptied of any
    // shared bytes), kept for the next value stored of the same storage class: a variant that
    // carries one property value after another, of a kind or of several, then allocates once
    // per kind rather than once per value. Never copied or moved with the value.
    void* m_pSpare = nullptr;
    ItemType m_spareType = ItemType_invalid;
    // m_pString points at a string the variant does not own (SetStringReference).
    bool m_bReferent = false;
    bool m_bReferencesAllowed = false;

    // The kinds stored in the union itself (and ItemType_invalid): copying them is copying
    // the fields.
    static bool IsInlineKind(ItemType type) noexcept {
        constexpr uint32_t inlineKinds =
            1u << ItemType_invalid | 1u << ItemType_i1 | 1u << ItemType_i2 | 1u << ItemType_i4 | 1u << ItemType_i8 |
            1u << ItemType_ui1 | 1u << ItemType_ui2 | 1u << ItemType_ui4 | 1u << ItemType_ui8 | 1u << ItemType_r4 |
            1u << ItemType_r8 | 1u << ItemType_year | 1u << ItemType_month | 1u << ItemType_day | 1u << ItemType_char |
            1u << ItemType_boolean;
        return static_cast<uint32_t>(type) < 32 && (inlineKinds >> type & 1u) != 0;
    }
    void CopyConstructPayload(const QxVariant& other);
    QxVariant& Assign(const QxVariant& other);
    // Clear for a valued (or nil) variant: frees the heap payload or drops the reference.
    void ClearValued() noexcept;
    // Clears and switches to an inline kind; the caller stores the value.
    QxVariant& SetInline(ItemType type) noexcept {
        Clear();
        m_type = type;
        m_i8 = 0;
        return *this;
    }
    // The variant itself when it holds `type`; otherwise throws the condition text.
    const QxVariant& Expect(ItemType type, const wchar_t* condition) const {
        if (m_type != type) ThrowBrokenPrecondition(condition);
        return *this;
    }
    [[noreturn]] static void ThrowBrokenPrecondition(const wchar_t* condition);

    template <class T>
    void StoreOwned(ItemType type, T*& slot, const T& value);
    // Keeps `object` (of `type`'s storage class) as the spare, or deletes it if there is one.
    template <class T>
    void Retire(ItemType type, T* object) noexcept;
    // The spare when it can hold a value of `type`, taken; null otherwise.
    template <class T>
    T* TakeSpare(ItemType type) noexcept;
    void DeleteSpare() noexcept;
    template <class T>
    T CopyOwned(ItemType type, T* slot, const wchar_t* condition) const;
    void CopyPayloadFrom(const QxVariant& other);
};

}  // namespace QxXmlLib10

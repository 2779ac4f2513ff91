#include <qxxml/values/QxVariant.h>

#include <qxxml/collections/XmlCollectionBase.h>
#include <qxxml/core/XmlObjectBase.h>
#include <qxxml/support/QxException.h>
#include <qxxml/values/Base64.h>
#include <qxxml/values/BigInteger.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/values/Conversions.h>
#include <qxxml/values/DateTime.h>
#include <qxxml/values/DateTimeSpan.h>
#include <qxxml/values/Decimal.h>
#include <qxxml/values/FormatString.h>

#include <utility>

namespace QxXmlLib10 {

namespace {

// Strings longer than this are freed rather than kept as a variant's spare.
constexpr size_t kLongestSpareString = 4096;

// The kinds whose heap objects are of one C++ class, and so can take each other's spare.
int StorageClassOf(ItemType type) noexcept {
    switch (type) {
        case ItemType_hexBinary:
        case ItemType_base64Binary: return 1;
        case ItemType_duration: return 2;
        case ItemType_yearMonth:
        case ItemType_monthDay:
        case ItemType_date:
        case ItemType_datetime:
        case ItemType_time: return 3;
        case ItemType_string: return 4;
        case ItemType_decimal: return 5;
        case ItemType_integer: return 6;
        default: return 0;
    }
}

bool IsKnownKind(ItemType type) { return type >= ItemType_invalid && type <= ItemType_XmlCollection; }

bool IsPrimitiveKind(ItemType type) { return type >= ItemType_hexBinary && type <= ItemType_integer; }

const wchar_t kStringHeld[] = L"m_type == ItemType_string && m_pString != 0";
const wchar_t kDecimalHeld[] = L"m_type == ItemType_decimal && m_pDecimal != 0";
const wchar_t kIntegerHeld[] = L"m_type == ItemType_integer && m_pBigInteger != 0";

// The owned payload of a variant whose kind has been checked already; a nil variant has none.
template <class T>
const T& Owned(const T* payload, const wchar_t* condition) {
    if (!payload) throw CQxInvalidStateException(condition);
    return *payload;
}

[[noreturn]] void ThrowNoTextForm(int type) {
    throw CQxException(FormatString(L"Invalid Type %d to convert to string", type));
}

}  // namespace

// ------------------------------------------------------------------ lifetime

void QxVariant::CopyConstructPayload(const QxVariant& other) {
    // Start from an invalid variant, as a new one is, and copy from there.
    m_bNil = false;
    m_type = ItemType_invalid;
    m_i8 = 0;
    Assign(other);
}

QxVariant::QxVariant(QxVariant&& other) noexcept
    : m_bNil(other.m_bNil), m_type(other.m_type), m_i8(other.m_i8), m_bReferent(other.m_bReferent) {
    other.m_bNil = false;
    other.m_type = ItemType_invalid;
    other.m_i8 = 0;
    other.m_bReferent = false;
}

QxVariant& QxVariant::Assign(const QxVariant& other) {
    if (this == &other) return *this;
    // Refuse a corrupt source before touching the target, so a failed copy changes nothing.
    if (!IsKnownKind(other.m_type)) throw CQxException(L"Unknown Type");
    Clear();
    m_type = other.m_type;
    m_bNil = other.m_bNil;
    m_i8 = 0;
    if (!other.m_bNil) CopyPayloadFrom(other);
    return *this;
}

QxVariant& QxVariant::operator=(QxVariant&& other) noexcept {
    if (this == &other) return *this;
    Clear();
    m_bNil = std::exchange(other.m_bNil, false);
    m_type = std::exchange(other.m_type, ItemType_invalid);
    m_i8 = std::exchange(other.m_i8, 0);
    m_bReferent = std::exchange(other.m_bReferent, false);
    return *this;
}

void QxVariant::CopyPayloadFrom(const QxVariant& other) {
    switch (other.m_type) {
        case ItemType_hexBinary:
        case ItemType_base64Binary:
            if (other.m_pBinaryData) m_pBinaryData = new CBinaryData(*other.m_pBinaryData);
            break;
        case ItemType_duration:
            if (other.m_pDateTimeSpan) m_pDateTimeSpan = new CDateTimeSpan(*other.m_pDateTimeSpan);
            break;
        case ItemType_yearMonth:
        case ItemType_monthDay:
        case ItemType_date:
        case ItemType_datetime:
        case ItemType_time:
            if (other.m_pDateTime) m_pDateTime = new CDateTime(*other.m_pDateTime);
            break;
        case ItemType_string:
            if (other.m_pString) m_pString = new std::wstring(*other.m_pString);
            break;
        case ItemType_decimal:
            if (other.m_pDecimal) m_pDecimal = new CDecimal(*other.m_pDecimal);
            break;
        case ItemType_integer:
            if (other.m_pBigInteger) m_pBigInteger = new CBigInteger(*other.m_pBigInteger);
            break;
        case ItemType_XmlObjectBase:
            m_pXmlObject = other.m_pXmlObject;
            if (m_pXmlObject) m_pXmlObject->AddRef();
            break;
        case ItemType_XmlCollection:
            m_pXmlCol = other.m_pXmlCol;
            if (m_pXmlCol) m_pXmlCol->AddRef();
            break;
        default:  // invalid and the inline kinds: the whole union is the value
            m_i8 = other.m_i8;
            break;
    }
}

void QxVariant::ClearValued() noexcept {
    switch (m_type) {
        case ItemType_hexBinary:
        case ItemType_base64Binary:
            if (m_pBinaryData) *m_pBinaryData = CBinaryData();  // the spare shares no bytes
            Retire(m_type, m_pBinaryData);
            break;
        case ItemType_duration: Retire(m_type, m_pDateTimeSpan); break;
        case ItemType_yearMonth:
        case ItemType_monthDay:
        case ItemType_date:
        case ItemType_datetime:
        case ItemType_time: Retire(m_type, m_pDateTime); break;
        case ItemType_string:
            // A long text is not kept alive for reuse; a referred one is not ours.
            if (m_bReferent)
                m_bReferent = false;
            else if (m_pString && m_pString->capacity() > kLongestSpareString)
                delete m_pString;
            else
                Retire(m_type, m_pString);
            break;
        case ItemType_decimal: Retire(m_type, m_pDecimal); break;
        case ItemType_integer: Retire(m_type, m_pBigInteger); break;
        case ItemType_XmlObjectBase:
            if (m_pXmlObject) m_pXmlObject->Release();
            break;
        case ItemType_XmlCollection:
            if (m_pXmlCol) m_pXmlCol->Release();
            break;
        default: break;  // inline kinds own nothing; an unknown kind is not touched
    }
    m_i8 = 0;
    m_bNil = false;
    m_type = ItemType_invalid;
}

// ------------------------------------------------------------------ heap kinds

template <class T>
void QxVariant::Retire(ItemType type, T* object) noexcept {
    if (object && !m_pSpare) {
        m_pSpare = object;
        m_spareType = type;
    } else {
        delete object;
    }
}

template <class T>
T* QxVariant::TakeSpare(ItemType type) noexcept {
    if (!m_pSpare || StorageClassOf(m_spareType) != StorageClassOf(type)) return nullptr;
    T* spare = static_cast<T*>(m_pSpare);
    m_pSpare = nullptr;
    return spare;
}

void QxVariant::DeleteSpare() noexcept {
    switch (StorageClassOf(m_spareType)) {
        case 1: delete static_cast<CBinaryData*>(m_pSpare); break;
        case 2: delete static_cast<CDateTimeSpan*>(m_pSpare); break;
        case 3: delete static_cast<CDateTime*>(m_pSpare); break;
        case 4: delete static_cast<std::wstring*>(m_pSpare); break;
        case 5: delete static_cast<CDecimal*>(m_pSpare); break;
        case 6: delete static_cast<CBigInteger*>(m_pSpare); break;
        default: break;
    }
    m_pSpare = nullptr;
}

// Stores a private copy of `value`. A variant that already owns an object of this kind
// assigns into it, and one that keeps a spare of its storage class assigns into that: the
// reuse saves an allocation when one variant carries property values one after another, and
// is otherwise the same as Clear + new copy.
template <class T>
void QxVariant::StoreOwned(ItemType type, T*& slot, const T& value) {
    if (m_type == type && slot && !m_bReferent) {
        *slot = value;
        m_bNil = false;
        return;
    }
    // Made before Clear: a failed copy leaves the variant (and a spare) unchanged.
    T* copy;
    if (T* spare = TakeSpare<T>(type)) {
        try {
            *spare = value;
        } catch (...) {
            Retire(type, spare);
            throw;
        }
        copy = spare;
    } else {
        copy = new T(value);
    }
    Clear();
    m_type = type;
    slot = copy;
}

template <class T>
T QxVariant::CopyOwned(ItemType type, T* slot, const wchar_t* condition) const {
    if (m_type != type) ThrowBrokenPrecondition(condition);
    // A nil variant keeps its kind but owns no object: it reads as an unset value.
    return slot ? *slot : T();
}

void QxVariant::SetHexBinary(const CBinaryData& value) { StoreOwned(ItemType_hexBinary, m_pBinaryData, value); }
void QxVariant::SetBase64Binary(const CBinaryData& value) { StoreOwned(ItemType_base64Binary, m_pBinaryData, value); }
void QxVariant::SetDuration(const CDateTimeSpan& value) { StoreOwned(ItemType_duration, m_pDateTimeSpan, value); }
void QxVariant::SetYearMonth(const CDateTime& value) { StoreOwned(ItemType_yearMonth, m_pDateTime, value); }
void QxVariant::SetMonthDay(const CDateTime& value) { StoreOwned(ItemType_monthDay, m_pDateTime, value); }
void QxVariant::SetDate(const CDateTime& value) { StoreOwned(ItemType_date, m_pDateTime, value); }
void QxVariant::SetDateTime(const CDateTime& value) { StoreOwned(ItemType_datetime, m_pDateTime, value); }
void QxVariant::SetTime(const CDateTime& value) { StoreOwned(ItemType_time, m_pDateTime, value); }
void QxVariant::SetDecimal(const CDecimal& value) { StoreOwned(ItemType_decimal, m_pDecimal, value); }
void QxVariant::SetInteger(const CBigInteger& value) { StoreOwned(ItemType_integer, m_pBigInteger, value); }

void QxVariant::SetString(const std::wstring& value) { StoreOwned(ItemType_string, m_pString, value); }

void QxVariant::SetString(std::wstring&& value) {
    if (m_type == ItemType_string && m_pString && !m_bReferent) {
        *m_pString = std::move(value);
        m_bNil = false;
        return;
    }
    std::wstring* copy = TakeSpare<std::wstring>(ItemType_string);
    if (copy)
        *copy = std::move(value);
    else
        copy = new std::wstring(std::move(value));
    Clear();
    m_type = ItemType_string;
    m_pString = copy;
}

void QxVariant::SetStringReference(const std::wstring& value) {
    if (!m_bReferencesAllowed) return SetString(value);
    Clear();
    m_type = ItemType_string;
    m_pString = const_cast<std::wstring*>(&value);  // read only: see m_bReferent
    m_bReferent = true;
}

void QxVariant::TakeStringInto(std::wstring& target) {
    if (m_type != ItemType_string || !m_pString) ThrowBrokenPrecondition(kStringHeld);
    if (m_bReferent)
        target = *m_pString;
    else
        target.swap(*m_pString);
}

// The reference is taken before the old payload goes: the new object may be owned only
// through the one this variant is about to drop.
void QxVariant::SetXmlObject(CXmlObjectBase* value) {
    if (value) value->AddRef();
    Clear();
    m_type = ItemType_XmlObjectBase;
    m_pXmlObject = value;
}

void QxVariant::SetXmlCollection(CXmlCollectionBase* value) {
    if (value) value->AddRef();
    Clear();
    m_type = ItemType_XmlCollection;
    m_pXmlCol = value;
}

CBinaryData QxVariant::GetHexBinary() const {
    return CopyOwned(ItemType_hexBinary, m_pBinaryData, L"m_type == ItemType_hexBinary");
}
CBinaryData QxVariant::GetBase64Binary() const {
    return CopyOwned(ItemType_base64Binary, m_pBinaryData, L"m_type == ItemType_base64Binary");
}
CDateTimeSpan QxVariant::GetDuration() const {
    return CopyOwned(ItemType_duration, m_pDateTimeSpan, L"m_type == ItemType_duration");
}
CDateTime QxVariant::GetYearMonth() const {
    return CopyOwned(ItemType_yearMonth, m_pDateTime, L"m_type == ItemType_yearMonth");
}
CDateTime QxVariant::GetMonthDay() const {
    return CopyOwned(ItemType_monthDay, m_pDateTime, L"m_type == ItemType_monthDay");
}
CDateTime QxVariant::GetDate() const { return CopyOwned(ItemType_date, m_pDateTime, L"m_type == ItemType_date"); }
CDateTime QxVariant::GetDateTime() const {
    return CopyOwned(ItemType_datetime, m_pDateTime, L"m_type == ItemType_datetime");
}
CDateTime QxVariant::GetTime() const { return CopyOwned(ItemType_time, m_pDateTime, L"m_type == ItemType_time"); }

std::wstring QxVariant::GetString() const { return GetStringRef(); }
CDecimal QxVariant::GetDecimal() const { return GetDecimalRef(); }
CBigInteger QxVariant::GetInteger() const { return GetIntegerRef(); }

const std::wstring& QxVariant::GetStringRef() const {
    if (m_type != ItemType_string) ThrowBrokenPrecondition(kStringHeld);
    return Owned(m_pString, kStringHeld);
}

const CDecimal& QxVariant::GetDecimalRef() const {
    if (m_type != ItemType_decimal) ThrowBrokenPrecondition(kDecimalHeld);
    return Owned(m_pDecimal, kDecimalHeld);
}

const CBigInteger& QxVariant::GetIntegerRef() const {
    if (m_type != ItemType_integer) ThrowBrokenPrecondition(kIntegerHeld);
    return Owned(m_pBigInteger, kIntegerHeld);
}

CSmartPtr<CXmlObjectBase> QxVariant::GetXmlObject() const {
    if (m_type == ItemType_XmlObjectBase) return m_pXmlObject;
    if (m_type == ItemType_XmlCollection) return static_cast<CXmlObjectBase*>(m_pXmlCol);
    ThrowBrokenPrecondition(L"m_type == ItemType_XmlObjectBase");
}

CSmartPtr<CXmlCollectionBase> QxVariant::GetXmlCollection() const {
    if (m_type != ItemType_XmlCollection || !m_pXmlCol)
        ThrowBrokenPrecondition(L"m_type == ItemType_XmlCollection && m_pXmlCol != 0");
    return m_pXmlCol;
}

void QxVariant::ThrowBrokenPrecondition(const wchar_t* condition) { throw CQxInvalidStateException(condition); }

// ------------------------------------------------------------------ text

std::wstring QxVariant::GetType() const {
    if (const wchar_t* name = ItemTypeName(m_type)) return name;
    throw CQxException(FormatString(L"Invalid Type %d", static_cast<int>(m_type)));
}

std::wstring QxVariant::ToString(const wchar_t* format) const {
    using C = CConversions;
    if (!IsPrimitiveKind(m_type)) ThrowNoTextForm(m_type);
    const std::wstring fmt = format ? format : L"";
    switch (m_type) {
        case ItemType_hexBinary: return C::hexBinaryToString(GetHexBinary());
        case ItemType_base64Binary: return C::base64BinaryToString(GetBase64Binary());
        case ItemType_i1: return C::i1ToString(m_i1);
        case ItemType_i2: return C::i2ToString(m_i2);
        case ItemType_i4: return C::i4ToString(m_i4);
        case ItemType_i8: return C::i8ToString(m_i8);
        case ItemType_ui1: return C::ui1ToString(m_ui1);
        case ItemType_ui2: return C::ui2ToString(m_ui2);
        case ItemType_ui4: return C::ui4ToString(m_ui4);
        case ItemType_ui8: return C::ui8ToString(m_ui8);
        case ItemType_r4: return C::r4ToString(m_r4, fmt);
        case ItemType_r8: return C::r8ToString(m_r8, fmt);
        case ItemType_duration: return C::durationToString(GetDuration());
        case ItemType_yearMonth: return C::yearMonthToString(GetYearMonth());
        case ItemType_monthDay: return C::monthDayToString(GetMonthDay());
        case ItemType_year: return C::yearToString(m_ui2);
        case ItemType_month: return C::monthToString(m_ui1);
        case ItemType_day: return C::dayToString(m_ui1);
        case ItemType_date: return C::dateToString(GetDate());
        case ItemType_datetime: return C::datetimeToString(GetDateTime());
        case ItemType_time: return C::timeToString(GetTime());
        case ItemType_char: return C::charToString(m_char);
        case ItemType_string: return C::stringToString(Owned(m_pString, kStringHeld));
        case ItemType_boolean: return C::booleanToString(m_bool);
        case ItemType_decimal: return C::decimalToString(Owned(m_pDecimal, kDecimalHeld), fmt);
        case ItemType_integer: return C::integerToString(Owned(m_pBigInteger, kIntegerHeld));
        default: ThrowNoTextForm(m_type);
    }
}

void QxVariant::AppendText(std::wstring& out, const wchar_t* format) const {
    using C = CConversions;
    const bool unformatted = !format || !*format;
    switch (m_type) {
        case ItemType_i1: return C::i8AppendTo(out, static_cast<signed char>(m_i1));
        case ItemType_i2: return C::i8AppendTo(out, m_i2);
        case ItemType_i4: return C::i8AppendTo(out, m_i4);
        case ItemType_i8: return C::i8AppendTo(out, m_i8);
        case ItemType_ui1: return C::ui8AppendTo(out, m_ui1);
        case ItemType_ui2:
        case ItemType_year: return C::ui8AppendTo(out, m_ui2);
        case ItemType_ui4: return C::ui8AppendTo(out, m_ui4);
        case ItemType_ui8: return C::ui8AppendTo(out, m_ui8);
        case ItemType_boolean: out += m_bool ? L"true" : L"false"; return;
        case ItemType_string: out += Owned(m_pString, kStringHeld); return;
        case ItemType_integer: return Owned(m_pBigInteger, kIntegerHeld).AppendTo(out);
        case ItemType_r4:
            if (unformatted) return C::r4AppendTo(out, m_r4);
            break;
        case ItemType_r8:
            if (unformatted) return C::r8AppendTo(out, m_r8);
            break;
        case ItemType_decimal:
            if (unformatted) return Owned(m_pDecimal, kDecimalHeld).AppendTo(out);
            break;
        case ItemType_yearMonth:
        case ItemType_monthDay:
        case ItemType_date:
        case ItemType_datetime:
        case ItemType_time:
            if (m_pDateTime) return m_pDateTime->AppendTo(out);
            break;
        case ItemType_base64Binary:
            if (m_pBinaryData) return CBase64::AppendEncoded(out, m_pBinaryData->GetData(), m_pBinaryData->GetLength());
            break;
        default: break;
    }
    out += ToString(format);  // the rarer kinds and forms, and every failure, as ToString has them
}

void QxVariant::FromString(const std::wstring& text, ItemType type, CWhitespaceUtils::WhitespaceRule rule) {
    using C = CConversions;
    switch (type) {
        case ItemType_hexBinary: SetHexBinary(C::hexBinaryFromString(text, rule)); return;
        case ItemType_base64Binary: SetBase64Binary(C::base64BinaryFromString(text, rule)); return;
        case ItemType_i1: SetI1(C::i1FromString(text, rule)); return;
        case ItemType_i2: SetI2(C::i2FromString(text, rule)); return;
        case ItemType_i4: SetI4(C::i4FromString(text, rule)); return;
        case ItemType_i8: SetI8(C::i8FromString(text, rule)); return;
        case ItemType_ui1: SetUI1(C::ui1FromString(text, rule)); return;
        case ItemType_ui2: SetUI2(C::ui2FromString(text, rule)); return;
        case ItemType_ui4: SetUI4(C::ui4FromString(text, rule)); return;
        case ItemType_ui8: SetUI8(C::ui8FromString(text, rule)); return;
        case ItemType_r4: SetR4(C::r4FromString(text, rule)); return;
        case ItemType_r8: SetR8(C::r8FromString(text, rule)); return;
        case ItemType_duration: SetDuration(C::durationFromString(text, rule)); return;
        case ItemType_yearMonth: SetYearMonth(C::yearMonthFromString(text, rule)); return;
        case ItemType_monthDay: SetMonthDay(C::monthDayFromString(text, rule)); return;
        case ItemType_year: SetYear(C::yearFromString(text, rule)); return;
        case ItemType_month: SetMonth(C::monthFromString(text, rule)); return;
        case ItemType_day: SetDay(C::dayFromString(text, rule)); return;
        case ItemType_date: SetDate(C::dateFromString(text, rule)); return;
        case ItemType_datetime: SetDateTime(C::datetimeFromString(text, rule)); return;
        case ItemType_time: SetTime(C::timeFromString(text, rule)); return;
        case ItemType_char: SetChar(C::charFromString(text, rule)); return;
        case ItemType_string:
            // Copied into the variant's own or spare string when the rule leaves it as it is.
            if (CWhitespaceUtils::MayChange(rule, text))
                SetString(C::stringFromString(text, rule));
            else
                SetString(text);
            return;
        case ItemType_boolean: SetBoolean(C::booleanFromString(text, rule)); return;
        case ItemType_decimal: SetDecimal(C::decimalFromString(text, rule)); return;
        case ItemType_integer: SetInteger(C::integerFromString(text, rule)); return;
        default: ThrowNoTextForm(type);
    }
}

}  // namespace QxXmlLib10

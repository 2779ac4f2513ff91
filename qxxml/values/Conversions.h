// Conversions.h - the XML lexical form of every primitive value kind, both ways.
//
// Every place that writes or reads a primitive value goes through CConversions, so these
// functions alone fix the texts the library emits and accepts. Reading applies a
// white-space rule first; every later step (and every message) sees the text after it.
//
//   using W = CWhitespaceUtils;
//   int32_t n = CConversions::i4FromString(L" 42 ", W::WhitespaceRule_Collapse);   // 42
//   std::wstring t = CConversions::r8ToString(1.0 / 3);       // "0.3333333333333333"
//   std::wstring e = CConversions::r4ToString(1e20f);         // "1e+020"
//   CConversions::r8AppendTo(buffer, 9.3);                   // buffer += "9.300000000000001"
//   CDateTime d = CConversions::dateFromString(L"2024-05-06Z", W::WhitespaceRule_Collapse);
//   bool b = CConversions::booleanFromString(L"TRUE", W::WhitespaceRule_None);  // true
//
// Failures raise CQxInvalidValueException with the kind's message ("The value [x] can not
// be converted to a i4", ...); the value classes' own parse failures pass through unchanged.
// Numbers are always read and written in the "C" locale.
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/values/BigInteger.h>
#include <qxxml/values/BinaryData.h>
#include <qxxml/values/DateTime.h>
#include <qxxml/values/DateTimeSpan.h>
#include <qxxml/values/Decimal.h>
#include <qxxml/values/WhitespaceUtils.h>

#include <cstdint>
#include <string>

namespace QxXmlLib10 {

class QXXML_API CConversions {
public:
    using WhitespaceRule = CWhitespaceUtils::WhitespaceRule;

    static std::wstring hexBinaryToString(const CBinaryData& value);
    static CBinaryData hexBinaryFromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring base64BinaryToString(const CBinaryData& value);
    static CBinaryData base64BinaryFromString(const std::wstring& text, WhitespaceRule rule);

    static std::wstring i1ToString(char value);
    static char i1FromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring i2ToString(short value);
    static short i2FromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring i4ToString(int32_t value);
    static int32_t i4FromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring i8ToString(long long value);
    static long long i8FromString(const std::wstring& text, WhitespaceRule rule);

    static std::wstring ui1ToString(unsigned char value);
    static unsigned char ui1FromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring ui2ToString(unsigned short value);
    static unsigned short ui2FromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring ui4ToString(uint32_t value);
    static uint32_t ui4FromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring ui8ToString(unsigned long long value);
    static unsigned long long ui8FromString(const std::wstring& text, WhitespaceRule rule);
    // The decimal text of any signed or unsigned integer kind appended to `out` (the text
    // of i1ToString ... ui8ToString), for writers that reuse one buffer.
    static void i8AppendTo(std::wstring& out, long long value);
    static void ui8AppendTo(std::wstring& out, unsigned long long value);

    // "NaN", "INF", "-INF" for the non-finite values, else printf with the format ("%.7g"
    // for r4 and "%.16g" for r8 when it is empty), exponents written with three digits.
    // A format must hold at most one floating-point conversion (CQxInvalidParamException
    // otherwise); the text keeps at most 31 (r4) or 47 (r8) characters.
    static std::wstring r4ToString(float value);
    static std::wstring r4ToString(float value, const std::wstring& format);
    static float r4FromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring r8ToString(double value);
    static std::wstring r8ToString(double value, const std::wstring& format);
    // r4ToString(value) / r8ToString(value) appended to `out`, for writers that reuse one
    // buffer: no string of their own is allocated.
    static void r4AppendTo(std::wstring& out, float value);
    static void r8AppendTo(std::wstring& out, double value);
    static double r8FromString(const std::wstring& text, WhitespaceRule rule);
    // The value of a number as r8FromString reads it (optional sign, digits with an optional
    // point, optional exponent), for readers that hold the text in a buffer of their own;
    // false for any other text (white space around it, "INF", an error to report), which
    // r8FromString then reads or refuses.
    static bool r8FromNumberText(const wchar_t* text, size_t length, double& value);
    // The same for r4FromString's reading (the number narrowed, infinite beyond the float range).
    static bool r4FromNumberText(const wchar_t* text, size_t length, float& value);

    static std::wstring durationToString(const CDateTimeSpan& value);
    static CDateTimeSpan durationFromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring yearMonthToString(const CDateTime& value);
    static CDateTime yearMonthFromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring monthDayToString(const CDateTime& value);
    static CDateTime monthDayFromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring dateToString(const CDateTime& value);
    static CDateTime dateFromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring datetimeToString(const CDateTime& value);
    static CDateTime datetimeFromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring timeToString(const CDateTime& value);
    static CDateTime timeFromString(const std::wstring& text, WhitespaceRule rule);

    static std::wstring yearToString(unsigned short value);     // "2024", "5"
    static unsigned short yearFromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring monthToString(unsigned char value);     // "--05"
    static unsigned char monthFromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring dayToString(unsigned char value);       // "---07"
    static unsigned char dayFromString(const std::wstring& text, WhitespaceRule rule);

    static std::wstring charToString(wchar_t value);
    static wchar_t charFromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring stringToString(const std::wstring& value);
    static std::wstring stringFromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring booleanToString(bool value);
    static bool booleanFromString(const std::wstring& text, WhitespaceRule rule);

    // With a non-empty format, its leading decimal integer is the number of fraction digits.
    static std::wstring decimalToString(const CDecimal& value);
    static std::wstring decimalToString(const CDecimal& value, const std::wstring& format);
    static CDecimal decimalFromString(const std::wstring& text, WhitespaceRule rule);
    static std::wstring integerToString(const CBigInteger& value);
    static CBigInteger integerFromString(const std::wstring& text, WhitespaceRule rule);

    CConversions() = delete;
};

}  // namespace QxXmlLib10

// PrimitiveValueCheck.h - the checks of a primitive property value against the facets of its
// schema type, made before the value is written.
//
// Element and attribute descriptors call the entry check with the variant they are about to
// write; typed collections call the check of their kind for each item. A broken facet throws
// CQxException with "Invalid Value for <name> [<value>]":
//
//   CPrimitiveRestrictions percent(nullptr, -1, -1, L"0", L"100", nullptr, nullptr, -1);
//   QxVariant value;
//   value.SetI4(101);
//   CheckPrimitiveValue(L"discount", value, ItemType_i4, percent);
//   // throws CQxException "Invalid Value for discount [101]"
//
//   CPrimitiveRestrictions sku(L"[A-Z]{2}-\\d+", -1, 8, nullptr, nullptr, nullptr, nullptr, -1);
//   CheckStringValue(L"sku", L"AB-12", sku);   // passes: at most 8 characters, matches
//
// Which facets each kind honours:
//   hexBinary, base64Binary   minimum length, maximum length, length (bytes)
//   string                    minimum length, maximum length, length (characters), pattern
//   numbers, year/month/day,  minInclusive, maxInclusive, minExclusive, maxExclusive, in that
//   decimal, integer,         order; each bound text is read as the kind itself (after
//   durations, dates, times   collapsing white space). Dates and durations compare with the
//                             XSD partial order: an indeterminate comparison fails no bound.
//   boolean                   none
// Floating-point values must compare as required: NaN satisfies no bound that is set.
//
// Each bound text is converted once per thread and then taken from a small cache; patterns
// are compiled once per process by the pattern matcher.
#pragma once

#include <qxxml/support/Export.h>
#include <qxxml/values/ItemType.h>

#include <cstdint>
#include <string>

namespace QxXmlLib10 {

struct QxVariant;
class CPrimitiveRestrictions;
class CBinaryData;
class CDateTime;
class CDateTimeSpan;
class CDecimal;
class CBigInteger;

// Takes the value of kind `itemType` out of the variant (its getter's precondition applies)
// and runs that kind's check. A kind without a check (invalid, char, the object kinds)
// throws CQxInvalidValueException "unknown type [<the variant's type name>]".
QXXML_API void CheckPrimitiveValue(const wchar_t* name, const QxVariant& value, ItemType itemType,
                                   const CPrimitiveRestrictions& restrictions);

// --- one check per kind
QXXML_API void CheckHexBinaryValue(const wchar_t* name, const CBinaryData& value,
                                   const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckBase64BinaryValue(const wchar_t* name, const CBinaryData& value,
                                      const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckI1Value(const wchar_t* name, char value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckI2Value(const wchar_t* name, int16_t value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckI4Value(const wchar_t* name, int32_t value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckI8Value(const wchar_t* name, int64_t value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckUI1Value(const wchar_t* name, unsigned char value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckUI2Value(const wchar_t* name, uint16_t value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckUI4Value(const wchar_t* name, uint32_t value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckUI8Value(const wchar_t* name, uint64_t value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckR4Value(const wchar_t* name, float value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckR8Value(const wchar_t* name, double value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckDurationValue(const wchar_t* name, const CDateTimeSpan& value,
                                  const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckYearMonthValue(const wchar_t* name, const CDateTime& value,
                                   const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckMonthDayValue(const wchar_t* name, const CDateTime& value,
                                  const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckYearValue(const wchar_t* name, uint16_t value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckMonthValue(const wchar_t* name, unsigned char value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckDayValue(const wchar_t* name, unsigned char value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckDateValue(const wchar_t* name, const CDateTime& value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckDateTimeValue(const wchar_t* name, const CDateTime& value,
                                  const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckTimeValue(const wchar_t* name, const CDateTime& value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckStringValue(const wchar_t* name, const std::wstring& value,
                                const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckBooleanValue(const wchar_t* name, bool value, const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckDecimalValue(const wchar_t* name, const CDecimal& value,
                                 const CPrimitiveRestrictions& restrictions);
QXXML_API void CheckIntegerValue(const wchar_t* name, const CBigInteger& value,
                                 const CPrimitiveRestrictions& restrictions);

}  // namespace QxXmlLib10

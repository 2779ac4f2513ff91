// ItemType.h - ItemType, the kind of a primitive property value, shared by the whole library.
//
// Descriptors, typed collections, writers and QxVariant all say which primitive kind they
// carry with an ItemType. The numeric values travel through generated code (descriptor and
// collection constructors), so they never change:
//
//   QxVariant value;
//   value.FromString(L"42", ItemType_i4, CWhitespaceUtils::WhitespaceRule_Collapse);
//   writer->AddAttribute(L"count", L"", value.ToString(nullptr), ItemType_i4);
//
//   const wchar_t* name = ItemTypeName(ItemType_datetime);   // L"datetime"
#pragma once

namespace QxXmlLib10 {

enum ItemType {
    ItemType_invalid = 0,
    ItemType_hexBinary = 1,
    ItemType_base64Binary = 2,
    ItemType_i1 = 3,
    ItemType_i2 = 4,
    ItemType_i4 = 5,
    ItemType_i8 = 6,
    ItemType_ui1 = 7,
    ItemType_ui2 = 8,
    ItemType_ui4 = 9,
    ItemType_ui8 = 10,
    ItemType_r4 = 11,
    ItemType_r8 = 12,
    ItemType_duration = 13,
    ItemType_yearMonth = 14,
    ItemType_monthDay = 15,
    ItemType_year = 16,
    ItemType_month = 17,
    ItemType_day = 18,
    ItemType_date = 19,
    ItemType_datetime = 20,
    ItemType_time = 21,
    ItemType_char = 22,
    ItemType_string = 23,
    ItemType_boolean = 24,
    ItemType_decimal = 25,
    ItemType_integer = 26,
    ItemType_XmlObjectBase = 27,
    ItemType_XmlCollection = 28,
};

// The type name of a primitive kind (ItemType_hexBinary .. ItemType_integer), as
// QxVariant::GetType reports it; null for ItemType_invalid, the two object kinds and any
// value outside the enumeration.
inline const wchar_t* ItemTypeName(int type) noexcept {
    static const wchar_t* const names[] = {
        nullptr,     L"hexBinary", L"base64Binary", L"i1",       L"i2",    L"i4",
        L"i8",       L"ui1",       L"ui2",          L"ui4",      L"ui8",   L"r4",
        L"r8",       L"duration",  L"yearMonth",    L"monthDay", L"year",  L"month",
        L"day",      L"date",      L"datetime",     L"time",     L"char",  L"string",
        L"boolean",  L"decimal",   L"integer",
    };
    return type >= 0 && type <= ItemType_integer ? names[type] : nullptr;
}

}  // namespace QxXmlLib10

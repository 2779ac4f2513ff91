// PrimitiveRestrictions.h - CPrimitiveRestrictions, the facets of one primitive schema type.
//
// Generated code builds one record per restricted type and hands it to the descriptor or
// collection of each property of that type; the value checks read the fields directly:
//
//   // <xs:restriction base="xs:string"><xs:minLength value="2"/>
//   //   <xs:pattern value="[A-Z]{2}\d*"/></xs:restriction>
//   CPrimitiveRestrictions code(L"[A-Z]{2}\\d*", 2, -1, L"", L"", L"", L"", -1);
//
//   // <xs:restriction base="xs:int"><xs:minInclusive value="1"/></xs:restriction>
//   CPrimitiveRestrictions positive(nullptr, -1, -1, L"1", nullptr, nullptr, nullptr, -1);
//
// A facet that is not set is an empty string (the pattern and the four bounds, each in the
// lexical form of the restricted type) or -1 (the three lengths). A null pointer given to
// the constructor is read as the empty string.
#pragma once

#include <qxxml/support/Export.h>

#include <string>

namespace QxXmlLib10 {

class QXXML_API CPrimitiveRestrictions {
public:
    CPrimitiveRestrictions();
    CPrimitiveRestrictions(const wchar_t* pattern, int minLength, int maxLength, const wchar_t* minInclusive,
                           const wchar_t* maxInclusive, const wchar_t* minExclusive, const wchar_t* maxExclusive,
                           int length);
    CPrimitiveRestrictions(const CPrimitiveRestrictions& other);
    CPrimitiveRestrictions& operator=(const CPrimitiveRestrictions& other);
    virtual ~CPrimitiveRestrictions();

    std::wstring m_strPattern;       // XSD regular expression
    int m_nMinLength;                // -1: not set
    int m_nMaxLength;                // -1: not set
    std::wstring m_strMinInclusive;
    std::wstring m_strMaxInclusive;
    std::wstring m_strMinExclusive;
    std::wstring m_strMaxExclusive;
    int m_nLength;                   // exact length, -1: not set
};

}  // namespace QxXmlLib10

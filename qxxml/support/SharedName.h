// SharedName.h - element names as immutable strings shared by the objects that carry them.
//
// Every object of a binding carries its element name, and a document of 45 000 items makes
// 45 000 objects named "item": one heap string each would cost a heap call to make and one to
// free, per object. MakeSharedName hands out one shared string per name instead: each thread
// remembers the names it made last, by the address and the text they were made from, so the
// same literal (or the same interned name of a parsed tree) gives the same string.
//
//   SharedName name = MakeSharedName(L"item");     // null reads as the empty name
//   const std::wstring& text = *name;
#pragma once

#include <qxxml/support/Export.h>

#include <memory>
#include <string>

namespace QxXmlLib10 {

using SharedName = std::shared_ptr<const std::wstring>;

QXXML_API SharedName MakeSharedName(const wchar_t* text);

// A shared name that reads like the string it holds, for members that generated code uses
// as one (`m_strNamespace.c_str()`, or passed where a const std::wstring& is taken).
class CSharedName {
public:
    CSharedName() : m_name(MakeSharedName(nullptr)) {}
    CSharedName(const wchar_t* text) : m_name(MakeSharedName(text)) {}  // NOLINT: reads as a string
    CSharedName(const std::wstring& text) : m_name(MakeSharedName(text.c_str())) {}  // NOLINT: as above

    operator const std::wstring&() const { return *m_name; }  // NOLINT: reads as a string
    const std::wstring& str() const { return *m_name; }
    const SharedName& shared() const { return m_name; }
    const wchar_t* c_str() const { return m_name->c_str(); }
    bool empty() const { return m_name->empty(); }

private:
    SharedName m_name;  // never null
};

}  // namespace QxXmlLib10

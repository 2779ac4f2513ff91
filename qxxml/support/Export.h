// Export.h - the one macro that marks qxxml's public interface.
//
// The library is built with hidden symbols by default; every class and function users may
// call carries QXXML_API:
//
//   class QXXML_API CXmlDocument { ... };
//   QXXML_API std::wstring FormatString(const wchar_t* format, ...);
//
// Internal helpers simply leave the macro off and stay invisible outside libqxxml.
//
// Class templates whose instantiations the library builds once for everybody say so with
//
//   QXXML_EXTERN_TEMPLATE(CXmlValueCollection<int32_t>)
//
// MinGW's GCC does not export the inline members of such an instantiation from the DLL, so
// there a user's program instantiates the inline members itself (the declaration is left
// out) and imports the others.
#pragma once

#if defined(_WIN32)
#  if defined(QXXML_BUILDING)
#    define QXXML_API __declspec(dllexport)
#  else
#    define QXXML_API __declspec(dllimport)
#  endif
#else
#  define QXXML_API __attribute__((visibility("default")))
#endif

#if defined(_WIN32) && defined(__GNUC__) && !defined(QXXML_BUILDING)
#  define QXXML_EXTERN_TEMPLATE(...)
#else
#  define QXXML_EXTERN_TEMPLATE(...) extern template class QXXML_API __VA_ARGS__;
#endif

// Export.h - the one macro that marks qxxml's public interface.
//
// The library is built with hidden symbols by default; every class and function users may
// call carries QXXML_API:
//
//   class QXXML_API CXmlDocument { ... };
//   QXXML_API std::wstring FormatString(const wchar_t* format, ...);
//
// Internal helpers simply leave the macro off and stay invisible outside libqxxml.
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

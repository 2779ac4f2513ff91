// Placeholder: the POSIX implementation of the operating-system layer.
#include <qxxml/platform/Platform.h>
#include <cstdio>
namespace QxXmlLib10 { namespace Platform {
void DebugOutput(const wchar_t* text) {
#ifndef NDEBUG
    std::fprintf(stderr, "%ls", text);
#else
    (void)text;
#endif
}
}}

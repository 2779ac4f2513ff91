# Cross-building qxxml for Windows x64 on Debian with MinGW-w64 (g++-mingw-w64-x86-64-posix),
# and running the Windows programs under Wine so that ctest runs the Windows test suite.
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
#         -DQXXML_WIN_DEPS=<prefix of the cross-built expat, PCRE2 and GoogleTest>
#
# tools/windows/build-and-test.sh builds those dependencies from Debian's sources and drives
# the whole thing. Wine runs with a private prefix inside the build tree (<build>/wineprefix),
# so it never touches the user's ~/.wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QXXML_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QXXML_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QXXML_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${QXXML_MINGW}-windres)

# The dependency prefix reaches the try_compile projects too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QXXML_WIN_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/${QXXML_MINGW})
if(QXXML_WIN_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${QXXML_WIN_DEPS})
  # pkg-config (PCRE2) must see the Windows libraries only, never the build machine's.
  set(ENV{PKG_CONFIG_LIBDIR} ${QXXML_WIN_DEPS}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# zlib comes from libz-mingw-w64-dev, linked in statically like the other dependencies.
set(ZLIB_USE_STATIC_LIBS ON)

# The compiler's own runtime DLLs (libstdc++, libgcc, winpthread) are found on the Wine
# path rather than copied next to every program.
set(QXXML_MINGW_RUNTIME_DIRS /usr/lib/gcc/${QXXML_MINGW}/12-posix /usr/${QXXML_MINGW}/lib)
string(REPLACE ";" ":" QXXML_WINE_DLL_PATH "${QXXML_MINGW_RUNTIME_DIRS}")
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/../../tools/windows/wine-run.sh
    ${CMAKE_BINARY_DIR}/wineprefix
    "${CMAKE_BINARY_DIR}:${QXXML_WINE_DLL_PATH}")

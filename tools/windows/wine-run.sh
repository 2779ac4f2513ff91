#!/bin/sh
# Runs a Windows program under Wine: the emulator ctest uses for the cross-built tests.
#
#   wine-run.sh <wine prefix> <dll folders, colon-separated> <program.exe> [arguments...]
#
# The prefix is private to the build tree and created on first use; the DLL folders (the
# library's own, the compiler runtime's) go on the Wine search path. Wine's debug channels
# are silenced so that test output is the programs' own.
set -eu
prefix=$1
dll_dirs=$2
shift 2
winepath=
old_ifs=$IFS
IFS=:
for dir in $dll_dirs; do
    winepath="${winepath:+$winepath;}Z:$(printf '%s' "$dir" | tr / '\\')"
done
IFS=$old_ifs
# No Mono or Gecko installers: nothing here needs .NET or HTML rendering.
WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPATH=$winepath \
    exec "${QXXML_WINE:-/usr/lib/wine/wine64}" "$@"

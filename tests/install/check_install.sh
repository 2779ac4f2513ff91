#!/usr/bin/env bash
# Installs the build tree into an empty prefix, then builds and runs a small program against
# it twice: once with find_package(qxxml), once with pkg-config; then a program whose classes
# are generated from a schema at build time.
# usage: check_install.sh <build-dir> <work-dir> [extra compile/link flags]
set -euo pipefail
build=$1 work=$2 flags=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work" && mkdir -p "$work"
cmake --install "$build" --prefix "$work/prefix" >/dev/null

cmake -S "$here/consumer" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$work/prefix" \
      -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
LD_LIBRARY_PATH="$work/prefix/lib:${LD_LIBRARY_PATH:-}" "$work/cmake-build/consumer"

libdir=$(find "$work/prefix" -name qxxml.pc -printf '%h\n' | head -1)
export PKG_CONFIG_PATH="$libdir"
# shellcheck disable=SC2046
c++ $flags "$here/consumer/main.cpp" -o "$work/pc-consumer" $(pkg-config --cflags --libs qxxml)
LD_LIBRARY_PATH="$(pkg-config --variable=libdir qxxml):${LD_LIBRARY_PATH:-}" "$work/pc-consumer"

# The installed tool starts from the prefix without help (its run path finds the library), and
# a program built from a schema with qxxml_add_binding works.
env -u LD_LIBRARY_PATH "$work/prefix/bin/qxxml" version >/dev/null
cmake -S "$here/binding" -B "$work/binding-build" -DCMAKE_PREFIX_PATH="$work/prefix" \
      -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$work/binding-build" >/dev/null
LD_LIBRARY_PATH="$work/prefix/lib:${LD_LIBRARY_PATH:-}" "$work/binding-build/orders" | grep -q 'status="shipped"'

# Private headers stay private.
if [ -e "$work/prefix/include/qxxml/platform/Platform.h" ]; then
  echo "private header installed: platform/Platform.h" >&2
  exit 1
fi

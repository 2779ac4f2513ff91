#!/usr/bin/env bash
# Line and branch coverage of qxxml/ by the whole test suite (gcov through gcovr).
#
# Usage: tools/quality/coverage.sh [build dir]      (default: build-cov in the repository root)
#
# Builds the tree with --coverage at -O0 and without sanitizers, clears the counters, runs ctest,
# and prints the two percentages over the library's sources (qxxml/, Linux back ends only).
# Branches are counted without the ones the compiler adds for exceptions thrown by calls.
# A detailed per-file table is left in <build dir>/coverage.txt. Needs Debian's gcovr.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build-cov}
jobs=${QXXML_JOBS:-2}
# gcov needs the absolute source paths in its notes: no ccache path rewriting for this build,
# whatever the local ccache configuration says.
export CCACHE_BASEDIR= CCACHE_HASHDIR=true

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="--coverage -O0" \
  -DCMAKE_C_FLAGS="--coverage -O0" -DCMAKE_EXE_LINKER_FLAGS=--coverage \
  -DCMAKE_SHARED_LINKER_FLAGS=--coverage -DQXXML_BUILD_BENCH=OFF -DQXXML_SANITIZE=OFF >/dev/null
cmake --build "$build" -j"$jobs" >/dev/null
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" -j"$jobs" --output-on-failure >"$build/ctest.log" 2>&1 ||
  { tail -30 "$build/ctest.log"; echo "the suite fails: coverage not measured" >&2; exit 1; }

# Only the library's own objects, so that each source is counted once.
gcovr --root "$root" --object-directory "$build/CMakeFiles/qxxml.dir" \
  --filter "$root/qxxml/" --exclude "$root/qxxml/platform/win32/" \
  --exclude-throw-branches --exclude-unreachable-branches --gcov-ignore-parse-errors -j"$jobs" \
  --print-summary --txt "$build/coverage.txt" 2>/dev/null | grep -E '^(lines|branches):'

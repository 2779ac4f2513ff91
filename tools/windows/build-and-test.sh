#!/usr/bin/env bash
# Cross-builds qxxml for Windows x64 with MinGW-w64 and runs its whole test suite under Wine.
#
#   tools/windows/build-and-test.sh [build folder]        (default: build-win)
#
# 1. Installs the Debian packages it needs when they are missing (MinGW-w64, Wine, the
#    MinGW build of zlib, GoogleTest's sources, and what the Linux build needs).
# 2. Builds expat and PCRE2 from their Debian source packages (enabling source package lists
#    in the existing apt sources when they are off) and GoogleTest from /usr/src/googletest,
#    as static Windows libraries in <build>/deps. They are built once; later runs reuse them.
# 3. A Linux build runs the tests first, recording the answers of their oracles (python3,
#    xmllint, Java's Fast Infoset), which Wine cannot run: QXXML_LINUX_BUILD names a Linux build folder whose
#    tests have already run (CI passes its sanitizer build); otherwise a release build is
#    made and tested in <build>/linux.
# 4. Configures and builds the library DLL, its tests and the tool with warnings as errors
#    (the Linux build's qxxml generates the tests' bindings), then runs ctest: every test program runs under Wine with a prefix private to the build,
#    replaying the recorded oracle answers. The tests that were skipped are counted and each
#    is listed with its reason.
# 5. Checks that the Windows build writes the same bytes as the Linux build, that each
#    reads the other's files, and that both generate the same bindings (byte-identity.sh).
set -euo pipefail

top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${1:-$top/build-win}")
deps=$build/deps
prefix=$deps/prefix
toolchain=$top/cmake/toolchains/mingw-w64-x86_64.cmake
sudo=$(command -v sudo || true)
jobs=${QXXML_JOBS:-2}

# ------------------------------------------------------------------ packages
packages="cmake dpkg-dev g++-mingw-w64-x86-64-posix wine64 libz-mingw-w64-dev googletest
          build-essential pkg-config python3 libxml2-utils libxml2-dev libexpat1-dev libpcre2-dev zlib1g-dev
          liburing-dev libgtest-dev default-jre-headless libfastinfoset-java"
missing=
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing="$missing $package"
done
if [ -n "$missing" ]; then
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi

# ------------------------------------------------------------------ dependencies
# Source package lists: turned on in the sources files that already name the archive.
enable_source_lists() {
    local changed=0 file
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        if grep -q '^Types: *deb *$' "$file"; then
            $sudo sed -i 's/^Types: *deb *$/Types: deb deb-src/' "$file"
            changed=1
        fi
    done
    file=/etc/apt/sources.list
    if [ -f "$file" ] && grep -q '^deb ' "$file" && ! grep -q '^deb-src ' "$file"; then
        sed -n 's/^deb /deb-src /p' "$file" | $sudo tee -a "$file" >/dev/null
        changed=1
    fi
    if [ "$changed" = 1 ] || ! apt-cache showsrc expat >/dev/null 2>&1; then
        $sudo apt-get update -qq
    fi
}

# Unpacks a Debian source package into the current folder: the newest version the archive
# still serves (a mirror may list security updates it does not carry).
fetch_source() {
    local package=$1 version
    for version in $(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -Vru); do
        if apt-get source -qq "$package=$version" >/dev/null 2>&1; then
            echo "$package $version" >> versions.txt
            return 0
        fi
    done
    echo "cannot fetch the Debian source package $package" >&2
    return 1
}

cross_cmake() {  # source folder, build folder, options...
    local source=$1 binary=$2
    shift 2
    cmake -S "$source" -B "$binary" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" >/dev/null
    cmake --build "$binary" -j"$jobs" >/dev/null
    cmake --install "$binary" >/dev/null
}

build_dependencies() {
    rm -rf "$deps"
    mkdir -p "$deps/src"
    enable_source_lists
    (cd "$deps/src" && fetch_source expat && fetch_source pcre2)
    # Debian's security patches test "#if XML_DTD == 1", as the autotools configuration
    # defines it; the CMake template defines it empty. Give it the same value.
    sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/' "$deps"/src/expat-*/expat/expat_config.h.cmake
    cross_cmake "$(echo "$deps"/src/expat-*/expat)" "$deps/build/expat" -DEXPAT_SHARED_LIBS=OFF \
        -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF
    cross_cmake "$(echo "$deps"/src/pcre2-*/)" "$deps/build/pcre2" -DPCRE2_BUILD_PCRE2_8=ON \
        -DPCRE2_SUPPORT_UNICODE=ON -DPCRE2_BUILD_PCRE2GREP=OFF -DPCRE2_BUILD_TESTS=OFF
    cross_cmake /usr/src/googletest "$deps/build/googletest" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
    cp "$deps/src/versions.txt" "$prefix/versions.txt"
}

if [ ! -f "$prefix/versions.txt" ]; then
    echo "-- building expat, PCRE2 and GoogleTest for Windows in $deps"
    build_dependencies
fi

# ------------------------------------------------------------------ Linux: the oracles' answers
linux_build=${QXXML_LINUX_BUILD:-$build/linux}
if [ -z "${QXXML_LINUX_BUILD:-}" ]; then
    echo "-- Linux build and tests in $linux_build, recording the oracles' answers"
    cmake -S "$top" -B "$linux_build" -DCMAKE_BUILD_TYPE=Release -DQXXML_WERROR=ON -DQXXML_BUILD_BENCH=OFF >/dev/null
    cmake --build "$linux_build" -j"$jobs" >/dev/null
    if ! ctest --test-dir "$linux_build" -j"$jobs" --output-on-failure >"$linux_build/ctest.log" 2>&1; then
        tail -n 60 "$linux_build/ctest.log" >&2
        exit 1
    fi
fi
linux_build=$(realpath "$linux_build")

# ------------------------------------------------------------------ library and tests
cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQXXML_WIN_DEPS="$prefix" \
    -DCMAKE_BUILD_TYPE=Debug -DQXXML_WERROR=ON -DQXXML_BUILD_BENCH=OFF \
    -DQXXML_ORACLE_ANSWERS="$linux_build/oracle-answers" -DQXXML_GENERATOR="$linux_build/tools/qxxml"
cmake --build "$build" -j"$jobs"

# One Wine server for the whole run (each program would otherwise start and stop its own),
# and the prefix made before two tests race to make it.
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine_dir=${QXXML_WINE_DIR:-/usr/lib/wine}
mkdir -p "$WINEPREFIX"
"$wine_dir/wineserver" -p || true  # refused when a server for the prefix runs already
"$wine_dir/wine64" wineboot --init >/dev/null 2>&1 || true
trap '"$wine_dir/wineserver" -k 2>/dev/null || true' EXIT
# Under load Wine now and then fails to start a program at all (no output, at once): a
# test gets up to three runs, so a real failure still fails.
ctest --test-dir "$build" --output-on-failure -j"$jobs" --repeat until-pass:3
tools_dir=$top/tools/windows
"$tools_dir/skip-report.sh" "$build/Testing/Temporary/LastTest.log"

# ------------------------------------------------------------------ byte identity with Linux
"$tools_dir/byte-identity.sh" "$linux_build" "$build"

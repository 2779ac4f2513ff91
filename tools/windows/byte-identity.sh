#!/usr/bin/env bash
# Checks that the Windows and the Linux builds write the same bytes and read each other's files.
#
#   tools/windows/byte-identity.sh <Linux build folder> <Windows build folder>
#
# gen.py makes a purchase order with text outside ASCII; each build's `qxxml po-write` reads
# it and writes it in every encoding, line end and compression (the Windows one with
# overlapped file transfers on). Every file must be byte-identical between the builds. Then
# each build reads the other's files (a UTF-16 gzip file and a UTF-8 zlib stream) and
# writes them all again, which must give the bytes the Linux build writes from the same file
# (a second round need not repeat the first: the open content's namespaces move). Last, the Windows build's
# `qxxml generate` must make the very files the Linux build's made for the tests' bindings.
set -euo pipefail

top=$(cd "$(dirname "$0")/../.." && pwd)
linux_build=$(realpath "$1")
windows_build=$(realpath "$2")
work=$windows_build/byte-identity
linux_tool=$linux_build/tools/qxxml
windows_tool=$windows_build/tools/qxxml.exe
mingw=x86_64-w64-mingw32
wine_run() {
    "$top/tools/windows/wine-run.sh" "$windows_build/wineprefix" \
        "$windows_build:/usr/lib/gcc/$mingw/12-posix:/usr/$mingw/lib" "$windows_tool" "$@"
}

rm -rf "$work"
mkdir -p "$work/linux" "$work/windows" "$work/linux-from-windows" "$work/windows-from-linux" \
    "$work/linux-from-gz" "$work/linux-from-zlib"
cd "$work"

# The tools' own output (debug builds report their live instances) goes to a log, shown
# when a tool fails.
logged() {
    if ! "$@" >>tools.log 2>&1; then
        cat tools.log >&2
        echo "byte identity: failed: $*" >&2
        exit 1
    fi
}
linux_run() { ASAN_OPTIONS=detect_leaks=0 "$linux_tool" "$@"; }
logged python3 "$top/examples/purchase_order/gen.py" po.xml 150000 7
logged linux_run po-write po.xml linux
logged wine_run po-write --async po.xml windows
logged linux_run po-write windows/po-utf16-crlf.xml.gz linux-from-windows
logged wine_run po-write linux/po-utf8-lf.xml.zlib windows-from-linux
logged linux_run po-write linux/po-utf16-crlf.xml.gz linux-from-gz
logged linux_run po-write linux/po-utf8-lf.xml.zlib linux-from-zlib

checked=0
failed=0
for file in linux/*; do
    name=${file#linux/}
    for pair in linux:windows linux-from-gz:linux-from-windows linux-from-zlib:windows-from-linux; do
        reference=${pair%%:*}
        other=${pair#*:}
        checked=$((checked + 1))
        if ! cmp -s "$reference/$name" "$other/$name"; then
            echo "byte identity: $other/$name differs from $reference/$name" >&2
            failed=$((failed + 1))
        fi
    done
done
if [ "$checked" -lt 54 ]; then
    echo "byte identity: only $checked comparisons made" >&2
    exit 1
fi
if [ "$failed" -ne 0 ]; then
    echo "byte identity: $failed of $checked files differ" >&2
    exit 1
fi
echo "byte identity: $checked files of the Windows build identical to the Linux build's, each build reading the other's"

# The Windows build's tests use bindings the Linux qxxml generated (QXXML_GENERATOR): the
# Windows qxxml generates some of them again, from the schemas in the order the build gave.
generated=0
for binding in imports po choice nillable; do
    schemas=$(LC_ALL=C ls "$top/tests/generator/data/$binding"/*.xsd)
    # shellcheck disable=SC2086  # one word per schema
    logged wine_run generate $schemas --namespace "gen_$binding" --out "generated/$binding"
    for file in "$windows_build/tests/generator/qxxml_gen_$binding"/*; do
        [ -f "$file" ] || continue
        case $file in *.h | *.cpp) ;; *) continue ;; esac
        generated=$((generated + 1))
        if ! cmp -s "$file" "generated/$binding/${file##*/}"; then
            echo "byte identity: qxxml.exe generate differs on ${file##*/} of the $binding case" >&2
            exit 1
        fi
    done
done
if [ "$generated" -lt 20 ]; then
    echo "byte identity: only $generated generated files compared" >&2
    exit 1
fi
echo "byte identity: $generated generated files of qxxml.exe generate identical to the Linux generator's"

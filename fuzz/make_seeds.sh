#!/usr/bin/env bash
# Makes the fuzz targets' seed corpus in fuzz/seeds: small real documents of both encodings.
#
#   fuzz/make_seeds.sh <build folder with tools/qxxml>
#
# - purchase orders of gen.py (three sizes, three seeds, one without the open content) and the
#   generator tests' valid one, as XML text;
# - each of them as Fast Infoset twice: through the generic tree (qxxml xml2fi) and through
#   the sample binding (qxxml po-fastinfoset), one with binary values;
# - documents encoded by Java's Fast Infoset serializer (libfastinfoset-java): two purchase
#   orders, a hand-made document with comments, processing instructions, CDATA, default
#   namespaces and characters beyond the BMP (also with small indexing limits), and one of
#   typed content (every encoding algorithm);
# - two gzip-compressed ones.
# fastinfoset_fuzzer takes the *.fi files, binding_fuzzer all of them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
qxxml=$(realpath "$1")/tools/qxxml
out=$top/fuzz/seeds
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$out"
mkdir -p "$out"
gen=$top/examples/purchase_order/gen.py
for size in 500 1200 2500; do
    for seed in 1 2 3; do python3 "$gen" "$out/po-$size-$seed.xml" $size $seed >/dev/null; done
done
python3 "$gen" "$out/po-noany.xml" 1200 7 --no-any >/dev/null
cp "$top/tests/generator/data/po/valid1.xml" "$out/gen-po-valid1.xml"
for xml in "$out"/*.xml; do
    "$qxxml" xml2fi "$xml" "${xml%.xml}.tree.fi" >/dev/null
    "$qxxml" po-fastinfoset "$xml" "${xml%.xml}.po.fi" >/dev/null
done
"$qxxml" po-fastinfoset "$out/po-1200-1.xml" "$out/po-1200-1.bin.fi" binary >/dev/null

cat > "$out/mixed.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<!-- a comment before the root -->
<?app first instruction?>
<root xmlns="urn:default" xmlns:p="urn:p" a="1" p:b="two">
  <p:child xmlns="">plain <![CDATA[cdata <text> & more]]> tail &#x1F600; 𝄞</p:child>
  <!-- inner comment -->
  <?inner data?>
  <item id="x">value</item><item id="x">value</item>
  <empty/>
  <deep><deeper><deepest p:attr="δ">Größe</deepest></deeper></deep>
</root>
XML
cat > "$work/typed.xml" <<'XML'
<r><a><?fi-ints 1 -2 300000?></a><b><?fi-booleans true false true true true false true true?></b><c><?fi-doubles 1.5 -0.25?></c><d><?fi-bytes 00ff10?></d><e><?fi-hex abcdef?></e><f><?fi-uuids 0123456789abcdef fedcba9876543210?></f><g><?fi-numeric 123-45.6E7?></g><h><?fi-datetime 2024-01-02T03:04:05Z?></h><i><?fi-shorts 7 -8?></i><j><?fi-longs 9 -10?></j><k><?fi-floats 2.5?></k><l><?fi-ints 1 -2 300000?></l></r>
XML
hex() { printf %s "$1" | od -An -v -tx1 | tr -d ' \n'; }
request() { printf 'F\t%s\t%s\t%s\n' "$(hex "$1")" "$(hex "$2")" "$(hex "$3")"; }
{
    request "$out/mixed.xml" "$out/mixed.java.fi" ""
    request "$out/mixed.xml" "$out/mixed.java-small.fi" "chunk=4;attr=2"
    request "$out/po-1200-1.xml" "$out/po-1200-1.java.fi" ""
    request "$out/po-2500-2.xml" "$out/po-2500-2.java.fi" "chunk=8;attr=8"
    request "$work/typed.xml" "$out/typed.java.fi" ""
} | java -cp /usr/share/java/FastInfoset.jar "$top/tests/fastinfoset/fastinfoset_oracle.java" 2>/dev/null |
    grep -v '^OK' && { echo "Java could not encode every seed" >&2; exit 1; }
gzip -9 -n -c "$out/po-500-1.xml" > "$out/po-500-1.xml.gz"
gzip -9 -n -c "$out/po-500-2.po.fi" > "$out/po-500-2.po.fi.gz"
echo "$(ls "$out" | wc -l) seeds in $out"

#!/usr/bin/env python3
"""Compares documents pairwise as XML data, independently of the library.

usage: c14n_compare.py EXPECTED ACTUAL [EXPECTED ACTUAL ...]

Each document is brought to Canonical XML 2.0 (xml.etree's canonicalize: white space
between elements dropped, namespace prefixes rewritten),
so that only names, namespaces, attributes and texts count. Prints one line per pair:
"equal", or "differ: " and the first canonical lines that differ.
"""
import difflib
import sys
import xml.etree.ElementTree as ET

# xsi:type values are qualified names: their prefixes are rewritten with the others.
XSI_TYPE = "{http://www.w3.org/2001/XMLSchema-instance}type"


def canonical(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    return ET.canonicalize(text, strip_text=True, rewrite_prefixes=True, qname_aware_attrs=[XSI_TYPE])


def main():
    args = sys.argv[1:]
    for expected_path, actual_path in zip(args[0::2], args[1::2]):
        try:
            expected, actual = canonical(expected_path), canonical(actual_path)
        except Exception as error:  # an unreadable output is a difference, not a crash
            print("differ: " + str(error).replace("\n", " "))
            continue
        if expected == actual:
            print("equal")
            continue
        lines = lambda text: text.replace("><", ">\n<").splitlines()
        diff = [d for d in difflib.unified_diff(lines(expected), lines(actual), lineterm="", n=0)
                if d[:1] in "+-" and d[:3] not in ("+++", "---")]
        print("differ: " + " | ".join(diff[:6]))
    return 0


if __name__ == "__main__":
    sys.exit(main())

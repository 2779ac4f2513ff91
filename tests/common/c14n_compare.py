#!/usr/bin/env python3
"""Compares documents pairwise as XML data, independently of the library.

usage: c14n_compare.py [--keep-text] [--decimal NAME] [--double NAME] [--base64 NAME] EXPECTED ACTUAL [...]

Each document is brought to Canonical XML 2.0 (xml.etree's canonicalize: white space between
elements dropped unless --keep-text keeps every text as it stands, namespace prefixes
rewritten, also in xsi:type values), so that only names,
namespaces, attributes and texts count. The texts of the elements of a local name given with
--decimal (xs:decimal: the value without trailing zeros), --double (the double the text
denotes) or --base64 (the bytes) are first replaced by a normal form of their value, since a
writer may legitimately change their lexical form. Prints one line per pair: "equal", or
"differ: " and the first canonical lines that differ.
"""
import base64
import difflib
import sys
import xml.etree.ElementTree as ET
from decimal import Decimal

XSI_TYPE = "{http://www.w3.org/2001/XMLSchema-instance}type"
NORMAL_FORMS = {
    "--decimal": lambda text: format(Decimal(text.strip()).normalize(), "f"),
    "--double": lambda text: repr(float(text)),
    "--base64": lambda text: base64.b64encode(base64.b64decode(text or "")).decode("ascii"),
}


def canonical(path, normal_forms, strip_text):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if normal_forms:  # (a round trip through xml.etree, which keeps no prefixes of xsi:type values)
        root = ET.fromstring(text)
        for element in root.iter():
            form = normal_forms.get(element.tag.rsplit("}", 1)[-1])
            if form:
                element.text = form(element.text)
        text = ET.tostring(root, encoding="unicode")
    return ET.canonicalize(text, strip_text=strip_text, rewrite_prefixes=True, qname_aware_attrs=[XSI_TYPE])


def main():
    args, normal_forms = sys.argv[1:], {}
    strip_text = args[:1] != ["--keep-text"]
    args = args[0 if strip_text else 1:]
    while args and args[0] in NORMAL_FORMS:
        normal_forms[args[1]] = NORMAL_FORMS[args[0]]
        args = args[2:]
    for expected_path, actual_path in zip(args[0::2], args[1::2]):
        try:
            expected, actual = (canonical(path, normal_forms, strip_text)
                                for path in (expected_path, actual_path))
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

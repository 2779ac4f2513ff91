#!/usr/bin/env python3
"""Compares two purchase-order documents as XML data, independently of the library.

usage: po_compare.py EXPECTED.xml ACTUAL.xml [--status S] [--comment C]

Both documents are brought to Canonical XML 2.0 (xml.etree canonicalize, white space between
elements dropped, namespace prefixes rewritten) after the values whose lexical form a
writer may legitimately change are replaced by a normal form of their value:
  USPrice (xs:decimal)        the decimal value without trailing zeros
  measurement (xs:double)     the double the text denotes
  blob (xs:base64Binary)      the bytes
Every other text, every attribute and the element structure must be the same.

--status S and --comment C first apply to EXPECTED the change the program under test made
(the order's status attribute, the header's comment).

Exit status 0 when equal; 1 with the first differing lines of the canonical forms.
"""
import base64
import difflib
import sys
import xml.etree.ElementTree as ET
from decimal import Decimal

PO = "{urn:example:po}"


def normal_decimal(text):
    value = Decimal(text.strip()).normalize()
    return format(value, "f")


def normalise(root):
    for e in root.iter(PO + "USPrice"):
        e.text = normal_decimal(e.text)
    for e in root.iter(PO + "measurement"):
        e.text = repr(float(e.text))
    for e in root.iter(PO + "blob"):
        e.text = base64.b64encode(base64.b64decode(e.text or "")).decode("ascii")


def apply_changes(root, status, comment):
    if status is not None:
        root.set("status", status)
    if comment is not None:
        header = root.find(PO + "header")
        element = header.find(PO + "comment")
        if element is None:  # the optional comment goes before the note
            element = ET.Element(PO + "comment")
            header.insert(list(header).index(header.find(PO + "note")), element)
        element.text = comment


def canonical(path, status=None, comment=None):
    root = ET.parse(path).getroot()
    apply_changes(root, status, comment)
    normalise(root)
    return ET.canonicalize(ET.tostring(root, encoding="unicode"), strip_text=True, rewrite_prefixes=True)


def main():
    args = sys.argv[1:]
    options = {"--status": None, "--comment": None}
    for name in options:
        if name in args:
            at = args.index(name)
            options[name] = args[at + 1]
            del args[at:at + 2]
    expected = canonical(args[0], options["--status"], options["--comment"])
    actual = canonical(args[1])
    if expected == actual:
        print("equal")
        return 0
    # One element per line, so that the diff points at the element that differs.
    lines = lambda text: text.replace("><", ">\n<").splitlines()
    diff = list(difflib.unified_diff(lines(expected), lines(actual), "expected", "actual", lineterm="", n=2))
    print("\n".join(diff[:40]))
    return 1


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Reference documents and an independent parser for the typed-collection tests.

make SEED KIND:COUNT...
    For each kind, a line of tab-separated hex texts of UTF-8 bytes: a document whose root holds
    COUNT item elements <p:n xmlns:p="urn:items">, one <p:n> in another namespace and a <stop/>,
    then each item's canonical text. KIND is i4 (numbers surrounded by
    white space) or string (markup characters, quotes, tabs, line feeds, characters beyond the BMP).

parse FILE...
    Parses each UTF-8 file with expat (through ElementTree) and prints a line per file: for each
    child of the root element, "namespace|local:hex(text)", separated by tabs.
"""
import random
import sys
import xml.etree.ElementTree as ElementTree
from xml.sax.saxutils import escape

ALPHABET = ["a", "b", "Z", " ", "&", "<", ">", '"', "'", "\t", "\n", "\u00e9", "\u4e2d", "\U0001F600", "]]>"]


def item(kind, rng):
    """The canonical text of an item and how the document writes it."""
    if kind == "i4":
        text = str(rng.choice([rng.randint(-2**31, 2**31 - 1), rng.randint(-1000, 1000), 0]))
        return text, rng.choice(["", " ", "\n\t"]) + text + rng.choice(["", "  ", "\n"])
    text = "".join(rng.choice(ALPHABET) for _ in range(rng.randint(0, 12)))
    return text, escape(text)


def make(seed, kinds):
    rng = random.Random(seed)
    for kind, count in (k.split(":") for k in kinds):
        items = [item(kind, rng) for _ in range(int(count))]
        body = "".join("<p:n>%s</p:n>" % written for _, written in items)
        document = '<root xmlns:p="urn:items">%s<n xmlns="urn:other">1</n><stop/></root>' % body
        print("\t".join(text.encode("utf-8").hex() for text in [document] + [text for text, _ in items]))


def parse(paths):
    for root in (ElementTree.parse(path).getroot() for path in paths):
        names = ("|" + child.tag if child.tag[0] != "{" else child.tag[1:].replace("}", "|") for child in root)
        print("\t".join(name + ":" + (child.text or "").encode("utf-8").hex() for name, child in zip(names, root)))


if __name__ == "__main__":
    make(int(sys.argv[2]), sys.argv[3:]) if sys.argv[1] == "make" else parse(sys.argv[2:])

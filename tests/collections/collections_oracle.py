#!/usr/bin/env python3
"""Reference documents and an independent parser for the typed-collection tests.

make KIND COUNT SEED
    Prints a document (as hex of its UTF-8 bytes) whose root holds COUNT item elements
    <p:n xmlns:p="urn:items"> of the kind, then one <p:n> in another namespace and a <stop/>,
    followed by one line per item: the hex of the item's canonical text.
    KIND is i4 (numbers, surrounded by white space in the document) or string (text with
    markup characters, quotes, tabs, line feeds and characters outside the BMP).

parse FILE
    Parses the UTF-8 file with expat and prints, for each child of the root element,
    "namespace|local<TAB>hex(text)".
"""
import random
import sys
import xml.parsers.expat
from xml.sax.saxutils import escape


def hexed(text):
    return text.encode("utf-8").hex()


def random_string(rng):
    alphabet = ["a", "b", "Z", " ", "&", "<", ">", '"', "'", "\t", "\n", "\u00e9", "\u4e2d", "\U0001F600", "]]>"]
    return "".join(rng.choice(alphabet) for _ in range(rng.randint(0, 12)))


def make(kind, count, seed):
    rng = random.Random(seed)
    values = []
    parts = ['<root xmlns:p="urn:items">']
    for _ in range(count):
        if kind == "i4":
            value = rng.choice([rng.randint(-2**31, 2**31 - 1), rng.randint(-1000, 1000), 0])
            text = str(value)
            parts.append("<p:n>%s%s%s</p:n>" % (rng.choice(["", " ", "\n\t"]), text, rng.choice(["", "  ", "\n"])))
        elif kind == "string":
            text = random_string(rng)
            parts.append("<p:n>%s</p:n>" % escape(text))
        else:
            raise SystemExit("unknown kind " + kind)
        values.append(text)
    parts.append('<n xmlns="urn:other">1</n><stop/></root>')
    print(hexed("".join(parts)))
    for text in values:
        print(hexed(text))


def parse(path):
    depth = [0]
    children = []

    def start(name, attributes):
        depth[0] += 1
        if depth[0] == 2:
            children.append([name, []])

    def end(name):
        depth[0] -= 1

    def text(data):
        if depth[0] == 2:
            children[-1][1].append(data)

    parser = xml.parsers.expat.ParserCreate("UTF-8", "|")
    parser.StartElementHandler = start
    parser.EndElementHandler = end
    parser.CharacterDataHandler = text
    with open(path, "rb") as f:
        parser.Parse(f.read(), True)
    for name, chunks in children:
        if "|" not in name:
            name = "|" + name
        print("%s\t%s" % (name, hexed("".join(chunks))))


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
    elif sys.argv[1] == "parse":
        parse(sys.argv[2])
    else:
        raise SystemExit("unknown mode")

#!/usr/bin/env python3
"""Independent oracle for the XML input tests: python's own expat binding.

usage:
  tree_oracle.py each FILE FLAGS [FILE FLAGS]...
      for each file, the element tree the way the tests' DumpTree prints it, or one line
      "ERROR <expat message> at line <n>" when the parser rejects the input; FLAGS are
      "no-namespaces" and "keep-cdata", comma-separated, "-" for none; the dumps are
      separated by NUL characters
  tree_oracle.py gen FILE SEED MIN_BYTES
      writes a deterministic test document of at least MIN_BYTES bytes: namespaces,
      redeclared prefixes, attributes, entities and character references, CDATA, comments,
      processing instructions, CR LF line ends, non-ASCII and non-BMP characters, mixed
      content
"""
import json
import random
import sys
import xml.parsers.expat as expat


def name(ns, local):  # as tests/common/ExpatOracle.h's Name
    return json.dumps("{%s}%s" % (ns, local) if ns else local)


def split(name):
    i = name.find("|")
    return ("", name) if i < 0 else (name[:i], name[i + 1:])


def dump(path, no_namespaces, keep_cdata):
    data = open(path, "rb").read()
    p = expat.ParserCreate() if no_namespaces else expat.ParserCreate(None, "|")
    p.ordered_attributes = True
    nodes, stack, aliases = [], [], {}

    def start(name, attrs):
        ns, local = split(name)
        pairs = [split(attrs[i]) + (attrs[i + 1],) for i in range(0, len(attrs), 2)]
        node = [len(stack), ns, local, pairs, []]
        nodes.append(node)
        stack.append(node)

    def text(piece):
        if stack:
            stack[-1][4].append(piece.replace("\r", ""))

    def declare(prefix, uri):
        aliases[prefix or ""] = uri or ""

    p.StartElementHandler = start
    p.EndElementHandler = lambda name: stack.pop()
    p.CharacterDataHandler = text
    p.StartNamespaceDeclHandler = declare
    if keep_cdata:
        p.StartCdataSectionHandler = lambda: text("<![CDATA[")
        p.EndCdataSectionHandler = lambda: text("]]>")
    out = []
    try:
        p.Parse(data, True)
    except expat.ExpatError as e:
        out = ["ERROR %s at line %d" % (expat.ErrorString(e.code), e.lineno)]
    else:
        for depth, ns, local, pairs, parts in nodes:
            out.append("E %d %s" % (depth, name(ns, local)))
            for ans, alocal, value in pairs:
                out.append("A %s %s" % (name(ans, alocal), json.dumps(value)))
            out.append("T " + json.dumps("".join(parts)))
        for prefix in sorted(aliases):
            out.append("N %s=%s" % (prefix, json.dumps(aliases[prefix])))
    return "\n".join(out) + "\n"


WORDS = ["alpha", "beta", "Größe", "東京", "smile \U0001F600", "a&amp;b", "x &lt; y",
         "tab&#x9;here", "cr&#13;here", "ref &#x1F601;", "quote &quot;q&quot;", "  spaced  "]


def gen(path, seed, min_bytes):
    r = random.Random(seed)
    out = ['<?xml version="1.0" encoding="UTF-8"?>\r\n', "<!-- test document -->\n",
           '<root xmlns="urn:default" xmlns:a="urn:a" xmlns:b="urn:b" a:version="1" plain="yes">\r\n']
    size = [sum(len(s.encode("utf-8")) for s in out)]

    def emit(s):
        out.append(s)
        size[0] += len(s.encode("utf-8"))

    def element(depth):
        prefix = r.choice(["", "a:", "b:", "c:"])
        name = prefix + r.choice(["item", "value", "name", "Δ-node", "n.1"])
        decls = ""
        if prefix == "c:":
            decls = ' xmlns:c="urn:c%d"' % r.randrange(3)
        elif r.random() < 0.05:
            decls = ' xmlns:a="urn:a-%d"' % r.randrange(3)
        if r.random() < 0.05:
            decls += ' xmlns=""' if r.random() < 0.5 else ' xmlns="urn:other"'
        attrs = "".join(' %s%s="%s"' % (r.choice(["", "a:", "b:"]), "k%d" % i, r.choice(WORDS))
                        for i in range(r.randrange(4)))
        if r.random() < 0.05:
            attrs += ' xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:nil="true"'
        if r.random() < 0.15:
            emit("<%s%s%s/>" % (name, decls, attrs))
            return
        emit("<%s%s%s>" % (name, decls, attrs))
        for _ in range(r.randrange(4 if depth < 5 else 1)):
            k = r.random()
            if k < 0.35:
                emit(r.choice(WORDS) + r.choice(["", "\r\n", "\n", "\r", " "]))
            elif k < 0.45:
                emit("<![CDATA[raw <&> %s]]>" % r.choice(["", "x", "\r\nline"]))
            elif k < 0.5:
                emit("<!-- note -->" if r.random() < 0.5 else "<?pi data?>")
            elif depth < 6:
                element(depth + 1)
        emit("</%s>" % name)

    while size[0] < min_bytes:
        emit("  ")
        element(1)
        emit("\r\n")
    emit("</root>\n")
    open(path, "wb").write("".join(out).encode("utf-8"))


def main():
    cmd, args = sys.argv[1], sys.argv[2:]
    if cmd == "each":
        dumps = [dump(path, "no-namespaces" in flags.split(","), "keep-cdata" in flags.split(","))
                 for path, flags in zip(args[0::2], args[1::2])]
        sys.stdout.buffer.write("\0".join(dumps).encode("utf-8"))
    elif cmd == "gen":
        gen(args[0], int(args[1]), int(args[2]))
    else:
        sys.exit("unknown command " + cmd)


if __name__ == "__main__":
    main()

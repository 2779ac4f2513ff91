#!/usr/bin/env python3
"""Independent oracle for the number conversions.

Prints random cases with their expected outcome; texts are written as "x" followed by the
hexadecimal of their UTF-8 bytes so that white space survives the line format.

  INT  <kind> <text> <value | RANGE:<kind> | CONV>   (i1 i2 i4 i8 ui1 ui2 ui4 ui8)
  REAL <r4|r8> <text> <bits in hex | CONV>           (reading)
  OUT  <r4|r8> <bits in hex> <text>                  (writing with the default format)

Reading follows the C library's base-10 readers: leading white space, an optional sign,
digits (and for reals a point and an exponent); text left over means the conversion fails.

  OUT  <r4|r8> <bits in hex> <text> <class>          ("reals" mode: the cases where "%.16g"
                                                     and "%.7g" are easiest to get wrong)

Usage: conversions_oracle.py SEED COUNT [reals]
"""
import random
import re
import struct
import sys

SPACE = " \t\n\v\f\r"
INT_PREFIX = re.compile(r"[ \t\n\v\f\r]*([+-]?)([0-9]+)")
REAL_FORM = re.compile(r"[ \t\n\v\f\r]*[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?")
NAN_WORDS = ("", "NaN", "1.#QNAN", "-NAN")

INT_KINDS = {
    "i4": (-2**31, 2**31 - 1), "i8": (-2**63, 2**63 - 1),
    "ui4": (0, 2**32 - 1), "ui8": (0, 2**64 - 1),
}
NARROW = {"i1": ("i4", -128, 127), "i2": ("i4", -32768, 32767),
          "ui1": ("ui4", 0, 255), "ui2": ("ui4", 0, 65535)}


def enc(text):
    return "x" + text.encode("utf-8").hex()


def read_wide(kind, text):
    match = INT_PREFIX.match(text)
    if not match:
        return 0 if text == "" else "CONV"
    negative, magnitude = match.group(1) == "-", int(match.group(2))
    low, high = INT_KINDS[kind]
    if low == 0:
        if magnitude > high:
            return "RANGE:" + kind
        value = (-magnitude) % (high + 1) if negative else magnitude
    else:
        if magnitude > (-low if negative else high):
            return "RANGE:" + kind
        value = -magnitude if negative else magnitude
    if match.end() != len(text):
        return "CONV"
    return value


def read_int(kind, text):
    if kind in NARROW:
        wide, low, high = NARROW[kind]
        value = read_wide(wide, text)
        if isinstance(value, int) and not low <= value <= high:
            return "RANGE:" + kind
        return value
    return read_wide(kind, text)


def random_int_text(rng):
    boundaries = ["127", "128", "255", "256", "32767", "32768", "65535", "65536", "2147483647",
                  "2147483648", "4294967295", "4294967296", "9223372036854775807",
                  "9223372036854775808", "18446744073709551615", "18446744073709551616",
                  "99999999999999999999999"]
    text = ""
    if rng.random() < 0.2:
        text += "".join(rng.choice(SPACE) for _ in range(rng.randint(1, 3)))
    if rng.random() < 0.5:
        text += rng.choice("+-")
    if rng.random() < 0.5:
        digits = rng.choice(boundaries)
    else:
        digits = str(rng.randint(0, 10**rng.randint(0, 21)))
    if rng.random() < 0.1:
        digits = "0" * rng.randint(1, 5) + digits
    if rng.random() < 0.05:
        digits = ""
    text += digits
    if rng.random() < 0.1:
        text += rng.choice(["x", " ", ".5", "e1", "\t", "0x10", "-"])
    return text


def c_real(text):
    if text in NAN_WORDS:
        return "NAN"
    if text == "-INF":
        return float("-inf")
    if text == "INF":
        return float("inf")
    if not REAL_FORM.fullmatch(text):
        return "CONV"
    return float(text.strip(SPACE))


def float32_bits(value):
    try:
        return struct.unpack("<I", struct.pack("<f", value))[0]
    except OverflowError:
        return 0xFF800000 if value < 0 else 0x7F800000


def double_bits(value):
    return struct.unpack("<Q", struct.pack("<d", value))[0]


def random_real_text(rng):
    pick = rng.random()
    if pick < 0.08:
        return rng.choice(["NaN", "1.#QNAN", "-NAN", "INF", "-INF", "", "inf", "-inf", "nan", "Infinity",
                           "0x1p3", "0x10", ".", "-", "+", "1e", "1e+", "e5", "1.5.5", " INF", "1,5",
                           "1e400", "-1e400", "1e-400", "4.9e-324", "2.4e-324", "1e39", "3.4028235e38",
                           "3.40282357e38", "1.4e-45", "-0", "-0.0", "+.5", "5.", "00001.2500"])
    text = ""
    if rng.random() < 0.1:
        text += rng.choice(SPACE)
    if rng.random() < 0.4:
        text += rng.choice("+-")
    int_digits = "".join(rng.choice("0123456789") for _ in range(rng.randint(0, 20)))
    frac_digits = "".join(rng.choice("0123456789") for _ in range(rng.randint(0, 25)))
    text += int_digits
    if frac_digits or rng.random() < 0.3:
        text += "." + frac_digits
    if rng.random() < 0.4:
        text += rng.choice("eE") + rng.choice(["", "+", "-"]) + str(rng.randint(0, 330))
    if rng.random() < 0.05:
        text += rng.choice(["x", " ", "e", "f", "d"])
    return text


def widen_exponent(text):
    match = re.search(r"e([+-])(\d+)$", text)
    if match and len(match.group(2)) < 3:
        text = text[:match.start()] + "e" + match.group(1) + match.group(2).zfill(3)
    return text


def real_out(value, precision):
    if value != value:
        return "NaN"
    if value in (float("inf"), float("-inf")):
        return "INF" if value > 0 else "-INF"
    return widen_exponent("%.*g" % (precision, value))


def random_double(rng):
    pick = rng.random()
    if pick < 0.4:
        bits = rng.getrandbits(64)
        return struct.unpack("<d", struct.pack("<Q", bits))[0]
    if pick < 0.7:
        return rng.randint(-10**6, 10**6) / 10**rng.randint(0, 8)
    if pick < 0.9:
        return rng.uniform(-1, 1) * 10**rng.randint(-30, 30)
    return rng.choice([0.0, -0.0, 0.1, 1 / 3, 1e20, 1.5e-7, 1e100, 5e-324, 1e16, 1e15, 123456789012345678.0,
                       float("nan"), float("inf"), float("-inf"), 2.0**53, 0.5, 100.0])


def hard_double(rng, kind):
    """A double of the given kind of hard case for the general ("%g") writing."""
    if kind == "price":  # short decimals: 9.3 must stay 9.300000000000001
        return float("%s%d.%02d" % (rng.choice("-+"), rng.randint(0, 10**rng.randint(0, 7)), rng.randint(0, 99)))
    if kind == "short":  # like 8.1053E-04 across magnitudes
        return float("%d.%04dE%+03d" % (rng.randint(-9, 9), rng.randint(0, 9999), rng.randint(-40, 40)))
    if kind == "tie":  # dyadic: exactly 17 or 8 significant digits ending in 5 round half to even
        return rng.randint(1, 2**20) / 2**rng.randint(0, 30) + rng.randint(0, 10**rng.randint(0, 6))
    if kind == "pow10":  # next to a power of ten, where the exponent of the rounded value changes
        value = 10.0**rng.randint(-30, 60)
        for _ in range(rng.randint(0, 3)):
            value = struct.unpack("<d", struct.pack("<Q", double_bits(value) + rng.choice((-1, 1))))[0]
        return value
    if kind == "integer":
        return float(rng.randint(-10**rng.randint(1, 22), 10**rng.randint(1, 22)))
    if kind == "subnormal":
        return struct.unpack("<d", struct.pack("<Q", rng.getrandbits(52)))[0]
    bits = rng.getrandbits(64)  # "bits": any finite double
    value = struct.unpack("<d", struct.pack("<Q", bits))[0]
    return value if value == value and abs(value) != float("inf") else 1.0


HARD_KINDS = ("price", "short", "tie", "pow10", "integer", "subnormal", "bits")


FIXED_DOUBLES = (9.3, -96.506, 8.1053e-04, 0.1 + 0.2, 1e15, 1e16, 9999999999999998.0, 0.0001, 0.00001, 1e-5 * 3,
                 1 + 2**-16, 2.5, 0.5, 123456.0, 5e-324, 2.2250738585072014e-308, 1.7976931348623157e308,
                 2.0**53 + 2, 1e47, 1e48, 1e-16, 1e-17, -0.0, 0.0)


def main_reals(rng, count):
    out = []
    cases = [(value, "fixed") for value in FIXED_DOUBLES]
    cases += [(hard_double(rng, HARD_KINDS[i % len(HARD_KINDS)]), HARD_KINDS[i % len(HARD_KINDS)])
              for i in range(count)]
    for value, kind in cases:
        out.append("OUT r8 %016x %s %s" % (double_bits(value), enc(real_out(value, 16)), kind))
        single = struct.unpack("<f", struct.pack("<I", float32_bits(value)))[0]
        if abs(single) != float("inf"):
            out.append("OUT r4 %08x %s %s" % (float32_bits(value), enc(real_out(single, 7)), kind))
    sys.stdout.write("\n".join(out) + "\n")


def main():
    seed, count = int(sys.argv[1]), int(sys.argv[2])
    rng = random.Random(seed)
    if len(sys.argv) > 3 and sys.argv[3] == "reals":
        main_reals(rng, count)
        return
    out = []
    for _ in range(count):
        kind = rng.choice(["i1", "i2", "i4", "i8", "ui1", "ui2", "ui4", "ui8"])
        text = random_int_text(rng)
        out.append("INT %s %s %s" % (kind, enc(text), read_int(kind, text)))

        text = random_real_text(rng)
        value = c_real(text)
        if value == "CONV":
            out.append("REAL r8 %s CONV" % enc(text))
            out.append("REAL r4 %s CONV" % enc(text))
        elif value == "NAN":
            out.append("REAL r8 %s NAN" % enc(text))
            out.append("REAL r4 %s NAN" % enc(text))
        else:
            out.append("REAL r8 %s %016x" % (enc(text), double_bits(value)))
            out.append("REAL r4 %s %08x" % (enc(text), float32_bits(value)))

        value = random_double(rng)
        out.append("OUT r8 %016x %s" % (double_bits(value), enc(real_out(value, 16))))
        bits32 = float32_bits(value) if value == value else 0x7FC00000
        single = struct.unpack("<f", struct.pack("<I", bits32))[0]
        out.append("OUT r4 %08x %s" % (bits32, enc(real_out(single, 7))))
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()

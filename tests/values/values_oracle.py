#!/usr/bin/env python3
"""Reference results for the big-integer and decimal tests, from Python's int and decimal.

Usage: values_oracle.py MODE COUNT SEED [MAXPLACES]

Every line printed is one case, fields separated by tabs. The C++ tests run this script,
feed each case to CBigInteger / CDecimal and compare with the fields given here. Only the
standard library is used.

The decimal rules reproduced with the decimal module:
- digits beyond the maximum places (default 30) are rounded half-down: an exact half is
  dropped, more than half rounds away from zero;
- a quotient is first cut toward zero two places beyond the maximum, then rounded half-down;
- ToString(places) rounds half away from zero (ROUND_HALF_UP in the decimal module);
- texts drop trailing fraction zeros and never use an exponent.
"""
import decimal
import random
import sys
from decimal import Decimal, ROUND_DOWN, ROUND_HALF_DOWN, ROUND_HALF_UP

if hasattr(sys, "set_int_max_str_digits"):
    sys.set_int_max_str_digits(0)
decimal.getcontext().prec = 5000
decimal.getcontext().Emax = 999999
decimal.getcontext().Emin = -999999

MAXPLACES = 30


def digits(rng, count):
    if count == 0:
        return ""
    return str(rng.randint(1, 9)) + "".join(rng.choice("0123456789") for _ in range(count - 1))


def random_int(rng, max_digits):
    shape = rng.random()
    if shape < 0.1:
        value = rng.randint(-20, 20)
    elif shape < 0.2:
        # around limb and 64-bit boundaries
        value = rng.choice([10**9, 10**18, 2**63, 2**64, 10**27, 2**31]) + rng.randint(-3, 3)
    else:
        value = int(digits(rng, rng.randint(1, max_digits)))
    if rng.random() < 0.5:
        value = -value
    return value


def trunc_div(a, b):
    q = abs(a) // abs(b)
    if (a < 0) != (b < 0):
        q = -q
    return q, a - q * b


def dec_text(value):
    """Plain text of a decimal the way CDecimal::ToString writes it."""
    if value == 0:
        return "0"
    return format(value.normalize(), "f")


def esc(text):
    """Tabs and line ends escaped so that one case stays on one line."""
    return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\r", "\\r").replace("\n", "\\n")


def limit_places(value, places):
    if value.as_tuple().exponent >= -places:
        return value
    return value.quantize(Decimal(1).scaleb(-places), rounding=ROUND_HALF_DOWN)


def read_value(mantissa, exponent):
    """The value a decimal text stands for: its mantissa, then the exponent applied as a
    product (exact, then at most MAXPLACES places) or as a quotient (cut two places beyond,
    then at most MAXPLACES places)."""
    if exponent is None or exponent >= 0:
        return limit_places(mantissa.scaleb(exponent or 0), MAXPLACES)
    cut = mantissa.scaleb(exponent).quantize(Decimal(1).scaleb(-(MAXPLACES + 2)), rounding=ROUND_DOWN)
    return limit_places(cut, MAXPLACES)


def random_decimal(rng, max_int_digits=25, max_frac_digits=None):
    if max_frac_digits is None:
        max_frac_digits = MAXPLACES
    shape = rng.random()
    int_digits = digits(rng, rng.randint(0, max_int_digits)) or "0"
    frac = "".join(rng.choice("0123456789") for _ in range(rng.randint(0, max_frac_digits)))
    if shape < 0.15:
        int_digits = str(rng.randint(0, 9))
        frac = rng.choice(["", "5", "05", "5" * rng.randint(1, 5), "0" * rng.randint(1, max(1, max_frac_digits - 2)) + "1"])
    text = int_digits + ("." + frac if frac else "")
    if rng.random() < 0.5:
        text = "-" + text
    return Decimal(text)


def bigint_arith(rng, count, max_digits=120):
    for _ in range(count):
        a = random_int(rng, max_digits)
        b = random_int(rng, rng.choice([5, 20, max_digits // 2, max_digits]))
        if rng.random() < 0.05:
            b = a
        fields = [a, b, a + b, a - b, a * b]
        if b != 0:
            q, r = trunc_div(a, b)
            fields += [q, r]
        else:
            fields += ["DIV0", "DIV0"]
        fields.append((a > b) - (a < b))
        print("\t".join(str(f) for f in fields))


def bigint_huge(rng, count):
    """Thousands of digits."""
    bigint_arith(rng, count, 3000)


def double_ints(rng, count):
    """Doubles and their value rounded to an integer, an exact half toward zero."""
    import math
    import struct
    specials = [0.5, 1.5, 2.5, -2.5, 2.6, -2.6, 0.49999999999999994, 2.0**52 + 1, 2.0**53, 1e20, 1e23,
                1.7976931348623157e308, -1e300, 4503599627370495.5, 5e-324]
    for i in range(count):
        if i < len(specials):
            x = specials[i]
        else:
            x = struct.unpack("<d", struct.pack("<Q", rng.getrandbits(64)))[0]
            if not math.isfinite(x):
                continue
            if rng.random() < 0.5:
                x = rng.uniform(-1e6, 1e6)
        value = Decimal(x).quantize(Decimal(1), rounding=ROUND_HALF_DOWN)
        print(f"{x!r}\t{int(value)}")


def bigint_sqrt(rng, count):
    import math
    for _ in range(count):
        value = abs(random_int(rng, 80))
        print(f"{value}\t{math.isqrt(value)}")


def bigint_parse(rng, count):
    """Texts of digits, signs and white space, plus some decimal forms."""
    for _ in range(count):
        if rng.random() < 0.7:
            pieces = []
            for _ in range(rng.randint(0, 6)):
                pieces.append(rng.choice([digits(rng, rng.randint(1, 30)), "0" * rng.randint(1, 3), " ", "  ",
                                          "-", "+", "\t", "\r\n"]))
            text = "".join(pieces)
            # The reading rule: spaces trimmed, a leading "-" gives the sign, the magnitude is
            # the run of digits at the very end.
            rest = text.strip(" ")
            sign = 1
            if rest.startswith("-"):
                sign = -1
                rest = rest[1:]
            run = ""
            while rest and rest[-1].isdigit():
                run = rest[-1] + run
                rest = rest[:-1]
            value = sign * int(run) if run else 0
            print(f"{esc(text)}\t{value}")
        else:
            d = random_decimal(rng, 30, 35)
            if d == 0 or rng.random() < 0.7:
                text, value = dec_text(d), read_value(d, None)
            else:
                exponent = d.adjusted()
                mantissa = d.scaleb(-exponent)
                text, value = format(mantissa, "f") + "E" + ("%+d" % exponent), read_value(mantissa, exponent)
            print(f"{esc(text)}\t{int(value.quantize(Decimal(1), rounding=ROUND_HALF_DOWN))}")


def decimal_arith(rng, count):
    for _ in range(count):
        a = random_decimal(rng)
        b = random_decimal(rng) if rng.random() > 0.05 else a
        product = limit_places(a * b, MAXPLACES)
        fields = [dec_text(a), dec_text(b), dec_text(a + b), dec_text(a - b), dec_text(product)]
        if b != 0:
            cut = (a / b).quantize(Decimal(1).scaleb(-(MAXPLACES + 2)), rounding=ROUND_DOWN)
            fields.append(dec_text(limit_places(cut, MAXPLACES)))
        else:
            fields.append("DIV0")
        fields.append(str((a > b) - (a < b)))
        print("\t".join(fields))


def decimal_parse(rng, count):
    """Texts with signs, white space and exponents, and the value they stand for."""
    for _ in range(count):
        negative = rng.random() < 0.5
        int_digits = "".join(rng.choice("0123456789") for _ in range(rng.randint(0, 20)))
        frac = "".join(rng.choice("0123456789") for _ in range(rng.randint(0, 40)))
        has_point = bool(frac) or rng.random() < 0.2
        exponent = None
        if rng.random() < 0.4:
            exponent = rng.randint(-45, 45)
        value = Decimal(("-" if negative else "") + (int_digits or "0") + "." + (frac or "0"))
        expected = read_value(value, exponent)

        # Signs may stand anywhere in the integer section (the last one decides); white space
        # may stand anywhere except inside nothing.
        ws = lambda: rng.choice(["", "", "", " ", "\t", "\n", "\r\n", "  "])
        int_section = list(int_digits)
        sign_char = "-" if negative else rng.choice(["", "+"])
        position = rng.randint(0, len(int_section))
        if sign_char:
            int_section.insert(position, sign_char)
        if rng.random() < 0.3:
            # an earlier sign that the later one overrides
            int_section.insert(0, "+" if negative else "-")
            if not sign_char:
                int_section.insert(len(int_section), "+")
        text = ws() + "".join(c + ws() for c in int_section)
        if has_point:
            text += "." + ws() + "".join(c + ws() for c in frac)
        if exponent is not None:
            mark = rng.choice("eE")
            exp_sign = "-" if exponent < 0 else rng.choice(["", "+"])
            text += mark + ws() + exp_sign + ws() + str(abs(exponent)) + ws()
        print(f"{esc(text)}\t{dec_text(expected)}")


def decimal_format(rng, count):
    """ToString(places) and the conversions."""
    for _ in range(count):
        d = random_decimal(rng, rng.choice([3, 12, 22]))
        places = rng.randint(0, 34)
        if places < MAXPLACES:
            rounded = d.quantize(Decimal(1).scaleb(-places), rounding=ROUND_HALF_UP)
        else:
            rounded = d
        text = format(rounded, "f") if places > 0 else format(rounded.quantize(Decimal(1), rounding=ROUND_DOWN), "f") + "."
        if places > 0:
            whole, _, fraction = text.partition(".")
            text = whole + "." + (fraction + "0" * places)[:places]
        if d == 0 and text.startswith("-"):
            text = text[1:]
        as_long = int(d.quantize(Decimal(1), rounding=ROUND_HALF_DOWN))
        tenths = d.quantize(Decimal("0.1"), rounding=ROUND_HALF_DOWN)
        as_longlong = int(tenths)
        long_text = str(as_long) if -2**31 <= as_long < 2**31 else "OVERFLOW"
        longlong_text = str(as_longlong) if -2**63 <= tenths <= 2**63 - 1 else "OVERFLOW"
        print(f"{dec_text(d)}\t{places}\t{text}\t{long_text}\t{longlong_text}\t{float(d)!r}")


MODES = {
    "bigint_arith": bigint_arith,
    "bigint_huge": bigint_huge,
    "double_ints": double_ints,
    "bigint_sqrt": bigint_sqrt,
    "bigint_parse": bigint_parse,
    "decimal_arith": decimal_arith,
    "decimal_parse": decimal_parse,
    "decimal_format": decimal_format,
}


def main():
    global MAXPLACES
    mode, count, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    if len(sys.argv) > 4:
        MAXPLACES = int(sys.argv[4])
    MODES[mode](random.Random(seed), count)


if __name__ == "__main__":
    main()

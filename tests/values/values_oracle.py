#!/usr/bin/env python3
"""Reference results for the value tests, from python's int, decimal, struct, datetime and
calendar. Only the standard library is used.

Usage: values_oracle.py MODE COUNT SEED [MAXPLACES]

Every line printed is one case, fields separated by tabs (mode "dates" separates them by
spaces). The C++ tests feed each case to the value classes and
compare with the fields given here.

The decimal rules reproduced with the decimal module:
- digits beyond the maximum places (default 30) are rounded half-down: an exact half is
  dropped, more than half rounds away from zero;
- a quotient is first cut toward zero two places beyond the maximum, then rounded half-down;
- ToString(places) rounds half away from zero (ROUND_HALF_UP in the decimal module);
- texts drop trailing fraction zeros and never use an exponent.

Conversions read numbers the way the C library's base-10 readers do: leading white space,
an optional sign, digits (and for reals a point and an exponent); text left over fails.
"""
import calendar
import datetime
import decimal
import math
import random
import re
import struct
import sys
from decimal import Decimal, ROUND_DOWN, ROUND_HALF_DOWN, ROUND_HALF_UP

if hasattr(sys, "set_int_max_str_digits"):
    sys.set_int_max_str_digits(0)
decimal.getcontext().prec = 5000
decimal.getcontext().Emax = 999999
decimal.getcontext().Emin = -999999

MAXPLACES = 30


# ------------------------------------------------------------------ integers and decimals

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
    return -value if rng.random() < 0.5 else value


def trunc_div(a, b):
    q = abs(a) // abs(b) * (1 if (a < 0) == (b < 0) else -1)
    return q, a - q * b


def dec_text(value):
    """Plain text of a decimal the way CDecimal::ToString writes it."""
    return "0" if value == 0 else format(value.normalize(), "f")


def esc(text):
    """Tabs and line ends escaped so that one case stays on one line."""
    return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\r", "\\r").replace("\n", "\\n")


def limit_places(value, places):
    if value.as_tuple().exponent >= -places:
        return value
    return value.quantize(Decimal(1).scaleb(-places), rounding=ROUND_HALF_DOWN)


def cut_quotient(value):
    return limit_places(value.quantize(Decimal(1).scaleb(-(MAXPLACES + 2)), rounding=ROUND_DOWN), MAXPLACES)


def read_value(mantissa, exponent):
    """The value a decimal text stands for: its mantissa, then the exponent applied as a
    product (exact, then at most MAXPLACES places) or as a quotient (cut two places beyond,
    then at most MAXPLACES places)."""
    if exponent is None or exponent >= 0:
        return limit_places(mantissa.scaleb(exponent or 0), MAXPLACES)
    return cut_quotient(mantissa.scaleb(exponent))


def random_decimal(rng, max_int_digits=25, max_frac_digits=None):
    if max_frac_digits is None:
        max_frac_digits = MAXPLACES
    int_digits = digits(rng, rng.randint(0, max_int_digits)) or "0"
    frac = "".join(rng.choice("0123456789") for _ in range(rng.randint(0, max_frac_digits)))
    if rng.random() < 0.15:
        int_digits = str(rng.randint(0, 9))
        frac = rng.choice(["", "5", "05", "5" * rng.randint(1, 5), "0" * rng.randint(1, max(1, max_frac_digits - 2)) + "1"])
    text = int_digits + ("." + frac if frac else "")
    return Decimal("-" + text if rng.random() < 0.5 else text)


def bigint_arith(rng, count, max_digits=120):
    """a, b, a+b, a-b, a*b, a/b, a%b (truncating toward zero, DIV0 for a zero divisor), cmp(a,b).
    The first pairs make long division guess a quotient limb one too large (the top limbs of a
    are 7 times those of b, the lowest limb of b is not zero), so that it must add b back."""
    base = 10**9
    b_top = (600000000 * base + 123456789) * base
    special = [(7 * b_top, b_top + 999999999), (-7 * b_top * base, b_top + 999999999)]
    for i in range(count):
        a = random_int(rng, max_digits)
        b = random_int(rng, rng.choice([5, 20, max_digits // 2, max_digits]))
        if rng.random() < 0.05:
            b = a
        if i < len(special):
            a, b = special[i]
        fields = [a, b, a + b, a - b, a * b]
        fields += list(trunc_div(a, b)) if b != 0 else ["DIV0", "DIV0"]
        fields.append((a > b) - (a < b))
        print("\t".join(str(f) for f in fields))


def double_ints(rng, count):
    """Doubles and their value rounded to an integer, an exact half toward zero."""
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
        print(f"{x!r}\t{int(Decimal(x).quantize(Decimal(1), rounding=ROUND_HALF_DOWN))}")


def bigint_parse(rng, count):
    """Texts of digits, signs and white space, plus some decimal forms."""
    for _ in range(count):
        if rng.random() < 0.7:
            pieces = [rng.choice([digits(rng, rng.randint(1, 30)), "0" * rng.randint(1, 3), " ", "  ", "-", "+",
                                  "\t", "\r\n"]) for _ in range(rng.randint(0, 6))]
            text = "".join(pieces)
            # The reading rule: spaces trimmed, a leading "-" gives the sign, the magnitude is
            # the run of digits at the very end.
            rest = text.strip(" ")
            sign = -1 if rest.startswith("-") else 1
            run = re.search(r"[0-9]*$", rest).group(0)
            print(f"{esc(text)}\t{sign * int(run) if run else 0}")
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
    """a, b, a+b, a-b, a*b, a/b (DIV0 for a zero divisor), cmp(a,b)."""
    for _ in range(count):
        a = random_decimal(rng)
        b = random_decimal(rng) if rng.random() > 0.05 else a
        fields = [dec_text(a), dec_text(b), dec_text(a + b), dec_text(a - b), dec_text(limit_places(a * b, MAXPLACES))]
        fields.append(dec_text(cut_quotient(a / b)) if b != 0 else "DIV0")
        fields.append(str((a > b) - (a < b)))
        print("\t".join(fields))


def decimal_parse(rng, count):
    """Texts with signs, white space and exponents, and the value they stand for."""
    for _ in range(count):
        negative = rng.random() < 0.5
        int_digits = "".join(rng.choice("0123456789") for _ in range(rng.randint(0, 20)))
        frac = "".join(rng.choice("0123456789") for _ in range(rng.randint(0, 40)))
        has_point = bool(frac) or rng.random() < 0.2
        exponent = rng.randint(-45, 45) if rng.random() < 0.4 else None
        value = Decimal(("-" if negative else "") + (int_digits or "0") + "." + (frac or "0"))

        # Signs may stand anywhere in the integer section (the last one decides); white space
        # may stand anywhere except inside nothing.
        ws = lambda: rng.choice(["", "", "", " ", "\t", "\n", "\r\n", "  "])
        int_section = list(int_digits)
        sign_char = "-" if negative else rng.choice(["", "+"])
        if sign_char:
            int_section.insert(rng.randint(0, len(int_section)), sign_char)
        if rng.random() < 0.3:
            # an earlier sign that the later one overrides
            int_section.insert(0, "+" if negative else "-")
            if not sign_char:
                int_section.append("+")
        text = ws() + "".join(c + ws() for c in int_section)
        if has_point:
            text += "." + ws() + "".join(c + ws() for c in frac)
        if exponent is not None:
            exp_sign = "-" if exponent < 0 else rng.choice(["", "+"])
            text += rng.choice("eE") + ws() + exp_sign + ws() + str(abs(exponent)) + ws()
        print(f"{esc(text)}\t{dec_text(read_value(value, exponent))}")


def decimal_format(rng, count):
    """ToString(places) and the conversions."""
    for _ in range(count):
        d = random_decimal(rng, rng.choice([3, 12, 22]))
        places = rng.randint(0, 34)
        rounded = d.quantize(Decimal(1).scaleb(-places), rounding=ROUND_HALF_UP) if places < MAXPLACES else d
        if places > 0:
            whole, _, fraction = format(rounded, "f").partition(".")
            text = whole + "." + (fraction + "0" * places)[:places]
        else:
            text = format(rounded.quantize(Decimal(1), rounding=ROUND_DOWN), "f") + "."
        if d == 0 and text.startswith("-"):
            text = text[1:]
        as_long = int(d.quantize(Decimal(1), rounding=ROUND_HALF_DOWN))
        tenths = d.quantize(Decimal("0.1"), rounding=ROUND_HALF_DOWN)
        long_text = str(as_long) if -2**31 <= as_long < 2**31 else "OVERFLOW"
        longlong_text = str(int(tenths)) if -2**63 <= tenths <= 2**63 - 1 else "OVERFLOW"
        print(f"{dec_text(d)}\t{places}\t{text}\t{long_text}\t{longlong_text}\t{float(d)!r}")


# ------------------------------------------------------------------ conversions of numbers
#
#   INT  <kind> <text> <value | RANGE:<kind> | CONV>   (i1 i2 i4 i8 ui1 ui2 ui4 ui8)
#   REAL <r4|r8> <text> <bits in hex | NAN | CONV>     (reading)

SPACE = " \t\n\v\f\r"
INT_PREFIX = re.compile(r"[ \t\n\v\f\r]*([+-]?)([0-9]+)")
REAL_FORM = re.compile(r"[ \t\n\v\f\r]*[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?")


def int_range(unsigned, size):
    bits = 8 * size
    return (0, 2**bits - 1) if unsigned else (-2**(bits - 1), 2**(bits - 1) - 1)


def read_int(kind, text):
    """The C library's reading, at 32 bits for the narrow kinds, which then hold the value to
    their own range; an unsigned kind takes a negative number modulo its size."""
    unsigned, size = kind[0] == "u", int(kind[-1])
    low, high = int_range(unsigned, max(size, 4))
    match = INT_PREFIX.match(text)
    if not match:
        return 0 if text == "" else "CONV"
    negative, magnitude = match.group(1) == "-", int(match.group(2))
    if magnitude > (high if unsigned or not negative else -low):
        return "RANGE:" + (kind if size >= 4 else kind[:-1] + "4")
    if match.end() != len(text):
        return "CONV"
    value = -magnitude if negative else magnitude
    value = value % (high + 1) if unsigned else value
    low, high = int_range(unsigned, size)
    return value if low <= value <= high else "RANGE:" + kind


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
    number = rng.choice(boundaries) if rng.random() < 0.5 else str(rng.randint(0, 10**rng.randint(0, 21)))
    if rng.random() < 0.1:
        number = "0" * rng.randint(1, 5) + number
    if rng.random() < 0.05:
        number = ""
    text += number
    if rng.random() < 0.1:
        text += rng.choice(["x", " ", ".5", "e1", "\t", "0x10", "-"])
    return text


def c_real(text):
    special = {"": "NAN", "NaN": "NAN", "1.#QNAN": "NAN", "-NAN": "NAN", "-INF": float("-inf"), "INF": float("inf")}
    if text in special:
        return special[text]
    return float(text.strip(SPACE)) if REAL_FORM.fullmatch(text) else "CONV"


def float32_bits(value):
    try:
        return struct.unpack("<I", struct.pack("<f", value))[0]
    except OverflowError:
        return 0xFF800000 if value < 0 else 0x7F800000


def double_bits(value):
    return struct.unpack("<Q", struct.pack("<d", value))[0]


def random_real_text(rng):
    if rng.random() < 0.08:
        return rng.choice(["NaN", "1.#QNAN", "-NAN", "INF", "-INF", "", "inf", "-inf", "nan", "Infinity",
                           "0x1p3", "0x10", ".", "-", "+", "1e", "1e+", "e5", "1.5.5", " INF", "1,5",
                           "1e400", "-1e400", "1e-400", "4.9e-324", "2.4e-324", "1e39", "3.4028235e38",
                           "3.40282357e38", "1.4e-45", "-0", "-0.0", "+.5", "5.", "00001.2500"])
    text = rng.choice(SPACE) if rng.random() < 0.1 else ""
    if rng.random() < 0.4:
        text += rng.choice("+-")
    frac_digits = "".join(rng.choice("0123456789") for _ in range(rng.randint(0, 25)))
    text += "".join(rng.choice("0123456789") for _ in range(rng.randint(0, 20)))
    if frac_digits or rng.random() < 0.3:
        text += "." + frac_digits
    if rng.random() < 0.4:
        text += rng.choice("eE") + rng.choice(["", "+", "-"]) + str(rng.randint(0, 330))
    if rng.random() < 0.05:
        text += rng.choice(["x", " ", "e", "f", "d"])
    return text


def conversions(rng, count):
    out = []
    for _ in range(count):
        kind = rng.choice(["i1", "i2", "i4", "i8", "ui1", "ui2", "ui4", "ui8"])
        text = random_int_text(rng)
        out.append("INT\t%s\t%s\t%s" % (kind, esc(text), read_int(kind, text)))

        text = random_real_text(rng)
        value = c_real(text)
        for kind, width, bits in (("r8", 16, double_bits), ("r4", 8, float32_bits)):
            answer = value if isinstance(value, str) else "%0*x" % (width, bits(value))
            out.append("REAL\t%s\t%s\t%s" % (kind, esc(text), answer))
    print("\n".join(out))


# ------------------------------------------------------------------ dates, times and durations
#
# Computed with datetime, calendar and big integers rather than with the field-by-field
# carries the C++ code uses:
#   ADD   <start> <span> <year> <month> <day> <hour> <minute> <second> <nanos>
#   NORM  <value> <expected canonical form>
#   TIME  <value> <seconds since 1970> <day of week 1=Sunday> <day of year>
#   CMP   <a> <b> <EQ|LT|GT|IND>
#   SPAN  <a> <b> <EQ|LT|GT|IND>
#   TEXT  <canonical form>           (must read back and write back unchanged)

NS_PER_DAY = 86400 * 10**9
UTC = datetime.timezone.utc


def fraction_text(nanos):
    return "." + ("%09d" % nanos).rstrip("0") if nanos else ""


def datetime_text(year, month, day, hour, minute, second, nanos, zone=None):
    text = "%04d-%02d-%02dT%02d:%02d:%02d%s" % (year, month, day, hour, minute, second, fraction_text(nanos))
    if isinstance(zone, tuple):
        return text + "%s%02d:%02d" % ("-" if zone[0] < 0 else "+", abs(zone[0]), zone[1])
    return text + (zone or "")


def span_text(span):
    neg, years, months, days, hours, minutes, seconds, nanos = span
    text = "-P" if neg else "P"
    text += "".join("%d%s" % (n, unit) for n, unit in ((years, "Y"), (months, "M"), (days, "D")) if n)
    if hours or minutes or seconds or nanos:
        text += "T" + "".join("%d%s" % (n, unit) for n, unit in ((hours, "H"), (minutes, "M")) if n)
        if seconds or nanos:
            text += "%d%sS" % (seconds, fraction_text(nanos))
    return text


def add(value, span):
    """Date plus duration: months first, then the clock as one big nanosecond count, then
    the days, walked with datetime.date. The starting day is not clamped to its month: a
    day past the month's end counts on from the month's first day, and a move of zero days
    leaves it as it is."""
    year, month, day, hour, minute, second, nanos = value
    neg, s_years, s_months, s_days, s_hours, s_minutes, s_seconds, s_nanos = span
    sign = -1 if neg else 1

    month_index = month - 1 + sign * s_months
    year += month_index // 12 + sign * s_years
    month = month_index % 12 + 1

    clock = ((hour * 60 + minute) * 60 + second) * 10**9 + nanos
    total = clock + (((s_hours * 60 + s_minutes) * 60 + s_seconds) * 10**9 + s_nanos) * sign
    move = total // NS_PER_DAY + sign * s_days
    clock = total % NS_PER_DAY

    length = calendar.monthrange(year, month)[1]
    if move == 0 or (move > 0 and day + move <= length) or (move < 0 and -move <= day - 1):
        day += move
    else:
        moved = datetime.date(year, month, 1) + datetime.timedelta(days=day - 1 + move)
        year, month, day = moved.year, moved.month, moved.day

    hour, rest = divmod(clock, 3600 * 10**9)
    minute, rest = divmod(rest, 60 * 10**9)
    second, nanos = divmod(rest, 10**9)
    return (year, month, day, hour, minute, second, nanos)


def random_value(rng):
    year, month = rng.randint(1000, 8999), rng.randint(1, 12)
    day = rng.randint(1, calendar.monthrange(year, month)[1])
    if rng.random() < 0.1:
        day = calendar.monthrange(year, month)[1]  # month ends are where the walking differs most
    nanos = rng.choice([0, rng.randint(0, 999) * 10**6, rng.randint(0, 10**9 - 1)])
    return (year, month, day, rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59), nanos)


def random_span(rng):
    def amount(limit):
        return rng.randint(0, limit) if rng.random() < 0.6 else 0
    span = (rng.random() < 0.4, amount(40), amount(30), amount(800), amount(200), amount(5000),
            amount(400000), amount(10**9 - 1))
    return span if any(span[1:]) else span[:6] + (1,) + span[7:]


def random_span_like(rng, span):
    """A span equal to or near `span`, written differently (12 months for a year, 24 hours
    for a day, 60 minutes for an hour), so that equal and indeterminate results occur."""
    neg, years, months, days, hours, minutes, seconds, nanos = span
    return rng.choice([(neg, 0, months + 12 * years, days, hours, minutes, seconds, nanos),
                       (neg, years, months, 0, hours + 24 * days, minutes, seconds, nanos),
                       (neg, years, months, days, 0, minutes + 60 * hours, seconds, nanos),
                       (neg, years, 0, days + 30 * months, hours, minutes, seconds, nanos),
                       (neg, years, months, days, hours, minutes, seconds + 1, nanos)])


def random_zone(rng):
    pick = rng.random()
    if pick < 0.2:
        return None
    hours = rng.randint(-14, 14)
    if pick < 0.35 or (hours == 0 and rng.random() < 0.5):
        return "Z"
    return (hours, rng.choice([0, 0, 30, 45, rng.randint(0, 59)]))


def utc_instant(value, zone):
    year, month, day, hour, minute, second, nanos = value
    moment = datetime.datetime(year, month, day, hour, minute, second, tzinfo=UTC)
    offset = datetime.timedelta(0)
    if isinstance(zone, tuple):
        hours, minutes = zone
        # The sign of an offset lives in its hour; "-00:30" cannot occur here.
        offset = datetime.timedelta(hours=hours, minutes=minutes if hours >= 0 else -minutes)
    return calendar.timegm((moment - offset).utctimetuple()) * 10**9 + nanos


def compare_numbers(a, b):
    return "EQ" if a == b else ("LT" if a < b else "GT")


def compare(a, zone_a, b, zone_b):
    """The XSD order relation of two dateTimes: a value without a zone lies somewhere
    between 14 hours before and 14 hours after its UTC reading."""
    x, y = utc_instant(a, zone_a), utc_instant(b, zone_b)
    if (zone_a is None) == (zone_b is None):
        return compare_numbers(x, y)
    fourteen = 14 * 3600 * 10**9
    if zone_b is not None:  # the same question asked the other way round
        return {"LT": "GT", "GT": "LT", "IND": "IND"}[compare(b, zone_b, a, zone_a)]
    return "LT" if x < y - fourteen else "GT" if x > y + fourteen else "IND"


REFERENCES = [(1696, 9, 1, 0, 0, 0, 0), (1697, 2, 1, 0, 0, 0, 0), (1903, 3, 1, 0, 0, 0, 0), (1903, 7, 1, 0, 0, 0, 0)]


def instant_of(fields):
    """Fields that may carry a day past the month's end, as one comparable number."""
    year, month, day, hour, minute, second, nanos = fields
    base = datetime.date(year, month, 1).toordinal() + day - 1
    return ((base * 86400 + (hour * 60 + minute) * 60 + second) * 10**9) + nanos


def compare_spans(a, b):
    results = {compare_numbers(instant_of(add(r, a)), instant_of(add(r, b))) for r in REFERENCES}
    return results.pop() if len(results) == 1 else "IND"


def dates(rng, count):
    out = []
    for _ in range(count):
        value, span = random_value(rng), random_span(rng)
        out.append("ADD %s %s %s" % (datetime_text(*value), span_text(span), " ".join(map(str, add(value, span)))))

        zone = random_zone(rng)
        text = datetime_text(*value, zone=zone)
        out.append("TEXT " + text)
        seconds = utc_instant(value, zone) // 10**9
        moment = datetime.datetime.fromtimestamp(seconds, UTC)
        if isinstance(zone, tuple):
            out.append("NORM %s %s" % (text, datetime_text(*moment.timetuple()[:6], value[6], (0, 0))))
        out.append("TIME %s %d %d %d" % (text, seconds, moment.isoweekday() % 7 + 1,
                                        datetime.date(*value[:3]).timetuple().tm_yday))

        other = value
        if rng.random() < 0.7:
            # A nearby instant so that the 14-hour window matters often.
            other = add(value, (rng.random() < 0.5, 0, 0, 0, rng.randint(0, 40), rng.randint(0, 59), 0, 0))
        other_zone = random_zone(rng)
        out.append("CMP %s %s %s" % (text, datetime_text(*other, zone=other_zone),
                                     compare(value, zone, other, other_zone)))

        span_b = random_span(rng) if rng.random() < 0.5 else random_span_like(rng, span)
        out.append("SPAN %s %s %s" % (span_text(span), span_text(span_b), compare_spans(span, span_b)))
    print("\n".join(out))


MODES = {
    "bigint_arith": bigint_arith, "bigint_huge": lambda rng, count: bigint_arith(rng, count, 3000),  # thousands of digits
    "double_ints": double_ints,
    "bigint_parse": bigint_parse, "decimal_arith": decimal_arith,
    "decimal_parse": decimal_parse, "decimal_format": decimal_format, "conversions": conversions, "dates": dates,
}

if __name__ == "__main__":
    mode, count, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    if len(sys.argv) > 4:
        MAXPLACES = int(sys.argv[4])
    MODES[mode](random.Random(seed), count)

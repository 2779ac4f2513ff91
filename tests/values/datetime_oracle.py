#!/usr/bin/env python3
"""Independent oracle for the date/time and duration tests.

Generates random cases from a seed and prints one case per line together with the
expected outcome, computed with Python's datetime, calendar and big integers rather than
with the field-by-field carries the C++ code uses:

  ADD   <start> <span> <year> <month> <day> <hour> <minute> <second> <nanos>
  NORM  <value> <expected canonical form>
  TIME  <value> <seconds since 1970> <day of week 1=Sunday> <day of year>
  CMP   <a> <b> <EQ|LT|GT|IND>
  SPAN  <a> <b> <EQ|LT|GT|IND>
  TEXT  <canonical form>           (must read back and write back unchanged)

Usage: datetime_oracle.py SEED COUNT
"""
import calendar
import datetime
import random
import sys

NS_PER_DAY = 86400 * 10**9
UTC = datetime.timezone.utc


def month_length(year, month):
    return calendar.monthrange(year, month)[1]


def fraction_text(nanos):
    if nanos == 0:
        return ""
    return "." + ("%09d" % nanos).rstrip("0")


def zone_text(zone):
    if zone is None:
        return ""
    if zone == "Z":
        return "Z"
    hours, minutes = zone
    return "%s%02d:%02d" % ("-" if hours < 0 else "+", abs(hours), minutes)


def datetime_text(year, month, day, hour, minute, second, nanos, zone=None):
    return "%04d-%02d-%02dT%02d:%02d:%02d%s%s" % (
        year, month, day, hour, minute, second, fraction_text(nanos), zone_text(zone))


def span_text(span):
    neg, years, months, days, hours, minutes, seconds, nanos = span
    text = "-P" if neg else "P"
    if years:
        text += "%dY" % years
    if months:
        text += "%dM" % months
    if days:
        text += "%dD" % days
    if hours or minutes or seconds or nanos:
        text += "T"
        if hours:
            text += "%dH" % hours
        if minutes:
            text += "%dM" % minutes
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
    delta = (((s_hours * 60 + s_minutes) * 60 + s_seconds) * 10**9 + s_nanos) * sign
    total = clock + delta
    move = total // NS_PER_DAY + sign * s_days
    clock = total % NS_PER_DAY

    length = month_length(year, month)
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
    year = rng.randint(1000, 8999)
    month = rng.randint(1, 12)
    day = rng.randint(1, month_length(year, month))
    if rng.random() < 0.1:
        day = month_length(year, month)  # month ends are where the walking differs most
    nanos = rng.choice([0, rng.randint(0, 999) * 10**6, rng.randint(0, 10**9 - 1)])
    return (year, month, day, rng.randint(0, 23), rng.randint(0, 59), rng.randint(0, 59), nanos)


def random_span(rng):
    def amount(limit):
        return rng.randint(0, limit) if rng.random() < 0.6 else 0
    span = (rng.random() < 0.4, amount(40), amount(30), amount(800), amount(200), amount(5000),
            amount(400000), amount(10**9 - 1))
    if not any(span[1:]):
        span = span[:6] + (1,) + span[7:]
    return span


def random_zone(rng):
    pick = rng.random()
    if pick < 0.2:
        return None
    if pick < 0.35:
        return "Z"
    hours = rng.randint(-14, 14)
    minutes = rng.choice([0, 0, 30, 45, rng.randint(0, 59)])
    if hours == 0 and rng.random() < 0.5:
        return "Z"
    return (hours, minutes)


def utc_instant(value, zone):
    year, month, day, hour, minute, second, nanos = value
    moment = datetime.datetime(year, month, day, hour, minute, second, tzinfo=UTC)
    offset = datetime.timedelta(0)
    if isinstance(zone, tuple):
        hours, minutes = zone
        # The sign of an offset lives in its hour; "-00:30" cannot occur here.
        offset = datetime.timedelta(hours=hours, minutes=minutes if hours >= 0 else -minutes)
    seconds = calendar.timegm((moment - offset).utctimetuple())
    return seconds * 10**9 + nanos


def compare_numbers(a, b):
    return "EQ" if a == b else ("LT" if a < b else "GT")


def compare(a, zone_a, b, zone_b):
    """The XSD order relation of two dateTimes: a value without a zone lies somewhere
    between 14 hours before and 14 hours after its UTC reading."""
    x = utc_instant(a, zone_a)
    y = utc_instant(b, zone_b)
    if (zone_a is None) == (zone_b is None):
        return compare_numbers(x, y)
    fourteen = 14 * 3600 * 10**9
    if zone_a is not None:
        if x < y - fourteen:
            return "LT"
        if x > y + fourteen:
            return "GT"
        return "IND"
    if x - fourteen > y:
        return "GT"
    if x + fourteen < y:
        return "LT"
    return "IND"


REFERENCES = [(1696, 9, 1, 0, 0, 0, 0), (1697, 2, 1, 0, 0, 0, 0),
              (1903, 3, 1, 0, 0, 0, 0), (1903, 7, 1, 0, 0, 0, 0)]


def instant_of(fields):
    """Fields that may carry a day past the month's end, as one comparable number."""
    year, month, day, hour, minute, second, nanos = fields
    base = datetime.date(year, month, 1).toordinal() + day - 1
    return ((base * 86400 + (hour * 60 + minute) * 60 + second) * 10**9) + nanos


def compare_spans(a, b):
    results = [compare_numbers(instant_of(add(r, a)), instant_of(add(r, b))) for r in REFERENCES]
    return results[0] if all(r == results[0] for r in results) else "IND"


def main():
    seed = int(sys.argv[1])
    count = int(sys.argv[2])
    rng = random.Random(seed)
    out = []
    for _ in range(count):
        value = random_value(rng)
        span = random_span(rng)
        result = add(value, span)
        out.append("ADD %s %s %s" % (datetime_text(*value), span_text(span), " ".join(map(str, result))))

        zone = random_zone(rng)
        text = datetime_text(*value, zone=zone)
        out.append("TEXT " + text)
        if isinstance(zone, tuple):
            year, month, day, hour, minute, second = datetime.datetime.fromtimestamp(
                utc_instant(value, zone) // 10**9, UTC).timetuple()[:6]
            out.append("NORM %s %s" % (text, datetime_text(year, month, day, hour, minute, second,
                                                           value[6], (0, 0))))
        seconds = utc_instant(value, zone) // 10**9
        local = datetime.date(*value[:3])
        moment = datetime.datetime.fromtimestamp(seconds, UTC)
        out.append("TIME %s %d %d %d" % (text, seconds, moment.isoweekday() % 7 + 1,
                                        local.timetuple().tm_yday))

        other = value
        if rng.random() < 0.7:
            # A nearby instant so that the 14-hour window matters often.
            other = add(value, (rng.random() < 0.5, 0, 0, 0, rng.randint(0, 40), rng.randint(0, 59), 0, 0))
        other_zone = random_zone(rng)
        out.append("CMP %s %s %s" % (text, datetime_text(*other, zone=other_zone),
                                     compare(value, zone, other, other_zone)))

        span_b = random_span(rng) if rng.random() < 0.5 else random_span_like(rng, span)
        out.append("SPAN %s %s %s" % (span_text(span), span_text(span_b), compare_spans(span, span_b)))
    sys.stdout.write("\n".join(out) + "\n")


def random_span_like(rng, span):
    """A span equal to or near `span`, written differently (12 months for a year, 24 hours
    for a day, 60 minutes for an hour), so that equal and indeterminate results occur."""
    neg, years, months, days, hours, minutes, seconds, nanos = span
    choice = rng.randint(0, 4)
    if choice == 0:
        return (neg, 0, months + 12 * years, days, hours, minutes, seconds, nanos)
    if choice == 1:
        return (neg, years, months, 0, hours + 24 * days, minutes, seconds, nanos)
    if choice == 2:
        return (neg, years, months, days, 0, minutes + 60 * hours, seconds, nanos)
    if choice == 3:
        return (neg, years, 0, days + 30 * months, hours, minutes, seconds, nanos)
    return (neg, years, months, days, hours, minutes, seconds + 1, nanos)


if __name__ == "__main__":
    main()

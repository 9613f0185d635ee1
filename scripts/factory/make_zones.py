#!/usr/bin/env python3
"""Factory zone data: writes into data/Towns/
  * Time.ttt       the zone hours of each Russian and CIS region for the eleven
                   periods between the decree moments;
  * Hour_zone.ttt  the summer-time switches shared by every region, as Julian
                   days on the chart's time scale;
  * "Region <code>.zon", one zone-rule file per region of Time.ttt: the
    whole history of the region's IANA zone, which the lookup of a Russian
    or CIS town reads before Time.ttt and Hour_zone.ttt (see "Files of the
    regions" below);
  * the thirty zone-rule files (.zon) named by country or state, one change
    of zone a line;
  * "Zone 31.zon" to "Zone 99.zon", the same for the zones of the other
    foreign towns (see "Files 31 to 99" below), and zone_groups.tsv beside
    this script, which says which tz zones take each file; the towns
    generator reads it, so this script runs first.

Source: the IANA time-zone database (public domain) as Debian's tzdata package
installs it under /usr/share/zoneinfo: the compiled TZif files are read here
with the standard library. No network is used. The data written depends on
the installed tzdata release, which the script prints; the committed files
were made from release 2025b.

Which IANA zone each region follows, and which zone each .zon file follows
(including our choice of states for "Australia 1" to "Australia 6" and
"Australia", and of Romania and Portugal for "Eastern Europe" and "Western
Europe"), is recorded in regions.py beside this script (REGIONS and
ZON_FILES), which the towns generator shares.

Files of the regions: each change of the region's clock is a zone line,
stamped with the clock reading just before it, so a reading skipped in spring
takes the new zone and one repeated in autumn the old one. Mean times (the
database's LMT, and every offset that is no whole quarter of an hour: the
mean times of Moscow, Kyiv, Tallinn and the like before standard time) are
written as local-mean-time lines, for which the lookup takes the town's own
mean time: a mean time is that of one town, not of its region.

The model of Time.ttt and Hour_zone.ttt, which serves a region without a file
of its own, and what it cannot show:
  * A region has one standard zone per period. Periods 1 to 10 take the
    standard offset (the clock less any summer hour) that held for the longest
    time within the period; period 11 (from 19 January 1992 on) takes the
    standard offset of the present day (as of 2037 in the database), because
    charts are mostly cast for the present. So regions that moved after 1992
    (Samara 2010, the Volga regions in 2016, Volgograd 2018/2020, and others)
    show today's zone for the whole of 1992-2010 too.
  * One list of summer-time switches serves every region; it is that of
    Moscow (region "10"): the Soviet and Russian summer time 1981-2010, and
    27 March 2011 to 26 October 2014, when Russia kept the clock an hour ahead
    all year, as one long summer. Countries that followed other rules after
    1991 (Ukraine, the Baltic states and Moldova keep EU summer time; Belarus,
    the Caucasus, Kazakhstan and Central Asia dropped summer time between 1992
    and 2016) are shown with Moscow's summer time. Between 0 h and 2 h on
    19 January 1992 Moscow's clock was still an hour behind its new zone,
    which one list cannot show.
  * Before 2 May 1924 every region keeps local mean time, and so do regions
    "1" to "5" until 9 February 1931.
  * A zone-rule file holds hours and minutes: offsets with seconds (mean-time
    zones such as Amsterdam's before 1937) are rounded to the minute.
The script prints, for each region, how many days since 2 May 1924 the model
differs from the database.

Files 31 to 99: the foreign towns that no file of regions.ZON_FILES covers
are taken by their tz zone (towns_geonames.tsv). A zone whose clock kept its
own standard offset since 1950 needs no file: its towns keep "00" and their
own zone. The others are grouped by their clock offsets from 1950 to the
horizon (class Grouping): zones with the same history share a file, a zone
whose history is that of a file 1-30 takes that file, and where there are
more histories than the 69 two-digit numbers left, the groups whose towns
lose least are merged into the nearest file or left on their own zone. Each
file is the whole history of one zone of its group, local mean time first.
The script lists the zones left on a fixed zone and the share of town-time
since 1950 that the grouping gets wrong.

Standard library only. Run from anywhere:  python3 scripts/factory/make_zones.py
"""

import datetime
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # leave no cache files in the source tree
sys.path.insert(0, HERE)
import make_towns  # noqa: E402  (its reader of the towns table)
import regions  # noqa: E402  (shared with the towns generator)

ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
TARGET = os.path.join(ROOT, "data", "Towns")
ZONEINFO = "/usr/share/zoneinfo"

# Horizon of the data: every change up to the end of 2037 is spelled out.
LAST_YEAR = 2037
HORIZON = int(datetime.datetime(LAST_YEAR + 1, 1, 1, tzinfo=datetime.timezone.utc).timestamp())

# Region whose summer time the single switch list follows.
SUMMER_REGION = "10"
# Time.ttt has 61 region lines; lines after the last region repeat this one.
REGION_LINES = 61
PAD_REGION = "10"
# Regions the lookup keeps on local mean time until 9 February 1931.
LMT_REGIONS = ("1", "2", "3", "4", "5")

# The decree moments bounding the eleven periods, as local clock readings
# (year, month, day): 0 h of each day.
DECREES = [
    (1924, 5, 2), (1930, 6, 21), (1931, 2, 9), (1940, 8, 5), (1956, 12, 1),
    (1981, 10, 1), (1982, 4, 1), (1988, 3, 27), (1989, 3, 26), (1991, 3, 31),
    (1992, 1, 19),
]
# The program's own values of the same moments (Julian days, chart scale).
DECREE_DAYS = [
    2423907.4999, 2426148.5, 2426381.5, 2429846.5, 2435808.5003, 2444878.5006,
    2445060.5006, 2447247.5007, 2447611.5007, 2448346.5008, 2448640.5008,
]

EPOCH = datetime.datetime(1970, 1, 1)  # seconds count from here, UT or local reading

MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]


# ---- Julian day on the chart's time scale ---------------------------------

def single(x):
    """x rounded to single precision, as the program passes hours."""
    return struct.unpack("<f", struct.pack("<f", x))[0]


# The program's Delta T (engine/astromath.cpp): the observed values at the
# start of each year 1973 .. 2025 (IERS), the polynomials of Espenak and
# Meeus, "Five Millennium Canon of Solar Eclipses" (2006) elsewhere, their
# difference from the table faded out over 1961 .. 1973 and 2025 .. 2050.
OBSERVED_FIRST_YEAR = 1973
OBSERVED_DELTA_T = [
    43.37, 44.48, 45.48, 46.46, 47.52, 48.53, 49.59, 50.54, 51.38, 52.17, 52.96,
    53.79, 54.34, 54.87, 55.32, 55.82, 56.30, 56.86, 57.57, 58.31, 59.12,
    59.98, 60.79, 61.63, 62.30, 62.97, 63.47, 63.83, 64.09, 64.30, 64.47,
    64.57, 64.69, 64.85, 65.15, 65.46, 65.78, 66.07, 66.32, 66.60, 66.91,
    67.28, 67.64, 68.10, 68.59, 68.97, 69.22, 69.36, 69.36, 69.29, 69.20,
    69.18, 69.14,
]
OBSERVED_LAST_YEAR = OBSERVED_FIRST_YEAR + len(OBSERVED_DELTA_T) - 1
BLEND_BEFORE, BLEND_AFTER = 1961.0, 2050.0


def poly(t, coefficients):
    total = 0.0
    for c in reversed(coefficients):
        total = total * t + c
    return total


def espenak_meeus_delta_t(y):
    u = (y - 1820.0) / 100.0
    if y < -500.0 or y >= 2150.0:
        return -20.0 + 32.0 * u * u
    if y < 500.0:
        return poly(y / 100.0, [10583.6, -1014.41, 33.78311, -5.952053, -0.1798452,
                                0.022174192, 0.0090316521])
    if y < 1600.0:
        return poly((y - 1000.0) / 100.0, [1574.2, -556.01, 71.23472, 0.319781, -0.8503463,
                                           -0.005050998, 0.0083572073])
    if y < 1700.0:
        return poly(y - 1600.0, [120.0, -0.9808, -0.01532, 1.0 / 7129.0])
    if y < 1800.0:
        return poly(y - 1700.0, [8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000.0])
    if y < 1860.0:
        return poly(y - 1800.0, [13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436,
                                 0.0000121272, -0.0000001699, 0.000000000875])
    if y < 1900.0:
        return poly(y - 1860.0, [7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624,
                                 1.0 / 233174.0])
    if y < 1920.0:
        return poly(y - 1900.0, [-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197])
    if y < 1941.0:
        return poly(y - 1920.0, [21.20, 0.84493, -0.076100, 0.0020936])
    if y < 1961.0:
        return poly(y - 1950.0, [29.07, 0.407, -1.0 / 233.0, 1.0 / 2547.0])
    if y < 1986.0:
        return poly(y - 1975.0, [45.45, 1.067, -1.0 / 260.0, -1.0 / 718.0])
    if y < 2005.0:
        return poly(y - 2000.0, [63.86, 0.3345, -0.060374, 0.0017275, 0.000651814,
                                 0.00002373599])
    if y < 2050.0:
        return poly(y - 2000.0, [62.92, 0.32217, 0.005589])
    return -20.0 + 32.0 * u * u - 0.5628 * (2150.0 - y)


def delta_t_seconds(jd):
    """Delta T, seconds, at a Julian day, as the program computes it."""
    y = 2000.0 + (jd - 2451544.5) / 365.2425
    if OBSERVED_FIRST_YEAR <= y <= OBSERVED_LAST_YEAR:
        at = y - OBSERVED_FIRST_YEAR
        i = min(int(at), OBSERVED_LAST_YEAR - OBSERVED_FIRST_YEAR - 1)
        return OBSERVED_DELTA_T[i] + (at - i) * (OBSERVED_DELTA_T[i + 1] - OBSERVED_DELTA_T[i])
    model = espenak_meeus_delta_t(y)
    if BLEND_BEFORE < y < OBSERVED_FIRST_YEAR:
        offset = OBSERVED_DELTA_T[0] - espenak_meeus_delta_t(OBSERVED_FIRST_YEAR)
        return model + offset * (y - BLEND_BEFORE) / (OBSERVED_FIRST_YEAR - BLEND_BEFORE)
    if OBSERVED_LAST_YEAR < y < BLEND_AFTER:
        offset = OBSERVED_DELTA_T[-1] - espenak_meeus_delta_t(OBSERVED_LAST_YEAR)
        return model + offset * (BLEND_AFTER - y) / (BLEND_AFTER - OBSERVED_LAST_YEAR)
    return model


def julian_day(day, month, year, hours):
    """Julian day of a date and time plus Delta T, as the program computes it.

    Julian calendar up to 4 October 1582, Gregorian after; hours are taken in
    single precision. Delta T as delta_t_seconds below."""
    key = 10000.0 * year + 100.0 * month + day
    y, mo = float(year), float(month)
    if month <= 2:
        mo += 12
        y -= 1
    if key <= 15821004.1:
        b = float((int((y + 4716) // 4)) - 2 - 1179)
    else:
        b = float(int(y * 0.0025 // 1) - int(y * 0.01 // 1) + int(y * 0.25 // 1))
    h = single(hours)
    mjd = 365.0 * y - 679004.0 + b + float(int(30.6001 * (mo + 1) // 1)) + day + h / 24.0
    jd = mjd + 2400000.5
    return jd + delta_t_seconds(jd) / 86400.0


def julian_day_of_reading(seconds):
    """Julian day of a local clock reading given as seconds since 1970-01-01 0 h."""
    d = EPOCH + datetime.timedelta(seconds=seconds)
    hours = d.hour + d.minute / 60.0 + d.second / 3600.0
    return julian_day(d.day, d.month, d.year, hours)


def fmt_float(x):
    """A float as the program writes it: general format, 15 significant digits."""
    return "%.15g" % x


# ---- TZif files ------------------------------------------------------------

class Zone:
    """A zone's history: transitions (UT seconds) with the offset, the summer
    flag and the abbreviation in force from each, and what held before."""

    def __init__(self, name, initial, transitions):
        self.name = name
        self.initial = initial          # (offset seconds, isdst, abbreviation)
        self.transitions = transitions  # [(ut seconds, offset seconds, isdst, abbreviation)]

    def at(self, ut):
        """(offset, isdst, abbreviation) in force at UT seconds."""
        current = self.initial
        for t, off, dst, abbr in self.transitions:
            if t > ut:
                break
            current = (off, dst, abbr)
        return current


def read_tzif(name):
    """Reads /usr/share/zoneinfo/<name> (TZif version 2 or later: the 64-bit
    block and the POSIX rule that extends it)."""
    with open(os.path.join(ZONEINFO, name), "rb") as f:
        data = f.read()
    if data[:4] != b"TZif":
        raise ValueError("%s: not a TZif file" % name)

    def header(at):
        return struct.unpack(">6l", data[at + 20:at + 44])

    isutcnt, isstdcnt, leapcnt, timecnt, typecnt, charcnt = header(0)
    skip = 44 + timecnt * 5 + typecnt * 6 + charcnt + leapcnt * 8 + isstdcnt + isutcnt
    if data[4:5] < b"2":
        raise ValueError("%s: version 1 TZif file" % name)
    at = skip
    isutcnt, isstdcnt, leapcnt, timecnt, typecnt, charcnt = header(at)
    at += 44
    times = struct.unpack(">%dq" % timecnt, data[at:at + 8 * timecnt])
    at += 8 * timecnt
    idx = data[at:at + timecnt]
    at += timecnt
    types = []
    for i in range(typecnt):
        off, dst, ai = struct.unpack(">lBB", data[at + 6 * i:at + 6 * i + 6])
        types.append((off, dst, ai))
    at += 6 * typecnt
    chars = data[at:at + charcnt]
    at += charcnt + leapcnt * 12 + isstdcnt + isutcnt
    footer = data[at:].strip(b"\n").decode("ascii")

    def abbr(ai):
        return chars[ai:chars.index(b"\0", ai)].decode("ascii")

    ttypes = [(off, dst, abbr(ai)) for off, dst, ai in types]
    transitions = [(t,) + ttypes[i] for t, i in zip(times, idx) if t < HORIZON]
    initial = ttypes[0]
    last = times[-1] if times else None
    if footer and (last is None or last < HORIZON):
        transitions += expand_posix(footer, last)
        transitions.sort()
    return Zone(name, initial, transitions)


def parse_posix(tz):
    """Splits a POSIX TZ string into (std abbr, std offset, dst abbr, dst offset,
    start rule, start time, end rule, end time); offsets East positive seconds."""
    pos = 0

    def name():
        nonlocal pos
        if tz[pos] == "<":
            end = tz.index(">", pos)
            s = tz[pos + 1:end]
            pos = end + 1
            return s
        start = pos
        while pos < len(tz) and tz[pos].isalpha():
            pos += 1
        return tz[start:pos]

    def clock():
        nonlocal pos
        sign = 1
        if pos < len(tz) and tz[pos] in "+-":
            sign = -1 if tz[pos] == "-" else 1
            pos += 1
        start = pos
        while pos < len(tz) and (tz[pos].isdigit() or tz[pos] == ":"):
            pos += 1
        parts = [int(p) for p in tz[start:pos].split(":")] + [0, 0]
        return sign * (parts[0] * 3600 + parts[1] * 60 + parts[2])

    std = name()
    std_off = -clock()
    if pos == len(tz):
        return std, std_off, None, None, None, None, None, None
    dst = name()
    dst_off = std_off + 3600
    if pos < len(tz) and tz[pos] != ",":
        dst_off = -clock()
    rules = []
    while pos < len(tz) and tz[pos] == ",":
        pos += 1
        start = pos
        while pos < len(tz) and tz[pos] not in ",/":
            pos += 1
        rule = tz[start:pos]
        when = 7200
        if pos < len(tz) and tz[pos] == "/":
            pos += 1
            when = clock()
        rules.append((rule, when))
    return std, std_off, dst, dst_off, rules[0][0], rules[0][1], rules[1][0], rules[1][1]


def rule_date(rule, year):
    """Day of a POSIX date rule (Mm.w.d, Jn or n) in a year."""
    if rule.startswith("M"):
        m, w, d = (int(p) for p in rule[1:].split("."))
        first = datetime.date(year, m, 1)
        day = first + datetime.timedelta(days=(d - (first.weekday() + 1) % 7) % 7)
        day += datetime.timedelta(weeks=w - 1)
        while day.month != m:
            day -= datetime.timedelta(weeks=1)
        return day
    if rule.startswith("J"):
        n = int(rule[1:])
        day = datetime.date(year, 1, 1) + datetime.timedelta(days=n - 1)
        if n >= 60 and year % 4 == 0 and (year % 100 != 0 or year % 400 == 0):
            day += datetime.timedelta(days=1)
        return day
    return datetime.date(year, 1, 1) + datetime.timedelta(days=int(rule))


def expand_posix(tz, after):
    """Transitions of a POSIX rule from the year of `after` to the horizon."""
    std, std_off, dst, dst_off, start, start_at, end, end_at = parse_posix(tz)
    if dst is None:
        return []
    first_year = 1970 if after is None else (EPOCH + datetime.timedelta(seconds=after)).year
    out = []
    for year in range(first_year, LAST_YEAR + 1):
        for rule, when, before, off, isdst, abbr in (
                (start, start_at, std_off, dst_off, 1, dst),
                (end, end_at, dst_off, std_off, 0, std)):
            day = rule_date(rule, year)
            local = datetime.datetime(day.year, day.month, day.day) + datetime.timedelta(seconds=when)
            ut = int((local - EPOCH).total_seconds()) - before
            if (after is None or ut > after) and ut < HORIZON:
                out.append((ut, off, isdst, abbr))
    return out


# ---- periods and the region table ------------------------------------------


def reading(y, m, d, hour=0, minute=0):
    """A local clock reading as seconds since 1970-01-01 0 h (no zone)."""
    return int((datetime.datetime(y, m, d, hour, minute) - EPOCH).total_seconds())


DECREE_READINGS = [reading(*d) for d in DECREES]


def standard_offset(off, isdst):
    """The zone's standard offset: the clock less its summer hour."""
    return off - 3600 if isdst else off


def offset_by_reading(zone):
    """The zone's offset as a step function of the local clock reading:
    [(reading from which it holds, offset, isdst)]. A change takes effect at the
    clock reading just before it (the old offset), so readings skipped in spring
    count as the new zone and readings repeated in autumn as the old one."""
    off, dst, _ = zone.initial
    steps = [(None, off, dst)]
    for ut, new_off, new_dst, _ in zone.transitions:
        steps.append((ut + off, new_off, new_dst))
        off = new_off
    return steps


def period_fields(zone):
    """Zone hours of periods 1 to 11: the standard offset that held longest in
    each of periods 1-10, and the present standard offset for period 11."""
    steps = offset_by_reading(zone)
    fields = []
    for k in range(1, 11):
        lo, hi = DECREE_READINGS[k - 1], DECREE_READINGS[k]
        spent = {}
        for i, (start, off, dst) in enumerate(steps):
            end = steps[i + 1][0] if i + 1 < len(steps) else HORIZON
            a = lo if start is None else max(lo, start)
            b = min(hi, end)
            if b > a:
                std = standard_offset(off, dst)
                spent[std] = spent.get(std, 0) + (b - a)
        fields.append(max(spent, key=spent.get))
    _, off, dst = steps[-1]
    fields.append(standard_offset(off, dst))
    return fields


def hour_fields(code, zone):
    """period_fields in whole hours. Only a period the lookup fills with local
    mean time anyway (periods 1 and 2 of regions "1" to "5") may round."""
    hours = []
    for k, f in enumerate(period_fields(zone), start=1):
        if f % 3600:
            if not (code in LMT_REGIONS and k <= 2):
                raise ValueError("%s: standard offset %d s in period %d is not a whole hour"
                                 % (zone.name, f, k))
            f = 3600 * round(f / 3600.0)
        hours.append(f // 3600)
    return hours


def period_of(r):
    """Period (0-11) of a clock reading."""
    k = 0
    while k < len(DECREE_READINGS) and DECREE_READINGS[k] <= r:
        k += 1
    return k


def summer_switches(zone, fields):
    """Readings at which summer time begins and ends, so that the period field
    plus the summer hour gives the zone's clock offset; from the first decree on.
    Returns (switches, [(reading, gap seconds)] where no 0/1 hour fits)."""
    steps = offset_by_reading(zone)
    points = sorted({s for s, _, _ in steps[1:] if s >= DECREE_READINGS[0]} | set(DECREE_READINGS))
    switches, misfits = [], []
    summer = 0
    for p in points:
        off = [o for s, o, _ in steps if s is None or s <= p][-1]
        diff = off - 3600 * fields[period_of(p) - 1]
        now = 1 if diff == 3600 else 0
        if diff not in (0, 3600):
            misfits.append((p, diff))
        if now != summer:
            switches.append(p)
            summer = now
    if summer:
        raise ValueError("the summer-time list ends in summer")
    return switches, misfits


def model_mismatch(code, zone, fields, switches):
    """Seconds of clock reading from the first decree to the horizon in which
    the region's model offset differs from the database (periods of local mean
    time left out)."""
    steps = offset_by_reading(zone)
    points = sorted({s for s, _, _ in steps[1:] if s >= DECREE_READINGS[0]} | set(DECREE_READINGS)
                    | set(switches) | {HORIZON})
    wrong = 0
    for a, b in zip(points, points[1:]):
        k = period_of(a)
        if code in LMT_REGIONS and k <= 2:
            continue
        summer = sum(1 for s in switches if s <= a) % 2
        model = 3600 * (fields[k - 1] + summer)
        off = [o for s, o, _ in steps if s is None or s <= a][-1]
        if off != model:
            wrong += b - a
    return wrong


def time_ttt(table):
    """Lines of Time.ttt: line 0 numbers the periods; then one line per region,
    the zone hours of period k at column 6 + 4 (k - 1)."""
    def line(name, values):
        text = (name + "=").ljust(5)
        for v in values:
            text += "%02d" % v + "  "
        return text.rstrip()
    lines = [line("", range(1, 12))]
    for code, fields in table:
        lines.append(line(code, fields))
    return lines


# ---- zone-rule files -------------------------------------------------------

# The zone abbreviations of the program's list (those of at most four
# characters, the width of the abbreviation column of a zone-rule line) with
# their offsets, hours East.
LIST_ABBREVIATIONS = {
    "NZDT": 13, "IDLE": 12, "NZST": 12, "NZT": 12, "NZ": 11.5, "AEDT": 11,
    "CADT": 10.5, "SADT": 10.5, "ACDT": 10.5, "AEST": 10, "EAST": -10, "GST": 10,
    "LIGT": -10, "ACST": 9.5, "CAST": 9.5, "SAT": 9.5, "AWDT": 9, "JST": 9,
    "KST": 9, "WDT": 9, "MT": 8.5, "AWST": 8, "CCT": 8, "WADT": 8, "WST": 8,
    "JT": 7.5, "WAST": 7, "IT": 3.5, "BT": 3, "BAT": 3, "EET": 2, "FWT": 2,
    "IST": 2, "MEST": 2, "SST": 2, "BST": 1, "CET": 1, "DNT": 1, "DST": 1,
    "FST": 1, "MET": 1, "MEWT": 1, "MEZ": 1, "NOR": 1, "SET": 1, "SWT": 1,
    "GMT": 0, "WET": 0, "WAT": -1, "NDT": -2.5, "ADT": -3, "NFT": -3.5,
    "NST": -3.5, "AST": -4, "EDT": -4, "CDT": -5, "EST": -5, "CST": -6,
    "MDT": -6, "MST": -7, "PDT": -7, "PST": -8, "YDT": -8, "HDT": -9, "YST": -9,
    "AHST": -10, "CAT": -10, "NT": -11, "IDLW": -12,
}

# Database abbreviations written under another name, by (abbreviation,
# offset in minutes East): the list's spelling of the same zone, or, where
# the list has the name for another offset or the name is too long, a name
# the list does not hold (so the list shows no entry for it).
RENAMES = {
    ("CEST", 120): "MEST",    # Middle Europe Summer Time
    ("NZMT", 690): "NZ",      # New Zealand (mean) time, 11 h 30 min
    ("NZST", 750): "NZS",     # New Zealand summer time 1927-1945, 12 h 30 min
    ("ACST", 540): "+09",     # South Australia and Northern Territory 1895-1899
    ("IST", 35): "DMST",      # Irish summer time 1916 on Dublin mean time
    ("IST", 60): "+01",       # Irish standard time
    ("NST", 80): "AMST",      # Amsterdam summer time
    ("+0120", 80): "AMST",
    ("+0020", 20): "AMT",     # Amsterdam time, 20 min
    ("CST", 480): "CCT",      # China (and Taiwan) Standard Time: the list's China Coastal Time
}


def minutes_east(seconds):
    """Offset rounded to whole minutes (halves away from zero)."""
    sign = -1 if seconds < 0 else 1
    return sign * ((abs(seconds) + 30) // 60)


def fits(name, m):
    """True when a name fits the abbreviation column and names no other
    offset in the program's list."""
    if not (1 <= len(name) <= 4) or name[0] == " ":
        return False
    return name not in LIST_ABBREVIATIONS or LIST_ABBREVIATIONS[name] * 60 == m


def abbreviation(abbr, off):
    """The abbreviation written for a database zone: its own name, or the
    list's spelling of it (RENAMES); where neither fits, the offset in the
    database's numeric style without the hours' leading zero ("+03", "+530",
    "-330"), and without its sign where that is still too long ("1130" for
    11 h 30 min West: the sign stands in column 31 beside it)."""
    m = minutes_east(off)
    name = RENAMES.get((abbr, m), abbr)
    if fits(name, m):
        return name
    sign = "-" if m < 0 else "+"
    hours, minutes = divmod(abs(m), 60)
    name = sign + ("%02d" % hours if minutes == 0 else "%d%02d" % (hours, minutes))
    if len(name) > 4:
        name = name[1:]
    if not fits(name, m):
        raise ValueError("no abbreviation of %d minutes fits a zone-rule line" % m)
    return name


def stamp(r):
    """Columns 1-19 of a zone-rule line: "dd Mon yyyy   hh:mm" of a reading,
    rounded to the minute."""
    d = EPOCH + datetime.timedelta(seconds=((r + 30) // 60) * 60)
    return "%02d %s %04d   %02d:%02d" % (d.day, MONTHS[d.month - 1], d.year, d.hour, d.minute)


def zone_hours(m):
    """Columns 31-36: "-" West or "+" East, then hh:mm."""
    return "%s%02d:%02d" % ("-" if m < 0 else "+", abs(m) // 60, abs(m) % 60)


def lmt_line(r, off):
    """A local-mean-time line: the mean time of the zone's reference meridian,
    longitude at columns 25-30 ("dddWmm" or "dddEmm"). A mean time reckoned
    across the date line (Apia's +12:33 before 1892) names its meridian
    folded into 180 degrees either side; columns 31-36 keep the clock's
    offset."""
    arc_minutes = (off + 2) // 4 if off >= 0 else -((-off + 2) // 4)  # 4 s of time = 1' of arc
    if arc_minutes > 180 * 60:
        arc_minutes -= 360 * 60
    elif arc_minutes < -180 * 60:
        arc_minutes += 360 * 60
    lon = "%03d%s%02d" % (abs(arc_minutes) // 60, "W" if arc_minutes < 0 else "E", abs(arc_minutes) % 60)
    return stamp(r) + "    " + " " + lon + zone_hours(minutes_east(off))


def zone_line(r, abbr, off):
    """A zone line: abbreviation at columns 24-27, zone at columns 31-36."""
    return stamp(r) + "    " + abbr.ljust(4) + "   " + zone_hours(minutes_east(off))


def zon_lines(zone):
    """Lines of a zone-rule file: the local-mean-time line, then each change of
    zone or abbreviation, stamped with the clock reading just before it."""
    lines = []
    off, dst, abbr = zone.initial
    first = zone.transitions[0][0] if zone.transitions else HORIZON
    if abbr == "LMT":
        lines.append(lmt_line(first + off, off))
        written = None
    else:
        lines.append(zone_line(reading(1800, 1, 1), abbreviation(abbr, off), off))
        written = (abbreviation(abbr, off), minutes_east(off))
    for ut, new_off, _, new_abbr in zone.transitions:
        shown = (abbreviation(new_abbr, new_off), minutes_east(new_off))
        if shown != written:
            lines.append(zone_line(ut + off, shown[0], new_off))
            written = shown
        off = new_off
    return lines


# ---- zone-rule files of the regions -------------------------------------------


def is_mean_time(abbr, off):
    """True for a mean time: the database's LMT, or an offset that is no whole
    quarter of an hour (Moscow's 2:30:17, Tallinn's 1:39)."""
    return abbr == "LMT" or off % 900 != 0


def region_zon_lines(zone):
    """Lines of a region's zone-rule file: each change of the clock a zone
    line, stamped with the reading just before it; each stretch of mean time
    one local-mean-time line. A leading mean-time line is stamped with the
    reading at which the first zone begins (the lookup passes it up to that
    moment); a later one with the reading at which its mean time begins."""
    def shown(abbr, off):
        return None if is_mean_time(abbr, off) else (abbreviation(abbr, off), minutes_east(off))

    off, _, abbr = zone.initial
    entries = [(None, shown(abbr, off), off)]  # (reading, shown, offset)
    for ut, new_off, _, new_abbr in zone.transitions:
        now = shown(new_abbr, new_off)
        if now != entries[-1][1]:
            entries.append((ut + off, now, new_off))
        off = new_off
    if entries[0][1] is None and len(entries) == 1:
        raise ValueError("%s: no standard zone" % zone.name)
    lines = []
    for i, (r, now, o) in enumerate(entries):
        if now is None:
            lines.append(lmt_line(entries[1][0] if i == 0 else r, o))
        else:
            lines.append(zone_line(reading(1800, 1, 1) if r is None else r, now[0], o))
    return lines


# ---- zone-rule files of the other foreign towns -----------------------------

# A foreign town that no file of regions.ZON_FILES covers gets a file of its
# own zone's history, numbered from 31 on; two-digit numbers end at 99.
GROUP_NUMBERS = range(31, 100)
# Histories are compared from this moment to the horizon; earlier differences
# (the mean times and first standard times before 1950) do not count.
SINCE = int(datetime.datetime(1950, 1, 1, tzinfo=datetime.timezone.utc).timestamp())
# The files made and the zones each serves, read by the towns generator.
GROUPS = os.path.join(HERE, "zone_groups.tsv")


def history(zone):
    """The zone's clock offset from SINCE to the horizon: ((UT seconds from
    which it holds, offset seconds), ...), the first entry at SINCE."""
    steps = [(SINCE, zone.at(SINCE)[0])]
    for ut, off, _, _ in zone.transitions:
        if SINCE < ut < HORIZON and off != steps[-1][1]:
            steps.append((ut, off))
    return tuple(steps)


def mismatch(a, b):
    """Seconds from SINCE to the horizon in which two histories differ."""
    points = sorted({t for t, _ in a} | {t for t, _ in b} | {HORIZON})
    wrong, i, j = 0, 0, 0
    for start, end in zip(points, points[1:]):
        while i + 1 < len(a) and a[i + 1][0] <= start:
            i += 1
        while j + 1 < len(b) and b[j + 1][0] <= start:
            j += 1
        if a[i][1] != b[j][1]:
            wrong += end - start
    return wrong


def foreign_zones():
    """Towns per IANA zone, and each zone's own (standard) offset in seconds,
    over the foreign towns that no file 1-30 covers."""
    towns, own = {}, {}
    for town in make_towns.read_gazetteer().values():
        if (town["country"] in make_towns.FORMER_USSR
                or regions.zone_rule_number(town["country"], town["admin1"])):
            continue
        towns[town["tz"]] = towns.get(town["tz"], 0) + 1
        own[town["tz"]] = town["offset"] * 60
    return towns, own


class Grouping:
    """Zones sharing zone-rule files. Every zone whose clock left its own
    standard zone after 1950 starts in the group of the zones with the same
    history, unless a file 1-30 (existing: {number: zone}) has that history.
    While there are more groups than numbers, the group whose towns lose least
    by moving is dissolved, each of its zones going where its history differs
    least from its own: another group, a file 1-30, or its own fixed zone (no
    file). "Lose" counts town-seconds of wrong offset from 1950 on. A group's
    file is that of its representative, the member zone whose history leaves
    the group's towns the fewest town-seconds wrong."""

    def __init__(self, towns, own, histories, existing):
        self.towns, self.histories = towns, histories
        self.fixed = {z: ((SINCE, own[z]),) for z in towns}
        self.existing = existing
        self.in_existing = {}  # zone: number of the file 1-30 it takes
        self._cache = {}
        by_history = {}
        for z in sorted(towns):
            if not self.wrong(z, self.fixed[z]):
                continue
            number = self._best_existing(z, 1)
            if number is not None:
                self.in_existing[z] = number
            else:
                by_history.setdefault(histories[z], []).append(z)
        self.found = len(by_history) + len(set(self.in_existing.values()))
        self.groups = [self._settled(members) for members in by_history.values()]

    def wrong(self, zone, target):
        """Town-seconds wrong when the towns of zone follow the history target."""
        key = (zone, target)
        if key not in self._cache:
            self._cache[key] = self.towns[zone] * mismatch(self.histories[zone], target)
        return self._cache[key]

    def _best_existing(self, zone, below):
        """Number of the file 1-30 that leaves zone fewer than `below`
        town-seconds wrong and fewest of all, or None."""
        best, home = below, None
        for number, name in sorted(self.existing.items()):
            w = self.wrong(zone, self.histories[name])
            if w < best:
                best, home = w, number
        return home

    def _settled(self, members):
        """(representative, members) with the best representative."""
        rep = min(members, key=lambda r: (sum(self.wrong(z, self.histories[r]) for z in members),
                                          -self.towns[r], r))
        return rep, sorted(members)

    def _best_home(self, zone, others):
        """Where zone loses least: ("group", index in others), ("file", number
        of a file 1-30) or ("own", None) for its own fixed zone."""
        best, home = self.wrong(zone, self.fixed[zone]), ("own", None)
        for k, (rep, _) in enumerate(others):
            w = self.wrong(zone, self.histories[rep])
            if w < best:
                best, home = w, ("group", k)
        number = self._best_existing(zone, best)
        if number is not None:
            home = ("file", number)
        return home

    def _home_history(self, zone, home, others):
        kind, where = home
        if kind == "group":
            return self.histories[others[where][0]]
        if kind == "file":
            return self.histories[self.existing[where]]
        return self.fixed[zone]

    def fit(self, slots):
        while len(self.groups) > slots:
            def loss(i):
                rep, members = self.groups[i]
                others = self.groups[:i] + self.groups[i + 1:]
                total = 0
                for z in members:
                    target = self._home_history(z, self._best_home(z, others), others)
                    total += self.wrong(z, target) - self.wrong(z, self.histories[rep])
                return total, rep
            i = min(range(len(self.groups)), key=loss)
            _, members = self.groups.pop(i)
            for z in members:
                kind, where = self._best_home(z, self.groups)
                if kind == "group":
                    self.groups[where] = self._settled(self.groups[where][1] + [z])
                elif kind == "file":
                    self.in_existing[z] = where

    def left_fixed(self):
        """Zones whose clock moved after 1950 that keep their own fixed zone."""
        placed = {z for _, members in self.groups for z in members} | set(self.in_existing)
        return sorted(z for z in self.towns if z not in placed and self.wrong(z, self.fixed[z]))


def make_groups():
    """The zone-rule files 31 on: [(number, representative zone, members)],
    numbered in the order of the representatives' names; and the zones that
    take a file 1-30 ({zone: number})."""
    towns, own = foreign_zones()
    existing = {}
    for number, (_, name, _) in sorted(regions.ZON_FILES.items()):
        if name not in existing.values():
            existing[number] = name
    histories = {z: history(read_tzif(z)) for z in set(towns) | set(existing.values())}
    grouping = Grouping(towns, own, histories, existing)
    grouping.fit(len(GROUP_NUMBERS))
    print("%d zone histories since 1950 among %d zones of foreign towns without a file 1-30"
          % (grouping.found, len(towns)))
    for z, number in sorted(grouping.in_existing.items()):
        print("  file %d: %s (%d towns)" % (number, z, towns[z]))
    for z in grouping.left_fixed():
        print("  fixed zone: %s (%d towns)" % (z, towns[z]))
    numbered = [(n, rep, members) for n, (rep, members) in zip(GROUP_NUMBERS, sorted(grouping.groups))]
    total = sum(towns.values())
    wrong = sum(grouping.wrong(z, histories[rep]) for _, rep, members in numbered for z in members)
    wrong += sum(grouping.wrong(z, histories[existing[n]]) for z, n in grouping.in_existing.items())
    wrong += sum(grouping.wrong(z, grouping.fixed[z]) for z in grouping.left_fixed())
    print("%d files; %.3f %% of these towns' time since 1950 on a wrong offset"
          % (len(numbered), 100.0 * wrong / (total * (HORIZON - SINCE))))
    return numbered, grouping.in_existing, towns


def write_groups(numbered, in_existing, towns):
    """zone_groups.tsv: per file, its number, name, the zone it is written
    from, how many towns take it and the zones of those towns. Files 1-30
    are listed with the zones that take them beyond the places regions.py
    gives them."""
    rows = [(n, rep, members) for n, rep, members in numbered]
    for n in sorted(set(in_existing.values())):
        rows.append((n, regions.ZON_FILES[n][1], sorted(z for z, k in in_existing.items() if k == n)))
    with open(GROUPS, "w", encoding="utf-8", newline="") as out:
        out.write("# zone-rule files of the foreign towns, written by make_zones.py\n")
        out.write("# number\tfile\tzone written\ttowns\tzones whose towns take the file\n")
        for n, rep, members in sorted(rows):
            out.write("%d\t%s\t%s\t%d\t%s\n" % (n, regions.zone_rule_file_name(n), rep,
                                                 sum(towns[z] for z in members), " ".join(members)))


# ---- output ----------------------------------------------------------------

def write_lines(path, lines):
    with open(path, "wb") as f:
        for line in lines:
            f.write(line.encode("cp1251") + b"\r\n")


def tzdata_version():
    try:
        with open(os.path.join(ZONEINFO, "tzdata.zi"), encoding="ascii") as f:
            return f.readline().split()[-1]
    except OSError:
        return "unknown"


def main():
    print("tzdata release", tzdata_version())
    # the program's decree days are the readings' Julian days to within
    # 4e-4 (35 s: they are near 0 h of universal time, the readings carry
    # Delta T, 24 s in the 1920s to 1940s)
    for r, jd in zip(DECREES, DECREE_DAYS):
        if abs(julian_day(r[2], r[1], r[0], 0.0) - jd) > 4e-4:
            raise ValueError("decree %s: Julian day differs from %r" % (r, jd))
    os.makedirs(TARGET, exist_ok=True)

    table = []
    zones = {}
    for code, name, _ in regions.REGIONS:
        zones[code] = read_tzif(name)
        table.append((code, hour_fields(code, zones[code])))
    if len(table) > REGION_LINES:
        raise ValueError("more regions than Time.ttt lines")
    pad = dict(table)[PAD_REGION]
    n = max(int(code) for code, _ in table)
    while len(table) < REGION_LINES:
        n += 1
        table.append(("%02d" % n, pad))
    write_lines(os.path.join(TARGET, "Time.ttt"), time_ttt(table))

    fields = dict(table)
    switches, misfits = summer_switches(zones[SUMMER_REGION], fields[SUMMER_REGION])
    for p, diff in misfits:
        print("summer list: at %s the clock is %+d s from the period's zone"
              % (EPOCH + datetime.timedelta(seconds=p), diff))
    write_lines(os.path.join(TARGET, "Hour_zone.ttt"),
                [fmt_float(julian_day_of_reading(s)) for s in switches])

    for code, name, place in regions.REGIONS:
        wrong = model_mismatch(code, zones[code], fields[code], switches)
        print("region %-2s %-20s %7.1f days off the database" % (code, name, wrong / 86400.0))

    total = 0
    for code, name, _ in regions.REGIONS:
        file_name = regions.region_file_name(code)
        lines = region_zon_lines(zones[code])
        write_lines(os.path.join(TARGET, file_name), lines)
        total += os.path.getsize(os.path.join(TARGET, file_name))
    print("%d region files, %d bytes" % (len(regions.REGIONS), total))

    for number, (file_name, name, _) in sorted(regions.ZON_FILES.items()):
        lines = zon_lines(read_tzif(name))
        write_lines(os.path.join(TARGET, file_name), lines)
        print("%2d %-22s %-20s %4d lines" % (number, file_name, name, len(lines)))

    numbered, in_existing, towns = make_groups()
    for number, name, members in numbered:
        file_name = regions.zone_rule_file_name(number)
        lines = zon_lines(read_tzif(name))
        write_lines(os.path.join(TARGET, file_name), lines)
        print("%2d %-22s %-30s %4d lines %4d towns %s" % (
            number, file_name, name, len(lines), sum(towns[z] for z in members),
            " ".join(z for z in members if z != name)))
    write_groups(numbered, in_existing, towns)


if __name__ == "__main__":
    main()

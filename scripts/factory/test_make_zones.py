#!/usr/bin/env python3
"""Checks of the zone generator: its Julian day against the program's decree
days, the POSIX rule expansion against published summer-time dates, the
column layout of what it writes, and the zone every town of the factory towns
files gets (a Russian or CIS town from its region's file, a foreign town from
its zone-rule file or its own fixed zone) against the machine's IANA
time-zone database as Python's zoneinfo reads it.

Run from anywhere:  python3 scripts/factory/test_make_zones.py
(CTest runs it as the test factory_zones.)
"""

import datetime
import os
import random
import sys
import tempfile
import unittest
import zoneinfo

sys.dont_write_bytecode = True  # leave no cache files in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_towns as mt  # noqa: E402
import make_zones as mz  # noqa: E402
import regions  # noqa: E402

FACTORY_TOWNS = os.path.join(mz.ROOT, "data", "Towns")
# A zone-rule file holds whole minutes: offsets with seconds (Monrovia's
# 44 min 30 s until 1972) are written rounded.
OFFSET_TOLERANCE = 30  # seconds
# Share of town-dates the factory files may get wrong.
WRONG_SHARE_LIMIT = 0.01
# Dates sampled per town: the 15th of January and of July every fifth year
# 1950-2025, and this many days drawn at random over 1950-2025.
RANDOM_DATES = 12
FIRST_DAY, LAST_DAY = datetime.date(1950, 1, 1), datetime.date(2025, 12, 31)


def ut(y, m, d, h=0, mi=0):
    return int((datetime.datetime(y, m, d, h, mi) - mz.EPOCH).total_seconds())


class JulianDayTest(unittest.TestCase):
    def test_decree_moments_match_the_programs_values(self):
        # the program's constants are these readings' Julian days to 4e-4
        # (they lie near 0 h of universal time; the readings carry Delta T,
        # up to 32 s in these years)
        for (y, m, d), jd in zip(mz.DECREES, mz.DECREE_DAYS):
            self.assertAlmostEqual(mz.julian_day(d, m, y, 0.0), jd, delta=4e-4, msg=(y, m, d))

    def test_calendar_switch_and_noon(self):
        # JD 2451545.0 is 1 January 2000, 12 h (Meeus, Astronomical Algorithms, ch. 7);
        # JD 2299161.0 - 0.5 is 15 October 1582 0 h, the first Gregorian day
        # Delta T on 1 January 2000: 63.83 s (observed, IERS)
        self.assertAlmostEqual(mz.julian_day(1, 1, 2000, 12.0) - 63.83 / 86400.0, 2451545.0,
                               places=8)
        self.assertAlmostEqual(mz.julian_day(15, 10, 1582, 0.0), 2299160.5, delta=0.05)
        self.assertAlmostEqual(mz.julian_day(4, 10, 1582, 0.0), 2299159.5, delta=0.05)


class PosixRuleTest(unittest.TestCase):
    def test_last_sunday_rules(self):
        self.assertEqual(mz.rule_date("M3.5.0", 2024), datetime.date(2024, 3, 31))
        self.assertEqual(mz.rule_date("M10.5.0", 2024), datetime.date(2024, 10, 27))
        self.assertEqual(mz.rule_date("M4.1.0", 2025), datetime.date(2025, 4, 6))  # first Sunday

    def test_european_rule_expands_to_one_utc(self):
        # EU summer time: last Sunday of March to last Sunday of October, 01:00 UT
        got = mz.expand_posix("GMT0BST,M3.5.0/1,M10.5.0", ut(2030, 1, 1))
        self.assertEqual(got[0], (ut(2030, 3, 31, 1), 3600, 1, "BST"))
        self.assertEqual(got[1], (ut(2030, 10, 27, 1), 0, 0, "GMT"))
        self.assertEqual(len(got), 2 * (mz.LAST_YEAR - 2030 + 1))

    def test_southern_rule_and_quoted_names(self):
        # New South Wales: AEDT from the first Sunday of October, 2 h local standard time
        got = mz.expand_posix("AEST-10AEDT,M10.1.0,M4.1.0/3", ut(2036, 1, 1))
        self.assertIn((ut(2036, 10, 5, 2) - 36000, 39600, 1, "AEDT"), got)
        self.assertIn((ut(2037, 4, 5, 3) - 39600, 36000, 0, "AEST"), got)
        self.assertEqual(mz.parse_posix("<+03>-3")[:2], ("+03", 10800))


class OutputTest(unittest.TestCase):
    def test_zone_rule_lines_keep_their_columns(self):
        line = mz.zone_line(ut(1916, 5, 21, 2), "BST", 3600)
        self.assertEqual(line, "21 May 1916   02:00    BST    +01:00")
        self.assertEqual(line[23:27], "BST ")
        self.assertEqual(line[30], "+")
        lmt = mz.lmt_line(ut(1847, 12, 1), -75)
        self.assertEqual(lmt[23], " ")
        self.assertEqual(lmt[24:30], "000W19")
        self.assertEqual(lmt[30], "-")

    def test_abbreviations_never_name_another_offset(self):
        self.assertEqual(mz.abbreviation("CEST", 7200), "MEST")
        self.assertEqual(mz.abbreviation("IST", 3600), "+01")  # Irish, not Israel's 2 h
        # the list's IST is Israel's and its CST 6 h West: India is written by
        # its offset, China by the list's name of its zone; the too long
        # "+0545" loses its zero
        self.assertEqual(mz.abbreviation("IST", 19800), "+530")
        self.assertEqual(mz.abbreviation("CST", 28800), "CCT")
        self.assertEqual(mz.abbreviation("+0545", 20700), "+545")
        self.assertEqual(mz.abbreviation("-1130", -41400), "1130")
        for name, off in (("NST", 3600), ("WAT", 3600), ("SST", -39600), ("PST", 28800)):
            written = mz.abbreviation(name, off)
            self.assertTrue(1 <= len(written) <= 4 and written[0] != " ", written)
            listed = mz.LIST_ABBREVIATIONS.get(written)
            self.assertIn(listed, (None, off / 3600.0), (name, written))

    def test_time_ttt_fields_at_their_columns(self):
        lines = mz.time_ttt([("1", list(range(1, 12))), ("10", [2] + [3] * 10)])
        for line in lines[1:]:
            for k in range(11):
                self.assertTrue(line[5 + 4 * k:7 + 4 * k].isdigit(), (line, k))
        self.assertEqual(lines[1][5:7], "01")
        self.assertEqual(lines[2][45:47], "03")


# ---- the zones the program gets, against the database ----------------------------


def signed_offset(sign, hh, mm):
    """Seconds East of a zone written as a sign ("-" West) and "hh", "mm"."""
    return (-1 if sign == "-" else 1) * (3600 * int(hh) + 60 * int(mm))


def read_rule_file(path):
    """A zone-rule file as the program reads it: [(local reading of the line,
    seconds since 1970-01-01 0 h; offset in seconds East, None for a
    local-mean-time line)]."""
    rules = []
    with open(path, "rb") as f:
        for line in f.read().decode("cp1251").split("\r\n"):
            if not line:
                continue
            hour = int(line[14:16])
            if hour > 24:
                hour -= 24
            day = datetime.datetime(int(line[7:11]), mz.MONTHS.index(line[3:6]) + 1, int(line[0:2]))
            r = int((day - mz.EPOCH).total_seconds()) + 3600 * hour + 60 * int(line[17:19])
            offset = None
            if line[23] != " ":
                offset = signed_offset(line[30], line[31:33], line[34:36])
            rules.append((r, offset))
    return rules


def rule_offset(rules, r):
    """The offset the program takes from a zone-rule file at local reading r:
    leading mean-time lines are passed while not after r, one still ahead
    means mean time (None); otherwise the last line not after r (the first
    remaining when all are later)."""
    i = 0
    while i < len(rules) and rules[i][1] is None and rules[i][0] <= r:
        i += 1
    if i == len(rules):
        i -= 1
    elif rules[i][1] is None:
        return None
    while i + 1 < len(rules) and rules[i + 1][0] <= r:
        i += 1
    return rules[i][1]


def noon(day):
    return int((datetime.datetime(day.year, day.month, day.day, 12) - mz.EPOCH).total_seconds())


def database_offset(tz, day):
    """(offset in seconds East, whether it is local mean time) at local noon
    of a day, from the machine's tzdata."""
    moment = datetime.datetime(day.year, day.month, day.day, 12, tzinfo=zoneinfo.ZoneInfo(tz))
    return int(moment.utcoffset().total_seconds()), moment.tzname() == "LMT"


def agree(got, want):
    """The file's offset (None: the town's own mean time) against the
    database's: the same to the minute the files hold, or mean time both."""
    offset, mean_time = want
    if got is None:
        return mean_time
    return abs(got - offset) <= OFFSET_TOLERANCE


def sample_days(rng):
    days = [datetime.date(y, m, 15) for y in range(1950, 2026, 5) for m in (1, 7)]
    span = (LAST_DAY - FIRST_DAY).days
    days += [FIRST_DAY + datetime.timedelta(days=rng.randrange(span + 1)) for _ in range(RANDOM_DATES)]
    return days


def hours(seconds):
    if seconds is None:
        return "local mean time"
    sign = "-" if seconds < 0 else "+"
    return "%s%02d:%02d" % (sign, abs(seconds) // 3600, abs(seconds) % 3600 // 60)


def file_zones():
    """The IANA zone each zone-rule file is written from, by number."""
    zones = {n: name for n, (_, name, _) in regions.ZON_FILES.items()}
    if os.path.exists(mz.GROUPS):
        zones.update({int(f[0]): f[2] for f in mt.read_tsv(mz.GROUPS)})
    return zones


class WrittenHistoryTest(unittest.TestCase):
    """Zone-rule files written for single zones, read back the program's way,
    against zoneinfo on the 15th of every month 1950-2025: both hemispheres,
    zones off the whole hour, both sides of the date line, and standard
    offsets that changed."""

    ZONES = (
        "America/Chicago", "America/Sao_Paulo",          # summer in July / in January
        "America/St_Johns", "Asia/Kolkata", "Australia/Adelaide", "Asia/Kathmandu",
        "Pacific/Apia", "Pacific/Tongatapu", "Pacific/Kiritimati",  # +13, +14; Apia from -11
        "Pacific/Rarotonga", "Pacific/Niue", "Pacific/Pago_Pago",   # -10:30 until 1978, -11
        "America/Caracas", "Europe/Istanbul",             # -4:30 2007-2016; +3 all year from 2016
    )

    def setUp(self):
        self._dir = tempfile.TemporaryDirectory()
        self.tmp = self._dir.name

    def tearDown(self):
        self._dir.cleanup()

    def test_files_give_the_database_offset(self):
        days = [datetime.date(y, m, 15) for y in range(1950, 2026) for m in range(1, 13)]
        for tz in self.ZONES:
            path = os.path.join(self.tmp, tz.replace("/", "_"))
            mz.write_lines(path, mz.zon_lines(mz.read_tzif(tz)))
            rules = read_rule_file(path)
            for day in days:
                got, want = rule_offset(rules, noon(day)), database_offset(tz, day)
                self.assertTrue(agree(got, want),
                                "%s %s: %s, the database %s" % (tz, day, hours(got), hours(want[0])))


class FactoryTownZonesTest(unittest.TestCase):
    """Every foreign town of the factory file at local noon on dates across
    1950-2025: the offset its zone-rule file gives (or its own zone, "00")
    against the database's offset for the town's tz zone."""

    def test_foreign_towns_keep_their_real_clock(self):
        with open(os.path.join(FACTORY_TOWNS, "TownsForeign1.twn"), "rb") as f:
            factory = {line[:75]: line for line in f.read().split(b"\r\n") if line}
        sources = file_zones()
        rules_of = {}
        rng = random.Random(1950)
        checked, wrong = 0, []
        for gid, town in sorted(mt.read_gazetteer().items()):
            if town["country"] in mt.FORMER_USSR:
                continue
            line = factory.get(mt.foreign_line(gid, town, {})[:75])
            self.assertIsNotNone(line, "%s (%s) is not in the factory file" % (town["name"], gid))
            line = line.decode("cp1251")
            number = int(line[75:77])
            if number:
                if number not in rules_of:
                    path = os.path.join(FACTORY_TOWNS, regions.zone_rule_file_name(number))
                    rules_of[number] = read_rule_file(path)
                reason = "file %d is written from %s" % (number, sources.get(number, "?"))
            else:
                own = signed_offset(line[46], line[47:49], line[50:52])
                reason = "its own fixed zone"
            for day in sample_days(rng):
                got = rule_offset(rules_of[number], noon(day)) if number else own
                want = database_offset(town["tz"], day)
                checked += 1
                if not agree(got, want):
                    wrong.append("%s (%s, %s) %s: %s, the database %s; %s"
                                 % (line[:20].rstrip(), town["country"], town["tz"], day,
                                    hours(got), hours(want[0]), reason))
        share = len(wrong) / checked
        print("\n%d of %d town-dates wrong (%.2f %%):" % (len(wrong), checked, 100 * share),
              file=sys.stderr)
        for w in wrong:
            print("  " + w, file=sys.stderr)
        self.assertLess(share, WRONG_SHARE_LIMIT)


def reading_offset(tz, r):
    """The database's offset at local reading r (seconds since 1970-01-01 0 h)
    as the program takes it: a reading the clock skipped in spring takes the
    later offset and one it showed twice in autumn the first, and both are
    the larger of the two offsets zoneinfo gives for the reading's folds."""
    d = mz.EPOCH + datetime.timedelta(seconds=r)
    zone = zoneinfo.ZoneInfo(tz)
    return max(int(d.replace(tzinfo=zone, fold=f).utcoffset().total_seconds()) for f in (0, 1))


class RegionTownZonesTest(unittest.TestCase):
    """Every town of the factory Towns.twn against the database for its own tz
    zone over 1950-2025: at every change of the database's clock (a minute
    before, inside the skipped or repeated hour, at the reading the change
    is stamped with and once it is past), at every line of the region's file
    (a minute either side), and at local noon of the 15th of every month."""

    # Towns whose clock the database is not sure of, by GeoNames id: none.
    UNCERTAIN = {}

    def test_region_files_are_named_apart_from_the_numbered_files(self):
        numbered = {regions.zone_rule_file_name(n) for n in range(1, 100)}
        for code, _, _ in regions.REGIONS:
            name = regions.region_file_name(code)
            self.assertNotIn(name, numbered)
            self.assertTrue(os.path.exists(os.path.join(FACTORY_TOWNS, name)), name)

    def test_every_town_keeps_its_real_clock(self):
        with open(os.path.join(FACTORY_TOWNS, "Towns.twn"), "rb") as f:
            factory = set(line for line in f.read().split(b"\r\n") if line)
        towns = mt.read_gazetteer()
        groups = {}  # (region code, tz): [town names]
        for gid, country, english, name in mt.read_tsv(mt.RUSSIAN_NAMES):
            town = towns[gid]
            line = mt.russian_line(name, town)
            self.assertIn(line, factory, "%s (%s) is not in the factory file" % (name, gid))
            if gid in self.UNCERTAIN:
                continue
            code = line[37:].decode("ascii").strip()
            groups.setdefault((code, town["tz"]), []).append(name)
        self.assertGreater(sum(len(v) for v in groups.values()), 1000)

        since, until = ut(1950, 1, 1), ut(2026, 1, 1)
        wrong, checked = [], 0
        for (code, tz), names in sorted(groups.items()):
            rules = read_rule_file(os.path.join(FACTORY_TOWNS, regions.region_file_name(code)))
            readings = set()
            zone = mz.read_tzif(tz)
            previous = zone.at(since - 1)[0]
            for t, new_off, _, _ in zone.transitions:
                if since <= t < until and new_off != previous:
                    # r: the reading the change is stamped with; inside the
                    # skipped (step > 0) or repeated (step < 0) stretch
                    r, step = t + previous, new_off - previous
                    readings.update({r - 60, r, r + step // 2, r + abs(step), r + abs(step) + 60})
                if t < until:
                    previous = new_off
            readings.update(x for r, _ in rules if since <= r < until for x in (r - 60, r + 60))
            readings.update(noon(datetime.date(y, m, 15)) for y in range(1950, 2026) for m in range(1, 13))
            checked += len(readings) * len(names)
            for r in sorted(readings):
                got, want = rule_offset(rules, r), reading_offset(tz, r)
                if got != want:
                    wrong.append("region %s, %s (%d towns, e.g. %s) at %s: %s, the database %s"
                                 % (code, tz, len(names), names[0],
                                    mz.EPOCH + datetime.timedelta(seconds=r), hours(got), hours(want)))
        print("\n%d towns in %d (region, zone) groups, %d town-readings: %d wrong"
              % (sum(len(v) for v in groups.values()), len(groups), checked, len(wrong)),
              file=sys.stderr)
        for w in wrong:
            print("  " + w, file=sys.stderr)
        self.assertEqual(wrong, [])


if __name__ == "__main__":
    unittest.main()

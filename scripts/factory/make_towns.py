#!/usr/bin/env python3
"""Factory towns files: writes data/Towns/Towns.twn (Russia and the former
Soviet republics, Russian names), data/Towns/TownsForeign1.twn (the rest of
the world, English names) and the empty data/Towns/TownsUser.twn.

Inputs, all committed beside this script (no network, no package needed):
  towns_geonames.tsv  the gazetteer rows used: GeoNames id, English name,
                      country, first-level division, coordinates, tz name and
                      the zone's standard offset (written by extract_towns.py
                      from the GeoNames table cities500, CC BY 4.0);
  towns_ru.tsv        the Russian names of the towns of Towns.twn;
  regions.py          the region codes of Time.ttt and the zone-rule files;
  zone_groups.tsv     the zone-rule files of the foreign towns that the files
                      of regions.py do not cover, by tz name (written by
                      make_zones.py, which is run first).
The credit line the data's licence asks for is in TOWNS_CREDIT.txt.

Layouts (columns 1-based, one character a byte of code page 1251):
  Towns.twn      name "=" blanks up to column 20; 21 "-" for south; 22-23
                 latitude degrees (blank-padded); 24 ":"; 25-26 minutes;
                 28 "-" for west; 29-31 longitude degrees (blank-padded);
                 32 ":"; 33-34 minutes; 38-39 region code (a one-character
                 code ends the line at column 38).
  TownsForeign1  name 1-20, country 21-40, zone abbreviation 41-46, 47 "-"
                 west of Greenwich else "+", zone 48-49 ":" 51-52, latitude
                 58-59 N/S 61-62, longitude 66-68 E/W 70-71, zone-rule file
                 number 76-77 ("00": the town's own zone); 77 characters.
Coordinates are rounded to the nearest arc minute; the own zone is the
standard (winter) time of the town's tz zone.

Both files are sorted the way the program's prefix search expects: by the
upper-cased code page 1251 bytes of the whole line, ties by the bytes as they
stand, so that the lines sharing any upper-cased prefix form one run.
Every line ends with CR LF.

Standard library only. Run from anywhere:  python3 scripts/factory/make_towns.py
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import regions  # noqa: E402

ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
TARGET = os.path.join(ROOT, "data", "Towns")
GAZETTEER = os.path.join(HERE, "towns_geonames.tsv")
ZONE_GROUPS = os.path.join(HERE, "zone_groups.tsv")
RUSSIAN_NAMES = os.path.join(HERE, "towns_ru.tsv")

FORMER_USSR = {"RU", "UA", "BY", "MD", "GE", "AM", "AZ", "KZ", "UZ", "KG", "TJ", "TM", "LV", "LT", "EE"}

# English short names of the countries, at most 20 characters.
COUNTRY_NAMES = {
    "AD": "Andorra", "AE": "United Arab Emirates", "AF": "Afghanistan", "AG": "Antigua and Barbuda",
    "AI": "Anguilla", "AL": "Albania", "AO": "Angola", "AR": "Argentina", "AS": "American Samoa",
    "AT": "Austria", "AU": "Australia", "AW": "Aruba", "AX": "Aland Islands",
    "BA": "Bosnia-Herzegovina", "BB": "Barbados", "BD": "Bangladesh", "BE": "Belgium",
    "BF": "Burkina Faso", "BG": "Bulgaria", "BH": "Bahrain", "BI": "Burundi", "BJ": "Benin",
    "BL": "Saint Barthelemy", "BM": "Bermuda", "BN": "Brunei", "BO": "Bolivia", "BQ": "Bonaire",
    "BR": "Brazil", "BS": "Bahamas", "BT": "Bhutan", "BW": "Botswana", "BZ": "Belize",
    "CA": "Canada", "CC": "Cocos Islands", "CD": "DR Congo", "CF": "Central African Rep.",
    "CG": "Congo", "CH": "Switzerland", "CI": "Ivory Coast", "CK": "Cook Islands", "CL": "Chile",
    "CM": "Cameroon", "CN": "China", "CO": "Colombia", "CR": "Costa Rica", "CU": "Cuba",
    "CV": "Cape Verde", "CW": "Curacao", "CX": "Christmas Island", "CY": "Cyprus",
    "CZ": "Czech Republic", "DE": "Germany", "DJ": "Djibouti", "DK": "Denmark", "DM": "Dominica",
    "DO": "Dominican Republic", "DZ": "Algeria", "EC": "Ecuador", "EG": "Egypt", "ER": "Eritrea",
    "ES": "Spain", "ET": "Ethiopia", "FI": "Finland", "FJ": "Fiji", "FK": "Falkland Islands",
    "FM": "Micronesia", "FO": "Faroe Islands", "FR": "France", "GA": "Gabon",
    "GB": "United Kingdom", "GD": "Grenada", "GF": "French Guiana", "GG": "Guernsey",
    "GH": "Ghana", "GI": "Gibraltar", "GL": "Greenland", "GM": "Gambia", "GN": "Guinea",
    "GP": "Guadeloupe", "GQ": "Equatorial Guinea", "GR": "Greece", "GS": "South Georgia",
    "GT": "Guatemala", "GU": "Guam", "GW": "Guinea-Bissau", "GY": "Guyana", "HK": "Hong Kong",
    "HN": "Honduras", "HR": "Croatia", "HT": "Haiti", "HU": "Hungary", "ID": "Indonesia",
    "IE": "Ireland", "IL": "Israel", "IM": "Isle of Man", "IN": "India", "IQ": "Iraq",
    "IR": "Iran", "IS": "Iceland", "IT": "Italy", "JE": "Jersey", "JM": "Jamaica", "JO": "Jordan",
    "JP": "Japan", "KE": "Kenya", "KH": "Cambodia", "KI": "Kiribati", "KM": "Comoros",
    "KN": "St Kitts and Nevis", "KP": "North Korea", "KR": "South Korea", "KW": "Kuwait",
    "KY": "Cayman Islands", "LA": "Laos", "LB": "Lebanon", "LC": "Saint Lucia",
    "LI": "Liechtenstein", "LK": "Sri Lanka", "LR": "Liberia", "LS": "Lesotho",
    "LU": "Luxembourg", "LY": "Libya", "MA": "Morocco", "MC": "Monaco", "ME": "Montenegro",
    "MF": "Saint Martin", "MG": "Madagascar", "MH": "Marshall Islands", "MK": "North Macedonia",
    "ML": "Mali", "MM": "Myanmar", "MN": "Mongolia", "MO": "Macao",
    "MP": "Northern Mariana Is.", "MQ": "Martinique", "MR": "Mauritania", "MS": "Montserrat",
    "MT": "Malta", "MU": "Mauritius", "MV": "Maldives", "MW": "Malawi", "MX": "Mexico",
    "MY": "Malaysia", "MZ": "Mozambique", "NA": "Namibia", "NC": "New Caledonia", "NE": "Niger",
    "NF": "Norfolk Island", "NG": "Nigeria", "NI": "Nicaragua", "NL": "Netherlands",
    "NO": "Norway", "NP": "Nepal", "NR": "Nauru", "NU": "Niue", "NZ": "New Zealand", "OM": "Oman",
    "PA": "Panama", "PE": "Peru", "PF": "French Polynesia", "PG": "Papua New Guinea",
    "PH": "Philippines", "PK": "Pakistan", "PL": "Poland", "PM": "St Pierre & Miquelon",
    "PN": "Pitcairn", "PR": "Puerto Rico", "PS": "Palestine", "PT": "Portugal", "PW": "Palau",
    "PY": "Paraguay", "QA": "Qatar", "RE": "Reunion", "RO": "Romania", "RS": "Serbia",
    "RW": "Rwanda", "SA": "Saudi Arabia", "SB": "Solomon Islands", "SC": "Seychelles",
    "SD": "Sudan", "SE": "Sweden", "SG": "Singapore", "SH": "Saint Helena", "SI": "Slovenia",
    "SJ": "Svalbard", "SK": "Slovakia", "SL": "Sierra Leone", "SM": "San Marino",
    "SN": "Senegal", "SO": "Somalia", "SR": "Suriname", "SS": "South Sudan",
    "ST": "Sao Tome & Principe", "SV": "El Salvador", "SX": "Sint Maarten", "SY": "Syria",
    "SZ": "Eswatini", "TC": "Turks and Caicos", "TD": "Chad", "TF": "French Southern Ter.",
    "TG": "Togo", "TH": "Thailand", "TL": "East Timor", "TN": "Tunisia", "TO": "Tonga",
    "TR": "Turkey", "TT": "Trinidad and Tobago", "TV": "Tuvalu", "TW": "Taiwan",
    "TZ": "Tanzania", "UG": "Uganda", "US": "United States", "UY": "Uruguay", "VA": "Vatican",
    "VC": "Saint Vincent", "VE": "Venezuela", "VG": "British Virgin Is.",
    "VI": "US Virgin Islands", "VN": "Vietnam", "VU": "Vanuatu", "WF": "Wallis and Futuna",
    "WS": "Samoa", "XK": "Kosovo", "YE": "Yemen", "YT": "Mayotte", "ZA": "South Africa",
    "ZM": "Zambia", "ZW": "Zimbabwe",
}

# Shorter forms of the English names that do not fit the 20 columns, by GeoNames id.
SHORT_NAMES = {
    "3836873": "Tucuman", "2774326": "Klagenfurt", "3904906": "Santa Cruz (Bolivia)",
    "3449344": "Sao Bernardo Campo", "6317344": "Jaboatao", "3467693": "Campos Goytacazes",
    "3448639": "S. Jose do Rio Preto", "2875376": "Ludwigshafen",
    "2817220": "Villingen-Schwenn.", "2945358": "Brandenburg/Havel", "2953436": "Bad Homburg",
    "2907851": "Heidenheim/Brenz", "3492914": "Santiago (Dom.Rep.)",
    "3651297": "Santo Domingo (Ecu.)", "353219": "6th of October City", "2515270": "Las Palmas",
    "3120619": "L'Hospitalet", "3109981": "Santa Coloma", "3109642": "Santiago Compostela",
    "2518207": "El Puerto S. Maria", "3124569": "Cornella", "3110834": "Sant Boi",
    "3110718": "Sant Cugat", "2519513": "Chiclana", "3110040": "S. Sebastian Reyes",
    "2511306": "Sanlucar Barrameda", "2515812": "La Linea", "3109402": "Cerdanyola",
    "2511032": "San Vicent Raspeig", "2081986": "Palikir", "8533870": "St-Quentin-Yvelines",
    "2978179": "St-Maur-des-Fosses", "2639022": "Tunbridge Wells", "282926": "Modi'in",
    "3183539": "Ostia", "3176059": "Giugliano", "3179661": "Castellammare",
    "3991164": "Queretaro", "3514674": "Gustavo A. Madero", "3530589": "Nezahualcoyotl",
    "3517270": "Chimalhuacan", "3985241": "San Nicolas Garza", "4005867": "General Escobedo",
    "3982912": "Soledad de Graciano", "2758012": "Capelle a/d IJssel", "762863": "Ostrowiec",
    "678817": "Drobeta-Turnu Sev.",
}

CARIBBEAN_ATLANTIC = {"CA", "PR", "VI", "VG", "BM", "DO", "TT", "BB", "AG", "DM", "GD", "KN", "LC",
                      "VC", "AW", "CW", "BQ", "SX", "MF", "BL", "GP", "MQ", "AI", "MS"}
NORTH_AMERICA = {"US", "CA", "MX"}
CENTRAL_AMERICA = {"GT", "HN", "SV", "NI", "CR", "BZ"}


def zone_abbreviation(country, tz_name, offset):
    """Abbreviation of the program's zone list for a standard offset (minutes,
    east positive), or "" where the list has none for that place."""
    europe = tz_name.startswith("Europe/")
    if offset == 0:
        return "WET" if country in ("PT", "FO") or tz_name == "Atlantic/Canary" else "GMT"
    if offset == 60:
        return "CET" if europe or country in ("DZ", "TN") else ""
    if offset == 120:
        if country == "IL":
            return "IST"
        return "EET" if europe or country in ("CY", "EG", "LB", "SY", "PS", "LY") else ""
    if offset == 180:
        return "BT" if country in ("IQ", "SA", "KW", "BH", "QA", "YE") else ""
    if offset == 210:
        return "IT" if country == "IR" else ""
    if offset == 480:
        if country in ("CN", "TW", "HK", "MO"):
            return "CCT"
        return "AWST" if country == "AU" else ""
    if offset == 540:
        return {"JP": "JST", "KR": "KST"}.get(country, "")
    if offset == 570:
        return "ACST" if country == "AU" else ""
    if offset == 600:
        if country == "AU":
            return "AEST"
        return "GST" if country in ("GU", "MP") else ""
    if offset == 720:
        return "NZST" if country == "NZ" else ""
    if offset == -210:
        return "NST" if country == "CA" else ""
    if offset == -240:
        return "AST" if country in CARIBBEAN_ATLANTIC else ""
    if offset == -300:
        return "EST" if country in ("US", "CA", "JM", "PA", "KY", "BS", "HT", "TC") else ""
    if offset == -360:
        return "CST" if country in NORTH_AMERICA | CENTRAL_AMERICA else ""
    if offset == -420:
        return "MST" if country in NORTH_AMERICA else ""
    if offset == -480:
        return "PST" if country in NORTH_AMERICA else ""
    if offset == -540:
        return "YST" if country == "US" else ""
    if offset == -600:
        return "AHST" if country == "US" else ""
    return ""


# ---- code page 1251 and the sort order of the prefix search -----------------

def _upper_table():
    table = list(range(256))
    for b in range(ord("a"), ord("z") + 1):
        table[b] = b - 0x20
    for b in range(0xE0, 0x100):  # а-я
        table[b] = b - 0x20
    pairs = [(0xB8, 0xA8), (0xA2, 0xA1), (0xBF, 0xAF), (0xBA, 0xAA), (0xB3, 0xB2), (0xB4, 0xA5),
             (0x90, 0x80), (0x83, 0x81), (0x9A, 0x8A), (0x9C, 0x8C), (0x9D, 0x8D), (0x9E, 0x8E),
             (0x9F, 0x8F), (0xBE, 0xBD), (0xBC, 0xA3)]
    for lower, upper in pairs:
        table[lower] = upper
    return bytes(table)


UPPER = _upper_table()


def sort_key(line):
    """Upper-cased bytes first, the bytes as they stand to break ties."""
    return (line.translate(UPPER), line)


def encode(text, what):
    try:
        return text.encode("cp1251")
    except UnicodeEncodeError:
        sys.exit("%s: %r has characters outside code page 1251" % (what, text))


def to_minutes(value):
    """Degrees to whole arc minutes of the absolute value, rounded half up."""
    return int(abs(value) * 60 + 0.5)


# ---- inputs ------------------------------------------------------------------

def read_tsv(path):
    rows = []
    with open(path, encoding="utf-8", newline="") as table:
        for line in table:
            line = line.rstrip("\r\n")
            if line and not line.startswith("#"):
                rows.append(line.split("\t"))
    return rows


def read_gazetteer():
    towns = {}
    for f in read_tsv(GAZETTEER):
        towns[f[0]] = {"name": f[1], "country": f[2], "admin1": f[3], "population": int(f[5]),
                       "lat": float(f[6]), "lon": float(f[7]), "tz": f[8], "offset": int(f[9])}
    return towns


def read_zone_groups():
    """{tz name: zone-rule number} of zone_groups.tsv."""
    numbers = {}
    for f in read_tsv(ZONE_GROUPS):
        for tz in f[4].split():
            numbers[tz] = int(f[0])
    return numbers


# ---- Towns.twn ---------------------------------------------------------------

def russian_line(name, town):
    if "=" in name or len(name) > 19:
        sys.exit("Towns.twn: name %r does not fit columns 1-19" % name)
    code = regions.region_code(town["country"], town["admin1"], town["tz"])
    if code is None:
        sys.exit("Towns.twn: no region for %s (%s)" % (name, town["tz"]))
    lat, lon = to_minutes(town["lat"]), to_minutes(town["lon"])
    south = "-" if town["lat"] < 0 and lat else " "
    west = "-" if town["lon"] < 0 and lon else " "
    head = encode(name + "=", "Towns.twn").ljust(20, b" ")
    body = "%s%2d:%02d %s%3d:%02d   %s" % (south, lat // 60, lat % 60, west, lon // 60, lon % 60, code)
    line = head + body.encode("ascii")
    assert len(line) == 37 + len(code)
    return line


def make_russian(towns):
    lines = set()
    for gid, country, english, name in read_tsv(RUSSIAN_NAMES):
        town = towns.get(gid)
        if town is None or town["country"] != country or town["name"] != english:
            sys.exit("towns_ru.tsv: %s %s %s does not match the gazetteer" % (gid, country, english))
        lines.add(russian_line(name, town))
    return sorted(lines, key=sort_key)


# ---- TownsForeign1.twn -------------------------------------------------------

def foreign_line(gid, town, zone_groups):
    name = SHORT_NAMES.get(gid, town["name"])
    country = COUNTRY_NAMES.get(town["country"])
    if country is None:
        sys.exit("TownsForeign1.twn: no country name for %s" % town["country"])
    if len(name) > 20 or len(country) > 20:
        sys.exit("TownsForeign1.twn: %r / %r longer than 20 characters" % (name, country))
    offset = town["offset"]
    abbreviation = zone_abbreviation(town["country"], town["tz"], offset)
    lat, lon = to_minutes(town["lat"]), to_minutes(town["lon"])
    rule = regions.zone_rule_number(town["country"], town["admin1"]) or zone_groups.get(town["tz"], 0)
    text = "%-20s%-20s%-6s%s%02d:%02d     %02d%s%02d   %03d%s%02d    %02d" % (
        name, country, abbreviation, "-" if offset < 0 else "+", abs(offset) // 60, abs(offset) % 60,
        lat // 60, "S" if town["lat"] < 0 and lat else "N", lat % 60,
        lon // 60, "W" if town["lon"] < 0 and lon else "E", lon % 60, rule)
    line = encode(text, "TownsForeign1.twn")
    assert len(line) == 77, text
    return line


def make_foreign(towns):
    zone_groups = read_zone_groups()
    lines = {foreign_line(gid, town, zone_groups) for gid, town in towns.items()
             if town["country"] not in FORMER_USSR}
    return sorted(lines, key=sort_key)


def write(name, lines):
    path = os.path.join(TARGET, name)
    with open(path, "wb") as out:
        for line in lines:
            out.write(line + b"\r\n")
    print("%-20s %5d lines" % (name, len(lines)))


def main():
    os.makedirs(TARGET, exist_ok=True)
    towns = read_gazetteer()
    write("Towns.twn", make_russian(towns))
    write("TownsForeign1.twn", make_foreign(towns))
    write("TownsUser.twn", [])


if __name__ == "__main__":
    main()

"""Shared tables of the factory town and zone data.

Imported by the generators of the towns files and of the zone files, so that
the region codes written into Towns/Towns.twn (columns 38-39) are the names of
the lines of Towns/Time.ttt, and the zone-rule numbers written into
Towns/TownsForeign1.twn (columns 76-77) name the .zon file that was built for
the town's place.

REGIONS: the zone regions of Russia and the former Soviet republics, one line
of Time.ttt each, in line order (line 1 first). A region is the area of one
IANA time-zone name (the tz database, public domain), whose history since 1924
the zone generator reads for the eleven decree periods. The code is the line's
name in Time.ttt and the text the towns file carries in columns 38-39:
  * "1" to "5" are the regions the zone lookup treats as keeping local mean
    time until the decree of 9 February 1931 (periods 0 to 2). They are the
    places that were outside the Soviet zone system in 1924-1931: Bessarabia
    (on Bucharest mean time until 1931), the three Baltic states (their own
    mean or standard times) and Tuva (independent until 1944).
    A one-character code is written at column 38 with nothing after it.
  * the others are two digits, "06" upwards, equal to their line number.
Lines after the last region (up to line 61) are the zone generator's padding.

Each region also has a zone-rule file of its own, "Region <code>.zon"
(region_file_name), the whole history of its IANA zone, which the zone lookup
reads before Time.ttt and Hour_zone.ttt.

Tuva (code "5") shares the tz name Asia/Krasnoyarsk with region "26"; towns
are given code "5" by their GeoNames first-level division (RU, admin1 "79").

ZON_FILES: the thirty zone-rule files, by number (the number a foreign town
carries in columns 76-77). For each: the file name (verbatim, spaces
included), the IANA zone name whose history the file is generated from, and
the places it covers, as (ISO country code, GeoNames admin1 code or None for
the whole country). A foreign town gets the number of the first file that
covers it; when none does, the number make_zones.py gave its tz zone in
zone_groups.tsv (a file 31-99, "Zone NN.zon", or one of these thirty), and
"00" (its own fixed zone) when that names none either.

Standard library only; this module holds data, it writes nothing.
"""

# (code, IANA zone name, place in Russian)
REGIONS = [
    ("1", "Europe/Chisinau", "Молдавия"),
    ("2", "Europe/Riga", "Латвия"),
    ("3", "Europe/Tallinn", "Эстония"),
    ("4", "Europe/Vilnius", "Литва"),
    ("5", "Asia/Krasnoyarsk", "Тыва"),
    ("06", "Europe/Kaliningrad", "Калининградская область"),
    ("07", "Europe/Minsk", "Белоруссия"),
    ("08", "Europe/Kyiv", "Украина"),
    ("09", "Europe/Simferopol", "Крым"),
    ("10", "Europe/Moscow", "Москва"),
    ("11", "Europe/Kirov", "Кировская область"),
    ("12", "Europe/Volgograd", "Волгоградская область"),
    ("13", "Europe/Astrakhan", "Астраханская область"),
    ("14", "Europe/Saratov", "Саратовская область"),
    ("15", "Europe/Ulyanovsk", "Ульяновская область"),
    ("16", "Europe/Samara", "Самара, Удмуртия"),
    ("17", "Asia/Tbilisi", "Грузия"),
    ("18", "Asia/Yerevan", "Армения"),
    ("19", "Asia/Baku", "Азербайджан"),
    ("20", "Asia/Yekaterinburg", "Урал"),
    ("21", "Asia/Omsk", "Омская область"),
    ("22", "Asia/Novosibirsk", "Новосибирская область"),
    ("23", "Asia/Barnaul", "Алтай"),
    ("24", "Asia/Tomsk", "Томская область"),
    ("25", "Asia/Novokuznetsk", "Кемеровская область"),
    ("26", "Asia/Krasnoyarsk", "Красноярский край, Хакасия"),
    ("27", "Asia/Irkutsk", "Иркутская область, Бурятия"),
    ("28", "Asia/Chita", "Забайкальский край"),
    ("29", "Asia/Yakutsk", "Якутия (запад), Амурская область"),
    ("30", "Asia/Khandyga", "Якутия (Томпонский улус)"),
    ("31", "Asia/Vladivostok", "Приморье, Хабаровский край"),
    ("32", "Asia/Ust-Nera", "Якутия (Оймяконский улус)"),
    ("33", "Asia/Magadan", "Магаданская область"),
    ("34", "Asia/Sakhalin", "Сахалин"),
    ("35", "Asia/Srednekolymsk", "Якутия (восток)"),
    ("36", "Asia/Kamchatka", "Камчатка"),
    ("37", "Asia/Anadyr", "Чукотка"),
    ("38", "Asia/Oral", "Западно-Казахстанская область"),
    ("39", "Asia/Atyrau", "Атырауская область"),
    ("40", "Asia/Aqtau", "Мангистауская область"),
    ("41", "Asia/Aqtobe", "Актюбинская область"),
    ("42", "Asia/Qostanay", "Костанайская область"),
    ("43", "Asia/Qyzylorda", "Кызылординская область"),
    ("44", "Asia/Almaty", "Казахстан (восток)"),
    ("45", "Asia/Ashgabat", "Туркмения"),
    ("46", "Asia/Samarkand", "Узбекистан (запад)"),
    ("47", "Asia/Tashkent", "Узбекистан (восток)"),
    ("48", "Asia/Dushanbe", "Таджикистан"),
    ("49", "Asia/Bishkek", "Киргизия"),
]

# Region of the towns whose GeoNames (country, admin1) differs from the region
# of their tz name.
REGION_BY_DIVISION = {
    ("RU", "79"): "5",  # Tuva
}

# number: (file name, IANA zone, covered places)
ZON_FILES = {
    1: ("Albania.zon", "Europe/Tirane", [("AL", None)]),
    2: ("Australia 1.zon", "Australia/Sydney", [("AU", "02"), ("AU", "01")]),  # NSW, ACT
    3: ("Australia 2.zon", "Australia/Melbourne", [("AU", "07")]),  # Victoria
    4: ("Australia 3.zon", "Australia/Brisbane", [("AU", "04")]),  # Queensland
    5: ("Australia 4.zon", "Australia/Adelaide", [("AU", "05")]),  # South Australia
    6: ("Australia 5.zon", "Australia/Perth", [("AU", "08")]),  # Western Australia
    7: ("Australia 6.zon", "Australia/Hobart", [("AU", "06")]),  # Tasmania
    8: ("Australia.zon", "Australia/Darwin", [("AU", "03")]),  # Northern Territory
    9: ("Austria.zon", "Europe/Vienna", [("AT", None)]),
    10: ("Belgium.zon", "Europe/Brussels", [("BE", None)]),
    11: ("Bulgaria.zon", "Europe/Sofia", [("BG", None)]),
    12: ("Denmark.zon", "Europe/Copenhagen", [("DK", None)]),
    # Brandenburg, Mecklenburg-Vorpommern, Saxony, Saxony-Anhalt, Thuringia, Berlin
    13: ("East Germany.zon", "Europe/Berlin",
         [("DE", "11"), ("DE", "12"), ("DE", "13"), ("DE", "14"), ("DE", "15"), ("DE", "16")]),
    14: ("Eastern Europe.zon", "Europe/Bucharest", [("RO", None)]),
    15: ("England_Scotland.zon", "Europe/London", [("GB", "ENG"), ("GB", "SCT")]),
    16: ("Finland.zon", "Europe/Helsinki", [("FI", None)]),
    17: ("France.zon", "Europe/Paris", [("FR", None), ("MC", None)]),
    18: ("Greece.zon", "Europe/Athens", [("GR", None)]),
    19: ("Ireland.zon", "Europe/Dublin", [("IE", None)]),
    20: ("Italy.zon", "Europe/Rome", [("IT", None), ("SM", None), ("VA", None)]),
    21: ("Japan.zon", "Asia/Tokyo", [("JP", None)]),
    22: ("Netherlands.zon", "Europe/Amsterdam", [("NL", None)]),
    23: ("New Zealand.zon", "Pacific/Auckland", [("NZ", None)]),
    24: ("Sweden.zon", "Europe/Stockholm", [("SE", None)]),
    25: ("Switzerland.zon", "Europe/Zurich", [("CH", None), ("LI", None)]),
    # the rest of the British Isles under London time: Isle of Man, Channel Islands
    26: ("UK General.zon", "Europe/London", [("GB", None), ("IM", None), ("JE", None), ("GG", None)]),
    27: ("Wales_N.Ireland.zon", "Europe/London", [("GB", "WLS"), ("GB", "NIR")]),
    # the western Länder (every German town not listed for file 13)
    28: ("West Germany.zon", "Europe/Berlin", [("DE", None)]),
    29: ("Western Europe.zon", "Europe/Lisbon", [("PT", None)]),
    30: ("Yugoslavia.zon", "Europe/Belgrade",
         [("RS", None), ("HR", None), ("SI", None), ("BA", None), ("MK", None), ("ME", None), ("XK", None)]),
}


def zone_rule_number(country, admin1):
    """Number of the zone-rule file covering a place, 0 when none does.

    A file listing the place's own division wins over one listing the whole
    country (England and Scotland before the general British file, the eastern
    Länder before West Germany)."""
    for number in sorted(ZON_FILES):
        for c, a in ZON_FILES[number][2]:
            if c == country and a is not None and a == admin1:
                return number
    for number in sorted(ZON_FILES):
        for c, a in ZON_FILES[number][2]:
            if c == country and a is None:
                return number
    return 0


def region_code(country, admin1, tz_name):
    """Time.ttt region code of a town, or None when no region has its zone."""
    special = REGION_BY_DIVISION.get((country, admin1))
    if special is not None:
        return special
    by_division = set(REGION_BY_DIVISION.values())
    for code, zone, _ in REGIONS:
        if zone == tz_name and code not in by_division:
            return code
    return None


def region_file_name(code):
    """File name of the zone-rule file of a region code: "Region <code>.zon"
    ("Region 5.zon", "Region 06.zon"), which no zone-rule number names."""
    return "Region %s.zon" % code


def zone_rule_file_name(number):
    """File name of zone-rule number 1 to 99: the names of ZON_FILES, and
    "Zone NN.zon" for the files made for the other foreign towns."""
    if number in ZON_FILES:
        return ZON_FILES[number][0]
    return "Zone %02d.zon" % number

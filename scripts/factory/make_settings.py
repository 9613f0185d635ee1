#!/usr/bin/env python3
"""Factory settings: writes the sixteen chart settings files and the files of
the calculation parameters into data/Options/, the set the factory restore
copies into data/Options/Standart/, and the lists of the decimal-separator
upkeep into data/Options/.

Every file is code page 1251 text, one value per line, each line ended by
CR LF, no header. Floats are written the way the program writes them (general
format, at most 15 significant digits, no trailing zeros, '.' as the decimal
separator), so that reading the files and writing them back reproduces them
byte for byte. Values the program keeps in single precision (orbs, orb
factors, orb scales) are chosen exactly representable in single precision.

Standard library only. Run from anywhere:  python3 scripts/factory/make_settings.py
"""

import math
import os
import struct
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
TARGETS = [os.path.join(ROOT, "data", "Options"), os.path.join(ROOT, "data", "Options", "Standart")]

# Body indices of the chart.
SUN, MOON, MERCURY, VENUS, MARS, JUPITER, SATURN = range(7)
OBJECTS = 36


def fmt_float(x):
    """A float as the program writes it: general format, 15 significant digits."""
    if x != 0 and not (1e-4 <= abs(x) < 1e15):
        raise ValueError("value outside the plain-notation range: %r" % x)
    text = "%.15g" % x
    return "0" if text == "-0" else text


def fmt_single(x):
    """A single-precision field: the value must survive the trip through single."""
    single = struct.unpack("<f", struct.pack("<f", x))[0]
    if single != x:
        raise ValueError("%r is not exact in single precision" % x)
    return fmt_float(single)


def colour(red, green, blue):
    """Platform colour value 0x00BBGGRR as signed decimal text."""
    return str(red | (green << 8) | (blue << 16))


# ---- CS.opt: element colours, chart, circles, planets, symbols, window -----
CS = [
    colour(255, 200, 190),  # Fire: pale red
    colour(200, 235, 190),  # Earth: pale green
    colour(255, 245, 190),  # Air: pale yellow
    colour(190, 215, 255),  # Water: pale blue
    colour(255, 255, 255),  # chart fill: white
    colour(0, 0, 0),        # circles: black
    colour(0, 0, 128),      # planets: navy
    colour(128, 0, 0),      # symbols: dark red
    colour(255, 251, 240),  # chart window background: cream
]

# ---- CA.opt: aspect line classes 0..6 --------------------------------------
CA = [
    colour(0, 0, 255),      # 0 harmonious aspects: blue
    colour(255, 0, 0),      # 1 tense aspects: red
    colour(128, 128, 128),  # 2 unused
    colour(128, 128, 128),  # 3 unused
    colour(128, 128, 128),  # 4 unused
    colour(0, 128, 0),      # 5 latitude kinds 26, 27: green
    colour(128, 0, 128),    # 6 longitude-sum kinds 28, 29: purple
]

# ---- CH.opt: cardinal, fixed, mutable houses -------------------------------
CH = [colour(255, 228, 225), colour(255, 250, 205), colour(225, 240, 255)]

# ---- SP.opt: [0] minor-aspect lines solid (1) or dotted (0); [1..3] unused -
SP = ["0", "0", "0", "0"]

# ---- OPT.opt ----------------------------------------------------------------
# Default place 55 deg 45 min N, 37 deg 35 min E, zone +3.
LATITUDE = 55 + 45 / 60
LONGITUDE = 37 + 35 / 60
ZONE = 3.0
GEO_LATITUDE = LATITUDE - 0.19242777777777778 * math.sin(math.radians(2 * LATITUDE))
OPT = [
    "1",  # 0 house system 1 (Placidus), the menu's designed check mark
    "1",  # 1 chart style: European
    "0",  # 2 PrevGeocentric, always 0
    "3",  # 3 wheel orientation: Ascendant on the left
    "1",  # 4 element sectors filled solid (designed caption state)
    "1",  # 5 house sectors filled solid (designed caption state)
    "0",  # 6 save settings during work: no
    "1",  # 7 house rulers with the extent of the houses (designed radio button)
    fmt_float(GEO_LATITUDE),  # 8 geocentric latitude, degrees
    fmt_float(LATITUDE),      # 9 latitude, degrees North
    fmt_float(LONGITUDE),     # 10 longitude, degrees East
    fmt_float(ZONE),          # 11 time zone, hours East
]

# ---- KR.opt: radii chain in percent, European then American ---------------
KR = ["100", "90", "75", "90", "0"] * 2

# ---- IF.opt: glyph sizes, index 15 of the size list ("20") -----------------
IF = ["15"] * 4

# ---- TAP1.opt / TDO1.opt / TDA1.opt: chosen objects and aspect kinds -------
ASPECTED = set(range(0, 12)) | {18, 27}               # planets, Asc, MC
SHOWN = set(range(0, 10)) | set(range(12, 30))        # no Chiron, Proserpina, points
KINDS = set(range(0, 5))                               # the five Ptolemaic aspects
TAP1 = ["1" if o in ASPECTED else "0" for o in range(OBJECTS)]
TDO1 = ["1" if o in SHOWN else "0" for o in range(OBJECTS)]
TDA1 = ["1" if k in KINDS else "0" for k in range(30)]

# ---- KA1.opt / KSBS1.opt: orb factor per kind, global orb scales -----------
KA1 = [fmt_single(1.0)] * 30
KSBS1 = [fmt_single(1.0), fmt_single(0.75), fmt_single(1.5)]  # only element 0 is used

# ---- AOR1.opt: pair orbs, the sum of the two objects' moieties -------------
# Moieties are half of each planet's orb. Sun to Saturn from the orbs of the
# traditional planets in W. Lilly, Christian Astrology (1647): Sun 15, Moon 12,
# Mercury 7, Venus 7, Mars 7.5, Jupiter 9, Saturn 9. The rest are our choice:
# the outer planets 2.5 (orb 5); Chiron, Proserpina, Lilith, Selena, the
# nodes, the Part of Fortune and the Cross of Fate 1.5 (orb 3); the first and
# tenth cusps (objects 18 and 27) 2.5, the other cusps 1.5; the six special
# points 1.5. The diagonal is 0.
MOIETY = [7.5, 6.0, 3.5, 3.5, 3.75, 4.5, 4.5,     # Sun .. Saturn
          2.5, 2.5, 2.5,                          # Uranus, Neptune, Pluto
          1.5, 1.5, 1.5, 1.5, 1.5, 1.5, 1.5, 1.5]  # Chiron .. Cross of Fate
MOIETY += [2.5 if o in (18, 27) else 1.5 for o in range(18, 30)]  # cusps
MOIETY += [1.5] * 6                                                 # special points
assert len(MOIETY) == OBJECTS
AOR1 = [fmt_single(0.0 if a == b else MOIETY[a] + MOIETY[b])
        for a in range(OBJECTS) for b in range(OBJECTS)]

# ---- ALMD.opt / ALMN.opt: almuten of every whole degree --------------------
# Scores of the essential dignities of the seven planets: domicile 5,
# exaltation 4, triplicity 3 (the day or the night ruler), term 2 (Egyptian
# terms, Ptolemy, Tetrabiblos I.20), face 1 (Chaldean faces). Tie rule: the
# domicile ruler of the sign when it is among the highest scores, else the
# first of them in Chaldean order (Saturn, Jupiter, Mars, Sun, Venus, Mercury,
# Moon).
CHALDEAN = [SATURN, JUPITER, MARS, SUN, VENUS, MERCURY, MOON]
DOMICILE = [MARS, VENUS, MERCURY, MOON, SUN, MERCURY,
            VENUS, MARS, JUPITER, SATURN, SATURN, JUPITER]
EXALTATION = {0: SUN, 1: MOON, 3: JUPITER, 5: MERCURY, 6: SATURN, 9: MARS, 11: VENUS}
# Triplicity rulers by element (fire, earth, air, water): (day, night).
TRIPLICITY = [(SUN, JUPITER), (VENUS, MOON), (SATURN, MERCURY), (MARS, MARS)]
# Egyptian terms: per sign five (lord, exclusive end in degrees of the sign).
TERMS = [
    [(JUPITER, 6), (VENUS, 12), (MERCURY, 20), (MARS, 25), (SATURN, 30)],   # Aries
    [(VENUS, 8), (MERCURY, 14), (JUPITER, 22), (SATURN, 27), (MARS, 30)],   # Taurus
    [(MERCURY, 6), (JUPITER, 12), (VENUS, 17), (MARS, 24), (SATURN, 30)],   # Gemini
    [(MARS, 7), (VENUS, 13), (MERCURY, 19), (JUPITER, 26), (SATURN, 30)],   # Cancer
    [(JUPITER, 6), (VENUS, 11), (SATURN, 18), (MERCURY, 24), (MARS, 30)],   # Leo
    [(MERCURY, 7), (VENUS, 17), (JUPITER, 21), (MARS, 28), (SATURN, 30)],   # Virgo
    [(SATURN, 6), (MERCURY, 14), (JUPITER, 21), (VENUS, 28), (MARS, 30)],   # Libra
    [(MARS, 7), (VENUS, 11), (MERCURY, 19), (JUPITER, 24), (SATURN, 30)],   # Scorpio
    [(JUPITER, 12), (VENUS, 17), (MERCURY, 21), (SATURN, 26), (MARS, 30)],  # Sagittarius
    [(MERCURY, 7), (JUPITER, 14), (VENUS, 22), (SATURN, 26), (MARS, 30)],   # Capricorn
    [(MERCURY, 7), (VENUS, 13), (JUPITER, 20), (MARS, 25), (SATURN, 30)],   # Aquarius
    [(VENUS, 12), (JUPITER, 16), (MERCURY, 19), (MARS, 28), (SATURN, 30)],  # Pisces
]


def face_lord(sign, degree):
    """Chaldean faces: the planets in Chaldean order from Mars at 0 Aries."""
    face = 3 * sign + degree // 10
    return CHALDEAN[(CHALDEAN.index(MARS) + face) % 7]


def term_lord(sign, degree):
    return next(lord for lord, end in TERMS[sign] if degree < end)


def almuten(d, day):
    sign, degree = divmod(d, 30)
    score = dict.fromkeys(CHALDEAN, 0)
    score[DOMICILE[sign]] += 5
    if sign in EXALTATION:
        score[EXALTATION[sign]] += 4
    score[TRIPLICITY[sign % 4][0 if day else 1]] += 3
    score[term_lord(sign, degree)] += 2
    score[face_lord(sign, degree)] += 1
    best = max(score.values())
    if score[DOMICILE[sign]] == best:
        return DOMICILE[sign]
    return next(p for p in CHALDEAN if score[p] == best)


ALMD = [str(almuten(d, True)) for d in range(360)]
ALMN = [str(almuten(d, False)) for d in range(360)]

# ---- PAR.opt: classical Arabic parts ----------------------------------------
# A part is A + B + C with signs: operand codes 0..11 the cusps of houses 1..12,
# 12..29 bodies 0..17 (12 Sun, 13 Moon, 14 Mercury, 15 Venus, 16 Mars,
# 17 Jupiter, 18 Saturn, 28 Part of Fortune), 30..41 the rulers of houses 1..12;
# sign modes 0 plus, 1 minus, 2 plus by day and minus by night, 3 the reverse;
# sex 0 any querent, 1 men, 2 women.
# "From X to Y, cast from Z" is Z + Y - X. Formulas after al-Biruni, Book of
# Instruction in the Elements of the Art of Astrology (1029), and G. Bonatti,
# Liber Astronomiae, tr. 8; parts "reversed by night" take the modes 2 and 3.
ASC, CUSP2, CUSP8, CUSP9, CUSP12 = 0, 1, 7, 8, 11
P_SUN, P_MOON, P_MERCURY, P_VENUS, P_MARS, P_JUPITER, P_SATURN = range(12, 19)
P_FORTUNE = 28
RULER1, RULER2, RULER9, RULER12 = 30, 31, 38, 41
PLUS, MINUS, DAY_PLUS, DAY_MINUS = 0, 1, 2, 3


def reversed_by_night(name, y, x, sex=0):
    """From x to y by day, from y to x by night, cast from the Ascendant."""
    return (name, ASC, y, x, DAY_PLUS, DAY_MINUS, sex)


def same_day_and_night(name, y, x, base=ASC, sex=0):
    """From x to y, cast from base, by day and by night alike."""
    return (name, base, y, x, PLUS, MINUS, sex)


PARTS = [
    reversed_by_night("Парс Фортуны", P_MOON, P_SUN),
    reversed_by_night("Парс Духа", P_SUN, P_MOON),
    reversed_by_night("Парс Жизни", P_JUPITER, P_SATURN),
    same_day_and_night("Парс Имущества", CUSP2, RULER2),
    same_day_and_night("Парс Братьев", P_JUPITER, P_SATURN),
    reversed_by_night("Парс Отца", P_SATURN, P_SUN),
    reversed_by_night("Парс Матери", P_MOON, P_VENUS),
    reversed_by_night("Парс Детей", P_SATURN, P_JUPITER),
    reversed_by_night("Парс Болезни", P_MARS, P_SATURN),
    same_day_and_night("Парс Брака (для мужчин)", P_VENUS, P_SATURN, sex=1),
    same_day_and_night("Парс Брака (для женщин)", P_SATURN, P_VENUS, sex=2),
    same_day_and_night("Парс Смерти", CUSP8, P_MOON, base=P_SATURN),
    same_day_and_night("Парс Убивающей планеты", P_MOON, RULER1),
    same_day_and_night("Парс Путешествий", CUSP9, RULER9),
    reversed_by_night("Парс Веры", P_MERCURY, P_MOON),
    reversed_by_night("Парс Власти", P_MOON, P_MARS),
    same_day_and_night("Парс Друзей", P_MERCURY, P_MOON),
    same_day_and_night("Парс Врагов", CUSP12, RULER12),
    reversed_by_night("Парс Смелости", P_FORTUNE, P_MARS),
    reversed_by_night("Парс Немезиды", P_FORTUNE, P_SATURN),
]
PAR = [str(len(PARTS))]
for part in PARTS:
    PAR.append(part[0])
    PAR.extend(str(v) for v in part[1:])

# ---- PRC1.opt: calculation parameters --------------------------------------
# 0 kept flag; 1 table font; 2 double-chart orb factor (UpDown2 starts at 25,
# times 0.01); then the selected flags of five radio pairs: save settings
# during work (No), American degree labels (Yes), hidden double-chart pair
# (Yes), American aspect lines (Yes), hidden double-chart pair (Yes).
PRC1 = ["0", "DejaVu Sans", fmt_single(0.25),
        "0", "1", "1", "0", "1", "0", "1", "0", "1", "0"]

# ---- DBD.opt: folder of the chart databases; empty = the program folder ----
DBD = [""]

# ---- RulTF.opt: Egyptian terms, the seven planets as sign rulers ------------
RULTF = ["0", "0"]

# ---- rec.box: receptions by domicile and exaltation -------------------------
REC = ["1", "1", "0", "0"]

# ---- RUN4.opt / RUN.opt: the files with decimals, for the separator upkeep --
# Only files whose lines are numbers: names and texts are never listed.
DECIMAL_FILES = ["OPT.opt", "KA1.opt", "KSBS1.opt", "AOR1.opt", "PRC1.opt"]

FILES = {
    "CS.opt": CS, "CA.opt": CA, "CH.opt": CH, "SP.opt": SP, "OPT.opt": OPT,
    "KR.opt": KR, "IF.opt": IF, "TAP1.opt": TAP1, "TDO1.opt": TDO1, "TDA1.opt": TDA1,
    "KA1.opt": KA1, "KSBS1.opt": KSBS1, "AOR1.opt": AOR1, "ALMD.opt": ALMD,
    "ALMN.opt": ALMN, "PAR.opt": PAR, "PRC1.opt": PRC1, "DBD.opt": DBD,
}
# Files of Options only: the factory restore does not copy them.
OPTIONS_ONLY = {"RulTF.opt": RULTF, "rec.box": REC, "RUN4.opt": DECIMAL_FILES,
                "RUN.opt": DECIMAL_FILES}
LINE_COUNTS = {"CS.opt": 9, "CA.opt": 7, "CH.opt": 3, "SP.opt": 4, "OPT.opt": 12,
               "KR.opt": 10, "IF.opt": 4, "TAP1.opt": 36, "TDO1.opt": 36, "TDA1.opt": 30,
               "KA1.opt": 30, "KSBS1.opt": 3, "AOR1.opt": 1296, "ALMD.opt": 360,
               "ALMN.opt": 360, "PAR.opt": 1 + 7 * len(PARTS), "PRC1.opt": 13, "DBD.opt": 1,
               "RulTF.opt": 2, "rec.box": 4, "RUN4.opt": 5, "RUN.opt": 5}


def write(folder, name, lines):
    data = b"".join(line.encode("cp1251") + b"\r\n" for line in lines)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    for name, lines in list(FILES.items()) + list(OPTIONS_ONLY.items()):
        if len(lines) != LINE_COUNTS[name]:
            sys.exit("%s: %d lines, %d expected" % (name, len(lines), LINE_COUNTS[name]))
    for folder in TARGETS:
        os.makedirs(folder, exist_ok=True)
        for name, lines in FILES.items():
            write(folder, name, lines)
    for name, lines in OPTIONS_ONLY.items():
        write(TARGETS[0], name, lines)
    print("wrote %d files into each of %s, and %d more into the first"
          % (len(FILES), ", ".join(TARGETS), len(OPTIONS_ONLY)))


if __name__ == "__main__":
    main()

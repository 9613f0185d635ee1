#!/usr/bin/env python3
"""Factory dignity tables: writes Term.opt, Fac.opt and Degr.opt into
data/Options/.

Line 12 k + s of each file holds sign s (0 Aries .. 11 Pisces) of set k; every
field is two decimal digits; lords are body indices (0 Sun, 1 Moon,
2 Mercury, 3 Venus, 4 Mars, 5 Jupiter, 6 Saturn, 7 Uranus, 8 Neptune,
9 Pluto). Code page 1251 (plain digits), CR LF line ends, no header.

Term.opt, five term systems, each line five lords then five ends (the
exclusive end of each term in whole degrees of the sign, the last 30):
  0 Egyptian terms: Ptolemy, Tetrabiblos I.20.
  1 Chaldean terms: Tetrabiblos I.21 -- in each triplicity the lords follow
    the triplicity rulers (fire Jupiter, earth Venus, air Saturn and Mercury,
    water Mars) from the sign's own triplicity on, with 8, 7, 6, 5 and 4
    degrees; of the two air rulers Saturn comes first (the day order).
  2 Ptolemaic terms as in Lilly's table of essential dignities (Christian
    Astrology, 1647, p. 104); Gemini in Lilly's order: Mercury to 7,
    Jupiter to 14, Venus to 21, Saturn to 25, Mars to 30.
  3 "Равные по звезде магов": no published table; filled by a stated rule:
    five equal terms of 6 degrees whose lords are the five planets in the
    order of the weekdays (Mars, Mercury, Jupiter, Venus, Saturn) starting
    from the sign's domicile lord, from Mars in the signs of the luminaries.
  4 "С высшими планетами": no published table; the Ptolemaic terms with the
    higher planets in the signs they rule: Uranus for Saturn in Aquarius,
    Neptune for Jupiter in Pisces, Pluto for Mars in Scorpio.
Fac.opt, two face sets of three ten-degree faces:
  0 the Chaldean faces: the planets in the Chaldean order (Saturn, Jupiter,
    Mars, Sun, Venus, Mercury, Moon) from Mars at 0 Aries on.
  1 no published table; by a stated rule: the domicile lords, with the higher
    planets (Uranus Aquarius, Neptune Pisces, Pluto Scorpio), of the three
    signs of the sign's triplicity, from the sign itself in zodiacal order.
Degr.opt, two degree-lord sets of thirty degrees:
  0 the monomoiria of Paulus Alexandrinus: the first degree of a sign to its
    domicile lord, each following degree to the next planet in the Chaldean
    order.
  1 no published table; by a stated rule: the ten planets Sun to Pluto in
    the order of their body numbers, from the sign's domicile lord (with the
    higher planets) on, one a degree.

Standard library only. Run from anywhere:  python3 scripts/factory/make_dignities.py
"""

import os

from make_settings import CHALDEAN, DOMICILE, TERMS, face_lord

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
TARGET = os.path.join(ROOT, "data", "Options")

SUN, MOON, MERCURY, VENUS, MARS, JUPITER, SATURN, URANUS, NEPTUNE, PLUTO = range(10)
# Domicile lords by sign with the higher planets (the classical ones, the
# Chaldean order and the Egyptian terms come with the chart settings).
DOMICILE_MODERN = [MARS, VENUS, MERCURY, MOON, SUN, MERCURY, VENUS, PLUTO, JUPITER, SATURN, URANUS,
                   NEPTUNE]

# ---- terms: (lord, end) five to a sign ----------------------------------------
# The Egyptian terms are those the almutens of the chart settings are built on.
EGYPTIAN = TERMS

PTOLEMAIC = [
    [(JUPITER, 6), (VENUS, 14), (MERCURY, 21), (MARS, 26), (SATURN, 30)],    # Aries
    [(VENUS, 8), (MERCURY, 15), (JUPITER, 22), (SATURN, 26), (MARS, 30)],    # Taurus
    [(MERCURY, 7), (JUPITER, 14), (VENUS, 21), (SATURN, 25), (MARS, 30)],    # Gemini
    [(MARS, 6), (JUPITER, 13), (MERCURY, 20), (VENUS, 27), (SATURN, 30)],    # Cancer
    [(SATURN, 6), (MERCURY, 13), (VENUS, 19), (JUPITER, 25), (MARS, 30)],    # Leo
    [(MERCURY, 7), (VENUS, 13), (JUPITER, 18), (SATURN, 24), (MARS, 30)],    # Virgo
    [(SATURN, 6), (VENUS, 11), (JUPITER, 19), (MERCURY, 24), (MARS, 30)],    # Libra
    [(MARS, 6), (JUPITER, 14), (VENUS, 21), (MERCURY, 27), (SATURN, 30)],    # Scorpio
    [(JUPITER, 8), (VENUS, 14), (MERCURY, 19), (SATURN, 25), (MARS, 30)],    # Sagittarius
    [(VENUS, 6), (MERCURY, 12), (JUPITER, 19), (MARS, 25), (SATURN, 30)],    # Capricorn
    [(SATURN, 6), (MERCURY, 12), (VENUS, 20), (JUPITER, 25), (MARS, 30)],    # Aquarius
    [(VENUS, 8), (JUPITER, 14), (MERCURY, 20), (MARS, 26), (SATURN, 30)],    # Pisces
]


def chaldean_terms():
    # triplicity rulers in the order fire, earth, air, water; air has two
    rulers = [[JUPITER], [VENUS], [SATURN, MERCURY], [MARS]]
    terms = []
    for sign in range(12):
        element = sign % 4
        lords = []
        for k in range(4):
            lords += rulers[(element + k) % 4]
        ends, end = [], 0
        for size in (8, 7, 6, 5, 4):
            end += size
            ends.append(end)
        terms.append(list(zip(lords, ends)))
    return terms


def equal_terms():
    weekday = [MARS, MERCURY, JUPITER, VENUS, SATURN]
    terms = []
    for sign in range(12):
        lord = DOMICILE[sign]
        start = weekday.index(lord) if lord in weekday else 0
        terms.append([(weekday[(start + t) % 5], 6 * (t + 1)) for t in range(5)])
    return terms


def higher_planet_terms():
    swap = {10: (SATURN, URANUS), 11: (JUPITER, NEPTUNE), 7: (MARS, PLUTO)}
    terms = []
    for sign, row in enumerate(PTOLEMAIC):
        old, new = swap.get(sign, (None, None))
        terms.append([(new if lord == old else lord, end) for lord, end in row])
    return terms


TERM_SYSTEMS = [EGYPTIAN, chaldean_terms(), PTOLEMAIC, equal_terms(), higher_planet_terms()]


def chaldean_faces():
    return [[face_lord(sign, 10 * f) for f in range(3)] for sign in range(12)]


def triplicity_faces():
    return [[DOMICILE_MODERN[(sign + 4 * f) % 12] for f in range(3)] for sign in range(12)]


def monomoiria():
    return [[CHALDEAN[(CHALDEAN.index(DOMICILE[sign]) + d) % 7] for d in range(30)]
            for sign in range(12)]


def ten_planet_degrees():
    return [[(DOMICILE_MODERN[sign] + d) % 10 for d in range(30)] for sign in range(12)]


def two(n):
    assert 0 <= n <= 99
    return "%02d" % n


def check_terms(system):
    for row in system:
        ends = [end for _, end in row]
        assert ends == sorted(set(ends)) and ends[-1] == 30, row


def write(name, lines):
    data = b"".join(line.encode("cp1251") + b"\r\n" for line in lines)
    with open(os.path.join(TARGET, name), "wb") as f:
        f.write(data)
    print("make_dignities: wrote %d lines to %s" % (len(lines), name))


def main():
    term_lines = []
    for system in TERM_SYSTEMS:
        check_terms(system)
        for row in system:
            term_lines.append("".join(two(l) for l, _ in row) + "".join(two(e) for _, e in row))
    write("Term.opt", term_lines)
    write("Fac.opt", ["".join(two(l) for l in row) for faces in (chaldean_faces(), triplicity_faces())
                      for row in faces])
    write("Degr.opt", ["".join(two(l) for l in row) for lords in (monomoiria(), ten_planet_degrees())
                       for row in lords])


if __name__ == "__main__":
    main()

// House cusps in 23 systems. The angles follow the classical formulas for
// the Midheaven, Ascendant and Vertex; the systems use the pole, semi-arc and
// projection formulas of each method. Single precision as the chart stores
// cusps, except the sidereal time and the Placidus iteration, which need
// double precision to land on the right side of the half-circle tests and
// to converge.
#include "engine/houses.h"

#include <algorithm>
#include <cmath>

#include "engine/astromath.h"
#include "engine/timing.h"

namespace {

constexpr float kDeg = static_cast<float>(kRadToDeg);  // radians -> degrees
constexpr float kRad = static_cast<float>(kDegToRad);  // degrees -> radians

// v reduced into [0, 360).
float Reduced(float v) {
  Normalize360f(v);
  return v;
}

// Everything a house system may read.
struct HouseContext {
  double ramc;    // right ascension of the MC, radians
  float ramcF;    // the same, single precision
  float eps;      // obliquity, radians
  float phi;      // latitude, radians
  double lst;     // local sidereal time, hours
  float asc;      // Ascendant, degrees
  float mc;       // Midheaven, degrees
  float vertex;   // degrees
  float sunRise;  // hours UT
  float sunSet;   // hours UT
  SunRiseSetStatus riseSet;
  float ut;             // hours UT
  float sun, moon;      // longitudes, degrees
  float partOfFortune;  // degrees
};

// Ecliptic longitude of right ascension x (radians), half-circle ambiguous.
float LambdaM(const HouseContext& c, float x) {
  return ArcTan2Rad(std::cos(c.eps) * std::sin(x), std::cos(x));
}

// Pole formula for RAMC x, house angle h and pole p (radians).
float LambdaR(const HouseContext& c, float x, float h, float p) {
  return ArcTan2Rad(std::sin(x + h), std::cos(c.eps) * std::cos(x + h) -
                                         std::sin(c.eps) * std::tan(p) * std::sin(h));
}

// The ascendant formula at sidereal angle t (radians).
float LambdaA(const HouseContext& c, float t) {
  return ArcTan2Rad(-std::cos(t),
                    std::cos(c.eps) * std::sin(t) + std::sin(c.eps) * std::tan(c.phi));
}

// The cusp "by time": the Sun's longitude advanced by 180 degrees over the
// daylight and 180 over the night, in proportion to the time since sunrise or
// sunset. The daylight may wrap past 0h UT. Where the Sun neither rises nor
// sets the cusp is undefined (NaN), which makes the routine use equal houses
// from the MC for the chart.
float TimeCusp(const HouseContext& c) {
  if (c.riseSet != SunRiseSetStatus::kNormal) return std::nanf("");
  float dayLength = std::fmod(c.sunSet - c.sunRise + 48.0f, 24.0f);
  float sinceRise = std::fmod(c.ut - c.sunRise + 48.0f, 24.0f);
  float v;
  if (sinceRise > 0 && sinceRise < dayLength)
    v = c.sun + sinceRise * 180.0f / dayLength;
  else
    v = c.sun + 180.0f +
        std::fmod(sinceRise - dayLength + 48.0f, 24.0f) * 180.0f / (24.0f - dayLength);
  Normalize360f(v);
  return v;
}

// Cusps by index: house k is element k-1.
enum { H1 = 0, H2 = 1, H3 = 2, H5 = 4, H6 = 5, H10 = 9 };

// Placidus de Titis, Primum Mobile (1657): each cusp trisects its own degree's semi-arc.
void Placidus(const HouseContext& c, float* cusp) {
  // Each intermediate cusp is the ecliptic point whose right ascension is
  // RAMC + H + f * AD, AD being the ascensional difference of the point's own
  // declination: iterated from the point at RAMC + H until it stands still.
  struct Step {
    double h;
    double f;
    int index;
    bool opposite;
  };
  const Step steps[] = {{30, 1.0 / 3, H5, true},
                        {60, 2.0 / 3, H6, true},
                        {120, 2.0 / 3, H2, false},
                        {150, 1.0 / 3, H3, false}};
  const double eps = c.eps, tanPhi = std::tan(static_cast<double>(c.phi));
  for (const Step& s : steps) {
    double base = c.ramc + s.h * kDegToRad;
    double alpha = base, lambda = 0;
    for (int i = 0; i < 100; ++i) {
      lambda = std::atan2(std::sin(alpha), std::cos(alpha) * std::cos(eps));
      double decl = std::asin(std::sin(eps) * std::sin(lambda));
      double next = base + s.f * std::asin(tanPhi * std::tan(decl));
      double change = std::remainder(next - alpha, kTwoPi);
      alpha = next;
      if (!(std::fabs(change) > 1e-6 * kDegToRad)) break;  // also leaves on NaN
    }
    lambda = std::atan2(std::sin(alpha), std::cos(alpha) * std::cos(eps));
    float deg = static_cast<float>(lambda * kRadToDeg);
    cusp[s.index] = s.opposite ? deg - 180.0f : deg;
  }
}

// W. A. Koch, Häusertabellen des Geburtsortes (1962): the MC degree's semi-arcs trisected in time.
void Koch(const HouseContext& c, float* cusp) {
  float delta = std::asin(std::sin(c.eps) * std::sin(c.mc * kRad));
  float ad = std::asin(std::tan(c.phi) * std::tan(delta));
  float s = (kPiF / 2 + ad) / 3;
  float t11 = c.ramcF - ad + s - kPiF / 2;
  float t12 = t11 + s;
  float t2 = t12 + 2 * s;
  float t3 = t2 + s;
  cusp[H2] = LambdaA(c, t2) * kDeg;
  cusp[H3] = LambdaA(c, t3) * kDeg;
  cusp[H5] = LambdaA(c, t11) * kDeg - 180;
  cusp[H6] = LambdaA(c, t12) * kDeg - 180;
}

// x if it lies on the arc running forwards from `from` to `to` (degrees),
// else the nearer end of the arc.
float KeepInArc(float x, float from, float to) {
  const float span = Reduced(to - from), past = Reduced(x - from);
  if (past <= span) return x;
  return past - span < 360 - past ? to : from;
}

// W. Polich and A. P. Nelson Page, The Topocentric System of Houses (1964).
// Each cusp is the ascendant of its pole: the ecliptic point rising at
// oblique ascension RAMC + H - 90 degrees for the pole p. Written in this
// form rather than through the auxiliary angle x, whose product
// cos x * tan(RAMC + H) is 0 times infinity where RAMC + H is 90 or 270
// degrees (and turns a cusp by tens of degrees around there).
void Topocentric(const HouseContext& c, float* cusp) {
  const double tanPhi = std::tan(static_cast<double>(c.phi));
  const double phi1 = std::atan(tanPhi / 3), phi2 = std::atan(2 * tanPhi / 3);
  const double eps = c.eps;
  struct Step {
    double h;
    double p;
    int index;
    bool opposite;
  };
  const Step steps[] = {
      {30, phi1, H5, true}, {60, phi2, H6, true}, {120, phi2, H2, false}, {150, phi1, H3, false}};
  for (const Step& s : steps) {
    const double q = c.ramc + (s.h - 90) * kDegToRad;
    const double lambda =
        std::atan2(std::cos(q), -(std::sin(eps) * std::tan(s.p) + std::cos(eps) * std::sin(q))) *
        kRadToDeg;
    cusp[s.index] = static_cast<float>(s.opposite ? lambda - 180 : lambda);
  }
  // Near the polar circle (from about 65 degrees) the pole of a cusp can
  // carry it a little past the Ascendant or the Descendant; each cusp is held
  // in its quadrant, after the cusp before it.
  const float ic = c.mc + 180, desc = c.asc + 180;
  cusp[H2] = KeepInArc(cusp[H2], c.asc, ic);
  cusp[H3] = KeepInArc(cusp[H3], cusp[H2], ic);
  cusp[H5] = KeepInArc(cusp[H5], ic, desc);
  cusp[H6] = KeepInArc(cusp[H6], cusp[H5], desc);
}

// Regiomontanus, Tabulae directionum (1467): the equator divided from the meridian.
void Regiomontanus(const HouseContext& c, float* cusp) {
  const float h[] = {120, 150, 210, 240};
  const int idx[] = {H2, H3, H5, H6};
  for (int i = 0; i < 4; ++i) cusp[idx[i]] = LambdaR(c, c.ramcF, h[i] * kRad, c.phi) * kDeg;
}

// Trisects the quadrants between the given first cusp and the MC.
// Size of the quadrant from the first cusp to the IC, folded into [0, 180)
// (for a first cusp taken from the time of day the difference to the MC can
// exceed one half-circle step).
float QuadrantFrom(float first, float mc) {
  float q = std::fmod(mc - first, 180.0f);
  if (q < 0) q += 180.0f;
  return q;
}

// Porphyry, Introduction to the Tetrabiblos (3rd century): each quadrant of the ecliptic trisected.
void PorphyryFrom(const HouseContext& c, float first, float* cusp) {
  float q = QuadrantFrom(first, c.mc);
  float t = q / 3, u = (180 - q) / 3;
  cusp[H2] = first + t;
  cusp[H3] = cusp[H2] + t;
  cusp[H6] = first + 180 - u;
  cusp[H5] = cusp[H6] - u;
}

void Porphyry(const HouseContext& c, float* cusp) { PorphyryFrom(c, c.asc, cusp); }

// Campanus of Novara (13th century): the prime vertical divided from the meridian.
void CampanusWithPole(const HouseContext& c, float pole, float* cusp) {
  const float h[] = {120, 150, 210, 240};
  const int idx[] = {H2, H3, H5, H6};
  for (int i = 0; i < 4; ++i) {
    float hp = std::atan(std::cos(pole) * std::tan(h[i] * kRad));
    cusp[idx[i]] = LambdaR(c, c.ramcF, hp, pole) * kDeg;
  }
}

void Campanus(const HouseContext& c, float* cusp) { CampanusWithPole(c, c.phi, cusp); }

// Ecliptic longitude of right ascension RAMC + 90 degrees. The full-circle
// arctangent puts it on its own half-circle, so it moves continuously through
// RAMC 90 and 180 degrees, where RAMC + 90 meets a quadrant boundary.
float MorinusEast(const HouseContext& c) {
  const double x = c.ramc + kPi / 2;
  return Reduced(static_cast<float>(
      std::atan2(std::cos(static_cast<double>(c.eps)) * std::sin(x), std::cos(x)) * kRadToDeg));
}

// J.-B. Morin, Astrologia Gallica (1661): the equator divided from the meridian, taken to the
// ecliptic through its poles. Cusp 10 is by the same rule the ecliptic point
// of the equator's point at RAMC (tan lambda = tan RAMC cos eps), on RAMC's
// own half-circle; it differs from the MC by up to 2.5 degrees.
void Morinus(const HouseContext& c, float* cusp) {
  cusp[H1] = MorinusEast(c);
  cusp[H10] = Reduced(static_cast<float>(
      std::atan2(std::cos(static_cast<double>(c.eps)) * std::sin(c.ramc), std::cos(c.ramc)) *
      kRadToDeg));
  const float h[] = {120, 150, 210, 240};
  const int idx[] = {H2, H3, H5, H6};
  for (int i = 0; i < 4; ++i) cusp[idx[i]] = LambdaM(c, c.ramcF + h[i] * kRad) * kDeg;
}

// Named after Brahmagupta (Brahmasphutasiddhanta, 628); no published source of this variant is
// traced: cusp 1 by time, the quadrants trisected as Porphyry's.
void Brahmagupta(const HouseContext& c, float* cusp) {
  cusp[H1] = TimeCusp(c);
  PorphyryFrom(c, cusp[H1], cusp);
}

void EqualFrom(float first, int firstHouse, float* cusp) {
  for (int k = 1; k <= 12; ++k) cusp[k - 1] = first + 30.0f * (k - firstHouse);
}

// Equal houses from the Ascendant (M. E. Hone, The Modern Text-Book of Astrology, 1951).
void EqualAsc(const HouseContext& c, float* cusp) { EqualFrom(c.asc, 1, cusp); }
// Equal houses from the Midheaven; no published source traced.
void EqualMc(const HouseContext& c, float* cusp) { EqualFrom(c.mc, 10, cusp); }
// Equal houses from the Sun's degree, the solar chart; no single published source.
void Solar(const HouseContext& c, float* cusp) { EqualFrom(c.sun, 1, cusp); }
// Equal houses from the cusp by time; no published source traced.
void Medical(const HouseContext& c, float* cusp) { EqualFrom(TimeCusp(c), 1, cusp); }

// Named after Zariel; no published source of this variant is traced: the Morinus points turned
// a quarter circle.
void Zariel(const HouseContext& c, float* cusp) {
  cusp[H1] = c.mc + 90;
  cusp[H10] = MorinusEast(c) - 90;
  cusp[H2] = LambdaM(c, c.ramcF + 210 * kRad) * kDeg - 90;
  cusp[H3] = LambdaM(c, c.ramcF + 240 * kRad) * kDeg - 90;
  cusp[H5] = LambdaM(c, c.ramcF + 120 * kRad) * kDeg + 90;
  cusp[H6] = LambdaM(c, c.ramcF + 150 * kRad) * kDeg + 90;
}

// Arcturian houses; no published source traced.
void Arcturian(const HouseContext& c, float* cusp) {
  float delta = std::asin(std::sin(c.eps) * std::sin(c.asc * kRad));
  float inc = std::acos(std::cos(c.ramcF + kPiF / 2) * std::sin(c.eps) * std::cos(c.phi) +
                        std::cos(c.eps) * std::sin(c.phi));
  float cosPhi = (c.phi * kDeg == 90.0f) ? std::cos(c.phi - 3 * kRad) : std::cos(c.phi);
  float beta = std::asin(std::sin(delta) / cosPhi);
  auto part = [&](float offsetDeg) {
    return std::atan(std::tan(beta + offsetDeg * kRad) * std::cos(inc)) * kDeg;
  };
  cusp[H2] = c.asc - part(150);
  cusp[H3] = c.asc - part(120);
  cusp[H5] = c.asc - part(60) + 180;
  cusp[H6] = c.asc - part(30) + 180;
  cusp[H1] = c.mc + 90;
  cusp[H10] = c.vertex + 90;
}

// Horizontal houses, the horizon divided by vertical circles (B. Makransky, Primary Directions,
// 1988, ch. 5), here by the Campanus rule on the complementary pole.
void Horizontal(const HouseContext& c, float* cusp) {
  float p = (c.phi == 0) ? kPiF / 2 : std::copysign(kPiF / 2 - std::fabs(c.phi), c.phi);
  CampanusWithPole(c, p, cusp);
}

// Alcabitius (al-Qabisi), Introduction to Astrology (10th c.; ed. Burnett et al., 2004): the
// diurnal semi-arc of the Ascendant's degree trisected in right ascension from the MC for cusps
// 11 and 12, its nocturnal semi-arc from the Ascendant for cusps 2 and 3, each division taken
// to the ecliptic along its hour circle. Where the Ascendant's degree never rises or never sets
// (beyond the polar circles) the semi-arc is undefined and the cusps are not numbers.
void AlKabisi(const HouseContext& c, float* cusp) {
  const double eps = c.eps, phi = c.phi;
  const double decl = std::asin(std::sin(eps) * std::sin(c.asc * kDegToRad));
  const double cosArc = -std::tan(phi) * std::tan(decl);
  const double day = cosArc >= -1 && cosArc <= 1 ? std::acos(cosArc) : std::nan("");
  const double night = kPi - day;
  // the ecliptic point of right ascension ra, on ra's own half-circle
  auto onEcliptic = [&](double ra) {
    return static_cast<float>(std::atan2(std::sin(ra), std::cos(ra) * std::cos(eps)) * kRadToDeg);
  };
  cusp[H5] = onEcliptic(c.ramc + day / 3) - 180;  // opposite cusp 11
  cusp[H6] = onEcliptic(c.ramc + 2 * day / 3) - 180;
  cusp[H2] = onEcliptic(c.ramc + day + night / 3);
  cusp[H3] = onEcliptic(c.ramc + day + 2 * night / 3);
}

// The semi-arc reading of Alcabitius's division (same source): the Ascendant's semi-arcs trisected.
void AlKabisiSemiArc(const HouseContext& c, float* cusp) {
  float w = std::atan(std::cos(c.eps) * std::tan(c.asc * kRad));
  if (w < 0) w += 2 * kPiF;
  // folded into [0, pi) whatever quadrant RAMC is in (a single step of pi
  // leaves d negative when RAMC lies in the fourth quadrant)
  float d = std::fmod(w - c.ramcF, kPiF);
  if (d < 0) d += kPiF;
  auto wrap = [](float t) { return t > 2 * kPiF ? t - 2 * kPiF : t; };
  float t11 = wrap(c.ramcF + d / 3);
  float t12 = wrap(t11 + d / 3);
  float t3 = wrap(c.ramcF + kPiF - (kPiF - d) / 3);
  float t2 = wrap(t3 - (kPiF - d) / 3);
  // cos(eps) in both products, as the method defines it
  auto value = [&](float t) {
    return ArcTan2OppositeRad(-std::cos(t),
                              std::cos(c.eps) * std::sin(t) + std::cos(c.eps) * std::tan(c.phi)) *
           kDeg;
  };
  cusp[H2] = c.mc + value(t2);
  cusp[H3] = c.mc + value(t3);
  cusp[H5] = c.mc + value(t11) - 180;
  cusp[H6] = c.mc + value(t12) - 180;
}

// Colin Evans, Improved House-Division: The Natural-Graduation System (1952).
// A quadrant of q degrees has a middle house of (q - 30) / 2 and two outer
// houses of 15 + (q - 30) / 4. Below q = 30 the middle house would be
// negative and run its cusps backwards: it is empty instead, and the outer
// houses share the quadrant (q / 2 each), which meets the rule at q = 30.
void Evans(const HouseContext& c, float* cusp) {
  const float q = QuadrantFrom(c.asc, c.mc), r = 180 - q;  // quadrants Asc-IC and IC-Desc
  const float a = std::max((q - 30) / 2, 0.0f), b = std::max((r - 30) / 2, 0.0f);
  cusp[H2] = c.asc + std::min(15 + a / 2, q / 2);
  cusp[H3] = cusp[H2] + a;
  cusp[H6] = c.asc + 180 - std::min(b / 2 + 15, r / 2);
  cusp[H5] = cusp[H6] - b;
}

void SignHousesFrom(float first, float* cusp) {
  cusp[H1] = first;
  cusp[H10] = first + 270;
  cusp[H2] = first + 30;
  cusp[H3] = first + 60;
  cusp[H5] = first + 120;
  cusp[H6] = first + 150;
}

float SignStart(float x) { return 30.0f * std::floor(x / 30.0f); }

// Whole-sign houses (Vettius Valens, Anthologies, 2nd century), from the Ascendant's sign.
void SignHouseAsc(const HouseContext& c, float* cusp) { SignHousesFrom(SignStart(c.asc), cusp); }
// Whole signs from the Sun's sign, the sun-sign chart; no single published source.
void SignHouseSun(const HouseContext& c, float* cusp) { SignHousesFrom(SignStart(c.sun), cusp); }
// Whole signs from the Moon's sign, as the Sun's; no single published source.
void SignHouseMoon(const HouseContext& c, float* cusp) { SignHousesFrom(SignStart(c.moon), cusp); }
// Thirty-degree houses from the plain half-sum of Sun and Moon; no published source traced.
void KarmicAsc(const HouseContext& c, float* cusp) { SignHousesFrom((c.sun + c.moon) / 2, cusp); }
// Whole signs from the Lot of Fortune taken as an ascendant (Vettius Valens, Anthologies).
void SignHouseFortune(const HouseContext& c, float* cusp) {
  SignHousesFrom(SignStart(c.partOfFortune), cusp);
}

using HouseSystemFn = void (*)(const HouseContext&, float*);

// Systems 1..23 in the order of the house-system menu.
constexpr HouseSystemFn kHouseSystems[kHouseSystemCount] = {
    Placidus,     Koch,         Topocentric,   Regiomontanus, Porphyry,        Campanus,
    Morinus,      Brahmagupta,  EqualAsc,      EqualMc,       Solar,           Medical,
    Zariel,       Arcturian,    Horizontal,    AlKabisi,      AlKabisiSemiArc, Evans,
    SignHouseAsc, SignHouseSun, SignHouseMoon, KarmicAsc,     SignHouseFortune};

// Turns a cusp and the one opposite it by 180 degrees.
void TurnPair(float* cusp, int k) {
  cusp[k] -= 180;
  Normalize360f(cusp[k]);
  cusp[k + 6] -= 180;
  Normalize360f(cusp[k + 6]);
}

// Derives the six opposite cusps and turns cusps that a half-circle
// ambiguous formula put on the wrong side.
void CompleteCusps(float* cusp) {
  cusp[3] = cusp[9] + 180;
  cusp[6] = cusp[0] + 180;
  cusp[7] = cusp[1] + 180;
  cusp[8] = cusp[2] + 180;
  cusp[10] = cusp[4] + 180;
  cusp[11] = cusp[5] + 180;
  for (int k = 0; k < 12; ++k) Normalize360f(cusp[k]);
  const int later[] = {1, 2, 4, 5};  // houses 2, 3, 5, 6 after 1, 2, 4, 5
  for (int k : later) {
    float d = cusp[k] - cusp[k - 1];
    if (d > 180) TurnPair(cusp, k);
    d = cusp[k] - cusp[k - 1];
    if (d > -180 && d < 0) TurnPair(cusp, k);
  }
  for (int k = 0; k < 12; ++k) Normalize360f(cusp[k]);
}

bool AllFinite(const float* cusp) {
  for (int k = 0; k < 12; ++k)
    if (!std::isfinite(cusp[k])) return false;
  return true;
}

}  // namespace

HouseResult CalcHouseCusps(HouseCuspRecord& rec, int houseSystem, std::uint8_t siderealSwitch) {
  HouseResult result;
  result.HouseSystem = houseSystem;

  // days from J2000.0 to 0h of the date, on the chart's time scale and on
  // universal time (the sidereal time runs on the latter)
  const double days0h = rec.JulianDay0h - kJ2000;
  const double days0hUt = UniversalJulianDay(rec.JulianDay0h) - kJ2000;
  // The positions are apparent, on the true equator and equinox of the
  // moment, so the angles are too: the true obliquity and the apparent
  // sidereal time (the mean one plus the equation of the equinoxes).
  const TrueEquinox trueEquinox =
      TrueEquinoxAt((days0h + rec.UniversalTime / 24.0) / kDaysPerJulianCentury);
  // Local sidereal time and RAMC in double: in single precision an LST of
  // exactly 6h or 18h can fall on the wrong side of the MC's half-circle test.
  float epsDeg = static_cast<float>(trueEquinox.obliquityDeg);
  double lst = siderealSwitch != 0
                   ? rec.PlaceLongitude / 15.0
                   : GreenwichApparentSiderealDeg(days0hUt, rec.UniversalTime, trueEquinox) / 15.0 +
                         rec.PlaceLongitude / 15.0 + rec.ExtraHours;
  lst = std::fmod(lst, 24.0);
  if (lst < 0) lst += 24.0;
  double ramc = lst * kPi / 12.0;

  HouseContext c{};
  c.ramc = ramc;
  c.ramcF = static_cast<float>(ramc);
  c.eps = epsDeg * kRad;
  c.phi = rec.PlaceLatitude * kRad;
  c.lst = lst;
  c.ut = rec.UniversalTime;
  c.sun = rec.SunLongitude;
  c.moon = rec.MoonLongitude;

  // The MC is the ecliptic point of right ascension RAMC, on RAMC's own
  // half-circle (the half-circle step for 6h < LST <= 18h, taken exactly).
  double mc = std::atan2(std::sin(ramc), std::cos(ramc) * std::cos(static_cast<double>(c.eps)));
  c.mc = Reduced(static_cast<float>(mc * kRadToDeg));

  if (rec.PlaceLatitude > kHighLatitudeLimit) {
    result.HighLatitudeFallback = true;
    result.HouseSystem = kEqualFromMc;
    c.asc = Reduced(c.mc + 90);
    c.vertex = Reduced(c.asc + 180);
  } else {
    const float sinR = std::sin(c.ramcF), cosR = std::cos(c.ramcF);
    const float sinE = std::sin(c.eps), cosE = std::cos(c.eps), tanPhi = std::tan(c.phi);
    c.asc = Reduced(ArcTan2OppositeRad(-cosR, sinE * tanPhi + cosE * sinR) * kDeg);
    // The formula's point is the eastern meeting point of ecliptic and
    // horizon while cos eps + sin eps tan phi sin RAMC > 0, which holds
    // everywhere between the polar circles; beyond them it can be the western
    // (setting) one, and the Ascendant is the eastern one.
    if (cosE + sinE * tanPhi * sinR < 0) c.asc = Reduced(c.asc + 180);
    c.vertex = rec.PlaceLatitude == 0
                   ? 0.0f
                   : Reduced(ArcTan2OppositeRad(cosR, sinE / tanPhi - cosE * sinR) * kDeg);
    // The Vertex is the western meeting point of the prime vertical and the
    // ecliptic, on the half of the ecliptic from the MC through the
    // Descendant to the IC. Between the tropics the formula can give the
    // eastern point instead; it is then turned to the west. On the equator
    // (0 by the formula) that makes it the western equinox, 0 or 180; the
    // Arcturian cusp 10, taken from the Vertex, follows it.
    if (std::fmod(c.vertex - c.mc + 720.0f, 360.0f) < 180.0f) c.vertex = Reduced(c.vertex + 180.0f);
  }
  rec.Cusps[0] = c.asc;
  rec.Cusps[9] = c.mc;
  rec.Vertex = c.vertex;

  // Day or night by the Sun's rising and setting, also beyond the polar
  // circle, where the Sun's altitude decides. The houses take the geocentric
  // latitude the chart passes; the Sun rises and sets for the town, at its
  // geographic latitude.
  const float geographic = static_cast<float>(GeographicOfGeocentric(rec.PlaceLatitude));
  c.riseSet = CalcSunRiseSet(rec.UniversalTime, geographic, rec.PlaceLongitude, rec.SunLongitude,
                             rec.MomentJulianDay, c.sunRise, c.sunSet);
  rec.SunRise = c.sunRise;
  rec.SunSet = c.sunSet;
  rec.DayFlag = IsDaytime(c.riseSet, rec.UniversalTime, c.sunRise, c.sunSet) ? 1 : -1;

  const float s = static_cast<float>(rec.DayFlag);
  float d1 = rec.SunLongitude - rec.MoonLongitude;
  if (d1 < 0) d1 += 360;
  rec.PartOfFortune = Reduced(c.asc - s * d1);
  float d2 = rec.SaturnLongitude - rec.MarsLongitude;
  if (d2 < 0) d2 += 360;
  rec.CrossOfFate = Reduced(c.asc - s * d2);
  c.partOfFortune = rec.PartOfFortune;

  int system = result.HouseSystem;
  if (system >= 1 && system <= kHouseSystemCount) kHouseSystems[system - 1](c, rec.Cusps);
  // Checked before the completion, whose reduction would hide a NaN.
  if (!AllFinite(rec.Cusps)) {
    result.EqualFromMcSubstituted = true;
    EqualMc(c, rec.Cusps);
  }
  CompleteCusps(rec.Cusps);
  return result;
}

// Apparent places of the all-bodies driver: against an independent
// computation in the test (the geometric position of the body at t - tau,
// the Earth at t, then the classical aberration formula), against published
// apparent places, and the Sun's ingresses against a reference ephemeris.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "engine/apparent.h"
#include "engine/astromath.h"
#include "engine/bodies.h"
#include "engine/kepler.h"
#include "engine/moon.h"
#include "engine/pluto.h"
#include "engine/series.h"
#include "engine/timing.h"
#include "tests/engine/apparent_support.h"
#include "tests/engine/civil_moment_support.h"

namespace {

using testsupport::Arcsec;
using testsupport::Heliocentric;
using testsupport::IndependentPlace;
using testsupport::kKmPerAu;
using testsupport::kKmPerEarthRadius;
using testsupport::kLightDays;
using testsupport::LonDiffArcsec;
using testsupport::Rect;
using testsupport::Vec;

// The engine's first-order light time and series-derived Earth velocity
// against the retarded positions and Meeus's formula: arcseconds.
constexpr double kIndependentArcsec = 0.1;

BodyPositions AllBodies(double T) {
  BodyPositions p;
  p.Selector = kSelectorAllBodies;
  p.T = T;
  CalcBodies(p);
  return p;
}

TEST(ApparentPlaces, AgreeWithRetardedPositionsAndTheAberrationFormula) {
  // 1900 to 2100 in steps of 1013.7 days: every phase of every synodic cycle
  int checked = 0;
  for (double jd = 2415020.5; jd < 2488070.0; jd += 1013.7) {
    const double T = (jd - kJ2000) / kDaysPerJulianCentury;
    const BodyPositions p = AllBodies(T);
    for (int body = kSun; body <= kChiron; ++body) {
      double lon, lat;
      IndependentPlace(body, T, true, lon, lat);
      const std::string where = "body " + std::to_string(body) + " at JD " + std::to_string(jd);
      const double tol = kIndependentArcsec;
      EXPECT_LE(std::fabs(LonDiffArcsec(p.Longitude[body], lon)), tol)
          << where << ": expected " << lon << ", got " << p.Longitude[body];
      EXPECT_LE(std::fabs(Arcsec(p.Latitude[body] - lat)), tol)
          << where << ": expected latitude " << lat << ", got " << p.Latitude[body];
      ++checked;
    }
  }
  EXPECT_GT(checked, 700);
}

TEST(ApparentPlaces, DistancesStayGeometricAndHeliocentricPlanetsUncorrected) {
  const double T = 0.2417;
  const BodyPositions geo = AllBodies(T);
  for (int body : {kMercury, kMars, kPluto}) {
    const Vec h = Heliocentric(body, T);
    SeriesRecord sun;
    sun.T = T;
    CalcSun(sun);
    const Vec s = Rect(sun.R, sun.B, sun.L);
    const double d = std::hypot(h.x + s.x, h.y + s.y, h.z + s.z);
    EXPECT_NEAR(geo.Distance[body], d, 1e-12) << body;
  }
  BodyPositions helio;
  helio.Selector = kSelectorAllBodies;
  helio.T = T;
  CalcBodies(helio, 0);
  SeriesRecord mars;
  mars.T = T;
  CalcMars(mars);
  EXPECT_DOUBLE_EQ(helio.Longitude[kMars], mars.L);
  EXPECT_DOUBLE_EQ(helio.Latitude[kMars], mars.B);
}

// One body's apparent place the long way, body by body: its theory, its
// state from the theory's rates, the Sun's state for the Earth, the apparent
// direction of apparent.h, then the frame of date step by step through the
// public frame routines and the library's arctangent. Chiron's velocity is
// the ellipse's in the frame of its elements, here by differences of the
// solved ellipse over +-80 days. equatorial leaves the place on the
// equator of date. Out: longitude (or right ascension) and latitude (or
// declination), degrees, and the distance the driver stores.
struct LongWayPlace {
  double lon, lat, distance;
};
LongWayPlace LongWay(int body, double T, bool equatorial) {
  SeriesRecord sun;
  sun.T = T;
  CalcSun(sun);
  const StateVector s = StateFromSpherical(sun.R, sun.B, sun.L, sun.RRate, sun.BRate, sun.LRate);
  StateVector earth;
  earth.vx = -s.vx, earth.vy = -s.vy, earth.vz = -s.vz;
  StateVector helio;  // heliocentric; the Moon's position geocentric
  double x, y, z, distance, shown;
  if (body == kSun) {
    x = s.x, y = s.y, z = s.z;
    distance = shown = sun.R;
  } else if (body == kMoon) {
    MoonRecord m;
    m.T = T;
    CalcMoon(m);
    const double r = m.R * kKmPerEarthRadius / kKmPerAu;
    helio = StateFromSpherical(r, m.BETA, m.LAMBDA, 0.0, m.BETARate, m.LAMBDARate);
    helio.vx -= s.vx, helio.vy -= s.vy, helio.vz -= s.vz;
    x = helio.x, y = helio.y, z = helio.z;
    distance = r, shown = m.R;
  } else {
    if (testsupport::Tabulated(body, T)) {
      TabulatedState(*testsupport::TableOf(body), T * kDaysPerJulianCentury + kJ2000, helio);
    } else if (body == kChiron) {
      const double t = T * kDaysPerJulianCentury + kJ2000 - kChironElements.EpochJulianDay;
      // the five-point derivative: its error of order h^4 stays far below
      // the single-precision solution's noise divided by the step
      constexpr double kStep = 40.0;  // days
      double v[3] = {0, 0, 0};
      for (const auto& [offset, weight] :
           {std::pair{2.0, -1.0}, {1.0, 8.0}, {-1.0, -8.0}, {-2.0, 1.0}}) {
        double q[3];
        KeplerPosition(t + offset * kStep, kChironElements, q[0], q[1], q[2]);
        for (int k = 0; k < 3; ++k) v[k] += weight * q[k] / (12 * kStep);
      }
      helio.vx = v[0], helio.vy = v[1], helio.vz = v[2];
      KeplerPosition(t, kChironElements, helio.x, helio.y, helio.z);
      PrecessRect(0.0, T, helio.x, helio.y, helio.z);
    } else if (body == kPluto) {
      PlutoRecord p;
      p.T = T;
      CalcPluto(p);
      helio = StateFromSpherical(p.R, p.B, p.L, p.RRate, p.BRate, p.LRate);
    } else {
      using Theory = void (*)(SeriesRecord&);
      const Theory theories[] = {CalcMercury, CalcVenus,  CalcMars,   CalcJupiter,
                                 CalcSaturn,  CalcUranus, CalcNeptune};
      SeriesRecord planet;
      planet.T = T;
      theories[body - kMercury](planet);
      helio = StateFromSpherical(planet.R, planet.B, planet.L, planet.RRate, planet.BRate,
                                 planet.LRate);
    }
    x = helio.x + s.x, y = helio.y + s.y, z = helio.z + s.z;
    distance = shown = std::sqrt(x * x + y * y + z * z);
  }
  ApparentPlace(x, y, z, distance, helio, earth);
  EclipticToEquatorial(T, x, y, z);
  NutateEquatorial(T, x, y, z);
  if (!equatorial) {
    // back by the true obliquity: the mean one plus the nutation in obliquity
    FrameOfDate trueEquator = FrameOfDateAt(T);
    const double eps = std::atan2(trueEquator.sinEps, trueEquator.cosEps) + trueEquator.nutDeps;
    trueEquator.sinEps = std::sin(eps), trueEquator.cosEps = std::cos(eps);
    EquatorialToEcliptic(trueEquator, x, y, z);
  }
  double r, lat, lon;
  RectToSpherical(x, y, z, r, lat, lon);
  if (body == kChiron && !testsupport::Tabulated(body, T))
    lon += ChironLongitudeCorrection(T * kDaysPerJulianCentury + kJ2000);
  return {lon, lat, shown};
}

// The driver takes its steps for all bodies together, on one frame matrix,
// with its own arctangent and sines; none of that may move a place by more
// than a thousandth of an arcsecond from the long way, at any moment from
// 1780 to 2220 (the tables' span and the theories beyond it), for any body,
// on the ecliptic or the equator.
TEST(ApparentPlaces, DriverEqualsTheLongWayBodyByBody) {
  constexpr double kSameArcsec = 0.001;
  constexpr double kSameDistance = 1e-12;  // relative
  constexpr int kMoments = 2000;
  const double start = 2371191.5, span = 160707.0;  // 1780 January 1 to 2220 January 1
  double worst = 0;
  for (int i = 0; i < kMoments; ++i) {
    // steps of 80.4 days and a fraction: every phase of every synodic cycle
    const double jd = start + span * i / kMoments + 0.3183 * (i % 7);
    const double T = (jd - kJ2000) / kDaysPerJulianCentury;
    const bool equatorial = i % 4 == 3;
    BodyPositions p;
    p.Selector = kSelectorAllBodies;
    p.T = T;
    CalcBodies(p, 1, equatorial);
    for (int body = kSun; body <= kChiron; ++body) {
      const LongWayPlace w = LongWay(body, T, equatorial);
      const double dLon = LonDiffArcsec(p.Longitude[body], w.lon) * std::cos(w.lat * kDegToRad);
      const double dLat = Arcsec(p.Latitude[body] - w.lat);
      worst = std::fmax(worst, std::fmax(std::fabs(dLon), std::fabs(dLat)));
      ASSERT_LE(std::fabs(dLon), kSameArcsec)
          << "body " << body << " at JD " << jd << ": expected " << w.lon << ", got "
          << p.Longitude[body] << ", " << dLon << "\"";
      ASSERT_LE(std::fabs(dLat), kSameArcsec)
          << "body " << body << " at JD " << jd << ": expected latitude " << w.lat << ", got "
          << p.Latitude[body] << ", " << dLat << "\"";
      ASSERT_NEAR(p.Distance[body] / w.distance, 1.0, kSameDistance)
          << "body " << body << " at JD " << jd;
    }
  }
  EXPECT_GT(worst, 0.0);  // the sweep ran and the two ways are computed apart
}

// Published apparent places (Meeus, Astronomical Algorithms, 2nd ed.), each
// within its series' accuracy plus 1": the Sun (SUN200) and Venus (VEN200) a
// few arcseconds, the Moon about 10".
TEST(ApparentPlaces, PublishedPlaces) {
  // Example 25.b: the Sun on 1992 October 13.0 TD, apparent longitude
  // 199 deg 54' 21.818".
  constexpr double kSunArcsec = 5.0 + 1.0;
  BodyPositions p = AllBodies((2448908.5 - kJ2000) / kDaysPerJulianCentury);
  EXPECT_LE(std::fabs(LonDiffArcsec(p.Longitude[kSun], 199 + 54 / 60.0 + 21.818 / 3600)),
            kSunArcsec)
      << p.Longitude[kSun];

  // Example 33.a: Venus on 1992 December 20.0 TD, light time 0.0052612 day
  // (distance 0.910947 AU), apparent right ascension 21h04m41.454s and
  // declination -18 deg 53' 16.84" (true equator and equinox of date).
  constexpr double kVenusArcsec = 5.0 + 1.0;
  BodyPositions v;
  v.Selector = kVenus;
  v.T = (2448976.5 - kJ2000) / kDaysPerJulianCentury;
  CalcBodies(v, 1, true);
  const double ra = (21 + 4 / 60.0 + 41.454 / 3600) * 15, dec = -(18 + 53 / 60.0 + 16.84 / 3600);
  EXPECT_LE(std::fabs(LonDiffArcsec(v.Longitude[kVenus], ra)) * std::cos(dec * kDegToRad),
            kVenusArcsec)
      << v.Longitude[kVenus];
  EXPECT_LE(std::fabs(Arcsec(v.Latitude[kVenus] - dec)), kVenusArcsec) << v.Latitude[kVenus];
  // the light time of the geometric distance, to a tenth of a second
  EXPECT_NEAR(v.Distance[kVenus] * kLightDays, 0.0052612, 1e-6);

  // Example 47.a: the Moon on 1992 April 12.0 TD, apparent right ascension
  // 134.688470 deg, declination 13.768368 deg.
  constexpr double kMoonArcsec = 10.0 + 1.0;
  BodyPositions m;
  m.Selector = kMoon;
  m.T = (2448724.5 - kJ2000) / kDaysPerJulianCentury;
  CalcBodies(m, 1, true);
  EXPECT_LE(
      std::fabs(LonDiffArcsec(m.Longitude[kMoon], 134.688470)) * std::cos(13.768368 * kDegToRad),
      kMoonArcsec)
      << m.Longitude[kMoon];
  EXPECT_LE(std::fabs(Arcsec(m.Latitude[kMoon] - 13.768368)), kMoonArcsec) << m.Latitude[kMoon];
}

// Every ingress of the Sun into a sign in 2024 and 2025, universal time to
// the second, computed with the Swiss Ephemeris 2.10 (its analytical mode,
// Moshier's series fitted to JPL DE404; apparent places; its observed and
// predicted Delta T), against the moment the search finds, shown as the
// program shows it (the chart's Julian day less its Delta T). The equinoxes
// and solstices among them agree with the U.S. Naval Observatory's times to
// the minute. The allowance covers the rounding to the second, the Sun's
// error of 0.4" at most (about 10 s of its motion) and the engine's Delta T
// (within 1 s of the observed one). The geometric Sun came 8.4 minutes
// early; the earlier series, short nutation and quadratic Delta T up to 30 s
// late or early.
TEST(ApparentPlaces, SunsIngressesAtTheirTimesToTheSecond) {
  constexpr double kIngressSeconds = 10.0;
  struct Ingress {
    int year, month, day, hour, minute, second;
    float longitude;  // degrees
  };
  constexpr Ingress kIngresses[] = {
      {2024, 1, 20, 14, 7, 21, 300},   {2024, 2, 19, 4, 13, 11, 330},
      {2024, 3, 20, 3, 6, 24, 0},      {2024, 4, 19, 13, 59, 45, 30},
      {2024, 5, 20, 12, 59, 30, 60},   {2024, 6, 20, 20, 51, 0, 90},
      {2024, 7, 22, 7, 44, 26, 120},   {2024, 8, 22, 14, 55, 2, 150},
      {2024, 9, 22, 12, 43, 39, 180},  {2024, 10, 22, 22, 14, 44, 210},
      {2024, 11, 21, 19, 56, 29, 240}, {2024, 12, 21, 9, 20, 34, 270},
      {2025, 1, 19, 20, 0, 8, 300},    {2025, 2, 18, 10, 6, 35, 330},
      {2025, 3, 20, 9, 1, 29, 0},      {2025, 4, 19, 19, 56, 1, 30},
      {2025, 5, 20, 18, 54, 38, 60},   {2025, 6, 21, 2, 42, 16, 90},
      {2025, 7, 22, 13, 29, 28, 120},  {2025, 8, 22, 20, 33, 52, 150},
      {2025, 9, 22, 18, 19, 20, 180},  {2025, 10, 23, 3, 50, 55, 210},
      {2025, 11, 22, 1, 35, 35, 240},  {2025, 12, 21, 15, 3, 5, 270},
  };
  for (const Ingress& i : kIngresses) {
    // universal Julian day of the date's midnight, by the tests' own day count
    const double midnight = testsupport::GregorianDayNumber(i.year, i.month, i.day) - 0.5;
    const double trueUt = midnight + (i.hour * 3600.0 + i.minute * 60.0 + i.second) / 86400.0;
    const double startUt = midnight - 5.0;
    const double start = startUt + DeltaTSeconds(startUt) / 86400.0;
    double found = 0;
    ASSERT_TRUE(
        FindAspectTime(start, start, start, kSun, kSun, 0, i.longitude, 0, 1, 1, 1, 0, found));
    const double shownUt = UniversalJulianDay(found);
    EXPECT_LE(std::fabs(shownUt - trueUt) * 86400.0, kIngressSeconds)
        << i.year << "-" << i.month << "-" << i.day << " " << i.hour << ":" << i.minute << ":"
        << i.second << ", the Sun at " << i.longitude << ": " << (shownUt - trueUt) * 86400.0
        << " s";
  }
}

}  // namespace

// The driver's apparent places against a DE431-based ephemeris's own
// apparent places (light time, aberration, nutation, true ecliptic of date)
// at 240 moments over 1800-2200, the whole chain end to end: Neptune, Pluto
// and Chiron from their tables, the mean node with nutation, and the
// latitudes of every body on the true ecliptic. And the tables themselves:
// joined at every seam of their segments, their velocity the rate of their
// positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/astromath.h"
#include "engine/bodies.h"
#include "engine/body_tables.h"
#include "tests/engine/apparent_support.h"
#include "tests/engine/ephemeris_checks_support.h"

namespace {

using testsupport::Arcsec;
using testsupport::EphemerisCheck;
using testsupport::LonDiffArcsec;

class EphemerisChecks : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    rows_ = new std::vector<EphemerisCheck>(testsupport::LoadEphemerisChecks());
  }
  static void TearDownTestSuite() { delete rows_; }
  static std::vector<EphemerisCheck>* rows_;
};
std::vector<EphemerisCheck>* EphemerisChecks::rows_ = nullptr;

BodyPositions AllBodiesAt(double jd) {
  BodyPositions p;
  p.Selector = kSelectorAllBodies;
  p.T = (jd - kJ2000) / kDaysPerJulianCentury;
  CalcBodies(p);
  return p;
}

// Largest differences of one body's places from the reference, arcseconds:
// longitude as an arc on the sky (times cos latitude) and latitude.
struct Worst {
  double lon = 0, lat = 0;
  int rows = 0;
};

TEST_F(EphemerisChecks, FileCoversFourCenturies) {
  ASSERT_EQ(rows_->size(), 240u * 12u);
  EXPECT_LE(rows_->front().Year(), 1802);
  EXPECT_GE(rows_->back().Year(), 2198);
}

// The tables hold the heliocentric positions to 0.15"; the Sun's series, the
// first-order light time and aberration, the frame and the light deflection
// the engine leaves out (up to 0.4" next to the Sun) add the rest.
TEST_F(EphemerisChecks, NeptunePlutoAndChironOverFourCenturies) {
  constexpr double kArcsec = 1.0;
  for (int body : {kNeptune, kPluto, kChiron}) {
    Worst w;
    for (const EphemerisCheck& r : *rows_) {
      if (r.body != body) continue;
      const BodyPositions p = AllBodiesAt(r.jd);
      const double dLon = LonDiffArcsec(p.Longitude[body], r.lon) * std::cos(r.lat * kDegToRad);
      const double dLat = Arcsec(p.Latitude[body] - r.lat);
      w.lon = std::max(w.lon, std::fabs(dLon));
      w.lat = std::max(w.lat, std::fabs(dLat));
      ++w.rows;
      EXPECT_LE(std::fabs(dLon), kArcsec) << "body " << body << " at JD " << r.jd;
      EXPECT_LE(std::fabs(dLat), kArcsec) << "body " << body << " at JD " << r.jd;
    }
    EXPECT_EQ(w.rows, 240);
    std::printf("body %d: worst longitude %.3f\", latitude %.3f\"\n", body, w.lon, w.lat);
  }
}

// The mean node of the mean elements' polynomial with the nutation in
// longitude; the south node opposite.
TEST_F(EphemerisChecks, MeanNodeWithinAnArcsecond) {
  constexpr double kArcsec = 1.0;
  double worst = 0;
  for (const EphemerisCheck& r : *rows_) {
    if (r.body != kNorthNode) continue;
    const BodyPositions p = AllBodiesAt(r.jd);
    const double d = LonDiffArcsec(p.Longitude[kNorthNode], r.lon);
    worst = std::max(worst, std::fabs(d));
    EXPECT_LE(std::fabs(d), kArcsec) << "JD " << r.jd;
    EXPECT_NEAR(std::fabs(LonDiffArcsec(p.Longitude[kSouthNode], p.Longitude[kNorthNode])),
                180.0 * 3600.0, 1e-6);
  }
  std::printf("mean node: worst %.3f\"\n", worst);
}

// Latitudes on the true ecliptic of date over the theories' span 1900-2100,
// each body within its theory's accuracy; the Sun's, which stays within a
// second of the ecliptic, shows the frame itself (the mean obliquity on the
// way back put up to 9" into it).
TEST_F(EphemerisChecks, LatitudesOnTheTrueEcliptic) {
  // arcseconds, bodies 0..10
  constexpr double kLatArcsec[] = {0.3, 3.0, 3.0, 3.0, 3.0, 2.5, 2.5, 2.5, 1.0, 1.0, 1.0};
  for (int body = kSun; body <= kChiron; ++body) {
    double worst = 0;
    for (const EphemerisCheck& r : *rows_) {
      if (r.body != body || r.Year() < 1900 || r.Year() > 2100) continue;
      const BodyPositions p = AllBodiesAt(r.jd);
      const double d = Arcsec(p.Latitude[body] - r.lat);
      worst = std::max(worst, std::fabs(d));
      EXPECT_LE(std::fabs(d), kLatArcsec[body]) << "body " << body << " at JD " << r.jd;
    }
    std::printf("body %d: worst latitude %.3f\"\n", body, worst);
  }
}

// Each table's series meet at every seam between segments: in position to
// the printed digits (a step there would show in the daily motions, taken
// over two hours), in velocity to 1e-6 AU a day (which moves the light-time
// correction by under 0.003"); the velocity is the rate of the positions (a
// five-point difference inside segments), and the span's ends are
// inclusive, with nothing beyond them.
TEST(BodyTables, SeamsVelocitiesAndSpan) {
  constexpr double kSeamAu = 1e-10, kSeamAuPerDay = 1e-6, kRateAuPerDay = 1e-9;
  for (const ChebyshevTable* table : {&kNeptuneTable, &kPlutoTable, &kChironTable}) {
    const double first = table->FirstJulianDay;
    const double last = first + table->SegmentDays * table->Segments;
    for (int seam = 1; seam < table->Segments; ++seam) {
      const double jd = first + seam * table->SegmentDays;
      StateVector before, after;
      ASSERT_TRUE(TabulatedState(*table, jd - 1e-9, before));
      ASSERT_TRUE(TabulatedState(*table, jd + 1e-9, after));
      EXPECT_LE(std::hypot(after.x - before.x, after.y - before.y, after.z - before.z), kSeamAu)
          << "seam " << seam;
      EXPECT_LE(std::hypot(after.vx - before.vx, after.vy - before.vy, after.vz - before.vz),
                kSeamAuPerDay)
          << "seam " << seam;
      // the rate of the positions a third of the way into the segment
      const double mid = jd + table->SegmentDays / 3, h = 2.0;
      StateVector s, p[4];
      ASSERT_TRUE(TabulatedState(*table, mid, s));
      const double offsets[4] = {-2 * h, -h, h, 2 * h};
      for (int k = 0; k < 4; ++k) TabulatedState(*table, mid + offsets[k], p[k]);
      const double vx = (p[0].x - 8 * p[1].x + 8 * p[2].x - p[3].x) / (12 * h);
      const double vy = (p[0].y - 8 * p[1].y + 8 * p[2].y - p[3].y) / (12 * h);
      const double vz = (p[0].z - 8 * p[1].z + 8 * p[2].z - p[3].z) / (12 * h);
      EXPECT_LE(std::hypot(s.vx - vx, s.vy - vy, s.vz - vz), kRateAuPerDay) << "segment " << seam;
    }
    StateVector s{1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(TabulatedState(*table, first, s));
    EXPECT_TRUE(TabulatedState(*table, last, s));
    const StateVector kept = s;
    EXPECT_FALSE(TabulatedState(*table, first - 1e-6, s));
    EXPECT_FALSE(TabulatedState(*table, last + 1e-6, s));
    EXPECT_FALSE(TabulatedState(*table, std::nan(""), s));
    EXPECT_EQ(s.x, kept.x);
    EXPECT_EQ(s.vz, kept.vz);
    // 1800 to 2200 at least
    EXPECT_LE(first, 2378496.5);
    EXPECT_GE(last, 2524593.5);
  }
}

}  // namespace

// Tests of the lunar series: a published worked example, positions of an
// independent high-precision ephemeris (JPL DE431, geometric, ecliptic and
// equinox of date with nutation) from 1850 to 2100, and the mean node.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/moon.h"
#include "tests/engine/nutation_support.h"

namespace {

using testsupport::AngleDiffDeg;
using testsupport::kPi;
using testsupport::NutationInLongitudeDeg;

MoonRecord MoonAt(double T) {
  MoonRecord m;
  m.T = T;
  CalcMoon(m);
  return m;
}

// One reference position of the Moon.
struct MoonReference {
  int year;
  double jd;         // Julian day, chart time scale (TT)
  double longitude;  // degrees, true equinox of date
  double latitude;   // degrees
  double distance;   // Earth radii of 6378.14 km
};

// clang-format off
constexpr MoonReference kMoonReference[] = {
    {1851, 2397189.10189761, 37.079868, -5.155049, 61.95600794},  // 1851-03-07
    {1851, 2397372.61052929, 306.059807, -0.934129, 63.01864714},  // 1851-09-07
    {1852, 2397743.39951775, 141.349248, 3.640056, 58.00545415},  // 1852-09-11
    {1876, 2406302.30663107, 245.090035, -4.745644, 63.28991749},  // 1876-02-17
    {1885, 2409684.82732540, 178.297121, -0.421827, 60.21173491},  // 1885-05-23
    {1900, 2415066.51645383, 162.574595, -4.999860, 63.71918950},  // 1900-02-16
    {1900, 2415280.01863791, 103.763466, -3.181683, 61.32112638},  // 1900-09-17
    {1914, 2420288.43726821, 208.157853, -3.735023, 57.04426476},  // 1914-06-04
    {1915, 2420754.26073438, 226.049853, -5.191660, 57.93428422},  // 1915-09-13
    {1920, 2422583.86675763, 220.340403, 0.278285, 61.44971590},  // 1920-09-16
    {1933, 2427182.32889492, 332.164219, -0.395793, 60.45955053},  // 1933-04-19
    {1936, 2428494.66905457, 331.120013, 4.820357, 59.29547732},  // 1936-11-22
    {1946, 2431896.99862187, 172.776709, 4.991271, 61.61892444},  // 1946-03-17
    {1948, 2432879.51062825, 153.208109, 4.598119, 58.08101895},  // 1948-11-24
    {1954, 2434760.10797722, 98.711390, 1.398103, 59.85048303},  // 1954-01-17
    {1957, 2435892.46415262, 260.706188, 2.306503, 62.20565402},  // 1957-02-22
    {1957, 2435978.05426385, 304.585310, 5.095885, 62.92706411},  // 1957-05-19
    {1961, 2437454.39957266, 316.761383, 1.195151, 57.53531481},  // 1961-06-03
    {1965, 2438914.54382786, 115.872833, 3.548079, 56.93914186},  // 1965-06-03
    {1966, 2439220.97846371, 195.373015, 3.353564, 56.97279067},  // 1966-04-05
    {1969, 2440319.08080717, 260.946494, -5.185000, 57.74881479},  // 1969-04-07
    {1972, 2441363.48549929, 339.260155, 2.941349, 57.57866441},  // 1972-02-15
    {1972, 2441462.28788207, 206.482653, -5.084537, 63.63100930},  // 1972-05-24
    {1972, 2441606.61315820, 299.401568, 0.714822, 61.52136942},  // 1972-10-16
    {1975, 2442448.52300181, 246.578142, -0.117687, 61.15322064},  // 1975-02-05
    {1979, 2443975.20324250, 191.377197, 2.133204, 62.03173229},  // 1979-04-11
    {1982, 2445200.08121022, 137.986298, 2.985750, 57.09056064},  // 1982-08-18
    {2003, 2452985.84921401, 118.307108, 4.839091, 62.56577437},  // 2003-12-12
    {2004, 2453075.06842615, 216.807721, 0.498444, 58.06708170},  // 2004-03-10
    {2005, 2453374.18303061, 192.715456, 1.403804, 60.69424900},  // 2005-01-03
    {2006, 2454064.92931033, 296.976145, -4.156324, 59.67147711},  // 2006-11-25
    {2014, 2456855.74084544, 0.972265, 1.948730, 58.00920278},  // 2014-07-17
    {2016, 2457515.61534586, 51.282571, -4.458422, 56.23426601},  // 2016-05-07
    {2016, 2457708.03197119, 67.257343, -5.017762, 56.07266578},  // 2016-11-15
    {2019, 2458680.43109446, 282.107453, 0.512082, 62.09640657},  // 2019-07-15
    {2021, 2459337.67076622, 304.831034, -4.226631, 59.46778680},  // 2021-05-03
    {2022, 2459907.39207998, 240.682252, -1.565503, 57.44083577},  // 2022-11-23
    {2026, 2461080.74861376, 227.408232, -4.884866, 63.21398131},  // 2026-02-09
    {2027, 2461611.12008036, 7.025361, 4.365731, 62.09436431},  // 2027-07-24
    {2027, 2461675.37586672, 139.333410, -0.810138, 57.08184047},  // 2027-09-26
    {2029, 2462462.63834568, 70.691552, 1.347661, 63.22674898},  // 2029-11-22
    {2037, 2465297.21379511, 343.812438, -3.684067, 63.58980109},  // 2037-08-26
    {2038, 2465464.28970748, 22.642965, -5.189147, 63.52911613},  // 2038-02-09
    {2038, 2465490.74447128, 12.706793, -5.035274, 63.64399834},  // 2038-03-08
    {2039, 2465848.83164308, 51.523574, -3.017593, 63.36484862},  // 2039-03-01
    {2041, 2466711.82496918, 256.092990, -2.757537, 58.52039548},  // 2041-07-11
    {2046, 2468620.91151933, 222.165254, -4.965395, 56.80258305},  // 2046-10-02
    {2047, 2468989.66162142, 36.833304, 4.503373, 63.54594429},  // 2047-10-06
    {2059, 2473267.79034004, 240.540428, -0.393140, 60.14455709},  // 2059-06-23
    {2060, 2473679.24999530, 262.694930, -3.874245, 61.56952872},  // 2060-08-07
    {2061, 2473911.64099106, 94.692403, 5.092587, 58.47255526},  // 2061-03-28
    {2063, 2474630.68859635, 210.460020, -3.890681, 58.41256704},  // 2063-03-17
    {2065, 2475544.82262916, 13.162842, 4.948350, 62.34025718},  // 2065-09-16
    {2068, 2476726.24755626, 101.988996, -3.959041, 59.57158394},  // 2068-12-10
    {2069, 2476824.20480749, 299.573574, 4.972192, 59.14467791},  // 2069-03-18
    {2074, 2478612.89589009, 110.073552, -1.989944, 60.52822841},  // 2074-02-09
    {2078, 2480077.86466014, 335.615090, -4.897769, 57.33697462},  // 2078-02-13
    {2079, 2480750.15540256, 203.841289, -0.344764, 61.73248797},  // 2079-12-17
    {2083, 2482076.27028704, 34.226692, 5.266993, 62.85743193},  // 2083-08-04
    {2088, 2483702.39023583, 220.424655, -0.238143, 63.21827744},  // 2088-01-16
};
// clang-format on

// The series is good to a few arcseconds. The largest residuals against the
// ephemeris are 3.8" in longitude over 1900-2100 (RMS 1.1") and 5.1" before
// 1900, 0.83" in latitude and 0.0022 Earth radii (14 km) in distance.
constexpr int kModernSpanFirstYear = 1900;
constexpr double kLongitudeToleranceArcsec = 4.5;
constexpr double kEarlyLongitudeToleranceArcsec = 6.0;
constexpr double kLongitudeRmsToleranceArcsec = 1.5;
constexpr double kLatitudeToleranceArcsec = 1.2;
constexpr double kDistanceToleranceEarthRadii = 0.003;

TEST(MoonReferencePositions, LongitudeLatitudeDistanceOver1850To2100) {
  double sumSquares = 0;
  int modern = 0;
  for (const MoonReference& ref : kMoonReference) {
    const double T = (ref.jd - 2451545.0) / 36525.0;
    const MoonRecord m = MoonAt(T);
    // The series gives the mean equinox; the ephemeris the true one.
    const double dl = AngleDiffDeg(m.LAMBDA + NutationInLongitudeDeg(T), ref.longitude) * 3600.0;
    const double db = (m.BETA - ref.latitude) * 3600.0;
    const bool isModern = ref.year >= kModernSpanFirstYear;
    EXPECT_LE(std::fabs(dl), isModern ? kLongitudeToleranceArcsec : kEarlyLongitudeToleranceArcsec)
        << "year " << ref.year << " jd " << ref.jd;
    EXPECT_LE(std::fabs(db), kLatitudeToleranceArcsec) << "year " << ref.year << " jd " << ref.jd;
    EXPECT_NEAR(m.R, ref.distance, kDistanceToleranceEarthRadii) << "year " << ref.year;
    if (isModern) {
      sumSquares += dl * dl;
      ++modern;
    }
  }
  ASSERT_GT(modern, 0);
  EXPECT_LE(std::sqrt(sumSquares / modern), kLongitudeRmsToleranceArcsec);
}

TEST(MoonReferencePositions, LongitudeStaysInRange) {
  for (const MoonReference& ref : kMoonReference) {
    const MoonRecord m = MoonAt((ref.jd - 2451545.0) / 36525.0);
    EXPECT_GE(m.LAMBDA, 0.0);
    EXPECT_LT(m.LAMBDA, 360.0);
  }
}

// Meeus, Astronomical Algorithms (2nd ed.), example 47.a: 1992 April 12, 0h
// TD (JDE 2448724.5): geometric longitude 133.162655 deg, latitude -3.229126 deg,
// distance 368409.7 km, from an abridged ELP-2000/82 good to about 10" in
// longitude and 4" in latitude.
constexpr double kMeeusExampleToleranceLongitudeArcsec = 10.0;
constexpr double kMeeusExampleToleranceLatitudeArcsec = 4.0;
constexpr double kMeeusExampleToleranceDistanceKm = 20.0;
constexpr double kEarthRadiusKm = 6378.14;

TEST(MoonWorkedExample, Meeus47a) {
  const MoonRecord m = MoonAt((2448724.5 - 2451545.0) / 36525.0);
  EXPECT_LE(std::fabs(AngleDiffDeg(m.LAMBDA, 133.162655)) * 3600.0,
            kMeeusExampleToleranceLongitudeArcsec);
  EXPECT_LE(std::fabs(m.BETA - -3.229126) * 3600.0, kMeeusExampleToleranceLatitudeArcsec);
  EXPECT_NEAR(m.R * kEarthRadiusKm, 368409.7, kMeeusExampleToleranceDistanceKm);
}

// The mean node of J2000: 125 deg 02' 40.4" (its accuracy over four
// centuries is checked against a modern ephemeris in test_reference_places).
constexpr double kNodeToleranceDeg = 0.001;

TEST(MoonNode, MeanNodeOfJ2000) {
  const MoonRecord m = MoonAt(0.0);
  EXPECT_NEAR(m.NODE, 125.04455, kNodeToleranceDeg);
}

TEST(MoonNode, RegressesOneTurnInEighteenPointSixYearsAndIsNotReduced) {
  bool sawNegative = false;
  for (double T = -1.5; T <= 1.0; T += 0.0625) {
    const MoonRecord m = MoonAt(T);
    // reduced by whole turns only: within (-360, 360), not [0, 360)
    EXPECT_GT(m.NODE, -360.0);
    EXPECT_LT(m.NODE, 360.0);
    if (m.NODE < 0) sawNegative = true;
    // 18.6 years a turn, backwards: -19.34 degrees a year
    const MoonRecord later = MoonAt(T + 0.01);
    EXPECT_NEAR(AngleDiffDeg(later.NODE, m.NODE), -19.3414, 0.001) << "T " << T;
  }
  EXPECT_TRUE(sawNegative);
}

TEST(MoonNode, AgreesWithTheReferenceMeanNode) {
  // Reference mean ascending node (degrees, with nutation) at three moments.
  struct NodeRef {
    double jd, node;
  };
  constexpr NodeRef kNodes[] = {
      {2443975.20324250, 165.892467},  // 1979-04-11
      {2476824.20480749, 226.420062},  // 2069-03-18
      {2439220.97846371, 57.644004},   // 1966-04-05
  };
  // the node of the mean equinox, with the test's own nutation (0.5"), within 1"
  constexpr double kWithNutationDeg = 1.0 / 3600.0;
  for (const NodeRef& ref : kNodes) {
    const double T = (ref.jd - 2451545.0) / 36525.0;
    const MoonRecord m = MoonAt(T);
    EXPECT_NEAR(AngleDiffDeg(m.NODE + NutationInLongitudeDeg(T), ref.node), 0.0, kWithNutationDeg)
        << ref.jd;
  }
}

// The tables built by MoonInit: multiple j of an argument is the j-th power of
// its first multiple (including the amplitude factor), and negative multiples
// are the conjugates.
constexpr double kTableTolerance = 1e-12;

TEST(MoonTables, MultiplesAreConsistentPowers) {
  MoonRecord m;
  m.T = 0.123456;
  MoonInit(m);
  const int maxMultiple[4] = {4, 3, 4, 6};
  for (int k = 0; k < 4; ++k) {
    const double c1 = m.CO[7][k];
    const double s1 = m.SI[7][k];
    const double amplitude = std::hypot(c1, s1);
    const double angle = std::atan2(s1, c1);
    EXPECT_DOUBLE_EQ(m.CO[6][k], 1.0);
    EXPECT_DOUBLE_EQ(m.SI[6][k], 0.0);
    for (int j = 1; j <= maxMultiple[k]; ++j) {
      const double scale = std::pow(amplitude, j);
      EXPECT_NEAR(m.CO[6 + j][k], scale * std::cos(j * angle), kTableTolerance);
      EXPECT_NEAR(m.SI[6 + j][k], scale * std::sin(j * angle), kTableTolerance);
      EXPECT_EQ(m.CO[6 - j][k], m.CO[6 + j][k]);
      EXPECT_EQ(m.SI[6 - j][k], -m.SI[6 + j][k]);
    }
  }
  // The first multiples carry the arguments L, LS, F, D.
  EXPECT_NEAR(std::atan2(m.SI[7][0], m.CO[7][0]), std::remainder(m.L, 2 * kPi), 1e-12);
  EXPECT_NEAR(std::atan2(m.SI[7][3], m.CO[7][3]), std::remainder(m.D, 2 * kPi), 1e-12);
}

TEST(MoonTables, SolarTermUsesTheNamedArgument) {
  MoonRecord m;
  m.T = -0.3;
  MoonInit(m);
  // A unit coefficient on 2D - L: DLAM gains sin, SINPI cos of that argument
  // (with the amplitude factor of L).
  const double before = m.DLAM;
  const double parallaxBefore = m.SINPI;
  MoonAddSolarTerm(m, 1.0, 0.0, 0.0, 1.0, -1, 0, 0, 2);
  const double arg = 2.0 * m.D - m.L;
  EXPECT_NEAR(m.DLAM - before, 1.000002208 * std::sin(arg), 1e-12);
  EXPECT_NEAR(m.SINPI - parallaxBefore, 1.000002208 * std::cos(arg), 1e-12);
}

}  // namespace

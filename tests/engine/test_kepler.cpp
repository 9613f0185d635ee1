// Tests of the Keplerian-orbit routines: Kepler's equation against a
// bisection solution, the orbital-plane position, the rotation into the
// ecliptic, Chiron's elements and its longitude correction.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/astromath.h"
#include "engine/kepler.h"

namespace {

constexpr double kPiD = 3.14159265358979323846;
constexpr double kRad = kPiD / 180.0;

// Kepler's equation E - e sin E = m solved by bisection in long double on
// [0, 2pi] (the left side increases monotonically).
double SolveKeplerBisection(double mRad, double e) {
  long double lo = 0.0L;
  long double hi = 2.0L * 3.141592653589793238462643383279502884L;
  for (int k = 0; k < 200; ++k) {
    const long double mid = 0.5L * (lo + hi);
    if (mid - e * std::sin(mid) - mRad < 0.0L)
      lo = mid;
    else
      hi = mid;
  }
  return static_cast<double>(0.5L * (lo + hi));
}

// Single precision: the mean anomaly in radians is rounded to a float (about
// 5e-7 rad near 2pi) and the error of E grows with 1/(1 - e cos E), the
// inverse slope of Kepler's equation. The largest error seen, scaled by that
// slope, is 1e-6 rad.
constexpr double kScaledAnomalyToleranceRad = 2e-6;

double AnomalyToleranceRad(double E, double e) {
  return kScaledAnomalyToleranceRad / (1.0 - e * std::cos(E));
}

TEST(EccentricAnomaly, CircularOrbitGivesTheMeanAnomaly) {
  // One float rounding of M/360 * 2pi and back.
  constexpr double kRoundTripToleranceDeg = 1e-4;
  for (float M = 0.0f; M < 360.0f; M += 7.5f)
    EXPECT_NEAR(EccentricAnomaly(M, 0.0f), M, kRoundTripToleranceDeg) << M;
}

TEST(EccentricAnomaly, AgreesWithBisectionOverEccentricitiesAndAnomalies) {
  for (float e : {0.05f, 0.2f, 0.3815633f, 0.5f, 0.7f, 0.79f, 0.8f, 0.9f, 0.95f, 0.99f}) {
    for (float M = 0.0f; M < 360.0f; M += 0.5f) {
      const double expected = SolveKeplerBisection(M * kRad, e);
      const double got = EccentricAnomaly(M, e) * kRad;
      EXPECT_NEAR(got, expected, AnomalyToleranceRad(expected, e)) << "e " << e << " M " << M;
    }
  }
}

TEST(EccentricAnomaly, HighEccentricitySmallMeanAnomaly) {
  // Started at M, Newton's method overshoots here; the start at pi reaches
  // the root.
  for (float e : {0.8f, 0.9f, 0.97f, 0.99f}) {
    for (float M : {0.01f, 0.1f, 1.0f, 3.0f, 357.0f, 359.9f}) {
      const double expected = SolveKeplerBisection(M * kRad, e);
      const double got = EccentricAnomaly(M, e) * kRad;
      EXPECT_NEAR(got, expected, AnomalyToleranceRad(expected, e)) << "e " << e << " M " << M;
    }
  }
}

TEST(EccentricAnomaly, MeanAnomalyIsReducedFirst) {
  constexpr double kToleranceDeg = 1e-3;
  EXPECT_NEAR(EccentricAnomaly(-90.0f, 0.3f), EccentricAnomaly(270.0f, 0.3f), kToleranceDeg);
  EXPECT_NEAR(EccentricAnomaly(450.0f, 0.3f), EccentricAnomaly(90.0f, 0.3f), kToleranceDeg);
  // Apsides are fixed points of Kepler's equation.
  EXPECT_NEAR(EccentricAnomaly(180.0f, 0.6f), 180.0, kToleranceDeg);
  EXPECT_NEAR(EccentricAnomaly(0.0f, 0.6f), 0.0, kToleranceDeg);
}

// Orbital-plane positions in single precision: relative error of a few
// float roundings of the anomaly and the trigonometric functions.
constexpr double kPlaneToleranceAu = 1e-4;

TEST(EllipsePosition, PerihelionAndAphelion) {
  float x = 0, y = 0;
  EllipsePosition(0.0f, 13.716451f, 0.3815633f, x, y);
  EXPECT_NEAR(x, 13.716451 * (1.0 - 0.3815633), kPlaneToleranceAu);
  EXPECT_NEAR(y, 0.0, kPlaneToleranceAu);
  EllipsePosition(180.0f, 13.716451f, 0.3815633f, x, y);
  EXPECT_NEAR(x, -13.716451 * (1.0 + 0.3815633), kPlaneToleranceAu);
  EXPECT_NEAR(y, 0.0, kPlaneToleranceAu);
}

TEST(EllipsePosition, PointsLieOnTheEllipseAtTheRightDistance) {
  const double a = 2.5;
  const double e = 0.6;
  for (float M = 0.0f; M < 360.0f; M += 15.0f) {
    float x = 0, y = 0;
    EllipsePosition(M, static_cast<float>(a), static_cast<float>(e), x, y);
    const double E = SolveKeplerBisection(M * kRad, e);
    // Radius from the eccentric anomaly, and the ellipse equation centred
    // at the centre (x + ae, y) with semi-axes a and b.
    EXPECT_NEAR(std::hypot(x, y), a * (1.0 - e * std::cos(E)), kPlaneToleranceAu) << M;
    const double b = a * std::sqrt(1.0 - e * e);
    const double xc = x + a * e;
    EXPECT_NEAR(xc * xc / (a * a) + y * y / (b * b), 1.0, 1e-4) << M;
    // Motion is counter-clockwise: y has the sign of sin M.
    if (M > 0.0f && M < 180.0f) {
      EXPECT_GT(y, 0.0f);
    }
    if (M > 180.0f) {
      EXPECT_LT(y, 0.0f);
    }
  }
}

// Expected heliocentric vector from the true anomaly and the argument of
// latitude u = omega + nu: r (cos Omega cos u - sin Omega sin u cos i,
// sin Omega cos u + cos Omega sin u cos i, sin u sin i).
void ExpectedVector(double M, double n, double t, double a, double e, double Omega, double inc,
                    double omega, double& x, double& y, double& z) {
  double mean = std::fmod(n * t + M, 360.0);
  if (mean < 0) mean += 360.0;
  const double E = SolveKeplerBisection(mean * kRad, e);
  const double nu = 2.0 * std::atan2(std::sqrt(1.0 + e) * std::sin(E / 2.0),
                                     std::sqrt(1.0 - e) * std::cos(E / 2.0));
  const double r = a * (1.0 - e * std::cos(E));
  const double u = omega * kRad + nu;
  const double cO = std::cos(Omega * kRad), sO = std::sin(Omega * kRad);
  const double ci = std::cos(inc * kRad), si = std::sin(inc * kRad);
  x = r * (cO * std::cos(u) - sO * std::sin(u) * ci);
  y = r * (sO * std::cos(u) + cO * std::sin(u) * ci);
  z = r * std::sin(u) * si;
}

// Chiron's vector (about 8 to 19 AU) in single precision.
constexpr double kSpaceToleranceAu = 5e-4;

TEST(KeplerPosition, MatchesTheArgumentOfLatitudeConstruction) {
  const OrbitalElements& c = kChironElements;
  for (double t = -20000.0; t <= 20000.0; t += 1250.0) {
    double x = 0, y = 0, z = 0;
    KeplerPosition(t, c, x, y, z);
    double ex = 0, ey = 0, ez = 0;
    ExpectedVector(c.M0, c.n, t, c.a, c.e, c.Omega, c.i, c.omega, ex, ey, ez);
    EXPECT_NEAR(x, ex, kSpaceToleranceAu) << t;
    EXPECT_NEAR(y, ey, kSpaceToleranceAu) << t;
    EXPECT_NEAR(z, ez, kSpaceToleranceAu) << t;
  }
}

TEST(KeplerPosition, UnrotatedOrbitIsThePlanePosition) {
  double x = 0, y = 0, z = 0;
  KeplerPosition(100.0, 1.0f, 20.0f, 3.0f, 0.2f, 0.0f, 0.0f, 0.0f, x, y, z);
  float px = 0, py = 0;
  EllipsePosition(120.0f, 3.0f, 0.2f, px, py);
  EXPECT_NEAR(x, px, 1e-5);
  EXPECT_NEAR(y, py, 1e-5);
  EXPECT_EQ(z, 0.0);
}

TEST(KeplerPosition, AscendingNodeLiesOnTheEclipticAtOmega) {
  // omega = 0 and t = 0, M0 = 0: the body is at perihelion on the ascending
  // node, so z = 0 and its longitude is Omega.
  double x = 0, y = 0, z = 0;
  KeplerPosition(0.0, 0.01f, 0.0f, 10.0f, 0.3f, 75.0f, 30.0f, 0.0f, x, y, z);
  EXPECT_NEAR(z, 0.0, 1e-5);
  EXPECT_NEAR(std::atan2(y, x) / kRad, 75.0, 1e-4);
  EXPECT_NEAR(std::hypot(x, y), 7.0, 1e-5);
}

TEST(KeplerPosition, LargeAndNonFiniteTimesReturn) {
  double x = 0, y = 0, z = 0;
  // A mean anomaly far beyond float resolution: reduced without stepping.
  KeplerPosition(1e12, kChironElements, x, y, z);
  EXPECT_TRUE(std::isfinite(x) && std::isfinite(y) && std::isfinite(z));
  KeplerPosition(std::numeric_limits<double>::infinity(), kChironElements, x, y, z);
  EXPECT_TRUE(std::isnan(x));
  KeplerPosition(std::numeric_limits<double>::quiet_NaN(), kChironElements, x, y, z);
  EXPECT_TRUE(std::isnan(x));
}

TEST(ChironElements, MeanMotionFollowsFromTheSemiMajorAxis) {
  // Kepler's third law: n = k / a^1.5 with k = 0.9856076686 deg/day
  // (Gaussian constant); a typo in either element breaks it.
  const double a = kChironElements.a;
  EXPECT_NEAR(kChironElements.n, 0.9856076686 / std::pow(a, 1.5), 2e-7);
  EXPECT_GT(kChironElements.e, 0.0f);
  EXPECT_LT(kChironElements.e, 1.0f);
}

TEST(ChironLongitudeCorrection, ZeroFromTheCutOffOn) {
  EXPECT_EQ(ChironLongitudeCorrection(2439539.0), 0.0);
  EXPECT_EQ(ChironLongitudeCorrection(2439539.5), 0.0);
  EXPECT_EQ(ChironLongitudeCorrection(2451545.0), 0.0);
  EXPECT_EQ(ChironLongitudeCorrection(2500000.0), 0.0);
}

TEST(ChironLongitudeCorrection, LinearBeforeTheCutOff) {
  EXPECT_NEAR(ChironLongitudeCorrection(2439539.0 - 10000.0), -2.8, 1e-9);
  EXPECT_NEAR(ChironLongitudeCorrection(2439539.0 - 1.0), -0.00028, 1e-12);
  EXPECT_NEAR(ChironLongitudeCorrection(2415020.5), (2415020.5 - 2439539.0) * 0.00028, 1e-9);
  // Continuous at the cut-off.
  EXPECT_NEAR(ChironLongitudeCorrection(2439539.0 - 1e-6), 0.0, 1e-9);
}

// Reference geocentric positions of Chiron and the Sun (JPL DE431 based
// ephemeris; degrees, degrees, AU) within about 25 years of the elements'
// epoch (1992).
struct ChironReference {
  int year;
  double jd;                                // Julian day, chart time scale (TT)
  double chironLon, chironLat, chironDist;  // degrees, degrees, AU
  double sunLon, sunLat, sunDist;           // degrees, degrees, AU
};

// clang-format off
constexpr ChironReference kChironReference[] = {
    {1961, 2437454.39957266, 336.677993, 5.775759, 16.80513127, 73.044081, 0.000009, 1.01452455},
    {1965, 2438914.54382786, 352.339937, 4.408634, 18.36948593, 72.252862, 0.000133, 1.01441123},
    {1966, 2439220.97846371, 353.437177, 3.954692, 19.32134040, 15.232499, 0.000094, 1.00053131},
    {1969, 2440319.08080717, 3.676001, 2.906726, 19.76389968, 17.574407, -0.000271, 1.00123777},
    {1972, 2441363.48549929, 10.736483, 1.871628, 19.51647867, 326.407223, 0.000172, 0.98783353},
    {1972, 2441462.28788207, 16.058597, 1.768442, 19.47532047, 63.685568, -0.000123, 1.01292040},
    {1972, 2441606.61315820, 14.721769, 1.762868, 17.79362907, 202.843228, -0.000050, 0.99671198},
    {1975, 2442448.52300181, 20.527952, 0.685736, 18.88315893, 315.578451, -0.000094, 0.98590494},
    {1979, 2443975.20324250, 38.210719, -1.149455, 18.32113247, 21.211111, 0.000107, 1.00220517},
    {1982, 2445200.08121022, 57.614348, -2.917528, 15.93244429, 145.297158, 0.000103, 1.01219219},
    {2003, 2452985.84921401, 286.680141, 6.374355, 13.36316460, 259.884295, 0.000169, 0.98457152},
    {2004, 2453075.06842615, 294.394788, 6.581430, 13.19223248, 350.325611, 0.000032, 0.99329338},
    {2005, 2453374.18303061, 295.789469, 6.459744, 14.17403452, 283.405664, 0.000047, 0.98330428},
    {2006, 2454064.92931033, 305.504311, 6.639157, 14.85827528, 243.008053, -0.000143, 0.98711438},
    {2014, 2456855.74084544, 347.437519, 5.066994, 17.24722568, 114.599745, 0.000089, 1.01632448},
};
// clang-format on

// One fixed osculating ellipse ignores the planets' perturbations: within
// 1960-2015 the geocentric residuals reach 1.3 deg in longitude, 0.1 deg in
// latitude and 0.23 AU in distance (in the 1960s).
constexpr double kChironLongitudeToleranceDeg = 1.5;
constexpr double kChironLatitudeToleranceDeg = 0.2;
constexpr double kChironDistanceToleranceAu = 0.3;

TEST(ChironReferencePositions, GeocentricNearTheEpoch) {
  for (const ChironReference& ref : kChironReference) {
    const double T = (ref.jd - 2451545.0) / 36525.0;
    double x = 0, y = 0, z = 0;
    KeplerPosition(ref.jd - kChironElements.EpochJulianDay, kChironElements, x, y, z);
    PrecessRect(0.0, T, x, y, z);
    const double sl = ref.sunLon * kRad, sb = ref.sunLat * kRad;
    x += ref.sunDist * std::cos(sb) * std::cos(sl);
    y += ref.sunDist * std::cos(sb) * std::sin(sl);
    z += ref.sunDist * std::sin(sb);
    double lon = std::atan2(y, x) / kRad + ChironLongitudeCorrection(ref.jd);
    double dl = std::fmod(lon - ref.chironLon + 540.0, 360.0) - 180.0;
    const double lat = std::atan2(z, std::hypot(x, y)) / kRad;
    EXPECT_LE(std::fabs(dl), kChironLongitudeToleranceDeg) << "year " << ref.year;
    EXPECT_NEAR(lat, ref.chironLat, kChironLatitudeToleranceDeg) << "year " << ref.year;
    EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), ref.chironDist, kChironDistanceToleranceAu)
        << "year " << ref.year;
  }
}

}  // namespace

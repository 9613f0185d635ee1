// Tests of Pluto's series: geocentric positions against an independent
// high-precision ephemeris (JPL DE431, geometric, ecliptic and equinox of date
// with nutation), the precession from B1950 and the range of the longitude.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/pluto.h"
#include "tests/engine/nutation_support.h"

namespace {

using testsupport::AngleDiffDeg;
using testsupport::kPi;
using testsupport::NutationInLongitudeDeg;
constexpr double kRad = kPi / 180.0;

struct Vec3 {
  double x, y, z;
};

Vec3 FromSpherical(double r, double latDeg, double lonDeg) {
  return {r * std::cos(latDeg * kRad) * std::cos(lonDeg * kRad),
          r * std::cos(latDeg * kRad) * std::sin(lonDeg * kRad), r * std::sin(latDeg * kRad)};
}

// One reference moment: Pluto's and the Sun's geocentric positions.
struct PlutoReference {
  int year;
  double jd;                             // Julian day, chart time scale (TT)
  double plutoLon, plutoLat, plutoDist;  // degrees, degrees, AU
  double sunLon, sunLat, sunDist;        // degrees, degrees, AU
};

// clang-format off
constexpr PlutoReference kPlutoReference[] = {
    {1851, 2397189.10189761, 28.400399, -16.609584, 49.57258690, 346.463131, -0.000199, 0.99298820},
    {1851, 2397372.61052929, 30.597729, -17.068656, 48.23301549, 163.861228, -0.000034, 1.00724004},
    {1852, 2397743.39951775, 31.507525, -17.029423, 48.23842919, 169.251796, 0.000138, 1.00583140},
    {1876, 2406302.30663107, 51.713611, -14.275481, 49.19266698, 328.533329, -0.000140, 0.98856444},
    {1885, 2409684.82732540, 61.654755, -12.481987, 49.52641446, 62.305926, 0.000059, 1.01298282},
    {1900, 2415066.51645383, 74.719495, -9.623917, 46.63526410, 326.912621, -0.000119, 0.98812118},
    {1900, 2415280.01863791, 77.698799, -9.440729, 46.74048893, 174.140741, -0.000126, 1.00467605},
    {1914, 2420288.43726821, 90.212683, -5.488741, 45.59308347, 73.430847, -0.000078, 1.01469725},
    {1915, 2420754.26073438, 93.238824, -5.185523, 44.60876829, 169.868923, -0.000162, 1.00596857},
    {1920, 2422583.86675763, 98.815446, -3.561869, 43.64725835, 173.175822, 0.000079, 1.00503664},
    {1933, 2427182.32889492, 111.285655, 1.007655, 40.67087923, 29.297318, 0.000016, 1.00482445},
    {1936, 2428494.66905457, 118.648253, 2.480338, 39.14022362, 239.695545, 0.000145, 0.98743449},
    {1946, 2431896.99862187, 129.705404, 6.495592, 36.61988520, 356.297131, 0.000137, 0.99520720},
    {1948, 2432879.51062825, 136.555137, 7.601127, 36.34238122, 241.638917, 0.000060, 0.98711318},
    {1954, 2434760.10797722, 144.412509, 10.027068, 34.43856550, 296.970039, 0.000135, 0.98380570},
    {1957, 2435892.46415262, 149.086114, 11.420677, 33.56297069, 334.084022, 0.000053, 0.98952745},
    {1957, 2435978.05426385, 147.948996, 11.197742, 34.46296932, 58.286935, 0.000193, 1.01192098},
    {1961, 2437454.39957266, 155.618473, 12.787741, 33.60721928, 73.044081, 0.000009, 1.01452455},
    {1965, 2438914.54382786, 163.700779, 14.316046, 32.55892799, 72.252862, 0.000133, 1.01441123},
    {1966, 2439220.97846371, 166.445448, 14.981621, 31.57132782, 15.232499, 0.000094, 1.00053131},
    {1969, 2440319.08080717, 173.155256, 15.949928, 30.93817509, 17.574407, -0.000271, 1.00123777},
    {1972, 2441363.48549929, 181.571249, 16.641757, 30.51037425, 326.407223, 0.000172, 0.98783353},
    {1972, 2441462.28788207, 179.374382, 16.510377, 30.80841027, 63.685568, -0.000123, 1.01292040},
    {1972, 2441606.61315820, 182.704062, 15.887435, 32.07216552, 202.843228, -0.000050, 0.99671198},
    {1975, 2442448.52300181, 189.086134, 17.090481, 30.23416636, 315.578451, -0.000094, 0.98590494},
    {1979, 2443975.20324250, 197.749003, 17.703283, 29.30940485, 21.211111, 0.000107, 1.00220517},
    {1982, 2445200.08121022, 204.680913, 16.760299, 30.42828014, 145.297158, 0.000103, 1.01219219},
    {2003, 2452985.84921401, 259.767687, 8.642043, 31.70351858, 259.884295, 0.000169, 0.98457152},
    {2004, 2453075.06842615, 262.192660, 8.768994, 30.78286744, 350.325611, 0.000032, 0.99329338},
    {2005, 2453374.18303061, 262.827219, 8.048034, 31.80202928, 283.405664, 0.000047, 0.98330428},
    {2006, 2454064.92931033, 265.694710, 6.945155, 32.10479693, 243.008053, -0.000143, 0.98711438},
    {2014, 2456855.74084544, 281.966606, 2.579409, 31.69743425, 114.599745, 0.000089, 1.01632448},
    {2016, 2457515.61534586, 287.397167, 1.450861, 32.58297535, 46.985351, -0.000170, 1.00914637},
    {2016, 2457708.03197119, 285.544259, 1.099623, 33.81381355, 233.590901, -0.000131, 0.98896837},
    {2019, 2458680.43109446, 291.856190, -0.423946, 32.82355328, 113.148685, -0.000080, 1.01644586},
    {2021, 2459337.67076622, 296.800794, -1.425157, 33.97856108, 42.957736, -0.000027, 1.00806565},
    {2022, 2459907.39207998, 296.625715, -2.221842, 35.20764581, 241.566145, -0.000051, 0.98749170},
    {2026, 2461080.74861376, 303.962357, -3.819762, 36.39106222, 320.489840, -0.000155, 0.98660801},
    {2027, 2461611.12008036, 306.063112, -4.773077, 34.80762866, 121.508616, 0.000104, 1.01582989},
    {2027, 2461675.37586672, 304.850699, -4.794496, 35.33265011, 183.555663, -0.000012, 1.00260139},
    {2029, 2462462.63834568, 308.287822, -5.685871, 36.77032939, 240.110026, 0.000021, 0.98767316},
    {2037, 2465297.21379511, 321.338029, -9.224222, 37.42689355, 153.811159, -0.000197, 1.01045845},
    {2038, 2465464.28970748, 322.305633, -8.931307, 39.49164886, 321.124378, -0.000172, 0.98668615},
    {2038, 2465490.74447128, 323.066092, -8.977292, 39.42403652, 347.756592, -0.000158, 0.99253343},
    {2039, 2465848.83164308, 324.278813, -9.316894, 39.72102838, 340.585188, -0.000137, 0.99071017},
    {2041, 2466711.82496918, 328.169898, -10.577653, 38.59722700, 109.406997, -0.000155, 1.01656258},
    {2046, 2468620.91151933, 333.578570, -12.221869, 39.87374140, 189.387393, -0.000116, 1.00103774},
    {2047, 2468989.66162142, 334.887780, -12.500788, 40.13664056, 192.838033, 0.000232, 0.99996879},
    {2059, 2473267.79034004, 351.868155, -14.925739, 43.34166901, 91.879922, -0.000151, 1.01627721},
    {2060, 2473679.24999530, 352.673320, -15.336829, 42.96195106, 136.003074, -0.000248, 1.01403151},
    {2061, 2473911.64099106, 352.956306, -14.835683, 44.80774676, 7.979478, 0.000259, 0.99801541},
    {2063, 2474630.68859635, 354.953853, -15.124499, 45.22082991, 356.628083, -0.000116, 0.99472550},
    {2065, 2475544.82262916, 357.888814, -16.160368, 43.77340989, 174.026241, 0.000215, 1.00542488},
    {2068, 2476726.24755626, 0.184091, -16.247886, 45.14194122, 259.509851, -0.000149, 0.98476116},
    {2069, 2476824.20480749, 1.689786, -15.864654, 46.32973476, 358.684888, 0.000171, 0.99530923},
    {2074, 2478612.89589009, 6.239434, -16.404735, 46.83746166, 320.992234, -0.000088, 0.98653857},
    {2078, 2480077.86466014, 10.532566, -16.654644, 47.43196439, 325.042273, -0.000100, 0.98728646},
    {2079, 2480750.15540256, 12.173118, -17.080574, 46.75921512, 265.846243, -0.000089, 0.98413056},
    {2083, 2482076.27028704, 18.335915, -17.241366, 47.09159797, 132.620856, 0.000089, 1.01464425},
    {2088, 2483702.39023583, 20.488870, -17.102348, 48.08033207, 296.716267, -0.000077, 0.98371467},
};
// clang-format on

// Geocentric longitude and latitude (degrees) of Pluto from the series and
// the reference Sun: the series' heliocentric vector (mean equinox of date)
// turned by the nutation in longitude, plus the Sun's geocentric vector.
void GeocentricPluto(const PlutoReference& ref, double& lon, double& lat) {
  const double T = (ref.jd - 2451545.0) / 36525.0;
  PlutoRecord p;
  p.T = T;
  CalcPluto(p);
  const Vec3 h = FromSpherical(p.R, p.B, p.L + NutationInLongitudeDeg(T));
  const Vec3 s = FromSpherical(ref.sunDist, ref.sunLat, ref.sunLon);
  const Vec3 g{h.x + s.x, h.y + s.y, h.z + s.z};
  lon = std::atan2(g.y, g.x) / kRad;
  lat = std::atan2(g.z, std::hypot(g.x, g.y)) / kRad;
}

// The series holds about 2.5" (heliocentric) while its fitted arc lasts; the
// largest geocentric residuals over 1890-1990 are 3.4" in longitude and 1"
// in latitude. After 1990 the longitude drifts away from the modern ephemeris
// (to about -14" by 2090); before 1890 the series is not valid.
constexpr int kFirstValidYear = 1890;
constexpr int kEndOfFittedArcYear = 1990;
constexpr int kLastValidYear = 2100;
constexpr double kFittedArcLongitudeToleranceArcsec = 4.5;
constexpr double kLateLongitudeToleranceArcsec = 16.0;
constexpr double kLatitudeToleranceArcsec = 2.0;

TEST(PlutoReferencePositions, GeocentricWithinTheValidSpan) {
  int compared = 0;
  for (const PlutoReference& ref : kPlutoReference) {
    if (ref.year < kFirstValidYear || ref.year > kLastValidYear) continue;
    double lon = 0, lat = 0;
    GeocentricPluto(ref, lon, lat);
    const double dl = AngleDiffDeg(lon, ref.plutoLon) * 3600.0;
    const double db = (lat - ref.plutoLat) * 3600.0;
    const double tolerance = ref.year <= kEndOfFittedArcYear ? kFittedArcLongitudeToleranceArcsec
                                                             : kLateLongitudeToleranceArcsec;
    EXPECT_LE(std::fabs(dl), tolerance) << "year " << ref.year << " jd " << ref.jd;
    EXPECT_LE(std::fabs(db), kLatitudeToleranceArcsec) << "year " << ref.year << " jd " << ref.jd;
    ++compared;
  }
  EXPECT_GT(compared, 50);
}

// Heliocentric distance: the reference Sun and Pluto give it to the
// ephemeris' accuracy; the series' radius is good to about 0.0006 AU.
constexpr double kRadiusToleranceAu = 0.001;

TEST(PlutoReferencePositions, RadiusVector) {
  for (const PlutoReference& ref : kPlutoReference) {
    if (ref.year < kFirstValidYear || ref.year > kLastValidYear) continue;
    const Vec3 g = FromSpherical(ref.plutoDist, ref.plutoLat, ref.plutoLon);
    const Vec3 s = FromSpherical(ref.sunDist, ref.sunLat, ref.sunLon);
    const double r = std::sqrt((g.x - s.x) * (g.x - s.x) + (g.y - s.y) * (g.y - s.y) +
                               (g.z - s.z) * (g.z - s.z));
    PlutoRecord p;
    p.T = (ref.jd - 2451545.0) / 36525.0;
    CalcPluto(p);
    EXPECT_NEAR(p.R, r, kRadiusToleranceAu) << "year " << ref.year;
  }
}

// General precession in longitude from B1950.0 to J2000.0:
// 5029.0966" * 0.5 - 1.11113" * 0.25 = 2514.27" = 0.69841 deg (IAU 1976).
constexpr double kPrecessionB1950ToJ2000Deg = 0.69841;
constexpr double kPrecessionToleranceDeg = 0.002;
// Ecliptic latitudes change by at most the tilt between the two ecliptics
// (about 23").
constexpr double kLatitudeChangeLimitDeg = 0.007;

TEST(PlutoPrecession, DateDiffersFromB1950ByFiftyYearsOfPrecession) {
  PlutoRecord b1950;
  b1950.T = 0.0;
  CalcPlutoB1950(b1950);
  PlutoRecord date;
  date.T = 0.0;
  CalcPluto(date);
  EXPECT_NEAR(AngleDiffDeg(date.L, b1950.L), kPrecessionB1950ToJ2000Deg, kPrecessionToleranceDeg);
  EXPECT_LE(std::fabs(date.B - b1950.B), kLatitudeChangeLimitDeg);
  EXPECT_DOUBLE_EQ(date.R, b1950.R);
}

TEST(PlutoPrecession, NoPrecessionAtB1950) {
  PlutoRecord b1950;
  b1950.T = -0.5;
  CalcPlutoB1950(b1950);
  PlutoRecord date;
  date.T = -0.5;
  CalcPluto(date);
  EXPECT_NEAR(AngleDiffDeg(date.L, b1950.L), 0.0, 1e-9);
  EXPECT_NEAR(date.B, b1950.B, 1e-9);
}

TEST(PlutoRange, LongitudeInRangeAndRadiusNearTheOrbit) {
  for (double T = -1.2; T <= 1.2; T += 0.01) {
    PlutoRecord p;
    p.T = T;
    CalcPluto(p);
    EXPECT_GE(p.L, 0.0) << T;
    EXPECT_LT(p.L, 360.0) << T;
    // Perihelion 29.7 AU, aphelion 49.3 AU; latitude within the inclination.
    EXPECT_GT(p.R, 29.5) << T;
    EXPECT_LT(p.R, 49.5) << T;
    EXPECT_LT(std::fabs(p.B), 17.5) << T;
  }
}

}  // namespace

// The series machinery (multiple tables, term summation, secular rows, table
// inspection) and the Sun's series. Expected values of the machinery are
// formed directly with std::cos / std::sin; the Sun's positions come from the
// geocentric reference ephemeris of the project (DE431-based, ecliptic of date
// with nutation) with the nutation in longitude (IAU 1980, 13 largest terms)
// removed, i.e. mean equinox of date.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <span>

#include "engine/astromath.h"
#include "engine/series.h"
#include "engine/series_terms.h"

namespace {

constexpr double kTableTol = 1e-12;          // cos/sin values
constexpr double kSumTol = 1e-9;             // arcseconds (or radius units) of a synthetic sum
constexpr double kSunLongitudeTol = 3.0;     // arcseconds
constexpr double kSunLatitudeTol = 0.5;      // arcseconds
constexpr double kSunRadiusTol = 3e-6;       // AU
constexpr double kJ2000LongitudeTol = 0.01;  // degrees, for the rounded figure 280.37
constexpr double kJ2000RadiusTol = 1e-4;     // AU, for the rounded figure 0.9833
constexpr double kJ2000LatitudeTol = 1.0;    // arcseconds

double ArcsecDiff(double a, double b) {
  double d = a - b;
  while (d > 180.0) d -= 360.0;
  while (d < -180.0) d += 360.0;
  return d * 3600.0;
}

// ---------------------------------------------------------------- tables

TEST(SeriesTables, OwnMultiplesMatchDirectTrigonometry) {
  SeriesRecord r;
  const double M = 0.7345;
  FillOwnMultiples(r, M, kOwnMultipleMin, kOwnMultipleMax);
  for (int I = kOwnMultipleMin; I <= kOwnMultipleMax; ++I) {
    EXPECT_NEAR(r.C3[OwnIndex(I)], std::cos(I * M), kTableTol) << "multiple " << I;
    EXPECT_NEAR(r.S3[OwnIndex(I)], std::sin(I * M), kTableTol) << "multiple " << I;
  }
}

TEST(SeriesTables, PerturberMultiplesIncludeThePositiveFirstMultiple) {
  SeriesRecord r;
  const double Mp = 5.91;
  FillPerturberMultiples(r, Mp, kPerturberMultipleMin, kPerturberMultipleMax);
  for (int J = kPerturberMultipleMin; J <= kPerturberMultipleMax; ++J) {
    EXPECT_NEAR(r.C[PerturberIndex(J)], std::cos(J * Mp), kTableTol) << "multiple " << J;
    EXPECT_NEAR(r.S[PerturberIndex(J)], std::sin(J * Mp), kTableTol) << "multiple " << J;
  }
}

TEST(SeriesTables, PhaseIsAddedOnceToEveryPerturberMultiple) {
  // The combined Jupiter-Saturn terms of Uranus use J*M6 + 2*M5.
  SeriesRecord r;
  const double M6 = 1.234, M5 = 4.321;
  FillPerturberMultiples(r, M6, -6, 0, 2.0 * M5);
  for (int J = -6; J <= 0; ++J) {
    EXPECT_NEAR(r.C[PerturberIndex(J)], std::cos(J * M6 + 2.0 * M5), kTableTol) << J;
    EXPECT_NEAR(r.S[PerturberIndex(J)], std::sin(J * M6 + 2.0 * M5), kTableTol) << J;
  }
}

TEST(SeriesTables, BoundsOutsideTheTableAreClipped) {
  SeriesRecord r;
  FillOwnMultiples(r, 0.3, -50, 50);
  FillPerturberMultiples(r, 0.3, -50, 50);
  EXPECT_NEAR(r.C3[OwnIndex(kOwnMultipleMax)], std::cos(kOwnMultipleMax * 0.3), kTableTol);
  EXPECT_NEAR(r.S[PerturberIndex(kPerturberMultipleMin)], std::sin(kPerturberMultipleMin * 0.3),
              kTableTol);
}

// ---------------------------------------------------------------- terms

// Record with tables filled for own anomaly M and perturber anomaly Mp.
SeriesRecord Prepared(double M, double Mp, double T) {
  SeriesRecord r;
  r.T = T;
  FillOwnMultiples(r, M, kOwnMultipleMin, kOwnMultipleMax);
  FillPerturberMultiples(r, Mp, kPerturberMultipleMin, kPerturberMultipleMax);
  return r;
}

TEST(SeriesTerms, PeriodicTermUsesOwnAndPerturberMultiples) {
  const double M = 2.1, Mp = 0.4, T = 0.37;
  SeriesRecord r = Prepared(M, Mp, T);
  PertTerm(r, 3, -2, 0, 1.5, -2.5, 10.0, 20.0, -0.3, 0.7);
  const double arg = 3 * M - 2 * Mp;
  EXPECT_NEAR(r.DL, 1.5 * std::cos(arg) - 2.5 * std::sin(arg), kSumTol);
  EXPECT_NEAR(r.DR, 10.0 * std::cos(arg) + 20.0 * std::sin(arg), kSumTol);
  EXPECT_NEAR(r.DB, -0.3 * std::cos(arg) + 0.7 * std::sin(arg), kSumTol);
}

TEST(SeriesTerms, SecularRowsChainPowersOfT) {
  // Rows IT = 0, 1, 2, 3 of one argument give c0 + c1*T + c2*T^2 + c3*T^3.
  const double M = 0.9, Mp = 3.3, T = -1.7;
  constexpr SeriesTerm rows[] = {
      {2, -1, 0, 4.0, 1.0, 0, 0, 0, 0},
      {2, -1, 1, 0.5, -2.0, 0, 0, 0, 0},
      {2, -1, 2, -0.25, 0.125, 0, 0, 0, 0},
      {2, -1, 3, 0.1, 0.2, 0, 0, 0, 0},
  };
  SeriesRecord r = Prepared(M, Mp, T);
  AddSeries(r, rows);
  const double c = std::cos(2 * M - Mp), s = std::sin(2 * M - Mp);
  const double expected = (4.0 + 0.5 * T - 0.25 * T * T + 0.1 * T * T * T) * c +
                          (1.0 - 2.0 * T + 0.125 * T * T + 0.2 * T * T * T) * s;
  EXPECT_NEAR(r.DL, expected, kSumTol);
}

TEST(SeriesTerms, SecularRowFollowsTheImmediatelyPrecedingArgument) {
  const double M = 1.1, Mp = 2.2, T = 0.6;
  constexpr SeriesTerm rows[] = {
      {1, 0, 0, 1.0, 0, 0, 0, 0, 0},
      {3, -4, 0, 0, 2.0, 0, 0, 0, 0},
      {3, -4, 1, 0, 5.0, 0, 0, 0, 0},  // T * sin(3M - 4Mp), not of the first row
  };
  SeriesRecord r = Prepared(M, Mp, T);
  AddSeries(r, rows);
  const double expected = std::cos(M) + (2.0 + 5.0 * T) * std::sin(3 * M - 4 * Mp);
  EXPECT_NEAR(r.DL, expected, kSumTol);
}

// The compiled pairs against the published rows summed one by one, for
// tables of odd and even length with secular rows, at several T.
template <const auto& Table>
void ExpectCompiledSumsAgree(const char* name) {
  for (double T : {-1.9, -0.3, 0.0, 0.8, 2.4}) {
    SeriesRecord rows = Prepared(1.234 + T, 0.567 - 3 * T, T), pairs = rows;
    AddSeries(rows, Table);
    SumSeries(pairs, kCompiledSeries<Table>);
    EXPECT_NEAR(pairs.DL, rows.DL, kSumTol * (1 + std::fabs(rows.DL))) << name << " T " << T;
    EXPECT_NEAR(pairs.DR, rows.DR, kSumTol * (1 + std::fabs(rows.DR))) << name << " T " << T;
    EXPECT_NEAR(pairs.DB, rows.DB, kSumTol * (1 + std::fabs(rows.DB))) << name << " T " << T;
  }
}

TEST(SeriesTerms, CompiledTablesSumAsTheirRows) {
  ExpectCompiledSumsAgree<series_terms::kSunVenus>("SunVenus");            // 23 rows
  ExpectCompiledSumsAgree<series_terms::kMercuryVenus>("MercuryVenus");    // 36
  ExpectCompiledSumsAgree<series_terms::kMarsEarth>("MarsEarth");          // 53
  ExpectCompiledSumsAgree<series_terms::kSaturnJupiter>("SaturnJupiter");  // 54
  ExpectCompiledSumsAgree<series_terms::kMercurySaturn>("MercurySaturn");  // 1
}

TEST(SeriesTerms, MultipleOutsideTheTablesContributesNothing) {
  SeriesRecord r = Prepared(0.5, 0.5, 1.0);
  PertTerm(r, kOwnMultipleMax + 1, 0, 0, 100, 100, 100, 100, 100, 100);
  PertTerm(r, kOwnMultipleMax + 1, 0, 1, 100, 100, 100, 100, 100, 100);  // its secular row
  PertTerm(r, 0, kPerturberMultipleMin - 1, 0, 100, 100, 100, 100, 100, 100);
  EXPECT_EQ(r.DL, 0.0);
  EXPECT_EQ(r.DR, 0.0);
  EXPECT_EQ(r.DB, 0.0);
}

// ---------------------------------------------------------------- inspection

TEST(SeriesTableInspection, ReportsRangesOfAWellFormedTable) {
  constexpr SeriesTerm rows[] = {
      {-1, -1, 0, 0, 0, 0, 0, 0, 0},
      {1, 1, 0, 0, 0, 0, 0, 0, 0},
      {11, -4, 0, 0, 0, 0, 0, 0, 0},
      {11, -4, 1, 0, 0, 0, 0, 0, 0},
  };
  constexpr SeriesTableInfo info = InspectSeriesTable(rows);
  static_assert(info.valid);
  EXPECT_EQ(info.iMin, -1);
  EXPECT_EQ(info.iMax, 11);
  EXPECT_EQ(info.jMin, -4);
  EXPECT_EQ(info.jMax, 1);
}

TEST(SeriesTableInspection, RejectsMalformedTables) {
  constexpr SeriesTerm secularFirst[] = {{1, 0, 1, 0, 0, 0, 0, 0, 0}};
  constexpr SeriesTerm skippedPower[] = {{1, 0, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 2, 0, 0, 0, 0, 0, 0}};
  constexpr SeriesTerm otherArgument[] = {{1, 0, 0, 0, 0, 0, 0, 0, 0}, {2, 0, 1, 0, 0, 0, 0, 0, 0}};
  constexpr SeriesTerm ownTooHigh[] = {{kOwnMultipleMax + 1, 0, 0, 0, 0, 0, 0, 0, 0}};
  constexpr SeriesTerm perturberTooLow[] = {{0, kPerturberMultipleMin - 1, 0, 0, 0, 0, 0, 0, 0}};
  EXPECT_FALSE(InspectSeriesTable(secularFirst).valid);
  EXPECT_FALSE(InspectSeriesTable(skippedPower).valid);
  EXPECT_FALSE(InspectSeriesTable(otherArgument).valid);
  EXPECT_FALSE(InspectSeriesTable(ownTooHigh).valid);
  EXPECT_FALSE(InspectSeriesTable(perturberTooLow).valid);
  EXPECT_FALSE(InspectSeriesTable({}).valid);
}

// ---------------------------------------------------------------- published tables

// Row count and two sums of every term table, worked out from the published
// listings (Montenbruck & Pfleger, "Astronomy on the Personal Computer", 3rd
// ed., series SUN200 ... NEP200): the sum of the absolute coefficients, and a
// sum weighted by row position and column, sum over rows k of
// (k + 1) * (I + 2J + 3IT + 4dlc + 5dls + 6drc + 7drs + 8dbc + 9dbs).
// A changed digit, sign, swapped column or reordered row changes a sum.
struct PublishedTable {
  const char* name;
  std::span<const SeriesTerm> terms;
  std::size_t rows;
  double absSum;
  double weightedSum;
};

using namespace series_terms;
// clang-format off
const PublishedTable kPublishedTables[] = {
    {"SunVenus", kSunVenus, 23, 23943.73, -67278.30},
    {"SunMars", kSunMars, 13, 19.07, -472.23},
    {"SunJupiter", kSunJupiter, 12, 52.76, -303.71},
    {"SunSaturn", kSunSaturn, 4, 3.07, -17.32},
    {"MercuryVenus", kMercuryVenus, 36, 227982.34, 614960.65},
    {"MercuryEarth", kMercuryEarth, 7, 5.14, -176.24},
    {"MercuryJupiter", kMercuryJupiter, 10, 18.36, 75.91},
    {"MercurySaturn", kMercurySaturn, 1, 0.52, -2.11},
    {"VenusMercury", kVenusMercury, 4, 1.85, -4.08},
    {"VenusEarth", kVenusEarth, 27, 25409.66, 127683.00},
    {"VenusMars", kVenusMars, 3, 4.70, -52.63},
    {"VenusJupiter", kVenusJupiter, 6, 19.76, -227.46},
    {"VenusSaturn", kVenusSaturn, 2, 0.92, -5.08},
    {"MarsVenus", kMarsVenus, 12, 27.41, 244.36},
    {"MarsEarth", kMarsEarth, 53, 199618.76, -831324.21},
    {"MarsJupiter", kMarsJupiter, 29, 469.69, -12777.51},
    {"MarsSaturn", kMarsSaturn, 12, 31.97, 575.92},
    {"JupiterSaturn", kJupiterSaturn, 48, 56379.00, -509513.90},
    {"JupiterUranus", kJupiterUranus, 2, 2.80, 5.70},
    {"SaturnJupiter", kSaturnJupiter, 54, 104351.70, -1253096.80},
    {"SaturnUranus", kSaturnUranus, 14, 272.70, 2604.60},
    {"SaturnNeptune", kSaturnNeptune, 3, 14.60, 84.50},
    {"UranusJupiter", kUranusJupiter, 7, 818.80, -12919.80},
    {"UranusSaturn", kUranusSaturn, 19, 1893.50, -18401.70},
    {"UranusNeptune", kUranusNeptune, 35, 118726.10, -489512.20},
    {"UranusJupiterSaturn", kUranusJupiterSaturn, 9, 133.30, 71.60},
    {"NeptuneJupiter", kNeptuneJupiter, 5, 766.30, 1566.80},
    {"NeptuneSaturn", kNeptuneSaturn, 6, 454.90, 7579.20},
    {"NeptuneUranus", kNeptuneUranus, 24, 38018.00, -184261.30},
};
// clang-format on

TEST(PublishedTables, TermTablesMatchThePublishedListings) {
  constexpr double kSumTol = 1e-6;
  for (const PublishedTable& t : kPublishedTables) {
    ASSERT_EQ(t.terms.size(), t.rows) << t.name;
    double absSum = 0.0, weighted = 0.0;
    for (std::size_t k = 0; k < t.terms.size(); ++k) {
      const SeriesTerm& r = t.terms[k];
      const double c[6] = {r.dlc, r.dls, r.drc, r.drs, r.dbc, r.dbs};
      double row = r.I + 2.0 * r.J + 3.0 * r.IT;
      for (int i = 0; i < 6; ++i) {
        absSum += std::fabs(c[i]);
        row += (i + 4) * c[i];
      }
      weighted += (k + 1.0) * row;
    }
    EXPECT_NEAR(absSum, t.absSum, kSumTol) << t.name;
    EXPECT_NEAR(weighted, t.weightedSum, kSumTol) << t.name;
  }
}

// ---------------------------------------------------------------- the Sun

TEST(Sun, J2000FiguresOfTheDesign) {
  SeriesRecord r;
  r.T = 0.0;
  CalcSun(r);
  EXPECT_NEAR(r.L, 280.37, kJ2000LongitudeTol);
  EXPECT_NEAR(r.R, 0.9833, kJ2000RadiusTol);
  EXPECT_NEAR(r.B * 3600.0, 0.0, kJ2000LatitudeTol);
}

// Geocentric Sun, mean equinox of date, from the reference ephemeris.
struct SunReference {
  double T;    // Julian centuries since J2000
  double lon;  // degrees
  double lat;  // degrees
  double r;    // AU
  const char* date;
};
constexpr SunReference kSunReference[] = {
    {-1.488183384, 346.467037, -0.000199, 0.9929882, "1851-03-07"},
    {-0.998726449, 326.907559, -0.000119, 0.9881212, "1900-02-16"},
    {-0.537932960, 356.301758, 0.000137, 0.9952072, "1946-03-17"},
    {-0.207249740, 21.212537, 0.000107, 1.0022052, "1979-04-11"},
    {0.041890990, 350.328794, 0.000032, 0.9932934, "2004-03-10"},
    {0.261074568, 320.487923, -0.000155, 0.9866080, "2026-02-09"},
    {0.689424984, 259.506151, -0.000149, 0.9847612, "2068-12-10"},
    {0.741078601, 320.995455, -0.000088, 0.9865386, "2074-02-09"},
    {0.880421362, 296.712729, -0.000077, 0.9837147, "2088-01-16"},
};

TEST(Sun, AgreesWithTheReferenceEphemeris) {
  for (const SunReference& ref : kSunReference) {
    SeriesRecord r;
    r.T = ref.T;
    CalcSun(r);
    EXPECT_NEAR(ArcsecDiff(r.L, ref.lon), 0.0, kSunLongitudeTol) << ref.date;
    EXPECT_NEAR((r.B - ref.lat) * 3600.0, 0.0, kSunLatitudeTol) << ref.date;
    EXPECT_NEAR(r.R, ref.r, kSunRadiusTol) << ref.date;
  }
}

TEST(Sun, LongitudeStaysInRangeForAnyT) {
  for (double T = -30.0; T <= 30.0; T += 0.0137) {
    SeriesRecord r;
    r.T = T;
    CalcSun(r);
    ASSERT_GE(r.L, 0.0) << "T " << T;
    ASSERT_LT(r.L, 360.0) << "T " << T;
  }
}

TEST(Sun, DistanceStaysBetweenPerihelionAndAphelion) {
  // Earth-Sun distance 0.98329 .. 1.01671 AU at J2000, widened by the offset
  // of the Earth from the Earth-Moon barycentre (3e-5 AU), the planetary
  // perturbations and the slow change of the eccentricity over two centuries.
  for (double T = -2.0; T <= 2.0; T += 0.0007) {
    SeriesRecord r;
    r.T = T;
    CalcSun(r);
    ASSERT_GT(r.R, 0.9830) << "T " << T;
    ASSERT_LT(r.R, 1.0170) << "T " << T;
  }
}

}  // namespace

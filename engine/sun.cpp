// Geocentric position of the Sun by the series SUN200 with fitted corrections.
#include <array>
#include <cmath>
#include <iterator>
#include <span>

#include "engine/astromath.h"
#include "engine/series.h"
#include "engine/series_terms.h"
#include "engine/sincos.h"

using namespace series_terms;

namespace {

static_assert(std::size(kSunVenus) == 23);
static_assert(std::size(kSunMars) == 13);
static_assert(std::size(kSunJupiter) == 12);
static_assert(std::size(kSunSaturn) == 4);

// Corrections to SUN200, rows in its own form (own multiple I of M3, the
// perturber's multiple J; longitude in arcseconds, radius in 1e-6 AU), with
// the offset and drift of the longitude below. Fitted by least squares to the
// geometric Sun of a high-precision ephemeris (the Swiss Ephemeris in its
// analytical mode, itself fitted to JPL DE404), referred to the mean equinox
// of date, at daily steps over 1950-2050: they take the series' error in
// longitude from 2.2" at most (0.93" rms) to 0.4" (0.1" rms) and in radius
// from 2.3e-6 AU to 1.1e-6 AU. The largest remaining terms are under 0.05".
constexpr SeriesTerm kSunVenusFit[] = {
    {1, 0, 0, 0.415, -0.228, 0.686, 1.059, 0, 0},  // the Earth's own orbit
    {8, -5, 0, 0.163, 0.014, 0.007, -0.059, 0, 0},
};
constexpr SeriesTerm kSunMarsFit[] = {
    {4, -7, 0, -0.076, 0.072, -0.058, -0.060, 0, 0},
    {3, -6, 0, -0.012, -0.104, -0.064, 0.009, 0, 0},
    {5, -9, 0, 0.062, 0.014, -0.007, 0.038, 0, 0},
    {0, 1, 0, -0.006, -0.048, 0.067, -0.011, 0, 0},
    {3, -2, 0, 0.042, 0.009, -0.016, 0.074, 0, 0},
};
constexpr SeriesTerm kSunJupiterFit[] = {
    {0, -2, 0, -0.012, 0.070, -0.027, 0.019, 0, 0},
    {0, -3, 0, -0.037, -0.008, -0.007, 0.018, 0, 0},
};
constexpr SeriesTerm kSunSaturnFit[] = {
    {0, 1, 0, -0.021, 0.021, 0.004, -0.006, 0, 0},
};
// The fitted offset of the longitude, arcseconds, and its drift, arcseconds
// per century.
constexpr double kFitOffset = 0.7949, kFitDrift = 0.9632;

// A published table with its fitted rows after it, as one table.
template <std::size_t N, std::size_t M>
constexpr std::array<SeriesTerm, N + M> Join(const SeriesTerm (&published)[N],
                                             const SeriesTerm (&fitted)[M]) {
  std::array<SeriesTerm, N + M> rows{};
  for (std::size_t k = 0; k < N; ++k) rows[k] = published[k];
  for (std::size_t k = 0; k < M; ++k) rows[N + k] = fitted[k];
  return rows;
}
constexpr auto kVenusRows = Join(kSunVenus, kSunVenusFit);
constexpr auto kMarsRows = Join(kSunMars, kSunMarsFit);
constexpr auto kJupiterRows = Join(kSunJupiter, kSunJupiterFit);
constexpr auto kSaturnRows = Join(kSunSaturn, kSunSaturnFit);

constexpr SeriesTableInfo kVenusInfo = InspectSeriesTable(kVenusRows);
constexpr SeriesTableInfo kMarsInfo = InspectSeriesTable(kMarsRows);
constexpr SeriesTableInfo kJupiterInfo = InspectSeriesTable(kJupiterRows);
constexpr SeriesTableInfo kSaturnInfo = InspectSeriesTable(kSaturnRows);
static_assert(kVenusInfo.valid && kMarsInfo.valid && kJupiterInfo.valid && kSaturnInfo.valid);

// The Earth's own multiples -1 .. 8 cover every table.
constexpr int kEarthMultipleMin = -1;
constexpr int kEarthMultipleMax = 8;
static_assert(kVenusInfo.iMin >= kEarthMultipleMin && kVenusInfo.iMax <= kEarthMultipleMax);
static_assert(kMarsInfo.iMin >= kEarthMultipleMin && kMarsInfo.iMax <= kEarthMultipleMax);
static_assert(kJupiterInfo.iMin >= kEarthMultipleMin && kJupiterInfo.iMax <= kEarthMultipleMax);
static_assert(kSaturnInfo.iMin >= kEarthMultipleMin && kSaturnInfo.iMax <= kEarthMultipleMax);

// Rate of the Earth's mean anomaly M3, revolutions per century.
constexpr double kEarthMotion = 99.9973604;

// The Keplerian rows of the Earth's orbit (all in the table of Venus).
constexpr std::span<const SeriesTerm> kSunTables[] = {kVenusRows};
constexpr auto kSunKepler = CollectKeplerRows<CountKeplerRows(kSunTables)>(kSunTables);

// Adds one perturber: fills its multiples and sums its table.
template <const auto& Table>
void AddPerturber(SeriesRecord& r, UnitVector Mp) {
  constexpr SeriesTableInfo kInfo = InspectSeriesTable(Table);
  FillPerturberMultiplesOf<kInfo.jMin, kInfo.jMax>(r, Mp);
  SumSeries(r, kCompiledSeries<Table>);
}

}  // namespace

// Geocentric ecliptic position of the Sun.
// In: r.T, Julian centuries since J2000 (chart time scale).
// Out: r.L (degrees, [0, 360)), r.B (degrees), r.R (AU), referred to the mean
// equinox and ecliptic of date; the work fields are overwritten.
// Source: Montenbruck & Pfleger, "Astronomy on the Personal Computer", SUN200:
// Keplerian terms and perturbations by Venus, Mars, Jupiter and Saturn, the
// displacement of the Earth from the Earth-Moon barycentre, long-period terms;
// with the fitted corrections above, good to 0.4" in longitude over 1950-2050.
void CalcSun(SeriesRecord& r) {
  const double T = r.T;
  r.DL = r.DR = r.DB = 0.0;

  r.M2 = SeriesMeanAnomaly(0.1387306, 162.5485917, T);
  r.M3 = SeriesMeanAnomaly(0.9931266, kEarthMotion, T);
  r.M4 = SeriesMeanAnomaly(0.054325, 53.1666028, T);
  r.M5 = SeriesMeanAnomaly(0.055175, 8.4293972, T);
  r.M6 = SeriesMeanAnomaly(0.88165, 3.3938722, T);
  r.D = SeriesMeanAnomaly(0.8274, 1236.8531, T);
  r.A = SeriesMeanAnomaly(0.3749, 1325.5524, T);
  r.U = SeriesMeanAnomaly(0.2591, 1342.2278, T);

  // the sines and cosines of the anomalies, side by side
  const UnitVector u3 = UnitVectorOf(r.M3), u2 = UnitVectorOf(r.M2), u4 = UnitVectorOf(r.M4),
                   u5 = UnitVectorOf(r.M5), u6 = UnitVectorOf(r.M6);

  FillOwnMultiplesOf<kEarthMultipleMin, kEarthMultipleMax>(r, u3);
  AddPerturber<kVenusRows>(r, u2);
  AddPerturber<kMarsRows>(r, u4);
  AddPerturber<kJupiterRows>(r, u5);
  AddPerturber<kSaturnRows>(r, u6);

  // Offset of the Earth's centre from the Earth-Moon barycentre; the sums and
  // differences of D with A and M3 by the addition theorem.
  double sD, cD, sA, cA;
  SinCos(r.D, sD, cD);
  SinCos(r.A, sA, cA);
  const double cM = r.C3[OwnIndex(1)], sM = r.S3[OwnIndex(1)];
  const double sDmA = sD * cA - cD * sA, cDmA = cD * cA + sD * sA;
  const double sDpA = sD * cA + cD * sA, cDpA = cD * cA - sD * sA;
  const double sDmM = sD * cM - cD * sM, cDmM = cD * cM + sD * sM;
  const double sDpM = sD * cM + cD * sM, cDpM = cD * cM - sD * sM;
  r.DL += 6.45 * sD - 0.42 * sDmA + 0.18 * sDpA + 0.17 * sDmM - 0.06 * sDpM;
  r.DR += 30.76 * cD - 3.06 * cDmA + 0.85 * cDpA - 0.58 * cDpM + 0.57 * cDmM;
  r.DB += 0.576 * SineOf(r.U);

  // Long-period perturbations.
  r.DL += 6.40 * SineOf(kTwoPi * (0.6983 + 0.0561 * T)) +
          1.87 * SineOf(kTwoPi * (0.5764 + 0.4174 * T)) +
          0.27 * SineOf(kTwoPi * (0.4189 + 0.3306 * T)) +
          0.20 * SineOf(kTwoPi * (0.3581 + 2.4814 * T));
  // the fitted offset and drift (see the fitted rows above)
  r.DL += kFitOffset + kFitDrift * T;

  SetKeplerRates(r, kSunKepler, kEarthMotion, 1e-6);
  double L = 360.0 * Frac(0.7859453 + r.M3 / kTwoPi + ((6191.2 + 1.1 * T) * T + r.DL) / 1296000.0);
  Normalize360(L);
  r.L = L;
  r.R = 1.0001398 - 0.0000007 * T + r.DR * 1e-6;
  r.B = r.DB / 3600.0;
}

// Analytical perturbation series for the Sun and the planets Mercury to Neptune.
//
// Every body is computed by the same scheme: the mean anomalies of the body and
// of its perturbers, tables of cosines and sines of their integer multiples, a
// list of periodic terms (each an argument I*M_body + J*M_perturber with
// coefficients for longitude, radius and latitude) summed by the addition
// theorem, and a final step that adds the sums to the mean elements.
// Source of the scheme and of every figure: O. Montenbruck, T. Pfleger,
// "Astronomy on the Personal Computer" (series SUN200, MER200 ... NEP200).
//
// A caller creates one SeriesRecord (value-initialised), sets T, calls one
// Calc* routine and reads L, B, R. No routine allocates, throws or keeps state.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

#include "engine/astromath.h"
#include "engine/sincos.h"

// One published term row. I is the multiple of the body's own mean anomaly,
// J the multiple of the perturber's mean anomaly (as printed in the source,
// normally <= 0). IT = 0 starts a new argument; IT = 1, 2, 3 repeat the
// previous row's argument multiplied by T, T^2, T^3 (rows follow in order).
struct SeriesTerm {
  int I;       // own multiple
  int J;       // perturber multiple
  int IT;      // power of T of a secular row; 0 = periodic row
  double dlc;  // longitude, cosine coefficient (arcseconds)
  double dls;  // longitude, sine coefficient (arcseconds)
  double drc;  // radius, cosine coefficient (1e-6 AU Sun..Mars, 1e-5 AU Jupiter..Neptune)
  double drs;  // radius, sine coefficient (same unit)
  double dbc;  // latitude, cosine coefficient (arcseconds)
  double dbs;  // latitude, sine coefficient (arcseconds)
};

// Extent of the multiple tables. Mars uses own multiples -2 .. 16, Jupiter's
// terms by Saturn perturber multiples down to -10, Saturn's terms by Jupiter
// the perturber multiple +1.
inline constexpr int kOwnMultipleMin = -2;
inline constexpr int kOwnMultipleMax = 16;
inline constexpr int kOwnTableSize = kOwnMultipleMax - kOwnMultipleMin + 1;
inline constexpr int kPerturberMultipleMin = -10;
inline constexpr int kPerturberMultipleMax = 1;
inline constexpr int kPerturberTableSize = kPerturberMultipleMax - kPerturberMultipleMin + 1;

// Element of C3/S3 holding own multiple I, and of C/S holding perturber multiple J.
constexpr int OwnIndex(int I) { return I - kOwnMultipleMin; }
constexpr int PerturberIndex(int J) { return kPerturberMultipleMax - J; }

// Work record of one theory for one moment.
struct SeriesRecord {
  double C3[kOwnTableSize] = {};       // cos(I*M), own anomaly, element OwnIndex(I) (dimensionless)
  double S3[kOwnTableSize] = {};       // sin(I*M), same layout (dimensionless)
  double C[kPerturberTableSize] = {};  // cos(J*Mp + phase) of the current perturber,
                                       // element PerturberIndex(J) (dimensionless)
  double S[kPerturberTableSize] = {};  // sin(J*Mp + phase), same layout (dimensionless)
  double M1 = 0;                       // mean anomaly of Mercury (radians)
  double M2 = 0;                       // mean anomaly of Venus (radians)
  double M3 = 0;                       // mean anomaly of the Earth (radians)
  double M4 = 0;                       // mean anomaly of Mars (radians)
  double M5 = 0;                       // mean anomaly of Jupiter (radians)
  double M6 = 0;                       // mean anomaly of Saturn (radians)
  double M7 = 0;                       // mean anomaly of Uranus (radians)
  double M8 = 0;                       // mean anomaly of Neptune (radians)
  double D = 0;      // Sun only: mean elongation of the Moon from the Sun (radians)
  double A = 0;      // Sun only: mean anomaly of the Moon (radians)
  double U = 0;      // Sun only: mean argument of latitude of the Moon (radians)
  double u = 0;      // cosine of the last term's argument, times T^IT (dimensionless)
  double v = 0;      // sine of the last term's argument, times T^IT (dimensionless)
  double DL = 0;     // sum of longitude perturbations (arcseconds)
  double DR = 0;     // sum of radius perturbations (1e-6 AU Sun..Mars, 1e-5 AU Jupiter..Neptune)
  double DB = 0;     // sum of latitude perturbations (arcseconds)
  double T = 0;      // input: Julian centuries since J2000 on the chart's time scale
  double L = 0;      // output: ecliptic longitude, mean equinox of date (degrees, [0, 360))
  double R = 0;      // output: radius vector (AU)
  double B = 0;      // output: ecliptic latitude, mean ecliptic of date (degrees)
  double LRate = 0;  // output: rate of L from the Keplerian rows (degrees per day)
  double RRate = 0;  // output: rate of R from the Keplerian rows (AU per day)
  double BRate = 0;  // output: rate of B from the Keplerian rows (degrees per day)
};

// Range of own and perturber multiples used by a term table, and whether its
// rows are well formed (indices inside the tables, secular rows chained in
// order after a periodic row of the same argument). Evaluated at compile time
// for every table.
struct SeriesTableInfo {
  int iMin = 0, iMax = 0;  // own multiples used
  int jMin = 0, jMax = 0;  // perturber multiples used (jMax >= 0)
  bool valid = false;      // rows well formed
};

constexpr SeriesTableInfo InspectSeriesTable(std::span<const SeriesTerm> terms) {
  SeriesTableInfo info;
  if (terms.empty() || terms[0].IT != 0) return info;
  info.iMin = info.iMax = terms[0].I;
  info.jMin = info.jMax = 0;
  for (std::size_t k = 0; k < terms.size(); ++k) {
    const SeriesTerm& t = terms[k];
    if (t.I < kOwnMultipleMin || t.I > kOwnMultipleMax) return info;
    if (t.J < kPerturberMultipleMin || t.J > kPerturberMultipleMax) return info;
    if (t.IT < 0 || t.IT > 3) return info;
    if (t.IT != 0) {
      const SeriesTerm& p = terms[k - 1];
      if (p.I != t.I || p.J != t.J || p.IT != t.IT - 1) return info;
    }
    if (t.I < info.iMin) info.iMin = t.I;
    if (t.I > info.iMax) info.iMax = t.I;
    if (t.J < info.jMin) info.jMin = t.J;
    if (t.J > info.jMax) info.jMax = t.J;
  }
  info.valid = true;
  return info;
}

// Two neighbouring rows of a well-formed table made ready for summing side by
// side (CompileSeries): the table elements of their multiples, the powers of T
// they carry and their coefficients, the two rows' values next to each other.
// A table of odd length ends with a row of zero coefficients.
struct CompiledPair {
  std::uint8_t own[2] = {};        // elements of C3/S3 holding the own multiples
  std::uint8_t pert[2] = {};       // elements of C/S holding the perturber multiples
  std::uint8_t power[2] = {};      // powers of T (the IT of the published rows)
  alignas(16) double dlc[2] = {};  // longitude, cosine (arcseconds)
  alignas(16) double dls[2] = {};  // longitude, sine (arcseconds)
  alignas(16) double drc[2] = {};  // radius, cosine (the theory's radius unit)
  alignas(16) double drs[2] = {};  // radius, sine (the theory's radius unit)
  alignas(16) double dbc[2] = {};  // latitude, cosine (arcseconds)
  alignas(16) double dbs[2] = {};  // latitude, sine (arcseconds)
};

// The rows of a table in pairs, as they stand (rows.size() == N).
template <std::size_t N>
constexpr std::array<CompiledPair, (N + 1) / 2> PairSeriesRows(std::span<const SeriesTerm> rows) {
  std::array<CompiledPair, (N + 1) / 2> pairs{};
  for (std::size_t k = 0; k < (N + 1) / 2 * 2; ++k) {
    CompiledPair& p = pairs[k / 2];
    const std::size_t lane = k % 2;
    if (k == N) {  // the padding row: multiples 0, no coefficients
      p.own[lane] = static_cast<std::uint8_t>(OwnIndex(0));
      p.pert[lane] = static_cast<std::uint8_t>(PerturberIndex(0));
      continue;
    }
    const SeriesTerm& t = rows[k];
    p.own[lane] = static_cast<std::uint8_t>(OwnIndex(t.I));
    p.pert[lane] = static_cast<std::uint8_t>(PerturberIndex(t.J));
    p.power[lane] = static_cast<std::uint8_t>(t.IT);
    p.dlc[lane] = t.dlc, p.dls[lane] = t.dls;
    p.drc[lane] = t.drc, p.drs[lane] = t.drs;
    p.dbc[lane] = t.dbc, p.dbs[lane] = t.dbs;
  }
  return pairs;
}

// A published table compiled: its periodic rows (IT = 0) in pairs, and its
// secular rows (IT > 0) in pairs of their own, so that the periodic rows,
// nearly all of them, are summed without a power of T.
template <std::size_t PeriodicPairs, std::size_t SecularPairs>
struct CompiledTable {
  std::array<CompiledPair, PeriodicPairs> periodic;
  std::array<CompiledPair, SecularPairs> secular;
};

// A compiled table of any size, as SumSeries takes it.
struct CompiledView {
  std::span<const CompiledPair> periodic;
  std::span<const CompiledPair> secular;
  template <std::size_t P, std::size_t S>
  constexpr CompiledView(const CompiledTable<P, S>& t) : periodic(t.periodic), secular(t.secular) {}
};

constexpr std::size_t CountSecularRows(std::span<const SeriesTerm> terms) {
  std::size_t n = 0;
  for (const SeriesTerm& t : terms) n += t.IT != 0 ? 1 : 0;
  return n;
}

// The rows of a table with IT = 0 (secular false) or IT > 0 (secular true), in
// order, in pairs (rows.size() rows of the kind wanted, N of them).
template <std::size_t N>
constexpr std::array<CompiledPair, (N + 1) / 2> PairRowsOfKind(std::span<const SeriesTerm> terms,
                                                               bool secular) {
  std::array<SeriesTerm, N> rows{};
  std::size_t k = 0;
  for (const SeriesTerm& t : terms)
    if ((t.IT != 0) == secular) rows[k++] = t;
  return PairSeriesRows<N>(rows);
}

// A published table compiled; a table that is not well formed
// (InspectSeriesTable) stops the compilation.
template <std::size_t N, std::size_t Secular>
constexpr CompiledTable<(N - Secular + 1) / 2, (Secular + 1) / 2> CompileSeries(
    std::span<const SeriesTerm> terms) {
  if (!InspectSeriesTable(terms).valid) throw "a series table is not well formed";
  return {PairRowsOfKind<N - Secular>(terms, false), PairRowsOfKind<Secular>(terms, true)};
}

// The compiled form of a published table, made once at compile time.
template <const auto& Table>
inline constexpr auto kCompiledSeries =
    CompileSeries<std::size(Table), CountSecularRows(Table)>(Table);

// The Keplerian rows of a theory: the periodic rows in the body's own mean
// anomaly alone (J = 0, IT = 0), the expansion of its elliptic orbit,
// gathered from its tables in order. Their derivative gives the body's
// velocity (SetKeplerRates).
constexpr bool IsKeplerRow(const SeriesTerm& row) { return row.J == 0 && row.IT == 0; }
constexpr std::size_t CountKeplerRows(std::span<const std::span<const SeriesTerm>> tables) {
  std::size_t n = 0;
  for (std::span<const SeriesTerm> t : tables)
    for (const SeriesTerm& row : t) n += IsKeplerRow(row) ? 1 : 0;
  return n;
}
template <std::size_t N>
constexpr std::array<CompiledPair, (N + 1) / 2> CollectKeplerRows(
    std::span<const std::span<const SeriesTerm>> tables) {
  std::array<SeriesTerm, N> rows{};
  std::size_t k = 0;
  for (std::span<const SeriesTerm> t : tables)
    for (const SeriesTerm& row : t)
      if (IsKeplerRow(row)) rows[k++] = row;
  return PairSeriesRows<N>(rows);
}

// Mean anomaly 2*pi*Frac(a + b*T) in radians; a in revolutions, b in
// revolutions per Julian century, T in Julian centuries since J2000.
// Source: Montenbruck & Pfleger, the mean anomalies of the series theories.
inline double SeriesMeanAnomaly(double a, double b, double T) { return kTwoPi * Frac(a + b * T); }

// Fills C3/S3 with the multiples iMin .. iMax (iMin <= 0 <= iMax, inside the
// table) of the body's own anomaly M (radians). Out-of-range bounds are clipped.
void FillOwnMultiples(SeriesRecord& r, double M, int iMin, int iMax);

// Fills C/S with cos and sin of J*Mp + phase for J = jMin .. jMax
// (jMin <= 0 <= jMax); Mp and phase in radians. Out-of-range bounds are clipped.
void FillPerturberMultiples(SeriesRecord& r, double Mp, int jMin, int jMax, double phase = 0.0);

// cos and sin of k M, k = 0 .. Most, into pc[k], ps[k], from c1 = cos M and
// s1 = sin M. The powers e^(ikM) are formed by halves, e^(ikM) =
// e^(i(k/2)M) e^(i(k - k/2)M), so that no chain of products is longer than
// log2 k and the processor can form them side by side; every step is laid
// out at compile time. The angles are finite, so the products are numbers
// and need no fallback.
template <int Most>
inline void MultiplePowers(double c1, double s1, double* pc, double* ps) {
  static_assert(Most >= 1);
  pc[0] = 1.0, ps[0] = 0.0;
  pc[1] = c1, ps[1] = s1;
  [&]<int... K>(std::integer_sequence<int, K...>) {
    ((pc[K + 2] =
          pc[(K + 2) / 2] * pc[K + 2 - (K + 2) / 2] - ps[(K + 2) / 2] * ps[K + 2 - (K + 2) / 2],
      ps[K + 2] =
          ps[(K + 2) / 2] * pc[K + 2 - (K + 2) / 2] + pc[(K + 2) / 2] * ps[K + 2 - (K + 2) / 2]),
     ...);
  }
  (std::make_integer_sequence<int, Most - 1>{});
}

// Stores the powers of multiples 0 .. Hi and, as conjugates, -1 .. Lo into a
// table whose element of multiple k is c0[Step k], s0[Step k].
template <int Lo, int Hi, int Step>
inline void StoreMultiplePowers(const double* pc, const double* ps, double* c0, double* s0) {
  [&]<int... K>(std::integer_sequence<int, K...>) {
    ((c0[Step * K] = pc[K], s0[Step * K] = ps[K]), ...);
  }
  (std::make_integer_sequence<int, Hi + 1>{});
  [&]<int... K>(std::integer_sequence<int, K...>) {
    ((c0[-Step * (K + 1)] = pc[K + 1], s0[-Step * (K + 1)] = -ps[K + 1]), ...);
  }
  (std::make_integer_sequence<int, -Lo>{});
}

// An angle's cosine and sine, taken once and handed to the tables below.
struct UnitVector {
  double c, s;  // cos and sin of the angle (dimensionless)
};
inline UnitVector UnitVectorOf(double angle) {
  UnitVector u;
  SinCos(angle, u.s, u.c);
  return u;
}

// FillOwnMultiples and FillPerturberMultiples (without a phase) for bounds
// known at compile time, from the cosine and sine of the anomaly: the same
// values, every step laid out in advance. A theory takes all its sines and
// cosines first, side by side, and then fills and sums table by table.
// The cosines and sines of Lo*x .. Hi*x from those of x into the rows whose
// entries for the multiple 0 are c0, s0, a multiple k at c0[Step * k] (Step
// -1: the perturbers' rows run from the highest multiple down).
template <int Lo, int Hi, int Step>
inline void StoreMultiplesOf(UnitVector m, double* c0, double* s0) {
  constexpr int kMost = Hi > -Lo ? Hi : (-Lo > 1 ? -Lo : 1);
  double pc[kMost + 1], ps[kMost + 1];
  MultiplePowers<kMost>(m.c, m.s, pc, ps);
  StoreMultiplePowers<Lo, Hi, Step>(pc, ps, c0, s0);
}
template <int Lo, int Hi>
inline void FillOwnMultiplesOf(SeriesRecord& r, UnitVector m) {
  static_assert(kOwnMultipleMin <= Lo && Lo <= 0 && 0 <= Hi && Hi <= kOwnMultipleMax);
  StoreMultiplesOf<Lo, Hi, 1>(m, r.C3 + OwnIndex(0), r.S3 + OwnIndex(0));
}
template <int Lo, int Hi>
inline void FillPerturberMultiplesOf(SeriesRecord& r, UnitVector mp) {
  static_assert(kPerturberMultipleMin <= Lo && Lo <= 0 && 0 <= Hi && Hi <= kPerturberMultipleMax);
  StoreMultiplesOf<Lo, Hi, -1>(mp, r.C + PerturberIndex(0), r.S + PerturberIndex(0));
}

// Adds one term to DL, DR, DB. IT = 0: (u, v) = cos and sin of the argument
// I*M + J*Mp from the tables; IT != 0: u and v of the previous term times T.
// A multiple outside the tables contributes nothing (u = v = 0).
void PertTerm(SeriesRecord& r, int I, int J, int IT, double dlc, double dls, double drc, double drs,
              double dbc, double dbs);

// Adds every row of a term table, in order, by PertTerm.
void AddSeries(SeriesRecord& r, std::span<const SeriesTerm> terms);

// Adds every row of a compiled table to DL, DR and DB: the sums of AddSeries,
// with the checks done at compile time, a secular row's T^IT taken as a
// power, and the rows summed two at a time (the even and the odd rows in two
// running sums, the secular rows after the periodic ones, added at the end:
// the same sums to the last bit or so). u and v are left as they were.
void SumSeries(SeriesRecord& r, CompiledView table);

// Sets LRate, RRate and BRate from the mean motion and the Keplerian rows.
// In: the own multiples in C3/S3; keplerRows, the theory's Keplerian rows
// in pairs (CollectKeplerRows);
// meanMotion, the rate of the own mean anomaly (revolutions per century, the b
// of SeriesMeanAnomaly); radiusUnit, the theory's radius unit (AU).
void SetKeplerRates(SeriesRecord& r, std::span<const CompiledPair> keplerRows, double meanMotion,
                    double radiusUnit);

// Geocentric position of the Sun (SUN200): the caller sets T; L (degrees,
// [0, 360)), B (degrees) and R (AU) come back, mean equinox and ecliptic of date.
void CalcSun(SeriesRecord& r);

// Heliocentric positions of the planets (MER200 ... NEP200): the caller sets T;
// L (degrees, [0, 360)), B (degrees) and R (AU) come back, mean equinox and
// ecliptic of date.
void CalcMercury(SeriesRecord& r);
void CalcVenus(SeriesRecord& r);
void CalcMars(SeriesRecord& r);
void CalcJupiter(SeriesRecord& r);
void CalcSaturn(SeriesRecord& r);
void CalcUranus(SeriesRecord& r);
void CalcNeptune(SeriesRecord& r);

// Pluto by the series PLU200 (Montenbruck & Pfleger, Astronomy on the
// Personal Computer): Kepler terms and perturbations by Jupiter, perturbations
// by Saturn, combined Jupiter-Saturn terms, then precession from B1950.
#include "engine/pluto.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "engine/astromath.h"
#include "engine/lanes.h"
#include "engine/sincos.h"

namespace {

// One series term: the argument I*M9 + J*M_perturber (J is the signed
// multiple of the perturber's mean anomaly) and the coefficients of its cosine
// and sine in longitude (arcseconds), radius (1e-5 AU) and latitude
// (arcseconds). The coefficients are kept in single precision.
struct PlutoTermRow {
  int I;      // multiple of M9, 0..6
  int J;      // multiple of the perturber's mean anomaly
  float dlc;  // arcseconds
  float dls;  // arcseconds
  float drc;  // 1e-5 AU
  float drs;  // 1e-5 AU
  float dbc;  // arcseconds
  float dbs;  // arcseconds
};

// clang-format off
// Kepler terms and perturbations by Jupiter.
constexpr PlutoTermRow kJupiterTerms[] = {
    {1, 0,    0.06f, 100924.08f, -960396.0f, 15965.1f, 51987.68f, -24288.76f},
    {2, 0, 3274.74f,  17835.12f, -118252.2f,  3632.4f, 12687.49f,  -6049.72f},
    {3, 0, 1543.52f,   4631.99f,  -21446.6f,  1167.0f,  3504.00f,  -1853.10f},
    {4, 0,  688.99f,   1227.08f,   -4823.4f,   213.5f,  1048.19f,   -648.26f},
    {5, 0,  242.27f,    415.93f,   -1075.4f,   140.6f,   302.33f,   -209.76f},
    {6, 0,  138.41f,    110.91f,    -308.8f,   -55.3f,   109.52f,    -93.82f},
    {3,-1,   -0.99f,      5.06f,     -25.6f,    19.8f,     1.26f,     -1.96f},
    {2,-1,    7.15f,      5.61f,     -96.7f,    57.2f,     1.64f,     -2.16f},
    {1,-1,   10.79f,     23.13f,    -390.4f,   236.4f,    -0.33f,      0.86f},
    {0, 1,   -0.23f,      4.43f,     102.8f,    63.2f,     3.15f,      0.34f},
    {1, 1,   -1.10f,     -0.92f,      11.8f,    -2.3f,     0.43f,      0.14f},
    {2, 1,    0.62f,      0.84f,       2.3f,     0.7f,     0.05f,     -0.04f},
    {3, 1,   -0.38f,     -0.45f,       1.2f,    -0.8f,     0.04f,      0.05f},
    {4, 1,    0.17f,      0.25f,       0.0f,     0.2f,    -0.01f,     -0.01f},
    {3,-2,    0.06f,      0.07f,      -0.6f,     0.3f,     0.03f,     -0.03f},
    {2,-2,    0.13f,      0.20f,      -2.2f,     1.5f,     0.03f,     -0.07f},
    {1,-2,    0.32f,      0.49f,      -9.4f,     5.7f,    -0.01f,      0.03f},
    {0,-2,   -0.04f,     -0.07f,       2.6f,    -1.5f,     0.07f,     -0.02f},
};

// Perturbations by Saturn.
constexpr PlutoTermRow kSaturnTerms[] = {
    {1,-1,  -29.47f,     75.97f,    -106.4f,  -204.9f,   -40.71f,    -17.55f},
    {0, 1,  -13.88f,     18.20f,      42.6f,   -46.1f,     1.13f,      0.43f},
    {1, 1,    5.81f,    -23.48f,      15.0f,    -6.8f,    -7.48f,      3.07f},
    {2, 1,  -10.27f,     14.16f,      -7.9f,     0.4f,     2.43f,     -0.09f},
    {3, 1,    6.86f,    -10.66f,       7.3f,    -0.3f,    -2.25f,      0.69f},
    {2,-2,    4.32f,      2.00f,       0.0f,    -2.2f,    -0.24f,      0.12f},
    {1,-2,   -5.04f,     -0.83f,      -9.2f,    -3.1f,     0.79f,     -0.24f},
    {0,-2,    4.25f,      2.48f,      -5.9f,    -3.3f,     0.58f,      0.02f},
};
// clang-format on

static_assert(std::size(kJupiterTerms) == 18);
static_assert(std::size(kSaturnTerms) == 8);

template <std::size_t Count>
constexpr bool AllInTables(const PlutoTermRow (&rows)[Count]) {
  for (const PlutoTermRow& t : rows) {
    if (t.I < 0 || t.I > 6) return false;
    if (t.J < kPlutoPerturberMultipleMin || t.J > kPlutoPerturberMultipleMax) return false;
  }
  return true;
}
static_assert(AllInTables(kJupiterTerms) && AllInTables(kSaturnTerms),
              "a term uses a multiple beyond the precomputed tables");

constexpr int kZero = -kPlutoPerturberMultipleMin;  // table element of multiple 0

// Pluto's mean motion, revolutions per century.
constexpr double kPlutoMeanMotion = 0.4026667;

// Fills the perturber table with the multiples -5..+5 of a mean anomaly from
// its cosine c and sine s: the negative ones by the addition theorem from
// multiple -1, the positive ones as their conjugates. The angles are finite,
// so the products need no fallback.
void FillPerturberTable(PlutoRecord& p, double c, double s) {
  p.C[kZero] = 1.0;
  p.S[kZero] = 0.0;
  p.C[kZero - 1] = c;
  p.S[kZero - 1] = -s;
  for (int k = 2; k <= -kPlutoPerturberMultipleMin; ++k) {
    const double a = p.C[kZero - k + 1], b = p.S[kZero - k + 1];
    p.C[kZero - k] = a * p.C[kZero - 1] - b * p.S[kZero - 1];
    p.S[kZero - k] = b * p.C[kZero - 1] + a * p.S[kZero - 1];
  }
  for (int k = 1; k <= kPlutoPerturberMultipleMax; ++k) {
    p.C[kZero + k] = p.C[kZero - k];
    p.S[kZero + k] = -p.S[kZero - k];
  }
}

// The rows of a table prepared at compile time for summing two at a time:
// the table elements of their multiples and their coefficients (the single
// precision figures, widened exactly), two rows side by side. A table of odd
// length ends with a row of zero coefficients.
template <std::size_t Count>
struct PlutoRowPairs {
  static constexpr std::size_t kPairs = (Count + 1) / 2;
  std::uint8_t own[kPairs][2] = {};        // element of C9/S9
  std::uint8_t pert[kPairs][2] = {};       // element of C/S
  alignas(16) double dlc[kPairs][2] = {};  // arcseconds
  alignas(16) double dls[kPairs][2] = {};  // arcseconds
  alignas(16) double drc[kPairs][2] = {};  // 1e-5 AU
  alignas(16) double drs[kPairs][2] = {};  // 1e-5 AU
  alignas(16) double dbc[kPairs][2] = {};  // arcseconds
  alignas(16) double dbs[kPairs][2] = {};  // arcseconds
};

template <std::size_t Count>
constexpr PlutoRowPairs<Count> PairRows(const PlutoTermRow (&rows)[Count]) {
  PlutoRowPairs<Count> g;
  for (std::size_t k = 0; k < 2 * g.kPairs; ++k) {
    const std::size_t pair = k / 2, lane = k % 2;
    if (k == Count) {  // the padding row: multiples 0, no coefficients
      g.pert[pair][lane] = static_cast<std::uint8_t>(kZero);
      continue;
    }
    const PlutoTermRow& t = rows[k];
    g.own[pair][lane] = static_cast<std::uint8_t>(t.I);
    g.pert[pair][lane] = static_cast<std::uint8_t>(kZero + t.J);
    g.dlc[pair][lane] = t.dlc, g.dls[pair][lane] = t.dls;
    g.drc[pair][lane] = t.drc, g.drs[pair][lane] = t.drs;
    g.dbc[pair][lane] = t.dbc, g.dbs[pair][lane] = t.dbs;
  }
  return g;
}
constexpr auto kJupiterPairs = PairRows(kJupiterTerms);
constexpr auto kSaturnPairs = PairRows(kSaturnTerms);

// Adds the rows: DL, DR, DB += coefficients times cos and sin of
// I*M9 + J*M_perturber, taken from the tables by the addition theorem, two
// rows at a time (the even and the odd rows in two running sums, added at
// the end).
template <std::size_t Count>
void AddRows(PlutoRecord& p, const PlutoRowPairs<Count>& g) {
  Lanes dl = {0, 0}, dr = {0, 0}, db = {0, 0};
  for (std::size_t k = 0; k < g.kPairs; ++k) {
    const Lanes a = {p.C9[g.own[k][0]], p.C9[g.own[k][1]]};
    const Lanes b = {p.S9[g.own[k][0]], p.S9[g.own[k][1]]};
    const Lanes c = {p.C[g.pert[k][0]], p.C[g.pert[k][1]]};
    const Lanes d = {p.S[g.pert[k][0]], p.S[g.pert[k][1]]};
    const Lanes u = a * c - b * d;
    const Lanes v = b * c + a * d;
    dl += LoadLanes(g.dlc[k]) * u + LoadLanes(g.dls[k]) * v;
    dr += LoadLanes(g.drc[k]) * u + LoadLanes(g.drs[k]) * v;
    db += LoadLanes(g.dbc[k]) * u + LoadLanes(g.dbs[k]) * v;
  }
  p.DL += dl[0] + dl[1];
  p.DR += dr[0] + dr[1];
  p.DB += db[0] + db[1];
}

// Kepler terms and the perturbations by Jupiter (cosine and sine of M5).
void PlutoPerturbJupiter(PlutoRecord& p, double c5, double s5) {
  FillPerturberTable(p, c5, s5);
  AddRows(p, kJupiterPairs);
}

// Perturbations by Saturn (cosine and sine of M6).
void PlutoPerturbSaturn(PlutoRecord& p, double c6, double s6) {
  FillPerturberTable(p, c6, s6);
  AddRows(p, kSaturnPairs);
}

// Rates of L, R and B from Pluto's mean motion and its Kepler terms (the
// rows in M9 alone), as SetKeplerRates does for the other series; the
// perturbations change them by less than 1e-4 of themselves.
void PlutoKeplerRates(PlutoRecord& p) {
  const double n = kTwoPi * kPlutoMeanMotion;
  double dl = 0.0, dr = 0.0, db = 0.0;
  for (const PlutoTermRow& t : kJupiterTerms) {
    if (t.J != 0) continue;
    const double du = -t.I * n * p.S9[t.I], dv = t.I * n * p.C9[t.I];
    dl += t.dlc * du + t.dls * dv;
    dr += t.drc * du + t.drs * dv;
    db += t.dbc * du + t.dbs * dv;
  }
  p.LRate = (360.0 * kPlutoMeanMotion + dl / 3600.0) / kDaysPerJulianCentury;
  p.RRate = dr * 1e-5 / kDaysPerJulianCentury;
  p.BRate = db / 3600.0 / kDaysPerJulianCentury;
}

// Combined Jupiter-Saturn terms in M5 - M6 and M5 - M6 + M9.
// In: x, y, the cosine and sine of M5 - M6.
void PlutoPerturbJupiterSaturn(PlutoRecord& p, double x, double y) {
  p.DL += -9.11 * x + 0.12 * y;
  p.DR += -3.4 * x - 3.3 * y;
  p.DB += 0.81 * x + 0.78 * y;
  ComplexMultiply(x, y, p.C9[1], p.S9[1], x, y);
  p.DL += 5.92 * x + 0.25 * y;
  p.DR += 2.3 * x - 3.8 * y;
  p.DB += -0.67 * x - 0.51 * y;
}

}  // namespace

// Heliocentric position of Pluto from the series, equinox B1950.
// In: p.T, Julian centuries since J2000 (meaningful from about 1890 to 2100).
// Out: p.L (degrees, [0, 360)), p.B (degrees), p.R (AU), ecliptic and
// equinox B1950.
// Source: Montenbruck & Pfleger, Astronomy on the Personal Computer (PLU200).
void CalcPlutoB1950(PlutoRecord& p) {
  p.DL = 0;
  p.DR = 0;
  p.DB = 0;

  const double T = p.T;
  p.M5 = kTwoPi * Frac(0.0565314 + 8.4302963 * T);
  p.M6 = kTwoPi * Frac(0.8829867 + 3.3947688 * T);
  p.M9 = kTwoPi * Frac(0.0385795 + kPlutoMeanMotion * T);

  // the sines and cosines of M9, M5, M6 and M5 - M6, two at a time
  Lanes s95, c95, s6j, c6j;
  SinCosPair(Lanes{p.M9, p.M5}, s95, c95);
  SinCosPair(Lanes{p.M6, p.M5 - p.M6}, s6j, c6j);
  p.C9[0] = 1.0;
  p.S9[0] = 0.0;
  p.C9[1] = c95[0], p.S9[1] = s95[0];
  for (int k = 2; k <= 6; ++k) {
    const double a = p.C9[k - 1], b = p.S9[k - 1];
    p.C9[k] = a * p.C9[1] - b * p.S9[1];
    p.S9[k] = b * p.C9[1] + a * p.S9[1];
  }

  PlutoPerturbJupiter(p, c95[1], s95[1]);
  PlutoPerturbSaturn(p, c6j[0], s6j[0]);
  PlutoPerturbJupiterSaturn(p, c6j[1], s6j[1]);
  PlutoKeplerRates(p);

  p.L = 360.0 * Frac(0.6232469 + p.M9 / kTwoPi + p.DL / 1296000.0);
  p.R = 40.7247248 + p.DR * 1e-5;
  p.B = -3.909434 + p.DB / 3600.0;
}

// Heliocentric position of Pluto.
// In: p.T, Julian centuries since J2000 (meaningful from about 1890 to 2100).
// Out: p.L (degrees, [0, 360)), p.B (degrees), p.R (AU), ecliptic and
// equinox of the date.
// Source: Montenbruck & Pfleger (PLU200), precession from B1950 to the date.
void CalcPluto(PlutoRecord& p) {
  CalcPlutoB1950(p);
  PrecessEcliptic(p.T, p.L, p.B);
}

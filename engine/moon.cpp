// Lunar series MOON (Montenbruck & Pfleger, Astronomy on the Personal
// Computer): mean arguments with long-period corrections, 104 solar terms,
// the latitude series N, 11 planetary terms.
#include "engine/moon.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "engine/astromath.h"
#include "engine/lanes.h"
#include "engine/sincos.h"

namespace {

// sin(2pi a) and sin(2pi b) together, a and b in revolutions.
Lanes SinRevolutionsPair(double a, double b) {
  Lanes s, c;
  SinCosRevolutionsPair(Lanes{a, b}, s, c);
  return s;
}

// One solar term: coefficients of sin in longitude and in the argument of
// latitude, of cos in the latitude amplitude and in the parallax (all
// arcseconds), and the multiples of L, LS, F and D forming the argument.
struct SolarTermRow {
  double coeffl;   // arcseconds
  double coeffs;   // arcseconds
  double coeffg;   // arcseconds
  double coeffp;   // arcseconds
  int p, q, r, s;  // multiples of L, LS, F, D
};

// One term of the latitude series N: coefficient of sin (arcseconds) and the
// multiples of L, LS, F and D.
struct NTermRow {
  double coeffn;   // arcseconds
  int p, q, r, s;  // multiples of L, LS, F, D
};

// Highest multiple held in the tables for L, LS, F and D.
constexpr int kMaxMultiple[4] = {4, 3, 4, 6};

constexpr bool MultiplesInTables(int p, int q, int r, int s) {
  const int m[4] = {p, q, r, s};
  for (int k = 0; k < 4; ++k) {
    const int a = m[k] < 0 ? -m[k] : m[k];
    if (a > kMaxMultiple[k]) return false;
  }
  return true;
}

template <std::size_t Count>
constexpr bool AllInTables(const SolarTermRow (&rows)[Count]) {
  for (const SolarTermRow& t : rows)
    if (!MultiplesInTables(t.p, t.q, t.r, t.s)) return false;
  return true;
}

template <std::size_t Count>
constexpr bool AllInTables(const NTermRow (&rows)[Count]) {
  for (const NTermRow& t : rows)
    if (!MultiplesInTables(t.p, t.q, t.r, t.s)) return false;
  return true;
}

// clang-format off
constexpr SolarTermRow kSolarTerms1[] = {
    {   13.902,   14.06, -0.001,   0.2607, 0, 0, 0, 4},
    {    0.403,   -4.01,  0.394,   0.0023, 0, 0, 0, 3},
    { 2369.912, 2373.36,  0.601,  28.2333, 0, 0, 0, 2},
    { -125.154, -112.79, -0.725,  -0.9781, 0, 0, 0, 1},
    {    1.979,    6.98, -0.445,   0.0433, 1, 0, 0, 4},
    {  191.953,  192.72,  0.029,   3.0861, 1, 0, 0, 2},
    {   -8.466,  -13.51,  0.455,  -0.1093, 1, 0, 0, 1},
    {22639.500,22609.07,  0.079, 186.5398, 1, 0, 0, 0},
    {   18.609,    3.59, -0.094,   0.0118, 1, 0, 0,-1},
    {-4586.465,-4578.13, -0.077,  34.3117, 1, 0, 0,-2},
    {    3.215,    5.44,  0.192,  -0.0386, 1, 0, 0,-3},
    {  -38.428,  -38.64,  0.001,   0.6008, 1, 0, 0,-4},
    {   -0.393,   -1.43, -0.092,   0.0086, 1, 0, 0,-6},
    {   -0.289,   -1.59,  0.123,  -0.0053, 0, 1, 0, 4},
    {  -24.420,  -25.10,  0.040,  -0.3000, 0, 1, 0, 2},
    {   18.023,   17.93,  0.007,   0.1494, 0, 1, 0, 1},
    { -668.146, -126.98, -1.302,  -0.3997, 0, 1, 0, 0},
    {    0.560,    0.32, -0.001,  -0.0037, 0, 1, 0,-1},
    { -165.145, -165.06,  0.054,   1.9178, 0, 1, 0,-2},
    {   -1.877,   -6.46, -0.416,   0.0339, 0, 1, 0,-4},
    {    0.213,    1.02, -0.074,   0.0054, 2, 0, 0, 4},
    {   14.387,   14.78, -0.017,   0.2833, 2, 0, 0, 2},
    {   -0.586,   -1.20,  0.054,  -0.0100, 2, 0, 0, 1},
    {  769.016,  767.96,  0.107,  10.1657, 2, 0, 0, 0},
    {    1.750,    2.01, -0.018,   0.0155, 2, 0, 0,-1},
    { -211.656, -152.53,  5.679,  -0.3039, 2, 0, 0,-2},
    {    1.225,    0.91, -0.030,  -0.0088, 2, 0, 0,-3},
    {  -30.773,  -34.07, -0.308,   0.3722, 2, 0, 0,-4},
    {   -0.570,   -1.40, -0.074,   0.0109, 2, 0, 0,-6},
    {   -2.921,  -11.75,  0.787,  -0.0484, 1, 1, 0, 2},
    {    1.267,    1.52, -0.022,   0.0164, 1, 1, 0, 1},
    { -109.673, -115.18,  0.461,  -0.9490, 1, 1, 0, 0},
    { -205.962, -182.36,  2.056,   1.4437, 1, 1, 0,-2},
    {    0.233,    0.36,  0.012,  -0.0025, 1, 1, 0,-3},
    {   -4.391,   -9.66, -0.471,   0.0673, 1, 1, 0,-4},
};

constexpr SolarTermRow kSolarTerms2[] = {
    {    0.283,    1.53, -0.111,   0.0060, 1,-1, 0, 4},
    {   14.577,   31.70, -1.540,   0.2302, 1,-1, 0, 2},
    {  147.687,  138.76,  0.679,   1.1528, 1,-1, 0, 0},
    {   -1.089,    0.55,  0.021,   0.0,    1,-1, 0,-1},
    {   28.475,   23.59, -0.443,  -0.2257, 1,-1, 0,-2},
    {   -0.276,   -0.38, -0.006,  -0.0036, 1,-1, 0,-3},
    {    0.636,    2.27,  0.146,  -0.0102, 1,-1, 0,-4},
    {   -0.189,   -1.68,  0.131,  -0.0028, 0, 2, 0, 2},
    {   -7.486,   -0.66, -0.037,  -0.0086, 0, 2, 0, 0},
    {   -8.096,  -16.35, -0.740,   0.0918, 0, 2, 0,-2},
    {   -5.741,   -0.04,  0.0,    -0.0009, 0, 0, 2, 2},
    {    0.255,    0.0,   0.0,     0.0,    0, 0, 2, 1},
    { -411.608,   -0.20,  0.0,    -0.0124, 0, 0, 2, 0},
    {    0.584,    0.84,  0.0,     0.0071, 0, 0, 2,-1},
    {  -55.173,  -52.14,  0.0,    -0.1052, 0, 0, 2,-2},
    {    0.254,    0.25,  0.0,    -0.0017, 0, 0, 2,-3},
    {    0.025,   -1.67,  0.0,     0.0031, 0, 0, 2,-4},
    {    1.060,    2.96, -0.166,   0.0243, 3, 0, 0, 2},
    {   36.124,   50.64, -1.300,   0.6215, 3, 0, 0, 0},
    {  -13.193,  -16.40,  0.258,  -0.1187, 3, 0, 0,-2},
    {   -1.187,   -0.74,  0.042,   0.0074, 3, 0, 0,-4},
    {   -0.293,   -0.31, -0.002,   0.0046, 3, 0, 0,-6},
    {   -0.290,   -1.45,  0.116,  -0.0051, 2, 1, 0, 2},
    {   -7.649,  -10.56,  0.259,  -0.1038, 2, 1, 0, 0},
    {   -8.627,   -7.59,  0.078,  -0.0192, 2, 1, 0,-2},
    {   -2.740,   -2.54,  0.022,   0.0324, 2, 1, 0,-4},
    {    1.181,    3.32, -0.212,   0.0213, 2,-1, 0, 2},
    {    9.703,   11.67, -0.151,   0.1268, 2,-1, 0, 0},
    {   -0.352,   -0.37,  0.001,  -0.0028, 2,-1, 0,-1},
    {   -2.494,   -1.17, -0.003,  -0.0017, 2,-1, 0,-2},
    {    0.360,    0.20, -0.012,  -0.0043, 2,-1, 0,-4},
    {   -1.167,   -1.25,  0.008,  -0.0106, 1, 2, 0, 0},
    {   -7.412,   -6.12,  0.117,   0.0484, 1, 2, 0,-2},
    {   -0.311,   -0.65, -0.032,   0.0044, 1, 2, 0,-4},
    {    0.757,    1.82, -0.105,   0.0112, 1,-2, 0, 2},
    {    2.580,    2.32,  0.027,   0.0196, 1,-2, 0, 0},
    {    2.533,    2.40, -0.014,  -0.0212, 1,-2, 0,-2},
    {   -0.344,   -0.57, -0.025,   0.0036, 0, 3, 0,-2},
    {   -0.992,   -0.02,  0.0,     0.0,    1, 0, 2, 2},
    {  -45.099,   -0.02,  0.0,    -0.0010, 1, 0, 2, 0},
    {   -0.179,   -9.52,  0.0,    -0.0833, 1, 0, 2,-2},
    {   -0.301,   -0.33,  0.0,     0.0014, 1, 0, 2,-4},
    {   -6.382,   -3.37,  0.0,    -0.0481, 1, 0,-2, 2},
    {   39.528,   85.13,  0.0,    -0.7136, 1, 0,-2, 0},
    {    9.366,    0.71,  0.0,    -0.0112, 1, 0,-2,-2},
    {    0.202,    0.02,  0.0,     0.0,    1, 0,-2,-4},
};

constexpr SolarTermRow kSolarTerms3[] = {
    {    0.415,    0.10,  0.0,     0.0013, 0, 1, 2, 0},
    {   -2.152,   -2.26,  0.0,    -0.0066, 0, 1, 2,-2},
    {   -1.440,   -1.30,  0.0,     0.0014, 0, 1,-2, 2},
    {    0.384,   -0.04,  0.0,     0.0,    0, 1,-2,-2},
    {    1.938,    3.60, -0.145,   0.0401, 4, 0, 0, 0},
    {   -0.952,   -1.58,  0.052,  -0.0130, 4, 0, 0,-2},
    {   -0.551,   -0.94,  0.032,  -0.0097, 3, 1, 0, 0},
    {   -0.482,   -0.57,  0.005,  -0.0045, 3, 1, 0,-2},
    {    0.681,    0.96, -0.026,   0.0115, 3,-1, 0, 0},
    {   -0.297,   -0.27,  0.002,  -0.0009, 2, 2, 0,-2},
    {    0.254,    0.21, -0.003,   0.0,    2,-2, 0,-2},
    {   -0.250,   -0.22,  0.004,   0.0014, 1, 3, 0,-2},
    {   -3.996,    0.0,   0.0,     0.0004, 2, 0, 2, 0},
    {    0.557,   -0.75,  0.0,    -0.0090, 2, 0, 2,-2},
    {   -0.459,   -0.38,  0.0,    -0.0053, 2, 0,-2, 2},
    {   -1.298,    0.74,  0.0,     0.0004, 2, 0,-2, 0},
    {    0.538,    1.14,  0.0,    -0.0141, 2, 0,-2,-2},
    {    0.263,    0.02,  0.0,     0.0,    1, 1, 2, 0},
    {    0.426,    0.07,  0.0,    -0.0006, 1, 1,-2,-2},
    {   -0.304,    0.03,  0.0,     0.0003, 1,-1, 2, 0},
    {   -0.372,   -0.19,  0.0,    -0.0027, 1,-1,-2, 2},
    {    0.418,    0.0,   0.0,     0.0,    0, 0, 4, 0},
    {   -0.330,   -0.04,  0.0,     0.0,    3, 0, 2, 0},
};

constexpr NTermRow kNTerms[] = {
    {-526.069,  0, 0, 1,-2},
    {  -3.352,  0, 0, 1,-4},
    {  44.297,  1, 0, 1,-2},
    {  -6.000,  1, 0, 1,-4},
    {  20.599, -1, 0, 1, 0},
    { -30.598, -1, 0, 1,-2},
    { -24.649, -2, 0, 1, 0},
    {  -2.000, -2, 0, 1,-2},
    { -22.571,  0, 1, 1,-2},
    {  10.985,  0,-1, 1,-2},
};
// clang-format on

static_assert(std::size(kSolarTerms1) == 35);
static_assert(std::size(kSolarTerms2) == 46);
static_assert(std::size(kSolarTerms3) == 23);
static_assert(std::size(kNTerms) == 10);
static_assert(AllInTables(kSolarTerms1) && AllInTables(kSolarTerms2) && AllInTables(kSolarTerms3) &&
                  AllInTables(kNTerms),
              "a term uses a multiple beyond the precomputed tables");

constexpr double kArc = kArcsecPerRad;

// Rates of the mean arguments L, LS, F, D and of the mean longitude L0,
// revolutions per century (the linear coefficients of MoonInit).
constexpr double kArgumentRate[4] = {1325.55240982, 99.99735956, 1342.2278298, 1236.85308708};
constexpr double kMeanLongitudeRate = 1336.85522467;

// A group of solar rows prepared at compile time for summing two rows at a
// time: the runs of rows that share p L + q LS + r F (the published rows come
// in such runs, s running through the multiples of D), and for each row its
// run, the table row of its multiple of D and its coefficients, two rows side
// by side. The rate coefficient is coeffl times the rate of the argument
// (arcseconds per century, to be multiplied by its cosine). A group of odd
// length ends with a row of zero coefficients.
template <std::size_t Count>
struct SolarGroup {
  static constexpr std::size_t kPairs = (Count + 1) / 2;
  std::size_t runs = 0;
  int p[Count] = {}, q[Count] = {}, r[Count] = {};  // multiples of L, LS, F of each run
  std::uint8_t run[kPairs][2] = {};                 // run of each row
  std::uint8_t d[kPairs][2] = {};                   // CO/SI row of its multiple of D
  alignas(16) double coeffl[kPairs][2] = {};        // arcseconds
  alignas(16) double coeffs[kPairs][2] = {};        // arcseconds
  alignas(16) double coeffg[kPairs][2] = {};        // arcseconds
  alignas(16) double coeffp[kPairs][2] = {};        // arcseconds
  alignas(16) double rate[kPairs][2] = {};          // arcseconds per century
};

template <std::size_t Count>
constexpr SolarGroup<Count> PrepareSolarGroup(const SolarTermRow (&rows)[Count]) {
  SolarGroup<Count> g;
  for (std::size_t k = 0; k < 2 * g.kPairs; ++k) {
    const std::size_t pair = k / 2, lane = k % 2;
    if (k == Count) {  // the padding row: multiple 0 of D, no coefficients
      g.d[pair][lane] = 6;
      continue;
    }
    const SolarTermRow& t = rows[k];
    if (g.runs == 0 || t.p != g.p[g.runs - 1] || t.q != g.q[g.runs - 1] || t.r != g.r[g.runs - 1]) {
      g.p[g.runs] = t.p, g.q[g.runs] = t.q, g.r[g.runs] = t.r;
      ++g.runs;
    }
    g.run[pair][lane] = static_cast<std::uint8_t>(g.runs - 1);
    g.d[pair][lane] = static_cast<std::uint8_t>(t.s + 6);
    g.coeffl[pair][lane] = t.coeffl, g.coeffs[pair][lane] = t.coeffs;
    g.coeffg[pair][lane] = t.coeffg, g.coeffp[pair][lane] = t.coeffp;
    const double argumentRate = t.p * kArgumentRate[0] + t.q * kArgumentRate[1] +
                                t.r * kArgumentRate[2] + t.s * kArgumentRate[3];
    g.rate[pair][lane] = t.coeffl * kTwoPi * argumentRate;
  }
  return g;
}
constexpr auto kSolarGroup1 = PrepareSolarGroup(kSolarTerms1);
constexpr auto kSolarGroup2 = PrepareSolarGroup(kSolarTerms2);
constexpr auto kSolarGroup3 = PrepareSolarGroup(kSolarTerms3);

// cos and sin of p*L + q*LS + r*F + s*D from the multiple tables, by the
// addition theorem. Leaves them in TermCos/TermSin.
// A zero multiple multiplies by the table's (1, 0), which changes no bit, so
// every term takes the same three products without a branch; the tables hold
// cosines and sines of finite angles, so the products are always numbers
// and ComplexMultiply's not-a-number fallback is not needed.
void BuildArgument(MoonRecord& m, int p, int q, int r, int s) {
  const int row[4] = {p + 6, q + 6, r + 6, s + 6};
  double x = m.CO[row[0]][0];
  double y = m.SI[row[0]][0];
  for (int k = 1; k < 4; ++k) {
    const double c = m.CO[row[k]][k], d = m.SI[row[k]][k];
    const double re = x * c - y * d;
    y = y * c + x * d;
    x = re;
  }
  m.TermCos = x;
  m.TermSin = y;
}

// Adds a group of solar rows and the rate of their longitude terms
// (DLAMRate): the sums of MoonAddSolarTerm, the product of each run's first
// three factors formed once (in the order BuildArgument takes them), the rows
// summed two at a time (the even and the odd rows in two running sums, added
// at the end: the same sums to the last bit or so).
template <std::size_t Count>
void AddSolarGroup(MoonRecord& m, const SolarGroup<Count>& g) {
  double xc[Count], xs[Count];  // cos and sin of p L + q LS + r F of each run
  for (std::size_t k = 0; k < g.runs; ++k) {
    const int row[3] = {g.p[k] + 6, g.q[k] + 6, g.r[k] + 6};
    double c = m.CO[row[0]][0], s = m.SI[row[0]][0];
    for (int j = 1; j < 3; ++j) {
      const double cj = m.CO[row[j]][j], sj = m.SI[row[j]][j];
      const double re = c * cj - s * sj;
      s = s * cj + c * sj;
      c = re;
    }
    xc[k] = c, xs[k] = s;
  }
  Lanes dlam = {0, 0}, ds = {0, 0}, gam1c = {0, 0}, sinpi = {0, 0}, rate = {0, 0};
  for (std::size_t k = 0; k < g.kPairs; ++k) {
    const Lanes a = {xc[g.run[k][0]], xc[g.run[k][1]]};
    const Lanes b = {xs[g.run[k][0]], xs[g.run[k][1]]};
    const Lanes cd = {m.CO[g.d[k][0]][3], m.CO[g.d[k][1]][3]};
    const Lanes sd = {m.SI[g.d[k][0]][3], m.SI[g.d[k][1]][3]};
    const Lanes c = a * cd - b * sd;
    const Lanes s = b * cd + a * sd;
    dlam += LoadLanes(g.coeffl[k]) * s;
    ds += LoadLanes(g.coeffs[k]) * s;
    gam1c += LoadLanes(g.coeffg[k]) * c;
    sinpi += LoadLanes(g.coeffp[k]) * c;
    rate += LoadLanes(g.rate[k]) * c;
  }
  m.DLAM += dlam[0] + dlam[1];
  m.DS += ds[0] + ds[1];
  m.GAM1C += gam1c[0] + gam1c[1];
  m.SINPI += sinpi[0] + sinpi[1];
  m.DLAMRate += rate[0] + rate[1];
}

}  // namespace

// Long-period corrections of the mean elements and of the latitude factor.
// In: m.T (Julian centuries since J2000). Out: m.DL0, DL, DLS, DF, DD
// (arcseconds) and m.DGAM (dimensionless).
// Source: Montenbruck & Pfleger, Astronomy on the Personal Computer (MOON).
void MoonLongPeriodic(MoonRecord& m) {
  const double T = m.T;
  const Lanes s12 = SinRevolutionsPair(0.19833 + 0.05611 * T, 0.27869 + 0.04508 * T);
  const Lanes s34 = SinRevolutionsPair(0.16827 - 0.36903 * T, 0.34734 - 5.37261 * T);
  const Lanes s56 = SinRevolutionsPair(0.10498 - 5.37899 * T, 0.42681 - 0.41855 * T);
  const Lanes s7g = SinRevolutionsPair(0.14943 - 5.37511 * T, 0.59734 - 5.37261 * T);
  const Lanes sgg = SinRevolutionsPair(0.35498 - 5.37899 * T, 0.39943 - 5.37511 * T);
  const double s1 = s12[0], s2 = s12[1], s3 = s34[0], s4 = s34[1], s5 = s56[0], s6 = s56[1],
               s7 = s7g[0];
  m.DL0 = 0.84 * s1 + 0.31 * s2 + 14.27 * s3 + 7.26 * s4 + 0.28 * s5 + 0.24 * s6;
  m.DL = 2.94 * s1 + 0.31 * s2 + 14.27 * s3 + 9.34 * s4 + 1.12 * s5 + 0.83 * s6;
  m.DLS = -6.40 * s1 - 1.89 * s6;
  m.DF = 0.21 * s1 + 0.31 * s2 + 14.27 * s3 - 88.70 * s4 - 15.30 * s5 + 0.24 * s6 - 1.86 * s7;
  m.DD = m.DL0 - m.DLS;
  m.DGAM = -3.332e-6 * s7g[1] - 5.39e-7 * sgg[0] - 6.4e-8 * sgg[1];
}

// Clears the sums, computes the mean arguments L0, L, LS, F, D (radians) with
// their long-period corrections, the mean node NODE (degrees, in (-360, 360))
// and the tables CO/SI of the multiples of L, LS, F, D.
// In: m.T. Source: Montenbruck & Pfleger (MOON).
void MoonInit(MoonRecord& m) {
  m.DLAM = 0;
  m.DLAMRate = 0;
  m.DS = 0;
  m.GAM1C = 0;
  m.SINPI = 3422.7;
  MoonLongPeriodic(m);

  const double T = m.T;
  const double T2 = T * T;
  m.L0 = kTwoPi * Frac(0.60643382 + kMeanLongitudeRate * T - 0.00000313 * T2) + m.DL0 / kArc;
  m.L = kTwoPi * Frac(0.37489701 + kArgumentRate[0] * T + 0.00002565 * T2) + m.DL / kArc;
  m.LS = kTwoPi * Frac(0.99312619 + kArgumentRate[1] * T - 0.00000044 * T2) + m.DLS / kArc;
  m.F = kTwoPi * Frac(0.25909118 + kArgumentRate[2] * T - 0.00000892 * T2) + m.DF / kArc;
  m.D = kTwoPi * Frac(0.82736186 + kArgumentRate[3] * T - 0.00000397 * T2) + m.DD / kArc;

  // The mean node by the published polynomial of the mean elements, not as
  // L0 - F of the arguments above: their long-period corrections belong to
  // neither the mean nor the true node and move it by up to 2'. Within 0.3"
  // of a modern lunar ephemeris's mean node over 1800-2200.
  // Source: Meeus, Astronomical Algorithms, 2nd ed., eq. 47.7 (Chapront et
  // al. 1998).
  m.NODE = std::fmod(
      125.0445479 + (-1934.1362891 + (0.0020754 + (1.0 / 467441.0 - T / 60616000.0) * T) * T) * T,
      360.0);

  const double argument[4] = {m.L, m.LS, m.F, m.D};
  // Amplitude factors folded into the first multiple of each argument.
  const double factor[4] = {1.000002208, 0.997504612 - 0.002495388 * T,
                            1.000002708 + 139.978 * m.DGAM, 1.0};
  // the four sines and cosines two at a time
  Lanes sines[2], cosines[2];
  SinCosPair(Lanes{argument[0], argument[1]}, sines[0], cosines[0]);
  SinCosPair(Lanes{argument[2], argument[3]}, sines[1], cosines[1]);
  for (int k = 0; k < 4; ++k) {
    for (int row = 0; row < 13; ++row) {
      m.CO[row][k] = 0;
      m.SI[row][k] = 0;
    }
    m.CO[6][k] = 1.0;
    m.SI[6][k] = 0.0;
    m.CO[7][k] = cosines[k / 2][k % 2] * factor[k];
    m.SI[7][k] = sines[k / 2][k % 2] * factor[k];
    // the angles are finite: the products need no fallback
    for (int j = 2; j <= kMaxMultiple[k]; ++j) {
      const double a = m.CO[5 + j][k], b = m.SI[5 + j][k], c = m.CO[7][k], d = m.SI[7][k];
      m.CO[6 + j][k] = a * c - b * d;
      m.SI[6 + j][k] = b * c + a * d;
    }
    for (int j = 1; j <= kMaxMultiple[k]; ++j) {
      m.CO[6 - j][k] = m.CO[6 + j][k];
      m.SI[6 - j][k] = -m.SI[6 + j][k];
    }
  }
}

// Adds one solar term of argument p*L + q*LS + r*F + s*D: the sine to DLAM
// and DS, the cosine to GAM1C and SINPI (coefficients in arcseconds).
// Source: Montenbruck & Pfleger (MOON).
void MoonAddSolarTerm(MoonRecord& m, double coeffl, double coeffs, double coeffg, double coeffp,
                      int p, int q, int r, int s) {
  BuildArgument(m, p, q, r, s);
  m.DLAM += coeffl * m.TermSin;
  m.DS += coeffs * m.TermSin;
  m.GAM1C += coeffg * m.TermCos;
  m.SINPI += coeffp * m.TermCos;
}

// The three groups of solar terms (35, 46 and 23 terms) of the published
// MOON series, in their published order.
void MoonSolarTerms1(MoonRecord& m) { AddSolarGroup(m, kSolarGroup1); }
void MoonSolarTerms2(MoonRecord& m) { AddSolarGroup(m, kSolarGroup2); }
void MoonSolarTerms3(MoonRecord& m) { AddSolarGroup(m, kSolarGroup3); }

// Adds one term of the latitude series N (coefficient in arcseconds).
void MoonAddNTerm(MoonRecord& m, double coeffn, int p, int q, int r, int s) {
  BuildArgument(m, p, q, r, s);
  m.N += coeffn * m.TermSin;
}

// The latitude series N (10 terms). Out: m.N, arcseconds.
// Source: Montenbruck & Pfleger (MOON).
void MoonNTerms(MoonRecord& m) {
  m.N = 0;
  for (const NTermRow& t : kNTerms) MoonAddNTerm(m, t.coeffn, t.p, t.q, t.r, t.s);
}

// Perturbations of the longitude by Venus and Jupiter, added to DLAM
// (arcseconds). Source: Montenbruck & Pfleger (MOON). The fifth term's
// argument runs backwards (0.3130 - 91.5680 T) as in the published series.
void MoonPlanetaryTerms(MoonRecord& m) {
  const double T = m.T;
  const Lanes a = SinRevolutionsPair(0.7736 - 62.5512 * T, 0.0466 - 125.1025 * T);
  const Lanes b = SinRevolutionsPair(0.5785 - 25.1042 * T, 0.4591 + 1335.8075 * T);
  const Lanes c = SinRevolutionsPair(0.3130 - 91.5680 * T, 0.1480 + 1331.2898 * T);
  const Lanes d = SinRevolutionsPair(0.5918 + 1056.5859 * T, 0.5784 + 1322.8595 * T);
  const Lanes e = SinRevolutionsPair(0.2275 - 5.7374 * T, 0.2965 + 2.6929 * T);
  const double f = SinRevolutionsPair(0.3132 + 6.3368 * T, 0.0)[0];
  m.DLAM += 0.82 * a[0] + 0.31 * a[1] + 0.35 * b[0] + 0.66 * b[1] + 0.64 * c[0] + 1.14 * c[1] +
            0.21 * d[0] + 0.44 * d[1] + 0.24 * e[0] + 0.28 * e[1] + 0.33 * f;
}

// Geocentric position of the Moon.
// In: m.T, Julian centuries since J2000. Out: m.LAMBDA (degrees, [0, 360),
// mean equinox of date), m.BETA (degrees), m.R (Earth radii), m.NODE (mean
// ascending node, degrees, not reduced).
// Source: Montenbruck & Pfleger, Astronomy on the Personal Computer (MOON).
void CalcMoon(MoonRecord& m) {
  MoonInit(m);
  MoonSolarTerms1(m);
  MoonSolarTerms2(m);
  MoonSolarTerms3(m);
  MoonNTerms(m);
  MoonPlanetaryTerms(m);

  m.LAMBDA = 360.0 * Frac((m.L0 + m.DLAM / kArc) / kTwoPi);

  const double S = m.F + m.DS / kArc;
  const double fac = 1.000002708 + 139.978 * m.DGAM;
  m.BETA = (fac * (18519.7 + m.GAM1C) * SineOf(S) - 6.24 * SineOf(3.0 * S) + m.N) / 3600.0;

  m.SINPI = m.SINPI * 0.999953253;
  m.R = kArc / m.SINPI;

  // rates: the mean longitude and the solar terms; the latitude's main term
  // (the planetary and long-period terms change the rates by less than 1e-4
  // of themselves, the other latitude terms by about 3 %, a thousandth of an
  // arcsecond in the Moon's light time of 1.3 s)
  const double perDay = 1.0 / kDaysPerJulianCentury;
  m.LAMBDARate = (360.0 * kMeanLongitudeRate + m.DLAMRate / 3600.0) * perDay;
  m.BETARate = fac * 18519.7 * CosineOf(S) * kTwoPi * kArgumentRate[2] / 3600.0 * perDay;
}

// The common machinery of the perturbation series: multiple tables and term
// summation. Montenbruck & Pfleger, "Astronomy on the Personal Computer".
#include "engine/series.h"

#include <cmath>

#include "engine/astromath.h"
#include "engine/lanes.h"
#include "engine/sincos.h"

namespace {

// Fills the multiples lo .. hi of an angle into a table whose element for
// multiple k is index(k): cos and sin of k M + phase. The powers e^(ikM) are
// formed by halves, e^(ikM) = e^(i(k/2)M) e^(i(k - k/2)M), so that no chain
// of products is longer than log2 k and the processor can form them side by
// side; a negative multiple is the conjugate. The angles are finite, so the
// products are numbers and need no fallback.
template <typename IndexOf>
void FillMultiples(double* c, double* s, IndexOf index, double M, int lo, int hi, double phase) {
  constexpr int kMost =
      kOwnMultipleMax > -kPerturberMultipleMin ? kOwnMultipleMax : -kPerturberMultipleMin;
  const int most = hi > -lo ? hi : -lo;
  double pc[kMost + 1], ps[kMost + 1];
  pc[0] = 1.0, ps[0] = 0.0;
  SinCos(M, ps[1], pc[1]);
  for (int k = 2; k <= most; ++k) {
    const int a = k / 2, b = k - a;
    pc[k] = pc[a] * pc[b] - ps[a] * ps[b];
    ps[k] = ps[a] * pc[b] + pc[a] * ps[b];
  }
  if (phase == 0.0) {
    for (int k = lo; k <= hi; ++k) {
      c[index(k)] = pc[k < 0 ? -k : k];
      s[index(k)] = k < 0 ? -ps[-k] : ps[k];
    }
    return;
  }
  double sp, cp;
  SinCos(phase, sp, cp);
  for (int k = lo; k <= hi; ++k) {
    const double a = pc[k < 0 ? -k : k], b = k < 0 ? -ps[-k] : ps[k];
    c[index(k)] = a * cp - b * sp;
    s[index(k)] = b * cp + a * sp;
  }
}

int Clip(int value, int lo, int hi) { return value < lo ? lo : (value > hi ? hi : value); }

}  // namespace

// Own multiple table of a body.
// In: M, the body's mean anomaly (radians); iMin <= 0 <= iMax, the multiples
// wanted (clipped to the table). Out: C3/S3 for those multiples (multiple 0 is
// (1, 0), multiple 1 (cos M, sin M), multiple -1 (cos M, -sin M), the others by
// the addition theorem).
// Source: Montenbruck & Pfleger, the series theories' table set-up.
void FillOwnMultiples(SeriesRecord& r, double M, int iMin, int iMax) {
  iMin = Clip(iMin, kOwnMultipleMin, 0);
  iMax = Clip(iMax, 0, kOwnMultipleMax);
  FillMultiples(r.C3, r.S3, OwnIndex, M, iMin, iMax, 0.0);
}

// Perturber multiple table.
// In: Mp, the perturber's mean anomaly (radians); jMin <= 0 <= jMax, the
// multiples wanted (clipped to the table); phase (radians), a fixed angle added
// to every entry (zero for an ordinary perturber). Out: C/S with cos and sin of
// J*Mp + phase.
// Source: Montenbruck & Pfleger, the perturber routines of the series theories.
void FillPerturberMultiples(SeriesRecord& r, double Mp, int jMin, int jMax, double phase) {
  jMin = Clip(jMin, kPerturberMultipleMin, 0);
  jMax = Clip(jMax, 0, kPerturberMultipleMax);
  FillMultiples(r.C, r.S, PerturberIndex, Mp, jMin, jMax, phase);
}

namespace {

// The running state of a term sum, held in locals so that the loop keeps it
// in registers; the arithmetic is the same, operation for operation, as on
// the record's fields.
struct TermSums {
  double u, v, DL, DR, DB;
};

// One term added to the sums, by the rule of PertTerm below.
inline void AddTerm(TermSums& s, const SeriesRecord& r, int I, int J, int IT, double dlc,
                    double dls, double drc, double drs, double dbc, double dbs) {
  if (IT == 0) {
    if (I < kOwnMultipleMin || I > kOwnMultipleMax || J < kPerturberMultipleMin ||
        J > kPerturberMultipleMax) {
      s.u = 0.0;
      s.v = 0.0;
      return;
    }
    // The tables hold cosines and sines of finite angles (Frac keeps every
    // mean anomaly finite), so the product is always a number and the
    // not-a-number fallback of ComplexMultiply is not needed here.
    const double a = r.C3[OwnIndex(I)], b = r.S3[OwnIndex(I)];
    const double c = r.C[PerturberIndex(J)], d = r.S[PerturberIndex(J)];
    s.u = a * c - b * d;
    s.v = b * c + a * d;
  } else {
    s.u *= r.T;
    s.v *= r.T;
  }
  s.DL += dlc * s.u + dls * s.v;
  s.DR += drc * s.u + drs * s.v;
  s.DB += dbc * s.u + dbs * s.v;
}

}  // namespace

// One series term.
// In: I, J, the multiples of the own and perturber anomalies; IT, 0 for a
// periodic term or the power of T of a secular term that repeats the previous
// argument; the six coefficients (arcseconds for longitude and latitude, the
// theory's radius unit for radius). Out: DL, DR, DB increased; u, v hold the
// argument's cosine and sine (times T^IT).
// Source: Montenbruck & Pfleger, procedure TERM of the series theories.
void PertTerm(SeriesRecord& r, int I, int J, int IT, double dlc, double dls, double drc, double drs,
              double dbc, double dbs) {
  TermSums s{r.u, r.v, r.DL, r.DR, r.DB};
  AddTerm(s, r, I, J, IT, dlc, dls, drc, drs, dbc, dbs);
  r.u = s.u, r.v = s.v, r.DL = s.DL, r.DR = s.DR, r.DB = s.DB;
}

// Sum of a term table.
// In: the rows in published order (the multiple tables already filled).
// Out: DL, DR, DB increased by every row.
// Source: Montenbruck & Pfleger, the perturber routines of the series theories.
void AddSeries(SeriesRecord& r, std::span<const SeriesTerm> terms) {
  TermSums s{r.u, r.v, r.DL, r.DR, r.DB};
  for (const SeriesTerm& t : terms)
    AddTerm(s, r, t.I, t.J, t.IT, t.dlc, t.dls, t.drc, t.drs, t.dbc, t.dbs);
  r.u = s.u, r.v = s.v, r.DL = s.DL, r.DR = s.DR, r.DB = s.DB;
}

// Sum of a compiled table.
// In: the row pairs (CompileSeries), the multiple tables filled. Out: DL, DR,
// DB increased by every row.
// Source: Montenbruck & Pfleger, the perturber routines of the series theories.
void SumSeries(SeriesRecord& r, std::span<const CompiledPair> pairs) {
  const double T = r.T;
  const double power[4] = {1.0, T, T * T, T * T * T};
  Lanes dl = {0.0, 0.0}, dr = {0.0, 0.0}, db = {0.0, 0.0};
  for (const CompiledPair& p : pairs) {
    const Lanes a = {r.C3[p.own[0]], r.C3[p.own[1]]};
    const Lanes b = {r.S3[p.own[0]], r.S3[p.own[1]]};
    const Lanes c = {r.C[p.pert[0]], r.C[p.pert[1]]};
    const Lanes d = {r.S[p.pert[0]], r.S[p.pert[1]]};
    const Lanes t = {power[p.power[0]], power[p.power[1]]};
    const Lanes u = (a * c - b * d) * t;
    const Lanes v = (b * c + a * d) * t;
    dl += LoadLanes(p.dlc) * u + LoadLanes(p.dls) * v;
    dr += LoadLanes(p.drc) * u + LoadLanes(p.drs) * v;
    db += LoadLanes(p.dbc) * u + LoadLanes(p.dbs) * v;
  }
  r.DL += dl[0] + dl[1];
  r.DR += dr[0] + dr[1];
  r.DB += db[0] + db[1];
}

// Rates of a body's longitude, radius and latitude.
// In: C3/S3 filled; the Keplerian rows; the mean motion (revolutions per
// century); the radius unit (AU). Out: LRate (degrees/day), RRate (AU/day),
// BRate (degrees/day).
// Notes: a row c cos IM + s sin IM changes at I n (s cos IM - c sin IM). The
// secular rows, the secular polynomials of the final step and the
// perturbers' rows are left out: they move the rates by less than 1e-4 of
// themselves, a thousandth of an arcsecond in a light time, which is all the
// rates serve.
// Source: the derivative of the series of Montenbruck & Pfleger.
void SetKeplerRates(SeriesRecord& r, std::span<const CompiledPair> keplerRows, double meanMotion,
                    double radiusUnit) {
  const double n = kTwoPi * meanMotion;  // radians per century
  Lanes dl = {0, 0}, dr = {0, 0}, db = {0, 0};
  for (const CompiledPair& p : keplerRows) {
    // the rates of the rows' own multiples and of their cosines and sines
    const Lanes w = {(p.own[0] + kOwnMultipleMin) * n, (p.own[1] + kOwnMultipleMin) * n};
    const Lanes du = -w * Lanes{r.S3[p.own[0]], r.S3[p.own[1]]};
    const Lanes dv = w * Lanes{r.C3[p.own[0]], r.C3[p.own[1]]};
    dl += LoadLanes(p.dlc) * du + LoadLanes(p.dls) * dv;
    dr += LoadLanes(p.drc) * du + LoadLanes(p.drs) * dv;
    db += LoadLanes(p.dbc) * du + LoadLanes(p.dbs) * dv;
  }
  r.LRate = (360.0 * meanMotion + (dl[0] + dl[1]) / 3600.0) / kDaysPerJulianCentury;
  r.RRate = (dr[0] + dr[1]) * radiusUnit / kDaysPerJulianCentury;
  r.BRate = (db[0] + db[1]) / 3600.0 / kDaysPerJulianCentury;
}

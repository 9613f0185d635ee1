// The common machinery of the perturbation series: multiple tables and term
// summation. Montenbruck & Pfleger, "Astronomy on the Personal Computer".
#include "engine/series.h"

#include <cmath>

#include "engine/astromath.h"
#include "engine/lanes.h"
#include "engine/sincos.h"

namespace {

constexpr int kMostMultiple =
    kOwnMultipleMax > -kPerturberMultipleMin ? kOwnMultipleMax : -kPerturberMultipleMin;

// MultiplePowers for a count known only when called: the same products by
// halves, in a loop.
inline void Powers(double M, int most, double* pc, double* ps) {
  pc[0] = 1.0, ps[0] = 0.0;
  SinCos(M, ps[1], pc[1]);
  for (int k = 2; k <= most; ++k) {
    const int a = k / 2, b = k - a;
    pc[k] = pc[a] * pc[b] - ps[a] * ps[b];
    ps[k] = ps[a] * pc[b] + pc[a] * ps[b];
  }
}

// Stores cos and sin of k M + phase for k = 0 .. n - 1 at c[step k], s[step
// k] (step +1 or -1), and for k = -1 .. -m, the conjugates, at c[-step k]:
// the table's element of multiple 0 is c[0]. Without a phase the powers are
// copied as they are.
inline void StorePowers(const double* pc, const double* ps, int n, int m, double* c, double* s,
                        int step, double phase) {
  if (phase == 0.0) {
    for (int k = 0; k < n; ++k) c[step * k] = pc[k], s[step * k] = ps[k];
    for (int k = 1; k <= m; ++k) c[-step * k] = pc[k], s[-step * k] = -ps[k];
    return;
  }
  double sp, cp;
  SinCos(phase, sp, cp);
  for (int k = 0; k < n; ++k) {
    c[step * k] = pc[k] * cp - ps[k] * sp;
    s[step * k] = ps[k] * cp + pc[k] * sp;
  }
  for (int k = 1; k <= m; ++k) {
    c[-step * k] = pc[k] * cp - -ps[k] * sp;
    s[-step * k] = -ps[k] * cp + pc[k] * sp;
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
  double pc[kMostMultiple + 1], ps[kMostMultiple + 1];
  Powers(M, iMax > -iMin ? iMax : -iMin, pc, ps);
  StorePowers(pc, ps, iMax + 1, -iMin, r.C3 + OwnIndex(0), r.S3 + OwnIndex(0), 1, 0.0);
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
  double pc[kMostMultiple + 1], ps[kMostMultiple + 1];
  Powers(Mp, jMax > -jMin ? jMax : -jMin, pc, ps);
  StorePowers(pc, ps, jMax + 1, -jMin, r.C + PerturberIndex(0), r.S + PerturberIndex(0), -1, phase);
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
// In: the table (CompileSeries), the multiple tables filled. Out: DL, DR, DB
// increased by every row.
// Source: Montenbruck & Pfleger, the perturber routines of the series theories.
void SumSeries(SeriesRecord& r, CompiledView table) {
  Lanes dl = {0.0, 0.0}, dr = {0.0, 0.0}, db = {0.0, 0.0};
  for (const CompiledPair& p : table.periodic) {
    const Lanes a = {r.C3[p.own[0]], r.C3[p.own[1]]};
    const Lanes b = {r.S3[p.own[0]], r.S3[p.own[1]]};
    const Lanes c = {r.C[p.pert[0]], r.C[p.pert[1]]};
    const Lanes d = {r.S[p.pert[0]], r.S[p.pert[1]]};
    const Lanes u = a * c - b * d;
    const Lanes v = b * c + a * d;
    dl += LoadLanes(p.dlc) * u + LoadLanes(p.dls) * v;
    dr += LoadLanes(p.drc) * u + LoadLanes(p.drs) * v;
    db += LoadLanes(p.dbc) * u + LoadLanes(p.dbs) * v;
  }
  if (!table.secular.empty()) {
    const double T = r.T;
    const double power[4] = {1.0, T, T * T, T * T * T};
    for (const CompiledPair& p : table.secular) {
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

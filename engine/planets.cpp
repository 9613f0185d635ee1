// Heliocentric positions of Mercury to Neptune by the series MER200 ... NEP200
// of Montenbruck & Pfleger, "Astronomy on the Personal Computer".
#include <array>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <span>

#include "engine/astromath.h"
#include "engine/lanes.h"
#include "engine/series.h"
#include "engine/series_terms.h"
#include "engine/sincos.h"

using namespace series_terms;

namespace {

// A perturber's term table with its inspected multiple ranges.
struct Perturbation {
  CompiledView terms;  // the rows compiled
  SeriesTableInfo info;
  std::size_t rows;                       // rows of the published table
  std::span<const SeriesTerm> published;  // the published table
};

template <const auto& Table>
constexpr Perturbation MakePerturbation() {
  return Perturbation{kCompiledSeries<Table>, InspectSeriesTable(Table), std::size(Table), Table};
}

// Own multiples needed by all of a planet's tables.
constexpr SeriesTableInfo OwnRange(std::span<const Perturbation> tables) {
  SeriesTableInfo all;
  all.valid = true;
  for (const Perturbation& p : tables) {
    if (!p.info.valid) all.valid = false;
    if (p.info.iMin < all.iMin) all.iMin = p.info.iMin;
    if (p.info.iMax > all.iMax) all.iMax = p.info.iMax;
  }
  return all;
}

// Rates of the planets' own mean anomalies in their theories, revolutions per
// century (the b of SeriesMeanAnomaly).
constexpr double kMercuryMotion = 415.2014314;
constexpr double kVenusMotion = 162.5494552;
constexpr double kMarsMotion = 53.1662736;
constexpr double kJupiterMotion = 8.4302963;
constexpr double kSaturnMotion = 3.3947688;
constexpr double kUranusMotion = 1.1902849;
constexpr double kNeptuneMotion = 0.6068526;

// The Keplerian rows of all of a planet's tables, in pairs.
template <const auto& All>
constexpr auto KeplerRowsOf() {
  constexpr auto tables = [] {
    std::array<std::span<const SeriesTerm>, std::size(All)> spans{};
    for (std::size_t k = 0; k < spans.size(); ++k) spans[k] = All[k].published;
    return spans;
  }();
  return CollectKeplerRows<CountKeplerRows(tables)>(tables);
}

// Fills the perturber's multiples and sums its table.
template <const Perturbation& P>
void AddPerturbation(SeriesRecord& r, UnitVector Mp) {
  FillPerturberMultiplesOf<P.info.jMin, P.info.jMax>(r, Mp);
  SumSeries(r, P.terms);
}

// The same with a phase added to every entry of the perturber's multiples.
void AddPerturbation(SeriesRecord& r, double Mp, const Perturbation& p, double phase) {
  FillPerturberMultiples(r, Mp, p.info.jMin, p.info.jMax, phase);
  SumSeries(r, p.terms);
}

// sin(2pi a) and sin(2pi b), a and b in revolutions.
Lanes SinRevolutionsPair(double a, double b) {
  Lanes s, c;
  SinCosRevolutionsPair(Lanes{a, b}, s, c);
  return s;
}

// Longitude of the final step: 360*Frac(L0 + M/2pi + ((n + c*T)*T + DL)/1296000),
// in degrees [0, 360). L0 in revolutions, M in radians, n, c and DL in arcseconds.
double FinalLongitude(double L0, double M, double n, double c, double T, double DL) {
  double L = 360.0 * Frac(L0 + M / kTwoPi + ((n + c * T) * T + DL) / 1296000.0);
  Normalize360(L);
  return L;
}

// Mercury: perturbed by Venus, the Earth, Jupiter and Saturn.
constexpr Perturbation kMerVenus = MakePerturbation<kMercuryVenus>();
constexpr Perturbation kMerEarth = MakePerturbation<kMercuryEarth>();
constexpr Perturbation kMerJupiter = MakePerturbation<kMercuryJupiter>();
constexpr Perturbation kMerSaturn = MakePerturbation<kMercurySaturn>();
static_assert(kMerVenus.rows == 36 && kMerEarth.rows == 7 && kMerJupiter.rows == 10 &&
              kMerSaturn.rows == 1);
constexpr Perturbation kMerAll[] = {kMerVenus, kMerEarth, kMerJupiter, kMerSaturn};
constexpr SeriesTableInfo kMerOwn = OwnRange(kMerAll);
static_assert(kMerOwn.valid);
constexpr auto kMerKepler = KeplerRowsOf<kMerAll>();

// Venus: perturbed by Mercury, the Earth, Mars, Jupiter and Saturn.
constexpr Perturbation kVenMercury = MakePerturbation<kVenusMercury>();
constexpr Perturbation kVenEarth = MakePerturbation<kVenusEarth>();
constexpr Perturbation kVenMars = MakePerturbation<kVenusMars>();
constexpr Perturbation kVenJupiter = MakePerturbation<kVenusJupiter>();
constexpr Perturbation kVenSaturn = MakePerturbation<kVenusSaturn>();
static_assert(kVenMercury.rows == 4 && kVenEarth.rows == 27 && kVenMars.rows == 3 &&
              kVenJupiter.rows == 6 && kVenSaturn.rows == 2);
constexpr Perturbation kVenAll[] = {kVenMercury, kVenEarth, kVenMars, kVenJupiter, kVenSaturn};
constexpr SeriesTableInfo kVenOwn = OwnRange(kVenAll);
static_assert(kVenOwn.valid);
constexpr auto kVenKepler = KeplerRowsOf<kVenAll>();

// Mars: perturbed by Venus, the Earth, Jupiter and Saturn.
constexpr Perturbation kMarVenus = MakePerturbation<kMarsVenus>();
constexpr Perturbation kMarEarth = MakePerturbation<kMarsEarth>();
constexpr Perturbation kMarJupiter = MakePerturbation<kMarsJupiter>();
constexpr Perturbation kMarSaturn = MakePerturbation<kMarsSaturn>();
static_assert(kMarVenus.rows == 12 && kMarEarth.rows == 53 && kMarJupiter.rows == 29 &&
              kMarSaturn.rows == 12);
constexpr Perturbation kMarAll[] = {kMarVenus, kMarEarth, kMarJupiter, kMarSaturn};
constexpr SeriesTableInfo kMarOwn = OwnRange(kMarAll);
static_assert(kMarOwn.valid);
constexpr auto kMarKepler = KeplerRowsOf<kMarAll>();

// Jupiter: perturbed by Saturn and Uranus.
constexpr Perturbation kJupSaturn = MakePerturbation<kJupiterSaturn>();
constexpr Perturbation kJupUranus = MakePerturbation<kJupiterUranus>();
static_assert(kJupSaturn.rows == 48 && kJupUranus.rows == 2);
constexpr Perturbation kJupAll[] = {kJupSaturn, kJupUranus};
constexpr SeriesTableInfo kJupOwn = OwnRange(kJupAll);
static_assert(kJupOwn.valid);
constexpr auto kJupKepler = KeplerRowsOf<kJupAll>();

// Saturn: perturbed by Jupiter, Uranus and Neptune.
constexpr Perturbation kSatJupiter = MakePerturbation<kSaturnJupiter>();
constexpr Perturbation kSatUranus = MakePerturbation<kSaturnUranus>();
constexpr Perturbation kSatNeptune = MakePerturbation<kSaturnNeptune>();
static_assert(kSatJupiter.rows == 54 && kSatUranus.rows == 14 && kSatNeptune.rows == 3);
constexpr Perturbation kSatAll[] = {kSatJupiter, kSatUranus, kSatNeptune};
constexpr SeriesTableInfo kSatOwn = OwnRange(kSatAll);
static_assert(kSatOwn.valid);
constexpr auto kSatKepler = KeplerRowsOf<kSatAll>();

// Uranus: perturbed by Jupiter, Saturn, Neptune, and combined Jupiter-Saturn terms.
constexpr Perturbation kUraJupiter = MakePerturbation<kUranusJupiter>();
constexpr Perturbation kUraSaturn = MakePerturbation<kUranusSaturn>();
constexpr Perturbation kUraNeptune = MakePerturbation<kUranusNeptune>();
constexpr Perturbation kUraJupiterSaturn = MakePerturbation<kUranusJupiterSaturn>();
static_assert(kUraJupiter.rows == 7 && kUraSaturn.rows == 19 && kUraNeptune.rows == 35 &&
              kUraJupiterSaturn.rows == 9);
constexpr Perturbation kUraAll[] = {kUraJupiter, kUraSaturn, kUraNeptune, kUraJupiterSaturn};
constexpr SeriesTableInfo kUraOwn = OwnRange(kUraAll);
static_assert(kUraOwn.valid);
constexpr auto kUraKepler = KeplerRowsOf<kUraAll>();

// Neptune: perturbed by Jupiter, Saturn and Uranus.
constexpr Perturbation kNepJupiter = MakePerturbation<kNeptuneJupiter>();
constexpr Perturbation kNepSaturn = MakePerturbation<kNeptuneSaturn>();
constexpr Perturbation kNepUranus = MakePerturbation<kNeptuneUranus>();
static_assert(kNepJupiter.rows == 5 && kNepSaturn.rows == 6 && kNepUranus.rows == 24);
constexpr Perturbation kNepAll[] = {kNepJupiter, kNepSaturn, kNepUranus};
constexpr SeriesTableInfo kNepOwn = OwnRange(kNepAll);
static_assert(kNepOwn.valid);
constexpr auto kNepKepler = KeplerRowsOf<kNepAll>();

}  // namespace

// Heliocentric position of Mercury.
// In: r.T, Julian centuries since J2000. Out: r.L (degrees, [0, 360)),
// r.B (degrees), r.R (AU), mean equinox and ecliptic of date.
// Source: Montenbruck & Pfleger, "Astronomy on the Personal Computer", MER200.
void CalcMercury(SeriesRecord& r) {
  const double T = r.T;
  r.DL = r.DR = r.DB = 0.0;
  r.M1 = SeriesMeanAnomaly(0.4855407, kMercuryMotion, T);
  r.M2 = SeriesMeanAnomaly(0.1394222, 162.5490444, T);
  r.M3 = SeriesMeanAnomaly(0.9937861, 99.9978139, T);
  r.M5 = SeriesMeanAnomaly(0.0558417, 8.4298417, T);
  r.M6 = SeriesMeanAnomaly(0.8823333, 3.3943333, T);

  // the sines and cosines of the anomalies, side by side
  const UnitVector u1 = UnitVectorOf(r.M1), u2 = UnitVectorOf(r.M2), u3 = UnitVectorOf(r.M3),
                   u5 = UnitVectorOf(r.M5), u6 = UnitVectorOf(r.M6);

  FillOwnMultiplesOf<kMerOwn.iMin, kMerOwn.iMax>(r, u1);
  AddPerturbation<kMerVenus>(r, u2);
  AddPerturbation<kMerEarth>(r, u3);
  AddPerturbation<kMerJupiter>(r, u5);
  AddPerturbation<kMerSaturn>(r, u6);
  r.DL += 2.8 + 3.2 * T;

  SetKeplerRates(r, kMerKepler, kMercuryMotion, 1e-6);
  r.L = FinalLongitude(0.2151379, r.M1, 5601.7, 1.1, T, r.DL);
  r.R = 0.3952829 + 0.0000016 * T + r.DR * 1e-6;
  r.B = (-2522.15 + (-30.18 + 0.04 * T) * T + r.DB) / 3600.0;
}

// Heliocentric position of Venus.
// In: r.T, Julian centuries since J2000. Out: r.L (degrees, [0, 360)),
// r.B (degrees), r.R (AU), mean equinox and ecliptic of date.
// Source: Montenbruck & Pfleger, "Astronomy on the Personal Computer", VEN200.
void CalcVenus(SeriesRecord& r) {
  const double T = r.T;
  r.DL = r.DR = r.DB = 0.0;
  r.M1 = SeriesMeanAnomaly(0.4861431, 415.2018375, T);
  r.M2 = SeriesMeanAnomaly(0.1400197, kVenusMotion, T);
  r.M3 = SeriesMeanAnomaly(0.9944153, 99.9982208, T);
  r.M4 = SeriesMeanAnomaly(0.0556297, 53.1674631, T);
  r.M5 = SeriesMeanAnomaly(0.0567028, 8.4305083, T);
  r.M6 = SeriesMeanAnomaly(0.8830539, 3.3947206, T);

  // the sines and cosines of the anomalies, side by side
  const UnitVector u2 = UnitVectorOf(r.M2), u1 = UnitVectorOf(r.M1), u3 = UnitVectorOf(r.M3),
                   u4 = UnitVectorOf(r.M4), u5 = UnitVectorOf(r.M5), u6 = UnitVectorOf(r.M6);

  FillOwnMultiplesOf<kVenOwn.iMin, kVenOwn.iMax>(r, u2);
  AddPerturbation<kVenMercury>(r, u1);
  AddPerturbation<kVenEarth>(r, u3);
  AddPerturbation<kVenMars>(r, u4);
  AddPerturbation<kVenJupiter>(r, u5);
  AddPerturbation<kVenSaturn>(r, u6);
  // Long-period terms; the last two (0.27" and the 1.9" + 1.8"T correction of
  // the mean longitude) belong to the published series and remove a heliocentric
  // error that otherwise grows to about 4" by 2080.
  const Lanes waves = SinRevolutionsPair(0.0764 + 0.4174 * T, 0.9201 + 0.3307 * T);
  r.DL += 2.74 * waves[0] + 0.27 * waves[1];
  r.DL += 1.9 + 1.8 * T;

  SetKeplerRates(r, kVenKepler, kVenusMotion, 1e-6);
  r.L = FinalLongitude(0.3654783, r.M2, 5071.2, 1.1, T, r.DL);
  r.R = 0.7233482 - 0.0000002 * T + r.DR * 1e-6;
  r.B = (-67.7 + (0.04 + 0.01 * T) * T + r.DB) / 3600.0;
}

// Heliocentric position of Mars.
// In: r.T, Julian centuries since J2000. Out: r.L (degrees, [0, 360)),
// r.B (degrees), r.R (AU), mean equinox and ecliptic of date.
// Source: Montenbruck & Pfleger, "Astronomy on the Personal Computer", MAR200.
void CalcMars(SeriesRecord& r) {
  const double T = r.T;
  r.DL = r.DR = r.DB = 0.0;
  r.M2 = SeriesMeanAnomaly(0.1382208, 162.5482542, T);
  r.M3 = SeriesMeanAnomaly(0.9926208, 99.9970236, T);
  r.M4 = SeriesMeanAnomaly(0.0538553, kMarsMotion, T);
  r.M5 = SeriesMeanAnomaly(0.0548944, 8.4290611, T);
  r.M6 = SeriesMeanAnomaly(0.8811167, 3.393525, T);

  // the sines and cosines of the anomalies, side by side
  const UnitVector u4 = UnitVectorOf(r.M4), u2 = UnitVectorOf(r.M2), u3 = UnitVectorOf(r.M3),
                   u5 = UnitVectorOf(r.M5), u6 = UnitVectorOf(r.M6);

  FillOwnMultiplesOf<kMarOwn.iMin, kMarOwn.iMax>(r, u4);
  AddPerturbation<kMarVenus>(r, u2);
  AddPerturbation<kMarEarth>(r, u3);
  AddPerturbation<kMarJupiter>(r, u5);
  AddPerturbation<kMarSaturn>(r, u6);
  const Lanes waves1 = SinRevolutionsPair(0.1868 + 0.0549 * T, 0.9220 + 0.3307 * T);
  const Lanes waves2 = SinRevolutionsPair(0.4731 + 2.1485 * T, 0.9467 + 0.1133 * T);
  r.DL += 52.49 * waves1[0] + 0.61 * waves1[1] + 0.32 * waves2[0] + 0.28 * waves2[1];
  // Correction of the mean longitude, part of the published series.
  r.DL += 0.14 + (0.87 - 0.11 * T) * T;

  SetKeplerRates(r, kMarKepler, kMarsMotion, 1e-6);
  r.L = FinalLongitude(0.9334591, r.M4, 6615.5, 1.1, T, r.DL);
  r.R = 1.5303352 + 0.0000131 * T + r.DR * 1e-6;
  r.B = (596.32 + (-2.92 - 0.1 * T) * T + r.DB) / 3600.0;
}

// Heliocentric position of Jupiter.
// In: r.T, Julian centuries since J2000. Out: r.L (degrees, [0, 360)),
// r.B (degrees), r.R (AU), mean equinox and ecliptic of date.
// Source: Montenbruck & Pfleger, "Astronomy on the Personal Computer", JUP200.
void CalcJupiter(SeriesRecord& r) {
  const double T = r.T;
  r.DL = r.DR = r.DB = 0.0;
  r.M5 = SeriesMeanAnomaly(0.0565314, kJupiterMotion, T);
  r.M6 = SeriesMeanAnomaly(0.8829867, 3.3947688, T);
  r.M7 = SeriesMeanAnomaly(0.3969537, 1.1902586, T);

  // the sines and cosines of the anomalies, side by side
  const UnitVector u5 = UnitVectorOf(r.M5), u6 = UnitVectorOf(r.M6), u7 = UnitVectorOf(r.M7);

  FillOwnMultiplesOf<kJupOwn.iMin, kJupOwn.iMax>(r, u5);
  AddPerturbation<kJupSaturn>(r, u6);
  AddPerturbation<kJupUranus>(r, u7);

  // Combined Saturn-Uranus terms: phi = 2*M5 - 6*M6 + 3*M7, then phi + M5.
  const double phi = 2.0 * r.M5 - 6.0 * r.M6 + 3.0 * r.M7;
  double c, s;
  SinCos(phi, s, c);
  r.DL += -0.8 * c + 8.5 * s;
  r.DR += -0.1 * c;
  ComplexMultiply(c, s, r.C3[OwnIndex(1)], r.S3[OwnIndex(1)], c, s);
  r.DL += 0.4 * c + 0.5 * s;
  r.DR += -0.7 * c + 0.5 * s;
  r.DB += -0.1 * c;

  SetKeplerRates(r, kJupKepler, kJupiterMotion, 1e-5);
  r.L = FinalLongitude(0.038891, r.M5, 5025.2, 0.8, T, r.DL);
  r.R = 5.208873 + 0.000041 * T + r.DR * 1e-5;
  r.B = (227.3 - 0.3 * T + r.DB) / 3600.0;
}

// Heliocentric position of Saturn.
// In: r.T, Julian centuries since J2000. Out: r.L (degrees, [0, 360)),
// r.B (degrees), r.R (AU), mean equinox and ecliptic of date.
// Source: Montenbruck & Pfleger, "Astronomy on the Personal Computer", SAT200.
void CalcSaturn(SeriesRecord& r) {
  const double T = r.T;
  r.DL = r.DR = r.DB = 0.0;
  r.M5 = SeriesMeanAnomaly(0.0565314, 8.4302963, T);
  r.M6 = SeriesMeanAnomaly(0.8829867, kSaturnMotion, T);
  r.M7 = SeriesMeanAnomaly(0.3969537, 1.1902586, T);
  r.M8 = SeriesMeanAnomaly(0.7208473, 0.6068623, T);

  // the sines and cosines of the anomalies, side by side
  const UnitVector u6 = UnitVectorOf(r.M6), u5 = UnitVectorOf(r.M5), u7 = UnitVectorOf(r.M7),
                   u8 = UnitVectorOf(r.M8);

  FillOwnMultiplesOf<kSatOwn.iMin, kSatOwn.iMax>(r, u6);
  AddPerturbation<kSatJupiter>(r, u5);
  AddPerturbation<kSatUranus>(r, u7);
  AddPerturbation<kSatNeptune>(r, u8);

  // Combined Jupiter-Uranus terms: phi = -2*M5 + 5*M6 - 3*M7, then phi + M6
  // and phi + 2*M6.
  const double phi = -2.0 * r.M5 + 5.0 * r.M6 - 3.0 * r.M7;
  double c, s;
  SinCos(phi, s, c);
  r.DL += -0.8 * c - 0.1 * s;
  r.DR += -0.2 * c + 1.8 * s;
  r.DB += 0.3 * c + 0.5 * s;
  ComplexMultiply(c, s, r.C3[OwnIndex(1)], r.S3[OwnIndex(1)], c, s);
  r.DL += (2.4 - 0.7 * T) * c + (27.8 - 0.4 * T) * s;
  r.DR += 2.1 * c - 0.2 * s;
  ComplexMultiply(c, s, r.C3[OwnIndex(1)], r.S3[OwnIndex(1)], c, s);
  r.DL += 0.1 * c + 1.6 * s;
  r.DR += -3.6 * c + 0.3 * s;
  r.DB += -0.2 * c + 0.6 * s;

  SetKeplerRates(r, kSatKepler, kSaturnMotion, 1e-5);
  r.L = FinalLongitude(0.2561136, r.M6, 5018.6, 1.9, T, r.DL);
  // The mean radius decreases (-0.000186 AU per century), as published; the
  // opposite sign leaves the radius 4e-4 AU off a century from J2000.
  r.R = 9.557584 - 0.000186 * T + r.DR * 1e-5;
  r.B = (175.1 - 10.2 * T + r.DB) / 3600.0;
}

// Heliocentric position of Uranus.
// In: r.T, Julian centuries since J2000. Out: r.L (degrees, [0, 360)),
// r.B (degrees), r.R (AU), mean equinox and ecliptic of date.
// Source: Montenbruck & Pfleger, "Astronomy on the Personal Computer", URA200.
void CalcUranus(SeriesRecord& r) {
  const double T = r.T;
  r.DL = r.DR = r.DB = 0.0;
  r.M5 = SeriesMeanAnomaly(0.0564472, 8.4302889, T);
  r.M6 = SeriesMeanAnomaly(0.8829611, 3.3947583, T);
  r.M7 = SeriesMeanAnomaly(0.3967117, kUranusMotion, T);
  r.M8 = SeriesMeanAnomaly(0.7216833, 0.6068528, T);

  // the sines and cosines of the anomalies, side by side
  const UnitVector u7 = UnitVectorOf(r.M7), u5 = UnitVectorOf(r.M5), u6 = UnitVectorOf(r.M6),
                   u8 = UnitVectorOf(r.M8);

  FillOwnMultiplesOf<kUraOwn.iMin, kUraOwn.iMax>(r, u7);
  AddPerturbation<kUraJupiter>(r, u5);
  AddPerturbation<kUraSaturn>(r, u6);
  AddPerturbation<kUraNeptune>(r, u8);
  // Jupiter-Saturn terms: Saturn's multiples shifted by 2*M5.
  AddPerturbation(r, r.M6, kUraJupiterSaturn, 2.0 * r.M5);

  SetKeplerRates(r, kUraKepler, kUranusMotion, 1e-5);
  r.L = FinalLongitude(0.4734843, r.M7, 5082.3, 34.2, T, r.DL);
  r.R = 19.211991 + (-0.000333 - 0.000005 * T) * T + r.DR * 1e-5;
  r.B = (-130.61 + (-0.54 + 0.04 * T) * T + r.DB) / 3600.0;
}

// Heliocentric position of Neptune.
// In: r.T, Julian centuries since J2000. Out: r.L (degrees, [0, 360)),
// r.B (degrees), r.R (AU), mean equinox and ecliptic of date.
// Source: Montenbruck & Pfleger, "Astronomy on the Personal Computer", NEP200.
void CalcNeptune(SeriesRecord& r) {
  const double T = r.T;
  r.DL = r.DR = r.DB = 0.0;
  r.M5 = SeriesMeanAnomaly(0.0563867, 8.4298907, T);
  r.M6 = SeriesMeanAnomaly(0.8825086, 3.3957748, T);
  r.M7 = SeriesMeanAnomaly(0.3965358, 1.1902851, T);
  r.M8 = SeriesMeanAnomaly(0.7214906, kNeptuneMotion, T);

  // the sines and cosines of the anomalies, side by side
  const UnitVector u8 = UnitVectorOf(r.M8), u5 = UnitVectorOf(r.M5), u6 = UnitVectorOf(r.M6),
                   u7 = UnitVectorOf(r.M7);

  FillOwnMultiplesOf<kNepOwn.iMin, kNepOwn.iMax>(r, u8);
  AddPerturbation<kNepJupiter>(r, u5);
  AddPerturbation<kNepSaturn>(r, u6);
  AddPerturbation<kNepUranus>(r, u7);

  SetKeplerRates(r, kNepKepler, kNeptuneMotion, 1e-5);
  r.L = FinalLongitude(0.1254046, r.M8, 4982.8, -21.3, T, r.DL);
  r.R = 30.072984 + (0.001234 + 0.000003 * T) * T + r.DR * 1e-5;
  r.B = (54.77 + (0.26 + 0.06 * T) * T + r.DB) / 3600.0;
}

// The Moon: geocentric ecliptic longitude and latitude (mean equinox of
// date), distance in Earth radii and the longitude of the mean ascending node,
// by the analytical lunar series MOON of Montenbruck & Pfleger (an abridged
// form of Brown's theory: solar terms, the latitude series N and planetary
// terms), good to a few arcseconds.
#pragma once

// Work record of one CalcMoon call; the caller creates it, sets T and reads
// LAMBDA, BETA, R and NODE afterwards.
struct MoonRecord {
  // Running sums of the series.
  double DLAM = 0;   // longitude perturbation, arcseconds
  double DS = 0;     // perturbation of the argument of latitude, arcseconds
  double GAM1C = 0;  // latitude amplitude correction, arcseconds
  double SINPI = 0;  // horizontal parallax sum, arcseconds (starts at 3422.7)
  double N = 0;      // latitude series N, arcseconds

  // Long-period corrections.
  double DGAM = 0;  // correction of the latitude factor, dimensionless
  double DL0 = 0;   // of the mean longitude, arcseconds
  double DL = 0;    // of the Moon's mean anomaly, arcseconds
  double DLS = 0;   // of the Sun's mean anomaly, arcseconds
  double DF = 0;    // of the argument of latitude, arcseconds
  double DD = 0;    // of the mean elongation, arcseconds

  // Mean arguments.
  double L0 = 0;  // mean longitude of the Moon, radians
  double L = 0;   // mean anomaly of the Moon, radians
  double LS = 0;  // mean anomaly of the Sun, radians
  double F = 0;   // mean argument of latitude, radians
  double D = 0;   // mean elongation from the Sun, radians

  // Cosines and sines of the multiples -6..6 of the four arguments L, LS, F
  // and D (scaled by their amplitude factors): CO[j + 6][k] holds multiple j of
  // argument k (0 L, 1 LS, 2 F, 3 D). Multiples beyond the highest one used
  // (4, 3, 4, 6) stay zero.
  double CO[13][4] = {};  // dimensionless
  double SI[13][4] = {};  // dimensionless

  double TermCos = 0;  // cosine of the last term's argument, dimensionless
  double TermSin = 0;  // sine of the last term's argument, dimensionless

  double T = 0;       // input: Julian centuries since J2000
  double LAMBDA = 0;  // output: ecliptic longitude, degrees [0, 360)
  double R = 0;       // output: geocentric distance, Earth radii
  double BETA = 0;    // output: ecliptic latitude, degrees
  double NODE = 0;    // output: mean ascending node, mean equinox of date, degrees, in (-360, 360)
  double DLAMRate = 0;    // rate of DLAM, arcseconds per century
  double LAMBDARate = 0;  // output: rate of LAMBDA, degrees per day
  double BETARate = 0;    // output: rate of BETA from its main term, degrees per day
};

// Computes LAMBDA, BETA, R and NODE for the record's T.
void CalcMoon(MoonRecord& m);

// The steps of CalcMoon, in calling order.
void MoonLongPeriodic(MoonRecord& m);
void MoonInit(MoonRecord& m);
void MoonAddSolarTerm(MoonRecord& m, double coeffl, double coeffs, double coeffg, double coeffp,
                      int p, int q, int r, int s);
void MoonSolarTerms1(MoonRecord& m);
void MoonSolarTerms2(MoonRecord& m);
void MoonSolarTerms3(MoonRecord& m);
void MoonAddNTerm(MoonRecord& m, double coeffn, int p, int q, int r, int s);
void MoonNTerms(MoonRecord& m);
void MoonPlanetaryTerms(MoonRecord& m);

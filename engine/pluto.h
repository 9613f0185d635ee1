// Pluto: heliocentric ecliptic longitude, latitude and radius vector by the
// series PLU200 of Montenbruck & Pfleger, valid from about 1890 to 2100. The
// series gives coordinates for the equinox B1950; CalcPluto carries them to
// the equinox of the date.
#pragma once

// Lowest and highest multiple of a perturber's mean anomaly held in the
// perturber table of the Pluto work record.
inline constexpr int kPlutoPerturberMultipleMin = -5;
inline constexpr int kPlutoPerturberMultipleMax = 5;

// Work record of one CalcPluto call; the caller creates it, sets T and reads
// L, B and R afterwards.
struct PlutoRecord {
  double C9[7] = {};  // cos of the multiples 0..6 of M9 (element k: multiple k), dimensionless
  double S9[7] = {};  // sin of the multiples 0..6 of M9, dimensionless
  // cos and sin of the multiples -5..+5 of the current perturber's mean
  // anomaly: element k holds multiple k + kPlutoPerturberMultipleMin.
  double C[kPlutoPerturberMultipleMax - kPlutoPerturberMultipleMin + 1] = {};  // dimensionless
  double S[kPlutoPerturberMultipleMax - kPlutoPerturberMultipleMin + 1] = {};  // dimensionless
  double M5 = 0;     // mean anomaly of Jupiter, radians
  double M6 = 0;     // mean anomaly of Saturn, radians
  double M9 = 0;     // mean anomaly of Pluto, radians
  double DL = 0;     // longitude perturbation, arcseconds
  double DR = 0;     // radius perturbation, 1e-5 AU
  double DB = 0;     // latitude perturbation, arcseconds
  double T = 0;      // input: Julian centuries since J2000
  double L = 0;      // output: heliocentric ecliptic longitude, degrees [0, 360), equinox of date
  double R = 0;      // output: radius vector, AU
  double B = 0;      // output: heliocentric ecliptic latitude, degrees, equinox of date
  double LRate = 0;  // output: rate of L from the Kepler terms, degrees per day
  double RRate = 0;  // output: rate of R from the Kepler terms, AU per day
  double BRate = 0;  // output: rate of B from the Kepler terms, degrees per day
};

// Computes L, B, R for the record's T, equinox of the date.
void CalcPluto(PlutoRecord& p);
// The series alone: L, B, R for the record's T referred to the equinox
// B1950 (CalcPluto precesses these to the date).
void CalcPlutoB1950(PlutoRecord& p);

// Neptune, Pluto and Chiron from tables: heliocentric geometric positions,
// mean ecliptic and equinox of date, as Chebyshev series of x, y and z over
// equal segments of time, fitted once to a modern numerical ephemeris
// (engine/body_tables_data.cpp, made by scripts/factory/make_body_tables.py) over
// 1800-2200. Outside their span the driver keeps the analytical theories.
#pragma once

#include "engine/apparent.h"

struct ChebyshevTable {
  double FirstJulianDay;       // start of the first segment, Terrestrial Time
  double SegmentDays;          // length of each segment, days
  int Segments;                // number of segments
  int Degree;                  // highest order of each series
  const double* Coefficients;  // [segment][axis x, y, z][order 0..Degree], AU
};

extern const ChebyshevTable kNeptuneTable;
extern const ChebyshevTable kPlutoTable;
extern const ChebyshevTable kChironTable;

// Whether the table covers the Julian day jd (Terrestrial Time), both ends
// included.
bool TableCovers(const ChebyshevTable& table, double jd);
// Position (AU) and velocity (AU per day) at jd from the table; false, with
// state left alone, when jd lies outside the table's span.
bool TabulatedState(const ChebyshevTable& table, double jd, StateVector& state);

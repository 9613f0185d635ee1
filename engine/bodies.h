// The all-bodies driver: apparent geocentric ecliptic positions of date (light
// time, annual aberration and nutation) of the chart's bodies 0..15 for one
// moment, or heliocentric planets, or right ascension and declination on
// request.
#pragma once

// Body indices of a chart.
enum BodyIndex : int {
  kSun = 0,
  kMoon = 1,
  kMercury = 2,
  kVenus = 3,
  kMars = 4,
  kJupiter = 5,
  kSaturn = 6,
  kUranus = 7,
  kNeptune = 8,
  kPluto = 9,
  kChiron = 10,
  kProserpina = 11,
  kLilith = 12,
  kSelena = 13,
  kNorthNode = 14,
  kSouthNode = 15,
  kPartOfFortune = 16,
  kCrossOfFate = 17,
};

inline constexpr int kSelectorAllBodies = 100;

struct BodyPositions {
  int Selector = 0;            // 1..13 one body; 14 or 15 the Moon and both nodes; 100 bodies 1..13
  double T = 0;                // Julian centuries since J2000, chart time scale
  double x = 0, y = 0, z = 0;  // body being computed, AU
  double sunX = 0, sunY = 0, sunZ = 0;           // Sun's working vector, AU
  double sunEqX = 0, sunEqY = 0, sunEqZ = 0;     // Sun geocentric, mean equator of date, AU
  double sunEclX = 0, sunEclY = 0, sunEclZ = 0;  // Sun geocentric, ecliptic of date, AU
  double earthVx = 0, earthVy = 0, earthVz = 0;  // Earth heliocentric velocity, ecliptic
                                                 // of date, AU per day
  double Longitude[18] = {};  // degrees [0, 360) (right ascension with equatorial output)
  double Latitude[18] = {};   // degrees (declination with equatorial output)
  double Distance[18] = {};   // AU; the Moon in Earth radii
};

// Fills Longitude, Latitude and Distance of the bodies the selector asks for
// (the Sun always). geocentric = 0 gives heliocentric planets and the Earth in
// place of the Sun; equatorialOutput leaves positions on the equator of date.
// Entries 16 and 17 are left untouched.
// Geocentric directions are apparent (light time and annual aberration,
// apparent.h); distances are the geometric ones at the moment. Heliocentric
// positions and the mean points 11..15 are geometric.
void CalcBodies(BodyPositions& p, int geocentric = 1, bool equatorialOutput = false);

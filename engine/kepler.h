// Fixed Keplerian ellipses: Kepler's equation, the position in the orbital
// plane and heliocentric ecliptic coordinates from osculating elements; and
// Chiron's osculating elements with its longitude correction before 1967.
// The arithmetic is single precision except the time argument and the output
// coordinates.
#pragma once

// Osculating elements of an orbit; angles refer to the ecliptic and equinox
// of the elements (J2000 for Chiron).
struct OrbitalElements {
  double EpochJulianDay = 0;  // epoch of the elements, Julian day
  float n = 0;                // mean motion, degrees per day
  float M0 = 0;               // mean anomaly at the epoch, degrees
  float a = 0;                // semi-major axis, AU
  float e = 0;                // eccentricity, dimensionless
  float Omega = 0;            // longitude of the ascending node, degrees
  float i = 0;                // inclination, degrees
  float omega = 0;            // argument of perihelion, degrees
};

// Chiron, ecliptic and equinox J2000.
inline constexpr OrbitalElements kChironElements{
    2448800.0,    // epoch, JD
    0.01940177f,  // n, degrees/day
    334.97144f,   // M0, degrees
    13.716451f,   // a, AU
    0.3815633f,   // e
    208.64159f,   // Omega, degrees
    6.93274f,     // i, degrees
    339.04773f,   // omega, degrees
};

// Julian day from which Chiron's longitude needs no correction.
inline constexpr double kChironCorrectionEndJd = 2439539.0;
// Rate of Chiron's longitude correction before that day, degrees per day.
inline constexpr double kChironCorrectionRate = 0.00028;

// Eccentric anomaly E (degrees, 0..360) for the mean anomaly M (degrees)
// and the eccentricity e (0 <= e < 1), by Newton's method: at most 15
// corrections, stopping once |E - e sin E - M| <= 1e-7 radians.
float EccentricAnomaly(float M, float e);

// Position in the orbital plane (AU; x towards the perihelion) for the mean
// anomaly M (degrees), semi-major axis a (AU) and eccentricity e.
void EllipsePosition(float M, float a, float e, float& x, float& y);

// Heliocentric ecliptic rectangular coordinates (AU) of a body on a fixed
// ellipse, t days after the epoch of its elements. Angles in degrees, n in
// degrees per day, a in AU.
void KeplerPosition(double t, float n, float M0, float a, float e, float Omega, float i,
                    float omega, double& x, double& y, double& z);
// The same with the elements in a record; t counts days since their epoch.
void KeplerPosition(double t, const OrbitalElements& el, double& x, double& y, double& z);

// Correction (degrees) to add to Chiron's geocentric longitude at the Julian
// day jd: (jd - 2439539.0) * 0.00028 before that day, zero from it on.
double ChironLongitudeCorrection(double jd);

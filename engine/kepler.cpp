// Keplerian ellipse: Kepler's equation by Newton's method, the position in
// the orbital plane and the rotation into the ecliptic frame
// (Montenbruck & Pfleger, Astronomy on the Personal Computer).
#include "engine/kepler.h"

#include <cmath>

#include "engine/astromath.h"

namespace {

constexpr float kTwoPiF = 6.28318530717959f;
constexpr float kDegToRadF = 0.0174532925199433f;
constexpr float kRadToDegF = 57.2957795130823f;

// Residual of Kepler's equation (radians) below which E is accepted.
constexpr float kKeplerTolerance = 1e-7f;
// Most Newton corrections made; the last E is returned after them.
constexpr int kKeplerMaxCorrections = 15;
// Start from pi instead of M at or above this eccentricity, where Newton's
// method started at M can overshoot for small M.
constexpr float kHighEccentricity = 0.8f;
// Beyond this size a mean anomaly is reduced by fmod rather than by repeated
// steps of 360 (which would take too long, or never end once a step of 360
// no longer changes a float).
constexpr float kLargeAngle = 1.0e6f;

}  // namespace

// Eccentric anomaly of an elliptic orbit.
// In: M mean anomaly, degrees (any value); e eccentricity. Out: E, degrees.
// Newton's method on E - e sin E = M, started at M (or at pi for e >= 0.8),
// at most 15 corrections. Single precision throughout.
// Source: Montenbruck & Pfleger, Astronomy on the Personal Computer (ECCANOM).
float EccentricAnomaly(float M, float e) {
  const float turns = M / 360.0f;
  float m = (turns - std::floor(turns)) * kTwoPiF;
  if (m < 0.0f) m += kTwoPiF;

  float E = (e >= kHighEccentricity) ? kPiF : m;
  float f = E - e * std::sin(E) - m;
  int corrections = 0;
  while (std::fabs(f) > kKeplerTolerance && corrections < kKeplerMaxCorrections) {
    E = E - f / (1.0f - e * std::cos(E));
    f = E - e * std::sin(E) - m;
    ++corrections;
  }
  return E * kRadToDegF;
}

// Position in the orbital plane.
// In: M mean anomaly (degrees), a semi-major axis (AU), e eccentricity.
// Out: x towards the perihelion and y (AU).
// Source: Montenbruck & Pfleger (ELLIP).
void EllipsePosition(float M, float a, float e, float& x, float& y) {
  const float E = EccentricAnomaly(M, e) * kDegToRadF;
  x = a * (std::cos(E) - e);
  y = a * std::sqrt((1.0f - e) * (1.0f + e)) * std::sin(E);
}

// Heliocentric ecliptic coordinates on a fixed ellipse.
// In: t days since the epoch of the elements; n (degrees/day), M0 (degrees),
// a (AU), e, Omega, i, omega (degrees). Out: x, y, z in AU, in the frame of
// the elements. Source: Montenbruck & Pfleger (KEPLER, GAUSVEC).
void KeplerPosition(double t, float n, float M0, float a, float e, float Omega, float i,
                    float omega, double& x, double& y, double& z) {
  float M = static_cast<float>(n * t + M0);
  if (std::fabs(M) >= kLargeAngle) M = std::fmod(M, 360.0f);
  while (M >= 360.0f) M -= 360.0f;
  while (M < 0.0f) M += 360.0f;

  float xo = 0;
  float yo = 0;
  EllipsePosition(M, a, e, xo, yo);

  const float cw = std::cos(omega * kDegToRadF);
  const float sw = std::sin(omega * kDegToRadF);
  const float ci = std::cos(i * kDegToRadF);
  const float si = std::sin(i * kDegToRadF);
  const float cn = std::cos(Omega * kDegToRadF);
  const float sn = std::sin(Omega * kDegToRadF);

  x = (cw * cn - sw * ci * sn) * xo - (sw * cn + cw * ci * sn) * yo;
  y = (cw * sn + sw * ci * cn) * xo - (sw * sn - cw * ci * cn) * yo;
  z = sw * si * xo + cw * si * yo;
}

void KeplerPosition(double t, const OrbitalElements& el, double& x, double& y, double& z) {
  KeplerPosition(t, el.n, el.M0, el.a, el.e, el.Omega, el.i, el.omega, x, y, z);
}

// Linear correction of Chiron's longitude before JD 2439539.0 (degrees).
// In: jd, Julian day on the chart's time scale. Out: degrees to add.
double ChironLongitudeCorrection(double jd) {
  if (jd < kChironCorrectionEndJd) return (jd - kChironCorrectionEndJd) * kChironCorrectionRate;
  return 0.0;
}

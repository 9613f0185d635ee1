// Sunrise and sunset, and the aspect-time search.
#include "engine/timing.h"

#include <cmath>

#include "engine/astromath.h"
#include "engine/bodies.h"

namespace {

// Sidereal angle (radians) at which the ecliptic point x (radians) stands
// on the horizon's eastern side, by the half-angle form of the rising
// formula. Returns false where the point never rises or never sets at
// this latitude (|sin x sin eps / cos phi| > 1).
bool RisingAngle(double x, double phi, double eps, double& a) {
  double arg = std::sin(x) * std::sin(eps) / std::cos(phi);
  if (!(std::fabs(arg) <= 1.0)) return false;
  double delta = std::asin(arg);
  double t = std::tan((x - delta) / 2);
  a = 2 * std::atan(std::sin((phi + eps) / 2 + kPi / 4) * t / std::sin((phi - eps) / 2 + kPi / 4)) +
      3 * kPi / 2;
  return std::isfinite(a);
}

double ToUtHours(double a, double s0, double longitude) {
  double h = (a * 12 / kPi - s0 - longitude / 15) / (1 + 0.002737909);
  h = std::fmod(h, 24.0);
  if (h < 0) h += 24.0;
  if (h >= 24.0) h = 0;
  return h;
}

}  // namespace

SunRiseSetStatus CalcSunRiseSet(float ut, float latitude, float longitude, float sunLongitude,
                                double jd, float& rise, float& set) {
  rise = set = 0;
  double phi = latitude * kDegToRad;
  // centuries from 1900.0 at 0h of the date
  double T = (jd - ut / 24.0 - 2415020.0) / 36525.0;
  double s0 = std::fmod(6.6460656 + 2400.051262 * T + 0.00002581 * T * T, 24.0);
  if (s0 < 0) s0 += 24.0;
  double eps = (23.45229 - 0.0130125 * T - 0.00000164 * T * T) * kDegToRad;
  // semi-diameter and refraction, as a shift along the ecliptic
  const double h = 0.5666666666666667 * kDegToRad;
  double lambda = sunLongitude * kDegToRad;
  double aRise = 0, aSet = 0;
  // the Sun sets when the point opposite it rises
  bool rises = RisingAngle(lambda - h, phi, eps, aRise);
  bool sets = RisingAngle(lambda + h + kPi, phi, eps, aSet);
  if (!rises || !sets || std::fabs(latitude) >= 90.0f) {
    // The Sun stays up when its declination has the sign of the latitude.
    double decl = std::asin(std::sin(lambda) * std::sin(eps));
    return (decl > 0) == (phi > 0) ? SunRiseSetStatus::kAlwaysUp : SunRiseSetStatus::kAlwaysDown;
  }
  rise = static_cast<float>(ToUtHours(aRise, s0, longitude));
  set = static_cast<float>(ToUtHours(aSet, s0, longitude));
  if (rise >= 24.0f) rise = 0;
  if (set >= 24.0f) set = 0;
  return SunRiseSetStatus::kNormal;
}

bool IsDaytime(SunRiseSetStatus status, float ut, float rise, float set) {
  if (status == SunRiseSetStatus::kAlwaysUp) return true;
  if (status == SunRiseSetStatus::kAlwaysDown) return false;
  if (rise <= set) return rise <= ut && ut <= set;
  // the daylight runs past 0h UT
  return ut >= rise || ut <= set;
}

namespace {

constexpr double kOneArcsecRad = 4.84813681109536e-06;
constexpr double kTenthArcsecRad = 2.777777777777778e-05 * kDegToRad;
constexpr double kMinStepDays = 1e-9;
// Bound on body evaluations of one search; the slowest legitimate searches
// (outer planets decades ahead, with retrograde loops) need a few thousand.
constexpr int kMaxEvaluations = 40000;

// Longitude of a body at a moment, as the search sees it.
class BodyLongitudes {
 public:
  explicit BodyLongitudes(const AspectSearchFrame& frame) : frame_(frame) {}

  double operator()(int body, double jd) {
    ++evaluations_;
    BodyPositions p;
    p.Selector = body;
    p.T = (jd - 2451545.0) / 36525.0;
    CalcBodies(p, frame_.Geocentric, frame_.EquatorialOutput);
    double lon = p.Longitude[body];
    Normalize360(lon);
    if (frame_.ReceptionSwap == 1 && body >= 0 && body < 12) {
      lon += 30.0 * frame_.ReceptionShift[body];
      Normalize360(lon);
    }
    return lon;
  }

  bool exhausted() const { return evaluations_ >= kMaxEvaluations; }

 private:
  const AspectSearchFrame& frame_;
  int evaluations_ = 0;
};

int Sign(double v) { return (v > 0) - (v < 0); }

// 1 when the longitude lies in [0, 90] degrees (sine and cosine both >= 0).
int FirstQuadrant(double lonDeg) { return lonDeg >= 0 && lonDeg <= 90 ? 1 : 0; }

double Reduced(double v) {
  Normalize360(v);
  return v;
}

}  // namespace

bool FindAspectTime(double jd1, double jd2, double jd3, int bodyA, int bodyB, int kind,
                    float fixedLongitude, std::uint8_t aIsBody, int angleSign, int direction,
                    std::uint8_t aFixed, float orb, double& result, const AspectSearchFrame& frame) {
  result = jd2;
  if (bodyA < 0 || bodyA > 15 || bodyB < 0 || bodyB > 15) return false;
  if (kind != kSeparationAtStart && (kind < 0 || kind > 29)) return false;
  if (!std::isfinite(jd1) || !std::isfinite(jd2) || !std::isfinite(jd3)) return false;
  BodyLongitudes longitude(frame);
  const bool startsEqual = jd1 == jd2 && jd2 != jd3;
  const double step0 = (bodyA + 1) * (bodyB + 1) / 12.0;

  // Phase one: the starting configuration, moved back while already within orb.
  double lambdaA = 0, lambdaB = 0, offset = 0, target = 0;
  for (;;) {
    lambdaA = aIsBody ? longitude(bodyA, jd1) : fixedLongitude;
    lambdaB = longitude(bodyB, jd2);
    offset = kind == kSeparationAtStart ? angleSign * (lambdaB - lambdaA)
                                        : angleSign * static_cast<double>(kAspectAngles[kind]);
    target = Reduced(lambdaA + offset);
    if (std::fabs(target - lambdaB) * kDegToRad <= kOneArcsecRad) {
      result = jd1;
      return true;
    }
    if (!(std::fabs(target - lambdaB) <= orb && kind != kSeparationAtStart)) break;
    if (longitude.exhausted()) return false;
    jd2 -= direction * step0;
    if (aFixed != 1) jd1 -= direction * step0;
  }
  double t = jd2;
  if (startsEqual) t = jd3;

  // The target less the orb, as a longitude in [0, 360): a fixed target
  // outside that range could never be met.
  double refTarget = Reduced(target - orb);
  if (kind == kSeparationAtStart) {
    lambdaA = aIsBody ? longitude(bodyA, jd3) : fixedLongitude;
    lambdaB = longitude(bodyB, jd3);
    refTarget = Reduced(lambdaA + offset - orb);
  }

  // Reference state.
  double d0 = (refTarget - lambdaB) * kDegToRad;
  int s0 = Sign(d0);
  int qA0 = FirstQuadrant(refTarget);
  int qB0 = FirstQuadrant(lambdaB);
  double lambdaBRef = lambdaB;

  // First step, days, proportional to the distance still to go.
  const double weight = (bodyA + 1) * (bodyB + 1);
  const double delta = std::fabs(d0) * kRadToDeg;
  double step;
  if (kind == kSeparationAtStart) {
    step = weight / 700.0 * direction * std::fabs(360.0 - delta);
  } else if (bodyA == 1 || bodyB == 1) {
    step = weight * 0.1 / 360.0 * direction * delta;
    if (std::fabs(step) > 0 && std::fabs(step) < 1) step = std::copysign(1.0, step);
  } else {
    step = weight / 270.0 * direction * delta;
  }

  double d = d0;
  double dAtT = d0;  // separation from the target at the moment t stands at
  do {
    if (longitude.exhausted()) return false;
    t += step;
    double lA = aFixed == 1 ? refTarget : Reduced(longitude(bodyA, t) + offset - orb);
    double lB = longitude(bodyB, t);
    d = (lA - lB) * kDegToRad;
    int s = Sign(d);
    int qA = FirstQuadrant(Reduced(lA));
    int qB = FirstQuadrant(lB);
    // A step that lands within the tolerance has reached the target, on
    // whichever side: taking it back (as a crossing) would end the search at
    // the previous moment with the tolerance test passed on the wrong value.
    if (std::fabs(d) <= kTenthArcsecRad) {
      dAtT = d;
      break;
    }
    if (std::fabs(step) < kMinStepDays) {
      t -= step;
      break;
    }

    bool back = false;
    if (d0 == 0) {
      d0 = d;
      s0 = s;
      qA0 = qA;
      qB0 = qB;
    } else if (s != s0) {
      if (qA == qA0 && qB == qB0) {
        back = true;
      } else if (qA != qA0 && qB != qB0) {
        back = true;
      } else if (qA != qA0) {
        s0 = s;
        qA0 = qA;
      } else if (lambdaBRef > 90 && lambdaBRef < 270) {
        back = true;
      } else if (lB > 90 && lB < 270) {
        back = true;
      } else {
        s0 = s;
        qB0 = qB;
      }
    } else if (qA != qA0 && qB == qB0) {
      qA0 = qA;
    } else if (qA == qA0 && qB != qB0) {
      if (qB == 0 && lB >= 90 && lB < 270) {
        qB0 = qB;
      } else if (qB == 0 && lB >= 270) {
        back = true;
      } else if (qB == 1 && lambdaBRef >= 90 && lambdaBRef < 270) {
        qB0 = qB;
      } else if (qB == 1) {
        back = true;
      }
    }
    if (back) {
      t -= step;
      step /= 2;
    } else {
      lambdaBRef = lB;
      dAtT = d;
    }
  } while (std::fabs(d) > kTenthArcsecRad);

  result = t;
  // Found when the two longitudes met within an arcsecond (across 0 Aries too).
  return std::fabs(std::remainder(dAtT, kTwoPi)) <= kOneArcsecRad;
}

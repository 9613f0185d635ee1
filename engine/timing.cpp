// Sunrise and sunset, and the aspect-time search.
#include "engine/timing.h"

#include <algorithm>
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

// Universal time (hours in [0, 24)) of the moment after 0h UT at which the
// local sidereal time reaches a (radians): the sidereal interval is folded
// into one sidereal day first, then turned into solar hours.
double ToUtHours(double a, double s0, double longitude) {
  double sidereal = std::fmod(a * 12 / kPi - s0 - longitude / 15, 24.0);
  if (sidereal < 0) sidereal += 24.0;
  double h = sidereal / kSiderealPerSolarDay;
  return h < 24.0 ? h : 0.0;
}

}  // namespace

// Rising and setting of the Sun's point of the ecliptic, shifted along it
// by refraction and semi-diameter, by Napier's analogies in the triangle of
// pole, equinox and point (Smart, Textbook on Spherical Astronomy, 1977,
// ch. I); the engine's sidereal time and mean obliquity (astromath.h).
SunRiseSetStatus CalcSunRiseSet(float ut, float latitude, float longitude, float sunLongitude,
                                double jd, float& rise, float& set) {
  rise = set = 0;
  // no place, no daylight to place
  if (!std::isfinite(latitude) || !std::isfinite(longitude)) return SunRiseSetStatus::kAlwaysDown;
  double phi = latitude * kDegToRad;
  // days from J2000.0 to 0h of the date; sidereal time there, hours
  const double days0h = jd - ut / 24.0 - kJ2000;
  double s0 = std::fmod(GreenwichMeanSiderealDeg(days0h, 0.0) / 15.0, 24.0);
  if (s0 < 0) s0 += 24.0;
  double eps = MeanObliquityDeg(days0h / kDaysPerJulianCentury) * kDegToRad;
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
  // a value a hair below 24 rounds to 24 in single precision
  if (!(rise < 24.0f)) rise = 0;
  if (!(set < 24.0f)) set = 0;
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

constexpr double kOneArcsecDeg = 1.0 / 3600;
constexpr double kTenthArcsecDeg = 0.1 / 3600;  // stopping tolerance of the search
constexpr double kMinStepDays = 1e-9;
// Bound on body evaluations of one search; the slowest legitimate searches
// (outer planets decades ahead, with retrograde loops) need a few hundred.
constexpr int kMaxEvaluations = 40000;
// No step moves the relative longitude further than this (degrees), so a
// step never carries the difference past the target and round again.
constexpr double kMaxStepMotionDeg = 30;

// Upper bounds of each body's longitude speed (degrees/day) and of its
// acceleration (degrees/day^2), geocentric on the ecliptic or the equator,
// taken from the engine's own positions 1899-2102 with a margin of a
// quarter on speeds and a factor 2 on accelerations. Chiron's acceleration
// covers the kink of its correction before 1967.
constexpr double kSpeedBound[16] = {1.12,  17.5,  2.42, 1.38,   0.85,  0.26,  0.15,  0.07,
                                    0.045, 0.045, 0.15, 0.0013, 0.112, 0.141, 0.053, 0.053};
constexpr double kAccelBound[16] = {0.0037,  1.43,    0.212, 0.047, 0.0163, 0.0037, 0.0021, 0.001,
                                    0.00064, 0.00063, 0.011, 1e-6,  1e-6,   1e-6,   1e-6,   1e-6};
// Heliocentric planets, Mercury to Pluto (bodies 2..9).
constexpr double kHelioSpeedBound[8] = {6.33, 1.63, 0.64, 0.092, 0.038, 0.013, 0.0062, 0.0072};
constexpr double kHelioAccelBound[8] = {0.162, 0.0008, 0.001, 1.2e-5, 1e-6, 1e-6, 1e-6, 1e-6};
constexpr double kSpeedMargin = 1.25;
constexpr double kAccelMargin = 2.0;

double AccelBound(int body, int geocentric) {
  double a = geocentric == 0 && body >= kMercury && body <= kPluto
                 ? kHelioAccelBound[body - kMercury]
                 : kAccelBound[body];
  return a * kAccelMargin;
}

// Longitude of a body at a moment, as the search sees it, from the
// all-bodies driver run for that body; the evaluations are counted.
class BodyLongitudes {
 public:
  explicit BodyLongitudes(const AspectSearchFrame& frame) : frame_(frame) {}

  double operator()(int body, double jd) {
    BodyPositions p;
    return Run(body, jd, p);
  }

  // Longitudes of two bodies at one moment, from one run where it gives
  // both (the Sun comes with every run, the nodes with the Moon's).
  void Pair(int bodyA, int bodyB, double jd, double& lonA, double& lonB) {
    BodyPositions p;
    lonB = Run(bodyB, jd, p);
    bool together = bodyA == kSun || bodyA == bodyB || (InMoonRun(bodyA) && InMoonRun(bodyB));
    lonA = together ? Shifted(bodyA, p.Longitude[bodyA]) : Run(bodyA, jd, p);
  }

  bool exhausted() const { return evaluations_ >= kMaxEvaluations; }

 private:
  static bool InMoonRun(int body) {
    return body == kMoon || body == kNorthNode || body == kSouthNode;
  }

  double Run(int body, double jd, BodyPositions& p) {
    ++evaluations_;
    p = BodyPositions();
    p.Selector = body;
    p.T = (jd - kJ2000) / kDaysPerJulianCentury;
    CalcBodies(p, frame_.Geocentric, frame_.EquatorialOutput);
    return Shifted(body, p.Longitude[body]);
  }

  // In [0, 360), shifted by the reception swap.
  double Shifted(int body, double lon) const {
    Normalize360(lon);
    if (frame_.ReceptionSwap == 1 && body >= 0 && body < 12) {
      lon += 30.0 * frame_.ReceptionShift[body];
      Normalize360(lon);
    }
    return lon;
  }

  const AspectSearchFrame& frame_;
  int evaluations_ = 0;
};

// The angle still to go at a moment: A's target less body B's longitude,
// folded into [-180, 180] degrees. A's target is its longitude plus the
// offset, or a fixed longitude when A does not move.
struct TargetDistance {
  BodyLongitudes& longitude;
  int bodyA, bodyB;
  bool aMoves;
  double offset;       // degrees added to A's longitude (the aspect less the orb)
  double fixedTarget;  // degrees, the target when A does not move

  double operator()(double jd) {
    double lonA = 0, lonB = 0;
    if (aMoves) {
      longitude.Pair(bodyA, bodyB, jd, lonA, lonB);
      return std::remainder(lonA + offset - lonB, 360.0);
    }
    return std::remainder(fixedTarget - longitude(bodyB, jd), 360.0);
  }
};

double Reduced(double v) {
  Normalize360(v);
  return v;
}

// The search over brackets [a, b] (b later in the search direction) of the
// distance to the target, unfolded along the bracket.
class RootSearch {
 public:
  RootSearch(TargetDistance& distance, double speed, double accel)
      : distance_(distance), speed_(speed), accel_(accel) {}

  bool exhausted() const { return distance_.longitude.exhausted(); }

  double MaxStep() const { return kMaxStepMotionDeg / speed_; }

  // The distance at jd unfolded next to a value ref met a step earlier.
  double At(double jd, double ref) { return ref + std::remainder(distance_(jd) - ref, 360.0); }

  // Rule of the bracket test: with the relative acceleration at most K, the
  // distance stays above the chord less K/2 (t-a)(b-t), so a bracket whose
  // ends share a sign holds no root when that lower bound stays off zero.
  bool Empty(double fa, double fb, double span) const {
    if (fa == 0 || fb == 0 || (fa > 0) != (fb > 0)) return false;
    double ga = std::fabs(fa), gb = std::fabs(fb);
    double u = span / 2 - (gb - ga) / (accel_ * span);
    if (!(u > 0 && u < span)) return true;
    return ga + (gb - ga) * u / span - accel_ / 2 * u * (span - u) > 0;
  }

  // A bracket whose chord is steeper than K times its span is monotone.
  bool Monotone(double fa, double fb, double span) const {
    return std::fabs(fb - fa) > accel_ * span * span;
  }

  // The earliest moment in [a, b] at which the distance is within the
  // stopping tolerance of zero; false when there is none (or the evaluations
  // ran out). Rule: a bracket proved empty is skipped, a monotone one with a
  // sign change is refined, any other is halved, earlier half first.
  bool Earliest(double a, double fa, double b, double fb, double& root) {
    if (std::fabs(fa) <= kTenthArcsecDeg) return Take(a, fa, root);
    const double span = std::fabs(b - a);
    const bool crosses = fb == 0 || (fa > 0) != (fb > 0);
    if (!crosses && Empty(fa, fb, span)) return false;
    if (crosses && Monotone(fa, fb, span)) return Refine(a, fa, b, fb, root);
    if (exhausted()) return false;
    if (span < kMinStepDays)
      return (crosses || std::fabs(fb) <= kTenthArcsecDeg) && Take(b, fb, root);
    double m = a + (b - a) / 2;
    double fm = At(m, fa);
    return Earliest(a, fa, m, fm, root) || (!exhausted() && Earliest(m, fm, b, fb, root));
  }

  // Refinement of a bracket holding exactly one root, by regula falsi with
  // the Illinois halving (Dowell and Jarratt, BIT 11, 1971).
  bool Refine(double a, double fa, double b, double fb, double& root) {
    double wa = fa, wb = fb;  // the Illinois weights of the ends
    int kept = 0;             // +1: a kept at the last step, -1: b kept
    while (std::fabs(b - a) >= kMinStepDays && !exhausted()) {
      double m = b - wb * (b - a) / (wb - wa);
      if (!(std::fabs(m - a) < std::fabs(b - a) && std::fabs(m - b) < std::fabs(b - a)))
        m = (a + b) / 2;
      double fm = At(m, fa);
      if (std::fabs(fm) <= kTenthArcsecDeg) return Take(m, fm, root);
      // an end kept twice running has its weight halved
      if ((fm > 0) == (fb > 0)) {
        b = m, fb = fm, wb = fm;
        if (kept == 1) wa /= 2;
        kept = 1;
      } else {
        a = m, fa = fm, wa = fm;
        if (kept == -1) wb /= 2;
        kept = -1;
      }
    }
    if (exhausted()) return false;
    return std::fabs(fa) < std::fabs(fb) ? Take(a, fa, root) : Take(b, fb, root);
  }

  // The distance at the root found last, degrees.
  double RootDistance() const { return rootDistance_; }

 private:
  bool Take(double t, double f, double& root) {
    root = t;
    rootDistance_ = f;
    return true;
  }

  TargetDistance& distance_;
  double rootDistance_ = 0;
  double speed_;  // degrees/day, bound of the relative speed
  double accel_;  // degrees/day^2, bound of the relative acceleration
};

// Whether bodies standing within an arcsecond of the aspect at the start
// are moving apart in the search direction: the moment of the exact aspect,
// from the distance and its rate, lies behind the start.
bool PassedAlready(BodyLongitudes& longitude, int bodyA, int bodyB, double jd1, double jd2,
                   double offset, int direction) {
  // days: wide enough that the rate is not lost in the places' last digits
  // (Chiron's carry some 0.4 arcseconds of noise), short enough that the
  // Moon's motion is straight over it
  constexpr double h = 0.1;
  auto gap = [&](double dt) {
    return std::remainder(longitude(bodyA, jd1 + dt) + offset - longitude(bodyB, jd2 + dt), 360.0);
  };
  const double g0 = gap(0);
  const double rate = (gap(h) - gap(-h)) / (2 * h);  // degrees per day
  if (g0 == 0 || rate == 0) return false;
  return direction * (-g0 / rate) < 0;
}

// Moves the start t of a search past an aspect the bodies have just left,
// until they stand two arcseconds from it, so that the meeting behind is not
// taken for the first one ahead; f is the distance at t.
void StepPastTheStart(TargetDistance& distance, int direction, double& t, double& f) {
  double h = 1e-4;  // days
  for (int i = 0; i < 40 && std::fabs(f) < 2 * kOneArcsecDeg; ++i, h *= 2) {
    t += direction * h;
    f = distance(t);
  }
}

}  // namespace

double LongitudeSpeedBound(int body, int geocentric) {
  if (body < 0 || body > 15) return 0;
  double v = geocentric == 0 && body >= kMercury && body <= kPluto
                 ? kHelioSpeedBound[body - kMercury]
                 : kSpeedBound[body];
  return v * kSpeedMargin;
}

// Moment at which body B reaches an aspect to body A or a fixed longitude,
// the first one from the start in the search direction (see timing.h).
// The search steps along the distance still to go, folded into
// [-180, 180] degrees, and proves each step empty with bounds of the bodies'
// speeds and accelerations before it moves on (the bracketing of Brent,
// Algorithms for Minimization without Derivatives, 1973, ch. 6); the bracket
// that holds the first root is refined by regula falsi.
bool FindAspectTime(double jd1, double jd2, double jd3, int bodyA, int bodyB, int kind,
                    float fixedLongitude, std::uint8_t aIsBody, int angleSign, int direction,
                    std::uint8_t aFixed, float orb, double& result,
                    const AspectSearchFrame& frame) {
  result = jd2;
  if (bodyA < 0 || bodyA > 15 || bodyB < 0 || bodyB > 15) return false;
  if (kind != kSeparationAtStart && (kind < 0 || kind > 29)) return false;
  if (!std::isfinite(jd1) || !std::isfinite(jd2) || !std::isfinite(jd3)) return false;
  if (!std::isfinite(orb) || !std::isfinite(fixedLongitude)) return false;
  if (direction != 1 && direction != -1) return false;
  const bool startsEqual = jd1 == jd2 && jd2 != jd3;
  const double step0 = (bodyA + 1) * (bodyB + 1) / 12.0;
  BodyLongitudes longitude(frame);

  // Back-off: while B stands within the orb of the aspect at the start, both
  // starts move back step0 days, so that the search meets the orb's edge.
  double lambdaA = 0, lambdaB = 0, offset = 0, target = 0;
  bool passedAtStart = false;
  for (;;) {
    lambdaA = aIsBody ? longitude(bodyA, jd1) : fixedLongitude;
    lambdaB = longitude(bodyB, jd2);
    offset = kind == kSeparationAtStart ? angleSign * (lambdaB - lambdaA)
                                        : angleSign * static_cast<double>(kAspectAngles[kind]);
    target = Reduced(lambdaA + offset);
    double off = std::fabs(std::remainder(target - lambdaB, 360.0));
    if (off <= kOneArcsecDeg) {
      // Within an arcsecond the aspect is reached now while the two bodies
      // still close on it; one they have already passed lies behind the
      // start and the search goes on to the next meeting. A body at a fixed
      // longitude stands on it now.
      const bool bothMove = aIsBody != 0 && aFixed != 1;
      if (kind == kSeparationAtStart || !bothMove ||
          !PassedAlready(longitude, bodyA, bodyB, jd1, jd2, offset, direction)) {
        result = jd1;
        return true;
      }
      passedAtStart = true;
      break;
    }
    if (!(off <= orb && kind != kSeparationAtStart)) break;
    if (longitude.exhausted()) return false;
    jd2 -= direction * step0;
    if (aFixed != 1) jd1 -= direction * step0;
  }
  double t = startsEqual ? jd3 : jd2;
  // the target less the orb; for kind 100 A's start is taken again at jd3
  if (kind == kSeparationAtStart) lambdaA = aIsBody ? longitude(bodyA, jd3) : fixedLongitude;
  const double fixedTarget =
      kind == kSeparationAtStart ? Reduced(lambdaA + offset - orb) : Reduced(target - orb);
  const bool aMoves = aFixed != 1;
  TargetDistance distance{longitude, bodyA, bodyB, aMoves, offset - orb, fixedTarget};
  const double speed = LongitudeSpeedBound(bodyB, frame.Geocentric) +
                       (aMoves ? LongitudeSpeedBound(bodyA, frame.Geocentric) : 0);
  const double accel =
      AccelBound(bodyB, frame.Geocentric) + (aMoves ? AccelBound(bodyA, frame.Geocentric) : 0);
  RootSearch search(distance, speed, accel);

  // First step: as far as the distance to go allows at the bound of the
  // relative speed (no less than 1/64 of the largest step); each step proved
  // empty doubles the next, up to the step that moves the bodies 30 degrees.
  double f = distance(t);
  if (passedAtStart) StepPastTheStart(distance, direction, t, f);
  const double maxStep = search.MaxStep();
  double step = std::min(maxStep, std::max(std::fabs(f) / speed, maxStep / 64));
  while (!longitude.exhausted()) {
    double next = t + direction * step;
    double fNext = search.At(next, f);
    // Refinement: the earliest root of the step's bracket, if it holds one.
    double root = t;
    if (search.Earliest(t, f, next, fNext, root)) {
      // found when the bodies met within an arcsecond
      if (std::fabs(search.RootDistance()) > kOneArcsecDeg) return false;
      result = root;
      return true;
    }
    t = next;
    f = std::remainder(fNext, 360.0);
    step = std::min(2 * step, maxStep);
  }
  return false;
}

namespace {

// Half the span of the speed's central difference, days: wide enough that
// the places' last digits (some 0.4 arcseconds of noise in Chiron's) do not
// decide the direction near a turn.
constexpr double kSpeedHalfStepDays = 0.5;
// The scan's step, days: shorter than the briefest run of one direction
// (Mercury's retrograde arc, 19 days at the least), so no turn and back is
// stepped over.
constexpr double kStationScanDays = 8;
constexpr double kStationToleranceDays = 1e-5;  // about a second

// Motion in longitude at jd, degrees per day, by a central difference.
double LongitudeRate(BodyLongitudes& longitude, int body, double jd) {
  const double ahead = longitude(body, jd + kSpeedHalfStepDays);
  const double behind = longitude(body, jd - kSpeedHalfStepDays);
  return std::remainder(ahead - behind, 360.0) / (2 * kSpeedHalfStepDays);
}

}  // namespace

// The scan steps the motion's sign over the span and halves the step that
// holds the first change of sign down to about a second.
bool FindStation(double start, int body, int direction, double span, double& result,
                 const AspectSearchFrame& frame) {
  result = start;
  if (body < 0 || body > 15 || (direction != 1 && direction != -1)) return false;
  if (!std::isfinite(start) || !std::isfinite(span) || !(span > 0)) return false;
  BodyLongitudes longitude(frame);
  const bool forwardAtStart = LongitudeRate(longitude, body, start) > 0;
  auto turned = [&](double jd) {
    return (LongitudeRate(longitude, body, jd) > 0) != forwardAtStart;
  };
  double before = start;
  for (double travelled = 0; travelled < span && !longitude.exhausted();) {
    const double step = std::min(kStationScanDays, span - travelled);
    travelled += step;
    const double after = start + direction * travelled;
    if (!turned(after)) {
      before = after;
      continue;
    }
    // the turn lies between before and after
    double a = before, b = after;
    while (std::fabs(b - a) > kStationToleranceDays && !longitude.exhausted()) {
      const double m = a + (b - a) / 2;
      (turned(m) ? b : a) = m;
    }
    result = a + (b - a) / 2;
    return true;
  }
  return false;
}

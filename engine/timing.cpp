// Sunrise and sunset, and the aspect-time search.
#include "engine/timing.h"

#include <algorithm>
#include <cmath>

#include "engine/astromath.h"
#include "engine/bodies.h"

namespace {

// The Sun's centre at rising and setting: 50' below the horizon, the
// standard refraction at the horizon (34') and the Sun's semi-diameter (16').
constexpr double kSunEventAltitudeDeg = -50.0 / 60;
// Solar hours in one sidereal day: the interval between two passages of a
// fixed point of the sky through the meridian.
constexpr double kSiderealDayHours = 24.0 / kSiderealPerSolarDay;
// An event's time is refined until it moves less than this (0.04 s).
constexpr double kEventTolHours = 1e-5;
constexpr int kEventPasses = 12;

// The Sun's apparent right ascension and declination (radians) at the
// moment jd, chart time scale, from the all-bodies driver.
void SunOnEquator(double jd, double& ra, double& decl) {
  BodyPositions p;
  p.Selector = kSun;
  p.T = (jd - kJ2000) / kDaysPerJulianCentury;
  CalcBodies(p, 1, true);
  ra = p.Longitude[kSun] * kDegToRad;
  decl = p.Latitude[kSun] * kDegToRad;
}

// The same to about 0.01 degree by the Sun's equation of the centre (Meeus,
// Astronomical Algorithms, 2nd ed. 1998, ch. 25, the lower accuracy), a
// twentieth of the cost: it carries the search for an event to within
// seconds of it, and the driver's Sun finishes it.
void SunOnEquatorRough(double jd, double& ra, double& decl) {
  const double T = (jd - kJ2000) / kDaysPerJulianCentury;
  const double meanLon = 280.46646 + 36000.76983 * T;
  const double m = (357.52911 + 35999.05029 * T) * kDegToRad;
  const double centre = (1.914602 - 0.004817 * T) * std::sin(m) + 0.019993 * std::sin(2 * m) +
                        0.000289 * std::sin(3 * m);
  const double node = (125.04 - 1934.136 * T) * kDegToRad;
  const double lon = (meanLon + centre - 0.00569 - 0.00478 * std::sin(node)) * kDegToRad;
  const double eps = (MeanObliquityDeg(T) + 0.00256 * std::cos(node)) * kDegToRad;
  ra = std::atan2(std::cos(eps) * std::sin(lon), std::cos(lon));
  decl = std::asin(std::sin(eps) * std::sin(lon));
}

// Whether the Sun stays up (true) or down all day with declination decl at
// geographic latitude phi (radians), where it does not cross the event's
// altitude.
bool StaysUp(double phi, double decl) {
  return std::sin(phi) * std::sin(decl) > std::sin(kSunEventAltitudeDeg * kDegToRad);
}

}  // namespace

namespace {

// What the search for the Sun's events at one place around one date reads.
struct SunSky {
  double jd0;       // 0h UT of the date, chart time scale
  double days0hUt;  // the same from J2000.0 on universal time, for the sidereal time
  TrueEquinox equinox;
  double phi;  // geographic latitude, radians
  double longitude;

  SunSky(double jd0In, float latitude, float longitudeIn)
      : jd0(jd0In),
        days0hUt(UniversalJulianDay(jd0In) - kJ2000),
        // the equation of the equinoxes changes by a thousandth of an
        // arcsecond in an hour: once for the date
        equinox(TrueEquinoxAt((jd0In + 0.5 - kJ2000) / kDaysPerJulianCentury)),
        phi(static_cast<double>(latitude) * kDegToRad),
        longitude(longitudeIn) {}

  // Where the Sun of right ascension ra and declination decl (radians)
  // stands at the event's altitude: the local sidereal time, degrees.
  // False where it stays above or below that altitude all day.
  bool TargetSidereal(double ra, double decl, bool rising, double& target) const {
    const double cosH =
        (std::sin(kSunEventAltitudeDeg * kDegToRad) - std::sin(phi) * std::sin(decl)) /
        (std::cos(phi) * std::cos(decl));
    if (!(std::fabs(cosH) <= 1.0)) return false;
    const double hourAngle = std::acos(cosH) * kRadToDeg;
    target = ra * kRadToDeg + (rising ? -hourAngle : hourAngle);
    return true;
  }

  double LocalSidereal(double hours) const {
    return GreenwichApparentSiderealDeg(days0hUt, hours, equinox) + longitude;
  }

  // From the estimate `hours` the event is refined with the Sun where it
  // stands at each new estimate: the hour angle at which the Sun's centre
  // reaches the event's altitude gives the local apparent sidereal time of
  // the event, and the estimate moves to the nearest moment of that
  // sidereal time (Meeus, Astronomical Algorithms, 2nd ed. 1998, ch. 15,
  // iterated). The Sun's motion changes the target by about 4 minutes a
  // day, so each pass shrinks the error by a factor of a hundred or more.
  SunRiseSetStatus EventNear(bool rising, double hours, double& eventHours) const {
    eventHours = hours;
    double t = hours;
    // the rough Sun until the estimate stands still, then one pass with the
    // driver's Sun: the estimate is then seconds from the event, and the
    // pass leaves a hundredth of that
    for (int exact = 0; exact < 2; ++exact) {
      for (int pass = 0; pass < (exact != 0 ? 1 : kEventPasses); ++pass) {
        double ra, decl, target;
        (exact != 0 ? SunOnEquator : SunOnEquatorRough)(jd0 + t / 24.0, ra, decl);
        if (!TargetSidereal(ra, decl, rising, target))
          return StaysUp(phi, decl) ? SunRiseSetStatus::kAlwaysUp : SunRiseSetStatus::kAlwaysDown;
        const double step =
            std::remainder(target - LocalSidereal(t), 360.0) / 15.0 / kSiderealPerSolarDay;
        t += step;
        if (std::fabs(step) < kEventTolHours) break;
      }
    }
    eventHours = t;
    return SunRiseSetStatus::kNormal;
  }

  // The rising or setting of the date, hours in [0, 24). The first estimate
  // is the event with the Sun of the date's noon, placed within the date;
  // the refined event can leave the date by a few minutes (the Sun's
  // motion), and then the event one sidereal day further in is taken. A
  // date that holds two events (a minute after 0h and a minute before 24h)
  // gives the first; a date that holds none (the event steps over it) gives
  // the one just after it, as a time of day.
  SunRiseSetStatus EventOfDate(bool rising, double& hours) const {
    hours = 0;
    double ra, decl, target;
    SunOnEquatorRough(jd0 + 0.5, ra, decl);
    double guess = 12.0;
    if (TargetSidereal(ra, decl, rising, target)) {
      double sidereal = std::fmod(target - LocalSidereal(0.0), 360.0);
      if (sidereal < 0) sidereal += 360.0;
      guess = sidereal / 15.0 / kSiderealPerSolarDay;
    }
    double t;
    SunRiseSetStatus status = EventNear(rising, guess, t);
    if (status != SunRiseSetStatus::kNormal) return status;
    if (t < 0 || t >= 24.0) {
      double other;
      status = EventNear(rising, t < 0 ? t + kSiderealDayHours : t - kSiderealDayHours, other);
      if (status != SunRiseSetStatus::kNormal) return status;
      // the event one day on when it lies within the date, else the one
      // after the date (t or other, whichever is the later)
      t = other >= 0 && other < 24.0 ? other : std::max(t, other);
    }
    t = std::fmod(t, 24.0);
    if (t < 0) t += 24.0;
    hours = t;
    return SunRiseSetStatus::kNormal;
  }
};

}  // namespace

SunRiseSetStatus SunEventNear(double jd0, float latitude, float longitude, bool rising,
                              double hours, double& eventHours) {
  eventHours = hours;
  if (!std::isfinite(latitude) || !std::isfinite(longitude) || !std::isfinite(jd0) ||
      !std::isfinite(hours))
    return SunRiseSetStatus::kAlwaysDown;
  return SunSky(jd0, latitude, longitude).EventNear(rising, hours, eventHours);
}

// The rising and setting of the Sun's centre 50' below the horizon (the
// almanacs' sunrise and sunset: upper limb, standard refraction), each with
// the Sun computed at the event and the apparent sidereal time. The
// latitude is the geographic one of the place. sunLongitude (the Sun at the
// chart's moment) is not needed: the Sun is computed where it stands at
// each event.
SunRiseSetStatus CalcSunRiseSet(float ut, float latitude, float longitude, float sunLongitude,
                                double jd, float& rise, float& set) {
  (void)sunLongitude;
  rise = set = 0;
  // no place, no daylight to place
  if (!std::isfinite(latitude) || !std::isfinite(longitude) || !std::isfinite(jd) ||
      !std::isfinite(ut))
    return SunRiseSetStatus::kAlwaysDown;
  // the poles: the Sun circles at one altitude
  if (std::fabs(latitude) >= 90.0f) {
    double ra, decl;
    SunOnEquatorRough(jd, ra, decl);
    return StaysUp(latitude * kDegToRad, decl) ? SunRiseSetStatus::kAlwaysUp
                                               : SunRiseSetStatus::kAlwaysDown;
  }
  const SunSky sky(jd - ut / 24.0, latitude, longitude);
  double r, s;
  SunRiseSetStatus status = sky.EventOfDate(true, r);
  if (status == SunRiseSetStatus::kNormal) status = sky.EventOfDate(false, s);
  if (status != SunRiseSetStatus::kNormal) return status;
  rise = static_cast<float>(r);
  set = static_cast<float>(s);
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
  // Never turning, so not scanned: the Sun and the Moon seen from the Earth,
  // the points of steady motion (Proserpina, Lilith, Selena, the mean
  // nodes) and any planet seen from the Sun.
  if (body == kSun || body == kMoon || body > kChiron || frame.Geocentric == 0) return false;
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

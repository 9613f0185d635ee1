// Durations of aspects and sign stays over the all-bodies driver.
#include "judgement/dynamics.h"

#include <algorithm>
#include <cmath>

#include "chart/chartrecord.h"
#include "engine/astromath.h"
#include "engine/bodies.h"
#include "engine/timing.h"

namespace {

constexpr int kLastBody = 15;
constexpr int kLastKind = 29;
constexpr int kFirstUntimedKind = 26;  // latitudes (26, 27) and sums of longitudes (28, 29)
constexpr int kOpposition = 4;
// An arcsecond: a sign edge found by the search is this close.
constexpr double kSignEdgeToleranceDeg = 1.0 / 3600;

// Steps of the orb-window search, days.
constexpr double kMoonStep = 1.0 / 2880;   // 30 seconds
constexpr double kInnerStep = 1.0 / 96;    // 15 minutes, up to Mars
constexpr double kJupiterStep = 1.0 / 24;  // an hour
constexpr double kOuterStep = 1.0 / 6;     // four hours
// Degrees kept off the orb when a stretch is passed over unsampled: more
// than the single-precision rounding of a deviation.
constexpr double kSkipGuardDeg = 1e-4;

bool IsBody(int body) { return body >= 0 && body <= kLastBody; }

// One side of the orb window: from the moment outwards (direction +1 or -1)
// until |deviation| reaches the orb; the moment of reaching it, and whether
// the bound ended the pass first.
double OrbWindowEdge(const DynamicsRecord& r, double moment, float atMoment, int direction,
                     bool& open) {
  const double h = OrbWindowStep(r.FirstObject, r.SecondObject);
  const double orb = r.DynAspectOrb;
  const int maxSteps =
      std::min(kMaxOrbWindowSteps, static_cast<int>(std::floor(kMaxOrbWindowDays / h)));
  // the fastest |deviation| can change, degrees/day
  const double speed = LongitudeSpeedBound(r.FirstObject) + LongitudeSpeedBound(r.SecondObject);
  double previous = std::fabs(atMoment);
  int n = 0;
  bool stepwise = false;  // a stretch passed over overshot: sample every step from here
  open = false;
  for (;;) {
    // steps the speed bound proves to stay within orb are passed over
    int skip = 1;
    const double margin = orb - previous - kSkipGuardDeg;
    if (!stepwise && margin > 0 && speed > 0)
      skip = static_cast<int>(std::clamp(std::floor(margin / (speed * h)), 1.0, 1e9));
    if (n + skip > maxSteps) skip = maxSteps - n;
    if (skip <= 0) {
      open = true;
      return moment + direction * n * h;
    }
    n += skip;
    const double t = moment + direction * n * h;
    const double now =
        std::fabs(CalcAspectDeviation(t, r.FirstObject, r.SecondObject, r.DynAspectKind));
    if (now < orb) {
      previous = now;
      continue;
    }
    if (now == orb) return t;
    if (skip > 1) {
      n -= skip;
      stepwise = true;
      continue;
    }
    // linear interpolation of the crossing between the last two samples
    const double rise = now - previous;
    const double c = rise > 0 ? std::clamp(h * std::fabs(orb - previous) / rise, 0.0, h) : 0.0;
    return t - direction * (h - c);
  }
}

}  // namespace

float AspectDeviationOf(double lonA, double lonB, int kind) {
  double d;
  if (kind == 0) {
    d = lonA - lonB;
    if (d > 180) d = 360 - d;
    if (d < -180) d = std::fabs(d) - 360;
  } else {
    d = std::fabs(lonA - lonB);
    if (d > 180 && kind != kOpposition) d = 360 - d;
  }
  const int k = std::clamp(kind, 0, kLastKind);
  return static_cast<float>(d - kAspectAngles[k]);
}

double DynamicsLongitude(int body, double jd) {
  BodyPositions p;
  p.Selector = body;
  p.T = (jd - kJ2000) / kDaysPerJulianCentury;
  CalcBodies(p);
  double lon = p.Longitude[body];
  Normalize360(lon);
  return lon;
}

float CalcAspectDeviation(double jd, int a, int b, int kind) {
  return AspectDeviationOf(DynamicsLongitude(a, jd), DynamicsLongitude(b, jd), kind);
}

double OrbWindowStep(int a, int b) {
  if (a == kMoon || b == kMoon) return kMoonStep;
  const int slower = std::max(a, b);
  if (slower < kJupiter) return kInnerStep;
  if (slower == kJupiter) return kJupiterStep;
  return kOuterStep;
}

DynamicsStatus CalcAspectOrbWindow(DynamicsRecord& record, double julianDayUT) {
  const int k = record.DynAspectKind;
  if (k >= kFirstUntimedKind && k <= kLastKind) return DynamicsStatus::kUntimedKind;
  if (k < 0 || k > kLastKind || !IsBody(record.FirstObject) || !IsBody(record.SecondObject) ||
      !std::isfinite(record.DynAspectOrb) || !std::isfinite(julianDayUT))
    return DynamicsStatus::kBadInput;
  record.WindowMoment = julianDayUT;
  const float atMoment =
      CalcAspectDeviation(julianDayUT, record.FirstObject, record.SecondObject, k);
  bool forwardOpen = false, backwardOpen = false;
  const double forward = OrbWindowEdge(record, julianDayUT, atMoment, +1, forwardOpen);
  const double backward = OrbWindowEdge(record, julianDayUT, atMoment, -1, backwardOpen);
  record.WindowStart = std::min(forward, backward);
  record.WindowEnd = std::max(forward, backward);
  const bool swapped = backward > forward;
  record.StartOpen = (swapped ? forwardOpen : backwardOpen) ? 1 : 0;
  record.EndOpen = (swapped ? backwardOpen : forwardOpen) ? 1 : 0;
  return DynamicsStatus::kOk;
}

DynamicsStatus CalcSignStayWindow(DynamicsRecord& record, double julianDayUT,
                                  float objectLongitude) {
  const int a = record.FirstObject;
  if (!IsBody(a) || !std::isfinite(objectLongitude) || !std::isfinite(julianDayUT))
    return DynamicsStatus::kBadInput;
  const int s = SignOf(objectLongitude);
  record.WindowMoment = julianDayUT;
  const double m = julianDayUT;
  double start = m, end = m;
  // body A against a fixed longitude held where it is, no orb
  const bool foundStart =
      FindAspectTime(m, m, m, 0, a, 0, static_cast<float>(30 * s), 0, 1, -1, 1, 0.0f, start);
  const bool foundEnd = FindAspectTime(m, m, m, 0, a, 0, static_cast<float>(30 * ((s + 1) % 12)), 0,
                                       1, 1, 1, 0.0f, end);
  record.WindowStart = foundStart ? start : m;
  record.WindowEnd = foundEnd ? end : m;
  record.StartOpen = foundStart ? 0 : 1;
  record.EndOpen = foundEnd ? 0 : 1;
  return DynamicsStatus::kOk;
}

double DegreesIntoSign(double longitude, int sign) {
  double v = std::remainder(longitude - 30.0 * sign, 360.0);
  if (v <= -180) v += 360;
  return v;
}

double SignGraphFloor(const DynamicsSamples& samples, int sign) {
  double lowest = 0;
  for (double lon : samples.LonA) lowest = std::min(lowest, DegreesIntoSign(lon, sign));
  return lowest < -kSignEdgeToleranceDeg ? lowest : 0.0;
}

double AspectCloseness(double lonA, double lonB, int kind, float orb) {
  double sep = std::fabs(lonA - lonB);
  if (sep > 180) sep = 360 - sep;
  const int k = std::clamp(kind, 0, kLastKind);
  return orb - std::fabs(kAspectAngles[k] - sep);
}

double ColumnMoment(const DynamicsRecord& record, const GraphArea& area, int x) {
  const double span = record.WindowEnd - record.WindowStart;
  const int width = area.Right - area.Left;
  if (!(span > 0) || width <= 0) return record.WindowStart;
  return record.WindowStart + (x - area.Left) * span / width;
}

bool MomentColumn(const DynamicsRecord& record, const GraphArea& area, double jd, int& x) {
  const double span = record.WindowEnd - record.WindowStart;
  if (!(span > 0) || !std::isfinite(jd)) return false;
  const double column = area.Left + (area.Right - area.Left) * (jd - record.WindowStart) / span;
  if (!(std::fabs(column) < 1e6)) return false;
  x = static_cast<int>(column);
  return true;
}

bool SampleDynamics(const DynamicsRecord& record, const GraphArea& area, float lonAtMomentA,
                    float lonAtMomentB, DynamicsSamples& samples) {
  const bool aspect = record.DynamicsMode == 0;
  const int b = aspect ? record.SecondObject : -1;
  if (samples.Mode == record.DynamicsMode && samples.BodyA == record.FirstObject &&
      samples.BodyB == b && samples.Start == record.WindowStart &&
      samples.End == record.WindowEnd && samples.Left == area.Left && samples.Right == area.Right)
    return false;
  samples.Mode = record.DynamicsMode;
  samples.BodyA = record.FirstObject;
  samples.BodyB = b;
  samples.Start = record.WindowStart;
  samples.End = record.WindowEnd;
  samples.Left = area.Left;
  samples.Right = area.Right;
  ++samples.Runs;
  const int columns = std::max(area.Right - area.Left + 1, 0);
  samples.LonA.assign(columns, 0.0);
  samples.LonB.assign(aspect ? columns : 0, 0.0);
  samples.OtherSign.assign(columns, 0);
  if (!IsBody(record.FirstObject) || (aspect && !IsBody(b))) return true;
  const int signA = SignOf(lonAtMomentA), signB = SignOf(lonAtMomentB);
  for (int i = 0; i < columns; ++i) {
    const double t = ColumnMoment(record, area, area.Left + i);
    samples.LonA[i] = DynamicsLongitude(record.FirstObject, t);
    bool other = SignOf(samples.LonA[i]) != signA;
    if (aspect) {
      samples.LonB[i] = DynamicsLongitude(b, t);
      other = other || SignOf(samples.LonB[i]) != signB;
    }
    samples.OtherSign[i] = other ? 1 : 0;
  }
  return true;
}

double LocalMidnight(double jd, float timeZone) {
  const double local = jd + timeZone / 24.0 - DeltaTSeconds(jd) / 86400.0;
  const DateTimeToSecond date = JulianDayToDateSecond(local);
  return JulianDay(date.Day, date.Month, date.Year, -timeZone);
}

bool ZoomWindow(DynamicsRecord& record, const GraphArea& area, int x1, int x2, bool wholeDays,
                float timeZone) {
  const double span = record.WindowEnd - record.WindowStart;
  if (!(span > 0) || area.Right <= area.Left) return false;
  const auto dayOf = [&](int x) {
    double t;
    if (x > area.Right)
      t = record.WindowEnd + 0.2 * (x - area.Right) * span;
    else if (x < area.Left)
      t = record.WindowStart + 0.2 * (x - area.Left) * span;
    else
      t = ColumnMoment(record, area, x);
    return wholeDays ? LocalMidnight(t, timeZone) : t;
  };
  const double start = dayOf(std::min(x1, x2));
  const double end = dayOf(std::max(x1, x2));
  if (!(end > start)) return false;
  record.WindowStart = start;
  record.WindowEnd = end;
  record.StartOpen = record.EndOpen = 0;
  return true;
}

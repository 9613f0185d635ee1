// Sunrise and sunset, and the search for the moment two bodies reach an
// aspect or a body reaches a longitude.
#pragma once

#include <cstdint>

// Exact angle of each aspect kind 0..29, degrees (kinds 26..29 are measured
// on latitudes or sums of longitudes and have angle 0). The septiles are the
// single-precision values the chart stores.
inline constexpr float kAspectAngles[30] = {
    0,          60,        90,        120,        180,        30,         150, 45,  135, 18,
    36,         72,        108,       144,        20,         40,         80,  100, 140, 160,
    25.714285f, 51.42857f, 77.14286f, 102.85714f, 128.57143f, 154.28572f, 0,   0,   0,   0};

inline constexpr int kSeparationAtStart = 100;  // aspect "kind": the separation the bodies have

enum class SunRiseSetStatus {
  kNormal,      // the Sun rises and sets on this date
  kAlwaysUp,    // polar day: no rise, no set
  kAlwaysDown,  // polar night
};

// Universal times of sunrise and sunset (hours in [0, 24)) of the UT date of
// the moment jd (chart time scale) whose universal time is ut, at geographic
// latitude and longitude (degrees, East positive): the moments the Sun's
// centre stands 50' below the horizon (the upper limb with the standard
// refraction), with the Sun computed at each event. Any time of the date can
// come out; a date holding two risings (one just after 0h, one just before
// 24h) gives the first, a date holding none the one just after it. Where
// the Sun neither rises nor sets both times are 0 and the status says which
// case it is; a latitude or longitude that is no number gives kAlwaysDown.
// The times are never NaN. sunLongitude is not read (the Sun is computed at
// the events).
SunRiseSetStatus CalcSunRiseSet(float ut, float latitude, float longitude, float sunLongitude,
                                double jd, float& rise, float& set);

// The Sun's rising (rising true) or setting nearest to the estimate `hours`,
// in hours after jd0 (0h UT of a date on the chart time scale; the result
// may fall on another date), as CalcSunRiseSet defines the event. Where the
// Sun does not reach the event's altitude near the estimate, the status
// says whether it stays up or down and eventHours is the estimate.
SunRiseSetStatus SunEventNear(double jd0, float latitude, float longitude, bool rising,
                              double hours, double& eventHours);

// Whether universal time ut lies in the daylight between rise and set, a
// daylight that may wrap past 0h UT (set earlier than rise).
bool IsDaytime(SunRiseSetStatus status, float ut, float rise, float set);

// The chart's state that the search reads besides its arguments.
struct AspectSearchFrame {
  int Geocentric = 1;              // 1 geocentric, 0 heliocentric
  bool EquatorialOutput = false;   // longitudes are right ascensions
  std::uint8_t ReceptionSwap = 0;  // 1: bodies 0..11 shifted by ReceptionShift signs
  int ReceptionShift[12] = {};     // signs
};

// Bound of a body's longitude speed (0..15), degrees/day, geocentric (1) or
// heliocentric (0), with a margin: no body moves faster in 1899..2102.
double LongitudeSpeedBound(int body, int geocentric = 1);

// Searches from a start moment, forwards (direction +1) or backwards (-1),
// for the first moment at which body B stands at angleSign * angle of aspect
// `kind` (minus `orb`) from body A (or from fixedLongitude when aIsBody is 0;
// A kept at its starting longitude when aFixed is 1). Kind 100 takes the
// separation the bodies have at jd3. Julian days are on the chart time scale.
// Returns true and the moment in result when found: the longitudes then
// meet within 0.1 arcsecond, and no earlier moment in the search direction
// brings them together. When they stand in the aspect within an arcsecond
// at the start and are not moving apart in the search direction, result is
// jd1; an aspect they have just passed is no meeting, and the search goes on
// to the next. A search that cannot reach its target (e.g.
// one lunar node to the other at any aspect but 180 degrees) ends after a
// bounded number of evaluations and returns false, leaving result at jd2.
bool FindAspectTime(double jd1, double jd2, double jd3, int bodyA, int bodyB, int kind,
                    float fixedLongitude, std::uint8_t aIsBody, int angleSign, int direction,
                    std::uint8_t aFixed, float orb, double& result,
                    const AspectSearchFrame& frame = AspectSearchFrame());

// Searches from start, forwards (direction +1) or backwards (-1), for the
// first moment within span days at which the body's motion in longitude
// changes direction (a station). Returns true and the moment (within a
// few seconds) in result when found; false when the body keeps its
// direction over the whole span (the Sun and the Moon, the points that
// move at a constant rate, any planet seen from the Sun). Bodies 0..15.
bool FindStation(double start, int body, int direction, double span, double& result,
                 const AspectSearchFrame& frame = AspectSearchFrame());

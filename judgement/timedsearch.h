// The searches in time the judgement asks for: the moment two bodies perfect
// an aspect, and the moment a body reaches a longitude (leaves its sign).
// The judgement takes the search as a callable so that tests can script it;
// the program passes EngineSearch, the engine's bounded FindAspectTime.
#pragma once

#include <functional>
#include <optional>

#include "engine/timing.h"

// One search, always forward in time from Start.
struct SearchRequest {
  enum Kind {
    kPerfection,  // body B reaches AngleSign x angle of AspectKind from body A, both moving
    kLongitude,   // body B reaches the fixed Longitude (A unused)
    kStation,     // body B turns: its motion in longitude changes direction (A unused)
  };
  Kind What = kPerfection;
  double Start = 0;      // days, Julian day on the chart time scale
  int BodyA = 0;         // 0..15
  int BodyB = 0;         // 0..15
  int AspectKind = 0;    // 0..29 (kPerfection)
  int AngleSign = 1;     // +1 or -1 (kPerfection)
  double Longitude = 0;  // degrees [0, 360) (kLongitude)
  double Span = 0;       // days after Start within which to look (kStation)
};

// A station request: the first turn of body within span days of start.
SearchRequest StationRequest(double start, int body, double span);

// A perfection request: b at sign x angle of `kind` from a, from start on.
SearchRequest PerfectionRequest(double start, int a, int b, int kind, int sign);

// The moment found (Julian day, chart time scale), or nothing when the
// search could not reach its target within its bound: "no event".
using TimedSearch = std::function<std::optional<double>(const SearchRequest&)>;

// The engine's search: FindAspectTime forward from Start with orb 0,
// bounded; a search it gives up is nothing.
TimedSearch EngineSearch(const AspectSearchFrame& frame = AspectSearchFrame());

// Bodies the search can time (0..15); the Part of Fortune and the Cross of
// Fate (16, 17) come from the houses and cannot be timed.
bool IsTimedBody(int body);

// Moment a body leaves its sign, searched forward from start for the body
// standing at lon: the first crossing out of the sign in either direction,
// through its end or, for a body that turns back (or a lunar node, always
// moving back), through its start; the Sun and the Moon only go forward.
// A direct planet that stations and goes back over the start of its sign
// before it reaches the end leaves there. Nothing when no crossing is found
// within the search's bound (the body stays in its sign as far as the search
// can see). When backwards is given it tells whether the crossing found is
// the one through the sign's start.
std::optional<double> SignExit(const TimedSearch& search, double start, int body, double lon,
                               bool* backwards = nullptr);

// Mathematical remainder: a mod m in 0..m-1 for m > 0, also for negative a.
inline int Mod(int a, int m) {
  const int r = a % m;
  return r < 0 ? r + m : r;
}

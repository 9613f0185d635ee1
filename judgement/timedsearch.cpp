// The judgement's searches in time over the engine's bounded aspect search.
#include "judgement/timedsearch.h"

#include <cmath>

namespace {

constexpr int kSun = 0;
constexpr int kMoon = 1;
constexpr int kLastTimedBody = 15;
constexpr int kNorthNode = 14;
constexpr int kSouthNode = 15;

}  // namespace

bool IsTimedBody(int body) { return body >= 0 && body <= kLastTimedBody; }

SearchRequest PerfectionRequest(double start, int a, int b, int kind, int sign) {
  SearchRequest r;
  r.What = SearchRequest::kPerfection;
  r.Start = start;
  r.BodyA = a;
  r.BodyB = b;
  r.AspectKind = kind;
  r.AngleSign = sign;
  return r;
}

SearchRequest StationRequest(double start, int body, double span) {
  SearchRequest r;
  r.What = SearchRequest::kStation;
  r.Start = start;
  r.BodyA = r.BodyB = body;
  r.Span = span;
  return r;
}

TimedSearch EngineSearch(const AspectSearchFrame& frame) {
  return [frame](const SearchRequest& r) -> std::optional<double> {
    double found = 0;
    bool ok = false;
    if (r.What == SearchRequest::kStation) {
      ok = FindStation(r.Start, r.BodyB, 1, r.Span, found, frame);
    } else if (r.What == SearchRequest::kLongitude) {
      // a fixed longitude as body A, held where it is
      ok = FindAspectTime(r.Start, r.Start, r.Start, r.BodyB, r.BodyB, 0,
                          static_cast<float>(r.Longitude), 0, 1, 1, 1, 0.0f, found, frame);
    } else {
      ok = FindAspectTime(r.Start, r.Start, r.Start, r.BodyA, r.BodyB, r.AspectKind, 0.0f, 1,
                          r.AngleSign, 1, 0, 0.0f, found, frame);
    }
    if (!ok || !std::isfinite(found)) return std::nullopt;
    return found;
  };
}

std::optional<double> SignExit(const TimedSearch& search, double start, int body, double lon,
                               bool* backwards) {
  if (backwards) *backwards = false;
  if (!IsTimedBody(body) || !std::isfinite(lon)) return std::nullopt;
  const int sign = Mod(static_cast<int>(std::floor(lon / 30.0)), 12);
  SearchRequest ahead;
  ahead.What = SearchRequest::kLongitude;
  ahead.Start = start;
  ahead.BodyA = ahead.BodyB = body;
  ahead.Longitude = 30.0 * Mod(sign + 1, 12);
  SearchRequest behind = ahead;
  behind.Longitude = 30.0 * sign;
  const bool nodes = body == kNorthNode || body == kSouthNode;
  const std::optional<double> forth =
      nodes ? std::nullopt : search(ahead);         // the nodes only move back
  if (body == kSun || body == kMoon) return forth;  // never turn back
  // any other body may turn before it reaches the end of its sign: the
  // earlier of the two crossings
  const std::optional<double> back = search(behind);
  if (!back || (forth && *forth <= *back)) return forth;
  if (backwards) *backwards = true;
  return back;
}

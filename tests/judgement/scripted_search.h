// A search in time whose answers the test sets: requests it has no answer
// for find nothing, as a bounded search that gives up does.
#pragma once

#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "judgement/timedsearch.h"

namespace horary_test {

class ScriptedSearch {
 public:
  // The moment body reaches a longitude (degrees).
  void Reach(int body, double lon, double jd) { answers_[LonKey(body, lon)] = jd; }
  // The moment b stands at sign x angle of `kind` from a.
  void Perfect(int a, int b, int kind, int sign, double jd) {
    answers_[PerfKey(a, b, kind, sign)] = jd;
  }

  // The moment body turns (nothing: it keeps its direction).
  void Turn(int body, std::optional<double> jd) {
    if (jd)
      answers_[TurnKey(body)] = *jd;
    else
      answers_.erase(TurnKey(body));
  }

  std::optional<double> operator()(const SearchRequest& r) {
    const std::string key = r.What == SearchRequest::kStation ? TurnKey(r.BodyB)
                            : r.What == SearchRequest::kLongitude
                                ? LonKey(r.BodyB, r.Longitude)
                                : PerfKey(r.BodyA, r.BodyB, r.AspectKind, r.AngleSign);
    asked.push_back(key);
    const auto found = answers_.find(key);
    if (found == answers_.end()) return std::nullopt;
    return found->second;
  }
  TimedSearch Callable() {
    return [this](const SearchRequest& r) { return (*this)(r); };
  }

  std::vector<std::string> asked;  // every request, in order

 private:
  static std::string TurnKey(int body) { return "T" + std::to_string(body); }
  static std::string LonKey(int body, double lon) {
    return "L" + std::to_string(body) + "@" + std::to_string(std::lround(lon * 1000));
  }
  static std::string PerfKey(int a, int b, int kind, int sign) {
    return "P" + std::to_string(a) + "-" + std::to_string(b) + "k" + std::to_string(kind) +
           (sign > 0 ? "+" : "-");
  }
  std::map<std::string, double> answers_;
};

}  // namespace horary_test

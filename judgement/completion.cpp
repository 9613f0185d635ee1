// The signs of completion over the chart record and the two significator
// lists, and the list text of the results window.
#include "judgement/completion.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <tuple>

#include "engine/astromath.h"
#include "judgement/siege.h"
#include "platform/text/numbers.h"

namespace {

constexpr int kConjunction = 0;
constexpr int kSextile = 1;
constexpr int kSquare = 2;
constexpr int kTrine = 3;
constexpr int kOpposition = 4;
constexpr int kLastMajorKind = 8;  // kinds 0..8 count for a perfection of the pair
constexpr double kNever = std::numeric_limits<double>::infinity();
constexpr int kEventLines = 6;
// How far ahead a significator's turn is looked for, days: every planet
// from Mercury to Pluto, and Chiron, turns within this span (Mars' longest
// direct run is under 730 days); the other points never turn.
constexpr double kStationSpan = 800;

bool IsSextileOrTrine(int kind) { return kind == kSextile || kind == kTrine; }
bool IsSquareOrOpposition(int kind) { return kind == kSquare || kind == kOpposition; }
bool IsSunMoon(int a, int b) {
  return (a == kBodySun && b == kBodyMoon) || (a == kBodyMoon && b == kBodySun);
}

// One run: the chart, the lists, the searches already made.
class Run {
 public:
  Run(const ChartRecord& record, const SignificatorLists& lists, int signRulerOption,
      const std::vector<std::string>& uiText, const TimedSearch& search)
      : r_(record),
        lists_(lists),
        ui_(uiText),
        search_(search),
        option_(signRulerOption),
        lastThird_(signRulerOption == kSevenPlanets ? kBodySaturn : 11) {}

  CompletionRun Go();

 private:
  // ---- chart terms
  double Lon(int x) const { return r_.EclipticLongitude[x]; }
  // degree within the sign, single precision as the chart compares it
  float Deg(int x) const { return static_cast<float>(Lon(x) - 30.0 * SignOf(Lon(x))); }
  int K(int x, int y) const { return r_.AspectKind[x][y]; }
  bool Exists(int x, int y) const { return K(x, y) >= 0 && K(x, y) < kAspectKindCount; }
  bool Enabled(int x, int y) const { return Exists(x, y) && r_.AspectKindEnabled[K(x, y)] != 0; }
  bool Applying(int x, int y) const { return Exists(x, y) && r_.AspectApplying[x][y] != 0; }
  const std::string& Name(int x) const { return r_.ObjectNames[x + 1]; }

  // ---- timed searches, each made once a run
  std::optional<double> Search(const SearchRequest& q);
  double Exit(int x);
  double Turn(int x);
  int TurnsFirst(int x, int y, double t);
  double Perf(int x, int y, int kind);
  double Perf(int x, int y) { return Exists(x, y) ? Perf(x, y, K(x, y)) : kNever; }
  double Meet(int x, int y);

  // ---- events
  void Write(int p1, int p2, int p3, int kind, std::string text, double moment);
  std::string PairText(int p1, int p2, int c) const {
    return " " + Name(p1) + " - " + Name(p2) + " " + UiEntry(ui_, kEntryThirdPoint) + " " + Name(c);
  }
  void NewMoonInSign();
  void Pair(int p, int q, bool firstPair);
  bool Refranation(int p1, int p2);
  bool ThirdPoints(int p1, int p2);
  bool ThirdPoint(int p1, int p2, int c);
  void SunMoonAspect();
  bool DirectPerfection(int p1, int p2);
  void Transfer(int p1, int p2);
  void GatheredLight(int p1, int p2, int kind);
  void LatePerfection(int p1, int p2);
  void Siege(int p1, int p2);
  bool ThirdFilters(int p1, int p2, int c) const;

  const ChartRecord& r_;
  const SignificatorLists& lists_;
  const std::vector<std::string>& ui_;
  const TimedSearch& search_;
  const int option_;  // sign-ruler option
  const int lastThird_;
  CompletionRun out_;
  std::map<std::tuple<int, int, int, int, int, double, double>, std::optional<double>> searches_;
  std::map<int, double> exits_;  // days, kNever when not found
  std::vector<int> besieged_;    // points listed as besieged in this run
};

std::optional<double> Run::Search(const SearchRequest& q) {
  const auto key = std::make_tuple(static_cast<int>(q.What), q.BodyA, q.BodyB, q.AspectKind,
                                   q.AngleSign, q.Longitude, q.Span);
  const auto found = searches_.find(key);
  if (found != searches_.end()) return found->second;
  const std::optional<double> t = search_(q);
  searches_.emplace(key, t);
  return t;
}

// The first moment x leaves its sign, in either direction; never when the
// search finds no crossing.
double Run::Exit(int x) {
  const auto found = exits_.find(x);
  if (found != exits_.end()) return found->second;
  const TimedSearch memo = [this](const SearchRequest& q) { return Search(q); };
  const std::optional<double> t = SignExit(memo, r_.JulianDayUT, x, Lon(x));
  exits_.emplace(x, t ? *t : kNever);
  return t ? *t : kNever;
}

// The first moment x turns (its motion changes direction) after the chart's
// moment; never when it keeps its direction as far as the search looks.
double Run::Turn(int x) {
  if (!IsTimedBody(x)) return kNever;
  const std::optional<double> t = Search(StationRequest(r_.JulianDayUT, x, kStationSpan));
  return t ? *t : kNever;
}

// Which of x and y turns first before moment t, breaking the application
// of the two (-1 when neither turns before t).
int Run::TurnsFirst(int x, int y, double t) {
  const double tx = Turn(x), ty = Turn(y);
  if (std::min(tx, ty) >= t) return -1;
  return tx <= ty ? x : y;
}

// The next moment x and y stand exactly in aspect `kind`, never when the
// search finds none: the earlier of the two sides on which y can stand from
// x (a station may turn an applying aspect away before it perfects, and the
// other side be met first).
double Run::Perf(int x, int y, int kind) {
  if (kind < 0 || kind >= kAspectKindCount || !IsTimedBody(x) || !IsTimedBody(y)) return kNever;
  SearchRequest q = PerfectionRequest(r_.JulianDayUT, x, y, kind, 1);
  const float angle = kAspectAngle[kind];
  auto side = [&](int sign) {
    q.AngleSign = sign;
    const std::optional<double> t = Search(q);
    return t ? *t : kNever;
  };
  if (angle == 0.0f || angle == 180.0f) return side(1);  // one target for both signs
  return std::min(side(1), side(-1));
}

// The next moment x and y perfect their aspect in the application they are
// in: never when either turns first (the meeting after it is another one).
double Run::Meet(int x, int y) {
  const double t = Perf(x, y);
  return TurnsFirst(x, y, t) < 0 ? t : kNever;
}

void Run::Write(int p1, int p2, int p3, int kind, std::string text, double moment) {
  out_.Events.push_back({p1, p2, p3, kind, std::move(text), moment});
}

// Sun and Moon in one sign meet before the Sun leaves it.
void Run::NewMoonInSign() {
  if (SignOf(Lon(kBodySun)) != SignOf(Lon(kBodyMoon))) return;
  if (IsSunMoon(lists_.Querent[0], lists_.Quesited[0])) return;
  const double t = Perf(kBodySun, kBodyMoon, kConjunction);
  if (t < Exit(kBodySun))
    Write(kBodySun, kBodyMoon, 0, kNewMoonInSign, UiEntry(ui_, kEntryNewMoonInSign), t);
}

// A third point that is a candidate for prohibition or frustration.
bool Run::ThirdFilters(int p1, int p2, int c) const {
  const int q0 = lists_.Querent[0], s0 = lists_.Quesited[0];
  if (c == p1 || c == p2 || c == q0 || c == s0) return false;
  if (!Exists(p1, c) && !Exists(p2, c)) return false;
  if (!Applying(p1, p2)) return false;
  if ((Exists(p1, c) && !Enabled(p1, c)) || (Exists(p2, c) && !Enabled(p2, c))) return false;
  return true;
}

// Prohibition and frustration by third point c; true when an event was written.
// Only a third point applying to the significator it meets prohibits or
// frustrates; one separating from it has passed it by. A meeting after
// either party turns is none.
bool Run::ThirdPoint(int p1, int p2, int c) {
  const int q0 = lists_.Querent[0], s0 = lists_.Quesited[0];
  const float d1 = Deg(p1), d2 = Deg(p2), dC = Deg(c);
  const bool moonBetweenSignificators =
      p1 == kBodyMoon && ((c == q0 && s0 == p2) || (q0 == p2 && c == s0));
  auto event = [&](int kind, int entry, double moment) {
    if (moment == kNever) return false;  // not found: no event
    Write(p1, p2, c, kind, UiEntry(ui_, entry) + PairText(p1, p2, c), moment);
    return true;
  };

  // between the two significators
  if (Exists(p1, c) && d1 < dC && dC < d2) {
    const double t = Meet(p1, p2), tc = Meet(p1, c);
    if (tc >= t) {
      if (IsSunMoon(c, p1) && IsSextileOrTrine(K(p1, c))) return false;
      if (Applying(p1, c) && !(c == kBodyMoon && !IsSquareOrOpposition(K(p1, kBodyMoon))))
        return event(kFrustration, kEntryFrustration, t);
    } else {
      if (((c == kBodyMoon && p2 == kBodySun) || (c == kBodySun && p1 == kBodyMoon)) &&
          IsSextileOrTrine(K(p2, c)))
        return false;
      if (Applying(p1, c) && !moonBetweenSignificators)
        return event(kProhibition, kEntryProhibition, tc);
    }
  }
  // ahead of both
  if (Exists(p2, c) && dC > d1 && dC > d2) {
    const double t = Meet(p2, p1), tc = Meet(p2, c);
    if (Applying(p2, c) && t > tc) {
      if (IsSunMoon(c, p2) && IsSextileOrTrine(K(p2, c))) return false;
      if (!moonBetweenSignificators) return event(kProhibition, kEntryProhibition, tc);
    }
  }
  // behind both
  if (Exists(p1, c) && d1 < d2 && dC < d1 && dC < d2) {
    const double t = Meet(p1, p2), tc = Meet(p1, c);
    if (Applying(p1, c) && tc < t && tc < Exit(p1) && tc < Exit(p2) &&
        !(IsSunMoon(c, p1) && IsSextileOrTrine(K(p1, c))) &&
        (c != kBodyMoon || IsSquareOrOpposition(K(p1, kBodyMoon))))
      return event(kFrustration, kEntryFrustration, tc);
  }
  return false;
}

// Refranation: the pair applies to its aspect, but one of the two turns
// before it perfects, and the application is broken. The event names the
// one that turns and carries the moment it turns; true when written (the
// pair is then done: nothing is prohibited, frustrated or perfected of an
// application that does not come about).
bool Run::Refranation(int p1, int p2) {
  const int k = K(p1, p2);
  if (!(k >= 0 && k <= kLastMajorKind && Enabled(p1, p2) && Applying(p1, p2))) return false;
  const double t = Perf(p1, p2);
  if (t == kNever) return false;
  const int turning = TurnsFirst(p1, p2, t);
  if (turning < 0) return false;
  Write(p1, p2, turning, kRefranation,
        UiEntry(ui_, kEntryRefranation) + " " + Name(p1) + " - " + Name(p2) + ": " + Name(turning) +
            " " + UiEntry(ui_, kEntryTurnsBeforeAspect),
        Turn(turning));
  return true;
}

bool Run::ThirdPoints(int p1, int p2) {
  bool any = false;
  for (int c = 0; c <= lastThird_; ++c)
    if (ThirdFilters(p1, p2, c) && ThirdPoint(p1, p2, c)) any = true;
  return any;
}

// Sextile or trine of the Sun and the Moon before either leaves its sign.
void Run::SunMoonAspect() {
  if (!IsSextileOrTrine(K(kBodySun, kBodyMoon)) || !Applying(kBodySun, kBodyMoon)) return;
  const double e1 = Exit(kBodySun), e2 = Exit(kBodyMoon);
  for (const int kind : {kSextile, kTrine}) {
    for (const int sign : {1, -1}) {
      const std::optional<double> t =
          Search(PerfectionRequest(r_.JulianDayUT, kBodySun, kBodyMoon, kind, sign));
      if (t && *t < e1 && *t < e2) {
        Write(kBodySun, kBodyMoon, 0, kSunMoonAspect, UiEntry(ui_, kEntrySunMoonAspect), *t);
        return;
      }
    }
  }
}

// The pair's own aspect; true when the pair is done.
bool Run::DirectPerfection(int p1, int p2) {
  const int k = K(p1, p2);
  if (!(k >= 0 && k <= kLastMajorKind && Enabled(p1, p2) && Applying(p1, p2))) return false;
  const double t = Meet(p1, p2);
  if (t == kNever || (t > Exit(p1) && t > Exit(p2))) return false;
  const bool moonSecond = lists_.Querent[1] == kBodyMoon || lists_.Quesited[1] == kBodyMoon;
  if (!(IsSunMoon(p1, p2) && (IsSextileOrTrine(k) || moonSecond)))
    Write(p1, p2, 0, kPerfection, Name(p1) + " " + r_.AspectNames[k + 1] + " " + Name(p2), t);
  return true;
}

// Transfer of light: a point in aspect to both, applying to one of them
// only, that stands between them in degree perfects with the one further on
// (the second when the first stands lower, the first otherwise) before the
// first leaves its sign. A point in neither order is passed over: there is
// no moment to take for it.
void Run::Transfer(int p1, int p2) {
  for (int c = 0; c <= lastThird_; ++c) {
    if (c == p1 || c == p2 || !Enabled(p1, c) || !Enabled(p2, c)) continue;
    if (Applying(p1, c) == Applying(p2, c)) continue;
    const float d1 = Deg(p1), d2 = Deg(p2), dC = Deg(c);
    double t;
    if (d1 < dC && dC < d2)
      t = Meet(c, p2);
    else if (d2 < dC && dC < d1)
      t = Meet(c, p1);
    else
      continue;
    if (t != kNever && t <= Exit(p1)) {
      Write(p1, p2, c, kTransferOfLight, UiEntry(ui_, kEntryTransfer) + PairText(p1, p2, c), t);
      return;
    }
  }
}

// Collection of light by a slower point ahead of both (both perfect with
// it), or translation of light by a faster point behind both (it perfects
// with each in turn), each perfection before the significator leaves its
// sign; the moment is that of the first significator.
void Run::GatheredLight(int p1, int p2, int kind) {
  if (Applying(p1, p2)) return;
  const bool collection = kind == kCollection;
  for (int c = 0; c <= lastThird_; ++c) {
    if (c == p1 || c == p2 || !Enabled(p1, c) || !Enabled(p2, c)) continue;
    const double speed = std::fabs(r_.DailyMotion[c]);
    const double speed1 = std::fabs(r_.DailyMotion[p1]), speed2 = std::fabs(r_.DailyMotion[p2]);
    const bool placed =
        collection ? Deg(c) > Deg(p1) && Deg(c) > Deg(p2) && speed < speed1 && speed < speed2
                   : Deg(c) < Deg(p1) && Deg(c) < Deg(p2) && speed > speed1 && speed > speed2;
    if (!placed) continue;
    const double t = collection ? Meet(p1, c) : Meet(c, p1);
    if (t == kNever || t > Exit(p1)) continue;
    const double tc = collection ? Meet(p2, c) : Meet(c, p2);
    if (tc == kNever || tc > Exit(p2)) continue;
    const int entry = collection ? kEntryCollection : kEntryTranslation;
    Write(p1, p2, c, kind, UiEntry(ui_, entry) + PairText(p1, p2, c), t);
    return;
  }
}

// The pair meets only after both have left their signs; tried while the run
// has found nothing else.
void Run::LatePerfection(int p1, int p2) {
  const int k = K(p1, p2);
  if (!out_.Events.empty()) return;
  if (!(k >= 0 && k <= kLastMajorKind && Enabled(p1, p2) && Applying(p1, p2))) return;
  const double t = Meet(p1, p2);
  if (t != kNever && Exit(p1) < t && Exit(p2) < t)
    Write(p1, p2, 0, kLatePerfection, UiEntry(ui_, kEntryLatePerfection), t);
}

// Siege: a significator between two malefics, the nearest counted points
// before and after it in the order of the wheel, both standing in its own
// sign, neither of them the other significator. Each besieged point is
// listed once a run, whatever pairs it is in; the event carries the
// besieged point and the chart's own moment, at which the siege holds.
void Run::Siege(int p1, int p2) {
  for (int k = 0; k < kBodyCount; ++k) {
    for (const int x : {p1, p2}) {
      if (r_.SortedPoints[k].Body != x) continue;
      if (std::find(besieged_.begin(), besieged_.end(), x) != besieged_.end()) continue;
      const int y = x == p1 ? p2 : p1;
      const std::optional<Besiegers> by = BesiegersAt(r_, k, option_);
      if (!by || by->Before == y || by->After == y) continue;
      if (by->Before != lists_.Querent[0] && by->After != lists_.Quesited[0]) {
        Write(p1, p2, x, kSiege, Name(x) + " " + UiEntry(ui_, kEntrySiege), r_.JulianDayUT);
        besieged_.push_back(x);
      }
      return;
    }
  }
}

void Run::Pair(int p, int q, bool firstPair) {
  if (firstPair) SunMoonAspect();
  if (p == q) {
    out_.Skipped.push_back({p, q, SkippedPair::kSamePoint});
    return;
  }
  if (!IsTimedBody(p) || !IsTimedBody(q)) {
    out_.Skipped.push_back({p, q, SkippedPair::kUntimed});
    return;
  }
  int p1 = std::min(p, q), p2 = std::max(p, q);
  if (p1 == kBodySun && p2 == kBodyMoon) std::swap(p1, p2);
  if (Refranation(p1, p2)) return;
  if (ThirdPoints(p1, p2)) return;
  if (DirectPerfection(p1, p2)) return;
  Transfer(p1, p2);
  GatheredLight(p1, p2, kCollection);
  GatheredLight(p1, p2, kTranslation);
  LatePerfection(p1, p2);
  Siege(p1, p2);
}

CompletionRun Run::Go() {
  if (!lists_.Complete()) return out_;
  NewMoonInSign();
  for (int i = 0; i < kSignificatorSlots && lists_.Querent[i] != kEmptySlot; ++i)
    for (int j = 0; j < kSignificatorSlots && lists_.Quesited[j] != kEmptySlot; ++j)
      Pair(lists_.Querent[i], lists_.Quesited[j], i == 0 && j == 0);
  return out_;
}

}  // namespace

CompletionRun FindCompletionEvents(const ChartRecord& record, const SignificatorLists& lists,
                                   int signRulerOption, const std::vector<std::string>& uiText,
                                   const TimedSearch& search) {
  return Run(record, lists, signRulerOption, uiText, search).Go();
}

std::vector<std::string> CompletionEventLines(const std::vector<CompletionEvent>& events) {
  std::vector<std::string> lines;
  lines.reserve(events.size() * kEventLines);
  for (const CompletionEvent& e : events) {
    lines.push_back(FormatInt(e.Point1));
    lines.push_back(FormatInt(e.Point2));
    lines.push_back(FormatInt(e.Point3));
    lines.push_back(FormatInt(e.Kind));
    lines.push_back(e.Text);
    lines.push_back(FormatFloat(e.Moment));
  }
  return lines;
}

std::vector<CompletionEvent> ParseCompletionEventLines(const std::vector<std::string>& lines) {
  std::vector<CompletionEvent> events;
  for (std::size_t i = 0; i + kEventLines <= lines.size(); i += kEventLines) {
    CompletionEvent e;
    if (!ParseInt(lines[i], e.Point1) || !ParseInt(lines[i + 1], e.Point2) ||
        !ParseInt(lines[i + 2], e.Point3) || !ParseInt(lines[i + 3], e.Kind) ||
        !ParseFloat(lines[i + 5], e.Moment))
      break;
    e.Text = lines[i + 4];
    events.push_back(std::move(e));
  }
  return events;
}

std::string CompletionMomentText(double julianDay, float timeZone) {
  constexpr double kHalfSecond = 5.787037037037037e-06;  // days
  const double local =
      julianDay - DeltaTSeconds(julianDay) / 86400.0 + timeZone / 24.0 + kHalfSecond;
  int year = 0, month = 0, day = 0;
  float hours = 0;
  JulianDayToDate(local, year, month, day, hours);
  int h = 0, m = 0, s = 0;
  DegToDms(hours, h, m, s);
  return std::to_string(day) + "." + std::to_string(month) + "." + std::to_string(year) + " " +
         std::to_string(h) + ":" + std::to_string(m) + ":" + std::to_string(s);
}

std::string CompletionListLine(const CompletionEvent& event, float timeZone) {
  return event.Text + " (" + CompletionMomentText(event.Moment, timeZone) + ")";
}

std::string SkippedLine(const ChartRecord& chart, const SkippedPair& pair,
                        const std::vector<std::string>& uiText) {
  const auto name = [&chart](int point) {
    return point >= 0 && point < kBodyCount ? chart.ObjectNames[point + 1] : std::to_string(point);
  };
  const int entry =
      pair.Why == SkippedPair::kSamePoint ? kEntrySkippedSamePoint : kEntrySkippedUntimed;
  return UiEntry(uiText, entry) + " " + name(pair.Querent) + " - " + name(pair.Quesited);
}

std::vector<std::string> CompletionResultLines(const ChartRecord& chart, const CompletionRun& run,
                                               const std::vector<std::string>& uiText) {
  std::vector<std::string> lines;
  for (const CompletionEvent& event : run.Events)
    lines.push_back(CompletionListLine(event, chart.TimeZone));
  if (run.Events.empty()) lines.push_back(UiEntry(uiText, kEntryNothingFound));
  for (const SkippedPair& pair : run.Skipped) lines.push_back(SkippedLine(chart, pair, uiText));
  return lines;
}

std::vector<int> CompletionDetailPoints(const CompletionEvent& event) {
  std::vector<int> points;
  if (event.Kind == kNewMoonInSign || event.Kind == kLatePerfection) return points;
  const bool pairOnly = event.Kind == kPerfection || event.Kind == kSunMoonAspect;
  for (const int p : {event.Point1, event.Point2, event.Point3}) {
    if (pairOnly && points.size() == 2) break;
    // a point named twice (the besieged one of a siege) has one row
    if (p >= 0 && p < kDignityRowPoints &&
        std::find(points.begin(), points.end(), p) == points.end())
      points.push_back(p);
  }
  return points;
}

const char* CompletionTextFile(int kind) {
  static constexpr const char* kFiles[11] = {"A.txt",  "Pl.txt", "Sl.txt", "Rl.txt",
                                             "Nm.txt", "F.txt",  "R.txt",  "V.txt",
                                             "O.txt",  "Ap.txt", "Rf.txt"};
  return kind >= 1 && kind <= 11 ? kFiles[kind - 1] : nullptr;
}

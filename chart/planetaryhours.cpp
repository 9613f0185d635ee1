// Planetary hours: twelve equal hours from sunrise to sunset and twelve from
// sunset to the next sunrise, ruled in the Chaldean order, the first hour of
// each day by the planet of the weekday.
#include "chart/planetaryhours.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/astromath.h"
#include "engine/timing.h"

namespace {

constexpr double kSunMeanMotion = 0.9856473;  // degrees per day, mean motion of the Sun
constexpr double kRefineLimitHours =
    1.0;                            // hours; a refined event further off is not the same event
constexpr double kGapHours = 36.0;  // hours; consecutive events further apart miss one
constexpr double kMinSpacingHours = 12.0;  // hours; consecutive events closer are one event
constexpr double kMaxSpacingHours = 60.0;  // hours; a gap of more than one missing event
constexpr int kDatesBefore = 2;            // UT dates computed before the chart's one
constexpr int kDatesAfter = 3;             // and after it

// The inputs that stay the same for every date around the chart's one.
struct SunPlace {
  float ut;             // hours, universal time of the chart
  float latitude;       // degrees
  float longitude;      // degrees, East positive
  double sunLongitude;  // degrees, the Sun at the chart's moment
  double julianDayUT;   // days, the chart's moment
};

// Sunrise (rise true) or sunset of the UT date `date` days from the chart's
// date, in hours from 0h UT of the chart's date.
//   The rising routine holds the Sun at one longitude for the whole date, so
//   the event is computed with the Sun where it stands near noon of that date
//   and then once more where it stands at the event itself (mean motion).
//   A refinement that jumps to another event at the edge of the date keeps
//   the first value.
// Returns false where the Sun does not rise or set on that date.
bool SunEvent(const SunPlace& p, int date, bool rise, double& hours) {
  const double dateStart = 24.0 * date;
  double guess = dateStart + 12.0;
  double found = 0;
  for (int pass = 0; pass < 2; ++pass) {
    double lon = p.sunLongitude + kSunMeanMotion * (guess - p.ut) / 24.0;
    lon = std::fmod(lon, 360.0);
    if (lon < 0) lon += 360.0;
    float riseUt = 0, setUt = 0;
    SunRiseSetStatus status = CalcSunRiseSet(p.ut, p.latitude, p.longitude, static_cast<float>(lon),
                                             p.julianDayUT + date, riseUt, setUt);
    if (status != SunRiseSetStatus::kNormal) return false;
    double event = dateStart + (rise ? riseUt : setUt);
    if (!std::isfinite(event)) return false;
    if (pass == 1 && std::fabs(event - found) > kRefineLimitHours) break;
    found = event;
    guess = event;
  }
  hours = found;
  return true;
}

// The events of consecutive dates in time order. The rising routine reports
// one event per UT date, found in a window about one day long that begins
// at 0h UT; with the Sun's longitude changing from date to date, an event
// near 0h UT can be reported by two neighbouring dates (first at the end of
// one, then at the start of the next) or by neither. Two reports of one
// event are merged into their mean; a missing event is put halfway between
// its neighbours. Returns false where the events are not spaced like those
// of successive days.
bool CompleteSeries(std::vector<double>& events) {
  std::sort(events.begin(), events.end());
  std::vector<double> merged;
  for (double e : events) {
    if (!merged.empty() && e - merged.back() < kMinSpacingHours)
      merged.back() = (merged.back() + e) / 2;
    else
      merged.push_back(e);
  }
  std::vector<double> out;
  for (size_t i = 0; i < merged.size(); ++i) {
    if (i > 0) {
      double gap = merged[i] - merged[i - 1];
      if (gap > kMaxSpacingHours) return false;
      if (gap > kGapHours) out.push_back(merged[i - 1] + gap / 2);
    }
    out.push_back(merged[i]);
  }
  events = out;
  return true;
}

// Hours in [0, 24).
float WrapDay(double hours) {
  double h = std::fmod(hours, 24.0);
  if (h < 0) h += 24.0;
  float f = static_cast<float>(h);
  return f >= 24.0f ? 0.0f : f;
}

// Mathematical remainder 0..m-1.
long long Mod(long long a, long long m) {
  long long r = a % m;
  return r < 0 ? r + m : r;
}

}  // namespace

int HourRulerOf(int hour, int dayRuler) {
  return static_cast<int>(Mod(5LL * hour + dayRuler - 5 - 1, 7)) + 1;
}

// Planetary hours of the chart's date and place.
//   universalTime       hours UT of the chart (as a rule in [0, 24))
//   geocentricLatitude  degrees; geoLongitude degrees East
//   sunLongitude        degrees, the Sun at the chart's moment
//   julianDayUT         days, the chart's moment on the chart time scale
//   julianDay0h         days, 0h UT of the chart's date
//   timeZone            hours East; local time = UT + zone
// Output: HourStart (local hours [0, 24)), PlanetaryHour 1..24, DayRuler and
// HourRuler 1..7 (Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn).
// Method: sunrise and sunset of the dates around the chart's one from the
// rising formula of the Sun (CalcSunRiseSet); the planetary day runs from the
// last sunrise not after the moment to the next sunrise, all on one absolute
// time line, so a daylight that runs past 0h UT needs no special case. The
// day's ruler is that of the local weekday on which that sunrise falls, so a
// moment before sunrise belongs to the night hours of the day before.
// Returns false, leaving the table untouched, where the Sun stays up or down
// on one of the dates or the events do not follow each other as on
// successive days.
bool CalcPlanetHours(float universalTime, float geocentricLatitude, float geoLongitude,
                     double sunLongitude, double julianDayUT, double julianDay0h, float timeZone,
                     PlanetaryHourTable& table) {
  if (!std::isfinite(universalTime) || !std::isfinite(geocentricLatitude) ||
      !std::isfinite(geoLongitude) || !std::isfinite(sunLongitude) || !std::isfinite(julianDayUT) ||
      !std::isfinite(julianDay0h) || !std::isfinite(timeZone))
    return false;
  const SunPlace place{universalTime, geocentricLatitude, geoLongitude, sunLongitude, julianDayUT};
  // The chart's moment in hours from 0h UT of its date; the dates around it.
  const double t = universalTime;
  const int chartDate = static_cast<int>(std::floor(t / 24.0));

  std::vector<double> rises, sets;
  for (int date = chartDate - kDatesBefore; date <= chartDate + kDatesAfter; ++date) {
    double rise = 0, set = 0;
    if (!SunEvent(place, date, true, rise) || !SunEvent(place, date, false, set)) return false;
    rises.push_back(rise);
    sets.push_back(set);
  }
  if (!CompleteSeries(rises) || !CompleteSeries(sets)) return false;

  // The sunrise that opens the planetary day of the moment, its sunset and
  // the sunrise that closes it.
  auto lastRise = std::upper_bound(rises.begin(), rises.end(), t);
  if (lastRise == rises.begin()) return false;
  const double rise = *(lastRise - 1);
  auto setIt = std::upper_bound(sets.begin(), sets.end(), rise);
  if (setIt == sets.end()) return false;
  const double set = *setIt;
  auto nextIt = std::upper_bound(rises.begin(), rises.end(), set);
  if (nextIt == rises.end()) return false;
  const double nextRise = *nextIt;
  if (!(set - rise < 24.0 && nextRise - set < 24.0 && nextRise > t)) return false;

  const double dayHour = (set - rise) / 12.0;
  const double nightHour = (nextRise - set) / 12.0;
  // A moment exactly on a boundary belongs to the hour that begins there (a
  // moment at sunrise is hour 1), as an astrologer reads the table; calling
  // every boundary hour 24 would give the night's last hour at sunrise.
  int hour;
  if (t < set) {
    hour = 1 + static_cast<int>(std::floor((t - rise) / dayHour));
    hour = std::clamp(hour, 1, 12);
  } else {
    hour = 13 + static_cast<int>(std::floor((t - set) / nightHour));
    hour = std::clamp(hour, 13, 24);
  }

  // Weekday of the local date of the opening sunrise: day number 0 is
  // 2000-01-02, a Sunday; w = 1 Sunday .. 7 Saturday.
  const double chartDay0h = julianDayUT - universalTime / 24.0;
  // (Delta T taken off first: far in the past it exceeds half a day)
  long long dayNumber = std::llround(UniversalJulianDay(julianDay0h) - (kJ2000 + 0.5)) +
                        std::llround(chartDay0h - julianDay0h) +
                        static_cast<long long>(std::floor((rise + timeZone) / 24.0));
  const int weekday = static_cast<int>(Mod(dayNumber, 7)) + 1;
  const int hourRuler = HourRulerOf(hour, weekday);

  for (int i = 0; i < 12; ++i) {
    table.HourStart[i] = WrapDay(rise + i * dayHour + timeZone);
    table.HourStart[12 + i] = WrapDay(set + i * nightHour + timeZone);
  }
  table.PlanetaryHour = hour;
  table.DayRuler = weekday;
  table.HourRuler = hourRuler;
  return true;
}

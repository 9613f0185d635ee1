// Planetary hours: twelve equal hours from sunrise to sunset and twelve from
// sunset to the next sunrise, ruled in the Chaldean order, the first hour of
// each day by the planet of the weekday.
#include "chart/planetaryhours.h"

#include <algorithm>
#include <cmath>

#include "engine/astromath.h"
#include "engine/timing.h"

namespace {

// The Sun's rising or setting nearest to `guess`, hours from 0h UT of the
// chart's date.
struct SunPlace {
  double jd0;       // 0h UT of the chart's date, chart time scale
  float latitude;   // degrees, geographic
  float longitude;  // degrees, East positive

  bool Event(bool rising, double guess, double& hours) const {
    return SunEventNear(jd0, latitude, longitude, rising, guess, hours) ==
           SunRiseSetStatus::kNormal;
  }
};

// Risings searched from the first one found towards the chart's moment, and
// the longest interval from one sunrise to the next (they follow each other
// at 24 hours give or take the minutes of the Sun's drift).
constexpr int kDaySteps = 3;
constexpr double kMaxDayHours = 25.0;

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
//   sunLongitude        not read: the Sun is computed at each sunrise and sunset
//   julianDayUT         days, the chart's moment on the chart time scale
//   julianDay0h         days, 0h UT of the chart's date
//   timeZone            hours East; local time = UT + zone
// Output: HourStart (local hours [0, 24)), PlanetaryHour 1..24, DayRuler and
// HourRuler 1..7 (Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn).
// Method: the sunrise and sunset of the town (its geographic latitude, the
// Sun's centre 50' below the horizon, engine/timing.h) found as moments on
// one time line around the chart's moment: the last sunrise not after the
// moment, the next sunrise after it and the sunset between them, so a
// daylight that runs past 0h UT needs no special case. The day's ruler is
// that of the local weekday on which that sunrise falls, so a moment before
// sunrise belongs to the night hours of the day before.
// Returns false, leaving the table untouched, where the Sun stays up or down
// around the moment or the events do not follow each other as on
// successive days.
bool CalcPlanetHours(float universalTime, float geocentricLatitude, float geoLongitude,
                     double sunLongitude, double julianDayUT, double julianDay0h, float timeZone,
                     PlanetaryHourTable& table) {
  (void)sunLongitude;
  if (!std::isfinite(universalTime) || !std::isfinite(geocentricLatitude) ||
      !std::isfinite(geoLongitude) || !std::isfinite(julianDayUT) || !std::isfinite(julianDay0h) ||
      !std::isfinite(timeZone))
    return false;
  // The chart's moment in hours from 0h UT of its date.
  const double t = universalTime;
  const SunPlace place{julianDayUT - t / 24.0,
                       static_cast<float>(GeographicOfGeocentric(geocentricLatitude)),
                       geoLongitude};

  // The sunrise that opens the planetary day of the moment and the one that
  // closes it: successive risings lie a day apart (to minutes), so each is
  // found from the one before or after it.
  double rise = 0, nextRise = 0, set = 0;
  if (!place.Event(true, t, rise)) return false;
  for (int k = 0; k < kDaySteps && rise > t; ++k)
    if (!place.Event(true, rise - 24.0, rise)) return false;
  if (!place.Event(true, rise + 24.0, nextRise)) return false;
  for (int k = 0; k < kDaySteps && nextRise <= t; ++k) {
    rise = nextRise;
    if (!place.Event(true, rise + 24.0, nextRise)) return false;
  }
  // the sunset between them, the one nearest the middle of the two
  if (!place.Event(false, (rise + nextRise) / 2, set)) return false;
  if (!(rise <= t && t < nextRise && rise < set && set < nextRise &&
        nextRise - rise < kMaxDayHours))
    return false;

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

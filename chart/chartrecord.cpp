#include "chart/chartrecord.h"

#include <cmath>
#include <cstdio>

#include "chart/glyphplacement.h"
#include "engine/astromath.h"

namespace {

// Entry n of the language file, or "" when the file is shorter.
const std::string& UiEntry(const std::vector<std::string>& uiText, int n) {
  static const std::string kEmpty;
  return (n >= 0 && n < static_cast<int>(uiText.size())) ? uiText[n] : kEmpty;
}

// Longitude reduced into [0, 360); non-finite gives 0.
double ReducedLongitude(double lon) {
  if (!std::isfinite(lon)) return 0.0;
  double l = std::fmod(lon, 360.0);
  if (l < 0.0) l += 360.0;
  if (l >= 360.0) l = 0.0;  // a tiny negative value whose sum rounded to 360
  return l;
}

}  // namespace

// Construction of the chart record, the chart window's build steps that touch
// no window and no file, in their order.
//   record            the chart window's record (in/out)
//   uiText            language-file entries
//   houseRulerMethod  0..2, the calculation parameters' choice
void InitChartRecord(ChartRecord& record, const std::vector<std::string>& uiText,
                     int houseRulerMethod) {
  // start values of the chart state
  record.ReceptionSwap = 0;
  record.QuerentHouse = 0;
  record.QuesitedHouse = 0;
  record.HouseRoutineSwitch = 0;
  record.ColorMode = 2;
  record.TargetFlags[0] = 1;
  record.TargetFlags[1] = 1;
  record.TargetFlags[2] = 1;
  record.TargetFlags[3] = 0;
  record.ChartComment.clear();
  record.PlaceName.clear();
  record.RecordFlag = 1;
  record.DragObject = kNone;
  record.DropObject = kNone;
  record.HouseRulerMethod = houseRulerMethod;

  // names from the language file
  record.ChartName = UiEntry(uiText, kEntryDefaultChartName);
  const std::string& prefix = UiEntry(uiText, kEntryHouseNamePrefix);
  for (int n = 1; n <= kHouseSystemCount; ++n)
    record.HouseSystemNames[n] = prefix + " " + UiEntry(uiText, kEntryFirstHouseSystem - 1 + n);

  // sign rulers
  for (int s = 0; s < 12; ++s) {
    record.DomicileRuler[s] = kDomicileRuler[s];
    record.ExaltationRuler[s] = kExaltationRuler[s];
    record.DetrimentRuler[s] = kDetrimentRuler[s];
    record.FallRuler[s] = kFallRuler[s];
  }
  // day and hour rulers in the order Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn
  constexpr int kRulerBodies[7] = {0, 1, 4, 2, 5, 3, 6};
  for (int i = 0; i < 7; ++i)
    record.RulerNames[i + 1] = UiEntry(uiText, kEntryFirstBodyName + kRulerBodies[i]);
  for (int b = 0; b < kBodyCount; ++b)
    record.ObjectNames[b + 1] = UiEntry(uiText, kEntryFirstBodyName + b);
  for (int i = 19; i <= 48; ++i)
    record.ObjectNames[i] = UiEntry(uiText, kEntryFirstCuspName + (i - 19));
  for (int k = 0; k < 26; ++k) record.AspectNames[k + 1] = kAspectLiteralNames[k];
  for (int k = 26; k < kAspectKindCount; ++k)
    record.AspectNames[k + 1] = UiEntry(uiText, kEntryFirstLatitudeKindName + (k - 26));

  for (int b = 0; b < kBodyCount; ++b) {
    record.Retrograde[b] = 0;
    record.SignEdgeFlag[b] = 0;
  }
  // the chart is always geocentric
  record.PrevGeocentric = 0;
  record.Geocentric = 1;

  // glyph sizes and glyph characters
  for (int i = 0; i < kGlyphSizeCount; ++i) record.GlyphSizeList[i] = kGlyphSizeList[i];
  for (int b = 0; b < kBodyCount; ++b) record.ObjectGlyph[b] = kObjectGlyph[b];
  for (int s = 0; s < 12; ++s) record.SignGlyph[s] = kSignGlyph[s];
  for (int i = 0; i < 18; ++i) record.ObjectGlyph2[i] = static_cast<char>(kObjectGlyph2Bytes[i]);
  for (int k = 0; k < kAspectKindCount; ++k) record.AspectGlyph[k] = kAspectGlyph[k];
  record.RetrogradeGlyph = kRetrogradeGlyph;

  // fixed stars: degrees.minutes -> degrees, arcseconds -> degrees per year
  for (int s = 0; s < kFixedStarCount; ++s) {
    record.FixedStarClass[s] = kFixedStars[s].Class;
    record.FixedStarLon1950[s] = static_cast<float>(DegMinToDegrees(kFixedStars[s].Lon1950DegMin));
    record.FixedStarMotion[s] = static_cast<float>(kFixedStars[s].MotionArcsec / 3600.0);
    record.FixedStarNames[s + 1] = UiEntry(uiText, kEntryFirstStarName + s);
  }

  for (int k = 0; k < kAspectKindCount; ++k) record.AspectAngle[k] = kAspectAngle[k];

  // the ranking of the positions the record holds, as a recomputation makes
  // it, so a wheel drawn before the first recomputation places its glyphs
  // by a ranking of its own positions
  RankChartPoints(record);
}

// Degrees.minutes to decimal degrees.
//   degMin  degrees in the integer part, minutes as the two first decimals
//   returns degrees; the fractional part is scaled by 100/60, so a stored
//           minute value of 60 (64.60) gives the next whole degree (65.0)
double DegMinToDegrees(double degMin) {
  const double whole = std::trunc(degMin);
  return whole + (degMin - whole) * 100.0 / 60.0;
}

// Sign of a longitude.
//   lon  degrees, any finite value
//   returns 0 Aries .. 11 Pisces
int SignOf(double lon) { return DegreeOf(lon) / 30; }

// Whole zodiac degree of a longitude.
//   lon  degrees, any finite value
//   returns 0..359, the degree after reduction into [0, 360)
int DegreeOf(double lon) {
  const int d = static_cast<int>(std::floor(ReducedLongitude(lon)));
  return d > 359 ? 359 : d;
}

// Glyph-font character of chart object o: ObjectGlyph below 18, ObjectGlyph2
// from 18 on; 0 outside 0..35.
char ObjectGlyphOf(const ChartRecord& record, int o) {
  if (o >= 0 && o < kBodyCount) return record.ObjectGlyph[o];
  if (o >= kBodyCount && o < kObjectCount) return record.ObjectGlyph2[o - kBodyCount];
  return 0;
}

std::string LocalMomentText(double julianDayUT, float timeZone) {
  const double local = UniversalJulianDay(julianDayUT) + timeZone / 24.0;
  const DateTimeToSecond t = JulianDayToDateSecond(local);
  const int year = t.Year < 1 ? t.Year - 1 : t.Year;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%d-%02d:%02d:%02d", t.Day, t.Month, year, t.Hour,
                t.Minute, t.Second);
  return buf;
}

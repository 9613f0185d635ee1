// Horary figures judged in W. Lilly, Christian Astrology (London, 1647),
// cast again as the program casts a question: the factory settings (Lilly's
// orbs as moieties, the five Ptolemaic aspects), Regiomontanus houses, house
// rulers by the sign on the cusp, London at 51 deg 30 min N, 0 deg 10 min W,
// unless the book places the question elsewhere.
//
// Lilly dates his figures in the Julian calendar (the year beginning on
// 25 March) and in the local mean time of London; each case gives the date
// as the book has it, the Gregorian date ten days later and the time in
// universal time (London's mean time plus 40 seconds, a place's mean time
// plus four minutes to the degree west of Greenwich). The places the book
// prints or describes for some bodies check the conversion; then the
// proposed significators and the signs of completion are set against
// Lilly's own judgement.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "chart/pipeline.h"
#include "chart/rulers.h"
#include "chart/settingsfiles.h"
#include "engine/astromath.h"
#include "judgement/completion.h"
#include "judgement/significators.h"
#include "perfection_oracle.h"

namespace {

using horary_test::BodyLongitude;
using horary_test::FirstPerfection;

constexpr int kRegiomontanus = 4;
constexpr int kSignOnCusp = 0;
constexpr float kLondonLatitude = 51.5f;
constexpr float kLondonLongitude = -(10.0f / 60.0f);        // degrees, East positive
constexpr double kLondonMeanTimeToUt = 10.0 / 60.0 / 15.0;  // hours: 0 deg 10 min W
constexpr double kMinute = 1.0 / 1440;                      // days

std::vector<std::string> NumberedEntries() {
  std::vector<std::string> ui(535);
  for (int i = 0; i < 535; ++i) ui[i] = std::string("e").append(std::to_string(i));
  return ui;
}

// Day number of a date of the Julian calendar at 0 h (the test's own count).
double JulianCalendarDay(int day, int month, int year) {
  if (month <= 2) {
    year -= 1;
    month += 12;
  }
  return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day - 1524.5;
}

struct LillyFigure {
  int julianDay, julianMonth, julianYear;  // as the book dates it (Old Style)
  int day, month, year;                    // the same day in the Gregorian calendar
  double localMeanTime;                    // hours
  int quesitedHouse;                       // 0..11, counted from the querent's
  float latitude = kLondonLatitude;        // degrees North
  float longitude = kLondonLongitude;      // degrees, East positive
};

// The figure cast with the factory settings, as the chart window builds a
// question, and ranked and ruled as the wheel's drawing leaves it.
std::unique_ptr<ChartRecord> Cast(const LillyFigure& f) {
  auto c = std::make_unique<ChartRecord>();
  SettingsMenuState state;
  const SettingsReadResult read =
      BuildChartRecord(*c, NumberedEntries(), kSignOnCusp, HORARY_SOURCE_DIR "/data", state);
  EXPECT_TRUE(read.Ok) << read.Message;
  const double hoursUt = f.localMeanTime - f.longitude / 15.0;
  c->JulianDay0h = JulianDay(f.day, f.month, f.year, 0.0f);
  c->JulianDayUT = c->JulianDay0h + hoursUt / 24.0;
  c->UniversalTime = static_cast<float>(hoursUt);
  c->GeoLatitude = f.latitude;
  c->GeoLongitude = f.longitude;
  c->GeocentricLatitude =
      static_cast<float>(f.latitude - 0.19242777777777778 * std::sin(2.0 * f.latitude * kDegToRad));
  c->HouseSystem = kRegiomontanus;
  c->HouseRulerMethod = kSignOnCusp;  // Lilly takes the lord of the sign on the cusp
  c->QuerentHouse = 0;
  c->QuesitedHouse = f.quesitedHouse;
  RecalcChart(*c, 1);
  CalcHouseRulers(*c);
  return c;
}

// The Gregorian date of the table is the book's Julian date: one day count.
void ExpectSameDay(const LillyFigure& f) {
  const double gregorian = JulianDay(f.day, f.month, f.year, 0.0f);
  const double universal = gregorian - DeltaTSeconds(gregorian) / 86400.0;
  EXPECT_NEAR(universal, JulianCalendarDay(f.julianDay, f.julianMonth, f.julianYear), 1e-6);
}

std::vector<int> Listed(const int* side) {
  std::vector<int> v;
  for (int i = 0; i < kSignificatorSlots && side[i] != kEmptySlot; ++i) v.push_back(side[i]);
  return v;
}

double DegreeInSign(double lon) { return lon - 30.0 * SignOf(lon); }

int HouseOf(const ChartRecord& c, int body) {
  for (const SortedPoint& s : c.SortedPoints)
    if (s.Body == body) return s.House;
  return 0;
}

// The proposed significators, checked against Lilly's, and the signs of
// completion run over them with the engine's search.
CompletionRun Judge(const ChartRecord& c, const std::vector<int>& querent,
                    const std::vector<int>& quesited) {
  const SignificatorLists lists = ProposeSignificators(c, kSevenPlanets);
  EXPECT_EQ(Listed(lists.Querent), querent);
  EXPECT_EQ(Listed(lists.Quesited), quesited);
  return FindCompletionEvents(c, lists, kSevenPlanets, NumberedEntries(), EngineSearch());
}

// The event's moment is that of the pair's aspect by the tests' own scan.
void ExpectMomentOfAspect(const ChartRecord& c, const CompletionEvent& e, double angle) {
  const auto scan = FirstPerfection(e.Point1, e.Point2, angle, c.JulianDayUT, 30.0);
  ASSERT_TRUE(scan.has_value());
  EXPECT_NEAR(e.Moment, *scan, kMinute);
}

// Christian Astrology p. 385, "A Lady, if marry the Gentleman desired?".
// Figure of 17 June 1646 (Old Style) in the morning, London, 17 deg 11 min of
// Leo ascending: 27 June 1646 Gregorian; 7 h 33 m 50 s local mean time brings
// that degree up, 7 h 34 m 30 s universal time. Lilly gives the lady the
// ascendant and Sol, its lord, in the terms of Mars, and the gentleman Saturn,
// lord of the seventh, in the south angle with Mars in Taurus; the Moon void
// of course; yet "the Match effected, and all within twenty days following". The program gives the
// lady the Sun and the Moon, the gentleman Saturn, and as first sign of completion the Sun's own
// sextile to Saturn, before the Sun leaves Cancer and within the twenty days.
TEST(LillyCharts, ALadyIfMarryTheGentlemanDesired) {
  const LillyFigure f{17, 6, 1646, 27, 6, 1646, 7 + 33.0 / 60 + 50.0 / 3600, 6};
  ExpectSameDay(f);
  auto c = Cast(f);
  const double* lon = c->EclipticLongitude;
  EXPECT_NEAR(c->HouseCusps()[0], 4 * 30 + 17 + 11.0 / 60, 1.0);  // 17 Leo 11 ascending
  EXPECT_EQ(SignOf(lon[kBodySun]), 3);                            // Cancer,
  EXPECT_LT(DegreeInSign(lon[kBodySun]), 6.0);                    // in the terms of Mars
  for (int b : {kBodySaturn, kBodyMars}) {
    EXPECT_EQ(SignOf(lon[b]), 1) << b;   // Taurus
    EXPECT_EQ(HouseOf(*c, b), 10) << b;  // the south angle
  }
  for (int b : {kBodySun, kBodyMercury, kBodyVenus, kBodyMars, kBodyJupiter, kBodySaturn})
    EXPECT_EQ(c->AspectApplying[kBodyMoon][b], 0) << b;  // the Moon applies to no planet

  const CompletionRun run = Judge(*c, {kBodySun, kBodyMoon}, {kBodySaturn});
  ASSERT_FALSE(run.Events.empty());
  const CompletionEvent& e = run.Events.front();
  EXPECT_EQ(e.Kind, kPerfection);
  EXPECT_EQ(e.Point1, kBodySun);
  EXPECT_EQ(e.Point2, kBodySaturn);
  EXPECT_EQ(c->AspectKind[kBodySun][kBodySaturn], 1);  // by sextile
  ExpectMomentOfAspect(*c, e, 60.0);
  EXPECT_GT(e.Moment - c->JulianDayUT, 0.0);
  EXPECT_LT(e.Moment - c->JulianDayUT, 20.0);  // within twenty days
  EXPECT_EQ(SignOf(BodyLongitude(kBodySun, e.Moment)), SignOf(lon[kBodySun]));  // still in Cancer
}

// Christian Astrology pp. 442-445, "If attaine the Philosopher's Stone?".
// Figure of 27 May 1647 (Old Style), 10 h 37 m before noon, London: 6 June 1647
// Gregorian, 10 h 37 m 40 s universal time. Lilly: "The querent is signified
// by the ascendant, and Mercury Lord thereof; his knowledge by Mars, Lord of
// the ninth"; Mars "in a cadent house, but in his own Terme and Face";
// Mercury and Saturn in Taurus in the terms of Saturn, falling into the ninth;
// Mercury "lately Retrograde and in square of Mars, now moving slowly in his
// direct motion", his second square with Mars "happening not long after,
// while Mercury was in Gemini"; Lilly advised the querent to give it up. The
// program gives the querent Mercury and the Moon, the knowledge Mars, and
// finds no sign of completion: the square is not applying at the figure's
// moment (Mars is the swifter) and perfects only after both have left their
// signs, Mercury in Gemini, as Lilly says.
TEST(LillyCharts, IfAttaineThePhilosophersStone) {
  const LillyFigure f{27, 5, 1647, 6, 6, 1647, 10 + 37.0 / 60, 8};
  ExpectSameDay(f);
  auto c = Cast(f);
  const double* lon = c->EclipticLongitude;
  EXPECT_EQ(SignOf(c->HouseCusps()[0]), 5);       // Virgo ascending, Mercury lord of it
  EXPECT_EQ(SignOf(lon[kBodyMars]), 4);           // Leo:
  EXPECT_GE(DegreeInSign(lon[kBodyMars]), 24.0);  // the term of Mars and the face of Mars
  EXPECT_EQ(HouseOf(*c, kBodyMars), 12);          // cadent
  for (int b : {kBodyMercury, kBodySaturn}) {
    EXPECT_EQ(SignOf(lon[b]), 1) << b;           // Taurus,
    EXPECT_GE(DegreeInSign(lon[b]), 22.0) << b;  // the terms of Saturn
    EXPECT_LT(DegreeInSign(lon[b]), 27.0) << b;
    EXPECT_EQ(HouseOf(*c, b), 9) << b;  // falling into the ninth
  }
  EXPECT_GT(c->DailyMotion[kBodyMercury], 0.0);  // direct,
  EXPECT_LT(c->DailyMotion[kBodyMercury], 0.5);  // slowly

  const CompletionRun run = Judge(*c, {kBodyMercury, kBodyMoon}, {kBodyMars});
  EXPECT_TRUE(run.Events.empty());
  EXPECT_TRUE(run.Skipped.empty());
  EXPECT_EQ(c->AspectKind[kBodyMercury][kBodyMars], 2);      // in square,
  EXPECT_EQ(c->AspectApplying[kBodyMercury][kBodyMars], 0);  // not applying
  // the second square: after Mercury has entered Gemini and Mars left Leo
  const auto second = FirstPerfection(kBodyMercury, kBodyMars, 90.0, c->JulianDayUT, 30.0);
  ASSERT_TRUE(second.has_value());
  EXPECT_LT(*second - c->JulianDayUT, 15.0);                   // not long after
  EXPECT_EQ(SignOf(BodyLongitude(kBodyMercury, *second)), 2);  // Gemini
  EXPECT_EQ(SignOf(BodyLongitude(kBodyMars, *second)), 5);     // Virgo
}

// Christian Astrology pp. 152-153, "A Woman being at my House in the country
// demanded if her Sonne were with his Master or at her owne House". The
// figure's places (25 deg 36 min of Libra ascending, Venus in 22 deg 37 min
// of Gemini, the Moon in the last degrees of Pisces, Jupiter in Libra in the
// ascendant) and Lilly's "the 25 of July following" fix it to 20 July 1638
// (Old Style), a Friday: 30 July 1638 Gregorian, 11 h 52 m local mean time
// brings that degree up, 11 h 53 m universal time. Lilly: "Venus is Lady of
// the Ascendant, and shall signifie her that asked the Question", Jupiter,
// lord of Pisces on the fifth, the youth; "the 25 of July following, at two
// hours after noon, Jupiter and Venus ... came to a Trine aspect, and
// therefore I judged she should see him that very day" - and she did. The
// program gives the mother Venus and the Moon, the son Jupiter, and times the
// first sign of completion at the Venus-Jupiter trine on 25 July (Old Style)
// at about 11 h 30 m, within three hours of Lilly's moment. It names that
// event a frustration by the Moon, which stands between the two in degree
// with her square to Venus already past, where Lilly sees the trine
// perfected; the kind is therefore not checked here.
TEST(LillyCharts, IfHerSonneWereWithHisMasterOrAtHerOwneHouse) {
  const LillyFigure f{20, 7, 1638, 30, 7, 1638, 11 + 52.0 / 60, 4};
  ExpectSameDay(f);
  auto c = Cast(f);
  const double* lon = c->EclipticLongitude;
  EXPECT_NEAR(c->HouseCusps()[0], 6 * 30 + 25 + 36.0 / 60, 1.0);  // 25 Libra 36 ascending
  EXPECT_NEAR(lon[kBodyVenus], 2 * 30 + 22 + 37.0 / 60, 1.0);     // 22 Gemini 37
  EXPECT_EQ(SignOf(lon[kBodyMoon]), 11);                          // Pisces
  EXPECT_GE(DegreeInSign(lon[kBodyMoon]), 25.0);
  EXPECT_EQ(SignOf(lon[kBodyJupiter]), 6);    // Libra,
  EXPECT_EQ(HouseOf(*c, kBodyJupiter), 1);    // in the angle of the East
  EXPECT_EQ(SignOf(c->HouseCusps()[4]), 11);  // Pisces on the fifth
  EXPECT_EQ(SignOf(c->HouseCusps()[3]), 10);  // Saturn lord of the fourth

  const CompletionRun run = Judge(*c, {kBodyVenus, kBodyMoon}, {kBodyJupiter});
  ASSERT_FALSE(run.Events.empty());
  const CompletionEvent& e = run.Events.front();
  EXPECT_EQ(e.Point1, kBodyVenus);
  EXPECT_EQ(e.Point2, kBodyJupiter);
  EXPECT_EQ(c->AspectKind[kBodyVenus][kBodyJupiter], 3);  // applying by trine
  EXPECT_EQ(c->AspectApplying[kBodyVenus][kBodyJupiter], 1);
  ExpectMomentOfAspect(*c, e, 120.0);
  // on 25 July 1638 of the Julian calendar, London's day, near two after noon
  const double localDay = UniversalJulianDay(e.Moment) - kLondonMeanTimeToUt / 24.0;
  const double july25 = JulianCalendarDay(25, 7, 1638);
  EXPECT_GE(localDay, july25);
  EXPECT_LT(localDay, july25 + 1.0);
  EXPECT_NEAR(localDay, july25 + 14.0 / 24, 3.0 / 24);
}

// Christian Astrology p. 439, "If Presbytery shall stand?". Figure of
// 11 March 1646 (Old Style, the year beginning on 25 March: 1647 as years are
// now counted), 4 h 45 m after noon, London, 17 deg of Virgo ascending:
// 21 March 1647 Gregorian, 16 h 45 m 40 s universal time. Lilly takes the
// Presbytery from the ninth, Taurus, with Saturn in it; "Venus Lady of the
// 9th house in Aries her Detriment, and in the 8th of the Figure", with 21
// degrees of Aries to pass, all in the eighth; "before she fully gets out of
// this movable Signe Aries, she first hath occurse to the sinister Square of
// Jupiter ... then of Mars ... all three in the Termes of Saturn"; Jupiter
// leaving his exaltation, Mars in his fall in Cancer, Mercury in Pisces his
// fall, yet angular; the Moon entering the via combusta. He judged it should
// not stand. The program gives the Presbytery Venus, the ascendant Mercury
// and the Moon, and finds no sign of completion: Venus perfects nothing with
// Mercury or the Moon before she leaves Aries, and the squares Lilly names
// come first to Jupiter, then to Mars, in the last degrees of Aries.
TEST(LillyCharts, IfPresbyteryShallStand) {
  const LillyFigure f{11, 3, 1647, 21, 3, 1647, 16.75, 8};
  ExpectSameDay(f);
  auto c = Cast(f);
  const double* lon = c->EclipticLongitude;
  EXPECT_NEAR(c->HouseCusps()[0], 5 * 30 + 17, 1.0);  // 17 Virgo ascending
  EXPECT_EQ(SignOf(c->HouseCusps()[8]), 1);           // Taurus on the ninth,
  EXPECT_EQ(SignOf(lon[kBodySaturn]), 1);             // Saturn in it
  EXPECT_EQ(HouseOf(*c, kBodySaturn), 9);
  EXPECT_EQ(SignOf(lon[kBodyVenus]), 0);                                      // Venus in Aries,
  EXPECT_NEAR(30.0 - DegreeInSign(lon[kBodyVenus]), 21.0, 1.0);               // 21 degrees to pass,
  EXPECT_EQ(HouseOf(*c, kBodyVenus), 8);                                      // in the eighth
  for (int b : {kBodyMars, kBodyJupiter}) EXPECT_EQ(SignOf(lon[b]), 3) << b;  // Cancer
  EXPECT_EQ(SignOf(lon[kBodyMercury]), 11);                                   // Pisces,
  EXPECT_EQ(HouseOf(*c, kBodyMercury), 7);                                    // angular
  EXPECT_EQ(SignOf(lon[kBodyMoon]), 6);                                       // Libra,
  EXPECT_GE(DegreeInSign(lon[kBodyMoon]), 12.0);  // near the via combusta

  const CompletionRun run = Judge(*c, {kBodyMercury, kBodyMoon}, {kBodyVenus});
  EXPECT_TRUE(run.Events.empty());
  EXPECT_TRUE(run.Skipped.empty());
  // Venus's squares: Jupiter's first, then Mars's, both before she leaves
  // Aries, the three then in the terms of Saturn (the last four degrees of
  // Aries and of Cancer)
  const auto jupiter = FirstPerfection(kBodyVenus, kBodyJupiter, 90.0, c->JulianDayUT, 30.0);
  const auto mars = FirstPerfection(kBodyVenus, kBodyMars, 90.0, c->JulianDayUT, 30.0);
  ASSERT_TRUE(jupiter.has_value());
  ASSERT_TRUE(mars.has_value());
  EXPECT_LT(*jupiter, *mars);
  for (const auto& [body, moment] :
       {std::pair{kBodyJupiter, *jupiter}, std::pair{kBodyMars, *mars}})
    for (int b : {kBodyVenus, body}) {
      EXPECT_EQ(SignOf(BodyLongitude(b, moment)), b == kBodyVenus ? 0 : 3) << body << " " << b;
      EXPECT_GE(DegreeInSign(BodyLongitude(b, moment)), 26.0) << body << " " << b;
    }
}

// Christian Astrology, "Of Fish stolen": Lilly's own question, at his house
// at Hersham (51 deg 22 min N, 0 deg 24 min W), when he heard that the fish
// he had bespoken in London were stolen. The figure's places - the Moon in
// Taurus in the ascendant, Mars in 29 deg of Scorpio, Jupiter in Scorpio in
// the angle of the West, Mercury, lord of the second, in Pisces, his fall
// and detriment, the Part of Fortune in 17 deg of Cancer - fix it to the
// morning of 10 February 1637 (Old Style; 1638 as years are now counted):
// 20 February 1638 Gregorian, 9 h local mean time bringing up 4 deg of
// Taurus (the Part of Fortune within a degree of 17 Cancer), 9 h 1 m 36 s
// universal time. The goods are the second house's, Mercury its lord; the
// Moon in the ascendant applies to his sextile, and Lilly found his fish,
// part eaten, and had them again. The program gives the querent Venus, lady
// of Taurus, and the Moon, the goods Mercury, and as first sign of
// completion the Moon's sextile to Mercury, the same day.
TEST(LillyCharts, OfFishStolen) {
  LillyFigure f{10, 2, 1638, 20, 2, 1638, 9.0, 1};
  f.latitude = 51.0f + 22.0f / 60;
  f.longitude = -(24.0f / 60);
  ExpectSameDay(f);
  auto c = Cast(f);
  const double* lon = c->EclipticLongitude;
  EXPECT_NEAR(c->HouseCusps()[0], 30 + 4, 1.0);  // 4 Taurus ascending,
  EXPECT_EQ(SignOf(lon[kBodyMoon]), 1);          // the Moon in Taurus,
  EXPECT_EQ(HouseOf(*c, kBodyMoon), 1);          // in the ascendant
  EXPECT_EQ(SignOf(lon[kBodyMars]), 7);          // Mars in 29 Scorpio
  EXPECT_NEAR(DegreeInSign(lon[kBodyMars]), 29.5, 1.0);
  EXPECT_EQ(SignOf(lon[kBodyJupiter]), 7);   // Jupiter in Scorpio,
  EXPECT_EQ(HouseOf(*c, kBodyJupiter), 7);   // in the West angle
  EXPECT_EQ(SignOf(lon[kBodyMercury]), 11);  // Mercury in Pisces
  EXPECT_EQ(SignOf(c->HouseCusps()[1]), 2);  // Gemini on the second
  const double fortune =
      std::fmod(c->HouseCusps()[0] + lon[kBodyMoon] - lon[kBodySun] + 720.0, 360.0);
  EXPECT_NEAR(fortune, 3 * 30 + 17, 1.0);  // Part of Fortune in 17 Cancer

  const CompletionRun run = Judge(*c, {kBodyVenus, kBodyMoon}, {kBodyMercury});
  ASSERT_FALSE(run.Events.empty());
  const CompletionEvent& e = run.Events.front();
  EXPECT_EQ(e.Kind, kPerfection);
  EXPECT_EQ(e.Point1, kBodyMoon);
  EXPECT_EQ(e.Point2, kBodyMercury);
  EXPECT_EQ(c->AspectKind[kBodyMoon][kBodyMercury], 1);  // applying by sextile
  EXPECT_EQ(c->AspectApplying[kBodyMoon][kBodyMercury], 1);
  ExpectMomentOfAspect(*c, e, 60.0);
  EXPECT_LT(e.Moment - c->JulianDayUT, 0.5);                 // within hours
  EXPECT_EQ(SignOf(BodyLongitude(kBodyMoon, e.Moment)), 1);  // the Moon still in Taurus
}

}  // namespace

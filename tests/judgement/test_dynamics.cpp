// Durations of aspects and sign stays: the deviation against a separation
// computed by the test, orb windows against the test's own root finder,
// windows that never close, sign stays across 0 Aries, and the time axis
// and zoom of the graphs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "chart/chartrecord.h"
#include "engine/astromath.h"
#include "engine/bodies.h"
#include "engine/timing.h"
#include "judgement/dynamics.h"

namespace {

constexpr double kDegTol = 1e-4;       // degrees, single-precision deviation
constexpr double kRootTolDays = 1e-7;  // the test's bisection stops here
constexpr double kSignTolDeg = 1e-3;   // degrees, a sign edge found by the search

// Longitude of a body straight from the driver, degrees [0, 360).
double Lon(int body, double jd) {
  BodyPositions p;
  p.Selector = body;
  p.T = (jd - kJ2000) / kDaysPerJulianCentury;
  CalcBodies(p);
  return std::fmod(std::fmod(p.Longitude[body], 360.0) + 360.0, 360.0);
}

// The shorter arc between two longitudes, by the cosine.
double Arc(double a, double b) { return std::acos(std::cos((a - b) * kDegToRad)) * kRadToDeg; }

// |deviation| of a pair from an aspect angle, the test's own way.
double Off(int a, int b, double angle, double jd) {
  return std::fabs(Arc(Lon(a, jd), Lon(b, jd)) - angle);
}

// The moment the pair leaves the orb, walking away from jd by `probe` days
// and bisecting the step that crosses.
double Leaves(int a, int b, double angle, double orb, double jd, double probe) {
  double in = jd, out = jd;
  while (Off(a, b, angle, out) < orb) {
    in = out;
    out += probe;
  }
  while (std::fabs(out - in) > kRootTolDays) {
    const double mid = (in + out) / 2;
    (Off(a, b, angle, mid) < orb ? in : out) = mid;
  }
  return (in + out) / 2;
}

TEST(Deviation, IsTheSeparationLessTheAngleSignedForTheConjunction) {
  EXPECT_FLOAT_EQ(AspectDeviationOf(10, 350, 0), -20);
  EXPECT_FLOAT_EQ(AspectDeviationOf(350, 10, 0), 20);
  for (int k = 0; k < 26; ++k)
    for (double a = 0; a < 360; a += 17.3)
      for (double b = 0.4; b < 360; b += 23.9) {
        const double dev = AspectDeviationOf(a, b, k);
        // the opposition measures |a - b| against 180, the conjunction the shorter
        // arc signed as a - b, every other kind the shorter arc
        double expected = Arc(a, b) - kAspectAngles[k];
        if (k == 0) expected = std::copysign(Arc(a, b), a - b);
        if (k == 4) {
          ASSERT_NEAR(std::fabs(dev), 180 - Arc(a, b), kDegTol) << a << " " << b;
        } else {
          ASSERT_NEAR(dev, expected, kDegTol) << k << " " << a << " " << b;
        }
      }
  // the driver's longitudes enter unchanged
  const double jd = JulianDay(1, 1, 2000, 0);
  EXPECT_FLOAT_EQ(CalcAspectDeviation(jd, kSun, kMoon, 2),
                  AspectDeviationOf(Lon(kSun, jd), Lon(kMoon, jd), 2));
}

struct OrbCase {
  const char* what;
  int a, b, kind;
  float orb;
  int day, month, year;
};

class OrbWindow : public ::testing::TestWithParam<OrbCase> {};

// The window's ends agree with the test's bisection to a tenth of the
// search's step, and the chart's moment lies inside.
TEST_P(OrbWindow, EndsWhereTheDeviationReachesTheOrb) {
  const OrbCase& c = GetParam();
  DynamicsRecord r;
  r.FirstObject = c.a;
  r.SecondObject = c.b;
  r.DynAspectKind = c.kind;
  r.DynAspectOrb = c.orb;
  const double moment = JulianDay(c.day, c.month, c.year, 12.0f);
  ASSERT_LT(Off(c.a, c.b, kAspectAngles[c.kind], moment), c.orb) << c.what << ": not in orb";
  ASSERT_EQ(CalcAspectOrbWindow(r, moment), DynamicsStatus::kOk);
  const double h = OrbWindowStep(c.a, c.b);
  const double probe = h * 8;
  const double start = Leaves(c.a, c.b, kAspectAngles[c.kind], c.orb, moment, -probe);
  const double end = Leaves(c.a, c.b, kAspectAngles[c.kind], c.orb, moment, probe);
  EXPECT_EQ(r.WindowMoment, moment);
  EXPECT_NEAR(r.WindowStart, start, h / 10) << c.what;
  EXPECT_NEAR(r.WindowEnd, end, h / 10) << c.what;
  EXPECT_FALSE(r.StartOpen || r.EndOpen) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, OrbWindow,
    ::testing::Values(OrbCase{"new moon", kSun, kMoon, 0, 12.0f, 6, 1, 2000},
                      OrbCase{"Moon square Saturn", kMoon, kSaturn, 2, 8.0f, 17, 2, 2024},
                      OrbCase{"Mercury sextile Venus", kMercury, kVenus, 1, 5.0f, 14, 9, 2010},
                      OrbCase{"Mars trine Jupiter", kMars, kJupiter, 3, 6.0f, 8, 3, 2015},
                      OrbCase{"Jupiter and Saturn", kJupiter, kSaturn, 0, 6.0f, 21, 12, 2020},
                      OrbCase{"Venus opposite Saturn", kVenus, kSaturn, 4, 8.0f, 5, 7, 2021}),
    [](const ::testing::TestParamInfo<OrbCase>& info) {
      std::string name = info.param.what;
      for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

TEST(OrbWindowBounds, AWindowThatNeverClosesStopsAtItsBoundWithBothEdgesOpen) {
  // Mercury never stands 30 degrees from the Sun: the conjunction's orb never ends
  DynamicsRecord r;
  r.FirstObject = kSun;
  r.SecondObject = kMercury;
  r.DynAspectOrb = 30;
  const double moment = JulianDay(1, 6, 2005, 0);
  ASSERT_EQ(CalcAspectOrbWindow(r, moment), DynamicsStatus::kOk);
  EXPECT_TRUE(r.StartOpen && r.EndOpen);
  const double reach = kMaxOrbWindowSteps * OrbWindowStep(kSun, kMercury);
  EXPECT_LE(reach, kMaxOrbWindowDays);
  EXPECT_NEAR(r.WindowEnd - moment, reach, 1e-6);
  EXPECT_NEAR(moment - r.WindowStart, reach, 1e-6);
}

TEST(OrbWindowBounds, LatitudeAndSumKindsAndBadInputAreRefusedUntouched) {
  DynamicsRecord r;
  r.FirstObject = kSun;
  r.SecondObject = kMoon;
  r.DynAspectOrb = 5;
  r.WindowStart = 1, r.WindowEnd = 2, r.WindowMoment = 1.5;
  for (int k = 26; k <= 29; ++k) {
    r.DynAspectKind = k;
    EXPECT_EQ(CalcAspectOrbWindow(r, 2451545.0), DynamicsStatus::kUntimedKind) << k;
  }
  r.DynAspectKind = 30;
  EXPECT_EQ(CalcAspectOrbWindow(r, 2451545.0), DynamicsStatus::kBadInput);
  r.DynAspectKind = 0;
  r.SecondObject = 16;  // the Part of Fortune has no motion of its own
  EXPECT_EQ(CalcAspectOrbWindow(r, 2451545.0), DynamicsStatus::kBadInput);
  EXPECT_EQ(r.WindowStart, 1);
  EXPECT_EQ(r.WindowEnd, 2);
  EXPECT_EQ(r.WindowMoment, 1.5);
}

// Venus in Aries on 10 March 2025 turns back into Pisces (27 March) and
// re-enters Aries at the end of April; the Sun in Pisces on 1 March 2000
// runs on into Aries.
TEST(SignStay, RunsFromTheSignsStartToTheNextSignAndStaysNextToItAcrossAries) {
  struct Case {
    int body;
    double jd;
    double lowest;  // degrees into the sign the body reaches at least this low
  };
  // Venus turns direct at 24 deg 37' Pisces, 5.4 degrees before Aries
  const Case cases[] = {{kVenus, JulianDay(10, 3, 2025, 0), -5.38},
                        {kSun, JulianDay(1, 3, 2000, 0), 0}};
  for (const Case& c : cases) {
    DynamicsRecord r;
    r.DynamicsMode = 1;
    r.FirstObject = c.body;
    const double lon = Lon(c.body, c.jd);
    const int sign = static_cast<int>(lon / 30);
    ASSERT_EQ(CalcSignStayWindow(r, c.jd, static_cast<float>(lon)), DynamicsStatus::kOk);
    EXPECT_LT(r.WindowStart, c.jd);
    EXPECT_GT(r.WindowEnd, c.jd);
    EXPECT_NEAR(DegreesIntoSign(Lon(c.body, r.WindowStart), sign), 0, kSignTolDeg) << c.body;
    EXPECT_NEAR(DegreesIntoSign(Lon(c.body, r.WindowEnd), sign), 30, kSignTolDeg) << c.body;
    // sampled over the window the curve never jumps and never leaves [lowest, 30]
    const GraphArea area{0, 500, 0, 100};
    DynamicsSamples s;
    ASSERT_TRUE(SampleDynamics(r, area, static_cast<float>(lon), 0, s));
    double low = 0, previous = 0;
    for (std::size_t i = 0; i < s.LonA.size(); ++i) {
      const double v = DegreesIntoSign(s.LonA[i], sign);
      if (i > 0) {
        ASSERT_LT(std::fabs(v - previous), 1.0) << c.body << " column " << i;
      }
      previous = v;
      low = std::min(low, v);
      ASSERT_LE(v, 30 + kSignTolDeg);
    }
    EXPECT_NEAR(low, c.lowest, 0.02) << c.body;
    // the axis reaches below 0 only for a body that went back, never for one
    // sampled a hair before the sign's start
    EXPECT_NEAR(SignGraphFloor(s, sign), c.lowest, 0.02) << c.body;
    if (c.lowest == 0) {
      EXPECT_EQ(SignGraphFloor(s, sign), 0) << c.body;
    }
    // the same columns again are not sampled anew
    EXPECT_FALSE(SampleDynamics(r, area, static_cast<float>(lon), 0, s));
    EXPECT_EQ(s.Runs, 1);
  }
}

TEST(TimeAxis, AWindowWithoutLengthMapsNoColumnAndCannotBeZoomed) {
  DynamicsRecord r;  // never computed: start and end both 0
  const GraphArea area{65, 585, 44, 392};
  int x = -7;
  EXPECT_EQ(ColumnMoment(r, area, 300), 0);
  EXPECT_FALSE(MomentColumn(r, area, 0, x));
  EXPECT_EQ(x, -7);
  EXPECT_FALSE(ZoomWindow(r, area, 100, 200, false, 3));
  DynamicsSamples s;
  SampleDynamics(r, area, 0, 0, s);  // samples no NaN or infinity either
  for (double lon : s.LonA) EXPECT_TRUE(std::isfinite(lon));
}

TEST(TimeAxis, ADragZoomsLinearlyInsideBeyondTheEndsAndToWholeLocalDays) {
  const GraphArea area{65, 585, 44, 392};
  DynamicsRecord r;
  r.WindowStart = JulianDay(1, 5, 2020, 0);
  r.WindowEnd = r.WindowStart + 52;  // ten columns a day
  const DynamicsRecord before = r;
  // columns map to moments and back
  for (int col = area.Left; col <= area.Right; col += 13) {
    int back = 0;
    ASSERT_TRUE(MomentColumn(r, area, ColumnMoment(r, area, col) + 1e-9, back));
    EXPECT_EQ(back, col);
  }
  // a drag of no width changes nothing
  EXPECT_FALSE(ZoomWindow(r, area, 300, 300, false, 0));
  EXPECT_EQ(r.WindowStart, before.WindowStart);
  // right to left inside the area: the columns' moments, in order
  ASSERT_TRUE(ZoomWindow(r, area, 285, 115, false, 0));
  EXPECT_NEAR(r.WindowStart, before.WindowStart + 5, 1e-9);
  EXPECT_NEAR(r.WindowEnd, before.WindowStart + 22, 1e-9);
  // ten pixels beyond the right end: two more window lengths
  r = before;
  ASSERT_TRUE(ZoomWindow(r, area, area.Left, area.Right + 10, false, 0));
  EXPECT_NEAR(r.WindowEnd, before.WindowEnd + 2 * 52, 1e-9);
  EXPECT_NEAR(r.WindowStart, before.WindowStart, 1e-9);
  // whole days: both ends at a local midnight (zone +3) at or before the moment dragged to
  for (float zone : {3.0f, -5.5f}) {
    r = before;
    ASSERT_TRUE(ZoomWindow(r, area, 113, 287, true, zone));
    for (double edge : {r.WindowStart, r.WindowEnd})
      EXPECT_EQ(LocalMomentText(edge, zone).substr(11), "00:00:00") << zone;
    EXPECT_LE(r.WindowStart, before.WindowStart + 4.8);
    EXPECT_GT(r.WindowStart, before.WindowStart + 3.8);
    EXPECT_LE(r.WindowEnd, before.WindowStart + 22.2);
    EXPECT_GT(r.WindowEnd, before.WindowStart + 21.2);
  }
  // two moments within one local day fall together: nothing changes
  r = before;
  EXPECT_FALSE(ZoomWindow(r, area, 300, 302, true, 0));
  EXPECT_EQ(r.WindowEnd, before.WindowEnd);
}

}  // namespace

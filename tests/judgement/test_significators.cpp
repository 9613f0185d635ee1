// Significators: the proposal from the house rulers in each of its cases,
// the two lists under any sequence of additions, moves and removals, the
// nearness to the Sun across 0 deg Aries, critical degrees, and the point
// description with dignity lines only where the dignity grid has a row.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "horary_charts.h"
#include "judgement/significators.h"

namespace {

using horary_test::PlainChart;
using horary_test::RankPoints;

std::vector<std::string> NumberedEntries() {
  std::vector<std::string> ui(535);
  for (int i = 0; i < 535; ++i) ui[i] = "e" + std::to_string(i);
  return ui;
}

std::vector<int> Listed(const int* side) {
  std::vector<int> v;
  for (int i = 0; i < kSignificatorSlots && side[i] != kEmptySlot; ++i) v.push_back(side[i]);
  return v;
}

struct ProposalCase {
  const char* what;
  int querentRuler;
  int quesitedRuler;
  double moonLon;
  std::vector<int> querent;
  std::vector<int> quesited;
};

TEST(Significators, ProposalFromTheRulersOfTheTwoHouses) {
  const ProposalCase cases[] = {
      {"Saturn and Mars", kBodySaturn, kBodyMars, 100, {kBodySaturn, kBodyMoon}, {kBodyMars}},
      {"both Venus", kBodyVenus, kBodyVenus, 100, {kBodyMoon}, {kBodyVenus}},
      {"querent's Moon", kBodyMoon, kBodyMercury, 100, {kBodyMoon}, {kBodyMercury}},
      {"both Moon, Moon in Leo", kBodyMoon, kBodyMoon, 130, {kBodyMoon}, {kBodySun}},
      {"both Moon, Moon in Cancer", kBodyMoon, kBodyMoon, 100, {kBodyMoon}, {}},
      {"quesited's Moon", kBodyJupiter, kBodyMoon, 100, {kBodyJupiter}, {kBodyMoon}},
      {"Uranus as seven planets see it",
       kBodyUranus,
       kBodyMars,
       100,
       {kBodySaturn, kBodyMoon},
       {kBodyMars}},
  };
  for (const ProposalCase& c : cases) {
    auto chart = PlainChart();
    chart->EclipticLongitude[kBodyMoon] = c.moonLon;
    chart->QuesitedHouse = 19;  // reduced: the eighth house
    std::fill(std::begin(chart->HouseRuler), std::end(chart->HouseRuler), kBodyCrossOfFate);
    chart->HouseRuler[0] = c.querentRuler;
    chart->HouseRuler[7] = c.quesitedRuler;
    const SignificatorLists lists = ProposeSignificators(*chart, kSevenPlanets);
    EXPECT_EQ(Listed(lists.Querent), c.querent) << c.what;
    EXPECT_EQ(Listed(lists.Quesited), c.quesited) << c.what;
  }
  EXPECT_EQ(ClassicRuler(kBodyNeptune, kSevenPlanets), kBodyJupiter);
  EXPECT_EQ(ClassicRuler(kBodyPluto, kSevenPlanets), kBodyMars);
  EXPECT_EQ(ClassicRuler(kBodyPluto, kWithOuterPlanets), kBodyPluto);
  EXPECT_EQ(ClassicRuler(kBodyNorthNode, kSevenPlanets), kBodyNorthNode);
}

// A point standing later on the quesited's list while the querent's list has
// room is moved, on confirmation, never added a second time.
TEST(Significators, APointStandsOnOneSideOnly) {
  SignificatorLists lists;
  lists.Querent[0] = kBodySaturn;
  const int quesited[] = {kBodyMars, kBodyVenus, kBodyJupiter, kBodyMercury};
  for (int i = 0; i < 4; ++i) lists.Quesited[i] = quesited[i];
  EXPECT_EQ(PlanAddSignificator(lists, kQuerentSide, kBodyMercury), AddPlan::kMoveFromOther);
  ASSERT_TRUE(AddSignificator(lists, kQuerentSide, kBodyMercury));
  EXPECT_EQ(Listed(lists.Querent), (std::vector<int>{kBodySaturn, kBodyMercury}));
  EXPECT_EQ(Listed(lists.Quesited), (std::vector<int>{kBodyMars, kBodyVenus, kBodyJupiter}));
  EXPECT_EQ(PlanAddSignificator(lists, kQuerentSide, kBodySaturn), AddPlan::kAlreadyThere);
  EXPECT_EQ(PlanAddSignificator(lists, kQuerentSide, 18), AddPlan::kInvalidPoint);

  // a full side takes nothing, not even a point moved from the other side
  for (int p : {kBodySun, kBodyMoon, kBodyUranus})
    ASSERT_TRUE(AddSignificator(lists, kQuerentSide, p));
  EXPECT_EQ(PlanAddSignificator(lists, kQuerentSide, kBodyNeptune), AddPlan::kSideFull);
  const SignificatorLists before = lists;
  EXPECT_FALSE(AddSignificator(lists, kQuerentSide, kBodyMars));
  EXPECT_EQ(Listed(lists.Quesited), Listed(before.Quesited));
  EXPECT_EQ(Listed(lists.Querent), Listed(before.Querent));
}

// Any sequence of additions and removals keeps both lists gapless, free of
// repeats and disjoint.
TEST(Significators, ListsStayGaplessAndDisjointUnderAnyEdits) {
  std::mt19937 random(11);
  SignificatorLists lists;
  for (int step = 0; step < 5000; ++step) {
    const int side = static_cast<int>(random() % 2);
    if (random() % 3 == 0) {
      RemoveSignificator(lists, side, static_cast<int>(random() % 6) - 1);
    } else {
      AddSignificator(lists, side, static_cast<int>(random() % 20) - 1);
    }
    std::vector<int> all;
    for (const int* s : {lists.Querent, lists.Quesited}) {
      bool gap = false;
      for (int i = 0; i < kSignificatorSlots; ++i) {
        if (s[i] == kEmptySlot)
          gap = true;
        else
          ASSERT_FALSE(gap) << "gap before slot " << i << " at step " << step;
        if (s[i] != kEmptySlot) all.push_back(s[i]);
      }
    }
    std::sort(all.begin(), all.end());
    ASSERT_EQ(std::adjacent_find(all.begin(), all.end()), all.end()) << "repeat at step " << step;
  }
}

TEST(Significators, NearnessToTheSunByTheShorterArc) {
  struct Case {
    double sun, point;
    SunNearness expected;
  };
  const Case cases[] = {
      {359.0, 2.0, SunNearness::kUnderBeams},  // 3 deg across 0 Aries, in another sign
      {2.0, 359.0, SunNearness::kUnderBeams},
      {5.0, 1.0, SunNearness::kCombust},
      {359.9, 0.05, SunNearness::kCazimi},     // 9' apart across 0 Aries
      {10.0, 25.0, SunNearness::kUnderBeams},  // 15 deg in one sign
      {10.0, 28.0, SunNearness::kFree},
      {359.0, 11.0, SunNearness::kFree},  // 12 deg, another sign
      {100.0, 100.0 + 17.0 / 60.0, SunNearness::kCazimi},
      {100.0, 100.0 + 18.0 / 60.0, SunNearness::kCombust},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SunNearnessOf(c.point, c.sun), c.expected) << c.sun << " " << c.point;
}

TEST(Significators, CriticalDegrees) {
  EXPECT_TRUE(IsCriticalDegree(29 + 59.0 / 60));  // last degree of a sign
  EXPECT_TRUE(IsCriticalDegree(12.5));            // floor 12 = floor(360/28)
  EXPECT_TRUE(IsCriticalDegree(30.2));            // first degree of Taurus
  EXPECT_FALSE(IsCriticalDegree(13.5));
  EXPECT_TRUE(IsCriticalDegree(347.9));  // 27 x 360/28 = 347.14
  EXPECT_FALSE(IsCriticalDegree(346.5));
}

TEST(Significators, DescriptionOfAPoint) {
  const std::vector<std::string> ui = NumberedEntries();
  auto chart = PlainChart();
  chart->EclipticLongitude[kBodySun] = 359.0;
  chart->EclipticLongitude[kBodyMercury] = 2.0;
  chart->HouseRuler[0] = kBodyMercury;
  chart->HouseRuler[5] = kBodyMercury;
  chart->HouseRuler[9] = kBodyUranus;  // Saturn's as the seven planets see it
  RankPoints(*chart);
  const DignityGrid grid = CalcDignities(*chart, DignityTables{}, DignityChoice{}, ui).Classic;
  SignificatorLists lists;
  lists.Querent[0] = kBodyMercury;
  lists.Quesited[0] = kBodyMars;

  const auto lines =
      DescribeSignificator(*chart, lists, kQuerentSide, kBodyMercury, kSevenPlanets, grid, ui);
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "p2");
  EXPECT_EQ(lines[1], "e501 s0 e502 1 e503");
  EXPECT_EQ(lines[2], "e504 1,6 e505");
  EXPECT_EQ(lines[3], "e508");  // under the beams across 0 Aries
  EXPECT_EQ(lines[4], " ");     // 2 deg of Aries is no critical degree
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Ess+ = " + (*grid.PointRow(2))[1]), lines.end());

  // with the Sun as the other side's significator the burning does not count
  lists.Quesited[0] = kBodySun;
  const auto withSun =
      DescribeSignificator(*chart, lists, kQuerentSide, kBodyMercury, kSevenPlanets, grid, ui);
  EXPECT_EQ(std::find(withSun.begin(), withSun.end(), "e508"), withSun.end());

  // Saturn rules the tenth through Uranus
  chart->EclipticLongitude[kBodySaturn] = 200.0;
  const auto saturn =
      DescribeSignificator(*chart, lists, kQuesitedSide, kBodySaturn, kSevenPlanets, grid, ui);
  EXPECT_EQ(saturn[2], "e504 10 e505");

  // the Part of Fortune has no dignity row: no dignity lines, no reading past the grid
  const auto fortune = DescribeSignificator(*chart, lists, kQuesitedSide, kBodyPartOfFortune,
                                            kSevenPlanets, grid, ui);
  for (const std::string& line : fortune) EXPECT_EQ(line.find("Ess"), std::string::npos);
  EXPECT_EQ(grid.PointRow(kBodyPartOfFortune), nullptr);
  EXPECT_EQ(grid.PointRow(-1), nullptr);
  EXPECT_NE(grid.PointRow(11), nullptr);
}

}  // namespace

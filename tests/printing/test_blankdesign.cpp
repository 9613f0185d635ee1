// The designer's operations on the blank model against a model of the test's
// own (blanks holding their elements), the checks of the lists, the hit test,
// the page geometry on paper of every size and the element tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "printing/blankdesign.h"

namespace {

// A blank as the test keeps it: its own elements in order.
struct OracleBlank {
  std::string Name;
  int Orientation = 1, Background = 1, Width = 210, Height = 297;
  std::vector<BlankElement> Elements;
};

// The ten lists the oracle's blanks must give.
BlankModel Flatten(const std::vector<OracleBlank>& blanks) {
  BlankModel m;
  for (const OracleBlank& b : blanks) {
    m.Lists[kBlankNames].push_back(b.Name);
    m.Lists[kPageHeights].push_back(std::to_string(b.Height));
    m.Lists[kPageWidths].push_back(std::to_string(b.Width));
    m.Lists[kElementCounts].push_back(std::to_string(b.Elements.size()));
    m.Lists[kOrientations].push_back(std::to_string(b.Orientation));
    m.Lists[kBackgrounds].push_back(std::to_string(b.Background));
    for (const BlankElement& e : b.Elements) {
      m.Lists[kElementKinds].push_back(std::to_string(e.Kind));
      m.Lists[kElementTop].push_back(std::to_string(e.Top));
      m.Lists[kElementLeft].push_back(std::to_string(e.Left));
      m.Lists[kElementBottom].push_back(std::to_string(e.Bottom));
      m.Lists[kElementRight].push_back(std::to_string(e.Right));
    }
  }
  return m;
}

TEST(BlankDesign, RandomEditsMatchAModelOfBlanksHoldingTheirElementsAndKeepTheListsInStep) {
  std::mt19937 random(20261209);
  BlankModel model;
  std::vector<OracleBlank> oracle;
  auto pick = [&](int n) {
    return std::uniform_int_distribution<int>(0, std::max(n - 1, 0))(random);
  };
  for (int step = 0; step < 4000; ++step) {
    const int blanks = static_cast<int>(oracle.size());
    // a blank index one beyond the ends now and then, which must be refused
    const int b = pick(blanks + 2) - 1;
    const bool real = b >= 0 && b < blanks;
    switch (pick(7)) {
      case 0: {
        const std::string name = "B" + std::to_string(step);
        AddBlank(model, name);
        oracle.push_back(OracleBlank{name, 1, 1, 210, 297, {}});
        break;
      }
      case 1:
        EXPECT_EQ(DeleteBlank(model, b), real);
        if (real) oracle.erase(oracle.begin() + b);
        break;
      case 2:
      case 3: {
        const int kind = pick(30), x = pick(800), y = pick(460);
        const bool placed = AddElement(model, b, kind, x, y) >= 0;
        const bool placeable = real && !IsGroupKind(kind);
        EXPECT_EQ(placed, placeable) << "kind " << kind;
        if (placeable) {
          const TRect size = DefaultElementSize(kind);
          oracle[b].Elements.push_back(BlankElement{kind, y, x, y + size.Bottom, x + size.Right});
        }
        break;
      }
      case 4: {
        // an element of the blank, or one of another blank, which must be refused
        const int element = pick(static_cast<int>(model.Lists[kElementKinds].size()) + 1);
        int first = 0;
        for (int i = 0; i < b && real; ++i) first += static_cast<int>(oracle[i].Elements.size());
        const bool ours = real && element >= first &&
                          element < first + static_cast<int>(oracle[b].Elements.size());
        EXPECT_EQ(DeleteElement(model, b, element), ours);
        if (ours) oracle[b].Elements.erase(oracle[b].Elements.begin() + (element - first));
        break;
      }
      case 5:
        EXPECT_EQ(ToggleOrientation(model, b), real);
        if (real) {
          oracle[b].Orientation = 1 - oracle[b].Orientation;
          std::swap(oracle[b].Width, oracle[b].Height);
        }
        break;
      case 6: {
        const int mode = pick(4);
        const bool accepted = real && mode <= 2;
        EXPECT_EQ(SetBackground(model, b, mode), accepted);
        if (accepted) oracle[b].Background = mode;
        break;
      }
    }
    ASSERT_TRUE(CheckBlankModel(model).Ok) << "step " << step;
    ASSERT_EQ(model.Lists, Flatten(oracle).Lists) << "step " << step;
  }
}

TEST(BlankDesign, EveryListOutOfStepOrHoldingANonNumberIsNamed) {
  BlankModel sound;
  AddBlank(sound, "A");
  AddBlank(sound, "B");
  AddElement(sound, 0, kKindWheel, 300, 10);
  AddElement(sound, 1, kKindPositions, 300, 200);
  ASSERT_TRUE(CheckBlankModel(sound).Ok);
  for (int list = 0; list < kBlankListCount; ++list) {
    BlankModel longer = sound;
    longer.Lists[list].push_back("1");
    const BlankCheck check = CheckBlankModel(longer);
    EXPECT_FALSE(check.Ok) << kBlankFileNames[list];
    // one more name makes the per-blank lists the ones too short
    if (list != kBlankNames) {
      EXPECT_EQ(check.List, list) << kBlankFileNames[list];
      EXPECT_EQ(check.Line, -1);
      EXPECT_EQ(check.Have, check.Need + 1);
    }
    if (list == kBlankNames) continue;
    BlankModel bad = sound;
    bad.Lists[list][1] = "1\t2";
    const BlankCheck badCheck = CheckBlankModel(bad);
    EXPECT_FALSE(badCheck.Ok);
    EXPECT_EQ(badCheck.List, list);
    EXPECT_EQ(badCheck.Line, 1);
  }
  BlankModel negative = sound;
  negative.Lists[kElementCounts][0] = "-1";
  EXPECT_FALSE(CheckBlankModel(negative).Ok);
  BlankModel flat = sound;
  flat.Lists[kPageWidths][0] = "0";
  EXPECT_FALSE(CheckBlankModel(flat).Ok);
  // a drop with no blank places nothing
  BlankModel empty;
  EXPECT_EQ(AddElement(empty, 0, kKindWheel, 300, 10), -1);
  EXPECT_TRUE(empty.Lists[kElementKinds].empty());
}

TEST(BlankDesign, HitTestFindsTheGripWithinOnePixelAndDragMovesOnlyWhatIsGrabbed) {
  BlankModel model;
  AddBlank(model, "A");
  const BlankElement r{18, 50, 400, 150, 500};
  SetElement(model, AddElement(model, 0, 18, 400, 50), r);
  ASSERT_EQ(ElementAt(model, 0).Right, 500);
  for (int y = 40; y <= 160; ++y)
    for (int x = 390; x <= 510; ++x) {
      const bool nx = std::abs(x - r.Left) <= 1 || std::abs(x - r.Right) <= 1;
      const bool ny = std::abs(y - r.Top) <= 1 || std::abs(y - r.Bottom) <= 1;
      const bool inX = x >= r.Left && x <= r.Right, inY = y >= r.Top && y <= r.Bottom;
      ElementGrip want = ElementGrip::None;
      if (nx && ny)
        want = ElementGrip::Corner;
      else if (nx && inY)
        want = ElementGrip::Vertical;
      else if (ny && inX)
        want = ElementGrip::Horizontal;
      else if (inX && inY)
        want = ElementGrip::Inside;
      const GripHit hit = HitTest(model, 0, x, y);
      ASSERT_EQ(hit.Grip, want) << x << "," << y;
      if (want == ElementGrip::None) continue;
      BlankModel moved = model;
      DragElement(moved, hit, 7, -3);
      const BlankElement m = ElementAt(moved, 0);
      const bool wholeX = want == ElementGrip::Inside, wholeY = want == ElementGrip::Inside;
      const bool edgeX = want == ElementGrip::Vertical || want == ElementGrip::Corner;
      const bool edgeY = want == ElementGrip::Horizontal || want == ElementGrip::Corner;
      EXPECT_EQ(m.Left - r.Left, wholeX || (edgeX && hit.LeftEdge) ? 7 : 0);
      EXPECT_EQ(m.Right - r.Right, wholeX || (edgeX && !hit.LeftEdge) ? 7 : 0);
      EXPECT_EQ(m.Top - r.Top, wholeY || (edgeY && hit.TopEdge) ? -3 : 0);
      EXPECT_EQ(m.Bottom - r.Bottom, wholeY || (edgeY && !hit.TopEdge) ? -3 : 0);
    }
}

// Papers in printer pixels at 600 pixels per inch (portrait width, height).
struct Paper {
  const char* Name;
  int Width, Height;
};
constexpr Paper kPapers[] = {{"A4", 4961, 7016},
                             {"Letter", 5100, 6600},
                             {"Legal", 5100, 8400},
                             {"A3", 7016, 9921},
                             {"A5", 3496, 4961}};

TEST(BlankDesign, EveryPageFitsEveryPaperInEitherOrientationAndFillsItOneWay) {
  constexpr int kPanelRight = 276;  // pixels
  for (const Paper& paper : kPapers)
    for (bool landscape : {false, true})
      for (int client : {300, 455, 700}) {
        const int pw = landscape ? paper.Height : paper.Width,
                  ph = landscape ? paper.Width : paper.Height;
        const TRect page =
            ScreenPage(783, client, kPanelRight, landscape ? 297 : 210, landscape ? 210 : 297);
        ASSERT_LE(page.Right, 783);
        ASSERT_LE(page.Bottom, client);
        EXPECT_EQ(page.Left, kPanelRight);
        const double s = PrinterScale(page, pw, ph);
        // the page's far corner lands on the paper, on its edge one way
        const BlankElement whole{0, 0, page.Left, page.Bottom, page.Right};
        const TRect printed = PrinterRect(whole, page, s);
        EXPECT_LE(printed.Right, pw) << paper.Name << (landscape ? " landscape" : "");
        EXPECT_LE(printed.Bottom, ph) << paper.Name << (landscape ? " landscape" : "");
        EXPECT_TRUE(std::abs(printed.Right - pw) <= 1 || std::abs(printed.Bottom - ph) <= 1)
            << paper.Name;
        EXPECT_EQ(printed.Left, 0);  // an element at the page's left edge prints at x 0
      }
  // a landscape page on a narrow client is as wide as the room there is
  const TRect narrow = ScreenPage(783, 455, 276, 297, 210);
  EXPECT_EQ(narrow.Width(), 783 - 276);
  EXPECT_GT(narrow.Width(), narrow.Height());
}

TEST(BlankDesign, HeadingsRefuseControlCharactersAndTheirDeletionKeepsEveryElementsText) {
  ElementTree tree;
  for (int n = 0; n <= kHeadingParent; ++n) {
    tree.Depths.push_back(n == 0 ? 0 : (IsGroupKind(n) ? 1 : 2));
    tree.Captions.push_back("node" + std::to_string(n));
  }
  for (const char* bad : {"a\tb", "a\r", "\nb", "", "   "})
    EXPECT_EQ(AddHeading(tree, bad), TreeRefusal::BadText);
  for (const char* text : {"H0", "H1", "H2", "H1"})
    ASSERT_EQ(AddHeading(tree, text), TreeRefusal::None);
  ASSERT_EQ(tree.Count(), kFirstHeading + 4);
  EXPECT_EQ(tree.Depths.back(), tree.Depths[kHeadingParent] + 1);
  // the tree's lines read back as the same tree
  const LineList lines = ElementTreeLines(tree);
  EXPECT_EQ(ElementTreeLines(ParseElementTree(lines)), lines);

  BlankModel model;
  AddBlank(model, "A");
  AddBlank(model, "B");
  for (int kind : {kFirstHeading + 3, kKindWheel, kFirstHeading + 2})
    AddElement(model, 0, kind, 300, 10);
  AddElement(model, 1, kFirstHeading, 300, 10);
  auto texts = [&] {
    std::vector<std::string> t;
    for (int e = 0; e < 4; ++e) t.push_back(tree.Captions[ElementAt(model, e).Kind]);
    return t;
  };
  const std::vector<std::string> before = texts();
  int holder = -1;
  EXPECT_EQ(DeleteHeading(tree, model, kFirstHeading, &holder), TreeRefusal::InUse);
  EXPECT_EQ(holder, 1);
  EXPECT_EQ(DeleteHeading(tree, model, kKindWheel), TreeRefusal::NotAHeading);
  EXPECT_EQ(DeleteHeading(tree, model, kFirstHeading + 1), TreeRefusal::None);
  EXPECT_EQ(tree.Count(), kFirstHeading + 3);
  EXPECT_EQ(texts(), before);
  EXPECT_TRUE(CheckBlankModel(model).Ok);
}

}  // namespace

// A drawing lent another target gets its own back: after the drawing, after
// a drawing that fails, and after nested loans.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "platform/drawtarget.h"
#include "platform/nullcanvas.h"

namespace {

// Records the target of each drawing; fails on request.
class Recorder : public TDrawing {
 public:
  DrawTarget Target() const override { return target_; }
  void SetTarget(const DrawTarget& target) override { target_ = target; }
  void DrawPicture() override {
    drawn.push_back(target_);
    if (fail) throw std::runtime_error("drawing failed");
  }
  std::vector<DrawTarget> drawn;
  bool fail = false;

 private:
  DrawTarget target_{nullptr, TRect{0, 0, 640, 480}, kColorModeFull, DrawPurpose::Window};
};

void ExpectOwn(const DrawTarget& t) {
  EXPECT_EQ(t.Canvas, nullptr);
  EXPECT_EQ(t.Rect.Right, 640);
  EXPECT_EQ(t.Rect.Bottom, 480);
  EXPECT_EQ(t.ColorMode, kColorModeFull);
  EXPECT_EQ(t.Purpose, DrawPurpose::Window);
}

TEST(DrawTargetGuard, TheWindowGetsItsOwnTargetBackWhateverTheDrawingDid) {
  Recorder window;
  const DrawTarget exportTarget{nullptr, TRect{0, 0, 300, 200}, kColorModeMonochrome,
                                DrawPurpose::Export};
  DrawOnto(window, exportTarget);
  ASSERT_EQ(window.drawn.size(), 1u);
  EXPECT_EQ(window.drawn[0].ColorMode, kColorModeMonochrome);
  EXPECT_EQ(window.drawn[0].Purpose, DrawPurpose::Export);
  EXPECT_EQ(window.drawn[0].Rect.Right, 300);
  ExpectOwn(window.Target());

  window.fail = true;
  EXPECT_THROW(DrawOnto(window, exportTarget), std::runtime_error);
  ExpectOwn(window.Target());

  // a print lent inside an export: each loan ends with the target before it
  window.fail = false;
  {
    DrawTargetGuard outer(window, exportTarget);
    {
      DrawTargetGuard inner(
          window, DrawTarget{nullptr, TRect{10, 10, 50, 50}, kColorModePlain, DrawPurpose::Print});
      EXPECT_EQ(window.Target().Purpose, DrawPurpose::Print);
    }
    EXPECT_EQ(window.Target().Purpose, DrawPurpose::Export);
    EXPECT_EQ(window.Target().ColorMode, kColorModeMonochrome);
  }
  ExpectOwn(window.Target());
}

// A canvas on an off-screen image, as a print page's picture is.
class ImageCanvas : public TNullCanvas {
 public:
  bool OnImage() const override { return true; }
};

// Every target kept in a window's fields comes back as it was stored: a
// print onto a page image takes a copy of the picture (flag 0), a print
// onto the printer's canvas is drawn in place (flag 1), an export is flag 2.
TEST(DrawTargetFields, EachPurposeComesBackFromTheWindowsFields) {
  ImageCanvas page;
  TNullCanvas printer;
  const DrawTarget targets[] = {
      {&page, TRect{10, 20, 110, 220}, kColorModePlain, DrawPurpose::Print},
      {&printer, TRect{5, 6, 7, 8}, kColorModeMonochrome, DrawPurpose::Print},
      {&page, TRect{0, 0, 300, 200}, kColorModeFull, DrawPurpose::Export},
      {nullptr, TRect{0, 0, 640, 480}, kColorModeFull, DrawPurpose::Window}};
  const int clearedFlag[] = {0, 1, 2, -1};
  for (int i = 0; i < 4; ++i) {
    const DrawTarget& t = targets[i];
    int rect[4] = {};
    int colorMode = -1;
    std::uint8_t flags[3] = {};
    TCanvas* drawOn = StoreTargetFields(t, rect, colorMode, flags);
    EXPECT_EQ(drawOn, t.Purpose == DrawPurpose::Window ? nullptr : t.Canvas) << "target " << i;
    for (int f = 0; f < 3; ++f)
      EXPECT_EQ(flags[f], f == clearedFlag[i] ? 0 : 1) << "target " << i << ", flag " << f;
    const DrawTarget back = TargetOfFields(t.Canvas, rect, colorMode, flags);
    EXPECT_EQ(back.Purpose, t.Purpose) << "target " << i;
    EXPECT_EQ(back.ColorMode, t.ColorMode) << "target " << i;
    EXPECT_EQ(back.Rect.Left, t.Rect.Left);
    EXPECT_EQ(back.Rect.Top, t.Rect.Top);
    EXPECT_EQ(back.Rect.Right, t.Rect.Right);
    EXPECT_EQ(back.Rect.Bottom, t.Rect.Bottom);
  }
}

}  // namespace

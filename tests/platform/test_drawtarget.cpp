// A drawing lent another target gets its own back: after the drawing, after
// a drawing that fails, and after nested loans.
#include "platform/drawtarget.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

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
  const DrawTarget exportTarget{nullptr, TRect{0, 0, 300, 200}, kColorModeMonochrome, DrawPurpose::Export};
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
      DrawTargetGuard inner(window, DrawTarget{nullptr, TRect{10, 10, 50, 50}, kColorModePlain, DrawPurpose::Print});
      EXPECT_EQ(window.Target().Purpose, DrawPurpose::Print);
    }
    EXPECT_EQ(window.Target().Purpose, DrawPurpose::Export);
    EXPECT_EQ(window.Target().ColorMode, kColorModeMonochrome);
  }
  ExpectOwn(window.Target());
}

}  // namespace

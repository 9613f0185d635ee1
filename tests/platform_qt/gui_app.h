// One QGuiApplication for the whole test run: fonts and painting need it.
// The tests run on the offscreen platform; the application object lives until
// the process ends.
#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QWindow>

inline void EnsureGuiApplication() {
  if (QGuiApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "test_platform_qt";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
}

// Base fixture: application up before each test, no window left after it.
class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }
  void TearDown() override { EXPECT_TRUE(QGuiApplication::topLevelWindows().isEmpty()); }
};

// Bounding box of the pixels of an image that differ from a background.
struct InkBox {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // pixels, inclusive
  int count = 0;                                               // pixels
};

inline InkBox FindInk(const QImage& image, QRgb background) {
  InkBox box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF)) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x);
        box.bottom = std::max(box.bottom, y);
        ++box.count;
      }
  return box;
}

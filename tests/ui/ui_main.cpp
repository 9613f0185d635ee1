// Test entry of the window tests: one widget application for the whole run,
// on the offscreen platform, with the glyph faces loaded.
#include <gtest/gtest.h>

#include "platform/qt/glyphfont.h"
#include "platform/qt/messages.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  GuardedApplication app(argc, argv);
  LoadGlyphFaces();
  return RUN_ALL_TESTS();
}

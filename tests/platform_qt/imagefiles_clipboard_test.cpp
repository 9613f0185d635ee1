// Pictures to BMP and PNG files and back, and clipboard round trips.
#include <QClipboard>
#include <QFile>

#include "platform/qt/clipboard.h"
#include "platform/qt/imagefiles.h"
#include "services_support.h"

namespace {

class ImageFilesTest : public WidgetTest {};
class ClipboardTest : public WidgetTest {};

// A small picture whose every pixel differs from its neighbours. Odd width,
// so BMP rows need padding to four bytes.
QImage PatternImage(QImage::Format format, bool varyAlpha) {
  QImage image(7, 5, format);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const int alpha = varyAlpha ? 255 - 40 * y : 255;
      image.setPixel(
          x, y, qRgba((x * 37 + 11) & 255, (y * 51 + 7) & 255, (x * y * 13 + 90) & 255, alpha));
    }
  return image;
}

// Compares pixels; alphaToo also compares the alpha channel.
void ExpectSamePixels(const QImage& expected, const QImage& actual, bool alphaToo) {
  ASSERT_EQ(actual.size(), expected.size());
  const QRgb mask = alphaToo ? 0xFFFFFFFFu : 0x00FFFFFFu;
  for (int y = 0; y < expected.height(); ++y)
    for (int x = 0; x < expected.width(); ++x)
      ASSERT_EQ(actual.pixel(x, y) & mask, expected.pixel(x, y) & mask)
          << "pixel " << x << "," << y;
}

std::string ReadAll(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

TEST_F(ImageFilesTest, BmpKeepsEveryPixelInTwentyFourBits) {
  ScratchFolder folder;
  const QImage image = PatternImage(QImage::Format_RGB32, false);
  std::string error;
  ASSERT_TRUE(SaveImageBmp(image, folder / "bmp1.bmp", &error)) << error;
  const std::string bytes = ReadAll(folder / "bmp1.bmp");
  // Bitmap file header "BM", then the bit count at offset 28 of the info header.
  ASSERT_GT(bytes.size(), 30u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(bytes[28]) | static_cast<unsigned char>(bytes[29]) << 8, 24);
  ExpectSamePixels(image, QImage(QString::fromStdString(folder / "bmp1.bmp")), false);
}

TEST_F(ImageFilesTest, BmpOfATransparentPictureKeepsTheColours) {
  ScratchFolder folder;
  const QImage image = PatternImage(QImage::Format_ARGB32, true);
  ASSERT_TRUE(SaveImageBmp(image, folder / "alpha.bmp"));
  const QImage loaded(QString::fromStdString(folder / "alpha.bmp"));
  ExpectSamePixels(image, loaded, false);
  EXPECT_FALSE(loaded.hasAlphaChannel());
}

TEST_F(ImageFilesTest, PngKeepsColoursAndAlpha) {
  ScratchFolder folder;
  const QImage image = PatternImage(QImage::Format_ARGB32, true);
  ASSERT_TRUE(SaveImagePng(image, folder / "Карта.png"));
  const QImage loaded =
      QImage(QString::fromStdString(folder / "Карта.png")).convertToFormat(QImage::Format_ARGB32);
  ExpectSamePixels(image, loaded, true);
}

TEST_F(ImageFilesTest, SavingReplacesTheOldFileWholeAndLeavesNoScratchFiles) {
  ScratchFolder folder;
  folder.Write("bmp1.bmp", "old contents");
  const QImage image = PatternImage(QImage::Format_RGB32, false);
  ASSERT_TRUE(SaveImageBmp(image, folder / "bmp1.bmp"));
  ExpectSamePixels(image, QImage(QString::fromStdString(folder / "bmp1.bmp")), false);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"bmp1.bmp"});
}

TEST_F(ImageFilesTest, AFailedSaveReportsThePathAndKeepsTheOldFile) {
  ScratchFolder folder;
  std::string error;
  EXPECT_FALSE(
      SaveImageBmp(PatternImage(QImage::Format_RGB32, false), folder / "BMP/bmp1.bmp", &error));
  EXPECT_EQ(error, "Cannot create file " + folder / "BMP/bmp1.bmp");
  EXPECT_FALSE(QFile::exists(QString::fromStdString(folder / "BMP")));

  folder.Write("old.png", "old contents");
  EXPECT_FALSE(SaveImagePng(QImage(), folder / "old.png", &error));
  EXPECT_EQ(ReadAll(folder / "old.png"), "old contents");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"old.png"});
}

TEST_F(ClipboardTest, TextTravelsAsUnicodeAndComesBackInCodePage1251) {
  // "Карта\tвопроса" in code page 1251 bytes.
  const std::string text = "\xCA\xE0\xF0\xF2\xE0\t\xE2\xEE\xEF\xF0\xEE\xF1\xE0";
  CopyTextToClipboard(text);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("Карта\tвопроса"));
  EXPECT_EQ(ClipboardText(), text);

  // Text put there by another program: the euro sign is in the code page
  // (0x88), a CJK character is not.
  QGuiApplication::clipboard()->setText(QString::fromUtf8("€中"));
  EXPECT_EQ(ClipboardText(), "\x88?");
}

TEST_F(ClipboardTest, ImageRoundTripKeepsThePixels) {
  const QImage image = PatternImage(QImage::Format_RGB32, false);
  ASSERT_TRUE(CopyImageToClipboard(image));
  ExpectSamePixels(image, ClipboardImage(), false);

  // A null picture is refused and the clipboard keeps the last one.
  EXPECT_FALSE(CopyImageToClipboard(QImage()));
  ExpectSamePixels(image, ClipboardImage(), false);
}

}  // namespace

// Print jobs written as PDF files when no printer is to be used.
#include "platform/qt/printing_device.h"

#include <QFile>
#include <QPainter>

#include "services_support.h"

namespace {

// A4 is 210 mm by 297 mm; at 600 pixels per inch (25.4 mm) that is
// 4960.6 by 7015.7 pixels. Rounding of the sheet size may move an edge by a
// pixel or two.
constexpr double kA4WidthPx = 210.0 / 25.4 * 600.0;   // pixels
constexpr double kA4HeightPx = 297.0 / 25.4 * 600.0;  // pixels
constexpr double kPageTolerancePx = 3.0;              // pixels

// "Бланк 1" in code page 1251.
const std::string kBlankTitle = "\xC1\xEB\xE0\xED\xEA 1";

class PrintingDeviceTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    device.SetPrintToPdf(true);
    device.SetPdfFolder(folder.Path());
  }
  ScratchFolder folder;
  PrintDevice device;
};

std::string ReadAll(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

// Prints a job of the given number of pages, each with a filled rectangle.
void PrintPages(PrintDevice& device, const std::string& title, int pages) {
  std::string error;
  ASSERT_TRUE(device.BeginDoc(title, &error)) << error;
  for (int page = 0; page < pages; ++page) {
    if (page > 0) {
      ASSERT_TRUE(device.NewPage());
    }
    device.Painter()->fillRect(100, 100, device.PageWidth() / 2, 300, Qt::black);
  }
  ASSERT_TRUE(device.EndDoc(&error)) << error;
}

TEST_F(PrintingDeviceTest, AJobBecomesAPdfFileNamedAfterItsTitle) {
  EXPECT_TRUE(device.PrintsToPdf());
  std::string error;
  ASSERT_TRUE(device.BeginDoc(kBlankTitle, &error)) << error;
  EXPECT_TRUE(device.Printing());
  ASSERT_NE(device.Painter(), nullptr);
  EXPECT_EQ(device.Painter()->device(), device.Device());
  EXPECT_NEAR(device.PageWidth(), kA4WidthPx, kPageTolerancePx);
  EXPECT_NEAR(device.PageHeight(), kA4HeightPx, kPageTolerancePx);
  device.Painter()->drawLine(0, 0, device.PageWidth(), device.PageHeight());
  ASSERT_TRUE(device.EndDoc(&error)) << error;

  EXPECT_FALSE(device.Printing());
  EXPECT_EQ(device.Painter(), nullptr);
  EXPECT_EQ(device.OutputFile(), folder / "Бланк 1.pdf");
  EXPECT_EQ(ReadAll(device.OutputFile()).substr(0, 5), "%PDF-");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"Бланк 1.pdf"});  // no scratch file left
}

TEST_F(PrintingDeviceTest, LandscapeSwapsThePageSides) {
  device.SetOrientation(PageOrientation::Landscape);
  // Known before the job starts, as the page scale needs it.
  EXPECT_NEAR(device.PageWidth(), kA4HeightPx, kPageTolerancePx);
  EXPECT_NEAR(device.PageHeight(), kA4WidthPx, kPageTolerancePx);
  ASSERT_TRUE(device.BeginDoc("landscape"));
  EXPECT_NEAR(device.PageWidth(), kA4HeightPx, kPageTolerancePx);
  EXPECT_NEAR(device.PageHeight(), kA4WidthPx, kPageTolerancePx);
  ASSERT_TRUE(device.EndDoc());
}

TEST_F(PrintingDeviceTest, EachJobIsItsOwnFileAndNoneIsOverwritten) {
  PrintPages(device, kBlankTitle, 1);
  PrintPages(device, kBlankTitle, 2);
  EXPECT_EQ(device.OutputFile(), folder / "Бланк 1 (2).pdf");
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"Бланк 1 (2).pdf", "Бланк 1.pdf"}));
  // The page tree of the second file counts two pages.
  EXPECT_NE(ReadAll(folder / "Бланк 1 (2).pdf").find("/Count 2"), std::string::npos);
  EXPECT_NE(ReadAll(folder / "Бланк 1.pdf").find("/Count 1"), std::string::npos);
}

TEST_F(PrintingDeviceTest, TitlesThatAreNoFileNamesAreMadeSafe) {
  PrintPages(device, "a/b", 1);
  EXPECT_EQ(device.OutputFile(), folder / "a_b.pdf");
  PrintPages(device, "", 1);
  EXPECT_EQ(device.OutputFile(), folder / "document.pdf");
  PrintPages(device, "..", 1);
  EXPECT_EQ(device.OutputFile(), folder / "document (2).pdf");
}

TEST_F(PrintingDeviceTest, AnAbortedJobLeavesNoFile) {
  ASSERT_TRUE(device.BeginDoc("aborted"));
  device.Painter()->drawLine(0, 0, 100, 100);
  device.Abort();
  EXPECT_FALSE(device.Printing());
  EXPECT_TRUE(folder.Names().empty());
  EXPECT_TRUE(device.OutputFile().empty());

  // A device destroyed in the middle of a job drops it too.
  {
    PrintDevice other;
    other.SetPrintToPdf(true);
    other.SetPdfFolder(folder.Path());
    ASSERT_TRUE(other.BeginDoc("dropped"));
  }
  EXPECT_TRUE(folder.Names().empty());
}

TEST_F(PrintingDeviceTest, JobCallsOutOfOrderAreRefused) {
  std::string error;
  EXPECT_FALSE(device.EndDoc(&error));
  EXPECT_EQ(error, "Printer is not currently printing");
  EXPECT_FALSE(device.NewPage());
  ASSERT_TRUE(device.BeginDoc("one"));
  EXPECT_FALSE(device.BeginDoc("two", &error));
  EXPECT_EQ(error, "Printing in progress");
  EXPECT_TRUE(device.EndDoc());
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"one.pdf"});
}

TEST_F(PrintingDeviceTest, AMissingPdfFolderFailsTheJobWithThePath) {
  device.SetPdfFolder(folder / "Print");
  std::string error;
  EXPECT_FALSE(device.BeginDoc("x", &error));
  EXPECT_EQ(error, "Cannot create file " + folder / "Print/x.pdf");
  EXPECT_FALSE(device.Printing());
  EXPECT_EQ(device.Painter(), nullptr);
}

}  // namespace

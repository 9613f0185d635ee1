// Blanks inside the started program: the shipped blanks printed through the
// print command into one PDF document (read back with the PDF tools: pages,
// orientation, text, ink within the elements, greys only in a monochrome
// blank), the windows that drew for the print getting their own target back,
// the designer's edits through its handlers, and template files out of step.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextEdit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "chart/ui/localspacechart.h"
#include "chart/ui/picturechart.h"
#include "chart/ui/positionplanets.h"
#include "engine/astromath.h"
#include "judgement/ui/affeticnew.h"
#include "judgement/ui/dynplanasp.h"
#include "judgement/ui/hourwindows.h"
#include "judgement/ui/judgementui.h"
#include "judgement/ui/radical.h"
#include "judgement/ui/significatorswindow.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/program.h"
#include "mainwindow/ui/smalldialogs.h"
#include "mainwindow/uistrings.h"
#include "platform/qt/canvas.h"
#include "platform/qt/glyphfont.h"
#include "platform/qt/messages.h"
#include "platform/qt/printing_device.h"
#include "platform/text/cp1251.h"
#include "printing/blankdesign.h"
#include "printing/ui/blanksdoc.h"
#include "printing/ui/printdiziner.h"
#include "windowtest.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRenderDpi = 30;  // pixels per inch of the page images read back
constexpr double kPdfPixel =
    double(PrintDevice::kPdfResolution) / kRenderDpi;  // printer pixels per image pixel
constexpr int kInkLevel = 200;                         // darker than this in any channel is ink
constexpr int kFooterBand = 200;                       // printer pixels above the bottom edge

std::string Shell(const std::string& command) {
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  char buffer[4096];
  while (pipe && fgets(buffer, sizeof buffer, pipe.get())) out += buffer;
  return out;
}

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool IsInk(QRgb p) { return qRed(p) < kInkLevel || qGreen(p) < kInkLevel || qBlue(p) < kInkLevel; }

bool SameTarget(const DrawTarget& a, const DrawTarget& b) {
  return a.Canvas == b.Canvas && a.ColorMode == b.ColorMode && a.Purpose == b.Purpose &&
         a.Rect.Left == b.Rect.Left && a.Rect.Top == b.Rect.Top && a.Rect.Right == b.Rect.Right &&
         a.Rect.Bottom == b.Rect.Bottom;
}

// A word of a PDF page as the PDF tools read it back: its text and its box
// in points from the page's top left corner.
struct PdfWord {
  double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  std::string text;  // UTF-8
};

std::vector<PdfWord> PdfWords(const std::string& pdf, int page) {
  const std::string html = Shell("pdftotext -bbox -f " + std::to_string(page) + " -l " +
                                 std::to_string(page) + " '" + pdf + "' -");
  std::vector<PdfWord> words;
  const QRegularExpression word(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  for (auto it = word.globalMatch(QString::fromStdString(html)); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    PdfWord w{m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
              m.captured(4).toDouble(), m.captured(5).toStdString()};
    // the PDF tools escape the markup characters of the text
    for (const auto& [escaped, plain] : {std::pair<std::string, std::string>{"&lt;", "<"},
                                         {"&gt;", ">"},
                                         {"&quot;", "\""},
                                         {"&amp;", "&"}})
      for (std::size_t at = w.text.find(escaped); at != std::string::npos;
           at = w.text.find(escaped, at))
        w.text.replace(at, escaped.size(), plain);
    words.push_back(w);
  }
  return words;
}

bool Overlap(const PdfWord& a, const PdfWord& b) {
  return a.xMin < b.xMax && b.xMin < a.xMax && a.yMin < b.yMax && b.yMin < a.yMax;
}

class Blanks : public ProgramWindowTest {
 protected:
  void Start() {
    ProgramWindowTest::Start();
    // the blanks as the main window's first showing loads them
    ASSERT_TRUE(LoadBlankModel(folder_.string() + "/Print", ProgramBlanks()).ok);
    const std::string problem = AdoptLoadedBlanks();
    if (!problem.empty()) ShowMessage(problem);
    windows_->PrintDiziner->SelectBlank(0);
    PagePrinter().SetPrintToPdf(true);
  }
  void MoveChart(float universalTime) { SetUniversalMoment(6, 1, 2000, universalTime); }
  void TearDown() override {
    if (windows_) {
      if (windows_->BlanksDoc->isVisible()) windows_->BlanksDoc->close();
      windows_.reset();
    }
    PagePrinter().SetPrintToPdf(false);
    SetPrintDialogRunner(nullptr);
    ProgramWindowTest::TearDown();
  }
  std::string Entry(int n) const { return form_->UiText.Entry(n); }
};

// The designer's print button asks the print dialog first, as the print
// command does, so a job can be cancelled there; on OK both print into the
// same PDF folder (no printer is set up here) and say where.
TEST_F(Blanks, TheDesignersPrintButtonAsksThePrintDialogAsThePrintCommandDoes) {
  Start();
  TPrintDiziner& designer = *windows_->PrintDiziner;
  designer.PrintMode = 0;
  designer.SelectBlank(0);
  int asked = 0;
  bool answer = false;
  SetPrintDialogRunner([&](QWidget*) {
    ++asked;
    return answer;
  });
  const auto pdfFiles = [this] {
    int n = 0;
    if (fs::exists(folder_ / "PDF"))
      for (const auto& e : fs::directory_iterator(folder_ / "PDF")) n += e.is_regular_file();
    return n;
  };
  messages_.clear();
  designer.BitBtn5Click();  // cancelled in the dialog
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(pdfFiles(), 0);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(designer.PrintMode, 0);

  answer = true;
  designer.BitBtn5Click();
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(designer.PrintMode, 0);
  EXPECT_EQ(pdfFiles(), 1);
  const fs::path fromDesigner = PagePrinter().OutputFile();
  EXPECT_EQ(fromDesigner.parent_path(), folder_ / "PDF");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0],
            FillEntry(Entry(kUiEntryPrintedToPdf), {Utf8ToCp1251(fromDesigner.string())}));

  form_->Item("N47")->trigger();
  windows_->BlanksDoc->SetTicked(0, true);
  answer = false;
  form_->Item("N18")->trigger();
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(pdfFiles(), 1);
  answer = true;
  form_->Item("N18")->trigger();
  EXPECT_EQ(asked, 4);
  EXPECT_EQ(pdfFiles(), 2);
  EXPECT_EQ(fs::path(PagePrinter().OutputFile()).parent_path(), folder_ / "PDF");
  EXPECT_EQ(messages_.size(), 2u);

  // the dialog itself has nothing to offer without a printer: it lets the job go on
  SetPrintDialogRunner(nullptr);
  designer.BitBtn5Click();
  EXPECT_EQ(pdfFiles(), 3);
  designer.PrintMode = -1;
}

TEST_F(Blanks, TheShippedBlanksPrintAsOneDocumentWithTheirElementsInkedWithinTheirRectangles) {
  Start();
  chart_->Chart.ChartName = Utf8ToCp1251("Проба печати");
  // the planet parameters are left from another moment of the chart
  TAstronom& astronom = *windows_->Astronom;
  astronom.FillPlanetParameters();
  const std::string earlierCell = astronom.Cell(1, 1);
  MoveChart(18.0f);
  const DrawTarget chartOwn = chart_->Target();
  const DrawTarget positionsOwn = windows_->PositionPlanets->Target();
  const DrawTarget spaceOwn = windows_->LocalSpaceChart->Target();
  const DrawTarget hoursOwn = windows_->PlanetHour->Target();
  const DrawTarget dignitiesOwn = windows_->Affeticnew->Target();

  // a fourth blank holding the sign graph the dynamics window was asked for,
  chart_->FormActivate();
  windows_->DynPlanAsp->ShowSignDynamics(0);
  ASSERT_GT(windows_->DynPlanAsp->SampleRuns(), 0);
  const DrawTarget dynamicsOwn = windows_->DynPlanAsp->Target();
  windows_->DynPlanAsp->close();
  // with the kinds the shipped blanks lack: the aspect graph's place and the lunar days
  AddBlank(ProgramBlanks(), "D");
  const BlankElement added[] = {{kKindSignDynamics, 20, 300, 220, 570},
                                {kKindAspectDynamics, 230, 300, 330, 570},
                                {kKindLunarDays, 340, 300, 440, 570}};
  for (const BlankElement& e : added)
    SetElement(ProgramBlanks(), AddElement(ProgramBlanks(), 3, e.Kind, e.Left, e.Top), e);
  const int blanks = BlankCount(ProgramBlanks());

  // printing is there only while the choice of blanks is open
  EXPECT_FALSE(form_->Item("N18")->isEnabled());
  form_->Item("N47")->trigger();
  TBlanksDoc& choice = *windows_->BlanksDoc;
  ASSERT_TRUE(choice.isVisible());
  ASSERT_TRUE(form_->Item("N18")->isEnabled());
  ASSERT_EQ(choice.CheckListBox1->count(), blanks);
  form_->Item("N18")->trigger();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_.back(), Entry(433));  // nothing ticked
  for (int b = 0; b < blanks; ++b) choice.SetTicked(b, true);
  messages_.clear();
  form_->Item("N18")->trigger();
  ASSERT_EQ(messages_.size(), 1u) << messages_.front();
  const std::string pdf = PagePrinter().OutputFile();
  EXPECT_EQ(messages_.back(), FillEntry(Entry(kUiEntryPrintedToPdf), {Utf8ToCp1251(pdf)}));
  ASSERT_TRUE(fs::exists(pdf));
  choice.close();
  EXPECT_FALSE(form_->Item("N18")->isEnabled());

  // every window that drew has its own target and colour mode back; the
  // table was filled from the chart as it is now
  EXPECT_TRUE(SameTarget(chart_->Target(), chartOwn));
  EXPECT_TRUE(SameTarget(windows_->PositionPlanets->Target(), positionsOwn));
  EXPECT_TRUE(SameTarget(windows_->LocalSpaceChart->Target(), spaceOwn));
  EXPECT_TRUE(SameTarget(windows_->PlanetHour->Target(), hoursOwn));
  EXPECT_TRUE(SameTarget(windows_->Affeticnew->Target(), dignitiesOwn));
  EXPECT_TRUE(SameTarget(windows_->DynPlanAsp->Target(), dynamicsOwn));
  const std::string printedCell = astronom.Cell(1, 1);
  astronom.FillPlanetParameters();
  EXPECT_EQ(printedCell, astronom.Cell(1, 1));
  EXPECT_NE(printedCell, earlierCell);

  // one document, a page per blank, the landscape blank on a landscape page
  const std::string info = Shell("pdfinfo -f 1 -l 9 '" + pdf + "'");
  int pages = 0;
  std::vector<std::pair<double, double>> sizes;
  for (const QString& line : QString::fromStdString(info).split('\n')) {
    const std::string l = line.toStdString();
    double w = 0, h = 0;
    int n = 0;
    if (std::sscanf(l.c_str(), "Pages: %d", &n) == 1) pages = n;
    if (std::sscanf(l.c_str(), "Page %d size: %lf x %lf", &n, &w, &h) == 3)
      sizes.emplace_back(w, h);
  }
  EXPECT_EQ(pages, blanks) << info;
  ASSERT_EQ(sizes.size(), static_cast<std::size_t>(blanks)) << info;
  constexpr double kA4Short = 595.28, kA4Long = 841.89, kPointTolerance = 1.0;  // points
  for (int b = 0; b < blanks; ++b) {
    const bool portrait = BlankValue(ProgramBlanks(), kOrientations, b) == 1;
    EXPECT_NEAR(sizes[b].first, portrait ? kA4Short : kA4Long, kPointTolerance) << "page " << b + 1;
    EXPECT_NEAR(sizes[b].second, portrait ? kA4Long : kA4Short, kPointTolerance)
        << "page " << b + 1;
  }

  const std::string text = Shell("pdftotext -layout '" + pdf + "' -");
  EXPECT_NE(text.find("Проба печати"), std::string::npos);
  const std::string system =
      Cp1251ToUtf8(chart_->Chart.HouseSystemNames[chart_->Chart.HouseSystem]);
  EXPECT_NE(text.find(system), std::string::npos) << system;
  // the page says what the radicality window, brought up to the chart, says
  windows_->Radical->AnalyseRadicality();
  const std::vector<std::string> verdict = PaneLines(*windows_->Radical->RichEdit1);
  ASSERT_FALSE(verdict.empty());
  const std::string firstWords =
      Cp1251ToUtf8(verdict.front().substr(0, verdict.front().find(' ', 8)));
  EXPECT_NE(text.find(firstWords), std::string::npos) << firstWords;

  // the pages as images: ink inside every element's rectangle, none outside
  // them but the footer line; greys only on the monochrome blank
  const fs::path prefix = folder_ / "page";
  Shell("pdftoppm -r " + std::to_string(kRenderDpi) + " -png '" + pdf + "' '" + prefix.string() +
        "'");
  const BlankModel& model = ProgramBlanks();
  for (int b = 0; b < blanks; ++b) {
    QImage page;
    ASSERT_TRUE(
        page.load(QString::fromStdString(prefix.string() + "-" + std::to_string(b + 1) + ".png")));
    page = page.convertToFormat(QImage::Format_RGB32);
    const TRect screen =
        ScreenPage(kDesignerClientWidth, kDesignerClientHeight, kDesignerPanelWidth + 2,
                   BlankValue(model, kPageWidths, b), BlankValue(model, kPageHeights, b));
    const int pw = static_cast<int>(page.width() * kPdfPixel),
              ph = static_cast<int>(page.height() * kPdfPixel);
    const double s = PrinterScale(screen, pw, ph);
    std::vector<QRect> rects;
    for (int e = FirstElement(model, b); e < FirstElement(model, b) + ElementCount(model, b); ++e) {
      const TRect r = PrinterRect(ElementAt(model, e), screen, s);
      rects.emplace_back(QPoint(int(r.Left / kPdfPixel), int(r.Top / kPdfPixel)),
                         QPoint(int((r.Right - 1) / kPdfPixel), int((r.Bottom - 1) / kPdfPixel)));
    }
    std::vector<int> inkWithin(rects.size(), 0);
    int inkOutside = 0, coloured = 0;
    for (int y = 0; y < page.height(); ++y)
      for (int x = 0; x < page.width(); ++x) {
        const QRgb p = page.pixel(x, y);
        if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) ++coloured;
        if (!IsInk(p)) continue;
        bool within = false;
        // a pixel of the page image may straddle a rectangle's edge
        for (std::size_t i = 0; i < rects.size(); ++i)
          if (rects[i].adjusted(-1, -1, 1, 1).contains(x, y)) {
            within = true;
            if (rects[i].contains(x, y)) ++inkWithin[i];
          }
        if (!within && y * kPdfPixel < ph - kFooterBand) ++inkOutside;
      }
    EXPECT_EQ(inkOutside, 0) << "blank " << b;
    for (std::size_t i = 0; i < rects.size(); ++i)
      EXPECT_GT(inkWithin[i], 0)
          << "blank " << b << " element kind "
          << ElementAt(model, FirstElement(model, b) + static_cast<int>(i)).Kind;
    if (BlankValue(model, kBackgrounds, b) == 0)
      EXPECT_EQ(coloured, 0) << "blank " << b;
    else
      EXPECT_GT(coloured, 0) << "blank " << b;
  }
}

// The judgement's elements (dignities, timing tables, radicality, signs of
// completion) come from the chart session: a blank prints alike before any
// of their windows was ever opened and after each was opened, filled and
// left with the focus elsewhere.
TEST_F(Blanks, JudgementElementsPrintAlikeWhetherTheirWindowsWereOpenedOrNot) {
  Start();
  MoveChart(18.0f);
  ProposeSessionSignificators(*CurrentSession());
  BlankModel& model = ProgramBlanks();
  AddBlank(model, "J");
  const int b = BlankCount(model) - 1;
  const BlankElement elements[] = {{kKindDignities, 20, 20, 330, 200},
                                   {kKindPlanetaryHours, 20, 210, 170, 330},
                                   {kKindLunarDays, 180, 210, 330, 330},
                                   {kKindRadicality, 20, 340, 330, 420},
                                   {kKindCompletion, 20, 430, 330, 560}};
  for (const BlankElement& e : elements)
    SetElement(model, AddElement(model, b, e.Kind, e.Left, e.Top), e);
  const auto printed = [&](const std::string& name) {
    EXPECT_TRUE(windows_->PrintDiziner->PrintBlanks({b}));
    const fs::path prefix = folder_ / name;
    Shell("pdftoppm -r 60 -png '" + PagePrinter().OutputFile() + "' '" + prefix.string() + "'");
    QImage page;
    EXPECT_TRUE(page.load(QString::fromStdString(prefix.string() + "-1.png")));
    return page.convertToFormat(QImage::Format_RGB32);
  };
  ASSERT_FALSE(windows_->Affeticnew->isVisible());
  ASSERT_FALSE(windows_->Radical->isVisible());
  ASSERT_FALSE(windows_->Significators->isVisible());
  const QImage unopened = printed("unopened");
  ASSERT_FALSE(unopened.isNull());
  int ink = 0;
  for (int y = 0; y < unopened.height(); ++y)
    for (int x = 0; x < unopened.width(); ++x) ink += IsInk(unopened.pixel(x, y));
  EXPECT_GT(ink, 0);

  windows_->Affeticnew->show();
  windows_->PlanetHour->show();
  windows_->MoonDay->show();
  windows_->Significators->show();
  form_->PresentRadicality();
  for (QWidget* w : std::initializer_list<QWidget*>{windows_->Affeticnew, windows_->PlanetHour,
                                                    windows_->MoonDay, windows_->Significators,
                                                    windows_->Radical})
    EXPECT_TRUE(w->isVisible());
  const QImage opened = printed("opened");
  for (QWidget* w : std::initializer_list<QWidget*>{windows_->Affeticnew, windows_->PlanetHour,
                                                    windows_->MoonDay, windows_->Significators,
                                                    windows_->Radical})
    w->close();
  EXPECT_TRUE(opened == unopened);
}

TEST_F(Blanks, DesignerEditsKeepTheListsInStepAndTheFilesReadBackByteForByte) {
  Start();
  TPrintDiziner& designer = *windows_->PrintDiziner;
  designer.PrintMode = 0;
  BlankModel& model = ProgramBlanks();

  // a new blank, selected, portrait A4 without background
  designer.Edit2->setText(QString::fromUtf8("Новый\tбланк"));
  designer.BitBtn3Click();
  EXPECT_EQ(messages_.back(), Entry(kUiEntryNameBadText));
  EXPECT_EQ(BlankCount(model), 3);
  designer.Edit2->setText(QString::fromUtf8("Новый бланк"));
  designer.BitBtn3Click();
  const int b = designer.CurrentBlank();
  ASSERT_EQ(b, 3);
  EXPECT_EQ(designer.ComboBox1->currentText(), QString::fromUtf8("Новый бланк"));
  designer.DrawBlank();
  const TRect page = designer.PageRect;

  // drops: a group node and a point below the page are refused
  designer.TreeView1DragDrop(8, 400, 50);
  designer.TreeView1DragDrop(18, 400, page.Bottom + 5);
  EXPECT_EQ(ElementCount(model, b), 0);
  designer.TreeView1DragDrop(18, 400, 50);
  designer.TreeView1DragDrop(kKindWheel, 300, 200);
  ASSERT_EQ(ElementCount(model, b), 2);
  // a dynamics graph drawn before any graph was asked for, then deleted
  designer.TreeView1DragDrop(kKindSignDynamics, 300, 300);
  ASSERT_EQ(ElementCount(model, b), 3);
  ASSERT_TRUE(DeleteElement(model, b, FirstElement(model, b) + 2));
  const int first = FirstElement(model, b);
  const BlankElement space = ElementAt(model, first);
  EXPECT_EQ(space.Left, 400);
  EXPECT_EQ(space.Top, 50);
  EXPECT_EQ(space.Right, 500);
  EXPECT_EQ(space.Bottom, 150);

  // moving by the middle, then widening by the right edge
  designer.FormMouseMove(450, 100);
  designer.FormMouseDown(Qt::LeftButton, 450, 100);
  designer.FormMouseMove(460, 120);
  designer.FormMouseUp(460, 120, false);
  designer.FormMouseMove(510, 130);
  designer.FormMouseDown(Qt::LeftButton, 510, 130);
  designer.FormMouseMove(540, 130);
  designer.FormMouseUp(540, 130, false);
  const BlankElement moved = ElementAt(model, first);
  EXPECT_EQ(moved.Left, 410);
  EXPECT_EQ(moved.Top, 70);
  EXPECT_EQ(moved.Right, 540);
  EXPECT_EQ(moved.Bottom, 170);

  // moving the splitter shows the page elsewhere but leaves it and its
  // elements where they were on the page picture
  const QImage before = PageImage().Image().copy();
  designer.Splitter1->setSizes(
      {kDesignerPanelWidth + 80, kDesignerClientWidth - kDesignerPanelWidth - 80});
  designer.Splitter1Moved();
  EXPECT_EQ(designer.PageRect.Left, page.Left);
  EXPECT_EQ(PageImage().Image(), before);

  // the wheel dropped on the waste bin is gone
  designer.FormMouseMove(350, 220);
  designer.FormMouseDown(Qt::LeftButton, 350, 220);
  designer.FormMouseMove(700, 400);
  designer.FormMouseUp(700, 400, true);
  EXPECT_EQ(ElementCount(model, b), 1);

  // orientation and background
  designer.N4Click();
  EXPECT_EQ(BlankValue(model, kOrientations, b), 0);
  EXPECT_EQ(BlankValue(model, kPageWidths, b), 297);
  designer.RadioButtonClick(0);
  EXPECT_EQ(BlankValue(model, kBackgrounds, b), 0);

  // headings: a line break refused, a heading on a blank kept, an unused one deleted
  const int nodes = designer.Tree.Count();
  designer.Edit1->setText(QString::fromUtf8("Строка\nвторая"));
  designer.BitBtn2Click();
  EXPECT_EQ(messages_.back(), Entry(kUiEntryNameBadText));
  designer.Edit1->setText(QString::fromUtf8("Заметки"));
  designer.BitBtn2Click();
  ASSERT_EQ(designer.Tree.Count(), nodes + 1);
  designer.TreeView1DragDrop(kFirstHeading, 320, 300);  // "Радикс" is on the first blank too
  const std::string treeFile = folder_.string() + "/Options/TV1.opt";
  LineList treeLines;
  ASSERT_TRUE(ReadLines(treeFile, treeLines));
  EXPECT_EQ(treeLines.size(), static_cast<std::size_t>(nodes + 1));
  {
    ModalScript confirm({[](QWidget* w) {
      TWarning::Instance()->accept();
      (void)w;
    }});
    designer.SelectNode(kFirstHeading);
    designer.BitBtn1Click();
  }
  EXPECT_EQ(designer.Tree.Count(), nodes + 1);
  EXPECT_EQ(messages_.back(), FillEntry(Entry(kUiEntryHeadingInUse),
                                        {designer.Tree.Captions[kFirstHeading], model.Names()[0]}));
  {
    ModalScript confirm({[](QWidget*) { TWarning::Instance()->accept(); }});
    designer.SelectNode(nodes);
    designer.BitBtn1Click();
  }
  EXPECT_EQ(designer.Tree.Count(), nodes);
  ASSERT_TRUE(ReadLines(treeFile, treeLines));
  EXPECT_EQ(treeLines, ElementTreeLines(designer.Tree));
  ASSERT_TRUE(CheckBlankModel(model).Ok);

  // the lists written and read back give the same bytes again
  ASSERT_TRUE(SaveBlankModel(folder_.string() + "/Print", model).empty());
  std::vector<std::string> written;
  for (const char* name : kBlankFileNames) written.push_back(ReadBytes(folder_ / "Print" / name));
  BlankModel reread;
  ASSERT_TRUE(LoadBlankModel(folder_.string() + "/Print", reread).ok);
  EXPECT_EQ(reread.Lists, model.Lists);
  ASSERT_TRUE(SaveBlankModel(folder_.string() + "/Print", reread).empty());
  for (int i = 0; i < kBlankListCount; ++i)
    EXPECT_EQ(ReadBytes(folder_ / "Print" / kBlankFileNames[i]), written[i]) << kBlankFileNames[i];

  // deleting the last blank asks first and takes its elements along
  {
    ModalScript confirm({[](QWidget*) { TWarning::Instance()->accept(); }});
    designer.BitBtn4Click();
  }
  EXPECT_EQ(BlankCount(model), 3);
  EXPECT_TRUE(CheckBlankModel(model).Ok);

  // with every blank gone the lists are empty and a drop says why it is refused
  {
    std::vector<ModalScript::Step> yes(3, [](QWidget*) { TWarning::Instance()->accept(); });
    ModalScript confirm(yes);
    for (int i = 0; i < 3; ++i) designer.BitBtn4Click();
  }
  for (const LineList& list : model.Lists) EXPECT_TRUE(list.empty());
  EXPECT_EQ(designer.ComboBox1->count(), 0);
  EXPECT_FALSE(designer.BitBtn4->isEnabled());
  designer.TreeView1DragDrop(kKindWheel, 400, 50);
  EXPECT_EQ(messages_.back(), Entry(kUiEntryDropWithoutBlank));
  EXPECT_TRUE(model.Lists[kElementKinds].empty());
  designer.PrintMode = -1;
}

TEST_F(Blanks, TemplatesOutOfStepAreNamedNeitherShownNorPrintedAndNeverRewritten) {
  { std::ofstream(folder_ / "Print" / "IPW1.diz", std::ios::binary | std::ios::app) << "210\r\n"; }
  std::vector<std::string> before;
  for (const char* name : kBlankFileNames) before.push_back(ReadBytes(folder_ / "Print" / name));
  Start();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_.front(), FillEntry(Entry(kUiEntryBlankListLength), {"IPW1.diz", "4", "3"}));
  EXPECT_EQ(windows_->PrintDiziner->ComboBox1->count(), 0);
  form_->Item("N47")->trigger();
  form_->Item("N134")->trigger();
  EXPECT_FALSE(windows_->BlanksDoc->isVisible());
  EXPECT_EQ(messages_.size(), 3u);
  form_->FormClose();
  for (int i = 0; i < kBlankListCount; ++i)
    EXPECT_EQ(ReadBytes(folder_ / "Print" / kBlankFileNames[i]), before[i]) << kBlankFileNames[i];
}

// The chart whose house labels crowd on paper (Regiomontanus at Moscow, the
// Ascendant in a narrow first house) printed on the "Радикс" blank: read back
// from the PDF, each of the twelve house labels stands within a few degrees
// of its own cusp line and nearer to it than to any other line, and no label
// overlaps another word of the wheel. The centre, the orientation and the
// cusps' wheel angles are worked out here from the element's rectangle on
// the page and the wheel's formulas.
TEST_F(Blanks, ThePrintedWheelPutsEachHouseLabelBesideItsOwnCusp) {
  Start();
  ChartRecord& c = chart_->Chart;
  c.ChartName = Utf8ToCp1251("Иван Петров");
  c.HouseSystem = 4;  // Regiomontanus
  c.GeoLatitude = 55.75f;
  c.GeocentricLatitude = static_cast<float>(GeocentricOfGeographic(55.75));
  c.GeoLongitude = 37.6167f;
  c.TimeZone = 3.0f;
  SetUniversalMoment(14, 3, 2024, 21.5f);  // 15.03.2024 00:30 Moscow
  const BlankModel& model = ProgramBlanks();
  int blank = -1;
  for (int b = 0; b < BlankCount(model); ++b)
    if (model.Names()[b] == Utf8ToCp1251("Радикс")) blank = b;
  ASSERT_GE(blank, 0);
  int wheel = -1;
  for (int e = FirstElement(model, blank); e < ElementEnd(model, blank); ++e)
    if (ElementAt(model, e).Kind == kKindWheel) wheel = e;
  ASSERT_GE(wheel, 0);

  form_->Item("N47")->trigger();
  TBlanksDoc& choice = *windows_->BlanksDoc;
  ASSERT_TRUE(choice.isVisible());
  for (int b = 0; b < BlankCount(model); ++b) choice.SetTicked(b, b == blank);
  form_->Item("N18")->trigger();
  choice.close();
  const std::string pdf = PagePrinter().OutputFile();
  ASSERT_TRUE(fs::exists(pdf));

  // the page in printer pixels, from its size in points
  double pageW = 0, pageH = 0;
  for (const QString& line : QString::fromStdString(Shell("pdfinfo '" + pdf + "'")).split('\n'))
    std::sscanf(line.toStdString().c_str(), "Page size: %lf x %lf", &pageW, &pageH);
  ASSERT_GT(pageW, 0);
  constexpr double kPointsPerPixel = 72.0 / PrintDevice::kPdfResolution;
  const TRect screen =
      ScreenPage(kDesignerClientWidth, kDesignerClientHeight, kDesignerPanelWidth + 2,
                 BlankValue(model, kPageWidths, blank), BlankValue(model, kPageHeights, blank));
  const TRect rect =
      PrinterRect(ElementAt(model, wheel), screen,
                  PrinterScale(screen, static_cast<int>(std::lround(pageW / kPointsPerPixel)),
                               static_cast<int>(std::lround(pageH / kPointsPerPixel))));
  const double cx = (rect.Left + std::abs(rect.Right - rect.Left) / 2) * kPointsPerPixel;
  const double cy = (rect.Top + std::abs(rect.Bottom - rect.Top) / 2) * kPointsPerPixel;
  const double u = (c.WheelOrientation == 2 || c.WheelOrientation == 4) ? -1 : 1;
  const double origin = c.WheelOrientation >= 3 ? c.CuspsAndPoints[0] : 0.0;
  // wheel angle of a longitude, and of a word's middle seen from the centre
  const auto wheelAngle = [&](double lon) { return lon - origin; };
  const auto angleOf = [&](const PdfWord& w) {
    const double x = (w.xMin + w.xMax) / 2 - cx, y = (w.yMin + w.yMax) / 2 - cy;
    return std::atan2(y, -u * x) * 180.0 / 3.14159265358979323846;
  };
  const auto apart = [](double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
  };

  std::vector<PdfWord> inWheel;
  const double left = rect.Left * kPointsPerPixel, right = rect.Right * kPointsPerPixel,
               top = rect.Top * kPointsPerPixel, bottom = rect.Bottom * kPointsPerPixel;
  for (const PdfWord& w : PdfWords(pdf, 1))
    if ((w.xMin + w.xMax) / 2 > left && (w.xMin + w.xMax) / 2 < right &&
        (w.yMin + w.yMax) / 2 > top && (w.yMin + w.yMax) / 2 < bottom)
      inWheel.push_back(w);
  constexpr double kBesideDeg = 6.0;
  int found = 0;
  for (int house = 0; house < 12; ++house) {
    const std::string label =
        FindZarnGlyph(static_cast<unsigned char>(c.ObjectGlyph2[house]))->Utf8;
    const PdfWord* word = nullptr;
    for (const PdfWord& w : inWheel)
      if (w.text == label) {
        EXPECT_EQ(word, nullptr) << label << " printed twice";
        word = &w;
      }
    if (word == nullptr) {
      ADD_FAILURE() << "house label " << label << " not found";
      continue;
    }
    ++found;
    const double angle = angleOf(*word);
    const double own = apart(angle, wheelAngle(c.CuspsAndPoints[house]));
    EXPECT_LE(own, kBesideDeg) << label << " stands " << own << " degrees from its cusp";
    for (int other = 0; other < 12; ++other) {
      if (other == house) continue;
      EXPECT_LT(own, apart(angle, wheelAngle(c.CuspsAndPoints[other])))
          << label << " stands nearer to the cusp of house " << other + 1;
    }
    for (const PdfWord& w : inWheel) {
      if (&w == word) continue;
      EXPECT_FALSE(Overlap(*word, w)) << label << " overlaps " << w.text;
    }
  }
  EXPECT_EQ(found, 12);
}

// The positions table printed after its window was shown and closed is the
// full table all the same: every one of its 36 lines ends in a sign glyph.
TEST_F(Blanks, ThePositionsTablePrintsItsSignsWhateverItsWindowDid) {
  Start();
  TPositionPlanets& positions = *windows_->PositionPlanets;
  positions.show();
  QApplication::processEvents();
  positions.close();
  QApplication::processEvents();
  ASSERT_EQ(positions.Mode, -1);

  AddBlank(ProgramBlanks(), "P");
  const int blank = BlankCount(ProgramBlanks()) - 1;
  const BlankElement table{kKindPositions, 40, 320, 440, 600};
  SetElement(ProgramBlanks(), AddElement(ProgramBlanks(), blank, table.Kind, 320, 40), table);
  form_->Item("N47")->trigger();
  TBlanksDoc& choice = *windows_->BlanksDoc;
  for (int b = 0; b < BlankCount(ProgramBlanks()); ++b) choice.SetTicked(b, b == blank);
  form_->Item("N18")->trigger();
  choice.close();
  const std::string pdf = PagePrinter().OutputFile();
  ASSERT_TRUE(fs::exists(pdf));

  // a position line: degrees, minutes, seconds with their marks, then the sign
  const QRegularExpression position(QStringLiteral("\\d\\d\u00B0\\d\\d\u2032\\d\\d\u2033(.?)"));
  const QString text = QString::fromStdString(Shell("pdftotext -raw '" + pdf + "' -"));
  int lines = 0;
  for (auto it = position.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    ++lines;
    const QString sign = m.captured(1);
    EXPECT_TRUE(!sign.isEmpty() && sign[0].unicode() >= 0x2648 && sign[0].unicode() <= 0x2653)
        << m.captured(0).toStdString();
  }
  EXPECT_EQ(lines, kObjectCount) << text.toStdString();
}

}  // namespace

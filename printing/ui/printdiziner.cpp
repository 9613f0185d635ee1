#include "printing/ui/printdiziner.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <utility>

#include "chart/aspects.h"
#include "chart/ui/localspacechart.h"
#include "chart/ui/picturechart.h"
#include "chart/ui/positionplanets.h"
#include "judgement/completion.h"
#include "judgement/dignities.h"
#include "judgement/hourtables.h"
#include "judgement/radicality.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/ui/smalldialogs.h"
#include "mainwindow/ui/windowexport.h"
#include "mainwindow/uistrings.h"
#include "platform/qt/canvas.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/qt/printing_device.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "printing/ui/blanksdoc.h"

namespace {

TPrintDiziner* gPrintDiziner = nullptr;
bool gBlanksUsable = true;
std::string gBlankMessage;

// Entries of the interface string table.
constexpr int kEntryCaption = 404;
constexpr int kEntryNewHeading = 405;
constexpr int kEntryBlank = 406;
constexpr int kEntryNewBlank = 407;
constexpr int kEntryAddHeadingHint = 408;
constexpr int kEntryDeleteHeadingHint = 409;
constexpr int kEntryPrintHint = 410;
constexpr int kEntryAddBlankHint = 411;
constexpr int kEntryDeleteBlankHint = 412;
constexpr int kEntryWasteBinHint = 413;
constexpr int kEntryPortrait = 414;
constexpr int kEntryLandscape = 415;
constexpr int kEntryDeleteElement = 417;  // also the question before deleting a heading
constexpr int kEntryDeleteBlank = 418;
constexpr int kEntryFooter = 419;
constexpr int kEntryNoBlankLeft = 387;
constexpr int kEntryWithBackground = 283;
constexpr int kEntryWithoutBackground = 284;
constexpr int kEntryMonochrome = 285;

constexpr int kPanelRight = kDesignerPanelWidth + 2;  // designer pixels: the page's left edge
constexpr int kWasteBinSize = 36;                     // pixels
constexpr int kFooterX = 100;                         // printer pixels
constexpr int kFooterFromBottom = 150;                // printer pixels
constexpr int kFooterPoints = 9;
constexpr int kTextInset = 2;            // pixels between a text element's corner and its text
constexpr double kFontOfLine = 5.0 / 9;  // font height of a text line's height
constexpr int kScreenPixelsPerInch = 96;
constexpr int kAspectRowsPerColumn = 18;
constexpr double kAspectColumnStep = 6.5;  // line heights between aspect-list columns
constexpr int kAspectColumns = 5;
constexpr int kRadicalityLines = 8;   // lines of the radicality text in its element
constexpr int kCompletionLines = 10;  // lines of the completion list in its element

const char* kTreeFile = "/Options/TV1.opt";

MainWindowPort* Form() { return MainWindow(); }

std::string Entry(int n) { return Form() ? Form()->UiText.Entry(n) : std::string(); }

QString Q(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

std::string Cp(const QString& text) { return Utf8ToCp1251(text.toStdString()); }

std::string TableFont() {
  const MainWindowPort* form = Form();
  const std::string* name = form ? form->TableFontName() : nullptr;
  return name && !name->empty() ? *name : std::string("Arial");
}

// The interface string table the judgement's texts are taken from.
const std::vector<std::string>& UiEntries() {
  static const std::vector<std::string> none;
  return Form() ? Form()->UiText.Entries : none;
}

// The chart session with a built chart, or nullptr.
ChartSession* ReadySession() {
  ChartSession* session = CurrentSession();
  return session && session->ChartReady ? session : nullptr;
}

// The engine's search for the session's chart.
TimedSearch SessionChartSearch(const ChartSession& session) {
  return SessionSearch(session, Form() && Form()->EquatorialOutput != 0);
}

// A picture computed from the chart session, drawn onto the targets the
// printing lends it (it has no window of its own).
class SessionPicture : public TDrawing {
 public:
  using Drawer =
      std::function<void(ChartSession& session, TCanvas& canvas, const CompanionPicture& picture)>;
  explicit SessionPicture(Drawer draw) : draw_(std::move(draw)) {}

  DrawTarget Target() const override { return target_; }
  void SetTarget(const DrawTarget& target) override { target_ = target; }
  void DrawPicture() override {
    ChartSession* session = ReadySession();
    if (!session || target_.Canvas == nullptr) return;
    CompanionPicture picture;
    picture.ColorMode = target_.ColorMode;
    picture.WindowColor = session->Outside.WindowColor;
    picture.Width = std::max(std::abs(target_.Rect.Right - target_.Rect.Left), 1);
    picture.Height = std::max(std::abs(target_.Rect.Bottom - target_.Rect.Top), 1);
    picture.OnScreen = false;
    picture.Printer = !target_.Canvas->OnImage();
    draw_(*session, *target_.Canvas, picture);
  }

 private:
  Drawer draw_;
  DrawTarget target_;
};

// The dignities of the chart as it is now, scored with the session's term
// system and sign rulers.
void DrawDignities(ChartSession& session, TCanvas& canvas, const CompanionPicture& picture) {
  const DignityResult& result = ComputeDignities(session, UiEntries());
  DrawDignityGrid(result.Classic, canvas, picture.Width, picture.Height, picture.ColorMode,
                  TableFont());
}

// A timing table scaled to the picture, in the tables' own window colour.
TablePicture TableOf(const CompanionPicture& picture) {
  TablePicture table;
  table.Width = picture.Width;
  table.Height = picture.Height;
  table.ColorMode = picture.ColorMode;
  table.WindowColor = clBtnFace;
  table.Scaled = !picture.OnScreen;
  return table;
}

// The timing tables of the last recomputation, the current hour and day
// marked where they are known.
void DrawPlanetaryHours(ChartSession& session, TCanvas& canvas, const CompanionPicture& picture) {
  const RecalcResult& last = session.LastRecalc;
  const int hour = last.PlanetHoursComputed ? last.PlanetHours.PlanetaryHour : 0;
  DrawTable(PlanetHourCells(last.PlanetHours, session.Chart.RulerNames, hour),
            kPlanetHourLayoutWidth, kPlanetHourLayoutHeight, canvas, TableOf(picture));
}
void DrawLunarDays(ChartSession& session, TCanvas& canvas, const CompanionPicture& picture) {
  const RecalcResult& last = session.LastRecalc;
  const int day = last.LunarDaysComputed ? last.LunarDays.LunarDay : 0;
  DrawTable(MoonDayCells(last.LunarDays, session.Chart.TimeZone, day), kMoonDayLayoutWidth,
            kMoonDayLayoutHeight, canvas, TableOf(picture));
}

// The font size, points, of text whose lines are lineHeight pixels high on
// a surface of the given pixels per inch: the same share of the line on the
// screen and on paper.
int PointsForLine(double lineHeight, int pixelsPerInch) {
  return std::max(
      1, static_cast<int>(lineHeight * kFontOfLine * kScreenPixelsPerInch / pixelsPerInch));
}

// Text lines in a rectangle of a page: drawn on a canvas confined to it.
class ElementText {
 public:
  ElementText(TQtCanvas& page, const TRect& rect, const std::string& face)
      : canvas_(page.Painter(), rect) {
    canvas_.SetPixelsPerInch(page.PixelsPerInch());
    canvas_.Font.Name = face;
    canvas_.Font.Color = clBlack;
    canvas_.Brush.Style = bsClear;
    width_ = rect.Width();
    height_ = rect.Height();
  }
  TQtCanvas& Canvas() { return canvas_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Sets the size for lines of lineHeight pixels, made smaller when the
  // widest of texts would not fit the width.
  void FitLines(double lineHeight, const std::vector<std::string>& texts, int width) {
    canvas_.Font.Size = PointsForLine(lineHeight, canvas_.PixelsPerInch());
    auto widest = [&] {
      int w = 0;
      for (const std::string& t : texts) w = std::max(w, canvas_.TextWidth(t));
      return w;
    };
    // a first guess in proportion, then down a point at a time, as text
    // widths do not follow the size exactly
    const int first = widest();
    if (first > width && first > 0)
      canvas_.Font.Size = std::max(1, canvas_.Font.Size * width / first);
    while (canvas_.Font.Size > 1 && widest() > width) --canvas_.Font.Size;
  }
  // Breaks a text at blanks into lines no wider than width.
  std::vector<std::string> Wrap(const std::string& text, int width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at <= text.size()) {
      std::size_t end = text.find(' ', at);
      if (end == std::string::npos) end = text.size();
      const std::string word = text.substr(at, end - at);
      const std::string longer = line.empty() ? word : line + " " + word;
      if (!line.empty() && canvas_.TextWidth(longer) > width) {
        lines.push_back(line);
        line = word;
      } else {
        line = longer;
      }
      at = end + 1;
    }
    lines.push_back(line);
    return lines;
  }

 private:
  TQtCanvas canvas_;
  int width_ = 0;
  int height_ = 0;
};

void DrawTextLines(TQtCanvas& page, const TRect& rect, const std::vector<std::string>& lines,
                   int rows, const std::string& face) {
  ElementText text(page, rect, face);
  const double lineHeight = static_cast<double>(text.Height()) / std::max(rows, 1);
  text.FitLines(lineHeight, lines, text.Width() - 2 * kTextInset);
  for (std::size_t i = 0; i < lines.size(); ++i)
    text.Canvas().TextOut(kTextInset, kTextInset + static_cast<int>(i * lineHeight), lines[i]);
}

// A long text in lines of a given share of the rectangle's height, broken
// at blanks to the rectangle's width.
void DrawWrappedText(TQtCanvas& page, const TRect& rect, const std::vector<std::string>& paragraphs,
                     int rows, const std::string& face) {
  ElementText text(page, rect, face);
  const double lineHeight = static_cast<double>(text.Height()) / rows;
  text.Canvas().Font.Size = PointsForLine(lineHeight, text.Canvas().PixelsPerInch());
  int y = kTextInset;
  for (const std::string& paragraph : paragraphs)
    for (const std::string& line : text.Wrap(paragraph, text.Width() - 2 * kTextInset)) {
      if (y >= text.Height()) return;
      text.Canvas().TextOut(kTextInset, y, line);
      y += static_cast<int>(lineHeight);
    }
}

// A table cell by cell: equal columns and rows over the rectangle.
void DrawGrid(TQtCanvas& page, const TRect& rect, const std::vector<std::vector<std::string>>& rows,
              const std::string& face) {
  if (rows.empty()) return;
  std::size_t columns = 0;
  for (const auto& row : rows) columns = std::max(columns, row.size());
  ElementText text(page, rect, face);
  const double rowHeight = static_cast<double>(text.Height()) / rows.size();
  const double columnWidth = static_cast<double>(text.Width()) / std::max<std::size_t>(columns, 1);
  std::vector<std::string> cells;
  for (const auto& row : rows) cells.insert(cells.end(), row.begin(), row.end());
  text.FitLines(rowHeight, cells, static_cast<int>(columnWidth) - 3 * kTextInset);
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < rows[r].size(); ++c)
      text.Canvas().TextOut(static_cast<int>(c * columnWidth) + kTextInset,
                            static_cast<int>(r * rowHeight) + 1, rows[r][c]);
}

// An empty frame just inside the rectangle.
void DrawFrame(TCanvas& page, const TRect& rect, TColor color) {
  page.Pen = TPen{color, 1, psSolid};
  page.Brush.Style = bsClear;
  page.Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
}

// A window's picture into the rectangle: on the printer drawn in place on a
// canvas confined to the rectangle; on the screen page drawn off screen at
// the rectangle's size and copied in. The window's own target and colour
// mode come back when the drawing ends.
void DrawOwner(TDrawing& owner, TQtCanvas& page, const TRect& rect, int colorMode, bool printer) {
  const int width = std::max(rect.Width(), 1), height = std::max(rect.Height(), 1);
  if (printer) {
    TQtCanvas area(page.Painter(), rect);
    area.SetPixelsPerInch(page.PixelsPerInch());
    DrawOnto(owner, DrawTarget{&area, TRect{0, 0, width, height}, colorMode, DrawPurpose::Print});
    return;
  }
  TBitmap picture(width, height);
  DrawOnto(owner, DrawTarget{&picture.Canvas(), TRect{0, 0, width, height}, colorMode,
                             DrawPurpose::Print});
  page.CopyRect(TRect{rect.Left, rect.Top, rect.Left + width, rect.Top + height}, picture.Canvas(),
                TRect{0, 0, width, height});
}

// Sign and hours:minutes:seconds of an angle or a zone, two-digit fields.
std::string SexagesimalText(double value) {
  const char sign = value < 0 ? '-' : '+';
  long long seconds = std::llround(std::fabs(value) * 3600.0);
  char text[32];
  std::snprintf(text, sizeof text, "%c%02lld:%02lld:%02lld", sign, seconds / 3600,
                seconds / 60 % 60, seconds % 60);
  return text;
}

std::string PanelText(int index) {
  MainWindowPort* form = Form();
  return form && form->Panel(index) ? Cp(form->Panel(index)->text()) : std::string();
}

}  // namespace

BlankModel& ProgramBlanks() {
  static BlankModel model;
  return model;
}

bool ProgramBlanksUsable() { return gBlanksUsable; }

std::string BlankModelMessage() { return gBlankMessage; }

std::string AdoptLoadedBlanks() {
  BlankModel& model = ProgramBlanks();
  const BlankCheck check = CheckBlankModel(model);
  gBlanksUsable = check.Ok;
  gBlankMessage.clear();
  if (check.Ok) return {};
  // nothing of an unsound model is ever written back
  model.Loaded.fill(false);
  const std::string file = kBlankFileNames[check.List];
  gBlankMessage =
      check.Line < 0
          ? FillEntry(Entry(kUiEntryBlankListLength),
                      {file, std::to_string(check.Have), std::to_string(check.Need)})
          : FillEntry(Entry(kUiEntryBlankValueBad),
                      {file, std::to_string(check.Line + 1), model.Lists[check.List][check.Line]});
  return gBlankMessage;
}

PrintDevice& PagePrinter() {
  static PrintDevice printer;
  return printer;
}

TBitmap& PageImage() {
  static TBitmap image(kDesignerClientWidth, kDesignerClientHeight);
  return image;
}

// ---------------------------------------------------------------------------

TPageArea::TPageArea(TPrintDiziner* designer) : QWidget(designer), designer_(designer) {
  setObjectName("PageArea");
  setAcceptDrops(true);
  setMouseTracking(true);
}

QPoint TPageArea::ToDesigner(QPoint point) const { return point + QPoint(kDesignerPanelWidth, 0); }

void TPageArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(QPoint(-kDesignerPanelWidth, 0), PageImage().Image());
}

void TPageArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // the waste bin keeps to the area's lower right corner
  if (designer_->Panel6)
    designer_->Panel6->move(width() - kWasteBinSize - 27, height() - kWasteBinSize - 25);
}

void TPageArea::mousePressEvent(QMouseEvent* event) {
  const QPoint p = ToDesigner(event->position().toPoint());
  RunGuarded([&] { designer_->FormMouseDown(event->button(), p.x(), p.y()); }, designer_);
  if (event->button() == Qt::RightButton)
    designer_->PopupMenu1->popup(event->globalPosition().toPoint());
}

void TPageArea::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = ToDesigner(event->position().toPoint());
  RunGuarded([&] { designer_->FormMouseMove(p.x(), p.y()); }, designer_);
}

void TPageArea::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint local = event->position().toPoint();
  const QPoint p = ToDesigner(local);
  const bool overBin = designer_->Panel6->geometry().contains(local);
  RunGuarded([&] { designer_->FormMouseUp(p.x(), p.y(), overBin); }, designer_);
}

void TPageArea::dragEnterEvent(QDragEnterEvent* event) {
  if (event->source() == designer_->TreeView1 ||
      event->source() == designer_->TreeView1->viewport())
    event->acceptProposedAction();
}

void TPageArea::dragMoveEvent(QDragMoveEvent* event) {
  const QPoint p = ToDesigner(event->position().toPoint());
  const bool fromTree = event->source() == designer_->TreeView1 ||
                        event->source() == designer_->TreeView1->viewport();
  if (fromTree && designer_->TreeView1DragOver(designer_->SelectedNode(), p.x(), p.y()))
    event->acceptProposedAction();
  else
    event->ignore();
}

void TPageArea::dropEvent(QDropEvent* event) {
  const QPoint p = ToDesigner(event->position().toPoint());
  RunGuarded([&] { designer_->TreeView1DragDrop(designer_->SelectedNode(), p.x(), p.y()); },
             designer_);
  event->acceptProposedAction();
}

// ---------------------------------------------------------------------------

TPrintDiziner::TPrintDiziner(QWidget* parent) : QDialog(parent) {
  gPrintDiziner = this;
  setObjectName("PrintDiziner");
  setWindowTitle(Q(Entry(kEntryCaption)));
  setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kDesignerClientWidth, kDesignerClientHeight);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setObjectName("Splitter1");
  Splitter1->setHandleWidth(2);
  layout->addWidget(Splitter1);

  Panel1 = new QWidget(Splitter1);
  Panel1->setObjectName("Panel1");
  auto* left = new QVBoxLayout(Panel1);
  left->setContentsMargins(4, 4, 4, 4);
  TreeView1 = new QTreeWidget(Panel1);
  TreeView1->setObjectName("TreeView1");
  TreeView1->setHeaderHidden(true);
  TreeView1->setDragEnabled(true);
  TreeView1->setDragDropMode(QAbstractItemView::DragOnly);
  left->addWidget(TreeView1, 1);

  auto row = [&](QWidget* a, QWidget* b, QWidget* c) {
    auto* line = new QHBoxLayout;
    line->addWidget(a, 1);
    if (b) line->addWidget(b);
    if (c) line->addWidget(c);
    left->addLayout(line);
  };
  auto button = [&](const char* name, QStyle::StandardPixmap icon, int hint) {
    auto* b = new QPushButton(Panel1);
    b->setObjectName(name);
    b->setIcon(style()->standardIcon(icon));
    b->setToolTip(Q(Entry(hint)));
    return b;
  };
  Edit1 = new QLineEdit(Q(Entry(kEntryNewHeading)), Panel1);
  Edit1->setObjectName("Edit1");
  BitBtn2 = button("BitBtn2", QStyle::SP_FileDialogNewFolder, kEntryAddHeadingHint);
  BitBtn1 = button("BitBtn1", QStyle::SP_TrashIcon, kEntryDeleteHeadingHint);
  row(Edit1, BitBtn2, BitBtn1);
  ComboBox1 = new QComboBox(Panel1);
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->setPlaceholderText(Q(Entry(kEntryBlank)));
  BitBtn5 = button("BitBtn5", QStyle::SP_DialogSaveButton, kEntryPrintHint);
  row(ComboBox1, BitBtn5, nullptr);
  Edit2 = new QLineEdit(Q(Entry(kEntryNewBlank)), Panel1);
  Edit2->setObjectName("Edit2");
  BitBtn3 = button("BitBtn3", QStyle::SP_FileIcon, kEntryAddBlankHint);
  BitBtn4 = button("BitBtn4", QStyle::SP_DialogDiscardButton, kEntryDeleteBlankHint);
  row(Edit2, BitBtn3, BitBtn4);
  auto* modes = new QHBoxLayout;
  QLabel** labels[] = {&Label1, &Label2, &Label3};
  QRadioButton** radios[] = {&RadioButton1, &RadioButton2, &RadioButton3};
  const int captions[] = {kEntryWithBackground, kEntryWithoutBackground, kEntryMonochrome};
  for (int i = 0; i < 3; ++i) {
    auto* column = new QVBoxLayout;
    *labels[i] = new QLabel(Q(Entry(captions[i])), Panel1);
    (*labels[i])->setObjectName(QString("Label%1").arg(i + 1));
    *radios[i] = new QRadioButton(Panel1);
    (*radios[i])->setObjectName(QString("RadioButton%1").arg(i + 1));
    column->addWidget(*labels[i], 0, Qt::AlignHCenter);
    column->addWidget(*radios[i], 0, Qt::AlignHCenter);
    modes->addLayout(column);
  }
  left->addLayout(modes);

  PageArea = new TPageArea(this);
  Splitter1->addWidget(PageArea);
  Splitter1->setSizes({kDesignerPanelWidth, kDesignerClientWidth - kDesignerPanelWidth});
  Panel6 = new QWidget(PageArea);
  Panel6->setObjectName("Panel6");
  Panel6->setFixedSize(kWasteBinSize, kWasteBinSize + 1);
  Image1 = new QLabel(Panel6);
  Image1->setObjectName("Image1");
  Image1->setPixmap(
      style()->standardIcon(QStyle::SP_TrashIcon).pixmap(kWasteBinSize, kWasteBinSize));
  Image1->setToolTip(Q(Entry(kEntryWasteBinHint)));
  Image1->setAttribute(Qt::WA_TransparentForMouseEvents);

  PopupMenu1 = new QMenu(this);
  auto item = [&](const char* name, const std::string& caption) {
    QAction* a = PopupMenu1->addAction(Q(caption));
    a->setObjectName(name);
    a->setVisible(false);
    return a;
  };
  N4 = item("N4", Entry(kEntryLandscape));
  N5 = PopupMenu1->addSeparator();
  N6 = item("N6", Entry(kEntryDeleteElement));
  N3 = PopupMenu1->addSeparator();
  N1 = item("N1", Entry(kEntryAddBlankHint));
  N2 = item("N2", Entry(kEntryDeleteBlankHint));
  N5->setVisible(false);
  N3->setVisible(false);

  auto on = [this](auto* sender, auto signal, void (TPrintDiziner::*handler)()) {
    connect(sender, signal, this, Guarded([this, handler] { (this->*handler)(); }, this));
  };
  on(BitBtn1, &QPushButton::clicked, &TPrintDiziner::BitBtn1Click);
  on(BitBtn2, &QPushButton::clicked, &TPrintDiziner::BitBtn2Click);
  on(BitBtn3, &QPushButton::clicked, &TPrintDiziner::BitBtn3Click);
  on(BitBtn4, &QPushButton::clicked, &TPrintDiziner::BitBtn4Click);
  on(BitBtn5, &QPushButton::clicked, &TPrintDiziner::BitBtn5Click);
  on(N1, &QAction::triggered, &TPrintDiziner::BitBtn3Click);
  on(N2, &QAction::triggered, &TPrintDiziner::BitBtn4Click);
  on(N4, &QAction::triggered, &TPrintDiziner::N4Click);
  on(N6, &QAction::triggered, &TPrintDiziner::N6Click);
  on(ComboBox1, &QComboBox::activated, &TPrintDiziner::ComboBox1Change);
  on(TreeView1, &QTreeWidget::itemSelectionChanged, &TPrintDiziner::TreeView1Change);
  on(Splitter1, &QSplitter::splitterMoved, &TPrintDiziner::Splitter1Moved);
  for (int mode = 0; mode < 3; ++mode) {
    QRadioButton* radio = mode == 0 ? RadioButton3 : mode == 1 ? RadioButton2 : RadioButton1;
    connect(radio, &QRadioButton::clicked, this,
            Guarded([this, mode] { RadioButtonClick(mode); }, this));
  }

  PrintMode = -1;
  LoadTree();
  FillBlankNames();
}

TPrintDiziner::~TPrintDiziner() {
  if (gPrintDiziner == this) gPrintDiziner = nullptr;
}

namespace {

// The dialog that replaces the print dialog; empty: the print dialog.
PrintDialogRunner& DialogRunner() {
  static PrintDialogRunner runner;
  return runner;
}

}  // namespace

bool RunPrintDialog(QWidget* parent) {
  if (DialogRunner()) return DialogRunner()(parent);
  PrintDevice& printer = PagePrinter();
  if (printer.PrintsToPdf()) return true;
  QPrinter choice(QPrinterInfo::defaultPrinter());
  QPrintDialog dialog(&choice, parent);
  dialog.setObjectName("PrintDialog1");
  if (ExecModal(dialog) != mrOk) return false;
  printer.SetPrinterName(Cp(choice.printerName()));
  return true;
}

PrintDialogRunner SetPrintDialogRunner(PrintDialogRunner runner) {
  return std::exchange(DialogRunner(), std::move(runner));
}

TPrintDiziner* TPrintDiziner::Instance() { return gPrintDiziner; }

void TPrintDiziner::LoadTree() {
  Tree = {};
  if (MainWindowPort* form = Form()) {
    LineList lines;
    if (ReadLines(form->ProgramFolder + kTreeFile, lines)) Tree = ParseElementTree(lines);
  }
  FillTree();
}

void TPrintDiziner::SaveTree() {
  MainWindowPort* form = Form();
  if (!form) return;
  std::string error;
  if (!WriteLinesAtomic(form->ProgramFolder + kTreeFile, ElementTreeLines(Tree), &error))
    throw error.empty() ? CannotCreateFileError(form->ProgramFolder + kTreeFile)
                        : PlatformError(Utf8ToCp1251(error));
}

void TPrintDiziner::FillTree() {
  const QSignalBlocker block(TreeView1);
  TreeView1->clear();
  std::vector<QTreeWidgetItem*> parents;
  for (int n = 0; n < Tree.Count(); ++n) {
    const int depth = std::min<int>(Tree.Depths[n], static_cast<int>(parents.size()));
    parents.resize(depth);
    auto* item = depth == 0 ? new QTreeWidgetItem(TreeView1) : new QTreeWidgetItem(parents.back());
    item->setText(0, Q(Tree.Captions[n]));
    item->setData(0, Qt::UserRole, n);
    parents.push_back(item);
  }
  TreeView1->expandAll();
  BitBtn1->setEnabled(false);
}

void TPrintDiziner::FillBlankNames() {
  const QSignalBlocker block(ComboBox1);
  const int keep = ComboBox1->currentIndex();
  ComboBox1->clear();
  if (ProgramBlanksUsable())
    for (const std::string& name : ProgramBlanks().Names()) ComboBox1->addItem(Q(name));
  const int count = ComboBox1->count();
  ComboBox1->setCurrentIndex(count == 0 ? -1 : std::clamp(keep, 0, count - 1));
  if (count == 0) ComboBox1->setPlaceholderText(Q(Entry(kEntryNoBlankLeft)));
  BitBtn4->setEnabled(count > 0);
  N2->setEnabled(count > 0);
}

int TPrintDiziner::CurrentBlank() const {
  const int b = ComboBox1->currentIndex();
  return ProgramBlanksUsable() && b >= 0 && b < BlankCount(ProgramBlanks()) ? b : -1;
}

void TPrintDiziner::SelectBlank(int blank) {
  FillBlankNames();
  ComboBox1->setCurrentIndex(blank);
  const int b = CurrentBlank();
  BitBtn4->setEnabled(ComboBox1->count() > 0);
  if (b < 0) return;
  const BlankModel& model = ProgramBlanks();
  Portrait = BlankValue(model, kOrientations, b) == 1;
  const int mode = BlankValue(model, kBackgrounds, b);
  QRadioButton* radio = mode == 2 ? RadioButton1 : mode == 0 ? RadioButton3 : RadioButton2;
  radio->setChecked(true);
}

int TPrintDiziner::SelectedNode() const {
  const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
  return selected.isEmpty() ? -1 : selected.front()->data(0, Qt::UserRole).toInt();
}

void TPrintDiziner::SelectNode(int node) {
  for (QTreeWidgetItemIterator it(TreeView1); *it; ++it)
    if ((*it)->data(0, Qt::UserRole).toInt() == node) TreeView1->setCurrentItem(*it);
}

void TPrintDiziner::Refuse(const std::string& cp1251) { ShowMessage(cp1251, this); }

void TPrintDiziner::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  RunGuarded([this] { FormShow(); }, this);
}

void TPrintDiziner::closeEvent(QCloseEvent* event) {
  PrintMode = -1;
  QDialog::closeEvent(event);
}

void TPrintDiziner::FormShow() {
  SelectBlank(CurrentBlank() < 0 ? 0 : CurrentBlank());
  DrawBlank();
}

void TPrintDiziner::Splitter1Moved() {
  // the page keeps its place in designer pixels: the splitter only shows
  // more or less of it
  DrawBlank();
}

void TPrintDiziner::ComboBox1Change() {
  SelectBlank(ComboBox1->currentIndex());
  DrawBlank();
}

bool TPrintDiziner::TreeView1DragOver(int node, int x, int y) const {
  if (node < 0 || node >= Tree.Count() || IsGroupKind(node)) return false;
  // with no blank there is no page: the drop is taken to say why
  if (CurrentBlank() < 0) return x > kDesignerPanelWidth;
  return x > PageRect.Left && x < PageRect.Right && y <= PageRect.Bottom;
}

void TPrintDiziner::TreeView1DragDrop(int node, int x, int y) {
  if (!TreeView1DragOver(node, x, y)) return;
  const int b = CurrentBlank();
  if (b < 0) {
    Refuse(Entry(kUiEntryDropWithoutBlank));
    return;
  }
  AddElement(ProgramBlanks(), b, node, x, y);
  DrawBlank();
}

void TPrintDiziner::TreeView1Change() {
  const int node = SelectedNode();
  BitBtn1->setEnabled(node >= kFirstHeading);
  N2->setEnabled(node >= kFirstHeading);
}

void TPrintDiziner::FormMouseMove(int x, int y) {
  BlankModel& model = ProgramBlanks();
  if (MovingElement >= 0) {
    DragElement(model, Grip, x - DownX, y - DownY);
    DownX = x;
    DownY = y;
    DrawBlank();
    return;
  }
  const GripHit hit = HitTest(model, CurrentBlank(), x, y);
  HoveredElement = hit.Element;
  Grip = hit;
  Qt::CursorShape shape = Qt::ArrowCursor;
  switch (hit.Grip) {
    case ElementGrip::Inside:
      shape = Qt::PointingHandCursor;
      break;
    case ElementGrip::Vertical:
      shape = Qt::SizeHorCursor;
      break;
    case ElementGrip::Horizontal:
      shape = Qt::SizeVerCursor;
      break;
    case ElementGrip::Corner:
      shape = hit.LeftEdge == hit.TopEdge ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
      break;
    case ElementGrip::None:
      break;
  }
  PageArea->setCursor(shape);
}

void TPrintDiziner::FormMouseDown(Qt::MouseButton button, int x, int y) {
  if (button == Qt::LeftButton) {
    if (HoveredElement < 0 || Grip.Grip == ElementGrip::None) return;
    MovingElement = HoveredElement;
    DownX = x;
    DownY = y;
    return;
  }
  if (button != Qt::RightButton) return;
  const bool overElement = HoveredElement >= 0;
  N5->setVisible(overElement);
  N6->setVisible(overElement);
  N1->setVisible(true);
  const bool onPage = x >= PageRect.Left && x < PageRect.Right && y >= PageRect.Top &&
                      y < PageRect.Bottom && CurrentBlank() >= 0;
  N4->setText(Q(Entry(Portrait ? kEntryLandscape : kEntryPortrait)));
  N2->setVisible(onPage);
  N2->setEnabled(onPage);
  N3->setVisible(onPage);
  N4->setVisible(onPage);
}

void TPrintDiziner::FormMouseUp(int, int, bool overWasteBin) {
  if (MovingElement >= 0 && overWasteBin)
    DeleteElement(ProgramBlanks(), CurrentBlank(), MovingElement);
  MovingElement = -1;
  HoveredElement = -1;
  Grip = {};
  PageArea->setCursor(Qt::ArrowCursor);
  DrawBlank();
}

void TPrintDiziner::N4Click() {
  const int b = CurrentBlank();
  if (!ToggleOrientation(ProgramBlanks(), b)) return;
  Portrait = BlankValue(ProgramBlanks(), kOrientations, b) == 1;
  DrawBlank();
}

void TPrintDiziner::N6Click() {
  // the element under the pointer goes, as if dropped on the waste bin
  if (HoveredElement >= 0) DeleteElement(ProgramBlanks(), CurrentBlank(), HoveredElement);
  HoveredElement = -1;
  DrawBlank();
}

void TPrintDiziner::RadioButtonClick(int mode) {
  SetBackground(ProgramBlanks(), CurrentBlank(), mode);
  DrawBlank();
}

void TPrintDiziner::BitBtn3Click() {
  if (!ProgramBlanksUsable()) return Refuse(BlankModelMessage());
  const std::string name = Cp(Edit2->text());
  if (!IsSoundName(name)) return Refuse(Entry(kUiEntryNameBadText));
  AddBlank(ProgramBlanks(), name);
  if (TBlanksDoc* choice = TBlanksDoc::Instance()) choice->AddBlankName(name);
  Portrait = true;
  SelectBlank(BlankCount(ProgramBlanks()) - 1);
  RadioButton2->setChecked(true);
  DrawBlank();
}

void TPrintDiziner::BitBtn4Click() {
  const int b = CurrentBlank();
  if (b < 0) return;
  TWarning* warning = TWarning::Instance();
  if (warning) {
    warning->SetMessage(Entry(kEntryDeleteBlank));
    if (ExecModal(*warning) != mrOk) return;
  }
  DeleteBlank(ProgramBlanks(), b);
  if (TBlanksDoc* choice = TBlanksDoc::Instance()) choice->RemoveBlankName(b);
  SelectBlank(BlankCount(ProgramBlanks()) - 1);
  DrawBlank();
}

void TPrintDiziner::BitBtn2Click() {
  const std::string text = Cp(Edit1->text());
  const TreeRefusal refusal = AddHeading(Tree, text);
  if (refusal == TreeRefusal::BadText) return Refuse(Entry(kUiEntryNameBadText));
  if (refusal != TreeRefusal::None) return;
  FillTree();
  SaveTree();
}

void TPrintDiziner::BitBtn1Click() {
  const int node = SelectedNode();
  if (node < kFirstHeading) return;
  TWarning* warning = TWarning::Instance();
  bool confirmed = true;
  if (warning) {
    warning->SetMessage(Entry(kEntryDeleteElement));
    confirmed = ExecModal(*warning) == mrOk;
  }
  if (confirmed) {
    int holder = -1;
    const TreeRefusal refusal = DeleteHeading(Tree, ProgramBlanks(), node, &holder);
    if (refusal == TreeRefusal::InUse) {
      Refuse(FillEntry(Entry(kUiEntryHeadingInUse),
                       {Tree.Captions[node], ProgramBlanks().Names()[holder]}));
    } else if (refusal == TreeRefusal::None) {
      FillTree();
    }
  }
  BitBtn1->setEnabled(false);
  SaveTree();
  DrawBlank();
}

void TPrintDiziner::BitBtn5Click() {
  const int b = CurrentBlank();
  if (b >= 0) PrintAfterDialog({b}, this);
}

bool TPrintDiziner::PrintAfterDialog(const std::vector<int>& blanks, QWidget* parent) {
  if (!RunPrintDialog(parent)) return false;
  const int before = PrintMode;
  PrintMode = 1;
  bool printed = false;
  try {
    printed = PrintBlanks(blanks);
  } catch (...) {
    PrintMode = before;
    throw;
  }
  PrintMode = before;
  return printed;
}

void TPrintDiziner::DrawBlank() {
  if (PrintMode < 0) return;
  if (PrintMode == 1) {
    if (CurrentBlank() >= 0) PrintBlanks({CurrentBlank()});
    return;
  }
  TBitmap& image = PageImage();
  image.SetSize(kDesignerClientWidth, kDesignerClientHeight);
  TQtCanvas& page = image.Canvas();
  page.Brush = TBrush{clBtnFace, bsSolid};
  page.FillRect(TRect{0, 0, kDesignerClientWidth, kDesignerClientHeight});
  const int b = CurrentBlank();
  if (b >= 0) {
    const BlankModel& model = ProgramBlanks();
    PageWidth = BlankValue(model, kPageWidths, b);
    PageHeight = BlankValue(model, kPageHeights, b);
    Ratio = static_cast<float>(PageHeight) / static_cast<float>(std::max(PageWidth, 1));
    PageRect =
        ScreenPage(kDesignerClientWidth, kDesignerClientHeight, kPanelRight, PageWidth, PageHeight);
    page.Pen = TPen{clBlack, 1, psSolid};
    page.Brush = TBrush{clWhite, bsSolid};
    page.Rectangle(PageRect.Left, PageRect.Top, PageRect.Right, PageRect.Bottom);
    DrawElements(b, page, false, 1.0);
  }
  page.EndPaint();
  PageArea->update();
}

bool TPrintDiziner::PrintBlanks(const std::vector<int>& blanks) {
  const BlankModel& model = ProgramBlanks();
  PrintDevice& printer = PagePrinter();
  MainWindowPort* form = Form();
  if (form) printer.SetPdfFolder(form->ProgramFolder + "/PDF");
  if (printer.PrintsToPdf() && form) {
    std::error_code ec;
    std::filesystem::create_directories(form->ProgramFolder + "/PDF", ec);
  }
  std::string title = "document";
  if (TPictureRadixChart* chart = TPictureRadixChart::Instance())
    if (!chart->Chart.ChartName.empty()) title = chart->Chart.ChartName;
  std::string error;
  bool begun = false;
  for (int b : blanks) {
    if (b < 0 || b >= BlankCount(model)) continue;
    printer.SetOrientation(BlankValue(model, kOrientations, b) == 1 ? PageOrientation::Portrait
                                                                    : PageOrientation::Landscape);
    if (!begun ? !printer.BeginDoc(title, &error) : !printer.NewPage(&error)) {
      printer.Abort();
      throw PlatformError(error);
    }
    begun = true;
    SelectBlank(b);
    PageWidth = BlankValue(model, kPageWidths, b);
    PageHeight = BlankValue(model, kPageHeights, b);
    Ratio = static_cast<float>(PageHeight) / static_cast<float>(std::max(PageWidth, 1));
    PageRect =
        ScreenPage(kDesignerClientWidth, kDesignerClientHeight, kPanelRight, PageWidth, PageHeight);
    const int width = printer.PageWidth(), height = printer.PageHeight();
    TQtCanvas page(printer.Painter());
    DrawElements(b, page, true, PrinterScale(PageRect, width, height));
    page.Font = TFont{TableFont(), kFooterPoints, clBlack};
    page.Brush.Style = bsClear;
    page.TextOut(kFooterX, height - kFooterFromBottom, Entry(kEntryFooter));
  }
  if (!begun) return false;
  if (!printer.EndDoc(&error)) throw PlatformError(error);
  if (!printer.OutputFile().empty() && printer.PrintsToPdf())
    ShowMessage(FillEntry(Entry(kUiEntryPrintedToPdf), {Utf8ToCp1251(printer.OutputFile())}), this);
  return true;
}

namespace {

// The one-line and few-line texts: the chart's data block and house system,
// the lunar day, day ruler and hour ruler lines of the main window's panels.
void DrawLineElement(int kind, TQtCanvas& page, const TRect& rect, const std::string& face,
                     const TPictureRadixChart* chart) {
  switch (kind) {
    case kKindDataBlock:
      if (chart) {
        const ChartRecord& c = chart->Chart;
        DrawTextLines(
            page, rect,
            {c.ChartName,
             LocalMomentText(c.JulianDayUT, c.TimeZone) + " " + SexagesimalText(c.TimeZone),
             "  \xF8.(" + SexagesimalText(c.GeoLatitude) + ")  \xE4.(" +
                 SexagesimalText(c.GeoLongitude) + ")"},
            3, face);
      }
      break;
    case kKindHouseSystem:
      if (chart && chart->Chart.HouseSystem >= 0 && chart->Chart.HouseSystem < 24)
        DrawTextLines(page, rect, {chart->Chart.HouseSystemNames[chart->Chart.HouseSystem]}, 1,
                      face);
      break;
    case kKindLunarDayLine:
      DrawTextLines(page, rect, {PanelText(3)}, 1, face);
      break;
    case kKindDayRulerLine:
      DrawTextLines(page, rect, {PanelText(4)}, 1, face);
      break;
    case kKindHourRulerLine:
      DrawTextLines(page, rect, {PanelText(2)}, 1, face);
      break;
  }
}

// The window whose picture fills an element, brought up to the chart as it
// is now; nullptr when the window is not there. The dignities and the
// timing tables are drawn from the session instead.
TDrawing* WindowPicture(int kind, TPictureRadixChart* chart) {
  switch (kind) {
    case kKindWheel:
      return chart;
    case kKindSignDynamics:
    case kKindAspectDynamics:
      return RegisteredPicture(kExportCodeDynamics);
    case kKindPositions:
      return TPositionPlanets::Instance();
    case kKindLocalSpace:
      if (TLocalSpaceChart* space = TLocalSpaceChart::Instance()) {
        space->CalcHorizontalCoords();
        return space;
      }
      return nullptr;
  }
  return nullptr;
}

// The aspect list in columns of the glyph font, printed whether the chart
// window's panel shows it or not.
void DrawAspectListElement(TQtCanvas& page, const TRect& rect, const TPictureRadixChart* chart) {
  if (!chart) return;
  ChartRecord listed = chart->Chart;
  listed.AspectListShown = 1;
  const std::vector<std::string> lines = FillAspectList(listed);
  ElementText text(page, rect, "Zarn");
  const double h = static_cast<double>(text.Height()) / kAspectRowsPerColumn;
  text.Canvas().Font.Size = PointsForLine(h, text.Canvas().PixelsPerInch());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int column =
        std::min<int>(static_cast<int>(i) / kAspectRowsPerColumn, kAspectColumns - 1);
    const int row = static_cast<int>(i) - column * kAspectRowsPerColumn;
    text.Canvas().TextOut(static_cast<int>(column * kAspectColumnStep * h),
                          kTextInset + static_cast<int>(row * h), lines[i]);
  }
}

// The planet parameters' table, filled from the chart as it is now.
void DrawPlanetParametersElement(TQtCanvas& page, const TRect& rect, const std::string& face) {
  TAstronom* astronom = TAstronom::Instance();
  if (!astronom) return;
  astronom->FillPlanetParameters();
  std::vector<std::vector<std::string>> rows(kParameterRows);
  for (int r = 0; r < kParameterRows; ++r)
    for (int c = 0; c < kParameterColumns; ++c) rows[r].push_back(astronom->Cell(r, c));
  DrawGrid(page, rect, rows, face);
}

// The lines of a verdict as a text pane shows them: a line holding line
// breaks shows as several.
std::vector<std::string> PaneLinesOf(const std::vector<std::string>& lines) {
  std::vector<std::string> shown;
  for (const std::string& line : lines) {
    std::size_t from = 0;
    for (std::size_t end; (end = line.find('\n', from)) != std::string::npos; from = end + 1)
      shown.push_back(line.substr(from, end - from));
    shown.push_back(line.substr(from));
  }
  if (shown.size() == 1 && shown[0].empty()) shown.clear();
  return shown;
}

// The judgement's verdicts as wrapped text, from the session: the
// radicality analysed anew, the completion events searched anew for the
// session's significators.
void DrawJudgementElement(int kind, TQtCanvas& page, const TRect& rect, const std::string& face) {
  const ChartSession* session = ReadySession();
  if (!session) return;
  switch (kind) {
    case kKindRadicality: {
      const RadicalityResult result = SessionRadicality(*session, SessionChartSearch(*session));
      DrawWrappedText(page, rect, PaneLinesOf(RadicalityVerdict(result, UiEntries())),
                      kRadicalityLines, face);
      break;
    }
    case kKindCompletion: {
      const CompletionRun run = FindCompletionEvents(session->Chart, session->Significators,
                                                     session->Settings.SignRulerSet, UiEntries(),
                                                     SessionChartSearch(*session));
      DrawWrappedText(page, rect, CompletionResultLines(session->Chart, run, UiEntries()),
                      kCompletionLines, face);
      break;
    }
  }
}

}  // namespace

void TPrintDiziner::DrawElements(int blank, TQtCanvas& page, bool printer, double scale) {
  const BlankModel& model = ProgramBlanks();
  const int colorMode = BlankValue(model, kBackgrounds, blank);
  const std::string face = TableFont();
  TPictureRadixChart* chart = TPictureRadixChart::Instance();
  for (int e = FirstElement(model, blank); e < ElementEnd(model, blank); ++e) {
    const BlankElement element = ElementAt(model, e);
    const TRect rect = printer ? PrinterRect(element, PageRect, scale)
                               : TRect{element.Left, element.Top, element.Right, element.Bottom};
    if (rect.Width() <= 0 || rect.Height() <= 0) continue;
    const int kind = element.Kind;
    switch (kind) {
      case kKindDataBlock:
      case kKindHouseSystem:
      case kKindLunarDayLine:
      case kKindDayRulerLine:
      case kKindHourRulerLine:
        DrawLineElement(kind, page, rect, face, chart);
        break;
      case kKindWheel:
      case kKindSignDynamics:
      case kKindAspectDynamics:
      case kKindPositions:
      case kKindLocalSpace:
        if (TDrawing* picture = WindowPicture(kind, chart))
          DrawOwner(*picture, page, rect, colorMode, printer);
        break;
      case kKindDignities:
      case kKindPlanetaryHours:
      case kKindLunarDays: {
        SessionPicture picture(kind == kKindDignities        ? DrawDignities
                               : kind == kKindPlanetaryHours ? DrawPlanetaryHours
                                                             : DrawLunarDays);
        DrawOwner(picture, page, rect, colorMode, printer);
        break;
      }
      case kKindAspectList:
        DrawAspectListElement(page, rect, chart);
        break;
      case kKindPlanetParameters:
        DrawPlanetParametersElement(page, rect, face);
        break;
      case kKindRadicality:
      case kKindCompletion:
        DrawJudgementElement(kind, page, rect, face);
        break;
      default:
        if (kind >= kFirstHeading && kind < Tree.Count())
          DrawTextLines(page, rect, {Tree.Captions[kind]}, 1, face);
        break;
    }
    // on the screen every element shows its frame over its picture, the
    // one being moved in another colour
    if (!printer) DrawFrame(page, rect, e == MovingElement ? clRed : clGray);
  }
}

#include "mainwindow/ui/baseform.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDir>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <vector>

#include "chart/aspectpick.h"
#include "chart/aspects.h"
#include "chart/chartrecord.h"
#include "chart/ui/circleoptions.h"
#include "chart/ui/localspacechart.h"
#include "chart/ui/picturechart.h"
#include "chart/ui/positionplanets.h"
#include "engine/astromath.h"
#include "input/ui/aspectation.h"
#include "input/ui/editorbis.h"
#include "input/ui/editparses.h"
#include "input/ui/inputdates.h"
#include "input/ui/paramcalc.h"
#include "judgement/hourtables.h"
#include "judgement/ui/affeticnew.h"
#include "judgement/ui/analiszav.h"
#include "judgement/ui/dynplanasp.h"
#include "judgement/ui/hourwindows.h"
#include "judgement/ui/housewindows.h"
#include "judgement/ui/judgementui.h"
#include "judgement/ui/radical.h"
#include "judgement/ui/significatorswindow.h"
#include "mainwindow/decimalupkeep.h"
#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/menutree.h"
#include "mainwindow/ui/smalldialogs.h"
#include "mainwindow/ui/windowexport.h"
#include "platform/qt/canvas.h"
#include "platform/qt/desktop.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/glyphfont.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"
#include "platform/text/numbers.h"
#include "platform/text/textfile.h"
#include "printing/blankmodel.h"
#include "printing/ui/blanksdoc.h"
#include "printing/ui/printdiziner.h"

namespace {

TBaseForm* gBaseForm = nullptr;

QString FromCp(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

// A tool-bar icon: one symbol drawn in the glyph faces, or a standard icon.
struct ButtonLook {
  const char* Button;
  const char* Symbol;          // UTF-8 symbol, or "" for the standard icon
  QStyle::StandardPixmap Std;  // used when Symbol is empty
};
constexpr ButtonLook kButtonLooks[] = {
    {"SpeedButton1", "", QStyle::SP_FileIcon},
    {"SpeedButton2", "", QStyle::SP_DialogOpenButton},
    {"SpeedButton3", "", QStyle::SP_DialogSaveButton},
    {"SpeedButton23", "", QStyle::SP_FileDialogNewFolder},
    {"SpeedButton24", "", QStyle::SP_DialogDiscardButton},
    {"SpeedButton25", "", QStyle::SP_ArrowDown},
    {"SpeedButton26", "", QStyle::SP_TrashIcon},
    {"SpeedButton27", "", QStyle::SP_ArrowUp},
    {"SpeedButton20", "\u270E", QStyle::SP_CustomBase},
    {"SpeedButton21", "\u2609", QStyle::SP_CustomBase},
    {"SpeedButton22", "\u25B3", QStyle::SP_CustomBase},
    {"SpeedButton4", "", QStyle::SP_FileDialogListView},
    {"SpeedButton18", "", QStyle::SP_FileDialogDetailedView},
    {"SpeedButton9", "\u2399", QStyle::SP_CustomBase},
    {"SpeedButton5", "\u2398", QStyle::SP_CustomBase},
    {"SpeedButton7", "", QStyle::SP_DriveHDIcon},
    {"SpeedButton16", "\u21B6", QStyle::SP_CustomBase},
    {"SpeedButton12", "\u2160", QStyle::SP_CustomBase},
    {"SpeedButton13", "\u2166", QStyle::SP_CustomBase},
    {"SpeedButton15", "\u263F", QStyle::SP_CustomBase},
    {"SpeedButton14", "\u2713", QStyle::SP_CustomBase},
    {"SpeedButton17", "\u260C", QStyle::SP_CustomBase},
    {"SpeedButton8", "\u2648", QStyle::SP_CustomBase},
    {"SpeedButton66", "\u2654", QStyle::SP_CustomBase},
    {"SpeedButton10", "\u211E", QStyle::SP_CustomBase},
    {"SpeedButton11", "\u2644", QStyle::SP_CustomBase},
    {"SpeedButton6", "\u263D", QStyle::SP_CustomBase},
    {"SpeedButton54", "\u2295", QStyle::SP_CustomBase},
};

QIcon SymbolIcon(const QString& symbol) {
  QPixmap pixmap(20, 20);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  // the first glyph face that holds the symbol
  QFont font = GlyphFaceFont(GlyphFace::DejaVuSans, 16, true);
  for (GlyphFace face : {GlyphFace::DejaVuSans, GlyphFace::NotoSymbols, GlyphFace::NotoSymbols2}) {
    QFont candidate = GlyphFaceFont(face, 16, true);
    if (QFontMetrics(candidate).inFontUcs4(symbol.toUcs4().value(0))) {
      font = candidate;
      break;
    }
  }
  painter.setFont(font);
  painter.setPen(QColor(30, 40, 90));
  painter.drawText(pixmap.rect(), Qt::AlignCenter, symbol);
  return QIcon(pixmap);
}

// Sets the caption of an item of the glyph-font list: each byte drawn as its
// symbol.
QString GlyphLine(const std::string& cp1251) {
  QString text;
  for (unsigned char c : cp1251) text += ZarnText(c);
  return text;
}

// Rows of the aspect list, pixels.
constexpr int kAspectItemHeight = 16;

QFont GlyphListFont() {
  QFont font;
  font.setFamilies({GlyphFaceFamily(GlyphFace::DejaVuSans), GlyphFaceFamily(GlyphFace::NotoSymbols),
                    GlyphFaceFamily(GlyphFace::NotoSymbols2)});
  // 13 pixels, so that a whole line (three glyphs, ':' and the deviation to
  // the second) fits the panel's 135 pixels in these faces
  font.setPixelSize(13);
  return font;
}

// The row of status-bar panels: each panel at its own width, left to right in
// its fixed order. However narrow the window, the panels neither shrink nor
// overlap; what the row cannot hold is cut off at its right edge.
class StatusPanelRow : public QWidget {
 public:
  explicit StatusPanelRow(QWidget* parent) : QWidget(parent) {
    setObjectName("StatusPanels");
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  }
  void Add(QLabel* panel) {
    panel->setParent(this);
    panels_.push_back(panel);
    Arrange();
  }
  // Places the panels after a change of width.
  void Arrange() {
    int x = 0;
    for (QLabel* panel : panels_) {
      panel->setGeometry(x, 0, panel->width(), height());
      x += panel->width() + kPanelGap;
    }
    updateGeometry();
  }
  QSize sizeHint() const override {
    int width = 0, height = 0;
    for (QLabel* panel : panels_) {
      width += panel->width() + kPanelGap;
      height = std::max(height, panel->sizeHint().height());
    }
    return {width, height};
  }
  QSize minimumSizeHint() const override { return {0, sizeHint().height()}; }

 protected:
  void resizeEvent(QResizeEvent*) override { Arrange(); }

 private:
  static constexpr int kPanelGap = 2;  // pixels between two panels
  std::vector<QLabel*> panels_;
};

// Frame and margins of a sunken status-bar panel beside its text.
constexpr int kPanelTextAllowance = 10;  // pixels

}  // namespace

TBaseForm* TBaseForm::Instance() { return gBaseForm; }

TBaseForm::TBaseForm(const std::string& programFolder, QWidget* parent) : QMainWindow(parent) {
  gBaseForm = this;
  setObjectName("BaseForm");
  setWindowTitle(QStringLiteral("ZarnTelka Horary"));
  ProgramFolder = programFolder;
  while (ProgramFolder.size() > 1 && ProgramFolder.back() == '/') ProgramFolder.pop_back();

  BuildPanels();
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  LoadLanguage();
  ConnectHandlers();

  // The Help item is there only for a language file whose first menu reads "File".
  Item("Help")->setVisible(ShowHelpItem(UiText));
  EquatorialOutput = 0;
  SaveSettingsDuringWork = 0;
  DecimalComma = DecimalSeparator() == ',' ? 1 : 0;

  // The settings files to the locale's decimal separator, the last step: a
  // refusal stops the start before any file was converted.
  const DecimalUpkeepResult upkeep = RunDecimalUpkeep(ProgramFolder, DecimalComma);
  if (!upkeep.Ok) {
    const std::string detail = Utf8ToCp1251(upkeep.Detail);
    throw PlatformError(upkeep.Entry != 0 ? UiText.Entry(upkeep.Entry) + " " + detail : detail);
  }
}

TBaseForm::~TBaseForm() {
  if (gBaseForm == this) gBaseForm = nullptr;
}

bool TBaseForm::IsDatabaseTree(const QObject* source) const {
  return source != nullptr && source == treeBd_;
}

QAction* TBaseForm::Item(const std::string& name) const {
  auto it = items_.find(name);
  return it == items_.end() ? nullptr : it->second;
}

QToolButton* TBaseForm::Button(const std::string& name) const {
  auto it = buttons_.find(name);
  return it == buttons_.end() ? nullptr : it->second;
}

QLabel* TBaseForm::Panel(int index) const {
  return index >= 0 && index < 6 ? panels_[index] : nullptr;
}

void TBaseForm::SetPanelText(int index, const std::string& cp1251) {
  QLabel* p = Panel(index);
  if (!p) return;
  p->setText(FromCp(cp1251));
  // the designed width is a minimum: a wider text widens its panel
  FitPanel(index, p->text());
}

void TBaseForm::FitPanel(int index, const QString& text) {
  QLabel* p = Panel(index);
  const int needed = p->fontMetrics().horizontalAdvance(text) + kPanelTextAllowance;
  if (needed <= p->width()) return;
  p->setFixedWidth(needed);
  if (auto* row = dynamic_cast<StatusPanelRow*>(p->parentWidget())) row->Arrange();
}

void TBaseForm::ShowAspectList(const std::vector<std::string>& lines) {
  aspectLines_ = lines;
  listBox1_->clear();
  for (const std::string& line : lines) {
    auto* item = new QListWidgetItem(GlyphLine(line), listBox1_);
    item->setSizeHint(QSize(listBox1_->viewport()->width(), kAspectItemHeight));
  }
}

void TBaseForm::BuildPanels() {
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->setObjectName("LeftBorder");
  splitter->setChildrenCollapsible(false);

  panelDb_ = new QWidget(splitter);
  panelDb_->setObjectName("PanelDB");
  auto* dbLayout = new QVBoxLayout(panelDb_);
  dbLayout->setContentsMargins(0, 0, 0, 0);
  dbLayout->setSpacing(0);
  treeBd_ = new QTreeWidget(panelDb_);
  treeBd_->setObjectName("TreeBD");
  treeBd_->setHeaderHidden(true);
  treeBd_->setUniformRowHeights(true);
  treeBd_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  treeBd_->setSelectionMode(QAbstractItemView::SingleSelection);
  // a chart node is dragged onto the chart window, which loads it; the tree
  // never takes a drop and never loses the node dragged
  treeBd_->setDragEnabled(true);
  treeBd_->setDragDropMode(QAbstractItemView::DragOnly);
  treeBd_->setDefaultDropAction(Qt::CopyAction);
  statusBarDb_ = new QStatusBar(panelDb_);
  statusBarDb_->setObjectName("StatusBarDB");
  statusBarDb_->setSizeGripEnabled(false);
  statusBarDbText_ = new QLabel(statusBarDb_);
  statusBarDbText_->setObjectName("Panel0");
  statusBarDb_->addWidget(statusBarDbText_, 1);
  dbLayout->addWidget(treeBd_);
  dbLayout->addWidget(statusBarDb_);
  panelDb_->resize(201, panelDb_->height());
  panelDb_->hide();

  mdiArea_ = new QMdiArea(splitter);
  mdiArea_->setObjectName("MdiArea");
  mdiArea_->setBackground(QColor(128, 128, 128));

  panelAsp_ = new QWidget(splitter);
  panelAsp_->setObjectName("PanelAsp");
  auto* aspLayout = new QVBoxLayout(panelAsp_);
  aspLayout->setContentsMargins(0, 0, 0, 0);
  listBox1_ = new QListWidget(panelAsp_);
  listBox1_->setObjectName("ListBox1");
  listBox1_->setFont(GlyphListFont());
  listBox1_->setUniformItemSizes(true);
  aspLayout->addWidget(listBox1_);
  panelAsp_->setFixedWidth(135);
  panelAsp_->hide();

  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setStretchFactor(2, 0);
  splitter->setSizes({201, 800, 135});
  setCentralWidget(splitter);
}

void TBaseForm::BuildMenus() {
  std::map<std::string, QMenu*> menus;
  auto menuOf = [&](const std::string& parent) -> QMenu* {
    auto it = menus.find(parent);
    return it == menus.end() ? nullptr : it->second;
  };
  // Items that open a submenu have children in the tree.
  auto hasChildren = [](const char* name) {
    for (const MenuNode& n : kMenuTree)
      if (std::string_view(n.Parent) == name) return true;
    return false;
  };
  for (const MenuNode& node : kMenuTree) {
    const std::string name = node.Name;
    const QString caption = QString::fromUtf8(node.Caption);
    QMenu* parent = menuOf(node.Parent);
    if (name == "-") {
      if (parent) parent->addSeparator();
      continue;
    }
    QAction* action = nullptr;
    if (hasChildren(node.Name)) {
      QMenu* menu = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
      menu->setObjectName(QString::fromStdString(name));
      menus[name] = menu;
      action = menu->menuAction();
    } else if (name == "N4sep") {
      action = parent->addSeparator();
    } else {
      action = parent ? parent->addAction(caption) : menuBar()->addAction(caption);
    }
    action->setObjectName(QString::fromStdString(name));
    if (node.Shortcut[0] != '\0')
      action->setShortcut(QKeySequence(QString::fromUtf8(node.Shortcut)));
    action->setCheckable(node.Checkable);
    action->setVisible(!node.Hidden);
    items_[name] = action;
  }
  // Radio groups: one check mark at a time.
  auto group = [&](std::initializer_list<const char*> names) {
    auto* g = new QActionGroup(this);
    g->setExclusive(true);
    for (const char* n : names) g->addAction(Item(n));
  };
  group({"N71", "N73", "N74", "N75"});
  group({"N61", "N62"});
  group({"N63", "N64", "N65", "N66"});
  group({"N111", "N112"});
  auto* houses = new QActionGroup(this);
  for (const char* n : kHouseSystemItems) houses->addAction(Item(n));
  Item("N71")->setChecked(true);
  Item("N86")->setChecked(true);
  // N47 and N18 share Ctrl+P in the menu; the printing command keeps it for
  // its button and menu item only while it is enabled.
  Item("N18")->setShortcutContext(Qt::WidgetShortcut);
  Item("N20")->setShortcutContext(Qt::WidgetShortcut);  // Alt+F4 is the window system's own
}

void TBaseForm::BuildToolBar() {
  auto* bar = new QToolBar(this);
  bar->setObjectName("ToolBar1");
  bar->setMovable(false);
  bar->setIconSize(QSize(20, 20));
  addToolBar(Qt::TopToolBarArea, bar);
  for (const ToolButtonNode& node : kToolBar) {
    if (std::string_view(node.Name) == "|") {
      bar->addSeparator();
      continue;
    }
    auto* button = new QToolButton(bar);
    button->setObjectName(node.Name);
    button->setAutoRaise(true);
    button->setFixedSize(25, 25);
    for (const ButtonLook& look : kButtonLooks)
      if (std::string_view(look.Button) == node.Name)
        button->setIcon(look.Symbol[0] ? SymbolIcon(QString::fromUtf8(look.Symbol))
                                       : style()->standardIcon(look.Std));
    QAction* item = Item(node.Item);
    connect(button, &QToolButton::clicked, this, [item] {
      if (item && item->isEnabled()) item->trigger();
    });
    bar->addWidget(button);
    buttons_[node.Name] = button;
  }
  for (const char* name : kDisabledAtStart) {
    if (QAction* a = Item(name)) a->setEnabled(false);
    if (QToolButton* b = Button(name)) b->setEnabled(false);
  }
}

// The hints over the planetary-hour and lunar-day panels tell when the hour
// and the lunar day end.
std::string TBaseForm::StatusBarHint(int x) const {
  TPictureRadixChart* chart = chartWindow_;
  if (!chart) return {};
  const RecalcResult& last = chart->LastRecalc;
  const ChartRecord& c = chart->Chart;
  char buf[64];
  // an hour or a lunar day the moment does not have (above latitude 65,
  // polar day or night) ends at no time
  const std::string undefined = UiText.Entry(435) + Utf8ToCp1251("\u2014");
  if (x >= 376 && x <= 474) {
    const int hour = c.PlanetaryHour;
    if (!last.PlanetHoursComputed || hour < 1 || hour > 24) return undefined;
    // the end of hour n is the start of hour n+1; hour 24 ends at the first start
    return UiText.Entry(435) + ClockText(last.PlanetHours.HourStart[hour < 24 ? hour : 0]);
  }
  if (x >= 477 && x <= 530) {
    const int day = c.LunarDay;
    if (!last.LunarDaysComputed || day < 1 || day > last.LunarDays.LunarDayCount) return undefined;
    // the civil moment: the table's Julian days carry Delta T
    const DateTimeToSecond t = LocalMomentOf(last.LunarDays.LunarDayStart[day], c.TimeZone);
    std::snprintf(buf, sizeof buf, "%d.%d.%d-%d:%d:%d", t.Day, t.Month, t.Year, t.Hour, t.Minute,
                  t.Second);
    return UiText.Entry(435) + buf;
  }
  return {};
}

bool TBaseForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    for (int i = 0; i < 6; ++i)
      if (watched == panels_[i]) {
        auto* help = static_cast<QHelpEvent*>(event);
        QLabel* panel = panels_[i];
        // the designed bar's pixel ranges of the two panels that have hints
        const int x = i == 2 ? 400 : i == 3 ? 500 : 0;
        const std::string hint = StatusBarHint(x);
        if (hint.empty())
          QToolTip::hideText();
        else
          QToolTip::showText(help->globalPos(), FromCp(hint), panel);
        return true;
      }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TBaseForm::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("StatusBar1");
  bar->setSizeGripEnabled(false);
  // the panels' designed widths hold their texts in an 8-point face
  QFont small = bar->font();
  small.setPointSize(8);
  bar->setFont(small);
  auto* row = new StatusPanelRow(bar);
  for (int i = 0; i < 6; ++i) {
    panels_[i] = new QLabel(bar);
    panels_[i]->setObjectName(QString("Panel%1").arg(i));
    panels_[i]->setFixedWidth(kStatusPanelWidths[i]);
    panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panels_[i]->setTextInteractionFlags(Qt::NoTextInteraction);
    panels_[i]->setFont(small);
    panels_[i]->installEventFilter(this);
    row->Add(panels_[i]);
  }
  bar->addWidget(row, 1);
}

void TBaseForm::LoadLanguage() {
  UiStringLoad load = ::LoadLanguage(ProgramFolder, UiText);
  if (!load.Loaded) throw PlatformError(Utf8ToCp1251(load.Message));
  setWindowTitle(Text(0));
  for (const MenuCaptionEntry& caption : kMenuCaptionEntries)
    if (QAction* a = Item(caption.item)) a->setText(Text(caption.entry));
  for (const auto& hint : kToolButtonHintEntries)
    if (QToolButton* b = Button(hint.button)) b->setToolTip(Text(hint.entry));
  for (const auto& hint : kToolButtonHintFromMenu)
    if (QToolButton* b = Button(hint.button))
      if (QAction* a = Item(hint.item)) b->setToolTip(a->text());
  // The house-system panel is as wide as the longest name it can show, as
  // the chart record composes them (the prefix, a blank, the system).
  for (int n = 1; n <= kHouseSystemCount; ++n)
    FitPanel(1, Text(kEntryHouseNamePrefix) + " " + Text(kEntryFirstHouseSystem - 1 + n));
}

void TBaseForm::SetCommandEnabled(const std::string& item, bool enabled) {
  if (QAction* a = Item(item)) a->setEnabled(enabled);
  for (const ToolButtonNode& node : kToolBar)
    if (item == node.Item)
      if (QToolButton* b = Button(node.Name)) b->setEnabled(enabled);
}

void TBaseForm::ConnectHandlers() {
  auto on = [this](const char* item, void (TBaseForm::*handler)()) {
    connect(Item(item), &QAction::triggered, this,
            Guarded([this, handler] { (this->*handler)(); }, this));
  };
  on("N20", &TBaseForm::N20Click);
  on("N44", &TBaseForm::N44Click);
  on("N27", &TBaseForm::N27Click);
  on("Help", &TBaseForm::HelpClick);
  on("N118", &TBaseForm::N118Click);
  on("N119", &TBaseForm::N119Click);
  on("N124", &TBaseForm::N124Click);
  on("N125", &TBaseForm::N125Click);
  on("N78", &TBaseForm::N78Click);
  on("N79", &TBaseForm::N79Click);
  on("N101", &TBaseForm::N101Click);
  on("N81", &TBaseForm::N81Click);
  on("N82", &TBaseForm::N82Click);
  on("N21", &TBaseForm::N21Click);
  on("N51", &TBaseForm::N51Click);
  on("N145", &TBaseForm::N145Click);
  on("N85", &TBaseForm::N85Click);
  on("N56", &TBaseForm::N56Click);
  on("N57", &TBaseForm::N57Click);
  on("N50", &TBaseForm::N50Click);
  on("N49", &TBaseForm::N49Click);
  on("N53", &TBaseForm::N53Click);
  on("N34", &TBaseForm::N34Click);
  on("N23", &TBaseForm::N23Click);
  on("BMP1", &TBaseForm::BMP1Click);
  connect(listBox1_, &QListWidget::itemDoubleClicked, this,
          Guarded([this] { ListBox1DblClick(); }, this));
  on("N45", &TBaseForm::N45Click);
  on("N46", &TBaseForm::N46Click);
  on("N135", &TBaseForm::N135Click);
  on("N143", &TBaseForm::N143Click);
  on("N137", &TBaseForm::N137Click);
  on("N138", &TBaseForm::N138Click);
  on("N38", &TBaseForm::N38Click);
  on("N80", &TBaseForm::N80Click);
  on("N83", &TBaseForm::N83Click);
  on("N140", &TBaseForm::N140Click);
  on("N141", &TBaseForm::N141Click);
  on("N47", &TBaseForm::N47Click);
  on("N134", &TBaseForm::N134Click);
  on("N18", &TBaseForm::N18Click);
  ConnectDatabaseHandlers();
  on("N25", &TBaseForm::N25Click);
  for (int n = 1; n <= 23; ++n)
    connect(Item(kHouseSystemItems[n - 1]), &QAction::triggered, this,
            Guarded([this, n] { HouseSystemClick(n); }, this));
  connect(Item("N61"), &QAction::triggered, this, Guarded([this] { StyleClick(1); }, this));
  connect(Item("N62"), &QAction::triggered, this, Guarded([this] { StyleClick(0); }, this));
  const char* orientations[] = {"N63", "N64", "N65", "N66"};
  for (int o = 1; o <= 4; ++o)
    connect(Item(orientations[o - 1]), &QAction::triggered, this,
            Guarded([this, o] { OrientationClick(o); }, this));
  connect(Item("N111"), &QAction::triggered, this, Guarded([this] { MinorLinesClick(1); }, this));
  connect(Item("N112"), &QAction::triggered, this, Guarded([this] { MinorLinesClick(0); }, this));
  for (const char* v : {"N71", "N73", "N74", "N75"})
    connect(Item(v), &QAction::triggered, this, Guarded([this, v] { VariantClick(v); }, this));
  for (const char* c : {"N114", "N115", "N116", "N117", "N126", "N129", "N128", "N130", "N121",
                        "N122", "N123", "N132", "N133", "N127"})
    connect(Item(c), &QAction::triggered, this, Guarded([this, c] { ColorClick(c); }, this));

  // The file export asks its size through the picture dialog, which
  // registers itself as the export's asker (and enables BMP1) when created.
  SetCommandEnabled("BMP1", HasExportAsker());

  // The text windows export their selected text.
  const auto copyOf = [](auto instance) {
    return [instance] {
      if (auto* window = instance()) window->RichEdit1->copy();
    };
  };
  RegisterExportWindow(kCodeCommentary, ExportWindow{nullptr, copyOf(&TCommentary::Instance), {}});
  RegisterExportWindow(kCodeCompletionResults,
                       ExportWindow{nullptr, copyOf(&TAnalisZav::Instance), {}});
  RegisterExportWindow(kCodeSignificators,
                       ExportWindow{nullptr, copyOf(&TSignificators::Instance), {}});
}

void TBaseForm::AttachChartWindow(TPictureRadixChart* chart) {
  chartWindow_ = chart;
  chartSub_ = mdiArea_->addSubWindow(chart);
  chartSub_->setWindowTitle(chart->windowTitle());
  chartSub_->setWindowIcon(SymbolIcon(QStringLiteral("\u2609")));
  chartSub_->showMaximized();
}

void TBaseForm::SyncHouseSystemMenu(int houseSystem) {
  if (houseSystem >= 1 && houseSystem <= 23)
    Item(kHouseSystemItems[houseSystem - 1])->setChecked(true);
}

void TBaseForm::ChartReplaced() {
  // the significators observe it and propose anew
  if (TChartSessionSignals* session = SessionSignals()) emit session->chartReplaced();
  SetCommandEnabled("N21", false);
}

void TBaseForm::ResetChartWindowTitle() {
  if (QAction* n43 = Item("N43"))
    if (chartWindow_) chartWindow_->setWindowTitle(n43->text());
}

void TBaseForm::RedrawChart() {
  if (TPictureRadixChart* chart = chartWindow_) chart->RedrawChart();
}

void TBaseForm::ShowChartSettingsInParameters(int houseRulerMethod, bool saveSettings) {
  if (TParamCalc* params = TParamCalc::Instance()) {
    params->SetHouseRulerMethod(houseRulerMethod);
    params->RadioButton[saveSettings ? 20 : 21]->setChecked(true);
  }
}

void TBaseForm::ReadWheelParameters(WheelView& view) const {
  if (const TParamCalc* params = TParamCalc::Instance()) {
    view.AmericanAspectLines = params->AmericanAspectLines();
    view.AmericanDegreeLabels = params->AmericanDegreeLabels();
    view.TableFontName = params->TableFontName;
  }
}

ReceptionParams TBaseForm::ReceptionKinds() const {
  const TParamCalc* params = TParamCalc::Instance();
  return params ? params->Receptions() : ReceptionParams();
}

const std::string* TBaseForm::TableFontName() const {
  const TParamCalc* params = TParamCalc::Instance();
  return params ? &params->TableFontName : nullptr;
}

void TBaseForm::ShowSignRulerSet(int set) {
  if (TParamCalc* params = TParamCalc::Instance()) params->SetSignRulerSet(set);
}

void TBaseForm::PrintBlanksAfterDialog(const std::vector<int>& blanks) {
  if (TPrintDiziner* designer = TPrintDiziner::Instance()) designer->PrintAfterDialog(blanks, this);
}

void TBaseForm::ShowSignDynamics(int body) {
  if (TDynPlanAsp* dynamics = TDynPlanAsp::Instance()) dynamics->ShowSignDynamics(body);
}

bool TBaseForm::ChartActivatedOnce() const {
  const TPictureRadixChart* chart = chartWindow_;
  return chart && chart->ActivatedOnce();
}

void TBaseForm::RecalcChart() {
  if (TPictureRadixChart* chart = chartWindow_) chart->Recalc();
}

SettingsReadResult TBaseForm::ReloadChartSettings() {
  TPictureRadixChart* chart = chartWindow_;
  return chart ? chart->ReloadSettings() : SettingsReadResult{true, {}};
}

void TBaseForm::ApplyChartTime() {
  TPictureRadixChart* chart = chartWindow_;
  if (!chart) return;
  chart->Recalc();
  SetPanelText(5, LocalMomentText(chart->Chart.JulianDayUT, chart->Chart.TimeZone));
  RedrawChart();
}

void TBaseForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  RunGuarded([this] { FormShow(); }, this);
}

void TBaseForm::FormShow() {
  CloseLauncherWindow();
  BlankLoadResult load = LoadBlankModel(ProgramFolder + "/Print", ProgramBlanks());
  // the reader names the file by its path (UTF-8); messages are code page 1251
  if (!load.ok) throw PlatformError(Utf8ToCp1251(load.message));
  const std::string blankProblem = AdoptLoadedBlanks();
  if (TPrintDiziner* designer = TPrintDiziner::Instance()) designer->SelectBlank(0);
  if (!blankProblem.empty()) ShowMessage(blankProblem, this);
  // the house windows come up at the left of the chart, one under the other,
  // as the question is asked
  TCverent* cverent = TCverent::Instance();
  TCvesit* cvesit = TCvesit::Instance();
  if (!cverent || !cvesit) return;
  // the window manager's title bar is not known before a window is shown:
  // room for one is left above each window
  constexpr int kTitleBarRoom = 32;  // pixels
  const QPoint corner = mdiArea_->mapToGlobal(QPoint(12, kTitleBarRoom));
  cverent->move(corner);
  cverent->show();
  cvesit->move(corner + QPoint(0, cverent->height() + kTitleBarRoom + 12));
  cvesit->show();
}

void TBaseForm::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    // unsaved database changes: Cancel keeps the program running
    bool goOn = false;
    RunGuarded([&] { goOn = AskSaveDatabase(); }, this);
    if (!goOn) {
      event->ignore();
      return;
    }
    closing_ = true;
    FormClose();
  }
  event->accept();
}

void TBaseForm::FormClose() {
  // Every time, without a question: the print templates, then the chart
  // settings. A file that cannot be written never stops the others; all
  // failures are reported together and the program ends all the same.
  std::vector<std::string> failures = SaveBlankModel(ProgramFolder + "/Print", ProgramBlanks());
  if (TPictureRadixChart* chart = chartWindow_) {
    SettingsOutsideRecord outside = chart->Outside;
    outside.SaveSettings = SaveSettingsDuringWork;
    for (const std::string& f : WriteChartSettings(ProgramFolder, chart->Chart, outside))
      failures.push_back(f);
  }
  if (!failures.empty()) {
    std::string text;
    for (const std::string& f : failures) text += (text.empty() ? "" : "\n") + f;
    ShowErrorMessage(Utf8ToCp1251(text), this);
  }
}

void TBaseForm::HelpClick() {
  if (!OpenHelp(ProgramFolder)) throw CannotOpenFileError(ProgramFolder + "/Help/index.html");
}

void TBaseForm::N20Click() { close(); }

void TBaseForm::N44Click() {
  // A fresh About box each time, freed after use.
  TAboutProgram about(this);
  ExecModal(about);
}

void TBaseForm::N27Click() {
  TPictureRadixChart* chart = chartWindow_;
  bool shown = Item("N27")->isChecked();
  panelAsp_->setVisible(shown);
  if (!chart) return;
  chart->Chart.AspectListShown = shown ? 1 : 0;
  ShowAspectList(FillAspectList(chart->Chart));
}

void TBaseForm::HouseSystemClick(int system) {
  TPictureRadixChart* chart = chartWindow_;
  Item(kHouseSystemItems[system - 1])->setChecked(true);
  if (!chart) return;
  chart->Chart.HouseSystem = system;
  SetPanelText(1, chart->Chart.HouseSystemNames[system]);
  chart->Recalc();
  RedrawChart();
}

void TBaseForm::StyleClick(int style) {
  if (TPictureRadixChart* chart = chartWindow_) chart->Chart.ChartStyle = style;
  RedrawChart();
}

void TBaseForm::OrientationClick(int orientation) {
  if (TPictureRadixChart* chart = chartWindow_) chart->Chart.WheelOrientation = orientation;
  RedrawChart();
}

void TBaseForm::MinorLinesClick(int solid) {
  if (TPictureRadixChart* chart = chartWindow_)
    chart->Chart.LineSwitches[0] = static_cast<std::uint8_t>(solid);
  RedrawChart();
}

void TBaseForm::VariantClick(const std::string& item) {
  constexpr std::pair<const char*, ChartVariant> kVariants[] = {
      {"N71", ChartVariant::Standard},
      {"N73", ChartVariant::LunarMansions},
      {"N74", ChartVariant::ArabicParts},
      {"N75", ChartVariant::Midpoints}};
  for (const auto& [name, variant] : kVariants)
    if (item == name) Menu.Variant = variant;
  SyncMenuState();
  RedrawChart();
}

void TBaseForm::SyncMenuState() {
  const char* variants[] = {"N71", "N73", "N74", "N75"};
  Item(variants[static_cast<int>(Menu.Variant)])->setChecked(true);
  Item("N119")->setText(Text(Menu.ElementFillRemoved ? 53 : 52));
  Item("N125")->setText(Text(Menu.HouseFillRemoved ? 61 : 60));
  TPictureRadixChart* chart = chartWindow_;
  if (!chart) return;
  // The hatch items name what a click does: a solid fill offers the hatch
  // (entry 50, 58), a hatch offers the solid fill again (51, 59).
  Item("N118")->setText(Text(chart->Chart.HatchElements == 0 ? 51 : 50));
  Item("N124")->setText(Text(chart->Chart.HatchHouses == 0 ? 59 : 58));
}

void TBaseForm::N118Click() {
  if (TPictureRadixChart* chart = chartWindow_)
    chart->Chart.HatchElements = chart->Chart.HatchElements == 0 ? 1 : 0;
  SyncMenuState();
  RedrawChart();
}

void TBaseForm::N124Click() {
  if (TPictureRadixChart* chart = chartWindow_)
    chart->Chart.HatchHouses = chart->Chart.HatchHouses == 0 ? 1 : 0;
  SyncMenuState();
  RedrawChart();
}

void TBaseForm::N119Click() {
  Menu.ElementFillRemoved = !Menu.ElementFillRemoved;
  SyncMenuState();
  RedrawChart();
}

void TBaseForm::N125Click() {
  Menu.HouseFillRemoved = !Menu.HouseFillRemoved;
  SyncMenuState();
  RedrawChart();
}

void TBaseForm::ColorClick(const std::string& item) {
  TPictureRadixChart* chart = chartWindow_;
  if (!chart) return;
  ChartRecord& c = chart->Chart;
  struct Target {
    const char* item;
    std::int32_t* color;
  };
  const Target targets[] = {{"N114", &c.ChartColors[0]},  {"N115", &c.ChartColors[1]},
                            {"N116", &c.ChartColors[2]},  {"N117", &c.ChartColors[3]},
                            {"N126", &c.ChartColors[4]},  {"N129", &c.ChartColors[5]},
                            {"N128", &c.ChartColors[6]},  {"N130", &c.ChartColors[7]},
                            {"N121", &c.HouseColors[0]},  {"N122", &c.HouseColors[1]},
                            {"N123", &c.HouseColors[2]},  {"N132", &c.AspectColors[0]},
                            {"N133", &c.AspectColors[1]}, {"N127", nullptr}};
  for (const Target& t : targets) {
    if (item != t.item) continue;
    std::int32_t current = t.color ? *t.color : chart->WindowColor();
    QColor picked = QColorDialog::getColor(ToQColor(current), this);
    if (!picked.isValid()) return;  // cancelled: nothing changes
    std::int32_t value = RGBColor(picked.red(), picked.green(), picked.blue());
    if (t.color)
      *t.color = value;
    else
      chart->SetWindowColor(value);
    RedrawChart();
    return;
  }
}

// The presets reset the significators and set the sign-ruler choice of the
// calculation parameters (radioGroup2).
void TBaseForm::ObjectPreset(int shownUpTo, int aspectedUpTo, int radioGroup2) {
  SetSignRulerOption(radioGroup2);
  TPictureRadixChart* chart = chartWindow_;
  if (!chart) return;
  if (TSignificators* significators = TSignificators::Instance())
    significators->ResetSignificators();
  for (int o = 0; o <= 13; ++o) {
    chart->Chart.ObjectShown[o] = o <= shownUpTo ? 1 : 0;
    if (aspectedUpTo >= 0) chart->Chart.ObjectAspected[o] = o <= aspectedUpTo ? 1 : 0;
  }
  chart->Recalc();
  RedrawChart();
}

void TBaseForm::N78Click() { ObjectPreset(6, 6, 0); }
void TBaseForm::N79Click() { ObjectPreset(11, 6, 0); }

void TBaseForm::N101Click() {
  TPictureRadixChart* chart = chartWindow_;
  if (!chart) return;
  if (TSignificators* significators = TSignificators::Instance())
    significators->ResetSignificators();
  for (int o = 0; o <= 13; ++o) chart->Chart.ObjectShown[o] = o <= 11 ? 1 : 0;
  if (TWarning* warning = TWarning::Instance()) {
    warning->SetMessage(UiText.Entry(514));
    if (ExecModal(*warning) == mrOk) {
      for (int o = 0; o <= 13; ++o) chart->Chart.ObjectAspected[o] = o <= 11 ? 1 : 0;
      SetSignRulerOption(1);
    }
  }
  chart->Recalc();
  RedrawChart();
}

void TBaseForm::AspectKindPreset(int enabledUpTo) {
  TPictureRadixChart* chart = chartWindow_;
  if (!chart) return;
  for (int k = 0; k <= 8; ++k) chart->Chart.AspectKindEnabled[k] = k <= enabledUpTo ? 1 : 0;
  AspectKindsChanged();
}

void TBaseForm::AspectKindsChanged() {
  TPictureRadixChart* chart = chartWindow_;
  if (!chart) return;
  CalcAspects(chart->Chart, 1);
  ShowAspectList(FillAspectList(chart->Chart));
  RedrawChart();
}

void TBaseForm::N81Click() { AspectKindPreset(4); }
void TBaseForm::N82Click() { AspectKindPreset(8); }

void TBaseForm::N21Click() {
  TPictureRadixChart* chart = chartWindow_;
  if (!chart) return;
  chart->Chart.JulianDayUT = chart->Chart.UndoJulianDayUT;
  chart->Chart.JulianDay0h = chart->Chart.UndoJulianDay0h;
  chart->Chart.UniversalTime = chart->Chart.UndoUniversalTime;
  SetCommandEnabled("N21", false);
  ApplyChartTime();
}

void TBaseForm::N51Click() {
  TPictureRadixChart* chart = chartWindow_;
  if (!chart) return;
  chart->Chart.ReceptionSwap = 1;
  SetCommandEnabled("N145", true);
  SetCommandEnabled("N51", false);
  chart->Recalc();
  RedrawChart();
}

void TBaseForm::N145Click() {
  TPictureRadixChart* chart = chartWindow_;
  if (!chart) return;
  chart->Chart.ReceptionSwap = 0;
  SetCommandEnabled("N145", false);
  chart->Recalc();
  RedrawChart();
}

void TBaseForm::N34Click() {
  if (TParamCalc* dialog = TParamCalc::Instance()) ExecModal(*dialog);
}

void TBaseForm::N85Click() {
  if (TInputDates* dialog = TInputDates::Instance()) dialog->Execute();
}

void TBaseForm::N56Click() {
  if (TCverent* cverent = TCverent::Instance()) {
    cverent->show();
    cverent->raise();
  }
}

void TBaseForm::N57Click() {
  if (TCvesit* cvesit = TCvesit::Instance()) {
    cvesit->show();
    cvesit->raise();
  }
}

void TBaseForm::N50Click() {
  // The dialog enables the completion command itself once both lists hold a
  // point, which is the only way it closes.
  if (TSignificators* significators = TSignificators::Instance()) significators->Execute();
}

void TBaseForm::N49Click() { PresentRadicality(); }

void TBaseForm::PresentRadicality() {
  TRadical* radical = TRadical::Instance();
  if (radical) PresentToolWindow(*radical, [radical] { radical->FormShow(); });
}

void TBaseForm::CloseRadicality() {
  if (TRadical* radical = TRadical::Instance()) radical->close();
}

void TBaseForm::HideRadicalityDetails() {
  if (TRadical* radical = TRadical::Instance()) radical->HideDetails();
}

void TBaseForm::ReloadTopicLists(int list) {
  if (list < 2) {
    if (TCverent* querent = TCverent::Instance()) querent->LoadQuerentLists();
  } else if (TCvesit* quesited = TCvesit::Instance()) {
    quesited->LoadQuesitedLists();
  }
}

void TBaseForm::N53Click() { RunCompletionAnalysis(); }

void TBaseForm::N23Click() { CopyActiveWindowImage(*this, true); }

void TBaseForm::BMP1Click() { CopyActiveWindowImage(*this, false); }

void TBaseForm::ListBox1DblClick() {
  TPictureRadixChart* chart = chartWindow_;
  QListWidgetItem* item = listBox1_->currentItem();
  if (!chart || !item || !item->isSelected()) return;
  const int row = listBox1_->row(item);
  if (row < 0 || row >= static_cast<int>(aspectLines_.size())) return;
  AspectLinePick pick;
  if (!PickAspectLine(chart->Chart, aspectLines_[row], pick)) return;
  LastAspectPick = pick;
  // an aspect to a house cusp has no dynamics
  if (pick.SecondIsCusp) {
    ShowMessage(UiText.Entry(515), this);
    return;
  }
  if (TDynPlanAsp* dynamics = TDynPlanAsp::Instance())
    dynamics->ShowAspectDynamics(pick.First, pick.Kind, pick.Second);
}

void TBaseForm::N45Click() {
  TPositionPlanets* positions = TPositionPlanets::Instance();
  if (positions) PresentToolWindow(*positions, [positions] { positions->FormShow(); });
}

void TBaseForm::N46Click() {
  TAffeticnew* dignities = TAffeticnew::Instance();
  if (dignities) PresentToolWindow(*dignities, [dignities] { dignities->FormShow(); });
}

void TBaseForm::N135Click() {
  TAstronom* astronom = TAstronom::Instance();
  if (!astronom) return;
  astronom->FillPlanetParameters();
  ExecModal(*astronom);
}

void TBaseForm::N143Click() {
  TLocalSpaceChart* space = TLocalSpaceChart::Instance();
  if (!space) return;
  space->CalcHorizontalCoords();
  PresentToolWindow(*space, [space] { space->FormShow(); });
}

namespace {

// Language entries of the refusals above latitude 65 North.
constexpr int kEntryNoPlanetaryHours = 434;
constexpr int kEntryNoLunarDays = 436;

}  // namespace

void TBaseForm::OpenTimingTable(TTimingTable* table, int refusalEntry) {
  TPictureRadixChart* chart = chartWindow_;
  if (!chart || !table) return;
  if (chart->Chart.GeoLatitude > kHighLatitudeLimit) {
    ShowMessage(UiText.Entry(refusalEntry), this);
    return;
  }
  PresentToolWindow(*table, [table] { table->FormShow(); });
}

void TBaseForm::N137Click() { OpenTimingTable(TPlanetHour::Instance(), kEntryNoPlanetaryHours); }

void TBaseForm::N138Click() { OpenTimingTable(TMoonDay::Instance(), kEntryNoLunarDays); }

void TBaseForm::N38Click() {
  TCircleOptions* options = TCircleOptions::Instance();
  if (options) PresentToolWindow(*options, [options] { options->FormShow(); });
}

// The chosen chart objects: taken back only on OK; the significators are
// reset and the chart is recomputed and redrawn either way.
void TBaseForm::N80Click() {
  TPictureRadixChart* chart = chartWindow_;
  TAspectation* dialog = TAspectation::Instance();
  if (!chart || !dialog) return;
  dialog->PutAspectObjectFlags(chart->Chart.ObjectAspected, chart->Chart.ObjectShown);
  ExecModal(*dialog);
  if (dialog->Accepted)
    dialog->GetAspectObjectFlags(chart->Chart.ObjectAspected, chart->Chart.ObjectShown);
  if (TSignificators* significators = TSignificators::Instance())
    significators->ResetSignificators();
  chart->Recalc();
  RedrawChart();
}

// The aspect kinds in use: on OK taken back, both "all" boxes cleared, the
// aspects found anew; Cancel changes and redraws nothing.
void TBaseForm::N83Click() {
  TPictureRadixChart* chart = chartWindow_;
  TAspects* dialog = TAspects::Instance();
  if (!chart || !dialog) return;
  dialog->PutAspectTypeFlags(chart->Chart.AspectKindEnabled);
  ExecModal(*dialog);
  if (!dialog->Accepted) return;
  dialog->GetAspectTypeFlags(chart->Chart.AspectKindEnabled);
  dialog->CheckBox1All->setChecked(false);
  dialog->CheckBox2All->setChecked(false);
  AspectKindsChanged();
}

// The orbs and the parts editors: the chart follows whatever was done (the
// parts are edited in place, the orbs only on OK).
void TBaseForm::RunChartEditor(QDialog* dialog) {
  TPictureRadixChart* chart = chartWindow_;
  if (!chart || !dialog) return;
  ExecModal(*dialog);
  chart->Recalc();
  RedrawChart();
}

void TBaseForm::N140Click() { RunChartEditor(TEditParses::Instance()); }
void TBaseForm::N141Click() { RunChartEditor(TEditOrbis::Instance()); }

void TBaseForm::N47Click() {
  if (!ProgramBlanksUsable()) return ShowMessage(BlankModelMessage(), this);
  TBlanksDoc* choice = TBlanksDoc::Instance();
  if (!choice) return;
  if (choice->isVisible()) {
    choice->raise();
    return;
  }
  const QRect area = geometry();
  choice->move(area.center() - QPoint(choice->width() / 2, choice->height() / 2));
  choice->show();
}

void TBaseForm::N134Click() {
  if (!ProgramBlanksUsable()) return ShowMessage(BlankModelMessage(), this);
  TPrintDiziner* designer = TPrintDiziner::Instance();
  if (!designer) return;
  if (TAstronom* astronom = TAstronom::Instance()) astronom->FillPlanetParameters();
  designer->PrintMode = 0;
  ExecModal(*designer);
  designer->PrintMode = -1;
}

void TBaseForm::N18Click() { PrintTickedBlanks(); }

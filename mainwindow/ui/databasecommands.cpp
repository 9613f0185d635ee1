// The chart-database commands of the main window: create, open, close, save
// and save as, add and delete sections, store the current chart, load a chart
// (by its command or by dragging its node onto the chart), and the tree that
// shows the database in PanelDB.
//
// The model (mainwindow/chartdb.h) is the database; TreeBD only shows it.
// Every edit changes the model and the tree together, and every change marks
// the database modified, so that nothing that replaces or drops it goes on
// before the user has said whether to save it.
#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "chart/ui/picturechart.h"
#include "engine/astromath.h"
#include "input/ui/paramcalc.h"
#include "judgement/ui/housewindows.h"
#include "mainwindow/ui/baseform.h"
#include "mainwindow/ui/smalldialogs.h"
#include "platform/files.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kNoNode = std::string::npos;

// Texts of the language file the commands use.
constexpr int kEntryCreateCaption = 291;     // name dialog when creating
constexpr int kEntryFirstSection = 292;      // name of a new database's first section
constexpr int kEntryFirstSectionLine = 293;  // its record line
constexpr int kEntryReplaceFile = 294;       // save-as: the file exists
constexpr int kEntryAddSectionCaption = 295;
constexpr int kEntryDeleteSection = 296;
constexpr int kEntryDeleteChart = 297;
constexpr int kEntryNoHouses = 513;    // the loaded record carries no houses
constexpr int kEntryOpenCaption = 12;  // "Открыть БД"
constexpr int kEntryCancelButton = 260;

// The open dialog's choices, in order: the program's own pair first, then
// the files of other programs that the open command imports.
constexpr const char* kOpenFilters[] = {
    "ZarnTelka (*.zrn)", "Quick*Chart format (*.qck)", "Almagest DOS (*.ddd)", "Zet (*.zet)",
    "SkyWorker (*.cat)", "Gemma 10 (*.ast)",           "Uranus DOS(*.bda)"};
constexpr int kOwnPairFilter = 1;
// Save-as writes the program's own pair only.
constexpr const char* kSaveFilter = "ZarnTelka (*.zrn)";
constexpr const char* kSaveTitle = "Сохранение файла базы данных";

// The commands that act on a selected node, disabled when nothing is.
constexpr const char* kNodeCommands[] = {"N13", "N68", "N70"};

// Which commands the selected node enables (on) and disables (off).
struct NodeCommandRow {
  int Kind;  // 0 the root, kDbSection a section, kDbChart a chart
  const char* On[6];
  const char* Off[4];
};
constexpr NodeCommandRow kNodeCommandTable[] = {
    {0, {"N15", "N16", "N12"}, {"N13", "N69", "N70", "N68"}},
    {kDbSection, {"N15", "N16", "N12", "N13", "N69"}, {"N70", "N68"}},
    {kDbChart, {"N15", "N16", "N12", "N69", "N70", "N68"}, {"N13"}},
};

// What closing leaves disabled.
constexpr const char* kClosedCommands[] = {"N12", "N13", "N68", "N69", "N70", "N10", "N15", "N16"};

QString FromCp(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }

bool IsSection(int state) { return state == kDbSection || state == kDbSectionExpanded; }

// The icon of a node's kind; the icons are made once by the main window,
// since a standard icon looked up for each of many items is slow.
QStyle::StandardPixmap StatePixmap(int state) {
  return state == kDbChart             ? QStyle::SP_FileIcon
         : state == kDbSectionExpanded ? QStyle::SP_DirOpenIcon
                                       : QStyle::SP_DirClosedIcon;
}

std::string DatabaseFolderOption(const std::string& programFolder) {
  if (TParamCalc* params = TParamCalc::Instance())
    if (!params->DatabaseFolder.empty()) return params->DatabaseFolder;
  return programFolder;
}

// True when either file of the pair stem is there.
bool PairExists(const std::string& stem) {
  std::error_code error;
  return fs::exists(stem + ".zrn", error) || fs::exists(stem + ".zrt", error);
}

// True when a file of the pair stem is there and the pair is not the one
// sourceFile (the database's own record file) belongs to.
bool PairOfAnotherDatabase(const std::string& stem, const std::string& sourceFile) {
  if (!PairExists(stem)) return false;
  std::error_code error;
  return sourceFile.empty() || !fs::equivalent(stem + ".zrn", sourceFile, error);
}

}  // namespace

void TBaseForm::ConnectDatabaseHandlers() {
  auto on = [this](const char* item, void (TBaseForm::*handler)()) {
    connect(Item(item), &QAction::triggered, this,
            Guarded([this, handler] { (this->*handler)(); }, this));
  };
  on("N8", &TBaseForm::N8Click);
  on("N9", &TBaseForm::N9Click);
  on("N10", &TBaseForm::N10Click);
  on("N15", &TBaseForm::N15Click);
  on("N16", &TBaseForm::N16Click);
  on("N26", &TBaseForm::N26Click);
  on("N12", &TBaseForm::N12Click);
  on("N13", &TBaseForm::N13Click);
  on("N68", &TBaseForm::N68Click);
  on("N69", &TBaseForm::N69Click);
  on("N70", &TBaseForm::N70Click);
  connect(treeBd_, &QTreeWidget::itemCollapsed, this,
          [this](QTreeWidgetItem* item) { RunGuarded([&] { TreeBDCollapsing(item); }, this); });
  connect(treeBd_, &QTreeWidget::itemExpanded, this,
          [this](QTreeWidgetItem* item) { RunGuarded([&] { TreeBDExpanding(item); }, this); });
  // the commands follow the selected node however it was selected: by the
  // mouse (either button), the keyboard or a command
  connect(treeBd_, &QTreeWidget::itemPressed, this, Guarded([this] { TreeBDMouseDown(); }, this));
  connect(treeBd_, &QTreeWidget::itemSelectionChanged, this,
          Guarded([this] { TreeBDMouseDown(); }, this));
}

const QIcon& TBaseForm::StateIcon(int state) {
  const int at = state == kDbChart ? 2 : state == kDbSectionExpanded ? 1 : 0;
  if (stateIcons_[at].isNull()) stateIcons_[at] = style()->standardIcon(StatePixmap(state));
  return stateIcons_[at];
}

QString TBaseForm::StatusBarDBText() const { return statusBarDbText_->text(); }

// ---- the tree ---------------------------------------------------------------

std::size_t TBaseForm::NodeOfItem(const QTreeWidgetItem* item) const {
  if (!item) return kNoNode;
  std::vector<int> path;
  for (const QTreeWidgetItem* at = item; at; at = at->parent())
    path.push_back(at->parent() ? at->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(at))
                                : treeBd_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(at)));
  std::reverse(path.begin(), path.end());
  return NodeAtPath(Database.Nodes, path);
}

std::size_t TBaseForm::SelectedNode() const {
  const QList<QTreeWidgetItem*> selected = treeBd_->selectedItems();
  return selected.isEmpty() ? kNoNode : NodeOfItem(selected.front());
}

// The items are made detached, each hung under its parent's item, and the
// top-level ones given to the tree at once; the states come from the nodes
// in the same walk.
void TBaseForm::FillTreeBD() {
  treeBd_->clear();
  statusBarDbText_->clear();
  const std::vector<DbNode>& nodes = Database.Nodes;
  const std::vector<std::size_t> parents = ParentIndices(nodes);
  std::vector<QTreeWidgetItem*> items(nodes.size());
  QList<QTreeWidgetItem*> top;
  std::vector<QTreeWidgetItem*> expanded;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    items[i] = new QTreeWidgetItem(QStringList(FromCp(nodes[i].Text)));
    items[i]->setIcon(0, StateIcon(nodes[i].State));
    if (parents[i] == kNoNode)
      top.append(items[i]);
    else
      items[parents[i]]->addChild(items[i]);
    if (nodes[i].State == kDbSectionExpanded) expanded.push_back(items[i]);
  }
  treeBd_->addTopLevelItems(top);
  for (QTreeWidgetItem* item : expanded) item->setExpanded(true);
}

void TBaseForm::ShowDatabase() {
  FillTreeBD();
  SetCommandEnabled("N10", true);
  SetCommandEnabled("N26", true);
  if (!dbPanelShown_) N26Click();
}

void TBaseForm::AddTreeItem(std::size_t index, QTreeWidgetItem* parent) {
  const DbNode& node = Database.Nodes[index];
  auto* item = new QTreeWidgetItem(QStringList(FromCp(node.Text)));
  item->setIcon(0, StateIcon(node.State));
  if (parent)
    parent->addChild(item);
  else
    treeBd_->addTopLevelItem(item);
  treeBd_->clearSelection();
  treeBd_->setCurrentItem(item);
  item->setSelected(true);
  treeBd_->scrollToItem(item);  // its section opened, if it was closed
}

std::size_t TBaseForm::NewNodeParent(std::size_t selected) const {
  if (selected >= Database.Nodes.size()) return 0;  // nothing selected: the root
  if (IsSection(Database.Nodes[selected].State)) return selected;
  return ParentIndex(Database.Nodes, selected);
}

QTreeWidgetItem* TBaseForm::ItemOfParent(std::size_t parent, std::size_t selected) const {
  const QList<QTreeWidgetItem*> items = treeBd_->selectedItems();
  if (selected >= Database.Nodes.size() || items.isEmpty()) return treeBd_->topLevelItem(0);
  return parent == selected ? items.front() : items.front()->parent();
}

void TBaseForm::TreeBDCollapsing(QTreeWidgetItem* item) {
  const std::size_t node = NodeOfItem(item);
  if (node >= Database.Nodes.size() || Database.Nodes[node].State != kDbSectionExpanded) return;
  Database.Nodes[node].State = kDbSection;
  item->setIcon(0, StateIcon(kDbSection));
}

void TBaseForm::TreeBDExpanding(QTreeWidgetItem* item) {
  const std::size_t node = NodeOfItem(item);
  if (node >= Database.Nodes.size() || Database.Nodes[node].State != kDbSection) return;
  Database.Nodes[node].State = kDbSectionExpanded;
  item->setIcon(0, StateIcon(kDbSectionExpanded));
}

void TBaseForm::TreeBDMouseDown() {
  const std::size_t node = SelectedNode();
  if (node >= Database.Nodes.size()) {
    for (const char* item : kNodeCommands) SetCommandEnabled(item, false);
    return;
  }
  const int state = Database.Nodes[node].State;
  const int kind = node == 0 ? 0 : IsSection(state) ? kDbSection : kDbChart;
  for (const NodeCommandRow& row : kNodeCommandTable) {
    if (row.Kind != kind) continue;
    for (const char* item : row.On)
      if (item) SetCommandEnabled(item, true);
    for (const char* item : row.Off)
      if (item) SetCommandEnabled(item, false);
  }
  if (state == kDbChart)
    statusBarDbText_->setText(FromCp(FormatDbRecordDateTime(Database.Lines[node])));
}

// ---- questions -----------------------------------------------------------------

bool TBaseForm::AskName(int entry, std::string& name) {
  TInputNameBD* dialog = TInputNameBD::Instance();
  if (!dialog) return false;
  dialog->setWindowTitle(Text(entry));
  dialog->Name->clear();
  if (ExecModal(*dialog) != mrOk) return false;
  name = dialog->NameText();
  return true;
}

bool TBaseForm::Confirm(const std::string& cp1251Question) {
  TWarning* warning = TWarning::Instance();
  if (!warning) return false;
  warning->SetMessage(cp1251Question);
  const bool ok = ExecModal(*warning) == mrOk;
  warning->SetMessage({});
  return ok;
}

bool TBaseForm::AskSaveDatabase() {
  if (Database.Nodes.empty() || !DbModified) return true;
  QMessageBox box(
      QMessageBox::Question, ApplicationTitle(),
      FromCp(FillEntry(UiText.Entry(kUiEntryDatabaseChanged), {Database.Nodes[0].Text})),
      QMessageBox::NoButton, this);
  box.setObjectName("AskSaveDatabase");
  QAbstractButton* save = box.addButton(Text(kUiEntrySaveButton), QMessageBox::AcceptRole);
  QAbstractButton* discard =
      box.addButton(Text(kUiEntryDiscardButton), QMessageBox::DestructiveRole);
  QAbstractButton* cancel = box.addButton(Text(kEntryCancelButton), QMessageBox::RejectRole);
  save->setObjectName("Save");
  discard->setObjectName("Discard");
  cancel->setObjectName("Cancel");
  box.setDefaultButton(qobject_cast<QPushButton*>(save));
  box.setEscapeButton(cancel);
  ExecModal(box);
  if (box.clickedButton() == save) return SaveDatabase();
  return box.clickedButton() == discard;
}

// ---- create, open, close ---------------------------------------------------------

void TBaseForm::N8Click() {
  if (!AskSaveDatabase()) return;
  std::string name;
  // the root's name is the database's only handle: its file name and the
  // name every question about it gives
  for (;;) {
    if (!AskName(kEntryCreateCaption, name)) return;
    if (name.find_first_not_of(' ') != std::string::npos) break;
    ShowMessage(UiText.Entry(kUiEntryEmptyName), this);
  }
  CreateDatabase(Database, name, UiText.Entry(kEntryFirstSection),
                 UiText.Entry(kEntryFirstSectionLine));
  ShowDatabase();
}

void TBaseForm::N9Click() {
  if (!AskSaveDatabase()) return;
  QFileDialog dialog(this, Text(kEntryOpenCaption));
  dialog.setObjectName("OpenDialog1");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  QStringList filters;
  for (const char* filter : kOpenFilters) filters << QString::fromUtf8(filter);
  dialog.setNameFilters(filters);
  dialog.setDirectory(QString::fromStdString(DatabaseFolderOption(ProgramFolder)));
  if (ExecModal(dialog) != mrOk || dialog.selectedFiles().isEmpty()) return;
  const int filter = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  const std::string file = dialog.selectedFiles().front().toStdString();
  BusyCursor busy;
  if (filter != kOwnPairFilter) {  // another program's file, read into a new database
    ImportForeignDatabase(file, filter);
    return;
  }
  std::string message, completed;
  // all or nothing: on a refusal the open database is kept as it was
  if (!LoadDatabasePair(file, Database, message, &completed)) {
    ShowDatabaseNotOpened(file, message);
    return;
  }
  ShowDatabase();
  if (!completed.empty()) ShowInterruptedSaveCompleted(file, completed);
}

void TBaseForm::N10Click() {
  if (!AskSaveDatabase()) return;
  if (dbPanelShown_) N26Click();
  CloseDatabase(Database);
  treeBd_->clear();
  statusBarDbText_->clear();
  for (const char* item : kClosedCommands) SetCommandEnabled(item, false);
}

void TBaseForm::N26Click() {
  dbPanelShown_ = !dbPanelShown_;
  Item("N26")->setChecked(dbPanelShown_);
  panelDb_->setVisible(dbPanelShown_);
  RedrawChart();
}

// ---- save ------------------------------------------------------------------------

void TBaseForm::N15Click() { SaveDatabase(); }

void TBaseForm::N16Click() { SaveDatabaseAs(); }

bool TBaseForm::SaveDatabase() {
  if (Database.Nodes.empty()) return false;
  if (DbFolder.empty()) return SaveDatabaseAs();
  const std::string& name = Database.Nodes[0].Text;
  if (!IsDatabaseFileName(name)) {
    ShowMessage(FillEntry(UiText.Entry(kUiEntryRootNoFileName), {name}), this);
    return SaveDatabaseAs();
  }
  const std::string stem = DbFolder + "/" + Cp1251ToUtf8(name);
  const PairState expected = ExpectedPairState(stem);
  if (PairOfAnotherDatabase(stem, Database.SourceFile) &&
      !Confirm(FillEntry(UiText.Entry(kUiEntryOverwriteForeign), {Utf8ToCp1251(stem + ".zrn")})))
    return false;
  return WriteDatabase(stem, expected);
}

bool TBaseForm::SaveDatabaseAs() {
  if (Database.Nodes.empty()) return false;
  QFileDialog dialog(this, QString::fromUtf8(kSaveTitle));
  dialog.setObjectName("SaveDialog1");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // the question below asks about the pair, not only about the file typed
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QString::fromUtf8(kSaveFilter));
  dialog.setDefaultSuffix("zrn");
  dialog.setDirectory(QString::fromStdString(DatabaseFolderOption(ProgramFolder)));
  dialog.selectFile(FromCp(Database.Nodes[0].Text));
  std::string stem;
  PairState expected;
  for (;;) {
    if (ExecModal(dialog) != mrOk || dialog.selectedFiles().isEmpty()) return false;
    stem = DatabaseStemOf(dialog.selectedFiles().front().toStdString());
    expected = ExpectedPairState(stem);
    if (!PairExists(stem) || Confirm(UiText.Entry(kEntryReplaceFile))) break;
  }
  return WriteDatabase(stem, expected);
}

PairState TBaseForm::ExpectedPairState(const std::string& stem) const {
  const std::string records = stem + ".zrn";
  const std::string& source = Database.SourceFile;
  std::error_code error;
  if (!source.empty() &&
      (ExpandFullPath(records) == ExpandFullPath(source) || fs::equivalent(records, source, error)))
    return Database.Disk;
  return ReadPairState(stem);
}

bool TBaseForm::WriteDatabase(const std::string& stem, const PairState& expected) {
  std::string message;
  PairState state = expected;
  for (;;) {
    PairState found;
    SaveOutcome outcome;
    {
      BusyCursor busy;
      outcome = SaveDatabasePairIf(stem, state, Database, found, message);
    }
    if (outcome == SaveOutcome::Saved) return true;
    if (outcome == SaveOutcome::Failed) {
      ShowErrorMessage(message, this);
      return false;
    }
    // another program saved this pair since it was read: its charts would
    // be lost without a word, so the user decides
    QMessageBox box(
        QMessageBox::Warning, ApplicationTitle(),
        FromCp(FillEntry(UiText.Entry(kUiEntryPairChangedOnDisk), {Utf8ToCp1251(stem + ".zrn")})),
        QMessageBox::NoButton, this);
    box.setObjectName("PairChangedOnDisk");
    QAbstractButton* save = box.addButton(Text(kUiEntrySaveAnywayButton), QMessageBox::AcceptRole);
    QAbstractButton* cancel = box.addButton(Text(kEntryCancelButton), QMessageBox::RejectRole);
    save->setObjectName("SaveAnyway");
    cancel->setObjectName("Cancel");
    box.setDefaultButton(qobject_cast<QPushButton*>(cancel));
    box.setEscapeButton(cancel);
    ExecModal(box);
    if (box.clickedButton() != save) return false;
    state = found;  // replaced only if it is still what the user agreed to replace
  }
}

// ---- edits -----------------------------------------------------------------------

void TBaseForm::N12Click() {
  if (Database.Nodes.empty()) return;
  std::string typed;
  if (!AskName(kEntryAddSectionCaption, typed)) return;
  const std::size_t selected = SelectedNode();
  const std::size_t parent = NewNodeParent(selected);
  QTreeWidgetItem* parentItem = ItemOfParent(parent, selected);
  const std::string name = DbNodeText(typed);
  const std::size_t index =
      InsertDbNode(Database, parent, DbNode{name, 0, kDbSection}, DbSectionLine(name));
  AddTreeItem(index, parentItem);
}

void TBaseForm::N69Click() {
  TPictureRadixChart* chart = TPictureRadixChart::Instance();
  if (Database.Nodes.empty() || !chart) return;
  const TCverent* cverent = TCverent::Instance();
  const std::size_t selected = SelectedNode();
  const std::size_t parent = NewNodeParent(selected);
  QTreeWidgetItem* parentItem = ItemOfParent(parent, selected);
  const DbChart record = DbChartOf(chart->Chart, cverent ? cverent->WhoAsks() : 0);
  const std::size_t index =
      InsertDbNode(Database, parent, DbNode{DbNodeText(record.ChartName), 0, kDbChart},
                   BuildDbRecordLine(record));
  AddTreeItem(index, parentItem);
}

void TBaseForm::N13Click() {
  const std::size_t node = SelectedNode();
  if (node == 0 || node >= Database.Nodes.size() || !IsSection(Database.Nodes[node].State)) return;
  if (!Confirm(UiText.Entry(kEntryDeleteSection))) return;
  QTreeWidgetItem* item = treeBd_->selectedItems().front();
  RemoveDbSubtree(Database, node);
  delete item;
  for (const char* name : {"N13", "N69", "N70", "N68"}) SetCommandEnabled(name, false);
}

void TBaseForm::N70Click() {
  const std::size_t node = SelectedNode();
  if (node >= Database.Nodes.size() || Database.Nodes[node].State != kDbChart) return;
  if (!Confirm(UiText.Entry(kEntryDeleteChart))) return;
  QTreeWidgetItem* item = treeBd_->selectedItems().front();
  RemoveDbSubtree(Database, node);
  delete item;
  for (const char* name : {"N70", "N68"}) SetCommandEnabled(name, false);
}

// ---- load ------------------------------------------------------------------------

void TBaseForm::N68Click() {
  TPictureRadixChart* chart = chartWindow_;
  const std::size_t node = SelectedNode();
  if (!chart || node >= Database.Nodes.size() || Database.Nodes[node].State != kDbChart) return;
  DbChart record;
  std::string why;
  if (!ParseDbRecord(Database.Lines[node], record, why)) {
    ShowErrorMessage(
        FillEntry(UiText.Entry(kUiEntryRecordUnreadable), {Database.Nodes[node].Text, why}), this);
    return;
  }
  ChartRecord& c = chart->Chart;
  ApplyDbChart(record, c);
  c.GeocentricLatitude = static_cast<float>(GeocentricOfGeographic(c.GeoLatitude));
  c.UndoJulianDayUT = c.JulianDayUT;
  c.UndoJulianDay0h = c.JulianDay0h;
  c.UndoUniversalTime = c.UniversalTime;
  ChartReplaced();
  HouseChoice houses;
  if (!UnpackHouseCode(record.HouseCode, houses)) {
    ShowMessage(UiText.Entry(kEntryNoHouses), this);
  } else {
    c.QuerentHouse = houses.QuerentHouse;
    c.QuesitedHouse = houses.QuesitedHouse;
    if (TCverent* cverent = TCverent::Instance()) cverent->ShowQuerentHouse(houses.WhoAsks);
    if (TCvesit* cvesit = TCvesit::Instance()) cvesit->ShowQuesitedHouse();
  }
  ApplyChartTime();
  SetPanelText(0, c.ChartName);
}

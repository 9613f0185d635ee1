#include "mainwindow/ui/finddbfile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTableWidget>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "mainwindow/dbsearch.h"
#include "mainwindow/ui/mainwindowport.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/messages.h"
#include "platform/qt/paths.h"
#include "platform/text/cp1251.h"

namespace {

TTreeBDTable* gTreeBDTable = nullptr;
TFindDBFile* gFindDBFile = nullptr;

constexpr int kEntryOk = 259;              // "Ввод"
constexpr int kEntryCancel = 260;          // "Отмена"
constexpr int kEntryFindCaption = 317;     // "Поиск в базах данных"
constexpr int kEntryNameLabel = 318;       // "Имя в карте"
constexpr int kEntryFolderLabel = 319;     // "Папка для поиска"
constexpr int kEntrySearch = 320;          // "Искать"
constexpr int kEntryResultsCaption = 321;  // "БД с данными поиска."
constexpr int kEntryNotFound1 = 322;       // "Карта с именем"
constexpr int kEntryNotFound2 = 323;       // "не найдена"
constexpr int kPathColumnWidth = 380;      // pixels
constexpr int kResultsGap = 8;             // pixels between the dialog and the results

QString UiText(int entry) {
  MainWindowPort* form = MainWindow();
  return form ? form->Text(entry) : QString();
}

std::string UiEntry(int entry) {
  MainWindowPort* form = MainWindow();
  return form ? form->UiText.Entry(entry) : std::string();
}

// A path as the grid shows it: each folder and file name as UTF-8 when it is
// valid UTF-8, else as code page 1251 (the names of copies from old systems).
QString ShownPath(const std::string& path) {
  QString shown;
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = path.find('/', start);
    const std::string name = path.substr(start, slash - start);
    const QString utf8 = QString::fromUtf8(name);
    shown +=
        utf8.toUtf8().toStdString() == name ? utf8 : QString::fromStdString(Cp1251ToUtf8(name));
    if (slash == std::string::npos) return shown;
    shown += '/';
    start = slash + 1;
  }
}

// Where a row keeps its path: the bytes the folder listing gave, which the
// shown text may not give back.
constexpr int kPathRole = Qt::UserRole;

}  // namespace

// ---- the results grid ------------------------------------------------------------

TTreeBDTable* TTreeBDTable::Instance() { return gTreeBDTable; }

TTreeBDTable::TTreeBDTable(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
  gTreeBDTable = this;
  setObjectName("TreeBDTable");
  setWindowTitle(UiText(kEntryResultsCaption));
  StringGrid1 = new QTableWidget(1, 1, this);
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->hide();
  StringGrid1->setColumnWidth(0, kPathColumnWidth);
  StringGrid1->horizontalHeader()->setStretchLastSection(true);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  BitBtn1 = new QPushButton(UiText(kEntryOk), this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn2 = new QPushButton(UiText(kEntryCancel), this);
  BitBtn2->setObjectName("BitBtn2");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(StringGrid1);
  layout->addLayout(buttons);
  resize(kPathColumnWidth + 40, 220);
  ClearGrid();

  connect(StringGrid1, &QTableWidget::cellClicked, this,
          Guarded([this] { StringGrid1Click(); }, this));
  connect(StringGrid1, &QTableWidget::cellDoubleClicked, this,
          Guarded([this] { StringGrid1DblClick(); }, this));
  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
  connect(BitBtn2, &QPushButton::clicked, this, Guarded([this] { BitBtn2Click(); }, this));
}

TTreeBDTable::~TTreeBDTable() {
  if (gTreeBDTable == this) gTreeBDTable = nullptr;
}

void TTreeBDTable::ClearGrid() {
  StringGrid1->clearContents();
  StringGrid1->setRowCount(1);
  StringGrid1->setItem(0, 0, new QTableWidgetItem(QString()));
  if (TFindDBFile* find = TFindDBFile::Instance()) find->FoundCount = 0;
}

void TTreeBDTable::AddRow(int row, const std::string& path) {
  if (row >= StringGrid1->rowCount()) StringGrid1->setRowCount(row + 1);
  auto* item = new QTableWidgetItem(ShownPath(path));
  item->setData(kPathRole, QByteArray::fromStdString(path));
  StringGrid1->setItem(row, 0, item);
}

void TTreeBDTable::FillTowns(const std::vector<TownGridRow>& rows) {
  ListsDbFiles = 0;
  setWindowTitle(UiText(kTownGridCaptionEntry));
  StringGrid1->clearContents();
  StringGrid1->setColumnCount(4);
  StringGrid1->horizontalHeader()->setStretchLastSection(false);
  StringGrid1->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const TownGridRow& row = rows[static_cast<std::size_t>(r)];
    const std::string* cells[4] = {&row.Name, &row.Country, &row.Latitude, &row.Longitude};
    for (int c = 0; c < 4; ++c)
      StringGrid1->setItem(r, c,
                           new QTableWidgetItem(QString::fromStdString(Cp1251ToUtf8(*cells[c]))));
  }
  // the designed widths at least; wider where this face needs it
  StringGrid1->resizeColumnsToContents();
  int total = 0;
  for (int c = 0; c < 4; ++c) {
    StringGrid1->setColumnWidth(
        c, std::max(StringGrid1->columnWidth(c) + 8, kTownGridColumnWidths[c]));
    total += StringGrid1->columnWidth(c);
  }
  resize(std::max(width(), total + 40), height());
  SelectedRow = 0;
}

void TTreeBDTable::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TTreeBDTable::closeEvent(QCloseEvent* event) {
  FormClose();
  QDialog::closeEvent(event);
}

void TTreeBDTable::FormShow() {
  SelectedRow = 0;
  if (ListsDbFiles == 0 && StringGrid1->rowCount() > 0) StringGrid1->setCurrentCell(0, 0);
}

void TTreeBDTable::FormClose() { ClearGrid(); }

void TTreeBDTable::StringGrid1Click() { SelectedRow = StringGrid1->currentRow(); }

void TTreeBDTable::StringGrid1DblClick() {
  if (ListsDbFiles == 0) {  // a town chosen: the data-input dialog takes it
    StringGrid1Click();
    CloseModal(*this, mrOk);
    return;
  }
  if (ListsDbFiles != 1) return;
  const QTableWidgetItem* cell = StringGrid1->currentItem();
  if (cell == nullptr || cell->text().isEmpty()) return;
  const std::string path = cell->data(kPathRole).toByteArray().toStdString();
  if (MainWindowPort* form = MainWindow()) form->OpenDatabaseFile(path);
}

void TTreeBDTable::BitBtn1Click() { StringGrid1DblClick(); }

void TTreeBDTable::BitBtn2Click() {
  if (ListsDbFiles == 0) {  // no town chosen
    CloseModal(*this, mrCancel);
    return;
  }
  ClearGrid();
  hide();
}

// ---- the search dialog -------------------------------------------------------------

TFindDBFile* TFindDBFile::Instance() { return gFindDBFile; }

TFindDBFile::TFindDBFile(QWidget* parent) : QDialog(parent) {
  gFindDBFile = this;
  setObjectName("FindDBFile");
  setWindowTitle(UiText(kEntryFindCaption));
  setModal(true);
  Label1 = new QLabel(UiText(kEntryNameLabel), this);
  Label1->setObjectName("Label1");
  EditDB = new QLineEdit(this);
  EditDB->setObjectName("EditDB");
  Label2 = new QLabel(UiText(kEntryFolderLabel), this);
  Label2->setObjectName("Label2");
  DriveComboBox1 = new QComboBox(this);
  DriveComboBox1->setObjectName("DriveComboBox1");
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
    if (volume.isValid() && volume.isReady()) DriveComboBox1->addItem(volume.rootPath());
  if (DriveComboBox1->findText(QDir::homePath()) < 0) DriveComboBox1->addItem(QDir::homePath());
  folders_ = new QFileSystemModel(this);
  folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  folders_->setRootPath(QDir::rootPath());
  DirectoryListBox1 = new QTreeView(this);
  DirectoryListBox1->setObjectName("DirectoryListBox1");
  DirectoryListBox1->setModel(folders_);
  DirectoryListBox1->setHeaderHidden(true);
  for (int c = 1; c < folders_->columnCount(); ++c) DirectoryListBox1->hideColumn(c);
  BitBtn1 = new QPushButton(UiText(kEntrySearch), this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setEnabled(false);
  BitBtn2 = new QPushButton(UiText(kEntryCancel), this);
  BitBtn2->setObjectName("BitBtn2");

  auto* grid = new QGridLayout(this);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(EditDB, 1, 0);
  grid->addWidget(Label2, 2, 0);
  grid->addWidget(DriveComboBox1, 3, 0);
  grid->addWidget(DirectoryListBox1, 4, 0);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  buttons->addStretch();
  grid->addLayout(buttons, 0, 1, 5, 1);
  resize(420, 380);
  FoundCount = 0;
  if (TTreeBDTable* table = TTreeBDTable::Instance()) table->ListsDbFiles = 1;
  SetSearchFolder(PathOfQt(QDir::currentPath()));

  connect(EditDB, &QLineEdit::textChanged, this, Guarded([this] { EditDBChange(); }, this));
  connect(DriveComboBox1, &QComboBox::currentTextChanged, this,
          Guarded([this] { DriveComboBox1Change(); }, this));
  connect(DirectoryListBox1, &QTreeView::clicked, this,
          [this](const QModelIndex& index) { folder_ = PathOfQt(folders_->filePath(index)); });
  connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }, this));
  connect(BitBtn2, &QPushButton::clicked, this, Guarded([this] { BitBtn2Click(); }, this));
  connect(this, &QDialog::finished, this, [this] { AdoptResults(false); });
}

TFindDBFile::~TFindDBFile() {
  if (gFindDBFile == this) gFindDBFile = nullptr;
}

std::string TFindDBFile::SearchFolder() const { return folder_; }

void TFindDBFile::SetSearchFolder(const std::string& utf8Folder) {
  folder_ = utf8Folder;
  const QModelIndex index = folders_->index(QtPath(utf8Folder));
  if (!index.isValid()) return;
  DirectoryListBox1->setCurrentIndex(index);
  DirectoryListBox1->scrollTo(index);
}

void TFindDBFile::AdoptResults(bool adopt) {
  TTreeBDTable* table = TTreeBDTable::Instance();
  QWidget* owner = adopt ? this : WidgetOf(MainWindow());
  if (table == nullptr || owner == nullptr || table->parentWidget() == owner) return;
  const bool shown = table->isVisible();
  const QPoint at = table->pos();
  table->setParent(owner, table->windowFlags());
  table->move(at);
  if (shown) table->show();
}

void TFindDBFile::DriveComboBox1Change() {
  const QString root = DriveComboBox1->currentText();
  DirectoryListBox1->setRootIndex(folders_->index(root));
  folder_ = PathOfQt(root);
}

void TFindDBFile::EditDBChange() { BitBtn1->setEnabled(!EditDB->text().isEmpty()); }

void TFindDBFile::BitBtn1Click() {
  TTreeBDTable* table = TTreeBDTable::Instance();
  if (table == nullptr) return;
  std::string name = Utf8ToCp1251(EditDB->text().toStdString());
  // a node's text never begins with spaces, and trailing ones are not seen
  name.erase(0, name.find_first_not_of(' '));
  name.erase(name.find_last_not_of(' ') + 1);

  DbSearchResult found;
  {
    BusyCursor busy;
    table->setWindowTitle(UiText(kEntryResultsCaption));
    table->ListsDbFiles = 1;
    table->StringGrid1->setColumnCount(1);
    table->StringGrid1->setColumnWidth(0, kPathColumnWidth);
    table->StringGrid1->horizontalHeader()->setStretchLastSection(true);
    found = FindDatabaseFiles(folder_, name);
    for (const std::string& path : found.Files) table->AddRow(FoundCount++, path);
  }
  std::string message;
  const QTableWidgetItem* first = table->StringGrid1->item(0, 0);
  if (first != nullptr && !first->text().isEmpty()) {
    AdoptResults(true);
    if (!table->isVisible()) {
      table->move(frameGeometry().topRight() + QPoint(kResultsGap, 0));  // beside the dialog
      table->show();
    }
  } else {
    message = UiEntry(kEntryNotFound1) + " " + name + " " + UiEntry(kEntryNotFound2);
  }
  if (found.Unreadable > 0) {
    if (!message.empty()) message += "\n";
    message += FillEntry(UiEntry(kUiEntrySearchUnreadable), {std::to_string(found.Unreadable)});
  }
  if (!message.empty()) ShowMessage(message, this);
}

void TFindDBFile::BitBtn2Click() {
  if (TTreeBDTable* table = TTreeBDTable::Instance()) {
    table->ClearGrid();
    table->hide();
  }
  FoundCount = 0;
  reject();
}

// The search on disk for chart databases that hold a chart of a name
// (TFindDBFile, a modal dialog) and the grid of the files found
// (TTreeBDTable, a window that stays on top); a double-click on a row opens
// that database in the main window. The same grid, in its towns mode, shows
// the towns the data-input dialog found and lets the user choose one.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

#include "input/townsdb.h"

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTreeView;

class TTreeBDTable : public QDialog {
  Q_OBJECT

 public:
  explicit TTreeBDTable(QWidget* parent = nullptr);
  ~TTreeBDTable() override;
  static TTreeBDTable* Instance();

  // Empties the grid to one empty row and the search's count of rows.
  void ClearGrid();
  // Adds a row below the rows filled so far (the grid's one empty row first):
  // a path in the file system's bytes, kept as they are for the opening.
  void AddRow(int row, const std::string& path);
  // Towns mode: four columns (name, country, latitude, longitude), a row per
  // town found. Shown modal, OK or a double-click chooses the current row
  // (SelectedRow, 0-based) with mrOk.
  void FillTowns(const std::vector<TownGridRow>& rows);

  void FormShow();
  void FormClose();
  void StringGrid1Click();
  void StringGrid1DblClick();
  void BitBtn1Click();
  void BitBtn2Click();

  QTableWidget* StringGrid1 = nullptr;
  QPushButton* BitBtn1 = nullptr;  // "Ввод": open the database of the current row / choose the town
  QPushButton* BitBtn2 = nullptr;  // "Отмена"
  std::uint8_t ListsDbFiles = 1;   // 1: the grid lists database files, 0: towns
  int SelectedRow = 0;             // the row clicked last

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
};

class TFindDBFile : public QDialog {
  Q_OBJECT

 public:
  explicit TFindDBFile(QWidget* parent = nullptr);
  ~TFindDBFile() override;
  static TFindDBFile* Instance();

  // The folder the search starts in (UTF-8), chosen in DirectoryListBox1.
  std::string SearchFolder() const;
  void SetSearchFolder(const std::string& utf8Folder);

  void EditDBChange();
  void BitBtn1Click();
  void BitBtn2Click();

  QLineEdit* EditDB = nullptr;             // the name searched for
  QComboBox* DriveComboBox1 = nullptr;     // the mounted volumes and the home folder
  QTreeView* DirectoryListBox1 = nullptr;  // the folders below the chosen volume
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* BitBtn1 = nullptr;  // "Искать"
  QPushButton* BitBtn2 = nullptr;  // "Отмена"
  int FoundCount = 0;              // the next free row of the results grid

 private:
  void DriveComboBox1Change();
  // While this dialog is modal only its own windows take input: the results
  // grid belongs to it while it is shown and to the main window again after.
  void AdoptResults(bool adopt);
  QFileSystemModel* folders_ = nullptr;
  std::string folder_;
};

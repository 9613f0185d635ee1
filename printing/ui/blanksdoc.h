// The choice of blanks to print TBlanksDoc: a tool window on top listing
// every blank with a tick box. The main window's print command prints the
// ticked blanks and is enabled only while this window is open.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QListWidget;

class TBlanksDoc : public QWidget {
  Q_OBJECT

 public:
  explicit TBlanksDoc(QWidget* parent = nullptr);
  ~TBlanksDoc() override;
  static TBlanksDoc* Instance();

  // Fills the list with the blank names, none ticked, and enables printing.
  void FormShow();
  // Disables printing again.
  void FormClose();

  // The designer's new and deleted blanks.
  void AddBlankName(const std::string& cp1251);
  void RemoveBlankName(int blank);
  // The ticked blanks in list order.
  std::vector<int> TickedBlanks() const;
  void SetTicked(int blank, bool ticked);

  QListWidget* CheckListBox1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
};

// The print command N18: prints the blanks ticked in the choice window, one
// document with a page per blank. Refuses with a message when the list is
// empty or nothing is ticked.
void PrintTickedBlanks();

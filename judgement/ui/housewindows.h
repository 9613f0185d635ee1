// The house windows of a question: TCverent sets the querent's house (who
// asks, whose affairs and which of that person's houses, or the house
// directly), TCvesit the quesited's house (a question topic, or the house
// directly), and TCommentary shows the help texts and the description of
// each house, from which the quesited's house can also be set.
//
// The chart record is the one source of both houses; the combo boxes only
// show them. Every change of a house resets the significators and closes
// the radicality window; a change of the querent's house turns and redraws
// the chart, a change of the quesited's house opens the significators dialog.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

#include "judgement/questionhouses.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTextEdit;
class QWidget;

// Text a combo box shows when nothing is chosen.
inline constexpr const char* kDashText =
    "--------------------------------------------------------------";

class TCverent : public QWidget {
  Q_OBJECT

 public:
  // Loads the topic lists; a list that cannot be read is reported
  // ("Cannot open file <path>") and left empty.
  explicit TCverent(QWidget* parent = nullptr);
  ~TCverent() override;
  static TCverent* Instance();

  void LoadQuerentLists();
  // Writes the three topic lists and the two house lists back whole; false
  // and a message when a file cannot be written.
  bool SaveQuerentLists();
  // True while the first "who asks" topic (the querent asks for himself) is chosen.
  bool AsksForHimself() const;
  // The chosen "who asks" topic, -1 none (packed with the houses of a stored chart).
  int WhoAsks() const;
  // Shows the chart's querent's house after a stored chart brought its houses:
  // the who-asks topic given (none when outside the list), no category.
  void ShowQuerentHouse(int whoAsks);

  void ComboBox1Change();
  void ComboBox2Change();
  void ComboBox3Change();
  void ComboBox4Change();
  void BitBtn1Click();
  void BitBtn2Click();
  void FormActivate();

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QComboBox* ComboBox1 = nullptr;  // who asks (C11.box)
  QComboBox* ComboBox2 = nullptr;  // whose affairs (C12.box)
  QComboBox* ComboBox3 = nullptr;  // which of that person's houses (C13.box)
  QComboBox* ComboBox4 = nullptr;  // the twelve houses
  QPushButton* BitBtn1 = nullptr;  // close
  QPushButton* BitBtn2 = nullptr;  // "Подробнее"

  TopicList QuerentHouses2;  // categories with their house offsets
  TopicList QuerentHouses3;  // sub-categories with their offsets

 protected:
  void changeEvent(QEvent* event) override;

 private:
  // The querent's house set: combo, quesited window, chart, significators.
  void ApplyQuerentHouse(int house);
  int CategoryHouse = 0;     // offset of the chosen category
  int SubCategoryHouse = 0;  // offset of the chosen sub-category
};

class TCvesit : public QWidget {
  Q_OBJECT

 public:
  explicit TCvesit(QWidget* parent = nullptr);
  ~TCvesit() override;
  static TCvesit* Instance();

  void LoadQuesitedLists();
  bool SaveQuesitedLists();
  // ComboBox3 shows the chart's quesited house; ComboBox1 the dash text.
  void ShowQuesitedHouse();

  void ComboBox1Change();
  void ComboBox3Change();
  void BitBtn1Click();
  void BitBtn2Click();
  void FormActivate();

  // The quesited's house set (from a topic, the house list or the
  // commentary): the record, the combo, the significators and their dialog.
  void SetQuesitedHouse(int house);

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QComboBox* ComboBox1 = nullptr;  // question topics (C21.box)
  QComboBox* ComboBox3 = nullptr;  // the twelve houses, mirroring QuesitedHouse
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;

  TopicList QuesitedHouses;  // topics with their houses

 protected:
  void changeEvent(QEvent* event) override;
};

class TCommentary : public QWidget {
  Q_OBJECT

 public:
  explicit TCommentary(QWidget* parent = nullptr);
  ~TCommentary() override;
  static TCommentary* Instance();

  // Opens the window with a help text: the querent's (no house choice) or
  // the quesited's (house choice and OK). A text that cannot be read is
  // reported and the previous text stays.
  void ShowHelp(bool quesitedMode);

  void ComboBox1Change();
  void BitBtn1Click();
  void BitBtn2Click();
  void FormActivate();

  QTextEdit* RichEdit1 = nullptr;
  QWidget* Panel1 = nullptr;
  QPushButton* BitBtn1 = nullptr;  // close
  QComboBox* ComboBox1 = nullptr;  // the twelve houses
  QPushButton* BitBtn2 = nullptr;  // OK: the chosen house becomes the quesited's

 protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // Loads a text of the Options folder into RichEdit1; false (reported)
  // when it cannot be read.
  bool LoadText(const std::string& name);
};

// Fills a combo box with the twelve house names of the chart and selects
// the given house.
void FillHouseCombo(QComboBox& combo, int selected);

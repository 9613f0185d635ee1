// The two dialogs that choose what the chart takes into account: which of
// the 36 chart objects form aspects and which are drawn (TAspectation), and
// which of the nine aspect kinds are in use (TAspects). Both only copy flag
// arrays in and out; the main window's commands put the chart's flags in,
// show the dialog and take them back when it was closed with OK.
#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QPushButton;
class MainWindowPort;

class TAspectation : public QDialog {
  Q_OBJECT

 public:
  explicit TAspectation(MainWindowPort* owner);
  ~TAspectation() override;
  static TAspectation* Instance();

  // Boxes by chart object: Aspected[o] is CheckBox1<suffix>, Drawn[o] is
  // CheckBox2<suffix>; the twelve cusps share one drawn box, CheckBox2H.
  QCheckBox* Aspected[36] = {};
  QCheckBox* Drawn[36] = {};
  QCheckBox* CheckBox2H = nullptr;
  QPushButton* BitBtn1 = nullptr;  // OK
  QPushButton* BitBtn2 = nullptr;  // Cancel

  std::uint8_t Accepted = 0;   // 1 after OK; cleared by Cancel and whenever the dialog is shown
  std::uint8_t AskHigher = 1;  // guard: the higher-planets question may be asked

  void PutAspectObjectFlags(const std::uint8_t (&aspected)[36], const std::uint8_t (&drawn)[36]);
  void GetAspectObjectFlags(std::uint8_t (&aspected)[36], std::uint8_t (&drawn)[36]) const;

  // Handlers; they run on the user's clicks only, never on boxes set by code.
  void CheckBox1UranClick();
  void BitBtn1Click();
  void BitBtn2Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The calculation parameters' sign-ruler choice: 0 "seven planets", 1
  // "with the higher planets".
  void SelectPlanetSet(int item);
};

class TAspects : public QDialog {
  Q_OBJECT

 public:
  explicit TAspects(MainWindowPort* owner);
  ~TAspects() override;
  static TAspects* Instance();

  // CheckBox1_0, _60, _90, _120, _180 (major), CheckBox2_30, _150, _45, _135
  // (minor), in the order of the kinds 0..8.
  QCheckBox* Kind[9] = {};
  QCheckBox* CheckBox1All = nullptr;  // switches the five major kinds
  QCheckBox* CheckBox2All = nullptr;  // switches the four minor kinds
  QPushButton* BitBtn1 = nullptr;     // OK
  QPushButton* BitBtn2 = nullptr;     // Cancel

  std::uint8_t Accepted = 0;  // 1 after OK; cleared by Cancel and whenever the dialog is shown

  void PutAspectTypeFlags(const std::uint8_t* inUse);  // kinds 0..8
  void GetAspectTypeFlags(std::uint8_t* inUse) const;  // kinds 0..8

  // Handlers.
  void CheckBox1AllClick();
  void CheckBox2AllClick();
  void BitBtn1Click();
  void BitBtn2Click();

 protected:
  void showEvent(QShowEvent* event) override;
};

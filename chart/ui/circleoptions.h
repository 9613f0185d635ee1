// The circle options TCircleOptions (a tool window on top with the five
// radius percentages of the wheel of the current style and the two glyph
// sizes, redrawing the chart after each change) and the picture options
// TbmpPixels (the modal dialog asking the size, file name and colours of a
// picture exported to a BMP file, the export's asker while it exists).
#pragma once

#include <QDialog>
#include <QWidget>
#include <string>

#include "mainwindow/ui/windowexport.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

class TCircleOptions : public QWidget {
  Q_OBJECT

 public:
  explicit TCircleOptions(QWidget* parent = nullptr);
  ~TCircleOptions() override;
  static TCircleOptions* Instance();

  void FormShow();
  void TrackBar1Change();
  void TrackBar2Change();
  void TrackBar3Change();
  void TrackBar5Change();
  void TrackBar4Change();
  void ComboBox4Change();
  void ComboBox1Change();
  void BitBtn1Click();

  QSlider* TrackBar1 = nullptr;    // radius set [0], outer radius
  QSlider* TrackBar2 = nullptr;    // [1]
  QSlider* TrackBar3 = nullptr;    // [2]
  QSlider* TrackBar5 = nullptr;    // [3]
  QSlider* TrackBar4 = nullptr;    // [4], centre disc
  QComboBox* ComboBox1 = nullptr;  // planet glyph size
  QComboBox* ComboBox4 = nullptr;  // sign glyph size
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label5 = nullptr;
  QPushButton* BitBtn1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Stores a bar's position into element `element` of the radius set of the
  // chart's style and redraws.
  void StoreRadius(QSlider* bar, int element);
};

class TbmpPixels : public QDialog {
  Q_OBJECT

 public:
  explicit TbmpPixels(QWidget* parent = nullptr);
  ~TbmpPixels() override;
  static TbmpPixels* Instance();

  // The window export's picture dialog: shows the dialog modally and, on
  // OK, fills the request with what it holds. False when cancelled.
  bool AskExport(ExportRequest& request);

  // Closes with OK only for a width and a height of at least one pixel;
  // otherwise says so and stays open.
  void BitBtn1Click();
  void BitBtn2Click();

  // What the export takes: width and height (0 when a field is empty or not
  // a number), the file name as typed (code page 1251) and the colour mode
  // of the ticked button (2 "С фоном", 1 "Без фона", 0 "Монохром").
  int PictureWidth() const;
  int PictureHeight() const;
  std::string FileName() const;
  int ColorMode() const;

  QLineEdit* MaskEdit1 = nullptr;  // width
  QLineEdit* MaskEdit2 = nullptr;  // height
  QLineEdit* Edit1 = nullptr;      // file name without folder or extension
  QRadioButton* RadioButton1 = nullptr;
  QRadioButton* RadioButton2 = nullptr;
  QRadioButton* RadioButton3 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
};

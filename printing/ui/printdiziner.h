// The blank designer TPrintDiziner and the drawing of blanks. The designer
// edits the program's blank model: blanks are created and deleted, elements
// dragged from the element tree onto the page, moved and resized with the
// mouse and dropped on the waste bin to delete them, user headings added to
// and deleted from the tree. DrawBlank draws the current blank on the
// designer's page picture; PrintBlanks prints blanks as one document, a page
// per blank, on the system's printer or, with none set up, into a PDF file.
// Every picture on a page is drawn by the window that owns it, through a
// drawing target lent for that one drawing.
#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/drawtarget.h"
#include "printing/blankdesign.h"
#include "printing/blankmodel.h"
#include "printing/ui/programblanks.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;
class TPageArea;
class TQtCanvas;

// The designer's client area and its tree panel, designer pixels. Element
// rectangles are kept in these pixels with the page beginning right of the
// panel, whatever the splitter shows.
inline constexpr int kDesignerClientWidth = 783;
inline constexpr int kDesignerClientHeight = 455;
inline constexpr int kDesignerPanelWidth = 274;

class TPrintDiziner : public QDialog {
  Q_OBJECT

 public:
  explicit TPrintDiziner(QWidget* parent = nullptr);
  ~TPrintDiziner() override;
  static TPrintDiziner* Instance();

  // -1 closed (drawing does nothing), 0 the screen page, 1 the printer.
  int PrintMode = -1;
  bool Portrait = true;
  int PageWidth = 210;   // page model units
  int PageHeight = 297;  // page model units
  float Ratio = 297.0f / 210.0f;
  TRect PageRect;            // the screen page, designer pixels
  int HoveredElement = -1;   // element line, -1 none
  int MovingElement = -1;    // element line, -1 none
  int DownX = 0, DownY = 0;  // designer pixels, last mouse point of a move
  GripHit Grip;              // what the moving element was grabbed by
  ElementTree Tree;          // the element tree as TV1.opt holds it

  // The blank selected in ComboBox1, -1 none.
  int CurrentBlank() const;
  void SelectBlank(int blank);
  // Draws the current blank on the page picture (PrintMode 0) or prints it
  // (PrintMode 1).
  void DrawBlank();
  // Prints the blanks in one document, a page per blank; false when nothing
  // was printed (the reason was shown).
  bool PrintBlanks(const std::vector<int>& blanks);
  // The print dialog first (RunPrintDialog, over parent), then the blanks
  // printed; false when the dialog was cancelled or nothing was printed.
  // The main window's print command and the designer's print button both
  // print this way.
  bool PrintAfterDialog(const std::vector<int>& blanks, QWidget* parent);

  // Handlers; points in designer pixels.
  void FormShow();
  void Splitter1Moved();
  void ComboBox1Change();
  bool TreeView1DragOver(int node, int x, int y) const;
  void TreeView1DragDrop(int node, int x, int y);
  void TreeView1Change();
  void FormMouseMove(int x, int y);
  void FormMouseDown(Qt::MouseButton button, int x, int y);
  void FormMouseUp(int x, int y, bool overWasteBin);
  void N4Click();
  void N6Click();
  void RadioButtonClick(int mode);
  void BitBtn3Click();  // new blank (also N1)
  void BitBtn4Click();  // delete blank (also N2)
  void BitBtn2Click();  // add heading
  void BitBtn1Click();  // delete heading
  void BitBtn5Click();  // print the current blank

  // The absolute index of the tree's selected node, -1 none.
  int SelectedNode() const;
  void SelectNode(int node);

  QWidget* Panel1 = nullptr;
  QTreeWidget* TreeView1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QPushButton* BitBtn5 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QPushButton* BitBtn3 = nullptr;
  QPushButton* BitBtn4 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QRadioButton* RadioButton1 = nullptr;
  QRadioButton* RadioButton2 = nullptr;
  QRadioButton* RadioButton3 = nullptr;
  QSplitter* Splitter1 = nullptr;
  TPageArea* PageArea = nullptr;  // right of the splitter
  QWidget* Panel6 = nullptr;
  QLabel* Image1 = nullptr;  // the waste bin
  QMenu* PopupMenu1 = nullptr;
  QAction* N1 = nullptr;
  QAction* N2 = nullptr;
  QAction* N3 = nullptr;
  QAction* N4 = nullptr;
  QAction* N5 = nullptr;
  QAction* N6 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void LoadTree();
  void SaveTree();
  void FillTree();
  void FillBlankNames();
  void Refuse(const std::string& cp1251);
  // Draws the blank onto the page canvas: the screen page, or a printer page
  // scaled by scale.
  void DrawElements(int blank, TQtCanvas& page, bool printer, double scale);
};

// The page area right of the splitter: shows the page picture from the
// page's left edge on and passes the mouse and drops to the designer in
// designer pixels.
class TPageArea : public QWidget {
  Q_OBJECT

 public:
  explicit TPageArea(TPrintDiziner* designer);
  // Designer pixels of a point of this widget.
  QPoint ToDesigner(QPoint point) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  TPrintDiziner* designer_;
};

// The print dialog before a print job (the main window's PrintDialog1): true
// when the job is to go on, to the printer chosen there. Without a printer set
// up the job goes into a PDF file and there is nothing to choose: the dialog
// is not shown and the job goes on.
bool RunPrintDialog(QWidget* parent);
// Puts another dialog in its place (tests answer it); an empty one puts the
// print dialog back. Returns the one replaced.
using PrintDialogRunner = std::function<bool(QWidget* parent)>;
PrintDialogRunner SetPrintDialogRunner(PrintDialogRunner runner);

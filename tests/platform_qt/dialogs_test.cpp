// Modal results, stay-on-top tool windows and the busy cursor.
#include "platform/qt/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWindow>
#include <stdexcept>
#include <vector>

#include "services_support.h"

namespace {

class DialogsTest : public WidgetTest {};

// Runs the dialog modally and, once it is up, closes it with closer.
template <typename Closer>
ModalResult RunAndClose(QDialog& dialog, Closer closer) {
  QTimer::singleShot(0, &dialog, [&dialog, closer] { closer(dialog); });
  return ExecModal(dialog);
}

TEST_F(DialogsTest, ExecModalGivesTheResultOfEachWayOfClosing) {
  QDialog dialog;
  EXPECT_EQ(RunAndClose(dialog, [](QDialog& d) { d.accept(); }), mrOk);
  EXPECT_EQ(RunAndClose(dialog, [](QDialog& d) { d.reject(); }), mrCancel);
  EXPECT_EQ(RunAndClose(dialog, [](QDialog& d) { d.close(); }), mrCancel);  // the close box
  EXPECT_EQ(RunAndClose(dialog, [](QDialog& d) { CloseModal(d, mrOk); }), mrOk);
  EXPECT_EQ(RunAndClose(dialog, [](QDialog& d) { CloseModal(d, mrCancel); }), mrCancel);
  EXPECT_FALSE(dialog.isVisible());
}

// Whatever frame a dialog was made with, shown modally it is a dialog with a
// title and a close box and nothing else, and a window manager that minimises
// or maximises it all the same (its own buttons) sees it shown normal again;
// afterwards the dialog has its own flags back. A dialog that hides its close
// box on purpose keeps it hidden.
TEST_F(DialogsTest, AModalDialogHasACloseBoxOnlyAndStaysNormal) {
  const Qt::WindowFlags boxes = Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint;
  const std::vector<Qt::WindowFlags> made = {
      Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint,
      Qt::Dialog | Qt::WindowMinimizeButtonHint | Qt::WindowStaysOnTopHint,
      Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint,
      Qt::Dialog | Qt::WindowContextHelpButtonHint,
      {},
  };
  for (const Qt::WindowFlags own : made) {
    QDialog dialog;
    if (own != Qt::WindowFlags()) dialog.setWindowFlags(own);
    const Qt::WindowFlags before = dialog.windowFlags();
    const bool closeBox =
        !(before.testFlag(Qt::CustomizeWindowHint) && !before.testFlag(Qt::WindowCloseButtonHint));
    Qt::WindowFlags shown;
    Qt::WindowStates afterMinimise, afterMaximise;
    bool visible = false;
    QTimer::singleShot(0, &dialog, [&] {
      shown = dialog.windowFlags();
      dialog.showMinimized();
      afterMinimise = dialog.windowState();
      dialog.showMaximized();
      afterMaximise = dialog.windowState();
      visible = dialog.isVisible();
      dialog.accept();
    });
    EXPECT_EQ(ExecModal(dialog), mrOk);
    SCOPED_TRACE(static_cast<int>(before));
    EXPECT_EQ(shown & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_FALSE(shown & boxes) << std::hex << static_cast<int>(shown);
    EXPECT_TRUE(shown.testFlag(Qt::WindowTitleHint));
    EXPECT_EQ(shown.testFlag(Qt::WindowCloseButtonHint), closeBox);
    EXPECT_EQ(shown.testFlag(Qt::WindowStaysOnTopHint), before.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(afterMinimise, Qt::WindowNoState);
    EXPECT_EQ(afterMaximise, Qt::WindowNoState);
    EXPECT_TRUE(visible);
    EXPECT_EQ(dialog.windowFlags(), before);
  }
  // a plain dialog's frame is already right: it is shown as it is
  EXPECT_EQ(ModalDialogFlags(QDialog().windowFlags()), QDialog().windowFlags());
}

TEST_F(DialogsTest, AToolWindowStaysOnTopAndKeepsItsOtherHints) {
  QDialog window;
  window.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  window.move(40, 30);
  window.show();
  MakeStayOnTopToolWindow(window);
  const Qt::WindowFlags flags = window.windowFlags();
  // The window type is exactly Tool. Tool's bits include Dialog's, so this
  // case cannot tell replacing the type from OR-ing onto it; the Sheet window
  // below can (Sheet OR Tool reads as SplashScreen).
  EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.pos(), QPoint(40, 30));

  QWidget sheet(nullptr, Qt::Sheet);
  MakeStayOnTopToolWindow(sheet);
  EXPECT_EQ(sheet.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
  EXPECT_FALSE(sheet.isVisible());  // a hidden window stays hidden
}

// A modal dialog opened while another is up belongs to that one for as long
// as it is shown (its transient window, so the window manager keeps it above)
// and stays on top when a stay-on-top window could hide it; afterwards it is
// its own parent's again, with its own hints.
TEST_F(DialogsTest, AModalDialogBelongsToTheDialogItBlocksWhileItIsShown) {
  QWidget main;
  main.show();
  QWidget tool(&main, Qt::Window);
  MakeStayOnTopToolWindow(tool);
  QDialog outer(&main);
  QDialog inner(&main);
  const Qt::WindowFlags innerFlags = inner.windowFlags();
  QWidget* innerParent = nullptr;
  QWindow* innerTransient = nullptr;
  bool innerOnTop = false;
  QTimer::singleShot(0, &outer, [&] {
    QTimer::singleShot(0, &inner, [&] {
      innerParent = inner.parentWidget();
      innerTransient = inner.windowHandle() ? inner.windowHandle()->transientParent() : nullptr;
      innerOnTop = inner.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
      inner.accept();
    });
    ExecModal(inner);
    outer.accept();
  });
  // without a stay-on-top window shown, nothing needs the hint
  EXPECT_FALSE(MustStayOnTop(&main, &outer));
  tool.show();
  EXPECT_TRUE(MustStayOnTop(&main, &outer));
  EXPECT_EQ(ExecModal(outer), mrOk);
  EXPECT_EQ(innerParent, &outer);
  EXPECT_EQ(innerTransient, outer.windowHandle());
  EXPECT_TRUE(innerOnTop);
  EXPECT_EQ(inner.parentWidget(), &main);
  EXPECT_EQ(inner.windowFlags(), innerFlags);
  // with no dialog open the working window is the shown one asked for
  EXPECT_EQ(WorkingWindow(&tool), &tool);
  EXPECT_EQ(WorkingWindow(&main), &main);
  tool.hide();
  main.hide();
}

TEST_F(DialogsTest, AModalDialogIsNeverPutUnderAWindowItOwns) {
  // The window in front is a window of the dialog's own (it was shown above
  // it once): taking it as the dialog's owner would make the parents a cycle.
  QDialog dialog;
  QDialog owned(&dialog);
  owned.setWindowModality(Qt::ApplicationModal);
  owned.show();
  ASSERT_EQ(QApplication::activeModalWidget(), &owned);
  QTimer::singleShot(0, &dialog, [&dialog] { dialog.accept(); });
  EXPECT_EQ(ExecModal(dialog), mrOk);
  EXPECT_EQ(dialog.parentWidget(), nullptr);
  EXPECT_EQ(owned.parentWidget(), &dialog);
  owned.hide();
}

// The shape of the cursor the application shows over its windows; -1 for none.
int OverrideShape() {
  const QCursor* cursor = QGuiApplication::overrideCursor();
  return cursor == nullptr ? -1 : cursor->shape();
}

TEST_F(DialogsTest, BusyCursorGuardsNestAndRestore) {
  ASSERT_EQ(OverrideShape(), -1);
  {
    BusyCursor outer;
    EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
    {
      BusyCursor inner;
      EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
    }
    EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
  }
  EXPECT_EQ(OverrideShape(), -1);

  // A cursor set before the guard comes back after it.
  QGuiApplication::setOverrideCursor(Qt::CrossCursor);
  { BusyCursor busy; }
  EXPECT_EQ(OverrideShape(), Qt::CrossCursor);
  QGuiApplication::restoreOverrideCursor();
  EXPECT_EQ(OverrideShape(), -1);
}

TEST_F(DialogsTest, BusyCursorIsRestoredWhenTheActionFails) {
  MessageRecorder recorder;
  RunGuarded([] {
    BusyCursor busy;
    throw std::runtime_error("search failed");
  });
  EXPECT_EQ(OverrideShape(), -1);
  EXPECT_EQ(recorder.messages.size(), 1u);
}

}  // namespace

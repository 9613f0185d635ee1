// The default error display: exceptions end the action, never the program,
// and their code page 1251 messages reach the message box unchanged.
#include "platform/qt/messages.h"

#include <QAction>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <stdexcept>

#include "platform/qt/dialogs.h"
#include "services_support.h"

namespace {

// "Карта" in code page 1251 bytes, written out independently of the codec.
const std::string kKartaCp1251 = "\xCA\xE0\xF0\xF2\xE0";

class MessagesTest : public WidgetTest {};

// An object whose event handler fails on every user event it receives.
class FailingReceiver : public QObject {
 public:
  int received = 0;  // events seen
  bool event(QEvent* event) override {
    if (event->type() != QEvent::User) return QObject::event(event);
    ++received;
    throw PlatformError("Cannot open file " + kKartaCp1251);
  }
};

TEST_F(MessagesTest, RunGuardedEndsTheActionAtTheThrowAndShowsTheMessage) {
  MessageRecorder recorder;
  int before = 0, after = 0;
  const bool completed = RunGuarded([&] {
    ++before;
    throw PlatformError("Cannot open file /home/" + kKartaCp1251 + ".zrn");
    ++after;
  });
  EXPECT_FALSE(completed);
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 0);
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].kind, MessageKind::Error);
  EXPECT_EQ(recorder.messages[0].text, "Cannot open file /home/" + kKartaCp1251 + ".zrn");

  // The program goes on: the next action runs normally and shows nothing.
  int ran = 0;
  EXPECT_TRUE(RunGuarded([&] { ++ran; }));
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(recorder.messages.size(), 1u);
}

TEST_F(MessagesTest, RunGuardedShowsStandardAndUnknownExceptions) {
  MessageRecorder recorder;
  EXPECT_FALSE(RunGuarded([] { throw std::out_of_range("index out of range"); }));
  EXPECT_FALSE(RunGuarded([] { throw 42; }));
  ASSERT_EQ(recorder.messages.size(), 2u);
  EXPECT_EQ(recorder.messages[0].text, "index out of range");
  EXPECT_EQ(recorder.messages[1].text, "Unknown error");
  EXPECT_EQ(recorder.messages[1].kind, MessageKind::Error);
}

TEST_F(MessagesTest, ASinkThatFailsDoesNotLetTheExceptionOut) {
  const MessageSink previous =
      SetMessageSink([](MessageKind, const std::string&) { throw std::runtime_error("sink"); });
  bool completed = true;
  EXPECT_NO_THROW(completed = RunGuarded([] { throw std::runtime_error("action"); }));
  EXPECT_FALSE(completed);
  SetMessageSink(previous);
}

TEST_F(MessagesTest, AnErrorDuringTheErrorDisplayOpensNoSecondBox) {
  // The sink stands for the box's event loop, in which a handler fails again.
  int shown = 0;
  const MessageSink previous = SetMessageSink([&](MessageKind, const std::string&) {
    ++shown;
    EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("repaint failed"); }));
  });
  EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("first"); }));
  EXPECT_EQ(shown, 1);
  // Once the first box is closed, the next error is shown again.
  EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("later"); }));
  EXPECT_EQ(shown, 2);
  SetMessageSink(previous);
}

TEST_F(MessagesTest, GuardedSlotCatchesTheExceptionOfASignal) {
  MessageRecorder recorder;
  QAction action;
  QObject::connect(&action, &QAction::triggered,
                   Guarded([] { throw PlatformError("Cannot create file x"); }));
  EXPECT_NO_THROW(action.trigger());
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].text, "Cannot create file x");
}

TEST_F(MessagesTest, TheApplicationCatchesWhatAnEventHandlerLetsThrough) {
  ASSERT_NE(dynamic_cast<GuardedApplication*>(QCoreApplication::instance()), nullptr);
  MessageRecorder recorder;
  FailingReceiver receiver;
  QEvent sent(QEvent::User);
  EXPECT_NO_THROW(QCoreApplication::sendEvent(&receiver, &sent));
  // Posted events go through the event loop's dispatch; the second one is
  // still delivered after the first failed.
  QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
  QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
  EXPECT_NO_THROW(QCoreApplication::sendPostedEvents(&receiver));
  EXPECT_EQ(receiver.received, 3);
  ASSERT_EQ(recorder.messages.size(), 3u);
  EXPECT_EQ(recorder.messages[2].text, "Cannot open file " + kKartaCp1251);
}

TEST_F(MessagesTest, FileErrorsNameThePathInCodePage1251) {
  EXPECT_STREQ(CannotOpenFileError("/opt/Карта/LangH.lan").what(),
               ("Cannot open file /opt/" + kKartaCp1251 + "/LangH.lan").c_str());
  EXPECT_STREQ(CannotCreateFileError("BMP/bmp1.bmp").what(), "Cannot create file BMP/bmp1.bmp");
}

TEST_F(MessagesTest, ShowMessageGoesToTheSinkAsANotice) {
  MessageRecorder recorder;
  ShowMessage(kKartaCp1251);
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].kind, MessageKind::Notice);
  EXPECT_EQ(recorder.messages[0].text, kKartaCp1251);
}

TEST_F(MessagesTest, TheMessageBoxCarriesTheTitleAndTheUnicodeText) {
  QGuiApplication::setApplicationDisplayName("ZarnTelka Horary");
  QString caption, text;
  bool onlyOk = false;
  // The box runs its own modal loop; a timer inside that loop reads and
  // closes it as soon as it is up.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (box == nullptr || !box->isVisible()) continue;
      caption = box->windowTitle();
      text = box->text();
      onlyOk = box->standardButtons() == QMessageBox::Ok;
      box->accept();
    }
  });
  poll.start(10);
  ShowMessage(kKartaCp1251 + " 1");
  EXPECT_EQ(caption, QStringLiteral("ZarnTelka Horary"));
  EXPECT_EQ(text, QString::fromUtf8("Карта 1"));
  EXPECT_TRUE(onlyOk);
}

// A message shown for a dialog that has just closed appears above the dialog
// still open, whole: as wide as its title needs.
TEST_F(MessagesTest, AMessageStandsAboveTheOpenDialogWithItsTitleWhole) {
  QGuiApplication::setApplicationDisplayName("ZarnTelka Horary: a title longer than its text");
  QWidget main;
  main.show();
  QDialog open(&main);
  open.setWindowFlag(Qt::WindowStaysOnTopHint);
  QDialog closed(&main);
  QWidget* parent = nullptr;
  bool onTop = false;
  int width = 0, titleWidth = 0;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    parent = box->parentWidget();
    onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    width = box->width();
    titleWidth = TitleFitWidth(*box);
    box->accept();
  });
  poll.start(10);
  QTimer::singleShot(0, &open, [&] {
    ShowMessage("1", &closed);
    open.accept();
  });
  open.exec();
  EXPECT_EQ(parent, &open);
  EXPECT_TRUE(onTop);
  EXPECT_GE(width, titleWidth);
  main.hide();
}

}  // namespace

#include "judgement/ui/judgementui.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <utility>

#include "mainwindow/ui/chartsessionsignals.h"
#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/ui/smalldialogs.h"
#include "platform/qt/dialogs.h"
#include "platform/text/cp1251.h"

namespace {

ConfirmHook gConfirmHook;

}  // namespace

QString JudgementText(int entry) {
  MainWindowPort* form = MainWindow();
  return form ? form->Text(entry) : QString();
}

const std::string& JudgementEntry(int entry) {
  static const std::string empty;
  MainWindowPort* form = MainWindow();
  return form ? form->UiText.Entry(entry) : empty;
}

const std::vector<std::string>& JudgementUiText() {
  static const std::vector<std::string> empty;
  MainWindowPort* form = MainWindow();
  return form ? form->UiText.Entries : empty;
}

ChartRecord* CurrentChart() { return SessionChart(); }

// The session holds the choices; the calculation parameters show them.
int SignRulerOption() {
  const ChartSession* session = CurrentSession();
  return session ? session->Settings.SignRulerSet : 0;
}
void SetSignRulerOption(int option) {
  const int set = option == 1 ? 1 : 0;
  if (ChartSession* session = CurrentSession()) session->Settings.SignRulerSet = set;
  if (MainWindowPort* form = MainWindow()) form->ShowSignRulerSet(set);
}

int TermSystemOption() {
  const ChartSession* session = CurrentSession();
  return session ? session->Settings.TermSystem : 0;
}

TimedSearch ChartSearch() {
  const MainWindowPort* form = MainWindow();
  const bool equatorial = form && form->EquatorialOutput != 0;
  if (const ChartSession* session = CurrentSession()) return SessionSearch(*session, equatorial);
  AspectSearchFrame frame;
  frame.EquatorialOutput = equatorial;
  return EngineSearch(frame);
}

ConfirmHook SetConfirmHook(ConfirmHook hook) {
  return std::exchange(gConfirmHook, std::move(hook));
}

bool Confirm(const std::string& cp1251Question) {
  if (gConfirmHook) return gConfirmHook(cp1251Question);
  TWarning* warning = TWarning::Instance();
  if (!warning) return false;
  warning->SetMessage(cp1251Question);
  // shown above the dialog that asks, which may stay on top
  return ExecModal(*warning) == mrOk;
}

void SetPaneLines(QTextEdit& pane, const std::vector<std::string>& lines) {
  QString text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += QLatin1Char('\n');
    text += QString::fromStdString(Cp1251ToUtf8(lines[i]));
  }
  pane.setPlainText(text);
  pane.moveCursor(QTextCursor::Start);
  // A pane that is shown or resized after it was filled keeps the caret's
  // line in view, which can scroll the first line away: back to the top once
  // the layout has settled.
  QTimer::singleShot(0, &pane, [&pane] { pane.verticalScrollBar()->setValue(0); });
}

std::vector<std::string> PaneLines(const QTextEdit& pane) {
  std::vector<std::string> lines;
  if (pane.document()->isEmpty()) return lines;
  for (QTextBlock b = pane.document()->begin(); b.isValid(); b = b.next())
    lines.push_back(Utf8ToCp1251(b.text().toStdString()));
  return lines;
}

QPushButton* JudgementButton(QWidget* parent, const char* name, int entry) {
  auto* button = new QPushButton(JudgementText(entry), parent);
  button->setObjectName(name);
  button->setMinimumWidth(90);
  return button;
}

void ApplyTableFont(QWidget& widget) {
  // The calculation parameters' table font at the application's size; before
  // that dialog exists, or without a name, the application's font.
  QFont font = QApplication::font();
  if (const MainWindowPort* form = MainWindow())
    if (const std::string* name = form->TableFontName(); name && !name->empty())
      font.setFamily(QString::fromStdString(Cp1251ToUtf8(*name)));
  widget.setFont(font);
}

void CentreOnScreen(QWidget& window) {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
  }
}

void PresentToolWindow(QWidget& window, const std::function<void()>& refill) {
  if (window.isVisible())
    refill();
  else
    CentreOnScreen(window);
  window.show();
  window.raise();
}

void RecordActiveWindow(int code) {
  if (MainWindowPort* form = MainWindow()) {
    form->ExportWindowCode = code;
    form->ActiveToolWindowCode = code;
  }
}

void RecordShownToolWindow(int code) {
  if (MainWindowPort* form = MainWindow()) form->ActiveToolWindowCode = code;
}

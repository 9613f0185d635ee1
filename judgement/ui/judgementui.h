// What the windows of the judgement share: their texts from the interface
// string table, the language-file entries they added, the confirmation
// question, the state of the calculation parameters they read, the search
// the judgement runs on, and the plumbing of a read-only text pane.
//
// The judgement itself (house arithmetic, proposals, radicality, the signs of
// completion) lives in judgement/ without Qt; these windows only show it.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "judgement/timedsearch.h"

class QPushButton;
class QTextEdit;
class QWidget;
struct ChartRecord;

// Language-file entries these windows added after the last entry of the
// designed table. Kept here, together, so that they can be renumbered in one
// place when language files are merged.
inline constexpr int kEntryNoHouseForTopic = 543;  // "Для выбранной строки нет номера дома в файле"
// (544 and 545, the pairs the completion left out, are judgement/completion.h's)

// Designed entries the judgement windows share.
inline constexpr int kEntryCloseButton = 470;  // close button of every judgement window
inline constexpr int kEntryMoreButton = 471;   // "Подробнее"

// Entry n of the interface string table as shown text (empty before the main
// window exists), and as code page 1251.
QString JudgementText(int entry);
const std::string& JudgementEntry(int entry);
// The whole table, as the judgement's text builders take it.
const std::vector<std::string>& JudgementUiText();

// The chart session's current chart, or nullptr before the chart window has
// built it.
ChartRecord* CurrentChart();

// The sign-ruler option of the chart session (0 "Семь планет", 1 "С высшими
// планетами"), shown by the calculation parameters' RadioGroup2; before they
// are read, the designed default, the seven planets. Setting it by code
// shows it in the dialog and runs none of its handlers.
int SignRulerOption();
void SetSignRulerOption(int option);
// The term system of the chart session (0..4, shown by the calculation
// parameters' RadioGroup1); before it is read, the Egyptian terms.
int TermSystemOption();

// The engine's bounded search set up for the current chart (geocentric, the
// swapped receptions while they are shown).
TimedSearch ChartSearch();

// Asks a question in the confirmation dialog; true for OK. Tests install an
// answer instead of the modal dialog; an empty hook restores the dialog.
using ConfirmHook = std::function<bool(const std::string& cp1251Question)>;
ConfirmHook SetConfirmHook(ConfirmHook hook);
bool Confirm(const std::string& cp1251Question);

// The text pane's lines (code page 1251) and the caret put at the start.
void SetPaneLines(QTextEdit& pane, const std::vector<std::string>& lines);
// The lines a pane shows, code page 1251 (for the tests and the export).
std::vector<std::string> PaneLines(const QTextEdit& pane);

// A push button of a judgement window: its designer name and its caption
// from the interface string table.
QPushButton* JudgementButton(QWidget* parent, const char* name, int entry);

// The table font of the calculation parameters applied to a widget.
void ApplyTableFont(QWidget& widget);

// Centres a window on the screen.
void CentreOnScreen(QWidget& window);

// Brings a tool window up: a hidden one centred and shown (its showing
// fills it), one already open filled anew by `refill`; either way on top.
void PresentToolWindow(QWidget& window, const std::function<void()>& refill);

// Records a window as the main window's active window for the export and
// printing: both codes on activation; the tool-window code alone when shown.
void RecordActiveWindow(int code);
void RecordShownToolWindow(int code);

// Window codes of the judgement windows.
inline constexpr int kCodeCommentary = 2;
inline constexpr int kCodeDignities = 3;
inline constexpr int kCodeCompletionResults = 4;
inline constexpr int kCodeSignificators = 6;
inline constexpr int kCodeRadicality = 7;

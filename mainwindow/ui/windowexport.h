// Export of a window's picture: the commands "Копировать окно в буфер" (N23)
// and "Копировать окно в BMP-файл" (BMP1) copy the window the user worked in
// last. Every exportable window has a code and registers how it is exported
// in one table: graphic windows draw themselves onto a borrowed target (an
// off-screen image of the size asked, in the colour mode asked), text windows
// copy their selected text.
//
// Codes: 1 chart, 2 commentary, 3 dignities, 4 completion results,
// 5 astronomical values, 6 significators, 7 radicality, 8 dynamics,
// 10 lunar days, 11 planetary hours, 12 planet positions, 13 local space.
#pragma once

#include <functional>
#include <string>

#include "platform/drawtarget.h"

class MainWindowPort;

inline constexpr int kExportCodeChart = 1;
inline constexpr int kExportCodeDynamics = 8;
// The largest picture side a file export accepts, pixels.
inline constexpr int kMaxExportSide = 1500;
// A clipboard export: a square of this side in colour mode 1.
inline constexpr int kClipboardExportSide = 1000;

struct ExportWindow {
  // A graphic window, drawn off screen onto the export's target.
  TDrawing* Picture = nullptr;
  // A text window: puts its selected text on the clipboard.
  std::function<void()> CopySelection;
  // A graphic tool window (dynamics, positions, planetary hours, lunar days,
  // local space): true while it is shown, when the export takes the tool
  // window activated last over the chart.
  std::function<bool()> ToolWindowShown;
};

// Enters (or replaces) the window of a code; Unregister takes it out again.
void RegisterExportWindow(int code, ExportWindow window);
void UnregisterExportWindow(int code);
// The picture of the graphic window registered under a code; nullptr for
// none or a text window.
TDrawing* RegisteredPicture(int code);

// What the picture dialog asked for a file export.
struct ExportRequest {
  int Width = 0;                   // pixels
  int Height = 0;                  // pixels
  int ColorMode = kColorModeFull;  // 2 with background, 1 without, 0 monochrome
  std::string FileName;            // code page 1251, without folder or extension
};
// Shows the picture dialog; false when the user cancelled it.
using ExportAsker = std::function<bool(ExportRequest& request)>;
// The dialog the file export asks through; none: the file export is off.
void SetExportAsker(ExportAsker asker);
bool HasExportAsker();

// Empty when name can be a file in the BMP folder; otherwise the language
// file's message naming it (a path separator, a reserved character, a
// control character, "." or "..", or nothing at all).
std::string ExportFileNameProblem(const MainWindowPort& form, const std::string& cp1251Name);

// Copies the picture of the window of form.ExportWindowCode (or of the tool
// window shown last, while one is shown) to the clipboard or to a BMP file
// under ProgramFolder/BMP, created when missing. A failure is reported in a
// message box; the window gets its own target and colour mode back in every
// case. True when something was exported.
bool CopyActiveWindowImage(MainWindowPort& form, bool toClipboard);

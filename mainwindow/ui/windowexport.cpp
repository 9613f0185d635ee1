#include "mainwindow/ui/windowexport.h"

#include <QImage>
#include <filesystem>
#include <map>
#include <system_error>

#include "mainwindow/ui/mainwindowport.h"
#include "mainwindow/ui/smalldialogs.h"
#include "mainwindow/uistrings.h"
#include "platform/qt/canvas.h"
#include "platform/qt/clipboard.h"
#include "platform/qt/dialogs.h"
#include "platform/qt/imagefiles.h"
#include "platform/qt/messages.h"
#include "platform/text/cp1251.h"

namespace {

constexpr int kEntrySizeTooLarge = 290;  // "Ширина и высота не должны превышать 1500 точек"

std::map<int, ExportWindow>& Table() {
  static std::map<int, ExportWindow> table;
  return table;
}

ExportAsker& Asker() {
  static ExportAsker asker;
  return asker;
}

// Asks until the size and the name fit or the user cancels.
bool AskFileExport(MainWindowPort& form, ExportRequest& request) {
  for (;;) {
    if (!Asker()(request)) return false;
    if (request.Width > kMaxExportSide || request.Height > kMaxExportSide) {
      if (TWarning* warning = TWarning::Instance()) {
        warning->SetMessage(form.UiText.Entry(kEntrySizeTooLarge));
        ExecModal(*warning);
      } else {
        ShowMessage(form.UiText.Entry(kEntrySizeTooLarge), form.Widget());
      }
      continue;
    }
    if (request.Width < 1 || request.Height < 1) {
      ShowMessage(form.UiText.Entry(kUiEntryPictureTooSmall), form.Widget());
      continue;
    }
    const std::string problem = ExportFileNameProblem(form, request.FileName);
    if (!problem.empty()) {
      ShowMessage(problem, form.Widget());
      continue;
    }
    return true;
  }
}

// Draws the window onto an image of the size asked and hands the image on.
bool ExportPicture(MainWindowPort& form, TDrawing& window, bool toClipboard,
                   const ExportRequest& request) {
  const std::string folder = form.ProgramFolder + "/BMP";
  if (!toClipboard) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder)) {
      ShowErrorMessage(CannotCreateFileError(form.ExportFileName).what(), form.Widget());
      return false;
    }
  }
  TBitmap picture(request.Width, request.Height);
  DrawOnto(window, DrawTarget{&picture.Canvas(), TRect{0, 0, request.Width, request.Height},
                              request.ColorMode, DrawPurpose::Export});
  if (toClipboard) return CopyImageToClipboard(picture.Image());
  std::string error;
  if (!SaveImageBmp(picture.Image(), form.ExportFileName, &error)) {
    ShowErrorMessage(error, form.Widget());
    return false;
  }
  return true;
}

}  // namespace

void RegisterExportWindow(int code, ExportWindow window) { Table()[code] = std::move(window); }

TDrawing* RegisteredPicture(int code) {
  const auto it = Table().find(code);
  return it == Table().end() ? nullptr : it->second.Picture;
}

void UnregisterExportWindow(int code) { Table().erase(code); }

void SetExportAsker(ExportAsker asker) { Asker() = std::move(asker); }

bool HasExportAsker() { return static_cast<bool>(Asker()); }

std::string ExportFileNameProblem(const MainWindowPort& form, const std::string& cp1251Name) {
  bool bad = cp1251Name.empty() || cp1251Name == "." || cp1251Name == "..";
  for (unsigned char c : cp1251Name)
    if (c < 0x20 || c == 0x7F ||
        std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
      bad = true;
  if (!bad) return {};
  return FillEntry(form.UiText.Entry(kUiEntryBadFileName), {cp1251Name});
}

bool CopyActiveWindowImage(MainWindowPort& form, bool toClipboard) {
  // A graphic tool window on show is what the user works with, even when the
  // chart was activated after it.
  for (const auto& [code, window] : Table())
    if (window.ToolWindowShown && window.ToolWindowShown()) {
      form.ExportWindowCode = form.ActiveToolWindowCode;
      break;
    }
  form.ExportToClipboard = toClipboard ? 1 : 0;
  ExportRequest request;
  if (toClipboard) {
    request.Width = request.Height = kClipboardExportSide;
    request.ColorMode = kColorModePlain;
  } else {
    if (!Asker() || !AskFileExport(form, request)) return false;
  }
  form.ExportWidth = request.Width;
  form.ExportHeight = request.Height;
  // the folder is a path already; only the typed name is code page 1251
  form.ExportFileName = form.ProgramFolder + "/BMP/" + Cp1251ToUtf8(request.FileName) + ".bmp";

  auto it = Table().find(form.ExportWindowCode);
  if (it == Table().end()) return false;  // a window with nothing to export
  const ExportWindow& window = it->second;
  if (window.Picture != nullptr) return ExportPicture(form, *window.Picture, toClipboard, request);
  if (window.CopySelection) {
    // a text window's selection goes to the clipboard, also for a file export
    window.CopySelection();
    return true;
  }
  return false;
}

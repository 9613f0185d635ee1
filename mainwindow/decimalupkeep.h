// Upkeep of the decimal separator of the settings files at start. The files
// hold decimals in the locale's format; a marker beside them records the
// separator they were written with ("0" for '.', "1" for ','). When the
// locale's separator differs, every file named in the list files is rewritten
// with the other separator:
//
//   list                    files in             required
//   Options/RUN4.opt        Options/             the list and every file named
//   Options/RUN.opt         Options/             no: missing lists and files are skipped
//   RUN.opt                 the program folder   no; three passes
//   Options/RUN.opt         Options/Standart/    no
//   Map/RUN.opt             Map/                 no
//   Map/GR/RUN.opt          Map/GR/              no
//
// Options/RUN3.opt is the marker of the whole procedure; Options/RUN1.opt, when
// there, a second marker that guards the optional lists (when it already
// holds the new value only the RUN4.opt files are converted).
//
// The procedure is safe to interrupt: every list and every required file is
// checked before anything is written, a list entry that names a path (a '/',
// a '\' or "..") refuses the whole conversion, the files are rewritten one by
// one atomically and the markers are written last, so a conversion that
// stopped half way is done again, whole, at the next start. Converting an
// already converted file changes nothing.
//
// No Qt here.
#pragma once

#include <string>

// Replaces the first separator of the other kind that stands between two
// digits: with decimalComma 1 the first '.' becomes ',', with 0 the first ','
// becomes '.'. A separator beside anything but digits on both sides (a name,
// a path, a sentence) is left alone. Returns true when the line changed.
bool SwapDecimalSeparator(std::string& line, int decimalComma);

struct DecimalUpkeepResult {
  bool Ok = false;         // false: the start cannot go on (nothing converted unless said)
  int Entry = 0;           // language entry of the refusal; 0 when Detail is the platform's message
  std::string Detail;      // path, or list and entry (UTF-8, as paths are)
  bool Converted = false;  // the separator differed and the listed files were converted
  int FilesRewritten = 0;  // files whose text changed
};

// Brings the listed files to the separator of decimalComma (1 ',' or 0 '.').
// Missing Options/RUN3.opt, or a marker that is no integer, fails with the
// platform's message; a missing required file or a list entry that names a
// path is refused with its language entry (kUiEntryUpkeepMissingFile,
// kUiEntryUpkeepForeignEntry) before anything is written.
DecimalUpkeepResult RunDecimalUpkeep(const std::string& programFolder, int decimalComma);

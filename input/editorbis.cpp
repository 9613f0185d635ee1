#include "input/editorbis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/astromath.h"

namespace {

constexpr char kDegreeMark = '\xB0';  // "°" in code page 1251
constexpr char kMinuteMark = '\'';
// Relative slack of a single-precision value: a factor stored as the float
// nearest to n / 100 may lie a hair below it and must still show n.
constexpr double kFloatSlack = 2.4e-7;

std::string TwoDigits(long long v) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%02lld", v);
  return buf;
}

// The digits of text with spaces dropped; false when a character is neither
// or no digit is left. Caps the count so the value fits a long long.
bool Digits(const std::string& text, long long& value) {
  value = 0;
  int count = 0;
  for (char c : text) {
    if (c == ' ') continue;
    if (c < '0' || c > '9' || ++count > 12) return false;
    value = value * 10 + (c - '0');
  }
  return count > 0;
}

}  // namespace

std::string OrbCellText(float orb) {
  int d = 0, m = 0, s = 0;
  DegToDms(orb, d, m, s);
  std::string text = d < 0 || m < 0 ? "-" : "";
  return text + TwoDigits(std::abs(static_cast<long long>(d))) + kDegreeMark +
         TwoDigits(std::abs(m)) + kMinuteMark;
}

std::string FactorCellText(float factor, char separator) {
  if (!std::isfinite(factor)) factor = 0;
  const double v = std::fabs(static_cast<double>(factor));
  const double hundredths = std::floor(v * 100.0 * (1.0 + kFloatSlack));
  const double units = std::floor(hundredths / 100.0);
  const int rest = std::clamp(static_cast<int>(hundredths - 100.0 * units), 0, 99);
  char buf[400];  // room for the largest float's units
  std::snprintf(buf, sizeof buf, "%s%.0f%c%02d", factor < 0 && hundredths > 0 ? "-" : "", units,
                separator, rest);
  return buf;
}

bool ParseOrbCell(const std::string& text, float& orb) {
  const std::size_t mark = text.find(kDegreeMark);
  if (mark == std::string::npos) return false;
  std::string minutes = text.substr(mark + 1);
  const std::size_t close = minutes.find(kMinuteMark);
  if (close != std::string::npos) {
    if (minutes.find_first_not_of(' ', close + 1) != std::string::npos) return false;
    minutes.resize(close);
  }
  long long d = 0, m = 0;
  if (!Digits(text.substr(0, mark), d) || !Digits(minutes, m)) return false;
  orb = static_cast<float>(static_cast<double>(d) + static_cast<double>(m) / 60.0);
  return true;
}

bool ParseFactorCell(const std::string& text, float& factor) {
  const std::size_t sep = text.find_first_of(".,");
  if (sep == std::string::npos || sep + 3 != text.size()) return false;
  const std::string hundredths = text.substr(sep + 1);
  long long units = 0, h = 0;
  if (hundredths.find(' ') != std::string::npos || !Digits(text.substr(0, sep), units) ||
      !Digits(hundredths, h))
    return false;
  factor = static_cast<float>(static_cast<double>(units) + static_cast<double>(h) * 0.01);
  return true;
}

OrbGridText ShowOrbGrid(const ChartRecord& record, char separator) {
  OrbGridText grid;
  for (int i = 0; i < kObjectCount; ++i)
    for (int j = 0; j < kObjectCount; ++j)
      grid.Pair[i][j] = i == j ? "::" : OrbCellText(record.PairOrb[i][j]);
  for (int k = 0; k < kOrbEditorKindCount; ++k)
    grid.Factor[k] = FactorCellText(record.AspectOrbFactor[k], separator);
  return grid;
}

OrbGridRefusal ApplyOrbGrid(const OrbGridText& shown, const OrbGridText& edited,
                            ChartRecord& record) {
  // read into copies, so a refusal leaves the record as it was
  float orbs[kObjectCount][kObjectCount];
  float factors[kOrbEditorKindCount];
  OrbGridRefusal refusal;
  for (int i = 0; i < kObjectCount; ++i)
    for (int j = 0; j < kObjectCount; ++j) {
      orbs[i][j] = record.PairOrb[i][j];
      if (i == j || edited.Pair[i][j] == shown.Pair[i][j]) continue;
      if (!ParseOrbCell(edited.Pair[i][j], orbs[i][j])) {
        refusal = {false, false, i, j, edited.Pair[i][j]};
        return refusal;
      }
    }
  for (int k = 0; k < kOrbEditorKindCount; ++k) {
    factors[k] = record.AspectOrbFactor[k];
    if (edited.Factor[k] == shown.Factor[k]) continue;
    if (!ParseFactorCell(edited.Factor[k], factors[k])) {
      refusal = {false, true, k, 0, edited.Factor[k]};
      return refusal;
    }
  }
  for (int i = 0; i < kObjectCount; ++i)
    for (int j = 0; j < kObjectCount; ++j) record.PairOrb[i][j] = orbs[i][j];
  for (int k = 0; k < kOrbEditorKindCount; ++k) record.AspectOrbFactor[k] = factors[k];
  return refusal;
}

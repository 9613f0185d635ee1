// The glyph font "Zarn": the program writes astrological symbols as single
// characters of this font (bodies, signs, house cusps and points, aspects,
// the retrograde, degree, minute and second marks and the star marker). Here
// each of its character codes (code page 1251 bytes) is mapped to a Unicode
// symbol or a short text, and each symbol is drawn with whichever of three
// bundled faces holds it: DejaVu Sans, Noto Sans Symbols or Noto Sans
// Symbols 2. The faces are loaded from their files, so no other installed
// font can stand in for a symbol.
#pragma once

#include <QFont>
#include <QString>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One character of the glyph font.
struct ZarnGlyph {
  unsigned char Code = 0;    // code page 1251 byte
  const char* Utf8 = "";     // the symbol or short text drawn for it
  const char* Meaning = "";  // what the character stands for
};

// Every mapped character, in the order bodies, signs, cusps and points,
// aspects, marks. Codes not listed (digits, ':', space, ...) draw as the code
// page 1251 character itself.
std::span<const ZarnGlyph> ZarnGlyphTable();

// The mapped entry of a code, or nullptr when the code draws as itself.
const ZarnGlyph* FindZarnGlyph(unsigned char code);

// True when a font name selects the glyph font (case-insensitive "Zarn").
bool IsZarnFontName(std::string_view name);

// The faces the glyph font draws with, in order of preference.
enum class GlyphFace { DejaVuSans, NotoSymbols, NotoSymbols2 };
inline constexpr int kGlyphFaceCount = 3;

// Loads the three face files once per process (needs a QGuiApplication).
// True when all three were found and registered. A face that is missing is
// replaced by the family name, which lets the font system choose.
bool LoadGlyphFaces();

// The file a face was loaded from ("" when not found).
std::string GlyphFaceFile(GlyphFace face);

// The family name under which a face is registered.
QString GlyphFaceFamily(GlyphFace face);

// A font of the face at a pixel size; fallback to other fonts is switched off
// so a character the face lacks shows as missing instead of borrowed.
QFont GlyphFaceFont(GlyphFace face, int pixelSize, bool antialias);

// The unicode text drawn for a code: the mapped symbol, else the code page
// 1251 character.
QString ZarnText(unsigned char code);

// The face that draws the text of a code: the first face, in order of
// preference, that holds every character of it (DejaVu Sans when none does).
GlyphFace ZarnFaceOf(unsigned char code);

// A line of glyph-font text split into runs of one face each. A character
// drawn as a short text ("AC", "108") is a run of its own, marked Cell: it is
// meant to fill one glyph cell like the symbols around it.
struct GlyphRun {
  QString Text;
  GlyphFace Face = GlyphFace::DejaVuSans;
  bool Cell = false;
};
std::vector<GlyphRun> ZarnRuns(std::string_view cp1251);

// A short text standing for one glyph is drawn condensed to at most this
// width (ems of the font size), but never narrower than the minimum scale.
inline constexpr double kGlyphCellEm = 1.0;
inline constexpr double kMinCellScale = 0.75;

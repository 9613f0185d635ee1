// The glyph font "Zarn": character map, face files and per-symbol face choice.
#include "platform/qt/glyphfont.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QRawFont>
#include <array>

#include "platform/qt/paths.h"
#include "platform/text/cp1251.h"

namespace {

// Codes of the glyph font and what each draws. Bodies 0..17, signs Aries to
// Pisces, house cusps 1..12 and the six special points, aspect kinds 0..29,
// then the marks.
constexpr ZarnGlyph kGlyphs[] = {
    // bodies
    {'a', "\u2609", "Sun"},
    {'s', "\u263D", "Moon"},
    {'d', "\u263F", "Mercury"},
    {'f', "\u2640", "Venus"},
    {'g', "\u2642", "Mars"},
    {'h', "\u2643", "Jupiter"},
    {'j', "\u2644", "Saturn"},
    {'k', "\u2645", "Uranus"},
    {'l', "\u2646", "Neptune"},
    {'m', "\u2647", "Pluto"},
    {'z', "\u26B7", "Chiron"},
    {'x', "\u2BD8", "Proserpina"},
    {'v', "\u26B8", "Lilith"},
    {'c', "\u2BDD", "Selena"},
    {'b', "\u260A", "north node"},
    {'n', "\u260B", "south node"},
    {'(', "\u2297", "part of fortune"},
    {')', "\u2629", "cross of fate"},
    // signs
    {'q', "\u2648", "Aries"},
    {'w', "\u2649", "Taurus"},
    {'e', "\u264A", "Gemini"},
    {'r', "\u264B", "Cancer"},
    {'t', "\u264C", "Leo"},
    {'y', "\u264D", "Virgo"},
    {'u', "\u264E", "Libra"},
    {'i', "\u264F", "Scorpio"},
    {'o', "\u2650", "Sagittarius"},
    {'p', "\u2651", "Capricorn"},
    {'[', "\u2652", "Aquarius"},
    {']', "\u2653", "Pisces"},
    // house cusps, counted from the querent's house, and special points
    {45, "AC", "cusp 1"},
    {130, "\u2161", "cusp 2"},
    {64, "\u2162", "cusp 3"},
    {132, "IC", "cusp 4"},
    {133, "\u2164", "cusp 5"},
    {134, "\u2165", "cusp 6"},
    {135, "DC", "cusp 7"},
    {38, "\u2167", "cusp 8"},
    {137, "\u2168", "cusp 9"},
    {62, "MC", "cusp 10"},
    {139, "\u216A", "cusp 11"},
    {96, "\u216B", "cusp 12"},
    {150, "Vx", "vertex"},
    {151, "Av", "antivertex"},
    {36, "N", "north point"},
    {153, "S", "south point"},
    {169, "W", "west point"},
    {155, "E", "east point"},
    // aspects
    {'Q', "\u260C", "conjunction"},
    {'W', "\u26B9", "sextile"},
    {'E', "\u25A1", "square"},
    {'R', "\u25B3", "trine"},
    {'T', "\u260D", "opposition"},
    {'Y', "\u26BA", "semi-sextile"},
    {'U', "\u26BB", "quincunx"},
    {'I', "\u2220", "semi-square"},
    {'O', "\u26BC", "sesquiquadrate"},
    {'F', "18", "18 degrees"},
    {'A', "36", "36 degrees"},
    {'P', "72", "72 degrees"},
    {'D', "108", "108 degrees"},
    {'S', "144", "144 degrees"},
    {'J', "20", "20 degrees"},
    {'G', "40", "40 degrees"},
    {'H', "80", "80 degrees"},
    {'L', "100", "100 degrees"},
    {'K', "140", "140 degrees"},
    {'Z', "160", "160 degrees"},
    {'M', "26", "septile"},
    {'X', "51", "two septiles"},
    {'B', "77", "three septiles"},
    {'V', "103", "four septiles"},
    {'C', "129", "five septiles"},
    {'N', "154", "six septiles"},
    {'_', "\u2225", "parallel of latitude"},
    {'+', "\u2226", "contra-parallel"},
    {'%', "cA", "sum of longitudes near 0"},
    {'*', "A", "sum of longitudes near 180"},
    // marks
    {'!', "\u211E", "retrograde"},
    {145, "\u00B0", "degree"},
    {'<', "\u2032", "minute"},
    {'=', "\u2033", "second"},
    {146, "\u2605", "star, part or midpoint marker"},
};

struct FaceFile {
  const char* fileName;
  const char* family;  // the family name the file registers
  std::array<const char*, 4> dirs;
};

// Where the face files are looked for: beside the program first (a folder
// "fonts"), then the usual system font folders.
constexpr std::array<FaceFile, kGlyphFaceCount> kFaceFiles = {{
    {"DejaVuSans.ttf",
     "DejaVu Sans",
     {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/dejavu-sans-fonts",
      "/usr/share/fonts/TTF", "/usr/share/fonts/dejavu"}},
    {"NotoSansSymbols-Regular.ttf",
     "Noto Sans Symbols",
     {"/usr/share/fonts/truetype/noto", "/usr/share/fonts/noto", "/usr/share/fonts/google-noto",
      "/usr/share/fonts/TTF"}},
    {"NotoSansSymbols2-Regular.ttf",
     "Noto Sans Symbols 2",
     {"/usr/share/fonts/truetype/noto", "/usr/share/fonts/noto", "/usr/share/fonts/google-noto",
      "/usr/share/fonts/TTF"}},
}};

struct LoadedFaces {
  bool complete = false;
  std::array<QString, kGlyphFaceCount> path;
  std::array<QString, kGlyphFaceCount> family;
  std::array<GlyphFace, 256> faceOfCode{};
};

QString FindFaceFile(const FaceFile& face) {
  QStringList candidates;
  if (QCoreApplication::instance() != nullptr)
    candidates << QCoreApplication::applicationDirPath() + "/fonts/" + face.fileName;
  for (const char* dir : face.dirs) candidates << QString(dir) + "/" + face.fileName;
  for (const QString& path : candidates)
    if (QFile::exists(path)) return path;
  return {};
}

// First face, in order of preference, whose file holds every character.
GlyphFace PickFace(const QString& text, const std::array<QRawFont, kGlyphFaceCount>& raw) {
  for (int f = 0; f < kGlyphFaceCount; ++f) {
    if (!raw[f].isValid()) continue;
    bool all = true;
    for (char32_t c : text.toUcs4())
      if (!raw[f].supportsCharacter(c)) all = false;
    if (all) return static_cast<GlyphFace>(f);
  }
  return GlyphFace::DejaVuSans;
}

LoadedFaces LoadOnce() {
  LoadedFaces faces;
  faces.complete = true;
  std::array<QRawFont, kGlyphFaceCount> raw;
  for (int f = 0; f < kGlyphFaceCount; ++f) {
    faces.family[f] = kFaceFiles[f].family;
    const QString path = FindFaceFile(kFaceFiles[f]);
    const int id = path.isEmpty() ? -1 : QFontDatabase::addApplicationFont(path);
    const QStringList families =
        id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
      faces.complete = false;
      continue;
    }
    faces.path[f] = path;
    faces.family[f] = families.first();
    raw[f] = QRawFont(path, 16.0);
  }
  for (int code = 0; code < 256; ++code)
    faces.faceOfCode[code] = PickFace(ZarnText(static_cast<unsigned char>(code)), raw);
  return faces;
}

const LoadedFaces& Faces() {
  static const LoadedFaces faces = LoadOnce();
  return faces;
}

}  // namespace

std::span<const ZarnGlyph> ZarnGlyphTable() { return kGlyphs; }

const ZarnGlyph* FindZarnGlyph(unsigned char code) {
  static const std::array<const ZarnGlyph*, 256> byCode = [] {
    std::array<const ZarnGlyph*, 256> table{};
    for (const ZarnGlyph& g : kGlyphs) table[g.Code] = &g;
    return table;
  }();
  return byCode[code];
}

bool IsZarnFontName(std::string_view name) {
  constexpr std::string_view kName = "zarn";
  if (name.size() != kName.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char c = name[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kName[i]) return false;
  }
  return true;
}

bool LoadGlyphFaces() { return Faces().complete; }

std::string GlyphFaceFile(GlyphFace face) { return PathOfQt(Faces().path[static_cast<int>(face)]); }

QString GlyphFaceFamily(GlyphFace face) { return Faces().family[static_cast<int>(face)]; }

QFont GlyphFaceFont(GlyphFace face, int pixelSize, bool antialias) {
  QFont font(GlyphFaceFamily(face));
  font.setPixelSize(pixelSize > 0 ? pixelSize : 1);
  font.setStyleStrategy(static_cast<QFont::StyleStrategy>(
      QFont::NoFontMerging | (antialias ? QFont::PreferDefault : QFont::NoAntialias)));
  return font;
}

QString ZarnText(unsigned char code) {
  if (const ZarnGlyph* glyph = FindZarnGlyph(code)) return QString::fromUtf8(glyph->Utf8);
  const char32_t unicode = Cp1251ToUnicode(code);
  return QString::fromUcs4(&unicode, 1);
}

GlyphFace ZarnFaceOf(unsigned char code) { return Faces().faceOfCode[code]; }

std::vector<GlyphRun> ZarnRuns(std::string_view cp1251) {
  std::vector<GlyphRun> runs;
  for (char ch : cp1251) {
    const auto code = static_cast<unsigned char>(ch);
    const GlyphFace face = ZarnFaceOf(code);
    const QString text = ZarnText(code);
    const bool cell = FindZarnGlyph(code) != nullptr && text.size() > 1;
    if (cell || runs.empty() || runs.back().Face != face || runs.back().Cell)
      runs.push_back(GlyphRun{QString(), face, cell});
    runs.back().Text += text;
  }
  return runs;
}

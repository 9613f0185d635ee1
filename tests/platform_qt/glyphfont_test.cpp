// The glyph font: every character code the program writes in it maps to a
// symbol that the face chosen for it really holds, and text in the glyph font
// is drawn and measured as those symbols.
#include "platform/qt/glyphfont.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QRawFont>
#include <set>
#include <string>

#include "gui_app.h"
#include "platform/qt/canvas.h"

namespace {

// The character codes of the glyph tables of the chart record: bodies 0..17,
// signs, cusps and special points (as bytes), aspect kinds 0..29, the
// retrograde mark; then the degree, minute and second marks and the marker
// of stars, parts and midpoints.
const std::string kBodyCodes = "asdfghjklmzxvcbn()";
const std::string kSignCodes = "qwertyuiop[]";
const unsigned char kCuspCodes[18] = {45, 130, 64, 132, 133, 134, 135, 38,  137,
                                      62, 139, 96, 150, 151, 36,  153, 169, 155};
const std::string kAspectCodes = "QWERTYUIOFAPDSJGHLKZMXBVCN_+%*";
const unsigned char kMarkCodes[5] = {'!', 145, '<', '=', 146};

std::string AllCodes() {
  std::string all = kBodyCodes + kSignCodes + kAspectCodes;
  for (unsigned char c : kCuspCodes) all += static_cast<char>(c);
  for (unsigned char c : kMarkCodes) all += static_cast<char>(c);
  return all;
}

class GlyphFontTest : public GuiTest {};

TEST_F(GlyphFontTest, FaceFilesAreFoundAndRegistered) {
  ASSERT_TRUE(LoadGlyphFaces());
  EXPECT_EQ(GlyphFaceFile(GlyphFace::DejaVuSans),
            "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  EXPECT_EQ(GlyphFaceFile(GlyphFace::NotoSymbols),
            "/usr/share/fonts/truetype/noto/NotoSansSymbols-Regular.ttf");
  EXPECT_EQ(GlyphFaceFile(GlyphFace::NotoSymbols2),
            "/usr/share/fonts/truetype/noto/NotoSansSymbols2-Regular.ttf");
  for (GlyphFace face : {GlyphFace::DejaVuSans, GlyphFace::NotoSymbols, GlyphFace::NotoSymbols2}) {
    const QFont font = GlyphFaceFont(face, 20, false);
    EXPECT_EQ(QFontInfo(font).family(), GlyphFaceFamily(face))
        << "the face itself is used, no stand-in";
  }
}

TEST_F(GlyphFontTest, EveryCodeOfTheChartTablesIsMapped) {
  const std::string all = AllCodes();
  EXPECT_EQ(all.size(), 18u + 12u + 18u + 30u + 5u);
  for (char ch : all) {
    const auto code = static_cast<unsigned char>(ch);
    const ZarnGlyph* glyph = FindZarnGlyph(code);
    ASSERT_NE(glyph, nullptr) << "code " << int(code);
    EXPECT_FALSE(std::string(glyph->Utf8).empty()) << "code " << int(code);
  }
  EXPECT_EQ(ZarnGlyphTable().size(), all.size()) << "nothing else is mapped";
}

TEST_F(GlyphFontTest, EveryMappedSymbolIsHeldByItsFace) {
  ASSERT_TRUE(LoadGlyphFaces());
  for (const ZarnGlyph& glyph : ZarnGlyphTable()) {
    const GlyphFace face = ZarnFaceOf(glyph.Code);
    const QFont font = GlyphFaceFont(face, 24, false);
    const QFontMetrics metrics(font);
    const QString text = QString::fromUtf8(glyph.Utf8);
    for (char32_t c : text.toUcs4())
      EXPECT_TRUE(metrics.inFontUcs4(c)) << glyph.Meaning << " U+" << std::hex << uint32_t(c)
                                         << " missing in " << GlyphFaceFamily(face).toStdString();
    // the drawing engine finds real glyphs, not the missing-glyph box (index 0)
    const QRawFont raw = QRawFont::fromFont(font);
    for (quint32 index : raw.glyphIndexesForString(text)) EXPECT_NE(index, 0u) << glyph.Meaning;
  }
}

TEST_F(GlyphFontTest, SymbolsFollowTheProposedMap) {
  // spot checks against the map agreed for the glyph font
  EXPECT_EQ(ZarnText('a'), QString(QChar(0x2609)));  // Sun
  EXPECT_EQ(ZarnText('s'), QString(QChar(0x263D)));  // Moon
  EXPECT_EQ(ZarnText('x'), QString(QChar(0x2BD8)));  // Proserpina
  EXPECT_EQ(ZarnText('q'), QString(QChar(0x2648)));  // Aries
  EXPECT_EQ(ZarnText(']'), QString(QChar(0x2653)));  // Pisces
  EXPECT_EQ(ZarnText(45), QString("AC"));            // first cusp
  EXPECT_EQ(ZarnText(62), QString("MC"));            // tenth cusp
  EXPECT_EQ(ZarnText('W'), QString(QChar(0x26B9)));  // sextile
  EXPECT_EQ(ZarnText('!'), QString(QChar(0x211E)));  // retrograde
  EXPECT_EQ(ZarnText(145), QString(QChar(0x00B0)));  // degree
  EXPECT_EQ(ZarnText(146), QString(QChar(0x2605)));  // marker
}

TEST_F(GlyphFontTest, BodiesSignsAndCuspsAreDistinct) {
  std::set<QString> seen;
  std::string codes = kBodyCodes + kSignCodes;
  for (unsigned char c : kCuspCodes) codes += static_cast<char>(c);
  for (char ch : codes) seen.insert(ZarnText(static_cast<unsigned char>(ch)));
  EXPECT_EQ(seen.size(), codes.size());
}

TEST_F(GlyphFontTest, DigitsColonAndSpaceDrawAsThemselves) {
  for (char ch : std::string("0123456789: ")) {
    EXPECT_EQ(FindZarnGlyph(static_cast<unsigned char>(ch)), nullptr);
    EXPECT_EQ(ZarnText(static_cast<unsigned char>(ch)), QString(QChar(ch)));
    EXPECT_EQ(ZarnFaceOf(static_cast<unsigned char>(ch)), GlyphFace::DejaVuSans);
  }
}

TEST_F(GlyphFontTest, FontNameIsRecognisedWithoutCase) {
  EXPECT_TRUE(IsZarnFontName("Zarn"));
  EXPECT_TRUE(IsZarnFontName("ZARN"));
  EXPECT_FALSE(IsZarnFontName("Zarn2"));
  EXPECT_FALSE(IsZarnFontName("Arial"));
}

TEST_F(GlyphFontTest, RunsGroupNeighboursOfOneFace) {
  // "12:" in DejaVu Sans, two semi-sextiles "Y" in Noto Sans Symbols, Selena
  // "c" in Noto Sans Symbols 2
  const std::vector<GlyphRun> runs = ZarnRuns("12:YYc");
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].Text, QString("12:"));
  EXPECT_EQ(runs[0].Face, GlyphFace::DejaVuSans);
  EXPECT_EQ(runs[1].Face, GlyphFace::NotoSymbols);
  EXPECT_EQ(runs[1].Text.size(), 2);
  EXPECT_EQ(runs[2].Face, GlyphFace::NotoSymbols2);
}

class GlyphDrawingTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    bitmap.SetSize(200, 80);
    TCanvas& c = bitmap.Canvas();
    c.Font.Name = "Zarn";
    c.Font.Size = 20;
    c.Font.Color = clBlack;
    c.Brush.Style = bsClear;
  }
  TBitmap bitmap;
};

TEST_F(GlyphDrawingTest, EachGlyphDrawsInkInsideItsCell) {
  TCanvas& c = bitmap.Canvas();
  for (const ZarnGlyph& glyph : ZarnGlyphTable()) {
    c.Brush.Style = bsSolid;
    c.Brush.Color = clWhite;
    c.FillRect(MakeRect(0, 0, 200, 80));
    c.Brush.Style = bsClear;
    const std::string text(1, static_cast<char>(glyph.Code));
    c.TextOut(20, 10, text);
    const InkBox ink = FindInk(bitmap.Image(), qRgb(255, 255, 255));
    ASSERT_GT(ink.count, 0) << glyph.Meaning;
    EXPECT_GE(ink.left, 20) << glyph.Meaning;
    EXPECT_GE(ink.top, 10) << glyph.Meaning;
    EXPECT_LT(ink.right, 20 + c.TextWidth(text)) << glyph.Meaning;
    EXPECT_LT(ink.bottom, 10 + c.TextHeight(text)) << glyph.Meaning;
  }
}

TEST_F(GlyphDrawingTest, MeasuresTheMappedText) {
  TCanvas& c = bitmap.Canvas();
  const int sun = c.TextWidth("a");
  const int aries = c.TextWidth("q");
  EXPECT_GT(sun, 0);
  EXPECT_EQ(c.TextWidth("aq"), sun + aries);
  // the cell height is one for every glyph of a size
  EXPECT_EQ(c.TextHeight("a"), c.TextHeight("c"));
  EXPECT_EQ(c.TextHeight("a"), c.TextHeight("W"));
  // "A" (sum of longitudes near 180) is narrower than "AC", which "-" draws
  EXPECT_LT(c.TextWidth("*"), c.TextWidth("-"));
  // digits measure as in DejaVu Sans of the same size
  const int digits = c.TextWidth("12");
  c.Font.Name = "DejaVu Sans";
  EXPECT_EQ(digits, c.TextWidth("12"));
}

TEST_F(GlyphDrawingTest, ShortTextGlyphsAreCondensedTowardsOneCell) {
  TCanvas& c = bitmap.Canvas();
  const int ascendant = c.TextWidth("-");  // drawn as "AC"
  const int tenth = c.TextWidth(">");      // drawn as "MC"
  c.Font.Name = "DejaVu Sans";
  const int naturalAc = c.TextWidth("AC");
  const int naturalMc = c.TextWidth("MC");
  EXPECT_LT(ascendant, naturalAc);
  EXPECT_LT(tenth, naturalMc);
  EXPECT_GE(ascendant, naturalAc * kMinCellScale - 1);
  EXPECT_GE(tenth, naturalMc * kMinCellScale - 1);
}

// The wheel writes a glyph of size S (points) with its cell corner S*k*2/3
// pixels left of and S*k pixels above the point it marks, k = 0.6825939: the
// symbols' ink must then sit around that point.
TEST_F(GlyphDrawingTest, SymbolsCentreOnTheWheelAnchor) {
  constexpr double kWheelGlyphOffset = 0.6825939;  // pixels per point of font size
  constexpr int kSize = 20;                        // points, 27 pixels of em
  constexpr double kCentreTolerance = 7.0;         // pixels, a quarter of the em
  TCanvas& c = bitmap.Canvas();
  c.Font.Size = kSize;
  const std::string codes = kBodyCodes + kSignCodes + "->";
  for (char code : codes) {
    c.Brush.Style = bsSolid;
    c.Brush.Color = clWhite;
    c.FillRect(MakeRect(0, 0, 200, 80));
    c.Brush.Style = bsClear;
    const int anchorX = 100, anchorY = 40;
    c.TextOut(static_cast<int>(anchorX - kSize * kWheelGlyphOffset * 2 / 3),
              static_cast<int>(anchorY - kSize * kWheelGlyphOffset), std::string(1, code));
    const InkBox ink = FindInk(bitmap.Image(), qRgb(255, 255, 255));
    EXPECT_NEAR((ink.left + ink.right) / 2.0, anchorX, kCentreTolerance) << "code " << code;
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, anchorY, kCentreTolerance) << "code " << code;
  }
}

TEST_F(GlyphDrawingTest, DifferentCodesDrawDifferentSymbols) {
  TCanvas& c = bitmap.Canvas();
  c.TextOut(0, 0, "a");
  c.TextOut(100, 0, "q");
  bool differs = false;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (c.Pixel(x, y) != c.Pixel(100 + x, y)) differs = true;
  EXPECT_TRUE(differs);
}

}  // namespace

// Code page 1251 conversions against the published Windows-1251 mapping.
#include <gtest/gtest.h>

#include <string>

#include "platform/text/cp1251.h"

namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// UTF-8 of a code point below U+10000 (the test's own encoder).
void AppendUtf8ForTest(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

TEST(Cp1251, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
  for (int b = 0; b < 256; ++b) {
    unsigned char back = 0;
    ASSERT_TRUE(UnicodeToCp1251(Cp1251ToUnicode(static_cast<unsigned char>(b)), back)) << b;
    EXPECT_EQ(back, b);
  }
}

TEST(Cp1251, KnownCharacters) {
  EXPECT_EQ(Cp1251ToUnicode('A'), U'A');
  EXPECT_EQ(Cp1251ToUnicode(0xC0), U'\u0410');  // А
  EXPECT_EQ(Cp1251ToUnicode(0xFF), U'\u044F');  // я
  EXPECT_EQ(Cp1251ToUnicode(0xA8), U'\u0401');  // Ё
  EXPECT_EQ(Cp1251ToUnicode(0xB8), U'\u0451');  // ё
  EXPECT_EQ(Cp1251ToUnicode(0xB9), U'\u2116');  // №
  EXPECT_EQ(Cp1251ToUnicode(0x88), U'\u20AC');  // €
  EXPECT_EQ(Cp1251ToUnicode(0xB0), U'\u00B0');  // °
  EXPECT_EQ(Cp1251ToUnicode(0x98), U'\u0098');  // undefined in the code page
}

TEST(Cp1251, UpperHalfMatchesThePublishedTable) {
  // Bytes 0x80..0xBF as listed by the Unicode Consortium's CP1251.TXT.
  const std::string expected =
      "ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—\u0098™љ›њќћџ"
      "\u00A0ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї°±Ііґµ¶·ё№є»јЅѕї";
  std::string bytes;
  for (int b = 0x80; b < 0xC0; ++b) bytes += static_cast<char>(b);
  EXPECT_EQ(Cp1251ToUtf8(bytes), expected);
}

TEST(Cp1251, RussianTextFromAndToUtf8) {
  EXPECT_EQ(Cp("Москва"), Bytes({0xCC, 0xEE, 0xF1, 0xEA, 0xE2, 0xE0}));
  EXPECT_EQ(Cp("Ёлка № 5"), Bytes({0xA8, 0xEB, 0xEA, 0xE0, ' ', 0xB9, ' ', '5'}));
  const std::string sentence = "Съешь же ещё этих мягких французских булок, да выпей чаю";
  const std::string cp = Cp(sentence);
  EXPECT_EQ(cp.size(), 56u);  // one byte per character
  EXPECT_EQ(Cp1251ToUtf8(cp), sentence);
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("a日本b"), "a??b");
  EXPECT_EQ(Utf8ToCp1251("\u00C4"), "?");  // Ä has no place in the code page
  EXPECT_EQ(Utf8ToCp1251("\u0081"), "?");  // C1 control other than U+0098
  EXPECT_EQ(Utf8ToCp1251("\u0098"), Bytes({0x98}));
  EXPECT_EQ(Utf8ToCp1251("x\xFFy"), "x?y");  // byte that never starts UTF-8
  EXPECT_EQ(Utf8ToCp1251("\xD0"), "?");      // sequence cut short
  EXPECT_EQ(Utf8ToCp1251("\xD0\x9F\xD0"), Bytes({0xCF, '?'}));
  EXPECT_EQ(Utf8ToCp1251("\xC0\xAF"), "??");       // overlong '/'
  EXPECT_EQ(Utf8ToCp1251("\xED\xA0\x80"), "???");  // encoded surrogate
  unsigned char byte = 0;
  EXPECT_FALSE(UnicodeToCp1251(U'\u00C4', byte));
}

// A character is refused exactly when converting it loses it: the round trip
// through the code page is the oracle, over the whole Basic Multilingual Plane
// below the surrogates.
TEST(Cp1251, CharactersOutsideAreThoseTheRoundTripLoses) {
  for (char32_t cp = 1; cp < 0xD800; ++cp) {
    std::string utf8;
    AppendUtf8ForTest(cp, utf8);
    const bool lost = Cp1251ToUtf8(Utf8ToCp1251(utf8)) != utf8;
    const std::u32string outside = CharactersOutsideCp1251(utf8);
    ASSERT_EQ(!outside.empty(), lost) << "U+" << std::hex << static_cast<unsigned>(cp);
    if (lost) {
      ASSERT_EQ(outside, std::u32string(1, cp));
    }
  }
  // each once, in the order typed; a broken sequence is named as U+FFFD
  EXPECT_EQ(CharactersOutsideCp1251("Zürich-Ω Zürich"), U"\u00FC\u03A9");
  EXPECT_EQ(CharactersOutsideCp1251("Москва x\xFF"), U"\uFFFD");
  EXPECT_EQ(NameCharacters(U"\u00FC\u03A9"), "ü (U+00FC), Ω (U+03A9)");
}

TEST(Cp1251, UpperCasing) {
  EXPECT_EQ(UpperCaseCp1251(Cp("абвгдеёжзийклмнопрстуфхцчшщъыьэюя")),
            Cp("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"));
  EXPECT_EQ(UpperCaseCp1251(Cp("ўїєіґђѓљњќћџѕј")), Cp("ЎЇЄІҐЂЃЉЊЌЋЏЅЈ"));
  EXPECT_EQ(UpperCaseCp1251("abcxyz ABC 09 @[`{"), "ABCXYZ ABC 09 @[`{");
  // Upper-case letters, signs and µ (no upper-case partner here) stay as they are.
  const std::string unchanged = Cp("АЯЁЎЇЄІҐЂЃЉЊЌЋЏЅЈ №°±µ«»€") + Bytes({0x98, 0xA0, 0xAD});
  EXPECT_EQ(UpperCaseCp1251(unchanged), unchanged);
}

}  // namespace

// Code page 1251 <-> Unicode and upper-casing of code page 1251 text.
//
// The upper half of the code page follows the published Windows-1251 mapping
// (Unicode Consortium, MAPPINGS/VENDORS/MICSFT/WINDOWS/CP1251.TXT); the lower
// half is ASCII. The byte 0x98, which the code page leaves undefined, is given
// the C1 control U+0098 so that no byte is ever lost in a round trip.
#include "platform/text/cp1251.h"

#include <array>
#include <cstdio>

namespace {

// Code points of the bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kUpperHalf = {
    // 0x80
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  //
    // 0x90
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  //
    // 0xA0
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  //
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  //
    // 0xB0
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  //
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  //
    // 0xC0..0xFF: А..я, U+0410..U+044F in order
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  //
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  //
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  //
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  //
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  //
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  //
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  //
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  //
};

// Upper-case byte of every byte: a-z, а-я and the lower-case letters of the
// code page's other Cyrillic alphabets that have an upper-case partner in it.
constexpr std::array<unsigned char, 256> MakeUpperTable() {
  std::array<unsigned char, 256> table{};
  for (int b = 0; b < 256; ++b) table[b] = static_cast<unsigned char>(b);
  for (int b = 'a'; b <= 'z'; ++b) table[b] = static_cast<unsigned char>(b - 'a' + 'A');
  for (int b = 0xE0; b <= 0xFF; ++b) table[b] = static_cast<unsigned char>(b - 0x20);  // а-я
  const unsigned char pairs[][2] = {
      {0xB8, 0xA8},  // ё Ё
      {0xA2, 0xA1},  // ў Ў
      {0xBF, 0xAF},  // ї Ї
      {0xBA, 0xAA},  // є Є
      {0xB3, 0xB2},  // і І
      {0xB4, 0xA5},  // ґ Ґ
      {0x90, 0x80},  // ђ Ђ
      {0x83, 0x81},  // ѓ Ѓ
      {0x9A, 0x8A},  // љ Љ
      {0x9C, 0x8C},  // њ Њ
      {0x9D, 0x8D},  // ќ Ќ
      {0x9E, 0x8E},  // ћ Ћ
      {0x9F, 0x8F},  // џ Џ
      {0xBE, 0xBD},  // ѕ Ѕ
      {0xBC, 0xA3},  // ј Ј
  };
  for (const auto& pair : pairs) table[pair[0]] = pair[1];
  return table;
}

constexpr std::array<unsigned char, 256> kUpperCase = MakeUpperTable();

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[pos]. Returns the number of bytes taken
// and sets cp; a malformed sequence yields valid == false and takes its
// maximal well-formed prefix (at least one byte), so that each broken
// sequence is replaced once.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& cp, bool& valid) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  valid = false;
  if (lead < 0x80) {
    cp = lead;
    valid = true;
    return 1;
  }
  std::size_t length = 0;
  unsigned char low = 0x80;  // allowed range of the second byte
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 1;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if (pos + k >= text.size()) return k;
    const auto next = static_cast<unsigned char>(text[pos + k]);
    const unsigned char lo = (k == 1) ? low : 0x80;
    const unsigned char hi = (k == 1) ? high : 0xBF;
    if (next < lo || next > hi) return k;
    cp = (cp << 6) | (next & 0x3F);
  }
  valid = true;
  return length;
}

}  // namespace

char32_t Cp1251ToUnicode(unsigned char byte) {
  return byte < 0x80 ? char32_t{byte} : char32_t{kUpperHalf[byte - 0x80]};
}

bool UnicodeToCp1251(char32_t codePoint, unsigned char& byte) {
  if (codePoint < 0x80) {
    byte = static_cast<unsigned char>(codePoint);
    return true;
  }
  if (codePoint >= 0x0410 && codePoint <= 0x044F) {
    byte = static_cast<unsigned char>(codePoint - 0x0410 + 0xC0);
    return true;
  }
  for (std::size_t i = 0; i < 0x40; ++i) {
    if (kUpperHalf[i] == codePoint) {
      byte = static_cast<unsigned char>(0x80 + i);
      return true;
    }
  }
  return false;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (char c : cp1251) AppendUtf8(Cp1251ToUnicode(static_cast<unsigned char>(c)), out);
  return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t cp = 0;
    bool valid = false;
    pos += DecodeUtf8(utf8, pos, cp, valid);
    unsigned char byte = '?';
    if (!valid || !UnicodeToCp1251(cp, byte)) byte = '?';
    out += static_cast<char>(byte);
  }
  return out;
}

std::u32string CharactersOutsideCp1251(std::string_view utf8) {
  std::u32string outside;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t cp = 0;
    bool valid = false;
    pos += DecodeUtf8(utf8, pos, cp, valid);
    unsigned char byte = 0;
    if (!valid) cp = U'\uFFFD';
    if ((!valid || !UnicodeToCp1251(cp, byte)) && outside.find(cp) == std::u32string::npos)
      outside += cp;
  }
  return outside;
}

std::string NameCharacters(const std::u32string& characters) {
  std::string names;
  for (char32_t cp : characters) {
    if (!names.empty()) names += ", ";
    AppendUtf8(cp, names);
    char code[16];
    std::snprintf(code, sizeof code, " (U+%04X)", static_cast<unsigned>(cp));
    names += code;
  }
  return names;
}

std::string UpperCaseCp1251(std::string_view cp1251) {
  std::string out(cp1251);
  for (char& c : out) c = static_cast<char>(kUpperCase[static_cast<unsigned char>(c)]);
  return out;
}

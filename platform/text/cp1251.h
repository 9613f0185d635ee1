// Code page 1251 <-> Unicode. Text stays 8-bit code page 1251 inside the
// program; these conversions are used only where text meets the window system
// or a UTF-8 source literal. The mapping is lossless: every byte value 0..255
// survives Cp1251ToUtf8 followed by Utf8ToCp1251 (the one byte the code page
// leaves undefined, 0x98, travels as U+0098).
#pragma once

#include <string>
#include <string_view>

// Unicode code point of one code page 1251 byte.
char32_t Cp1251ToUnicode(unsigned char byte);
// Code page 1251 byte of a code point; false when the code page has none.
bool UnicodeToCp1251(char32_t codePoint, unsigned char& byte);

std::string Cp1251ToUtf8(std::string_view cp1251);
// Characters the code page cannot hold become '?'.
std::string Utf8ToCp1251(std::string_view utf8);

// The characters of a UTF-8 text that code page 1251 has no byte for, each
// once, in the order they first occur; a malformed UTF-8 sequence counts as
// U+FFFD. Empty when the whole text converts without loss.
std::u32string CharactersOutsideCp1251(std::string_view utf8);
// Names characters for a message, in UTF-8: each as itself and its code,
// "ü (U+00FC), Ω (U+03A9)".
std::string NameCharacters(const std::u32string& characters);

// A UTF-8 source literal as code page 1251 text: Cp("Плацидус").
inline std::string Cp(std::string_view utf8) { return Utf8ToCp1251(utf8); }

// Locale upper-casing of code page 1251 text (Latin and Cyrillic letters).
std::string UpperCaseCp1251(std::string_view cp1251);

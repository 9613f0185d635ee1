// Numbers as the data files hold them: decimal text in the locale's format.
// The decimal separator is taken once from the user's environment (the locale
// named by LC_ALL, else LC_NUMERIC, else LANG, the order the C library uses for
// LC_NUMERIC) and used everywhere.
// Nothing here reads or changes the C library's current locale, so the
// results do not depend on what the window system does to it.
#pragma once

#include <string>
#include <string_view>

// The locale's decimal separator, '.' or ','. Decided on first use (safe to
// call from any thread) unless SetDecimalSeparator came first.
char DecimalSeparator();
// Overrides the separator (tests, and the separator upkeep of the settings files).
// Only '.' and ',' are known separators; any other character is ignored.
void SetDecimalSeparator(char separator);

// The decimal separator of a locale name such as "ru_RU.UTF-8", "de_DE@euro"
// or "C": the C library's own answer when that locale is installed, otherwise
// the usual convention of its language and territory. Empty, "C" and "POSIX"
// give '.'.
char DecimalSeparatorForLocale(std::string_view localeName);

// General format with up to 15 significant digits and no trailing zeros, the
// way the settings files store floats ("55.5709618149878", "3", "1E-5").
// The value is rounded to 15 significant digits (halves away from zero); the
// exponent form "d.dddE<n>" is used when the rounded value is below 0.0001 or
// has more than 15 integer digits ("1E-5", "-1.5E20", "1E15"), the fixed form
// otherwise ("0.0001", "999999999999999"). Zero, negative zero included, is
// "0". Non-finite values give "NAN", "INF" and "-INF", which ParseFloat refuses.
std::string FormatFloat(double value);
std::string FormatInt(long long value);

// Strict parsers: the whole text (surrounding spaces and tabs allowed) must be
// one number. They return false on anything else and never throw; out-of-range
// and non-finite values are refused. On failure value is left unchanged.
//
// ParseFloat takes an optional sign, digits with at most one decimal separator
// and an optional exponent ("E" or "e", optional sign, digits). It accepts both
// '.' and ',' as the decimal separator, whatever the locale: neither character
// has any other meaning inside one number here (no digit grouping is ever
// written or read), so "55.75" typed under a comma locale, or a file written
// under the other locale before its upkeep, still reads as 55.75. Text with two
// separators ("1.2.3", "1,234.5") is refused. "nan", "inf", hexadecimal floats
// and values that overflow or underflow to zero are refused.
bool ParseFloat(std::string_view text, double& value);
// An optional sign and decimal digits, within the range of int.
bool ParseInt(std::string_view text, int& value);

// Strips leading and trailing tabs, then leading and trailing blanks, from a
// typed number; an empty result becomes "0".
void TrimBlanks(std::string& text);

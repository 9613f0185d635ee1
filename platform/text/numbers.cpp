// Locale-format decimal text of numbers, independent of the C library's
// current locale: conversions go through std::to_chars / std::from_chars, and
// the separator is looked up with a private locale object (newlocale), never
// with setlocale.
#include "platform/text/numbers.h"

#include <langinfo.h>
#include <locale.h>

#include <array>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace {

constexpr int kSignificantDigits = 15;
// Decimal exponents (of the rounded value, d.ddd x 10^n) outside
// [kMinFixedExponent, kMaxFixedExponent] are written in exponent form.
constexpr int kMinFixedExponent = -4;
constexpr int kMaxFixedExponent = kSignificantDigits - 1;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view StripBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Languages whose usual decimal separator is the comma (CLDR / glibc locale
// data); used only when the named locale is not installed.
bool LanguageUsesComma(std::string_view language, std::string_view territory) {
  static constexpr std::array<std::string_view, 51> kCommaLanguages = {
      "af", "az", "be", "bg", "bs", "ca", "cs", "da", "de", "el", "es", "et", "eu",
      "fi", "fo", "fr", "gl", "hr", "hu", "hy", "id", "is", "it", "ka", "kk", "ky",
      "lb", "lt", "lv", "mk", "mn", "nb", "nl", "nn", "no", "pl", "pt", "ro", "ru",
      "se", "sk", "sl", "sq", "sr", "sv", "tg", "tk", "tr", "tt", "uk", "uz"};
  // Territories where those languages write a point.
  static constexpr std::array<std::string_view, 12> kPointTerritories = {
      "de_CH", "de_LI", "it_CH", "es_MX", "es_US", "es_PR",
      "es_DO", "es_GT", "es_HN", "es_NI", "es_PA", "es_SV"};
  bool comma = false;
  for (std::string_view l : kCommaLanguages) comma = comma || (l == language);
  if (!comma) return false;
  for (std::string_view t : kPointTerritories) {
    if (t.substr(0, t.find('_')) == language && t.substr(t.find('_') + 1) == territory) {
      return false;
    }
  }
  return true;
}

// The locale name that governs LC_NUMERIC: LC_ALL, then LC_NUMERIC, then LANG,
// the first one set and non-empty.
std::string NumericLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

std::atomic<char>& SeparatorSlot() {
  // Initialised once, thread-safely, on first use.
  static std::atomic<char> separator{DecimalSeparatorForLocale(NumericLocaleName())};
  return separator;
}

// Digits of |value| rounded to kSignificantDigits significant digits (halves
// away from zero), trailing zeros removed, with the decimal exponent of the
// first digit. value must be finite and non-zero.
void RoundToSignificant(double value, std::string& digits, int& exponent) {
  // 766 digits after the point give the exact decimal expansion of any double
  // (at most 767 significant digits), so the rounding below sees true digits.
  std::array<char, 800> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                    std::chars_format::scientific, 766);
  const std::string_view text(buffer.data(), result.ptr - buffer.data());
  const std::size_t e = text.find('e');
  std::string_view exponentText = text.substr(e + 1);
  if (!exponentText.empty() && exponentText.front() == '+') exponentText.remove_prefix(1);
  exponent = 0;
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

  std::string all;  // every mantissa digit, without the point
  all.reserve(e);
  for (char c : text.substr(0, e)) {
    if (IsDigit(c)) all += c;
  }
  digits = all.substr(0, kSignificantDigits);
  if (all.size() > kSignificantDigits && all[kSignificantDigits] >= '5') {
    int i = kSignificantDigits - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {
      digits.insert(digits.begin(), '1');
      digits.pop_back();
      ++exponent;
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

}  // namespace

char DecimalSeparatorForLocale(std::string_view localeName) {
  if (localeName.empty() || localeName == "C" || localeName == "POSIX") return '.';
  const std::string name(localeName);
  if (locale_t locale = newlocale(LC_NUMERIC_MASK, name.c_str(), static_cast<locale_t>(0))) {
    const char* radix = nl_langinfo_l(RADIXCHAR, locale);
    const char separator = (radix != nullptr && std::strcmp(radix, ",") == 0) ? ',' : '.';
    freelocale(locale);
    return separator;
  }
  // language[_territory][.codeset][@modifier]
  const std::string_view base = localeName.substr(0, localeName.find_first_of(".@"));
  const std::size_t underscore = base.find('_');
  const std::string_view language = base.substr(0, underscore);
  const std::string_view territory =
      underscore == std::string_view::npos ? std::string_view() : base.substr(underscore + 1);
  return LanguageUsesComma(language, territory) ? ',' : '.';
}

char DecimalSeparator() { return SeparatorSlot().load(std::memory_order_relaxed); }

void SetDecimalSeparator(char separator) {
  if (separator == '.' || separator == ',') {
    SeparatorSlot().store(separator, std::memory_order_relaxed);
  }
}

std::string FormatFloat(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";

  std::string digits;
  int exponent = 0;
  RoundToSignificant(value, digits, exponent);
  const char separator = DecimalSeparator();

  std::string out;
  if (value < 0) out += '-';
  if (exponent < kMinFixedExponent || exponent > kMaxFixedExponent) {
    out += digits[0];
    if (digits.size() > 1) {
      out += separator;
      out.append(digits, 1);
    }
    out += 'E';
    out += std::to_string(exponent);
  } else if (exponent >= 0) {
    const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
      out += digits;
      out.append(integerDigits - digits.size(), '0');
    } else {
      out.append(digits, 0, integerDigits);
      out += separator;
      out.append(digits, integerDigits);
    }
  } else {
    out += '0';
    out += separator;
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
  }
  return out;
}

std::string FormatInt(long long value) {
  std::array<char, 24> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

bool ParseFloat(std::string_view text, double& value) {
  text = StripBlanks(text);
  // The text is checked against the grammar here and rewritten with a '.'
  // separator, so from_chars never sees "nan", "inf" or hexadecimal forms.
  std::string normal;
  normal.reserve(text.size());
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::size_t mantissaDigits = 0;
  bool nonZeroDigit = false;
  bool separatorSeen = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      ++mantissaDigits;
      nonZeroDigit = nonZeroDigit || c != '0';
      normal += c;
    } else if ((c == '.' || c == ',') && !separatorSeen) {
      separatorSeen = true;
      normal += '.';
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    normal += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal += text[i++];
    std::size_t exponentDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++exponentDigits) normal += text[i];
    if (exponentDigits == 0) return false;
  }
  if (i != text.size()) return false;

  double parsed = 0;
  const char* end = normal.data() + normal.size();
  const auto result = std::from_chars(normal.data(), end, parsed, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != end) return false;
  if (!std::isfinite(parsed) || (parsed == 0 && nonZeroDigit)) return false;
  value = negative ? -parsed : parsed;
  return true;
}

bool ParseInt(std::string_view text, int& value) {
  text = StripBlanks(text);
  std::size_t firstDigit = 0;
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);  // from_chars takes no '+'
  } else if (!text.empty() && text.front() == '-') {
    firstDigit = 1;
  }
  if (text.size() == firstDigit) return false;
  for (std::size_t i = firstDigit; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return false;
  }
  int parsed = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, parsed);
  if (result.ec != std::errc() || result.ptr != end) return false;
  value = parsed;
  return true;
}

void TrimBlanks(std::string& text) {
  const auto strip = [&text](char c) {
    const std::size_t first = text.find_first_not_of(c);
    text.erase(0, first == std::string::npos ? text.size() : first);
    const std::size_t last = text.find_last_not_of(c);
    text.erase(last == std::string::npos ? 0 : last + 1);
  };
  // tabs first, then blanks, as the size fields have always been read
  strip('\t');
  strip(' ');
  if (text.empty()) text = "0";
}

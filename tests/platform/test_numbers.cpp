// Locale-format number text: the general float format with 15 significant
// digits, strict parsing, and the choice of the decimal separator.
#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "platform/text/numbers.h"

namespace {

// Keeps the process-wide separator as it was before each test.
class NumbersTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = DecimalSeparator(); }
  void TearDown() override { SetDecimalSeparator(saved_); }

  // text with every '.' replaced by ','
  static std::string Comma(std::string text) {
    for (char& c : text) {
      if (c == '.') c = ',';
    }
    return text;
  }

 private:
  char saved_ = '.';
};

TEST_F(NumbersTest, GeneralFormatWithFifteenDigits) {
  SetDecimalSeparator('.');
  EXPECT_EQ(FormatFloat(55.5709618149878), "55.5709618149878");
  EXPECT_EQ(FormatFloat(3.0), "3");
  EXPECT_EQ(FormatFloat(0.5), "0.5");
  EXPECT_EQ(FormatFloat(-12.25), "-12.25");
  EXPECT_EQ(FormatFloat(360.0), "360");
  EXPECT_EQ(FormatFloat(0.1), "0.1");
  EXPECT_EQ(FormatFloat(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(FormatFloat(2.0 / 3.0), "0.666666666666667");
  EXPECT_EQ(FormatFloat(0.0), "0");
  EXPECT_EQ(FormatFloat(-0.0), "0");
  // Published examples of the classic general format.
  EXPECT_EQ(FormatFloat(1234567890.123456789), "1234567890.12346");
  EXPECT_EQ(FormatFloat(1234567890123456.123), "1.23456789012346E15");
  EXPECT_EQ(FormatFloat(1e100), "1E100");
  EXPECT_EQ(FormatFloat(0.0000442615029219009), "4.42615029219009E-5");
  EXPECT_EQ(FormatFloat(0.000442615029219009), "0.000442615029219009");
}

TEST_F(NumbersTest, ExponentFormBoundaries) {
  SetDecimalSeparator('.');
  EXPECT_EQ(FormatFloat(1e-5), "1E-5");
  EXPECT_EQ(FormatFloat(0.0001), "0.0001");
  EXPECT_EQ(FormatFloat(0.00012), "0.00012");
  EXPECT_EQ(FormatFloat(-1.5e20), "-1.5E20");
  EXPECT_EQ(FormatFloat(1e15), "1E15");
  EXPECT_EQ(FormatFloat(999999999999999.0), "999999999999999");
  EXPECT_EQ(FormatFloat(123456789012345.0), "123456789012345");
  EXPECT_EQ(FormatFloat(2.5e-300), "2.5E-300");
  // Rounding to 15 digits carries into a new leading digit.
  EXPECT_EQ(FormatFloat(0.9999999999999999), "1");      // 0.99999999999999988898
  EXPECT_EQ(FormatFloat(999999999999999.875), "1E15");  // exactly representable
  EXPECT_EQ(FormatFloat(0.00009999999999999999), "0.0001");
  // An exact half at the 16th digit rounds away from zero.
  EXPECT_EQ(FormatFloat(1000000000000005.0), "1.00000000000001E15");
  EXPECT_EQ(FormatFloat(-1000000000000005.0), "-1.00000000000001E15");
}

TEST_F(NumbersTest, CommaSeparator) {
  SetDecimalSeparator(',');
  EXPECT_EQ(DecimalSeparator(), ',');
  EXPECT_EQ(FormatFloat(55.5709618149878), "55,5709618149878");
  EXPECT_EQ(FormatFloat(-1.5e20), "-1,5E20");
  EXPECT_EQ(FormatFloat(0.5), "0,5");
  EXPECT_EQ(FormatFloat(3.0), "3");
  SetDecimalSeparator(';');  // not a known separator: ignored
  EXPECT_EQ(DecimalSeparator(), ',');
}

TEST_F(NumbersTest, IntegerText) {
  EXPECT_EQ(FormatInt(0), "0");
  EXPECT_EQ(FormatInt(-2147483648LL), "-2147483648");
  EXPECT_EQ(FormatInt(16777215), "16777215");
  EXPECT_EQ(FormatInt(std::numeric_limits<long long>::max()), "9223372036854775807");
  const std::pair<const char*, int> good[] = {
      {"42", 42}, {" -17\t", -17}, {"+5", 5}, {"2147483647", 2147483647}, {"-2147483648", INT_MIN}};
  for (const auto& [text, expected] : good) {
    int value = 0;
    EXPECT_TRUE(ParseInt(text, value)) << text;
    EXPECT_EQ(value, expected) << text;
  }
  int value = 99;
  for (const char* bad : {"2147483648", "-2147483649", "1.0", "", " ", "abc", "0x10", "1e3", "12 3",
                          "- 5", "+-5", "-", "+", "５"}) {
    EXPECT_FALSE(ParseInt(bad, value)) << bad;
  }
  EXPECT_EQ(value, 99);
}

// Settings values read and written again come back byte for byte.
TEST_F(NumbersTest, SettingsValuesRoundTripByteIdentical) {
  // clang-format off
  const std::vector<std::string> texts = {
      "55.5709618149878", "37.6155600000001", "0.5", "1", "0", "-12.25", "2.5", "8", "1E-5",
      "-1.5E20", "0.0001", "360", "1.23456789012346E15", "0.333333333333333",
      "179.999999999999", "-0.000123456789012345", "6.02214076E23"};
  // clang-format on
  for (char separator : {'.', ','}) {
    SetDecimalSeparator(separator);
    for (const std::string& plain : texts) {
      const std::string text = separator == ',' ? Comma(plain) : plain;
      double value = 0;
      ASSERT_TRUE(ParseFloat(text, value)) << text;
      EXPECT_EQ(FormatFloat(value), text);
    }
  }
}

TEST_F(NumbersTest, ParseAcceptsEitherSeparatorAndSurroundingBlanks) {
  for (char separator : {'.', ','}) {
    SetDecimalSeparator(separator);
    const std::pair<const char*, double> good[] = {
        {"55.75", 55.75},    {"55,75", 55.75}, {"  -0,5\t", -0.5}, {"+3", 3.0},   {"1e-5", 1e-5},
        {"1.5E+20", 1.5e20}, {".5", 0.5},      {"5.", 5.0},        {"0e999", 0.0}};
    for (const auto& [text, expected] : good) {
      double value = 0;
      EXPECT_TRUE(ParseFloat(text, value)) << text;
      EXPECT_EQ(value, expected) << text;
    }
  }
}

TEST_F(NumbersTest, ParseRefusesAnythingButOneNumber) {
  double value = 7.0;
  for (const char* bad :
       {"1.2.3",  "1,2.3", "1,234.5", "",    "   ",  "abc",      "12abc", "1 2",  "1e999", "-1e999",
        "1e-999", "nan",   "NAN",     "inf", "-INF", "infinity", "0x1p3", "1e",   "e5",    "+",
        "-",      ".",     ",",       "--1", "+-1",  "1e+-5",    "1E5.5", "1,5 %"}) {
    EXPECT_FALSE(ParseFloat(bad, value)) << bad;
  }
  EXPECT_EQ(value, 7.0);
}

TEST_F(NumbersTest, SeparatorOfLocaleNames) {
  EXPECT_EQ(DecimalSeparatorForLocale(""), '.');
  EXPECT_EQ(DecimalSeparatorForLocale("C"), '.');
  EXPECT_EQ(DecimalSeparatorForLocale("POSIX"), '.');
  EXPECT_EQ(DecimalSeparatorForLocale("C.UTF-8"), '.');
  EXPECT_EQ(DecimalSeparatorForLocale("en_US.UTF-8"), '.');
  EXPECT_EQ(DecimalSeparatorForLocale("ru_RU.UTF-8"), ',');
  EXPECT_EQ(DecimalSeparatorForLocale("ru_RU.CP1251"), ',');
  EXPECT_EQ(DecimalSeparatorForLocale("uk_UA"), ',');
  EXPECT_EQ(DecimalSeparatorForLocale("de_DE@euro"), ',');
  EXPECT_EQ(DecimalSeparatorForLocale("de_CH.UTF-8"), '.');
  EXPECT_EQ(DecimalSeparatorForLocale("ja_JP.UTF-8"), '.');
}

}  // namespace

TEST(TrimBlanksTest, TabsGoFirstThenBlanksAndNothingLeftIsZero) {
  const std::pair<const char*, const char*> cases[] = {
      {"1000", "1000"},  {"\t 800 \t", "800"}, {" \t800\t ", "\t800\t"},
      {"\t\t 42", "42"}, {"  7  ", "7"},       {"", "0"},
      {" \t ", "\t"},    {"\t\t", "0"},        {"    ", "0"},
      {"\t  \t", "0"},   {"1 2", "1 2"}};
  for (const auto& [in, want] : cases) {
    std::string text = in;
    TrimBlanks(text);
    EXPECT_EQ(text, want) << "[" << in << "]";
  }
}

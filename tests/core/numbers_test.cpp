#include "core/numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "core/gbk_codec.h"

namespace numbers = penvox::numbers;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct FormatCase {
  double value;
  const char* text;
};

class FormatDouble : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatDouble, PrintsWholeNumbersPlainAndFractionsAsPercent13g) {
  EXPECT_EQ(numbers::format(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatDouble,
    ::testing::Values(
        // Whole numbers: plain decimal, no exponent, no ".0".
        FormatCase{0.0, "0"}, FormatCase{-0.0, "0"}, FormatCase{838.0, "838"}, FormatCase{-5.0, "-5"},
        FormatCase{1e15, "1000000000000000"}, FormatCase{1e20, "100000000000000000000"},
        FormatCase{-1e20, "-100000000000000000000"},
        FormatCase{9007199254740993.0, "9007199254740992"},  // nearest double
        FormatCase{123456789012345.0, "123456789012345"},
        // Fractions: exactly what printf("%.13g") prints in the C locale.
        FormatCase{0.1 + 0.2, "0.3"}, FormatCase{1.0 / 3, "0.3333333333333"},
        FormatCase{2.0 / 3, "0.6666666666667"}, FormatCase{1e-5 / 3, "3.333333333333e-06"},
        FormatCase{123456789012345.5, "1.234567890123e+14"}, FormatCase{0.5, "0.5"},
        FormatCase{-2.25, "-2.25"}, FormatCase{1.5e-10, "1.5e-10"}, FormatCase{0.0001, "0.0001"},
        FormatCase{0.00001234, "1.234e-05"}, FormatCase{1234567.125, "1234567.125"},
        FormatCase{5e-324, "4.940656458412e-324"},
        // Infinity and NaN as "%g" prints them.
        FormatCase{kInf, "inf"}, FormatCase{-kInf, "-inf"}, FormatCase{kNaN, "nan"}));

TEST(FormatDouble, WholeDoubleOfMaximumMagnitudeHasAllItsDigits) {
  const std::string text = numbers::format(std::numeric_limits<double>::max());
  EXPECT_EQ(text.size(), 309u);
  EXPECT_EQ(text.substr(0, 6), "179769");
  EXPECT_EQ(text.find_first_not_of("0123456789"), std::string::npos);
}

TEST(FormatDouble, FractionsAgreeWithPrintfOnRandomValues) {
  std::mt19937_64 random(13);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-300, 300);
  int compared = 0;
  for (int k = 0; k < 20000; ++k) {
    const double value = std::ldexp(mantissa(random), exponent(random));
    if (value == std::trunc(value)) continue;
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.13g", value);  // the test runs in the C locale
    ASSERT_EQ(numbers::format(value), expected) << value;
    ++compared;
  }
  EXPECT_GT(compared, 10000);
}

TEST(FormatInteger, PlainDecimal) {
  EXPECT_EQ(numbers::format(std::int64_t{0}), "0");
  EXPECT_EQ(numbers::format(std::int64_t{838}), "838");
  EXPECT_EQ(numbers::format(std::int64_t{-5}), "-5");
  EXPECT_EQ(numbers::format(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
  EXPECT_EQ(numbers::format(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(FoldFullWidth, FoldsFullWidthFormsAndIdeographicSpaceOnly) {
  // １２３．５ (A3B1 A3B2 A3B3 A3AE A3B5).
  EXPECT_EQ(numbers::foldFullWidth("\xA3\xB1\xA3\xB2\xA3\xB3\xA3\xAE\xA3\xB5"), "123.5");
  // Ａｚ！～＄ and the ideographic space; ～ (A1AB) and ＄ (A1E7) lie outside row A3.
  EXPECT_EQ(numbers::foldFullWidth(penvox::gbk::fromUtf16(u"Ａｚ！～＄　x")), "Az!~$ x");
  // Other characters keep their bytes: 中, ￥ (A3A4, U+FFE5) and ￣ (A3FE, U+FFE3).
  EXPECT_EQ(numbers::foldFullWidth("\xD6\xD0\xA3\xA4\xA3\xFE"), "\xD6\xD0\xA3\xA4\xA3\xFE");
  // A trail byte is never read as the start of a character: in "\xB0\xA3\xB1"
  // B0 A3 is 埃 and B1 a lone lead byte; the A3 B1 straddling them is no "１".
  EXPECT_EQ(numbers::foldFullWidth("\xB0\xA3\xB1"), "\xB0\xA3\xB1");
  // Four-byte sequences, invalid bytes and ASCII pass through untouched.
  const std::string fourByte = "\x95\x32\x82\x36";
  EXPECT_EQ(numbers::foldFullWidth(fourByte + "\xA3\xB1"), fourByte + "1");
  EXPECT_EQ(numbers::foldFullWidth("\xFF\x80" "abc\xA3"), "\xFF\x80" "abc\xA3");
  EXPECT_EQ(numbers::foldFullWidth(""), "");
}

struct NumberCase {
  const char* name;
  std::string text;
  double value;
};

class ToNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ToNumber, ReadsTheLeadingDecimalNumber) {
  const NumberCase& c = GetParam();
  const double value = numbers::toNumber(c.text);
  if (std::isinf(c.value)) {
    EXPECT_EQ(value, c.value);
  } else {
    EXPECT_DOUBLE_EQ(value, c.value);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ToNumber,
    ::testing::Values(
        NumberCase{"Empty", "", 0}, NumberCase{"Integer", "838", 838}, NumberCase{"Negative", "-5", -5},
        NumberCase{"Plus", "+7", 7}, NumberCase{"Fraction", "3.25", 3.25}, NumberCase{"LeadingDot", ".5", 0.5},
        NumberCase{"TrailingDot", "5.", 5}, NumberCase{"NegativeDot", "-.5", -0.5},
        NumberCase{"Exponent", "1.5e3", 1500}, NumberCase{"UpperExponent", "2E-2", 0.02},
        NumberCase{"ExponentPlus", "1e+2", 100}, NumberCase{"ExponentWithoutDigits", "1e", 1},
        NumberCase{"ExponentSignOnly", "1e+", 1}, NumberCase{"ExponentThenLetters", "3ex", 3},
        NumberCase{"DotExponent", "5.e1", 50}, NumberCase{"SignOnly", "-", 0}, NumberCase{"DotOnly", ".", 0},
        NumberCase{"SignDot", "+.", 0}, NumberCase{"Letters", "abc", 0}, NumberCase{"Hex", "0x10", 0},
        NumberCase{"InfWord", "inf", 0}, NumberCase{"NanWord", "nan", 0}, NumberCase{"Infinity", "-infinity", 0},
        NumberCase{"LeadingBlanks", " \t\r\n\v\f42", 42}, NumberCase{"TrailingLetters", "  12abc", 12},
        NumberCase{"TwoDots", "1.2.3", 1.2}, NumberCase{"Comma", "1,5", 1}, NumberCase{"SpaceAfterSign", "- 5", 0},
        NumberCase{"LeadingZeros", "007", 7}, NumberCase{"Overflow", "1e400", kInf},
        NumberCase{"NegativeOverflow", "-1e400", -kInf}, NumberCase{"LongOverflow", std::string(400, '9'), kInf},
        NumberCase{"Underflow", "1e-400", 0}, NumberCase{"TinyDigits", "0." + std::string(400, '0') + "1", 0},
        NumberCase{"Subnormal", "1e-310", 1e-310}, NumberCase{"HugeExponent", "1e99999999999999999999", kInf},
        NumberCase{"ZeroHugeExponent", "0e99999", 0},
        NumberCase{"FullWidth", "\xA3\xB1\xA3\xB2\xA3\xB3\xA3\xAE\xA3\xB5", 123.5},
        NumberCase{"FullWidthMinus", "\xA3\xAD\xA3\xB5", -5},
        NumberCase{"IdeographicSpace", "\xA1\xA1\xA3\xB7", 7},
        NumberCase{"ChineseAfter", "12\xD4\xAA", 12},  // 12元
        NumberCase{"ChineseBefore", "\xD4\xAA" "12", 0}));

TEST(ToNumber, SignOfZeroFollowsTheText) {
  EXPECT_TRUE(std::signbit(numbers::toNumber("-0")));
  EXPECT_FALSE(std::signbit(numbers::toNumber("0")));
  EXPECT_FALSE(std::signbit(numbers::toNumber("-")));
}

TEST(ToNumber, AgreesWithStrtodOnNumbers) {
  const char* texts[] = {"0.1", "3.14159265358979323846", "6.02214076e23", "-1.7976931348623157e308",
                         "2.2250738585072014e-308", "4.9e-324", "123456789012345678901234567890",
                         "0.000001", "1e22", "9007199254740993"};
  for (const char* text : texts) EXPECT_EQ(numbers::toNumber(text), std::strtod(text, nullptr)) << text;
}

TEST(ToInteger, TruncatesTowardZeroAndClamps) {
  EXPECT_EQ(numbers::toInteger("42"), 42);
  EXPECT_EQ(numbers::toInteger("3.9"), 3);
  EXPECT_EQ(numbers::toInteger("-3.9"), -3);
  EXPECT_EQ(numbers::toInteger("  -0.5"), 0);
  EXPECT_EQ(numbers::toInteger("abc"), 0);
  EXPECT_EQ(numbers::toInteger(""), 0);
  EXPECT_EQ(numbers::toInteger("\xA3\xB1\xA3\xB2"), 12);
  EXPECT_EQ(numbers::toInteger("1e3"), 1000);
  EXPECT_EQ(numbers::toInteger("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(numbers::toInteger("1e19"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(numbers::toInteger("1e400"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(numbers::toInteger("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(numbers::toInteger("-1e400"), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(numbers::toInteger("9007199254740993"), 9007199254740992);  // through a double
}

// Qt sets the process locale from the environment; a German locale writes
// and reads "1,5". The conversions must not notice.
TEST(Numbers, IndependentOfTheProcessLocale) {
  const char* current = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = current ? current : "C";
  const char* german = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"}) {
    if ((german = std::setlocale(LC_NUMERIC, name)) != nullptr) break;
  }
  if (german == nullptr || std::strcmp(std::localeconv()->decimal_point, ",") != 0) {
    std::setlocale(LC_NUMERIC, saved.c_str());
    GTEST_SKIP() << "no locale with a decimal comma is installed (e.g. localedef -i de_DE -f UTF-8 de_DE.UTF-8)";
  }
  const std::string half = numbers::format(0.5);
  const std::string third = numbers::format(1.0 / 3);
  const std::string tiny = numbers::format(1e-5 / 3);
  const double parsed = numbers::toNumber("1.5");
  const double comma = numbers::toNumber("1,5");
  const double fullWidth = numbers::toNumber("\xA3\xB1\xA3\xB2\xA3\xB3\xA3\xAE\xA3\xB5");
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(half, "0.5");
  EXPECT_EQ(third, "0.3333333333333");
  EXPECT_EQ(tiny, "3.333333333333e-06");
  EXPECT_EQ(parsed, 1.5);
  EXPECT_EQ(comma, 1.0);
  EXPECT_EQ(fullWidth, 123.5);
}

}  // namespace

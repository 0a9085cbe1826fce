#include "core/arithmetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/gbk_codec.h"

namespace penvox::arithmetic {
namespace {

struct Case {
    const char* expression;  // UTF-8, converted to the program's GBK bytes
    const char* result;      // what the editor receives; empty for a failure
};

class Calculate : public ::testing::TestWithParam<Case> {};

TEST_P(Calculate, GivesTheTextJavaScriptWould)
{
    EXPECT_EQ(calculate(gbk::fromUtf8(GetParam().expression)), GetParam().result) << GetParam().expression;
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, Calculate,
    ::testing::Values(
        Case{"(1234+5678)*90/100", "6220.8"}, Case{"2*3", "6"}, Case{"0.1+0.2", "0.30000000000000004"},
        Case{"7-10", "-3"}, Case{"1-2-3", "-4"}, Case{"2+3*4", "14"}, Case{"(2+3)*4", "20"},
        Case{"100/8/5", "2.5"}, Case{"1/3", "0.3333333333333333"}, Case{"2*3%4", "2"},
        // Remainder takes the dividend's sign and keeps fractions.
        Case{"5%3", "2"}, Case{"-5%3", "-2"}, Case{"5%-3", "2"}, Case{"5.5%2", "1.5"},
        Case{"5%0", "NaN"}, Case{"5%(1/0)", "5"},
        // Infinity, NaN and the sign of zero.
        Case{"1/0", "Infinity"}, Case{"-1/0", "-Infinity"}, Case{"0/0", "NaN"}, Case{"1/-0", "-Infinity"},
        Case{"-0", "0"}, Case{"0*-1", "0"}, Case{"1e308*10", "Infinity"}));

INSTANTIATE_TEST_SUITE_P(
    SignsAndParentheses, Calculate,
    ::testing::Values(Case{"-(2)", "-2"}, Case{"+-+2", "-2"}, Case{"- -2", "2"}, Case{"1- -2", "3"},
                      Case{"1-+2", "-1"}, Case{"2*-3", "-6"}, Case{"-2*-3", "6"}, Case{"((((1))))", "1"},
                      Case{"-(-(3))", "3"},
                      // "++" and "--" are increment and decrement, never two signs.
                      Case{"--2", ""}, Case{"++2", ""}, Case{"1--2", ""}, Case{"1++2", ""}, Case{"1+++2", ""},
                      Case{"(1", ""}, Case{"1)", ""}, Case{"()", ""}, Case{"(1)(2)", ""}));

INSTANTIATE_TEST_SUITE_P(
    Literals, Calculate,
    ::testing::Values(Case{"2e3", "2000"}, Case{"2E3", "2000"}, Case{"2.5e-3", "0.0025"}, Case{"1e+2", "100"},
                      Case{".5", "0.5"}, Case{"5.", "5"}, Case{"5.*2", "10"}, Case{"1.e2", "100"},
                      Case{"1e21", "1e+21"}, Case{"1e400", "Infinity"}, Case{"1e-400", "0"},
                      Case{"5e-324", "5e-324"}, Case{"09", "9"}, Case{"09.5", "9.5"}, Case{"0.5", "0.5"},
                      Case{"0", "0"},
                      // Octal, hexadecimal, separators and malformed numbers.
                      Case{"012", ""}, Case{"00", ""}, Case{"0x10", ""}, Case{"1_000", ""}, Case{"1e", ""},
                      Case{"1e+", ""}, Case{"1.2.3", ""}, Case{"1..2", ""}, Case{".", ""}, Case{"3in", ""},
                      Case{"2 3", ""}));

INSTANTIATE_TEST_SUITE_P(
    BlanksAndStatements, Calculate,
    ::testing::Values(Case{" \t1 +\r\n2 ", "3"}, Case{"\xE3\x80\x80" "1\xE3\x80\x80+\xC2\xA0" "2", "3"},
                      Case{"2*3;", "6"}, Case{"2*3 ; ;", "6"}, Case{"1;2", "2"},
                      // A new line ends a statement only where the expression cannot go on.
                      Case{"2*3\r\n4*5", "20"}, Case{"1\r\n-2", "-1"}, Case{"1\r\n(2)", ""},
                      Case{"", ""}, Case{"   ", ""}, Case{";", ""}, Case{"\r\n", ""}));

INSTANTIATE_TEST_SUITE_P(
    NotArithmetic, Calculate,
    ::testing::Values(Case{"2**3", ""}, Case{"abc", ""}, Case{"1+", ""}, Case{"*2", ""}, Case{"alert(1)", ""},
                      Case{"Math.PI", ""}, Case{"Infinity", ""}, Case{"NaN", ""}, Case{"1<<2", ""},
                      Case{"1&1", ""}, Case{"x=1", ""}, Case{"2*3=", ""}, Case{"\"1\"+1", ""},
                      Case{"1//2", ""}, Case{"1/*c*/", ""}, Case{"（1+2）", ""}, Case{"１+２", ""},
                      Case{"1+2元", ""}, Case{"{1}", ""}));

TEST(Calculate, RefusesDeepNestingWithoutExhaustingTheStack)
{
    const std::string deep(10000, '(');
    EXPECT_EQ(evaluate(deep + "1" + std::string(10000, ')')), std::nullopt);
    EXPECT_EQ(evaluate(deep), std::nullopt);
    // 256 levels are still fine, one more is not.
    EXPECT_EQ(calculate(std::string(256, '(') + "7" + std::string(256, ')')), "7");
    EXPECT_EQ(evaluate(std::string(257, '(') + "7" + std::string(257, ')')), std::nullopt);
    // A long run of signs is no nesting at all.
    std::string signs;
    for (int i = 0; i < 100000; ++i)
        signs += "- ";
    EXPECT_EQ(calculate(signs + "4"), "4");
    EXPECT_EQ(calculate("- " + signs + "4"), "-4");
    EXPECT_EQ(calculate("-" + signs + "4"), "");  // starts with "--"
}

TEST(Calculate, ReadsLiteralsOfAnyLengthExactly)
{
    // 100000 digits that stand for 1, whichever way the point is written.
    const std::string zeros(99999, '0');
    EXPECT_EQ(calculate("1" + zeros + "e-99999"), "1");
    EXPECT_EQ(calculate("0." + zeros + "1e100000"), "1");
    EXPECT_EQ(calculate(zeros + "42"), "");  // a leading zero before digits is octal
    EXPECT_EQ(calculate("0." + zeros + "42"), "0");
    EXPECT_EQ(calculate("1" + zeros), "Infinity");
    EXPECT_EQ(calculate("1" + zeros + "e-100300"), "1e-301");
    // Digits far behind the first ones still decide the rounding: 1 + 2^-53
    // lies halfway between two doubles and rounds to even (1); anything past
    // it rounds up, however far back the difference.
    const std::string tie = "1.00000000000000011102230246251565404236316680908203125";
    EXPECT_EQ(calculate(tie), "1");
    EXPECT_EQ(calculate(tie + zeros), "1");
    EXPECT_EQ(calculate(tie + zeros + "1"), "1.0000000000000002");
    EXPECT_EQ(calculate("-" + tie + zeros + "1"), "-1.0000000000000002");
}

TEST(Calculate, RefusesTextsOverOneMebibyte)
{
    // 524288 ones joined by "+" and a blank: exactly at the limit.
    std::string sum = "1";
    for (int i = 1; i < 524288; ++i)
        sum += "+1";
    sum += " ";
    ASSERT_EQ(sum.size(), std::size_t{1} << 20);
    EXPECT_EQ(calculate(sum), "524288");
    sum += " ";
    EXPECT_EQ(evaluate(sum), std::nullopt);
}

struct FormatCase {
    double value;
    const char* text;
};

class FormatNumber : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumber, PrintsAsJavaScriptDoes)
{
    EXPECT_EQ(formatNumber(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatNumber,
    ::testing::Values(
        FormatCase{0.0, "0"}, FormatCase{-0.0, "0"}, FormatCase{1.0, "1"}, FormatCase{-42.0, "-42"},
        FormatCase{6220.8, "6220.8"}, FormatCase{0.1 + 0.2, "0.30000000000000004"}, FormatCase{-2.5, "-2.5"},
        FormatCase{123456789012.5, "123456789012.5"}, FormatCase{1e20, "100000000000000000000"},
        FormatCase{123e18, "123000000000000000000"}, FormatCase{123e20, "1.23e+22"}, FormatCase{1e21, "1e+21"},
        FormatCase{1.5e21, "1.5e+21"}, FormatCase{-1e21, "-1e+21"}, FormatCase{0.000001, "0.000001"},
        FormatCase{0.0000015, "0.0000015"}, FormatCase{1e-7, "1e-7"}, FormatCase{1.25e-7, "1.25e-7"},
        FormatCase{9007199254740993.0, "9007199254740992"},
        FormatCase{std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
        FormatCase{std::numeric_limits<double>::denorm_min(), "5e-324"},
        FormatCase{std::numeric_limits<double>::infinity(), "Infinity"},
        FormatCase{-std::numeric_limits<double>::infinity(), "-Infinity"},
        FormatCase{std::numeric_limits<double>::quiet_NaN(), "NaN"},
        FormatCase{-std::numeric_limits<double>::quiet_NaN(), "NaN"}));

TEST(FormatNumber, ReadsBackAsTheSameDouble)
{
    // Every printed value goes back through the evaluator unchanged.
    for (const double value : {0.1, 1.0 / 3, 2.0 / 3, 1e-5 / 3, 123456.789e10, 6.02214076e23, 1e-300, 4.35e-7}) {
        const std::optional<double> back = evaluate(formatNumber(value));
        ASSERT_TRUE(back.has_value()) << formatNumber(value);
        EXPECT_EQ(*back, value) << formatNumber(value);
    }
}

}  // namespace
}  // namespace penvox::arithmetic

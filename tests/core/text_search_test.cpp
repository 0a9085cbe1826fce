#include "core/text_search.h"

#include <gtest/gtest.h>

#include <string>

#include "core/gbk_codec.h"

namespace penvox::search {
namespace {

std::string gbkOf(const char* utf8) { return gbk::fromUtf8(utf8); }

TEST(Find, WalksDownThenUpThroughRepeatedWords)
{
    const std::string text = "ab ab";
    // Downward: each search starts behind the current selection.
    EXPECT_EQ(findDown(text, 0, "ab", true), 0u);
    EXPECT_EQ(findDown(text, 0 + 2, "ab", true), 3u);
    EXPECT_EQ(findDown(text, 3 + 2, "ab", true), std::nullopt);
    // Upward: each search looks for a match ending at or before the selection start.
    EXPECT_EQ(findUp(text, 5, "ab", true), 3u);
    EXPECT_EQ(findUp(text, 3, "ab", true), 0u);
    EXPECT_EQ(findUp(text, 0, "ab", true), std::nullopt);
    // A match that only begins before the start is no upward match.
    EXPECT_EQ(findUp(text, 4, "ab", true), 0u);
    // Positions past the end: nothing downward, the whole text upward.
    EXPECT_EQ(findDown(text, 99, "ab", true), std::nullopt);
    EXPECT_EQ(findUp(text, 99, "ab", true), 3u);
}

TEST(Find, IgnoresCaseOfAsciiLettersOnlyWhenAsked)
{
    EXPECT_EQ(findDown("xx ab", 0, "AB", false), 3u);
    EXPECT_EQ(findDown("xx ab", 0, "AB", true), std::nullopt);
    EXPECT_EQ(findUp("Ab aB", 5, "ab", false), 3u);
    EXPECT_EQ(findUp("Ab aB", 5, "ab", true), std::nullopt);
    EXPECT_EQ(findDown("x[Z]", 0, "[z]", false), 1u);
    // '@' and '`' sit next to the letters but are not letters.
    EXPECT_EQ(findDown("@", 0, "`", false), std::nullopt);
    EXPECT_EQ(findDown("[", 0, "{", false), std::nullopt);
}

TEST(Find, NeverMatchesAcrossOrInsideACharacter)
{
    // 啊啊 is B0 A1 B0 A1: the bytes A1 B0 in its middle straddle two characters.
    const std::string twoChars = "\xB0\xA1\xB0\xA1";
    EXPECT_EQ(findDown(twoChars, 0, "\xA1\xB0", true), std::nullopt);
    EXPECT_EQ(findUp(twoChars, 4, "\xA1\xB0", true), std::nullopt);
    EXPECT_EQ(findDown(twoChars, 0, "\xB0\xA1", true), 0u);
    EXPECT_EQ(findDown(twoChars, 1, "\xB0\xA1", true), 2u);
    EXPECT_EQ(replaceAll(twoChars, "\xA1\xB0", "x", true), twoChars);

    // A double-byte character whose second byte is an ASCII letter: "\x81\x41"
    // and "\x81\x61" are different characters, even without match case,
    // and the 'A' inside the first is no letter to be found.
    EXPECT_EQ(findDown("\x81\x41", 0, "\x81\x61", false), std::nullopt);
    EXPECT_EQ(findDown("\x81\x41", 0, "A", false), std::nullopt);
    EXPECT_EQ(findDown("\x81\x41", 0, "a", false), std::nullopt);
    EXPECT_EQ(findDown("\x81\x41" "A", 0, "a", false), 2u);

    // A GB18030 four-byte character (𠀀, 95 32 82 36) is one character too.
    const std::string rare = gbkOf("𠀀") + "2";
    ASSERT_EQ(rare, "\x95\x32\x82\x36" "2");
    EXPECT_EQ(findDown(rare, 0, "2", true), 4u);
    EXPECT_EQ(findUp(rare, 5, "2", true), 4u);
    EXPECT_EQ(findDown(rare, 0, "\x82\x36", true), std::nullopt);
    // The euro sign, byte 0x80, is a single-byte character.
    EXPECT_EQ(findDown("\x80" "a", 0, "a", true), 1u);

    // A needle that would end inside a character is not found either.
    EXPECT_EQ(findDown(twoChars, 0, "\xB0", true), std::nullopt);
}

TEST(Find, EmptyOrTooLongNeedleFindsNothing)
{
    EXPECT_EQ(findDown("abc", 0, "", true), std::nullopt);
    EXPECT_EQ(findUp("abc", 3, "", true), std::nullopt);
    EXPECT_EQ(findDown("ab", 0, "abc", true), std::nullopt);
    EXPECT_EQ(findUp("ab", 2, "abc", false), std::nullopt);
    EXPECT_EQ(findDown("", 0, "a", false), std::nullopt);
}

TEST(Find, ChineseWordsInMixedText)
{
    const std::string text = gbkOf("春眠不觉晓，处处闻啼鸟。夜来风雨声，花落知多少。Spring 春");
    const std::string spring = gbkOf("春");
    EXPECT_EQ(findDown(text, 0, spring, true), 0u);
    const std::size_t last = text.size() - 2;
    EXPECT_EQ(findDown(text, 1, spring, true), last);
    EXPECT_EQ(findUp(text, text.size(), spring, true), last);
    EXPECT_EQ(findUp(text, last + 1, spring, true), 0u);
    EXPECT_EQ(findDown(text, 0, "SPRING", false), text.find("Spring"));
}

struct ReplaceCase {
    const char* text;
    const char* needle;
    const char* replacement;
    bool matchCase;
    const char* result;
};

class ReplaceAll : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAll, ReplacesEveryMatchFromTheStart)
{
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(gbk::toUtf8(replaceAll(gbkOf(c.text), gbkOf(c.needle), gbkOf(c.replacement), c.matchCase)), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplaceAll,
    ::testing::Values(ReplaceCase{"ab AB aB", "ab", "x", false, "x x x"},
                      ReplaceCase{"ab AB aB", "ab", "x", true, "x AB aB"},
                      ReplaceCase{"aaa", "aa", "b", true, "ba"},                // scanning goes on behind a match
                      ReplaceCase{"aaa", "a", "aa", true, "aaaaaa"},            // the result is not searched again
                      ReplaceCase{"猫和狗和猫", "猫", "鱼", true, "鱼和狗和鱼"},
                      ReplaceCase{"第1章\r\n第2章", "\r\n", "", true, "第1章第2章"},
                      ReplaceCase{"abc", "", "x", false, "abc"},                // empty needle: unchanged
                      ReplaceCase{"abc", "b", "", false, "ac"},
                      ReplaceCase{"", "a", "b", false, ""},
                      ReplaceCase{"no match", "xyz", "q", false, "no match"}));

}  // namespace
}  // namespace penvox::search

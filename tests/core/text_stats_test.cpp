#include "core/text_stats.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/gbk_codec.h"
#include "core/matcher.h"

namespace {

namespace stats = penvox::stats;
namespace gbk = penvox::gbk;
using stats::Counts;

// The program's form of an editor text: each '\n' a CR LF break, GBK bytes.
std::string programForm(std::u16string_view editorText) {
  std::u16string withBreaks;
  for (const char16_t c : editorText) {
    if (c == u'\n') withBreaks += u'\r';
    withBreaks += c;
  }
  return gbk::fromUtf16(withBreaks);
}

std::string describe(const Counts& c) {
  return "symbols " + std::to_string(c.symbols) + ", chinese " + std::to_string(c.chinese) + ", current " +
         std::to_string(c.current) + ", english " + std::to_string(c.english) + ", digits " +
         std::to_string(c.digits) + ", paragraphs " + std::to_string(c.paragraphs);
}

struct CountCase {
  const char* what;
  std::u16string editorText;
  Counts expected;  // symbols, chinese, current, english, digits, paragraphs
};

class CountTable : public ::testing::TestWithParam<CountCase> {};

TEST_P(CountTable, OnePassAndMatcherDefinitionGiveTheExpectedFigures) {
  const CountCase& c = GetParam();
  EXPECT_EQ(stats::count(c.editorText), c.expected)
      << c.what << ": " << describe(stats::count(c.editorText)) << " vs " << describe(c.expected);
  EXPECT_EQ(stats::countByMatcher(programForm(c.editorText)), c.expected)
      << c.what << ": " << describe(stats::countByMatcher(programForm(c.editorText)));
}

INSTANTIATE_TEST_SUITE_P(
    Table, CountTable,
    ::testing::Values(
        // 你好， world ! CR LF: comma 2 bytes, '!', CR, LF one each.
        CountCase{"the example", u"你好，world!\n", {2, 3, 6, 5, 0, 1}},
        CountCase{"empty", u"", {0, 0, 0, 0, 0, 0}},
        CountCase{"three letters weigh one and a half", u"abc", {0, 0, 1, 3, 0, 1}},
        CountCase{"upper case is not a symbol", u"ABCdef", {0, 0, 3, 6, 0, 1}},
        CountCase{"full-width letters and digits are symbols", u"ＡＢ１２", {4, 4, 4, 0, 0, 1}},
        CountCase{"digits", u"2024年", {0, 1, 3, 0, 4, 1}},
        CountCase{"tabs are symbols and half a Chinese character", u"\t\t", {1, 1, 1, 0, 0, 1}},
        CountCase{"spaces are symbols, not counted", u"a b c", {1, 0, 1, 3, 0, 1}},
        CountCase{"ideographic space is Chinese", u"甲　乙", {1, 3, 3, 0, 0, 1}},
        CountCase{"two paragraphs", u"a\nb", {1, 0, 1, 2, 0, 2}},
        CountCase{"a break at the end ends the paragraph", u"a\n", {1, 0, 0, 1, 0, 1}},
        CountCase{"empty lines", u"\n\n\n", {3, 0, 0, 0, 0, 3}},
        CountCase{"a lone CR stays in the stripped text", u"\r\n", {1, 0, 0, 0, 0, 1}},
        CountCase{"beyond GBK: four bytes", u"😀𠀀", {4, 4, 4, 0, 0, 1}},
        CountCase{"euro sign is one byte", u"€€", {1, 1, 1, 0, 0, 1}},
        CountCase{"Kelvin sign and long s fold onto ASCII letters", u"\u212A\u017F", {0, 0, 4, 0, 0, 1}},
        CountCase{"ideograph range edges", u"\u4DFF\u4E00\u9FA5\u9FA6", {4, 6, 6, 0, 0, 1}},
        CountCase{"unpaired surrogates are stored as '?'", u"\xDC00\xD800" u"a", {1, 0, 1, 1, 0, 1}},
        CountCase{"a surrogate pair is one character", u"\xD800\xDC00\xDFFF", {2, 2, 2, 0, 0, 1}}));

// One character after the other, for every code unit: what the one-pass count
// makes of it agrees with the patterns run by the matcher over a text holding
// every character at once. Two copies of each character make every width show
// after halving.
TEST(TextStats, EveryBmpCharacterAgreesWithTheMatcherPatterns) {
  std::u16string all;
  for (char32_t c = 0; c < 0x10000; ++c)
    if (c != u'\n' && c != u' ' && (c < 0xD800 || c > 0xDFFF)) all += static_cast<char16_t>(c);
  const std::string gbkAll = gbk::fromUtf16(all);
  penvox::MatchOptions caseSensitive;
  caseSensitive.caseSensitive = true;
  auto matched = [&](const char* pattern, const penvox::MatchOptions& options) {
    const std::u16string hits = gbk::toUtf16(penvox::collectMatches(pattern, gbkAll, options));
    return std::set<char16_t>(hits.begin(), hits.end());
  };
  const std::set<char16_t> symbols = matched("[^0-9a-z\\u4e00-\\u9fa5]", {});
  const std::set<char16_t> chinese = matched("[^\\x20-\\x7f]", {});
  const std::set<char16_t> english = matched("[a-zA-Z]", caseSensitive);
  const std::set<char16_t> digits = matched("[0-9]", {});
  // Sanity of the sets themselves.
  EXPECT_EQ(english.size(), 52u);
  EXPECT_EQ(digits.size(), 10u);
  EXPECT_GT(symbols.size(), 40000u);

  int mismatches = 0;
  for (const char16_t c : all) {
    const std::string bytes = gbk::fromUtf16(std::u16string(1, c));
    // A code point the program cannot store becomes '?': the matcher sees '?'.
    const std::u16string stored = gbk::toUtf16(bytes);
    ASSERT_EQ(stored.size(), 1u) << std::hex << int(c);
    const char16_t seen = stored[0];
    const long long width = static_cast<long long>(bytes.size());
    Counts expected;
    expected.symbols = symbols.count(seen) ? width : 0;
    expected.chinese = chinese.count(seen) ? width : 0;
    expected.current = width;
    expected.english = english.count(seen) ? 2 : 0;
    expected.digits = digits.count(seen) ? 2 : 0;
    expected.paragraphs = 1;
    const Counts got = stats::count(std::u16string(2, c));
    if (got != expected && ++mismatches <= 10)
      ADD_FAILURE() << "U+" << std::hex << int(c) << ": " << describe(got) << " vs " << describe(expected);
    if (stats::milestoneCount(std::u16string(2, c)) != width && ++mismatches <= 10)
      ADD_FAILURE() << "milestone of U+" << std::hex << int(c);
  }
  EXPECT_EQ(mismatches, 0);
}

// Random texts of every kind of character the editor may hold: the one-pass
// count on the editor's text equals the matcher definition on the program's.
TEST(TextStats, OnePassCountEqualsMatcherDefinitionOnRandomTexts) {
  const std::vector<std::u16string> pieces = {
      u"a", u"Z", u"q", u"K", u"s", u"0", u"9", u"!", u"#", u"~", u"\x7F", u"?", u" ", u"  ", u"\t", u"\n",
      u"\n\n", u"\r", u"\r\n", u" \n", u"\x01", u"你", u"好", u"\u4E00", u"\u9FA5", u"\u9FA6", u"\u4DFF",
      u"\u3400", u"，", u"。", u"“", u"”", u"、", u"《", u"》", u"　", u"Ａ", u"ｚ", u"０", u"！", u"～",
      u"😀", u"𠀀", u"\U0010FFFD", u"€", u"é", u"À", u"ß", u"ÿ", u"\u212A", u"\u017F", u"\u0130", u"\u0131",
      u"Σ", u"σ", u"ς", u"\u0080", u"\u00A0", u"\u2028", u"\uFFFD", u"\uE000", u"\uE78D", u"\uE864",
      u"\xD800", u"\xDC00", u"①", u"℃", u"ǹ"};
  std::mt19937 random(20240613);
  for (int round = 0; round < 4000; ++round) {
    std::u16string text;
    const std::size_t length = random() % 120;
    while (text.size() < length) {
      // Mostly Chinese prose with ASCII words, as writers type.
      const std::uint32_t r = random() % 10;
      if (r < 4)
        text += static_cast<char16_t>(0x4E00 + random() % (0x9FA5 - 0x4E00 + 1));
      else if (r < 5)
        text += static_cast<char16_t>(0x20 + random() % 0x60);
      else
        text += pieces[random() % pieces.size()];
    }
    const std::string program = programForm(text);
    ASSERT_EQ(stats::count(text), stats::countByMatcher(program))
        << "round " << round << ": " << describe(stats::count(text)) << " vs "
        << describe(stats::countByMatcher(program)) << " for " << gbk::toUtf8(program);
    ASSERT_EQ(stats::milestoneCount(text), stats::milestoneCountOf(program)) << "round " << round;
  }
}

TEST(TextStats, LongTextsAgreeToo) {
  // Crosses the one-pass count's internal blocks many times, with surrogate
  // pairs straddling their edges.
  std::u16string text;
  for (int i = 0; i < 20000; ++i) {
    text += i % 7 == 0 ? u"😀" : u"字";
    if (i % 61 == 0) text += u"\n";
    if (i % 13 == 0) text += u"word 12，";
  }
  EXPECT_EQ(stats::count(text), stats::countByMatcher(programForm(text)));
  EXPECT_EQ(stats::milestoneCount(text), stats::milestoneCountOf(programForm(text)));
}

struct MilestoneCase {
  const char* what;
  std::u16string editorText;
  long long current;
  long long milestone;
};

std::u16string ideographs(std::size_t n) { return std::u16string(n, u'字'); }

class Milestones : public ::testing::TestWithParam<MilestoneCase> {};

TEST_P(Milestones, BreaksCountAndSpacesDoNot) {
  const MilestoneCase& c = GetParam();
  EXPECT_EQ(stats::count(c.editorText).current, c.current) << c.what;
  EXPECT_EQ(stats::milestoneCount(c.editorText), c.milestone) << c.what;
  EXPECT_EQ(stats::milestoneCountOf(programForm(c.editorText)), c.milestone) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Milestones,
    ::testing::Values(
        MilestoneCase{"999 on three lines", ideographs(333) + u"\n" + ideographs(333) + u"\n" + ideographs(333), 999,
                      1001},
        MilestoneCase{"exactly 1000", ideographs(1000), 1000, 1000},
        MilestoneCase{"1001", ideographs(1001), 1001, 1001},
        MilestoneCase{"spaces do not count", ideographs(500) + u"    " + ideographs(500), 1000, 1000},
        MilestoneCase{"ASCII weighs half", std::u16string(2001, u'a'), 1000, 1000},
        MilestoneCase{"2001", ideographs(2001), 2001, 2001},
        MilestoneCase{"one break adds one", u"字\n", 1, 2},
        MilestoneCase{"empty", u"", 0, 0}));

TEST(TextStats, MilestoneCountOfRawGbkText) {
  // Spaces removed, breaks kept as they are in the program's text.
  EXPECT_EQ(stats::milestoneCountOf(gbk::fromUtf8("一二 三\r\n四")), 5);
  EXPECT_EQ(stats::milestoneCountOf("a b c"), 1);
}

TEST(TextStats, ParagraphCount) {
  const std::vector<std::pair<std::string, long long>> cases = {
      {"", 0}, {"a", 1}, {"a\r\nb", 2}, {"a\r\n", 1}, {"\r\n", 1}, {"\r\n\r\n", 2}, {"a\nb\n", 2}, {"a\r", 1},
      {gbk::fromUtf8("第一段\r\n第二段\r\n第三段"), 3}};
  for (const auto& [text, paragraphs] : cases) EXPECT_EQ(stats::paragraphCount(text), paragraphs) << text;
}

TEST(TextStats, InvalidGbkBytesCountAsTheEditorShowsThem) {
  // A lead byte without its trail is shown as U+FFFD: four bytes, a symbol.
  const std::string bytes = "\x81 a";
  const Counts byMatcher = stats::countByMatcher(bytes);
  EXPECT_EQ(byMatcher, stats::count(u"\uFFFD a"));
  EXPECT_EQ(stats::milestoneCountOf(bytes), stats::milestoneCount(u"\uFFFD a"));
}

TEST(TextStats, BreakdownHasSevenLines) {
  EXPECT_EQ(stats::breakdown(stats::count(u"你好，world!\n")),
            "字数统计\r\n汉字数量：3\r\n英文数量：5\r\n符号数量：2\r\n数字数量：0\r\n段落数：1\r\n当前字数：  6");
  Counts big;
  big.symbols = 1;
  big.chinese = 1234567890123;
  big.current = 7;
  big.english = 2;
  big.digits = 3;
  big.paragraphs = 4;
  EXPECT_EQ(stats::breakdown(big),
            "字数统计\r\n汉字数量：1234567890123\r\n英文数量：2\r\n符号数量：1\r\n数字数量：3\r\n段落数：4\r\n当前字数：  7");
  EXPECT_STREQ(stats::kStatusPrefix, "当前字数：  ");
}

}  // namespace

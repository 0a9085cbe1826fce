#include "core/matcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gbk_codec.h"

namespace {

using penvox::collectMatches;
using penvox::Matcher;
using penvox::MatchOptions;
namespace gbk = penvox::gbk;

// Patterns and texts are written here in UTF-8 and handed over as GBK.
std::string g(std::string_view utf8) { return gbk::fromUtf8(utf8); }

MatchOptions caseSensitive() {
  MatchOptions o;
  o.caseSensitive = true;
  return o;
}
MatchOptions singleLine() {
  MatchOptions o;
  o.multiLine = false;
  return o;
}
MatchOptions firstOnly() {
  MatchOptions o;
  o.global = false;
  return o;
}
MatchOptions quoteEscape() {
  MatchOptions o;
  o.quoteEscape = true;
  return o;
}

std::vector<std::string> matchesOf(const Matcher& m) {
  std::vector<std::string> out;
  for (int n = 1; n <= m.matchCount(); ++n) out.push_back(gbk::toUtf8(m.matchText(n)));
  return out;
}

struct MatchCase {
  const char* what;
  const char* pattern;  // UTF-8
  const char* text;     // UTF-8
  MatchOptions options;
  std::vector<std::string> matches;  // UTF-8
};

class Matches : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Matches, FindsEveryMatchInOrder) {
  const MatchCase& c = GetParam();
  Matcher m;
  ASSERT_TRUE(m.execute(g(c.pattern), g(c.text), c.options)) << c.what;
  EXPECT_EQ(matchesOf(m), c.matches) << c.what;
  std::string joined;
  for (const std::string& s : c.matches) joined += s;
  EXPECT_EQ(gbk::toUtf8(collectMatches(g(c.pattern), g(c.text), c.options)), joined) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Matches,
    ::testing::Values(
        MatchCase{"no digits", "[0-9]", "abc", {}, {}},
        MatchCase{"case-sensitive letters", "[a-zA-Z]", "Ab1", caseSensitive(), {"A", "b"}},
        MatchCase{"case ignored by default", "[a-z]", "Ab1", {}, {"A", "b"}},
        MatchCase{"case kept when asked", "[a-z]", "Ab1", caseSensitive(), {"b"}},
        MatchCase{"Chinese one by one", "[^\\x20-\\x7f]", "你好，世界", {}, {"你", "好", "，", "世", "界"}},
        MatchCase{"\\u ranges", "[\\u4e00-\\u9fa5]+", "abc你好，世界！", {}, {"你好", "世界"}},
        MatchCase{"\\x escape", "\\x41+", "xAAyA", caseSensitive(), {"AA", "A"}},
        MatchCase{"\\u escape outside a class", "\\u4f60", "你好你", {}, {"你", "你"}},
        MatchCase{"quote escape on", "#引号", "他说\"好\"", quoteEscape(), {"\"", "\""}},
        MatchCase{"quote escape off", "#引号", "a#引号b\"", {}, {"#引号"}},
        MatchCase{"quote escape inside a class", "[#引号a]", "\"a引", quoteEscape(), {"\"", "a"}},
        MatchCase{"^ at every line", "^第.", "第一\r\n第二\r\n", {}, {"第一", "第二"}},
        MatchCase{"^ only at the start", "^第.", "第一\r\n第二\r\n", singleLine(), {"第一"}},
        MatchCase{"$ before CR LF", "。$", "甲。\r\n乙。", {}, {"。", "。"}},
        MatchCase{"$ only at the very end", "。$", "甲。\r\n乙。\r\n", singleLine(), {}},
        MatchCase{"$ at the end of the text", "c$", "abc", singleLine(), {"c"}},
        MatchCase{"first match only", "[0-9]+", "12 34 56", firstOnly(), {"12"}},
        MatchCase{"a negated class matches only the text", "[^a]", "b", {}, {"b"}},
        MatchCase{"empty matches advance", "x*", "ab", {}, {"", "", ""}},
        MatchCase{"empty match after a match", "\\w*", "abc", {}, {"abc", ""}},
        MatchCase{"empty matches step over a surrogate pair", "", "你😀", {}, {"", "", ""}},
        MatchCase{"a character beyond the BMP is one character", ".", "😀𠀀", {}, {"😀", "𠀀"}},
        MatchCase{"unset back-reference matches empty", "(x)?\\1y", "y", {}, {"y"}},
        MatchCase{"Kelvin sign folds to k", "[a-z]", "\u212A", {}, {"\u212A"}},
        MatchCase{"euro sign", "€+", "1€€", {}, {"€€"}}));

TEST(Matcher, ChineseMatchesConvertBackToTwoBytes) {
  Matcher m;
  ASSERT_TRUE(m.execute(g("[^\\x20-\\x7f]"), g("春眠不觉晓")));
  ASSERT_EQ(m.matchCount(), 5);
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(m.matchText(n).size(), 2u);
  EXPECT_EQ(m.matchText(1), g("春"));
  EXPECT_EQ(m.matchText(5), g("晓"));
}

TEST(Matcher, SubMatchesByMatchAndGroup) {
  Matcher m;
  ASSERT_TRUE(m.execute(g("(\\d+)-(\\d+)(章)?"), g("第1-22节，333-4章")));
  ASSERT_EQ(m.matchCount(), 2);
  EXPECT_EQ(m.subMatchCount(), 3);
  EXPECT_EQ(m.subMatchText(1, 1), "1");
  EXPECT_EQ(m.subMatchText(1, 2), "22");
  EXPECT_EQ(m.subMatchText(1, 3), "");  // took no part
  EXPECT_EQ(m.subMatchText(2, 1), "333");
  EXPECT_EQ(m.subMatchText(2, 3), g("章"));
  // Numbers out of range give the empty text.
  for (const auto& [n, grp] : std::vector<std::pair<int, int>>{{0, 1}, {3, 1}, {1, 0}, {1, 4}, {-1, -1}})
    EXPECT_EQ(m.subMatchText(n, grp), n == 1 && grp == 0 ? "1-22" : "") << n << ", " << grp;
  EXPECT_EQ(m.matchText(0), "");
  EXPECT_EQ(m.matchText(3), "");
  EXPECT_EQ(m.matchText(2), g("333-4章"));
}

TEST(Matcher, SubMatchCountIsZeroWithoutMatches) {
  Matcher m;
  ASSERT_TRUE(m.execute(g("(a)(b)"), g("xyz")));
  EXPECT_EQ(m.matchCount(), 0);
  EXPECT_EQ(m.subMatchCount(), 0);
}

struct ReplaceCase {
  const char* what;
  const char* pattern;
  const char* text;
  MatchOptions options;
  const char* replacement;
  const char* result;
};

class Replace : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(Replace, ReplacesAsJavaScriptDoes) {
  const ReplaceCase& c = GetParam();
  Matcher m;
  ASSERT_TRUE(m.execute(g(c.pattern), g(c.text), c.options)) << c.what;
  EXPECT_EQ(gbk::toUtf8(m.replace(g(c.replacement))), c.result) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Replace,
    ::testing::Values(
        ReplaceCase{"every match", "[0-9]", "a1b22", {}, "#", "a#b##"},
        ReplaceCase{"first match only", "[0-9]", "a1b22", firstOnly(), "#", "a#b22"},
        ReplaceCase{"groups swapped", "(\\w+)@(\\w+)", "张三 bob@home 李四 amy@work", {}, "$2:$1", "张三 home:bob 李四 work:amy"},
        ReplaceCase{"Chinese groups", "(第)([一二三])章", "第一章，第三章", {}, "$1$2回", "第一回，第三回"},
        ReplaceCase{"$& and $$", "[0-9]+", "共12元", {}, "$$$&", "共$12元"},
        ReplaceCase{"$` and $'", "b", "abc", {}, "[$`|$']", "a[a|c]c"},
        ReplaceCase{"$10 with one group is $1 then 0", "(a)", "a", {}, "$10", "a0"},
        ReplaceCase{"$0 stays as written", "a", "a", {}, "$0", "$0"},
        ReplaceCase{"a group beyond the pattern stays as written", "(a)", "a", {}, "$2", "$2"},
        ReplaceCase{"unset group gives nothing", "a(x)?", "a", {}, "[$1]", "[]"},
        ReplaceCase{"a lone dollar at the end", "a", "a", {}, "x$", "x$"},
        ReplaceCase{"empty matches everywhere", "", "你好", {}, "-", "-你-好-"},
        ReplaceCase{"no match leaves the text", "[0-9]", "无数字", {}, "#", "无数字"},
        // As in JavaScript, $ also matches between the CR and the LF of a break.
        ReplaceCase{"line ends", "$", "甲\r\n乙", {}, "。", "甲。\r。\n乙。"},
        ReplaceCase{"line ends before CR LF", "(.)$", "甲\r\n乙", {}, "$1。", "甲。\r\n乙。"}));

TEST(Matcher, ReplaceUsesTwoDigitGroupsWhenThePatternHasThem) {
  Matcher m;
  ASSERT_TRUE(m.execute("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)", "abcdefghijk"));
  EXPECT_EQ(m.replace("$11$10$1"), "kja");
}

TEST(Matcher, AnInvalidPatternReportsFailureAndNoMatches) {
  Matcher m;
  ASSERT_TRUE(m.execute("[0-9]", "a1"));
  ASSERT_EQ(m.matchCount(), 1);
  for (const char* bad : {"[a-", "(abc", "a{2,1}", "\\", "(?P<n>a)(?P<n>b)"}) {
    EXPECT_FALSE(m.execute(bad, "a1 [a- (abc")) << bad;
    EXPECT_EQ(m.matchCount(), 0) << bad;
    EXPECT_EQ(m.subMatchCount(), 0) << bad;
    EXPECT_EQ(m.matchText(1), "") << bad;
    EXPECT_EQ(m.pattern(), bad);
    EXPECT_EQ(m.replace("x"), "a1 [a- (abc") << bad;
    EXPECT_EQ(collectMatches(bad, "a1 [a- (abc"), "") << bad;
  }
}

TEST(Matcher, ASearchTheEngineGivesUpOnReportsFailure) {
  // Nested quantifiers over a text that almost matches backtrack without end;
  // the engine stops at its match limit and the matcher reports no matches.
  Matcher m;
  EXPECT_FALSE(m.execute("(a+)+$", std::string(40, 'a') + "!", singleLine()));
  EXPECT_EQ(m.matchCount(), 0);
}

TEST(Matcher, PatternIsEmptyUntilExecutedAndShowsTheQuoteEscape) {
  Matcher m;
  EXPECT_EQ(m.pattern(), "");
  EXPECT_EQ(m.matchCount(), 0);
  EXPECT_EQ(m.replace("x"), "");
  ASSERT_TRUE(m.execute(g("说#引号(.*?)#引号"), g("他说\"好\""), quoteEscape()));
  EXPECT_EQ(gbk::toUtf8(m.pattern()), "说\"(.*?)\"");
  EXPECT_EQ(gbk::toUtf8(m.subMatchText(1, 1)), "好");
}

TEST(Matcher, ACopySharesTheResultsAndKeepsThemWhenTheOriginalRunsAgain) {
  Matcher original;
  ASSERT_TRUE(original.execute(g("(\\d)"), g("甲1乙2")));
  Matcher copy = original;
  EXPECT_EQ(copy.matchCount(), 2);
  EXPECT_EQ(copy.subMatchText(2, 1), "2");
  EXPECT_EQ(gbk::toUtf8(copy.replace("#")), "甲#乙#");

  ASSERT_TRUE(original.execute("x", "xxx"));
  EXPECT_EQ(original.matchCount(), 3);
  EXPECT_EQ(copy.matchCount(), 2);
  EXPECT_EQ(gbk::toUtf8(copy.replace("<$1>")), "甲<1>乙<2>");
  EXPECT_EQ(copy.pattern(), "(\\d)");

  Matcher assigned;
  assigned = copy;
  EXPECT_FALSE(copy.execute("[", "x"));
  EXPECT_EQ(assigned.matchCount(), 2);
  EXPECT_EQ(assigned.matchText(1), "1");
}

TEST(Matcher, LongTextWithManyMatches) {
  // One match per character over a long text: each search starts where the
  // previous one ended, so this stays linear.
  std::string text;
  for (int i = 0; i < 200000; ++i) text += g(i % 3 == 0 ? "，" : "字");
  Matcher m;
  ASSERT_TRUE(m.execute(g("[^\\u4e00-\\u9fa5]"), text));
  EXPECT_EQ(m.matchCount(), 66667);
  EXPECT_EQ(collectMatches(g("[\\u4e00-\\u9fa5]"), text).size(), 2u * 133333);
}

}  // namespace

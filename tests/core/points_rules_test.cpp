#include "core/points_rules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

namespace points = penvox::points;

TEST(PointsRules, ListOrderWithNothingDoneAndEverythingDone) {
  std::array<bool, 15> none{};
  EXPECT_EQ(points::listOrder(none), (std::vector<int>{1, 4, 5, 6, 7, 9, 8, 2, 3, 15, 10, 11, 12, 13, 14}));
  std::array<bool, 15> all;
  all.fill(true);
  EXPECT_EQ(points::listOrder(all), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
}

TEST(PointsRules, ListOrderWithSomeDone) {
  // A first start (only row 1 done): row 1 appends to the empty list, so it
  // stays on top.
  std::array<bool, 15> firstStart{};
  firstStart[0] = true;
  EXPECT_EQ(points::listOrder(firstStart), (std::vector<int>{1, 4, 5, 6, 7, 9, 8, 2, 3, 15, 10, 11, 12, 13, 14}));
  // Only the diary done: it appends, and the rows after it are inserted by
  // position into a list that is one row shorter at the top.
  std::array<bool, 15> diary{};
  diary[3] = true;
  EXPECT_EQ(points::listOrder(diary), (std::vector<int>{1, 2, 5, 6, 7, 9, 8, 3, 4, 15, 10, 11, 12, 13, 14}));
  // Every task in the list exactly once, whatever is done.
  for (unsigned mask = 0; mask < (1u << 15); mask += 97) {
    std::array<bool, 15> done{};
    for (int k = 0; k < 15; ++k) done[static_cast<std::size_t>(k)] = (mask >> k) & 1;
    const std::vector<int> order = points::listOrder(done);
    EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), 15u) << mask;
  }
}

TEST(PointsRules, TaskTable) {
  const auto& tasks = points::tasks();
  for (std::size_t k = 0; k < tasks.size(); ++k) {
    const points::Task& t = tasks[k];
    EXPECT_EQ(t.number, static_cast<int>(k) + 1);
    EXPECT_EQ(t.daily, t.number <= 9 || t.number == 15) << t.number;
    EXPECT_NE(std::string(t.notDoneText).find("×未完成 +"), std::string::npos) << t.number;
    EXPECT_EQ(t.fiveFoldPoints, t.daily ? 5 * t.points : t.points) << t.number;
  }
  EXPECT_STREQ(tasks[0].notDoneText, "勤劳蜜蜂 每天打开一次Penvox×未完成 +10积分");
  EXPECT_STREQ(tasks[14].notDoneText, "井井有条 每天使用Penvox的日程功能添加日程×未完成 +8积分");
  EXPECT_STREQ(tasks[3].section, "日记");
  EXPECT_STREQ(tasks[3].activityKey, "最后一次日记");
  EXPECT_STREQ(tasks[3].rewardSection, "日记");
  EXPECT_STREQ(tasks[3].rewardKey, "最后一日记");
  EXPECT_STREQ(tasks[6].activityKey, "20000字");
  // Rows 9 and 15 record their payment apart from their activity keys.
  EXPECT_STREQ(tasks[8].activityKey, "60min");
  EXPECT_STREQ(tasks[8].rewardKey, "60min奖励");
  EXPECT_STREQ(tasks[14].activityKey, "time");
  EXPECT_STREQ(tasks[14].rewardKey, "time奖励");
  // No two rows share a reward key in the same section, and no reward key is
  // an activity key.
  std::set<std::string> rewardKeys, activityKeys;
  for (const points::Task& t : tasks) {
    EXPECT_TRUE(rewardKeys.insert(std::string(t.rewardSection) + "/" + t.rewardKey).second) << t.number;
    activityKeys.insert(std::string(t.section) + "/" + t.activityKey);
  }
  for (const std::string& key : rewardKeys) EXPECT_EQ(activityKeys.count(key), 0u) << key;
}

TEST(PointsRules, DoneText) {
  EXPECT_EQ(points::doneText(points::tasks()[3]), "日记达人 每天写一篇日记√完成 +10积分");
  EXPECT_EQ(points::doneText(points::tasks()[9]), "新手任务 体验一次大字体模式√完成 +1积分");
  for (const points::Task& t : points::tasks()) {
    const std::string done = points::doneText(t);
    EXPECT_EQ(done.find("×未完成"), std::string::npos);
    EXPECT_NE(done.find("√完成 +"), std::string::npos);
  }
}

TEST(PointsRules, FiveFoldOnSundayOnly) {
  for (int weekday = 1; weekday <= 7; ++weekday) EXPECT_EQ(points::isFiveFoldDay(weekday), weekday == 1) << weekday;
}

TEST(PointsRules, TitleReached) {
  struct Case {
    long long total;
    const char* text;  // nullptr: no title
    std::optional<long> colour;
  };
  const std::vector<Case> cases = {
      {-1, nullptr, std::nullopt},
      {0, "称号：积分菜鸟 Lv.1", std::nullopt},
      {99, "称号：积分菜鸟 Lv.1", std::nullopt},
      {499, "称号：积分能手 Lv.4", std::nullopt},
      {500, "称号：积分达人 Lv.5", 65280},
      {9999, "称号：写作王者 Lv.10", 65280},
      {10000, "称号：至尊等级 写作帝王 Lv.11", 255},
      {100000, "称号：至尊等级 银牌写手 Lv.20", 16711824},
      {300000, "称号：至尊等级 金牌写手 Lv.24", 16711935},
      {99999999, "称号：王尊等级 最强王者 Lv.29", 16711935},
      {100000000, "称号：最高等级 至强王者 Lv.MAX", 4845050},
      {2147483647, "称号：最高等级 至强王者 Lv.MAX", 4845050},
  };
  for (const Case& c : cases) {
    const points::Title* title = points::titleFor(c.total);
    if (!c.text) {
      EXPECT_EQ(title, nullptr) << c.total;
      continue;
    }
    ASSERT_NE(title, nullptr) << c.total;
    EXPECT_STREQ(title->text, c.text) << c.total;
    EXPECT_EQ(title->colour, c.colour) << c.total;
  }
  EXPECT_EQ(points::titles().size(), 30u);
}

TEST(PointsRules, Gates) {
  struct Case {
    long long total;
    bool statistics, names, colour1, colour2, colour6, header, background;
  };
  const std::vector<Case> cases = {
      {-1, false, false, true, false, false, false, false},
      {0, true, true, true, false, false, false, false},
      {1, true, true, true, true, true, false, false},
      {499, true, true, true, true, true, false, false},
      {500, true, true, true, true, true, false, true},
      {501, true, true, true, true, true, true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(points::detailedStatisticsAllowed(c.total), c.statistics) << c.total;
    EXPECT_EQ(points::randomNamesAllowed(c.total), c.names) << c.total;
    EXPECT_EQ(points::textColourAllowed(0, c.total), true) << c.total;
    EXPECT_EQ(points::textColourAllowed(1, c.total), c.colour1) << c.total;
    for (int index = 2; index <= 5; ++index) EXPECT_EQ(points::textColourAllowed(index, c.total), c.colour2) << c.total;
    EXPECT_EQ(points::textColourAllowed(6, c.total), c.colour6) << c.total;
    EXPECT_FALSE(points::textColourAllowed(7, c.total)) << c.total;
    EXPECT_FALSE(points::textColourAllowed(-1, c.total)) << c.total;
    EXPECT_EQ(points::customHeaderAllowed(c.total), c.header) << c.total;
    EXPECT_EQ(points::customBackgroundAllowed(c.total), c.background) << c.total;
  }
  EXPECT_STREQ(points::textColourRefusal(2), "积分不足，需要达到500积分才能使用");
  EXPECT_STREQ(points::textColourRefusal(5), "积分不足，需要达到500积分才能使用");
  EXPECT_STREQ(points::textColourRefusal(6), "积分不足，需要达到0积分才能使用");
  EXPECT_STREQ(points::textColourRefusal(1), "");
}

}  // namespace

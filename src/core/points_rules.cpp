#include "core/points_rules.h"

#include <algorithm>
#include <string_view>

namespace penvox::points {
namespace {

constexpr const char* kSettings = "软件设置";
constexpr const char* kDiary = "日记";

}  // namespace

const std::array<Task, 15>& tasks() {
  // The milestone rows 5..8 read the keys the statistics write; rows 9 and 15
  // record their payment under keys of their own, apart from the activity keys
  // "60min" and "time" that the writing clock and the schedule window rewrite.
  static const std::array<Task, 15> kTasks = {{
      {1, "勤劳蜜蜂 每天打开一次Penvox×未完成 +10积分", kSettings, "最后一次登录", true, kSettings, "最后一登录", 10, 50, 0, 900},
      {2, "超级粉丝 支持pxt文件，使用软件打开一个pxt文件×未完成 +10积分", kSettings, "pxt使用", true, kSettings, "pxt用", 10, 50, 900, 900},
      {3, "声音天使 使用录音功能记录下你最美的声音把×未完成 +10积分", kSettings, "录音", true, kSettings, "录", 10, 50, 900, 900},
      {4, "日记达人 每天写一篇日记×未完成 +10积分", kDiary, "最后一次日记", true, kDiary, "最后一日记", 10, 50, 1, 901},
      {5, "日写千字 每天新建文本并写1000字×未完成 +10积分", kSettings, "1000字", true, kSettings, "1000", 10, 50, 2, 902},
      {6, "日写万字 每天新建文本并写8000字×未完成 +15积分", kSettings, "8000字", true, kSettings, "8000", 15, 75, 3, 903},
      {7, "写作狂人 每天新建文本并写20000字×未完成 +15积分", kSettings, "20000字", true, kSettings, "20000", 15, 75, 4, 904},
      {8, "写作魔鬼 每天新建文本并写100000字×未完成 +15积分", kSettings, "100000字", true, kSettings, "100000", 15, 75, 5, 905},
      {9, "写作强者 每天写字60分钟×未完成 +8积分", kSettings, "60min", true, kSettings, "60min奖励", 8, 40, 5, 905},
      {10, "新手任务 体验一次大字体模式×未完成 +1积分", kSettings, "新手2", false, kSettings, "新2", 1, 1, 900, 900},
      {11, "新手任务 成功使用P穿越功能传输文本一次×未完成 +5积分", kSettings, "新手3", false, kSettings, "新3", 5, 5, 900, 900},
      {12, "新手任务 体验一次P日程×未完成 +10积分", kSettings, "新手4", false, kSettings, "新4", 10, 10, 900, 900},
      {13, "新手任务 体验一次表达式运算×未完成 +10积分", kSettings, "新手5", false, kSettings, "新5", 10, 10, 900, 900},
      {14, "新手任务 使用一次创建购物清单功能×未完成 +10积分", kSettings, "新手6", false, kSettings, "新6", 10, 10, 900, 900},
      {15, "井井有条 每天使用Penvox的日程功能添加日程×未完成 +8积分", kSettings, "time", true, kSettings, "time奖励", 8, 40, 9, 909},
  }};
  return kTasks;
}

std::string doneText(const Task& task) {
  constexpr std::string_view kNotDone = "×未完成";
  std::string text = task.notDoneText;
  const std::size_t at = text.find(kNotDone);
  if (at != std::string::npos) text.replace(at, kNotDone.size(), "√完成");
  return text;
}

bool isFiveFoldDay(int weekday) { return weekday == 1; }

const std::vector<Title>& titles() {
  constexpr long kGreen = 65280;        // 0, 255, 0
  constexpr long kRed = 255;            // 255, 0, 0
  constexpr long kPurple = 16711824;    // 144, 0, 255
  constexpr long kMagenta = 16711935;   // 255, 0, 255
  constexpr long kYellow = 4845050;     // 250, 237, 73
  static const std::vector<Title> kTitles = {
      {0, "称号：积分菜鸟 Lv.1", std::nullopt},
      {100, "称号：积分新手 Lv.2", std::nullopt},
      {200, "称号：积分会员 Lv.3", std::nullopt},
      {300, "称号：积分能手 Lv.4", std::nullopt},
      {500, "称号：积分达人 Lv.5", kGreen},
      {800, "称号：积分王者 Lv.6", kGreen},
      {1000, "称号：积分帝王 Lv.7", kGreen},
      {1500, "称号：写作能手 Lv.8", kGreen},
      {2000, "称号：写作达人 Lv.9", kGreen},
      {3000, "称号：写作王者 Lv.10", kGreen},
      {10000, "称号：至尊等级 写作帝王 Lv.11", kRed},
      {20000, "称号：至尊等级 王牌写手 Lv.12", kRed},
      {30000, "称号：至尊等级 王牌作者 Lv.13", kRed},
      {40000, "称号：至尊等级 王牌作家 Lv.14", kRed},
      {50000, "称号：至尊等级 王牌大师 Lv.15", kRed},
      {60000, "称号：至尊等级 铜牌写手 Lv.16", kRed},
      {70000, "称号：至尊等级 铜牌作者 Lv.17", kRed},
      {80000, "称号：至尊等级 铜牌作家 Lv.18", kRed},
      {90000, "称号：至尊等级 铜牌大师 Lv.19", kRed},
      {100000, "称号：至尊等级 银牌写手 Lv.20", kPurple},
      {150000, "称号：至尊等级 银牌作者 Lv.21", kPurple},
      {200000, "称号：至尊等级 银牌作家 Lv.22", kPurple},
      {250000, "称号：至尊等级 银牌大师 Lv.23", kPurple},
      {300000, "称号：至尊等级 金牌写手 Lv.24", kMagenta},
      {400000, "称号：至尊等级 金牌作者 Lv.25", kMagenta},
      {500000, "称号：至尊等级 金牌作家 Lv.26", kMagenta},
      {700000, "称号：至尊等级 金牌大师 Lv.27", kMagenta},
      {1000000, "称号：至尊等级 超强王者 Lv.28", kMagenta},
      {10000000, "称号：王尊等级 最强王者 Lv.29", kMagenta},
      {100000000, "称号：最高等级 至强王者 Lv.MAX", kYellow},
  };
  return kTitles;
}

const Title* titleFor(long long total) {
  const Title* reached = nullptr;
  for (const Title& title : titles())
    if (total >= title.threshold) reached = &title;
  return reached;
}

bool detailedStatisticsAllowed(long long total) { return total >= 0; }
bool randomNamesAllowed(long long total) { return total >= 0; }

bool textColourAllowed(int index, long long total) {
  if (index == 0 || index == 1) return true;
  if (index >= 2 && index <= 6) return total > 0;
  return false;
}

const char* textColourRefusal(int index) {
  if (index >= 2 && index <= 5) return "积分不足，需要达到500积分才能使用";
  if (index == 6) return "积分不足，需要达到0积分才能使用";
  return "";
}

bool customHeaderAllowed(long long total) { return total > 500; }
bool customBackgroundAllowed(long long total) { return total >= 500; }

std::vector<int> listOrder(const std::array<bool, 15>& done) {
  std::vector<int> order;
  for (const Task& task : tasks()) {
    const std::size_t position =
        static_cast<std::size_t>(done[static_cast<std::size_t>(task.number - 1)] ? task.donePosition : task.notDonePosition);
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(std::min(position, order.size())), task.number);
  }
  return order;
}

}  // namespace penvox::points

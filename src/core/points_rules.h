#pragma once
// The points system's fixed tables and pure rules: the fifteen tasks of the
// task list, the titles a points total reaches, and the features that are open
// only above a points threshold. Texts are UTF-8.
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace penvox::points {

struct Task {
  int number;               // 1..15, the task's row in the table
  const char* notDoneText;  // with "×未完成" and the points suffix
  const char* section;      // settings section of the activity key
  const char* activityKey;  // holds today's date stamp (daily) or "真" (beginner) once done
  bool daily;               // daily task, or beginner task paid once ever
  const char* rewardSection;
  const char* rewardKey;    // holds the day of the last payment (daily) or "真" once paid
  int points;               // paid on ordinary days
  int fiveFoldPoints;       // paid on the five-fold day (the same as points for beginner tasks)
  int notDonePosition;      // list position at which each form is inserted; past the end appends
  int donePosition;
};

// Rows 1..15 in order.
const std::array<Task, 15>& tasks();

// The done form of a row's text: "×未完成" replaced by "√完成".
std::string doneText(const Task& task);

// Daily tasks pay five-fold on Sunday, weekday number 1 (weekdays run from 1,
// Sunday, to 7, Saturday).
bool isFiveFoldDay(int weekday);

struct Title {
  long long threshold;
  const char* text;
  std::optional<long> colour;  // R + 256 G + 65536 B; none leaves the label's colour as it is
};

// In ascending order of threshold.
const std::vector<Title>& titles();

// The last title whose threshold the total reaches; nullptr for a negative
// total (the label then keeps its text and colour).
const Title* titleFor(long long total);

// Gates on the points total.
bool detailedStatisticsAllowed(long long total);      // 0 or more
bool randomNamesAllowed(long long total);             // 0 or more
bool textColourAllowed(int index, long long total);   // colours 0, 1 always; 2..6 above 0; no others
bool customHeaderAllowed(long long total);            // above 500
bool customBackgroundAllowed(long long total);        // 500 or more

// What the program says when a gate refuses.
inline constexpr const char* kDetailedStatisticsRefusal = "您需要积分达到0点才能有资格使用详细的文字统计";
inline constexpr const char* kRandomNamesRefusal = "您需要达到15积分才可以随机更换哦。";
inline constexpr const char* kCustomHeaderRefusal = "自定义顶图失败，您的积分可能不足500。";
// For a gated text colour (2..6); empty for the others.
const char* textColourRefusal(int index);

// The task numbers from the top of the list to the bottom once rows 1..15 are
// inserted in order, each at the position of its form (done[k] for row k + 1).
std::vector<int> listOrder(const std::array<bool, 15>& done);

}  // namespace penvox::points

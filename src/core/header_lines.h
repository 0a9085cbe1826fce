#pragma once
// The header lines each kind of writing puts into the title box, built from
// the local date and time (numbers without leading zeros, hours 0 to 23,
// weekday 1 = Sunday ... 7 = Saturday). Texts are UTF-8.
#include <string>

namespace penvox::headers {

struct Moment {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    int weekday = 7;
};

// "2017年5月1日9时5分3秒"
std::string timePieces(const Moment& at);
// "临时文本： 产生于2017年5月1日9时5分3秒    by：Penvox"
std::string temporaryText(const Moment& at);
// "2017年5月1日星期2     by：Penvox日记"
std::string diary(const Moment& at);
// "P日程： 产生于…秒    by：Penvox"
std::string schedule(const Moment& at);
// "P清单： 产生于…秒    by：Penvox"
std::string shoppingList(const Moment& at);

// The editor's first text after the header line of these two kinds.
inline constexpr const char* kScheduleInvite = "###########点击F4开始添加日程###########";
inline constexpr const char* kShoppingInvite = "###########点击F6开始添加物品###########";

}  // namespace penvox::headers

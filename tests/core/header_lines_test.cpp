#include "core/header_lines.h"

#include <gtest/gtest.h>

namespace penvox::headers {
namespace {

TEST(HeaderLines, EveryKindAsWritten) {
    const Moment mayDay{2017, 5, 1, 9, 5, 3, 2};  // a Monday
    EXPECT_EQ(temporaryText(mayDay), "临时文本： 产生于2017年5月1日9时5分3秒    by：Penvox");
    EXPECT_EQ(diary(mayDay), "2017年5月1日星期2     by：Penvox日记");
    EXPECT_EQ(schedule(mayDay), "P日程： 产生于2017年5月1日9时5分3秒    by：Penvox");
    EXPECT_EQ(shoppingList(mayDay), "P清单： 产生于2017年5月1日9时5分3秒    by：Penvox");

    const Moment lateNight{2026, 12, 31, 23, 59, 0, 5};
    EXPECT_EQ(timePieces(lateNight), "2026年12月31日23时59分0秒");
    EXPECT_EQ(diary({2026, 12, 13, 0, 0, 0, 1}), "2026年12月13日星期1     by：Penvox日记");
}

}  // namespace
}  // namespace penvox::headers

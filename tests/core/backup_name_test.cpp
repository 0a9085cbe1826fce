#include "core/backup_name.h"

#include <gtest/gtest.h>

#include <string>

namespace penvox::backup {
namespace {

TEST(BackupName, KeepsTheTitleButForSlashAndZero)
{
    EXPECT_EQ(fileName("临时文本： 产生于2017年5月1日9时5分3秒    by：Penvox"),
              "临时文本： 产生于2017年5月1日9时5分3秒    by：Penvox.txt");
    EXPECT_EQ(fileName("a/b/../c"), "a_b_.._c.txt");
    EXPECT_EQ(fileName(std::string("x\0y", 3)), "x_y.txt");
    EXPECT_EQ(fileName(R"(a\b:c*?"<>|)"), R"(a\b:c*?"<>|.txt)");
    EXPECT_EQ(fileName(".."), "...txt");
    EXPECT_EQ(fileName(""), ".txt");
    EXPECT_STREQ(kFolder, "备份");
}

}  // namespace
}  // namespace penvox::backup

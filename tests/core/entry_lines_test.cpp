#include "core/entry_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "core/gbk_codec.h"

namespace penvox::entries {
namespace {

TEST(ScheduleLine, WritesDateTimeAndContent)
{
    EXPECT_EQ(scheduleLine(true, 2017, 5, 1, "9", "30", "开会"), "\r\n[2017年5月1日 9时30分]### 开会");
    EXPECT_EQ(scheduleLine(true, 2017, 5, 1, "", "", "买菜"), "\r\n[2017年5月1日 *时*分]### 买菜");
    EXPECT_EQ(scheduleLine(false, 2017, 5, 1, "", "", "买菜"), "[2017年5月1日 *时*分]### 买菜");
    EXPECT_EQ(scheduleLine(false, 2026, 12, 31, "*", "5", ""), "[2026年12月31日 *时5分]### ");
}

TEST(PriceText, MultipliesByTheTextToNumberRule)
{
    EXPECT_EQ(priceText("3.5", "2"), "7");
    EXPECT_EQ(priceText("2", "3.5"), "7");
    EXPECT_EQ(priceText("0.1", "3"), "0.3");
    EXPECT_EQ(priceText("", "1"), "0");
    EXPECT_EQ(priceText("abc", "2"), "0");
    EXPECT_EQ(priceText("１２", "２"), "24");  // full-width digits fold
    EXPECT_EQ(priceText(" 2.5kg", "4"), "10");
    EXPECT_EQ(priceText("1", "0.3333333333333333"), "0.3333333333333");
    EXPECT_EQ(priceText("123456789", "100000"), "1.23456789e+13");  // 13 significant digits at most
    EXPECT_EQ(priceText("1e20", "1"), "1e+20");
    EXPECT_EQ(priceText("-2", "3"), "-6");
    EXPECT_EQ(priceText("0", "-1"), "0");  // no "-0"
}

TEST(ShoppingLine, BuildsTheItemWithOrWithoutBreak)
{
    EXPECT_EQ(shoppingLine(true, kDefaultName, kDefaultQuantity, priceText(kDefaultUnitPrice, kDefaultQuantity)),
              "\r\n[购物清单 #商品名称： 神秘物品   #商品数量： 1   #预计价格： 0元]###");
    EXPECT_EQ(shoppingLine(false, "苹果", "2", priceText("3.5", "2")),
              "[购物清单 #商品名称： 苹果   #商品数量： 2   #预计价格： 7元]### ");
    // Empty fields get the defaults the window writes back into its boxes.
    EXPECT_EQ(shoppingLine(true, "", "", ""), "\r\n[购物清单 #商品名称： 神秘物品   #商品数量： 1   #预计价格： 0元]###");
}

TEST(TotalLine, EndsWithoutSpaceEitherWay)
{
    EXPECT_EQ(totalLine(true, 9), "\r\n[购物清单 #预计总计： 9元]###");
    EXPECT_EQ(totalLine(false, 0), "[购物清单 #预计总计： 0元]###");
    EXPECT_EQ(totalLine(false, -12), "[购物清单 #预计总计： -12元]###");
}

struct TotalCase {
    const char* what;
    const char* text;  // UTF-8, converted to the editor's GBK text
    std::int32_t total;
};

class ShoppingTotal : public ::testing::TestWithParam<TotalCase> {};

TEST_P(ShoppingTotal, SumsTheWholePartOfTheFirstPriceOfEachLine)
{
    EXPECT_EQ(shoppingTotal(gbk::fromUtf8(GetParam().text)), GetParam().total) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ShoppingTotal,
    ::testing::Values(
        TotalCase{"7 + 2.9, a line without price",
                  "P清单： 产生于2017年5月1日9时5分3秒    by：Penvox\r\n"
                  "[购物清单 #商品名称： 苹果   #商品数量： 2   #预计价格： 7元]###\r\n"
                  "[购物清单 #商品名称： 梨   #商品数量： 1   #预计价格： 2.9元]###\r\n"
                  "随便写点什么",
                  9},
        TotalCase{"fractions are cut before summing",
                  "#预计价格： 2.5元]###\r\n#预计价格： 2.5元]###", 4},
        TotalCase{"no price at all", "###########点击F6开始添加物品###########\r\n买点水果", 0},
        TotalCase{"empty text", "", 0},
        TotalCase{"only the first item of a shared line counts",
                  "[购物清单 #商品名称： 苹果   #商品数量： 2   #预计价格： 7元]### "
                  "[购物清单 #商品名称： 梨   #商品数量： 1   #预计价格： 3元]### ",
                  7},
        TotalCase{"a total line does not count", "#预计价格： 5元]###\r\n[购物清单 #预计总计： 5元]###", 5},
        TotalCase{"negative prices cut toward zero", "#预计价格： -2.9元\r\n#预计价格： 10元", 8},
        TotalCase{"a price without 元 counts nothing", "#预计价格： 5\r\n#预计价格： 6元", 6},
        TotalCase{"a lone LF does not split lines", "#预计价格： 1元\n#预计价格： 2元", 1},
        TotalCase{"full-width digits fold", "#预计价格： ３元", 3},
        TotalCase{"the 32-bit total wraps around", "#预计价格： 2147483647元\r\n#预计价格： 1元", INT32_MIN},
        TotalCase{"a price beyond 32 bits keeps its low 32 bits", "#预计价格： 4294967298元", 2},
        TotalCase{"wrapping back below zero", "#预计价格： -2147483648元\r\n#预计价格： -1元", INT32_MAX}));

TEST(TextBetween, TakesTheTextBetweenTheFirstPairOfMarkers)
{
    EXPECT_EQ(textBetween("a[b]c[d]", "[", "]"), "b");
    EXPECT_EQ(textBetween("a[b]c[d]", "[", "]", 2), "d");
    EXPECT_EQ(textBetween("a[b]c[d]", "[", "]", 99), "");
    EXPECT_EQ(textBetween("a[b", "[", "]"), "");
    EXPECT_EQ(textBetween("a]b", "[", "]"), "");
    EXPECT_EQ(textBetween("a]b[", "[", "]"), "");  // the end marker counts only behind the start
    EXPECT_EQ(textBetween("[]", "[", "]"), "");
    EXPECT_EQ(textBetween("版本：8.2版", "版本：", "版"), "8.2");
    // "#引号" stands for a double quote, in UTF-8 or in GBK markers.
    EXPECT_EQ(textBetween(R"({"ver":"8.2"})", "#引号ver#引号:#引号", "#引号"), "8.2");
    EXPECT_EQ(textBetween(R"(say "hi")", gbk::fromUtf8("#引号"), gbk::fromUtf8("#引号")), "hi");
    EXPECT_EQ(textBetween("a #引号 b", "a ", " b"), "#引号");  // only markers are rewritten
}

}  // namespace
}  // namespace penvox::entries

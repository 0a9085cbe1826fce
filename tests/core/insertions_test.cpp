#include "core/insertions.h"

#include <gtest/gtest.h>

#include <string>

#include "core/gbk_codec.h"

namespace penvox::insertions {
namespace {

TEST(TimeStamp, WritesNumbersWithoutLeadingZerosAndFullWidthColons)
{
    EXPECT_EQ(timeStamp({2017, 5, 1, 7, 2, 9, 2}), "2017年5月1日 7：2：9");
    EXPECT_EQ(timeStamp({2017, 2, 2, 9, 5, 3, 5}), "2017年2月2日 9：5：3");
    EXPECT_EQ(timeStamp({2026, 12, 31, 23, 59, 0, 5}), "2026年12月31日 23：59：0");
    EXPECT_EQ(timeStamp({2000, 1, 1, 0, 0, 0, 7}), "2000年1月1日 0：0：0");
    // The colon is the full-width one, A3 BA in the program's bytes.
    EXPECT_NE(gbk::fromUtf8(timeStamp({2017, 5, 1, 7, 2, 9, 2})).find("\xA3\xBA"), std::string::npos);
}

TEST(DividerLine, IsSeventySixBytesBetweenBreaks)
{
    const std::string line = dividerLine();
    EXPECT_EQ(line, "\r\n---------------------------------分割线---------------------------------\r\n");
    EXPECT_EQ(gbk::fromUtf8(line).size(), 76u);
}

TEST(InsertAt, SplicesAndPutsTheCaretBehind)
{
    struct Case {
        const char* text;
        std::size_t at;
        const char* inserted;
        const char* result;
        std::size_t caret;
    };
    const Case cases[] = {
        {"", 0, "abc", "abc", 3},
        {"hello", 0, ">", ">hello", 1},
        {"hello", 5, "!", "hello!", 6},
        {"hello", 2, "--", "he--llo", 4},
        {"hello", 99, "!", "hello!", 6},  // past the end: appended
        {"hello", 2, "", "hello", 2},      // nothing inserted: caret stays
    };
    for (const Case& c : cases) {
        const Spliced s = insertAt(c.text, c.at, c.inserted);
        EXPECT_EQ(s.text, c.result) << c.text << " @" << c.at;
        EXPECT_EQ(s.caret, c.caret) << c.text << " @" << c.at;
    }
}

TEST(InsertAt, DividerInTheMiddleOfALineSplitsIt)
{
    const std::string text = gbk::fromUtf8("前半句后半句");
    const Spliced s = insertAt(text, 6, gbk::fromUtf8(dividerLine()));
    EXPECT_EQ(gbk::toUtf8(s.text),
              "前半句\r\n---------------------------------分割线---------------------------------\r\n后半句");
    EXPECT_EQ(s.caret, 6u + 76u);
    EXPECT_EQ(s.text.substr(s.caret), gbk::fromUtf8("后半句"));  // caret at the start of the next line
}

}  // namespace
}  // namespace penvox::insertions

#include "core/date_stamp.h"

#include <gtest/gtest.h>

namespace {

struct StampCase {
  int year;
  int month;
  int day;
  const char* stamp;
};

class DateStamp : public ::testing::TestWithParam<StampCase> {};

TEST_P(DateStamp, JoinsDecimalFieldsWithoutLeadingZeros) {
  const StampCase& c = GetParam();
  EXPECT_EQ(penvox::dateStamp(c.year, c.month, c.day), c.stamp);
}

INSTANTIATE_TEST_SUITE_P(Table, DateStamp,
                         ::testing::Values(StampCase{2017, 5, 1, "201751"}, StampCase{2017, 1, 21, "2017121"},
                                           StampCase{2017, 12, 1, "2017121"}, StampCase{2017, 12, 31, "20171231"},
                                           StampCase{2000, 10, 10, "20001010"}, StampCase{1999, 1, 1, "199911"},
                                           StampCase{2024, 2, 29, "2024229"}));

TEST(DateStamp, TwoDatesMayShareAStamp) {
  EXPECT_EQ(penvox::dateStamp(2017, 1, 21), penvox::dateStamp(2017, 12, 1));
  EXPECT_NE(penvox::dateStamp(2017, 5, 1), penvox::dateStamp(2017, 5, 2));
}

}  // namespace

#include "location/distance.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string Km(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

struct DistanceCase {
  const char *lat1, *lon1, *lat2, *lon2;
  const char* km;
};

class DistanceTest : public testing::TestWithParam<DistanceCase> {};

TEST_P(DistanceTest, KilometresAsShown) {
  const DistanceCase& c = GetParam();
  EXPECT_EQ(Km(Distance(c.lat1, c.lon1, c.lat2, c.lon2)), c.km);
  EXPECT_EQ(Km(Distance(c.lat2, c.lon2, c.lat1, c.lon1)), c.km);  // either direction
}

INSTANTIATE_TEST_SUITE_P(Table, DistanceTest,
                         testing::Values(DistanceCase{"48.1173", "11.516667", "48.1173",
                                                      "11.516667", "0.00"},
                                         DistanceCase{"0", "0", "0", "1", "111.23"},
                                         // Antipodes: half the circumference, not NaN.
                                         DistanceCase{"0", "0", "0", "180", "20021.37"},
                                         DistanceCase{"90", "0", "-90", "0", "20021.37"},
                                         // Leading blanks and a plus sign read as the number.
                                         DistanceCase{" +0", "0", "0", "+1", "111.23"},
                                         // Text that is no number counts as 0.
                                         DistanceCase{"north", "", "0", "1", "111.23"}));

}  // namespace

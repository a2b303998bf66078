#include "tools/data_writer.h"

#include <gtest/gtest.h>

namespace tavro2 {
namespace {

TEST(DataDateTest, CountsDaysFromFirstOfJanuaryYearOne) {
  EXPECT_EQ(DataDateOf(1, 1, 1), 1.0);
  EXPECT_EQ(DataDateOf(2009, 1, 1), 733408.0);
  EXPECT_EQ(DataDateOf(1899, 12, 30), 693594.0);
  EXPECT_EQ(DataDateOf(2000, 3, 1) - DataDateOf(2000, 2, 28), 2.0);  // leap year
  EXPECT_EQ(DataDateOf(1900, 3, 1) - DataDateOf(1900, 2, 28), 1.0);  // no leap day in 1900
}

}  // namespace
}  // namespace tavro2

#include "launch/param_list.h"

#include <gtest/gtest.h>

#include "launch/short_text.h"

namespace launcher {
namespace {

TEST(ParamList, ParamOutsideOneToCountIsEmpty) {
  const ParamList params({"a", "", std::string(5000, 'x')});
  EXPECT_EQ(params.Count(), 3);
  EXPECT_EQ(params.Param(1), "a");
  EXPECT_EQ(params.Param(2), "");
  EXPECT_EQ(params.Param(3).size(), 5000u);
  for (long long i : {0LL, -1LL, 4LL, -2147483648LL, 2147483648LL}) EXPECT_EQ(params.Param(i), "");
  EXPECT_EQ(ParamList().Count(), 0);
}

TEST(ShortText, KeepsTheFirst255Characters) {
  EXPECT_EQ(ShortText(std::string(300, 'a') + "b").str(), std::string(255, 'a'));
  EXPECT_EQ(ShortText(std::string(255, 'c')).size(), 255u);
  EXPECT_EQ(ShortText("abc").str(), "abc");
}

}  // namespace
}  // namespace launcher

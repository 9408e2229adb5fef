#include "launch/expand_args.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace launcher {
namespace {

struct ReplaceCase {
  std::string text, search, replacement, expected;
};

TEST(ReplaceEvery, Rules) {
  const std::vector<ReplaceCase> cases = {
      {"a%1b%1c", "%1", "X", "aXbXc"},
      {"%1%1", "%1", "", ""},        // empty replacement deletes
      {"aaa", "aa", "b", "ba"},      // leftmost, no overlap
      {"%1", "%1", "%1%1", "%1%1"},  // inserted text is not searched again
      {"x%1", "%1", "y", "xy"},      // occurrence at the very end
      {"abc", "", "X", "abc"},       // empty search text is never found
      {"", "%1", "X", ""},
      {"%%11", "%1", "", "%1"},
      {"Ab", "a", "X", "Ab"},  // byte exact, case matters
      {std::string("a\0b", 3), std::string("\0", 1), "-", "a-b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceEvery(c.text, c.search, c.replacement), c.expected)
        << "text=" << c.text << " search=" << c.search;
  }
}

const std::string kHead =
    "//NOFULLSCREEN /V2 -ni /EXEC:LoadDllFkt(AFZImpKWORKAFZ~AFZUpdateKWORAFZ)";

struct ExpandCase {
  const char* name;
  std::vector<std::string> params;
  std::string expected_tail;  // what follows kHead
};

void PrintTo(const ExpandCase& c, std::ostream* out) { *out << c.name; }

class ExpandArgTemplateTest : public testing::TestWithParam<ExpandCase> {};

TEST_P(ExpandArgTemplateTest, Expands) {
  const ExpandCase& c = GetParam();
  EXPECT_EQ(ExpandArgTemplate(ParamList(c.params)).str(), kHead + c.expected_tail);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExpandArgTemplateTest,
    testing::Values(ExpandCase{"NoParameters", {}, "      "},
                    ExpandCase{"TwoParameters", {"a", "bc"}, " a bc    "},
                    ExpandCase{"SixParameters", {"1", "2", "3", "4", "5", "6"}, " 1 2 3 4 5 6"},
                    ExpandCase{"EightParametersIgnoreTheLastTwo",
                               {"1", "2", "3", "4", "5", "6", "7", "8"},
                               " 1 2 3 4 5 6"},
                    ExpandCase{"EmptySecondParameter", {"a", "", "c"}, " a  c   "},
                    ExpandCase{"BlanksInsideKeptWithoutQuotes", {"a b", "\"q\""}, " a b \"q\"    "},
                    ExpandCase{"LaterPlaceholderMissingIsRemoved", {"x%3", "b"}, " x b    "},
                    ExpandCase{"LaterPlaceholderIsFilled", {"x%3", "b", "c"}, " xc b c   "},
                    ExpandCase{"EarlierPlaceholderStays", {"a", "%1", "%3"}, " a %1 %3   "},
                    ExpandCase{"PlaceholderFollowedByDigit", {"%25"}, " 5     "},
                    ExpandCase{"PlaceholderFollowedByDigitFilled", {"%25", "b"}, " b5 b    "},
                    ExpandCase{"OtherPercentsAreText", {"%0%7%%a%"}, " %0%7%%a%     "},
                    ExpandCase{"LettersNeverConverted", {"afz", "AFZ\xE4"}, " afz AFZ\xE4    "},
                    ExpandCase{
                        "PlaceholderFormedAcrossParameterAndTemplate", {"%", "x"}, " % x    "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExpandArgTemplate, IsCutAfter255Characters) {
  std::vector<std::string> params;
  for (char c = 'a'; c < 'a' + 6; ++c) params.push_back(std::string(40, c));
  const std::string result = ExpandArgTemplate(ParamList(params)).str();
  ASSERT_EQ(result.size(), 255u);
  EXPECT_EQ(result.substr(result.size() - 19), " " + std::string(18, 'e'));
  EXPECT_EQ(result.find('f'), std::string::npos);
}

TEST(ExpandArgTemplate, ResultWithoutParametersIs78Characters) {
  EXPECT_EQ(ExpandArgTemplate(ParamList()).size(), 78u);
}

}  // namespace
}  // namespace launcher

#include "launch/environment_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launch/fake_host_services.h"

namespace launcher {
namespace {

struct Case {
  const char* name;
  std::vector<std::string> entries;
  std::string expected;  // value of USERDOMAIN
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class EnvironmentBlockTest : public testing::TestWithParam<Case> {};

TEST_P(EnvironmentBlockTest, FindsUserDomain) {
  const Case& c = GetParam();
  const std::string block = EnvironmentBlock(c.entries);
  EXPECT_EQ(LookUpEnvironmentBlock(block.c_str(), ShortText("USERDOMAIN")).str(), c.expected);
}

const std::string k300(300, 'v');
const std::string kLateEquals = std::string(255, 'N') + "=x";

INSTANTIATE_TEST_SUITE_P(
    Rules, EnvironmentBlockTest,
    testing::Values(Case{"Exact", {"PATH=C:\\", "USERDOMAIN=OFFICE"}, "OFFICE"},
                    Case{"LowerCaseName", {"userdomain=OFFICE"}, "OFFICE"},
                    Case{"FirstOfTwoSpellingsWins", {"UserDomain=A", "USERDOMAIN=B"}, "A"},
                    Case{"FirstOfTwoSpellingsWinsReversed", {"USERDOMAIN=B", "UserDomain=A"}, "B"},
                    Case{"EmptyValue", {"USERDOMAIN=", "UserDomain=late"}, ""},
                    Case{"Missing", {"PATH=C:\\"}, ""},
                    Case{"BlankBeforeEqualsIsPartOfTheName", {"USERDOMAIN =X"}, ""},
                    Case{"ValueKeepsFurtherEquals", {"USERDOMAIN=a=b"}, "a=b"},
                    Case{"ValueCutTo255", {"USERDOMAIN=" + k300}, k300.substr(0, 255)},
                    Case{"EqualsBeyond255IsSkippedWhole", {kLateEquals, "USERDOMAIN=next"}, "next"},
                    Case{"LeadingEqualsHasEmptyName", {"=USERDOMAIN=x", "=C:=C:\\"}, ""},
                    Case{"OnlyAsciiLettersFold", {"USERDOM\xC4IN=x", "USERDOMAIN=y"}, "y"},
                    Case{"EmptyBlock", {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EnvironmentEntry, NonAsciiLettersCompareExactly) {
  EXPECT_EQ(MatchEnvironmentEntry("gr\xE4n=1", "GR\xE4N"), ShortText("1"));
  EXPECT_EQ(MatchEnvironmentEntry("gr\xE4n=1", "GR\xC4N"), std::nullopt);
}

TEST(EnvironmentEntry, NameOfFull255CharactersStillMatches) {
  const std::string name(254, 'A');
  EXPECT_EQ(MatchEnvironmentEntry(name + "=v", name), ShortText("v"));
}

TEST(EnvironmentEntry, NullBlockGivesEmptyText) {
  EXPECT_EQ(LookUpEnvironmentBlock(nullptr, ShortText("USERDOMAIN")), ShortText());
}

}  // namespace
}  // namespace launcher

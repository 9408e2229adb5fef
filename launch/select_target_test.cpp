#include "launch/select_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "launch/fake_host_services.h"

namespace launcher {
namespace {

const std::string kHome = "C:\\APP\\";

struct Case {
  const char* name;
  std::vector<std::string> files;        // bare names in kHome
  std::vector<std::string> directories;  // bare names in kHome
  std::vector<std::string> environment;
  std::string expected;
  bool reads_environment;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class SelectTargetExeTest : public testing::TestWithParam<Case> {};

TEST_P(SelectTargetExeTest, ChoosesTheFirstPresentCandidate) {
  const Case& c = GetParam();
  FakeHostServices host;
  for (const auto& f : c.files) host.AddFile(kHome + f);
  for (const auto& d : c.directories) host.AddDirectory(kHome + d);
  host.environment = c.environment;

  EXPECT_EQ(SelectTargetExe(host, kHome), c.expected);

  const auto env_reads =
      std::count(host.calls.begin(), host.calls.end(), std::string("EnvironmentValue USERDOMAIN"));
  EXPECT_EQ(env_reads, c.reads_environment ? 1 : 0);
}

const std::vector<std::string> kDeveloperPair = {"QZMainD64.exe", "QZClientD64.exe"};

INSTANTIATE_TEST_SUITE_P(
    Candidates, SelectTargetExeTest,
    testing::Values(
        Case{"ServerBeforeMain",
             {"QZMain64.exe", "QZServer64.exe"},
             {},
             {},
             "QZServer64.exe",
             false},
        Case{"MainBeforeClient", {"QZMain64.exe", "QZClient64.exe"}, {}, {}, "QZMain64.exe", false},
        Case{"ClientBeforePlainMain",
             {"QZClient64.exe", "QZMain.exe"},
             {},
             {},
             "QZClient64.exe",
             false},
        Case{"RegularWinsOverDeveloperBuilds",
             {"QZMain.exe", "QZServerD64.exe", "QZMainD.exe"},
             {},
             {"USERDOMAIN=KORVU-DEV"},
             "QZMain.exe",
             false},
        Case{"DeveloperClientBeforeMain",
             kDeveloperPair,
             {},
             {"USERDOMAIN=KORVU-DEV"},
             "QZClientD64.exe",
             true},
        Case{"DeveloperServerFirst",
             {"QZMainD.exe", "QZServerD64.exe"},
             {},
             {"USERDOMAIN=KORVU-DEV"},
             "QZServerD64.exe",
             true},
        Case{"DeveloperPlainMainLast",
             {"QZMainD.exe"},
             {},
             {"USERDOMAIN=KORVU-DEV"},
             "QZMainD.exe",
             true},
        Case{"MarkAnywhereInTheDomain",
             kDeveloperPair,
             {},
             {"USERDOMAIN=XKORVU-1"},
             "QZClientD64.exe",
             true},
        Case{"DomainNameMatchedInAnyCase",
             kDeveloperPair,
             {},
             {"userdomain=KORVU-1"},
             "QZClientD64.exe",
             true},
        Case{"MarkIsCaseSensitive", kDeveloperPair, {}, {"USERDOMAIN=korvu-dev"}, "", true},
        Case{"MarkNeedsTheHyphen", kDeveloperPair, {}, {"USERDOMAIN=KORVU"}, "", true},
        Case{"DomainUnset", kDeveloperPair, {}, {}, "", true},
        Case{"DeveloperDomainWithoutDeveloperBuilds", {}, {}, {"USERDOMAIN=KORVU-DEV"}, "", true},
        Case{"DirectoryNamedLikeAProgramIsPassedOver",
             {"QZMain64.exe"},
             {"QZServer64.exe"},
             {},
             "QZMain64.exe",
             false},
        Case{"OnlyADirectoryIsNothing", {}, {"QZMain.exe"}, {}, "", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SelectTargetExe, AsksForEachCandidateInOrderUnderHomeDir) {
  FakeHostServices host;
  host.environment = {"USERDOMAIN=KORVU-X"};
  EXPECT_EQ(SelectTargetExe(host, kHome), "");
  EXPECT_EQ(host.calls, (std::vector<std::string>{
                            "IsExistingFile C:\\APP\\QZServer64.exe",
                            "IsExistingFile C:\\APP\\QZMain64.exe",
                            "IsExistingFile C:\\APP\\QZClient64.exe",
                            "IsExistingFile C:\\APP\\QZMain.exe",
                            "EnvironmentValue USERDOMAIN",
                            "IsExistingFile C:\\APP\\QZServerD64.exe",
                            "IsExistingFile C:\\APP\\QZClientD64.exe",
                            "IsExistingFile C:\\APP\\QZMainD64.exe",
                            "IsExistingFile C:\\APP\\QZMainD.exe",
                        }));
}

}  // namespace
}  // namespace launcher

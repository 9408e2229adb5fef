#include "launch/run_launcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launch/fake_host_services.h"

namespace launcher {
namespace {

const std::string kArgsWithoutParams =
    "//NOFULLSCREEN /V2 -ni /EXEC:LoadDllFkt(AFZImpKWORKAFZ~AFZUpdateKWORAFZ)      ";

struct Case {
  const char* name;
  std::string working_directory;
  std::vector<std::string> files;
  std::vector<std::string> directories;
  std::vector<std::string> environment;
  std::vector<std::string> expected_calls;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class RunLauncherTest : public testing::TestWithParam<Case> {};

TEST_P(RunLauncherTest, MakesExactlyTheseCalls) {
  const Case& c = GetParam();
  FakeHostServices host;
  host.working_directory = c.working_directory;
  for (const auto& f : c.files) host.AddFile(f);
  for (const auto& d : c.directories) host.AddDirectory(d);
  host.environment = c.environment;

  RunLauncher(host, ParamList{});

  EXPECT_EQ(host.calls, c.expected_calls);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, RunLauncherTest,
    testing::Values(
        Case{"ProgramFound",
             "C:\\APP",
             {"C:\\APP\\ImpKWORK.hrb", "C:\\APP\\QZMain.exe"},
             {},
             {},
             {"CurrentDirectory", "IsExistingFile C:\\APP\\ImpKWORK.hrb",
              "IsExistingFile C:\\APP\\QZServer64.exe", "IsExistingFile C:\\APP\\QZMain64.exe",
              "IsExistingFile C:\\APP\\QZClient64.exe", "IsExistingFile C:\\APP\\QZMain.exe",
              "RunAndWait C:\\APP\\QZMain.exe|" + kArgsWithoutParams}},
        Case{"RootDirectoryGetsNoSecondBackslash",
             "C:\\",
             {"C:\\ImpKWORK.hrb", "C:\\QZServer64.exe"},
             {},
             {},
             {"CurrentDirectory", "IsExistingFile C:\\ImpKWORK.hrb",
              "IsExistingFile C:\\QZServer64.exe",
              "RunAndWait C:\\QZServer64.exe|" + kArgsWithoutParams}},
        Case{"MixedCaseDirectoryKept",
             "c:\\Programme\\Suite",
             {"c:\\Programme\\Suite\\ImpKWORK.hrb", "c:\\Programme\\Suite\\QZServer64.exe"},
             {},
             {},
             {"CurrentDirectory", "IsExistingFile c:\\Programme\\Suite\\ImpKWORK.hrb",
              "IsExistingFile c:\\Programme\\Suite\\QZServer64.exe",
              "RunAndWait c:\\Programme\\Suite\\QZServer64.exe|" + kArgsWithoutParams}},
        Case{"MarkerMissingStopsBeforeAnyProgramOrEnvironment",
             "C:\\APP",
             {"C:\\APP\\QZServer64.exe", "C:\\APP\\QZMain64.exe", "C:\\APP\\QZClient64.exe",
              "C:\\APP\\QZMain.exe", "C:\\APP\\QZMainD.exe"},
             {},
             {"USERDOMAIN=KORVU-DEV"},
             {"CurrentDirectory", "IsExistingFile C:\\APP\\ImpKWORK.hrb",
              "ShowErrorBox C:\\APP\\ImpKWORK.hrb nicht gefunden !"}},
        Case{"MarkerThatIsADirectoryIsMissing",
             "C:\\APP",
             {"C:\\APP\\QZMain.exe"},
             {"C:\\APP\\ImpKWORK.hrb"},
             {},
             {"CurrentDirectory", "IsExistingFile C:\\APP\\ImpKWORK.hrb",
              "ShowErrorBox C:\\APP\\ImpKWORK.hrb nicht gefunden !"}},
        Case{"EmptyDirectoryBecomesTheBackslash",
             "",
             {},
             {},
             {},
             {"CurrentDirectory", "IsExistingFile \\ImpKWORK.hrb",
              "ShowErrorBox \\ImpKWORK.hrb nicht gefunden !"}},
        Case{"NoProgramOutsideTheDeveloperDomain",
             "C:\\APP",
             {"C:\\APP\\ImpKWORK.hrb", "C:\\APP\\QZMainD.exe"},
             {},
             {"USERDOMAIN=OFFICE"},
             {"CurrentDirectory", "IsExistingFile C:\\APP\\ImpKWORK.hrb",
              "IsExistingFile C:\\APP\\QZServer64.exe", "IsExistingFile C:\\APP\\QZMain64.exe",
              "IsExistingFile C:\\APP\\QZClient64.exe", "IsExistingFile C:\\APP\\QZMain.exe",
              "EnvironmentValue USERDOMAIN", "ShowErrorBox Kann die QZMain.EXE nicht finden !"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunLauncher, MarkerErrorTextIsCutTo255Characters) {
  FakeHostServices host;
  host.working_directory = "C:\\" + std::string(240, 'd');
  RunLauncher(host, ParamList{});

  const std::string full = host.working_directory + "\\ImpKWORK.hrb nicht gefunden !";
  ASSERT_EQ(host.calls.size(), 3u);
  EXPECT_EQ(host.calls[2], "ShowErrorBox " + full.substr(0, 255));
}

// A program found under a long path must be started under that same path, not a cut one.
TEST(RunLauncher, LongProgramPathIsHandedOnWhole) {
  FakeHostServices host;
  host.working_directory = "C:\\" + std::string(250, 'd');
  const std::string home = host.working_directory + "\\";
  host.AddFile(home + "ImpKWORK.hrb");
  host.AddFile(home + "QZServer64.exe");

  RunLauncher(host, ParamList{});

  ASSERT_EQ(host.started.size(), 1u);
  EXPECT_EQ(host.started[0].program_path, home + "QZServer64.exe");
  EXPECT_EQ(host.started[0].program_path.size(), 268u);
}

TEST(RunLauncher, ParametersReachTheArgumentString) {
  FakeHostServices host;
  host.working_directory = "C:\\APP";
  host.AddFile("C:\\APP\\ImpKWORK.hrb");
  host.AddFile("C:\\APP\\QZMain64.exe");

  RunLauncher(host, ParamList({"a", "b c"}));

  ASSERT_EQ(host.started.size(), 1u);
  EXPECT_EQ(host.started[0].arguments.str(),
            "//NOFULLSCREEN /V2 -ni /EXEC:LoadDllFkt(AFZImpKWORKAFZ~AFZUpdateKWORAFZ) a b c    ");
}

}  // namespace
}  // namespace launcher

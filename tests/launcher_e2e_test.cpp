// Runs the real launcher.exe as a black box: suite folders on disk, an exact raw command line,
// an exact environment block and working folder; every box it shows is read and closed the
// way a user would, and what the started stand-in program received is read back.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/box_inspector.h"
#include "tests/child_process.h"

namespace launcher::test_support {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kLauncher = WindowsPath(LAUNCHER_EXE);
const std::string kFaultInjection = WindowsPath(FAULT_INJECTION_EXE);
const std::string kStandIn = WindowsPath(STAND_IN_EXE);
const std::string kScratch = WindowsPath(E2E_SCRATCH_DIR);
const std::string kPlantedDll = WindowsPath(PLANTED_DLL);
// Mapped as the root of drive Y: by the test set-up.
const std::string kRootDrive = "Y:\\";

const std::string kHead =
    "//NOFULLSCREEN /V2 -ni /EXEC:LoadDllFkt(AFZImpKWORKAFZ~AFZUpdateKWORAFZ)";
const std::string kMarkerMissing = " nicht gefunden !";
const std::string kNoProgram = "Kann die QZMain.EXE nicht finden !";

// A suite folder made fresh for one test.
struct Suite {
  std::string dir;  // without trailing backslash, except for a drive root

  std::string Path(const std::string& name) const {
    return dir.back() == '\\' ? dir + name : dir + "\\" + name;
  }
  Suite& Marker() { return File("ImpKWORK.hrb"); }
  Suite& File(const std::string& name, const std::string& content = "") {
    std::ofstream(Path(name), std::ios::binary) << content;
    return *this;
  }
  Suite& Program(const std::string& name) {
    fs::copy_file(kStandIn, Path(name), fs::copy_options::overwrite_existing);
    return *this;
  }
  Suite& Directory(const std::string& name) {
    fs::create_directories(Path(name));
    return *this;
  }
  // What the stand-in recorded, "key" -> value; empty when nothing was started.
  std::map<std::string, std::string> Record() const {
    std::ifstream in(Path("started.txt"), std::ios::binary);
    std::map<std::string, std::string> record;
    std::string line;
    while (std::getline(in, line)) {
      const auto colon = line.find(": ");
      if (colon == std::string::npos) continue;
      const std::string key = line.substr(0, colon);
      if (key == "command_line") {
        // Any byte may stand in a command line, a line feed too: read it by its length.
        const auto length = std::stoul(record["command_line_length"]);
        std::string value = line.substr(colon + 2);
        while (value.size() < length && in) {
          std::string more;
          std::getline(in, more);
          value += "\n" + more;
        }
        record[key] = value;
      } else {
        record[key] = line.substr(colon + 2);
      }
    }
    return record;
  }
};

Suite MakeSuite(const std::string& name) {
  Suite suite{kScratch + "\\" + name};
  fs::remove_all(suite.dir);
  fs::create_directories(suite.dir);
  return suite;
}

// A plain environment: what a program needs to start, nothing that names a domain.
std::vector<std::string> Environment(std::vector<std::string> extra = {}) {
  std::vector<std::string> entries = {"PATH=C:\\windows\\system32;C:\\windows",
                                      "SystemRoot=C:\\windows"};
  entries.insert(entries.end(), extra.begin(), extra.end());
  return entries;
}

struct Outcome {
  bool ended = false;
  DWORD exit_code = 0;
  std::vector<BoxContents> boxes;  // every box shown, in order; each closed with OK
};

// Starts the program and plays the user: every box that appears is read, then OK is pressed.
Outcome RunProgram(const std::string& exe, const std::string& command_line,
                   const std::string& folder, const std::vector<std::string>& environment) {
  ChildProcess child({exe, command_line, environment, folder});
  EXPECT_TRUE(child.started()) << "start error " << child.start_error();
  Outcome outcome;
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  while (child.started() && !child.WaitForExit(0ms) &&
         std::chrono::steady_clock::now() < deadline) {
    if (HWND box = WaitForMessageBox(child.id(), 200ms, child.handle())) {
      outcome.boxes.push_back(ReadMessageBox(box));
      // The launcher must still be waiting for the user.
      EXPECT_FALSE(child.WaitForExit(0ms));
      EXPECT_TRUE(PressOk(box));
      EXPECT_TRUE(WaitForBoxClosed(box, 10s));
    }
  }
  outcome.ended = child.WaitForExit(0ms);
  if (auto code = child.ExitCode()) outcome.exit_code = *code;
  return outcome;
}

Outcome RunLauncherIn(const Suite& suite, const std::string& command_line = "launcher.exe",
                      const std::vector<std::string>& environment = Environment()) {
  return RunProgram(kLauncher, command_line, suite.dir, environment);
}

void ExpectErrorBox(const BoxContents& box, const std::string& text) {
  EXPECT_EQ(box.caption, "Fehler !");
  EXPECT_EQ(box.text, text);
  EXPECT_TRUE(box.has_icon);
  ASSERT_EQ(box.buttons.size(), 1u);
  EXPECT_EQ(box.buttons[0].id, IDOK);
  EXPECT_EQ(box.owner, nullptr);
}

// ---- What the started program receives: splitting and expansion, end to end ----

struct ArgsCase {
  const char* name;
  std::string command_line;  // the launcher's own raw command line
  std::string expected;      // what follows the fixed directive in the started program's
};
void PrintTo(const ArgsCase& c, std::ostream* out) { *out << c.name; }

std::string ExplosiveCommandLine() {
  std::string line = "launcher.exe";
  for (const char* next : {"%2", "%3", "%4", "%5", "%6"}) {
    line += ' ';
    for (int i = 0; i < 1500; ++i) line += next;
  }
  return line + " z";
}

class StartedProgramReceives : public testing::TestWithParam<ArgsCase> {};

TEST_P(StartedProgramReceives, ExactCommandLine) {
  const ArgsCase& c = GetParam();
  Suite suite = MakeSuite(std::string("args-") + c.name);
  suite.Marker().Program("QZMain.exe");

  const Outcome outcome = RunLauncherIn(suite, c.command_line);

  ASSERT_TRUE(outcome.ended);
  EXPECT_EQ(outcome.exit_code, 0u);  // the stand-in itself ended with 3
  EXPECT_TRUE(outcome.boxes.empty());
  EXPECT_EQ(suite.Record()["command_line"],
            "\"" + suite.Path("QZMain.exe") + "\"  " + kHead + c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Parameters, StartedProgramReceives,
    testing::Values(
        ArgsCase{"None", "launcher.exe", "      "}, ArgsCase{"EmptyCommandLine", "", "      "},
        ArgsCase{"QuotedRunsAndBlanks", "launcher.exe a \"b c\" d", " a b c d   "},
        ArgsCase{"QuotedProgramName", "\"C:\\Program Files\\App\\launcher.exe\" -x", " -x     "},
        ArgsCase{"UnquotedProgramNameWithBlank", "C:\\Program Files\\launcher.exe -x",
                 " Files\\launcher.exe -x    "},
        ArgsCase{"QuoteInsideAToken", "launcher.exe ab\"cd ef\"gh", " abcd efgh     "},
        ArgsCase{"BackslashEscapesNothing", "launcher.exe a\\\"b c\\\"", " a\\b c\\     "},
        ArgsCase{"EmptyParameterKeepsItsPlace", "launcher.exe x \"\" z", " x  z   "},
        ArgsCase{"EightParametersUseSix", "launcher.exe 1 2 3 4 5 6 7 8", " 1 2 3 4 5 6"},
        ArgsCase{"PlaceholderInParameter", "launcher.exe x%3 b c", " xc b c   "},
        ArgsCase{"TabsAndControlBytesSeparate",
                 "launcher.exe\t\ta\x01"
                 "b",
                 " a b    "},
        ArgsCase{"AnsiBytesPassUnchanged", "launcher.exe \xE4\xF6\xFC \xDF",
                 " \xE4\xF6\xFC \xDF    "},
        // Each parameter holds 1,500 placeholders of the next: the six steps read plainly
        // would need about 10^16 bytes; the launcher must still start the program at once.
        ArgsCase{"ExplosivePlaceholderChain", ExplosiveCommandLine(), " " + std::string(182, 'z')}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The three outcomes ----

TEST(Launcher, MissingMarkerShowsTheFirstBoxOnlyAndStartsNothing) {
  Suite suite = MakeSuite("no-marker");
  suite.Program("QZServer64.exe").Program("QZMain.exe").Program("QZMainD.exe");

  const Outcome outcome =
      RunLauncherIn(suite, "launcher.exe a", Environment({"USERDOMAIN=KORVU-1"}));

  ASSERT_TRUE(outcome.ended);
  EXPECT_EQ(outcome.exit_code, 0u);
  ASSERT_EQ(outcome.boxes.size(), 1u);
  ExpectErrorBox(outcome.boxes[0], suite.Path("ImpKWORK.hrb") + kMarkerMissing);
  EXPECT_TRUE(suite.Record().empty());
}

TEST(Launcher, MarkerThatIsADirectoryCountsAsMissing) {
  Suite suite = MakeSuite("marker-directory");
  suite.Directory("ImpKWORK.hrb").Program("QZMain.exe");

  const Outcome outcome = RunLauncherIn(suite);

  ASSERT_EQ(outcome.boxes.size(), 1u);
  ExpectErrorBox(outcome.boxes[0], suite.Path("ImpKWORK.hrb") + kMarkerMissing);
  EXPECT_EQ(outcome.exit_code, 0u);
}

TEST(Launcher, NoProgramShowsTheSecondBox) {
  Suite suite = MakeSuite("no-program");
  suite.Marker().Directory("QZMain.exe").Program("QZMainD.exe");

  const Outcome outcome = RunLauncherIn(suite, "launcher.exe", Environment({"USERDOMAIN=OFFICE"}));

  ASSERT_TRUE(outcome.ended);
  EXPECT_EQ(outcome.exit_code, 0u);
  ASSERT_EQ(outcome.boxes.size(), 1u);
  ExpectErrorBox(outcome.boxes[0], kNoProgram);
  EXPECT_TRUE(suite.Record().empty());
}

TEST(Launcher, FirstRegularProgramIsStartedInTheSuiteFolderWithOurEnvironment) {
  Suite suite = MakeSuite("Mixed Case Suite");
  suite.Marker().Program("QZMain.exe").Program("QZClient64.exe").Program("QZMain64.exe");

  const Outcome outcome =
      RunLauncherIn(suite, "launcher.exe", Environment({"LAUNCHER_TEST_MARK=passed on"}));

  EXPECT_TRUE(outcome.boxes.empty());
  auto record = suite.Record();
  EXPECT_EQ(record["module"], suite.Path("QZMain64.exe"));
  EXPECT_EQ(record["directory"], suite.dir);
  EXPECT_EQ(record["test_mark"], "passed on");
  EXPECT_EQ(record["startup_flags"], "0");
  EXPECT_EQ(record["priority_class"], "32");
}

// ---- The developer domain ----

struct DomainCase {
  const char* name;
  std::string domain_entry;
  std::string expected_program;  // empty: the second box
};
void PrintTo(const DomainCase& c, std::ostream* out) { *out << c.name; }

class DeveloperDomain : public testing::TestWithParam<DomainCase> {};

TEST_P(DeveloperDomain, DecidesWhetherDeveloperBuildsCount) {
  const DomainCase& c = GetParam();
  Suite suite = MakeSuite(std::string("domain-") + c.name);
  suite.Marker().Program("QZMainD64.exe").Program("QZClientD64.exe");

  const Outcome outcome = RunLauncherIn(suite, "launcher.exe", Environment({c.domain_entry}));

  EXPECT_EQ(outcome.exit_code, 0u);
  if (c.expected_program.empty()) {
    ASSERT_EQ(outcome.boxes.size(), 1u);
    ExpectErrorBox(outcome.boxes[0], kNoProgram);
  } else {
    EXPECT_TRUE(outcome.boxes.empty());
    EXPECT_EQ(suite.Record()["module"], suite.Path(c.expected_program));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Domains, DeveloperDomain,
    testing::Values(DomainCase{"Developer", "USERDOMAIN=KORVU-DEV", "QZClientD64.exe"},
                    DomainCase{"MarkInside", "userdomain=XKORVU-1", "QZClientD64.exe"},
                    DomainCase{"LowerCaseMark", "USERDOMAIN=korvu-dev", ""},
                    DomainCase{"Office", "USERDOMAIN=OFFICE", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The root of a drive ----

TEST(Launcher, RootDirectoryGetsNoDoubledBackslash) {
  Suite suite{kRootDrive};
  fs::remove(suite.Path("started.txt"));
  suite.Marker().Program("QZMain.exe");

  const Outcome outcome = RunLauncherIn(suite, "launcher.exe r");

  EXPECT_TRUE(outcome.boxes.empty());
  EXPECT_EQ(suite.Record()["command_line"], "\"Y:\\QZMain.exe\"  " + kHead + " r     ");
}

// ---- The started program's end, whatever it is ----

TEST(Launcher, WaitsUntilTheStartedProgramHasEnded) {
  Suite suite = MakeSuite("waits");
  suite.Marker().Program("QZServer64.exe");

  const Outcome outcome =
      RunLauncherIn(suite, "launcher.exe", Environment({"STAND_IN_SLEEP_MS=1500"}));

  // The stand-in writes its last line only after its sleep, just before it ends.
  EXPECT_EQ(suite.Record()["end"], "exit 3");
  EXPECT_EQ(outcome.exit_code, 0u);
}

// The names of the modules loaded in a process, lower case.
std::vector<std::string> LoadedModules(HANDLE process) {
  HMODULE modules[512];
  DWORD needed = 0;
  std::vector<std::string> names;
  if (!EnumProcessModules(process, modules, sizeof modules, &needed)) return names;
  for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
    char name[MAX_PATH] = {};
    GetModuleBaseNameA(process, modules[i], name, sizeof name);
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    names.push_back(lower);
  }
  return names;
}

// On the normal path the launcher shows nothing, so it must not pay for the window system.
TEST(Launcher, LoadsNoWindowSystemWhileItWaits) {
  Suite suite = MakeSuite("no-window-system");
  suite.Marker().Program("QZMain.exe");
  ChildProcess launcher(
      {kLauncher, "launcher.exe", Environment({"STAND_IN_SLEEP_MS=3000"}), suite.dir});
  ASSERT_TRUE(launcher.started());
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (suite.Record().empty() && std::chrono::steady_clock::now() < deadline) Sleep(50);
  ASSERT_FALSE(suite.Record().empty());
  ASSERT_FALSE(launcher.WaitForExit(0ms));  // still waiting for the stand-in

  const auto modules = LoadedModules(launcher.handle());
  EXPECT_NE(std::find(modules.begin(), modules.end(), "kernel32.dll"), modules.end());
  EXPECT_EQ(std::find(modules.begin(), modules.end(), "user32.dll"), modules.end());
  EXPECT_TRUE(launcher.WaitForExit(20s));
}

TEST(Launcher, EndsWithZeroWhenTheStartedProgramCrashes) {
  Suite suite = MakeSuite("crash");
  suite.Marker().Program("QZMain.exe");

  const Outcome outcome = RunLauncherIn(suite, "launcher.exe", Environment({"STAND_IN_CRASH=1"}));

  EXPECT_EQ(suite.Record()["end"], "access violation");
  EXPECT_TRUE(outcome.boxes.empty());
  EXPECT_EQ(outcome.exit_code, 0u);
}

TEST(Launcher, EndsWithZeroAndNoBoxWhenTheProgramCannotStart) {
  Suite suite = MakeSuite("not-a-program");
  suite.Marker().File("QZMain.exe", "this is not a program");

  const Outcome outcome = RunLauncherIn(suite);

  ASSERT_TRUE(outcome.ended);
  EXPECT_TRUE(outcome.boxes.empty());
  EXPECT_EQ(outcome.exit_code, 0u);
}

// ---- Internal failures ----

// "An unhandled exception occurred at $" + eight upper-case hex digits + " :" CR LF + more.
bool IsFailureReport(const std::string& text) {
  const std::string head = "An unhandled exception occurred at $";
  if (text.rfind(head, 0) != 0 || text.size() < head.size() + 12) return false;
  for (std::size_t i = head.size(); i < head.size() + 8; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i])) && (text[i] < 'A' || text[i] > 'F')) {
      return false;
    }
  }
  return text.compare(head.size() + 8, 4, " :\r\n") == 0;
}

class InternalFailure : public testing::TestWithParam<const char*> {};

TEST_P(InternalFailure, ShowsOneFailureBoxAndEndsWith217) {
  // No marker here: after a failure, the marker box must not follow.
  Suite suite = MakeSuite(std::string("failure-") + GetParam());
  suite.Program("QZMain.exe");

  const Outcome outcome =
      RunProgram(kFaultInjection, "launcher.exe a", suite.dir,
                 Environment({std::string("LAUNCHER_INJECT_FAULT=") + GetParam()}));

  ASSERT_TRUE(outcome.ended);
  EXPECT_EQ(outcome.exit_code, 217u);
  ASSERT_EQ(outcome.boxes.size(), 1u);
  const BoxContents& box = outcome.boxes[0];
  EXPECT_EQ(box.caption, "Error");
  EXPECT_TRUE(IsFailureReport(box.text)) << box.text;
  EXPECT_FALSE(box.has_icon);
  ASSERT_EQ(box.buttons.size(), 1u);
  EXPECT_EQ(box.buttons[0].id, IDOK);
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_TRUE(suite.Record().empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, InternalFailure, testing::Values("memory", "access", "divide"));

TEST(Launcher, TwinWithoutInjectionBehavesLikeTheLauncher) {
  Suite suite = MakeSuite("twin");
  suite.Marker().Program("QZMain.exe");
  const Outcome outcome = RunProgram(kFaultInjection, "launcher.exe t", suite.dir, Environment());
  EXPECT_EQ(outcome.exit_code, 0u);
  EXPECT_EQ(suite.Record()["command_line"],
            "\"" + suite.Path("QZMain.exe") + "\"  " + kHead + " t     ");
}

// ---- DLLs dropped into the suite folder ----

// A suite folder may be writable by its users: whatever DLL lies there, beside the launcher
// itself, must never be loaded by it, neither on the normal path nor to show a box.
TEST(Launcher, LoadsNoDllFromItsOwnFolder) {
  const std::vector<std::string> names = {
      "libgcc_s_dw2-1.dll", "libwinpthread-1.dll", "libstdc++-6.dll", "user32.dll",  "gdi32.dll",
      "win32u.dll",         "imm32.dll",           "comctl32.dll",    "uxtheme.dll", "version.dll"};
  struct Path {
    const char* folder;
    std::string exe;
    bool marker;
    std::string fault;
  };
  for (const Path& path :
       {Path{"planted-start", kLauncher, true, ""}, Path{"planted-box", kLauncher, false, ""},
        Path{"planted-failure", kFaultInjection, true, "access"}}) {
    Suite suite = MakeSuite(path.folder);
    if (path.marker) suite.Marker();
    suite.Program("QZMain.exe");
    for (const auto& name : names) fs::copy_file(kPlantedDll, suite.Path(name));
    const std::string own_copy = suite.Path("launcher.exe");
    fs::copy_file(path.exe, own_copy);

    RunProgram(own_copy, "launcher.exe", suite.dir,
               Environment({"LAUNCHER_INJECT_FAULT=" + path.fault}));

    EXPECT_FALSE(fs::exists(suite.Path("planted-dll-was-loaded.txt"))) << path.folder;
  }
}

}  // namespace
}  // namespace launcher::test_support

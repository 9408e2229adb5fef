#include "host/run_and_wait.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <sstream>
#include <string>

namespace launcher {
namespace {

// The folder of this test program, with its trailing backslash; the build puts the stand-in
// suite program beside it.
std::string OwnFolder() {
  char name[MAX_PATH] = {};
  const std::string path(name, GetModuleFileNameA(nullptr, name, MAX_PATH));
  return path.substr(0, path.rfind('\\') + 1);
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(folder.c_str());
}

// What the stand-in wrote into started.txt: its "key: value" lines, the command line taken
// by its recorded length. Empty when there is no record.
std::map<std::string, std::string> ReadRecord(const std::string& folder) {
  std::ifstream file(folder + "\\started.txt", std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::map<std::string, std::string> record;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t colon = text.find(": ", at);
    if (colon == std::string::npos) break;
    const std::string key = text.substr(at, colon - at);
    std::size_t end = text.find('\n', colon);
    if (key == "command_line") end = colon + 2 + std::stoul(record["command_line_length"]);
    if (end == std::string::npos || end > text.size()) break;
    record[key] = text.substr(colon + 2, end - colon - 2);
    at = end + 1;
  }
  return record;
}

// Each test gets a fresh folder under the temp folder as its working directory; the folder
// and the variables the tests set are gone afterwards.
class RunAndWaitTest : public testing::Test {
 protected:
  void SetUp() override {
    char text[MAX_PATH] = {};
    saved_directory_.assign(text, GetCurrentDirectoryA(MAX_PATH, text));
    static int counter = 0;
    std::ostringstream root;
    root.write(text, GetTempPathA(MAX_PATH, text));
    root << "runwait" << GetCurrentProcessId() << '_' << ++counter;
    root_ = root.str();
    RemoveTree(root_);  // left by an earlier run whose process had the same id
    ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr)) << root_;
    ASSERT_TRUE(SetCurrentDirectoryA(root_.c_str()));
  }

  void TearDown() override {
    SetCurrentDirectoryA(saved_directory_.c_str());
    SetEnvironmentVariableA("STAND_IN_SLEEP_MS", nullptr);
    SetEnvironmentVariableA("STAND_IN_CRASH", nullptr);
    SetEnvironmentVariableA("LAUNCHER_TEST_MARK", nullptr);
    RemoveTree(root_);
  }

  // Puts a copy of the stand-in at `path`, making the folders on the way below root_.
  static void PlaceStandIn(const std::string& path) {
    for (std::size_t slash = path.find('\\', 3); slash != std::string::npos;
         slash = path.find('\\', slash + 1)) {
      CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    }
    ASSERT_TRUE(CopyFileA((OwnFolder() + "stand_in_program.exe").c_str(), path.c_str(), FALSE))
        << path << " error " << GetLastError();
  }

  std::string saved_directory_;
  std::string root_;
};

struct CommandLineCase {
  const char* name;
  std::string folder;  // below the test's folder; empty for the folder itself
  std::string file_name;
  std::size_t path_length;  // when not 0: folders are added until the path is this long
  std::string arguments;
};

void PrintTo(const CommandLineCase& c, std::ostream* out) { *out << c.name; }

class RunAndWaitCommandLineTest : public RunAndWaitTest,
                                  public testing::WithParamInterface<CommandLineCase> {};

// The started program sees its whole path in quotes, two blanks and the argument string,
// byte for byte, and it is the very file that was named.
TEST_P(RunAndWaitCommandLineTest, StartedProgramGetsExactCommandLine) {
  const CommandLineCase& c = GetParam();
  std::string folder = c.folder.empty() ? root_ : root_ + "\\" + c.folder;
  if (c.path_length != 0) {
    // Each added folder costs its name and a backslash.
    std::size_t missing = c.path_length - (folder.size() + 1 + c.file_name.size());
    while (missing > 0) {
      const std::size_t name_length = missing - 1 <= 100 ? missing - 1 : 50;
      folder += "\\" + std::string(name_length, 'd');
      missing -= name_length + 1;
    }
  }
  const std::string path = folder + "\\" + c.file_name;
  if (c.path_length != 0) {
    ASSERT_EQ(path.size(), c.path_length);
  }
  ASSERT_NO_FATAL_FAILURE(PlaceStandIn(path));

  RunAndWait(LaunchRequest{path, ShortText(c.arguments)});

  auto record = ReadRecord(root_);
  EXPECT_EQ(record["command_line"], '"' + path + "\"  " + c.arguments);
  EXPECT_EQ(record["module"], path);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RunAndWaitCommandLineTest,
    testing::Values(CommandLineCase{"Plain", "", "QZMain.exe", 0, "-ni"},
                    CommandLineCase{"BlanksInPath", "Suite Folder", "QZ Main.exe", 0, "-ni /V2"},
                    CommandLineCase{"EmptyArguments", "Suite Folder", "QZMain.exe", 0, ""},
                    CommandLineCase{
                        "QuotesBlanksAndBackslashesInArguments", "", "QZServer64.exe", 0,
                        " //NOFULLSCREEN /V2 \"a b\" c:\\dir\\ \\\"q\\\\\" \"open  x\\\\ \xE4  "},
                    CommandLineCase{"Path253", "", "QZMain.exe", 253, "-ni"},
                    CommandLineCase{"Path254", "", "QZMain.exe", 254, "-ni"},
                    CommandLineCase{"Path255", "", "QZMain.exe", 255, ""},
                    CommandLineCase{"Path253WithLongestArguments", "", "QZMain.exe", 253,
                                    std::string(254, 'a') + '"'}),
    [](const auto& info) { return std::string(info.param.name); });

struct EndCase {
  const char* name;
  bool crash;
  const char* end;  // the stand-in's last record line
};

void PrintTo(const EndCase& c, std::ostream* out) { *out << c.name; }

class RunAndWaitEndTest : public RunAndWaitTest, public testing::WithParamInterface<EndCase> {};

TEST_P(RunAndWaitEndTest, ReturnsOnlyAfterTheProgramHasEnded) {
  const std::string path = root_ + "\\QZMain.exe";
  ASSERT_NO_FATAL_FAILURE(PlaceStandIn(path));
  // The stand-in writes its last line after this sleep, just before it ends.
  SetEnvironmentVariableA("STAND_IN_SLEEP_MS", "500");
  if (GetParam().crash) SetEnvironmentVariableA("STAND_IN_CRASH", "1");

  RunAndWait(LaunchRequest{path, ShortText("-ni")});

  auto record = ReadRecord(root_);
  EXPECT_EQ(record["end"], GetParam().end);
  ASSERT_FALSE(record["process_id"].empty());
  // Once its last handle is closed an ended process cannot be opened any more.
  const HANDLE process =
      OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(std::stoul(record["process_id"])));
  if (process != nullptr) {
    EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_OBJECT_0) << "the program still runs";
    CloseHandle(process);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, RunAndWaitEndTest,
                         testing::Values(EndCase{"ExitCode3", false, "exit 3"},
                                         EndCase{"AccessViolation", true, "access violation"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunAndWaitTest, ProgramRunsInCallersDirectoryWithCallersEnvironment) {
  const std::string home = root_ + "\\Home Dir";
  const std::string path = root_ + "\\Programs\\QZMain.exe";
  ASSERT_NO_FATAL_FAILURE(PlaceStandIn(path));
  ASSERT_TRUE(CreateDirectoryA(home.c_str(), nullptr));
  ASSERT_TRUE(SetCurrentDirectoryA(home.c_str()));
  const std::string mark = "mark " + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(SetEnvironmentVariableA("LAUNCHER_TEST_MARK", mark.c_str()));

  RunAndWait(LaunchRequest{path, ShortText("")});

  auto record = ReadRecord(home);
  EXPECT_EQ(record["directory"], home);
  EXPECT_EQ(record["test_mark_present"], "yes");
  EXPECT_EQ(record["test_mark"], mark);
  EXPECT_EQ(record["startup_flags"], "0");
  EXPECT_EQ(record["show_window"], "1");
  EXPECT_EQ(record["priority_class"], std::to_string(NORMAL_PRIORITY_CLASS));
  EXPECT_TRUE(ReadRecord(root_ + "\\Programs").empty());
}

DWORD WINAPI RunAndWaitOnThread(void* request) {
  RunAndWait(*static_cast<const LaunchRequest*>(request));
  return 0;
}

struct FailedStartCase {
  const char* name;
  const char* content;  // of the named file; nullptr when it is missing
};

void PrintTo(const FailedStartCase& c, std::ostream* out) { *out << c.name; }

class RunAndWaitFailedStartTest : public RunAndWaitTest,
                                  public testing::WithParamInterface<FailedStartCase> {};

// A program that cannot be started ends the call at once, with no box waiting for a click and
// no other attempt: the stand-in at "QZ.exe" is what the path would start without its quotes.
TEST_P(RunAndWaitFailedStartTest, ReturnsAtOnceAndStartsNothing) {
  ASSERT_NO_FATAL_FAILURE(PlaceStandIn(root_ + "\\QZ.exe"));
  const std::string path = root_ + "\\QZ Main.exe";
  if (GetParam().content != nullptr) {
    std::ofstream(path, std::ios::binary) << GetParam().content;
  }

  // Left allocated if the call hangs: the thread that holds it is then still running.
  auto* request = new LaunchRequest{path, ShortText("-ni")};
  const HANDLE thread = CreateThread(nullptr, 0, RunAndWaitOnThread, request, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  const DWORD waited = WaitForSingleObject(thread, 20000);
  CloseHandle(thread);
  ASSERT_EQ(waited, WAIT_OBJECT_0) << "RunAndWait did not return";
  delete request;

  EXPECT_TRUE(ReadRecord(root_).empty()) << "some program was started";
}

INSTANTIATE_TEST_SUITE_P(Table, RunAndWaitFailedStartTest,
                         testing::Values(FailedStartCase{"NotAProgram",
                                                         "This is not a program.\r\n"},
                                         FailedStartCase{"Missing", nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace launcher

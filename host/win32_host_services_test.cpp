#include "host/win32_host_services.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/box_inspector.h"
#include "tests/child_process.h"

namespace launcher {
namespace {

using namespace std::chrono_literals;
using test_support::ChildProcess;

const std::string kProbe = test_support::WindowsPath(HOST_SERVICES_PROBE);

// The probe is started by its full name, so the quoted name on its command line is only
// what its own argument parsing sees as argument 0.
ChildProcess StartProbe(const std::string& arguments,
                        std::optional<std::vector<std::string>> environment = std::nullopt) {
  return ChildProcess({kProbe, "\"" + kProbe + "\" " + arguments, std::move(environment), ""});
}

std::wstring Widen(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                  wide.data(), static_cast<int>(wide.size())));
  return wide;
}

// Wide calls with the "\\?\" prefix, so folders too long for the ANSI calls go as well.
void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

// A new folder in the temp folder, removed with all it holds at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int count = 0;
    path_ = std::string(temp) + "hs" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++count);
    EXPECT_TRUE(CreateDirectoryA(path_.c_str(), nullptr)) << path_;
  }
  ~ScratchFolder() { RemoveTree(LongForm()); }
  const std::string& path() const { return path_; }
  std::wstring LongForm() const { return L"\\\\?\\" + Widen(path_); }

 private:
  std::string path_;
};

// Creates the folder `path` ("X:\..."), and any of its parents that are missing.
void MakeFolders(const std::string& path) {
  for (auto at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  }
  CreateDirectoryA(path.c_str(), nullptr);
}

// A folder below `base` whose path has exactly `length` characters.
std::string NestedPathOfLength(const std::string& base, std::size_t length) {
  std::string path = base;
  while (length - path.size() > 120) path += "\\" + std::string(100, 'd');
  return path + "\\" + std::string(length - path.size() - 1, 'e');
}

// ---------------------------------------------------------------------------------------
// CurrentDirectory

class CurrentDirectoryTest : public testing::Test {
 protected:
  void SetUp() override { GetCurrentDirectoryA(MAX_PATH, saved_); }
  void TearDown() override { SetCurrentDirectoryA(saved_); }

  ScratchFolder scratch_;
  char saved_[MAX_PATH] = {};
};

struct DirectoryCase {
  const char* name;
  std::string (*folder)(const std::string& scratch);  // the folder to make and enter
};

void PrintTo(const DirectoryCase& c, std::ostream* out) { *out << c.name; }

class CurrentDirectoryCaseTest : public CurrentDirectoryTest,
                                 public testing::WithParamInterface<DirectoryCase> {};

TEST_P(CurrentDirectoryCaseTest, GivesTheFirst255CharactersAsTheSystemReportsThem) {
  const std::string folder = GetParam().folder(scratch_.path());
  MakeFolders(folder);
  ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str())) << folder;

  EXPECT_EQ(Win32HostServices().CurrentDirectory().str(), folder.substr(0, 255));
}

INSTANTIATE_TEST_SUITE_P(
    Win32, CurrentDirectoryCaseTest,
    testing::Values(DirectoryCase{"MixedCaseAndBytesKept",
                                  [](const std::string& s) {
                                    return s +
                                           "\\Mixed Case\\Gr\xFC\xDF"
                                           "e";
                                  }},
                    DirectoryCase{"LongDirectoryWhole",
                                  [](const std::string& s) { return NestedPathOfLength(s, 250); }},
                    DirectoryCase{"Of258CharactersCutTo255",
                                  [](const std::string& s) { return NestedPathOfLength(s, 258); }},
                    DirectoryCase{"RootKeepsItsBackslash",
                                  [](const std::string&) -> std::string { return "C:\\"; }}),
    [](const auto& info) { return std::string(info.param.name); });

// A directory that does not fit the buffer must not give the empty text, which would send
// every later look-up to the root of the drive.
TEST_F(CurrentDirectoryTest, DirectoryTooLongForTheBufferGivesDot) {
  std::wstring folder = scratch_.LongForm();
  for (int i = 0; i < 3; ++i) {
    folder += L"\\" + std::wstring(100, L'd');
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  }
  if (!SetCurrentDirectoryW(folder.c_str())) {
    GTEST_SKIP() << "this system refuses working directories of 300 characters";
  }
  EXPECT_EQ(Win32HostServices().CurrentDirectory(), ShortText("."));
}

// ---------------------------------------------------------------------------------------
// IsExistingFile

enum class Entry { kFile, kFolder, kNone };

struct FileCase {
  const char* name;
  Entry entry;
  const char* file_name;  // below the scratch folder; null: the empty path
  DWORD attributes;       // set on a file after it was made
  bool expected;
  std::size_t path_length = 0;  // when set, the file name is padded to this path length
};

void PrintTo(const FileCase& c, std::ostream* out) { *out << c.name; }

class IsExistingFileTest : public testing::TestWithParam<FileCase> {
 protected:
  ScratchFolder scratch_;
};

TEST_P(IsExistingFileTest, CountsFilesOnly) {
  const FileCase& c = GetParam();
  std::string path;
  if (c.file_name) {
    path = scratch_.path() + "\\" + c.file_name;
    if (c.path_length > path.size()) path.append(c.path_length - path.size(), 'f');
  }
  if (c.entry == Entry::kFolder) {
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
  }
  if (c.entry == Entry::kFile) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    CloseHandle(file);
    if (c.attributes) {
      ASSERT_TRUE(SetFileAttributesA(path.c_str(), c.attributes));
      ASSERT_EQ(GetFileAttributesA(path.c_str()) & c.attributes, c.attributes);
    }
  }

  EXPECT_EQ(Win32HostServices().IsExistingFile(path), c.expected) << path;
}

constexpr DWORD kAllOddAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

INSTANTIATE_TEST_SUITE_P(
    Win32, IsExistingFileTest,
    testing::Values(FileCase{"PlainFile", Entry::kFile, "plain.txt", 0, true},
                    FileCase{"ReadOnlyFile", Entry::kFile, "ro.txt", FILE_ATTRIBUTE_READONLY, true},
                    FileCase{"HiddenFile", Entry::kFile, "hidden.txt", FILE_ATTRIBUTE_HIDDEN, true},
                    FileCase{"SystemFile", Entry::kFile, "system.txt", FILE_ATTRIBUTE_SYSTEM, true},
                    FileCase{"ReadOnlyHiddenSystemFile", Entry::kFile, "all.txt", kAllOddAttributes,
                             true},
                    FileCase{"PathLongerThan255NotCut", Entry::kFile, "long", 0, true, 258},
                    FileCase{"Folder", Entry::kFolder, "folder", 0, false},
                    FileCase{"FolderNamedLikeTheMarker", Entry::kFolder, "ImpKWORK.hrb", 0, false},
                    FileCase{"FolderNamedLikeAProgram", Entry::kFolder, "QZMain.exe", 0, false},
                    FileCase{"MissingPath", Entry::kNone, "missing.txt", 0, false},
                    FileCase{"EmptyPath", Entry::kNone, nullptr, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------
// EnvironmentValue, read by a probe process whose environment block is built here: Wine
// would overwrite a USERDOMAIN set from outside.

struct EnvironmentCase {
  const char* name;
  std::vector<std::string> entries;
  std::string expected;
};

void PrintTo(const EnvironmentCase& c, std::ostream* out) { *out << c.name; }

class EnvironmentValueTest : public testing::TestWithParam<EnvironmentCase> {
 protected:
  ScratchFolder scratch_;
};

TEST_P(EnvironmentValueTest, ReadsUserDomainFromTheProcessBlock) {
  const EnvironmentCase& c = GetParam();
  const std::string out = scratch_.path() + "\\value.bin";
  ChildProcess probe = StartProbe("environment \"" + out + "\"", c.entries);
  ASSERT_TRUE(probe.started()) << probe.start_error();
  ASSERT_TRUE(probe.WaitForExit(20s));
  ASSERT_EQ(probe.ExitCode(), 0u);

  std::ifstream in(out, std::ios::binary);
  ASSERT_TRUE(in) << out;
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.expected);
}

const std::string k300(300, 'v');

INSTANTIATE_TEST_SUITE_P(
    Win32, EnvironmentValueTest,
    testing::Values(
        EnvironmentCase{"LowerCaseName", {"PATH=C:\\windows", "userdomain=OFFICE"}, "OFFICE"},
        EnvironmentCase{"FirstOfTwoSpellingsWins", {"UserDomain=A", "USERDOMAIN=B"}, "A"},
        EnvironmentCase{"FirstOfTwoSpellingsWinsReversed", {"USERDOMAIN=B", "UserDomain=A"}, "B"},
        EnvironmentCase{"BlankBeforeEqualsIsPartOfTheName", {"USERDOMAIN =X"}, ""},
        EnvironmentCase{"EmptyValue", {"USERDOMAIN=", "UserDomain=late"}, ""},
        EnvironmentCase{"ValueOf300CutTo255", {"USERDOMAIN=" + k300}, k300.substr(0, 255)},
        EnvironmentCase{"EqualsAfterThe255thCharacterIsSkipped",
                        {"USERDOMAIN" + std::string(250, 'N') + "=x", "USERDOMAIN=next"},
                        "next"},
        EnvironmentCase{"ValueBytesKept", {"USERDOMAIN=KORVU-K\xD6LN"}, "KORVU-K\xD6LN"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every call reads the process's block as it is now: a copy taken at start (as the C
// runtime keeps one) would miss a change.
TEST(EnvironmentValue, ReadsTheCurrentBlockOnEveryCall) {
  Win32HostServices services;
  const ShortText name("USERDOMAIN");
  const ShortText before = services.EnvironmentValue(name);
  ASSERT_TRUE(SetEnvironmentVariableA("userDomain", "FRESH-1"));
  EXPECT_EQ(services.EnvironmentValue(name), ShortText("FRESH-1"));
  ASSERT_TRUE(SetEnvironmentVariableA("USERDOMAIN", "FRESH-2"));
  EXPECT_EQ(services.EnvironmentValue(name), ShortText("FRESH-2"));
  SetEnvironmentVariableA("USERDOMAIN", before.empty() ? nullptr : before.c_str());
}

// ---------------------------------------------------------------------------------------
// The message boxes, shown for real by a probe process and closed from here.

struct BoxCase {
  const char* name;
  std::string probe_arguments;
  std::string caption;
  std::string text;
  bool has_icon;
};

void PrintTo(const BoxCase& c, std::ostream* out) { *out << c.name; }

class MessageBoxTest : public testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxTest, ShowsTheBoxUntilOkIsPressed) {
  const BoxCase& c = GetParam();
  ChildProcess probe = StartProbe(c.probe_arguments);
  ASSERT_TRUE(probe.started()) << probe.start_error();

  const HWND box = test_support::WaitForMessageBox(probe.id(), 20s, probe.handle());
  ASSERT_NE(box, nullptr) << "no box; probe exit code " << probe.ExitCode().value_or(~0u);
  const test_support::BoxContents shown = test_support::ReadMessageBox(box);
  EXPECT_EQ(shown.caption, c.caption);
  EXPECT_EQ(shown.text, c.text);
  EXPECT_EQ(shown.has_icon, c.has_icon);
  ASSERT_EQ(shown.buttons.size(), 1u);
  EXPECT_EQ(shown.buttons[0].id, IDOK);
  EXPECT_EQ(shown.owner, nullptr);
  EXPECT_FALSE(probe.WaitForExit(300ms)) << "returned while the box was still open";

  ASSERT_TRUE(test_support::PressOk(box));
  EXPECT_TRUE(test_support::WaitForBoxClosed(box, 10s));
  ASSERT_TRUE(probe.WaitForExit(10s));
  EXPECT_EQ(probe.ExitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Win32, MessageBoxTest,
    testing::Values(BoxCase{"ErrorBox", "error-box \"Kann die QZMain.EXE nicht finden !\"",
                            "Fehler !", "Kann die QZMain.EXE nicht finden !", true},
                    // The plain box the failure report uses: one OK button and no icon.
                    BoxCase{"PlainBox", "message-box Error 0 \"An unhandled exception\"", "Error",
                            "An unhandled exception", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace launcher

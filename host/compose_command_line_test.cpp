#include "host/compose_command_line.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace launcher {
namespace {

using namespace std::string_literals;

// A path of exactly `length` characters: "C:\" followed by letters, ending in ".exe".
std::string PathOfLength(std::size_t length) {
  return "C:\\" + std::string(length - 7, 'p') + ".exe";
}

struct ComposeCase {
  const char* name;
  std::string program_path;
  std::string arguments;
  std::string expected;
};

void PrintTo(const ComposeCase& c, std::ostream* out) { *out << c.name; }

class ComposeCommandLineTest : public testing::TestWithParam<ComposeCase> {};

TEST_P(ComposeCommandLineTest, Composes) {
  const ComposeCase& c = GetParam();
  EXPECT_EQ(ComposeCommandLine(c.program_path, c.arguments), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ComposeCommandLineTest,
    testing::Values(
        ComposeCase{"Plain", "C:\\APP\\QZMain.exe", "-ni", "\"C:\\APP\\QZMain.exe\"  -ni"},
        ComposeCase{"EmptyArgumentsKeepTheTwoBlanks", "C:\\APP\\QZMain.exe", "",
                    "\"C:\\APP\\QZMain.exe\"  "},
        ComposeCase{"EmptyPath", "", "-ni", "\"\"  -ni"},
        ComposeCase{"BlanksInPath", "C:\\My Suite\\QZ Main.exe", "a",
                    "\"C:\\My Suite\\QZ Main.exe\"  a"},
        ComposeCase{"QuoteInTheMiddleIsUsedUnchanged", "C:\\A\"B\\QZMain.exe", "x",
                    "C:\\A\"B\\QZMain.exe  x"},
        ComposeCase{"QuotedPathIsUsedUnchanged", "\"C:\\APP\\QZMain.exe\"", "",
                    "\"C:\\APP\\QZMain.exe\"  "},
        ComposeCase{"ArgumentsPassUnchanged", "C:\\A\\B.exe",
                    " //NOFULLSCREEN /V2 \"a b\" c:\\x\\ \\\"q\\\\\" \"open\t\x01\xE4  ",
                    "\"C:\\A\\B.exe\"   //NOFULLSCREEN /V2 \"a b\" c:\\x\\ \\\"q\\\\\" "
                    "\"open\t\x01\xE4  "},
        ComposeCase{"NulInArgumentsIsKept", "C:\\A\\B.exe", "a\0b"s, "\"C:\\A\\B.exe\"  a\0b"s},
        // Long paths are quoted whole: the program text is not cut to 255 characters.
        ComposeCase{"Path253", PathOfLength(253), "-ni", '"' + PathOfLength(253) + "\"  -ni"},
        ComposeCase{"Path254KeepsClosingQuote", PathOfLength(254), "-ni",
                    '"' + PathOfLength(254) + "\"  -ni"},
        ComposeCase{"Path255KeepsLastCharacter", PathOfLength(255), "-ni",
                    '"' + PathOfLength(255) + "\"  -ni"},
        ComposeCase{"Path300", PathOfLength(300), "", '"' + PathOfLength(300) + "\"  "},
        ComposeCase{"Path253AndArguments255Make512", PathOfLength(253), std::string(255, 'a'),
                    '"' + PathOfLength(253) + "\"  " + std::string(255, 'a')}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace launcher

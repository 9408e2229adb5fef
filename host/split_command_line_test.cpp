#include "host/split_command_line.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {
namespace {

using namespace std::string_literals;

std::vector<std::string> ParamsOf(const ParamList& list) {
  std::vector<std::string> params;
  for (std::int32_t i = 1; i <= list.Count(); ++i) params.emplace_back(list.Param(i));
  return params;
}

struct SplitCase {
  const char* name;
  std::string text;
  std::vector<std::string> params;
};

void PrintTo(const SplitCase& c, std::ostream* out) { *out << c.name; }

class SplitCommandLineTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, Splits) {
  const SplitCase& c = GetParam();
  const ParamList list = SplitCommandLine(c.text);
  EXPECT_EQ(list.Count(), static_cast<std::int32_t>(c.params.size()));
  EXPECT_EQ(ParamsOf(list), c.params);
  // Outside 1..N there is only the empty text, for every list.
  for (std::int64_t i :
       {std::int64_t{0}, std::int64_t{-1}, std::int64_t{list.Count()} + 1,
        std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()}) {
    EXPECT_EQ(list.Param(i), "") << "i=" << i;
  }
}

// "\x01" "b": a hex escape would swallow the following hex digit without the split.
INSTANTIATE_TEST_SUITE_P(
    Table, SplitCommandLineTest,
    testing::Values(
        SplitCase{"ThreePlain", "launcher.exe a b c", {"a", "b", "c"}},
        SplitCase{"QuotedOwnName", R"("C:\Program Files\App\launcher.exe" -x)", {"-x"}},
        SplitCase{"UnquotedOwnNameWithBlank",
                  R"(C:\Program Files\App\launcher.exe -x)",
                  {R"(Files\App\launcher.exe)", "-x"}},
        SplitCase{"QuotedBlank", R"(launcher.exe "a b" c)", {"a b", "c"}},
        SplitCase{"QuotedRunMidToken", R"(launcher.exe ab"cd ef"gh)", {"abcd efgh"}},
        SplitCase{"QuotedRunThenText", R"(launcher.exe "ab"cd)", {"abcd"}},
        SplitCase{"PairOutsideAddsNothing", R"(launcher.exe a""b)", {"ab"}},
        SplitCase{"PairInsideAddsNothing", R"(launcher.exe "a""b c")", {"ab c"}},
        SplitCase{"EmptyFirst", R"(launcher.exe "" x)", {"", "x"}},
        SplitCase{"EmptyLast", R"(launcher.exe x "")", {"x", ""}},
        SplitCase{"TwoPairs", R"(launcher.exe """")", {""}},
        SplitCase{"ThirdQuoteOpensRun", R"(launcher.exe """ a)", {" a"}},
        SplitCase{"LoneQuoteAtEnd", R"(launcher.exe ")", {""}},
        SplitCase{"QuoteClosingNothing", R"(launcher.exe a")", {"a"}},
        SplitCase{
            "BackslashBeforeQuote", R"(launcher.exe "C:\My Dir\" next)", {R"(C:\My Dir\)", "next"}},
        SplitCase{"BackslashEscapesNothing", R"(launcher.exe a\"b c\")", {R"(a\b c\)"}},
        SplitCase{"PercentIsText", "launcher.exe %1 %2", {"%1", "%2"}},
        SplitCase{"TrailingBlanks", "launcher.exe a b   ", {"a", "b"}},
        SplitCase{"UnclosedRunKeepsTrailingBlanks", "launcher.exe a \"b c  ", {"a", "b c  "}},
        SplitCase{"ControlBytesSeparate", "   launcher.exe\t\ta\r\nb", {"a", "b"}},
        SplitCase{"Byte01Separates",
                  "launcher.exe a\x01"
                  "b",
                  {"a", "b"}},
        SplitCase{"QuoteGluedToOwnName", R"(launcher.exe"a b")", {}},
        SplitCase{"OwnNameRunNeverCloses", R"("launcher.exe a b)", {}},
        SplitCase{"OwnNameOnly", "launcher.exe", {}}, SplitCase{"Empty", "", {}},
        SplitCase{"BlanksOnly", "   ", {}},
        // Beyond the plain table: control bytes inside a run, high bytes, embedded NULs.
        SplitCase{"ControlBytesInsideRun",
                  "l \"a\t\r\n\x01"
                  "b\"c",
                  {"a\t\r\n\x01"
                   "bc"}},
        SplitCase{"Byte7FAndHighBytesAreLetters",
                  "l \x7F \xE4\xF6\xFC\xDF \xA0",
                  {"\x7F", "\xE4\xF6\xFC\xDF", "\xA0"}},
        SplitCase{"NulEndsText", "launcher.exe a\0 b"s, {"a"}},
        SplitCase{"NulEndsQuotedRun", "launcher.exe \"a b\0c\" d"s, {"a b"}},
        SplitCase{"NulRightAfterOwnName", "launcher.exe\0a b"s, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SplitCommandLine, EveryHighByteAndLongParametersPassWhole) {
  std::string high;
  for (int b = 0x80; b <= 0xFF; ++b) high.push_back(static_cast<char>(b));
  std::string long_quoted;  // 6000 bytes with blanks and tabs inside one quoted run
  for (int i = 0; long_quoted.size() < 6000; ++i) long_quoted += (i % 7 == 0) ? " \t" : "word";
  const std::string long_plain(9000, 'p');

  const ParamList list =
      SplitCommandLine("launcher.exe " + high + " \"" + long_quoted + "\" " + long_plain + " z");
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Param(1), high);
  EXPECT_EQ(list.Param(2), long_quoted);
  EXPECT_EQ(list.Param(3), long_plain);
  EXPECT_EQ(list.Param(4), "z");
}

// Random bytes, drawn so that quotes, separators and NULs are common.
std::string RandomText(std::mt19937& rng) {
  static constexpr char kBytes[] = {'"',    '"', '"', ' ',  ' ',    '\t',   '\n',   '\x01',
                                    '\x20', 'a', 'b', '\\', '\x7F', '\x80', '\xFF', '\0'};
  std::uniform_int_distribution<int> length(0, 40), pick(0, sizeof kBytes), any(0, 255);
  std::string text(static_cast<std::size_t>(length(rng)), ' ');
  for (char& c : text) {
    const int k = pick(rng);
    c = k < static_cast<int>(sizeof kBytes) ? kBytes[k] : static_cast<char>(any(rng));
  }
  return text;
}

bool IsSeparator(char c) { return c != '\0' && static_cast<unsigned char>(c) <= 0x20; }

std::string WithoutQuotesAndSeparators(std::string_view text) {
  std::string kept;
  for (char c : text) {
    if (c != '"' && !IsSeparator(c)) kept.push_back(c);
  }
  return kept;
}

TEST(SplitCommandLine, RandomBytesProperties) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 4000; ++round) {
    const std::string text = RandomText(rng);
    const std::string_view up_to_nul = std::string_view(text).substr(0, text.find('\0'));
    SCOPED_TRACE(testing::PrintToString(text));

    // Exactly sized and not NUL-terminated, so AddressSanitizer sees any read past the view.
    const std::vector<char> bytes(text.begin(), text.end());
    const ParamList list = SplitCommandLine(std::string_view(bytes.data(), bytes.size()));
    ASSERT_GE(list.Count(), 0);
    for (const std::string& p : ParamsOf(list)) {
      ASSERT_EQ(p.find_first_of("\"\0"s), std::string::npos) << p;
    }

    // A short own name in front makes every token of the text a parameter. Then every byte
    // other than quotes and separators turns up in a parameter, once and in order.
    const std::vector<std::string> tokens = ParamsOf(SplitCommandLine("x " + text));
    std::string joined;
    for (const std::string& t : tokens) joined += WithoutQuotesAndSeparators(t);
    ASSERT_EQ(joined, WithoutQuotesAndSeparators(up_to_nul));

    // Each token in double quotes, blank-separated, splits back into the same tokens.
    std::string requoted = "x";
    for (const std::string& t : tokens) requoted += " \"" + t + "\"";
    ASSERT_EQ(ParamsOf(SplitCommandLine(requoted)), tokens);
  }
}

}  // namespace
}  // namespace launcher

#include "launch/expand_args.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "launch/expand_args_pieces.h"
#include "launch/expand_args_reference.h"

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

// Parameters as a C++ literal, to paste a failing case into a table.
std::string Describe(const std::vector<std::string>& params) {
  std::string out = "{";
  for (const auto& param : params) out += "\"" + param + "\", ";
  return out + "}";
}

// Random parameter lists from an alphabet rich in "%", digits and blanks, so that placeholders
// of every number, placeholders formed across borders and texts that vanish again are
// common. Sizes stay where the plain reading is cheap; the whole text is compared, not only
// its first 255 characters, and the expansion in pieces also where no parameter holds a
// placeholder (ExpandArgTemplate takes a shorter way there).
TEST(ExpandArgTemplate, AgreesWithThePlainReading) {
  constexpr std::string_view kAlphabet = "%%%%%%1234567 a";
  constexpr std::size_t kMaxSizes[] = {2, 4, 8, 16};
  constexpr int kRounds = 40000;
  std::mt19937 random(20240607);
  int compared = 0;
  for (int round = 0; round < kRounds; ++round) {
    std::vector<std::string> texts(random() % 9);
    const std::size_t max_size = kMaxSizes[round % 4];
    for (auto& text : texts) {
      text.resize(random() % (max_size + 1));
      for (char& c : text) c = kAlphabet[random() % kAlphabet.size()];
    }
    const ParamList params(texts);
    const std::optional<std::string> plain = ExpandArgsPlainly(params, 1 << 16);
    if (!plain) continue;
    ++compared;
    ASSERT_EQ(ExpandArgTemplateHead(params, plain->size() + 1), *plain) << Describe(texts);
    ASSERT_EQ(ExpandTemplateInPieces(params, plain->size()), plain->substr(kArgPrefix.size()))
        << Describe(texts);
    ASSERT_EQ(ExpandArgTemplate(params), ShortText(*plain)) << Describe(texts);
  }
  // Nearly every list must have been within reach of the plain reading.
  EXPECT_GT(compared, kRounds * 99 / 100);
}

std::string Times(int n, std::string_view unit) {
  std::string text;
  for (int i = 0; i < n; ++i) text += unit;
  return text;
}

// One parameter per unit, the unit repeated `n` times, followed by `more`.
std::vector<std::string> Repeated(int n, const std::vector<std::string_view>& units,
                                  const std::vector<std::string>& more) {
  std::vector<std::string> params;
  for (std::string_view unit : units) params.push_back(Times(n, unit));
  params.insert(params.end(), more.begin(), more.end());
  return params;
}

// Parameters 1 to 5 of `n` repetitions of "%2", "%3", "%4", "%5" and "%6", followed by
// `more`: the plain reading would build texts of 2 n^5 characters.
std::vector<std::string> Explosive(int n, const std::vector<std::string>& more) {
  return Repeated(n, {"%2", "%3", "%4", "%5", "%6"}, more);
}

struct ExplosiveCase {
  const char* name;
  std::vector<std::string> params;
  std::string expected_tail;  // what follows kHead
};

void PrintTo(const ExplosiveCase& c, std::ostream* out) { *out << c.name; }

class ExplosiveShapeTest : public testing::TestWithParam<ExplosiveCase> {};

TEST_P(ExplosiveShapeTest, GivesTheExactResult) {
  const ExplosiveCase& c = GetParam();
  EXPECT_EQ(ExpandArgTemplate(ParamList(c.params)).str(), kHead + c.expected_tail);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ExplosiveShapeTest,
    testing::Values(
        // Every "%6" becomes "z": parameter 1 alone grows to 1500^5 z's, so the cut falls
        // inside it, 182 characters behind its blank.
        ExplosiveCase{"Growing", Explosive(1500, {"z"}), " " + Times(182, "z")},
        // With parameter 6 missing or empty every "%6" is removed and only the blanks stay.
        ExplosiveCase{"Vanishing", Explosive(1500, {}), "      "},
        ExplosiveCase{"VanishingWithEmptySixth", Explosive(1500, {""}), "      "},
        // 8192^5 = 2^65 z's in parameter 1: a length kept modulo 2^64 would make it empty.
        ExplosiveCase{"GrowingBeyond64BitLengths", Explosive(8192, {"z"}), " " + Times(182, "z")},
        // Parameter 4 of "%56" and parameter 5 "%": each "%6" is formed from the "%" of
        // parameter 5 and the 6 of parameter 4, two different pieces. z's again.
        ExplosiveCase{"GrowingThroughPlaceholdersFormedAcrossBorders",
                      Repeated(1500, {"%2", "%3", "%4", "%56"}, {"%", "z"}), " " + Times(182, "z")},
        // The same removed again by an empty parameter 6; parameter 5 keeps its "%".
        ExplosiveCase{"VanishingThroughPlaceholdersFormedAcrossBorders",
                      Repeated(1500, {"%2", "%3", "%4", "%56"}, {"%", ""}), "     % "},
        // Parameter 4 of "%%56" and an empty parameter 5: "%6" forms where "%5" is deleted.
        ExplosiveCase{"GrowingThroughPlaceholdersFormedByDeletion",
                      Repeated(1500, {"%2", "%3", "%4", "%%56"}, {"", "ab"}),
                      " " + Times(91, "ab")}),
    [](const auto& info) { return std::string(info.param.name); });

// The same shapes, small enough for the plain reading, compared in full.
TEST(ExpandArgTemplate, SmallExplosiveShapesAgreeWithThePlainReading) {
  const std::vector<std::vector<std::string_view>> units = {
      {"%2", "%3", "%4", "%5", "%6"}, {"%2", "%3", "%4", "%56"}, {"%2", "%3", "%4", "%%56"}};
  const std::vector<std::vector<std::string>> tails = {{},         {""},       {"z"},      {"%"},
                                                       {"", "ab"}, {"%", "z"}, {"%", "6%"}};
  for (int n : {1, 2, 3, 6}) {
    for (const auto& unit : units) {
      for (const auto& tail : tails) {
        const std::vector<std::string> texts = Repeated(n, unit, tail);
        const ParamList params(texts);
        const std::optional<std::string> plain = ExpandArgsPlainly(params, 1 << 20);
        ASSERT_TRUE(plain.has_value());
        EXPECT_EQ(ExpandArgTemplateHead(params, plain->size() + 1), *plain) << Describe(texts);
      }
    }
  }
}

}  // namespace
}  // namespace launcher

// Splitting time for the longest command line Windows passes (32,767 bytes) in the shapes
// that stress the splitter most.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/split_command_line.h"

namespace launcher {
namespace {

constexpr std::size_t kMaxCommandLine = 32767;

// `head` (by default the own name "l" and a blank), then `unit` repeated up to the full length.
std::string Fill(std::string_view unit, std::string_view head = "l ") {
  std::string text(head);
  while (text.size() < kMaxCommandLine) text += unit;
  text.resize(kMaxCommandLine);
  return text;
}

void BM_Split(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    ParamList list = SplitCommandLine(text);
    benchmark::DoNotOptimize(list);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  state.counters["params"] = static_cast<double>(SplitCommandLine(text).Count());
}

BENCHMARK_CAPTURE(BM_Split, AllQuotes, Fill("\""));
BENCHMARK_CAPTURE(BM_Split, AllSeparators, Fill(" \t\r\n\x01"));
BENCHMARK_CAPTURE(BM_Split, OneHugeParameter, Fill("x"));
BENCHMARK_CAPTURE(BM_Split, OneHugeQuotedParameter, Fill("a \t\"\"b", "l \""));
BENCHMARK_CAPTURE(BM_Split, OneByteParameters, Fill("x "));
BENCHMARK_CAPTURE(BM_Split, EmptyParameters, Fill("\"\" "));
BENCHMARK_CAPTURE(BM_Split, QuoteEveryOtherByte, Fill("a\""));
BENCHMARK_CAPTURE(BM_Split, Mixed,
                  Fill(R"("C:\Program Files\App\data file.dat" -opt /V2 ab"c d"e )"));

}  // namespace
}  // namespace launcher

BENCHMARK_MAIN();

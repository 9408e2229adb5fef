// Time and memory of the argument expansion: the explosive shapes at the longest command line
// Windows passes (32,767 bytes), and ordinary parameters next to the plain reading.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "launch/expand_args.h"
#include "launch/expand_args_reference.h"

// Every allocation of this program is counted, so that a benchmark can report how much
// memory one expansion holds at its peak. Each block carries its size in front.
namespace {

constexpr std::size_t kHeader = alignof(std::max_align_t);
std::size_t live_bytes = 0;
std::size_t peak_bytes = 0;
std::size_t allocations = 0;

}  // namespace

void* operator new(std::size_t size) {
  void* block = std::malloc(size + kHeader);
  if (block == nullptr) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = size;
  ++allocations;
  live_bytes += size;
  peak_bytes = std::max(peak_bytes, live_bytes);
  return static_cast<char*>(block) + kHeader;
}

void operator delete(void* pointer) noexcept {
  if (pointer == nullptr) return;
  void* block = static_cast<char*>(pointer) - kHeader;
  live_bytes -= *static_cast<std::size_t*>(block);
  std::free(block);
}

void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* pointer) noexcept { operator delete(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { operator delete(pointer); }

namespace launcher {
namespace {

constexpr std::size_t kMaxCommandLine = 32767;

struct Memory {
  std::size_t peak_bytes;   // held at the peak beyond what was held before
  std::size_t allocations;  // blocks allocated
};

Memory MemoryOf(const std::function<void()>& run) {
  const std::size_t before = live_bytes;
  const std::size_t allocations_before = allocations;
  peak_bytes = before;
  run();
  return {peak_bytes - before, allocations - allocations_before};
}

// The launcher's command line for `params`: its own name "l", then the parameters, each
// behind one blank.
std::size_t CommandLineLength(const std::vector<std::string>& params) {
  std::size_t length = 1;
  for (const auto& param : params) length += 1 + param.size();
  return length;
}

// Parameters 1 to 5 of n repetitions of "%2", "%3", "%4", "%5", "%6", then `more`, with n as
// large as the command line allows.
std::vector<std::string> Explosive(const std::vector<std::string>& more) {
  const std::size_t n = (kMaxCommandLine - CommandLineLength(more) - 5) / 10;
  std::vector<std::string> params;
  for (std::string_view unit : {"%2", "%3", "%4", "%5", "%6"}) {
    std::string param;
    for (std::size_t i = 0; i < n; ++i) param += unit;
    params.push_back(param);
  }
  params.insert(params.end(), more.begin(), more.end());
  return params;
}

using Expansion = ShortText (*)(const ParamList&);

void BM_Expand(benchmark::State& state, Expansion expand, const std::vector<std::string>& texts,
               const std::string& expected) {
  const ParamList params(texts);
  const ShortText result = expand(params);
  if (result.str() != expected) {
    state.SkipWithError(("wrong result: " + result.str()).c_str());
    return;
  }
  const Memory memory = MemoryOf([&] { benchmark::DoNotOptimize(expand(params)); });
  for (auto _ : state) {
    benchmark::DoNotOptimize(expand(params));
  }
  state.counters["peak_bytes"] = static_cast<double>(memory.peak_bytes);
  state.counters["allocations"] = static_cast<double>(memory.allocations);
  state.counters["command_line"] = static_cast<double>(CommandLineLength(texts));
}

const std::string kHead =
    "//NOFULLSCREEN /V2 -ni /EXEC:LoadDllFkt(AFZImpKWORKAFZ~AFZUpdateKWORAFZ)";

const std::vector<std::string> kOrdinary = {"C:\\Daten\\Kunde 12", "/USER=MEIER", "-x",
                                            "2024-06-01",          "100%",        "z"};
const std::string kOrdinaryResult = kHead + " C:\\Daten\\Kunde 12 /USER=MEIER -x 2024-06-01 100% z";

const std::vector<std::string> kWithPlaceholders = {"a%2b", "%3", "x%%4", "y", "%6%6", "z"};
const std::string kWithPlaceholdersResult = kHead + " ax%yb x%y x%y y zz z";

BENCHMARK_CAPTURE(BM_Expand, Growing, &ExpandArgTemplate, Explosive({"z"}),
                  kHead + " " + std::string(182, 'z'));
BENCHMARK_CAPTURE(BM_Expand, Vanishing, &ExpandArgTemplate, Explosive({}), kHead + "      ");
BENCHMARK_CAPTURE(BM_Expand, Ordinary, &ExpandArgTemplate, kOrdinary, kOrdinaryResult);
BENCHMARK_CAPTURE(BM_Expand, OrdinaryPlainly, &ExpandArgTemplatePlainly, kOrdinary,
                  kOrdinaryResult);
BENCHMARK_CAPTURE(BM_Expand, WithPlaceholders, &ExpandArgTemplate, kWithPlaceholders,
                  kWithPlaceholdersResult);
BENCHMARK_CAPTURE(BM_Expand, WithPlaceholdersPlainly, &ExpandArgTemplatePlainly, kWithPlaceholders,
                  kWithPlaceholdersResult);
BENCHMARK_CAPTURE(BM_Expand, NoParameters, &ExpandArgTemplate, std::vector<std::string>{},
                  kHead + "      ");
BENCHMARK_CAPTURE(BM_Expand, NoParametersPlainly, &ExpandArgTemplatePlainly,
                  std::vector<std::string>{}, kHead + "      ");

}  // namespace
}  // namespace launcher

BENCHMARK_MAIN();

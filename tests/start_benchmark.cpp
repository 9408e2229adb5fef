// Measures what the launcher costs on top of the program it starts. Each round starts, in
// turn, the launcher in a suite folder (whose stand-in program ends at once) and the minimal
// parent with the same command line for the same stand-in, and times each from the start
// request until the parent has ended. The order alternates between rounds so that drift of
// the machine hits both alike. Prints the median of each and the median per-round ratio.
//
// usage: start_benchmark LAUNCHER MINIMAL_PARENT SUITE_FOLDER [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return static_cast<double>(to.QuadPart - from.QuadPart) / frequency;
}

// Starts the program with the command line in the folder and waits; seconds taken.
double TimeRun(const std::string& program, std::string command_line, const std::string& folder) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &info)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", program.c_str(), GetLastError());
    std::exit(2);
  }
  WaitForSingleObject(info.hProcess, INFINITE);
  QueryPerformanceCounter(&end);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  return Seconds(start, end);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: start_benchmark LAUNCHER MINIMAL_PARENT SUITE_FOLDER [ROUNDS]\n");
    return 2;
  }
  const std::string launcher = argv[1], parent = argv[2], folder = argv[3];
  const int rounds = argc > 4 ? std::atoi(argv[4]) : 60;
  const std::string params = "4711 Mustermann";
  const std::string launcher_line = "launcher.exe " + params;
  // Exactly the command line the launcher hands the stand-in for these parameters.
  const std::string child_line = "\"" + folder +
                                 "\\QZMain.exe\"  //NOFULLSCREEN /V2 -ni "
                                 "/EXEC:LoadDllFkt(AFZImpKWORKAFZ~AFZUpdateKWORAFZ) " +
                                 params + "    ";
  const std::string parent_line = "minimal_parent.exe " + child_line;

  for (int i = 0; i < 5; ++i) {  // warm-up: file cache, wineserver, loader
    TimeRun(launcher, launcher_line, folder);
    TimeRun(parent, parent_line, folder);
  }
  std::vector<double> launcher_times, parent_times, ratios;
  for (int round = 0; round < rounds; ++round) {
    double l, p;
    if (round % 2 == 0) {
      l = TimeRun(launcher, launcher_line, folder);
      p = TimeRun(parent, parent_line, folder);
    } else {
      p = TimeRun(parent, parent_line, folder);
      l = TimeRun(launcher, launcher_line, folder);
    }
    launcher_times.push_back(l);
    parent_times.push_back(p);
    ratios.push_back(l / p);
  }
  std::printf("rounds: %d\n", rounds);
  std::printf("launcher median:       %.2f ms\n", Median(launcher_times) * 1e3);
  std::printf("minimal parent median: %.2f ms\n", Median(parent_times) * 1e3);
  std::printf("median ratio launcher / minimal parent: %.3f (goal <= 1.05)\n", Median(ratios));
  return 0;
}

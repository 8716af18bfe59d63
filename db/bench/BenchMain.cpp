// This file implements the main of the benchmark program: every benchmark repeated with the
// repetitions of all of them interleaved in random order, the medians reported, then the ratios
// registered with AddBenchRatio computed from those medians.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <map>
#include <string>
#include <vector>

#include "BenchRatios.h"

namespace {

std::vector<TBenchRatio>& Ratios() {
  static std::vector<TBenchRatio> ratios;
  return ratios;
}

struct TTimes {
  double Real;  // seconds per iteration
  double Cpu;
};

// The console report, keeping the median of each benchmark (or its single run without
// repetitions).
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit TRatioReporter(bool Colour) : benchmark::ConsoleReporter(Colour ? OO_ColorTabular : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& Reports) override {
    benchmark::ConsoleReporter::ReportRuns(Reports);
    for (const Run& run : Reports) {
      if (run.error_occurred) continue;
      bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
      if (!median && !single) continue;
      double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
      FMedians[run.run_name.function_name] = {run.GetAdjustedRealTime() / unit, run.GetAdjustedCPUTime() / unit};
    }
  }

  void PrintRatios() const {
    if (Ratios().empty()) return;
    std::printf("\nRatios of medians (real time; processor time in brackets):\n");
    for (const TBenchRatio& ratio : Ratios()) {
      auto numerator = FMedians.find(ratio.Numerator);
      auto denominator = FMedians.find(ratio.Denominator);
      if (numerator == FMedians.end() || denominator == FMedians.end()) {
        std::printf("  %-64s not measured in this run\n", ratio.Label);
        continue;
      }
      double real = numerator->second.Real / denominator->second.Real;
      double cpu = numerator->second.Cpu / denominator->second.Cpu;
      std::printf("  %-64s %5.2fx (%5.2fx)", ratio.Label, real, cpu);
      if (ratio.Target > 0) std::printf("  target under %.2fx: %s", ratio.Target, real < ratio.Target ? "met" : "NOT MET");
      std::printf("\n");
    }
  }

 private:
  std::map<std::string, TTimes> FMedians;
};

}  // namespace

bool AddBenchRatio(const TBenchRatio& Ratio) {
  Ratios().push_back(Ratio);
  return true;
}

int main(int argc, char** argv) {
  // Defaults first: the same options given on the command line come later and win.
  static char repetitions[] = "--benchmark_repetitions=7";
  static char interleaving[] = "--benchmark_enable_random_interleaving=true";
  static char aggregates[] = "--benchmark_report_aggregates_only=true";
  std::vector<char*> args(argv, argv + argc);
  args.insert(args.begin() + 1, {repetitions, interleaving, aggregates});
  int count = int(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  // In colour on a terminal, unless told otherwise (the reporter given to the library does not
  // read its option).
  bool colour = isatty(fileno(stdout));
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--benchmark_color=false") == 0) colour = false;
  }
  TRatioReporter reporter(colour);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}

#pragma once
// What the benchmark programs share: scratch file names and the times of their runs.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

// Keeps the time of every benchmark run by name ("BM_Name/arg"), so that a benchmark program can
// print its ratios to the baseline measured in the same run.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// A scratch path of this process: $TMPDIR (else /tmp) + "/quarvel-" + name + "-" + pid.
inline std::string ScratchPath(const std::string& name) {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/quarvel-" + name + "-" +
         std::to_string(::getpid());
}

// One loaded instance of T for the whole run (T::Load gives false when the shipped data cannot be
// read; the program then stops with a message naming itself).
template <typename T>
T& LoadedOnce(const char* program) {
  static T* loaded = [program] {
    auto* t = new T;
    if (!t->Load()) {
      std::fprintf(stderr, "%s: the shipped data could not be loaded\n", program);
      std::exit(1);
    }
    return t;
  }();
  return *loaded;
}

class TimeKeeper : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      // Single runs (when repetitions are turned off on the command line) or the median.
      if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
        times_[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // 0 when the benchmark did not run.
  double Time(const std::string& name) const {
    const auto it = times_.find(name);
    return it == times_.end() ? 0 : it->second;
  }

 private:
  std::map<std::string, double> times_;
};

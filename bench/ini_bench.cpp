// CIniReader: loading a data file and reading every key in file order, against reading the same
// file's lines into a vector (the least any reader has to do). Prints the ratios at the end.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include "bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "catalogue/ini_reader.h"

namespace {

constexpr int kKeysPerSection = 40;

struct TestFile {
  std::string path;
  std::vector<std::pair<std::string, std::string>> keys;  // section, key in file order
};

// A file of about `lines` lines: sections of kKeysPerSection keys with a comment now and then,
// CR LF line ends as the shipped data files have.
const TestFile& FileOf(int lines) {
  static std::map<int, TestFile> files;
  auto it = files.find(lines);
  if (it != files.end()) return it->second;
  TestFile& tf = files[lines];
  tf.path = ScratchPath("ini-bench") + "-" + std::to_string(lines) + ".ini";
  std::FILE* f = std::fopen(tf.path.c_str(), "wb");
  if (f == nullptr) std::abort();
  int written = 0;
  for (int s = 0; written < lines; ++s) {
    const std::string section = "Section" + std::to_string(s);
    std::fprintf(f, "[%s]\r\n", section.c_str());
    ++written;
    for (int k = 0; k < kKeysPerSection && written < lines; ++k, ++written) {
      if (k % 10 == 9) {
        std::fprintf(f, "; comment line %d\r\n", k);
        continue;
      }
      const std::string key = "Key" + std::to_string(k);
      std::fprintf(f, "%s=value %d of %s, some text\r\n", key.c_str(), k, section.c_str());
      tf.keys.emplace_back(section, key);
    }
  }
  std::fclose(f);
  return tf;
}

void BM_ReadLinesBaseline(benchmark::State& state) {
  const TestFile& tf = FileOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::ifstream in(tf.path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_IniLoad(benchmark::State& state) {
  const TestFile& tf = FileOf(static_cast<int>(state.range(0)));
  CIniReader reader;
  for (auto _ : state) {
    if (!reader.Load(tf.path)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(reader.SectionCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_IniLoadAndLookups(benchmark::State& state) {
  const TestFile& tf = FileOf(static_cast<int>(state.range(0)));
  CIniReader reader;
  std::string value;
  for (auto _ : state) {
    if (!reader.Load(tf.path)) state.SkipWithError("load failed");
    for (const auto& [section, key] : tf.keys) {
      if (!reader.GetString(section, key, value)) state.SkipWithError("key not found");
    }
    benchmark::DoNotOptimize(value.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_IniLookupsOnly(benchmark::State& state) {
  const TestFile& tf = FileOf(static_cast<int>(state.range(0)));
  CIniReader reader;
  reader.Load(tf.path);
  std::string value;
  for (auto _ : state) {
    for (const auto& [section, key] : tf.keys) {
      if (!reader.GetString(section, key, value)) state.SkipWithError("key not found");
    }
    benchmark::DoNotOptimize(value.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(tf.keys.size()));
}

BENCHMARK(BM_ReadLinesBaseline)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IniLoad)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IniLoadAndLookups)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IniLookupsOnly)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Remembers each run's time so that main can print the ratios to the baseline.
class RatioReporter : public TimeKeeper {
 public:
  void PrintRatios() const {
    std::printf("\nRatios to reading the lines into a vector (same run):\n");
    for (const char* size : {"10000", "100000"}) {
      const double base = Time(std::string("BM_ReadLinesBaseline/") + size);
      if (base <= 0) continue;
      for (const char* name : {"BM_IniLoad", "BM_IniLoadAndLookups", "BM_IniLookupsOnly"}) {
        const double time = Time(std::string(name) + "/" + size);
        if (time <= 0) continue;
        std::printf("  %-22s %7s lines: %6.2fx\n", name, size, time / base);
      }
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  for (int lines : {10000, 100000}) std::remove(FileOf(lines).path.c_str());
  return 0;
}

// CStringPool: loading and saving pool.dat, against reading and writing the same bytes without
// looking at them (the least any load or safe save has to do). Prints the ratios at the end.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include "bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "library/safe_file.h"
#include "pool/string_pool.h"

namespace {

std::string PathOf(int entries) {
  return ScratchPath("pool-bench") + "-" + std::to_string(entries) + ".dat";
}

// A pool of `entries` typical strings: a line of some 80 characters and eight variables.
void Fill(CStringPool& pool, int entries) {
  for (int i = 0; i < entries; ++i) {
    auto e = std::make_unique<CFrtStringEx>();
    e->key.block = static_cast<std::uint8_t>(i % 100);
    e->SetText("%-12s %12.4f %12.4f %10.3f %8.4f %8.4f %-10s %s " + std::to_string(i));
    for (int v = 0; v < 8; ++v) {
      CFrtVariable var;
      var.code = static_cast<std::uint16_t>(v * 10 + 1);
      e->AddVariable(var);
    }
    e->extra[kPoolName] = "entry " + std::to_string(i);
    e->extra[kPoolAuthor] = "Quarvel";
    e->extra[kPoolTemplate] = "Kite_Basic";
    pool.Add(std::move(e));
  }
}

const std::string& FileOf(int entries) {
  static std::map<int, std::string> files;
  auto it = files.find(entries);
  if (it != files.end()) return it->second;
  std::string path = PathOf(entries);
  CStringPool pool(path);
  Fill(pool, entries);
  if (pool.Save() != frt::kOk) std::abort();
  return files[entries] = path;
}

void BM_ReadBytesBaseline(benchmark::State& state) {
  const std::string& path = FileOf(static_cast<int>(state.range(0)));
  std::string bytes;
  for (auto _ : state) {
    if (frt::FileSystem::Posix().ReadAll(path, bytes) != frt::kOk) state.SkipWithError("read");
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PoolLoad(benchmark::State& state) {
  const std::string& path = FileOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CStringPool pool(path);
    if (pool.Load() != frt::kOk) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(pool.EntryCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_WriteBytesBaseline(benchmark::State& state) {
  const std::string& path = FileOf(static_cast<int>(state.range(0)));
  std::string bytes;
  frt::FileSystem::Posix().ReadAll(path, bytes);
  const std::string out = path + ".baseline";
  for (auto _ : state) {
    if (frt::WriteFileSafely(out, bytes) != frt::kOk) state.SkipWithError("write");
  }
  std::remove(out.c_str());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_PoolSave(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  const std::string out = FileOf(entries) + ".saved";
  CStringPool pool(out);
  Fill(pool, entries);
  for (auto _ : state) {
    pool.MarkModified();
    if (pool.Save() != frt::kOk) state.SkipWithError("save failed");
  }
  std::remove(out.c_str());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_ReadBytesBaseline)->Arg(100)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PoolLoad)->Arg(100)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteBytesBaseline)->Arg(100)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PoolSave)->Arg(100)->Arg(2000)->Unit(benchmark::kMicrosecond);

// Remembers each run's time so that main can print the ratios to the baselines.
class RatioReporter : public TimeKeeper {
 public:
  void PrintRatios() const {
    std::printf("\nRatios to moving the same bytes (same run):\n");
    for (const char* size : {"100", "2000"}) {
      Print("BM_PoolLoad", "BM_ReadBytesBaseline", size);
      Print("BM_PoolSave", "BM_WriteBytesBaseline", size);
    }
  }

 private:
  void Print(const char* name, const char* baseline, const char* size) const {
    const double base = Time(std::string(baseline) + "/" + size);
    const double time = Time(std::string(name) + "/" + size);
    if (base <= 0 || time <= 0) return;
    std::printf("  %-12s %5s entries: %6.2fx\n", name, size, time / base);
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
  for (int entries : {100, 2000}) std::remove(PathOf(entries).c_str());
  return 0;
}

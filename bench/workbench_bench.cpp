// The workbench on the shipped total-station format: scanning measurement lines with the import
// strings against sscanf with the equivalent format, and exporting records from CSV against
// reading and splitting the same CSV lines, at 10,000 and 1,000,000 records. Prints the ratios.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "catalogue/format_template_manager.h"
#include "document/format_document.h"
#include "library/error_message.h"
#include "shell/qv_workspace.h"
#include "workbench/data_scanner.h"
#include "workbench/record_exporter.h"
#include "workbench/records_csv.h"

namespace {

constexpr int kLines = 10000;
constexpr long kSizes[] = {10000, 1000000};

struct World {
  CRecordingMessageSink sink;
  CScopedMessageSink scoped{sink};
  CQVWorkspace workspace;
  std::unique_ptr<CFormatDocument> document;
  std::vector<std::string> lines;  // shot lines of the raw format
  std::string header;              // the records CSV's header row

  World() {
    CWorkspaceOptions options;
    options.locations.appDir = ScratchPath("workbench-app");
    options.locations.sharedDir = QUARVEL_SOURCE_DATA_DIR;
    options.env = [](const char*) -> const char* { return nullptr; };
    options.usePool = false;
    if (!workspace.Start(options)) std::abort();
    document = std::make_unique<CFormatDocument>(workspace.DocContext());
    if (!document->Open(QUARVEL_SOURCE_DATA_DIR "/Workbench/TotalStationCsv.frt")) std::abort();
    char line[160];
    for (int i = 0; i < kLines; ++i) {
      std::snprintf(line, sizeof line, "SS,%d,%.5f,%.5f,%.3f,1.500,2026-12-06,08:%02d:%02d,WALL",
                    1000 + i, (i * 37 % 36000) / 100.0, 80 + (i % 2000) / 100.0,
                    5 + (i % 9000) / 10.0, i / 60 % 60, i % 60);
      lines.emplace_back(line);
    }
    header = "block,点号,水平角,竖直角,斜距,棱镜高,日期,时间,点编码\r\n";
  }
  CDocFormat& Format() { return document->Format(); }
  const CFormatTemplate& Template() { return *document->Template(); }
  // `n` records as CSV, the values of the scan lines.
  std::string Records(long n) const {
    std::string csv = header;
    for (long i = 0; i < n; ++i) {
      const std::string& l = lines[static_cast<std::size_t>(i % kLines)];
      csv += "10";
      csv.append(l, 2, std::string::npos);
      csv += "\r\n";
    }
    return csv;
  }
};

World& TheWorld() {
  static World world;
  return world;
}

void BM_ScanEngine(benchmark::State& state) {
  World& w = TheWorld();
  const workbench::DataScanner scanner(w.Format(), w.Template());
  for (auto _ : state) {
    for (const std::string& line : w.lines) {
      const workbench::ScanLineResult r = scanner.Scan(line);
      if (!r.matched) state.SkipWithError("a line did not match");
      benchmark::DoNotOptimize(r.values.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}

// The same fields with the C library: %s of the import string stops at the comma that follows.
void BM_ScanSscanf(benchmark::State& state) {
  World& w = TheWorld();
  char point[64], date[16], time[16], code[32];
  double hz, v, sd, ht;
  for (auto _ : state) {
    for (const std::string& line : w.lines) {
      if (std::sscanf(line.c_str(), "SS,%63[^,],%lf,%lf,%lf,%lf,%15[^,],%15[^,],%31s", point, &hz,
                      &v, &sd, &ht, date, time, code) != 8)
        state.SkipWithError("a line did not match");
      benchmark::DoNotOptimize(hz + v + sd + ht);
    }
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}

void BM_ExportEngine(benchmark::State& state) {
  World& w = TheWorld();
  const std::string csv = w.Records(state.range(0));
  for (auto _ : state) {
    std::string out;
    workbench::RecordExporter exporter(w.Format(), w.Template());
    out += exporter.Begin().text;
    // Written out in pieces as a file would be, not held whole.
    workbench::RecordsReader reader(
        &w.Template(),
        [&](workbench::Record& r) {
          out += exporter.Record(r).text;
          if (out.size() > 65536) {
            benchmark::DoNotOptimize(out.data());
            out.clear();
          }
        },
        [&](int, const std::string&) { state.SkipWithError("a bad row"); });
    reader.Feed(csv);
    reader.Finish();
    out += exporter.End().text;
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Reading the same CSV line by line and splitting each into its fields.
void BM_ExportSplitBaseline(benchmark::State& state) {
  World& w = TheWorld();
  const std::string csv = w.Records(state.range(0));
  for (auto _ : state) {
    std::istringstream in(csv);
    std::string line;
    std::vector<std::string> fields;
    std::size_t total = 0;
    while (std::getline(in, line)) {
      fields.clear();
      std::size_t start = 0;
      for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos;
           start = comma + 1)
        fields.emplace_back(line, start, comma - start);
      fields.emplace_back(line, start);
      total += fields.size();
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (long n : kSizes) b->Arg(n);
  b->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
}
BENCHMARK(BM_ScanEngine)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_ScanSscanf)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(BM_ExportSplitBaseline)->Apply(Sizes);
BENCHMARK(BM_ExportEngine)->Apply(Sizes);

class RatioReporter : public TimeKeeper {
 public:
  void PrintRatios() const {
    std::printf("\nWorkbench (medians, same run):\n");
    const double scan = Time("BM_ScanEngine/"), sscanf = Time("BM_ScanSscanf/");
    if (scan > 0 && sscanf > 0)
      std::printf("  scan: %.0f lines/s, sscanf %.0f lines/s: %.2fx (target <= 3x)\n",
                  kLines / scan * 1e3, kLines / sscanf * 1e3, scan / sscanf);
    for (long n : kSizes) {
      const std::string arg = "/" + std::to_string(n);
      const double run = Time("BM_ExportEngine" + arg), base = Time("BM_ExportSplitBaseline" + arg);
      if (run > 0 && base > 0)
        std::printf(
            "  export %ld records: %.0f records/s, split %.0f lines/s: %.2fx (target <= 3x)\n", n,
            n / run * 1e3, n / base * 1e3, run / base);
    }
    const double small = Time("BM_ExportEngine/10000") / 10000.0;
    const double large = Time("BM_ExportEngine/1000000") / 1000000.0;
    if (small > 0 && large > 0)
      std::printf("  export time per record, 10,000 -> 1,000,000 records: %.2fx (target <= 1.5x)\n",
                  large / small);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TheWorld();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}

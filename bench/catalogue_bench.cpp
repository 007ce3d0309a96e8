// Template catalogue: constructing the manager over a generated QV.tpl and reading it whole,
// against reading the same file's lines into a vector (the least any reader has to do). Prints
// the ratios to the baseline and how the load time grows with the file, and what the order of
// a section's keys costs.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include "bench_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/format_template_manager.h"
#include "catalogue/ini_reader.h"
#include "library/error_message.h"

namespace {

constexpr int kTemplatesPerInstrument = 10;
constexpr int kApplications = 4;
constexpr int kExports = 12;
constexpr int kImports = 6;
constexpr int kCodesPerDefinition = 10;

struct TestFile {
  std::string path;
  long lines = 0;
};

class Writer {
 public:
  explicit Writer(std::FILE* f) : f_(f) {}
  void Line(const std::string& text) {
    std::fputs(text.c_str(), f_);
    std::fputs("\r\n", f_);
    ++lines_;
  }
  void Key(const std::string& key, long value) { Line(key + "=" + std::to_string(value)); }
  long lines() const { return lines_; }

 private:
  std::FILE* f_;
  long lines_ = 0;
};

std::string Numbered(const char* prefix, int n) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s%04d", prefix, n);
  return buf;
}

// Variable v of the pool section, with `value` as its default.
void PoolVariable(Writer& w, int v, const std::string& value) {
  const std::string n = std::to_string(v);
  w.Line("Name" + n + "=" + Numbered("Var", v));
  w.Key("Code" + n, v);
  w.Key("Type" + n, v % 12 + 1);
  w.Key("UnitType" + n, v % 5);
  w.Line("Default" + n + "=" + value);
}

// Lines one template takes in the generated file.
long LinesPerTemplate() {
  const long definition = 1 + 6 + 1 + 1 + kCodesPerDefinition;  // section, keys, blank, codes
  return 8 + 3 + kApplications * 4 + 4 + (kExports + kImports) * definition;
}

// A valid catalogue of about `lines` lines: a pool that grows with the file (up to the 999
// codes there are), instruments of ten templates each, every template with applications,
// export and import definitions and their allowed codes, comments and blank lines between
// sections as the shipped file has them.
const TestFile& FileOf(long lines) {
  static std::map<long, TestFile> files;
  auto it = files.find(lines);
  if (it != files.end()) return it->second;
  TestFile& tf = files[lines];
  tf.path = ScratchPath("cat-bench") + "-" + std::to_string(lines) + ".tpl";
  std::FILE* f = std::fopen(tf.path.c_str(), "wb");
  if (f == nullptr) std::abort();
  Writer w(f);

  const int poolSize = static_cast<int>(std::min<long>(999, lines / 50));
  const long rest = lines - 10 - 5L * poolSize;
  const int templates = static_cast<int>(std::max<long>(1, rest / LinesPerTemplate()));
  const int instruments = (templates + kTemplatesPerInstrument - 1) / kTemplatesPerInstrument;

  w.Line("; generated template catalogue");
  w.Line("[FileHeader]");
  w.Line("Type=FRT_TPL");
  w.Line("Version=1.00");
  w.Line("Company=Bench");
  w.Line("");
  w.Line("[Instruments]");
  std::string list;
  for (int i = 0; i < instruments; ++i) list += (i ? "," : "") + Numbered("I", i);
  w.Line("InstrumentList=" + list);
  w.Line("[TemplateList]");
  for (int i = 0; i < instruments; ++i) {
    std::string names;
    for (int t = i * kTemplatesPerInstrument;
         t < std::min(templates, (i + 1) * kTemplatesPerInstrument); ++t)
      names += (names.empty() ? "" : ",") + Numbered("Tpl", t);
    w.Line("Template_" + Numbered("I", i) + "=" + names);
  }
  w.Line("[Variables]");
  for (int v = 1; v <= poolSize; ++v) PoolVariable(w, v, std::to_string(v * 1.5));
  for (int t = 0; t < templates; ++t) {
    const std::string name = Numbered("Tpl", t);
    w.Line("; template " + name);
    w.Line("[" + name + "_Generalities]");
    w.Key("StrLength", 40);
    w.Key("FileHeader", 1);
    w.Key("FileHeaderLength", 200);
    w.Key("FileFooter", t % 2);
    w.Key("FileFooterLength", 100);
    w.Key("PrintFDefaultStrings", 1);
    std::string apps;
    for (int a = 0; a < kApplications; ++a) apps += (a ? "," : "") + Numbered("App", a);
    w.Line("[" + name + "_Applications]");
    w.Line("List=" + apps);
    w.Line("");
    for (int a = 0; a < kApplications; ++a) {
      w.Line("[" + name + "_Application_" + Numbered("App", a) + "]");
      w.Key("Id", 100 + a);
      w.Key("Header", a % 2 ? 60 : 0);
      w.Line("");
    }
    std::string exports, imports;
    for (int e = 0; e < kExports; ++e) exports += (e ? "," : "") + Numbered("Out", e);
    for (int i = 0; i < kImports; ++i) imports += (i ? "," : "") + Numbered("In", i);
    w.Line("[" + name + "_Formatstring_List]");
    w.Line("Export=" + exports);
    w.Line("Import=" + imports);
    w.Line("");
    for (int d = 0; d < kExports + kImports; ++d) {
      const bool isExport = d < kExports;
      const std::string section = name + (isExport ? "_Export_" + Numbered("Out", d)
                                                   : "_Import_" + Numbered("In", d - kExports));
      w.Line("[" + section + "]");
      w.Key("ID", isExport ? d : d - kExports);
      w.Key("Length", 200);
      w.Key("StrCount", 1 + d % 4);
      w.Key("VarCount", 15);
      w.Key("Header", isExport ? 80 : 1);
      w.Key(isExport ? "Comment" : "Restriction", d % 2);
      w.Line("[" + section + "_Variables]");
      for (int c = 1; c <= kCodesPerDefinition; ++c)
        w.Key("Code" + std::to_string(c), (d * 7 + c * 13) % poolSize + 1);
      w.Line("");
    }
  }
  std::fclose(f);
  tf.lines = w.lines();
  return tf;
}

// Writes the lines of `text`, separated by '|'.
void Lines(Writer& w, const std::string& text) {
  for (std::size_t from = 0, bar = 0; from <= text.size(); from = bar + 1) {
    bar = std::min(text.find('|', from), text.size());
    w.Line(text.substr(from, bar - from));
  }
}

// A catalogue of one template with one export definition that allows `codes` variables, its
// Code keys in file order or in reverse. The catalogue asks for Code1, Code2, ... in turn, so
// the reverse order is the worst one for a search that goes on from its last hit.
const TestFile& CodesFileOf(long codes, bool reversed) {
  static std::map<std::pair<long, bool>, TestFile> files;
  auto it = files.find({codes, reversed});
  if (it != files.end()) return it->second;
  TestFile& tf = files[{codes, reversed}];
  tf.path = ScratchPath("cat-bench-codes") + "-" + std::to_string(codes) +
            (reversed ? "-reversed" : "-in-order") + ".tpl";
  std::FILE* f = std::fopen(tf.path.c_str(), "wb");
  if (f == nullptr) std::abort();
  Writer w(f);
  constexpr int kPool = 999;
  Lines(w,
        "[FileHeader]|Type=FRT_TPL|Version=1.00|[Instruments]|InstrumentList=I0|"
        "[TemplateList]|Template_I0=Tpl|[Variables]");
  for (int v = 1; v <= kPool; ++v) PoolVariable(w, v, "1");
  Lines(w,
        "[Tpl_Generalities]|StrLength=40|FileHeader=0|FileFooter=0|PrintFDefaultStrings=1|"
        "[Tpl_Applications]|List=App|[Tpl_Application_App]|Id=101|Header=0|"
        "[Tpl_Formatstring_List]|Export=Out|[Tpl_Export_Out]|ID=0|Length=200|StrCount=1|"
        "VarCount=15|Header=0|Comment=0|[Tpl_Export_Out_Variables]");
  for (long c = 1; c <= codes; ++c) {
    const long i = reversed ? codes + 1 - c : c;
    w.Key("Code" + std::to_string(i), i % kPool + 1);
  }
  std::fclose(f);
  tf.lines = w.lines();
  return tf;
}

// Reading is what is compared: freeing what was read (the lines here, the catalogue and the
// reader's sections below) is left out of the timing in the Read benchmarks, and measured on
// its own in BM_CatalogueLoadAndFree.
void BM_ReadLinesBaseline(benchmark::State& state) {
  const TestFile& tf = FileOf(state.range(0));
  for (auto _ : state) {
    auto lines = std::make_unique<std::vector<std::string>>();
    std::ifstream in(tf.path);
    std::string line;
    while (std::getline(in, line)) lines->push_back(line);
    benchmark::DoNotOptimize(lines->data());
    state.PauseTiming();
    lines.reset();
    state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(tf.lines);
}

// Construction (which loads the file into the reader) and Read, as at start-up.
void LoadCatalogue(benchmark::State& state, const TestFile& tf, bool timeFreeing) {
  CRecordingMessageSink sink;
  CScopedMessageSink scoped(sink);
  CIniReader reader;
  for (auto _ : state) {
    auto manager = std::make_unique<CFormatTemplateManager>(reader, tf.path);
    if (manager->Read() != 1 || !sink.Empty()) {
      state.SkipWithError("the generated catalogue did not load cleanly");
      break;
    }
    benchmark::DoNotOptimize(manager->TemplateList().data());
    if (!timeFreeing) state.PauseTiming();
    manager.reset();
    reader.Clear();
    if (!timeFreeing) state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(tf.lines);
}

void BM_CatalogueLoad(benchmark::State& state) {
  LoadCatalogue(state, FileOf(state.range(0)), false);
}

void BM_CatalogueLoadAndFree(benchmark::State& state) {
  LoadCatalogue(state, FileOf(state.range(0)), true);
}

// The same codes of one definition in file order (0) and reversed (1).
constexpr long kManyCodes = 30000;
void BM_CatalogueCodes(benchmark::State& state) {
  LoadCatalogue(state, CodesFileOf(state.range(0), state.range(1) != 0), false);
}

// The machine is shared: the median of a few repetitions keeps one slow stretch out of the
// ratios.
void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
  b->Repetitions(5)->ReportAggregatesOnly(true);
}
BENCHMARK(BM_ReadLinesBaseline)->Apply(Sizes);
BENCHMARK(BM_CatalogueLoad)->Apply(Sizes);
BENCHMARK(BM_CatalogueLoadAndFree)->Apply(Sizes);
BENCHMARK(BM_CatalogueCodes)
    ->Args({kManyCodes, 0})
    ->Args({kManyCodes, 1})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Remembers each benchmark's time so that main can print the ratios.
class RatioReporter : public TimeKeeper {
 public:
  void PrintRatios() const {
    std::printf("\nAgainst reading the lines into a vector (same run, medians):\n");
    for (const char* name : {"BM_CatalogueLoad", "BM_CatalogueLoadAndFree"}) {
      for (long size : {10000L, 100000L}) {
        const std::string arg = "/" + std::to_string(size);
        const double base = Time("BM_ReadLinesBaseline" + arg);
        const double load = Time(name + arg);
        if (base <= 0 || load <= 0) continue;
        std::printf("  %-24s %6ld lines: %5.2fx the baseline\n", name, FileOf(size).lines,
                    load / base);
      }
    }
    const double lineGrowth =
        static_cast<double>(FileOf(100000).lines) / static_cast<double>(FileOf(10000).lines);
    std::printf("Growth for %.2fx the lines:\n", lineGrowth);
    for (const char* name :
         {"BM_ReadLinesBaseline", "BM_CatalogueLoad", "BM_CatalogueLoadAndFree"}) {
      const double small = Time(std::string(name) + "/10000");
      const double large = Time(std::string(name) + "/100000");
      if (small > 0 && large > 0) std::printf("  %-24s %5.2fx\n", name, large / small);
    }
    const std::string codes = "BM_CatalogueCodes/" + std::to_string(kManyCodes);
    const double inOrder = Time(codes + "/0");
    const double reversed = Time(codes + "/1");
    if (inOrder > 0 && reversed > 0)
      std::printf("%ld codes of one definition in reverse: %.2fx the same codes in file order\n",
                  kManyCodes, reversed / inOrder);
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
  for (long lines : {10000L, 100000L}) std::remove(FileOf(lines).path.c_str());
  for (bool reversed : {false, true}) std::remove(CodesFileOf(kManyCodes, reversed).path.c_str());
  return 0;
}

// Format document: loading a generated .frt file of 1,000, 10,000 and 100,000 format strings
// with its template and running every check, against reading the same file's lines into a
// vector (the least any reader has to do). Prints the cost per string at each size, its growth
// from the smallest to the largest file, and the ratio to the baseline.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include "bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/format_template_manager.h"
#include "catalogue/ini_reader.h"
#include "document/catalogue_pool_lookup.h"
#include "document/doc_format.h"
#include "library/error_message.h"
#include "library/frt_engine.h"
#include "preview/sample_value_source.h"
#include "profile/qv_profile.h"
#include "settings/qv_edit_var.h"

namespace {

// 100 blocks of 300 export and 700 import strings: room for 100,000 strings. The number of
// applications (one per export string of a block) is bounded by the length of a list line.
constexpr int kBlocks = 100;
constexpr int kExportsPerBlock = 300;
constexpr int kImportsPerBlock = 700;
constexpr int kApplications = kExportsPerBlock;
constexpr int kTextCode = 1;
constexpr int kFloatCode = 11;
constexpr long kSizes[] = {1000, 10000, 100000};

const char* const kIni =
    "[FileHeader]\nType=FRT_INI\nVersion=1.00\nCompany=C\nCreated=2026\nComment=bench\n"
    "[UNITS]\nList=Linear,Angular,Temperature,Pressure\n"
    "[UNITS_Linear]\nUnit1=m\nValue1=M\nCode1=21\nSelected=1\n"
    "[UNITS_Angular]\nUnit1=dms\nValue1=S\nCode1=12\nSelected=1\n"
    "[UNITS_Temperature]\nUnit1=C\nValue1=C\nCode1=31\nSelected=1\n"
    "[UNITS_Pressure]\nUnit1=mbar\nValue1=B\nCode1=41\nSelected=1\n"
    "[FLAGS]\nFlag1=scale\nValue1=1\nValid1=0\n"
    "[Scalings]\nAngular=1.0\nLinear=1.0\nTemperature=1.0\nPressure=1.0\n"
    "[DefaultValues]\nFloatValue=-9999.999\nIntegerValue=-9999\nStringValue=----\n"
    "[PrintFDefaultSettings_String]\nAlign=1\nLength=16\nPrecision=0\nFillCharacter=1\n"
    "[PrintFDefaultSettings_Integer]\nAlign=0\nLength=6\nFillCharacter=0\nSign=1\nBase=0\n"
    "[PrintFDefaultSettings_Float]\nAlign=0\nLength=12\nPrecision=3\nFillCharacter=1\nSign=0\n"
    "Representation=0\nAlternateFormat=0\n"
    "[PrintFDefaultSettings_Character]\nAlign=1\nLength=4\n"
    "[ScanFDefaultSettings_String]\nSubpressAssignment=0\nLength=-1\n"
    "[ScanFDefaultSettings_Integer]\nSubpressAssignment=0\nLength=-1\nBase=0\n"
    "[ScanFDefaultSettings_Float]\nSubpressAssignment=0\nLength=-1\nRepresentation=0\n"
    "[ScanFDefaultSettings_Character]\nSubpressAssignment=0\nLength=-1\n"
    "[LastActiveTemplate]\nTemplate=Big\nInstrument=BENCH\n";

std::string Dir() {
  static const std::string dir = [] {
    std::string d = ScratchPath("doc-bench");
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// Two characters per application item keep the application list within one line.
std::string Item(int a) {
  static const char kChars[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  return {kChars[a / 36], kChars[a % 36]};
}

// One template, "Big", with 100 export and 100 import blocks.
std::string Template() {
  std::string t =
      "[FileHeader]\nType=FRT_TPL\nVersion=1.00\n"
      "[Instruments]\nInstrumentList=BENCH\n[TemplateList]\nTemplate_BENCH=Big\n"
      "[Variables]\n";
  for (int c = 1; c <= kFloatCode; ++c) {
    const std::string n = std::to_string(c);
    const bool isFloat = c == kFloatCode;
    t += "Name" + n + "=V" + n + "\nCode" + n + "=" + n + "\nType" + n + "=" +
         (isFloat ? "8" : "11") + "\nUnitType" + n + "=" + (isFloat ? "2" : "0") + "\nDefault" + n +
         "=" + (isFloat ? "1.5" : "P") + "\n";
  }
  t += "[Big_Generalities]\nStrLength=40\nFileHeader=0\nFileHeaderLength=0\nFileFooter=0\n"
       "FileFooterLength=0\nPrintFDefaultStrings=0\n[Big_Applications]\nList=";
  for (int a = 1; a <= kApplications; ++a) t += (a > 1 ? "," : "") + Item(a);
  t += "\n";
  for (int a = 1; a <= kApplications; ++a)
    t += "[Big_Application_" + Item(a) + "]\nId=" + std::to_string(a) + "\nHeader=0\n";
  std::string exports, imports;
  for (int b = 0; b < kBlocks; ++b) {
    exports += (b ? ",E" : "E") + std::to_string(b);
    imports += (b ? ",I" : "I") + std::to_string(b);
  }
  t += "[Big_Formatstring_List]\nExport=" + exports + "\nImport=" + imports + "\n";
  for (int b = 0; b < kBlocks; ++b) {
    for (const char* dir : {"_Export_E", "_Import_I"}) {
      const std::string s = std::string("Big") + dir + std::to_string(b);
      const int count = dir[1] == 'E' ? kExportsPerBlock : kImportsPerBlock;
      t += "[" + s + "]\nID=" + std::to_string(b) +
           "\nLength=200\nStrCount=" + std::to_string(count) + "\nVarCount=10\nHeader=0\n";
      t += "[" + s + "_Variables]\nCode1=" + std::to_string(kTextCode) +
           "\nCode2=" + std::to_string(kFloatCode) + "\n";
    }
  }
  return t;
}

// The application's objects over the generated data files.
struct World {
  CRecordingMessageSink sink;
  CScopedMessageSink scoped{sink};
  CIniReader reader;
  std::unique_ptr<CQVProfile> profile;
  std::unique_ptr<CFormatTemplateManager> catalogue;
  CSampleValueSource source;
  CFrtEngine engine{&source};
  CDocContext context;
  std::map<long, std::string> files;

  World() {
    WriteText(Dir() + "/QV.ini", kIni);
    WriteText(Dir() + "/QV.tpl", Template());
    profile = std::make_unique<CQVProfile>(reader, Dir() + "/QV.ini", Dir() + "/QV.tpl", Dir());
    if (profile->Read() == 0) std::abort();
    catalogue = std::make_unique<CFormatTemplateManager>(reader, Dir() + "/QV.tpl");
    if (catalogue->Read() != 1) std::abort();
    source.SetCatalogue(catalogue.get());
    context = {catalogue.get(), profile.get(), &engine, nullptr};
    for (long n : kSizes) files[n] = WriteFormat(n);
  }

  // n strings, three export to seven import, spread over the blocks; each export string has
  // an application of its own within its block.
  std::string WriteFormat(long n) {
    CCataloguePoolLookup pool(*catalogue);
    std::string conversions[2];
    for (int d = 0; d < 2; ++d) {
      const auto dir = d == 0 ? CQVEditVar::Direction::kOutput : CQVEditVar::Direction::kInput;
      conversions[d] = CQVEditVar(*profile, pool, kTextCode, dir).BuildConversionText() + " " +
                       CQVEditVar(*profile, pool, kFloatCode, dir).BuildConversionText();
    }
    std::string text =
        "@t:FRT\r\n@i:BENCH\r\n@v:1.00\r\n@a:a\r\n@c:c\r\n@d:d\r\n@o:o\r\n@l:Big\r\n";
    text += "%NF" + std::to_string(n) + "\r\n#WS\r\n#LM\r\n#TC\r\n#PB\r\n";
    text += "&W1.0\r\n&L1.0\r\n&T1.0\r\n&P1.0\r\n@Dd-9\r\n@Df-9.9\r\n@Ds--\r\n";
    char line[256];
    long counts[2] = {0, 0};
    for (long i = 0; i < n; ++i) {
      const int d = i % 10 < 3 ? 0 : 1;
      const long k = counts[d]++;
      const int block = static_cast<int>(k % kBlocks);
      const int index = static_cast<int>(k / kBlocks) + 1;
      // Every text differs, as the strings of a real format do.
      std::snprintf(line, sizeof line, "$%d1%02d000\"S%ld %s\"011001%03d208211%03d", d + 1, block,
                    i, conversions[d].c_str(), kTextCode, kFloatCode);
      text += line;
      if (d == 0) text += ";" + std::to_string(1000 + index).substr(1);
      text += "\r\n";
    }
    const std::string path = Dir() + "/F" + std::to_string(n) + ".FRT";
    WriteText(path, text);
    return path;
  }
};

World& TheWorld() {
  static World world;
  return world;
}

void BM_ReadLinesBaseline(benchmark::State& state) {
  const std::string& path = TheWorld().files[state.range(0)];
  for (auto _ : state) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    benchmark::DoNotOptimize(lines.data());
  }
  state.counters["strings"] = static_cast<double>(state.range(0));
}

void BM_LoadAndCheck(benchmark::State& state) {
  World& w = TheWorld();
  const std::string& path = w.files[state.range(0)];
  const CFormatTemplate* big = w.catalogue->FindTemplate("Big");
  for (auto _ : state) {
    CDocFormat doc(w.context);
    doc.SetTemplate(big);
    if (doc.Load(path) != 1 || doc.Format().StringCount() != state.range(0)) {
      state.SkipWithError(w.sink.Empty() ? "not loaded" : w.sink.Last().text.c_str());
      break;
    }
    benchmark::DoNotOptimize(doc.Format().StringAt(0));
  }
  state.counters["strings"] = static_cast<double>(state.range(0));
}

// The library's reader alone, into a format of the same capacity: the part of the load that
// lies below the document.
void BM_ReaderOnly(benchmark::State& state) {
  World& w = TheWorld();
  const std::string& path = w.files[state.range(0)];
  const long capacity = w.catalogue->FindTemplate("Big")->CountStrings();
  for (auto _ : state) {
    CFrtFileEx format;
    format.SetListCapacity(static_cast<int>(capacity));
    if (format.Load(path.c_str(), 0, 0) != frt::kOk) {
      state.SkipWithError("not read");
      break;
    }
    benchmark::DoNotOptimize(format.StringAt(0));
  }
  state.counters["strings"] = static_cast<double>(state.range(0));
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (long n : kSizes) b->Arg(n);
  b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}
BENCHMARK(BM_ReadLinesBaseline)->Apply(Sizes);
BENCHMARK(BM_ReaderOnly)->Apply(Sizes);
BENCHMARK(BM_LoadAndCheck)->Apply(Sizes);

class RatioReporter : public TimeKeeper {
 public:
  void PrintRatios() const {
    std::printf("\nLoad and checks (medians, same run):\n");
    std::printf("  %8s %12s %12s %12s %8s %8s\n", "strings", "load us/str", "reader us/str",
                "lines us/str", "load", "reader");
    for (long n : kSizes) {
      const std::string arg = "/" + std::to_string(n);
      const double load = Time("BM_LoadAndCheck" + arg);
      const double reader = Time("BM_ReaderOnly" + arg);
      const double base = Time("BM_ReadLinesBaseline" + arg);
      if (load <= 0 || base <= 0 || reader <= 0) continue;
      std::printf("  %8ld %12.3f %12.3f %12.3f %7.2fx %7.2fx\n", n, load * 1000.0 / n,
                  reader * 1000.0 / n, base * 1000.0 / n, load / base, reader / base);
    }
    const double small = Time("BM_LoadAndCheck/1000") / 1000.0;
    const double large = Time("BM_LoadAndCheck/100000") / 100000.0;
    if (small > 0 && large > 0)
      std::printf("Per-string cost growth from 1,000 to 100,000 strings: %.2fx (target <= 1.5x)\n",
                  large / small);
    const double base = Time("BM_ReadLinesBaseline/100000");
    if (base > 0 && large > 0)
      std::printf("100,000 strings against the baseline: %.2fx (target <= 10x)\n",
                  large * 100000.0 / base);
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
  std::error_code ec;
  std::filesystem::remove_all(Dir(), ec);
  return 0;
}

// Renders the same lines with CFrtEngine and with the C library's snprintf, one pair of
// benchmarks per line kind (engine/<kind>, snprintf/<kind>). bench/run prints the ratios.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "library/frt_engine.h"
#include "library/frt_file.h"
#include "library/frt_string.h"

namespace {

// Values by variable code, as the application's source hands them out: a pointer to storage that
// holds the value in the requested width.
class BenchSource : public CFrtValueSource {
 public:
  struct Sample {
    long long integer = 0;
    double number = 0.0;
    const char* text = nullptr;
  };
  std::vector<Sample> values;

  frt::Result ValueByCode(int, const void*&) override { return frt::kOk; }
  frt::Result Value(CFrtVariable& variable, const void*& out, frt::DataType requested) override {
    const Sample& v = values[variable.code];
    switch (requested) {
      case frt::kTypeText:
      case frt::kTypeChar:
        out = v.text;
        return frt::kOk;
      case frt::kTypeFloat:
      case frt::kTypeDouble:
        out = &v.number;
        return frt::kOk;
      case frt::kTypeUShort:
      case frt::kTypeShort:
        small_ = static_cast<std::int16_t>(v.integer);
        out = &small_;
        return frt::kOk;
      default:
        word_ = static_cast<std::int32_t>(v.integer);
        out = &word_;
        return frt::kOk;
    }
  }
  frt::Result Accept(const CFrtVariable&, const CFrtInputValue&) override { return frt::kOk; }

 private:
  std::int16_t small_ = 0;
  std::int32_t word_ = 0;
};

// Each kind: one format text and the snprintf call that prints the same.
struct LineKind {
  const char* name;
  const char* text;
  int variables;
  void (*setValues)(BenchSource&);
  int (*print)(char*, std::size_t, const char*);
};

const LineKind kKinds[] = {
    {"integers", "%5d;%-8d|%+06d %x %#o %ld %hd", 7,
     [](BenchSource& s) {
       s.values = {{}, {-42}, {123456}, {7}, {0xbeef}, {8}, {-2000000000}, {-321}};
     },
     [](char* b, std::size_t n, const char* f) {
       return std::snprintf(b, n, f, -42, 123456, 7, 0xbeefu, 8u, -2000000000L,
                            static_cast<short>(-321));
     }},
    {"fixed", "%10.3f %.4f %+12.6f %08.2f %.0f", 5,
     [](BenchSource& s) {
       s.values = {
           {}, {0, 1234.56789}, {0, -0.000123}, {0, 98765.4321}, {0, -3.14159}, {0, 1234567.0}};
     },
     [](char* b, std::size_t n, const char* f) {
       return std::snprintf(b, n, f, 1234.56789, -0.000123, 98765.4321, -3.14159, 1234567.0);
     }},
    {"exponent", "%e %.3E %+14.8e %.2e", 4,
     [](BenchSource& s) {
       s.values = {
           {}, {0, 1234.56789}, {0, -6.02214076e23}, {0, 1.602176634e-19}, {0, 299792458.0}};
     },
     [](char* b, std::size_t n, const char* f) {
       return std::snprintf(b, n, f, 1234.56789, -6.02214076e23, 1.602176634e-19, 299792458.0);
     }},
    {"strings", "%-12s|%8s|%.4s|%c|%s", 5,
     [](BenchSource& s) {
       s.values = {{},
                   {0, 0, "PT1001"},
                   {0, 0, "CODE"},
                   {0, 0, "truncated"},
                   {0, 0, "X"},
                   {0, 0, "a somewhat longer remark text"}};
     },
     [](char* b, std::size_t n, const char* f) {
       return std::snprintf(b, n, f, "PT1001", "CODE", "truncated", 'X',
                            "a somewhat longer remark text");
     }},
    {"record", "11%-8s 81..%+012.3f 82..%+012.3f 83..%+09.3f 71%5d", 5,
     [](BenchSource& s) {
       s.values = {{}, {0, 0, "P17"}, {0, 4512345.678}, {0, -23456.789}, {0, 312.5}, {42}};
     },
     [](char* b, std::size_t n, const char* f) {
       return std::snprintf(b, n, f, "P17", 4512345.678, -23456.789, 312.5, 42);
     }},
};

struct Fixture {
  explicit Fixture(const LineKind& kind) : engine(&source) {
    engine.AttachFormat(&format);
    kind.setValues(source);
    string.SetText(kind.text);
    for (int i = 1; i <= kind.variables; ++i) {
      CFrtVariable v;
      v.code = static_cast<std::uint16_t>(i);
      v.options = 0;
      string.AddVariable(v);
    }
  }
  BenchSource source;
  CFrtEngine engine;
  CFrtFile format;
  CFrtString string;
};

void EngineLine(benchmark::State& state, const LineKind* kind) {
  Fixture f(*kind);
  char buffer[512];
  for (auto _ : state) {
    f.engine.Render(&f.string, buffer, sizeof buffer);
    benchmark::DoNotOptimize(buffer);
    benchmark::ClobberMemory();
  }
}

void SnprintfLine(benchmark::State& state, const LineKind* kind) {
  char buffer[512];
  for (auto _ : state) {
    kind->print(buffer, sizeof buffer, kind->text);
    benchmark::DoNotOptimize(buffer);
    benchmark::ClobberMemory();
  }
}

// A ratio means nothing unless both sides print the same line.
bool SameOutput() {
  bool ok = true;
  for (const LineKind& kind : kKinds) {
    Fixture f(kind);
    char ours[512], theirs[512];
    frt::Result r = f.engine.Render(&f.string, ours, sizeof ours);
    kind.print(theirs, sizeof theirs, kind.text);
    if (r != frt::kOk || std::strcmp(ours, theirs) != 0) {
      std::fprintf(stderr, "%s differs:\n  engine   %s (result %u)\n  snprintf %s\n", kind.name,
                   ours, r, theirs);
      ok = false;
    }
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (!SameOutput()) return 1;
  for (const LineKind& kind : kKinds) {
    benchmark::RegisterBenchmark((std::string("engine/") + kind.name).c_str(), EngineLine, &kind);
    benchmark::RegisterBenchmark((std::string("snprintf/") + kind.name).c_str(), SnprintfLine,
                                 &kind);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Input engine: import strings and data lines from the input. The pure scan, the one-line scan
// and the engine with its ring buffer all see the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_common.h"
#include "library/frt_engine.h"
#include "library/frt_file.h"
#include "library/frt_input_engine.h"
#include "library/frt_string.h"

namespace {

class Sink : public CFrtValueSource {
 public:
  frt::Result ValueByCode(int, const void*&) override { return frt::kOk; }
  frt::Result Value(CFrtVariable&, const void*&, frt::DataType) override { return frt::kNotFound; }
  frt::Result Accept(const CFrtVariable&, const CFrtInputValue& value) override {
    // The text must be readable during the call.
    for (char c : value.text) sum_ += static_cast<unsigned char>(c);
    return ++accepted_ % 7 == 0 && refuse_ ? frt::kBadData : frt::kOk;
  }
  bool refuse_ = false;

 private:
  unsigned sum_ = 0;
  unsigned accepted_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceMessages();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Bytes in(data, size);
  const int block = in.U8() % 4;
  const std::uint8_t mode = in.U8();
  CFrtFile format;
  format.SetListCapacity(8);
  const int strings = 1 + mode % 4;
  std::vector<CFrtString*> imports;
  for (int i = 0; i < strings; ++i) {
    CFrtString* s = nullptr;
    const std::uint8_t b = in.U8();
    const CFrtKey key{static_cast<std::uint8_t>(1 + (b & 1)),
                      static_cast<std::uint8_t>(1 + (b >> 1) % 2),
                      static_cast<std::uint8_t>((b >> 2) % 4), static_cast<std::uint16_t>(i)};
    if (format.AddString(key, s) != frt::kOk) std::abort();
    const int variables = in.U8() % 12;
    for (int k = 0; k < variables; ++k) {
      CFrtVariable v;
      v.code = static_cast<std::uint16_t>(k);
      v.dataType = static_cast<std::uint8_t>(in.U8() % 13);
      s->AddVariable(v);
    }
    s->SetText(in.Text(2100));
    imports.push_back(s);
  }
  const std::string_view rest = in.Rest();

  // The pure scan over the whole rest, and each string on the first line.
  std::vector<frt::ScanValue> values;
  const frt::ScanRun run =
      frt::ScanImport(imports[0]->TextView(), imports[0]->Variables().size(), rest, values);
  if (run.position > rest.size()) std::abort();
  Sink sink;
  sink.refuse_ = mode & 0x80;
  const std::string_view firstLine = rest.substr(0, rest.find('\n'));
  for (CFrtString* s : imports) frt::ScanLine(*s, firstLine, sink);

  // The engine, line by line.
  CFrtEngine engine(&sink);
  engine.BeginInput(&format, block);
  std::size_t pos = 0;
  while (pos <= rest.size()) {
    const std::size_t nl = rest.find('\n', pos);
    const std::size_t end = nl == std::string_view::npos ? rest.size() : nl;
    engine.InputLine(rest.substr(pos, end - pos));
    if (engine.Input().Buffered() > CFrtInputEngine::kMaxBuffered) std::abort();
    pos = end + 1;
  }
  engine.InputFlag();
  return 0;
}

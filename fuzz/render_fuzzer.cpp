// Output renderer: format text, variables, default strings, scales and the source's answers all
// come from the input. The output goes into a heap buffer of exactly the capacity, so any write
// past it is caught, and must be NUL-terminated inside it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "fuzz_common.h"
#include "library/frt_engine.h"
#include "library/frt_file.h"
#include "library/frt_string.h"

namespace {

// Answers by variable code, in the width the renderer asks for, from unaligned storage.
class FuzzSource : public CFrtValueSource {
 public:
  struct Answer {
    std::uint8_t mode = 0;  // low bits: value, missing, null, refusal; high bits: type change
    std::uint64_t bits = 0;
    std::string text;
  };
  std::map<int, Answer> answers;

  frt::Result ValueByCode(int, const void*&) override { return frt::kOk; }
  frt::Result Value(CFrtVariable& variable, const void*& value, frt::DataType requested) override {
    const auto it = answers.find(variable.code);
    if (it == answers.end()) return frt::kNotFound;
    const Answer& a = it->second;
    if (a.mode & 0x10) variable.dataType = static_cast<std::uint8_t>(a.mode >> 5);
    switch (a.mode & 3) {
      case 1:
        return frt::kNotFound;
      case 2:
        value = nullptr;
        return frt::kOk;
      case 3:
        if (a.mode & 4) return frt::kBadData;
        break;
    }
    if (requested == frt::kTypeText) {
      value = a.text.c_str();
      return frt::kOk;
    }
    std::memcpy(storage_ + 1, &a.bits, sizeof a.bits);
    value = storage_ + 1;
    return frt::kOk;
  }
  frt::Result Accept(const CFrtVariable&, const CFrtInputValue&) override { return frt::kOk; }

 private:
  unsigned char storage_[16] = {};
};

double AsDouble(std::uint64_t bits) {
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceMessages();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Bytes in(data, size);
  const std::size_t capacity = in.U16() % 4096;
  const bool attach = (in.U8() & 1) == 0;
  CFrtFile format;
  for (int unitType = 1; unitType <= 4; ++unitType) format.SetScale(unitType, AsDouble(in.U64()));
  format.SetDefaultString(frt::kTypeUShort, in.Text(250));
  format.SetDefaultString(frt::kTypeFloat, in.Text(250));
  format.SetDefaultString(frt::kTypeText, in.Text(250));

  CFrtString string;
  FuzzSource source;
  const int variables = in.U8() % 40;
  for (int i = 0; i < variables; ++i) {
    CFrtVariable v;
    v.code = in.U16() % 1000;
    v.unitType = in.U8();
    v.dataType = in.U8();
    v.unitCode = in.U8();
    v.options = in.U8();
    string.AddVariable(v);
    FuzzSource::Answer a;
    a.mode = in.U8();
    a.bits = in.U64();
    a.text = std::string(in.Text(300));
    source.answers.emplace(v.code, std::move(a));
  }
  string.SetText(in.Rest());

  CFrtEngine engine(&source);
  if (attach) engine.AttachFormat(&format);
  std::unique_ptr<char[]> buffer(capacity > 0 ? new char[capacity] : nullptr);
  engine.Render(&string, buffer.get(), capacity);
  if (capacity > 0 && std::memchr(buffer.get(), '\0', capacity) == nullptr) std::abort();

  // The string form renders the same characters; the buffer holds a prefix of them.
  std::string out;
  engine.Render(&string, out);
  if (out.size() > CFrtEngine::kStringLimit) std::abort();
  if (capacity > 0 && out.compare(0, std::strlen(buffer.get()), buffer.get()) != 0) std::abort();
  return 0;
}

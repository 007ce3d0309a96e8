#pragma once
// A value source for the engine tests: values by variable code, answered in the width the
// renderer asks for, from deliberately misaligned storage.
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "library/frt_engine.h"
#include "library/frt_file.h"
#include "library/frt_string.h"

namespace frt_test {

class TestSource : public CFrtValueSource {
 public:
  struct Entry {
    enum Kind { kInteger, kDouble, kText, kMissing, kNullPointer } kind = kMissing;
    long long integer = 0;
    double number = 0.0;
    std::string text;
  };
  struct Accepted {
    int code;
    char conversion;
    std::string text;
    double number;
    long long integer;
  };

  void SetInteger(int code, long long v) { Put(code, Entry::kInteger).integer = v; }
  void SetDouble(int code, double v) { Put(code, Entry::kDouble).number = v; }
  void SetText(int code, std::string v) { Put(code, Entry::kText).text = std::move(v); }
  void SetNullPointer(int code) { Put(code, Entry::kNullPointer); }

  frt::Result ValueByCode(int, const void*&) override { return frt::kOk; }

  frt::Result Value(CFrtVariable& variable, const void*& value, frt::DataType requested) override {
    requests.push_back(requested);
    auto it = entries_.find(variable.code);
    if (it == entries_.end()) return frt::kNotFound;
    const Entry& e = it->second;
    // Offset 1: the renderer must not rely on alignment.
    unsigned char* slot = storage_ + 1;
    std::memset(storage_, 0xA5, sizeof storage_);
    switch (e.kind) {
      case Entry::kMissing:
        return frt::kNotFound;
      case Entry::kNullPointer:
        value = nullptr;
        return frt::kOk;
      case Entry::kText:
        value = e.text.c_str();
        return frt::kOk;
      case Entry::kDouble:
        std::memcpy(slot, &e.number, sizeof e.number);
        break;
      case Entry::kInteger:
        StoreInteger(slot, e.integer, requested);
        break;
    }
    value = slot;
    return frt::kOk;
  }

  frt::Result Accept(const CFrtVariable& variable, const CFrtInputValue& v) override {
    accepted.push_back(
        Accepted{variable.code, v.conversion, std::string(v.text), v.number, v.integer});
    return frt::kOk;
  }

  std::vector<int> requests;
  std::vector<Accepted> accepted;

 private:
  Entry& Put(int code, Entry::Kind kind) {
    Entry& e = entries_[code];
    e = Entry{};
    e.kind = kind;
    return e;
  }
  static void StoreInteger(unsigned char* slot, long long v, frt::DataType requested) {
    switch (requested) {
      case frt::kTypeUShort: {
        auto x = static_cast<std::uint16_t>(v);
        std::memcpy(slot, &x, sizeof x);
        break;
      }
      case frt::kTypeShort: {
        auto x = static_cast<std::int16_t>(v);
        std::memcpy(slot, &x, sizeof x);
        break;
      }
      case frt::kTypeFloat:
      case frt::kTypeDouble: {
        auto x = static_cast<double>(v);
        std::memcpy(slot, &x, sizeof x);
        break;
      }
      default: {
        auto x = static_cast<std::uint32_t>(v);
        std::memcpy(slot, &x, sizeof x);
        break;
      }
    }
  }

  std::map<int, Entry> entries_;
  unsigned char storage_[24];
};

// A format string whose variables have codes 1, 2, ... n.
inline void MakeString(CFrtString& s, const char* text, int variables, std::uint8_t options = 0) {
  s.ClearLists();
  s.SetText(text);
  for (int i = 1; i <= variables; ++i) {
    CFrtVariable v;
    v.code = static_cast<std::uint16_t>(i);
    v.options = options;
    s.AddVariable(v);
  }
}

}  // namespace frt_test

#pragma once
// Building pool entries and pool.dat images for the pool tests. The image builder writes the
// file layout field by field on its own, so that the tests do not check the pool against itself.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "library/frt_string.h"
#include "library/frt_test_file.h"
#include "pool/string_pool.h"

namespace pooltest {

inline std::unique_ptr<CFrtStringEx> Entry(std::string_view name, CFrtKey key,
                                           std::string_view templ = "Kite_Basic",
                                           std::string_view text = "%s",
                                           std::vector<CFrtVariable> variables = {}) {
  auto e = std::make_unique<CFrtStringEx>();
  e->key = key;
  e->SetText(text);
  for (const auto& v : variables) e->AddVariable(v);
  e->extra[kPoolName] = name;
  e->extra[kPoolTemplate] = templ;
  return e;
}

using frt_test::Key;

inline CFrtVariable Var(int code, int unitType, int dataType, int unitCode, int options) {
  CFrtVariable v;
  v.code = static_cast<std::uint16_t>(code);
  v.unitType = static_cast<std::uint8_t>(unitType);
  v.dataType = static_cast<std::uint8_t>(dataType);
  v.unitCode = static_cast<std::uint8_t>(unitCode);
  v.options = static_cast<std::uint8_t>(options);
  return v;
}

// Little-endian pieces.
inline std::string U32(std::uint32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  return s;
}
inline std::string U16(std::uint16_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
inline std::string Byte(int b) {
  return std::string(1, static_cast<char>(b));
}

// One entry of a file image; the length fields can be set wrong on purpose.
struct RawEntry {
  std::string texts[5];
  int direction = 1, section = 1, block = 0, spare = 0, number = 0;
  std::string text;
  std::vector<CFrtVariable> variables;

  std::uint32_t textsLength = 640;
  std::uint32_t keyLength = 6;
  std::int64_t textLength = -1;     // -1: the text's real length
  std::int64_t variableCount = -1;  // -1: the real count
  std::uint32_t variableLength = 6;

  std::string Bytes() const {
    std::string out = U32(textsLength);
    for (const auto& t : texts) {
      std::string block(128, '\0');
      block.replace(0, t.size() < 128 ? t.size() : 128, t.substr(0, 128));
      out += block;
    }
    out += U32(keyLength) + Byte(direction) + Byte(section) + Byte(block) + Byte(spare) +
           U16(static_cast<std::uint16_t>(number));
    out += U32(textLength < 0 ? static_cast<std::uint32_t>(text.size())
                              : static_cast<std::uint32_t>(textLength));
    out += text;
    out += U32(variableCount < 0 ? static_cast<std::uint32_t>(variables.size())
                                 : static_cast<std::uint32_t>(variableCount));
    for (const auto& v : variables) {
      out += U32(variableLength) + U16(v.code) + Byte(v.unitType) + Byte(v.dataType) +
             Byte(v.unitCode) + Byte(v.options);
    }
    return out;
  }
};

inline RawEntry Raw(std::string name, std::string text, std::vector<CFrtVariable> vars = {}) {
  RawEntry r;
  r.texts[0] = std::move(name);
  r.texts[4] = "Kite_Basic";
  r.text = std::move(text);
  r.variables = std::move(vars);
  return r;
}

inline std::string Image(const std::vector<RawEntry>& entries, std::int64_t count = -1) {
  std::string out = U32(count < 0 ? static_cast<std::uint32_t>(entries.size())
                                  : static_cast<std::uint32_t>(count));
  for (const auto& e : entries) out += e.Bytes();
  return out;
}

// Names of the entries in the pool's name order.
inline std::vector<std::string> Names(const CStringPool& pool) {
  std::vector<std::string> names;
  for (const auto& [name, entry] : pool.Entries()) names.push_back(name);
  return names;
}

}  // namespace pooltest

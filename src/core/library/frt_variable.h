#pragma once
#include <cstdint>

namespace frt {

// A variable's data type: which value a conversion reads and which default output string stands
// in for a missing one. The numbers are those of the format file and the template.
enum DataType : std::uint8_t {
  kTypeNone = 0,     // not set yet
  kTypeUShort = 1,   // unsigned 16-bit
  kTypeShort = 2,    // signed 16-bit
  kTypeUInt = 3,     // unsigned 32-bit
  kTypeInt = 4,      // signed 32-bit
  kTypeULong = 5,    // unsigned 32-bit (the instrument's long)
  kTypeLong = 6,     // 32-bit, signed for d and i
  kTypeLong2 = 7,    // a second signed long of the template
  kTypeFloat = 8,    // read as a double by the renderer
  kTypeDouble = 9,   // double
  kTypeFloat2 = 10,  // a second floating type of the template
  kTypeText = 11,    // NUL-terminated text
  kTypeChar = 12,    // one character
};

}  // namespace frt

// One conversion's variable. Unit types: 1 angular, 2 linear, 3 temperature, 4 pressure, 0 none.
struct CFrtVariable {
  // Option bits, in the order of the settings file's variable flags.
  static constexpr std::uint8_t kOptScale = 1;     // sample value scaled by the format's factor
  static constexpr std::uint8_t kOptCutDigits = 2; // float formatter cuts instead of rounding
  static constexpr std::uint8_t kOptCutWidth = 4;  // keep only the last characters of the field
  static constexpr std::uint8_t kOptNegative = 8;  // print a float as negative

  std::uint16_t code = 0;
  std::uint8_t unitType = 2;
  std::uint8_t dataType = frt::kTypeNone;  // a frt::DataType, kept as the file's byte
  std::uint8_t unitCode = 0;
  std::uint8_t options = 1;

  friend bool operator==(const CFrtVariable&, const CFrtVariable&) = default;
};

inline bool IsIntegerType(int t) { return t >= frt::kTypeUShort && t <= frt::kTypeLong2; }
inline bool IsFloatType(int t) { return t >= frt::kTypeFloat && t <= frt::kTypeFloat2; }
inline bool IsDataType(int t) { return t >= frt::kTypeUShort && t <= frt::kTypeChar; }

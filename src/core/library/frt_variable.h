#pragma once
#include <cstdint>

// One conversion's variable. Unit types: 1 angular, 2 linear, 3 temperature, 4 pressure, 0 none.
struct CFrtVariable {
  // Option bits, in the order of the settings file's variable flags.
  static constexpr std::uint8_t kOptScale = 1;     // sample value scaled by the format's factor
  static constexpr std::uint8_t kOptCutDigits = 2; // float formatter cuts instead of rounding
  static constexpr std::uint8_t kOptCutWidth = 4;  // keep only the last characters of the field
  static constexpr std::uint8_t kOptNegative = 8;  // print a float as negative

  std::uint16_t code = 0;
  std::uint8_t unitType = 2;
  std::uint8_t dataType = 0;
  std::uint8_t unitCode = 0;
  std::uint8_t options = 1;

  friend bool operator==(const CFrtVariable&, const CFrtVariable&) = default;
};

// Data type groups: 1-7 integers, 8-10 floating point, 11 text, 12 character.
inline bool IsIntegerType(int t) { return t >= 1 && t <= 7; }
inline bool IsFloatType(int t) { return t >= 8 && t <= 10; }

#pragma once
#include <string>

class CQVProfDefault;

// What a variable's data type makes of it in a conversion.
enum class CQVValueKind : int { kNone = 0, kInteger = 1, kReal = 2, kString = 3, kCharacter = 4 };

// Data types 1..7 integer, 8..10 real number, 11 string, 12 character, others none.
CQVValueKind QVValueKindOf(int dataType);
// The scanf conversion of an integer data type ("hu", "hd", "u", "d", "lu", "ld", "ld" for 1..7),
// "" for any other type.
const char* QVInputIntegerConversion(int dataType);

// The conversion settings of one variable and the conversion text they stand for.
// Codes: Align 0 right, 1 left; Representation 0 "f", 1 "e", 2 "E"; Sign 1 always;
// Length the width (0 or less: none); Precision (below 0: none); FillCharacter 0 "0", 1 blank;
// AlternateFormat 1 "#"; SubpressAssignment 1 "*". -1 means not set.
struct CQVConversionSettings {
  int align = -1;
  int representation = -1;
  int sign = -1;
  int length = 0;
  int precision = 0;
  int fillCharacter = -1;
  int alternateFormat = -1;
  int subpressAssignment = -1;
  CQVValueKind kind = CQVValueKind::kNone;

  // Everything not set; Length and Precision 0.
  void Reset();
  // Reset, then the value kind of the data type and, for a kind, the defaults of that kind and
  // direction that its conversion uses.
  void ApplyDefaults(const CQVProfDefault& defaults, int dataType, bool output);
  // "%" flags width ["." precision] conversion, as the settings give it for this data type.
  std::string BuildText(int dataType, bool output) const;

  friend bool operator==(const CQVConversionSettings&, const CQVConversionSettings&) = default;
};

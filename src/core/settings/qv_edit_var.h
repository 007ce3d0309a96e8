#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "profile/qv_conversion.h"
#include "profile/qv_prof_flags.h"

class CQVProfDefault;
class CQVProfile;

// What the variable editor needs of a pool variable. Kept apart from the template catalogue so
// that the editor can be used (and tested) with any table of variables.
struct CQVPoolInfo {
  int code = 0;
  int type = 0;      // a frt::DataType
  int unitType = 0;  // 0 none, 1 angular, 2 linear, 3 temperature, 4 pressure
  std::string name;

  // Whether a reference can be made of it (see CFTPoolVariable::IsUsable).
  bool IsUsable() const;
};

class CQVPoolLookup {
 public:
  virtual ~CQVPoolLookup() = default;
  // The pool variable of a code, or nullptr.
  virtual const CQVPoolInfo* Find(int code) const = 0;
};

// A plain table of pool variables: the first entry with a code wins.
class CQVPoolTable : public CQVPoolLookup {
 public:
  CQVPoolTable() = default;
  explicit CQVPoolTable(std::vector<CQVPoolInfo> entries) : entries_(std::move(entries)) {}
  void Add(CQVPoolInfo info) { entries_.push_back(std::move(info)); }
  const CQVPoolInfo* Find(int code) const override;

 private:
  std::vector<CQVPoolInfo> entries_;
};

// One variable of a format string while it is inserted or edited: its reference (nine digits:
// flags 1, unit code 2, unit type 1, data type 2, code 3), its own copy of the run-time flags and
// its conversion settings, which turn into a printf-like (output) or scanf-like (input)
// conversion and can be parsed back from one.
class CQVEditVar {
 public:
  enum class Direction { kInput = 0, kOutput = 1 };

  // Characters that end a conversion when it is searched in a text.
  static constexpr std::string_view kConversionEnds = "feEsudc";
  static constexpr std::size_t kReferenceLength = 9;
  // A flag list longer than this cannot be written in the reference.
  static constexpr int kMaxFlags = 8;
  // The largest flag mask the reference's one flag digit holds.
  static constexpr int kMaxFlagDigit = 9;
  // FlagDigitOf for a combination that the flag digit cannot hold.
  static constexpr int kNoFlagDigit = -1;
  // The longest width an input conversion may have.
  static constexpr int kMaxInputLength = 20;
  // The unit code of the variables whose unit is fixed.
  static constexpr int kFixedUnitCode = 12;
  // Markers around a variable's name where the editor shows a variable.
  static constexpr char kFieldStart = '\x01';
  static constexpr char kFieldEnd = '\x02';

  // A format's direction number (1 export, 2 import) as the editor's direction.
  static Direction DirectionOfFormat(int formatDirection);

  // The pool variable of a code counts only when it is usable; an unusable one is treated as
  // missing, so it is neither inserted nor read back from a stored text.
  //
  // A new variable: the profile's flags and defaults, the pool variable of `code`, the unit code
  // by the fixed-unit rule, then the defaults of its data type.
  CQVEditVar(const CQVProfFlags& flags, const CQVProfDefault& defaults, const CQVPoolLookup& pool,
             int code, Direction direction);
  CQVEditVar(const CQVProfile& profile, const CQVPoolLookup& pool, int code, Direction direction);

  // A stored variable: the first nine characters of `text` are its reference, the rest holds
  // its conversion. `success` is false when the code is not in the pool or the rest has no
  // conversion, and otherwise tells whether the conversion parsed and rebuilds exactly. Once a
  // conversion was found, `text` becomes the rest with that conversion replaced by
  // 0x01 name 0x02; otherwise it is left as it was.
  CQVEditVar(const CQVProfFlags& flags, const CQVProfDefault& defaults, const CQVPoolLookup& pool,
             std::string& text, Direction direction, bool& success);
  CQVEditVar(const CQVProfile& profile, const CQVPoolLookup& pool, std::string& text,
             Direction direction, bool& success);

  // Settings reset, value kind and defaults of `dataType` for this variable's direction.
  void ApplyDefaults(int dataType);
  // The nine-digit reference. False (and `reference` untouched) when the variable has no pool
  // variable or its flags do not fit the flag digit: nothing may store a reference that does not
  // read back as this variable.
  bool BuildReference(std::string& reference) const;
  std::string BuildConversionText() const;

  // Parse a conversion (from its "%" to its conversion character) into the settings. False when
  // it cannot be parsed (output: shorter than two characters or no "." after the "%"; input: a
  // width above 20) or when the parsed settings do not build exactly the same text.
  bool ParseOutputConversion(std::string_view conversion);
  bool ParseInputConversion(std::string_view conversion);

  // The first conversion of `text`: a "%" that is not part of a "%%" pair, up to the first of
  // the characters "feEsudc" after it. Gives its first position and its length, or false.
  static bool FindConversion(std::string_view text, std::size_t& start, std::size_t& length);
  // The unit code a variable gets: 12 for the fixed-unit codes when `unitCode` is 0, else
  // `unitCode`.
  static int UnitCodeFor(int code, int unitCode);
  static bool HasFixedUnit(int code);

  // The flag list as a bit mask (bit i: flag i on); 0 for more than eight flags.
  int FlagMask() const { return FlagMaskOf(flags_); }
  static int FlagMaskOf(const CQVProfFlags::List& flags);
  // The reference's flag digit for a flag list: its mask when that is one digit (0 for a list
  // longer than kMaxFlags, which the digit never carries); kNoFlagDigit for any other mask.
  static int FlagDigitOf(const CQVProfFlags::List& flags);

  int Code() const { return code_; }
  int DataType() const { return dataType_; }
  int UnitCode() const { return unitCode_; }
  void SetUnitCode(int unitCode) { unitCode_ = unitCode; }
  Direction GetDirection() const { return direction_; }
  bool IsOutput() const { return direction_ == Direction::kOutput; }
  // The pool variable (nullptr when the code is not in the pool).
  const CQVPoolInfo* PoolVariable() const { return pool_ ? &*pool_ : nullptr; }
  CQVProfFlags::List& Flags() { return flags_; }
  const CQVProfFlags::List& Flags() const { return flags_; }
  const CQVConversionSettings& Settings() const { return settings_; }
  void SetSettings(const CQVConversionSettings& settings) { settings_ = settings; }
  // The conversion found in the stored text ("" for a new variable).
  const std::string& StoredConversion() const { return storedConversion_; }

  int Align() const { return settings_.align; }
  void SetAlign(int v) { settings_.align = v; }
  int Representation() const { return settings_.representation; }
  void SetRepresentation(int v) { settings_.representation = v; }
  int Sign() const { return settings_.sign; }
  void SetSign(int v) { settings_.sign = v; }
  int Length() const { return settings_.length; }
  void SetLength(int v) { settings_.length = v; }
  int Precision() const { return settings_.precision; }
  void SetPrecision(int v) { settings_.precision = v; }
  int FillCharacter() const { return settings_.fillCharacter; }
  void SetFillCharacter(int v) { settings_.fillCharacter = v; }
  int AlternateFormat() const { return settings_.alternateFormat; }
  void SetAlternateFormat(int v) { settings_.alternateFormat = v; }
  int SubpressAssignment() const { return settings_.subpressAssignment; }
  void SetSubpressAssignment(int v) { settings_.subpressAssignment = v; }
  CQVValueKind Kind() const { return settings_.kind; }

 private:
  CQVEditVar(const CQVProfFlags& flags, const CQVProfDefault& defaults, Direction direction);
  void LookUp(const CQVPoolLookup& pool);
  bool LoadFromText(const CQVPoolLookup& pool, std::string& text);

  int code_ = 0;
  CQVConversionSettings settings_;
  int unitCode_ = 0;
  Direction direction_;
  CQVProfFlags::List flags_;
  const CQVProfDefault* defaults_;
  std::optional<CQVPoolInfo> pool_;
  int dataType_ = 0;
  std::string storedConversion_;
};

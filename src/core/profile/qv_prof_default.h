#pragma once
#include <string>
#include <string_view>

#include "profile/qv_conversion_defaults.h"
#include "profile/qv_prof_element.h"

// What a new format starts from: the scale factors (section Scalings), the default sample
// values (section DefaultValues) and the eight default conversion objects.
class CQVProfDefault : public CQVProfElement {
 public:
  static constexpr const char* kScalings = "Scalings";
  static constexpr const char* kDefaultValues = "DefaultValues";

  explicit CQVProfDefault(const CQVProfContext& context);

  // Scalings and DefaultValues (message 1010 on a missing or unparsable scale), then the
  // printf String, Integer, Float, Character and the scanf String, Integer, Float, Character
  // objects, each with its own message; stops at the first that fails.
  int Read() override;
  int ReadEntries() override;
  // Writes Scalings and DefaultValues (the texts as held); message 1010 when a write failed.
  int Write() override;
  int WriteEntries() override;

  // Scale texts by unit-type name (Angular, Linear, Temperature, Pressure); "" for others.
  const std::string& ScaleText(std::string_view typeName) const;
  // False (nothing changed) for a name that is not one of the four.
  bool SetScaleText(std::string_view typeName, std::string text);

  const std::string& FloatValue() const { return floatValue_; }
  void SetFloatValue(std::string v) { floatValue_ = std::move(v); }
  const std::string& IntegerValue() const { return integerValue_; }
  void SetIntegerValue(std::string v) { integerValue_ = std::move(v); }
  const std::string& StringValue() const { return stringValue_; }
  void SetStringValue(std::string v) { stringValue_ = std::move(v); }

  CQVPrintFDefStrings& PrintFStrings() { return printFStrings_; }
  const CQVPrintFDefStrings& PrintFStrings() const { return printFStrings_; }
  CQVPrintFDefInteger& PrintFInteger() { return printFInteger_; }
  const CQVPrintFDefInteger& PrintFInteger() const { return printFInteger_; }
  CQVPrintFDefFloat& PrintFFloat() { return printFFloat_; }
  const CQVPrintFDefFloat& PrintFFloat() const { return printFFloat_; }
  CQVPrintFDefChar& PrintFChar() { return printFChar_; }
  const CQVPrintFDefChar& PrintFChar() const { return printFChar_; }
  CQVScanFDefStrings& ScanFStrings() { return scanFStrings_; }
  const CQVScanFDefStrings& ScanFStrings() const { return scanFStrings_; }
  CQVScanFDefInteger& ScanFInteger() { return scanFInteger_; }
  const CQVScanFDefInteger& ScanFInteger() const { return scanFInteger_; }
  CQVScanFDefFloat& ScanFFloat() { return scanFFloat_; }
  const CQVScanFDefFloat& ScanFFloat() const { return scanFFloat_; }
  CQVScanFDefChar& ScanFChar() { return scanFChar_; }
  const CQVScanFDefChar& ScanFChar() const { return scanFChar_; }

  // The output defaults page edits the real-number defaults and hands them on: Align, Length,
  // FillCharacter and Sign to the integer defaults; Align, Length, Precision and FillCharacter
  // to the string defaults; Align and Length to the character defaults.
  void CopyPrintFFloatToOthers();
  // Writes the real-number, integer, string and character output sections, in this order, all
  // of them even after a failure; true when every write succeeded.
  bool SavePrintFDefaults();

 private:
  std::string* ScaleField(std::string_view typeName);

  std::string angular_;
  std::string linear_;
  std::string temperature_;
  std::string pressure_;
  std::string floatValue_;
  std::string integerValue_;
  std::string stringValue_;
  CQVPrintFDefStrings printFStrings_;
  CQVPrintFDefInteger printFInteger_;
  CQVPrintFDefFloat printFFloat_;
  CQVPrintFDefChar printFChar_;
  CQVScanFDefStrings scanFStrings_;
  CQVScanFDefInteger scanFInteger_;
  CQVScanFDefFloat scanFFloat_;
  CQVScanFDefChar scanFChar_;
};

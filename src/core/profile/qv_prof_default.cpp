#include "profile/qv_prof_default.h"

#include "catalogue/ini_reader.h"

CQVProfDefault::CQVProfDefault(const CQVProfContext& context)
    : CQVProfElement(context),
      printFStrings_(context),
      printFInteger_(context),
      printFFloat_(context),
      printFChar_(context),
      scanFStrings_(context),
      scanFInteger_(context),
      scanFFloat_(context),
      scanFChar_(context) {}

int CQVProfDefault::Read() {
  CFTBase::Read();
  if (!ReadEntries()) return 0;
  CQVConversionDefaultBase* const objects[] = {&printFStrings_, &printFInteger_, &printFFloat_,
                                               &printFChar_,    &scanFStrings_,  &scanFInteger_,
                                               &scanFFloat_,    &scanFChar_};
  for (CQVConversionDefaultBase* object : objects)
    if (!object->Read()) return 0;
  return 1;
}

int CQVProfDefault::ReadEntries() {
  CFTBase::ReadEntries();
  angular_ = GetFloatText(Reader(), kScalings, "Angular");
  linear_ = GetFloatText(Reader(), kScalings, "Linear");
  temperature_ = GetFloatText(Reader(), kScalings, "Temperature");
  pressure_ = GetFloatText(Reader(), kScalings, "Pressure");
  floatValue_ = ReadText(kDefaultValues, "FloatValue", false);
  integerValue_ = ReadText(kDefaultValues, "IntegerValue", false);
  stringValue_ = ReadText(kDefaultValues, "StringValue", false);
  ShowError();
  return IsValid() ? 1 : 0;
}

int CQVProfDefault::Write() {
  CFTBase::Write();
  return WriteEntries();
}

int CQVProfDefault::WriteEntries() {
  CFTBase::WriteEntries();
  WriteString(kScalings, "Angular", angular_);
  WriteString(kScalings, "Linear", linear_);
  WriteString(kScalings, "Temperature", temperature_);
  WriteString(kScalings, "Pressure", pressure_);
  WriteString(kDefaultValues, "FloatValue", floatValue_);
  WriteString(kDefaultValues, "IntegerValue", integerValue_);
  WriteString(kDefaultValues, "StringValue", stringValue_);
  ShowError();
  return IsValid() ? 1 : 0;
}

std::string* CQVProfDefault::ScaleField(std::string_view typeName) {
  if (typeName == "Angular") return &angular_;
  if (typeName == "Linear") return &linear_;
  if (typeName == "Temperature") return &temperature_;
  if (typeName == "Pressure") return &pressure_;
  return nullptr;
}

const std::string& CQVProfDefault::ScaleText(std::string_view typeName) const {
  static const std::string none;
  if (typeName == "Angular") return angular_;
  if (typeName == "Linear") return linear_;
  if (typeName == "Temperature") return temperature_;
  if (typeName == "Pressure") return pressure_;
  return none;
}

bool CQVProfDefault::SetScaleText(std::string_view typeName, std::string text) {
  std::string* field = ScaleField(typeName);
  if (field == nullptr) return false;
  *field = std::move(text);
  return true;
}

void CQVProfDefault::CopyPrintFFloatToOthers() {
  const CQVPrintFDefFloat& f = printFFloat_;
  printFInteger_.SetAlign(f.Align());
  printFInteger_.SetLength(f.Length());
  printFInteger_.SetFillCharacter(f.FillCharacter());
  printFInteger_.SetSign(f.Sign());
  printFStrings_.SetAlign(f.Align());
  printFStrings_.SetLength(f.Length());
  printFStrings_.SetPrecision(f.Precision());
  printFStrings_.SetFillCharacter(f.FillCharacter());
  printFChar_.SetAlign(f.Align());
  printFChar_.SetLength(f.Length());
}

bool CQVProfDefault::SavePrintFDefaults() {
  bool ok = printFFloat_.Write() != 0;
  ok = printFInteger_.Write() != 0 && ok;
  ok = printFStrings_.Write() != 0 && ok;
  ok = printFChar_.Write() != 0 && ok;
  return ok;
}

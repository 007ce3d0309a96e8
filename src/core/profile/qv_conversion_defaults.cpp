#include "profile/qv_conversion_defaults.h"

#include <algorithm>

CQVConversionDefaultBase::CQVConversionDefaultBase(const CQVProfContext& context,
                                                   std::string section)
    : CQVProfElement(context), section_(std::move(section)) {}

void CQVConversionDefaultBase::AddKey(const char* name, int* field, int check, long minimum,
                                      long maximum, int hasException, long exception) {
  keys_.push_back(Key{name, field, check, minimum, maximum, hasException, exception});
}

const CQVConversionDefaultBase::Key* CQVConversionDefaultBase::FindKey(
    const std::string& name) const {
  for (const auto& key : keys_)
    if (name == key.name) return &key;
  return nullptr;
}

int CQVConversionDefaultBase::Read() {
  CFTBase::Read();
  return ReadEntries();
}

int CQVConversionDefaultBase::ReadEntries() {
  CFTBase::ReadEntries();
  auto readKey = [this](const Key& key) {
    *key.field = ToInt(ReadRequiredLong(section_, key.name, key.check, key.minimum, key.maximum,
                                        key.hasException, key.exception));
  };
  if (readOrder_.empty()) {
    for (const auto& key : keys_) readKey(key);
  } else {
    for (const char* name : readOrder_)
      if (const Key* key = FindKey(name)) readKey(*key);
  }
  ShowError();
  return IsValid() ? 1 : 0;
}

int CQVConversionDefaultBase::Write() {
  CFTBase::Write();
  return WriteEntries();
}

int CQVConversionDefaultBase::WriteEntries() {
  CFTBase::WriteEntries();
  for (const auto& key : keys_) {
    if (std::find(unwritten_.begin(), unwritten_.end(), key.name) != unwritten_.end()) continue;
    WriteLong(section_, key.name, *key.field);
  }
  ShowError();
  return IsValid() ? 1 : 0;
}

CQVPrintFDefaultBase::CQVPrintFDefaultBase(const CQVProfContext& context, std::string section)
    : CQVConversionDefaultBase(context, std::move(section)) {
  AddKey("Align", &align_, 1, 0, 1);
  AddKey("Length", &length_);
}

CQVPrintFDefStrings::CQVPrintFDefStrings(const CQVProfContext& context)
    : CQVPrintFDefaultBase(context, "PrintFDefaultSettings_String") {
  AddKey("Precision", &precision_);
  AddKey("FillCharacter", &fillCharacter_, 1, 0, 1);
}

CQVPrintFDefInteger::CQVPrintFDefInteger(const CQVProfContext& context)
    : CQVPrintFDefaultBase(context, "PrintFDefaultSettings_Integer") {
  AddKey("FillCharacter", &fillCharacter_, 1, 0, 1);
  AddKey("Sign", &sign_, 1, 0, 1);
  AddKey("Base", &base_, 1, 0, 2);
}

CQVPrintFDefFloat::CQVPrintFDefFloat(const CQVProfContext& context)
    : CQVPrintFDefaultBase(context, "PrintFDefaultSettings_Float") {
  AddKey("Precision", &precision_);
  AddKey("FillCharacter", &fillCharacter_, 1, 0, 1);
  AddKey("Representation", &representation_, 1, 0, 2);
  AddKey("Sign", &sign_, 1, 0, 1);
  AddKey("AlternateFormat", &alternateFormat_, 1, 0, 1);
  SetReadOrder({"Align", "Length", "Precision", "FillCharacter", "Sign", "Representation",
                "AlternateFormat"});
}

CQVPrintFDefChar::CQVPrintFDefChar(const CQVProfContext& context)
    : CQVPrintFDefaultBase(context, "PrintFDefaultSettings_Character") {}

CQVScanFDefaultBase::CQVScanFDefaultBase(const CQVProfContext& context, std::string section)
    : CQVConversionDefaultBase(context, std::move(section)) {
  AddKey("SubpressAssignment", &subpressAssignment_, 1, 0, 1);
  AddKey("Length", &length_, 1, 1, 20, 1, -1);
}

CQVScanFDefStrings::CQVScanFDefStrings(const CQVProfContext& context)
    : CQVScanFDefaultBase(context, "ScanFDefaultSettings_String") {}

CQVScanFDefInteger::CQVScanFDefInteger(const CQVProfContext& context)
    : CQVScanFDefaultBase(context, "ScanFDefaultSettings_Integer") {
  AddKey("Base", &base_);
  SetUnwritten("Base");
}

CQVScanFDefFloat::CQVScanFDefFloat(const CQVProfContext& context)
    : CQVScanFDefaultBase(context, "ScanFDefaultSettings_Float") {
  AddKey("Representation", &representation_, 1, 0, 2);
}

CQVScanFDefChar::CQVScanFDefChar(const CQVProfContext& context)
    : CQVScanFDefaultBase(context, "ScanFDefaultSettings_Character") {}

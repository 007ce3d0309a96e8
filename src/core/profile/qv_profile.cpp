#include "profile/qv_profile.h"

#include "catalogue/data_locations.h"
#include "catalogue/ini_reader.h"
#include "library/error_message.h"
#include "library/safe_file.h"

namespace {

constexpr int kIdNoUnitType = 1105;
constexpr int kIdDuplicateUnitType = 1106;
constexpr const char* kHeader = "FileHeader";
constexpr const char* kUnits = "UNITS";
constexpr const char* kLastActive = "LastActiveTemplate";

CQVProfContext MakeContext(CIniReader& reader, std::string settingsPath, std::string templatePath,
                           frt::FileSystem* fs, CQVSettingsMode mode) {
  CQVProfContext context;
  context.mode = mode;
  context.reader = &reader;
  context.settingsPath = std::move(settingsPath);
  context.templatePath = std::move(templatePath);
  context.fileSystem = fs;
  return context;
}

}  // namespace

CQVProfile::CQVProfile(CIniReader& reader, std::string settingsPath, std::string templatePath,
                       std::string appDir, frt::FileSystem* fileSystem, CQVSettingsMode mode)
    : CQVProfElement(
          MakeContext(reader, std::move(settingsPath), std::move(templatePath), fileSystem, mode)),
      default_(std::make_unique<CQVProfDefault>(Context())),
      appDir_(std::move(appDir)),
      flags_(std::make_unique<CQVProfFlags>(Context())) {
  if (Context().mode == CQVSettingsMode::kHold) ClearReadOnly();
  Reader().Clear();
  fileLoaded_ = Reader().Load(SettingsPath());
}

CQVProfile::CQVProfile(CIniReader& reader, const CDataLocations& locations,
                       frt::FileSystem* fileSystem, CQVSettingsMode mode)
    : CQVProfile(reader, locations.SettingsPath(), locations.TemplatePath(), locations.AppDir(),
                 fileSystem, mode) {}

CQVProfile::~CQVProfile() {
  unitTypes_.clear();
  flags_.reset();
  default_.reset();
  if (Context().mode == CQVSettingsMode::kHold) SetReadOnly();
}

frt::Result CQVProfile::ClearReadOnly() {
  return frt::SetOwnerWritable(SettingsPath(), true, Context().fileSystem);
}

frt::Result CQVProfile::SetReadOnly() {
  return frt::SetOwnerWritable(SettingsPath(), false, Context().fileSystem);
}

int CQVProfile::ReadEntries() {
  CFTBase::ReadEntries();
  type_ = GetExpectedText(Reader(), kHeader, "Type", kFileType);
  version_ = ReadText(kHeader, "Version", true);
  company_ = ReadText(kHeader, "Company", true);
  created_ = ReadText(kHeader, "Created", true);
  comment_ = ReadText(kHeader, "Comment", true);
  ShowError();
  return IsValid() ? 1 : 0;
}

int CQVProfile::Read() {
  CFTBase::Read();
  unitTypes_.clear();
  if (!ReadEntries()) return 0;

  std::string list = ReadText(kUnits, "List", true);
  for (std::string name = FirstItem(list); !name.empty(); name = NextItem(list)) {
    if (FindUnitType(name) != nullptr) {
      CErrorMessage::ShowMessage(kIdDuplicateUnitType, true, "\nUNITS\nList=" + name);
      return 0;
    }
    unitTypes_.push_back(std::make_unique<CQVProfUnitType>(Context(), name));
    if (!unitTypes_.back()->Read()) return 0;
  }

  std::string builtIn = kBuiltInUnitTypes;
  for (std::string name = FirstItem(builtIn); !name.empty(); name = NextItem(builtIn)) {
    if (FindUnitType(name) == nullptr) {
      // The missing List entry, if that is why, is the only error the profile can hold here.
      CErrorMessage::ShowMessage(kIdNoUnitType, true, ErrorText());
      return 0;
    }
  }

  if (!flags_->Read()) return 0;
  ReadLastActive();
  return default_->Read();
}

void CQVProfile::ReadLastActive() {
  // Never reported: a file without the section simply has no last template.
  std::string value;
  if (Reader().GetString(kLastActive, "Template", value)) lastTemplate_ = value;
  value.clear();
  if (Reader().GetString(kLastActive, "Instrument", value)) lastInstrument_ = value;
}

void CQVProfile::GetLastActive(std::string& instrument, std::string& templateName) const {
  instrument = lastInstrument_;
  templateName = lastTemplate_;
}

bool CQVProfile::SetLastActive(const std::string& instrument, const std::string& templateName) {
  CFTBase::Write();
  lastTemplate_ = templateName;
  lastInstrument_ = instrument;
  WriteString(kLastActive, "Template", templateName);
  WriteString(kLastActive, "Instrument", instrument);
  return IsValid();
}

CQVProfUnitType* CQVProfile::FindUnitType(std::string_view name) {
  for (auto& type : unitTypes_)
    if (type->Name() == name) return type.get();
  return nullptr;
}

const CQVProfUnitType* CQVProfile::FindUnitType(std::string_view name) const {
  for (const auto& type : unitTypes_)
    if (type->Name() == name) return type.get();
  return nullptr;
}

std::string CQVProfile::GetSelectedUnitValue(std::string_view typeName) const {
  const CQVProfUnitType* type = FindUnitType(typeName);
  return type != nullptr ? type->GetSelectedValue() : std::string();
}

std::string CQVProfile::GetUnitValueAt(std::string_view typeName, int index) const {
  const CQVProfUnitType* type = FindUnitType(typeName);
  return type != nullptr ? type->GetValueAt(index) : std::string();
}

int CQVProfile::IndexOfUnitValue(std::string_view typeName, const std::string& value) const {
  const CQVProfUnitType* type = FindUnitType(typeName);
  return type != nullptr ? type->IndexOfValue(value) : -1;
}

void CQVProfile::SelectUnit(std::string_view typeName, const std::string& value) {
  if (CQVProfUnitType* type = FindUnitType(typeName))
    type->SetSelected(type->IndexOfValue(value) + 1);
}

bool CQVProfile::SaveUnits() {
  bool ok = true;
  for (auto& type : unitTypes_) ok = type->Write() != 0 && ok;
  return ok;
}

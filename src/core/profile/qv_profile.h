#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "library/frt_result.h"
#include "profile/qv_prof_default.h"
#include "profile/qv_prof_element.h"
#include "profile/qv_prof_flags.h"
#include "profile/qv_prof_unit_type.h"

class CIniReader;
class CDataLocations;

// The settings file QV.ini: unit types, flags, scale factors, default values, default
// conversions and the last active template.
//
// Construction makes the settings file writable (in mode kHold) and loads it into the shared
// reader; Read() must then run to its end before anything else (the template catalogue) loads
// into that reader. Destruction makes the file read-only again (kHold). Writes go key by key to
// the file, never through the reader.
class CQVProfile : public CQVProfElement {
 public:
  using UnitTypes = std::vector<std::unique_ptr<CQVProfUnitType>>;

  // The four unit types every settings file must list.
  static constexpr const char* kBuiltInUnitTypes = "Linear,Angular,Temperature,Pressure";
  static constexpr const char* kFileType = "FRT_INI";

  // `fileSystem` (null: the real one) serves the key writes and the read-only bit.
  CQVProfile(CIniReader& reader, std::string settingsPath, std::string templatePath,
             std::string appDir, frt::FileSystem* fileSystem = nullptr,
             CQVSettingsMode mode = CQVSettingsMode::kHold);
  // Paths from the data locations: <app>/Global/QV.ini, the shared template file, <app>.
  CQVProfile(CIniReader& reader, const CDataLocations& locations,
             frt::FileSystem* fileSystem = nullptr, CQVSettingsMode mode = CQVSettingsMode::kHold);
  ~CQVProfile() override;

  // The whole file, in order: FileHeader, UNITS/List with every listed unit type, the four
  // built-in types present, FLAGS, the defaults; LastActiveTemplate on the way. Stops at the
  // first failure after showing its message (1010, 1105 or 1106; a duplicate flag shows none).
  // Nonzero on success.
  int Read() override;
  // FileHeader keys; message 1010 when one is missing or Type is not FRT_INI.
  int ReadEntries() override;

  CQVProfUnitType* FindUnitType(std::string_view name);
  const CQVProfUnitType* FindUnitType(std::string_view name) const;
  // "" / -1 / nothing done when no type has that name.
  std::string GetSelectedUnitValue(std::string_view typeName) const;
  std::string GetUnitValueAt(std::string_view typeName, int index) const;
  int IndexOfUnitValue(std::string_view typeName, const std::string& value) const;
  // Selected := 1-based position of `value` (0 when it is not in the list).
  void SelectUnit(std::string_view typeName, const std::string& value);
  // Writes Selected of every unit type, all of them even after a failure; true when all
  // succeeded (each failure shows message 1010).
  bool SaveUnits();

  // Instrument and template as read from LastActiveTemplate during Read(), or as last set.
  void GetLastActive(std::string& instrument, std::string& templateName) const;
  // Writes LastActiveTemplate/Template, then Instrument. No message: false with the write
  // error in ErrorText() when a write failed (the caller may ShowError()).
  bool SetLastActive(const std::string& instrument, const std::string& templateName);

  // The replacement for the read-only attribute of the settings file: the owner's write bit.
  // In mode kHold the constructor clears it and the destructor sets it.
  // kOk, kFileNotFound, or kCannotSave when the bit cannot be changed.
  frt::Result ClearReadOnly();
  frt::Result SetReadOnly();

  // Whether the reader could take the file in (false: an entry line before the first section).
  bool FileLoaded() const { return fileLoaded_; }

  const std::string& Type() const { return type_; }
  const std::string& Version() const { return version_; }
  const std::string& Company() const { return company_; }
  const std::string& Created() const { return created_; }
  const std::string& Comment() const { return comment_; }
  const std::string& LastInstrument() const { return lastInstrument_; }
  const std::string& LastTemplate() const { return lastTemplate_; }
  CQVProfDefault& Default() { return *default_; }
  const CQVProfDefault& Default() const { return *default_; }
  const std::string& AppDir() const { return appDir_; }
  CQVProfFlags& Flags() { return *flags_; }
  const CQVProfFlags& Flags() const { return *flags_; }
  const UnitTypes& GetUnitTypes() const { return unitTypes_; }

 private:
  void ReadLastActive();

  std::string type_;
  std::string version_;
  std::string company_;
  std::string created_;
  std::string comment_;
  std::string lastInstrument_;
  std::string lastTemplate_;
  std::unique_ptr<CQVProfDefault> default_;
  std::string appDir_;
  std::unique_ptr<CQVProfFlags> flags_;
  UnitTypes unitTypes_;
  bool fileLoaded_ = false;
};

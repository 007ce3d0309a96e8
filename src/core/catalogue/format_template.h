#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/ft_appl.h"
#include "catalogue/ft_base.h"
#include "catalogue/ft_format.h"
#include "catalogue/ft_variable.h"

class CIniReader;

// One template of the catalogue: its limits (section T + "_Generalities"), its applications and
// its format definitions. Built and read by the manager; does not change afterwards.
class CFormatTemplate : public CFTBase {
 public:
  using Applications = std::vector<std::unique_ptr<CFTAppl>>;
  using ExportFormats = std::vector<std::unique_ptr<CFTExportFormat>>;
  using ImportFormats = std::vector<std::unique_ptr<CFTImportFormat>>;
  using Formats = std::vector<CFTFormat*>;

  // A root element with the catalogue's file paths; reads through `reader` and checks variable
  // codes against `pool`, both of which must outlive it.
  CFormatTemplate(const CFTBase& catalogue, CIniReader& reader, const CFTVariablePool& pool,
                  std::string name, std::string instrument);

  // Reads the limits, the applications and the definitions with every check; 1 or 0. Shows
  // message 1010 for each problem found. Called once, by the manager.
  int Read() override;
  int ReadEntries() override;

  // The first definition (in reading order) of this direction and block type, or nullptr.
  const CFTFormat* FindFormat(long blockType, bool isExport) const;
  // The list item of the definition FindFormat finds, or "".
  std::string FormatName(long blockType, bool isExport) const;
  // The first application with this number, or nullptr.
  const CFTAppl* FindApplication(long number) const;
  // The catalogue's pool, looked up by code only.
  bool HasPoolVariable(long code) const { return pool_->Has(code); }
  const CFTPoolVariable* FindPoolVariable(long code) const { return pool_->Find(code); }
  // The most format strings a format of this template may hold.
  long CountStrings() const;

  // The lists in reading order; FormatList holds the exports, then the imports.
  const Applications& ApplicationList() const { return applications_; }
  const ExportFormats& ExportFormatList() const { return exports_; }
  const ImportFormats& ImportFormatList() const { return imports_; }
  const Formats& FormatList() const { return formats_; }

  const std::string& Name() const { return name_; }
  const std::string& Instrument() const { return instrument_; }
  long StringLength() const { return stringLength_; }
  long FileHeaderFlag() const { return fileHeaderFlag_; }
  long FileHeaderLength() const { return fileHeaderLength_; }
  long FileFooterFlag() const { return fileFooterFlag_; }
  long FileFooterLength() const { return fileFooterLength_; }
  long DefaultStringsFlag() const { return defaultStringsFlag_; }

 private:
  // Reads one of the lists Export or Import; false when any of its definitions failed.
  template <class Definition, class List>
  bool ReadDefinitions(std::string_view listKey, std::string_view sectionInfix, List& list);

  std::string name_;
  std::string instrument_;
  long stringLength_ = 0;
  long fileHeaderFlag_ = 0;
  long fileHeaderLength_ = 0;
  long fileFooterFlag_ = 0;
  long fileFooterLength_ = 0;
  long defaultStringsFlag_ = 0;
  CIniReader* reader_;
  const CFTVariablePool* pool_;
  ExportFormats exports_;
  ImportFormats imports_;
  Formats formats_;
  Applications applications_;

  // The first definition of each block type per direction, so that the duplicate check of a
  // template with many definitions stays linear.
  std::unordered_map<long, const CFTAppl*> applicationIndex_;
  std::unordered_map<long, CFTFormat*> firstExport_;
  std::unordered_map<long, CFTFormat*> firstImport_;
};

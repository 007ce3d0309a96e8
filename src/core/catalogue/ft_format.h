#pragma once
#include <memory>
#include <string>
#include <vector>

#include "catalogue/ft_base.h"
#include "catalogue/ft_variable.h"

class CIniReader;

// What the definitions of one template are read with: the template, which numbers them; the
// reader holding the template file; the pool their variable codes must be in; and the
// template's PrintFDefaultStrings flag, read before any definition.
struct CFTDefinitionScope {
  CFTBase* parent = nullptr;
  CIniReader* reader = nullptr;
  const CFTVariablePool* pool = nullptr;
  long defaultStringsFlag = 0;
};

// A format definition: what one data block type may hold in one direction (the section
// T + "_Export_" + item or T + "_Import_" + item), with its allowed variable codes.
class CFTFormat : public CFTBase {
 public:
  using Variables = std::vector<std::unique_ptr<CFTVariable>>;

  int Read() override;
  int ReadEntries() override;
  // The most format strings a format may hold for this block.
  virtual long StringCount() const { return 0; }

  // The first allowed variable with this code, or nullptr.
  const CFTVariable* FindVariable(long code) const;
  const Variables& AllowedVariables() const { return variables_; }

  const std::string& Item() const { return item_; }
  long BlockType() const { return blockType_; }
  long MaxLength() const { return maxLength_; }
  long StrCount() const { return stringCount_; }
  long VarCount() const { return variableCount_; }
  long Header() const { return header_; }
  const std::string& Section() const { return section_; }
  // 1 export, 0 import.
  int Direction() const { return direction_; }
  bool IsExport() const { return direction_ == 1; }

 protected:
  CFTFormat(const CFTDefinitionScope& scope, std::string section, std::string item, int direction);
  const CFTDefinitionScope& Scope() const { return scope_; }

 private:
  CFTDefinitionScope scope_;
  std::string item_;
  long blockType_ = 0;
  long maxLength_ = 0;
  long stringCount_ = 0;
  long variableCount_ = 0;
  long header_ = 0;
  std::string section_;
  int direction_;
  Variables variables_;
};

class CFTExportFormat : public CFTFormat {
 public:
  CFTExportFormat(const CFTDefinitionScope& scope, std::string section, std::string item);
  // The string count, plus the default string when the template has default strings.
  long StringCount() const override;
};

class CFTImportFormat : public CFTFormat {
 public:
  CFTImportFormat(const CFTDefinitionScope& scope, std::string section, std::string item);
  int ReadEntries() override;
  // The string count, plus the restriction string and the header string when the block has them.
  long StringCount() const override;
  // 1 when the block has a restriction string.
  long Restriction() const { return restriction_; }

 private:
  long restriction_ = 0;
};

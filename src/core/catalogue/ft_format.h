#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/ft_base.h"
#include "catalogue/ft_variable.h"

class CFormatTemplate;

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
  // Iteration over the allowed variables; nullptr at the end.
  const CFTVariable* FirstVariable() const;
  const CFTVariable* NextVariable() const;
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
  CFormatTemplate* Template() const { return template_; }

 protected:
  CFTFormat(CFormatTemplate* parentTemplate, std::string section, std::string item, int direction);

 private:
  CFormatTemplate* template_;
  std::string item_;
  long blockType_ = 0;
  long maxLength_ = 0;
  long stringCount_ = 0;
  long variableCount_ = 0;
  long header_ = 0;
  std::string section_;
  int direction_;
  Variables variables_;
  // Iteration is a reading operation on a catalogue that never changes after loading.
  mutable std::size_t variableCursor_ = 0;
};

class CFTExportFormat : public CFTFormat {
 public:
  CFTExportFormat(CFormatTemplate* parentTemplate, std::string section, std::string item);
  // The string count, plus the default string when the template has default strings.
  long StringCount() const override;
};

class CFTImportFormat : public CFTFormat {
 public:
  CFTImportFormat(CFormatTemplate* parentTemplate, std::string section, std::string item);
  int ReadEntries() override;
  // The string count, plus the restriction string and the header string when the block has them.
  long StringCount() const override;
  // 1 when the block has a restriction string.
  long Restriction() const { return restriction_; }

 private:
  long restriction_ = 0;
};

#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/format_template.h"
#include "catalogue/ft_base.h"
#include "catalogue/ft_variable.h"

class CIniReader;

// The template catalogue read from QV.tpl: the file header, the variable pool, the instrument
// names and the templates. Owned by the application; read once at start-up, then only looked up.
class CFormatTemplateManager : public CFTBase {
 public:
  using Templates = std::vector<std::unique_ptr<CFormatTemplate>>;
  using Pool = CFTVariablePool::Variables;
  static constexpr const char* kFileType = "FRT_TPL";

  // Empties the reader and loads the template file into it; nothing is parsed yet. The reader
  // must outlive the manager.
  CFormatTemplateManager(CIniReader& reader, std::string templatePath,
                         std::string settingsPath = {});

  // Parses the whole catalogue; 1 or 0. Every problem found shows message 1010 (possibly
  // several times); a template that failed stays in the catalogue.
  int Read() override;
  // The file header: 0 when its type is not "FRT_TPL" or its version is empty.
  int ReadEntries() override;

  // The first template of this exact name, or nullptr.
  const CFormatTemplate* FindTemplate(std::string_view name) const;
  // In file order.
  const Templates& TemplateList() const { return templates_; }
  // In InstrumentList order, duplicates kept.
  const std::vector<std::string>& InstrumentNames() const { return instruments_; }

  // True when a pool variable has this code, or `name` is not empty and one has this name.
  bool HasPoolVariable(long code, std::string_view name = {}) const {
    return pool_.Has(code, name);
  }
  const CFTPoolVariable* FindPoolVariable(long code) const { return pool_.Find(code); }
  // The name of the pool variable with this code, or "".
  std::string PoolVariableName(long code) const { return pool_.NameOf(code); }
  const Pool& PoolVariables() const { return pool_.List(); }

  const std::string& Type() const { return type_; }
  const std::string& Version() const { return version_; }
  const std::string& Company() const { return company_; }
  const std::string& Created() const { return created_; }
  const std::string& Comment() const { return comment_; }
  CIniReader& Reader() const { return *reader_; }

 private:
  CIniReader* reader_;
  std::string type_;
  std::string version_;
  std::string company_;
  std::string created_;
  std::string comment_;
  Templates templates_;
  CFTVariablePool pool_;
  std::vector<std::string> instruments_;
};

#include "catalogue/ft_format.h"

#include <utility>

#include "library/error_message.h"
#include "library/string_table.h"

CFTFormat::CFTFormat(const CFTDefinitionScope& scope, std::string section, std::string item,
                     int direction)
    : CFTBase(scope.parent),
      scope_(scope),
      item_(std::move(item)),
      section_(std::move(section)),
      direction_(direction) {}

int CFTFormat::ReadEntries() {
  CFTBase::ReadEntries();
  CIniReader& reader = *scope_.reader;
  blockType_ = GetLong(reader, section_, "ID", 0, 99);
  maxLength_ = GetLong(reader, section_, "Length", 0, 10000);
  stringCount_ = GetLong(reader, section_, "StrCount", 0, 10000);
  variableCount_ = GetLong(reader, section_, "VarCount", 0, 10000);
  header_ = GetLong(reader, section_, "Header", 0, 10000);
  ShowError();
  return IsValid() ? 1 : 0;
}

int CFTFormat::Read() {
  if (CFTBase::Read() == 0 || ReadEntries() == 0) return 0;
  const auto variablesSection = std::make_shared<const std::string>(section_ + "_Variables");
  int more = 1;
  int ok = 1;
  for (int i = 1; more && ok; ++i) {
    // The element that ends the list is made (and numbered) too, then dropped.
    auto variable =
        std::make_unique<CFTVariable>(scope_.parent, *scope_.reader, variablesSection, i);
    more = variable->Read();
    if (more) {
      ok = scope_.pool->Has(variable->Code()) ? 1 : 0;
      if (ok) variables_.push_back(std::move(variable));
    }
  }
  if (!ok) CErrorMessage::ShowMessage(frt::kIdStartFailed, true, "");
  if (ok && stringCount_ <= 0 && header_ <= 0 && scope_.defaultStringsFlag <= 0) {
    ok = 0;
    CErrorMessage::ShowMessage(frt::kIdStartFailed, true, "");
  }
  return ok;
}

const CFTVariable* CFTFormat::FindVariable(long code) const {
  for (const auto& v : variables_) {
    if (v->Code() == code) return v.get();
  }
  return nullptr;
}

CFTExportFormat::CFTExportFormat(const CFTDefinitionScope& scope, std::string section,
                                 std::string item)
    : CFTFormat(scope, std::move(section), std::move(item), 1) {}

long CFTExportFormat::StringCount() const {
  return StrCount() + (Scope().defaultStringsFlag == 1 ? 1 : 0);
}

CFTImportFormat::CFTImportFormat(const CFTDefinitionScope& scope, std::string section,
                                 std::string item)
    : CFTFormat(scope, std::move(section), std::move(item), 0) {}

int CFTImportFormat::ReadEntries() {
  if (CFTFormat::ReadEntries() == 0) return 0;
  restriction_ = GetLong(*Scope().reader, Section(), "Restriction", 0, 1);
  ShowError();
  return IsValid() ? 1 : 0;
}

long CFTImportFormat::StringCount() const {
  return StrCount() + (restriction_ == 1 ? 1 : 0) + (Header() == 1 ? 1 : 0);
}

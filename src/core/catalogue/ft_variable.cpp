#include "catalogue/ft_variable.h"

#include <utility>

#include "catalogue/ini_reader.h"
#include "library/error_message.h"
#include "library/string_table.h"

CFTVariable::CFTVariable(CFTBase* parent, CIniReader& reader,
                         std::shared_ptr<const std::string> section, int index)
    : CFTBase(parent), reader_(&reader), section_(std::move(section)), index_(index) {}

int CFTVariable::Read() {
  CFTBase::Read();
  return ReadEntries();
}

int CFTVariable::ReadEntries() {
  CFTBase::ReadEntries();
  // No ShowError here: a bad code is left to the definition's pool check, and anything that
  // is not a positive number simply ends the list.
  code_ = GetLong(*reader_, *section_, "Code" + std::to_string(index_), 0, 999);
  return code_ > 0 ? 1 : 0;
}

CFTPoolVariable::CFTPoolVariable(CIniReader& reader, int index)
    : CFTBase(std::string(), std::string()), reader_(&reader), index_(index) {}

int CFTPoolVariable::Read() {
  CFTBase::Read();
  return ReadEntries();
}

int CFTPoolVariable::ReadEntries() {
  CFTBase::ReadEntries();
  const std::string n = std::to_string(index_);
  name_ = GetText(*reader_, kSection, "Name" + n);
  if (name_.empty()) return 1;
  code_ = GetLong(*reader_, kSection, "Code" + n, 0, kMaxCode);
  type_ = GetLong(*reader_, kSection, "Type" + n, kMinType, kMaxType);
  unitType_ = GetLong(*reader_, kSection, "UnitType" + n, 0, kMaxUnitType);
  default_ = GetText(*reader_, kSection, "Default" + n);
  ShowError();
  return IsValid() ? 1 : 0;
}

bool CFTPoolVariable::IsUsable(long code, long type, long unitType) {
  return code >= 0 && code <= kMaxCode && type >= kMinType && type <= kMaxType && unitType >= 0 &&
         unitType <= kMaxUnitType;
}

int CFTVariablePool::Read(CIniReader& reader) {
  for (int i = 1;; ++i) {
    auto variable = std::make_unique<CFTPoolVariable>(reader, i);
    if (variable->Read() == 0) return 0;
    if (variable->Name().empty()) return 1;
    if (Has(variable->Code(), variable->Name())) {
      CErrorMessage::ShowMessage(frt::kIdStartFailed, true, "");
      return 0;
    }
    byCode_.emplace(variable->Code(), variable.get());
    names_.insert(variable->Name());
    variables_.push_back(std::move(variable));
  }
}

void CFTVariablePool::Clear() {
  variables_.clear();
  byCode_.clear();
  names_.clear();
}

bool CFTVariablePool::Has(long code, std::string_view name) const {
  if (byCode_.find(code) != byCode_.end()) return true;
  return !name.empty() && names_.find(name) != names_.end();
}

const CFTPoolVariable* CFTVariablePool::Find(long code) const {
  const auto it = byCode_.find(code);
  return it == byCode_.end() ? nullptr : it->second;
}

std::string CFTVariablePool::NameOf(long code) const {
  const CFTPoolVariable* variable = Find(code);
  return variable != nullptr ? variable->Name() : std::string();
}

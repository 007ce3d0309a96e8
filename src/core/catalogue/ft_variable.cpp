#include "catalogue/ft_variable.h"

#include <utility>

#include "catalogue/format_template.h"
#include "catalogue/ini_reader.h"

namespace {
// Every checked read of the catalogue uses this access mode.
constexpr int kReadMode = 1;
}  // namespace

CFTVariable::CFTVariable(CFormatTemplate* parentTemplate,
                         std::shared_ptr<const std::string> section, int index)
    : CFTBase(parentTemplate),
      template_(parentTemplate),
      section_(std::move(section)),
      index_(index) {}

int CFTVariable::Read() {
  CFTBase::Read();
  return ReadEntries();
}

int CFTVariable::ReadEntries() {
  CFTBase::ReadEntries();
  // No ShowError here: a bad code is left to the definition's pool check, and anything that
  // is not a positive number simply ends the list.
  code_ = GetLong(template_->Reader(), kReadMode, *section_, "Code" + std::to_string(index_), 1, 0,
                  999, 0, 0);
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
  name_ = GetString(*reader_, kReadMode, kSection, "Name" + n, {}, {}, 0, -1);
  if (name_.empty()) return 1;
  code_ = GetLong(*reader_, kReadMode, kSection, "Code" + n, 1, 0, kMaxCode, 0, 0);
  type_ = GetLong(*reader_, kReadMode, kSection, "Type" + n, 1, kMinType, kMaxType, 0, 0);
  unitType_ = GetLong(*reader_, kReadMode, kSection, "UnitType" + n, 1, 0, kMaxUnitType, 0, 0);
  default_ = GetString(*reader_, kReadMode, kSection, "Default" + n, {}, {}, 0, -1);
  ShowError();
  return IsValid() ? 1 : 0;
}

bool CFTPoolVariable::IsUsable(long code, long type, long unitType) {
  return code >= 0 && code <= kMaxCode && type >= kMinType && type <= kMaxType && unitType >= 0 &&
         unitType <= kMaxUnitType;
}

#include "profile/qv_prof_unit_type.h"

CQVProfUnitSelItem::CQVProfUnitSelItem(const CQVProfContext& context, std::string section,
                                       int index)
    : CQVProfElement(context), section_(std::move(section)), index_(index) {}

bool CQVProfUnitSelItem::IsValid() const {
  return CFTBase::IsValid() && !unit_.empty();
}

int CQVProfUnitSelItem::Read() {
  CFTBase::Read();
  return ReadEntries();
}

int CQVProfUnitSelItem::ReadEntries() {
  CFTBase::ReadEntries();
  const std::string n = std::to_string(index_);
  unit_ = ReadText(section_, "Unit" + n, false);
  // No name: the list of units has ended. That is a successful read of an invalid item.
  if (unit_.empty()) return 1;
  value_ = ReadText(section_, "Value" + n, true);
  code_ = ToInt(ReadRequiredLong(section_, "Code" + n));
  ShowError();
  return IsValid() ? 1 : 0;
}

CQVProfUnitType::CQVProfUnitType(const CQVProfContext& context, std::string name)
    : CQVProfElement(context), name_(std::move(name)), section_(kSectionPrefix + name_) {}

int CQVProfUnitType::Read() {
  CFTBase::Read();
  return ReadEntries();
}

int CQVProfUnitType::ReadEntries() {
  CFTBase::ReadEntries();
  units_.clear();
  for (int n = 1;; ++n) {
    auto item = std::make_unique<CQVProfUnitSelItem>(Context(), section_, n);
    if (!item->Read() || !item->IsValid()) break;
    units_.push_back(std::move(item));
  }
  selected_ = ToInt(ReadRequiredLong(section_, "Selected", 1, 1, Count()));
  ShowError();
  return IsValid() ? 1 : 0;
}

int CQVProfUnitType::Write() {
  CFTBase::Write();
  return WriteEntries();
}

int CQVProfUnitType::WriteEntries() {
  CFTBase::WriteEntries();
  WriteLong(section_, "Selected", selected_);
  ShowError();
  return IsValid() ? 1 : 0;
}

std::string CQVProfUnitType::GetSelectedValue() const {
  return GetValueAt(selected_ - 1);
}

std::string CQVProfUnitType::GetValueAt(int i) const {
  if (i < 0 || i >= Count()) return {};
  return units_[static_cast<std::size_t>(i)]->Value();
}

int CQVProfUnitType::IndexOfValue(const std::string& value) const {
  for (int i = 0; i < Count(); ++i)
    if (units_[static_cast<std::size_t>(i)]->Value() == value) return i;
  return -1;
}

#include "profile/qv_prof_flags.h"

CQVProfFlags::CQVProfFlags(const CQVProfContext& context) : CQVProfElement(context) {}

int CQVProfFlags::Read() {
  CFTBase::Read();
  return ReadEntries();
}

int CQVProfFlags::ReadEntries() {
  CFTBase::ReadEntries();
  flags_.clear();
  for (int n = 1;; ++n) {
    const std::string index = std::to_string(n);
    CQVProfFlag flag;
    flag.name = ReadText(kSection, "Flag" + index, true);
    const long value = ReadRequiredLong(kSection, "Value" + index, 1, 0, 1);
    const long valid = ReadRequiredLong(kSection, "Valid" + index, 1, 0, 1);
    // The list ends at the first entry without a usable value; what that entry got wrong is
    // not an error of the section.
    if (value != 0 && value != 1) break;
    if (Find(flag.name) != nullptr) return 0;
    flag.value = static_cast<int>(value);
    flag.valid = ToInt(valid);
    flags_.push_back(std::move(flag));
  }
  return 1;
}

int CQVProfFlags::Write() {
  CFTBase::Write();
  return WriteEntries();
}

int CQVProfFlags::WriteEntries() {
  CFTBase::WriteEntries();
  for (std::size_t i = 0; i < flags_.size(); ++i) {
    const std::string index = std::to_string(i + 1);
    WriteString(kSection, "Flag" + index, flags_[i].name);
    WriteLong(kSection, "Value" + index, flags_[i].value);
  }
  ShowError();
  return IsValid() ? 1 : 0;
}

CQVProfFlag* CQVProfFlags::Find(std::string_view name) {
  for (auto& flag : flags_)
    if (flag.name == name) return &flag;
  return nullptr;
}

const CQVProfFlag* CQVProfFlags::Find(std::string_view name) const {
  for (const auto& flag : flags_)
    if (flag.name == name) return &flag;
  return nullptr;
}

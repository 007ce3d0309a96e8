#include "frt_string.h"

#include <algorithm>

#include "out_of_memory.h"

frt::Result CFrtString::AddVariable(const CFrtVariable& variable) {
  frt::GuardAllocation([&] { variables_.push_back(variable); });
  return frt::kOk;
}

frt::Result CFrtString::VariableAt(int i, CFrtVariable*& out) {
  if (i < 0 || i >= static_cast<int>(variables_.size())) {
    out = nullptr;
    current_ = 0;
    return frt::kNotFound;
  }
  current_ = static_cast<std::uint16_t>(i);
  out = &variables_[static_cast<std::size_t>(i)];
  return frt::kOk;
}

frt::Result CFrtString::AddApplication(std::uint16_t number) {
  if (std::find(applications_.begin(), applications_.end(), number) != applications_.end())
    return frt::kDuplicate;
  frt::GuardAllocation([&] { applications_.push_back(number); });
  return frt::kOk;
}

bool CFrtString::HasApplication(std::uint16_t number) const {
  if (number == 0) return applications_.empty();
  return std::find(applications_.begin(), applications_.end(), number) != applications_.end();
}

std::uint16_t CFrtString::ApplicationAt(int i) const {
  if (i < 0 || i >= static_cast<int>(applications_.size())) return kNoApplication;
  return applications_[static_cast<std::size_t>(i)];
}

void CFrtString::ClearLists() {
  variables_.clear();
  applications_.clear();
  current_ = 0;
}

#pragma once
#include <memory>
#include <string>
#include <vector>

#include "profile/qv_prof_element.h"

// One selectable unit of a unit type: keys Unit n, Value n and Code n of its UNITS_ section.
class CQVProfUnitSelItem : public CQVProfElement {
 public:
  CQVProfUnitSelItem(const CQVProfContext& context, std::string section, int index);

  // Valid also needs a unit name: the first missing Unit n ends the type's list.
  bool IsValid() const override;
  int Read() override;
  int ReadEntries() override;

  const std::string& Unit() const { return unit_; }
  const std::string& Value() const { return value_; }
  int Code() const { return code_; }
  const std::string& Section() const { return section_; }
  int Index() const { return index_; }

 private:
  std::string unit_;
  std::string value_;
  int code_ = 0;
  std::string section_;
  int index_ = 0;
};

// A unit type (Linear, Angular, ...): its units in file order and the one selected for new formats.
class CQVProfUnitType : public CQVProfElement {
 public:
  using Units = std::vector<std::unique_ptr<CQVProfUnitSelItem>>;

  CQVProfUnitType(const CQVProfContext& context, std::string name);

  // Reads the units up to the first missing Unit n, then Selected (1..number of units).
  int Read() override;
  int ReadEntries() override;
  // Writes Selected only; message 1010 when that failed.
  int Write() override;
  int WriteEntries() override;

  const std::string& Name() const { return name_; }
  const std::string& Section() const { return section_; }
  int Selected() const { return selected_; }
  void SetSelected(int selected) { selected_ = selected; }
  const Units& Items() const { return units_; }
  int Count() const { return static_cast<int>(units_.size()); }

  // Value of the selected unit ("" when Selected is outside the list).
  std::string GetSelectedValue() const;
  // Value of the unit at 0-based index i ("" outside the list).
  std::string GetValueAt(int i) const;
  // 0-based index of the first unit whose Value is exactly `value`, or -1.
  int IndexOfValue(const std::string& value) const;

  static constexpr const char* kSectionPrefix = "UNITS_";

 private:
  std::string name_;
  int selected_ = 0;
  std::string section_;
  Units units_;
};

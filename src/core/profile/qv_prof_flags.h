#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "profile/qv_prof_element.h"

// One run-time flag of a variable: its name, whether new variables start with it on, and whether
// it applies to every variable (1) or to real-number variables only (0).
struct CQVProfFlag {
  std::string name;
  int value = 0;
  int valid = 0;
  friend bool operator==(const CQVProfFlag&, const CQVProfFlag&) = default;
};

// The FLAGS section. Flag n of the list is bit n-1 of a variable's options.
class CQVProfFlags : public CQVProfElement {
 public:
  using List = std::vector<CQVProfFlag>;
  static constexpr const char* kSection = "FLAGS";

  explicit CQVProfFlags(const CQVProfContext& context);

  // Reads Flag n, Value n, Valid n until Value n is missing or neither 0 nor 1. Never shows a
  // message; fails only when a name occurs twice.
  int Read() override;
  int ReadEntries() override;
  // Writes Flag n and Value n of every flag (Valid n is never written); message 1010 when a
  // write failed.
  int Write() override;
  int WriteEntries() override;

  const List& Items() const { return flags_; }
  List& Items() { return flags_; }
  int Count() const { return static_cast<int>(flags_.size()); }
  // The flag of that name, or nullptr.
  CQVProfFlag* Find(std::string_view name);
  const CQVProfFlag* Find(std::string_view name) const;

 private:
  List flags_;
};

#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalogue/ft_base.h"
#include "library/frt_variable.h"

class CIniReader;

// One allowed variable code of a format definition: key Code<index> of the definition's
// "_Variables" section. A missing, empty, zero or negative code ends the definition's list.
class CFTVariable : public CFTBase {
 public:
  // The section text is shared by all the variables of a definition: a catalogue holds many
  // of them, and a copy each would cost an allocation each. The parent numbers the element.
  CFTVariable(CFTBase* parent, CIniReader& reader, std::shared_ptr<const std::string> section,
              int index);

  // 1 while the list goes on (code above 0), 0 at its end.
  int Read() override;
  int ReadEntries() override;

  long Code() const { return code_; }
  const std::string& Section() const { return *section_; }
  int Index() const { return index_; }

 private:
  CIniReader* reader_;
  long code_ = 0;
  std::shared_ptr<const std::string> section_;
  int index_;
};

// One variable of the pool: keys Name<i>, Code<i>, Type<i>, UnitType<i>, Default<i> of section
// Variables. Belongs to no template, so its serial number is 0.
class CFTPoolVariable : public CFTBase {
 public:
  static constexpr const char* kSection = "Variables";
  static constexpr long kMaxCode = 999;
  static constexpr long kMinType = frt::kTypeUShort;
  static constexpr long kMaxType = frt::kTypeChar;
  static constexpr long kMaxUnitType = 4;

  CFTPoolVariable(CIniReader& reader, int index);

  // 0 when a key is out of range (message 1010 shown); 1 otherwise, also when the name is
  // missing, which ends the pool.
  int Read() override;
  int ReadEntries() override;

  const std::string& Name() const { return name_; }
  long Code() const { return code_; }
  long Type() const { return type_; }
  long UnitType() const { return unitType_; }
  const std::string& Default() const { return default_; }
  int Index() const { return index_; }

  // Whether a variable reference can be made of it: code, data type and unit type in their
  // ranges. A missing key reads as -9999 without error, so such a variable is in the pool but
  // is never offered for insertion.
  bool IsUsable() const { return IsUsable(code_, type_, unitType_); }
  static bool IsUsable(long code, long type, long unitType);

 private:
  CIniReader* reader_;
  std::string name_;
  long code_ = 0;
  long type_ = 0;
  long unitType_ = 0;
  std::string default_;
  int index_;
};

// The variable pool of the catalogue, with lookups by code and by name so that neither the
// pool's duplicate check nor the definitions' code checks scan it.
class CFTVariablePool {
 public:
  using Variables = std::vector<std::unique_ptr<CFTPoolVariable>>;

  // Reads Name1, Name2, ... up to the first missing name; 0 at the first bad variable or at a
  // code or name already in the pool (message 1010), keeping the variables before it.
  int Read(CIniReader& reader);
  void Clear();

  // True when a variable has this code, or `name` is not empty and one has this name.
  bool Has(long code, std::string_view name = {}) const;
  const CFTPoolVariable* Find(long code) const;
  // The name of the variable with this code, or "".
  std::string NameOf(long code) const;
  const Variables& List() const { return variables_; }

 private:
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };

  Variables variables_;
  std::unordered_map<long, const CFTPoolVariable*> byCode_;
  std::unordered_set<std::string, NameHash, std::equal_to<>> names_;
};

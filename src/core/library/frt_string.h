#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "fixed_text.h"
#include "frt_key.h"
#include "frt_result.h"
#include "frt_variable.h"

// One format string: key, variables in conversion order, assigned applications and text.
class CFrtString {
 public:
  static constexpr std::size_t kTextCapacity = 1928;  // 1,927 characters + NUL
  static constexpr std::uint16_t kNoApplication = 65535;

  virtual ~CFrtString() = default;

  CFrtKey key;
  // The line of the file the string was read from (from 1); 0 when it was not read from a file.
  std::int32_t fileLine = 0;

  frt::Result AddVariable(const CFrtVariable& variable);
  // Out of range gives kNotFound and null; the current index is reset to 0 then, else set to i.
  frt::Result VariableAt(int i, CFrtVariable*& out);
  int VariableCount() const { return static_cast<int>(variables_.size()); }
  const std::vector<CFrtVariable>& Variables() const { return variables_; }

  frt::Result AddApplication(std::uint16_t number);
  // For 0: true when no application is assigned; otherwise true when the number is assigned.
  bool HasApplication(std::uint16_t number) const;
  std::uint16_t ApplicationAt(int i) const;
  int ApplicationCount() const { return static_cast<int>(applications_.size()); }
  const std::vector<std::uint16_t>& Applications() const { return applications_; }

  void ClearLists();
  void SetText(const char* text) {
    if (text) text_.assign(text);
  }
  void SetText(std::string_view text) { text_.assign(text); }
  const char* Text() const { return text_.c_str(); }
  std::string_view TextView() const { return text_.view(); }
  bool IsPresent() const { return !text_.empty(); }
  int CurrentVariable() const { return current_; }

 private:
  std::vector<CFrtVariable> variables_;
  std::vector<std::uint16_t> applications_;
  frt::FixedText<kTextCapacity> text_;
  std::uint16_t current_ = 0;
};

// The string kind the document uses: adds an identity and five texts the library leaves alone.
class CFrtStringEx : public CFrtString {
 public:
  static constexpr std::size_t kExtraTextCapacity = 128;
  std::int32_t identity = 0;
  frt::FixedText<kExtraTextCapacity> extra[5];
};

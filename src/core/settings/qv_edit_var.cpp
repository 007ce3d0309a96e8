#include "settings/qv_edit_var.h"

#include <algorithm>
#include <climits>

#include "catalogue/ft_variable.h"
#include "library/utility.h"
#include "profile/qv_prof_default.h"
#include "profile/qv_profile.h"

namespace {

// The value of the leading run of ASCII digits (no sign, no blanks), clamped to int.
int DigitsValue(std::string_view text) {
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<long long>(value * 10 + (c - '0'), INT_MAX);
  }
  return static_cast<int>(value);
}

int RepresentationOf(char conversion) {
  if (conversion == 'e') return 1;
  if (conversion == 'E') return 2;
  return 0;
}

}  // namespace

bool CQVPoolInfo::IsUsable() const {
  return CFTPoolVariable::IsUsable(code, type, unitType);
}

const CQVPoolInfo* CQVPoolTable::Find(int code) const {
  for (const auto& entry : entries_)
    if (entry.code == code) return &entry;
  return nullptr;
}

CQVEditVar::Direction CQVEditVar::DirectionOfFormat(int formatDirection) {
  return formatDirection == 1 ? Direction::kOutput : Direction::kInput;
}

CQVEditVar::CQVEditVar(const CQVProfFlags& flags, const CQVProfDefault& defaults,
                       Direction direction)
    : direction_(direction), flags_(flags.Items()), defaults_(&defaults) {}

CQVEditVar::CQVEditVar(const CQVProfFlags& flags, const CQVProfDefault& defaults,
                       const CQVPoolLookup& pool, int code, Direction direction)
    : CQVEditVar(flags, defaults, direction) {
  code_ = code;
  LookUp(pool);
  unitCode_ = HasFixedUnit(code_) ? kFixedUnitCode : 0;
  ApplyDefaults(pool_ ? pool_->type : 0);
}

CQVEditVar::CQVEditVar(const CQVProfile& profile, const CQVPoolLookup& pool, int code,
                       Direction direction)
    : CQVEditVar(profile.Flags(), profile.Default(), pool, code, direction) {}

CQVEditVar::CQVEditVar(const CQVProfFlags& flags, const CQVProfDefault& defaults,
                       const CQVPoolLookup& pool, std::string& text, Direction direction,
                       bool& success)
    : CQVEditVar(flags, defaults, direction) {
  success = LoadFromText(pool, text);
}

CQVEditVar::CQVEditVar(const CQVProfile& profile, const CQVPoolLookup& pool, std::string& text,
                       Direction direction, bool& success)
    : CQVEditVar(profile.Flags(), profile.Default(), pool, text, direction, success) {}

void CQVEditVar::LookUp(const CQVPoolLookup& pool) {
  const CQVPoolInfo* info = pool.Find(code_);
  if (info != nullptr && info->IsUsable())
    pool_ = *info;
  else
    pool_.reset();
}

bool CQVEditVar::LoadFromText(const CQVPoolLookup& pool, std::string& text) {
  const std::string_view all = text;
  const std::string_view reference = all.substr(0, kReferenceLength);
  code_ = DigitsValue(reference) % 1000;
  LookUp(pool);
  if (!pool_) return false;

  // The flag digit is the variable's own state of every flag, on and off alike.
  const int mask =
      !reference.empty() && reference[0] >= '0' && reference[0] <= '9' ? reference[0] - '0' : 0;
  for (std::size_t i = 0; i < flags_.size(); ++i)
    flags_[i].value = i < kMaxFlags && (mask >> i & 1) != 0 ? 1 : 0;
  unitCode_ = UnitCodeFor(code_, reference.size() > 1 ? DigitsValue(reference.substr(1, 2)) : 0);
  ApplyDefaults(pool_->type);

  const std::string_view rest = all.substr(reference.size());
  std::size_t start = 0;
  std::size_t length = 0;
  if (!FindConversion(rest, start, length)) return false;
  storedConversion_ = std::string(rest.substr(start, length));
  const bool parsed = IsOutput() ? ParseOutputConversion(storedConversion_)
                                 : ParseInputConversion(storedConversion_);

  std::string shown(rest.substr(0, start));
  shown += kFieldStart;
  shown += pool_->name;
  shown += kFieldEnd;
  shown += rest.substr(start + length);
  text = std::move(shown);
  return parsed;
}

void CQVEditVar::ApplyDefaults(int dataType) {
  dataType_ = dataType;
  settings_.ApplyDefaults(*defaults_, dataType, IsOutput());
}

std::string CQVEditVar::BuildConversionText() const {
  return settings_.BuildText(dataType_, IsOutput());
}

int CQVEditVar::FlagMaskOf(const CQVProfFlags::List& flags) {
  if (flags.size() > static_cast<std::size_t>(kMaxFlags)) return 0;
  int mask = 0;
  for (std::size_t i = 0; i < flags.size(); ++i)
    if (flags[i].value != 0) mask |= 1 << i;
  return mask;
}

int CQVEditVar::FlagDigitOf(const CQVProfFlags::List& flags) {
  const int mask = FlagMaskOf(flags);
  return mask <= kMaxFlagDigit ? mask : kNoFlagDigit;
}

bool CQVEditVar::BuildReference(std::string& reference) const {
  const int digit = FlagDigitOf(flags_);
  if (!pool_ || digit == kNoFlagDigit) return false;
  reference = std::to_string(digit) + CUtility::IntToText(unitCode_, 2) +
              std::to_string(pool_->unitType) + CUtility::IntToText(pool_->type, 2) +
              CUtility::IntToText(pool_->code, 3);
  return true;
}

bool CQVEditVar::HasFixedUnit(int code) {
  static constexpr int kCodes[] = {21, 22, 24, 609, 631, 632, 633, 634, 655, 658, 901, 953};
  return std::find(std::begin(kCodes), std::end(kCodes), code) != std::end(kCodes);
}

int CQVEditVar::UnitCodeFor(int code, int unitCode) {
  return unitCode == 0 && HasFixedUnit(code) ? kFixedUnitCode : unitCode;
}

bool CQVEditVar::FindConversion(std::string_view text, std::size_t& start, std::size_t& length) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '%') {
      ++i;
      continue;
    }
    std::size_t run = i;
    while (run < text.size() && text[run] == '%') ++run;
    // Pairs of "%" are literal; an odd one out starts the conversion.
    if ((run - i) % 2 == 0) {
      i = run;
      continue;
    }
    const std::size_t end = text.find_first_of(kConversionEnds, run);
    if (end == std::string_view::npos) return false;
    start = run - 1;
    length = end - start + 1;
    return true;
  }
  return false;
}

bool CQVEditVar::ParseOutputConversion(std::string_view conversion) {
  if (conversion.size() < 2) return false;
  CQVConversionSettings& s = settings_;
  s.align = 0;
  s.length = -1;
  switch (s.kind) {
    case CQVValueKind::kInteger:
      s.sign = 0;
      s.fillCharacter = 1;
      break;
    case CQVValueKind::kReal:
      s.fillCharacter = 1;
      s.sign = 0;
      s.alternateFormat = 0;
      break;
    case CQVValueKind::kString:
      s.fillCharacter = 1;
      break;
    default:
      break;
  }
  const std::size_t dot = conversion.find('.', 1);
  if (dot == std::string_view::npos) return false;

  const std::string_view head = conversion.substr(1, dot - 1);
  std::string width = CUtility::TrailingDigits(head);
  const std::string_view flags = head.substr(0, head.size() - width.size());
  if (!width.empty() && width[0] == '0') {
    s.fillCharacter = 0;
    width.erase(0, 1);
  }
  if (!width.empty()) s.length = DigitsValue(width);
  for (char c : flags) {
    if (c == '#') s.alternateFormat = 1;
    if (c == '+') s.sign = 1;
    if (c == '-') s.align = 1;
  }
  s.precision = DigitsValue(conversion.substr(dot + 1));
  if (s.kind == CQVValueKind::kReal) s.representation = RepresentationOf(conversion.back());
  return s.BuildText(dataType_, true) == conversion;
}

bool CQVEditVar::ParseInputConversion(std::string_view conversion) {
  if (conversion.size() < 2) return false;
  CQVConversionSettings& s = settings_;
  s.subpressAssignment = conversion.find('*') != std::string_view::npos ? 1 : 0;
  s.length = -1;
  const std::size_t digits = conversion.find_first_of("0123456789");
  if (digits != std::string_view::npos) {
    const int length = DigitsValue(conversion.substr(digits));
    if (length > kMaxInputLength) return false;
    s.length = length;
  }
  if (s.kind == CQVValueKind::kReal) s.representation = RepresentationOf(conversion.back());
  return s.BuildText(dataType_, false) == conversion;
}

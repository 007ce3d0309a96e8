#include "catalogue/ft_format.h"

#include <utility>

#include "catalogue/format_template.h"
#include "library/error_message.h"
#include "library/string_table.h"

namespace {
constexpr int kReadMode = 1;
}  // namespace

CFTFormat::CFTFormat(CFormatTemplate* parentTemplate, std::string section, std::string item,
                     int direction)
    : CFTBase(parentTemplate),
      template_(parentTemplate),
      item_(std::move(item)),
      section_(std::move(section)),
      direction_(direction) {}

int CFTFormat::ReadEntries() {
  CFTBase::ReadEntries();
  CIniReader& reader = template_->Reader();
  blockType_ = GetLong(reader, kReadMode, section_, "ID", 1, 0, 99, 0, 0);
  maxLength_ = GetLong(reader, kReadMode, section_, "Length", 1, 0, 10000, 0, 0);
  stringCount_ = GetLong(reader, kReadMode, section_, "StrCount", 1, 0, 10000, 0, 0);
  variableCount_ = GetLong(reader, kReadMode, section_, "VarCount", 1, 0, 10000, 0, 0);
  header_ = GetLong(reader, kReadMode, section_, "Header", 1, 0, 10000, 0, 0);
  ShowError();
  return IsValid() ? 1 : 0;
}

int CFTFormat::Read() {
  if (CFTBase::Read() == 0 || ReadEntries() == 0) return 0;
  const auto variablesSection = std::make_shared<const std::string>(section_ + "_Variables");
  int more = 1;
  int ok = 1;
  for (int i = 1; more && ok; ++i) {
    // The element that ends the list is made (and numbered) too, then dropped.
    auto variable = std::make_unique<CFTVariable>(template_, variablesSection, i);
    more = variable->Read();
    if (more) {
      ok = template_->HasPoolVariable(variable->Code()) ? 1 : 0;
      if (ok) variables_.push_back(std::move(variable));
    }
  }
  if (!ok) CErrorMessage::ShowMessage(frt::kIdStartFailed, true, "");
  if (ok && stringCount_ <= 0 && header_ <= 0 && template_->DefaultStringsFlag() <= 0) {
    ok = 0;
    CErrorMessage::ShowMessage(frt::kIdStartFailed, true, "");
  }
  return ok;
}

const CFTVariable* CFTFormat::FindVariable(long code) const {
  for (const auto& v : variables_) {
    if (v->Code() == code) return v.get();
  }
  return nullptr;
}

const CFTVariable* CFTFormat::FirstVariable() const {
  variableCursor_ = 0;
  return NextVariable();
}

const CFTVariable* CFTFormat::NextVariable() const {
  if (variableCursor_ >= variables_.size()) return nullptr;
  return variables_[variableCursor_++].get();
}

CFTExportFormat::CFTExportFormat(CFormatTemplate* parentTemplate, std::string section,
                                 std::string item)
    : CFTFormat(parentTemplate, std::move(section), std::move(item), 1) {}

long CFTExportFormat::StringCount() const {
  return StrCount() + (Template()->DefaultStringsFlag() == 1 ? 1 : 0);
}

CFTImportFormat::CFTImportFormat(CFormatTemplate* parentTemplate, std::string section,
                                 std::string item)
    : CFTFormat(parentTemplate, std::move(section), std::move(item), 0) {}

int CFTImportFormat::ReadEntries() {
  if (CFTFormat::ReadEntries() == 0) return 0;
  restriction_ = GetLong(Template()->Reader(), kReadMode, Section(), "Restriction", 1, 0, 1, 0, 0);
  ShowError();
  return IsValid() ? 1 : 0;
}

long CFTImportFormat::StringCount() const {
  return StrCount() + (restriction_ == 1 ? 1 : 0) + (Header() == 1 ? 1 : 0);
}

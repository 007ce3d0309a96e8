#include "catalogue/ft_appl.h"

#include <utility>

#include "catalogue/format_template.h"

namespace {
constexpr int kReadMode = 1;
}  // namespace

CFTAppl::CFTAppl(CFormatTemplate* parentTemplate, std::string section, std::string item)
    : CFTBase(parentTemplate),
      template_(parentTemplate),
      item_(std::move(item)),
      section_(std::move(section)) {}

int CFTAppl::Read() {
  // The base read after the entries empties the error text again; only the results count.
  const int entries = ReadEntries();
  const int base = CFTBase::Read();
  return entries == 1 && base == 1 ? 1 : 0;
}

int CFTAppl::ReadEntries() {
  CFTBase::ReadEntries();
  CIniReader& reader = template_->Reader();
  number_ = GetLong(reader, kReadMode, section_, "Id", 1, 0, 999, 0, 0);
  headerLength_ = GetLong(reader, kReadMode, section_, "Header", 1, 0, 10000, 0, 0);
  ShowError();
  return IsValid() ? 1 : 0;
}

#include "catalogue/ft_appl.h"

#include <utility>

CFTAppl::CFTAppl(CFTBase* parent, CIniReader& reader, std::string section, std::string item)
    : CFTBase(parent), reader_(&reader), item_(std::move(item)), section_(std::move(section)) {}

int CFTAppl::Read() {
  // The base read after the entries empties the error text again; only the results count.
  const int entries = ReadEntries();
  const int base = CFTBase::Read();
  return entries == 1 && base == 1 ? 1 : 0;
}

int CFTAppl::ReadEntries() {
  CFTBase::ReadEntries();
  number_ = GetLong(*reader_, section_, "Id", 0, 999);
  headerLength_ = GetLong(*reader_, section_, "Header", 0, 10000);
  ShowError();
  return IsValid() ? 1 : 0;
}

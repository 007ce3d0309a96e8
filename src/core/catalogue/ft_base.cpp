#include "ft_base.h"

#include <locale.h>

#include <cctype>
#include <cstdlib>

#include "catalogue/ini_key_writer.h"
#include "catalogue/ini_reader.h"
#include "library/error_message.h"
#include "library/string_table.h"

namespace {

// Whether the text starts with a number as the C library's scanning of a double sees it,
// independent of the user's locale.
bool ScansAsDouble(const std::string& text) {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  const char* p = text.c_str();
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  char* end = nullptr;
  strtod_l(p, &end, c);
  return end != p;
}

}  // namespace

CFTBase::CFTBase(std::string settingsPath, std::string templatePath)
    : settingsPath_(std::move(settingsPath)), templatePath_(std::move(templatePath)) {}

CFTBase::CFTBase(CFTBase* parentTemplate) : parent_(parentTemplate) {
  if (parent_) {
    serial_ = parent_->NextElementSerial();
    fileSystem_ = parent_->fileSystem_;
  }
}

int CFTBase::Read() {
  ClearError();
  return 1;
}

int CFTBase::Write() {
  ClearError();
  return 1;
}

int CFTBase::ReadEntries() {
  ClearError();
  return 1;
}

int CFTBase::WriteEntries() {
  ClearError();
  return 1;
}

std::string CFTBase::GetText(CIniReader& reader, std::string_view section, std::string_view key) {
  accessMode_ = kReadMode;
  std::string value;
  reader.GetString(section, key, value);
  return value;
}

std::string CFTBase::GetCheckedText(CIniReader& reader, std::string_view section,
                                    std::string_view key, bool required, std::string_view expected,
                                    std::string_view allowed, int length) {
  std::string value = GetText(reader, section, key);
  if (value.empty()) {
    if (required) AppendError(CErrorMessage::EntryText(section, key));
    return value;
  }
  if (!allowed.empty()) {
    // A plain substring search, so any part of the allowed list passes.
    if (allowed.find(value) == std::string_view::npos)
      AppendError(CErrorMessage::ValueText(section, key, allowed));
  } else if (!expected.empty() && value != expected) {
    AppendError(CErrorMessage::EqualsText(section, key, expected));
  }
  if (errorText_.empty() && length > 0 && static_cast<long>(value.size()) != length)
    AppendError(CErrorMessage::BadFloatText(section, key, length));
  return value;
}

long CFTBase::GetLong(CIniReader& reader, std::string_view section, std::string_view key, int check,
                      long minimum, long maximum, int hasException, long exception) {
  std::string text = GetText(reader, section, key);
  if (text.empty()) return kMissing;
  // The reader's conversion of the text just found: the same as looking the key up again,
  // without the second search.
  const long value = CIniReader::ToLong(text.c_str());
  if (!check) return value;
  bool outside = value < minimum || value > maximum;
  if (hasException) {
    if (outside && value != exception) {
      AppendError(CErrorMessage::RangeText(section, key, minimum, maximum));
      AppendError(" (" + std::to_string(exception) + ")");
    }
  } else if (outside) {
    AppendError(CErrorMessage::RangeText(section, key, minimum, maximum));
  }
  return value;
}

std::string CFTBase::GetFloatText(CIniReader& reader, std::string_view section,
                                  std::string_view key) {
  std::string text = GetText(reader, section, key);
  if (text.empty()) {
    AppendError(CErrorMessage::EntryText(section, key));
    return text;
  }
  if (!ScansAsDouble(text.substr(0, 199))) {
    AppendError(CErrorMessage::EntryText(section, key));
    AppendError(frt::LoadText(frt::kIdBadFloat));
    AppendError("(" + text + ")");
  }
  return text;
}

void CFTBase::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  accessMode_ = 0;
  if (frt::WriteIniKey(SettingsPath(), section, key, value, fileSystem_) != frt::kOk)
    AppendError(CErrorMessage::WriteErrorText(section, key));
}

void CFTBase::ShowError() {
  if (!errorText_.empty()) CErrorMessage::ShowMessage(frt::kIdStartFailed, true, "");
}

std::string CFTBase::FirstItem(std::string& list) {
  list += ',';
  return NextItem(list);
}

std::string CFTBase::NextItem(std::string& list) {
  std::size_t p = list.find(',');
  if (p == std::string::npos) return {};
  std::string item = list.substr(0, p);
  list.erase(0, p + 1);
  return item;
}

#include "profile/qv_prof_element.h"

#include <climits>

#include "catalogue/ini_reader.h"
#include "library/error_message.h"
#include "library/safe_file.h"

CQVProfElement::CQVProfElement(const CQVProfContext& context)
    : CFTBase(context.settingsPath, context.templatePath), context_(context) {
  SetFileSystem(context.fileSystem);
}

long CQVProfElement::ReadRequiredLong(std::string_view section, std::string_view key, int check,
                                      long minimum, long maximum, int hasException,
                                      long exception) {
  std::string text;
  const bool found = Reader().GetString(section, key, text);
  const long value =
      GetLong(Reader(), section, key, check, minimum, maximum, hasException, exception);
  if (!found || text.empty()) AppendError(CErrorMessage::EntryText(section, key));
  return value;
}

std::string CQVProfElement::ReadText(std::string_view section, std::string_view key,
                                     bool required) {
  return required ? GetRequiredText(Reader(), section, key) : GetText(Reader(), section, key);
}

void CQVProfElement::WriteLong(std::string_view section, std::string_view key, long value) {
  WriteString(section, key, std::to_string(value));
}

void CQVProfElement::WriteString(std::string_view section, std::string_view key,
                                 std::string_view value) {
  const std::string& path = SettingsPath();
  // A missing file is not writable either; the write creates it.
  if (!frt::IsOwnerWritable(path, context_.fileSystem))
    frt::SetOwnerWritable(path, true, context_.fileSystem);
  CFTBase::WriteString(section, key, value);
  if (context_.mode == CQVSettingsMode::kLeave)
    frt::SetOwnerWritable(path, false, context_.fileSystem);
}

int CQVProfElement::ToInt(long value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

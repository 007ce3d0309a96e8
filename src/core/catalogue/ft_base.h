#pragma once
#include <string>
#include <string_view>

class CIniReader;
namespace frt {
class FileSystem;
}

// Base of every element read from the template file or the settings file: checked key reads
// that collect what is wrong in an error text, one message when there were errors, key-by-key
// writes of the settings file, and the comma-list items.
class CFTBase {
 public:
  // An element without parent: a root of the catalogue or the settings profile, which knows
  // where the two files are.
  CFTBase(std::string settingsPath, std::string templatePath);
  // An element of a template: numbered by the template's element counter.
  explicit CFTBase(CFTBase* parentTemplate);
  virtual ~CFTBase() = default;
  CFTBase(const CFTBase&) = delete;
  CFTBase& operator=(const CFTBase&) = delete;

  virtual bool IsValid() const { return errorText_.empty(); }
  virtual int Read();
  virtual int Write();
  // Text reads give the value as found, "" when the key is missing or empty. This one checks
  // nothing.
  std::string GetText(CIniReader& reader, std::string_view section, std::string_view key);
  // A missing or empty value is an error.
  std::string GetRequiredText(CIniReader& reader, std::string_view section, std::string_view key) {
    return GetCheckedText(reader, section, key, true, {}, {}, 0);
  }
  // Required, and equal to `expected`.
  std::string GetExpectedText(CIniReader& reader, std::string_view section, std::string_view key,
                              std::string_view expected) {
    return GetCheckedText(reader, section, key, true, expected, {}, 0);
  }
  // When present, found anywhere in `allowed` (a substring search, not a list lookup).
  std::string GetAllowedText(CIniReader& reader, std::string_view section, std::string_view key,
                             std::string_view allowed) {
    return GetCheckedText(reader, section, key, false, {}, allowed, 0);
  }
  // When present, `length` bytes long; checked only while the element has no error yet.
  std::string GetSizedText(CIniReader& reader, std::string_view section, std::string_view key,
                           int length) {
    return GetCheckedText(reader, section, key, false, {}, {}, length);
  }
  // A whole number that must lie in [minimum, maximum]; kMissing, without error, when missing.
  long GetLong(CIniReader& reader, std::string_view section, std::string_view key, long minimum,
               long maximum) {
    return GetLong(reader, section, key, 1, minimum, maximum, 0, 0);
  }
  // The same with the range check optional (check 0) and one value allowed outside the range.
  long GetLong(CIniReader& reader, std::string_view section, std::string_view key, int check,
               long minimum, long maximum, int hasException, long exception);
  // A floating-point number's text, which must be present and scan as a number.
  std::string GetFloatText(CIniReader& reader, std::string_view section, std::string_view key);
  virtual void WriteString(std::string_view section, std::string_view key, std::string_view value);
  virtual void ShowError();
  virtual std::string FirstItem(std::string& list);
  virtual std::string NextItem(std::string& list);
  virtual int ReadEntries();
  virtual int WriteEntries();

  // The value a missing or empty whole number reads as.
  static constexpr long kMissing = -9999;
  // The access mode every checked read sets; WriteString sets 0.
  static constexpr int kReadMode = 1;

  int Serial() const { return serial_; }
  const std::string& ErrorText() const { return errorText_; }
  int AccessMode() const { return accessMode_; }
  CFTBase* Parent() const { return parent_; }
  // An element of a template uses its parent's paths; they are not copied into every element.
  const std::string& SettingsPath() const {
    return parent_ ? parent_->SettingsPath() : settingsPath_;
  }
  const std::string& TemplatePath() const {
    return parent_ ? parent_->TemplatePath() : templatePath_;
  }

  // Numbers the elements of a template; elements call it on their parent once, at construction.
  int NextElementSerial() { return ++elementCounter_; }
  // Writes go through this file system (tests make it fail); null means the real one.
  void SetFileSystem(frt::FileSystem* fs) { fileSystem_ = fs; }

 protected:
  void AppendError(std::string_view text) { errorText_ += text; }
  void ClearError() { errorText_.clear(); }

 private:
  std::string GetCheckedText(CIniReader& reader, std::string_view section, std::string_view key,
                             bool required, std::string_view expected, std::string_view allowed,
                             int length);

  int serial_ = 0;
  std::string errorText_;
  int accessMode_ = 0;
  CFTBase* parent_ = nullptr;
  std::string settingsPath_;
  std::string templatePath_;
  int elementCounter_ = 0;
  frt::FileSystem* fileSystem_ = nullptr;
};

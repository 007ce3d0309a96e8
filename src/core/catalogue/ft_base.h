#pragma once
#include <string>
#include <string_view>

class CIniReader;
class CFormatTemplate;
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
  virtual std::string GetString(CIniReader& reader, int mode, std::string_view section,
                                std::string_view key, std::string_view expected,
                                std::string_view allowed, int required, int length);
  virtual long GetLong(CIniReader& reader, int mode, std::string_view section, std::string_view key,
                       int check, long minimum, long maximum, int hasException, long exception);
  virtual std::string GetFloatText(CIniReader& reader, int mode, std::string_view section,
                                   std::string_view key);
  virtual void WriteString(std::string_view section, std::string_view key, std::string_view value);
  virtual void ShowError();
  virtual std::string FirstItem(std::string& list);
  virtual std::string NextItem(std::string& list);
  virtual int ReadEntries();
  virtual int WriteEntries();

  // The value a missing or empty whole number reads as.
  static constexpr long kMissing = -9999;

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
  int serial_ = 0;
  std::string errorText_;
  int accessMode_ = 0;
  CFTBase* parent_ = nullptr;
  std::string settingsPath_;
  std::string templatePath_;
  int elementCounter_ = 0;
  frt::FileSystem* fileSystem_ = nullptr;
};

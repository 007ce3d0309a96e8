#pragma once
#include <string>
#include <string_view>

#include "catalogue/ft_base.h"

class CIniReader;
namespace frt {
class FileSystem;
}

// How a profile treats the read-only bit of the settings file (the owner's write bit). Every
// process may set it, so it says nothing about whether another process still runs.
enum class CQVSettingsMode {
  // Writable while the profile lives, read-only after it: the editor, which writes settings at
  // any time while it runs.
  kHold,
  // Left as found unless a key is written; a key write leaves it read-only, as between runs: a
  // tool that reads the settings, and must not take the file away from a running editor.
  kLeave,
};

// What every element of the settings profile shares: the one reader that holds QV.ini while the
// profile loads, the two file paths, and the file system that key writes go through.
struct CQVProfContext {
  CIniReader* reader = nullptr;
  std::string settingsPath;
  std::string templatePath;
  frt::FileSystem* fileSystem = nullptr;  // null: the real one
  CQVSettingsMode mode = CQVSettingsMode::kHold;
};

// Base of the profile's elements: CFTBase with the reader bound, and the two key operations the
// settings file needs beyond CFTBase (whole numbers that must be present, whole numbers written
// as plain decimals).
class CQVProfElement : public CFTBase {
 public:
  explicit CQVProfElement(const CQVProfContext& context);

  // The context children of this element are made with.
  const CQVProfContext& Context() const { return context_; }
  CIniReader& Reader() const { return *context_.reader; }

 protected:
  // GetLong, and the missing-entry error when the key is absent or empty: CFTBase's GetLong
  // gives -9999 silently then, but every whole number of QV.ini is required.
  long ReadRequiredLong(std::string_view section, std::string_view key, int check = 0,
                        long minimum = 0, long maximum = 0, int hasException = 0,
                        long exception = 0);
  // A text that may be required, with no other check.
  std::string ReadText(std::string_view section, std::string_view key, bool required);
  void WriteLong(std::string_view section, std::string_view key, long value);
  // CFTBase's key write, on a file made writable first: another process may have set the
  // read-only bit since this profile was made.
  void WriteString(std::string_view section, std::string_view key, std::string_view value) override;

  // A long read from the file as the 32-bit field it is kept in (clamped, not wrapped).
  static int ToInt(long value);

 private:
  CQVProfContext context_;
};

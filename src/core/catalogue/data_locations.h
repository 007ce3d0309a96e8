#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "library/frt_result.h"
#include "library/safe_file.h"

// Paths the caller gives explicitly (command-line options); empty means not given.
struct CDataLocationOptions {
  std::string appDir;
  std::string sharedDir;
};

// Where the data files live. The application directory is the user's own: QV.ini below Global,
// pool.dat, and the Format folder the file dialogs start in. The shared directory holds the
// installed data: the template file and the files a new application directory is seeded from.
class CDataLocations {
 public:
  // Environment lookup, as std::getenv; tests pass their own.
  using EnvLookup = std::function<const char*(const char*)>;
  static constexpr const char* kAppDirVariable = "QUARVEL_APP_DIR";
  static constexpr const char* kSharedDirVariable = "QUARVEL_SHARED_DIR";

  // Each directory from the option, else its environment variable, else its default:
  // $XDG_DATA_HOME/quarvel (~/.local/share/quarvel when unset, empty or relative) for the
  // application directory, `defaultSharedDir` (BuiltInSharedDir() when empty) for the shared
  // one. Relative paths are made absolute against the current directory now, since the
  // program changes its working directory later.
  // kOk, or kInitFailed when the default is needed and no home directory is known.
  frt::Result Resolve(const CDataLocationOptions& options, const EnvLookup& env = {},
                      std::string_view defaultSharedDir = {});

  // The default shared directory: the installed data beside the running program
  // (<bin>/../share/quarvel), else the data folder of the source tree the core was built from,
  // else, when that is gone, the install location chosen at build time.
  static std::string BuiltInSharedDir();
  // The installed data directory for a program at `executable` when it holds Templates, else "".
  static std::string InstalledSharedDir(const std::string& executable);

  const std::string& AppDir() const { return appDir_; }
  const std::string& SharedDir() const { return sharedDir_; }
  std::string GlobalDir() const { return appDir_ + "/Global"; }
  std::string SettingsPath() const { return appDir_ + "/Global/QV.ini"; }
  std::string PoolPath() const { return appDir_ + "/pool.dat"; }
  std::string FormatDir() const { return appDir_ + "/Format"; }
  std::string TemplatePath() const { return sharedDir_ + "/Templates/Quarvel/QV.tpl"; }

  // Creates the application directory with Global and Format and copies what is missing from
  // the shared directory: every file of <shared>/Global whenever it is missing (the program
  // cannot start without its settings), the *.frt examples of <shared>/Format only when the
  // Format folder is new, so examples the user deleted stay deleted. Existing files are never
  // overwritten. A missing shared folder copies nothing and is no failure.
  // kOk, or kCannotSave with `failedPath` naming the folder or file that could not be made;
  // `copied` lists the files copied (targets), also when a later copy failed.
  frt::Result PrepareAppDir(std::vector<std::string>* copied = nullptr,
                            std::string* failedPath = nullptr, frt::FileSystem* fs = nullptr) const;

 private:
  std::string appDir_;
  std::string sharedDir_;
};

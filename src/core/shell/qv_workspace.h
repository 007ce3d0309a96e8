#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "catalogue/data_locations.h"
#include "catalogue/ini_reader.h"
#include "document/doc_format.h"
#include "library/frt_engine.h"
#include "library/frt_result.h"
#include "preview/sample_value_source.h"

class CQVProfile;
class CFormatTemplateManager;
class CFormatTemplate;
class CStringPool;
namespace frt {
class FileSystem;
}

// What a start needs to know besides the data locations.
struct CWorkspaceOptions {
  // Command-line paths; empty ones fall back to the environment and the defaults.
  CDataLocationOptions locations;
  // Environment lookup (null: the process environment).
  CDataLocations::EnvLookup env;
  // The shared directory when neither option nor environment gives one (empty: built-in).
  std::string defaultSharedDir;
  // Load pool.dat. Tools that never touch the pool leave it alone, so a damaged pool file does
  // not warn on every run.
  bool usePool = true;
  // Make <app>/Format the working directory while the workspace runs, as the editor's file
  // dialogs expect; the previous one is restored at shutdown. A command-line tool keeps its own,
  // since its arguments are relative to it.
  bool enterFormatDir = false;
  // Hold the settings file: writable while the workspace runs, read-only after, as the editor
  // has it. A tool that only reads settings leaves the file's mode alone (an editor may be
  // running); a key it writes all the same leaves the file read-only, as between runs.
  bool holdSettingsFile = true;
  // Serves the settings writes and the read-only bit (null: the real file system).
  frt::FileSystem* fileSystem = nullptr;
  // Makes the pool object; null from it means the pool could not be created. Empty: the real one.
  std::function<std::unique_ptr<CStringPool>(const std::string& path)> makePool;
};

// Everything the program holds for its whole run, without any window: the sectioned-file reader,
// the settings profile, the template catalogue, the string pool (when it loads), and the one
// renderer with its sample value source. The editor and frtool both start and stop through it.
class CQVWorkspace {
 public:
  // The template every new format is made for.
  static constexpr const char* kNewFileTemplate = "Kite_Basic";

  CQVWorkspace();
  // Shuts down when still running.
  ~CQVWorkspace();
  CQVWorkspace(const CQVWorkspace&) = delete;
  CQVWorkspace& operator=(const CQVWorkspace&) = delete;

  // The start-up: data locations (the application directory is created and seeded), the
  // profile, the catalogue, then the pool. False when the locations, the profile or the
  // catalogue fail; their messages have been shown and nothing stays loaded. A pool that cannot
  // be created (1111) or loaded (1251) is shown and left out; the start goes on.
  bool Start(const CWorkspaceOptions& options);
  // A start without the pool loads it here, later (the editor shows its main window first). The
  // same messages as in the start; false when there is no pool.
  bool LoadPool(const CWorkspaceOptions& options);
  // The shutdown: records the template for new files as the last active one, drops the
  // catalogue, the profile (which makes a held settings file read-only again) and the pool (which
  // saves itself when changed), and restores the working directory. Safe to call twice. A failed
  // record is shown, or ignored as the editor does at exit.
  enum class RecordFailure { kShow, kIgnore };
  void Shutdown(RecordFailure failure = RecordFailure::kShow);
  bool IsRunning() const { return running_; }

  // The new-file command's choice: the first template named kNewFileTemplate becomes the
  // template for new files. Null (and nothing changed) when the catalogue has none; no message.
  const CFormatTemplate* ChooseNewFileTemplate();
  const CFormatTemplate* NewFileTemplate() const { return newFileTemplate_; }
  // Sets the template for new files directly (a tool asked for another one).
  void SetNewFileTemplate(const CFormatTemplate* tpl) { newFileTemplate_ = tpl; }

  const CDataLocations& Locations() const { return locations_; }
  CIniReader& Reader() { return reader_; }
  // Null before a successful start and after shutdown.
  CQVProfile* Profile() const { return profile_.get(); }
  CFormatTemplateManager* Catalogue() const { return catalogue_.get(); }
  // Null also when the pool could not be created or loaded.
  CStringPool* Pool() const { return pool_.get(); }
  CFrtEngine& Engine() { return engine_; }
  CSampleValueSource& ValueSource() { return valueSource_; }
  // What a format document needs of the program: catalogue, profile and the renderer.
  CDocContext DocContext();
  // The working directory the start left for the Format folder (empty when it stayed).
  const std::string& StartDirectory() const { return startDir_; }

 private:
  void Drop();

  CDataLocations locations_;
  CIniReader reader_;
  std::unique_ptr<CQVProfile> profile_;
  std::unique_ptr<CFormatTemplateManager> catalogue_;
  std::unique_ptr<CStringPool> pool_;
  CSampleValueSource valueSource_;
  CFrtEngine engine_{&valueSource_};
  const CFormatTemplate* newFileTemplate_ = nullptr;
  frt::FileSystem* fileSystem_ = nullptr;
  std::string startDir_;
  bool running_ = false;
};

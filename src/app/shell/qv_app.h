#pragma once
// The application object: start-up and shutdown, and the objects every document and dialog
// reaches through it (data locations, the settings profile, the string pool, the main window).
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "catalogue/data_locations.h"
#include "catalogue/ini_reader.h"
#include "document/doc_format.h"
#include "library/error_message.h"
#include "library/frt_engine.h"
#include "preview/sample_value_source.h"
#include "shell/tree_hooks.h"

class CCataloguePoolLookup;
class CFormatTemplate;
class CFormatTemplateManager;
class CMainFrame;
class CQVDocumentManager;
class CQVProfile;
class CQtMessageSink;
class CStringPool;

// Registers the icons and pictures of the editor (call once after the QApplication exists).
void InitAppResources();

// What the command line and the environment give the start.
struct CQVAppOptions {
  CDataLocationOptions locations;  // --app-dir, --shared-dir
  QString file;                    // a format file to open, or empty
  // The environment lookup of the data locations (empty: the process environment).
  CDataLocations::EnvLookup env;
  // Tests install their own recording sink and leave this off.
  bool installMessageSink = true;
  // No main window is shown (tests and screenshots show what they need themselves).
  bool showMainWindow = true;
  // --screenshots DIR (the screenshot script): pictures of the windows instead of a session.
  QString screenshots;
};

class CQVApp : public QObject {
  Q_OBJECT
 public:
  // The name of the template every new format gets.
  static constexpr const char* kNewFormatTemplate = "Kite_Basic";

  explicit CQVApp(CQVAppOptions options = {}, QObject* parent = nullptr);
  ~CQVApp() override;
  CQVApp(const CQVApp&) = delete;
  CQVApp& operator=(const CQVApp&) = delete;

  // What the command line asks for.
  enum class Request { kRun, kHelp, kVersion, kInvalid };
  // Reads the options (--app-dir, --shared-dir, --screenshots, each as "--opt DIR" or
  // "--opt=DIR"; -h/--help; --version) and an optional file name. Help and version win over
  // everything else, so that they are answered even beside options of the window system that
  // only the application object knows. kInvalid (with `error` set) on an unknown option or a
  // missing or empty value. Needs no application object.
  static Request ParseArguments(const QStringList& arguments, CQVAppOptions& options,
                                QString* error = nullptr);
  // The text of --help.
  static QString HelpText();

  // Start-up. False when the start must end; the failing step has shown its message and no
  // main window remains.
  bool InitInstance();
  // Shutdown: records the last template, drops the profile and the pool, restores the working
  // directory. The exit code.
  int ExitInstance();

  // Command "(&N)新文件": a new format of the template "Kite_Basic", which becomes the template
  // for new files. Nothing happens (and nothing is shown) without that template or without a
  // document manager.
  bool OnFileNew();
  // Opening a file (command line, open dialog, recent files).
  bool OpenFile(const QString& path);
  // Command "说明...".
  void OnAppAbout();

  // The document integration plugs in here (not owned). Without one, the start installs the
  // application's own format document manager.
  void SetDocumentManager(CQVDocumentManager* manager) { documents_ = manager; }
  CQVDocumentManager* DocumentManager() const { return documents_; }

  // What every format document is made with: the catalogue, the profile and the one renderer,
  // whose sample values come from the catalogue's variable pool. Valid after a good start.
  CDocContext DocContext();
  // The catalogue's variable pool as the variable editor looks it up (null before the start).
  const CCataloguePoolLookup* PoolLookup() const { return poolLookup_.get(); }

  const CQVAppOptions& Options() const { return options_; }
  const CDataLocations& Locations() const { return locations_; }
  CIniReader& Reader() { return reader_; }
  CQVProfile* Profile() const { return profile_.get(); }
  CFormatTemplateManager* Catalogue() const { return catalogue_.get(); }
  CStringPool* Pool() const { return pool_.get(); }
  // The dialog commands of every format tree.
  CQVTreeHooks& TreeHooks() { return treeHooks_; }
  CMainFrame* MainFrame() const { return mainFrame_.get(); }
  // The working directory before the start changed it to the Format folder.
  const QString& StartDirectory() const { return startDirectory_; }

  // The template the last new format was made with ("" until then): instrument and name.
  // Recorded as the last active template at exit.
  void SetTemplateForNewFiles(const std::string& instrument, const std::string& name);
  const CFormatTemplate* TemplateForNewFiles() const { return newFileTemplate_; }
  const std::string& NewFileInstrument() const { return newInstrument_; }
  const std::string& NewFileTemplate() const { return newTemplate_; }

 private:
  bool PrepareLocations();
  void LoadPool();
  void Fail();

  CQVAppOptions options_;
  CDataLocations locations_;
  CIniReader reader_;
  std::unique_ptr<CQtMessageSink> sink_;
  CMessageSink* previousSink_ = nullptr;
  std::unique_ptr<CQVProfile> profile_;
  std::unique_ptr<CFormatTemplateManager> catalogue_;
  std::unique_ptr<CStringPool> pool_;
  std::unique_ptr<CCataloguePoolLookup> poolLookup_;
  CSampleValueSource sampleValues_;
  CFrtEngine engine_{&sampleValues_};
  std::unique_ptr<CQVDocumentManager> ownDocuments_;
  const CFormatTemplate* newFileTemplate_ = nullptr;
  std::unique_ptr<CMainFrame> mainFrame_;
  CQVDocumentManager* documents_ = nullptr;
  QString startDirectory_;
  std::string newInstrument_;
  std::string newTemplate_;
  bool started_ = false;
  CQVTreeHooks treeHooks_;
};

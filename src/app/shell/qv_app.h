#pragma once
// The application object: the workspace's start-up and shutdown around the main window, and the
// objects every document and dialog reaches through it (the workspace, the main window).
#include <QFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

#include "catalogue/data_locations.h"
#include "library/string_table.h"
#include "shell/qv_workspace.h"
#include "shell/tree_hooks.h"

class CCataloguePoolLookup;
class CMainFrame;
class CMessageSink;
class CQVDocumentManager;
class CQtMessageSink;

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
  // --lang en|zh; nothing when not given.
  std::optional<frt::Language> language;
};

class CQVApp : public QObject {
  Q_OBJECT
 public:
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

  // Start-up: the locale, the main frame, the workspace (which enters the Format folder), the
  // main window shown, then the pool and the file of the command line. False when the start
  // must end; the failing step has shown its message and no main window remains.
  bool InitInstance();
  // Shutdown: closes the windows, then the workspace records the last template, drops the
  // profile and the pool and restores the working directory. The exit code.
  int ExitInstance();

  // Command "(&N)新文件": a new format of the workspace's template for new files ("Kite_Basic").
  // Nothing happens (and nothing is shown) without that template or without a document manager.
  bool OnFileNew();
  // Opening a file (command line, open dialog, recent files).
  bool OpenFile(const QString& path);
  // Command "说明...".
  void OnAppAbout();

  // The document integration plugs in here (not owned). Without one, the start installs the
  // application's own format document manager.
  void SetDocumentManager(CQVDocumentManager* manager) { documents_ = manager; }
  CQVDocumentManager* DocumentManager() const { return documents_; }

  // What the windows of a format document are given. Valid after a good start.
  CQVDocServices DocServices();
  // The catalogue's variable pool as the variable editor looks it up (null before the start).
  const CCataloguePoolLookup* PoolLookup() const { return poolLookup_.get(); }

  // The settings profile, the catalogue, the pool, the renderer and the template for new files.
  CQVWorkspace& Workspace() { return workspace_; }
  const CDataLocations& Locations() const { return workspace_.Locations(); }
  CQVProfile* Profile() const { return workspace_.Profile(); }
  CFormatTemplateManager* Catalogue() const { return workspace_.Catalogue(); }
  CStringPool* Pool() const { return workspace_.Pool(); }
  // The dialog commands of every format tree.
  CQVTreeHooks& TreeHooks() { return treeHooks_; }
  CMainFrame* MainFrame() const { return mainFrame_.get(); }
  // The working directory before the start changed it to the Format folder.
  QString StartDirectory() const { return QFile::decodeName(workspace_.StartDirectory().c_str()); }

 private:
  void Fail();

  CQVAppOptions options_;
  std::unique_ptr<CQtMessageSink> sink_;
  CMessageSink* previousSink_ = nullptr;
  CQVWorkspace workspace_;
  std::unique_ptr<CCataloguePoolLookup> poolLookup_;
  std::unique_ptr<CQVDocumentManager> ownDocuments_;
  std::unique_ptr<CMainFrame> mainFrame_;
  CQVDocumentManager* documents_ = nullptr;
  bool started_ = false;
  CQVTreeHooks treeHooks_;
};

#include "qv_app.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <clocale>

#include "catalogue/format_template.h"
#include "document/catalogue_pool_lookup.h"
#include "library/error_message.h"
#include "shell/frame_document.h"
#include "shell/main_frame.h"
#include "shell/qv_doc.h"
#include "uilib/dialog_ex.h"
#include "uilib/message_box_sink.h"

CQVApp::CQVApp(CQVAppOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {}

CQVApp::~CQVApp() {
  if (started_) ExitInstance();
  mainFrame_.reset();
  if (sink_) SetMessageSink(previousSink_);
}

CQVApp::Request CQVApp::ParseArguments(const QStringList& arguments, CQVAppOptions& options,
                                       QString* error) {
  QCommandLineParser parser;
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringLiteral("version"));
  const QCommandLineOption appDir(QStringLiteral("app-dir"), QString(), QStringLiteral("DIR"));
  const QCommandLineOption sharedDir(QStringLiteral("shared-dir"), QString(),
                                     QStringLiteral("DIR"));
  const QCommandLineOption screenshots(QStringLiteral("screenshots"), QString(),
                                       QStringLiteral("DIR"));
  const QCommandLineOption lang(QStringLiteral("lang"), QString(), QStringLiteral("en|zh"));
  parser.addOptions({help, version, appDir, sharedDir, screenshots, lang});
  parser.addPositionalArgument(QStringLiteral("FILE"), QString(), QStringLiteral("[FILE]"));
  const bool parsed = parser.parse(arguments);
  if (parser.isSet(help)) return Request::kHelp;
  if (parser.isSet(version)) return Request::kVersion;
  if (!parsed) {
    if (error) *error = parser.errorText();
    return Request::kInvalid;
  }
  for (const QCommandLineOption* o : {&appDir, &sharedDir, &screenshots}) {
    if (parser.isSet(*o) && parser.value(*o).isEmpty()) {
      if (error) *error = tr("option --%1 needs a directory").arg(o->names().constFirst());
      return Request::kInvalid;
    }
  }
  if (parser.isSet(lang)) {
    options.language = frt::ParseLanguage(parser.value(lang).toStdString());
    if (!options.language) {
      if (error) *error = tr("option --lang takes en or zh");
      return Request::kInvalid;
    }
  }
  if (parser.isSet(appDir))
    options.locations.appDir = QFile::encodeName(parser.value(appDir)).toStdString();
  if (parser.isSet(sharedDir))
    options.locations.sharedDir = QFile::encodeName(parser.value(sharedDir)).toStdString();
  if (parser.isSet(screenshots)) options.screenshots = parser.value(screenshots);
  if (const QStringList files = parser.positionalArguments(); !files.isEmpty())
    options.file = files.constFirst();
  return Request::kRun;
}

QString CQVApp::HelpText() {
  return tr(
      "Usage: quarvel [OPTION]... [FILE]\n"
      "The editor of format files. Starts with no document, or with FILE open.\n"
      "\n"
      "  --app-dir DIR     the per-user folder (Global/QV.ini, pool.dat, Format)\n"
      "  --shared-dir DIR  the shared data folder (Templates/Quarvel/QV.tpl)\n"
      "  --lang en|zh      the language of the windows; without it the one chosen in the\n"
      "                    options menu, else the environment's (LANGUAGE, LC_ALL,\n"
      "                    LC_MESSAGES, LANG)\n"
      "  -h, --help        print this help and exit\n"
      "      --version     print the version and exit\n"
      "\n"
      "An option's value may also follow an equals sign: --app-dir=DIR.\n");
}

void CQVApp::Fail() {
  mainFrame_.reset();
}

bool CQVApp::InitInstance() {
  // Numbers in the data files always have a decimal point, whatever the user's locale.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");

  if (options_.installMessageSink && !sink_) {
    sink_ = std::make_unique<CQtMessageSink>();
    previousSink_ = SetMessageSink(sink_.get());
  }

  mainFrame_ = std::make_unique<CMainFrame>();
  if (sink_) sink_->SetFallbackParent(mainFrame_.get());
  connect(mainFrame_.get(), &CMainFrame::newFileRequested, this, [this] { OnFileNew(); });
  connect(mainFrame_.get(), &CMainFrame::openFileRequested, this,
          [this](const QString& path) { OpenFile(path); });
  connect(mainFrame_.get(), &CMainFrame::aboutRequested, this, &CQVApp::OnAppAbout);

  // A file named on the command line is relative to where the user started the editor.
  if (!options_.file.isEmpty()) options_.file = QFileInfo(options_.file).absoluteFilePath();
  CWorkspaceOptions start;
  start.locations = options_.locations;
  start.env = options_.env;
  start.enterFormatDir = true;  // the file dialogs start there
  start.usePool = false;        // loaded once the main window shows, so its message has a parent
  if (!workspace_.Start(start)) {
    Fail();
    return false;
  }
  poolLookup_ = std::make_unique<CCataloguePoolLookup>(*workspace_.Catalogue());
  if (!documents_) {
    ownDocuments_ = std::make_unique<CQVDocManager>(DocServices());
    documents_ = ownDocuments_.get();
  }
  if (options_.showMainWindow) mainFrame_->show();
  mainFrame_->SetFormatDirectory(QFile::decodeName(workspace_.Locations().FormatDir().c_str()));
  workspace_.LoadPool(start);
  started_ = true;
  if (!options_.file.isEmpty()) OpenFile(options_.file);
  return true;
}

int CQVApp::ExitInstance() {
  if (!started_) return 0;
  started_ = false;
  // The document windows go first: their documents refer to the catalogue and the profile.
  if (mainFrame_) mainFrame_->CloseAllWithoutAsking();
  if (documents_ == ownDocuments_.get()) documents_ = nullptr;
  ownDocuments_.reset();
  poolLookup_.reset();
  workspace_.Shutdown(CQVWorkspace::RecordFailure::kIgnore);
  std::setlocale(LC_NUMERIC, "");
  return 0;
}

CQVDocServices CQVApp::DocServices() {
  return {workspace_.DocContext(), poolLookup_.get(), &treeHooks_, mainFrame_.get()};
}

bool CQVApp::OnFileNew() {
  if (!workspace_.IsRunning() || !mainFrame_) return false;
  const CFormatTemplate* found = workspace_.ChooseNewFileTemplate();
  return found && documents_ && documents_->NewDocument(*mainFrame_, found->Name());
}

bool CQVApp::OpenFile(const QString& path) {
  if (!mainFrame_ || !documents_) return false;
  const bool opened = documents_->OpenDocument(*mainFrame_, path);
  if (opened)
    mainFrame_->AddRecentFile(path);
  else if (!QFileInfo::exists(path))
    mainFrame_->RemoveRecentFile(path);
  return opened;
}

void CQVApp::OnAppAbout() {
  CAboutDialog about(mainFrame_.get());
  about.DoModal();
}

// Resources of a static library must be registered by name, outside any namespace.
void InitAppResources() {
  Q_INIT_RESOURCE(quarvel);
}

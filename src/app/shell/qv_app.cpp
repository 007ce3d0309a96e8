#include "qv_app.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <clocale>
#include <cstdlib>

#include "catalogue/format_template.h"
#include "catalogue/format_template_manager.h"
#include "document/catalogue_pool_lookup.h"
#include "library/error_message.h"
#include "library/string_table.h"
#include "pool/string_pool.h"
#include "profile/qv_profile.h"
#include "shell/frame_document.h"
#include "shell/main_frame.h"
#include "shell/qv_doc.h"
#include "uilib/dialog_ex.h"
#include "uilib/message_box_sink.h"

namespace {

constexpr int kIdPoolNotLoaded = 1251;

}  // namespace

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
  parser.addOptions({help, version, appDir, sharedDir, screenshots});
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
      "  -h, --help        print this help and exit\n"
      "      --version     print the version and exit\n"
      "\n"
      "An option's value may also follow an equals sign: --app-dir=DIR.\n");
}

void CQVApp::SetTemplateForNewFiles(const std::string& instrument, const std::string& name) {
  newInstrument_ = instrument;
  newTemplate_ = name;
}

bool CQVApp::PrepareLocations() {
  const auto env = options_.env ? options_.env : [](const char* n) { return std::getenv(n); };
  if (locations_.Resolve(options_.locations, env) != frt::kOk) {
    CErrorMessage::ShowMessage(frt::kIdStartFailed, true, "\n$HOME");
    return false;
  }
  std::string failed;
  if (locations_.PrepareAppDir(nullptr, &failed) != frt::kOk) {
    CErrorMessage::ShowMessage(frt::kIdStartFailed, true, "\n" + failed);
    return false;
  }
  return true;
}

void CQVApp::Fail() {
  mainFrame_.reset();
  poolLookup_.reset();
  sampleValues_.SetCatalogue(nullptr);
  catalogue_.reset();
  profile_.reset();
  pool_.reset();
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

  if (!PrepareLocations()) {
    Fail();
    return false;
  }
  profile_ = std::make_unique<CQVProfile>(reader_, locations_);
  if (!profile_->Read()) {
    Fail();
    return false;
  }
  // The catalogue takes the reader over from the profile, which has read all its keys.
  catalogue_ = std::make_unique<CFormatTemplateManager>(reader_, locations_.TemplatePath(),
                                                        locations_.SettingsPath());
  if (!catalogue_->Read()) {
    Fail();
    return false;
  }
  sampleValues_.SetCatalogue(catalogue_.get());
  poolLookup_ = std::make_unique<CCataloguePoolLookup>(*catalogue_);
  if (!documents_) {
    ownDocuments_ = std::make_unique<CQVDocManager>(*this);
    documents_ = ownDocuments_.get();
  }

  if (options_.showMainWindow) mainFrame_->show();

  startDirectory_ = QDir::currentPath();
  // A file named on the command line is relative to where the user started the editor.
  if (!options_.file.isEmpty()) options_.file = QFileInfo(options_.file).absoluteFilePath();
  mainFrame_->SetFormatDirectory(QFile::decodeName(locations_.FormatDir().c_str()));
  QDir::setCurrent(QString::fromStdString(locations_.FormatDir()));  // a failure is ignored

  LoadPool();
  started_ = true;
  if (!options_.file.isEmpty()) OpenFile(options_.file);
  return true;
}

void CQVApp::LoadPool() {
  // Making the pool object cannot fail short of memory, which ends the program anyway, so
  // the message of a pool that could not be made (1111) has no road here.
  pool_ = std::make_unique<CStringPool>(locations_.PoolPath());
  if (pool_->Load() != frt::kOk) {
    CErrorMessage::ShowMessage(kIdPoolNotLoaded, false);
    pool_.reset();
  }
}

int CQVApp::ExitInstance() {
  if (!started_) return 0;
  started_ = false;
  if (profile_ && !newTemplate_.empty()) profile_->SetLastActive(newInstrument_, newTemplate_);
  newFileTemplate_ = nullptr;
  // The document windows go first: their documents refer to the catalogue and the profile.
  if (mainFrame_) mainFrame_->CloseAllWithoutAsking();
  if (documents_ == ownDocuments_.get()) documents_ = nullptr;
  ownDocuments_.reset();
  poolLookup_.reset();
  sampleValues_.SetCatalogue(nullptr);
  catalogue_.reset();
  pool_.reset();
  profile_.reset();
  if (!startDirectory_.isEmpty()) QDir::setCurrent(startDirectory_);
  std::setlocale(LC_NUMERIC, "");
  return 0;
}

CDocContext CQVApp::DocContext() {
  CDocContext context;
  context.catalogue = catalogue_.get();
  context.profile = profile_.get();
  context.engine = &engine_;
  return context;
}

bool CQVApp::OnFileNew() {
  if (!profile_ || !catalogue_ || !mainFrame_) return false;
  std::string instrument;
  std::string templateName;
  profile_->GetLastActive(instrument, templateName);  // read as the start did; not used here
  const CFormatTemplate* found = catalogue_->FindTemplate(kNewFormatTemplate);
  if (!found) return false;
  newFileTemplate_ = found;
  SetTemplateForNewFiles(found->Instrument(), found->Name());
  return documents_ && documents_->NewDocument(*mainFrame_, found->Name());
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

#include "qv_app.h"

#include <QDir>
#include <QFileInfo>
#include <clocale>
#include <cstdlib>

#include "catalogue/format_template.h"
#include "catalogue/format_template_manager.h"
#include "library/error_message.h"
#include "library/string_table.h"
#include "pool/string_pool.h"
#include "profile/qv_profile.h"
#include "shell/frame_document.h"
#include "shell/main_frame.h"
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

bool CQVApp::ParseArguments(const QStringList& arguments, CQVAppOptions& options, QString* error) {
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    if (a == QLatin1String("--app-dir") || a == QLatin1String("--shared-dir")) {
      if (i + 1 >= arguments.size()) {
        if (error) *error = QStringLiteral("option %1 needs a directory").arg(a);
        return false;
      }
      std::string& target =
          a == QLatin1String("--app-dir") ? options.locations.appDir : options.locations.sharedDir;
      target = QFile::encodeName(arguments[++i]).toStdString();
    } else if (a.startsWith(QLatin1String("--"))) {
      if (error) *error = QStringLiteral("unknown option %1").arg(a);
      return false;
    } else if (options.file.isEmpty()) {
      options.file = a;
    }
  }
  return true;
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

  if (options_.showMainWindow) mainFrame_->show();

  startDirectory_ = QDir::currentPath();
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
  catalogue_.reset();
  pool_.reset();
  profile_.reset();
  if (!startDirectory_.isEmpty()) QDir::setCurrent(startDirectory_);
  std::setlocale(LC_NUMERIC, "");
  return 0;
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

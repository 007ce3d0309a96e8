#include "shell/qv_workspace.h"

#include <unistd.h>

#include <new>
#include <string>
#include <vector>

#include "catalogue/format_template.h"
#include "catalogue/format_template_manager.h"
#include "library/error_message.h"
#include "library/string_table.h"
#include "pool/string_pool.h"
#include "profile/qv_profile.h"

namespace {

constexpr int kIdPoolNotCreated = 1111;
constexpr int kIdPoolNotLoaded = 1251;

std::string CurrentDirectory() {
  std::vector<char> buf(4096);
  return ::getcwd(buf.data(), buf.size()) != nullptr ? std::string(buf.data()) : std::string();
}

}  // namespace

CQVWorkspace::CQVWorkspace() = default;

CQVWorkspace::~CQVWorkspace() {
  Shutdown();
}

bool CQVWorkspace::Start(const CWorkspaceOptions& options) {
  if (running_) return true;
  fileSystem_ = options.fileSystem;
  if (locations_.Resolve(options.locations, options.env, options.defaultSharedDir) != frt::kOk) {
    CErrorMessage::ShowMessage(frt::kIdStartFailed, true, "\n$HOME");
    return false;
  }
  std::string failedPath;
  if (locations_.PrepareAppDir(nullptr, &failedPath, options.fileSystem) != frt::kOk) {
    CErrorMessage::ShowMessage(frt::kIdStartFailed, true, "\n" + failedPath);
    return false;
  }

  // The profile and then the catalogue take turns in the one reader; each shows its own
  // messages when it fails.
  profile_ = std::make_unique<CQVProfile>(
      reader_, locations_, options.fileSystem,
      options.holdSettingsFile ? CQVSettingsMode::kHold : CQVSettingsMode::kLeave);
  if (profile_->Read() == 0) {
    Drop();
    return false;
  }
  catalogue_ = std::make_unique<CFormatTemplateManager>(reader_, locations_.TemplatePath(),
                                                        locations_.SettingsPath());
  if (catalogue_->Read() == 0) {
    Drop();
    return false;
  }

  valueSource_.SetCatalogue(catalogue_.get());

  if (options.enterFormatDir) {
    startDir_ = CurrentDirectory();
    if (::chdir(locations_.FormatDir().c_str()) != 0) startDir_.clear();  // ignored, as specified
  }
  if (options.usePool) LoadPool(options);
  newFileTemplate_ = nullptr;
  running_ = true;
  return true;
}

bool CQVWorkspace::LoadPool(const CWorkspaceOptions& options) {
  const std::string path = locations_.PoolPath();
  std::unique_ptr<CStringPool> pool;
  if (options.makePool) {
    pool = options.makePool(path);
  } else {
    pool.reset(new (std::nothrow) CStringPool(path, options.fileSystem));
  }
  if (!pool) {
    CErrorMessage::ShowMessage(kIdPoolNotCreated, true);
    return false;
  }
  if (pool->Load() != frt::kOk) {
    CErrorMessage::ShowMessage(kIdPoolNotLoaded, false);
    return false;  // the half-read pool is dropped unsaved: it is not modified
  }
  pool_ = std::move(pool);
  return true;
}

const CFormatTemplate* CQVWorkspace::ChooseNewFileTemplate() {
  if (profile_) {
    std::string instrument, name;
    profile_->GetLastActive(instrument, name);  // read as the editor does; the choice is fixed
  }
  const CFormatTemplate* tpl = catalogue_ ? catalogue_->FindTemplate(kNewFileTemplate) : nullptr;
  if (tpl != nullptr) newFileTemplate_ = tpl;
  return tpl;
}

void CQVWorkspace::Shutdown(RecordFailure failure) {
  if (!running_) return;
  if (profile_ && newFileTemplate_ != nullptr &&
      !profile_->SetLastActive(newFileTemplate_->Instrument(), newFileTemplate_->Name()) &&
      failure == RecordFailure::kShow) {
    profile_->ShowError();
  }
  Drop();
  if (!startDir_.empty() && ::chdir(startDir_.c_str()) != 0) {
    // Nothing left to do about it at exit.
  }
  startDir_.clear();
  running_ = false;
}

CDocContext CQVWorkspace::DocContext() {
  CDocContext context;
  context.catalogue = catalogue_.get();
  context.profile = profile_.get();
  context.engine = &engine_;
  context.fileSystem = fileSystem_;
  return context;
}

void CQVWorkspace::Drop() {
  newFileTemplate_ = nullptr;
  valueSource_.SetCatalogue(nullptr);
  catalogue_.reset();
  profile_.reset();
  pool_.reset();
  reader_.Clear();
}

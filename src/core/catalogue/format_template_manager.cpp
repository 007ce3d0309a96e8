#include "catalogue/format_template_manager.h"

#include <utility>

#include "catalogue/ini_reader.h"
#include "library/error_message.h"
#include "library/string_table.h"

namespace {
constexpr int kReadMode = 1;
constexpr const char* kHeaderSection = "FileHeader";

void ShowStartFailed() {
  CErrorMessage::ShowMessage(frt::kIdStartFailed, true, "");
}
}  // namespace

CFormatTemplateManager::CFormatTemplateManager(CIniReader& reader, std::string templatePath,
                                               std::string settingsPath)
    : CFTBase(std::move(settingsPath), std::move(templatePath)), reader_(&reader) {
  reader_->Clear();
  // A file that cannot be read leaves the reader empty; Read then reports the missing type.
  reader_->Load(TemplatePath());
}

int CFormatTemplateManager::ReadEntries() {
  CFTBase::ReadEntries();
  type_ = GetString(*reader_, kReadMode, kHeaderSection, "Type", {}, {}, 0, -1);
  version_ = GetString(*reader_, kReadMode, kHeaderSection, "Version", {}, {}, 0, -1);
  company_ = GetString(*reader_, kReadMode, kHeaderSection, "Company", {}, {}, 0, -1);
  created_ = GetString(*reader_, kReadMode, kHeaderSection, "Created", {}, {}, 0, -1);
  comment_ = GetString(*reader_, kReadMode, kHeaderSection, "Comment", {}, {}, 0, -1);
  ShowError();
  if (IsValid() && (type_ != kFileType || version_.empty())) {
    ShowStartFailed();
    return 0;
  }
  return IsValid() ? 1 : 0;
}

int CFormatTemplateManager::ReadVariablePool() {
  for (int i = 1;; ++i) {
    auto variable = std::make_unique<CFTPoolVariable>(*reader_, i);
    if (variable->Read() == 0) return 0;
    if (variable->Name().empty()) return 1;
    if (HasPoolVariable(variable->Code(), variable->Name())) {
      ShowStartFailed();
      return 0;
    }
    poolByCode_.emplace(variable->Code(), variable.get());
    poolNames_.insert(variable->Name());
    pool_.push_back(std::move(variable));
  }
}

int CFormatTemplateManager::Read() {
  // Read once at start-up; a second call starts from scratch rather than doubling the lists.
  templates_.clear();
  pool_.clear();
  poolByCode_.clear();
  poolNames_.clear();
  instruments_.clear();
  templateCursor_ = 0;
  if (ReadEntries() == 0) return 0;
  CFTBase::Read();
  if (ReadVariablePool() == 0) return 0;

  bool ok = true;
  std::string instruments =
      GetString(*reader_, kReadMode, "Instruments", "InstrumentList", {}, {}, 0, -1);
  for (std::string instrument = FirstItem(instruments); !instrument.empty();
       instrument = NextItem(instruments)) {
    std::string names =
        GetString(*reader_, kReadMode, "TemplateList", "Template_" + instrument, {}, {}, 0, -1);
    for (std::string name = FirstItem(names); !name.empty(); name = NextItem(names)) {
      templates_.push_back(std::make_unique<CFormatTemplate>(this, name, instrument));
      // Every template is read and kept, also after an earlier one failed.
      ok = templates_.back()->Read() == 1 && ok;
    }
    instruments_.push_back(std::move(instrument));
  }
  if (templates_.empty()) {
    ShowStartFailed();
    ok = false;
  }
  return ok ? 1 : 0;
}

const CFormatTemplate* CFormatTemplateManager::FindTemplate(std::string_view name) const {
  for (const auto& t : templates_) {
    if (t->Name() == name) return t.get();
  }
  return nullptr;
}

const CFormatTemplate* CFormatTemplateManager::FirstTemplate() const {
  templateCursor_ = 0;
  return NextTemplate();
}

const CFormatTemplate* CFormatTemplateManager::NextTemplate() const {
  if (templateCursor_ >= templates_.size()) return nullptr;
  return templates_[templateCursor_++].get();
}

bool CFormatTemplateManager::HasPoolVariable(long code, std::string_view name) const {
  if (poolByCode_.find(code) != poolByCode_.end()) return true;
  return !name.empty() && poolNames_.find(name) != poolNames_.end();
}

const CFTPoolVariable* CFormatTemplateManager::FindPoolVariable(long code) const {
  const auto it = poolByCode_.find(code);
  return it == poolByCode_.end() ? nullptr : it->second;
}

std::string CFormatTemplateManager::PoolVariableName(long code) const {
  const CFTPoolVariable* variable = FindPoolVariable(code);
  return variable != nullptr ? variable->Name() : std::string();
}

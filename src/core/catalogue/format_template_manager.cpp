#include "catalogue/format_template_manager.h"

#include <utility>

#include "catalogue/ini_reader.h"
#include "library/error_message.h"
#include "library/string_table.h"

namespace {
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
  type_ = GetText(*reader_, kHeaderSection, "Type");
  version_ = GetText(*reader_, kHeaderSection, "Version");
  company_ = GetText(*reader_, kHeaderSection, "Company");
  created_ = GetText(*reader_, kHeaderSection, "Created");
  comment_ = GetText(*reader_, kHeaderSection, "Comment");
  ShowError();
  if (IsValid() && (type_ != kFileType || version_.empty())) {
    ShowStartFailed();
    return 0;
  }
  return IsValid() ? 1 : 0;
}

int CFormatTemplateManager::Read() {
  // Read once at start-up; a second call starts from scratch rather than doubling the lists.
  templates_.clear();
  pool_.Clear();
  instruments_.clear();
  if (ReadEntries() == 0) return 0;
  CFTBase::Read();
  if (pool_.Read(*reader_) == 0) return 0;

  bool ok = true;
  std::string instruments = GetText(*reader_, "Instruments", "InstrumentList");
  for (std::string instrument = FirstItem(instruments); !instrument.empty();
       instrument = NextItem(instruments)) {
    std::string names = GetText(*reader_, "TemplateList", "Template_" + instrument);
    for (std::string name = FirstItem(names); !name.empty(); name = NextItem(names)) {
      templates_.push_back(
          std::make_unique<CFormatTemplate>(*this, *reader_, pool_, name, instrument));
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

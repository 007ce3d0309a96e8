#include "catalogue/format_template.h"

#include <utility>

#include "catalogue/format_template_manager.h"
#include "library/error_message.h"
#include "library/string_table.h"

namespace {
constexpr int kReadMode = 1;

void ShowStartFailed() {
  CErrorMessage::ShowMessage(frt::kIdStartFailed, true, "");
}

template <class T>
const T* NextOf(const std::vector<std::unique_ptr<T>>& list, std::size_t& cursor) {
  if (cursor >= list.size()) return nullptr;
  return list[cursor++].get();
}
}  // namespace

CFormatTemplate::CFormatTemplate(CFormatTemplateManager* manager, std::string name,
                                 std::string instrument)
    : CFTBase(manager->SettingsPath(), manager->TemplatePath()),
      name_(std::move(name)),
      instrument_(std::move(instrument)),
      manager_(manager) {}

CIniReader& CFormatTemplate::Reader() const {
  return manager_->Reader();
}

int CFormatTemplate::ReadEntries() {
  CFTBase::ReadEntries();
  CIniReader& reader = Reader();
  const std::string section = name_ + "_Generalities";
  stringLength_ = GetLong(reader, kReadMode, section, "StrLength", 1, 0, 10000, 0, 0);
  fileHeaderFlag_ = GetLong(reader, kReadMode, section, "FileHeader", 1, 0, 1, 0, 0);
  fileHeaderLength_ = GetLong(reader, kReadMode, section, "FileHeaderLength", 1, 0, 10000, 0, 0);
  fileFooterFlag_ = GetLong(reader, kReadMode, section, "FileFooter", 1, 0, 1, 0, 0);
  fileFooterLength_ = GetLong(reader, kReadMode, section, "FileFooterLength", 1, 0, 10000, 0, 0);
  defaultStringsFlag_ = GetLong(reader, kReadMode, section, "PrintFDefaultStrings", 1, 0, 1, 0, 0);
  ShowError();
  return IsValid() ? 1 : 0;
}

template <class Definition, class List>
bool CFormatTemplate::ReadDefinitions(std::string_view listKey, std::string_view sectionInfix,
                                      List& list) {
  bool ok = true;
  std::string items =
      GetString(Reader(), kReadMode, name_ + "_Formatstring_List", listKey, {}, {}, 0, -1);
  const std::string prefix = name_ + std::string(sectionInfix);
  for (std::string item = FirstItem(items); !item.empty(); item = NextItem(items)) {
    auto definition = std::make_unique<Definition>(this, prefix + item, item);
    ok = definition->Read() == 1 && ok;
    auto& firstOfBlock = definition->IsExport() ? firstExport_ : firstImport_;
    // A later duplicate still goes into the lists; only the first of a block is found.
    if (!firstOfBlock.try_emplace(definition->BlockType(), definition.get()).second) {
      ok = false;
      ShowStartFailed();
    }
    formats_.push_back(definition.get());
    list.push_back(std::move(definition));
    if (applications_.empty() && list.back()->StrCount() != 0) {
      ShowStartFailed();
      ok = false;
    }
  }
  return ok;
}

int CFormatTemplate::Read() {
  if (ReadEntries() == 0) return 0;
  CFTBase::Read();
  bool ok = true;

  std::string items =
      GetString(Reader(), kReadMode, name_ + "_Applications", "List", {}, {}, 0, -1);
  const std::string prefix = name_ + "_Application_";
  for (std::string item = FirstItem(items); !item.empty(); item = NextItem(items)) {
    applications_.push_back(std::make_unique<CFTAppl>(this, prefix + item, item));
    ok = applications_.back()->Read() == 1 && ok;
    // The first application of a number wins, as a walk in list order would find it.
    applicationIndex_.try_emplace(applications_.back()->Number(), applications_.back().get());
  }

  ok = ReadDefinitions<CFTExportFormat>("Export", "_Export_", exports_) && ok;
  ok = ReadDefinitions<CFTImportFormat>("Import", "_Import_", imports_) && ok;

  if (exports_.empty() && imports_.empty()) {
    ShowStartFailed();
    ok = false;
  }
  return ok ? 1 : 0;
}

const CFTFormat* CFormatTemplate::FindFormat(long blockType, bool isExport) const {
  const auto& index = isExport ? firstExport_ : firstImport_;
  const auto it = index.find(blockType);
  return it == index.end() ? nullptr : it->second;
}

std::string CFormatTemplate::FormatName(long blockType, bool isExport) const {
  const CFTFormat* format = FindFormat(blockType, isExport);
  return format != nullptr ? format->Item() : std::string();
}

const CFTAppl* CFormatTemplate::FindApplication(long number) const {
  auto it = applicationIndex_.find(number);
  return it == applicationIndex_.end() ? nullptr : it->second;
}

bool CFormatTemplate::HasPoolVariable(long code) const {
  return manager_->HasPoolVariable(code, {});
}

const CFTPoolVariable* CFormatTemplate::FindPoolVariable(long code) const {
  return manager_->FindPoolVariable(code);
}

std::string CFormatTemplate::PoolVariableName(long code) const {
  return manager_->PoolVariableName(code);
}

long CFormatTemplate::CountStrings() const {
  long count = 0;
  if (fileHeaderFlag_ == 1) ++count;
  if (fileFooterFlag_ == 1) ++count;
  for (const auto& a : applications_) {
    if (a->HeaderLength() > 0) ++count;
  }
  for (const auto& e : exports_) {
    if (e->Header() > 0) ++count;
  }
  for (const CFTFormat* f : formats_) count += f->StringCount();
  return count;
}

const CFTAppl* CFormatTemplate::FirstApplication() const {
  applicationCursor_ = 0;
  return NextApplication();
}
const CFTAppl* CFormatTemplate::NextApplication() const {
  return NextOf(applications_, applicationCursor_);
}
const CFTExportFormat* CFormatTemplate::FirstExportFormat() const {
  exportCursor_ = 0;
  return NextExportFormat();
}
const CFTExportFormat* CFormatTemplate::NextExportFormat() const {
  return NextOf(exports_, exportCursor_);
}
const CFTImportFormat* CFormatTemplate::FirstImportFormat() const {
  importCursor_ = 0;
  return NextImportFormat();
}
const CFTImportFormat* CFormatTemplate::NextImportFormat() const {
  return NextOf(imports_, importCursor_);
}
const CFTFormat* CFormatTemplate::FirstFormat() const {
  formatCursor_ = 0;
  return NextFormat();
}
const CFTFormat* CFormatTemplate::NextFormat() const {
  if (formatCursor_ >= formats_.size()) return nullptr;
  return formats_[formatCursor_++];
}

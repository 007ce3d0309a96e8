#include "catalogue/format_template.h"

#include <utility>

#include "library/error_message.h"
#include "library/string_table.h"

namespace {
void ShowStartFailed() {
  CErrorMessage::ShowMessage(frt::kIdStartFailed, true, "");
}
}  // namespace

CFormatTemplate::CFormatTemplate(const CFTBase& catalogue, CIniReader& reader,
                                 const CFTVariablePool& pool, std::string name,
                                 std::string instrument)
    : CFTBase(catalogue.SettingsPath(), catalogue.TemplatePath()),
      name_(std::move(name)),
      instrument_(std::move(instrument)),
      reader_(&reader),
      pool_(&pool) {}

int CFormatTemplate::ReadEntries() {
  CFTBase::ReadEntries();
  CIniReader& reader = *reader_;
  const std::string section = name_ + "_Generalities";
  stringLength_ = GetLong(reader, section, "StrLength", 0, 10000);
  fileHeaderFlag_ = GetLong(reader, section, "FileHeader", 0, 1);
  fileHeaderLength_ = GetLong(reader, section, "FileHeaderLength", 0, 10000);
  fileFooterFlag_ = GetLong(reader, section, "FileFooter", 0, 1);
  fileFooterLength_ = GetLong(reader, section, "FileFooterLength", 0, 10000);
  defaultStringsFlag_ = GetLong(reader, section, "PrintFDefaultStrings", 0, 1);
  ShowError();
  return IsValid() ? 1 : 0;
}

template <class Definition, class List>
bool CFormatTemplate::ReadDefinitions(std::string_view listKey, std::string_view sectionInfix,
                                      List& list) {
  bool ok = true;
  std::string items = GetText(*reader_, name_ + "_Formatstring_List", listKey);
  const std::string prefix = name_ + std::string(sectionInfix);
  const CFTDefinitionScope scope{this, reader_, pool_, defaultStringsFlag_};
  for (std::string item = FirstItem(items); !item.empty(); item = NextItem(items)) {
    auto definition = std::make_unique<Definition>(scope, prefix + item, item);
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

  std::string items = GetText(*reader_, name_ + "_Applications", "List");
  const std::string prefix = name_ + "_Application_";
  for (std::string item = FirstItem(items); !item.empty(); item = NextItem(items)) {
    applications_.push_back(std::make_unique<CFTAppl>(this, *reader_, prefix + item, item));
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

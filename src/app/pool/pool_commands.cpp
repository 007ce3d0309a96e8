#include "pool_commands.h"

#include <string>

#include "catalogue/format_template.h"
#include "catalogue/format_template_manager.h"
#include "document/doc_format.h"
#include "library/error_message.h"
#include "pool/string_pool.h"
#include "pool/string_pool_dlg.h"

namespace {

constexpr int kIdEmptyString = 1110;
constexpr int kIdForeignVariables = 1149;
constexpr int kIdReplaceString = 1150;

int RunDialog(CStringPoolDialog& dialog, const CPoolDialogRunner& run) {
  return run ? run(dialog) : dialog.DoModal();
}

std::string TemplateName(const CDocFormat& format) {
  return format.Template() ? format.Template()->Name() : std::string();
}

}  // namespace

CFrtKey KeyOfStringId(std::int32_t id) {
  CFrtKey key;
  const int kind = CDocFormat::Kind(id);
  key.direction = static_cast<std::uint8_t>(kind / 10);
  key.section = static_cast<std::uint8_t>(kind % 10);
  key.block = static_cast<std::uint8_t>(CDocFormat::BlockOf(id));
  key.number = static_cast<std::uint16_t>(CDocFormat::IndexOf(id));
  return key;
}

bool SaveStringToPool(CDocFormat& format, CStringPool& pool, std::int32_t id, QWidget* parent,
                      const CPoolDialogRunner& run) {
  const CFrtStringEx* string = format.FindString(id);
  if (!string || !string->IsPresent()) {
    CErrorMessage::ShowMessage(kIdEmptyString, false);
    return false;
  }
  const std::string templateName = TemplateName(format);
  CStringPoolDialog dialog(pool, format.Context().catalogue, templateName, string->key,
                           CStringPoolDialog::kSave, parent);
  if (RunDialog(dialog, run) != QDialog::Accepted) return false;
  pool.Add(MakePoolEntry(*string, dialog.Name(), templateName, PoolDateToday()));
  // Kept in memory when the file cannot be written; the pool tries again at the end.
  pool.Save();
  return true;
}

bool LoadStringFromPool(CDocFormat& format, CStringPool& pool, std::int32_t id, QWidget* parent,
                        const CPoolDialogRunner& run) {
  const CFrtStringEx* current = format.FindString(id);
  const CFrtKey key = current ? current->key : KeyOfStringId(id);
  const std::string templateName = TemplateName(format);
  CStringPoolDialog dialog(pool, format.Context().catalogue, templateName, key,
                           CStringPoolDialog::kLoad, parent);
  if (RunDialog(dialog, run) != QDialog::Accepted) return false;
  if (current && current->IsPresent() && !CErrorMessage::AskYesNo(kIdReplaceString)) return false;
  CFrtStringEx* entry = nullptr;
  pool.Get(dialog.Name(), entry);
  if (!entry) return false;
  if (std::string_view(entry->extra[kPoolTemplate].view()) != templateName) {
    const CFormatTemplateManager* catalogue = format.Context().catalogue;
    for (const CFrtVariable& variable : entry->Variables()) {
      if (!catalogue || !catalogue->FindPoolVariable(variable.code)) {
        CErrorMessage::ShowMessage(kIdForeignVariables, true);
        return false;
      }
    }
  }
  std::string text;
  std::string variables;
  std::string applications;
  format.GetFormatStringInfo(id, text, variables, applications);
  variables.clear();
  CDocFormat::AppendVariableCodes(*entry, variables);
  format.SetFormatString(id, entry->TextView(), variables, applications);
  return true;
}

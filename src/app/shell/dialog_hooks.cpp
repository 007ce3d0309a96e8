#include "dialog_hooks.h"

#include <QDialog>
#include <QIcon>
#include <QTreeWidgetItem>

#include "document/format_document.h"
#include "pool/assign_appl_dlg.h"
#include "pool/pool_commands.h"
#include "settings/defaults_pages.h"
#include "settings/settings_pages.h"
#include "shell/qv_app.h"
#include "shell/qv_view_tree.h"
#include "shell/workbench_open.h"

void ShowApplicationMark(CQVViewTree& tree, std::int32_t id, bool hasApplications) {
  QTreeWidgetItem* item = tree.FindItem(id);
  if (!item) return;
  const int mark = hasApplications ? CQVViewTree::kMarkApplications : CQVViewTree::kMarkText;
  item->setData(0, CQVViewTree::kMarkRole, mark);
  item->setIcon(0, QIcon(hasApplications ? QStringLiteral(":/icons/mark_appl.png")
                                         : QStringLiteral(":/icons/mark_text.png")));
}

void InstallDialogHooks(CQVApp& app) {
  CQVTreeHooks& hooks = app.TreeHooks();

  hooks.assignApplications = [](CQVViewTree& tree, std::int32_t datum, std::int32_t kindBase) {
    CAssignApplicationsDialog dialog(tree.Document().Format(), datum, kindBase, &tree);
    QObject::connect(&dialog, &CAssignApplicationsDialog::applicationsMarked, &tree,
                     [&tree](qint32 id, bool has) { ShowApplicationMark(tree, id, has); });
    return dialog.Run() == QDialog::Accepted;
  };

  hooks.poolSave = [&app](CQVViewTree& tree, std::int32_t id) {
    // Without a pool the commands do nothing. The edited string goes into the
    // document first, so that the pool gets what the user sees.
    CStringPool* pool = app.Pool();
    if (!pool || !tree.SwitchString()) return;
    SaveStringToPool(tree.Document().Format(), *pool, id, &tree);
  };

  hooks.poolLoad = [&app](CQVViewTree& tree, std::int32_t id) {
    CStringPool* pool = app.Pool();
    if (!pool || !tree.SwitchString()) return;
    if (!LoadStringFromPool(tree.Document().Format(), *pool, id, &tree)) return;
    tree.SetModified();
    // The editor still holds the string as it was and has not changed it: the
    // switch loads the new one from the document.
    tree.SwitchString();
    tree.RenewMark(tree.FindItem(id));
  };

  hooks.formatSettings = [&app](CQVViewTree& tree) {
    CQVProfile* profile = app.Profile();
    return profile && RunFormatSettingsSheet(*profile, &tree.Document().Format(), &tree);
  };

  hooks.dataWorkbench = [](CQVViewTree& tree) { OpenWorkbench(tree); };

  hooks.defaultSettings = [&app](CQVViewTree& tree) {
    if (CQVProfile* profile = app.Profile())
      RunDefaultSettingsSheet(*profile, &tree.Document().Format(), &tree);
  };
}

#include "screenshots.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTabWidget>
#include <QTextCursor>
#include <QTimer>
#include <functional>

#include "catalogue/format_template.h"
#include "editor/qv_view_edit.h"
#include "settings/variable_pages.h"
#include "shell/child_frame.h"
#include "shell/insert_var_dlg.h"
#include "shell/main_frame.h"
#include "shell/qv_app.h"
#include "shell/qv_doc.h"
#include "shell/qv_view_tree.h"
#include "uilib/dialog_ex.h"

namespace {

void Settle() {
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
}

bool Save(QWidget* w, const QDir& dir, const QString& name) {
  Settle();
  return w->grab().save(dir.filePath(name));
}

// The screen where the main window is, with the tool windows that float above it.
bool SaveScreen(const QWidget& frame, const QDir& dir, const QString& name) {
  Settle();
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = frame.frameGeometry();
  return screen && screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                       .save(dir.filePath(name));
}

// Runs the menu command `id`, which opens a modal dialog, and hands the dialog to `act` once it
// shows; `act` closes it.
bool RunDialog(CMainFrame& frame, int id, const std::function<bool(QDialog&)>& act) {
  bool done = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    poll.stop();
    done = act(*dialog);
  });
  poll.start(20);
  frame.Action(id)->trigger();
  poll.stop();
  return done;
}

// Saves the dialog of the command `id` (on its page `page`) and dismisses it without a change.
bool SaveDialog(CMainFrame& frame, int id, const QDir& dir, const QString& name, int page = 0) {
  return RunDialog(frame, id, [&](QDialog& dialog) {
    if (auto* tabs = dialog.findChild<QTabWidget*>()) tabs->setCurrentIndex(page);
    const bool saved = Save(&dialog, dir, name);
    dialog.reject();
    return saved;
  });
}

// Stores the string being edited in the (scratch) string pool, so its dialogs show an entry.
bool FillPool(CMainFrame& frame) {
  return RunDialog(frame, qvcmd::kPoolSave, [](QDialog& dialog) {
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("edit1013"));
    if (!name) {
      dialog.reject();
      return false;
    }
    name->setText(QStringLiteral("PtENH"));
    dialog.accept();
    return true;
  });
}

}  // namespace

int TakeScreenshots(CQVApp& app, const QString& directory) {
  CMainFrame* frame = app.MainFrame();
  if (!frame || !app.Profile()) return 1;
  QDir dir(directory);
  if (!dir.mkpath(QStringLiteral("."))) return 1;
  frame->move(0, 0);
  frame->resize(1240, 760);
  frame->show();
  bool ok = Save(frame, dir, QStringLiteral("main-window.png"));

  // The shipped example, with its coordinate string being edited.
  const QString example =
      QFile::decodeName(app.Locations().FormatDir().c_str()) + QStringLiteral("/Example.frt");
  if (!app.OpenFile(example)) return 1;
  CChildFrame* child = frame->ActiveFormatFrame();
  auto* doc = child ? dynamic_cast<CQVDoc*>(child->Document()) : nullptr;
  if (!doc || !doc->Tree()) return 1;
  frame->MdiArea()->activeSubWindow()->setGeometry(0, 0, 960, 560);
  CQVViewTree* tree = doc->Tree();
  tree->SelectItem(tree->FindItem(11012001));
  CQVViewEdit* edit = child->Editor();
  QTextCursor c = edit->textCursor();
  c.movePosition(QTextCursor::End);
  edit->setTextCursor(c);
  edit->setFocus();
  // A few typed characters, as a user would add them.
  for (QChar ch : QStringLiteral(" ;END")) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(edit, &press);
  }
  CQVInsertVarDlg* insert = tree->InsertVariableWindow();
  if (insert) {
    insert->VariableList()->setCurrentRow(9);
  }
  ok = Save(frame, dir, QStringLiteral("main-window-format.png")) && ok;
  ok = SaveScreen(*frame, dir, QStringLiteral("format-window.png")) && ok;
  ok = Save(edit, dir, QStringLiteral("editor-fields.png")) && ok;
  if (insert) ok = Save(insert, dir, QStringLiteral("insert-variable.png")) && ok;

  // The sheet of the string's second variable.
  if (const CQVEditVar* field = edit->Field(1)) {
    CQVEditVar variable = *field;
    CQVVarPageContext context;
    context.profile = app.Profile();
    context.format = &doc->Document().Format();
    context.lengthLimit = static_cast<int>(doc->Document().Template()->StringLength());
    CQvPropertySheet sheet(VariableSheetCaption(variable.GetDirection()), frame);
    sheet.AddPage(new CQVExpVarPage(variable, context));
    auto* flags = new CQVVariableFlagsPage(variable);
    sheet.AddPage(flags);
    sheet.show();
    ok = Save(&sheet, dir, QStringLiteral("variable-sheet.png")) && ok;
    sheet.SetActivePage(1);
    ok = Save(&sheet, dir, QStringLiteral("variable-flags.png")) && ok;
    sheet.hide();
  }

  // The dialogs of the format's menu, for the string being edited.
  tree->SelectItem(tree->FindItem(11012001));
  ok = SaveDialog(*frame, qvcmd::kAssignApplications, dir,
                  QStringLiteral("dialog-assign-applications.png")) &&
       ok;
  ok = FillPool(*frame) && ok;
  ok = SaveDialog(*frame, qvcmd::kPoolSave, dir, QStringLiteral("dialog-pool-save.png")) && ok;
  ok = SaveDialog(*frame, qvcmd::kPoolLoad, dir, QStringLiteral("dialog-pool-load.png")) && ok;
  ok = SaveDialog(*frame, qvcmd::kFormatSettings, dir, QStringLiteral("dialog-settings-units.png"),
                  1) &&
       ok;
  ok = SaveDialog(*frame, qvcmd::kDefaultSettings, dir,
                  QStringLiteral("dialog-defaults-output.png")) &&
       ok;

  CAboutDialog about(frame);
  about.show();
  ok = Save(&about, dir, QStringLiteral("about.png")) && ok;
  about.hide();
  return ok ? 0 : 1;
}

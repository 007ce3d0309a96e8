// The editor in English: every window and dialog it opens shows no Chinese character, except the
// data it holds (the catalogue's names, the user's strings, the sample output).

#include "app_test_support.h"
#include "help/help_window.h"
#include "shell/app_language.h"
#include "shell/workbench_open.h"
#include "workbench/wb_export_pane.h"
#include "workbench/workbench_window.h"

namespace {

// Widgets that show data: the catalogue's block types (insert-variable window, pool dialog,
// assignment dialog), the workbench's applications and the variable sheet's variable name. Edits
// and lists are not read at all, and of a tree only the top items (the parts of a format; below are
// catalogue names).
const QSet<QString> kDataWidgets = {"combo2002", "combo1008", "static2030", "variableName",
                                    "application"};

// The visible texts of `root` and everything in it that hold Chinese characters.
class CjkScan {
 public:
  void Scan(QWidget* root, const QString& where) {
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
      if (kDataWidgets.contains(w->objectName())) continue;
      QStringList t = {w->isWindow() ? w->windowTitle() : QString(), w->toolTip()};
      if (auto* l = qobject_cast<QLabel*>(w)) t << l->text();
      if (auto* b = qobject_cast<QAbstractButton*>(w)) t << b->text();
      if (auto* g = qobject_cast<QGroupBox*>(w)) t << g->title();
      if (auto* m = qobject_cast<QMenu*>(w)) t << m->title();
      if (auto* b = qobject_cast<QTabBar*>(w))
        for (int i = 0; i < b->count(); ++i) t << b->tabText(i);
      if (auto* c = qobject_cast<QComboBox*>(w))
        for (int i = 0; i < c->count(); ++i) t << c->itemText(i);
      if (auto* tree = qobject_cast<QTreeWidget*>(w))
        for (int i = 0; i < tree->topLevelItemCount(); ++i) t << tree->topLevelItem(i)->text(0);
      if (auto* h = qobject_cast<QHeaderView*>(w); h && h->model())
        for (int i = 0; i < h->count(); ++i)
          t << h->model()->headerData(i, h->orientation()).toString();
      for (QAction* a : w->actions()) {
        t << a->text() << a->toolTip() << a->statusTip();
        if (a->menu() && !menus_.contains(a->menu())) {
          menus_.insert(a->menu());
          Scan(a->menu(), where);
        }
      }
      for (const QString& text : t)
        if (text.contains(kCjk)) found_.insert(where + " " + w->objectName() + ": " + text);
    }
  }
  // Scans the next modal dialog of type T when it opens, then closes it.
  template <class T = QDialog>
  std::shared_ptr<bool> NextModal(const QString& where) {
    return OnNextModal<T>([this, where](T* d) {
      Scan(d, where);
      d->reject();
    });
  }
  QSet<QString> found_;

 private:
  const QRegularExpression kCjk{
      QStringLiteral("[\\x{3000}-\\x{303F}\\x{3400}-\\x{9FFF}"
                     "\\x{FF00}-\\x{FFEF}]")};
  QSet<QMenu*> menus_;
};

}  // namespace

class LanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void everyWindowSpeaksEnglish() {
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(qvlang::ApplyLanguage(*qApp, frt::Language::kEnglish));
    CRecordingMessageSink sink;
    CScopedMessageSink scoped(sink);
    Editor editor;
    QVERIFY(editor.Start());
    InstallDialogHooks(*editor.app);
    CMainFrame& frame = editor.Frame();
    frame.show();
    CjkScan cjk;
    cjk.Scan(&frame, "main");
    frame.Action(qvcmd::kFileNew)->trigger();
    QVERIFY(editor.Tree());
    // Saving asks for a name while the new format is valid (a string without applications is
    // not), so before anything is typed.
    auto saveAs = cjk.NextModal<QFileDialog>("save as");
    frame.Action(qvcmd::kFileSaveAs)->trigger();
    QTRY_VERIFY(*saveAs);

    const std::int32_t string = 11010001;
    QVERIFY(editor.Select(string));
    TypeText(editor.Edit(), QStringLiteral("PT "));
    CQVInsertVarDlg* insert = editor.Tree()->InsertVariableWindow();
    QVERIFY(insert);
    cjk.Scan(&frame, "format");
    cjk.Scan(insert, "insert variable");
    cjk.Scan(editor.Tree()->CreateContextMenu(&frame), "tree menu");
    for (int id :
         {qvcmd::kAssignApplications, qvcmd::kPoolSave, qvcmd::kPoolLoad, qvcmd::kFormatSettings,
          qvcmd::kDefaultSettings, qvcmd::kProperties, qvcmd::kAppAbout, qvcmd::kFileOpen}) {
      QVERIFY(editor.Select(string));
      auto found = cjk.NextModal(QString::number(id));
      frame.Action(id)->trigger();
      QTRY_VERIFY2(*found, qPrintable(QString::number(id)));
    }

    // A variable inserted, then its sheet (both pages) opened with Enter on the field.
    insert->VariableList()->setCurrentRow(0);
    QTest::mouseClick(insert->InsertButton(), Qt::LeftButton);
    CQVViewEdit* edit = editor.Edit();
    const int field = edit->toPlainText().indexOf(QChar::ObjectReplacementCharacter);
    SetCaret(edit, field + 1, field);
    auto sheet = cjk.NextModal<CQvPropertySheet>("variable sheet");
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_VERIFY(*sheet);
    // The Edit menu names the last step (the inserted variable).
    auto* editMenu = frame.findChild<QMenu*>(QStringLiteral("menuEdit"));
    QVERIFY(editMenu);
    cjk.Scan(editMenu, "edit menu");

    // The workbench, both tabs, and the manual's window.
    frame.Action(qvcmd::kDataWorkbench)->trigger();
    CWorkbenchWindow* workbench = OpenWorkbench(*editor.Tree());
    QVERIFY(workbench && workbench->isVisible());
    cjk.Scan(workbench, "workbench import");
    workbench->Tabs()->setCurrentWidget(workbench->ExportPane());
    cjk.Scan(workbench, "workbench export");
    workbench->close();
    frame.Action(qvcmd::kHelpManual)->trigger();
    QTRY_VERIFY(frame.Help()->Window() && frame.Help()->Window()->isVisible());
    cjk.Scan(frame.Help()->Window(), "manual");

    // Closing the changed format asks whether to save it (answered with Cancel).
    auto asked = cjk.NextModal("save question");
    frame.Action(qvcmd::kFileClose)->trigger();
    QTRY_VERIFY(*asked);
    frame.Action(qvcmd::kOutputPreview)->trigger();
    QTRY_VERIFY(frame.ActivePreviewFrame());
    cjk.Scan(&frame, "preview");

    for (const QString& f : cjk.found_) std::fprintf(stderr, "Chinese text: %s\n", qPrintable(f));
    QVERIFY2(cjk.found_.isEmpty(), "Chinese text in the English editor (listed above)");
  }
};

QTEST_MAIN(LanguageTest)
#include "language_test.moc"

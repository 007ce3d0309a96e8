// The editor in English: every window and dialog it opens shows no Chinese character, except the
// data it holds (the catalogue's names, the user's strings, the sample output).
#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QStandardPaths>
#include <QTabBar>
#include <QTest>
#include <cstdio>

#include "settings/variable_pages.h"
#include "shell/app_language.h"
#include "shell/dialog_hooks.h"
#include "shell/insert_var_dlg.h"
#include "story_support.h"
#include "uilib/dialog_ex.h"

namespace {

constexpr std::int32_t kExportString = 11010001;

bool HasCjk(const QString& text) {
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if ((u >= 0x3000 && u <= 0x303F) || (u >= 0x3400 && u <= 0x9FFF) ||
        (u >= 0xFF00 && u <= 0xFFEF))
      return true;
  }
  return false;
}

// Widgets whose text is data: names from the catalogue and the pool, the format's own texts.
// Edits, lists and trees are not read at all (their content is the user's or the catalogue's);
// their headers are.
bool IsData(const QWidget* w) {
  static const QSet<QString> kData = {
      QStringLiteral("combo2002"),     // the insert-variable window's block types
      QStringLiteral("combo1008"),     // the pool dialog's block types
      QStringLiteral("static2030"),    // the assignment dialog's block type
      QStringLiteral("variableName"),  // the variable sheet's variable
  };
  return kData.contains(w->objectName());
}

class CjkCollector {
 public:
  void Scan(QWidget* root, const QString& where) {
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
      if (IsData(w)) continue;
      const QString name = where + "/" + w->metaObject()->className() + "#" + w->objectName();
      if (w->isWindow()) Add(name + " title", w->windowTitle());
      Add(name + " tooltip", w->toolTip());
      if (auto* l = qobject_cast<QLabel*>(w)) Add(name + " label", l->text());
      if (auto* b = qobject_cast<QAbstractButton*>(w)) Add(name + " button", b->text());
      if (auto* g = qobject_cast<QGroupBox*>(w)) Add(name + " group", g->title());
      if (auto* m = qobject_cast<QMenu*>(w)) Add(name + " menu", m->title());
      if (auto* t = qobject_cast<QTabBar*>(w))
        for (int i = 0; i < t->count(); ++i) Add(name + " tab", t->tabText(i));
      if (auto* c = qobject_cast<QComboBox*>(w))
        for (int i = 0; i < c->count(); ++i) Add(name + " item", c->itemText(i));
      // The format tree's top items name the parts of a format; below them are the
      // catalogue's blocks and applications.
      if (auto* t = qobject_cast<QTreeWidget*>(w))
        for (int i = 0; i < t->topLevelItemCount(); ++i)
          Add(name + " tree item", t->topLevelItem(i)->text(0));
      if (auto* h = qobject_cast<QHeaderView*>(w); h && h->model())
        for (int i = 0; i < h->count(); ++i)
          Add(name + " header", h->model()->headerData(i, h->orientation()).toString());
      for (QAction* a : w->actions()) ScanAction(a, name);
    }
  }
  void ScanAction(QAction* a, const QString& where) {
    Add(where + " action", a->text());
    Add(where + " action tip", a->toolTip());
    Add(where + " action status", a->statusTip());
    if (a->menu() && !menus_.contains(a->menu())) {
      menus_.insert(a->menu());
      Scan(a->menu(), where);
    }
  }
  // Scans the next modal dialog of type T when it opens, then closes it.
  template <class T = QDialog>
  std::shared_ptr<bool> ScanNextModal(const QString& where) {
    return story::OnNextModal<T>([this, where](T* d) {
      Scan(d, where);
      d->reject();
    });
  }
  QStringList Found() const { return QStringList(found_.begin(), found_.end()); }

 private:
  void Add(const QString& where, const QString& text) {
    if (HasCjk(text)) found_.insert(where + ": " + text);
  }
  QSet<QString> found_;
  QSet<QMenu*> menus_;
};

}  // namespace

class LanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(qvlang::ApplyLanguage(*qApp, frt::Language::kEnglish));
  }

  void everyWindowSpeaksEnglish() {
    CRecordingMessageSink sink;
    CScopedMessageSink scoped(sink);
    story::Editor editor;
    QVERIFY(editor.Start());
    InstallDialogHooks(*editor.app);
    CMainFrame& frame = editor.Frame();
    frame.show();
    CjkCollector cjk;
    cjk.Scan(&frame, "main");

    frame.Action(qvcmd::kFileNew)->trigger();
    QVERIFY(editor.Tree());
    // Saving asks for a name while the new format is still valid (an export string without
    // applications is not).
    auto saveAs = cjk.ScanNextModal<QFileDialog>("save as");
    frame.Action(qvcmd::kFileSaveAs)->trigger();
    QTRY_VERIFY(*saveAs);
    QVERIFY(editor.Select(kExportString));
    story::TypeText(editor.Edit(), QStringLiteral("PT "));
    cjk.Scan(&frame, "format");
    cjk.Scan(editor.Tree()->CreateContextMenu(&frame), "tree menu");
    if (CQVInsertVarDlg* insert = editor.Tree()->InsertVariableWindow())
      cjk.Scan(insert, "insert variable");

    // Every dialog behind a command of the format window, and the file dialog.
    const std::pair<int, const char*> commands[] = {
        {qvcmd::kAssignApplications, "assign"},
        {qvcmd::kPoolSave, "pool save"},
        {qvcmd::kPoolLoad, "pool load"},
        {qvcmd::kFormatSettings, "format settings"},
        {qvcmd::kDefaultSettings, "defaults"},
        {qvcmd::kProperties, "properties"},
        {qvcmd::kAppAbout, "about"},
        {qvcmd::kFileOpen, "open"},
    };
    for (const auto& [id, name] : commands) {
      QVERIFY(editor.Select(kExportString));
      auto found = cjk.ScanNextModal(name);
      frame.Action(id)->trigger();
      QTRY_VERIFY2(*found, name);
    }

    // A variable inserted, then its sheet (both pages) opened with Enter on the field.
    QVERIFY(editor.Select(kExportString));
    CQVInsertVarDlg* insert = editor.Tree()->InsertVariableWindow();
    QVERIFY(insert);
    insert->VariableList()->setCurrentRow(0);
    QTest::mouseClick(insert->InsertButton(), Qt::LeftButton);
    CQVViewEdit* edit = editor.Edit();
    QTextCursor c = edit->textCursor();
    c.setPosition(edit->toPlainText().indexOf(QChar::ObjectReplacementCharacter));
    c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    edit->setTextCursor(c);
    auto sheet = cjk.ScanNextModal<CQvPropertySheet>("variable sheet");
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_VERIFY(*sheet);

    // Closing a changed format asks whether to save it.
    auto asked = cjk.ScanNextModal<QDialog>("save question");
    frame.Action(qvcmd::kFileClose)->trigger();  // answered with Cancel
    QTRY_VERIFY(*asked);

    // The preview window of the sample export.
    frame.Action(qvcmd::kOutputPreview)->trigger();
    QTRY_VERIFY(frame.ActivePreviewFrame());
    cjk.Scan(&frame, "preview");

    const QStringList found = cjk.Found();
    for (const QString& f : found) std::fprintf(stderr, "CJK in %s\n", qPrintable(f));
    QVERIFY2(found.isEmpty(), "Chinese text in the English editor (listed above)");
  }
};

QTEST_MAIN(LanguageTest)
#include "language_test.moc"

// Undo and redo of every kind of document change, driven through the windows: the saved file goes
// back to its bytes and forward again, the history survives switching strings, and the modified
// mark follows the history's saved state.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QUndoStack>

#include "pool/assign_appl_dlg.h"
#include "pool/string_pool.h"
#include "pool/string_pool_dlg.h"
#include "settings/page_widgets.h"
#include "settings/settings_pages.h"
#include "settings/variable_pages.h"
#include "shell/dialog_hooks.h"
#include "shell/format_props_dlg.h"
#include "shell/insert_var_dlg.h"
#include "story_support.h"

namespace {

constexpr std::int32_t kCoordString1 = 11012001;  // text, five fields, two applications
constexpr std::int32_t kFileFooter = 15000000;
constexpr int kPointNumber = 1;  // 点号 in the catalogue's pool

enum class Change {
  kTyping,
  kInsertField,
  kRemoveField,
  kConversion,
  kClear,
  kPoolLoad,
  kAssign,
  kProperties,
  kSettings,
};

// Selects the n-th field of the editor as a click does.
void SelectField(CQVViewEdit* edit, int n) {
  const QString text = edit->toPlainText();
  for (int p = 0, seen = -1; p < text.size(); ++p) {
    if (text[p] != QChar::ObjectReplacementCharacter || ++seen != n) continue;
    QTextCursor c = edit->textCursor();
    c.setPosition(p);
    c.setPosition(p + 1, QTextCursor::KeepAnchor);
    edit->setTextCursor(c);
    return;
  }
}

}  // namespace

Q_DECLARE_METATYPE(Change)

class UndoTest : public QObject {
  Q_OBJECT
 private:
  CRecordingMessageSink sink_;
  std::unique_ptr<CScopedMessageSink> scoped_;
  std::unique_ptr<story::Editor> e_;
  QTemporaryDir files_;

  bool Marked() const { return e_->Active()->isWindowModified(); }
  QByteArray SaveBytes() {
    e_->Frame().Action(qvcmd::kFileSave)->trigger();
    return story::ReadAll(e_->Doc()->PathName());
  }
  // The keys as the user presses them in the editor: they reach the window's actions.
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(e_->Edit(), static_cast<Qt::Key>(key), modifiers);
  }
  bool Command(int id) {
    e_->Frame().UpdateCommands();
    QAction* action = e_->Frame().Action(id);
    if (!action->isEnabled()) return false;
    action->trigger();
    return true;
  }

  // Makes one change of the kind to string 1 (loaded) or to the format.
  bool Make(Change change) {
    CQVViewEdit* edit = e_->Edit();
    switch (change) {
      case Change::kTyping:
        edit->moveCursor(QTextCursor::End);
        story::TypeText(edit, QStringLiteral("ab"));  // two keys, one step
        return true;
      case Change::kInsertField: {
        CQVInsertVarDlg* insert = e_->Tree()->InsertVariableWindow();
        QListWidget* list = insert->VariableList();
        for (int i = 0; i < list->count(); ++i)
          if (list->item(i)->data(Qt::UserRole).toInt() == kPointNumber) list->setCurrentRow(i);
        edit->moveCursor(QTextCursor::End);
        QTest::mouseClick(insert->InsertButton(), Qt::LeftButton);
        return edit->FieldCount() == 6;
      }
      case Change::kRemoveField:
        SelectField(edit, 0);
        QTest::keyClick(edit, Qt::Key_Delete);
        return edit->FieldCount() == 4;
      case Change::kConversion: {
        auto found = story::OnNextModal<CQvPropertySheet>([](CQvPropertySheet* sheet) {
          auto* page = static_cast<CQVExpVarPage*>(sheet->Page(0));
          page->Conversion()->LengthEdit()->setText(QStringLiteral("12"));
          sheet->accept();
        });
        SelectField(edit, 1);
        QTest::keyClick(edit, Qt::Key_Return);
        return *found;
      }
      case Change::kClear:
        e_->Tree()->setFocus();
        QTest::keyClick(e_->Tree(), Qt::Key_Delete);
        return edit->toPlainText().isEmpty();
      case Change::kPoolLoad: {
        // A pooled string 1 with a text of its own; the question before replacing says yes.
        CDocFormat& format = e_->Doc()->Document().Format();
        auto entry = MakePoolEntry(*format.FindString(kCoordString1), "p", "Kite_Basic", "");
        entry->SetText(std::string_view("pooled"));
        e_->app->Pool()->Add(std::move(entry));
        sink_.QueueAnswer(true);
        auto found = story::OnNextModal<CStringPoolDialog>(
            [](CStringPoolDialog* d) { d->Button(1006)->click(); });
        return Command(qvcmd::kPoolLoad) && *found;
      }
      case Change::kAssign: {
        auto found =
            story::OnNextModal<CAssignApplicationsDialog>([](CAssignApplicationsDialog* d) {
              d->Available()->setCurrentRow(0);
              d->Button(2015)->click();
              d->Button(1)->click();
            });
        return Command(qvcmd::kAssignApplications) && *found;
      }
      case Change::kProperties: {
        auto found = story::OnNextModal<CFormatPropertiesDlg>([](CFormatPropertiesDlg* d) {
          d->Field(CFormatPropertiesDlg::kAuthor)->setText(QStringLiteral("someone"));
          d->accept();
        });
        return Command(qvcmd::kProperties) && *found;
      }
      case Change::kSettings: {
        auto found = story::OnNextModal<CPropertySheetEx>([](CPropertySheetEx* sheet) {
          sheet->Tabs()->setCurrentIndex(1);
          if (auto* units = qobject_cast<CFormatUnitsPage*>(sheet->Page(1)))
            units->Combo("Linear")->setCurrentIndex(1);
          sheet->Buttons()->button(QDialogButtonBox::Ok)->click();
        });
        return Command(qvcmd::kFormatSettings) && *found;
      }
    }
    return false;
  }

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    scoped_ = std::make_unique<CScopedMessageSink>(sink_);
  }
  void cleanup() { e_.reset(); }

  void everyChangeGoesBackAndForth_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<bool>("selectsString");
    QTest::addColumn<bool>("marks");  // the properties dialog leaves the mark alone
    QTest::newRow("typing") << Change::kTyping << true << true;
    QTest::newRow("insert field") << Change::kInsertField << true << true;
    QTest::newRow("remove field") << Change::kRemoveField << true << true;
    QTest::newRow("conversion sheet") << Change::kConversion << true << true;
    QTest::newRow("clear string") << Change::kClear << true << true;
    QTest::newRow("pool load") << Change::kPoolLoad << false << true;
    QTest::newRow("assignment") << Change::kAssign << false << true;
    QTest::newRow("properties") << Change::kProperties << false << false;
    QTest::newRow("settings sheet") << Change::kSettings << false << true;
  }
  void everyChangeGoesBackAndForth() {
    QFETCH(Change, change);
    QFETCH(bool, selectsString);
    QFETCH(bool, marks);
    const QString path = files_.filePath(QStringLiteral("Example.frt"));
    QFile::remove(path);
    QVERIFY(QFile::copy(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt", path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    e_ = std::make_unique<story::Editor>(path);
    QVERIFY(e_->Start());
    InstallDialogHooks(*e_->app);
    e_->Frame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&e_->Frame()));
    // A save names the format after its file: the bytes to come back to are those of a save.
    const QByteArray original = SaveBytes();
    QVERIFY(e_->Select(kCoordString1));
    QVERIFY(!Marked());

    QVERIFY(Make(change));
    // A dialog has had the focus: the keys go to the main window again.
    e_->Frame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&e_->Frame()));
    QCOMPARE(Marked(), marks);
    // The step names itself on the undo action.
    const QString step = e_->Doc()->UndoStack()->undoText();
    QVERIFY(!step.isEmpty() && e_->Frame().Action(qvcmd::kEditUndo)->text().endsWith(step));
    // Another string loaded, then undo: back to the saved state, so no mark.
    QVERIFY(e_->Select(kFileFooter));
    Key(Qt::Key_Z);
    QVERIFY(!Marked());
    // A string's step shows the string it changed.
    QCOMPARE(e_->Tree()->CurrentStringId(), selectsString ? kCoordString1 : kFileFooter);
    Key(Qt::Key_Y);
    QCOMPARE(Marked(), marks);

    const QByteArray changed = SaveBytes();
    QVERIFY(changed != original);
    QVERIFY(!Marked());
    Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Marked(), marks);
    QCOMPARE(SaveBytes(), original);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(SaveBytes(), changed);
  }
};

QTEST_MAIN(UndoTest)
#include "undo_test.moc"

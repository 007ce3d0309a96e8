// Undo and redo of every kind of document change, driven through the windows: the saved file goes
// back to its bytes and forward again, the history survives switching strings, and the modified
// mark follows the history's saved state.

#include "app_test_support.h"

namespace {

constexpr std::int32_t kCoordString1 = 11012001;  // text, five fields, two applications
constexpr std::int32_t kFileFooter = 15000000;

// Typing stands for every edit in the editor (the variable sheet's too), the assignment for the
// dialogs' changes of strings, the properties for their changes of the format's settings.
enum class Change { kTyping, kClear, kPoolLoad, kAssign, kProperties };

}  // namespace

Q_DECLARE_METATYPE(Change)

class UndoTest : public QObject, Session {
  Q_OBJECT
 private:
  std::unique_ptr<Editor> e_;
  QTemporaryDir files_;

  bool Marked() const { return e_->Active()->isWindowModified(); }
  QByteArray SaveBytes() {
    e_->Frame().Action(qvcmd::kFileSave)->trigger();
    return ReadAll(e_->Doc()->PathName());
  }
  // The keys as the user presses them in the editor: they reach the window's actions.
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(e_->Edit(), static_cast<Qt::Key>(key), modifiers);
  }

  // Makes one change of the kind to string 1 (loaded) or to the format.
  bool Make(Change change) {
    CQVViewEdit* edit = e_->Edit();
    switch (change) {
      case Change::kTyping:
        edit->moveCursor(QTextCursor::End);
        TypeText(edit, QStringLiteral("ab"));  // two keys, one step
        return true;
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
        auto found =
            OnNextModal<CStringPoolDialog>([](CStringPoolDialog* d) { d->Button(1006)->click(); });
        e_->Trigger(qvcmd::kPoolLoad);
        return *found;
      }
      case Change::kAssign: {
        auto found = OnNextModal<CAssignApplicationsDialog>([](CAssignApplicationsDialog* d) {
          d->Available()->setCurrentRow(0);
          d->Button(2015)->click();
          d->Button(1)->click();
        });
        e_->Trigger(qvcmd::kAssignApplications);
        return *found;
      }
      case Change::kProperties: {
        auto found = OnNextModal<CFormatPropertiesDlg>([](CFormatPropertiesDlg* d) {
          d->Field(CFormatPropertiesDlg::kAuthor)->setText(QStringLiteral("someone"));
          d->accept();
        });
        e_->Trigger(qvcmd::kProperties);
        return *found;
      }
    }
    return false;
  }

 private slots:
  void cleanup() { e_.reset(); }

  void everyChangeGoesBackAndForth_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<bool>("selectsString");
    QTest::addColumn<bool>("marks");  // the properties dialog leaves the mark alone
    QTest::newRow("typing") << Change::kTyping << true << true;
    QTest::newRow("clear string") << Change::kClear << true << true;
    QTest::newRow("pool load") << Change::kPoolLoad << false << true;
    QTest::newRow("assignment") << Change::kAssign << false << true;
    QTest::newRow("properties") << Change::kProperties << false << false;
  }
  void everyChangeGoesBackAndForth() {
    QFETCH(Change, change);
    QFETCH(bool, selectsString);
    QFETCH(bool, marks);
    const QString path = files_.filePath(QStringLiteral("Example.frt"));
    QFile::remove(path);
    QVERIFY(QFile::copy(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt", path));
    e_ = std::make_unique<Editor>(path);
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

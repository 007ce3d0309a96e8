// The dialogs behind the format tree's commands in a running editor: the assignment takes the
// edited string and its marks follow it while the dialog is open, and the settings sheets reach
// the format and QV.ini.

#include "app_test_support.h"

namespace {

constexpr std::int32_t kString1 = 11010001;
constexpr std::int32_t kString2 = 11010002;

}  // namespace

class DialogsWiringTest : public QObject, Session {
  Q_OBJECT

 private:
  std::unique_ptr<Editor> editor_;

  CQVViewTree* Tree() { return editor_->Tree(); }

 private slots:
  void cleanup() { editor_.reset(); }

  void init() {
    editor_ = std::make_unique<Editor>();
    QVERIFY(editor_->Start());
    InstallDialogHooks(*editor_->app);
    editor_->Frame().Action(qvcmd::kFileNew)->trigger();
    QVERIFY(Tree());
    QVERIFY(editor_->Select(kString1));
    TypeText(editor_->Edit(), QStringLiteral("站点"));
    QVERIFY(editor_->Select(kString2));  // stores string 1
    QCOMPARE(CQVViewTree::Mark(Tree()->FindItem(kString1)), CQVViewTree::kMarkText);
    QVERIFY(editor_->Select(kString1));
    sink_.Clear();
  }

  void marksFollowTheAssignment() {
    // The text being typed reaches the document before the dialog reads it.
    editor_->Edit()->moveCursor(QTextCursor::End);
    TypeText(editor_->Edit(), QStringLiteral("Z"));
    bool live = false;
    std::string text;
    auto found = OnNextModal<CAssignApplicationsDialog>([&](CAssignApplicationsDialog* d) {
      text = Info(editor_->Format(), kString1).text;
      d->Available()->setCurrentRow(0);
      d->Button(2015)->click();
      live = CQVViewTree::Mark(Tree()->FindItem(kString1)) == CQVViewTree::kMarkApplications;
      d->Button(1)->click();
    });
    Tree()->OnCommand(qvcmd::kAssignApplications);
    QVERIFY(*found);
    QCOMPARE(text, Gbk("站点Z"));
    QVERIFY(live);
    QVERIFY(editor_->Doc()->IsModified());
    QCOMPARE(editor_->Edit()->Applications(),
             std::string("106"));  // 参考线, first by name
    QVERIFY(editor_->Select(kString2));
    QCOMPARE(CQVViewTree::Mark(Tree()->FindItem(kString1)), CQVViewTree::kMarkApplications);

    // Cancel puts the mark back after the moves changed it.
    bool cleared = false;
    found = OnNextModal<CAssignApplicationsDialog>([&](CAssignApplicationsDialog* d) {
      d->Button(2018)->click();
      cleared = CQVViewTree::Mark(Tree()->FindItem(kString1)) == CQVViewTree::kMarkText;
      d->Button(2)->click();
    });
    Tree()->OnCommand(qvcmd::kAssignApplications);
    QVERIFY(*found);
    QVERIFY(cleared);
    QCOMPARE(CQVViewTree::Mark(Tree()->FindItem(kString1)), CQVViewTree::kMarkApplications);
  }

  void settingsSheetsReachFormatAndProfile() {
    const QString ini = QString::fromStdString(editor_->app->Locations().SettingsPath());
    const QByteArray before = ReadAll(ini);
    editor_->Doc()->SetModifiedFlag(false);
    QString shown;
    auto found = OnNextModal<CPropertySheetEx>([&](CPropertySheetEx* sheet) {
      sheet->Tabs()->setCurrentIndex(1);
      auto* units = qobject_cast<CFormatUnitsPage*>(sheet->Page(1));
      if (!units) return;
      shown = units->Combo("Linear")->currentText();
      units->Combo("Linear")->setCurrentIndex(1);
      sheet->Buttons()->button(QDialogButtonBox::Ok)->click();
    });
    Tree()->OnCommand(qvcmd::kFormatSettings);
    QVERIFY(*found);
    QCOMPARE(shown, QStringLiteral("米 (m)"));  // the format's unit
    std::string unit;
    editor_->Format().GetFileHeader("#L", unit);
    QCOMPARE(unit, std::string("F"));
    QCOMPARE(ReadAll(ini), before);  // without "作用于每一格式", the format's only
    QVERIFY(editor_->Doc()->IsModified());

    found = OnNextModal<CPropertySheetEx>([&](CPropertySheetEx* sheet) {
      sheet->Tabs()->setCurrentIndex(1);
      if (auto* flags = qobject_cast<CQVVariableFlagsPage*>(sheet->Page(1))) {
        flags->List()->SelectStateIcon(1, true);
        flags->ApplyToEveryFormat()->setChecked(true);
      }
      sheet->Buttons()->button(QDialogButtonBox::Ok)->click();
    });
    Tree()->OnCommand(qvcmd::kDefaultSettings);
    QVERIFY(*found);
    QCOMPARE(editor_->app->Profile()->Flags().Items()[1].value, 1);
    QVERIFY(ReadAll(ini).contains("Value2=1"));
  }
};

QTEST_MAIN(DialogsWiringTest)
#include "dialogs_wiring_test.moc"

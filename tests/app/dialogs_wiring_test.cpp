// The dialogs behind the format tree's commands in a running editor: the marks
// follow the assignment while the dialog is open, the pool commands take the
// edited string and put the loaded one into the editor, and the settings sheets
// reach the format and QV.ini.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>

#include "app_test_support.h"
#include "pool/assign_appl_dlg.h"
#include "pool/string_pool.h"
#include "pool/string_pool_dlg.h"
#include "settings/settings_pages.h"
#include "settings/variable_pages.h"
#include "shell/dialog_hooks.h"

namespace {

constexpr std::int32_t kString1 = 11010001;
constexpr std::int32_t kString2 = 11010002;

}  // namespace

class DialogsWiringTest : public QObject, story::Session {
  Q_OBJECT

 private:
  std::unique_ptr<story::Editor> editor_;

  CQVViewTree* Tree() { return editor_->Tree(); }

 private slots:
  void cleanup() { editor_.reset(); }

  void init() {
    editor_ = std::make_unique<story::Editor>();
    QVERIFY(editor_->Start());
    InstallDialogHooks(*editor_->app);
    editor_->Frame().Action(qvcmd::kFileNew)->trigger();
    QVERIFY(Tree());
    QVERIFY(editor_->Select(kString1));
    story::TypeText(editor_->Edit(), QStringLiteral("站点"));
    QVERIFY(editor_->Select(kString2));  // stores string 1
    QCOMPARE(CQVViewTree::Mark(Tree()->FindItem(kString1)), CQVViewTree::kMarkText);
    QVERIFY(editor_->Select(kString1));
    sink_.Clear();
  }

  void marksFollowTheAssignment() {
    bool live = false;
    auto found = story::OnNextModal<CAssignApplicationsDialog>([&](CAssignApplicationsDialog* d) {
      d->Available()->setCurrentRow(0);
      d->Button(2015)->click();
      live = CQVViewTree::Mark(Tree()->FindItem(kString1)) == CQVViewTree::kMarkApplications;
      d->Button(1)->click();
    });
    Tree()->OnCommand(qvcmd::kAssignApplications);
    QVERIFY(*found);
    QVERIFY(live);
    QVERIFY(editor_->Doc()->IsModified());
    QCOMPARE(editor_->Edit()->Applications(),
             std::string("106"));  // 参考线, first by name
    QVERIFY(editor_->Select(kString2));
    QCOMPARE(CQVViewTree::Mark(Tree()->FindItem(kString1)), CQVViewTree::kMarkApplications);

    // Cancel puts the mark back after the moves changed it.
    bool cleared = false;
    found = story::OnNextModal<CAssignApplicationsDialog>([&](CAssignApplicationsDialog* d) {
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
    editor_->Doc()->SetModifiedFlag(false);
    auto found = story::OnNextModal<CPropertySheetEx>([](CPropertySheetEx* sheet) {
      sheet->Tabs()->setCurrentIndex(1);
      auto* units = qobject_cast<CFormatUnitsPage*>(sheet->Page(1));
      if (units) units->Combo("Linear")->setCurrentIndex(1);
      sheet->Buttons()->button(QDialogButtonBox::Ok)->click();
    });
    Tree()->OnCommand(qvcmd::kFormatSettings);
    QVERIFY(*found);
    std::string unit;
    Tree()->Document().Format().GetFileHeader("#L", unit);
    QCOMPARE(unit, std::string("F"));
    QVERIFY(editor_->Doc()->IsModified());

    QStringList tabs;
    found = story::OnNextModal<CPropertySheetEx>([&](CPropertySheetEx* sheet) {
      for (int i = 0; i < sheet->PageCount(); ++i) tabs << sheet->Tabs()->tabText(i);
      sheet->Tabs()->setCurrentIndex(1);
      if (auto* flags = qobject_cast<CQVVariableFlagsPage*>(sheet->Page(1))) {
        flags->List()->SelectStateIcon(1, true);
        flags->ApplyToEveryFormat()->setChecked(true);
      }
      sheet->Buttons()->button(QDialogButtonBox::Ok)->click();
    });
    Tree()->OnCommand(qvcmd::kDefaultSettings);
    QVERIFY(*found);
    QCOMPARE(tabs, QStringList({"输出", "标志", "输入"}));
    QCOMPARE(editor_->app->Profile()->Flags().Items()[1].value, 1);
    QVERIFY(story::ReadAll(ini).contains("Value2=1"));
  }
};

QTEST_MAIN(DialogsWiringTest)
#include "dialogs_wiring_test.moc"

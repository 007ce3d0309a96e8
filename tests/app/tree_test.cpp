// The format tree of a document window: its items and marks from template and format, the
// switch of strings, clearing, the commands with their enabling rules, the sample pane, the
// insert-variable window, the format properties dialog, and the assignment and settings dialogs
// reached through its commands (the marks follow the assignment while its dialog is open).
#include "app_test_support.h"

namespace {

constexpr std::int32_t kFileHeader = 14000000;
constexpr std::int32_t kFileFooter = 15000000;
constexpr std::int32_t kCoordBlock = 11012000;  // 坐标数据
constexpr std::int32_t kCoordString1 = 11012001;
constexpr std::int32_t kCoordString2 = 11012002;
constexpr std::int32_t kMeasureString1 = 11010001;
constexpr std::int32_t kMeasureString2 = 11010002;
constexpr std::int32_t kImportString1 = 21012001;  // 坐标导入

// The row of the insert-variable window that holds a variable code.
QListWidgetItem* VariableItem(CQVInsertVarDlg* w, int code) {
  for (int i = 0; i < w->VariableList()->count(); ++i)
    if (w->VariableList()->item(i)->data(Qt::UserRole).toInt() == code)
      return w->VariableList()->item(i);
  return nullptr;
}

}  // namespace

class TreeTest : public QObject, Session {
  Q_OBJECT
 private:
  std::unique_ptr<Editor> e_;

  // A started editor with one window: a new format, or the file.
  void Start(const QString& file = {}) {
    e_ = std::make_unique<Editor>(file);
    QVERIFY(e_->Start());
    if (file.isEmpty()) e_->Frame().Action(qvcmd::kFileNew)->trigger();
    QVERIFY(e_->Tree());
    sink_.Clear();
  }
  // A new format with the real dialogs, its measurement string 1 typed, stored and loaded again.
  void StartWithDialogs() {
    Start();
    InstallDialogHooks(*e_->app);
    QVERIFY(e_->Select(kMeasureString1));
    TypeText(Edit(), QStringLiteral("站点"));
    QVERIFY(e_->Select(kMeasureString2));
    QVERIFY(e_->Select(kMeasureString1));
  }
  CQVViewTree* Tree() const { return e_->Tree(); }
  CQVViewEdit* Edit() const { return e_->Edit(); }
  CDocFormat& Format() const { return e_->Format(); }

 private slots:
  void init() { sink_.Clear(); }
  void cleanup() {
    e_.reset();
    QDir::setCurrent(cwd_);
  }

  // --- Items and marks ------------------------------------------------------------------------

  void treeOfKiteBasic() {
    Start();
    QCOMPARE(Texts(Tree()->invisibleRootItem()),
             (QStringList{"表头", "输入格式串", "输出格式字串"}));
    QTreeWidgetItem* header = Tree()->topLevelItem(0);
    QCOMPARE(Texts(header), (QStringList{"总体情况", "软件", "块"}));
    // Applications with a header length above 0 only.
    QCOMPARE(Texts(header->child(1)), (QStringList{"测量", "自由设站", "导线测量", "放样"}));
    // An export definition with 6 strings and default strings: six numbered items and one more.
    QTreeWidgetItem* coord = Tree()->FindItem(kCoordBlock);
    QCOMPARE(coord->childCount(), 7);
    QCOMPARE(CQVViewTree::Datum(coord->child(6)), 17012000);
    // An import definition with restriction and header strings.
    QTreeWidgetItem* import = Tree()->FindItem(21012000);
    QCOMPARE(Texts(import), (QStringList{"输入格式串 1", "输入格式串 2", "限制", "文件头"}));
    QCOMPARE(CQVViewTree::Datum(import->child(3)), 24012000);
  }

  void marksFollowTextAndApplications() {
    Start(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt");
    QCOMPARE(CQVViewTree::Mark(Tree()->FindItem(kFileHeader)), CQVViewTree::kMarkText);
    QCOMPARE(CQVViewTree::Mark(Tree()->FindItem(kCoordString1)), CQVViewTree::kMarkApplications);
    QCOMPARE(CQVViewTree::Mark(Tree()->FindItem(kCoordBlock)), 0);
    // Typed text marks the string "text, no application" once another item is chosen.
    QVERIFY(e_->Select(kCoordString2));
    TypeText(Edit(), QStringLiteral("abc"));
    QCOMPARE(CQVViewTree::Mark(Tree()->FindItem(kCoordString2)), CQVViewTree::kMarkEmpty);
    QVERIFY(e_->Select(kFileFooter));
    QCOMPARE(CQVViewTree::Mark(Tree()->FindItem(kCoordString2)), CQVViewTree::kMarkText);
  }

  // --- Switching and clearing -----------------------------------------------------------------

  void switchLoadsTheSelectedStringAndDisablesOnBranches() {
    Start(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt");
    QVERIFY(!Edit()->isEnabled());
    QVERIFY(e_->Select(kCoordString1));
    QVERIFY(Edit()->isEnabled());
    QCOMPARE(Edit()->FieldCount(), 5);
    QCOMPARE(Edit()->MaxVariables(), 15);  // the definition's variable count
    QCOMPARE(Edit()->Applications(), std::string("101102"));
    // The file header has the template's header length and no variable limit.
    QVERIFY(e_->Select(kFileHeader));
    QCOMPARE(Edit()->MaxLength(), 250);
    QCOMPARE(Edit()->MaxVariables(), CQVViewEdit::kNoLimit);
    // A block item empties and disables the editor, and the sample pane.
    QVERIFY(e_->Select(kCoordBlock));
    QVERIFY(!Edit()->isEnabled());
    QVERIFY(Edit()->toPlainText().isEmpty());
    QVERIFY(e_->Doc()->Preview()->toPlainText().isEmpty());
    QVERIFY(!e_->Doc()->IsModified());  // nothing was changed
  }

  void deleteClearsTheStringUntilTheNextSwitch() {
    Start(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt");
    QVERIFY(e_->Select(kCoordString1));
    Tree()->setFocus();
    QTest::keyClick(Tree(), Qt::Key_Delete);
    QVERIFY(Edit()->toPlainText().isEmpty());
    QCOMPARE(CQVViewTree::Mark(Tree()->FindItem(kCoordString1)), CQVViewTree::kMarkEmpty);
    QVERIFY(e_->Doc()->IsModified());
    // Still in the document until the switch stores the emptied string.
    QVERIFY(Format().FindString(kCoordString1)->IsPresent());
    QVERIFY(e_->Select(kFileHeader));
    QVERIFY(!Format().FindString(kCoordString1)->IsPresent());
    // Delete on a block item does nothing.
    QVERIFY(e_->Select(kCoordBlock));
    QTest::keyClick(Tree(), Qt::Key_Delete);
    QCOMPARE(CQVViewTree::Mark(Tree()->FindItem(kFileHeader)), CQVViewTree::kMarkText);
  }

  // --- Commands and their enabling ------------------------------------------------------------

  void enablingRules() {
    Start(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt");
    auto enabled = [this](int id, bool context = false) {
      return Tree()->IsCommandEnabled(id, context);
    };
    QVERIFY(e_->Select(kFileHeader));
    QVERIFY(!enabled(qvcmd::kAssignApplications));  // not in the output branch
    QVERIFY(enabled(qvcmd::kPoolLoad) && enabled(qvcmd::kClearString, true));
    // A block with a string with text.
    QVERIFY(e_->Select(kCoordBlock));
    QVERIFY(enabled(qvcmd::kAssignApplications));
    QVERIFY(!enabled(qvcmd::kPoolSave) && !enabled(qvcmd::kClearString));
    // A block whose strings are all empty, and then with text typed but not yet stored.
    QVERIFY(e_->Select(kMeasureString1));
    QVERIFY(!enabled(qvcmd::kAssignApplications));
    TypeText(Edit(), QStringLiteral("t"));
    QVERIFY(enabled(qvcmd::kAssignApplications));
    // The main frame's actions follow the same rules.
    e_->Frame().UpdateCommands();
    QVERIFY(e_->Frame().Action(qvcmd::kClearString)->isEnabled());
    QVERIFY(e_->Select(kCoordBlock));
    e_->Frame().UpdateCommands();
    QVERIFY(!e_->Frame().Action(qvcmd::kClearString)->isEnabled());
    // The context menu carries the same states.
    std::unique_ptr<QMenu> menu(Tree()->CreateContextMenu(Tree()));
    QVERIFY(menu->findChild<QAction*>(QStringLiteral("treeCommand32796"))->isEnabled());
    QVERIFY(!menu->findChild<QAction*>(QStringLiteral("treeCommand32794"))->isEnabled());
  }

  // --- The sample pane ------------------------------------------------------------------------

  void samplePaneRendersEveryAcceptedChange() {
    Start(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt");
    QVERIFY(e_->Select(kCoordString1));
    CQVViewPre* pane = e_->Doc()->Preview();
    const QString first = pane->toPlainText();
    QVERIFY(!first.isEmpty());
    SetCaret(Edit(), 0);
    TypeText(Edit(), QStringLiteral(">"));
    QCOMPARE(pane->toPlainText(), QStringLiteral(">") + first);
    // An import string has no sample.
    QVERIFY(e_->Select(kImportString1));
    TypeText(Edit(), QStringLiteral("x"));
    QVERIFY(pane->toPlainText().isEmpty());
  }

  // --- The insert-variable window -------------------------------------------------------------

  // Made on the first input or output string, docked beside the editor; it follows block and
  // direction and inserts at the caret, giving the focus back.
  void insertWindowFollowsTheStringAndInsertsAtTheCaret() {
    Start();
    e_->Frame().show();
    QVERIFY(QTest::qWaitForWindowActive(&e_->Frame()));
    QVERIFY(e_->Select(kFileHeader));
    QVERIFY(!Tree()->InsertVariableWindow());
    QVERIFY(e_->Select(kCoordString1));
    CQVInsertVarDlg* w = Tree()->InsertVariableWindow();
    QVERIFY(w && w->isVisible());
    auto* dock = qobject_cast<QDockWidget*>(w->parentWidget());
    QVERIFY(dock && dock->isVisible());
    QTest::qWait(0);
    QVERIFY(
        !dock->geometry().intersects(QRect(Edit()->mapTo(&e_->Frame(), QPoint()), Edit()->size())));
    const QString outputCaption = w->windowTitle();
    QCOMPARE(w->BlockCombo()->currentData().toInt(), 12);
    TypeText(Edit(), QStringLiteral("ab"));
    SetCaret(Edit(), 1);
    w->VariableList()->setCurrentItem(VariableItem(w, 51));
    w->VariableList()->setFocus();
    QTest::mouseClick(w->InsertButton(), Qt::LeftButton);
    QCOMPARE(Edit()->EditorText(), QStringLiteral("a\x01东坐标\x02"
                                                  "b"));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Edit()));
    // Another output block: other block and list.
    QVERIFY(e_->Select(kMeasureString1));
    QVERIFY(VariableItem(w, 31) && !VariableItem(w, 51));
    // An input string switches direction and caption, and takes input conversions.
    QVERIFY(e_->Select(kImportString1));
    QCOMPARE(Tree()->InsertVariableWindow(), w);
    QVERIFY(w->windowTitle() != outputCaption);
    QCOMPARE(w->BlockCombo()->count(),
             static_cast<int>(Format().Template()->ImportFormatList().size()));
    QCOMPARE(w->BlockCombo()->currentText(), QStringLiteral("坐标导入"));
    w->VariableList()->setCurrentItem(VariableItem(w, 51));
    QTest::mouseClick(w->InsertButton(), Qt::LeftButton);
    QVERIFY(!Edit()->Field(0)->IsOutput());
  }

  // --- Format properties ----------------------------------------------------------------------

  // A name of 16 characters is refused even though it cannot be edited, and so is a version of
  // more than 8; nothing is written until OK passes.
  void propertiesCheckedThenWritten() {
    Start();
    using Dlg = CFormatPropertiesDlg;
    CFrtFileEx& format = Format().Format();
    const std::string author = format.Header().author.str();
    bool nameEditable = true;
    std::vector<CMessage> refusals;
    auto found = OnNextModal<Dlg>([&](Dlg* d) {
      nameEditable = !d->Field(Dlg::kName)->isReadOnly();
      d->Field(Dlg::kAuthor)->setText(QStringLiteral("测量员"));
      d->Comment()->setPlainText(QStringLiteral("一行\n二行"));
      const QString version = d->Field(Dlg::kVersion)->text();
      d->Field(Dlg::kName)->setText(QStringLiteral("ABCDEFGHIJKLMNOP"));
      d->accept();
      d->Field(Dlg::kName)->setText(QStringLiteral("ABCDEFGHIJKLMNO"));
      d->Field(Dlg::kVersion)->setText(QStringLiteral("1.000.000"));
      d->accept();
      if (d->isVisible() && format.Header().author.str() == author) refusals = sink_.Messages();
      d->Field(Dlg::kVersion)->setText(version);
      d->accept();
    });
    e_->Doc()->SetModifiedFlag(false);
    e_->Trigger(qvcmd::kProperties);
    QVERIFY(*found);
    QVERIFY(!nameEditable);
    QCOMPARE(refusals.size(), std::size_t{2});
    QVERIFY(refusals[0].text.find("15") != std::string::npos);
    QVERIFY(refusals[1].text.find('8') != std::string::npos);
    QCOMPARE(format.Header().author.str(), frt::Utf8ToGbk("测量员"));
    QCOMPARE(format.Header().comment.str(), frt::Utf8ToGbk("一行 二行"));
    QVERIFY(!e_->Doc()->IsModified());  // the dialog does not mark the document
  }

  // --- The dialogs behind the commands --------------------------------------------------------

  void marksFollowTheAssignment() {
    StartWithDialogs();
    // The text being typed reaches the document before the dialog reads it.
    e_->Edit()->moveCursor(QTextCursor::End);
    TypeText(e_->Edit(), QStringLiteral("Z"));
    bool live = false;
    std::string text;
    auto found = OnNextModal<CAssignApplicationsDialog>([&](CAssignApplicationsDialog* d) {
      text = Info(e_->Format(), kMeasureString1).text;
      d->Available()->setCurrentRow(0);
      d->Button(2015)->click();
      live = CQVViewTree::Mark(Tree()->FindItem(kMeasureString1)) == CQVViewTree::kMarkApplications;
      d->Button(1)->click();
    });
    Tree()->OnCommand(qvcmd::kAssignApplications);
    QVERIFY(*found);
    QCOMPARE(text, Gbk("站点Z"));
    QVERIFY(live);
    QCOMPARE(e_->Edit()->Applications(), std::string("106"));  // 参考线, first by name

    // Cancel puts the mark back after the moves changed it.
    bool cleared = false;
    found = OnNextModal<CAssignApplicationsDialog>([&](CAssignApplicationsDialog* d) {
      d->Button(2018)->click();
      cleared = CQVViewTree::Mark(Tree()->FindItem(kMeasureString1)) == CQVViewTree::kMarkText;
      d->Button(2)->click();
    });
    Tree()->OnCommand(qvcmd::kAssignApplications);
    QVERIFY(*found);
    QVERIFY(cleared);
    QCOMPARE(CQVViewTree::Mark(Tree()->FindItem(kMeasureString1)), CQVViewTree::kMarkApplications);
  }

  void settingsSheetsReachFormatAndProfile() {
    StartWithDialogs();
    const QString ini = QString::fromStdString(e_->app->Locations().SettingsPath());
    const QByteArray before = ReadAll(ini);
    e_->Doc()->SetModifiedFlag(false);
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
    e_->Format().GetFileHeader("#L", unit);
    QCOMPARE(unit, std::string("F"));
    QCOMPARE(ReadAll(ini), before);  // without "作用于每一格式", the format's only
    QVERIFY(e_->Doc()->IsModified());

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
    QCOMPARE(e_->app->Profile()->Flags().Items()[1].value, 1);
    QVERIFY(ReadAll(ini).contains("Value2=1"));
  }
};

QUARVEL_APP_TEST_MAIN(TreeTest)

#include "tree_test.moc"

// The application assignment dialog: moves keep names and numbers,
// the lists hold only what may still be assigned, the tree's marks follow the moves, OK writes
// every string of the block and cancel leaves the document and the marks as they were.

#include "app_test_support.h"

namespace {

constexpr std::int32_t kS1 = 11010001;  // output strings 1 and 2 of block 10 (测量数据)
constexpr std::int32_t kS2 = 11010002;

QListWidgetItem* Find(const QListWidget* list, const QString& text) {
  const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.first();
}

void Select(QListWidget* list, const QString& text) {
  QListWidgetItem* item = Find(list, text);
  QVERIFY2(item, qPrintable(text));
  list->setCurrentItem(item);
}

void DoubleClick(QListWidget* list, const QString& text) {
  QListWidgetItem* item = Find(list, text);
  QVERIFY2(item, qPrintable(text));
  list->scrollToItem(item);
  const QRect r = list->visualItemRect(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
}

// The string and state of one applicationsMarked signal.
std::pair<int, bool> MarkOf(const QList<QVariant>& signal) {
  return {signal.at(0).toInt(), signal.at(1).toBool()};
}

}  // namespace

class DialogsAssignTest : public QObject {
  Q_OBJECT

 private:
  CDialogsFixture data_;

  // A Kite_Basic format whose block 10 has text in the given strings (with these applications).
  std::unique_ptr<CFormatDocument> Format(
      std::initializer_list<std::pair<std::int32_t, const char*>> strings) {
    auto document = data_.NewFormat("Kite_Basic");
    if (!document) return nullptr;
    for (const auto& [id, applications] : strings)
      document->Format().SetFormatString(id, "P%s", VariableGroup(1), applications);
    return document;
  }

 private slots:
  void initTestCase() { QVERIFY(data_.Start()); }

  void assignAcrossTwoStringsAndAccept() {
    auto document = Format({{kS1, ""}, {kS2, ""}});
    QVERIFY(document);
    CDocFormat& format = document->Format();
    const std::string variablesBefore = Info(format, kS2).variables;
    CAssignApplicationsDialog dialog(format, kS1);
    QSignalSpy marks(&dialog, &CAssignApplicationsDialog::applicationsMarked);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCOMPARE(dialog.BlockName()->text(), QStringLiteral("测量数据"));
    QCOMPARE(dialog.Strings()->count(), 2);
    // Sorted by name, every application of the template free.
    QCOMPARE(Texts(dialog.Available()),
             QStringList({"参考线", "导线测量", "放样", "测量", "自由设站", "面积测量"}));
    dialog.Available()->clearSelection();  // nothing selected: nothing moves
    QTest::mouseClick(dialog.Button(2015), Qt::LeftButton);
    QCOMPARE(dialog.Assigned()->count(), 0);

    Select(dialog.Available(), QStringLiteral("测量"));
    QTest::mouseClick(dialog.Button(2015), Qt::LeftButton);
    Select(dialog.Available(), QStringLiteral("自由设站"));
    QTest::mouseClick(dialog.Button(2015), Qt::LeftButton);
    QCOMPARE(Texts(dialog.Assigned()), QStringList({"测量", "自由设站"}));
    QCOMPARE(dialog.PendingApplications(0), std::string("101102"));
    QCOMPARE(marks.count(), 2);
    QCOMPARE(MarkOf(marks.last()), std::pair(kS1, true));

    // The second string: what string 1 has is in neither list.
    dialog.Strings()->setCurrentIndex(1);
    QCOMPARE(dialog.Assigned()->count(), 0);
    QVERIFY(!Find(dialog.Available(), QStringLiteral("测量")));
    QCOMPARE(dialog.Available()->count(), 4);
    DoubleClick(dialog.Available(), QStringLiteral("放样"));
    QCOMPARE(Texts(dialog.Assigned()), QStringList({"放样"}));
    // And back: a double click on the assigned side returns it.
    DoubleClick(dialog.Assigned(), QStringLiteral("放样"));
    QCOMPARE(MarkOf(marks.last()), std::pair(kS2, false));
    DoubleClick(dialog.Available(), QStringLiteral("放样"));

    // Picking string 1 again shows its pending moves; nothing is written yet.
    dialog.Strings()->setCurrentIndex(0);
    QCOMPARE(Texts(dialog.Assigned()), QStringList({"测量", "自由设站"}));
    QCOMPARE(Info(format, kS1).applications, std::string());

    QTest::mouseClick(dialog.Button(1), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(Info(format, kS1).applications, std::string("101102"));
    QCOMPARE(Info(format, kS2).applications, std::string("105"));
    // Text and variables stay as they were.
    QCOMPARE(Info(format, kS2).text, std::string("P%s"));
    QCOMPARE(Info(format, kS2).variables, variablesBefore);
  }

  void cancelAfterMovesRestoresMarksAndLeavesTheDocument() {
    auto document = Format({{kS1, "101"}, {kS2, ""}});
    QVERIFY(document);
    CDocFormat& format = document->Format();
    CAssignApplicationsDialog dialog(format, kS2);
    QSignalSpy marks(&dialog, &CAssignApplicationsDialog::applicationsMarked);
    dialog.show();
    QCOMPARE(dialog.CurrentIndex(), 1);
    QTest::mouseClick(dialog.Button(2017), Qt::LeftButton);  // ">>"
    QCOMPARE(dialog.Assigned()->count(), 5);
    dialog.Strings()->setCurrentIndex(0);
    QTest::mouseClick(dialog.Button(2018), Qt::LeftButton);  // "<<" on string 1
    QCOMPARE(dialog.Available()->count(), 1);
    QCOMPARE(marks.last().at(1).toBool(), false);
    marks.clear();

    QTest::mouseClick(dialog.Button(2), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(Info(format, kS1).applications, std::string("101"));
    QCOMPARE(Info(format, kS2).applications, std::string());
    // One mark per string, from what the document holds.
    QCOMPARE(marks.count(), 2);
    QCOMPARE(MarkOf(marks.at(0)), std::pair(kS1, true));
    QCOMPARE(MarkOf(marks.at(1)), std::pair(kS2, false));
  }

  void blockWithoutTextClosesAtOnce() {
    auto document = Format({});
    QVERIFY(document);
    CAssignApplicationsDialog dialog(document->Format(), 11010000);
    QCOMPARE(dialog.StringCount(), 0);
    QCOMPARE(dialog.Run(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
  }
};

QTEST_MAIN(DialogsAssignTest)
#include "dialogs_assign_test.moc"

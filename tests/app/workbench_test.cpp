// The data workbench window: the lines of a data file, the table following an edited import
// string, and the export of records with the application switched and the output saved.

#include "app_test_support.h"
#include "workbench/wb_export_pane.h"
#include "workbench/wb_import_pane.h"
#include "workbench/workbench_window.h"

namespace {

// The block 12 data string of the shipped coordinate format reads "point E N H code" lines;
// its block 14 string reads two words.
const char kData[] =
    "P1 100.5 200.25 10.0 TREE\r\n"
    "abc\n"
    "\n"
    "P9 X\n"
    "测站\n"          // stops at its end: a column of bytes, shown as characters
    "P3 1 2 3 WALL";  // no line end
constexpr int kRows = 6;

QString DataPath(const char* name) {
  return QStringLiteral(QUARVEL_SOURCE_DATA_DIR "/") + QString::fromUtf8(name);
}

}  // namespace

class WorkbenchTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    e_ = std::make_unique<Editor>(DataPath("Format/CoordinateImport.frt"));
    QVERIFY(e_->Start());
    InstallDialogHooks(*e_->app);
    QVERIFY(e_->Tree());
  }
  void cleanup() { e_.reset(); }

  // More lines than the first chunk holds arrive whole and in order.
  void loaderReadsEveryLine() {
    QByteArray bytes;
    const int count = 100000;
    for (int i = 1; i <= count; ++i) bytes += "line " + QByteArray::number(i) + '\n';
    const QString path = e_->dir.filePath(QStringLiteral("many.txt"));
    QVERIFY(WriteAll(path, bytes));
    CWbImportPane pane;
    QSignalSpy done(&pane, &CWbImportPane::scanFinished);
    pane.OpenFile(path);
    QVERIFY(done.wait(20000));
    QCOMPARE(pane.Model()->rowCount(), count);
    for (int row : {0, 4095, count - 1})
      QCOMPARE(pane.Model()->index(row, CWbImportModel::kColumnText).data().toString(),
               QStringLiteral("line %1").arg(row + 1));
  }

  void importTableFollowsTheEditedString() {
    e_->Frame().Action(qvcmd::kDataWorkbench)->trigger();
    auto* window = e_->Active()->findChild<CWorkbenchWindow*>();
    QVERIFY(window && window->isVisible());
    CWbImportPane* pane = window->ImportPane();
    const QString path = e_->dir.filePath(QStringLiteral("data.txt"));
    QVERIFY(WriteAll(path, QByteArray::fromStdString(Gbk(kData))));
    QSignalSpy done(pane, &CWbImportPane::scanFinished);
    pane->OpenFile(path);
    QVERIFY(done.wait(5000));
    CWbImportModel* m = pane->Model();
    QCOMPARE(m->rowCount(), kRows);
    auto stop = [m](int row) {
      return m->index(row, CWbImportModel::kColumnText).data(CWbImportModel::kStopRole).toInt();
    };
    // Which rows are marked: the blank one is not.
    const bool matched[kRows] = {true, false, true, true, false, true};
    for (int row = 0; row < kRows; ++row) {
      QCOMPARE(stop(row) >= 0, !matched[row]);
      QCOMPARE(m->index(row, CWbImportModel::kColumnText).data(Qt::BackgroundRole).isValid(),
               !matched[row]);
    }
    QCOMPARE(stop(4), m->index(4, CWbImportModel::kColumnText).data().toString().size());
    QCOMPARE(pane->MissedCount(), 2);
    int east = -1;
    for (int c = CWbImportModel::kFirstVariableColumn; c < m->columnCount(); ++c)
      if (m->index(0, c).data().toString() == QStringLiteral("100.5")) east = c;
    QVERIFY(east > 0);

    // A literal typed before the block 12 string: the first line now falls to the two-word
    // string of block 14, which reads no east coordinate.
    QVERIFY(e_->Select(21012001));
    SetCaret(e_->Edit(), 0);
    TypeText(e_->Edit(), QStringLiteral("Z"));
    QTRY_VERIFY(m->index(0, east).data().toString().isEmpty());
    QCOMPARE(m->index(0, CWbImportModel::kColumnString).data().toString(),
             m->index(3, CWbImportModel::kColumnString).data().toString());
    // The same command shows the same window.
    e_->Tree()->OnCommand(qvcmd::kDataWorkbench);
    QCOMPARE(e_->Active()->findChildren<CWorkbenchWindow*>().size(), 1);
  }

  void exportSwitchesApplicationAndSaves() {
    e_->Tree()->OnCommand(qvcmd::kDataWorkbench);
    auto* window = e_->Active()->findChild<CWorkbenchWindow*>();
    QVERIFY(window);
    const QString data = e_->dir.filePath(QStringLiteral("data.txt"));
    QVERIFY(WriteAll(data, QByteArray::fromStdString(Gbk(kData))));
    QSignalSpy done(window->ImportPane(), &CWbImportPane::scanFinished);
    window->ImportPane()->OpenFile(data);
    QVERIFY(done.wait(5000));
    window->ImportPane()->findChild<QPushButton*>(QStringLiteral("recordsToExport"))->click();
    CWbExportPane* pane = window->ExportPane();
    QCOMPARE(window->Tabs()->currentWidget(), pane);
    // The format's block 12 string is for application 101; block 14 has none.
    QComboBox* apps = pane->Applications();
    const int chosen = apps->findData(101);
    QVERIFY(chosen >= 0 && apps->count() > 1);
    apps->setCurrentIndex(chosen);
    QTRY_VERIFY(pane->View()->toPlainText().contains(QStringLiteral("100.500")));
    const QString fromImport = pane->View()->toPlainText();
    const int failed = pane->Errors()->count();

    // The same records from a records file give the same output.
    const QString csv = e_->dir.filePath(QStringLiteral("records.csv"));
    QVERIFY(WriteAll(csv,
                     "block,1,51,52,53,2,7\r\n12,P1,100.5,200.25,10.0,TREE,\r\n"
                     "14,,,,,P9,X\r\n12,P3,1,2,3,WALL,\r\n"));
    QVERIFY(pane->OpenRecords(csv));
    QCOMPARE(pane->View()->toPlainText(), fromImport);

    // Another application has no string for the block 12 records: they fail too.
    apps->setCurrentIndex(chosen == 0 ? 1 : 0);
    QCOMPARE(pane->Errors()->count(), failed + 2);
    apps->setCurrentIndex(chosen);

    const QString out = e_->dir.filePath(QStringLiteral("out.txt"));
    auto found = OnNextModal<QFileDialog>([out](QFileDialog* d) { AcceptFile(d, out); });
    pane->findChild<QPushButton*>(QStringLiteral("saveOutput"))->click();
    QVERIFY(*found);
    QCOMPARE(ReadAll(out), QByteArray::fromStdString(frt::Utf8ToGbk(fromImport.toStdString())));
  }

 private:
  std::unique_ptr<Editor> e_;
};

QUARVEL_APP_TEST_MAIN(WorkbenchTest)

#include "workbench_test.moc"

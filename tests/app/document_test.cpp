// Whole stories of a user with format documents: starting with and without a file, a new format
// edited, saved, closed and opened again, the save that an unassigned string stops, invalid
// files, one window per file, and the question before closing.
#include <QMessageBox>
#include <QPushButton>

#include "app_test_support.h"

using story::Editor;
using story::OnNextModal;

namespace {

constexpr std::int32_t kMeasureString1 = 11010001;  // 测量数据, output string 1
constexpr int kSlopeDistance = 31;                  // 斜距: real number, linear
constexpr int kPointNumber = 1;                     // 点号: text

}  // namespace

class DocumentTest : public QObject, story::Session {
  Q_OBJECT
 private slots:
  void init() { sink_.Clear(); }
  void cleanup() { QDir::setCurrent(cwd_); }

  // --- Starting -------------------------------------------------------------------------------

  void startWithAFileOpensOnlyThatFile() {
    Editor e(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt");
    QVERIFY(e.Start());
    QCOMPARE(e.Windows().size(), 1);
    QCOMPARE(e.Doc()->Title(), QStringLiteral("Example.frt"));
    QVERIFY(!e.Doc()->IsModified());
    // The same file again activates its window instead of opening a second one.
    e.Frame().Action(qvcmd::kFileNew)->trigger();
    QCOMPARE(e.Windows().size(), 2);
    QVERIFY(e.app->OpenFile(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt"));
    QCOMPARE(e.Windows().size(), 2);
    QCOMPARE(e.Doc()->Title(), QStringLiteral("Example.frt"));
    QVERIFY(sink_.Empty());
  }

  // Which message a broken file gives is the core's; the window layer shows it, opens no window
  // and does not remember the file.
  void invalidFilesShowTheirMessageAndOpenNoWindow() {
    Editor e;
    QVERIFY(e.Start());
    QByteArray bytes = story::ReadAll(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt");
    bytes.replace("$1112000", "$1199000");
    const QString badBlock = e.dir.filePath(QStringLiteral("badblock.frt"));
    QVERIFY(story::WriteAll(badBlock, bytes));
    QVERIFY(!e.app->OpenFile(badBlock));
    QCOMPARE(sink_.Ids(), std::vector<int>{1207});
    QVERIFY(sink_.Last().isError);
    QVERIFY(e.Windows().isEmpty());
    QVERIFY(!e.Frame().RecentFiles().contains(QFileInfo(badBlock).absoluteFilePath()));
  }

  void aFileSavedAsUtf8OpensThenWarns() {
    Editor e;
    QVERIFY(e.Start());
    const QString path = e.dir.filePath(QStringLiteral("utf8.frt"));
    const QByteArray gbk = story::ReadAll(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt");
    QVERIFY(story::WriteAll(path, QByteArray::fromStdString(frt::GbkToUtf8(gbk.toStdString()))));
    QVERIFY(e.app->OpenFile(path));
    QCOMPARE(e.Windows().size(), 1);
    QCOMPARE(sink_.Ids(), std::vector<int>{frt::kIdTextLooksLikeUtf8});
    QVERIFY(!sink_.Last().isError);
  }

  // --- The main story -------------------------------------------------------------------------

  void newFormatEditedSavedAndOpenedAgain() {
    Editor e;
    QVERIFY(e.Start());
    e.Frame().Action(qvcmd::kFileNew)->trigger();
    QVERIFY(e.Select(kMeasureString1));
    CQVViewEdit* edit = e.Edit();
    story::TypeText(edit, QStringLiteral("PT "));
    QVERIFY(edit->InsertVariableCode(kPointNumber));
    story::TypeText(edit, QStringLiteral(" D="));
    QVERIFY(edit->InsertVariableCode(kSlopeDistance));
    const std::string stored = edit->StoredText();

    // The assignment (its dialog stands in here) gives application 101.
    std::int32_t assignedDatum = 0;
    e.app->TreeHooks().assignApplications = [&](CQVViewTree& tree, std::int32_t datum,
                                                std::int32_t) {
      assignedDatum = datum;
      const StringInfo s = Info(tree.Document().Format(), datum);
      return tree.Document().Format().SetFormatString(datum, s.text, s.variables, "101") == 1;
    };
    e.Frame().UpdateCommands();
    e.Frame().Action(qvcmd::kAssignApplications)->trigger();
    QCOMPARE(assignedDatum, kMeasureString1);
    QCOMPARE(CQVViewTree::Mark(e.Tree()->FindItem(kMeasureString1)),
             CQVViewTree::kMarkApplications);

    // Save under a name typed without extension: ".FRT" is added.
    sink_.Clear();
    const QString base = e.dir.filePath(QStringLiteral("story"));
    QString dialogDir;
    auto found = OnNextModal<QFileDialog>([&](QFileDialog* d) {
      dialogDir = QDir(d->directory()).canonicalPath();
      story::AcceptFile(d, base);
    });
    e.Frame().Action(qvcmd::kFileSave)->trigger();
    QVERIFY(*found);
    QCOMPARE(dialogDir, QDir(e.AppFile("Format")).canonicalPath());
    QVERIFY(sink_.Empty());
    const QString path = base + ".FRT";
    QVERIFY(QFile::exists(path));
    QCOMPARE(e.Doc()->Title(), QStringLiteral("story.FRT"));
    QVERIFY(!e.Doc()->IsModified());
    QCOMPARE(e.Frame().RecentFiles().first(), QFileInfo(path).absoluteFilePath());
    const QByteArray file = story::ReadAll(path);
    QVERIFY(file.contains("%Nstory\r\n"));
    QVERIFY(file.contains(QByteArray("$1110000\"PT ")));
    QVERIFY(file.contains(";101"));

    // Closed (nothing to ask) and opened again through the open dialog: the same string.
    e.Frame().Action(qvcmd::kFileClose)->trigger();
    QVERIFY(e.Windows().isEmpty());
    QStringList filters;
    found = OnNextModal<QFileDialog>([&](QFileDialog* d) {
      filters = d->nameFilters();
      story::AcceptFile(d, path);
    });
    e.Frame().Action(qvcmd::kFileOpen)->trigger();
    QVERIFY(*found);
    // The dialog shows the filter " 格式文件  (*.frt)" with its blanks tidied.
    QCOMPARE(filters, QStringList{QStringLiteral("格式文件 (*.frt)")});
    QCOMPARE(e.Windows().size(), 1);
    QCOMPARE(e.Doc()->Title(), QStringLiteral("story.FRT"));
    QCOMPARE(CQVViewTree::Mark(e.Tree()->FindItem(kMeasureString1)),
             CQVViewTree::kMarkApplications);
    QVERIFY(e.Select(kMeasureString1));
    QCOMPARE(e.Edit()->StoredText(), stored);
    QCOMPARE(e.Edit()->Applications(), std::string("101"));
    QVERIFY(sink_.Empty());
  }

  void emptyFormatSavesWithoutQuestionsAndRefusedSaveWritesNothing() {
    Editor e;
    QVERIFY(e.Start());
    e.Frame().Action(qvcmd::kFileNew)->trigger();
    // A header string needs no application.
    QVERIFY(e.Select(14000000));
    story::TypeText(e.Edit(), QStringLiteral("Head"));
    const QString path = e.dir.filePath(QStringLiteral("head.frt"));
    auto found = OnNextModal<QFileDialog>([&](QFileDialog* d) { story::AcceptFile(d, path); });
    e.Frame().Action(qvcmd::kFileSaveAs)->trigger();
    QVERIFY(*found);
    QVERIFY(story::ReadAll(path).contains("$1400000\"Head\""));
    QCOMPARE(e.Doc()->Title(), QStringLiteral("head.frt"));

    // An unassigned export string stops the next save: the file stays as it was.
    QVERIFY(e.Select(11012002));
    story::TypeText(e.Edit(), QStringLiteral("X"));
    const QByteArray before = story::ReadAll(path);
    sink_.Clear();
    e.Frame().Action(qvcmd::kFileSave)->trigger();
    QCOMPARE(sink_.Ids(), std::vector<int>{frt::kIdNoApplication});
    QCOMPARE(CQVViewTree::Datum(e.Tree()->currentItem()), 11012000);
    QCOMPARE(story::ReadAll(path), before);
    QVERIFY(e.Doc()->IsModified());
  }

  // --- Closing --------------------------------------------------------------------------------

  void closingAnUntouchedNewFormatAsks() {
    Editor e;
    QVERIFY(e.Start());
    e.Frame().Action(qvcmd::kFileNew)->trigger();
    QString question;
    auto found = OnNextModal<QMessageBox>([&](QMessageBox* box) {
      question = box->text();
      box->button(QMessageBox::Cancel)->click();
    });
    e.Frame().Action(qvcmd::kFileClose)->trigger();
    QVERIFY(*found);
    QVERIFY(question.contains(QStringLiteral("Noname1")));
    QCOMPARE(e.Windows().size(), 1);  // cancelled: still open

    found =
        OnNextModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
    e.Frame().Action(qvcmd::kFileClose)->trigger();
    QVERIFY(*found);
    QTRY_VERIFY(e.Windows().isEmpty());
    QCOMPARE(e.Frame().ActiveMenuSet(), CMainFrame::kMenuMain);
  }
};

QUARVEL_APP_TEST_MAIN(DocumentTest)

#include "document_test.moc"

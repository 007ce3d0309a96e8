// Whole stories of a user with format documents: starting with and without a file, a new format
// edited, saved, closed and opened again, the save that an unassigned string stops, invalid
// files, one window per file, and the question before closing.

#include "app_test_support.h"

namespace {

constexpr std::int32_t kFileHeader = 14000000;

}  // namespace

class DocumentTest : public QObject, Session {
  Q_OBJECT
 private slots:
  void init() { sink_.Clear(); }
  void cleanup() { QDir::setCurrent(cwd_); }

  // --- Starting -------------------------------------------------------------------------------

  void startWithAFileOpensOnlyThatFile() {
    Editor e(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt");
    QVERIFY(e.Start());
    QCOMPARE(e.Windows().size(), 1);
    QVERIFY(!e.Doc()->IsModified());
    // The same file again activates its window instead of opening a second one.
    e.Frame().Action(qvcmd::kFileNew)->trigger();
    QCOMPARE(e.Windows().size(), 2);
    QVERIFY(e.app->OpenFile(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt"));
    QCOMPARE(e.Windows().size(), 2);
    QCOMPARE(e.Doc()->Title(), QStringLiteral("Example.frt"));
    QVERIFY(sink_.Empty());
  }

  // Which message a file gives is the core's; the window layer shows it and opens a window (and
  // remembers the file) only when it is a warning.
  void openingShowsTheFilesMessage_data() {
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<int>("message");
    QTest::newRow("unknown block") << false << 1207;
    QTest::newRow("saved as UTF-8") << true << frt::kIdTextLooksLikeUtf8;
  }
  void openingShowsTheFilesMessage() {
    QFETCH(bool, utf8);
    QFETCH(int, message);
    Editor e;
    QVERIFY(e.Start());
    QByteArray bytes = ReadAll(QUARVEL_SOURCE_DATA_DIR "/Format/Example.frt");
    if (utf8)
      bytes = QByteArray::fromStdString(frt::GbkToUtf8(bytes.toStdString()));
    else
      bytes.replace("$1112000", "$1199000");
    const QString path = e.dir.filePath(QStringLiteral("x.frt"));
    QVERIFY(WriteAll(path, bytes));
    QCOMPARE(e.app->OpenFile(path), utf8);
    QCOMPARE(sink_.Ids(), std::vector<int>{message});
    QCOMPARE(e.Windows().size(), utf8 ? 1 : 0);
    QCOMPARE(e.Frame().RecentFiles().contains(QFileInfo(path).absoluteFilePath()), utf8);
  }

  // --- The main story -------------------------------------------------------------------------

  // A header string needs no application, an export string does.
  void newFormatEditedSavedOpenedAgainAndRefusedUnassigned() {
    Editor e;
    QVERIFY(e.Start());
    e.Frame().Action(qvcmd::kFileNew)->trigger();
    QVERIFY(e.Select(kFileHeader));
    TypeText(e.Edit(), QStringLiteral("PT 1 D=2"));
    const std::string stored = e.Edit()->StoredText();

    // Save under a name typed without extension: ".FRT" is added.
    const QString base = e.dir.filePath(QStringLiteral("story"));
    QString dialogDir;
    auto found = OnNextModal<QFileDialog>([&](QFileDialog* d) {
      dialogDir = QDir(d->directory()).canonicalPath();
      AcceptFile(d, base);
    });
    e.Frame().Action(qvcmd::kFileSave)->trigger();
    QVERIFY(*found);
    QCOMPARE(dialogDir, QDir(e.AppFile("Format")).canonicalPath());
    QVERIFY(sink_.Empty());
    const QString path = base + ".FRT";
    QCOMPARE(e.Doc()->Title(), QStringLiteral("story.FRT"));
    QVERIFY(!e.Doc()->IsModified());
    QCOMPARE(e.Frame().RecentFiles().first(), QFileInfo(path).absoluteFilePath());

    // Closed (nothing to ask) and opened again through the open dialog: the same string.
    e.Frame().Action(qvcmd::kFileClose)->trigger();
    QVERIFY(e.Windows().isEmpty());
    QStringList filters;
    found = OnNextModal<QFileDialog>([&](QFileDialog* d) {
      filters = d->nameFilters();
      AcceptFile(d, path);
    });
    e.Frame().Action(qvcmd::kFileOpen)->trigger();
    QVERIFY(*found);
    // The dialog shows the filter " 格式文件  (*.frt)" with its blanks tidied.
    QCOMPARE(filters, QStringList{QStringLiteral("格式文件 (*.frt)")});
    QVERIFY(e.Select(kFileHeader));
    QCOMPARE(e.Edit()->StoredText(), stored);
    QVERIFY(sink_.Empty());

    // An unassigned export string stops the next save: the file stays as it was.
    QVERIFY(e.Select(11012002));
    TypeText(e.Edit(), QStringLiteral("X"));
    const QByteArray before = ReadAll(path);
    e.Frame().Action(qvcmd::kFileSave)->trigger();
    QCOMPARE(sink_.Ids(), std::vector<int>{frt::kIdNoApplication});
    QCOMPARE(CQVViewTree::Datum(e.Tree()->currentItem()), 11012000);
    QCOMPARE(ReadAll(path), before);
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

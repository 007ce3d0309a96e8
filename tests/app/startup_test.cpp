// Start-up and shutdown of the application object: failures end the start with their messages
// and leave no window; a good start shows the main window with no document and moves to the
// Format folder; the pool is optional.
#include <QProcess>

#include "app_test_support.h"
#include "catalogue/format_template.h"
#include "shell/frame_document.h"

namespace {

class RecordingDocuments : public CQVDocumentManager {
 public:
  bool NewDocument(CMainFrame&, const std::string& templateName) override {
    newTemplates.push_back(templateName);
    return true;
  }
  bool OpenDocument(CMainFrame&, const QString& path) override {
    opened.push_back(path);
    return openSucceeds;
  }
  std::vector<std::string> newTemplates;
  QStringList opened;
  bool openSucceeds = true;
};

bool NoVisibleWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible()) return false;
  return true;
}

}  // namespace

class StartupTest : public QObject, story::Session {
  Q_OBJECT
 private:
  std::unique_ptr<CScratchApp> scratch_;

  CQVAppOptions Options() const {
    CQVAppOptions o;
    o.locations = scratch_->LocationOptions();
    o.installMessageSink = false;
    o.env = [](const char*) -> const char* { return nullptr; };
    return o;
  }
  QString AppFile(const QString& name) const { return scratch_->AppFile(name); }

 private slots:
  void init() {
    sink_.Clear();
    scratch_ = std::make_unique<CScratchApp>();
    QVERIFY(scratch_->dir.isValid());
  }
  void cleanup() { QDir::setCurrent(cwd_); }

  // --- Failures end the start ---------------------------------------------------------------

  // Every start failure: its message, no main window, no visible window, the folder unchanged.
  void failuresEndTheStart_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("broken QV.ini") << 0;
    QTest::newRow("line before any section") << 1;
    QTest::newRow("missing settings") << 2;
    QTest::newRow("broken template") << 3;
    QTest::newRow("application folder is a file") << 4;
  }
  void failuresEndTheStart() {
    QFETCH(int, kind);
    CQVAppOptions o = Options();
    const QString shared = scratch_->dir.filePath(QStringLiteral("shared"));
    switch (kind) {
      case 0:
        QVERIFY(WriteAll(AppFile("Global/QV.ini"), "[FileHeader]\nType=NOT_INI\nVersion=1\n"));
        break;
      case 1:
        QVERIFY(WriteAll(AppFile("Global/QV.ini"), "Type=FRT_INI\n[FileHeader]\n"));
        break;
      case 2:
        o.locations.sharedDir =
            scratch_->dir.filePath(QStringLiteral("empty-shared")).toStdString();
        break;
      case 3:
        QVERIFY(QDir().mkpath(shared + "/Global"));
        QVERIFY(QFile::copy(QUARVEL_SOURCE_DATA_DIR "/Global/QV.ini", shared + "/Global/QV.ini"));
        QVERIFY(WriteAll(shared + "/Templates/Quarvel/QV.tpl", "[FileHeader]\nType=FRT_INI\n"));
        o.locations.sharedDir = shared.toStdString();
        break;
      case 4:
        QVERIFY(WriteAll(scratch_->dir.filePath(QStringLiteral("app")), "a file, not a folder"));
        break;
    }
    CQVApp app(o);
    QVERIFY(!app.InitInstance());
    QVERIFY(!sink_.Empty());
    QCOMPARE(sink_.Ids().front(), 1010);
    QVERIFY(sink_.Messages().front().isError);
    if (kind == 4) {
      QCOMPARE(sink_.Ids(), std::vector<int>{1010});
      QVERIFY(QString::fromStdString(sink_.Last().extra).contains(QStringLiteral("app")));
    }
    QVERIFY(!app.MainFrame() && !app.Profile());
    if (kind == 3) QVERIFY(!app.Catalogue());
    QVERIFY(NoVisibleWindow());
    QCOMPARE(QDir::currentPath(), cwd_);
  }

  // --- A good start ---------------------------------------------------------------------------

  void goodStartShowsTheMainWindowWithoutDocuments() {
    RecordingDocuments docs;
    std::string instrument;
    {
      CQVApp app(Options());
      app.SetDocumentManager(&docs);
      QVERIFY(app.InitInstance());
      QVERIFY(sink_.Empty());
      QVERIFY(app.MainFrame() && app.MainFrame()->isVisible());
      QVERIFY(app.MainFrame()->MdiArea()->subWindowList().isEmpty());
      QVERIFY(docs.newTemplates.empty() && docs.opened.isEmpty());
      QVERIFY(app.Profile() && app.Pool());  // a missing pool.dat is an empty pool
      QCOMPARE(QDir::currentPath(), QDir(AppFile("Format")).canonicalPath());
      QCOMPARE(app.StartDirectory(), cwd_);
      // Every new-file command makes a document of the one template.
      app.MainFrame()->Action(qvcmd::kFileNew)->trigger();
      QVERIFY(app.OnFileNew());
      QCOMPARE(docs.newTemplates, (std::vector<std::string>{"Kite_Basic", "Kite_Basic"}));
      instrument = app.Workspace().NewFileTemplate()->Instrument();
      QVERIFY(!instrument.empty());
      QCOMPARE(app.ExitInstance(), 0);
      QCOMPARE(QDir::currentPath(), cwd_);
    }
    // The last template was recorded at exit.
    QFile ini(AppFile("Global/QV.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray text = ini.readAll();
    QVERIFY(text.contains("Template=Kite_Basic"));
    QVERIFY(text.contains(QByteArray("Instrument=") + instrument.c_str()));
  }

  // What each command line asks for; a value may follow its option or an equals sign.
  void argumentsAreRead_data() {
    using R = CQVApp::Request;
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<R>("request");
    QTest::newRow("value after") << QStringList{"--app-dir", "/x/a", "--shared-dir", "/x/s", "f"}
                                 << R::kRun;
    QTest::newRow("value after =")
        << QStringList{"--app-dir=/x/a", "--shared-dir=/x/s", "f"} << R::kRun;
    QTest::newRow("no value") << QStringList{"--app-dir"} << R::kInvalid;
    QTest::newRow("empty value") << QStringList{"--app-dir="} << R::kInvalid;
    QTest::newRow("unknown") << QStringList{"--colour"} << R::kInvalid;
    QTest::newRow("-h beside unknown") << QStringList{"-platform", "x", "-h"} << R::kHelp;
    QTest::newRow("version beside a file") << QStringList{"f", "--version"} << R::kVersion;
  }
  void argumentsAreRead() {
    QFETCH(QStringList, arguments);
    QFETCH(CQVApp::Request, request);
    CQVAppOptions o;
    QString error;
    QCOMPARE(CQVApp::ParseArguments(QStringList{"quarvel"} + arguments, o, &error), request);
    if (request == CQVApp::Request::kInvalid)
      QVERIFY2(error.contains(arguments.first().mid(2).section(u'=', 0, 0)), qPrintable(error));
    if (request != CQVApp::Request::kRun) return;
    QCOMPARE(o.locations.appDir, std::string("/x/a"));
    QCOMPARE(o.locations.sharedDir, std::string("/x/s"));
    QCOMPARE(o.file, QStringLiteral("f"));
  }

  // Regression: help and version were asked of an application object, which ends the program
  // where there is no display.
  void helpAndVersionNeedNoDisplay_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("expected");
    QTest::newRow("--help") << QStringLiteral("--help") << QStringLiteral("--shared-dir DIR");
    QTest::newRow("--version") << QStringLiteral("--version")
                               << QStringLiteral("quarvel " QUARVEL_VERSION);
  }
  void helpAndVersionNeedNoDisplay() {
    QFETCH(QString, option);
    QFETCH(QString, expected);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
      env.remove(QString::fromLatin1(name));
    QProcess quarvel;
    quarvel.setProcessEnvironment(env);
    quarvel.start(QStringLiteral(QUARVEL_EXECUTABLE), {option});
    QVERIFY(quarvel.waitForFinished(10000));
    QCOMPARE(quarvel.exitStatus(), QProcess::NormalExit);
    QCOMPARE(quarvel.exitCode(), 0);
    QVERIFY(QString::fromLocal8Bit(quarvel.readAllStandardOutput()).contains(expected));
  }
};

QUARVEL_APP_TEST_MAIN(StartupTest)

#include "startup_test.moc"

// Start-up and shutdown of the application object: a failed start leaves no window; a good one
// shows the main window with no document and moves to the Format folder; the command line.

#include "app_test_support.h"
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
    return true;
  }
  std::vector<std::string> newTemplates;
  QStringList opened;
};

bool NoVisibleWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible()) return false;
  return true;
}

}  // namespace

class StartupTest : public QObject, Session {
  Q_OBJECT
 private:
  std::unique_ptr<CScratchApp> scratch_;

  CQVAppOptions Options() const { return scratch_->AppOptions(); }
  QString AppFile(const QString& name) const { return scratch_->AppFile(name); }

 private slots:
  void init() {
    sink_.Clear();
    scratch_ = std::make_unique<CScratchApp>();
    QVERIFY(scratch_->dir.isValid());
  }
  void cleanup() { QDir::setCurrent(cwd_); }

  // A start the workspace refuses (which message it gives is the core's) leaves no window and
  // the folder as it was.
  void aFailedStartLeavesNoWindow() {
    QVERIFY(WriteAll(AppFile("Global/QV.ini"), "[FileHeader]\nType=NOT_INI\nVersion=1\n"));
    CQVApp app(Options());
    QVERIFY(!app.InitInstance());
    QVERIFY(!sink_.Empty());
    QVERIFY(!app.MainFrame());
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
      QVERIFY(docs.newTemplates.empty() && docs.opened.isEmpty());
      QVERIFY(app.Pool());  // a missing pool.dat is an empty pool
      QCOMPARE(QDir::currentPath(), QDir(AppFile("Format")).canonicalPath());
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
    QVERIFY(
        ReadAll(AppFile("Global/QV.ini")).contains(QByteArray("Instrument=") + instrument.c_str()));
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

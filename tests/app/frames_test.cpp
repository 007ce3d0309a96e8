// The main window and the document windows: the document seam, the caption, quitting, the
// toolbar swaps, the child window's layout, the companion window and the recent files.

#include "app_test_support.h"

namespace {

// A document that records what the frames ask of it.
class FakeDocument : public CQVFrameDocument {
 public:
  QString Title() const override { return QStringLiteral("Noname1"); }
  bool IsModified() const override { return modified; }
  bool CanClose() override {
    if (asked) ++*asked;
    return allowClose;
  }
  bool Save(bool askForName) override {
    saves.push_back(askForName);
    modified = false;
    return true;
  }
  void OnCommand(int id) override { commands.push_back(id); }
  bool IsCommandEnabled(int id) const override { return id != qvcmd::kPoolLoad; }

  bool modified = true;
  bool allowClose = true;
  int* asked = nullptr;  // counts the questions, also of documents gone since
  std::vector<bool> saves;
  std::vector<int> commands;
};

}  // namespace

class FramesTest : public QObject {
  Q_OBJECT
 private:
  std::unique_ptr<CMainFrame> frame_;

  CChildFrame* AddChild(FakeDocument** out = nullptr) {
    auto* child = new CChildFrame;
    auto doc = std::make_unique<FakeDocument>();
    if (out) *out = doc.get();
    child->SetDocument(std::move(doc));
    frame_->AddFormatFrame(child);
    return child;
  }

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
  void init() {
    frame_ = std::make_unique<CMainFrame>();
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  }
  void cleanup() { frame_.reset(); }

  // --- Document seam ------------------------------------------------------------------------

  void commandsGoToTheActiveDocument() {
    FakeDocument* doc = nullptr;
    AddChild(&doc);
    frame_->Action(qvcmd::kProperties)->trigger();
    frame_->Action(qvcmd::kPoolLoad)->trigger();  // disabled: not passed on
    QCOMPARE(doc->commands, std::vector<int>{qvcmd::kProperties});
    frame_->Action(qvcmd::kFileSaveAs)->trigger();
    frame_->Action(qvcmd::kFileSave)->trigger();
    QCOMPARE(doc->saves, (std::vector<bool>{true, false}));
  }

  // Regression: the main caption kept no modified mark, and a maximized window showed the name
  // twice with marks that disagreed. The caption names the active document once, with its mark.
  void captionFollowsTheModifiedMark_data() {
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<bool>("restored");
    QTest::newRow("normal") << false << false;
    QTest::newRow("maximized") << true << false;
    QTest::newRow("maximized, restored") << true << true;
  }
  void captionFollowsTheModifiedMark() {
    QFETCH(bool, maximized);
    QFETCH(bool, restored);
    FakeDocument* doc = nullptr;
    CChildFrame* child = AddChild(&doc);
    QMdiSubWindow* sub = frame_->MdiArea()->activeSubWindow();
    for (bool modified : {false, true}) {
      doc->modified = modified;
      child->UpdateTitle();
      if (maximized) sub->showMaximized();
      if (restored) sub->showNormal();
      QCOMPARE(frame_->windowHandle()->title(),
               QStringLiteral("Quarvel - Noname1") + (modified ? "*" : ""));
    }
  }

  // Regression: a quit that one document stopped had closed the documents before it. Each
  // document is asked once; none closes unless all agree.
  void aQuitThatOneDocumentStopsClosesNone() {
    std::vector<FakeDocument*> docs(3);
    int asked = 0;
    for (FakeDocument*& doc : docs) {
      AddChild(&doc);
      doc->asked = &asked;
    }
    docs[1]->allowClose = false;
    QVERIFY(!frame_->close());
    QCOMPARE(frame_->MdiArea()->subWindowList().size(), 3);
    QCOMPARE(asked, 2);  // the third is not asked once the second said no
    docs[1]->allowClose = true;
    asked = 0;
    QVERIFY(frame_->close());
    QCOMPARE(asked, 3);
    QCOMPARE(frame_->MdiArea()->subWindowList().size(), 0);
  }

  // --- Toolbars and status bar --------------------------------------------------------------

  void previewWindowSwapsTheToolbars() {
    AddChild();
    QVERIFY(frame_->MainToolBar()->isVisible());
    QVERIFY(!frame_->PreviewToolBar()->isVisible());
    auto* preview = new CChildFrmFormatPreview;
    QMdiSubWindow* sub = frame_->AddPreviewFrame(preview, QStringLiteral("输出预览"));
    QVERIFY(!frame_->MainToolBar()->isVisible());
    QVERIFY(frame_->PreviewToolBar()->isVisible());
    QVERIFY(frame_->Action(qvcmd::kFilePrint)->isEnabled());
    // Closed: the main toolbar returns, and there is nothing to print.
    sub->close();
    QTRY_VERIFY(frame_->MainToolBar()->isVisible());
    QVERIFY(!frame_->PreviewToolBar()->isVisible());
    QVERIFY(!frame_->Action(qvcmd::kFilePrint)->isEnabled());
  }

  // --- The format window --------------------------------------------------------------------

  void childLayoutThirdAndHalves() {
    CChildFrame child;
    child.resize(700, 400);
    child.show();
    QVERIFY(QTest::qWaitForWindowExposed(&child));
    QCOMPARE(child.TreeView()->width(), 200);
    QCOMPARE(child.Editor()->height(), 200);
  }

  void companionWindowFollowsActivation() {
    QWidget companion;
    CChildFrame* first = AddChild();
    first->SetCompanionWindow(&companion);
    first->SetActive(true);
    QVERIFY(companion.isVisible());
    AddChild();  // the second window becomes active
    QVERIFY(!companion.isVisible());
    frame_->MdiArea()->setActiveSubWindow(frame_->MdiArea()->subWindowList().first());
    QVERIFY(companion.isVisible());
  }

  void recentFilesKeepSixNewestFirst() {
    for (int i = 0; i < 8; ++i) frame_->AddRecentFile(QStringLiteral("/tmp/f%1.frt").arg(i));
    frame_->AddRecentFile(QStringLiteral("/tmp/f3.frt"));
    const QStringList files = frame_->RecentFiles();
    QCOMPARE(files.size(), 6);
    QCOMPARE(files.mid(0, 2), (QStringList{"/tmp/f3.frt", "/tmp/f7.frt"}));
    QSignalSpy open(frame_.get(), &CMainFrame::openFileRequested);
    frame_->Action(qvcmd::kFileRecent1)->trigger();
    QCOMPARE(open.first().at(0).toString(), QStringLiteral("/tmp/f3.frt"));
  }
};

QUARVEL_APP_TEST_MAIN(FramesTest)

#include "frames_test.moc"

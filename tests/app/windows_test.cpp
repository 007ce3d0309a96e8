// Where the editor's windows go: document windows inside the work area, printed lines inside the
// printable area, and F1 opening the manual at the window's section.

#include "app_test_support.h"
#include "help/help_window.h"

class WindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void windowsStayInsideTheWorkArea() {
    Editor e;
    QVERIFY(e.Start());
    e.Frame().resize(640, 480);  // smaller than a document window's own least size
    e.Frame().show();
    for (int i = 0; i < 4; ++i) e.Frame().Action(qvcmd::kFileNew)->trigger();
    e.Frame().AddPreviewFrame(new CChildFrmFormatPreview, QStringLiteral("P"));
    // Maximized in a large main window and restored in a small one.
    e.Frame().resize(1200, 800);
    e.Frame().Action(qvcmd::kFileNew)->trigger();
    QMdiSubWindow* big = e.Frame().MdiArea()->activeSubWindow();
    big->showMaximized();
    e.Frame().resize(640, 480);
    big->showNormal();
    const QRect area = e.Frame().MdiArea()->viewport()->rect();
    QTRY_VERIFY(area.contains(big->geometry()));
    for (QMdiSubWindow* w : e.Frame().MdiArea()->subWindowList())
      QVERIFY(area.contains(w->geometry()));
  }

  void printedLinesFitThePrintableArea_data() {
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<bool>("fullSize");  // 10 points print at 10 points
    QTest::newRow("A4 1200 dpi") << QPageSize::A4 << 1200 << true;
    QTest::newRow("A4 300 dpi") << QPageSize::A4 << 300 << true;
    QTest::newRow("Letter 600 dpi") << QPageSize::Letter << 600 << false;
  }
  void printedLinesFitThePrintableArea() {
    QFETCH(QPageSize::PageSizeId, paper);
    QFETCH(int, resolution);
    QFETCH(bool, fullSize);
    const QRect area = QPageLayout(QPageSize(paper), QPageLayout::Portrait,
                                   QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter)
                           .paintRectPixels(resolution);
    const qvprint::PageFit fit = qvprint::FitPage(area.size(), resolution);
    QCOMPARE(qFuzzyCompare(fit.scale, resolution / double(qvprint::kTwipsPerInch)), fullSize);
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    const CQVPrintMetrics m = SelectPrintFont(painter);
    QStringList text;
    for (int i = 0; i < 70; ++i)
      text << QString(130 + i, QLatin1Char('0' + i % 10)) << QString(60, QChar(0x70B9)) << "P";
    const QStringList lines =
        qvprint::PrintedLines(text.join('\n'), qvprint::BodyColumns(m.advance, fit.bodyRight));
    QVERIFY(lines.size() > text.size());                    // long lines wrapped
    QCOMPARE(lines.join(QString()), text.join(QString()));  // and nothing lost
    QList<QRectF> rects{QRectF(0, qvprint::kFooterTop, qvprint::kFooterRight, m.lineHeight)};
    for (int p = 1; p <= qvprint::PageCount(lines.size()); ++p)
      rects << qvprint::BodyLineRects(qvprint::PageLines(lines, p), m.advance, m.lineHeight);
    for (const QRectF& r : rects)
      QVERIFY(QRectF(area.translated(-area.topLeft()))
                  .contains(QRectF(r.topLeft() * fit.scale, r.size() * fit.scale)));
  }

  void f1OpensTheManualAtTheWindowsSection() {
    const std::pair<const char*, QString> rows[] = {{"formatStringEditor", "editor"},
                                                    {"variableSheet", "variables"},
                                                    {"stringPoolDialog", "pool"},
                                                    {"exportPreviewFrame", "export"},
                                                    {"", ""}};
    for (const auto& [objectName, anchor] : rows) {
      QWidget main;
      CQVHelpKey key(&main);
      qApp->installEventFilter(&key);
      QWidget window;
      window.setObjectName(objectName);
      auto* inner = new QPushButton(&window);  // F1 from a child of the named window
      window.show();
      QTest::keyClick(inner, Qt::Key_F1);
      QVERIFY(key.Window() && key.Window()->isVisible());
      QTextBrowser* browser = key.Window()->Browser();
      // Every section lies below the manual's first screen.
      QCOMPARE(browser->verticalScrollBar()->value() > 0, !anchor.isEmpty());
      QVERIFY(anchor.isEmpty() ||
              browser->document()->toHtml().contains(QStringLiteral("name=\"%1\"").arg(anchor)));
    }
  }
};

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"

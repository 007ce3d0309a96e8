// The preview windows: the page layout of a printout, printing to PDF, the preview window in the
// main frame with its toolbar, print preview, and the small preview pane.

#include "app_test_support.h"
#include "shell/export_preview.h"

namespace {

QString Lines(int count) {
  QString text;
  for (int i = 1; i <= count; ++i) text += QStringLiteral("line %1\n").arg(i);
  return text;
}

// Page objects of a PDF file (not the page tree nodes, "/Type /Pages").
int PdfPageCount(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QString bytes = QString::fromLatin1(file.readAll());
  return static_cast<int>(bytes.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s])"))));
}

}  // namespace

class PreviewTest : public QObject {
  Q_OBJECT

 private slots:

  void printedLinesFollowLineFeedsAndWrap() {
    using qvprint::PrintedLines;
    QCOMPARE(PrintedLines(QString(), 10).size(), 0);
    QCOMPARE(PrintedLines(QStringLiteral("\n"), 10), QStringList{QString()});
    QCOMPARE(PrintedLines(QStringLiteral("a\n\nb"), 10), (QStringList{"a", "", "b"}));
    QCOMPARE(PrintedLines(QStringLiteral("a\r\nb\r\n"), 10), (QStringList{"a", "b"}));

    // A line as wide as the page is one piece; one character more makes a second.
    QCOMPARE(PrintedLines(QStringLiteral("0123456789abcdefghijKL\n"), 10),
             (QStringList{"0123456789", "abcdefghij", "KL"}));

    // Wide characters take two columns and are never split.
    QCOMPARE(PrintedLines(QStringLiteral("ab点号"), 5), (QStringList{"ab点", "号"}));
    // Tabs stop every 8 columns.
    QCOMPARE(PrintedLines(QStringLiteral("ab\tc"), 20), QStringList{"ab      c"});
    QCOMPARE(PrintedLines(QStringLiteral("\t\t"), 12), (QStringList{"            ", "    "}));

    QCOMPARE(qvprint::BodyColumns(121.0), 95);
    QCOMPARE(qvprint::BodyColumns(0.0), 1);
  }

  void pagesHoldFiftyPrintedLines() {
    const QStringList lines = qvprint::PrintedLines(Lines(120), 96);
    QCOMPARE(qvprint::PageLines(lines, 1).size(), 50);
    QCOMPARE(qvprint::PageLines(lines, 2).first(), QStringLiteral("line 51"));
    const QStringList third = qvprint::PageLines(lines, 3);
    QCOMPARE(third.size(), 20);
    QCOMPARE(third.first(), QStringLiteral("line 101"));
    QVERIFY(qvprint::PageLines(lines, 4).isEmpty());
  }

  void printsToPdf_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");  // 0: every page
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("pdfPages");  // -1: not checked
    QTest::newRow("120 lines") << Lines(120) << 0 << 3 << 3;
    // 100 text lines fill two pages, but one of them wraps into two pieces.
    QTest::newRow("wrapped") << Lines(99) + QString(150, QLatin1Char('w')) + "\n" << 0 << 3 << 3;
    QTest::newRow("range 2-9") << Lines(120) << 2 << 3 << 2;
    QTest::newRow("empty") << QString() << 0 << 0 << -1;  // no page: the file is not checked
  }

  void printsToPdf() {
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(int, pages);
    QFETCH(int, pdfPages);
    QTemporaryDir dir;
    CQVDocFormatPreview document;
    document.SetTitle(QStringLiteral("Export Preview: Noname1"));
    CQVViewFormatPreview view(&document);
    view.SetText(text);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));
    if (from) {
      printer.setPrintRange(QPrinter::PageRange);
      printer.setFromTo(from, 9);
    }
    view.PrintTo(printer);
    QCOMPARE(view.PageCount(), pages);
    QCOMPARE(view.CurrentPage(), pages);
    if (pdfPages >= 0) QCOMPARE(PdfPageCount(printer.outputFileName()), pdfPages);
  }

  void exportPreviewWindow() {
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const std::string gbk = frt::Utf8ToGbk("点号 1001\n高程 412.300\n");
    CQVViewFormatPreview* view = OpenExportPreview(frame, QStringLiteral("Noname1"), gbk);
    QVERIFY(view);
    QCOMPARE(view->toPlainText(), QStringLiteral("点号 1001\n高程 412.300\n"));
    QVERIFY(view->isReadOnly());
    QCOMPARE(frame.ActivePreviewFrame()->windowTitle(), QStringLiteral("Export Preview: Noname1"));

    // A second export opens a further window; the first stays.
    OpenExportPreview(frame, QStringLiteral("b.frt"), "x\n");
    QCOMPARE(frame.MdiArea()->subWindowList().size(), 2);
    QCOMPARE(frame.ActivePreviewFrame()->windowTitle(), QStringLiteral("Export Preview: b.frt"));
  }

  void previewPaneSwallowsX() {
    // Keys the pane does not use go on to its parent; X never does.
    struct Parent : QWidget {
      QList<int> keys;
      void keyPressEvent(QKeyEvent* e) override {
        if (e->key() != Qt::Key_Control) keys.push_back(e->key());  // keyClick presses Ctrl too
      }
    } parent;
    auto* pane = new CQVViewPre(&parent);
    parent.show();
    pane->SetText(QStringLiteral("PT 1001"));
    pane->setFocus();
    pane->selectAll();
    QTest::keyClick(pane, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(pane, Qt::Key_X);
    QTest::keyClick(pane, Qt::Key_Y);
    QCOMPARE(pane->toPlainText(), QStringLiteral("PT 1001"));
    QCOMPARE(parent.keys, QList<int>{Qt::Key_Y});
  }
};

QTEST_MAIN(PreviewTest)
#include "preview_test.moc"

// Where the editor's windows go: document windows inside the work area, the insert-variable dock,
// printed lines inside the printable area, and F1 opening the manual at the window's section.
#include <QDockWidget>
#include <QImage>
#include <QListWidget>
#include <QPageLayout>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include "help/help_window.h"
#include "preview/print_layout.h"
#include "preview/qv_view_preview.h"
#include "shell/insert_var_dlg.h"
#include "story_support.h"

namespace {

constexpr std::int32_t kMeasureString1 = 11010001;  // an output string of the new format

// The top of the block that holds anchor `name` in the browser's document; -1 when none does.
qreal AnchorTop(QTextBrowser* browser, const QString& name) {
  QTextDocument* doc = browser->document();
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().anchorNames().contains(name))
        return doc->documentLayout()->blockBoundingRect(b).top();
  return -1;
}

}  // namespace

class WindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void windowsOpenInsideTheWorkArea() {
    story::Editor e;
    QVERIFY(e.Start());
    e.Frame().resize(640, 480);  // smaller than a document window's own least size
    e.Frame().show();
    QVERIFY(QTest::qWaitForWindowExposed(&e.Frame()));
    for (int i = 0; i < 6; ++i) {
      if (i % 3 == 2) {
        auto* preview = new CChildFrmFormatPreview;
        e.Frame().AddPreviewFrame(preview, QStringLiteral("P%1").arg(i));
      } else {
        e.Frame().Action(qvcmd::kFileNew)->trigger();
      }
    }
    const QRect area = e.Frame().MdiArea()->viewport()->rect();
    QSet<QPoint> places;
    for (QMdiSubWindow* w : e.Frame().MdiArea()->subWindowList()) {
      QVERIFY2(area.contains(w->geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                            .arg(w->x())
                                                            .arg(w->y())
                                                            .arg(w->width())
                                                            .arg(w->height())));
      places.insert(w->pos());
    }
    QVERIFY(places.size() > 1);  // cascaded, not stacked on one spot

    // A window maximized in a large main window and restored in a small one.
    e.Frame().resize(1200, 800);
    e.Frame().Action(qvcmd::kFileNew)->trigger();
    QMdiSubWindow* big = e.Frame().MdiArea()->activeSubWindow();
    big->showMaximized();
    e.Frame().resize(640, 480);
    big->showNormal();
    QTRY_VERIFY(e.Frame().MdiArea()->viewport()->rect().contains(big->geometry()));
  }

  void insertVariableDocksAndGivesTheFocusBack() {
    story::Editor e;
    QVERIFY(e.Start());
    e.Frame().show();
    e.Frame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&e.Frame()));
    e.Frame().Action(qvcmd::kFileNew)->trigger();
    QVERIFY(e.Select(kMeasureString1));
    CQVInsertVarDlg* insert = e.Tree()->InsertVariableWindow();
    QVERIFY(insert);
    auto* dock = qobject_cast<QDockWidget*>(insert->parentWidget());
    QVERIFY(dock);
    QCOMPARE(e.Frame().dockWidgetArea(dock), Qt::RightDockWidgetArea);
    QVERIFY(dock->features() & QDockWidget::DockWidgetFloatable);
    QVERIFY(!(dock->features() & QDockWidget::DockWidgetClosable));
    QVERIFY(dock->isVisible());
    // Beside the format, not over its editor.
    QTest::qWait(0);
    const QRect editor(e.Edit()->mapTo(&e.Frame(), QPoint()), e.Edit()->size());
    QVERIFY(!dock->geometry().intersects(editor));

    insert->VariableList()->setCurrentRow(0);
    insert->VariableList()->setFocus();
    QTest::mouseClick(insert->InsertButton(), Qt::LeftButton);
    QCOMPARE(e.Edit()->FieldCount(), 1);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(e.Edit()));
  }

  void printedLinesFitThePrintableArea_data() {
    QTest::addColumn<int>("paper");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<bool>("fullSize");  // 10 points print at 10 points
    QTest::newRow("A4 1200 dpi") << int(QPageSize::A4) << 1200 << true;
    QTest::newRow("A4 300 dpi") << int(QPageSize::A4) << 300 << true;
    QTest::newRow("Letter 1200 dpi") << int(QPageSize::Letter) << 1200 << false;
    QTest::newRow("Letter 600 dpi") << int(QPageSize::Letter) << 600 << false;
  }
  void printedLinesFitThePrintableArea() {
    QFETCH(int, paper);
    QFETCH(int, resolution);
    QFETCH(bool, fullSize);
    const QPageLayout page(QPageSize(QPageSize::PageSizeId(paper)), QPageLayout::Portrait,
                           QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    const QRect area = page.paintRectPixels(resolution);
    const qvprint::PageFit fit = qvprint::FitPage(area.size(), resolution);
    QCOMPARE(qFuzzyCompare(fit.scale, resolution / double(qvprint::kTwipsPerInch)), fullSize);

    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    CQVPrintMetrics metrics = SelectPrintFont(painter);
    const int columns = qvprint::BodyColumns(metrics.advance, fit.bodyRight);
    QStringList source;
    for (int i = 0; i < 70; ++i)
      source << (i % 3 == 0   ? QString(130 + i, QLatin1Char('0' + i % 10))
                 : i % 3 == 1 ? QString(60, QChar(0x70B9))
                              : QStringLiteral("P%1").arg(i));
    const QStringList lines = qvprint::PrintedLines(source.join(QLatin1Char('\n')), columns);
    QVERIFY(lines.size() > source.size());                    // long lines wrapped
    QCOMPARE(lines.join(QString()), source.join(QString()));  // and nothing lost

    const QRectF printable(0, 0, area.width(), area.height());
    const auto device = [&](const QRectF& r) {
      return QRectF(r.topLeft() * fit.scale, r.size() * fit.scale);
    };
    for (int p = 1; p <= qvprint::PageCount(lines.size()); ++p) {
      for (const QRectF& r : qvprint::BodyLineRects(qvprint::PageLines(lines, p), metrics.advance,
                                                    metrics.lineHeight))
        QVERIFY2(printable.contains(device(r)), qPrintable(QStringLiteral("page %1").arg(p)));
    }
    const QRectF footer(0, qvprint::kFooterTop, qvprint::kFooterRight, metrics.lineHeight);
    QVERIFY(printable.contains(device(footer)));
  }

  void f1OpensTheManualAtTheWindowsSection_data() {
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("anchor");
    QTest::newRow("editor") << "formatStringEditor"
                            << "editor";
    QTest::newRow("variable sheet") << "variableSheet"
                                    << "variables";
    QTest::newRow("pool") << "stringPoolDialog"
                          << "pool";
    QTest::newRow("preview") << "exportPreviewFrame"
                             << "export";
    QTest::newRow("unnamed") << ""
                             << "";
  }
  void f1OpensTheManualAtTheWindowsSection() {
    QFETCH(QString, objectName);
    QFETCH(QString, anchor);
    QWidget main;
    CQVHelpKey key(&main);
    qApp->installEventFilter(&key);
    QWidget window;
    window.setObjectName(objectName);
    auto* inner = new QPushButton(QStringLiteral("x"), &window);  // F1 from a child
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    inner->setFocus();
    QTest::keyClick(inner, Qt::Key_F1);
    CQVHelpWindow* help = key.Window();
    QVERIFY(help && help->isVisible());
    QVERIFY(help->ManualPath().endsWith(QStringLiteral("manual.md")));
    QTextBrowser* browser = help->Browser();
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QScrollBar* bar = browser->verticalScrollBar();
    if (anchor.isEmpty()) {
      QCOMPARE(bar->value(), 0);
      return;
    }
    const qreal top = AnchorTop(browser, anchor);
    QVERIFY2(top > 0, qPrintable(anchor));
    // The section's heading at the top of the view (or the view at the end of the manual).
    QTRY_VERIFY2(qAbs(bar->value() - std::min<qreal>(bar->maximum(), top)) < 40,
                 qPrintable(QStringLiteral("%1 at %2").arg(bar->value()).arg(top)));
  }
};

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"

#include "shell/preview_screenshots.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiSubWindow>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include "library/text_encoding.h"
#include "preview/qv_view_preview.h"
#include "shell/child_frame.h"
#include "shell/export_preview.h"
#include "shell/main_frame.h"

namespace {

void Settle() {
  for (int i = 0; i < 10; ++i) QApplication::processEvents();
}

// A sample export in the shape the format tree produces: file header, an application header,
// each measurement line three times, the file footer; long enough for three printed pages.
std::string SampleExport() {
  std::string text = "Quarvel 1.0  TS-Q6  Kite_Basic\n";
  for (int station = 1; station <= 12; ++station) {
    text += "*** 测站 " + std::to_string(station) + " ***\n";
    for (int point = 0; point < 3; ++point) {
      char line[160];
      std::snprintf(line, sizeof line,
                    "PT %-8d 东坐标=%12.3f  北坐标=%12.3f  高程=%8.3f  代码=护坡\n",
                    1000 + station * 10 + point, 4500123.456 + station * 11.5 + point,
                    5300987.654 - station * 7.25, 412.300 + point * 0.125);
      text += line;
      text += line;
      text += line;
    }
  }
  text +=
      "# 说明: 这一行很长, 打印时超出页宽的部分接在下一行继续打印, 续行也算作本页的一行; "
      "The rest of a line that passes the right edge continues on the next printed line.\n";
  text += "END OF FILE\n";
  return frt::Utf8ToGbk(text);
}

}  // namespace

bool TakePreviewScreenshots(CMainFrame& frame, const QString& directory) {
  const QDir dir(directory);
  CQVViewFormatPreview* view =
      OpenExportPreview(frame, QStringLiteral("Example.frt"), SampleExport());
  if (QMdiSubWindow* sub = frame.MdiArea()->activeSubWindow()) {
    sub->setGeometry(40, 30, 900, 540);
    sub->raise();
  }
  Settle();
  bool ok = frame.grab().save(dir.filePath(QStringLiteral("preview-window.png")));

  QPrinter printer(QPrinter::HighResolution);
  QPrintPreviewDialog preview(&printer, &frame);
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, view,
                   [view](QPrinter* p) { view->PrintTo(*p); });
  preview.resize(900, 1000);
  preview.show();
  Settle();
  // The last page: the wrapped line, the short page and the footer.
  if (auto* widget = preview.findChild<QPrintPreviewWidget*>()) {
    widget->updatePreview();
    widget->setZoomMode(QPrintPreviewWidget::FitToWidth);
  }
  // Through the dialog's own action, so that its page counter follows. Its text is Qt's, in the
  // language of Qt's translation (named through variables: it is not one of the editor's texts).
  const char* const context = "QPrintPreviewDialog";
  const char* const lastPage = "Last page";
  const QString lastPageText = QCoreApplication::translate(context, lastPage);
  for (QAction* action : preview.findChildren<QAction*>())
    if (action->text() == lastPageText) action->trigger();
  Settle();
  ok = preview.grab().save(dir.filePath(QStringLiteral("print-preview.png"))) && ok;
  preview.hide();
  return ok;
}

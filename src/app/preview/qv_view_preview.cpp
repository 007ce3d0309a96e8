#include "preview/qv_view_preview.h"
#include "library/text_encoding.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "preview/print_layout.h"

QFont PreviewFont(const QFont& base) {
  // Start from a resolved font and change it: a font made from nothing has crashed inside the
  // print preview's paint callback.
  // One family that exists: a list led by a missing family sends every text layout through the
  // font substitution again, which made each preview update several times slower.
  static const QString family = [] {
    const QString wanted = QStringLiteral("Courier New");
    if (QFontDatabase::hasFamily(wanted)) return wanted;
    const QString fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    return fixed.isEmpty() ? QStringLiteral("monospace") : fixed;
  }();
  QFont font = base;
  font.setFamily(family);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  font.setPointSize(10);
  // Sample output is plain fixed-pitch text that needs no shaping; skipping it makes each
  // update of the pane (one long line per keystroke in the editor) several times cheaper.
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

CQVPrintMetrics SelectPrintFont(QPainter& painter) {
  QFont font = PreviewFont(painter.font());
  font.setPixelSize(qvprint::kFontHeight);
  painter.setFont(font);
  const QFontMetricsF m = painter.fontMetrics();
  CQVPrintMetrics out;
  // Line height: character height and external leading; advance: the average character width.
  out.lineHeight = static_cast<int>(std::ceil(m.height() + std::max<qreal>(0, m.leading())));
  out.advance = m.averageCharWidth();
  out.columns = qvprint::BodyColumns(out.advance);
  return out;
}

namespace {

void SetUpReadOnly(QPlainTextEdit& view) {
  view.setReadOnly(true);
  view.setLineWrapMode(QPlainTextEdit::NoWrap);
  view.setFont(PreviewFont(view.font()));
  view.setUndoRedoEnabled(false);
  view.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

}  // namespace

CQVViewPre::CQVViewPre(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName(QStringLiteral("previewPane"));
  SetUpReadOnly(*this);
}

void CQVViewPre::SetText(const QString& text) {
  setPlainText(text);
  document()->setModified(false);
}

void CQVViewPre::SetSample(std::string_view gbk) {
  SetText(QString::fromStdString(frt::GbkToUtf8Lossless(gbk)));
}

void CQVViewPre::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_X) {
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

CQVViewFormatPreview::CQVViewFormatPreview(CQVDocFormatPreview* document, QWidget* parent)
    : QPlainTextEdit(parent), document_(document) {
  setObjectName(QStringLiteral("formatPreviewView"));
  SetUpReadOnly(*this);
}

void CQVViewFormatPreview::SetText(const QString& text) {
  setPlainText(text);
  document()->setModified(false);
}

void CQVViewFormatPreview::PrintTo(QPrinter& printer) {
  pageCount_ = 0;
  currentPage_ = 0;
  QPainter painter;
  if (!painter.begin(&printer)) return;
  const QString text = toPlainText();
  if (text.isEmpty()) return;  // an empty preview prints no page content

  // The logical page in twips on the printable area: lines wrap at its right edge.
  const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
  const qvprint::PageFit fit = qvprint::FitPage(area.size(), printer.resolution());
  if (!(fit.scale > 0)) return;
  painter.scale(fit.scale, fit.scale);

  const QFont previous = painter.font();
  CQVPrintMetrics metrics = SelectPrintFont(painter);
  metrics.columns = qvprint::BodyColumns(metrics.advance, fit.bodyRight);
  const QStringList lines = qvprint::PrintedLines(text, metrics.columns);
  pageCount_ = qvprint::PageCount(lines.size());
  int first = 1;
  int last = pageCount_;
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    first = printer.fromPage();
    if (printer.toPage() > 0) last = std::min(last, printer.toPage());
  }
  for (int page = first; page <= last; ++page) {
    if (page != first) printer.newPage();
    PrintPage(painter, lines, page, metrics);
  }
  painter.setFont(previous);
}

void CQVViewFormatPreview::PrintPage(QPainter& painter, const QStringList& lines, int page,
                                     const CQVPrintMetrics& print) {
  currentPage_ = page;
  const QFontMetricsF metrics = painter.fontMetrics();
  const double ascent = metrics.ascent();
  painter.setPen(Qt::black);

  std::time_t now = printTime_ != 0 ? printTime_ : std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  painter.drawText(QPointF(qvprint::kHeaderLeft, qvprint::kHeaderTop + ascent),
                   qvprint::HeaderText(local));

  // Character by character in fixed cells, so columns line up whatever the fallback fonts of
  // the wide characters measure.
  const QStringList pageLines = qvprint::PageLines(lines, page);
  const QList<QRectF> cells = qvprint::BodyLineRects(pageLines, print.advance, print.lineHeight);
  for (qsizetype i = 0; i < pageLines.size(); ++i) {
    const QRectF& cell = cells[i];
    int column = 0;
    for (const uint code : pageLines[i].toUcs4()) {
      const char32_t c = code;
      if (c != U' ')
        painter.drawText(QPointF(cell.left() + column * print.advance, cell.top() + ascent),
                         QString::fromUcs4(&c, 1));
      column += qvprint::CharColumns(c);
    }
  }

  const double footer = qvprint::kFooterTop + ascent;
  const QString title = document_ ? document_->Title() : windowTitle();
  painter.drawText(QPointF(0, footer), qvprint::FooterTitleText(title));
  const QString pageText = qvprint::FooterPageText(page);
  painter.drawText(QPointF(qvprint::kFooterRight - metrics.horizontalAdvance(pageText), footer),
                   pageText);
}

#include "preview/print_layout.h"

#include <algorithm>
#include <cmath>

#include "library/string_table.h"

namespace qvprint {

namespace {

constexpr int kIdHeader = 23;
constexpr int kIdFooterTitle = 24;
constexpr int kIdFooterPage = 25;

}  // namespace

int CharColumns(char32_t c) {
  // The wide ranges of East Asian scripts; a sample export holds Chinese default texts.
  const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
                    (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
                    (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
                    (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                    (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                    (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
  return wide ? 2 : 1;
}

int BodyColumns(double advance, int right) {
  if (!(advance > 0)) return 1;
  return std::max(1, static_cast<int>(std::floor((right - kBodyLeft) / advance)));
}

int LineColumns(const QString& line) {
  int columns = 0;
  for (const uint c : line.toUcs4()) columns += CharColumns(c);
  return columns;
}

PageFit FitPage(const QSizeF& printable, int resolution) {
  PageFit fit;
  if (resolution <= 0 || printable.width() <= 0 || printable.height() <= 0) return fit;
  // The whole page's height must fit, and at least the footer's width; the body then narrows
  // to what the area holds instead of shrinking the text further.
  const double natural = resolution / static_cast<double>(kTwipsPerInch);
  fit.scale =
      std::min({natural, printable.height() / kCanvasHeight, printable.width() / kMinPageWidth});
  const int width = static_cast<int>(std::floor(printable.width() / fit.scale));
  fit.bodyRight = std::min(kBodyRight, width);
  return fit;
}

QList<QRectF> BodyLineRects(const QStringList& pageLines, double advance, int lineHeight) {
  QList<QRectF> out;
  double y = kBodyTop;
  for (const QString& line : pageLines) {
    y += lineHeight;
    out.push_back(QRectF(kBodyLeft, y, LineColumns(line) * advance, lineHeight));
  }
  return out;
}

QStringList PrintedLines(const QString& text, int columns) {
  columns = std::max(columns, 2);  // a wide character must fit a line of its own
  QStringList out;
  QString line;
  int used = 0;
  bool open = false;  // a line has started that the text has not yet ended
  auto flush = [&] {
    out.push_back(line);
    line.clear();
    used = 0;
  };
  const QList<uint> characters = text.toUcs4();
  for (const uint code : characters) {
    const char32_t c = code;
    if (c == U'\n') {
      flush();
      open = false;
      continue;
    }
    open = true;
    if (c == U'\r') continue;
    if (c == U'\t') {
      int spaces = kTabWidth - used % kTabWidth;
      while (spaces-- > 0) {
        if (used + 1 > columns) flush();
        line += QLatin1Char(' ');
        ++used;
      }
      continue;
    }
    const int w = CharColumns(c);
    if (used + w > columns) flush();
    line += QString::fromUcs4(&c, 1);
    used += w;
  }
  if (open) flush();
  return out;
}

int PageCount(qsizetype printedLines) {
  return printedLines <= 0 ? 0 : static_cast<int>((printedLines - 1) / kLinesPerPage + 1);
}

QStringList PageLines(const QStringList& lines, int page) {
  if (page < 1) return {};
  const qsizetype first = static_cast<qsizetype>(page - 1) * kLinesPerPage;
  if (first >= lines.size()) return {};
  return lines.mid(first, kLinesPerPage);
}

QString HeaderText(const std::tm& time) {
  QString head = QString::fromUtf8(frt::LoadText(kIdHeader));
  if (head.isEmpty()) head = QStringLiteral("Preview");
  char buffer[256];
  const std::size_t n = std::strftime(buffer, sizeof buffer, "%A, %B %d, %Y / %H:%M:%S", &time);
  // Day and month names come in the encoding of the time locale.
  return head + QString::fromLocal8Bit(buffer, static_cast<qsizetype>(n));
}

QString FooterTitleText(const QString& documentTitle) {
  return QString::fromUtf8(frt::LoadText(kIdFooterTitle)) + documentTitle;
}

QString FooterPageText(int page) {
  return QString::fromUtf8(frt::LoadText(kIdFooterPage)) + QString::number(page);
}

}  // namespace qvprint

#pragma once
// The page layout of a printed sample export, in twips (1/1440 inch) on a page of 8.5 x 10.5
// inches: a header line with the date and time at the top, at most 50 body lines, and a footer
// with the document title and the page number. Body lines longer than the page are wrapped, and
// every wrapped piece counts as a line of its page. On paper whose printable area is narrower
// than that page the body ends at the printable area's right edge and wraps there.
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <ctime>

namespace qvprint {

inline constexpr int kLinesPerPage = 50;
inline constexpr int kTwipsPerInch = 1440;
// The logical page: wide enough for the body's right edge, as tall as the 10.5 inch page.
inline constexpr int kPageWidth = 11520;
inline constexpr int kCanvasWidth = kPageWidth + 720;
inline constexpr int kCanvasHeight = 15120;
inline constexpr int kHeaderLeft = 10;
inline constexpr int kHeaderTop = 10;
inline constexpr int kBodyLeft = 720;
inline constexpr int kBodyRight = kPageWidth + kBodyLeft;
inline constexpr int kBodyTop = 1440;
inline constexpr int kFooterTop = 14400;
inline constexpr int kFooterRight = 10000;
// The printing font: 10 points.
inline constexpr int kFontHeight = 200;
inline constexpr int kTabWidth = 8;

// Columns a character takes in a fixed-pitch line: 2 for East Asian wide characters.
int CharColumns(char32_t c);
// Columns of body text between the body's left edge and `right` for a character advance.
int BodyColumns(double advance, int right = kBodyRight);
// Columns a printed line takes.
int LineColumns(const QString& line);

// The logical page placed on a printer's printable area: device pixels per twip (10 points stay
// 10 points unless the page is too tall for the area) and the body's right edge in twips.
struct PageFit {
  double scale = 0;
  int bodyRight = kBodyRight;
};
// The narrowest logical width a page may be given: the footer's right-aligned page number.
inline constexpr int kMinPageWidth = kFooterRight;
// `printable` is the printable area's size in device pixels at `resolution` dots per inch.
PageFit FitPage(const QSizeF& printable, int resolution);
// The cells of a page's body lines in twips, one rectangle per line, as wide as its columns.
QList<QRectF> BodyLineRects(const QStringList& pageLines, double advance, int lineHeight);

// The printed lines of a text: one per line (a last line without a line feed counts, an empty
// text has none), each cut into pieces of at most `columns` columns. Tabs become spaces up to the
// next stop of 8 columns; carriage returns are dropped.
QStringList PrintedLines(const QString& text, int columns);
// Pages of 50 printed lines; 0 for none.
int PageCount(qsizetype printedLines);
// The printed lines of a page (counted from 1); empty beyond the last.
QStringList PageLines(const QStringList& lines, int page);

// "Quarvel ---- Data export sample --- Generated: " and the time as "%A, %B %d, %Y / %H:%M:%S"
// in the names of the C library's time locale.
QString HeaderText(const std::tm& time);
QString FooterTitleText(const QString& documentTitle);
QString FooterPageText(int page);

}  // namespace qvprint

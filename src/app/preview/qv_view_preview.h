#pragma once
#include <string_view>
// The two read-only views of sample output: the small pane under the string editor and the view
// of a preview window, which also prints.
#include <QObject>
#include <QPlainTextEdit>
#include <QString>
#include <ctime>

#include "uilib/printable.h"

class QPainter;

// The font both views show sample output in: fixed pitch, 10 points, built from `base` so that
// it keeps what the base font resolved.
QFont PreviewFont(const QFont& base);

// The document of a preview window. It holds no data of its own (its view holds the text), only
// its title, which the printout names.
class CQVDocFormatPreview : public QObject {
  Q_OBJECT
 public:
  explicit CQVDocFormatPreview(QObject* parent = nullptr) : QObject(parent) {}
  QString Title() const { return title_; }
  void SetTitle(const QString& title) { title_ = title; }

 private:
  QString title_;
};

// The small preview pane of a format window: the editor writes the sample of the string being
// edited into it. The key X is swallowed, so nothing can be cut out of it from the keyboard.
class CQVViewPre : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit CQVViewPre(QWidget* parent = nullptr);
  // Replaces the whole text.
  void SetText(const QString& text);
  // The same for rendered output (GBK bytes).
  void SetSample(std::string_view gbk);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// What the printing font measures on a painter set up in twips.
struct CQVPrintMetrics {
  int lineHeight = 0;
  double advance = 0;
  int columns = 0;
};
// Selects the printing font (10 points, fixed pitch, from the painter's own font) on a painter
// whose units are twips.
CQVPrintMetrics SelectPrintFont(QPainter& painter);

// The only view of a preview document. It prints in pages of 50 lines.
class CQVViewFormatPreview : public QPlainTextEdit, public CQVPrintable {
  Q_OBJECT
 public:
  explicit CQVViewFormatPreview(CQVDocFormatPreview* document, QWidget* parent = nullptr);

  CQVDocFormatPreview* Document() const { return document_; }
  // Sets the whole text once; it starts unmodified and without undo history.
  void SetText(const QString& text);

  // Prints the pages the printer asks for (all, or its page range).
  void PrintTo(QPrinter& printer) override;
  // Prints one page (from 1) of the given printed lines with a painter that is set up in twips.
  void PrintPage(QPainter& painter, const QStringList& lines, int page,
                 const CQVPrintMetrics& metrics);

  // What the last printing found: the number of pages and the page printed last (0: none).
  int PageCount() const { return pageCount_; }
  int CurrentPage() const { return currentPage_; }
  // The time the page headers show; the current time when not set (tests fix it).
  void SetPrintTime(std::time_t time) { printTime_ = time; }

 private:
  CQVDocFormatPreview* document_;
  int pageCount_ = 0;
  int currentPage_ = 0;
  std::time_t printTime_ = 0;
};

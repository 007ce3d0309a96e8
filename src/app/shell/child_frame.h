#pragma once
// The window of one format document: the format tree on the left, the string editor upper right
// and the small preview pane lower right.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

#include "shell/frame_document.h"
#include "uilib/printable.h"

class CQVViewEdit;
class QSplitter;

class CChildFrame : public QWidget {
  Q_OBJECT
 public:
  // The text of the status bar's category pane while this window is active.
  static const char* const kCompanyText;

  explicit CChildFrame(QWidget* parent = nullptr);
  ~CChildFrame() override;

  // The three panes. The tree and the preview start as placeholders that the document fills.
  CQVViewEdit* Editor() const { return editor_; }
  QWidget* TreeView() const { return tree_; }
  QWidget* PreviewPane() const { return preview_; }
  // The frame takes the widget over; the placeholder (or the previous widget) is deleted.
  void SetTreeView(QWidget* tree);
  void SetPreviewPane(QWidget* preview);

  // The document this window shows; the window owns it and asks it before closing.
  void SetDocument(std::unique_ptr<CQVFrameDocument> document);
  CQVFrameDocument* Document() const { return document_.get(); }
  // Drops the document unsaved and without asking (the application is ending).
  void DiscardDocument();
  // Title and modified mark from the document.
  void UpdateTitle();

  // A tool window that belongs to this document (the insert-variable window): shown while this
  // window is active, hidden while another one is. Not owned.
  void SetCompanionWindow(QWidget* window);
  QWidget* CompanionWindow() const { return companion_; }
  // Called by the main frame when this window becomes or stops being the active one.
  void SetActive(bool active);

  QString StatusText() const { return statusText_; }
  void SetStatusText(const QString& text) { statusText_ = text; }

  QSplitter* OuterSplitter() const { return outer_; }
  QSplitter* InnerSplitter() const { return inner_; }

 signals:
  // The title or the modified mark was set anew (the main frame's caption follows).
  void titleUpdated();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ReplacePane(QWidget*& slot, QWidget* widget, QSplitter* splitter, int index);

  QSplitter* outer_;
  QSplitter* inner_;
  QWidget* tree_;
  CQVViewEdit* editor_;
  QWidget* preview_;
  std::unique_ptr<CQVFrameDocument> document_;
  QPointer<QWidget> companion_;
  QString statusText_;
  bool laidOut_ = false;
};

// The window of a sample export. Its toolbar (print, print preview, close) belongs to the main
// frame, which shows it instead of the main toolbar while a preview window is active.
class CChildFrmFormatPreview : public QWidget {
  Q_OBJECT
 public:
  explicit CChildFrmFormatPreview(QWidget* parent = nullptr);
  ~CChildFrmFormatPreview() override;

  // The view of the export (a read-only text view until the preview document gives its own)
  // and what prints it (not owned; null: the view's text is printed).
  void SetView(QWidget* view, CQVPrintable* printable = nullptr);
  QWidget* View() const { return view_; }
  void SetPrintable(CQVPrintable* printable) { printable_ = printable; }
  // Prints through the printable, or the view's plain text when there is none.
  void PrintTo(QPrinter& printer);

 private:
  QWidget* view_ = nullptr;
  CQVPrintable* printable_ = nullptr;
};

#pragma once
// The manual in a window: docs/manual.md (or its English twin) rendered from the folder the
// program finds it in, opened at a section. F1 anywhere opens the section of the window in front.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class QTextBrowser;

namespace qvhelp {

enum class ManualLanguage { kChinese, kEnglish };

// The manual in the language the string table was set to at start-up.
ManualLanguage CurrentManualLanguage();
// "manual.md" or "manual.en.md".
QString ManualFileName(ManualLanguage language);

// The folder holding the manual: the installed documentation beside the program first, then the
// source tree the program was built from; empty when neither has `fileName`.
QString DocsDirectory(const QString& fileName);

// The manual's section for a window: the first widget from `widget` up through its parents whose
// object name the manual has a section for; "" (the manual's start) when none has.
QString AnchorFor(const QWidget* widget);

}  // namespace qvhelp

// The window that shows the manual. One is kept per owner and brought to the front again.
class CQVHelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit CQVHelpWindow(QWidget* parent = nullptr);

  // Loads the manual of the current language when not yet shown, and scrolls to `anchor`
  // ("" for the top). False when the manual cannot be found.
  bool ShowManual(const QString& anchor);
  QTextBrowser* Browser() const { return browser_; }
  // The manual file shown, "" before the first success.
  QString ManualPath() const { return path_; }

 private:
  QTextBrowser* browser_;
  QString path_;
};

// Watches the application's key presses for F1 and opens the manual at the section of the window
// in front. `fallback` gives the widget to start from when the active window is the main window
// (its active document window, say); it may return nullptr.
class CQVHelpKey : public QObject {
  Q_OBJECT
 public:
  explicit CQVHelpKey(QWidget* mainWindow, QObject* parent = nullptr);
  // Opens the manual at `anchor`, above whichever modal window is in front.
  void OpenAt(const QString& anchor);
  // The window last opened, or nullptr.
  CQVHelpWindow* Window() const { return window_; }

 signals:
  // Asks for the widget whose section F1 opens when the main window is in front; a slot sets
  // `widget` (a direct connection).
  void resolveMainWindow(QWidget*& widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* mainWindow_;
  QPointer<CQVHelpWindow> window_;
};

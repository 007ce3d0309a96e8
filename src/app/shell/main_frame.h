#pragma once
// The main window: menus, toolbars, status bar and the painted area behind the document
// windows.
#include <QIcon>
#include <QMainWindow>
#include <QMdiArea>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <map>
#include <memory>
#include <vector>

class CChildFrame;
class CChildFrmFormatPreview;
class CQVHelpKey;
class QLabel;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QUndoGroup;

// Command ids of the menus and toolbars.
namespace qvcmd {
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrintSetup = 57606;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kFileRecent1 = 57616;  // to 57621
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kWindowArrange = 57649;
inline constexpr int kWindowCascade = 57650;
inline constexpr int kWindowTile = 57651;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kHelpManual = 57670;
inline constexpr int kViewToolBar = 59392;
inline constexpr int kViewStatusBar = 59393;
inline constexpr int kOutputPreview = 32788;
inline constexpr int kPoolLoad = 32794;
inline constexpr int kPoolSave = 32795;
inline constexpr int kAssignApplications = 32796;
inline constexpr int kDefaultSettings = 32808;
inline constexpr int kFormatSettings = 32809;
inline constexpr int kClearString = 32822;
inline constexpr int kProperties = 32823;
inline constexpr int kDataWorkbench = 32840;
}  // namespace qvcmd

// An icon of the editor's resources by file name ("new.png"), decoded once per process.
QIcon AppIcon(const QString& name);

// Where the window number `index` (from 0) of a cascade goes in a work area of `area`: each one
// step down and right of the one before, starting again at the top left when the next would
// leave the area; `wanted` is shrunk to the area. The result always lies inside the area.
QRect CascadeGeometry(const QSize& area, int index, const QSize& wanted);
// `window` moved (and shrunk when it must be) so that it lies inside a work area of `area`.
QRect FitInside(const QRect& window, const QSize& area);
// The same for a window of a work area unless it is maximized or minimized.
void KeepInside(QMdiSubWindow* window, const QSize& area);

// The client area behind the document windows: a tiled pattern and, at the lower right,
// "Terrapane - Quarvel" in red with a black shadow.
class CMdiBackground : public QMdiArea {
  Q_OBJECT
 public:
  explicit CMdiBackground(QWidget* parent = nullptr);
  ~CMdiBackground() override;
  static QString BannerText();
  // Where the banner's text starts (top left) in a client area of `size`, for `font`.
  static QRect BannerRect(const QSize& size, const QFont& font);
  static QFont BannerFont();

 protected:
  void paintEvent(QPaintEvent* event) override;
  // A smaller area (a smaller main window, a dock beside it) keeps its windows inside.
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct BannerCache;
  std::unique_ptr<BannerCache> banner_;
};

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kMaxRecentFiles = 6;
  // Menu sets: none open, a format window active, a preview window active.
  enum MenuSetId : int { kMenuMain = 128, kMenuFormat = 129, kMenuPreview = 134 };
  static constexpr int kStatusPaneCount = 5;

  explicit CMainFrame(QWidget* parent = nullptr);
  ~CMainFrame() override;

  // The action of a command id, or nullptr.
  QAction* Action(int commandId) const;
  // The menu set on show: kMenuMain, kMenuFormat or kMenuPreview.
  int ActiveMenuSet() const { return activeMenuSet_; }
  // A menu set (made on first use).
  const std::vector<QMenu*>& MenuSet(int id) const;

  QMdiArea* MdiArea() const { return mdi_; }
  // The undo histories of the format windows; the active window's is the active one.
  QUndoGroup* UndoGroup() const { return undoGroup_; }
  QToolBar* MainToolBar() const { return mainToolBar_; }
  // The preview windows' toolbar; made on first use.
  QToolBar* PreviewToolBar() const;
  // Panes 0 to 4: message, category (61446), CAP, NUM, SCRL.
  QLabel* StatusPane(int index) const;
  // The category pane's text (the format tree puts its template's name there).
  void SetCategoryText(const QString& text);

  // Shows a document window in the client area; the frame owns it from then on.
  QMdiSubWindow* AddFormatFrame(CChildFrame* frame);
  QMdiSubWindow* AddPreviewFrame(CChildFrmFormatPreview* frame, const QString& title);
  CChildFrame* ActiveFormatFrame() const;
  CChildFrmFormatPreview* ActivePreviewFrame() const;
  QList<CChildFrame*> FormatFrames() const;

  void AddRecentFile(const QString& path);
  void RemoveRecentFile(const QString& path);
  QStringList RecentFiles() const;

  // Enables the commands for the active window; called on every activation and menu opening.
  void UpdateCommands();

  // Where the open and save dialogs start (the application folder's Format folder).
  void SetFormatDirectory(const QString& directory) { formatDirectory_ = directory; }
  const QString& FormatDirectory() const { return formatDirectory_; }
  // The filter of the file dialogs: format files only.
  static QString FormatFileFilter();
  // Closes every document window without asking (the application is ending); their documents
  // are dropped unsaved.
  void CloseAllWithoutAsking();
  // The manual's window and the F1 key: the manual opens at the section of the window in front.
  CQVHelpKey* Help() const { return help_; }

 signals:
  void newFileRequested();
  void openFileRequested(const QString& path);
  void aboutRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QAction* MakeAction(int id, const QString& icon = {});
  void BuildActions();
  void BuildEditActions();
  void BuildMenuSet(int id);
  QMenu* NewMenu(const QString& title, const QString& name);
  void AddToMenu(QMenu* menu, std::initializer_list<int> ids) const;
  void AddRecentToMenu(QMenu* menu) const;
  // 0: view, 1: window, 2: help.
  QMenu* SharedMenu(int which);
  void BuildToolBars();
  void BuildStatusBar();
  void ShowMenuSet(int id);
  void OnSubWindowActivated(QMdiSubWindow* window);
  void OnOpen();
  void OnPrint(bool preview);
  void OnPrintSetup();
  void OnDocumentCommand(int id);
  void UpdateRecentActions();
  void FillWindowMenu(QMenu* menu);
  // The caption: "Quarvel", and the active window's title with its modified mark, in every
  // window state.
  void UpdateCaption();
  void ApplyCaption(bool modified);
  // Shows a new document window at its place in the cascade of the work area.
  void PlaceInCascade(QMdiSubWindow* sub, const QSize& wanted);

  CMdiBackground* mdi_;
  QUndoGroup* undoGroup_;
  QToolBar* mainToolBar_ = nullptr;
  mutable QToolBar* previewToolBar_ = nullptr;
  QMenu* viewMenu_ = nullptr;
  QMenu* windowMenu_ = nullptr;
  QMenu* helpMenu_ = nullptr;
  bool mainToolBarWanted_ = true;
  std::map<int, QAction*> actions_;
  std::map<int, std::vector<QMenu*>> menuSets_;
  int activeMenuSet_ = 0;
  std::vector<QLabel*> panes_;
  QMdiSubWindow* lastActive_ = nullptr;
  class QPrinter* printer_ = nullptr;
  QString formatDirectory_;
  QString caption_;
  CQVHelpKey* help_ = nullptr;
};

#include "main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QStaticText>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoGroup>
#include <QUndoStack>
#include <algorithm>

#include "help/help_window.h"
#include "library/error_message.h"
#include "library/string_table.h"
#include "shell/app_language.h"
#include "shell/child_frame.h"
#include "uilib/ui_text.h"

namespace {

constexpr int kIdAppName = 57344;
constexpr int kIdNoCategory = 61446;
const char kRecentKey[] = "RecentFiles";

// The language submenu: the choice is saved and takes effect on the next start, so no window
// changes language while it is open. It shows the saved choice, else the language in use.
QMenu* NewLanguageMenu(QWidget* parent) {
  auto* menu = new QMenu(CMainFrame::tr("(&L)语言 / Language"), parent);
  menu->setObjectName(QStringLiteral("menuLanguage"));
  auto* group = new QActionGroup(menu);
  const frt::Language shown = qvlang::SavedLanguage().value_or(frt::CurrentLanguage());
  const std::pair<frt::Language, QString> choices[] = {
      {frt::Language::kChinese, CMainFrame::tr("中文")},
      {frt::Language::kEnglish, CMainFrame::tr("English")},
  };
  for (const auto& [language, text] : choices) {
    QAction* a = menu->addAction(text);
    a->setObjectName(language == frt::Language::kEnglish ? QStringLiteral("languageEnglish")
                                                         : QStringLiteral("languageChinese"));
    a->setCheckable(true);
    a->setChecked(language == shown);
    group->addAction(a);
    QObject::connect(a, &QAction::triggered, menu, [language = language] {
      qvlang::SaveLanguage(language);
      CErrorMessage::ShowNotice(frt::kIdNone,
                                CMainFrame::tr("语言的选择在下次启动时生效。").toStdString());
    });
  }
  return menu;
}

// Menu texts: the system's own where it has one, the editor's otherwise.
QString CommandText(int id) {
  if (const char* text = frt::MenuText(id); *text) return QString::fromUtf8(text);
  switch (id) {
    case qvcmd::kFileOpen:
      return CMainFrame::tr("(&O)打开...\tStrg+O");
    case qvcmd::kFileClose:
      return CMainFrame::tr("(&C)关闭");
    case qvcmd::kFilePrintSetup:
      return CMainFrame::tr("打印设置...");
    case qvcmd::kFilePrintPreview:
      return CMainFrame::tr("打印预览");
    case qvcmd::kAppExit:
      return CMainFrame::tr("(&X)退出");
    case qvcmd::kViewToolBar:
      return CMainFrame::tr("(&T)工具栏");
    case qvcmd::kViewStatusBar:
      return CMainFrame::tr("(&S)状态栏");
    case qvcmd::kWindowCascade:
      return CMainFrame::tr("层叠窗口");
    case qvcmd::kWindowTile:
      return CMainFrame::tr("平铺窗口");
    case qvcmd::kWindowArrange:
      return CMainFrame::tr("排列图标");
    case qvcmd::kHelpManual:
      return CMainFrame::tr("(&M)使用手册");
    case qvcmd::kDataWorkbench:
      return CMainFrame::tr("数据试验...");
    default:
      return {};
  }
}

// The status prompt of a command: its string-table entry up to the line break (the part after
// it is the tool tip).
QString StatusTip(int id) {
  const QString text = qvui::Text(id);
  return text.section(QLatin1Char('\n'), 0, 0);
}

const int kDocumentCommands[] = {
    qvcmd::kAssignApplications, qvcmd::kPoolLoad,        qvcmd::kPoolSave,
    qvcmd::kOutputPreview,      qvcmd::kClearString,     qvcmd::kProperties,
    qvcmd::kFormatSettings,     qvcmd::kDefaultSettings, qvcmd::kDataWorkbench};

}  // namespace

namespace {

// The pictures of the resources, decoded once per process and dropped with the application
// object (pixmaps must not outlive it).
struct Pictures {
  QHash<QString, QIcon> icons;
  QBrush background;
};
Pictures* thePictures = nullptr;

Pictures& ThePictures() {
  if (!thePictures) {
    thePictures = new Pictures;
    thePictures->background = QBrush(QPixmap(QStringLiteral(":/icons/background.png")));
    qAddPostRoutine([] {
      delete thePictures;
      thePictures = nullptr;
    });
  }
  return *thePictures;
}

}  // namespace

QIcon AppIcon(const QString& name) {
  QHash<QString, QIcon>& icons = ThePictures().icons;
  auto it = icons.find(name);
  if (it == icons.end()) it = icons.insert(name, QIcon(QStringLiteral(":/icons/") + name));
  return *it;
}

// The banner's font, text and measures, taken on the first paint: matching the font and
// shaping the text cost more than painting it.
struct CMdiBackground::BannerCache {
  QFont font = CMdiBackground::BannerFont();
  QStaticText shaped;
  int averageWidth = 1;
  int height = 0;
  int width = 0;

  BannerCache() {
    const QFontMetrics m(font);
    const QString text = CMdiBackground::BannerText();
    averageWidth = std::max(1, m.averageCharWidth());
    height = m.height();
    width = m.horizontalAdvance(text);
    shaped.setText(text);
    shaped.setTextFormat(Qt::PlainText);
    shaped.prepare(QTransform(), font);
  }
};

CMdiBackground::CMdiBackground(QWidget* parent) : QMdiArea(parent) {
  setBackground(ThePictures().background);
}

CMdiBackground::~CMdiBackground() = default;

QString CMdiBackground::BannerText() {
  return QStringLiteral("Terrapane - ") + qvui::Text(kIdAppName);
}

QFont CMdiBackground::BannerFont() {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setWeight(QFont::Bold);
  font.setPointSize(24);
  return font;
}

namespace {

// Where the banner goes in a client area of `size`, from the font's average character width,
// height and the text's width.
QRect PlaceBanner(const QSize& size, int average, int height, int width) {
  return {size.width() - width - average, size.height() - height - 10 - height / 4, width, height};
}

}  // namespace

QRect CMdiBackground::BannerRect(const QSize& size, const QFont& font) {
  const QFontMetrics m(font);
  return PlaceBanner(size, std::max(1, m.averageCharWidth()), m.height(),
                     m.horizontalAdvance(BannerText()));
}

void CMdiBackground::resizeEvent(QResizeEvent* event) {
  QMdiArea::resizeEvent(event);
  for (QMdiSubWindow* w : subWindowList()) KeepInside(w, viewport()->size());
}

void CMdiBackground::paintEvent(QPaintEvent* event) {
  QMdiArea::paintEvent(event);
  if (!banner_) banner_ = std::make_unique<BannerCache>();
  const BannerCache& banner = *banner_;
  const QRect r = PlaceBanner(viewport()->size(), banner.averageWidth, banner.height, banner.width);
  const QPoint at = r.topLeft();
  if (!event->rect().intersects(r.adjusted(0, 0, banner.averageWidth, 0))) return;
  QPainter painter(viewport());
  painter.setFont(banner.font);
  painter.setPen(Qt::black);
  painter.drawStaticText(at + QPoint(banner.averageWidth / 5, 0), banner.shaped);
  painter.setPen(QColor(220, 0, 0));
  painter.drawStaticText(at, banner.shaped);
}

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), mdi_(new CMdiBackground(this)), undoGroup_(new QUndoGroup(this)) {
  setObjectName(QStringLiteral("mainFrame"));
  setWindowTitle(qvui::Text(kIdAppName));
  setWindowIcon(AppIcon(QStringLiteral("quarvel.png")));
  mdi_->setObjectName(QStringLiteral("mdiArea"));
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  BuildActions();
  BuildToolBars();
  BuildStatusBar();
  connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
  help_ = new CQVHelpKey(this, this);
  qApp->installEventFilter(help_);
  connect(help_, &CQVHelpKey::resolveMainWindow, this, [this](QWidget*& widget) {
    if (QMdiSubWindow* w = mdi_->activeSubWindow()) widget = w->widget();
  });
  ShowMenuSet(kMenuMain);
  UpdateRecentActions();
  UpdateCommands();
  resize(1000, 700);
}

CMainFrame::~CMainFrame() {
  // The client area reports activations while its windows go; this frame is half gone by then.
  disconnect(mdi_, nullptr, this, nullptr);
  delete printer_;
}

QAction* CMainFrame::MakeAction(int id, const QString& icon) {
  auto* action = new QAction(CommandText(id), this);
  action->setObjectName(QStringLiteral("command%1").arg(id));
  action->setData(id);
  if (!icon.isEmpty()) action->setIcon(AppIcon(icon));
  if (const QString tip = StatusTip(id); !tip.isEmpty()) action->setStatusTip(tip);
  addAction(action);  // shortcuts work whichever menu set is shown
  actions_[id] = action;
  return action;
}

QAction* CMainFrame::Action(int commandId) const {
  auto it = actions_.find(commandId);
  return it == actions_.end() ? nullptr : it->second;
}

const std::vector<QMenu*>& CMainFrame::MenuSet(int id) const {
  static const std::vector<QMenu*> none;
  const_cast<CMainFrame*>(this)->BuildMenuSet(id);
  auto it = menuSets_.find(id);
  return it == menuSets_.end() ? none : it->second;
}

QLabel* CMainFrame::StatusPane(int index) const {
  return index >= 0 && index < static_cast<int>(panes_.size()) ? panes_[index] : nullptr;
}

void CMainFrame::BuildActions() {
  MakeAction(qvcmd::kFileNew, QStringLiteral("new.png"))->setShortcut(QKeySequence::New);
  MakeAction(qvcmd::kFileOpen, QStringLiteral("open.png"))->setShortcut(QKeySequence::Open);
  MakeAction(qvcmd::kFileClose, QStringLiteral("close.png"));
  MakeAction(qvcmd::kFileSave, QStringLiteral("save.png"))->setShortcut(QKeySequence::Save);
  MakeAction(qvcmd::kFileSaveAs);
  MakeAction(qvcmd::kFilePrintSetup);
  MakeAction(qvcmd::kFilePrint, QStringLiteral("print.png"))->setShortcut(QKeySequence::Print);
  MakeAction(qvcmd::kFilePrintPreview, QStringLiteral("preview.png"));
  MakeAction(qvcmd::kAppExit)->setShortcut(QKeySequence::Quit);
  MakeAction(qvcmd::kAppAbout, QStringLiteral("about.png"));
  MakeAction(qvcmd::kViewToolBar)->setCheckable(true);
  MakeAction(qvcmd::kViewStatusBar)->setCheckable(true);
  MakeAction(qvcmd::kWindowCascade);
  MakeAction(qvcmd::kWindowTile);
  MakeAction(qvcmd::kWindowArrange);
  // F1 itself is the help key's: it knows the window in front, modal dialogs included.
  MakeAction(qvcmd::kHelpManual)->setShortcut(QKeySequence(Qt::Key_F1));
  Action(qvcmd::kHelpManual)->setShortcutContext(Qt::WidgetShortcut);
  for (int i = 0; i < kMaxRecentFiles; ++i) {
    QAction* recent = MakeAction(qvcmd::kFileRecent1 + i);
    connect(recent, &QAction::triggered, this, [this, recent] {
      const QString path = recent->data().toString();
      if (!path.isEmpty()) emit openFileRequested(path);
    });
  }
  for (int id : kDocumentCommands) {
    QAction* a =
        MakeAction(id, id == qvcmd::kOutputPreview ? QStringLiteral("preview.png") : QString());
    connect(a, &QAction::triggered, this, [this, id] { OnDocumentCommand(id); });
  }
  Action(qvcmd::kDataWorkbench)->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
  BuildEditActions();
  Action(qvcmd::kViewToolBar)->setChecked(true);
  Action(qvcmd::kViewStatusBar)->setChecked(true);

  connect(Action(qvcmd::kFileNew), &QAction::triggered, this, &CMainFrame::newFileRequested);
  connect(Action(qvcmd::kFileOpen), &QAction::triggered, this, &CMainFrame::OnOpen);
  connect(Action(qvcmd::kFileClose), &QAction::triggered, this, [this] {
    if (QMdiSubWindow* w = mdi_->activeSubWindow()) w->close();
  });
  connect(Action(qvcmd::kFileSave), &QAction::triggered, this, [this] {
    if (CChildFrame* f = ActiveFormatFrame(); f && f->Document()) {
      f->Document()->Save(false);
      f->UpdateTitle();
    }
  });
  connect(Action(qvcmd::kFileSaveAs), &QAction::triggered, this, [this] {
    if (CChildFrame* f = ActiveFormatFrame(); f && f->Document()) {
      f->Document()->Save(true);
      f->UpdateTitle();
    }
  });
  connect(Action(qvcmd::kFilePrintSetup), &QAction::triggered, this, &CMainFrame::OnPrintSetup);
  connect(Action(qvcmd::kFilePrint), &QAction::triggered, this, [this] { OnPrint(false); });
  connect(Action(qvcmd::kFilePrintPreview), &QAction::triggered, this, [this] { OnPrint(true); });
  connect(Action(qvcmd::kAppExit), &QAction::triggered, this, &QWidget::close);
  connect(Action(qvcmd::kAppAbout), &QAction::triggered, this, &CMainFrame::aboutRequested);
  connect(Action(qvcmd::kHelpManual), &QAction::triggered, this, [this] { help_->OpenAt({}); });
  connect(Action(qvcmd::kViewToolBar), &QAction::toggled, this, [this](bool on) {
    mainToolBarWanted_ = on;
    UpdateCommands();
  });
  connect(Action(qvcmd::kViewStatusBar), &QAction::toggled, this,
          [this](bool on) { statusBar()->setVisible(on); });
  connect(Action(qvcmd::kWindowCascade), &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
  connect(Action(qvcmd::kWindowTile), &QAction::triggered, mdi_, &QMdiArea::tileSubWindows);
  connect(Action(qvcmd::kWindowArrange), &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
}

void CMainFrame::BuildEditActions() {
  // The group's actions follow the active window's history and name the step they would take.
  QAction* undo = undoGroup_->createUndoAction(this, tr("(&U)撤销"));
  QAction* redo = undoGroup_->createRedoAction(this, tr("(&R)重做"));
  undo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
  redo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  const std::pair<int, QAction*> edits[] = {{qvcmd::kEditUndo, undo}, {qvcmd::kEditRedo, redo}};
  for (const auto& [id, action] : edits) {
    action->setObjectName(QStringLiteral("command%1").arg(id));
    action->setData(id);
    action->setIcon(
        AppIcon(id == qvcmd::kEditUndo ? QStringLiteral("undo.png") : QStringLiteral("redo.png")));
    addAction(action);
    actions_[id] = action;
  }
}

QMenu* CMainFrame::NewMenu(const QString& title, const QString& name) {
  auto* m = new QMenu(title, this);
  m->setObjectName(name);
  connect(m, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
  return m;
}

void CMainFrame::AddToMenu(QMenu* menu, std::initializer_list<int> ids) const {
  for (int id : ids) {
    if (id == 0)
      menu->addSeparator();
    else
      menu->addAction(Action(id));
  }
}

void CMainFrame::AddRecentToMenu(QMenu* menu) const {
  menu->addSeparator();
  for (int i = 0; i < kMaxRecentFiles; ++i) menu->addAction(Action(qvcmd::kFileRecent1 + i));
  menu->addSeparator();
}

QMenu* CMainFrame::SharedMenu(int which) {
  // The view, window and help menus belong to several sets; each is made once.
  QMenu*& menu = which == 0 ? viewMenu_ : which == 1 ? windowMenu_ : helpMenu_;
  if (menu) return menu;
  if (which == 0) {
    menu = NewMenu(tr("(&V)视图"), QStringLiteral("menuView"));
    AddToMenu(menu, {qvcmd::kViewToolBar, qvcmd::kViewStatusBar});
  } else if (which == 1) {
    QMenu* window = NewMenu(tr("(&W)窗口"), QStringLiteral("menuWindow"));
    connect(window, &QMenu::aboutToShow, this, [this, window] { FillWindowMenu(window); });
    FillWindowMenu(window);
    menu = window;
  } else {
    menu = NewMenu(tr("(&H)帮助"), QStringLiteral("menuHelp"));
    AddToMenu(menu, {qvcmd::kHelpManual, 0, qvcmd::kAppAbout});
  }
  return menu;
}

void CMainFrame::BuildMenuSet(int id) {
  // A set is made when it is first shown or asked for: at the start only the set without
  // documents is needed.
  if (menuSets_.count(id)) return;
  if (id == kMenuMain) {
    QMenu* file = NewMenu(tr("(&F)文件"), QStringLiteral("menuFile128"));
    AddToMenu(file, {qvcmd::kFileNew, qvcmd::kFileOpen, 0, qvcmd::kFilePrintSetup});
    AddRecentToMenu(file);
    AddToMenu(file, {qvcmd::kAppExit});
    menuSets_[kMenuMain] = {file, SharedMenu(0), SharedMenu(2)};
  } else if (id == kMenuFormat) {
    QMenu* file = NewMenu(tr("(&F)文件"), QStringLiteral("menuFile129"));
    AddToMenu(file, {qvcmd::kFileNew, qvcmd::kFileOpen, qvcmd::kFileClose, qvcmd::kFileSave,
                     qvcmd::kFileSaveAs, 0, qvcmd::kFilePrintSetup});
    AddRecentToMenu(file);
    AddToMenu(file, {qvcmd::kAppExit});
    QMenu* edit = NewMenu(tr("(&E)编辑"), QStringLiteral("menuEdit"));
    AddToMenu(edit, {qvcmd::kEditUndo, qvcmd::kEditRedo});
    QMenu* format = NewMenu(tr("(&M)格式"), QStringLiteral("menuFormat"));
    AddToMenu(format, {qvcmd::kAssignApplications});
    QMenu* pool = NewMenu(tr("字串池"), QStringLiteral("menuPool"));
    AddToMenu(pool, {qvcmd::kPoolLoad, qvcmd::kPoolSave});
    format->addMenu(pool);
    AddToMenu(format, {qvcmd::kOutputPreview, qvcmd::kDataWorkbench, qvcmd::kClearString, 0,
                       qvcmd::kProperties});
    QMenu* options = NewMenu(tr("(&O)选项"), QStringLiteral("menuOptions"));
    AddToMenu(options, {qvcmd::kFormatSettings, qvcmd::kDefaultSettings});
    options->addSeparator();
    options->addMenu(NewLanguageMenu(options));
    menuSets_[kMenuFormat] = {file,    edit,          SharedMenu(0), format,
                              options, SharedMenu(1), SharedMenu(2)};
  } else if (id == kMenuPreview) {
    QMenu* file = NewMenu(tr("(&F)文件"), QStringLiteral("menuFile134"));
    AddToMenu(file, {qvcmd::kFileClose, 0, qvcmd::kFilePrint, qvcmd::kFilePrintPreview, 0,
                     qvcmd::kAppExit});
    menuSets_[kMenuPreview] = {file, SharedMenu(0), SharedMenu(1), SharedMenu(2)};
  }
}

void CMainFrame::BuildToolBars() {
  mainToolBar_ = addToolBar(QStringLiteral("Quarvel"));
  mainToolBar_->setObjectName(QStringLiteral("toolBar128"));
  for (int id : {qvcmd::kFileNew, qvcmd::kFileOpen, qvcmd::kFileSave, 0, qvcmd::kEditUndo,
                 qvcmd::kEditRedo, 0, qvcmd::kOutputPreview, 0, qvcmd::kAppAbout}) {
    if (id == 0)
      mainToolBar_->addSeparator();
    else
      mainToolBar_->addAction(Action(id));
  }
}

QToolBar* CMainFrame::PreviewToolBar() const {
  // Made when a preview window first needs it (or when asked for), hidden until then.
  if (!previewToolBar_) {
    auto* self = const_cast<CMainFrame*>(this);
    previewToolBar_ = new QToolBar(QStringLiteral("Preview"), self);
    previewToolBar_->setObjectName(QStringLiteral("toolBar134"));
    previewToolBar_->hide();
    for (int id : {qvcmd::kFilePrint, qvcmd::kFilePrintPreview, 0, qvcmd::kFileClose}) {
      if (id == 0)
        previewToolBar_->addSeparator();
      else
        previewToolBar_->addAction(Action(id));
    }
    self->addToolBar(previewToolBar_);
  }
  return previewToolBar_;
}

void CMainFrame::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  const QStringList texts = {QString(), qvui::Text(kIdNoCategory), QStringLiteral("CAP"),
                             QStringLiteral("NUM"), QStringLiteral("SCRL")};
  for (int i = 0; i < kStatusPaneCount; ++i) {
    auto* pane = new QLabel(texts[i], bar);
    pane->setObjectName(QStringLiteral("statusPane%1").arg(i));
    if (i >= 2) {
      pane->setAlignment(Qt::AlignCenter);
      pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
      pane->setEnabled(false);  // the lock states are not known to a Qt program
    }
    panes_.push_back(pane);
  }
  panes_[0]->setMinimumWidth(160);
  bar->addWidget(panes_[0]);
  bar->addWidget(panes_[1], 1);  // the category pane stretches
  for (int i = 2; i < kStatusPaneCount; ++i) bar->addPermanentWidget(panes_[i]);
}

void CMainFrame::SetCategoryText(const QString& text) {
  panes_[1]->setText(text.isEmpty() ? qvui::Text(kIdNoCategory) : text);
}

void CMainFrame::ShowMenuSet(int id) {
  if (activeMenuSet_ == id) return;
  activeMenuSet_ = id;
  BuildMenuSet(id);
  menuBar()->clear();
  for (QMenu* m : MenuSet(id)) menuBar()->addMenu(m);
}

QMdiSubWindow* CMainFrame::AddFormatFrame(CChildFrame* frame) {
  QMdiSubWindow* sub = mdi_->addSubWindow(frame);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(frame->windowIcon());
  const QSize area = mdi_->viewport()->size();
  PlaceInCascade(sub, {std::max(700, area.width() * 4 / 5), std::max(400, area.height() * 4 / 5)});
  connect(frame, &CChildFrame::titleUpdated, this, [this] { OnSubWindowActivated(nullptr); });
  sub->show();
  mdi_->setActiveSubWindow(sub);
  return sub;
}

QMdiSubWindow* CMainFrame::AddPreviewFrame(CChildFrmFormatPreview* frame, const QString& title) {
  frame->setWindowTitle(title);
  QMdiSubWindow* sub = mdi_->addSubWindow(frame);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(frame->windowIcon());
  PlaceInCascade(sub, {std::max(600, mdi_->viewport()->width() * 3 / 4),
                       std::max(300, mdi_->viewport()->height() * 3 / 4)});
  sub->show();
  mdi_->setActiveSubWindow(sub);
  return sub;
}

QRect CascadeGeometry(const QSize& area, int index, const QSize& wanted) {
  constexpr int kStep = 28;  // about a title bar, so each caption stays visible
  const QSize size = wanted.boundedTo(area).expandedTo(QSize(1, 1));
  const int room = std::min(area.width() - size.width(), area.height() - size.height());
  const int places = std::max(0, room) / kStep + 1;
  const int offset = (std::max(0, index) % places) * kStep;
  return QRect(QPoint(offset, offset), size);
}

QRect FitInside(const QRect& window, const QSize& area) {
  const QSize size = window.size().boundedTo(area).expandedTo(QSize(1, 1));
  const int x = std::clamp(window.x(), 0, std::max(0, area.width() - size.width()));
  const int y = std::clamp(window.y(), 0, std::max(0, area.height() - size.height()));
  return QRect(QPoint(x, y), size);
}

void KeepInside(QMdiSubWindow* window, const QSize& area) {
  if (window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) return;
  const QRect inside = FitInside(window->geometry(), area);
  if (inside != window->geometry()) window->setGeometry(inside);
}

void CMainFrame::PlaceInCascade(QMdiSubWindow* sub, const QSize& wanted) {
  // A window restored from maximized or minimized returns to where it was, which a smaller
  // main window may no longer show whole.
  // The window takes its old geometry back after it reports the new state: look once that is
  // done.
  connect(sub, &QMdiSubWindow::windowStateChanged, this, [this, sub] {
    QMetaObject::invokeMethod(
        sub, [this, sub] { KeepInside(sub, mdi_->viewport()->size()); }, Qt::QueuedConnection);
  });
  // Every window already in the area counts as one before this one in the cascade.
  const QList<QMdiSubWindow*> windows = mdi_->subWindowList();
  const int before = static_cast<int>(windows.size()) - (windows.contains(sub) ? 1 : 0);
  if (sub->isMaximized()) return;
  sub->setGeometry(CascadeGeometry(mdi_->viewport()->size(), before, wanted));
}

CChildFrame* CMainFrame::ActiveFormatFrame() const {
  QMdiSubWindow* w = mdi_->activeSubWindow();
  return w ? qobject_cast<CChildFrame*>(w->widget()) : nullptr;
}

CChildFrmFormatPreview* CMainFrame::ActivePreviewFrame() const {
  QMdiSubWindow* w = mdi_->activeSubWindow();
  return w ? qobject_cast<CChildFrmFormatPreview*>(w->widget()) : nullptr;
}

QList<CChildFrame*> CMainFrame::FormatFrames() const {
  QList<CChildFrame*> out;
  for (QMdiSubWindow* w : mdi_->subWindowList())
    if (auto* f = qobject_cast<CChildFrame*>(w->widget())) out.push_back(f);
  return out;
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window) {
  if (window && window != lastActive_) {
    if (lastActive_ && mdi_->subWindowList().contains(lastActive_))
      if (auto* old = qobject_cast<CChildFrame*>(lastActive_->widget())) old->SetActive(false);
    lastActive_ = window;
    if (auto* now = qobject_cast<CChildFrame*>(window->widget())) now->SetActive(true);
  }
  if (!window && !mdi_->activeSubWindow() && lastActive_) {
    if (mdi_->subWindowList().contains(lastActive_))
      if (auto* old = qobject_cast<CChildFrame*>(lastActive_->widget())) old->SetActive(false);
    lastActive_ = nullptr;
  }
  UpdateCommands();
}

void CMainFrame::UpdateCommands() {
  CChildFrame* format = ActiveFormatFrame();
  CChildFrmFormatPreview* preview = ActivePreviewFrame();
  ShowMenuSet(preview ? kMenuPreview : format ? kMenuFormat : kMenuMain);

  // The preview window's toolbar takes the main toolbar's place while it is active.
  mainToolBar_->setVisible(mainToolBarWanted_ && !preview);
  if (preview || previewToolBar_) PreviewToolBar()->setVisible(mainToolBarWanted_ && preview);

  const bool hasDocument = format && format->Document();
  undoGroup_->setActiveStack(hasDocument ? format->Document()->UndoStack() : nullptr);
  Action(qvcmd::kFileClose)->setEnabled(mdi_->activeSubWindow() != nullptr);
  Action(qvcmd::kFileSave)->setEnabled(hasDocument);
  Action(qvcmd::kFileSaveAs)->setEnabled(hasDocument);
  Action(qvcmd::kFilePrint)->setEnabled(preview != nullptr);
  Action(qvcmd::kFilePrintPreview)->setEnabled(preview != nullptr);
  for (int id : kDocumentCommands)
    Action(id)->setEnabled(hasDocument && format->Document()->IsCommandEnabled(id));

  UpdateCaption();
  SetCategoryText(format ? format->StatusText() : QString());
}

void CMainFrame::UpdateCaption() {
  caption_ = qvui::Text(kIdAppName);
  bool modified = false;
  if (QMdiSubWindow* w = mdi_->activeSubWindow()) {
    caption_ += QStringLiteral(" - ") + w->widget()->windowTitle().remove(QStringLiteral("[*]")) +
                QStringLiteral("[*]");
    modified = w->widget()->isWindowModified();
  }
  ApplyCaption(modified);
}

void CMainFrame::ApplyCaption(bool modified) {
  // The title first: a modified mark needs its placeholder.
  if (windowTitle() != caption_) setWindowTitle(caption_);
  if (isWindowModified() != modified) setWindowModified(modified);
}

void CMainFrame::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // A maximized document window writes a caption of its own ("Quarvel - X - [X]") into this
  // window whenever its title or mark changes, and puts back an old title without the mark
  // when it is restored: the caption this frame made stands.
  if (event->type() != QEvent::WindowTitleChange && event->type() != QEvent::ModifiedChange) return;
  QMdiSubWindow* w = mdi_->activeSubWindow();
  const bool modified = w && w->widget()->isWindowModified();
  if (windowTitle() != caption_ || isWindowModified() != modified) ApplyCaption(modified);
}

void CMainFrame::OnDocumentCommand(int id) {
  CChildFrame* frame = ActiveFormatFrame();
  if (!frame || !frame->Document() || !frame->Document()->IsCommandEnabled(id)) return;
  frame->Document()->OnCommand(id);
  frame->UpdateTitle();
}

QString CMainFrame::FormatFileFilter() {
  return tr(" 格式文件  (*.frt)");
}

void CMainFrame::OnOpen() {
  // Not the desktop's own dialog: the same one everywhere, and one the GUI tests can fill in.
  QFileDialog dialog(this, tr("打开"),
                     formatDirectory_.isEmpty() ? QDir::currentPath() : formatDirectory_,
                     FormatFileFilter());
  dialog.setObjectName(QStringLiteral("openDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  emit openFileRequested(dialog.selectedFiles().constFirst());
}

void CMainFrame::CloseAllWithoutAsking() {
  for (QMdiSubWindow* w : mdi_->subWindowList()) {
    if (auto* f = qobject_cast<CChildFrame*>(w->widget())) f->DiscardDocument();
    if (w == lastActive_) lastActive_ = nullptr;
    delete w;
  }
  UpdateCommands();
}

void CMainFrame::OnPrintSetup() {
  if (!printer_) printer_ = new QPrinter(QPrinter::HighResolution);
  QPageSetupDialog dialog(printer_, this);
  dialog.exec();
}

void CMainFrame::OnPrint(bool preview) {
  CChildFrmFormatPreview* frame = ActivePreviewFrame();
  if (!frame) return;
  if (!printer_) printer_ = new QPrinter(QPrinter::HighResolution);
  if (preview) {
    QPrintPreviewDialog dialog(printer_, this);
    // Over the main window, and on the screen whole.
    const QRect screen = this->screen()->availableGeometry();
    dialog.setGeometry(FitInside(geometry().translated(-screen.topLeft()), screen.size())
                           .translated(screen.topLeft()));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, frame,
            [frame](QPrinter* p) { frame->PrintTo(*p); });
    dialog.exec();
    return;
  }
  QPrintDialog dialog(printer_, this);
  if (dialog.exec() == QDialog::Accepted) frame->PrintTo(*printer_);
}

void CMainFrame::FillWindowMenu(QMenu* menu) {
  menu->clear();
  menu->addAction(Action(qvcmd::kWindowCascade));
  menu->addAction(Action(qvcmd::kWindowTile));
  menu->addAction(Action(qvcmd::kWindowArrange));
  const QList<QMdiSubWindow*> windows = mdi_->subWindowList();
  if (!windows.isEmpty()) menu->addSeparator();
  int n = 0;
  for (QMdiSubWindow* w : windows) {
    QString title = w->widget()->windowTitle().remove(QStringLiteral("[*]"));
    QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(title));
    a->setCheckable(true);
    a->setChecked(w == mdi_->activeSubWindow());
    connect(a, &QAction::triggered, this, [this, w] { mdi_->setActiveSubWindow(w); });
  }
}

QStringList CMainFrame::RecentFiles() const {
  return QSettings().value(kRecentKey).toStringList().mid(0, kMaxRecentFiles);
}

void CMainFrame::AddRecentFile(const QString& path) {
  const QString full = QFileInfo(path).absoluteFilePath();
  QStringList files = RecentFiles();
  files.removeAll(full);
  files.prepend(full);
  QSettings().setValue(kRecentKey, files.mid(0, kMaxRecentFiles));
  UpdateRecentActions();
}

void CMainFrame::RemoveRecentFile(const QString& path) {
  QStringList files = RecentFiles();
  files.removeAll(QFileInfo(path).absoluteFilePath());
  QSettings().setValue(kRecentKey, files);
  UpdateRecentActions();
}

void CMainFrame::UpdateRecentActions() {
  const QStringList files = RecentFiles();
  for (int i = 0; i < kMaxRecentFiles; ++i) {
    QAction* a = Action(qvcmd::kFileRecent1 + i);
    const bool used = i < files.size();
    a->setVisible(used);
    a->setData(used ? files[i] : QString());
    if (used)
      a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(files[i])));
  }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // Every document is asked (and saved if the user wants) before any window goes, so that an
  // answer that stops the quit leaves all of them open.
  for (QMdiSubWindow* w : mdi_->subWindowList()) {
    auto* frame = qobject_cast<CChildFrame*>(w->widget());
    if (!frame || !frame->Document()) continue;
    // The question is about the window in front.
    if (frame->Document()->IsModified()) mdi_->setActiveSubWindow(w);
    if (!frame->Document()->CanClose()) {
      event->ignore();
      return;
    }
  }
  // All agreed: the answers stand, nothing is asked again.
  CloseAllWithoutAsking();
  event->accept();
}

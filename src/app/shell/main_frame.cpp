#include "main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include "library/string_table.h"
#include "shell/child_frame.h"

namespace {

constexpr int kIdAppName = 57344;
constexpr int kIdNoCategory = 61446;
const char kRecentKey[] = "RecentFiles";

QString TableText(int id) {
  return QString::fromUtf8(frt::LoadText(id));
}

// Menu texts: the system's own where it has one, the editor's otherwise.
QString CommandText(int id) {
  if (const char* text = frt::MenuText(id); *text) return QString::fromUtf8(text);
  switch (id) {
    case qvcmd::kFileOpen:
      return QStringLiteral("(&O)打开...\tStrg+O");
    case qvcmd::kFileClose:
      return QStringLiteral("(&C)关闭");
    case qvcmd::kFilePrintSetup:
      return QStringLiteral("打印设置...");
    case qvcmd::kFilePrintPreview:
      return QStringLiteral("打印预览");
    case qvcmd::kAppExit:
      return QStringLiteral("(&X)退出");
    case qvcmd::kViewToolBar:
      return QStringLiteral("(&T)工具栏");
    case qvcmd::kViewStatusBar:
      return QStringLiteral("(&S)状态栏");
    case qvcmd::kWindowCascade:
      return QStringLiteral("层叠窗口");
    case qvcmd::kWindowTile:
      return QStringLiteral("平铺窗口");
    case qvcmd::kWindowArrange:
      return QStringLiteral("排列图标");
    default:
      return {};
  }
}

// The status prompt of a command: its string-table entry up to the line break (the part after
// it is the tool tip).
QString StatusTip(int id) {
  const QString text = TableText(id);
  return text.section(QLatin1Char('\n'), 0, 0);
}

const int kDocumentCommands[] = {qvcmd::kAssignApplications, qvcmd::kPoolLoad,
                                 qvcmd::kPoolSave,           qvcmd::kOutputPreview,
                                 qvcmd::kClearString,        qvcmd::kProperties,
                                 qvcmd::kFormatSettings,     qvcmd::kDefaultSettings};

}  // namespace

CMdiBackground::CMdiBackground(QWidget* parent) : QMdiArea(parent) {
  setBackground(QBrush(QPixmap(QStringLiteral(":/icons/background.png"))));
}

QString CMdiBackground::BannerText() {
  return QStringLiteral("Terrapane - ") + TableText(kIdAppName);
}

QFont CMdiBackground::BannerFont() {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setWeight(QFont::Bold);
  font.setPointSize(24);
  return font;
}

QRect CMdiBackground::BannerRect(const QSize& size, const QFont& font) {
  const QFontMetrics m(font);
  const int a = std::max(1, m.averageCharWidth());
  const int t = m.height();
  const int w = m.horizontalAdvance(BannerText());
  return {size.width() - w - a, size.height() - t - 10 - t / 4, w, t};
}

void CMdiBackground::paintEvent(QPaintEvent* event) {
  QMdiArea::paintEvent(event);
  QPainter painter(viewport());
  const QFont font = BannerFont();
  painter.setFont(font);
  const QRect r = BannerRect(viewport()->size(), font);
  const int shadow = std::max(1, QFontMetrics(font).averageCharWidth()) / 5;
  const int baseline = r.top() + QFontMetrics(font).ascent();
  painter.setPen(Qt::black);
  painter.drawText(r.left() + shadow, baseline, BannerText());
  painter.setPen(QColor(220, 0, 0));
  painter.drawText(r.left(), baseline, BannerText());
}

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), mdi_(new CMdiBackground(this)) {
  setObjectName(QStringLiteral("mainFrame"));
  setWindowTitle(TableText(kIdAppName));
  setWindowIcon(QIcon(QStringLiteral(":/icons/quarvel.png")));
  mdi_->setObjectName(QStringLiteral("mdiArea"));
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  BuildActions();
  BuildMenus();
  BuildToolBars();
  BuildStatusBar();
  connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
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
  if (!icon.isEmpty()) action->setIcon(QIcon(QStringLiteral(":/icons/") + icon));
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

void CMainFrame::BuildMenus() {
  auto menu = [this](const QString& title, const QString& name) {
    auto* m = new QMenu(title, this);
    m->setObjectName(name);
    connect(m, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);
    return m;
  };
  auto addRecent = [this](QMenu* m) {
    m->addSeparator();
    for (int i = 0; i < kMaxRecentFiles; ++i) m->addAction(Action(qvcmd::kFileRecent1 + i));
    m->addSeparator();
  };
  auto add = [this](QMenu* m, std::initializer_list<int> ids) {
    for (int id : ids) {
      if (id == 0)
        m->addSeparator();
      else
        m->addAction(Action(id));
    }
  };

  QMenu* view = menu(QStringLiteral("(&V)视图"), QStringLiteral("menuView"));
  add(view, {qvcmd::kViewToolBar, qvcmd::kViewStatusBar});
  QMenu* help = menu(QStringLiteral("(&H)帮助"), QStringLiteral("menuHelp"));
  add(help, {qvcmd::kAppAbout});
  QMenu* window = menu(QStringLiteral("(&W)窗口"), QStringLiteral("menuWindow"));
  connect(window, &QMenu::aboutToShow, this, [this, window] { FillWindowMenu(window); });
  FillWindowMenu(window);

  // 128: no document open.
  QMenu* file128 = menu(QStringLiteral("(&F)文件"), QStringLiteral("menuFile128"));
  add(file128, {qvcmd::kFileNew, qvcmd::kFileOpen, 0, qvcmd::kFilePrintSetup});
  addRecent(file128);
  add(file128, {qvcmd::kAppExit});
  menuSets_[kMenuMain] = {file128, view, help};

  // 129: a format window is active.
  QMenu* file129 = menu(QStringLiteral("(&F)文件"), QStringLiteral("menuFile129"));
  add(file129, {qvcmd::kFileNew, qvcmd::kFileOpen, qvcmd::kFileClose, qvcmd::kFileSave,
                qvcmd::kFileSaveAs, 0, qvcmd::kFilePrintSetup});
  addRecent(file129);
  add(file129, {qvcmd::kAppExit});
  QMenu* format = menu(QStringLiteral("(&M)格式"), QStringLiteral("menuFormat"));
  add(format, {qvcmd::kAssignApplications});
  QMenu* pool = menu(QStringLiteral("字串池"), QStringLiteral("menuPool"));
  add(pool, {qvcmd::kPoolLoad, qvcmd::kPoolSave});
  format->addMenu(pool);
  add(format, {qvcmd::kOutputPreview, qvcmd::kClearString, 0, qvcmd::kProperties});
  QMenu* options = menu(QStringLiteral("(&O)选项"), QStringLiteral("menuOptions"));
  add(options, {qvcmd::kFormatSettings, qvcmd::kDefaultSettings});
  menuSets_[kMenuFormat] = {file129, view, format, options, window, help};

  // 134: a preview window is active.
  QMenu* file134 = menu(QStringLiteral("(&F)文件"), QStringLiteral("menuFile134"));
  add(file134,
      {qvcmd::kFileClose, 0, qvcmd::kFilePrint, qvcmd::kFilePrintPreview, 0, qvcmd::kAppExit});
  menuSets_[kMenuPreview] = {file134, view, window, help};
}

void CMainFrame::BuildToolBars() {
  mainToolBar_ = addToolBar(QStringLiteral("Quarvel"));
  mainToolBar_->setObjectName(QStringLiteral("toolBar128"));
  for (int id : {qvcmd::kFileNew, qvcmd::kFileOpen, qvcmd::kFileSave, 0, qvcmd::kOutputPreview, 0,
                 qvcmd::kAppAbout}) {
    if (id == 0)
      mainToolBar_->addSeparator();
    else
      mainToolBar_->addAction(Action(id));
  }
  previewToolBar_ = addToolBar(QStringLiteral("Preview"));
  previewToolBar_->setObjectName(QStringLiteral("toolBar134"));
  for (int id : {qvcmd::kFilePrint, qvcmd::kFilePrintPreview, 0, qvcmd::kFileClose}) {
    if (id == 0)
      previewToolBar_->addSeparator();
    else
      previewToolBar_->addAction(Action(id));
  }
  previewToolBar_->hide();
}

void CMainFrame::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  const QStringList texts = {QString(), TableText(kIdNoCategory), QStringLiteral("CAP"),
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
  panes_[1]->setText(text.isEmpty() ? TableText(kIdNoCategory) : text);
}

void CMainFrame::ShowMenuSet(int id) {
  if (activeMenuSet_ == id) return;
  activeMenuSet_ = id;
  menuBar()->clear();
  for (QMenu* m : MenuSet(id)) menuBar()->addMenu(m);
}

QMdiSubWindow* CMainFrame::AddFormatFrame(CChildFrame* frame) {
  QMdiSubWindow* sub = mdi_->addSubWindow(frame);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(frame->windowIcon());
  const QSize area = mdi_->viewport()->size();
  sub->resize(std::max(700, area.width() * 4 / 5), std::max(400, area.height() * 4 / 5));
  connect(frame, &QWidget::windowTitleChanged, this, [this] { OnSubWindowActivated(nullptr); });
  sub->show();
  mdi_->setActiveSubWindow(sub);
  return sub;
}

QMdiSubWindow* CMainFrame::AddPreviewFrame(CChildFrmFormatPreview* frame, const QString& title) {
  frame->setWindowTitle(title);
  QMdiSubWindow* sub = mdi_->addSubWindow(frame);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(frame->windowIcon());
  sub->resize(std::max(600, mdi_->viewport()->width() * 3 / 4),
              std::max(300, mdi_->viewport()->height() * 3 / 4));
  sub->show();
  mdi_->setActiveSubWindow(sub);
  return sub;
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
  previewToolBar_->setVisible(mainToolBarWanted_ && preview);

  const bool hasDocument = format && format->Document();
  Action(qvcmd::kFileClose)->setEnabled(mdi_->activeSubWindow() != nullptr);
  Action(qvcmd::kFileSave)->setEnabled(hasDocument);
  Action(qvcmd::kFileSaveAs)->setEnabled(hasDocument);
  Action(qvcmd::kFilePrint)->setEnabled(preview != nullptr);
  Action(qvcmd::kFilePrintPreview)->setEnabled(preview != nullptr);
  for (int id : kDocumentCommands)
    Action(id)->setEnabled(hasDocument && format->Document()->IsCommandEnabled(id));

  QString caption = TableText(kIdAppName);
  if (QMdiSubWindow* w = mdi_->activeSubWindow()) {
    QString title = w->widget()->windowTitle();
    title.replace(QStringLiteral("[*]"), w->widget()->isWindowModified() ? "*" : "");
    caption += QStringLiteral(" - ") + title;
  }
  setWindowTitle(caption);
  SetCategoryText(format ? format->StatusText() : QString());
}

void CMainFrame::OnDocumentCommand(int id) {
  CChildFrame* frame = ActiveFormatFrame();
  if (!frame || !frame->Document() || !frame->Document()->IsCommandEnabled(id)) return;
  frame->Document()->OnCommand(id);
  frame->UpdateTitle();
}

void CMainFrame::OnOpen() {
  const QString path =
      QFileDialog::getOpenFileName(this, QStringLiteral("打开"), QDir::currentPath(),
                                   QStringLiteral("格式文件 (*.frt);;所有文件 (*)"));
  if (!path.isEmpty()) emit openFileRequested(path);
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
  // Each document window asks to save its document; one that stays open stops the exit.
  for (QMdiSubWindow* w : mdi_->subWindowList()) {
    if (!w->close()) {
      event->ignore();
      return;
    }
  }
  event->accept();
}

#include "help/help_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "library/string_table.h"

namespace qvhelp {

namespace {

struct Section {
  const char* objectName;
  const char* anchor;
};

// Object names of the windows and panes, and the manual's section for each. The nearest named
// widget wins, so a pane inside a format window finds its own section before the window's.
constexpr Section kSections[] = {
    {"formatStringEditor", "editor"},
    {"previewPane", "editor"},
    {"formatTree", "tree"},
    {"insertVariableWindow", "variables"},
    {"insertVariableDock", "variables"},
    {"variableSheet", "variables"},
    {"assignApplicationsDialog", "applications"},
    {"stringPoolDialog", "pool"},
    {"stringPropertiesDialog", "pool"},
    {"defaultSettingsSheet", "settings"},
    {"formatSettingsSheet", "settings"},
    {"formatPropertiesDialog", "settings"},
    {"exportPreviewFrame", "export"},
    {"workbenchWindow", "workbench"},
    {"formatFrame", "tree"},
    {"openDialog", "files"},
    {"saveAsDialog", "files"},
};

}  // namespace

ManualLanguage CurrentManualLanguage() {
  return frt::CurrentLanguage() == frt::Language::kEnglish ? ManualLanguage::kEnglish
                                                           : ManualLanguage::kChinese;
}

QString ManualFileName(ManualLanguage language) {
  return language == ManualLanguage::kEnglish ? QStringLiteral("manual.en.md")
                                              : QStringLiteral("manual.md");
}

QString DocsDirectory(const QString& fileName) {
  const QStringList candidates = {
      QDir(QCoreApplication::applicationDirPath())
          .filePath(QStringLiteral(QUARVEL_DOC_DIR_FROM_BINDIR)),
      QStringLiteral(QUARVEL_SOURCE_DOC_DIR),
  };
  for (const QString& dir : candidates)
    if (QFileInfo::exists(QDir(dir).filePath(fileName))) return QDir::cleanPath(dir);
  return {};
}

QString AnchorFor(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    const QString name = w->objectName();
    for (const Section& s : kSections)
      if (name == QLatin1String(s.objectName)) return QString::fromLatin1(s.anchor);
  }
  return {};
}

}  // namespace qvhelp

CQVHelpWindow::CQVHelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("helpWindow"));
  setWindowTitle(tr("Quarvel 使用手册"));
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("helpBrowser"));
  browser_->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  resize(820, 640);
}

bool CQVHelpWindow::ShowManual(const QString& anchor) {
  if (path_.isEmpty()) {
    const QString file = qvhelp::ManualFileName(qvhelp::CurrentManualLanguage());
    const QString dir = qvhelp::DocsDirectory(file);
    if (dir.isEmpty()) return false;
    path_ = QDir(dir).filePath(file);
    // Pictures are named relative to the manual's folder.
    browser_->setSearchPaths({dir});
    browser_->setSource(QUrl::fromLocalFile(path_), QTextDocument::MarkdownResource);
  }
  if (anchor.isEmpty())
    browser_->verticalScrollBar()->setValue(0);
  else
    browser_->scrollToAnchor(anchor);
  return true;
}

CQVHelpKey::CQVHelpKey(QWidget* mainWindow, QObject* parent)
    : QObject(parent), mainWindow_(mainWindow) {}

void CQVHelpKey::OpenAt(const QString& anchor) {
  // A modal window blocks every window that is not its child: the manual then belongs to it.
  QWidget* owner = QApplication::activeModalWidget();
  if (!owner) owner = mainWindow_;
  if (!window_ || window_->parentWidget() != owner) {
    if (window_) window_->deleteLater();
    window_ = new CQVHelpWindow(owner);
    window_->setAttribute(Qt::WA_DeleteOnClose);
  }
  if (!window_->ShowManual(anchor)) {
    window_->Browser()->setPlainText(tr("找不到使用手册。"));
  }
  window_->show();
  window_->raise();
  window_->activateWindow();
}

bool CQVHelpKey::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1 ||
      !watched->isWidgetType())
    return false;
  QWidget* from = QApplication::focusWidget();
  if (!from) from = QApplication::activeWindow();
  if (!from) from = static_cast<QWidget*>(watched);
  if (window_ && from->window() == window_) return false;  // the manual is in front already
  if (from->window() == mainWindow_) {
    // In the main window the focus may sit on a toolbar: the active document window counts.
    QWidget* front = nullptr;
    if (qvhelp::AnchorFor(from).isEmpty()) emit resolveMainWindow(front);
    if (front) from = front;
  }
  OpenAt(qvhelp::AnchorFor(from));
  return true;
}

#pragma once
// What the whole-story GUI tests share: an editor started on the shipped data in a scratch
// application folder, the format windows it shows, and answers to the dialogs it opens.
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <functional>
#include <memory>

#include "editor/qv_view_edit.h"
#include "library/error_message.h"
#include "library/text_encoding.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/qv_app.h"
#include "shell/qv_doc.h"
#include "shell/qv_view_tree.h"

namespace story {

// Runs `action` on the next modal window of type T as soon as it shows (looked for every 10 ms
// for up to 5 s). The flag tells whether it was found.
template <class T>
std::shared_ptr<bool> OnNextModal(std::function<void(T*)> action) {
  auto found = std::make_shared<bool>(false);
  auto* timer = new QTimer;
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [timer, action, clock, found] {
    if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      *found = true;
      action(w);
      // A check that failed inside `action` leaves the window open: end it so the test goes on.
      QPointer<T> open(w);
      QTimer::singleShot(3000, [open] {
        if (open && open->isVisible()) QMetaObject::invokeMethod(open.data(), "reject");
      });
    } else if (clock->elapsed() > 5000) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(10);
  return found;
}

// Types a file name into a file dialog and confirms it.
// Types a file name into a file dialog and confirms it. The dialog's file list fills in a
// thread of its own and may select a row of its own meanwhile, which would win over the typed
// name: the rows are unselected and the whole path typed.
inline void AcceptFile(QFileDialog* dialog, const QString& path) {
  QPointer<QFileDialog> d(dialog);
  d->selectFile(path);
  for (int attempt = 0; attempt < 20 && d && d->isVisible(); ++attempt) {
    for (QAbstractItemView* view : d->findChildren<QAbstractItemView*>())
      if (view->selectionModel()) view->selectionModel()->clearSelection();
    if (auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->setText(path);
    QMetaObject::invokeMethod(d.data(), "accept");
    if (d && d->isVisible()) QTest::qWait(20);
  }
}

inline void TypeText(QWidget* w, const QString& text) {
  for (QChar ch : text)
    QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

inline QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// GBK bytes of UTF-8 text, for the files the tests write.
inline QByteArray Gbk(const char* utf8) {
  return QByteArray::fromStdString(frt::Utf8ToGbk(utf8));
}

// A started editor on a fresh application folder; messages go to a recording sink.
class Editor {
 public:
  explicit Editor(const QString& file = {}) {
    CQVAppOptions o;
    o.locations.appDir = dir.filePath(QStringLiteral("app")).toStdString();
    o.locations.sharedDir = QUARVEL_SOURCE_DATA_DIR;
    o.installMessageSink = false;
    o.env = [](const char*) -> const char* { return nullptr; };
    o.file = file;
    app = std::make_unique<CQVApp>(o);
  }
  ~Editor() { app.reset(); }

  bool Start() { return app->InitInstance(); }
  CMainFrame& Frame() const { return *app->MainFrame(); }
  QString AppFile(const QString& name) const { return dir.filePath("app/" + name); }

  QList<CChildFrame*> Windows() const { return Frame().FormatFrames(); }
  CChildFrame* Active() const { return Frame().ActiveFormatFrame(); }
  CQVDoc* Doc(CChildFrame* f = nullptr) const {
    if (!f) f = Active();
    return f ? dynamic_cast<CQVDoc*>(f->Document()) : nullptr;
  }
  CQVViewTree* Tree() const { return Doc() ? Doc()->Tree() : nullptr; }
  CQVViewEdit* Edit() const { return Active() ? Active()->Editor() : nullptr; }

  // Selects the tree item of a string ID (or block) as a click would.
  bool Select(std::int32_t datum) const {
    QTreeWidgetItem* item = Tree() ? Tree()->FindItem(datum) : nullptr;
    if (!item) return false;
    Tree()->SelectItem(item);
    return Tree()->currentItem() == item;
  }

  QTemporaryDir dir;
  std::unique_ptr<CQVApp> app;
};

}  // namespace story

#pragma once
// The one fixture of the GUI tests: a scratch application folder on the shipped data, started at
// the depth a test needs (a settings profile, a running workspace, or the whole editor), a
// recording message sink, answers to the modal windows that open, and file and typing helpers.
#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <memory>
#include <string>

#include "catalogue/data_locations.h"
#include "catalogue/format_template.h"
#include "catalogue/ini_reader.h"
#include "document/doc_format.h"
#include "document/format_document.h"
#include "editor/qv_view_edit.h"
#include "library/error_message.h"
#include "library/text_encoding.h"
#include "pool/assign_appl_dlg.h"
#include "pool/string_pool.h"
#include "pool/string_pool_dlg.h"
#include "preview/print_layout.h"
#include "preview/qv_view_preview.h"
#include "profile/qv_profile.h"
#include "settings/qv_edit_var.h"
#include "settings/settings_pages.h"
#include "settings/variable_pages.h"
#include "shell/child_frame.h"
#include "shell/dialog_hooks.h"
#include "shell/format_props_dlg.h"
#include "shell/insert_var_dlg.h"
#include "shell/main_frame.h"
#include "shell/qv_app.h"
#include "shell/qv_doc.h"
#include "shell/qv_view_tree.h"
#include "shell/qv_workspace.h"

// GBK bytes of the UTF-8 text of a test, as the data holds them.
inline std::string Gbk(const char* utf8) {
  return frt::Utf8ToGbk(utf8);
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

// Types text key by key, as a user would.
inline void TypeText(QWidget* w, const QString& text) {
  for (QChar ch : text)
    QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Puts the caret at `position`, selecting from `anchor` when one is given.
inline void SetCaret(QTextEdit* edit, int position, int anchor = -1) {
  QTextCursor c = edit->textCursor();
  c.setPosition(anchor < 0 ? position : anchor);
  c.setPosition(position, anchor < 0 ? QTextCursor::MoveAnchor : QTextCursor::KeepAnchor);
  edit->setTextCursor(c);
}

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

// One variable reference as the document takes it: options 1, unit code 00, unit type and data
// type left to the pool (000), the code.
inline std::string VariableGroup(int code) {
  char group[10];
  std::snprintf(group, sizeof group, "100000%03d", code);
  return group;
}

// The texts of a list, a combo box, or the children of a tree item, in order.
inline QStringList Texts(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}
inline QStringList Texts(const QComboBox* combo) {
  QStringList out;
  for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
  return out;
}
inline QStringList Texts(const QTreeWidgetItem* item) {
  QStringList out;
  for (int i = 0; i < item->childCount(); ++i) out << item->child(i)->text(0);
  return out;
}

// Text, variables and applications of one string of a format.
struct StringInfo {
  std::string text, variables, applications;
};
inline StringInfo Info(const CDocFormat& format, std::int32_t id) {
  StringInfo s;
  format.GetFormatStringInfo(id, s.text, s.variables, s.applications);
  return s;
}

// A test program's main: the application, its resources and a name of its own.
#define QUARVEL_APP_TEST_MAIN(Class)                              \
  int main(int argc, char** argv) {                               \
    QApplication app(argc, argv);                                 \
    InitAppResources();                                           \
    QCoreApplication::setApplicationName(QStringLiteral(#Class)); \
    Class test;                                                   \
    return QTest::qExec(&test, argc, argv);                       \
  }

// A scratch application folder with the shipped data as the shared folder.
struct CScratchApp {
  QTemporaryDir dir;
  CDataLocationOptions LocationOptions() const {
    return {dir.filePath(QStringLiteral("app")).toStdString(), QUARVEL_SOURCE_DATA_DIR};
  }
  QString AppFile(const QString& name) const { return dir.filePath("app/" + name); }
  // Options of an editor on this folder, blind to the environment, messages left to the test.
  CQVAppOptions AppOptions() const {
    CQVAppOptions o;
    o.locations = LocationOptions();
    o.installMessageSink = false;
    o.env = [](const char*) -> const char* { return nullptr; };
    return o;
  }
};

// Depth 1: the settings profile loaded, with a small pool of variables.
struct CTestProfile : CScratchApp {
  CDataLocations locations;
  CIniReader reader;
  std::unique_ptr<CQVProfile> profile;
  CQVPoolTable pool;

  // False when the shipped settings could not be loaded.
  bool Load() {
    if (locations.Resolve(LocationOptions()) != frt::kOk) return false;
    if (locations.PrepareAppDir() != frt::kOk) return false;
    profile = std::make_unique<CQVProfile>(reader, locations);
    pool.Add({11, 11, 0, Gbk("点号")});
    pool.Add({81, 8, 2, Gbk("东坐标")});
    pool.Add({82, 8, 2, Gbk("北坐标")});
    pool.Add({83, 8, 2, Gbk("高程")});
    return profile->Read() != 0;
  }

  CQVEditVar Variable(int code, CQVEditVar::Direction d = CQVEditVar::Direction::kOutput) const {
    return CQVEditVar(*profile, pool, code, d);
  }
  std::string Reference(int code) const {  // empty when it cannot be built
    std::string reference;
    return Variable(code).BuildReference(reference) ? reference : std::string();
  }
};

// Depth 2: a running workspace (settings, catalogue and pool), messages recorded.
struct CDialogsFixture : CScratchApp {
  CQVWorkspace workspace;
  CRecordingMessageSink sink;
  std::unique_ptr<CScopedMessageSink> scoped;

  // False when the shipped data could not be started with.
  bool Start() {
    scoped = std::make_unique<CScopedMessageSink>(sink);
    CWorkspaceOptions options;
    options.locations = LocationOptions();
    return workspace.Start(options) && workspace.Pool() != nullptr;
  }

  std::unique_ptr<CFormatDocument> NewFormat(const char* templateName) {
    auto document = std::make_unique<CFormatDocument>(workspace.DocContext());
    if (!document->New(std::string_view(templateName))) return nullptr;
    return document;
  }

  QString SettingsPath() const {
    return QString::fromStdString(workspace.Locations().SettingsPath());
  }
};

// What every editor test shares: messages recorded, standard paths of tests, the folder to go
// back to.
struct Session {
  CRecordingMessageSink sink_;
  CScopedMessageSink scoped_{sink_};
  QString cwd_ = QDir::currentPath();
  Session() { QStandardPaths::setTestModeEnabled(true); }
};

// Depth 3: the whole editor started; messages go to the test's own recording sink.
class Editor : public CScratchApp {
 public:
  explicit Editor(const QString& file = {}) {
    CQVAppOptions o = AppOptions();
    o.file = file;
    app = std::make_unique<CQVApp>(o);
  }
  ~Editor() { app.reset(); }

  bool Start() { return app->InitInstance(); }
  CMainFrame& Frame() const { return *app->MainFrame(); }

  QList<CChildFrame*> Windows() const { return Frame().FormatFrames(); }
  CChildFrame* Active() const { return Frame().ActiveFormatFrame(); }
  CQVDoc* Doc(CChildFrame* f = nullptr) const {
    if (!f) f = Active();
    return f ? dynamic_cast<CQVDoc*>(f->Document()) : nullptr;
  }
  CQVViewTree* Tree() const { return Doc() ? Doc()->Tree() : nullptr; }
  CQVViewEdit* Edit() const { return Active() ? Active()->Editor() : nullptr; }
  // The document's format as the tree edits it.
  CDocFormat& Format() const { return Doc()->Document().Format(); }

  // Selects the tree item of a string ID (or block) as a click would.
  bool Select(std::int32_t datum) const {
    QTreeWidgetItem* item = Tree() ? Tree()->FindItem(datum) : nullptr;
    if (!item) return false;
    Tree()->SelectItem(item);
    return Tree()->currentItem() == item;
  }
  // Updates the commands' states and triggers one, as its menu entry would.
  void Trigger(int id) const {
    Frame().UpdateCommands();
    Frame().Action(id)->trigger();
  }

  std::unique_ptr<CQVApp> app;
};

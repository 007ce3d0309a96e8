#pragma once
// What the dialog tests share: a running workspace (settings, catalogue and pool) in a scratch
// application folder seeded with the shipped QV.ini, formats of the shipped templates, a
// recording message sink, and a way to act on the next modal dialog.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "document/format_document.h"
#include "library/error_message.h"
#include "library/text_encoding.h"
#include "shell/qv_workspace.h"

struct CDialogsFixture {
  QTemporaryDir dir;
  CQVWorkspace workspace;
  CRecordingMessageSink sink;
  std::unique_ptr<CScopedMessageSink> scoped;

  // False when the shipped data could not be started with.
  bool Start() {
    scoped = std::make_unique<CScopedMessageSink>(sink);
    CWorkspaceOptions options;
    options.locations.appDir = dir.filePath(QStringLiteral("app")).toStdString();
    options.locations.sharedDir = QUARVEL_SOURCE_DATA_DIR;
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
  QString PoolPath() const { return QString::fromStdString(workspace.Locations().PoolPath()); }
  QByteArray ReadFile(const QString& path) const {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

// UTF-8 text of the tests to the GBK bytes of the data.
inline std::string Gbk(const char* utf8) {
  return frt::Utf8ToGbk(utf8);
}

// One variable reference as the document takes it: options 1, unit code 00, unit type and data
// type left to the pool (000), the code.
inline std::string VariableGroup(int code) {
  char group[10];
  std::snprintf(group, sizeof group, "100000%03d", code);
  return group;
}

// Runs `act` on the next modal dialog (the one that opens after this call), once it is shown.
inline void WhenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QWidget* before = QApplication::activeModalWidget();
  QObject::connect(timer, &QTimer::timeout, [timer, tries, before, act] {
    QWidget* modal = QApplication::activeModalWidget();
    if ((modal && modal != before && modal->isVisible()) || ++*tries > 300) {
      timer->stop();
      timer->deleteLater();
      if (modal && modal != before) act(modal);
    }
  });
  timer->start(10);
}

// With QUARVEL_DIALOG_SHOTS set to a folder, the tests leave a picture of each dialog there.
inline void Shot(QWidget* widget, const char* name) {
  const QByteArray folder = qgetenv("QUARVEL_DIALOG_SHOTS");
  if (folder.isEmpty()) return;
  widget->show();
  QCoreApplication::processEvents();
  widget->grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(QString::fromUtf8(name)));
}

// quarvel: the desktop editor for format files.
#include <QApplication>
#include <QCoreApplication>
#include <cstdio>

#include "shell/qv_app.h"
#include "shell/screenshots.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Orvanti"));
  QCoreApplication::setApplicationName(QStringLiteral("Quarvel"));
  InitAppResources();

  QStringList arguments = QCoreApplication::arguments();
  QString screenshots;
  if (qsizetype at = arguments.indexOf(QStringLiteral("--screenshots")); at > 0) {
    if (at + 1 < arguments.size()) screenshots = arguments[at + 1];
    arguments.remove(at, std::min<qsizetype>(2, arguments.size() - at));
    if (screenshots.isEmpty()) {
      std::fputs("quarvel: --screenshots needs a directory\n", stderr);
      return 2;
    }
  }
  CQVAppOptions options;
  QString error;
  if (!CQVApp::ParseArguments(arguments, options, &error)) {
    std::fprintf(stderr, "quarvel: %s\nUsage: quarvel [--app-dir DIR] [--shared-dir DIR] [FILE]\n",
                 error.toLocal8Bit().constData());
    return 2;
  }
  options.showMainWindow = screenshots.isEmpty();
  CQVApp app(options);
  if (!app.InitInstance()) return 1;
  int status = screenshots.isEmpty() ? application.exec() : TakeScreenshots(app, screenshots);
  const int exitStatus = app.ExitInstance();
  return status != 0 ? status : exitStatus;
}

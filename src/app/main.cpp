// quarvel: the desktop editor for format files.
#include <QApplication>
#include <QCoreApplication>
#include <cstdio>

#include "pool/dialog_hooks.h"
#include "preview/preview_screenshots.h"
#include "shell/qv_app.h"
#include "shell/screenshots.h"

namespace {
const char kUsage[] =
    "Usage: quarvel [--app-dir DIR] [--shared-dir DIR] [FILE]\n"
    "  --app-dir DIR     the per-user folder (Global/QV.ini, pool.dat, Format)\n"
    "  --shared-dir DIR  the shared data folder (Templates/Quarvel/QV.tpl)\n"
    "  --help, --version\n";
}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Orvanti"));
  QCoreApplication::setApplicationName(QStringLiteral("Quarvel"));
  InitAppResources();

  QStringList arguments = QCoreApplication::arguments();
  if (arguments.contains(QStringLiteral("--help"))) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (arguments.contains(QStringLiteral("--version"))) {
    std::printf("quarvel %s\n", QUARVEL_VERSION);
    return 0;
  }
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
    std::fprintf(stderr, "quarvel: %s\n%s", error.toLocal8Bit().constData(), kUsage);
    return 2;
  }
  options.showMainWindow = screenshots.isEmpty();
  CQVApp app(options);
  InstallDialogHooks(app);
  if (!app.InitInstance()) return 1;
  int status = screenshots.isEmpty() ? application.exec() : TakeScreenshots(app, screenshots);
  if (!screenshots.isEmpty() && status == 0 &&
      !TakePreviewScreenshots(*app.MainFrame(), screenshots))
    status = 1;
  const int exitStatus = app.ExitInstance();
  return status != 0 ? status : exitStatus;
}

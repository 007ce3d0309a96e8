// quarvel: the desktop editor for format files.
#include <QApplication>
#include <QCoreApplication>
#include <cstdio>

#include "shell/app_language.h"
#include "shell/dialog_hooks.h"
#include "shell/preview_screenshots.h"
#include "shell/qv_app.h"
#include "shell/screenshots.h"
#include "shell/workbench_screenshots.h"

namespace {

// Help and version need no window system: they are answered from the raw arguments, before the
// application object connects to a display (which ends the program where there is none).
bool AnsweredWithoutDisplay(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  CQVAppOptions ignored;
  switch (CQVApp::ParseArguments(arguments, ignored)) {
    case CQVApp::Request::kHelp:
      std::fputs(CQVApp::HelpText().toLocal8Bit().constData(), stdout);
      return true;
    case CQVApp::Request::kVersion:
      std::printf("quarvel %s\n", QUARVEL_VERSION);
      return true;
    default:
      // Anything else is read again once the application object has taken its own options.
      return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (AnsweredWithoutDisplay(argc, argv)) return 0;
  QApplication application(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Orvanti"));
  QCoreApplication::setApplicationName(QStringLiteral("Quarvel"));
  InitAppResources();

  CQVAppOptions options;
  QString error;
  if (CQVApp::ParseArguments(QCoreApplication::arguments(), options, &error) !=
      CQVApp::Request::kRun) {
    std::fprintf(stderr, "quarvel: %s\n%s", error.toLocal8Bit().constData(),
                 CQVApp::HelpText().toLocal8Bit().constData());
    return 2;
  }
  // Before the first window: every text is made in the chosen language.
  qvlang::ApplyLanguage(application,
                        qvlang::ChooseLanguage(options.language, qvlang::SavedLanguage(),
                                               frt::EnvironmentLanguage()));
  const QString screenshots = options.screenshots;
  options.showMainWindow = screenshots.isEmpty();
  CQVApp app(options);
  InstallDialogHooks(app);
  if (!app.InitInstance()) return 1;
  int status = screenshots.isEmpty() ? application.exec() : TakeScreenshots(app, screenshots);
  if (!screenshots.isEmpty() && status == 0 &&
      (!TakePreviewScreenshots(*app.MainFrame(), screenshots) ||
       !TakeWorkbenchScreenshots(app, screenshots)))
    status = 1;
  const int exitStatus = app.ExitInstance();
  return status != 0 ? status : exitStatus;
}

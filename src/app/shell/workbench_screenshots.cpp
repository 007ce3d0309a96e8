#include "shell/workbench_screenshots.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include "library/text_encoding.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/qv_app.h"
#include "shell/qv_doc.h"
#include "shell/qv_view_tree.h"
#include "shell/workbench_open.h"
#include "workbench/wb_export_pane.h"
#include "workbench/wb_import_pane.h"
#include "workbench/workbench_window.h"

namespace {

// The shipped field book written by hand: a station, a backsight and shots, one with a slip of
// the keyboard (an O for a 0).
const char kData[] =
    "STN,S1,5000.000,3000.000,120.450,1.552,CTRL\r\n"
    "BS,S2,45.12340,0.00000,1.600,2026-12-06,08:15:02\r\n"
    "SS,101,123.45670,88.12340,56.789,1.500,2026-12-06,08:16:10,WALL\r\n"
    "SS,102,130.02000,89.50010,61.204,1.500,2026-12-06,08:16:55,WALL\r\n"
    "SS,103,141.98760,9O.25000,48.330,1.800,2026-12-06,08:17:40\r\n"
    "SS,104,150.11110,90.02000,52.118,1.800,2026-12-06,08:18:22,TREE\r\n"
    "\r\n"
    "STN,S2,5031.870,3031.522,121.003,1.498,CTRL\r\n"
    "BS,S1,225.12340,0.00000,1.600,2026-12-06,09:02:11\r\n"
    "SS,201,10.00100,91.00000,12.500,1.300,2026-12-06,09:03:05,TREE\r\n";

void Settle(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) QApplication::processEvents();
}

// The workbench of a shipped example format, or nullptr.
CWorkbenchWindow* OpenExample(CQVApp& app, const QString& name) {
  const QString path =
      QFile::decodeName(app.Locations().SharedDir().c_str()) + QStringLiteral("/Workbench/") + name;
  if (!app.OpenFile(path)) return nullptr;
  CChildFrame* child = app.MainFrame()->ActiveFormatFrame();
  auto* doc = child ? dynamic_cast<CQVDoc*>(child->Document()) : nullptr;
  CWorkbenchWindow* window = doc && doc->Tree() ? OpenWorkbench(*doc->Tree()) : nullptr;
  if (window) {
    window->move(40, 40);
    window->resize(1040, 400);
  }
  return window;
}

}  // namespace

bool TakeWorkbenchScreenshots(CQVApp& app, const QString& directory) {
  const QDir dir(directory);
  CWorkbenchWindow* window = OpenExample(app, QStringLiteral("TotalStationCsv.frt"));
  if (!window) return false;
  QTemporaryDir scratch;
  const QString data = scratch.filePath(QStringLiteral("fieldbook.txt"));
  QFile file(data);
  const std::string bytes = frt::Utf8ToGbk(kData);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()))
    return false;
  file.close();
  window->ImportPane()->OpenFile(data);
  Settle(500);
  bool ok = window->grab().save(dir.filePath(QStringLiteral("workbench-import.png")));
  window->close();

  window = OpenExample(app, QStringLiteral("TotalStationReport.frt"));
  if (!window) return false;
  window->Tabs()->setCurrentWidget(window->ExportPane());
  window->ExportPane()->OpenRecords(QFile::decodeName(app.Locations().SharedDir().c_str()) +
                                    QStringLiteral("/Workbench/survey_records.csv"));
  Settle(300);
  ok = window->grab().save(dir.filePath(QStringLiteral("workbench-export.png"))) && ok;
  window->close();
  return ok;
}

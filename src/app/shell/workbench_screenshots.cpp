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

// Points as a field book holds them, one written with commas and one of a two-word block among
// them.
const char kData[] =
    "1001 4500123.456 5300987.654 412.300 护坡\r\n"
    "1002 4500134.956 5300980.404 412.425 护坡\r\n"
    "1003 4500146.456 5300973.154 412.550 路边\r\n"
    "1004,4500157.956,5300965.904,412.675,路边\r\n"
    "1005 4500169.456 5300958.654 412.800 树\r\n"
    "\r\n"
    "2001 井盖\r\n"
    "1006 4500180.956 5300951.404 412.925 树\r\n"
    "1007 4500192.456 5300944.154 413.050 围墙\r\n";

void Settle(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) QApplication::processEvents();
}

}  // namespace

bool TakeWorkbenchScreenshots(CQVApp& app, const QString& directory) {
  const QString format = QFile::decodeName(app.Locations().FormatDir().c_str()) +
                         QStringLiteral("/CoordinateImport.frt");
  if (!app.OpenFile(format)) return false;
  CChildFrame* child = app.MainFrame()->ActiveFormatFrame();
  auto* doc = child ? dynamic_cast<CQVDoc*>(child->Document()) : nullptr;
  if (!doc || !doc->Tree()) return false;
  CWorkbenchWindow* window = OpenWorkbench(*doc->Tree());
  if (!window) return false;
  QTemporaryDir scratch;
  const QString data = scratch.filePath(QStringLiteral("points.txt"));
  QFile file(data);
  const std::string bytes = frt::Utf8ToGbk(kData);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()))
    return false;
  file.close();
  window->move(40, 40);
  window->resize(980, 420);
  window->ImportPane()->OpenFile(data);
  Settle(500);
  const QDir dir(directory);
  bool ok = window->grab().save(dir.filePath(QStringLiteral("workbench-import.png")));
  window->Tabs()->setCurrentWidget(window->ExportPane());
  emit window->ExportPane()->importRecordsWanted();
  Settle(500);
  ok = window->grab().save(dir.filePath(QStringLiteral("workbench-export.png"))) && ok;
  window->close();
  return ok;
}

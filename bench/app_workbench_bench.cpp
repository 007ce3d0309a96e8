// The data workbench against plain Qt, in the same run, on the offscreen platform: a file of
// 1,000,000 data lines opened until the first screen of the table is painted.
//  - workbench: the window of the shipped coordinate format, the file opened in its import tab
//    (read on the loader's thread, the rows scanned as they are shown);
//  - plain: the file read whole and split into lines, a QTableView over a model of the lines.
// Both sides are timed from the window's construction to the first paint that shows rows.
#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QApplication>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/data_locations.h"
#include "catalogue/format_template_manager.h"
#include "catalogue/ini_reader.h"
#include "document/format_document.h"
#include "library/frt_engine.h"
#include "preview/sample_value_source.h"
#include "profile/qv_profile.h"
#include "shell/qv_app.h"
#include "workbench/wb_import_model.h"
#include "workbench/wb_import_pane.h"
#include "workbench/workbench_window.h"

#include "bench_support.h"

namespace {

constexpr int kLines = 1000000;

QTemporaryDir& Scratch() {
  static QTemporaryDir dir;
  return dir;
}

// The shipped settings, catalogue and coordinate format, and the data file.
struct Workspace {
  CDataLocations locations;
  CIniReader reader;
  std::unique_ptr<CQVProfile> profile;
  std::unique_ptr<CFormatTemplateManager> catalogue;
  CSampleValueSource source;
  CFrtEngine engine{&source};
  std::unique_ptr<CFormatDocument> document;
  QString data;

  bool Load() {
    CDataLocationOptions options;
    options.appDir = Scratch().filePath(QStringLiteral("app")).toStdString();
    options.sharedDir = QUARVEL_SOURCE_DATA_DIR;
    if (locations.Resolve(options) != frt::kOk || locations.PrepareAppDir() != frt::kOk)
      return false;
    profile = std::make_unique<CQVProfile>(reader, locations);
    if (!profile->Read()) return false;
    catalogue = std::make_unique<CFormatTemplateManager>(reader, locations.TemplatePath(),
                                                         locations.SettingsPath());
    if (!catalogue->Read()) return false;
    source.SetCatalogue(catalogue.get());
    CDocContext context;
    context.catalogue = catalogue.get();
    context.profile = profile.get();
    context.engine = &engine;
    document = std::make_unique<CFormatDocument>(context);
    if (!document->Open(QUARVEL_SOURCE_DATA_DIR "/Format/CoordinateImport.frt")) return false;
    // Point, east, north, height and code; every 50th line matches nothing.
    data = Scratch().filePath(QStringLiteral("million.txt"));
    QFile file(data);
    if (!file.open(QIODevice::WriteOnly)) return false;
    std::string block;
    for (int i = 1; i <= kLines; ++i) {
      if (i % 50 == 0) {
        block += "-- station " + std::to_string(i) + " --\r\n";
      } else {
        block += "P" + std::to_string(i) + " " + std::to_string(500000 + i % 9973) + ".125 " +
                 std::to_string(4200000 + i % 7919) + ".250 " + std::to_string(100 + i % 97) +
                 ".05 CODE" + std::to_string(i % 13) + "\r\n";
      }
      if (block.size() > (1 << 20) || i == kLines) {
        file.write(block.data(), static_cast<qint64>(block.size()));
        block.clear();
      }
    }
    return true;
  }
};

Workspace& Shared() {
  return LoadedOnce<Workspace>("app_workbench_bench");
}

// The lines of a file, read whole, one row each.
class PlainLinesModel : public QAbstractTableModel {
 public:
  explicit PlainLinesModel(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) lines_ = file.readAll().split('\n');
    if (!lines_.isEmpty() && lines_.back().isEmpty()) lines_.removeLast();
  }
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : 2;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (index.column() == 0) return index.row() + 1;
    return QString::fromLocal8Bit(lines_[index.row()].trimmed());
  }

 private:
  QList<QByteArray> lines_;
};

// Runs the event loop until `table` holds a screen of rows and has painted them.
void WaitFirstScreen(QWidget& window, QTableView& table) {
  for (int i = 0; i < 100000; ++i) {
    QApplication::processEvents();
    if (window.windowHandle() && window.windowHandle()->isExposed() &&
        table.model()->rowCount() >= 30)
      break;
  }
  table.viewport()->repaint();
}

void Report(benchmark::State& state, std::chrono::steady_clock::time_point start) {
  state.SetIterationTime(
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

void BM_Workbench(benchmark::State& state) {
  Workspace& ws = Shared();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    auto window = std::make_unique<CWorkbenchWindow>(
        ws.document->Format(), *ws.document->Template(), QStringLiteral("bench"));
    window->ImportPane()->OpenFile(ws.data);
    window->show();
    WaitFirstScreen(*window, *window->ImportPane()->Table());
    Report(state, start);
    if (window->ImportPane()->Model()->rowCount() < 30) state.SkipWithError("no rows shown");
    window.reset();  // cancels the rest of the load
    QApplication::processEvents();
  }
}

void BM_Plain(benchmark::State& state) {
  Workspace& ws = Shared();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    auto window = std::make_unique<QWidget>();
    auto* table = new QTableView(window.get());
    auto* model = new PlainLinesModel(ws.data);
    model->setParent(table);
    table->setModel(model);
    window->resize(900, 560);
    table->resize(900, 560);
    window->show();
    WaitFirstScreen(*window, *table);
    Report(state, start);
    window.reset();
    QApplication::processEvents();
  }
}

}  // namespace

BENCHMARK(BM_Workbench)->Name("workbench/open")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Plain)->Name("qt/open")->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("XDG_CONFIG_HOME", Scratch().filePath(QStringLiteral("config")).toLocal8Bit());
  QApplication application(argc, argv);
  InitAppResources();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// The desktop editor against plain Qt, in the same run, on the offscreen platform:
//  - typing: one character typed into the format-string editor holding a string of about 1,900
//    characters with 60 fields, until the preview pane shows the sample rendered from the
//    edited string; against the same character typed into a plain QTextEdit with the same text.
//  - startup: the application's start-up (settings, catalogue, pool, main window) until the
//    main window is shown; against a bare QMainWindow shown. Both sides are timed the same way:
//    from construction through show(), the expose event and the first paint of the whole window
//    (both happen in the first processEvents of WaitShown), plus one more processEvents.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/data_locations.h"
#include "catalogue/format_template_manager.h"
#include "catalogue/ini_reader.h"
#include "document/catalogue_pool_lookup.h"
#include "document/doc_format.h"
#include "editor/qv_view_edit.h"
#include "library/frt_engine.h"
#include "library/text_encoding.h"
#include "preview/qv_view_preview.h"
#include "preview/sample_value_source.h"
#include "profile/qv_profile.h"
#include "shell/main_frame.h"
#include "shell/qv_app.h"

#include "bench_support.h"

namespace {

constexpr int kFields = 60;
constexpr std::size_t kTextLength = 1900;

QTemporaryDir& Scratch() {
  static QTemporaryDir dir;
  return dir;
}

std::string AppDir() {
  return Scratch().filePath(QStringLiteral("app")).toStdString();
}

// The shipped settings and templates, a format of Kite_Basic and the renderer, as a format
// window has them.
struct Workspace {
  CDataLocations locations;
  CIniReader reader;
  std::unique_ptr<CQVProfile> profile;
  std::unique_ptr<CFormatTemplateManager> catalogue;
  std::unique_ptr<CCataloguePoolLookup> pool;
  CSampleValueSource source;
  CFrtEngine engine{&source};
  std::unique_ptr<CDocFormat> document;

  bool Load() {
    CDataLocationOptions options;
    options.appDir = AppDir();
    options.sharedDir = QUARVEL_SOURCE_DATA_DIR;
    if (locations.Resolve(options) != frt::kOk || locations.PrepareAppDir() != frt::kOk)
      return false;
    profile = std::make_unique<CQVProfile>(reader, locations);
    if (!profile->Read()) return false;
    catalogue = std::make_unique<CFormatTemplateManager>(reader, locations.TemplatePath(),
                                                         locations.SettingsPath());
    if (!catalogue->Read()) return false;
    pool = std::make_unique<CCataloguePoolLookup>(*catalogue);
    source.SetCatalogue(catalogue.get());
    CDocContext context;
    context.catalogue = catalogue.get();
    context.profile = profile.get();
    context.engine = &engine;
    document = std::make_unique<CDocFormat>(context);
    document->SetTemplate(catalogue->FindTemplate(CQVWorkspace::kNewFileTemplate));
    return document->Template() != nullptr && document->InitNew() != 0;
  }

  // A stored string of about kTextLength bytes with kFields conversions of pool variables, and
  // its variable references.
  bool MakeString(std::string& text, std::string& references) const {
    std::vector<int> codes;
    for (int code = 1; code < 1000 && codes.size() < 12; ++code) {
      const CQVPoolInfo* info = pool->Find(code);
      if (info && info->IsUsable()) codes.push_back(code);
    }
    if (codes.empty()) return false;
    std::vector<std::string> conversions;
    std::size_t convLength = 0;
    for (int i = 0; i < kFields; ++i) {
      CQVEditVar v(*profile, *pool, codes[static_cast<std::size_t>(i) % codes.size()],
                   CQVEditVar::Direction::kOutput);
      std::string reference;
      if (!v.BuildReference(reference)) return false;
      references += reference;
      conversions.push_back(v.BuildConversionText());
      convLength += conversions.back().size();
    }
    const std::size_t label = (kTextLength - convLength) / kFields;
    for (int i = 0; i < kFields; ++i) {
      std::string l = "value " + std::to_string(i + 1) + " of the record";
      l.resize(label > 2 ? label - 2 : 0, '.');
      text += l + "= " + conversions[static_cast<std::size_t>(i)];
    }
    return true;
  }
};

Workspace& Shared() {
  return LoadedOnce<Workspace>("app_bench");
}

void TypeKey(QWidget* w, Qt::Key key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}

// Types one character and lets the widgets repaint; adds the time of each half (microseconds)
// to `key` and `paint`, which the benchmarks report per keystroke.
void TimedKeystroke(QWidget* w, double& key, double& paint) {
  using Clock = std::chrono::steady_clock;
  const auto t0 = Clock::now();
  TypeKey(w, Qt::Key_A, QStringLiteral("a"));
  const auto t1 = Clock::now();
  QApplication::processEvents();
  const auto t2 = Clock::now();
  key += std::chrono::duration<double, std::micro>(t1 - t0).count();
  paint += std::chrono::duration<double, std::micro>(t2 - t1).count();
}

void ReportSplit(benchmark::State& state, double key, double paint) {
  const double n = static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
  state.counters["key_us"] = key / n;
  state.counters["paint_us"] = paint / n;
}

// Puts the caret into the middle of the text, outside any field.
void CaretToMiddle(QTextEdit& edit) {
  QTextCursor c = edit.textCursor();
  c.setPosition(edit.document()->characterCount() / 2);
  c.movePosition(QTextCursor::StartOfWord);
  edit.setTextCursor(c);
}

void BM_TypingEditor(benchmark::State& state) {
  Workspace& ws = Shared();
  std::string text;
  std::string references;
  if (!ws.MakeString(text, references)) {
    state.SkipWithError("no pool variables");
    return;
  }
  QWidget window;
  auto* edit = new CQVViewEdit(&window);
  auto* pane = new CQVViewPre(&window);
  edit->setGeometry(0, 0, 800, 300);
  pane->setGeometry(0, 300, 800, 200);
  edit->SetContext(CQVEditContext::FromProfile(*ws.profile, *ws.pool));
  std::size_t rendered = 0;
  QObject::connect(edit, &CQVViewEdit::textTakenOver, pane,
                   [&](const QByteArray& stored, const QByteArray& variables) {
                     const std::string sample = ws.document->RenderSample(
                         std::string_view(stored.constData(), stored.size()),
                         std::string_view(variables.constData(), variables.size()));
                     pane->SetText(QString::fromStdString(frt::GbkToUtf8(sample)));
                     ++rendered;
                   });
  edit->ShowString(11001001, CQVViewEdit::kKindOutput, text, references, "001",
                   static_cast<int>(kTextLength) + 100, kFields + 10);
  if (edit->FieldCount() != kFields) {
    state.SkipWithError("the fields did not load");
    return;
  }
  window.resize(800, 500);
  window.show();
  edit->setFocus();
  QApplication::processEvents();
  CaretToMiddle(*edit);
  const QString before = pane->toPlainText();
  double key = 0;
  double paint = 0;
  for (auto _ : state) {
    TimedKeystroke(edit, key, paint);
    state.PauseTiming();
    edit->Undo();
    QApplication::processEvents();
    state.ResumeTiming();
  }
  if (static_cast<benchmark::IterationCount>(rendered) < 2 * state.iterations() ||
      pane->toPlainText() != before)
    state.SkipWithError("the preview pane did not follow the edits");
  ReportSplit(state, key, paint);
}

void BM_TypingPlain(benchmark::State& state) {
  Workspace& ws = Shared();
  std::string text;
  std::string references;
  ws.MakeString(text, references);
  QWidget window;
  auto* edit = new QTextEdit(&window);
  edit->setGeometry(0, 0, 800, 300);
  edit->setPlainText(QString::fromStdString(frt::GbkToUtf8(text)));
  window.resize(800, 500);
  window.show();
  edit->setFocus();
  QApplication::processEvents();
  CaretToMiddle(*edit);
  double key = 0;
  double paint = 0;
  for (auto _ : state) {
    TimedKeystroke(edit, key, paint);
    state.PauseTiming();
    edit->undo();
    QApplication::processEvents();
    state.ResumeTiming();
  }
  ReportSplit(state, key, paint);
}

// Waits until the window is shown on the (offscreen) screen.
void WaitShown(QWidget& w) {
  for (int i = 0; i < 1000 && !(w.windowHandle() && w.windowHandle()->isExposed()); ++i)
    QApplication::processEvents();
  QApplication::processEvents();
}

void BM_StartupEditor(benchmark::State& state) {
  Shared();  // the application folder exists, as on every start but the first
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    CQVAppOptions options;
    options.locations.appDir = AppDir();
    options.locations.sharedDir = QUARVEL_SOURCE_DATA_DIR;
    options.installMessageSink = false;
    auto app = std::make_unique<CQVApp>(options);
    if (!app->InitInstance()) {
      state.SkipWithError("start-up failed");
      break;
    }
    WaitShown(*app->MainFrame());
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    app->ExitInstance();
    app.reset();
    QApplication::processEvents();
  }
}

void BM_StartupPlain(benchmark::State& state) {
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    auto window = std::make_unique<QMainWindow>();
    window->resize(1000, 700);
    window->show();
    WaitShown(*window);
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    window.reset();
    QApplication::processEvents();
  }
}

}  // namespace

BENCHMARK(BM_TypingEditor)->Name("editor/typing")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypingPlain)->Name("qt/typing")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StartupEditor)->Name("editor/startup")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StartupPlain)->Name("qt/startup")->UseManualTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Recent files and other settings go to a scratch place, not the user's.
  qputenv("XDG_CONFIG_HOME", Scratch().filePath(QStringLiteral("config")).toLocal8Bit());
  QApplication application(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Orvanti"));
  QCoreApplication::setApplicationName(QStringLiteral("QuarvelBench"));
  InitAppResources();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

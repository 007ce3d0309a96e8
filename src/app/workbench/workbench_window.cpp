#include "workbench/workbench_window.h"

#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <set>

#include "catalogue/format_template.h"
#include "catalogue/ft_variable.h"
#include "document/doc_format.h"
#include "library/text_encoding.h"
#include "workbench/data_scanner.h"
#include "workbench/wb_export_pane.h"
#include "workbench/wb_import_pane.h"

namespace {

// One column per variable the format's import strings read, in the order of the strings.
std::vector<CWbImportModel::VariableColumn> ImportColumns(const CDocFormat& format,
                                                          const CFormatTemplate& t) {
  std::vector<CWbImportModel::VariableColumn> columns;
  std::set<int> seen;
  const CFrtFile& file = format.Format();
  for (int i = 0; i < file.StringCount(); ++i) {
    const CFrtString* s = file.StringAt(i);
    if (!s || !s->IsPresent() || s->key.direction != CFrtKey::kImport) continue;
    if (s->key.section != CFrtKey::kBlockString && s->key.section != CFrtKey::kFileHeader) continue;
    for (const CFrtVariable& v : s->Variables()) {
      if (!seen.insert(v.code).second) continue;
      const CFTPoolVariable* pool = t.FindPoolVariable(v.code);
      columns.push_back({v.code, pool ? QString::fromStdString(frt::GbkToUtf8(pool->Name()))
                                      : QString::number(v.code)});
    }
  }
  return columns;
}

}  // namespace

CWorkbenchWindow::CWorkbenchWindow(CDocFormat& format, const CFormatTemplate& formatTemplate,
                                   const QString& formatTitle, QWidget* parent)
    : QWidget(parent),
      format_(&format),
      template_(formatTemplate),
      tabs_(new QTabWidget(this)),
      import_(new CWbImportPane(this)),
      export_(new CWbExportPane(format, formatTemplate, this)),
      pending_(new QTimer(this)) {
  setObjectName(QStringLiteral("workbenchWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  tabs_->addTab(import_, tr("导入"));
  tabs_->addTab(export_, tr("导出"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(tabs_);
  SetFormatTitle(formatTitle);
  resize(900, 560);

  pending_->setSingleShot(true);
  pending_->setInterval(0);
  connect(pending_, &QTimer::timeout, this, &CWorkbenchWindow::Rebuild);
  auto toExport = [this] {
    import_->CollectRecords([this](std::vector<workbench::Record> records) {
      export_->SetRecords(std::move(records), tr("导入页"));
    });
  };
  connect(import_, &CWbImportPane::recordsWanted, this, [this, toExport] {
    tabs_->setCurrentWidget(export_);
    toExport();
  });
  connect(export_, &CWbExportPane::importRecordsWanted, this, toExport);
  Rebuild();
}

CWorkbenchWindow::~CWorkbenchWindow() = default;

QString CWorkbenchWindow::Caption(const QString& formatTitle) {
  return tr("数据试验 - %1").arg(formatTitle);
}

void CWorkbenchWindow::SetFormatTitle(const QString& formatTitle) {
  setWindowTitle(Caption(formatTitle));
}

void CWorkbenchWindow::FormatChanged() {
  if (format_) pending_->start();
}

void CWorkbenchWindow::Detach() {
  pending_->stop();
  import_->SetScanner(nullptr, {});
  scanner_.reset();
  format_ = nullptr;
  setEnabled(false);
}

void CWorkbenchWindow::Rebuild() {
  if (!format_) return;
  // The pane lets go of the old scanner before it goes.
  auto scanner = std::make_unique<workbench::DataScanner>(*format_, template_);
  import_->SetScanner(scanner.get(), ImportColumns(*format_, template_));
  scanner_ = std::move(scanner);
  export_->Render();
}

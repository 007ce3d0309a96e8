#include "workbench/wb_import_pane.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "workbench/data_scanner.h"
#include "workbench/wb_lines.h"

namespace {

// A slice of the count: long enough to get on, short enough that typing stays smooth.
constexpr qint64 kSliceMs = 15;

// Paints the text of a line nothing matched with the part from where reading stopped in bold
// red, after a bar that marks the spot.
class CStopDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const int stop = index.data(CWbImportModel::kStopRole).toInt();
    if (stop < 0) return QStyledItemDelegate::paint(painter, option, index);
    QStyleOptionViewItem o = option;
    initStyleOption(&o, index);
    const QString text = o.text;
    o.text.clear();
    QStyle* style = o.widget ? o.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &o, painter, o.widget);
    const QRect r = o.rect.adjusted(3, 0, -3, 0);
    const QString head = text.left(stop);
    const QString tail = text.mid(stop);
    painter->save();
    painter->setClipRect(r);
    painter->drawText(r, Qt::AlignVCenter | Qt::AlignLeft, head);
    const int x = r.left() + o.fontMetrics.horizontalAdvance(head);
    painter->fillRect(QRect(x, r.top() + 2, 2, r.height() - 4), QColor(200, 0, 0));
    QFont bold = o.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(QColor(180, 0, 0));
    painter->drawText(r.adjusted(x - r.left() + 3, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                      tail.isEmpty() ? QStringLiteral("\u2205") : tail);
    painter->restore();
  }
};

workbench::Record RecordOf(const workbench::ScanLineResult& r, int line) {
  workbench::Record record;
  record.block = r.block;
  record.row = line;
  for (const workbench::ScanValue& v : r.values)
    if (!v.text.empty()) record.values.push_back({v.code, v.text});
  return record;
}

}  // namespace

CWbImportPane::CWbImportPane(QWidget* parent)
    : QWidget(parent),
      model_(new CWbImportModel(this)),
      loader_(new CWbLoader(this)),
      table_(new QTableView(this)),
      fileLabel_(new QLabel(this)),
      status_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      cancel_(new QPushButton(tr("取消"), this)),
      sweepTimer_(new QTimer(this)) {
  auto* open = new QPushButton(tr("打开数据文件…"), this);
  open->setObjectName(QStringLiteral("openData"));
  auto* toExport = new QPushButton(tr("记录送往导出"), this);
  toExport->setObjectName(QStringLiteral("recordsToExport"));
  toExport->setToolTip(tr("把匹配的行作为记录交给导出页"));
  cancel_->setObjectName(QStringLiteral("cancelLoad"));
  progress_->setRange(0, 1000);
  progress_->setMaximumWidth(200);
  progress_->hide();
  cancel_->hide();
  fileLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  status_->setObjectName(QStringLiteral("scanStatus"));

  auto* bar = new QHBoxLayout;
  bar->addWidget(open);
  bar->addWidget(fileLabel_, 1);
  bar->addWidget(progress_);
  bar->addWidget(cancel_);
  bar->addWidget(toExport);

  table_->setObjectName(QStringLiteral("importTable"));
  table_->setModel(model_);
  table_->setItemDelegateForColumn(CWbImportModel::kColumnText, new CStopDelegate(table_));
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  // Fixed row heights and column widths: the view never measures a million rows.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table_->setColumnWidth(CWbImportModel::kColumnLine, 60);
  table_->setColumnWidth(CWbImportModel::kColumnText, 440);
  table_->setColumnWidth(CWbImportModel::kColumnString, 150);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(table_, 1);
  layout->addWidget(status_);

  setAcceptDrops(true);
  sweepTimer_->setInterval(0);
  connect(sweepTimer_, &QTimer::timeout, this, &CWbImportPane::Sweep);
  connect(open, &QPushButton::clicked, this, &CWbImportPane::AskOpen);
  connect(toExport, &QPushButton::clicked, this, &CWbImportPane::recordsWanted);
  connect(cancel_, &QPushButton::clicked, loader_, &CWbLoader::Cancel);
  connect(loader_, &CWbLoader::chunkRead, this, [this](std::shared_ptr<const CWbLineChunk> chunk) {
    model_->AppendChunk(std::move(chunk));
    if (!sweepTimer_->isActive()) sweepTimer_->start();
  });
  connect(loader_, &CWbLoader::progress, progress_, &QProgressBar::setValue);
  connect(loader_, &CWbLoader::finished, this, &CWbImportPane::OnFinished);
  UpdateStatus();
}

CWbImportPane::~CWbImportPane() = default;

void CWbImportPane::SetScanner(const workbench::DataScanner* scanner,
                               std::vector<CWbImportModel::VariableColumn> columns) {
  scanner_ = scanner;
  const int oldColumns = model_->columnCount();
  model_->SetScanner(scanner, std::move(columns));
  for (int c = std::max<int>(oldColumns, CWbImportModel::kFirstVariableColumn);
       c < model_->columnCount(); ++c)
    table_->setColumnWidth(c, 84);
  RestartSweep();
}

void CWbImportPane::AskOpen() {
  QFileDialog dialog(this, tr("打开数据文件"), QFileInfo(path_).absolutePath(),
                     tr("数据文件 (*.txt *.dat *.raw *.csv);;所有文件 (*)"));
  dialog.setObjectName(QStringLiteral("openDataDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  OpenFile(dialog.selectedFiles().constFirst());
}

void CWbImportPane::OpenFile(const QString& path) {
  path_ = path;
  loadError_.clear();
  fileLabel_->setText(QFileInfo(path).fileName());
  fileLabel_->setToolTip(QDir::toNativeSeparators(path));
  model_->ClearLines();
  progress_->setValue(0);
  progress_->show();
  cancel_->show();
  loader_->Start(path);
  RestartSweep();
}

void CWbImportPane::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (!urls.isEmpty() && urls.constFirst().isLocalFile()) event->acceptProposedAction();
}

void CWbImportPane::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.constFirst().isLocalFile()) return;
  OpenFile(urls.constFirst().toLocalFile());
  event->acceptProposedAction();
}

bool CWbImportPane::IsLoading() const {
  return loader_->IsRunning();
}

void CWbImportPane::OnFinished(bool cancelled, const QString& error) {
  progress_->hide();
  cancel_->hide();
  if (!error.isEmpty())
    loadError_ = tr("无法读取 %1: %2").arg(path_, error);
  else if (cancelled)
    loadError_ = tr("读取已取消");
  if (!sweepTimer_->isActive()) sweepTimer_->start();
  UpdateStatus();
}

void CWbImportPane::CollectRecords(std::function<void(std::vector<workbench::Record>)> done) {
  waiting_.push_back(std::move(done));
  if (collecting_) return;
  collecting_ = true;
  RestartSweep();
}

void CWbImportPane::RestartSweep() {
  swept_ = 0;
  matched_ = 0;
  missed_ = 0;
  records_.clear();
  sweepTimer_->start();
}

void CWbImportPane::Sweep() {
  QElapsedTimer clock;
  clock.start();
  const CWbLines& lines = model_->Lines();
  const int rows = static_cast<int>(lines.Count());
  while (swept_ < rows && clock.elapsed() < kSliceMs) {
    for (int end = std::min(rows, swept_ + 256); swept_ < end; ++swept_) {
      if (!scanner_) continue;
      const workbench::ScanLineResult r =
          scanner_->Scan(lines.Line(static_cast<std::size_t>(swept_)));
      if (r.blank) continue;
      if (!r.matched) {
        ++missed_;
        continue;
      }
      ++matched_;
      if (collecting_) records_.push_back(RecordOf(r, swept_ + 1));
    }
  }
  UpdateStatus();
  if (swept_ < rows || IsLoading()) {
    if (swept_ >= rows) sweepTimer_->stop();  // the next chunk starts it again
    return;
  }
  sweepTimer_->stop();
  if (collecting_) {
    collecting_ = false;
    auto waiting = std::move(waiting_);
    waiting_.clear();
    for (auto& done : waiting) done(records_);
    records_.clear();
  }
  emit scanFinished();
}

void CWbImportPane::UpdateStatus() {
  QString text;
  if (!scanner_ || scanner_->CandidateCount() == 0) {
    text = tr("格式没有导入字串: 没有行能匹配");
  } else {
    const int rows = model_->rowCount();
    text =
        tr("%1 行, 已扫描 %2: 匹配 %3, 无匹配 %4").arg(rows).arg(swept_).arg(matched_).arg(missed_);
  }
  if (!loadError_.isEmpty()) text += QStringLiteral("  ") + loadError_;
  status_->setText(text);
}

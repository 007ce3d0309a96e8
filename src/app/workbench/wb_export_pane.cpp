#include "workbench/wb_export_pane.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

#include "catalogue/format_template.h"
#include "catalogue/ft_appl.h"
#include "document/doc_format.h"
#include "library/text_encoding.h"
#include "workbench/record_exporter.h"

namespace {

QString FromGbk(const std::string& bytes) {
  return QString::fromStdString(frt::GbkToUtf8(bytes));
}

}  // namespace

CWbExportPane::CWbExportPane(CDocFormat& format, const CFormatTemplate& formatTemplate,
                             QWidget* parent)
    : QWidget(parent),
      format_(format),
      template_(formatTemplate),
      origin_(new QLabel(this)),
      applications_(new QComboBox(this)),
      view_(new QPlainTextEdit(this)),
      errors_(new QListWidget(this)) {
  auto* open = new QPushButton(tr("打开记录文件…"), this);
  open->setObjectName(QStringLiteral("openRecords"));
  auto* take = new QPushButton(tr("取导入页的记录"), this);
  take->setObjectName(QStringLiteral("takeImportRecords"));
  auto* save = new QPushButton(tr("保存输出…"), this);
  save->setObjectName(QStringLiteral("saveOutput"));
  applications_->setObjectName(QStringLiteral("application"));
  view_->setObjectName(QStringLiteral("exportOutput"));
  view_->setReadOnly(true);
  view_->setLineWrapMode(QPlainTextEdit::NoWrap);
  view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  errors_->setObjectName(QStringLiteral("exportErrors"));

  auto* bar = new QHBoxLayout;
  bar->addWidget(open);
  bar->addWidget(take);
  bar->addWidget(new QLabel(tr("应用程序:"), this));
  bar->addWidget(applications_);
  bar->addWidget(origin_, 1);
  bar->addWidget(save);

  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(view_);
  split->addWidget(errors_);
  split->setStretchFactor(0, 4);
  split->setStretchFactor(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(split, 1);

  FillApplications();
  connect(applications_, &QComboBox::currentIndexChanged, this, &CWbExportPane::Render);
  connect(open, &QPushButton::clicked, this, &CWbExportPane::AskOpen);
  connect(take, &QPushButton::clicked, this, &CWbExportPane::importRecordsWanted);
  connect(save, &QPushButton::clicked, this, &CWbExportPane::AskSave);
}

void CWbExportPane::FillApplications() {
  const QSignalBlocker block(applications_);
  applications_->clear();
  for (const auto& a : template_.ApplicationList())
    applications_->addItem(QStringLiteral("%1 %2").arg(a->Number()).arg(FromGbk(a->Item())),
                           static_cast<int>(a->Number()));
}

int CWbExportPane::Application() const {
  return applications_->count() > 0 ? applications_->currentData().toInt() : 0;
}

bool CWbExportPane::OpenRecords(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    QMessageBox::warning(
        this, windowTitle(),
        tr("无法读取 %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    return false;
  }
  std::vector<workbench::Record> records;
  readErrors_.clear();
  workbench::RecordsReader reader(
      &template_, [&records](workbench::Record& r) { records.push_back(r); },
      [this](int row, const std::string& error) {
        readErrors_.push_back(tr("第 %1 行: %2").arg(row).arg(QString::fromStdString(error)));
      });
  while (!file.atEnd()) {
    const QByteArray piece = file.read(1 << 20);
    if (piece.isEmpty()) break;
    reader.Feed(std::string_view(piece.constData(), static_cast<std::size_t>(piece.size())));
  }
  reader.Finish();
  records_ = std::move(records);
  origin_->setText(tr("%1: %2 条记录").arg(QFileInfo(path).fileName()).arg(records_.size()));
  Render();
  return reader.HeaderOk();
}

void CWbExportPane::SetRecords(std::vector<workbench::Record> records, const QString& origin) {
  records_ = std::move(records);
  readErrors_.clear();
  origin_->setText(tr("%1: %2 条记录").arg(origin).arg(records_.size()));
  Render();
}

std::string CWbExportPane::RenderOutput(std::size_t limit, std::vector<QString>& errors) {
  workbench::RecordExporter exporter(format_, template_);
  std::string out;
  auto take = [&](const workbench::ExportPiece& piece, int row) {
    out += piece.text;
    if (piece.Ok()) return;
    errors.push_back(row > 0 ? tr("第 %1 行: %2").arg(row).arg(FromGbk(piece.error))
                             : FromGbk(piece.error));
  };
  take(exporter.Begin(Application()), 0);
  const std::size_t n = std::min(limit, records_.size());
  for (std::size_t i = 0; i < n; ++i)
    take(exporter.Record(records_[i]),
         records_[i].row > 0 ? records_[i].row : static_cast<int>(i) + 1);
  take(exporter.End(), 0);
  return out;
}

void CWbExportPane::Render() {
  std::vector<QString> errors = readErrors_;
  const std::string out = RenderOutput(kShownRecords, errors);
  // The view keeps its place while the output is rendered again on every edit.
  const int scroll = view_->verticalScrollBar() ? view_->verticalScrollBar()->value() : 0;
  view_->setPlainText(FromGbk(out));
  view_->verticalScrollBar()->setValue(scroll);
  errors_->clear();
  if (records_.size() > kShownRecords)
    errors_->addItem(
        tr("只显示前 %1 条记录; 保存时输出全部 %2 条").arg(kShownRecords).arg(records_.size()));
  for (const QString& e : errors) errors_->addItem(e);
}

bool CWbExportPane::SaveOutput(const QString& path) {
  std::vector<QString> errors = readErrors_;
  const std::string out = RenderOutput(records_.size(), errors);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(out.data(), static_cast<qint64>(out.size())) != static_cast<qint64>(out.size()) ||
      !file.commit()) {
    QMessageBox::warning(
        this, windowTitle(),
        tr("无法写入 %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    return false;
  }
  return true;
}

void CWbExportPane::AskOpen() {
  QFileDialog dialog(this, tr("打开记录文件"), lastDir_, tr("记录文件 (*.csv);;所有文件 (*)"));
  dialog.setObjectName(QStringLiteral("openRecordsDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  lastDir_ = QFileInfo(dialog.selectedFiles().constFirst()).absolutePath();
  OpenRecords(dialog.selectedFiles().constFirst());
}

void CWbExportPane::AskSave() {
  // The dialog asks before it replaces a file.
  QFileDialog dialog(this, tr("保存输出"), lastDir_, tr("所有文件 (*)"));
  dialog.setObjectName(QStringLiteral("saveOutputDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  lastDir_ = QFileInfo(dialog.selectedFiles().constFirst()).absolutePath();
  SaveOutput(dialog.selectedFiles().constFirst());
}

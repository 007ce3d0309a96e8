#include "workbench/wb_import_model.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QStyle>
#include <algorithm>

#include "document/doc_format.h"
#include "library/text_encoding.h"

namespace {

constexpr std::size_t kCacheRows = 20000;

QString FromGbk(std::string_view bytes) {
  return QString::fromStdString(frt::GbkToUtf8(std::string(bytes)));
}

}  // namespace

CWbImportModel::CWbImportModel(QObject* parent) : QAbstractTableModel(parent) {}

CWbImportModel::~CWbImportModel() = default;

void CWbImportModel::SetScanner(const workbench::DataScanner* scanner,
                                std::vector<VariableColumn> columns) {
  const bool sameColumns = columns.size() == columns_.size() &&
                           std::equal(columns.begin(), columns.end(), columns_.begin(),
                                      [](const VariableColumn& a, const VariableColumn& b) {
                                        return a.code == b.code && a.heading == b.heading;
                                      });
  if (!sameColumns) beginResetModel();
  scanner_ = scanner;
  columns_ = std::move(columns);
  cache_.clear();
  if (!sameColumns) {
    endResetModel();
  } else if (rowCount() > 0) {
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  }
}

void CWbImportModel::AppendChunk(std::shared_ptr<const CWbLineChunk> chunk) {
  if (!chunk || chunk->Count() == 0) return;
  const int first = rowCount();
  beginInsertRows({}, first, first + static_cast<int>(chunk->Count()) - 1);
  lines_.Append(std::move(chunk));
  endInsertRows();
}

void CWbImportModel::ClearLines() {
  beginResetModel();
  lines_.Clear();
  cache_.clear();
  endResetModel();
}

const workbench::ScanLineResult& CWbImportModel::Result(int row) const {
  auto it = cache_.find(row);
  if (it != cache_.end()) return it->second;
  if (cache_.size() >= kCacheRows) cache_.clear();
  workbench::ScanLineResult result;
  const std::string_view line = lines_.Line(static_cast<std::size_t>(row));
  if (scanner_) {
    result = scanner_->Scan(line);
  } else {
    result.blank = workbench::TrimLineEnd(line).empty();
  }
  return cache_.emplace(row, std::move(result)).first->second;
}

int CWbImportModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_.Count());
}

int CWbImportModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kFirstVariableColumn + static_cast<int>(columns_.size());
}

QString CWbImportModel::StringLabel(const workbench::ScanLineResult& r) const {
  if (r.blank) return {};
  if (!r.matched) return tr("无匹配");
  return tr("块 %1 [%2]").arg(r.block).arg(r.stringId);
}

const workbench::ScanValue* CWbImportModel::Value(const workbench::ScanLineResult& r,
                                                  int column) const {
  const int code = columns_[static_cast<std::size_t>(column - kFirstVariableColumn)].code;
  for (const workbench::ScanValue& v : r.values)
    if (v.code == code) return &v;
  return nullptr;
}

QVariant CWbImportModel::VariableCell(const workbench::ScanLineResult& r, int column) const {
  const workbench::ScanValue* v = Value(r, column);
  if (!v) return {};
  return v->isText ? FromGbk(v->text) : QString::number(v->number, 'g', 15);
}

// The characters the value was read from (the cell shows the value).
QVariant CWbImportModel::VariableText(const workbench::ScanLineResult& r, int column) const {
  const workbench::ScanValue* v = Value(r, column);
  if (!v) return {};
  return tr("读入 \"%1\" (%%2)").arg(FromGbk(v->text)).arg(QChar::fromLatin1(v->conversion));
}

QVariant CWbImportModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const int column = index.column();
  if (role == Qt::DisplayRole && column == kColumnLine) return index.row() + 1;
  if (role == Qt::DisplayRole && column == kColumnText)
    return FromGbk(lines_.Line(static_cast<std::size_t>(index.row())));
  if (column == kColumnLine) return {};
  const workbench::ScanLineResult& r = Result(index.row());
  const bool missed = !r.blank && !r.matched;
  switch (role) {
    case Qt::DisplayRole:
      if (column == kColumnString) return StringLabel(r);
      if (column >= kFirstVariableColumn) return VariableCell(r, column);
      return {};
    case Qt::ToolTipRole:
      if (column >= kFirstVariableColumn) return VariableText(r, column);
      if (!missed) return {};
      return tr("第 %1 列: %2").arg(r.stopColumn).arg(FromGbk(r.reason));
    case Qt::BackgroundRole:
      if (missed) return QBrush(QColor(255, 224, 224));
      return {};
    case Qt::DecorationRole:
      if (missed && column == kColumnString)
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
      return {};
    case kStopRole: {
      if (column != kColumnText || !missed || r.stopColumn == 0) return -1;
      const std::string_view line = lines_.Line(static_cast<std::size_t>(index.row()));
      return static_cast<int>(
          FromGbk(line.substr(0, std::min(line.size(), r.stopColumn - 1))).size());
    }
    default:
      return {};
  }
}

QVariant CWbImportModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  switch (section) {
    case kColumnLine:
      return tr("行");
    case kColumnText:
      return tr("文本");
    case kColumnString:
      return tr("匹配字串");
    default:
      if (section - kFirstVariableColumn < static_cast<int>(columns_.size()))
        return columns_[static_cast<std::size_t>(section - kFirstVariableColumn)].heading;
      return {};
  }
}

#pragma once
// The table of the workbench's import tab: one row per data line, scanned with the format's
// import strings only when a row is asked for, so a file of any size shows at once.
#include <QAbstractTableModel>
#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

#include "workbench/data_scanner.h"
#include "workbench/wb_lines.h"

class CWbImportModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column : int { kColumnLine, kColumnText, kColumnString, kFirstVariableColumn };
  // On the text column of a line nothing matched: where in the displayed text reading stopped
  // (an index into the QString); -1 on other lines.
  static constexpr int kStopRole = Qt::UserRole + 1;
  // A variable column of the table: its code and its heading.
  struct VariableColumn {
    int code = 0;
    QString heading;
  };

  explicit CWbImportModel(QObject* parent = nullptr);
  ~CWbImportModel() override;

  // The scanner the rows are read with (nullptr: no format to read with; not owned) and the
  // variable columns. Every row is scanned again when it is next asked for.
  void SetScanner(const workbench::DataScanner* scanner, std::vector<VariableColumn> columns);
  void AppendChunk(std::shared_ptr<const CWbLineChunk> chunk);
  void ClearLines();
  const CWbLines& Lines() const { return lines_; }
  // The result of a row, scanned now unless a recent one is kept; valid until the next call.
  const workbench::ScanLineResult& Result(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QString StringLabel(const workbench::ScanLineResult& result) const;
  const workbench::ScanValue* Value(const workbench::ScanLineResult& result, int column) const;
  QVariant VariableCell(const workbench::ScanLineResult& result, int column) const;
  QVariant VariableText(const workbench::ScanLineResult& result, int column) const;

  CWbLines lines_;
  const workbench::DataScanner* scanner_ = nullptr;
  std::vector<VariableColumn> columns_;
  // Results of the rows shown lately; dropped whole when it grows past a few screens' worth.
  mutable std::unordered_map<int, workbench::ScanLineResult> cache_;
};

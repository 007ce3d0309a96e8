#pragma once
// The workbench's import tab: a data file read in the background, its lines in a table scanned
// with the format's import strings, and a count of the lines that match, made in small slices
// of the event loop so the window never waits for it.
#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "workbench/records_csv.h"
#include "workbench/wb_import_model.h"

class CWbLoader;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;
namespace workbench {
class DataScanner;
}

class CWbImportPane : public QWidget {
  Q_OBJECT
 public:
  explicit CWbImportPane(QWidget* parent = nullptr);
  ~CWbImportPane() override;

  // The scanner the lines are read with (not owned; nullptr before the first and while the
  // format changes) and the variable columns: every line is read again.
  void SetScanner(const workbench::DataScanner* scanner,
                  std::vector<CWbImportModel::VariableColumn> columns);
  CWbImportModel* Model() const { return model_; }
  QTableView* Table() const { return table_; }
  // Starts reading a data file (the lines of one read before are dropped).
  void OpenFile(const QString& path);
  bool IsLoading() const;
  // The matched lines as records, once every line has been read and scanned (at once when that
  // is done already).
  void CollectRecords(std::function<void(std::vector<workbench::Record>)> done);
  // Lines scanned, matched and not matched by the last complete count (for the status line).
  int MatchedCount() const { return matched_; }
  int MissedCount() const { return missed_; }

 signals:
  // The file is read and every line is counted.
  void scanFinished();
  // The user asked for the records of this tab in the export tab.
  void recordsWanted();

 protected:
  // A data file dropped on the tab is opened.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void AskOpen();
  void OnFinished(bool cancelled, const QString& error);
  void RestartSweep();
  void Sweep();
  void UpdateStatus();

  CWbImportModel* model_;
  CWbLoader* loader_;
  QTableView* table_;
  QLabel* fileLabel_;
  QLabel* status_;
  QProgressBar* progress_;
  QPushButton* cancel_;
  QTimer* sweepTimer_;
  const workbench::DataScanner* scanner_ = nullptr;
  QString path_;
  QString loadError_;
  // The count runs over rows [0, swept_) so far.
  int swept_ = 0;
  int matched_ = 0;
  int missed_ = 0;
  bool collecting_ = false;
  std::vector<workbench::Record> records_;
  std::vector<std::function<void(std::vector<workbench::Record>)>> waiting_;
};

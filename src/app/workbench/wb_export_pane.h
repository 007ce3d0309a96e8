#pragma once
// The workbench's export tab: records (from a records file or from the import tab) rendered with
// the format's export strings for one application, as the instrument would write its output
// file, the records that failed listed by row, and the output saved as its bytes.
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "workbench/records_csv.h"

class CDocFormat;
class CFormatTemplate;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;

class CWbExportPane : public QWidget {
  Q_OBJECT
 public:
  // At most this many records are rendered into the view; saving renders them all.
  static constexpr std::size_t kShownRecords = 5000;

  // The format and its template belong to the window's owner and outlive the pane.
  CWbExportPane(CDocFormat& format, const CFormatTemplate& formatTemplate,
                QWidget* parent = nullptr);

  // Reads a records file (errors of its rows are listed) and renders.
  bool OpenRecords(const QString& path);
  void SetRecords(std::vector<workbench::Record> records, const QString& origin);
  // Renders again (the format changed, or the application).
  void Render();
  // The application chosen in the combo (0 when the template has none).
  int Application() const;
  // Renders every record and writes the bytes to `path`; false (and said why) when it could not.
  bool SaveOutput(const QString& path);

  QComboBox* Applications() const { return applications_; }
  QPlainTextEdit* View() const { return view_; }
  QListWidget* Errors() const { return errors_; }

 signals:
  // The records of the import tab are wanted.
  void importRecordsWanted();

 private:
  // The whole output of the first `limit` records and the errors found on the way.
  std::string RenderOutput(std::size_t limit, std::vector<QString>& errors);
  void FillApplications();
  void AskOpen();
  void AskSave();

  CDocFormat& format_;
  const CFormatTemplate& template_;
  std::vector<workbench::Record> records_;
  std::vector<QString> readErrors_;  // of the records file, by row
  QLabel* origin_;
  QComboBox* applications_;
  QPlainTextEdit* view_;
  QListWidget* errors_;
  QString lastDir_;
};

#pragma once
// The "数据试验" window of a format: its import strings tried on a data file (tab 导入) and its
// export strings on records (tab 导出). It reads the format it is given and hears of changes
// through FormatChanged; it knows nothing of the windows around it.
#include <QString>
#include <QWidget>
#include <memory>

class CDocFormat;
class CFormatTemplate;
class CWbExportPane;
class CWbImportPane;
class QTabWidget;
class QTimer;
namespace workbench {
class DataScanner;
}

class CWorkbenchWindow : public QWidget {
  Q_OBJECT
 public:
  // The format and its template belong to the owner: Detach before they go.
  CWorkbenchWindow(CDocFormat& format, const CFormatTemplate& formatTemplate,
                   const QString& formatTitle, QWidget* parent = nullptr);
  ~CWorkbenchWindow() override;

  static QString Caption(const QString& formatTitle);
  void SetFormatTitle(const QString& formatTitle);

  CWbImportPane* ImportPane() const { return import_; }
  CWbExportPane* ExportPane() const { return export_; }
  QTabWidget* Tabs() const { return tabs_; }

 public slots:
  // The format changed: the lines are read and the records rendered again (once for a burst of
  // changes, on the next turn of the event loop).
  void FormatChanged();
  // The format is going away: the window reads it no more.
  void Detach();

 private:
  void Rebuild();

  CDocFormat* format_;
  const CFormatTemplate& template_;
  std::unique_ptr<workbench::DataScanner> scanner_;
  QTabWidget* tabs_;
  CWbImportPane* import_;
  CWbExportPane* export_;
  QTimer* pending_;
};

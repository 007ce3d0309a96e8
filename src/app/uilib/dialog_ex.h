#pragma once
// Our own small dialog library: the base classes the editor's dialogs, settings pages, settings
// sheet and flag list are built on.
#include <QDialog>
#include <QString>
#include <QTreeWidget>
#include <QWidget>
#include <vector>

class QDialogButtonBox;
class QTabWidget;

// Base of the editor's dialogs. The template number names the dialog (it was the layout's
// resource); OnInitDialog runs once, just before the dialog is first shown, so derived classes
// fill their controls there after calling the base.
class CDialogEx : public QDialog {
  Q_OBJECT
 public:
  explicit CDialogEx(int templateId = 0, QWidget* parent = nullptr);

  int TemplateId() const { return templateId_; }
  // Runs the dialog modally: QDialog::Accepted or QDialog::Rejected.
  int DoModal() { return exec(); }
  bool Initialized() const { return initialized_; }

 protected:
  virtual bool OnInitDialog() { return true; }
  void showEvent(QShowEvent* event) override;

 private:
  int templateId_;
  bool initialized_ = false;
};

// One page of a property sheet.
class CPropertyPageEx : public QWidget {
  Q_OBJECT
 public:
  // `captionId` 0 keeps the caption given by SetCaption (or empty).
  explicit CPropertyPageEx(int templateId = 0, int captionId = 0, QWidget* parent = nullptr);

  int TemplateId() const { return templateId_; }
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption) { caption_ = caption; }
  bool Initialized() const { return initialized_; }

  // Called by the sheet: once before the page is first shown.
  virtual bool OnInitDialog() { return true; }
  // The page becomes the current one; false refuses (the sheet stays where it was).
  virtual bool OnSetActive() { return true; }
  // The page is left or the sheet is confirmed; false keeps the page (its values are invalid).
  virtual bool OnKillActive() { return true; }
  // The sheet was confirmed; each page that was shown takes its values over.
  virtual bool OnApply() { return true; }

 private:
  friend class CPropertySheetEx;
  void EnsureInitialized();

  int templateId_;
  QString caption_;
  bool initialized_ = false;
};

// A property sheet: the pages as tabs with the buttons OK and Cancel (there is no Apply and no
// Help button).
class CPropertySheetEx : public QDialog {
  Q_OBJECT
 public:
  CPropertySheetEx(int captionId, QWidget* parent = nullptr, int selectPage = 0);
  CPropertySheetEx(const QString& caption, QWidget* parent = nullptr, int selectPage = 0);

  // The sheet takes the page (it becomes a child of the tab widget).
  void AddPage(CPropertyPageEx* page);
  int PageCount() const;
  CPropertyPageEx* Page(int index) const;
  int ActiveIndex() const;
  bool SetActivePage(int index);
  // Kept for the callers written against the sheet of the closed library: this sheet never
  // has an Apply button.
  void RemoveApplyButton(bool) {}
  int DoModal() { return exec(); }

  QTabWidget* Tabs() const { return tabs_; }
  QDialogButtonBox* Buttons() const { return buttons_; }

 public slots:
  void accept() override;

 protected:
  virtual bool OnInitDialog() { return true; }
  void showEvent(QShowEvent* event) override;

 private:
  void Build(const QString& caption, int selectPage);
  void OnTabChanged(int index);

  QTabWidget* tabs_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  int selectPage_ = 0;
  int current_ = -1;
  bool switching_ = false;
  bool initialized_ = false;
};

// A row of a report list: the object the row stands for gives its texts.
class CReportRow {
 public:
  virtual ~CReportRow() = default;
  virtual QString ColumnText(int column) const = 0;
};

// A list with columns and, when state icons are on, a check mark per row.
class CReportView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit CReportView(QWidget* parent = nullptr);

  void StateIconsAvailable(bool on) { stateIcons_ = on; }
  void ColumnLabels(const QStringList& labels);
  // Fills the list with one row per object (not owned; they must outlive the rows).
  void InsertItems(const std::vector<CReportRow*>& rows);
  void SelectStateIcon(int row, bool checked = true);
  bool IsChecked(int row) const;
  CReportRow* ReportViewItem(int row) const;
  int RowCount() const { return static_cast<int>(rows_.size()); }

 private:
  bool stateIcons_ = false;
  std::vector<CReportRow*> rows_;
};

// The about box of command "说明...": the application's icon, "Quarvel中文版 1.0" and OK.
class CAboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CAboutDialog(QWidget* parent = nullptr);
  int DoModal() { return exec(); }
  // The description line the box shows.
  static QString DescriptionText();
};

#include "dialog_ex.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "library/string_table.h"
#include "uilib/ui_text.h"

namespace {

// OK and Cancel with the editor's own labels, whatever the installed Qt translations are.
QDialogButtonBox* MakeOkCancel(QWidget* parent) {
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, parent);
  box->button(QDialogButtonBox::Ok)->setText(CDialogEx::tr("确定"));
  box->button(QDialogButtonBox::Cancel)->setText(CDialogEx::tr("取消"));
  return box;
}

}  // namespace

CDialogEx::CDialogEx(int templateId, QWidget* parent) : QDialog(parent), templateId_(templateId) {
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void CDialogEx::showEvent(QShowEvent* event) {
  if (!initialized_) {
    initialized_ = true;
    OnInitDialog();
  }
  QDialog::showEvent(event);
}

CPropertyPageEx::CPropertyPageEx(int templateId, int captionId, QWidget* parent)
    : QWidget(parent), templateId_(templateId) {
  if (captionId != 0) caption_ = qvui::Text(captionId);
}

void CPropertyPageEx::EnsureInitialized() {
  if (initialized_) return;
  initialized_ = true;
  OnInitDialog();
}

CPropertySheetEx::CPropertySheetEx(int captionId, QWidget* parent, int selectPage)
    : QDialog(parent) {
  Build(qvui::Text(captionId), selectPage);
}

CPropertySheetEx::CPropertySheetEx(const QString& caption, QWidget* parent, int selectPage)
    : QDialog(parent) {
  Build(caption, selectPage);
}

void CPropertySheetEx::Build(const QString& caption, int selectPage) {
  setWindowTitle(caption);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  selectPage_ = selectPage;
  tabs_ = new QTabWidget(this);
  buttons_ = MakeOkCancel(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons_);
  connect(buttons_, &QDialogButtonBox::accepted, this, &CPropertySheetEx::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &CPropertySheetEx::reject);
  connect(tabs_, &QTabWidget::currentChanged, this, &CPropertySheetEx::OnTabChanged);
}

void CPropertySheetEx::AddPage(CPropertyPageEx* page) {
  switching_ = true;
  tabs_->addTab(page, page->Caption());
  switching_ = false;
}

int CPropertySheetEx::PageCount() const {
  return tabs_->count();
}

CPropertyPageEx* CPropertySheetEx::Page(int index) const {
  return qobject_cast<CPropertyPageEx*>(tabs_->widget(index));
}

int CPropertySheetEx::ActiveIndex() const {
  return current_;
}

bool CPropertySheetEx::SetActivePage(int index) {
  if (index < 0 || index >= PageCount()) return false;
  if (!initialized_) {
    selectPage_ = index;
    return true;
  }
  tabs_->setCurrentIndex(index);
  return current_ == index;
}

void CPropertySheetEx::showEvent(QShowEvent* event) {
  if (!initialized_) {
    initialized_ = true;
    OnInitDialog();
    int first = (selectPage_ >= 0 && selectPage_ < PageCount()) ? selectPage_ : 0;
    if (PageCount() > 0) {
      switching_ = true;
      tabs_->setCurrentIndex(first);
      switching_ = false;
      current_ = first;
      Page(first)->EnsureInitialized();
      Page(first)->OnSetActive();
    }
  }
  QDialog::showEvent(event);
}

void CPropertySheetEx::OnTabChanged(int index) {
  if (switching_ || !initialized_) return;
  CPropertyPageEx* leaving = Page(current_);
  CPropertyPageEx* entering = Page(index);
  bool ok = !leaving || leaving->OnKillActive();
  if (ok && entering) {
    entering->EnsureInitialized();
    ok = entering->OnSetActive();
  }
  if (!ok) {
    // The page that refused stays current; the tab bar is put back without asking again.
    switching_ = true;
    tabs_->setCurrentIndex(current_);
    switching_ = false;
    return;
  }
  current_ = index;
}

void CPropertySheetEx::accept() {
  if (CPropertyPageEx* page = Page(current_); page && !page->OnKillActive()) return;
  for (int i = 0; i < PageCount(); ++i) {
    CPropertyPageEx* page = Page(i);
    if (page->Initialized() && !page->OnApply()) {
      SetActivePage(i);
      return;
    }
  }
  QDialog::accept();
}

CReportView::CReportView(QWidget* parent) : QTreeWidget(parent) {
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  header()->setStretchLastSection(true);
}

void CReportView::ColumnLabels(const QStringList& labels) {
  setColumnCount(static_cast<int>(labels.size()));
  setHeaderLabels(labels);
}

void CReportView::InsertItems(const std::vector<CReportRow*>& rows) {
  clear();
  rows_ = rows;
  for (CReportRow* row : rows_) {
    auto* item = new QTreeWidgetItem(this);
    for (int c = 0; c < std::max(1, columnCount()); ++c) item->setText(c, row->ColumnText(c));
    if (stateIcons_) item->setCheckState(0, Qt::Unchecked);
  }
}

void CReportView::SelectStateIcon(int row, bool checked) {
  if (QTreeWidgetItem* item = topLevelItem(row); item && stateIcons_)
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

bool CReportView::IsChecked(int row) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  return item && stateIcons_ && item->checkState(0) == Qt::Checked;
}

CReportRow* CReportView::ReportViewItem(int row) const {
  return row >= 0 && row < RowCount() ? rows_[static_cast<std::size_t>(row)] : nullptr;
}

QString CAboutDialog::DescriptionText() {
  return qvui::Text(frt::kIdDescriptionText);
}

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("说明 ") + qvui::Text(57344));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* icon = new QLabel(this);
  icon->setPixmap(QPixmap(QStringLiteral(":/icons/quarvel.png")));
  auto* text = new QLabel(this);
  text->setObjectName(QStringLiteral("description"));
  text->setText(DescriptionText());
  QFont big = text->font();
  big.setPointSize(big.pointSize() + 3);
  big.setBold(true);
  text->setFont(big);
  auto* version = new QLabel(QStringLiteral("Version %1 · Qt %2").arg(QUARVEL_VERSION, qVersion()));
  auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  ok->button(QDialogButtonBox::Ok)->setText(tr("确定"));
  connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* texts = new QVBoxLayout;
  texts->addWidget(text);
  texts->addWidget(version);
  texts->addStretch();
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addSpacing(12);
  row->addLayout(texts, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(ok);
}

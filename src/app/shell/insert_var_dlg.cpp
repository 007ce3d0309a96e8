#include "insert_var_dlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/format_template.h"
#include "catalogue/ft_variable.h"
#include "editor/qv_view_edit.h"
#include "library/string_table.h"
#include "uilib/ui_text.h"

namespace {

constexpr int kIdCaptionInput = 513;
constexpr int kIdCaptionOutput = 514;

using qvui::FromGbk;

}  // namespace

CQVInsertVarDlg::CQVInsertVarDlg(const CFormatTemplate& formatTemplate, CQVViewEdit* editor,
                                 QWidget* parent)
    : CDialogEx(kTemplateId, parent), template_(formatTemplate), editor_(editor) {
  setObjectName(QStringLiteral("insertVariableWindow"));
  setModal(false);
  // A tool window above the main window, without a close button.
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  auto* blockLabel = new QLabel(tr("数据块--类型"), this);
  blocks_ = new QComboBox(this);
  blocks_->setObjectName(QStringLiteral("combo2002"));
  blocks_->setMinimumContentsLength(14);
  blockLabel->setBuddy(blocks_);
  auto* listLabel = new QLabel(tr("可选变量"), this);
  variables_ = new QListWidget(this);
  variables_->setObjectName(QStringLiteral("list2003"));
  listLabel->setBuddy(variables_);
  insert_ = new QPushButton(tr("插入"), this);
  insert_->setObjectName(QStringLiteral("button2085"));
  insert_->setAutoDefault(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(blockLabel);
  layout->addWidget(blocks_);
  layout->addWidget(listLabel);
  layout->addWidget(variables_, 1);
  layout->addWidget(insert_);
  resize(240, 360);
  connect(blocks_, &QComboBox::currentIndexChanged, this, [this] { FillVariables(); });
  connect(insert_, &QPushButton::clicked, this, &CQVInsertVarDlg::OnInsert);
  connect(variables_, &QListWidget::itemDoubleClicked, this, &CQVInsertVarDlg::OnInsert);
}

QDockWidget* CQVInsertVarDlg::DockIn(QMainWindow& frame) {
  auto* dock = new QDockWidget(windowTitle(), &frame);
  dock->setObjectName(QStringLiteral("insertVariableDock"));
  dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  setWindowFlags(Qt::Widget);
  dock->setWidget(this);
  connect(this, &QWidget::windowTitleChanged, dock, &QDockWidget::setWindowTitle);
  frame.addDockWidget(Qt::RightDockWidgetArea, dock);
  return dock;
}

void CQVInsertVarDlg::closeEvent(QCloseEvent* event) {
  // Closing comes from the user (the window system's close); the window stays.
  event->ignore();
}

void CQVInsertVarDlg::SetInputBlock(const QString& blockName) {
  SetBlock(Direction::kInput, blockName);
}

void CQVInsertVarDlg::SetOutputBlock(const QString& blockName) {
  SetBlock(Direction::kOutput, blockName);
}

void CQVInsertVarDlg::SetBlock(Direction direction, const QString& blockName) {
  if (direction != direction_) {
    direction_ = direction;
    setWindowTitle(QString::fromUtf8(
        frt::LoadText(direction == Direction::kInput ? kIdCaptionInput : kIdCaptionOutput)));
    FillBlocks();
    if (blocks_->count() == 0) {
      done(QDialog::Rejected);  // nothing of this direction can take a variable
      if (auto* dock = qobject_cast<QDockWidget*>(parentWidget())) dock->hide();
      return;
    }
  }
  const int at = blocks_->findText(blockName);
  if (at >= 0 && at != blocks_->currentIndex())
    blocks_->setCurrentIndex(at);  // refills the list
  else
    FillVariables();
}

void CQVInsertVarDlg::FillBlocks() {
  const bool wantExport = direction_ == Direction::kOutput;
  const QSignalBlocker blocker(blocks_);
  blocks_->clear();
  for (const CFTFormat* f : template_.FormatList()) {
    if (f->IsExport() != wantExport || f->AllowedVariables().empty()) continue;
    blocks_->addItem(FromGbk(f->Item()), static_cast<int>(f->BlockType()));
  }
}

void CQVInsertVarDlg::FillVariables() {
  variables_->clear();
  const bool wantExport = direction_ == Direction::kOutput;
  const QString name = blocks_->currentText();
  for (const CFTFormat* f : template_.FormatList()) {
    if (f->IsExport() != wantExport || FromGbk(f->Item()) != name) continue;
    for (const auto& v : f->AllowedVariables()) {
      // A pool variable that can make no reference is not offered.
      const CFTPoolVariable* pool = template_.FindPoolVariable(v->Code());
      if (pool == nullptr || !pool->IsUsable()) continue;
      auto* item = new QListWidgetItem(FromGbk(pool->Name()), variables_);
      item->setData(Qt::UserRole, static_cast<int>(v->Code()));
    }
    break;
  }
}

void CQVInsertVarDlg::OnInsert() {
  QListWidgetItem* item = variables_->currentItem();
  if (!item || !item->isSelected() || !editor_ || !editor_->isEnabled()) return;
  editor_->InsertVariableCode(item->data(Qt::UserRole).toInt());
  // A floating dock is a window of its own: the editor's window takes the keyboard back.
  editor_->activateWindow();
  editor_->setFocus(Qt::OtherFocusReason);
}

#include "assign_appl_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/format_template.h"
#include "document/doc_format.h"
#include "uilib/ui_text.h"

namespace {

constexpr int kIdOutputString = 510;

QPushButton* MakeButton(const QString& text, int controlId, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QStringLiteral("button%1").arg(controlId));
  button->setAutoDefault(false);
  return button;
}

std::string ThreeDigits(long number) {
  std::string digits = std::to_string(number % 1000);
  return std::string(3 - digits.size(), '0') + digits;
}

}  // namespace

CAssignApplicationsDialog::CAssignApplicationsDialog(CDocFormat& format, std::int32_t selectedId,
                                                     std::int32_t kindBase, QWidget* parent)
    : CDialogEx(kTemplateId, parent),
      format_(format),
      kindBase_(kindBase),
      block_((selectedId - kindBase) / 1000) {
  Build();
  Start(selectedId);
}

CAssignApplicationsDialog::~CAssignApplicationsDialog() = default;

bool CAssignApplicationsDialog::HasApplication(const std::string& applications, long number) {
  const std::string digits = ThreeDigits(number);
  for (std::size_t at = 0; at + 3 <= applications.size(); at += 3) {
    if (applications.compare(at, 3, digits) == 0) return true;
  }
  return false;
}

void CAssignApplicationsDialog::Build() {
  setWindowTitle(tr("配置应用软件"));
  setObjectName(QStringLiteral("assignApplicationsDialog"));

  blockName_ = new QLabel(this);
  blockName_->setObjectName(QStringLiteral("static2030"));
  strings_ = new QComboBox(this);
  strings_->setObjectName(QStringLiteral("combo2012"));
  available_ = new QListWidget(this);
  available_->setObjectName(QStringLiteral("list2014"));
  assigned_ = new QListWidget(this);
  assigned_->setObjectName(QStringLiteral("list2013"));
  right_ = MakeButton(QStringLiteral(">"), 2015, this);
  left_ = MakeButton(QStringLiteral("<"), 2016, this);
  allRight_ = MakeButton(QStringLiteral(">>"), 2017, this);
  allLeft_ = MakeButton(QStringLiteral("<<"), 2018, this);
  ok_ = MakeButton(tr("确认"), 1, this);
  ok_->setDefault(true);
  cancel_ = MakeButton(tr("取消"), 2, this);

  auto* top = new QGridLayout;
  top->addWidget(new QLabel(tr("数据块--类型:"), this), 0, 0);
  top->addWidget(blockName_, 0, 1);
  top->addWidget(new QLabel(tr("格式串:"), this), 1, 0);
  top->addWidget(strings_, 1, 1);
  top->setColumnStretch(1, 1);

  auto* moves = new QVBoxLayout;
  moves->addStretch();
  for (QPushButton* b : {right_, left_, allRight_, allLeft_}) moves->addWidget(b);
  moves->addStretch();

  auto* availableColumn = new QVBoxLayout;
  availableColumn->addWidget(new QLabel(tr("可选应用软件"), this));
  availableColumn->addWidget(available_);
  auto* assignedColumn = new QVBoxLayout;
  assignedColumn->addWidget(new QLabel(tr("分配给此格式串"), this));
  assignedColumn->addWidget(assigned_);
  auto* lists = new QHBoxLayout;
  lists->addLayout(availableColumn, 1);
  lists->addLayout(moves);
  lists->addLayout(assignedColumn, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(lists, 1);
  layout->addLayout(buttons);

  lists_ = std::make_unique<CU2ListBox>(available_, assigned_);
  connect(right_, &QPushButton::clicked, this, &CAssignApplicationsDialog::OnMoveRight);
  connect(left_, &QPushButton::clicked, this, &CAssignApplicationsDialog::OnMoveLeft);
  connect(allRight_, &QPushButton::clicked, this, &CAssignApplicationsDialog::OnMoveAllRight);
  connect(allLeft_, &QPushButton::clicked, this, &CAssignApplicationsDialog::OnMoveAllLeft);
  connect(available_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    if (lists_->MoveRight(available_->row(item))) AfterMove();
  });
  connect(assigned_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    if (lists_->MoveLeft(assigned_->row(item))) AfterMove();
  });
  connect(ok_, &QPushButton::clicked, this, &CAssignApplicationsDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &CAssignApplicationsDialog::reject);
  resize(460, 300);
}

void CAssignApplicationsDialog::Start(std::int32_t selectedId) {
  const CFormatTemplate* t = format_.Template();
  const CFTFormat* definition = t ? t->FindFormat(block_, true) : nullptr;
  if (!definition) return;
  blockName_->setText(qvui::FromGbk(definition->Item()));
  const long count = definition->StrCount();
  for (long i = 1; i <= count; ++i) {
    const std::int32_t id = kindBase_ + block_ * 1000 + static_cast<std::int32_t>(i);
    std::string text;
    std::string variables;
    std::string applications;
    if (!format_.GetFormatStringInfo(id, text, variables, applications) || text.empty()) continue;
    strings_->addItem(qvui::Text(kIdOutputString) + QLatin1Char(' ') + QString::number(i), id);
    ids_.push_back(id);
    pending_.push_back(applications);
  }
  if (ids_.empty()) return;
  int index = 0;
  for (std::size_t i = 0; i < ids_.size(); ++i) {
    if (ids_[i] == selectedId) index = static_cast<int>(i);
  }
  strings_->setCurrentIndex(index);
  FillLists(index);
  connect(strings_, &QComboBox::currentIndexChanged, this, &CAssignApplicationsDialog::FillLists);
}

int CAssignApplicationsDialog::Run() {
  if (ids_.empty()) return QDialog::Rejected;
  return DoModal();
}

QPushButton* CAssignApplicationsDialog::Button(int controlId) const {
  switch (controlId) {
    case 1:
      return ok_;
    case 2:
      return cancel_;
    case 2015:
      return right_;
    case 2016:
      return left_;
    case 2017:
      return allRight_;
    case 2018:
      return allLeft_;
    default:
      return nullptr;
  }
}

void CAssignApplicationsDialog::FillLists(int index) {
  if (index < 0 || index >= StringCount()) return;
  current_ = index;
  lists_->Clear();
  const std::string& mine = pending_[static_cast<std::size_t>(index)];
  const CFormatTemplate* t = format_.Template();
  if (!t) return;
  for (const auto& application : t->ApplicationList()) {
    const long number = application->Number();
    const QString name = qvui::FromGbk(application->Item());
    if (HasApplication(mine, number)) {
      lists_->AddRight(number, name);
      continue;
    }
    bool elsewhere = false;
    for (const std::string& other : pending_)
      elsewhere = elsewhere || HasApplication(other, number);
    if (!elsewhere) lists_->AddLeft(number, name);
  }
}

void CAssignApplicationsDialog::AfterMove() {
  if (current_ < 0) return;
  std::string text;
  for (int i = 0; i < assigned_->count(); ++i)
    text += ThreeDigits(static_cast<long>(CU2ListBox::Data(assigned_->item(i))));
  pending_[static_cast<std::size_t>(current_)] = text;
  emit applicationsMarked(ids_[static_cast<std::size_t>(current_)], !text.empty());
}

void CAssignApplicationsDialog::OnMoveRight() {
  if (lists_->MoveRight()) AfterMove();
}

void CAssignApplicationsDialog::OnMoveLeft() {
  if (lists_->MoveLeft()) AfterMove();
}

void CAssignApplicationsDialog::OnMoveAllRight() {
  if (lists_->MoveAllRight() > 0) AfterMove();
}

void CAssignApplicationsDialog::OnMoveAllLeft() {
  if (lists_->MoveAllLeft() > 0) AfterMove();
}

void CAssignApplicationsDialog::accept() {
  for (std::size_t i = 0; i < ids_.size(); ++i) {
    std::string text;
    std::string variables;
    std::string applications;
    format_.GetFormatStringInfo(ids_[i], text, variables, applications);
    format_.SetFormatString(ids_[i], text, variables, pending_[i]);
  }
  CDialogEx::accept();
}

void CAssignApplicationsDialog::reject() {
  // The moves set the tree's marks as they went; put back what the document still holds.
  for (std::int32_t id : ids_) {
    std::string text;
    std::string variables;
    std::string applications;
    format_.GetFormatStringInfo(id, text, variables, applications);
    emit applicationsMarked(id, !applications.empty());
  }
  CDialogEx::reject();
}

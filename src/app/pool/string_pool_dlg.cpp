#include "string_pool_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

#include "catalogue/format_template.h"
#include "catalogue/format_template_manager.h"
#include "library/error_message.h"
#include "pool/string_pool.h"
#include "uilib/ui_text.h"

namespace {

constexpr int kIdOverwrite = 3;
constexpr int kIdRemoveFailed = 4;
constexpr int kIdNoSuchName = 6;
constexpr int kIdTipDelete = 7;
constexpr int kIdTipLoad = 8;
constexpr int kIdTipSave = 9;
constexpr int kIdTipInfo = 10;
constexpr int kIdTipClose = 11;
constexpr int kIdTipList = 12;
constexpr int kIdTipName = 13;
constexpr int kIdTipBlockType = 14;
constexpr int kIdTipTemplate = 15;
constexpr int kIdReallyRemove = 16;
constexpr int kIdOutputStrings = 17;
constexpr int kIdInputStrings = 18;
constexpr int kIdBlockTypeDiffers = 19;
constexpr int kIdGeneralHeader = 526;
constexpr int kIdNoTemplate = 1112;

// At most so many GBK bytes, as the pool keeps them.
class CGbkLengthValidator : public QValidator {
 public:
  CGbkLengthValidator(int maxBytes, QObject* parent) : QValidator(parent), max_(maxBytes) {}
  State validate(QString& input, int&) const override {
    return static_cast<int>(qvui::ToGbk(input).size()) <= max_ ? Acceptable : Invalid;
  }

 private:
  int max_;
};

QPushButton* MakeButton(const QString& text, int controlId, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QStringLiteral("button%1").arg(controlId));
  return button;
}

QLabel* MakeFigure(int controlId, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QStringLiteral("static%1").arg(controlId));
  label->setMinimumWidth(40);
  return label;
}

QLineEdit* MakeField(int controlId, bool readOnly, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QStringLiteral("edit%1").arg(controlId));
  edit->setReadOnly(readOnly);
  if (readOnly) {
    // Shown as a field that cannot be typed into, not as an empty white one.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
  }
  return edit;
}

bool LessIgnoringCase(const QString& a, const QString& b) {
  return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

}  // namespace

// --- Properties -------------------------------------------------------------------------------

CStringPropertiesDialog::CStringPropertiesDialog(CStringPoolRecord& record, QWidget* parent)
    : CDialogEx(kTemplateId, parent), record_(record) {
  setWindowTitle(tr("格式串的属性"));
  setObjectName(QStringLiteral("stringPropertiesDialog"));
  name_ = MakeField(1018, true, this);
  length_ = MakeField(1027, true, this);
  template_ = MakeField(1007, true, this);
  blockType_ = MakeField(1020, true, this);
  date_ = MakeField(1031, true, this);
  author_ = MakeField(1015, false, this);
  author_->setValidator(new CGbkLengthValidator(CStringPoolDialog::kMaxNameBytes, author_));
  description_ = new QPlainTextEdit(this);
  description_->setObjectName(QStringLiteral("edit1017"));
  description_->setTabChangesFocus(true);

  if (record_.date.isEmpty()) record_.date = qvui::FromGbk(PoolDateToday());
  name_->setText(record_.name);
  length_->setText(record_.length);
  template_->setText(record_.templateName);
  blockType_->setText(record_.blockType);
  date_->setText(record_.date);
  author_->setText(record_.author);
  description_->setPlainText(record_.description);

  auto* form = new QFormLayout;
  form->addRow(tr("名称："), name_);
  form->addRow(tr("字串长："), length_);
  form->addRow(tr("模板："), template_);
  form->addRow(tr("数据块类型："), blockType_);
  form->addRow(tr("创建日期："), date_);
  form->addRow(tr("作者："), author_);
  form->addRow(tr("说明："), description_);
  auto* ok = MakeButton(tr("确定"), 1, this);
  ok->setDefault(true);
  auto* cancel = MakeButton(tr("取消"), 2, this);
  connect(ok, &QPushButton::clicked, this, &CStringPropertiesDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &CStringPropertiesDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  resize(380, 320);
}

QLineEdit* CStringPropertiesDialog::Field(int controlId) const {
  return findChild<QLineEdit*>(QStringLiteral("edit%1").arg(controlId));
}

void CStringPropertiesDialog::accept() {
  record_.author = author_->text();
  // The pool keeps 127 bytes of a text; cut by whole characters.
  record_.description =
      qvui::FromGbk(qvui::ToGbk(description_->toPlainText(), CStringPoolDialog::kMaxNameBytes));
  record_.date = date_->text();
  CDialogEx::accept();
}

// --- Pool dialog ------------------------------------------------------------------------------

CStringPoolDialog::CStringPoolDialog(CStringPool& pool, const CFormatTemplateManager* catalogue,
                                     const std::string& templateName, const CFrtKey& key, int mode,
                                     QWidget* parent)
    : CDialogEx(kTemplateId, parent),
      pool_(pool),
      catalogue_(catalogue),
      mode_(mode == kSave ? kSave : kLoad),
      key_(key),
      initialBlockType_(key.block),
      template_(templateName) {
  Build();
  filling_ = true;
  FillCombos();
  FillList();
  filling_ = false;
  action_->setText(qvui::Text(IsSaveMode() ? frt::kIdPoolActionSave : frt::kIdPoolActionLoad));
  if (!IsSaveMode()) SelectFirstName();
  UpdateCount();
  UpdateFigures();
  UpdateStates();
  setWindowTitle(
      tr("格式串池 - ") + QLatin1Char(' ') +
      qvui::Text(key_.direction == CFrtKey::kExport ? kIdOutputStrings : kIdInputStrings));
}

void CStringPoolDialog::Build() {
  setObjectName(QStringLiteral("stringPoolDialog"));
  templates_ = new QComboBox(this);
  templates_->setObjectName(QStringLiteral("combo1007"));
  blockTypes_ = new QComboBox(this);
  blockTypes_->setObjectName(QStringLiteral("combo1008"));
  names_ = new QListWidget(this);
  names_->setObjectName(QStringLiteral("list1009"));
  name_ = new QLineEdit(this);
  name_->setObjectName(QStringLiteral("edit1013"));
  name_->setValidator(new CGbkLengthValidator(kMaxNameBytes, name_));
  delete_ = MakeButton(tr("删除"), 1011, this);
  info_ = MakeButton(tr("信息"), 1010, this);
  action_ = MakeButton(QString(), 1006, this);
  close_ = MakeButton(tr("(&C)关闭"), 2086, this);
  count_ = MakeFigure(1025, this);
  length_ = MakeFigure(1028, this);
  variables_ = MakeFigure(1029, this);

  action_->setToolTip(qvui::Text(IsSaveMode() ? kIdTipSave : kIdTipLoad));
  templates_->setToolTip(qvui::Text(kIdTipTemplate));
  blockTypes_->setToolTip(qvui::Text(kIdTipBlockType));
  names_->setToolTip(qvui::Text(kIdTipList));
  info_->setToolTip(qvui::Text(kIdTipInfo));
  delete_->setToolTip(qvui::Text(kIdTipDelete));
  name_->setToolTip(qvui::Text(kIdTipName));
  close_->setToolTip(qvui::Text(kIdTipClose));

  auto* left = new QGridLayout;
  left->addWidget(new QLabel(tr("模板："), this), 0, 0);
  left->addWidget(templates_, 0, 1);
  left->addWidget(new QLabel(tr("数据块类型："), this), 1, 0);
  left->addWidget(blockTypes_, 1, 1);
  left->addWidget(new QLabel(tr("格式串池内容"), this), 2, 0, 1, 2);
  left->addWidget(names_, 3, 0, 1, 2);
  left->addWidget(new QLabel(tr("字串名："), this), 4, 0);
  left->addWidget(name_, 4, 1);
  left->setColumnStretch(1, 1);

  auto* figures = new QGridLayout;
  auto* poolLabel = new QLabel(tr("池中的字串："), this);
  poolLabel->setObjectName(QStringLiteral("static1026"));
  figures->addWidget(poolLabel, 0, 0);
  figures->addWidget(count_, 0, 1);
  figures->addWidget(new QLabel(tr("字串长："), this), 1, 0);
  figures->addWidget(length_, 1, 1);
  figures->addWidget(new QLabel(tr("无变量的："), this), 2, 0);
  figures->addWidget(variables_, 2, 1);

  auto* right = new QVBoxLayout;
  right->addWidget(action_);
  right->addWidget(delete_);
  right->addWidget(info_);
  right->addWidget(close_);
  right->addSpacing(12);
  right->addLayout(figures);
  right->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(right);

  for (QPushButton* b : {delete_, info_, action_, close_}) b->setAutoDefault(false);
  connect(blockTypes_, &QComboBox::currentIndexChanged, this,
          &CStringPoolDialog::OnBlockTypeChanged);
  connect(templates_, &QComboBox::currentIndexChanged, this, &CStringPoolDialog::OnTemplateChanged);
  connect(names_, &QListWidget::itemSelectionChanged, this, &CStringPoolDialog::OnNameSelected);
  connect(names_, &QListWidget::itemDoubleClicked, this, &CStringPoolDialog::OnNameActivated);
  connect(name_, &QLineEdit::textEdited, this, &CStringPoolDialog::OnNameEdited);
  connect(name_, &QLineEdit::textChanged, this, [this] {
    if (IsSaveMode()) UpdateStates();
  });
  connect(delete_, &QPushButton::clicked, this, &CStringPoolDialog::OnDelete);
  connect(info_, &QPushButton::clicked, this, &CStringPoolDialog::OnInfo);
  connect(action_, &QPushButton::clicked, this, &CStringPoolDialog::accept);
  connect(close_, &QPushButton::clicked, this, &CStringPoolDialog::reject);
  resize(520, 340);
}

QString CStringPoolDialog::BlockTypeName(const CFormatTemplateManager* catalogue,
                                         const std::string& templateName, int blockType,
                                         int direction) {
  const CFormatTemplate* t = catalogue ? catalogue->FindTemplate(templateName) : nullptr;
  if (!t) return qvui::Text(kIdNoTemplate);
  const std::string name = t->FormatName(blockType, direction == CFrtKey::kExport);
  return name.empty() ? qvui::Text(kIdGeneralHeader) : qvui::FromGbk(name);
}

void CStringPoolDialog::AddBlockType(const QString& name, int blockType) {
  // The list is sorted, and one name stands once whatever its case.
  int row = blockTypes_->count();
  for (int i = 0; i < blockTypes_->count(); ++i) {
    const QString other = blockTypes_->itemText(i);
    if (QString::compare(other, name, Qt::CaseInsensitive) == 0) return;
    if (row == blockTypes_->count() && LessIgnoringCase(name, other)) row = i;
  }
  blockTypes_->insertItem(row, name, blockType);
}

void CStringPoolDialog::FillCombos() {
  const QString ownTemplate = qvui::FromGbk(template_);
  const QString ownBlockType = BlockTypeName(catalogue_, template_, key_.block, key_.direction);
  if (IsSaveMode()) {
    templates_->addItem(ownTemplate);
    if (!ownBlockType.isEmpty()) blockTypes_->addItem(ownBlockType, key_.block);
    templates_->setEnabled(false);
    blockTypes_->setEnabled(false);
  } else {
    for (int i = 0; i < pool_.EntryCount(); ++i) {
      const CFrtStringEx* entry = pool_.NextCyclic();
      if (!entry) break;
      const std::string entryTemplate(entry->extra[kPoolTemplate].view());
      const QString templateText = qvui::FromGbk(entryTemplate);
      if (templates_->findText(templateText, Qt::MatchFixedString) < 0)
        templates_->addItem(templateText);
      AddBlockType(BlockTypeName(catalogue_, entryTemplate, entry->key.block, key_.direction),
                   entry->key.block);
    }
  }
  if (pool_.EntryCount() == 0) {
    templates_->setEnabled(false);
    blockTypes_->setEnabled(false);
  }
  int at = templates_->findText(ownTemplate, Qt::MatchFixedString);
  if (at < 0 && templates_->count() > 0) {
    at = 0;
    template_ = qvui::ToGbk(templates_->itemText(0));
  }
  templates_->setCurrentIndex(at);
  at = blockTypes_->findText(ownBlockType, Qt::MatchFixedString);
  if (at < 0 && blockTypes_->count() > 0) {
    at = 0;
    key_.block = static_cast<std::uint8_t>(blockTypes_->itemData(0).toInt());
  }
  blockTypes_->setCurrentIndex(at);
  selectedBlockType_ = at >= 0 ? blockTypes_->itemData(at).toInt() : 255;
}

void CStringPoolDialog::FillList() {
  QStringList names;
  CFrtStringEx* entry = nullptr;
  if (pool_.FindFirst(key_, template_, entry) == frt::kOk) {
    for (; entry; entry = pool_.FindNext())
      names.append(qvui::FromGbk(entry->extra[kPoolName].view()));
  }
  std::stable_sort(names.begin(), names.end(), LessIgnoringCase);
  const bool wasFilling = filling_;
  filling_ = true;
  names_->clear();
  names_->addItems(names);
  filling_ = wasFilling;
}

void CStringPoolDialog::SelectFirstName() {
  if (names_->count() == 0) return;
  names_->setCurrentRow(0);
  if (!IsSaveMode()) name_->setText(names_->item(0)->text());
}

QString CStringPoolDialog::SelectedName() const {
  const QList<QListWidgetItem*> selected = names_->selectedItems();
  return selected.isEmpty() ? QString() : selected.first()->text();
}

int CStringPoolDialog::FindName(const QString& name, bool prefix) const {
  for (int i = 0; i < names_->count(); ++i) {
    const QString text = names_->item(i)->text();
    if (prefix ? text.startsWith(name, Qt::CaseInsensitive)
               : QString::compare(text, name, Qt::CaseInsensitive) == 0)
      return i;
  }
  return -1;
}

void CStringPoolDialog::UpdateCount() {
  count_->setText(QString::number(pool_.Count(key_.direction, -1)));
}

void CStringPoolDialog::UpdateFigures() {
  CFrtStringEx* entry = nullptr;
  const QString name = SelectedName();
  if (name.isEmpty() || pool_.FindByName(qvui::ToGbk(name), entry) != frt::kOk) {
    length_->clear();
    variables_->clear();
    return;
  }
  variables_->setText(QString::number(entry->VariableCount()));
  length_->setText(QString::number(entry->TextView().size()));
}

void CStringPoolDialog::UpdateStates() {
  const bool empty = names_->count() == 0;
  const bool selected = !SelectedName().isEmpty();
  if (IsSaveMode()) {
    delete_->setEnabled(!empty && selected);
    info_->setEnabled(!empty && selected);
    name_->setEnabled(true);
    name_->setFocus();  // also with no entry to choose: what is typed is the new name
    // Nothing can be saved without a name.
    const bool named = !name_->text().isEmpty();
    action_->setEnabled(named);
    action_->setDefault(named);
    close_->setDefault(!named);
    return;
  }
  if (empty) {
    length_->clear();
    variables_->clear();
    delete_->setEnabled(false);
    info_->setEnabled(false);
    name_->clear();
    action_->setEnabled(false);
    close_->setDefault(true);
  } else {
    // A click on the empty part of the list clears the selection: nothing to act on then.
    action_->setEnabled(selected);
    delete_->setEnabled(selected);
    info_->setEnabled(selected);
    action_->setDefault(selected);
    close_->setDefault(!selected);
    if (selected) action_->setFocus();
  }
  templates_->setEnabled(templates_->count() > 0);
  blockTypes_->setEnabled(blockTypes_->count() > 0);
  name_->setEnabled(false);
}

void CStringPoolDialog::OnBlockTypeChanged(int index) {
  if (filling_ || index < 0) return;
  key_.block = static_cast<std::uint8_t>(blockTypes_->itemData(index).toInt());
  selectedBlockType_ = key_.block;
  FillList();
  if (!IsSaveMode()) SelectFirstName();
  UpdateFigures();
  UpdateStates();
}

void CStringPoolDialog::OnTemplateChanged(int index) {
  if (filling_ || index < 0) return;
  template_ = qvui::ToGbk(templates_->itemText(index));
  FillList();
  if (!IsSaveMode()) SelectFirstName();
  UpdateFigures();
  UpdateStates();
}

void CStringPoolDialog::OnNameSelected() {
  if (filling_) return;
  const QString name = SelectedName();
  if (!IsSaveMode() && !name.isEmpty()) name_->setText(name);
  UpdateFigures();
  UpdateStates();
}

void CStringPoolDialog::OnNameActivated(QListWidgetItem* item) {
  // A double click is the dialog's action on that entry: load it, or save over it (asking).
  if (!item) return;
  name_->setText(item->text());
  accept();
}

void CStringPoolDialog::OnNameEdited(const QString& text) {
  if (IsSaveMode() || text.isEmpty() || names_->count() == 0) return;
  const int at = FindName(text, true);
  if (at >= 0) {
    names_->setCurrentRow(at);
    return;
  }
  names_->setCurrentRow(0);
  name_->setText(names_->item(0)->text());
}

void CStringPoolDialog::OnDelete() {
  const QString name = SelectedName();
  if (name.isEmpty()) return;
  if (!CErrorMessage::AskYesNo(kIdReallyRemove, name.toStdString() + " ?")) return;
  if (pool_.Remove(qvui::ToGbk(name)) != frt::kOk) {
    CErrorMessage::ShowNotice(kIdRemoveFailed);
    return;
  }
  filling_ = true;
  delete names_->takeItem(FindName(name, false));
  names_->clearSelection();
  filling_ = false;
  if (!IsSaveMode()) SelectFirstName();
  UpdateCount();
  UpdateFigures();
  UpdateStates();

  if (pool_.Count(key_.direction, selectedBlockType_) != 0) return;
  if (IsSaveMode() && selectedBlockType_ == initialBlockType_) return;
  const int at = blockTypes_->findData(selectedBlockType_);
  if (at < 0) return;
  filling_ = true;
  blockTypes_->removeItem(at);
  filling_ = false;
  if (blockTypes_->count() == 0) {
    blockTypes_->setEnabled(false);
    selectedBlockType_ = 255;
    return;
  }
  if (!IsSaveMode()) blockTypes_->setEnabled(true);
  // The list follows the block type now shown.
  filling_ = true;
  blockTypes_->setCurrentIndex(0);
  filling_ = false;
  OnBlockTypeChanged(0);
}

void CStringPoolDialog::OnInfo() {
  const QString name = SelectedName();
  CFrtStringEx* entry = nullptr;
  if (name.isEmpty() || pool_.FindByName(qvui::ToGbk(name), entry) != frt::kOk) return;
  CStringPoolRecord record;
  record.name = qvui::FromGbk(entry->extra[kPoolName].view());
  record.author = qvui::FromGbk(entry->extra[kPoolAuthor].view());
  record.description = qvui::FromGbk(entry->extra[kPoolDescription].view());
  record.date = qvui::FromGbk(entry->extra[kPoolDate].view());
  record.templateName = qvui::FromGbk(entry->extra[kPoolTemplate].view());
  record.blockType = blockTypes_->currentText();
  record.length = QString::number(entry->TextView().size());
  CStringPropertiesDialog properties(record, this);
  if (properties.DoModal() != QDialog::Accepted) return;
  entry->extra[kPoolAuthor].assign(qvui::ToGbk(record.author, kMaxNameBytes));
  entry->extra[kPoolDescription].assign(qvui::ToGbk(record.description, kMaxNameBytes));
  entry->extra[kPoolDate].assign(qvui::ToGbk(record.date, kMaxNameBytes));
  pool_.MarkModified();
}

QPushButton* CStringPoolDialog::Button(int controlId) const {
  return findChild<QPushButton*>(QStringLiteral("button%1").arg(controlId));
}

QLabel* CStringPoolDialog::Figure(int controlId) const {
  return findChild<QLabel*>(QStringLiteral("static%1").arg(controlId));
}

std::string CStringPoolDialog::Name() const {
  return qvui::ToGbk(name_->text());
}

void CStringPoolDialog::accept() {
  if (IsSaveMode()) {
    const std::string name = Name();
    if (name.empty()) return;
    CFrtStringEx* entry = nullptr;
    if (pool_.FindByName(name, entry) == frt::kOk && !CErrorMessage::AskYesNo(kIdOverwrite)) return;
    CDialogEx::accept();
    return;
  }
  if (FindName(name_->text(), false) < 0) {
    CErrorMessage::ShowNotice(kIdNoSuchName);
    return;
  }
  if (selectedBlockType_ != initialBlockType_ && !CErrorMessage::AskYesNo(kIdBlockTypeDiffers))
    return;
  CDialogEx::accept();
}

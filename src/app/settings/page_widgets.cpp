#include "settings/page_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "library/error_message.h"
#include "library/string_table.h"
#include "settings/qv_edit_var.h"

namespace {

constexpr int kIdListSuppress = 521;
constexpr int kIdListInputRepresentation = 520;
// ReadNumberEdit: the edit must hold a number.
constexpr int kNoEmpty = INT_MIN;
constexpr int kNoWidth = -1;

QComboBox* MakeListCombo(QWidget* parent, const char* name, int listId) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QString::fromLatin1(name));
  for (const std::string& item : frt::ListItems(listId))
    combo->addItem(QString::fromStdString(item));
  return combo;
}

QLineEdit* MakeNumberEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaxLength(6);
  return edit;
}

// A setting shown in a combo: its entry, or none when the setting is not one.
void ShowSetting(QComboBox* combo, int value) {
  combo->setCurrentIndex(value >= 0 && value < combo->count() ? value : -1);
}

void TakeSetting(const QComboBox* combo, int& setting) {
  if (combo->currentIndex() >= 0) setting = combo->currentIndex();
}

void ShowNumber(QLineEdit* edit, int value) {
  edit->setText(value < 0 ? QString() : QString::number(value));
}

// The range message of a number edit, and the number it holds. An empty edit gives `emptyValue`
// unless that is kNoEmpty; false after the message, with the focus in the edit.
bool ReadNumberEdit(QLineEdit* edit, int minimum, int maximum, int emptyValue, int& value) {
  const QString text = edit->text().trimmed();
  if (text.isEmpty() && emptyValue != kNoEmpty) {
    value = emptyValue;
    return true;
  }
  bool ok = false;
  const int n = text.toInt(&ok);
  if (ok && n >= minimum && n <= maximum) {
    value = n;
    return true;
  }
  CErrorMessage::ShowNotice(frt::kIdNone,
                            CQVConversionBox::tr("请输入一个介于 %1 和 %2 之间的整数。")
                                .arg(minimum)
                                .arg(maximum)
                                .toStdString());
  edit->setFocus();
  edit->selectAll();
  return false;
}

}  // namespace

QGroupBox* MakeApplyToEveryFormatGroup(QWidget* page, QCheckBox*& box) {
  auto* group = new QGroupBox(QObject::tr("有效"), page);
  group->setObjectName(QStringLiteral("validGroup"));
  box = new QCheckBox(QObject::tr("作用于每一格式"), group);
  box->setObjectName(QStringLiteral("applyToEveryFormat"));
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(box);
  return group;
}

// --- Conversion boxes ----------------------------------------------------------------------

CQVConversionBox::CQVConversionBox(QWidget* parent)
    : QWidget(parent), form_(new QFormLayout(this)) {
  form_->setContentsMargins(0, 0, 0, 0);
}

bool CQVConversionBox::Check() const {
  CQVConversionSettings unused;
  return Take(unused);
}

// --- Output ----------------------------------------------------------------------------------

CQVOutputConversionBox::CQVOutputConversionBox(int lengthMinimum, int limit, Order order,
                                               QWidget* parent)
    : CQVConversionBox(parent), lengthMinimum_(lengthMinimum), limit_(limit) {
  setObjectName(QStringLiteral("outputConversion"));
  align_ = MakeListCombo(this, "alignCombo", frt::kIdListAlign);
  representation_ = MakeListCombo(this, "representationCombo", frt::kIdListRepresentation);
  sign_ = MakeListCombo(this, "signCombo", frt::kIdListSign);
  fill_ = MakeListCombo(this, "fillCombo", frt::kIdListFillCharacter);
  alternate_ = MakeListCombo(this, "alternateFormatCombo", frt::kIdListAlternateFormat);
  length_ = MakeNumberEdit(this, "lengthEdit");
  precision_ = MakeNumberEdit(this, "precisionEdit");
  form_->addRow(tr("排列："), align_);
  form_->addRow(tr("表达式："), representation_);
  form_->addRow(tr("符号："), sign_);
  if (order == Order::kChoicesFirst) {
    form_->addRow(tr("填充符："), fill_);
    form_->addRow(tr("可选格式："), alternate_);
  }
  form_->addRow(tr("长度："), length_);
  form_->addRow(tr("精度："), precision_);
  if (order == Order::kWidthAfterSign) {
    form_->addRow(tr("填充符："), fill_);
    form_->addRow(tr("可选格式："), alternate_);
  }
  connect(align_, &QComboBox::currentIndexChanged, this, &CQVOutputConversionBox::OnAlignChanged);
}

void CQVOutputConversionBox::SetFillable(bool fillable) {
  fillable_ = fillable;
  OnAlignChanged();
}

void CQVOutputConversionBox::OnAlignChanged() {
  fill_->setEnabled(fillable_ && align_->currentIndex() != 1);
}

void CQVOutputConversionBox::Show(const CQVConversionSettings& settings) {
  ShowSetting(align_, settings.align);
  ShowSetting(representation_, settings.representation);
  ShowSetting(sign_, settings.sign);
  ShowSetting(fill_, settings.fillCharacter);
  ShowSetting(alternate_, settings.alternateFormat);
  ShowNumber(length_, settings.length);
  ShowNumber(precision_, settings.precision);
  OnAlignChanged();
}

bool CQVOutputConversionBox::Take(CQVConversionSettings& settings) const {
  int length = kNoWidth;
  int precision = settings.precision;
  if (!ReadNumberEdit(length_, lengthMinimum_, limit_, kNoWidth, length)) return false;
  if (precision_->isEnabled() && !ReadNumberEdit(precision_, 0, limit_, kNoEmpty, precision))
    return false;
  TakeSetting(align_, settings.align);
  TakeSetting(representation_, settings.representation);
  TakeSetting(sign_, settings.sign);
  TakeSetting(fill_, settings.fillCharacter);
  TakeSetting(alternate_, settings.alternateFormat);
  settings.length = length;
  settings.precision = precision;
  return true;
}

// --- Input -----------------------------------------------------------------------------------

CQVInputConversionBox::CQVInputConversionBox(QWidget* parent) : CQVConversionBox(parent) {
  setObjectName(QStringLiteral("inputConversion"));
  suppress_ = MakeListCombo(this, "suppressAssignmentCombo", kIdListSuppress);
  representation_ = MakeListCombo(this, "representationCombo", kIdListInputRepresentation);
  length_ = MakeNumberEdit(this, "lengthEdit");
  form_->addRow(tr("限制分配："), suppress_);
  form_->addRow(tr("表达式："), representation_);
  form_->addRow(tr("长度："), length_);
}

void CQVInputConversionBox::Show(const CQVConversionSettings& settings) {
  ShowSetting(suppress_, settings.subpressAssignment);
  ShowSetting(representation_, settings.representation);
  ShowNumber(length_, std::min(settings.length, CQVEditVar::kMaxInputLength));
}

bool CQVInputConversionBox::Take(CQVConversionSettings& settings) const {
  int length = kNoWidth;
  if (!ReadNumberEdit(length_, 1, CQVEditVar::kMaxInputLength, kNoWidth, length)) return false;
  TakeSetting(suppress_, settings.subpressAssignment);
  TakeSetting(representation_, settings.representation);
  settings.length = length;
  return true;
}

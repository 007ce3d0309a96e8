#include "defaults_pages.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <climits>

#include "library/string_table.h"
#include "profile/qv_profile.h"
#include "settings/variable_pages.h"

namespace {

constexpr int kIdListSuppress = 521;
constexpr int kIdListInputRepresentation = 520;

QComboBox* MakeListCombo(QWidget* parent, int controlId, int listId) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QStringLiteral("combo%1").arg(controlId));
  FillListCombo(combo, listId);
  return combo;
}

QLineEdit* MakeNumberEdit(QWidget* parent, int controlId) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QStringLiteral("edit%1").arg(controlId));
  edit->setMaxLength(6);
  return edit;
}

// A setting in its combo: the entry of that index, or none when the value is not a choice.
void ShowChoice(QComboBox* combo, int value) {
  combo->setCurrentIndex(value >= 0 && value < combo->count() ? value : -1);
}

int TakeChoice(const QComboBox* combo, int previous) {
  return combo->currentIndex() >= 0 ? combo->currentIndex() : previous;
}

void ShowLength(QLineEdit* edit, int value) {
  edit->setText(value < 0 ? QString() : QString::number(value));
}

template <class Page>
QComboBox* ComboById(const Page* page, int controlId) {
  return page->template findChild<QComboBox*>(QStringLiteral("combo%1").arg(controlId));
}

}  // namespace

// --- Output defaults --------------------------------------------------------------------------

CQVExportDefaultsPage::CQVExportDefaultsPage(CQVProfile& profile, CDocFormat* format,
                                             QWidget* parent)
    : CQVSettingsPage(kTemplateId, QStringLiteral("输出"), profile, format, parent) {
  align_ = MakeListCombo(this, 2032, frt::kIdListAlign);
  representation_ = MakeListCombo(this, 2033, frt::kIdListRepresentation);
  sign_ = MakeListCombo(this, 2034, frt::kIdListSign);
  fill_ = MakeListCombo(this, 2037, frt::kIdListFillCharacter);
  alternate_ = MakeListCombo(this, 2038, frt::kIdListAlternateFormat);
  length_ = MakeNumberEdit(this, 2035);
  precision_ = MakeNumberEdit(this, 2036);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("排列："), align_);
  form->addRow(QStringLiteral("表达式："), representation_);
  form->addRow(QStringLiteral("符号："), sign_);
  form->addRow(QStringLiteral("长度："), length_);
  form->addRow(QStringLiteral("精度："), precision_);
  form->addRow(QStringLiteral("填充符："), fill_);
  form->addRow(QStringLiteral("可选格式："), alternate_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  AddApplyBox(layout);
  connect(align_, &QComboBox::currentIndexChanged, this, &CQVExportDefaultsPage::OnAlignChanged);
}

QComboBox* CQVExportDefaultsPage::Combo(int controlId) const {
  return ComboById(this, controlId);
}

QLineEdit* CQVExportDefaultsPage::Edit(int controlId) const {
  return controlId == 2035 ? length_ : controlId == 2036 ? precision_ : nullptr;
}

bool CQVExportDefaultsPage::OnInitDialog() {
  CQVSettingsPage::OnInitDialog();
  const CQVPrintFDefFloat& d = profile_.Default().PrintFFloat();
  ShowChoice(align_, d.Align());
  ShowChoice(representation_, d.Representation());
  ShowChoice(sign_, d.Sign());
  ShowChoice(fill_, d.FillCharacter());
  ShowChoice(alternate_, d.AlternateFormat());
  ShowLength(length_, d.Length());
  precision_->setText(QString::number(d.Precision()));
  OnAlignChanged();
  return true;
}

void CQVExportDefaultsPage::OnAlignChanged() {
  // Left-aligned output is never filled.
  fill_->setEnabled(align_->currentIndex() != 1);
}

bool CQVExportDefaultsPage::ReadEdits(int& length, int& precision) {
  return ReadNumberEdit(length_, 0, kLengthLimit, -1, length) &&
         ReadNumberEdit(precision_, 0, kLengthLimit, INT_MIN, precision);
}

bool CQVExportDefaultsPage::OnKillActive() {
  int length = 0;
  int precision = 0;
  return ReadEdits(length, precision);
}

bool CQVExportDefaultsPage::OnApply() {
  int length = 0;
  int precision = 0;
  if (!ReadEdits(length, precision)) return false;
  CQVProfDefault& defaults = profile_.Default();
  CQVPrintFDefFloat& d = defaults.PrintFFloat();
  d.SetAlign(TakeChoice(align_, d.Align()));
  d.SetRepresentation(TakeChoice(representation_, d.Representation()));
  d.SetSign(TakeChoice(sign_, d.Sign()));
  d.SetFillCharacter(TakeChoice(fill_, d.FillCharacter()));
  d.SetAlternateFormat(TakeChoice(alternate_, d.AlternateFormat()));
  d.SetLength(length);
  d.SetPrecision(precision);
  defaults.CopyPrintFFloatToOthers();
  if (ApplyAll()) defaults.SavePrintFDefaults();
  return true;
}

// --- Input defaults ---------------------------------------------------------------------------

CQVImportDefaultsPage::CQVImportDefaultsPage(CQVProfile& profile, CDocFormat* format,
                                             QWidget* parent)
    : CQVSettingsPage(kTemplateId, QStringLiteral("输入"), profile, format, parent) {
  suppress_ = MakeListCombo(this, 2058, kIdListSuppress);
  representation_ = MakeListCombo(this, 2040, kIdListInputRepresentation);
  length_ = MakeNumberEdit(this, 2041);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("限制分配："), suppress_);
  form->addRow(QStringLiteral("表达式："), representation_);
  form->addRow(QStringLiteral("长度："), length_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  AddApplyBox(layout);
}

QComboBox* CQVImportDefaultsPage::Combo(int controlId) const {
  return ComboById(this, controlId);
}

bool CQVImportDefaultsPage::OnInitDialog() {
  CQVSettingsPage::OnInitDialog();
  const CQVScanFDefFloat& d = profile_.Default().ScanFFloat();
  ShowChoice(suppress_, d.SubpressAssignment());
  ShowChoice(representation_, d.Representation());
  ShowLength(length_, d.Length());
  return true;
}

bool CQVImportDefaultsPage::OnKillActive() {
  int length = 0;
  return ReadNumberEdit(length_, 1, kLengthLimit, -1, length);
}

bool CQVImportDefaultsPage::OnApply() {
  int length = 0;
  if (!ReadNumberEdit(length_, 1, kLengthLimit, -1, length)) return false;
  CQVProfDefault& defaults = profile_.Default();
  CQVScanFDefFloat& d = defaults.ScanFFloat();
  d.SetSubpressAssignment(TakeChoice(suppress_, d.SubpressAssignment()));
  d.SetRepresentation(TakeChoice(representation_, d.Representation()));
  d.SetLength(length);
  if (!ApplyAll()) return true;
  CQVScanFDefaultBase* others[3] = {&defaults.ScanFInteger(), &defaults.ScanFStrings(),
                                    &defaults.ScanFChar()};
  for (CQVScanFDefaultBase* other : others) {
    other->SetSubpressAssignment(d.SubpressAssignment());
    other->SetLength(d.Length());
  }
  // Every section is written even after a failure; each failure has shown its message.
  d.Write();
  for (CQVScanFDefaultBase* other : others) other->Write();
  return true;
}

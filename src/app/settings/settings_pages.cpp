#include "settings_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QMetaObject>
#include <QVBoxLayout>
#include <cmath>

#include "document/doc_format.h"
#include "library/error_message.h"
#include "profile/qv_profile.h"
#include "settings/variable_pages.h"
#include "uilib/ui_text.h"

namespace {

constexpr int kIdSettingsSheet = 523;

// The four unit types as the pages show them, in the pages' order.
struct UnitTypeInfo {
  const char* name;
  const char* unitKey;
  const char* scaleKey;
  int unitCombo;
  int scaleEdit;
  const char* unitLabel;
  const char* scaleLabel;
};

constexpr UnitTypeInfo kUnitTypes[4] = {
    {"Angular", "#W", "&W", 2042, 2044, "角度单位:", "角度比例："},
    {"Linear", "#L", "&L", 2043, 2045, "长度单位:", "长度比例："},
    {"Temperature", "#T", "&T", 2045, 2046, "温度单位:", "温度比例："},
    {"Pressure", "#P", "&P", 2047, 2047, "压力单位:", "压力比例："},
};

struct DefaultValueInfo {
  const char* key;
  int edit;
  const char* label;
};

constexpr DefaultValueInfo kDefaultValues[3] = {
    {"@Dd", 2047, "浮点数默认值："},
    {"@Df", 2048, "整数默认值："},
    {"@Ds", 2049, "字符串默认值："},
};

void RangeMessage(QLineEdit* edit, const QString& text) {
  CErrorMessage::ShowNotice(frt::kIdNone, text.toStdString());
  edit->setFocus();
  edit->selectAll();
}

}  // namespace

bool ReadRealEdit(QLineEdit* edit, double minimum, double maximum, QString& text) {
  text = edit->text().trimmed();
  bool ok = false;
  const double value = QLocale::c().toDouble(text, &ok);
  if (ok && std::isfinite(value) && value >= minimum && value <= maximum) return true;
  RangeMessage(edit, QStringLiteral("请输入一个介于 %1 和 %2 之间的数。")
                         .arg(minimum, 0, 'f', 1)
                         .arg(maximum, 0, 'f', 1));
  return false;
}

// --- Common part ------------------------------------------------------------------------------

CQVSettingsPage::CQVSettingsPage(int templateId, const QString& caption, CQVProfile& profile,
                                 CDocFormat* format, QWidget* parent)
    : CPropertyPageEx(templateId, 0, parent), profile_(profile), format_(format) {
  SetCaption(caption);
  setObjectName(QStringLiteral("page%1").arg(templateId));
}

bool CQVSettingsPage::ApplyAll() const {
  return applyAll_ && applyAll_->isChecked();
}

bool CQVSettingsPage::OnInitDialog() {
  if (applyAll_) applyAll_->setChecked(false);
  return true;
}

void CQVSettingsPage::AddApplyBox(QBoxLayout* layout) {
  group_ = new QGroupBox(QStringLiteral("有效"), this);
  group_->setObjectName(QStringLiteral("group2074"));
  applyAll_ = new QCheckBox(QStringLiteral("作用于每一格式"), group_);
  applyAll_->setObjectName(QStringLiteral("check2073"));
  auto* groupLayout = new QVBoxLayout(group_);
  groupLayout->addWidget(applyAll_);
  layout->addStretch();
  layout->addWidget(group_);
}

bool CQVSettingsPage::ReadSetting(std::string_view key, std::string& value) {
  if (!format_) return false;
  if (format_->GetFileHeader(key, value)) return true;
  CloseSheetCancelled();
  return false;
}

bool CQVSettingsPage::StoreSetting(std::string_view key, const std::string& value) {
  if (!format_) return true;
  if (format_->SetFileHeader(key, value.c_str())) return true;
  CloseSheetCancelled();
  return false;
}

void CQVSettingsPage::CloseSheetCancelled() {
  failed_ = true;
  if (auto* sheet = qobject_cast<QDialog*>(window()))
    QMetaObject::invokeMethod(sheet, "reject", Qt::QueuedConnection);
}

// --- Scales -----------------------------------------------------------------------------------

CFormatScalesPage::CFormatScalesPage(CQVProfile& profile, CDocFormat* format, QWidget* parent)
    : CQVSettingsPage(kTemplateId, QStringLiteral("比例因子"), profile, format, parent) {
  auto* form = new QFormLayout;
  for (int i = 0; i < 4; ++i) {
    edits_[i] = new QLineEdit(this);
    edits_[i]->setObjectName(QStringLiteral("edit%1").arg(kUnitTypes[i].scaleEdit));
    form->addRow(QString::fromUtf8(kUnitTypes[i].scaleLabel), edits_[i]);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  AddApplyBox(layout);
}

QLineEdit* CFormatScalesPage::Edit(int controlId) const {
  for (QLineEdit* e : edits_)
    if (e->objectName() == QStringLiteral("edit%1").arg(controlId)) return e;
  return nullptr;
}

bool CFormatScalesPage::OnInitDialog() {
  CQVSettingsPage::OnInitDialog();
  for (int i = 0; i < 4; ++i) {
    std::string text;
    if (format_) {
      if (!ReadSetting(kUnitTypes[i].scaleKey, text)) return false;
    } else {
      text = profile_.Default().ScaleText(kUnitTypes[i].name);
    }
    edits_[i]->setText(qvui::FromGbk(text));
  }
  return true;
}

bool CFormatScalesPage::OnKillActive() {
  for (int i = 0; i < 4; ++i) {
    if (!ReadRealEdit(edits_[i], -kLimit, kLimit, texts_[i])) return false;
  }
  return true;
}

bool CFormatScalesPage::OnApply() {
  for (int i = 0; i < 4; ++i) {
    if (!ReadRealEdit(edits_[i], -kLimit, kLimit, texts_[i])) return false;
  }
  for (int i = 0; i < 4; ++i) {
    if (!StoreSetting(kUnitTypes[i].scaleKey, texts_[i].toStdString())) return false;
  }
  if (ApplyAll()) {
    for (int i = 0; i < 4; ++i)
      profile_.Default().SetScaleText(kUnitTypes[i].name, texts_[i].toStdString());
    // Scalings goes together with DefaultValues; a failed write has shown its message.
    profile_.Default().Write();
  }
  return true;
}

// --- Units ------------------------------------------------------------------------------------

CFormatUnitsPage::CFormatUnitsPage(CQVProfile& profile, CDocFormat* format, QWidget* parent)
    : CQVSettingsPage(kTemplateId, QStringLiteral("单位"), profile, format, parent) {
  auto* form = new QFormLayout;
  for (int i = 0; i < 4; ++i) {
    combos_[i] = new QComboBox(this);
    combos_[i]->setObjectName(QStringLiteral("combo%1").arg(kUnitTypes[i].unitCombo));
    form->addRow(QString::fromUtf8(kUnitTypes[i].unitLabel), combos_[i]);
  }
  instrument_ = new QCheckBox(QStringLiteral("使用仪器单位"), this);
  instrument_->setObjectName(QStringLiteral("check2075"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(instrument_);
  AddApplyBox(layout);
  connect(instrument_, &QCheckBox::clicked, this, &CFormatUnitsPage::OnInstrumentUnits);
}

QComboBox* CFormatUnitsPage::Combo(int controlId) const {
  for (QComboBox* c : combos_)
    if (c->objectName() == QStringLiteral("combo%1").arg(controlId)) return c;
  return nullptr;
}

bool CFormatUnitsPage::OnInitDialog() {
  CQVSettingsPage::OnInitDialog();
  bool instrumentUnits = false;
  for (int i = 0; i < 4; ++i) {
    QComboBox* combo = combos_[i];
    combo->clear();
    if (const CQVProfUnitType* type = profile_.FindUnitType(kUnitTypes[i].name)) {
      for (const auto& unit : type->Items()) combo->addItem(qvui::FromGbk(unit->Unit()));
    }
    std::string value;
    if (format_) {
      if (!ReadSetting(kUnitTypes[i].unitKey, value)) return false;
    } else {
      value = profile_.GetSelectedUnitValue(kUnitTypes[i].name);
    }
    const int at = profile_.IndexOfUnitValue(kUnitTypes[i].name, value);
    if (at < 0) instrumentUnits = true;
    combo->setCurrentIndex(at >= 0 ? at : (combo->count() > 0 ? 0 : -1));
  }
  instrument_->setChecked(instrumentUnits);
  for (QComboBox* c : combos_) c->setEnabled(!instrumentUnits);
  return true;
}

void CFormatUnitsPage::OnInstrumentUnits() {
  for (QComboBox* c : combos_) c->setEnabled(!instrument_->isChecked());
}

bool CFormatUnitsPage::OnApply() {
  const bool instrumentUnits = instrument_->isChecked();
  std::string values[4];
  for (int i = 0; i < 4; ++i) {
    values[i] = instrumentUnits
                    ? std::string("0")
                    : profile_.GetUnitValueAt(kUnitTypes[i].name, combos_[i]->currentIndex());
    if (!StoreSetting(kUnitTypes[i].unitKey, values[i])) return false;
  }
  if (ApplyAll() && !instrumentUnits) {
    for (int i = 0; i < 4; ++i) profile_.SelectUnit(kUnitTypes[i].name, values[i]);
    profile_.SaveUnits();
  }
  return true;
}

// --- Default values ---------------------------------------------------------------------------

CFormatDefaultsPage::CFormatDefaultsPage(CQVProfile& profile, CDocFormat* format, QWidget* parent)
    : CQVSettingsPage(kTemplateId, QStringLiteral("默认值"), profile, format, parent) {
  auto* form = new QFormLayout;
  for (int i = 0; i < 3; ++i) {
    edits_[i] = new QLineEdit(this);
    edits_[i]->setObjectName(QStringLiteral("edit%1").arg(kDefaultValues[i].edit));
    edits_[i]->setMaxLength(kMaxLength);
    form->addRow(QString::fromUtf8(kDefaultValues[i].label), edits_[i]);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  AddApplyBox(layout);
}

QLineEdit* CFormatDefaultsPage::Edit(int controlId) const {
  for (QLineEdit* e : edits_)
    if (e->objectName() == QStringLiteral("edit%1").arg(controlId)) return e;
  return nullptr;
}

bool CFormatDefaultsPage::OnInitDialog() {
  CQVSettingsPage::OnInitDialog();
  const CQVProfDefault& defaults = profile_.Default();
  const std::string* fromProfile[3] = {&defaults.FloatValue(), &defaults.IntegerValue(),
                                       &defaults.StringValue()};
  for (int i = 0; i < 3; ++i) {
    std::string value;
    if (format_) {
      if (!ReadSetting(kDefaultValues[i].key, value)) return false;
    } else {
      value = *fromProfile[i];
    }
    edits_[i]->setText(qvui::FromGbk(value));
  }
  return true;
}

bool CFormatDefaultsPage::OnApply() {
  std::string values[3];
  for (int i = 0; i < 3; ++i) {
    values[i] = qvui::ToGbk(edits_[i]->text());
    if (!StoreSetting(kDefaultValues[i].key, values[i])) return false;
  }
  if (ApplyAll()) {
    CQVProfDefault& defaults = profile_.Default();
    defaults.SetFloatValue(values[0]);
    defaults.SetIntegerValue(values[1]);
    defaults.SetStringValue(values[2]);
    defaults.Write();
  }
  return true;
}

// --- Sheet ------------------------------------------------------------------------------------

std::unique_ptr<CPropertySheetEx> MakeFormatSettingsSheet(CQVProfile& profile, CDocFormat* format,
                                                          QWidget* parent) {
  auto sheet = std::make_unique<CQvPropertySheet>(kIdSettingsSheet, parent);
  sheet->setObjectName(QStringLiteral("formatSettingsSheet"));
  sheet->AddPage(new CFormatScalesPage(profile, format));
  sheet->AddPage(new CFormatUnitsPage(profile, format));
  sheet->AddPage(new CFormatDefaultsPage(profile, format));
  sheet->RemoveApplyButton(true);
  sheet->resize(380, sheet->sizeHint().height());
  return sheet;
}

bool RunFormatSettingsSheet(CQVProfile& profile, CDocFormat* format, QWidget* parent) {
  std::unique_ptr<CPropertySheetEx> sheet = MakeFormatSettingsSheet(profile, format, parent);
  return sheet->DoModal() == QDialog::Accepted;
}

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
#include "settings/page_widgets.h"
#include "settings/variable_pages.h"
#include "uilib/ui_text.h"

namespace {

constexpr int kIdSettingsSheet = 523;

// The four unit types as the units page shows them, in its order.
struct UnitTypeInfo {
  const char* name;
  const char* unitKey;
  const char* label;
  const char* objectName;
};

constexpr UnitTypeInfo kUnitTypes[4] = {
    {"Angular", "#W", QT_TRANSLATE_NOOP("CFormatUnitsPage", "角度单位:"), "angularUnitCombo"},
    {"Linear", "#L", QT_TRANSLATE_NOOP("CFormatUnitsPage", "长度单位:"), "linearUnitCombo"},
    {"Temperature", "#T", QT_TRANSLATE_NOOP("CFormatUnitsPage", "温度单位:"),
     "temperatureUnitCombo"},
    {"Pressure", "#P", QT_TRANSLATE_NOOP("CFormatUnitsPage", "压力单位:"), "pressureUnitCombo"},
};

}  // namespace

// --- Common part ------------------------------------------------------------------------------

CQVSettingsPage::CQVSettingsPage(int templateId, const QString& caption, CQVProfile& profile,
                                 CDocFormat* format, QWidget* parent)
    : CPropertyPageEx(templateId, 0, parent), profile_(profile), format_(format) {
  SetCaption(caption);
}

bool CQVSettingsPage::ApplyAll() const {
  return applyAll_ && applyAll_->isChecked();
}

bool CQVSettingsPage::OnInitDialog() {
  if (applyAll_) applyAll_->setChecked(false);
  return true;
}

void CQVSettingsPage::AddApplyBox(QBoxLayout* layout) {
  group_ = MakeApplyToEveryFormatGroup(this, applyAll_);
  layout->addStretch();
  layout->addWidget(group_);
}

bool CQVSettingsPage::ShowSetting(std::string_view key, std::string withoutFormat,
                                  std::string& value) {
  if (!format_) {
    value = std::move(withoutFormat);
    return true;
  }
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

// --- Pages of texts ---------------------------------------------------------------------------

namespace {

constexpr CQVTextSettingField kScaleFields[] = {
    {"&W", QT_TRANSLATE_NOOP("CQVTextSettingsPage", "角度比例："), "angularScaleEdit", "Angular"},
    {"&L", QT_TRANSLATE_NOOP("CQVTextSettingsPage", "长度比例："), "linearScaleEdit", "Linear"},
    {"&T", QT_TRANSLATE_NOOP("CQVTextSettingsPage", "温度比例："), "temperatureScaleEdit",
     "Temperature"},
    {"&P", QT_TRANSLATE_NOOP("CQVTextSettingsPage", "压力比例："), "pressureScaleEdit", "Pressure"},
};

constexpr CQVTextSettingField kDefaultValueFields[] = {
    {"@Dd", QT_TRANSLATE_NOOP("CQVTextSettingsPage", "浮点数默认值："), "realDefaultEdit", nullptr,
     &CQVProfDefault::FloatValue, &CQVProfDefault::SetFloatValue},
    {"@Df", QT_TRANSLATE_NOOP("CQVTextSettingsPage", "整数默认值："), "integerDefaultEdit", nullptr,
     &CQVProfDefault::IntegerValue, &CQVProfDefault::SetIntegerValue},
    {"@Ds", QT_TRANSLATE_NOOP("CQVTextSettingsPage", "字符串默认值："), "textDefaultEdit", nullptr,
     &CQVProfDefault::StringValue, &CQVProfDefault::SetStringValue},
};

}  // namespace

const CQVTextSettingsTable CQVTextSettingsPage::kScales = {
    204,
    QT_TRANSLATE_NOOP("CQVTextSettingsPage", "比例因子"),
    "scalesPage",
    kScaleFields,
    0,
    999999999999999.0};
const CQVTextSettingsTable CQVTextSettingsPage::kDefaultValues = {
    203, QT_TRANSLATE_NOOP("CQVTextSettingsPage", "默认值"), "defaultValuesPage",
    kDefaultValueFields, 20};

CQVTextSettingsPage::CQVTextSettingsPage(const CQVTextSettingsTable& table, CQVProfile& profile,
                                         CDocFormat* format, QWidget* parent)
    : CQVSettingsPage(table.templateId, tr(table.caption), profile, format, parent), table_(table) {
  setObjectName(QString::fromLatin1(table.objectName));
  auto* form = new QFormLayout;
  for (const CQVTextSettingField& field : table_.fields) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(field.objectName));
    if (table_.maxLength > 0) edit->setMaxLength(table_.maxLength);
    form->addRow(tr(field.label), edit);
    edits_.push_back(edit);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  AddApplyBox(layout);
}

QLineEdit* CQVTextSettingsPage::Edit(std::string_view key) const {
  for (std::size_t i = 0; i < table_.fields.size(); ++i)
    if (table_.fields[i].key == key) return edits_[i];
  return nullptr;
}

bool CQVTextSettingsPage::OnInitDialog() {
  CQVSettingsPage::OnInitDialog();
  const CQVProfDefault& defaults = profile_.Default();
  for (std::size_t i = 0; i < edits_.size(); ++i) {
    const CQVTextSettingField& field = table_.fields[i];
    std::string text;
    if (!ShowSetting(
            field.key,
            field.scaleName ? defaults.ScaleText(field.scaleName) : (defaults.*field.value)(),
            text))
      return false;
    edits_[i]->setText(qvui::FromGbk(text));
  }
  return true;
}

bool CQVTextSettingsPage::ReadEdit(QLineEdit* edit, std::string& value) const {
  if (table_.realLimit <= 0) {
    value = qvui::ToGbk(edit->text());
    return true;
  }
  const double limit = table_.realLimit;
  const QString text = edit->text().trimmed();
  bool ok = false;
  const double number = QLocale::c().toDouble(text, &ok);
  if (ok && std::isfinite(number) && number >= -limit && number <= limit) {
    value = text.toStdString();
    return true;
  }
  CErrorMessage::ShowNotice(frt::kIdNone, tr("请输入一个介于 %1 和 %2 之间的数。")
                                              .arg(-limit, 0, 'f', 1)
                                              .arg(limit, 0, 'f', 1)
                                              .toStdString());
  edit->setFocus();
  edit->selectAll();
  return false;
}

bool CQVTextSettingsPage::ReadEdits(std::vector<std::string>& values) const {
  values.resize(edits_.size());
  for (std::size_t i = 0; i < edits_.size(); ++i)
    if (!ReadEdit(edits_[i], values[i])) return false;
  return true;
}

bool CQVTextSettingsPage::OnKillActive() {
  std::vector<std::string> values;
  return ReadEdits(values);
}

bool CQVTextSettingsPage::OnApply() {
  std::vector<std::string> values;
  if (!ReadEdits(values)) return false;
  for (std::size_t i = 0; i < values.size(); ++i)
    if (!StoreSetting(table_.fields[i].key, values[i])) return false;
  if (!ApplyAll()) return true;
  CQVProfDefault& defaults = profile_.Default();
  for (std::size_t i = 0; i < values.size(); ++i) {
    const CQVTextSettingField& field = table_.fields[i];
    if (field.scaleName)
      defaults.SetScaleText(field.scaleName, values[i]);
    else
      (defaults.*field.setValue)(values[i]);
  }
  // Scalings and DefaultValues are written together; a failed write has shown its message.
  defaults.Write();
  return true;
}

// --- Units ------------------------------------------------------------------------------------

CFormatUnitsPage::CFormatUnitsPage(CQVProfile& profile, CDocFormat* format, QWidget* parent)
    : CQVSettingsPage(kTemplateId, tr("单位"), profile, format, parent) {
  setObjectName(QStringLiteral("unitsPage"));
  auto* form = new QFormLayout;
  for (int i = 0; i < 4; ++i) {
    combos_[i] = new QComboBox(this);
    combos_[i]->setObjectName(QString::fromLatin1(kUnitTypes[i].objectName));
    form->addRow(tr(kUnitTypes[i].label), combos_[i]);
  }
  instrument_ = new QCheckBox(tr("使用仪器单位"), this);
  instrument_->setObjectName(QStringLiteral("instrumentUnits"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(instrument_);
  AddApplyBox(layout);
  connect(instrument_, &QCheckBox::clicked, this, &CFormatUnitsPage::OnInstrumentUnits);
}

QComboBox* CFormatUnitsPage::Combo(std::string_view unitType) const {
  for (int i = 0; i < 4; ++i)
    if (kUnitTypes[i].name == unitType) return combos_[i];
  return nullptr;
}

bool CFormatUnitsPage::OnInitDialog() {
  CQVSettingsPage::OnInitDialog();
  bool instrumentUnits = false;
  for (int i = 0; i < 4; ++i) {
    const char* type = kUnitTypes[i].name;
    QComboBox* combo = combos_[i];
    combo->clear();
    if (const CQVProfUnitType* units = profile_.FindUnitType(type)) {
      for (const auto& unit : units->Items()) combo->addItem(qvui::FromGbk(unit->Unit()));
    }
    std::string value;
    if (!ShowSetting(kUnitTypes[i].unitKey, profile_.GetSelectedUnitValue(type), value))
      return false;
    const int at = profile_.IndexOfUnitValue(type, value);
    if (at < 0) instrumentUnits = true;
    combo->setCurrentIndex(at >= 0 ? at : (combo->count() > 0 ? 0 : -1));
  }
  instrument_->setChecked(instrumentUnits);
  OnInstrumentUnits();
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

// --- Sheet ------------------------------------------------------------------------------------

std::unique_ptr<CPropertySheetEx> MakeFormatSettingsSheet(CQVProfile& profile, CDocFormat* format,
                                                          QWidget* parent) {
  auto sheet = std::make_unique<CQvPropertySheet>(kIdSettingsSheet, parent);
  sheet->setObjectName(QStringLiteral("formatSettingsSheet"));
  sheet->AddPage(new CQVTextSettingsPage(CQVTextSettingsPage::kScales, profile, format));
  sheet->AddPage(new CFormatUnitsPage(profile, format));
  sheet->AddPage(new CQVTextSettingsPage(CQVTextSettingsPage::kDefaultValues, profile, format));
  sheet->RemoveApplyButton(true);
  sheet->resize(380, sheet->sizeHint().height());
  return sheet;
}

bool RunFormatSettingsSheet(CQVProfile& profile, CDocFormat* format, QWidget* parent) {
  std::unique_ptr<CPropertySheetEx> sheet = MakeFormatSettingsSheet(profile, format, parent);
  return sheet->DoModal() == QDialog::Accepted;
}

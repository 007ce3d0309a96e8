#include "variable_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "document/doc_format.h"
#include "library/error_message.h"
#include "library/frt_variable.h"
#include "library/string_table.h"
#include "profile/qv_profile.h"
#include "uilib/ui_text.h"

namespace {

constexpr int kIdSheetOutput = 527;
// Its conversion is always "lf": no representation to choose.
constexpr int kDataTypeAlwaysLf = frt::kTypeDouble;

QLabel* MakeNameLabel(QWidget* page, const CQVEditVar& v) {
  auto* name = new QLabel(page);
  name->setObjectName(QStringLiteral("variableName"));
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  const CQVPoolInfo* info = v.PoolVariable();
  name->setText(info ? qvui::FromGbk(info->name) : QString::number(v.Code()));
  return name;
}

// Unit type numbers (1 angular, 2 linear, 3 temperature, 4 pressure) to the profile's names and
// the format's unit keys.
const char* UnitTypeName(int unitType) {
  static const char* const names[] = {"Angular", "Linear", "Temperature", "Pressure"};
  return unitType >= 1 && unitType <= 4 ? names[unitType - 1] : nullptr;
}

const char* UnitKey(int unitType) {
  static const char* const keys[] = {"#W", "#L", "#T", "#P"};
  return unitType >= 1 && unitType <= 4 ? keys[unitType - 1] : nullptr;
}

}  // namespace

// --- Output variable page ---------------------------------------------------------------------

CQVExpVarPage::CQVExpVarPage(CQVEditVar& variable, const CQVVarPageContext& context,
                             QWidget* parent)
    : CPropertyPageEx(kTemplateId, 0, parent),
      var_(variable),
      context_(context),
      limit_(context.lengthLimit > 0 ? context.lengthLimit
                                     : CQVVarPageContext::kDefaultLengthLimit) {
  SetCaption(tr("设置"));
  setObjectName(QStringLiteral("outputVariablePage"));
  name_ = MakeNameLabel(this, var_);
  conversion_ =
      new CQVOutputConversionBox(1, limit_, CQVOutputConversionBox::Order::kChoicesFirst, this);
  conversion_->Form()->insertRow(0, tr("变量："), name_);
  unit_ = new QComboBox(this);
  unit_->setObjectName(QStringLiteral("unitCombo"));
  instrumentUnits_ = new QCheckBox(tr("使用仪器单位"), this);
  instrumentUnits_->setObjectName(QStringLiteral("instrumentUnits"));
  noUnit_ = new QLabel(tr("该变量无量纲或不能改变！"), this);
  noUnit_->setObjectName(QStringLiteral("noUnitText"));

  auto* units = new QGroupBox(tr("单位"), this);
  auto* unitLayout = new QVBoxLayout(units);
  unitLayout->addWidget(unit_);
  unitLayout->addWidget(instrumentUnits_);
  unitLayout->addWidget(noUnit_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(conversion_);
  layout->addWidget(units);
  layout->addStretch();
  setMinimumWidth(340);
}

bool CQVExpVarPage::OnInitDialog() {
  const CQVValueKind kind = var_.Kind();
  const bool real = kind == CQVValueKind::kReal;
  const bool integer = kind == CQVValueKind::kInteger;
  const bool text = kind == CQVValueKind::kString;
  // Controls of settings the variable's kind has no use for stay disabled.
  conversion_->RepresentationCombo()->setEnabled(real && var_.DataType() != kDataTypeAlwaysLf);
  conversion_->SignCombo()->setEnabled(real || integer);
  conversion_->AlternateFormatCombo()->setEnabled(real);
  conversion_->PrecisionEdit()->setEnabled(real || text);
  conversion_->SetFillable(real || integer || text);
  CQVConversionSettings shown = var_.Settings();
  shown.length = std::min(shown.length, limit_);
  shown.precision = std::min(shown.precision, limit_);
  conversion_->Show(shown);
  ShowUnit();
  return true;
}

void CQVExpVarPage::ShowUnit() {
  // The format's unit of the variable's unit type, shown for information; the variable writes
  // its value in that unit.
  const CQVPoolInfo* pool = var_.PoolVariable();
  const int unitType = pool ? pool->unitType : 0;
  const char* typeName = UnitTypeName(unitType);
  const CQVProfUnitType* type =
      typeName && context_.profile ? context_.profile->FindUnitType(typeName) : nullptr;
  const bool fixed = !type || type->Count() == 0 || CQVEditVar::HasFixedUnit(var_.Code());
  unit_->setVisible(!fixed);
  instrumentUnits_->setVisible(!fixed);
  noUnit_->setVisible(fixed);
  if (fixed) return;
  unit_->clear();
  for (const auto& u : type->Items()) unit_->addItem(qvui::FromGbk(u->Unit()));
  std::string value;
  int index = -1;
  if (context_.format && context_.format->GetFileHeader(UnitKey(unitType), value))
    index = type->IndexOfValue(value);
  unit_->setCurrentIndex(std::max(0, index));
  instrumentUnits_->setChecked(index < 0);
  unit_->setEnabled(false);
  instrumentUnits_->setEnabled(false);
}

bool CQVExpVarPage::OnKillActive() {
  return conversion_->Check();
}

bool CQVExpVarPage::OnApply() {
  CQVConversionSettings settings = var_.Settings();
  if (!conversion_->Take(settings)) return false;
  // A fill the variable cannot use now (left-aligned, or none for its kind) stays as it was.
  if (!conversion_->FillCombo()->isEnabled()) settings.fillCharacter = var_.FillCharacter();
  var_.SetSettings(settings);
  return true;
}

// --- Input variable page ----------------------------------------------------------------------

CQVImpVarPage::CQVImpVarPage(CQVEditVar& variable, QWidget* parent)
    : CPropertyPageEx(kTemplateId, 0, parent), var_(variable) {
  SetCaption(tr("设置"));
  setObjectName(QStringLiteral("inputVariablePage"));
  name_ = MakeNameLabel(this, var_);
  conversion_ = new CQVInputConversionBox(this);
  conversion_->Form()->insertRow(0, tr("变量："), name_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(conversion_);
  layout->addStretch();
}

bool CQVImpVarPage::OnInitDialog() {
  conversion_->RepresentationCombo()->setEnabled(var_.Kind() == CQVValueKind::kReal &&
                                                 var_.DataType() != kDataTypeAlwaysLf);
  conversion_->Show(var_.Settings());
  return true;
}

bool CQVImpVarPage::OnKillActive() {
  return conversion_->Check();
}

bool CQVImpVarPage::OnApply() {
  CQVConversionSettings settings = var_.Settings();
  if (!conversion_->Take(settings)) return false;
  var_.SetSettings(settings);
  return true;
}

// --- Flags page -------------------------------------------------------------------------------

CQvFlagsReportView::CQvFlagsReportView(QWidget* parent) : CReportView(parent) {
  setObjectName(QStringLiteral("flagsList"));
  StateIconsAvailable(true);
  ColumnLabels({tr("标志")});
}

// One row of the list: a flag of the bound list, by its position there.
class CQVVariableFlagsPage::Row : public CReportRow {
 public:
  Row(std::size_t index, QString name) : index(index), name(std::move(name)) {}
  QString ColumnText(int column) const override { return column == 0 ? name : QString(); }
  std::size_t index;
  QString name;
};

CQVVariableFlagsPage::CQVVariableFlagsPage(CQVEditVar& variable, QWidget* parent)
    : CPropertyPageEx(kTemplateId, 0, parent), var_(&variable) {
  Build();
}

CQVVariableFlagsPage::CQVVariableFlagsPage(CQVProfile& profile, QWidget* parent)
    : CPropertyPageEx(kTemplateId, 0, parent), profile_(&profile) {
  Build();
}

CQVVariableFlagsPage::~CQVVariableFlagsPage() = default;

void CQVVariableFlagsPage::Build() {
  SetCaption(tr("标志"));
  setObjectName(QStringLiteral("flagsPage"));
  list_ = new CQvFlagsReportView(this);
  group_ = MakeApplyToEveryFormatGroup(this, applyAll_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addWidget(group_);
  // A variable's flags go into its reference only; "apply to every format" is for the profile.
  group_->setVisible(var_ == nullptr);
  connect(list_, &QTreeWidget::itemChanged, this,
          [this](QTreeWidgetItem* item) { OnFlagToggled(item); });
}

CQVProfFlags::List CQVVariableFlagsPage::CheckedFlags() {
  CQVProfFlags::List flags = Flags();
  for (int r = 0; r < list_->RowCount(); ++r) {
    const auto* row = static_cast<const Row*>(list_->ReportViewItem(r));
    flags[row->index].value = list_->IsChecked(r) ? 1 : 0;
  }
  return flags;
}

void CQVVariableFlagsPage::ShowDoesNotFit() {
  CErrorMessage::ShowNotice(
      frt::kIdNone, tr("这些标志的组合不能存入变量的引用 (一位数字只能存放 0 到 9)。标志保持原样。")
                        .toStdString());
}

void CQVVariableFlagsPage::OnFlagToggled(QTreeWidgetItem* item) {
  // Every flag that is ticked goes into the one flag digit of the references made with these
  // flags; a tick that makes a combination the digit cannot hold is taken back at once. Unticks
  // always pass, so that flags that came so from the settings file can be put right.
  if (filling_ || item->checkState(0) != Qt::Checked ||
      CQVEditVar::FlagDigitOf(CheckedFlags()) != CQVEditVar::kNoFlagDigit)
    return;
  {
    const QSignalBlocker blocker(list_);
    item->setCheckState(0, Qt::Unchecked);
  }
  ShowDoesNotFit();
}

CQVProfFlags::List& CQVVariableFlagsPage::Flags() {
  return var_ ? var_->Flags() : profile_->Flags().Items();
}

bool CQVVariableFlagsPage::OnInitDialog() {
  applyAll_->setChecked(false);
  rows_.clear();
  const CQVProfFlags::List& flags = Flags();
  const bool real = var_ && QVValueKindOf(var_->DataType()) == CQVValueKind::kReal;
  for (std::size_t i = 0; i < flags.size(); ++i) {
    if (var_ && flags[i].valid == 0 && !real) continue;  // a flag for real numbers only
    rows_.push_back(std::make_unique<Row>(i, qvui::FromGbk(flags[i].name)));
  }
  std::vector<CReportRow*> rows;
  for (const auto& r : rows_) rows.push_back(r.get());
  filling_ = true;
  list_->InsertItems(rows);
  for (std::size_t r = 0; r < rows_.size(); ++r)
    list_->SelectStateIcon(static_cast<int>(r), flags[rows_[r]->index].value == 1);
  filling_ = false;
  list_->header()->setStretchLastSection(true);
  return true;
}

bool CQVVariableFlagsPage::OnApply() {
  CQVProfFlags::List checked = CheckedFlags();
  // Flags that came so from the settings file are not taken either.
  if (CQVEditVar::FlagDigitOf(checked) == CQVEditVar::kNoFlagDigit) {
    ShowDoesNotFit();
    return false;
  }
  Flags() = std::move(checked);
  if (profile_ && applyAll_->isChecked()) profile_->Flags().Write();
  return true;
}

// --- The sheet --------------------------------------------------------------------------------

QString VariableSheetCaption(CQVEditVar::Direction direction) {
  return direction == CQVEditVar::Direction::kOutput
             ? QString::fromUtf8(frt::LoadText(kIdSheetOutput))
             : CQvPropertySheet::tr("输入变量的格式选项");
}

int RunVariableSheet(QWidget* parent, CQVEditVar& variable, const CQVVarPageContext& context) {
  // The pages work on a copy, so that a cancelled sheet leaves the variable as it was.
  CQVEditVar edited = variable;
  CQvPropertySheet sheet(VariableSheetCaption(variable.GetDirection()), parent);
  sheet.setObjectName(QStringLiteral("variableSheet"));
  if (edited.IsOutput())
    sheet.AddPage(new CQVExpVarPage(edited, context));
  else
    sheet.AddPage(new CQVImpVarPage(edited));
  sheet.AddPage(new CQVVariableFlagsPage(edited));
  const int result = sheet.DoModal();
  if (result == QDialog::Accepted) variable = edited;
  return result;
}

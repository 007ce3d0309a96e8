#include "variable_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <climits>

#include "document/doc_format.h"
#include "library/error_message.h"
#include "library/string_table.h"
#include "profile/qv_profile.h"
#include "uilib/ui_text.h"

namespace {

constexpr int kIdSheetOutput = 527;
constexpr int kIdListSuppress = 521;
constexpr int kIdListInputRepresentation = 520;
constexpr int kNoEmpty = INT_MIN;

using qvui::FromGbk;

QString VariableName(const CQVEditVar& v) {
  if (const CQVPoolInfo* info = v.PoolVariable()) return FromGbk(info->name);
  return QString::number(v.Code());
}

QComboBox* MakeCombo(QWidget* parent, int controlId, int listId) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QStringLiteral("combo%1").arg(controlId));
  FillListCombo(combo, listId);
  return combo;
}

QLineEdit* MakeEdit(QWidget* parent, int controlId) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QStringLiteral("edit%1").arg(controlId));
  edit->setMaxLength(6);
  return edit;
}

void ShowValue(QLineEdit* edit, int value, bool emptyBelowZero) {
  edit->setText(value < 0 && emptyBelowZero ? QString() : QString::number(value));
}

// A setting shown in a combo: its entry, or none when the setting is not set.
void ShowSetting(QComboBox* combo, int value) {
  combo->setCurrentIndex(value >= 0 && value < combo->count() ? value : -1);
}

int TakeSetting(const QComboBox* combo, int previous) {
  return combo->isEnabled() && combo->currentIndex() >= 0 ? combo->currentIndex() : previous;
}

// Unit type numbers (1 angular, 2 linear, 3 temperature, 4 pressure) to the profile's names and
// the format's unit keys.
const char* UnitTypeName(int unitType) {
  switch (unitType) {
    case 1:
      return "Angular";
    case 2:
      return "Linear";
    case 3:
      return "Temperature";
    case 4:
      return "Pressure";
    default:
      return nullptr;
  }
}

const char* UnitKey(int unitType) {
  static const char* const keys[] = {"#W", "#L", "#T", "#P"};
  return unitType >= 1 && unitType <= 4 ? keys[unitType - 1] : nullptr;
}

}  // namespace

void FillListCombo(QComboBox* combo, int listId) {
  combo->clear();
  for (const std::string& item : frt::ListItems(listId))
    combo->addItem(QString::fromStdString(item));
}

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
  CErrorMessage::ShowNotice(frt::kIdNone, QStringLiteral("请输入一个介于 %1 和 %2 之间的整数。")
                                              .arg(minimum)
                                              .arg(maximum)
                                              .toStdString());
  edit->setFocus();
  edit->selectAll();
  return false;
}

// --- Output variable page ---------------------------------------------------------------------

CQVExpVarPage::CQVExpVarPage(CQVEditVar& variable, const CQVVarPageContext& context,
                             QWidget* parent)
    : CPropertyPageEx(kTemplateId, 0, parent),
      var_(variable),
      context_(context),
      limit_(context.lengthLimit > 0 ? context.lengthLimit
                                     : CQVVarPageContext::kDefaultLengthLimit) {
  SetCaption(QStringLiteral("设置"));
  setObjectName(QStringLiteral("outputVariablePage"));
  name_ = new QLabel(this);
  name_->setObjectName(QStringLiteral("static2016"));
  QFont bold = name_->font();
  bold.setBold(true);
  name_->setFont(bold);
  align_ = MakeCombo(this, 2005, frt::kIdListAlign);
  representation_ = MakeCombo(this, 2006, frt::kIdListRepresentation);
  sign_ = MakeCombo(this, 2010, frt::kIdListSign);
  fill_ = MakeCombo(this, 2007, frt::kIdListFillCharacter);
  alternate_ = MakeCombo(this, 2011, frt::kIdListAlternateFormat);
  length_ = MakeEdit(this, 2008);
  precision_ = MakeEdit(this, 2009);
  unit_ = new QComboBox(this);
  unit_->setObjectName(QStringLiteral("combo2088"));
  instrumentUnits_ = new QCheckBox(QStringLiteral("使用仪器单位"), this);
  instrumentUnits_->setObjectName(QStringLiteral("check2089"));
  noUnit_ = new QLabel(QStringLiteral("该变量无量纲或不能改变！"), this);
  noUnit_->setObjectName(QStringLiteral("static2090"));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("变量："), name_);
  form->addRow(QStringLiteral("排列："), align_);
  form->addRow(QStringLiteral("表达式："), representation_);
  form->addRow(QStringLiteral("符号："), sign_);
  form->addRow(QStringLiteral("填充符："), fill_);
  form->addRow(QStringLiteral("可选格式："), alternate_);
  form->addRow(QStringLiteral("长度："), length_);
  form->addRow(QStringLiteral("精度："), precision_);
  auto* units = new QGroupBox(QStringLiteral("单位"), this);
  auto* unitLayout = new QVBoxLayout(units);
  unitLayout->addWidget(unit_);
  unitLayout->addWidget(instrumentUnits_);
  unitLayout->addWidget(noUnit_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(units);
  layout->addStretch();
  setMinimumWidth(340);
  connect(align_, &QComboBox::currentIndexChanged, this, [this] { OnAlignChanged(); });
}

QComboBox* CQVExpVarPage::Combo(int controlId) const {
  switch (controlId) {
    case 2005:
      return align_;
    case 2006:
      return representation_;
    case 2010:
      return sign_;
    case 2007:
      return fill_;
    case 2011:
      return alternate_;
    case 2088:
      return unit_;
    default:
      return nullptr;
  }
}

QLineEdit* CQVExpVarPage::Edit(int controlId) const {
  return controlId == 2008 ? length_ : controlId == 2009 ? precision_ : nullptr;
}

bool CQVExpVarPage::OnInitDialog() {
  name_->setText(VariableName(var_));
  const CQVValueKind kind = var_.Kind();
  const bool real = kind == CQVValueKind::kReal;
  const bool integer = kind == CQVValueKind::kInteger;
  const bool text = kind == CQVValueKind::kString;
  // Controls of settings the variable's kind has no use for stay disabled.
  representation_->setEnabled(real && var_.DataType() != 9);  // type 9 is always "lf"
  sign_->setEnabled(real || integer);
  alternate_->setEnabled(real);
  precision_->setEnabled(real || text);
  fill_->setEnabled(real || integer || text);

  ShowSetting(align_, var_.Align());
  ShowSetting(representation_, var_.Representation());
  ShowSetting(sign_, var_.Sign());
  ShowSetting(fill_, var_.FillCharacter());
  ShowSetting(alternate_, var_.AlternateFormat());
  ShowValue(length_, std::min(var_.Length(), limit_), true);
  ShowValue(precision_, std::min(var_.Precision(), limit_), true);
  OnAlignChanged();

  // The unit: the format's unit of the variable's unit type, shown for information; the
  // variable writes its value in that unit.
  const CQVPoolInfo* pool = var_.PoolVariable();
  const int unitType = pool ? pool->unitType : 0;
  const char* typeName = UnitTypeName(unitType);
  const CQVProfUnitType* type =
      typeName && context_.profile ? context_.profile->FindUnitType(typeName) : nullptr;
  const bool fixed = !type || type->Count() == 0 || CQVEditVar::HasFixedUnit(var_.Code());
  unit_->setVisible(!fixed);
  instrumentUnits_->setVisible(!fixed);
  noUnit_->setVisible(fixed);
  if (!fixed) {
    unit_->clear();
    for (const auto& u : type->Items()) unit_->addItem(FromGbk(u->Unit()));
    std::string value;
    int index = -1;
    if (context_.format && context_.format->GetFileHeader(UnitKey(unitType), value))
      index = type->IndexOfValue(value);
    unit_->setCurrentIndex(std::max(0, index));
    instrumentUnits_->setChecked(index < 0);
    unit_->setEnabled(false);
    instrumentUnits_->setEnabled(false);
  }
  return true;
}

void CQVExpVarPage::OnAlignChanged() {
  // Left-aligned output is never filled.
  const CQVValueKind kind = var_.Kind();
  const bool fillable = kind != CQVValueKind::kCharacter && kind != CQVValueKind::kNone;
  fill_->setEnabled(fillable && align_->currentIndex() != 1);
}

bool CQVExpVarPage::OnKillActive() {
  int length = 0;
  int precision = 0;
  if (!ReadNumberEdit(length_, 1, limit_, -1, length)) return false;
  if (precision_->isEnabled() && !ReadNumberEdit(precision_, 0, limit_, kNoEmpty, precision))
    return false;
  return true;
}

bool CQVExpVarPage::OnApply() {
  int length = -1;
  int precision = var_.Precision();
  if (!ReadNumberEdit(length_, 1, limit_, -1, length)) return false;
  if (precision_->isEnabled() && !ReadNumberEdit(precision_, 0, limit_, kNoEmpty, precision))
    return false;
  var_.SetAlign(TakeSetting(align_, var_.Align()));
  var_.SetRepresentation(TakeSetting(representation_, var_.Representation()));
  var_.SetSign(TakeSetting(sign_, var_.Sign()));
  var_.SetFillCharacter(align_->currentIndex() == 1 ? var_.FillCharacter()
                                                    : TakeSetting(fill_, var_.FillCharacter()));
  var_.SetAlternateFormat(TakeSetting(alternate_, var_.AlternateFormat()));
  var_.SetLength(length);
  var_.SetPrecision(precision);
  return true;
}

// --- Input variable page ----------------------------------------------------------------------

CQVImpVarPage::CQVImpVarPage(CQVEditVar& variable, QWidget* parent)
    : CPropertyPageEx(kTemplateId, 0, parent), var_(variable) {
  SetCaption(QStringLiteral("设置"));
  setObjectName(QStringLiteral("inputVariablePage"));
  name_ = new QLabel(this);
  name_->setObjectName(QStringLiteral("static2023"));
  QFont bold = name_->font();
  bold.setBold(true);
  name_->setFont(bold);
  suppress_ = MakeCombo(this, 2024, kIdListSuppress);
  representation_ = MakeCombo(this, 2025, kIdListInputRepresentation);
  length_ = MakeEdit(this, 2026);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("变量："), name_);
  form->addRow(QStringLiteral("限制分配："), suppress_);
  form->addRow(QStringLiteral("表达式："), representation_);
  form->addRow(QStringLiteral("长度："), length_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addStretch();
}

QComboBox* CQVImpVarPage::Combo(int controlId) const {
  return controlId == 2024 ? suppress_ : controlId == 2025 ? representation_ : nullptr;
}

bool CQVImpVarPage::OnInitDialog() {
  name_->setText(VariableName(var_));
  const CQVValueKind kind = var_.Kind();
  representation_->setEnabled(kind == CQVValueKind::kReal && var_.DataType() != 9);
  ShowSetting(suppress_, var_.SubpressAssignment());
  ShowSetting(representation_, var_.Representation());
  ShowValue(length_, std::min(var_.Length(), CQVEditVar::kMaxInputLength), true);
  return true;
}

bool CQVImpVarPage::OnKillActive() {
  int length = 0;
  return ReadNumberEdit(length_, 1, CQVEditVar::kMaxInputLength, -1, length);
}

bool CQVImpVarPage::OnApply() {
  int length = -1;
  if (!ReadNumberEdit(length_, 1, CQVEditVar::kMaxInputLength, -1, length)) return false;
  var_.SetSubpressAssignment(TakeSetting(suppress_, var_.SubpressAssignment()));
  var_.SetRepresentation(TakeSetting(representation_, var_.Representation()));
  var_.SetLength(length);
  return true;
}

// --- Flags page -------------------------------------------------------------------------------

CQvFlagsReportView::CQvFlagsReportView(QWidget* parent) : CReportView(parent) {
  setObjectName(QStringLiteral("flagsList"));
  StateIconsAvailable(true);
  ColumnLabels({QStringLiteral("标志")});
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
  SetCaption(QStringLiteral("标志"));
  setObjectName(QStringLiteral("flagsPage"));
  list_ = new CQvFlagsReportView(this);
  group_ = new QGroupBox(QStringLiteral("有效"), this);
  group_->setObjectName(QStringLiteral("group2074"));
  applyAll_ = new QCheckBox(QStringLiteral("作用于每一格式"), group_);
  applyAll_->setObjectName(QStringLiteral("check2073"));
  auto* groupLayout = new QVBoxLayout(group_);
  groupLayout->addWidget(applyAll_);
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
  const int type = var_ ? var_->DataType() : 0;
  const bool real = type >= 8 && type <= 10;
  for (std::size_t i = 0; i < flags.size(); ++i) {
    if (var_ && flags[i].valid == 0 && !real) continue;  // a flag for real numbers only
    rows_.push_back(std::make_unique<Row>(i, FromGbk(flags[i].name)));
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
             : QStringLiteral("输入变量的格式选项");
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

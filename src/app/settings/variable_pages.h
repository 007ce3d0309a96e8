#pragma once
// The settings sheet of one variable of a format string: the output (or input) variable page and
// the flags page, bound to one CQVEditVar. The flags page also edits the profile's flags.
#include <QString>
#include <memory>
#include <vector>

#include "settings/page_widgets.h"
#include "settings/qv_edit_var.h"
#include "uilib/dialog_ex.h"

class CDocFormat;
class CQVProfile;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QTreeWidgetItem;

// The settings sheet of the editor: OK and Cancel only.
class CQvPropertySheet : public CPropertySheetEx {
  Q_OBJECT
 public:
  using CPropertySheetEx::CPropertySheetEx;
};

// What the variable pages show besides the variable: the unit names of the profile, the unit
// values of the active format, and the longest width and precision allowed.
struct CQVVarPageContext {
  static constexpr int kDefaultLengthLimit = 20;
  const CQVProfile* profile = nullptr;
  const CDocFormat* format = nullptr;  // null when no format document is active
  int lengthLimit = kDefaultLengthLimit;
};

// Output variable page (dialog 214).
class CQVExpVarPage : public CPropertyPageEx {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 214;
  CQVExpVarPage(CQVEditVar& variable, const CQVVarPageContext& context, QWidget* parent = nullptr);

  bool OnInitDialog() override;
  bool OnKillActive() override;
  bool OnApply() override;

  // The limit of Length and Precision.
  int LengthLimit() const { return limit_; }
  QLabel* VariableName() const { return name_; }
  CQVOutputConversionBox* Conversion() const { return conversion_; }
  QComboBox* UnitCombo() const { return unit_; }
  QLabel* NoUnitText() const { return noUnit_; }
  QCheckBox* InstrumentUnits() const { return instrumentUnits_; }

 private:
  void ShowUnit();

  CQVEditVar& var_;
  CQVVarPageContext context_;
  int limit_;
  QLabel* name_;
  CQVOutputConversionBox* conversion_;
  QComboBox* unit_;
  QCheckBox* instrumentUnits_;
  QLabel* noUnit_;
};

// Input variable page (dialog 230).
class CQVImpVarPage : public CPropertyPageEx {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 230;
  explicit CQVImpVarPage(CQVEditVar& variable, QWidget* parent = nullptr);

  bool OnInitDialog() override;
  bool OnKillActive() override;
  bool OnApply() override;

  QLabel* VariableName() const { return name_; }
  CQVInputConversionBox* Conversion() const { return conversion_; }

 private:
  CQVEditVar& var_;
  QLabel* name_;
  CQVInputConversionBox* conversion_;
};

// The list of flags with a check mark each.
class CQvFlagsReportView : public CReportView {
  Q_OBJECT
 public:
  explicit CQvFlagsReportView(QWidget* parent = nullptr);
};

// Flags page (dialog 208): the flags of one variable, or those of the profile.
class CQVVariableFlagsPage : public CPropertyPageEx {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 208;
  // Variable mode: the variable's own copy of the flags; flags valid for real numbers only are
  // listed only for real-number variables.
  explicit CQVVariableFlagsPage(CQVEditVar& variable, QWidget* parent = nullptr);
  // Profile mode: the profile's flags, written to the settings file when "作用于每一格式" is
  // checked on confirmation.
  explicit CQVVariableFlagsPage(CQVProfile& profile, QWidget* parent = nullptr);
  ~CQVVariableFlagsPage() override;

  bool OnInitDialog() override;
  bool OnApply() override;

  CQvFlagsReportView* List() const { return list_; }
  QCheckBox* ApplyToEveryFormat() const { return applyAll_; }
  QGroupBox* ValidGroup() const { return group_; }

 private:
  class Row;
  void Build();
  CQVProfFlags::List& Flags();
  // The bound flags with the check marks of the list.
  CQVProfFlags::List CheckedFlags();
  void OnFlagToggled(QTreeWidgetItem* item);
  void ShowDoesNotFit();

  CQVEditVar* var_ = nullptr;
  CQVProfile* profile_ = nullptr;
  CQvFlagsReportView* list_ = nullptr;
  bool filling_ = false;
  QGroupBox* group_ = nullptr;
  QCheckBox* applyAll_ = nullptr;
  std::vector<std::unique_ptr<Row>> rows_;
};

// Runs the sheet of one variable modally: "输出变量的格式选项" with the output variable page and
// the flags page for an output variable, the input variable page and the flags page for an
// input one. The variable takes the settings on OK; QDialog::Accepted or Rejected.
int RunVariableSheet(QWidget* parent, CQVEditVar& variable, const CQVVarPageContext& context);
// The sheet's caption for a variable of this direction.
QString VariableSheetCaption(CQVEditVar::Direction direction);

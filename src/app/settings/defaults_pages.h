#pragma once
// The pages of the sheet "变量的默认设置": the output (printf) defaults and the input (scanf)
// defaults. Both edit the real-number defaults; the other kinds take their shared settings from
// them.
#include "settings/settings_pages.h"

class QComboBox;
class QLineEdit;

// "输出" (206): Align, Representation, Sign, FillCharacter, AlternateFormat, Length (empty: -1)
// and Precision of the real-number output defaults. On confirmation the integer, string and
// character defaults take theirs over (in memory); "作用于每一格式" writes the four sections.
class CQVExportDefaultsPage : public CQVSettingsPage {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 206;
  static constexpr int kLengthLimit = 20;
  CQVExportDefaultsPage(CQVProfile& profile, CDocFormat* format, QWidget* parent = nullptr);

  bool OnInitDialog() override;
  bool OnKillActive() override;
  bool OnApply() override;
  // By control id: combos 2032 align, 2033 representation, 2034 sign, 2037 fill character,
  // 2038 alternate format; edits 2035 length, 2036 precision.
  QComboBox* Combo(int controlId) const;
  QLineEdit* Edit(int controlId) const;

 private:
  bool ReadEdits(int& length, int& precision);
  void OnAlignChanged();

  QComboBox* align_;
  QComboBox* representation_;
  QComboBox* sign_;
  QComboBox* fill_;
  QComboBox* alternate_;
  QLineEdit* length_;
  QLineEdit* precision_;
};

// "输入" (207): SubpressAssignment, Representation and Length (1..20, empty: -1) of the
// real-number input defaults. "作用于每一格式" hands SubpressAssignment and Length to the other
// kinds and writes the four input sections; without it nothing is copied or written.
class CQVImportDefaultsPage : public CQVSettingsPage {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 207;
  static constexpr int kLengthLimit = 20;
  CQVImportDefaultsPage(CQVProfile& profile, CDocFormat* format, QWidget* parent = nullptr);

  bool OnInitDialog() override;
  bool OnKillActive() override;
  bool OnApply() override;
  // By control id: combos 2058 suppress assignment, 2040 representation; edit 2041 length.
  QComboBox* Combo(int controlId) const;
  QLineEdit* LengthEdit() const { return length_; }

 private:
  QComboBox* suppress_;
  QComboBox* representation_;
  QLineEdit* length_;
};

// The sheet "变量的默认设置": output defaults, the profile's flags, input defaults.
std::unique_ptr<CPropertySheetEx> MakeDefaultSettingsSheet(CQVProfile& profile, CDocFormat* format,
                                                           QWidget* parent = nullptr);
// Runs it modally; QDialog::Accepted or Rejected (the tree does not look at it).
int RunDefaultSettingsSheet(CQVProfile& profile, CDocFormat* format, QWidget* parent = nullptr);

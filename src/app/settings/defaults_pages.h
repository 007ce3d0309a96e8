#pragma once
// The pages of the sheet "变量的默认设置": the output (printf) defaults and the input (scanf)
// defaults. Both edit the real-number defaults; the other kinds take their shared settings from
// them.
#include "settings/page_widgets.h"
#include "settings/settings_pages.h"

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
  CQVOutputConversionBox* Conversion() const { return conversion_; }

 private:
  CQVOutputConversionBox* conversion_;
};

// "输入" (207): SubpressAssignment, Representation and Length (1..20, empty: -1) of the
// real-number input defaults. "作用于每一格式" hands SubpressAssignment and Length to the other
// kinds and writes the four input sections; without it nothing is copied or written.
class CQVImportDefaultsPage : public CQVSettingsPage {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 207;
  CQVImportDefaultsPage(CQVProfile& profile, CDocFormat* format, QWidget* parent = nullptr);

  bool OnInitDialog() override;
  bool OnKillActive() override;
  bool OnApply() override;
  CQVInputConversionBox* Conversion() const { return conversion_; }

 private:
  CQVInputConversionBox* conversion_;
};

// The sheet "变量的默认设置": output defaults, the profile's flags, input defaults.
std::unique_ptr<CPropertySheetEx> MakeDefaultSettingsSheet(CQVProfile& profile, CDocFormat* format,
                                                           QWidget* parent = nullptr);
// Runs it modally; QDialog::Accepted or Rejected (the tree does not look at it).
int RunDefaultSettingsSheet(CQVProfile& profile, CDocFormat* format, QWidget* parent = nullptr);

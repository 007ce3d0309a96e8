#pragma once
// The pages of the sheet "变量的默认设置": the output (printf) defaults and the input (scanf)
// defaults. Both edit the real-number defaults; the other kinds take their shared settings from
// them.
#include "settings/page_widgets.h"
#include "settings/qv_edit_var.h"
#include "settings/settings_pages.h"

// "输出" (206) and "输入" (207): the real-number defaults of one direction in its conversion box.
// Output: Align, Representation, Sign, FillCharacter, AlternateFormat, Length (empty: -1) and
// Precision; on confirmation the integer, string and character defaults take theirs over (in
// memory), and "作用于每一格式" writes the four sections. Input: SubpressAssignment,
// Representation and Length (1..20, empty: -1); "作用于每一格式" hands SubpressAssignment and
// Length to the other kinds and writes the four input sections; without it nothing is copied or
// written.
class CQVConversionDefaultsPage : public CQVSettingsPage {
  Q_OBJECT
 public:
  static constexpr int kLengthLimit = 20;
  CQVConversionDefaultsPage(CQVEditVar::Direction direction, CQVProfile& profile,
                            CDocFormat* format, QWidget* parent = nullptr);

  bool OnInitDialog() override;
  bool OnKillActive() override;
  bool OnApply() override;
  // The box of the page's direction; null for the other one.
  CQVOutputConversionBox* OutputConversion() const;
  CQVInputConversionBox* InputConversion() const;

 private:
  void StoreOutput(const CQVConversionSettings& settings);
  void StoreInput(const CQVConversionSettings& settings);

  bool output_;
  CQVConversionBox* conversion_;
};

// The sheet "变量的默认设置": output defaults, the profile's flags, input defaults.
std::unique_ptr<CPropertySheetEx> MakeDefaultSettingsSheet(CQVProfile& profile, CDocFormat* format,
                                                           QWidget* parent = nullptr);
// Runs it modally; QDialog::Accepted or Rejected (the tree does not look at it).
int RunDefaultSettingsSheet(CQVProfile& profile, CDocFormat* format, QWidget* parent = nullptr);

#pragma once
// The settings pages of a format and of the profile, and the sheet "设置" (scales, units,
// default values). Each page shows the active format's values and carries the box
// "作用于每一格式": checked on confirmation, the page's values also become the defaults in
// QV.ini for every format made later.
#include <QString>
#include <memory>
#include <string>
#include <string_view>

#include "uilib/dialog_ex.h"

class CDocFormat;
class CQVProfile;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;

// A real number in minimum..maximum (decimal point, exponent allowed) with `text` set to it
// trimmed; otherwise the range message, the focus in the edit, and false. (Whole numbers go
// through ReadNumberEdit of the variable pages.)
bool ReadRealEdit(QLineEdit* edit, double minimum, double maximum, QString& text);

// What every settings page shares: the profile, the active format (may be null) and the box
// "作用于每一格式" (control 2073), unchecked whenever the page opens.
class CQVSettingsPage : public CPropertyPageEx {
  Q_OBJECT
 public:
  CQVSettingsPage(int templateId, const QString& caption, CQVProfile& profile, CDocFormat* format,
                  QWidget* parent = nullptr);

  QCheckBox* ApplyToEveryFormat() const { return applyAll_; }
  bool ApplyAll() const;
  // A format setting could not be read or stored: the sheet closes as cancelled.
  bool Failed() const { return failed_; }

  bool OnInitDialog() override;

 protected:
  // The group with the box, at the bottom of the page's layout.
  void AddApplyBox(QBoxLayout* layout);
  bool ReadSetting(std::string_view key, std::string& value);
  bool StoreSetting(std::string_view key, const std::string& value);

  CQVProfile& profile_;
  CDocFormat* format_;

 private:
  void CloseSheetCancelled();

  QGroupBox* group_ = nullptr;
  QCheckBox* applyAll_ = nullptr;
  bool failed_ = false;
};

// "比例因子" (204): the scale factors "&W", "&L", "&T", "&P".
class CFormatScalesPage : public CQVSettingsPage {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 204;
  static constexpr double kLimit = 999999999999999.0;
  CFormatScalesPage(CQVProfile& profile, CDocFormat* format, QWidget* parent = nullptr);

  bool OnInitDialog() override;
  bool OnKillActive() override;
  bool OnApply() override;
  // By control id: 2044 angular, 2045 linear, 2046 temperature, 2047 pressure.
  QLineEdit* Edit(int controlId) const;

 private:
  QLineEdit* edits_[4];
  QString texts_[4];
};

// "单位" (205): the unit of each unit type, or the instrument's own units.
class CFormatUnitsPage : public CQVSettingsPage {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 205;
  CFormatUnitsPage(CQVProfile& profile, CDocFormat* format, QWidget* parent = nullptr);

  bool OnInitDialog() override;
  bool OnApply() override;
  // By control id: 2042 angular, 2043 linear, 2045 temperature, 2047 pressure.
  QComboBox* Combo(int controlId) const;
  QCheckBox* InstrumentUnits() const { return instrument_; }

 private:
  void OnInstrumentUnits();

  QComboBox* combos_[4];
  QCheckBox* instrument_;
};

// "默认值" (203): the default sample values "@Dd", "@Df", "@Ds".
class CFormatDefaultsPage : public CQVSettingsPage {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 203;
  static constexpr int kMaxLength = 20;
  CFormatDefaultsPage(CQVProfile& profile, CDocFormat* format, QWidget* parent = nullptr);

  bool OnInitDialog() override;
  bool OnApply() override;
  // By control id: 2047 real numbers, 2048 whole numbers, 2049 texts.
  QLineEdit* Edit(int controlId) const;

 private:
  QLineEdit* edits_[3];
};

// The sheet "设置" with the pages scales, units and default values, in this order.
std::unique_ptr<CPropertySheetEx> MakeFormatSettingsSheet(CQVProfile& profile, CDocFormat* format,
                                                          QWidget* parent = nullptr);
// Runs it modally; true after "OK" (the format has the new settings: the caller marks the
// document modified and renders the current string's sample again).
bool RunFormatSettingsSheet(CQVProfile& profile, CDocFormat* format, QWidget* parent = nullptr);

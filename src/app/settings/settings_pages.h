#pragma once
// The settings pages of a format and of the profile, and the sheet "设置" (scales, units,
// default values). Each page shows the active format's values and carries the box
// "作用于每一格式": checked on confirmation, the page's values also become the defaults in
// QV.ini for every format made later.
#include <QString>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "uilib/dialog_ex.h"

class CDocFormat;
class CQVProfDefault;
class CQVProfile;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;

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
  // The format's setting under `key`; without a format, `withoutFormat`.
  bool ShowSetting(std::string_view key, std::string withoutFormat, std::string& value);
  bool StoreSetting(std::string_view key, const std::string& value);

  CQVProfile& profile_;
  CDocFormat* format_;

 private:
  void CloseSheetCancelled();

  QGroupBox* group_ = nullptr;
  QCheckBox* applyAll_ = nullptr;
  bool failed_ = false;
};

// One format setting a page edits as text: the format's key, its row, and the profile's text
// that "作用于每一格式" sets: a scale by its unit type, or a default value.
struct CQVTextSettingField {
  const char* key;
  const char* label;
  const char* objectName;
  const char* scaleName = nullptr;
  const std::string& (CQVProfDefault::*value)() const = nullptr;
  void (CQVProfDefault::*setValue)(std::string) = nullptr;
};

// A page of text settings: its fields, and what an edit must hold.
struct CQVTextSettingsTable {
  int templateId;
  const char* caption;
  const char* objectName;
  std::span<const CQVTextSettingField> fields;
  // The longest text an edit takes; 0: no limit.
  int maxLength = 0;
  // Above 0: a real number (decimal point, exponent allowed) within ±realLimit, stored trimmed.
  double realLimit = 0;
};

// A page with one edit a field: shown from the format's keys (without a format, from the
// profile), stored under them on confirmation and, with "作用于每一格式", also into the profile,
// whose Scalings and DefaultValues are then written. The pages "比例因子" (204: "&W", "&L",
// "&T", "&P") and "默认值" (203: "@Dd", "@Df", "@Ds") are such pages.
class CQVTextSettingsPage : public CQVSettingsPage {
  Q_OBJECT
 public:
  static const CQVTextSettingsTable kScales;
  static const CQVTextSettingsTable kDefaultValues;

  CQVTextSettingsPage(const CQVTextSettingsTable& table, CQVProfile& profile, CDocFormat* format,
                      QWidget* parent = nullptr);

  bool OnInitDialog() override;
  bool OnKillActive() override;
  bool OnApply() override;
  // The edit of a field, by its format key.
  QLineEdit* Edit(std::string_view key) const;

 private:
  // The text an edit stores; false after the range message when it may not be stored.
  bool ReadEdit(QLineEdit* edit, std::string& value) const;
  bool ReadEdits(std::vector<std::string>& values) const;

  const CQVTextSettingsTable& table_;
  std::vector<QLineEdit*> edits_;
};

// "单位" (205): the unit of each unit type, or the instrument's own units.
class CFormatUnitsPage : public CQVSettingsPage {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 205;
  CFormatUnitsPage(CQVProfile& profile, CDocFormat* format, QWidget* parent = nullptr);

  bool OnInitDialog() override;
  bool OnApply() override;
  // By unit type name: Angular, Linear, Temperature, Pressure.
  QComboBox* Combo(std::string_view unitType) const;
  QCheckBox* InstrumentUnits() const { return instrument_; }

 private:
  void OnInstrumentUnits();

  QComboBox* combos_[4];
  QCheckBox* instrument_;
};

// The sheet "设置" with the pages scales, units and default values, in this order.
std::unique_ptr<CPropertySheetEx> MakeFormatSettingsSheet(CQVProfile& profile, CDocFormat* format,
                                                          QWidget* parent = nullptr);
// Runs it modally; true after "OK" (the format has the new settings: the caller marks the
// document modified and renders the current string's sample again).
bool RunFormatSettingsSheet(CQVProfile& profile, CDocFormat* format, QWidget* parent = nullptr);

#pragma once
// The widgets the settings pages share: the group with the box "作用于每一格式", and the
// controls of one conversion, one widget per direction (the variable pages show a variable's
// settings in them, the defaults pages the real-number defaults). Each combo entry's index is the
// setting's value; an empty length edit means no width (-1).
#include <QWidget>

#include "profile/qv_conversion.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;

// The group "有效" with the unchecked box "作用于每一格式" in it, made on `page`.
QGroupBox* MakeApplyToEveryFormatGroup(QWidget* page, QCheckBox*& box);

// The controls of one conversion: shown from settings, and taken back into them after the
// range checks of the edits.
class CQVConversionBox : public QWidget {
  Q_OBJECT
 public:
  explicit CQVConversionBox(QWidget* parent = nullptr);

  // The rows, for a page that adds its own above them.
  QFormLayout* Form() const { return form_; }
  virtual void Show(const CQVConversionSettings& settings) = 0;
  // After the checks: the combos' choices (a combo without one keeps the setting) and the
  // numbers; false after a range message.
  virtual bool Take(CQVConversionSettings& settings) const = 0;
  bool Check() const;

 protected:
  QFormLayout* form_;
};

// Align, representation, sign, fill character, alternate form, length and precision of an output
// conversion. Length is empty or lengthMinimum..limit, precision (while enabled) 0..limit.
class CQVOutputConversionBox : public CQVConversionBox {
  Q_OBJECT
 public:
  // The variable page lists the five choices first; the defaults page puts length and precision
  // right after the sign.
  enum class Order { kChoicesFirst, kWidthAfterSign };
  CQVOutputConversionBox(int lengthMinimum, int limit, Order order, QWidget* parent = nullptr);

  QComboBox* AlignCombo() const { return align_; }
  QComboBox* RepresentationCombo() const { return representation_; }
  QComboBox* SignCombo() const { return sign_; }
  QComboBox* FillCombo() const { return fill_; }
  QComboBox* AlternateFormatCombo() const { return alternate_; }
  QLineEdit* LengthEdit() const { return length_; }
  QLineEdit* PrecisionEdit() const { return precision_; }

  // Whether the fill can be chosen at all; left-aligned output is never filled either way.
  void SetFillable(bool fillable);
  // Combos on their entries (none for a value that is not one), numbers empty below zero.
  void Show(const CQVConversionSettings& settings) override;
  // The precision only while its edit is enabled.
  bool Take(CQVConversionSettings& settings) const override;

 private:
  void OnAlignChanged();

  int lengthMinimum_;
  int limit_;
  bool fillable_ = true;
  QComboBox* align_;
  QComboBox* representation_;
  QComboBox* sign_;
  QComboBox* fill_;
  QComboBox* alternate_;
  QLineEdit* length_;
  QLineEdit* precision_;
};

// Suppressed assignment, representation and length (empty or 1..20) of an input conversion.
class CQVInputConversionBox : public CQVConversionBox {
  Q_OBJECT
 public:
  explicit CQVInputConversionBox(QWidget* parent = nullptr);

  QComboBox* SuppressAssignmentCombo() const { return suppress_; }
  QComboBox* RepresentationCombo() const { return representation_; }
  QLineEdit* LengthEdit() const { return length_; }

  // A length above the limit is shown lowered to it.
  void Show(const CQVConversionSettings& settings) override;
  bool Take(CQVConversionSettings& settings) const override;

 private:
  QComboBox* suppress_;
  QComboBox* representation_;
  QLineEdit* length_;
};

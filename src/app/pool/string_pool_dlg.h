#pragma once
// The string pool dialogs: the pool dialog ("格式串池 - "), which lists the pooled strings that
// fit the current format string to load one or to name the current one for saving, and the
// properties dialog of one entry ("格式串的属性").
#include <QString>
#include <string>

#include "library/frt_key.h"
#include "uilib/dialog_ex.h"

class CFormatTemplateManager;
class CStringPool;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;

// The texts of one pool entry as the properties dialog shows them (UTF-8).
struct CStringPoolRecord {
  QString name;
  QString author;
  QString description;
  QString templateName;
  QString blockType;
  QString date;
  QString length;
};

class CStringPropertiesDialog : public CDialogEx {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 165;
  // The record is edited in place on "确定" (author, description; the date as shown).
  explicit CStringPropertiesDialog(CStringPoolRecord& record, QWidget* parent = nullptr);

  QLineEdit* Field(int controlId) const;
  QPlainTextEdit* Description() const { return description_; }

 public slots:
  void accept() override;

 private:
  CStringPoolRecord& record_;
  QLineEdit* name_;
  QLineEdit* length_;
  QLineEdit* template_;
  QLineEdit* blockType_;
  QLineEdit* date_;
  QLineEdit* author_;
  QPlainTextEdit* description_;
};

class CStringPoolDialog : public CDialogEx {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 164;
  enum Mode { kLoad = 0, kSave = 1 };
  // The most bytes of an entry's name.
  static constexpr int kMaxNameBytes = 127;

  // `templateName` (GBK) and `key` are those of the current format string; any mode other than
  // kSave is load. `catalogue` names the block types (null: every template is unknown).
  CStringPoolDialog(CStringPool& pool, const CFormatTemplateManager* catalogue,
                    const std::string& templateName, const CFrtKey& key, int mode,
                    QWidget* parent = nullptr);

  // The name chosen (GBK), valid after "OK".
  std::string Name() const;
  bool IsSaveMode() const { return mode_ == kSave; }
  // The key as the block-type selection left it, and the template chosen.
  const CFrtKey& Key() const { return key_; }
  const std::string& TemplateName() const { return template_; }

  // The name a block type of a template is shown with.
  static QString BlockTypeName(const CFormatTemplateManager* catalogue,
                               const std::string& templateName, int blockType, int direction);

  QComboBox* Templates() const { return templates_; }
  QComboBox* BlockTypes() const { return blockTypes_; }
  QListWidget* Names() const { return names_; }
  QLineEdit* NameEdit() const { return name_; }
  QPushButton* Button(int controlId) const;
  QLabel* Figure(int controlId) const;

 public slots:
  void accept() override;

 private:
  void Build();
  void FillCombos();
  void FillList();
  void SelectFirstName();
  void UpdateFigures();
  void UpdateStates();
  void UpdateCount();
  void OnBlockTypeChanged(int index);
  void OnTemplateChanged(int index);
  void OnNameSelected();
  void OnNameActivated(QListWidgetItem* item);
  void OnNameEdited(const QString& text);
  void OnDelete();
  void OnInfo();
  QString SelectedName() const;
  int FindName(const QString& name, bool prefix) const;
  void AddBlockType(const QString& name, int blockType);

  CStringPool& pool_;
  const CFormatTemplateManager* catalogue_;
  int mode_;
  CFrtKey key_;
  int initialBlockType_;
  int selectedBlockType_ = 255;
  std::string template_;
  QComboBox* templates_ = nullptr;
  QComboBox* blockTypes_ = nullptr;
  QListWidget* names_ = nullptr;
  QLineEdit* name_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* info_ = nullptr;
  QPushButton* action_ = nullptr;
  QPushButton* close_ = nullptr;
  QLabel* count_ = nullptr;
  QLabel* length_ = nullptr;
  QLabel* variables_ = nullptr;
  bool filling_ = false;
};

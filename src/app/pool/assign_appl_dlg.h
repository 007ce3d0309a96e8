#pragma once
// "配置应用软件": distributes the template's applications over the export format strings of one
// data block. Every application may be used by one string of the block at most.
#include <QStringList>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/doc_format.h"
#include "uilib/dialog_ex.h"
#include "uilib/u2_list_box.h"

class CDocFormat;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class CAssignApplicationsDialog : public CDialogEx {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 133;
  // The kind base of export block strings, which the format tree passes.
  static constexpr std::int32_t kExportKindBase = CDocFormat::kKindExport * CDocFormat::kKindFactor;

  // `selectedId` is the tree item's datum: a string of the block (string ID = kind base + block
  // type * 1000 + index) or the block itself (index 0). The lists are filled at once.
  CAssignApplicationsDialog(CDocFormat& format, std::int32_t selectedId,
                            std::int32_t kindBase = kExportKindBase, QWidget* parent = nullptr);
  ~CAssignApplicationsDialog() override;

  // Runs the dialog modally; a block without strings with text closes it at once as cancelled.
  int Run();

  // Whether the application text holds this application number as one of its 3-digit groups.
  static bool HasApplication(const std::string& applications, long number);

  // What the dialog shows, for its owner and the tests.
  int BlockType() const { return block_; }
  int StringCount() const { return static_cast<int>(ids_.size()); }
  std::int32_t StringIdAt(int index) const { return ids_[static_cast<std::size_t>(index)]; }
  int CurrentIndex() const { return current_; }
  // The pending application text of a drop-down item.
  const std::string& PendingApplications(int index) const {
    return pending_[static_cast<std::size_t>(index)];
  }
  QComboBox* Strings() const { return strings_; }
  QListWidget* Available() const { return available_; }
  QListWidget* Assigned() const { return assigned_; }
  QLabel* BlockName() const { return blockName_; }
  QPushButton* Button(int controlId) const;

 signals:
  // A string's mark in the tree is to show whether it has applications (moves and cancel).
  void applicationsMarked(qint32 id, bool hasApplications);

 public slots:
  void accept() override;
  void reject() override;

 private:
  void Build();
  void Start(std::int32_t selectedId);
  void FillLists(int index);
  void AfterMove();
  void OnMoveRight();
  void OnMoveLeft();
  void OnMoveAllRight();
  void OnMoveAllLeft();

  CDocFormat& format_;
  std::int32_t kindBase_;
  int block_;
  int current_ = -1;
  std::vector<std::int32_t> ids_;
  std::vector<std::string> pending_;
  QLabel* blockName_ = nullptr;
  QComboBox* strings_ = nullptr;
  QListWidget* available_ = nullptr;
  QListWidget* assigned_ = nullptr;
  QPushButton* right_ = nullptr;
  QPushButton* left_ = nullptr;
  QPushButton* allRight_ = nullptr;
  QPushButton* allLeft_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  std::unique_ptr<CU2ListBox> lists_;
};

#pragma once
// The insert-variable window: the data block types of the current direction, the variables the
// chosen block type allows, and "插入", which puts the chosen variable at the editor's caret.
// It accompanies a format window while an input or output string is edited, docked beside the
// format (it can float); the user cannot close it.
#include <QString>

#include "uilib/dialog_ex.h"

class CFormatTemplate;
class CQVViewEdit;
class QComboBox;
class QDockWidget;
class QMainWindow;
class QListWidget;
class QPushButton;

class CQVInsertVarDlg : public CDialogEx {
  Q_OBJECT
 public:
  static constexpr int kTemplateId = 131;
  enum class Direction { kNone = 0, kInput = 1, kOutput = 2 };

  // `editor` receives the insertions; neither is owned.
  CQVInsertVarDlg(const CFormatTemplate& formatTemplate, CQVViewEdit* editor,
                  QWidget* parent = nullptr);

  // Selects the block type of that name (the definition's name as the tree shows it) and lists
  // its variables; switches direction and caption first when the window is in the other one.
  void SetInputBlock(const QString& blockName);
  void SetOutputBlock(const QString& blockName);

  // Puts the window into a dock at the right of `frame` (movable and floatable, not closable)
  // whose title follows the window's; the dock is returned, owned by `frame`.
  QDockWidget* DockIn(QMainWindow& frame);

  Direction CurrentDirection() const { return direction_; }
  QComboBox* BlockCombo() const { return blocks_; }
  QListWidget* VariableList() const { return variables_; }
  QPushButton* InsertButton() const { return insert_; }

  // "插入": the selected variable at the editor's caret, which then has the focus; nothing
  // without a selection or while the editor is disabled.
  void OnInsert();

 public slots:
  // Escape and the window's close do nothing: the window lives as long as its format window.
  void reject() override {}

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void SetBlock(Direction direction, const QString& blockName);
  void FillBlocks();
  void FillVariables();

  const CFormatTemplate& template_;
  CQVViewEdit* editor_;
  Direction direction_ = Direction::kNone;
  QComboBox* blocks_;
  QListWidget* variables_;
  QPushButton* insert_;
};

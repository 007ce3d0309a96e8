#pragma once
// The format tree: what the template allows in the format, as header, input and output branches
// with their strings, each string marked by its state. Selecting a string stores the one being
// edited into the document and loads the selected one into the editor; the commands on strings
// start here.
#include <QPointer>
#include <QTreeWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "editor/qv_view_edit.h"
#include "shell/child_frame.h"
#include "shell/insert_var_dlg.h"
#include "shell/tree_hooks.h"
#include "shell/undo_commands.h"

class CChildFrame;
class CDocFormat;
class CFormatDocument;
class CFormatTemplate;
class CMainFrame;
class CQVInsertVarDlg;
class CQVViewEdit;
class CQVViewPre;
class CQVViewTree;
class QMenu;
class QUndoCommand;
class QUndoStack;

class CQVViewTree : public QTreeWidget {
  Q_OBJECT
 public:
  // Item data roles.
  static constexpr int kDatumRole = Qt::UserRole;
  static constexpr int kLevelRole = Qt::UserRole + 1;
  static constexpr int kMarkRole = Qt::UserRole + 2;
  // Top-level data.
  static constexpr int kHeaderBranch = 1;
  static constexpr int kInputBranch = 2;
  static constexpr int kOutputBranch = 3;
  // Item images.
  static constexpr int kMarkEmpty = 2;
  static constexpr int kMarkText = 3;
  static constexpr int kMarkApplications = 4;
  static constexpr std::int32_t kNoString = -1;

  // `title` gives the document's title for the sample export; none of the objects is owned.
  CQVViewTree(const CQVDocServices& services, CFormatDocument& document, CQVViewEdit* editor,
              CQVViewPre* preview, CChildFrame* childFrame, std::function<QString()> title,
              QWidget* parent = nullptr);
  ~CQVViewTree() override;

  // Builds the tree, marks the strings and shows the template's name in the status bar.
  void OnInitialUpdate();
  // The document is going: nothing more is stored into it.
  void Detach();

  // Stores the edited string and loads the selected one; false when the editor refused its
  // content (the loaded string stays selected).
  bool SwitchString();
  // Before every save: SwitchString, then the application check (message 1108 and the block
  // selected when it fails).
  bool PrepareSave();
  // Command "清除字串" (and Delete on a string item).
  void ClearString();

  void OnCommand(int commandId);
  // `contextMenu`: the rule of the context menu (清除字串 needs only a loaded string).
  bool IsCommandEnabled(int commandId, bool contextMenu = false) const;
  // The context menu with its items enabled as they are now (the caller owns it).
  QMenu* CreateContextMenu(QWidget* parent);

  // The tree's parts for the dialogs.
  CFormatDocument& Document() const { return *document_; }
  const CFormatTemplate* Template() const;
  CQVViewEdit* Editor() const { return editor_; }
  CQVInsertVarDlg* InsertVariableWindow() const { return insertWindow_; }
  std::int32_t CurrentStringId() const { return currentId_; }
  // The item with this datum (the first one, in tree order), or nullptr.
  QTreeWidgetItem* FindItem(std::int32_t datum) const;
  static int Level(const QTreeWidgetItem* item);
  static std::int32_t Datum(const QTreeWidgetItem* item);
  static int Mark(const QTreeWidgetItem* item);
  // The datum of the item's top-level ancestor (1 header, 2 input, 3 output).
  static int Branch(const QTreeWidgetItem* item);
  // Selects an item (as a click would, with the switch of strings).
  void SelectItem(QTreeWidgetItem* item);
  // The mark a string of this ID deserves now (2, 3 or 4).
  int MarkOf(std::int32_t id) const;
  void RenewMark(QTreeWidgetItem* item);
  // Hands a new application assignment of the loaded string to the editor; the next switch
  // stores it.
  void SetEditedApplications(const std::string& applications);
  // Marks the document modified (and the window title with it).
  void SetModified();
  // Renders the editor's string into the sample pane again.
  void RenderSample();

  // The document's undo history; every change is pushed there (none: changes are not recorded).
  void SetUndoStack(QUndoStack* stack);
  // An undo step puts a string back: it is selected, stored and loaded as it was.
  void ApplyString(std::int32_t id, const CQVStringState& state);
  // An undo step puts one side of a dialog's change back; marks, editor and sample follow.
  void ApplyFormatChange(const CQVFormatChange& change, bool after);

 signals:
  void documentModified();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, const QString& text, int level,
                           std::int32_t datum);
  void SetMark(QTreeWidgetItem* item, int mark);
  void BuildTree();
  void OnCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
  // Loads the string of a level-2 item into the editor.
  void LoadString(QTreeWidgetItem* item);
  void Limits(std::int32_t id, int& maxLength, int& maxVariables) const;
  void ShowInsertWindow(QTreeWidgetItem* item);
  void OnTextTakenOver(const QByteArray& text, const QByteArray& variables);
  void OnFieldActivated(int index);
  void ShowExportPreview();
  void ShowProperties();
  bool BlockHasExportText(int block) const;
  // Selects without the switch (the editor keeps what it has).
  void SelectQuietly(QTreeWidgetItem* item);
  // The loaded string as the editor holds it.
  CQVStringState EditorState() const;
  // An accepted edit in the editor becomes an undo step of the loaded string.
  void OnEdited(CQVViewEdit::EditKind kind);
  // What a dialog can change, and whether its step marks the document modified.
  enum class Reach { kStrings, kSettings, kSettingsUnmarked };
  // Runs a change of the format (a dialog) and records what it changed as one undo step; the
  // result of `change`.
  bool RecordChange(const QString& text, Reach reach, const std::function<bool()>& change);
  void Push(QUndoCommand* command);

  CQVDocServices services_;
  CFormatDocument* document_;
  CQVViewEdit* editor_;
  CQVViewPre* preview_;
  QPointer<CChildFrame> childFrame_;
  std::function<QString()> title_;
  QPointer<CQVInsertVarDlg> insertWindow_;
  std::int32_t currentId_ = kNoString;
  bool storePending_ = false;  // the loaded string was cleared or reassigned
  QUndoStack* undoStack_ = nullptr;
  CQVStringState loadedState_;  // the loaded string after the last recorded step
  bool switching_ = false;
};

#pragma once
// The format document of the editor: one CFormatDocument with its window, title, saving and the
// question before closing; and the manager that makes the windows of new and opened formats.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUndoStack>
#include <memory>

#include "document/format_document.h"
#include "shell/child_frame.h"
#include "shell/frame_document.h"
#include "shell/tree_hooks.h"

class CChildFrame;
class CFormatTemplate;
class CMainFrame;
class CQVViewEdit;
class CQVViewPre;
class CQVViewTree;

class CQVDoc : public QObject, public CQVFrameDocument {
  Q_OBJECT
 public:
  // The name a new document is titled with, followed by its number.
  static constexpr const char* kNewName = "Noname";
  static constexpr const char* kFileExtension = ".FRT";

  CQVDoc(const CQVDocServices& services, CMainFrame& mainFrame);
  ~CQVDoc() override;

  // A new format of the template, titled "Noname" and `number`; modified from the start.
  bool OnNewDocument(const CFormatTemplate* formatTemplate, int number);
  // Reads a format file with its checks (each failure has shown its message).
  bool OnOpenDocument(const QString& path);
  // Asks the tree to take the edited string over and check the assignments, then writes.
  bool OnSaveDocument(const QString& path);
  // "另存为…": the tree's check, the file dialog, then the save.
  bool OnFileSaveAs();
  // "(&S)保存" of a document with a file (without one, as "另存为…").
  bool DoFileSave();

  // Gives the document its window: the tree and the sample pane are made in it, the editor is
  // set up, and the tree is filled.
  void AttachFrame(CChildFrame* frame);

  // The views in the order the window made them.
  CQVViewTree* Tree() const { return tree_; }
  CQVViewEdit* Editor() const;
  CQVViewPre* Preview() const { return preview_; }
  CChildFrame* Frame() const { return frame_; }

  CFormatDocument& Document() { return document_; }
  const CFormatDocument& Document() const { return document_; }
  // The file's absolute path, or empty for a document never saved.
  QString PathName() const;
  // Unmodified also makes the current state of the history the saved one.
  void SetModifiedFlag(bool modified);

  // The file name the save dialog asks for: the name typed, with ".FRT" added when it has no
  // extension.
  static QString WithExtension(const QString& path);

  // CQVFrameDocument
  QString Title() const override;
  bool IsModified() const override { return document_.IsModified(); }
  bool CanClose() override;
  bool Save(bool askForName) override;
  void OnCommand(int commandId) override;
  bool IsCommandEnabled(int commandId) const override;
  // Every change of the document is a step here; its clean state is the saved file.
  QUndoStack* UndoStack() override { return &undoStack_; }

 private:
  QString AskSavePath();
  void UpdateFrameTitle();
  // The modified mark from the history: set while a step that marks lies between the saved
  // state and the current one, and always for a document never saved.
  void FollowHistory();

  CQVDocServices services_;
  CMainFrame& mainFrame_;
  CFormatDocument document_;
  QUndoStack undoStack_;
  QString title_;
  QPointer<CChildFrame> frame_;
  CQVViewTree* tree_ = nullptr;
  CQVViewPre* preview_ = nullptr;
};

class CQVDocManager : public CQVDocumentManager {
 public:
  explicit CQVDocManager(const CQVDocServices& services) : services_(services) {}

  bool NewDocument(CMainFrame& frame, const std::string& templateName) override;
  bool OpenDocument(CMainFrame& frame, const QString& path) override;

  // The open window of a file, or nullptr.
  static CChildFrame* FindOpenFrame(CMainFrame& frame, const QString& path);

 private:
  void ShowDocument(CMainFrame& frame, std::unique_ptr<CQVDoc> document);

  CQVDocServices services_;
  int untitledCount_ = 0;
};

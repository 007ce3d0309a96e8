#pragma once
// Where the frames meet the documents. The format document and the preview document implement
// these; the frames only call them.
#include <QString>
#include <string>

class CMainFrame;
class QUndoStack;

// What a format window needs of its document.
class CQVFrameDocument {
 public:
  virtual ~CQVFrameDocument() = default;
  // The window title: the file name, or "Noname1" and so on for a new document.
  virtual QString Title() const = 0;
  virtual bool IsModified() const = 0;
  // The window is about to close: ask to save a modified document (and save it); false keeps
  // the window open.
  virtual bool CanClose() = 0;
  // Commands "(&S)保存" (askForName false) and "另存为…" (true); false when nothing was saved.
  virtual bool Save(bool askForName) = 0;
  // The commands of the format and options menus, by command id (32788, 32794, ...).
  virtual void OnCommand(int commandId) = 0;
  virtual bool IsCommandEnabled(int commandId) const = 0;
  // The document's undo history, made active while its window is (none: nothing to undo).
  virtual QUndoStack* UndoStack() { return nullptr; }
};

// The document side of the application: makes the windows of new and opened documents.
class CQVDocumentManager {
 public:
  virtual ~CQVDocumentManager() = default;
  // Command "(&N)新文件": a new format of the template the application found in its catalogue
  // (the workspace's template for new files, named here too); false when nothing was made.
  virtual bool NewDocument(CMainFrame& frame, const std::string& templateName) = 0;
  // Opens a format file, or activates the window that has it open already; false when it
  // failed (the document has shown why).
  virtual bool OpenDocument(CMainFrame& frame, const QString& path) = 0;
};

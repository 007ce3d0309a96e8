#include "qv_doc.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QUndoGroup>

#include "catalogue/format_template.h"
#include "catalogue/format_template_manager.h"
#include "document/catalogue_pool_lookup.h"
#include "editor/qv_view_edit.h"
#include "library/error_message.h"
#include "library/string_table.h"
#include "preview/qv_view_preview.h"
#include "profile/qv_profile.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/qv_view_tree.h"
#include "shell/undo_commands.h"

namespace {

std::string LocalPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

QString AbsolutePath(const QString& path) {
  const QFileInfo info(path);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

}  // namespace

CQVDoc::CQVDoc(const CQVDocServices& services, CMainFrame& mainFrame)
    : services_(services), mainFrame_(mainFrame), document_(services.context) {
  mainFrame_.UndoGroup()->addStack(&undoStack_);
  // Undoing back to the saved state takes the modified mark away again.
  connect(&undoStack_, &QUndoStack::indexChanged, this, &CQVDoc::FollowHistory);
}

void CQVDoc::FollowHistory() {
  const int clean = undoStack_.cleanIndex();
  const int index = undoStack_.index();
  bool modified = clean < 0;
  for (int i = std::min(clean, index); !modified && i < std::max(clean, index); ++i)
    modified = MarksDocument(undoStack_.command(i));
  document_.SetModified(modified);
  UpdateFrameTitle();
}

CQVDoc::~CQVDoc() {
  if (tree_) {
    tree_->Detach();
    tree_->SetUndoStack(nullptr);
  }
  // The history goes with this document, after its window: no mark to show any more.
  disconnect(&undoStack_, nullptr, this, nullptr);
}

CQVViewEdit* CQVDoc::Editor() const {
  return frame_ ? frame_->Editor() : nullptr;
}

QString CQVDoc::PathName() const {
  return document_.Path().empty() ? QString()
                                  : AbsolutePath(QFile::decodeName(document_.Path().c_str()));
}

QString CQVDoc::Title() const {
  return title_;
}

void CQVDoc::SetModifiedFlag(bool modified) {
  // Unmodified: this state is the saved one, to which undoing comes back.
  if (!modified) undoStack_.setClean();
  document_.SetModified(modified);
  UpdateFrameTitle();
}

void CQVDoc::UpdateFrameTitle() {
  if (frame_) frame_->UpdateTitle();
}

bool CQVDoc::OnNewDocument(const CFormatTemplate* formatTemplate, int number) {
  if (!formatTemplate) return false;
  title_ = QString::fromLatin1(kNewName) + QString::number(number);
  if (!document_.New(formatTemplate)) return false;
  document_.SetModified(true);  // a new format has never been saved
  undoStack_.resetClean();      // nor does undoing every step make it so
  return true;
}

bool CQVDoc::OnOpenDocument(const QString& path) {
  if (!document_.Open(LocalPath(path))) return false;
  title_ = QFileInfo(path).fileName();
  return true;
}

bool CQVDoc::OnSaveDocument(const QString& path) {
  if (tree_ && !tree_->PrepareSave()) return false;
  CUnassignedString unassigned;
  switch (document_.Save(LocalPath(path), &unassigned)) {
    case CFormatDocument::SaveResult::kSaved:
      break;
    case CFormatDocument::SaveResult::kUnassigned:
      // The tree's check passed a moment ago; a document without a tree lands here.
      CErrorMessage::ShowMessage(frt::kIdNoApplication, true);
      return false;
    case CFormatDocument::SaveResult::kWriteFailed:
      return false;
  }
  title_ = QFileInfo(path).fileName();
  SetModifiedFlag(false);
  mainFrame_.AddRecentFile(path);
  return true;
}

QString CQVDoc::WithExtension(const QString& path) {
  if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  return path + QLatin1String(kFileExtension);
}

QString CQVDoc::AskSavePath() {
  QString start = document_.Path().empty() ? mainFrame_.FormatDirectory() : PathName();
  if (document_.Path().empty() && !start.isEmpty()) start += QLatin1Char('/') + title_;
  // Not the desktop's own dialog: the same one everywhere, and one the GUI tests can fill in.
  QFileDialog dialog(&mainFrame_, tr("另存为"), start, CMainFrame::FormatFileFilter());
  dialog.setObjectName(QStringLiteral("saveAsDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return WithExtension(dialog.selectedFiles().constFirst());
}

bool CQVDoc::OnFileSaveAs() {
  if (tree_ && !tree_->PrepareSave()) return false;
  const QString path = AskSavePath();
  if (path.isEmpty()) return false;
  return OnSaveDocument(path);
}

bool CQVDoc::DoFileSave() {
  if (document_.Path().empty()) return OnFileSaveAs();
  if (tree_ && !tree_->PrepareSave()) return false;
  return OnSaveDocument(QFile::decodeName(document_.Path().c_str()));
}

bool CQVDoc::Save(bool askForName) {
  return askForName ? OnFileSaveAs() : DoFileSave();
}

bool CQVDoc::CanClose() {
  if (!IsModified()) return true;
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(frt::LoadText(57344)),
                  tr("是否保存对 %1 的更改？").arg(title_),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                  frame_ ? frame_->window() : &mainFrame_);
  box.setObjectName(QStringLiteral("saveQuestion"));
  box.button(QMessageBox::Yes)->setText(tr("是"));
  box.button(QMessageBox::No)->setText(tr("否"));
  box.button(QMessageBox::Cancel)->setText(tr("取消"));
  box.setDefaultButton(QMessageBox::Yes);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return DoFileSave();
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}

void CQVDoc::OnCommand(int commandId) {
  if (tree_) tree_->OnCommand(commandId);
}

bool CQVDoc::IsCommandEnabled(int commandId) const {
  return tree_ && tree_->IsCommandEnabled(commandId);
}

void CQVDoc::AttachFrame(CChildFrame* frame) {
  frame_ = frame;
  CQVViewEdit* editor = frame->Editor();
  if (services_.context.profile && services_.poolLookup)
    editor->SetContext(
        CQVEditContext::FromProfile(*services_.context.profile, *services_.poolLookup));
  preview_ = new CQVViewPre;
  tree_ = new CQVViewTree(services_, document_, editor, preview_, frame, [this] { return title_; });
  tree_->SetUndoStack(&undoStack_);
  frame->SetTreeView(tree_);
  frame->SetPreviewPane(preview_);
  connect(tree_, &CQVViewTree::documentModified, this, [this] { UpdateFrameTitle(); });
  tree_->OnInitialUpdate();
}

CChildFrame* CQVDocManager::FindOpenFrame(CMainFrame& frame, const QString& path) {
  const QString wanted = AbsolutePath(path);
  for (CChildFrame* f : frame.FormatFrames()) {
    const auto* doc = dynamic_cast<const CQVDoc*>(f->Document());
    if (doc && !doc->PathName().isEmpty() && doc->PathName() == wanted) return f;
  }
  return nullptr;
}

void CQVDocManager::ShowDocument(CMainFrame& frame, std::unique_ptr<CQVDoc> document) {
  auto* child = new CChildFrame;
  CQVDoc* doc = document.get();
  child->SetDocument(std::move(document));
  doc->AttachFrame(child);
  frame.AddFormatFrame(child);
  child->UpdateTitle();
  frame.UpdateCommands();
  if (doc->Tree()) doc->Tree()->setFocus();
}

bool CQVDocManager::NewDocument(CMainFrame& frame, const std::string& templateName) {
  const CFormatTemplateManager* catalogue = services_.context.catalogue;
  const CFormatTemplate* t = catalogue ? catalogue->FindTemplate(templateName) : nullptr;
  if (!t) return false;
  auto doc = std::make_unique<CQVDoc>(services_, frame);
  if (!doc->OnNewDocument(t, ++untitledCount_)) return false;
  ShowDocument(frame, std::move(doc));
  return true;
}

bool CQVDocManager::OpenDocument(CMainFrame& frame, const QString& path) {
  if (CChildFrame* open = FindOpenFrame(frame, path)) {
    for (QMdiSubWindow* w : frame.MdiArea()->subWindowList())
      if (w->widget() == open) frame.MdiArea()->setActiveSubWindow(w);
    return true;
  }
  auto doc = std::make_unique<CQVDoc>(services_, frame);
  if (!doc->OnOpenDocument(path)) return false;  // the document has said why; no window
  // A file saved as UTF-8 shows garbled: say why once its window is there.
  const bool utf8 = doc->Document().Format().TextLooksLikeUtf8();
  ShowDocument(frame, std::move(doc));
  if (utf8) CErrorMessage::ShowMessage(frt::kIdTextLooksLikeUtf8, false);
  return true;
}

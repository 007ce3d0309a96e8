#include "qv_view_tree.h"

#include <QDockWidget>

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTreeWidgetItemIterator>
#include <QUndoStack>

#include "catalogue/format_template.h"
#include "document/format_document.h"
#include "editor/qv_view_edit.h"
#include "library/error_message.h"
#include "library/string_table.h"
#include "preview/qv_view_preview.h"
#include "preview/sample_export.h"
#include "profile/qv_profile.h"
#include "settings/variable_pages.h"
#include "shell/child_frame.h"
#include "shell/export_preview.h"
#include "shell/format_props_dlg.h"
#include "shell/insert_var_dlg.h"
#include "shell/main_frame.h"
#include "uilib/ui_text.h"

namespace {

constexpr int kIdHeaderBranch = 500;
constexpr int kIdGeneral = 501;
constexpr int kIdApplications = 502;
constexpr int kIdBlocks = 503;
constexpr int kIdFileHeader = 505;
constexpr int kIdFileFooter = 506;
constexpr int kIdInputBranch = 507;
constexpr int kIdOutputBranch = 508;
constexpr int kIdInputString = 509;
constexpr int kIdOutputString = 510;
constexpr int kIdRestriction = 511;
constexpr int kIdInputHeader = 512;
constexpr int kIdDefaultString = 515;

using qvui::Text;

using qvui::FromGbk;

const QIcon& Image(int index) {
  static const QIcon images[] = {QIcon(QStringLiteral(":/icons/folder.png")),
                                 QIcon(QStringLiteral(":/icons/block.png")),
                                 QIcon(QStringLiteral(":/icons/mark_empty.png")),
                                 QIcon(QStringLiteral(":/icons/mark_text.png")),
                                 QIcon(QStringLiteral(":/icons/mark_appl.png"))};
  return images[index >= 0 && index < 5 ? index : 0];
}

// Menu texts of the context menu: the assignment command names its dialog there.
QString ContextText(int id) {
  if (id == qvcmd::kAssignApplications) return CQVViewTree::tr("分配软件...");
  if (id == qvcmd::kDataWorkbench) return CQVViewTree::tr("数据试验...");
  return QString::fromUtf8(frt::MenuText(id));
}

}  // namespace

CQVViewTree::CQVViewTree(const CQVDocServices& services, CFormatDocument& document,
                         CQVViewEdit* editor, CQVViewPre* preview, CChildFrame* childFrame,
                         std::function<QString()> title, QWidget* parent)
    : QTreeWidget(parent),
      services_(services),
      document_(&document),
      editor_(editor),
      preview_(preview),
      childFrame_(childFrame),
      title_(std::move(title)) {
  setObjectName(QStringLiteral("formatTree"));
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(16, 16));
  connect(this, &QTreeWidget::currentItemChanged, this, &CQVViewTree::OnCurrentItemChanged);
  if (editor_) {
    connect(editor_, &CQVViewEdit::textTakenOver, this, &CQVViewTree::OnTextTakenOver);
    connect(editor_, &CQVViewEdit::modified, this, &CQVViewTree::SetModified);
    connect(editor_, &CQVViewEdit::edited, this, &CQVViewTree::OnEdited);
    connect(editor_, &CQVViewEdit::fieldActivated, this, &CQVViewTree::OnFieldActivated);
    connect(editor_, &CQVViewEdit::contextMenuRequested, this, [this](const QPoint& at) {
      std::unique_ptr<QMenu> menu(CreateContextMenu(this));
      menu->exec(at);
    });
  }
}

CQVViewTree::~CQVViewTree() {
  // The insert-variable window floats above the main window, which is its parent.
  delete insertWindow_.data();
}

void CQVViewTree::Detach() {
  document_ = nullptr;
  if (editor_) disconnect(editor_, nullptr, this, nullptr);
  if (insertWindow_) insertWindow_->hide();
}

const CFormatTemplate* CQVViewTree::Template() const {
  return document_ ? document_->Template() : nullptr;
}

int CQVViewTree::Level(const QTreeWidgetItem* item) {
  return item ? item->data(0, kLevelRole).toInt() : -1;
}

std::int32_t CQVViewTree::Datum(const QTreeWidgetItem* item) {
  return item ? item->data(0, kDatumRole).toInt() : kNoString;
}

int CQVViewTree::Mark(const QTreeWidgetItem* item) {
  return item ? item->data(0, kMarkRole).toInt() : 0;
}

int CQVViewTree::Branch(const QTreeWidgetItem* item) {
  while (item && item->parent()) item = item->parent();
  return item ? Datum(item) : 0;
}

QTreeWidgetItem* CQVViewTree::FindItem(std::int32_t datum) const {
  for (QTreeWidgetItemIterator it(const_cast<CQVViewTree*>(this)); *it; ++it)
    if (Datum(*it) == datum) return *it;
  return nullptr;
}

QTreeWidgetItem* CQVViewTree::AddItem(QTreeWidgetItem* parent, const QString& text, int level,
                                      std::int32_t datum) {
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
  item->setText(0, text);
  item->setData(0, kDatumRole, datum);
  item->setData(0, kLevelRole, level);
  SetMark(item, level == 2 ? kMarkEmpty : 0);
  return item;
}

void CQVViewTree::SetMark(QTreeWidgetItem* item, int mark) {
  if (!item) return;
  item->setData(0, kMarkRole, mark);
  item->setIcon(0, Image(mark));
}

int CQVViewTree::MarkOf(std::int32_t id) const {
  const CFrtStringEx* s = document_ ? document_->Format().FindString(id) : nullptr;
  if (!s || !s->IsPresent()) return kMarkEmpty;
  return s->ApplicationCount() == 0 ? kMarkText : kMarkApplications;
}

void CQVViewTree::RenewMark(QTreeWidgetItem* item) {
  if (Level(item) == 2) SetMark(item, MarkOf(Datum(item)));
}

void CQVViewTree::BuildTree() {
  clear();
  const CFormatTemplate* t = Template();
  if (!t) return;
  const auto number = [](int id, long i) {
    return Text(id) + QLatin1Char(' ') + QString::number(i);
  };

  QTreeWidgetItem* header = AddItem(nullptr, Text(kIdHeaderBranch), 0, kHeaderBranch);
  QTreeWidgetItem* general = AddItem(header, Text(kIdGeneral), 1, 1);
  if (t->FileHeaderFlag() == 1)
    AddItem(general, Text(kIdFileHeader), 2, CDocFormat::MakeId(CDocFormat::kKindFileHeader, 0, 0));
  if (t->FileFooterFlag() == 1)
    AddItem(general, Text(kIdFileFooter), 2, CDocFormat::MakeId(CDocFormat::kKindFileFooter, 0, 0));
  if (!t->ApplicationList().empty()) {
    QTreeWidgetItem* applications = AddItem(header, Text(kIdApplications), 1, 1);
    for (const auto& a : t->ApplicationList())
      if (a->HeaderLength() > 0)
        AddItem(applications, FromGbk(a->Item()), 2,
                CDocFormat::MakeId(CDocFormat::kKindApplicationHeader, 0,
                                   static_cast<int>(a->Number())));
  }
  QTreeWidgetItem* blocks = AddItem(header, Text(kIdBlocks), 1, 1);
  for (const auto& d : t->ExportFormatList())
    if (d->Header() > 0)
      AddItem(
          blocks, FromGbk(d->Item()), 2,
          CDocFormat::MakeId(CDocFormat::kKindBlockHeader, static_cast<int>(d->BlockType()), 0));

  if (!t->ImportFormatList().empty()) {
    QTreeWidgetItem* input = AddItem(nullptr, Text(kIdInputBranch), 0, kInputBranch);
    for (const auto& d : t->ImportFormatList()) {
      const int block = static_cast<int>(d->BlockType());
      QTreeWidgetItem* b = AddItem(input, FromGbk(d->Item()), 1,
                                   CDocFormat::MakeId(CDocFormat::kKindImport, block, 0));
      for (long i = 1; i <= d->StrCount(); ++i)
        AddItem(b, number(kIdInputString, i), 2,
                CDocFormat::MakeId(CDocFormat::kKindImport, block, static_cast<int>(i)));
      if (d->Restriction() == 1)
        AddItem(b, Text(kIdRestriction), 2,
                CDocFormat::MakeId(CDocFormat::kKindRestriction, block, 0));
      if (d->Header() == 1)
        AddItem(b, Text(kIdInputHeader), 2,
                CDocFormat::MakeId(CDocFormat::kKindImportHeader, block, 0));
    }
  }
  if (!t->ExportFormatList().empty()) {
    QTreeWidgetItem* output = AddItem(nullptr, Text(kIdOutputBranch), 0, kOutputBranch);
    for (const auto& d : t->ExportFormatList()) {
      const int block = static_cast<int>(d->BlockType());
      QTreeWidgetItem* b = AddItem(output, FromGbk(d->Item()), 1,
                                   CDocFormat::MakeId(CDocFormat::kKindExport, block, 0));
      for (long i = 1; i <= d->StrCount(); ++i)
        AddItem(b, number(kIdOutputString, i), 2,
                CDocFormat::MakeId(CDocFormat::kKindExport, block, static_cast<int>(i)));
      if (t->DefaultStringsFlag() == 1)
        AddItem(b, Text(d->StrCount() > 0 ? kIdDefaultString : kIdOutputString), 2,
                CDocFormat::MakeId(CDocFormat::kKindDefault, block, 0));
    }
  }
  for (QTreeWidgetItemIterator it(this); *it; ++it) RenewMark(*it);
}

void CQVViewTree::OnInitialUpdate() {
  BuildTree();
  for (int i = 0; i < topLevelItemCount(); ++i) topLevelItem(i)->setExpanded(true);
  if (const CFormatTemplate* t = Template()) {
    const QString name = FromGbk(t->Name());
    if (childFrame_) childFrame_->SetStatusText(name);
    if (CMainFrame* frame = services_.mainFrame) frame->SetCategoryText(name);
  }
}

void CQVViewTree::SelectItem(QTreeWidgetItem* item) {
  if (item) setCurrentItem(item);
}

void CQVViewTree::SelectQuietly(QTreeWidgetItem* item) {
  switching_ = true;
  setCurrentItem(item);
  switching_ = false;
}

void CQVViewTree::OnCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem*) {
  if (switching_ || !current || !document_) return;
  if (Datum(current) == currentId_) return;
  SwitchString();
}

void CQVViewTree::SetModified() {
  if (document_) document_->SetModified(true);
  emit documentModified();
}

void CQVViewTree::SetEditedApplications(const std::string& applications) {
  if (currentId_ == kNoString || !editor_) return;
  editor_->SetApplications(applications);
  storePending_ = true;
  loadedState_ = EditorState();  // the assignment's own step holds the change
}

void CQVViewTree::SetUndoStack(QUndoStack* stack) {
  undoStack_ = stack;
  if (editor_) editor_->SetExternalUndo(stack != nullptr);
}

CQVStringState CQVViewTree::EditorState() const {
  if (!editor_ || currentId_ == kNoString) return {};
  return {editor_->StoredText(), editor_->VariableCodes(), editor_->Applications()};
}

void CQVViewTree::Push(QUndoCommand* command) {
  // Without a history the change stands as made.
  if (undoStack_)
    undoStack_->push(command);
  else
    delete command;
}

void CQVViewTree::OnEdited(CQVViewEdit::EditKind kind) {
  if (!document_ || currentId_ == kNoString) return;
  CQVStringState after = EditorState();
  if (after == loadedState_) return;
  QString text;
  switch (kind) {
    case CQVViewEdit::EditKind::kTyping:
      text = tr("键入");
      break;
    case CQVViewEdit::EditKind::kInsertField:
      text = tr("插入变量");
      break;
    case CQVViewEdit::EditKind::kReplaceField:
      text = tr("变量设置");
      break;
  }
  Push(new CQVStringCommand(*this, currentId_, loadedState_, after,
                            kind == CQVViewEdit::EditKind::kTyping, text));
  loadedState_ = std::move(after);
}

bool CQVViewTree::RecordChange(const QString& text, Reach reach,
                               const std::function<bool()>& change) {
  const bool strings = reach == Reach::kStrings;
  const bool marks = reach != Reach::kSettingsUnmarked;
  if (!document_) return false;
  const CQVFormatState before = CQVFormatState::Capture(document_->Format(), strings);
  const bool done = change();
  if (!document_) return done;
  CQVFormatChange made(before, CQVFormatState::Capture(document_->Format(), strings));
  if (!made.IsEmpty()) {
    Push(new CQVFormatCommand(*this, std::move(made), text, marks));
    if (marks) SetModified();
  }
  return done;
}

void CQVViewTree::ApplyString(std::int32_t id, const CQVStringState& state) {
  if (!document_ || !editor_) return;
  QTreeWidgetItem* item = FindItem(id);
  // The step is shown where it happens; the switch stores the string loaded now.
  if (item && id != currentId_) SelectItem(item);
  document_->Format().SetFormatString(id, state.text, state.variables, state.applications);
  if (id == currentId_) LoadString(item);
  RenewMark(item);
}

void CQVViewTree::ApplyFormatChange(const CQVFormatChange& change, bool after) {
  if (!document_) return;
  change.Apply(document_->Format(), after);
  for (QTreeWidgetItemIterator it(this); *it; ++it) RenewMark(*it);
  if (currentId_ != kNoString && change.ChangesString(currentId_))
    LoadString(FindItem(currentId_));
  else
    RenderSample();  // the settings render it differently
}

bool CQVViewTree::SwitchString() {
  if (!document_ || !editor_) return false;
  if (currentId_ != kNoString) {
    std::string text;
    std::string variables;
    std::string applications;
    if (!editor_->GetString(text, variables, applications)) {
      SelectQuietly(FindItem(currentId_));
      return false;
    }
    if (editor_->IsChanged() || storePending_) {
      SetModified();
      document_->Format().SetFormatString(currentId_, text, variables, applications);
      RenewMark(FindItem(currentId_));
    }
    currentId_ = kNoString;
    storePending_ = false;
  }
  editor_->setEnabled(false);
  QTreeWidgetItem* selected = currentItem();
  if (!selected || Level(selected) < 2) {
    loadedState_ = {};
    editor_->Empty();
    if (preview_) preview_->SetText(QString());
    return true;
  }
  currentId_ = Datum(selected);
  if (Branch(selected) != kHeaderBranch) {
    editor_->setEnabled(true);
    ShowInsertWindow(selected);
  }
  LoadString(selected);
  editor_->setEnabled(true);
  return true;
}

bool CQVViewTree::PrepareSave() {
  if (!SwitchString()) return false;
  CUnassignedString where;
  if (!document_->CheckApplications(where)) {
    SelectItem(FindItem(CDocFormat::MakeId(CDocFormat::kKindExport, where.block, 0)));
    CErrorMessage::ShowMessage(frt::kIdNoApplication, true);
    return false;
  }
  return true;
}

void CQVViewTree::Limits(std::int32_t id, int& maxLength, int& maxVariables) const {
  maxLength = CQVViewEdit::kNoLimit;
  maxVariables = CQVViewEdit::kNoLimit;
  const CFormatTemplate* t = Template();
  if (!t) return;
  const int block = CDocFormat::BlockOf(id);
  const CFTFormat* d = nullptr;
  switch (CDocFormat::Kind(id)) {
    case CDocFormat::kKindFileHeader:
      maxLength = static_cast<int>(t->FileHeaderLength());
      return;
    case CDocFormat::kKindFileFooter:
      maxLength = static_cast<int>(t->FileFooterLength());
      return;
    case CDocFormat::kKindApplicationHeader:
      if (const CFTAppl* a = t->FindApplication(CDocFormat::IndexOf(id)))
        maxLength = static_cast<int>(a->HeaderLength());
      return;
    case CDocFormat::kKindBlockHeader:
      if ((d = t->FindFormat(block, true))) maxLength = static_cast<int>(d->Header());
      return;
    case CDocFormat::kKindExport:
    case CDocFormat::kKindDefault:
      d = t->FindFormat(block, true);
      break;
    case CDocFormat::kKindImport:
    case CDocFormat::kKindImportHeader:
    case CDocFormat::kKindRestriction:
      d = t->FindFormat(block, false);
      break;
    default:
      return;
  }
  if (d) {
    maxLength = static_cast<int>(d->MaxLength());
    maxVariables = static_cast<int>(d->VarCount());
  }
}

void CQVViewTree::LoadString(QTreeWidgetItem* item) {
  const std::int32_t id = Datum(item);
  std::string text;
  std::string variables;
  std::string applications;
  document_->Format().GetFormatStringInfo(id, text, variables, applications);
  int maxLength = 0;
  int maxVariables = 0;
  Limits(id, maxLength, maxVariables);
  storePending_ = false;
  editor_->ShowString(id, Branch(item), text, variables, applications, maxLength, maxVariables);
  loadedState_ = EditorState();
}

void CQVViewTree::ShowInsertWindow(QTreeWidgetItem* item) {
  const CFormatTemplate* t = Template();
  if (!t) return;
  QWidget* shown = insertWindow_;
  if (insertWindow_)
    if (auto* dock = qobject_cast<QDockWidget*>(insertWindow_->parentWidget())) shown = dock;
  if (!insertWindow_) {
    CMainFrame* frame = services_.mainFrame;
    insertWindow_ =
        new CQVInsertVarDlg(*t, editor_, frame ? static_cast<QWidget*>(frame) : window());
    shown = insertWindow_.data();
    if (frame) {
      // Docked beside the format; it goes with this format's window.
      QDockWidget* dock = insertWindow_->DockIn(*frame);
      if (childFrame_) connect(childFrame_, &QObject::destroyed, dock, &QObject::deleteLater);
      shown = dock;
    }
    if (childFrame_) childFrame_->SetCompanionWindow(shown);
  }
  insertWindow_->show();
  if (shown && shown != insertWindow_) shown->show();
  insertWindow_->raise();
  const bool input = Branch(item) == kInputBranch;
  const QString block = FromGbk(t->FormatName(CDocFormat::BlockOf(Datum(item)), !input));
  if (input)
    insertWindow_->SetInputBlock(block);
  else
    insertWindow_->SetOutputBlock(block);
}

void CQVViewTree::OnTextTakenOver(const QByteArray& text, const QByteArray& variables) {
  if (!document_ || !preview_) return;
  // An import string has no sample output.
  if (editor_->ItemKind() == CQVViewEdit::kKindInput) {
    preview_->SetText(QString());
    return;
  }
  preview_->SetSample(document_->Format().RenderSample(
      std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
      std::string_view(variables.constData(), static_cast<std::size_t>(variables.size()))));
}

void CQVViewTree::RenderSample() {
  if (currentId_ == kNoString || !editor_) return;
  const std::string text = editor_->StoredText();
  const std::string variables = editor_->VariableCodes();
  OnTextTakenOver(QByteArray(text.data(), static_cast<qsizetype>(text.size())),
                  QByteArray(variables.data(), static_cast<qsizetype>(variables.size())));
}

void CQVViewTree::OnFieldActivated(int index) {
  if (!document_ || !editor_) return;
  const CQVEditVar* field = editor_->Field(index);
  if (!field) return;
  CQVEditVar variable = *field;
  CQVVarPageContext context;
  context.profile = services_.context.profile;
  context.format = &document_->Format();
  if (const CFormatTemplate* t = Template(); t && t->StringLength() > 0)
    context.lengthLimit = static_cast<int>(t->StringLength());
  if (RunVariableSheet(editor_, variable, context) == QDialog::Accepted)
    editor_->ReplaceField(index, variable);
}

void CQVViewTree::ClearString() {
  QTreeWidgetItem* item = currentItem();
  if (currentId_ == kNoString || Level(item) != 2 || !editor_) return;
  int maxLength = 0;
  int maxVariables = 0;
  Limits(currentId_, maxLength, maxVariables);
  CQVStringState before = EditorState();
  editor_->ShowString(currentId_, editor_->ItemKind(), {}, {}, {}, maxLength, maxVariables);
  SetMark(FindItem(currentId_), kMarkEmpty);
  storePending_ = true;  // stored at the next switch
  loadedState_ = {};
  if (!(before == loadedState_))
    Push(new CQVStringCommand(*this, currentId_, std::move(before), {}, false, tr("清除字串")));
  SetModified();
}

bool CQVViewTree::BlockHasExportText(int block) const {
  const CFormatTemplate* t = Template();
  const CFTFormat* d = t ? t->FindFormat(block, true) : nullptr;
  if (!d) return false;
  for (long i = 1; i <= d->StrCount(); ++i) {
    const std::int32_t id = CDocFormat::MakeId(CDocFormat::kKindExport, block, static_cast<int>(i));
    if (id == currentId_) {
      // The loaded string counts as the editor has it.
      if (editor_ && !editor_->StoredText().empty()) return true;
      continue;
    }
    const CFrtStringEx* s = document_->Format().FindString(id);
    if (s && s->IsPresent()) return true;
  }
  return false;
}

bool CQVViewTree::IsCommandEnabled(int commandId, bool contextMenu) const {
  if (!document_) return false;
  const QTreeWidgetItem* item = currentItem();
  switch (commandId) {
    case qvcmd::kAssignApplications:
      return item && Branch(item) == kOutputBranch && Level(item) >= 1 &&
             BlockHasExportText(CDocFormat::BlockOf(Datum(item)));
    case qvcmd::kPoolLoad:
    case qvcmd::kPoolSave:
      return Level(item) == 2;
    case qvcmd::kClearString:
      return currentId_ != kNoString && (contextMenu || Level(item) == 2);
    default:
      return true;
  }
}

void CQVViewTree::OnCommand(int commandId) {
  if (!document_) return;
  CQVTreeHooks& hooks = *services_.hooks;
  QTreeWidgetItem* item = currentItem();
  switch (commandId) {
    case qvcmd::kAssignApplications: {
      if (!SwitchString()) return;
      item = currentItem();
      if (!hooks.assignApplications || !RecordChange(tr("分配软件"), Reach::kStrings, [&] {
            return hooks.assignApplications(*this, Datum(item),
                                            CDocFormat::MakeId(CDocFormat::kKindExport, 0, 0));
          }))
        return;
      SetModified();
      const std::int32_t id = Datum(item);
      if (Level(item) == 2 && CDocFormat::IndexOf(id) > 0) {
        std::string text;
        std::string variables;
        std::string applications;
        document_->Format().GetFormatStringInfo(id, text, variables, applications);
        SetEditedApplications(applications);
      }
      for (QTreeWidgetItemIterator it(this); *it; ++it) RenewMark(*it);
      return;
    }
    case qvcmd::kPoolLoad:
      // The loaded string is stored first, so that the step holds the load alone.
      if (!hooks.poolLoad || Level(item) != 2 || !SwitchString()) return;
      RecordChange(tr("从字串池加载"), Reach::kStrings, [&] {
        hooks.poolLoad(*this, Datum(item));
        return true;
      });
      return;
    case qvcmd::kPoolSave:
      if (hooks.poolSave && Level(item) == 2) hooks.poolSave(*this, Datum(item));
      return;
    case qvcmd::kOutputPreview:
      ShowExportPreview();
      return;
    case qvcmd::kClearString:
      ClearString();
      return;
    case qvcmd::kProperties:
      ShowProperties();
      return;
    case qvcmd::kFormatSettings:
      if (hooks.formatSettings &&
          RecordChange(tr("格式设置"), Reach::kSettings, [&] { return hooks.formatSettings(*this); })) {
        SetModified();
        RenderSample();
      }
      return;
    case qvcmd::kDefaultSettings:
      // The defaults belong to the profile; a change of the format they make is recorded.
      if (hooks.defaultSettings)
        RecordChange(tr("默认设置"), Reach::kSettings, [&] {
          hooks.defaultSettings(*this);
          return true;
        });
      return;
    case qvcmd::kDataWorkbench:
      if (hooks.dataWorkbench) hooks.dataWorkbench(*this);
      return;
    default:
      return;
  }
}

void CQVViewTree::ShowExportPreview() {
  if (!SwitchString()) return;
  const CFormatTemplate* t = Template();
  CMainFrame* frame = services_.mainFrame;
  if (!t || !frame) return;
  OpenExportPreview(*frame, title_ ? title_() : QString(), SampleExport(document_->Format(), *t));
}

void CQVViewTree::ShowProperties() {
  CFrtFileEx& format = document_->Format().Format();
  CFormatPropertiesDlg dialog(format, format.Name(), window());
  // The header's texts are a step of their own, yet they do not mark the document.
  RecordChange(tr("属性"), Reach::kSettingsUnmarked,
               [&] { return dialog.DoModal() == QDialog::Accepted; });
}

QMenu* CQVViewTree::CreateContextMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->setObjectName(QStringLiteral("treeContextMenu"));
  menu->setTitle(tr("菜单树视"));
  auto add = [this](QMenu* m, int id) {
    QAction* a = m->addAction(ContextText(id));
    a->setObjectName(QStringLiteral("treeCommand%1").arg(id));
    a->setData(id);
    a->setEnabled(IsCommandEnabled(id, true));
    connect(a, &QAction::triggered, this, [this, id] { OnCommand(id); });
  };
  add(menu, qvcmd::kAssignApplications);
  QMenu* pool = menu->addMenu(tr("字串池"));
  add(pool, qvcmd::kPoolLoad);
  add(pool, qvcmd::kPoolSave);
  add(menu, qvcmd::kOutputPreview);
  add(menu, qvcmd::kDataWorkbench);
  add(menu, qvcmd::kClearString);
  menu->addSeparator();
  add(menu, qvcmd::kProperties);
  add(menu, qvcmd::kFormatSettings);
  add(menu, qvcmd::kDefaultSettings);
  return menu;
}

void CQVViewTree::contextMenuEvent(QContextMenuEvent* event) {
  std::unique_ptr<QMenu> menu(CreateContextMenu(this));
  menu->exec(event->globalPos());
  event->accept();
}

void CQVViewTree::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && Level(currentItem()) == 2 && currentId_ != kNoString) {
    ClearString();
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

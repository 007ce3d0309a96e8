#include "shell/workbench_open.h"

#include <QPointer>

#include "document/format_document.h"
#include "editor/qv_view_edit.h"
#include "shell/child_frame.h"
#include "shell/qv_doc.h"
#include "shell/qv_view_tree.h"
#include "workbench/workbench_window.h"

namespace {

CChildFrame* FrameOf(QWidget* w) {
  for (; w; w = w->parentWidget())
    if (auto* frame = qobject_cast<CChildFrame*>(w)) return frame;
  return nullptr;
}

// The string being edited goes into the format as it reads now, so the window tries what the
// user sees; the tree stores it again (the same) when it switches strings.
void StoreEditedString(CQVViewTree& tree) {
  CQVViewEdit* editor = tree.Editor();
  const std::int32_t id = tree.CurrentStringId();
  if (!editor || id == CQVViewTree::kNoString || !editor->IsChanged()) return;
  tree.Document().Format().SetFormatString(id, editor->StoredText(), editor->VariableCodes(),
                                           editor->Applications());
}

}  // namespace

CWorkbenchWindow* OpenWorkbench(CQVViewTree& tree) {
  CChildFrame* frame = FrameOf(&tree);
  const CFormatTemplate* formatTemplate = tree.Template();
  if (!frame || !frame->Document() || !formatTemplate) return nullptr;
  auto* window = frame->findChild<CWorkbenchWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (!window) {
    StoreEditedString(tree);
    window = new CWorkbenchWindow(tree.Document().Format(), *formatTemplate,
                                  frame->Document()->Title(), frame);
    window->setWindowFlag(Qt::Window);
    QPointer<CQVViewTree> guarded(&tree);
    QObject::connect(&tree, &CQVViewTree::documentModified, window, [guarded, window] {
      if (guarded) StoreEditedString(*guarded);
      window->FormatChanged();
    });
    QObject::connect(frame, &CChildFrame::titleUpdated, window, [frame, window] {
      if (frame->Document()) window->SetFormatTitle(frame->Document()->Title());
    });
    // The document goes before the frame's children do.
    if (auto* doc = dynamic_cast<CQVDoc*>(frame->Document()))
      QObject::connect(doc, &QObject::destroyed, window, &CWorkbenchWindow::Detach);
  }
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

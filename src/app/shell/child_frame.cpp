#include "child_frame.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSplitter>
#include <QTextDocument>
#include <QVBoxLayout>

#include "editor/qv_view_edit.h"

namespace {

QWidget* MakePlaceholder(const QString& name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setAutoFillBackground(true);
  label->setFrameShape(QFrame::StyledPanel);
  label->setBackgroundRole(QPalette::Base);
  return label;
}

}  // namespace

const char* const CChildFrame::kCompanyText = QT_TRANSLATE_NOOP("CChildFrame", "Orvanti测量系统");

CChildFrame::CChildFrame(QWidget* parent) : QWidget(parent), statusText_(tr(kCompanyText)) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setObjectName(QStringLiteral("formatFrame"));
  outer_ = new QSplitter(Qt::Horizontal, this);
  outer_->setObjectName(QStringLiteral("outerSplitter"));
  outer_->setChildrenCollapsible(false);
  inner_ = new QSplitter(Qt::Vertical, outer_);
  inner_->setObjectName(QStringLiteral("innerSplitter"));
  inner_->setChildrenCollapsible(false);
  tree_ = MakePlaceholder(QStringLiteral("treePlaceholder"), outer_);
  editor_ = new CQVViewEdit(inner_);
  editor_->setObjectName(QStringLiteral("formatStringEditor"));
  editor_->setEnabled(false);  // nothing is loaded until the tree picks a string
  preview_ = MakePlaceholder(QStringLiteral("previewPlaceholder"), inner_);
  outer_->insertWidget(0, tree_);
  inner_->addWidget(editor_);
  inner_->addWidget(preview_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(outer_);
  resize(700, 400);
  setWindowIcon(QIcon(QStringLiteral(":/icons/quarvel.png")));
}

CChildFrame::~CChildFrame() {
  if (companion_) companion_->hide();
}

void CChildFrame::ReplacePane(QWidget*& slot, QWidget* widget, QSplitter* splitter, int index) {
  if (!widget || widget == slot) return;
  const QList<int> sizes = splitter->sizes();
  QWidget* old = splitter->replaceWidget(index, widget);
  if (old) old->deleteLater();
  slot = widget;
  splitter->setSizes(sizes);
}

void CChildFrame::SetTreeView(QWidget* tree) {
  ReplacePane(tree_, tree, outer_, 0);
}

void CChildFrame::SetPreviewPane(QWidget* preview) {
  ReplacePane(preview_, preview, inner_, 1);
}

void CChildFrame::SetDocument(std::unique_ptr<CQVFrameDocument> document) {
  document_ = std::move(document);
  UpdateTitle();
}

void CChildFrame::DiscardDocument() {
  if (companion_) companion_->hide();
  document_.reset();
}

void CChildFrame::UpdateTitle() {
  if (!document_) return;
  setWindowTitle(document_->Title() + QStringLiteral("[*]"));
  setWindowModified(document_->IsModified());
  emit titleUpdated();
}

void CChildFrame::SetCompanionWindow(QWidget* window) {
  companion_ = window;
  if (companion_ && !isActiveWindow()) companion_->hide();
}

void CChildFrame::SetActive(bool active) {
  if (!companion_) return;
  if (active) {
    companion_->show();
    companion_->raise();
  } else {
    companion_->hide();
  }
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (document_ && !document_->CanClose()) {
    event->ignore();
    return;
  }
  if (companion_) companion_->hide();
  event->accept();
}

void CChildFrame::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (laidOut_) return;
  // The first layout: the tree takes the width divided by 3.5, editor and preview half the
  // height each. Later sizes are the user's (the splitters keep their proportions).
  const int w = width();
  const int h = height();
  const int left = static_cast<int>(w / 3.5);
  outer_->setSizes({left, std::max(1, w - left - outer_->handleWidth())});
  inner_->setSizes({h / 2, std::max(1, h - h / 2 - inner_->handleWidth())});
  if (isVisible()) laidOut_ = true;
}

CChildFrmFormatPreview::CChildFrmFormatPreview(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* text = new QPlainTextEdit(this);
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  view_ = text;
  layout->addWidget(view_);
  resize(600, 400);
  setWindowIcon(QIcon(QStringLiteral(":/icons/preview.png")));
}

CChildFrmFormatPreview::~CChildFrmFormatPreview() = default;

void CChildFrmFormatPreview::SetView(QWidget* view, CQVPrintable* printable) {
  if (!view) return;
  layout()->replaceWidget(view_, view);
  view_->deleteLater();
  view_ = view;
  printable_ = printable;
}

void CChildFrmFormatPreview::PrintTo(QPrinter& printer) {
  if (printable_) {
    printable_->PrintTo(printer);
    return;
  }
  if (auto* text = qobject_cast<QPlainTextEdit*>(view_)) {
    QTextDocument copy;
    // Start from the view's font: a font built from nothing has failed inside print preview.
    copy.setDefaultFont(text->font());
    copy.setPlainText(text->toPlainText());
    copy.print(&printer);
  }
}

#include "shell/export_preview.h"

#include "library/text_encoding.h"
#include "preview/qv_view_preview.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"

QString ExportPreviewTitle(const QString& documentTitle) {
  return QStringLiteral("Export Preview: ") + documentTitle;
}

CQVViewFormatPreview* OpenExportPreview(CMainFrame& frame, const QString& documentTitle,
                                        const std::string& gbkText) {
  auto* child = new CChildFrmFormatPreview;
  child->setObjectName(QStringLiteral("exportPreviewFrame"));
  auto* document = new CQVDocFormatPreview(child);
  document->SetTitle(ExportPreviewTitle(documentTitle));
  auto* view = new CQVViewFormatPreview(document, child);
  view->SetText(QString::fromStdString(frt::GbkToUtf8(gbkText)));
  child->SetView(view, view);
  frame.AddPreviewFrame(child, document->Title());
  view->setFocus();
  return view;
}

#pragma once
// The window of a sample export.
#include <QString>
#include <string>

class CMainFrame;
class CQVViewFormatPreview;

// The title of the preview window of a format document's sample export.
QString ExportPreviewTitle(const QString& documentTitle);

// Opens a further preview window in `frame`: a new preview document titled
// "Export Preview: " + `documentTitle` whose read-only view shows `gbkText` (the sample export,
// GBK bytes, shown as UTF-8). The window prints and print-previews through the frame's commands.
// The view, which the window owns.
CQVViewFormatPreview* OpenExportPreview(CMainFrame& frame, const QString& documentTitle,
                                        const std::string& gbkText);

#pragma once
// Pictures of the preview window and of its print preview, for the documentation.
#include <QString>

class CMainFrame;

// Writes preview-window.png and print-preview.png into `directory`; true on success.
bool TakePreviewScreenshots(CMainFrame& frame, const QString& directory);

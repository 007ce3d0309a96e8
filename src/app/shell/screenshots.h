#pragma once
// A mode of the editor that shows its windows with sample content and saves pictures of them,
// for the documentation.
#include <QString>

class CQVApp;

// Writes main-window.png, editor-fields.png and about.png into `directory`; 0 on success.
int TakeScreenshots(CQVApp& app, const QString& directory);

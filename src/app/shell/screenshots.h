#pragma once
// A mode of the editor that shows its windows with sample content and saves pictures of them,
// for the documentation.
#include <QString>

class CQVApp;

// Writes pictures of the main window, a format window with a string being edited, the
// insert-variable window, the variable sheet and the about box into `directory`; 0 on success.
int TakeScreenshots(CQVApp& app, const QString& directory);

#pragma once
// Pictures of the data workbench, for the documentation.
#include <QString>

class CQVApp;

// Writes workbench-import.png (the shipped comma-separated total station format over a field
// book with a line that matches nothing) and workbench-export.png (the shipped report format over
// the shipped records) into `directory`; true on success.
bool TakeWorkbenchScreenshots(CQVApp& app, const QString& directory);

#pragma once
// Pictures of the data workbench, for the documentation.
#include <QString>

class CQVApp;

// Opens the shipped coordinate format's workbench on a small data file with a line that matches
// nothing and writes workbench-import.png and workbench-export.png into `directory`; true on
// success.
bool TakeWorkbenchScreenshots(CQVApp& app, const QString& directory);

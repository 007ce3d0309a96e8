#pragma once
// The editor's language: chosen once at start-up, before the first window, and never switched
// while it runs (a choice made in the options menu takes effect on the next start).
#include <QString>
#include <optional>

#include "library/string_table.h"

class QCoreApplication;

namespace qvlang {

// --lang beats the choice saved from the options menu, which beats the environment: a choice
// made inside the program is more deliberate than a session-wide locale.
frt::Language ChooseLanguage(std::optional<frt::Language> option,
                             std::optional<frt::Language> saved, frt::Language environment);

// The choice saved from the options menu (the editor's own settings, beside the recent files).
std::optional<frt::Language> SavedLanguage();
void SaveLanguage(frt::Language language);

// Sets the core's string table and installs the editor's translation and Qt's own one for its
// dialogs. False when a translation that the language needs could not be loaded (the editor
// then shows the texts it has).
bool ApplyLanguage(QCoreApplication& application, frt::Language language);

// The folder of the editor's .qm files: the installed one beside the program, else the build's.
QString TranslationsDir();

}  // namespace qvlang

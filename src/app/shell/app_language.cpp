#include "app_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>

namespace qvlang {
namespace {

const char kLanguageKey[] = "Language";

QString LanguageName(frt::Language language) {
  return language == frt::Language::kEnglish ? QStringLiteral("en") : QStringLiteral("zh");
}

// Loads `file` from `dir` into a translator owned by the application.
bool Install(QCoreApplication& application, const QString& file, const QString& dir) {
  auto* translator = new QTranslator(&application);
  if (!translator->load(file, dir)) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace

frt::Language ChooseLanguage(std::optional<frt::Language> option,
                             std::optional<frt::Language> saved, frt::Language environment) {
  return option.value_or(saved.value_or(environment));
}

std::optional<frt::Language> SavedLanguage() {
  return frt::ParseLanguage(QSettings().value(kLanguageKey).toString().toStdString());
}

void SaveLanguage(frt::Language language) {
  QSettings().setValue(kLanguageKey, LanguageName(language));
}

QString TranslationsDir() {
  const QDir installed(QCoreApplication::applicationDirPath() +
                       QStringLiteral("/" QUARVEL_TRANSLATIONS_FROM_BINDIR));
  if (installed.exists(QStringLiteral("quarvel_en.qm"))) return installed.absolutePath();
  return QStringLiteral(QUARVEL_TRANSLATIONS_BUILD_DIR);
}

bool ApplyLanguage(QCoreApplication& application, frt::Language language) {
  frt::SetLanguage(language);
  // Qt's own texts (dialog buttons, file and print dialogs, shortcut names) in the same language.
  const QString qtDir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (language == frt::Language::kChinese) {
    return Install(application, QStringLiteral("qtbase_zh_CN"), qtDir);
  }
  return Install(application, QStringLiteral("quarvel_en"), TranslationsDir());
}

}  // namespace qvlang

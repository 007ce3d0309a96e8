#pragma once
// The system's string table: every message, caption, list and label text that is addressed by a
// number. Texts are UTF-8; convert them with Utf8ToGbk before they go into a format or the pool.
// There is one table per language with the same ids; the language is chosen once at start-up.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frt_result.h"

namespace frt {

struct StringTableEntry {
  int id;
  const char* text;
};

// Ids the code names often.
inline constexpr int kIdNone = 0;  // no entry: a message made of its extra text alone
inline constexpr int kIdPoolActionLoad = 1;
inline constexpr int kIdPoolActionSave = 2;
inline constexpr int kIdDescriptionText = 20;  // "Quarvel中文版 1.0"
inline constexpr int kIdListAlign = 516;
inline constexpr int kIdListRepresentation = 517;
inline constexpr int kIdListFillCharacter = 518;
inline constexpr int kIdListAlternateFormat = 519;
inline constexpr int kIdListSign = 522;
inline constexpr int kIdCaptionError = 900;
inline constexpr int kIdCaptionWarning = 901;
inline constexpr int kIdStartFailed = 1010;
inline constexpr int kIdWriteIniFailed = 1104;
inline constexpr int kIdNoApplication = 1108;
inline constexpr int kIdSaveFormatFailed = 1113;  // two %s: result text, line number
inline constexpr int kIdLoadFormatFailed = 1114;  // two %s: result text, line number
inline constexpr int kIdResultTextBase = 1118;    // + result code 0..30
inline constexpr int kIdBadFloat = 1250;
inline constexpr int kIdTextLooksLikeUtf8 = 1260;  // a format file saved as UTF-8, not GBK

// The languages of the texts. Chinese is the product's own language and the default.
enum class Language { kChinese, kEnglish };

// The language every function below speaks unless it is given one. It is the only process-wide
// choice of the table: each program's main sets it once, before anything is shown, and nothing
// changes it afterwards (so texts already shown never switch language).
void SetLanguage(Language language);
Language CurrentLanguage();

// The locale variables as the environment has them; null when unset.
struct LocaleEnvironment {
  const char* language = nullptr;  // LANGUAGE, a colon list: its first entry counts
  const char* lcAll = nullptr;
  const char* lcMessages = nullptr;
  const char* lang = nullptr;
};
// The first variable that is set and not empty decides, in the order above: English when it
// starts with "en", Chinese otherwise ("C" and "POSIX" included); Chinese when none is set.
Language LanguageFromEnvironment(const LocaleEnvironment& env);
// The same for this process's environment.
Language EnvironmentLanguage();
// "en" or "zh", as given to --lang; nothing for anything else.
std::optional<Language> ParseLanguage(std::string_view name);

// String-table entry id, or "" (never null) when the table has no such entry. Texts that are
// data (written into a format or the pool) take the Chinese table whatever the UI speaks.
const char* LoadText(int id);
const char* LoadText(int id, Language language);
// True when the table has an entry with this id.
bool HasText(int id);
// The whole table, sorted by ascending id without duplicates.
std::span<const StringTableEntry> StringTable();
std::span<const StringTableEntry> StringTable(Language language);

// The text of a result code: entry 1118 + code for 0..30. Codes 31 and 32 (units or scales
// missing, which the loader reports as 28) share the text of 28; 100 (renderer without value and
// default string) has a text of its own; any other code gets the text of 30 ("undefined error").
const char* ResultText(Result code);

// The parts of a comma list such as entry 516 "右,左", in order; empty parts are kept, so the
// index of a part is the value a combo box stands for.
std::vector<std::string> SplitList(std::string_view list);
std::vector<std::string> ListItems(int id);

// Menu item texts by command id. Menus are not part of the string table (a command's string-table
// entry is its status prompt, e.g. 32788), so they are kept apart; "" for unknown commands.
const char* MenuText(int commandId);
std::span<const StringTableEntry> MenuTable();
std::span<const StringTableEntry> MenuTable(Language language);

namespace detail {
constexpr bool IsSortedTable(std::span<const StringTableEntry> t) {
  for (std::size_t i = 1; i < t.size(); ++i)
    if (t[i - 1].id >= t[i].id) return false;
  return true;
}
// The English tables (string_table_en.cpp), sorted like the Chinese ones.
std::span<const StringTableEntry> EnglishTable();
std::span<const StringTableEntry> EnglishMenus();
extern const char* const kEnglishNoDefaultStringText;
}  // namespace detail

}  // namespace frt

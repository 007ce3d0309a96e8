#pragma once
// The system's string table: every message, caption, list and label text that is addressed by a
// number. Texts are UTF-8; convert them with Utf8ToGbk before they go into a format or the pool.
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

// String-table entry id, or "" (never null) when the table has no such entry.
const char* LoadText(int id);
// True when the table has an entry with this id.
bool HasText(int id);
// The whole table, sorted by ascending id without duplicates.
std::span<const StringTableEntry> StringTable();

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

}  // namespace frt

#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Holds one sectioned data file (QV.ini or QV.tpl) in memory and answers key lookups.
//
// Sections are keyed by their header line exactly as written, brackets included. A section's
// lines are kept whole and in file order: nothing is split or trimmed. A lookup gives the first
// line of the key at or after the line where the last key was found, wrapping round to the top;
// an index of each section's keys answers that in the same time whatever the order of the keys.
//
// Reading rules worth knowing:
//  - A line is read in pieces of at most kMaxLinePiece bytes. What is left of a longer line is
//    read as the next line (and classified by its own first byte).
//  - "\r\n" counts as a line end, as a text-mode read gives it; a lone '\r' stays in the line.
//  - A NUL byte ends the text of its line, as a C string would; the rest of that line is dropped.
//  - A file that ends with a line end gives one more, empty, line to the current section. It is
//    not counted as a line of the file: "a\n" has one line, as a user counts it.
//  - A file larger than kMaxFileBytes or with more than kMaxLines lines is refused: Load gives
//    false and the reader is empty. The data files are a few hundred kilobytes; the caps keep a
//    stray file from taking the memory of the whole machine.
//  - Anything but a regular file (a folder, named pipe, socket or device) is refused the same
//    way, without waiting on it.
class CIniReader {
 public:
  using Lines = std::vector<std::string>;
  static constexpr std::size_t kMaxLinePiece = 1022;
  static constexpr std::size_t kMaxFileBytes = 32u << 20;
  static constexpr std::size_t kMaxLines = 1000000;

  CIniReader();
  virtual ~CIniReader();
  CIniReader(const CIniReader&) = delete;
  CIniReader& operator=(const CIniReader&) = delete;

  // Empties the reader, then reads the file. A file that does not exist or cannot be opened
  // loads as empty and gives true. An entry line before the first section header gives false; the
  // sections read up to that line stay. A file over the caps gives false and leaves the reader
  // empty.
  bool Load(const std::string& path);
  void Clear();

  // The lines of the section "[name]", or nullptr.
  const Lines* FindSection(std::string_view name);

  // Lookups: true and `out` set when the key was found, false and `out` untouched otherwise.
  bool GetString(std::string_view section, std::string_view key, std::string& out);
  // True when the value contains "true" anywhere (case-sensitive).
  bool GetBool(std::string_view section, std::string_view key, bool& out);
  // Numbers as strtod/strtol/atoi read them, always with '.' as the decimal point.
  bool GetDouble(std::string_view section, std::string_view key, double& out);
  bool GetFloat(std::string_view section, std::string_view key, float& out);
  bool GetLong(std::string_view section, std::string_view key, long& out);
  bool GetInt(std::string_view section, std::string_view key, int& out);

  std::size_t SectionCount() const { return sections_.size(); }

  // The conversions used by the typed getters, for callers that hold a value text already.
  static double ToDouble(const char* text);
  static long ToLong(const char* text);
  static int ToInt(const char* text);

 private:
  // The lines of one section whose text before the first '=' is the same: the only lines
  // that can hold a key with that text before its own first '=' (or that is this text).
  struct KeyGroup {
    std::uint32_t line;    // its first line; the text is the start of that line
    std::uint32_t length;  // of the text
    std::uint32_t first;   // where its line numbers start in `members`
    std::uint32_t count;
  };
  // One section: its lines, and once it is first searched past the lines near the last hit,
  // where each key is.
  struct Section {
    Lines lines;
    std::vector<KeyGroup> groups;
    std::vector<std::uint32_t> members;  // line numbers, group by group, each in file order
    // Open addressing by text: the high half of the text's hash and 1 + its group; 0 is free.
    std::vector<std::uint64_t> table;
    bool indexed = false;
  };

  // Lines looked at behind the last hit before the index is asked, and the length up to which a
  // section is searched without one.
  static constexpr std::size_t kNearby = 4;
  static constexpr std::size_t kShortSection = 16;
  // The line that holds `key` in `section`, or nullptr. Its value starts after key and '='.
  const std::string* FindLine(std::string_view section, std::string_view key);
  Section* FindSectionEntry(std::string_view name);
  static void Index(Section& section);
  // The group of `text`, or nullptr; with `add` (and `line`, where the text is), a new empty
  // group when there is none.
  static KeyGroup* FindGroup(Section& section, std::string_view text, std::size_t line = 0,
                             bool add = false);

  std::map<std::string, std::unique_ptr<Section>, std::less<>> sections_;
  std::string lastSection_;
  std::size_t lastLine_ = 0;

  // FindSectionEntry's answer for lastSection_, valid until the map changes.
  Section* cachedList_ = nullptr;
  bool cacheValid_ = false;
  std::string headerBuf_;
};

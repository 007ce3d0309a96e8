#pragma once
// The string pool: format strings kept under a name for reuse, and their file pool.dat.
//
// pool.dat is binary, every count and length a 32-bit unsigned little-endian number:
//   u32 entry count N, then N entries in ascending byte order of their names, each:
//     u32 640, the five descriptive texts (128 bytes each, NUL-terminated inside them)
//     u32 6,   the key: direction, section, block type, one unused byte (0), number (u16)
//     u32 L,   the text's L bytes without NUL (L <= 1,927)
//     u32 V,   V times: u32 6, code (u16), unit type, data type, unit code, options
#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "library/frt_key.h"
#include "library/frt_result.h"
#include "library/frt_string.h"
#include "library/safe_file.h"

// Which of the five descriptive texts of an entry (CFrtStringEx::extra) holds what.
enum PoolText : int {
  kPoolName = 0,
  kPoolDescription = 1,
  kPoolAuthor = 2,
  kPoolDate = 3,
  kPoolTemplate = 4,
};

class CStringPool {
 public:
  using EntryMap = std::map<std::string, std::unique_ptr<CFrtStringEx>, std::less<>>;

  static constexpr std::uint32_t kTextsBlockSize = 640;
  static constexpr std::uint32_t kKeySize = 6;
  static constexpr std::uint32_t kVariableSize = 6;
  static constexpr std::uint32_t kMaxTextLength = CFrtString::kTextCapacity - 1;  // 1,927

  // `path` is the full path of pool.dat; an empty path makes Load and Save do nothing.
  // `fs` is the file system seam (null: the real one); it must outlive the pool.
  explicit CStringPool(std::string path, frt::FileSystem* fs = nullptr);
  // Saves when modified (the result is not looked at), then drops the entries.
  ~CStringPool();
  CStringPool(const CStringPool&) = delete;
  CStringPool& operator=(const CStringPool&) = delete;

  // Replaces the entries by those of the file. kOk also when the file does not exist (empty
  // pool); kLoadError on a read failure, an entry cut short, or a length field that is wrong or
  // too large, keeping the entries read before it. Leaves the pool unmodified.
  frt::Result Load();
  // Writes the file when modified and the path is not empty; kOk, or kCannotSave with the
  // previous file untouched and the pool still modified.
  frt::Result Save();

  // Stores the entry under its name (its first text), replacing an entry of that name.
  // kNullPointer for a null entry.
  frt::Result Add(std::unique_ptr<CFrtStringEx> entry);
  // kNotFound when there is no entry of that name.
  frt::Result Remove(std::string_view name);
  // kOk and the entry, or kNotFound with `entry` left as it was.
  frt::Result FindByName(std::string_view name, CFrtStringEx*& entry) const;
  // As FindByName, but `entry` becomes null when there is no such entry.
  frt::Result Get(std::string_view name, CFrtStringEx*& entry) const;

  // The first entry in name order that matches the key and template (see Matches); the key and
  // the template are kept for FindNext. kNotFound and null when none does.
  frt::Result FindFirst(const CFrtKey& key, std::string_view templateName, CFrtStringEx*& entry);
  // The next match after the last one found; null at the end or without a FindFirst.
  CFrtStringEx* FindNext();

  // Entries of this direction and, unless blockType is -1, this block type.
  int Count(int direction, int blockType) const;
  // Steps through all entries in name order, starting again at the first after the last;
  // null only when the pool is empty. One cursor for the whole program.
  CFrtStringEx* NextCyclic();

  void MarkModified() { modified_ = 1; }
  int IsModified() const { return modified_; }
  int EntryCount() const { return static_cast<int>(entries_.size()); }
  // All entries by name, in ascending byte order.
  const EntryMap& Entries() const { return entries_; }
  const std::string& Path() const { return path_; }

  // The pool's match rule: same direction and block type, same template name, and the sections
  // equal, or 1 and 7 in either order, or neither of them 1 or 7.
  static bool Matches(const CFrtStringEx& entry, const CFrtKey& key, std::string_view templateName);

 private:
  CFrtStringEx* WalkFrom(EntryMap::const_iterator it);

  EntryMap entries_;
  int modified_ = 0;
  // Cursors are kept as names, not map positions, so that Add and Remove never leave one
  // dangling; a removed entry's name still marks where the walk goes on.
  std::optional<std::string> cursor_;
  std::string path_;
  CFrtKey searchKey_;
  std::string searchTemplate_;
  std::optional<std::string> cyclicCursor_;
  frt::FileSystem* fs_;
};

// A pool entry made from a format string the way the format tree saves one: the string's key,
// text and variables (not its applications), and the texts name, description (string 20 in
// GBK), author "Quarvel", creation date and template name. Texts are cut at 127 bytes.
std::unique_ptr<CFrtStringEx> MakePoolEntry(const CFrtString& source, std::string_view name,
                                            std::string_view templateName, std::string_view date);

// A date as the pool shows it, strftime "%A, %B %d, %Y" in the current locale.
std::string FormatPoolDate(const std::tm& date);
// Today's date in that form.
std::string PoolDateToday();
